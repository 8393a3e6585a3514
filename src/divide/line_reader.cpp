#include "divide/line_reader.h"

#include <cstdio>

#include "platform/os.h"

namespace rkv {

std::unique_ptr<LineReader> LineReader::Open(std::string_view path) {
  // A pipe or a device is no log: reading one might wait, or go on, forever.
  if (!os::Stat(path).regular) return nullptr;
  auto stream = OpenTextRead(path);
  if (!stream) return nullptr;
  return std::make_unique<LineReader>(std::move(stream));
}

bool LineReader::Read(std::string& line) {
  if (peeked_) {
    peeked_ = false;
    line.swap(ahead_);
    return aheadRead_;
  }
  if (lost_) return false;
  return stream_->Gets(line, kMaxRead + 1);
}

bool LineReader::Peek(std::string_view& line) {
  if (!peeked_) {
    peekedAt_ = stream_->Tell();
    aheadRead_ = !lost_ && stream_->Gets(ahead_, kMaxRead + 1);
    peeked_ = true;
  }
  line = ahead_;
  return aheadRead_;
}

bool LineReader::Seek(int64_t position) {
  peeked_ = false;
  if (!lost_ && stream_->Seek(position, SEEK_SET)) return true;
  lost_ = true;
  return false;
}

}  // namespace rkv
