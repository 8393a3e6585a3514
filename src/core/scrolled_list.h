// A list of text rows shown from a top row with its own scroll bar: how many
// rows fit and how the top moves. The division report and the handle list
// scroll this way.
#pragma once

namespace rkv {

class ScrolledList {
 public:
  explicit ScrolledList(int count = 0) : count_(count) {}

  // Client height and row height in pixels: rows counts a partial last row,
  // full rows only whole ones.
  void Layout(int clientHeight, int rowHeight);
  // One row: false when the top could not move.
  bool LineUp();
  bool LineDown();
  // Page moves, the thumb, top and bottom: the scroll bar's position.
  void SetTop(int position);

  int count() const { return count_; }
  int top() const { return top_; }
  int rows() const { return rows_; }
  int fullRows() const { return fullRows_; }
  int rowHeight() const { return rowHeight_; }
  // The scroll bar's range is 0 .. count - 1 (0 .. 0 when empty).
  int maxPosition() const { return count_ > 0 ? count_ - 1 : 0; }

 private:
  int count_;
  int top_ = 0;
  int rows_ = 1;
  int fullRows_ = 0;
  int rowHeight_ = 1;
};

}  // namespace rkv
