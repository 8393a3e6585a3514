// File masks as the filer has always used them: "*" and "?" wildcards, letters
// compared without case, a two-byte character matched as one character.
#pragma once

#include <string_view>

namespace rkv {

// True when the name matches the mask. As on the original file system, a mask
// ending in ".*" also takes names without any ".", so "*.*" lists every file.
bool MaskMatches(std::string_view mask, std::string_view name);

}  // namespace rkv
