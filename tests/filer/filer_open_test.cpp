#include "filer/filer_open.h"

#include <gtest/gtest.h>

#include "core/handoff.h"
#include "filer/filer_commands.h"
#include "filer_fixture.h"
#include "platform/locations.h"
#include "platform/os.h"
#include "platform/profile.h"

namespace rkv {
namespace {

using test::Sj;
namespace c = filer_cmd;

class FilerOpen : public test::FilerTest {
 protected:
  void SetUp() override {
    MakeDirs(locations::ConfigDir());
    test::WriteFile(locations::WinIniPath(),
                    "[Other]\r\ndoc=wrong\r\n[Extensions]\r\ndoc=wordpad ^.doc\r\nJpg=/usr/bin/Viewer ^.jpg\r\n");
  }
  void TearDown() override { os::Remove(locations::WinIniPath()); }

  // Opens the entry of that name as Enter does.
  FilerResult Enter(FilerModel& filer, const std::string& name) {
    while (filer.cursor() != IndexOf(filer, name)) filer.Key(filer.cursor() < IndexOf(filer, name) ? vk::kDown : vk::kUp);
    return filer.Key(vk::kEnter);
  }
};

TEST_F(FilerOpen, ViewCommandHandsOverTheFirstSixMarkedFiles) {
  for (int i = 0; i < 8; ++i) Make("F" + std::to_string(i) + ".LOG");
  cfg.CnfFilerMask = "*.*";
  auto filer = Open(kCnfFiler);
  for (int i = 1; i <= 7; ++i) filer->listing().SetMark(i + 1, true);
  FilerResult r = filer->Command(c::kView);
  EXPECT_EQ(r.request, FilerRequest::OpenViewers);
  EXPECT_EQ(r.fileKind, kCnfFiler);
  const FileHandOff& area = HandOffArea();
  EXPECT_EQ(area.count, 6);
  EXPECT_EQ(area.directory, dir.path());
  EXPECT_EQ(area.names[0], "F1.LOG");
  EXPECT_EQ(area.names[5], "F6.LOG");
  EXPECT_EQ(filer->listing().markCount(), 0);

  // Without marks: the cursor file; a directory under the cursor does nothing.
  filer->Key(vk::kDown);
  r = filer->Key('S');
  EXPECT_EQ(r.request, FilerRequest::OpenViewers);
  EXPECT_EQ(area.count, 1);
  EXPECT_EQ(area.names[0], "F0.LOG");
  filer->Key(vk::kHome);
  EXPECT_EQ(filer->Key('V').request, FilerRequest::None);
  EXPECT_EQ(area.count, 0);
}

TEST_F(FilerOpen, DivisionTakesOneFileByTheSingleFileRule) {
  Make("A.LOG");
  Make("B.LOG");
  auto filer = Open();
  filer->listing().SetMark(1, true);
  filer->listing().SetMark(2, true);
  EXPECT_EQ(filer->Command(c::kDivide).request, FilerRequest::None);
  EXPECT_EQ(Shown(), std::vector<std::string>{"ログファイル分割: 複数ファイルの指定はできません"});

  filer->listing().SetMark(1, false);  // one mark, the cursor elsewhere
  FilerResult r = filer->Command(c::kDivide);
  EXPECT_EQ(r.request, FilerRequest::Divide);
  EXPECT_EQ(HandOffArea().count, 1);
  EXPECT_EQ(HandOffArea().names[0], "B.LOG");
  EXPECT_EQ(filer->listing().markCount(), 0);

  EXPECT_EQ(filer->Command(c::kDivide).request, FilerRequest::None);  // the cursor is on ".."
}

TEST_F(FilerOpen, TheExtensionDecidesHowAFileOpens) {
  for (const char* name : {"README", "A.LOG", "B.LO1", "C.cnf", "D.lzh", "E.ZIP", "F.txt", "G.DOC", "H.jpg",
                           "I.DO", "J.XYZ", "K L.ttl"}) {
    Make(name);
  }
  cfg.Editor = "myedit -n";
  auto filer = Open();
  auto viewer = [&](const std::string& name) {
    FilerResult r = Enter(*filer, name);
    return r.request == FilerRequest::OpenViewers && HandOffArea().count == 1 && HandOffArea().names[0] == name;
  };
  EXPECT_TRUE(viewer("README"));
  EXPECT_TRUE(viewer("A.LOG"));
  EXPECT_TRUE(viewer("B.LO1"));
  EXPECT_TRUE(viewer("C.cnf"));
  EXPECT_TRUE(viewer("I.DO"));   // a key is matched whole: DOC is not DO
  EXPECT_TRUE(viewer("J.XYZ"));
  Enter(*filer, "D.lzh");
  Enter(*filer, "E.ZIP");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"LHA 解凍: UNLHA32.DLL が見つかりません",
                                               "ZIP ファイル解凍: UNZIP32.DLL が見つかりません"}));
  host.shown.clear();
  EXPECT_EQ(Enter(*filer, "F.txt").request, FilerRequest::None);
  Enter(*filer, "G.DOC");
  Enter(*filer, "H.jpg");
  Enter(*filer, "K L.ttl");
  EXPECT_EQ(host.launched, (std::vector<std::string>{"myedit " + At("F.txt"), "wordpad " + At("G.DOC"),
                                                      "/usr/bin/Viewer " + At("H.jpg"),
                                                      "myedit \"" + At("K L.ttl") + "\""}));
  EXPECT_TRUE(host.shown.empty());

  host.launchResult = 2;
  Enter(*filer, "G.DOC");
  EXPECT_EQ(Shown(), std::vector<std::string>{"外部プログラム: プログラム実行失敗"});
}

TEST_F(FilerOpen, WithAssociationsOffOnlyArchivesAreSpecial) {
  Make("F.TXT");
  Make("D.LZH");
  cfg.ExtOn = 0;
  auto filer = Open();
  EXPECT_EQ(Enter(*filer, "F.TXT").request, FilerRequest::OpenViewers);
  Enter(*filer, "D.LZH");
  EXPECT_EQ(Shown(), std::vector<std::string>{"LHA 解凍: UNLHA32.DLL が見つかりません"});
  EXPECT_TRUE(host.launched.empty());
}

TEST_F(FilerOpen, ConferenceExtensionCountsOnlyWithADot) {
  Make("A.ABC");
  cfg.CnfExt = "ABC";
  cfg.Editor = "ed";
  test::WriteFile(locations::WinIniPath(), "[Extensions]\r\nabc=other\r\n");
  auto filer = Open();
  Enter(*filer, "A.ABC");
  EXPECT_EQ(host.launched, std::vector<std::string>{"other " + At("A.ABC")});
  cfg.CnfExt = ".ABC";
  EXPECT_EQ(Enter(*filer, "A.ABC").request, FilerRequest::OpenViewers);
}

TEST(ExtensionAssociations, KeysUpperCasedProgramsKeptAndCutAtTheCaret) {
  test::TempDir dir;
  test::WriteFile(dir / "WIN.INI", "[Extensions]\r\ntxt=/opt/Ed/bin/ed -x ^.txt\r\nnone=\r\n");
  auto list = ExtensionAssociations::Load(dir / "WIN.INI");
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"TXT=/opt/Ed/bin/ed -x", "NONE="}));
  EXPECT_EQ(list.ProgramFor("Txt"), "/opt/Ed/bin/ed -x");
  EXPECT_EQ(list.ProgramFor("TX"), std::nullopt);
  EXPECT_EQ(ExtensionAssociations::Load(dir / "missing").lines().size(), 0u);
}

}  // namespace
}  // namespace rkv
