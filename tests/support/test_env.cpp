#include "support/test_env.h"

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/cp932.h"

namespace fs = std::filesystem;

namespace rkv::test {

const std::string& BaseDir() {
  static const std::string base = [] {
    std::string pattern = (fs::temp_directory_path() / "rkvtest.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    return pattern;
  }();
  return base;
}

TempDir::TempDir() {
  static int counter = 0;
  path_ = BaseDir() + "/t" + std::to_string(++counter);
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests make files read-only; give the permissions back so everything goes.
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it); it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

std::string TempDir::operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

std::string Sj(std::string_view utf8) { return cp932::FromUtf8(utf8); }
std::string Utf8(std::string_view cp932) { return cp932::ToUtf8(cp932); }

std::string CrLfLines(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (auto l : lines) {
    out += Sj(l);
    out += "\r\n";
  }
  return out;
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) throw std::runtime_error("cannot write " + path);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return "<missing " + path + ">";
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

void RemoveTree(const std::string& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
}

RunResult RunCommand(const std::string& commandLine) {
  RunResult r;
  FILE* p = popen(commandLine.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace rkv::test
