// The viewer's letter keys, its key help and its pop-up menus.
#pragma once

#include <string>
#include <vector>

#include "core/virtual_keys.h"
#include "settings/settings.h"

namespace rkv {

// The command a letter key posts, or 0.
int ViewerLetterCommand(int virtualKey);

const std::string& ViewerKeyHelpCaption();
const std::string& ViewerKeyHelpText();

struct PopupItem {
  int id = 0;  // 0: separator
  std::string text;
  bool enabled = true;
  bool separator() const { return id == 0; }
};

struct PopupContext {
  bool messageView = false;
  int mode = 0;               // 0 normal, 1 comment tree, 2 ID
  bool hasTitles = false;
  bool conferenceMessage = false;  // the message buffer starts with a message header
  bool mailMessage = false;        // ... with a mail header line
  bool gameRecord = false;
};

// The pop-up menu, built fresh for the view in force.
std::vector<PopupItem> ViewerPopupMenu(const PopupContext& context, const RKVcfg& cfg);

}  // namespace rkv
