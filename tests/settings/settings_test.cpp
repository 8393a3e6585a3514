#include "settings/settings.h"

#include <gtest/gtest.h>

#include "platform/profile.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;
using test::TempDir;
using test::WriteFile;

RKVcfg LoadFrom(const std::string& path, const std::string& programDir = "/prog") {
  RKVcfg cfg;
  cfg.Load(ProfileFile(path), programDir);
  return cfg;
}

TEST(Settings, EmptyFileGivesTheDefaults) {
  TempDir dir;
  RKVcfg c = LoadFrom(dir / "none.ini");
  for (const std::string* d : {&c.CurLogDir, &c.CurCnfDir, &c.CurMailDir, &c.LogDir, &c.CnfDir, &c.MailDir,
                               &c.TtlDir, &c.HpDir, &c.PatioDir, &c.EtcDir, &c.PadDir}) {
    EXPECT_EQ(*d, "/prog");
  }
  EXPECT_EQ(c.BaseDir, "");
  EXPECT_EQ(c.LogMask, "*.LOG");
  EXPECT_EQ(c.CnfMask, "*.CNF");
  EXPECT_EQ(c.MailMask, "*.*");
  EXPECT_EQ(c.FilerMask, "*.*");
  EXPECT_EQ(c.CnfFilerMask, "*.*");  // the missing-key value is itself long enough to be taken
  EXPECT_EQ(c.Editor, "NotePad");
  EXPECT_EQ(c.BackColor, 0xFFFFFF);
  EXPECT_EQ(c.FilerBackColor, 0xFFFFFF);
  for (const WinPlace* p : {&c.WindowSize, &c.FilerSize, &c.CnfFilerSize, &c.MailFilerSize, &c.ViewerSize,
                            &c.IDWindowSize}) {
    EXPECT_EQ(*p, (WinPlace{0, 0, 0, 0, 300, 300}));
  }
  EXPECT_EQ(c.CnfExt, "CNF");
  EXPECT_EQ(c.PadName, "PAD");
  EXPECT_EQ(c.PadQuot, " ");
  EXPECT_EQ(c.PadSay, DefaultPadSay());
  EXPECT_EQ(c.PadRes, DefaultPadRes());
  EXPECT_EQ(c.PadMail, DefaultPadMail());
  EXPECT_EQ(c.LinePitch, 2);
  EXPECT_EQ(c.Prompt, 1);
  EXPECT_EQ(c.ExtOn, 1);
  EXPECT_EQ(c.FontInfo1, (FontInfo{"", -19}));
  EXPECT_EQ(c.FilerDspMode, (DspMode{16, {1, 1, 1, 1, 0}}));
  EXPECT_EQ(c.PadRes, Sj("*MES %M%C*RE %N%CSUB:Re)%T%C  %H さん%C%C%C/POST%C"));
}

TEST(Settings, ListsAndShortValues) {
  TempDir dir;
  std::string path = dir / "RKV.INI";
  WriteFile(path,
            "[DIR]\r\nLogDir=/d/log;/e/old\r\nCnfExt=C\r\nMailDir=/m\r\n"
            "[EXTPRG]\r\nPadQuot=>\r\nPadSay=x\r\nPrg1=a\r\n");
  RKVcfg c = LoadFrom(path);
  EXPECT_EQ(c.CurLogDir, "/d/log");
  EXPECT_EQ(c.CurCnfDir, "/d/log");  // from the current log directory
  EXPECT_EQ(c.CnfDir, "/d/log");
  EXPECT_EQ(c.CurMailDir, "/m");
  EXPECT_EQ(c.CnfExt, "CNF");        // one byte is not taken
  EXPECT_EQ(c.PadQuot, ">");         // any non-empty quote mark is
  EXPECT_EQ(c.PadSay, DefaultPadSay());
  EXPECT_EQ(c.Prg[0], "");
}

