// Code page 932 (Windows Shift-JIS) <-> UTF-8: the one converter of the program.
// Every byte string inside the core is CP932; only the edges (widgets, terminal,
// file names on disk) see Unicode.
#pragma once

#include <string>
#include <string_view>

namespace rkv::cp932 {

// Decodes CP932 bytes. Bytes that do not form a character of the code page
// become U+FFFD (one per bad byte), so a damaged log still shows its good text.
std::string ToUtf8(std::string_view cp932);

// Encodes UTF-8 text. Characters the code page lacks become "?"; malformed
// UTF-8 bytes become "?" as well.
std::string FromUtf8(std::string_view utf8);

// True when every character of the UTF-8 text exists in the code page (and the
// text is well-formed UTF-8), so FromUtf8 loses nothing.
bool Representable(std::string_view utf8);

// True when the bytes are a well-formed CP932 text without undefined codes.
bool WellFormed(std::string_view cp932);

}  // namespace rkv::cp932

// A Japanese literal written in readable UTF-8, turned into CP932 once, on first use.
#define SJ(utf8_literal)                                                       \
  ([]() -> const std::string& {                                                \
    static const std::string converted_ = ::rkv::cp932::FromUtf8(utf8_literal); \
    return converted_;                                                         \
  }())
