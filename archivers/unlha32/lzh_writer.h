// Adding a file to an LHA archive: -lh5- (or -lh0- when that is not smaller)
// with a level-2 header carrying the Shift-JIS name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lzh {

// Adds (or replaces, by name) the file nativeFile under its base name taken from
// cp932Path, writing the archive anew beside itself and putting it in place only
// when complete. A file that is not an LHA archive is never overwritten.
bool AddFile(const std::string& nativeArchive, const std::string& nativeFile, const std::string& cp932Path);

// One member as stored: level-2 header and data.
std::string Lh5Member(const std::string& cp932Name, std::string_view data, int64_t mtime);

}  // namespace lzh
