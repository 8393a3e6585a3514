#include "filer/filer_placement.h"

namespace rkv {

WinPlace& FilerSizeRecord(RKVcfg& cfg, int kind) {
  if (kind == 1) return cfg.CnfFilerSize;
  if (kind == 2) return cfg.MailFilerSize;
  return cfg.FilerSize;
}

FilerPlacement InitialFilerPlacement(const RKVcfg& cfg, int kind, const FilerMetrics& m, int openOfKind) {
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
  p.x = (kind == 2 ? 50 : 0) + 24 * openOfKind;
  p.y = (kind == 1 ? 20 : 0) + 20 * openOfKind;
  return p;
}

}  // namespace rkv
