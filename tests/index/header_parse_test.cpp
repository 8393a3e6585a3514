#include "index/header_parse.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;

std::string TextOf(const TitleNode& node) { return std::string(node.Text()); }

TEST(TitleText, FirstSeventyEightBytesBlankFilled) {
  TitleNode node;
  SetTitleText(node, "001/123   ABC12345  short\n");
  EXPECT_EQ(TextOf(node), "001/123   ABC12345  short" + std::string(79 - 25, ' '));
  EXPECT_EQ(node.text[79], '\0');

  std::string longLine(100, 'x');
  SetTitleText(node, longLine);
  EXPECT_EQ(TextOf(node), std::string(78, 'x') + " ");
}

TEST(TitleText, CutCharacterAtByte78BecomesBlank) {
  // 77 single bytes and then a two-byte character: its first byte is byte 78.
  TitleNode node;
  SetTitleText(node, std::string(77, 'a') + Sj("漢字") + "\n");
  EXPECT_EQ(TextOf(node), std::string(77, 'a') + "  ");
  // 76 single bytes: the character fits whole.
  SetTitleText(node, std::string(76, 'a') + Sj("漢字"));
  EXPECT_EQ(TextOf(node), std::string(76, 'a') + Sj("漢") + " ");
}

TEST(TitleText, NulAndControlBytesAreOrdinary) {
  TitleNode node;
  std::string line = std::string("001/123   ABC12345  a\0b\x1a", 24) + "c\r\n";
  SetTitleText(node, line);
  EXPECT_EQ(TextOf(node).substr(0, 26), line.substr(0, 26));  // the lone CR before the LF stays
}

TEST(Piece, ColumnsWithoutLineFeedAndNoHalfCharacter) {
  EXPECT_EQ(Piece("abcdef\n", 2, 10), "cdef");
  EXPECT_EQ(Piece("abc", 5, 3), "");
  std::string s = "ab" + Sj("漢字");  // bytes 2-5 form two characters
  EXPECT_EQ(Piece(s, 0, 3), "ab ");
  EXPECT_EQ(Piece(s, 0, 4), s.substr(0, 4));
  // A short piece keeps what it has.
  EXPECT_EQ(Piece("ab\n", 0, 5), "ab");
}

TEST(CommentReference, ColumnsTwentyThreeToTwentySeven) {
  std::string after = "       97/05/12 10:30  00042 rest\n";
  EXPECT_EQ(CommentReference(after), 42);
  // 29 bytes with the line feed: too short, whatever stands there.
  std::string shortLine = "       97/05/12 10:30  00042\n";
  ASSERT_EQ(shortLine.size(), 29u);
  EXPECT_EQ(CommentReference(shortLine), 0);
  EXPECT_EQ(CommentReference(shortLine.substr(0, 28) + " \n"), 42);
  // Blanks there read as 0, leading blanks are allowed, reading stops at a non-digit.
  EXPECT_EQ(CommentReference(std::string(40, ' ') + "\n"), 0);
  EXPECT_EQ(CommentReference(std::string(23, ' ') + "  7x9" + std::string(10, ' ')), 7);
  EXPECT_EQ(CommentReference(std::string(23, ' ') + "123456789"), 12345);
  EXPECT_EQ(CommentReference(std::string(23, ' ') + "-1234 and more"), -1234);
}

TEST(HeaderTitle, KindPositionAndComment) {
  TitleNode node = HeaderTitle("001/002   ABC12345  x\n", 31, 2, std::string_view(std::string(23, ' ') + "00001   \n"));
  EXPECT_EQ(node.kind, 16);
  EXPECT_EQ(node.offset, 31);
  EXPECT_EQ(node.line, 2);
  EXPECT_EQ(node.commentTo, 1);
  // The last line of a file has no line after it.
  EXPECT_EQ(HeaderTitle("001/002   ABC12345  x", 1, 1, std::nullopt).commentTo, 0);
  EXPECT_EQ(TitleNode().commentTo, 65535);
}

}  // namespace
}  // namespace rkv
