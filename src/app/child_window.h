// The base of every MDI child (viewers, filers, the division report): its
// class name tells its kind, it answers commands by id and the program's own
// messages, and it tells the frame when its state changes.
#pragma once

#include <QPointer>
#include <QWidget>

#include <string>

#include "app/menu_model.h"

class QMdiSubWindow;

namespace rkv {

class TMyApp;

class ChildWindow : public QWidget {
  Q_OBJECT
 public:
  ChildWindow(TMyApp& app, std::string className, QWidget* parent = nullptr);

  const std::string& className() const { return className_; }
  ChildKind kind() const { return KindFromClassName(className_); }

  // A command by id, from the menu, the tool bar, a key or a pop-up menu;
  // false when this window does not handle it.
  virtual bool HandleCommand(int id) { return false; }
  // What the frame's enabling rules need to know.
  virtual ActiveChild State() const { return ActiveChild{kind()}; }
  // Store the placement into this kind's size record.
  virtual void StorePlacement() {}
  // A key forwarded as its virtual-key code.
  virtual void KeyMessage(int virtualKey) {}
  // The font settings changed.
  virtual void FontChanged() {}
  // The filer display settings changed.
  virtual void DisplaySettingsChanged() {}
  // Text for the frame's message bar when this window becomes active.
  virtual QString StatusText() const { return QString(); }

  // Runs the command later, as a posted message would.
  void PostCommand(int id);
  // Closes the window's MDI frame later.
  void PostClose();
  QMdiSubWindow* subWindow() const;
  TMyApp& app() const { return app_; }

 signals:
  // The display mode, the view or the selection changed.
  void stateChanged();

 private:
  TMyApp& app_;
  std::string className_;
};

}  // namespace rkv
