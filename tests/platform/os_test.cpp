#include "platform/os.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

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

TEST(FileIdentity, TwoNamesOfOneFileAndTruncation) {
  TempDir dir;
  test::WriteFile(dir / "a", "abcdef");
  ASSERT_EQ(::link((dir / "a").c_str(), (dir / "b").c_str()), 0);
  test::WriteFile(dir / "c", "abcdef");
  os::FileStat a = os::Stat(dir / "a"), b = os::Stat(dir / "b"), c = os::Stat(dir / "c");
  EXPECT_TRUE(a.device == b.device && a.inode == b.inode);
  EXPECT_FALSE(a.device == c.device && a.inode == c.inode);
  EXPECT_TRUE(os::Truncate(dir / "c", 2));
  EXPECT_EQ(test::ReadFile(dir / "c"), "ab");
  EXPECT_EQ(os::CurrentDir().front(), '/');
}

TEST(Open, OnlyRegularFilesAndNeverBlocking) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir / "zero");
  std::filesystem::create_directory(dir / "folder");
  test::WriteFile(dir / "plain", "x");
  struct Row {
    const char* name;
    int err;
  } rows[] = {{"fifo", EINVAL}, {"zero", EINVAL}, {"folder", EISDIR}};
  for (const Row& r : rows) {
    for (int flags : {O_RDONLY, O_RDWR}) {
      errno = 0;
      EXPECT_EQ(os::Open(dir / r.name, flags), -1) << r.name << flags;
      EXPECT_EQ(errno, r.err) << r.name << flags;
    }
    EXPECT_FALSE(ReadWholeFile(dir / r.name)) << r.name;
  }
  int fd = os::Open(dir / "plain", O_RDONLY);
  ASSERT_GE(fd, 0);
  EXPECT_FALSE(::fcntl(fd, F_GETFL) & O_NONBLOCK);  // an ordinary descriptor once open
  os::Close(fd);
}

TEST(CallFaults, AtomicWritesLeaveTheOldFileWhicheverCallFails) {
  for (os::Call call : {os::Call::Open, os::Call::Sync, os::Call::Rename}) {
    TempDir dir;
    std::string path = dir / "A.TTL";
    test::WriteFile(path, "old");
    os::SetCallFaultHook([call](os::Call c, std::string_view) { return c == call ? EIO : 0; });
    std::string error;
    bool ok = WriteFileAtomically(path, "new", &error);
    os::SetCallFaultHook(nullptr);
    EXPECT_FALSE(ok) << static_cast<int>(call);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(test::ReadFile(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left
  }
  os::SetCallFaultHook([](os::Call c, std::string_view) { return c == os::Call::Stat ? EACCES : 0; });
  TempDir dir;
  test::WriteFile(dir / "B", "x");
  EXPECT_FALSE(os::Stat(dir / "B").exists);
  os::SetCallFaultHook(nullptr);
  EXPECT_TRUE(os::Stat(dir / "B").exists);
}

TEST(FreeSpace, KnownForExistingFolders) {
  TempDir dir;
  EXPECT_GT(os::FreeSpace(dir.path()), 0);
  EXPECT_EQ(os::FreeSpace(dir / "none"), -1);
}

}  // namespace
}  // namespace rkv
