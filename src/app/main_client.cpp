#include "app/main_client.h"

#include <algorithm>
#include <functional>

#include <QColorDialog>
#include <QEvent>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>

#include "app/about_dialog.h"
#include "app/child_window.h"
#include "app/command_ids.h"
#include "app/font_chooser.h"
#include "app/fonts.h"
#include "app/help_window.h"
#include "app/main_frame.h"
#include "app/open_dialogs.h"
#include "app/text.h"
#include "app/tmy_app.h"
#include "core/command_line.h"
#include "core/cp932.h"
#include "core/handoff.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "settings/settings_dialog.h"

namespace rkv {

TMainWindow::TMainWindow(TMyApp& app, QWidget* parent) : QMdiArea(parent), app_(app) {
  setObjectName("MDIClient");
}

void TMainWindow::SetupWindow() {
  app_.frame()->setWindowTitle(FromSj(MainTitle(app_.args().mode)));
  if (app_.args().openArgument) {
    QMetaObject::invokeMethod(this, "OpenStartupFile", Qt::QueuedConnection);
  }
  // Sent, not posted: the filers exist before the argument file's viewer opens.
  const RKVcfg& cfg = app_.cfg();
  if (cfg.FilerAutoStart) Command(cmd::LogFiler);
  if (cfg.MailFilerAutoStart) Command(cmd::MailFiler);
  if (cfg.CnfFilerAutoStart) Command(cmd::ConferenceFiler);
}

bool TMainWindow::CanClose() {
  QMainWindow* frame = app_.frame();
  // A maximised or minimised frame stores its last normal placement.
  QRect r = frame->isMaximized() || frame->isMinimized() ? frame->normalGeometry() : frame->geometry();
  StoreFramePlacement(app_.cfg(), FrameRect{r.x(), r.y(), r.width(), r.height()});
  app_.SaveSettings();
  return true;
}

ChildWindow* TMainWindow::ActiveChildWindow() const {
  QMdiSubWindow* sub = currentSubWindow();
  return sub ? qobject_cast<ChildWindow*>(sub->widget()) : nullptr;
}

ActiveChild TMainWindow::ActiveChildState() const {
  ChildWindow* child = ActiveChildWindow();
  return child ? child->State() : ActiveChild{};
}

QList<ChildWindow*> TMainWindow::Children() const {
  QList<ChildWindow*> out;
  for (QMdiSubWindow* sub : subWindowList(QMdiArea::CreationOrder)) {
    if (auto* child = qobject_cast<ChildWindow*>(sub->widget())) out << child;
  }
  return out;
}

void TMainWindow::AddChild(ChildWindow* child) {
  QMdiSubWindow* sub = addSubWindow(child);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(child->windowIcon());
  connect(child, &ChildWindow::stateChanged, app_.frame(), &MyMDIFrame::UpdateToolBar);
  child->show();
  setActiveSubWindow(sub);
  app_.frame()->UpdateToolBar();
}

void TMainWindow::KeepInside(ChildWindow* child) {
  QMdiSubWindow* sub = child->subWindow();
  if (!sub || sub->isMaximized() || sub->isMinimized()) return;
  QSize area = viewport()->size();
  QRect r = sub->geometry();
  int x = std::max(0, std::min(r.x(), area.width() - r.width()));
  int y = std::max(0, std::min(r.y(), area.height() - r.height()));
  if (x != r.x() || y != r.y()) sub->move(x, y);
}

namespace {

// Calls back when a watched window gets its close event.
class CloseWatcher : public QObject {
 public:
  CloseWatcher(QObject* watched, std::function<void()> onClose) : QObject(watched), onClose_(std::move(onClose)) {
    watched->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Close) onClose_();
    return false;
  }

 private:
  std::function<void()> onClose_;
};

}  // namespace

