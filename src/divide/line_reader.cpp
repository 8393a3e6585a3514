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
  if (lost_) return false;
  return stream_->Gets(line, kMaxRead + 1);
}

bool LineReader::Seek(int64_t position) {
  if (!lost_ && stream_->Seek(position, SEEK_SET)) return true;
  lost_ = true;
  return false;
}

}  // namespace rkv
