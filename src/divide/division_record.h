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

#include "core/files.h"

namespace rkv {

// The 78 bytes of an entry: name, ":" and the header without its line feed,
// blank-padded, or cut at 78 bytes without leaving half a character.
std::string RecordEntry(std::string_view name, std::string_view header);

class DivisionRecord {
 public:
  // Opens the record for the run, creating it when missing.
  static std::unique_ptr<DivisionRecord> Open(std::string path);

  // The entry of the named file as read (at most 79 bytes, its line feed
  // kept): the first line that begins with the name and ":".
  std::optional<std::string> FindRecord(std::string_view name);
  // Writes the file's entry over its old one, or adds it at the end. 0, or -1
  // when the entry could not be written (errorNumber() says why).
  int UpdateRecord(std::string_view name, std::string_view header);

  const std::string& path() const { return path_; }
  int errorNumber() const { return errno_; }

 private:
  DivisionRecord(std::string path, std::unique_ptr<Stream> stream)
      : path_(std::move(path)), stream_(std::move(stream)) {}

  struct Line {
    int64_t start = 0;
    int64_t end = 0;    // after its line end
    std::string text;   // the first piece as read
    bool whole = false; // exactly one entry's size on disk
  };
  std::optional<Line> Locate(std::string_view name);
  int Append(const std::string& entry);
  int Overwrite(const Line& line, const std::string& entry);
  int Repair(const Line& line, const std::string& entry);
  int Fail();

  std::string path_;
  std::unique_ptr<Stream> stream_;
  int errno_ = 0;
};

}  // namespace rkv
