#include "filer/filer_window.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include "app/command_ids.h"
#include "app/fonts.h"
#include "app/keys.h"
#include "app/main_client.h"
#include "app/main_frame.h"
#include "app/text.h"
#include "app/tmy_app.h"
#include "filer/filer_commands.h"
#include "filer/filer_placement.h"

namespace rkv {
namespace {

constexpr int kBarWidth = 18;
constexpr int kMarkZone = 30;

const char* ClassNameOf(int kind) {
  if (kind == 1) return "RKVCnfFiler";
  if (kind == 2) return "RKVMailFiler";
  return "RKVFiler";
}

struct ButtonSpec {
  int id;
  const char* label;
  int x;
  int width;
};
const ButtonSpec kButtons[] = {{101, "Log ", 4, 42},  {102, "Name", 48, 44},  {103, "Ext ", 94, 42},
                               {104, "Date", 138, 42}, {105, "Mask", 182, 42}, {106, "選択", 226, 42},
                               {107, "再読", 270, 42}};

}  // namespace

DirWindow::DirWindow(TMyApp& app, int kind, const std::string& startPath)
    : ChildWindow(app, ClassNameOf(kind)),
      model_(std::make_unique<FilerModel>(kind, app.cfg(), app.host(), startPath)) {
  setWindowIcon(QIcon(":/icons/ICON_2.svg"));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  QFont small = QApplication::font();
  for (const ButtonSpec& b : kButtons) {
    auto* button = new QPushButton(QString::fromUtf8(b.label), this);
    button->setObjectName(QString("Button%1").arg(b.id));
    button->setFocusPolicy(Qt::NoFocus);
    button->setFont(small);
    int id = b.id;
    connect(button, &QPushButton::clicked, this, [this, id] { Apply(model_->Button(id)); });
    buttons_.push_back(button);
  }
  bar_ = new QScrollBar(Qt::Vertical, this);
  bar_->setFocusPolicy(Qt::NoFocus);
  connect(bar_, &QScrollBar::actionTriggered, this, [this](int action) {
    if (action == QAbstractSlider::SliderMove) return;  // the page moves when the thumb is released
    Apply(model_->ScrollTo(bar_->sliderPosition()));
  });
  connect(bar_, &QScrollBar::sliderReleased, this, [this] { Apply(model_->ScrollTo(bar_->sliderPosition())); });
  font_ = FontFromInfo(app.cfg().FontInfo2);
  UpdateMetrics();
  setWindowTitle(QtPath(model_->Title()));
}

DirWindow::~DirWindow() = default;

DirWindow* DirWindow::Open(TMyApp& app, int kind, const std::string& startPath) {
  auto* window = new DirWindow(app, kind, startPath);
  TMainWindow* client = app.frame()->client();
  int sameKind = 0;
  for (ChildWindow* c : client->Children()) sameKind += c->className() == window->className() ? 1 : 0;
  int filers = 0;
  for (ChildWindow* c : client->Children()) filers += c->kind() == ChildKind::Filer ? 1 : 0;
  client->AddChild(window);
  QMdiSubWindow* sub = window->subWindow();
  // The frame's borders come on top of the client area the placement speaks of.
  QSize frameExtra = sub->size() - window->size();
  FilerMetrics m{window->charWidth_, window->rowHeight_, window->headerHeight_, window->margin_,
                 frameExtra.width(), frameExtra.height()};
  QSize area = client->viewport()->size();
  FilerPlacement p = InitialFilerPlacement(app.cfg(), kind, m, sameKind, {area.width(), area.height(), filers});
  sub->resize(p.width + frameExtra.width(), p.height + frameExtra.height());
  if (p.x >= 0) sub->move(p.x, p.y);
  if (p.state == 1) sub->showMaximized();
  if (p.state == 2) sub->showMinimized();
  if (!app.cfg().SaveChildWinSize) client->KeepInside(window);
  window->setFocus();
  return window;
}

void DirWindow::UpdateMetrics() {
  QFontMetrics fm(font_);
  charWidth_ = CellWidth(font_);
  rowHeight_ = fm.height() + app().cfg().LinePitch;
  headerHeight_ = QFontMetrics(QApplication::font()).height() + 12;
  margin_ = charWidth_ + 2;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i]->setGeometry(kButtons[i].x, 1, kButtons[i].width, headerHeight_ - 2);
  }
}

QPushButton* DirWindow::button(int id) const {
  for (QPushButton* b : buttons_) {
    if (b->objectName() == QString("Button%1").arg(id)) return b;
  }
  return nullptr;
}

void DirWindow::resizeEvent(QResizeEvent*) {
  int area = height() - headerHeight_;
  if (area < 0) area = 0;
  int whole = area / rowHeight_;
  int partial = (area + rowHeight_ - 1) / rowHeight_;
  model_->SetPageRows(whole, partial);
  bar_->setGeometry(width() - kBarWidth, headerHeight_, kBarWidth, area);
  SyncScrollBar();
  update();
}

