// Opening and tidying the split files of a division.
#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"

namespace rkv {

// An output path that names the same file as one of the guarded ones (the log
// being divided, the division record), however spelt, gets another last byte:
// "0" becomes "1", anything else "0". Nothing comes back when even that names
// a guarded file.
std::optional<std::string> ProtectPath(std::string path, std::initializer_list<FileId> guarded);

// Opens a split file for binary update, or creates it, positioned at its end.
// An existing file is never emptied.
std::unique_ptr<Stream> OpenForAppend(std::string_view path);

// Deletes the file when it exists and holds nothing.
void RemoveIfEmpty(std::string_view path);

// The split files kept open between their blocks: a room visited session after
// session in one log is opened once, not once a block. A file has one stream
// whatever names it, so two names of one file never write over each other.
class OutputFiles {
 public:
  static constexpr size_t kKeptOpen = 32;

  struct Failure {
    std::string path;
    int error = 0;
  };

  ~OutputFiles();

  // The open stream asked for by this path, with the path it was opened under;
  // nothing when it is not open.
  Stream* Find(const std::string& requested, std::string* path);
  // Keeps a stream just opened, or, when its file is open already, closes it
  // and gives the stream that was open (with its path). The least recently
  // used stream may be closed to make room; its failure comes back.
  Stream* Keep(const std::string& requested, std::string* path, std::unique_ptr<Stream> stream,
               std::optional<Failure>* failure);
  // Closes the stream of this path; its failure comes back.
  std::optional<Failure> Close(const std::string& path);
  // Closes every stream; the first failure comes back.
  std::optional<Failure> CloseAll();

 private:
  struct Entry {
    std::vector<std::string> requested;
    std::string path;
    FileId id;
    std::unique_ptr<Stream> stream;
    uint64_t lastUse = 0;
  };
  std::optional<Failure> CloseEntry(size_t index);

  std::vector<Entry> open_;
  uint64_t clock_ = 0;
};

}  // namespace rkv
