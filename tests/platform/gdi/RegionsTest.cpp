// Region tests: banding, combine operations and their results, tests and the Windows calls.
#include "platform/gdi/Region.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace korvex::gdi;

namespace {

std::set<std::pair<int, int>> Pixels(const BandedRegion& region) {
    std::set<std::pair<int, int>> out;
    for (const RECT& r : region.Rects())
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                out.insert({x, y});
    return out;
}

bool WellFormed(const BandedRegion& region) {
    const auto& rects = region.Rects();
    for (size_t i = 0; i < rects.size(); ++i) {
        if (IsRectEmpty(&rects[i])) return false;
        if (i == 0) continue;
        const RECT& a = rects[i - 1];
        const RECT& b = rects[i];
        if (a.top == b.top) {
            if (a.bottom != b.bottom || a.right >= b.left)   // touching rects in a band are merged
                return false;
        } else if (b.top < a.bottom) {
            return false;
        }
    }
    return true;
}

}

TEST(BandedRegion, EmptyRectGivesEmptyRegion) {
    EXPECT_TRUE(BandedRegion(RECT {5, 5, 5, 10}).IsEmpty());
    EXPECT_TRUE(BandedRegion(RECT {5, 5, 2, 10}).IsEmpty());
    EXPECT_EQ(BandedRegion().Complexity(), NULLREGION);
}

TEST(CombineRgn, UnionOfTouchingRectsMergesIntoOneBand) {
    const BandedRegion a(RECT {0, 0, 10, 10});
    const BandedRegion b(RECT {10, 0, 20, 10});
    const BandedRegion u = BandedRegion::Combine(a, b, RGN_OR);
    ASSERT_EQ(u.Rects().size(), 1u);
    EXPECT_EQ(u.Rects()[0], (RECT {0, 0, 20, 10}));
    EXPECT_EQ(u.Complexity(), SIMPLEREGION);
}

TEST(CombineRgn, UnionOfStackedEqualRowsJoinsBands) {
    const BandedRegion u
        = BandedRegion::Combine(BandedRegion(RECT {0, 0, 10, 5}), BandedRegion(RECT {0, 5, 10, 9}), RGN_OR);
    ASSERT_EQ(u.Rects().size(), 1u);
    EXPECT_EQ(u.Box(), (RECT {0, 0, 10, 9}));
}

TEST(CombineRgn, OverlappingUnionIsBandedIntoThreeBands) {
    const BandedRegion u
        = BandedRegion::Combine(BandedRegion(RECT {0, 0, 10, 10}), BandedRegion(RECT {5, 5, 15, 15}), RGN_OR);
    EXPECT_TRUE(WellFormed(u));
    const std::vector<RECT> expected = {{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}};
    EXPECT_EQ(u.Rects(), expected);
    EXPECT_EQ(u.Complexity(), COMPLEXREGION);
}

TEST(CombineRgn, DifferenceCutsAHole) {
    const BandedRegion d
        = BandedRegion::Combine(BandedRegion(RECT {0, 0, 10, 10}), BandedRegion(RECT {3, 3, 6, 6}), RGN_DIFF);
    EXPECT_TRUE(WellFormed(d));
    EXPECT_EQ(Pixels(d).size(), 100u - 9u);
    EXPECT_FALSE(d.Contains(3, 3));
    EXPECT_FALSE(d.Contains(5, 5));
    EXPECT_TRUE(d.Contains(6, 6));
    EXPECT_TRUE(d.Contains(2, 5));
}

TEST(CombineRgn, DisjointIntersectionIsEmpty) {
    const BandedRegion i
        = BandedRegion::Combine(BandedRegion(RECT {0, 0, 10, 10}), BandedRegion(RECT {10, 0, 20, 10}), RGN_AND);
    EXPECT_TRUE(i.IsEmpty());
    EXPECT_EQ(i.Box(), (RECT {0, 0, 0, 0}));
}

