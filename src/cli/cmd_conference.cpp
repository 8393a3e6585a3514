// rkvtool sort, split and kifu: the viewer's conference-file split and sort and
// its game-record copy, run through a viewer model exactly as the window runs them.
#include <cstdio>
#include <string>

#include "app/command_ids.h"
#include "cli/cli.h"
#include "core/files.h"
#include "core/paths.h"
#include "core/virtual_keys.h"
#include "tools/conference_split_sort.h"
#include "tools/game_record.h"
#include "viewer/viewer_model.h"

namespace rkv::cli {
namespace {

// The terminal host with a clipboard of its own, which kifu prints.
class ClipboardHost : public Host {
 public:
  explicit ClipboardHost(CliHost& inner) : inner_(inner) {}
  Answer Message(std::string_view text, std::string_view caption, Buttons buttons, BoxIcon icon) override {
    return inner_.Message(text, caption, buttons, icon);
  }
  std::optional<std::string> AskText(std::string_view t, std::string_view p, std::string_view i,
                                     size_t n) override {
    return inner_.AskText(t, p, i, n);
  }
  std::optional<std::string> AskPath(std::string_view t, std::string_view p,
                                     const std::vector<std::string>& c) override {
    return inner_.AskPath(t, p, c);
  }
  std::optional<std::string> AskOpenFile(const OpenFileRequest& r) override { return inner_.AskOpenFile(r); }
  bool SetClipboard(std::string_view text) override {
    clip_ = std::string(text);
    return true;
  }
  std::optional<std::string> Clipboard() override { return clip_; }
  int Launch(std::string_view commandLine) override { return inner_.Launch(commandLine); }
  Date Today() override { return inner_.Today(); }

