#include "filer/filer_placement.h"

#include <algorithm>

namespace rkv {

WinPlace& FilerSizeRecord(RKVcfg& cfg, int kind) {
  if (kind == 1) return cfg.CnfFilerSize;
  if (kind == 2) return cfg.MailFilerSize;
  return cfg.FilerSize;
}

FilerPlacement InitialFilerPlacement(const RKVcfg& cfg, int kind, const FilerMetrics& m, int openOfKind,
                                     const ClientArea& area) {
  FilerPlacement p;
  if (cfg.SaveChildWinSize) {
    const WinPlace& w = FilerSizeRecord(const_cast<RKVcfg&>(cfg), kind);
    p.x = w.x + 24 * openOfKind;
    p.y = w.y + 20 * openOfKind;
    p.width = w.width;
    p.height = w.height;
    p.state = w.state;
    return p;
  }
  const DspMode& mode = kind == 1 ? cfg.CnfFilerDspMode : cfg.FilerDspMode;
  int chars = 38 + (kind == 1 ? 42 : 0) + (mode.nameWidth > 8 ? mode.nameWidth - 8 : 0);
  p.width = chars * m.charWidth + m.margin + 20;
  p.height = 15 * m.rowHeight + m.headerHeight;
  // Each filer opens below the title bar and button bar of the one before.
  int step = m.frameHeight - m.frameWidth / 2 + m.headerHeight;
  p.x = 24 * area.openFilers;
  p.y = std::max(step, 20) * area.openFilers;
  if (area.width > 0 && area.height > 0) {
    const int minWidth = 20 * m.charWidth, minHeight = m.headerHeight + 3 * m.rowHeight;
    p.width = std::max(std::min(p.width, area.width - m.frameWidth), minWidth);
    p.height = std::max(std::min(p.height, area.height - p.y - m.frameHeight), minHeight);
    // Past the bottom or right edge the window slides back in, keeping its size.
    p.x = std::max(0, std::min(p.x, area.width - m.frameWidth - p.width));
    p.y = std::max(0, std::min(p.y, area.height - m.frameHeight - p.height));
  }
  return p;
}

}  // namespace rkv
