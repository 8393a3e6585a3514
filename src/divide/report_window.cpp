#include "divide/report_window.h"

#include <QContextMenuEvent>
#include <QMdiSubWindow>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/command_ids.h"
#include "app/scroll_support.h"
#include "app/fonts.h"
#include "app/main_client.h"
#include "app/main_frame.h"
#include "app/text.h"
#include "app/tmy_app.h"

namespace rkv {
namespace {
constexpr int kMargin = 2;
constexpr int kBarWidth = 18;
}  // namespace

DivLogWindow::DivLogWindow(TMyApp& app, std::string logPath)
    : ChildWindow(app, "RKVDivider"), run_(std::make_unique<DivLog>(app.cfg(), app.host(), logPath)) {
  setWindowTitle(QtPath(logPath));
  setWindowIcon(QIcon(":/icons/ICON_4.svg"));
  setFont(SystemFixedFont());
  lineHeight_ = QFontMetrics(font()).height() + app.cfg().LinePitch;
  bar_ = new QScrollBar(Qt::Vertical, this);
  bar_->setObjectName("ScrollBar100");
  bar_->setRange(0, 0);
  ConnectScrolledList(bar_, view_, this);
  setFocusPolicy(Qt::StrongFocus);
  resize(560, 300);
}

DivLogWindow::~DivLogWindow() = default;

bool DivLogWindow::Setup() {
  if (!run_->CheckDestinations()) return false;
  return Divide();
}

bool DivLogWindow::Divide() {
  dividing_ = true;
  run_->SetProgress([this](const DivProgress& progress) { ShowProgress(progress); });
  run_->Divide();
  run_->SetProgress(nullptr);
  dividing_ = false;
  const DivideMsg& report = run_->report();
  if (app().cfg().DivideReport == 0 || report.lines.empty()) return false;
  view_ = ScrolledList(static_cast<int>(report.lines.size()));
  view_.Layout(height(), lineHeight_);
  bar_->setRange(0, view_.maxPosition());
  bar_->setValue(0);
  update();
  return true;
}

// A long division shows how far it has got; the windows repaint in between
// (input waits until the run is over, for the run belongs to this window).
void DivLogWindow::ShowProgress(const DivProgress& progress) {
  progress_ = progress;
  if (!isVisible()) return;
  update();
  app().host().Pump();
}

DivLogWindow* DivLogWindow::Open(TMyApp& app, const std::string& logPath) {
  auto* window = new DivLogWindow(app, logPath);
  if (!window->run_->CheckDestinations()) {
    delete window;
    return nullptr;
  }
  // The window is there while the division runs, to show its progress.
  TMainWindow* client = app.frame()->client();
  client->AddChild(window);
  window->Place();
  if (!window->Divide()) {
    QMdiSubWindow* sub = window->subWindow();
    client->removeSubWindow(sub);
    delete sub;
    return nullptr;
  }
  window->Place();
  return window;
}

// Room for a report line of the widest file name, and a dozen lines or more.
void DivLogWindow::Place() {
  TMainWindow* client = app().frame()->client();
  QSize area = client->viewport()->size();
  int lines = static_cast<int>(run_->report().lines.size());
  int width = std::min(CellWidth(font()) * 64 + kBarWidth + 16, area.width() - 20);
  int height = std::min(lineHeight_ * std::clamp(lines + 1, 12, 24) + 40, area.height() - 20);
  subWindow()->resize(std::max(width, 200), std::max(height, 120));
  client->KeepInside(this);
}

bool DivLogWindow::HandleCommand(int id) {
  if (id != cmd::Close) return false;
  PostClose();
  return true;
}

void DivLogWindow::resizeEvent(QResizeEvent*) {
  view_.Layout(height(), lineHeight_);
  bar_->setPageStep(view_.fullRows() > 0 ? view_.fullRows() : 1);
  bar_->setGeometry(width() - kBarWidth, 0, kBarWidth, height());
}

void DivLogWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().base());
  p.setPen(palette().text().color());
  const auto& lines = run_->report().lines;
  int textWidth = width() - kBarWidth - 1;
  int y = kMargin;
  auto draw = [&](const std::string& line) {
    QRect r(kMargin, y, textWidth - kMargin, lineHeight_);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, FromSj(line));
    y += lineHeight_;
  };
  if (dividing_) {
    // The progress, then the latest report lines under it.
    draw(ProgressLine(progress_));
    int rows = std::max(1, height() / lineHeight_) - 1;
    int n = static_cast<int>(lines.size());
    for (int i = std::max(0, n - rows); i < n; ++i) draw(lines[static_cast<size_t>(i)]);
    return;
  }
  for (int i = 0; i < view_.rows() && view_.top() + i < static_cast<int>(lines.size()); ++i) {
    draw(lines[static_cast<size_t>(view_.top() + i)]);
  }
}

void DivLogWindow::wheelEvent(QWheelEvent* event) { WheelScrolledList(event, bar_, view_, this); }

void DivLogWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) return;
  QMenu menu(this);
  QAction* close = menu.addAction(QString::fromUtf8("閉じる"));
  close->setData(cmd::Close);
  if (menu.exec(event->globalPosition().toPoint()) == close) HandleCommand(cmd::Close);
}

}  // namespace rkv
