// The writers of every block that is not a conference: mail, HP, patio, and
// the one shared by sent mail, mail lists and notices.
#include "core/cp932.h"
#include "core/paths.h"
#include "divide/division_run.h"

namespace rkv {

DivStatus DivisionRun::WriteMail() {
  if (OpenOutput() != 0) return -2;
  for (;;) {
    if (IsMailEnd(line_, cfg_.Prompt)) {
      if (WriteText("\n") != 0) return -2;
      break;
    }
    if (WriteLine() != 0) return -2;
    if (ReadLine() != 0) break;
  }
  if (FlushLines() != 0) return -2;
  ReportOutput(SJ("  %s を出力しました"));
  ++report_.mails;
  CloseOutput(true);
  return 0;
}

// Copies the block up to the next service prompt, which is not written; an
// empty line closes the block there.
DivStatus DivisionRun::CopyUntilServicePrompt() {
  for (;;) {
    if (IsServicePrompt(line_, cfg_.Prompt) != 0) {
      if (WriteText("\n") != 0) return -2;
      return 0;
    }
    if (WriteLine() != 0 || WriteBodyLines(serviceStops_) != 0) return -2;
    if (ReadLine() != 0) return FlushLines();
  }
}

// In a list of HP lines only the last one opens a page.
DivStatus DivisionRun::WriteHp() {
  if (NextLineIs([](std::string_view next) { return HpLineTest(next) != 0; })) return 0;
  if (OpenOutput() != 0) return -2;
  if (DivStatus copied = CopyUntilServicePrompt(); copied != 0) return copied;
  ReportOutput(SJ(" HP %s を出力しました"));
  sink_->RemoveIfEmpty();
  CloseOutput(true);
  return 0;
}

// A patio prompt opens a block only when a message header follows it.
DivStatus DivisionRun::WritePatio() {
  if (!NextLineIs([](std::string_view next) { return IsMessageHeader(next); })) return 0;
  if (OpenOutput() != 0) return -2;
  if (DivStatus copied = CopyUntilServicePrompt(); copied != 0) return copied;
  ReportOutput(SJ(" パティオ %s を出力しました"));
  sink_->RemoveIfEmpty();
  CloseOutput(true);
  return 0;
}

DivStatus DivisionRun::WriteUntilPrompt() {
  if (OpenOutput() != 0) return -2;
  if (DivStatus copied = CopyUntilServicePrompt(); copied != 0) return copied;
  ReportOutput(kind_ == OutputKind::SentMail ? SJ(" 送信メール %s を出力しました") : SJ(" %s を出力しました"));
  CloseOutput(true);
  return 0;
}

}  // namespace rkv
