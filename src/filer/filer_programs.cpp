#include "filer/filer_programs.h"

#include <algorithm>

#include "core/command_line.h"
#include "core/cp932.h"
#include "core/paths.h"
#include "core/sjis.h"

namespace rkv {
namespace {

// The editor opens at most this many marked files at once.
constexpr size_t kMaxEditorFiles = 6;

}  // namespace

FilerResult EditorCommand(FilerModel& filer) {
  DirInfo& list = filer.listing();
  std::vector<int> targets = list.MarkedIndices();
  bool marked = !targets.empty();
  if (!marked && filer.count() > 0) targets.push_back(filer.cursor());
  if (targets.empty()) return {};
  if (targets.size() > kMaxEditorFiles) targets.resize(kMaxEditorFiles);
  std::string program = FirstWord(filer.cfg().Editor);
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
  // The filer has no line number: placeholders other than "%F" give nothing.
  std::optional<std::string> line =
      ProgramCommandLine(commandTemplate, filer.listing().FullPath(filer.cursor()), 0, kFilerCommandBytes);
  LaunchOrTell(host, line, SJ("プログラム実行失敗"), SJ("外部プログラム"));
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
