#include "filer/mask_match.h"

#include <string>

#include "core/sjis.h"

namespace rkv {
namespace {

// Bytes of the character starting at pos (2 for a whole two-byte character).
size_t CharLength(std::string_view text, size_t pos) {
  return IsLeadByteValue(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// Wildcard match over characters; "*" backtracks to the latest star only, which
// is enough because a later star can absorb anything an earlier one could.
bool Glob(std::string_view mask, std::string_view name) {
  size_t m = 0, n = 0;
  size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = ++m;
      starName = n;
      continue;
    }
    if (m < mask.size()) {
      size_t ml = CharLength(mask, m), nl = CharLength(name, n);
      if ((ml == 1 && mask[m] == '?') || mask.substr(m, ml) == name.substr(n, nl)) {
        m += ml;
        n += nl;
        continue;
      }
    }
    if (starMask == std::string_view::npos) return false;
    starName += CharLength(name, starName);
    n = starName;
    m = starMask;
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

bool MaskMatches(std::string_view mask, std::string_view name) {
  std::string m(mask), n(name);
  UpperAscii(m);
  UpperAscii(n);
  if (Glob(m, n)) return true;
  if (m.size() >= 2 && m.compare(m.size() - 2, 2, ".*") == 0 && n.find('.') == std::string::npos) {
    return Glob(std::string_view(m).substr(0, m.size() - 2), n);
  }
  return false;
}

}  // namespace rkv
