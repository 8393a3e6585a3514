// A thread that reads ahead and writes behind for a caller that reads,
// parses and writes large files: on two cores the copying to and from the
// files no longer holds up the work in between. Writes that streams hand
// over go to their files one after another, in the order they were handed
// over; a read asked for goes before them, one at a time.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/files.h"

namespace rkv {

class IoThread {
 public:
  using Buffer = std::basic_string<char, std::char_traits<char>, write_buffers::Allocator<char>>;

  // Nothing when no thread can be started: the callers then do their own reads and writes.
  static std::unique_ptr<IoThread> Start();
  // Waits for everything asked of it.
  ~IoThread();
  IoThread(const IoThread&) = delete;
  IoThread& operator=(const IoThread&) = delete;

  // Writing. Queues the bytes for fd's file position; owner tells whose they
  // are. Waits while many are queued, so that the memory they take stays
  // bounded. Gives back an empty buffer with room for a stream's chunk of writes.
  Buffer Hand(int fd, const void* owner, Buffer&& bytes);
  // Until every write handed over is done.
  void Wait();
  // A write failed. The owner's writes after it are not made: its file would
  // get them in the wrong place.
  bool Failed() const { return failed_.load(std::memory_order_acquire); }
  // The errno of the failed write of that owner, or 0.
  int ErrorOf(const void* owner) const;
  // The owner of the first write that failed.
  const void* FailedOwner() const;

  // Reading: n bytes at most from the stream into, as Stream::ReadSome()
  // reads them. The stream is the thread's until ReadDone() gives the count.
  void ReadAhead(Stream& stream, char* into, size_t n);
  size_t ReadDone();

 private:
  IoThread() = default;
  void Run();
  int ErrorLocked(const void* owner) const;

  static constexpr size_t kMostQueued = 8;
  static constexpr size_t kWakeAt = 2;
  struct Job {
    int fd;
    const void* owner;
    Buffer bytes;
  };
  mutable std::mutex mutex_;
  std::condition_variable asked_;  // for the thread: a job, a read, or the end
  std::condition_variable written_;  // for the callers: a write finished
  std::condition_variable read_;     // and the read
  std::deque<Job> jobs_;
  std::vector<Buffer> free_;
  bool writing_ = false;
  bool stop_ = false;
  std::vector<std::pair<const void*, int>> failures_;  // owner, errno: the first of each
  std::atomic<bool> failed_{false};
  // The read asked for, and its count once done.
  Stream* readFrom_ = nullptr;
  char* readInto_ = nullptr;
  size_t readSize_ = 0;
  size_t readGot_ = 0;
  bool reading_ = false;
  std::thread thread_;
};

}  // namespace rkv
