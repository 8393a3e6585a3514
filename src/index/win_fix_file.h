// A file of fixed-length records, read and written whole at the current
// position. A record cut short by the end of the file is no record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rkv {

class WinFixFile {
 public:
  explicit WinFixFile(size_t recordLength) : recordLength_(recordLength) {}
  ~WinFixFile() { Close(); }
  WinFixFile(const WinFixFile&) = delete;
  WinFixFile& operator=(const WinFixFile&) = delete;

  // Opens an existing file for reading and writing, or creates it empty.
  bool Open(std::string_view path);
  // Opens only a file that exists.
  bool OpenExisting(std::string_view path);
  void Close();

  bool Seek(int64_t record);
  // The record at the current position; nothing at the end of the file, for a
  // short last record, or on a read failure.
  std::optional<std::string> Read();
  bool Write(std::string_view record);
  // Whole records in the file.
  int64_t RecordCount() const;

  int handle() const { return handle_; }
  const std::string& name() const { return name_; }
  int lastError() const { return lastError_; }

 private:
  bool Fail();

  int handle_ = -1;
  std::string name_;
  size_t recordLength_;
  int lastError_ = 0;
};

}  // namespace rkv
