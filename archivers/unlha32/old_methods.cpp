#include "unlha32/old_methods.h"

#include <array>
#include <cstring>
#include <vector>

namespace lzh {
namespace {

// Bits most significant first; reading past the end gives zeros and marks it.
class BitReader {
 public:
  explicit BitReader(std::string_view d) : d_(reinterpret_cast<const uint8_t*>(d.data())), n_(d.size()) {}
  uint32_t Bit() {
    if (pos_ >= n_ * 8) {
      over_ = true;
      pos_++;
      return 0;
    }
    uint32_t b = (d_[pos_ >> 3] >> (7 - (pos_ & 7))) & 1;
    ++pos_;
    return b;
  }
  uint32_t Bits(int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 1) | Bit();
    return v;
  }
  // Only meaningful past the data's last byte (a few bits of padding are normal).
  bool Over() const { return over_ && pos_ > n_ * 8 + 16; }

 private:
  const uint8_t* d_;
  uint64_t n_;
  uint64_t pos_ = 0;
  bool over_ = false;
};

// LArc -lz5-: byte-aligned LZSS over a 4 KiB ring prefilled with a fixed pattern.
bool DecodeLz5(std::string_view in, uint64_t original, std::string& out) {
  std::vector<uint8_t> ring(4096, 0);
  size_t p = 0;
  for (int i = 0; i < 256; ++i)
    for (int j = 0; j < 13; ++j) ring[p++] = uint8_t(i);
  for (int i = 0; i < 256; ++i) ring[p++] = uint8_t(i);
  for (int i = 0; i < 256; ++i) ring[p++] = uint8_t(255 - i);
  p += 128;  // zeros
  while (p < 4096 - 18) ring[p++] = ' ';
  size_t r = 4096 - 18;
  size_t i = 0;
  while (out.size() < original) {
    if (i >= in.size()) return false;
    uint8_t flags = uint8_t(in[i++]);
    for (int b = 0; b < 8 && out.size() < original; ++b, flags >>= 1) {
      if (flags & 1) {
        if (i >= in.size()) return false;
        uint8_t c = uint8_t(in[i++]);
        out += char(c);
        ring[r++ & 4095] = c;
      } else {
        if (i + 1 >= in.size()) return false;
        uint8_t b1 = uint8_t(in[i++]), b2 = uint8_t(in[i++]);
        size_t pos = b1 | ((b2 & 0xF0u) << 4);
        int len = (b2 & 0x0F) + 3;
        for (int k = 0; k < len && out.size() < original; ++k) {
          uint8_t c = ring[(pos + size_t(k)) & 4095];
          out += char(c);
          ring[r++ & 4095] = c;
        }
      }
    }
  }
  return true;
}

// LArc -lzs-: bit-packed LZSS over a 2 KiB ring of blanks.
bool DecodeLzs(std::string_view in, uint64_t original, std::string& out) {
  std::vector<uint8_t> ring(2048, ' ');
  size_t r = 2048 - 17;
  BitReader bits(in);
  while (out.size() < original) {
    if (bits.Over()) return false;
    if (bits.Bit()) {
      uint8_t c = uint8_t(bits.Bits(8));
      out += char(c);
      ring[r++ & 2047] = c;
    } else {
      size_t pos = bits.Bits(11);
      int len = int(bits.Bits(4)) + 2;
      for (int k = 0; k < len && out.size() < original; ++k) {
        uint8_t c = ring[(pos + size_t(k)) & 2047];
        out += char(c);
        ring[r++ & 2047] = c;
      }
    }
  }
  return !bits.Over();
}

// LHarc -lh1-: LZSS over 4 KiB with matches of up to 60 bytes; characters and
// lengths in an adaptive Huffman tree, the top six bits of a position in a fixed
// code.
class AdaptiveHuffman {
 public:
  static constexpr int kChars = 256 - 2 + 60;
  static constexpr int kT = kChars * 2 - 1;
  static constexpr int kR = kT - 1;
  static constexpr unsigned kMaxFreq = 0x8000;

  AdaptiveHuffman() {
    for (int i = 0; i < kChars; ++i) {
      freq_[size_t(i)] = 1;
      son_[size_t(i)] = i + kT;
      prnt_[size_t(i + kT)] = i;
    }
    for (int i = 0, j = kChars; j <= kR; i += 2, ++j) {
      freq_[size_t(j)] = freq_[size_t(i)] + freq_[size_t(i + 1)];
      son_[size_t(j)] = i;
      prnt_[size_t(i)] = prnt_[size_t(i + 1)] = j;
    }
    freq_[kT] = 0xFFFF;
    prnt_[kR] = 0;
  }

