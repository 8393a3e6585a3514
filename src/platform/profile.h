// Profile files ("INI" files) with the semantics the settings have always had:
// sections and keys compared without case, values trimmed (and unquoted), reads
// cut to the caller's limit, a key written in place or appended to its section,
// every other line kept. The file is CP932 with CR LF and is replaced whole and
// atomically when committed, so it is never left half-written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rkv {

class ProfileFile {
 public:
  // Reads the file; a missing or unreadable file reads as empty.
  explicit ProfileFile(std::string path);

  // The value of key in section, or defaultValue when the key is missing; at
  // most bufferSize - 1 bytes, as a read into a buffer of that size.
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view defaultValue, size_t bufferSize) const;
  // The decimal value of the key, defaultValue when the key is missing.
  int GetInt(std::string_view section, std::string_view key, int defaultValue) const;
  bool HasKey(std::string_view section, std::string_view key) const;
  // Every key of a section in file order, with its value (trimmed).
  std::vector<std::pair<std::string, std::string>> Section(std::string_view section) const;

  // Changes the file in memory; Commit writes it.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Writes the whole file atomically, creating its folder when missing.
  bool Commit(std::string* error);

  const std::string& path() const { return path_; }
  std::string Text() const;  // the file as it would be written

 private:
  struct Found {
    size_t sectionLine = npos;
    size_t sectionEnd = 0;  // first line after the section
    size_t keyLine = npos;
  };
  static constexpr size_t npos = static_cast<size_t>(-1);
  Found Find(std::string_view section, std::string_view key) const;

  std::string path_;
  std::vector<std::string> lines_;
};

// Makes a folder and its parents; true when it exists afterwards.
bool MakeDirs(std::string_view path);

}  // namespace rkv
