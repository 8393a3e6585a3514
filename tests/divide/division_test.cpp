// The division engine run on small logs: the files written byte for byte, the
// record, the report and every message shown.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/files.h"
#include "divide/division_fixture.h"
#include "divide/division_record.h"
#include "divide/output_names.h"

namespace rkv {
namespace {

using test::CrLfLines;
using test::Header;
using test::kRoom5;
using test::Sj;
using test::WriteFile;
using Lines = std::vector<std::string>;

constexpr const char* kFinished = "ログ・ファイル分割処理: ログ分割終了\n";

std::string Rec(std::string_view name, const std::string& utf8Header) {
  return RecordEntry(name, Sj(utf8Header)) + "\r\n";
}

class Division : public test::DivisionTest {};

TEST_F(Division, ALogWithNothingToDivide) {
  EXPECT_EQ(Run(CrLfLines({"ようこそ", "CCS(01>", "no block here"})), 0);
  EXPECT_EQ(host.Transcript(), "ログ・ファイル分割処理: 分割対象が含まれていませんでした\n");
  EXPECT_EQ(Report(), (Lines{"ログ 0509.LOG を分割します", "会議室ファイル 0 個、電子メール 0 通分を分割しました"}));
  // The run ended normally, so the log is renamed all the same.
  ASSERT_TRUE(run->renamedTo());
  EXPECT_EQ(*run->renamedTo(), dir / "log/0509.LO0");
  EXPECT_TRUE(Has("log/0509.LO0"));
  EXPECT_EQ(File("cnf/RKV.REC"), "");
}

TEST_F(Division, RenamingStepsOnAndKeepsTheCase) {
  WriteFile(dir / "log/0509.lo0", "older");
  for (char c = '1'; c <= '9'; ++c) WriteFile(dir / ("log/0509.lo" + std::string(1, c)), "older");
  Run("", "0509.log");
  ASSERT_TRUE(run->renamedTo());
  EXPECT_EQ(*run->renamedTo(), dir / "log/0509.loA");
  EXPECT_EQ(File("log/0509.lo0"), "older");
  cfg.Rename = 0;
  Run("", "0510.LOG");
  EXPECT_FALSE(run->renamedTo());
  EXPECT_TRUE(Has("log/0510.LOG"));
}

TEST_F(Division, ALogOrRecordThatWillNotOpenEndsTheRunSilently) {
  logPath = dir / "log/missing.LOG";
  EXPECT_EQ(RunExisting(), -1);
  EXPECT_TRUE(run->report().lines.empty());
  EXPECT_TRUE(host.shown.empty());
  EXPECT_FALSE(Has("cnf/RKV.REC"));
  std::filesystem::create_directories(dir / "cnf/RKV.REC");  // the record is a folder
  EXPECT_EQ(Run(CrLfLines({kRoom5, Header(1, 1)})), -1);
  EXPECT_TRUE(host.shown.empty());
  EXPECT_TRUE(Has("log/0509.LOG"));
}

TEST_F(Division, DestinationFolders) {
  EXPECT_TRUE(DivLog(cfg, host, "x").CheckDestinations());
  EXPECT_TRUE(host.shown.empty());
  for (int variant = 0; variant < 3; ++variant) {
    test::ScriptedHost h;
    RKVcfg c = cfg;
    if (variant == 0) c.CurMailDir = dir / "nomail";
    if (variant == 1) c.NameRule = 1, c.BaseDir = dir / "nobase";
    if (variant == 2) c.NameRule = 1, c.BaseDir = "";  // room folders would land anywhere
    EXPECT_FALSE(DivLog(c, h, "x").CheckDestinations()) << variant;
    EXPECT_EQ(h.Transcript(), "分割処理エラー: 分割先ディレクトリが不正です\n");
  }
}

TEST_F(Division, AConferenceBlockUpToAServicePrompt) {
  std::string log = CrLfLines({"ようこそ", kRoom5, Header(1, 2), "       26/05/09 21:34", "本文です。", "",
                               Header(2, 2), "       26/05/09 21:40  00001 へのコメント", "返事",
                               "＞E", "TO:ABC12345"});
  EXPECT_EQ(Run(log), 0);
  EXPECT_EQ(File("cnf/ROOM_05.CNF"),
            CrLfLines({kRoom5, Header(1, 2), "       26/05/09 21:34", "本文です。", "", Header(2, 2),
                       "       26/05/09 21:40  00001 へのコメント", "返事"}));
  EXPECT_EQ(File("cnf/RKV.REC"), Rec("ROOM_05.CNF", Header(2, 2)));
  // The prompt that ended the block is not classified; the next line is.
  EXPECT_EQ(Report(), (Lines{"ログ 0509.LOG を分割します", "  ROOM_05.CNF を出力しました",
                             " 送信メール MSND2605 を出力しました",
                             "会議室ファイル 1 個、電子メール 0 通分を分割しました"}));
  EXPECT_EQ(File("mail/MSND2605"), CrLfLines({"TO:ABC12345"}));
  EXPECT_EQ(run->report().conferenceFiles, 1);
  EXPECT_EQ(host.Transcript(), kFinished);
}

TEST_F(Division, TwoPromptsInARowAndABlockRunningIntoTheNextPrompt) {
  std::string log = CrLfLines({"- OTHER  MES( 1):", kRoom5, Header(3, 3), "a", "- NEXT  MES(12):次", Header(7, 7),
                               "b"});
  EXPECT_EQ(Run(log), 0);
  EXPECT_FALSE(Has("cnf/OTHER_01.CNF"));  // opened, left empty, removed
  EXPECT_EQ(File("cnf/ROOM_05.CNF"), CrLfLines({kRoom5, Header(3, 3), "a"}));
  EXPECT_EQ(File("cnf/NEXT_12.CNF"), CrLfLines({"- NEXT  MES(12):次", Header(7, 7), "b"}));
  EXPECT_EQ(File("cnf/RKV.REC"), Rec("ROOM_05.CNF", Header(3, 3)) + Rec("NEXT_12.CNF", Header(7, 7)));
  EXPECT_EQ(Report(), (Lines{"ログ 0509.LOG を分割します", "  ROOM_05.CNF を出力しました", "  NEXT_12.CNF を出力しました",
                             "会議室ファイル 2 個、電子メール 0 通分を分割しました"}));
}

TEST_F(Division, APromptWithoutAHeaderAfterItWritesNothing) {
  // The line after the prompt is not classified, though it would open a block.
  EXPECT_EQ(Run(CrLfLines({kRoom5, "TO:ABC12345", "x", "CCS(01>"})), 0);
  EXPECT_FALSE(Has("cnf/ROOM_05.CNF"));
  EXPECT_FALSE(Has("mail/MSND2605"));
  EXPECT_EQ(File("cnf/RKV.REC"), "");
}

TEST_F(Division, TheLogEndingRightAfterAPromptStopsTheRun) {
  EXPECT_EQ(Run(CrLfLines({kRoom5})), 0);
  EXPECT_FALSE(Has("cnf/ROOM_05.CNF"));
  EXPECT_FALSE(run->renamedTo());  // stopped, and no conference file was written
  EXPECT_EQ(host.Transcript(), "ログ・ファイル分割処理: 分割対象が含まれていませんでした\n");
  // With a conference file written before, the log is renamed.
  EXPECT_EQ(Run(CrLfLines({kRoom5, Header(1, 1), "- NEXT  MES( 1):"}), "0510.LOG"), 0);
  EXPECT_TRUE(run->renamedTo());
}

TEST_F(Division, TheSameRoomTwiceIsAppendedAndCheckedAgainstTheFirstBlock) {
  WriteFile(dir / "cnf/ROOM_05.CNF", CrLfLines({"older"}));
  std::string log = CrLfLines({kRoom5, Header(4, 5), "x", "CCS(01>", kRoom5, Header(6, 6), "y"});
  EXPECT_EQ(Run(log), 0);
  EXPECT_EQ(File("cnf/ROOM_05.CNF"), CrLfLines({"older", kRoom5, Header(4, 5), "x", kRoom5, Header(6, 6), "y"}));
  EXPECT_EQ(File("cnf/RKV.REC"), Rec("ROOM_05.CNF", Header(6, 6)));
  EXPECT_EQ(run->report().conferenceFiles, 2);
  EXPECT_EQ(host.Transcript(), kFinished);  // 5 + 1 = 6: no question
}

// The exact question of a gap in message numbers.
std::string GapQuestion(const std::string& name, const std::string& line, const std::string& recorded) {
  const std::string sep = "\n\r";
  return "      " + name + Sj(" を分割中") + sep + sep + Sj("今回先頭発言:") + sep + Sj("　") + line + " " + sep +
         Sj("前回最終発言:") + sep + Sj("　") + recorded + " " + sep + sep +
         Sj("　分割処理を続けますか？（再試行=次会議室, 無視=強制分割）");
}

class GapInNumbers : public Division {
 protected:
  void SetUp() override {
    record = Rec("ROOM_05.CNF", Header(5, 7));
    WriteFile(dir / "cnf/RKV.REC", record);
  }
  // The record says 7 messages; this block starts at 9.
  std::string Log() {
    return CrLfLines({kRoom5, Header(9, 9), "TO:ABC12345", "CCS(01>", "- NEXT  MES( 1):", Header(1, 1), "n"});
  }
  std::string record;
};

TEST_F(GapInNumbers, TheQuestionAndAbort) {
  host.answers = {Answer::Abort};
  EXPECT_EQ(Run(Log()), 0);
  ASSERT_EQ(host.shown.size(), 2u);
  EXPECT_EQ(host.shown[0].caption, Sj("発言番号が不連続性です！"));
  EXPECT_EQ(host.shown[0].buttons, Buttons::AbortRetryIgnore);
  std::string recorded = RecordEntry("ROOM_05.CNF", Sj(Header(5, 7))).substr(12) + "\n";
  EXPECT_EQ(host.shown[0].text, GapQuestion("ROOM_05.CNF", Sj(Header(9, 9)) + "\n", recorded));
  EXPECT_EQ(Captions()[1], "ログ・ファイル分割処理");
  EXPECT_FALSE(Has("cnf/ROOM_05.CNF"));
  EXPECT_FALSE(Has("cnf/NEXT_01.CNF"));  // the run stopped
  EXPECT_EQ(File("cnf/RKV.REC"), record);
  EXPECT_FALSE(run->renamedTo());
}

TEST_F(GapInNumbers, RetrySkipsTheRoomAndClassifiesItsLines) {
  host.answers = {Answer::Retry};
  EXPECT_EQ(Run(Log()), 0);
  EXPECT_FALSE(Has("cnf/ROOM_05.CNF"));
  // The skipped block's lines are classified one by one: its TO: line opens a block.
  EXPECT_EQ(File("mail/MSND2605"), CrLfLines({"TO:ABC12345", ""}));
  EXPECT_EQ(File("cnf/NEXT_01.CNF"), CrLfLines({"- NEXT  MES( 1):", Header(1, 1), "n"}));
  // The skipped room keeps its old entry: nothing records it as divided.
  EXPECT_EQ(File("cnf/RKV.REC"), record + Rec("NEXT_01.CNF", Header(1, 1)));
  EXPECT_TRUE(run->renamedTo());
}

TEST_F(GapInNumbers, ASkippedLastBlockIsNotRecordedAsDivided) {
  host.answers = {Answer::Retry};
  EXPECT_EQ(Run(CrLfLines({kRoom5, Header(9, 9), "x"})), 0);
  EXPECT_EQ(File("cnf/RKV.REC"), record);
  EXPECT_FALSE(Has("cnf/ROOM_05.CNF"));
}

TEST_F(GapInNumbers, IgnoreWritesTheBlock) {
  host.answers = {Answer::Ignore};
  EXPECT_EQ(Run(Log()), 0);
  EXPECT_EQ(File("cnf/ROOM_05.CNF"), CrLfLines({kRoom5, Header(9, 9), "TO:ABC12345"}));
  EXPECT_EQ(File("cnf/RKV.REC"), Rec("ROOM_05.CNF", Header(9, 9)) + Rec("NEXT_01.CNF", Header(1, 1)));
}

TEST_F(Division, ContinuityOfEachHeaderShape) {
  // Five-digit numbers: the recorded total is read after the "/" at offset 6.
  WriteFile(dir / "cnf/RKV.REC", Rec("ROOM_05.CNF", "00010/00012 ABC12345  x") + Rec("NO_01.CNF", "No. 041   ABC12345 y") +
                                     Rec("ZERO_01.CNF", "no number here"));
  std::string log = CrLfLines({kRoom5, "00013/00013 ABC12345  z", "CCS(01>",
                               // The "No." shape holds its number at column 4.
                               "- NO  MES( 1):", "No. 042   ABC12345 w", "CCS(01>",
                               // A recorded number of 0 checks nothing.
                               "- ZERO  MES( 1):", Header(50, 50)});
  EXPECT_EQ(Run(log), 0);
  EXPECT_EQ(host.Transcript(), kFinished);
  EXPECT_EQ(File("cnf/RKV.REC"), Rec("ROOM_05.CNF", "00013/00013 ABC12345  z") + Rec("NO_01.CNF", "No. 042   ABC12345 w") +
                                     Rec("ZERO_01.CNF", Header(50, 50)));
  // A gap in the five-digit shape is asked about.
  host.answers = {Answer::Retry};
  Run(CrLfLines({kRoom5, "00015/00015 ABC12345  z"}), "0510.LOG");
  EXPECT_EQ(Captions()[1], "発言番号が不連続性です！");
}

TEST_F(Division, ARecordLineBelongsToAFileOnlyWhenItsNameIsFollowedByAColon) {
  // With no extension the room's file is ROOM_05, a bare prefix of ROOM_05.CNF.
  cfg.CnfExt = "";
  WriteFile(dir / "cnf/RKV.REC", Rec("ROOM_05.CNF", Header(40, 40)));
  EXPECT_EQ(Run(CrLfLines({kRoom5, Header(1, 1)})), 0);
  EXPECT_EQ(host.Transcript(), kFinished);  // no question from the other file's entry
  EXPECT_EQ(File("cnf/RKV.REC"), Rec("ROOM_05.CNF", Header(40, 40)) + Rec("ROOM_05", Header(1, 1)));
}

TEST_F(Division, TheLastHeaderIsKeptWhateverItsLength) {
  std::string longTitle(120, 'L');
  std::string log = CrLfLines({kRoom5, Header(1, 2), "a", Header(2, 2, longTitle), "b", "CCS(01>"});
  EXPECT_EQ(Run(log), 0);
  EXPECT_EQ(File("cnf/RKV.REC"), Rec("ROOM_05.CNF", Header(2, 2, longTitle)));
  EXPECT_EQ(File("cnf/RKV.REC").size(), 80u);
}

TEST_F(Division, ALongPromptWritesNoPromptLine) {
  std::string longPrompt = "- LONG  MES( 2):" + std::string(80, 'p');  // 96 bytes
  std::string log = CrLfLines({kRoom5, Header(1, 1), "a", longPrompt, Header(1, 1), "b"});
  EXPECT_EQ(Run(log), 0);
  // Not the prompt of the block before either.
  EXPECT_EQ(File("cnf/LONG_02.CNF"), CrLfLines({Header(1, 1), "b"}));
  // 88 bytes with the line feed is still kept.
  std::string prompt88 = "- EDGE  MES( 2):" + std::string(71, 'p');
  Run(CrLfLines({prompt88, Header(1, 1)}), "0510.LOG");
  EXPECT_EQ(File("cnf/EDGE_02.CNF"), CrLfLines({prompt88, Header(1, 1)}));
}

TEST_F(Division, FolderPerRoomNames) {
  cfg.NameRule = 1;
  std::string log = CrLfLines({"- FCOOKING  MES(10):", Header(1, 1), "x", "- ROOM  MES( 5):", Header(1, 1)});
  EXPECT_EQ(Run(log), 0);
  EXPECT_EQ(File("base/FCOOKING/FCOONG_A"), CrLfLines({"- FCOOKING  MES(10):", Header(1, 1), "x"}));
  EXPECT_EQ(File("base/ROOM/ROOM_5"), CrLfLines({"- ROOM  MES( 5):", Header(1, 1)}));
  EXPECT_EQ(File("base/RKV.REC"), Rec("FCOONG_A", Header(1, 1)) + Rec("ROOM_5", Header(1, 1)));
  EXPECT_FALSE(Has("cnf/RKV.REC"));
}

TEST_F(Division, MailBlocksOfEveryShape) {
  std::string shapeA = " 1 メールの題名です   ABC12345     けん 26/05/09 21:34";
  std::string shapeB = " 2 #題名十六バイトの  ABC12345  05/09 21";
  std::string log = CrLfLines({shapeA, "本文A", "受信後 (1:削除  2:保存  3:返信  4:返信＋削除  5:転送  6:転送＋削除  E:終了)",
                               shapeB, "本文B", "MAIL>", "Subject: hello", "From: someone", "本文C", "X-Status: 1",
                               "Subject: last", "本文D"});
  ASSERT_EQ(Sj(shapeA).find("26/05"), 40u);
  ASSERT_EQ(Sj(shapeB).find("ABC"), 22u);
  EXPECT_EQ(Run(log), 0);
  // One file a month; an empty line where a mail ends at its end line, none at the end of the log.
  EXPECT_EQ(File("mail/MAIL2605"), CrLfLines({shapeA, "本文A", "", shapeB, "本文B", "", "Subject: hello",
                                              "From: someone", "本文C", "", "Subject: last", "本文D"}));
  EXPECT_EQ(run->report().mails, 4);
  EXPECT_EQ(Report()[1], "  MAIL2605 を出力しました");
  EXPECT_EQ(Report().back(), "会議室ファイル 0 個、電子メール 4 通分を分割しました");
  EXPECT_EQ(File("cnf/RKV.REC"), "");  // mail files have no entry
}

TEST_F(Division, OneFilePerMailWithMailName) {
  cfg.MailName = 1;
  WriteFile(dir / "mail/MAIL2605.090", "kept");
  EXPECT_EQ(Run(CrLfLines({"Subject: a", "MAIL>", "Subject: b", "MAIL>", "Subject: c"})), 0);
  EXPECT_EQ(File("mail/MAIL2605.090"), "kept");
  EXPECT_EQ(File("mail/MAIL2605.091"), CrLfLines({"Subject: a", ""}));
  EXPECT_EQ(File("mail/MAIL2605.092"), CrLfLines({"Subject: b", ""}));
  EXPECT_EQ(File("mail/MAIL2605.093"), CrLfLines({"Subject: c"}));
}

TEST_F(Division, HpBlocks) {
  std::string hp1 = "001  [26/05/01 10:00]  ABC12345      一つ目のページ";
  std::string hp2 = "002  [26/05/02 11:00]  DEF67890      二つ目のページ";
  std::string log = CrLfLines({hp1, hp2, "ページの本文", "HP>", hp1});
  EXPECT_EQ(Run(log), 0);
  // A run of HP lines is a list: the block starts at its last line. An HP line
  // at the very end finds no next line and opens a block of its own.
  EXPECT_EQ(File("hp/HP260509"), CrLfLines({hp2, "ページの本文", "", hp1}));
  EXPECT_EQ(Report(), (Lines{"ログ 0509.LOG を分割します", " HP HP260509 を出力しました", " HP HP260509 を出力しました",
                             "会議室ファイル 0 個、電子メール 0 通分を分割しました"}));
  cfg.HpNameRule = 1;
  Run(CrLfLines({hp2, "x"}), "0510.LOG");
  EXPECT_EQ(File("hp/HP2605"), CrLfLines({hp2, "x"}));
}

TEST_F(Division, PatioBlocks) {
  std::string log = CrLfLines({"- MES( 1):NOHEADER", "text", "- MES( 2):中庭の会ABC", Header(1, 1), "本文", "CCS(01>",
                               "- MES( 3):", Header(1, 1), "CCS(01>", "- MES( 4):a/b", Header(1, 1), "x",
                               "- MES( 5):END"});
  EXPECT_EQ(Run(log), 0);
  EXPECT_FALSE(Has("patio/NOHEADER"));
  EXPECT_EQ(File("patio/中庭の会"), CrLfLines({"- MES( 2):中庭の会ABC", Header(1, 1), "本文", ""}));
  EXPECT_EQ(File("patio/PT260509"), CrLfLines({"- MES( 3):", Header(1, 1), ""}));
  // Patio blocks end only at a service prompt or the end of the log.
  EXPECT_EQ(File("patio/a_b"), CrLfLines({"- MES( 4):a/b", Header(1, 1), "x", "- MES( 5):END"}));
  EXPECT_EQ(Report(), (Lines{"ログ 0509.LOG を分割します", " パティオ 中庭の会 を出力しました",
                             " パティオ PT260509 を出力しました", " パティオ a_b を出力しました",
                             "会議室ファイル 0 個、電子メール 0 通分を分割しました"}));
  // A patio prompt at the very end finds no header after it.
  EXPECT_EQ(Run(CrLfLines({"- MES( 6):LAST"}), "0510.LOG"), 0);
  EXPECT_FALSE(Has("patio/LAST"));
}

TEST_F(Division, SentMailListsAndNotices) {
  std::string list = " 12   ABC12345   5/09      3  一覧の行";
  std::string log = CrLfLines({"送信日  受信日時      宛先ID", "05/09  05/09 21:00  ABC12345", "MAIL>",
                               "受信日  送信者ID  名前", "05/09  ABC12345  けんじ", "MAIL>",
                               "今週のお知らせ    NEW", "お知らせ本文", "CCS(01>", "利用料金情報    BILL", "料金",
                               "CCS(01>", list, "LIB>", "TO:ABC12345", "SUB:題", "本文", "MAIL>"});
  EXPECT_EQ(Run(log), 0);
  EXPECT_EQ(File("mail/MLST2605"), CrLfLines({"送信日  受信日時      宛先ID", "05/09  05/09 21:00  ABC12345", "",
                                              "受信日  送信者ID  名前", "05/09  ABC12345  けんじ", ""}));
  EXPECT_EQ(File("log/ETC2605.090"),
            CrLfLines({"今週のお知らせ    NEW", "お知らせ本文", "", "利用料金情報    BILL", "料金", "", list, ""}));
  EXPECT_EQ(File("mail/MSND2605"), CrLfLines({"TO:ABC12345", "SUB:題", "本文", ""}));
  EXPECT_EQ(Report(), (Lines{"ログ 0509.LOG を分割します", " MLST2605 を出力しました", " MLST2605 を出力しました",
                             " ETC2605.090 を出力しました", " ETC2605.090 を出力しました", " ETC2605.090 を出力しました",
                             " 送信メール MSND2605 を出力しました", "会議室ファイル 0 個、電子メール 0 通分を分割しました"}));
}

// An end-of-file byte ends the written text; a NUL byte is dropped and the
// rest of its line written, so that one noise byte hides no message.
TEST_F(Division, EndOfFileByteEndsTheWrittenTextAndNulIsDropped) {
  std::string log = Sj(kRoom5) + std::string("\0\r\n", 3) + Sj(Header(1, 1)) + "\r\n" +
                    "before\x1A" "after\r\n" + std::string("text\0shown\r\n", 12) + "\x1A\r\n" +
                    "0123456789abcdefg\x1A" "tail\r\n" + std::string("0123456789\0\0shown\r\n", 20) +
                    std::string("\0", 1) + Sj(Header(2, 2)) + "\r\nlast\r\n";
  EXPECT_EQ(Run(log), 0);
  EXPECT_EQ(File("cnf/ROOM_05.CNF"), CrLfLines({kRoom5, Header(1, 1)}) + "before" + "textshown\r\n" +
                                         "0123456789abcdefg" + "0123456789shown\r\n" +
                                         CrLfLines({Header(2, 2), "last"}));
}

TEST_F(Division, LongLinesAreWrittenWholeThoughReadInPieces) {
  std::string longText(600, 'w');
  std::string log = CrLfLines({kRoom5, Header(1, 1), longText, "end"});
  EXPECT_EQ(Run(log), 0);
  EXPECT_EQ(File("cnf/ROOM_05.CNF"), CrLfLines({kRoom5, Header(1, 1), longText, "end"}));
}

// Lines are read in place and runs of them written together: however the
// reads fall, across lines, pieces and line ends, and however the runs meet
// the writes of the files, the files come out as line-by-line writing makes them.
TEST_F(Division, EveryReadSizeWritesTheSameBytes) {
  cfg.Rename = 0;
  // Text lines of every shape, each with what it becomes in its file.
  std::vector<std::pair<std::string, std::string>> shapes = {
      {"plain text line\r\n", "plain text line\r\n"},
      {std::string("with\0nul\r\n", 11), "withnul\r\n"},
      {"ends\x1A" "here\r\n", "ends"},
      {"bare line feed\n", "bare line feed\r\n"},
      {"lone\rcarriage return\r\n", "lone\rcarriage return\r\n"},
      {std::string(600, 'w') + "\r\n", std::string(600, 'w') + "\r\n"},
      {std::string(252, 'a') + "\r\n", std::string(252, 'a') + "\r\n"},
      {std::string(253, 'b') + "\r\n", std::string(253, 'b') + "\r\n"},
      {std::string(254, 'c') + "\r\n", std::string(254, 'c') + "\r\n"},
      {"\r\n", "\r\n"}};
  std::string log, expected[2];
  for (int block = 1; block <= 3; ++block) {
    for (int room = 0; room < 2; ++room) {
      std::string head = CrLfLines({room == 0 ? "- AAA  MES( 1):a" : "- BBB  MES( 2):b", Header(block, block)});
      log += head;
      expected[room] += head;
      for (int i = 0; i < 700; ++i) {
        const auto& [line, written] = shapes[static_cast<size_t>(i * (room + 3)) % shapes.size()];
        log += line;
        expected[room] += written;
      }
      log += "CCS(01>\r\n";
    }
  }
  ASSERT_GT(expected[0].size(), 3u * 64 * 1024);  // past the files' write buffers
  for (size_t size : {size_t{1}, size_t{7}, size_t{300}, size_t{64 * 1024}}) {
    SetStreamBufferSizeForTests(size);
    for (const char* sub : {"cnf", "log"}) std::filesystem::remove_all(dir / sub);
    for (const char* sub : {"cnf", "log"}) std::filesystem::create_directories(dir / sub);
    EXPECT_EQ(Run(log), 0);
    EXPECT_EQ(File("cnf/AAA_01.CNF"), expected[0]) << size;
    EXPECT_EQ(File("cnf/BBB_02.CNF"), expected[1]) << size;
    EXPECT_EQ(File("cnf/RKV.REC"), Rec("AAA_01.CNF", Header(3, 3)) + Rec("BBB_02.CNF", Header(3, 3))) << size;
  }
  SetStreamBufferSizeForTests(64 * 1024);
}

TEST_F(Division, TheLogAndTheRecordAreNeverWrittenAsOutput) {
  // The log is named like today's ETC file in the folder ETC files go to.
  std::string log = CrLfLines({"今週のお知らせ    NEW", "x", "CCS(01>"});
  EXPECT_EQ(Run(log, "ETC2605.090"), 0);
  EXPECT_EQ(File("log/ETC2605.091"), CrLfLines({"今週のお知らせ    NEW", "x", ""}));
  ASSERT_TRUE(run->renamedTo());
  EXPECT_EQ(*run->renamedTo(), dir / "log/ETC2605.092");
  EXPECT_EQ(File("log/ETC2605.092"), log);
  // A patio named like the record, in the record's folder.
  cfg.PatioDir = cfg.CurCnfDir;
  WriteFile(dir / "cnf/RKV.REC", Rec("A.CNF", Header(1, 1)));
  EXPECT_EQ(Run(CrLfLines({"- MES( 1):RKV.REC", Header(1, 1), "p"}), "0510.LOG"), 0);
  EXPECT_EQ(File("cnf/RKV.REC"), Rec("A.CNF", Header(1, 1)));
  EXPECT_EQ(File("cnf/RKV.RE0"), CrLfLines({"- MES( 1):RKV.REC", Header(1, 1), "p"}));
}

TEST_F(Division, BlocksOfManyFilesInTurnEachLandAtTheirFilesEnd) {
  // More files than are kept open, visited twice in turn.
  std::string log, expected[40];
  for (int round = 1; round <= 2; ++round) {
    for (int room = 0; room < 40; ++room) {
      std::string prompt = "- R" + std::to_string(room) + "  MES( 1):";
      std::vector<std::string> block = {prompt, Header(round, round), "round " + std::to_string(round), "CCS(01>"};
      for (const auto& line : block) log += Sj(line) + "\r\n";
      for (size_t i = 0; i + 1 < block.size(); ++i) expected[room] += Sj(block[i]) + "\r\n";
    }
  }
  EXPECT_EQ(Run(log), 0);
  for (int room = 0; room < 40; ++room) {
    EXPECT_EQ(File("cnf/R" + std::to_string(room) + "_01.CNF"), expected[room]) << room;
  }
  EXPECT_EQ(run->report().conferenceFiles, 80);
}

// More rooms than files are kept open: a room's file closed to make room is
// opened again for its next block, which follows the first.
TEST_F(Division, MoreRoomsThanOpenFiles) {
  std::string log;
  auto prompt = [](int room) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "- R%03d  MES( 1):", room);
    return std::string(buf);
  };
  for (int round = 1; round <= 2; ++round) {
    for (int room = 0; room < 250; ++room) log += CrLfLines({prompt(room), Header(round, round), "CCS(01>"});
  }
  EXPECT_EQ(Run(log), 0);
  for (int room = 0; room < 250; room += 49) {
    std::string name = FlatConferenceName(RoomName(prompt(room)), "01", cfg.CnfExt);
    EXPECT_EQ(File("cnf/" + name), CrLfLines({prompt(room), Header(1, 1), prompt(room), Header(2, 2)})) << name;
  }
  EXPECT_EQ(File("cnf/RKV.REC").size(), 250u * 80);
}

