#include "app/menu_model.h"

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "settings/settings.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;

std::vector<ItemState> States(const Menu& m) {
  std::vector<ItemState> out;
  for (const MenuItem& it : m.items) out.push_back(ItemState{it.id, it.text, true, false, !it.submenu.empty()});
  return out;
}

std::vector<int> Ids(const Menu& m) {
  std::vector<int> ids;
  for (const MenuItem& it : m.items) {
    if (!it.IsSeparator() && it.submenu.empty()) ids.push_back(it.id);
  }
  return ids;
}

TEST(MenuBar, TitlesAndOrder) {
  RKVcfg cfg;
  auto bar = BuildMenuBar(cfg);
  ASSERT_EQ(bar.size(), 8u);
  const char* titles[] = {"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&D)", "ﾌｧｲﾗｰ操作(&C)", "ﾂｰﾙ(&T)", "ｵﾌﾟｼｮﾝ(&O)", "ｳｨﾝﾄﾞｳ(&W)", "ﾍﾙﾌﾟ(&H)"};
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(bar[i].title, Sj(titles[i]));
  EXPECT_EQ(Ids(bar[kFileMenu]), (std::vector<int>{101, 103, 104, 102, 108, 105, 106, 107, 109}));
  EXPECT_EQ(Ids(bar[kEditMenu]), (std::vector<int>{130, 131, 132, 140, 141, 133, 134, 135, 136, 137, 138, 139}));
  EXPECT_EQ(Ids(bar[kDisplayMenu]), (std::vector<int>{151, 152, 153, 154, 155, 156, 162, 163}));
  EXPECT_EQ(Ids(bar[kFilerMenu]),
            (std::vector<int>{170, 171, 110, 172, 174, 173, 175, 177, 178, 181, 191, 193, 192, 182, 183, 187, 184,
                              185, 190}));
  EXPECT_EQ(Ids(bar[kToolsMenu]), (std::vector<int>{200, 201, 202, 203, 204, 205, 206, 207, 208}));
  EXPECT_EQ(Ids(bar[kOptionsMenu]),
            (std::vector<int>{220, 222, 221, 224, 223, 225, 232, 227, 228, 229, 230, 231}));
  EXPECT_EQ(Ids(bar[kWindowMenu]), (std::vector<int>{24361, 24362, 24364, 24365, 161}));
  EXPECT_EQ(Ids(bar[kHelpMenu]), (std::vector<int>{500, 501}));
  EXPECT_EQ(bar[kFileMenu].items[0].text, Sj("ログファイル閲覧(&L)..."));
  EXPECT_EQ(bar[kToolsMenu].items[8].text, Sj("外部プログラム８"));
  EXPECT_EQ(bar[kHelpMenu].items[1].text, Sj("ＲＫＶについて(&A)..."));
  // The sort submenu holds the eight orders.
  const MenuItem* sort = nullptr;
  for (const MenuItem& it : bar[kFilerMenu].items) {
    if (!it.submenu.empty()) sort = &it;
  }
  ASSERT_NE(sort, nullptr);
  EXPECT_EQ(sort->submenu, Sj("ソート..."));
  ASSERT_EQ(sort->children.size(), 8u);
  EXPECT_EQ(sort->children[4].id, 517);
  EXPECT_EQ(sort->children[4].text, Sj("新らしい順"));
}

TEST(MenuBar, RegisteredConferenceNames) {
  RKVcfg cfg;
  auto none = BuildMenuBar(cfg)[kFileMenu];
  EXPECT_EQ(none.items.back().id, cmd::Exit);  // no separator, no extra items
  cfg.CnfName[2] = "/cnf/ROOM_05.CNF";
  auto one = BuildMenuBar(cfg)[kFileMenu];
  ASSERT_GE(one.items.size(), 2u);
  EXPECT_TRUE(one.items[one.items.size() - 2].IsSeparator());
  EXPECT_EQ(one.items.back().id, 117);
  EXPECT_EQ(one.items.back().text, "/cnf/ROOM_05.CNF");
}

TEST(MenuRules, EditAndFileFollowTheActiveViewer) {
  RKVcfg cfg;
  auto bar = BuildMenuBar(cfg);
  for (ChildKind kind : {ChildKind::None, ChildKind::Filer, ChildKind::Other}) {
    auto edit = States(bar[kEditMenu]);
    ApplyMenuRules(kEditMenu, edit, ActiveChild{kind}, cfg);
    for (auto& it : edit) EXPECT_FALSE(it.enabled);
  }
  for (bool open : {false, true}) {
    auto edit = States(bar[kEditMenu]);
    ApplyMenuRules(kEditMenu, edit, ActiveChild{ChildKind::Viewer, 0, open}, cfg);
    for (auto& it : edit) EXPECT_TRUE(it.enabled);
    auto file = States(bar[kFileMenu]);
    ApplyMenuRules(kFileMenu, file, ActiveChild{ChildKind::Viewer, 0, open}, cfg);
    for (auto& it : file) EXPECT_EQ(it.enabled, it.id == cmd::Print ? open : true) << it.id;
  }
}

