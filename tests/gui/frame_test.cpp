// The frame's menus, tool bar, routing and client commands, with small test
// children standing in for viewers and filers.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>

#include "app/command_ids.h"
#include "app/font_chooser.h"
#include "app/fonts.h"
#include "app/main_client.h"
#include "app/main_frame.h"
#include "app/text.h"
#include "app/tmy_app.h"
#include "core/handoff.h"
#include "gui/gui_support.h"
#include "support/scripted_host.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::App;
using test::Sj;
using test::TestChild;

class FrameTest : public test::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    frame = app->frame();
    client = frame->client();
  }
  TestChild* Add(const char* cls) {
    auto* c = new TestChild(*app, cls);
    client->AddChild(c);
    return c;
  }
  std::vector<QAction*> Items(int menu) {
    std::vector<QAction*> out;
    for (QAction* a : frame->menuActions(menu)) {
      if (!a->isSeparator()) out.push_back(a);
    }
    return out;
  }

  MyMDIFrame* frame = nullptr;
  TMainWindow* client = nullptr;
};

TEST_F(FrameTest, MenuBarShowsTheProgramsMenus) {
  QList<QAction*> top = frame->menuBar()->actions();
  ASSERT_EQ(top.size(), 8);
  EXPECT_EQ(top[0]->text(), QString::fromUtf8("ﾌｧｲﾙ(&F)"));
  EXPECT_EQ(top[7]->text(), QString::fromUtf8("ﾍﾙﾌﾟ(&H)"));
  auto file = Items(kFileMenu);
  EXPECT_EQ(file[3]->text(), QString::fromUtf8("ログ分割(&D)..."));
  EXPECT_EQ(file[3]->data().toInt(), cmd::DivideLog);
  EXPECT_EQ(Items(kFileMenu).back()->data().toInt(), cmd::Exit);
  EXPECT_EQ(Items(kDisplayMenu)[0]->statusTip(), QString());
  EXPECT_EQ(Items(kDisplayMenu)[6]->statusTip(), QString::fromUtf8("次ページを表示"));
}

TEST_F(FrameTest, EnablingFollowsTheActiveChild) {
  frame->ApplyRules(kEditMenu);
  for (QAction* a : Items(kEditMenu)) EXPECT_FALSE(a->isEnabled());
  TestChild* filer = Add("RKVFiler");
  frame->ApplyRules(kFilerMenu);
  for (QAction* a : Items(kFilerMenu)) EXPECT_TRUE(a->isEnabled());
  EXPECT_TRUE(frame->toolAction(cmd::FDivide)->isEnabled());
  EXPECT_FALSE(frame->toolAction(cmd::VTree)->isEnabled());

  TestChild* viewer = Add("RKVViewer");
  viewer->mode = 2;
  frame->ApplyRules(kEditMenu);
  frame->ApplyRules(kFilerMenu);
  frame->ApplyRules(kDisplayMenu);
  frame->ApplyRules(kFileMenu);
  for (QAction* a : Items(kEditMenu)) EXPECT_TRUE(a->isEnabled());
  for (QAction* a : Items(kFilerMenu)) EXPECT_FALSE(a->isEnabled());
  EXPECT_TRUE(Items(kDisplayMenu)[3]->isChecked());  // ＩＤ表示
  EXPECT_FALSE(Items(kDisplayMenu)[1]->isChecked());
  EXPECT_FALSE(Items(kFileMenu)[4]->isEnabled());  // 印刷 only with the message view
  viewer->viewOpen = true;
  frame->ApplyRules(kFileMenu);
  EXPECT_TRUE(Items(kFileMenu)[4]->isEnabled());
  EXPECT_TRUE(frame->toolAction(cmd::VTree)->isEnabled());
  EXPECT_FALSE(frame->toolAction(cmd::FDivide)->isEnabled());
  (void)filer;
}

TEST_F(FrameTest, ToolsMenuRewrittenWithoutAnyChild) {
  app->cfg().Prg[3] = "VIEW.EXE %F";
  app->cfg().Editor = "";
  frame->ApplyRules(kToolsMenu);
  auto tools = Items(kToolsMenu);
  EXPECT_FALSE(tools[0]->isEnabled());
  EXPECT_EQ(tools[4]->text().toStdString(), "VIEW.EXE %F");
  EXPECT_TRUE(tools[4]->isEnabled());
  EXPECT_EQ(tools[1]->text(), QString::fromUtf8("プログラム未登録"));
  EXPECT_FALSE(tools[1]->isEnabled());
}

TEST_F(FrameTest, CommandsGoToTheChildFirstThenAreForwarded) {
  TestChild* viewer = Add("RKVViewer");
  viewer->handled = {cmd::SortMessages};
  frame->Dispatch(cmd::SortMessages);  // handled by the child itself
  frame->Dispatch(cmd::EditClipboard);  // not the child's: the client forwards 370
  QCoreApplication::processEvents();
  EXPECT_EQ(viewer->received, (std::vector<int>{cmd::SortMessages, cmd::EditClipboard, cmd::VClipboard}));
}

