// The archive bridge over a recording stand-in library: the exact command lines,
// the order and number of calls, the messages and captions, the list parsing.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "core/cp932.h"
#include "core/virtual_keys.h"
#include "filer/archive_bridge.h"
#include "filer/filer_fixture.h"
#include "platform/library.h"

namespace rkv::test {
namespace {

class ArchiveBridge : public FilerTest {
 protected:
  ArchiveBridge() {
    SetLibraryFolderForTest(RKV_RECORDING_LIBS);
    setenv("RKV_ARCHIVER_LOG", (dir / "calls.log").c_str(), 1);
    setenv("RKV_ARCHIVER_LIST", (dir / "list.txt").c_str(), 1);
    setenv("RKV_ARCHIVER_FAIL", "", 1);
    RememberedArchiveFolders() = {};
    cfg.FilerMask = "*.*";
  }
  std::vector<std::string> Calls() {
    std::vector<std::string> out;
    std::string log = Exists(dir / "calls.log") ? ReadFile(dir / "calls.log") : "";
    for (size_t p = 0, q; p < log.size(); p = q + 1) {
      q = log.find('\n', p);
      out.push_back(cp932::ToUtf8(log.substr(p, q - p)));
    }
    return out;
  }
  void Cursor(FilerModel& f, const std::string& name) {
    while (f.cursor() != IndexOf(f, name)) f.Key(f.cursor() < IndexOf(f, name) ? vk::kDown : vk::kUp);
  }
};

// Columns: name from 2, size from 16, date and time from 41, method after.
std::string Member(const std::string& name, const std::string& size, const std::string& when) {
  std::string l(70, ' ');
  l.replace(2, name.size(), name);
  l.replace(24 - size.size(), size.size(), size);
  l.replace(41, when.size(), when);
  l.replace(60, 5, "-lh5-");
  return l + "\n";
}

TEST_F(ArchiveBridge, ListParsingTakesTheColumnsBetweenTheDashLines) {
  std::string head = " Name          Original\n--------------- -------- ----\n";
  std::string body = Member("A.TXT", "123", "96-04-01 12:34:56") + "short\n" + "no method here at all\n" +
                     Member("LONGNAME.DAT", "99999999", "99-12-31 23:59:58");
  std::string tail = "------------------------------\n" + Member("AFTER.TXT", "1", "x");
  auto lines = ParseLhaList(head + body + tail);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], " A.TXT            123  96-04-01 12:34:56" + std::string(41, ' '));
  EXPECT_EQ(lines[1].size(), 81u);
  EXPECT_EQ(lines[1].substr(0, 41), " LONGNAME.DAT99999999  99-12-31 23:59:58 ");
  // No separator line: nothing; an overlong line without a line feed ends the list.
  EXPECT_TRUE(ParseLhaList(body).empty());
  EXPECT_EQ(ParseLhaList(head + Member("A", "1", "d") + std::string(90, 'x') + Member("B", "1", "d")).size(), 1u);

  struct Row { std::vector<int> chosen; int count; std::vector<int> expect; } rows[] = {
      {{}, 5, {}}, {{0, 1, 2, 3, 4}, 5, {}}, {{3, 1}, 5, {1, 3}}, {{1, 1}, 5, {1}}};
  for (const Row& r : rows) EXPECT_EQ(UnpackSelection(r.chosen, r.count), r.expect);
  std::vector<int> many(200);
  for (int i = 0; i < 200; ++i) many[size_t(i)] = i;
  EXPECT_TRUE(UnpackSelection(many, 300).empty());
  many.pop_back();
  EXPECT_EQ(UnpackSelection(many, 300).size(), 199u);
}