  int Decode(BitReader& bits) {
    int c = son_[kR];
    while (c < kT) c = son_[size_t(c + int(bits.Bit()))];
    c -= kT;
    Update(c);
    return c;
  }

 private:
  void Rebuild() {
    int j = 0;
    for (int i = 0; i < kT; ++i) {
      if (son_[size_t(i)] >= kT) {
        freq_[size_t(j)] = (freq_[size_t(i)] + 1) / 2;
        son_[size_t(j)] = son_[size_t(i)];
        ++j;
      }
    }
    for (int i = 0, k = kChars; k < kT; i += 2, ++k) {
      unsigned f = freq_[size_t(i)] + freq_[size_t(i + 1)];
      int at = k - 1;
      while (f < freq_[size_t(at)]) --at;
      ++at;
      std::memmove(&freq_[size_t(at + 1)], &freq_[size_t(at)], size_t(k - at) * sizeof(unsigned));
      freq_[size_t(at)] = f;
      std::memmove(&son_[size_t(at + 1)], &son_[size_t(at)], size_t(k - at) * sizeof(int));
      son_[size_t(at)] = i;
    }
    for (int i = 0; i < kT; ++i) {
      int k = son_[size_t(i)];
      prnt_[size_t(k)] = i;
      if (k < kT) prnt_[size_t(k + 1)] = i;
    }
  }

  void Update(int c) {
    if (freq_[kR] == kMaxFreq) Rebuild();
    c = prnt_[size_t(c + kT)];
    do {
      unsigned k = ++freq_[size_t(c)];
      int l = c + 1;
      if (k > freq_[size_t(l)]) {
        while (k > freq_[size_t(++l)]) {
        }
        --l;
        freq_[size_t(c)] = freq_[size_t(l)];
        freq_[size_t(l)] = k;
        int i = son_[size_t(c)];
        prnt_[size_t(i)] = l;
        if (i < kT) prnt_[size_t(i + 1)] = l;
        int j = son_[size_t(l)];
        son_[size_t(l)] = i;
        prnt_[size_t(j)] = c;
        if (j < kT) prnt_[size_t(j + 1)] = c;
        son_[size_t(c)] = j;
        c = l;
      }
    } while ((c = prnt_[size_t(c)]) != 0);
  }

  std::array<unsigned, kT + 1> freq_{};
  std::array<int, kT + kChars> prnt_{};
  std::array<int, kT> son_{};
};

bool DecodeLh1(std::string_view in, uint64_t original, std::string& out) {
  // The fixed code of a position's top six bits: the first 8 bits read select
  // the code and its total length.
  static const auto table = [] {
    std::array<std::pair<uint8_t, uint8_t>, 256> t{};  // (code, length)
    const int groups[][2] = {{1, 32}, {3, 16}, {8, 8}, {12, 4}, {24, 2}, {16, 1}};
    int entry = 0, code = 0, len = 3;
    for (auto [codes, per] : groups) {
      for (int c = 0; c < codes; ++c, ++code)
        for (int k = 0; k < per; ++k) t[size_t(entry++)] = {uint8_t(code), uint8_t(len)};
      ++len;
    }
    return t;
  }();
  std::vector<uint8_t> ring(4096, ' ');
  size_t r = 4096 - 60;
  AdaptiveHuffman huff;
  BitReader bits(in);
  while (out.size() < original) {
    if (bits.Over()) return false;
    int c = huff.Decode(bits);
    if (c < 256) {
      out += char(c);
      ring[r++ & 4095] = uint8_t(c);
      continue;
    }
    uint32_t i = bits.Bits(8);
    uint32_t high = uint32_t(table[i].first) << 6;
    for (int extra = table[i].second - 2; extra > 0; --extra) i = (i << 1) | bits.Bit();
    size_t pos = r - ((high | (i & 0x3F)) + 1);
    int len = c - 253;
    for (int k = 0; k < len && out.size() < original; ++k) {
      uint8_t b = ring[(pos + size_t(k)) & 4095];
      out += char(b);
      ring[r++ & 4095] = b;
    }
  }
  return !bits.Over();
}

// -lh4- to -lh7-: blocks of static Huffman codes over a 4 KiB to 64 KiB window.
class StaticDecoder {
 public:
  StaticDecoder(std::string_view in, int dicBits)
      : bits_(in), dicBits_(dicBits), np_(dicBits + 1), pbit_(dicBits <= 13 ? 4 : 5) {}

