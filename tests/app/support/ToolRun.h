// A command-line tool run to its end for the tests: exit code, output and error output.
#pragma once

#include "support/ClientFiles.h"

#include <string>

namespace korvex::app::test {

struct TRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

// A file's bytes; "" when it cannot be read.
std::string Slurp(const std::string& path);

// Runs the tool with arguments already quoted for the shell; its output goes through files in dir.
TRun RunTool(const std::string& tool, const TTempDir& dir, const std::string& arguments);
// The same with the shell's current folder set to `folder` first (the test process's own is left alone).
TRun RunToolIn(const std::string& folder, const std::string& tool, const TTempDir& dir, const std::string& arguments);

}
