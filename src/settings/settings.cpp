#include "settings/settings.h"

#include <cstdio>

#include "core/cp932.h"
#include "core/sjis.h"
#include "platform/profile.h"

namespace rkv {

const std::string& DefaultPadSay() { return SJ("*MES %M%C*SAY%CSUB: %C%C%C/POST%C"); }
const std::string& DefaultPadRes() {
  return SJ("*MES %M%C*RE %N%CSUB:Re)%T%C  %H さん%C%C%C/POST%C");
}
const std::string& DefaultPadMail() { return SJ("*TO:%I%C*SUB:%T%C %H さん%C%C/POST%C"); }

void ParsePlace(const std::string& value, WinPlace& place) {
  if (value.size() < 7) return;
  int x = ParseDecimal(FieldAt(value, 0, ','));
  int y = ParseDecimal(FieldAt(value, 1, ','));
  int w = ParseDecimal(FieldAt(value, 2, ','));
  int h = ParseDecimal(FieldAt(value, 3, ','));
  int s = ParseDecimal(FieldAt(value, 4, ','));
  place.x = x < 0 ? 0 : x;
  place.y = y < 0 ? 0 : y;
  place.width = w < 30 ? 300 : w;
  place.height = h < 30 ? 300 : h;
  // The state is a byte: a number that would wrap to a negative one is no state.
  place.state = static_cast<int8_t>(s < 0 || s > 127 ? 0 : s);
}

bool PlaceIsSaveable(const WinPlace& p) { return p.x >= 0 && p.y >= 0 && p.width >= 30 && p.height >= 30; }

std::string FormatPlace(const WinPlace& p) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "%d,%d,%d,%d,%d", p.x, p.y, p.width, p.height, p.state);
  return buf;
}

void ParseFont(const std::string& value, FontInfo& font) {
  if (value.size() < 4) return;
  std::string face = CopyField(value, ',').substr(0, 31);
  // A face of 3 bytes or fewer means no font is chosen and its height is never
  // used; keeping the default then makes a saved value read back the same.
  if (face.size() <= 3) return;
  font.face = face;
  font.height = ParseDecimal(FieldAt(value, 1, ','));
}

std::string FormatFont(const FontInfo& font) { return font.face + "," + std::to_string(font.height); }

void ParseDspMode(const std::string& value, DspMode& mode) {
  mode.nameWidth = ParseDecimal(FieldAt(value, 0, ','));
  for (int i = 0; i < 5; ++i) mode.flags[i] = static_cast<int8_t>(ParseDecimal(FieldAt(value, i + 1, ',')));
}

std::string FormatDspMode(const DspMode& m) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "%d,%d,%d,%d,%d,%d", m.nameWidth, m.flags[0], m.flags[1], m.flags[2],
                m.flags[3], m.flags[4]);
  return buf;
}

// A path's length on this system, not the old fixed buffers.
constexpr size_t kFolderReadLimit = 4095;

