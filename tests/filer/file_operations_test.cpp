#include "filer/file_operations.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "core/paths.h"
#include "filer/filer_commands.h"
#include "filer_fixture.h"
#include "platform/os.h"

namespace rkv {
namespace {

using test::Sj;
namespace c = filer_cmd;
using Lines = std::vector<std::string>;

class FileOps : public test::FilerTest {
 protected:
  void Mark(FilerModel& filer, std::initializer_list<const char*> names) {
    for (const char* n : names) filer.listing().SetMark(IndexOf(filer, n), true);
  }
  void CursorOn(FilerModel& filer, const std::string& name) {
    filer.Click(IndexOf(filer, name) - filer.top(), false);
  }
  bool Has(const std::string& name) { return test::Exists(os::Native(At(name))); }
};

TEST_F(FileOps, CopyOfThreeMarkedFilesWithTheMiddleOneDeclined) {
  Make("A.LOG", "a");
  Make("B.LOG", "b");
  Make("C.LOG", "c");
  MakeDir("OUT");
  Make("OUT/B.LOG", "old b");
  auto filer = Open();
  Mark(*filer, {"A.LOG", "B.LOG", "C.LOG"});
  host.inputs = {At("OUT")};
  host.answers = {Answer::No};
  filer->Key('C');
  ASSERT_EQ(host.asked.size(), 1u);
  EXPECT_EQ(host.asked[0].title, Sj("ファイル・コピー"));
  EXPECT_EQ(host.asked[0].prompt, Sj("複写先ﾃﾞｨﾚｸﾄﾘ名を入力して下さい(ﾌﾙﾊﾟｽ)"));
  EXPECT_EQ(host.asked[0].choices, Lines{dir.path()});
  EXPECT_EQ(Content(At("OUT/A.LOG")), "a");
  EXPECT_EQ(Content(At("OUT/B.LOG")), "old b");
  EXPECT_EQ(Content(At("OUT/C.LOG")), "c");
  ASSERT_EQ(host.shown.size(), 2u);
  EXPECT_EQ(Shown()[1], "ファイル・コピー: コピーを終了しました(^_^)");
  EXPECT_EQ(filer->listing().markCount(), 3);  // no reread, the marks stay
}

TEST_F(FileOps, CopyIntoItsOwnDirectoryFails) {
  Make("A.LOG", "a");
  auto filer = Open();
  CursorOn(*filer, "A.LOG");
  host.inputs = {dir.path()};
  filer->Command(c::kCopy);
  EXPECT_EQ(Shown(), (Lines{"ファイル転送: 同一のディレクトリです", "ファイル・コピー: コピーに失敗しました！"}));
  EXPECT_EQ(Content(At("A.LOG")), "a");
}

TEST_F(FileOps, CopyStopsAtTheFirstFailureAndReportsADeclineAtTheEnd) {
  Make("A.LOG", std::string(9000, 'a'));
  Make("B.LOG", "b");
  MakeDir("OUT");
  Make("OUT/B.LOG", "old");
  auto filer = Open();
  Mark(*filer, {"A.LOG", "B.LOG"});
  host.inputs = {"OUT"};  // relative to the filer's path
  os::SetWriteFaultHook([](size_t) { return ENOSPC; });
  filer->Command(c::kCopy);
  EXPECT_EQ(Shown(), Lines{"ファイル・コピー: コピーに失敗しました！"});  // B was never asked about
  EXPECT_FALSE(Has("OUT/A.LOG"));
  os::SetWriteFaultHook(nullptr);

  host.shown.clear();
  host.inputs = {At("OUT")};
  host.answers = {Answer::No};
  filer->Command(c::kCopy);
  EXPECT_EQ(Shown().back(), "ファイル・コピー: コピーを中断しました！");
}

TEST_F(FileOps, CopyToAMissingDirectoryOrCancelled) {
  MakeDir("SUB");
  Make("A.LOG");
  auto filer = Open();
  filer->Command(c::kCopy);  // the cursor on "..": nothing, not even a question
  EXPECT_TRUE(host.asked.empty());
  CursorOn(*filer, "A.LOG");
  host.inputs = {At("NONE"), std::nullopt};
  filer->Command(c::kCopy);
  filer->Command(c::kCopy);
  EXPECT_EQ(Shown(), Lines{"ファイル・コピー: 複写先パスが見つかりません"});
}

TEST_F(FileOps, MoveMarkedFilesAndReload) {
  for (const char* n : {"A.LOG", "B.LOG", "C.LOG", "D.LOG"}) Make(n, n);
  MakeDir("OUT");
  auto filer = Open();
  CursorOn(*filer, "D.LOG");
  Mark(*filer, {"A.LOG", "C.LOG"});
  host.inputs = {At("OUT")};
  filer->Key('M');
  EXPECT_EQ(host.asked[0].title, Sj("ファイル・移動"));
  EXPECT_EQ(host.asked[0].prompt, Sj("移動先ﾃﾞｨﾚｸﾄﾘ名を入力して下さい(ﾌﾙﾊﾟｽ)"));
  EXPECT_EQ(host.asked[0].maxBytes, 79u);
  EXPECT_EQ(Shown(), Lines{"ファイル・移動: ファイル移動を終了しました(^_^)"});
  EXPECT_EQ(Names(*filer), (Lines{"..", "OUT", "B.LOG", "D.LOG"}));
  EXPECT_EQ(filer->listing().at(filer->cursor()).name, "D.LOG");  // reload mode 2
  EXPECT_EQ(Content(At("OUT/C.LOG")), "C.LOG");

  host.inputs = {At("GONE")};
  filer->Command(c::kMove);
  EXPECT_EQ(Shown().back(), "ファイル・移動: 移動先パスが見つかりません");
  EXPECT_TRUE(Has("D.LOG"));
}

TEST_F(FileOps, MoveOfTheCursorFileThatCannotBeWrittenKeepsIt) {
  Make("A.LOG", "keep");
  MakeDir("OUT");
  auto filer = Open();
  CursorOn(*filer, "A.LOG");
  host.inputs = {At("OUT")};
  os::SetWriteFaultHook([](size_t) { return EIO; });
  filer->Command(c::kMove);
  EXPECT_EQ(Shown(), Lines{"ファイル・移動: ファイル移動に失敗しました！"});
  EXPECT_EQ(Content(At("A.LOG")), "keep");
  EXPECT_FALSE(Has("OUT/A.LOG"));
}

TEST_F(FileOps, DeleteAsksAndClearsReadOnly) {
  auto empty = Open();
  empty->Key(vk::kDelete);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].icon, BoxIcon::Information);
  EXPECT_EQ(Shown(), Lines{"ファイル削除: ファイルがありません"});

