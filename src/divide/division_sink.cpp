#include "divide/division_sink.h"

#include <cerrno>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "core/paths.h"
#include "divide/output_files.h"
#include "platform/os.h"

namespace rkv {
namespace {

// Where a piece of text to write stops: its first line feed, NUL or
// end-of-file byte. Sixteen (or eight) bytes at a time, for every line of the
// log passes here.
size_t TextEnd(std::string_view text) {
  size_t i = 0;
#ifdef __SSE2__
  const __m128i lf = _mm_set1_epi8('\n'), nul = _mm_setzero_si128(), eof = _mm_set1_epi8(0x1A);
  for (; i + 16 <= text.size(); i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, nul)), _mm_cmpeq_epi8(v, eof));
    if (int mask = _mm_movemask_epi8(hit)) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
  }
  if (i < text.size() && text.size() >= 16) {
    // The last sixteen bytes, of which those before i were looked at already.
    size_t from = text.size() - 16;
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + from));
    __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, nul)), _mm_cmpeq_epi8(v, eof));
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(hit)) >> (i - from);
    return mask != 0 ? i + static_cast<size_t>(__builtin_ctz(mask)) : text.size();
  }
#else
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  constexpr uint64_t kHighs = 0x8080808080808080ULL;
  auto hasZeroByte = [](uint64_t w) { return (w - kOnes) & ~w & kHighs; };
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t w;
    std::memcpy(&w, text.data() + i, 8);
    if (hasZeroByte(w) | hasZeroByte(w ^ (kOnes * '\n')) | hasZeroByte(w ^ (kOnes * 0x1A))) break;
  }
#endif
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\n' || c == '\0' || c == '\x1A') return i;
  }
  return text.size();
}

}  // namespace

DivisionSink::DivisionSink(FileId log, std::unique_ptr<DivisionRecord> record, IoThread* io)
    : log_(log), record_(std::move(record)), behind_(io) {}

// A run that ends without Commit() (a stop the user asked for commits) has failed.
DivisionSink::~DivisionSink() {
  if (!finished_) Rollback();
}

std::optional<DivisionSink::Failure> DivisionSink::Open(const std::string& requested, Output** known) {
  if (auto failure = Flush()) return failure;
  Output* out = known ? *known : nullptr;
  if (out) {
    // The caller remembered it.
  } else if (auto found = byRequested_.find(requested); found != byRequested_.end()) {
    out = found->second;
  } else {
    // Which file a name means is asked once per output, not once per block.
    auto safe = ProtectPath(requested, {log_, record_->id()});
    if (!safe) return Failure{requested, EEXIST, true};
    bool existed = os::Stat(*safe).exists;
    auto stream = OpenForAppend(*safe);
    if (!stream) return Failure{*safe, errno, true};
    FileId id = stream->Id();
    auto& same = byId_[{id.device, id.inode}];
    if (same) {
      stream->Close();  // nothing was written through it
    } else {
      if (behind_) stream->WriteBehindBy(behind_);
      int64_t size = stream->Tell();
      outputs_.push_back(
          std::make_unique<Output>(Output{*safe, FileNamePart(*safe), existed ? size : -1, size, std::move(stream)}));
      same = outputs_.back().get();
      ++open_;
    }
    out = same;
    byRequested_.emplace(requested, out);
  }
  if (known) *known = out;
  if (!out->stream) {
    out->stream = OpenForAppend(out->path);
    if (!out->stream) return Failure{out->path, errno, true};
    if (behind_) out->stream->WriteBehindBy(behind_);
    ++open_;
  }
  out->stream->ReserveWrites();
  out->lastUse = ++clock_;
  current_ = out;
  return MakeRoom();
}

// The least recently used file is closed when too many are open.
std::optional<DivisionSink::Failure> DivisionSink::MakeRoom() {
  if (open_ <= kKeptOpen) return std::nullopt;
  Output* oldest = nullptr;
  for (auto& out : outputs_) {
    if (out->stream && out.get() != current_ && (!oldest || out->lastUse < oldest->lastUse)) oldest = out.get();
  }
  if (!oldest) return std::nullopt;
  --open_;
  if (oldest->stream->Close()) {
    oldest->stream.reset();
    return std::nullopt;
  }
  Failure failure = WriteFailure(*oldest);
  oldest->stream.reset();
  return failure;
}

DivisionSink::Failure DivisionSink::WriteFailure(Output& out) {
  int error = out.stream ? out.stream->LastErrno() : 0;
  return Failure{out.path, error != 0 ? error : EIO, false};
}

