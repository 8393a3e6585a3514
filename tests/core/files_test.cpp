#include "core/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "core/io_thread.h"
#include "platform/os.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class StreamBuffers : public ::testing::TestWithParam<size_t> {
 protected:
  void SetUp() override { SetStreamBufferSizeForTests(GetParam()); }
  void TearDown() override { SetStreamBufferSizeForTests(64 * 1024); }
  TempDir dir;
};

// Reads every line with fgets semantics and the given buffer size.
std::vector<std::string> Lines(Stream& s, size_t n) {
  std::vector<std::string> out;
  std::string line;
  while (s.Gets(line, n)) out.push_back(line);
  return out;
}

TEST_P(StreamBuffers, TextModeTurnsCrLfIntoOneLineFeed) {
  std::string path = dir / "a.txt";
  WriteFile(path, "ab\r\ncd\re\n\r\nlast");
  auto s = OpenTextRead(path);
  ASSERT_TRUE(s);
  EXPECT_EQ(Lines(*s, 256), (std::vector<std::string>{"ab\n", "cd\re\n", "\n", "last"}));
  EXPECT_TRUE(s->AtEnd());
}

TEST_P(StreamBuffers, BoundedReadsSplitLongLinesAndCountCrLfOnce) {
  std::string path = dir / "b.txt";
  WriteFile(path, "abcdef\r\nxy\r\n");
  auto s = OpenTextRead(path);
  // A buffer of 4 takes three characters at a time; CR LF is one character.
  EXPECT_EQ(Lines(*s, 4), (std::vector<std::string>{"abc", "def", "\n", "xy\n"}));
}

TEST_P(StreamBuffers, PositionsAreRealByteOffsets) {
  std::string path = dir / "c.txt";
  WriteFile(path, "ab\r\ncde\r\n");
  auto s = OpenTextRead(path);
  std::string line;
  ASSERT_TRUE(s->Gets(line, 256));
  EXPECT_EQ(s->Tell(), 4);
  // position after the line minus its length read: one more than its start
  ASSERT_TRUE(s->Gets(line, 256));
  EXPECT_EQ(s->Tell() - static_cast<int64_t>(line.size()), 5);
  ASSERT_TRUE(s->Seek(4, SEEK_SET));
  ASSERT_TRUE(s->Gets(line, 256));
  EXPECT_EQ(line, "cde\n");
}

TEST_P(StreamBuffers, BinaryModePassesBytes) {
  std::string path = dir / "d.bin";
  WriteFile(path, std::string("a\r\n\0\x1A" "b", 6));
  auto s = Stream::Open(path, "rb");
  std::string line;
  ASSERT_TRUE(s->Gets(line, 256));
  EXPECT_EQ(line, "a\r\n");
  ASSERT_TRUE(s->Gets(line, 256));
  EXPECT_EQ(line, std::string("\0\x1A" "b", 3));
}

INSTANTIATE_TEST_SUITE_P(Sizes, StreamBuffers, ::testing::Values(1, 2, 3, 65536));

TEST(Stream, TextWritesBecomeCrLfAndUpdateKeepsTheRest) {
  TempDir dir;
  std::string path = dir / "w.txt";
  {
    auto s = OpenTextUpdate(path);  // created
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->Write("one\ntwo\n"));
    EXPECT_TRUE(s->Close());
  }
  EXPECT_EQ(ReadFile(path), "one\r\ntwo\r\n");
  {
    auto s = OpenTextUpdate(path);  // opened, not truncated
    ASSERT_TRUE(s->Seek(5, SEEK_SET));
    s->Write("TWO");
    s->Close();
  }
  EXPECT_EQ(ReadFile(path), "one\r\nTWO\r\n");
}

TEST(Stream, ReadThenWriteThenReadAtTheRightPlaces) {
  TempDir dir;
  std::string path = dir / "rw.bin";
  WriteFile(path, "0123456789");
  auto s = OpenBinaryUpdate(path);
  char buf[3];
  ASSERT_EQ(s->Read(buf, 3), 3u);
  ASSERT_TRUE(s->Write("ab"));
  EXPECT_EQ(s->Tell(), 5);
  ASSERT_EQ(s->Read(buf, 2), 2u);
  EXPECT_EQ(std::string(buf, 2), "56");
  s->Close();
  EXPECT_EQ(ReadFile(path), "012ab56789");
}

