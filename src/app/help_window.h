// The help window: the program's help document, opened at its contents.
#pragma once

#include <QTextBrowser>

namespace rkv {

class HelpWindow : public QTextBrowser {
  Q_OBJECT
 public:
  // Shows the one help window (made on first use) at the contents.
  static HelpWindow* Show(QWidget* owner);

 private:
  explicit HelpWindow(QWidget* owner);
};

}  // namespace rkv
