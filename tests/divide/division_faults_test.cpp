// Division under failing writes and hostile logs: the user is told, nothing
// already divided is lost, and nothing is written outside the chosen folders.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>

#include "divide/division_fixture.h"
#include "divide/division_record.h"
#include "core/files.h"
#include "platform/os.h"

namespace rkv {
namespace {

namespace fs = std::filesystem;
using test::CrLfLines;
using test::Header;
using test::kRoom5;
using test::Sj;
using test::WriteFile;

class FailedWrites : public test::DivisionTest {
 protected:
  void TearDown() override { os::SetWriteFaultHook(nullptr); }

  // A conference block of about 200 KB, then a mail that must not be divided.
  std::string BigLog() {
    std::string log = CrLfLines({kRoom5, Header(1, 1)});
    for (int i = 0; i < 4000; ++i) log += Sj("本文の行です。ここには五十バイトほどの文が入ります。") + "\r\n";
    return log + CrLfLines({"CCS(01>", "Subject: after", "MAIL>"});
  }
  void ExpectStoppedAndTold(const std::string& failedPath) {
    ASSERT_GE(host.shown.size(), 1u);
    EXPECT_EQ(test::Utf8(host.shown[0].caption), "分割処理エラー");
    EXPECT_EQ(test::Utf8(host.shown[0].text), test::Utf8(failedPath) + " への書き込みに失敗しました（" +
                                                  std::strerror(ENOSPC) + "）。分割を中止します！");
    EXPECT_FALSE(run->renamedTo());
    EXPECT_TRUE(Has("log/0509.LOG"));
    EXPECT_FALSE(Has("mail/MAIL2605"));  // the run stopped there
  }
};

TEST_F(FailedWrites, InsideAConferenceBlockTheRunStopsAndNothingIsKept) {
  size_t written = 0;
  os::SetWriteFaultHook([&](size_t n) {
    if (written > 0) return ENOSPC;  // the first 64 KB reach the disk, the rest does not
    written += n;
    return 0;
  });
  EXPECT_EQ(Run(BigLog()), -1);
  ExpectStoppedAndTold(dir / "cnf/ROOM_05.CNF");
  EXPECT_GT(written, 0u);
  EXPECT_FALSE(Has("cnf/ROOM_05.CNF"));  // what reached the disk is taken back
  EXPECT_FALSE(Has("cnf/RKV.REC"));      // and the record the run made for it
  auto report = Report();
  // Full buffers are written behind the reading: later blocks may be read
  // before the failure shows.
  EXPECT_NE(std::find(report.begin(), report.end(), "  ROOM_05.CNF への書き込みに失敗しました！"), report.end());
  EXPECT_EQ(report.back(), "会議室ファイル 0 個、電子メール 0 通分を分割しました");
  EXPECT_EQ(test::Utf8(host.shown[1].caption), "ログ・ファイル分割処理");
  EXPECT_EQ(test::Utf8(host.shown[1].text), "ログ分割を中止し、分割前の状態に戻しました！");
}

TEST_F(FailedWrites, AtTheEndOfASmallBlockAndInOtherKinds) {
  os::SetWriteFaultHook([](size_t) { return ENOSPC; });
  EXPECT_EQ(Run(CrLfLines({kRoom5, Header(1, 1), "x", "CCS(01>", "Subject: after", "MAIL>"})), -1);
  ExpectStoppedAndTold(dir / "cnf/ROOM_05.CNF");
  EXPECT_FALSE(Has("cnf/ROOM_05.CNF"));  // created, left empty, removed
  // A mail, a patio, an ETC file: the same.
  for (std::string log : {CrLfLines({"Subject: a", "MAIL>", "Subject: after", "MAIL>"}),
                          CrLfLines({"- MES( 1):PAT", Header(1, 1), "CCS(01>", "Subject: after", "MAIL>"}),
                          CrLfLines({"今週のお知らせ    NEW", "CCS(01>", "Subject: after", "MAIL>"})}) {
    host.shown.clear();
    EXPECT_EQ(Run(log), -1);
    ExpectStoppedAndTold(dir / (log.starts_with("Subject") ? "mail/MAIL2605"
                                : log.starts_with("-")     ? "patio/PAT"
                                                           : "log/ETC2605.090"));
  }
}

TEST_F(FailedWrites, OfTheRecordStopTheRunToo) {
  WriteFile(dir / "cnf/RKV.REC", "");
  // Entries are the only 80-byte writes here.
  os::SetWriteFaultHook([](size_t n) { return n == 80 ? ENOSPC : 0; });
  EXPECT_EQ(Run(CrLfLines({kRoom5, Header(1, 1), "CCS(01>", "Subject: after", "MAIL>"})), -1);
  ExpectStoppedAndTold(dir / "cnf/RKV.REC");
  EXPECT_FALSE(Has("cnf/ROOM_05.CNF"));  // a split file without its record entry would be divided twice
  EXPECT_EQ(File("cnf/RKV.REC"), "");
}

// Whichever write fails (a flush of buffered text, the record at the end),
// every file is left as it was before the run, and the run can be done again.
TEST_F(FailedWrites, AtAnyWriteEveryFileIsLeftAsItWas) {
  std::string rec = RecordEntry("ROOM_05.CNF", Sj(Header(4, 4))) + "\r\n";
  std::string log = CrLfLines({kRoom5, Header(5, 5), "x", "CCS(01>", "- AB  MES( 2):", Header(1, 1), "CCS(01>",
                               "Subject: s", "X-Status: r", "今週のお知らせ    NEW", "CCS(01>"});
  auto before = [&] {
    WriteFile(dir / "cnf/RKV.REC", rec);
    WriteFile(dir / "cnf/ROOM_05.CNF", "existing\r\n");
    WriteFile(dir / "mail/MAIL2605", "old mail\r\n");
    fs::remove(dir / "cnf/AB_02.CNF");
    fs::remove(dir / "log/ETC2605.090");
  };
  int writes = 0;
  before();
  os::SetWriteFaultHook([&](size_t) { return ++writes, 0; });
  ASSERT_EQ(Run(log), 0);
  std::string done = File("cnf/ROOM_05.CNF") + File("cnf/AB_02.CNF") + File("mail/MAIL2605") + File("cnf/RKV.REC");
  ASSERT_GE(writes, 5);  // four split files, then the record
  for (int failing = 1; failing <= writes; ++failing) {
    SCOPED_TRACE("write " + std::to_string(failing));
    before();
    int n = 0;
    os::SetWriteFaultHook([&](size_t) { return ++n == failing ? ENOSPC : 0; });
    host.shown.clear();
    EXPECT_EQ(Run(log), -1);
    EXPECT_EQ(File("cnf/RKV.REC"), rec);
    EXPECT_EQ(File("cnf/ROOM_05.CNF"), "existing\r\n");
    EXPECT_EQ(File("mail/MAIL2605"), "old mail\r\n");
    EXPECT_FALSE(Has("cnf/AB_02.CNF"));
    EXPECT_FALSE(Has("log/ETC2605.090"));
    EXPECT_TRUE(Has("log/0509.LOG"));
    ASSERT_FALSE(host.shown.empty());
    EXPECT_EQ(test::Utf8(host.shown[0].caption), "分割処理エラー");
  }
  os::SetWriteFaultHook(nullptr);
  before();
  EXPECT_EQ(RunExisting(), 0);
  EXPECT_EQ(File("cnf/ROOM_05.CNF") + File("cnf/AB_02.CNF") + File("mail/MAIL2605") + File("cnf/RKV.REC"), done);
}

// A file that cannot be opened stops the run as a failed write does.
TEST_F(FailedWrites, AnOutputThatCannotBeOpenedFailsTheRun) {
  fs::create_directories(dir / "mail/MAIL2605");  // a folder where the mail file would go
  EXPECT_EQ(Run(CrLfLines({kRoom5, Header(1, 1), "CCS(01>", "Subject: s", "MAIL>"})), -1);
  EXPECT_FALSE(Has("cnf/ROOM_05.CNF"));
  EXPECT_EQ(Report()[2], "  " + test::Utf8(dir / "mail/MAIL2605") + " を開けませんでした！");
  ASSERT_EQ(host.shown.size(), 2u);
  EXPECT_EQ(test::Utf8(host.shown[0].caption), "分割処理エラー");
  EXPECT_FALSE(run->renamedTo());
}

// The file-size limit of the system, in a child process of its own.
TEST_F(FailedWrites, AtTheFileSizeLimit) {
  std::string log = BigLog();
  logPath = dir / "log/0509.LOG";
  WriteFile(logPath, log);
  // The split file, then (with a small log) the record's new entry, run into
  // the limit halfway: neither is left with a torn piece.
  std::string rec;
  for (int i = 0; i < 1249; ++i) rec += RecordEntry("R" + std::to_string(i), "x") + "\r\n";
  for (auto [limit, bytes] : {std::pair<rlim_t, std::string>{100000, log},
                              {rec.size() + 40, CrLfLines({kRoom5, Header(1, 1), "CCS(01>"})}}) {
    SCOPED_TRACE(limit);
    WriteFile(logPath, bytes);
    WriteFile(dir / "cnf/RKV.REC", bytes == log ? "" : rec);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      signal(SIGXFSZ, SIG_IGN);
      struct rlimit rl {limit, limit};
      setrlimit(RLIMIT_FSIZE, &rl);
      test::ScriptedHost h;
      DivLog divide(cfg, h, logPath);
      int rc = divide.Divide();
      bool told = !h.shown.empty() && h.shown[0].caption == Sj("分割処理エラー") &&
                  h.shown[0].text.find(Sj("への書き込みに失敗しました")) != std::string::npos;
      _exit(rc == -1 && told && !divide.renamedTo() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(Has("cnf/ROOM_05.CNF"));
    EXPECT_EQ(File("log/0509.LOG"), bytes);
    EXPECT_EQ(File("cnf/RKV.REC"), bytes == log ? "" : rec);
    EXPECT_FALSE(Has("mail/MAIL2605"));
  }
  // Divided again without the limit, the log gives each message once.
  WriteFile(logPath, log);
  EXPECT_EQ(RunExisting(), 0);
  EXPECT_EQ(File("cnf/ROOM_05.CNF"), log.substr(0, log.find("CCS(01>")));
}

TEST_F(FailedWrites, AReadErrorLeavesTheLogItsName) {
  std::string log = CrLfLines({kRoom5, Header(1, 1), "x", "CCS(01>"});
  for (int i = 0; i < 20; ++i) log += CrLfLines({"Subject: later", "MAIL>"});
  WriteFile(dir / "cnf/RKV.REC", "");
  SetStreamBufferSizeForTests(64);
  int reads = 0;
  // The record is read once, then the log 64 bytes at a time until a read fails.
  os::SetReadFaultHook([&](size_t) { return ++reads > 4 ? EIO : 0; });
  DivStatus rc = Run(log);
  os::SetReadFaultHook(nullptr);
  SetStreamBufferSizeForTests(64 * 1024);
  EXPECT_EQ(rc, -1);
  // The rest of the log is still to divide: what was divided of it is undone.
  EXPECT_FALSE(Has("cnf/ROOM_05.CNF"));
  EXPECT_EQ(host.Transcript(), "分割処理エラー: " + test::Utf8(logPath) +
                                   " の読み込みに失敗しました（Input/output error）。分割を中止します！\n"
                                   "ログ・ファイル分割処理: ログ分割を中止し、分割前の状態に戻しました！\n");
  EXPECT_FALSE(run->renamedTo());
  EXPECT_TRUE(Has("log/0509.LOG"));
}

// Hostile logs: whatever the bytes, the run ends, writes only inside the
// configured folders and never shortens a split file that was there before.
class HostileLogs : public test::DivisionTest {
 protected:
  void SetUp() override {
    for (auto& [name, bytes] : before) WriteFile(dir / name, bytes);
    WriteFile(dir / "cnf/RKV.REC", "garbage\x82\r\nROOM_05.CNF:x\r\nmore");
  }

  void RunAndCheck(const std::string& bytes, const std::string& what) {
    SCOPED_TRACE(what);
    // Gap questions get every answer in turn.
    host.answers.clear();
    for (int i = 0; i < 300; ++i) host.answers.push_back(i % 3 == 0 ? Answer::Ignore : i % 3 == 1 ? Answer::Retry : Answer::Abort);
    DivStatus rc = Run(bytes);
    EXPECT_TRUE(rc == 0 || rc == -1);
    std::set<std::string> top;
    for (const auto& e : fs::directory_iterator(dir.path())) top.insert(e.path().filename().string());
    EXPECT_EQ(top, (std::set<std::string>{"log", "cnf", "mail", "hp", "patio", "base"}));
    for (const char* sub : {"log", "cnf", "mail", "hp", "patio", "base"}) {
      for (const auto& e : fs::directory_iterator(dir / sub)) {
        EXPECT_TRUE(e.is_regular_file()) << e.path();
      }
    }
    for (auto& [name, bytes] : before) EXPECT_EQ(File(name).substr(0, bytes.size()), bytes) << name;
    // Put the log back under its name for the next case.
    if (run->renamedTo()) fs::remove(*run->renamedTo());
  }

  std::vector<std::pair<std::string, std::string>> before = {
      {"cnf/ROOM_05.CNF", "existing room\r\n"}, {"mail/MAIL2605", "existing mail\r\n"},
      {"log/ETC2605.090", "existing etc\r\n"},  {"hp/HP260509", "existing hp\r\n"},
      {"patio/PAT", "existing patio\r\n"}};
};

// Lines that open blocks, to be mixed with noise.
std::vector<std::string> BlockLines() {
  return {Sj(kRoom5),       Sj(Header(3, 7)), "- MES( 1):PAT",       "- MES( 1):..",   "- MES( 1):a/../b",
          "- MES( 1):\x82", "Subject: x",     "TO:ABC12345",         "MAIL>",          "CCS(01>",
          Sj("今週のお知らせ    NEW"), "001  [26/05/01 10:00]  ABC12345      page title",
          "- ROOM  MES(  ):", "- A  MES( 0):"};
}

TEST_F(HostileLogs, RandomBytesAndBrokenLines) {
  std::mt19937 random(20260509);
  auto lines = BlockLines();
  for (int round = 0; round < 40; ++round) {
    std::string log;
    for (int i = 0; i < 300; ++i) {
      switch (random() % 6) {
        case 0:
          log += lines[random() % lines.size()];
          break;
        case 1:
          for (int n = random() % 80; n > 0; --n) log.push_back(static_cast<char>(random()));
          break;
        case 2:
          log += std::string("\0\x1A\x82", 3).substr(random() % 3, 1);
          break;
        default:
          log += Sj(Header(random() % 999, random() % 999));
      }
      // Line ends of every kind, and lone lead bytes before them.
      const char* ends[] = {"\r\n", "\r\n", "\n", "\r", "\x82\r\n", ""};
      log += ends[random() % 6];
    }
    RunAndCheck(log, "round " + std::to_string(round));
  }
}

TEST_F(HostileLogs, HugeLinesLineEndsAndEmptyLogs) {
  std::string huge(100 * 1024, 'x');
  std::string block = Sj(kRoom5) + "\r\n" + Sj(Header(1, 1)) + "\r\n" + huge + "\r\n" + huge;
  RunAndCheck(block, "100 KB lines");
  EXPECT_EQ(File("cnf/ROOM_05.CNF"), "existing room\r\n" + block);
  std::string crOnly = Sj(kRoom5) + "\r" + Sj(Header(1, 1)) + "\r" + "text\r";
  RunAndCheck(crOnly, "CR-only line ends");
  RunAndCheck(Sj(kRoom5) + "\r\n" + Sj(Header(1, 1)), "no final line feed");
  RunAndCheck("", "empty log");
  RunAndCheck(std::string(5000, '\0'), "NUL bytes");
  RunAndCheck(std::string(5000, '\x1A'), "end-of-file bytes");
  std::string loneLeads;
  for (int i = 0; i < 200; ++i) loneLeads += "- MES( 1):AB\x82\r\n" + Sj(Header(1, 1)) + "\x82\r\n";
  RunAndCheck(loneLeads, "lone lead bytes");
}

TEST_F(HostileLogs, TheRecordIsNoLog) {
  logPath = dir / "cnf/RKV.REC";
  std::string rec = File("cnf/RKV.REC");
  EXPECT_EQ(RunExisting(), -1);
  EXPECT_EQ(File("cnf/RKV.REC"), rec);
  EXPECT_EQ(host.Transcript(), "分割処理エラー: " + test::Utf8(logPath) + " は分割記録ファイルです。ログとして分割できません！\n");
}

TEST_F(HostileLogs, AGarbledRecordStillGetsAFindableEntry) {
  RunAndCheck(CrLfLines({kRoom5, Header(9, 9), "x"}), "record with garbage");
  // ROOM_05.CNF:x was damaged: it is rewritten whole, the garbage around it stays.
  std::string rec = File("cnf/RKV.REC");
  EXPECT_EQ(rec, "garbage\x82\r\n" + RecordEntry("ROOM_05.CNF", Sj(Header(9, 9))) + "\r\nmore");
}

}  // namespace
}  // namespace rkv
