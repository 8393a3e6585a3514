// rkvtool ish and lha end to end, with the built libraries beside rkvtool.
#include <gtest/gtest.h>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::ReadFile;
using test::RunCommand;
using test::TempDir;

const std::string kTool = RKVTOOL_PATH;
const std::string kShared = RKV_SHARED_DATA;

TEST(ArchiveCli, IshRestoresFromALogAndLhaPacksListsAndUnpacks) {
  TempDir dir;
  auto r = RunCommand(kTool + " ish " + kShared + "/ish/LOGMSG.TXT " + dir.path());
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out, "BOX ISH ファイル復元: ISH ファイルを復元しました\n");
  EXPECT_EQ(ReadFile(dir / "RAND1K.BIN"), ReadFile(kShared + "/ish/RAND1K.BIN"));
  r = RunCommand(kTool + " ish " + kShared + "/ish/HELLO58.TXT " + dir.path());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "BOX ISH ファイル復元: ISH データが含まれていません\n");

  r = RunCommand(kTool + " lha a " + dir / "T.LZH " + dir / "RAND1K.BIN " + kShared + "/ish/HELLO58.TXT");
  EXPECT_EQ(r.exitCode, 0) << r.out;
  r = RunCommand(kTool + " lha list " + dir / "T.LZH");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.substr(0, 22), " RAND1K.BIN      1019 ");
  EXPECT_NE(r.out.find("\n HELLO58.TXT       58 "), std::string::npos) << r.out;
  r = RunCommand(kTool + " lha x " + dir / "T.LZH " + dir / "OUT");
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(ReadFile(dir / "OUT/HELLO58.TXT"), ReadFile(kShared + "/ish/HELLO58.TXT"));
  EXPECT_EQ(RunCommand(kTool + " lha list " + kShared + "/ish/ONE.BIN").exitCode, 1);
}

}  // namespace
}  // namespace rkv
