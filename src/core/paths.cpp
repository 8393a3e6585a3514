#include "core/paths.h"

#include <ctime>

#include "core/sjis.h"

namespace rkv {

std::string PathJoin(std::string_view directory, std::string_view name) {
  std::string out(directory);
  if (!out.empty() && out.back() != '/') out.push_back('/');
  out.append(name);
  return out;
}

std::string FileNamePart(std::string_view path) {
  size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string DirPart(std::string_view path) {
  size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

bool SameNameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string ExpandNamePattern(std::string_view pattern, std::optional<std::string_view> fileName,
                              int32_t number) {
  std::string out;
  auto value = static_cast<uint32_t>(number);
  for (size_t i = 0; i < pattern.size(); ++i) {
    auto c = static_cast<unsigned char>(pattern[i]);
    if (IsLeadByteValue(c) && i + 1 < pattern.size()) {
      out.push_back(pattern[i]);
      out.push_back(pattern[++i]);
      continue;
    }
    if (c != '%') {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (i + 1 >= pattern.size()) break;
    auto code = static_cast<unsigned char>(pattern[++i]);
    if (IsLeadByteValue(code) && i + 1 < pattern.size()) ++i;  // a code is one whole character
    if ((code == 'F' || code == 'f') && fileName) {
      out.append(*fileName);
    } else if (value != 0) {
      out.append(std::to_string(value));
    }
  }
  return out;
}

void DosDateTimeFields(uint16_t timeWord, uint16_t dateWord, DosTime& time, DosDate& date) {
  time.hour = timeWord >> 11;
  time.minute = (timeWord >> 5) & 0x3F;
  time.second = (timeWord & 0x1F) * 2;
  date.storedYears = dateWord >> 9;
  date.year = 1980 + date.storedYears;
  date.month = (dateWord >> 5) & 0x0F;
  date.day = dateWord & 0x1F;
}

void ToDosDateTime(int64_t unixSeconds, uint16_t& timeWord, uint16_t& dateWord) {
  time_t t = static_cast<time_t>(unixSeconds);
  struct tm tm {};
  localtime_r(&t, &tm);
  int years = tm.tm_year + 1900 - 1980;
  if (years < 0) {
    timeWord = 0;
    dateWord = (1 << 5) | 1;  // 1980-01-01 00:00
    return;
  }
  if (years > 127) years = 127;
  timeWord = static_cast<uint16_t>(tm.tm_hour << 11 | tm.tm_min << 5 | tm.tm_sec / 2);
  dateWord = static_cast<uint16_t>(years << 9 | (tm.tm_mon + 1) << 5 | tm.tm_mday);
}

void ControlOneToNul(std::string& text) {
  for (char& c : text) {
    if (c == '\x01') c = '\0';
  }
}

}  // namespace rkv
