#include "divide/output_names.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "divide/line_recogniser.h"
#include "divide/output_files.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;
using test::TempDir;
using test::WriteFile;

const Date kDay{2026, 5, 9};

TEST(ConferenceNames, RoomAndNumberFromThePrompt) {
  EXPECT_EQ(RoomName("- FCOOK  MES( 5):title\n"), "FCOOK");
  EXPECT_EQ(ConferenceNumber("- FCOOK  MES( 5):title\n"), " 5");
  EXPECT_EQ(ConferenceNumber("- FCOOK  MES(12):\n"), "12");
}

TEST(ConferenceNames, FlatRule) {
  EXPECT_EQ(FlatConferenceName("ABCDE", " 5", "CNF"), "ABCDE_05.CNF");
  EXPECT_EQ(FlatConferenceName("ABCDEF", " 5", "CNF"), "ABCDEF05.CNF");
  // Rest CDEFG holds four bytes that are not capital vowels: the first three are taken.
  EXPECT_EQ(FlatConferenceName("ABCDEFG", "12", "CNF"), "ABCDFG12.CNF");
  // Rest OUTXY holds only three: its first three bytes stand.
  EXPECT_EQ(FlatConferenceName("ABOUTXY", " 5", "CNF"), "ABOUTY05.CNF");
  EXPECT_EQ(FlatConferenceName("FAIUEOZZ", " 1", "CNF"), "FAIUEZ01.CNF");
  EXPECT_EQ(FlatConferenceName("ROOM", " 3", "CNFX"), "ROOM_03");
  EXPECT_EQ(FlatConferenceName("ROOM", " 3", ""), "ROOM_03");
  EXPECT_EQ(FlatConferenceName("ROOM", " 3", "C"), "ROOM_03.C");
}

TEST(ConferenceNames, FolderPerRoomRule) {
  EXPECT_EQ(RoomFolderName("ABCDEFGHIJ"), "ABCDEFGH");
  EXPECT_EQ(RoomFileName("ROOM", " 1"), "ROOM_1");
  EXPECT_EQ(RoomFileName("ROOM", " 9"), "ROOM_9");
  EXPECT_EQ(RoomFileName("ROOM", "10"), "ROOM_A");
  EXPECT_EQ(RoomFileName("ROOM", "11"), "ROOM~1");
  EXPECT_EQ(RoomFileName("ROOM", "20"), "ROOM~A");
  EXPECT_EQ(RoomFileName("ROOMABCXY", " 2"), "ROOMXY_2");
  EXPECT_EQ(RoomFileName("ROOMAB", " 2"), "ROOMAB_2");
}

TEST(DatedNames, EveryKind) {
  EXPECT_EQ(MailFileName(kDay, 1), "MAIL2605.090");
  EXPECT_EQ(MailFileName(kDay, 0), "MAIL2605");
  EXPECT_EQ(MailFileName(Date{1999, 12, 31}, 1), "MAIL9912.310");
  EXPECT_EQ(SentMailFileName(kDay), "MSND2605");
  EXPECT_EQ(HpFileName(kDay, 0), "HP260509");
  EXPECT_EQ(HpFileName(kDay, 1), "HP2605");
  EXPECT_EQ(MailListFileName(kDay), "MLST2605");
  EXPECT_EQ(EtcFileName(kDay), "ETC2605.090");
}

TEST(PatioNames, CutToEightOrSeven) {
  EXPECT_EQ(PatioFileName("- MES( 3):ROOMNAME12\n", kDay), "ROOMNAME");
  EXPECT_EQ(PatioFileName("- MES( 3):\n", kDay), "PT260509");
  EXPECT_EQ(PatioFileName("- MES( 3):", kDay), "PT260509");
  // Byte 7 would open a two-byte character: seven bytes are kept.
  EXPECT_EQ(PatioFileName("- MES( 3):ABCDEFG" + Sj("庭") + "\n", kDay), "ABCDEFG");
  EXPECT_EQ(PatioFileName("- MES( 3):" + Sj("中庭の会") + "\n", kDay), Sj("中庭の会"));
}

TEST(PatioNames, UnsafeBytesBecomeUnderscores) {
  EXPECT_EQ(PatioFileName("- MES( 3):a/b\\c:d\n", kDay), "a_b_c_d");
  EXPECT_EQ(PatioFileName("- MES( 3):*?\"<>|\x01\x7F\n", kDay), "________");
  EXPECT_EQ(PatioFileName("- MES( 3):../x\n", kDay), ".._x");
  // 0x5C and 0x7C as second bytes of two-byte characters stay.
  EXPECT_EQ(PatioFileName("- MES( 3):" + Sj("ソ表") + "\n", kDay), Sj("ソ表"));
  // A lead byte without its second byte is no character.
  EXPECT_EQ(PatioFileName(std::string("- MES( 3):AB\x82/\n"), kDay), "AB__");
  EXPECT_EQ(PatioFileName(std::string("- MES( 3):AB\x82\n"), kDay), "AB_");
}

TEST(PatioNames, DotsBlanksAndDevicesTakeTheDatedName) {
  for (std::string text : {"..", ".", " . ", "   ", "CON", "con.txt", "NUL", "aux", "PRN.x", "COM1", "LPT9",
                           "com5.log", "CON "}) {
    EXPECT_EQ(PatioFileName("- MES( 3):" + text + "\n", kDay), "PT260509") << text;
  }
  EXPECT_EQ(PatioFileName("- MES( 3):COM0\n", kDay), "COM0");
  EXPECT_EQ(PatioFileName("- MES( 3):CONSOLE\n", kDay), "CONSOLE");
  EXPECT_EQ(PatioFileName("- MES( 3):...a\n", kDay), "...a");
}

