// rkvtool search, output, clip and pad: the viewer's message tools, run
// through a viewer model exactly as the window runs them, with the dialogs
// answered from the command line.
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/command_ids.h"
#include "cli/cli.h"
#include "cli/view_options.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "core/virtual_keys.h"
#include "platform/os.h"

namespace rkv::cli {
namespace {

// A file named on the command line is taken from the current folder, as a
// shell user means it; the program itself would take it in its own folder.
std::string FromHere(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  return PathJoin(os::CurrentDir(), path);
}

// Runs the command on an opened model; the exit code follows its outcome.
int Finish(ViewerModel& model, int command) {
  model.Command(command);
  return model.toolFailed() ? kFailed : kOk;
}

struct Session {
  RKVcfg cfg;
  ViewArgs args;
};

int Prepare(Context& ctx, Session& s, const std::string& command, bool wantsIndex,
            std::initializer_list<const char*> options) {
  LoadSettings(ctx, s.cfg);
  return ParseViewArgs(ctx, s.cfg, command, wantsIndex, s.args, options);
}

const std::string* Value(const ViewArgs& args, const char* name) {
  auto it = args.values.find(name);
  return it == args.values.end() ? nullptr : &it->second;
}

bool ParseNow(const std::string& text, std::pair<Date, TimeOfDay>& now) {
  int y, mo, d, h, mi;
  char tail;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d%c", &y, &mo, &d, &h, &mi, &tail) != 5) return false;
  if (mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59) return false;
  now = {Date{y, mo, d}, TimeOfDay{h, mi}};
  return true;
}

}  // namespace

int CmdSearch(Context& ctx) {
  Session s;
  if (int rc = Prepare(ctx, s, "search", false, {"--key1", "--key2", "--out"})) return rc;
  const std::string* out = Value(s.args, "--out");
  if (!out || !Value(s.args, "--key1")) return Usage("search: --key1 and --out are needed");
  const std::string* key2 = Value(s.args, "--key2");
  ToolHost host(*ctx.host);
  host.search = SearchKeys{*Value(s.args, "--key1"), key2 ? *key2 : "", FromHere(*out)};
  ViewerModel model(s.cfg, host, s.args.file, s.args.fileType);
  if (int rc = OpenView(model, s.args, "search")) return rc;
  return Finish(model, cmd::VSearch);
}

int CmdOutput(Context& ctx) {
  Session s;
  if (int rc = Prepare(ctx, s, "output", false, {"--select", "--cursor", "--out"})) return rc;
  const std::string* out = Value(s.args, "--out");
  if (!out) return Usage("output: --out is needed");
  ToolHost host(*ctx.host);
  host.answer = FromHere(*out);
  ViewerModel model(s.cfg, host, s.args.file, s.args.fileType);
  if (int rc = OpenView(model, s.args, "output")) return rc;
  if (const std::string* select = Value(s.args, "--select")) {
    auto fields = static_cast<int>(std::count(select->begin(), select->end(), ',')) + 1;
    for (int n = 0; n < fields; ++n) {
      std::string field = FieldAt(*select, n, ',');
      int row;
      if (!ParseIndex(field, row)) return Usage("output: --select wants row numbers from 0, separated by commas");
      if (!MoveTo(model, row)) {
        std::fprintf(stderr, "rkvtool: output: there are %d rows\n", model.ListCount());
        return kFailed;
      }
      if (!model.EntryMarked(row)) model.Key(vk::kSpace);
    }
  }
  int cursor = 0;
  if (const std::string* c = Value(s.args, "--cursor")) {
    if (!ParseIndex(*c, cursor)) return Usage("output: --cursor wants a row number from 0");
  }
  if (!MoveTo(model, cursor)) {
    std::fprintf(stderr, "rkvtool: output: there are %d rows\n", model.ListCount());
    return kFailed;
  }
  return Finish(model, cmd::VOutput);
}

int CmdClip(Context& ctx) {
  Session s;
  if (int rc = Prepare(ctx, s, "clip", true, {})) return rc;
  ToolHost host(*ctx.host);
  ViewerModel model(s.cfg, host, s.args.file, s.args.fileType);
  if (int rc = OpenView(model, s.args, "clip")) return rc;
  int rc = Finish(model, cmd::VClipboard);
  Print(ctx, "CLIP " + (host.clip ? Hex(*host.clip) : std::string("none")));
  return rc;
}

int CmdPad(Context& ctx) {
  Session s;
  if (int rc = Prepare(ctx, s, "pad", true, {"--slot", "--out", "--now"})) return rc;
  const std::string* slot = Value(s.args, "--slot");
  const std::string* out = Value(s.args, "--out");
  if (!slot || (*slot != "1" && *slot != "2" && *slot != "3") || !out) {
    return Usage("pad: --slot 1|2|3 and --out PADFILE are needed");
  }
  ToolHost host(*ctx.host);
  host.answer = FromHere(*out);
  host.printLaunch = true;
  if (const std::string* now = Value(s.args, "--now")) {
    std::pair<Date, TimeOfDay> at;
    if (!ParseNow(*now, at)) return Usage("pad: --now wants YYYY-MM-DDTHH:MM");
    host.now = at;
  }
  ViewerModel model(s.cfg, host, s.args.file, s.args.fileType);
  if (int rc = OpenView(model, s.args, "pad")) return rc;
  return Finish(model, cmd::VPadSay + (*slot)[0] - '1');
}

}  // namespace rkv::cli
