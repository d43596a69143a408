// Running a command-line tool for the tests.
#include "support/ToolRun.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace korvex::app::test {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TRun RunTool(const std::string& tool, const TTempDir& dir, const std::string& arguments) {
    return RunToolIn("", tool, dir, arguments);
}

TRun RunToolIn(const std::string& folder, const std::string& tool, const TTempDir& dir, const std::string& arguments) {
    const std::string command = (folder.empty() ? "" : "cd '" + folder + "' && ") + "'" + tool + "' " + arguments
        + " >'" + dir.File("out") + "' 2>'" + dir.File("err") + "'";
    const int status = std::system(command.c_str());
    TRun run;
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = Slurp(dir.File("out"));
    run.Err = Slurp(dir.File("err"));
    return run;
}

}
