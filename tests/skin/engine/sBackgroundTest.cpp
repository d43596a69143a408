// Control backgrounds: transparency over the parent's cache, the layers, the corner images, the guards, and
// the index checks against the manager that paints.
#include "support/PixelFixtures.h"

#include "platform/classes/TBitmap.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sGradient.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sSkinManager.h"

#include <gtest/gtest.h>

#include <string>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;

namespace {

int AddSection(TsSkinManager* sm, const std::string& name, TColor color, int transparency = 0) {
    TsGeneralData s;
    s.ClassName = name;
    s.Color = s.HotColor = color;
    s.Transparency = s.HotTransparency = transparency;
    sm->Sections.push_back(s);
    return int(sm->Sections.size()) - 1;
}

TColor SectionOverParent(TColor section, TColor parent, int a) {   // the summing blend: the parent keeps a / 255
    TColor out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int s = int((std::uint32_t(section) >> shift) & 0xFF), d = int((std::uint32_t(parent) >> shift) & 0xFF);
        out |= TColor(std::uint32_t((s * (255 - a) + d * a + 127) >> 8) << shift);
    }
    return out;
}

class BackgroundTest : public ::testing::Test {
protected:
    TestSkin Skin {64, 64, Rgb(0, 200, 0)};
    TsSkinManager* Sm = Skin.Manager();
    std::unique_ptr<TBitmap> Parent = Bitmap24(100, 60);
    std::unique_ptr<TBitmap> Bmp = Bitmap24(40, 20, Rgb(1, 2, 3));
    TsParentCacheInfo Ready() {
        TsParentCacheInfo ci;
        FillCacheInfo(ci, Parent.get(), 5, 3);
        return ci;
    }
    void SetUp() override { Noise(*Parent, 11); }
};

TEST_F(BackgroundTest, FullyTransparentSectionShowsExactlyTheParentsPixels) {
    const int index = AddSection(Sm, "SEC", Rgb(255, 0, 0), 100);
    FillSectionBackground(index, "SEC", Ready(), 0, TRect {0, 0, 40, 20}, TPoint {20, 10}, Bmp.get(), Sm, -1, -1, 0xFF00FF);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(Px(*Bmp, x, y), Px(*Parent, 25 + x, 13 + y));
}

TEST_F(BackgroundTest, FullyTransparentSectionTakesTheParentsAnsweredColour) {
    const int index = AddSection(Sm, "SEC", Rgb(255, 0, 0), 100);
    TsParentCacheInfo ci = Ready();
    ci.ParentAnswer = Rgb(9, 8, 7);
    FillSectionBackground(index, "SEC", ci, 0, TRect {0, 0, 40, 20}, TPoint {0, 0}, Bmp.get(), Sm, -1, -1, 0xFF00FF);
    EXPECT_TRUE(AllPixels(*Bmp, TRect {0, 0, 40, 20}, Rgb(9, 8, 7)));
}

TEST_F(BackgroundTest, HalfTransparentSectionSumsWithTheParent) {
    const int index = AddSection(Sm, "SEC", Rgb(200, 100, 50), 50);
    FillSectionBackground(index, "SEC", Ready(), 0, TRect {0, 0, 40, 20}, TPoint {0, 0}, Bmp.get(), Sm, -1, -1, 0xFF00FF);
    for (int y = 0; y < 20; y += 3)
        for (int x = 0; x < 40; x += 3)
            ASSERT_EQ(Px(*Bmp, x, y), SectionOverParent(Rgb(200, 100, 50), Px(*Parent, 5 + x, 3 + y), 127));
}

TEST_F(BackgroundTest, WithoutAParentCacheATransparentPlainSectionTakesTheParentsColour) {
    const int index = AddSection(Sm, "SEC", Rgb(200, 100, 50), 50);
    TsParentCacheInfo colours;
    colours.ParentAnswer = Rgb(10, 20, 30);
    FillSectionBackground(index, "SEC", colours, 0, TRect {0, 0, 40, 20}, {}, Bmp.get(), Sm, -1, -1, 0xFF00FF);
    EXPECT_TRUE(AllPixels(*Bmp, TRect {0, 0, 40, 20}, Rgb(10, 20, 30)));
}

