#include "divide/line_recogniser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;

TEST(ConferencePrompt, ShapeOfRoomAndNumber) {
  FindHeader fh;
  EXPECT_EQ(ConferencePromptTest(&fh, "- ROOM  MES( 5):\n"), 1);
  EXPECT_EQ(fh.promptCopy, "- ROOM  MES( 5):\n");
  EXPECT_EQ(fh.promptLength, 17);
  EXPECT_TRUE(IsConferencePrompt("- ROOM  MES(12):title\n"));
  EXPECT_FALSE(IsConferencePrompt("- ROOM MES( 5):\n"));     // one blank
  EXPECT_FALSE(IsConferencePrompt("- ROOM  MES(5):\n"));     // number in one column
  EXPECT_FALSE(IsConferencePrompt("-   MES( 5):\n"));        // no room name
  EXPECT_FALSE(IsConferencePrompt("- MES( 5):\n"));
  EXPECT_FALSE(IsConferencePrompt("- RO-M  MES( 5):\n"));
  std::string longLine = "- ROOM  MES( 5):" + std::string(200, 'x');
  ConferencePromptTest(&fh, longLine);
  EXPECT_EQ(fh.promptCopy.size(), 127u);
  EXPECT_EQ(fh.promptLength, 216);
}

TEST(PatioPrompt, NotAConferencePrompt) {
  FindHeader fh;
  EXPECT_EQ(PatioPromptTest("- MES( 3):NAME\n"), 4);
  EXPECT_EQ(ClassifyBlock(fh, "- MES( 3):NAME\n"), 4);
  EXPECT_EQ(PatioPromptTest("- MES(3):\n"), 0);
}

TEST(MessageHeader, ThreeShapesAndMaskedIds) {
  FindHeader fh;
  EXPECT_EQ(MessageHeaderTest(&fh, "001/123   ABC12345  anything"), 16);
  EXPECT_EQ(fh.headerCopy, "001/123   ABC12345  anything");
  EXPECT_TRUE(IsMessageHeader("00001/00123 ABC12345  x"));
  EXPECT_TRUE(IsMessageHeader("00001/00123 ********  x"));
  EXPECT_FALSE(IsMessageHeader("00001/00123 ********* x"));
  EXPECT_TRUE(IsMessageHeader("001/123   ********  x"));
  EXPECT_FALSE(IsMessageHeader("001/123  ABC12345   x"));  // column 9 must be blank
  EXPECT_TRUE(IsMessageHeader("No. 123   ABC12345 x"));
  EXPECT_FALSE(IsMessageHeader("No.123   ABC12345 x"));
  // A masked ID needs the columns before it in shape, and leaves the copy alone.
  FindHeader masked;
  EXPECT_FALSE(IsMessageHeader("0x1/123   ********  x"));
  EXPECT_EQ(MessageHeaderTest(&masked, "001/123   ********  x"), 16);
  EXPECT_TRUE(masked.headerCopy.empty());
}

TEST(MailHeader, ShapesAndSubject) {
  std::string shapeA = std::string(" 1 ") + "Subject of mail..." + " " + "ABC12345" + "    " + " " + "Name" +
                       " " + "97/05/12 12:34\n";
  ASSERT_EQ(shapeA.find("97/05"), 40u);
  EXPECT_TRUE(IsMailHeaderShapeA(shapeA));
  EXPECT_EQ(MailHeaderTest(shapeA), 2);
  std::string brokenA = shapeA;
  brokenA[42] = '-';
  EXPECT_FALSE(IsMailHeaderShapeA(brokenA));
  std::string shapeB = std::string(" 1 #") + "sixteen bytes..." + "  " + "ABC12345" + "  " + "97/05" + " " + "12\n";
  ASSERT_EQ(shapeB.find("ABC"), 22u);
  EXPECT_TRUE(IsMailHeaderShapeB(shapeB));
  EXPECT_FALSE(IsMailHeaderShapeB(shapeB.substr(0, 39)));  // column 39 missing
  EXPECT_EQ(MailHeaderTest("Subject: hello\n"), 2);
  EXPECT_EQ(MailHeaderTest("subject: hello\n"), 0);
}

TEST(HpAndListLines, LengthsMatter) {
  std::string hp = std::string("001") + "  " + "[97/05/12 12:34]" + "  " + "ABC12345" + "      ";
  ASSERT_EQ(hp.size(), 37u);
  std::string hp41 = hp + "abc\n";
  EXPECT_EQ(HpLineTest(hp41), 0);
  EXPECT_EQ(HpLineTest(hp + "abcd\n"), 3);
  std::string list = std::string(" 12") + "   " + "ABC12345" + "  " + " 5/12" + "    " + "  3" + "  " + "xy\n";
  ASSERT_EQ(list.size(), 33u);
  EXPECT_EQ(ListLineTest(list), 7);
  EXPECT_EQ(ListLineTest(list.substr(0, 30) + "\n"), 0);  // under 32 bytes
}