  for (const char* n : {"A.LOG", "B.LOG", "C.LOG"}) Make(n);
  ::chmod(os::Native(At("B.LOG")).c_str(), 0444);
  auto filer = Open();
  Mark(*filer, {"A.LOG", "B.LOG"});
  host.shown.clear();
  host.answers = {Answer::No, Answer::Yes};
  filer->Key('D');
  EXPECT_TRUE(Has("A.LOG"));
  filer->Key('D');
  EXPECT_EQ(Shown(), (Lines{"ファイル削除: ファイルを削除します。よろしいですか？",
                            "ファイル削除: ファイルを削除します。よろしいですか？"}));
  EXPECT_EQ(Names(*filer), (Lines{"..", "C.LOG"}));

  CursorOn(*filer, "C.LOG");
  host.answers = {Answer::Yes};
  filer->Command(c::kDelete);
  EXPECT_EQ(Names(*filer), Lines{".."});
  EXPECT_EQ(filer->cursor(), 0);  // reload mode 1 pulled it back
}

TEST_F(FileOps, DeleteBakTakesEveryBakButReadOnlyOnes) {
  for (const char* n : {"a.bak", "B.BAK", "C.BAK", "D.TXT", "E.BAKX"}) Make(n);
  MakeDir("F.BAK");
  ::chmod(os::Native(At("C.BAK")).c_str(), 0444);
  auto filer = Open();
  filer->Key('B');
  EXPECT_TRUE(host.shown.empty());
  EXPECT_EQ(Names(*filer), (Lines{"..", "F.BAK", "C.BAK", "D.TXT", "E.BAKX"}));
}

