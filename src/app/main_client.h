// The MDI client: carries the program's top-level commands (opening viewers,
// filers and the division window, forwarding to the active child) and the
// start-up and shutdown steps.
#pragma once

#include <QMdiArea>

namespace rkv {

class TMyApp;

class TMainWindow : public QMdiArea {
  Q_OBJECT
 public:
  TMainWindow(TMyApp& app, QWidget* parent);

  // Start-up once the window exists: the title by start mode, the argument
  // file's opening posted, then the auto-start filer commands sent in order.
  void SetupWindow();
  // Shutdown: stores the frame placement and writes every setting. Never refuses.
  bool CanClose();

  // Runs a command of the client; false when the client does not handle it.
  bool Command(int id);

 signals:
  // Every command the client receives, in order (for the status of start-up).
  void commandReceived(int id);

 public slots:
  // WM_USER+1: open the start-up argument file in a viewer as a log.
  void OpenStartupFile();

 private:
  TMyApp& app_;
};

}  // namespace rkv
