// Temporary folders and file helpers for tests. Every test program points
// XDG_CONFIG_HOME and XDG_DATA_HOME at a private folder before any test runs.
#pragma once

#include <string>
#include <string_view>

namespace rkv::test {

// The private base folder of this test program (native path).
const std::string& BaseDir();

// A fresh empty folder, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(std::string_view name) const;

 private:
  std::string path_;
};

// CP932 bytes of a UTF-8 literal.
std::string Sj(std::string_view utf8);
// UTF-8 of CP932 bytes (for readable failure messages).
std::string Utf8(std::string_view cp932);
// Lines joined with CR LF, each line given as UTF-8, converted to CP932.
std::string CrLfLines(std::initializer_list<std::string_view> utf8Lines);

void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
void RemoveTree(const std::string& path);

// Runs a command line through the shell; returns its exit code and output.
struct RunResult {
  int exitCode = -1;
  std::string out;
};
RunResult RunCommand(const std::string& commandLine);

}  // namespace rkv::test
