#include "divide/division.h"

#include "divide/division_run.h"

namespace rkv {

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
