// Conference blocks: one block per conference prompt, checked against the
// division record so that message numbers continue from the last division.
#include <algorithm>

#include "core/cp932.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "divide/division_run.h"

namespace rkv {
namespace {

constexpr size_t kLongestBlockPrompt = 88;
constexpr size_t kQuestionBuffer = 512;

enum Continuity { kEndOfLog = -1, kContinues = 0, kGap = 1, kNextPrompt = 2, kNoHeader = 3 };

// The message number a header begins with; the "No." shape holds it at
// column 4, each shape as a few digits.
int64_t CurrentNumber(std::string_view header) {
  int64_t number = 0;
  for (size_t i = header.starts_with('N') ? 4 : 0; i < header.size() && header[i] >= '0' && header[i] <= '9'; ++i) {
    number = number * 10 + (header[i] - '0');
  }
  return number;
}

}  // namespace

DivStatus DivisionRun::WriteConference() {
  for (;;) {
    // A longer prompt line is left out of the file, never replaced by an older
    // one. NUL bytes are noise, left out when it is written.
    size_t nuls = log_->Verbatim().empty() ? static_cast<size_t>(std::count(line_.begin(), line_.end(), '\0')) : 0;
    size_t length = line_.size() - nuls;
    if (length <= kLongestBlockPrompt) {
      blockPrompt_.assign(line_);
    } else {
      blockPrompt_.clear();
    }
    if (OpenOutput() != 0) return -2;
    int check = ContinuityCheck();
    if (check == kGap) {
      Answer answer = AskAboutGap();
      if (answer == Answer::Ignore) {
        check = kContinues;
      } else {
        sink_->RemoveIfEmpty();
        sink_->Close();
        return answer == Answer::Retry ? 0 : -2;
      }
    }
    if (check != kContinues) {
      sink_->RemoveIfEmpty();
      sink_->Close();
      if (check == kNextPrompt) continue;
      return check == kEndOfLog ? -2 : 0;
    }
    if (target_) {
      Report(SJ("  %s を出力しました"), sink_->name(), &target_->reportLine);
    } else {
      ReportOutput(SJ("  %s を出力しました"));
    }
    ++report_.conferenceFiles;
    if (WriteText(blockPrompt_) != 0 || WriteLine() != 0) return -2;
    bool nextPrompt = false;
    while (ReadLine() == 0) {
      if (ConferencePromptTest(&recogniser_, line_) != 0) {
        nextPrompt = true;
        break;
      }
      if (IsServicePrompt(line_, cfg_.Prompt) != 0) break;
      if (WriteLine() != 0 || WriteBodyLines(conferenceStops_) != 0) return -2;
    }
    if (FlushLines() != 0) return -2;
    CloseOutput(true);
    if (!nextPrompt) return 0;
  }
}

int DivisionRun::ContinuityCheck() {
  if (ReadLine() != 0) return kEndOfLog;
  if (ConferencePromptTest(&recogniser_, line_) != 0) return kNextPrompt;
  if (!lineIsHeader_) return kNoHeader;
  int64_t current = CurrentNumber(line_);
  bool wide = line_.size() > 5 && line_[5] == '/';
  const std::string* entry = sink_->record().Entry(sink_->name(), target_ ? &target_->entry : nullptr);
  if (!entry) return kContinues;
  std::string_view recorded = std::string_view(*entry).substr(entry->find(':') + 1);
  size_t offset = wide ? 6 : 4;
  int64_t previous = recorded.size() > offset ? ParseDecimal(recorded.substr(offset)) : 0;
  return previous != 0 && previous + 1 != current ? kGap : kContinues;
}

// Abort stops the run, Retry skips this conference, Ignore writes it anyway.
Answer DivisionRun::AskAboutGap() {
  auto entry = sink_->record().FindRecord(sink_->name());
  std::string_view recorded = entry ? std::string_view(*entry).substr(entry->find(':') + 1) : "";
  // The lines are separated by LF CR, as the question has always been shown.
  const std::string sep = "\n\r";
  std::string text = "      " + sink_->name() + SJ(" を分割中") + sep + sep + SJ("今回先頭発言:") + sep +
                     SJ("　") + std::string(UpToNul(line_)) + " " + sep + SJ("前回最終発言:") + sep + SJ("　") +
                     std::string(UpToNul(recorded)) + " " + sep + sep +
                     SJ("　分割処理を続けますか？（再試行=次会議室, 無視=強制分割）");
  if (text.size() >= kQuestionBuffer) {
    text.resize(kQuestionBuffer - 1);
    if (IsLeadByteAt(text, text.size() - 1)) text.pop_back();
  }
  Answer answer = host_.Message(text, SJ("発言番号が不連続性です！"), Buttons::AbortRetryIgnore, BoxIcon::Warning);
  return answer == Answer::Retry || answer == Answer::Ignore ? answer : Answer::Abort;
}

}  // namespace rkv
