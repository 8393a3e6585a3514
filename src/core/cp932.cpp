#include "core/cp932.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <new>

#include "platform/os.h"

namespace rkv::cp932 {
namespace {

constexpr char32_t kBad = 0xFFFD;

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// Both directions are tables built once from the C library's CP932 converter:
// a per-byte iconv call for every character of a 100 MB log would be far too slow.
struct Tables {
  std::array<char32_t, 65536> decode{};  // (lead << 8 | trail) -> code point, 0 = undefined
  std::array<uint16_t, 65536> encode{};  // BMP code point -> CP932 code, 0 = none
};

char32_t IconvDecodeOne(iconv_t cd, const unsigned char* bytes, size_t n) {
  char in[2] = {static_cast<char>(bytes[0]), n > 1 ? static_cast<char>(bytes[1]) : '\0'};
  char32_t out[2] = {0, 0};
  char* inp = in;
  size_t inleft = n;
  char* outp = reinterpret_cast<char*>(out);
  size_t outleft = sizeof(out);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inp, &inleft, &outp, &outleft) == static_cast<size_t>(-1) || inleft != 0 ||
      outleft != sizeof(out) - sizeof(char32_t)) {
    return 0;
  }
  return out[0];
}

// Decodes every two-byte code of a lead byte: a row at a time, for a call
// per code would cost every start of the program a millisecond or more. A
// code the converter refuses is undefined, and the row goes on after it.
void DecodeRow(iconv_t cd, unsigned lead, Tables& t) {
  std::array<uint16_t, 256> codes{};
  std::array<char, 512> in{};
  size_t count = 0;
  for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
    if (!IsTrail(trail)) continue;
    codes[count] = static_cast<uint16_t>(lead << 8 | trail);
    in[2 * count] = static_cast<char>(lead);
    in[2 * count + 1] = static_cast<char>(trail);
    ++count;
  }
  std::array<char32_t, 256> out{};
  size_t done = 0;
  while (done < count) {
    char* inp = in.data() + 2 * done;
    size_t inleft = 2 * (count - done);
    char* outp = reinterpret_cast<char*>(out.data() + done);
    size_t outleft = sizeof(char32_t) * (count - done);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    bool stopped = iconv(cd, &inp, &inleft, &outp, &outleft) == static_cast<size_t>(-1);
    size_t taken = (count - done) - inleft / 2;
    // Every code read must have given exactly one character; anything else
    // is worked out code by code.
    if (inleft % 2 != 0 || outleft != sizeof(char32_t) * (count - done - taken)) {
      for (size_t i = done; i < count; ++i) {
        auto b = reinterpret_cast<const unsigned char*>(in.data() + 2 * i);
        t.decode[codes[i]] = IconvDecodeOne(cd, b, 2);
      }
      return;
    }
    for (size_t i = done; i < done + taken; ++i) t.decode[codes[i]] = out[i];
    done += taken;
    if (stopped && done < count) t.decode[codes[done++]] = 0;
  }
}

// Windows prefers the JIS X 0208 code, then the NEC row 13 code, then the IBM
// extension rows, and uses the NEC-selected IBM rows (0xED, 0xEE) last.
int EncodeRank(uint16_t code) {
  unsigned lead = code >> 8;
  if (lead == 0xED || lead == 0xEE) return 2;
  if (lead >= 0xFA) return 1;
  return 0;
}

void Prefer(Tables& t, char32_t cp, uint16_t code) {
  if (cp == 0 || cp >= 0x10000) return;
  uint16_t& slot = t.encode[cp];
  if (slot == 0 || EncodeRank(code) < EncodeRank(slot)) slot = code;
}

// The tables live as long as the program. Fresh memory is given a page at
// a time, and a fault for each of the hundred pages would cost every start of
// the program a millisecond: one large page, when there is one, costs a tenth.
Tables* NewTables() {
  constexpr size_t kLargePage = 2 * 1024 * 1024;
  static_assert(sizeof(Tables) <= kLargePage);
  if (void* at = os::MapLargePages(kLargePage, kLargePage)) return new (at) Tables();
  return new Tables();
}

