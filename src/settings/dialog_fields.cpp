#include "settings/dialog_fields.h"


#include "app/command_ids.h"
#include "core/cp932.h"
#include "core/files.h"
#include "core/host.h"
#include "core/sjis.h"

namespace rkv {
namespace {

FormControl Control(ControlKind kind, int id, const std::string& label, std::string key = {}) {
  FormControl c;
  c.kind = kind;
  c.id = id;
  c.label = label;
  c.key = std::move(key);
  return c;
}

FormControl Edit(int id, const std::string& label, std::string key, size_t limit, bool folder = false,
                 bool trim = false) {
  FormControl c = Control(ControlKind::Edit, id, label, std::move(key));
  c.limit = limit;
  c.folder = folder;
  c.trim = trim;
  return c;
}

FormControl Check(int id, const std::string& label, std::string key, int part = 0) {
  FormControl c = Control(ControlKind::Check, id, label, std::move(key));
  c.part = part;
  return c;
}

FormControl Group(int id, const std::string& label, std::string key, int noneValue, int pane) {
  FormControl c = Control(ControlKind::Group, id, label, std::move(key));
  c.noneValue = noneValue;
  c.pane = pane;
  return c;
}

FormControl Radio(int id, const std::string& label, std::string key, int value, int pane) {
  FormControl c = Control(ControlKind::Radio, id, label, std::move(key));
  c.value = value;
  c.pane = pane;
  return c;
}

FormControl Text(const std::string& label, bool fixedPitch = false) {
  FormControl c = Control(ControlKind::Text, 0, label);
  c.fixedPitch = fixedPitch;
  return c;
}

FormControl Placed(FormControl c, int band, int pane) {
  c.band = band;
  c.pane = pane;
  return c;
}

// EnvDialog: the folders. Every text is trimmed on OK.
DialogForm Directories() {
  DialogForm f{cmd::OptDirectories, "ENVDLG", SJ("パス名設定"), {}};
  f.controls = {Edit(151, SJ("ログ・ファイル"), "LogDir", 600, true, true),
                Edit(152, SJ("会議室ファイル"), "CnfDir", 300, true, true),
                Edit(153, SJ("タイトルファイル"), "TtlDir", 255, true, true),
                Edit(154, SJ("メールファイル"), "MailDir", 300, true, true),
                Edit(155, SJ("ＨＰ切出し先"), "HpDir", 255, true, true),
                Edit(156, SJ("パティオ切出し先"), "PatioDir", 255, true, true),
                Edit(157, SJ("発言の切出し先"), "EtcDir", 255, true, true),
                Edit(158, SJ("ＰＡＤ出力先"), "PadDir", 255, true, true),
                Edit(159, SJ("ＰＡＤファイル名"), "PadName", 255, false, true)};
  return f;
}

// PathMaskDlg.
DialogForm Masks() {
  DialogForm f{cmd::OptMasks, "MASK_DLG", SJ("パスマスク設定(ﾀﾞｲｱﾛｸﾞ,ﾌｧｲﾗｰ)"), {}};
  f.controls = {Edit(165, SJ("ログファイル"), "LogMask", 12), Edit(166, SJ("会議室ファイル"), "CnfMask", 12),
                Edit(167, SJ("メールファイル"), "MailMask", 12), Edit(168, SJ("ファイラー"), "FilerMask", 12),
                Edit(169, SJ("会議室ファイラー"), "CnfFilerMask", 12)};
  return f;
}

// CnfNameDlg.
DialogForm ConferenceNames() {
  DialogForm f{cmd::OptConferenceNames, "CNFNAME_DLG", SJ("会議室名登録"), {}};
  f.controls = {Text(SJ("頻繁に利用する会議室ファイル名を")), Text(SJ("フルパスで入力して下さい。"))};
  for (int i = 0; i < 5; ++i) {
    f.controls.push_back(Edit(190 + i, "No." + std::to_string(i + 1), "CnfName" + std::to_string(i + 1), 255));
  }
  return f;
}

// PadCmdDlg: the templates, then the list of placeholders.
DialogForm PadTemplates() {
  DialogForm f{cmd::OptPad, "PADDLG", SJ("ＰＡＤコマンド設定"), {}};
  f.controls = {Edit(200, SJ("会議室発言"), "PadSay", 255), Edit(201, SJ("会議室レス"), "PadRes", 255),
                Edit(202, SJ("メール返信"), "PadMail", 255), Edit(203, SJ("引用記号"), "PadQuot", 6),
                Edit(204, SJ("署  名"), "PadSign", 128)};
  for (const std::string* line :
       {&SJ("■特殊文字一覧"), &SJ("%I: ＩＤ        %H: ハンドル名"),
        &SJ("%F: ﾌｫｰﾗﾑ名   %M: 会議室番号        %N: 発言番号"),
        &SJ("%T: タイトル  %C: 改行コード        %A: 署名挿入"), &SJ("%S: 発言内容  %U:引用付発言内容"),
        &SJ("%R\"filename\": 指定ファイルの挿入"), &SJ("■署名専用"),
        &SJ("%D: 現在日付   %T: 現在時刻   %C: 改行コード "), &SJ("%Snn: 空白nn個挿入(01～60)")}) {
    f.controls.push_back(Placed(Text(*line, true), 1, 0));
  }
  return f;
}

// PrgNameDlg: the editor and the eight outside programs, stored as typed.
DialogForm Programs() {
  DialogForm f{cmd::OptPrograms, "EXT_PRG", SJ("プログラム登録"), {}};
  f.controls.push_back(Edit(160, SJ("エディタ名"), "Editor", 255));
  static const char* const digits[] = {"１", "２", "３", "４", "５", "６", "７", "８"};
  for (int i = 0; i < 8; ++i) {
    f.controls.push_back(Edit(161 + i, cp932::FromUtf8(std::string("外部プログラム") + digits[i]),
                              "Prg" + std::to_string(i + 1), 255));
  }
  return f;
}

// IniWinInfoDlg: the two initial sort orders side by side, then the switches.
DialogForm WindowMode() {
  DialogForm f{cmd::OptWindowMode, "WIN_MODE", SJ("ウィンドウ初期設定"), {}};
  const std::string* sorts[] = {&SJ("しない"), &SJ("名前順"), &SJ("日付順")};
  f.controls.push_back(Group(170, SJ("ﾌｧｲﾗｰ初期ｿｰﾄ"), "FilerSort", -1, 0));
  for (int v = 0; v < 3; ++v) f.controls.push_back(Radio(171 + v, *sorts[v], "FilerSort", v, 0));
  f.controls.push_back(Group(175, SJ("会議室ﾌｧｲﾗｰ初期ｿｰﾄ"), "CnfFilerSort", -1, 1));
  for (int v = 0; v < 3; ++v) f.controls.push_back(Radio(176 + v, *sorts[v], "CnfFilerSort", v, 1));
  for (FormControl c : {Check(180, SJ("メインウィンドウサイズを保存・復帰"), "SaveWindowSize"),
                        Check(181, SJ("子ウィンドウの位置とサイズを復元"), "SaveChildWinSize"),
                        Check(183, SJ("ファイラー自動起動"), "FilerAutoStart"),
                        Check(184, SJ("メールファイラー自動起動"), "MailFilerAutoStart"),
                        Check(185, SJ("会議室ファイラー自動起動"), "CnfFilerAutoStart"),
                        Check(186, SJ("拡張子関連付けを有効にする"), "ExtOn"),
                        Check(182, SJ("発言表示画面で左ボタンを使用する"), "UseLButton")}) {
    f.controls.push_back(Placed(c, 1, 0));
  }
  return f;
}

// LogDivOptDlg: an unchecked pair of buttons reads as 0, not -1.
DialogForm LogDivision() {
  DialogForm f{cmd::OptDivision, "LOG_DIV", SJ("ログ分割オプション"), {}};
  f.controls = {Group(133, SJ("会議室ファイル命名法"), "NameRule", 0, 0),
                Radio(134, SJ("RKV独自形式"), "NameRule", 0, 0),
                Radio(135, SJ("Tessel 互換"), "NameRule", 1, 0),
                Group(138, SJ("メールファイル命名法"), "MailName", 0, 1),
                Radio(139, SJ("月別(MAILyymm)"), "MailName", 0, 1),
                Radio(140, SJ("日別(MAILyymm.dd)"), "MailName", 1, 1),
                Placed(Edit(136, SJ("会議室ﾌｧｲﾙ･ﾍﾞｰｽ･ﾃﾞｨﾚｸﾄﾘ"), "BaseDir", 255, true, true), 1, 0),
                Placed(Check(130, SJ("ログ分割後リネームする"), "Rename"), 2, 0),
                Placed(Check(132, SJ("ログ分割結果を表示する"), "DivideReport"), 2, 0),
                Placed(Check(141, SJ("ＨＰの分割は追加記録(HPyymm)"), "HpNameRule"), 2, 0)};
  return f;
}

// FilerDspDlg: two blocks of one form, the filer's and the conference filer's.
DialogForm FilerDisplay() {
  DialogForm f{cmd::OptFilerDisplay, "DSPMODE_DLG", SJ("ファイラー表示設定"), {}};
  struct Block {
    const std::string* heading;
    const char* key;
    int lengthId, firstFlagId, yearId;
  } blocks[] = {{&SJ("■ファイラー表示設定"), "FilerDspMode", 220, 221, 230},
                {&SJ("■会議室ファイラー表示設定"), "CnfFilerDspMode", 225, 226, 231}};
  const std::string* flags[] = {&SJ("拡張子を表示する"), &SJ("サイズを表示する"), &SJ("日付を表示する"),
                                &SJ("時刻表示する")};
  for (int b = 0; b < 2; ++b) {
    const Block& k = blocks[b];
    f.controls.push_back(Placed(Text(*k.heading), 0, b));
    FormControl length = Edit(k.lengthId, SJ("表示ファイル名長(ﾊﾞｲﾄ数)"), k.key, 3);
    f.controls.push_back(Placed(length, 0, b));
    for (int i = 0; i < 4; ++i) f.controls.push_back(Placed(Check(k.firstFlagId + i, *flags[i], k.key, i + 1), 0, b));
    f.controls.push_back(Placed(Check(k.yearId, SJ("西暦を４桁表示する"), k.key, 5), 0, b));
  }
  return f;
}

SettingField FieldOf(RKVcfg& cfg, const std::string& key) {
  for (const SettingRow& row : SettingsTable()) {
    if (row.key == key) return row.field(cfg);
  }
  return static_cast<std::string*>(nullptr);  // every form names a real key (tested)
}

int NumberIn(const SettingField& field, int part) {
  if (auto* p = std::get_if<int*>(&field)) return **p;
  if (auto* p = std::get_if<int8_t*>(&field)) return **p;
  if (auto* p = std::get_if<DspMode*>(&field)) {
    return part == 0 ? (*p)->nameWidth : (*p)->flags[static_cast<size_t>(part - 1)];
  }
  return 0;
}

void SetNumber(const SettingField& field, int part, int value) {
  if (auto* p = std::get_if<int*>(&field)) {
    **p = value;
  } else if (auto* p = std::get_if<int8_t*>(&field)) {
    **p = static_cast<int8_t>(value);
  } else if (auto* p = std::get_if<DspMode*>(&field)) {
    if (part == 0) {
      (*p)->nameWidth = value;
    } else {
      (*p)->flags[static_cast<size_t>(part - 1)] = static_cast<int8_t>(value);
    }
  }
}

// An edit field admits limit - 1 bytes and never ends in half a character.
std::string CutToLimit(std::string text, size_t limit) {
  if (limit > 0 && text.size() > limit - 1) FitWidth(text, static_cast<int>(limit - 1));
  return text;
}

void WarnMissingDirectories(const RKVcfg& cfg, Host& host) {
  for (const std::string* dir : {&cfg.CurLogDir, &cfg.CurCnfDir, &cfg.TtlDir, &cfg.CurMailDir, &cfg.EtcDir,
                                 &cfg.PadDir}) {
    if (!DirExists(*dir)) {
      host.Message(SJ("存在しないディレクトリが設定されています"), SJ("ディレクトリ設定"), Buttons::Ok);
      return;
    }
  }
}

void WarnBaseDirectory(const RKVcfg& cfg, Host& host) {
  if (cfg.NameRule == 1 && (cfg.BaseDir.empty() || !DirExists(cfg.BaseDir))) {
    host.Message(SJ("ディレクトリ設定が間違っています"), SJ("会議室ﾌｧｲﾙ･ﾍﾞｰｽ･ﾃﾞｨﾚｸﾄﾘ"), Buttons::Ok);
  }
}

void LimitNameWidth(DspMode& mode) {
  if (mode.nameWidth < 0 || mode.nameWidth > 32) mode.nameWidth = 16;
}

}  // namespace

const DialogForm* SettingsDialogForm(int command) {
  static const std::vector<DialogForm> forms = {Directories(), Masks(),       ConferenceNames(), PadTemplates(),
                                                Programs(),    WindowMode(),  LogDivision(),     FilerDisplay()};
  for (const DialogForm& form : forms) {
    if (form.command == command) return &form;
  }
  return nullptr;
}

FormValues FillForm(const DialogForm& form, const RKVcfg& cfg) {
  FormValues values;
  RKVcfg& source = const_cast<RKVcfg&>(cfg);  // the fields are only read
  for (const FormControl& c : form.controls) {
    if (c.key.empty()) continue;
    SettingField field = FieldOf(source, c.key);
    switch (c.kind) {
      case ControlKind::Edit: {
        auto* text = std::get_if<std::string*>(&field);
        values.text[c.id] = CutToLimit(text ? **text : std::to_string(NumberIn(field, c.part)), c.limit);
        break;
      }
      case ControlKind::Check:
        if (NumberIn(field, c.part) != 0) values.checked.insert(c.id);
        break;
      case ControlKind::Radio:
        if (NumberIn(field, c.part) == c.value) values.checked.insert(c.id);
        break;
      case ControlKind::Group:
      case ControlKind::Text:
        break;
    }
  }
  return values;
}

void ReadBack(const DialogForm& form, const FormValues& values, RKVcfg& cfg) {
  const FormControl* group = nullptr;
  int chosen = 0;  // the value of the current group's checked button, or its none-value
  auto endGroup = [&] {
    if (group) SetNumber(FieldOf(cfg, group->key), 0, chosen);
    group = nullptr;
  };
  for (const FormControl& c : form.controls) {
    if (c.kind != ControlKind::Radio) endGroup();
    switch (c.kind) {
      case ControlKind::Group:
        group = &c;
        chosen = c.noneValue;
        break;
      case ControlKind::Radio:
        // Of several checked buttons the last (the highest value) would win.
        if (values.checked.count(c.id)) chosen = c.value;
        break;
      case ControlKind::Edit: {
        auto it = values.text.find(c.id);
        std::string text = CutToLimit(it == values.text.end() ? std::string() : it->second, c.limit);
        SettingField field = FieldOf(cfg, c.key);
        if (auto* target = std::get_if<std::string*>(&field)) {
          if (c.trim) TrimBlanks(text, false);
          **target = text;
        } else {
          SetNumber(field, c.part, NumberPrefix(text, 3));
        }
        break;
      }
      case ControlKind::Check:
        SetNumber(FieldOf(cfg, c.key), c.part, values.checked.count(c.id) ? 1 : 0);
        break;
      case ControlKind::Text:
        break;
    }
  }
  endGroup();
  if (form.command == cmd::OptDirectories) {
    cfg.CurLogDir = CopyField(cfg.LogDir, ';');
    cfg.CurCnfDir = CopyField(cfg.CnfDir, ';');
    cfg.CurMailDir = CopyField(cfg.MailDir, ';');
  }
}

bool AfterOk(const DialogForm& form, RKVcfg& cfg, Host& host) {
  switch (form.command) {
    case cmd::OptDirectories:
      WarnMissingDirectories(cfg, host);
      return false;
    case cmd::OptDivision:
      WarnBaseDirectory(cfg, host);
      return false;
    case cmd::OptFilerDisplay:
      LimitNameWidth(cfg.FilerDspMode);
      LimitNameWidth(cfg.CnfFilerDspMode);
      return true;
    default:
      return false;
  }
}

std::optional<std::string> WithChosenFolder(std::string_view fieldText, std::string_view chosen, size_t limit) {
  size_t rest = fieldText.find(';');
  std::string result(chosen);
  if (rest != std::string_view::npos) result += fieldText.substr(rest);
  if (limit > 0 && result.size() > limit - 1) return std::nullopt;
  return result;
}

}  // namespace rkv
