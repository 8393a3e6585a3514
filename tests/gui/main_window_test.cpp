// The main window as it starts and closes, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>

#include "app/main_client.h"
#include "app/main_frame.h"
#include "app/text.h"
#include "app/tmy_app.h"
#include "platform/locations.h"
#include "platform/profile.h"
#include "gui/gui_support.h"
#include "support/scripted_host.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::App;

void WriteSettings(bool debug, const std::string& text) {
  std::string path = locations::SettingsPath(debug);
  MakeDirs(locations::ConfigDir());
  test::WriteFile(path, text);
}

TEST(MainWindow, TitlesOfTheThreeStartModes) {
  App();
  test::TempDir dir;
  test::WriteFile(dir / "A.LOG", "x");
  struct Case {
    std::vector<std::string> args;
    std::string title;
  } cases[] = {{{}, "RKV32"}, {{dir / "missing"}, "RKV Debug mode"}, {{"-KIWA"}, "RKV 内緒のモード"}};
  for (const auto& c : cases) {
    TMyApp app(ChooseStartMode(c.args));
    app.InitMainWindow();
    EXPECT_EQ(app.frame()->windowTitle().toStdString(), c.title);
    EXPECT_TRUE(app.frame()->findChild<QMdiArea*>());
    EXPECT_TRUE(app.frame()->findChild<QToolBar*>());
    EXPECT_TRUE(app.frame()->statusBar());
    app.frame()->close();
  }
}

TEST(MainWindow, AutoStartCommandsAreSentInOrderBeforeTheArgumentFileOpens) {
  App();
  test::TempDir dir;
  test::WriteFile(dir / "A.LOG", "x");
  WriteSettings(false, "[MODE]\r\nFilerAutoStart=1\r\nMailFilerAutoStart=1\r\nCnfFilerAutoStart=1\r\n");
  TMyApp app(ChooseStartMode({dir / "A.LOG"}));
  test::ScriptedHost host;  // the log holds no titles: its viewer says so and closes
  app.UseHost(host);
  app.BuildMainWindow();
  QSignalSpy spy(app.frame()->client(), &TMainWindow::commandReceived);
  app.frame()->client()->SetupWindow();
  // The filer commands are sent during set-up; the argument file's opening is posted.
  ASSERT_EQ(spy.count(), 3);
  EXPECT_EQ(spy.at(0).at(0).toInt(), 105);
  EXPECT_EQ(spy.at(1).at(0).toInt(), 106);
  EXPECT_EQ(spy.at(2).at(0).toInt(), 107);
  QCoreApplication::processEvents();
  ASSERT_EQ(spy.count(), 4);
  EXPECT_EQ(spy.at(3).at(0).toInt(), 1025);
  app.frame()->close();
}

TEST(MainWindow, ClosingSavesSettingsAndThePlacement) {
  App();
  WriteSettings(true, "[ACTION]\r\nSaveWindowSize=1\r\n[DIR]\r\nCnfExt=TXT\r\n");
  TMyApp app(ChooseStartMode({"/definitely/missing/file"}));
  app.InitMainWindow();
  app.frame()->setGeometry(40, 50, 700, 500);
  app.frame()->close();
  ProfileFile saved(locations::SettingsPath(true));
  EXPECT_EQ(saved.GetString("DISPLAY", "WindowSize", "", 80), "40,50,700,500,0");
  EXPECT_EQ(saved.GetString("DIR", "CnfExt", "", 8), "TXT");
}

}  // namespace
}  // namespace rkv
