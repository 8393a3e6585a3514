// Finding a game record in a message and copying exactly the record.
#include "tools/game_record.h"

#include <gtest/gtest.h>

#include "support/scripted_host.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;

std::vector<std::string> Lines(std::initializer_list<const char*> utf8) {
  std::vector<std::string> lines;
  for (const char* l : utf8) lines.push_back(Sj(l));
  return lines;
}

TEST(GameRecord, StartEndAndPresence) {
  struct Case {
    const char* what;
    std::vector<std::string> message;
    const char* copied;  // UTF-8 with CR LF; nullptr: no record
  };
  const Case cases[] = {
      {"handicap line starts, resignation ends",
       Lines({"挨拶", "手合割：香落ち", "下手：甲", "上手：乙", "   1 ３四歩(33)", "   2 投了", "まで1手で上手の勝ち"}),
       "手合割：香落ち\r\n下手：甲\r\n上手：乙\r\n   1 ３四歩(33)\r\n   2 投了\r\n"},
      {"first-player line starts; full-width blank resignation",
       Lines({"手合割：平手", "雑談", "先手：甲", "後手：乙", "   1 投　了", "雑談"}),
       "先手：甲\r\n後手：乙\r\n   1 投　了\r\n"},
      {"players not adjacent: no record", Lines({"先手：甲", "雑談", "後手：乙", "   1 ７六歩(77)"}), nullptr},
      {"prompt ends", Lines({"先手：甲", "後手：乙", "   1 ７六歩(77)", "MES(1)＞", "x"}),
       "先手：甲\r\n後手：乙\r\n   1 ７六歩(77)\r\nMES(1)＞\r\n"},
      {"suspension ends", Lines({"先手：甲", "後手：乙", "   1 中断", "x"}), "先手：甲\r\n後手：乙\r\n   1 中断\r\n"},
      {"result line ends",
       Lines({"先手：甲", "後手：乙", "   1 ７六歩(77)", "まで1手で先手の勝ち", "x"}),
       "先手：甲\r\n後手：乙\r\n   1 ７六歩(77)\r\nまで1手で先手の勝ち\r\n"},
      {"third short line ends, spread out; an empty line is CR LF",
       Lines({"先手：甲", "後手：乙", "", "   1 ７六歩(77)", "ab", "   2 ３四歩(33)", "", "x"}),
       "先手：甲\r\n後手：乙\r\n\r\n   1 ７六歩(77)\r\nab\r\n   2 ３四歩(33)\r\n\r\n"},
      {"a comment naming a resignation or a winner does not end",
       Lines({"先手：甲", "後手：乙", "*投了かと思った。先手の勝ち", "*", "   1 ７六歩(77)"}),
       "先手：甲\r\n後手：乙\r\n*投了かと思った。先手の勝ち\r\n*\r\n   1 ７六歩(77)\r\n"},
      {"no end line: to the last line", Lines({"下手：甲", "上手：乙", "   1 ３四歩(33)"}),
       "下手：甲\r\n上手：乙\r\n   1 ３四歩(33)\r\n"},
      {"handicap line without players is passed; the first record wins",
       Lines({"手合割：平手", "雑談", "先手：甲", "後手：乙", "   1 投了", "先手：丙", "後手：丁", "   1 投了"}),
       "先手：甲\r\n後手：乙\r\n   1 投了\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(HasGameRecord(c.message), c.copied != nullptr);
    test::ScriptedHost host;
    EXPECT_EQ(CopyGameRecord(c.message, host), c.copied != nullptr);
    if (c.copied) {
      ASSERT_TRUE(host.clipboard);
      EXPECT_EQ(test::Utf8(*host.clipboard), c.copied);
    } else {
      EXPECT_FALSE(host.clipboard);
    }
  }
}

}  // namespace
}  // namespace rkv
