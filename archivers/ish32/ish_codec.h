// The ISH text encoding: binary files as lines of text with per-line CRCs and two
// check lines per block, so that up to two lost lines per block can be rebuilt.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ish {

enum class Variant { Jis7, Jis8, ShiftJis, NonKana };

struct EncodeInput {
  std::string fileName;  // CP932 base name; packed into 8.3 form in the header
  std::string data;
  uint32_t dosTime = 0;  // MS-DOS packed local time
  int32_t tzWest = 0;    // seconds west of UTC
};

// The whole ISH text of one file (single volume), lines ended with eol.
std::string Encode(Variant variant, const EncodeInput& in, std::string_view eol = "\r\n");

// One ISH file (or one volume of a multi-volume file) found in a text.
struct Piece {
  bool ok = false;
  std::string name;     // CP932, from the 8.3 header field; empty when unusable
  std::string data;     // the file (or this volume's slice) when ok
  uint32_t dosTime = 0;
  bool hasTime = false;
  // Multi-volume: volume 1.. of count, offset of the slice in the whole file.
  int volume = 0;
  int volumes = 0;
  uint32_t totalSize = 0;
  uint32_t sliceSize = 0;  // S
  uint16_t totalCrc16 = 0;
  uint32_t totalCrc32 = 0;
  std::string key;  // header bytes shared by every volume of one file
  int repairedLines = 0;
};

// Every ISH file in a text (a bare ISH file, a message or a whole log), in order.
// Foreign lines are skipped; a file that cannot be restored comes back not ok.
std::vector<Piece> Decode(std::string_view text);

uint16_t Crc16(const uint8_t* p, size_t n);
uint32_t Crc32(const uint8_t* p, size_t n);

}  // namespace ish
