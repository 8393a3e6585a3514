// One log division run: the log is read once, each recognised block appended
// to its split file, the division record kept, and a report made of every file
// written. The report window owns one DivLog per run; rkvtool and the tests
// run it the same way through their hosts.
#pragma once

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
  // reading failed, or a split file or the record could not be written (-1; the
  // user has been told of a failed write, and the log keeps its name).
  DivStatus Divide();

  const DivideMsg& report() const;
  const std::string& logPath() const;
  // The log's new path when it was renamed after the division.
  const std::optional<std::string>& renamedTo() const;

 private:
  std::unique_ptr<DivisionRun> run_;
};

}  // namespace rkv
