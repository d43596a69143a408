// One simulated client of the fake farm: its work units, its progress and the lines it writes.
#pragma once

#include "platform/base/DateTimeType.h"

#include <string>
#include <vector>

namespace korvex::fakefarm {

enum class TCoreKind {
    Steps,   // a step-counting core: one "Completed N out of M steps" line a percent
    Frames,   // a frame-counting core: "Finished a frame (n)" lines, FramesPerUnit of them a unit
};

enum class TNodeRole {
    Running,   // its log advances
    Stuck,   // its log stopped: nothing is written after the farm is made
    Unreachable,   // a UNC path on a host whose SMB port does not answer (its files still advance)
};

inline constexpr int FramesPerUnit = 400;

struct TFakeNode {
    int Index = 0;
    TCoreKind Kind = TCoreKind::Steps;
    TNodeRole Role = TNodeRole::Running;
    int Unit = 0;   // units started before the current one (the unit's project and R-C-G follow it)
    int Done = 0;   // percent (steps) or frames (frames) finished of the current unit
    int TicksPerItem = 1;   // ticks from one progress line to the next
    int TickPhase = 0;   // ticks since the last progress line
    base::TDateTime Downloaded = 0;   // UTC
    std::string Label;   // Label<i>
    std::string Folder;   // the folder holding its files (a Linux path)
    std::string SettingsPath;   // Path<i>: the folder, or a UNC path mapped onto it
    std::string ServiceIp;   // Ip<i> of a FARM node: the loopback address of its control service; "" otherwise
    bool ConsoleStopped = false;   // its control service stopped the console: the log stands still

    bool operator==(const TFakeNode&) const = default;
};

// Percent (steps) or frames in one unit.
int ItemsPerUnit(const TFakeNode& node);
// The current unit's progress in percent.
int ProgressPercent(const TFakeNode& node);
// The current unit's name (a known project's "pNNNN_protein") and its run, clone and gen.
std::string UnitName(const TFakeNode& node);
int UnitRun(const TFakeNode& node);
int UnitClone(const TFakeNode& node);
int UnitGen(const TFakeNode& node);

// "December 7 18:59:32": the client's date text (English month name, no year) of a UTC point in time.
std::string ClientDateText(base::TDateTime utc);
// "[hh:mm:ss] text": a log line stamped with the UTC time of day.
std::string StampedLine(base::TDateTime utc, const std::string& text);

// The lines the client writes, each stamped at the UTC time given:
// its banner and settings when it starts;
std::vector<std::string> ClientStartLines(const TFakeNode& node, base::TDateTime utc);
// a unit begun (the core, the project, the protein and the zero-progress line of a step core);
std::vector<std::string> UnitStartLines(const TFakeNode& node, base::TDateTime utc);
// the progress line(s) for node.Done;
std::vector<std::string> ProgressLines(const TFakeNode& node, base::TDateTime utc);
// the unit finished and its results sent.
std::vector<std::string> UnitEndLines(base::TDateTime utc);

// unitinfo.txt for the current unit (CR LF line ends): name, download and due time, progress with its bar.
std::string UnitInfoText(const TFakeNode& node);

}
