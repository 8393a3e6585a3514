#include "settings/dialog_fields.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/profile.h"
#include "support/scripted_host.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;
using test::TempDir;

const DialogForm& Form(int command) {
  const DialogForm* form = SettingsDialogForm(command);
  EXPECT_NE(form, nullptr) << command;
  return *form;
}

// Settings as a first start leaves them: every folder the program folder.
RKVcfg Started(const std::string& programDir) {
  RKVcfg cfg;
  cfg.Load(ProfileFile(programDir + "/none.ini"), programDir);
  return cfg;
}

// Opens the dialog, lets the user change some controls, presses OK.
void Ok(int command, RKVcfg& cfg, const std::map<int, std::string>& typed, const std::map<int, bool>& clicks = {}) {
  FormValues values = FillForm(Form(command), cfg);
  for (const auto& [id, text] : typed) values.text[id] = text;
  for (const auto& [id, on] : clicks) on ? (void)values.checked.insert(id) : (void)values.checked.erase(id);
  ReadBack(Form(command), values, cfg);
}

TEST(SettingsDialogs, EveryControlEditsARealSettingAndOkWithoutChangesChangesNothing) {
  TempDir dir;
  RKVcfg cfg = Started(dir.path());
  cfg.FilerSort = 2;
  cfg.NameRule = 1;
  cfg.CnfFilerDspMode = DspMode{20, {0, 1, 0, 1, 1}};
  const auto before = cfg.Listing();
  std::set<std::string> keys;
  for (const auto& row : SettingsTable()) keys.insert(row.key);
  for (int command : {220, 221, 222, 223, 224, 225, 227, 232}) {
    std::set<int> ids;
    for (const FormControl& c : Form(command).controls) {
      EXPECT_TRUE(c.key.empty() || keys.count(c.key)) << c.key;
      EXPECT_TRUE(!c.id || ids.insert(c.id).second) << command << " repeats " << c.id;
    }
    Ok(command, cfg, {});
    EXPECT_EQ(cfg.Listing(), before) << command;
  }
  EXPECT_EQ(SettingsDialogForm(228), nullptr);  // the colour dialog is not one of these
}

TEST(SettingsDialogs, ProgramsAreStoredAsTyped) {
  TempDir dir;
  RKVcfg cfg = Started(dir.path());
  EXPECT_EQ(Form(221).resource, "EXT_PRG");
  EXPECT_EQ(Form(221).controls.size(), 9u);
  Ok(221, cfg, {{160, "gedit +%l %f"}, {161, ""}, {168, "view %F"}});
  EXPECT_EQ(cfg.Editor, "gedit +%l %f");  // program names keep their case here
  EXPECT_EQ(cfg.Prg[0], "");
  EXPECT_EQ(cfg.Prg[7], "view %F");
}

TEST(SettingsDialogs, DirectoriesAreTrimmedAndTheFirstEntryBecomesCurrent) {
  TempDir dir;
  RKVcfg cfg = Started(dir.path());
  Ok(220, cfg, {{151, " /c/log;/d/oldlog "}, {152, " /cnf"}, {154, "/mail;/old "}, {159, "  PAD  "}});
  EXPECT_EQ(cfg.LogDir, "/c/log;/d/oldlog");
  EXPECT_EQ(cfg.CurLogDir, "/c/log");
  EXPECT_EQ(cfg.CurCnfDir, "/cnf");
  EXPECT_EQ(cfg.CurMailDir, "/mail");
  EXPECT_EQ(cfg.PadName, "PAD");
}

// The captions of the warnings that follow OK, in order.
std::vector<std::string> Warnings(int command, RKVcfg& cfg) {
  test::ScriptedHost host;
  AfterOk(Form(command), cfg, host);
  std::vector<std::string> captions;
  for (const auto& shown : host.shown) captions.push_back(test::Utf8(shown.caption + ": " + shown.text));
  return captions;
}

TEST(SettingsDialogs, MissingDirectoriesWarnOnceAndUntestedOnesNever) {
  TempDir dir;
  const std::vector<std::string> once = {"ディレクトリ設定: 存在しないディレクトリが設定されています"};
  RKVcfg cfg = Started(dir.path());
  Ok(220, cfg, {{155, dir / "noHP"}, {156, dir / "noPatio"}, {159, "X"}});
  EXPECT_TRUE(Warnings(220, cfg).empty());
  Ok(220, cfg, {{158, dir / "noPad"}});
  EXPECT_EQ(Warnings(220, cfg), once);
  Ok(220, cfg, {{151, dir / "a"}, {153, dir / "b"}});
  EXPECT_EQ(Warnings(220, cfg), once);
  EXPECT_EQ(cfg.PadDir, dir / "noPad");  // kept as entered
}