TEST(Settings, PlacementRulesOnLoadAndSave) {
  TempDir dir;
  std::string path = dir / "RKV.INI";
  WriteFile(path, "[DISPLAY]\r\nWindowSize=10,-5,20,400,1\r\nViewerSize=1,2,3\r\nFilerSize=5,5,50,60,2\r\n");
  RKVcfg c = LoadFrom(path);
  EXPECT_EQ(c.WindowSize, (WinPlace{0, 1, 10, 0, 300, 400}));
  EXPECT_EQ(c.ViewerSize, (WinPlace{0, 0, 0, 0, 300, 300}));  // under 7 bytes: as if missing
  c.FilerSize.width = 20;  // fails the check: the file keeps its value
  ProfileFile withOld(path);
  c.Save(withOld);
  EXPECT_EQ(withOld.GetString("DISPLAY", "WindowSize", "", 80), "10,0,300,400,1");
  EXPECT_EQ(withOld.GetString("DISPLAY", "FilerSize", "", 80), "5,5,50,60,2");
  EXPECT_EQ(withOld.GetString("DISPLAY", "ViewerSize", "", 80), "0,0,300,300,0");
}

TEST(Settings, BytesKeepTheLowBitsAndColoursReadAsDecimal) {
  TempDir dir;
  std::string path = dir / "RKV.INI";
  WriteFile(path,
            "[ACTION]\r\nFilerSort=258\r\nNoBar=-1\r\n[DISPLAY]\r\nBackColor=+255\r\nFilerBackColor=junk\r\n"
            "FontInfo1=IPAGothic,-16\r\nFontInfo2=ab,\r\n[MODE]\r\nFilerDspMode=8,0,1\r\n");
  RKVcfg c = LoadFrom(path);
  EXPECT_EQ(c.FilerSort, 2);
  EXPECT_EQ(c.NoBar, -1);
  EXPECT_EQ(c.BackColor, 255);
  EXPECT_EQ(c.FilerBackColor, 0xFFFFFF);  // malformed reads as 0, which means white
  EXPECT_EQ(c.FontInfo1, (FontInfo{"IPAGothic", -16}));
  EXPECT_EQ(c.FontInfo2, (FontInfo{"", -19}));  // under 4 bytes: unchanged
  EXPECT_EQ(c.FilerDspMode, (DspMode{8, {0, 1, 0, 0, 0}}));
}

TEST(Settings, EveryKeyRoundTrips) {
  TempDir dir;
  RKVcfg a;
  a.LogDir = "/l1;/l2";
  a.CnfDir = "/c";
  a.MailDir = "/m";
  a.TtlDir = "/t";
  a.HpDir = "/h";
  a.PatioDir = "/p";
  a.EtcDir = "/e";
  a.PadDir = "/pd";
  a.PadName = "DRAFT";
  a.LogExt = "LOG";
  a.CnfExt = "CN";
  a.LogMask = "*.L";
  a.CnfMask = "*.C";
  a.MailMask = "MAIL*";
  a.RecName = "R.REC";
  for (int i = 0; i < 5; ++i) a.CnfName[i] = "/c/ROOM" + std::to_string(i) + ".CNF";
  a.BaseDir = "/base";
  a.SaveWindowSize = 1;
  a.WindowSize = {0, 1, 11, 12, 640, 480};
  a.LinePitch = 4;
  a.BackColor = 0x102030;
  a.FilerBackColor = 0x405060;
  a.FontInfo1 = {"Noto Sans Mono CJK JP", -17};
  a.FontInfo2 = {"Mono", 12};
  a.Rename = 1;
  a.DivideReport = 1;
  a.Prompt = 0;
  a.NameRule = 1;
  a.MailName = 1;
  a.HpNameRule = 1;
  a.ScrollBar = 3;
  a.NoBar = 1;
  a.FilerSort = 1;
  a.CnfFilerSort = 2;
  a.FilerMask = "*.TXT";
  a.CnfFilerMask = "*.CNF";
  a.FilerDspMode = {12, {0, 1, 0, 1, 1}};
  a.CnfFilerDspMode = {20, {1, 0, 1, 0, 0}};
  a.Editor = "vi -R";
  for (int i = 0; i < 8; ++i) a.Prg[i] = "prog" + std::to_string(i) + " %F";
  a.PadSay = "say %C";
  a.PadRes = Sj("レス %H さん");
  a.PadMail = "mail %I";
  a.PadQuot = "> ";
  a.PadSign = Sj("署名 %A");
  a.UseLButton = 1;
  a.SaveChildWinSize = 1;
  a.FilerAutoStart = 1;
  a.MailFilerAutoStart = 1;
  a.CnfFilerAutoStart = 1;
  a.ExtOn = 0;
  a.FilerSize = {0, 0, 1, 2, 300, 301};
  a.MailFilerSize = {0, 2, 3, 4, 302, 303};
  a.CnfFilerSize = {0, 0, 5, 6, 304, 305};
  a.ViewerSize = {0, 1, 7, 8, 306, 307};
  a.IDWindowSize = {0, 0, 9, 10, 140, 240};

  std::string path = dir / "RKV.INI";
  ProfileFile f(path);
  a.Save(f);
  ASSERT_TRUE(f.Commit(nullptr));
  RKVcfg b = LoadFrom(path, "/prog");
  auto la = a.Listing();
  auto lb = b.Listing();
  ASSERT_EQ(la.size(), lb.size());
  for (size_t i = 0; i + 4 < la.size(); ++i) EXPECT_EQ(la[i], lb[i]) << la[i].first;
  EXPECT_EQ(b.CurLogDir, "/l1");
  // Saving what was loaded gives the same file byte for byte.
  ProfileFile again(dir / "AGAIN.INI");
  b.Save(again);
  EXPECT_EQ(again.Text(), f.Text());
}

