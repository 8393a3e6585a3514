// A division run in a private folder tree: log, conference, mail, HP and patio
// folders, settings pointing at them, and a scripted host.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "divide/division.h"
#include "support/scripted_host.h"
#include "support/test_env.h"

namespace rkv::test {

class DivisionTest : public ::testing::Test {
 protected:
  DivisionTest() {
    for (const char* sub : {"log", "cnf", "mail", "hp", "patio", "base"}) {
      std::filesystem::create_directories(dir / sub);
    }
    cfg.LogDir = cfg.CurLogDir = dir / "log";
    cfg.CnfDir = cfg.CurCnfDir = dir / "cnf";
    cfg.MailDir = cfg.CurMailDir = dir / "mail";
    cfg.HpDir = dir / "hp";
    cfg.PatioDir = dir / "patio";
    cfg.BaseDir = dir / "base";
    cfg.Rename = 1;
    host.today = Date{2026, 5, 9};
  }

  // Divides a log of these bytes (named name in the log folder).
  DivStatus Run(std::string_view bytes, const std::string& name = "0509.LOG") {
    logPath = dir / ("log/" + name);
    WriteFile(logPath, bytes);
    return RunExisting();
  }
  DivStatus RunExisting() {
    run = std::make_unique<DivLog>(cfg, host, logPath);
    return run->Divide();
  }

  // The report as UTF-8 lines.
  std::vector<std::string> Report() const {
    std::vector<std::string> out;
    for (const auto& l : run->report().lines) out.push_back(Utf8(l));
    return out;
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (const auto& s : host.shown) out.push_back(Utf8(s.caption));
    return out;
  }
  std::string File(const std::string& relative) const { return ReadFile(dir / relative); }
  bool Has(const std::string& relative) const { return Exists(dir / relative); }

  TempDir dir;
  RKVcfg cfg;
  ScriptedHost host;
  std::string logPath;
  std::unique_ptr<DivLog> run;
};

// A message header of the three-digit shape.
inline std::string Header(int number, int total, std::string_view rest = "けんじ  題") {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%03d/%03d   ABC12345  ", number, total);
  return buf + std::string(rest);
}

inline const char* kRoom5 = "- ROOM  MES( 5):料理の部屋";

}  // namespace rkv::test
