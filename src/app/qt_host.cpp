#include "app/qt_host.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/fonts.h"
#include <functional>

#include "app/text.h"
#include "core/cp932.h"
#include "platform/launch.h"

namespace rkv {
namespace {

std::string WithCrLf(const QString& text) {
  std::string s = ToSj(text);
  std::string out;
  out.reserve(s.size() + s.size() / 16);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) out.push_back('\r');
    out.push_back(s[i]);
  }
  return out;
}

// Adds the OK and ｷｬﾝｾﾙ buttons under the dialog's fields and runs it with the
// arrow cursor; true on OK. accepted() decides whether OK may close it.
bool RunOkCancel(QDialog& dialog, QBoxLayout* layout, std::function<bool()> accepted = [] { return true; }) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Cancel)->setText(FromSj(SJ("ｷｬﾝｾﾙ")));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, accepted] {
    if (accepted()) dialog.accept();
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  int r = dialog.exec();
  QApplication::restoreOverrideCursor();
  return r == QDialog::Accepted;
}

}  // namespace

QWidget* QtHost::Owner() const {
  if (QWidget* active = QApplication::activeWindow()) return active;
  return owner_.data();
}

Answer QtHost::Message(std::string_view text, std::string_view caption, Buttons buttons, BoxIcon icon) {
  QMessageBox box(Owner());
  box.setWindowTitle(FromSj(caption));
  box.setText(FromSj(text));
  switch (icon) {
    case BoxIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case BoxIcon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case BoxIcon::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case BoxIcon::None:
      break;
  }
  switch (buttons) {
    case Buttons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case Buttons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case Buttons::AbortRetryIgnore:
      box.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
      break;
  }
  // A message box is only as wide as its text, and a window manager cuts a
  // longer caption short; a spacer keeps room for the whole caption.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    int captionWidth = QFontMetrics(QApplication::font()).horizontalAdvance(box.windowTitle()) + 140;
    grid->addItem(new QSpacerItem(captionWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
                  1, grid->columnCount());
  }
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  int r = box.exec();
  QApplication::restoreOverrideCursor();
  switch (r) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Abort:
      return Answer::Abort;
    case QMessageBox::Retry:
      return Answer::Retry;
    case QMessageBox::Ignore:
      return Answer::Ignore;
    case QMessageBox::Ok:
      return Answer::Ok;
    default:
      // Closing an Abort/Retry/Ignore box by its frame means no decision to go on.
      return buttons == Buttons::AbortRetryIgnore ? Answer::Abort
             : buttons == Buttons::YesNo          ? Answer::No
                                                  : Answer::Ok;
  }
}

std::optional<std::string> QtHost::AskText(std::string_view title, std::string_view prompt,
                                           std::string_view initial, size_t maxBytes) {
  QDialog dialog(Owner());
  dialog.setWindowTitle(FromSj(title));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(FromSj(prompt), &dialog));
  auto* edit = new QLineEdit(&dialog);
  edit->setValidator(new ByteLimitValidator(maxBytes, edit));
  std::string start(initial.substr(0, maxBytes));
  edit->setText(FromSj(start));
  edit->setMinimumWidth(360);
  layout->addWidget(edit);
  if (!RunOkCancel(dialog, layout)) return std::nullopt;
  return ToSj(edit->text());
}

std::optional<std::string> QtHost::AskPath(std::string_view title, std::string_view prompt,
                                           const std::vector<std::string>& choices) {
  QDialog dialog(Owner());
  dialog.setObjectName("PATH_DLG");
  dialog.setWindowTitle(FromSj(title));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(FromSj(prompt), &dialog));
  auto* combo = new QComboBox(&dialog);
  combo->setEditable(true);
  combo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  for (const auto& c : choices) combo->addItem(FromSj(c));
  combo->lineEdit()->setValidator(new ByteLimitValidator(255, combo));
  combo->setMinimumWidth(360);
  layout->addWidget(combo);
  // An empty path is not an answer.
  if (!RunOkCancel(dialog, layout, [combo] { return !combo->currentText().isEmpty(); })) return std::nullopt;
  return ToSj(combo->currentText());
}

