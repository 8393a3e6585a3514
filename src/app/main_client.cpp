#include "app/main_client.h"

#include <QMainWindow>

#include "app/main_frame.h"
#include "app/text.h"
#include "app/tmy_app.h"

namespace rkv {

TMainWindow::TMainWindow(TMyApp& app, QWidget* parent) : QMdiArea(parent), app_(app) {
  setObjectName("MDIClient");
}

void TMainWindow::SetupWindow() {
  app_.frame()->setWindowTitle(FromSj(MainTitle(app_.args().mode)));
  if (app_.args().openArgument) {
    QMetaObject::invokeMethod(this, "OpenStartupFile", Qt::QueuedConnection);
  }
  // Sent, not posted: the filers exist before the argument file's viewer opens.
  const RKVcfg& cfg = app_.cfg();
  if (cfg.FilerAutoStart) Command(105);
  if (cfg.MailFilerAutoStart) Command(106);
  if (cfg.CnfFilerAutoStart) Command(107);
}

bool TMainWindow::CanClose() {
  QMainWindow* frame = app_.frame();
  // A maximised or minimised frame stores its last normal placement.
  QRect r = frame->isMaximized() || frame->isMinimized() ? frame->normalGeometry() : frame->geometry();
  StoreFramePlacement(app_.cfg(), FrameRect{r.x(), r.y(), r.width(), r.height()});
  app_.SaveSettings();
  return true;
}

bool TMainWindow::Command(int id) {
  emit commandReceived(id);
  return false;
}

void TMainWindow::OpenStartupFile() { emit commandReceived(1025); }

}  // namespace rkv
