// Start with the session: the XDG autostart entry that stands for the registry's Run value.
#include "platform/os/Autostart.h"

#include "platform/os/Files.h"
#include "platform/os/NameCompare.h"
#include "platform/os/Paths.h"
#include "platform/os/ProgramFolder.h"
#include "platform/os/TextFiles.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace korvex::os {

namespace {

// A Windows command line: the program (quoted or up to the first blank), then blank-separated arguments
// in which double quotes group.
std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> parts;
    std::string current;
    bool quoted = false, inPart = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inPart = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inPart) parts.push_back(current);
            current.clear();
            inPart = false;
        } else {
            current += c;
            inPart = true;
        }
    }
    if (inPart) parts.push_back(current);
    return parts;
}

std::string ResolveProgram(const std::string& program) {
    std::string mapped = ExpandFileName(program);
    if (FileExists(mapped)) return NativePath(mapped);
    if (SameName(ExtractFileExt(mapped), ".exe")) {
        std::string bare = ChangeFileExt(mapped, "");
        if (FileExists(bare)) return NativePath(bare);
    }
    std::string running = ProgramFileName();
    if (!running.empty() && ExtractFileDir(mapped) == ProgramFolder()) return running;
    return mapped;
}

// Quoting of one Exec argument, then the escaping every desktop-entry string value gets.
std::string ExecArgument(const std::string& arg) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    bool needsQuotes = arg.empty() || arg.find_first_of(reserved) != std::string::npos;
    std::string quoted;
    if (needsQuotes) quoted += '"';
    for (char c : arg) {
        if (static_cast<unsigned char>(c) < 0x20) continue;   // no control characters in an entry
        if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\')) quoted += '\\';
        quoted += c;
    }
    if (needsQuotes) quoted += '"';
    std::string out;
    for (char c : quoted) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '%')
            out += "%%";
        else
            out += c;
    }
    return out;
}

}

std::string AutostartFilePath() {
    return ConfigHome() + "/autostart/korvex.desktop";
}

std::string AutostartExecLine(const std::string& runValue) {
    std::vector<std::string> parts = SplitCommandLine(runValue);
    if (parts.empty()) return {};
    std::string exec = ExecArgument(ResolveProgram(parts[0]));
    for (size_t i = 1; i < parts.size(); ++i)
        exec += " " + ExecArgument(parts[i]);
    return exec;
}

bool WriteAutostartEntry(const std::string& runValue) {
    std::string exec = AutostartExecLine(runValue);
    if (exec.empty()) return RemoveAutostartEntry();
    std::string path = AutostartFilePath();
    if (!ForceDirectories(ExtractFileDir(path))) return false;
    std::string content = "[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=KORVEX\n"
                          "Exec="
        + exec
        + "\n"
          "Terminal=false\n"
          "X-GNOME-Autostart-enabled=true\n";
    // The entry is the program's own: a link in its place (to the menu's desktop file, say) is replaced by it,
    // and the file it led to keeps its lines.
    TReplaceChecks checks;
    checks.ReplaceLink = true;
    return RewriteFileAtomically(path, content, checks);
}

bool RemoveAutostartEntry() {
    std::string path = AutostartFilePath();
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
    return false;
}

}
