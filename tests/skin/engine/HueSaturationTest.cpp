// Hue and saturation shifts of colours, bitmaps and a loaded skin's tables.
#include "platform/classes/TBitmap.h"
#include "skin/engine/sSkinManager.h"

#include "support/SkinFixtures.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::test;

TEST(ChangeColorHue, RotatesPureRedToGreenAndBlue) {
    EXPECT_EQ(ChangeColorHue(120, 0x0000FF), 0x00FF00);
    EXPECT_EQ(ChangeColorHue(-120, 0x0000FF), 0xFF0000);
    EXPECT_EQ(ChangeColorHue(240, 0x0000FF), 0xFF0000);
}

TEST(ChangeColorHue, WrapsAroundTheCircle) {
    EXPECT_EQ(ChangeColorHue(360, 0x0000FF), 0x0000FF);
    EXPECT_EQ(ChangeColorHue(480, 0x0000FF), 0x00FF00);
    EXPECT_EQ(ChangeColorHue(-480, 0x0000FF), 0xFF0000);
}

TEST(ChangeColorHue, LeavesGreysAndDropsTheHighByte) {
    EXPECT_EQ(ChangeColorHue(90, 0x808080), 0x808080);
    EXPECT_EQ(ChangeColorHue(90, 0x000000), 0x000000);
    EXPECT_EQ(ChangeColorHue(0, 0x7F0000FF), 0x0000FF);
}

TEST(ChangeColorHue, ConvertsSystemColoursFirst) {
    EXPECT_EQ(ChangeColorHue(0, classes::clBtnFace), classes::ColorToRGB(classes::clBtnFace));
}

TEST(ChangeColorSaturation, MovesChannelsTowardsOrAwayFromTheGrey) {
    EXPECT_EQ(ChangeColorSaturation(0x0000FF, 100), 0x555555);
    EXPECT_EQ(ChangeColorSaturation(0x0000FF, 0), 0x0000FF);
    EXPECT_EQ(ChangeColorSaturation(0x102030, -100), 0x002040);   // distance doubled, limited to 0..255
    EXPECT_EQ(ChangeColorSaturation(0x7F0000FF, 100), 0x7F555555);   // high byte kept
}

TEST(ChangeColorSaturation, RoundsHalvesToEven) {
    // avg 1; 50 % of the way from 0 to 1 is 0.5 -> 0, from 2 to 1 is 1.5 -> 2
    EXPECT_EQ(ChangeColorSaturation(0x000102, 50), 0x000102);
}

namespace {

struct SkinWithColours {
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    SkinWithColours() {
        TsGeneralData d;
        d.ClassName = "BUTTON";
        d.Color = 0x0000FF;
        d.HotColor = 0x0000FF;
        d.FontColor[1] = 0x0000FF;
        d.FontColor[2] = -1;
        d.HotFontColor[1] = 0x0000FF;
        d.HotFontColor[5] = -1;
        d.BorderColor1 = 0x0000FF;
        d.BorderColor2 = 0x0000FF;
        d.ShadowColor = 0x0000FF;
        d.GradientData = "255;255;100;0;0";
        d.GradientArray = ParseGradientData(d.GradientData);
        d.HotGradientData = "255;255;100;0;0";
        d.HotGradientArray = ParseGradientData(d.HotGradientData);
        sm->Sections.push_back(std::move(d));
        sm->LoadedSkin.Shadow1Color = 0x0000FF;
        sm->MasterBitmap = MakeBitmap(3, 1, 0x0000FF);
        SetPixel(*sm->MasterBitmap, 1, 0, 0xFF00FF);
        SetPixel(*sm->MasterBitmap, 2, 0, 0x808080);
        TsMaskData own;
        own.Bmp = MakeBitmap(1, 1, 0x0000FF);
        own.Bmp->SetPixelFormat(classes::pf32bit);
        sm->Masks.push_back(std::move(own));
    }
};

}

