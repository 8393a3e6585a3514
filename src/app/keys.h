// Qt key events as the virtual-key codes the key tables are written in.
#pragma once

class QKeyEvent;

namespace rkv {

// The virtual-key code of a key press, or 0 for keys without one. Keypad
// digits give 96-105; "\" and the yen key give 220.
int VirtualKey(const QKeyEvent& event);

}  // namespace rkv