TEST(MenuRules, DisplayChecksTheModeOnlyWithTheTitleList) {
  RKVcfg cfg;
  auto bar = BuildMenuBar(cfg);
  auto display = States(bar[kDisplayMenu]);
  ApplyMenuRules(kDisplayMenu, display, ActiveChild{ChildKind::Viewer, 1, false}, cfg);
  for (size_t i = 0; i < display.size(); ++i) {
    EXPECT_TRUE(display[i].enabled);
    EXPECT_EQ(display[i].checked, i == 2) << i;  // コメントツリー(&C)
  }
  ApplyMenuRules(kDisplayMenu, display, ActiveChild{ChildKind::Viewer, 1, true}, cfg);
  for (size_t i = 0; i < display.size(); ++i) EXPECT_EQ(display[i].enabled, i == 0) << i;
  ApplyMenuRules(kDisplayMenu, display, ActiveChild{ChildKind::Filer}, cfg);
  for (size_t i = 0; i < display.size(); ++i) EXPECT_EQ(display[i].enabled, i == 0) << i;
}

TEST(MenuRules, FilerMenuOnlyForFilers) {
  RKVcfg cfg;
  auto bar = BuildMenuBar(cfg);
  auto filer = States(bar[kFilerMenu]);
  ApplyMenuRules(kFilerMenu, filer, ActiveChild{ChildKind::Filer}, cfg);
  for (auto& it : filer) EXPECT_TRUE(it.enabled);
  ApplyMenuRules(kFilerMenu, filer, ActiveChild{ChildKind::Viewer}, cfg);
  for (auto& it : filer) EXPECT_FALSE(it.enabled);
}

TEST(MenuRules, ToolsAreRewrittenFromTheProgramSettings) {
  RKVcfg cfg;
  cfg.Editor = "";
  cfg.Prg[3] = "view %F +%L";
  auto bar = BuildMenuBar(cfg);
  auto tools = States(bar[kToolsMenu]);
  ApplyMenuRules(kToolsMenu, tools, ActiveChild{}, cfg);
  EXPECT_FALSE(tools[0].enabled);
  for (size_t i = 1; i <= 8; ++i) {
    EXPECT_EQ(tools[i].id, 200 + static_cast<int>(i));
    if (i == 4) {
      EXPECT_TRUE(tools[i].enabled);
      EXPECT_EQ(tools[i].text, "view %F +%L");
    } else {
      EXPECT_FALSE(tools[i].enabled);
      EXPECT_EQ(tools[i].text, Sj("プログラム未登録"));
    }
  }
  cfg.Editor = "vi";
  cfg.Prg[3] = "";
  ApplyMenuRules(kToolsMenu, tools, ActiveChild{}, cfg);
  EXPECT_TRUE(tools[0].enabled);
  EXPECT_EQ(tools[4].text, Sj("プログラム未登録"));  // cleared again when the setting goes
}

TEST(ToolBar, ButtonsHintsAndRoutes) {
  const auto& buttons = ToolBarButtons();
  int count = 0, separators = 0;
  for (const auto& b : buttons) (b.command ? count : separators)++;
  EXPECT_EQ(count, 17);
  EXPECT_EQ(separators, 3);
  EXPECT_EQ(buttons[0].hint, Sj("ＲＫＶを終了します"));
  EXPECT_EQ(buttons[4].command, 301);
  EXPECT_TRUE(ButtonEnabled(cmd::FDivide, ActiveChild{ChildKind::Filer}));
  EXPECT_FALSE(ButtonEnabled(cmd::FDivide, ActiveChild{ChildKind::Viewer}));
  EXPECT_TRUE(ButtonEnabled(cmd::VTree, ActiveChild{ChildKind::Viewer}));
  EXPECT_FALSE(ButtonEnabled(cmd::VTree, ActiveChild{}));
  EXPECT_TRUE(ButtonEnabled(cmd::Top, ActiveChild{ChildKind::Filer}));
  EXPECT_FALSE(ButtonEnabled(cmd::NextPage, ActiveChild{ChildKind::Filer}));
  EXPECT_TRUE(ButtonEnabled(cmd::ToolsEditor, ActiveChild{}));
  EXPECT_EQ(MenuHint(cmd::NextPage), Sj("次ページを表示"));
  EXPECT_EQ(MenuHint(cmd::LogFiler), Sj("ファイラーを起動します(ログディレクトリ)"));
  EXPECT_FALSE(MenuHint(cmd::VTree));  // buttons with the child's ids have no menu hint
  EXPECT_FALSE(MenuHint(cmd::OpenLog));
}

TEST(Forwarding, ClientIdsBecomeTheChildsOwn) {
  EXPECT_EQ(ForwardedId(cmd::EditClipboard), 370);
  EXPECT_EQ(ForwardedId(cmd::DisplayTree), 331);
  EXPECT_EQ(ForwardedId(cmd::FilerReload), 306);
  EXPECT_EQ(ForwardedId(cmd::FilerDeleteBak), 313);
  EXPECT_EQ(ForwardedId(cmd::Print), 108);
  EXPECT_FALSE(ForwardedId(cmd::SortMessages));  // the viewer takes 141 itself
  EXPECT_FALSE(ForwardedId(cmd::Top));
  EXPECT_EQ(KindFromClassName("RKVCnfFiler"), ChildKind::Filer);
  EXPECT_EQ(KindFromClassName("RKVViewer"), ChildKind::Viewer);
  EXPECT_EQ(KindFromClassName("RKVDivider"), ChildKind::Other);
}

}  // namespace
}  // namespace rkv
