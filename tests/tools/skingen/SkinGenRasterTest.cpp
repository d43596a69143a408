// The generator's drawing: coverage, pictures with their grey masks and holes, frames that tile, packing.
#include "platform/classes/TBitmap.h"
#include "tools/skingen/SkinModel.h"
#include "tools/skingen/Widgets.h"

#include "support/SkinFixtures.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skingen;
using skin::test::PixelAt;

namespace {

std::unique_ptr<classes::TBitmap> Blank(int w, int h) {
    return skin::test::MakeBitmap(w, h, 0x000000);
}

}

TEST(SkinGenRaster, WebColoursBecomeSkinColoursWithRedInTheLowByte) {
    EXPECT_EQ(Web(0x112233), 0x332211);
    EXPECT_EQ(RedOf(Web(0xFF0000)), 255);
    EXPECT_EQ(Mix(0x000000, 0xFFFFFF, 0.5f), 0x808080);
}

TEST(SkinGenRaster, CoverageCountsSubsamplesInsideTheShape) {
    const TRoundRect half(TBox {0.5f, 0, 4, 4}, 0);
    EXPECT_FLOAT_EQ(Coverage(half, 1, 1), 1.0f);
    EXPECT_FLOAT_EQ(Coverage(half, 0, 1), 0.5f);
    EXPECT_FLOAT_EQ(Coverage(half, 5, 1), 0.0f);
}

TEST(SkinGenRaster, RoundedCornersLeaveTheCornerPixelOutside) {
    const std::vector<bool> out = OutsideOf(TRoundRect(TBox {0, 0, 12, 12}, 4), 12, 12);
    EXPECT_TRUE(out[0]);
    EXPECT_TRUE(out[11]);
    EXPECT_FALSE(out[6 * 12 + 6]);
    EXPECT_FALSE(out[6 * 12 + 0]);   // the middle of a side is inside
}

TEST(SkinGenRaster, OpaquePixelsShowThePictureThroughABlackMask) {
    TLayer layer(2, 1);
    layer.Fill(TRoundRect(TBox {0, 0, 1, 1}, 0), TSolid {0x0000FF});
    auto bmp = Blank(2, 2);
    PutPicture(*bmp, 0, 0, layer, nullptr, 1, 1);
    EXPECT_EQ(PixelAt(*bmp, 0, 0), 0x0000FF);
    EXPECT_EQ(PixelAt(*bmp, 0, 1), 0x000000);
    // A clear pixel with no holes given is a hole: the key colour over a white mask.
    EXPECT_EQ(PixelAt(*bmp, 1, 0), 0xFF00FF);
    EXPECT_EQ(PixelAt(*bmp, 1, 1), 0xFFFFFF);
}

TEST(SkinGenRaster, ClearPixelsInsideAShapeAreSeeThroughNotHoles) {
    TLayer layer(2, 1);
    auto bmp = Blank(2, 2);
    const std::vector<bool> holes {true, false};
    PutPicture(*bmp, 0, 0, layer, &holes, 1, 1);
    EXPECT_EQ(PixelAt(*bmp, 0, 0), 0xFF00FF);
    EXPECT_NE(PixelAt(*bmp, 1, 0), 0xFF00FF);
    EXPECT_EQ(PixelAt(*bmp, 1, 1), 0xFFFFFF);   // keeps what lies below
}

TEST(SkinGenRaster, HalfCoveredPixelsGetAMiddleGreyMask) {
    TLayer layer(1, 1);
    layer.Fill(TRoundRect(TBox {0, 0, 1, 1}, 0), TSolid {0x00FF00, 0.5f});
    auto bmp = Blank(1, 2);
    PutPicture(*bmp, 0, 0, layer, nullptr, 1, 1);
    EXPECT_EQ(PixelAt(*bmp, 0, 0), 0x00FF00);   // the colour itself, not premultiplied
    const int mask = PixelAt(*bmp, 0, 1) & 0xFF;
    EXPECT_NEAR(mask, 128, 1);
}

TEST(SkinGenRaster, APictureColourEqualToTheKeyIsMovedOffIt) {
    TLayer layer(1, 1);
    layer.Fill(TRoundRect(TBox {0, 0, 1, 1}, 0), TSolid {0xFF00FF});
    auto bmp = Blank(1, 2);
    PutPicture(*bmp, 0, 0, layer, nullptr, 1, 1);
    EXPECT_NE(PixelAt(*bmp, 0, 0), 0xFF00FF);
}

