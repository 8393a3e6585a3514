// The application object: owns the settings, the host and the main window for
// the whole run; loads the settings before the window is built and saves them
// when the window closes.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/qt_host.h"
#include "app/startup.h"
#include "settings/settings.h"

namespace rkv {

class MyMDIFrame;
class ChildWindow;

// Loads Qt's Japanese translations of its standard buttons and dialogs; false
// when they are not installed.
bool InstallQtTranslations();

class TMyApp {
 public:
  explicit TMyApp(StartArgs args);
  ~TMyApp();

  // Builds the main window (settings loaded first), shows it and runs the
  // client's set-up.
  void InitMainWindow();
  // The first half of InitMainWindow: everything before the client's set-up.
  void BuildMainWindow();
  // InitMainWindow, then the event loop until the main window closes.
  int Run();

  RKVcfg& cfg() { return cfg_; }
  Host& host() { return *host_; }
  // Tests answer the program's questions through a host of their own.
  void UseHost(Host& host) { host_ = &host; }
  const StartArgs& args() const { return args_; }
  MyMDIFrame* frame() { return frame_.get(); }
  const std::string& settingsPath() const { return settingsPath_; }

  // Makers of the child windows: a viewer for a file of a kind, a filer of a
  // kind on a start path, a division report window for a log.
  std::function<ChildWindow*(int fileKind, const std::string& path)> viewerFactory;
  std::function<ChildWindow*(int filerKind, const std::string& startPath)> filerFactory;
  std::function<void(const std::string& logPath)> dividerFactory;

  // Writes every setting to the settings file of the start mode; tells the
  // user when the file could not be written.
  bool SaveSettings();

 private:
  StartArgs args_;
  RKVcfg cfg_;
  QtHost qtHost_;
  Host* host_ = &qtHost_;
  std::string settingsPath_;
  std::unique_ptr<MyMDIFrame> frame_;
};

}  // namespace rkv
