// TFont, TPen and TBrush: sizes and heights, one change notification per change, handles and their attributes,
// assignment and the published properties.
#include "platform/classes/GraphicsObjects.h"

#include "platform/base/Exceptions.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/gdi/PenBrush.h"
#include "platform/gdi/SysColors.h"

#include <gtest/gtest.h>

#include <functional>

using namespace korvex;
using namespace korvex::classes;

namespace {

int CountChanges(TGraphicsObject& object, const std::function<void()>& action) {
    int changes = 0;
    object.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &object);
        ++changes;
    };
    action();
    object.OnChange = nullptr;
    return changes;
}

}

// ---------------------------------------------------------------------------------------------------------
// TFont

TEST(TFont, StartsAsEightPointMsSansSerifInTheWindowTextColour) {
    TFont font;
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Color(), clWindowText);
    EXPECT_EQ(font.Charset(), gdi::DEFAULT_CHARSET);
    EXPECT_EQ(font.Pitch(), fpDefault);
    EXPECT_TRUE(font.Style().Empty());
}

struct SizeHeight {
    int Size;
    int Height;
};

class FontSizes : public ::testing::TestWithParam<SizeHeight> { };

TEST_P(FontSizes, HeightIsMinusMulDivOfTheSizeAndBack) {
    TFont font;
    font.SetSize(GetParam().Size);
    EXPECT_EQ(font.Height(), GetParam().Height);
    font.SetHeight(GetParam().Height);
    EXPECT_EQ(font.Size(), GetParam().Size);
}

INSTANTIATE_TEST_SUITE_P(Table, FontSizes,
    ::testing::Values(SizeHeight {8, -11}, SizeHeight {9, -12}, SizeHeight {10, -13}, SizeHeight {11, -15},
        SizeHeight {12, -16}, SizeHeight {14, -19}, SizeHeight {24, -32}, SizeHeight {1, -1}));

TEST(TFont, HeightsBetweenPointSizesRoundToTheNearestSize) {
    TFont font;
    font.SetHeight(-14);   // 10.5 points: halves round away from zero
    EXPECT_EQ(font.Size(), 11);
    font.SetHeight(-17);   // 12.75
    EXPECT_EQ(font.Size(), 13);
}

TEST(TFont, APositiveCellHeightGivesANegativeSize) {
    TFont font;
    font.SetHeight(16);
    EXPECT_EQ(font.Size(), -12);
}

TEST(TFont, TheLastOfSizeAndHeightWins) {
    TFont font;
    font.SetSize(10);
    font.SetHeight(-(10 + 3));
    EXPECT_EQ(font.Height(), -13);
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -16);
}

TEST(TFont, EachSetterFiresOnceOnAChangeAndNeverForTheSameValue) {
    TFont font;
    const std::vector<std::pair<const char*, std::function<void()>>> setters = {
        {"Size", [&] { font.SetSize(12); }},
        {"Height", [&] { font.SetHeight(-20); }},
        {"Name", [&] { font.SetName("Tahoma"); }},
        {"Color", [&] { font.SetColor(clRed); }},
        {"Style",
            [&] {
                font.SetStyle({fsBold, fsItalic});
            }},
        {"Charset", [&] { font.SetCharset(gdi::RUSSIAN_CHARSET); }},
        {"Pitch", [&] { font.SetPitch(fpFixed); }},
        {"Orientation", [&] { font.SetOrientation(900); }},
    };
    for (const auto& [name, set] : setters) {
        EXPECT_EQ(CountChanges(font, set), 1) << name;
        EXPECT_EQ(CountChanges(font, set), 0) << name << " again";
    }
}

TEST(TFont, AnEmptyNameIsIgnored) {
    TFont font;
    EXPECT_EQ(CountChanges(font, [&] { font.SetName(""); }), 0);
    EXPECT_EQ(font.Name(), "MS Sans Serif");
}

TEST(TFont, TheHandleCarriesEveryAttribute) {
    TFont font;
    font.SetName("Tahoma");
    font.SetHeight(-13);
    font.SetStyle({fsBold, fsUnderline});
    font.SetCharset(gdi::RUSSIAN_CHARSET);
    font.SetOrientation(-900);
    gdi::LOGFONT lf;
    ASSERT_TRUE(gdi::GetObject(font.Handle(), &lf));
    EXPECT_EQ(lf.lfFaceName, "Tahoma");
    EXPECT_EQ(lf.lfHeight, -13);
    EXPECT_EQ(lf.lfWeight, gdi::FW_BOLD);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfCharSet, gdi::RUSSIAN_CHARSET);
    EXPECT_EQ(lf.lfEscapement, -900);
    EXPECT_EQ(lf.lfOrientation, -900);
}

