// libunlha32.so: the LHA library the program loads at run time.
//   " ARCHIVE"                    list (the columns the program parses)
//   "x ARCHIVE DIR/"              unpack every member into DIR
//   "x ARCHIVE DIR/ DISPLAYLINE"  unpack the members whose display line that is
//   "a ARCHIVE FILE"              add FILE with our own -lh5- writer
#include <cstring>
#include <string>

#include "common/arc_common.h"
#include "common/extract.h"
#include "common/libarchive_extract.h"
#include "unlha32/lzh_format.h"
#include "unlha32/lzh_writer.h"
#include "unlha32/old_methods.h"

namespace {

constexpr int kVersion = 100;
constexpr int kError = 1;

void Output(char* out, unsigned long size, const std::string& text) {
  if (!out || size == 0) return;
  size_t n = std::min<size_t>(text.size(), size - 1);
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

// Words with the offset just past each, so the rest of the line can be taken whole.
struct Word {
  std::string text;
  size_t end;
};
std::vector<Word> Words(std::string_view line, size_t count) {
  std::vector<Word> words;
  size_t i = 0;
  while (words.size() < count && i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    std::string w;
    bool quoted = false;
    for (; i < line.size() && (quoted || line[i] != ' '); ++i) {
      if (line[i] == '"') quoted = !quoted;
      else w += line[i];
    }
    words.push_back({w, i});
  }
  return words;
}

int List(const std::string& archive, char* out, unsigned long size) {
  std::string image;
  if (!arc::ReadWhole(arc::Native(archive), image)) return kError;
  lzh::Listing listing = lzh::ParseArchive(image);
  if (!listing.ok) return kError;
  Output(out, size, lzh::ListText(listing.members));
  return 0;
}

// Decodes a member with our own code, checks its CRC and writes it.
bool WriteOwn(std::string_view image, const lzh::Member& m, const std::string& nativeDir,
              const std::vector<std::string>& parts, int64_t mtime) {
  std::string data;
  if (m.dataOffset + m.packed > image.size() ||
      !lzh::DecodeOld(m.method, image.substr(m.dataOffset, m.packed), m.original, data) ||
      lzh::Crc16(reinterpret_cast<const uint8_t*>(data.data()), data.size()) != m.crc)
    return false;
  arc::OutputFolder out(nativeDir);
  size_t given = 0;
  return out.WriteFile(parts, [&](char* buf, size_t n) -> long {
    size_t k = std::min(n, data.size() - given);
    std::memcpy(buf, data.data() + given, k);
    given += k;
    return long(k);
  }, mtime);
}

int Extract(const std::string& archive, const std::string& dir, std::string_view displayLine) {
  std::string image;
  if (!arc::ReadWhole(arc::Native(archive), image)) return kError;
  lzh::Listing listing = lzh::ParseArchive(image);
  if (!listing.ok) return kError;
  const std::string wanted = std::string(displayLine);
  auto trimmed = [](std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
  };
  const bool all = trimmed(wanted).empty();
  int matched = 0;
  arc::UnpackHooks hooks;
  hooks.selected = [&](int i) {
    if (all) return true;
    if (size_t(i) >= listing.members.size()) return false;
    bool hit = trimmed(lzh::DisplayLine(lzh::MemberLine(listing.members[size_t(i)]))) == trimmed(wanted);
    matched += hit;
    return hit;
  };
  // libarchive's own check misses some damage (a MacBinary prefix passes): the
  // header's CRC-16 over what was written decides.
  uint16_t crc = 0;
  int crcIndex = -1;
  hooks.consume = [&](int i, const char* p, size_t n) {
    if (i != crcIndex) crc = 0, crcIndex = i;
    crc = lzh::Crc16(reinterpret_cast<const uint8_t*>(p), n, crc);
  };
  hooks.verify = [&](int i) {
    if (size_t(i) >= listing.members.size()) return false;
    if (i != crcIndex) crc = 0;
    crcIndex = -1;
    return crc == listing.members[size_t(i)].crc;
  };
  // Members libarchive cannot decode go through our own decoders.
  hooks.decode = [&](int i, const std::vector<std::string>& parts, int64_t mtime, bool& ok) {
    if (size_t(i) >= listing.members.size()) return false;
    const lzh::Member& m = listing.members[size_t(i)];
    if (!lzh::OwnDecoder(m.method)) return false;
    ok = WriteOwn(image, m, arc::Native(dir), parts, mtime);
    return true;
  };
  arc::UnpackReport report = arc::Unpack(image, "lha", arc::Native(dir), hooks);
  if (!report.opened) {
    // Headers libarchive refuses (protection bits in byte 19, as Amiga and
    // MorphOS write): every member through our own reader and decoders.
    arc::OutputFolder out(arc::Native(dir));
    for (size_t i = 0; i < listing.members.size(); ++i) {
      if (!hooks.selected(int(i))) continue;
      const lzh::Member& m = listing.members[i];
      auto parts = arc::SafeParts(arc::Cp932ToUtf8(m.name));
      bool ok = parts && (m.directory() ? out.MakeDirs(*parts, parts->size())
                                        : lzh::Decodable(m.method) &&
                                              WriteOwn(image, m, arc::Native(dir), *parts, m.mtime));
      ++(ok ? report.written : report.failed);
    }
    report.opened = out.ok();
  }
  if (!report.opened || report.failed > 0) return kError;
  if (!all && matched == 0) return kError;
  return 0;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int Unlha(void* /*owner*/, const char* commandLine, char* out,
                                                 unsigned long size) {
  if (!commandLine) return kError;
  Output(out, size, "");
  std::string_view line(commandLine);
  auto words = Words(line, 3);
  if (words.empty()) return kError;
  const std::string& first = words[0].text;
  if (first == "a" && words.size() == 3) {
    return lzh::AddFile(arc::Native(words[1].text), arc::Native(words[2].text), words[2].text) ? 0 : kError;
  }
  if ((first == "x" || first == "e") && words.size() >= 3) {
    std::string_view rest = words[2].end < line.size() ? line.substr(words[2].end + 1) : std::string_view();
    return Extract(words[1].text, arc::TrimFolder(words[2].text), rest);
  }
  if ((first == "l" || first == "v") && words.size() >= 2) return List(words[1].text, out, size);
  return List(first, out, size);
}

__attribute__((visibility("default"))) int UnlhaGetVersion() { return kVersion; }
__attribute__((visibility("default"))) int UnlhaSetBackGroundMode(int) { return 1; }
__attribute__((visibility("default"))) int UnlhaSetCursorMode(int) { return 1; }

}  // extern "C"
