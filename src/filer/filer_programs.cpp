#include "filer/filer_programs.h"

#include <algorithm>

#include "core/cp932.h"
#include "core/paths.h"
#include "core/sjis.h"

namespace rkv {
namespace {

constexpr size_t kMaxEditorFiles = 6;
constexpr int kLaunchFailedBelow = 32;

// True when the template's "%F" stands inside double quotes already.
bool TemplateQuotesFile(std::string_view commandTemplate) {
  bool quoted = false;
  for (size_t i = 0; i < commandTemplate.size(); ++i) {
    char ch = commandTemplate[i];
    if (ch == '"') quoted = !quoted;
    if (ch != '%' || i + 1 >= commandTemplate.size()) continue;
    char code = commandTemplate[++i];
    if (code == 'F' || code == 'f') return quoted;
  }
  return false;
}

}  // namespace

std::string CommandWord(std::string_view path) {
  if (path.find(' ') == std::string_view::npos) return std::string(path);
  return "\"" + std::string(path) + "\"";
}

std::string ProgramCommandLine(std::string_view commandTemplate, std::string_view path) {
  std::string file = TemplateQuotesFile(commandTemplate) ? std::string(path) : CommandWord(path);
  return ExpandNamePattern(commandTemplate, file, 0);
}

FilerResult EditorCommand(FilerModel& filer) {
  DirInfo& list = filer.listing();
  std::vector<int> targets = list.MarkedIndices();
  bool marked = !targets.empty();
  if (!marked && filer.count() > 0) targets.push_back(filer.cursor());
  if (targets.empty()) return {};
  if (targets.size() > kMaxEditorFiles) targets.resize(kMaxEditorFiles);
  std::string program = CopyField(filer.cfg().Editor, ' ');
  Host& host = filer.host();
  int result = kLaunchFailedBelow;
  for (int index : targets) {
    result = host.Launch(program + " " + CommandWord(list.FullPath(index)));
    if (result < kLaunchFailedBelow) break;
  }
  if (marked) list.ClearMarks();
  if (result < kLaunchFailedBelow) host.Message(SJ("エディタ呼び出し失敗"), SJ("エディタ"), Buttons::Ok);
  return FilerResult::Repaint();
}

FilerResult ProgramCommand(FilerModel& filer, int number) {
  if (filer.count() == 0 || number < 1 || number > 8) return {};
  const std::string& commandTemplate = filer.cfg().Prg[static_cast<size_t>(number - 1)];
  Host& host = filer.host();
  std::string line = ProgramCommandLine(commandTemplate, filer.listing().FullPath(filer.cursor()));
  if (host.Launch(line) < kLaunchFailedBelow) {
    host.Message(SJ("プログラム実行失敗"), SJ("外部プログラム"), Buttons::Ok);
  }
  return {};
}

FilerResult RunCommandCommand(FilerModel& filer) {
  std::string initial;
  if (filer.count() > 0 && !filer.IsDirectory(filer.cursor())) {
    initial = CommandWord(filer.listing().FullPath(filer.cursor()));
  }
  Host& host = filer.host();
  auto line = host.AskText(SJ("実行コマンド"), SJ("コマンド名を入力して下さい:"), initial, 1023);
  if (line && !line->empty()) host.Launch(*line);
  return {};
}

FilerResult RunCursorProgramFile(FilerModel& filer) {
  if (filer.count() == 0 || filer.IsDirectory(filer.cursor())) return {};
  std::string_view ext = ExtensionOf(filer.listing().at(filer.cursor()).name);
  if (SameNameNoCase(ext, ".EXE") || SameNameNoCase(ext, ".COM") || SameNameNoCase(ext, ".BAT")) {
    filer.host().Launch(CommandWord(filer.listing().FullPath(filer.cursor())));
  }
  return {};
}

}  // namespace rkv