TEST_F(FrameTest, ToolsGoToTheChildsOwnCommands) {
  TestChild* filer = Add("RKVCnfFiler");
  filer->handled = {cmd::FEditor, cmd::FProgram1 + 2};
  frame->Dispatch(cmd::ToolsEditor);
  frame->Dispatch(cmd::ToolsProgram1 + 2);
  QCoreApplication::processEvents();
  EXPECT_EQ(filer->received.back(), cmd::FProgram1 + 2);
  EXPECT_NE(std::find(filer->received.begin(), filer->received.end(), cmd::FEditor), filer->received.end());
  client->closeAllSubWindows();
  QCoreApplication::processEvents();
  app->cfg().Editor = "NOTEPAD.EXE /A";
  app->cfg().Prg[1] = "ED %F +%L";
  frame->Dispatch(cmd::ToolsEditor);
  frame->Dispatch(cmd::ToolsProgram1 + 1);
  EXPECT_EQ(host.launched, (std::vector<std::string>{"NOTEPAD.EXE", "ED  +"}));
  host.launchResult = 2;
  frame->Dispatch(cmd::ToolsProgram1 + 1);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].text, Sj("プログラム実行失敗"));
  EXPECT_EQ(host.shown[0].caption, Sj("外部プログラム"));
}

TEST_F(FrameTest, SavingChildSizes) {
  host.answers = {Answer::Yes};
  frame->Dispatch(cmd::SaveChildSizes);
  ASSERT_EQ(host.shown.size(), 2u);
  EXPECT_EQ(host.shown[0].text,
            Sj("ファイラー、メールファイラー、会議室ファイラー\n閲覧ウィンドウのサイズと位置を記憶します"));
  EXPECT_EQ(host.shown[0].caption, Sj("子ウィンドウサイズ保存"));
  EXPECT_EQ(host.shown[1].text, Sj("記憶対象の子ウィンドウがありません"));

  TestChild* divider = Add("RKVDivider");
  host.answers = {Answer::Yes};
  frame->Dispatch(cmd::SaveChildSizes);
  EXPECT_EQ(host.shown.back().text, Sj("記憶対象の子ウィンドウがありません"));
  TestChild* viewer = Add("RKVViewer");
  host.answers = {Answer::Yes};
  frame->Dispatch(cmd::SaveChildSizes);
  EXPECT_EQ(host.shown.back().text, Sj("ウィンドウサイズを記憶しました"));
  EXPECT_EQ(viewer->placementsStored, 1);
  EXPECT_EQ(divider->placementsStored, 2);  // every child is asked
  host.answers = {Answer::No};
  size_t before = host.shown.size();
  frame->Dispatch(cmd::SaveChildSizes);
  EXPECT_EQ(host.shown.size(), before + 1);  // the question only
}

TEST_F(FrameTest, CancelledFileDialogsStartNothing) {
  int divided = 0, viewers = 0;
  app->dividerFactory = [&](const std::string&) { ++divided; };
  app->viewerFactory = [&](int, const std::string&) -> ChildWindow* {
    ++viewers;
    return nullptr;
  };
  host.inputs = {std::nullopt, std::nullopt};
  frame->Dispatch(cmd::DivideLog);
  frame->Dispatch(cmd::OpenConference);
  EXPECT_EQ(divided, 0);
  EXPECT_EQ(viewers, 0);
  ASSERT_EQ(host.fileRequests.size(), 2u);
  EXPECT_EQ(host.fileRequests[0].title, Sj("ログファイル・オープン"));
  EXPECT_EQ(host.fileRequests[1].title, Sj("会議室ファイル・オープン"));
  host.inputs = {std::string("/logs/0502.LOG")};
  std::string dividedPath;
  app->dividerFactory = [&](const std::string& p) { dividedPath = p; };
  frame->Dispatch(cmd::DivideLog);
  EXPECT_EQ(dividedPath, "/logs/0502.LOG");
}

TEST_F(FrameTest, HandOffOpensEveryFileAndDivisionRereadsTheFiler) {
  std::vector<std::pair<int, std::string>> opened;
  app->viewerFactory = [&](int kind, const std::string& path) -> ChildWindow* {
    opened.emplace_back(kind, path);
    return nullptr;
  };
  FileHandOff& area = HandOffArea();
  area.Clear();
  area.directory = "/cnf";
  area.count = 2;
  area.names[0] = "A.CNF";
  area.names[1] = "B.CNF";
  client->OpenHandOffFiles(kConferenceFile);
  EXPECT_EQ(opened, (std::vector<std::pair<int, std::string>>{{1, "/cnf/A.CNF"}, {1, "/cnf/B.CNF"}}));

  TestChild* filer = Add("RKVFiler");
  std::string divided;
  app->dividerFactory = [&](const std::string& p) { divided = p; };
  area.count = 1;
  area.names[0] = "0502.LOG";
  client->DivideHandOffFile();
  QCoreApplication::processEvents();
  EXPECT_EQ(divided, "/cnf/0502.LOG");
  EXPECT_EQ(filer->received, (std::vector<int>{cmd::FReload}));
}

