#include "filer/path_commands.h"

#include "core/cp932.h"
#include "core/files.h"
#include "core/paths.h"

namespace rkv {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string MapDriveAlone(std::string_view typed) {
  if (typed.size() == 2 && IsAsciiLetter(typed[0]) && typed[1] == ':') return "/";
  return std::string(typed);
}

FilerResult ChangePathCommand(FilerModel& filer) {
  Host& host = filer.host();
  // There is no drive letter here: the title names the whole current path.
  std::string title = SJ("パス変更(ｶﾚﾝﾄﾊﾟｽ= ") + filer.path() + ")";
  auto typed = host.AskPath(title, SJ("移動先パス名を入力して下さい"), filer.DirectoryChoices());
  if (!typed || typed->empty()) return {};
  std::string wanted = MapDriveAlone(*typed);
  // A name part with "*" is a mask; its folder must exist.
  std::string folder = FileNamePart(wanted).find('*') != std::string::npos ? DirPart(wanted) : wanted;
  if (!DirExists(NormalizeFilerPath(filer.path(), folder))) {
    host.Message(SJ("指定パスが見つかりません"), *typed, Buttons::Ok);
    return {};
  }
  return filer.GoTo(wanted);
}

FilerResult ChangeMaskCommand(FilerModel& filer) {
  auto typed = filer.host().AskText(SJ("パスマスク(") + filer.listing().mask() + ")", SJ("パスマスクを入力して下さい"),
                                    "", 11);
  if (!typed || typed->empty() || (*typed)[0] == ' ') return {};
  filer.listing().SetMask(*typed);
  return filer.Reload(0);
}

}  // namespace rkv
