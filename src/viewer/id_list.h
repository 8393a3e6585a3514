// The handle list of a viewer: one row per member ID that wrote in the file,
// with the handle and the title of that member's first message, sorted by
// handle; and which rows the list window shows.
#pragma once

#include <string>
#include <vector>

#include "core/scrolled_list.h"
#include "index/title_info.h"

namespace rkv {

struct Person {
  std::string id;      // 8 bytes
  std::string handle;  // 16 bytes
  int titleIndex = 0;
};

// At most 500 members, the first message of each ID, sorted by handle. The ID
// is at column 10 and the handle at 20, or 12 and 22 in the 5-digit header form.
std::vector<Person> BuildPersonList(const TitleInfo& titles);

// Compares two texts character by character, a two-byte character as its
// 16-bit code; a prefix comes first.
int CompareHandles(std::string_view a, std::string_view b);

struct ScreenRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// Where the handle list opens when no placement is stored: beside the viewer,
// right of it when there is room on the screen, else left of it, else over the
// viewer's right edge; top-aligned with the viewer, so the frame's menus stay
// uncovered, and always inside the screen.
ScreenRect IdListPlacement(const ScreenRect& viewer, const ScreenRect& screen, int width, int height);

class IdListView : public ScrolledList {
 public:
  explicit IdListView(int count = 0) : ScrolledList(count) {}
  // A left click at y (pixels): the clicked row, or -1 below the last row.
  int ClickRow(int y) const;
  // Whether a row is on the page (both ends counted).
  bool Visible(int row) const { return row >= top() && row <= top() + fullRows(); }
  int selected = 0;
};

}  // namespace rkv
