#include "divide/line_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define RKV_WIDE_SCAN 1
#endif

#include "platform/os.h"

namespace rkv {
namespace {

// The buffer may be read past its bytes by this much (whole vector loads).
constexpr size_t kSpare = 64;
// Chunks the buffer holds: all but the one being read are read ahead.
constexpr size_t kChunksKept = 7;

// The first line feed, NUL or end-of-file byte of p[0, n), or n. Loads may
// reach up to 15 bytes past n, which the buffer's spare bytes allow.
inline size_t FirstSpecial(const char* p, size_t n) {
#ifdef __SSE2__
  const __m128i lf = _mm_set1_epi8('\n'), nul = _mm_setzero_si128(), eof = _mm_set1_epi8(0x1A);
  for (size_t i = 0; i < n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, nul)), _mm_cmpeq_epi8(v, eof));
    if (int mask = _mm_movemask_epi8(hit)) {
      return std::min(n, i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask))));
    }
  }
  return n;
#else
  for (size_t i = 0; i < n; ++i) {
    if (p[i] == '\n' || p[i] == '\0' || p[i] == '\x1A') return i;
  }
  return n;
#endif
}

#ifdef RKV_WIDE_SCAN
// The same 32 bytes at a time, where the processor can; up to 63 bytes past
// n. The first 64 bytes are looked at in one go: most lines end there, and
// one test of them is one branch the processor foresees.
__attribute__((target("avx2"), always_inline)) inline uint64_t SpecialMask32(const char* p) {
  const __m256i lf = _mm256_set1_epi8('\n'), nul = _mm256_setzero_si256(), eof = _mm256_set1_epi8(0x1A);
  __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  __m256i hit =
      _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(v, lf), _mm256_cmpeq_epi8(v, nul)), _mm256_cmpeq_epi8(v, eof));
  return static_cast<unsigned>(_mm256_movemask_epi8(hit));
}

__attribute__((target("avx2"), always_inline)) inline size_t FirstSpecialWide(const char* p, size_t n) {
  uint64_t first = SpecialMask32(p) | SpecialMask32(p + 32) << 32;
  if (first != 0) return std::min(n, static_cast<size_t>(__builtin_ctzll(first)));
  for (size_t i = 64; i < n; i += 32) {
    if (uint64_t mask = SpecialMask32(p + i)) return std::min(n, i + static_cast<size_t>(__builtin_ctzll(mask)));
  }
  return n;
}
#endif

// A line a skip looked at: taken (true) or not. A line to note is shown to
// the test as Next() would show it, its CR read as its line feed.
__attribute__((always_inline)) inline bool TakeSkipped(char* p, size_t lf, size_t at, const LineStops& stops,
                                                     int64_t& budget, size_t& noted) {
  if (static_cast<int64_t>(lf) >= budget) return false;
  if (unsigned look = stops.Look(reinterpret_cast<const unsigned char*>(p))) {
    if ((look & 1) != 0 || !stops.Tests()) return false;
    p[lf - 1] = '\n';
    bool note = stops.Noted(std::string_view(p, lf));
    p[lf - 1] = '\r';
    if (note) noted = at;
  }
  budget -= static_cast<int64_t>(lf);  // its text: the CR LF reads as one line feed
  return true;
}

// The lines from pos on, as SkipVerbatim() takes them; find is the scan of
// the caller's width.
template <class Find>
__attribute__((always_inline)) inline size_t SkipLines(char* buf, size_t pos, size_t end, size_t keep,
                                                       const LineStops& stops, int64_t& budget, size_t& noted,
                                                       Find find) {
  while (end - pos >= keep) {
    char* p = buf + pos;
    size_t lf = find(p);
    if (lf >= LineReader::kMaxRead || lf == 0 || p[lf] != '\n' || p[lf - 1] != '\r') break;
    if (!TakeSkipped(p, lf, pos, stops, budget, noted)) break;
    pos += lf + 1;
  }
  return pos;
}

}  // namespace

void LineStops::Begin(std::string_view prefix) {
  auto first = static_cast<unsigned char>(prefix[0]);
  if (prefix.size() == 1) {
    first_[first] |= 1;
    return;
  }
  uint8_t rule = nextRule_;
  nextRule_ = static_cast<uint8_t>(nextRule_ << 1);
  first_[first] |= rule;
  second_[static_cast<unsigned char>(prefix[1])] |= rule;
}

void LineStops::NoteAt(size_t column, char c) {
  (column == 3 ? fourth_ : sixth_)[static_cast<unsigned char>(c)] = 2;
}

std::unique_ptr<LineReader> LineReader::Open(std::string_view path, IoThread* io) {
  // A pipe or a device is no log: reading one might wait, or go on, forever.
  if (!os::Stat(path).regular) return nullptr;
  auto stream = Stream::Open(path, "rb");
  if (!stream) return nullptr;
  auto reader = std::make_unique<LineReader>(std::move(stream));
  reader->io_ = io;
  return reader;
}

