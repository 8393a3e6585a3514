// rkvtool titles, tree and show: the title list, comment tree and message view
// of a split file, exactly as a viewer builds them.
#include <cstdio>
#include <functional>
#include <string>

#include "cli/cli.h"
#include "core/cp932.h"
#include "core/files.h"
#include "core/paths.h"
#include "index/message_text.h"
#include "index/title_file.h"
#include "index/title_scan.h"

namespace rkv::cli {
namespace {

struct IndexArgs {
  std::string file;
  bool conference = false;
  std::vector<std::string> rest;  // positional arguments after the file
};

// A file is a conference file when its extension is CnfExt, unless --kind says.
bool HasConferenceExtension(const std::string& path, const std::string& cnfExt) {
  std::string name = FileNamePart(path);
  size_t dot = name.rfind('.');
  return !cnfExt.empty() && dot != std::string::npos && SameNameNoCase(name.substr(dot + 1), cnfExt);
}

int ParseArgs(const Context& ctx, const RKVcfg& cfg, const char* command, size_t positionals, IndexArgs& out) {
  std::string kind;
  std::vector<std::string> plain;
  for (size_t i = 0; i < ctx.args.size(); ++i) {
    if (ctx.args[i] == "--kind" && i + 1 < ctx.args.size()) {
      kind = ctx.args[++i];
      if (kind != "log" && kind != "conference" && kind != "mail") {
        return Usage(std::string(command) + ": --kind wants log, conference or mail");
      }
    } else if (ctx.args[i].rfind("--", 0) == 0) {
      return Usage(std::string(command) + ": unknown argument " + ctx.args[i]);
    } else {
      plain.push_back(ctx.args[i]);
    }
  }
  if (plain.size() != positionals + 1) return Usage(std::string(command) + ": wrong number of arguments");
  out.file = plain[0];
  out.rest.assign(plain.begin() + 1, plain.end());
  out.conference = kind.empty() ? HasConferenceExtension(out.file, cfg.CnfExt) : kind == "conference";
  return kOk;
}

// Loads the table as a viewer opening the file does; tells the user as the
// viewer does when there is nothing to show.
int LoadTable(const Context& ctx, const RKVcfg& cfg, const IndexArgs& args, TitleInfo& table) {
  std::string error;
  if (FileExists(args.file)) {
    if (args.conference) {
      LoadConferenceTitles(table, args.file, TitleFileName(args.file, cfg.TtlDir), &error);
    } else {
      LoadOtherTitles(table, args.file, cfg.Prompt);
    }
  }
  if (!error.empty()) std::fprintf(stderr, "rkvtool: %s\n", cp932::ToUtf8(error).c_str());
  if (table.count() == 0) {
    ctx.host->Message(SJ("発言タイトルがありません"), SJ("ファイル処理エラー"), Buttons::Ok, BoxIcon::Error);
    return kFailed;
  }
  return kOk;
}

std::string Bracketed(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return "[" + std::string(text.substr(0, end == std::string_view::npos ? 0 : end + 1)) + "]";
}

}  // namespace

// The start every index command shares: the settings, its arguments and the
// file's title table. Non-zero is the exit code to return at once.
int Prepare(Context& ctx, const char* command, size_t positionals, RKVcfg& cfg, IndexArgs& args,
            TitleInfo& table, const std::function<int()>& check = {}) {
  LoadSettings(ctx, cfg);
  if (int rc = ParseArgs(ctx, cfg, command, positionals, args)) return rc;
  if (check) {
    if (int rc = check()) return rc;
  }
  return LoadTable(ctx, cfg, args, table);
}

int CmdTitles(Context& ctx) {
  RKVcfg cfg;
  IndexArgs args;
  TitleInfo table;
  if (int rc = Prepare(ctx, "titles", 0, cfg, args, table)) return rc;
  for (int i = 0; i < table.count(); ++i) {
    const TitleNode& t = table.title(i);
    Print(ctx, std::to_string(i) + "\t" + std::to_string(t.kind) + "\t" + std::to_string(t.offset) + "\t" +
                   std::to_string(t.line) + "\t" + std::to_string(t.commentTo) + "\t" + Bracketed(t.Text()));
  }
  if (args.conference) Print(ctx, "READPOS " + std::to_string(table.readPosition));
  return kOk;
}

int CmdTree(Context& ctx) {
  RKVcfg cfg;
  IndexArgs args;
  TitleInfo table;
  if (int rc = Prepare(ctx, "tree", 0, cfg, args, table)) return rc;
  const CommentTree* tree = table.tree();
  if (!tree) {
    std::fprintf(stderr, "rkvtool: tree: no comment tree\n");
    return kFailed;
  }
  for (int r = 0; r < tree->rowCount(); ++r) {
    const TreeRow& row = tree->row(r);
    Print(ctx, std::to_string(r) + "\t" + std::to_string(row.titleIndex) + "\t" + std::to_string(row.number) +
                   "\t" + std::to_string(row.depth) + "\t" + Bracketed(tree->RowText(r, table.titles())));
  }
  return kOk;
}

int CmdShow(Context& ctx) {
  RKVcfg cfg;
  IndexArgs args;
  TitleInfo table;
  int index = 0;
  auto checkIndex = [&]() -> int {
    const std::string& text = args.rest[0];
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) {
      return Usage("show: INDEX wants a title number from 0");
    }
    index = std::stoi(text);
    return 0;
  };
  if (int rc = Prepare(ctx, "show", 1, cfg, args, table, checkIndex)) return rc;
  if (index >= table.count()) {
    std::fprintf(stderr, "rkvtool: show: there are %d titles\n", table.count());
    return kFailed;
  }
  std::vector<std::string> lines;
  ReadMessageText(args.file, table.title(index).offset, cfg.Prompt, lines);
  for (const std::string& line : lines) Print(ctx, line);
  return kOk;
}

}  // namespace rkv::cli
