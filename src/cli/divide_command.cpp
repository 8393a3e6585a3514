// rkvtool divide: a log division as the division command runs it, with the
// report and every message printed, and with --progress how far it has got.
#include <cstdio>
#include <unordered_map>

#include "cli/cli.h"
#include "core/cp932.h"
#include "divide/division.h"

namespace rkv::cli {

int CmdDivide(Context& ctx) {
  std::string log;
  Answer onGap = Answer::Abort;
  bool progress = false;
  for (size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& arg = ctx.args[i];
    if (arg == "--on-gap" && i + 1 < ctx.args.size()) {
      const std::string& choice = ctx.args[++i];
      if (choice == "abort") {
        onGap = Answer::Abort;
      } else if (choice == "retry") {
        onGap = Answer::Retry;
      } else if (choice == "ignore") {
        onGap = Answer::Ignore;
      } else {
        return Usage("divide: --on-gap wants abort, retry or ignore");
      }
    } else if (arg == "--progress") {
      progress = true;
    } else if (log.empty() && !arg.starts_with("--")) {
      log = arg;
    } else {
      return Usage("divide: unknown argument " + arg);
    }
  }
  if (log.empty()) return Usage("divide: no log given");

  RKVcfg cfg;
  LoadSettings(ctx, cfg);
  ctx.host->SetGapAnswer(onGap);
  DivLog run(cfg, *ctx.host, log);
  if (!run.CheckDestinations()) return kFailed;
  if (progress) {
    // On stderr, so that the report on stdout stays as it is.
    run.SetProgress([&ctx](const DivProgress& p) {
      std::string line = ProgressLine(p);
      std::fprintf(stderr, "%s\n", ctx.raw ? line.c_str() : cp932::ToUtf8(line).c_str());
    });
  }
  DivStatus status = run.Divide();
  // A long log's report repeats a few hundred distinct lines, each kept once:
  // each is converted once, and they are printed many at a time.
  std::unordered_map<const std::string*, std::string> shown;
  std::string text;
  constexpr size_t kPrintAt = 64 * 1024;
  for (const std::string& line : run.report().lines) {
    auto [it, fresh] = shown.try_emplace(&line);
    if (fresh) it->second = ctx.host->Shown("REPORT: " + line);
    text += it->second;
    if (text.size() >= kPrintAt) {
      ctx.host->PrintShown(text);
      text.clear();
    }
  }
  ctx.host->PrintShown(text);
  if (run.renamedTo()) Print(ctx, "RENAMED: " + *run.renamedTo());
  if (status != 0 && run.report().lines.empty()) {
    std::fprintf(stderr, "rkvtool: divide: cannot open %s or the division record\n", cp932::ToUtf8(log).c_str());
  }
  return status == 0 ? kOk : kFailed;
}

}  // namespace rkv::cli