// The file is asked for four times a stream's usual amount at a time: a
// division reads nothing else, and fewer, larger reads cost less.
LineReader::LineReader(std::unique_ptr<Stream> stream)
    : stream_(std::move(stream)),
      chunk_(4 * StreamBufferSize()),
      capacity_(kChunksKept * chunk_ + 4 * kLook),
      base_(stream_->Tell()) {
  size_t bytes = capacity_ + kSpare;
  // Fresh memory costs a fault per page; one large page is far cheaper.
  // The address checker watches heap blocks only.
#if !defined(__SANITIZE_ADDRESS__)
  constexpr size_t kLargePage = 2 * 1024 * 1024;
  if (bytes <= kLargePage) {
    if (void* at = os::MapLargePages(kLargePage, kLargePage)) buf_ = {static_cast<char*>(at), Release{kLargePage}};
  }
#endif
  if (!buf_) buf_ = {new char[bytes](), Release{}};
#ifdef RKV_WIDE_SCAN
  wide_ = __builtin_cpu_supports("avx2");
#endif
}

void LineReader::Release::operator()(char* buffer) const {
  if (mapped != 0) {
    os::UnmapPages(buffer, mapped);
  } else {
    delete[] buffer;
  }
}

LineReader::~LineReader() {
  if (reading_) io_->ReadDone();
}

void LineReader::StartRead() {
  size_t n = std::min(chunk_, capacity_ - end_);
  if (io_) {
    io_->ReadAhead(*stream_, buf_.get() + end_, n);
    reading_ = true;
    return;
  }
  size_t got = stream_->ReadSome(buf_.get() + end_, n);
  if (got == 0) atEnd_ = true;  // the end, or an error Failed() tells of
  end_ += got;
}

void LineReader::FinishRead() {
  if (!reading_) return;
  reading_ = false;
  size_t got = io_->ReadDone();
  if (got == 0) atEnd_ = true;
  end_ += got;
}

bool LineReader::Failed() const {
  if (reading_) io_->ReadDone();
  return lost_ || stream_->Failed();
}

int LineReader::LastErrno() const {
  if (reading_) io_->ReadDone();
  return stream_->LastErrno();
}

void LineReader::Fill(size_t from, size_t need) {
  // The scans look up to 63 bytes past what they take: never into a read
  // still running.
  need += kSpare;
  while (end_ - from < need && (!atEnd_ || reading_)) {
    if (reading_) {
      FinishRead();
      continue;
    }
    // Every read asks for a whole chunk, which must fit after what is kept.
    if (capacity_ - end_ < chunk_) {
      // What lies before from is passed: its views are used up before it goes.
      if (beforeMove_) beforeMove_();
      std::memmove(buf_.get(), buf_.get() + from, end_ - from);
      size_t moved = from;
      base_ += static_cast<int64_t>(moved);
      end_ -= moved;
      pos_ -= moved;
      for (Span* span : {&cur_, &ahead_}) {
        if (span->start >= moved) {
          span->start -= moved;
          span->end -= moved;
        } else {
          *span = Span{};
        }
      }
      from = 0;
    }
    StartRead();
    FinishRead();
  }
  // The next chunk is read while the caller works through these.
  if (io_ && !reading_ && !atEnd_ && !lost_ && capacity_ - end_ >= chunk_) StartRead();
}

// One line from pos_, as a bounded text read gives it: up to its line feed,
// or kMaxRead bytes, or the end of the file. The buffer holds kLook bytes
// from pos_ or everything up to the end. There is one of these for each
// width of scan; the common line, plain and ending in CR LF, is done inline.
bool LineReader::Parse(Span& span) {
  size_t avail = end_ - pos_;
  if (avail == 0) return false;
  const char* p = buf_.get() + pos_;
  size_t n = std::min(avail, kMaxRead);
  return Take(span, n, FirstSpecial(p, n));
}

#ifdef RKV_WIDE_SCAN
__attribute__((target("avx2"))) bool LineReader::ParseWide(Span& span) {
  size_t avail = end_ - pos_;
  if (avail == 0) return false;
  const char* p = buf_.get() + pos_;
  size_t n = std::min(avail, kMaxRead);
  return Take(span, n, FirstSpecialWide(p, n));
}
#else
bool LineReader::ParseWide(Span& span) { return Parse(span); }
#endif

// The line from pos_ whose first line feed, NUL or end-of-file byte among
// its first n bytes is at lf (n when none).
bool LineReader::Take(Span& span, size_t n, size_t lf) {
  char* p = buf_.get() + pos_;
  if (lf < n && lf > 0 && p[lf] == '\n' && p[lf - 1] == '\r') {
    span = Span{pos_, pos_ + lf + 1, lf, true, true};
    p[lf - 1] = '\n';
    pos_ = span.end;
    return true;
  }
  size_t avail = end_ - pos_;
  bool plain = lf == n || p[lf] == '\n';
  if (!plain) {
    auto found = static_cast<const char*>(std::memchr(p + lf, '\n', n - lf));
    lf = found ? static_cast<size_t>(found - p) : n;
  }
  span = Span{pos_, 0, 0, false, false};
  if (lf < n) {
    span.crlf = lf > 0 && p[lf - 1] == '\r';
    span.text = span.crlf ? lf : lf + 1;
    span.end = pos_ + lf + 1;
  } else if (n == kMaxRead && p[n - 1] == '\r' && avail > n && p[n] == '\n') {
    // A CR LF right after the longest piece still ends it.
    span.crlf = true;
    span.text = n;
    span.end = pos_ + n + 1;
  } else {
    span.text = n;
    span.end = pos_ + n;
  }
  span.verbatim = span.crlf && plain;
  pos_ = span.end;
  Show(span);
  return true;
}