// Whatever a settings file holds, loading it, saving and loading again gives
// the same settings.
TEST(Settings, LoadSaveLoadChangesNothing) {
  const std::string longDir = "/home/" + std::string(240, 'd');
  struct Row {
    const char* why;
    std::string ini;
  } rows[] = {
      {"folders default to a long data folder", ""},
      {"a long log folder fills the others", "[DIR]\r\nLogDir=" + longDir + "\r\n"},
      {"a font without a face", "[DISPLAY]\r\nFontInfo1=,0,x\r\nFontInfo2=ab,12\r\n"},
      {"placements too short or with a state past a byte",
       "[DISPLAY]\r\nFilerSize=0,0\r\nViewerSize=1,2,300,300,255\r\n"},
      {"a NUL inside a value", std::string("[DIR]\r\nMailDir=/m\0x\r\n", 21)},
  };
  for (const Row& r : rows) {
    TempDir dir;
    WriteFile(dir / "RKV.INI", r.ini);
    RKVcfg first = LoadFrom(dir / "RKV.INI", longDir);
    ProfileFile saved(dir / "SAVED.INI");
    first.Save(saved);
    ASSERT_TRUE(saved.Commit(nullptr));
    RKVcfg second = LoadFrom(dir / "SAVED.INI", "/elsewhere");
    auto a = first.Listing(), b = second.Listing();
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
      if (a[i].first == "ProgramDir") continue;
      EXPECT_EQ(a[i], b[i]) << r.why;
    }
  }
}

TEST(Settings, SaveWritesSectionsAndKeysInLoadOrder) {
  RKVcfg c;
  ProfileFile f("/nonexistent/unused.ini");
  c.Save(f);
  std::string text = f.Text();
  size_t pos = 0;
  for (const SettingRow& row : SettingsTable()) {
    if (row.type == SettingType::Place) continue;  // a zero placement fails its check
    size_t at = text.find("\r\n" + row.key + "=", pos);
    ASSERT_NE(at, std::string::npos) << row.key;
    pos = at;
  }
  EXPECT_EQ(text.find("\r\nWindowSize="), std::string::npos);
  EXPECT_EQ(text.rfind("[DISPLAY]", 0), 0u);
}

}  // namespace
}  // namespace rkv
