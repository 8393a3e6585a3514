#include "ish32/ish_codec.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace ish {
namespace {

// ---- CRCs -------------------------------------------------------------------

// t[k][b]: the CRC of byte b followed by k zero bytes, so eight bytes take one step.
struct Crc16Table {
  uint16_t t[8][256];
  Crc16Table() {
    for (int i = 0; i < 256; ++i) {
      uint16_t r = uint16_t(i << 8);
      for (int k = 0; k < 8; ++k) r = uint16_t((r & 0x8000) ? (r << 1) ^ 0x1021 : (r << 1));
      t[0][i] = r;
    }
    for (int k = 1; k < 8; ++k)
      for (int i = 0; i < 256; ++i) t[k][i] = uint16_t((t[k - 1][i] << 8) ^ t[0][t[k - 1][i] >> 8]);
  }
};
struct Crc32Table {
  uint32_t t[256];
  Crc32Table() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t r = i;
      for (int k = 0; k < 8; ++k) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : (r >> 1);
      t[i] = r;
    }
  }
};

// ---- Alphabets ----------------------------------------------------------------

struct Tables {
  std::string a7, a8, s1, s2, lead, n;
  int16_t a7i[256], a8i[256], s1i[256], s2i[256], ni[256];
  Tables() {
    for (int c = 0x21; c <= 0x7E; ++c)
      if (c != '#' && c != '.' && c != '`') a7 += char(c);
    a8 = "#%&')+,?/2456789:;<=>ABCDEFGHIKLNORTUVWXYZ[\\]^abcdefghijklmnpqrstuvxyz|";
    for (int c = 0xA1; c <= 0xDE; ++c)
      if (c != 0xAD && c != 0xB3 && c != 0xBF && c != 0xCD && c != 0xD3) a8 += char(c);
    auto range = [](std::string& s, int lo, int hi) {
      for (int c = lo; c <= hi; ++c) s += char(c);
    };
    range(s1, 0x40, 0x5F); range(s1, 0x61, 0x7E); range(s1, 0x27, 0x2F); range(s1, 0x89, 0x97);
    range(s1, 0x30, 0x30); range(s1, 0x99, 0x9F); range(s1, 0xA1, 0xE9); range(s1, 0x31, 0x3F);
    range(s2, 0x40, 0x5F); range(s2, 0x61, 0x7E); range(s2, 0x80, 0x9F); range(s2, 0xA1, 0xF8);
    range(lead, 0x89, 0x97); range(lead, 0x99, 0x9F); range(lead, 0xE0, 0xE9);
    n = a7 + lead;
    Invert(a7, a7i); Invert(a8, a8i); Invert(s1, s1i); Invert(s2, s2i); Invert(n, ni);
  }
  static void Invert(const std::string& s, int16_t* inv) {
    for (int i = 0; i < 256; ++i) inv[i] = -1;
    for (size_t i = 0; i < s.size(); ++i) inv[uint8_t(s[i])] = int16_t(i);
  }
};

const Tables& T() {
  static const Tables t;
  return t;
}

// ---- Variants ---------------------------------------------------------------

struct Layout {
  Variant v;
  int type;     // header byte 11
  int byte10;
  int R;        // record length
  int lineLen;  // characters per line
  const char* word;
};

constexpr Layout kLayouts[] = {
    {Variant::Jis7, 13, 16, 63, 78, "jis7"},
    {Variant::Jis8, 8, 8, 69, 79, "jis8"},
    {Variant::ShiftJis, 15, 16, 73, 78, "shift_jis"},
    {Variant::NonKana, 14, 16, 69, 79, "non-kana"},
};

const Layout& LayoutOf(Variant v) {
  for (const Layout& s : kLayouts)
    if (s.v == v) return s;
  return kLayouts[0];
}
const Layout* LayoutOfType(int type) {
  for (const Layout& s : kLayouts)
    if (s.type == type) return &s;
  return nullptr;
}