TEST_F(Division, TwoNamesOfOneFileNeverOverwriteEachOther) {
  // The patio folder is the HP folder under another name.
  std::filesystem::remove(dir / "patio");
  std::filesystem::create_directory_symlink(dir / "hp", dir / "patio");
  std::string hp = "001  [26/05/01 10:00]  ABC12345      page";
  std::string log = CrLfLines({hp, "first", "HP>", "- MES( 1):HP260509", Header(1, 1), "patio", "HP>", hp, "second"});
  EXPECT_EQ(Run(log), 0);
  EXPECT_EQ(File("hp/HP260509"),
            CrLfLines({hp, "first", "", "- MES( 1):HP260509", Header(1, 1), "patio", "", hp, "second"}));
}

TEST_F(Division, AClassifierResultOfZeroLeavesTheKind) {
  // Lines after a conference block are still read as conference lines: a stray
  // header there becomes the last header, which the S patio's entry records.
  std::string log = CrLfLines({kRoom5, Header(1, 1), "CCS(01>", Header(9, 9, "stray"), "- MES( 1):SPATIO",
                               Header(1, 1, "patio"), "CCS(01>"});
  EXPECT_EQ(Run(log), 0);
  EXPECT_EQ(File("cnf/RKV.REC"), Rec("ROOM_05.CNF", Header(1, 1)) + Rec("SPATIO", Header(9, 9, "stray")));
}

