// Files as the program has always seen them: streams in text mode (CR LF reads
// as one line feed, a line feed writes as CR LF) or binary mode, existence tests,
// unique names, and the conference title read by the filer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace rkv {

// Which file a path or stream names, however it is spelt (device and inode).
struct FileId {
  uint64_t device = 0;
  uint64_t inode = 0;
  bool operator==(const FileId&) const = default;
};

// Write buffers of streams that take much come from a shared pool of large
// pages: a division keeps a full buffer for each of up to two hundred files,
// and touching that much fresh memory a page at a time costs more than
// writing it. Other sizes come from the heap.
namespace write_buffers {
constexpr size_t kSlot = 68 * 1024;   // the largest buffer the pool gives
constexpr size_t kFromPool = 32 * 1024;  // the smallest
void* Take(size_t bytes);
void Give(void* buffer, size_t bytes);

template <class T>
struct Allocator {
  using value_type = T;
  Allocator() = default;
  template <class U>
  Allocator(const Allocator<U>&) {}
  T* allocate(size_t n) { return static_cast<T*>(Take(n * sizeof(T))); }
  void deallocate(T* p, size_t n) { Give(p, n * sizeof(T)); }
  template <class U>
  bool operator==(const Allocator<U>&) const {
    return true;
  }
};
}  // namespace write_buffers

class IoThread;

// A buffered file stream with the C runtime's text and binary modes. Positions
// are real byte offsets in the file in both modes.
class Stream {
 public:
  // mode: "r", "r+", "w", "w+", "a", "a+" followed by "t" (text) or "b" (binary);
  // an "x" after "w" creates only a file that does not exist yet.
  static std::unique_ptr<Stream> Open(std::string_view path, std::string_view mode);
  ~Stream();
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;

  // Reads one character (CR LF counts as one line feed in text mode); -1 at the end.
  int Getc();
  // Reads like fgets with a buffer of size n: at most n - 1 characters, up to and
  // including a line feed. False when nothing could be read.
  bool Gets(std::string& line, size_t n);
  // Reads up to n bytes as they are in the file (binary) or translated (text).
  size_t Read(char* buf, size_t n);
  // At most n bytes as they are in the file, with one read of the file at most
  // (none while read-ahead bytes remain); 0 at the end or on an error. For
  // readers that keep their own buffer.
  size_t ReadSome(char* buf, size_t n);

  // Writes the bytes (translating line feeds in text mode). False once any
  // write of this stream has failed.
  bool Write(std::string_view bytes) {
    // The common case, binary bytes gathered for a later write, stays inline.
    if (!text_ && !append_ && !error_ && rend_ == 0 && wbuf_.size() + bytes.size() < kWriteChunk) {
      wbuf_.append(bytes);
      eof_ = false;
      return true;
    }
    return WriteSlow(bytes);
  }
  bool Putc(char c);
  // Writes the bytes (translated as by Write) at a byte offset in one go,
  // leaving the stream's position where it was.
  bool WriteAt(int64_t offset, std::string_view bytes);

  int64_t Tell() const;
  bool Seek(int64_t offset, int whence);  // SEEK_SET, SEEK_CUR, SEEK_END
  bool Flush();
  // Flushes and closes; false when a write failed at any time or the close did.
  bool Close();

  // A full buffer of a binary stream is handed to behind, which writes it
  // while the caller goes on; every other flush (and Close()) waits for what
  // was handed over first, and a failed write shows there. behind must
  // outlive the stream's writes.
  void WriteBehindBy(IoThread* behind) { behind_ = behind; }
  // Room for a whole chunk of writes from the start: a stream that is to
  // take much never grows its buffer step by step.
  void ReserveWrites() { wbuf_.reserve(kWriteChunk + 1024); }
  // Bytes written but not yet handed to the file. Write() hands them over as
  // soon as they reach kWriteChunk.
  size_t Buffered() const { return wbuf_.size(); }
  static constexpr size_t kWriteChunk = 64 * 1024;

  bool AtEnd() const { return eof_; }
  bool Failed() const { return error_; }
  int LastErrno() const { return errno_; }
  int64_t Size();
  FileId Id() const;

 private:
  Stream(int fd, bool text, bool append);
  bool WriteSlow(std::string_view bytes);
  bool Fill();
  int PeekRaw();
  // Hands the buffered bytes to the file; all of them, or (whole false) up
  // to the last page boundary of the file among them.
  bool FlushWrite(bool whole = true);
  bool FlushNow(bool whole);
  bool HandOver();
  static constexpr size_t kPage = 4096;
  bool DropReadBuffer();

  int fd_;
  bool text_;
  bool append_;
  bool eof_ = false;
  bool error_ = false;
  int errno_ = 0;
  int64_t base_ = 0;  // file offset of buf_[0] (read) or of the pending write data
  // The read buffer, made on the first read: streams that only write never pay for it.
  std::unique_ptr<char[]> buf_;
  size_t bufSize_ = 0;
  size_t rpos_ = 0;
  size_t rend_ = 0;
  std::basic_string<char, std::char_traits<char>, write_buffers::Allocator<char>> wbuf_;  // pending writes
  IoThread* behind_ = nullptr;
};

// Buffer size of a Stream's reads; tests shrink it to cross every boundary.
void SetStreamBufferSizeForTests(size_t bytes);
size_t StreamBufferSize();

// The identity of an existing file; nothing when there is none of that name.
std::optional<FileId> FileIdOf(std::string_view path);

// A regular file that is not hidden (names beginning with "." are hidden).
bool FileExists(std::string_view path);
// True for an empty path; otherwise true when the directory can be listed.
bool DirExists(std::string_view path);
// Any directory entry at all of that name (for checks before creating a file).
bool PathExists(std::string_view path);

// mode 0: the extension (from the first "." of the name) replaced by the first
// free "%03d" from 000 to 999 (999 when all exist); mode 1: the last byte stepped
// through 0-9, A-Z until the name is free (Z when all exist).
std::string UniqueName(std::string_view source, int mode);

std::unique_ptr<Stream> OpenTextRead(std::string_view path);
// Opens an existing file for update, or creates a missing one; never empties a file.
std::unique_ptr<Stream> OpenTextUpdate(std::string_view path);
std::unique_ptr<Stream> OpenBinaryUpdate(std::string_view path);

// The conference title of a split file: n blanks, with the text after the
// first ":" of a leading conference prompt (up to the first CR) copied in.
// -1 when the file cannot be opened or is empty.
int ReadPromptTitle(std::string_view path, std::string& destination, size_t n);

// Reads a whole file as bytes; nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(std::string_view path);

// Writes a whole file safely: the bytes go to a temporary file beside it, which
// is flushed and then renamed over the target, so the target is either the old
// file or the complete new one. On failure *error holds the reason.
bool WriteFileAtomically(std::string_view path, std::string_view bytes, std::string* error);

}  // namespace rkv