TEST(CombineRgn, XorOfARegionWithItselfIsEmpty) {
    const BandedRegion a = BandedRegion::FromRects(std::vector<RECT> {{0, 0, 4, 4}, {6, 2, 9, 8}});
    EXPECT_TRUE(BandedRegion::Combine(a, a, RGN_XOR).IsEmpty());
    EXPECT_TRUE(BandedRegion::Combine(a, a, RGN_DIFF).IsEmpty());
    EXPECT_EQ(BandedRegion::Combine(a, a, RGN_AND), a);
    EXPECT_EQ(BandedRegion::Combine(a, a, RGN_OR), a);
}

// Every operation agrees with the same operation done pixel by pixel, on random rectangle sets.
TEST(CombineRgn, AllOperationsMatchPixelSetsOnRandomInput) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> coord(-5, 25);
    for (int round = 0; round < 60; ++round) {
        std::vector<RECT> ra;
        std::vector<RECT> rb;
        for (int i = 0; i < 4; ++i) {
            ra.push_back(RECT {coord(random), coord(random), coord(random), coord(random)});
            rb.push_back(RECT {coord(random), coord(random), coord(random), coord(random)});
        }
        const BandedRegion a = BandedRegion::FromRects(ra);
        const BandedRegion b = BandedRegion::FromRects(rb);
        const auto pa = Pixels(a);
        const auto pb = Pixels(b);
        for (int mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF}) {
            const BandedRegion c = BandedRegion::Combine(a, b, mode);
            ASSERT_TRUE(WellFormed(c));
            std::set<std::pair<int, int>> expected;
            for (int y = -5; y < 25; ++y)
                for (int x = -5; x < 25; ++x) {
                    const bool inA = pa.count({x, y}) != 0;
                    const bool inB = pb.count({x, y}) != 0;
                    const bool in = mode == RGN_AND ? inA && inB
                        : mode == RGN_OR            ? inA || inB
                        : mode == RGN_XOR           ? inA != inB
                                                    : inA && !inB;
                    if (in) expected.insert({x, y});
                }
            ASSERT_EQ(Pixels(c), expected) << "mode " << mode << " round " << round;
            // Equal pixel sets have equal rectangle lists.
            ASSERT_EQ(c, BandedRegion::FromRects(c.Rects()));
        }
    }
}

// Clipping by one rectangle takes a shorter road than two regions: it must give the same canonical lists,
// with the rectangle on either side of an intersection and rows that stay equal after the cut joined.
TEST(CombineRgn, ClippingByOneRectangleMatchesPixelSets) {
    std::mt19937 random(777);
    std::uniform_int_distribution<int> coord(-3, 23);
    for (int round = 0; round < 200; ++round) {
        std::vector<RECT> ra;
        for (int i = 0; i < 8; ++i)
            ra.push_back(RECT {coord(random), coord(random), coord(random), coord(random)});
        const BandedRegion a = BandedRegion::FromRects(ra);
        const BandedRegion r(RECT {coord(random) / 2, coord(random) / 2, 12 + coord(random) / 2, 12 + coord(random) / 2});
        const auto pa = Pixels(a);
        const auto pr = Pixels(r);
        std::set<std::pair<int, int>> both;
        std::set<std::pair<int, int>> outside;
        for (const auto& p : pa)
            (pr.count(p) ? both : outside).insert(p);
        const BandedRegion cases[] = {BandedRegion::Combine(a, r, RGN_AND), BandedRegion::Combine(r, a, RGN_AND),
            a.Intersect(r.Box()), BandedRegion::Combine(a, r, RGN_DIFF)};
        for (int k = 0; k < 4; ++k) {
            ASSERT_TRUE(WellFormed(cases[k])) << "round " << round << " case " << k;
            ASSERT_EQ(Pixels(cases[k]), k < 3 ? both : outside) << "round " << round << " case " << k;
            ASSERT_EQ(cases[k], BandedRegion::FromRects(cases[k].Rects())) << "round " << round << " case " << k;
        }
    }
}

