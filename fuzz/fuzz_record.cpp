// The division record scanner on a damaged record: look-ups and updates in
// place, which must keep the file in whole 80-byte entries it can read back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "divide/division_record.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace rkv;
  std::filesystem::path root = fuzz::Scratch();
  std::string path = (root / "RKV.REC").string();
  fuzz::WriteBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
  auto record = DivisionRecord::Open(path);
  if (!record) return 0;
  const std::string header = "001/005   ABC12345  handle            title\n";
  for (const char* name : {"ROOM_05.CNF", "A", "ROOM_05.CN", ""}) {
    record->FindRecord(name);
    if (record->UpdateRecord(name, header) == 0) {
      auto back = record->FindRecord(name);
      if (!back || back->substr(0, RecordEntry(name, header).size()) != RecordEntry(name, header)) __builtin_trap();
    }
  }
  return 0;
}