TEST(Stream, WritingAtAnOffsetLeavesThePositionAlone) {
  TempDir dir;
  std::string path = dir / "at.txt";
  WriteFile(path, "0123456789");
  auto s = Stream::Open(path, "r+t");
  char buf[4];
  ASSERT_EQ(s->Read(buf, 3), 3u);
  ASSERT_TRUE(s->WriteAt(1, "a\n"));  // a line feed becomes CR LF here too
  ASSERT_EQ(s->Read(buf, 2), 2u);  // the position stayed at 3, where the new line feed now is
  EXPECT_EQ(std::string(buf, 2), "\n4");
  ASSERT_TRUE(s->Seek(0, SEEK_SET));
  ASSERT_EQ(s->Read(buf, 4), 4u);  // what was read ahead before is read again
  EXPECT_EQ(std::string(buf, 4), "0a\n4");
  os::SetWriteFaultHook([](size_t) { return ENOSPC; });
  EXPECT_FALSE(s->WriteAt(0, "z"));
  os::SetWriteFaultHook(nullptr);
  EXPECT_TRUE(s->Failed());
  s->Close();
  EXPECT_EQ(ReadFile(path), "0a\r\n456789");
}

TEST(Stream, AFailedWriteIsReportedAndSticks) {
  TempDir dir;
  std::string path = dir / "f.bin";
  auto s = Stream::Open(path, "w+b");
  ASSERT_TRUE(s);
  os::SetWriteFaultHook([](size_t) { return ENOSPC; });
  s->Write("data");
  bool closed = s->Close();
  os::SetWriteFaultHook(nullptr);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(s->Failed());
  EXPECT_EQ(s->LastErrno(), ENOSPC);
}

// Big write buffers come from a shared pool: streams that hold them at once,
// more than one pool chunk's worth, and streams that take the buffers of closed
// ones must never write each other's bytes.
// Also with their full buffers written behind, by a thread of their own.
class ManyStreams : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Stream, ManyStreams, ::testing::Bool());

TEST_P(ManyStreams, ManyBufferedStreamsKeepTheirOwnBytes) {
  TempDir dir;
  constexpr int kStreams = 70;
  auto behind = GetParam() ? IoThread::Start() : nullptr;
  std::vector<std::unique_ptr<Stream>> streams;
  std::vector<std::string> expected(kStreams * 2);
  auto open = [&](int i) {
    auto s = Stream::Open(dir / std::to_string(i), "w+b");
    s->ReserveWrites();
    s->WriteBehindBy(behind.get());
    return s;
  };
  for (int i = 0; i < kStreams; ++i) streams.push_back(open(i));
  for (int round = 0; round < 40; ++round) {
    for (int i = 0; i < kStreams; ++i) {
      int file = round < 20 || i % 2 ? i : i + kStreams;
      if (round == 20 && i % 2 == 0) {
        ASSERT_TRUE(streams[i]->Close());
        streams[i] = open(file);
      }
      std::string piece(997 + round, static_cast<char>('A' + (file + round) % 26));
      ASSERT_TRUE(streams[i]->Write(piece));
      expected[file] += piece;
    }
  }
  for (auto& s : streams) ASSERT_TRUE(s->Close());
  for (int file = 0; file < kStreams * 2; ++file) {
    if (file % 2 == 0 || file < kStreams) {
      EXPECT_EQ(ReadFile(dir / std::to_string(file)), expected[file]) << file;
    }
  }
}

