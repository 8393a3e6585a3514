#include "divide/line_recogniser.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <cstdint>

#include "core/cp932.h"
#include "core/sjis.h"

namespace rkv {
namespace {

// Column classes of the shape tests: ASCII only, a column past the end never matches.
bool Digit(std::string_view s, size_t i) { return i < s.size() && s[i] >= '0' && s[i] <= '9'; }
bool Upper(std::string_view s, size_t i) { return i < s.size() && s[i] >= 'A' && s[i] <= 'Z'; }
bool Letter(std::string_view s, size_t i) {
  return Upper(s, i) || (i < s.size() && s[i] >= 'a' && s[i] <= 'z');
}
bool Alnum(std::string_view s, size_t i) { return Letter(s, i) || Digit(s, i); }
bool Blank(std::string_view s, size_t i) { return i < s.size() && s[i] == ' '; }
bool Is(std::string_view s, size_t i, char c) { return i < s.size() && s[i] == c; }
bool BlankOrDigit(std::string_view s, size_t i) { return Blank(s, i) || Digit(s, i); }

template <typename Pred>
bool All(std::string_view s, size_t from, size_t to, Pred pred) {
  for (size_t i = from; i <= to; ++i) {
    if (!pred(s, i)) return false;
  }
  return true;
}

void Store(std::string& copy, int& length, std::string_view line) {
  length = static_cast<int>(line.size());
  copy.assign(line.substr(0, 127));
}

}  // namespace

// No literal holds a NUL, so a line that begins with one has no NUL before its end.
bool BeginsWith(std::string_view line, std::string_view literal) { return line.starts_with(literal); }

bool Contains(std::string_view line, std::string_view literal) {
  return UpToNul(line).find(literal) != std::string_view::npos;
}

bool IsMaskedId(std::string_view line, size_t col) {
  line = UpToNul(line);
  for (size_t i = col; i < col + 8; ++i) {
    if (!Is(line, i, '*')) return false;
  }
  return Blank(line, col + 8) && Blank(line, col + 9);
}

// The shape tests look at every column up to the last one they examine, and a
// NUL matches no class, so they can run on the line as read; only the copies
// stop at a NUL.
int detail::ConferencePromptShape(FindHeader* state, std::string_view line) {
  if (!Is(line, 0, '-') || !Blank(line, 1)) return 0;
  size_t e = 2;
  while (Alnum(line, e)) ++e;
  if (e == 2) return 0;
  if (!Blank(line, e) || !Blank(line, e + 1) || line.substr(e + 2, 4) != "MES(") return 0;
  if (!BlankOrDigit(line, e + 6) || !Digit(line, e + 7) || !Is(line, e + 8, ')') ||
      !Is(line, e + 9, ':')) {
    return 0;
  }
  if (state && state->status == 0) Store(state->promptCopy, state->promptLength, UpToNul(line));
  return LineKind::ConferencePrompt;
}


namespace {

// A header's columns as a pattern: "d" a digit, "U" a capital letter, any
// other character itself. Most lines tested are headers, whose every column
// is looked at: sixteen at a time where the processor can.
template <size_t N>
struct Shape {
  static constexpr size_t kColumns = N - 1;
  static_assert(kColumns >= 16 && kColumns <= 32);
  char pattern[N];
#ifdef __SSE2__
  // For the columns from 0 and from kColumns - 16 on: which want a digit,
  // a capital, or their own byte, and that byte.
  struct Half {
    alignas(16) uint8_t digit[16], upper[16], same[16], byte[16];
  } halves[2];
#endif
  constexpr explicit Shape(const char (&p)[N]) : pattern{} {
    for (size_t i = 0; i < N; ++i) pattern[i] = p[i];
#ifdef __SSE2__
    for (size_t h = 0; h < 2; ++h) {
      Half half{};
      for (size_t i = 0; i < 16; ++i) {
        char c = p[(h == 0 ? 0 : kColumns - 16) + i];
        half.digit[i] = c == 'd' ? 0xFF : 0;
        half.upper[i] = c == 'U' ? 0xFF : 0;
        half.same[i] = c != 'd' && c != 'U' ? 0xFF : 0;
        half.byte[i] = static_cast<uint8_t>(c);
      }
      halves[h] = half;
    }
#endif
  }
};

template <size_t N>
bool Fits(std::string_view line, const Shape<N>& shape) {
  constexpr size_t n = Shape<N>::kColumns;
  if (line.size() < n) return false;
#ifdef __SSE2__
  // A byte is a digit when adding 0x80 - '0' makes it one of the ten
  // smallest signed bytes; a capital likewise with 'A' and 26.
  const __m128i toDigit = _mm_set1_epi8(static_cast<char>(0x80 - '0')), digits = _mm_set1_epi8(-128 + 10);
  const __m128i toUpper = _mm_set1_epi8(static_cast<char>(0x80 - 'A')), uppers = _mm_set1_epi8(-128 + 26);
  for (size_t h = 0; h < 2; ++h) {
    const auto& half = shape.halves[h];
    auto load = [](const uint8_t* m) { return _mm_load_si128(reinterpret_cast<const __m128i*>(m)); };
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + (h == 0 ? 0 : n - 16)));
    __m128i digit = _mm_cmplt_epi8(_mm_add_epi8(v, toDigit), digits);
    __m128i upper = _mm_cmplt_epi8(_mm_add_epi8(v, toUpper), uppers);
    __m128i same = _mm_cmpeq_epi8(v, load(half.byte));
    __m128i ok = _mm_or_si128(_mm_and_si128(digit, load(half.digit)), _mm_and_si128(upper, load(half.upper)));
    ok = _mm_or_si128(ok, _mm_and_si128(same, load(half.same)));
    if (_mm_movemask_epi8(ok) != 0xFFFF) return false;
  }
  return true;
#else
  for (size_t i = 0; i < n; ++i) {
    char p = shape.pattern[i];
    if (p == 'd' ? !Digit(line, i) : p == 'U' ? !Upper(line, i) : line[i] != p) return false;
  }
  return true;
#endif
}

