// The title information file loader on a damaged title file beside a
// conference file (the input holds both: a two-byte length, the conference
// file, then the title file), then a reload and the read position saved.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "index/title_file.h"
#include "index/title_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace rkv;
  if (size < 2) return 0;
  size_t split = std::min<size_t>(size - 2, data[0] | data[1] << 8);
  std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  std::filesystem::path root = fuzz::Scratch();
  std::string conference = (root / "ROOM.CNF").string(), titles = (root / "ROOM.TTL").string();
  fuzz::WriteBytes(conference, rest.substr(0, split));
  fuzz::WriteBytes(titles, rest.substr(split));
  TitleInfo table;
  if (LoadConferenceTitles(table, conference, titles, nullptr) == 0 && table.count() > 0) {
    LoadConferenceTitles(table, conference, titles, nullptr);
    SaveReadPosition(table, titles, table.count() - 1);
  }
  return 0;
}
