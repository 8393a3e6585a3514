#include "core/sjis.h"

#include <climits>

namespace rkv {
namespace {
unsigned char At(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }
}  // namespace

bool IsLeadByteAt(std::string_view text, size_t pos) {
  if (pos >= text.size() || !IsLeadByteValue(At(text, pos))) return false;
  // Length of the run of lead-byte values that ends at pos: odd means "first byte".
  size_t run = 1;
  while (run <= pos && IsLeadByteValue(At(text, pos - run))) ++run;
  return run % 2 == 1;
}

int ByteClassAt(std::string_view text, size_t pos) {
  if (pos >= text.size()) return 0;
  if (pos > 0 && IsLeadByteAt(text, pos - 1)) return IsTrailByteValue(At(text, pos)) ? 2 : 3;
  return IsLeadByteValue(At(text, pos)) ? 1 : 0;
}

int FitWidth(std::string& text, int n) {
  if (n <= 0) {
    text.clear();
    return -1;
  }
  auto width = static_cast<size_t>(n);
  if (text.size() < width) {
    text.append(width - text.size(), ' ');
    return 0;
  }
  text.resize(width);
  int cls = ByteClassAt(text, width - 1);
  if (cls == 1 || cls == 3) text[width - 1] = ' ';
  return 0;
}

size_t TrimBlanks(std::string& text, bool keepLeading) {
  if (text.empty()) return 0;
  size_t end = text.find_last_not_of(' ');
  text.resize(end == std::string::npos ? 0 : end + 1);
  if (!keepLeading && text.size() > 1) {
    size_t start = text.find_first_not_of(' ');
    text.erase(0, start == std::string::npos ? text.size() : start);
  }
  return text.size();
}

std::string FullSpaceToBlanks(std::string_view source, size_t length) {
  std::string out(source.substr(0, length));
  for (size_t i = 0; i < out.size(); ++i) {
    auto c = static_cast<unsigned char>(out[i]);
    if (!IsLeadByteValue(c) || i + 1 >= out.size()) continue;
    if (c == 0x81 && static_cast<unsigned char>(out[i + 1]) == 0x40) {
      out[i] = ' ';
      out[i + 1] = ' ';
    }
    ++i;
  }
  size_t end = out.find_last_not_of(' ');
  out.resize(end == std::string::npos ? 0 : end + 1);
  return out;
}

std::string CopyField(std::string_view source, char delimiter) {
  return std::string(source.substr(0, source.find(delimiter)));
}

std::string FieldAt(std::string_view source, int n, char delimiter) {
  size_t start = 0;
  for (int i = 0; i < n; ++i) {
    size_t d = source.find(delimiter, start);
    if (d == std::string_view::npos) return {};
    start = d + 1;
  }
  return CopyField(source.substr(start), delimiter);
}

std::optional<std::string> ListEntry(std::string_view list, int n) {
  size_t start = 0;
  for (int i = 0; i < n; ++i) {
    size_t d = list.find(';', start);
    if (d == std::string_view::npos) return std::nullopt;
    start = d + 1;
  }
  return CopyField(list.substr(start), ';');
}

int ParseDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int NumberPrefix(std::string_view text, int n) {
  if (n < 0) n = 0;
  if (n > 11) n = 11;
  return ParseDecimal(UpToNul(text.substr(0, static_cast<size_t>(n))));
}

void UpperAscii(std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (IsLeadByteValue(c)) {
      ++i;  // the second byte of a character is never a letter
    } else if (c >= 'a' && c <= 'z') {
      text[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
}

std::string_view Columns(std::string_view line, size_t col, size_t n) {
  if (col >= line.size()) return {};
  std::string_view piece = line.substr(col, n);
  size_t lf = piece.find('\n');
  return lf == std::string_view::npos ? piece : piece.substr(0, lf);
}

std::string_view UpToNul(std::string_view text) {
  size_t z = text.find('\0');
  return z == std::string_view::npos ? text : text.substr(0, z);
}

}  // namespace rkv
