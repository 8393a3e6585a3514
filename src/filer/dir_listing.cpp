#include "filer/dir_listing.h"

#include <algorithm>
#include <cstdio>

#include "core/cp932.h"
#include "core/paths.h"
#include "filer/mask_match.h"
#include "platform/os.h"

namespace rkv {
namespace {

bool ByteLess(std::string_view a, std::string_view b) { return a < b; }  // unsigned bytes

bool NameLess(const FInfo& a, const FInfo& b) { return ByteLess(a.name, b.name); }

bool ExtLess(const FInfo& a, const FInfo& b) {
  std::string_view ea = ExtensionOf(a.name), eb = ExtensionOf(b.name);
  if (ea != eb) return ByteLess(ea, eb);
  return NameLess(a, b);
}

bool ExtGreater(const FInfo& a, const FInfo& b) {
  std::string_view ea = ExtensionOf(a.name), eb = ExtensionOf(b.name);
  if (ea != eb) return ByteLess(eb, ea);
  return NameLess(a, b);
}

uint32_t Stamp(const FInfo& e) { return static_cast<uint32_t>(e.date) << 16 | e.time; }

FInfo EntryFrom(const os::DirEntry& d) {
  FInfo e;
  e.name = d.name;
  e.attrib = d.directory ? kAttrDirectory : 0;
  e.size = d.directory ? 0 : d.size;
  ToDosDateTime(d.mtime, e.time, e.date);
  return e;
}

int64_t KbRoundedUp(int64_t bytes) { return bytes <= 0 ? 0 : (bytes + 1023) / 1024; }

}  // namespace

int InitialSortOrder(int sortKey) {
  if (sortKey == 1) return 1;
  if (sortKey == 2) return 3;
  return 0;
}

DirInfo::DirInfo(int kind, std::string mask) : kind_(kind), mask_(std::move(mask)) {}

bool DirInfo::Read(std::string_view pathOrPattern, const DspMode& mode) {
  std::string name = FileNamePart(pathOrPattern);
  if (name.find('*') != std::string::npos) {
    path_ = DirPart(pathOrPattern);
    mask_ = name;
  } else {
    path_ = std::string(pathOrPattern);
  }
  entries_.clear();
  dirCount_ = 0;
  auto listed = os::ListDir(path_);
  if (listed) {
    if (path_ != "/") {
      FInfo parent;
      parent.name = "..";
      parent.attrib = kAttrDirectory;
      if (auto st = os::Stat(PathJoin(path_, "..")); st.exists) ToDosDateTime(st.mtime, parent.time, parent.date);
      entries_.push_back(parent);
    }
    // Names beginning with "." are hidden on this system, as hidden entries
    // were never listed.
    for (const auto& d : *listed) {
      if (d.directory && !d.name.empty() && d.name[0] != '.') entries_.push_back(EntryFrom(d));
    }
    dirCount_ = static_cast<int>(entries_.size());
    for (const auto& d : *listed) {
      if (d.regular && !d.name.empty() && d.name[0] != '.' && MaskMatches(mask_, d.name)) {
        entries_.push_back(EntryFrom(d));
      }
    }
  }
  Sort(order_);
  BuildLines(mode);
  return listed.has_value();
}

void DirInfo::Sort(int order) {
  order_ = order;
  auto dirsEnd = entries_.begin() + dirCount_;
  // ".." stays at the head; the other directories follow by name.
  auto dirsBegin = entries_.begin();
  if (dirsBegin != dirsEnd && dirsBegin->name[0] == '.') ++dirsBegin;
  std::stable_sort(dirsBegin, dirsEnd, NameLess);

  auto b = dirsEnd, e = entries_.end();
  switch (order) {
    case 1: std::stable_sort(b, e, NameLess); break;
    case 5: std::stable_sort(b, e, [](const FInfo& x, const FInfo& y) { return NameLess(y, x); }); break;
    case 2: std::stable_sort(b, e, ExtLess); break;
    case 6: std::stable_sort(b, e, ExtGreater); break;
    case 3: std::stable_sort(b, e, [](const FInfo& x, const FInfo& y) { return Stamp(x) > Stamp(y); }); break;
    case 7: std::stable_sort(b, e, [](const FInfo& x, const FInfo& y) { return Stamp(x) < Stamp(y); }); break;
    case 4: std::stable_sort(b, e, [](const FInfo& x, const FInfo& y) { return x.size > y.size; }); break;
    case 8: std::stable_sort(b, e, [](const FInfo& x, const FInfo& y) { return x.size < y.size; }); break;
    default: break;
  }
  marks_.assign(entries_.size(), 0);
  markCount_ = 0;
}

void DirInfo::BuildLines(const DspMode& mode) {
  for (auto& e : entries_) {
    e.line = FormatDisplayLine(e, mode);
    if (kind_ == kCnfFiler) {
      e.line += e.IsDirectory() ? std::string(50, ' ') : ConferenceTitleColumn(PathJoin(path_, e.name));
    }
  }
}

std::string DirInfo::FullPath(int index) const { return PathJoin(path_, at(index).name); }

void DirInfo::SetMark(int index, bool on) {
  if (index < 0 || index >= count() || at(index).IsDirectory()) return;
  auto& flag = marks_[static_cast<size_t>(index)];
  if ((flag != 0) == on) return;
  flag = on ? 1 : 0;
  markCount_ += on ? 1 : -1;
}

void DirInfo::ClearMarks() {
  std::fill(marks_.begin(), marks_.end(), 0);
  markCount_ = 0;
}

void DirInfo::MarkAllFiles() {
  bool all = markCount_ == fileCount();
  for (int i = dirCount_; i < count(); ++i) SetMark(i, !all);
}

std::vector<int> DirInfo::MarkedIndices() const {
  std::vector<int> out;
  for (int i = 0; i < count(); ++i) {
    if (marks_[static_cast<size_t>(i)]) out.push_back(i);
  }
  return out;
}

int DirInfo::MarksUpTo(int index) const {
  int n = 0;
  for (int i = 0; i <= index && i < count(); ++i) n += marks_[static_cast<size_t>(i)];
  return n;
}

std::string DirInfo::StatusLine() const {
  int64_t bytes = 0;
  for (int i = dirCount_; i < count(); ++i) bytes += at(i).size;
  int64_t free = os::FreeSpace(path_);
  char buf[128];
  std::snprintf(buf, sizeof buf, "  %3d %s(%8lld KB)  %8lld KB free", count(), SJ("ﾌｧｲﾙ").c_str(),
                static_cast<long long>(KbRoundedUp(bytes)), static_cast<long long>(KbRoundedUp(free)));
  return buf;
}

}  // namespace rkv