TEST_F(BackgroundTest, ANestedRenderLeavesTheOuterPaintsColoursAlone) {
    const int index = AddSection(Sm, "SEC", Rgb(200, 100, 50), 50);
    TsParentCacheInfo outer;
    outer.ParentAnswer = Rgb(10, 20, 30);
    // Another control rendered in the middle of the outer paint.
    TsCommonData data(nullptr, false);
    data.SkinIndex = index;
    auto other = Bitmap24(40, 20);
    RenderControlSkin(&data, EmptyCacheInfo, true, 0, TRect {0, 0, 40, 20}, {}, other.get(), false);
    EXPECT_TRUE(AllPixels(*other, TRect {0, 0, 40, 20}, Rgb(200, 100, 50)));   // no parent: its own colour
    FillSectionBackground(index, "SEC", outer, 0, TRect {0, 0, 40, 20}, {}, Bmp.get(), Sm, -1, -1, 0xFF00FF);
    EXPECT_TRUE(AllPixels(*Bmp, TRect {0, 0, 40, 20}, Rgb(10, 20, 30)));
}

TEST_F(BackgroundTest, RectanglesOutsideTheBitmapPaintNothing) {
    const int index = AddSection(Sm, "SEC", Rgb(255, 0, 0));
    TsCommonData data(nullptr, false);
    data.SkinIndex = index;
    for (TRect r : {TRect {-1, 0, 10, 10}, TRect {0, 0, 41, 20}, TRect {0, 0, 40, 21}}) {
        RenderControlSkin(&data, EmptyCacheInfo, true, 0, r, {}, Bmp.get(), false);
        PaintSection(index, "SEC", EmptyCacheInfo, true, 0, r, {}, Bmp.get(), Sm);
    }
    EXPECT_TRUE(AllPixels(*Bmp, TRect {0, 0, 40, 20}, Rgb(1, 2, 3)));
}

TEST_F(BackgroundTest, BottomLeftCornerImageSitsOnTheBitmapsLeftEdge) {
    const int index = AddSection(Sm, "SEC", Rgb(0, 0, 255));
    Fill(Skin.Master(), TRect {0, 0, 4, 4}, Rgb(255, 0, 0));
    const int corner = Skin.AddMask(TRect {0, 0, 4, 4}, 1, 0);
    Skin.Manager()->Masks.Rename(std::size_t(corner), "SEC", "IMGBTMLEFT");
    TsCommonData data(nullptr, false);
    data.SetSkinManager(Sm);
    data.SetSkinSection("SEC");
    ASSERT_EQ(data.SkinIndex, index);
    RenderControlSkin(&data, EmptyCacheInfo, true, 0, TRect {10, 0, 30, 20}, {}, Bmp.get(), false);
    EXPECT_TRUE(AllPixels(*Bmp, TRect {0, 16, 4, 20}, Rgb(255, 0, 0)));   // x 0, not the rectangle's 10
    EXPECT_TRUE(AllPixels(*Bmp, TRect {4, 0, 10, 20}, Rgb(1, 2, 3)));
    EXPECT_TRUE(AllPixels(*Bmp, TRect {10, 0, 30, 20}, Rgb(0, 0, 255)));
}