// A record as a little-endian bit stream; bits past the end read as 0 and are
// dropped on writing.
struct Bits {
  uint8_t* p;
  int bytes;
  uint32_t Get(int pos, int n) const {
    uint32_t v = 0;
    const int byte = pos >> 3;
    for (int k = 0; k < 4 && byte + k < bytes; ++k) v |= uint32_t(p[byte + k]) << (8 * k);
    return (v >> (pos & 7)) & ((1u << n) - 1);
  }
  void Put(int pos, int n, uint32_t v) {
    const uint32_t w = (v & ((1u << n) - 1)) << (pos & 7);
    const int byte = pos >> 3;
    for (int k = 0; k < 4 && byte + k < bytes; ++k) p[byte + k] |= uint8_t(w >> (8 * k));
  }
};

// Values written one after another into a record, least significant bit first,
// a byte at a time; bits past the record's end are dropped and bytes not reached
// are zero.
class BitSink {
 public:
  BitSink(uint8_t* p, int bytes) : p_(p), bytes_(bytes) {}
  void Put(int width, uint32_t v) {
    acc_ |= uint64_t(v & ((1u << width) - 1)) << pending_;
    pending_ += width;
    while (pending_ >= 8) {
      if (at_ < bytes_) p_[at_++] = uint8_t(acc_);
      acc_ >>= 8;
      pending_ -= 8;
    }
  }
  void Finish() {
    if (pending_ > 0 && at_ < bytes_) p_[at_++] = uint8_t(acc_);
    if (at_ < bytes_) std::memset(p_ + at_, 0, size_t(bytes_ - at_));
  }

 private:
  uint8_t* p_;
  int bytes_;
  int at_ = 0;
  uint64_t acc_ = 0;
  int pending_ = 0;
};

bool S1Lead(uint8_t b) { return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xE9); }

// Record -> line.
std::string EncodeJis7(const uint8_t* rec, int R) {
  const Tables& t = T();
  Bits bits{const_cast<uint8_t*>(rec), R};
  std::string out;
  for (int i = 0; i < 4; ++i) out += t.a7[bits.Get(6 * i, 6)];
  for (int i = 0; i < 37; ++i) {
    uint32_t v = bits.Get(24 + 13 * i, 13);
    out += t.a7[v / 91];
    out += t.a7[v % 91];
  }
  return out;
}

std::string EncodeJis8(const uint8_t* rec, int R) {
  const Tables& t = T();
  Bits bits{const_cast<uint8_t*>(rec), R};
  std::string out;
  for (int i = 0; i < 79; ++i) out += t.a8[bits.Get(7 * i, 7)];
  return out;
}

std::string EncodeShiftJis(const uint8_t* rec) {
  const Tables& t = T();
  Bits bits{const_cast<uint8_t*>(rec), 73};
  std::string out;
  out += t.a8[bits.Get(0, 7)];
  bool trail = false;
  auto emit = [&](uint32_t d) {
    if (trail) {
      out += t.s2[d];
      trail = false;
    } else {
      out += t.s1[d];
      trail = S1Lead(uint8_t(t.s1[d]));
    }
  };
  for (int i = 0; i < 38; ++i) {
    uint32_t v = bits.Get(7 + 15 * i, 15);
    emit(v / 182);
    emit(v % 182);
  }
  uint32_t e = bits.Get(577, 7);
  if (trail) {
    out += t.s2[e];
  } else {
    uint8_t b = uint8_t(t.s1[e]);
    if (b >= 0x89 && b <= 0x9F) b = uint8_t(b + 0x40);
    out += char(b);
  }
  return out;
}

std::string EncodeNonKana(const uint8_t* rec) {
  const Tables& t = T();
  Bits bits{const_cast<uint8_t*>(rec), 69};
  std::string out;
  out += t.a7[rec[0]];
  int e = 0;
  int pos = 8;
  while (e <= 75) {
    uint32_t v = bits.Get(pos, 14);
    pos += 14;
    if (v < 11193) {
      uint32_t r = v % 123;
      out += t.a7[v / 123];
      out += t.n[r];
      e += 2;
      if (r >= 91) {
        out += t.s2[bits.Get(pos, 7)];
        pos += 7;
        e += 1;
      }
    } else {
      v -= 11193;
      out += t.lead[v / 182];
      out += t.s2[v % 182];
      e += 2;
    }
  }
  if (e == 76) {
    uint32_t v = bits.Get(pos, 13);
    out += t.a7[v / 91];
    out += t.a7[v % 91];
  } else if (e == 77) {
    out += t.a7[bits.Get(pos, 5)];
  }
  return out;
}

