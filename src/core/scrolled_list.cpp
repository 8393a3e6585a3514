#include "core/scrolled_list.h"

#include <algorithm>

namespace rkv {

void ScrolledList::Layout(int clientHeight, int rowHeight) {
  rowHeight_ = std::max(rowHeight, 1);
  clientHeight = std::max(clientHeight, 0);
  fullRows_ = clientHeight / rowHeight_;
  rows_ = std::max((clientHeight + rowHeight_ - 1) / rowHeight_, 1);
}

bool ScrolledList::LineUp() {
  if (top_ <= 0) return false;
  --top_;
  return true;
}

bool ScrolledList::LineDown() {
  if (top_ >= count_ - 1) return false;
  ++top_;
  return true;
}

void ScrolledList::SetTop(int position) { top_ = std::clamp(position, 0, maxPosition()); }

}  // namespace rkv
