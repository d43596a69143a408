// A node's status and the colour its status square is painted in (0x00BBGGRR, as stored and printed).
#include "app/nodes/NodeReading.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

struct TStatusColour {
    TNodeStatus Status;
    int Colour;
};

class NodeStatusColourTest : public testing::TestWithParam<TStatusColour> { };

TEST_P(NodeStatusColourTest, EachStatusPaintsItsColour) {
    EXPECT_EQ(StatusColor(GetParam().Status), GetParam().Colour);
}

INSTANTIATE_TEST_SUITE_P(Statuses, NodeStatusColourTest,
    testing::Values(TStatusColour {TNodeStatus::Undecided, 65535},   // yellow
        TStatusColour {TNodeStatus::QueueLoaded, 9498256},   // light green
        TStatusColour {TNodeStatus::Running, 32768},   // green
        TStatusColour {TNodeStatus::AttemptError, 0},   // black
        TStatusColour {TNodeStatus::HostDown, 255}));   // red

TEST(NodeStatus, AReadingStartsUndecided) {
    EXPECT_EQ(TNodeReading {}.Status, TNodeStatus::Undecided);
}

}
}