std::string EncodeRecord(Variant v, const uint8_t* rec, int R) {
  switch (v) {
    case Variant::Jis7: return EncodeJis7(rec, R);
    case Variant::Jis8: return EncodeJis8(rec, R);
    case Variant::ShiftJis: return EncodeShiftJis(rec);
    case Variant::NonKana: return EncodeNonKana(rec);
  }
  return {};
}

// Line -> record (R bytes); false when a character or a value is out of range.
bool DecodeJis7(std::string_view s, uint8_t* rec, int R) {
  if (s.size() < 78) return false;
  const Tables& t = T();
  BitSink bits(rec, R);
  for (int i = 0; i < 4; ++i) {
    int a = t.a7i[uint8_t(s[size_t(i)])];
    if (a < 0 || a >= 64) return false;
    bits.Put(6, uint32_t(a));
  }
  for (int i = 0; i < 37; ++i) {
    int a = t.a7i[uint8_t(s[size_t(4 + 2 * i)])], b = t.a7i[uint8_t(s[size_t(5 + 2 * i)])];
    if (a < 0 || b < 0) return false;
    int v = 91 * a + b;
    if (v > 8191) return false;
    bits.Put(13, uint32_t(v));
  }
  bits.Finish();
  return true;
}

bool DecodeJis8(std::string_view s, uint8_t* rec, int R) {
  if (s.size() < 79) return false;
  const Tables& t = T();
  BitSink bits(rec, R);
  for (int i = 0; i < 79; ++i) {
    int a = t.a8i[uint8_t(s[size_t(i)])];
    if (a < 0) return false;
    bits.Put(7, uint32_t(a));
  }
  bits.Finish();
  return true;
}

bool DecodeShiftJis(std::string_view s, uint8_t* rec) {
  if (s.size() < 78) return false;
  const Tables& t = T();
  BitSink bits(rec, 73);
  int a = t.a8i[uint8_t(s[0])];
  if (a < 0) return false;
  bits.Put(7, uint32_t(a));
  bool trail = false;
  int digits[76];
  for (int i = 0; i < 76; ++i) {
    uint8_t b = uint8_t(s[size_t(1 + i)]);
    int d;
    if (trail) {
      d = t.s2i[b];
      trail = false;
    } else {
      d = t.s1i[b];
      trail = S1Lead(b);
    }
    if (d < 0) return false;
    digits[i] = d;
  }
  for (int i = 0; i < 38; ++i) {
    int v = 182 * digits[2 * i] + digits[2 * i + 1];
    if (v > 32767) return false;
    bits.Put(15, uint32_t(v));
  }
  uint8_t b = uint8_t(s[77]);
  int e;
  if (trail) {
    e = t.s2i[b];
  } else {
    if (b >= 0xC9 && b <= 0xDF) b = uint8_t(b - 0x40);
    e = t.s1i[b];
  }
  if (e < 0 || e > 127) return false;
  bits.Put(7, uint32_t(e));
  bits.Finish();
  return true;
}

bool DecodeNonKana(std::string_view s, uint8_t* rec) {
  if (s.size() < 79) return false;
  const Tables& t = T();
  BitSink bits(rec, 69);
  int id = t.a7i[uint8_t(s[0])];
  if (id < 0) return false;
  bits.Put(8, uint32_t(id));
  size_t i = 1;
  auto at = [&](size_t k) -> uint8_t { return k < 79 ? uint8_t(s[k]) : 0; };
  while (i - 1 <= 75) {
    uint8_t c = at(i);
    int a = t.a7i[c];
    if (a >= 0) {
      int b = t.ni[at(i + 1)];
      if (b < 0) return false;
      bits.Put(14, uint32_t(123 * a + b));
      i += 2;
      if (b >= 91) {
        int w = t.s2i[at(i)];
        if (w < 0 || w > 127) return false;
        bits.Put(7, uint32_t(w));
        i += 1;
      }
    } else {
      int k = t.ni[c] - 91;
      if (k < 0) return false;
      int tr = t.s2i[at(i + 1)];
      if (tr < 0) return false;
      int v = 11193 + 182 * k + tr;
      if (v > 16383) return false;
      bits.Put(14, uint32_t(v));
      i += 2;
    }
  }
  if (i - 1 == 76) {
    int a = t.a7i[at(i)], b = t.a7i[at(i + 1)];
    if (a < 0 || b < 0 || 91 * a + b > 8191) return false;
    bits.Put(13, uint32_t(91 * a + b));
  } else if (i - 1 == 77) {
    int a = t.a7i[at(i)];
    if (a < 0 || a >= 32) return false;
    bits.Put(5, uint32_t(a));
  }
  bits.Finish();
  return true;
}

