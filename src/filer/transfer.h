// Copying and moving one file into another directory. The target is written
// under a temporary name beside it and put in place only when it is complete,
// so a failed copy never leaves a half file and never harms the file it was
// to replace; a move removes its source only after a complete copy.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/host.h"

namespace rkv {

inline constexpr int kTransferDone = 0;
inline constexpr int kTransferFailed = -1;
inline constexpr int kTransferDeclined = -2;

// Copies source into destDir under its own name, keeping its modification
// time; asks before overwriting. 0 done, -1 failed, -2 declined by the user.
int Transfer(Host& host, std::string_view source, std::string_view destDir);

// Transfer, then the source is removed; -1 when it could not be removed.
int MoveFile(Host& host, std::string_view source, std::string_view destDir);

// "%02d-%02d-%02d %02d:%02d" with the two-digit year of the listing.
std::string TransferTimeStamp(int64_t mtime);

}  // namespace rkv
