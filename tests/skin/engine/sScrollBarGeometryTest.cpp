// Where a skinned scroll bar's parts lie: thumb length and centre for long, short, empty and inverted ranges,
// the position under a point, and which part a point hits.
#include "skin/engine/sScrollBarGeometry.h"

#include <gtest/gtest.h>

namespace korvex::skin {
namespace {

struct ThumbCase {
    const char* Name;
    int Length, Arrow, Page, Min, Max, Position;
    bool Enabled;
    int Thumb, Centre;
};

class ScrollThumb : public ::testing::TestWithParam<ThumbCase> { };

TEST_P(ScrollThumb, LengthAndCentreFollowRangeAndPage) {
    const ThumbCase& c = GetParam();
    const TsScrollGeometry g(c.Length, c.Arrow, c.Page, c.Min, c.Max, c.Position, c.Enabled);
    EXPECT_EQ(g.ThumbLength(), c.Thumb);
    EXPECT_EQ(g.ThumbCentre(), c.Centre);
}

// 121 x 17 with A = 17: the room between the arrows is 87.
INSTANTIATE_TEST_SUITE_P(Ranges, ScrollThumb,
    ::testing::Values(
        // Round(max(14, 87 * 10 / 110)) = 14; at 0 the thumb starts right after arrow 1.
        ThumbCase {"SmallPageKeepsTheShortestThumb", 121, 17, 10, 0, 100, 0, true, 14, 24},
        // 87 * 50 / 150 = 29; centre 17 + 14 + Round(58 / 100 * 50) = 60.
        ThumbCase {"PageSetsTheLength", 121, 17, 50, 0, 100, 50, true, 29, 60},
        ThumbCase {"AtMaxTheThumbEndsAtArrowTwo", 121, 17, 50, 0, 100, 100, true, 29, 89},
        ThumbCase {"NoPageGivesTheDefault", 121, 17, 0, 0, 100, 100, true, 14, 97},
        // Max + PageSize - Min = 0: nothing to divide by, the default length.
        ThumbCase {"InvertedByExactlyOnePage", 121, 17, 10, 10, 0, 0, true, 14, 97},
        ThumbCase {"InvertedByMoreThanAPage", 121, 17, 10, 50, 0, 0, true, 14, 97},
        // An empty range puts the thumb's centre at 0.
        ThumbCase {"EmptyRange", 121, 17, 0, 5, 5, 5, true, 14, 0},
        ThumbCase {"EmptyRangeWithAPageFillsTheTrack", 121, 17, 10, 5, 5, 5, true, 87, 0},
        ThumbCase {"DisabledSitsInTheMiddle", 121, 17, 10, 0, 100, 80, false, 14, 60},
        // Shorter than two arrows: the page share is negative, the default length stays.
        ThumbCase {"ShortBar", 30, 17, 10, 0, 100, 50, true, 14, 15}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ScrollGeometry, PositionUnderAPointInvertsTheCentre) {
    const TsScrollGeometry g(121, 17, 10, 0, 100, 0, true);   // travel 73
    for (int pos : {0, 1, 37, 99, 100}) {
        const TsScrollGeometry at(121, 17, 10, 0, 100, pos, true);
        EXPECT_EQ(g.PositionAt(at.ThumbCentre()), pos) << pos;
    }
    EXPECT_LT(g.PositionAt(0), 0);   // not limited: the bar clamps when it sets the position
    EXPECT_GT(g.PositionAt(120), 100);
}

TEST(ScrollGeometry, NoTravelGivesMinAndNoDrag) {
    // L - 2A - T = 121 - 34 - 87 = 0 with a page as large as the range, -x on a short bar.
    const TsScrollGeometry full(121, 17, 10000, 20, 30, 25, true);
    EXPECT_EQ(full.ThumbLength(), 87);
    EXPECT_EQ(full.TrackRoom(), 0);
    EXPECT_TRUE(full.HasThumb());
    EXPECT_FALSE(full.CanDragThumb());
    EXPECT_EQ(full.PositionAt(60), 20);
    const TsScrollGeometry shortBar(40, 17, 0, 0, 100, 50, true);
    EXPECT_LT(shortBar.TrackRoom(), 0);
    EXPECT_FALSE(shortBar.HasThumb());
    EXPECT_EQ(shortBar.PositionAt(20), 0);
    const TsScrollGeometry disabled(121, 17, 10, 40, 100, 50, false);
    EXPECT_EQ(disabled.PositionAt(60), 0);
}

TEST(ScrollGeometry, PartsAreHitArrowsFirstThenThumbThenTrackHalves) {
    const TsScrollGeometry g(121, 17, 10, 0, 100, 50, true);   // thumb 53 .. 67, centre 60
    EXPECT_EQ(g.ThumbStart(), 53);
    EXPECT_EQ(g.PartAt(0), TsScrollPart::Arrow1);
    EXPECT_EQ(g.PartAt(16), TsScrollPart::Arrow1);
    EXPECT_EQ(g.PartAt(17), TsScrollPart::TrackBefore);
    EXPECT_EQ(g.PartAt(52), TsScrollPart::TrackBefore);
    EXPECT_EQ(g.PartAt(53), TsScrollPart::Thumb);
    EXPECT_EQ(g.PartAt(66), TsScrollPart::Thumb);
    EXPECT_EQ(g.PartAt(67), TsScrollPart::TrackAfter);
    EXPECT_EQ(g.PartAt(104), TsScrollPart::Arrow2);
    EXPECT_EQ(g.PartAt(121), TsScrollPart::None);
    EXPECT_EQ(g.PartAt(-1), TsScrollPart::None);
    // A bar shorter than two arrows gives each half of it.
    const TsScrollGeometry tiny(20, 17, 0, 0, 100, 0, true);
    EXPECT_EQ(tiny.Arrow1End(), 10);
    EXPECT_EQ(tiny.Arrow2Start(), 10);
    EXPECT_EQ(tiny.PartAt(9), TsScrollPart::Arrow1);
    EXPECT_EQ(tiny.PartAt(10), TsScrollPart::Arrow2);
    // Without room for the thumb its place is track.
    const TsScrollGeometry noThumb(40, 17, 0, 0, 100, 0, true);
    EXPECT_NE(noThumb.PartAt(20), TsScrollPart::Thumb);
}

}
}
