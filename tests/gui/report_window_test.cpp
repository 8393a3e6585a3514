// The division report window, started from the menu as a user starts it.
#include <gtest/gtest.h>

#include <QScrollBar>

#include <filesystem>

#include "app/command_ids.h"
#include "app/main_client.h"
#include "app/main_frame.h"
#include "app/tmy_app.h"
#include "divide/division.h"
#include "divide/report_window.h"
#include "gui/gui_support.h"
#include "support/scripted_host.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::App;
using test::Sj;

class ReportWindowTest : public test::AppTest {
 protected:
  void SetUp() override {
    for (const char* d : {"log", "cnf", "mail"}) std::filesystem::create_directories(dir / d);
    AppTest::SetUp();
    RKVcfg& c = app->cfg();
    c.LogDir = c.CurLogDir = c.EtcDir = dir / "log";
    c.CnfDir = c.CurCnfDir = dir / "cnf";
    c.MailDir = c.CurMailDir = dir / "mail";
    c.DivideReport = 1;
    std::string log = "- ROOM  MES( 5):Test room\r\n";
    for (int i = 1; i <= 3; ++i) {
      log += "00" + std::to_string(i) + "/003   ABC00001  handle            subject\r\n";
      log += "       97/05/12 12:34\r\nbody\r\n";
    }
    log += "CCS(01>\r\n";
    test::WriteFile(dir / "log/0502.LOG", log);
  }
  DivLogWindow* Report() {
    for (ChildWindow* c : app->frame()->client()->Children()) {
      if (auto* r = qobject_cast<DivLogWindow*>(c)) return r;
    }
    return nullptr;
  }

  test::TempDir dir;
};

TEST_F(ReportWindowTest, DivisionFromTheMenuShowsItsReport) {
  host.inputs = {dir / "log/0502.LOG"};
  app->frame()->Dispatch(cmd::DivideLog);
  DivLogWindow* w = Report();
  ASSERT_NE(w, nullptr) << host.Transcript();
  EXPECT_EQ(w->className(), "RKVDivider");
  EXPECT_EQ(w->windowTitle().toStdString(), dir / "log/0502.LOG");
  const auto& lines = w->run().report().lines;
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], Sj("ログ 0502.LOG を分割します"));
  EXPECT_EQ(lines[1], Sj("  ROOM_05.CNF を出力しました"));
  EXPECT_EQ(w->scrollBar()->maximum(), 2);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].text, Sj("ログ分割終了"));
  EXPECT_GE(host.waits, 1);  // the wait cursor was shown
  EXPECT_TRUE(test::Exists(dir / "cnf/ROOM_05.CNF"));
  w->HandleCommand(cmd::Close);
  QCoreApplication::processEvents();
  EXPECT_EQ(Report(), nullptr);
}

// The window is up while the division runs and shows how far it has got.
TEST_F(ReportWindowTest, ProgressIsShownWhileDividing) {
  std::vector<std::string> shown;
  host.onPump = [&] {
    DivLogWindow* w = Report();
    if (w && w->isVisible() && w->dividing()) shown.push_back(ProgressLine(w->progress()));
  };
  app->frame()->client()->DivideFile(dir / "log/0502.LOG");
  host.onPump = nullptr;
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0], Sj("分割中 0 / ") + std::to_string(std::filesystem::file_size(dir / "log/0502.LOG")) +
                          Sj(" バイト (0%)"));
  ASSERT_NE(Report(), nullptr);
  EXPECT_FALSE(Report()->dividing());
}

TEST_F(ReportWindowTest, NoReportWantedClosesTheWindow) {
  app->cfg().DivideReport = 0;
  app->frame()->client()->DivideFile(dir / "log/0502.LOG");
  EXPECT_EQ(Report(), nullptr);
  ASSERT_EQ(host.shown.size(), 1u);  // the end message was still shown
  EXPECT_TRUE(test::Exists(dir / "cnf/ROOM_05.CNF"));
}

TEST_F(ReportWindowTest, AMissingDestinationDividesNothing) {
  app->cfg().CurMailDir = dir / "nowhere";
  app->frame()->client()->DivideFile(dir / "log/0502.LOG");
  EXPECT_EQ(Report(), nullptr);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].text, Sj("分割先ディレクトリが不正です"));
  EXPECT_EQ(host.shown[0].caption, Sj("分割処理エラー"));
  EXPECT_FALSE(test::Exists(dir / "cnf/ROOM_05.CNF"));
}

TEST_F(ReportWindowTest, ReportScrollsLineByLineNotPastTheEnd) {
  app->frame()->client()->DivideFile(dir / "log/0502.LOG");
  DivLogWindow* w = Report();
  ASSERT_NE(w, nullptr);
  for (int i = 0; i < 5; ++i) w->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(w->view().top(), 2);
  w->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(w->view().top(), 1);
}

}  // namespace
}  // namespace rkv
