#include "index/title_scan.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;
using test::TempDir;

std::string Header(int n, const char* id = "ABC12345") {
  char buf[80];
  std::snprintf(buf, sizeof buf, "%03d/999   %s  handle  subject %d", n, id, n);
  return buf;
}
std::string After(int commentTo) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "       97/05/12 10:30  %05d  ", commentTo);
  return buf;
}

struct Scan {
  std::vector<TitleNode> titles;
  int64_t lastLine = 0;
  int rc = 0;
};

Scan ScanConference(const std::string& bytes, int64_t firstLine = 1) {
  TempDir dir;
  test::WriteFile(dir / "A.CNF", bytes);
  Scan s;
  auto in = OpenTextRead(dir / "A.CNF");
  s.rc = ScanConferenceTitles(*in, firstLine, s.titles, s.lastLine);
  return s;
}

Scan ScanOther(const std::string& bytes) {
  TempDir dir;
  test::WriteFile(dir / "ETC.TXT", bytes);
  Scan s;
  auto in = OpenTextRead(dir / "ETC.TXT");
  s.rc = ScanOtherTitles(*in, 1, s.titles, s.lastLine);
  return s;
}

std::string Trimmed(const TitleNode& t) {
  std::string text(t.Text());
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

TEST(ConferenceScan, HeadersWithPositionsLinesAndComments) {
  std::string data = "- ROOM  MES( 5):title\r\n" + Header(1) + "\r\n" + After(0) + "\r\nbody\r\n" + Header(2) +
                     "\r\n" + After(1) + "\r\n";
  Scan s = ScanConference(data);
  ASSERT_EQ(s.titles.size(), 2u);
  EXPECT_EQ(s.titles[0].offset, static_cast<int64_t>(data.find(Header(1))) + 1);
  EXPECT_EQ(s.titles[0].line, 2);
  EXPECT_EQ(s.titles[0].commentTo, 0);
  EXPECT_EQ(Trimmed(s.titles[0]), Header(1));
  EXPECT_EQ(s.titles[1].offset, static_cast<int64_t>(data.find(Header(2))) + 1);
  EXPECT_EQ(s.titles[1].line, 5);
  EXPECT_EQ(s.titles[1].commentTo, 1);
  EXPECT_EQ(s.lastLine, 6);
  EXPECT_EQ(s.rc, 0);
}

TEST(ConferenceScan, OffsetIsOneMoreThanTheLineStartWhateverEndsTheLine) {
  // A header at the very start; after a lone LF; after a lone CR line end; as
  // the last line without a line end.
  std::string data = Header(1) + "\r\n" + After(0) + "\nx\n" + Header(2) + "\n" + After(1) + "\r\n" + Header(3);
  Scan s = ScanConference(data);
  ASSERT_EQ(s.titles.size(), 3u);
  EXPECT_EQ(s.titles[0].offset, 1);
  EXPECT_EQ(s.titles[1].offset, static_cast<int64_t>(data.find(Header(2))) + 1);
  EXPECT_EQ(s.titles[2].offset, static_cast<int64_t>(data.find(Header(3))) + 1);
  EXPECT_EQ(s.titles[2].commentTo, 0);  // nothing after it
  EXPECT_EQ(s.titles[2].line, 6);
}

TEST(ConferenceScan, LongLinesArriveInPiecesAndAPieceCanBeAHeader) {
  // 254 bytes, then a header shape continuing the same physical line.
  std::string data = std::string(254, 'x') + Header(7) + "\r\n" + After(3) + "\r\n" +
                     std::string(100 * 1024, 'y') + "\r\n" + Header(8) + "\r\n";
  Scan s = ScanConference(data);
  ASSERT_EQ(s.titles.size(), 2u);
  EXPECT_EQ(s.titles[0].offset, 255);  // the piece's own first byte, plus one
  EXPECT_EQ(s.titles[0].line, 2);
  EXPECT_EQ(s.titles[0].commentTo, 3);
  // 100 KB arrive in 403 pieces of 254 bytes and one of 39 with the line feed.
  EXPECT_EQ(s.titles[1].line, 3 + 404 + 1);
  EXPECT_EQ(s.titles[1].offset, static_cast<int64_t>(data.find(Header(8))) + 1);
}

TEST(ConferenceScan, LineAfterAHeaderIsNeverAHeader) {
  std::string data = Header(1) + "\r\n" + Header(2) + "\r\n" + Header(3) + "\r\n" + After(2) + "\r\n";
  Scan s = ScanConference(data);
  ASSERT_EQ(s.titles.size(), 2u);
  EXPECT_EQ(Trimmed(s.titles[1]), Header(3));
  EXPECT_EQ(s.titles[1].commentTo, 2);
}

TEST(ConferenceScan, NulBytesAndNoHeaders) {
  std::string withNul = Header(1) + std::string("\0\0", 2) + "\r\n" + After(0) + "\r\n" + "00\0/999   ABC12345  \r\n";
  Scan s = ScanConference(std::string("\0\0\r\n", 4) + withNul);
  ASSERT_EQ(s.titles.size(), 1u);
  EXPECT_EQ(s.titles[0].offset, 5);
  EXPECT_EQ(s.titles[0].text[Header(1).size()], '\0');  // an ordinary byte of the title
  Scan none = ScanConference("no\r\nheaders\r\nhere");
  EXPECT_TRUE(none.titles.empty());
  EXPECT_EQ(none.lastLine, 3);
}

TEST(ConferenceScan, StopsAfterTheTenThousandthTitleAndItsLine) {
  std::string data;
  for (int i = 1; i <= 10002; ++i) data += Header(i % 1000) + "\r\n" + After(0) + "\r\nbody\r\n";
  Scan s = ScanConference(data);
  ASSERT_EQ(s.titles.size(), 10000u);
  EXPECT_EQ(s.lastLine, 9999 * 3 + 2);
  EXPECT_EQ(s.titles.back().line, 9999 * 3 + 1);
}

TEST(ConferenceScan, PositionsHoldAcrossEveryStreamBufferBoundary) {
  std::string data = "\r\n" + Header(1) + "\r\n" + After(0) + "\n\r\r\n" + std::string(300, 'z') + Header(2) + "\r\n" +
                     After(1) + "\r\n" + Header(3);
  Scan reference = ScanConference(data);
  ASSERT_EQ(reference.titles.size(), 2u);
  for (size_t size : {1, 2, 3, 5, 7}) {
    SetStreamBufferSizeForTests(size);
    Scan s = ScanConference(data);
    SetStreamBufferSizeForTests(64 * 1024);
    ASSERT_EQ(s.titles.size(), 2u) << size;
    for (size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(s.titles[i].offset, reference.titles[i].offset) << size;
      EXPECT_EQ(s.titles[i].line, reference.titles[i].line) << size;
      EXPECT_EQ(s.titles[i].commentTo, reference.titles[i].commentTo) << size;
    }
    EXPECT_EQ(s.lastLine, reference.lastLine);
  }
  EXPECT_EQ(reference.titles[0].offset, 3);
}

TEST(ConferenceScan, NumbersLinesFromTheGivenFirstLine) {
  Scan s = ScanConference("x\r\n" + Header(1) + "\r\n", 41);
  ASSERT_EQ(s.titles.size(), 1u);
  EXPECT_EQ(s.titles[0].line, 42);
  EXPECT_EQ(s.lastLine, 42);
}

TEST(OtherScan, PendingPromptNeedsAHeaderAndTheBreakingLineIsUsedUp) {
  std::string data = "- ROOM  MES( 5):a\r\n"
                     "- ROOM  MES( 6):b\r\n" +
                     Header(1) + "\r\n" + After(0) +
                     "\r\n"
                     "- ROOM  MES( 7):c\r\n"
                     "Subject: swallowed\r\n"
                     "- ROOM  MES( 8):d\r\n";
  Scan s = ScanOther(data);
  ASSERT_EQ(s.titles.size(), 2u);
  EXPECT_EQ(s.titles[0].kind, 1);
  EXPECT_EQ(Trimmed(s.titles[0]), "- ROOM  MES( 6):b");
  EXPECT_EQ(s.titles[0].line, 2);
  EXPECT_EQ(s.titles[0].offset, static_cast<int64_t>(data.find("- ROOM  MES( 6)")) + 1);
  EXPECT_EQ(s.titles[1].kind, 16);
  EXPECT_EQ(s.titles[1].line, 3);
  EXPECT_EQ(s.titles[1].commentTo, 0);
  EXPECT_EQ(s.lastLine, 7);
}

TEST(OtherScan, HeadersNeedTheirDateLine) {
  std::string data = Header(1) + "\r\n" + After(0) + "\r\n" + Header(2) + "\r\nno date line\r\n" + Header(3) + "\r\n" +
                     Header(4) + "\r\n" + After(3) + "\r\n";
  Scan s = ScanOther(data);
  // Header 3's next line is header 4, which is used up with it.
  ASSERT_EQ(s.titles.size(), 1u);
  EXPECT_EQ(Trimmed(s.titles[0]), Header(1));
}

TEST(OtherScan, MailTitlesAndLookAheadLinesCountedOnce) {
  std::string shapeA = std::string(" 1 ") + "Subject of mail..." + " " + "ABC12345" + "    " + " " + "Name" + " " +
                       "97/05/12 12:34";
  std::string shapeB = " 1  subject here 123  ABC12345  05/12 10:30";
  std::string data = "Date: Mon, 12 May 1997 10:30:00 +0900\r\n"
                     "Subject: first\r\n"
                     "From: \"Taro\" <t@x>\r\n"
                     "\r\n"
                     "Subject: second\r\n" +
                     shapeA + "\r\n          next line text\r\n" + shapeB + "\r\n";
  Scan s = ScanOther(data);
  ASSERT_EQ(s.titles.size(), 4u);
  EXPECT_EQ(Trimmed(s.titles[0]), "97/05/12 10:30 Taro              Subject: first");
  EXPECT_EQ(s.titles[0].line, 2);
  EXPECT_EQ(Trimmed(s.titles[1]), "97/05/12 10:30 Taro              Subject: second");
  EXPECT_EQ(s.titles[1].line, 5);
  EXPECT_EQ(Trimmed(s.titles[2]), "97/05/12 12:34 ubject of mail..ABC12345next line text");
  EXPECT_EQ(s.titles[2].line, 6);
  EXPECT_EQ(s.titles[2].offset, static_cast<int64_t>(data.find(shapeA)) + 1);
  EXPECT_EQ(Trimmed(s.titles[3]), shapeB);
  EXPECT_EQ(s.titles[3].line, 8);
  for (const auto& t : s.titles) EXPECT_EQ(t.kind, 2);
  EXPECT_EQ(s.lastLine, 8);
}

TEST(OtherScan, ComposedMessagesListHeadingsAndOtherKinds) {
  std::string library = std::string(" 1 ABC12345    97/05/12") + " 1234567 12345" + "B  desc";
  ASSERT_EQ(library[17], '/');
  ASSERT_EQ(library[37], 'B');
  std::string hp = "001  [97/05/12 10:30]  ABC12345      hp page text";
  std::string data = Sj("TO:ABC12345\r\nSUB:件名\r\n山田さん\r\n") + "TO:nosub\r\nbody\r\n" +
                     Sj("番号  ID       登録日\r\n") + library + "\r\n" + Sj("番号  ID       登録日\r\n") +
                     "not a library line\r\n" + Sj("送信日  受信日時      宛先ID\r\n") +
                     Sj("受信日  送信者ID  名前\r\n") + Sj("月日  時間        金額(\\) ID\r\n") + hp + "\r\n" +
                     Sj("＜会議室＞ F1\r\n");
  Scan s = ScanOther(data);
  ASSERT_EQ(s.titles.size(), 7u);
  EXPECT_EQ(s.titles[0].kind, 8);
  EXPECT_EQ(test::Utf8(Trimmed(s.titles[0])), "ABC12345 山田 件名");
  EXPECT_EQ(s.titles[0].line, 1);
  EXPECT_EQ(s.titles[1].kind, 11);
  EXPECT_EQ(test::Utf8(Trimmed(s.titles[1])), std::string(15, ' ') + " ＝＝＝ ライブラリ リスト ＝＝＝");
  EXPECT_EQ(s.titles[1].line, 6);
  EXPECT_EQ(test::Utf8(Trimmed(s.titles[2])), std::string(15, ' ') + " ＝＝＝ 送信メール リスト ＝＝＝");
  EXPECT_EQ(test::Utf8(Trimmed(s.titles[3])), std::string(15, ' ') + " ＝＝＝ 受信メール リスト ＝＝＝");
  EXPECT_EQ(test::Utf8(Trimmed(s.titles[4])), std::string(15, ' ') + " ＝＝＝ ＳＷ送金者 リスト ＝＝＝");
  EXPECT_EQ(s.titles[4].kind, 14);
  EXPECT_EQ(s.titles[5].kind, 3);
  EXPECT_EQ(Trimmed(s.titles[5]), hp);
  EXPECT_EQ(s.titles[6].kind, 13);
  EXPECT_EQ(s.titles[6].line, 14);
  EXPECT_EQ(s.titles[6].commentTo, 65535);
}

TEST(OtherScan, TenThousandEntriesAtMost) {
  std::string data;
  for (int i = 0; i < 10005; ++i) data += "001  [97/05/12 10:30]  ABC12345      hp page text\r\n";
  Scan s = ScanOther(data);
  EXPECT_EQ(s.titles.size(), 10000u);
  EXPECT_EQ(s.lastLine, 10000);
}

TEST(LoadOther, MissingFileFailsWithNoTitles) {
  TempDir dir;
  TitleInfo table;
  EXPECT_EQ(LoadOtherTitles(table, dir / "none", 1), -1);
  EXPECT_EQ(table.count(), 0);
  test::WriteFile(dir / "ETC", Header(1) + "\r\n" + After(0) + "\r\n" + Header(2) + "\r\n" + After(1) + "\r\n");
  EXPECT_EQ(LoadOtherTitles(table, dir / "ETC", 1), 0);
  EXPECT_EQ(table.count(), 2);
  ASSERT_NE(table.tree(), nullptr);
  EXPECT_EQ(table.tree()->row(1).depth, 1);
}

}  // namespace
}  // namespace rkv
