#include "divide/line_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::TempDir;
using test::WriteFile;

// Every case runs with read buffers of 1, 2 and 3 bytes as well as the real
// size, so CR LF pairs and two-byte characters fall across buffer ends.
class LineReaderBuffers : public ::testing::TestWithParam<size_t> {
 protected:
  void SetUp() override { SetStreamBufferSizeForTests(GetParam()); }
  void TearDown() override { SetStreamBufferSizeForTests(64 * 1024); }

  std::vector<std::string> ReadAll(std::string_view bytes) {
    std::string path = dir / "x.log";
    WriteFile(path, bytes);
    auto reader = LineReader::Open(path);
    EXPECT_TRUE(reader);
    std::vector<std::string> lines;
    std::string line;
    while (reader->Read(line)) lines.push_back(line);
    EXPECT_FALSE(reader->Failed());
    return lines;
  }
  TempDir dir;
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
  auto reader = LineReader::Open(path);
  std::string line;
  ASSERT_TRUE(reader->Read(line));
  int64_t mark = reader->Tell();
  EXPECT_EQ(mark, 7);
  ASSERT_TRUE(reader->Read(line));
  ASSERT_TRUE(reader->Read(line));
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
  auto reader = LineReader::Open(path);
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