TEST_F(FileOps, RenameRefusesSeveralFilesAndBadNames) {
  Make("A.LOG", "a");
  Make("B.LOG", "b");
  auto filer = Open();
  Mark(*filer, {"A.LOG", "B.LOG"});
  filer->Key('R');
  EXPECT_EQ(Shown(), Lines{"ファイル・リネーム: 複数ファイルの指定はできません"});
  EXPECT_TRUE(host.asked.empty());

  filer->listing().ClearMarks();
  CursorOn(*filer, "A.LOG");
  for (const char* bad : {"../A.LOG", "SUB/A.LOG", ".", ".."}) {
    host.shown.clear();
    host.inputs = {std::string(bad)};
    filer->Key(vk::kF2);
    EXPECT_EQ(Shown(), Lines{"ファイル・リネーム: 無効なファイル名です"}) << bad;
  }
  EXPECT_EQ(host.asked.back().initial, "A.LOG");
  EXPECT_EQ(host.asked.back().prompt, Sj("新ファイル名を入力して下さい"));
  EXPECT_EQ(host.asked.back().maxBytes, 255u);
  EXPECT_EQ(Names(*filer), (Lines{"..", "A.LOG", "B.LOG"}));

  // Never onto an existing file.
  host.shown.clear();
  host.inputs = {"B.LOG"};
  filer->Key('R');
  EXPECT_EQ(Shown(), Lines{"ファイル・リネーム: リネームに失敗しました！"});
  EXPECT_EQ(Content(At("A.LOG")), "a");
  EXPECT_EQ(Content(At("B.LOG")), "b");
}

TEST_F(FileOps, RenameTakesTheOneMarkedFileEvenWithTheCursorElsewhere) {
  Make("A.LOG", "a");
  Make("B.LOG", "b");
  MakeDir("SUB");
  auto filer = Open();
  CursorOn(*filer, "A.LOG");
  Mark(*filer, {"B.LOG"});
  host.inputs = {Sj("表示.LOG")};  // a trail byte of "\" is no separator here
  filer->Key('R');
  EXPECT_TRUE(host.shown.empty());
  EXPECT_EQ(Names(*filer), (Lines{"..", "SUB", "A.LOG", Sj("表示.LOG")}));
  EXPECT_EQ(filer->listing().markCount(), 0);
  EXPECT_EQ(filer->listing().at(filer->cursor()).name, "A.LOG");

  CursorOn(*filer, "SUB");  // a directory may be renamed
  host.inputs = {"NEWSUB"};
  filer->Key('R');
  EXPECT_EQ(Names(*filer)[1], "NEWSUB");
}

TEST_F(FileOps, MakeDirectory) {
  auto filer = Open();
  host.inputs = {"A/B", "..", "LOGS"};
  filer->Key('K');
  filer->Key('K');
  EXPECT_EQ(host.asked[0].title, Sj("ディレクトリ作成"));
  EXPECT_EQ(host.asked[0].prompt, Sj("ディレクトリ名を入力して下さい"));
  EXPECT_EQ(host.asked[0].maxBytes, 12u);  // a 13-byte name cannot be typed
  EXPECT_EQ(Shown(), (Lines{"ディレクトリ作成: 無効なパス名です", "ディレクトリ作成: 無効なパス名です"}));
  filer->Key('K');
  EXPECT_EQ(Names(*filer), (Lines{"..", "LOGS"}));
  host.inputs = {"LOGS"};
  filer->Key('K');
  EXPECT_EQ(Shown().back(), "ディレクトリ作成: ディレクトリ作成に失敗しました！");
}

