// libish32.so through its exported entry points, on the reference test vectors.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "archivers/archiver_support.h"
#include "ish32/ish_codec.h"
#include "support/test_env.h"

extern "C" {
int Ish(void* owner, const char* commandLine);
int IshFileList(const char* path, char* buffer, int size);
}

namespace rkv::test {
namespace {

const std::string kIsh = kShared + "/ish";

struct Vector {
  std::string encoded;   // one file, or "A + B" for volumes
  std::string original;  // as the manifest names it
  std::string sha;
};

// The "Encoded files" table of the manifest.
std::vector<Vector> Vectors() {
  std::ifstream f(kIsh + "/MANIFEST.md");
  std::string line;
  std::vector<Vector> out;
  std::regex row(R"(^\| ([^|]+?) \| [^|]+ \| ([A-Z0-9]+\.[A-Z]+) \| \d+ \| `([0-9a-f]{64})` \|)");
  std::smatch m;
  while (std::getline(f, line))
    if (std::regex_search(line, m, row)) out.push_back({m[1], m[2], m[3]});
  return out;
}

std::string Restore(const std::string& dir, const std::string& file) {
  return std::to_string(Ish(nullptr, ("/f=" + dir + " " + file).c_str()));
}

TEST(Ish32, EveryReferenceFileRestoresToItsOriginal) {
  auto vectors = Vectors();
  ASSERT_EQ(vectors.size(), 23u);
  for (const Vector& v : vectors) {
    TempDir out;
    std::vector<std::string> parts;
    for (size_t p = 0, q; p < v.encoded.size(); p = q + 3) {
      q = v.encoded.find(" + ", p);
      if (q == std::string::npos) q = v.encoded.size();
      parts.push_back(v.encoded.substr(p, q - p));
    }
    for (const std::string& part : parts) EXPECT_EQ(Restore(out.path(), kIsh + "/" + part), "0") << part;
    auto tree = TreeHashes(out.path());
    ASSERT_EQ(tree.size(), 1u) << v.encoded;  // nothing else left behind (no volume store)
    EXPECT_EQ(tree.begin()->first, v.original) << v.encoded;
    EXPECT_EQ(tree.begin()->second, v.sha) << v.encoded;
    char list[512];
    EXPECT_EQ(IshFileList((kIsh + "/" + parts[0]).c_str(), list, sizeof list), 0);
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    out.push_back(l);
  }
  return out;
}

// Our encoder gives the reference's lines (all but the title, which names the
// writing program) and its output restores.
TEST(Ish32, EncoderMatchesReferenceLinesInEveryVariant) {
  const std::pair<const char*, ish::Variant> variants[] = {{"J7", ish::Variant::Jis7},
                                                           {"J8", ish::Variant::Jis8},
                                                           {"SS", ish::Variant::ShiftJis},
                                                           {"SN", ish::Variant::NonKana}};
  for (const char* base : {"EMPTY", "ONE", "HELLO58", "RAND1K", "MIX20K"}) {
    for (auto [tag, variant] : variants) {
      std::string ref = ReadFile(kIsh + "/" + base + "_" + tag + ".ISH");
      auto pieces = ish::Decode(ref);
      ASSERT_EQ(pieces.size(), 1u);
      ish::EncodeInput in;
      in.fileName = std::string(base) + (std::string(base) == "HELLO58" ? ".TXT" : ".BIN");
      in.data = ReadFile(kIsh + "/" + in.fileName);
      in.dosTime = pieces[0].dosTime;
      in.tzWest = -32400;
      std::string ours = ish::Encode(variant, in);
      auto a = Lines(ours), b = Lines(ref);
      ASSERT_EQ(a.size(), b.size()) << base << tag;
      for (size_t k = 1; k < a.size(); ++k) ASSERT_EQ(a[k], b[k]) << base << tag << " line " << k + 1;
      auto back = ish::Decode(ours);
      ASSERT_EQ(back.size(), 1u);
      EXPECT_TRUE(back[0].ok);
      EXPECT_EQ(back[0].data, in.data);
    }
  }
}

// Lines lost or damaged: up to two per block are rebuilt; beyond that, or with a
// wrong file CRC, the restore fails and leaves nothing in the folder.
TEST(Ish32, RepairAndFailure) {
  // MIX20K_J7: title, 3 headers, then blocks of 60 data + 2 check lines, with a
  // separator every 50th line. Lines are counted after dropping separators.
  auto ref = Lines(ReadFile(kIsh + "/MIX20K_J7.ISH"));
  std::vector<std::string> body;
  for (auto& l : ref)
    if (l.rfind("---", 0) != 0) body.push_back(l);
  const size_t first = 4;  // first data line of block 1 in body
  struct Case {
    const char* what;
    std::vector<size_t> drop;  // offsets in block 1: 0..59 data, 60 vertical, 61 diagonal
    bool ok;
    int repaired;
  } cases[] = {
      {"one data line", {7}, true, 1},
      {"one data line and the vertical", {7, 60}, true, 1},
      {"two data lines", {0, 59}, true, 2},
      {"two data lines and the diagonal", {3, 9, 61}, false, 0},
      {"two data lines and the vertical", {3, 9, 60}, false, 0},
      {"three data lines", {1, 2, 3}, false, 0},
      {"check lines only", {60, 61}, true, 0},
  };
  for (const Case& c : cases) {
    std::string text;
    for (size_t k = 0; k < body.size(); ++k) {
      bool dropped = false;
      for (size_t d : c.drop) dropped = dropped || k == first + d;
      if (!dropped) text += body[k] + "\r\n";
    }
    auto pieces = ish::Decode(text);
    ASSERT_EQ(pieces.size(), 1u) << c.what;
    EXPECT_EQ(pieces[0].ok, c.ok) << c.what;
    if (c.ok) {
      EXPECT_EQ(pieces[0].repairedLines, c.repaired) << c.what;
    }
    TempDir out;
    WriteFile(out / "IN.TXT", text);
    EXPECT_EQ(Restore(out.path(), out / "IN.TXT") == "0", c.ok) << c.what;
    EXPECT_EQ(TreeHashes(out.path()).size(), c.ok ? 2u : 1u) << c.what;
  }

  // A header of 19 bytes over the body of a 20-byte file: every line is sound,
  // only the file CRC tells. The reference keeps such a file; we keep nothing.
  ish::EncodeInput a{"A.BIN", std::string(19, 'a'), 0, 0}, b{"A.BIN", std::string(20, 'b'), 0, 0};
  auto ta = Lines(ish::Encode(ish::Variant::Jis7, a)), tb = Lines(ish::Encode(ish::Variant::Jis7, b));
  std::string mixed;
  for (size_t k = 1; k < 4; ++k) mixed += ta[k] + "\n";
  for (size_t k = 4; k < tb.size(); ++k) mixed += tb[k] + "\n";
  auto pieces = ish::Decode(mixed);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_FALSE(pieces[0].ok);
  TempDir out;
  WriteFile(out / "MIXED.TXT", mixed);
  EXPECT_NE(Restore(out.path(), out / "MIXED.TXT"), "0");
  EXPECT_EQ(TreeHashes(out.path()).size(), 1u);
}

TEST(Ish32, ConvertWritesJis7ThatRestoresAndRefusesToReplace) {
  TempDir in, out, back;
  WriteFile(in / "DATA.BIN", ReadFile(kIsh + "/MIX20K.BIN"));
  EXPECT_EQ(Ish(nullptr, ("/s /f=" + out.path() + "/ " + in / "DATA.BIN").c_str()), 0);
  std::string text = ReadFile(out / "DATA.ISH");
  EXPECT_NE(text.find("( use jis7 ish )"), std::string::npos);
  // Two ISH files in one text, with foreign lines around, both restore.
  WriteFile(back / "LOG.TXT", "header\r\n" + text + "between\r\n" + ReadFile(kIsh + "/ONE_SN.ISH"));
  EXPECT_EQ(Restore(back.path(), back / "LOG.TXT"), "0");
  EXPECT_EQ(ReadFile(back / "DATA.BIN"), ReadFile(kIsh + "/MIX20K.BIN"));
  EXPECT_EQ(ReadFile(back / "ONE.BIN"), ReadFile(kIsh + "/ONE.BIN"));
  // A different file of the same name is never replaced.
  WriteFile(in / "DATA.BIN", "other");
  EXPECT_NE(Ish(nullptr, ("/s /f=" + out.path() + " " + in / "DATA.BIN").c_str()), 0);
  EXPECT_EQ(ReadFile(out / "DATA.ISH"), text);
  WriteFile(back / "ONE.BIN", "mine");
  EXPECT_NE(Restore(back.path(), kIsh + "/ONE_J7.ISH"), "0");
  EXPECT_EQ(ReadFile(back / "ONE.BIN"), "mine");
  // A file that lost only its last check line, followed at once by another file:
  // both restore.
  auto one = Lines(ReadFile(kIsh + "/ONE_J7.ISH"));
  std::string joined;
  for (size_t k = 0; k + 2 < one.size(); ++k) joined += one[k] + "\n";  // no diagonal, no separator
  joined += ReadFile(kIsh + "/SAMPLE_J7.ISH");
  auto both = ish::Decode(joined);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_TRUE(both[0].ok && both[1].ok);
  EXPECT_EQ(both[0].data, ReadFile(kIsh + "/ONE.BIN"));
  // No ISH data at all.
  char list[512];
  EXPECT_NE(IshFileList((kIsh + "/HELLO58.TXT").c_str(), list, sizeof list), 0);
  EXPECT_NE(Restore(back.path(), kIsh + "/HELLO58.TXT"), "0");
}

}  // namespace
}  // namespace rkv::test
