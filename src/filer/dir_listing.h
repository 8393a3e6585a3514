// The listing of one filer: a directory read with its mask, sorted, with marks
// and a display line per entry. Every entry is listed, however many there are;
// the mark flags grow with the listing.
#pragma once

#include "core/kinds.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"

namespace rkv {

inline constexpr uint8_t kAttrDirectory = 0x10;

// One directory entry.
struct FInfo {
  uint8_t attrib = 0;
  uint16_t time = 0;  // packed: hour 11-15, minute 5-10, seconds/2 0-4
  uint16_t date = 0;  // packed: years since 1980 9-15, month 5-8, day 0-4
  int64_t size = 0;
  std::string line;   // display line
  std::string name;

  bool IsDirectory() const { return (attrib & kAttrDirectory) != 0; }
};


class DirInfo {
 public:
  explicit DirInfo(int kind, std::string mask = "*.*");

  // Reads the directory: when the name part holds "*", the text before it is
  // the path and the name part the new mask. Directories come first ("..", then
  // the others by name), then the files that match the mask, sorted by the
  // current order; marks are cleared and every display line rebuilt. False when
  // the directory could not be listed (the listing is then empty).
  bool Read(std::string_view pathOrPattern, const DspMode& mode);

  // Sorts by an order 0 to 8 (other values act as 0) and clears the marks.
  void Sort(int order);
  void BuildLines(const DspMode& mode);

  int kind() const { return kind_; }
  const std::string& path() const { return path_; }
  const std::string& mask() const { return mask_; }
  void SetMask(std::string mask) { mask_ = std::move(mask); }
  // Changes the path without reading it (the next Read of path() does).
  void SetPath(std::string path) { path_ = std::move(path); }
  int sortOrder() const { return order_; }

  int count() const { return static_cast<int>(entries_.size()); }
  int dirCount() const { return dirCount_; }
  int fileCount() const { return count() - dirCount_; }
  const FInfo& at(int index) const { return entries_[static_cast<size_t>(index)]; }
  std::string FullPath(int index) const;

  bool marked(int index) const { return marks_[static_cast<size_t>(index)] != 0; }
  int markCount() const { return markCount_; }
  // Marks a file or takes its mark away; directories are never marked.
  void SetMark(int index, bool on);
  void ToggleMark(int index) { SetMark(index, !marked(index)); }
  void ClearMarks();
  // Marks every file, or unmarks them all when every file is already marked.
  void MarkAllFiles();
  std::vector<int> MarkedIndices() const;
  // The number of marked entries at or above index.
  int MarksUpTo(int index) const;

  // "  %3d ﾌｧｲﾙ(%8ld KB)  %8ld KB free": entries, file bytes and free space in
  // KB, rounded up.
  std::string StatusLine() const;

 private:
  int kind_;
  std::string mask_;
  std::string path_;
  int order_ = 0;
  std::vector<FInfo> entries_;
  int dirCount_ = 0;
  std::vector<uint8_t> marks_;
  int markCount_ = 0;
};

// The sort order a filer starts with from its sort key: 1 by name, 2 by date.
int InitialSortOrder(int sortKey);

// The display line of an entry without the conference title column.
std::string FormatDisplayLine(const FInfo& entry, const DspMode& mode);

// The conference title column of a file: two blanks, then 48 bytes of title.
std::string ConferenceTitleColumn(std::string_view path);

// The extension as the filer sorts and opens by it: from the first "." on.
std::string_view ExtensionOf(std::string_view name);

}  // namespace rkv
