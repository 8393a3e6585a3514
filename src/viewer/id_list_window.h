// The handle list ("ハンドル一覧", "RKVIdLister"): a small top-level window
// beside a viewer in ID display, one row per member, sorted by handle. A click
// tells the viewer to list that member's messages.
#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

#include "index/title_info.h"
#include "viewer/id_list.h"

class QScrollBar;

namespace rkv {

class TMyApp;
class ViewerWindow;

class IdListWindow : public QWidget {
  Q_OBJECT
 public:
  IdListWindow(TMyApp& app, ViewerWindow* viewer, const TitleInfo& titles);

  const std::vector<Person>& rows() const { return rows_; }
  const IdListView& view() const { return view_; }
  bool topmost() const { return topmost_; }
  int rowHeight() const { return rowHeight_; }
  // The pop-up commands: 390 store the placement, 391 toggle always on top.
  void Command(int id);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void PlaceBesideViewer();

  TMyApp& app_;
  QPointer<ViewerWindow> viewer_;
  std::vector<Person> rows_;
  IdListView view_;
  QScrollBar* bar_;
  bool topmost_ = true;
  int rowHeight_ = 18;
};

}  // namespace rkv
