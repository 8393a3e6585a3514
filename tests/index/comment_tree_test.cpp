#include "index/comment_tree.h"

#include <gtest/gtest.h>

#include <random>

#include "index/header_parse.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;

TitleNode Message(int number, int commentTo) {
  char text[80];
  std::snprintf(text, sizeof text, "%03d/999   ABC12345  handle                 subject of %d", number, number);
  TitleNode t = HeaderTitle(text, 1, 1, std::nullopt);
  t.commentTo = commentTo;
  return t;
}

struct Row {
  int title, depth;
  bool operator==(const Row&) const = default;
};
void PrintTo(const Row& r, std::ostream* os) { *os << "{" << r.title << "," << r.depth << "}"; }

std::vector<Row> Rows(const std::vector<TitleNode>& titles) {
  CommentTree tree;
  EXPECT_TRUE(tree.Build(titles));
  std::vector<Row> rows;
  for (int r = 0; r < tree.rowCount(); ++r) rows.push_back({tree.row(r).titleIndex, tree.row(r).depth});
  return rows;
}

// The build as first described: a forward search of the whole rest of the
// table for every parent. The tree must give exactly these rows.
void NaiveChildren(const std::vector<int32_t>& num, const std::vector<int32_t>& ref, std::vector<bool>& used,
                   int32_t parent, size_t from, int depth, std::vector<Row>& rows) {
  if (parent > 65000) return;
  size_t k = from;
  for (size_t times = 0; times < num.size() - from; ++times) {
    while (k < num.size() && (used[k] || ref[k] != parent)) ++k;
    if (k >= num.size()) return;
    rows.push_back({static_cast<int>(k), depth});
    used[k] = true;
    NaiveChildren(num, ref, used, num[k], k + 1, depth + 1, rows);
    ++k;
  }
}
std::vector<Row> NaiveRows(const std::vector<TitleNode>& titles) {
  std::vector<int32_t> num, ref;
  for (const auto& t : titles) {
    num.push_back(TitleNumber(t));
    ref.push_back(t.commentTo);
  }
  std::vector<bool> used(titles.size());
  std::vector<Row> rows;
  for (size_t i = 0; i < titles.size(); ++i) {
    if (!used[i]) {
      rows.push_back({static_cast<int>(i), 0});
      used[i] = true;
    }
    NaiveChildren(num, ref, used, num[i], i + 1, 1, rows);
  }
  return rows;
}

TEST(CommentTree, ChildrenDepthFirstSiblingsInFileOrder) {
  std::vector<TitleNode> titles = {Message(1, 0), Message(2, 1), Message(3, 1), Message(4, 2)};
  EXPECT_EQ(Rows(titles), (std::vector<Row>{{0, 0}, {1, 1}, {3, 2}, {2, 1}}));
}

TEST(CommentTree, CommentsOnLaterMissingOrNumberlessMessagesAreRoots) {
  TitleNode prompt;
  SetTitleText(prompt, "- ROOM  MES( 5):");
  prompt.kind = 1;
  TitleNode noForm = HeaderTitle("No. 123   ABC12345 x", 1, 1, std::nullopt);
  std::vector<TitleNode> titles = {Message(8, 7), Message(7, 0), Message(9, 0), prompt,
                                   Message(10, 65535), noForm, Message(11, 99)};
  EXPECT_EQ(Rows(titles), (std::vector<Row>{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}}));
  EXPECT_EQ(TitleNumber(prompt), 65535);
  EXPECT_EQ(TitleNumber(noForm), 65535);
  EXPECT_EQ(TitleNumber(Message(0, 0)), 65535);
  EXPECT_EQ(TitleNumber(HeaderTitle("00012/00345 ABC12345  x", 1, 1, std::nullopt)), 12);
}

TEST(CommentTree, DuplicateNumbersTakeCommentsAtTheFirstOccurrence) {
  // Message 1 twice; comments after both attach to the first.
  std::vector<TitleNode> titles = {Message(1, 0), Message(2, 1), Message(1, 0), Message(3, 1)};
  EXPECT_EQ(Rows(titles), (std::vector<Row>{{0, 0}, {1, 1}, {3, 1}, {2, 0}}));
  EXPECT_EQ(Rows(titles), NaiveRows(titles));
}

TEST(CommentTree, SameRowsAsTheNaiveSearchOnRandomTables) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 200; ++round) {
    int n = 1 + static_cast<int>(rng() % 60);
    std::vector<TitleNode> titles;
    for (int i = 0; i < n; ++i) {
      int number = static_cast<int>(rng() % 25);  // duplicates and 0 on purpose
      int commentTo = rng() % 4 == 0 ? 0 : static_cast<int>(rng() % 27);
      titles.push_back(Message(number, commentTo));
    }
    ASSERT_EQ(Rows(titles), NaiveRows(titles)) << "round " << round;
  }
}

