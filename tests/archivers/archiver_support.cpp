#include "archivers/archiver_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "support/test_env.h"

namespace fs = std::filesystem;

namespace rkv::test {

std::string Sha256File(const std::string& path) {
  RunResult r = RunCommand("sha256sum < '" + path + "' 2>/dev/null");
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

std::vector<ManifestArchive> ReadManifest(const std::string& manifestPath) {
  std::ifstream f(manifestPath);
  std::vector<ManifestArchive> out;
  std::map<std::string, bool> lhasa;
  const std::regex summary(R"(^\| `([^`]+)` \| [^|]+ \| [^|]+ \| [^|]+ \| [^|]+ \| ([^|]*) \|)");
  const std::regex section(R"(^### `([^`]+)`)");
  const std::regex sha(R"(\| ([0-9a-f]{64}) \|)");
  std::smatch m;
  for (std::string line; std::getline(f, line);) {
    if (std::regex_search(line, m, summary)) lhasa[m[1]] = m[2].str().rfind("ok", 0) == 0;
    if (std::regex_search(line, m, section)) out.push_back({m[1], {}, lhasa[m[1]]});
    // Member rows: a sha256 column; directories are named with "/" or kind "dir".
    if (!out.empty() && line.rfind("| ", 0) == 0 && std::regex_search(line, m, sha)) {
      std::string member = line.substr(2, line.find(" |") - 2);
      bool dir = line.find("| dir |") != std::string::npos || (!member.empty() && member.back() == '/');
      if (!dir) out.back().fileShas.push_back(m[1]);
    }
  }
  for (auto& a : out) std::sort(a.fileShas.begin(), a.fileShas.end());
  return out;
}

std::vector<std::string> ShasBelow(const std::string& dir) {
  std::vector<std::string> out;
  for (auto& [name, hash] : TreeHashes(dir)) out.push_back(hash);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace rkv::test
