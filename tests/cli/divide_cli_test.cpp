// rkvtool divide run as a user would run it, on fixture logs, against the
// folder trees and output expected after each run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "support/test_env.h"

namespace rkv {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::RunCommand;
using test::TempDir;
using test::WriteFile;

std::string Tool() { return std::string(RKVTOOL_PATH); }
std::string Fixture(const std::string& name) { return std::string(RKV_TEST_DATA) + "/divide/" + name; }

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Every regular file under root, by its path relative to root.
std::map<std::string, std::string> Tree(const std::string& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) files[fs::relative(e.path(), root).string()] = ReadFile(e.path().string());
  }
  return files;
}

std::string FirstLine(const std::string& path) {
  std::ifstream f(path);
  std::string line;
  std::getline(f, line);
  return line;
}

class DivideFixtures : public ::testing::TestWithParam<std::string> {};

TEST_P(DivideFixtures, WriteTheExpectedFilesRecordAndReport) {
  std::string fixture = Fixture(GetParam());
  TempDir settings, work;
  std::string root = work.path();
  for (const char* sub : {"log", "cnf", "mail", "hp", "patio", "base"}) fs::create_directories(root + "/" + sub);
  fs::copy(fixture + "/before", root, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  std::string ini = settings / "RKV.INI";
  WriteFile(ini, Replace(ReadFile(fixture + "/RKV.INI"), "@ROOT@", root));
  std::string log;
  for (const auto& e : fs::directory_iterator(root + "/log")) log = e.path().string();

  auto r = RunCommand(Tool() + " --ini " + ini + " --date 2026-05-09 divide " + log + " " +
                      FirstLine(fixture + "/args"));
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, Replace(ReadFile(fixture + "/stdout.txt"), "@ROOT@", root));
  auto expected = Tree(fixture + "/after");
  auto actual = Tree(root);
  for (const auto& [name, bytes] : expected) {
    auto it = actual.find(name);
    if (it == actual.end()) {
      ADD_FAILURE() << name << " was not written";
    } else {
      EXPECT_EQ(it->second, bytes) << name << " differs";
    }
  }
  for (const auto& [name, bytes] : actual) EXPECT_TRUE(expected.count(name)) << name << " was not expected";
}

INSTANTIATE_TEST_SUITE_P(Cases, DivideFixtures, ::testing::Values("session", "continue", "rooms"));

class DivideCommand : public ::testing::Test {
 protected:
  DivideCommand() {
    for (const char* sub : {"log", "cnf", "mail"}) fs::create_directories(dir / sub);
    WriteFile(ini, "[DIR]\r\nLogDir=" + dir / "log" + "\r\nCnfDir=" + dir / "cnf" + "\r\nMailDir=" + dir / "mail" + "\r\n");
  }
  TempDir dir;
  std::string ini = dir / "RKV.INI";
};

TEST_F(DivideCommand, ExitCodesAndMessages) {
  WriteFile(dir / "log/A.LOG", test::CrLfLines({"- ROOM  MES( 5):部屋", "001/001   ABC12345  x"}));
  std::string run = Tool() + " --ini " + ini + " divide ";
  EXPECT_EQ(RunCommand(run + " 2>/dev/null").exitCode, 2);
  EXPECT_EQ(RunCommand(run + dir / "log/A.LOG --on-gap maybe 2>/dev/null").exitCode, 2);
  EXPECT_EQ(RunCommand(run + dir / "log/A.LOG extra 2>/dev/null").exitCode, 2);
  auto missing = RunCommand(run + dir / "log/MISSING.LOG 2>&1");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.out.find("cannot open"), std::string::npos) << missing.out;
  // Raw output is CP932.
  auto raw = RunCommand(Tool() + " --raw --ini " + ini + " divide " + dir / "log/A.LOG");
  EXPECT_EQ(raw.exitCode, 0);
  EXPECT_NE(raw.out.find("REPORT: " + test::Sj("  ROOM_05.CNF を出力しました") + "\n"), std::string::npos);
  // Progress goes to stderr; the record is no log.
  auto progress = RunCommand(run + dir / "log/A.LOG --progress 2>&1 >/dev/null");
  EXPECT_EQ(progress.exitCode, 0);
  EXPECT_NE(progress.out.find("分割中 0 / "), std::string::npos) << progress.out;
  EXPECT_NE(progress.out.find(" バイト (100%)\n"), std::string::npos) << progress.out;
  auto record = RunCommand(run + dir / "cnf/RKV.REC");
  EXPECT_EQ(record.exitCode, 1);
  EXPECT_NE(record.out.find("は分割記録ファイルです。ログとして分割できません！"), std::string::npos) << record.out;
  // A destination folder that is not there: nothing is divided.
  fs::remove_all(dir / "mail");
  WriteFile(dir / "log/B.LOG", "Subject: x\r\n");
  auto bad = RunCommand(run + dir / "log/B.LOG");
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.out, "BOX 分割処理エラー: 分割先ディレクトリが不正です\n");
  EXPECT_TRUE(test::Exists(dir / "log/B.LOG"));
}

TEST_F(DivideCommand, TheGapAnswerAbortsByDefault) {
  WriteFile(dir / "cnf/RKV.REC", "ROOM_05.CNF:001/001   ABC12345  x" + std::string(45, ' ') + "\r\n");
  WriteFile(dir / "log/A.LOG", test::CrLfLines({"- ROOM  MES( 5):部屋", "003/003   ABC12345  x", "y"}));
  auto r = RunCommand(Tool() + " --ini " + ini + " divide " + dir / "log/A.LOG");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.rfind("BOX 発言番号が不連続性です！:       ROOM_05.CNF を分割中\\n\\r", 0), 0u) << r.out;
  EXPECT_FALSE(test::Exists(dir / "cnf/ROOM_05.CNF"));
  auto ignored = RunCommand(Tool() + " --ini " + ini + " divide " + dir / "log/A.LOG --on-gap ignore");
  EXPECT_EQ(ignored.exitCode, 0);
  EXPECT_TRUE(test::Exists(dir / "cnf/ROOM_05.CNF"));
}

}  // namespace
}  // namespace rkv