void DirWindow::SyncScrollBar() {
  int count = model_->count();
  bar_->setRange(0, count > 0 ? count - 1 : 0);
  bar_->setPageStep(model_->pageRows() > 0 ? model_->pageRows() : 1);
  bar_->setValue(model_->top());
}

void DirWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QColor back = ColorFromRef(app().cfg().FilerBackColor);
  p.fillRect(rect(), back);
  p.fillRect(QRect(0, 0, width(), headerHeight_), palette().window());
  p.setFont(font_);
  int textRight = width() - kBarWidth;
  int y = headerHeight_;
  const FilerModel& m = *model_;
  for (int i = m.top(); i < m.count() && i < m.top() + m.visibleRows(); ++i, y += rowHeight_) {
    QRect row(margin_, y, textRight - margin_, rowHeight_);
    bool isCursor = i == m.cursor();
    if (isCursor) p.fillRect(row, palette().highlight());
    if (m.IsMarked(i)) p.fillRect(QRect(1, y + 1, margin_ - 3, rowHeight_ - 2), Qt::black);
    p.setPen(isCursor ? palette().highlightedText().color() : QColor(Qt::black));
    p.drawText(row.adjusted(0, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               FromSj(m.RowText(i)));
  }
}

void DirWindow::Apply(const FilerResult& r) {
  if (r.titleChanged) setWindowTitle(QtPath(model_->Title()));
  if (r.statusChanged || r.titleChanged) app().frame()->SetMessage(StatusText());
  TMainWindow* client = app().frame()->client();
  switch (r.request) {
    case FilerRequest::OpenViewers: {
      int fileKind = r.fileKind;
      QMetaObject::invokeMethod(client, [client, fileKind] { client->OpenHandOffFiles(fileKind); },
                                Qt::QueuedConnection);
      break;
    }
    case FilerRequest::Divide:
      QMetaObject::invokeMethod(client, "DivideHandOffFile", Qt::QueuedConnection);
      break;
    case FilerRequest::Close:
      PostClose();
      break;
    case FilerRequest::None:
      break;
  }
  SyncScrollBar();
  update();
}

bool DirWindow::HandleCommand(int id) {
  FilerResult r = model_->Command(id);
  if (!r.handled) return false;
  Apply(r);
  return true;
}

void DirWindow::KeyMessage(int virtualKey) { Apply(model_->Key(virtualKey)); }

void DirWindow::keyPressEvent(QKeyEvent* event) {
  int code = VirtualKey(*event);
  if (code == 0 || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
    QWidget::keyPressEvent(event);
    return;
  }
  KeyMessage(code);
}

int DirWindow::RowAt(int y) const { return (y - headerHeight_) / rowHeight_; }

void DirWindow::mousePressEvent(QMouseEvent* event) {
  setFocus();
  QPoint pos = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    ShowPopup(event->globalPosition().toPoint());
    return;
  }
  if (event->button() != Qt::LeftButton || pos.y() < headerHeight_) return;
  Apply(model_->Click(RowAt(pos.y()), pos.x() < kMarkZone));
}

void DirWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  QPoint pos = event->position().toPoint();
  if (event->button() != Qt::LeftButton || pos.y() < headerHeight_) return;
  Apply(model_->DoubleClick(RowAt(pos.y())));
}

void DirWindow::wheelEvent(QWheelEvent* event) {
  int steps = event->angleDelta().y() / 120;
  Apply(model_->ScrollTo(model_->top() - steps * 3));
}

void DirWindow::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  app().frame()->SetMessage(StatusText());
}

void DirWindow::ShowPopup(const QPoint& globalPos) {
  QMenu menu(this);
  for (const FilerMenuItem& item : model_->PopupMenu()) {
    if (item.separator()) {
      menu.addSeparator();
    } else {
      menu.addAction(FromSj(item.text))->setData(item.id);
    }
  }
  if (QAction* chosen = menu.exec(globalPos)) HandleCommand(chosen->data().toInt());
}

void DirWindow::StorePlacement() {
  WinPlace& w = FilerSizeRecord(app().cfg(), model_->kind());
  QMdiSubWindow* sub = subWindow();
  QRect r = sub ? (sub->isMaximized() || sub->isMinimized() ? sub->normalGeometry() : sub->geometry())
                : geometry();
  if (sub) r.setSize(r.size() - (sub->size() - size()));  // the client area, as placements are stored
  w.x = r.x();
  w.y = r.y();
  w.width = r.width();
  w.height = r.height();
  w.state = static_cast<int8_t>(sub && sub->isMaximized() ? 1 : sub && sub->isMinimized() ? 2 : 0);
}

void DirWindow::FontChanged() {
  font_ = FontFromInfo(app().cfg().FontInfo2);
  UpdateMetrics();
  resizeEvent(nullptr);
}

void DirWindow::DisplaySettingsChanged() { Apply(model_->DisplaySettingsChanged()); }

QString DirWindow::StatusText() const { return FromSj(model_->StatusLine()); }

}  // namespace rkv
