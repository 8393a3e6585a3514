// The font dialog of the viewer and filer fonts: it offers only faces whose
// half-width and full-width characters keep a 1:2 grid, since every column of
// the title lists and filer rows counts bytes.
#pragma once

#include <QDialog>
#include <QFont>

#include <optional>

class QLabel;
class QListWidget;
class QSpinBox;

namespace rkv {

class FontChooserDialog : public QDialog {
  Q_OBJECT
 public:
  FontChooserDialog(const QFont& current, QWidget* parent);

  // The chosen face at the chosen pixel height, upright and of normal weight.
  QFont selectedFont() const;
  QListWidget* familyList() const { return families_; }
  QSpinBox* sizeBox() const { return size_; }

 private:
  void UpdateSample();

  QListWidget* families_;
  QSpinBox* size_;
  QLabel* sample_;
};

// Runs the dialog; nothing when cancelled.
std::optional<QFont> ChooseGridFont(const QFont& current, QWidget* parent);

}  // namespace rkv