TEST_F(BackgroundTest, GradientOverImageBlendsAllButTheRightmostColumn) {
    const int index = AddSection(Sm, "SEC", Rgb(0, 0, 255));
    TsGeneralData& s = Sm->Sections[std::size_t(index)];
    s.ImagePercent = s.GradientPercent = 50;
    s.GradientData = "255;255;100;0;0";
    s.GradientArray = ParseGradientData(s.GradientData);
    const int tile = Skin.AddMask(TRect {10, 10, 18, 18}, 1, 0);   // the master's green
    FillSectionBackground(index, "SEC", EmptyCacheInfo, 0, TRect {0, 0, 40, 20}, {}, Bmp.get(), Sm, tile, -1, 0xFF00FF);
    const TColor mixed = SectionOverParent(Rgb(255, 0, 0), Rgb(0, 200, 0), 127);   // the image keeps IP * 255 div 100
    EXPECT_TRUE(AllPixels(*Bmp, TRect {0, 0, 39, 20}, mixed)) << std::hex << Px(*Bmp, 0, 0);
    EXPECT_TRUE(AllPixels(*Bmp, TRect {39, 0, 40, 20}, Rgb(0, 200, 0))) << std::hex << Px(*Bmp, 39, 0);
}

TEST_F(BackgroundTest, ByIndexWeighsTheImageUnderAGradientBy256) {
    const int index = AddSection(Sm, "SEC", Rgb(0, 0, 255));
    TsGeneralData& s = Sm->Sections[std::size_t(index)];
    s.ImagePercent = s.GradientPercent = 50;
    s.GradientArray = ParseGradientData("255;255;100;0;0");
    const int tile = Skin.AddMask(TRect {10, 10, 18, 18}, 1, 0);
    FillSectionBackgroundByIndex(index, "SEC", EmptyCacheInfo, 0, TRect {0, 0, 40, 20}, {}, Bmp.get(), Sm, tile, -1);
    // 50 * 256 div 100 = 128 (the named form keeps 127).
    EXPECT_TRUE(AllPixels(*Bmp, TRect {0, 0, 39, 20}, SectionOverParent(Rgb(255, 0, 0), Rgb(0, 200, 0), 128)))
        << std::hex << Px(*Bmp, 0, 0);
    EXPECT_TRUE(AllPixels(*Bmp, TRect {39, 0, 40, 20}, Rgb(0, 200, 0)));
}

// An image share with no image anywhere: the rectangle takes the section's colour, whatever was there before.
TEST_F(BackgroundTest, AnImageShareWithoutAnImageFillsWithTheColour) {
    struct Case {
        int IP, GP;
    };
    for (const Case c : {Case {40, 0}, Case {100, 0}, Case {120, 0}, Case {30, 30}}) {
        const int index = AddSection(Sm, "SEC" + std::to_string(c.IP) + "_" + std::to_string(c.GP), Rgb(200, 40, 10));
        TsGeneralData& s = Sm->Sections[std::size_t(index)];
        s.ImagePercent = c.IP;
        s.GradientPercent = c.GP;
        auto named = Bitmap24(40, 20, Rgb(1, 2, 3));
        FillSectionBackground(index, s.ClassName, EmptyCacheInfo, 0, TRect {0, 0, 40, 20}, {}, named.get(), Sm, -1, -1,
            0xFF00FF);
        EXPECT_TRUE(AllPixels(*named, TRect {0, 0, 40, 20}, Rgb(200, 40, 10)))
            << c.IP << "/" << c.GP << " " << std::hex << Px(*named, 0, 0);
        auto byIndex = Bitmap24(40, 20, Rgb(1, 2, 3));
        FillSectionBackgroundByIndex(index, s.ClassName, EmptyCacheInfo, 0, TRect {0, 0, 40, 20}, {}, byIndex.get(), Sm,
            -1, -1);
        EXPECT_TRUE(AllPixels(*byIndex, TRect {0, 0, 40, 20}, Rgb(200, 40, 10)))
            << c.IP << "/" << c.GP << " " << std::hex << Px(*byIndex, 0, 0);
    }
}