TEST(CombineRgn, CuttingAColumnOutOfStackedRowsJoinsThem) {
    // Two bands that differ only inside the cut become one after it.
    const RECT rows[] = {RECT {0, 0, 10, 5}, RECT {0, 5, 4, 10}, RECT {6, 5, 10, 10}};
    const BandedRegion a = BandedRegion::FromRects(rows);
    ASSERT_EQ(a.Rects().size(), 3u);
    const BandedRegion cut = BandedRegion::Combine(a, BandedRegion(RECT {3, 0, 7, 10}), RGN_DIFF);
    ASSERT_EQ(cut.Rects().size(), 2u);
    EXPECT_EQ(cut.Rects()[0].top, 0);
    EXPECT_EQ(cut.Rects()[0].bottom, 10);
    const BandedRegion clip = BandedRegion::Combine(a, BandedRegion(RECT {0, 2, 3, 8}), RGN_AND);
    ASSERT_EQ(clip.Rects().size(), 1u);
    EXPECT_EQ(clip.Box().bottom, 8);
}

TEST(BandedRegion, FromRectsMergesOverlapsInOneStep) {
    std::vector<RECT> rows;
    for (int y = 0; y < 10; ++y)
        rows.push_back(RECT {0, y, 10, y + 1});
    rows.push_back(RECT {2, 2, 3, 3});
    rows.push_back(RECT {0, 0, 0, 5});   // empty: ignored
    const BandedRegion r = BandedRegion::FromRects(rows);
    ASSERT_EQ(r.Rects().size(), 1u);
    EXPECT_EQ(r.Rects()[0], (RECT {0, 0, 10, 10}));
}

TEST(BandedRegion, ContainsExcludesRightAndBottomEdges) {
    const BandedRegion r(RECT {1, 1, 4, 4});
    EXPECT_TRUE(r.Contains(1, 1));
    EXPECT_TRUE(r.Contains(3, 3));
    EXPECT_FALSE(r.Contains(4, 3));
    EXPECT_FALSE(r.Contains(3, 4));
    EXPECT_FALSE(r.Contains(0, 1));
}

TEST(BandedRegion, IntersectsNeedsASharedPixel) {
    const BandedRegion r(RECT {0, 0, 10, 10});
    EXPECT_TRUE(r.Intersects(RECT {9, 9, 20, 20}));
    EXPECT_FALSE(r.Intersects(RECT {10, 0, 20, 10}));
    EXPECT_FALSE(r.Intersects(RECT {3, 3, 3, 8}));
}

TEST(BandedRegion, ContainsRectNeedsEveryPixel) {
    const BandedRegion r
        = BandedRegion::Combine(BandedRegion(RECT {0, 0, 10, 10}), BandedRegion(RECT {4, 4, 5, 5}), RGN_DIFF);
    EXPECT_TRUE(r.ContainsRect(RECT {0, 0, 4, 10}));
    EXPECT_FALSE(r.ContainsRect(RECT {0, 0, 10, 10}));
    EXPECT_FALSE(r.ContainsRect(RECT {2, 2, 2, 2}));
}

TEST(RegionCalls, CombineRgnReturnsTheResultKind) {
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(20, 0, 30, 10);
    HRGN d = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), NULLREGION);
    EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_COPY), SIMPLEREGION);
    // The destination may be a source.
    EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
    RECT box;
    EXPECT_EQ(GetRgnBox(a, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT {0, 0, 30, 10}));
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(d);
}