// A masked ID (eight "*") stands where the ID would; such a header leaves the copy alone.
constexpr Shape kShort("ddd/ddd   UUUddddd  "), kShortMasked("ddd/ddd   ********  ");
constexpr Shape kLong("ddddd/ddddd UUUddddd  "), kLongMasked("ddddd/ddddd ********  ");
constexpr Shape kNumbered("No. ddd   UUUddddd ");

}  // namespace

int detail::MessageHeaderShape(FindHeader* state, std::string_view line) {
  if (Is(line, 3, '/')) {
    if (Is(line, 10, '*')) return Fits(line, kShortMasked) ? LineKind::MessageHeader : 0;
    if (!Fits(line, kShort)) return 0;
  } else if (Is(line, 5, '/')) {
    if (Is(line, 12, '*')) return Fits(line, kLongMasked) ? LineKind::MessageHeader : 0;
    if (!Fits(line, kLong)) return 0;
  } else if (Is(line, 0, 'N')) {
    if (!Fits(line, kNumbered)) return 0;
  } else {
    return 0;
  }
  if (state && state->status == 0) Store(state->headerCopy, state->headerLength, UpToNul(line));
  return LineKind::MessageHeader;
}

int DateLineTest(std::string_view line) {
  line = UpToNul(line);
  return Blank(line, 5) && Is(line, 9, '/') && Is(line, 12, '/') && Blank(line, 15) && Is(line, 18, ':')
             ? LineKind::DateLine
             : 0;
}