TEST(OutputKinds, FromLineKinds) {
  EXPECT_EQ(OutputKindOf(LineKind::ConferencePrompt), OutputKind::Conference);
  EXPECT_EQ(OutputKindOf(LineKind::MailHeader), OutputKind::Mail);
  EXPECT_EQ(OutputKindOf(LineKind::ComposedAddressee), OutputKind::SentMail);
  EXPECT_EQ(OutputKindOf(LineKind::HpLine), OutputKind::Hp);
  EXPECT_EQ(OutputKindOf(LineKind::PatioPrompt), OutputKind::Patio);
  EXPECT_EQ(OutputKindOf(LineKind::SentMailListHeading), OutputKind::MailList);
  EXPECT_EQ(OutputKindOf(LineKind::ReceivedMailListHeading), OutputKind::MailList);
  for (int k : {LineKind::WeeklyNotice, LineKind::UsageNotice, LineKind::ListLine}) {
    EXPECT_EQ(OutputKindOf(k), OutputKind::Etc);
  }
  for (int k : {0, 11, 16, 99, -3}) EXPECT_EQ(OutputKindOf(k), OutputKind::None);
}

TEST(Folders, EachKindAndTheRecord) {
  RKVcfg cfg;
  cfg.CurCnfDir = "/c";
  cfg.CurMailDir = "/m";
  cfg.CurLogDir = "/l";
  cfg.HpDir = "/h";
  cfg.PatioDir = "/p";
  cfg.BaseDir = "/b";
  EXPECT_EQ(OutputFolder(cfg, OutputKind::Conference), "/c");
  EXPECT_EQ(OutputFolder(cfg, OutputKind::SentMail), "/m");
  EXPECT_EQ(OutputFolder(cfg, OutputKind::MailList), "/m");
  EXPECT_EQ(OutputFolder(cfg, OutputKind::Hp), "/h");
  EXPECT_EQ(OutputFolder(cfg, OutputKind::Patio), "/p");
  EXPECT_EQ(OutputFolder(cfg, OutputKind::Etc), "/l");
  EXPECT_EQ(RecordPath(cfg), "/c/RKV.REC");
  cfg.NameRule = 1;
  cfg.RecName = "MY.REC";
  EXPECT_EQ(OutputFolder(cfg, OutputKind::Conference), "/b");
  EXPECT_EQ(RecordPath(cfg), "/b/MY.REC");
}

TEST(Series, StepsThroughDigitsThenCapitals) {
  EXPECT_EQ(NextSeriesByte('0'), '1');
  EXPECT_EQ(NextSeriesByte('9'), 'A');
  EXPECT_EQ(NextSeriesByte('Y'), 'Z');
  EXPECT_EQ(NextSeriesByte('Z'), 'Z');
  TempDir dir;
  EXPECT_EQ(FreeSeriesName(dir / "A.LOG", true), dir / "A.LO0");
  for (char c : std::string("0123456789")) WriteFile(dir / "A.LO" + std::string(1, c), "x");
  EXPECT_EQ(FreeSeriesName(dir / "A.LOG", true), dir / "A.LOA");
  WriteFile(dir / "M.090", "x");
  EXPECT_EQ(FreeSeriesName(dir / "M.090", false), dir / "M.091");
  for (char c = 'A'; c <= 'Z'; ++c) WriteFile(dir / "A.LO" + std::string(1, c), "x");
  EXPECT_EQ(FreeSeriesName(dir / "A.LOG", true), dir / "A.LOZ");  // all taken: Z is left
}

TEST(OutputFiles, ProtectingTheLogAndTheRecord) {
  TempDir dir;
  WriteFile(dir / "ETC2605.090", "log");
  WriteFile(dir / "RKV.REC", "");
  FileId log = *FileIdOf(dir.path() + "/./ETC2605.090");  // the same file however spelt
  FileId rec = *FileIdOf(dir / "RKV.REC");
  EXPECT_EQ(ProtectPath(dir / "ETC2605.090", {log, rec}), dir / "ETC2605.091");
  EXPECT_EQ(ProtectPath(dir / "RKV.REC", {log, rec}), dir / "RKV.RE0");
  EXPECT_EQ(ProtectPath(dir / "OTHER", {log}), dir / "OTHER");
  // Names differing in case are different files here.
  WriteFile(dir / "etc2605.090", "");
  EXPECT_EQ(ProtectPath(dir / "etc2605.090", {log}), dir / "etc2605.090");
  // A link is the same file under another name; so is the changed name here.
  std::filesystem::create_hard_link(dir / "ETC2605.090", dir / "ETC2605.091");
  EXPECT_FALSE(ProtectPath(dir / "ETC2605.090", {log}));
}

TEST(OutputFiles, AppendingNeverEmptiesAFile) {
  TempDir dir;
  WriteFile(dir / "A.CNF", "old\r\n");
  auto s = OpenForAppend(dir / "A.CNF");
  ASSERT_TRUE(s);
  EXPECT_TRUE(s->Write("new\r\n") && s->Close());
  EXPECT_EQ(test::ReadFile(dir / "A.CNF"), "old\r\nnew\r\n");
  EXPECT_FALSE(OpenForAppend(dir.path()));
  EXPECT_FALSE(OpenForAppend(dir / "missing/A.CNF"));
  RemoveIfEmpty(dir / "A.CNF");
  EXPECT_TRUE(test::Exists(dir / "A.CNF"));
  WriteFile(dir / "E", "");
  RemoveIfEmpty(dir / "E");
  EXPECT_FALSE(test::Exists(dir / "E"));
}

}  // namespace
}  // namespace rkv
