// The settings dialogs of the Options menu, drawn from their forms: EnvDialog
// ("ENVDLG"), PathMaskDlg ("MASK_DLG"), CnfNameDlg ("CNFNAME_DLG"), PadCmdDlg
// ("PADDLG"), PrgNameDlg ("EXT_PRG"), IniWinInfoDlg ("WIN_MODE"), LogDivOptDlg ("LOG_DIV") and
// FilerDspDlg ("DSPMODE_DLG"). The dialog shows the settings on opening and
// reads every control back into them on OK; Cancel and Escape change nothing.
#pragma once

#include <QDialog>

#include <map>

#include "settings/dialog_fields.h"

class QAbstractButton;
class QLineEdit;

namespace rkv {

class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  SettingsDialog(const DialogForm& form, RKVcfg& cfg, QWidget* parent);

  // What the controls hold now.
  FormValues Values() const;
  // The control of an id (edit field, check box, radio button or group).
  QWidget* Control(int id) const;

  // OK: the controls are read back into the settings, then the dialog closes.
  void accept() override;

  // The folder chooser of a folder field: the chosen folder replaces the
  // field's first entry.
  void ChooseFolder(int id);

 private:
  void Build();
  void Show(const FormValues& values);

  const DialogForm& form_;
  RKVcfg& cfg_;
  std::map<int, QWidget*> controls_;
};

// Runs the dialog of an Options command with the host's answers for its
// warnings. Nothing when the command has no settings dialog; otherwise whether
// OK was pressed, and whether the open filers must list their files again.
struct SettingsDialogResult {
  bool accepted = false;
  bool filerDisplayChanged = false;
};
std::optional<SettingsDialogResult> RunSettingsDialog(int command, RKVcfg& cfg, Host& host, QWidget* parent);

}  // namespace rkv