TEST(ChangeSkinHue, ShiftsPicturesAndSectionColoursButNotBordersOrShadows) {
    SkinWithColours skin;
    skin.sm->ChangeSkinHue(120);
    const TsGeneralData& d = skin.sm->Sections[0];
    EXPECT_EQ(d.Color, 0x00FF00);
    EXPECT_EQ(d.HotColor, 0x00FF00);
    EXPECT_EQ(d.FontColor[1], 0x00FF00);
    EXPECT_EQ(d.FontColor[2], -1);
    EXPECT_EQ(d.HotFontColor[5], -1);
    EXPECT_EQ(d.GradientArray[0].Color1, 0x00FF00);
    EXPECT_EQ(d.HotGradientArray[0].Color2, 0x00FF00);
    EXPECT_EQ(d.BorderColor1, 0x0000FF);
    EXPECT_EQ(d.BorderColor2, 0x0000FF);
    EXPECT_EQ(d.ShadowColor, 0x0000FF);
    EXPECT_EQ(skin.sm->LoadedSkin.Shadow1Color, 0x00FF00);
    EXPECT_EQ(PixelAt(*skin.sm->MasterBitmap, 0, 0), 0x00FF00);
    EXPECT_EQ(PixelAt(*skin.sm->MasterBitmap, 1, 0), 0xFF00FF);
    EXPECT_EQ(PixelAt(*skin.sm->MasterBitmap, 2, 0), 0x808080);
    ASSERT_EQ(skin.sm->Masks[0].Bmp->PixelFormat(), classes::pf24bit);
    EXPECT_EQ(PixelAt(*skin.sm->Masks[0].Bmp, 0, 0), 0x00FF00);
}

TEST(ChangeSkinHue, ZeroChangesNothing) {
    SkinWithColours skin;
    skin.sm->ChangeSkinHue(0);
    EXPECT_EQ(skin.sm->Sections[0].Color, 0x0000FF);
    EXPECT_EQ(skin.sm->Masks[0].Bmp->PixelFormat(), classes::pf32bit);
}

TEST(ChangeSkinSaturation, MinusHundredTurnsRedIntoItsGrey) {
    SkinWithColours skin;
    skin.sm->ChangeSkinSaturation(-100);
    EXPECT_EQ(skin.sm->Sections[0].Color, 0x555555);
    EXPECT_EQ(PixelAt(*skin.sm->MasterBitmap, 0, 0), 0x555555);
    EXPECT_EQ(PixelAt(*skin.sm->MasterBitmap, 1, 0), 0xFF00FF);
    EXPECT_EQ(skin.sm->Sections[0].BorderColor1, 0x0000FF);
    EXPECT_EQ(skin.sm->Sections[0].FontColor[2], -1);
}

TEST(ChangeSkinSaturation, ValuesWrapAroundAHundredAndOne) {
    SkinWithColours a;
    a.sm->ChangeSkinSaturation(101);
    EXPECT_EQ(a.sm->Sections[0].Color, 0x0000FF);
    SkinWithColours b;
    b.sm->ChangeSkinSaturation(-202);
    EXPECT_EQ(b.sm->Sections[0].Color, 0x0000FF);
    SkinWithColours c;
    c.sm->ChangeSkinSaturation(-201);   // (201 rem 101) = 100: all grey
    EXPECT_EQ(c.sm->Sections[0].Color, 0x555555);
}

TEST(ChangeSkinSaturation, OnlyTheWholeStepsOfTheGradientTextAreShifted) {
    SkinWithColours skin;
    TsGeneralData& d = skin.sm->Sections[0];
    d.GradientData = "255;255;100;0";   // fewer than five words: no step counts
    skin.sm->ChangeSkinSaturation(-100);
    EXPECT_EQ(d.GradientArray[0].Color1, 0x0000FF);
    EXPECT_EQ(d.HotGradientArray[0].Color1, 0x555555);
}
