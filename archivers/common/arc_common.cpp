#include "common/arc_common.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace arc {

std::vector<std::string> SplitCommand(std::string_view line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::string w;
    bool quoted = false;
    for (; i < line.size(); ++i) {
      char c = line[i];
      if (c == '"') {
        quoted = !quoted;
        continue;
      }
      if (!quoted && (c == ' ' || c == '\t')) break;
      w += c;
    }
    words.push_back(std::move(w));
  }
  return words;
}

static bool Convert(const char* to, const char* from, std::string_view in, std::string& out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == (iconv_t)-1) return false;
  out.assign(in.size() * 4 + 8, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (r == (size_t)-1 || srcLeft != 0) return false;
  out.resize(out.size() - dstLeft);
  return true;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  std::string out;
  if (Convert("UTF-8", "CP932", cp932, out)) return out;
  return std::string(cp932);
}

std::string Utf8ToCp932(std::string_view utf8) {
  std::string out;
  if (Convert("CP932", "UTF-8", utf8, out)) return out;
  return {};
}

std::string TrimFolder(std::string_view folder) {
  std::string f(folder);
  while (f.size() > 1 && (f.back() == '/' || f.back() == '\\')) f.pop_back();
  return f;
}

bool ReadWhole(const std::string& nativePath, std::string& out) {
  int fd = open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // Read straight into the string, sized from the file's length with room to
  // spare so the end shows in the same pass; a file that grows meanwhile still fits.
  struct stat st;
  const size_t expected = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 ? size_t(st.st_size) : 0;
  out.assign(expected + 65536, '\0');
  size_t have = 0;
  for (;;) {
    if (have == out.size()) out.resize(out.size() * 2);
    ssize_t n = read(fd, out.data() + have, out.size() - have);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      out.clear();
      return false;
    }
    if (n == 0) break;
    have += size_t(n);
  }
  close(fd);
  out.resize(have);
  return true;
}

static bool SameContent(const std::string& path, std::string_view bytes) {
  std::string old;
  return ReadWhole(path, old) && old == bytes;
}

bool PlaceFile(const std::string& nativeDir, const std::string& name, std::string_view bytes,
               int64_t mtime) {
  std::string dir = nativeDir.empty() ? std::string(".") : nativeDir;
  std::string target = dir + "/" + name;
  struct stat st;
  if (lstat(target.c_str(), &st) == 0) return S_ISREG(st.st_mode) && SameContent(target, bytes);
  std::string tmp = dir + "/.arcXXXXXX";
  int fd = mkstemp(tmp.data());
  if (fd < 0) return false;
  bool ok = true;
  for (size_t done = 0; ok && done < bytes.size();) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += size_t(n);
  }
  fchmod(fd, 0644);
  if (ok && fsync(fd) != 0) ok = false;
  if (close(fd) != 0) ok = false;
  if (ok && mtime >= 0) {
    struct timespec ts[2] = {{mtime, 0}, {mtime, 0}};
    utimensat(AT_FDCWD, tmp.c_str(), ts, 0);
  }
  // link() fails instead of replacing a file that appeared meanwhile.
  if (ok && link(tmp.c_str(), target.c_str()) != 0) ok = false;
  unlink(tmp.c_str());
  return ok;
}

int64_t DosTimeToUnix(uint32_t dos) {
  struct tm tm{};
  tm.tm_sec = int(dos & 0x1F) * 2;
  tm.tm_min = int((dos >> 5) & 0x3F);
  tm.tm_hour = int((dos >> 11) & 0x1F);
  tm.tm_mday = int((dos >> 16) & 0x1F);
  tm.tm_mon = int((dos >> 21) & 0x0F) - 1;
  tm.tm_year = int(dos >> 25) + 80;
  tm.tm_isdst = -1;
  if (tm.tm_mday == 0 || tm.tm_mon < 0) return -1;
  time_t t = mktime(&tm);
  return t == (time_t)-1 ? -1 : int64_t(t);
}

uint32_t UnixToDosTime(int64_t t) {
  time_t tt = time_t(t);
  struct tm tm{};
  localtime_r(&tt, &tm);
  if (tm.tm_year < 80) return (1u << 21) | (1u << 16);
  return (uint32_t(tm.tm_year - 80) << 25) | (uint32_t(tm.tm_mon + 1) << 21) |
         (uint32_t(tm.tm_mday) << 16) | (uint32_t(tm.tm_hour) << 11) | (uint32_t(tm.tm_min) << 5) |
         uint32_t(tm.tm_sec / 2);
}

}  // namespace arc
