#include "core/write_behind.h"

#include <cerrno>
#include <system_error>

#include "platform/os.h"

namespace rkv {

std::unique_ptr<WriteBehind> WriteBehind::Start() {
  std::unique_ptr<WriteBehind> behind(new WriteBehind);
  try {
    behind->thread_ = std::thread([w = behind.get()] { w->Run(); });
  } catch (const std::system_error&) {
    return nullptr;
  }
  return behind;
}

WriteBehind::~WriteBehind() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  queued_.notify_one();
  thread_.join();
}

void WriteBehind::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
    if (jobs_.empty()) return;
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    busy_ = true;
    bool write = ErrorLocked(job.owner) == 0;
    lock.unlock();
    int error = 0;
    if (write && !os::WriteAll(job.fd, job.bytes.data(), job.bytes.size())) error = errno != 0 ? errno : EIO;
    job.bytes.clear();
    lock.lock();
    if (error != 0) {
      failures_.emplace_back(job.owner, error);
      failed_.store(true, std::memory_order_release);
    }
    free_.push_back(std::move(job.bytes));
    busy_ = false;
    // Woken outside the lock, a waiting caller does not wait on it again.
    lock.unlock();
    done_.notify_all();
    lock.lock();
  }
}

WriteBehind::Buffer WriteBehind::Hand(int fd, const void* owner, Buffer&& bytes) {
  Buffer next;
  bool wake = false;
  {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return jobs_.size() < kMostQueued; });
    jobs_.push_back(Job{fd, owner, std::move(bytes)});
    // The thread is woken for a few jobs at a time: each waking costs a system call.
    wake = jobs_.size() >= kWakeAt;
    if (!free_.empty()) {
      next = std::move(free_.back());
      free_.pop_back();
    }
  }
  if (wake) queued_.notify_one();
  if (next.capacity() < Stream::kWriteChunk) next.reserve(Stream::kWriteChunk + 1024);
  return next;
}

void WriteBehind::Wait() {
  queued_.notify_one();
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

int WriteBehind::ErrorLocked(const void* owner) const {
  for (const auto& [failed, error] : failures_) {
    if (failed == owner) return error;
  }
  return 0;
}

int WriteBehind::ErrorOf(const void* owner) const {
  std::lock_guard lock(mutex_);
  return ErrorLocked(owner);
}

const void* WriteBehind::FailedOwner() const {
  std::lock_guard lock(mutex_);
  return failures_.empty() ? nullptr : failures_.front().first;
}

}  // namespace rkv
