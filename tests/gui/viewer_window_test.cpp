// Viewer windows, the handle list and printing, driven by real events offscreen.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>

#include "app/command_ids.h"
#include "app/main_client.h"
#include "app/main_frame.h"
#include "app/tmy_app.h"
#include "gui/gui_support.h"
#include "support/scripted_host.h"
#include "support/test_env.h"
#include "viewer/id_list_window.h"
#include "viewer/viewer_fixture.h"
#include "viewer/viewer_window.h"

namespace rkv {
namespace {

using test::App;
using test::Sj;

class ViewerWindowTest : public test::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    app->cfg().TtlDir = dir.path();
  }
  ViewerWindow* OpenConference(const std::string& contents) {
    std::string path = dir / "ROOM_05.CNF";
    test::WriteFile(path, contents);
    app->frame()->client()->OpenViewer(kConferenceFile, path);
    auto* w = qobject_cast<ViewerWindow*>(app->frame()->client()->ActiveChildWindow());
    if (w) w->subWindow()->resize(700, 300);
    return w;
  }

  test::TempDir dir;
};

TEST_F(ViewerWindowTest, CaptionStatusAndKeys) {
  ViewerWindow* w = OpenConference(test::MakeConference(40));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->className(), "RKVViewer");
  EXPECT_EQ(w->windowTitle(), QString::fromUtf8("☆") + QString::fromStdString(dir / "ROOM_05.CNF"));
  EXPECT_EQ(app->frame()->Message(), QString("- ROOM  MES( 5):Test room"));
  QTest::keyClick(w, Qt::Key_Down);
  QTest::keyClick(w, Qt::Key_Space);
  EXPECT_EQ(w->model().cursor(), 2);
  EXPECT_EQ(w->model().MarkedCount(), 1);
  QTest::keyClick(w, Qt::Key_PageDown);
  EXPECT_EQ(w->scrollBar()->value(), w->model().top());
  EXPECT_GT(w->model().top(), 0);
  QTest::keyClick(w, Qt::Key_Return);
  EXPECT_EQ(w->model().view(), ViewerView::Message);
  EXPECT_TRUE(w->State().messageViewOpen);
  QTest::keyClick(w, Qt::Key_Escape);
  EXPECT_EQ(w->model().view(), ViewerView::TitleList);
  QTest::keyClick(w, Qt::Key_Escape);  // a second Esc closes the window
  Drain();
  EXPECT_TRUE(app->frame()->client()->Children().isEmpty());
}

TEST_F(ViewerWindowTest, LettersPostTheirCommands) {
  ViewerWindow* w = OpenConference(test::MakeConference(10, [](int n) {
    test::MessageSpec m;
    m.id = n % 2 ? "ABC00001" : "XYZ00002";
    return m;
  }));
  QTest::keyClick(w, Qt::Key_T);
  Drain();
  EXPECT_EQ(w->model().mode(), kTreeMode);
  QTest::keyClick(w, Qt::Key_H);
  Drain();
  EXPECT_EQ(w->model().mode(), kIdMode);
  ASSERT_NE(w->idList(), nullptr);
  EXPECT_TRUE(w->idList()->isVisible());
  EXPECT_EQ(w->idList()->objectName(), "RKVIdLister");
  EXPECT_EQ(w->idList()->windowTitle(), QString::fromUtf8("ハンドル一覧"));
  QTest::keyClick(w, Qt::Key_N);
  Drain();
  EXPECT_EQ(w->model().mode(), kNormalMode);
  EXPECT_FALSE(w->idList()->isVisible());  // hidden, not destroyed
}

TEST_F(ViewerWindowTest, TheHandleListPicksAMember) {
  ViewerWindow* w = OpenConference(test::MakeConference(9, [](int n) {
    test::MessageSpec m;
    m.id = n % 3 == 0 ? "XYZ00003" : "ABC00001";
    m.handle = n % 3 == 0 ? "zeta" : "alpha";
    return m;
  }));
  w->HandleCommand(cmd::VId);
  IdListWindow* list = w->idList();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->rows().size(), 2u);
  EXPECT_EQ(list->rows()[1].handle.substr(0, 4), "zeta");
  // Beside the viewer, top-aligned with it, wide enough for its caption.
  EXPECT_EQ(list->y(), w->subWindow()->mapToGlobal(QPoint(0, 0)).y());
  EXPECT_GT(list->width(), QFontMetrics(QApplication::font()).horizontalAdvance(list->windowTitle()));
  list->resize(140, 240);
  QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, QPoint(20, 4 + list->rowHeight() + 2));
  Drain();
  EXPECT_EQ(list->view().selected, 1);
  EXPECT_EQ(w->model().ListCount(), 3);  // zeta's three messages
  EXPECT_EQ(w->model().EntryTitle(0), 2);
  EXPECT_TRUE(w->hasFocus());  // the keyboard stays with the viewer
  QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, QPoint(20, 4 + 10 * list->rowHeight()));
  Drain();
  EXPECT_EQ(list->view().selected, 1);  // below the last row: nothing
}