  bool Run(uint64_t original, std::string& out) {
    std::vector<uint8_t> ring(size_t(1) << dicBits_, 0);
    const size_t mask = ring.size() - 1;
    size_t r = 0;
    uint32_t left = 0;
    while (out.size() < original) {
      if (left == 0) {
        left = bits_.Bits(16);
        if (left == 0 || !ReadLengths(19, 5, 3, t_) || !ReadCLen() || !ReadLengths(np_, pbit_, -1, p_))
          return false;
      }
      --left;
      if (bits_.Over()) return false;
      int c = Symbol(c_);
      if (c < 0) return false;
      if (c < 256) {
        out += char(c);
        ring[r++ & mask] = uint8_t(c);
        continue;
      }
      int p = Symbol(p_);
      if (p < 0) return false;
      uint32_t dist = p <= 1 ? uint32_t(p) : (1u << (p - 1)) + bits_.Bits(p - 1);
      size_t from = r - dist - 1;
      for (int k = 0; k < c - 253 && out.size() < original; ++k) {
        uint8_t b = ring[(from + size_t(k)) & mask];
        out += char(b);
        ring[r++ & mask] = b;
      }
    }
    return !bits_.Over();
  }

 private:
  // A canonical code: symbols by length in order, with each length's first code;
  // or the one symbol of a table that has no lengths.
  struct Tab {
    int single = -1;
    std::vector<std::vector<int>> byLen;
    std::array<uint32_t, 18> first{};
  };
  static bool Build(const std::vector<int>& len, Tab& t) {
    t = Tab();
    uint32_t count[18] = {};
    for (int l : len) {
      if (l > 16) return false;
      ++count[l];
    }
    count[0] = 0;
    uint32_t code = 0;
    t.byLen.assign(17, {});
    for (int l = 1; l <= 16; ++l) {
      code = (code + count[l - 1]) << 1;
      t.first[size_t(l)] = code;
    }
    for (size_t s = 0; s < len.size(); ++s)
      if (len[s]) t.byLen[size_t(len[s])].push_back(int(s));
    return true;
  }
  int Symbol(const Tab& t) {
    if (t.single >= 0) return t.single;
    uint32_t code = 0;
    for (int l = 1; l <= 16; ++l) {
      code = (code << 1) | bits_.Bit();
      if (code >= t.first[size_t(l)] && code - t.first[size_t(l)] < t.byLen[size_t(l)].size())
        return t.byLen[size_t(l)][code - t.first[size_t(l)]];
    }
    return -1;
  }
  bool ReadLengths(int count, int nbits, int special, Tab& tab) {
    int n = int(bits_.Bits(nbits));
    if (n == 0) {
      tab = Tab();
      tab.single = int(bits_.Bits(nbits));
      return tab.single < count;
    }
    if (n > count) return false;
    std::vector<int> len(size_t(count), 0);
    for (int i = 0; i < n;) {
      int l = int(bits_.Bits(3));
      if (l == 7)
        while (bits_.Bit() && l < 17) ++l;
      len[size_t(i++)] = l;
      if (i == special) {
        int z = int(bits_.Bits(2));
        while (z-- > 0 && i < n) len[size_t(i++)] = 0;
      }
    }
    return Build(len, tab);
  }
  bool ReadCLen() {
    int n = int(bits_.Bits(9));
    if (n == 0) {
      c_ = Tab();
      c_.single = int(bits_.Bits(9));
      return c_.single < 510;
    }
    if (n > 510) return false;
    std::vector<int> len(510, 0);
    for (int i = 0; i < n;) {
      int c = Symbol(t_);
      if (c < 0) return false;
      if (c <= 2) {
        int run = c == 0 ? 1 : c == 1 ? int(bits_.Bits(4)) + 3 : int(bits_.Bits(9)) + 20;
        while (run-- > 0 && i < n) len[size_t(i++)] = 0;
      } else {
        len[size_t(i++)] = c - 2;
      }
    }
    return Build(len, c_);
  }

