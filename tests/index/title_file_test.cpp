#include "index/title_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "index/title_records.h"
#include "platform/os.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;
using test::TempDir;

std::string Header(int n, int total = 999) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "%03d/%03d   ABC12345  handle  subject %d", n, total, n);
  return buf;
}
std::string Message(int n, int commentTo) {
  char after[80];
  std::snprintf(after, sizeof after, "       97/05/12 10:30  %05d  ", commentTo);
  return Header(n) + "\r\n" + after + "\r\nbody " + std::to_string(n) + "\r\n";
}

// A record as it must stand on disk: the literal number columns, the text, blanks, CR LF.
std::string Record(const std::string& numbers, const std::string& text) {
  std::string r = numbers + text;
  r.resize(98, ' ');
  return r + "\r\n";
}

class TitleFile : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string conf_ = dir_ / "ROOM_05.CNF";
  std::string ttl_ = dir_ / "ROOM_05.TTL";

  int Load(TitleInfo& table, std::string* error = nullptr) {
    return LoadConferenceTitles(table, conf_, ttl_, error);
  }
  // What a first opening shows for the file as it is now, in a folder of its own.
  std::pair<TitleInfo, std::string> Fresh() {
    TempDir other;
    std::filesystem::copy_file(conf_, other / "ROOM_05.CNF");
    TitleInfo table;
    EXPECT_EQ(LoadConferenceTitles(table, other / "ROOM_05.CNF", other / "ROOM_05.TTL"), 0);
    return {table, test::ReadFile(other / "ROOM_05.TTL")};
  }
  void ExpectSameAsFresh(const TitleInfo& table) {
    auto [fresh, bytes] = Fresh();
    EXPECT_EQ(table.titles(), fresh.titles());
    EXPECT_EQ(table.lineCount, fresh.lineCount);
    EXPECT_EQ(table.fileSize, fresh.fileSize);
    std::string ours = test::ReadFile(ttl_);
    ASSERT_EQ(ours.size(), bytes.size());
    // Signature, size, line count and every title record; the read position
    // and the two kept values come from the old header.
    EXPECT_EQ(ours.substr(0, 45), bytes.substr(0, 45));
    EXPECT_EQ(ours.substr(100), bytes.substr(100));
  }
};

TEST(TitleFileName, BaseUpToTheFirstDotThenTtl) {
  EXPECT_EQ(TitleFileName("/cnf/MYCNF.CNF", "/ttl"), "/ttl/MYCNF.TTL");
  EXPECT_EQ(TitleFileName("/cnf/MYCNF.CNF", "/ttl/"), "/ttl/MYCNF.TTL");
  EXPECT_EQ(TitleFileName("/cnf/a.b.cnf", "/ttl"), "/ttl/a.TTL");
  EXPECT_EQ(TitleFileName("/cnf/ROOM/ROOM_1", "/ttl"), "/ttl/ROOM_1.TTL");
  EXPECT_EQ(TitleFileName("MYCNF.CNF", ""), "MYCNF.TTL");
  EXPECT_EQ(TitleFileName("/x/..", "/ttl"), "/ttl/.TTL");  // never leaves the folder
}

TEST_F(TitleFile, GoldenFileWrittenByteForByte) {
  std::string prompt = "- ROOM  MES( 5):" + Sj("テスト") + "\r\n";
  std::string data = prompt + Message(1, 0) + Message(2, 1);
  test::WriteFile(conf_, data);
  TitleInfo table;
  ASSERT_EQ(Load(table), 0);
  ASSERT_EQ(table.count(), 2);
  ASSERT_EQ(data.size(), 182u);
  std::string expected = Record(Sj("RKV.EXE: ﾀｲﾄﾙ情報ﾌｧｲﾙ") + "         182     7      0    1000  0", "") +
                         Record("25      2     0     ", Header(1)) + Record("104     5     1     ", Header(2));
  EXPECT_EQ(test::ReadFile(ttl_), expected);
  EXPECT_EQ(table.readPosition, 0);
  EXPECT_EQ(table.value4, 1000);
}