 private:
  CliHost& inner_;
  std::optional<std::string> clip_;
};

struct ViewArgs {
  std::string file;
  int fileType = 0;   // 0 log, 1 conference, 2 mail
  int mode = 0;       // 0 normal, 1 comment tree, 2 ID
  int idTitle = -1;   // the title whose member the ID display lists
  int index = -1;     // the row of the display
};

bool ParseIndex(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = std::stoi(text);
  return true;
}

int ParseViewArgs(const Context& ctx, const RKVcfg& cfg, const std::string& command, bool wantsIndex,
                  ViewArgs& out) {
  std::string kind;
  std::vector<std::string> plain;
  for (size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& a = ctx.args[i];
    bool hasValue = i + 1 < ctx.args.size();
    if (a == "--kind" && hasValue) {
      kind = ctx.args[++i];
      if (kind != "log" && kind != "conference" && kind != "mail") {
        return Usage(command + ": --kind wants log, conference or mail");
      }
    } else if (a == "--mode" && hasValue) {
      const std::string& m = ctx.args[++i];
      out.mode = m == "normal" ? 0 : m == "tree" ? 1 : m == "id" ? 2 : -1;
      if (out.mode < 0) return Usage(command + ": --mode wants normal, tree or id");
    } else if (a == "--id-title" && hasValue) {
      if (!ParseIndex(ctx.args[++i], out.idTitle)) return Usage(command + ": --id-title wants a title number");
    } else if (a.rfind("--", 0) == 0) {
      return Usage(command + ": unknown argument " + a);
    } else {
      plain.push_back(a);
    }
  }
  if (plain.size() != (wantsIndex ? 2u : 1u)) return Usage(command + ": wrong number of arguments");
  if (wantsIndex && !ParseIndex(plain[1], out.index)) return Usage(command + ": INDEX wants a row number from 0");
  if (out.mode == 2 && out.idTitle < 0) return Usage(command + ": --mode id wants --id-title");
  out.file = plain[0];
  if (kind.empty()) {
    // The extension CnfExt marks a conference file, as in the conference filer.
    std::string name = FileNamePart(out.file);
    size_t dot = name.rfind('.');
    bool cnf = !cfg.CnfExt.empty() && dot != std::string::npos && SameNameNoCase(name.substr(dot + 1), cfg.CnfExt);
    out.fileType = cnf ? 1 : 0;
  } else {
    out.fileType = kind == "conference" ? 1 : kind == "mail" ? 2 : 0;
  }
  return kOk;
}

// Moves the cursor to a row as the keys do; false when there is no such row.
bool MoveTo(ViewerModel& model, int row) {
  model.Key(vk::kHome);
  for (int i = 0; i < row && model.cursor() < row; ++i) model.Key(vk::kDown);
  return row < model.ListCount() && model.cursor() == row;
}

// Opens the viewer model on the file in the display mode asked for, with the
// cursor on the row (when one is given). Non-zero is the exit code.
int OpenView(ViewerModel& model, const ViewArgs& args, const std::string& command) {
  if (!model.Open()) return kFailed;
  if (args.mode == 1) model.Command(cmd::VTree);
  if (args.mode == 2) {
    if (!MoveTo(model, args.idTitle)) {
      std::fprintf(stderr, "rkvtool: %s: there are %d titles\n", command.c_str(), model.titles().count());
      return kFailed;
    }
    model.Command(cmd::VId);
    if (model.mode() != kIdMode) {
      std::fprintf(stderr, "rkvtool: %s: title %d names no member\n", command.c_str(), args.idTitle);
      return kFailed;
    }
  }
  if (args.index >= 0 && !MoveTo(model, args.index)) {
    std::fprintf(stderr, "rkvtool: %s: there are %d rows\n", command.c_str(), model.ListCount());
    return kFailed;
  }
  return kOk;
}

int RunFileTool(Context& ctx, const std::string& command, bool split) {
  RKVcfg cfg;
  LoadSettings(ctx, cfg);
  ViewArgs args;
  if (int rc = ParseViewArgs(ctx, cfg, command, split, args)) return rc;
  ViewerModel model(cfg, *ctx.host, args.file, args.fileType);
  if (int rc = OpenView(model, args, command)) return rc;
  ConferenceJob job = model.FileJob();
  job.created = [&ctx](const std::string& path) { Print(ctx, "WROTE " + FileNamePart(path)); };
  int rc = split ? SplitConference(job, *ctx.host) : SortConference(job, *ctx.host);
  return rc == 0 ? kOk : kFailed;
}

}  // namespace

int CmdSort(Context& ctx) { return RunFileTool(ctx, "sort", false); }

int CmdSplit(Context& ctx) { return RunFileTool(ctx, "split", true); }

int CmdKifu(Context& ctx) {
  RKVcfg cfg;
  LoadSettings(ctx, cfg);
  ViewArgs args;
  if (int rc = ParseViewArgs(ctx, cfg, "kifu", true, args)) return rc;
  ClipboardHost host(*ctx.host);
  ViewerModel model(cfg, host, args.file, args.fileType);
  if (int rc = OpenView(model, args, "kifu")) return rc;
  model.Key(vk::kEnter);
  if (model.view() != ViewerView::Message) {
    std::fprintf(stderr, "rkvtool: kifu: the message did not open\n");
    return kFailed;
  }
  bool offered = false;
  for (const PopupItem& item : model.PopupMenu()) offered = offered || item.id == cmd::VGameRecord;
  Print(ctx, std::string("PRESENT ") + (HasGameRecord(model.message()) ? "yes" : "no"));
  model.Command(cmd::VGameRecord);
  std::string clip = "none";
  if (std::optional<std::string> bytes = host.Clipboard()) {
    static const char kHex[] = "0123456789abcdef";
    clip.clear();
    for (unsigned char c : *bytes) {
      clip.push_back(kHex[c >> 4]);
      clip.push_back(kHex[c & 15]);
    }
  }
  Print(ctx, "CLIP " + clip);
  Print(ctx, std::string("MENU ") + (offered ? "yes" : "no"));
  return kOk;
}

}  // namespace rkv::cli