ChildWindow* TMainWindow::OpenViewer(int fileKind, const std::string& path) {
  int viewers = 0;
  for (ChildWindow* c : Children()) viewers += c->kind() == ChildKind::Viewer ? 1 : 0;
  app_.cfg().ViewerSize.reserved = static_cast<int8_t>(viewers > 127 ? 127 : viewers);
  if (!app_.viewerFactory) return nullptr;
  QPointer<QMdiSubWindow> opener = currentSubWindow();
  ChildWindow* viewer = app_.viewerFactory(fileKind, path);
  QMdiSubWindow* sub = viewer ? viewer->subWindow() : nullptr;
  if (!sub || !opener || opener == sub) return viewer;
  // Closing the viewer while it is active hands the focus back to the window
  // that opened it, not to whichever child was active before that.
  // Done before the close, so the MDI area has no other window to pick.
  new CloseWatcher(sub, [this, sub, opener] {
    if (currentSubWindow() == sub && opener && opener->isVisible()) setActiveSubWindow(opener);
  });
  return viewer;
}

ChildWindow* TMainWindow::OpenFiler(int filerKind, const std::string& startPath) {
  if (!app_.filerFactory) return nullptr;
  return app_.filerFactory(filerKind, startPath);
}

void TMainWindow::DivideFile(const std::string& path) {
  if (!app_.dividerFactory) return;
  WaitCursor wait(app_.host());
  app_.dividerFactory(path);
}

bool TMainWindow::OpenByDialog(int dialogIndex, int fileKind) {
  std::optional<std::string> path = app_.host().AskOpenFile(OpenFileDialogRequest(app_.cfg(), dialogIndex));
  if (!path) return false;
  OpenViewer(fileKind, *path);
  return true;
}

bool TMainWindow::Command(int id) {
  emit commandReceived(id);
  RKVcfg& cfg = app_.cfg();
  if (std::optional<int> childId = ForwardedId(id)) {
    if (ChildWindow* child = ActiveChildWindow()) child->PostCommand(*childId);
    return true;
  }
  if (id >= cmd::RegisteredConference1 && id < cmd::RegisteredConference1 + 5) {
    OpenViewer(kConferenceFile, cfg.CnfName[static_cast<size_t>(id - cmd::RegisteredConference1)]);
    return true;
  }
  if (id >= cmd::ToolsEditor && id <= cmd::ToolsProgram1 + 7) {
    RunTool(id);
    return true;
  }
  if (OpenSettingsDialog(id)) return true;
  switch (id) {
    case cmd::OpenLog:
      OpenByDialog(0, kLogFile);
      return true;
    case cmd::OpenConference:
      OpenByDialog(1, kConferenceFile);
      return true;
    case cmd::OpenMail:
      OpenByDialog(2, kMailFile);
      return true;
    case cmd::DivideLog:
      if (auto path = app_.host().AskOpenFile(OpenFileDialogRequest(cfg, 0))) DivideFile(*path);
      return true;
    case cmd::LogFiler:
      OpenFiler(kLogFiler, ListEntry(cfg.LogDir, 0).value_or(""));
      return true;
    case cmd::MailFiler:
      OpenFiler(kMailFiler, ListEntry(cfg.MailDir, 0).value_or(""));
      return true;
    case cmd::ConferenceFiler:
      OpenFiler(kCnfFiler, ListEntry(cfg.CnfDir, 0).value_or(""));
      return true;
    case cmd::Exit:
      app_.frame()->close();
      return true;
    case cmd::SaveChildSizes:
      SaveChildSizes();
      return true;
    case cmd::OptBackColor:
    case cmd::OptFilerBackColor:
      ChooseColour(id);
      return true;
    case cmd::OptFont:
    case cmd::OptFilerFont:
      ChooseFont(id);
      return true;
    case cmd::Cascade:
      cascadeSubWindows();
      return true;
    case cmd::Tile:
      tileSubWindows();
      return true;
    case cmd::ArrangeIcons: {
      // Minimised children line up along the bottom edge.
      int x = 0;
      for (QMdiSubWindow* sub : subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized()) continue;
        sub->move(x, viewport()->height() - sub->height());
        x += sub->width();
      }
      return true;
    }
    case cmd::CloseAll:
      closeAllSubWindows();
      return true;
    case cmd::HelpContents:
      ShowHelp();
      return true;
    case cmd::About:
      ShowAbout();
      return true;
    default:
      return false;
  }
}

