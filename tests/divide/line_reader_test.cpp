#include "divide/line_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::TempDir;
using test::WriteFile;

// Every case runs with read buffers of 1, 2 and 3 bytes as well as the real
// size, so CR LF pairs and two-byte characters fall across buffer ends; all
// but the 2-byte one read ahead on a thread of their own, as a division does.
class LineReaderBuffers : public ::testing::TestWithParam<size_t> {
 protected:
  void SetUp() override { SetStreamBufferSizeForTests(GetParam()); }
  void TearDown() override { SetStreamBufferSizeForTests(64 * 1024); }

  std::unique_ptr<LineReader> Open(const std::string& path) {
    return LineReader::Open(path, GetParam() == 2 ? nullptr : io.get());
  }
  std::vector<std::string> ReadAll(std::string_view bytes) {
    std::string path = dir / "x.log";
    WriteFile(path, bytes);
    auto reader = Open(path);
    EXPECT_TRUE(reader);
    std::vector<std::string> lines;
    std::string line;
    while (reader->Read(line)) lines.push_back(line);
    EXPECT_FALSE(reader->Failed());
    return lines;
  }
  TempDir dir;
  std::unique_ptr<IoThread> io = IoThread::Start();
};

TEST_P(LineReaderBuffers, CrLfIsOneLineFeedAndLoneCrIsAByte) {
  EXPECT_EQ(ReadAll("ab\r\n\r\ncd\re\r\n"), (std::vector<std::string>{"ab\n", "\n", "cd\re\n"}));
}

TEST_P(LineReaderBuffers, LongLinesComeIn253BytePieces) {
  std::string longLine(600, 'x');
  auto lines = ReadAll(longLine + "\r\nnext\r\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], std::string(253, 'x'));
  EXPECT_EQ(lines[1], std::string(253, 'x'));
  EXPECT_EQ(lines[2], std::string(94, 'x') + "\n");
  EXPECT_EQ(lines[3], "next\n");
  // 252 bytes and the line end fit one read: the line end is counted once.
  EXPECT_EQ(ReadAll(std::string(252, 'y') + "\r\n"), (std::vector<std::string>{std::string(252, 'y') + "\n"}));
}

TEST_P(LineReaderBuffers, TwoByteCharactersAndControlBytesPassUnchanged) {
  std::string sjis = test::Sj("会議室") + std::string("\x1A" "after\0nul", 10) + "\r\n";
  EXPECT_EQ(ReadAll(sjis), (std::vector<std::string>{sjis.substr(0, sjis.size() - 2) + "\n"}));
}

TEST_P(LineReaderBuffers, LastLineWithoutLineEndAndEmptyFile) {
  EXPECT_EQ(ReadAll("one\r\ntwo"), (std::vector<std::string>{"one\n", "two"}));
  EXPECT_TRUE(ReadAll("").empty());
  // A log with CR-only line ends is one long line read in pieces.
  auto pieces = ReadAll(std::string(300, 'a') + "\r" + std::string(10, 'b'));
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[1].size(), 58u);
}

TEST_P(LineReaderBuffers, ReadingAheadAndComingBack) {
  std::string path = dir / "y.log";
  WriteFile(path, "first\r\nsecond\r\nthird\r\n");
  auto reader = Open(path);
  std::string line;
  ASSERT_TRUE(reader->Read(line));
  int64_t mark = reader->Tell();
  EXPECT_EQ(mark, 7);
  ASSERT_TRUE(reader->Read(line));
  // Back while the rest of the file may still be being read ahead, and at its end.
  ASSERT_TRUE(reader->Seek(mark));
  for (const char* expected : {"second\n", "third\n"}) {
    ASSERT_TRUE(reader->Read(line));
    EXPECT_EQ(line, expected);
  }
  EXPECT_FALSE(reader->Read(line));
  ASSERT_TRUE(reader->Seek(mark));
  ASSERT_TRUE(reader->Read(line));
  EXPECT_EQ(line, "second\n");
}

// A line ending in CR LF with no NUL or end-of-file byte is handed out with
// its bytes in the file, to be written as they are; no other line is. The
// line read stays where it is while the next one is read ahead.
TEST_P(LineReaderBuffers, VerbatimLinesAndViewsThatStay) {
  std::string path = dir / "v.log";
  std::string longLine(300, 'x');
  WriteFile(path, "plain\r\n" + std::string("nul\0\r\n", 6) + "eof\x1A\r\nbare\n" + longLine + "\r\nlast");
  struct Row {
    std::string line;
    bool verbatim;
  };
  std::vector<Row> rows = {{"plain\n", true},          {std::string("nul\0\n", 5), false},
                           {"eof\x1A\n", false},       {"bare\n", false},
                           {longLine.substr(0, 253), false}, {longLine.substr(253) + "\n", true},
                           {"last", false}};
  auto reader = Open(path);
  ASSERT_TRUE(reader);
  for (const Row& row : rows) {
    ASSERT_TRUE(reader->Next());
    std::string_view line = reader->line();
    std::string copy(line);
    EXPECT_EQ(copy, row.line);
    std::string_view verbatim = reader->Verbatim();
    EXPECT_EQ(!verbatim.empty(), row.verbatim) << copy;
    if (row.verbatim) {
      EXPECT_EQ(std::string(verbatim.substr(0, verbatim.size() - 2)) + "\n", row.line);
    }
    std::string_view next;
    reader->Peek(next);
    EXPECT_EQ(reader->line(), copy);
    EXPECT_EQ(line, copy);  // the view taken before reading ahead
  }
  EXPECT_FALSE(reader->Next());
}

