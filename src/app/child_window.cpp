#include "app/child_window.h"

#include <QMdiSubWindow>

namespace rkv {

ChildWindow::ChildWindow(TMyApp& app, std::string className, QWidget* parent)
    : QWidget(parent), app_(app), className_(std::move(className)) {
  setObjectName(QString::fromStdString(className_));
  setAttribute(Qt::WA_DeleteOnClose);
}

void ChildWindow::PostCommand(int id) {
  QPointer<ChildWindow> self(this);
  QMetaObject::invokeMethod(
      this, [self, id] {
        if (self) self->HandleCommand(id);
      },
      Qt::QueuedConnection);
}

void ChildWindow::PostClose() {
  QPointer<ChildWindow> self(this);
  QMetaObject::invokeMethod(
      this, [self] {
        if (!self) return;
        if (QMdiSubWindow* sub = self->subWindow()) {
          sub->close();
        } else {
          self->close();
        }
      },
      Qt::QueuedConnection);
}

QMdiSubWindow* ChildWindow::subWindow() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

}  // namespace rkv
