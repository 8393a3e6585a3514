#include "unlha32/lzh_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "common/arc_common.h"
#include "unlha32/lh5_encoder.h"
#include "unlha32/lzh_format.h"

namespace lzh {
namespace {

void Le(std::string& out, uint64_t v, int n) {
  for (int i = 0; i < n; ++i) out += char((v >> (8 * i)) & 0xFF);
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string Lh5Member(const std::string& cp932Name, std::string_view data, int64_t mtime) {
  std::string packed = CompressLh5(data);
  std::string method = "-lh5-";
  if (packed.size() >= data.size()) {
    packed.assign(data);
    method = "-lh0-";
  }
  const uint16_t crc = Crc16(reinterpret_cast<const uint8_t*>(data.data()), data.size());
  std::string h;
  Le(h, 0, 2);  // header size, filled below
  h += method;
  Le(h, packed.size(), 4);
  Le(h, data.size(), 4);
  Le(h, uint64_t(mtime < 0 ? 0 : mtime), 4);
  h += char(0x20);
  h += char(2);
  Le(h, crc, 2);
  // Windows: names are Shift-JIS bytes and their case is kept (readers lower-case
  // MS-DOS names, trail bytes included).
  h += 'W';
  Le(h, 5, 2);
  // Extended headers: the header CRC, then the name, then the end.
  const size_t crcAt = h.size() + 1;
  h += char(0x00);
  Le(h, 0, 2);
  Le(h, 3 + cp932Name.size(), 2);
  h += char(0x01);
  h += cp932Name;
  Le(h, 0, 2);
  // A header size with a zero low byte would read as the end of the archive.
  if ((h.size() & 0xFF) == 0) h += char(0);
  h[0] = char(h.size() & 0xFF);
  h[1] = char(h.size() >> 8);
  uint16_t hcrc = Crc16(reinterpret_cast<const uint8_t*>(h.data()), h.size());
  h[crcAt] = char(hcrc & 0xFF);
  h[crcAt + 1] = char(hcrc >> 8);
  return h + packed;
}

bool AddFile(const std::string& nativeArchive, const std::string& nativeFile, const std::string& cp932Path) {
  std::string data;
  struct stat st;
  if (stat(nativeFile.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || !arc::ReadWhole(nativeFile, data)) return false;
  const std::string name = BaseName(cp932Path);
  if (name.empty() || name.size() > 200) return false;
  std::string image, out;
  if (stat(nativeArchive.c_str(), &st) == 0) {
    if (!arc::ReadWhole(nativeArchive, image)) return false;
    Listing old = ParseArchive(image);
    if (!old.ok) return false;
    // Keep every member but one of the same name, byte for byte.
    uint64_t pos = 0;
    for (const Member& m : old.members) {
      uint64_t end = m.dataOffset + m.packed;
      if (end > image.size()) return false;
      if (m.name != name) out.append(image, pos, end - pos);
      pos = end;
    }
  }
  out += Lh5Member(name, data, int64_t(st.st_mtime));
  out += '\0';
  const std::string tmp = nativeArchive + ".tmp" + std::to_string(getpid());
  FILE* f = fopen(tmp.c_str(), "wbx");
  if (!f) return false;
  bool ok = fwrite(out.data(), 1, out.size(), f) == out.size();
  ok = fflush(f) == 0 && fsync(fileno(f)) == 0 && ok;
  ok = fclose(f) == 0 && ok;
  ok = ok && rename(tmp.c_str(), nativeArchive.c_str()) == 0;
  if (!ok) unlink(tmp.c_str());
  return ok;
}

}  // namespace lzh
