// The run itself: opening, the read loop, the closing phase and renaming the
// log, with the reading, writing and output-file steps every writer shares.
#include "divide/division_run.h"

#include <cstring>

#include "core/cp932.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "platform/os.h"

namespace rkv {
namespace {

constexpr int64_t kProgressStep = 1 << 20;

}  // namespace

DivisionRun::DivisionRun(const RKVcfg& cfg, Host& host, std::string logPath)
    : cfg_(cfg), host_(host), logPath_(std::move(logPath)), recogniser_(cfg.Prompt) {
  // Nothing here reads the recogniser's copies of what it matched: none are made.
  recogniser_.status = 1;
  // What the first-byte checks of the conference prompt, service prompt and
  // message header tests let through.
  for (std::string_view prefix : {"C", "M", "L", "H", "\x81\x84"}) {
    conferenceStops_.Begin(prefix);
    serviceStops_.Begin(prefix);
  }
  conferenceStops_.Begin("- ");
  // Message headers do not stop a run of text: the last one is kept.
  conferenceStops_.NoteBegin('N');
  conferenceStops_.NoteAt(3, '/');
  conferenceStops_.NoteAt(5, '/');
  conferenceStops_.NoteWhen([](std::string_view text) { return IsMessageHeader(text); });
}

bool DivisionRun::CheckDestinations() {
  // Without a base folder the room folders of name rule 1 would land wherever
  // the program happens to run.
  bool baseMissing = cfg_.NameRule == 1 && cfg_.BaseDir.empty();
  if (!baseMissing && DirExists(ConferenceFolder(cfg_)) && DirExists(cfg_.CurMailDir)) return true;
  host_.Message(SJ("分割先ディレクトリが不正です"), SJ("分割処理エラー"), Buttons::Ok, BoxIcon::Error);
  return false;
}

DivStatus DivisionRun::Divide() {
  // Without a thread for it, the reader and the sink do their own reads and writes.
  if (!io_) io_ = IoThread::Start();
  log_ = LineReader::Open(logPath_, io_.get());
  std::unique_ptr<DivisionRecord> record;
  if (log_) record = DivisionRecord::Open(RecordPath(cfg_), true);
  if (!log_ || !record) {
    log_.reset();
    return -1;
  }
  FileId logId = log_->Id();
  if (RefuseRecordAsLog(logId, *record)) return -1;
  conferencePaths_.clear();  // its output handles belong to an earlier sink
  reported_.clear();
  sink_ = std::make_unique<DivisionSink>(logId, std::move(record), io_.get());
  // Lines gathered for writing are views of the reader's buffer.
  log_->OnMove([this] {
    if (sink_) sink_->Flush();
  });
  shown_.total = os::Stat(logPath_).size;
  ShowProgress();

  Report(SJ("ログ %s を分割します"), FileNamePart(logPath_));
  DivStatus status = 0;
  while (ReadLine() == 0) {
    // A line the reader found plain holds no NUL.
    std::string_view cut = log_->Verbatim().empty() ? UpToNul(line_) : line_;
    OutputKind kind = OutputKindOf(ClassifyBlock(recogniser_, line_, cut));
    if (kind == OutputKind::None) continue;  // the kind stays as it was
    kind_ = kind;
    status = RunWriter();
    if (status == -2) break;
  }
  if (log_->Failed() && !failed_) {
    // The rest of the log was never seen: what was divided of it is undone.
    failed_ = true;
    int error = log_->LastErrno() != 0 ? log_->LastErrno() : EIO;
    host_.Message(logPath_ + SJ(" の読み込みに失敗しました（") + cp932::FromUtf8(std::strerror(error)) +
                      SJ("）。分割を中止します！"),
                  SJ("分割処理エラー"), Buttons::Ok, BoxIcon::Error);
  }
  // The split files are flushed, then the record written; a stop the user
  // asked for keeps what was divided up to there.
  if (!failed_) {
    if (auto failure = sink_->Commit()) StopOnFailure(*failure);
  } else {
    sink_->Rollback();
  }
  sink_.reset();
  // A run stopped early shows where it stopped.
  shown_.done = status == -2 ? log_->Tell() : shown_.total;
  shown_.room.clear();
  if (progress_) progress_(shown_);

  if (failed_) {
    report_.conferenceFiles = report_.mails = 0;  // nothing of the log is divided
    host_.Message(SJ("ログ分割を中止し、分割前の状態に戻しました！"), SJ("ログ・ファイル分割処理"), Buttons::Ok,
                  BoxIcon::Information);
  } else {
    host_.Message(report_.lines.size() < 2 ? SJ("分割対象が含まれていませんでした") : SJ("ログ分割終了"),
                  SJ("ログ・ファイル分割処理"), Buttons::Ok, BoxIcon::Information);
  }
  report_.lines.push_back(SJ("会議室ファイル ") + std::to_string(report_.conferenceFiles) + SJ(" 個、電子メール ") +
                          std::to_string(report_.mails) + SJ(" 通分を分割しました"));
  log_->OnMove(nullptr);
  log_.reset();
  io_.reset();
  if ((status == 0 || report_.conferenceFiles != 0) && cfg_.Rename != 0 && !failed_) RenameLog();
  return failed_ ? -1 : 0;
}

// The record is a division's output too: divided as a log, it would be
// appended to while it is read.
bool DivisionRun::RefuseRecordAsLog(FileId logId, const DivisionRecord& record) {
  if (logId != record.id()) return false;
  log_.reset();
  host_.Message(logPath_ + SJ(" は分割記録ファイルです。ログとして分割できません！"), SJ("分割処理エラー"), Buttons::Ok,
                BoxIcon::Error);
  return true;
}

DivStatus DivisionRun::RunWriter() {
  switch (kind_) {
    case OutputKind::Conference: {
      DivStatus status = WriteConference();
      shown_.room.clear();
      return status;
    }
    case OutputKind::Mail:
      return WriteMail();
    case OutputKind::Hp:
      return WriteHp();
    case OutputKind::Patio:
      return WritePatio();
    case OutputKind::SentMail:
    case OutputKind::MailList:
    case OutputKind::Etc:
      return WriteUntilPrompt();
    case OutputKind::None:
      break;
  }
  return 0;
}

void DivisionRun::KeepHeader() { lastHeader_ = line_; }

void DivisionRun::ShowProgress() {
  shown_.done = log_->Tell();
  nextProgress_ = shown_.done + kProgressStep;
  if (progress_) progress_(shown_);
}

DivStatus DivisionRun::WriteText(std::string_view text) {
  if (auto failure = sink_->WriteText(text)) return StopOnFailure(*failure);
  return 0;
}

DivStatus DivisionRun::WriteLineApart(std::string_view verbatim) {
  auto failure = verbatim.empty() ? sink_->WriteText(line_) : sink_->WriteVerbatim(verbatim);
  if (failure) return StopOnFailure(*failure);
  return 0;
}

DivStatus DivisionRun::WriteBodyLines(const LineStops& stops) {
  // The line that reaches the next progress step is read as usual, to show it.
  int64_t budget = nextProgress_ - shown_.done;
  int64_t before = budget;
  LineReader::Skipped skipped = log_->SkipVerbatim(stops, budget);
  if (skipped.lines.empty()) return 0;
  shown_.done += before - budget;
  if (!skipped.noted.empty()) {
    // The header as reading it would have kept it: its text and a line feed.
    lastHeader_.assign(skipped.noted.substr(0, skipped.noted.size() - 2));
    lastHeader_ += '\n';
  }
  if (auto failure = sink_->WriteVerbatim(skipped.lines)) return StopOnFailure(*failure);
  return 0;
}

DivStatus DivisionRun::FlushLines() {
  if (auto failure = sink_->Flush()) return StopOnFailure(*failure);
  return 0;
}

// The next line, read ahead for the test; the current line stays.
bool DivisionRun::NextLineIs(bool (*test)(std::string_view)) {
  std::string_view next;
  bool ahead = log_->Peek(next);
  line_ = log_->line();  // the same line, wherever reading ahead left it
  return ahead && test(next);
}

namespace {

// The paths kept by prompt line: a log of ever new prompts must not fill the memory.
constexpr size_t kKeptPaths = 4096;

bool SameDay(const Date& a, const Date& b) { return a.year == b.year && a.month == b.month && a.day == b.day; }

}  // namespace

const std::string& DivisionRun::OutputPath() {
  Date today = host_.Today();
  switch (kind_) {
    case OutputKind::Conference:
      return ConferencePath();
    case OutputKind::Patio: {
      // A patio's path hangs on its prompt line and, for some, the day.
      std::string_view prompt = UpToNul(line_);
      auto it = patioPaths_.find(prompt);
      if (it == patioPaths_.end()) {
        if (patioPaths_.size() >= kKeptPaths) patioPaths_.clear();
        it = patioPaths_.emplace(std::string(prompt), DatedName{}).first;
      }
      DatedName& known = it->second;
      if (known.path.empty() || !SameDay(known.day, today)) {
        known = DatedName{today, PathJoin(OutputFolder(cfg_, kind_), PatioFileName(line_, today))};
      }
      return known.path;
    }
    case OutputKind::Mail: {
      const std::string& path = DatedPath(today);
      if (cfg_.MailName == 0) return path;
      // Mail files are never removed during a run, so the series goes on from
      // the last name this run took.
      std::string from = mailSeries_.first == path ? mailSeries_.second : path;
      mailSeries_ = {path, FreeSeriesName(from, false)};
      return mailSeries_.second;
    }
    default:
      return DatedPath(today);
  }
}

// The names of the other kinds hang on the day alone: each is made once a day.
const std::string& DivisionRun::DatedPath(const Date& today) {
  DatedName& known = datedPaths_[static_cast<size_t>(kind_)];
  if (!known.path.empty() && SameDay(known.day, today)) return known.path;
  std::string folder = OutputFolder(cfg_, kind_);
  std::string name;
  switch (kind_) {
    case OutputKind::Mail:
      name = MailFileName(today, cfg_.MailName);
      break;
    case OutputKind::SentMail:
      name = SentMailFileName(today);
      break;
    case OutputKind::Hp:
      name = HpFileName(today, cfg_.HpNameRule);
      break;
    case OutputKind::MailList:
      name = MailListFileName(today);
      break;
    default:
      name = EtcFileName(today);
      break;
  }
  known = DatedName{today, PathJoin(folder, name)};
  return known.path;
}

// A conference's path hangs on its prompt line alone (up to a NUL): each
// prompt is worked out once, once its room folder is there.
const std::string& DivisionRun::ConferencePath() {
  std::string_view prompt = UpToNul(line_);
  if (auto known = conferencePaths_.find(prompt); known != conferencePaths_.end()) {
    target_ = &known->second;
    shown_.room = known->second.room;
    return known->second.path;
  }
  if (conferencePaths_.size() >= kKeptPaths) conferencePaths_.clear();
  std::string folder = OutputFolder(cfg_, kind_);
  std::string room = RoomName(line_), number = ConferenceNumber(line_);
  shown_.room = room;
  std::string path;
  if (cfg_.NameRule != 1) {
    path = PathJoin(folder, FlatConferenceName(room, number, cfg_.CnfExt));
  } else {
    std::string roomFolder = PathJoin(folder, RoomFolderName(room));
    if (!roomFolders_.contains(roomFolder) && (DirExists(roomFolder) || os::MakeDir(roomFolder))) {
      roomFolders_.insert(roomFolder);
    }
    scratchPath_ = PathJoin(roomFolder, RoomFileName(room, number));
    if (!roomFolders_.contains(roomFolder)) return scratchPath_;
    path = scratchPath_;
  }
  ConferenceTarget& target = conferencePaths_.emplace(prompt, ConferenceTarget{}).first->second;
  target.path = std::move(path);
  target.room = std::move(room);
  target_ = &target;
  return target.path;
}

// 0, or -2 when the file could not be opened: nothing of the run is kept then,
// for the block would be missing from it.
int DivisionRun::OpenOutput() {
  target_ = nullptr;
  const std::string& requested = OutputPath();
  auto failure = sink_->Open(requested, target_ ? &target_->output : nullptr);
  if (!failure) return 0;
  if (failure->opening) Report(SJ("  %s を開けませんでした！"), requested);
  return StopOnFailure(*failure);
}

// The block's record entry is kept with the run and written when it commits.
void DivisionRun::CloseOutput(bool updateRecord) {
  if (!sink_->HasOutput()) return;
  const std::string& name = sink_->name();
  bool hasEntry = kind_ == OutputKind::Conference || name.starts_with('F') || name.starts_with('S');
  if (updateRecord && hasEntry) sink_->record().UpdateRecord(name, lastHeader_, target_ ? &target_->entry : nullptr);
  sink_->Close();
}

// A file that could not be opened or written stops the run: what is missing is
// still in the log, which keeps its name, and the user is told where and why.
DivStatus DivisionRun::StopOnFailure(const DivisionSink::Failure& failure) {
  failed_ = true;
  if (!failure.opening) Report(SJ("  %s への書き込みに失敗しました！"), FileNamePart(failure.path));
  std::string text = failure.path + SJ(" への書き込みに失敗しました（") +
                     cp932::FromUtf8(std::strerror(failure.error != 0 ? failure.error : EIO)) +
                     SJ("）。分割を中止します！");
  host_.Message(text, SJ("分割処理エラー"), Buttons::Ok, BoxIcon::Error);
  return -2;
}

void DivisionRun::Report(std::string_view format, std::string_view value, uint32_t* known) {
  if (known && *known != ConferenceTarget::kNoLine) {
    report_.lines.Repeat(*known);
    return;
  }
  std::string& line = reportLine_;
  line.assign(format);
  size_t at = line.find("%s");
  if (at != std::string::npos) line.replace(at, 2, value);
  uint32_t number = report_.lines.push_back(line);
  if (known) *known = number;
}

void DivisionRun::ReportOutput(std::string_view format) {
  Reported& reported = reported_[sink_->current()];
  if (reported.format != format.data()) reported = Reported{format.data(), ConferenceTarget::kNoLine};
  Report(format, sink_->name(), &reported.line);
}

void DivisionRun::RenameLog() {
  std::string target = FreeSeriesName(logPath_, true);
  if (os::RenameNoReplace(logPath_, target)) renamedTo_ = std::move(target);
}

}  // namespace rkv
