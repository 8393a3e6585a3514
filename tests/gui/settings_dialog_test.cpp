// The settings dialogs as the user meets them: opened from the Options
// commands, driven by keys, closed with Return or Escape.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/command_ids.h"
#include "app/main_client.h"
#include "app/main_frame.h"
#include "app/qt_host.h"
#include "app/text.h"
#include "core/files.h"
#include "gui/gui_support.h"
#include "platform/profile.h"
#include "settings/settings_dialog.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;
using test::TestChild;

class SettingsDialogTest : public test::AppTest {
 protected:
  // Runs an Options command; once its dialog is up, the user acts on it.
  void Run(int command, std::function<void(SettingsDialog&)> user) {
    QTimer::singleShot(0, [user] {
      auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
      if (!dialog || !QTest::qWaitForWindowActive(dialog) || !QApplication::focusWidget()) {
        ADD_FAILURE() << "no settings dialog with the focus";
      } else {
        user(*dialog);
      }
      if (dialog && dialog->isVisible()) {
        ADD_FAILURE() << "the dialog is still open";
        dialog->reject();
      }
    });
    EXPECT_TRUE(app->frame()->client()->Command(command));
  }
  std::string Saved(const char* section, const char* key) {
    return ProfileFile(app->settingsPath()).GetString(section, key, "(none)", 4096);
  }
  static QLineEdit* EditOf(SettingsDialog& d, int id) { return qobject_cast<QLineEdit*>(d.Control(id)); }
  // Types into a field, replacing its text, one key per character (any script).
  static void Type(QLineEdit* edit, const QString& text, bool replace = true) {
    if (replace) edit->selectAll();
    for (QChar ch : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(edit, &press);
    }
  }
};