namespace {

// The shape tests below take a line already cut at its first NUL, so that a
// classifier that runs many of them cuts it once.
bool MailHeaderShapeA(std::string_view s) {
  auto upperOrDigit = [](std::string_view t, size_t i) { return Upper(t, i) || Digit(t, i); };
  return BlankOrDigit(s, 0) && Digit(s, 1) && Blank(s, 2) && s.size() > 20 && Blank(s, 21) &&
         All(s, 22, 24, Upper) && s.size() > 25 && All(s, 26, 28, upperOrDigit) && Digit(s, 29) &&
         All(s, 30, 33, BlankOrDigit) && Blank(s, 34) && s.size() > 38 && Blank(s, 39) &&
         All(s, 40, 41, Digit) && Is(s, 42, '/') && All(s, 43, 44, Digit) && Is(s, 45, '/') &&
         s.size() > 48 && All(s, 49, 50, Digit) && Is(s, 51, ':');
}

bool MailHeaderShapeB(std::string_view s) {
  return BlankOrDigit(s, 0) && Digit(s, 1) && Blank(s, 2) && (Blank(s, 3) || Is(s, 3, '#')) &&
         s.size() > 19 && All(s, 20, 21, Blank) && All(s, 22, 24, Upper) && All(s, 25, 29, Digit) &&
         All(s, 30, 31, Blank) && All(s, 32, 33, Digit) && Is(s, 34, '/') && All(s, 35, 36, Digit) &&
         Blank(s, 37) && All(s, 38, 39, Digit);
}

int MailHeaderCut(std::string_view line, std::string_view cut) {
  if (MailHeaderShapeA(cut) || MailHeaderShapeB(cut) || BeginsWith(line, "Subject:")) return LineKind::MailHeader;
  return 0;
}

int HpLineCut(std::string_view s) {
  if (s.size() < 42) return 0;
  bool ok = All(s, 0, 2, Alnum) && All(s, 3, 4, Blank) && Is(s, 5, '[') && All(s, 6, 7, Alnum) &&
            Is(s, 8, '/') && All(s, 9, 10, Alnum) && Is(s, 11, '/') && All(s, 12, 13, Alnum) &&
            Blank(s, 14) && All(s, 15, 16, Alnum) && Is(s, 17, ':') && All(s, 18, 19, Alnum) &&
            Is(s, 20, ']') && All(s, 21, 22, Blank) && All(s, 23, 30, Alnum) && All(s, 31, 36, Blank);
  return ok ? LineKind::HpLine : 0;
}

int ListLineCut(std::string_view s) {
  if (s.size() < 32) return 0;
  bool ok = All(s, 0, 1, BlankOrDigit) && Digit(s, 2) && All(s, 3, 5, Blank) && All(s, 6, 8, Letter) &&
            All(s, 9, 13, Digit) && All(s, 14, 15, Blank) && BlankOrDigit(s, 16) && Digit(s, 17) &&
            Is(s, 18, '/') && All(s, 19, 20, Digit) && All(s, 21, 24, Blank) &&
            All(s, 25, 26, BlankOrDigit) && Digit(s, 27) && All(s, 28, 29, Blank);
  return ok ? LineKind::ListLine : 0;
}

int PatioPromptCut(std::string_view line) {
  if (line.substr(0, 6) != "- MES(") return 0;
  if (!BlankOrDigit(line, 6) || !Digit(line, 7) || !Is(line, 8, ')') || !Is(line, 9, ':')) return 0;
  return LineKind::PatioPrompt;
}

// "あなたの御利用状況は次のとおりです" or "あなたのご利用状況は次のとおりです"
// anywhere in the text: the part both share is looked for, by its first
// byte, which is rarer in Japanese text than the hiragana lead byte.
bool HasUsageLine(std::string_view cut) {
  static const std::string kRest = SJ("利用状況は次のとおりです");
  static const std::string kHonorific = SJ("あなたの御"), kPlain = SJ("あなたのご");
  const size_t before = kHonorific.size();
  for (size_t at = before; at + kRest.size() <= cut.size(); ++at) {
    at = cut.find(kRest, at);
    if (at == std::string_view::npos) return false;
    std::string_view lead = cut.substr(at - before, before);
    if (lead == kHonorific || lead == kPlain) return true;
  }
  return false;
}

int UsageNoticeCut(std::string_view line, std::string_view cut) {
  if (BeginsWith(line, SJ("利用料金情報    BILL")) || HasUsageLine(cut)) return LineKind::UsageNotice;
  return 0;
}

}  // namespace

