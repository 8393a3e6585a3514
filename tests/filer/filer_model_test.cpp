#include "filer/filer_model.h"

#include <gtest/gtest.h>

#include "core/cp932.h"
#include "core/paths.h"
#include "filer/filer_commands.h"
#include "filer_fixture.h"
#include "platform/os.h"

namespace rkv {
namespace {

using test::Sj;
namespace c = filer_cmd;

class FilerModelTest : public test::FilerTest {
 protected:
  // A directory of 39 files after the parent entry: 40 entries, 10 rows a page.
  std::unique_ptr<FilerModel> Forty() {
    for (int i = 0; i < 39; ++i) Make("F" + std::to_string(100 + i) + ".LOG");
    return Open();
  }
};

struct Step {
  int key;
  int cursor;
  int top;
};

// Runs keys one by one; a failure names its step.
void Script(FilerModel& filer, const std::vector<Step>& steps) {
  for (size_t i = 0; i < steps.size(); ++i) {
    filer.Key(steps[i].key);
    EXPECT_EQ(filer.cursor(), steps[i].cursor) << "step " << i << " key " << steps[i].key;
    EXPECT_EQ(filer.top(), steps[i].top) << "step " << i << " key " << steps[i].key;
  }
}

TEST_F(FilerModelTest, CursorAndPagingKeys) {
  auto filer = Forty();
  ASSERT_EQ(filer->count(), 40);
  std::vector<Step> steps;
  for (int i = 1; i <= 9; ++i) steps.push_back({vk::kDown, i, 0});
  steps.push_back({vk::kDown, 10, 1});  // scrolls one row at the page's last row
  steps.push_back({vk::kLeft, 1, 1});
  steps.push_back({vk::kUp, 0, 0});     // scrolls one row at the page's first row
  steps.push_back({vk::kUp, 0, 0});
  steps.push_back({vk::kPageDown, 10, 10});
  steps.push_back({vk::kPageDown, 20, 20});
  steps.push_back({vk::kPageDown, 30, 30});
  steps.push_back({vk::kPageDown, 30, 30});  // already on the last page
  steps.push_back({vk::kPageUp, 20, 20});
  steps.push_back({vk::kHome, 0, 0});
  steps.push_back({vk::kEnd, 30, 30});
  for (int i = 31; i <= 39; ++i) steps.push_back({vk::kDown, i, 30});
  steps.push_back({vk::kDown, 39, 30});
  Script(*filer, steps);
  filer->Command(c::kFirstPage);
  EXPECT_EQ(filer->cursor(), 0);
  filer->Command(c::kLastPage);
  EXPECT_EQ(filer->top(), 30);
}

TEST_F(FilerModelTest, SpaceMarksFilesOnlyAndMovesDown) {
  MakeDir("SUB");
  Make("a.log");
  Make("b.log");
  auto filer = Open();
  Script(*filer, {{vk::kDown, 1, 0}, {vk::kSpace, 2, 0}, {vk::kSpace, 3, 0}, {vk::kSpace, 3, 0}, {vk::kSpace, 3, 0}});
  EXPECT_FALSE(filer->IsMarked(1));
  EXPECT_TRUE(filer->IsMarked(2));
  EXPECT_FALSE(filer->IsMarked(3));  // marked, then unmarked at the end of the list
}

TEST_F(FilerModelTest, MarkAllButtonAndClicks) {
  MakeDir("SUB");
  Make("a.log");
  Make("b.log");
  auto filer = Open();
  filer->Button(c::kButtonMarkAll);
  EXPECT_EQ(filer->listing().MarkedIndices(), (std::vector<int>{2, 3}));
  filer->Button(c::kButtonMarkAll);
  EXPECT_EQ(filer->listing().markCount(), 0);

  filer->Click(2, false);
  EXPECT_EQ(filer->cursor(), 2);
  EXPECT_FALSE(filer->IsMarked(2));
  filer->Click(3, true);
  EXPECT_EQ(filer->cursor(), 3);
  EXPECT_EQ(filer->previousCursor(), 2);
  EXPECT_TRUE(filer->IsMarked(3));
  filer->Click(1, true);  // a directory in the margin: cursor only
  EXPECT_EQ(filer->cursor(), 1);
  EXPECT_EQ(filer->listing().markCount(), 1);
  EXPECT_FALSE(filer->Click(7, false).repaint);  // below the last entry
  EXPECT_EQ(filer->cursor(), 1);

  FilerResult r = filer->DoubleClick(1);
  EXPECT_TRUE(r.titleChanged);
  EXPECT_EQ(filer->path(), At("SUB"));
}

TEST_F(FilerModelTest, EnteringAndLeavingDirectories) {
  for (const char* d : {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L"}) MakeDir(d);
  MakeDir("L/INNER");
  auto filer = Open();
  filer->ScrollTo(5);
  while (filer->listing().at(filer->cursor()).name != "L") filer->Key(vk::kDown);
  FilerResult r = filer->Key(vk::kEnter);
  EXPECT_TRUE(r.titleChanged && r.statusChanged && r.repaint);
  EXPECT_EQ(filer->path(), At("L"));
  EXPECT_EQ(filer->cursor(), 0);
  EXPECT_EQ(Names(*filer), (std::vector<std::string>{"..", "INNER"}));

  filer->Key(vk::kEnter);  // on ".."
  EXPECT_EQ(filer->path(), dir.path());
  EXPECT_EQ(filer->cursor(), 12);  // on the directory just left, scrolled into view
  EXPECT_EQ(filer->top(), 3);

  filer->Key(vk::kEnter);  // L again
  filer->Key(vk::kDown);
  filer->Key(vk::kEnter);
  EXPECT_EQ(filer->path(), At("L/INNER"));
  filer->Key(vk::kBack);
  EXPECT_EQ(filer->path(), At("L"));
  EXPECT_EQ(filer->cursor(), 1);
  EXPECT_EQ(filer->listing().at(filer->cursor()).name, "INNER");
}

TEST_F(FilerModelTest, BackspaceAtTheRootDoesNothingAndTheYenKeyGoesThere) {
  auto filer = Open();
  filer->Key(vk::kYen);
  EXPECT_EQ(filer->path(), "/");
  EXPECT_FALSE(filer->Key(vk::kBack).repaint);
  EXPECT_EQ(filer->path(), "/");
}

TEST_F(FilerModelTest, DirectoryListKeys) {
  MakeDir("ONE");
  MakeDir("TWO");
  cfg.LogDir = dir.path() + ";" + At("ONE") + "; " + At("TWO") + " ;;" + At("GONE");
  auto filer = Open();
  filer->Key('1');
  EXPECT_EQ(filer->path(), At("ONE"));
  filer->Key(vk::kNumpad0 + 2);
  EXPECT_EQ(filer->path(), At("TWO"));
  filer->Key('3');  // empty entry
  filer->Key('4');  // no such directory
  filer->Key('5');  // beyond the list
  EXPECT_EQ(filer->path(), At("TWO"));
  filer->Key('0');
  EXPECT_EQ(filer->path(), dir.path());
  EXPECT_EQ(filer->DirectoryChoices(), (std::vector<std::string>{dir.path(), At("ONE"), At("TWO"), At("GONE")}));
}

TEST_F(FilerModelTest, ReloadModesPlaceTheCursor) {
  auto filer = Forty();
  // 1: the last entry went, the cursor stood on it.
  filer->Key(vk::kEnd);
  for (int i = 0; i < 9; ++i) filer->Key(vk::kDown);
  ASSERT_EQ(filer->cursor(), 39);
  os::Remove(filer->listing().FullPath(39));
  filer->Reload(1);
  EXPECT_EQ(filer->cursor(), 38);
  EXPECT_EQ(filer->top(), 30);

  // 2: marked entries at and above the cursor went.
  filer->Key(vk::kHome);
  for (int i = 0; i < 15; ++i) filer->Key(vk::kDown);
  ASSERT_EQ(filer->cursor(), 15);
  ASSERT_EQ(filer->top(), 6);
  for (int index : {3, 7, 15, 20}) filer->listing().SetMark(index, true);
  for (int index : {3, 7, 15, 20}) os::Remove(filer->listing().FullPath(index));
  filer->Reload(2);
  EXPECT_EQ(filer->count(), 35);
  EXPECT_EQ(filer->cursor(), 12);
  EXPECT_EQ(filer->top(), 5);
  EXPECT_EQ(filer->listing().markCount(), 0);

  // 0: back to the first entry.
  FilerResult r = filer->Reload(0);
  EXPECT_EQ(filer->cursor(), 0);
  EXPECT_EQ(filer->top(), 0);
  EXPECT_TRUE(r.titleChanged);
}

TEST_F(FilerModelTest, RereadCommandKeepsTheCursorUnlessTheCountChanged) {
  auto filer = Forty();
  for (int i = 0; i < 5; ++i) filer->Key(vk::kDown);
  filer->Key(vk::kF5);
  EXPECT_EQ(filer->cursor(), 5);
  Make("NEW.LOG");
  filer->Key('G');
  EXPECT_EQ(filer->count(), 41);
  EXPECT_EQ(filer->cursor(), 0);
  for (int i = 0; i < 5; ++i) filer->Key(vk::kDown);
  Make("NEWER.LOG");
  filer->Button(c::kButtonReread);
  EXPECT_EQ(filer->cursor(), 0);
}

TEST_F(FilerModelTest, SortCommandsAndButtons) {
  Make("b.TXT", "xx", test::LocalTime(1998, 1, 1));
  Make("a.LOG", "xxx", test::LocalTime(1999, 1, 1));
  cfg.FilerSort = 0;
  auto filer = Open();
  filer->Key(vk::kDown);
  filer->listing().SetMark(1, true);
  filer->Command(c::kSortNameDown);
  EXPECT_EQ(Names(*filer), (std::vector<std::string>{"..", "b.TXT", "a.LOG"}));
  EXPECT_EQ(filer->cursor(), 0);
  EXPECT_EQ(filer->listing().markCount(), 0);
  filer->Button(c::kButtonExt);
  EXPECT_EQ(filer->listing().sortOrder(), 2);
  EXPECT_EQ(Names(*filer)[1], "a.LOG");
  filer->Button(c::kButtonDate);
  EXPECT_EQ(Names(*filer)[1], "a.LOG");
  filer->Command(c::kSortOldest);
  EXPECT_EQ(Names(*filer)[1], "b.TXT");
  filer->Command(c::kSortSmallest);
  EXPECT_EQ(filer->listing().sortOrder(), 8);
  filer->Button(c::kButtonName);
  EXPECT_EQ(filer->listing().sortOrder(), 1);
  for (auto [id, order] : std::vector<std::pair<int, int>>{
           {511, 1}, {512, 5}, {513, 2}, {514, 6}, {515, 4}, {516, 8}, {517, 3}, {518, 7}}) {
    filer->Command(id);
    EXPECT_EQ(filer->listing().sortOrder(), order) << id;
  }
}

TEST_F(FilerModelTest, StartsWithTheKindsMaskAndSortOrder) {
  Make("a.CNF");
  Make("b.LOG");
  cfg.CnfFilerSort = 2;
  cfg.MailMask = "";
  auto cnf = Open(kCnfFiler);
  EXPECT_EQ(Names(*cnf), (std::vector<std::string>{"..", "a.CNF"}));
  EXPECT_EQ(cnf->listing().sortOrder(), 3);
  auto mail = Open(kMailFiler);
  EXPECT_EQ(mail->listing().mask(), "*.*");
  EXPECT_EQ(mail->count(), 3);
  EXPECT_EQ(mail->Title(), dir.path());
}

TEST_F(FilerModelTest, DisplaySettingsChangeRebuildsTheLines) {
  Make("a.LOG", "xx");
  auto filer = Open();
  std::string before = filer->RowText(1);
  cfg.FilerDspMode.nameWidth = 4;
  cfg.FilerDspMode.flags = {0, 0, 0, 0, 0};
  EXPECT_TRUE(filer->DisplaySettingsChanged().repaint);
  EXPECT_EQ(filer->RowText(1), "a   ");
  EXPECT_NE(before, filer->RowText(1));
}

TEST(FilerKeys, EveryKeyOfTheTable) {
  struct Row {
    int key;
    KeyAction action;
    int value;
  };
  const std::vector<Row> table = {
      {8, KeyAction::Parent, 0},        {13, KeyAction::Open, 0},        {32, KeyAction::MarkDown, 0},
      {40, KeyAction::Down, 0},         {38, KeyAction::Up, 0},          {37, KeyAction::PageTop, 0},
      {33, KeyAction::PageUp, 0},       {34, KeyAction::PageDown, 0},    {36, KeyAction::Home, 0},
      {35, KeyAction::End, 0},          {46, KeyAction::Command, 303},   {'D', KeyAction::Command, 303},
      {'0', KeyAction::ListDir, 0},     {96, KeyAction::ListDir, 0},     {'6', KeyAction::ListDir, 6},
      {102, KeyAction::ListDir, 6},     {'B', KeyAction::Command, 313},  {'C', KeyAction::Command, 302},
      {'E', KeyAction::Command, 320},   {'G', KeyAction::Command, 306},  {116, KeyAction::Command, 306},
      {'H', KeyAction::Command, 190},   {'Z', KeyAction::Command, 190},  {'I', KeyAction::Command, 185},
      {'K', KeyAction::Command, 307},   {'L', KeyAction::Button, 101},   {'M', KeyAction::Command, 304},
      {'O', KeyAction::Command, 308},   {'P', KeyAction::Command, 182},  {'R', KeyAction::Command, 305},
      {113, KeyAction::Command, 305},   {'S', KeyAction::Command, 300},  {'V', KeyAction::Command, 300},
      {'U', KeyAction::Command, 183},   {'W', KeyAction::Button, 105},   {'X', KeyAction::RunFile, 0},
      {220, KeyAction::Root, 0},        {112, KeyAction::Help, 0},       {118, KeyAction::Command, 191},
      {119, KeyAction::Command, 193},   {120, KeyAction::Command, 192},
  };
  for (const auto& row : table) {
    FilerKey k = FilerKeyBinding(row.key);
    EXPECT_EQ(k.action, row.action) << "key " << row.key;
    EXPECT_EQ(k.value, row.value) << "key " << row.key;
  }
  for (int unused : std::initializer_list<int>{'A', 'F', 'J', 'N', 'Q', 'T', 'Y', '7', '9', 103, 105, 27, 9}) {
    EXPECT_EQ(FilerKeyBinding(unused).action, KeyAction::None) << "key " << unused;
  }
}

TEST_F(FilerModelTest, ArchiveKeysRunTheBridgeAndUnknownCommandsRouteOn) {
  Make("a.LZH");
  auto filer = Open();
  while (filer->IsDirectory(filer->cursor())) filer->Key(vk::kDown);
  for (int key : {'P', 'U', 'I'}) EXPECT_TRUE(filer->Key(key).handled);
  filer->Command(184);
  filer->Command(187);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"LHA 圧縮: UNLHA32.DLL が見つかりません",
                                               "LHA 解凍: UNLHA32.DLL が見つかりません",
                                               "ISH ファイル復元: ISH32.DLL が見つかりません",
                                               "ISH ファイル出力先: ISH32.DLL が見つかりません",
                                               "ZIP ファイル解凍: UNZIP32.DLL が見つかりません"}));
  EXPECT_EQ(filer->Command(188).request, FilerRequest::None);
  EXPECT_TRUE(filer->Command(189).handled);
  EXPECT_FALSE(filer->Command(101).handled);
  EXPECT_EQ(filer->Command(c::kClose).request, FilerRequest::Close);
}

TEST_F(FilerModelTest, F1ShowsTheKeyHelp) {
  auto filer = Open();
  filer->Key(vk::kF1);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].caption, Sj("ファイラーキー割り当て"));
  const std::string text = test::Utf8(host.shown[0].text);
  std::vector<std::string> lines;
  for (size_t start = 0, nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1) {
    lines.push_back(text.substr(start, nl - start));
  }
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[0], "Ａ: ファイル属性変更（未実装）\t  Ｖ: 簡易ビューア(未実装)");
  EXPECT_EQ(lines[3], "Ｄ: ファイル削除(DEL) 　　　　\t  ０: 最初のディレクトリへ移動");
  EXPECT_EQ(lines[6], "Ｈ: コマンド指定実行　　　　　\tHOME: 先頭ページ");
  EXPECT_EQ(lines[7], "Ｉ: ＩＳＨ復元　　　　　　　　\t END: 最終ページ");
  EXPECT_EQ(lines[14], "Ｕ: ＬＨＡ全解凍　　　　　　　　　  外部プログラムの起動");
  for (size_t i = 0; i < 14; ++i) EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), '\t'), 1) << i;
  EXPECT_EQ(host.shown[0].text.back(), '\n');
}

