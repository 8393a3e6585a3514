// The archive dialogs as the user meets them: the real Qt host, the real
// libraries, the LHA unpack dialog over a real archive with Shift-JIS names and
// the viewer's ISH restore of a file posted in a conference message of the
// sample log. With RKV_SHOT_DIR set, each dialog is saved as a picture there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

#include <filesystem>
#include <functional>

#include "app/command_ids.h"
#include "app/main_client.h"
#include "app/main_frame.h"
#include "app/qt_host.h"
#include "app/text.h"
#include "core/virtual_keys.h"
#include "filer/archive_bridge.h"
#include "filer/filer_window.h"
#include "gui/gui_support.h"
#include "support/test_env.h"
#include "viewer/viewer_window.h"

namespace rkv {
namespace {

namespace fs = std::filesystem;

// Answers the modal dialogs as they appear, one step each.
class DialogDriver {
 public:
  explicit DialogDriver(std::vector<std::function<void(QWidget*)>> steps) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* w = QApplication::activeModalWidget();
      if (!w || w == last_ || next_ >= steps_.size()) return;
      last_ = w;
      steps_[next_++](w);
    });
    timer_.start(20);
  }
  size_t done() const { return next_; }

 private:
  std::vector<std::function<void(QWidget*)>> steps_;
  size_t next_ = 0;
  QWidget* last_ = nullptr;
  QTimer timer_;
};

// The dialog drawn over the main window, as the screen shows it.
void Shot(QWidget* frame, QWidget* dialog, const char* name) {
  const char* dir = getenv("RKV_SHOT_DIR");
  if (!dir) return;
  QPixmap back = frame->grab();
  QPixmap front = dialog->grab();
  QPainter p(&back);
  QPoint at((back.width() - front.width()) / 2, (back.height() - front.height()) / 3);
  p.fillRect(QRect(at, front.size()).adjusted(-2, -24, 2, 2), QColor(60, 90, 160));
  p.setPen(Qt::white);
  p.drawText(QRect(at.x() + 6, at.y() - 22, front.width(), 20), Qt::AlignVCenter, dialog->windowTitle());
  p.drawPixmap(at, front);
  p.end();
  back.save(QString::fromUtf8(dir) + "/" + name);
}

class ArchiveWindowTest : public test::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    app->UseHost(qtHost);
    frame = app->frame();
    frame->resize(960, 640);
    frame->show();
    RememberedArchiveFolders() = {};
  }
  QtHost qtHost;
  QMainWindow* frame = nullptr;
  test::TempDir dir;
};

TEST_F(ArchiveWindowTest, LhaUnpackDialogListsARealArchiveWithShiftJisNames) {
  fs::copy_file(std::string(RKV_SHARED_DATA) + "/lzh/libarchive/test_read_format_lha_filename_cp932.lzh",
                dir / "KANJI.LZH");
  fs::create_directories(dir / "OUT");
  auto* filer = qobject_cast<DirWindow*>(app->frame()->client()->OpenFiler(kLogFiler, dir.path()));
  ASSERT_NE(filer, nullptr);
  filer->subWindow()->resize(620, 360);
  while (filer->model().IsDirectory(filer->model().cursor())) filer->KeyMessage(vk::kDown);
  QStringList listed, shown;
  DialogDriver driver({[&](QWidget* w) {
                         EXPECT_EQ(w->objectName(), "LHA_UNPACK_DLG");
                         auto* list = w->findChild<QListWidget*>("192");
                         ASSERT_NE(list, nullptr);
                         for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
                         list->item(1)->setSelected(true);
                         w->findChild<QLineEdit*>("191")->setText(QtPath(dir / "OUT"));
                         Shot(frame, w, "issue14-lha-unpack-dialog.png");
                         static_cast<QDialog*>(w)->accept();
                       },
                       [&](QWidget* w) {
                         auto* box = qobject_cast<QMessageBox*>(w);
                         ASSERT_NE(box, nullptr);
                         shown << box->windowTitle() + ": " + box->text();
                         Shot(frame, w, "issue14-lha-unpack-done.png");
                         box->accept();
                       }});
  filer->HandleCommand(cmd::LhaUnpack);
  EXPECT_EQ(driver.done(), 2u);
  ASSERT_EQ(listed.size(), 2);
  EXPECT_TRUE(listed[0].startsWith(QString::fromUtf8(" 漢字.txt")));
  EXPECT_TRUE(listed[1].startsWith(QString::fromUtf8(" 表.txt")));
  EXPECT_EQ(shown, QStringList{QString::fromUtf8("LHA 解凍: 正常に解凍しました")});
  EXPECT_TRUE(fs::exists(dir / "OUT/表.txt"));  // the one chosen member only
  EXPECT_FALSE(fs::exists(dir / "OUT/漢字.txt"));
}