TEST(TFont, TheHandleIsMadeOnceAndAgainAfterAChange) {
    TFont font;
    EXPECT_FALSE(font.HandleAllocated());
    gdi::HFONT first = font.Handle();
    EXPECT_EQ(font.Handle(), first);
    font.SetSize(20);
    gdi::LOGFONT lf;
    ASSERT_TRUE(gdi::GetObject(font.Handle(), &lf));
    EXPECT_EQ(lf.lfHeight, -27);
}

TEST(TFont, AColourChangeKeepsTheHandle) {
    TFont font;
    gdi::HFONT handle = font.Handle();
    font.SetColor(clBlue);
    EXPECT_EQ(font.Handle(), handle);
}

TEST(TFont, SetHandleTakesTheAttributesOfTheLogicalFont) {
    gdi::LOGFONT lf;
    lf.lfHeight = -15;
    lf.lfWeight = gdi::FW_BOLD;
    lf.lfItalic = 1;
    lf.lfFaceName = "Verdana";
    lf.lfPitchAndFamily = 1;
    TFont font;
    font.SetColor(clRed);
    gdi::HFONT handle = gdi::CreateFontIndirect(lf);
    EXPECT_EQ(CountChanges(font, [&] { font.SetHandle(handle); }), 1);
    EXPECT_EQ(font.Handle(), handle);
    EXPECT_EQ(font.Height(), -15);
    EXPECT_EQ(font.Name(), "Verdana");
    EXPECT_EQ(font.Style(), (TFontStyles {fsBold, fsItalic}));
    EXPECT_EQ(font.Pitch(), fpFixed);
    EXPECT_EQ(font.Color(), clRed);
}

TEST(TFont, SetHandleIgnoresNullAndStaleHandles) {
    TFont font;
    gdi::HFONT stale = gdi::CreateFontIndirect(gdi::LOGFONT {});
    gdi::DeleteObject(stale);
    EXPECT_EQ(CountChanges(font, [&] { font.SetHandle(nullptr); }), 0);
    EXPECT_EQ(CountChanges(font, [&] { font.SetHandle(stale); }), 0);
    EXPECT_EQ(font.Height(), -11);
}

TEST(TFont, AssignCopiesEveryAttributeWithOneNotification) {
    TFont source;
    source.SetName("Arial");
    source.SetSize(14);
    source.SetColor(clNavy);
    source.SetStyle({fsStrikeOut});
    source.SetPitch(fpVariable);
    TFont font;
    EXPECT_EQ(CountChanges(font, [&] { font.Assign(&source); }), 1);
    EXPECT_EQ(font.Name(), "Arial");
    EXPECT_EQ(font.Size(), 14);
    EXPECT_EQ(font.Color(), clNavy);
    EXPECT_EQ(font.Style(), TFontStyles {fsStrikeOut});
    EXPECT_EQ(font.Pitch(), fpVariable);
}

TEST(TFont, AssignFromAnotherKindRaisesEConvertError) {
    TFont font;
    TPen pen;
    EXPECT_THROW(font.Assign(&pen), base::EConvertError);
}

TEST(TFont, PublishesItsPropertiesInTheClassLibrarysOrder) {
    TFont font;
    std::vector<std::string> names;
    for (const TPropInfo* prop : GetPropList(font))
        names.push_back(prop->Name);
    EXPECT_EQ(names,
        (std::vector<std::string> {"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style", "Orientation"}));
    const TPropInfo* size = GetPropInfo(font, "Size");
    ASSERT_NE(size, nullptr);
    EXPECT_FALSE(size->IsStored(font));   // Height carries it
}

TEST(TFont, StyleIsASetPropertyWrittenByItsNames) {
    TFont font;
    const TPropInfo* style = GetPropInfo(font, "Style");
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->Kind, TPropKind::Set);
    EXPECT_TRUE(style->IsDefault(font));
    SetOrdProp(font, *style, TFontStyles {fsBold, fsUnderline}.Bits());
    EXPECT_EQ(font.Style(), (TFontStyles {fsBold, fsUnderline}));
    EXPECT_EQ(GetEnumName(style->Names, fsUnderline), "fsUnderline");
}

// ---------------------------------------------------------------------------------------------------------
// TPen

TEST(TPen, StartsAsASolidBlackOnePixelCopyPen) {
    TPen pen;
    EXPECT_EQ(pen.Color(), clBlack);
    EXPECT_EQ(pen.Width(), 1);
    EXPECT_EQ(pen.Style(), psSolid);
    EXPECT_EQ(pen.Mode(), pmCopy);
}

