// The settings dialogs of the Options menu as data: each dialog's controls in
// order, with their ids, labels, byte limits and the setting each one edits,
// and what opening, OK and the steps after OK do to the settings. Everything
// here is decided without a screen; the widgets only show a form's values and
// hand back what the user left in them.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"

namespace rkv {

class Host;

enum class ControlKind {
  Edit,   // a one-line edit field with its label
  Check,  // a check box
  Group,  // a titled group; the radio buttons that follow belong to it
  Radio,  // a radio button of the group before it
  Text,   // fixed text
};

struct FormControl {
  ControlKind kind = ControlKind::Text;
  int id = 0;          // 0 for fixed text
  std::string label;   // CP932
  std::string key;     // the setting edited, by its settings-file key (a group: the one its buttons choose)
  int part = 0;        // display mode: 0 the name length, 1-5 its flags
  int value = 0;       // radio: the setting's value for this button
  size_t limit = 0;    // edit: buffer size with the terminator (admits limit - 1 bytes)
  bool folder = false; // edit holding folders: the folder chooser is offered
  bool trim = false;   // edit: leading and trailing blanks removed on OK
  bool fixedPitch = false;  // text aligned with blanks: shown in a fixed-pitch font
  int noneValue = -1;  // group: the value when none of its buttons is checked
  // Layout: controls of one band and pane stack in order; the panes of a band
  // stand side by side, the bands one below the other.
  int band = 0;
  int pane = 0;
};

// What the controls hold: edit texts by id, and the ids of the checked check
// boxes and radio buttons.
struct FormValues {
  std::map<int, std::string> text;
  std::set<int> checked;
};

struct DialogForm {
  int command = 0;
  std::string resource;  // "ENVDLG", also the dialog's object name
  std::string title;     // CP932
  std::vector<FormControl> controls;
};

// The dialog of an Options command (220-225, 227, 232);
// nothing for any other command.
const DialogForm* SettingsDialogForm(int command);

// The controls' values on opening: texts as the settings hold them (numbers in
// decimal, cut to the field's limit without leaving half a character), check
// boxes checked when their setting is not 0, the radio button of the setting's
// value checked (none when no button has it).
FormValues FillForm(const DialogForm& form, const RKVcfg& cfg);

// OK: every control read back into the settings. Texts are stored as typed
// (trimmed where the form says so); a radio group takes the value of its
// checked button, else its none-value; a check box gives 1 or 0; a display
// mode's length is the decimal value of its text. The directories dialog then
// makes the first entries of the three lists the current directories.
void ReadBack(const DialogForm& form, const FormValues& values, RKVcfg& cfg);

// After the dialog has closed with OK: the directories dialog warns once when
// a directory it tests is missing, the log division dialog when the per-room
// base directory is needed and missing; the filer display dialog replaces a
// length outside 0-32 by 16. True when the open filers must list their files
// again with the new display settings.
bool AfterOk(const DialogForm& form, RKVcfg& cfg, Host& host);

// A folder chosen with the chooser put into a folder field: it replaces the
// field's first entry (the folder the program works in) and keeps the other
// ";"-separated entries. Nothing when the result would not fit the limit.
std::optional<std::string> WithChosenFolder(std::string_view fieldText, std::string_view chosen, size_t limit);

}  // namespace rkv