bool DecodeRecord(Variant v, std::string_view s, uint8_t* rec, int R) {
  switch (v) {
    case Variant::Jis7: return DecodeJis7(s, rec, R);
    case Variant::Jis8: return DecodeJis8(s, rec, R);
    case Variant::ShiftJis: return DecodeShiftJis(s, rec);
    case Variant::NonKana: return DecodeNonKana(s, rec);
  }
  return false;
}

bool CrcOk(const uint8_t* rec, int R) {
  return Crc16(rec, size_t(R - 2)) == ((rec[R - 2] << 8) | rec[R - 1]);
}
void SetCrc(uint8_t* rec, int R) {
  uint16_t c = Crc16(rec, size_t(R - 2));
  rec[R - 2] = uint8_t(c >> 8);
  rec[R - 1] = uint8_t(c);
}

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

// ---- Header -----------------------------------------------------------------

struct Header {
  uint8_t rec[69] = {};
  const Layout* layout = nullptr;
  uint32_t size = 0;
};

// A valid header line: '!' + jis7 63 bytes or '#' + jis8 69 bytes, CRC right,
// id 0, a known type code with its record length.
bool ParseHeader(std::string_view line, Header& h) {
  if (line.size() <= 60) return false;
  int hr;
  if (line[0] == '!') {
    hr = 63;
    if (!DecodeJis7(line, h.rec, hr)) return false;
  } else if (line[0] == '#') {
    hr = 69;
    if (!DecodeJis8(line, h.rec, hr)) return false;
  } else {
    return false;
  }
  if (!CrcOk(h.rec, hr) || h.rec[0] != 0) return false;
  h.layout = LayoutOfType(h.rec[11]);
  if (!h.layout || (h.layout->v == Variant::Jis8) != (hr == 69)) return false;
  if ((h.rec[6] | (h.rec[7] << 8)) != h.layout->R) return false;
  h.size = Le32(h.rec + 2);
  return true;
}

std::string UnpackName(const uint8_t* rec) {
  std::string name, ext;
  for (int i = 12; i < 20 && rec[i] != ' '; ++i) name += char(rec[i]);
  for (int i = 20; i < 23 && rec[i] != ' '; ++i) ext += char(rec[i]);
  if (!ext.empty()) name += "." + ext;
  // The name is untrusted: no separators, drive letters, control bytes or dot names.
  for (char c : name)
    if (uint8_t(c) < 0x20 || c == '/' || c == '\\' || c == ':' || c == 0x7F) return {};
  if (name.empty() || name == "." || name == ".." || name[0] == '.') return {};
  return name;
}

// The text's lines without control bytes, empty ones left out; the views point
// into storage, which is sized once so they stay valid.
std::vector<std::string_view> CleanLines(std::string_view text, std::string& storage) {
  storage.assign(text.size(), '\0');
  char* const base = storage.data();
  char* w = base;
  char* lineStart = base;
  std::vector<std::string_view> lines;
  lines.reserve(text.size() / 64 + 1);
  for (char ch : text) {
    const uint8_t c = uint8_t(ch);
    if (c == '\n') {
      if (w != lineStart) lines.emplace_back(lineStart, size_t(w - lineStart));
      lineStart = w;
    } else if (c >= 0x20 && c != 0x7F) {
      *w++ = ch;
    }
  }
  if (w != lineStart) lines.emplace_back(lineStart, size_t(w - lineStart));
  return lines;
}

int Mod(int a, int m) { return ((a % m) + m) % m; }

