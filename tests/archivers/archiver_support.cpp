#include "archivers/archiver_support.h"

#include <filesystem>

#include "support/test_env.h"

namespace fs = std::filesystem;

namespace rkv::test {

std::string Sha256File(const std::string& path) {
  RunResult r = RunCommand("sha256sum '" + path + "' 2>/dev/null");
  return r.exitCode == 0 ? r.out.substr(0, 64) : "";
}

std::map<std::string, std::string> TreeHashes(const std::string& dir) {
  std::map<std::string, std::string> out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::end(it); it.increment(ec)) {
    std::string rel = fs::relative(it->path(), dir).string();
    if (it->is_symlink()) out[rel] = "link";
    else if (it->is_regular_file()) out[rel] = Sha256File(it->path().string());
  }
  return out;
}

}  // namespace rkv::test
