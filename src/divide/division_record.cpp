#include "divide/division_record.h"

#include <cerrno>
#include <cstdio>

#include "core/sjis.h"
#include "platform/os.h"

namespace rkv {
namespace {

constexpr size_t kEntryText = 78;
constexpr size_t kEntryOnDisk = 80;  // with CR LF
constexpr size_t kPieceChars = 79;   // what one bounded text read gives of a line

}  // namespace

namespace {

// RecordEntry() into a string kept for its capacity: it runs once a block.
void MakeEntry(std::string& entry, std::string_view name, std::string_view header) {
  header = UpToNul(header);
  if (!header.empty() && header.back() == '\n') header.remove_suffix(1);
  entry.assign(name);
  entry += ':';
  entry += header;
  if (entry.size() < kEntryText) {
    entry.append(kEntryText - entry.size(), ' ');
  } else {
    entry.resize(kEntryText);
    if (IsLeadByteAt(entry, kEntryText - 1)) entry[kEntryText - 1] = ' ';
  }
}

}  // namespace

std::string RecordEntry(std::string_view name, std::string_view header) {
  std::string entry;
  MakeEntry(entry, name, header);
  return entry;
}

std::unique_ptr<DivisionRecord> DivisionRecord::Open(std::string path, bool deferred) {
  bool created = !os::Stat(path).exists;
  auto stream = OpenBinaryUpdate(path);
  if (!stream) return nullptr;
  std::unique_ptr<DivisionRecord> record(
      new DivisionRecord(std::move(path), std::move(stream), deferred, created));
  if (!record->Load()) return nullptr;
  return record;
}

DivisionRecord::DivisionRecord(std::string path, std::unique_ptr<Stream> stream, bool deferred, bool created)
    : path_(std::move(path)), stream_(std::move(stream)), id_(stream_->Id()), deferred_(deferred), created_(created) {}

bool DivisionRecord::Load() {
  bytes_.clear();
  char buf[64 * 1024];
  for (;;) {
    size_t got = stream_->Read(buf, sizeof buf);
    if (got == 0) break;
    bytes_.append(buf, got);
  }
  if (stream_->Failed()) return false;
  committed_ = bytes_;
  Scan();
  return true;
}

// Only a piece that starts a line can be an entry: in a damaged record the
// rest of a long line is not mistaken for one. A CR is part of the line end
// only right before its line feed.
void DivisionRecord::Scan() {
  ++scan_;
  lines_.clear();
  first_.clear();
  for (size_t start = 0; start < bytes_.size();) {
    size_t lf = bytes_.find('\n', start);
    size_t end = lf == std::string::npos ? bytes_.size() : lf + 1;
    Line line{start, end, {}, false};
    size_t content = lf == std::string::npos ? end : (lf > start && bytes_[lf - 1] == '\r' ? lf - 1 : lf);
    line.text = bytes_.substr(start, std::min(content - start, kPieceChars));
    if (lf != std::string::npos && line.text.size() < kPieceChars) line.text += '\n';
    line.whole = line.text.size() == kEntryText + 1 && line.text.back() == '\n' && end - start == kEntryOnDisk;
    size_t colon = line.text.find(':');
    lines_.push_back(std::move(line));
    if (colon != std::string::npos) first_.emplace(lines_.back().text.substr(0, colon), lines_.size() - 1);
    start = end;
  }
}

const DivisionRecord::Line* DivisionRecord::Locate(std::string_view name, Hint* hint) const {
  if (name.find(':') == std::string_view::npos) {
    if (hint && hint->scan == scan_) {
      const std::string& text = lines_[hint->line].text;
      if (text.size() > name.size() && text[name.size()] == ':' && text.starts_with(name)) return &lines_[hint->line];
    }
    auto it = first_.find(name);
    if (it == first_.end()) return nullptr;
    if (hint) *hint = Hint{it->second, scan_};
    return &lines_[it->second];
  }
  std::string key = std::string(name) + ":";
  for (const Line& line : lines_) {
    if (line.text.starts_with(key)) return &line;
  }
  return nullptr;
}

std::optional<std::string> DivisionRecord::FindRecord(std::string_view name) const {
  const Line* line = Locate(name);
  if (!line) return std::nullopt;
  return line->text;
}

const std::string* DivisionRecord::Entry(std::string_view name, Hint* hint) const {
  const Line* line = Locate(name, hint);
  return line ? &line->text : nullptr;
}

int DivisionRecord::UpdateRecord(std::string_view name, std::string_view header, Hint* hint) {
  if (!stream_) return -1;
  std::string& entry = entry_;
  MakeEntry(entry, name, header);
  entry += "\r\n";
  const Line* found = Locate(name, hint);
  if (!found) {
    // An entry after a last line without its line end would never be found again.
    size_t at = bytes_.size();
    if (!bytes_.empty() && bytes_.back() != '\n') bytes_ += "\r\n";
    changedFrom_ = std::min(changedFrom_, at);
    size_t start = bytes_.size();
    bytes_ += entry;
    lines_.push_back(Line{start, bytes_.size(), entry.substr(0, kEntryText) + "\n", true});
    first_.emplace(entry.substr(0, entry.find(':')), lines_.size() - 1);
    if (hint) *hint = Hint{lines_.size() - 1, scan_};
  } else if (found->whole) {
    bytes_.replace(found->start, kEntryOnDisk, entry);
    changedFrom_ = std::min(changedFrom_, found->start);
    std::string& text = lines_[static_cast<size_t>(found - lines_.data())].text;
    text.assign(entry, 0, kEntryText);
    text += '\n';
  } else {
    // An entry of the wrong size cannot be rewritten in place without spoiling
    // its neighbours: the record is written anew with that line replaced.
    bytes_.replace(found->start, found->end - found->start, entry);
    changedFrom_ = std::min(changedFrom_, found->start);
    rewriteWhole_ = true;
    Scan();
  }
  if (deferred_) return 0;
  return Commit() ? 0 : -1;
}

bool DivisionRecord::Commit() {
  if (changedFrom_ == std::string::npos) return true;
  if (rewriteWhole_) {
    std::string error;
    if (!WriteFileAtomically(path_, bytes_, &error)) return Fail(errno);
    stream_->Close();
    stream_ = OpenBinaryUpdate(path_);
    if (!stream_) return Fail(errno);
    id_ = stream_->Id();
  } else if (!stream_->WriteAt(static_cast<int64_t>(changedFrom_),
                               std::string_view(bytes_).substr(changedFrom_))) {
    int error = stream_->LastErrno();
    // Put back what was there, so that no torn entry is left behind.
    auto fresh = OpenBinaryUpdate(path_);
    if (fresh) fresh->WriteAt(static_cast<int64_t>(changedFrom_), std::string_view(committed_).substr(changedFrom_));
    os::Truncate(path_, static_cast<int64_t>(committed_.size()));
    if (fresh) stream_ = std::move(fresh);
    return Fail(error);
  }
  committed_ = bytes_;
  changedFrom_ = std::string::npos;
  rewriteWhole_ = false;
  created_ = false;
  return true;
}

void DivisionRecord::Rollback() {
  if (deferred_ && created_ && committed_.empty()) os::Remove(path_);
  created_ = false;
  bytes_ = committed_;
  changedFrom_ = std::string::npos;
  rewriteWhole_ = false;
  Scan();
}

bool DivisionRecord::Fail(int error) {
  errno_ = error != 0 ? error : EIO;
  if (!deferred_) Rollback();
  return false;
}

}  // namespace rkv
