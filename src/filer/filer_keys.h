// The filer's key table (virtual-key codes), its key help text and its
// right-button menu.
#pragma once

#include <string>
#include <vector>

#include "core/virtual_keys.h"
#include "settings/settings.h"

namespace rkv {


enum class KeyAction {
  None,
  Command,   // value: a command id
  Button,    // value: a button id (path, mask)
  Open,      // the cursor entry
  Parent,
  MarkDown,  // mark the cursor file, then as Down
  Down,
  Up,
  PageTop,   // cursor to the first row of the page
  PageUp,
  PageDown,
  Home,
  End,
  ListDir,   // value: the position in the kind's directory list
  Root,
  RunFile,   // run the cursor file when it is a program
  Help,
};

struct FilerKey {
  KeyAction action = KeyAction::None;
  int value = 0;
};

// What a key does in a filer; KeyAction::None for keys without a use.
FilerKey FilerKeyBinding(int virtualKey);

// The F1 box: caption "ファイラーキー割り当て" and its text (CP932).
const std::string& FilerKeyHelpCaption();
const std::string& FilerKeyHelpText();

struct FilerMenuItem {
  int id = 0;  // 0 for a separator
  std::string text;
  bool separator() const { return id == 0; }
};

// The right-button menu in its order, by the editor and program settings.
std::vector<FilerMenuItem> FilerPopupMenu(const RKVcfg& cfg);

}  // namespace rkv
