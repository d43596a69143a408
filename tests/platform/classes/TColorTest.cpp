// TColor tests: system colour resolution and the name / hex text forms used by streaming.
#include "platform/classes/TColor.h"

#include "platform/base/Exceptions.h"
#include "platform/gdi/SysColors.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::classes;

TEST(ColorToRGB, ResolvesSystemColoursThroughTheGdiTable) {
    EXPECT_EQ(ColorToRGB(clBtnFace), TColor(gdi::GetSysColor(gdi::COLOR_BTNFACE)));
    EXPECT_EQ(ColorToRGB(clBtnShadow), TColor(gdi::GetSysColor(gdi::COLOR_BTNSHADOW)));
    EXPECT_EQ(ColorToRGB(clMenuBar), TColor(gdi::GetSysColor(gdi::COLOR_MENUBAR)));
}

TEST(ColorToRGB, LeavesPlainColoursAndMarkersAlone) {
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(clDefault), clDefault);
}

TEST(ColorToRGB, FollowsChangesOfTheSystemTable) {
    const int index = gdi::COLOR_INFOBK;
    const gdi::COLORREF old = gdi::GetSysColor(index);
    const gdi::COLORREF changed = 0x00123456;
    gdi::SetSysColors(1, &index, &changed);
    EXPECT_EQ(ColorToRGB(clInfoBk), 0x123456);
    gdi::SetSysColors(1, &index, &old);
}

TEST(ColorToColorRef, DropsTheTopByteAfterResolving) {
    EXPECT_EQ(ColorToColorRef(clRed), 0x0000FFu);
    EXPECT_EQ(ColorToColorRef(clWindow), gdi::GetSysColor(gdi::COLOR_WINDOW));
    EXPECT_EQ(ColorToColorRef(clNone), 0xFFFFFFu);
}

TEST(SystemColor, ValuesCarryTheIndexInTheLowByte) {
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0xFF00000Fu);
    EXPECT_EQ(static_cast<std::uint32_t>(clScrollBar), 0xFF000000u);
    EXPECT_EQ(static_cast<std::uint32_t>(clInfoBk), 0xFF000018u);
    EXPECT_EQ(static_cast<std::uint32_t>(clHotLight), 0xFF00001Au);
    EXPECT_EQ(static_cast<std::uint32_t>(clGradientActiveCaption), 0xFF00001Bu);
    EXPECT_LT(clBtnFace, 0);
}

struct NamedColor {
    TColor Color;
    const char* Name;
};

class ColorNames : public ::testing::TestWithParam<NamedColor> { };

TEST_P(ColorNames, RoundTripsThroughItsName) {
    const NamedColor& c = GetParam();
    EXPECT_EQ(ColorToString(c.Color), c.Name);
    EXPECT_EQ(StringToColor(c.Name), c.Color);
    TColor back = 0;
    EXPECT_TRUE(IdentToColor(c.Name, back));
    EXPECT_EQ(back, c.Color);
}

INSTANTIATE_TEST_SUITE_P(Table, ColorNames,
    ::testing::Values(NamedColor {clBlack, "clBlack"}, NamedColor {clMaroon, "clMaroon"},
        NamedColor {clGreen, "clGreen"}, NamedColor {clOlive, "clOlive"}, NamedColor {clNavy, "clNavy"},
        NamedColor {clPurple, "clPurple"}, NamedColor {clTeal, "clTeal"}, NamedColor {clGray, "clGray"},
        NamedColor {clSilver, "clSilver"}, NamedColor {clRed, "clRed"}, NamedColor {clLime, "clLime"},
        NamedColor {clYellow, "clYellow"}, NamedColor {clBlue, "clBlue"}, NamedColor {clFuchsia, "clFuchsia"},
        NamedColor {clAqua, "clAqua"}, NamedColor {clWhite, "clWhite"}, NamedColor {clNone, "clNone"},
        NamedColor {clDefault, "clDefault"}, NamedColor {clBtnFace, "clBtnFace"},
        NamedColor {clBtnShadow, "clBtnShadow"}, NamedColor {clBtnHighlight, "clBtnHighlight"},
        NamedColor {clWindowText, "clWindowText"}, NamedColor {clHighlightText, "clHighlightText"},
        NamedColor {cl3DDkShadow, "cl3DDkShadow"}, NamedColor {clInfoBk, "clInfoBk"},
        NamedColor {clMenuHighlight, "clMenuHighlight"}, NamedColor {clMoneyGreen, "clMoneyGreen"}));

TEST(ColorToString, WritesUnnamedColoursAsEightHexDigits) {
    EXPECT_EQ(ColorToString(0x00FF8000), "$00FF8000");
    EXPECT_EQ(ColorToString(0x000001), "$00000001");
    EXPECT_EQ(ColorToString(static_cast<TColor>(0xFF0000FEu)), "$FF0000FE");
}

TEST(StringToColor, ReadsHexDecimalAndNamesWithoutCase) {
    EXPECT_EQ(StringToColor("$00FF8000"), 0x00FF8000);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_EQ(StringToColor("-16777201"), clBtnFace);
    EXPECT_EQ(StringToColor("CLBTNFACE"), clBtnFace);
    EXPECT_EQ(StringToColor("clltgray"), clSilver);
    EXPECT_EQ(StringToColor("$FF00000F"), clBtnFace);
}

TEST(StringToColor, RaisesEConvertErrorForUnknownText) {
    EXPECT_THROW(StringToColor("clNotAColour"), base::EConvertError);
    EXPECT_THROW(StringToColor(""), base::EConvertError);
    EXPECT_THROW(StringToColor("$12G4"), base::EConvertError);
}

TEST(TryStringToColor, LeavesTheColourUntouchedOnFailure) {
    TColor color = clAqua;
    EXPECT_FALSE(TryStringToColor("red", color));
    EXPECT_EQ(color, clAqua);
    EXPECT_TRUE(TryStringToColor("clRed", color));
    EXPECT_EQ(color, clRed);
}

TEST(ColorToString, WritesEachColourWithItsFirstName) {
    // clLtGray and clSilver are one colour: it is written as clSilver.
    EXPECT_EQ(ColorToString(clLtGray), "clSilver");
    EXPECT_EQ(ColorToString(clDkGray), "clGray");
}
