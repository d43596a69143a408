// The program log and the program's date-time texts.
#include "app/settings/ProgramLog.h"

#include "platform/base/DateTime.h"
#include "platform/os/ProgramFolder.h"
#include "platform/os/TextFiles.h"

namespace korvex::app {

std::string ProgramLogPath() {
    return os::ProgramFolder() + "/" + ProgramLogName;
}

std::string StampedLine(base::TDateTime now, const std::string& text) {
    std::string line = "[";
    line += base::DateTimeToStr(now);
    line += "] ";
    line += text;
    return line;
}

bool WLog(const std::string& text) {
    return os::AppendLine(ProgramLogPath(), StampedLine(base::Now(), text));
}

std::string DTTM(base::TDateTime dt) {
    return base::FormatDateTime("dd mmm hh:nn:ss", dt);
}

TRepeatedFailures::~TRepeatedFailures() {
    for (const auto& [operation, failure] : FFailures)
        if (failure.Count > 1) LogEnd(failure, "so far");
}

void TRepeatedFailures::LogEnd(const TFailure& failure, const char* how) {
    WLog(failure.Text + " (" + how + " " + std::to_string(failure.Count) + (failure.Count == 1 ? " time)" : " times)"));
}

void TRepeatedFailures::Failed(const std::string& operation, const std::string& kind, const std::string& text) {
    std::lock_guard guard(FLock);
    auto [it, added] = FFailures.try_emplace(operation, TFailure {kind, text, 0});
    if (!added && it->second.Kind != kind) {
        LogEnd(it->second, "ended after");
        it->second = TFailure {kind, text, 0};
    }
    if (++it->second.Count == 1) WLog(text);
}

void TRepeatedFailures::Succeeded(const std::string& operation) {
    std::lock_guard guard(FLock);
    auto it = FFailures.find(operation);
    if (it == FFailures.end()) return;
    LogEnd(it->second, "ended after");
    FFailures.erase(it);
}

int TRepeatedFailures::Count(const std::string& operation) const {
    std::lock_guard guard(FLock);
    auto it = FFailures.find(operation);
    return it == FFailures.end() ? 0 : it->second.Count;
}

}
