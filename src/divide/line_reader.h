// The one line reader of log division: the log is read as text (CR LF is one
// line feed) in bounded pieces of at most 253 bytes, so a longer physical line
// arrives as several lines. 0x1A is an ordinary byte here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/files.h"

namespace rkv {

class LineReader {
 public:
  static constexpr size_t kMaxRead = 253;

  // Nothing when the path names no regular file or it cannot be opened for reading.
  static std::unique_ptr<LineReader> Open(std::string_view path);
  explicit LineReader(std::unique_ptr<Stream> stream) : stream_(std::move(stream)) {}

  // The next line with its line feed, or false at the end of the file or on an error.
  bool Read(std::string& line);
  // The line the next Read() gives, read ahead without moving past it.
  bool Peek(std::string_view& line);
  // Real byte positions, for reading ahead and coming back.
  int64_t Tell() const { return peeked_ ? peekedAt_ : stream_->Tell(); }
  bool Seek(int64_t position);
  FileId Id() const { return stream_->Id(); }
  // Reading stopped on an error rather than at the end of the file.
  bool Failed() const { return lost_ || stream_->Failed(); }
  int LastErrno() const { return stream_->LastErrno(); }

 private:
  std::unique_ptr<Stream> stream_;
  std::string ahead_;  // the line Peek() read
  bool peeked_ = false;
  bool aheadRead_ = false;
  int64_t peekedAt_ = 0;
  bool lost_ = false;  // a seek back failed: the position is no longer known
};

}  // namespace rkv
