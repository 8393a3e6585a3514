// The viewer's navigation, modes and commands, driven as key scripts.
#include "viewer/viewer_model.h"

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "index/title_file.h"
#include "support/scripted_host.h"
#include "support/test_env.h"
#include "viewer/viewer_fixture.h"

namespace rkv {
namespace {

using test::Sj;

constexpr int kDown = 40, kUp = 38, kLeft = 37, kPgDn = 34, kPgUp = 33, kHome = 36, kEnd = 35, kSpace = 32,
              kEnter = 13, kEsc = 27;

struct Expect {
  int cursor = -1, top = -1;
  ViewerView view = ViewerView::TitleList;
  int mode = 0;
};

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cfg.TtlDir = dir.path();
    cfg.CnfDir = dir.path();
  }
  ViewerModel& Open(const std::string& contents, int fileType = 1, int fullRows = 10, int visibleRows = 11) {
    path = dir / "ROOM_05.CNF";
    test::WriteFile(path, contents);
    model = std::make_unique<ViewerModel>(cfg, host, path, fileType);
    EXPECT_TRUE(model->Open());
    model->SetRows(fullRows, visibleRows);
    return *model;
  }
  // Presses each key and checks the state after it; a failure names the step.
  void Script(const std::vector<std::pair<int, Expect>>& steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
      model->Key(steps[i].first);
      const Expect& e = steps[i].second;
      SCOPED_TRACE("step " + std::to_string(i) + " key " + std::to_string(steps[i].first));
      if (e.cursor >= 0) {
        EXPECT_EQ(model->cursor(), e.cursor);
      }
      if (e.top >= 0) {
        EXPECT_EQ(model->top(), e.top);
      }
      EXPECT_EQ(model->view(), e.view);
      EXPECT_EQ(model->mode(), e.mode);
    }
  }

  test::TempDir dir;
  test::ScriptedHost host;
  RKVcfg cfg;
  std::string path;
  std::unique_ptr<ViewerModel> model;
};

TEST_F(ViewerTest, CursorMovesScrollAtTheEdgesOfThePage) {
  Open(test::MakeConference(30));
  ASSERT_EQ(model->ListCount(), 30);
  Script({{kDown, {1, 0}},
          {kDown, {2, 0}},
          {kEnd, {20, 20}},      // last page: count - full rows
          {kHome, {0, 0}},
          {kPgDn, {10, 10}},
          {kUp, {9, 9}},         // up from the top row scrolls one line
          {kPgUp, {0, 0}},
          {kLeft, {0, 0}}});
  // Down to the last full row, then one more scrolls a line.
  for (int i = 0; i < 9; ++i) model->Key(kDown);
  EXPECT_EQ(model->cursor(), 9);
  EXPECT_EQ(model->top(), 0);
  Script({{kDown, {10, 1}}, {kDown, {11, 2}}});
}

TEST_F(ViewerTest, ACursorOffThePageJumpsToTheTopRow) {
  Open(test::MakeConference(30));
  model->Key(kDown);  // cursor 1
  model->Scroll(ScrollAction::PageDown, 10);  // the page moves, the cursor stays behind
  EXPECT_EQ(model->top(), 10);
  EXPECT_EQ(model->cursor(), 1);
  Script({{kDown, {10, 10}}});
  model->Scroll(ScrollAction::PageDown, 20);
  Script({{kUp, {20, 20}}});
}

TEST_F(ViewerTest, SpaceMarksAndStaysOnTheLastTitle) {
  Open(test::MakeConference(3));
  Script({{kSpace, {1, 0}}, {kSpace, {2, 0}}, {kSpace, {2, 0}}});
  EXPECT_EQ(model->MarkedCount(), 3);
  model->Key(kSpace);  // the last title again: unmarked, the cursor stays
  EXPECT_EQ(model->MarkedCount(), 2);
  EXPECT_EQ(model->cursor(), 2);
}

