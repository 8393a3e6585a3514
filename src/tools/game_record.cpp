#include "tools/game_record.h"

#include "core/cp932.h"
#include "divide/line_recogniser.h"

namespace rkv {
namespace {

bool IsHandicapLine(std::string_view line) { return Contains(line, SJ("手合割：")); }
bool IsFirstPlayerLine(std::string_view line) {
  return Contains(line, SJ("先手：")) || Contains(line, SJ("下手："));
}
bool IsSecondPlayerLine(std::string_view line) {
  return Contains(line, SJ("後手：")) || Contains(line, SJ("上手："));
}

bool PlayersAt(const std::vector<std::string>& lines, size_t i) {
  return i + 1 < lines.size() && IsFirstPlayerLine(lines[i]) && IsSecondPlayerLine(lines[i + 1]);
}

// Lines of two bytes or less end the record at the third one.
constexpr size_t kShortLine = 2;
constexpr int kShortLinesToEnd = 3;

}  // namespace

bool HasGameRecord(const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (PlayersAt(lines, i)) return true;
  }
  return false;
}

std::optional<size_t> GameRecordStart(const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (IsHandicapLine(lines[i])) {
      if (PlayersAt(lines, i + 1)) return i;
      continue;
    }
    if (PlayersAt(lines, i)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> GameRecordText(const std::vector<std::string>& lines) {
  std::optional<size_t> start = GameRecordStart(lines);
  if (!start) return std::nullopt;
  std::string text;
  int shortLines = 0;
  for (size_t i = *start; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    text += line;
    text += "\r\n";
    // A KIF comment may well say who resigned or won; it never ends the record.
    if (!line.empty() && line[0] == '*') continue;
    if (Contains(line, SJ("投了")) || Contains(line, SJ("投　了"))) break;
    if (Contains(line, SJ("＞"))) break;
    if (Contains(line, SJ("中断"))) break;
    if (line.size() > kShortLine) {
      if (Contains(line, SJ("の勝ち"))) break;
    } else if (++shortLines == kShortLinesToEnd) {
      break;
    }
  }
  return text;
}

bool CopyGameRecord(const std::vector<std::string>& lines, Host& host) {
  std::optional<std::string> text = GameRecordText(lines);
  return text && host.SetClipboard(*text);
}

}  // namespace rkv