  BitReader bits_;
  int dicBits_, np_, pbit_;
  Tab t_, c_, p_;
};

// PMarc -pm2-: LZ77 over an 8 KiB window of blanks. A literal is sent as its
// place in a list of byte values kept most recently used first. The kind of
// each item comes from a canonical Huffman code; most copies then give their
// distance's bit count in a second one. The codes are re-sent after 1, 2 and
// 4 KiB of output and may be replaced every 4 KiB after that.
class Pm2Decoder {
 public:
  explicit Pm2Decoder(std::string_view in) : bits_(in) {
    // The list starts with the printable ASCII, then controls, the half-width
    // katakana, 0x80-0x9F and 0xE0-0xFF.
    static constexpr std::pair<int, int> kGroups[] = {{0x20, 0x7F}, {0x00, 0x1F}, {0xA0, 0xDF}, {0x80, 0x9F},
                                                      {0xE0, 0xFF}};
    size_t k = 0;
    for (auto [from, to] : kGroups)
      for (int c = from; c <= to; ++c) mru_[k++] = uint8_t(c);
    offsets_.single = 0;  // until an offset code is sent, 0: a 6-bit distance
  }

  bool Run(uint64_t original, std::string& out) {
    std::vector<uint8_t> ring(kWindow, ' ');
    size_t r = 0;
    auto put = [&](uint8_t c) {
      out += char(c);
      ring[r++ & (kWindow - 1)] = c;
      ToFront(c);
    };
    bits_.Bit();  // the stream starts with one unused bit
    while (out.size() < original) {
      while (out.size() >= nextRebuild_)
        if (!Rebuild()) return false;
      int s = code_.Decode(bits_);
      if (s < 0 || bits_.Over()) return false;
      if (s < 8) {
        static constexpr uint8_t kBase[8] = {0, 8, 16, 32, 64, 96, 128, 192};
        static constexpr uint8_t kExtra[8] = {3, 3, 4, 5, 5, 5, 6, 6};
        put(mru_[kBase[s] + bits_.Bits(kExtra[s])]);
        continue;
      }
      const int c = s - 8;
      if (c > 20) return false;
      uint32_t len;
      if (c < 15) {
        len = uint32_t(c) + 2;
      } else {
        static constexpr uint16_t kBase[6] = {17, 25, 33, 65, 129, 256};
        static constexpr uint8_t kExtra[6] = {3, 3, 5, 6, 7, 0};
        len = kBase[c - 15] + bits_.Bits(kExtra[c - 15]);
      }
      uint32_t dist = 0;  // the longest copy repeats the last byte
      if (c == 0) {
        dist = bits_.Bits(6);
      } else if (c < 20) {
        int t = offsets_.Decode(bits_);
        if (t < 0) return false;
        dist = t == 0 ? bits_.Bits(6) : (1u << (t + 5)) + bits_.Bits(t + 5);
      }
      if (bits_.Over()) return false;
      const size_t from = r - 1 - dist;
      for (uint32_t k = 0; k < len && out.size() < original; ++k) put(ring[(from + k) & (kWindow - 1)]);
    }
    return !bits_.Over();
  }

 private:
  static constexpr size_t kWindow = 8192;
  static constexpr int kMaxLen = 32;

  // A canonical code: shorter codes first, and within a length the smaller
  // symbol first; or a single symbol sent with no bits.
  struct Code {
    int single = -1;
    std::array<uint16_t, kMaxLen + 1> count{};
    std::vector<uint8_t> symbols;
    bool Build(const uint8_t* len, int n) {
      *this = Code();
      int64_t left = 1;
      for (int i = 0; i < n; ++i) {
        if (len[i] > kMaxLen) return false;
        ++count[len[i]];
      }
      for (int l = 1; l <= kMaxLen; ++l) {
        left = left * 2 - count[size_t(l)];
        if (left < 0) return false;  // more codes than fit
      }
      for (int l = 1; l <= kMaxLen; ++l)
        for (int i = 0; i < n; ++i)
          if (len[i] == l) symbols.push_back(uint8_t(i));
      return !symbols.empty();
    }
    int Decode(BitReader& bits) const {
      if (single >= 0) return single;
      uint32_t code = 0, first = 0, index = 0;
      for (int l = 1; l <= kMaxLen; ++l) {
        code |= bits.Bit();
        const uint32_t n = count[size_t(l)];
        if (code - first < n) return symbols[index + code - first];
        index += n;
        first = (first + n) << 1;
        code <<= 1;
      }
      return -1;  // a code the tree leaves unused
    }
  };