TEST_F(SettingsDialogTest, EachOpensWithItsTitleAndTheFocusInItsFirstFieldAndTabsInOrder) {
  struct Case {
    int command;
    const char* resource;
    const char* title;
    std::vector<QString> tabOrder;  // the first controls Tab reaches (one stop per radio group)
  } cases[] = {
      {220, "ENVDLG", "パス名設定", {"151", "151_choose", "152", "152_choose", "153"}},
      {222, "MASK_DLG", "パスマスク設定(ﾀﾞｲｱﾛｸﾞ,ﾌｧｲﾗｰ)", {"165", "166", "167", "168", "169"}},
      {224, "CNFNAME_DLG", "会議室名登録", {"190", "191", "192", "193", "194"}},
      {223, "PADDLG", "ＰＡＤコマンド設定", {"200", "201", "202", "203", "204"}},
      {221, "EXT_PRG", "プログラム登録", {"160", "161", "162", "163", "164"}},
      {225, "WIN_MODE", "ウィンドウ初期設定", {"171", "176", "180", "181", "183", "184", "185", "186", "182"}},
      {227, "LOG_DIV", "ログ分割オプション", {"134", "139", "136", "136_choose", "130", "132", "141"}},
      {232, "DSPMODE_DLG", "ファイラー表示設定", {"220", "221", "222", "223", "224", "230", "225"}},
  };
  for (const Case& c : cases) {
    Run(c.command, [&c](SettingsDialog& d) {
      EXPECT_EQ(d.objectName(), c.resource);
      EXPECT_EQ(d.windowTitle(), QString::fromUtf8(c.title));
      QStringList reached;
      for (size_t i = 0; i < c.tabOrder.size(); ++i) {
        reached << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      }
      EXPECT_EQ(reached, QStringList(c.tabOrder.begin(), c.tabOrder.end())) << c.resource;
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
  }
  EXPECT_TRUE(host.shown.empty()) << host.Transcript();
}

TEST_F(SettingsDialogTest, AFolderTypedAndReturnReachesTheSettingsFileAtOnce) {
  test::TempDir logs;
  Run(cmd::OptDirectories, [&](SettingsDialog& d) {
    ASSERT_EQ(QApplication::focusWidget(), d.Control(151));
    Type(EditOf(d, 151), QString::fromStdString(logs.path()) + ";/old/logs");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  });
  EXPECT_EQ(app->cfg().LogDir, logs.path() + ";/old/logs");
  EXPECT_EQ(app->cfg().CurLogDir, logs.path());
  EXPECT_EQ(Saved("DIR", "LogDir"), logs.path() + ";/old/logs");
  EXPECT_TRUE(host.shown.empty()) << host.Transcript();  // every tested folder exists
}

TEST_F(SettingsDialogTest, EscapeChangesNothingAndOkTellsEveryChildTheFilerDisplayChanged) {
  std::remove(app->settingsPath().c_str());
  TestChild* filer = new TestChild(*app, "RKVFiler");
  TestChild* viewer = new TestChild(*app, "RKVViewer");
  app->frame()->client()->AddChild(filer);
  app->frame()->client()->AddChild(viewer);
  const auto before = app->cfg().Listing();
  auto edit = [](SettingsDialog& d) {
    Type(EditOf(d, 220), "40");
    Type(EditOf(d, 225), "123");  // the field takes two characters
    QTest::keyClick(d.Control(230), Qt::Key_Space);
  };
  Run(cmd::OptFilerDisplay, [&](SettingsDialog& d) {
    edit(d);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  });
  EXPECT_EQ(app->cfg().Listing(), before);
  EXPECT_FALSE(PathExists(app->settingsPath()));
  EXPECT_EQ(filer->displayChanges + viewer->displayChanges, 0);
  Run(cmd::OptFilerDisplay, [&](SettingsDialog& d) {
    edit(d);
    QTest::keyClick(d.Control(225), Qt::Key_Return);
  });
  EXPECT_EQ(app->cfg().FilerDspMode, (DspMode{16, {1, 1, 1, 1, 1}}));
  EXPECT_EQ(app->cfg().CnfFilerDspMode.nameWidth, 12);
  EXPECT_EQ(Saved("MODE", "FilerDspMode"), "16,1,1,1,1,1");
  EXPECT_EQ(filer->displayChanges, 1);
  EXPECT_EQ(viewer->displayChanges, 1);
  EXPECT_TRUE(host.shown.empty());
}

TEST_F(SettingsDialogTest, FieldsStopAtTheirByteLimit) {
  Run(cmd::OptMasks, [&](SettingsDialog& d) {
    QLineEdit* mask = EditOf(d, 165);
    Type(mask, QString::fromUtf8("ああああああ"));  // two bytes each: five fit in eleven
    Type(mask, "xy", false);
    EXPECT_EQ(mask->text(), QString::fromUtf8("あああああx"));
    QTest::keyClick(mask, Qt::Key_Return);
  });
  EXPECT_EQ(app->cfg().LogMask, Sj("あああああx"));
}

TEST_F(SettingsDialogTest, AFolderWhoseNameTheCodePageLacksIsKeptAsItsNameOnDisk) {
  test::TempDir dir;
  std::string cafe = dir / "voilà";  // à has no CP932 code, and its UTF-8 is no CP932 text
  MakeDirs(CorePath(QString::fromStdString(cafe)));
  Run(cmd::OptDivision, [&](SettingsDialog& d) {
    QTest::keyClick(d.Control(135), Qt::Key_Space);
    Type(EditOf(d, 136), QString::fromStdString(cafe));
    QTest::keyClick(EditOf(d, 136), Qt::Key_Return);
  });
  EXPECT_EQ(app->cfg().NameRule, 1);
  EXPECT_EQ(QtPath(app->cfg().BaseDir), QString::fromStdString(cafe));
  EXPECT_TRUE(host.shown.empty()) << host.Transcript();  // the folder is found
  Run(cmd::OptDivision, [&](SettingsDialog& d) {
    EXPECT_EQ(EditOf(d, 136)->text(), QString::fromStdString(cafe));
    d.reject();
  });
}

TEST_F(SettingsDialogTest, SearchDialogOpensWithThePreviousKeysAndGivesBackWhatWasTyped) {
  QtHost qt;
  SearchKeys keys{Sj("前回"), "", "/tmp/found.txt"};
  QTimer::singleShot(0, [] {
    QWidget* d = QApplication::activeModalWidget();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->objectName(), "SEARCH_DLG");
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("キーワード検索"));
    auto* key1 = d->findChild<QLineEdit*>("210");
    EXPECT_EQ(key1->text(), QString::fromUtf8("前回"));
    EXPECT_EQ(d->findChild<QLineEdit*>("212")->text(), "/tmp/found.txt");
    Type(key1, QString(45, QLatin1Char('x')));  // 39 bytes fit
    Type(d->findChild<QLineEdit*>("211"), QString::fromUtf8("ソフト"));
    QTest::keyClick(key1, Qt::Key_Return);
  });
  EXPECT_TRUE(qt.SearchKeyDlg(keys));
  EXPECT_EQ(keys.key1, std::string(39, 'x'));
  EXPECT_EQ(keys.key2, Sj("ソフト"));
  EXPECT_EQ(keys.outFile, "/tmp/found.txt");
}

}  // namespace
}  // namespace rkv
