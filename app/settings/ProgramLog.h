// The program log KORVEX.LOG and the date-time texts of the program's files and grid cells.
#pragma once

#include "platform/base/DateTimeType.h"

#include <map>
#include <mutex>
#include <string>

namespace korvex::app {

inline constexpr const char* ProgramLogName = "KORVEX.LOG";

// KORVEX.LOG in the program folder.
std::string ProgramLogPath();

// "[" + now as date-time text + "] " + text, as the history and the log write their lines.
std::string StampedLine(base::TDateTime now, const std::string& text);

// Appends one stamped line (CR LF) to the program log in one write; false when the file cannot be written,
// which nobody is told. Safe from any thread.
bool WLog(const std::string& text);

// "dd mmm hh:nn:ss" ("05 Dec 20:10:15"): the Start, Deadline and Finish cells.
std::string DTTM(base::TDateTime dt);

// Failures of operations that are tried again every cycle: each is logged when it starts and when it ends,
// with how often it happened, not once a cycle. Any thread.
class TRepeatedFailures {
public:
    TRepeatedFailures() = default;
    ~TRepeatedFailures();   // failures still repeating are logged with their count so far
    TRepeatedFailures(const TRepeatedFailures&) = delete;
    TRepeatedFailures& operator=(const TRepeatedFailures&) = delete;

    // `operation` (a node's cache, a node's backup ...) failed; `kind` tells one failure from another and
    // `text` is the log line (its details may differ from one repeat to the next: the first is logged). A
    // failure of another kind ends the one before.
    void Failed(const std::string& operation, const std::string& kind, const std::string& text);
    void Succeeded(const std::string& operation);   // a failure under way is logged as ended
    int Count(const std::string& operation) const;   // repeats of the failure under way; 0: none

private:
    struct TFailure {
        std::string Kind;
        std::string Text;
        int Count = 0;
    };
    static void LogEnd(const TFailure& failure, const char* how);

    mutable std::mutex FLock;
    std::map<std::string, TFailure> FFailures;   // by operation
};

}
