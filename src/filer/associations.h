// The extension associations of the filer: the [Extensions] section of the
// per-user WIN.INI, read when a filer opens.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rkv {

class ExtensionAssociations {
 public:
  // Every key of [Extensions], its value cut at the first "^".
  static ExtensionAssociations Load(const std::string& winIniPath);

  // The program for an extension given without its dot, compared without case
  // with the whole key.
  std::optional<std::string> ProgramFor(std::string_view extension) const;

  // Lines "KEY=program": the key upper-cased, the program as stored (program
  // names are case-sensitive on this system).
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace rkv