TEST(RegionCalls, BadHandlesAndModesFailWithoutCrashing) {
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    EXPECT_EQ(CombineRgn(nullptr, a, a, RGN_OR), ERROR);
    EXPECT_EQ(CombineRgn(a, a, nullptr, RGN_OR), ERROR);
    EXPECT_EQ(CombineRgn(a, a, a, 99), ERROR);
    EXPECT_EQ(OffsetRgn(nullptr, 1, 1), ERROR);
    EXPECT_EQ(GetRgnBox(a, nullptr), ERROR);
    EXPECT_FALSE(PtInRegion(nullptr, 0, 0));
    EXPECT_FALSE(RectInRegion(a, nullptr));
    DeleteObject(a);
    // A deleted handle is refused, not used.
    EXPECT_EQ(OffsetRgn(a, 1, 1), ERROR);
    EXPECT_FALSE(DeleteObject(a));
}

TEST(RegionCalls, InvertedRectIsNormalised) {
    HRGN r = CreateRectRgn(10, 10, 0, 0);
    EXPECT_TRUE(PtInRegion(r, 0, 0));
    EXPECT_TRUE(PtInRegion(r, 9, 9));
    EXPECT_FALSE(PtInRegion(r, 10, 10));
    DeleteObject(r);
}

TEST(RegionCalls, OffsetAndEquality) {
    HRGN a = CreateRectRgn(0, 0, 5, 5);
    HRGN b = CreateRectRgn(3, 4, 8, 9);
    EXPECT_FALSE(EqualRgn(a, b));
    EXPECT_EQ(OffsetRgn(a, 3, 4), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(a, b));
    DeleteObject(a);
    DeleteObject(b);
}

TEST(RegionCalls, RegionFromManyOnePixelRuns) {
    std::vector<RECT> runs;
    for (int y = 0; y < 20; ++y)
        runs.push_back(RECT {y, y, y + 3, y + 1});
    HRGN r = CreateRgnFromRects(runs);
    EXPECT_EQ(GetRegionRects(r).size(), 20u);
    EXPECT_TRUE(PtInRegion(r, 5, 5));
    EXPECT_TRUE(PtInRegion(r, 7, 5));
    EXPECT_FALSE(PtInRegion(r, 8, 5));
    DeleteObject(r);
}

TEST(RegionCalls, CuttingRunsOutOfARectangleOneByOne) {
    // Cutting transparent runs out of a button rectangle, as shaped windows are made.
    HRGN button = CreateRectRgn(0, 0, 10, 4);
    for (int y = 0; y < 2; ++y) {
        HRGN run = CreateRectRgn(0, y, 2 - y, y + 1);
        EXPECT_NE(CombineRgn(button, button, run, RGN_DIFF), ERROR);
        DeleteObject(run);
    }
    EXPECT_FALSE(PtInRegion(button, 0, 0));
    EXPECT_FALSE(PtInRegion(button, 1, 0));
    EXPECT_TRUE(PtInRegion(button, 2, 0));
    EXPECT_FALSE(PtInRegion(button, 0, 1));
    EXPECT_TRUE(PtInRegion(button, 1, 1));
    EXPECT_TRUE(PtInRegion(button, 0, 2));
    DeleteObject(button);
}

TEST(RegionCalls, EllipticRegionTouchesItsBoxSides) {
    HRGN r = CreateEllipticRgn(0, 0, 11, 11);
    RECT box;
    GetRgnBox(r, &box);
    EXPECT_EQ(box, (RECT {0, 0, 11, 11}));
    EXPECT_TRUE(PtInRegion(r, 5, 0));
    EXPECT_FALSE(PtInRegion(r, 0, 0));
    EXPECT_TRUE(PtInRegion(r, 5, 5));
    DeleteObject(r);
}

TEST(RegionCalls, RoundRectRegionCutsOnlyTheCorners) {
    HRGN r = CreateRoundRectRgn(0, 0, 20, 10, 6, 6);
    EXPECT_FALSE(PtInRegion(r, 0, 0));
    EXPECT_FALSE(PtInRegion(r, 19, 9));
    EXPECT_TRUE(PtInRegion(r, 10, 0));
    EXPECT_TRUE(PtInRegion(r, 0, 5));
    DeleteObject(r);
}
