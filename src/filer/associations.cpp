#include "filer/associations.h"

#include "core/sjis.h"
#include "platform/profile.h"

namespace rkv {

ExtensionAssociations ExtensionAssociations::Load(const std::string& winIniPath) {
  ExtensionAssociations list;
  ProfileFile file(winIniPath);
  for (auto& [key, value] : file.Section("Extensions")) {
    std::string k = key, program = CopyField(value, '^');
    UpperAscii(k);
    TrimBlanks(program, false);
    list.lines_.push_back(k + "=" + program);
  }
  return list;
}

std::optional<std::string> ExtensionAssociations::ProgramFor(std::string_view extension) const {
  std::string want(extension);
  UpperAscii(want);
  want += '=';
  for (const auto& line : lines_) {
    if (line.compare(0, want.size(), want) == 0) return line.substr(want.size());
  }
  return std::nullopt;
}

}  // namespace rkv
