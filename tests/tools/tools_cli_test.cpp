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

}  // namespace
}  // namespace rkv
