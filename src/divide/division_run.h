// The state and steps of one division run: the log read line by line, each
// recognised block handed to the writer of its kind, the division record kept
// and the report made. Everything the user sees goes through the host.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/files.h"
#include "core/host.h"
#include "divide/division.h"
#include "divide/division_record.h"
#include "divide/line_reader.h"
#include "divide/line_recogniser.h"
#include "divide/output_files.h"
#include "divide/output_names.h"
#include "settings/settings.h"

namespace rkv {

class DivisionRun {
 public:
  DivisionRun(const RKVcfg& cfg, Host& host, std::string logPath);

  bool CheckDestinations();
  DivStatus Divide();

  const DivideMsg& report() const { return report_; }
  const std::string& logPath() const { return logPath_; }
  const std::optional<std::string>& renamedTo() const { return renamedTo_; }

 private:
  // Reading and writing the current line.
  DivStatus ReadLine();
  DivStatus WriteText(std::string_view text);
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
  std::string OutputPath();
  DivStatus CloseOutput(bool updateRecord);
  void DropOutput();
  void NoteClosedSize();
  void RemoveOutputIfEmpty();
  DivStatus OutputFailed();
  DivStatus StopOnFailure(std::string_view path, int error);

  void Report(std::string_view format, std::string_view value);
  void RenameLog();

  const RKVcfg& cfg_;
  Host& host_;
  std::string logPath_;
  FileId logId_;
  std::string outputPath_;
  bool outputMayBeEmpty_ = true;
  std::unique_ptr<LineReader> log_;
  OutputFiles outputs_;
  Stream* output_ = nullptr;  // the current block's file, kept open in outputs_
  std::unique_ptr<DivisionRecord> record_;
  FindHeader recogniser_;
  std::string line_;
  std::string blockPrompt_;
  std::string lastHeader_;
  OutputKind kind_ = OutputKind::None;
  DivideMsg report_;
  std::optional<std::string> renamedTo_;
  // Something of the log did not reach its file: the log keeps its name.
  bool incomplete_ = false;
  bool writeFailed_ = false;
};

}  // namespace rkv
