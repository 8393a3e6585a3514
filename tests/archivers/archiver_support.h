// Shared helpers for the archiver library tests: the test files' manifests and
// content hashes.
#pragma once

#include <map>
#include <string>

namespace rkv::test {

inline const std::string kShared = RKV_SHARED_DATA;

// sha256 of a file's bytes, as lower-case hex ("" when unreadable).
std::string Sha256File(const std::string& path);
// Every file below dir (relative path -> sha256), symlinks listed as "link".
std::map<std::string, std::string> TreeHashes(const std::string& dir);

}  // namespace rkv::test
