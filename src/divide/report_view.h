// What the division report window shows: which report line is at the top and
// how many lines fit, for a report of a given length.
#pragma once

namespace rkv {

class ReportView {
 public:
  explicit ReportView(int lineCount = 0) : count_(lineCount) {}

  // Client height and line height in pixels: rows counts a partial last row,
  // full rows only whole ones.
  void Layout(int clientHeight, int lineHeight);
  // One line: false when the top could not move (nothing to scroll).
  bool LineUp();
  bool LineDown();
  // Page moves, the thumb, top and bottom: the scroll bar's position.
  void SetTop(int position);

  int count() const { return count_; }
  int top() const { return top_; }
  int rows() const { return rows_; }
  int fullRows() const { return fullRows_; }
  // The scroll bar's range is 0 .. count - 1 (0 .. 0 for an empty report).
  int maxPosition() const { return count_ > 0 ? count_ - 1 : 0; }

 private:
  int count_;
  int top_ = 0;
  int rows_ = 1;
  int fullRows_ = 0;
};

}  // namespace rkv