// Side and centre cells are tiled by the nine-part painter, so every row of a vertical side cell must be the
// same, and every column of a horizontal one.
TEST(SkinGenRaster, FrameSideCellsAreUniformAlongTheirSide) {
    TFrameLook look;
    look.Radius = Round(5);
    look.Outer = 0x202020;
    look.Inner = 0xFF8000;
    look.InnerAlpha = 0.5f;
    look.LightAlpha = 0.8f;
    look.Shade = 0x000000;
    look.ShadeAlpha = 0.3f;
    look.Fill = 0x0000FF;
    look.FillAlpha = 0.2f;
    const int cell = 7;
    const TLayer layer = DrawFrame(3 * cell, 3 * cell, look, cell);
    auto same = [](const TRgba& a, const TRgba& b) { return a.R == b.R && a.G == b.G && a.B == b.B && a.A == b.A; };
    for (int y = cell; y < 2 * cell; ++y)
        for (int x = 0; x < 3 * cell; ++x)
            ASSERT_TRUE(same(layer.At(x, y), layer.At(x, cell))) << x << "," << y;
    for (int x = cell; x < 2 * cell; ++x)
        for (int y = 0; y < 3 * cell; ++y)
            ASSERT_TRUE(same(layer.At(x, y), layer.At(cell, y))) << x << "," << y;
}

TEST(SkinGenRaster, OpenEdgesDrawNoLineAndHaveNoHoles) {
    TFrameLook look;
    look.Radius = RoundTop(4);
    look.Open = EdgeBottom;
    const TLayer layer = DrawFrame(12, 12, look, 4);
    EXPECT_EQ(layer.At(6, 11).A, 0.0f);   // no bottom line
    EXPECT_GT(layer.At(6, 0).A, 0.9f);   // the top line
    const std::vector<bool> holes = FrameHoles(12, 12, look);
    EXPECT_TRUE(holes[0]);
    EXPECT_FALSE(holes[11 * 12 + 0]);
}

TEST(SkinModel, SettingAKeyAgainReplacesItsValueInPlace) {
    TSectionSpec s("BUTTON");
    s.Set("COLOR", 1).Set("FONTCOLOR", 2).Set("COLOR", 3);
    ASSERT_EQ(s.Keys().size(), 2u);
    EXPECT_EQ(s.Keys()[0].first, "COLOR");
    EXPECT_EQ(s.Keys()[0].second, "3");
    EXPECT_EQ(*s.Find("FONTCOLOR"), "2");
    EXPECT_EQ(s.Find("HOTCOLOR"), nullptr);
}

TEST(SkinModel, PackingPlacesEveryPictureInsideTheMasterWithoutOverlap) {
    TSkinModel skin("Test");
    for (int i = 0; i < 12; ++i) {
        TImageSpec im;
        im.Section = "S" + std::to_string(i % 3);
        im.Key = "K" + std::to_string(i);
        for (int s = 0; s < 1 + i % 3; ++s)
            im.States.emplace_back(10 + i * 3, 5 + i);
        skin.AddImage(std::move(im));
    }
    skin.Pack(64);
    const auto& placed = skin.Images();
    ASSERT_EQ(placed.size(), 12u);
    for (std::size_t a = 0; a < placed.size(); ++a) {
        const TPlacedImage& p = placed[a];
        EXPECT_GE(p.Left, 0);
        EXPECT_LE(p.Right, skin.Master()->Width());
        EXPECT_LE(p.Bottom, skin.Master()->Height());
        EXPECT_EQ(p.Bottom - p.Top, 2 * (5 + static_cast<int>(a)));   // picture and mask rows
        for (std::size_t b = a + 1; b < placed.size(); ++b) {
            const TPlacedImage& q = placed[b];
            const bool apart = p.Right <= q.Left || q.Right <= p.Left || p.Bottom <= q.Top || q.Bottom <= p.Top;
            EXPECT_TRUE(apart) << p.Key << " overlaps " << q.Key;
        }
    }
}

TEST(SkinModel, ImageKeysGetTheirRectangleValueWhereTheyWereAdded) {
    TSkinModel skin("Test");
    skin.Section("BUTTON").Set("COLOR", 5);
    TImageSpec im;
    im.Section = "BUTTON";
    im.Key = "BORDERSMASK";
    im.States.assign(3, TLayer(6, 4));
    im.BorderWidth = 2;
    skin.AddImage(std::move(im));
    skin.Section("BUTTON").Set("FONTCOLOR", 7);
    skin.Pack();
    EXPECT_EQ(*skin.FindSection("BUTTON")->Find("BORDERSMASK"), "# (0,0,18,8) (3,1,2,0)");
    EXPECT_EQ(skin.OptionsText(), "[BUTTON]\r\nCOLOR=5\r\nBORDERSMASK=# (0,0,18,8) (3,1,2,0)\r\nFONTCOLOR=7\r\n");
}

TEST(SkinModel, StatePicturesOfDifferentSizesAreRefused) {
    TSkinModel skin("Test");
    TImageSpec im;
    im.Section = "A";
    im.Key = "B";
    im.States.emplace_back(4, 4);
    im.States.emplace_back(5, 4);
    skin.AddImage(std::move(im));
    EXPECT_THROW(skin.Pack(), std::invalid_argument);
    TImageSpec none;
    none.Key = "C";
    EXPECT_THROW(skin.AddImage(std::move(none)), std::invalid_argument);
}
