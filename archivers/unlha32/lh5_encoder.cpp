#include "unlha32/lh5_encoder.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <queue>
#include <vector>

namespace lzh {
namespace {

constexpr int kDicBits = 13;
constexpr int kDicSize = 1 << kDicBits;
constexpr int kMaxMatch = 256;
constexpr int kThreshold = 3;
constexpr int kNC = 256 + kMaxMatch - kThreshold + 1;  // literals and lengths
constexpr int kNP = kDicBits + 1;                      // position bit lengths
constexpr int kNT = 19;                                // symbols of the length table
constexpr int kPBit = 4, kTBit = 5, kCBit = 9;
constexpr int kBlockCodes = 16384;
constexpr int kHashBits = 15;  // three bytes of 5 bits: shifting on by a byte drops the oldest
static_assert(3 * 5 == kHashBits);
constexpr int kMaxChain = 64;   // places tried per match
constexpr int kLazyBelow = 32;  // matches shorter than this wait a byte
constexpr int kLazyChain = 16;  // places tried for that byte
constexpr int kChainWhole = 32;   // longer matches chain only
constexpr size_t kChainEnds = 8;  // this many places at either end

// Bits most significant first, gathered in a word and stored four bytes at a time.
class BitWriter {
 public:
  // The low n bits of v, n at most 32. Called for every code, so always inline.
  __attribute__((always_inline)) void Put(int n, uint32_t v) {
    acc_ = (acc_ << n) | (uint64_t(v) & ((uint64_t(1) << n) - 1));
    bits_ += n;
    if (bits_ >= 32) {
      bits_ -= 32;
      const uint32_t w = uint32_t(acc_ >> bits_);
      const char bytes[4] = {char(w >> 24), char(w >> 16), char(w >> 8), char(w)};
      out_.append(bytes, 4);
    }
  }
  std::string Finish() {
    while (bits_ >= 8) {
      bits_ -= 8;
      out_ += char(acc_ >> bits_);
    }
    if (bits_) out_ += char(acc_ << (8 - bits_));
    bits_ = 0;
    return std::move(out_);
  }

