// libunlha32.so and libunzip32.so through their entry points, on real archives
// made by many programs and on hostile ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "archivers/archiver_support.h"
#include "common/extract.h"
#include "core/cp932.h"
#include "support/test_env.h"

extern "C" {
int Unlha(void* owner, const char* commandLine, char* output, unsigned long size);
int UnZip(void* owner, const char* commandLine, char* output, unsigned long size);
int UnZipCheckArchive(const char* path, int mode);
}

namespace rkv::test {
namespace {

namespace fs = std::filesystem;
const std::string kLzh = kShared + "/lzh";
const std::string kZip = kShared + "/zip";

int UnlhaCall(const std::string& command, std::string* output = nullptr) {
  std::string buf(64000, '\0');
  int r = Unlha(nullptr, cp932::FromUtf8(command).c_str(), buf.data(), buf.size());
  if (output) *output = buf.substr(0, buf.find('\0'));
  return r;
}

TEST(Unlha32, EveryArchiveLhasaExtractsComesOutWithTheManifestsContent) {
  auto archives = ReadManifest(kLzh + "/MANIFEST.md");
  ASSERT_GE(archives.size(), 30u);
  std::set<std::string> all;
  for (const auto& a : archives) all.insert(a.fileShas.begin(), a.fileShas.end());
  for (const auto& a : archives) {
    TempDir out;
    int r = UnlhaCall("x " + kLzh + "/" + a.path + " " + out.path() + "/");
    auto written = ShasBelow(out.path());
    // Never a partial, zero-filled or wrong file. (The manifest has no content for
    // symlink2's file; MacLHA's member is stored with its MacBinary prefix.)
    if (a.path != "maclha_224/l1_lh5.lzh" && a.path != "regression/symlink2.lzh") {
      for (const auto& sha : written) EXPECT_TRUE(all.count(sha)) << a.path;
    }
    if (!a.lhasaOk) continue;
    EXPECT_EQ(r, 0) << a.path;
    EXPECT_EQ(written, a.fileShas) << a.path;
  }
  // The methods only our own decoders read stay in the table, with their content.
  const std::map<std::string, std::string> ownMethods = {
      {"pmarc2/pm2.pma", "891ff81846fa2544373b4eec884593050069973c9be6771ed279959721aee739"},
      {"lharc113/lh1.lzh", "8177f97513213526df2cf6184d8ff986c675afb514d4e68a404010521b880643"},
      {"larc333/lz5.lzs", "8177f97513213526df2cf6184d8ff986c675afb514d4e68a404010521b880643"}};
  for (const auto& [path, sha] : ownMethods) {
    auto it = std::find_if(archives.begin(), archives.end(), [&](const auto& a) { return a.path == path; });
    ASSERT_NE(it, archives.end()) << path;
    EXPECT_TRUE(it->lhasaOk) << path;
    EXPECT_EQ(it->fileShas, std::vector<std::string>{sha}) << path;
  }
}

TEST(Unlha32, HostileArchivesWriteNothingOutsideTheFolder) {
  // A leading "/" is dropped and the member lands inside; ".." and links are
  // refused, and that is reported. entries: what the folder holds afterwards.
  struct Row {
    const char* h;
    bool refused;
    size_t entries;
  } rows[] = {{"lzh/ours/hostile_dotdot_l0.lzh", true, 4}, {"lzh/ours/hostile_dotdot_l1.lzh", true, 4},
              {"lzh/regression/abspath.lzh", false, 5},    {"lzh/regression/dotdot.lzh", true, 3},
              {"lzh/regression/symlink2.lzh", true, 5},    {"zip/hostile_abspath.zip", false, 6},
              {"zip/hostile_dotdot.zip", true, 4},         {"zip/hostile_symlink.zip", true, 6}};
  for (auto [h, refused, expectedEntries] : rows) {
    TempDir root;
    fs::create_directories(root / "a/b/out");
    const std::string out = root / "a/b/out";
    std::string path = kShared + "/" + h;
    int r = std::string(h).rfind("lzh", 0) == 0 ? UnlhaCall("x " + path + " " + out + "/")
                                                : UnZip(nullptr, (path + " " + out + "/").c_str(), nullptr, 0);
    EXPECT_EQ(r != 0, refused) << h;
    size_t entries = 0;
    for (auto it = fs::recursive_directory_iterator(root.path()); it != fs::end(it); ++it) {
      ++entries;
      EXPECT_FALSE(it->is_symlink()) << h << " " << it->path();
      EXPECT_EQ(it->path().string().rfind(out, 0) == 0 || out.rfind(it->path().string(), 0) == 0, true)
          << h << " wrote " << it->path();
    }
    EXPECT_EQ(entries, expectedEntries) << h;  // a, a/b, a/b/out and the safe members
    EXPECT_FALSE(fs::exists("/tmp/evil.txt"));
    EXPECT_FALSE(fs::exists("/tmp/absolute_path.txt"));
  }
}

TEST(Unlha32, FailedMembersLeaveNothingAndReplaceNothing) {
  // Damaged -pm2- data, one byte changed in the middle, goes through our own decoder.
  TempDir damaged;
  std::string pm2 = ReadFile(kLzh + "/pmarc2/pm2.pma");
  ASSERT_GT(pm2.size(), 4000u);
  pm2[4000] = char(pm2[4000] ^ 0x10);
  WriteFile(damaged / "pm2.pma", pm2);
  for (std::string a : {kLzh + "/ours/h0_lh5_bitflip.lzh", kLzh + "/regression/truncated.lzh",
                        damaged.path() + "/pm2.pma"}) {
    TempDir out;
    for (const char* name : {"gpl-2", "GPL-2", "GPL-2."}) WriteFile(out / name, "mine");
    EXPECT_NE(UnlhaCall("x " + a + " " + out.path() + "/"), 0) << a;
    auto tree = TreeHashes(out.path());
    EXPECT_EQ(tree.size(), 3u) << a;
    EXPECT_EQ(ReadFile(out / "GPL-2."), "mine");
  }
}

TEST(Unlha32, ListColumnsNamesAndOneChosenMember) {
  std::string list;
  ASSERT_EQ(UnlhaCall(" " + kLzh + "/regression/multiple.lzh", &list), 0);
  size_t start = list.find(" ----\n");
  ASSERT_NE(start, std::string::npos);
  std::vector<std::string> lines;
  for (size_t p = start + 6, q; (q = list.find('\n', p)) != std::string::npos; p = q + 1)
    lines.push_back(list.substr(p, q - p + 1));
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[2].substr(2, 12), "file2-2.txt ");
  EXPECT_EQ(lines[2].substr(16, 8), "      15");
  EXPECT_EQ(lines[2].substr(60, 5), "-lh0-");
  EXPECT_NE(lines[5].find("-------------"), std::string::npos);
  EXPECT_GE(list.size(), 220u);
  // The program sends the member's display line: byte 0, name, size, date and time.
  std::string display(81, ' ');
  display[0] = lines[2][0];
  display.replace(1, 12, lines[2].substr(2, 12));
  display.replace(13, 8, lines[2].substr(16, 8));
  display.replace(23, 18, lines[2].substr(41, 18));
  TempDir out;
  EXPECT_EQ(UnlhaCall("x " + kLzh + "/regression/multiple.lzh " + out.path() + "/ " + display), 0);
  EXPECT_EQ(TreeHashes(out.path()).count("file2-2.txt"), 1u);
  EXPECT_EQ(TreeHashes(out.path()).size(), 1u);
  // Shift-JIS names: listed in CP932, written as UTF-8, a 0x5C trail byte kept.
  ASSERT_EQ(UnlhaCall(" " + kLzh + "/ours/sjis_5c_l0.lzh", &list), 0);
  EXPECT_NE(list.find(cp932::FromUtf8("能力表.TXT")), std::string::npos);
  EXPECT_EQ(UnlhaCall("x " + kLzh + "/ours/sjis_5c_l1.lzh " + out.path() + "/"), 0);
  EXPECT_TRUE(fs::exists(out.path() + "/表示/能力表.TXT"));
  EXPECT_NE(UnlhaCall(" " + kShared + "/ish/ONE.BIN", &list), 0);  // not an archive
  // An output folder that is not there yet is made.
  EXPECT_EQ(UnlhaCall("x " + kLzh + "/regression/multiple.lzh " + out.path() + "/NEW/SUB/"), 0);
  EXPECT_EQ(TreeHashes(out.path() + "/NEW/SUB").size(), 5u);
}

TEST(Unzip32, ArchivesUnpackWithTheirContentAndCp932Names) {
  for (const auto& a : ReadManifest(kZip + "/MANIFEST.md")) {
    if (a.path.find("hostile") != std::string::npos) continue;
    const std::string path = kZip + "/" + a.path;
    EXPECT_EQ(UnZipCheckArchive(path.c_str(), 1), 1) << a.path;
    TempDir out;
    EXPECT_EQ(UnZip(nullptr, ("\"" + path + "\" " + out.path() + "/").c_str(), nullptr, 0), 0) << a.path;
    EXPECT_EQ(ShasBelow(out.path()), a.fileShas) << a.path;
  }
  TempDir out;
  UnZip(nullptr, (kZip + "/sjis_names.zip " + out.path() + "/").c_str(), nullptr, 0);
  EXPECT_TRUE(fs::exists(out.path() + "/ソフト/能力表.txt"));
  EXPECT_EQ(UnZipCheckArchive((kLzh + "/regression/multiple.lzh").c_str(), 1), 0);
}

}  // namespace
}  // namespace rkv::test

