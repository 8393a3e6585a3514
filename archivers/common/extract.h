// Writing archive members into an output folder safely: a member never lands
// outside the folder (no "..", absolute paths, drive letters, backslash paths or
// symbolic links lead out), a member that fails leaves nothing behind, and an
// existing file is replaced only by a member written completely.
#pragma once

#include <locale.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct archive;

namespace arc {

// The folders and name of a member path (UTF-8, "/" or "\" separated); nothing
// when it would leave the folder or names nothing. A leading "/" or drive letter
// is dropped, "." parts are skipped.
std::optional<std::vector<std::string>> SafeParts(std::string_view path);

// One output folder, opened once; every member is written relative to it.
class OutputFolder {
 public:
  explicit OutputFolder(const std::string& nativeDir);
  ~OutputFolder();
  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;
  bool ok() const { return fd_ >= 0; }

  bool MakeDirs(const std::vector<std::string>& parts, size_t count);
  // Writes a file from a source that fills a buffer and returns the bytes given,
  // 0 at the end, -1 on failure. Only a complete file is put in place.
  bool WriteFile(const std::vector<std::string>& parts,
                 const std::function<long(char* buf, size_t size)>& source, int64_t mtime,
                 const std::function<bool()>& complete = nullptr);

 private:
  // A descriptor of the folder that holds parts[0..count), made when missing,
  // never through a symbolic link.
  int OpenDir(const std::vector<std::string>& parts, size_t count);
  int fd_;
};

// Runs libarchive name conversion in UTF-8 for the life of the object, for this
// thread only (the program's own locale stays as it is).
class Utf8Names {
 public:
  Utf8Names();
  ~Utf8Names();

 private:
  locale_t mine_;
  locale_t old_;
};

}  // namespace arc
