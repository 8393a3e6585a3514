#include "app/main_frame.h"

#include <QCloseEvent>
#include <QFont>
#include <QStatusBar>
#include <QToolBar>

#include "app/main_client.h"
#include "app/tmy_app.h"

namespace rkv {

MyMDIFrame::MyMDIFrame(TMyApp& app) : app_(app) {
  setObjectName("TarvoltWindow");
  setWindowTitle("RKV32");
  client_ = new TMainWindow(app_, this);
  setCentralWidget(client_);

  QFont barFont = font();
  barFont.setPointSize(10);
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName("ToolBar151");
  toolBar_->setFont(barFont);
  toolBar_->setMovable(false);
  addToolBar(Qt::TopToolBarArea, toolBar_);
  statusBar()->setFont(barFont);
  statusBar()->setObjectName("MessageBar");
}

MyMDIFrame::~MyMDIFrame() = default;

void MyMDIFrame::BuildFromSettings() {}

void MyMDIFrame::SetMessage(const QString& text) { statusBar()->showMessage(text); }

QString MyMDIFrame::Message() const { return statusBar()->currentMessage(); }

void MyMDIFrame::closeEvent(QCloseEvent* event) {
  if (client_->CanClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace rkv
