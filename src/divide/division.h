// One log division run: the log is read once, each recognised block appended
// to its split file, the division record kept, and a report made of every file
// written. The report window owns one DivLog per run; rkvtool and the tests
// run it the same way through their hosts.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/host.h"
#include "settings/settings.h"

namespace rkv {

class DivisionRun;

// The lines of a report (CP932), every one kept. A long log gives the same
// few lines over and over (one per block), so each distinct line is stored
// once and the report holds its number: a million blocks take a few megabytes.
class ReportLines {
 public:
  class const_iterator {
   public:
    const_iterator(const ReportLines& lines, size_t i) : lines_(&lines), i_(i) {}
    const std::string& operator*() const { return (*lines_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator==(const const_iterator& other) const { return i_ == other.i_; }

   private:
    const ReportLines* lines_;
    size_t i_;
  };

  size_t size() const { return order_.size(); }
  bool empty() const { return order_.empty(); }
  const std::string& operator[](size_t i) const { return distinct_[order_[i]]; }
  const std::string& back() const { return distinct_[order_.back()]; }
  const_iterator begin() const { return const_iterator(*this, 0); }
  const_iterator end() const { return const_iterator(*this, size()); }
  // A line seen before is not stored again. Returns the line's number.
  uint32_t push_back(std::string_view line);
  // The line of that number (from push_back()) once more.
  void Repeat(uint32_t number) { order_.push_back(number); }

 private:
  std::deque<std::string> distinct_;  // never moves a line, so the keys below stay valid
  std::unordered_map<std::string_view, uint32_t> number_;
  // Grown piece by piece: a vector doubling to hundreds of kilobytes would
  // touch twice the memory it keeps, and fresh pages are dear.
  std::deque<uint32_t> order_;
};

// The report of a run: its lines and the two counters.
struct DivideMsg {
  int conferenceFiles = 0;
  int mails = 0;
  ReportLines lines;
};

// How far a run has got: bytes of the log read of its size, and the room of
// the conference block being written (CP932; empty outside conference blocks).
struct DivProgress {
  int64_t done = 0;
  int64_t total = 0;
  std::string room;
};
using DivProgressFn = std::function<void(const DivProgress&)>;

// The progress as one line of text (CP932), as the report window and rkvtool show it.
std::string ProgressLine(const DivProgress& progress);

// Result of every step of a run: 0 go on (or normal end), -1 end of the log or
// a failure, -2 stop the whole run.
using DivStatus = int;

class DivLog {
 public:
  // logPath: the log to divide (core path, its case kept).
  DivLog(const RKVcfg& cfg, Host& host, std::string logPath);
  ~DivLog();
  DivLog(const DivLog&) = delete;
  DivLog& operator=(const DivLog&) = delete;

  // The destination directories exist; otherwise the user is told
  // "分割先ディレクトリが不正です" and false comes back (nothing is divided).
  bool CheckDestinations();
  // Runs the division; 0 unless the log or the record file could not be opened,
  // the log is the record itself, reading failed, or a split file or the
  // record could not be opened or written (-1). A run either finishes or
  // leaves every split file and the record as they were before it; the user
  // has been told of a failure, and the log keeps its name.
  DivStatus Divide();
  // Called at the start, after about every megabyte of the log and at the end;
  // a gap question may come in between.
  void SetProgress(DivProgressFn progress);

  const DivideMsg& report() const;
  const std::string& logPath() const;
  // The log's new path when it was renamed after the division.
  const std::optional<std::string>& renamedTo() const;

 private:
  std::unique_ptr<DivisionRun> run_;
};

}  // namespace rkv