 private:
  std::string out_;
  uint64_t acc_ = 0;
  int bits_ = 0;  // pending in acc_, fewer than 32 between calls
};

// How many bytes a and b have in common, up to limit; eight at a time.
size_t CommonLength(const uint8_t* a, const uint8_t* b, size_t limit) {
  size_t l = 0;
  for (; l + 8 <= limit; l += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + l, 8);
    std::memcpy(&y, b + l, 8);
    if (x != y) {
      const uint64_t diff = x ^ y;
      const int bit = std::endian::native == std::endian::little ? std::countr_zero(diff) : std::countl_zero(diff);
      return l + size_t(bit >> 3);
    }
  }
  while (l < limit && a[l] == b[l]) ++l;
  return l;
}

// Code lengths of at most 16 bits forming a complete code (the decoders insist).
std::vector<int> CodeLengths(const std::vector<uint32_t>& freq) {
  const int n = int(freq.size());
  std::vector<int> len(size_t(n), 0);
  std::vector<int> used;
  for (int i = 0; i < n; ++i)
    if (freq[size_t(i)]) used.push_back(i);
  if (used.size() < 2) return len;
  // Huffman tree depths.
  struct Node {
    uint64_t f;
    int id;
    bool operator>(const Node& o) const { return f != o.f ? f > o.f : id > o.id; }
  };
  std::priority_queue<Node, std::vector<Node>, std::greater<Node>> heap;
  std::vector<int> parent(size_t(2 * n), -1);
  for (int s : used) heap.push({freq[size_t(s)], s});
  int next = n;
  while (heap.size() > 1) {
    Node a = heap.top();
    heap.pop();
    Node b = heap.top();
    heap.pop();
    parent[size_t(a.id)] = next;
    parent[size_t(b.id)] = next;
    heap.push({a.f + b.f, next++});
  }
  std::vector<int> count(17, 0);
  for (int s : used) {
    int d = 0;
    for (int p = s; parent[size_t(p)] >= 0; p = parent[size_t(p)]) ++d;
    ++count[size_t(std::min(d, 16))];
  }
  // Too-deep leaves were put at 16: move leaves down until the code is complete.
  uint32_t cum = 0;
  for (int i = 16; i > 0; --i) cum += uint32_t(count[size_t(i)]) << (16 - i);
  while (cum != (1u << 16)) {
    --count[16];
    for (int i = 15; i > 0; --i) {
      if (count[size_t(i)]) {
        --count[size_t(i)];
        count[size_t(i + 1)] += 2;
        break;
      }
    }
    --cum;
  }
  std::stable_sort(used.begin(), used.end(), [&](int a, int b) { return freq[size_t(a)] > freq[size_t(b)]; });
  size_t k = 0;
  for (int l = 1; l <= 16; ++l)
    for (int c = 0; c < count[size_t(l)]; ++c) len[size_t(used[k++])] = l;
  return len;
}

std::vector<uint32_t> Codes(const std::vector<int>& len) {
  uint32_t start[18] = {};
  uint32_t count[17] = {};
  for (int l : len) ++count[l];
  for (int i = 1; i <= 16; ++i) start[i + 1] = (start[i] + count[i]) << 1;
  std::vector<uint32_t> code(len.size());
  for (size_t i = 0; i < len.size(); ++i)
    if (len[i]) code[i] = start[len[i]]++;
  return code;
}

int BitLength(uint32_t v) { return int(std::bit_width(v)); }

struct Code {
  uint16_t c;     // literal or length symbol
  uint16_t dist;  // for a match: distance - 1
};

class Block {
 public:
  explicit Block(BitWriter& out) : out_(out) {}
  void Write(const std::vector<Code>& codes) {
    std::vector<uint32_t> cfreq(kNC, 0), pfreq(kNP, 0);
    for (const Code& k : codes) {
      ++cfreq[k.c];
      if (k.c >= 256) ++pfreq[size_t(BitLength(k.dist))];
    }
    std::vector<int> clen = CodeLengths(cfreq), plen = CodeLengths(pfreq);
    out_.Put(16, uint32_t(codes.size()));
    int csingle = Single(cfreq);
    if (csingle >= 0) {
      out_.Put(kTBit, 0);
      out_.Put(kTBit, 0);
      out_.Put(kCBit, 0);
      out_.Put(kCBit, uint32_t(csingle));
    } else {
      WriteCLen(clen);
    }
    int psingle = Single(pfreq);
    if (psingle >= 0) {
      out_.Put(kPBit, 0);
      out_.Put(kPBit, uint32_t(psingle));
    } else {
      WriteLengths(plen, kPBit, -1);
    }
    std::vector<uint32_t> ccode = Codes(clen), pcode = Codes(plen);
    for (const Code& k : codes) {
      out_.Put(clen[k.c], ccode[k.c]);
      if (k.c >= 256) {
        int p = BitLength(k.dist);
        out_.Put(plen[size_t(p)], pcode[size_t(p)]);
        if (p > 1) out_.Put(p - 1, k.dist & ((1u << (p - 1)) - 1));
      }
    }
  }

 private:
  static int Single(const std::vector<uint32_t>& f) {
    int only = -1;
    for (size_t i = 0; i < f.size(); ++i) {
      if (!f[i]) continue;
      if (only >= 0) return -1;
      only = int(i);
    }
    return only < 0 ? 0 : only;
  }
  static int Used(const std::vector<int>& len) {
    int n = int(len.size());
    while (n > 0 && len[size_t(n - 1)] == 0) --n;
    return n;
  }
  // The lengths of the length-table symbols: 0..2 say runs of zeros, k + 2 a length k.
  void WriteCLen(const std::vector<int>& clen) {
    const int n = Used(clen);
    std::vector<uint32_t> tfreq(kNT, 0);
    struct Item {
      int sym;
      int extraBits;
      uint32_t extra;
    };
    std::vector<Item> items;
    for (int i = 0; i < n;) {
      int k = clen[size_t(i++)];
      if (k != 0) {
        items.push_back({k + 2, 0, 0});
        continue;
      }
      int run = 1;
      while (i < n && clen[size_t(i)] == 0) ++i, ++run;
      if (run <= 2) {
        for (int r = 0; r < run; ++r) items.push_back({0, 0, 0});
      } else if (run <= 18) {
        items.push_back({1, 4, uint32_t(run - 3)});
      } else if (run == 19) {
        items.push_back({0, 0, 0});
        items.push_back({1, 4, 15});
      } else {
        items.push_back({2, kCBit, uint32_t(run - 20)});
      }
    }
    for (const Item& it : items) ++tfreq[size_t(it.sym)];
    std::vector<int> tlen = CodeLengths(tfreq);
    int tsingle = Single(tfreq);
    if (tsingle >= 0) {
      out_.Put(kTBit, 0);
      out_.Put(kTBit, uint32_t(tsingle));
    } else {
      WriteLengths(tlen, kTBit, 3);
    }
    out_.Put(kCBit, uint32_t(n));
    std::vector<uint32_t> tcode = Codes(tlen);
    for (const Item& it : items) {
      out_.Put(tlen[size_t(it.sym)], tcode[size_t(it.sym)]);
      if (it.extraBits) out_.Put(it.extraBits, it.extra);
    }
  }
  // A table of lengths: 3 bits each, 7 and up as 7 followed by ones and a zero;
  // after index special - 1 a 2-bit count of zero lengths that follow.
  void WriteLengths(const std::vector<int>& len, int nbits, int special) {
    int n = Used(len);
    out_.Put(nbits, uint32_t(n));
    for (int i = 0; i < n;) {
      int k = len[size_t(i++)];
      if (k <= 6) out_.Put(3, uint32_t(k));
      else out_.Put(k - 3, (1u << (k - 3)) - 2);
      if (i == special) {
        int z = 0;
        while (i < n && z < 3 && len[size_t(i)] == 0) ++i, ++z;
        out_.Put(2, uint32_t(z));
      }
    }
  }
  BitWriter& out_;
};

}  // namespace

