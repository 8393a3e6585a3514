#include "app/menu_model.h"

#include <map>

#include "app/command_ids.h"
#include "core/cp932.h"
#include "settings/settings.h"

namespace rkv {
namespace {

MenuItem Item(int id, const std::string& text) { return MenuItem{id, text, {}, {}}; }
MenuItem Separator() { return MenuItem{}; }

Menu FileMenu(const RKVcfg& cfg) {
  Menu m{SJ("ﾌｧｲﾙ(&F)"), {}};
  m.items = {Item(cmd::OpenLog, SJ("ログファイル閲覧(&L)...")),
             Item(cmd::OpenConference, SJ("会議室ファイル閲覧(&V)...")),
             Item(cmd::OpenMail, SJ("メールファイル閲覧(&M)...")),
             Separator(),
             Item(cmd::DivideLog, SJ("ログ分割(&D)...")),
             Separator(),
             Item(cmd::Print, SJ("印刷(&P)...")),
             Separator(),
             Item(cmd::LogFiler, SJ("ファイラー(&F)")),
             Item(cmd::MailFiler, SJ("ファイラー(ﾒｰﾙﾃﾞｨﾚｸﾄﾘ)")),
             Item(cmd::ConferenceFiler, SJ("会議室用ﾌｧｲﾗｰ(&C)")),
             Separator(),
             Item(cmd::Exit, SJ("終 了(&X)"))};
  bool any = false;
  for (const auto& name : cfg.CnfName) any = any || !name.empty();
  if (any) {
    m.items.push_back(Separator());
    for (int i = 0; i < 5; ++i) {
      const std::string& name = cfg.CnfName[static_cast<size_t>(i)];
      if (!name.empty()) m.items.push_back(Item(cmd::RegisteredConference1 + i, name));
    }
  }
  return m;
}

Menu EditMenu() {
  return Menu{SJ("編集(&E)"),
              {Item(cmd::EditClipboard, SJ("クリップボード転送")),
               Item(cmd::EditOutput, SJ("発言のファイル出力...")),
               Item(cmd::EditSearchOutput, SJ("検索後ファイル出力...")),
               Separator(),
               Item(cmd::SplitConference, SJ("会議室ファイル二分割...")),
               Item(cmd::SortMessages, SJ("発言並べ替え...")),
               Separator(),
               Item(cmd::EditSelectAll, SJ("全選択")),
               Item(cmd::EditSelectNone, SJ("全解除")),
               Item(cmd::EditInvert, SJ("選択反転")),
               Separator(),
               Item(cmd::EditPadSay, SJ("PAD: 発言...")),
               Item(cmd::EditPadComment, SJ("PAD: コメント...")),
               Item(cmd::EditPadMail, SJ("PAD: メール...")),
               Separator(),
               Item(cmd::IshRestore, SJ("ISH 復元(&I)..."))}};
}

// Display and Tools entries are addressed by position, so they hold no separators.
Menu DisplayMenu() {
  return Menu{SJ("表示(&D)"),
              {Item(cmd::ToolBarToggle, SJ("ツールバー表示On/Off")), Item(cmd::DisplayNormal, SJ("ノーマル表示(&N)")),
               Item(cmd::DisplayTree, SJ("コメントツリー(&C)")), Item(cmd::DisplayId, SJ("ＩＤ表示(&I)")),
               Item(cmd::Top, SJ("先頭へ(&T)")), Item(cmd::End, SJ("末尾へ(&B)")),
               Item(cmd::NextPage, SJ("次ページへ")), Item(cmd::PreviousPage, SJ("前ページへ"))}};
}

Menu FilerMenu() {
  MenuItem sort{0, "", SJ("ソート..."), {}};
  sort.children = {Item(cmd::SortNameUp, SJ("名前正順")),  Item(cmd::SortNameDown, SJ("名前逆順")),
                   Item(cmd::SortExtUp, SJ("拡張子正順")), Item(cmd::SortExtDown, SJ("拡張子逆順")),
                   Item(cmd::SortNewest, SJ("新らしい順")), Item(cmd::SortOldest, SJ("古い順")),
                   Item(cmd::SortSizeDown, SJ("大きい順")), Item(cmd::SortSizeUp, SJ("小さい順"))};
  return Menu{SJ("ﾌｧｲﾗｰ操作(&C)"),
              {Item(cmd::FilerView, SJ("ファイル閲覧(&V)")),
               Item(cmd::FilerDivide, SJ("ログ分割")),
               Item(cmd::FilerReload, SJ("ﾃﾞｨﾚｸﾄﾘ情報再読込み(&G)")),
               Separator(),
               Item(cmd::FilerCopy, SJ("コピー(&C)...")),
               Item(cmd::FilerMove, SJ("移動(&M)...")),
               Item(cmd::FilerDelete, SJ("削除(&D)")),
               Item(cmd::FilerRename, SJ("リネーム(&R)...")),
               Item(cmd::FilerMakeDir, SJ("ディレクトリ作成(&M)...")),
               Item(cmd::FilerRemoveDir, SJ("ディレクトリ削除(&O)")),
               Item(cmd::FilerDeleteBak, SJ("*.BAK 削除(&B)")),
               Separator(),
               sort,
               Separator(),
               Item(cmd::AppendFileToFile, SJ("ﾌｧｲﾙ→別ﾌｧｲﾙへ追加(&F7)...")),
               Item(cmd::FileToClipboard, SJ("クリップボード転送(&F8)")),
               Item(cmd::AppendClipboardToFile, SJ("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ→ﾌｧｲﾙ追加(&F9)")),
               Separator(),
               Item(cmd::LhaPack, SJ("LHA圧縮(&P)...")),
               Item(cmd::LhaUnpack, SJ("LHA解凍(&U)...")),
               Item(cmd::ZipUnpack, SJ("ZIP解凍(&Z)...")),
               Item(cmd::IshConvert, SJ("ISH変換...")),
               Item(cmd::IshRestoreFiler, SJ("ISH復元(&I)...")),
               Separator(),
               Item(cmd::RunCommand, SJ("ｺﾏﾝﾄﾞを指定して実行(&H)..."))}};
}

const std::string& NotRegistered() { return SJ("プログラム未登録"); }

Menu ToolsMenu() {
  Menu m{SJ("ﾂｰﾙ(&T)"), {Item(cmd::ToolsEditor, SJ("エディタ呼出し"))}};
  const char* digits[] = {"１", "２", "３", "４", "５", "６", "７", "８"};
  for (int i = 0; i < 8; ++i) {
    m.items.push_back(Item(cmd::ToolsProgram1 + i, cp932::FromUtf8(std::string("外部プログラム") + digits[i])));
  }
  return m;
}

Menu OptionsMenu() {
  return Menu{SJ("ｵﾌﾟｼｮﾝ(&O)"),
              {Item(cmd::OptDirectories, SJ("ディレクトリ設定(&D)...")),
               Item(cmd::OptMasks, SJ("パスマスク設定(&E)...")),
               Item(cmd::OptPrograms, SJ("外部プログラム登録(&X)...")),
               Item(cmd::OptConferenceNames, SJ("会議室ファイル名登録...")),
               Item(cmd::OptPad, SJ("ＰＡＤコマンド設定(&P)...")),
               Item(cmd::OptWindowMode, SJ("動作モード(&M)...")),
               Item(cmd::OptFilerDisplay, SJ("ファイラー表示設定...")),
               Item(cmd::OptDivision, SJ("ログ分割オプション(&L)...")),
               Separator(),
               Item(cmd::OptBackColor, SJ("背景色設定(&B)...")),
               Item(cmd::OptFilerBackColor, SJ("ファイラー背景色(&C)...")),
               Item(cmd::OptFont, SJ("フォント選択(&F)...")),
               Item(cmd::OptFilerFont, SJ("ファイラーフォント選択..."))}};
}

Menu WindowMenu() {
  return Menu{SJ("ｳｨﾝﾄﾞｳ(&W)"),
              {Item(cmd::Cascade, SJ("重ねて表示(&C)")), Item(cmd::Tile, SJ("並べて表示(&T)")),
               Item(cmd::ArrangeIcons, SJ("アイコンの整列(&I)")), Item(cmd::CloseAll, SJ("すべて閉じる(&L)")),
               Separator(), Item(cmd::SaveChildSizes, SJ("子ｳｨﾝﾄﾞｳ･ｻｲｽﾞ保存(&S)"))}};
}

Menu HelpMenu() {
  return Menu{SJ("ﾍﾙﾌﾟ(&H)"),
              {Item(cmd::HelpContents, SJ("ヘルプの目次(&C)")), Item(cmd::About, SJ("ＲＫＶについて(&A)..."))}};
}

}  // namespace

std::vector<Menu> BuildMenuBar(const RKVcfg& cfg) {
  return {FileMenu(cfg), EditMenu(), DisplayMenu(), FilerMenu(), ToolsMenu(), OptionsMenu(), WindowMenu(),
          HelpMenu()};
}

ChildKind KindFromClassName(std::string_view className) {
  if (className.find("Filer") != std::string_view::npos) return ChildKind::Filer;
  if (className.find("Viewer") != std::string_view::npos) return ChildKind::Viewer;
  return ChildKind::Other;
}

void ApplyMenuRules(int index, std::vector<ItemState>& items, const ActiveChild& child, const RKVcfg& cfg) {
  bool viewer = child.kind == ChildKind::Viewer;
  switch (index) {
    case kFileMenu:
      for (auto& it : items) {
        if (it.id == cmd::Print) it.enabled = viewer && child.messageViewOpen;
      }
      break;
    case kEditMenu:
      for (auto& it : items) it.enabled = viewer;
      break;
    case kDisplayMenu:
      for (size_t i = 0; i < items.size(); ++i) items[i].enabled = i == 0;
      if (viewer && !child.messageViewOpen) {
        for (size_t i = 0; i < items.size(); ++i) {
          items[i].enabled = true;
          items[i].checked = static_cast<int>(i) == child.displayMode + 1;
        }
      }
      break;
    case kFilerMenu:
      for (auto& it : items) it.enabled = child.kind == ChildKind::Filer;
      break;
    case kToolsMenu:
      for (size_t i = 0; i < items.size(); ++i) {
        items[i].enabled = false;
        if (i == 0) {
          items[i].enabled = !cfg.Editor.empty();
        } else if (i <= 8) {
          const std::string& prg = cfg.Prg[i - 1];
          items[i].id = cmd::ToolsProgram1 + static_cast<int>(i) - 1;
          items[i].text = prg.empty() ? NotRegistered() : prg;
          items[i].enabled = !prg.empty();
        }
      }
      break;
    default:
      break;
  }
}

const std::vector<ToolButton>& ToolBarButtons() {
  static const std::vector<ToolButton> buttons = {
      {cmd::Exit, 400, SJ("ＲＫＶを終了します")},
      {cmd::LogFiler, 401, SJ("ファイラーを起動します(ログディレクトリ)")},
      {cmd::MailFiler, 402, SJ("ファイラーを起動します(メールディレクトリ)")},
      {cmd::ConferenceFiler, 403, SJ("会議室ファイル専用ファイラーの起動")},
      {cmd::FDivide, 405, SJ("ログファイルを分割します")},
      {0, 0, ""},
      {cmd::VNormal, 420, SJ("ノーマル表示")},
      {cmd::VTree, 421, SJ("コメントツリー表示")},
      {cmd::VId, 422, SJ("ＩＤ(ハンドル)別表示")},
      {cmd::Top, 423, SJ("先頭へジャンプ")},
      {cmd::End, 424, SJ("末尾へジャンプ")},
      {cmd::NextPage, 430, SJ("次ページを表示")},
      {cmd::PreviousPage, 431, SJ("前ページを表示")},
      {0, 0, ""},
      {cmd::VClipboard, 433, SJ("クリップボードへコピー")},
      {0, 0, ""},
      {cmd::ToolsEditor, 404, SJ("エディタの起動")},
      {cmd::VPadSay, 425, SJ("ＰＡＤ編集(発言)")},
      {cmd::VPadComment, 426, SJ("ＰＡＤ編集(コメント)")},
      {cmd::VPadMail, 427, SJ("ＰＡＤ編集(返信メール)")},
  };
  return buttons;
}

bool ButtonEnabled(int command, const ActiveChild& child) {
  switch (command) {
    case cmd::Exit:
    case cmd::LogFiler:
    case cmd::MailFiler:
    case cmd::ConferenceFiler:
    case cmd::ToolsEditor:
      return true;  // the client handles these
    case cmd::FDivide:
      return child.kind == ChildKind::Filer;
    case cmd::Top:
    case cmd::End:
      return child.kind == ChildKind::Filer || child.kind == ChildKind::Viewer;
    default:
      return child.kind == ChildKind::Viewer;
  }
}

std::optional<std::string> MenuHint(int id) {
  for (const ToolButton& b : ToolBarButtons()) {
    if (b.command == id && b.command != 0) {
      switch (id) {
        case cmd::LogFiler:
        case cmd::MailFiler:
        case cmd::ConferenceFiler:
        case cmd::Exit:
        case cmd::Top:
        case cmd::End:
        case cmd::NextPage:
        case cmd::PreviousPage:
        case cmd::ToolsEditor:
          return b.hint;
        default:
          return std::nullopt;
      }
    }
  }
  return std::nullopt;
}

std::optional<int> ForwardedId(int clientId) {
  static const std::map<int, int> forward = {
      {cmd::Print, cmd::Print},
      {cmd::EditClipboard, cmd::VClipboard},
      {cmd::EditOutput, cmd::VOutput},
      {cmd::EditSearchOutput, cmd::VSearch},
      {cmd::EditSelectAll, cmd::VSelectAll},
      {cmd::EditSelectNone, cmd::VSelectNone},
      {cmd::EditInvert, cmd::VInvert},
      {cmd::EditPadSay, cmd::VPadSay},
      {cmd::EditPadComment, cmd::VPadComment},
      {cmd::EditPadMail, cmd::VPadMail},
      {cmd::DisplayNormal, cmd::VNormal},
      {cmd::DisplayTree, cmd::VTree},
      {cmd::DisplayId, cmd::VId},
      {cmd::FilerView, cmd::FView},
      {cmd::FilerDivide, cmd::FDivide},
      {cmd::FilerReload, cmd::FReload},
      {cmd::FilerCopy, cmd::FCopy},
      {cmd::FilerMove, cmd::FMove},
      {cmd::FilerDelete, cmd::FDelete},
      {cmd::FilerRename, cmd::FRename},
      {cmd::FilerMakeDir, cmd::FMakeDir},
      {cmd::FilerRemoveDir, cmd::FRemoveDir},
      {cmd::FilerDeleteBak, cmd::FDeleteBak},
  };
  auto it = forward.find(clientId);
  if (it == forward.end()) return std::nullopt;
  return it->second;
}

}  // namespace rkv