TEST(CommentTree, DeepChainFindRowAndMaxDepth) {
  std::vector<TitleNode> titles;
  for (int i = 1; i <= 900; ++i) titles.push_back(Message(i, i - 1));
  titles.push_back(Message(999, 5));  // a second comment on message 5, after its whole chain
  CommentTree tree;
  ASSERT_TRUE(tree.Build(titles));
  EXPECT_EQ(tree.maxDepth(), 899);
  EXPECT_EQ(tree.row(899).depth, 899);
  EXPECT_EQ(tree.row(900).titleIndex, 900);
  EXPECT_EQ(tree.row(900).depth, 5);
  EXPECT_EQ(tree.row(900).number, 999);
  EXPECT_EQ(tree.RowOf(6), 6);
  EXPECT_EQ(tree.RowOf(901), tree.rowCount());
  EXPECT_EQ(tree.RowOf(-1), tree.rowCount());
}

TEST(TreeRowText, ColumnsOfThreeDigitHeaders) {
  // Columns: number 0-2, author from 20, rest from 38.
  std::string header = "012/345   ABC12345  " + std::string("Yamada") + "            " + "subject text here";
  ASSERT_EQ(header.substr(38), "subject text here");
  TitleNode t = HeaderTitle(header, 1, 1, std::nullopt);
  t.commentTo = 0;
  std::string row0 = TreeRowText(t, 0);
  ASSERT_EQ(row0.size(), 78u);
  EXPECT_EQ(row0.substr(0, 12), "012 Yamada  ");
  EXPECT_EQ(row0.substr(12, 17), "subject text here");
  std::string row2 = TreeRowText(t, 2);
  EXPECT_EQ(row2.substr(0, 16), "  +-012 Yamada  ");
  EXPECT_EQ(row2.substr(16, 17), "subject text here");
}

TEST(TreeRowText, FiveDigitHeadersAndDeepRows) {
  std::string header = "00012/00345 ABC12345  Suzuki" + std::string(11, ' ') + "a long subject line that goes on";
  ASSERT_EQ(header.substr(39, 6), "a long");
  TitleNode t = HeaderTitle(header, 1, 1, std::nullopt);
  t.commentTo = 3;
  EXPECT_EQ(TreeRowText(t, 1).substr(0, 30), "+-00012 Suzuki  a long subject");
  // Depth 12: at most 64 - 24 = 40 bytes of the rest, from column 38.
  std::string deep = TreeRowText(t, 12);
  EXPECT_EQ(deep.substr(22, 18), "+-00012 Suzuki  a ");
  EXPECT_EQ(deep.size(), 78u);
}

TEST(TreeRowText, DepthLimitsAndCuts) {
  std::string header = "012/345   ABC12345  Yamada            " + std::string(41, 'r');
  TitleNode t = HeaderTitle(header, 1, 1, std::nullopt);  // keeps 40 of the r
  t.commentTo = 1;
  // Depth 12, 3-digit numbers: up to 66 - 24 = 42 bytes of the rest at column 36.
  EXPECT_EQ(TreeRowText(t, 12).substr(36), std::string(40, 'r') + "  ");
  // Depth 14: 38 bytes, so the row ends in the rest's 38th byte.
  EXPECT_EQ(TreeRowText(t, 14).substr(40), std::string(38, 'r'));
  // Depth 30: 6 bytes; deeper rows are drawn as depth 30.
  std::string d30 = TreeRowText(t, 30);
  EXPECT_EQ(d30.substr(58), "+-012 Yamada  rrrrrr");
  EXPECT_EQ(TreeRowText(t, 31), d30);
  EXPECT_NE(TreeRowText(t, 29), d30);
}

TEST(TreeRowText, HalfCharactersNeverShow) {
  // An author whose sixth byte opens a character keeps five bytes.
  std::string header = "012/345   ABC12345  abcde" + Sj("山") + std::string(11, ' ') + "x";
  TitleNode t = HeaderTitle(header, 1, 1, std::nullopt);
  t.commentTo = 0;
  EXPECT_EQ(TreeRowText(t, 0).substr(4, 8), "abcde   ");
  // Depth 14 ends the row in title byte 75: when a character starts there the
  // row ends in a blank instead.
  std::string wide = "012/345   ABC12345  Yamada            " + std::string(37, 'r') + Sj("山") + "z";
  TitleNode w = HeaderTitle(wide, 1, 1, std::nullopt);
  w.commentTo = 0;
  std::string row = TreeRowText(w, 14);
  EXPECT_EQ(row.substr(40), std::string(37, 'r') + " ");
}

TEST(TreeRowText, EntriesThatAreNoMessagesShowTheirTitle) {
  TitleNode t;
  SetTitleText(t, std::string(15, ' ') + Sj(" ＝＝＝ 送信メール リスト ＝＝＝"));
  EXPECT_EQ(t.commentTo, 65535);
  EXPECT_EQ(TreeRowText(t, 4), std::string(t.Text().substr(0, 78)));
}

}  // namespace
}  // namespace rkv