// Rebuilds up to two missing rows of a block matrix m (rows 1..L, columns 0..L-1).
bool Repair(std::vector<uint8_t>& m, int L, const std::vector<int>& missing, bool haveVert,
            bool haveDiag, const uint8_t* diagRec) {
  auto M = [&](int row, int col) -> uint8_t& { return m[size_t(row) * size_t(L) + size_t(col)]; };
  if (missing.empty()) return true;
  if (missing.size() == 1 && haveVert) {
    int e = missing[0];
    M(e, 0) = uint8_t(e);
    for (int c = 1; c < L; ++c) {
      uint8_t s = 0;
      for (int n = 1; n <= L; ++n)
        if (n != e) s = uint8_t(s + M(n, c));
      M(e, c) = uint8_t(-s);
    }
    return true;
  }
  int e1, e2;
  if (missing.size() == 1 && !haveVert && haveDiag) {
    e1 = missing[0];
    e2 = L;
  } else if (missing.size() == 2 && haveVert && haveDiag) {
    e1 = missing[0];
    e2 = missing[1];
  } else {
    return false;
  }
  std::vector<uint8_t> diag(size_t(L), 0);
  uint8_t sum = 0;
  for (int d = 1; d < L; ++d) {
    diag[size_t(d)] = diagRec[d];
    sum = uint8_t(sum + diagRec[d]);
  }
  uint8_t K = uint8_t(-(L * (L + 1) / 2));
  diag[0] = uint8_t(K - sum);
  M(e1, 0) = uint8_t(e1);
  M(e2, 0) = uint8_t(e2);
  int x = 0;
  for (int step = 0; step < L - 1; ++step) {
    int D = Mod(x - e1 + 2, L);
    int x2 = Mod(x + e2 - e1, L);
    uint8_t s = diag[size_t(D)];
    for (int n = 1; n <= L; ++n)
      if (n != e2) s = uint8_t(s + M(n, Mod(n + D - 2, L)));
    M(e2, x2) = uint8_t(-s);
    uint8_t c = 0;
    for (int n = 1; n <= L; ++n)
      if (n != e1) c = uint8_t(c + M(n, x2));
    M(e1, x2) = uint8_t(-c);
    x = x2;
  }
  return true;
}

// Reads the blocks of the file whose header line is lines[i-1]; advances i.
Piece ReadBody(const Header& h, std::string_view headerLine, const std::vector<std::string_view>& lines,
               size_t& i) {
  Piece piece;
  const Layout& sp = *h.layout;
  const int R = sp.R, P = R - 3, L = R - 2;
  piece.name = UnpackName(h.rec);
  piece.key.assign(reinterpret_cast<const char*>(h.rec + 2), 42);
  piece.hasTime = h.rec[26] != 0;
  piece.dosTime = Le32(h.rec + 27);
  uint32_t n = h.size;
  uint16_t volCrc = 0;
  if (h.rec[1] != 0) {
    piece.volume = h.rec[1];
    piece.totalSize = h.size;
    piece.totalCrc16 = uint16_t((h.rec[34] << 8) | h.rec[35]);
    piece.totalCrc32 = Le32(h.rec + 36);
    piece.sliceSize = Le32(h.rec + 40);
    volCrc = uint16_t((h.rec[44] << 8) | h.rec[45]);
    if (piece.sliceSize == 0) return piece;
    piece.volumes = int((uint64_t(h.size) + piece.sliceSize - 1) / piece.sliceSize);
    if (piece.volume > piece.volumes) return piece;
    n = piece.volume < piece.volumes ? piece.sliceSize
                                     : h.size - piece.sliceSize * uint32_t(piece.volumes - 1);
  }
  const uint64_t records = (uint64_t(n) + 2 + uint64_t(P) - 1) / uint64_t(P);
  const uint64_t blocks = (records + uint64_t(P) - 1) / uint64_t(P);
  std::string stream;
  stream.reserve(size_t(records * uint64_t(P)));
  std::vector<uint8_t> m(size_t((L + 1) * L));
  std::vector<char> have(size_t(R + 1));
  uint8_t rec[80];
  uint8_t diagRec[80];
  for (uint64_t b = 0; b < blocks; ++b) {
    const int cnt = int(std::min<uint64_t>(uint64_t(P), records - b * uint64_t(P)));
    std::fill(m.begin(), m.end(), 0);
    std::fill(have.begin(), have.end(), 0);
    for (int row = 1; row <= L; ++row) m[size_t(row * L)] = uint8_t(row);
    int prevId = 0;
    while (i < lines.size()) {
      std::string_view line = lines[i];
      if (line.size() < 60 || line == headerLine) {
        ++i;
        continue;
      }
      Header other;
      if ((line[0] == '!' || line[0] == '#') && ParseHeader(line, other) &&
          std::memcmp(other.rec, h.rec, 69) != 0) {
        // Another ISH file begins: this block ends here and is repaired if it can
        // be (a lost last check line costs nothing); the new header is read again.
        break;
      }
      if (!DecodeRecord(sp.v, line, rec, R) || !CrcOk(rec, R)) {
        ++i;
        continue;
      }
      int id = rec[0];
      if (id == 0 || id > R || id == R - 1 || (id > cnt && id < L)) {
        ++i;
        continue;
      }
      if (id < prevId) break;  // the next block begins
      ++i;
      prevId = id;
      have[size_t(id)] = 1;
      if (id == R) {
        std::memcpy(diagRec, rec, size_t(R));
        break;
      }
      std::memcpy(&m[size_t(id * L)], rec, size_t(L));
    }
    std::vector<int> missing;
    for (int id = 1; id <= cnt; ++id)
      if (!have[size_t(id)]) missing.push_back(id);
    if (!Repair(m, L, missing, have[size_t(L)] != 0, have[size_t(R)] != 0, diagRec)) return piece;
    piece.repairedLines += int(missing.size());
    for (int row = 1; row <= cnt; ++row)
      stream.append(reinterpret_cast<const char*>(&m[size_t(row * L + 1)]), size_t(P));
  }
  const auto* s = reinterpret_cast<const uint8_t*>(stream.data());
  uint16_t crc = Crc16(s, n);
  if (crc != ((s[n] << 8) | s[n + 1])) return piece;
  if (piece.volume && crc != volCrc) return piece;
  stream.resize(n);
  piece.data = std::move(stream);
  piece.ok = true;
  return piece;
}

