#include "core/io_thread.h"

#include <cerrno>
#include <system_error>

#include "platform/os.h"

namespace rkv {

std::unique_ptr<IoThread> IoThread::Start() {
  std::unique_ptr<IoThread> io(new IoThread);
  try {
    io->thread_ = std::thread([t = io.get()] { t->Run(); });
  } catch (const std::system_error&) {
    return nullptr;
  }
  return io;
}

IoThread::~IoThread() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  asked_.notify_one();
  thread_.join();
}

void IoThread::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    asked_.wait(lock, [this] { return stop_ || reading_ || !jobs_.empty(); });
    if (reading_) {
      // The caller waits for the bytes it reads next: they go first.
      lock.unlock();
      size_t got = readFrom_->ReadSome(readInto_, readSize_);
      lock.lock();
      readGot_ = got;
      reading_ = false;
      lock.unlock();
      read_.notify_all();
      lock.lock();
      continue;
    } else if (!jobs_.empty()) {
      Job job = std::move(jobs_.front());
      jobs_.pop_front();
      writing_ = true;
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
      writing_ = false;
    } else {
      return;  // stopped, and nothing is left
    }
    // Woken outside the lock, a waiting caller does not wait on it again.
    lock.unlock();
    written_.notify_all();
    lock.lock();
  }
}

IoThread::Buffer IoThread::Hand(int fd, const void* owner, Buffer&& bytes) {
  Buffer next;
  bool wake = false;
  {
    std::unique_lock lock(mutex_);
    written_.wait(lock, [this] { return jobs_.size() < kMostQueued; });
    jobs_.push_back(Job{fd, owner, std::move(bytes)});
    // The thread is woken for a few jobs at a time: each waking costs a system call.
    wake = jobs_.size() >= kWakeAt;
    if (!free_.empty()) {
      next = std::move(free_.back());
      free_.pop_back();
    }
  }
  if (wake) asked_.notify_one();
  if (next.capacity() < Stream::kWriteChunk) next.reserve(Stream::kWriteChunk + 1024);
  return next;
}

void IoThread::Wait() {
  asked_.notify_one();
  std::unique_lock lock(mutex_);
  written_.wait(lock, [this] { return jobs_.empty() && !writing_; });
}

void IoThread::ReadAhead(Stream& stream, char* into, size_t n) {
  {
    std::lock_guard lock(mutex_);
    readFrom_ = &stream;
    readInto_ = into;
    readSize_ = n;
    reading_ = true;
  }
  asked_.notify_one();
}

size_t IoThread::ReadDone() {
  std::unique_lock lock(mutex_);
  read_.wait(lock, [this] { return !reading_; });
  return readGot_;
}

int IoThread::ErrorLocked(const void* owner) const {
  for (const auto& [failed, error] : failures_) {
    if (failed == owner) return error;
  }
  return 0;
}

int IoThread::ErrorOf(const void* owner) const {
  std::lock_guard lock(mutex_);
  return ErrorLocked(owner);
}

const void* IoThread::FailedOwner() const {
  std::lock_guard lock(mutex_);
  return failures_.empty() ? nullptr : failures_.front().first;
}

}  // namespace rkv
