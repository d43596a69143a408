// noderead: prints the node reading of a node folder as Field=value lines, for checking a folder by hand.
#include "app/nodes/NodeFiles.h"
#include "app/nodes/NodeReading.h"

#include "platform/base/DateTime.h"
#include "platform/base/Numbers.h"
#include "platform/os/Files.h"
#include "platform/os/Paths.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace {

using namespace korvex;

constexpr int UsageError = 2;
constexpr int FolderError = 1;

const char* const Usage = "usage: noderead FOLDER [--now \"YYYY-MM-DD hh:mm:ss\"] [--utc-offset-minutes N]\n"
                          "  Prints what the node's FAHlog.txt and unitinfo.txt say, one Field=value line each.\n"
                          "  --now                 the local time to read the files at (default: the clock)\n"
                          "  --utc-offset-minutes  the zone's offset east of UTC (default: the system zone's)\n";

std::optional<base::TDateTime> ParseNow(const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &min, &sec, &tail) != 6)
        return std::nullopt;
    base::TDateTime now = 0;
    if (!base::TryEncodeDateTime(year, month, day, hour, min, sec, 0, now)) return std::nullopt;
    return now;
}

std::string PointText(base::TDateTime dt) {
    return dt == 0 ? "0" : base::FormatDateTime("yyyy-mm-dd hh:nn:ss", dt);
}

int Fail(const std::string& message) {
    std::cerr << "noderead: " << message << "\n" << Usage;
    return UsageError;
}

}

int main(int argc, char** argv) {
    std::optional<std::string> folder;
    std::optional<base::TDateTime> now;
    std::optional<int> offset;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        bool hasValue = false;
        if (std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            hasValue = true;
        }
        if (arg == "-h" || arg == "--help") {
            std::cout << Usage;
            return 0;
        }
        if (arg == "--now" || arg == "--utc-offset-minutes") {
            if (!hasValue) {
                if (i + 1 >= argc) return Fail(arg + " needs a value");
                value = argv[++i];
            }
            if (arg == "--now") {
                now = ParseNow(value);
                if (!now) return Fail("--now takes \"YYYY-MM-DD hh:mm:ss\", not \"" + value + "\"");
            } else {
                int minutes = 0;
                if (!base::TryStrToInt(value, minutes) || minutes < -1440 || minutes > 1440)
                    return Fail("--utc-offset-minutes takes minutes from -1440 to 1440, not \"" + value + "\"");
                offset = minutes;
            }
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return Fail("unknown option " + arg);
        } else if (folder) {
            return Fail("one folder only");
        } else {
            folder = arg;
        }
    }
    if (!folder) return Fail("no folder given");
    // A relative folder is the shell's: taken from the working folder this process was started in, not from
    // the program's folder that the file routines use for relative names.
    const std::string given = *folder;
    if (std::string mapped = os::MapPath(*folder); !mapped.empty() && mapped[0] != '/') {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(mapped, error);
        if (!error) folder = absolute.lexically_normal().string();
    }
    if (!os::DirectoryExists(*folder)) {
        std::cerr << "noderead: no such folder: " << given << "\n";
        return FolderError;
    }

    // A check by hand reads the files once, without the pauses a monitoring thread makes for a busy client.
    os::TRetryOptions options;
    options.Attempts = 1;
    options.Pause = [](int) { return true; };
    const app::TNodeReading r = app::ReadNodeFolder(
        *folder, now.value_or(base::Now()), offset ? app::FixedUtcOffset(*offset) : app::SystemUtcOffset(), options);

    std::cout << "WU name=" << r.WUName << "\n"
              << "R-C-G=" << r.RCG << "\n"
              << "Version=" << r.Version << "\n"
              << "Core required=" << r.CoreRequired << "\n"
              << "User name=" << r.UserName << "\n"
              << "Team=" << r.Team << "\n"
              << "Progress=" << r.Progress << "\n"
              << "Start=" << PointText(r.Start) << "\n"
              << "Deadline=" << PointText(r.Deadline) << "\n"
              << "Status=" << app::StatusColor(r.Status) << "\n"
              << "Time per percent=" << r.TimePerPercent << "\n"
              << "Frame time=" << r.FrameTime << "\n"
              << "Total frames=" << r.TotalFrames << "\n"
              << "Current frame=" << r.CurrentFrame << "\n"
              << "Last step time=" << PointText(r.LastStepTime) << "\n";
    return std::cout.good() ? 0 : FolderError;
}