TEST_F(FilerModelTest, RightButtonMenuInItsOrder) {
  cfg.Prg[0] = "VIEW %F";
  cfg.Prg[2] = "LHA a";
  auto filer = Open();
  std::vector<std::pair<int, std::string>> expected = {
      {300, "ファイル閲覧"}, {0, ""}, {301, "ログファイル分割"}, {0, ""}, {306, "ﾃﾞｨﾚｸﾄﾘ情報再読込み"}, {0, ""},
      {302, "コピー"}, {304, "移動"}, {303, "削除"}, {313, "*.BAK 削除"}, {305, "リネーム"},
      {307, "ディレクトリ作成"}, {308, "ディレクトリ削除"}, {0, ""}, {320, "エディタ起動"},
      {321, "VIEW %F"}, {323, "LHA a"}, {0, ""}, {354, "閉じる"}};
  std::vector<std::pair<int, std::string>> menu;
  for (const auto& item : filer->PopupMenu()) menu.emplace_back(item.id, test::Utf8(item.text));
  EXPECT_EQ(menu, expected);

  cfg.Editor.clear();
  cfg.Prg = {};
  auto items = filer->PopupMenu();
  ASSERT_EQ(items.size(), 15u);
  EXPECT_EQ(items[12].id, 308);
  EXPECT_TRUE(items[13].separator());
  EXPECT_EQ(items[14].id, 354);
}

TEST(NormalizeFilerPath, ResolvesAgainstTheFilersPath) {
  EXPECT_EQ(NormalizeFilerPath("/home/u", "LOG"), "/home/u/LOG");
  EXPECT_EQ(NormalizeFilerPath("/home/u", "../v/./w/"), "/home/v/w");
  EXPECT_EQ(NormalizeFilerPath("/home/u", "/a//b/"), "/a/b");
  EXPECT_EQ(NormalizeFilerPath("/home/u", "/../.."), "/");
  EXPECT_EQ(NormalizeFilerPath("/", ".."), "/");
}

}  // namespace
}  // namespace rkv
