// Bounded line reads over a text stream, as every scan of a split file does
// them: a read stops after a line feed or after `limit` bytes, so a longer
// physical line arrives in pieces. Each piece knows the byte it starts at, so
// positions are exact whatever ended the piece (CR LF, a lone LF, nothing).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/files.h"

namespace rkv {

class PieceReader {
 public:
  PieceReader(Stream& stream, size_t limit) : stream_(stream), limit_(limit) {}

  // False at the end of the file or on a read failure.
  bool Next() {
    start_ = stream_.Tell();
    return stream_.Gets(line_, limit_ + 1);
  }
  std::string_view line() const { return line_; }
  int64_t start() const { return start_; }
  // The stored position of the piece: one more than its first byte.
  int64_t offset() const { return start_ + 1; }
  // Where the next read begins (to come back after reading ahead).
  int64_t after() const { return stream_.Tell(); }
  bool Seek(int64_t position) { return stream_.Seek(position, SEEK_SET); }
  bool failed() const { return stream_.Failed(); }

 private:
  Stream& stream_;
  size_t limit_;
  std::string line_;
  int64_t start_ = 0;
};

}  // namespace rkv
