#include "divide/division.h"

#include <algorithm>

#include "core/cp932.h"
#include "divide/division_run.h"

namespace rkv {
namespace {

// 1234567 -> "1,234,567".
std::string Grouped(int64_t n) {
  std::string digits = std::to_string(n), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace

uint32_t ReportLines::push_back(std::string_view line) {
  auto known = number_.find(line);
  if (known != number_.end()) {
    order_.push_back(known->second);
    return known->second;
  }
  auto number = static_cast<uint32_t>(distinct_.size());
  distinct_.emplace_back(line);
  number_.emplace(distinct_.back(), number);
  order_.push_back(number);
  return number;
}

std::string ProgressLine(const DivProgress& progress) {
  int64_t percent = progress.total > 0 ? progress.done * 100 / progress.total : 100;
  std::string line = SJ("分割中 ") + Grouped(progress.done) + " / " + Grouped(progress.total) + SJ(" バイト (") +
                     std::to_string(std::min<int64_t>(percent, 100)) + "%)";
  if (!progress.room.empty()) line += SJ("  会議室 ") + progress.room;
  return line;
}

DivLog::DivLog(const RKVcfg& cfg, Host& host, std::string logPath)
    : run_(std::make_unique<DivisionRun>(cfg, host, std::move(logPath))) {}

DivLog::~DivLog() = default;

bool DivLog::CheckDestinations() { return run_->CheckDestinations(); }

DivStatus DivLog::Divide() { return run_->Divide(); }

void DivLog::SetProgress(DivProgressFn progress) { run_->SetProgress(std::move(progress)); }

const DivideMsg& DivLog::report() const { return run_->report(); }

const std::string& DivLog::logPath() const { return run_->logPath(); }

const std::optional<std::string>& DivLog::renamedTo() const { return run_->renamedTo(); }

}  // namespace rkv
