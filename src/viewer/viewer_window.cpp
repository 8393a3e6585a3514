#include "viewer/viewer_window.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>

#include "app/command_ids.h"
#include "app/fonts.h"
#include "app/keys.h"
#include "app/main_client.h"
#include "app/main_frame.h"
#include "app/text.h"
#include "app/tmy_app.h"
#include "core/cp932.h"
#include "tools/ish_restore.h"
#include "viewer/id_list_window.h"
#include "viewer/print_layout.h"

namespace rkv {
namespace {

constexpr int kBarWidth = 18;

// Tabs become blanks up to the next multiple of eight columns.
std::string ExpandTabs(std::string_view line) {
  std::string out;
  for (char c : line) {
    if (c == '\t') {
      out.append(8 - out.size() % 8, ' ');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

ScrollAction ActionOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return ScrollAction::LineUp;
    case QAbstractSlider::SliderSingleStepAdd:
      return ScrollAction::LineDown;
    case QAbstractSlider::SliderPageStepSub:
      return ScrollAction::PageUp;
    case QAbstractSlider::SliderPageStepAdd:
      return ScrollAction::PageDown;
    case QAbstractSlider::SliderToMinimum:
      return ScrollAction::Top;
    case QAbstractSlider::SliderToMaximum:
      return ScrollAction::Bottom;
    default:
      return ScrollAction::ThumbTrack;
  }
}

}  // namespace

ViewerWindow::ViewerWindow(TMyApp& app, const std::string& path, int fileKind)
    : ChildWindow(app, "RKVViewer"), model_(std::make_unique<ViewerModel>(app.cfg(), app.host(), path, fileKind)) {
  setWindowIcon(QIcon(":/icons/ICON_3.svg"));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  bar_ = new QScrollBar(Qt::Vertical, this);
  bar_->setObjectName("ScrollBar120");
  bar_->setFocusPolicy(Qt::NoFocus);
  connect(bar_, &QScrollBar::actionTriggered, this, [this](int action) {
    Apply(model_->Scroll(ActionOf(action), bar_->sliderPosition()));
  });
  connect(bar_, &QScrollBar::sliderReleased, this,
          [this] { Apply(model_->Scroll(ScrollAction::ThumbReleased, bar_->sliderPosition())); });
  font_ = FontFromInfo(app.cfg().FontInfo1);
  UpdateMetrics();
}

ViewerWindow::~ViewerWindow() {
  // Every way a viewer goes (its own close, closing all, the program's end)
  // stores how far the user read.
  model_->SaveReadPosition();
  if (idList_) delete idList_;
}

ViewerWindow* ViewerWindow::Open(TMyApp& app, const std::string& path, int fileKind) {
  auto* window = new ViewerWindow(app, path, fileKind);
  window->setWindowTitle(FromSj(SJ("☆") + path));
  if (!window->model_->Open()) {
    delete window;
    return nullptr;
  }
  RKVcfg& cfg = app.cfg();
  TMainWindow* client = app.frame()->client();
  client->AddChild(window);
  QMdiSubWindow* sub = window->subWindow();
  if (cfg.SaveChildWinSize) {
    const WinPlace& p = cfg.ViewerSize;
    int shift = std::min(30 * std::max<int>(p.reserved, 0), 120);
    QSize extra = sub->size() - window->size();
    sub->setGeometry(p.x + shift, p.y + shift, p.width + extra.width(), p.height + extra.height());
    if (p.state == 1) sub->showMaximized();
    if (p.state == 2) sub->showMinimized();
  } else {
    // Wide enough for a whole title line, most of the client's height.
    QSize area = client->viewport()->size();
    int width = std::min(82 * window->charWidth_ + window->textOrigin_ + kBarWidth + 16, area.width() - 20);
    sub->resize(std::max(width, 200), std::max(area.height() * 3 / 4, 150));
    client->KeepInside(window);
  }
  window->SyncScrollBar();
  app.frame()->SetMessage(window->StatusText());
  window->setFocus();
  return window;
}

void ViewerWindow::UpdateMetrics() {
  QFontMetrics fm(font_);
  charWidth_ = CellWidth(font_);
  lineHeight_ = fm.height() + app().cfg().LinePitch;
  textOrigin_ = charWidth_ + 3;
}

int ViewerWindow::TextWidth() const { return width() - kBarWidth - 1; }

void ViewerWindow::resizeEvent(QResizeEvent*) {
  int full = height() / lineHeight_;
  model_->SetRows(full, full + (height() % lineHeight_ ? 1 : 0));
  bar_->setGeometry(TextWidth() + 1, 0, kBarWidth, height());
  SyncScrollBar();
}

void ViewerWindow::SyncScrollBar() {
  ScrollState s = model_->Scroll();
  bar_->blockSignals(true);
  bar_->setRange(0, s.max);
  bar_->setPageStep(s.page);
  bar_->setValue(s.pos);
  bar_->blockSignals(false);
}

void ViewerWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QColor back = ColorFromRef(app().cfg().BackColor);
  p.fillRect(rect(), back);
  p.setFont(font_);
  const ViewerModel& m = *model_;
  int textWidth = TextWidth();
  if (m.view() == ViewerView::Message) {
    p.setPen(Qt::black);
    const auto& lines = m.message();
    for (int i = 0; i < m.visibleRows() && m.messagePos() + i < static_cast<int>(lines.size()); ++i) {
      QRect r(textOrigin_, i * lineHeight_, textWidth - textOrigin_, lineHeight_);
      p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                 FromSj(ExpandTabs(lines[static_cast<size_t>(m.messagePos() + i)])));
    }
    return;
  }
  for (int i = 0; i < m.visibleRows() && m.top() + i < m.ListCount(); ++i) {
    int index = m.top() + i;
    int y = i * lineHeight_;
    QRect band(textOrigin_, y, textWidth - textOrigin_, lineHeight_);
    bool isCursor = index == m.cursor();
    if (isCursor) p.fillRect(band, Qt::black);
    p.setPen(isCursor ? Qt::white : Qt::black);
    p.drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, FromSj(m.EntryText(index)));
    if (m.EntryMarked(index)) {
      p.setPen(Qt::black);
      p.drawText(QRect(1, y, textOrigin_ - 1, lineHeight_), Qt::AlignLeft | Qt::AlignVCenter, "*");
    }
  }
}