TEST_F(TitleFile, NoHeadersGiveTheHeaderRecordAlone) {
  test::WriteFile(conf_, "no\r\nheaders\r\n");
  TitleInfo table;
  EXPECT_EQ(Load(table), 0);
  EXPECT_EQ(table.count(), 0);
  EXPECT_EQ(test::ReadFile(ttl_), Record(Sj("RKV.EXE: ﾀｲﾄﾙ情報ﾌｧｲﾙ") + "         13      2      0    1000  0", ""));
}

TEST_F(TitleFile, OpeningKeepsTheStoredValuesAndRebuildsTheTitles) {
  test::WriteFile(conf_, Message(1, 0) + Message(2, 1));
  // An old file: read position 12 written on its own, other values of its own,
  // a stale title list.
  std::string old = Record(Sj("RKV.EXE: ﾀｲﾄﾙ情報ﾌｧｲﾙ") + "         5       1      12  d1234  77", "") +
                    Record("999     9     N   42", "stale");
  test::WriteFile(ttl_, old);
  TitleInfo table;
  ASSERT_EQ(Load(table), 0);
  EXPECT_EQ(table.readPosition, 12);
  EXPECT_EQ(table.value4, 1234);
  EXPECT_EQ(table.value6, 77);
  ASSERT_EQ(table.count(), 2);
  EXPECT_EQ(table.title(1).offset, static_cast<int64_t>(Message(1, 0).size()) + 1);
  std::string now = test::ReadFile(ttl_);
  EXPECT_EQ(now.substr(30, 68), "158     6      12   1234  77" + std::string(40, ' '));
}

TEST_F(TitleFile, BadTitleFilesAreRebuiltNeverTrusted) {
  test::WriteFile(conf_, Message(1, 0) + Message(2, 1) + Message(3, 2));
  std::string good = Fresh().second;
  const std::vector<std::string> bad = {
      good.substr(0, 150),                                        // truncated
      std::string(5000, '\xff'),                                  // garbage
      good.substr(0, 100) + Record("99999999999999999999", "x"),  // past the end, huge
      good.substr(0, 100) + Record("-5      -3    -1    ", Header(1)),
      Record(Sj("RKV.EXE: ﾀｲﾄﾙ情報ﾌｧｲﾙ") + "         -99999999-99999999999", "") + good.substr(100),
      std::string("\0\0\0", 3),
      "",
  };
  for (size_t i = 0; i < bad.size(); ++i) {
    test::WriteFile(ttl_, bad[i]);
    TitleInfo table;
    ASSERT_EQ(Load(table), 0) << i;
    ExpectSameAsFresh(table);
  }
}

TEST_F(TitleFile, TitleFileOfAnotherConferenceIsRebuilt) {
  test::WriteFile(conf_, Message(5, 0) + Message(6, 5));
  std::string other = Fresh().second;
  test::WriteFile(conf_, "x\r\n" + Message(1, 0) + Message(2, 0) + Message(3, 1));
  test::WriteFile(ttl_, other);
  TitleInfo table;
  ASSERT_EQ(Load(table), 0);
  ExpectSameAsFresh(table);
}

TEST_F(TitleFile, ReloadReusesOrExtendsExactlyAsARebuildWould) {
  std::string data = Message(1, 0) + Message(2, 1);
  test::WriteFile(conf_, data);
  TitleInfo table;
  ASSERT_EQ(Load(table), 0);
  ASSERT_EQ(Load(table), 0);  // unchanged: reused
  ExpectSameAsFresh(table);

  data += Message(3, 1) + std::string(300, 'x') + "\r\n" + Message(4, 3);
  test::WriteFile(conf_, data);
  ASSERT_EQ(Load(table), 0);  // appended: extended
  ASSERT_EQ(table.count(), 4);
  ExpectSameAsFresh(table);
  EXPECT_EQ(table.title(3).line, 12);
  ASSERT_NE(table.tree(), nullptr);
  EXPECT_EQ(table.tree()->RowOf(3), 3);
  EXPECT_EQ(table.tree()->row(3).depth, 2);
}