TEST(Literals, NoticesHeadingsAndFields) {
  EXPECT_EQ(UsageNoticeTest(Sj("xx あなたのご利用状況は次のとおりです yy")), 6);
  EXPECT_EQ(UsageNoticeTest(Sj("利用料金情報    BILL")), 6);
  EXPECT_EQ(WeeklyNoticeTest(Sj("今週のお知らせ    NEW 1")), 5);
  EXPECT_EQ(WeeklyNoticeTest(Sj("今週のお知らせ   NEW")), 0);
  EXPECT_EQ(ComposedAddresseeTest("To:abc"), 0);
  EXPECT_EQ(ComposedAddresseeTest("To: abc"), 8);
  EXPECT_EQ(ComposedAddresseeTest("TO:abc"), 8);
  EXPECT_EQ(RemittanceListHeadingTest(Sj("月日  時間        金額(\\) ID")), 14);
  EXPECT_EQ(LoginLineTest(Sj("97/05/12 LOG IN  － 21:00")), 19);
  EXPECT_EQ(BracketedRoomLineTest(Sj("＜雑談＞ FTEST")), 13);
  EXPECT_EQ(BracketedRoomLineTest(Sj("＜雑談＞FTEST")), 0);
  EXPECT_EQ(MorePromptTest(Sj("続き (改行で表示　E:終了)")), 33);
}

TEST(ServicePrompt, Forms) {
  EXPECT_EQ(IsServicePrompt("CCS(01>\n", 1), 99);
  EXPECT_EQ(IsServicePrompt("CCS(1)>\n", 1), 99);
  EXPECT_EQ(IsServicePrompt("CCS(123)>\n", 1), 0);
  EXPECT_EQ(IsServicePrompt("LIB>\n", 1), 99);
  EXPECT_EQ(IsServicePrompt(Sj("＞") + "\n", 1), 0);
  EXPECT_EQ(IsServicePrompt(Sj("＞") + "ok\n", 1), 99);
  EXPECT_EQ(IsServicePrompt(Sj("＞あ") + "\n", 1), 0);
  EXPECT_EQ(IsServicePrompt(Sj("＞あ") + "\n", 0), 99);
  EXPECT_EQ(IsServicePrompt(Sj("＞ｱ") + "\n", 1), 0);  // half-width katakana
  EXPECT_EQ(IsServicePrompt(Sj("＞") + std::string(29, 'a'), 0), 0);  // more than 30 bytes
  EXPECT_EQ(IsServicePrompt(Sj("＞") + std::string(28, 'a'), 0), 99);
}

TEST(EndTests, MailEndEndReplyConferenceStart) {
  EXPECT_TRUE(IsMailEnd("MAIL>\n", 1));
  EXPECT_TRUE(IsMailEnd("X-Status: 1\n", 1));
  EXPECT_TRUE(IsMailEnd(
      Sj("受信後 (1:削除  2:保存  3:返信  4:返信＋削除  5:転送  6:転送＋削除  E:終了)"), 1));
  EXPECT_FALSE(IsMailEnd("hello\n", 1));
  EXPECT_TRUE(IsEndReply(Sj("＞E") + "\n"));
  EXPECT_TRUE(IsEndReply(Sj("＞e")));
  EXPECT_FALSE(IsEndReply(Sj("＞E") + "xx"));
  EXPECT_TRUE(IsConferenceStart(Sj("電子会議 (1:発言　改行のみ: 読む) 通常モード")));
  EXPECT_TRUE(IsConferenceStart("- A  MES( 1):\n"));
}

TEST(Classifiers, OrderAndModes) {
  FindHeader fh;
  // The block classifier tries the mail header before the addressee line.
  EXPECT_EQ(ClassifyBlock(fh, "Subject: x\n"), 2);
  EXPECT_EQ(ClassifyBlock(fh, "001/123   ABC12345  x\n"), 0);  // headers open no block
  EXPECT_EQ(ClassifyFull(fh, "001/123   ABC12345  x\n", 0), 16);
  EXPECT_EQ(fh.mode, 0);
  EXPECT_EQ(ClassifyFull(fh, "TO:ABC\n", 0), 8);
  EXPECT_EQ(ClassifyFull(fh, "TO:ABC\n", 5), 0);
  EXPECT_EQ(ClassifyFull(fh, "- A  MES( 1):\n", 1), 0);
  EXPECT_EQ(ClassifyFull(fh, "001/123   ABC12345  x\n", 1), 16);
  EXPECT_EQ(ClassifyFull(fh, "001/123   ABC12345  x\n", 3), 0);
  EXPECT_EQ(fh.mode, 3);
}