namespace rkv::test {
namespace {

// Our -lh5- archives pass lhasa's test and come out of lhasa byte for byte.
TEST(Unlha32, PackedArchivesPassLhasaAndExtractByteForByte) {
  ASSERT_EQ(RunCommand("command -v lhasa").exitCode, 0) << "lhasa is installed by scripts/deps.sh";
  TempDir in, out, ours;
  std::string text;
  for (int i = 0; i < 4000; ++i) text += "line " + std::to_string(i * 7919 % 1000) + " テキスト\r\n";
  std::string noise;
  uint32_t x = 12345;
  for (int i = 0; i < 200000; ++i) noise += char((x = x * 1103515245 + 12345) >> 24);
  const std::pair<std::string, std::string> files[] = {
      {"TEXT.TXT", text},          {"NOISE.BIN", noise},   {"EMPTY.BIN", ""}, {"ONE.BIN", "x"},
      {"表示 能力表.TXT", text.substr(0, 9000)}, {"RUNS.BIN", std::string(100000, 'a') + noise.substr(0, 70000)},
      {"MIX20K.BIN", ReadFile(kShared + "/ish/MIX20K.BIN")}};
  std::vector<std::string> shas;
  for (const auto& [name, data] : files) {
    WriteFile(in.path() + "/" + name, data);
    EXPECT_EQ(UnlhaCall("a " + out.path() + "/T.LZH \"" + in.path() + "/" + name + "\""), 0) << name;
    shas.push_back(Sha256File(in.path() + "/" + name));
  }
  // Adding a file of the same name again replaces that member only.
  EXPECT_EQ(UnlhaCall("a " + out.path() + "/T.LZH " + in.path() + "/ONE.BIN"), 0);
  std::sort(shas.begin(), shas.end());
  RunResult t = RunCommand("cd '" + out.path() + "' && lhasa t T.LZH 2>&1");
  EXPECT_EQ(t.exitCode, 0) << t.out;
  size_t tested = 0;
  for (size_t p = 0; (p = t.out.find("Tested", p)) != std::string::npos; ++p) ++tested;
  EXPECT_EQ(tested, std::size(files)) << t.out;
  RunResult x2 = RunCommand("mkdir '" + out.path() + "/x' && cd '" + out.path() + "/x' && lhasa x ../T.LZH 2>&1");
  EXPECT_EQ(x2.exitCode, 0) << x2.out;
  EXPECT_EQ(ShasBelow(out.path() + "/x"), shas);
  // Our own reader gives the names back as written.
  EXPECT_EQ(UnlhaCall("x " + out.path() + "/T.LZH " + ours.path() + "/"), 0);
  EXPECT_EQ(ShasBelow(ours.path()), shas);
  EXPECT_TRUE(fs::exists(ours.path() + "/表示 能力表.TXT"));
  // A file that is not an archive is never written to.
  EXPECT_NE(UnlhaCall("a " + in.path() + "/TEXT.TXT " + in.path() + "/ONE.BIN"), 0);
  EXPECT_EQ(ReadFile(in.path() + "/TEXT.TXT"), text);
}

}  // namespace
}  // namespace rkv::test


