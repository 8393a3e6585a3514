// Splitting a conference file in two and sorting it by message number.
#include "tools/conference_split_sort.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "index/title_file.h"
#include "support/scripted_host.h"
#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;

const std::string kPrompt = "- ROOM  MES( 5):" + std::string(70, 'x');  // longer than a line read of 80

std::string Header(int number) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "%03d/009   ABC12345  NAME              TITLE%d", number, number);
  return buf;
}

// A message: its header, the date line and `body` text lines.
std::string Message(int number, int body = 1) {
  std::string m = Header(number) + "\r\n       97/05/12 10:30  00000  \r\n";
  for (int i = 0; i < body; ++i) m += "text of " + std::to_string(number) + " line " + std::to_string(i) + "\r\n";
  return m;
}

class SplitSort : public ::testing::Test {
 protected:
  // Writes the file and loads its titles as the viewer does.
  ConferenceJob Job(const std::string& name, const std::string& bytes, bool conference = true) {
    path_ = dir_ / name;
    test::WriteFile(path_, bytes);
    LoadConferenceTitles(titles_, path_, dir_ / "T.TTL");
    return ConferenceJob{path_, conference, &titles_, 0, [this](const std::string& p) { created_.push_back(p); }};
  }
  std::string Out(const std::string& ext) { return test::ReadFile(path_.substr(0, path_.rfind('.')) + "." + ext); }
  std::string Last() const { return host_.shown.empty() ? "" : test::Utf8(host_.shown.back().text); }

  test::TempDir dir_;
  std::string path_;
  TitleInfo titles_;
  test::ScriptedHost host_;
  std::vector<std::string> created_;
};

TEST_F(SplitSort, SortWritesWholeMessagesByNumberFirstFoundKeptTwiceToNewFiles) {
  // 5, 3, 4, 3: the second 3 is dropped; the long message is not cut.
  std::string source = kPrompt + "\r\n" + Message(5) + Message(3, 320) + Message(4) + Message(3, 2);
  ConferenceJob job = Job("ROOM.CNF", source);
  ASSERT_EQ(titles_.count(), 4);
  host_.answers = {Answer::Yes, Answer::Yes};
  EXPECT_EQ(SortConference(job, host_), 0);
  EXPECT_EQ(SortConference(job, host_), 0);
  std::string sorted = kPrompt + "\r\n" + Message(3, 320) + Message(4) + Message(5);
  EXPECT_EQ(Out("000"), sorted);
  EXPECT_EQ(Out("001"), sorted);
  EXPECT_EQ(created_, (std::vector<std::string>{dir_ / "ROOM.000", dir_ / "ROOM.001"}));
  EXPECT_EQ(test::ReadFile(path_), source);
  EXPECT_EQ(test::Utf8(host_.shown[0].caption), "会議室ファイル並べ替え");
  EXPECT_EQ(Last(), "正常に終了しました");
  EXPECT_EQ(host_.waits, 2);
}

TEST_F(SplitSort, SortReadsNoHeadersFromColumnFourAndCopiesAHeaderFirstLineOnce) {
  auto no = [](int n) { return "No. " + std::to_string(n) + "   ABC12345 NAME\r\n       date\r\nbody\r\n"; };
  ConferenceJob job = Job("NO.CNF", no(200) + no(100) + no(300));
  host_.answers = {Answer::Yes};
  EXPECT_EQ(SortConference(job, host_), 0);
  EXPECT_EQ(Out("000"), no(100) + no(200) + no(300));
}

TEST_F(SplitSort, SortRefusesOtherFilesAndNoAndFailsWhenEveryNameIsTaken) {
  ConferenceJob job = Job("ROOM.CNF", kPrompt + "\r\n" + Message(2) + Message(1));
  job.conference = false;
  EXPECT_EQ(SortConference(job, host_), -1);
  EXPECT_EQ(Last(), "この機能は会議室ファイルに対してのみ有効です");
  job.conference = true;
  host_.answers = {Answer::No};
  EXPECT_EQ(SortConference(job, host_), -2);
  EXPECT_FALSE(test::Exists(dir_ / "ROOM.000"));
  for (int i = 0; i < 1000; ++i) {
    char ext[8];
    std::snprintf(ext, sizeof ext, "%03d", i);
    test::WriteFile(dir_ / ("ROOM." + std::string(ext)), "kept");
  }
  host_.answers = {Answer::Yes};
  EXPECT_EQ(SortConference(job, host_), -1);
  EXPECT_EQ(Last(), "ファイル書き込み中にエラーが発生しました");
  EXPECT_EQ(test::ReadFile(dir_ / "ROOM.999"), "kept");
  EXPECT_TRUE(created_.empty());
}

TEST_F(SplitSort, SplitCases) {
  struct Case {
    const char* what;
    std::string source;
    bool conference;
    int cursor;
    std::string first, second;
  };
  const std::string body = Message(1) + Message(2) + Message(3);
  const Case cases[] = {
      {"at the first message", kPrompt + "\r\n" + body, true, 0, kPrompt + "\r\n", kPrompt + "\r\n" + body},
      {"in the middle: the long prompt again", kPrompt + "\r\n" + body, true, 1,
       kPrompt + "\r\n" + Message(1), kPrompt + "\r\n" + Message(2) + Message(3)},
      {"at the last message of another file: no prompt", kPrompt + "\r\n" + body, false, 2,
       kPrompt + "\r\n" + Message(1) + Message(2), Message(3)},
      {"at a message at byte 0", body, true, 0, "", body},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    std::filesystem::create_directory(dir / "a.b");
    std::string path = dir / "a.b/ROOM";  // a dot in the folder, none in the name
    test::WriteFile(path, c.source);
    TitleInfo titles;
    LoadConferenceTitles(titles, path, dir / "T.TTL");
    test::ScriptedHost host;
    host.answers = {Answer::Yes};
    EXPECT_EQ(SplitConference(ConferenceJob{path, c.conference, &titles, c.cursor, {}}, host), 0);
    EXPECT_EQ(test::ReadFile(path + ".000"), c.first);
    EXPECT_EQ(test::ReadFile(path + ".001"), c.second);
    EXPECT_EQ(test::ReadFile(path), c.source);
    ASSERT_EQ(host.shown.size(), 2u);
    EXPECT_EQ(test::Utf8(host.shown[1].text), "正常に終了しました");
  }
}

}  // namespace
}  // namespace rkv
