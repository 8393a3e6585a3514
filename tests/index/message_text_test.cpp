#include "index/message_text.h"

#include <gtest/gtest.h>

#include "divide/line_recogniser.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;
using test::TempDir;

const std::string kHeader1 = "001/002   ABC12345  Yamada  first                 97/05/12 10:30";
const std::string kHeader2 = "002/002   DEF67890  Suzuki  second                97/05/12 11:00";
const std::string kAfter = "       97/05/12 10:30  00000";

class MessageText : public ::testing::Test {
 protected:
  // Writes the lines (UTF-8, CP932 on disk) with CR LF and returns the path.
  std::string Write(const std::vector<std::string>& utf8Lines) {
    data_.clear();
    for (const auto& l : utf8Lines) data_ += Sj(l) + "\r\n";
    test::WriteFile(path_, data_);
    return path_;
  }
  int64_t OffsetOf(const std::string& utf8Line) const { return static_cast<int64_t>(data_.find(Sj(utf8Line))) + 1; }
  std::vector<std::string> Read(const std::string& headerUtf8) {
    std::vector<std::string> lines;
    int n = ReadMessageText(path_, OffsetOf(headerUtf8), 1, lines);
    EXPECT_EQ(n, static_cast<int>(lines.size()));
    for (auto& l : lines) l = test::Utf8(l);
    return lines;
  }

  TempDir dir_;
  std::string path_ = dir_ / "ROOM_05.CNF";
  std::string data_;
};

using Lines = std::vector<std::string>;

TEST_F(MessageText, RunsFromTheHeaderToTheNextHeader) {
  Write({"- ROOM  MES( 5):", kHeader1, kAfter, "本文", "", "last line", kHeader2, kAfter, "second body"});
  EXPECT_EQ(Read(kHeader1), (Lines{kHeader1, kAfter, "本文", "", "last line"}));
  EXPECT_EQ(Read(kHeader2), (Lines{kHeader2, kAfter, "second body"}));
}

TEST_F(MessageText, StopsAtPromptsNoticesAndMailEnds) {
  const std::vector<std::string> stops = {
      "- ROOM  MES( 5):",
      "MAIL>",
      "CCS(01>",
      "＞ok",
      "なにか 電子会議 (1:発言　改行のみ: 読む) 通常モード です",
      "送信日  受信日時      宛先ID",
      "X-Status: read",
      "Received: by host",
      "LOG IN  －  97/05/12",
  };
  for (const std::string& stop : stops) {
    Write({kHeader1, kAfter, "body", stop, "after the stop"});
    EXPECT_EQ(Read(kHeader1), (Lines{kHeader1, kAfter, "body"})) << stop;
  }
}

TEST_F(MessageText, PagingPromptContinuesUnlessTheReplyEnds) {
  const std::string more = "続き (改行で表示　E:終了)";
  Write({kHeader1, kAfter, "page 1", more, "", "page 2", kHeader2});
  EXPECT_EQ(Read(kHeader1), (Lines{kHeader1, kAfter, "page 1", more, "", "page 2"}));
  // The line after the prompt is taken whatever it is.
  Write({kHeader1, kAfter, more, kHeader2, "page 2"});
  EXPECT_EQ(Read(kHeader1), (Lines{kHeader1, kAfter, more, kHeader2, "page 2"}));
  Write({kHeader1, kAfter, "page 1", more, "＞E", "not shown"});
  EXPECT_EQ(Read(kHeader1), (Lines{kHeader1, kAfter, "page 1", more}));
  Write({kHeader1, kAfter, more, "＞e"});
  EXPECT_EQ(Read(kHeader1), (Lines{kHeader1, kAfter, more}));
  // "＞E" with more text is no end reply.
  Write({kHeader1, kAfter, more, "＞Exx", "page 2"});
  EXPECT_EQ(Read(kHeader1), (Lines{kHeader1, kAfter, more, "＞Exx", "page 2"}));
  Write({kHeader1, kAfter, more});
  EXPECT_EQ(Read(kHeader1), (Lines{kHeader1, kAfter, more}));
}