TEST_F(ViewerWindowTest, HandleListPopupCommands) {
  ViewerWindow* w = OpenConference(test::MakeConference(3));
  w->HandleCommand(cmd::VId);
  IdListWindow* list = w->idList();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->topmost());
  list->Command(391);
  list->Command(391);
  EXPECT_TRUE(list->topmost());
  EXPECT_TRUE(list->windowFlags() & Qt::WindowStaysOnTopHint);
  list->setGeometry(33, 44, 150, 250);
  list->Command(390);
  ASSERT_FALSE(host.shown.empty());
  EXPECT_EQ(host.shown.back().caption, Sj("ウィンドウ位置記憶"));
  EXPECT_EQ(host.shown.back().text, Sj("ウィンドウ位置とサイズを保存しました\n\r  X=33 Y=44 W=150 H=250"));
  EXPECT_EQ(app->cfg().IDWindowSize.x, 33);
}

TEST_F(ViewerWindowTest, ClosingStoresTheReadPosition) {
  std::string contents = test::MakeConference(30);
  ViewerWindow* w = OpenConference(contents);
  for (int i = 0; i < 12; ++i) QTest::keyClick(w, Qt::Key_Down);
  QTest::keyClick(w, Qt::Key_Return);
  w->subWindow()->close();
  Drain();
  ViewerWindow* again = OpenConference(contents);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->model().cursor(), 12);
  EXPECT_EQ(again->model().top(), 8);
}

TEST_F(ViewerWindowTest, AFileWithoutTitlesSaysSoAndOpensNothing) {
  ViewerWindow* w = OpenConference("nothing to see\r\n");
  EXPECT_EQ(w, nullptr);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].text, Sj("発言タイトルがありません"));
  EXPECT_TRUE(app->frame()->client()->Children().isEmpty());
}

TEST_F(ViewerWindowTest, PrintingToPdfFollowsThePageLayout) {
  ViewerWindow* w = OpenConference(test::MakeConference(2, [](int) {
    test::MessageSpec m;
    m.bodyLines = 150;
    return m;
  }));
  QTest::keyClick(w, Qt::Key_Return);
  ASSERT_EQ(w->model().message().size(), 152u);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  std::string pdf = dir / "out.pdf";
  printer.setOutputFileName(QString::fromStdString(pdf));
  int pages = w->PrintTo(printer);
  EXPECT_GE(pages, 2);
  std::string bytes = test::ReadFile(pdf);
  size_t count = 0;
  for (size_t at = bytes.find("/Type /Page\n"); at != std::string::npos; at = bytes.find("/Type /Page\n", at + 1)) ++count;
  EXPECT_EQ(count, static_cast<size_t>(pages));
}

TEST_F(ViewerWindowTest, PrintingBeforeAnyMessageWasReadGivesOneEmptyPage) {
  ViewerWindow* w = OpenConference(test::MakeConference(3));
  ASSERT_TRUE(w->model().message().empty());
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir / "empty.pdf"));
  EXPECT_EQ(w->PrintTo(printer), 1);
  std::string bytes = test::ReadFile(dir / "empty.pdf");
  EXPECT_NE(bytes.find("/Type /Page\n"), std::string::npos);
  EXPECT_EQ(bytes.find("/Type /Page\n"), bytes.rfind("/Type /Page\n"));
}

TEST_F(ViewerWindowTest, MouseMarksInTheMarginAndDoubleClickOpens) {
  ViewerWindow* w = OpenConference(test::MakeConference(10));
  int y = w->lineHeight() * 2 + 2;
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(29, y));
  EXPECT_TRUE(w->model().EntryMarked(2));
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(30, y + w->lineHeight()));
  EXPECT_FALSE(w->model().EntryMarked(3));
  EXPECT_EQ(w->model().cursor(), 3);
  QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(200, y + w->lineHeight()));
  EXPECT_EQ(w->model().view(), ViewerView::Message);
  EXPECT_EQ(w->model().currentMessage(), 3);
}

}  // namespace
}  // namespace rkv
