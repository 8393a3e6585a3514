#include "settings/settings_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpacerItem>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/fonts.h"
#include "app/text.h"
#include "core/cp932.h"
#include "core/sjis.h"

namespace rkv {
namespace {

// Folder fields hold names on disk, which need not be CP932 text: they are
// shown and read as paths, every other field as CP932 text.
QString Shown(const FormControl& c, const std::string& text) { return c.folder ? QtPath(text) : FromSj(text); }
std::string Typed(const FormControl& c, const QString& text) { return c.folder ? CorePath(text) : ToSj(text); }

QLineEdit* MakeEdit(const FormControl& c, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setValidator(new ByteLimitValidator(c.limit - 1, edit, c.folder));
  // As wide as the text it admits, up to a comfortable line; short fields stay short.
  int chars = static_cast<int>(std::min<size_t>(c.limit - 1, 46)) + 2;
  int width = edit->fontMetrics().horizontalAdvance(QLatin1Char('M')) * chars;
  edit->setMinimumWidth(width);
  if (c.limit <= 12) edit->setMaximumWidth(width);
  return edit;
}

}  // namespace

SettingsDialog::SettingsDialog(const DialogForm& form, RKVcfg& cfg, QWidget* parent)
    : QDialog(parent), form_(form), cfg_(cfg) {
  setObjectName(QString::fromLatin1(form.resource.c_str()));
  setWindowTitle(FromSj(form.title));
  Build();
  Show(FillForm(form_, cfg_));
}

void SettingsDialog::Build() {
  auto* layout = new QVBoxLayout(this);
  QHBoxLayout* band = nullptr;
  QGridLayout* pane = nullptr;
  QWidget* paneOwner = this;
  const FormControl* previous = nullptr;
  QLabel* lines = nullptr;   // the block of fixed text that a following line joins
  QWidget* first = nullptr;  // the control that has the focus on opening
  for (const FormControl& c : form_.controls) {
    if (!previous || c.band != previous->band) {
      band = new QHBoxLayout;
      band->setSpacing(12);
      layout->addLayout(band);
      pane = nullptr;
    }
    if (!pane || c.pane != previous->pane || c.kind == ControlKind::Group) {
      pane = new QGridLayout;
      pane->setColumnStretch(1, 1);
      paneOwner = this;
      lines = nullptr;
      if (c.kind == ControlKind::Group) {
        auto* box = new QGroupBox(FromSj(c.label), this);
        box->setObjectName(QString::number(c.id));
        controls_[c.id] = box;
        box->setLayout(pane);
        paneOwner = box;
        band->addWidget(box, 1);
      } else {
        band->addLayout(pane, 1);
      }
    }
    previous = &c;
    int row = pane->rowCount();
    QWidget* control = nullptr;
    switch (c.kind) {
      case ControlKind::Group:
        break;
      case ControlKind::Edit: {
        auto* label = new QLabel(FromSj(c.label), paneOwner);
        QLineEdit* edit = MakeEdit(c, paneOwner);
        label->setBuddy(edit);
        pane->addWidget(label, row, 0);
        pane->addWidget(edit, row, 1, c.limit <= 12 ? Qt::AlignLeft : Qt::Alignment());
        if (c.folder) {
          auto* choose = new QToolButton(paneOwner);
          choose->setText(QString::fromUtf8("…"));
          choose->setObjectName(QString::number(c.id) + "_choose");
          choose->setToolTip(QString::fromUtf8("ディレクトリを選択（先頭のディレクトリを置き換えます）"));
          choose->setFocusPolicy(Qt::StrongFocus);
          connect(choose, &QToolButton::clicked, this, [this, id = c.id] { ChooseFolder(id); });
          pane->addWidget(choose, row, 2);
        }
        control = edit;
        break;
      }
      case ControlKind::Check:
        control = new QCheckBox(FromSj(c.label), paneOwner);
        pane->addWidget(control, row, 0, 1, 3);
        break;
      case ControlKind::Radio:
        control = new QRadioButton(FromSj(c.label), paneOwner);
        pane->addWidget(control, row, 0, 1, 3);
        break;
      case ControlKind::Text: {
        // Lines of fixed text that follow each other make one block.
        if (lines) {
          lines->setText(lines->text() + "\n" + FromSj(c.label));
          break;
        }
        lines = new QLabel(FromSj(c.label), paneOwner);
        if (c.fixedPitch) lines->setFont(SystemFixedFont());
        pane->addWidget(lines, row, 0, 1, 3);
        break;
      }
    }
    if (c.kind != ControlKind::Text) lines = nullptr;
    if (control) {
      control->setObjectName(QString::number(c.id));
      controls_[c.id] = control;
      if (!first) first = control;
    }
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  buttons->button(QDialogButtonBox::Cancel)->setText(FromSj(SJ("ｷｬﾝｾﾙ")));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  // Wide enough that the window manager can show the whole title.
  int titleWidth = QFontMetrics(QApplication::font()).horizontalAdvance(windowTitle()) + 120;
  layout->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed));
  layout->setSizeConstraint(QLayout::SetFixedSize);
  if (first) first->setFocus();
}

void SettingsDialog::Show(const FormValues& values) {
  for (const FormControl& c : form_.controls) {
    QWidget* control = Control(c.id);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      auto it = values.text.find(c.id);
      edit->setText(it == values.text.end() ? QString() : Shown(c, it->second));
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      button->setChecked(values.checked.count(c.id) > 0);
    }
  }
  // A radio group opens with the focus on its checked button.
  if (auto* radio = qobject_cast<QRadioButton*>(focusWidget())) {
    for (auto* other : radio->parentWidget()->findChildren<QRadioButton*>()) {
      if (other->isChecked()) other->setFocus();
    }
  }
}

FormValues SettingsDialog::Values() const {
  FormValues values;
  for (const FormControl& c : form_.controls) {
    QWidget* control = Control(c.id);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      values.text[c.id] = Typed(c, edit->text());
    } else if (auto* button = qobject_cast<QAbstractButton*>(control); button && button->isChecked()) {
      values.checked.insert(c.id);
    }
  }
  return values;
}

QWidget* SettingsDialog::Control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void SettingsDialog::accept() {
  ReadBack(form_, Values(), cfg_);
  QDialog::accept();
}

void SettingsDialog::ChooseFolder(int id) {
  auto c = std::find_if(form_.controls.begin(), form_.controls.end(), [id](const FormControl& f) { return f.id == id; });
  auto* edit = qobject_cast<QLineEdit*>(Control(id));
  if (c == form_.controls.end() || !edit) return;
  std::string text = Typed(*c, edit->text());
  std::string start = CopyField(text, ';');
  TrimBlanks(start, false);
  QString chosen = QFileDialog::getExistingDirectory(this, FromSj(c->label), QtPath(start));
  edit->setFocus();
  if (chosen.isEmpty()) return;
  if (std::optional<std::string> result = WithChosenFolder(text, CorePath(chosen), c->limit)) {
    edit->setText(Shown(*c, *result));
  } else {
    QApplication::beep();  // the folder does not fit the field
  }
}

std::optional<SettingsDialogResult> RunSettingsDialog(int command, RKVcfg& cfg, Host& host, QWidget* parent) {
  const DialogForm* form = SettingsDialogForm(command);
  if (!form) return std::nullopt;
  SettingsDialog dialog(*form, cfg, parent);
  SettingsDialogResult result;
  result.accepted = dialog.exec() == QDialog::Accepted;
  if (result.accepted) result.filerDisplayChanged = AfterOk(*form, cfg, host);
  return result;
}

}  // namespace rkv
