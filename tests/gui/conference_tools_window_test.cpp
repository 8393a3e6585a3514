// The viewer's file split and sort from the frame's menu, and its pop-up menu's
// game-record item, driven by real events offscreen.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include "app/command_ids.h"
#include "app/main_client.h"
#include "app/main_frame.h"
#include "gui/gui_support.h"
#include "support/test_env.h"
#include "viewer/viewer_window.h"

namespace rkv {
namespace {

using test::Sj;

class ConferenceToolsWindow : public test::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    app->cfg().TtlDir = dir.path();
    test::WriteFile(path, test::CrLfLines({"- SHOGI  MES( 7):将棋の部屋",
                                           "001/002   ABC12345  山田              こんばんは",
                                           "       97/05/12 21:00  00000  ", "先手：は私でした", "雑談です",
                                           "002/002   DEF67890  鈴木              昨夜の棋譜",
                                           "       97/05/12 22:00  00000  ", "昨夜の対局です。", "先手：鈴木",
                                           "後手：山田", "   1 ７六歩(77)", "   2 ３四歩(33)", "   3 投了",
                                           "まで2手で後手の勝ち", "またお願いします。"}) +
                                "\r\n");
    app->frame()->client()->OpenViewer(kConferenceFile, path);
    w = qobject_cast<ViewerWindow*>(app->frame()->client()->ActiveChildWindow());
    ASSERT_NE(w, nullptr);
    w->subWindow()->resize(620, 330);
  }

  // Right-clicks the message view and answers the pop-up menu: the texts of
  // its items, choosing `choose` when it is there (Escape otherwise).
  QStringList Popup(const QString& choose) {
    QStringList texts;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      QAction* chosen = nullptr;
      for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        texts << a->text();
        if (a->text() == choose) chosen = a;
      }
      SaveShot(menu);
      if (chosen) {
        menu->setActiveAction(chosen);
        QTest::keyClick(menu, Qt::Key_Return);
      } else {
        QTest::keyClick(menu, Qt::Key_Escape);
      }
    });
    QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, QPoint(200, 40));
    Drain();
    return texts;
  }

  // With RKV_SHOTS set, the frame with the open menu drawn over it is saved there.
  void SaveShot(QMenu* menu) {
    const char* shots = std::getenv("RKV_SHOTS");
    if (!shots || !shotName) return;
    QWidget* frame = app->frame();
    QPixmap picture = frame->grab();
    QPainter painter(&picture);
    painter.drawPixmap(frame->mapFromGlobal(menu->pos()), menu->grab());
    painter.end();
    picture.save(QString::fromUtf8(shots) + "/" + shotName);
    shotName = nullptr;
  }

  test::TempDir dir;
  std::string path = dir / "SHOGI.CNF";
  ViewerWindow* w = nullptr;
  const char* shotName = nullptr;
};

TEST_F(ConferenceToolsWindow, TheGameRecordItemOnlyOnAMessageThatHoldsARecord) {
  const QString item = QString::fromUtf8("棋譜: クリップボード転送");
  QTest::keyClick(w, Qt::Key_Home);
  QTest::keyClick(w, Qt::Key_Return);
  ASSERT_EQ(w->model().view(), ViewerView::Message);
  QStringList plain = Popup(item);
  EXPECT_TRUE(plain.contains(QString::fromUtf8("クリップボード転送")));
  EXPECT_FALSE(plain.contains(item));
  EXPECT_FALSE(host.clipboard);

  QTest::keyClick(w, Qt::Key_Escape);
  QTest::keyClick(w, Qt::Key_Down);
  QTest::keyClick(w, Qt::Key_Return);
  shotName = "issue13-game-record-popup.png";
  EXPECT_TRUE(Popup(item).contains(item));
  ASSERT_TRUE(host.clipboard);
  EXPECT_EQ(test::Utf8(*host.clipboard),
            "先手：鈴木\r\n後手：山田\r\n   1 ７六歩(77)\r\n   2 ３四歩(33)\r\n   3 投了\r\n");
}

TEST_F(ConferenceToolsWindow, SortAndSplitFromTheFrameMenu) {
  host.answers = {Answer::Yes, Answer::Yes};
  app->frame()->Dispatch(cmd::SortMessages);
  EXPECT_TRUE(test::Exists(dir / "SHOGI.000"));
  QTest::keyClick(w, Qt::Key_Home);
  QTest::keyClick(w, Qt::Key_Down);
  app->frame()->Dispatch(cmd::SplitConference);
  ASSERT_EQ(host.shown.size(), 4u) << host.Transcript();
  EXPECT_EQ(host.shown[3].caption, Sj("会議室ファイル二分割"));
  EXPECT_EQ(host.shown[3].text, Sj("正常に終了しました"));
  // The second part opens with the room's prompt, then the cursor message to the end.
  std::string source = test::ReadFile(path);
  EXPECT_EQ(test::ReadFile(dir / "SHOGI.002"),
            source.substr(0, source.find("\r\n") + 2) + source.substr(source.find("002/002")));
}

}  // namespace
}  // namespace rkv