// The block classifier answers as its kinds' own tests, tried in their order,
// would: lines of every kind, each with single bytes changed and cut short.
TEST(Classifiers, BlockClassifierAgreesWithTheTestsInOrder) {
  auto inOrder = [](FindHeader& fh, std::string_view line) {
    std::string_view cut = line.substr(0, line.find('\0'));
    bool usage = cut.find(Sj("あなたの御利用状況は次のとおりです")) != std::string_view::npos ||
                 cut.find(Sj("あなたのご利用状況は次のとおりです")) != std::string_view::npos;
    for (int k : {ConferencePromptTest(&fh, line), MailHeaderTest(line), ComposedAddresseeTest(line),
                  SentMailListHeadingTest(line), ReceivedMailListHeadingTest(line), WeeklyNoticeTest(line),
                  UsageNoticeTest(line), usage ? 6 : 0, ListLineTest(line), HpLineTest(line),
                  PatioPromptTest(line)}) {
      if (k != 0) return k;
    }
    return 0;
  };
  std::vector<std::string> lines = {
      "- ROOM  MES( 5):\n", "- MES( 1):PAT\n", "Subject: x\n", "TO:ABC\n", "To: ABC\n",
      " 1  97/05/12 12:34  ABC12345  name of the sender      97/05/12 12:34 subject\n",
      "12 #                ABC12345  97/05 12 rest\n", "001  ABC12345  97/05    12  x" + std::string(10, ' ') + "\n",
      "ab1  [97/05/12 12:34]  ABC12345      x" + std::string(10, 'x') + "\n",
      "123  [97/05/12 12:34]  ABC12345      x" + std::string(10, 'x') + "\n",
      Sj("送信日  受信日時      宛先ID\n"), Sj("受信日  送信者ID  名前\n"), Sj("今週のお知らせ    NEW\n"),
      Sj("利用料金情報    BILL\n"), Sj("　あなたのあなたの御利用状況は次のとおりです。\n"),
      Sj("あなたのご利用状況は次のとおりです"), Sj("ご利用状況は次のとおりです\n"), "001/123   ABC12345  x\n"};
  static const char kBytes[] = " 09AZaz-/*NSTo.:[]\n\0\x81\x82\x8D\x8E\x91\x97\xA0";
  const std::string bytes(kBytes, sizeof kBytes - 1);  // the NUL among them too
  std::mt19937 random(7);
  for (size_t n = 0, seeds = lines.size(); n < seeds; ++n) {
    for (int i = 0; i < 300; ++i) {
      std::string line = lines[n];
      line[random() % line.size()] = bytes[random() % bytes.size()];
      if (i % 3 == 0) line.resize(random() % (line.size() + 1));
      lines.push_back(line);
    }
  }
  for (const std::string& line : lines) {
    FindHeader a, b;
    EXPECT_EQ(ClassifyBlock(a, line), inOrder(b, line)) << line;
    EXPECT_EQ(a.promptCopy, b.promptCopy);
  }
}

TEST(Classifiers, NulEndsTheLineText) {
  FindHeader fh;
  std::string line("- ROOM\0  MES( 5):", 17);
  EXPECT_EQ(ClassifyBlock(fh, line), 0);
  // Tests that look past the first columns see the text up to the NUL only.
  EXPECT_EQ(IsServicePrompt(std::string("CCS(\0\0>", 7), 1), 0);
  EXPECT_EQ(IsServicePrompt(std::string("MAIL\0>", 6), 1), 0);
  EXPECT_EQ(IsServicePrompt(Sj("＞") + std::string("ok\0", 3) + std::string(40, 'x'), 1), 99);
  EXPECT_FALSE(IsMessageHeader(std::string("001/123\0  ABC12345  ", 21)));
  EXPECT_TRUE(IsMessageHeader(std::string("001/123   ABC12345  \0", 21)));
  EXPECT_EQ(MessageHeaderTest(&fh, std::string("001/123   ABC12345  x\0tail", 26)), 16);
  EXPECT_EQ(fh.headerCopy, "001/123   ABC12345  x");
  EXPECT_EQ(HpLineTest(std::string("001  [97/05/12 12:34]  ABC12345      ") + std::string("\0", 1) + "abcdefgh\n"), 0);
  EXPECT_EQ(ClassifyBlock(fh, std::string(300, '\xFF')), 0);
}

}  // namespace
}  // namespace rkv
