// Client files for the tests.
#include "support/ClientFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace korvex::app::test {

namespace {

std::string TimeText(int seconds) {
    seconds %= 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

int ParseTime(const std::string& text) {
    int h = 0, m = 0, s = 0;
    std::sscanf(text.c_str(), "%d:%d:%d", &h, &m, &s);
    return h * 3600 + m * 60 + s;
}

}

TClientLog::TClientLog(const std::string& startTime)
    : FSeconds(ParseTime(startTime)) {
}

TClientLog& TClientLog::Advance(int seconds) {
    FSeconds = (FSeconds + seconds) % 86400;
    return *this;
}

TClientLog& TClientLog::Line(const std::string& text) {
    FLines.push_back(Cat("[", Stamp(), "] ", text));
    return *this;
}

TClientLog& TClientLog::Raw(const std::string& text) {
    FLines.push_back(text);
    return *this;
}

std::string TClientLog::Stamp() const {
    return TimeText(FSeconds);
}

TClientLog& TClientLog::ClientStart(bool queueLoaded, const std::string& user, const std::string& team) {
    Raw("");
    Raw("--- Opening Log file [December 5 20:10:09] ");
    Raw("");
    Raw("# Windows Console Edition #####################################################");
    Raw("                       Folding@Home Client Version 5.04beta");
    Raw("###############################################################################");
    Raw("Launch directory: C:\\FAH");
    Raw("Arguments: -local -verbosity 9 ");
    Raw("");
    Line("- Ask before connecting: No");
    Line("- User name: " + user + " (Team " + team + ")");
    Line("- User ID: 1E2B3C4D5E6F7A8B");
    Line("- Machine ID: 1");
    Line("");
    if (queueLoaded) Line("Loaded queue successfully.");
    return *this;
}

TClientLog& TClientLog::StepUnit(const std::string& protein, const std::string& download, int run, int clone, int gen,
    int percent, int secondsPerPercent) {
    Line("");
    Line("+ Processing work unit");
    Line("Core required: FahCore_78.exe");
    Line("Core found.");
    Line("Working on Unit 01 [" + download + "]");
    Line("+ Working ...");
    Line("- Calling '.\\FahCore_78.exe -dir work/ -suffix 01 -checkpoint 15 -verbose -lifeline 1234 -version 504'");
    Raw("");
    Advance(1);
    Line("*------------------------------*");
    Line("Folding@Home Gromacs Core");
    Line("Version 1.90 (March 8, 2006)");
    Line("");
    Line("Preparing to commence simulation");
    Line("- Files status OK");
    Line("- Expanded 95283 -> 472560 (decompressed 495.9 percent)");
    std::string project = protein.substr(1, protein.find('_') - 1);
    Line(Cat("Project: ", project, " (Run ", std::to_string(run), ", Clone ", std::to_string(clone), ", Gen ",
        std::to_string(gen), ")"));
    Line("");
    Line("Entering M.D.");
    Advance(6);
    Line("Protein: " + protein);
    Line("");
    Line("Writing local files");
    Line("Extra SSE boost OK.");
    Line("Completed 0 out of 250000 steps  (0%)");
    for (int p = 1; p <= percent; ++p) {
        Advance(secondsPerPercent);
        Line("Writing local files");
        Line(Cat("Completed ", std::to_string(p * 2500), " out of 250000 steps  (", std::to_string(p), "%)"));
    }
    return *this;
}

TClientLog& TClientLog::FrameUnit(const std::string& protein, const std::string& download, int run, int clone, int gen,
    int frames, int totalFrames, int secondsPerFrame) {
    Line("");
    Line("+ Processing work unit");
    Line("Core required: FahCore_65.exe");
    Line("Core found.");
    Line("Working on Unit 02 [" + download + "]");
    Line("+ Working ...");
    Advance(2);
    Line("Folding@Home Tinker Core");
    Line("Version 4.05 (October 4, 2004)");
    std::string project = protein.substr(1, protein.find('_') - 1);
    Line(Cat("Project: ", project, " (Run ", std::to_string(run), ", Clone ", std::to_string(clone), ", Gen ",
        std::to_string(gen), ")"));
    Line("Protein: " + protein);
    Line(Cat("Dynamics steps, cycles: 0  ", std::to_string(totalFrames)));
    for (int f = 1; f <= frames; ++f) {
        Advance(secondsPerFrame);
        Line(Cat("Finished a frame (", std::to_string(f), ")"));
        Line(Cat(" - Frames Completed: ", std::to_string(f), ", Remaining: ", std::to_string(totalFrames - f)));
    }
    return *this;
}

TClientLog& TClientLog::FinishAndSend(const std::string& sendDate) {
    Advance(60);
    Line("");
    Line("Finished Work Unit:");
    Line("- Reading up to 550 from \"work/wudata_01.arc\": Read 550");
    Line("- Checksums verified");
    Line("Leaving Run");
    Line("- Shutting down core");
    Line("Folding@home Core Shutdown: FINISHED_UNIT");
    Advance(3);
    Line("CoreStatus = 64 (100)");
    Line("Sending work to server");
    Line("+ Attempting to send results [" + sendDate + "]");
    Advance(5);
    Line("+ Results successfully sent");
    Line("Thank you for your contribution to Folding@Home.");
    return *this;
}

std::string TClientLog::Text() const {
    return JoinLines(FLines);
}

std::vector<std::string> UnitInfo(
    const std::string& name, const std::string& download, const std::string& due, int progress) {
    std::vector<std::string> lines = {"Current Work Unit", "-----------------", "Name: " + name};
    lines.push_back("Download time: " + download);
    if (!due.empty()) lines.push_back("Due time: " + due);
    std::string bar = std::string(static_cast<std::size_t>(progress / 10), '|')
        + std::string(static_cast<std::size_t>(10 - progress / 10), '_');
    lines.push_back(Cat("Progress: ", std::to_string(progress), "%  [", bar, "]"));
    return lines;
}

void WriteFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

TTempDir::TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvex-app-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

}
