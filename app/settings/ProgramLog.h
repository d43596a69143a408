// The program log KORVEX.LOG and the date-time texts of the program's files and grid cells.
#pragma once

#include "platform/base/DateTimeType.h"

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

}
