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

}
