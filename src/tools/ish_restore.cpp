#include "tools/ish_restore.h"

#include "core/cp932.h"
#include "core/files.h"
#include "core/paths.h"
#include "filer/archive_bridge.h"
#include "filer/filer_programs.h"
#include "platform/os.h"

namespace rkv {

void IshRestoreMessage(Host& host, const std::vector<std::string>& lines, std::string_view viewedFile) {
  const std::string caption = SJ("ISH ファイル復元");
  auto lib = LoadArchiver(host, kIshLib, caption, {"Ish", "IshGetVersion", "IshFileList"});
  if (!lib) return;
  const std::string proposed = DirPart(viewedFile);
  auto typed = host.AskText(caption, SJ("ISH ファイル復元先"), proposed, 256);
  if (!typed) return;
  const std::string folder = ArchiveOutputFolder(proposed, *typed);
  const std::string temp = PathJoin(folder, kIshTempName);
  auto out = Stream::Open(temp, "wt");
  if (!out) return;
  for (const std::string& line : lines)
    if (!out->Write(line) || !out->Write("\n")) break;
  out->Close();
  int result;
  {
    WaitCursor wait(host);
    std::string command = CommandWord(temp) + " /f=" + CommandWord(folder);
    result = lib->Entry<IshFn>("Ish")(nullptr, command.c_str());
  }
  host.Message(result == 0 ? SJ("ISH ファイルを復元しました") : SJ("ISH ファイルの復元に失敗しました"), caption,
               Buttons::Ok);
  os::Remove(temp);
}

}  // namespace rkv
