// The main window: an MDI frame with the tool bar at the top, the message bar
// at the bottom and the MDI client between them.
#pragma once

#include <QMainWindow>

namespace rkv {

class TMyApp;
class TMainWindow;

class MyMDIFrame : public QMainWindow {
  Q_OBJECT
 public:
  explicit MyMDIFrame(TMyApp& app);
  ~MyMDIFrame() override;

  // The parts that depend on the loaded settings (menus from registered names).
  void BuildFromSettings();

  TMainWindow* client() const { return client_; }
  QToolBar* toolBar() const { return toolBar_; }
  // Text for the message bar (filers and viewers write their status here).
  void SetMessage(const QString& text);
  QString Message() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  TMyApp& app_;
  TMainWindow* client_;
  QToolBar* toolBar_;
};

}  // namespace rkv