// A write behind that fails shows when its stream closes; the stream's
// later buffers are not written, and the other streams' are.
TEST(Stream, AFailedWriteBehindShowsAtClose) {
  TempDir dir;
  auto behind = IoThread::Start();
  ASSERT_TRUE(behind);
  std::vector<size_t> writes;
  os::SetWriteFaultHook([&](size_t n) { return writes.push_back(n), writes.size() == 3 ? ENOSPC : 0; });
  auto a = OpenBinaryUpdate(dir / "a"), b = OpenBinaryUpdate(dir / "b");
  a->WriteBehindBy(behind.get());
  b->WriteBehindBy(behind.get());
  std::string expected;
  for (int i = 0; i < 300; ++i) {
    std::string piece(1000, static_cast<char>('a' + i % 26));
    ASSERT_TRUE(a->Write(piece));
    ASSERT_TRUE(b->Write(piece));
    expected += piece;
  }
  EXPECT_TRUE(b->Close());
  EXPECT_FALSE(a->Close());
  EXPECT_EQ(a->LastErrno(), ENOSPC);
  os::SetWriteFaultHook(nullptr);
  EXPECT_EQ(ReadFile(dir / "b"), expected);
  EXPECT_EQ(ReadFile(dir / "a"), expected.substr(0, writes[0]));  // its first buffer only
  EXPECT_EQ(behind->FailedOwner(), a.get());
}

// A full buffer hands the file whole pages and keeps the rest; closing
// writes what is left. The file gets every byte once, in order.
TEST(Stream, FullBuffersEndOnPageBoundaries) {
  TempDir dir;
  std::string path = dir / "f.bin";
  WriteFile(path, std::string(1000, '#'));
  auto s = OpenBinaryUpdate(path);
  ASSERT_TRUE(s && s->Seek(0, SEEK_END));
  std::vector<size_t> writes;
  os::SetWriteFaultHook([&](size_t n) { return writes.push_back(n), 0; });
  std::string expected(1000, '#');
  for (int i = 0; i < 400; ++i) {
    std::string piece(700 + i % 13, static_cast<char>('a' + i % 26));
    ASSERT_TRUE(s->Write(piece));
    expected += piece;
  }
  EXPECT_TRUE(s->Close());
  os::SetWriteFaultHook(nullptr);
  ASSERT_GE(writes.size(), 4u);
  size_t offset = 1000;
  for (size_t i = 0; i + 1 < writes.size(); ++i) {
    offset += writes[i];
    EXPECT_EQ(offset % 4096, 0u) << i;
    EXPECT_GT(writes[i], Stream::kWriteChunk - 4096);
  }
  EXPECT_EQ(ReadFile(path), expected);
}

TEST(Stream, ExclusiveCreationLeavesAnExistingFileAlone) {
  TempDir dir;
  std::string path = dir / "keep.bin";
  WriteFile(path, "old");
  EXPECT_FALSE(Stream::Open(path, "w+bx"));
  EXPECT_FALSE(Stream::Open(path, "w+tx"));
  EXPECT_EQ(ReadFile(path), "old");
  auto s = Stream::Open(dir / "new.bin", "w+bx");
  ASSERT_TRUE(s);
  EXPECT_TRUE(s->Write("n") && s->Close());
  EXPECT_EQ(ReadFile(dir / "new.bin"), "n");
}

TEST(Stream, IdentityOfAFileHoweverSpelt) {
  TempDir dir;
  WriteFile(dir / "A.LOG", "x");
  WriteFile(dir / "a.log", "x");
  auto id = FileIdOf(dir / "A.LOG");
  ASSERT_TRUE(id);
  EXPECT_EQ(FileIdOf(dir.path() + "/./A.LOG"), id);
  EXPECT_NE(FileIdOf(dir / "a.log"), id);  // names keep their case here
  EXPECT_FALSE(FileIdOf(dir / "missing"));
  auto s = OpenTextRead(dir / "A.LOG");
  EXPECT_EQ(s->Id(), *id);
}

TEST(Stream, DirectoriesAndMissingFilesDoNotOpen) {
  TempDir dir;
  EXPECT_FALSE(OpenTextRead(dir.path()));
  EXPECT_FALSE(OpenTextRead(dir / "missing"));
  EXPECT_FALSE(OpenBinaryUpdate(dir.path()));
}