TEST_F(ArchiveBridge, CompressMakesOneCallPerMarkedFileAndStopsAtTheFirstError) {
  for (const char* n : {"A.TXT", "B C.TXT", "D.TXT"}) Make(n);
  MakeDir("SUB");
  auto filer = Open();
  EXPECT_EQ(RememberedArchiveFolders().lhaArchive, dir.path());  // the first filer's path
  for (const char* n : {"A.TXT", "B C.TXT", "D.TXT", "SUB"}) filer->listing().SetMark(IndexOf(*filer, n), true);
  // The archive's folder typed in another case still counts as the filer's.
  std::string upper = dir.path();
  for (char& ch : upper) ch = char(toupper(ch));
  host.inputs = {upper + "/NEW.LZH"};
  filer->Key('P');
  EXPECT_EQ(Calls(), (std::vector<std::string>{
                         "UnlhaSetBackGroundMode|0", "UnlhaSetCursorMode|1",
                         "Unlha|a " + upper + "/NEW.LZH " + At("A.TXT"),
                         "Unlha|a " + upper + "/NEW.LZH \"" + At("B C.TXT") + "\"",
                         "Unlha|a " + upper + "/NEW.LZH " + At("D.TXT")}));
  EXPECT_EQ(host.fileRequests.at(0).initialDirectory, dir.path());
  EXPECT_EQ(cp932::ToUtf8(host.fileRequests[0].title), "LHA ファイルオープン");
  EXPECT_EQ(RememberedArchiveFolders().lhaArchive, upper);
  EXPECT_EQ(Shown(), std::vector<std::string>{"LHA 圧縮: 圧縮に成功しました"});

  host.shown.clear();
  setenv("RKV_ARCHIVER_FAIL", "B C", 1);
  for (const char* n : {"A.TXT", "B C.TXT", "D.TXT"}) filer->listing().SetMark(IndexOf(*filer, n), true);
  host.inputs = {dir / "X.LZH"};
  filer->Key('P');
  auto calls = Calls();
  EXPECT_NE(calls.back().find("B C.TXT"), std::string::npos);  // D.TXT is never tried
  EXPECT_EQ(Shown(), std::vector<std::string>{"LHA 圧縮: 圧縮中にエラーが発生"});
}

TEST_F(ArchiveBridge, UnpackListsAsksAndCallsOnceForAllOrPerChosenMember) {
  Make("ARC.LZH");
  std::string list = " Name          Original\n--------------- -------- ----\n" +
                     Member("ONE.TXT", "10", "96-04-01 12:34:56") + Member("TWO.TXT", "20", "96-04-01 12:34:56") +
                     Member("THREE.TXT", "30", "96-04-01 12:34:56") + std::string(30, '-') + "\n";
  WriteFile(dir / "list.txt", list);
  auto filer = Open();
  Cursor(*filer, "ARC.LZH");
  const std::string arc = At("ARC.LZH");
  struct Case {
    std::vector<int> chosen;
    std::vector<std::string> unpackCalls;
  } cases[] = {
      {{}, {"Unlha|x " + arc + " " + dir.path() + "/OUT/"}},
      {{0, 1, 2}, {"Unlha|x " + arc + " " + dir.path() + "/OUT/"}},
      {{2, 0}, {"Unlha|x " + arc + " " + dir.path() + "/OUT/  ONE.TXT", "Unlha|x " + arc + " " + dir.path() + "/OUT/  THREE.TXT"}},
  };
  for (const Case& c : cases) {
    std::remove((dir / "calls.log").c_str());
    host.unpackChoices = {LhaUnpackChoice{dir.path() + "/OUT/", c.chosen}};
    filer->Key('U');
    auto calls = Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[2], "Unlha| " + arc);
    std::vector<std::string> unpack(calls.begin() + 3, calls.end());
    ASSERT_EQ(unpack.size(), c.unpackCalls.size());
    for (size_t k = 0; k < unpack.size(); ++k) EXPECT_EQ(unpack[k].substr(0, c.unpackCalls[k].size()), c.unpackCalls[k]);
  }
  EXPECT_EQ(host.unpackAsked.at(0).title, "UNLHA32.DLL Version 267");
  EXPECT_EQ(host.unpackAsked[0].lines.size(), 3u);
  EXPECT_EQ(host.unpackAsked[0].folder, dir.path());         // the first filer's path
  EXPECT_EQ(host.unpackAsked[1].folder, dir.path() + "/OUT");  // remembered, "/" removed
  EXPECT_EQ(Shown(), std::vector<std::string>(3, "LHA 解凍: 正常に解凍しました"));

  host.shown.clear();
  setenv("RKV_ARCHIVER_FAIL", "THREE", 1);
  host.unpackChoices = {LhaUnpackChoice{"OUT", {0, 2}}};
  filer->Key('U');
  EXPECT_EQ(Shown(), std::vector<std::string>{"LHA 解凍: 解凍中にエラーが発生"});

  host.shown.clear();
  setenv("RKV_ARCHIVER_FAIL", "", 1);
  WriteFile(dir / "list.txt", " Name\n------ ----\n" + std::string(30, '-') + "\n");
  filer->Key('U');  // nothing listed: the message, and no dialog
  EXPECT_EQ(Shown(), std::vector<std::string>{"LHA 解凍: 圧縮ファイルが見当たりません"});
  setenv("RKV_ARCHIVER_FAIL", " ", 1);
  host.shown.clear();
  filer->Key('U');
  EXPECT_EQ(Shown(), std::vector<std::string>{"LHA 解凍: LZH のファイルではありません"});
  EXPECT_TRUE(host.unpackChoices.empty());
}

