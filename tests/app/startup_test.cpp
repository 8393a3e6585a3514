#include "app/startup.h"

#include <gtest/gtest.h>

#include "settings/settings.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::TempDir;

TEST(StartMode, EachKindOfArgument) {
  TempDir dir;
  test::WriteFile(dir / "0502.LOG", "x");
  StartArgs none = ChooseStartMode({});
  EXPECT_EQ(none.mode, StartMode::Normal);
  EXPECT_FALSE(none.openArgument);

  StartArgs file = ChooseStartMode({dir / "0502.LOG", "ignored"});
  EXPECT_EQ(file.mode, StartMode::Normal);
  EXPECT_TRUE(file.openArgument);
  EXPECT_EQ(file.argumentPath, dir / "0502.LOG");

  StartArgs directory = ChooseStartMode({dir.path()});
  EXPECT_EQ(directory.mode, StartMode::Debug);
  EXPECT_FALSE(directory.openArgument);

  StartArgs missing = ChooseStartMode({dir / "none.LOG"});
  EXPECT_EQ(missing.mode, StartMode::Debug);

  StartArgs hidden = ChooseStartMode({"-KIWA"});
  EXPECT_EQ(hidden.mode, StartMode::Hidden);
  EXPECT_FALSE(hidden.openArgument);
  EXPECT_EQ(ChooseStartMode({"x-KIWAy"}).mode, StartMode::Hidden);
  EXPECT_EQ(ChooseStartMode({"-kiwa"}).mode, StartMode::Debug);  // the test is case-sensitive

  // A hidden-mode name that is an existing file still opens it.
  test::WriteFile(dir / "A-KIWA.LOG", "x");
  StartArgs hiddenFile = ChooseStartMode({dir / "A-KIWA.LOG"});
  EXPECT_EQ(hiddenFile.mode, StartMode::Hidden);
  EXPECT_TRUE(hiddenFile.openArgument);
}

TEST(StartMode, LongArgumentsAreKeptWhole) {
  TempDir dir;
  std::string longName = dir / (std::string(120, 'L') + ".LOG");
  test::WriteFile(longName, "x");
  StartArgs a = ChooseStartMode({longName});
  EXPECT_EQ(a.argumentPath, longName);
  EXPECT_TRUE(a.openArgument);
}

TEST(StartMode, TitlesAndSettingsFiles) {
  EXPECT_EQ(MainTitle(StartMode::Normal), "RKV32");
  EXPECT_EQ(MainTitle(StartMode::Debug), "RKV Debug mode");
  EXPECT_EQ(MainTitle(StartMode::Hidden), test::Sj("RKV 内緒のモード"));
  EXPECT_FALSE(UsesDebugSettings(StartMode::Normal));
  EXPECT_TRUE(UsesDebugSettings(StartMode::Debug));
  EXPECT_FALSE(UsesDebugSettings(StartMode::Hidden));
}

TEST(FramePlacement, UsedOnlyWhenKeptAndOnScreen) {
  RKVcfg c;
  c.WindowSize = {0, 0, 10, 20, 640, 480};
  EXPECT_FALSE(InitialFramePlacement(c, 1920, 1080));  // SaveWindowSize off
  c.SaveWindowSize = 1;
  auto p = InitialFramePlacement(c, 1920, 1080);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->x, 10);
  EXPECT_EQ(p->height, 480);
  c.WindowSize.x = 0;
  EXPECT_FALSE(InitialFramePlacement(c, 1920, 1080));
  c.WindowSize.x = 1920;
  EXPECT_FALSE(InitialFramePlacement(c, 1920, 1080));
}

TEST(FramePlacement, StoredAtExitWithTheSmallWindowRule) {
  RKVcfg c;
  c.WindowSize = {0, 2, 1, 1, 300, 300};
  StoreFramePlacement(c, FrameRect{5, 6, 700, 500});
  EXPECT_EQ(c.WindowSize, (WinPlace{0, 2, 1, 1, 300, 300}));  // not kept: unchanged
  c.SaveWindowSize = 1;
  StoreFramePlacement(c, FrameRect{5, 6, 700, 500});
  EXPECT_EQ(c.WindowSize, (WinPlace{0, 2, 5, 6, 700, 500}));
  StoreFramePlacement(c, FrameRect{5, 6, 90, 200});
  EXPECT_EQ(c.WindowSize, (WinPlace{0, 2, 10, 10, 600, 380}));
}

}  // namespace
}  // namespace rkv
