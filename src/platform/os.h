// The seam under every operating-system call of the core. Paths given here are
// core paths (CP932 bytes); they are turned into the file system's UTF-8 names
// here and nowhere else. Tests can make writes fail to prove nothing is lost.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rkv::os {

// Core path -> name on disk: CP932 text becomes UTF-8; bytes that are not
// CP932 text pass unchanged.
std::string Native(std::string_view corePath);
// Name on disk -> core path: UTF-8 that the code page can hold becomes CP932;
// anything else passes unchanged.
std::string FromNative(std::string_view nativePath);

// Opens a regular file only: a directory, FIFO or device fails (EISDIR or
// EINVAL) without blocking.
int Open(std::string_view path, int flags, mode_t mode = 0666);
ssize_t Read(int fd, void* buf, size_t n);
// Writes all n bytes (retrying short writes); false with errno set on failure.
bool WriteAll(int fd, const void* buf, size_t n);
// Writes all n bytes at that offset without moving the file position.
bool WriteAllAt(int fd, const void* buf, size_t n, off_t offset);
off_t Seek(int fd, off_t offset, int whence);
int Close(int fd);

struct FileStat {
  bool exists = false;
  bool regular = false;
  bool directory = false;
  bool readOnly = false;  // no write permission for the owner
  int64_t size = 0;
  int64_t mtime = 0;      // seconds since the epoch
  int64_t mtimeNsec = 0;
  uint64_t device = 0;    // with inode: which file this is, however it is named
  uint64_t inode = 0;
};
FileStat Stat(std::string_view path);
FileStat StatFd(int fd);

bool Remove(std::string_view path);
// Renames without ever replacing an existing target (fails instead).
bool RenameNoReplace(std::string_view from, std::string_view to);
// Renames, replacing the target atomically (used to put a finished file in place).
bool RenameReplace(std::string_view from, std::string_view to);
bool MakeDir(std::string_view path);
bool RemoveDir(std::string_view path);
bool SetMtime(std::string_view path, int64_t seconds, int64_t nsec);
// Gives the owner write permission again (the "read-only attribute" cleared).
bool ClearReadOnly(std::string_view path);
bool SyncFd(int fd);
// Cuts a file back to size bytes (undoes a failed append).
bool Truncate(std::string_view path, int64_t size);

// Anonymous zeroed memory of bytes (a multiple of the page size) aligned to
// align (a power of two, at least a page), asked to be backed by large pages
// where the system offers them; nullptr when none can be had.
void* MapLargePages(size_t bytes, size_t align);
void UnmapPages(void* at, size_t bytes);

// The process's working directory, or "/" when it cannot be told.
std::string CurrentDir();

struct DirEntry {
  std::string name;  // core name
  bool directory = false;
  bool regular = false;
  int64_t size = 0;
  int64_t mtime = 0;
};
// The entries of a directory in the order the file system returns them, without
// "." and "..". Nothing when the directory cannot be opened.
std::optional<std::vector<DirEntry>> ListDir(std::string_view path);
// Whether the directory can be opened for listing, without reading it.
bool CanListDir(std::string_view path);

// Free bytes for an unprivileged user on the file system holding path, or -1.
int64_t FreeSpace(std::string_view path);

std::string LastErrorText();  // strerror(errno) of the last failure, as CP932

// Test hook: called before every write with the byte count; returning an errno
// value makes that write fail with it. Unset in the program.
using WriteFaultHook = std::function<int(size_t bytes)>;
void SetWriteFaultHook(WriteFaultHook hook);
// The same for reads: returning an errno value makes that read fail with it.
using ReadFaultHook = std::function<int(size_t bytes)>;
void SetReadFaultHook(ReadFaultHook hook);

// The same for opens, stats, renames and syncs: returning an errno value makes
// that call fail with it. The path is the one opened, stated or renamed to
// (empty for calls on an open file).
enum class Call { Open, Stat, Rename, Sync };
using CallFaultHook = std::function<int(Call call, std::string_view path)>;
void SetCallFaultHook(CallFaultHook hook);

}  // namespace rkv::os
