#include <gtest/gtest.h>

#include "support/test_env.h"
#include "viewer/id_list.h"
#include "viewer/print_layout.h"

namespace rkv {
namespace {

using test::Sj;

// An A4 page at 300 dpi: 2480 x 3508 pixels, 210 x 297 mm.
PrintDevice A4(int charHeight) { return PrintDevice{2480, 3508, 210, 297, charHeight}; }

TEST(PrintLayout, GapMarginAndLinesPerPage) {
  PrintLayout l = LayoutPrint(A4(46), 100);
  EXPECT_EQ(l.lineGap, 11);        // 3508 / 297
  EXPECT_EQ(l.leftMargin, 110);    // 2480 / 210 * 10
  EXPECT_EQ(l.linesPerPage, 61);   // 3508 / (46 + 11)
  EXPECT_EQ(l.pages, 2);
  auto second = l.PageLines(2, 100);
  ASSERT_EQ(second.size(), 39u);
  EXPECT_EQ(second[0].line, 61);
  EXPECT_EQ(second[1].y, 57);
  EXPECT_EQ(second[0].x, 110);
}

TEST(PrintLayout, FullPagesGiveAnEmptyLastPage) {
  PrintDevice d = A4(46);
  d.pageHeightPx = 60 * 57;  // exactly 60 lines
  d.heightMm = d.pageHeightPx / 11;
  PrintLayout l = LayoutPrint(d, 60);
  ASSERT_EQ(l.linesPerPage, 60);
  EXPECT_EQ(l.pages, 2);
  EXPECT_EQ(l.PageLines(1, 60).size(), 60u);
  EXPECT_TRUE(l.PageLines(2, 60).empty());
  PrintLayout none = LayoutPrint(A4(46), 0);
  EXPECT_EQ(none.pages, 1);
  EXPECT_TRUE(none.PageLines(1, 0).empty());
}

TitleNode Header(const std::string& text) {
  TitleNode n;
  n.kind = 16;
  std::copy(text.begin(), text.end(), n.text.begin());
  return n;
}

TEST(PersonList, FirstMessagePerIdSortedByHandle) {
  TitleInfo t;
  t.Assign({Header("001/005   ABC00001  " + Sj("たろう") + "         x"),
            Header("002/005   XYZ00002  " + Sj("あきら") + "         x"),
            Header("003/005   ABC00001  " + Sj("別名") + "           x"),  // same ID, other handle
            Header("00004/00005 XYZ00002  zeta              x"),           // same ID, wide form
            Header("00005/00005 QQQ00005  Alpha             x"),
            Header("No. 006   NNN00006  " + Sj("のぶ") + "           x")});
  auto rows = BuildPersonList(t);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].handle.substr(0, 5), "Alpha");
  EXPECT_EQ(rows[0].titleIndex, 4);
  EXPECT_EQ(rows[1].handle.substr(0, 6), Sj("あきら"));
  EXPECT_EQ(rows[2].handle.substr(0, 6), Sj("たろう"));
  EXPECT_EQ(rows[2].titleIndex, 0);
  // The "No." form keeps its ID and handle where the 3-digit form has them.
  EXPECT_EQ(rows[3].id, "NNN00006");
  EXPECT_EQ(rows[3].handle.substr(0, 4), Sj("のぶ"));
}

TEST(PersonList, TwoByteCharactersCompareAsOneCode) {
  EXPECT_LT(CompareHandles("A", Sj("あ")), 0);
  EXPECT_LT(CompareHandles(Sj("あ"), Sj("い")), 0);
  EXPECT_LT(CompareHandles("ab", "abc"), 0);
  EXPECT_EQ(CompareHandles("ab", "ab"), 0);
  // Half-width katakana (one byte) sorts before a two-byte character.
  EXPECT_LT(CompareHandles(Sj("ｱ"), Sj("あ")), 0);
}

TEST(IdListView, ClicksAndScrolling) {
  IdListView v(20);
  v.Layout(100, 18);
  EXPECT_EQ(v.rows(), 6);
  EXPECT_EQ(v.fullRows(), 5);
  v.SetTop(10);
  EXPECT_EQ(v.ClickRow(4 + 2 * 18 + 1), 12);  // the third visible row
  EXPECT_TRUE(v.Visible(12));
  v.SetTop(0);
  EXPECT_FALSE(v.Visible(12));
  v.SetTop(19);
  EXPECT_EQ(v.ClickRow(4 + 18), -1);  // below the last row
  EXPECT_FALSE(v.LineDown());
  EXPECT_TRUE(v.LineUp());
}

TEST(IdListPlacement, BesideTheViewerAndInsideTheScreen) {
  const ScreenRect screen{0, 0, 1280, 1000};
  struct Row {
    ScreenRect viewer;
    int x, y;
  } rows[] = {
      {{100, 120, 700, 600}, 800, 120},    // room on the right
      {{500, 120, 700, 600}, 260, 120},    // none on the right: left of it
      {{60, 120, 1180, 600}, 1000, 120},   // none either side: over its right edge
      {{100, 900, 700, 600}, 800, 760},    // low viewer: pulled up into the screen
      {{-300, 120, 400, 300}, 100, 120},   // viewer partly off screen
  };
  for (const Row& r : rows) {
    ScreenRect got = IdListPlacement(r.viewer, screen, 240, 240);
    EXPECT_EQ(got.x, r.x) << r.viewer.x << "," << r.viewer.width;
    EXPECT_EQ(got.y, r.y) << r.viewer.y;
    EXPECT_EQ(got.width, 240);
  }
  ScreenRect tiny = IdListPlacement({0, 0, 100, 100}, {0, 0, 200, 150}, 240, 240);
  EXPECT_EQ(tiny.width, 200);
  EXPECT_EQ(tiny.height, 150);
}

TEST(ScrolledList, RowsCountPartialLinesAndTheTopStopsAtTheEnds) {
  ScrolledList v(3);
  v.Layout(10, 18);  // less than one row high
  EXPECT_EQ(v.rows(), 1);
  EXPECT_EQ(v.fullRows(), 0);
  EXPECT_FALSE(v.LineUp());
  EXPECT_TRUE(v.LineDown());
  EXPECT_TRUE(v.LineDown());
  EXPECT_FALSE(v.LineDown());  // the last line stays at the top at most
  v.SetTop(99);
  EXPECT_EQ(v.top(), 2);
  v.SetTop(-4);
  EXPECT_EQ(v.top(), 0);
  ScrolledList empty(0);
  EXPECT_FALSE(empty.LineDown());
  EXPECT_EQ(empty.maxPosition(), 0);
}

}  // namespace
}  // namespace rkv
