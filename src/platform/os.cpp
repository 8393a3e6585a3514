#include "platform/os.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "core/cp932.h"

namespace rkv::os {
namespace {

WriteFaultHook& FaultHook() {
  static WriteFaultHook hook;
  return hook;
}

ReadFaultHook& ReadHook() {
  static ReadFaultHook hook;
  return hook;
}

bool AllAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

FileStat FromStat(const struct stat& st) {
  FileStat fs;
  fs.exists = true;
  fs.regular = S_ISREG(st.st_mode);
  fs.directory = S_ISDIR(st.st_mode);
  fs.readOnly = (st.st_mode & S_IWUSR) == 0;
  fs.size = st.st_size;
  fs.mtime = st.st_mtim.tv_sec;
  fs.mtimeNsec = st.st_mtim.tv_nsec;
  fs.device = static_cast<uint64_t>(st.st_dev);
  fs.inode = static_cast<uint64_t>(st.st_ino);
  return fs;
}

}  // namespace

namespace {

CallFaultHook& CallHook() {
  static CallFaultHook hook;
  return hook;
}

int Injected(Call call, std::string_view path) {
  auto& hook = CallHook();
  return hook ? hook(call, path) : 0;
}

}  // namespace

std::string Native(std::string_view corePath) {
  if (AllAscii(corePath) || !cp932::WellFormed(corePath)) return std::string(corePath);
  return cp932::ToUtf8(corePath);
}

std::string FromNative(std::string_view nativePath) {
  if (AllAscii(nativePath) || !cp932::Representable(nativePath)) return std::string(nativePath);
  return cp932::FromUtf8(nativePath);
}

int Open(std::string_view path, int flags, mode_t mode) {
  if (int err = Injected(Call::Open, path)) {
    errno = err;
    return -1;
  }
  // Non-blocking, so that a FIFO cannot hang the open itself; only regular
  // files are ever read or written here: a directory, a FIFO or a device (a
  // link to /dev/zero reads forever) is refused.
  int fd = ::open(Native(path).c_str(), flags | O_CLOEXEC | O_NONBLOCK, mode);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    int err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    errno = err;
    return -1;
  }
  if (!(flags & O_NONBLOCK)) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

ssize_t Read(int fd, void* buf, size_t n) {
  if (auto& hook = ReadHook()) {
    if (int err = hook(n)) {
      errno = err;
      return -1;
    }
  }
  for (;;) {
    ssize_t r = ::read(fd, buf, n);
    if (r >= 0 || errno != EINTR) return r;
  }
}

namespace {

// Writes all n bytes at the file position (offset < 0) or at offset,
// retrying short writes.
bool WriteEverything(int fd, const void* buf, size_t n, off_t offset) {
  if (auto& hook = FaultHook()) {
    if (int err = hook(n)) {
      errno = err;
      return false;
    }
  }
  auto p = static_cast<const char*>(buf);
  while (n > 0) {
    ssize_t w = offset < 0 ? ::write(fd, p, n) : ::pwrite(fd, p, n, offset);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (w == 0) {
      errno = EIO;
      return false;
    }
    p += w;
    if (offset >= 0) offset += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

}  // namespace

bool WriteAll(int fd, const void* buf, size_t n) { return WriteEverything(fd, buf, n, -1); }

bool WriteAllAt(int fd, const void* buf, size_t n, off_t offset) {
  return offset >= 0 && WriteEverything(fd, buf, n, offset);
}

off_t Seek(int fd, off_t offset, int whence) { return ::lseek(fd, offset, whence); }

int Close(int fd) { return ::close(fd); }

void* MapLargePages(size_t bytes, size_t align) {
  // Over-map by the alignment and give back both ends.
  size_t span = bytes + align;
  void* raw = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  auto start = reinterpret_cast<uintptr_t>(raw);
  uintptr_t at = (start + align - 1) & ~(static_cast<uintptr_t>(align) - 1);
  if (at > start) ::munmap(raw, at - start);
  if (uintptr_t tail = start + span - (at + bytes)) ::munmap(reinterpret_cast<void*>(at + bytes), tail);
#ifdef MADV_HUGEPAGE
  // Only advice: without large pages the memory is still good.
  ::madvise(reinterpret_cast<void*>(at), bytes, MADV_HUGEPAGE);
#endif
  return reinterpret_cast<void*>(at);
}

void UnmapPages(void* at, size_t bytes) { ::munmap(at, bytes); }

FileStat Stat(std::string_view path) {
  if (int err = Injected(Call::Stat, path)) {
    errno = err;
    return {};
  }
  struct stat st {};
  if (path.empty() || ::stat(Native(path).c_str(), &st) != 0) return {};
  return FromStat(st);
}

FileStat StatFd(int fd) {
  if (int err = Injected(Call::Stat, {})) {
    errno = err;
    return {};
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) return {};
  return FromStat(st);
}

bool Remove(std::string_view path) { return ::unlink(Native(path).c_str()) == 0; }

bool RenameNoReplace(std::string_view from, std::string_view to) {
  if (int err = Injected(Call::Rename, to)) {
    errno = err;
    return false;
  }
  std::string a = Native(from), b = Native(to);
#ifdef SYS_renameat2
  if (::syscall(SYS_renameat2, AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), 1 /*RENAME_NOREPLACE*/) ==
      0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
#endif
  // File systems without the no-replace flag: a hard link fails on an existing name.
  if (::link(a.c_str(), b.c_str()) == 0) {
    ::unlink(a.c_str());
    return true;
  }
  return false;
}

bool RenameReplace(std::string_view from, std::string_view to) {
  if (int err = Injected(Call::Rename, to)) {
    errno = err;
    return false;
  }
  return ::rename(Native(from).c_str(), Native(to).c_str()) == 0;
}

bool MakeDir(std::string_view path) { return ::mkdir(Native(path).c_str(), 0777) == 0; }

bool RemoveDir(std::string_view path) { return ::rmdir(Native(path).c_str()) == 0; }

bool SetMtime(std::string_view path, int64_t seconds, int64_t nsec) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(seconds);
  times[1].tv_nsec = static_cast<long>(nsec);
  return ::utimensat(AT_FDCWD, Native(path).c_str(), times, 0) == 0;
}

bool ClearReadOnly(std::string_view path) {
  std::string n = Native(path);
  struct stat st {};
  if (::stat(n.c_str(), &st) != 0) return false;
  return ::chmod(n.c_str(), st.st_mode | S_IWUSR) == 0;
}

bool SyncFd(int fd) {
  if (int err = Injected(Call::Sync, {})) {
    errno = err;
    return false;
  }
  return ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
}

bool Truncate(std::string_view path, int64_t size) {
  return ::truncate(Native(path).c_str(), static_cast<off_t>(size)) == 0;
}

std::string CurrentDir() {
  char buf[4096];
  if (!::getcwd(buf, sizeof buf)) return "/";
  return FromNative(buf);
}

std::optional<std::vector<DirEntry>> ListDir(std::string_view path) {
  std::string dir = Native(path.empty() ? std::string_view(".") : path);
  DIR* d = ::opendir(dir.c_str());
  if (!d) return std::nullopt;
  std::vector<DirEntry> out;
  int dfd = ::dirfd(d);
  while (struct dirent* e = ::readdir(d)) {
    std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    DirEntry entry;
    entry.name = FromNative(name);
    struct stat st {};
    if (::fstatat(dfd, e->d_name, &st, 0) == 0) {
      entry.directory = S_ISDIR(st.st_mode);
      entry.regular = S_ISREG(st.st_mode);
      entry.size = st.st_size;
      entry.mtime = st.st_mtim.tv_sec;
    }
    out.push_back(std::move(entry));
  }
  ::closedir(d);
  return out;
}

bool CanListDir(std::string_view path) {
  DIR* d = ::opendir(Native(path.empty() ? std::string_view(".") : path).c_str());
  if (!d) return false;
  ::closedir(d);
  return true;
}

int64_t FreeSpace(std::string_view path) {
  struct statvfs sv {};
  if (::statvfs(Native(path.empty() ? std::string_view(".") : path).c_str(), &sv) != 0) return -1;
  return static_cast<int64_t>(sv.f_bavail) * static_cast<int64_t>(sv.f_frsize);
}

std::string LastErrorText() { return cp932::FromUtf8(std::strerror(errno)); }

void SetWriteFaultHook(WriteFaultHook hook) { FaultHook() = std::move(hook); }

void SetReadFaultHook(ReadFaultHook hook) { ReadHook() = std::move(hook); }

void SetCallFaultHook(CallFaultHook hook) { CallHook() = std::move(hook); }

}  // namespace rkv::os
