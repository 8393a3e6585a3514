#include "index/win_fix_file.h"

#include <fcntl.h>

#include <cerrno>

#include "core/files.h"
#include "platform/os.h"

namespace rkv {

bool WinFixFile::Fail() {
  lastError_ = errno;
  return false;
}

bool WinFixFile::Open(std::string_view path) {
  Close();
  name_ = path;
  handle_ = os::Open(path, PathExists(path) ? O_RDWR : O_RDWR | O_CREAT | O_EXCL);
  return handle_ >= 0 || Fail();
}

bool WinFixFile::OpenExisting(std::string_view path) {
  Close();
  name_ = path;
  handle_ = os::Open(path, O_RDWR);
  return handle_ >= 0 || Fail();
}

void WinFixFile::Close() {
  if (handle_ >= 0) os::Close(handle_);
  handle_ = -1;
}

bool WinFixFile::Seek(int64_t record) {
  if (handle_ < 0 || record < 0) return false;
  return os::Seek(handle_, static_cast<off_t>(record * static_cast<int64_t>(recordLength_)), SEEK_SET) >= 0 ||
         Fail();
}

std::optional<std::string> WinFixFile::Read() {
  if (handle_ < 0) return std::nullopt;
  std::string record(recordLength_, '\0');
  size_t got = 0;
  while (got < recordLength_) {
    ssize_t r = os::Read(handle_, record.data() + got, recordLength_ - got);
    if (r < 0) {
      Fail();
      return std::nullopt;
    }
    if (r == 0) return std::nullopt;
    got += static_cast<size_t>(r);
  }
  return record;
}

bool WinFixFile::Write(std::string_view record) {
  if (handle_ < 0 || record.size() != recordLength_) return false;
  return os::WriteAll(handle_, record.data(), record.size()) || Fail();
}

int64_t WinFixFile::RecordCount() const {
  if (handle_ < 0) return 0;
  return os::StatFd(handle_).size / static_cast<int64_t>(recordLength_);
}

}  // namespace rkv
