#include "platform/profile.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(ProfileFile, ReadsWithoutCaseTrimmedAndCut) {
  TempDir dir;
  std::string path = dir / "RKV.INI";
  WriteFile(path, "[Dir]\r\n  logdir =  /log;/old  \r\nCnfExt=\"C X \"\r\n[ACTION]\r\nRename=1\r\nBad=12x\r\n");
  ProfileFile f(path);
  EXPECT_EQ(f.GetString("DIR", "LogDir", "def", 255), "/log;/old");
  EXPECT_EQ(f.GetString("dir", "LOGDIR", "def", 5), "/log");
  EXPECT_EQ(f.GetString("DIR", "CnfExt", "", 8), "C X ");  // quotes keep blanks
  EXPECT_EQ(f.GetString("DIR", "Missing", " ", 8), " ");
  EXPECT_EQ(f.GetString("NOSECTION", "LogDir", "d", 8), "d");
  EXPECT_EQ(f.GetInt("ACTION", "Rename", 7), 1);
  EXPECT_EQ(f.GetInt("ACTION", "Bad", 7), 12);
  EXPECT_EQ(f.GetInt("ACTION", "None", 7), 7);
  EXPECT_EQ(f.GetInt("DIR", "Rename", 7), 7);  // keys belong to their section
}

TEST(ProfileFile, WritesInPlaceAppendsAndKeepsEverythingElse) {
  TempDir dir;
  std::string path = dir / "RKV.INI";
  WriteFile(path, "; my notes\r\n[DIR]\r\nLogDir=/a\r\nOther=keep\r\n\r\n[MODE]\r\nExtOn=1\r\n");
  ProfileFile f(path);
  f.WriteString("dir", "LOGDIR", "/b");
  f.WriteString("DIR", "CnfDir", "/c");
  f.WriteString("EXTPRG", "Editor", "vi");
  f.WriteString("MODE", "PadQuot", " ");
  ASSERT_TRUE(f.Commit(nullptr));
  EXPECT_EQ(ReadFile(path),
            "; my notes\r\n[DIR]\r\nLOGDIR=/b\r\nOther=keep\r\nCnfDir=/c\r\n\r\n[MODE]\r\nExtOn=1\r\n"
            "PadQuot=\" \"\r\n\r\n[EXTPRG]\r\nEditor=vi\r\n");
  ProfileFile again(path);
  EXPECT_EQ(again.GetString("MODE", "PadQuot", "", 7), " ");
}

TEST(ProfileFile, GarbageNeverBreaksReading) {
  TempDir dir;
  std::string path = dir / "RKV.INI";
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 131) & 0xFF));
  junk += "\n[DIR]\nLogDir=" + std::string(100000, 'x') + std::string("\nCnfDir=/c\0zz\n", 14);
  WriteFile(path, junk);
  ProfileFile f(path);
  EXPECT_EQ(f.GetString("DIR", "LogDir", "", 255).size(), 254u);
  EXPECT_EQ(f.GetString("DIR", "CnfDir", "", 255), "/c");
  ProfileFile missing(dir / "none.ini");
  EXPECT_EQ(missing.GetString("A", "B", "dflt", 80), "dflt");
}

TEST(ProfileFile, SectionListsKeysInOrder) {
  TempDir dir;
  std::string path = dir / "WIN.INI";
  WriteFile(path, "[Extensions]\ntxt=gedit ^.txt\nlzh=lha x\n[Other]\na=b\n");
  ProfileFile f(path);
  auto s = f.Section("EXTENSIONS");
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].first, "txt");
  EXPECT_EQ(s[0].second, "gedit ^.txt");
  EXPECT_EQ(s[1].first, "lzh");
}

TEST(ProfileFile, CommitCreatesTheFolder) {
  TempDir dir;
  std::string path = dir / "deep/er/RKV.INI";
  ProfileFile f(path);
  f.WriteString("A", "k", "v");
  std::string error;
  ASSERT_TRUE(f.Commit(&error)) << error;
  EXPECT_EQ(ReadFile(path), "[A]\r\nk=v\r\n");
}

}  // namespace
}  // namespace rkv
