// Shared helpers for the archiver library tests: the test files' manifests and
// content hashes.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace rkv::test {

inline const std::string kShared = RKV_SHARED_DATA;

// sha256 of a file's bytes, as lower-case hex ("" when unreadable).
std::string Sha256File(const std::string& path);
// Every file below dir (relative path -> sha256), symlinks listed as "link".
std::map<std::string, std::string> TreeHashes(const std::string& dir);

// One archive of a test-data manifest: its file members' sha256 (directories
// left out) and, for LZH, whether lhasa extracts it correctly.
struct ManifestArchive {
  std::string path;  // relative to the manifest's folder
  std::vector<std::string> fileShas;
  bool lhasaOk = false;
};
std::vector<ManifestArchive> ReadManifest(const std::string& manifestPath);

// The sha256 of every regular file below dir, sorted.
std::vector<std::string> ShasBelow(const std::string& dir);

}  // namespace rkv::test
