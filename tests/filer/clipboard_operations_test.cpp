#include "filer/clipboard_operations.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "filer/filer_commands.h"
#include "filer_fixture.h"
#include "platform/os.h"

namespace rkv {
namespace {

using test::Sj;
namespace c = filer_cmd;
using Lines = std::vector<std::string>;

class ClipboardOps : public test::FilerTest {
 protected:
  std::unique_ptr<FilerModel> OnFile(const std::string& name) {
    auto filer = Open();
    filer->Click(IndexOf(*filer, name) - filer->top(), false);
    return filer;
  }
};

TEST_F(ClipboardOps, AppendFileToFileInTextMode) {
  Make("SRC.TXT", "one\r\ntwo\nthree");
  std::string target = Make("DST.TXT", "head\r\n");
  auto filer = OnFile("SRC.TXT");
  host.inputs = {target};
  filer->Key(vk::kF7);
  ASSERT_EQ(host.fileRequests.size(), 1u);
  EXPECT_EQ(host.fileRequests[0].title, Sj("選択ファイルを追加するファイル："));
  EXPECT_EQ(host.fileRequests[0].filters,
            (std::vector<std::pair<std::string, std::string>>{{Sj("すべてのﾌｧｲﾙ (*.*)"), "*.*"}}));
  EXPECT_EQ(host.fileRequests[0].initialDirectory, cfg.EtcDir);
  EXPECT_EQ(Content(target), "head\r\none\r\ntwo\r\nthree");
  EXPECT_EQ(Shown(), Lines{"ファイルを別ファイルへ追加: ファイル追加を終了しました"});

  host.inputs = {At("NEW.TXT")};  // a missing target is made
  filer->Command(c::kAppendFile);
  EXPECT_EQ(Content(At("NEW.TXT")), "one\r\ntwo\r\nthree");
}

TEST_F(ClipboardOps, AppendFileRefusesWrongTargetsAndItself) {
  Make("A.TXT", "a");
  Make("B.TXT", "b");
  MakeDir("SUB");
  auto filer = OnFile("SUB");
  filer->Command(c::kAppendFile);
  filer->listing().SetMark(IndexOf(*filer, "A.TXT"), true);
  filer->listing().SetMark(IndexOf(*filer, "B.TXT"), true);
  filer->Command(c::kAppendFile);
  filer->listing().ClearMarks();
  filer->Click(IndexOf(*filer, "A.TXT"), false);
  host.inputs = {At("A.TXT")};
  filer->Command(c::kAppendFile);
  EXPECT_EQ(Shown(), Lines(3, "ファイルを別ファイルへ追加: ファイルの指定が間違っています"));
  EXPECT_EQ(Content(At("A.TXT")), "a");
}

TEST_F(ClipboardOps, AFailedAppendLeavesTheTargetAsItWas) {
  Make("SRC.TXT", std::string(200000, 's'));  // more than one buffer of writes
  std::string target = Make("DST.TXT", "keep\r\n");
  auto filer = OnFile("SRC.TXT");
  int writes = 0;
  os::SetWriteFaultHook([&](size_t) { return ++writes == 2 ? ENOSPC : 0; });
  host.inputs = {target, At("FRESH.TXT")};
  filer->Command(c::kAppendFile);
  EXPECT_EQ(Content(target), "keep\r\n");
  writes = 0;
  filer->Command(c::kAppendFile);
  EXPECT_FALSE(test::Exists(os::Native(At("FRESH.TXT"))));
  EXPECT_EQ(Shown(), Lines(2, "ファイルを別ファイルへ追加: ファイル追加に失敗しました！"));
}

TEST_F(ClipboardOps, AppendClipboardToFile) {
  std::string target = Make("A.TXT", "x");
  auto filer = OnFile("A.TXT");
  host.answers = {Answer::No};
  filer->Key(vk::kF9);
  EXPECT_EQ(Content(target), "x");

  host.clipboard = std::string("abc\r\n\0tail", 10);
  host.answers = {Answer::Yes};
  filer->Key(vk::kF9);
  EXPECT_EQ(Content(target), "xabc\r\n");  // up to the NUL, bytes as they are
  EXPECT_EQ(Shown(), (Lines{"クリップボードデータの追加: クリップボードの内容を選択ファイルに追加します",
                            "クリップボードデータの追加: クリップボードの内容を選択ファイルに追加します",
                            "クリップボードデータの追加: クリップボードデータを追加しました"}));

  host.shown.clear();
  host.clipboard.reset();  // no text: nothing more
  host.answers = {Answer::Yes};
  filer->Key(vk::kF9);
  EXPECT_EQ(host.shown.size(), 1u);
}

TEST_F(ClipboardOps, AFailedClipboardAppendIsReportedAndUndone) {
  std::string target = Make("A.TXT", "x");
  auto filer = OnFile("A.TXT");
  host.clipboard = "more";
  host.answers = {Answer::Yes};
  os::SetWriteFaultHook([](size_t) { return EIO; });
  filer->Command(c::kAppendClipboard);
  EXPECT_EQ(Shown().back(), "クリップボードデータの追加: クリップボードデータの追加に失敗しました！");
  EXPECT_EQ(Content(target), "x");
}

TEST_F(ClipboardOps, FileToClipboard) {
  Make("A.TXT", std::string("line\r\n\0rest", 11));
  MakeDir("SUB");
  auto filer = OnFile("A.TXT");
  host.answers = {Answer::Yes};
  filer->Key(vk::kF8);
  EXPECT_EQ(host.clipboard, "line\r\n");
  EXPECT_EQ(Shown(), (Lines{"クリップボード転送: 選択ファイルをクリップボードへ転送します",
                            "クリップボード転送: クリップボードへ転送しました"}));
  host.shown.clear();
  filer->Click(IndexOf(*filer, "SUB"), false);
  host.answers = {Answer::Yes};
  filer->Command(c::kFileToClipboard);
  EXPECT_EQ(Shown().back(), "クリップボード転送: ファイルの指定が間違っています");
}

}  // namespace
}  // namespace rkv