std::string PackName(std::string_view fileName) {
  std::string_view base = fileName;
  std::string_view ext;
  size_t dot = fileName.rfind('.');
  if (dot != std::string_view::npos && dot > 0) {
    base = fileName.substr(0, dot);
    ext = fileName.substr(dot + 1);
  }
  std::string out(11, ' ');
  for (size_t k = 0; k < 8 && k < base.size(); ++k) out[k] = base[k];
  for (size_t k = 0; k < 3 && k < ext.size(); ++k) out[8 + k] = ext[k];
  return out;
}

}  // namespace

uint16_t Crc16(const uint8_t* p, size_t n) {
  static const Crc16Table table;
  const auto& t = table.t;
  uint16_t r = 0xFFFF;
  for (; n >= 8; n -= 8, p += 8)
    r = uint16_t(t[7][p[0] ^ (r >> 8)] ^ t[6][p[1] ^ (r & 0xFF)] ^ t[5][p[2]] ^ t[4][p[3]] ^ t[3][p[4]] ^
                 t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]]);
  for (; n > 0; --n, ++p) r = uint16_t((r << 8) ^ t[0][((r >> 8) ^ *p) & 0xFF]);
  return uint16_t(~r);
}

uint32_t Crc32(const uint8_t* p, size_t n) {
  static const Crc32Table t;
  uint32_t r = 0xFFFFFFFFu;
  for (size_t k = 0; k < n; ++k) r = (r >> 8) ^ t.t[(r ^ p[k]) & 0xFF];
  return ~r;
}

