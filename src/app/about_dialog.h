// The "ABOUT" dialog: program name, version and icon.
#pragma once

#include <QDialog>

namespace rkv {

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent);
};

}  // namespace rkv
