// libish32.so: the ISH library the program loads at run time. Restores every ISH
// file found in a text (a bare ISH file, a message or a whole log) and converts a
// file to ISH text.
//   "/f=DIR FILE"      restore into DIR ("%s /f=%s" with the file first also works)
//   "/s /f=DIR FILE"   convert FILE into DIR/NAME.ISH
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include <cstring>
#include <ctime>

#include "common/arc_common.h"
#include "ish32/ish_codec.h"

namespace {

constexpr int kVersion = 100;
constexpr int kNoData = 1;   // nothing that looks like ISH
constexpr int kFailed = 2;   // a file could not be restored or written

std::string BaseName(std::string_view path) {
  size_t p = path.find_last_of('/');
  return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

// Volumes are gathered in DIR/NAME.#MV until every one is in: a magic line, the
// header bytes every volume shares, one byte per volume, then the file bytes.
constexpr std::string_view kMvMagic = "RKV ISH volumes\n";

bool StoreVolume(const std::string& dir, const ish::Piece& p, bool& complete, std::string& whole) {
  complete = false;
  const std::string path = dir + "/" + arc::Native(p.name) + ".#MV";
  const size_t head = kMvMagic.size() + p.key.size();
  const size_t total = head + size_t(p.volumes) + p.totalSize;
  std::string state;
  if (arc::ReadWhole(path, state)) {
    if (state.size() != total || state.compare(0, kMvMagic.size(), kMvMagic) != 0 ||
        state.compare(kMvMagic.size(), p.key.size(), p.key) != 0)
      return false;  // another file's volumes: leave them alone
  } else {
    state.assign(total, '\0');
    state.replace(0, kMvMagic.size(), kMvMagic);
    state.replace(kMvMagic.size(), p.key.size(), p.key);
  }
  state[head + size_t(p.volume - 1)] = 1;
  state.replace(head + size_t(p.volumes) + size_t(p.volume - 1) * p.sliceSize, p.data.size(), p.data);
  bool all = true;
  for (int v = 0; v < p.volumes; ++v) all = all && state[head + size_t(v)] == 1;
  if (all) {
    whole = state.substr(head + size_t(p.volumes));
    const auto* b = reinterpret_cast<const uint8_t*>(whole.data());
    bool ok = ish::Crc16(b, whole.size()) == p.totalCrc16 && ish::Crc32(b, whole.size()) == p.totalCrc32;
    unlink(path.c_str());
    complete = true;
    return ok;
  }
  const std::string tmp = path + ".tmp";
  FILE* f = fopen(tmp.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(state.data(), 1, state.size(), f) == state.size();
  ok = (fclose(f) == 0) && ok;
  ok = ok && rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) unlink(tmp.c_str());
  return ok;
}

int Restore(const std::string& dir, const std::vector<std::string>& files) {
  bool any = false, failed = false;
  for (const std::string& file : files) {
    std::string text;
    if (!arc::ReadWhole(arc::Native(file), text)) return kFailed;
    for (const ish::Piece& p : ish::Decode(text)) {
      any = true;
      if (!p.ok || p.name.empty()) {
        failed = true;
        continue;
      }
      std::string data = p.data;
      if (p.volume) {
        bool complete = false;
        if (!StoreVolume(dir, p, complete, data)) {
          failed = true;
          continue;
        }
        if (!complete) continue;
      }
      int64_t mtime = p.hasTime ? arc::DosTimeToUnix(p.dosTime) : -1;
      if (!arc::PlaceFile(dir, arc::Native(p.name), data, mtime)) failed = true;
    }
  }
  if (!any) return kNoData;
  return failed ? kFailed : 0;
}

int Convert(const std::string& dir, const std::vector<std::string>& files, ish::Variant variant) {
  if (files.empty()) return kFailed;
  for (const std::string& file : files) {
    ish::EncodeInput in;
    const std::string native = arc::Native(file);
    if (!arc::ReadWhole(native, in.data)) return kFailed;
    struct stat st;
    int64_t mtime = stat(native.c_str(), &st) == 0 ? int64_t(st.st_mtime) : int64_t(time(nullptr));
    in.dosTime = arc::UnixToDosTime(mtime);
    time_t tt = time_t(mtime);
    struct tm tm{};
    localtime_r(&tt, &tm);
    in.tzWest = int32_t(-tm.tm_gmtoff);
    in.fileName = BaseName(file);
    std::string stem = in.fileName.substr(0, in.fileName.rfind('.'));
    if (stem.empty()) stem = in.fileName;
    if (stem.size() > 8) stem.resize(8);
    std::string text = ish::Encode(variant, in);
    if (!arc::PlaceFile(dir, arc::Native(stem) + ".ISH", text)) return kFailed;
  }
  return 0;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int Ish(void* /*owner*/, const char* commandLine) {
  if (!commandLine) return kFailed;
  std::string dir = ".";
  bool convert = false;
  ish::Variant variant = ish::Variant::Jis7;
  std::vector<std::string> files;
  for (const std::string& w : arc::SplitCommand(commandLine)) {
    if (w.size() >= 2 && (w[0] == '/' || w[0] == '-') && (w[1] == 'f' || w[1] == 'F') &&
        w.size() > 2 && w[2] == '=') {
      dir = arc::TrimFolder(w.substr(3));
      if (dir.empty()) dir = ".";
    } else if (w == "/s" || w == "/s7" || w == "-s" || w == "-s7") {
      // A bare "/s" writes jis7: plain 7-bit ASCII survives every mail and BBS path.
      convert = true;
      variant = ish::Variant::Jis7;
    } else if (w == "/s8" || w == "-s8") {
      convert = true;
      variant = ish::Variant::Jis8;
    } else if (w == "/ss" || w == "-ss") {
      convert = true;
      variant = ish::Variant::ShiftJis;
    } else if (w == "/sn" || w == "-sn") {
      convert = true;
      variant = ish::Variant::NonKana;
    } else {
      files.push_back(w);
    }
  }
  const std::string nativeDir = arc::Native(dir);
  struct stat st;
  if (stat(nativeDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return kFailed;
  return convert ? Convert(nativeDir, files, variant) : Restore(nativeDir, files);
}

// 0 when the file holds ISH data; the buffer gets the names found, one per line.
__attribute__((visibility("default"))) int IshFileList(const char* path, char* buffer, int size) {
  if (!path) return kNoData;
  std::string text;
  if (!arc::ReadWhole(arc::Native(path), text)) return kNoData;
  std::string list;
  bool any = false;
  for (const ish::Piece& p : ish::Decode(text)) {
    any = true;
    list += p.name + "\r\n";
  }
  if (buffer && size > 0) {
    size_t n = std::min(list.size(), size_t(size - 1));
    std::memcpy(buffer, list.data(), n);
    buffer[n] = '\0';
  }
  return any ? 0 : kNoData;
}

__attribute__((visibility("default"))) int IshGetVersion() { return kVersion; }

}  // extern "C"
