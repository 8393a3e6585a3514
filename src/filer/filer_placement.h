// Where a new filer window opens and how large it is.
#pragma once

#include "settings/settings.h"

namespace rkv {

struct FilerMetrics {
  int charWidth = 8;     // average character width of the filer font
  int rowHeight = 18;    // font height + line pitch
  int headerHeight = 28; // the button bar
  int margin = 10;       // the left marking margin
  int frameWidth = 0;    // what the window frame adds around the filer, across
  int frameHeight = 0;   // and down (title bar included)
};

// Where new windows go when placements are not restored.
struct ClientArea {
  int width = 0, height = 0;  // 0: unknown, nothing is fitted
  int openFilers = 0;         // filers of any kind already open
};

struct FilerPlacement {
  int x = -1, y = -1;  // -1: let the MDI area place it
  int width = 0, height = 0;
  int state = 0;  // 1 maximised, 2 minimised
};

// The kind's size record when child placements are restored (shifted 24 right
// and 20 down per filer of that kind already open). Otherwise the default size,
// 38 characters plus margin and 20 pixels wide (42 characters more for the
// conference filer, widened by a name width above 8) and 15 rows plus the
// header high, stepped down past the title bar and button bar of every filer
// already open so none is buried, and shrunk to fit inside the client.
FilerPlacement InitialFilerPlacement(const RKVcfg& cfg, int kind, const FilerMetrics& m, int openOfKind,
                                     const ClientArea& area = {});

// The kind's size record.
WinPlace& FilerSizeRecord(RKVcfg& cfg, int kind);

}  // namespace rkv
