// Where a division's blocks go: the split files and the division record. Split
// files are written through buffers and kept open between their blocks (up to
// a bound); the record is kept in memory. Nothing counts as divided until
// Commit(): the split files are flushed first, then the record is written
// once. A run that does not get there is rolled back: every split file it
// touched goes back to its size before the run, and the record stays as it was.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/files.h"
#include "core/io_thread.h"
#include "divide/division_record.h"

namespace rkv {

class DivisionSink {
 public:
  // Enough for every room of a busy log; each open file holds a write buffer.
  static constexpr size_t kKeptOpen = 200;

  struct Failure {
    std::string path;
    int error = 0;
    bool opening = false;  // the file could not be opened or created
  };

  // log: the log being divided, which no output may name. io, when given,
  // writes the split files' full buffers while the run goes on; it must
  // outlive the sink.
  DivisionSink(FileId log, std::unique_ptr<DivisionRecord> record, IoThread* io = nullptr);
  ~DivisionSink();
  DivisionSink(const DivisionSink&) = delete;
  DivisionSink& operator=(const DivisionSink&) = delete;

  DivisionRecord& record() { return *record_; }

  struct Output;
  // Makes the file of this path the current output, opening or creating it;
  // an output that names the log or the record gets another last byte. known,
  // when given, remembers which output the path named, so that asking for
  // the same path again with it skips finding it.
  std::optional<Failure> Open(const std::string& requested, Output** known = nullptr);
  bool HasOutput() const { return current_ != nullptr; }
  const Output* current() const { return current_; }
  // The current output's path as opened, and its file name.
  const std::string& path() const { return current_->path; }
  const std::string& name() const { return current_->name; }
  // Writes text to the current output up to its first line feed (then CR LF)
  // or end-of-file byte (then nothing more); NUL bytes are left out.
  std::optional<Failure> WriteText(std::string_view text);
  // Writes a line given as its bytes in the log, which end in CR LF (only the
  // last one's CR may read as a line feed) and which WriteText() would write
  // unchanged. Lines that follow one another in the log are gathered and
  // written together; the views must stay valid until Flush().
  std::optional<Failure> WriteVerbatim(std::string_view line) {
    if (Extend(line)) return std::nullopt;
    return StartGathering(line);
  }
  // WriteVerbatim() for a line right after the ones gathered; false, and
  // nothing done, for any other.
  bool Extend(std::string_view line) {
    if (gathered_.empty() || gathered_.data() + gathered_.size() != line.data()) return false;
    gathered_ = std::string_view(gathered_.data(), gathered_.size() + line.size());
    return true;
  }
  // Writes what WriteVerbatim() gathered. A failure that comes of it is kept
  // and comes back from every later call until the run is rolled back.
  std::optional<Failure> Flush();
  // The current output is to be deleted at the end when it still holds nothing.
  void RemoveIfEmpty();
  // No current output; its file stays open for the next block that goes there.
  void Close() {
    Flush();
    current_ = nullptr;
  }

  // Flushes every split file, then writes the record. On failure everything
  // is rolled back and the failure comes back.
  std::optional<Failure> Commit();
  // Puts every touched split file back to its size before the run (a file the
  // run created is deleted) and forgets the record's changes.
  void Rollback();

  // One split file of the run; callers hold them only as handles for Open().
  struct Output {
    std::string path;
    std::string name;
    int64_t sizeBefore = -1;  // -1: the run created it
    int64_t size = 0;
    std::unique_ptr<Stream> stream;
    uint64_t lastUse = 0;
    bool removeIfEmpty = false;
  };

 private:
  std::optional<Failure> MakeRoom();
  Failure WriteFailure(Output& out);
  std::optional<Failure> StartGathering(std::string_view line);
  // A failed write of the write-behind thread, as a failure of its output.
  std::optional<Failure> FailedBehind();
  bool WriteGathered(Stream& stream, std::string_view lines);

  FileId log_;
  std::unique_ptr<DivisionRecord> record_;
  IoThread* behind_;
  std::vector<std::unique_ptr<Output>> outputs_;
  std::unordered_map<std::string, Output*> byRequested_;
  std::map<std::pair<uint64_t, uint64_t>, Output*> byId_;
  Output* current_ = nullptr;
  std::string_view gathered_;      // lines for the current output, not yet written
  std::optional<Failure> failed_;  // a failure while writing gathered lines
  size_t open_ = 0;
  uint64_t clock_ = 0;
  bool finished_ = false;
};

}  // namespace rkv