bool IsMailHeaderShapeA(std::string_view s) { return MailHeaderShapeA(UpToNul(s)); }
bool IsMailHeaderShapeB(std::string_view s) { return MailHeaderShapeB(UpToNul(s)); }
int MailHeaderTest(std::string_view line) { return MailHeaderCut(line, UpToNul(line)); }
int HpLineTest(std::string_view s) { return HpLineCut(UpToNul(s)); }
int ListLineTest(std::string_view s) { return ListLineCut(UpToNul(s)); }
int PatioPromptTest(std::string_view line) { return PatioPromptCut(UpToNul(line)); }

int LibraryListLineTest(std::string_view s) {
  s = UpToNul(s);
  bool ok = BlankOrDigit(s, 0) && Is(s, 17, '/') && Is(s, 20, '/') && Blank(s, 23) && Blank(s, 31) &&
            (Is(s, 37, 'B') || Is(s, 37, 'T'));
  return ok ? LineKind::LibraryListLine : 0;
}

int WeeklyNoticeTest(std::string_view line) {
  return BeginsWith(line, SJ("今週のお知らせ    NEW")) ? LineKind::WeeklyNotice : 0;
}

int UsageNoticeTest(std::string_view line) { return UsageNoticeCut(line, UpToNul(line)); }

int ComposedAddresseeTest(std::string_view line) {
  return BeginsWith(line, "TO:") || BeginsWith(line, "To: ") ? LineKind::ComposedAddressee : 0;
}

int SentMailListHeadingTest(std::string_view line) {
  return BeginsWith(line, SJ("送信日  受信日時      宛先ID")) ? LineKind::SentMailListHeading : 0;
}

int ReceivedMailListHeadingTest(std::string_view line) {
  return BeginsWith(line, SJ("受信日  送信者ID  名前")) ? LineKind::ReceivedMailListHeading : 0;
}

int LibraryListHeadingTest(std::string_view line) {
  return BeginsWith(line, SJ("番号  ID       登")) ? LineKind::LibraryListHeading : 0;
}

int BracketedRoomLineTest(std::string_view line) {
  if (BeginsWith(line, SJ("＜")) && Contains(line, SJ("＞")) &&
      (Contains(line, " F") || Contains(line, " S"))) {
    return LineKind::BracketedRoomLine;
  }
  return 0;
}

int RemittanceListHeadingTest(std::string_view line) {
  return BeginsWith(line, SJ("月日  時間        金額(\\) ID")) ? LineKind::RemittanceListHeading : 0;
}

int LoginLineTest(std::string_view line) {
  return Contains(line, SJ("LOG IN  －")) ? LineKind::LoginLine : 0;
}

int DateFieldTest(std::string_view line) { return BeginsWith(line, "Date: ") ? LineKind::DateField : 0; }

int FromFieldTest(std::string_view line) { return BeginsWith(line, "From: ") ? LineKind::FromField : 0; }

int MorePromptTest(std::string_view line) {
  return BeginsWith(line, SJ("続き (改行で表示　E:終了)")) ? LineKind::MorePrompt : 0;
}