const Tables* Build() {
  Tables* t = NewTables();
  iconv_t cd = iconv_open("UTF-32LE", "CP932");
  for (unsigned c = 0; c < 0x80; ++c) t->decode[c] = c;
  for (unsigned c = 0xA1; c <= 0xDF; ++c) t->decode[c] = 0xFF61 + (c - 0xA1);
  if (cd != reinterpret_cast<iconv_t>(-1)) {
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (IsLead(lead)) DecodeRow(cd, lead, *t);
    }
    iconv_close(cd);
  }
  for (unsigned code = 0; code < 0x10000; ++code) {
    if (code < 0x100 && !(code < 0x80 || (code >= 0xA1 && code <= 0xDF))) continue;
    if (code >= 0x100 && !IsLead(code >> 8)) continue;
    Prefer(*t, t->decode[code], static_cast<uint16_t>(code));
  }
  t->encode[0] = 0;  // NUL handled directly
  // Best-fit mappings for text that arrives from JIS-mapped or Latin sources.
  const std::pair<char32_t, uint16_t> extra[] = {
      {0x00A5, 0x5C},   {0x203E, 0x7E},   {0x301C, 0x8160}, {0x2016, 0x8161}, {0x2212, 0x817C},
      {0x00A2, 0x8191}, {0x00A3, 0x8192}, {0x00AC, 0x81CA}, {0x2014, 0x815C}};
  for (auto [cp, code] : extra) {
    if (t->encode[cp] == 0) t->encode[cp] = code;
  }
  return t;
}

const Tables& T() {
  static const Tables* tables = Build();
  return *tables;
}

void PutUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Reads one UTF-8 character at i; returns its length, or 0 when malformed.
size_t NextUtf8(std::string_view s, size_t i, char32_t& cp) {
  auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char c = b(i);
  size_t len;
  char32_t min;
  if (c < 0x80) {
    cp = c;
    return 1;
  } else if ((c & 0xE0) == 0xC0) {
    len = 2, cp = c & 0x1F, min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3, cp = c & 0x0F, min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4, cp = c & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

std::string ToUtf8(std::string_view in) {
  const Tables& t = T();
  std::string out;
  out.reserve(in.size() + in.size() / 2);
  for (size_t i = 0; i < in.size(); ++i) {
    auto c = static_cast<unsigned char>(in[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (IsLead(c) && i + 1 < in.size()) {
      char32_t cp = t.decode[c << 8 | static_cast<unsigned char>(in[i + 1])];
      if (cp != 0) {
        PutUtf8(out, cp);
        ++i;
        continue;
      }
    }
    char32_t cp = t.decode[c];
    PutUtf8(out, cp != 0 ? cp : kBad);
  }
  return out;
}

std::string FromUtf8(std::string_view in) {
  const Tables& t = T();
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size();) {
    char32_t cp;
    size_t len = NextUtf8(in, i, cp);
    if (len == 0) {
      out.push_back('?');
      ++i;
      continue;
    }
    i += len;
    if (cp == 0) {
      out.push_back('\0');
      continue;
    }
    uint16_t code = cp < 0x10000 ? t.encode[cp] : 0;
    if (code == 0) {
      out.push_back('?');
    } else if (code < 0x100) {
      out.push_back(static_cast<char>(code));
    } else {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    }
  }
  return out;
}

bool Representable(std::string_view in) {
  const Tables& t = T();
  for (size_t i = 0; i < in.size();) {
    char32_t cp;
    size_t len = NextUtf8(in, i, cp);
    if (len == 0) return false;
    i += len;
    if (cp != 0 && (cp >= 0x10000 || t.encode[cp] == 0)) return false;
  }
  return true;
}

bool WellFormed(std::string_view in) {
  const Tables& t = T();
  for (size_t i = 0; i < in.size(); ++i) {
    auto c = static_cast<unsigned char>(in[i]);
    if (c < 0x80) continue;
    if (IsLead(c)) {
      if (i + 1 >= in.size() || t.decode[c << 8 | static_cast<unsigned char>(in[i + 1])] == 0) {
        return false;
      }
      ++i;
      continue;
    }
    if (t.decode[c] == 0) return false;
  }
  return true;
}

}  // namespace rkv::cp932
