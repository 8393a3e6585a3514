#include "cli/view_options.h"

#include <cstdio>

#include "app/command_ids.h"
#include "core/paths.h"
#include "core/virtual_keys.h"

namespace rkv::cli {

bool ParseIndex(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = std::stoi(text);
  return true;
}

int ParseViewArgs(const Context& ctx, const RKVcfg& cfg, const std::string& command, bool wantsIndex,
                  ViewArgs& out, std::initializer_list<const char*> valueOptions) {
  std::string kind;
  std::vector<std::string> plain;
  for (size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& a = ctx.args[i];
    bool hasValue = i + 1 < ctx.args.size();
    bool own = false;
    for (const char* name : valueOptions) own = own || a == name;
    if (own && hasValue) {
      out.values[a] = ctx.args[++i];
    } else if (a == "--kind" && hasValue) {
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

bool MoveTo(ViewerModel& model, int row) {
  model.Key(vk::kHome);
  for (int i = 0; i < row && model.cursor() < row; ++i) model.Key(vk::kDown);
  return row < model.ListCount() && model.cursor() == row;
}

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

int ToolHost::Launch(std::string_view commandLine) {
  if (!printLaunch) return inner_.Launch(commandLine);
  inner_.PrintLine("EDITOR " + std::string(commandLine));
  return 33;
}

std::string Hex(std::string_view bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out.push_back(kHex[c >> 4]);
    out.push_back(kHex[c & 15]);
  }
  return out;
}

}  // namespace rkv::cli
