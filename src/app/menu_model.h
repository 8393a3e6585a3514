// The main window's menus, tool bar and enabling rules as data: the frame
// builds its widgets from these and applies the rules each time a menu opens.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rkv {

struct RKVcfg;

struct MenuItem {
  int id = 0;              // 0 for a separator
  std::string text;        // CP932, "&" marks the accelerator
  std::string submenu;     // title of a submenu, whose items follow in children
  std::vector<MenuItem> children;
  bool IsSeparator() const { return id == 0 && submenu.empty(); }
};

struct Menu {
  std::string title;
  std::vector<MenuItem> items;
};

enum MenuIndex { kFileMenu, kEditMenu, kDisplayMenu, kFilerMenu, kToolsMenu, kOptionsMenu, kWindowMenu,
                 kHelpMenu };

// The whole menu bar; the File menu ends with the registered conference names.
std::vector<Menu> BuildMenuBar(const RKVcfg& cfg);

enum class ChildKind { None, Filer, Viewer, Other };
// A class name containing "Filer" is a filer, one containing "Viewer" a viewer.
ChildKind KindFromClassName(std::string_view className);

struct ActiveChild {
  ChildKind kind = ChildKind::None;
  int displayMode = 0;          // viewer: 0 normal, 1 comment tree, 2 ID
  bool messageViewOpen = false; // viewer: one message shown
};

// The state of one menu entry as the rules leave it (separators keep id 0).
struct ItemState {
  int id = 0;
  std::string text;
  bool enabled = true;
  bool checked = false;
  bool isSubmenu = false;
};

// Applies the enabling rules of menu `index` to its top-level entries.
void ApplyMenuRules(int index, std::vector<ItemState>& items, const ActiveChild& child, const RKVcfg& cfg);

struct ToolButton {
  int command = 0;      // 0 for a separator
  int bitmap = 0;
  std::string hint;     // CP932
};
const std::vector<ToolButton>& ToolBarButtons();

// A button is enabled while some window on the command's route handles its id.
bool ButtonEnabled(int command, const ActiveChild& child);

// The message-bar text shown while a menu item is highlighted, where there is one.
std::optional<std::string> MenuHint(int id);

// The child's own id for a command the client forwards to the active child.
std::optional<int> ForwardedId(int clientId);

}  // namespace rkv
