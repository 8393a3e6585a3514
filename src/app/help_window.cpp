#include "app/help_window.h"

#include <QPointer>

namespace rkv {

HelpWindow::HelpWindow(QWidget* owner) : QTextBrowser(nullptr) {
  setObjectName("HelpWindow");
  setWindowTitle(QString::fromUtf8("RKV ヘルプ"));
  setWindowIcon(QIcon(":/icons/ICON_1.svg"));
  setAttribute(Qt::WA_DeleteOnClose);
  setOpenExternalLinks(true);
  resize(720, 620);
  if (owner) move(owner->window()->pos() + QPoint(60, 60));
}

HelpWindow* HelpWindow::Show(QWidget* owner) {
  static QPointer<HelpWindow> window;
  if (!window) window = new HelpWindow(owner);
  window->setSource(QUrl("qrc:/docs/help.html"));
  window->scrollToAnchor("contents");
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

}  // namespace rkv
