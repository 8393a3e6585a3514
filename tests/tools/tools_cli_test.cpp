// rkvtool sort, split and kifu, run as a user would run them.
#include <gtest/gtest.h>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;

class ToolsCli : public ::testing::Test {
 protected:
  ToolsCli() {
    test::WriteFile(ini_, "[DIR]\r\nTtlDir=" + dir_.path() + "\r\n");
    test::WriteFile(cnf_, test::CrLfLines({"- ROOM  MES( 5):将棋", "002/002   ABC12345  山田              二",
                                           "       97/05/12 10:30  00000  ", "先手：甲", "後手：乙", "   1 投了",
                                           "001/002   DEF67890  鈴木              一",
                                           "       97/05/12 11:00  00000  ", "本文"}) +
                              "\r\n");
  }
  test::RunResult Run(const std::string& args) {
    return test::RunCommand(std::string(RKVTOOL_PATH) + " --ini " + ini_ + " " + args);
  }

  test::TempDir dir_;
  std::string ini_ = dir_ / "rkv.ini";
  std::string cnf_ = dir_ / "ROOM.CNF";
};

TEST_F(ToolsCli, SortSplitAndKifu) {
  auto sort = Run("sort " + cnf_);
  EXPECT_EQ(sort.exitCode, 0);
  EXPECT_EQ(sort.out,
            "BOX 会議室ファイル並べ替え: 発言を発言番号順に並べ替えます\\n番号が重複した場合、先に見つけた発言のみ出力します"
            "\\n\\n  実行してもよろしいですか？\n"
            "WROTE ROOM.000\n"
            "BOX 会議室ファイル並べ替え: 正常に終了しました\n");
  auto split = Run("split " + cnf_ + " 1");
  EXPECT_EQ(split.exitCode, 0);
  EXPECT_NE(split.out.find("WROTE ROOM.001\nWROTE ROOM.002\nBOX 会議室ファイル二分割: 正常に終了しました\n"),
            std::string::npos)
      << split.out;
  EXPECT_EQ(Run("sort " + cnf_ + " --kind log").out,
            "BOX 会議室ファイル並べ替え: この機能は会議室ファイルに対してのみ有効です\n");

  // "先手：甲\r\n後手：乙\r\n   1 投了\r\n" in CP932.
  EXPECT_EQ(Run("kifu " + cnf_ + " 0").out,
            "PRESENT yes\nCLIP 90e68ee881468d620d0a8ce38ee8814689b30d0a2020203120938a97b90d0a\nMENU yes\n");
  EXPECT_EQ(Run("kifu " + cnf_ + " 1").out, "PRESENT no\nCLIP none\nMENU no\n");
  EXPECT_EQ(Run("kifu " + cnf_ + " 2").exitCode, 1);
}

TEST_F(ToolsCli, MessageToolsRunAsTheViewerRunsThem) {
  std::string out = dir_ / "out.txt";
  auto search = Run("search " + cnf_ + " --key1 鈴木 --key2 ' ' --out " + out);
  EXPECT_EQ(search.out, "BOX ■キーワード検索: 1 個の発言を出力しました\n");
  EXPECT_EQ(test::ReadFile(out).substr(0, 7), "001/002");
  EXPECT_EQ(Run("search " + cnf_ + " --key1 ' ' --out " + out).exitCode, 1);

  // Rows of the comment tree; the output is appended.
  auto output = Run("output " + cnf_ + " --mode tree --select 0,1 --out " + out);
  EXPECT_EQ(output.out, "BOX 出力ファイル名: ファイル出力を終了しました(^_^)\n");
  std::string all = test::ReadFile(out);
  EXPECT_EQ(all.find("002/002"), all.rfind("002/002"));  // once, after the searched message
  EXPECT_NE(all.find("001/002", 7), std::string::npos);

  // "本文" and the empty line after it close the clipboard text of the second message.
  auto clip = Run("clip " + cnf_ + " 1");
  EXPECT_EQ(clip.out.substr(clip.out.size() - 17), "967b95b60d0a0d0a\n");

  auto pad = Run("pad " + cnf_ + " 1 --slot 3 --out " + dir_ / "PAD" + " --now 1997-03-05T09:07");
  EXPECT_EQ(pad.out, "EDITOR NotePad " + dir_ / "PAD" + "\n");
  EXPECT_EQ(test::Utf8(test::ReadFile(dir_ / "PAD")), "*TO:DEF67890\r\n*SUB:一\r\n 鈴木 さん\r\n\r\n/POST\r\n");
}

}  // namespace
}  // namespace rkv
