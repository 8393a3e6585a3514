// Writes that streams hand over go to their files on a thread of their own,
// one after another in the order they were handed over, while the caller
// reads and parses on: on two cores the copying into the files no longer
// holds up the work before it.
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

class WriteBehind {
 public:
  using Buffer = std::basic_string<char, std::char_traits<char>, write_buffers::Allocator<char>>;

  // Nothing when no thread can be started: the streams then write themselves.
  static std::unique_ptr<WriteBehind> Start();
  // Waits for every write handed over.
  ~WriteBehind();
  WriteBehind(const WriteBehind&) = delete;
  WriteBehind& operator=(const WriteBehind&) = delete;

  // Queues the bytes for fd's file position; owner tells whose they are. Waits
  // while many are queued, so that the memory they take stays bounded.
  // Gives back an empty buffer with room for a stream's chunk of writes.
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

 private:
  WriteBehind() = default;
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
  std::condition_variable queued_;  // for the thread: a job, or the end
  std::condition_variable done_;    // for the callers: a job finished
  std::deque<Job> jobs_;
  std::vector<Buffer> free_;
  bool busy_ = false;
  bool stop_ = false;
  std::vector<std::pair<const void*, int>> failures_;  // owner, errno: the first of each
  std::atomic<bool> failed_{false};
  std::thread thread_;
};

}  // namespace rkv
