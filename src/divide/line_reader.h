// The one line reader of log division: the log is read as text (CR LF is one
// line feed) in bounded pieces of at most 253 bytes, so a longer physical line
// arrives as several lines. 0x1A is an ordinary byte here.
//
// Lines are handed out as views into one large read buffer, never copied: a
// line ending in CR LF is shown with the CR turned into its line feed for as
// long as it is the current or the read-ahead line, and put back afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/files.h"
#include "core/io_thread.h"

namespace rkv {

// Which lines a skip (LineReader::SkipVerbatim) stops at, told by their
// first bytes: those that begin with a marked prefix. Lines that begin with a
// noted byte or hold one at column 3 or 5, and that no prefix stops, are
// handed to the note test as text; the skip goes on over them and keeps the
// last one the test passes.
class LineStops {
 public:
  LineStops() { second_.fill(1); }
  // Lines beginning with these one or two bytes.
  void Begin(std::string_view prefix);
  // Lines beginning with c, or holding c at column 3 or 5.
  void NoteBegin(char c) { noteFirst_[static_cast<unsigned char>(c)] = 2; }
  void NoteAt(size_t column, char c);
  // Without a test, lines to note stop the skip like the rest.
  void NoteWhen(bool (*test)(std::string_view text)) { test_ = test; }

  // line: the line's bytes in the buffer. 0: taken over; bit 1: stops; bit 2:
  // to be noted when the test passes. Bytes 3 and 5 are read even for a
  // shorter line (the buffer holds more): a note they give only leads to the
  // test, which sees the line's own text.
  unsigned Look(const unsigned char* line) const {
    return static_cast<unsigned>((first_[line[0]] & second_[line[1]]) != 0) |
           (noteFirst_[line[0]] | fourth_[line[3]] | sixth_[line[5]]);
  }
  // The line (its text as a line shows it) is to be noted; without a test, it stops.
  bool Noted(std::string_view text) const { return test_(text); }
  bool Tests() const { return test_ != nullptr; }

 private:
  // Rule bits: 1 for the one-byte prefixes, one more for each two-byte one.
  std::array<uint8_t, 256> first_{}, second_{};
  // 2 for the bytes of the lines to note.
  std::array<uint8_t, 256> noteFirst_{}, fourth_{}, sixth_{};
  uint8_t nextRule_ = 2;
  bool (*test_)(std::string_view) = nullptr;
};

class LineReader {
 public:
  static constexpr size_t kMaxRead = 253;

  // Nothing when the path names no regular file or it cannot be opened for
  // reading. io, when given, reads the file ahead; it must outlive the reader.
  static std::unique_ptr<LineReader> Open(std::string_view path, IoThread* io = nullptr);
  // stream: opened for binary reading.
  explicit LineReader(std::unique_ptr<Stream> stream);
  // Waits for a read that runs ahead.
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Moves to the next line; false at the end of the file or on an error. The
  // line (line()) stays where it is until the next Next(), Read() or Seek();
  // Peek() does not move it.
  bool Next() {
    Hide(cur_);
    // Most lines: the buffer holds this one and the one after it.
    if (!peeked_ && end_ - pos_ >= 2 * kLook && !lost_) return ParseAny(cur_);
    return NextSlow();
  }
  std::string_view line() const { return {buf_.get() + cur_.start, cur_.text}; }
  // The current line's bytes as they are in the file, when writing the line
  // (its line feed as CR LF) gives exactly these bytes: it ends in CR LF and
  // holds no NUL or end-of-file byte. Empty otherwise. The CR of the current
  // line may still read as a line feed here; the bytes of earlier lines are
  // the file's until the buffer moves (see OnMove()).
  std::string_view Verbatim() const {
    return cur_.verbatim ? std::string_view(buf_.get() + cur_.start, cur_.end - cur_.start) : std::string_view();
  }
  // Moves over the lines from the reading position on that Verbatim() would
  // give, that stops turns away, and whose text lengths add up to less than
  // budget; budget loses their text lengths. They are never shown, and the
  // current line stays. Stops short of the buffer's end, where Next() reads on.
  struct Skipped {
    std::string_view lines;  // their bytes
    std::string_view noted;  // the last one stops noted, with its CR LF; or empty
  };
  Skipped SkipVerbatim(const LineStops& stops, int64_t& budget);
  // The next line with its line feed, or false at the end of the file or on an error.
  bool Read(std::string& line);
  // The line the next Read() gives, read ahead without moving past it.
  bool Peek(std::string_view& line);
  // Real byte positions, for reading ahead and coming back.
  int64_t Tell() const { return base_ + static_cast<int64_t>(peeked_ ? ahead_.start : pos_); }
  bool Seek(int64_t position);
  // Called before the bytes of lines already passed leave the buffer, so that
  // whoever holds views of them can use them up first.
  void OnMove(std::function<void()> beforeMove) { beforeMove_ = std::move(beforeMove); }
  FileId Id() const { return stream_->Id(); }
  // Reading stopped on an error rather than at the end of the file.
  bool Failed() const;
  int LastErrno() const;

