// The 100-byte records of a title information file: 98 bytes of content and
// CR LF; numbers decimal, left-justified in fixed columns, blank-padded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "index/title_node.h"

namespace rkv {

inline constexpr size_t kTitleRecordBytes = 100;

// The values of record 0.
struct TitleFileHeader {
  int64_t fileSize = 0;
  int64_t lineCount = 0;
  int32_t readPosition = 0;
  int32_t value4 = 1000;
  int32_t value6 = 0;
};

// "RKV.EXE: ﾀｲﾄﾙ情報ﾌｧｲﾙ", the first 21 bytes of every title file.
const std::string& TitleFileSignature();

// Record 0; nothing when a number does not fit its columns.
std::optional<std::string> FormatHeaderRecord(const TitleFileHeader& header);
// The same header with every number that does not fit its columns made 0.
TitleFileHeader HeaderThatFits(TitleFileHeader header);
// A title record; nothing when a number does not fit its columns (a file
// position past 99,999,999 or a line past 999,999).
std::optional<std::string> FormatTitleRecord(const TitleNode& title);

// Record 0 of a title file of ours (its signature and line end in place);
// each number read from its field's first column, never past the field.
std::optional<TitleFileHeader> ParseHeaderRecord(std::string_view record);
// A title record as a message header title.
TitleNode ParseTitleRecord(std::string_view record);

// The read position as it is rewritten on its own: "%-4ud", five bytes; nothing
// when the number does not fit.
std::optional<std::string> FormatReadPosition(int32_t index);

}  // namespace rkv