void ViewerWindow::Apply(const ViewerResult& r) {
  for (int id : r.post) PostCommand(id);
  if (r.close) {
    PostClose();
    return;
  }
  SyncScrollBar();
  SyncIdList();
  if (r.statusChanged) app().frame()->SetMessage(StatusText());
  if (model_->mode() != lastMode_ || model_->view() != lastView_) {
    lastMode_ = model_->mode();
    lastView_ = model_->view();
    emit stateChanged();
  }
  if (r.repaint) update();
}

void ViewerWindow::SyncIdList() {
  if (model_->idListShown() && !idList_) {
    idList_ = new IdListWindow(app(), this, model_->titles());
  }
  if (!idList_) return;
  if (model_->idListShown() && !idList_->isVisible()) {
    idList_->show();
  } else if (!model_->idListShown() && idList_->isVisible()) {
    idList_->hide();
  }
}

void ViewerWindow::ChooseHandle(int titleIndex) { Apply(model_->ChooseHandle(titleIndex)); }

bool ViewerWindow::HandleCommand(int id) {
  if (id == cmd::Print) {
    Print();
    return true;
  }
  if (id == cmd::IshRestore) {
    IshRestoreMessage(app().host(), model_->message(), model_->path());
    return true;
  }
  if (!model_->Handles(id)) return false;
  Apply(model_->Command(id));
  return true;
}

