// Skinned text: placement, contour copies, the disabled look, cutting to a width and the focus dots.
#include "support/PixelFixtures.h"
#include "support/SkinControlsKit.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/GdiConstants.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;

namespace {

class SkinnedTextTest : public ::testing::Test {
protected:
    SkinnedTextTest() {
        TsGeneralData s;
        s.ClassName = "SEC";
        s.FontColor.Fill(-1);
        s.FontColor[1] = Rgb(0, 0, 255);
        s.HotFontColor.Fill(-1);
        s.HotFontColor[1] = Rgb(0, 255, 0);
        Skin.Manager()->Sections.push_back(s);
        Bmp->Canvas()->Font()->SetName("DejaVu Sans");
        Bmp->Canvas()->Font()->SetSize(10);
    }
    // Text is smoothed: count pixels near a colour rather than exact ones.
    bool Shows(TColor c) const {
        for (int y = 0; y < Bmp->Height(); ++y)
            for (int x = 0; x < Bmp->Width(); ++x) {
                const TColor p = Px(*Bmp, x, y);
                int far = 0;
                for (int shift = 0; shift <= 16; shift += 8)
                    far = std::max(far, std::abs(int((p >> shift) & 0xFF) - int((c >> shift) & 0xFF)));
                if (far <= 40) return true;
            }
        return false;
    }
    TestSkin Skin {8, 8};
    std::unique_ptr<TBitmap> Bmp = Bitmap24(100, 20, Rgb(255, 255, 255));
};

TEST_F(SkinnedTextTest, CentredCaptionComesBackAsItsRectangleGrownByOne) {
    TRect r {0, 0, 100, 20};
    DrawCaptionText(Bmp->Canvas(), "Caption", true, r, gdi::DT_CENTER, 0, false, nullptr);
    const TSize e = Bmp->Canvas()->TextExtent("Caption");
    const int dx = (e.cx - 100) / 2, dy = (e.cy - 20) / 2;
    EXPECT_EQ(r, (TRect {-dx - 1, -dy - 1, 100 + dx + 1, 20 + dy + 1}));
}

TEST_F(SkinnedTextTest, LeftAndRightCaptionsAreCentredVertically) {
    const TSize e = Bmp->Canvas()->TextExtent("Ab");
    const int dy = (e.cy - 20) / 2;
    TRect left {10, 0, 90, 20};
    DrawCaptionText(Bmp->Canvas(), "Ab", true, left, 0, 0, false, nullptr);
    EXPECT_EQ(left, (TRect {9, -dy - 1, 10 + e.cx + 1, 20 + dy + 1}));
    TRect right {10, 0, 90, 20};
    DrawCaptionText(Bmp->Canvas(), "Ab", true, right, gdi::DT_RIGHT, 0, false, nullptr);
    EXPECT_EQ(right, (TRect {90 - e.cx - 1, -dy - 1, 91, 20 + dy + 1}));
}

TEST_F(SkinnedTextTest, WordBreakKeepsTheRectangle) {
    TRect r {0, 0, 100, 20};
    DrawCaptionText(Bmp->Canvas(), "a b c", true, r, gdi::DT_WORDBREAK, 0, false, nullptr);
    EXPECT_EQ(r, (TRect {0, 0, 100, 20}));
}

TEST_F(SkinnedTextTest, HotTextTakesTheHotColourAndUnusedContoursDrawNothing) {
    TRect r {0, 0, 100, 20};
    DrawCaptionText(Bmp->Canvas(), "XXXX", true, r, gdi::DT_CENTER, 0, true, nullptr);
    EXPECT_TRUE(Shows(Rgb(0, 255, 0)));
    EXPECT_FALSE(Shows(Rgb(0, 0, 255)));
    EXPECT_EQ(Bmp->Canvas()->Font()->Color(), Rgb(0, 255, 0));
}

TEST_F(SkinnedTextTest, ContourCopiesAreDrawnInTheirColours) {
    Skin.Manager()->Sections[0].FontColor[3] = Rgb(255, 0, 0);   // one pixel up
    TRect r {0, 0, 100, 20};
    DrawCaptionText(Bmp->Canvas(), "XXXX", true, r, gdi::DT_CENTER, 0, false, nullptr);
    EXPECT_TRUE(Shows(Rgb(255, 0, 0)));
}

TEST_F(SkinnedTextTest, DisabledTextIsEmbossedInTheButtonColours) {
    TRect r {0, 0, 100, 20};
    Bmp = Bitmap24(100, 20, Rgb(0, 0, 255));
    Bmp->Canvas()->Font()->SetSize(10);
    DrawCaptionText(Bmp->Canvas(), "XXXX", false, r, gdi::DT_CENTER, 0, false, nullptr);
    EXPECT_TRUE(Shows(ColorToRGB(clBtnHighlight)));
    EXPECT_TRUE(Shows(ColorToRGB(clBtnShadow)));
}

TEST_F(SkinnedTextTest, WebButtonIsUnderlinedOnlyWhenHot) {
    TsCommonData data(nullptr, false);
    Skin.Manager()->Sections.Rename(0, "WEBBUTTON");
    data.SetSkinSection("WEBBUTTON");
    TRect r {0, 0, 100, 20};
    OutputSkinnedText(Bmp->Canvas(), "Link", true, r, 0, &data, false);
    EXPECT_FALSE(Bmp->Canvas()->Font()->Style().Contains(fsUnderline));
    r = TRect {0, 0, 100, 20};
    OutputSkinnedText(Bmp->Canvas(), "Link", true, r, 0, &data, true);
    EXPECT_TRUE(Bmp->Canvas()->Font()->Style().Contains(fsUnderline));
}

// The canvas keeps no stale idea of the DC's modes: a second caption on the same canvas is transparent too.
TEST_F(SkinnedTextTest, DrawingAgainOnTheSameCanvasLeavesTheBackgroundAroundTheLetters) {
    TsCommonData data(nullptr, false);
    data.SetSkinSection("SEC");
    for (int pass = 0; pass < 2; ++pass) {
        Fill(*Bmp, TRect {0, 0, 100, 20}, Rgb(200, 0, 0));
        TRect r {0, 0, 100, 20};
        OutputSkinnedText(Bmp->Canvas(), "i i", true, r, gdi::DT_CENTER, &data, false);
        EXPECT_FALSE(Shows(Rgb(255, 255, 255))) << "no box in the brush's colour, pass " << pass;
    }
}

TEST_F(SkinnedTextTest, CutTextToWidthKeepsWhatFitsAndCutsAtCharacters) {
    TCanvas* c = Bmp->Canvas();
    EXPECT_EQ(CutTextToWidth(c, "Hello", 0), "");
    EXPECT_EQ(CutTextToWidth(c, "Hello", 1000), "Hello");
    const std::string cut = CutTextToWidth(c, "Hello world, long text", c->TextWidth("Hello...") + 1);
    EXPECT_EQ(cut, "Hello...");
    const std::string russian = CutTextToWidth(c, "Привет мир", c->TextWidth("При...") + 1);
    EXPECT_EQ(russian, "При...");
    EXPECT_EQ(CutTextToWidth(c, "Hello", 2), "");   // not even one letter with the dots
}

TEST(PaintFocusDots, DotsAlongTheEdgesStayInsideTheBitmap) {
    auto bmp = Bitmap24(10, 7, Rgb(128, 128, 128));
    PaintFocusDots(bmp->Canvas(), TRect {0, 0, 10, 7});   // every edge on the bitmap's border
    EXPECT_EQ(Px(*bmp, 0, 0), Rgb(0, 0, 0));
    EXPECT_EQ(Px(*bmp, 3, 0), Rgb(0, 0, 0));
    EXPECT_EQ(Px(*bmp, 0, 6), Rgb(0, 0, 0));
    EXPECT_EQ(Px(*bmp, 2, 6), Rgb(255, 255, 255));   // white up-left of the bottom dot at x 3
    EXPECT_EQ(Px(*bmp, 1, 1), Rgb(128, 128, 128));
    PaintFocusDots(bmp->Canvas(), TRect {-20, -20, 40, 40});   // far outside: only clipped writes
    EXPECT_EQ(Px(*bmp, 5, 3), Rgb(128, 128, 128));
}

// The screen DC belongs to the display: measure on the headless one.
class GetTextSizeTest : public ctltest::SkinControlsTest { };

TEST_F(GetTextSizeTest, MeasuresInTheFontOnTheScreen) {
    TFont font;
    font.SetSize(12);
    const TSize some = GetTextSize(font.Handle(), "Wide text");
    EXPECT_GT(some.cx, 20);
    EXPECT_GT(some.cy, 5);
}

}
