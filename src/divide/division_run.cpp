// The run itself: opening, the read loop, the closing phase and renaming the
// log, with the reading, writing and output-file steps every writer shares.
#include "divide/division_run.h"

#include <cstdint>
#include <cstring>

#include "core/cp932.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "divide/output_files.h"
#include "platform/os.h"

namespace rkv {
namespace {

// Where written text stops: its first line feed, NUL or end-of-file byte. Lines
// are scanned eight bytes at a time, for every line of the log passes here.
size_t TextEnd(std::string_view text) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  constexpr uint64_t kHighs = 0x8080808080808080ULL;
  auto hasZeroByte = [](uint64_t w) { return (w - kOnes) & ~w & kHighs; };
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t w;
    std::memcpy(&w, text.data() + i, 8);
    if (hasZeroByte(w) | hasZeroByte(w ^ (kOnes * '\n')) | hasZeroByte(w ^ (kOnes * 0x1A))) break;
  }
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\n' || c == '\0' || c == '\x1A') return i;
  }
  return text.size();
}

}  // namespace

DivisionRun::DivisionRun(const RKVcfg& cfg, Host& host, std::string logPath)
    : cfg_(cfg), host_(host), logPath_(std::move(logPath)), recogniser_(cfg.Prompt) {}

bool DivisionRun::CheckDestinations() {
  // Without a base folder the room folders of name rule 1 would land wherever
  // the program happens to run.
  bool baseMissing = cfg_.NameRule == 1 && cfg_.BaseDir.empty();
  if (!baseMissing && DirExists(ConferenceFolder(cfg_)) && DirExists(cfg_.CurMailDir)) return true;
  host_.Message(SJ("分割先ディレクトリが不正です"), SJ("分割処理エラー"), Buttons::Ok, BoxIcon::Error);
  return false;
}

DivStatus DivisionRun::Divide() {
  log_ = LineReader::Open(logPath_);
  if (log_) {
    logId_ = log_->Id();
    record_ = DivisionRecord::Open(RecordPath(cfg_));
  }
  if (!log_ || !record_) {
    log_.reset();
    record_.reset();
    return -1;
  }
  Report(SJ("ログ %s を分割します"), FileNamePart(logPath_));
  DivStatus status = 0;
  while (ReadLine() == 0) {
    OutputKind kind = OutputKindOf(ClassifyBlock(recogniser_, line_));
    if (kind == OutputKind::None) continue;  // the kind stays as it was
    kind_ = kind;
    status = RunWriter();
    if (status == -2) break;
  }
  // A log that could not be read to its end keeps its name: the rest of it is still to divide.
  if (log_->Failed()) incomplete_ = true;
  if (status != -2) status = log_->Failed() ? -1 : 0;
  // Every block that has a record entry wrote it when it closed; what is still
  // buffered goes out now, so that a failure is told before the run is called finished.
  DropOutput();
  if (auto failure = outputs_.CloseAll()) StopOnFailure(failure->path, failure->error);

  host_.Message(report_.lines.size() < 2 ? SJ("分割対象が含まれていませんでした") : SJ("ログ分割終了"),
                SJ("ログ・ファイル分割処理"), Buttons::Ok, BoxIcon::Information);
  report_.lines.push_back(SJ("会議室ファイル ") + std::to_string(report_.conferenceFiles) + SJ(" 個、電子メール ") +
                          std::to_string(report_.mails) + SJ(" 通分を分割しました"));
  log_.reset();
  record_.reset();
  if ((status == 0 || report_.conferenceFiles != 0) && cfg_.Rename != 0 && !incomplete_) RenameLog();
  return status == -1 || writeFailed_ ? -1 : 0;
}

