#include "filer/archive_bridge.h"

#include <algorithm>

#include "core/cp932.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "filer/filer_commands.h"
#include "filer/filer_programs.h"
#include "platform/library.h"

namespace rkv {
namespace {

constexpr unsigned long kUnlhaOutput = 64000;
constexpr unsigned long kUnzipOutput = 32768;
constexpr int kIshListSize = 512;
constexpr size_t kListEnoughBytes = 220;

// A library for the length of one command.
class Loaded {
 public:
  Loaded(Host& host, const ArchiverLibrary& which, std::string_view caption,
         std::initializer_list<const char*> entries)
      : lib_(LoadArchiver(host, which, caption, entries)) {}
  explicit operator bool() const { return lib_ != nullptr; }
  template <typename F>
  F* Entry(const char* name) const {
    return lib_->Entry<F>(name);
  }

 private:
  std::unique_ptr<Library> lib_;
};

bool HasPlainFiles(FilerModel& filer) { return filer.listing().fileCount() > 0; }
bool CursorIsFile(FilerModel& filer) { return filer.count() > 0 && !filer.IsDirectory(filer.cursor()); }

std::string OutputFolder(FilerModel& filer, std::string typed) {
  return ArchiveOutputFolder(filer.path(), std::move(typed));
}

// "folder/" as one command word.
std::string FolderWord(const std::string& folder) {
  return CommandWord(folder == "/" ? folder : folder + "/");
}

FilerResult Done(FilerModel& filer, const std::string& folder, std::string_view text,
                 std::string_view caption) {
  FilerResult r;
  if (SameNameNoCase(folder, filer.path())) r = filer.Reload(0);
  filer.host().Message(text, caption, Buttons::Ok);
  return r;
}

std::string Buffer(unsigned long size) { return std::string(size, '\0'); }

FilerResult LhaCompress(FilerModel& filer) {
  const std::string caption = SJ("LHA 圧縮");
  DirInfo& list = filer.listing();
  if (!HasPlainFiles(filer)) return {};
  std::vector<int> files;
  for (int i : list.MarkedIndices())
    if (!list.at(i).IsDirectory()) files.push_back(i);
  if (list.markCount() == 0) {
    if (!CursorIsFile(filer)) return {};
    files.push_back(filer.cursor());
  }
  Host& host = filer.host();
  Loaded lib(host, kUnlha, caption, {"Unlha", "UnlhaGetVersion", "UnlhaSetBackGroundMode", "UnlhaSetCursorMode"});
  if (!lib) return {};
  lib.Entry<ModeFn>("UnlhaSetBackGroundMode")(0);
  lib.Entry<ModeFn>("UnlhaSetCursorMode")(1);
  OpenFileRequest request;
  request.title = SJ("LHA ファイルオープン");
  request.filters = {{SJ("全てのﾌｧｲﾙ(*.*)"), "*.*"}};
  request.initialDirectory = RememberedArchiveFolders().lhaArchive;
  request.mustExist = false;  // the folder must exist; a new archive is made
  auto archive = host.AskOpenFile(request);
  if (!archive) return {};
  RememberedArchiveFolders().lhaArchive = DirPart(*archive);
  int result = 0;
  {
    WaitCursor wait(host);
    std::string out = Buffer(kUnlhaOutput);
    for (int i : files) {
      std::string command = "a " + CommandWord(*archive) + " " + CommandWord(list.FullPath(i));
      result = lib.Entry<UnlhaFn>("Unlha")(nullptr, command.c_str(), out.data(), kUnlhaOutput);
      if (result != 0) break;
    }
  }
  if (result != 0) {
    host.Message(SJ("圧縮中にエラーが発生"), caption, Buttons::Ok);
    return {};
  }
  return Done(filer, DirPart(*archive), SJ("圧縮に成功しました"), caption);
}

FilerResult LhaUnpack(FilerModel& filer) {
  const std::string caption = SJ("LHA 解凍");
  if (!HasPlainFiles(filer) || !CursorIsFile(filer)) return {};
  Host& host = filer.host();
  Loaded lib(host, kUnlha, caption, {"Unlha", "UnlhaGetVersion", "UnlhaSetBackGroundMode", "UnlhaSetCursorMode"});
  if (!lib) return {};
  lib.Entry<ModeFn>("UnlhaSetBackGroundMode")(0);
  lib.Entry<ModeFn>("UnlhaSetCursorMode")(1);
  auto* unlha = lib.Entry<UnlhaFn>("Unlha");
  const std::string archive = filer.listing().FullPath(filer.cursor());
  std::string out = Buffer(kUnlhaOutput);
  if (unlha(nullptr, (" " + CommandWord(archive)).c_str(), out.data(), kUnlhaOutput) != 0) {
    host.Message(SJ("LZH のファイルではありません"), caption, Buttons::Ok);
    return {};
  }
  out.resize(std::min(out.find('\0'), out.size()));
  if (out.size() < kListEnoughBytes) host.Message(SJ("圧縮ファイルが見当たりません"), caption, Buttons::Ok);
  std::vector<std::string> lines = ParseLhaList(out);
  if (lines.empty()) return {};
  std::string title = "UNLHA32.DLL Version " + std::to_string(lib.Entry<UnlhaGetVersionFn>("UnlhaGetVersion")());
  auto choice = host.LhaUnpackDlg(title, lines, RememberedArchiveFolders().lhaUnpack);
  if (!choice) return {};
  std::string folder = choice->folder;
  if (!folder.empty() && folder.back() == '/' && folder.size() > 1) folder.pop_back();
  RememberedArchiveFolders().lhaUnpack = folder;
  folder = OutputFolder(filer, folder);
  std::vector<int> selected = UnpackSelection(choice->chosen, int(lines.size()));
  int result = 0;
  {
    WaitCursor wait(host);
    std::string base = "x " + CommandWord(archive) + " " + FolderWord(folder);
    if (selected.empty()) {
      result = unlha(nullptr, base.c_str(), out.data(), kUnlhaOutput);
    } else {
      for (int i : selected)
        result = unlha(nullptr, (base + " " + lines[size_t(i)]).c_str(), out.data(), kUnlhaOutput);
    }
  }
  if (result != 0) {
    host.Message(SJ("解凍中にエラーが発生"), caption, Buttons::Ok);
    return {};
  }
  return Done(filer, folder, SJ("正常に解凍しました"), caption);
}

FilerResult ZipUnpack(FilerModel& filer) {
  const std::string caption = SJ("ZIP ファイル解凍");
  if (!HasPlainFiles(filer) || !CursorIsFile(filer)) return {};
  Host& host = filer.host();
  Loaded lib(host, kUnzip, caption,
             {"UnZip", "UnZipCheckArchive", "UnZipSetBackGroundMode", "UnZipSetCursorMode", "UnZipGetVersion"});
  if (!lib) return {};
  auto typed = host.AskText(caption, SJ("ZIP 解凍先"), "", 255);
  if (!typed) return {};
  std::string folder = OutputFolder(filer, *typed);
  lib.Entry<ModeFn>("UnZipSetBackGroundMode")(0);
  lib.Entry<ModeFn>("UnZipSetCursorMode")(1);
  const std::string archive = filer.listing().FullPath(filer.cursor());
  if (lib.Entry<UnZipCheckArchiveFn>("UnZipCheckArchive")(archive.c_str(), 1) != 1) {
    host.Message(SJ("ZIP データが含まれていません"), caption, Buttons::Ok);
    return {};
  }
  std::string out = Buffer(kUnzipOutput);
  std::string command = CommandWord(archive) + " " + FolderWord(folder);
  int result;
  {
    WaitCursor wait(host);
    result = lib.Entry<UnlhaFn>("UnZip")(nullptr, command.c_str(), out.data(), kUnzipOutput);
  }
  if (result != 0) {
    host.Message(SJ("ZIP ファイルの復元に失敗しました"), caption, Buttons::Ok);
    return {};
  }
  return Done(filer, folder, SJ("ZIP ファイルを復元しました"), caption);
}

FilerResult IshConvert(FilerModel& filer) {
  const std::string caption = SJ("ISH ファイル出力先");
  if (!HasPlainFiles(filer) || !CursorIsFile(filer)) return {};
  Host& host = filer.host();
  Loaded lib(host, kIshLib, caption, {"Ish", "IshGetVersion", "IshFileList"});
  if (!lib) return {};
  auto typed = host.AskText(SJ("ISH 変換"), SJ("ISH ファイル出力先"), filer.path(), 255);
  if (!typed) return {};
  std::string folder = OutputFolder(filer, *typed);
  std::string command =
      "/s /f=" + CommandWord(folder) + " " + CommandWord(filer.listing().FullPath(filer.cursor()));
  int result;
  {
    WaitCursor wait(host);
    result = lib.Entry<IshFn>("Ish")(nullptr, command.c_str());
  }
  if (result != 0) {
    host.Message(SJ("変換中にエラーが発生"), caption, Buttons::Ok);
    return {};
  }
  return Done(filer, folder, SJ("ISH 変換に成功しました"), caption);
}

FilerResult IshRestore(FilerModel& filer) {
  const std::string caption = SJ("ISH ファイル復元");
  if (!HasPlainFiles(filer) || !CursorIsFile(filer)) return {};
  Host& host = filer.host();
  Loaded lib(host, kIshLib, caption, {"Ish", "IshGetVersion", "IshFileList"});
  if (!lib) return {};
  auto typed = host.AskText(caption, SJ("ISH 復元先"), "", 255);
  if (!typed) return {};
  std::string folder = OutputFolder(filer, *typed);
  const std::string file = filer.listing().FullPath(filer.cursor());
  std::string names(kIshListSize, '\0');
  if (lib.Entry<IshFileListFn>("IshFileList")(file.c_str(), names.data(), kIshListSize) != 0) {
    host.Message(SJ("ISH データが含まれていません"), caption, Buttons::Ok);
    return {};
  }
  std::string command = "/f=" + CommandWord(folder) + " " + CommandWord(file);
  int result;
  {
    WaitCursor wait(host);
    result = lib.Entry<IshFn>("Ish")(nullptr, command.c_str());
  }
  if (result != 0) {
    host.Message(SJ("ISH ファイルの復元に失敗しました"), caption, Buttons::Ok);
    return {};
  }
  return Done(filer, folder, SJ("ISH ファイルを復元しました"), caption);
}

}  // namespace

std::unique_ptr<Library> LoadArchiver(Host& host, const ArchiverLibrary& which, std::string_view caption,
                                      std::initializer_list<const char*> entries) {
  std::unique_ptr<Library> lib = Library::Load(which.fileName);
  for (const char* e : entries)
    if (lib && !lib->Symbol(e)) lib.reset();  // not the library we expect
  if (!lib) host.Message(std::string(which.userName) + SJ(" が見つかりません"), caption, Buttons::Ok);
  return lib;
}

std::string ArchiveOutputFolder(std::string_view base, std::string typed) {
  TrimBlanks(typed, false);
  if (typed == " ") typed.clear();
  return typed.empty() ? std::string(base) : NormalizeFilerPath(base, typed);
}

ArchiveFolders& RememberedArchiveFolders() {
  static ArchiveFolders folders;
  return folders;
}

void RememberFirstFilerPath(std::string_view path) {
  ArchiveFolders& f = RememberedArchiveFolders();
  if (f.lhaArchive.empty()) f.lhaArchive = std::string(path);
  if (f.lhaUnpack.empty()) f.lhaUnpack = std::string(path);
}

std::vector<std::string> ParseLhaList(std::string_view output) {
  std::vector<std::string> lines;
  size_t start = output.find(" ----\n");
  if (start == std::string_view::npos) return lines;
  size_t pos = start + 6;
  while (pos < output.size()) {
    size_t lf = output.find('\n', pos);
    if (lf == std::string_view::npos || lf - pos + 1 > 82) break;
    std::string_view line = output.substr(pos, lf - pos + 1);
    pos = lf + 1;
    if (line.size() <= 9) continue;
    if (line.find("-------------") != std::string_view::npos) break;
    if (line.find("-lh") == std::string_view::npos) continue;
    std::string display(81, ' ');
    auto take = [&](size_t to, size_t from, size_t n) {
      for (size_t k = 0; k < n && from + k < line.size(); ++k) display[to + k] = line[from + k];
    };
    take(0, 0, 1);
    take(1, 2, 12);
    take(13, 16, 8);
    take(23, 41, 18);
    // A line shorter than the columns leaves its line feed inside; make it a blank.
    std::replace(display.begin(), display.end(), '\n', ' ');
    lines.push_back(std::move(display));
  }
  return lines;
}

std::vector<int> UnpackSelection(std::vector<int> chosen, int memberCount) {
  std::sort(chosen.begin(), chosen.end());
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  if (int(chosen.size()) >= memberCount || chosen.size() > 199) return {};
  return chosen;
}

FilerResult ArchiveCommand(FilerModel& filer, int id) {
  namespace c = filer_cmd;
  switch (id) {
    case c::kLhaCompress: return LhaCompress(filer);
    case c::kLhaUnpack: return LhaUnpack(filer);
    case c::kZipUnpack: return ZipUnpack(filer);
    case c::kIshConvert: return IshConvert(filer);
    case c::kIshRestore: return IshRestore(filer);
    default: return {};
  }
}

}  // namespace rkv
