// The division record: one 80-byte line per split file (78 bytes of text and
// CR LF) holding the file's name, ":" and the last message header written to
// it, so that the next division can check that message numbers continue.
// Entries are rewritten in place; a new name is appended.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/files.h"

namespace rkv {

// The 78 bytes of an entry: name, ":" and the header without its line feed,
// blank-padded, or cut at 78 bytes without leaving half a character.
std::string RecordEntry(std::string_view name, std::string_view header);

// The record is read whole when it is opened and kept in memory. Updates
// change that copy; Commit() writes what changed in one go. Opened for a
// division run, every update waits for the run's Commit(), and a run that
// fails calls Rollback(); otherwise each update is committed at once.
class DivisionRecord {
 public:
  // Opens the record, creating it when missing; nothing when it can be neither
  // opened nor read.
  static std::unique_ptr<DivisionRecord> Open(std::string path, bool deferred = false);

  // The entry of the named file (at most 79 bytes, its line feed kept): the
  // first line that begins with the name and ":".
  std::optional<std::string> FindRecord(std::string_view name) const;
  // Where an entry was found, kept by a caller that asks for it again.
  struct Hint {
    size_t line = 0;
    uint64_t scan = 0;  // 0: none
  };
  // The same without a copy; valid until the next update. hint, when given,
  // makes asking for the same name again quick.
  const std::string* Entry(std::string_view name, Hint* hint = nullptr) const;
  // Writes the file's entry over its old one, or adds it at the end. 0, or -1
  // when the entry could not be written (errorNumber() says why). hint: as
  // for Entry().
  int UpdateRecord(std::string_view name, std::string_view header, Hint* hint = nullptr);

  // Writes the changes since the last commit: the changed tail in place, or,
  // after a damaged entry was replaced, the whole record by rename. A failed
  // write is undone before false comes back.
  bool Commit();
  // Forgets the changes not committed; a record this run created and never
  // committed to is deleted again.
  void Rollback();

  const std::string& path() const { return path_; }
  // Which file the record is (it changes when a damaged record is rewritten).
  FileId id() const { return id_; }
  int errorNumber() const { return errno_; }

 private:
  DivisionRecord(std::string path, std::unique_ptr<Stream> stream, bool deferred, bool created);

  // A line of the record in the copy.
  struct Line {
    size_t start = 0;
    size_t end = 0;      // after its line end
    std::string text;    // its first 79 characters as a text read gives them (CR LF as one line feed)
    bool whole = false;  // exactly one entry's size on disk, so it can be rewritten in place
  };
  bool Load();
  void Scan();
  const Line* Locate(std::string_view name, Hint* hint = nullptr) const;
  bool Fail(int error);

  std::string path_;
  std::unique_ptr<Stream> stream_;
  FileId id_;
  bool deferred_;
  bool created_;  // by this opening, and nothing committed to it since
  std::string bytes_;      // the record as it is to be on disk
  std::string committed_;  // the record as it is on disk
  size_t changedFrom_ = std::string::npos;
  bool rewriteWhole_ = false;
  std::vector<Line> lines_;                        // in file order
  uint64_t scan_ = 1;  // counts the scans: a hint from before one is stale
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  std::unordered_map<std::string, size_t, TextHash, std::equal_to<>> first_;  // name before ":" -> its first line
  std::string entry_;  // the entry being written, kept for its capacity
  int errno_ = 0;
};

}  // namespace rkv
