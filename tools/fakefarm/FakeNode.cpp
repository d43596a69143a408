// The fake farm's client: unit names and the client log and unit-info lines it writes.
#include "tools/fakefarm/FakeNode.h"

#include "platform/base/DateTime.h"

#include <array>
#include <cstdio>

namespace korvex::fakefarm {

namespace {

// Known projects, so that the rows get their points from the built-in project table.
constexpr std::array<const char*, 6> StepProjects
    = {"p752_vln2.8pbc", "p1144_RIBO_nopeptide", "p930_fkbound_l02", "p761_vln3.3pbc", "p935_LG2 in water",
        "p909_vill_str0"};
constexpr std::array<const char*, 3> FrameProjects
    = {"p697_unit", "p1110_L939_K12M_nat_min1", "p1136_p1130_L939_K12M_355K"};

constexpr std::array<const char*, 12> MonthNames = {"January", "February", "March", "April", "May", "June", "July",
    "August", "September", "October", "November", "December"};

constexpr int StepsPerPercent = 2500;
constexpr int DueDays = 7;

std::string ProjectNumber(const std::string& name) {
    return name.substr(1, name.find('_') - 1);
}

std::string Text(int value) {
    return std::to_string(value);
}

}

int ItemsPerUnit(const TFakeNode& node) {
    return node.Kind == TCoreKind::Frames ? FramesPerUnit : 100;
}

int ProgressPercent(const TFakeNode& node) {
    return node.Done * 100 / ItemsPerUnit(node);
}

std::string UnitName(const TFakeNode& node) {
    std::size_t pick = static_cast<std::size_t>(node.Index + node.Unit);
    return node.Kind == TCoreKind::Frames ? FrameProjects[pick % FrameProjects.size()]
                                          : StepProjects[pick % StepProjects.size()];
}

// Run and clone place the node, gen counts its units: no two nodes work on the same unit.
int UnitRun(const TFakeNode& node) {
    return node.Index % 10;
}

int UnitClone(const TFakeNode& node) {
    return node.Index / 10;
}

int UnitGen(const TFakeNode& node) {
    return node.Unit;
}

std::string ClientDateText(base::TDateTime utc) {
    int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0;
    base::DecodeDateTime(utc, year, month, day, hour, min, sec, msec);
    char text[64];
    std::snprintf(text, sizeof text, "%s %d %02d:%02d:%02d", MonthNames[static_cast<std::size_t>(month - 1)], day,
        hour, min, sec);
    return text;
}

std::string StampedLine(base::TDateTime utc, const std::string& text) {
    return "[" + base::FormatDateTime("hh:nn:ss", utc) + "] " + text;
}

std::vector<std::string> ClientStartLines(const TFakeNode& node, base::TDateTime utc) {
    std::vector<std::string> lines = {"", "--- Opening Log file [" + ClientDateText(utc) + "] ", "",
        "# Linux Console Edition #######################################################",
        "                       Folding@Home Client Version 5.04beta",
        "###############################################################################",
        "Launch directory: " + node.Folder, "Arguments: -verbosity 9 ", ""};
    for (const char* text : {"- Ask before connecting: No", "- User name: Tellvar (Team 12345)",
             "- User ID: 1E2B3C4D5E6F7A8B", "- Machine ID: 1", "", "Loaded queue successfully."})
        lines.push_back(StampedLine(utc, text));
    return lines;
}

std::vector<std::string> UnitStartLines(const TFakeNode& node, base::TDateTime utc) {
    const bool frames = node.Kind == TCoreKind::Frames;
    const std::string name = UnitName(node);
    const std::string slot = Text(node.Unit % 10);
    std::vector<std::string> texts = {"", "+ Processing work unit",
        frames ? "Core required: FahCore_65.exe" : "Core required: FahCore_78.exe", "Core found.",
        "Working on Unit 0" + slot + " [" + ClientDateText(node.Downloaded) + "]", "+ Working ..."};
    if (frames) {
        texts.insert(texts.end(), {"Folding@Home Tinker Core", "Version 4.05 (October 4, 2004)"});
    } else {
        texts.insert(texts.end(), {"*------------------------------*", "Folding@Home Gromacs Core",
                                      "Version 1.90 (March 8, 2006)", "", "Preparing to commence simulation"});
    }
    texts.push_back("Project: " + ProjectNumber(name) + " (Run " + Text(UnitRun(node)) + ", Clone "
        + Text(UnitClone(node)) + ", Gen " + Text(UnitGen(node)) + ")");
    if (!frames) texts.insert(texts.end(), {"", "Entering M.D."});
    texts.push_back("Protein: " + name);
    if (frames) {
        texts.push_back("Dynamics steps, cycles: 0  " + Text(FramesPerUnit));
    } else {
        texts.insert(texts.end(), {"", "Writing local files", "Extra SSE boost OK.",
                                      "Completed 0 out of " + Text(100 * StepsPerPercent) + " steps  (0%)"});
    }
    std::vector<std::string> lines;
    for (const std::string& text : texts)
        lines.push_back(StampedLine(utc, text));
    return lines;
}

std::vector<std::string> ProgressLines(const TFakeNode& node, base::TDateTime utc) {
    if (node.Kind == TCoreKind::Frames)
        return {StampedLine(utc, "Finished a frame (" + Text(node.Done) + ")"),
            StampedLine(utc,
                "- Frames Completed: " + Text(node.Done) + ", Remaining: " + Text(FramesPerUnit - node.Done))};
    return {StampedLine(utc, "Writing local files"),
        StampedLine(utc,
            "Completed " + Text(node.Done * StepsPerPercent) + " out of " + Text(100 * StepsPerPercent)
                + " steps  (" + Text(node.Done) + "%)")};
}

std::vector<std::string> UnitEndLines(base::TDateTime utc) {
    std::vector<std::string> lines;
    for (const char* text : {"", "Finished Work Unit:", "- Checksums verified", "Leaving Run", "- Shutting down core",
             "Folding@home Core Shutdown: FINISHED_UNIT", "CoreStatus = 64 (100)", "Sending work to server"})
        lines.push_back(StampedLine(utc, text));
    lines.push_back(StampedLine(utc, "+ Attempting to send results [" + ClientDateText(utc) + "]"));
    lines.push_back(StampedLine(utc, "+ Results successfully sent"));
    lines.push_back(StampedLine(utc, "Thank you for your contribution to Folding@Home."));
    return lines;
}

std::string UnitInfoText(const TFakeNode& node) {
    const int percent = ProgressPercent(node);
    std::string bar = std::string(static_cast<std::size_t>(percent / 10), '|')
        + std::string(static_cast<std::size_t>(10 - percent / 10), '_');
    std::string text = "Current Work Unit\r\n-----------------\r\n";
    text += "Name: " + UnitName(node) + "\r\n";
    text += "Download time: " + ClientDateText(node.Downloaded) + "\r\n";
    text += "Due time: " + ClientDateText(node.Downloaded + DueDays) + "\r\n";
    text += "Progress: " + Text(percent) + "%  [" + bar + "]\r\n";
    return text;
}

}
