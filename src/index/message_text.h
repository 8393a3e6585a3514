// The text of one message as the message view shows it and the message tools
// hand it on: read from the title's position up to where the message ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "index/title_node.h"

namespace rkv {

// A message holds at most 300 lines; each read takes at most 80 bytes, so a
// longer line shows as several lines.
inline constexpr size_t kMessageSlots = 300;
inline constexpr size_t kSlotBytes = 80;

// Reads the message whose header line starts at offset - 1 into lines (line
// feeds removed) and returns the line count; 0 when the file did not open or
// nothing could be read there.
int ReadMessageText(std::string_view path, int64_t offset, int promptRule, std::vector<std::string>& lines);

// The keyword search's reading of a message: only message headers (kind 16)
// give text; the header and the line after it are always taken, and neither a
// paging prompt nor a composed message continues the text.
int ReadMessageForSearch(std::string_view path, const TitleNode& title, int promptRule,
                         std::vector<std::string>& lines);

}  // namespace rkv
