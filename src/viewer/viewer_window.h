// The viewer window ("RKVViewer"): the title list and the message view of one
// split file. It draws what the ViewerModel holds and forwards keys, clicks,
// scrolling and commands to it.
#pragma once

#include <QFont>
#include <QPointer>

#include <memory>
#include <string>

#include "app/child_window.h"
#include "viewer/id_list_window.h"
#include "viewer/viewer_model.h"

class QScrollBar;
class QPrinter;

namespace rkv {

class IdListWindow;

class ViewerWindow : public ChildWindow {
  Q_OBJECT
 public:
  ViewerWindow(TMyApp& app, const std::string& path, int fileKind);
  ~ViewerWindow() override;

  // Makes a viewer, loads its titles and adds it to the client; nothing when
  // the file has no titles (the user has been told).
  static ViewerWindow* Open(TMyApp& app, const std::string& path, int fileKind);

  bool HandleCommand(int id) override;
  ActiveChild State() const override;
  void StorePlacement() override;
  void KeyMessage(int virtualKey) override;
  void FontChanged() override;
  QString StatusText() const override;

  ViewerModel& model() { return *model_; }
  int lineHeight() const { return lineHeight_; }
  int textOrigin() const { return textOrigin_; }
  QScrollBar* scrollBar() const { return bar_; }
  IdListWindow* idList() const { return idList_; }
  // Prints the message buffer on a printer that is already set up; returns
  // the number of pages.
  int PrintTo(QPrinter& printer);

 public slots:
  // The ID list window chose a member (by the title index of its first message).
  void ChooseHandle(int titleIndex);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void Apply(const ViewerResult& result);
  void UpdateMetrics();
  void SyncScrollBar();
  void SyncIdList();
  void ShowPopup(const QPoint& globalPos);
  void Print();
  int TextWidth() const;

  std::unique_ptr<ViewerModel> model_;
  QScrollBar* bar_;
  QPointer<IdListWindow> idList_;
  QFont font_;
  int lineHeight_ = 18;
  int charWidth_ = 8;
  int textOrigin_ = 11;
  int lastMode_ = 0;
  ViewerView lastView_ = ViewerView::TitleList;
};

}  // namespace rkv