const std::vector<SettingRow>& SettingsTable() {
  using T = SettingType;
  static const std::vector<SettingRow> table = [] {
    std::vector<SettingRow> t;
    auto add = [&t](const char* section, std::string key, T type, size_t limit, const char* missing,
                    std::function<SettingField(RKVcfg&)> field) {
      t.push_back(SettingRow{section, std::move(key), type, limit, missing, std::move(field)});
    };
    const char* D = "DISPLAY";
    add(D, "WindowSize", T::Place, 79, "0,0,0,0", [](RKVcfg& c) { return &c.WindowSize; });
    add(D, "FilerSize", T::Place, 79, "0,0,0,0", [](RKVcfg& c) { return &c.FilerSize; });
    add(D, "CnfFilerSize", T::Place, 79, "0,0,0,0", [](RKVcfg& c) { return &c.CnfFilerSize; });
    add(D, "ViewerSize", T::Place, 79, "0,0,0,0", [](RKVcfg& c) { return &c.ViewerSize; });
    add(D, "LinePitch", T::Integer, 0, "", [](RKVcfg& c) { return &c.LinePitch; });
    add(D, "BackColor", T::Colour, 79, "0", [](RKVcfg& c) { return &c.BackColor; });
    add(D, "FilerBackColor", T::Colour, 79, "0", [](RKVcfg& c) { return &c.FilerBackColor; });
    add(D, "FontInfo1", T::Font, 79, ",", [](RKVcfg& c) { return &c.FontInfo1; });
    add(D, "FontInfo2", T::Font, 79, ",", [](RKVcfg& c) { return &c.FontInfo2; });
    add(D, "IDWindowSize", T::Place, 79, "0,0,0,0", [](RKVcfg& c) { return &c.IDWindowSize; });
    add(D, "MailFilerSize", T::Place, 79, "0,0,0,0", [](RKVcfg& c) { return &c.MailFilerSize; });

    const char* R = "DIR";
    // Folders are read back whole: the empty ones default to the log folder or
    // the data folder, whatever their length, and saving then loading must not
    // change a setting.
    add(R, "LogDir", T::Text, kFolderReadLimit, " ", [](RKVcfg& c) { return &c.LogDir; });
    add(R, "CnfDir", T::Text, kFolderReadLimit, " ", [](RKVcfg& c) { return &c.CnfDir; });
    add(R, "MailDir", T::Text, kFolderReadLimit, " ", [](RKVcfg& c) { return &c.MailDir; });
    add(R, "TtlDir", T::Text, kFolderReadLimit, " ", [](RKVcfg& c) { return &c.TtlDir; });
    add(R, "BaseDir", T::Text, kFolderReadLimit, " ", [](RKVcfg& c) { return &c.BaseDir; });
    add(R, "HpDir", T::Text, kFolderReadLimit, " ", [](RKVcfg& c) { return &c.HpDir; });
    add(R, "PatioDir", T::Text, kFolderReadLimit, " ", [](RKVcfg& c) { return &c.PatioDir; });
    add(R, "EtcDir", T::Text, kFolderReadLimit, " ", [](RKVcfg& c) { return &c.EtcDir; });
    add(R, "PadDir", T::Text, kFolderReadLimit, " ", [](RKVcfg& c) { return &c.PadDir; });
    add(R, "CnfExt", T::Text, 7, " ", [](RKVcfg& c) { return &c.CnfExt; });
    add(R, "LogExt", T::Text, 7, " ", [](RKVcfg& c) { return &c.LogExt; });
    add(R, "RecName", T::Text, 7, " ", [](RKVcfg& c) { return &c.RecName; });
    add(R, "LogMask", T::Text, 11, " ", [](RKVcfg& c) { return &c.LogMask; });
    add(R, "CnfMask", T::Text, 11, " ", [](RKVcfg& c) { return &c.CnfMask; });
    add(R, "MailMask", T::Text, 11, " ", [](RKVcfg& c) { return &c.MailMask; });
    add(R, "PadName", T::Text, 11, " ", [](RKVcfg& c) { return &c.PadName; });
    for (int i = 0; i < 5; ++i) {
      add(R, "CnfName" + std::to_string(i + 1), T::Text, 79, " ",
          [i](RKVcfg& c) { return &c.CnfName[static_cast<size_t>(i)]; });
    }

    const char* A = "ACTION";
    add(A, "NameRule", T::Integer, 0, "", [](RKVcfg& c) { return &c.NameRule; });
    add(A, "Rename", T::Integer, 0, "", [](RKVcfg& c) { return &c.Rename; });
    add(A, "Prompt", T::Integer, 0, "", [](RKVcfg& c) { return &c.Prompt; });
    add(A, "ScrollBar", T::Integer, 0, "", [](RKVcfg& c) { return &c.ScrollBar; });
    add(A, "SaveWindowSize", T::Integer, 0, "", [](RKVcfg& c) { return &c.SaveWindowSize; });
    add(A, "NoBar", T::Byte, 0, "", [](RKVcfg& c) { return &c.NoBar; });
    add(A, "FilerSort", T::Byte, 0, "", [](RKVcfg& c) { return &c.FilerSort; });
    add(A, "CnfFilerSort", T::Byte, 0, "", [](RKVcfg& c) { return &c.CnfFilerSort; });
    add(A, "CnfFilerMask", T::Text, 11, "*.*", [](RKVcfg& c) { return &c.CnfFilerMask; });
    add(A, "FilerMask", T::Text, 11, "*.*", [](RKVcfg& c) { return &c.FilerMask; });
    add(A, "MailName", T::Integer, 0, "", [](RKVcfg& c) { return &c.MailName; });
    add(A, "SaveChildWinSize", T::Byte, 0, "", [](RKVcfg& c) { return &c.SaveChildWinSize; });
    add(A, "DivideReport", T::Integer, 0, "", [](RKVcfg& c) { return &c.DivideReport; });
    add(A, "HpNameRule", T::Integer, 0, "", [](RKVcfg& c) { return &c.HpNameRule; });

    const char* E = "EXTPRG";
    add(E, "Editor", T::Text, 79, " ", [](RKVcfg& c) { return &c.Editor; });
    for (int i = 0; i < 8; ++i) {
      add(E, "Prg" + std::to_string(i + 1), T::Text, 79, " ",
          [i](RKVcfg& c) { return &c.Prg[static_cast<size_t>(i)]; });
    }
    add(E, "PadSay", T::Template, 79, " ", [](RKVcfg& c) { return &c.PadSay; });
    add(E, "PadRes", T::Template, 79, " ", [](RKVcfg& c) { return &c.PadRes; });
    add(E, "PadMail", T::Template, 79, " ", [](RKVcfg& c) { return &c.PadMail; });
    add(E, "PadQuot", T::AnyText, 6, " ", [](RKVcfg& c) { return &c.PadQuot; });
    add(E, "PadSign", T::Text, 79, " ", [](RKVcfg& c) { return &c.PadSign; });

    const char* M = "MODE";
    add(M, "UseLButton", T::Byte, 0, "", [](RKVcfg& c) { return &c.UseLButton; });
    add(M, "FilerAutoStart", T::Byte, 0, "", [](RKVcfg& c) { return &c.FilerAutoStart; });
    add(M, "MailFilerAutoStart", T::Byte, 0, "", [](RKVcfg& c) { return &c.MailFilerAutoStart; });
    add(M, "CnfFilerAutoStart", T::Byte, 0, "", [](RKVcfg& c) { return &c.CnfFilerAutoStart; });
    add(M, "ExtOn", T::Byte, 0, "", [](RKVcfg& c) { return &c.ExtOn; });
    add(M, "FilerDspMode", T::DspMode, 79, "16,1,1,1,1", [](RKVcfg& c) { return &c.FilerDspMode; });
    add(M, "CnfFilerDspMode", T::DspMode, 79, "16,1,1,1,1", [](RKVcfg& c) { return &c.CnfFilerDspMode; });
    return t;
  }();
  return table;
}