LineReader::Skipped LineReader::SkipVerbatim(const LineStops& stops, int64_t& budget) {
  if (peeked_ || lost_) return {};
  size_t from = pos_;
  size_t noted = SIZE_MAX;
  pos_ = wide_ ? SkipWide(stops, budget, noted) : Skip(stops, budget, noted);
  Skipped skipped{{buf_.get() + from, pos_ - from}, {}};
  if (noted != SIZE_MAX) {
    const char* line = buf_.get() + noted;
    skipped.noted = {line, static_cast<size_t>(static_cast<const char*>(std::memchr(line, '\n', pos_ - noted)) - line) + 1};
  }
  return skipped;
}

size_t LineReader::Skip(const LineStops& stops, int64_t& budget, size_t& noted) {
  return SkipLines(buf_.get(), pos_, end_, 2 * kLook, stops, budget, noted,
                   [](const char* p) { return FirstSpecial(p, kMaxRead); });
}

#ifdef RKV_WIDE_SCAN
// The same, the buffer looked at 64 bytes at a time: the line feeds found in
// each piece end the lines one after another.
__attribute__((target("avx2"))) size_t LineReader::SkipWide(const LineStops& stops, int64_t& budget,
                                                             size_t& noted) {
  char* buf = buf_.get();
  size_t pos = pos_;
  // Locals: the bytes a note test writes are then not taken to change them.
  const size_t end = end_, keep = 2 * kLook;
  int64_t left = budget;
  size_t last = noted;
  // A line is only taken whole within the buffer's kept bytes, so no piece
  // looked at starts more than kMaxRead + 64 bytes after the line's start.
  size_t base = pos;
  uint64_t specials = 0;
  while (end - pos >= keep) {
    while (specials == 0 && base - pos < kMaxRead) {
      specials = SpecialMask32(buf + base) | SpecialMask32(buf + base + 32) << 32;
      if (specials == 0) base += 64;
    }
    if (specials == 0) break;
    size_t at = base + static_cast<size_t>(__builtin_ctzll(specials));
    size_t lf = at - pos;
    char* p = buf + pos;
    if (lf - 1 >= kMaxRead - 1 || p[lf] != '\n' || p[lf - 1] != '\r') break;
    if (!TakeSkipped(p, lf, pos, stops, left, last)) break;
    pos = at + 1;
    specials &= specials - 1;
    if (specials == 0) base += 64;
  }
  budget = left;
  noted = last;
  return pos;
}
#else
size_t LineReader::SkipWide(const LineStops& stops, int64_t& budget, size_t& noted) {
  return Skip(stops, budget, noted);
}
#endif

bool LineReader::NextSlow() {
  if (peeked_) {
    peeked_ = false;
    cur_ = ahead_;
    ahead_ = Span{};
    if (!aheadRead_) {
      cur_ = Span{pos_, pos_};
      return false;
    }
    // Room for the line after it, for the next Peek().
    Fill(cur_.start, cur_.end - cur_.start + kLook);
    return true;
  }
  if (!lost_) {
    Fill(pos_, 2 * kLook);
    if (ParseAny(cur_)) return true;
  }
  cur_ = Span{pos_, pos_};
  return false;
}

bool LineReader::Read(std::string& line) {
  if (!Next()) {
    line.clear();
    return false;
  }
  line.assign(this->line());
  return true;
}

bool LineReader::Peek(std::string_view& line) {
  if (!peeked_) {
    peeked_ = true;
    aheadRead_ = false;
    if (!lost_) {
      // Only when Next() could not make room: the current line moves with its bytes.
      Fill(std::min(cur_.start, pos_), pos_ - std::min(cur_.start, pos_) + kLook);
      aheadRead_ = ParseAny(ahead_);
    }
    if (!aheadRead_) ahead_ = Span{pos_, pos_};
  }
  line = std::string_view(buf_.get() + ahead_.start, ahead_.text);
  return aheadRead_;
}

bool LineReader::Seek(int64_t position) {
  FinishRead();  // the stream is this thread's again
  Hide(cur_);
  Hide(ahead_);
  peeked_ = false;
  if (beforeMove_) beforeMove_();
  pos_ = end_ = 0;
  cur_ = ahead_ = Span{};
  atEnd_ = false;
  if (!lost_ && stream_->Seek(position, SEEK_SET)) {
    base_ = position;
    return true;
  }
  lost_ = true;
  return false;
}

}  // namespace rkv
