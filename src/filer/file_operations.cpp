#include "filer/file_operations.h"

#include <optional>
#include <vector>

#include "core/cp932.h"
#include "core/files.h"
#include "core/paths.h"
#include "filer/transfer.h"
#include "platform/os.h"

namespace rkv {
namespace {

// The files an operation works on: the marked ones, or the cursor file.
// Empty when nothing is marked and the cursor stands on a directory.
std::vector<int> MarkedOrCursorFile(const FilerModel& filer) {
  const DirInfo& list = filer.listing();
  if (list.markCount() > 0) return list.MarkedIndices();
  if (list.count() == 0 || list.at(filer.cursor()).IsDirectory()) return {};
  return {filer.cursor()};
}

std::optional<std::string> AskDestination(FilerModel& filer, bool move) {
  Host& host = filer.host();
  std::optional<std::string> dest;
  if (move) {
    dest = host.AskText(SJ("ファイル・移動"), SJ("移動先ﾃﾞｨﾚｸﾄﾘ名を入力して下さい(ﾌﾙﾊﾟｽ)"), "", 79);
  } else {
    dest = host.AskPath(SJ("ファイル・コピー"), SJ("複写先ﾃﾞｨﾚｸﾄﾘ名を入力して下さい(ﾌﾙﾊﾟｽ)"), filer.DirectoryChoices());
  }
  if (!dest || dest->empty()) return std::nullopt;
  return NormalizeFilerPath(filer.path(), *dest);
}

bool DeleteFile(const std::string& path) {
  if (os::Stat(path).readOnly) os::ClearReadOnly(path);
  return os::Remove(path);
}

}  // namespace

bool IsPlainEntryName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

FilerResult CopyCommand(FilerModel& filer) {
  if (filer.listing().fileCount() == 0) return {};
  std::vector<int> files = MarkedOrCursorFile(filer);
  if (files.empty()) return {};
  Host& host = filer.host();
  const std::string& caption = SJ("ファイル・コピー");
  auto dest = AskDestination(filer, false);
  if (!dest) return {};
  host.Pump();
  if (!DirExists(*dest)) {
    host.Message(SJ("複写先パスが見つかりません"), caption, Buttons::Ok);
    return {};
  }
  int result = kTransferDone;
  for (int index : files) {
    result = Transfer(host, filer.listing().FullPath(index), *dest);
    if (result == kTransferFailed) break;
  }
  const std::string& text = result == kTransferDone       ? SJ("コピーを終了しました(^_^)")
                            : result == kTransferDeclined ? SJ("コピーを中断しました！")
                                                          : SJ("コピーに失敗しました！");
  host.Message(text, caption, Buttons::Ok);
  return {};
}

FilerResult MoveCommand(FilerModel& filer) {
  if (filer.listing().fileCount() == 0) return {};
  std::vector<int> files = MarkedOrCursorFile(filer);
  if (files.empty()) return {};
  bool marked = filer.listing().markCount() > 0;
  Host& host = filer.host();
  const std::string& caption = SJ("ファイル・移動");
  auto dest = AskDestination(filer, true);
  if (!dest) return {};
  host.Pump();
  if (!DirExists(*dest)) {
    host.Message(SJ("移動先パスが見つかりません"), caption, Buttons::Ok);
    return {};
  }
  int result = kTransferDone;
  int first = kTransferDone;
  for (size_t i = 0; i < files.size(); ++i) {
    result = MoveFile(host, filer.listing().FullPath(files[i]), *dest);
    if (i == 0) first = result;
    if (result == kTransferFailed) break;
  }
  host.Message(result == kTransferDone ? SJ("ファイル移動を終了しました(^_^)") : SJ("ファイル移動に失敗しました！"),
               caption, Buttons::Ok);
  if (marked && first != kTransferFailed) return filer.Reload(2);
  if (!marked && result == kTransferDone) return filer.Reload(1);
  return {};
}

FilerResult DeleteCommand(FilerModel& filer) {
  Host& host = filer.host();
  const std::string& caption = SJ("ファイル削除");
  if (filer.listing().fileCount() == 0) {
    host.Message(SJ("ファイルがありません"), caption, Buttons::Ok, BoxIcon::Information);
    return {};
  }
  std::vector<int> files = MarkedOrCursorFile(filer);
  if (files.empty()) return {};
  bool marked = filer.listing().markCount() > 0;
  if (host.Message(SJ("ファイルを削除します。よろしいですか？"), caption, Buttons::YesNo) != Answer::Yes) return {};
  bool anyGone = false;
  for (int index : files) anyGone = DeleteFile(filer.listing().FullPath(index)) || anyGone;
  if (!anyGone) return {};
  return filer.Reload(marked ? 2 : 1);
}

FilerResult DeleteBakCommand(FilerModel& filer) {
  DirInfo& list = filer.listing();
  list.ClearMarks();
  bool anyGone = false;
  for (int i = list.dirCount(); i < list.count(); ++i) {
    if (!SameNameNoCase(ExtensionOf(list.at(i).name), ".BAK")) continue;
    std::string path = list.FullPath(i);
    // Read-only files stay: this command never changes attributes.
    if (os::Stat(path).readOnly || !os::Remove(path)) continue;
    list.SetMark(i, true);
    anyGone = true;
  }
  if (!anyGone) return {};
  return filer.Reload(2);
}

FilerResult RenameCommand(FilerModel& filer) {
  Host& host = filer.host();
  const std::string& caption = SJ("ファイル・リネーム");
  if (filer.count() == 0) {
    host.Message(SJ("ファイルがありません"), caption, Buttons::Ok, BoxIcon::Information);
    return {};
  }
  auto target = filer.TakeSingleTarget();
  if (target.refused) {
    host.Message(SJ("複数ファイルの指定はできません"), caption, Buttons::Ok);
    return {};
  }
  FilerResult result = FilerResult::Repaint();  // a mark may have gone
  const std::string oldName = filer.listing().at(target.index).name;
  if (oldName == "..") return result;
  auto typed = host.AskText(caption, SJ("新ファイル名を入力して下さい"), oldName, 255);
  if (!typed || typed->empty()) return result;
  if (!IsPlainEntryName(*typed)) {
    host.Message(SJ("無効なファイル名です"), caption, Buttons::Ok);
    return result;
  }
  if (*typed == oldName) return result;
  // Never onto an existing name: a rename must not destroy another file.
  if (!os::RenameNoReplace(PathJoin(filer.path(), oldName), PathJoin(filer.path(), *typed))) {
    host.Message(SJ("リネームに失敗しました！"), caption, Buttons::Ok);
    return result;
  }
  return filer.Reread();
}

FilerResult MakeDirCommand(FilerModel& filer) {
  Host& host = filer.host();
  const std::string& caption = SJ("ディレクトリ作成");
  auto typed = host.AskText(caption, SJ("ディレクトリ名を入力して下さい"), "", 12);
  if (!typed || typed->empty()) return {};
  if (!IsPlainEntryName(*typed)) {
    host.Message(SJ("無効なパス名です"), caption, Buttons::Ok);
    return {};
  }
  if (!os::MakeDir(PathJoin(filer.path(), *typed))) {
    host.Message(SJ("ディレクトリ作成に失敗しました！"), caption, Buttons::Ok);
    return {};
  }
  return filer.Reload(2);
}

FilerResult RemoveDirCommand(FilerModel& filer) {
  const DirInfo& list = filer.listing();
  if (list.dirCount() == 0 || !list.at(filer.cursor()).IsDirectory()) return {};
  const std::string name = list.at(filer.cursor()).name;
  if (name == "..") return {};
  Host& host = filer.host();
  const std::string& caption = SJ("ディレクトリ削除");
  if (host.Message(name + SJ(" を削除します。よろしいですか？"), caption, Buttons::YesNo) != Answer::Yes) return {};
  if (!os::RemoveDir(PathJoin(filer.path(), name))) {
    host.Message(SJ("ディレクトリを削除できませんでした！"), caption, Buttons::Ok);
    return {};
  }
  return filer.Reload(1);
}

}  // namespace rkv
