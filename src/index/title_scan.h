// Building title lists by scanning split files: the message headers of a
// conference file, and every recognised block of any other split file.
#pragma once

#include <cstdint>
#include <vector>

#include "core/files.h"
#include "index/title_info.h"
#include "index/title_node.h"

namespace rkv {

// Bytes per read of each scan; longer lines arrive in pieces, each a line.
inline constexpr size_t kConferenceReadBytes = 254;
inline constexpr size_t kOtherReadBytes = 126;

// Scans a conference file from the stream's position, numbering the lines read
// from firstLine on, and appends a title for every header until `titles` holds
// kMaxTitles. lastLine gets the number of the last line read. Returns 0, or -1
// when reading failed (the titles found so far stay).
int ScanConferenceTitles(Stream& in, int64_t firstLine, std::vector<TitleNode>& titles, int64_t& lastLine);

// Scans any other split file from its start with the full classifier. Returns
// 0, or -1 when reading failed.
int ScanOtherTitles(Stream& in, int promptRule, std::vector<TitleNode>& titles, int64_t& lastLine);

// Fills the table of a split file that is not a conference file by scanning it
// (no title file). -1 when the file does not open or reading failed.
int LoadOtherTitles(TitleInfo& table, std::string_view path, int promptRule);

}  // namespace rkv
