// Where a new filer window opens and how large it is.
#pragma once

#include "settings/settings.h"

namespace rkv {

struct FilerMetrics {
  int charWidth = 8;     // average character width of the filer font
  int rowHeight = 18;    // font height + line pitch
  int headerHeight = 28; // the button bar
  int margin = 10;       // the left marking margin
};

struct FilerPlacement {
  int x = -1, y = -1;  // -1: let the MDI area place it
  int width = 0, height = 0;
  int state = 0;  // 1 maximised, 2 minimised
};

// The kind's size record when child placements are restored (shifted 24 right
// and 20 down per filer of that kind already open), else the default size:
// 38 characters plus margin and 20 pixels wide (42 characters more for the
// conference filer, widened by a name width above 8), 15 rows plus the header
// high; the conference filer 20 pixels lower, the mail filer 50 further right.
FilerPlacement InitialFilerPlacement(const RKVcfg& cfg, int kind, const FilerMetrics& m, int openOfKind);

// The kind's size record.
WinPlace& FilerSizeRecord(RKVcfg& cfg, int kind);

}  // namespace rkv