std::optional<LhaUnpackChoice> QtHost::LhaUnpackDlg(std::string_view title,
                                                    const std::vector<std::string>& lines,
                                                    std::string_view folder) {
  QDialog dialog(Owner());
  dialog.setObjectName("LHA_UNPACK_DLG");
  dialog.setWindowTitle(FromSj(title));
  auto* layout = new QVBoxLayout(&dialog);
  auto* list = new QListWidget(&dialog);
  list->setObjectName("192");
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setFont(SystemFixedFont());
  for (const std::string& line : lines) list->addItem(FromSj(line));
  QFontMetrics metrics(list->font());
  list->setMinimumWidth(metrics.horizontalAdvance(QString(44, QLatin1Char('M'))));
  list->setMinimumHeight(metrics.height() * 12);
  layout->addWidget(list);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(FromSj(SJ("出力先:")), &dialog));
  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName("191");
  edit->setValidator(new ByteLimitValidator(128, edit));
  edit->setText(FromSj(std::string(folder.substr(0, 128))));
  row->addWidget(edit);
  layout->addLayout(row);
  if (!RunOkCancel(dialog, layout)) return std::nullopt;
  LhaUnpackChoice choice;
  choice.folder = ToSj(edit->text());
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) choice.chosen.push_back(i);
  return choice;
}

bool QtHost::SearchKeyDlg(SearchKeys& keys) {
  QDialog dialog(Owner());
  dialog.setObjectName("SEARCH_DLG");
  dialog.setWindowTitle(FromSj(SJ("キーワード検索")));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(FromSj(SJ("キーワードを含む発言を指定ファイルに出力します。")), &dialog));
  layout->addWidget(new QLabel(FromSj(SJ("キーワードと出力先ファイル名を入力して下さい。")), &dialog));
  auto* grid = new QGridLayout;
  grid->setColumnStretch(1, 1);
  struct Field {
    int id;
    const std::string& label;
    std::string& value;
    size_t limit;  // with the terminator
    bool path;
  } fields[] = {{210, SJ("キーワード１:"), keys.key1, 40, false},
                {211, SJ("キーワード２:"), keys.key2, 40, false},
                {212, SJ("出力先ﾌｧｲﾙ名:"), keys.outFile, 260, true}};
  QLineEdit* edits[3];
  for (int i = 0; i < 3; ++i) {
    const Field& f = fields[i];
    auto* label = new QLabel(FromSj(f.label), &dialog);
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName(QString::number(f.id));
    edit->setValidator(new ByteLimitValidator(f.limit - 1, edit, f.path));
    edit->setText(f.path ? QtPath(f.value) : FromSj(f.value));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('M')) * (f.path ? 40 : 30));
    label->setBuddy(edit);
    grid->addWidget(label, i, 0);
    grid->addWidget(edit, i, 1);
    edits[i] = edit;
  }
  layout->addLayout(grid);
  if (!RunOkCancel(dialog, layout)) return false;
  for (int i = 0; i < 3; ++i) {
    fields[i].value = fields[i].path ? CorePath(edits[i]->text()) : ToSj(edits[i]->text());
  }
  return true;
}

std::optional<std::string> QtHost::AskOpenFile(const OpenFileRequest& request) {
  QStringList filters;
  for (const auto& [description, mask] : request.filters) {
    // Descriptions that end in "(mask)" already carry the pattern Qt reads.
    QString d = FromSj(description);
    filters << (d.endsWith(QLatin1Char(')')) ? d : d + " (" + FromSj(mask) + ")");
  }
  QFileDialog dialog(Owner(), FromSj(request.title), QtPath(request.initialDirectory));
  // Qt's own dialog matches masks without regard to case, as these masks expect.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setNameFilters(filters);
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  int r = dialog.exec();
  QApplication::restoreOverrideCursor();
  if (r != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return CorePath(dialog.selectedFiles().first());
}

bool QtHost::SetClipboard(std::string_view text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  clipboard->setText(FromSj(text));
  return true;
}

std::optional<std::string> QtHost::Clipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return std::nullopt;
  QString text = clipboard->text();
  if (text.isNull()) return std::nullopt;
  return WithCrLf(text);
}

int QtHost::Launch(std::string_view commandLine) { return os::LaunchDetached(commandLine); }

void QtHost::BeginWait() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtHost::EndWait() { QApplication::restoreOverrideCursor(); }

void QtHost::Pump() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

Date QtHost::Today() { return today_ ? *today_ : SystemToday(); }

}  // namespace rkv
