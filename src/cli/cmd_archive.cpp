// rkvtool ish / lha: the archiver libraries as the filer drives them, headless.
#include <string>

#include "cli/cli.h"
#include "core/cp932.h"
#include "core/paths.h"
#include "filer/archive_bridge.h"
#include "filer/filer_programs.h"

namespace rkv::cli {
namespace {
void Box(Context& ctx, const std::string& text, const std::string& caption) {
  static_cast<Host&>(*ctx.host).Message(text, caption, Buttons::Ok);
}
}  // namespace

// ish FILE [DIR]: restores every ISH file found in FILE (a bare ISH file, a
// message or a whole log) into DIR, by default FILE's folder.
int CmdIsh(Context& ctx) {
  if (ctx.args.empty() || ctx.args.size() > 2) return Usage("ish FILE [DIR]");
  const std::string caption = SJ("ISH ファイル復元");
  const std::string& file = ctx.args[0];
  auto lib = LoadArchiver(*ctx.host, kIshLib, caption, {"Ish", "IshGetVersion", "IshFileList"});
  if (!lib) return kFailed;
  const std::string base = DirPart(file).empty() ? "." : DirPart(file);
  const std::string folder = ArchiveOutputFolder(base, ctx.args.size() > 1 ? ctx.args[1] : "");
  std::string names(512, '\0');
  if (lib->Entry<IshFileListFn>("IshFileList")(file.c_str(), names.data(), 512) != 0) {
    Box(ctx, SJ("ISH データが含まれていません"), caption);
    return kFailed;
  }
  std::string command = "/f=" + CommandWord(folder) + " " + CommandWord(file);
  bool ok = lib->Entry<IshFn>("Ish")(nullptr, command.c_str()) == 0;
  Box(ctx, ok ? SJ("ISH ファイルを復元しました") : SJ("ISH ファイルの復元に失敗しました"), caption);
  return ok ? kOk : kFailed;
}

// lha list ARCHIVE | lha x ARCHIVE DIR | lha a ARCHIVE FILE...: the member lines
// the unpack dialog shows, unpacking everything, adding files one call each.
int CmdLha(Context& ctx) {
  const auto& a = ctx.args;
  if (a.size() < 2 || (a[0] == "list" && a.size() != 2) || (a[0] == "x" && a.size() != 3) ||
      (a[0] == "a" && a.size() < 3) || (a[0] != "list" && a[0] != "x" && a[0] != "a"))
    return Usage("lha list ARCHIVE | lha x ARCHIVE DIR | lha a ARCHIVE FILE...");
  auto lib = LoadArchiver(*ctx.host, kUnlha, SJ("LHA 解凍"),
                          {"Unlha", "UnlhaGetVersion", "UnlhaSetBackGroundMode", "UnlhaSetCursorMode"});
  if (!lib) return kFailed;
  auto* unlha = lib->Entry<UnlhaFn>("Unlha");
  std::string out(64000, '\0');
  const std::string archive = CommandWord(a[1]);
  if (a[0] == "list") {
    if (unlha(nullptr, (" " + archive).c_str(), out.data(), out.size()) != 0) {
      Box(ctx, SJ("LZH のファイルではありません"), SJ("LHA 解凍"));
      return kFailed;
    }
    for (const std::string& line : ParseLhaList(out.substr(0, out.find('\0')))) {
      std::string shown = line;
      while (!shown.empty() && shown.back() == ' ') shown.pop_back();
      Print(ctx, shown);
    }
    return kOk;
  }
  if (a[0] == "x") {
    std::string command = "x " + archive + " " + CommandWord(ArchiveOutputFolder(".", a[2]) + "/");
    bool ok = unlha(nullptr, command.c_str(), out.data(), out.size()) == 0;
    Box(ctx, ok ? SJ("正常に解凍しました") : SJ("解凍中にエラーが発生"), SJ("LHA 解凍"));
    return ok ? kOk : kFailed;
  }
  for (size_t i = 2; i < a.size(); ++i) {
    if (unlha(nullptr, ("a " + archive + " " + CommandWord(a[i])).c_str(), out.data(), out.size()) != 0) {
      Box(ctx, SJ("圧縮中にエラーが発生"), SJ("LHA 圧縮"));
      return kFailed;
    }
  }
  Box(ctx, SJ("圧縮に成功しました"), SJ("LHA 圧縮"));
  return kOk;
}

}  // namespace rkv::cli
