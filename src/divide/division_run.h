// The state and steps of one division run: the log read line by line (the
// reader), each line's kind told (the recogniser), each recognised block handed
// to the writer of its kind, whose lines go to the sink, which owns the split
// files and the division record. Everything the user sees goes through the host.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/files.h"
#include "core/host.h"
#include "divide/division.h"
#include "divide/division_record.h"
#include "divide/division_sink.h"
#include "divide/line_reader.h"
#include "divide/line_recogniser.h"
#include "divide/output_names.h"
#include "settings/settings.h"

namespace rkv {

class DivisionRun {
 public:
  DivisionRun(const RKVcfg& cfg, Host& host, std::string logPath);

  bool CheckDestinations();
  DivStatus Divide();
  void SetProgress(DivProgressFn progress) { progress_ = std::move(progress); }

  const DivideMsg& report() const { return report_; }
  const std::string& logPath() const { return logPath_; }
  const std::optional<std::string>& renamedTo() const { return renamedTo_; }

 private:
  // Reading and writing the current line.
  // Every line of the log passes these two: their common paths are inline.
  DivStatus ReadLine() {
    bool read = log_->Next();
    line_ = log_->line();
    if (!read) return -1;
    shown_.done += static_cast<int64_t>(line_.size());
    if (shown_.done >= nextProgress_) ShowProgress();
    lineIsHeader_ = kind_ == OutputKind::Conference && IsMessageHeader(line_);
    if (lineIsHeader_) KeepHeader();
    return 0;
  }
  // Writes the current line; runs of plain lines are written together.
  DivStatus WriteLine() {
    std::string_view verbatim = log_->Verbatim();
    if (!verbatim.empty() && sink_->Extend(verbatim)) return 0;
    return WriteLineApart(verbatim);
  }
  void KeepHeader();
  // Takes the lines from the reading position on that stops turns away and
  // that are written as they are, in one step, as if each were read and
  // written.
  DivStatus WriteBodyLines(const LineStops& stops);
  DivStatus WriteLineApart(std::string_view verbatim);
  DivStatus WriteText(std::string_view text);
  // Writes out the lines gathered so far: at the end of every block.
  DivStatus FlushLines();
  bool NextLineIs(bool (*test)(std::string_view));

  // The writers, one per kind of block.
  DivStatus RunWriter();
  DivStatus WriteConference();
  DivStatus WriteMail();
  DivStatus WriteHp();
  DivStatus WritePatio();
  DivStatus WriteUntilPrompt();
  DivStatus CopyUntilServicePrompt();

  // Conference blocks: the message numbers against the record, and the question.
  int ContinuityCheck();
  Answer AskAboutGap();

  // Output files.
  int OpenOutput();
  // The path of the current block's output; valid until the next call.
  const std::string& OutputPath();
  const std::string& DatedPath(const Date& today);
  const std::string& ConferencePath();
  void CloseOutput(bool updateRecord);
  DivStatus StopOnFailure(const DivisionSink::Failure& failure);
  bool RefuseRecordAsLog(FileId logId, const DivisionRecord& record);

  // known: the line's number when it was reported before.
  void Report(std::string_view format, std::string_view value, uint32_t* known = nullptr);
  // Reports the current output by its file name; format: a lasting literal.
  void ReportOutput(std::string_view format);
  void ShowProgress();
  void RenameLog();

  const RKVcfg& cfg_;
  Host& host_;
  std::string logPath_;
  // Reads ahead and writes behind for the reader and the sink; it outlives both.
  std::unique_ptr<IoThread> io_;
  std::unique_ptr<LineReader> log_;
  std::unique_ptr<DivisionSink> sink_;
  FindHeader recogniser_;
  LineStops conferenceStops_;  // lines a conference block's tests may stop at
  LineStops serviceStops_;     // lines that may be service prompts
  std::string_view line_;  // the current line, in the reader's buffer
  bool lineIsHeader_ = false;  // it is a message header of a conference block
  std::string blockPrompt_;
  std::string reportLine_;  // kept for their capacity
  std::string scratchPath_;
  std::string lastHeader_;
  OutputKind kind_ = OutputKind::None;
  DivideMsg report_;
  std::optional<std::string> renamedTo_;
  // Names already looked at in this run: each is asked of the file system once.
  std::pair<std::string, std::string> mailSeries_;  // a mail name -> the last free one of its series
  std::unordered_set<std::string> roomFolders_;
  // Output paths already made in this run.
  struct DatedName {
    Date day;
    std::string path;
  };
  std::array<DatedName, 8> datedPaths_;  // by kind
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  // What a conference prompt leads to, found out once: the block's path and
  // room, and (once met) its output, record entry and report line.
  struct ConferenceTarget {
    static constexpr uint32_t kNoLine = UINT32_MAX;
    std::string path;
    std::string room;
    DivisionSink::Output* output = nullptr;
    DivisionRecord::Hint entry;
    uint32_t reportLine = kNoLine;
  };
  std::unordered_map<std::string, ConferenceTarget, TextHash, std::equal_to<>> conferencePaths_;  // by prompt
  ConferenceTarget* target_ = nullptr;  // the current conference block's, when it is kept
  std::unordered_map<std::string, DatedName, TextHash, std::equal_to<>> patioPaths_;           // by prompt
  // The report line of each output, for the format it was last reported
  // with: most blocks repeat a line already made.
  struct Reported {
    const char* format = nullptr;
    uint32_t line = ConferenceTarget::kNoLine;
  };
  std::unordered_map<const DivisionSink::Output*, Reported> reported_;
  DivProgressFn progress_;
  DivProgress shown_;
  int64_t nextProgress_ = 0;
  // The run stopped on a failure: everything it wrote is rolled back.
  bool failed_ = false;
};

}  // namespace rkv
