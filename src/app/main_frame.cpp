#include "app/main_frame.h"

#include <algorithm>

#include <QCloseEvent>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QToolBar>

#include "app/child_window.h"
#include "app/command_ids.h"
#include "app/main_client.h"
#include "app/text.h"
#include "app/tmy_app.h"

namespace rkv {
namespace {

QIcon BitmapIcon(int bitmap) {
  QSvgRenderer svg(QString(":/icons/b%1.svg").arg(bitmap));
  QIcon icon;
  if (!svg.isValid()) return icon;
  for (int size : {16, 24, 32}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    svg.render(&p);
    icon.addPixmap(pm);
  }
  return icon;
}

}  // namespace

MyMDIFrame::MyMDIFrame(TMyApp& app) : app_(app) {
  setObjectName("TarvoltWindow");
  setWindowTitle("RKV32");
  setWindowIcon(QIcon(":/icons/ICON_1.svg"));
  client_ = new TMainWindow(app_, this);
  setCentralWidget(client_);

  QFont barFont = font();
  barFont.setPointSize(10);
  statusBar()->setFont(barFont);
  statusBar()->setObjectName("MessageBar");
  messageLabel_ = new QLabel(statusBar());
  messageLabel_->setFont(barFont);
  statusBar()->addWidget(messageLabel_, 1);

  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName("ToolBar151");
  toolBar_->setFont(barFont);
  toolBar_->setMovable(false);
  toolBar_->setIconSize(QSize(20, 20));
  addToolBar(Qt::TopToolBarArea, toolBar_);
  BuildToolBar();

  connect(client_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
    UpdateToolBar();
    if (ChildWindow* child = client_->ActiveChildWindow()) {
      QString text = child->StatusText();
      if (!text.isNull()) SetMessage(text);
    }
    if (!sub) {
      // The closing window is still listed now; look again once it is gone.
      QMetaObject::invokeMethod(
          this, [this] {
            if (client_->subWindowList().isEmpty()) SetMessage(QString());
          },
          Qt::QueuedConnection);
    }
  });
}

MyMDIFrame::~MyMDIFrame() = default;

void MyMDIFrame::BuildToolBar() {
  for (const ToolButton& b : ToolBarButtons()) {
    if (b.command == 0) {
      toolBar_->addSeparator();
      continue;
    }
    QAction* a = toolBar_->addAction(BitmapIcon(b.bitmap), FromSj(b.hint));
    a->setData(b.command);
    a->setToolTip(FromSj(b.hint));
    a->setStatusTip(FromSj(b.hint));
    a->setObjectName(QString("tool%1").arg(b.command));
    int id = b.command;
    connect(a, &QAction::triggered, this, [this, id] { Dispatch(id); });
    toolActions_.push_back(a);
  }
  UpdateToolBar();
}

QAction* MyMDIFrame::AddAction(QMenu* menu, const MenuItem& item) {
  if (item.IsSeparator()) return menu->addSeparator();
  if (!item.submenu.empty()) {
    QMenu* sub = menu->addMenu(FromSj(item.submenu));
    for (const MenuItem& child : item.children) AddAction(sub, child);
    return sub->menuAction();
  }
  QAction* a = menu->addAction(FromSj(item.text));
  a->setData(item.id);
  if (auto hint = MenuHint(item.id)) a->setStatusTip(FromSj(*hint));
  connect(a, &QAction::triggered, this, [this, a] { Dispatch(a->data().toInt()); });
  return a;
}

void MyMDIFrame::BuildFromSettings() {
  menuBar()->clear();
  menus_.clear();
  menuActions_.clear();
  std::vector<Menu> bar = BuildMenuBar(app_.cfg());
  for (size_t i = 0; i < bar.size(); ++i) {
    QMenu* m = menuBar()->addMenu(FromSj(bar[i].title));
    std::vector<QAction*> actions;
    for (const MenuItem& item : bar[i].items) actions.push_back(AddAction(m, item));
    menus_.push_back(m);
    menuActions_.push_back(std::move(actions));
    int index = static_cast<int>(i);
    connect(m, &QMenu::aboutToShow, this, [this, index] { ApplyRules(index); });
    bool isWindowMenu = std::any_of(bar[i].items.begin(), bar[i].items.end(),
                                    [](const MenuItem& item) { return item.id == cmd::Cascade; });
    if (isWindowMenu) {
      windowMenu_ = m;
      windowList_.clear();
      connect(m, &QMenu::aboutToShow, this, &MyMDIFrame::UpdateWindowList);
    }
  }
}

void MyMDIFrame::UpdateWindowList() {
  if (!windowMenu_) return;
  for (QAction* a : windowList_) {
    windowMenu_->removeAction(a);
    a->deleteLater();
  }
  windowList_.clear();
  const QList<QMdiSubWindow*> subs = client_->subWindowList(QMdiArea::CreationOrder);
  if (subs.isEmpty()) return;
  windowList_.push_back(windowMenu_->addSeparator());
  int n = 0;
  for (QMdiSubWindow* sub : subs) {
    ++n;
    QString caption = sub->windowTitle();
    caption.replace('&', "&&");
    QAction* a = windowMenu_->addAction(n < 10 ? QString("&%1 %2").arg(n).arg(caption) : caption);
    a->setCheckable(true);
    a->setChecked(sub == client_->activeSubWindow());
    QPointer<QMdiSubWindow> target = sub;
    connect(a, &QAction::triggered, this, [this, target] {
      if (!target) return;
      if (target->isMinimized()) target->showNormal();
      client_->setActiveSubWindow(target);
    });
    windowList_.push_back(a);
  }
}

void MyMDIFrame::ApplyRules(int index) {
  std::vector<QAction*>& actions = menuActions_.at(static_cast<size_t>(index));
  std::vector<ItemState> states;
  for (QAction* a : actions) {
    states.push_back(ItemState{a->isSeparator() ? 0 : a->data().toInt(), ToSj(a->text()), a->isEnabled(),
                               a->isChecked(), a->menu() != nullptr});
  }
  ActiveChild child = client_->ActiveChildState();
  ApplyMenuRules(index, states, child, app_.cfg());
  for (size_t i = 0; i < actions.size(); ++i) {
    QAction* a = actions[i];
    if (a->isSeparator()) continue;
    a->setEnabled(states[i].enabled);
    if (states[i].checked || a->isChecked()) {
      a->setCheckable(true);
      a->setChecked(states[i].checked);
    }
    if (!a->menu()) {
      a->setData(states[i].id);
      QString text = FromSj(states[i].text);
      if (a->text() != text) a->setText(text);
    }
  }
}

void MyMDIFrame::UpdateToolBar() {
  ActiveChild child = client_->ActiveChildState();
  for (QAction* a : toolActions_) a->setEnabled(ButtonEnabled(a->data().toInt(), child));
}

QAction* MyMDIFrame::toolAction(int command) const {
  for (QAction* a : toolActions_) {
    if (a->data().toInt() == command) return a;
  }
  return nullptr;
}

void MyMDIFrame::Dispatch(int id) {
  if (ChildWindow* child = client_->ActiveChildWindow()) {
    if (child->HandleCommand(id)) return;
  }
  if (client_->Command(id)) return;
  if (id == cmd::ToolBarToggle) {
    toolBar_->setVisible(!toolBar_->isVisible());
  }
}

void MyMDIFrame::SetMessage(const QString& text) { messageLabel_->setText(text); }

QString MyMDIFrame::Message() const { return messageLabel_->text(); }

void MyMDIFrame::closeEvent(QCloseEvent* event) {
  if (client_->CanClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace rkv
