// What a filer window does after the model handled a key, click or command.
// The model never draws: it says what changed and what the client must do.
#pragma once

namespace rkv {

enum class FilerRequest {
  None,
  OpenViewers,  // the client opens a viewer per name of the hand-off area (fileKind)
  Divide,       // the client divides the hand-off area's one file, then sends command 306
  Close,        // close the window
};

struct FilerResult {
  bool handled = true;        // false: not a filer command; route it on
  bool repaint = false;       // rows, cursor, top or marks changed
  bool titleChanged = false;  // the path (the window title) changed
  bool statusChanged = false; // show the model's status line again
  FilerRequest request = FilerRequest::None;
  int fileKind = 0;           // OpenViewers: 0 log, 1 conference, 2 mail

  FilerResult& operator|=(const FilerResult& o) {
    repaint = repaint || o.repaint;
    titleChanged = titleChanged || o.titleChanged;
    statusChanged = statusChanged || o.statusChanged;
    if (o.request != FilerRequest::None) {
      request = o.request;
      fileKind = o.fileKind;
    }
    return *this;
  }
  static FilerResult Repaint() {
    FilerResult r;
    r.repaint = true;
    return r;
  }
};

}  // namespace rkv
