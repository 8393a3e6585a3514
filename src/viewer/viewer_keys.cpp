#include "viewer/viewer_keys.h"

#include "app/command_ids.h"
#include "core/cp932.h"

namespace rkv {

int ViewerLetterCommand(int k) {
  switch (k) {
    case 'C':
      return cmd::VClipboard;
    case 'D':
      return cmd::VEditor;
    case 'E':
      return cmd::VEditorJump;
    case 'F':
      return cmd::VOutput;
    case 'H':
      return cmd::VId;
    case 'I':
      return cmd::IshRestore;
    case 'M':
      return cmd::VPadMail;
    case 'N':
      return cmd::VNormal;
    case 'P':
    case 'S':
      return cmd::VPadSay;
    case 'R':
      return cmd::VPadComment;
    case 'T':
      return cmd::VTree;
    default:
      return 0;
  }
}

const std::string& ViewerKeyHelpCaption() { return SJ("閲覧ウィンドウ・キー割り当て"); }

const std::string& ViewerKeyHelpText() {
  return SJ(
      "Ｃ: 発言をクリップボードへ　　Ｈｏｍｅ: 先頭ページへ\n"
      "Ｄ: エディタ呼び出し　　　　　　Ｅｎｄ: 末尾ページへ\n"
      "Ｅ: エディタ（タグジャンプ）　ＰｇＵｐ: 前ページ\n"
      "Ｆ: 発言のファイル出力　　　　ＰｇＤｎ: 次ページ\n"
      "Ｎ: ノーマルモードへ移動　　　　　　Ｂ: ＰｇＵｐに同じ\n"
      "Ｔ: コメントツリーモード　　　スペース: ＰｇＤｎに同じ\n"
      "Ｈ: ハンドル一覧モードへ　　　　　　　  タイトルのマーキング\n"
      "Ｐ: ＰＡＤ作成（新規発言）　　　↑／↓: 上下スクロール\n"
      "Ｓ: ＰＡＤ作成（新規発言）　Ｅｎｔｅｒ: 発言内容表示<=>タイトル表示\n"
      "Ｒ: ＰＡＤ作成（コメント）　　　ＥＳＣ: タイトル表示画面へ戻る\n"
      "Ｍ: ＰＡＤ作成（メール返信）　　　　　  子ウィンドウ閉じる\n"
      "Ｉ: ＩＳＨ復元\n");
}

std::vector<PopupItem> ViewerPopupMenu(const PopupContext& c, const RKVcfg& cfg) {
  std::vector<PopupItem> m;
  auto item = [&m](int id, const std::string& text, bool enabled = true) { m.push_back({id, text, enabled}); };
  auto separator = [&m] { m.push_back({}); };
  auto programs = [&] {
    for (int i = 0; i < 4; ++i) {
      const std::string& prg = cfg.Prg[static_cast<size_t>(i)];
      if (!prg.empty()) item(cmd::VProgram1 + i, prg);
    }
  };
  if (!c.messageView) {
    if (c.mode == 0) {
      item(cmd::VTree, SJ("コメントツリーモード"));
      item(cmd::VId, SJ("ＩＤモード"));
    } else if (c.mode == 1) {
      item(cmd::VId, SJ("ＩＤモード"));
      item(cmd::VNormal, SJ("ノーマルモードへ復帰"), false);
    } else {
      item(cmd::VTree, SJ("コメントツリーモード"));
      item(cmd::VNormal, SJ("ノーマルモードへ復帰"), false);
    }
    separator();
    if (c.hasTitles) {
      item(cmd::VClipboard, SJ("クリップボード転送"));
      item(cmd::VOutput, SJ("発言のファイル出力"));
      if (!cfg.Editor.empty()) {
        separator();
        item(cmd::VEditorJump, SJ("エディタ呼び出し"));
        item(cmd::VEditorCut, SJ("切出し＋エディタ呼び出し"));
      }
      programs();
      separator();
      item(cmd::VPadSay, SJ("PAD: 発言作成"));
      item(cmd::VPadComment, SJ("PAD: コメント"));
      item(cmd::VPadMail, SJ("PAD: メール"));
      separator();
    }
    item(cmd::VTitleInfo, SJ("タイトル情報"));
    separator();
    item(cmd::Close, SJ("閉じる"));
    return m;
  }
  item(cmd::VClipboard, SJ("クリップボード転送"));
  item(cmd::Print, SJ("印 刷"));
  if (!cfg.Editor.empty()) {
    item(cmd::VEditorJump, SJ("エディタ呼び出し"));
    item(cmd::VEditorCut, SJ("切出し＋エディタ呼び出し"));
    programs();
  }
  if (c.conferenceMessage) {
    separator();
    item(cmd::VPadSay, SJ("PAD: 発言作成"));
    item(cmd::VPadComment, SJ("PAD: コメント"));
    item(cmd::VPadMail, SJ("PAD: メール"));
  } else if (c.mailMessage) {
    separator();
    item(cmd::VPadMail, SJ("PAD: メール"));
  }
  if (c.conferenceMessage || c.mailMessage) item(cmd::IshRestore, SJ("ISH 復元"));
  if (c.gameRecord) {
    separator();
    item(cmd::VGameRecord, SJ("棋譜: クリップボード転送"));
  }
  separator();
  item(cmd::Close, SJ("閉じる"));
  return m;
}

}  // namespace rkv
