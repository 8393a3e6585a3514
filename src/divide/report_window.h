// The division report window ("RKVDivider"): the division runs while the
// window is set up; afterwards the window lists the report, or closes itself
// when there is nothing to show or the report is not wanted.
#pragma once

#include <memory>
#include <string>

#include "app/child_window.h"
#include "core/scrolled_list.h"
#include "divide/division.h"

class QScrollBar;

namespace rkv {

class DivLogWindow : public ChildWindow {
  Q_OBJECT
 public:
  DivLogWindow(TMyApp& app, std::string logPath);
  ~DivLogWindow() override;

  // Checks the destinations and runs the division. True when the window is to
  // stay and show the report; false when it closes by itself.
  bool Setup();
  // While the division runs: how far it has got (shown in the window).
  bool dividing() const { return dividing_; }
  const DivProgress& progress() const { return progress_; }

  bool HandleCommand(int id) override;
  const DivLog& run() const { return *run_; }
  const ScrolledList& view() const { return view_; }
  QScrollBar* scrollBar() const { return bar_; }
  int lineHeight() const { return lineHeight_; }

  // Makes the window and runs the division in it; adds it to the client when
  // it stays. Returns the window, or nothing when it closed.
  static DivLogWindow* Open(TMyApp& app, const std::string& logPath);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  bool Divide();
  void ShowProgress(const DivProgress& progress);
  void Place();

  std::unique_ptr<DivLog> run_;
  DivProgress progress_;
  bool dividing_ = false;
  ScrolledList view_;
  QScrollBar* bar_;
  int lineHeight_ = 18;
};

}  // namespace rkv