// Skipping takes exactly the lines Next() would give, as long as each ends in
// CR LF, holds no NUL or end-of-file byte, starts with no stopping prefix, and
// their text stays under the budget. Lines to note (first byte "N", "/" at
// column 3 or 5) stop a skip without a test; with one, the skip goes on and
// keeps the last line the test passed, shown to it as Next() shows it.
TEST_P(LineReaderBuffers, SkipsTakeOnlyPlainLinesTheStopsTurnAway) {
  const std::vector<std::string> kinds = {
      "plain text", "- prompt", "-x no prompt", "No. 12", "ab/cd", "abcde/f", "ab", "", "abc", "\x81\x84>",
      test::Sj("　字下げ"), std::string(70, 'w'), std::string(300, 'L'), std::string("nul\0in", 6), "eof\x1A",
      "x/", "Nd"};
  auto toNote = [](std::string_view text) {  // text without its line feed
    return text.starts_with("N") || (text.size() > 3 && text[3] == '/') || (text.size() > 5 && text[5] == '/');
  };
  auto test = [](std::string_view text) { return text.ends_with("\n") && text.find('d') != std::string_view::npos; };
  std::string log;
  uint32_t seed = 12345;
  for (int i = 0; i < 3000; ++i) {
    seed = seed * 1103515245 + 12345;
    log += kinds[(seed >> 16) % kinds.size()] + ((seed >> 8) % 17 == 0 ? "\n" : "\r\n");
  }
  std::vector<std::string> expected = ReadAll(log);
  for (bool tested : {false, true}) {
    for (int64_t limit : {int64_t{1} << 40, int64_t{100}}) {
      SCOPED_TRACE(testing::Message() << tested << " " << limit);
      std::string path = dir / "s.log";
      WriteFile(path, log);
      auto reader = Open(path);
      LineStops stops;
      for (std::string_view prefix : {"- ", "\x81\x84"}) stops.Begin(prefix);
      stops.NoteBegin('N');
      stops.NoteAt(3, '/');
      stops.NoteAt(5, '/');
      if (tested) stops.NoteWhen(test);
      std::vector<std::string> lines;
      size_t skipped = 0, noted = 0;
      for (;;) {
        int64_t budget = limit, before = limit;
        LineReader::Skipped run = reader->SkipVerbatim(stops, budget);
        std::string last;
        for (size_t from = 0; from < run.lines.size();) {
          size_t end = run.lines.find("\r\n", from);
          ASSERT_NE(end, std::string_view::npos);
          std::string_view text = run.lines.substr(from, end - from);
          EXPECT_FALSE(text.starts_with("- ") || text.starts_with("\x81\x84")) << text;
          EXPECT_TRUE(tested || !toNote(text)) << text;
          EXPECT_EQ(text.find_first_of(std::string_view("\0\x1A\n", 3)), std::string_view::npos);
          if (toNote(text) && test(std::string(text) + "\n")) last = std::string(text) + "\r\n";
          lines.push_back(std::string(text) + "\n");
          before -= static_cast<int64_t>(text.size() + 1);
          from = end + 2;
          ++skipped;
        }
        EXPECT_EQ(run.noted, last);
        noted += !last.empty();
        EXPECT_EQ(before, budget);
        EXPECT_GT(budget, 0);
        if (!reader->Next()) break;
        lines.emplace_back(reader->line());
      }
      EXPECT_EQ(lines, expected);
      // Small read buffers seldom hold enough ahead of a line to skip it.
      if (GetParam() > 1000) {
        EXPECT_GT(skipped, 300u);
        EXPECT_EQ(noted > 0, tested);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, LineReaderBuffers, ::testing::Values(1, 2, 3, 65536));

TEST(LineReader, OnlyRegularFilesOpen) {
  TempDir dir;
  EXPECT_FALSE(LineReader::Open(dir / "missing.log"));
  EXPECT_FALSE(LineReader::Open(dir.path()));
  // Opening a pipe without a writer would wait for ever.
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
  EXPECT_FALSE(LineReader::Open(dir / "pipe"));
  EXPECT_FALSE(LineReader::Open("/dev/zero"));
  WriteFile(dir / ".hidden.log", "x\r\n");
  EXPECT_TRUE(LineReader::Open(dir / ".hidden.log"));
}

}  // namespace
}  // namespace rkv