 private:
  // Bytes one line can need: its longest piece and the line feed of a CR LF
  // that ends right after it.
  static constexpr size_t kLook = kMaxRead + 1;

  struct Span {
    size_t start = 0;
    size_t end = 0;         // after its last byte in the file
    size_t text = 0;        // the length the line has as text
    bool crlf = false;      // ends in CR LF; the CR reads as the line feed while shown
    bool verbatim = false;  // see Verbatim()
  };
  bool NextSlow();
  bool ParseAny(Span& span) { return wide_ ? ParseWide(span) : Parse(span); }
  bool Parse(Span& span);
  bool ParseWide(Span& span);
  // Both return the position after the lines taken; noted: the start of the
  // last line noted, or SIZE_MAX.
  size_t SkipWide(const LineStops& stops, int64_t& budget, size_t& noted);
  size_t Skip(const LineStops& stops, int64_t& budget, size_t& noted);
  __attribute__((always_inline)) inline bool Take(Span& span, size_t n, size_t lf);
  void Show(const Span& span) {
    if (span.crlf) buf_[span.end - 2] = '\n';
  }
  void Hide(Span& span) {
    if (span.crlf) buf_[span.end - 2] = '\r';
    span.crlf = false;
  }
  // Makes sure the buffer holds need bytes from from on, or everything up to
  // the end of the file; what lies before from may leave the buffer, and the
  // rest moves to its start. Then reads on ahead while there is room.
  void Fill(size_t from, size_t need);
  // The read of the next chunk after end_: started, and its bytes taken.
  void StartRead();
  void FinishRead();

  struct Release {
    Release() : mapped(0) {}
    explicit Release(size_t large) : mapped(large) {}
    void operator()(char* buffer) const;
    size_t mapped;  // bytes of large pages, 0 for the heap
  };
  std::unique_ptr<Stream> stream_;
  std::unique_ptr<char[], Release> buf_;
  size_t chunk_ = 0;     // bytes asked of the file at a time
  size_t capacity_ = 0;  // usable bytes of buf_ (it has some spare after them)
  size_t pos_ = 0;       // the first byte no line took yet
  size_t end_ = 0;       // after the last byte read
  int64_t base_ = 0;     // the file offset of buf_[0]
  bool atEnd_ = false;   // nothing more comes from the file
  Span cur_;
  Span ahead_;  // the line Peek() read
  bool peeked_ = false;
  bool aheadRead_ = false;
  bool lost_ = false;  // a seek back failed: the position is no longer known
  bool wide_ = false;  // the processor has 32-byte vectors
  std::function<void()> beforeMove_;
  // Reads the file ahead while the lines before are worked through.
  IoThread* io_ = nullptr;
  // A read runs into the buffer from end_ on; end_ moves in FinishRead().
  bool reading_ = false;
};

}  // namespace rkv
