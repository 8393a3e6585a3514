// The settings file reader: whatever a settings file holds, loading it, saving
// the settings and loading them again must give the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/profile.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace rkv;
  std::filesystem::path root = fuzz::Scratch();
  std::string first = (root / "RKV.INI").string(), second = (root / "AGAIN.INI").string();
  fuzz::WriteBytes(first, std::string_view(reinterpret_cast<const char*>(data), size));
  RKVcfg loaded;
  loaded.Load(ProfileFile(first), "/data/rkv");
  ProfileFile out(second);
  loaded.Save(out);
  if (!out.Commit(nullptr)) __builtin_trap();
  RKVcfg again;
  again.Load(ProfileFile(second), "/data/rkv");
  auto a = loaded.Listing(), b = again.Listing();
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] != b[i]) {
      std::fprintf(stderr, "%s: [%s] then [%s]\n", a[i].first.c_str(), a[i].second.c_str(), b[i].second.c_str());
      __builtin_trap();
    }
  }
  return 0;
}
