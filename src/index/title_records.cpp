#include "index/title_records.h"

#include <cinttypes>
#include <cstdio>

#include "core/cp932.h"
#include "core/sjis.h"
#include "divide/line_recogniser.h"

namespace rkv {
namespace {

// Field columns of record 0.
constexpr size_t kSizeCol = 30, kSizeWidth = 8;
constexpr size_t kLinesCol = 38, kLinesWidth = 7;
constexpr size_t kReadCol = 45, kReadWidth = 5;
constexpr size_t kValue4Col = 50, kValue4Width = 6;
constexpr size_t kValue6Col = 56, kValue6Width = 42;
// Field columns of a title record.
constexpr size_t kOffsetWidth = 8, kLineCol = 8, kLineWidth = 6, kCommentCol = 14, kCommentWidth = 6;
constexpr size_t kTextCol = 20;
constexpr size_t kContentBytes = kTitleRecordBytes - 2;

bool Fits(int64_t value, size_t width) {
  char digits[24];
  int n = std::snprintf(digits, sizeof digits, "%" PRId64, value);
  return n > 0 && static_cast<size_t>(n) <= width;
}

// Writes the number left-justified at col; the caller has checked that it fits.
void Put(std::string& record, size_t col, int64_t value) {
  char digits[24];
  int n = std::snprintf(digits, sizeof digits, "%" PRId64, value);
  record.replace(col, static_cast<size_t>(n), digits, static_cast<size_t>(n));
}

std::string BlankRecord() {
  std::string record(kContentBytes, ' ');
  record += "\r\n";
  return record;
}

int32_t FieldNumber(std::string_view record, size_t col, size_t width) {
  return col < record.size() ? ParseDecimal(UpToNul(record.substr(col, width))) : 0;
}

}  // namespace

const std::string& TitleFileSignature() { return SJ("RKV.EXE: ﾀｲﾄﾙ情報ﾌｧｲﾙ"); }

std::optional<std::string> FormatHeaderRecord(const TitleFileHeader& h) {
  if (!Fits(h.fileSize, kSizeWidth) || !Fits(h.lineCount, kLinesWidth) || !Fits(h.readPosition, kReadWidth) ||
      !Fits(h.value4, kValue4Width) || !Fits(h.value6, kValue6Width)) {
    return std::nullopt;
  }
  std::string record = BlankRecord();
  record.replace(0, TitleFileSignature().size(), TitleFileSignature());
  Put(record, kSizeCol, h.fileSize);
  Put(record, kLinesCol, h.lineCount);
  Put(record, kReadCol, h.readPosition);
  Put(record, kValue4Col, h.value4);
  Put(record, kValue6Col, h.value6);
  return record;
}

TitleFileHeader HeaderThatFits(TitleFileHeader h) {
  if (!Fits(h.fileSize, kSizeWidth)) h.fileSize = 0;
  if (!Fits(h.lineCount, kLinesWidth)) h.lineCount = 0;
  if (!Fits(h.readPosition, kReadWidth)) h.readPosition = 0;
  if (!Fits(h.value4, kValue4Width)) h.value4 = 0;
  if (!Fits(h.value6, kValue6Width)) h.value6 = 0;
  return h;
}

std::optional<std::string> FormatTitleRecord(const TitleNode& t) {
  if (!Fits(t.offset, kOffsetWidth) || !Fits(t.line, kLineWidth) || !Fits(t.commentTo, kCommentWidth)) {
    return std::nullopt;
  }
  std::string record = BlankRecord();
  Put(record, 0, t.offset);
  Put(record, kLineCol, t.line);
  Put(record, kCommentCol, t.commentTo);
  record.replace(kTextCol, kTitleTake, t.Text().substr(0, kTitleTake));
  return record;
}

std::optional<TitleFileHeader> ParseHeaderRecord(std::string_view record) {
  const std::string& signature = TitleFileSignature();
  if (record.size() != kTitleRecordBytes || record.substr(0, signature.size()) != signature ||
      record.substr(kContentBytes) != "\r\n") {
    return std::nullopt;
  }
  TitleFileHeader h;
  h.fileSize = FieldNumber(record, kSizeCol, kSizeWidth);
  h.lineCount = FieldNumber(record, kLinesCol, kLinesWidth);
  h.readPosition = FieldNumber(record, kReadCol, kReadWidth);
  h.value4 = FieldNumber(record, kValue4Col, kValue4Width);
  h.value6 = FieldNumber(record, kValue6Col, kValue6Width);
  return h;
}

TitleNode ParseTitleRecord(std::string_view record) {
  TitleNode t;
  t.kind = LineKind::MessageHeader;
  t.offset = FieldNumber(record, 0, kOffsetWidth);
  t.line = FieldNumber(record, kLineCol, kLineWidth);
  // Old files may hold "N" there; their number then stands in the last columns.
  bool oldForm = record.size() > kCommentCol && record[kCommentCol] == 'N';
  t.commentTo = oldForm ? FieldNumber(record, kCommentCol + 4, kCommentWidth - 4)
                        : FieldNumber(record, kCommentCol, kCommentWidth);
  std::string_view text = record.size() > kTextCol ? record.substr(kTextCol, kTitleTake) : std::string_view();
  text.copy(t.text.data(), text.size());
  return t;
}

std::optional<std::string> FormatReadPosition(int32_t index) {
  if (index < 0 || index > 9999) return std::nullopt;
  char text[8];
  std::snprintf(text, sizeof text, "%-4dd", static_cast<int>(index));
  return std::string(text);
}

}  // namespace rkv
