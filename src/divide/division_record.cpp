#include "divide/division_record.h"

#include <cerrno>
#include <cstdio>

#include "core/sjis.h"

namespace rkv {
namespace {

constexpr size_t kEntryText = 78;
constexpr int64_t kEntryOnDisk = 80;  // with CR LF
constexpr size_t kReadSize = 80;      // reads take at most 79 bytes

}  // namespace

std::string RecordEntry(std::string_view name, std::string_view header) {
  header = UpToNul(header);
  if (!header.empty() && header.back() == '\n') header.remove_suffix(1);
  std::string entry(name);
  entry += ':';
  entry += header;
  if (entry.size() < kEntryText) {
    entry.append(kEntryText - entry.size(), ' ');
  } else {
    entry.resize(kEntryText);
    if (IsLeadByteAt(entry, kEntryText - 1)) entry[kEntryText - 1] = ' ';
  }
  return entry;
}

std::unique_ptr<DivisionRecord> DivisionRecord::Open(std::string path) {
  auto stream = OpenTextUpdate(path);
  if (!stream) return nullptr;
  std::unique_ptr<DivisionRecord> record(new DivisionRecord(std::move(path), std::move(stream)));
  if (!record->Scan()) return nullptr;
  return record;
}

DivisionRecord::DivisionRecord(std::string path, std::unique_ptr<Stream> stream)
    : path_(std::move(path)), stream_(std::move(stream)), id_(stream_->Id()) {}

// Only a piece that starts a line can be an entry: in a damaged record the
// rest of a long line is not mistaken for one.
bool DivisionRecord::Scan() {
  lines_.clear();
  first_.clear();
  if (!stream_->Seek(0, SEEK_SET)) return false;
  std::string piece;
  bool atLineStart = true;
  for (;;) {
    int64_t start = stream_->Tell();
    if (!stream_->Gets(piece, kReadSize)) break;
    bool ended = piece.back() == '\n';
    if (atLineStart) {
      lines_.push_back(Line{start, 0, piece, false});
      size_t colon = piece.find(':');
      if (colon != std::string::npos) first_.emplace(piece.substr(0, colon), lines_.size() - 1);
    }
    if (ended) {
      Line& line = lines_.back();
      line.end = stream_->Tell();
      line.whole = line.text.size() == kEntryText + 1 && line.end - line.start == kEntryOnDisk;
    }
    atLineStart = ended;
  }
  if (stream_->Failed()) return false;
  size_ = stream_->Tell();
  if (!lines_.empty() && lines_.back().end == 0) lines_.back().end = size_;
  endsInLineEnd_ = atLineStart;
  return true;
}

const DivisionRecord::Line* DivisionRecord::Locate(std::string_view name) const {
  if (name.find(':') == std::string_view::npos) {
    auto it = first_.find(std::string(name));
    return it == first_.end() ? nullptr : &lines_[it->second];
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

int DivisionRecord::UpdateRecord(std::string_view name, std::string_view header) {
  if (!stream_) return -1;
  std::string entry = RecordEntry(name, header);
  const Line* line = Locate(name);
  if (!line) return Append(entry);
  if (line->whole) return Overwrite(lines_[static_cast<size_t>(line - lines_.data())], entry);
  return Repair(*line, entry);
}

int DivisionRecord::Fail() {
  errno_ = stream_ && stream_->LastErrno() != 0 ? stream_->LastErrno() : (errno != 0 ? errno : EIO);
  return -1;
}

int DivisionRecord::Append(const std::string& entry) {
  // An entry after a last line without its line end would never be found again.
  std::string bytes = endsInLineEnd_ ? entry + "\n" : "\n" + entry + "\n";
  if (!stream_->WriteAt(size_, bytes)) return Fail();
  int64_t start = size_ + (endsInLineEnd_ ? 0 : 2);
  lines_.push_back(Line{start, start + kEntryOnDisk, entry + "\n", true});
  first_.emplace(entry.substr(0, entry.find(':')), lines_.size() - 1);
  size_ = start + kEntryOnDisk;
  endsInLineEnd_ = true;
  return 0;
}

int DivisionRecord::Overwrite(Line& line, const std::string& entry) {
  if (!stream_->WriteAt(line.start, entry + "\n")) return Fail();
  line.text = entry + "\n";
  return 0;
}

// An entry of the wrong size cannot be rewritten in place without spoiling its
// neighbours: the whole record is written anew with that line replaced.
int DivisionRecord::Repair(const Line& line, const std::string& entry) {
  if (!stream_->Flush()) return Fail();
  auto bytes = ReadWholeFile(path_);
  if (!bytes) return Fail();
  auto start = static_cast<size_t>(line.start);
  auto end = std::min(static_cast<size_t>(line.end), bytes->size());
  std::string repaired = bytes->substr(0, start) + entry + "\r\n" + bytes->substr(end);
  std::string error;
  if (!WriteFileAtomically(path_, repaired, &error)) return Fail();
  stream_->Close();
  stream_ = OpenTextUpdate(path_);
  if (!stream_) return Fail();
  id_ = stream_->Id();
  return Scan() ? 0 : Fail();
}

}  // namespace rkv
