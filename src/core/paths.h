// Path and name helpers on POSIX paths: "/" is the separator, ":" an ordinary
// byte, "/" alone the root. Paths are CP932 byte strings like all core text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rkv {

// directory + "/" + name; no second "/" when the directory ends in one; the name
// alone when the directory is empty.
std::string PathJoin(std::string_view directory, std::string_view name);

// The text after the last "/".
std::string FileNamePart(std::string_view path);

// The text before the last "/"; "/" itself for a file in the root; empty when
// the path has no "/".
std::string DirPart(std::string_view path);

// Byte comparison after upper-casing a-z in both.
bool SameNameNoCase(std::string_view a, std::string_view b);

// Expands a command or name template: "%F" (or "%f") gives the file name when one
// is given; "%" and any other character give the number in decimal when it is
// not 0 as an unsigned value, else nothing. A "%" at the very end stops the
// expansion. Command words keep their case: program names are case-sensitive here.
std::string ExpandNamePattern(std::string_view pattern, std::optional<std::string_view> fileName,
                              int32_t number);

struct DosTime {
  int hour = 0, minute = 0, second = 0;
};
struct DosDate {
  int year = 1980, month = 0, day = 0;  // year in full (1980 + stored years)
  int storedYears = 0;                  // years since 1980 as packed
};
// Splits the packed file time and date words of the FAT file system.
void DosDateTimeFields(uint16_t timeWord, uint16_t dateWord, DosTime& time, DosDate& date);

// Packs a local time into those words (years before 1980 clamp to 1980).
void ToDosDateTime(int64_t unixSeconds, uint16_t& timeWord, uint16_t& dateWord);

// Turns every 0x01 into NUL: a 0x01-separated list becomes consecutive C strings.
void ControlOneToNul(std::string& text);

}  // namespace rkv