TEST_F(TitleFile, ReloadAfterAnAppendThatCompletesALineOrAHeader) {
  // The old file ended in a header without its line after, and then in the
  // middle of a line: scanning on from the old end would go wrong both times.
  std::string data = Message(1, 0) + Header(2) + "\r\n";
  test::WriteFile(conf_, data);
  TitleInfo table;
  ASSERT_EQ(Load(table), 0);
  EXPECT_EQ(table.title(1).commentTo, 0);
  data += "       97/05/12 10:30  00001  \r\nbody" + std::string(10, ' ');
  test::WriteFile(conf_, data);
  ASSERT_EQ(Load(table), 0);
  EXPECT_EQ(table.title(1).commentTo, 1);
  ExpectSameAsFresh(table);
  data += Header(3) + "\r\n";  // ends the body line; no header there
  test::WriteFile(conf_, data);
  ASSERT_EQ(Load(table), 0);
  EXPECT_EQ(table.count(), 2);
  ExpectSameAsFresh(table);
}

TEST_F(TitleFile, ReloadAfterAnEditIsARebuild) {
  test::WriteFile(conf_, Message(1, 0) + Message(2, 1));
  TitleInfo table;
  ASSERT_EQ(Load(table), 0);
  // Same size, the last header gone.
  std::string edited = Message(1, 0) + Message(2, 1);
  edited[edited.find("002/")] = 'X';
  test::WriteFile(conf_, edited);
  ASSERT_EQ(Load(table), 0);
  EXPECT_EQ(table.count(), 1);
  ExpectSameAsFresh(table);
  // A title file changed behind the table's back is not trusted either.
  test::WriteFile(conf_, Message(1, 0) + Message(2, 1));
  ASSERT_EQ(Load(table), 0);
  std::string file = test::ReadFile(ttl_);
  file.replace(100, 8, "7       ");
  test::WriteFile(ttl_, file);
  ASSERT_EQ(Load(table), 0);
  ExpectSameAsFresh(table);
}

TEST_F(TitleFile, TenThousandTitlesAtMostAndExtendingAFullTable) {
  std::string data;
  for (int i = 1; i <= 10001; ++i) data += Message(i % 1000, 0);
  test::WriteFile(conf_, data);
  TitleInfo table;
  ASSERT_EQ(Load(table), 0);
  EXPECT_EQ(table.count(), 10000);
  EXPECT_EQ(table.lineCount, 9999 * 3 + 2);
  EXPECT_EQ(test::ReadFile(ttl_).size(), 10001u * 100);
  test::WriteFile(conf_, data + Message(5, 0));
  ASSERT_EQ(Load(table), 0);
  ExpectSameAsFresh(table);
}

TEST_F(TitleFile, NumbersBeyondTheColumnsStayInMemoryOnly) {
  // A header past line 999,999 cannot be stored in its six columns.
  std::string data = Message(1, 0);
  data.reserve(3'100'000);
  for (int i = 0; i < 1'000'000; ++i) data += "x\r\n";
  data += Message(2, 1);
  test::WriteFile(conf_, data);
  test::WriteFile(ttl_, Record(Sj("RKV.EXE: ﾀｲﾄﾙ情報ﾌｧｲﾙ") + "         0       0      1    1000  0", "") +
                           Record("1       1     0     ", "stale"));
  TitleInfo table;
  std::string error;
  ASSERT_EQ(Load(table, &error), 0);
  ASSERT_EQ(table.count(), 2);
  EXPECT_EQ(table.title(1).line, 1'000'004);
  EXPECT_FALSE(error.empty());
  // The file keeps a valid header (with the read position) and nothing else.
  std::string file = test::ReadFile(ttl_);
  ASSERT_EQ(file.size(), 100u);
  auto header = ParseHeaderRecord(file);
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ(header->fileSize, static_cast<int64_t>(data.size()));
  EXPECT_EQ(header->lineCount, 1'000'006);
  EXPECT_EQ(header->readPosition, 1);
  EXPECT_EQ(SaveReadPosition(table, ttl_, 1), 0);  // not forward: nothing written
  EXPECT_EQ(test::ReadFile(ttl_), file);
}

