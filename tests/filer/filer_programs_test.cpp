#include "filer/filer_programs.h"

#include <gtest/gtest.h>

#include "filer/filer_commands.h"
#include "filer_fixture.h"

namespace rkv {
namespace {

using test::Sj;
namespace c = filer_cmd;
using Lines = std::vector<std::string>;

class FilerPrograms : public test::FilerTest {};

TEST_F(FilerPrograms, EditorOnAtMostSixMarkedFilesWithBlanksQuoted) {
  for (const char* n : {"A.TXT", "B B.TXT", "C.TXT", "D.TXT", "E.TXT", "F.TXT", "G.TXT"}) Make(n);
  cfg.Editor = "vi -R";
  auto filer = Open();
  filer->Button(c::kButtonMarkAll);
  filer->Key('E');
  EXPECT_EQ(host.launched, (Lines{"vi " + At("A.TXT"), "vi \"" + At("B B.TXT") + "\"", "vi " + At("C.TXT"),
                                  "vi " + At("D.TXT"), "vi " + At("E.TXT"), "vi " + At("F.TXT")}));
  EXPECT_EQ(filer->listing().markCount(), 0);
  EXPECT_TRUE(host.shown.empty());
}

TEST_F(FilerPrograms, EditorStopsAtTheFirstFailedLaunch) {
  Make("A.TXT");
  Make("B.TXT");
  auto filer = Open();
  filer->Button(c::kButtonMarkAll);
  host.launchResult = 2;
  filer->Command(c::kEditor);
  EXPECT_EQ(host.launched.size(), 1u);
  EXPECT_EQ(Shown(), Lines{"エディタ: エディタ呼び出し失敗"});
  // Without marks: the cursor entry, a directory as well.
  host.launched.clear();
  host.launchResult = 33;
  filer->Command(c::kEditor);
  EXPECT_EQ(host.launched, Lines{"NotePad " + At("..")});
}

TEST_F(FilerPrograms, OutsideProgramsExpandTheirTemplate) {
  Make("A.CNF");
  Make("B C.CNF");
  cfg.Prg[0] = "view %f";
  cfg.Prg[1] = "ED %F +%L";
  cfg.Prg[2] = "sh -c \"cat '%F'\"";
  auto filer = Open();
  filer->Key(vk::kDown);
  filer->Command(c::kProgram1);
  filer->Command(c::kProgram1 + 1);
  filer->Key(vk::kDown);
  filer->Command(c::kProgram1);
  filer->Command(c::kProgram1 + 2);
  EXPECT_EQ(host.launched, (Lines{"view " + At("A.CNF"), "ED " + At("A.CNF") + " +",
                                  "view \"" + At("B C.CNF") + "\"", "sh -c \"cat '" + At("B C.CNF") + "'\""}));
  EXPECT_TRUE(host.shown.empty());
  cfg.Prg[3] = std::string(290, 'x') + " %F";  // longer than the 300-byte line: never run cut short
  filer->Command(c::kProgram1 + 3);
  EXPECT_EQ(host.launched.size(), 4u);
  EXPECT_EQ(Shown(), Lines{"外部プログラム: プログラム実行失敗"});
  host.shown.clear();
  host.launchResult = 0;
  filer->Command(c::kProgram8);  // empty template: the launch fails
  EXPECT_EQ(Shown(), Lines{"外部プログラム: プログラム実行失敗"});
}

TEST_F(FilerPrograms, ProgramTemplateAlreadyQuotingTheFileIsLeftAlone) {
  EXPECT_EQ(ProgramCommandLine("view \"%F\"", "/a b/c"), "view \"/a b/c\"");
  EXPECT_EQ(ProgramCommandLine("view %F", "/a b/c"), "view \"/a b/c\"");
}

TEST_F(FilerPrograms, RunACommand) {
  Make("TOOL.SH");
  auto filer = Open();
  host.inputs = {"echo hi", std::nullopt};
  filer->Key('H');
  EXPECT_EQ(host.asked[0].title, Sj("実行コマンド"));
  EXPECT_EQ(host.asked[0].prompt, Sj("コマンド名を入力して下さい:"));
  EXPECT_EQ(host.asked[0].initial, "");  // the cursor is on ".."
  EXPECT_EQ(host.asked[0].maxBytes, 1023u);
  filer->Key(vk::kDown);
  filer->Key('Z');
  EXPECT_EQ(host.asked[1].initial, At("TOOL.SH"));
  EXPECT_EQ(host.launched, Lines{"echo hi"});
}

TEST_F(FilerPrograms, XRunsOnlyProgramFiles) {
  Make("A.TXT");
  Make("SETUP.Bat");
  auto filer = Open();
  filer->Key(vk::kDown);
  filer->Key('X');
  filer->Key(vk::kDown);
  filer->Key('X');
  EXPECT_EQ(host.launched, Lines{At("SETUP.Bat")});
}

}  // namespace
}  // namespace rkv
