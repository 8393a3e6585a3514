#include "filer/dir_listing.h"

#include <gtest/gtest.h>

#include "core/cp932.h"
#include "core/paths.h"
#include "filer_fixture.h"
#include "platform/os.h"

namespace rkv {
namespace {

using test::LocalTime;
using test::Sj;

class DirListing : public test::FilerTest {
 protected:
  std::vector<std::string> Read(const std::string& pathOrPattern, int order = 0) {
    DirInfo list(kind, mask);
    list.Sort(order);
    list.Read(pathOrPattern, mode);
    std::vector<std::string> names;
    for (int i = 0; i < list.count(); ++i) names.push_back(list.at(i).name);
    dirCount = list.dirCount();
    return names;
  }
  int kind = kLogFiler;
  std::string mask = "*.*";
  DspMode mode;
  int dirCount = 0;
};

using List = std::vector<std::string>;

TEST_F(DirListing, DirectoriesFirstWithTheParentAtTheHeadThenMatchingFiles) {
  MakeDir("ZDIR");
  MakeDir("ADIR");
  MakeDir(".hidden");
  Make("b.log");
  Make("A.LOG");
  Make("c.txt");
  Make(".secret.log");
  mask = "*.LOG";
  EXPECT_EQ(Read(dir.path(), 1), (List{"..", "ADIR", "ZDIR", "A.LOG", "b.log"}));
  EXPECT_EQ(dirCount, 3);
  // A pattern in the name part becomes the mask.
  EXPECT_EQ(Read(PathJoin(dir.path(), "*.txt"), 1), (List{"..", "ADIR", "ZDIR", "c.txt"}));
}

TEST_F(DirListing, TheRootHasNoParentEntry) {
  List root = Read("/");
  EXPECT_TRUE(std::find(root.begin(), root.end(), "..") == root.end());
  EXPECT_FALSE(root.empty());
}

TEST_F(DirListing, AnEmptyDirectoryListsOnlyTheParentAndAMissingOneNothing) {
  EXPECT_EQ(Read(dir.path()), (List{".."}));
  EXPECT_EQ(Read(At("missing")), List{});
}

TEST_F(DirListing, EveryEntryOfAHugeDirectoryIsListedAndCanBeMarked) {
  for (int i = 0; i < 1100; ++i) Make("F" + std::to_string(10000 + i) + ".LOG");
  DirInfo list(kLogFiler);
  list.Sort(1);
  list.Read(dir.path(), mode);
  ASSERT_EQ(list.count(), 1101);
  list.SetMark(1100, true);
  EXPECT_TRUE(list.marked(1100));
  EXPECT_EQ(list.at(1100).name, "F11099.LOG");
  EXPECT_EQ(list.MarkedIndices(), std::vector<int>{1100});
}

TEST_F(DirListing, EverySortOrder) {
  MakeDir("B");
  MakeDir("A");
  Make("b.TXT", std::string(30, 'x'), LocalTime(1998, 3, 1, 10, 0));
  Make("a.LOG", std::string(10, 'x'), LocalTime(1998, 3, 1, 9, 0));
  Make("c.LOG", std::string(20, 'x'), LocalTime(1997, 1, 1));
  Make("NOEXT", std::string(40, 'x'), LocalTime(1999, 1, 1));
  const List dirs{"..", "A", "B"};
  auto files = [&](int order) {
    List all = Read(dir.path(), order);
    EXPECT_EQ(List(all.begin(), all.begin() + 3), dirs) << "order " << order;
    return List(all.begin() + 3, all.end());
  };
  EXPECT_EQ(files(1), (List{"NOEXT", "a.LOG", "b.TXT", "c.LOG"}));
  EXPECT_EQ(files(5), (List{"c.LOG", "b.TXT", "a.LOG", "NOEXT"}));
  EXPECT_EQ(files(2), (List{"NOEXT", "a.LOG", "c.LOG", "b.TXT"}));  // empty extension first
  EXPECT_EQ(files(6), (List{"b.TXT", "a.LOG", "c.LOG", "NOEXT"}));  // equal extensions by name
  EXPECT_EQ(files(3), (List{"NOEXT", "b.TXT", "a.LOG", "c.LOG"}));  // same day: later time first
  EXPECT_EQ(files(7), (List{"c.LOG", "a.LOG", "b.TXT", "NOEXT"}));
  EXPECT_EQ(files(4), (List{"NOEXT", "b.TXT", "c.LOG", "a.LOG"}));
  EXPECT_EQ(files(8), (List{"a.LOG", "c.LOG", "b.TXT", "NOEXT"}));
  EXPECT_EQ(InitialSortOrder(1), 1);
  EXPECT_EQ(InitialSortOrder(2), 3);
  EXPECT_EQ(InitialSortOrder(-1), 0);
}

FInfo Entry(std::string name, int64_t size, int year, int month, int day, int hour, int minute,
            bool directory = false) {
  FInfo e;
  e.name = std::move(name);
  e.size = size;
  e.attrib = directory ? kAttrDirectory : 0;
  e.date = static_cast<uint16_t>((year - 1980) << 9 | month << 5 | day);
  e.time = static_cast<uint16_t>(hour << 11 | minute << 5);
  return e;
}

TEST(DisplayLine, AllColumnsOfAFile) {
  DspMode mode;  // 16,1,1,1,1,0
  EXPECT_EQ(FormatDisplayLine(Entry("A0501.LOG", 123456, 1997, 5, 1, 9, 5), mode),
            "A0501           .LOG   123456 97-05-01 09:05");
  mode.flags = {0, 0, 1, 0, 1};
  EXPECT_EQ(FormatDisplayLine(Entry("A0501.LOG", 1, 1997, 5, 1, 9, 5), mode), "A0501            1997-05-01");
  mode.nameWidth = 0;
  mode.flags = {1, 1, 0, 0, 0};
  EXPECT_EQ(FormatDisplayLine(Entry("NOEXT", 7, 1997, 5, 1, 9, 5), mode), "            7");
}

TEST(DisplayLine, YearsAroundTheCenturyInTwoDigits) {
  DspMode mode;
  mode.flags = {0, 0, 1, 0, 0};
  mode.nameWidth = 1;
  EXPECT_EQ(FormatDisplayLine(Entry("A", 0, 2000, 1, 2, 0, 0), mode), "A 00-01-02");
  EXPECT_EQ(FormatDisplayLine(Entry("A", 0, 1999, 12, 31, 0, 0), mode), "A 99-12-31");
  EXPECT_EQ(FormatDisplayLine(Entry("A", 0, 1980, 1, 1, 0, 0), mode), "A 80-01-01");
  mode.flags[4] = 1;
  EXPECT_EQ(FormatDisplayLine(Entry("A", 0, 2000, 1, 2, 0, 0), mode), "A 2000-01-02");
}

TEST(DisplayLine, NameCutNeverLeavesHalfACharacter) {
  DspMode mode;
  mode.flags = {1, 0, 0, 0, 0};
  std::string twenty = "ABCDEFGHIJKLMNOPQRST.TXT";
  EXPECT_EQ(FormatDisplayLine(Entry(twenty, 0, 1990, 1, 1, 0, 0), mode), "ABCDEFGHIJKLMNOP.TXT ");
  // Byte 16 would be the first byte of 会.
  std::string name = "ABCDEFGHIJKLMNO" + Sj("会議") + ".CNF";
  EXPECT_EQ(FormatDisplayLine(Entry(name, 0, 1990, 1, 1, 0, 0), mode), "ABCDEFGHIJKLMNO .CNF ");
  // An extension of two-byte characters is cut whole too.
  EXPECT_EQ(FormatDisplayLine(Entry("A." + Sj("会議"), 0, 1990, 1, 1, 0, 0), mode).substr(16),
            "." + Sj("会") + "  ");
}

TEST(DisplayLine, DirectoryForms) {
  DspMode mode;
  FInfo d = Entry("LOGS", 0, 1998, 2, 3, 4, 5, true);
  EXPECT_EQ(FormatDisplayLine(d, mode), "LOGS                    <DIR> 98-02-03 04:05");
  mode.flags = {1, 0, 1, 1, 0};
  EXPECT_EQ(FormatDisplayLine(d, mode), "LOGS            <DIR> 98-02-03 04:05");
  mode.flags = {0, 0, 1, 0, 0};
  EXPECT_EQ(FormatDisplayLine(d, mode), "LOGS             <D>02-03");
  mode.flags = {0, 0, 1, 0, 1};
  EXPECT_EQ(FormatDisplayLine(d, mode), "LOGS             <D>8-02-03");
}

TEST(DisplayLine, TheParentEntryShowsWholeInTheNameColumn) {
  DspMode mode;
  EXPECT_EQ(FormatDisplayLine(Entry("..", 0, 1998, 2, 3, 4, 5, true), mode),
            "..                      <DIR> 98-02-03 04:05");
}

TEST_F(DirListing, ConferenceFilerAddsTheRoomTitle) {
  Make("ROOM.CNF", "- ROOM  MES( 5):" + Sj("雑談の部屋") + "\r\n" + std::string(80, 'x'));
  Make("PLAIN.CNF", std::string(100, 'y'));
  MakeDir("SUB");
  DspMode mode;
  mode.flags = {1, 0, 0, 0, 0};
  DirInfo list(kCnfFiler, "*.CNF");
  list.Sort(1);
  list.Read(dir.path(), mode);
  ASSERT_EQ(list.count(), 4);
  EXPECT_EQ(list.at(3).line, "ROOM            .CNF   " + Sj("雑談の部屋") + std::string(38, ' '));
  EXPECT_EQ(list.at(2).line, "PLAIN           .CNF " + std::string(50, ' '));
  EXPECT_EQ(list.at(1).line, "SUB             <DIR>" + std::string(50, ' '));
}

TEST_F(DirListing, MarkAllMarksFilesOnlyAndASecondPressUnmarks) {
  MakeDir("SUB");
  Make("a.log");
  Make("b.log");
  DirInfo list(kLogFiler);
  list.Sort(1);
  list.Read(dir.path(), mode);
  list.SetMark(1, true);  // a directory is never marked
  EXPECT_EQ(list.markCount(), 0);
  list.SetMark(2, true);
  list.MarkAllFiles();
  EXPECT_EQ(list.MarkedIndices(), (std::vector<int>{2, 3}));
  list.MarkAllFiles();
  EXPECT_EQ(list.markCount(), 0);
  list.SetMark(3, true);
  EXPECT_EQ(list.MarksUpTo(2), 0);
  EXPECT_EQ(list.MarksUpTo(3), 1);
  list.Read(dir.path(), mode);  // every read clears the marks
  EXPECT_EQ(list.markCount(), 0);
}

TEST_F(DirListing, StatusLineCountsEntriesAndRoundsKilobytesUp) {
  MakeDir("SUB");
  Make("a.log", std::string(1, 'x'));
  Make("b.log", std::string(1025, 'x'));
  DirInfo list(kLogFiler);
  list.Read(dir.path(), mode);
  std::string status = list.StatusLine();
  std::string head = "    4 " + Sj("ﾌｧｲﾙ") + "(       2 KB)  ";
  EXPECT_EQ(status.substr(0, head.size()), head);
  EXPECT_EQ(status.substr(status.size() - 8), " KB free");
  long long freeKb = std::stoll(status.substr(head.size()));
  EXPECT_NEAR(static_cast<double>(freeKb), static_cast<double>((os::FreeSpace(dir.path()) + 1023) / 1024),
              1024.0 * 64);
}

TEST_F(DirListing, AnEmptyListingStillShowsTheFreeSpace) {
  DirInfo empty(kLogFiler, "*.NONE");
  empty.Read(At("missing"), mode);
  std::string status = empty.StatusLine();
  EXPECT_EQ(status.substr(0, 6), "    0 ");
  EXPECT_NE(status.find(" KB free"), std::string::npos);
}

}  // namespace
}  // namespace rkv
