#include "filer/clipboard_operations.h"

#include <cstdio>

#include "core/cp932.h"
#include "core/files.h"
#include "core/sjis.h"
#include "platform/os.h"

namespace rkv {
namespace {

constexpr size_t kAppendBlock = 512;

// The file a command works on by the single-file rule; nothing (after the
// message) when the listing is empty, several files are marked or the target
// is a directory.
std::optional<std::string> SingleFile(FilerModel& filer, const std::string& caption) {
  Host& host = filer.host();
  if (filer.count() == 0) {
    host.Message(SJ("ファイルがありません"), caption, Buttons::Ok, BoxIcon::Information);
    return std::nullopt;
  }
  auto target = filer.TakeSingleTarget();
  if (target.refused || target.index < 0 || target.directory) {
    host.Message(SJ("ファイルの指定が間違っています"), caption, Buttons::Ok);
    return std::nullopt;
  }
  return filer.listing().FullPath(target.index);
}

bool SameFile(std::string_view a, std::string_view b) {
  os::FileStat x = os::Stat(a), y = os::Stat(b);
  return x.exists && y.exists && x.device == y.device && x.inode == y.inode;
}

// Appends the source in text mode; on any failure the target is cut back to
// its old length (or removed when this made it), never left half-appended.
bool AppendText(std::string_view source, std::string_view target) {
  auto in = OpenTextRead(source);
  if (!in) return false;
  os::FileStat before = os::Stat(target);
  auto out = OpenTextUpdate(target);
  if (!out) return false;
  bool ok = out->Seek(0, SEEK_END);
  char block[kAppendBlock];
  size_t got;
  while (ok && (got = in->Read(block, sizeof block)) > 0) ok = out->Write(std::string_view(block, got));
  ok = ok && !in->Failed();
  ok = out->Close() && ok;
  if (!ok) before.exists ? os::Truncate(target, before.size) : os::Remove(target);
  return ok;
}

// Appends bytes to an existing file, undoing a partial write.
bool AppendBytes(std::string_view target, std::string_view bytes) {
  int64_t oldSize = os::Stat(target).size;
  auto out = Stream::Open(target, "r+b");
  if (!out) return false;
  bool ok = out->Seek(0, SEEK_END) && out->Write(bytes);
  ok = out->Close() && ok;
  if (!ok) os::Truncate(target, oldSize);
  return ok;
}

}  // namespace

FilerResult AppendFileCommand(FilerModel& filer) {
  const std::string& caption = SJ("ファイルを別ファイルへ追加");
  Host& host = filer.host();
  auto source = SingleFile(filer, caption);
  if (!source) return FilerResult::Repaint();
  OpenFileRequest request;
  request.title = SJ("選択ファイルを追加するファイル：");
  request.filters = {{SJ("すべてのﾌｧｲﾙ (*.*)"), "*.*"}};
  request.initialDirectory = filer.cfg().EtcDir;
  request.mustExist = false;  // the folder must exist; a new file is created
  auto target = host.AskOpenFile(request);
  if (!target || target->empty()) return FilerResult::Repaint();
  // Appending a file to itself would read what it writes without end.
  if (SameFile(*source, *target)) {
    host.Message(SJ("ファイルの指定が間違っています"), caption, Buttons::Ok);
    return FilerResult::Repaint();
  }
  bool ok = AppendText(*source, *target);
  host.Message(ok ? SJ("ファイル追加を終了しました") : SJ("ファイル追加に失敗しました！"), caption, Buttons::Ok);
  return filer.Reread();
}

FilerResult AppendClipboardCommand(FilerModel& filer) {
  const std::string& caption = SJ("クリップボードデータの追加");
  Host& host = filer.host();
  if (host.Message(SJ("クリップボードの内容を選択ファイルに追加します"), caption, Buttons::YesNo) != Answer::Yes) {
    return {};
  }
  auto target = SingleFile(filer, caption);
  if (!target) return FilerResult::Repaint();
  auto text = host.Clipboard();
  if (!text) return FilerResult::Repaint();
  bool ok = AppendBytes(*target, UpToNul(*text));
  host.Message(ok ? SJ("クリップボードデータを追加しました") : SJ("クリップボードデータの追加に失敗しました！"), caption,
               Buttons::Ok);
  return filer.Reread();
}

FilerResult FileToClipboardCommand(FilerModel& filer) {
  const std::string& caption = SJ("クリップボード転送");
  Host& host = filer.host();
  if (host.Message(SJ("選択ファイルをクリップボードへ転送します"), caption, Buttons::YesNo) != Answer::Yes) return {};
  auto source = SingleFile(filer, caption);
  if (!source) return FilerResult::Repaint();
  auto bytes = ReadWholeFile(*source);
  // The clipboard holds text: it ends at the first NUL, as it always did.
  bool ok = bytes && host.SetClipboard(UpToNul(*bytes));
  host.Message(ok ? SJ("クリップボードへ転送しました") : SJ("クリップボード転送に失敗しました！"), caption, Buttons::Ok);
  return FilerResult::Repaint();
}

}  // namespace rkv
