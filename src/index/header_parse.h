// Reading a message header back from a split file: the title it gives, the
// comment reference in the line after it, and pieces cut from fixed columns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "index/title_node.h"

namespace rkv {

// The line up to (not including) its first line feed.
std::string_view WithoutLineFeed(std::string_view line);

// Sets the title text: the first 78 bytes of the text (stopping at a line feed),
// a cut second half of a character never left at the end, blanks after it.
void SetTitleText(TitleNode& node, std::string_view text);

// Bytes [col, col + n) of a line without its line feed; a full-width piece that
// ends in the first byte of a two-byte character ends in a blank instead.
std::string Piece(std::string_view line, size_t col, size_t n);

// The number that the line after a header names as the commented message: the
// five bytes at columns 23-27 when the line is longer than 29 bytes, else 0.
int32_t CommentReference(std::string_view lineAfter);

// The title of a message header line. lineAfter is the line that followed it,
// nothing when the header was the last line of the file (commentTo 0 then).
TitleNode HeaderTitle(std::string_view header, int64_t offset, int64_t line,
                      std::optional<std::string_view> lineAfter);

}  // namespace rkv