TEST_F(FrameTest, ToolBarToggleAndFontNotice) {
  EXPECT_FALSE(frame->toolBar()->isHidden());
  frame->Dispatch(cmd::ToolBarToggle);
  EXPECT_TRUE(frame->toolBar()->isHidden());
  frame->Dispatch(cmd::ToolBarToggle);
  EXPECT_FALSE(frame->toolBar()->isHidden());
  EXPECT_EQ(frame->toolBar()->actions().size(), 20);  // 17 buttons, 3 separators
  EXPECT_EQ(frame->toolAction(cmd::Exit)->statusTip(), QString::fromUtf8("ＲＫＶを終了します"));
}

TEST_F(FrameTest, ViewerCountGoesIntoTheViewerRecord) {
  app->viewerFactory = [&](int, const std::string&) -> ChildWindow* { return nullptr; };
  Add("RKVViewer");
  Add("RKVViewer");
  Add("RKVFiler");
  client->OpenViewer(kLogFile, "/x");
  EXPECT_EQ(app->cfg().ViewerSize.reserved, 2);
}

TEST_F(FrameTest, WindowMenuListsTheChildrenAndTheBarClearsWhenNoneIsLeft) {
  TestChild* a = Add("RKVFiler");
  a->setWindowTitle("/home/a");
  TestChild* b = Add("RKVViewer");
  b->setWindowTitle(QString::fromUtf8("☆/home/b&c"));
  frame->SetMessage("4 files");
  QMenu* window = frame->menu(6);
  emit window->aboutToShow();
  emit window->aboutToShow();  // rebuilt, not appended to
  const auto& list = frame->windowListActions();
  ASSERT_EQ(list.size(), 3u);  // a separator and one item per child
  EXPECT_EQ(list[1]->text(), "&1 /home/a");
  EXPECT_EQ(list[2]->text(), QString::fromUtf8("&2 ☆/home/b&&c"));
  EXPECT_TRUE(list[2]->isChecked());
  list[1]->trigger();
  EXPECT_EQ(client->ActiveChildWindow(), a);

  frame->Dispatch(cmd::CloseAll);
  Drain();
  EXPECT_EQ(frame->Message(), QString());
}

TEST_F(FrameTest, ClosingAViewerReturnsToTheWindowThatOpenedIt) {
  TestChild* logFiler = Add("RKVFiler");
  TestChild* cnfFiler = Add("RKVCnfFiler");
  TestChild* viewer = nullptr;
  app->viewerFactory = [&](int, const std::string&) -> ChildWindow* {
    viewer = Add("RKVViewer");
    return viewer;
  };
  client->OpenViewer(kConferenceFile, "/x.CNF");
  ASSERT_NE(viewer, nullptr);
  client->setActiveSubWindow(logFiler->subWindow());  // the user looks elsewhere, then back
  client->setActiveSubWindow(viewer->subWindow());
  viewer->subWindow()->close();
  Drain();
  EXPECT_EQ(client->ActiveChildWindow(), cnfFiler);
}

TEST_F(FrameTest, StandardButtonsAndTheFontDialogSuitJapaneseText) {
  ASSERT_TRUE(InstallQtTranslations());
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
  EXPECT_EQ(box.button(QMessageBox::Retry)->text(), QString::fromUtf8("再試行"));

  QFont current("Noto Sans Mono CJK JP");
  current.setPixelSize(19);
  FontChooserDialog dialog(current, frame);
  QStringList offered;
  for (int i = 0; i < dialog.familyList()->count(); ++i) offered << dialog.familyList()->item(i)->text();
  EXPECT_TRUE(offered.contains("Noto Sans Mono CJK JP"));
  // Latin-only monospace faces let kana fall back to a face of another width.
  EXPECT_FALSE(offered.contains("DejaVu Sans Mono"));
  EXPECT_EQ(dialog.familyList()->currentItem()->text(), "Noto Sans Mono CJK JP");
  QFont chosen = dialog.selectedFont();
  EXPECT_EQ(chosen.pixelSize(), 19);
  EXPECT_EQ(chosen.style(), QFont::StyleNormal);
  EXPECT_TRUE(IsGridFont(chosen));
}

}  // namespace
}  // namespace rkv