namespace {

const std::string* BuiltInTemplate(const std::string& key) {
  if (key == "PadSay") return &DefaultPadSay();
  if (key == "PadRes") return &DefaultPadRes();
  if (key == "PadMail") return &DefaultPadMail();
  return nullptr;
}

void LoadRow(const SettingRow& row, const ProfileFile& file, RKVcfg& cfg) {
  SettingField field = row.field(cfg);
  auto text = [&] { return file.GetString(row.section, row.key, row.missing, row.readLimit + 1); };
  switch (row.type) {
    case SettingType::Place: {
      // Too short to be a placement: as if missing, so the window gets the
      // default size rather than none, and a save reads back the same.
      std::string value = text();
      ParsePlace(value.size() < 7 ? row.missing : value, *std::get<WinPlace*>(field));
      break;
    }
    case SettingType::Integer: {
      int* v = std::get<int*>(field);
      *v = file.GetInt(row.section, row.key, *v);
      break;
    }
    case SettingType::Byte: {
      int8_t* v = std::get<int8_t*>(field);
      *v = static_cast<int8_t>(file.GetInt(row.section, row.key, *v) & 0xFF);
      break;
    }
    case SettingType::Colour:
      *std::get<int*>(field) = ParseDecimal(text());
      break;
    case SettingType::Font:
      ParseFont(text(), *std::get<FontInfo*>(field));
      break;
    case SettingType::Text:
    case SettingType::Template: {
      std::string value = text();
      std::string* target = std::get<std::string*>(field);
      if (value.size() >= 2) *target = value;
      if (row.type == SettingType::Template && target->empty()) *target = *BuiltInTemplate(row.key);
      break;
    }
    case SettingType::AnyText: {
      std::string value = text();
      if (!value.empty()) *std::get<std::string*>(field) = value;
      break;
    }
    case SettingType::DspMode:
      ParseDspMode(text(), *std::get<DspMode*>(field));
      break;
  }
}

// The value as the settings file stores it; nothing for a placement that fails its check.
std::optional<std::string> SavedValue(const SettingRow& row, const RKVcfg& cfg) {
  SettingField field = row.field(const_cast<RKVcfg&>(cfg));
  switch (row.type) {
    case SettingType::Place: {
      const WinPlace& p = *std::get<WinPlace*>(field);
      if (!PlaceIsSaveable(p)) return std::nullopt;
      return FormatPlace(p);
    }
    case SettingType::Integer:
    case SettingType::Colour:
      return std::to_string(*std::get<int*>(field));
    case SettingType::Byte:
      return std::to_string(*std::get<int8_t*>(field));
    case SettingType::Font:
      return FormatFont(*std::get<FontInfo*>(field));
    case SettingType::Text:
    case SettingType::AnyText:
    case SettingType::Template:
      return *std::get<std::string*>(field);
    case SettingType::DspMode:
      return FormatDspMode(*std::get<DspMode*>(field));
  }
  return std::nullopt;
}

void FillIfEmpty(std::string& field, const std::string& value) {
  if (field.empty()) field = value;
}

}  // namespace

