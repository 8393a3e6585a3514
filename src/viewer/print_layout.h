// How a message is laid out on printed pages: one buffer line per printed line
// in the printer's own font, a 10 mm left margin and a 1 mm gap between lines.
#pragma once

#include <vector>

namespace rkv {

struct PrintDevice {
  int pageWidthPx = 0;
  int pageHeightPx = 0;
  int widthMm = 0;
  int heightMm = 0;
  int charHeightPx = 0;  // the printer font's character height
};

struct PrintLayout {
  int lineGap = 12;
  int leftMargin = 0;
  int linesPerPage = 1;
  int pages = 1;
  int charHeight = 0;

  // The buffer lines of page p (from 1) and where each goes: index, x, y.
  struct Placed {
    int line;
    int x;
    int y;
  };
  std::vector<Placed> PageLines(int page, int lineCount) const;
};

PrintLayout LayoutPrint(const PrintDevice& device, int lineCount);

}  // namespace rkv
