#include "app/tmy_app.h"

#include <algorithm>

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

#include "app/main_client.h"
#include "app/main_frame.h"
#include "app/text.h"
#include "divide/report_window.h"
#include "filer/filer_window.h"
#include "viewer/viewer_window.h"
#include "core/cp932.h"
#include "platform/locations.h"
#include "platform/profile.h"

// The resources live in a static library; they must be registered by name.
static void InitResources() { Q_INIT_RESOURCE(rkv); }

namespace rkv {

bool InstallQtTranslations() {
  // Every text of the program is Japanese, so the standard buttons and dialogs
  // are too, whatever the user's locale. Installed once per process.
  static const bool loaded = [] {
    // Dates and sizes in the standard dialogs read the Japanese way too.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qt", "_", dir) &&
        !translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_", dir)) {
      delete translator;
      return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
  }();
  return loaded;
}

TMyApp::TMyApp(StartArgs args) : args_(std::move(args)) {
  InitResources();
  InstallQtTranslations();
  viewerFactory = [this](int kind, const std::string& path) { return ViewerWindow::Open(*this, path, kind); };
  dividerFactory = [this](const std::string& log) { DivLogWindow::Open(*this, log); };
  filerFactory = [this](int kind, const std::string& start) { return DirWindow::Open(*this, kind, start); };
  QApplication::setApplicationName("RKV");
  settingsPath_ = locations::SettingsPath(UsesDebugSettings(args_.mode));
}

TMyApp::~TMyApp() = default;

void TMyApp::InitMainWindow() {
  BuildMainWindow();
  frame_->client()->SetupWindow();
}

void TMyApp::BuildMainWindow() {
  frame_ = std::make_unique<MyMDIFrame>(*this);
  // The data folder stands where the program's own folder stood: every
  // default directory starts there, so it must exist.
  std::string dataDir = locations::DataDir();
  MakeDirs(dataDir);
  cfg_.Load(ProfileFile(settingsPath_), dataDir);
  frame_->BuildFromSettings();
  QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                  : QRect(0, 0, 1024, 768);
  if (auto place = InitialFramePlacement(cfg_, screen.width(), screen.height())) {
    frame_->setGeometry(place->x, place->y, place->width, place->height);
  } else {
    frame_->resize(std::min(1100, screen.width()), std::min(760, screen.height()));
  }
  qtHost_.SetOwner(frame_.get());
  frame_->show();
}

int TMyApp::Run() {
  InitMainWindow();
  return QApplication::exec();
}

bool TMyApp::SaveSettings() {
  ProfileFile file(settingsPath_);
  cfg_.Save(file);
  std::string error;
  if (file.Commit(&error)) return true;
  host_->Message(SJ("設定ファイルを保存できませんでした。\n") + error, "RKV", Buttons::Ok,
                BoxIcon::Warning);
  return false;
}

}  // namespace rkv