  void ToFront(uint8_t c) {
    auto* at = static_cast<uint8_t*>(std::memchr(mru_.data(), c, mru_.size()));
    std::memmove(mru_.data() + 1, mru_.data(), size_t(at - mru_.data()));
    mru_[0] = c;
  }

  bool ReadCodeTree() {
    const int n = int(bits_.Bits(5));
    const int minLen = int(bits_.Bits(3));
    // Symbols 9 and up take their distance from the offset code; one made of
    // the longest copy alone has none.
    needOffsets_ = n >= 10 && !(n == 29 && minLen == 0);
    if (minLen == 0) {
      code_ = Code();
      code_.single = n - 1;
      return n > 0;
    }
    const int width = int(bits_.Bits(3));
    uint8_t len[32] = {};
    for (int i = 0; i < n; ++i) {
      uint32_t v = bits_.Bits(width);
      if (v != 0 && minLen + v - 1 > kMaxLen) return false;
      len[i] = v == 0 ? 0 : uint8_t(minLen + v - 1);
    }
    return code_.Build(len, n);
  }

  bool ReadOffsetTree(int n) {
    if (!needOffsets_) return true;
    uint8_t len[8] = {};
    int used = 0, last = 0;
    for (int i = 0; i < n; ++i) {
      len[i] = uint8_t(bits_.Bits(3));
      if (len[i]) ++used, last = i;
    }
    if (used == 1) {
      offsets_ = Code();
      offsets_.single = last;
      return true;
    }
    // An empty code is only wrong once a copy needs it.
    if (used == 0) {
      offsets_ = Code();
      return true;
    }
    return offsets_.Build(len, n);
  }

  bool Rebuild() {
    bool ok = true;
    switch (stage_++) {
      case 0:
        ok = ReadCodeTree() && ReadOffsetTree(5);
        nextRebuild_ = 1024;
        break;
      case 1:
        ok = ReadOffsetTree(6);
        nextRebuild_ += 1024;
        break;
      case 2:
        ok = ReadOffsetTree(7);
        nextRebuild_ += 2048;
        break;
      case 3:
        ok = (!bits_.Bit() || ReadCodeTree()) && ReadOffsetTree(8);
        nextRebuild_ += 4096;
        break;
      default:
        stage_ = 4;
        if (bits_.Bit()) ok = ReadCodeTree() && ReadOffsetTree(8);
        nextRebuild_ += 4096;
    }
    return ok && !bits_.Over();
  }

  BitReader bits_;
  std::array<uint8_t, 256> mru_{};
  Code code_, offsets_;
  bool needOffsets_ = false;
  int stage_ = 0;
  uint64_t nextRebuild_ = 0;
};

int DicBits(std::string_view method) {
  if (method == "-lh4-") return 12;
  if (method == "-lh5-") return 13;
  if (method == "-lh6-") return 15;
  if (method == "-lh7-") return 16;
  // The -lh7- code with a larger window; 1 MiB covers every window it is made with.
  if (method == "-lhx-") return 20;
  return 0;
}

}  // namespace

bool OwnDecoder(std::string_view method) {
  return method == "-lh1-" || method == "-lz5-" || method == "-lzs-" || method == "-lh4-" || method == "-lhx-" ||
         method == "-pm0-" || method == "-pm2-";
}

bool Decodable(std::string_view method) {
  return OwnDecoder(method) || DicBits(method) != 0 || method == "-lh0-" || method == "-lz4-";
}

bool DecodeOld(std::string_view method, std::string_view packed, uint64_t original, std::string& out) {
  out.clear();
  out.reserve(size_t(original));
  if (method == "-lh0-" || method == "-lz4-" || method == "-pm0-") {
    if (packed.size() != original) return false;
    out.assign(packed);
    return true;
  }
  if (method == "-lz5-") return DecodeLz5(packed, original, out);
  if (method == "-lzs-") return DecodeLzs(packed, original, out);
  if (method == "-lh1-") return DecodeLh1(packed, original, out);
  if (method == "-pm2-") return Pm2Decoder(packed).Run(original, out);
  if (int dic = DicBits(method)) return StaticDecoder(packed, dic).Run(original, out);
  return false;
}

}  // namespace lzh
