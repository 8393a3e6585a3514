// rkvtool sort, split and kifu: the viewer's conference-file split and sort and
// its game-record copy, run through a viewer model exactly as the window runs them.
#include <cstdio>
#include <string>

#include "app/command_ids.h"
#include "cli/cli.h"
#include "cli/view_options.h"
#include "core/files.h"
#include "core/paths.h"
#include "core/virtual_keys.h"
#include "tools/conference_split_sort.h"
#include "tools/game_record.h"
#include "viewer/viewer_model.h"

namespace rkv::cli {
namespace {

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
  ToolHost host(*ctx.host);
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
  std::string clip = host.clip ? Hex(*host.clip) : "none";
  Print(ctx, "CLIP " + clip);
  Print(ctx, std::string("MENU ") + (offered ? "yes" : "no"));
  return kOk;
}

}  // namespace rkv::cli