namespace rkv::test {
namespace {

// Member paths as archives store them, and where they may land.
TEST(SafeParts, NothingLeadsOutOfTheFolder) {
  struct Row {
    const char* stored;
    const char* lands;  // nullptr: refused
  } rows[] = {
      {"a.txt", "a.txt"},           {"dir/a.txt", "dir/a.txt"},      {"dir\\sub\\a.txt", "dir/sub/a.txt"},
      {"/etc/passwd", "etc/passwd"}, {"C:\\WIN\\evil.exe", "WIN/evil.exe"}, {"c:/x", "x"},
      {"./a/./b", "a/b"},           {"../evil.txt", nullptr},        {"a/../../evil.txt", nullptr},
      {"..\\evil.txt", nullptr},    {"foo\\..\\..\\x", nullptr},     {"", nullptr},
      {"/", nullptr},               {"C:", nullptr},                 {"a/..b/c", "a/..b/c"},
  };
  for (const Row& r : rows) {
    auto parts = arc::SafeParts(r.stored);
    if (!r.lands) {
      EXPECT_FALSE(parts) << r.stored;
      continue;
    }
    ASSERT_TRUE(parts) << r.stored;
    std::string joined;
    for (const auto& p : *parts) joined += (joined.empty() ? "" : "/") + p;
    EXPECT_EQ(joined, r.lands) << r.stored;
  }
}

}  // namespace
}  // namespace rkv::test
