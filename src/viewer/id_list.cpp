#include "viewer/id_list.h"

#include <algorithm>

#include "core/sjis.h"
#include "divide/line_recogniser.h"

namespace rkv {
namespace {

// The next character of a text as its code: two bytes for a lead byte.
unsigned NextChar(std::string_view s, size_t& i) {
  auto c = static_cast<unsigned char>(s[i++]);
  if (IsLeadByteValue(c) && i < s.size()) return c << 8 | static_cast<unsigned char>(s[i++]);
  return c;
}

}  // namespace

int CompareHandles(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    unsigned x = NextChar(a, i), y = NextChar(b, j);
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

std::vector<Person> BuildPersonList(const TitleInfo& titles) {
  std::vector<Person> rows;
  for (int i = 0; i < titles.count() && rows.size() < 500; ++i) {
    std::string_view text = titles.title(i).Text();
    if (!IsMessageHeader(text)) continue;
    // The 5-digit form puts ID and handle two columns further right; the "No."
    // form lays them out as the 3-digit one does.
    bool narrow = text[5] != '/';
    std::string id(text.substr(narrow ? 10 : 12, 8));
    auto same = [&id](const Person& p) { return p.id == id; };
    if (std::any_of(rows.begin(), rows.end(), same)) continue;
    rows.push_back(Person{id, std::string(text.substr(narrow ? 20 : 22, 16)), i});
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const Person& a, const Person& b) { return CompareHandles(a.handle, b.handle) < 0; });
  return rows;
}

ScreenRect IdListPlacement(const ScreenRect& viewer, const ScreenRect& screen, int width, int height) {
  ScreenRect r{0, viewer.y, std::min(width, screen.width), std::min(height, screen.height)};
  const int screenRight = screen.x + screen.width;
  if (viewer.x + viewer.width + r.width <= screenRight) {
    r.x = viewer.x + viewer.width;
  } else if (viewer.x - r.width >= screen.x) {
    r.x = viewer.x - r.width;
  } else {
    r.x = viewer.x + viewer.width - r.width;
  }
  r.x = std::clamp(r.x, screen.x, screenRight - r.width);
  r.y = std::clamp(r.y, screen.y, screen.y + screen.height - r.height);
  return r;
}

int IdListView::ClickRow(int y) const {
  int row = (y - 4) / rowHeight();
  int index = row + top();
  return index < count() ? index : -1;
}

}  // namespace rkv