TEST_F(ViewerTest, EnterOpensOnlyOnAFullRow) {
  Open(test::MakeConference(30), 1, 10, 11);
  model->Scroll(ScrollAction::LineDown, 0);  // top 1; the cursor (0) is off the page
  model->Key(kEnter);
  EXPECT_EQ(model->view(), ViewerView::TitleList);
  model->Key(kLeft);
  model->Key(kEnter);
  EXPECT_EQ(model->view(), ViewerView::Message);
  EXPECT_EQ(model->currentMessage(), 1);
  ASSERT_EQ(model->message().size(), 4u);
  EXPECT_EQ(model->message()[0].substr(0, 7), "002/030");
}

TEST_F(ViewerTest, MessagePagingRunsIntoTheNextAndPreviousMessages) {
  Open(test::MakeConference(3, [](int) {
         test::MessageSpec m;
         m.bodyLines = 20;  // 22 lines: three pages of 10
         return m;
       }),
       1, 10, 11);
  model->Key(kEnter);
  ASSERT_EQ(model->message().size(), 22u);
  model->Key(kPgDn);
  EXPECT_EQ(model->messagePos(), 10);
  model->Key(kSpace);
  EXPECT_EQ(model->messagePos(), 12);  // the last page ends at the last line
  model->Key(kPgDn);
  EXPECT_EQ(model->currentMessage(), 1);
  EXPECT_EQ(model->cursor(), 1);
  EXPECT_EQ(model->messagePos(), 0);
  model->Key(kPgUp);  // at the top of message 1: back to message 0
  EXPECT_EQ(model->currentMessage(), 0);
  EXPECT_EQ(model->top(), 0);
  model->Key(kPgUp);  // page up at the top of message 0 does nothing
  EXPECT_EQ(model->currentMessage(), 0);
  EXPECT_EQ(model->view(), ViewerView::Message);
  // Page down on the last page of the last message does nothing.
  model->Key(kEsc);
  model->Key(kEnd);
  model->Key(kDown);
  model->Key(kDown);
  ASSERT_EQ(model->cursor(), 2);
  model->Key(kEnter);
  model->Key(kEnd);
  int pos = model->messagePos();
  model->Key(kPgDn);
  EXPECT_EQ(model->currentMessage(), 2);
  EXPECT_EQ(model->messagePos(), pos);
  model->Key('B');
  EXPECT_EQ(model->messagePos(), 2);
  model->Key(kHome);
  EXPECT_EQ(model->messagePos(), 0);
}

TEST_F(ViewerTest, EscapeLeavesTheMessageThenClosesTheWindow) {
  Open(test::MakeConference(3));
  model->Key(kEnter);
  EXPECT_FALSE(model->Key(kEsc).close);
  EXPECT_EQ(model->view(), ViewerView::TitleList);
  EXPECT_TRUE(model->Key(kEsc).close);
}

TEST_F(ViewerTest, NextMessageMovesThePageWhenTheCursorWouldLeaveIt) {
  Open(test::MakeConference(30), 1, 10, 11);
  for (int i = 0; i < 9; ++i) model->Key(kDown);
  model->Key(kEnter);
  model->Key(kPgDn);  // 4 lines fit: the next message at once
  EXPECT_EQ(model->currentMessage(), 10);
  EXPECT_EQ(model->top(), 1);
  model->Key(kEnter);
  EXPECT_EQ(model->top(), 1);  // keys keep the page
}

TEST_F(ViewerTest, LeftClicksMarkInTheMarginOnly) {
  Open(test::MakeConference(10));
  model->LeftClick(29, 2 * 18 + 5, 18, 200);
  EXPECT_EQ(model->cursor(), 2);
  EXPECT_TRUE(model->EntryMarked(2));
  model->LeftClick(30, 3 * 18 + 5, 18, 200);
  EXPECT_EQ(model->cursor(), 3);
  EXPECT_FALSE(model->EntryMarked(3));
  model->LeftClick(10, 40 * 18, 18, 200);  // below the last title
  EXPECT_EQ(model->cursor(), 3);
  model->DoubleClick(50, 3 * 18 + 5, 18);
  EXPECT_EQ(model->view(), ViewerView::Message);
  model->DoubleClick(50, 5, 18);
  EXPECT_EQ(model->view(), ViewerView::TitleList);
}

