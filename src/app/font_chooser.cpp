#include "app/font_chooser.h"

#include <QDialogButtonBox>
#include <QFontInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>

#include "app/fonts.h"

namespace rkv {

FontChooserDialog::FontChooserDialog(const QFont& current, QWidget* parent) : QDialog(parent) {
  setObjectName("FontChooser");
  setWindowTitle(QString::fromUtf8("フォントの選択"));
  auto* layout = new QGridLayout(this);
  auto* familyLabel = new QLabel(QString::fromUtf8("フォント(&F):"), this);
  families_ = new QListWidget(this);
  families_->setObjectName("Families");
  familyLabel->setBuddy(families_);
  auto* sizeLabel = new QLabel(QString::fromUtf8("文字の高さ(&S):"), this);
  size_ = new QSpinBox(this);
  size_->setObjectName("PixelHeight");
  size_->setRange(8, 72);
  size_->setSuffix(QString::fromUtf8(" ピクセル"));
  sizeLabel->setBuddy(size_);
  sample_ = new QLabel(this);
  sample_->setObjectName("Sample");
  sample_->setText(QString::fromUtf8("No. 301/305   ABC12345  ゆうき　今月の新刊\n0123456789 ｱｲｳｴｵ あいうえお 漢字"));
  sample_->setFrameShape(QFrame::StyledPanel);
  sample_->setMinimumHeight(72);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  layout->addWidget(familyLabel, 0, 0);
  layout->addWidget(sizeLabel, 0, 1);
  layout->addWidget(families_, 1, 0, 2, 1);
  layout->addWidget(size_, 1, 1, Qt::AlignTop);
  layout->addWidget(new QLabel(QString::fromUtf8("見本:"), this), 3, 0, 1, 2);
  layout->addWidget(sample_, 4, 0, 1, 2);
  layout->addWidget(buttons, 5, 0, 1, 2);
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(2, 1);

  // The face in use is offered even when it does not keep the grid, so the
  // dialog always opens on it.
  const QString inUse = QFontInfo(current).family();
  QStringList names = GridFontFamilies();
  if (!names.contains(inUse)) names.prepend(inUse);
  families_->addItems(names);
  families_->setCurrentRow(static_cast<int>(names.indexOf(inUse)));
  int px = current.pixelSize() > 0 ? current.pixelSize() : QFontInfo(current).pixelSize();
  size_->setValue(px);
  connect(families_, &QListWidget::currentRowChanged, this, [this] { UpdateSample(); });
  connect(size_, &QSpinBox::valueChanged, this, [this] { UpdateSample(); });
  UpdateSample();
  families_->setFocus();
  resize(520, 420);
}

QFont FontChooserDialog::selectedFont() const {
  QListWidgetItem* item = families_->currentItem();
  QFont f(item ? item->text() : QString());
  f.setStyleHint(QFont::TypeWriter);
  f.setStyle(QFont::StyleNormal);
  f.setWeight(QFont::Normal);
  f.setPixelSize(size_->value());
  return f;
}

void FontChooserDialog::UpdateSample() { sample_->setFont(selectedFont()); }

std::optional<QFont> ChooseGridFont(const QFont& current, QWidget* parent) {
  FontChooserDialog dialog(current, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedFont();
}

}  // namespace rkv
