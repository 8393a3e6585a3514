// Test programs never touch the user's own settings: the XDG folders point at a
// private folder, removed when the program ends.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "support/test_env.h"

int main(int argc, char** argv) {
  const std::string& base = rkv::test::BaseDir();
  setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (base + "/data").c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  std::error_code ec;
  std::filesystem::remove_all(base, ec);
  return rc;
}
