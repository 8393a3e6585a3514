// One entry of a title list: a message header or another recognised block of a
// split file, with where its first line stands and the one-line title shown.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace rkv {

// A title table never holds more entries than this.
inline constexpr int kMaxTitles = 10000;
// commentTo of an entry that is not a message, and the "no number" value.
inline constexpr int32_t kNoNumber = 65535;
// Numbers above this are no message numbers.
inline constexpr int32_t kNumberLimit = 65000;
// Bytes of title text taken from a line; the text itself holds one more.
inline constexpr size_t kTitleTake = 78;
inline constexpr size_t kTitleTextBytes = 79;

struct TitleNode {
  uint8_t kind = 0;
  // One more than the byte at which the entry's first line starts; readers seek
  // to offset - 1. 64 bits so that no file size can give a wrong position.
  int64_t offset = 0;
  int64_t line = 0;  // 1-based number of that line in the scan that found it
  int32_t commentTo = kNoNumber;
  // 79 bytes, blank-filled, and a terminating zero.
  std::array<char, kTitleTextBytes + 1> text;

  TitleNode() { ClearText(); }
  void ClearText() {
    text.fill(' ');
    text[kTitleTextBytes] = '\0';
  }
  // The 79 bytes of the title (zero bytes inside are ordinary bytes).
  std::string_view Text() const { return {text.data(), kTitleTextBytes}; }
  bool operator==(const TitleNode&) const = default;
};

}  // namespace rkv
