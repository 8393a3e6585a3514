// Filer windows driven by real key and mouse events on the offscreen platform.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include "app/command_ids.h"
#include "app/fonts.h"
#include "app/main_client.h"
#include "app/main_frame.h"
#include "app/tmy_app.h"
#include "core/handoff.h"
#include "filer/filer_window.h"
#include "gui/gui_support.h"
#include "support/scripted_host.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::App;

class FilerWindowTest : public test::AppTest {
 protected:
  void SetUp() override {
    for (const char* name : {"A.LOG", "B.LOG", "C.LOG"}) test::WriteFile(dir / name, "x\r\n");
    AppTest::SetUp();
    app->cfg().LogDir = dir.path();
    app->cfg().FilerMask = "*.LOG";
    app->cfg().FilerSort = 1;  // by name
  }
  DirWindow* OpenFiler(int kind, bool resize = true) {
    app->frame()->Dispatch(kind == kLogFiler ? cmd::LogFiler : kind == kMailFiler ? cmd::MailFiler
                                                                                  : cmd::ConferenceFiler);
    auto* w = qobject_cast<DirWindow*>(app->frame()->client()->ActiveChildWindow());
    if (w && resize) w->resize(500, 300);
    return w;
  }
  // The row's y in the middle of a listing row (0 = first row shown).
  int RowY(DirWindow* w, int row) { return w->headerHeight() + row * w->rowHeight() + w->rowHeight() / 2; }

  test::TempDir dir;
};

TEST_F(FilerWindowTest, ClassNamesAndTitlesByKind) {
  DirWindow* log = OpenFiler(kLogFiler);
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(log->className(), "RKVFiler");
  EXPECT_EQ(log->windowTitle().toStdString(), dir.path());
  EXPECT_EQ(OpenFiler(kCnfFiler)->className(), "RKVCnfFiler");
  EXPECT_EQ(OpenFiler(kMailFiler)->className(), "RKVMailFiler");
  EXPECT_EQ(app->frame()->client()->Children().size(), 3);
  ASSERT_NE(log->button(106), nullptr);
  EXPECT_EQ(log->button(106)->text(), QString::fromUtf8("選択"));
}

TEST_F(FilerWindowTest, KeysMoveAndMark) {
  DirWindow* w = OpenFiler(kLogFiler);
  FilerModel& m = w->model();
  ASSERT_EQ(m.count(), 4);  // "..", A, B, C
  QTest::keyClick(w, Qt::Key_Down);
  EXPECT_EQ(m.cursor(), 1);
  QTest::keyClick(w, Qt::Key_Space);  // marks A and moves on
  EXPECT_TRUE(m.IsMarked(1));
  EXPECT_EQ(m.cursor(), 2);
  QTest::keyClick(w, Qt::Key_End);
  QTest::keyClick(w, Qt::Key_Home);
  EXPECT_EQ(m.cursor(), 0);
}

TEST_F(FilerWindowTest, ClicksInTheMarginMarkFilesOnly) {
  DirWindow* w = OpenFiler(kLogFiler);
  FilerModel& m = w->model();
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(10, RowY(w, 2)));
  EXPECT_EQ(m.cursor(), 2);
  EXPECT_TRUE(m.IsMarked(2));
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(120, RowY(w, 3)));
  EXPECT_EQ(m.cursor(), 3);
  EXPECT_FALSE(m.IsMarked(3));  // outside the margin: the cursor only
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(10, RowY(w, 0)));
  EXPECT_FALSE(m.IsMarked(0));  // ".." is a directory: never marked
  w->button(106)->click();      // mark every file
  EXPECT_TRUE(m.IsMarked(1) && m.IsMarked(2) && m.IsMarked(3));
}

TEST_F(FilerWindowTest, EnterHandsTheFileToTheClient) {
  std::vector<std::string> opened;
  app->viewerFactory = [&](int kind, const std::string& path) -> ChildWindow* {
    opened.push_back(std::to_string(kind) + ":" + path);
    return nullptr;
  };
  DirWindow* w = OpenFiler(kLogFiler);
  QTest::keyClick(w, Qt::Key_Down);
  QTest::keyClick(w, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(opened, (std::vector<std::string>{"0:" + dir / "A.LOG"}));
}

TEST_F(FilerWindowTest, DivisionFromTheFilerRereadsIt) {
  std::string divided;
  app->dividerFactory = [&](const std::string& p) {
    divided = p;
    test::WriteFile(dir / "D.LOG", "new");  // the division leaves a file behind
  };
  DirWindow* w = OpenFiler(kLogFiler);
  QTest::keyClick(w, Qt::Key_Down);
  app->frame()->Dispatch(cmd::FilerDivide);  // the menu's ログ分割, forwarded as 301
  Drain();  // the forwarded 301, then the posted division, then the posted reread
  EXPECT_EQ(divided, dir / "A.LOG");
  EXPECT_EQ(w->model().count(), 5);  // reread after the division
}

TEST_F(FilerWindowTest, KeyHelpAndStatusLine) {
  DirWindow* w = OpenFiler(kLogFiler);
  QTest::keyClick(w, Qt::Key_F1);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].caption, test::Sj("ファイラーキー割り当て"));
  EXPECT_TRUE(app->frame()->Message().contains(QString::fromUtf8("ﾌｧｲﾙ(")));
}

TEST_F(FilerWindowTest, StartupFilersAreSizedByTheHalfWidthCellAndStayVisible) {
  app->cfg().FontInfo2 = FontInfo{"Noto Sans Mono CJK JP", -16};
  app->frame()->resize(1280, 1024);
  app->frame()->client()->resize(1280, 900);
  DirWindow* log = OpenFiler(kLogFiler, false);
  DirWindow* mail = OpenFiler(kMailFiler, false);
  DirWindow* cnf = OpenFiler(kCnfFiler, false);
  int cell = CellWidth(FontFromInfo(app->cfg().FontInfo2));
  EXPECT_LT(cell, QFontMetrics(FontFromInfo(app->cfg().FontInfo2)).averageCharWidth());
  EXPECT_LE(cnf->width(), 100 * cell);  // 80 columns, margin and bar
  QSize area = app->frame()->client()->viewport()->size();
  QMdiSubWindow* subs[] = {log->subWindow(), mail->subWindow(), cnf->subWindow()};
  for (int i = 0; i < 3; ++i) {
    QRect r = subs[i]->geometry();
    EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(r)) << i;
    if (i == 0) continue;
    // Below the earlier one's title bar and button bar.
    DirWindow* before = i == 1 ? log : mail;
    QPoint barBottom = before->mapTo(app->frame()->client()->viewport(), QPoint(0, before->headerHeight()));
    EXPECT_GE(r.top(), barBottom.y()) << i;
  }
}

TEST_F(FilerWindowTest, StoredPlacementReopensWithCascade) {
  app->cfg().SaveChildWinSize = 1;
  app->cfg().FilerSize = WinPlace{0, 0, 30, 40, 400, 250};
  DirWindow* first = OpenFiler(kLogFiler, false);
  DirWindow* second = OpenFiler(kLogFiler, false);
  QPoint a = first->subWindow()->pos(), b = second->subWindow()->pos();
  EXPECT_EQ(a, QPoint(30, 40));
  EXPECT_EQ(b - a, QPoint(24, 20));
  EXPECT_EQ(first->size(), QSize(400, 250));
  first->subWindow()->move(70, 80);
  first->StorePlacement();
  EXPECT_EQ(app->cfg().FilerSize.x, 70);
  EXPECT_EQ(app->cfg().FilerSize.width, 400);
}

}  // namespace
}  // namespace rkv