TEST_F(ViewerTest, LeftButtonPagingGoesToTheTopAtOnce) {
  cfg.UseLButton = 1;
  Open(test::MakeConference(3, [](int) {
         test::MessageSpec m;
         m.bodyLines = 30;
         return m;
       }),
       1, 10, 11);
  model->Key(kEnter);
  model->LeftClick(50, 150, 18, 200);  // lower two thirds: next page
  model->LeftClick(50, 150, 18, 200);
  EXPECT_EQ(model->messagePos(), 20);
  model->LeftClick(50, 20, 18, 200);  // upper third: straight back to the top
  EXPECT_EQ(model->messagePos(), 0);
  model->LeftClick(50, 20, 18, 200);  // at the top: the previous message (none before 0)
  EXPECT_EQ(model->currentMessage(), 0);
  cfg.UseLButton = 0;
  model->LeftClick(50, 150, 18, 200);
  EXPECT_EQ(model->messagePos(), 0);
}

TEST_F(ViewerTest, ReadPositionShowsTheLastMessageOnTheFifthRow) {
  std::string contents = test::MakeConference(20);
  Open(contents);
  for (int i = 0; i < 10; ++i) model->Key(kDown);
  model->Key(kEnter);
  model->SaveReadPosition();
  model = std::make_unique<ViewerModel>(cfg, host, path, 1);
  ASSERT_TRUE(model->Open());
  EXPECT_EQ(model->cursor(), 10);
  EXPECT_EQ(model->top(), 6);
  // The stored position only moves forward.
  model->Key(kHome);
  model->Key(kEnter);
  model->SaveReadPosition();
  ViewerModel again(cfg, host, path, 1);
  ASSERT_TRUE(again.Open());
  EXPECT_EQ(again.cursor(), 10);
}

TEST_F(ViewerTest, ReadPositionsOfThreeOrLessStartAtTheTop) {
  Open(test::MakeConference(20));
  for (int i = 0; i < 3; ++i) model->Key(kDown);
  model->Key(kEnter);
  model->SaveReadPosition();
  ViewerModel again(cfg, host, path, 1);
  ASSERT_TRUE(again.Open());
  EXPECT_EQ(again.cursor(), 0);
  EXPECT_EQ(again.top(), 0);
}

TEST_F(ViewerTest, ReadPositionIsATitleEvenInTreeMode) {
  // Message 3 comments on 1, so the tree puts it at row 1.
  Open(test::MakeConference(8, [](int n) {
    test::MessageSpec m;
    m.commentTo = n == 3 ? 1 : 0;
    return m;
  }));
  model->Command(cmd::VTree);
  model->Key(kDown);
  ASSERT_EQ(model->EntryTitle(model->cursor()), 2);
  for (int i = 0; i < 4; ++i) model->Key(kDown);  // row 5
  int title = model->EntryTitle(model->cursor());
  model->Key(kEnter);
  model->SaveReadPosition();
  ViewerModel again(cfg, host, path, 1);
  ASSERT_TRUE(again.Open());
  EXPECT_EQ(again.cursor(), title);
}

TEST_F(ViewerTest, TreeModeKeepsTheMessageAndNormalModeRestoresThePage) {
  Open(test::MakeConference(30, [](int n) {
    test::MessageSpec m;
    m.commentTo = n == 25 ? 2 : 0;
    return m;
  }));
  model->Key(kPgDn);
  model->Key(kDown);
  model->Key(kSpace);  // a mark, cleared by the switch
  for (int i = 0; i < 12; ++i) model->Key(kDown);
  ASSERT_EQ(model->cursor(), 24);
  int top = model->top();
  model->Command(cmd::VTree);
  EXPECT_EQ(model->mode(), kTreeMode);
  EXPECT_EQ(model->EntryTitle(model->cursor()), 24);
  EXPECT_EQ(model->cursor(), 2);  // message 25 sits under message 2
  EXPECT_EQ(model->MarkedCount(), 0);
  EXPECT_EQ(model->EntryText(2).substr(0, 12), "+-025 handle");  // number, then the handle
  model->Command(cmd::VNormal);
  EXPECT_EQ(model->mode(), kNormalMode);
  EXPECT_EQ(model->cursor(), 24);
  EXPECT_EQ(model->top(), top);
}

