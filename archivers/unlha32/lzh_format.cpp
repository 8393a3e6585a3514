#include "unlha32/lzh_format.h"

#include <array>
#include <cstdio>
#include <ctime>

#include "common/arc_common.h"

namespace lzh {
namespace {

uint32_t Le(const uint8_t* p, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

bool IsLead(uint8_t c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Level 0/1 names use "\" or 0xFF between folders; a "\" that is the second byte
// of a Shift-JIS character stays.
std::string NameWithSlashes(std::string_view raw) {
  std::string out;
  for (size_t i = 0; i < raw.size(); ++i) {
    uint8_t c = uint8_t(raw[i]);
    if (IsLead(c) && i + 1 < raw.size()) {
      out += raw[i];
      out += raw[++i];
    } else {
      out += (c == '\\' || c == 0xFF) ? '/' : raw[i];
    }
  }
  return out;
}

}  // namespace

uint16_t Crc16(const uint8_t* p, size_t n, uint16_t crc) {
  // Eight tables: table k gives a byte's effect k bytes further on, so eight
  // bytes take one step.
  static const auto tables = [] {
    std::vector<std::array<uint16_t, 256>> t(8);
    for (unsigned i = 0; i < 256; ++i) {
      unsigned r = i;
      for (int k = 0; k < 8; ++k) r = (r & 1) ? (r >> 1) ^ 0xA001 : r >> 1;
      t[0][i] = uint16_t(r);
    }
    for (size_t k = 1; k < 8; ++k)
      for (unsigned i = 0; i < 256; ++i) t[k][i] = uint16_t((t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF]);
    return t;
  }();
  const auto& t = tables;
  for (; n >= 8; n -= 8, p += 8) {
    const uint32_t lo = uint32_t(p[0] | (p[1] << 8)) ^ crc;
    crc = uint16_t(t[7][lo & 0xFF] ^ t[6][lo >> 8] ^ t[5][p[2]] ^ t[4][p[3]] ^ t[3][p[4]] ^ t[2][p[5]] ^
                   t[1][p[6]] ^ t[0][p[7]]);
  }
  for (; n > 0; --n, ++p) crc = uint16_t((crc >> 8) ^ t[0][(crc ^ *p) & 0xFF]);
  return crc;
}

Listing ParseArchive(std::string_view image) {
  Listing out;
  const auto* d = reinterpret_cast<const uint8_t*>(image.data());
  const uint64_t size = image.size();
  uint64_t pos = 0;
  while (pos < size && d[pos] != 0) {
    if (pos + 24 > size || d[pos + 2] != '-' || d[pos + 6] != '-') return out;
    Member m;
    m.method.assign(image.substr(pos + 2, 5));
    m.packed = Le(d + pos + 7, 4);
    m.original = Le(d + pos + 11, 4);
    m.level = d[pos + 20];
    std::string dir, file;
    uint64_t ext = 0, extSize = 0;
    int sizeBytes = 2;
    if (m.level == 0 || m.level == 1) {
      uint64_t hsize = d[pos];
      if (pos + hsize + 2 > size) return out;
      size_t nameLen = d[pos + 21];
      if (22 + nameLen + 2 > hsize + 2) return out;
      file = NameWithSlashes(image.substr(pos + 22, nameLen));
      m.crc = uint16_t(Le(d + pos + 22 + nameLen, 2));
      m.mtime = arc::DosTimeToUnix(Le(d + pos + 15, 4));
      if (m.level == 0) {
        m.dataOffset = pos + hsize + 2;
      } else {
        extSize = Le(d + pos + hsize, 2);
        ext = pos + hsize + 2;
      }
    } else if (m.level == 2) {
      m.mtime = Le(d + pos + 15, 4);
      m.crc = uint16_t(Le(d + pos + 21, 2));
      extSize = Le(d + pos + 24, 2);
      ext = pos + 26;
      m.dataOffset = pos + Le(d + pos, 2);
    } else if (m.level == 3) {
      if (pos + 32 > size) return out;
      sizeBytes = 4;
      m.mtime = Le(d + pos + 15, 4);
      m.crc = uint16_t(Le(d + pos + 21, 2));
      m.dataOffset = pos + Le(d + pos + 24, 4);
      extSize = Le(d + pos + 28, 4);
      ext = pos + 32;
    } else {
      return out;
    }
    while (extSize != 0 && ext) {
      if (extSize < uint64_t(1 + sizeBytes) || ext + extSize > size) return out;
      uint8_t type = d[ext];
      std::string_view body = image.substr(ext + 1, extSize - 1 - uint64_t(sizeBytes));
      if (type == 0x01) file.assign(body);
      if (type == 0x02) {
        dir.clear();
        for (char c : body) dir += (uint8_t(c) == 0xFF) ? '/' : c;
        if (!dir.empty() && dir.back() != '/') dir += '/';
      }
      if (type == 0x54 && body.size() >= 4) m.mtime = Le(reinterpret_cast<const uint8_t*>(body.data()), 4);
      if (m.level == 1) m.packed -= std::min(m.packed, extSize);
      uint64_t next = Le(d + ext + extSize - uint64_t(sizeBytes), sizeBytes);
      ext += extSize;
      extSize = next;
    }
    if (m.level == 1) m.dataOffset = ext;
    m.name = dir + file;
    const bool cut = m.dataOffset + m.packed > size;  // listed; unpacking it fails
    pos = m.dataOffset + m.packed;
    out.members.push_back(std::move(m));
    if (cut) break;
  }
  out.ok = true;
  return out;
}

std::string MemberLine(const Member& m) {
  std::string name = m.name;
  while (!name.empty() && name.back() == '/') name.pop_back();
  size_t slash = std::string::npos;
  for (size_t i = 0; i < name.size(); ++i) {
    if (IsLead(uint8_t(name[i])) && i + 1 < name.size()) ++i;
    else if (name[i] == '/') slash = i;
  }
  std::string shown = slash == std::string::npos ? name : name.substr(slash + 1);
  size_t cut = 0;
  for (size_t i = 0; i < shown.size();) {
    size_t w = IsLead(uint8_t(shown[i])) && i + 1 < shown.size() ? 2 : 1;
    if (i + w > 12) break;
    i += w;
    cut = i;
  }
  shown.resize(cut);
  char when[32] = "                 ";
  if (m.mtime >= 0) {
    time_t t = time_t(m.mtime);
    struct tm tm{};
    localtime_r(&t, &tm);
    snprintf(when, sizeof when, "%02d-%02d-%02d %02d:%02d:%02d", tm.tm_year % 100, tm.tm_mon + 1, tm.tm_mday,
             tm.tm_hour, tm.tm_min, tm.tm_sec);
  }
  unsigned ratio = m.original ? unsigned(m.packed * 1000 / m.original) : 0;
  char line[128];
  snprintf(line, sizeof line, "  %-12s  %8llu %8llu %3u.%u%% %-18s %-5s %04X\n", shown.c_str(),
           (unsigned long long)m.original, (unsigned long long)m.packed, std::min(ratio, 9999u) / 10,
           std::min(ratio, 9999u) % 10, when, m.method.c_str(), m.crc);
  return line;
}

std::string ListText(const std::vector<Member>& members) {
  std::string out = "  Name          Original   Packed  Ratio Date     Time     Method CRC\n";
  out += "--------------  -------- -------- ------ ------------------ ----- ----\n";
  uint64_t orig = 0, packed = 0;
  for (const Member& m : members) {
    out += MemberLine(m);
    orig += m.original;
    packed += m.packed;
  }
  out += "--------------------------------------------------------------------\n";
  if (!members.empty()) {
    char total[96];
    snprintf(total, sizeof total, "  %4zu files   %8llu %8llu\n", members.size(), (unsigned long long)orig,
             (unsigned long long)packed);
    out += total;
  }
  return out;
}

std::string DisplayLine(std::string_view line) {
  std::string display(81, ' ');
  auto take = [&](size_t to, size_t from, size_t n) {
    for (size_t k = 0; k < n && from + k < line.size(); ++k)
      display[to + k] = line[from + k] == '\n' ? ' ' : line[from + k];
  };
  take(0, 0, 1);
  take(1, 2, 12);
  take(13, 16, 8);
  take(23, 41, 18);
  return display;
}

}  // namespace lzh
