#include "viewer/print_layout.h"

namespace rkv {

PrintLayout LayoutPrint(const PrintDevice& d, int lineCount) {
  PrintLayout l;
  l.charHeight = d.charHeightPx;
  l.lineGap = d.heightMm > 0 ? d.pageHeightPx / d.heightMm : 0;
  l.leftMargin = d.widthMm > 0 ? d.pageWidthPx / d.widthMm * 10 : 0;
  int step = d.charHeightPx + l.lineGap;
  l.linesPerPage = step > 0 ? d.pageHeightPx / step : 1;
  // A page too small for one line would print nothing forever; it holds one.
  if (l.linesPerPage < 1) l.linesPerPage = 1;
  l.pages = lineCount / l.linesPerPage + 1;
  return l;
}

std::vector<PrintLayout::Placed> PrintLayout::PageLines(int page, int lineCount) const {
  std::vector<Placed> out;
  for (int i = 0; i < linesPerPage; ++i) {
    int index = (page - 1) * linesPerPage + i;
    if (index >= lineCount) break;
    out.push_back(Placed{index, leftMargin, i * (charHeight + lineGap)});
  }
  return out;
}

}  // namespace rkv
