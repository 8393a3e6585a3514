// The one settings object, loaded from the settings file at start and written
// back at exit. Members are named after the keys that store them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace rkv {

class ProfileFile;

// A stored window placement: show state 1 maximised, 2 minimised, 0 normal.
// The reserved byte is scratch (the viewer keeps its open-viewer count there).
struct WinPlace {
  int8_t reserved = 0;
  int8_t state = 0;
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const WinPlace&) const = default;
};

struct FontInfo {
  std::string face;  // at most 31 bytes
  int height = -19;
  bool operator==(const FontInfo&) const = default;
};

// Filer display: name width, then show-extension, show-size, show-date,
// show-time and four-digit-year flags.
struct DspMode {
  int nameWidth = 16;
  std::array<int8_t, 5> flags{1, 1, 1, 1, 0};
  bool operator==(const DspMode&) const = default;
};

struct RKVcfg {
  // Derived when loading, never stored.
  std::string ProgramDir;
  std::string CurLogDir, CurCnfDir, CurMailDir;

  std::string LogDir, CnfDir, MailDir;  // ";"-separated lists
  std::string TtlDir, HpDir, PatioDir, EtcDir, PadDir, PadName;
  std::string LogExt, CnfExt = "CNF";
  std::string LogMask, CnfMask, MailMask;
  std::string RecName;
  std::array<std::string, 5> CnfName;
  std::string BaseDir;
  int SaveWindowSize = 0;
  WinPlace WindowSize;
  int LinePitch = 2;
  int BackColor = 0xFFFFFF;
  int FilerBackColor = 0xFFFFFF;
  FontInfo FontInfo1, FontInfo2;
  int Rename = 0;
  int DivideReport = 0;
  int Prompt = 1;
  int NameRule = 0;
  int MailName = 0;
  int HpNameRule = 0;
  int ScrollBar = 0;
  int8_t NoBar = 0;
  int8_t FilerSort = 0;
  int8_t CnfFilerSort = 0;
  std::string FilerMask, CnfFilerMask;
  DspMode FilerDspMode, CnfFilerDspMode;
  std::string Editor;
  std::array<std::string, 8> Prg;
  std::string PadSay, PadRes, PadMail;
  std::string PadQuot;
  std::string PadSign;
  int8_t UseLButton = 0;
  int8_t SaveChildWinSize = 0;
  int8_t FilerAutoStart = 0;
  int8_t MailFilerAutoStart = 0;
  int8_t CnfFilerAutoStart = 0;
  int8_t ExtOn = 1;
  WinPlace FilerSize, MailFilerSize, CnfFilerSize, ViewerSize, IDWindowSize;

  RKVcfg() { PadName = "PAD"; }

  // Reads every key in order, derives the directories and fills the defaults.
  // programDir takes the role of the program's own folder.
  void Load(const ProfileFile& file, const std::string& programDir);
  // Writes every key in the same order (a placement that fails its check is
  // left as the file has it).
  void Save(ProfileFile& file) const;

  // Key=value lines in load order, values as they would be saved.
  std::vector<std::pair<std::string, std::string>> Listing() const;
};

// The built-in PAD templates used when a template setting is empty.
const std::string& DefaultPadSay();
const std::string& DefaultPadRes();
const std::string& DefaultPadMail();

// Value codecs of the settings file.
void ParsePlace(const std::string& value, WinPlace& place);
bool PlaceIsSaveable(const WinPlace& place);
std::string FormatPlace(const WinPlace& place);
void ParseFont(const std::string& value, FontInfo& font);
std::string FormatFont(const FontInfo& font);
void ParseDspMode(const std::string& value, DspMode& mode);
std::string FormatDspMode(const DspMode& mode);

// How a setting is stored: one row per key, in load and save order.
enum class SettingType {
  Place,     // x,y,width,height,state
  Integer,   // int, current value as default
  Byte,      // as Integer, low 8 bits kept
  Colour,    // decimal text
  Font,      // face,height
  Text,      // taken only if 2 bytes or more
  AnyText,   // any value that is not empty is taken
  Template,  // as Text, the built-in template when empty
  DspMode,   // six decimal fields
};

using SettingField =
    std::variant<std::string*, int*, int8_t*, WinPlace*, FontInfo*, rkv::DspMode*>;

struct SettingRow {
  const char* section;
  std::string key;
  SettingType type;
  size_t readLimit;         // longest value read, in bytes (0 for integers)
  const char* missing;      // value used when the key is missing
  std::function<SettingField(RKVcfg&)> field;
};

const std::vector<SettingRow>& SettingsTable();

}  // namespace rkv
