// Helpers shared by the archiver libraries: they take command lines and paths in
// CP932 as the program passes them, and write names on disk as UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace arc {

// The words of a command line: blanks separate, double quotes group.
std::vector<std::string> SplitCommand(std::string_view line);

std::string Cp932ToUtf8(std::string_view cp932);  // bytes that do not convert pass unchanged
std::string Utf8ToCp932(std::string_view utf8);   // nothing when it does not convert

// A CP932 path as the file system names it.
inline std::string Native(std::string_view cp932Path) { return Cp932ToUtf8(cp932Path); }

// A folder given with a trailing "/" (or "\") loses it; "" stays "".
std::string TrimFolder(std::string_view folder);

bool ReadWhole(const std::string& nativePath, std::string& out);

// Puts bytes into dir/name (native) without ever replacing an existing file: a
// temporary file is written, flushed and linked to the name. An existing file
// with the same bytes counts as done. False leaves nothing behind.
bool PlaceFile(const std::string& nativeDir, const std::string& name, std::string_view bytes,
               int64_t mtime = -1);

// Local time from MS-DOS packed date and time (seconds since the epoch).
int64_t DosTimeToUnix(uint32_t dos);
uint32_t UnixToDosTime(int64_t t);

}  // namespace arc
