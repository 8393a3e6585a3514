// The viewer's ISH restore with the real ISH library: the message goes through
// "RKV_ISH.TMP", which never stays behind.
#include <gtest/gtest.h>

#include "archivers/archiver_support.h"
#include "core/cp932.h"
#include "platform/library.h"
#include "support/scripted_host.h"
#include "support/test_env.h"
#include "tools/ish_restore.h"

namespace rkv::test {
namespace {

std::vector<std::string> MessageLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t p = 0, q; p < text.size(); p = q + 1) {
    q = text.find('\n', p);
    if (q == std::string::npos) q = text.size();
    std::string l = text.substr(p, q - p);
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  return lines;
}

std::vector<std::string> Texts(const ScriptedHost& host) {
  std::vector<std::string> out;
  for (const auto& s : host.shown) out.push_back(cp932::ToUtf8(s.caption) + ": " + cp932::ToUtf8(s.text));
  return out;
}

TEST(IshRestoreMessage, RestoresFromTheWholeMessageAndAlwaysRemovesTheTemporaryFile) {
  // A conference message: header lines, text, the ISH lines, more text.
  const auto posted = MessageLines(ReadFile(kShared + "/ish/LOGMSG.TXT"));
  const auto plain = MessageLines(ReadFile(kShared + "/ish/HELLO58.TXT"));
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::optional<std::string> typed;  // nullopt: cancel; relative to the viewed file's folder
    std::vector<std::string> shown;
    std::string restored;
  } cases[] = {
      {"posted file", posted, "OUT", {"ISH ファイル復元: ISH ファイルを復元しました"}, "RAND1K.BIN"},
      {"no ISH data", plain, "OUT", {"ISH ファイル復元: ISH ファイルの復元に失敗しました"}, ""},
      {"empty buffer", {}, "OUT", {"ISH ファイル復元: ISH ファイルの復元に失敗しました"}, ""},
      {"cancelled", posted, std::nullopt, {}, ""},
      {"no such folder", posted, "MISSING", {}, ""},  // the temporary file cannot be made: silence
  };
  for (const Case& c : cases) {
    TempDir dir;
    RunCommand("mkdir -p '" + dir.path() + "/OUT'");
    ScriptedHost host;
    host.inputs = {c.typed};
    IshRestoreMessage(host, c.lines, dir / "ROOM.CNF");
    ASSERT_EQ(host.asked.size(), 1u) << c.what;
    EXPECT_EQ(cp932::ToUtf8(host.asked[0].title), "ISH ファイル復元");
    EXPECT_EQ(cp932::ToUtf8(host.asked[0].prompt), "ISH ファイル復元先");
    EXPECT_EQ(host.asked[0].initial, dir.path());
    EXPECT_EQ(host.asked[0].maxBytes, 256u);
    EXPECT_EQ(Texts(host), c.shown) << c.what;
    auto tree = TreeHashes(dir.path());
    EXPECT_EQ(tree.size(), c.restored.empty() ? 0u : 1u) << c.what;  // no RKV_ISH.TMP
    if (!c.restored.empty()) {
      EXPECT_EQ(tree["OUT/" + c.restored], Sha256File(kShared + "/ish/RAND1K.BIN")) << c.what;
    }
  }
}

TEST(IshRestoreMessage, WithoutTheLibraryOnlySaysSo) {
  TempDir dir;
  SetLibraryFolderForTest(dir.path());
  ScriptedHost host;
  IshRestoreMessage(host, {"x"}, dir / "ROOM.CNF");
  SetLibraryFolderForTest("");
  EXPECT_EQ(Texts(host), std::vector<std::string>{"ISH ファイル復元: ISH32.DLL が見つかりません"});
  EXPECT_TRUE(host.asked.empty());
}

}  // namespace
}  // namespace rkv::test
