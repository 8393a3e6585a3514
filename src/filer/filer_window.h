// A filer window ("RKVFiler", "RKVCnfFiler", "RKVMailFiler"): the button bar,
// the rows of the listing with marks and the cursor, its scroll bar. Keys,
// clicks, buttons and commands go to the FilerModel; the window draws what
// the model holds and passes the model's requests to the client.
#pragma once

#include <QFont>

#include <memory>
#include <string>
#include <vector>

#include "app/child_window.h"
#include "filer/filer_model.h"

class QPushButton;
class QScrollBar;

namespace rkv {

class DirWindow : public ChildWindow {
  Q_OBJECT
 public:
  DirWindow(TMyApp& app, int kind, const std::string& startPath);
  ~DirWindow() override;

  // Makes a filer of a kind, places it and adds it to the client.
  static DirWindow* Open(TMyApp& app, int kind, const std::string& startPath);

  bool HandleCommand(int id) override;
  void StorePlacement() override;
  void KeyMessage(int virtualKey) override;
  void FontChanged() override;
  void DisplaySettingsChanged() override;
  QString StatusText() const override;

  FilerModel& model() { return *model_; }
  int rowHeight() const { return rowHeight_; }
  int headerHeight() const { return headerHeight_; }
  QPushButton* button(int id) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void Apply(const FilerResult& result);
  void UpdateMetrics();
  void SyncScrollBar();
  int RowAt(int y) const;
  void ShowPopup(const QPoint& globalPos);

  std::unique_ptr<FilerModel> model_;
  std::vector<QPushButton*> buttons_;
  QScrollBar* bar_;
  QFont font_;
  int rowHeight_ = 18;
  int headerHeight_ = 28;
  int charWidth_ = 8;
  int margin_ = 11;
};

}  // namespace rkv
