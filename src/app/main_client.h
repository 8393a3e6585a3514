// The MDI client: carries the program's top-level commands (opening viewers,
// filers and the division window, forwarding to the active child, the tools,
// colours, fonts and help) and the start-up and shutdown steps.
#pragma once

#include <QMdiArea>

#include <string>

#include "app/menu_model.h"
#include "core/kinds.h"

namespace rkv {

class TMyApp;
class ChildWindow;


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

  ChildWindow* ActiveChildWindow() const;
  ActiveChild ActiveChildState() const;
  // Every child window, in creation order.
  QList<ChildWindow*> Children() const;

  // Puts a child window into the MDI area and shows it.
  void AddChild(ChildWindow* child);
  // Moves a child that reaches past the client's right or bottom edge back
  // inside, as far as it fits.
  void KeepInside(ChildWindow* child);
  // Opens a viewer for a file (CreateChild).
  ChildWindow* OpenViewer(int fileKind, const std::string& path);
  ChildWindow* OpenFiler(int filerKind, const std::string& startPath);
  // Divides a log in a report window.
  void DivideFile(const std::string& path);

 signals:
  // Every command the client receives, in order.
  void commandReceived(int id);

 public slots:
  // WM_USER+1: open the start-up argument file in a viewer as a log.
  void OpenStartupFile();
  // WM_USER+4: open every file of the hand-off area with that kind.
  void OpenHandOffFiles(int fileKind);
  // WM_USER+5: divide the hand-off area's file, then let the active child reread.
  void DivideHandOffFile();

 private:
  bool OpenByDialog(int dialogIndex, int fileKind);
  void RunTool(int id);
  // The settings dialogs of the Options menu; false for any other command.
  bool OpenSettingsDialog(int id);
  void SaveChildSizes();
  void ChooseColour(int id);
  void ChooseFont(int id);
  void ShowHelp();
  void ShowAbout();

  TMyApp& app_;
};

}  // namespace rkv