int detail::ServicePromptShape(std::string_view line, int promptRule) {
  if (line.empty()) return 0;
  // Most lines are rejected on their first byte.
  switch (line[0]) {
    case 'C':
      return BeginsWith(line, "CCS(") && Is(UpToNul(line), 6, '>') ? LineKind::ServicePrompt : 0;
    case 'M':
    case 'L':
    case 'H':
      return BeginsWith(line, "MAIL>") || BeginsWith(line, "LIB>") || BeginsWith(line, "HP>")
                 ? LineKind::ServicePrompt
                 : 0;
    case '\x81':
      break;
    default:
      return 0;
  }
  if (!BeginsWith(line, SJ("＞"))) return 0;
  line = UpToNul(line);
  size_t n = line.size();
  if (n == 2 || n > 30 || (n < 5 && Is(line, 2, '\n'))) return 0;
  if (promptRule != 0) {
    for (size_t i = 2; i < n; ++i) {
      if (IsLeadByteAt(line, i) || IsHalfWidthByte(static_cast<unsigned char>(line[i]))) return 0;
    }
  }
  return LineKind::ServicePrompt;
}

bool IsMailEnd(std::string_view line, int promptRule) {
  return Contains(line, SJ("受信後 (1:削除  2:保存  3:返信  4:返信＋削除  5:転送  6:転送＋削除  E:終了)")) ||
         BeginsWith(line, "MAIL>") || IsServicePrompt(line, promptRule) != 0 ||
         BeginsWith(line, "X-Status: ") || BeginsWith(line, "Received: ");
}

bool IsEndReply(std::string_view line) {
  line = UpToNul(line);
  return (BeginsWith(line, SJ("＞E")) || BeginsWith(line, SJ("＞e"))) && line.size() <= 4;
}

bool IsConferenceStart(std::string_view line) {
  return IsConferencePrompt(line) ||
         Contains(line, SJ("電子会議 (1:発言　改行のみ: 読む) 通常モード"));
}

int ClassifyBlock(FindHeader& state, std::string_view line) { return ClassifyBlock(state, line, UpToNul(line)); }

int ClassifyBlock(FindHeader& state, std::string_view line, std::string_view cut) {
  if (line.empty()) return 0;
  // Every kind but the usage notice is told by its first byte: only the tests
  // that first byte can pass are run, in their order.
  auto first = static_cast<unsigned char>(line[0]);
  bool blankOrDigit = first == ' ' || (first >= '0' && first <= '9');
  int k = 0;
  if (first == '-') {
    k = ConferencePromptTest(&state, line);
  } else if (blankOrDigit || first == 'S') {
    k = MailHeaderCut(line, cut);
  } else if (first == 'T') {
    k = ComposedAddresseeTest(line);
  } else if (first == 0x91) {
    k = SentMailListHeadingTest(line);
  } else if (first == 0x8E) {
    k = ReceivedMailListHeadingTest(line);
  } else if (first == 0x8D) {
    k = WeeklyNoticeTest(line);
  }
  if (k != 0) return k;
  if (int usage = UsageNoticeCut(line, cut)) return usage;
  if (blankOrDigit) k = ListLineCut(cut);
  if (k == 0 && Alnum(line, 0)) k = HpLineCut(cut);
  if (k == 0 && first == '-') k = PatioPromptCut(cut);
  return k;
}

int ClassifyFull(FindHeader& state, std::string_view line, int mode) {
  state.mode = mode;
  if (mode == 1) return MessageHeaderTest(&state, line);
  if (mode != 0 && mode != 5) return 0;
  if (int k = ConferencePromptTest(&state, line)) return k;
  if (int k = MessageHeaderTest(&state, line)) return k;
  if (int k = BracketedRoomLineTest(line)) return k;
  if (int k = LibraryListHeadingTest(line)) return k;
  if (int k = MailHeaderTest(line)) return k;
  if (mode == 0) {
    if (int k = ComposedAddresseeTest(line)) return k;
  }
  if (int k = SentMailListHeadingTest(line)) return k;
  if (int k = ReceivedMailListHeadingTest(line)) return k;
  if (int k = WeeklyNoticeTest(line)) return k;
  if (int k = UsageNoticeTest(line)) return k;
  if (int k = ListLineTest(line)) return k;
  if (int k = HpLineTest(line)) return k;
  if (int k = RemittanceListHeadingTest(line)) return k;
  if (int k = LoginLineTest(line)) return k;
  return 0;
}

}  // namespace rkv