TEST_F(MessageText, ComposedMessageEndsAtItsSubject) {
  Write({kHeader1, kAfter, "body", "TO:ABC12345", "SUB:new message", "text"});
  EXPECT_EQ(Read(kHeader1), (Lines{kHeader1, kAfter, "body", "TO:ABC12345"}));
  Write({kHeader1, kAfter, "To: someone", "MAIL>", "more"});
  EXPECT_EQ(Read(kHeader1), (Lines{kHeader1, kAfter, "To: someone", "MAIL>", "more"}));
  Write({kHeader1, kAfter, "To: someone"});
  EXPECT_EQ(Read(kHeader1), (Lines{kHeader1, kAfter, "To: someone"}));
}

TEST_F(MessageText, LongLinesArriveInEightyBytePiecesWithoutBlankLines) {
  std::string b80(80, 'b'), c81(81, 'c'), d160(160, 'd'), e79(79, 'e');
  Write({kHeader1 + std::string(80 - kHeader1.size(), 'h'), b80, "", c81, d160, e79, "end"});
  EXPECT_EQ(Read(kHeader1 + std::string(80 - kHeader1.size(), 'h')),
            (Lines{kHeader1 + std::string(80 - kHeader1.size(), 'h'), b80, "", std::string(80, 'c'), "c",
                   std::string(80, 'd'), std::string(80, 'd'), e79, "end"}));
}

TEST_F(MessageText, CutAtThreeHundredLines) {
  std::vector<std::string> lines = {kHeader1, kAfter};
  for (int i = 0; i < 400; ++i) lines.push_back("line " + std::to_string(i));
  Write(lines);
  Lines got = Read(kHeader1);
  ASSERT_EQ(got.size(), 300u);
  EXPECT_EQ(got.back(), "line 297");
}

TEST_F(MessageText, LoneLineEndsAndControlBytesStayInTheText) {
  data_ = kHeader1 + "\r\n" + kAfter + "\nx\ry\x1a\r\nlast";
  test::WriteFile(path_, data_);
  EXPECT_EQ(Read(kHeader1), (Lines{kHeader1, kAfter, "x\ry\x1a", "last"}));
}

TEST_F(MessageText, NothingFromAMissingFileOrABadPosition) {
  Write({kHeader1, kAfter});
  std::vector<std::string> lines = {"stale"};
  EXPECT_EQ(ReadMessageText(dir_ / "missing.CNF", 1, 1, lines), 0);
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(ReadMessageText(path_, 0, 1, lines), 0);
  EXPECT_EQ(ReadMessageText(path_, -5, 1, lines), 0);
  EXPECT_EQ(ReadMessageText(path_, 1 << 30, 1, lines), 0);
}

TEST_F(MessageText, SearchVariantTakesTheLineAfterTheHeaderAlways) {
  Write({kHeader1, kHeader2, "body", "続き (改行で表示　E:終了)", "TO:ABC12345", "x"});
  TitleNode title;
  title.kind = LineKind::MessageHeader;
  title.offset = OffsetOf(kHeader1);
  std::vector<std::string> lines;
  EXPECT_EQ(ReadMessageForSearch(path_, title, 1, lines), 4);
  EXPECT_EQ(test::Utf8(lines[1]), kHeader2);
  EXPECT_EQ(test::Utf8(lines[3]), "続き (改行で表示　E:終了)");  // the addressee line stops it

  Write({kHeader1, kAfter, "body", "＞E", "x"});
  EXPECT_EQ(ReadMessageForSearch(path_, title, 1, lines), 3);
  title.kind = LineKind::MailHeader;
  EXPECT_EQ(ReadMessageForSearch(path_, title, 1, lines), 0);
}

}  // namespace
}  // namespace rkv
