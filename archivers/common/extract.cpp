#include "common/extract.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace arc {

std::optional<std::vector<std::string>> SafeParts(std::string_view path) {
  std::vector<std::string> parts;
  std::string cur;
  auto flush = [&]() -> bool {
    if (cur == "..") return false;
    if (!cur.empty() && cur != ".") parts.push_back(cur);
    cur.clear();
    return true;
  };
  for (char c : path) {
    if (c == '/' || c == '\\') {
      if (!flush()) return std::nullopt;
    } else if (c == '\0') {
      return std::nullopt;
    } else {
      cur += c;
    }
  }
  if (!flush()) return std::nullopt;
  // A drive letter ("C:") at the head says where on another system; here it is dropped.
  if (!parts.empty() && parts[0].size() == 2 && parts[0][1] == ':' && isalpha(uint8_t(parts[0][0])))
    parts.erase(parts.begin());
  if (parts.empty()) return std::nullopt;
  return parts;
}

// A folder the user named but that is not there yet is made (with its parents).
static int OpenOrMake(const std::string& dir) {
  int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0 || errno != ENOENT) return fd;
  for (size_t slash = dir.find('/', 1); ; slash = dir.find('/', slash + 1)) {
    mkdir(dir.substr(0, slash).c_str(), 0755);
    if (slash == std::string::npos) break;
  }
  return open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

OutputFolder::OutputFolder(const std::string& nativeDir) : fd_(OpenOrMake(nativeDir.empty() ? "." : nativeDir)) {}

OutputFolder::~OutputFolder() {
  if (fd_ >= 0) close(fd_);
}

int OutputFolder::OpenDir(const std::vector<std::string>& parts, size_t count) {
  int dir = dup(fd_);
  for (size_t i = 0; dir >= 0 && i < count; ++i) {
    mkdirat(dir, parts[i].c_str(), 0755);
    int next = openat(dir, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    close(dir);
    dir = next;
  }
  return dir;
}

bool OutputFolder::MakeDirs(const std::vector<std::string>& parts, size_t count) {
  int dir = OpenDir(parts, count);
  if (dir < 0) return false;
  close(dir);
  return true;
}

bool OutputFolder::WriteFile(const std::vector<std::string>& parts,
                             const std::function<long(char*, size_t)>& source, int64_t mtime,
                             const std::function<bool()>& complete) {
  int dir = OpenDir(parts, parts.size() - 1);
  if (dir < 0) return false;
  static std::mt19937 rng(std::random_device{}());
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 20; ++attempt) {
    tmp = ".part" + std::to_string(rng());
    fd = openat(dir, tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  }
  if (fd < 0) {
    close(dir);
    return false;
  }
  bool ok = true;
  static thread_local std::vector<char> buf(1 << 16);
  for (;;) {
    long n = source(buf.data(), buf.size());
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    for (long done = 0; ok && done < n;) {
      ssize_t w = write(fd, buf.data() + done, size_t(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) ok = false;
      else done += w;
    }
    if (!ok) break;
  }
  if (ok && complete && !complete()) ok = false;
  if (ok && mtime >= 0) {
    struct timespec ts[2] = {{mtime, 0}, {mtime, 0}};
    futimens(fd, ts);
  }
  if (close(fd) != 0) ok = false;
  // The finished file takes the name in one step; a failed one never does.
  if (ok && renameat(dir, tmp.c_str(), dir, parts.back().c_str()) != 0) ok = false;
  if (!ok) unlinkat(dir, tmp.c_str(), 0);
  close(dir);
  return ok;
}

Utf8Names::Utf8Names() : mine_(newlocale(LC_ALL_MASK, "C.UTF-8", locale_t(0))), old_(nullptr) {
  if (mine_) old_ = uselocale(mine_);
}

Utf8Names::~Utf8Names() {
  if (mine_) {
    uselocale(old_);
    freelocale(mine_);
  }
}

}  // namespace arc
