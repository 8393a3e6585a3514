#include "platform/os.h"

#include <gtest/gtest.h>

#include "core/files.h"
#include "platform/launch.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;
using test::TempDir;

TEST(NativeNames, JapaneseNamesAreUtf8OnDisk) {
  TempDir dir;
  std::string core = dir / Sj("会議室.CNF");
  auto s = Stream::Open(core, "wb");
  ASSERT_TRUE(s);
  s->Close();
  EXPECT_TRUE(test::Exists(dir / "会議室.CNF"));
  auto entries = os::ListDir(dir.path());
  ASSERT_TRUE(entries);
  ASSERT_EQ(entries->size(), 1u);
  EXPECT_EQ((*entries)[0].name, Sj("会議室.CNF"));
}

TEST(NativeNames, NamesOutsideTheCodePageStayUsable) {
  TempDir dir;
  // An emoji has no CP932 form: the name passes through unchanged both ways.
  std::string native = dir / "\xF0\x9F\x98\x80.LOG";
  test::WriteFile(native, "x");
  auto entries = os::ListDir(dir.path());
  ASSERT_EQ(entries->size(), 1u);
  std::string core = os::FromNative(native);
  EXPECT_TRUE(FileExists(core));
  EXPECT_EQ(os::Native(core), native);
}

TEST(Rename, NoReplaceNeverOverwrites) {
  TempDir dir;
  test::WriteFile(dir / "a", "A");
  test::WriteFile(dir / "b", "B");
  EXPECT_FALSE(os::RenameNoReplace(dir / "a", dir / "b"));
  EXPECT_EQ(test::ReadFile(dir / "b"), "B");
  EXPECT_TRUE(os::RenameNoReplace(dir / "a", dir / "c"));
  EXPECT_EQ(test::ReadFile(dir / "c"), "A");
  EXPECT_FALSE(test::Exists(dir / "a"));
}

TEST(Launch, CommandLinesSplitOnBlanksWithQuotes) {
  EXPECT_EQ(os::SplitCommandLine("ed \"/a b/c.txt\" +3"),
            (std::vector<std::string>{"ed", "/a b/c.txt", "+3"}));
  EXPECT_EQ(os::SplitCommandLine("  x  "), (std::vector<std::string>{"x"}));
  EXPECT_EQ(os::SplitCommandLine("a \"\""), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(os::SplitCommandLine("").empty());
}

TEST(Launch, StartedOrNot) {
  EXPECT_GE(os::LaunchDetached("true"), 32);
  EXPECT_LT(os::LaunchDetached("/nonexistent/program-xyz"), 32);
  EXPECT_LT(os::LaunchDetached(""), 32);
}

TEST(FreeSpace, KnownForExistingFolders) {
  TempDir dir;
  EXPECT_GT(os::FreeSpace(dir.path()), 0);
  EXPECT_EQ(os::FreeSpace(dir / "none"), -1);
}

}  // namespace
}  // namespace rkv
