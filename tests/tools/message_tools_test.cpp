// The viewer's message tools: output of selected messages, keyword search,
// clipboard, the editor's temporary file and the editor and outside programs,
// driven through a viewer model with scripted dialogs.
#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "core/files.h"
#include "core/virtual_keys.h"
#include "support/scripted_host.h"
#include "support/test_env.h"
#include "tools/message_output.h"
#include "viewer/viewer_model.h"

namespace rkv {
namespace {

using test::Sj;

std::string Header(int n, const char* handle, const char* title) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%03d/003   ABC0000%d  %-16s %s", n, n, handle, title);
  return buf;
}

// Three messages: the first with a keyword that the 79-byte reads cut in two
// and "ソ" (whose second byte is a backslash), the second with a real
// backslash, the third longer than 300 lines with a keyword beyond them.
std::string Conference() {
  std::string text = "- ROOM  MES( 5):Test\r\n";
  text += Header(1, "alpha", "Hello world") + "\r\n                       00000  x\r\n";
  text += std::string(77, 'a') + "KEY" + std::string(20, 'b') + "\r\n" + Sj("ソフト") + "\r\n\r\n";
  text += Header(2, "beta", "Second") + "\r\n                       00001  x\r\nC:\\DOS\r\n";
  text += Header(3, "gamma", "Third") + "\r\n                       00000  x\r\n";
  for (int i = 0; i < 305; ++i) text += (i == 299 ? std::string("KEY") : "line " + std::to_string(i)) + "\r\n";
  return text;
}

class MessageTools : public ::testing::Test {
 protected:
  MessageTools() {
    cfg.TtlDir = cfg.EtcDir = dir.path();
    cfg.Editor = "ed +%L %f";
    cfg.Prg[0] = "view %F";
    cfg.Prg[1] = std::string(300, 'x') + " %F";
    test::WriteFile(path, Conference());
    model = std::make_unique<ViewerModel>(cfg, host, path, 1);
    EXPECT_TRUE(model->Open());
    model->SetRows(20, 21);
  }
  void Row(int row) {
    model->Key(vk::kHome);
    for (int i = 0; i < row; ++i) model->Key(vk::kDown);
  }
  std::string Shown() const { return host.shown.empty() ? "" : test::Utf8(host.shown.back().text); }
  int Count(const std::string& text, const std::string& what) const {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  test::TempDir dir;
  test::ScriptedHost host;
  RKVcfg cfg;
  std::string path = dir / "ROOM_05.CNF";
  std::string out = dir / "found.txt";
  std::unique_ptr<ViewerModel> model;
};

TEST_F(MessageTools, SearchFindsWholeCharactersInWholeLinesUpToLine300) {
  struct Case {
    const char *key1, *key2;
    std::vector<int> found;
  } cases[] = {
      {"\\", "", {2}},                 // not the second byte of ソ
      {"KEY", "", {1}},                // cut by the 79-byte reads; message 3 has it only after line 300
      {"  beta  ", "", {2}},           // a header line counts; blanks trimmed
      {"none", "gamma", {3}},          // either keyword
      {"Hello", "Second", {1, 2}},
      {"ABC", "", {1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key1);
    test::WriteFile(out, "old contents\r\n");
    host.searchAnswers.push_back(SearchKeys{c.key1, c.key2, "found.txt"});  // taken in EtcDir
    model->Command(cmd::VSearch);
    EXPECT_FALSE(model->toolFailed());
    EXPECT_EQ(Shown(), std::to_string(c.found.size()) + " 個の発言を出力しました");
    EXPECT_EQ(test::Utf8(host.shown.back().caption), "■キーワード検索");
    std::string written = test::ReadFile(out);
    EXPECT_EQ(written.find("old"), std::string::npos);  // replaced, not appended
    for (int n = 1; n <= 3; ++n) {
      bool expected = std::find(c.found.begin(), c.found.end(), n) != c.found.end();
      EXPECT_EQ(written.find(Header(n, "", "").substr(0, 7)) != std::string::npos, expected) << n;
    }
  }
  // Written as read: message 1 whole (its long line joined again), message 3 cut at 300 lines.
  std::string written = test::ReadFile(out);
  EXPECT_NE(written.find(std::string(77, 'a') + "KEY" + std::string(20, 'b') + "\r\n"), std::string::npos);
  EXPECT_EQ(Count(written.substr(written.find("003/003")), "\r\n"), 300);
  // The dialog opens with the previous search, trimmed.
  EXPECT_EQ(host.searchShown.back().key1, "Hello");
  EXPECT_EQ(host.searchShown[3].key1, "beta");
}

TEST_F(MessageTools, SearchRefusals) {
  host.searchAnswers = {SearchKeys{"   ", " ", "found.txt"}, SearchKeys{"KEY", "", path}, std::nullopt};
  model->Command(cmd::VSearch);
  EXPECT_EQ(Shown(), "検索キーワードが未入力です");
  EXPECT_FALSE(FileExists(out));
  std::string before = test::ReadFile(path);
  model->Command(cmd::VSearch);  // into the viewed file: it would be emptied before it is read
  EXPECT_EQ(Shown(), "ファイルオープン失敗");
  EXPECT_TRUE(model->toolFailed());
  EXPECT_EQ(test::ReadFile(path), before);
  size_t shown = host.shown.size();
  model->Command(cmd::VSearch);  // cancelled
  EXPECT_EQ(host.shown.size(), shown);
}

TEST_F(MessageTools, OutputAppendsTheChosenMessagesAndClearsTheSelection) {
  test::WriteFile(out, "old\r\n");
  Row(1);  // nothing selected: the cursor's message
  host.inputs = {out};
  model->Command(cmd::VOutput);
  EXPECT_EQ(Shown(), "ファイル出力を終了しました(^_^)");
  EXPECT_EQ(test::Utf8(host.shown.back().caption), "出力ファイル名");
  EXPECT_EQ(host.fileRequests.back().initialDirectory, cfg.EtcDir);
  std::string m2 = Header(2, "beta", "Second") + "\r\n                       00001  x\r\nC:\\DOS\r\n";
  EXPECT_EQ(test::ReadFile(out), "old\r\n" + m2);
  EXPECT_EQ(model->MarkedCount(), 0);

  Row(0);
  model->Key(vk::kSpace);  // select 0, on to 1
  model->Key(vk::kDown);
  model->Key(vk::kSpace);  // select 2
  host.inputs = {std::nullopt};
  model->Command(cmd::VOutput);  // cancelled: nothing said, the selection stays
  EXPECT_EQ(model->MarkedCount(), 2);
  host.inputs = {"found.txt"};
  model->Command(cmd::VOutput);
  std::string all = test::ReadFile(out);
  EXPECT_EQ(all.find("001/003"), 5 + m2.size());
  EXPECT_LT(all.find("001/003"), all.find("003/003"));
  EXPECT_EQ(model->MarkedCount(), 0);

  host.inputs = {dir.path()};  // a folder cannot be written
  model->Command(cmd::VOutput);
  EXPECT_EQ(Shown(), "ファイル出力に失敗しました！");
  EXPECT_TRUE(model->toolFailed());
}

TEST_F(MessageTools, ClipboardTemporaryFileAndPrograms) {
  Row(0);
  model->Command(cmd::VClipboard);
  std::string m1 = test::ReadFile(path).substr(22, test::ReadFile(path).find("002/003") - 22);
  // The long line arrives as two lines of the message view; the empty line is CR LF.
  std::string expected = m1;
  expected.insert(expected.find("KEY") + 3, "\r\n");
  EXPECT_EQ(host.clipboard, expected);

  model->Command(cmd::VEditorCut);
  model->Command(cmd::VEditorCut);
  std::string temp = dir / "RKVTEMP.$$$";
  EXPECT_EQ(test::ReadFile(temp), expected + expected);
  EXPECT_EQ(host.launched.back(), "ed " + temp);

  Row(1);
  model->Command(cmd::VEditorJump);
  EXPECT_EQ(host.launched.back(), "ed +" + std::to_string(model->titles().title(1).line) + " " + path);
  model->Command(cmd::VProgram1);
  EXPECT_EQ(host.launched.back(), "view " + path);
  model->Command(cmd::VEditor);
  EXPECT_EQ(host.launched.back(), "ed");

  // Failures: each caller's text; a line too long for its buffer is not run cut short.
  size_t launched = host.launched.size();
  model->Command(cmd::VProgram1 + 1);
  EXPECT_EQ(host.launched.size(), launched);
  EXPECT_EQ(Shown(), "外部プログラム呼出し失敗");
  host.launchResult = 2;
  struct Failure {
    int command;
    const char *text, *caption;
  } failures[] = {{cmd::VEditorJump, "エディタ呼出し失敗", "エディタ"},
                  {cmd::VProgram1, "外部プログラム呼出し失敗", "外部プログラム"},
                  {cmd::VEditor, "エディタ呼び出し失敗", "エディタ"}};
  for (const Failure& f : failures) {
    model->Command(f.command);
    EXPECT_EQ(Shown(), f.text);
    EXPECT_EQ(test::Utf8(host.shown.back().caption), f.caption);
    EXPECT_TRUE(model->toolFailed());
  }
}

TEST(Keywords, MatchOnlyWhereACharacterStarts) {
  struct Case {
    const char* text;
    const char* key;
    bool found;
  } cases[] = {
      {"ソ", "\\", false}, {"表", "\\", false},   {"十", "\\", false},   {"ソ\\", "\\", true},
      {"ウェアB", "AB", false}, {"アAB", "AB", true}, {"abc", "ABC", false}, {"ａｂ", "ｂ", true},
  };
  for (const Case& c : cases) EXPECT_EQ(ContainsKeyword(Sj(c.text), Sj(c.key)), c.found) << c.text << " " << c.key;
  EXPECT_EQ(TrimKeyword("  a b  "), "a b");
  EXPECT_EQ(TrimKeyword(Sj("　a　 ")), Sj("　a　"));
  EXPECT_EQ(TrimKeyword("   "), "");
}

}  // namespace
}  // namespace rkv
