#include "core/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include "core/paths.h"
#include "core/sjis.h"
#include "core/io_thread.h"
#include "divide/line_recogniser.h"
#include "platform/os.h"

namespace rkv {
namespace {
std::atomic<size_t> g_bufferSize{64 * 1024};
}  // namespace

namespace write_buffers {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;  // the address checker watches heap blocks only
#else
constexpr bool kPooled = true;
#endif
constexpr size_t kChunk = 2 * 1024 * 1024;  // one large page
constexpr size_t kSlots = kChunk / kSlot;

struct Chunk {
  char* base;
  std::vector<char*> free;
};
struct Pool {
  std::mutex mutex;
  std::vector<Chunk> chunks;
};
// Never destroyed: streams may outlive other statics.
Pool& ThePool() {
  static Pool* pool = new Pool;
  return *pool;
}

bool Pooled(size_t bytes) { return kPooled && bytes >= kFromPool && bytes <= kSlot; }

}  // namespace

void* Take(size_t bytes) {
  if (Pooled(bytes)) {
    Pool& pool = ThePool();
    std::lock_guard lock(pool.mutex);
    for (Chunk& chunk : pool.chunks) {
      if (!chunk.free.empty()) {
        char* slot = chunk.free.back();
        chunk.free.pop_back();
        return slot;
      }
    }
    if (void* base = os::MapLargePages(kChunk, kChunk)) {
      Chunk chunk{static_cast<char*>(base), {}};
      chunk.free.reserve(kSlots);
      for (size_t i = kSlots; i-- > 1;) chunk.free.push_back(chunk.base + i * kSlot);
      pool.chunks.push_back(std::move(chunk));
      return base;
    }
  }
  return ::operator new(bytes);
}

void Give(void* buffer, size_t bytes) {
  if (Pooled(bytes)) {
    Pool& pool = ThePool();
    std::lock_guard lock(pool.mutex);
    auto* at = static_cast<char*>(buffer);
    for (size_t i = 0; i < pool.chunks.size(); ++i) {
      Chunk& chunk = pool.chunks[i];
      if (at < chunk.base || at >= chunk.base + kChunk) continue;
      chunk.free.push_back(at);
      // One unused chunk is kept for the next streams; a second goes back.
      if (chunk.free.size() == kSlots) {
        for (size_t j = 0; j < pool.chunks.size(); ++j) {
          if (j != i && pool.chunks[j].free.size() == kSlots) {
            os::UnmapPages(chunk.base, kChunk);
            pool.chunks.erase(pool.chunks.begin() + static_cast<std::ptrdiff_t>(i));
            break;
          }
        }
      }
      return;
    }
  }
  ::operator delete(buffer);
}

}  // namespace write_buffers

void SetStreamBufferSizeForTests(size_t bytes) { g_bufferSize = bytes == 0 ? 1 : bytes; }
size_t StreamBufferSize() { return g_bufferSize; }

std::unique_ptr<Stream> Stream::Open(std::string_view path, std::string_view mode) {
  if (mode.empty() || path.empty()) return nullptr;
  bool plus = mode.find('+') != std::string_view::npos;
  bool text = mode.find('b') == std::string_view::npos;
  // "x" (as in C11's "wx"): create only a file that does not exist yet.
  bool exclusive = mode.find('x') != std::string_view::npos;
  int flags;
  switch (mode[0]) {
    case 'r':
      flags = plus ? O_RDWR : O_RDONLY;
      break;
    case 'w':
      flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | (exclusive ? O_EXCL : O_TRUNC);
      break;
    case 'a':
      flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
      break;
    default:
      return nullptr;
  }
  int fd = os::Open(path, flags);
  if (fd < 0) return nullptr;
  return std::unique_ptr<Stream>(new Stream(fd, text, mode[0] == 'a'));
}

Stream::Stream(int fd, bool text, bool append) : fd_(fd), text_(text), append_(append) {}

Stream::~Stream() {
  if (fd_ >= 0) Close();
}

bool Stream::Fill() {
  if (!FlushWrite()) return false;
  base_ += static_cast<int64_t>(rend_);
  rpos_ = rend_ = 0;
  if (!buf_) {
    bufSize_ = g_bufferSize;
    buf_ = std::make_unique_for_overwrite<char[]>(bufSize_);
  }
  ssize_t r = os::Read(fd_, buf_.get(), bufSize_);
  if (r < 0) {
    error_ = true;
    errno_ = errno;
    return false;
  }
  if (r == 0) {
    eof_ = true;
    return false;
  }
  rend_ = static_cast<size_t>(r);
  return true;
}

