#include "divide/report_view.h"

namespace rkv {

void ReportView::Layout(int clientHeight, int lineHeight) {
  if (lineHeight <= 0) lineHeight = 1;
  if (clientHeight < 0) clientHeight = 0;
  fullRows_ = clientHeight / lineHeight;
  rows_ = (clientHeight + lineHeight - 1) / lineHeight;
  if (rows_ < 1) rows_ = 1;
}

bool ReportView::LineUp() {
  if (top_ <= 0) return false;
  --top_;
  return true;
}

bool ReportView::LineDown() {
  if (top_ >= count_ - 1) return false;
  ++top_;
  return true;
}

void ReportView::SetTop(int position) {
  if (position > maxPosition()) position = maxPosition();
  top_ = position < 0 ? 0 : position;
}

}  // namespace rkv
