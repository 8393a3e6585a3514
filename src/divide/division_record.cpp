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
  return std::unique_ptr<DivisionRecord>(new DivisionRecord(std::move(path), std::move(stream)));
}

// Only a piece that starts a line can be an entry: in a damaged record the
// rest of a long line is not mistaken for one.
std::optional<DivisionRecord::Line> DivisionRecord::Locate(std::string_view name) {
  if (!stream_ || !stream_->Seek(0, SEEK_SET)) return std::nullopt;
  std::string key = std::string(name) + ":";
  std::string piece;
  bool atLineStart = true;
  for (;;) {
    int64_t start = stream_->Tell();
    if (!stream_->Gets(piece, kReadSize)) return std::nullopt;
    bool ended = piece.back() == '\n';
    if (atLineStart && piece.starts_with(key)) {
      Line line{start, 0, piece, false};
      std::string rest = piece;
      while (rest.back() != '\n' && stream_->Gets(rest, kReadSize)) {
      }
      line.end = stream_->Tell();
      line.whole = ended && piece.size() == kEntryText + 1 && line.end - start == kEntryOnDisk;
      return line;
    }
    atLineStart = ended;
  }
}

std::optional<std::string> DivisionRecord::FindRecord(std::string_view name) {
  auto line = Locate(name);
  if (!line) return std::nullopt;
  return line->text;
}

int DivisionRecord::UpdateRecord(std::string_view name, std::string_view header) {
  if (!stream_) return -1;
  std::string entry = RecordEntry(name, header);
  auto line = Locate(name);
  if (stream_->Failed()) return Fail();
  if (!line) return Append(entry);
  if (line->whole) return Overwrite(*line, entry);
  return Repair(*line, entry);
}

int DivisionRecord::Fail() {
  errno_ = stream_ && stream_->LastErrno() != 0 ? stream_->LastErrno() : (errno != 0 ? errno : EIO);
  return -1;
}

int DivisionRecord::Append(const std::string& entry) {
  if (!stream_->Seek(0, SEEK_END)) return Fail();
  // An entry after a last line without its line end would never be found again.
  if (stream_->Tell() > 0) {
    if (!stream_->Seek(-1, SEEK_END)) return Fail();
    if (stream_->Getc() != '\n' && !stream_->Write("\n")) return Fail();
  }
  if (!stream_->Write(entry + "\n") || !stream_->Flush()) return Fail();
  return 0;
}

int DivisionRecord::Overwrite(const Line& line, const std::string& entry) {
  if (!stream_->Seek(line.start, SEEK_SET)) return Fail();
  if (!stream_->Write(entry + "\n") || !stream_->Flush()) return Fail();
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
  return 0;
}

}  // namespace rkv
