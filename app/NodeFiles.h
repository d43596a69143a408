// Reading a node folder's client files into the node reading, with the retries a busy client needs.
#pragma once

#include "app/NodeReading.h"
#include "app/TextLines.h"
#include "platform/os/LineLoader.h"

#include <string>

namespace korvex::app {

inline constexpr const char* ClientLogName = "FAHlog.txt";
inline constexpr const char* UnitInfoName = "unitinfo.txt";

// Loads a text file whole into lines, retrying opens and reads as the options say (a missing file is not
// retried unless asked); lines stay empty unless Loaded. The size limit of options.Limits applies; its line
// length limit does not (lines are views, however long).
os::TRetryResult LoadTextLinesRetrying(
    const std::string& path, TTextLines& lines, const os::TRetryOptions& options = {});

// A client file of a node folder (a Windows or Linux path; the file name resolves without case).
std::string NodeFilePath(const std::string& folder, const std::string& fileName);

// The two files of the folder read into a reading; files that cannot be read count as empty.
TNodeReading ReadNodeFolder(const std::string& folder, base::TDateTime now, const TUtcOffsetFunc& utcOffset,
    const os::TRetryOptions& options = {});

}