TEST_F(ArchiveBridge, ZipAndIshCommandsAskCheckAndReport) {
  for (const char* n : {"A.ZIP", "BAD.ZIP", "M.TXT", "NOISH.TXT"}) Make(n);
  auto filer = Open();
  struct Case {
    const char* file;
    int command;
    std::optional<std::string> typed;
    const char* fail;
    std::vector<std::string> lastCalls;  // the calls after the modes
    std::string shown;
  } cases[] = {
      {"A.ZIP", 187, "  OUT  ", "", {"UnZipCheckArchive|" + At("A.ZIP") + " 1", "UnZip|" + At("A.ZIP") + " " + dir.path() + "/OUT/"}, "ZIP ファイル解凍: ZIP ファイルを復元しました"},
      {"BAD.ZIP", 187, "OUT", "", {"UnZipCheckArchive|" + At("BAD.ZIP") + " 1"}, "ZIP ファイル解凍: ZIP データが含まれていません"},
      {"A.ZIP", 187, "OUT", "ZIP", {"UnZipCheckArchive|" + At("A.ZIP") + " 1", "UnZip|" + At("A.ZIP") + " " + dir.path() + "/OUT/"}, "ZIP ファイル解凍: ZIP ファイルの復元に失敗しました"},
      {"A.ZIP", 187, std::nullopt, "", {}, ""},
      {"M.TXT", 184, "", "", {"Ish|/s /f=" + dir.path() + " " + At("M.TXT")}, "ISH ファイル出力先: ISH 変換に成功しました"},
      {"M.TXT", 184, "OUT", "M.TXT", {"Ish|/s /f=" + dir.path() + "/OUT " + At("M.TXT")}, "ISH ファイル出力先: 変換中にエラーが発生"},
      {"M.TXT", 185, "my out", "", {"IshFileList|" + At("M.TXT"), "Ish|/f=\"" + dir.path() + "/my out\" " + At("M.TXT")}, "ISH ファイル復元: ISH ファイルを復元しました"},
      {"M.TXT", 185, "OUT", "M.TXT", {"IshFileList|" + At("M.TXT"), "Ish|/f=" + dir.path() + "/OUT " + At("M.TXT")}, "ISH ファイル復元: ISH ファイルの復元に失敗しました"},
      {"NOISH.TXT", 185, "OUT", "", {"IshFileList|" + At("NOISH.TXT")}, "ISH ファイル復元: ISH データが含まれていません"},
  };
  for (const Case& c : cases) {
    std::remove((dir / "calls.log").c_str());
    host.shown.clear();
    setenv("RKV_ARCHIVER_FAIL", c.fail, 1);
    Cursor(*filer, c.file);
    host.inputs = {c.typed};
    filer->Command(c.command);
    auto calls = Calls();
    std::vector<std::string> tail;
    for (auto& call : calls)
      if (call.find("Mode|") == std::string::npos) tail.push_back(call);
    EXPECT_EQ(tail, c.lastCalls) << c.file << " " << c.command;
    EXPECT_EQ(Shown(), c.shown.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.shown}) << c.file;
  }
  EXPECT_EQ(cp932::ToUtf8(host.asked.at(0).prompt), "ZIP 解凍先");
  EXPECT_EQ(host.asked.at(4).initial, dir.path());  // ISH convert starts at the filer's path
  EXPECT_EQ(cp932::ToUtf8(host.asked.at(6).prompt), "ISH 復元先");
}

}  // namespace
}  // namespace rkv::test
