// What the viewer-based subcommands share: the file, its kind, the display
// mode and row, a viewer model opened on them, and a terminal host that
// answers the viewer's dialogs from the command line.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "viewer/viewer_model.h"

namespace rkv::cli {

struct ViewArgs {
  std::string file;
  int fileType = 0;   // 0 log, 1 conference, 2 mail
  int mode = 0;       // 0 normal, 1 comment tree, 2 ID
  int idTitle = -1;   // the title whose member the ID display lists
  int index = -1;     // the row of the display
  std::map<std::string, std::string> values;  // the command's own --name VALUE options
};

// Parses FILE [INDEX] with --kind, --mode and --id-title, and the command's own
// options named in valueOptions. Non-zero is the exit code.
int ParseViewArgs(const Context& ctx, const RKVcfg& cfg, const std::string& command, bool wantsIndex,
                  ViewArgs& out, std::initializer_list<const char*> valueOptions = {});

bool ParseIndex(const std::string& text, int& value);

// Moves the cursor to a row as the keys do; false when there is no such row.
bool MoveTo(ViewerModel& model, int row);

// Opens the model on the file in the display mode asked for, with the cursor on
// the row (when one is given). Non-zero is the exit code.
int OpenView(ViewerModel& model, const ViewArgs& args, const std::string& command);

// The terminal host with a clipboard of its own and scripted answers for the
// viewer's dialogs; a launch is printed as "EDITOR <command line>" instead of run.
class ToolHost : public Host {
 public:
  explicit ToolHost(CliHost& inner) : inner_(inner) {}
  Answer Message(std::string_view text, std::string_view caption, Buttons buttons, BoxIcon icon) override {
    return inner_.Message(text, caption, buttons, icon);
  }
  std::optional<std::string> AskText(std::string_view, std::string_view, std::string_view, size_t) override {
    return answer;
  }
  std::optional<std::string> AskPath(std::string_view t, std::string_view p,
                                     const std::vector<std::string>& c) override {
    return inner_.AskPath(t, p, c);
  }
  std::optional<std::string> AskOpenFile(const OpenFileRequest&) override { return answer; }
  bool SearchKeyDlg(SearchKeys& keys) override {
    if (!search) return false;
    keys = *search;
    return true;
  }
  bool SetClipboard(std::string_view text) override {
    clip = std::string(text);
    return true;
  }
  std::optional<std::string> Clipboard() override { return clip; }
  int Launch(std::string_view commandLine) override;
  Date Today() override { return now ? now->first : inner_.Today(); }
  TimeOfDay Now() override { return now ? now->second : inner_.Now(); }

  std::optional<std::string> answer;      // the file asked for
  std::optional<SearchKeys> search;       // the search dialog's fields
  std::optional<std::string> clip;
  std::optional<std::pair<Date, TimeOfDay>> now;
  bool printLaunch = false;               // print launches instead of running them

 private:
  CliHost& inner_;
};

// Lowercase hex of the bytes.
std::string Hex(std::string_view bytes);

}  // namespace rkv::cli
