// rkvtool: shared context of the subcommands.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_host.h"
#include "settings/settings.h"

namespace rkv::cli {

enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };

struct Context {
  std::string iniPath;              // settings file (core path)
  bool raw = false;                 // CP932 output
  CliHost* host = nullptr;
  std::vector<std::string> args;    // the subcommand's own arguments (core encoding)
};

// Loads the settings as the program does at start-up.
void LoadSettings(const Context& ctx, RKVcfg& cfg);
// Prints a line of CP932 text in the output encoding.
void Print(const Context& ctx, std::string_view cp932Line);
// Prints a usage error to stderr and returns kUsage.
int Usage(const std::string& message);

int CmdSettings(Context& ctx);
int CmdDivide(Context& ctx);
int CmdTitles(Context& ctx);
int CmdTree(Context& ctx);
int CmdShow(Context& ctx);
int CmdIsh(Context& ctx);
int CmdLha(Context& ctx);
int CmdSort(Context& ctx);
int CmdSplit(Context& ctx);
int CmdKifu(Context& ctx);
int CmdSearch(Context& ctx);
int CmdOutput(Context& ctx);
int CmdClip(Context& ctx);
int CmdPad(Context& ctx);

}  // namespace rkv::cli
