#include "viewer/id_list_window.h"

#include <algorithm>

#include <QApplication>
#include <QFontMetrics>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>

#include "app/fonts.h"
#include "app/scroll_support.h"
#include "app/text.h"
#include "app/tmy_app.h"
#include "core/cp932.h"
#include "viewer/viewer_window.h"

namespace rkv {
namespace {
constexpr int kBarWidth = 18;
constexpr int kLeft = 2, kTop = 4;
}  // namespace

IdListWindow::IdListWindow(TMyApp& app, ViewerWindow* viewer, const TitleInfo& titles)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus), app_(app),
      viewer_(viewer),
      rows_(BuildPersonList(titles)), view_(static_cast<int>(rows_.size())) {
  setObjectName("RKVIdLister");
  setWindowTitle(QString::fromUtf8("ハンドル一覧"));
  setFont(SystemFixedFont());
  rowHeight_ = QFontMetrics(font()).height() + app.cfg().LinePitch;
  bar_ = new QScrollBar(Qt::Vertical, this);
  bar_->setObjectName("ScrollBar120");
  bar_->setRange(0, std::max(view_.count() - 1, 0));
  ConnectScrolledList(bar_, view_, this);
  const WinPlace& p = app.cfg().IDWindowSize;
  // The list only points; the keyboard stays with the viewer.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  if (p.x != 0 && p.y != 0) {
    setGeometry(p.x, p.y, p.width, p.height);
  } else {
    PlaceBesideViewer();
  }
}

void IdListWindow::PlaceBesideViewer() {
  QWidget* anchor = viewer_ && viewer_->subWindow() ? static_cast<QWidget*>(viewer_->subWindow()) : viewer_.data();
  if (!anchor || !anchor->screen()) {
    setGeometry(20, 20, 140, 240);
    return;
  }
  // Wide enough that the caption shows whole beside the title bar's buttons.
  int width = std::max(140, QFontMetrics(QApplication::font()).horizontalAdvance(windowTitle()) + 120);
  QPoint origin = anchor->mapToGlobal(QPoint(0, 0));
  QRect screen = anchor->screen()->availableGeometry();
  ScreenRect r = IdListPlacement({origin.x(), origin.y(), anchor->width(), anchor->height()},
                                 {screen.x(), screen.y(), screen.width(), screen.height()}, width, 240);
  resize(r.width, r.height);
  move(r.x, r.y);  // a window's position includes its frame
}

void IdListWindow::resizeEvent(QResizeEvent*) {
  view_.Layout(height(), rowHeight_);
  bar_->setPageStep(std::max(view_.fullRows(), 1));
  bar_->setGeometry(width() - kBarWidth, 0, kBarWidth, height());
}

void IdListWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ColorFromRef(app_.cfg().FilerBackColor));
  int textWidth = width() - kBarWidth - 1;
  QFontMetrics fm(font());
  for (int k = 0; k < view_.rows() && view_.top() + k < view_.count(); ++k) {
    int row = view_.top() + k;
    QRect r(kLeft, kTop + k * rowHeight_, textWidth - kLeft, rowHeight_);
    QString text = FromSj(rows_[static_cast<size_t>(row)].handle).trimmed();
    if (row == view_.selected && view_.Visible(row)) {
      // Only the text itself is reversed; the rest of the row keeps the background.
      QRect tight = fm.boundingRect(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
      p.fillRect(tight, Qt::black);
      p.setPen(Qt::white);
    } else {
      p.setPen(Qt::black);
    }
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
  }
}

void IdListWindow::wheelEvent(QWheelEvent* event) { WheelScrolledList(event, bar_, view_, this); }

void IdListWindow::mousePressEvent(QMouseEvent* event) {
  QPoint pos = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    QMenu menu(this);
    QAction* save = menu.addAction(QString::fromUtf8("ウィンドウ位置保存"));
    save->setData(390);
    QAction* top = menu.addAction(QString::fromUtf8("常にトップに表示する"));
    top->setData(391);
    top->setCheckable(true);
    top->setChecked(topmost_);
    if (QAction* chosen = menu.exec(event->globalPosition().toPoint())) Command(chosen->data().toInt());
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  int row = view_.ClickRow(pos.y());
  if (row < 0) return;
  view_.selected = row;
  update();
  int title = rows_[static_cast<size_t>(row)].titleIndex;
  QPointer<ViewerWindow> viewer = viewer_;
  QMetaObject::invokeMethod(
      this, [viewer, title] {
        if (!viewer) return;
        viewer->ChooseHandle(title);
        viewer->window()->activateWindow();
        viewer->setFocus();
      },
      Qt::QueuedConnection);
}

void IdListWindow::Command(int id) {
  if (id == 390) {
    WinPlace& p = app_.cfg().IDWindowSize;
    QRect g = geometry();
    p.x = g.x();
    p.y = g.y();
    p.width = g.width();
    p.height = g.height();
    char numbers[80];
    std::snprintf(numbers, sizeof numbers, "\n\r  X=%d Y=%d W=%d H=%d", p.x, p.y, p.width, p.height);
    app_.host().Message(SJ("ウィンドウ位置とサイズを保存しました") + numbers, SJ("ウィンドウ位置記憶"), Buttons::Ok);
  } else if (id == 391) {
    topmost_ = !topmost_;
    bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, topmost_);
    if (visible) show();
  }
}

}  // namespace rkv