TEST_F(TitleFile, FailedWriteLeavesTheOldFile) {
  test::WriteFile(conf_, Message(1, 0));
  std::string old = Record(Sj("RKV.EXE: ﾀｲﾄﾙ情報ﾌｧｲﾙ") + "         5       1      3   d1000  0", "");
  test::WriteFile(ttl_, old);
  os::SetWriteFaultHook([](size_t) { return ENOSPC; });
  TitleInfo table;
  std::string error;
  int rc = Load(table, &error);
  os::SetWriteFaultHook(nullptr);
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(table.count(), 1);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(test::ReadFile(ttl_), old);
  size_t files = 0;
  for (auto& entry : std::filesystem::directory_iterator(dir_.path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 2u);  // no temporary file left behind
}

TEST_F(TitleFile, LoadFailsWhenEitherFileCannotBeOpened) {
  TitleInfo table;
  EXPECT_EQ(Load(table), -1);
  EXPECT_FALSE(test::Exists(ttl_));
  test::WriteFile(conf_, Message(1, 0));
  std::string error;
  EXPECT_EQ(LoadConferenceTitles(table, conf_, dir_ / "nodir/ROOM_05.TTL", &error), -1);
  EXPECT_NE(error.find("nodir/ROOM_05.TTL"), std::string::npos) << error;
  // A folder in place of the conference file: reading fails, nothing is stored.
  std::filesystem::create_directories(dir_ / "FOLDER.CNF");
  EXPECT_EQ(LoadConferenceTitles(table, dir_ / "FOLDER.CNF", ttl_), -1);
  EXPECT_EQ(table.count(), 0);
}

TEST_F(TitleFile, NeverStoredOverItsOwnConferenceFile) {
  // A room file named like its index, lying in the title folder.
  std::string room = dir_ / "ROOM.TTL";
  std::string contents = Message(1, 0) + Message(2, 1);
  test::WriteFile(room, contents);
  std::filesystem::create_symlink(room, dir_ / "LINK.CNF");
  for (const std::string& source : {room, dir_ / "LINK.CNF"}) {
    TitleInfo table;
    std::string error;
    EXPECT_EQ(LoadConferenceTitles(table, source, room, &error), 0) << source;
    EXPECT_EQ(table.count(), 2);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(SaveReadPosition(table, room, 1), 0);
    EXPECT_EQ(test::ReadFile(room), contents);
  }
}

TEST_F(TitleFile, SpecialTitleFilesFailInsteadOfHanging) {
  test::WriteFile(conf_, Message(1, 0));
  ASSERT_EQ(::mkfifo(ttl_.c_str(), 0600), 0);
  TitleInfo table;
  EXPECT_EQ(Load(table), -1);
  std::filesystem::remove(ttl_);
  std::filesystem::create_symlink("/dev/zero", ttl_);
  EXPECT_EQ(Load(table), -1);
  EXPECT_EQ(SaveReadPosition(table, ttl_, 0), 0);
}

TEST_F(TitleFile, ReadPositionMovesForwardOnlyAndIsWrittenInPlace) {
  std::string data;
  for (int i = 1; i <= 15; ++i) data += Message(i, 0);
  test::WriteFile(conf_, data);
  TitleInfo table;
  ASSERT_EQ(Load(table), 0);
  std::string before = test::ReadFile(ttl_);
  EXPECT_EQ(SaveReadPosition(table, ttl_, 12), 0);
  std::string after = test::ReadFile(ttl_);
  EXPECT_EQ(after.substr(45, 5), "12  d");
  EXPECT_EQ(after.substr(0, 45) + after.substr(50), before.substr(0, 45) + before.substr(50));
  EXPECT_EQ(SaveReadPosition(table, ttl_, 5), 0);  // backwards: kept
  EXPECT_EQ(test::ReadFile(ttl_).substr(45, 5), "12  d");
  TitleInfo again;
  ASSERT_EQ(Load(again), 0);
  EXPECT_EQ(again.readPosition, 12);
}

TEST_F(TitleFile, StoredPositionOutOfRangeStartsAgainFromZero) {
  test::WriteFile(conf_, Message(1, 0) + Message(2, 0) + Message(3, 0));
  for (const char* stored : {"20   ", "3    ", "-7   "}) {
    test::WriteFile(ttl_, Record(Sj("RKV.EXE: ﾀｲﾄﾙ情報ﾌｧｲﾙ") + "         0       0      " + stored, ""));
    TitleInfo table;
    ASSERT_EQ(Load(table), 0);
    EXPECT_EQ(SaveReadPosition(table, ttl_, 1), 0);
    EXPECT_EQ(test::ReadFile(ttl_).substr(45, 5), "1   d") << stored;
    EXPECT_EQ(table.readPosition, 1);
    test::WriteFile(ttl_, Record(Sj("RKV.EXE: ﾀｲﾄﾙ情報ﾌｧｲﾙ") + "         0       0      " + stored, ""));
    ASSERT_EQ(Load(table), 0);
    EXPECT_EQ(SaveReadPosition(table, ttl_, 0), 0);
    EXPECT_EQ(test::ReadFile(ttl_).substr(45, 5), "0   d") << stored;
  }
}

TEST_F(TitleFile, ReadPositionLeavesMissingOrForeignFilesAlone) {
  test::WriteFile(conf_, Message(1, 0) + Message(2, 0));
  TitleInfo table;
  ASSERT_EQ(Load(table), 0);
  std::filesystem::remove(ttl_);
  EXPECT_EQ(SaveReadPosition(table, ttl_, 1), 0);
  EXPECT_FALSE(test::Exists(ttl_));
  std::string foreign(300, 'z');
  test::WriteFile(ttl_, foreign);
  EXPECT_EQ(SaveReadPosition(table, ttl_, 1), 0);
  EXPECT_EQ(test::ReadFile(ttl_), foreign);
}

TEST(TitleRecords, ColumnsAndTheirLimits) {
  TitleNode t;
  t.offset = 99'999'999;
  t.line = 999'999;
  t.commentTo = -9999;
  auto record = FormatTitleRecord(t);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->substr(0, 20), "99999999999999-9999 ");
  t.offset = 100'000'000;
  EXPECT_FALSE(FormatTitleRecord(t));
  t.offset = 1;
  t.line = 1'000'000;
  EXPECT_FALSE(FormatTitleRecord(t));
  TitleFileHeader h;
  h.lineCount = 10'000'000;
  EXPECT_FALSE(FormatHeaderRecord(h));
  EXPECT_EQ(HeaderThatFits(h).lineCount, 0);
  EXPECT_EQ(FormatReadPosition(12), "12  d");
  EXPECT_EQ(FormatReadPosition(9999), "9999d");
  EXPECT_FALSE(FormatReadPosition(10000));
  EXPECT_FALSE(FormatReadPosition(-1));
}

