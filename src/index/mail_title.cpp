#include "index/mail_title.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/cp932.h"
#include "core/sjis.h"
#include "divide/line_recogniser.h"
#include "index/header_parse.h"

namespace rkv {
namespace {

std::string Trimmed(std::string text) {
  TrimBlanks(text, true);
  return text;
}

// The standard decimal conversion of the text from a column (0 past the end).
int NumberAt(std::string_view line, size_t col) {
  return col < line.size() ? ParseDecimal(UpToNul(line.substr(col))) : 0;
}

bool IsAt(std::string_view line, size_t col, char c) { return col < line.size() && line[col] == c; }

}  // namespace

void ParseDateField(std::string_view line, MailState& mail) {
  static constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  // A two-digit day moves the rest one column to the right.
  size_t s = IsAt(line, 12, ' ') ? 0 : 1;
  int day = NumberAt(line, 11);
  int year = NumberAt(line, 17 + s);
  if (year >= 2000) {
    year -= 2000;
  } else if (year >= 1900) {
    year -= 1900;
  }
  int month = 13;
  std::string_view name = Columns(line, 13 + s, 3);
  for (size_t m = 0; m < kMonths.size(); ++m) {
    if (name == kMonths[m]) month = static_cast<int>(m) + 1;
  }
  char date[40];
  std::snprintf(date, sizeof date, "%02d/%02d/%02d", year, month, day);
  mail.date = date;
  mail.time = std::string(Columns(line, 22 + s, 5));
}

void ParseFromField(std::string_view line, MailState& mail) {
  size_t i = 5;
  while (i < line.size() && (line[i] == ' ' || line[i] == '"')) ++i;
  std::string name;
  for (; i < line.size() && name.size() < 16; ++i) {
    char c = line[i];
    if (c == '"' || c == '<' || c == '@' || c == '\n') break;
    name.push_back(c);
  }
  if (name.size() == 16 && IsLeadByteAt(name, 15)) name.pop_back();
  mail.sender = name;
}

std::string SubjectTitle(std::string_view subjectLine, const std::vector<std::string>& following,
                         MailState& mail) {
  std::string subject = Trimmed(Piece(subjectLine, 0, 45));
  for (const std::string& line : following) {
    if (BeginsWith(line, "--------")) break;
    if (DateFieldTest(line)) ParseDateField(line, mail);
    if (FromFieldTest(line)) ParseFromField(line, mail);
  }
  std::string sender = mail.sender;
  if (sender.size() < 17) sender.resize(17, ' ');
  return mail.date + " " + mail.time + " " + sender + " " + subject;
}

std::string MailListTitle(std::string_view line, std::string_view next) {
  std::string first = Trimmed(Piece(line, 4, 16));
  std::string second = Trimmed(Piece(line, 22, 11));
  std::string third = Trimmed(Piece(line, 40, 14));
  std::string fourth = Trimmed(Piece(next, 10, 36));
  return third + " " + first + second + fourth;
}

std::string ComposedTitle(std::string_view toLine, const std::vector<std::string>& following) {
  static const std::array<const std::string*, 4> kHonorifics = {&SJ("さん"), &SJ("さま"), &SJ("様"),
                                                                &SJ("殿")};
  std::string id = Trimmed(Piece(toLine, 3, 12));
  std::string name, subject;
  for (const std::string& line : following) {
    if (Contains(line, "SUB:")) {
      subject = Piece(line, 4, 40);
      continue;
    }
    std::string_view text = UpToNul(line);
    auto honorific = std::find_if(kHonorifics.begin(), kHonorifics.end(), [&](const std::string* h) {
      return text.find(*h) != std::string_view::npos;
    });
    if (honorific == kHonorifics.end()) continue;
    name = Piece(line, 0, 24);
    size_t at = text.find(**honorific);
    if (at < name.size()) name.resize(at);
    break;
  }
  return id + " " + Trimmed(name) + " " + Trimmed(subject);
}

}  // namespace rkv