// A gradient share over the loader's "no gradient" text (one blank) paints the colour, as an empty text does:
// nothing of what the bitmap held before shows through.
TEST_F(BackgroundTest, AGradientShareWithoutGradientStepsPaintsTheColour) {
    for (const char* text : {"", " "}) {
        const int index = AddSection(Sm, std::string("SEC") + (*text ? "BLANK" : "EMPTY"), Rgb(200, 40, 10));
        TsGeneralData& s = Sm->Sections[std::size_t(index)];
        s.GradientPercent = 30;
        s.GradientData = text;
        s.GradientArray = ParseGradientData(s.GradientData);
        ASSERT_TRUE(s.GradientArray.empty());
        auto named = Bitmap24(40, 20, Rgb(1, 2, 3));
        FillSectionBackground(index, s.ClassName, EmptyCacheInfo, 0, TRect {0, 0, 40, 20}, {}, named.get(), Sm, -1, -1,
            0xFF00FF);
        EXPECT_TRUE(AllPixels(*named, TRect {0, 0, 40, 20}, Rgb(200, 40, 10)))
            << "'" << text << "' " << std::hex << Px(*named, 0, 0);
    }
}

TEST_F(BackgroundTest, ImageIndexesAreCheckedAgainstTheManagerThatPaints) {
    // Sm is the default manager and has no images; the other manager's image index is valid only there.
    ASSERT_EQ(DefaultManager, Sm);
    TestSkin other(32, 32, Rgb(0, 0, 200));
    const int index = AddSection(other.Manager(), "SEC", Rgb(255, 0, 0));
    other.Manager()->Sections[std::size_t(index)].ImagePercent = 100;
    Fill(other.Master(), TRect {0, 0, 4, 4}, Rgb(0, 255, 0));
    const int frame = other.AddMask(TRect {0, 0, 4, 4}, 1, 0, 1);
    const int texture = other.AddMask(TRect {8, 8, 16, 16}, 1, 0);
    FillSectionBackground(index, "SEC", EmptyCacheInfo, 0, TRect {0, 0, 40, 20}, {}, Bmp.get(), other.Manager(),
        texture, -1, 0xFF00FF);
    EXPECT_TRUE(AllPixels(*Bmp, TRect {0, 0, 40, 20}, Rgb(0, 0, 200)));   // the texture, not the colour
    PaintSectionByMask(index, frame, texture, -1, "SEC", EmptyCacheInfo, false, 0, TRect {0, 0, 40, 20}, {}, Bmp.get(),
        other.Manager());
    EXPECT_EQ(Px(*Bmp, 0, 0), Rgb(0, 255, 0));   // the frame was painted
    EXPECT_EQ(Px(*Bmp, 20, 10), Rgb(0, 0, 200));
}

TEST_F(BackgroundTest, HotStateTakesTheHotColourAndSkipsTheFinalMaskedTexture) {
    const int index = AddSection(Sm, "SEC", Rgb(255, 0, 0));
    Sm->Sections[std::size_t(index)].HotColor = Rgb(0, 0, 255);
    FillSectionBackground(index, "SEC", EmptyCacheInfo, 1, TRect {0, 0, 40, 20}, {}, Bmp.get(), Sm, -1, -1, 0xFF00FF);
    EXPECT_TRUE(AllPixels(*Bmp, TRect {0, 0, 40, 20}, Rgb(0, 0, 255)));
    FillSectionBackground(index, "SEC", EmptyCacheInfo, 1, TRect {0, 0, 40, 20}, {}, Bmp.get(), Sm, -1, -1, Rgb(1, 1, 1));
    EXPECT_TRUE(AllPixels(*Bmp, TRect {0, 0, 40, 20}, Rgb(1, 1, 1)));   // a custom colour wins
}

TEST(FillRectSolid, FillsTheRectangleClippedToTheBitmap) {
    auto bmp = Bitmap24(10, 10, Rgb(0, 0, 0));
    FillRectSolid(bmp.get(), TRect {-5, 8, 20, 30}, Rgb(7, 7, 7));
    EXPECT_TRUE(AllPixels(*bmp, TRect {0, 8, 10, 10}, Rgb(7, 7, 7)));
    EXPECT_TRUE(AllPixels(*bmp, TRect {0, 0, 10, 8}, Rgb(0, 0, 0)));
}

}
