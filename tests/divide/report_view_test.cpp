#include "divide/report_view.h"

#include <gtest/gtest.h>

namespace rkv {
namespace {

TEST(ReportView, RowsCountPartialLines) {
  ReportView v(10);
  v.Layout(100, 18);
  EXPECT_EQ(v.rows(), 6);
  EXPECT_EQ(v.fullRows(), 5);
  v.Layout(10, 18);  // less than one line high
  EXPECT_EQ(v.rows(), 1);
  EXPECT_EQ(v.fullRows(), 0);
}

TEST(ReportView, LinesStopAtTheEnds) {
  ReportView v(3);
  EXPECT_FALSE(v.LineUp());
  EXPECT_TRUE(v.LineDown());
  EXPECT_TRUE(v.LineDown());
  EXPECT_FALSE(v.LineDown());  // the last line stays at the top at most
  EXPECT_EQ(v.top(), 2);
  v.SetTop(99);
  EXPECT_EQ(v.top(), 2);
  v.SetTop(-4);
  EXPECT_EQ(v.top(), 0);
  ReportView empty(0);
  EXPECT_FALSE(empty.LineDown());
  EXPECT_EQ(empty.maxPosition(), 0);
}

}  // namespace
}  // namespace rkv
