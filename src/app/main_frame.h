// The main window: an MDI frame with the tool bar at the top, the message bar
// at the bottom and the MDI client between them. It builds the menus and the
// tool bar from the menu model, applies the enabling rules when a menu opens
// and routes every command: the active child first, then the client, then
// itself.
#pragma once

#include <QMainWindow>

#include <vector>

#include "app/menu_model.h"

class QLabel;

namespace rkv {

class TMyApp;
class TMainWindow;

class MyMDIFrame : public QMainWindow {
  Q_OBJECT
 public:
  explicit MyMDIFrame(TMyApp& app);
  ~MyMDIFrame() override;

  // Builds the menu bar (it shows the registered conference names, so it waits
  // for the settings).
  void BuildFromSettings();

  TMainWindow* client() const { return client_; }
  QToolBar* toolBar() const { return toolBar_; }
  // The text of the message bar (filers and viewers write their status here).
  void SetMessage(const QString& text);
  QString Message() const;

  // Routes a command: the active child, then the client, then the frame.
  void Dispatch(int id);
  // The menu of the given index (File 0 ... Help 7) and its top-level actions.
  QMenu* menu(int index) const { return menus_.at(static_cast<size_t>(index)); }
  const std::vector<QAction*>& menuActions(int index) const {
    return menuActions_.at(static_cast<size_t>(index));
  }
  // Applies the enabling rules to a menu as when it opens.
  void ApplyRules(int index);
  // Re-enables the tool bar buttons for the active child.
  void UpdateToolBar();
  QAction* toolAction(int command) const;
  // The Window menu's list of open children, rebuilt each time it opens.
  const std::vector<QAction*>& windowListActions() const { return windowList_; }
  void UpdateWindowList();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildToolBar();
  QAction* AddAction(QMenu* menu, const MenuItem& item);

  TMyApp& app_;
  TMainWindow* client_;
  QToolBar* toolBar_;
  QLabel* messageLabel_;
  std::vector<QMenu*> menus_;
  std::vector<std::vector<QAction*>> menuActions_;
  std::vector<QAction*> toolActions_;
  QMenu* windowMenu_ = nullptr;
  std::vector<QAction*> windowList_;
};

}  // namespace rkv