std::optional<DivisionSink::Failure> DivisionSink::StartGathering(std::string_view line) {
  if (auto failure = Flush()) return failure;
  gathered_ = line;
  return std::nullopt;
}

std::optional<DivisionSink::Failure> DivisionSink::Flush() {
  if (failed_ || gathered_.empty()) return failed_;
  std::string_view lines = gathered_;
  gathered_ = {};
  Output& out = *current_;
  out.size += static_cast<int64_t>(lines.size());
  if (!WriteGathered(*out.stream, lines)) failed_ = WriteFailure(out);
  if (!failed_ && behind_ && behind_->Failed()) failed_ = FailedBehind();
  return failed_;
}

// A stream closed since then told of its failure when it closed.
std::optional<DivisionSink::Failure> DivisionSink::FailedBehind() {
  const void* owner = behind_->FailedOwner();
  for (auto& out : outputs_) {
    if (out->stream && out->stream.get() == owner) return Failure{out->path, behind_->ErrorOf(owner), false};
  }
  return std::nullopt;
}

// The lines go to the stream in pieces cut where writing them one by one
// (text, then CR LF) would have made it hand its buffer to the file, so that
// the file is written at the same points, and fails at the same points.
bool DivisionSink::WriteGathered(Stream& stream, std::string_view lines) {
  size_t done = 0;
  const size_t body = lines.size() - 2;  // the last CR LF is written as such
  for (;;) {
    size_t room = Stream::kWriteChunk - stream.Buffered();
    if (lines.size() - done < room) break;
    // The first end of a line's text or of its CR LF that fills the buffer.
    size_t from = done + room - 1;
    auto lf = from < body ? static_cast<const char*>(std::memchr(lines.data() + from, '\n', body - from)) : nullptr;
    size_t at = lf ? static_cast<size_t>(lf - lines.data()) : lines.size() - 1;
    size_t cut = at >= done + room + 1 ? at - 1 : at + 1;
    bool ok = cut == lines.size() ? stream.Write(lines.substr(done, body - done)) && stream.Write("\r\n")
                                  : stream.Write(lines.substr(done, cut - done));
    if (!ok) return false;
    done = cut;
    if (done == lines.size()) return true;
  }
  return stream.Write(lines.substr(done, body - done)) && stream.Write("\r\n");
}

std::optional<DivisionSink::Failure> DivisionSink::WriteText(std::string_view text) {
  if (auto failure = Flush()) return failure;
  Output& out = *current_;
  for (;;) {
    size_t end = TextEnd(text);
    bool ok = out.stream->Write(text.substr(0, end));
    out.size += static_cast<int64_t>(end);
    if (end < text.size() && text[end] == '\n') {
      ok = out.stream->Write("\r\n") && ok;
      out.size += 2;
    }
    if (!ok) return WriteFailure(out);
    // A NUL byte is noise in the capture: the rest of the line is still written.
    if (end == text.size() || text[end] != '\0') break;
    text.remove_prefix(end + 1);
  }
  if (behind_ && behind_->Failed()) failed_ = FailedBehind();
  return failed_;
}

void DivisionSink::RemoveIfEmpty() { current_->removeIfEmpty = true; }

std::optional<DivisionSink::Failure> DivisionSink::Commit() {
  std::optional<Failure> failure = Flush();
  current_ = nullptr;
  for (auto& out : outputs_) {
    if (!out->stream) continue;
    if (!out->stream->Close() && !failure) failure = WriteFailure(*out);
    out->stream.reset();
  }
  open_ = 0;
  if (!failure && !record_->Commit()) failure = Failure{record_->path(), record_->errorNumber(), false};
  if (failure) {
    Rollback();
    return failure;
  }
  finished_ = true;
  for (auto& out : outputs_) {
    if (out->removeIfEmpty && out->size == 0) rkv::RemoveIfEmpty(out->path);
  }
  return std::nullopt;
}

void DivisionSink::Rollback() {
  gathered_ = {};
  current_ = nullptr;
  // Nothing handed over may reach a file after it is put back.
  if (behind_) behind_->Wait();
  for (auto& out : outputs_) {
    if (out->stream) out->stream->Close();
    out->stream.reset();
    if (out->sizeBefore < 0) {
      os::Remove(out->path);
    } else if (out->size != out->sizeBefore) {
      os::Truncate(out->path, out->sizeBefore);
    }
  }
  open_ = 0;
  record_->Rollback();
  finished_ = true;
}

}  // namespace rkv
