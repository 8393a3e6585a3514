// rkvtool: headless access to what the desktop program does.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "cli/cli.h"
#include "core/cp932.h"
#include "core/files.h"
#include "platform/locations.h"
#include "platform/os.h"
#include "platform/profile.h"

namespace rkv::cli {

void LoadSettings(const Context& ctx, RKVcfg& cfg) {
  std::string dataDir = locations::DataDir();
  MakeDirs(dataDir);
  cfg.Load(ProfileFile(ctx.iniPath), dataDir);
}

void Print(const Context& ctx, std::string_view line) { ctx.host->PrintLine(line); }

int Usage(const std::string& message) {
  std::fprintf(stderr, "rkvtool: %s\n", message.c_str());
  std::fprintf(stderr,
               "usage: rkvtool [--ini FILE] [--date YYYY-MM-DD] [--raw] COMMAND ...\n"
               "  settings [--save FILE]\n"
               "  divide LOG [--on-gap abort|retry|ignore] [--progress]\n"
               "  titles FILE [--kind log|conference|mail]\n"
               "  tree FILE [--kind log|conference|mail]\n"
               "  show FILE INDEX [--kind log|conference|mail]\n"
               "  ish FILE [DIR]\n"
               "  lha list ARCHIVE | lha x ARCHIVE DIR | lha a ARCHIVE FILE...\n"
               "  sort FILE | split FILE INDEX | kifu FILE INDEX | clip FILE INDEX\n"
               "  search FILE --key1 K [--key2 K] --out OUT\n"
               "  output FILE [--select I,J,...] [--cursor N] --out OUT\n"
               "  pad FILE INDEX --slot 1|2|3 --out PADFILE [--now YYYY-MM-DDTHH:MM]\n"
               "     (each of these also takes [--kind log|conference|mail] [--mode normal|tree|id]\n"
               "      [--id-title N])\n");
  return kUsage;
}

int CmdSettings(Context& ctx) {
  std::string saveTo;
  for (size_t i = 0; i < ctx.args.size(); ++i) {
    if (ctx.args[i] == "--save" && i + 1 < ctx.args.size()) {
      saveTo = ctx.args[++i];
    } else {
      return Usage("settings: unknown argument " + ctx.args[i]);
    }
  }
  RKVcfg cfg;
  LoadSettings(ctx, cfg);
  if (!saveTo.empty()) {
    ProfileFile file(saveTo);
    cfg.Save(file);
    std::string error;
    if (!file.Commit(&error)) {
      std::fprintf(stderr, "rkvtool: %s\n", cp932::ToUtf8(error).c_str());
      return kFailed;
    }
    return kOk;
  }
  for (const auto& [key, value] : cfg.Listing()) Print(ctx, key + "=" + value);
  return kOk;
}

namespace {

bool ParseDate(const std::string& text, Date& date) {
  int y, m, d;
  char tail;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) return false;
  if (m < 1 || m > 12 || d < 1 || d > 31) return false;
  date = Date{y, m, d};
  return true;
}

}  // namespace
}  // namespace rkv::cli

int main(int argc, char** argv) {
  using namespace rkv::cli;
  Context ctx;
  ctx.iniPath = rkv::locations::SettingsPath(false);
  std::optional<rkv::Date> date;
  int i = 1;
  for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
    std::string opt = argv[i];
    if (opt == "--ini" && i + 1 < argc) {
      ctx.iniPath = rkv::os::FromNative(argv[++i]);
    } else if (opt == "--date" && i + 1 < argc) {
      rkv::Date d;
      if (!ParseDate(argv[++i], d)) return Usage("--date wants YYYY-MM-DD");
      date = d;
    } else if (opt == "--raw") {
      ctx.raw = true;
    } else {
      return Usage("unknown option " + opt);
    }
  }
  if (i >= argc) return Usage("no command");
  std::string command = argv[i++];
  for (; i < argc; ++i) ctx.args.push_back(rkv::os::FromNative(argv[i]));
  rkv::CliHost host(stdout, ctx.raw);
  if (date) host.FixToday(*date);
  ctx.host = &host;

  static const std::map<std::string, int (*)(Context&)> commands = {
      {"settings", CmdSettings},
      {"divide", CmdDivide},
      {"titles", CmdTitles},
      {"tree", CmdTree},
      {"show", CmdShow},
      {"ish", CmdIsh},
      {"lha", CmdLha},
      {"sort", CmdSort},
      {"split", CmdSplit},
      {"kifu", CmdKifu},
      {"search", CmdSearch},
      {"output", CmdOutput},
      {"clip", CmdClip},
      {"pad", CmdPad},
  };
  auto it = commands.find(command);
  if (it == commands.end()) return Usage("unknown command " + command);
  int rc = it->second(ctx);
  std::fflush(stdout);
  return rc;
}
