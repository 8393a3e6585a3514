#include "gui/gui_support.h"

#include "app/main_client.h"
#include "app/main_frame.h"

namespace rkv::test {

QApplication& App() {
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

void AppTest::SetUp() {
  App();
  app = std::make_unique<TMyApp>(StartArgs{});
  app->UseHost(host);
  app->BuildMainWindow();
}

void AppTest::TearDown() {
  app->frame()->client()->closeAllSubWindows();
  QCoreApplication::processEvents();
  app.reset();
}

void AppTest::Drain() {
  for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
}

}  // namespace rkv::test