void RKVcfg::Load(const ProfileFile& file, const std::string& programDir) {
  for (const SettingRow& row : SettingsTable()) {
    LoadRow(row, file, *this);
    if (row.key == "MailDir") {
      CurLogDir = ListEntry(LogDir, 0).value_or("");
      CurCnfDir = ListEntry(CnfDir, 0).value_or("");
      CurMailDir = ListEntry(MailDir, 0).value_or("");
    }
  }
  ProgramDir = programDir;
  FillIfEmpty(CurLogDir, ProgramDir);
  FillIfEmpty(CurCnfDir, CurLogDir);
  for (std::string* dir : {&LogDir, &CnfDir, &MailDir, &CurMailDir, &TtlDir, &HpDir, &PatioDir, &EtcDir,
                           &PadDir}) {
    FillIfEmpty(*dir, CurLogDir);
  }
  FillIfEmpty(LogMask, "*.LOG");
  FillIfEmpty(CnfMask, "*.CNF");
  FillIfEmpty(MailMask, "*.*");
  FillIfEmpty(FilerMask, "*.*");
  FillIfEmpty(CnfFilerMask, "*.CNF");
  FillIfEmpty(Editor, "NotePad");
  if (BackColor == 0) BackColor = 0xFFFFFF;
  if (FilerBackColor == 0) FilerBackColor = 0xFFFFFF;
}

void RKVcfg::Save(ProfileFile& file) const {
  for (const SettingRow& row : SettingsTable()) {
    if (std::optional<std::string> value = SavedValue(row, *this)) {
      file.WriteString(row.section, row.key, *value);
    }
  }
}

std::vector<std::pair<std::string, std::string>> RKVcfg::Listing() const {
  std::vector<std::pair<std::string, std::string>> out;
  for (const SettingRow& row : SettingsTable()) {
    SettingField field = row.field(const_cast<RKVcfg&>(*this));
    std::string value = row.type == SettingType::Place ? FormatPlace(*std::get<WinPlace*>(field))
                                                       : SavedValue(row, *this).value_or("");
    out.emplace_back(row.key, value);
  }
  out.emplace_back("ProgramDir", ProgramDir);
  out.emplace_back("CurLogDir", CurLogDir);
  out.emplace_back("CurCnfDir", CurCnfDir);
  out.emplace_back("CurMailDir", CurMailDir);
  return out;
}

}  // namespace rkv