TEST_F(ArchiveWindowTest, IshRestoreFromAConferenceMessageOfTheSample) {
  // The sample log with RAND1K posted as ISH inside message 122 of FCOOK, divided
  // as the program divides it.
  std::string log = test::ReadFile(std::string(RKV_SOURCE_DIR) + "/samples/SAMPLE.LOG");
  std::string ish = test::ReadFile(std::string(RKV_SHARED_DATA) + "/ish/RAND1K_SS.ISH");
  std::string crlf;
  for (char c : ish) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  size_t at = log.find(test::Sj("手順を書いておきます。"));
  ASSERT_NE(at, std::string::npos);
  at = log.find('\n', at) + 1;
  log.insert(at, test::Sj("データを ISH で載せます。") + "\r\n" + crlf);
  test::WriteFile(dir / "ISHMSG.LOG", log);
  auto r = test::RunCommand(std::string(RKVTOOL_PATH) + " --date 2026-05-09 divide '" + dir / "ISHMSG.LOG" + "'");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  std::string room = app->cfg().CnfDir + "/FCOOK_05.CNF";
  ASSERT_TRUE(fs::exists(room));
  auto* viewer = qobject_cast<ViewerWindow*>(app->frame()->client()->OpenViewer(kConferenceFile, room));
  ASSERT_NE(viewer, nullptr);
  viewer->subWindow()->resize(900, 560);
  viewer->KeyMessage(vk::kDown);
  viewer->KeyMessage(vk::kEnter);  // message 122 with the posted file
  fs::create_directories(dir / "RESTORED");
  QStringList shown;
  DialogDriver driver({[&](QWidget* w) {
                         auto* edit = w->findChild<QLineEdit*>();
                         ASSERT_NE(edit, nullptr);
                         EXPECT_EQ(ToSj(edit->text()), app->cfg().CnfDir);  // the viewed file's folder
                         edit->setText(QtPath(dir / "RESTORED"));
                         Shot(frame, w, "issue14-ish-restore-dialog.png");
                         static_cast<QDialog*>(w)->accept();
                       },
                       [&](QWidget* w) {
                         auto* box = qobject_cast<QMessageBox*>(w);
                         ASSERT_NE(box, nullptr);
                         shown << box->windowTitle() + ": " + box->text();
                         Shot(frame, w, "issue14-ish-restore-done.png");
                         box->accept();
                       }});
  EXPECT_TRUE(viewer->HandleCommand(cmd::IshRestore));
  EXPECT_EQ(driver.done(), 2u);
  EXPECT_EQ(shown, QStringList{QString::fromUtf8("ISH ファイル復元: ISH ファイルを復元しました")});
  EXPECT_EQ(test::ReadFile(dir / "RESTORED/RAND1K.BIN"),
            test::ReadFile(std::string(RKV_SHARED_DATA) + "/ish/RAND1K.BIN"));
  EXPECT_FALSE(fs::exists(dir / "RESTORED/RKV_ISH.TMP"));
}

}  // namespace
}  // namespace rkv