int Stream::PeekRaw() {
  if (rpos_ == rend_ && !Fill()) return -1;
  return static_cast<unsigned char>(buf_[rpos_]);
}

int Stream::Getc() {
  if (rpos_ == rend_ && !Fill()) return -1;
  int c = static_cast<unsigned char>(buf_[rpos_++]);
  if (c == '\r' && text_ && PeekRaw() == '\n') {
    ++rpos_;
    return '\n';
  }
  return c;
}

bool Stream::Gets(std::string& line, size_t n) {
  line.clear();
  if (n <= 1) return false;
  const size_t maxChars = n - 1;
  while (line.size() < maxChars) {
    if (rpos_ == rend_ && !Fill()) break;
    const char* p = buf_.get() + rpos_;
    size_t take = std::min(rend_ - rpos_, maxChars - line.size());
    // In text mode only a CR right before a line feed is part of the line end;
    // any other CR is an ordinary byte.
    if (auto lf = static_cast<const char*>(std::memchr(p, '\n', take))) {
      size_t upto = static_cast<size_t>(lf - p);
      rpos_ += upto + 1;
      if (text_ && upto > 0 && p[upto - 1] == '\r') {
        line.append(p, upto);
        line.back() = '\n';
      } else {
        line.append(p, upto + 1);
      }
      return true;
    }
    if (text_ && p[take - 1] == '\r') {
      // The line feed that would make it a line end may be in the next buffer.
      line.append(p, take - 1);
      rpos_ += take;
      if (PeekRaw() == '\n') {
        ++rpos_;
        line.push_back('\n');
        return true;
      }
      line.push_back('\r');
      continue;
    }
    line.append(p, take);
    rpos_ += take;
  }
  return !line.empty();
}

size_t Stream::Read(char* buf, size_t n) {
  size_t got = 0;
  while (got < n) {
    if (text_) {
      int c = Getc();
      if (c < 0) break;
      buf[got++] = static_cast<char>(c);
      continue;
    }
    if (rpos_ == rend_ && !Fill()) break;
    size_t take = std::min(rend_ - rpos_, n - got);
    std::memcpy(buf + got, buf_.get() + rpos_, take);
    rpos_ += take;
    got += take;
  }
  return got;
}

size_t Stream::ReadSome(char* buf, size_t n) {
  if (n == 0) return 0;
  if (rpos_ < rend_) {
    size_t take = std::min(rend_ - rpos_, n);
    std::memcpy(buf, buf_.get() + rpos_, take);
    rpos_ += take;
    return take;
  }
  if (!FlushWrite()) return 0;
  base_ += static_cast<int64_t>(rend_);
  rpos_ = rend_ = 0;
  ssize_t r = os::Read(fd_, buf, n);
  if (r < 0) {
    error_ = true;
    errno_ = errno;
    return 0;
  }
  if (r == 0) eof_ = true;
  base_ += r;
  return static_cast<size_t>(r);
}

bool Stream::DropReadBuffer() {
  if (rend_ == 0) return true;
  base_ += static_cast<int64_t>(rpos_);
  rpos_ = rend_ = 0;
  if (os::Seek(fd_, base_, SEEK_SET) < 0) {
    error_ = true;
    errno_ = errno;
    return false;
  }
  return true;
}

bool Stream::FlushWrite(bool whole) {
  if (behind_ && !text_ && !append_) {
    if (!whole && !error_) return HandOver();
    behind_->Wait();
    if (int error = behind_->ErrorOf(this); error != 0 && !error_) {
      error_ = true;
      errno_ = error;
    }
  }
  return FlushNow(whole);
}

// The whole pages of a full buffer go to the write-behind thread; the rest
// moves to a fresh buffer. A failure shows at the next flush that waits.
bool Stream::HandOver() {
  size_t n = wbuf_.size();
  auto end = static_cast<uint64_t>(base_) + n;
  size_t tail = static_cast<size_t>(end % kPage);
  if (tail < n) n -= tail;
  auto full = std::move(wbuf_);
  std::string_view rest(full.data() + n, full.size() - n);
  std::array<char, kPage> kept;
  rest.copy(kept.data(), rest.size());
  full.resize(n);
  wbuf_ = behind_->Hand(fd_, this, std::move(full));
  wbuf_.assign(kept.data(), rest.size());
  base_ += static_cast<int64_t>(n);
  return true;
}

