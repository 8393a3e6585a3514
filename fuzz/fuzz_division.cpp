// A whole log divided into a scratch folder: nothing may crash, hang or write
// outside the folder's output directories.
#include <cstddef>
#include <cstdint>
#include <string>

#include "divide/division.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace rkv;
  if (size < 2) return 0;
  std::filesystem::path root = fuzz::Scratch();
  for (const char* dir : {"log", "cnf", "mail", "hp", "patio", "etc"}) std::filesystem::create_directory(root / dir);
  RKVcfg cfg;
  cfg.LogDir = (root / "log").string();
  cfg.CnfDir = (root / "cnf").string();
  cfg.MailDir = (root / "mail").string();
  cfg.HpDir = (root / "hp").string();
  cfg.PatioDir = (root / "patio").string();
  cfg.EtcDir = (root / "etc").string();
  cfg.TtlDir = cfg.CnfDir;
  cfg.CurLogDir = cfg.LogDir;
  cfg.CurCnfDir = cfg.CnfDir;
  cfg.CurMailDir = cfg.MailDir;
  // The first byte picks the naming and renaming rules, the second the answers.
  cfg.NameRule = data[0] & 1;
  cfg.BaseDir = cfg.NameRule ? cfg.CnfDir : "";
  cfg.MailName = (data[0] >> 1) & 1;
  cfg.HpNameRule = (data[0] >> 2) & 1;
  cfg.Prompt = (data[0] >> 3) & 3;
  cfg.Rename = (data[0] >> 5) & 1;
  std::string log = (root / "log" / "FUZZ.LOG").string();
  fuzz::WriteBytes(log, std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));
  fuzz::FuzzHost host(data[1]);
  DivLog run(cfg, host, log);
  if (run.CheckDestinations()) run.Divide();
  for (const auto& entry : std::filesystem::directory_iterator(root)) {
    if (!entry.is_directory()) __builtin_trap();  // a file outside the output folders
  }
  return 0;
}