TEST(TPen, EachSetterFiresOnceOnAChangeAndNeverForTheSameValue) {
    TPen pen;
    const std::vector<std::function<void()>> setters = {[&] { pen.SetColor(clRed); }, [&] { pen.SetWidth(3); },
        [&] { pen.SetStyle(psDot); }, [&] { pen.SetMode(pmXor); }};
    for (const auto& set : setters) {
        EXPECT_EQ(CountChanges(pen, set), 1);
        EXPECT_EQ(CountChanges(pen, set), 0);
    }
}

TEST(TPen, WidthsBelowOneAreIgnored) {
    TPen pen;
    pen.SetWidth(4);
    EXPECT_EQ(CountChanges(pen, [&] { pen.SetWidth(0); }), 0);
    pen.SetWidth(-2);
    EXPECT_EQ(pen.Width(), 4);
}

TEST(TPen, TheHandleHasTheStyleWidthAndResolvedColour) {
    TPen pen;
    pen.SetColor(clBtnShadow);
    pen.SetWidth(2);
    pen.SetStyle(psClear);
    gdi::LOGPEN lp;
    ASSERT_TRUE(gdi::GetObject(pen.Handle(), &lp));
    EXPECT_EQ(lp.lopnStyle, gdi::UINT(gdi::PS_NULL));
    EXPECT_EQ(lp.lopnWidth.x, 2);
    EXPECT_EQ(lp.lopnColor, gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
}

TEST(TPen, ModesMapToTheBinaryRasterOperations) {
    EXPECT_EQ(PenModeToRop2(pmCopy), gdi::R2_COPYPEN);
    EXPECT_EQ(PenModeToRop2(pmXor), gdi::R2_XORPEN);
    EXPECT_EQ(PenModeToRop2(pmNot), gdi::R2_NOT);
    EXPECT_EQ(PenModeToRop2(pmNotXor), gdi::R2_NOTXORPEN);
    EXPECT_EQ(PenModeToRop2(pmBlack), gdi::R2_BLACK);
    EXPECT_EQ(PenModeToRop2(pmMaskPenNot), gdi::R2_MASKPENNOT);
}

TEST(TPen, AssignCopiesColourWidthStyleAndMode) {
    TPen source;
    source.SetColor(clLime);
    source.SetWidth(5);
    source.SetStyle(psDash);
    source.SetMode(pmNot);
    TPen pen;
    EXPECT_EQ(CountChanges(pen, [&] { pen.Assign(&source); }), 1);
    EXPECT_EQ(pen.Color(), clLime);
    EXPECT_EQ(pen.Width(), 5);
    EXPECT_EQ(pen.Style(), psDash);
    EXPECT_EQ(pen.Mode(), pmNot);
}

// ---------------------------------------------------------------------------------------------------------
// TBrush

TEST(TBrush, StartsSolidWhite) {
    TBrush brush;
    EXPECT_EQ(brush.Color(), clWhite);
    EXPECT_EQ(brush.Style(), bsSolid);
}

TEST(TBrush, SettingAColourMakesAClearBrushSolid) {
    TBrush brush;
    brush.SetStyle(bsClear);
    EXPECT_EQ(CountChanges(brush, [&] { brush.SetColor(clWhite); }), 1);
    EXPECT_EQ(brush.Style(), bsSolid);
}

TEST(TBrush, EachSetterFiresOnceOnAChangeAndNeverForTheSameValue) {
    TBrush brush;
    EXPECT_EQ(CountChanges(brush, [&] { brush.SetColor(clRed); }), 1);
    EXPECT_EQ(CountChanges(brush, [&] { brush.SetColor(clRed); }), 0);
    EXPECT_EQ(CountChanges(brush, [&] { brush.SetStyle(bsClear); }), 1);
    EXPECT_EQ(CountChanges(brush, [&] { brush.SetStyle(bsClear); }), 0);
}

TEST(TBrush, AClearBrushHasANullHandle) {
    TBrush brush;
    brush.SetColor(clRed);
    gdi::LOGBRUSH lb;
    ASSERT_TRUE(gdi::GetObject(brush.Handle(), &lb));
    EXPECT_EQ(lb.lbStyle, gdi::BS_SOLID);
    EXPECT_EQ(lb.lbColor, 0x0000FFu);
    brush.SetStyle(bsClear);
    ASSERT_TRUE(gdi::GetObject(brush.Handle(), &lb));
    EXPECT_EQ(lb.lbStyle, gdi::BS_NULL);
}

TEST(TBrush, AssignCopiesColourAndStyle) {
    TBrush source;
    source.SetColor(clTeal);
    source.SetStyle(bsClear);
    TBrush brush;
    brush.Assign(&source);
    EXPECT_EQ(brush.Color(), clTeal);
    EXPECT_EQ(brush.Style(), bsClear);
}
