// PAD drafts: the template language, the header fields of each header shape
// and file kind, and the command with its refusals and its file.
#include "tools/pad_composer.h"

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "core/files.h"
#include "core/virtual_keys.h"
#include "settings/settings.h"
#include "support/scripted_host.h"
#include "support/test_env.h"
#include "viewer/viewer_model.h"

namespace rkv {
namespace {

using test::Sj;

// The text a template writes, as UTF-8 with LF line ends.
std::string Expanded(std::string_view padTemplate, const RKVcfg& cfg, const std::string& path) {
  PadFields f{"FCOOK", "ABC12345", "ABC", "5", "123", "Hello"};
  std::vector<std::string> message = {"123/130 header", "second", "body1", "body2"};
  {
    auto out = Stream::Open(path, "wt");
    ExpandPadTemplate(Sj(std::string(padTemplate)), f, message, cfg, Date{1997, 3, 5}, TimeOfDay{9, 7}, *out);
    out->Close();
  }
  std::string text = test::ReadFile(path);
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return test::Utf8(text);
}

TEST(PadTemplate, Codes) {
  test::TempDir dir;
  RKVcfg cfg;
  cfg.PadDir = dir.path();
  cfg.PadQuot = ">";
  cfg.PadSign = Sj("--%C%S05x%S99y%D %t%Q");
  test::WriteFile(dir / "SIG.TXT", "inserted\r\nfile\r\n");
  struct Case {
    const char *tmpl, *text;
  } cases[] = {
      {"%F/%I/%H/%M/%N/%T%C", "FCOOK/ABC12345/ABC/5/123/Hello\n"},
      {"no line feed", "no line feed\n"},
      {"%s", "body1\nbody2\n"},
      {"a%%b%C", "ab\n"},
      {"pre %S", "pre body1\nbody2\n"},
      {"%U", ">body1\n>body2\n"},
      {"%A", "--\n     xy1997/03/05 09:07\n"},
      {"x%R\"SIG.TXT\"after%C", "xinserted\nfile\nafter\n"},
      {"%R\"MISSING.TXT\"z", "z\n"},
      {"%R\"/dev/zero\"z", "z\n"},  // a device is no text file: it would never end
      {"%Rnoquote", "noquote\n"},
      {"%R\"open", "\"open\n"},
      {"end%", "end\n"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Expanded(c.tmpl, cfg, dir / "PAD"), c.text) << c.tmpl;
}

class PadCommand : public ::testing::Test {
 protected:
  PadCommand() {
    cfg.TtlDir = cfg.PadDir = dir.path();
    cfg.Editor = "ed -w";
    cfg.PadRes = DefaultPadRes();
  }
  ViewerModel& Open(const std::vector<std::string_view>& lines, int fileType, const char* name = "F_05.CNF") {
    path = dir / name;
    std::string text;
    for (std::string_view l : lines) text += Sj(std::string(l)) + "\r\n";
    test::WriteFile(path, text);
    model = std::make_unique<ViewerModel>(cfg, host, path, fileType);
    EXPECT_TRUE(model->Open());
    model->SetRows(20, 21);
    return *model;
  }
  std::string Pad() { return test::Utf8(test::ReadFile(dir / "PAD")); }
  // The fields of the message at a row, loaded by the command (cancelled at the file name).
  PadFields Fields(int row) {
    model->Key(vk::kHome);
    for (int i = 0; i < row; ++i) model->Key(vk::kDown);
    host.inputs = {std::nullopt};
    model->Command(cmd::VPadMail);
    host.inputs.clear();
    PadSource source{&model->message(), &model->titles(), row, model->fileType(), model->StatusLine(), path};
    return PadHeaderFields(source);
  }

  test::TempDir dir;
  test::ScriptedHost host;
  RKVcfg cfg;
  std::string path;
  std::unique_ptr<ViewerModel> model;
};

TEST_F(PadCommand, DefaultResponseTemplateTwiceIntoOneFile) {
  Open({"- FCOOK  MES( 5):Room", "123/130   ABC12345  ABC               Hello", "(005)  97/05/12 10:30  00000",
        "body"},
       1);
  host.inputs = {dir / "PAD", dir / "PAD"};
  model->Command(cmd::VPadComment);
  model->Command(cmd::VPadComment);
  std::string one = "*MES 5\r\n*RE 123\r\nSUB:Re)Hello\r\n  ABC さん\r\n\r\n\r\n/POST\r\n";
  EXPECT_EQ(Pad(), one + one);
  EXPECT_EQ(test::Utf8(host.asked[0].title), "ＰＡＤ作成");
  EXPECT_EQ(test::Utf8(host.asked[0].prompt), "出力ファイル名を入力して下さい");
  EXPECT_EQ(host.asked[0].initial, dir / "PAD");
  EXPECT_EQ(host.launched, (std::vector<std::string>{"ed " + dir / "PAD", "ed " + dir / "PAD"}));
}

TEST_F(PadCommand, HeaderFieldsOfEachShapeAndFileKind) {
  Open({"- FCOOK  MES( 5):Room", "10231/10240 PQR44556  ゆ　き           モデム", "(012)  97/05/12 10:30"}, 1);
  PadFields f = Fields(0);
  EXPECT_EQ(f.forum, "FCOOK");
  EXPECT_EQ(f.id, "PQR44556");
  EXPECT_EQ(test::Utf8(f.handle), "ゆ  き");
  EXPECT_EQ(test::Utf8(f.title), "モデム");
  EXPECT_EQ(f.number, "10231");
  EXPECT_EQ(f.conference, "12");

  // "No. nnn" headers give their number from column 4.
  Open({"No. 045   ABC12345 x  name", "(005)"}, 1, "ROOM.CNF");
  f = Fields(0);
  EXPECT_EQ(f.number, "45");
  EXPECT_EQ(f.forum, "ROOM");  // no prompt line: the file's name

  // A log: the nearest room line or conference prompt before the message.
  Open({"＜料理フォーラム＞ FCOOK へようこそ", "121/132   JKL24680  じろう            献立", "       26/05/08 20:07",
        "＜パソコンフォーラム＞ SPCUPRO", "045/050   VWX99001  こうへい          ケーキ", "       26/05/08 20:07"},
       0, "LOG.TXT");
  EXPECT_EQ(Fields(1).forum, "FCOOK");
  EXPECT_EQ(Fields(3).forum, "SPCUPRO");
}

TEST_F(PadCommand, Refusals) {
  Open({"- FCOOK  MES( 5):Room", "123/130   ABC12345  ABC               Hello", "(005)"}, 1);
  host.inputs = {dir.path()};  // a folder is no file
  model->Command(cmd::VPadMail);
  EXPECT_EQ(test::Utf8(host.shown.back().text), "ファイル名指定エラー");
  EXPECT_EQ(test::Utf8(host.shown.back().caption), "ＰＡＤ作成");
  EXPECT_TRUE(host.launched.empty());

  Open({"今週のお知らせ    NEW", "  5/09  メンテナンス"}, 0, "LOG.TXT");
  struct Refusal {
    int command;
    const char *text, *caption;
  } refusals[] = {
      {cmd::VPadSay, "ＰＡＤ(発言、レス)作成機能は会議室発言に対してのみ有効です", "PAD: 発言"},
      {cmd::VPadComment, "ＰＡＤ(発言、レス)作成機能は会議室発言に対してのみ有効です", "PAD: レス"},
      {cmd::VPadMail, "ＰＡＤ(返信ﾒｰﾙ)作成機能は会議室発言またはメール対してのみ有効です", "PAD: メール返信"},
  };
  for (const Refusal& r : refusals) {
    model->Command(r.command);
    EXPECT_EQ(test::Utf8(host.shown.back().text), r.text);
    EXPECT_EQ(test::Utf8(host.shown.back().caption), r.caption);
    EXPECT_EQ(host.shown.back().icon, BoxIcon::Information);
  }
  EXPECT_TRUE(host.asked.size() == 1 && host.launched.empty());
}

}  // namespace
}  // namespace rkv