std::string CompressLh5(std::string_view data) {
  BitWriter out;
  Block block(out);
  const auto* d = reinterpret_cast<const uint8_t*>(data.data());
  const size_t size = data.size();
  std::vector<int32_t> head(size_t(1) << kHashBits, -1);
  std::vector<int32_t> prev(kDicSize, -1);
  auto hash = [&](size_t i) {
    return ((uint32_t(d[i]) << 10) ^ (uint32_t(d[i + 1]) << 5) ^ d[i + 2]) & ((1u << kHashBits) - 1);
  };
  // Chains every position in [from, to) that has three bytes; each hash is the
  // last one shifted on by a byte.
  auto insert = [&](size_t from, size_t to) {
    to = std::min(to, size < 2 ? 0 : size - 2);
    if (from >= to) return;
    uint32_t h = hash(from);
    for (size_t k = from;;) {
      prev[k & (kDicSize - 1)] = head[h];
      head[h] = int32_t(k);
      if (++k == to) break;
      h = ((h << 5) ^ d[k + 2]) & ((1u << kHashBits) - 1);
    }
  };
  // Inside a long match only its ends are chained: logs repeat long runs, and
  // chaining every byte of them costs more than the matches it would find.
  auto insertMatch = [&](size_t from, size_t to) {
    if (to - from <= size_t(kChainWhole)) {
      insert(from, to);
    } else {
      insert(from, from + kChainEnds);
      insert(to - kChainEnds, to);
    }
  };
  struct Match {
    int len = 0;
    size_t pos = 0;
  };
  // The longest match of the bytes at i among the last `chain` places with the same hash.
  auto find = [&](size_t i, int chain) {
    Match m;
    if (i + 2 >= size) return m;
    const size_t limit = std::min<size_t>(kMaxMatch, size - i);
    for (int32_t p = head[hash(i)]; p >= 0 && chain-- > 0; p = prev[size_t(p) & (kDicSize - 1)]) {
      if (i - size_t(p) > kDicSize) break;
      if (d[size_t(p) + size_t(m.len)] != d[i + size_t(m.len)]) continue;
      const size_t l = CommonLength(d + p, d + i, limit);
      if (int(l) > m.len) {
        m.len = int(l);
        m.pos = size_t(p);
        if (l == limit) break;
      }
    }
    return m;
  };
  std::vector<Code> codes;
  codes.reserve(kBlockCodes);
  auto emit = [&](Code c) {
    codes.push_back(c);
    if (codes.size() == kBlockCodes) {
      block.Write(codes);
      codes.clear();
    }
  };
  Match cur = find(0, kMaxChain);
  for (size_t i = 0; i < size;) {
    if (cur.len < kThreshold) {
      emit({d[i], 0});
      insert(i, i + 1);
      cur = find(++i, kMaxChain);
      continue;
    }
    size_t chained = i;
    if (cur.len < kLazyBelow) {
      // A short match waits one byte: when the next byte starts a longer one,
      // this byte goes out as a literal.
      insert(i, i + 1);
      chained = i + 1;
      Match next = find(i + 1, kLazyChain);
      if (next.len > cur.len) {
        emit({d[i], 0});
        ++i;
        cur = next;
        continue;
      }
    }
    emit({uint16_t(256 + cur.len - kThreshold), uint16_t(i - cur.pos - 1)});
    insertMatch(chained, i + size_t(cur.len));
    i += size_t(cur.len);
    cur = find(i, kMaxChain);
  }
  if (!codes.empty()) block.Write(codes);
  return out.Finish();
}

}  // namespace lzh