void TMainWindow::RunTool(int id) {
  int n = id - cmd::ToolsEditor;  // 0 editor, 1-8 programs
  if (ChildWindow* child = ActiveChildWindow()) {
    bool filer = child->className().substr(0, 20).find("Filer") != std::string::npos;
    child->PostCommand(filer ? cmd::FEditor + n : (n == 0 ? cmd::VEditorJump : cmd::VProgram1 + n - 1));
    return;
  }
  const RKVcfg& cfg = app_.cfg();
  if (n == 0) {
    app_.host().Launch(FirstWord(cfg.Editor));
    return;
  }
  // No file and no number: every placeholder gives nothing.
  LaunchOrTell(app_.host(),
               ProgramCommandLine(cfg.Prg[static_cast<size_t>(n - 1)], std::nullopt, 0, kToolsCommandBytes),
               SJ("プログラム実行失敗"), SJ("外部プログラム"));
}

void TMainWindow::SaveChildSizes() {
  Host& host = app_.host();
  const std::string& caption = SJ("子ウィンドウサイズ保存");
  if (host.Message(SJ("ファイラー、メールファイラー、会議室ファイラー\n閲覧ウィンドウのサイズと位置を記憶します"),
                   caption, Buttons::YesNo) != Answer::Yes) {
    return;
  }
  int counted = 0;
  for (ChildWindow* child : Children()) {
    child->StorePlacement();
    if (child->kind() == ChildKind::Filer || child->kind() == ChildKind::Viewer) ++counted;
  }
  host.Message(counted ? SJ("ウィンドウサイズを記憶しました") : SJ("記憶対象の子ウィンドウがありません"), caption,
               Buttons::Ok);
}

void TMainWindow::ChooseColour(int id) {
  RKVcfg& cfg = app_.cfg();
  int& setting = id == cmd::OptBackColor ? cfg.BackColor : cfg.FilerBackColor;
  const QColor custom[] = {ColorFromRef(cfg.BackColor), ColorFromRef(cfg.FilerBackColor), QColor(255, 251, 240),
                           QColor(192, 220, 192),       QColor(166, 202, 240),          QColor(164, 200, 240)};
  for (int i = 0; i < QColorDialog::customCount(); ++i) {
    QColorDialog::setCustomColor(i, i < 6 ? custom[i] : QColor(Qt::white));
  }
  QColorDialog dialog(ColorFromRef(setting), this);
  dialog.setOption(QColorDialog::DontUseNativeDialog, true);
  if (dialog.exec() == QDialog::Accepted) setting = RefFromColor(dialog.selectedColor());
  for (ChildWindow* child : Children()) child->update();
}

void TMainWindow::ChooseFont(int id) {
  RKVcfg& cfg = app_.cfg();
  FontInfo& setting = id == cmd::OptFont ? cfg.FontInfo1 : cfg.FontInfo2;
  if (std::optional<QFont> chosen = ChooseGridFont(FontFromInfo(setting), this)) setting = InfoFromFont(*chosen);
  for (ChildWindow* child : Children()) child->FontChanged();
}

bool TMainWindow::OpenSettingsDialog(int id) {
  std::optional<SettingsDialogResult> result = RunSettingsDialog(id, app_.cfg(), app_.host(), this);
  if (!result) return false;
  if (!result->accepted) return true;
  // Written at once as well as at exit, so a crash loses nothing the user set.
  app_.SaveSettings();
  if (result->filerDisplayChanged) {
    for (ChildWindow* child : Children()) child->DisplaySettingsChanged();
  }
  return true;
}

void TMainWindow::ShowHelp() { HelpWindow::Show(this); }

void TMainWindow::ShowAbout() {
  AboutDialog dialog(this);
  dialog.exec();
}

void TMainWindow::OpenStartupFile() {
  emit commandReceived(1025);
  OpenViewer(kLogFile, app_.args().argumentPath);
}

void TMainWindow::OpenHandOffFiles(int fileKind) {
  const FileHandOff area = HandOffArea();
  for (int i = 0; i < area.count && i < 6; ++i) {
    OpenViewer(fileKind, PathJoin(area.directory, area.names[static_cast<size_t>(i)]));
  }
}

void TMainWindow::DivideHandOffFile() {
  QPointer<ChildWindow> active = ActiveChildWindow();
  const FileHandOff& area = HandOffArea();
  if (area.count < 1) return;
  DivideFile(PathJoin(area.directory, area.names[0]));
  if (active) active->PostCommand(cmd::FReload);
}

}  // namespace rkv
