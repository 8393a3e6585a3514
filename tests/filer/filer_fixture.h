// A temporary directory, settings and a scripted host for filer tests, with
// helpers to make files of a given content and time.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "filer/filer_model.h"
#include "settings/settings.h"
#include "support/scripted_host.h"
#include "support/test_env.h"

namespace rkv::test {

// Seconds since the epoch of a local time.
int64_t LocalTime(int year, int month, int day, int hour = 12, int minute = 0);

class FilerTest : public ::testing::Test {
 protected:
  FilerTest();
  // Writes fail no more once a test is over, whatever it did.
  void TearDown() override;

  // Makes a file (core path relative to the test folder unless absolute).
  std::string Make(const std::string& name, std::string_view bytes = "x", int64_t mtime = 0);
  std::string MakeDir(const std::string& name);
  std::string At(const std::string& name) const;  // core path in the test folder
  std::string Content(const std::string& corePath) const;

  std::unique_ptr<FilerModel> Open(int kind = kLogFiler, std::string path = "");
  static std::vector<std::string> Names(const FilerModel& filer);
  static int IndexOf(const FilerModel& filer, const std::string& name);
  // The one shown message with that caption and text, as UTF-8 for reading.
  std::vector<std::string> Shown() const;

  TempDir dir;
  RKVcfg cfg;
  ScriptedHost host;
};

}  // namespace rkv::test