bool Stream::FlushNow(bool whole) {
  if (wbuf_.empty()) return !error_;
  // A full buffer hands over whole pages of the file and keeps the rest:
  // the file system then never fills part of a page twice.
  size_t n = wbuf_.size();
  if (!whole && !append_) {
    auto end = static_cast<uint64_t>(base_) + n;
    size_t tail = static_cast<size_t>(end % kPage);
    if (tail < n) n -= tail;
  }
  bool ok = !error_ && os::WriteAll(fd_, wbuf_.data(), n);
  if (!ok && !error_) {
    error_ = true;
    errno_ = errno;
  }
  if (append_) {
    off_t end = os::Seek(fd_, 0, SEEK_CUR);
    base_ = end >= 0 ? end : base_ + static_cast<int64_t>(n);
  } else {
    base_ += static_cast<int64_t>(n);
  }
  if (n == wbuf_.size()) {
    wbuf_.clear();
  } else {
    wbuf_.erase(0, n);
  }
  return ok;
}

bool Stream::WriteSlow(std::string_view bytes) {
  if (error_) return false;
  if (!DropReadBuffer()) return false;
  eof_ = false;
  if (!text_) {
    wbuf_.append(bytes);
  } else {
    // Runs between line feeds go in whole; each line feed gets its CR.
    while (!bytes.empty()) {
      const void* lf = std::memchr(bytes.data(), '\n', bytes.size());
      size_t run = lf ? static_cast<size_t>(static_cast<const char*>(lf) - bytes.data()) : bytes.size();
      wbuf_.append(bytes.data(), run);
      if (!lf) break;
      wbuf_.append("\r\n", 2);
      bytes.remove_prefix(run + 1);
    }
  }
  if (append_) return FlushWrite();
  if (wbuf_.size() >= kWriteChunk) return FlushWrite(false);
  return true;
}

bool Stream::WriteAt(int64_t offset, std::string_view bytes) {
  if (error_ || !FlushWrite()) return false;
  std::string translated;
  if (text_) {
    for (char c : bytes) {
      if (c == '\n') translated.push_back('\r');
      translated.push_back(c);
    }
    bytes = translated;
  }
  // What was read ahead may hold the old bytes: read it again when needed.
  if (!DropReadBuffer()) return false;
  if (!os::WriteAllAt(fd_, bytes.data(), bytes.size(), offset)) {
    error_ = true;
    errno_ = errno;
    return false;
  }
  return true;
}

bool Stream::Putc(char c) { return Write(std::string_view(&c, 1)); }

int64_t Stream::Tell() const {
  if (!wbuf_.empty()) return base_ + static_cast<int64_t>(wbuf_.size());
  return base_ + static_cast<int64_t>(rpos_);
}

bool Stream::Seek(int64_t offset, int whence) {
  int64_t target;
  if (whence == SEEK_CUR) {
    target = Tell() + offset;
  } else if (whence == SEEK_END) {
    if (!FlushWrite()) return false;
    off_t end = os::Seek(fd_, 0, SEEK_END);
    if (end < 0) return false;
    if (offset == 0) {  // already there
      eof_ = false;
      rpos_ = rend_ = 0;
      base_ = end;
      return true;
    }
    target = end + offset;
  } else {
    target = offset;
  }
  if (target < 0) return false;
  if (!FlushWrite()) return false;
  eof_ = false;
  if (rend_ > 0 && target >= base_ && target <= base_ + static_cast<int64_t>(rend_)) {
    rpos_ = static_cast<size_t>(target - base_);
    return true;
  }
  rpos_ = rend_ = 0;
  if (os::Seek(fd_, target, SEEK_SET) < 0) return false;
  base_ = target;
  return true;
}

bool Stream::Flush() { return FlushWrite(); }

int64_t Stream::Size() {
  FlushWrite();
  return os::StatFd(fd_).size;
}

FileId Stream::Id() const {
  os::FileStat st = os::StatFd(fd_);
  return FileId{st.device, st.inode};
}

bool Stream::Close() {
  if (fd_ < 0) return !error_;
  bool ok = FlushWrite();
  if (os::Close(fd_) != 0 && ok) {
    error_ = true;
    errno_ = errno;
    ok = false;
  }
  fd_ = -1;
  return ok && !error_;
}

