// Recognising one line of a session log or split file. Every test takes one
// line (CP932, its line feed kept as read) and answers with its LineKind or 0.
#pragma once

#include <string>
#include <string_view>

namespace rkv {

namespace LineKind {
enum : int {
  None = 0,
  ConferencePrompt = 1,
  MailHeader = 2,
  HpLine = 3,
  PatioPrompt = 4,
  WeeklyNotice = 5,
  UsageNotice = 6,
  ListLine = 7,
  ComposedAddressee = 8,
  SentMailListHeading = 9,
  ReceivedMailListHeading = 10,
  LibraryListHeading = 11,
  LibraryListLine = 12,
  BracketedRoomLine = 13,
  RemittanceListHeading = 14,
  MessageHeader = 16,
  DateLine = 17,
  LoginLine = 19,
  DateField = 20,
  FromField = 21,
  MorePrompt = 33,
  ServicePrompt = 99,
};
}  // namespace LineKind

// The recogniser state a reader carries: the prompt rule and copies of the
// last conference prompt and message header matched (cut to 127 bytes; the
// lengths are the full ones).
struct FindHeader {
  int status = 0;  // 0: the copies are made
  int promptRule = 1;
  int promptLength = 0;
  int headerLength = 0;
  std::string promptCopy;
  std::string headerCopy;
  int mode = 0;

  explicit FindHeader(int rule = 1) : promptRule(rule) {}
};

// The divider's block classifier.
int ClassifyBlock(FindHeader& state, std::string_view line);
// The same for a line whose text up to its first NUL (cut) is known.
int ClassifyBlock(FindHeader& state, std::string_view line, std::string_view cut);
// The viewer's full classifier: mode 0 all kinds, 5 without the composed
// addressee line, 1 message headers only, any other mode nothing.
int ClassifyFull(FindHeader& state, std::string_view line, int mode);

namespace detail {
int ConferencePromptShape(FindHeader* state, std::string_view line);
int MessageHeaderShape(FindHeader* state, std::string_view line);
int ServicePromptShape(std::string_view line, int promptRule);
}  // namespace detail

// One test per kind; the two stateful ones update the copies in the state.
// The tests every line of a log meets turn most lines away on their first
// bytes, inline.
inline int ConferencePromptTest(FindHeader* state, std::string_view line) {
  if (line.size() < 2 || line[0] != '-' || line[1] != ' ') return 0;
  return detail::ConferencePromptShape(state, line);
}
// A header has "/" at column 3 or 5, or begins with "No.".
inline int MessageHeaderTest(FindHeader* state, std::string_view line) {
  if (line.size() < 4 || (line[3] != '/' && (line.size() < 6 || line[5] != '/') && line[0] != 'N')) return 0;
  return detail::MessageHeaderShape(state, line);
}
int MailHeaderTest(std::string_view line);
int HpLineTest(std::string_view line);
int PatioPromptTest(std::string_view line);
int WeeklyNoticeTest(std::string_view line);
int UsageNoticeTest(std::string_view line);
int ListLineTest(std::string_view line);
int ComposedAddresseeTest(std::string_view line);
int SentMailListHeadingTest(std::string_view line);
int ReceivedMailListHeadingTest(std::string_view line);
int LibraryListHeadingTest(std::string_view line);
int LibraryListLineTest(std::string_view line);
int BracketedRoomLineTest(std::string_view line);
int RemittanceListHeadingTest(std::string_view line);
int DateLineTest(std::string_view line);
int LoginLineTest(std::string_view line);
int DateFieldTest(std::string_view line);
int FromFieldTest(std::string_view line);
int MorePromptTest(std::string_view line);

inline bool IsConferencePrompt(std::string_view line) { return ConferencePromptTest(nullptr, line) != 0; }
inline bool IsMessageHeader(std::string_view line) { return MessageHeaderTest(nullptr, line) != 0; }

// Mail header shape A alone (the fixed-column mail list line).
bool IsMailHeaderShapeA(std::string_view line);
bool IsMailHeaderShapeB(std::string_view line);

// 99 when the line is a prompt of the service at which the user types a command.
inline int IsServicePrompt(std::string_view line, int promptRule) {
  if (line.empty()) return 0;
  char c = line[0];
  if (c != 'C' && c != 'M' && c != 'L' && c != 'H' && c != '\x81') return 0;
  return detail::ServicePromptShape(line, promptRule);
}
bool IsMailEnd(std::string_view line, int promptRule);
bool IsEndReply(std::string_view line);
bool IsConferenceStart(std::string_view line);
// Eight "*" followed by two blanks, from column col.
bool IsMaskedId(std::string_view line, size_t col = 0);

bool BeginsWith(std::string_view line, std::string_view literal);
bool Contains(std::string_view line, std::string_view literal);

}  // namespace rkv
