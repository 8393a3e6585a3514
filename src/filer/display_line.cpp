// The display line of a listing entry, column by column.
#include <cstdio>

#include "core/files.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "filer/dir_listing.h"

namespace rkv {
namespace {

constexpr size_t kTitleBytes = 48;

// Where the name splits into name and extension: the first "." after the first
// byte. The parent entry ".." has no extension and shows whole in the name column.
size_t SplitDot(std::string_view name) {
  if (name.empty() || name[0] == '.') return std::string_view::npos;
  return name.find('.', 1);
}

std::string NameColumn(std::string_view name, int width) {
  size_t dot = SplitDot(name);
  std::string column(dot == std::string_view::npos ? name : name.substr(0, dot));
  // A stored width beyond the dialog's range must not make lines of any length.
  FitWidth(column, width > 255 ? 255 : width);
  return column;
}

std::string ExtensionColumn(std::string_view name) {
  size_t dot = SplitDot(name);
  if (dot == std::string_view::npos) return std::string(5, ' ');
  std::string column(name.substr(dot, 4));
  FitWidth(column, 4);  // never half a character at the cut
  FitWidth(column, 5);
  return column;
}

std::string Printf(const char* format, long long a, long long b = 0, long long c = 0) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, a, b, c);
  return buf;
}

}  // namespace

std::string_view ExtensionOf(std::string_view name) {
  size_t dot = name.find('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string FormatDisplayLine(const FInfo& entry, const DspMode& mode) {
  const bool showExt = mode.flags[0] != 0, showSize = mode.flags[1] != 0;
  const bool showDate = mode.flags[2] != 0, showTime = mode.flags[3] != 0;
  const bool fourDigitYear = mode.flags[4] != 0;

  std::string name = NameColumn(entry.name, mode.nameWidth);
  std::string ext = showExt ? ExtensionColumn(entry.name) : "";
  std::string size = showSize ? Printf("%7lld", entry.size) : "";
  DosTime t;
  DosDate d;
  DosDateTimeFields(entry.time, entry.date, t, d);
  int year = fourDigitYear ? d.year : (d.storedYears < 20 ? 80 + d.storedYears : d.storedYears - 20);
  std::string date = showDate ? Printf("%02lld-%02lld-%02lld", year, d.month, d.day) : "";
  std::string time = showTime ? Printf("%02lld:%02lld", t.hour, t.minute) : "";

  if (entry.IsDirectory()) {
    if (showSize) {
      size = "  <DIR>";
    } else if (showExt) {
      ext = "<DIR>";
    } else if (showDate) {
      date.replace(0, 3, "<D>");
    }
  }
  std::string line = name + ext;
  if (showSize) line += " " + size;
  if (showDate) line += " " + date;
  if (showTime) line += " " + time;
  return line;
}

std::string ConferenceTitleColumn(std::string_view path) {
  std::string title;
  ReadPromptTitle(path, title, kTitleBytes);
  return "  " + title;
}

}  // namespace rkv
