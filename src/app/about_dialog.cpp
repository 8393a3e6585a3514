#include "app/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace rkv {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("ABOUT");
  setWindowTitle(QString::fromUtf8("ＲＫＶについて"));
  auto* top = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(QIcon(":/icons/ICON_1.svg").pixmap(48, 48));
  top->addWidget(icon);
  auto* text = new QVBoxLayout;
  auto* name = new QLabel(QString::fromUtf8("RKV ログブラウザ"), this);
  QFont bold = name->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  name->setFont(bold);
  text->addWidget(name);
  auto* version = new QLabel("Version 1.17", this);
  version->setObjectName("version");
  text->addWidget(version);
  top->addLayout(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
}

}  // namespace rkv
