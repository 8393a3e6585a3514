#include "filer/transfer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "core/paths.h"
#include "filer_fixture.h"
#include "platform/os.h"

namespace rkv {
namespace {

using test::LocalTime;
using test::Sj;

class TransferTest : public test::FilerTest {
 protected:
  std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    auto listed = os::ListDir(folder);
    if (!listed) return {"<unreadable>"};
    for (auto& e : *listed) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(TransferTest, CopiesBytesAndKeepsTheModificationTime) {
  std::string big(20000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  std::string src = Make("A.LOG", big, LocalTime(1997, 5, 1, 9, 30));
  std::string out = MakeDir("OUT");
  EXPECT_EQ(Transfer(host, src, out), kTransferDone);
  EXPECT_EQ(Content(PathJoin(out, "A.LOG")), big);
  EXPECT_EQ(os::Stat(PathJoin(out, "A.LOG")).mtime, LocalTime(1997, 5, 1, 9, 30));
  EXPECT_EQ(Entries(out), std::vector<std::string>{"A.LOG"});  // no temporary left
  EXPECT_GE(host.waits, 1);
}

TEST_F(TransferTest, TheSameDirectoryIsRefusedHoweverItIsWritten) {
  std::string src = Make("A.LOG", "data");
  MakeDir("SUB");
  EXPECT_EQ(Transfer(host, src, dir.path()), kTransferFailed);
  EXPECT_EQ(Transfer(host, src, At("SUB/..")), kTransferFailed);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"ファイル転送: 同一のディレクトリです", "ファイル転送: 同一のディレクトリです"}));
  EXPECT_EQ(Content(src), "data");
}

TEST_F(TransferTest, OverwriteQuestionNamesBothFilesAndNoKeepsTheTarget) {
  std::string src = Make("A.LOG", "new data", LocalTime(2001, 2, 3, 4, 5));
  MakeDir("OUT");
  std::string old = Make("OUT/A.LOG", "old", LocalTime(1999, 12, 31, 23, 59));
  host.answers = {Answer::No};
  EXPECT_EQ(Transfer(host, src, At("OUT")), kTransferDeclined);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].buttons, Buttons::YesNo);
  EXPECT_EQ(host.shown[0].caption, Sj("ファイル転送"));
  EXPECT_EQ(host.shown[0].text, Sj("同名ファイルがあります。上書きしますか？\n\r"
                                   "   転送元: A.LOG       8 01-02-03 04:05\n\r"
                                   "   転送先: A.LOG       3 99-12-31 23:59\n\r"));
  EXPECT_EQ(Content(old), "old");
}

TEST_F(TransferTest, YesOverwritesAReadOnlyTarget) {
  std::string src = Make("A.LOG", "new data");
  MakeDir("OUT");
  std::string old = Make("OUT/A.LOG", "old");
  ::chmod(os::Native(old).c_str(), 0444);
  ASSERT_TRUE(os::Stat(old).readOnly);
  host.answers = {Answer::Yes};
  EXPECT_EQ(Transfer(host, src, At("OUT")), kTransferDone);
  EXPECT_EQ(Content(old), "new data");
  EXPECT_FALSE(os::Stat(old).readOnly);
}

TEST_F(TransferTest, AFailedWriteKeepsTheSourceAndTheOldTarget) {
  std::string src = Make("A.LOG", std::string(30000, 'n'));
  MakeDir("OUT");
  std::string old = Make("OUT/A.LOG", "old contents");
  int writes = 0;
  os::SetWriteFaultHook([&](size_t) { return ++writes == 2 ? ENOSPC : 0; });
  host.answers = {Answer::Yes};
  EXPECT_EQ(Transfer(host, src, At("OUT")), kTransferFailed);
  EXPECT_EQ(Content(old), "old contents");
  EXPECT_EQ(Content(src), std::string(30000, 'n'));
  EXPECT_EQ(Entries(At("OUT")), std::vector<std::string>{"A.LOG"});

  // A new target is not left half-written either.
  writes = 0;
  EXPECT_EQ(Transfer(host, src, MakeDir("NEW")), kTransferFailed);
  EXPECT_TRUE(Entries(At("NEW")).empty());
}

TEST_F(TransferTest, MoveRemovesTheSourceOnlyAfterACompleteCopy) {
  std::string src = Make("A.LOG", "move me");
  ::chmod(os::Native(src).c_str(), 0444);
  std::string out = MakeDir("OUT");
  EXPECT_EQ(MoveFile(host, src, out), kTransferDone);
  EXPECT_FALSE(test::Exists(os::Native(src)));
  EXPECT_EQ(Content(PathJoin(out, "A.LOG")), "move me");

  std::string kept = Make("B.LOG", "stay");
  os::SetWriteFaultHook([](size_t) { return EIO; });
  EXPECT_EQ(MoveFile(host, kept, out), kTransferFailed);
  EXPECT_EQ(Content(kept), "stay");
  EXPECT_FALSE(test::Exists(os::Native(PathJoin(out, "B.LOG"))));
}

TEST_F(TransferTest, MoveWorksAcrossFileSystems) {
  os::FileStat here = os::Stat(dir.path());
  std::string other;
  for (const char* candidate : {"/dev/shm", "/run", "/tmp", "/var/tmp"}) {
    os::FileStat st = os::Stat(candidate);
    if (st.directory && st.device != here.device && ::access(candidate, W_OK) == 0) {
      other = candidate;
      break;
    }
  }
  if (other.empty()) GTEST_SKIP() << "no second file system to move to";
  std::string target = PathJoin(other, "rkv-filer-test-" + std::to_string(::getpid()));
  os::MakeDir(target);
  std::string src = Make("X.LOG", "across", LocalTime(1996, 6, 6));
  EXPECT_EQ(MoveFile(host, src, target), kTransferDone);
  EXPECT_FALSE(test::Exists(os::Native(src)));
  EXPECT_EQ(Content(PathJoin(target, "X.LOG")), "across");
  EXPECT_EQ(os::Stat(PathJoin(target, "X.LOG")).mtime, LocalTime(1996, 6, 6));
  test::RemoveTree(target);
}

TEST(TransferTimeStamp, TwoDigitYearAsInTheListing) {
  EXPECT_EQ(TransferTimeStamp(LocalTime(2000, 1, 2, 3, 4)), "00-01-02 03:04");
  EXPECT_EQ(TransferTimeStamp(LocalTime(1985, 11, 12, 13, 14)), "85-11-12 13:14");
}

}  // namespace
}  // namespace rkv
