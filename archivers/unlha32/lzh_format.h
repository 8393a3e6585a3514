// LHA archive headers (levels 0 to 3) as stored, the list lines the program
// parses, and the archive CRC-16.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lzh {

struct Member {
  std::string method;      // "-lh5-"
  uint64_t packed = 0;     // compressed bytes (extended headers not counted)
  uint64_t original = 0;
  int64_t mtime = -1;      // seconds since the epoch
  uint16_t crc = 0;
  std::string name;        // CP932 as stored, folders separated by "/"
  uint64_t dataOffset = 0;
  int level = 0;
  bool directory() const { return method == "-lhd-"; }
};

// Every member header of an archive image; ok is false when the first header is
// not an LHA header or a header runs past the end.
struct Listing {
  bool ok = false;
  std::vector<Member> members;
};
Listing ParseArchive(std::string_view image);

// The CRC-16 of LHA (reflected polynomial 0xA001, start 0).
uint16_t Crc16(const uint8_t* p, size_t n, uint16_t crc = 0);

// The library's list output: a title, the " ----" separator line, one line per
// member (name from column 2, size from 16, date and time from 41, method from
// 60, all within 82 bytes), the closing dash line and a total.
std::string ListText(const std::vector<Member>& members);
std::string MemberLine(const Member& m);
// The program's display line of a list line (81 bytes).
std::string DisplayLine(std::string_view listLine);

}  // namespace lzh
