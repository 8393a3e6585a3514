#include "divide/output_names.h"

#include <array>
#include <cstdio>

#include "core/files.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "divide/line_recogniser.h"

namespace rkv {
namespace {

std::string Printf2(const char* format, int a, int b, int c = 0) {
  char buf[32];
  std::snprintf(buf, sizeof buf, format, a % 100, b, c);
  return buf;
}

bool IsVowelCapital(char c) { return c == 'A' || c == 'I' || c == 'U' || c == 'E' || c == 'O'; }

// Bytes a name may not hold on the common file systems.
bool IsUnsafeSingleByte(unsigned char c) {
  static constexpr std::string_view kReserved = "\\/:*?\"<>|";
  return c < 0x20 || c == 0x7F || kReserved.find(static_cast<char>(c)) != std::string_view::npos;
}

bool OnlyDotsAndBlanks(std::string_view name) {
  return name.find_first_not_of(". ") == std::string_view::npos;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices, whatever follows a ".".
bool IsDeviceName(std::string_view name) {
  std::string stem(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  UpperAscii(stem);
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
  return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' &&
         stem[3] <= '9';
}

// Turns every unsafe single-byte character into "_"; two-byte characters stay
// whole, and a lead byte without its second byte becomes "_" as well.
std::string SafeName(std::string_view name) {
  std::string out(name);
  for (size_t i = 0; i < out.size(); ++i) {
    auto c = static_cast<unsigned char>(out[i]);
    if (IsLeadByteValue(c)) {
      if (i + 1 < out.size() && IsTrailByteValue(static_cast<unsigned char>(out[i + 1]))) {
        ++i;
      } else {
        out[i] = '_';
      }
    } else if (IsUnsafeSingleByte(c)) {
      out[i] = '_';
    }
  }
  return out;
}

}  // namespace

OutputKind OutputKindOf(int lineKind) {
  switch (lineKind) {
    case LineKind::ConferencePrompt:
      return OutputKind::Conference;
    case LineKind::MailHeader:
      return OutputKind::Mail;
    case LineKind::ComposedAddressee:
      return OutputKind::SentMail;
    case LineKind::HpLine:
      return OutputKind::Hp;
    case LineKind::PatioPrompt:
      return OutputKind::Patio;
    case LineKind::SentMailListHeading:
    case LineKind::ReceivedMailListHeading:
      return OutputKind::MailList;
    case LineKind::WeeklyNotice:
    case LineKind::UsageNotice:
    case LineKind::ListLine:
      return OutputKind::Etc;
    default:
      return OutputKind::None;
  }
}

std::string RoomName(std::string_view prompt) {
  prompt = UpToNul(prompt);
  if (prompt.size() < 2) return {};
  std::string_view rest = prompt.substr(2);
  return std::string(rest.substr(0, rest.find(' ')));
}

std::string ConferenceNumber(std::string_view prompt) {
  prompt = UpToNul(prompt);
  size_t open = prompt.find('(');
  if (open == std::string_view::npos) return "  ";
  std::string number(prompt.substr(open + 1, 2));
  number.resize(2, ' ');
  return number;
}

std::string FlatConferenceName(std::string_view room, std::string_view number,
                               std::string_view cnfExt) {
  std::string base;
  if (room.size() < 7) {
    base = room;
    if (room.size() < 6) base += '_';
  } else {
    std::string_view rest = room.substr(2);
    std::string consonants;
    for (char c : rest) {
      if (!IsVowelCapital(c)) consonants += c;
    }
    base = std::string(room.substr(0, 2));
    base += consonants.size() < 4 ? std::string(rest.substr(0, 3)) : consonants.substr(0, 3);
    base += room.back();
  }
  base += number[0] == ' ' ? '0' : number[0];
  base += number[1];
  if (!cnfExt.empty() && cnfExt.size() <= 3) {
    base += '.';
    base += cnfExt;
  }
  return base;
}

std::string RoomFolderName(std::string_view room) { return std::string(room.substr(0, 8)); }

std::string RoomFileName(std::string_view room, std::string_view number) {
  std::string name = room.size() < 7 ? std::string(room)
                                     : std::string(room.substr(0, 4)) + std::string(room.substr(room.size() - 2));
  if (number[1] == '0') {
    name += number[0] == '1' ? '_' : '~';
    name += 'A';
  } else {
    name += number[0] == ' ' ? '_' : '~';
    name += number[1];
  }
  return name;
}

std::string MailFileName(const Date& today, int mailName) {
  std::string name = Printf2("MAIL%02d%02d.%02d0", today.year, today.month, today.day);
  return mailName != 0 ? name : name.substr(0, 8);
}

std::string SentMailFileName(const Date& today) { return Printf2("MSND%02d%02d", today.year, today.month); }

std::string HpFileName(const Date& today, int hpNameRule) {
  return hpNameRule == 0 ? Printf2("HP%02d%02d%02d", today.year, today.month, today.day)
                         : Printf2("HP%02d%02d", today.year, today.month);
}

std::string MailListFileName(const Date& today) { return Printf2("MLST%02d%02d", today.year, today.month); }

std::string EtcFileName(const Date& today) {
  return Printf2("ETC%02d%02d.%02d0", today.year, today.month, today.day);
}

std::string PatioFileName(std::string_view prompt, const Date& today) {
  auto fallback = [&today] { return Printf2("PT%02d%02d%02d", today.year, today.month, today.day); };
  prompt = UpToNul(prompt);
  size_t colon = prompt.find(':');
  if (colon == std::string_view::npos) return fallback();
  std::string text(prompt.substr(colon + 1));
  if (!text.empty() && text.back() == '\n') text.pop_back();
  if (text.empty()) return fallback();
  if (text.size() > 8) text.resize(IsLeadByteAt(text, 7) ? 7 : 8);
  std::string name = SafeName(text);
  if (OnlyDotsAndBlanks(name) || IsDeviceName(name)) return fallback();
  return name;
}

std::string ConferenceFolder(const RKVcfg& cfg) { return cfg.NameRule == 1 ? cfg.BaseDir : cfg.CurCnfDir; }

std::string OutputFolder(const RKVcfg& cfg, OutputKind kind) {
  switch (kind) {
    case OutputKind::Conference:
      return ConferenceFolder(cfg);
    case OutputKind::Mail:
    case OutputKind::SentMail:
    case OutputKind::MailList:
      return cfg.CurMailDir;
    case OutputKind::Hp:
      return cfg.HpDir;
    case OutputKind::Patio:
      return cfg.PatioDir;
    case OutputKind::Etc:
    case OutputKind::None:
      break;
  }
  return cfg.CurLogDir;
}

std::string RecordPath(const RKVcfg& cfg) {
  return PathJoin(ConferenceFolder(cfg), cfg.RecName.empty() ? std::string("RKV.REC") : cfg.RecName);
}

char NextSeriesByte(char c) {
  if (c == '9') return 'A';
  if (c == 'Z') return 'Z';
  if ((c >= '0' && c < '9') || (c >= 'A' && c < 'Z')) return static_cast<char>(c + 1);
  return '0';
}

std::string FreeSeriesName(std::string path, bool resetLast) {
  if (path.empty()) return path;
  char& last = path.back();
  if (resetLast) last = '0';
  while (PathExists(path) && last != 'Z') last = NextSeriesByte(last);
  return path;
}

}  // namespace rkv