TEST(TitleRecords, OldFormsAndFieldWidthsOnReading) {
  TitleNode t = ParseTitleRecord(Record("123456789012N   42  ", "title"));
  EXPECT_EQ(t.offset, 12345678);
  EXPECT_EQ(t.line, 9012);
  EXPECT_EQ(t.commentTo, 42);
  EXPECT_EQ(std::string(t.Text().substr(0, 6)), "title ");
  auto h = ParseHeaderRecord(Record(Sj("RKV.EXE: ﾀｲﾄﾙ情報ﾌｧｲﾙ") + "         123456789012345678901234567", ""));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->fileSize, 12345678);
  EXPECT_EQ(h->lineCount, 9012345);
  EXPECT_EQ(h->readPosition, 67890);
  EXPECT_EQ(h->value4, 123456);
  EXPECT_EQ(h->value6, 7);
  EXPECT_FALSE(ParseHeaderRecord(Record("RKV.EXE: something else", "")));
}

TEST(TitleInfoSelection, MarksAndCounts) {
  TitleInfo table;
  table.Assign(std::vector<TitleNode>(5));
  table.ToggleSelected(1);
  table.SetSelected(3, true);
  table.SetSelected(3, true);
  EXPECT_EQ(table.markedCount(), 2);
  table.InvertSelection();
  EXPECT_EQ(table.markedCount(), 3);
  EXPECT_FALSE(table.selected(1));
  EXPECT_TRUE(table.selected(0));
  table.SelectAll();
  EXPECT_EQ(table.markedCount(), 5);
  table.SelectNone();
  EXPECT_EQ(table.markedCount(), 0);
  table.SetSelected(2, true);
  table.Assign(std::vector<TitleNode>(2));  // a new load clears the selection
  EXPECT_EQ(table.markedCount(), 0);
  table.Assign(std::vector<TitleNode>(10005));
  EXPECT_EQ(table.count(), 10000);
}

}  // namespace
}  // namespace rkv
