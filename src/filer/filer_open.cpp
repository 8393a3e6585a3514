#include "filer/filer_open.h"

#include <array>

#include "core/cp932.h"
#include "core/handoff.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "filer/archive_bridge.h"
#include "filer/filer_commands.h"
#include "filer/filer_programs.h"

namespace rkv {
namespace {

// Extensions that open in the editor.
constexpr std::array<const char*, 12> kEditorExtensions = {
    ".C", ".H", ".CPP", ".BAS", ".TXT", ".PAS", ".BAT", ".MAN", ".SYS", ".INI", ".CFG", ".TTL"};

FilerResult HandOff(FilerModel& filer, const std::vector<int>& indices, FilerRequest request) {
  FileHandOff& area = HandOffArea();
  area.Clear();
  area.directory = filer.path();
  for (int index : indices) {
    if (area.count == static_cast<int>(area.names.size())) break;
    area.names[static_cast<size_t>(area.count++)] = filer.listing().at(index).name;
  }
  FilerResult r;
  r.request = request;
  r.fileKind = filer.kind();
  return r;
}

FilerResult Launch(FilerModel& filer, const std::string& program) {
  Host& host = filer.host();
  if (host.Launch(program + " " + CommandWord(filer.listing().FullPath(filer.cursor()))) < kLaunchFailedBelow) {
    host.Message(SJ("プログラム実行失敗"), SJ("外部プログラム"), Buttons::Ok);
  }
  return {};
}

}  // namespace

FilerResult OpenInViewers(FilerModel& filer) {
  DirInfo& list = filer.listing();
  if (list.markCount() > 0) {
    FilerResult r = HandOff(filer, list.MarkedIndices(), FilerRequest::OpenViewers);
    list.ClearMarks();
    r.repaint = true;
    return r;
  }
  HandOffArea().Clear();
  if (filer.count() == 0 || filer.IsDirectory(filer.cursor())) return {};
  return HandOff(filer, {filer.cursor()}, FilerRequest::OpenViewers);
}

FilerResult DivideCommand(FilerModel& filer) {
  auto target = filer.TakeSingleTarget();
  if (target.refused) {
    filer.host().Message(SJ("複数ファイルの指定はできません"), SJ("ログファイル分割"), Buttons::Ok);
    return {};
  }
  if (target.index < 0 || target.directory) return FilerResult::Repaint();  // a single mark is gone
  FilerResult r = HandOff(filer, {target.index}, FilerRequest::Divide);
  r.repaint = true;
  return r;
}

FilerResult OpenCursorFile(FilerModel& filer) {
  namespace c = filer_cmd;
  const RKVcfg& cfg = filer.cfg();
  std::string_view ext = ExtensionOf(filer.listing().at(filer.cursor()).name);
  auto viewer = [&filer] { return HandOff(filer, {filer.cursor()}, FilerRequest::OpenViewers); };
  if (ext.empty()) return viewer();
  if (SameNameNoCase(ext, ".LZH")) return ArchiveCommand(filer, c::kLhaUnpack);
  if (SameNameNoCase(ext, ".ZIP")) return ArchiveCommand(filer, c::kZipUnpack);
  if (!cfg.ExtOn) return viewer();

  std::string_view cnfExt = ExtensionOf(cfg.CnfExt);
  if ((!cnfExt.empty() && SameNameNoCase(ext, cnfExt)) || SameNameNoCase(ext.substr(0, 3), ".LO") ||
      SameNameNoCase(ext, ".CNF")) {
    return viewer();
  }
  for (const char* e : kEditorExtensions) {
    if (SameNameNoCase(ext, e)) return Launch(filer, CopyField(cfg.Editor, ' '));
  }
  if (auto program = filer.associations().ProgramFor(ext.substr(1))) return Launch(filer, *program);
  return viewer();
}

}  // namespace rkv