TEST_F(ViewerTest, IdModeListsOneMembersMessages) {
  Open(test::MakeConference(12, [](int n) {
    test::MessageSpec m;
    m.id = n % 3 == 0 ? "XYZ00003" : "ABC00001";
    return m;
  }));
  model->Key(kDown);
  model->Key(kDown);  // message 3, by XYZ00003
  model->Command(cmd::VId);
  EXPECT_EQ(model->mode(), kIdMode);
  EXPECT_TRUE(model->idListShown());
  ASSERT_EQ(model->ListCount(), 4);
  EXPECT_EQ(model->EntryTitle(3), 11);
  EXPECT_EQ(model->cursor(), 0);
  model->Key(kSpace);
  EXPECT_EQ(model->MarkedCount(), 1);
  model->LeftClick(10, 18 * 2 + 1, 18, 200);  // in ID mode a click only moves
  EXPECT_EQ(model->cursor(), 2);
  EXPECT_EQ(model->MarkedCount(), 1);
  model->ChooseHandle(0);  // the list window picked ABC00001
  EXPECT_EQ(model->ListCount(), 8);
  EXPECT_EQ(model->MarkedCount(), 0);
  model->Command(cmd::VTree);
  EXPECT_FALSE(model->idListShown());
  EXPECT_EQ(model->mode(), kTreeMode);
}

TEST_F(ViewerTest, IdModeHoldsAThousandMessagesAtMost) {
  Open(test::MakeConference(999, [](int) {
    test::MessageSpec m;
    m.bodyLines = 0;
    return m;
  }) + test::MakeConference(30, [](int) {
    test::MessageSpec m;
    m.bodyLines = 0;
    return m;
  }));
  ASSERT_EQ(model->titles().count(), 1029);
  model->Command(cmd::VId);
  EXPECT_EQ(model->ListCount(), 1000);
}

TEST_F(ViewerTest, ModesChangeOnlyInTheTitleList) {
  Open(test::MakeConference(5));
  model->Key(kEnter);
  ViewerResult r = model->Key('H');
  EXPECT_EQ(r.post, std::vector<int>{cmd::VId});
  model->Command(cmd::VId);  // the posted command does nothing here
  EXPECT_EQ(model->mode(), kNormalMode);
  model->Key(kEnter);
  model->Command(cmd::VNormal);
  EXPECT_EQ(model->mode(), kNormalMode);
}

TEST_F(ViewerTest, IdModeNeedsAMessageHeader) {
  // A mail file: its entries are mail titles, not message headers.
  std::string mail = "Subject: hello\r\nFrom: \"A\" <a@b>\r\nDate: Mon, 12 May 1997 12:34:56 +0900\r\n\r\nbody\r\n";
  Open(mail, 2);
  ASSERT_EQ(model->ListCount(), 1);
  model->Command(cmd::VId);
  EXPECT_EQ(model->mode(), kNormalMode);
  EXPECT_FALSE(model->idListCreated());
}

TEST_F(ViewerTest, SelectionCommandsAndTitleInformation) {
  Open(test::MakeConference(6));
  model->Command(cmd::VSelectAll);
  EXPECT_EQ(model->MarkedCount(), 6);
  model->Key(kSpace);
  model->Command(cmd::VInvert);
  EXPECT_EQ(model->MarkedCount(), 1);
  model->Command(cmd::VSelectNone);
  EXPECT_EQ(model->MarkedCount(), 0);
  model->Key(kSpace);
  model->Command(cmd::VTitleInfo);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].caption, Sj("タイトル情報"));
  EXPECT_EQ(host.shown[0].text, Sj("反転行位置／タイトル総数 = 3 / 6\n\rマーキング・タイトル数　 = 1\n\r"));
}

