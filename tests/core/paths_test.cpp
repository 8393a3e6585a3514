#include "core/paths.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace rkv {
namespace {

TEST(Paths, JoinUsesOneSeparator) {
  EXPECT_EQ(PathJoin("/", "A.TXT"), "/A.TXT");
  EXPECT_EQ(PathJoin("/log", "A.TXT"), "/log/A.TXT");
  EXPECT_EQ(PathJoin("/log/", "A.TXT"), "/log/A.TXT");
  EXPECT_EQ(PathJoin("", "A.TXT"), "A.TXT");
  EXPECT_EQ(PathJoin("C:", "A.TXT"), "C:/A.TXT");  // ":" is an ordinary byte here
}

TEST(Paths, DirAndFileParts) {
  EXPECT_EQ(DirPart("/A.TXT"), "/");
  EXPECT_EQ(DirPart("/LOG/A.TXT"), "/LOG");
  EXPECT_EQ(DirPart("A.TXT"), "");
  EXPECT_EQ(DirPart(""), "");
  EXPECT_EQ(FileNamePart("/home/u/MAIL9705.120"), "MAIL9705.120");
  EXPECT_EQ(FileNamePart("A:B"), "A:B");
  EXPECT_EQ(FileNamePart("/dir/"), "");
}

TEST(Paths, SameNameNoCase) {
  EXPECT_TRUE(SameNameNoCase("/Log/a.txt", "/LOG/A.TXT"));
  EXPECT_FALSE(SameNameNoCase("/log/a.txt", "/log/a.txu"));
  EXPECT_FALSE(SameNameNoCase("ab", "abc"));
}

TEST(ExpandNamePattern, FileAndNumberCodes) {
  EXPECT_EQ(ExpandNamePattern("view %f", std::string_view("/log/A.CNF"), 0), "view /log/A.CNF");
  EXPECT_EQ(ExpandNamePattern("ED %F +%L", std::string_view("/x"), 120), "ED /x +120");
  EXPECT_EQ(ExpandNamePattern("ED %F +%L", std::nullopt, 0), "ED  +");
  // -1 read as unsigned gives its digits.
  EXPECT_EQ(ExpandNamePattern("P %L", std::string_view("/x"), -1), "P 4294967295");
  // A "%" at the very end stops the expansion.
  EXPECT_EQ(ExpandNamePattern("abc%", std::nullopt, 5), "abc");
  // Command words keep their case; two-byte characters pass whole.
  EXPECT_EQ(ExpandNamePattern("emacs " + test::Sj("表") + " %F", std::string_view("a"), 0),
            "emacs " + test::Sj("表") + " a");
}

TEST(DosDateTime, SplitsAndPacks) {
  DosTime t;
  DosDate d;
  // 2000-02-29 13:45:58
  uint16_t time = static_cast<uint16_t>(13 << 11 | 45 << 5 | 29);
  uint16_t date = static_cast<uint16_t>(20 << 9 | 2 << 5 | 29);
  DosDateTimeFields(time, date, t, d);
  EXPECT_EQ(t.hour, 13);
  EXPECT_EQ(t.minute, 45);
  EXPECT_EQ(t.second, 58);
  EXPECT_EQ(d.year, 2000);
  EXPECT_EQ(d.storedYears, 20);
  EXPECT_EQ(d.month, 2);
  EXPECT_EQ(d.day, 29);
}

TEST(ControlOneToNul, SplitsFilterLists) {
  std::string filter = "A\x01*.LOG\x01";
  ControlOneToNul(filter);
  EXPECT_EQ(filter, std::string("A\0*.LOG\0", 8));
}

}  // namespace
}  // namespace rkv