DivStatus DivisionRun::RunWriter() {
  switch (kind_) {
    case OutputKind::Conference:
      return WriteConference();
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

DivStatus DivisionRun::ReadLine() {
  if (!log_->Read(line_)) return -1;
  if (kind_ == OutputKind::Conference && IsMessageHeader(line_)) lastHeader_ = line_;
  return 0;
}

DivStatus DivisionRun::WriteText(std::string_view text) {
  size_t end = TextEnd(text);
  bool ok = output_->Write(text.substr(0, end));
  if (end < text.size() && text[end] == '\n') ok = output_->Write("\r\n") && ok;
  return ok ? 0 : -1;
}

// Reads the next line for the test, then puts the log and the current line back.
bool DivisionRun::NextLineIs(bool (*test)(std::string_view)) {
  std::string saved = line_;
  int64_t position = log_->Tell();
  bool match = ReadLine() == 0 && test(line_);
  log_->Seek(position);
  line_ = std::move(saved);
  return match;
}

std::string DivisionRun::OutputPath() {
  Date today = host_.Today();
  std::string folder = OutputFolder(cfg_, kind_);
  switch (kind_) {
    case OutputKind::Conference: {
      std::string room = RoomName(line_), number = ConferenceNumber(line_);
      if (cfg_.NameRule == 1) {
        std::string roomFolder = PathJoin(folder, RoomFolderName(room));
        if (!DirExists(roomFolder)) os::MakeDir(roomFolder);
        return PathJoin(roomFolder, RoomFileName(room, number));
      }
      return PathJoin(folder, FlatConferenceName(room, number, cfg_.CnfExt));
    }
    case OutputKind::Mail: {
      std::string path = PathJoin(folder, MailFileName(today, cfg_.MailName));
      return cfg_.MailName != 0 ? FreeSeriesName(path, false) : path;
    }
    case OutputKind::SentMail:
      return PathJoin(folder, SentMailFileName(today));
    case OutputKind::Hp:
      return PathJoin(folder, HpFileName(today, cfg_.HpNameRule));
    case OutputKind::Patio:
      return PathJoin(folder, PatioFileName(line_, today));
    case OutputKind::MailList:
      return PathJoin(folder, MailListFileName(today));
    case OutputKind::Etc:
    case OutputKind::None:
      break;
  }
  return PathJoin(folder, EtcFileName(today));
}

int DivisionRun::OpenOutput() {
  std::string requested = OutputPath();
  if ((output_ = outputs_.Find(requested, &outputPath_))) return 0;
  auto safe = ProtectPath(requested, {logId_, record_->id()});
  std::unique_ptr<Stream> stream;
  if (safe) stream = OpenForAppend(*safe);
  if (!stream) {
    // The block stays in the log, and the log keeps its name for another try.
    Report(SJ("  %s を開けませんでした！"), requested);
    incomplete_ = true;
    return -1;
  }
  outputPath_ = std::move(*safe);
  std::optional<OutputFiles::Failure> failure;
  output_ = outputs_.Keep(requested, &outputPath_, std::move(stream), &failure);
  if (failure) {
    output_ = nullptr;
    return StopOnFailure(failure->path, failure->error);
  }
  return 0;
}

// The block's bytes reach the file before its record entry says it is divided;
// the file stays open for the next block that goes there.
DivStatus DivisionRun::CloseOutput(bool updateRecord) {
  if (!output_) return 0;
  if (!output_->Flush()) return OutputFailed();
  NoteClosedSize();
  output_ = nullptr;
  std::string name = FileNamePart(outputPath_);
  bool hasEntry = kind_ == OutputKind::Conference || name.starts_with('F') || name.starts_with('S');
  if (updateRecord && hasEntry && record_->UpdateRecord(name, lastHeader_) != 0) {
    return StopOnFailure(record_->path(), record_->errorNumber());
  }
  return 0;
}

void DivisionRun::DropOutput() {
  if (!output_) return;
  NoteClosedSize();
  outputs_.Close(outputPath_);
  output_ = nullptr;
}

// Only a file that may have ended empty is looked at again; after a failed
// write the stream no longer knows.
void DivisionRun::NoteClosedSize() { outputMayBeEmpty_ = output_->Failed() || output_->Tell() == 0; }

void DivisionRun::RemoveOutputIfEmpty() {
  if (!outputMayBeEmpty_) return;
  outputs_.Close(outputPath_);
  RemoveIfEmpty(outputPath_);
}

DivStatus DivisionRun::OutputFailed() {
  int error = output_->LastErrno();
  DropOutput();
  RemoveOutputIfEmpty();
  return StopOnFailure(outputPath_, error);
}

// A write that failed stops the run: what is missing is still in the log,
// which keeps its name, and the user is told where and why.
DivStatus DivisionRun::StopOnFailure(std::string_view path, int error) {
  writeFailed_ = incomplete_ = true;
  Report(SJ("  %s への書き込みに失敗しました！"), FileNamePart(path));
  std::string text = std::string(path) + SJ(" への書き込みに失敗しました（") +
                     cp932::FromUtf8(std::strerror(error != 0 ? error : EIO)) + SJ("）。分割を中止します！");
  host_.Message(text, SJ("分割処理エラー"), Buttons::Ok, BoxIcon::Error);
  return -2;
}

void DivisionRun::Report(std::string_view format, std::string_view value) {
  std::string line(format);
  size_t at = line.find("%s");
  if (at != std::string::npos) line.replace(at, 2, value);
  report_.lines.push_back(std::move(line));
}

void DivisionRun::RenameLog() {
  std::string target = FreeSeriesName(logPath_, true);
  if (os::RenameNoReplace(logPath_, target)) renamedTo_ = std::move(target);
}

}  // namespace rkv