TEST(Existence, FilesDirectoriesAndHiddenNames) {
  TempDir dir;
  WriteFile(dir / "A.LOG", "x");
  WriteFile(dir / ".hidden", "x");
  EXPECT_TRUE(FileExists(dir / "A.LOG"));
  EXPECT_FALSE(FileExists(dir.path()));
  EXPECT_FALSE(FileExists(dir / ".hidden"));
  EXPECT_TRUE(PathExists(dir / ".hidden"));
  EXPECT_TRUE(DirExists(""));
  EXPECT_TRUE(DirExists(dir.path()));
  EXPECT_FALSE(DirExists(dir / "A.LOG"));
  EXPECT_FALSE(DirExists(dir / "none"));
}

TEST(UniqueName, NumberedExtension) {
  TempDir dir;
  EXPECT_EQ(UniqueName(dir / "OUT.TXT", 0), dir / "OUT.000");
  WriteFile(dir / "OUT.000", "");
  EXPECT_EQ(UniqueName(dir / "OUT.TXT", 0), dir / "OUT.001");
  EXPECT_EQ(UniqueName(dir / "OUT", 0), dir / "OUT.001");  // never a second extension
  // The extension begins at the first "." of the name, not of a directory.
  std::string sub = dir / "d.x";
  ::mkdir(sub.c_str(), 0777);
  EXPECT_EQ(UniqueName(sub + "/N.A.B", 0), sub + "/N.000");
}

TEST(UniqueName, LastCharacterStepsFromNineToA) {
  TempDir dir;
  for (char c = '0'; c <= '9'; ++c) WriteFile(dir / (std::string("LOG.LO") + c), "");
  EXPECT_EQ(UniqueName(dir / "LOG.LOG", 1), dir / "LOG.LOA");
}

TEST(ReadPromptTitle, TakesTheRoomTitleFromTheFirstLine) {
  TempDir dir;
  std::string path = dir / "ROOM_05.CNF";
  std::string head = "- ROOM  MES( 5):" + test::Sj("雑談の部屋") + "\r\n";
  head += std::string(80, 'x');
  WriteFile(path, head);
  std::string title;
  EXPECT_EQ(ReadPromptTitle(path, title, 48), 0);
  EXPECT_EQ(title.size(), 48u);
  EXPECT_EQ(title.substr(0, 10), test::Sj("雑談の部屋"));
  EXPECT_EQ(title.find_first_not_of(' ', 10), std::string::npos);

  // A cut inside a two-byte character leaves a blank.
  EXPECT_EQ(ReadPromptTitle(path, title, 9), 0);
  EXPECT_EQ(title, test::Sj("雑談の部") + " ");

  WriteFile(path, "no prompt here" + std::string(80, ' '));
  EXPECT_EQ(ReadPromptTitle(path, title, 5), 0);
  EXPECT_EQ(title, "     ");
  WriteFile(path, "");
  EXPECT_EQ(ReadPromptTitle(path, title, 5), -1);
  EXPECT_EQ(ReadPromptTitle(dir / "missing", title, 5), -1);
  // Sixty bytes or fewer are not enough to hold a room's first line.
  WriteFile(path, "- ROOM  MES( 5):short\r\n");
  EXPECT_EQ(ReadPromptTitle(path, title, 5), 0);
  EXPECT_EQ(title, "     ");
}

TEST(WriteFileAtomically, AFailedWriteLeavesTheOldFile) {
  TempDir dir;
  std::string path = dir / "RKV.INI";
  WriteFile(path, "old");
  ASSERT_TRUE(WriteFileAtomically(path, "new", nullptr));
  EXPECT_EQ(ReadFile(path), "new");
  os::SetWriteFaultHook([](size_t) { return ENOSPC; });
  std::string error;
  bool ok = WriteFileAtomically(path, "newer", &error);
  os::SetWriteFaultHook(nullptr);
  EXPECT_FALSE(ok);
  EXPECT_NE(error.find("RKV.INI"), std::string::npos);
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(os::ListDir(dir.path())->size(), 1u);  // no temporary file left behind
}

}  // namespace
}  // namespace rkv
