// Titles of the mail-like blocks of split files other than conference files:
// Internet-style mails, the service's fixed-column mail list and messages the
// user composed offline. Each takes the lines the scan has read for it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rkv {

// Date, time and sender of the last mail that named them. A scan keeps one for
// the whole file: a mail without those lines shows the values of the last one.
struct MailState {
  std::string date;    // "yy/mm/dd"
  std::string time;    // "hh:mm"
  std::string sender;  // at most 16 bytes
};

// A "Date: " line: day, month name, year and time into the state.
void ParseDateField(std::string_view line, MailState& mail);
// A "From: " line: the sender's name (before any quote, "<" or "@").
void ParseFromField(std::string_view line, MailState& mail);

// The title of a "Subject:" line; `following` are the (at most five) lines
// after it, read up to a line of dashes. Date and From among them update mail.
std::string SubjectTitle(std::string_view subjectLine, const std::vector<std::string>& following,
                         MailState& mail);
// The title of a line of the fixed-column mail list and the line after it
// (empty when there was none).
std::string MailListTitle(std::string_view line, std::string_view next);
// The title of a composed message: its addressee line and the (at most five)
// lines after it.
std::string ComposedTitle(std::string_view toLine, const std::vector<std::string>& following);

}  // namespace rkv
