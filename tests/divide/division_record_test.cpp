#include "divide/division_record.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::ReadFile;
using test::Sj;
using test::TempDir;
using test::WriteFile;

std::string Entry(std::string_view name, std::string_view header) { return RecordEntry(name, header) + "\r\n"; }

TEST(RecordEntry, PaddedOrCutTo78Bytes) {
  std::string e = RecordEntry("ROOM_05.CNF", "001/123   ABC12345  x\n");
  EXPECT_EQ(e, "ROOM_05.CNF:001/123   ABC12345  x" + std::string(45, ' '));
  EXPECT_EQ(e.size(), 78u);
  // A header without its line feed loses nothing.
  EXPECT_EQ(RecordEntry("A", "xyz"), "A:xyz" + std::string(73, ' '));
  EXPECT_EQ(RecordEntry("A", ""), "A:" + std::string(76, ' '));
  std::string longHeader(200, 'h');
  EXPECT_EQ(RecordEntry("A", longHeader), "A:" + std::string(76, 'h'));
  // A two-byte character that would be cut in half leaves a blank.
  std::string kanji = std::string(75, 'h') + Sj("字");  // bytes 77 and 78 of the entry
  EXPECT_EQ(RecordEntry("A", kanji), "A:" + std::string(75, 'h') + " ");
  std::string kanjiFits = std::string(74, 'h') + Sj("字") + "tail";
  EXPECT_EQ(RecordEntry("A", kanjiFits), "A:" + std::string(74, 'h') + Sj("字"));
  // A NUL ends the header as text.
  EXPECT_EQ(RecordEntry("A", std::string("ab\0cd\n", 6)), "A:ab" + std::string(74, ' '));
}

class RecordFile : public ::testing::Test {
 protected:
  std::unique_ptr<DivisionRecord> Open() { return DivisionRecord::Open(path); }
  TempDir dir;
  std::string path = dir / "RKV.REC";
};

TEST_F(RecordFile, CreatedWhenMissingAndEntriesAppended) {
  auto rec = Open();
  ASSERT_TRUE(rec);
  EXPECT_FALSE(rec->FindRecord("A.CNF"));
  EXPECT_EQ(rec->UpdateRecord("A.CNF", "001/010   ABC12345  a\n"), 0);
  EXPECT_EQ(rec->UpdateRecord("B.CNF", "002/020   ABC12345  b\n"), 0);
  EXPECT_EQ(ReadFile(path), Entry("A.CNF", "001/010   ABC12345  a") + Entry("B.CNF", "002/020   ABC12345  b"));
  auto found = rec->FindRecord("B.CNF");
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, RecordEntry("B.CNF", "002/020   ABC12345  b") + "\n");
}

TEST_F(RecordFile, RewrittenInPlaceKeepingEveryOtherEntry) {
  WriteFile(path, Entry("A.CNF", "1") + Entry("B.CNF", "2") + Entry("C.CNF", "3"));
  auto rec = Open();
  EXPECT_EQ(rec->UpdateRecord("B.CNF", "005/005   ABC12345  new\n"), 0);
  EXPECT_EQ(ReadFile(path), Entry("A.CNF", "1") + Entry("B.CNF", "005/005   ABC12345  new") + Entry("C.CNF", "3"));
  EXPECT_EQ(ReadFile(path).size() % 80, 0u);
}

TEST_F(RecordFile, AnEntryBelongsToANameOnlyWhenTheColonFollows) {
  // The bare prefix "S" must neither find nor overwrite the entry of SAKEBR13.CNF.
  WriteFile(path, Entry("SAKEBR13.CNF", "010/010   ABC12345  x"));
  auto rec = Open();
  EXPECT_FALSE(rec->FindRecord("S"));
  EXPECT_FALSE(rec->FindRecord("SAKEBR13"));
  EXPECT_EQ(rec->UpdateRecord("S", "001/001   ABC12345  patio\n"), 0);
  EXPECT_EQ(ReadFile(path), Entry("SAKEBR13.CNF", "010/010   ABC12345  x") + Entry("S", "001/001   ABC12345  patio"));
  EXPECT_TRUE(rec->FindRecord("S"));
}

TEST_F(RecordFile, ALengthThatIsNoMultipleOf80GetsItsNewEntryOnANewLine) {
  WriteFile(path, Entry("A.CNF", "1") + "garbage without line end");
  auto rec = Open();
  EXPECT_EQ(rec->UpdateRecord("B.CNF", "2"), 0);
  EXPECT_EQ(ReadFile(path), Entry("A.CNF", "1") + "garbage without line end\r\n" + Entry("B.CNF", "2"));
  EXPECT_TRUE(rec->FindRecord("B.CNF"));
  EXPECT_EQ(rec->UpdateRecord("B.CNF", "3"), 0);  // found again, rewritten in place
  EXPECT_EQ(ReadFile(path), Entry("A.CNF", "1") + "garbage without line end\r\n" + Entry("B.CNF", "3"));
}

TEST_F(RecordFile, ADamagedEntryIsReplacedWholeWithoutTouchingItsNeighbours) {
  std::string before = Entry("A.CNF", "1");
  std::string junk = "\x01\xFF random \x82\r\n";
  for (std::string damaged : {std::string("B.CNF:short\r\n"), "B.CNF:" + std::string(150, 'z') + "\r\n",
                              "B.CNF:" + std::string(72, 'y') + "\n", std::string("B.CNF:no line end")}) {
    std::string after = damaged.back() == '\n' ? junk + Entry("C.CNF", "3") : "";
    WriteFile(path, before + damaged + after);
    auto rec = Open();
    auto found = rec->FindRecord("B.CNF");
    ASSERT_TRUE(found);
    EXPECT_EQ(rec->UpdateRecord("B.CNF", "009/009   ABC12345  b\n"), 0);
    EXPECT_EQ(ReadFile(path), before + Entry("B.CNF", "009/009   ABC12345  b") + after) << damaged;
    // The stream follows the rewritten file.
    EXPECT_EQ(rec->UpdateRecord("C.CNF", "4"), 0);
    std::string c = after.empty() ? Entry("C.CNF", "4") : junk + Entry("C.CNF", "4");
    EXPECT_EQ(ReadFile(path), before + Entry("B.CNF", "009/009   ABC12345  b") + c) << damaged;
  }
}

TEST_F(RecordFile, OnlyLineStartsAreEntries) {
  // A long line whose second 79-byte piece happens to begin with the name.
  WriteFile(path, std::string(79, 'x') + "B.CNF:002/002   ABC12345  \r\n");
  auto rec = Open();
  EXPECT_FALSE(rec->FindRecord("B.CNF"));
}

TEST_F(RecordFile, RandomGarbageNeverBreaksAnUpdate) {
  std::string garbage;
  uint32_t seed = 7;
  for (int i = 0; i < 5000; ++i) {
    seed = seed * 1103515245 + 12345;
    garbage.push_back(static_cast<char>(seed >> 16));
  }
  WriteFile(path, garbage);
  auto rec = Open();
  EXPECT_EQ(rec->UpdateRecord("R.CNF", "001/001   ABC12345  r\n"), 0);
  std::string now = ReadFile(path);
  EXPECT_EQ(now.substr(0, garbage.size()), garbage);
  auto found = rec->FindRecord("R.CNF");
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, RecordEntry("R.CNF", "001/001   ABC12345  r") + "\n");
}

}  // namespace
}  // namespace rkv