TEST_F(FileOps, RemoveDirectory) {
  MakeDir("EMPTY");
  MakeDir("FULL");
  Make("FULL/A.LOG");
  Make("Z.LOG");
  auto filer = Open();
  filer->Key('O');  // on "..": nothing
  EXPECT_TRUE(host.shown.empty());
  CursorOn(*filer, "FULL");
  host.answers = {Answer::Yes};
  filer->Key('O');
  EXPECT_EQ(Shown(), (Lines{"ディレクトリ削除: FULL を削除します。よろしいですか？",
                            "ディレクトリ削除: ディレクトリを削除できませんでした！"}));
  CursorOn(*filer, "EMPTY");
  host.answers = {Answer::Yes};
  filer->Key('O');
  EXPECT_EQ(Names(*filer), (Lines{"..", "FULL", "Z.LOG"}));
  CursorOn(*filer, "Z.LOG");
  size_t shown = host.shown.size();
  filer->Key('O');
  EXPECT_EQ(host.shown.size(), shown);
}

TEST_F(FileOps, ChangePath) {
  MakeDir("SUB");
  auto filer = Open();
  host.inputs = {"SUB", At("NONE"), "x:", std::string(At("SUB/*.TXT"))};
  FilerResult r = filer->Key('L');
  EXPECT_EQ(host.asked[0].title, Sj("パス変更(ｶﾚﾝﾄﾊﾟｽ= ") + dir.path() + ")");
  EXPECT_EQ(host.asked[0].prompt, Sj("移動先パス名を入力して下さい"));
  EXPECT_EQ(host.asked[0].choices, Lines{dir.path()});
  EXPECT_TRUE(r.titleChanged);
  EXPECT_EQ(filer->path(), At("SUB"));
  filer->Button(c::kButtonPath);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].caption, At("NONE"));
  EXPECT_EQ(host.shown[0].text, Sj("指定パスが見つかりません"));
  filer->Key('L');
  EXPECT_EQ(filer->path(), "/");
  Make("SUB/A.TXT");
  Make("SUB/B.LOG");
  filer->Key('L');
  EXPECT_EQ(filer->path(), At("SUB"));
  EXPECT_EQ(filer->listing().mask(), "*.TXT");
  EXPECT_EQ(Names(*filer), (Lines{"..", "A.TXT"}));
}

TEST_F(FileOps, ChangeMask) {
  Make("A.TXT");
  Make("B.LOG");
  auto filer = Open();
  host.inputs = {" *.TXT", "", "*.txt"};
  filer->Key('W');
  filer->Key('W');
  EXPECT_EQ(filer->count(), 3);
  EXPECT_EQ(host.asked[0].title, Sj("パスマスク(*.*)"));
  EXPECT_EQ(host.asked[0].prompt, Sj("パスマスクを入力して下さい"));
  EXPECT_EQ(host.asked[0].maxBytes, 11u);
  filer->Button(c::kButtonMask);
  EXPECT_EQ(Names(*filer), (Lines{"..", "A.TXT"}));
  EXPECT_EQ(cfg.FilerMask, "*.*");  // not kept in the settings
}

TEST(IsPlainEntryName, RefusesPathsAndTheDotNames) {
  EXPECT_TRUE(IsPlainEntryName("A.LOG"));
  EXPECT_TRUE(IsPlainEntryName("a:b\\c"));  // ordinary bytes on this system
  EXPECT_FALSE(IsPlainEntryName("a/b"));
  EXPECT_FALSE(IsPlainEntryName("."));
  EXPECT_FALSE(IsPlainEntryName(".."));
  EXPECT_FALSE(IsPlainEntryName(""));
}

}  // namespace
}  // namespace rkv
