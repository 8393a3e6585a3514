#include "core/cp932.h"

#include <gtest/gtest.h>

namespace rkv {
namespace {

TEST(Cp932, WindowsMappingsNotJisOnes) {
  EXPECT_EQ(cp932::ToUtf8("\x81\x7C"), "\xEF\xBC\x8D");  // U+FF0D
  EXPECT_EQ(cp932::ToUtf8("\x81\x60"), "\xEF\xBD\x9E");  // U+FF5E
  EXPECT_EQ(cp932::FromUtf8("\xEF\xBD\x9E"), "\x81\x60");
  EXPECT_EQ(cp932::ToUtf8("\xB1"), "\xEF\xBD\xB1");  // half-width katakana
  EXPECT_EQ(cp932::ToUtf8("\\"), "\\");
}

TEST(Cp932, RoundTripsJapaneseText) {
  std::string utf8 = "会議室 ＞E ﾀｲﾄﾙ情報 ①Ⅰ髙";
  std::string sj = cp932::FromUtf8(utf8);
  EXPECT_TRUE(cp932::WellFormed(sj));
  EXPECT_EQ(cp932::ToUtf8(sj), utf8);
  // Duplicated codes encode to the form Windows uses.
  EXPECT_EQ(cp932::FromUtf8("Ⅰ"), "\x87\x54");
  EXPECT_EQ(cp932::FromUtf8("髙"), "\xFB\xFC");  // IBM row, not the NEC-selected 0xEE row
  EXPECT_EQ(cp932::FromUtf8("∵"), "\x81\xE6");
}

TEST(Cp932, BrokenInputNeverStopsTheText) {
  // A lone lead byte at the end, an undefined code, binary bytes.
  std::string bad = std::string("A\x82", 2);
  EXPECT_EQ(cp932::ToUtf8(bad), "A\xEF\xBF\xBD");
  EXPECT_EQ(cp932::ToUtf8("\x85\x40Z"), "\xEF\xBF\xBD@Z");
  EXPECT_EQ(cp932::ToUtf8(std::string("\0\xFF", 2)), std::string("\0\xEF\xBF\xBD", 4));
  EXPECT_FALSE(cp932::WellFormed(bad));
  EXPECT_EQ(cp932::FromUtf8("a\xC3"), "a?");       // malformed UTF-8
  EXPECT_EQ(cp932::FromUtf8("\xF0\x9F\x98\x80"), "?");  // no such character in the code page
  EXPECT_FALSE(cp932::Representable("\xF0\x9F\x98\x80"));
  EXPECT_TRUE(cp932::Representable("abc日本"));
}

TEST(Cp932, LiteralMacroConvertsOnce) {
  const std::string& a = SJ("会議室");
  EXPECT_EQ(a, "\x89\xEF\x8B\x63\x8E\xBA");
}

}  // namespace
}  // namespace rkv
