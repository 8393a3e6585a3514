// Unpacking through libarchive into an output folder, member by member, with the
// checks of extract.h. Names are read as CP932 and written as UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>
#include <string>
#include <string_view>

namespace arc {

struct UnpackReport {
  bool opened = false;  // libarchive took the archive at all
  int written = 0;
  int failed = 0;       // members not written (unsafe, undecodable, damaged)
};

// What to do with member index i (0-based, in archive order) of that UTF-8 path.
// Decode, when set, writes members libarchive cannot (returns true when it handled
// the member, with ok telling whether it succeeded).
struct UnpackHooks {
  std::function<bool(int index)> selected;
  std::function<bool(int index, const std::vector<std::string>& parts, int64_t mtime, bool& ok)> decode;
  // Sees the bytes libarchive gave for member i, then says whether they are right.
  std::function<void(int index, const char* data, size_t size)> consume;
  std::function<bool(int index)> verify;
};

UnpackReport Unpack(std::string_view image, const char* format, const std::string& nativeDir,
                    const UnpackHooks& hooks);

}  // namespace arc
