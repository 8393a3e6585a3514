// rkvtool settings, run as a user would run it.
#include <gtest/gtest.h>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::RunCommand;
using test::TempDir;

std::string Tool() { return std::string(RKVTOOL_PATH); }

TEST(RkvtoolSettings, PrintsEveryFieldThenTheDerivedDirectories) {
  TempDir dir;
  auto r = RunCommand(Tool() + " --ini " + dir / "none.ini" + " settings");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out.rfind("WindowSize=0,0,300,300,0\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\nPadRes=*MES %M%C*RE %N%CSUB:Re)%T%C  %H さん%C%C%C/POST%C\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nEditor=NotePad\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nFilerDspMode=16,1,1,1,1,0\n"), std::string::npos);
  std::string data = test::BaseDir() + "/data/rkv";
  EXPECT_NE(r.out.find("\nProgramDir=" + data + "\nCurLogDir=" + data + "\nCurCnfDir=" + data +
                       "\nCurMailDir=" + data + "\n"),
            std::string::npos)
      << r.out;
}

TEST(RkvtoolSettings, SaveWritesTheFileAsTheProgramDoesAtExit) {
  TempDir dir;
  test::WriteFile(dir / "in.ini", "[DIR]\r\nLogDir=/x;/y\r\n[DISPLAY]\r\nWindowSize=10,-5,20,400,1\r\n");
  auto r = RunCommand(Tool() + " --ini " + dir / "in.ini" + " settings --save " + dir / "out.ini");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  std::string out = test::ReadFile(dir / "out.ini");
  EXPECT_EQ(out.rfind("[DISPLAY]\r\nWindowSize=10,0,300,400,1\r\n", 0), 0u) << out;
  EXPECT_NE(out.find("\r\n[DIR]\r\nLogDir=/x;/y\r\n"), std::string::npos);
  EXPECT_NE(out.find(test::Sj("%H さん")), std::string::npos);  // stored as CP932
}

TEST(RkvtoolSettings, RawOutputIsCp932AndBadUsageIsTwo) {
  TempDir dir;
  auto r = RunCommand(Tool() + " --raw --ini " + dir / "none.ini" + " settings");
  EXPECT_NE(r.out.find(test::Sj("%H さん")), std::string::npos);
  EXPECT_EQ(RunCommand(Tool() + " nosuchcommand 2>/dev/null").exitCode, 2);
  EXPECT_EQ(RunCommand(Tool() + " --date 2026-13-01 settings 2>/dev/null").exitCode, 2);
  test::WriteFile(dir / "file", "x");  // a folder cannot be made under a file
  EXPECT_EQ(RunCommand(Tool() + " settings --save " + dir / "file/y.ini 2>/dev/null").exitCode, 1);
}

}  // namespace
}  // namespace rkv
