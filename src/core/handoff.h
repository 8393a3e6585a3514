// The file hand-off area: a filer leaves a directory and up to six file names
// here before it asks the client to open or divide them.
#pragma once

#include <array>
#include <string>

namespace rkv {

struct FileHandOff {
  int count = 0;  // 1 to 6 when filled
  std::string directory;
  std::array<std::string, 6> names;

  void Clear() { *this = FileHandOff{}; }
};

// The one area of the process.
FileHandOff& HandOffArea();

}  // namespace rkv
