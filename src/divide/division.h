// One log division run: the log is read once, each recognised block appended
// to its split file, the division record kept, and a report made of every file
// written. The report window owns one DivLog per run; rkvtool and the tests
// run it the same way through their hosts.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/host.h"
#include "settings/settings.h"

namespace rkv {

class DivisionRun;

// The report of a run: its lines (CP932), every one kept, and the two counters.
struct DivideMsg {
  int conferenceFiles = 0;
  int mails = 0;
  std::vector<std::string> lines;
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
