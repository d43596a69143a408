// The cores diagram's numbers: the six core types, the scale of perfect values, each node's stored speeds and
// the texts built from them.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace korvex::app {

inline constexpr int DiagramCoreCount = 6;
inline constexpr int DiagramScaleCount = 6;

// One core type's row of the diagram, in row order.
struct TDiagramCore {
    const char* ValueWord;   // the speed value in Data: the word and the node index ("Amber2")
    const char* Letter;   // the row label
    const char* LetterHint;
    const char* PanelPrefix;   // a line of the node panel's hint
    const char* MessagePrefix;   // a line of the node's results message
};
const std::array<TDiagramCore, DiagramCoreCount>& DiagramCores();

// Perfect values by track-bar position: points per hour x 100.
inline constexpr std::array<int, DiagramScaleCount> PerfectValues = {1000, 1200, 1500, 2000, 2500, 3000};
// The scale labels under the track bar; points per hour (hpp) or per day.
const char* ScaleLabel(int position, bool hpp);
int PerfectValue(int position);   // the position kept within the scale
// A section's end on the bars: perfect x percent / 100, in integers.
int SectionEndValue(int perfect, int percent);

// The section ends' defaults in percent (the edits keep Low below Medium).
inline constexpr int DefaultLowEnd = 30, DefaultMediumEnd = 55;

// The node's stored speeds (points per hour) by core type; missing ones are empty.
using TNodeSpeeds = std::array<std::optional<double>, DiagramCoreCount>;
TNodeSpeeds ReadNodeSpeeds(int node);

// A speed as the diagram shows it: points per hour, or per day (x 24).
double DiagramValue(double pph, bool hpp);
// The bar's position for a speed: the shown value x 100 per hour, x 4.17 per day.
double BarPosition(double pph, bool hpp);

// The core type (0 to 5) the node's current core name is one of; -1 when none.
int CurrentCoreRow(const std::string& coreName);

// The node panel's hint: the perfect-value line of the mode, then a line per stored speed.
std::string NodePanelHint(const TNodeSpeeds& speeds, bool hpp);
// The results message for a node: every core type's value or "unknown".
std::string NodeResultsText(const std::string& nodeName, const TNodeSpeeds& speeds, bool hpp);

}