// Progress comes at the start, about every megabyte with the room being
// written, and at the end; a gap question comes in between and is waited for.
TEST_F(Division, ProgressOfALargeLog) {
  std::string log = CrLfLines({kRoom5, Header(1, 1)});
  while (log.size() < 2500000) log += Sj("本文の行です。ここには五十バイトほどの文が入ります。") + "\r\n";
  log += CrLfLines({"CCS(01>", "- ROOM  MES( 6):", Header(7, 7), "gap", "CCS(01>"});
  WriteFile(dir / "cnf/RKV.REC", Rec("ROOM_06.CNF", Header(3, 3)));
  host.answers = {Answer::Ignore};
  std::vector<DivProgress> seen;
  std::vector<size_t> boxesSoFar;
  logPath = dir / "log/0509.LOG";
  WriteFile(logPath, log);
  run = std::make_unique<DivLog>(cfg, host, logPath);
  run->SetProgress([&](const DivProgress& p) {
    seen.push_back(p);
    boxesSoFar.push_back(host.shown.size());
  });
  EXPECT_EQ(run->Divide(), 0);
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(seen.front().done, 0);
  EXPECT_EQ(seen.back().done, static_cast<int64_t>(log.size()));
  for (size_t i = 1; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].total, static_cast<int64_t>(log.size()));
    EXPECT_GE(seen[i].done, seen[i - 1].done);
  }
  EXPECT_EQ(seen[1].room, "ROOM");
  EXPECT_EQ(seen.back().room, "");
  // The question came after the first megabytes and before the run ended.
  EXPECT_EQ(boxesSoFar[2], 0u);
  EXPECT_EQ(boxesSoFar.back(), 1u);
  EXPECT_EQ(test::Utf8(host.shown[0].caption), "発言番号が不連続性です！");
  // Stopped at the question, the run ends where it stopped, not at 100%.
  WriteFile(logPath, log);
  WriteFile(dir / "cnf/RKV.REC", Rec("ROOM_06.CNF", Header(3, 3)));
  host.answers = {Answer::Abort};
  seen.clear();
  run = std::make_unique<DivLog>(cfg, host, logPath);
  run->SetProgress([&](const DivProgress& p) { seen.push_back(p); });
  EXPECT_EQ(run->Divide(), 0);
  ASSERT_FALSE(seen.empty());
  EXPECT_GT(seen.back().done, 2500000);
  EXPECT_LT(seen.back().done, static_cast<int64_t>(log.size()));
  EXPECT_EQ(test::Utf8(ProgressLine(DivProgress{1234567, 2000000, Sj("ROOM")})),
            "分割中 1,234,567 / 2,000,000 バイト (61%)  会議室 ROOM");
}

TEST_F(Division, TheReportKeepsEveryLine) {
  std::string log;
  for (int i = 0; i < 250; ++i) log += CrLfLines({"Subject: m", "MAIL>"});
  EXPECT_EQ(Run(log), 0);
  EXPECT_EQ(run->report().lines.size(), 252u);
  EXPECT_EQ(Report()[250], "  MAIL2605 を出力しました");
  EXPECT_EQ(Report()[251], "会議室ファイル 0 個、電子メール 250 通分を分割しました");
  EXPECT_EQ(run->report().mails, 250);
}

}  // namespace
}  // namespace rkv