ActiveChild ViewerWindow::State() const {
  return ActiveChild{ChildKind::Viewer, model_->mode(), model_->view() == ViewerView::Message};
}

void ViewerWindow::KeyMessage(int virtualKey) { Apply(model_->Key(virtualKey)); }

void ViewerWindow::keyPressEvent(QKeyEvent* event) {
  int code = VirtualKey(*event);
  if (code == 0 || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
    QWidget::keyPressEvent(event);
    return;
  }
  KeyMessage(code);
}

void ViewerWindow::mousePressEvent(QMouseEvent* event) {
  setFocus();
  QPoint pos = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    ShowPopup(event->globalPosition().toPoint());
  } else if (event->button() == Qt::LeftButton) {
    Apply(model_->LeftClick(pos.x(), pos.y(), lineHeight_, height()));
  }
}

void ViewerWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  QPoint pos = event->position().toPoint();
  Apply(model_->DoubleClick(pos.x(), pos.y(), lineHeight_));
}

void ViewerWindow::wheelEvent(QWheelEvent* event) {
  int steps = event->angleDelta().y() / 40;
  ScrollAction a = steps < 0 ? ScrollAction::LineDown : ScrollAction::LineUp;
  for (int i = 0; i < std::abs(steps); ++i) model_->Scroll(a, 0);
  Apply(ViewerResult{});
}

void ViewerWindow::ShowPopup(const QPoint& globalPos) {
  QMenu menu(this);
  for (const PopupItem& item : model_->PopupMenu()) {
    if (item.separator()) {
      menu.addSeparator();
      continue;
    }
    QAction* a = menu.addAction(FromSj(item.text));
    a->setData(item.id);
    a->setEnabled(item.enabled);
  }
  if (QAction* chosen = menu.exec(globalPos)) {
    int id = chosen->data().toInt();
    // Commands this window does not carry out itself go the usual way.
    if (!HandleCommand(id)) app().frame()->Dispatch(id);
  }
}

int ViewerWindow::PrintTo(QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  QFontMetrics fm(painter.font());
  PrintDevice device{printer.width(), printer.height(), printer.widthMM(), printer.heightMM(), fm.height()};
  const auto& lines = model_->message();
  int count = static_cast<int>(lines.size());
  PrintLayout layout = LayoutPrint(device, count);
  for (int page = 1; page <= layout.pages; ++page) {
    if (page > 1) printer.newPage();
    for (const auto& placed : layout.PageLines(page, count)) {
      painter.drawText(placed.x, placed.y + fm.ascent(), FromSj(lines[static_cast<size_t>(placed.line)]));
    }
  }
  painter.end();
  return layout.pages;
}

void ViewerWindow::Print() {
  QPrinter printer;
  printer.setDocName(QString::fromUtf8("発言内容の印刷"));
  QPrintDialog dialog(&printer, this);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintTo(printer);
}

void ViewerWindow::StorePlacement() {
  WinPlace& w = app().cfg().ViewerSize;
  QMdiSubWindow* sub = subWindow();
  QRect r = sub ? (sub->isMaximized() || sub->isMinimized() ? sub->normalGeometry() : sub->geometry())
                : geometry();
  if (sub) r.setSize(r.size() - (sub->size() - size()));
  w.x = r.x();
  w.y = r.y();
  w.width = r.width();
  w.height = r.height();
  w.state = static_cast<int8_t>(sub && sub->isMaximized() ? 1 : sub && sub->isMinimized() ? 2 : 0);
}

void ViewerWindow::FontChanged() {
  font_ = FontFromInfo(app().cfg().FontInfo1);
  UpdateMetrics();
  resizeEvent(nullptr);
  update();
}

QString ViewerWindow::StatusText() const { return FromSj(model_->StatusLine()); }

void ViewerWindow::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  app().frame()->SetMessage(StatusText());
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
  if (idList_) idList_->hide();
  event->accept();
}

}  // namespace rkv
