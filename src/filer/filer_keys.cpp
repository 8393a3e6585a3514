#include "filer/filer_keys.h"

#include "core/cp932.h"
#include "filer/filer_commands.h"

namespace rkv {

FilerKey FilerKeyBinding(int key) {
  using A = KeyAction;
  namespace c = filer_cmd;
  if (key >= '0' && key <= '6') return {A::ListDir, key - '0'};
  if (key >= vk::kNumpad0 && key <= vk::kNumpad0 + 6) return {A::ListDir, key - vk::kNumpad0};
  switch (key) {
    case vk::kBack: return {A::Parent};
    case vk::kEnter: return {A::Open};
    case vk::kSpace: return {A::MarkDown};
    case vk::kDown: return {A::Down};
    case vk::kUp: return {A::Up};
    case vk::kLeft: return {A::PageTop};
    case vk::kPageUp: return {A::PageUp};
    case vk::kPageDown: return {A::PageDown};
    case vk::kHome: return {A::Home};
    case vk::kEnd: return {A::End};
    case vk::kDelete:
    case 'D': return {A::Command, c::kDelete};
    case 'B': return {A::Command, c::kDeleteBak};
    case 'C': return {A::Command, c::kCopy};
    case 'E': return {A::Command, c::kEditor};
    case 'G':
    case vk::kF5: return {A::Command, c::kReread};
    case 'H':
    case 'Z': return {A::Command, c::kRunCommand};
    case 'I': return {A::Command, c::kIshRestore};
    case 'K': return {A::Command, c::kMakeDir};
    case 'L': return {A::Button, c::kButtonPath};
    case 'M': return {A::Command, c::kMove};
    case 'O': return {A::Command, c::kRemoveDir};
    case 'P': return {A::Command, c::kLhaCompress};
    case 'R':
    case vk::kF2: return {A::Command, c::kRename};
    case 'S':
    case 'V': return {A::Command, c::kView};
    case 'U': return {A::Command, c::kLhaUnpack};
    case 'W': return {A::Button, c::kButtonMask};
    case 'X': return {A::RunFile};
    case vk::kYen: return {A::Root};
    case vk::kF1: return {A::Help};
    case vk::kF7: return {A::Command, c::kAppendFile};
    case vk::kF8: return {A::Command, c::kFileToClipboard};
    case vk::kF9: return {A::Command, c::kAppendClipboard};
    default: return {};
  }
}

const std::string& FilerKeyHelpCaption() { return SJ("ファイラーキー割り当て"); }

const std::string& FilerKeyHelpText() {
  return SJ(
      "Ａ: ファイル属性変更（未実装）\t  Ｖ: 簡易ビューア(未実装)\n"
      "Ｂ: ＊．ＢＡＫ削除　　　　　　\t  Ｗ: パスマスク入力\n"
      "Ｃ: ファイルコピー　　　　　　\t  Ｘ: コマンド直接実行\n"
      "Ｄ: ファイル削除(DEL) 　　　　\t  ０: 最初のディレクトリへ移動\n"
      "Ｅ: エディタ呼び出し　　　　　\t  ￥: ルートディレクトリへ移動\n"
      "Ｇ: ファイル情報更新(F5)　　　\t  BS: 親ディレクトリへ移動\n"
      "Ｈ: コマンド指定実行　　　　　\tHOME: 先頭ページ\n"
      "Ｉ: ＩＳＨ復元　　　　　　　　\t END: 最終ページ\n"
      "Ｋ: ディレクトリ作成　　　　　\tPgUp: 前ページ\n"
      "Ｌ: パス名変更　　　　　　　　\tPgDn: 次ページ\n"
      "Ｍ: ファイル移動　　　　　　　\t↑↓: 上下スクロール\n"
      "Ｏ: ディレクトリ削除　　　　　\t  ←: 反転表示を現在ページへ\n"
      "Ｒ: ファイル名変更　　　　　　\t  SP: ファイルのマーキング\n"
      "Ｐ: ＬＨＡ圧縮　　　　　　　　\t ENT: 閲覧ウィンドウのオープン\n"
      "Ｕ: ＬＨＡ全解凍　　　　　　　　　  外部プログラムの起動\n"
  );
}

std::vector<FilerMenuItem> FilerPopupMenu(const RKVcfg& cfg) {
  namespace c = filer_cmd;
  const FilerMenuItem separator{};
  std::vector<FilerMenuItem> menu = {
      {c::kView, SJ("ファイル閲覧")},
      separator,
      {c::kDivide, SJ("ログファイル分割")},
      separator,
      {c::kReread, SJ("ﾃﾞｨﾚｸﾄﾘ情報再読込み")},
      separator,
      {c::kCopy, SJ("コピー")},
      {c::kMove, SJ("移動")},
      {c::kDelete, SJ("削除")},
      {c::kDeleteBak, SJ("*.BAK 削除")},
      {c::kRename, SJ("リネーム")},
      {c::kMakeDir, SJ("ディレクトリ作成")},
      {c::kRemoveDir, SJ("ディレクトリ削除")},
  };
  if (!cfg.Editor.empty()) {
    menu.push_back(separator);
    menu.push_back({c::kEditor, SJ("エディタ起動")});
  }
  for (int i = 0; i < 8; ++i) {
    if (!cfg.Prg[static_cast<size_t>(i)].empty()) menu.push_back({c::kProgram1 + i, cfg.Prg[static_cast<size_t>(i)]});
  }
  menu.push_back(separator);
  menu.push_back({c::kClose, SJ("閉じる")});
  return menu;
}

}  // namespace rkv