TEST(SettingsDialogs, BaseDirectoryIsCheckedOnlyForTheTesselNames) {
  TempDir dir;
  const std::vector<std::string> wrong = {"会議室ﾌｧｲﾙ･ﾍﾞｰｽ･ﾃﾞｨﾚｸﾄﾘ: ディレクトリ設定が間違っています"};
  RKVcfg cfg = Started(dir.path());
  Ok(227, cfg, {{136, ""}}, {{134, true}});
  EXPECT_TRUE(Warnings(227, cfg).empty());
  for (const std::string& base : {std::string("   "), dir / "missing"}) {
    Ok(227, cfg, {{136, base}}, {{134, false}, {135, true}});
    EXPECT_EQ(Warnings(227, cfg), wrong) << base;
  }
  Ok(227, cfg, {{136, " " + dir.path() + " "}});
  EXPECT_TRUE(Warnings(227, cfg).empty());
  EXPECT_EQ(cfg.BaseDir, dir.path());
}

TEST(SettingsDialogs, GroupsWithNoButtonCheckedAndCheckBoxesOfEveryWidth) {
  RKVcfg cfg;
  cfg.FilerSort = 5;
  cfg.CnfFilerSort = 1;
  cfg.NameRule = 7;
  cfg.SaveWindowSize = 5;  // an int setting; ExtOn (1) is a byte
  FormValues shown = FillForm(Form(225), cfg);
  EXPECT_EQ(shown.checked, (std::set<int>{177, 180, 186}));
  Ok(225, cfg, {}, {{186, false}, {182, true}});
  EXPECT_EQ(cfg.FilerSort, -1);
  EXPECT_EQ(cfg.CnfFilerSort, 1);
  EXPECT_EQ(cfg.SaveWindowSize, 1);
  EXPECT_EQ(cfg.ExtOn, 0);
  EXPECT_EQ(cfg.UseLButton, 1);
  Ok(227, cfg, {});
  EXPECT_EQ(cfg.NameRule, 0);  // the log division buttons know only 1 and else 0
}

TEST(SettingsDialogs, FilerNameLengthsOutsideZeroToThirtyTwoBecomeSixteen) {
  struct Case {
    std::string typed;
    int stored;
  } cases[] = {{"40", 16}, {"0", 0}, {"32", 32}, {"-1", 16}, {"ab", 0}, {"7x", 7}};
  for (const Case& c : cases) {
    RKVcfg cfg;
    Ok(232, cfg, {{220, c.typed}, {225, "20"}}, {{221, false}, {230, true}, {231, true}});
    test::ScriptedHost host;
    EXPECT_TRUE(AfterOk(Form(232), cfg, host));  // the filers list again
    EXPECT_EQ(cfg.FilerDspMode, (DspMode{c.stored, {0, 1, 1, 1, 1}})) << c.typed;
    EXPECT_EQ(cfg.CnfFilerDspMode, (DspMode{20, {1, 1, 1, 1, 1}}));  // each block by itself
  }
}

TEST(SettingsDialogs, FieldsHoldAtMostTheirLimitAndNeverHalfACharacter) {
  RKVcfg cfg;
  cfg.PadQuot = Sj("あああ");  // 6 bytes into a field of 5
  cfg.FilerDspMode.nameWidth = 100;  // 3 digits into a field of 2
  EXPECT_EQ(FillForm(Form(223), cfg).text[203], Sj("ああ") + " ");
  EXPECT_EQ(FillForm(Form(232), cfg).text[220], "10");
  Ok(222, cfg, {{165, "123456789012345"}});
  EXPECT_EQ(cfg.LogMask, "12345678901");
}

TEST(SettingsDialogs, AChosenFolderReplacesTheFirstEntryOnly) {
  EXPECT_EQ(WithChosenFolder("", "/new", 600), "/new");
  EXPECT_EQ(WithChosenFolder("/a;/b;/c", "/new", 600), "/new;/b;/c");
  EXPECT_EQ(WithChosenFolder("/abc", "/123456", 7), std::nullopt);  // a field of 7 holds 6 bytes
  EXPECT_EQ(WithChosenFolder("/abc", "/12345", 7), "/12345");
}

}  // namespace
}  // namespace rkv
