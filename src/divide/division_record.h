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

class DivisionRecord {
 public:
  // Opens the record for the run, creating it when missing; nothing when it
  // can be neither opened nor read.
  static std::unique_ptr<DivisionRecord> Open(std::string path);

  // The entry of the named file as read (at most 79 bytes, its line feed
  // kept): the first line that begins with the name and ":".
  std::optional<std::string> FindRecord(std::string_view name) const;
  // Writes the file's entry over its old one, or adds it at the end. 0, or -1
  // when the entry could not be written (errorNumber() says why).
  int UpdateRecord(std::string_view name, std::string_view header);

  const std::string& path() const { return path_; }
  // Which file the record is (it changes when a damaged record is rewritten).
  FileId id() const { return id_; }
  int errorNumber() const { return errno_; }

 private:
  DivisionRecord(std::string path, std::unique_ptr<Stream> stream);

  // A line of the record as the last scan found it.
  struct Line {
    int64_t start = 0;
    int64_t end = 0;     // after its line end
    std::string text;    // its first piece as read
    bool whole = false;  // exactly one entry's size on disk, so it can be rewritten in place
  };
  // Reads the whole record once; later lookups need no reading. The record
  // belongs to the run while it is open.
  bool Scan();
  const Line* Locate(std::string_view name) const;
  int Append(const std::string& entry);
  int Overwrite(Line& line, const std::string& entry);
  int Repair(const Line& line, const std::string& entry);
  int Fail();

  std::string path_;
  std::unique_ptr<Stream> stream_;
  FileId id_;
  std::vector<Line> lines_;                         // in file order
  std::unordered_map<std::string, size_t> first_;  // name before ":" -> its first line
  int64_t size_ = 0;
  bool endsInLineEnd_ = true;
  int errno_ = 0;
};

}  // namespace rkv
