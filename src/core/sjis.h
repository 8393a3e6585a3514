// Shift-JIS byte-string helpers: two-byte-aware cuts and tests, trimming,
// fields, lists and numbers. Texts are CP932 bytes; lengths and columns are bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rkv {

inline bool IsLeadByteValue(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
inline bool IsTrailByteValue(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}
inline bool IsHalfWidthByte(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }

// True when the byte at pos has a lead-byte value and is not itself the second
// byte of a character: a run of lead-byte values alternates first, second, first...
bool IsLeadByteAt(std::string_view text, size_t pos);

// 0 single byte, 1 lead byte, 2 proper trail byte, 3 byte after a lead byte that
// is no trail byte.
int ByteClassAt(std::string_view text, size_t pos);

// Makes the text exactly n bytes (padding with blanks, n at most 255 when
// padding), never ending in half a character. n == 0 empties it and gives -1.
int FitWidth(std::string& text, int n);

// Removes trailing blanks, and leading blanks too unless keepLeading (only when
// more than one byte is left). Returns the new length.
size_t TrimBlanks(std::string& text, bool keepLeading);

// The first length bytes of source with every full-width space made two blanks
// and trailing blanks removed.
std::string FullSpaceToBlanks(std::string_view source, size_t length);

// The bytes before the first delimiter (all of the source when there is none).
std::string CopyField(std::string_view source, char delimiter);

// Field n (0 = the text before the first delimiter); empty beyond the last one.
std::string FieldAt(std::string_view source, int n, char delimiter);

// Entry n of a ";"-separated list, or nothing when the list ends before it.
std::optional<std::string> ListEntry(std::string_view list, int n);

// The standard decimal conversion: leading white space, an optional sign, digits
// up to the first non-digit; no digits gives 0. Clamped to the 32-bit range.
int ParseDecimal(std::string_view text);

// ParseDecimal of the first n bytes (n at most 11).
int NumberPrefix(std::string_view text, int n);

// Upper-cases the single-byte letters a-z, leaving two-byte characters alone.
void UpperAscii(std::string& text);

// Bytes at [col, col + n) of a line, shorter when the line is; never the line feed.
std::string_view Columns(std::string_view line, size_t col, size_t n);

// The text up to (not including) its first NUL, as C string functions see it.
std::string_view UpToNul(std::string_view text);

}  // namespace rkv