std::optional<FileId> FileIdOf(std::string_view path) {
  os::FileStat st = os::Stat(path);
  if (!st.exists) return std::nullopt;
  return FileId{st.device, st.inode};
}

bool FileExists(std::string_view path) {
  std::string name = FileNamePart(path);
  if (name.empty() || name[0] == '.') return false;
  return os::Stat(path).regular;
}

bool DirExists(std::string_view path) {
  if (path.empty()) return true;
  // Opening it tells; a folder of thousands of split files is not read for it.
  return os::CanListDir(path);
}

bool PathExists(std::string_view path) { return os::Stat(path).exists; }

std::string UniqueName(std::string_view source, int mode) {
  if (mode == 0) {
    // The extension starts at the first "." of the file name, not of the directories.
    size_t nameStart = source.rfind('/');
    nameStart = nameStart == std::string_view::npos ? 0 : nameStart + 1;
    size_t dot = source.find('.', nameStart);
    std::string stem(dot == std::string_view::npos ? source : source.substr(0, dot));
    std::string candidate;
    for (int i = 0; i <= 999; ++i) {
      char ext[8];
      std::snprintf(ext, sizeof ext, ".%03d", i);
      candidate = stem + ext;
      if (!FileExists(candidate)) break;
    }
    return candidate;
  }
  std::string candidate(source);
  if (candidate.empty()) return candidate;
  char& last = candidate.back();
  last = '0';
  while (FileExists(candidate) && last != 'Z') last = last == '9' ? 'A' : static_cast<char>(last + 1);
  return candidate;
}

std::unique_ptr<Stream> OpenTextRead(std::string_view path) { return Stream::Open(path, "rt"); }

// The second attempt only creates: a file that exists but would not open for
// update (a passing failure, a lack of descriptors) is never emptied.
std::unique_ptr<Stream> OpenTextUpdate(std::string_view path) {
  if (auto s = Stream::Open(path, "r+t")) return s;
  return Stream::Open(path, "w+tx");
}

std::unique_ptr<Stream> OpenBinaryUpdate(std::string_view path) {
  if (auto s = Stream::Open(path, "r+b")) return s;
  return Stream::Open(path, "w+bx");
}

int ReadPromptTitle(std::string_view path, std::string& destination, size_t n) {
  destination.assign(n, ' ');
  int fd = os::Open(path, O_RDONLY);
  if (fd < 0) return -1;
  char head[80];
  ssize_t got = os::Read(fd, head, sizeof head);
  os::Close(fd);
  if (got <= 0) return -1;
  std::string_view bytes(head, static_cast<size_t>(got));
  if (got > 60 && IsConferencePrompt(bytes)) {
    size_t colon = bytes.find(':');
    std::string_view text = bytes.substr(colon + 1);
    text = text.substr(0, std::min(text.find('\r'), n));
    destination.replace(0, text.size(), text);
    if (!text.empty() && IsLeadByteAt(destination, text.size() - 1)) destination[text.size() - 1] = ' ';
  }
  return 0;
}

std::optional<std::string> ReadWholeFile(std::string_view path) {
  auto s = Stream::Open(path, "rb");
  if (!s) return std::nullopt;
  std::string out;
  char chunk[65536];
  size_t got;
  while ((got = s->Read(chunk, sizeof chunk)) > 0) out.append(chunk, got);
  if (s->Failed()) return std::nullopt;
  return out;
}

bool WriteFileAtomically(std::string_view path, std::string_view bytes, std::string* error) {
  std::string temp = std::string(path) + ".tmp" + std::to_string(::getpid());
  auto fail = [&](const char* what) {
    if (error) *error = std::string(what) + " " + std::string(path) + ": " + os::LastErrorText();
    os::Remove(temp);
    return false;
  };
  int fd = os::Open(temp, O_WRONLY | O_CREAT | O_TRUNC);
  if (fd < 0) return fail("cannot create");
  bool ok = os::WriteAll(fd, bytes.data(), bytes.size()) && os::SyncFd(fd);
  int saved = errno;
  if (os::Close(fd) != 0) ok = false;
  if (!ok) {
    errno = saved;
    return fail("cannot write");
  }
  if (!os::RenameReplace(temp, path)) return fail("cannot replace");
  return true;
}

}  // namespace rkv
