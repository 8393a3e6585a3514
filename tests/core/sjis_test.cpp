#include "core/sjis.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;

TEST(LeadBytes, RunsOfLeadValuesAlternate) {
  std::string t = "\x82\xA0\x81\x40";
  EXPECT_TRUE(IsLeadByteAt(t, 0));
  EXPECT_FALSE(IsLeadByteAt(t, 1));
  EXPECT_TRUE(IsLeadByteAt(t, 2));  // the first character ends at 1
  std::string run = "\x81\x81\x81";
  EXPECT_TRUE(IsLeadByteAt(run, 0));
  EXPECT_FALSE(IsLeadByteAt(run, 1));
  EXPECT_TRUE(IsLeadByteAt(run, 2));
  EXPECT_FALSE(IsLeadByteAt("A\x81", 0));
  EXPECT_FALSE(IsLeadByteAt("A", 5));  // past the end is never a lead byte
}

TEST(LeadBytes, ByteClasses) {
  std::string t = "A\x82\xA0\x82\x0A";  // a, あ, then a lead byte before a line feed
  EXPECT_EQ(ByteClassAt(t, 0), 0);
  EXPECT_EQ(ByteClassAt(t, 1), 1);
  EXPECT_EQ(ByteClassAt(t, 2), 2);
  EXPECT_EQ(ByteClassAt(t, 3), 1);
  EXPECT_EQ(ByteClassAt(t, 4), 3);  // LF is no trail byte
}

TEST(FitWidth, CutsWholeCharactersAndPads) {
  std::string ten = "ABCDEFGH" + Sj("あ");
  ASSERT_EQ(ten.size(), 10u);
  ASSERT_EQ(FitWidth(ten, 9), 0);
  EXPECT_EQ(ten, "ABCDEFGH ");
  std::string three = "abc";
  FitWidth(three, 5);
  EXPECT_EQ(three, "abc  ");
  std::string exact = Sj("あい");
  FitWidth(exact, 4);
  EXPECT_EQ(exact, Sj("あい"));
  std::string zero = "abc";
  EXPECT_EQ(FitWidth(zero, 0), -1);
  EXPECT_TRUE(zero.empty());
}

TEST(TrimBlanks, TrailingAlwaysLeadingUnlessKept) {
  std::string a = "  ab  ";
  EXPECT_EQ(TrimBlanks(a, true), 4u);
  EXPECT_EQ(a, "  ab");
  std::string b = "  ab  ";
  EXPECT_EQ(TrimBlanks(b, false), 2u);
  EXPECT_EQ(b, "ab");
  std::string blanks = "    ";
  EXPECT_EQ(TrimBlanks(blanks, false), 0u);
  std::string empty;
  EXPECT_EQ(TrimBlanks(empty, false), 0u);
}

TEST(FullSpaceToBlanks, OnlyRealFullWidthSpaces) {
  EXPECT_EQ(FullSpaceToBlanks(Sj("あ　い　　"), 100), Sj("あ  い"));
  // 0x81 0x40 standing as trail + next lead must not be taken for a space.
  std::string tricky = "\x88\x81\x40";
  EXPECT_EQ(FullSpaceToBlanks(tricky, 3), tricky);
  EXPECT_EQ(FullSpaceToBlanks("abc  ", 2), "ab");
}

TEST(Fields, CopyFieldAndFieldAt) {
  EXPECT_EQ(CopyField("a,b,c", ','), "a");
  EXPECT_EQ(CopyField("abc", ','), "abc");
  EXPECT_EQ(CopyField("", ','), "");
  EXPECT_EQ(FieldAt("a,b,c", 0, ','), "a");
  EXPECT_EQ(FieldAt("a,b,c", 2, ','), "c");
  EXPECT_EQ(FieldAt("a,b,c", 3, ','), "");
  EXPECT_EQ(FieldAt("a,,c", 1, ','), "");
}

TEST(Fields, ListEntry) {
  EXPECT_EQ(ListEntry("A;B", 0), "A");
  EXPECT_EQ(ListEntry("A;B", 1), "B");
  EXPECT_EQ(ListEntry("A;B", 2), std::nullopt);
  EXPECT_EQ(ListEntry("A;", 1), "");
  EXPECT_EQ(ListEntry("", 0), "");
}

TEST(Numbers, StandardDecimalConversion) {
  EXPECT_EQ(ParseDecimal("  42abc"), 42);
  EXPECT_EQ(ParseDecimal("-7"), -7);
  EXPECT_EQ(ParseDecimal("+8"), 8);
  EXPECT_EQ(ParseDecimal("x1"), 0);
  EXPECT_EQ(ParseDecimal(""), 0);
  EXPECT_EQ(ParseDecimal("99999999999999"), 2147483647);
  EXPECT_EQ(ParseDecimal("-99999999999999"), -2147483647 - 1);
  EXPECT_EQ(NumberPrefix("00123456", 5), 123);
  EXPECT_EQ(NumberPrefix("12", 11), 12);
  EXPECT_EQ(NumberPrefix(std::string("1\0" "2", 3), 3), 1);
}

TEST(UpperAscii, LeavesTwoByteCharactersAlone) {
  std::string t = "ab" + std::string("\x83\x61") + "c";  // a katakana whose trail byte is 'a'
  UpperAscii(t);
  EXPECT_EQ(t, "AB\x83\x61" "C");
}

TEST(Columns, NeverIncludeTheLineFeed) {
  EXPECT_EQ(Columns("abcdef\n", 4, 10), "ef");
  EXPECT_EQ(Columns("abc", 5, 2), "");
  EXPECT_EQ(Columns("abcdef", 1, 2), "bc");
}

}  // namespace
}  // namespace rkv