std::string Encode(Variant variant, const EncodeInput& in, std::string_view eol) {
  const Layout& sp = LayoutOf(variant);
  const int R = sp.R, P = R - 3, L = R - 2;
  const int hr = variant == Variant::Jis8 ? 69 : 63;
  uint8_t h[69] = {};
  const uint32_t size = uint32_t(in.data.size());
  for (int k = 0; k < 4; ++k) h[2 + k] = uint8_t(size >> (8 * k));
  h[6] = uint8_t(R);
  h[8] = uint8_t(R - 1);
  h[10] = uint8_t(sp.byte10);
  h[11] = uint8_t(sp.type);
  std::string packed = PackName(in.fileName);
  std::memcpy(h + 12, packed.data(), 11);
  h[25] = 1;
  h[26] = 3;
  for (int k = 0; k < 4; ++k) h[27 + k] = uint8_t(in.dosTime >> (8 * k));
  for (int k = 0; k < 3; ++k) h[31 + k] = uint8_t(uint32_t(in.tzWest) >> (8 * k));
  SetCrc(h, hr);
  const std::string headerLine = variant == Variant::Jis8 ? EncodeJis8(h, 69) : EncodeJis7(h, 63);

  std::string stream = in.data;
  uint16_t fileCrc = Crc16(reinterpret_cast<const uint8_t*>(in.data.data()), in.data.size());
  stream += char(fileCrc >> 8);
  stream += char(fileCrc & 0xFF);
  const size_t records = (stream.size() + size_t(P) - 1) / size_t(P);
  stream.resize(records * size_t(P), '\0');
  const size_t blocks = (records + size_t(P) - 1) / size_t(P);

  const size_t nLines = records + 2 * blocks + 4;
  const size_t total = nLines + nLines / 49 + 1;
  std::string out;
  out.reserve((total + 2) * (size_t(sp.lineLen) + 2));
  out += "<<< " + in.fileName + " for MS-DOS or Human68K ( use " + sp.word + " ish ) [ " +
         std::to_string(total) + " lines ] RKV ish32 >>>";
  out += eol;
  size_t lineNo = 1;
  bool lastSeparator = false;
  auto put = [&](const std::string& line) {
    out += line;
    out += eol;
    ++lineNo;
    lastSeparator = false;
    if ((lineNo + 1) % 50 == 0) {
      ++lineNo;
      out += "--- " + in.fileName + " (" + std::to_string(lineNo) + "/" + std::to_string(total) + ") ---";
      out += eol;
      lastSeparator = true;
    }
  };
  for (int k = 0; k < 3; ++k) put(headerLine);

  std::vector<uint8_t> m(size_t((L + 1) * L));
  uint8_t rec[80];
  for (size_t b = 0; b < blocks; ++b) {
    const int cnt = int(std::min(size_t(P), records - b * size_t(P)));
    std::fill(m.begin(), m.end(), 0);
    for (int row = 1; row <= L; ++row) m[size_t(row * L)] = uint8_t(row);
    for (int row = 1; row <= cnt; ++row) {
      std::memcpy(&m[size_t(row * L + 1)], stream.data() + (b * size_t(P) + size_t(row - 1)) * size_t(P),
                  size_t(P));
      std::memcpy(rec, &m[size_t(row * L)], size_t(L));
      SetCrc(rec, R);
      put(EncodeRecord(variant, rec, R));
    }
    for (int c = 1; c < L; ++c) {
      uint8_t s = 0;
      for (int row = 1; row < L; ++row) s = uint8_t(s + m[size_t(row * L + c)]);
      m[size_t(L * L + c)] = uint8_t(-s);
    }
    std::memcpy(rec, &m[size_t(L * L)], size_t(L));
    SetCrc(rec, R);
    put(EncodeRecord(variant, rec, R));
    rec[0] = uint8_t(R);
    for (int d = 1; d < L; ++d) {
      uint8_t s = 0;
      for (int row = 1; row <= L; ++row) s = uint8_t(s + m[size_t(row * L + Mod(row + d - 2, L))]);
      rec[d] = uint8_t(-s);
    }
    SetCrc(rec, R);
    put(EncodeRecord(variant, rec, R));
  }
  if (!lastSeparator) {
    ++lineNo;
    out += "--- " + in.fileName + " (" + std::to_string(lineNo) + "/" + std::to_string(total) + ") ---";
    out += eol;
  }
  return out;
}

std::vector<Piece> Decode(std::string_view text) {
  std::vector<Piece> pieces;
  std::string storage;
  const std::vector<std::string_view> lines = CleanLines(text, storage);
  size_t i = 0;
  while (i < lines.size()) {
    Header h;
    const std::string_view line = lines[i];
    if ((line[0] != '!' && line[0] != '#') || !ParseHeader(line, h)) {
      ++i;
      continue;
    }
    ++i;
    pieces.push_back(ReadBody(h, line, lines, i));
  }
  return pieces;
}

}  // namespace ish
