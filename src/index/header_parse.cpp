#include "index/header_parse.h"

#include "core/sjis.h"
#include "divide/line_recogniser.h"

namespace rkv {

std::string_view WithoutLineFeed(std::string_view line) { return line.substr(0, line.find('\n')); }

void SetTitleText(TitleNode& node, std::string_view text) {
  node.ClearText();
  std::string_view taken = WithoutLineFeed(text).substr(0, kTitleTake);
  taken.copy(node.text.data(), taken.size());
  if (taken.size() == kTitleTake && IsLeadByteAt(taken, kTitleTake - 1)) node.text[kTitleTake - 1] = ' ';
}

std::string Piece(std::string_view line, size_t col, size_t n) {
  std::string piece(Columns(line, col, n));
  if (n > 0 && piece.size() == n && IsLeadByteAt(piece, n - 1)) piece[n - 1] = ' ';
  return piece;
}

int32_t CommentReference(std::string_view lineAfter) {
  if (lineAfter.size() <= 29) return 0;
  return NumberPrefix(lineAfter.substr(23), 5);
}

TitleNode HeaderTitle(std::string_view header, int64_t offset, int64_t line,
                      std::optional<std::string_view> lineAfter) {
  TitleNode node;
  node.kind = LineKind::MessageHeader;
  node.offset = offset;
  node.line = line;
  node.commentTo = lineAfter ? CommentReference(*lineAfter) : 0;
  SetTitleText(node, header);
  return node;
}

}  // namespace rkv