TEST_F(ViewerTest, MenuCommandsActAsTheirKeys) {
  Open(test::MakeConference(30));
  model->Command(cmd::NextPage);
  EXPECT_EQ(model->cursor(), 10);
  model->Command(cmd::End);
  EXPECT_EQ(model->top(), 20);
  model->Command(cmd::Top);
  EXPECT_EQ(model->cursor(), 0);
  model->Command(cmd::NextPage);
  model->Command(cmd::PreviousPage);
  EXPECT_EQ(model->top(), 0);
}

TEST_F(ViewerTest, KeyHelpAndLetterCommands) {
  Open(test::MakeConference(3));
  ViewerResult r = model->Key(112);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].caption, Sj("閲覧ウィンドウ・キー割り当て"));
  std::string text = test::Utf8(host.shown[0].text);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 12);
  EXPECT_EQ(text.substr(0, text.find('\n')), "Ｃ: 発言をクリップボードへ　　Ｈｏｍｅ: 先頭ページへ");
  EXPECT_NE(text.find("\nＨ: ハンドル一覧モードへ　　　　　　　  タイトルのマーキング\n"), std::string::npos);
  EXPECT_EQ(model->Key('S').post, std::vector<int>{cmd::VPadSay});
  EXPECT_EQ(model->Key('T').post, std::vector<int>{cmd::VTree});
  EXPECT_TRUE(model->Key('Q').post.empty());
}

TEST_F(ViewerTest, NoTitlesClosesWithTheMessage) {
  path = dir / "EMPTY.CNF";
  test::WriteFile(path, "no headers here\r\n");
  ViewerModel empty(cfg, host, path, 1);
  EXPECT_FALSE(empty.Open());
  EXPECT_EQ(empty.view(), ViewerView::Failed);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].text, Sj("発言タイトルがありません"));
  EXPECT_EQ(host.shown[0].caption, Sj("ファイル処理エラー"));
  ViewerModel missing(cfg, host, dir / "NONE.CNF", 1);
  EXPECT_FALSE(missing.Open());
  EXPECT_EQ(host.shown.size(), 2u);
}

TEST_F(ViewerTest, StatusLineIsTheRoomPrompt) {
  Open(test::MakeConference(2));
  EXPECT_EQ(model->StatusLine(), "- ROOM  MES( 5):Test room");
  Open(test::MakeConference(2), 0);
  EXPECT_EQ(model->StatusLine(), " ");
}

TEST_F(ViewerTest, PopupMenusFollowTheView) {
  cfg.Editor = "";
  Open(test::MakeConference(2));
  auto ids = [](const std::vector<PopupItem>& items) {
    std::vector<int> out;
    for (const auto& i : items) out.push_back(i.id);
    return out;
  };
  EXPECT_EQ(ids(model->PopupMenu()), (std::vector<int>{331, 332, 0, 370, 335, 0, 350, 351, 352, 0, 336, 0, 354}));
  model->Command(cmd::VTree);
  auto tree = model->PopupMenu();
  EXPECT_EQ(tree[1].id, 330);
  EXPECT_FALSE(tree[1].enabled);
  model->Command(cmd::VNormal);
  model->Key(kEnter);
  EXPECT_EQ(ids(model->PopupMenu()), (std::vector<int>{370, 108, 0, 350, 351, 352, 139, 0, 354}));
  cfg.Editor = "vi";
  cfg.Prg[1] = "less %F";
  EXPECT_EQ(ids(model->PopupMenu()),
            (std::vector<int>{370, 108, 371, 372, 382, 0, 350, 351, 352, 139, 0, 354}));
}

}  // namespace
}  // namespace rkv
