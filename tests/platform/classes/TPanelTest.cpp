// TPanel: the bevels' pixels, the client area inside them, the caption.
#include "support/ControlsTestKit.h"

#include "platform/classes/TPanel.h"
#include "platform/gdi/SysColors.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class PanelTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Panel = Create<TPanel>(Form);
        Panel->SetBounds(10, 10, 100, 50);
        Panel->SetCaption("");
        Panel->SetParent(Form);
        Pump();
    }
    gdi::COLORREF Sys(int index) const { return gdi::GetSysColor(index); }
    TForm* Form = nullptr;
    TPanel* Panel = nullptr;
};

TEST_F(PanelTest, RaisedOuterBevelIsLightTopLeftAndDarkBottomRight) {
    EXPECT_EQ(PixelAt(Panel, 0, 10), Sys(gdi::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(PixelAt(Panel, 10, 0), Sys(gdi::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(PixelAt(Panel, 99, 10), Sys(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(PixelAt(Panel, 10, 49), Sys(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(PixelAt(Panel, 1, 10), Sys(gdi::COLOR_BTNFACE));
}

TEST_F(PanelTest, LoweredInnerBevelSitsInsideTheBorderWidth) {
    Panel->SetBevelInner(bvLowered);
    Panel->SetBorderWidth(2);
    Panel->SetBevelWidth(2);
    Pump();
    EXPECT_EQ(PixelAt(Panel, 1, 10), Sys(gdi::COLOR_BTNHIGHLIGHT));   // outer, two wide
    EXPECT_EQ(PixelAt(Panel, 2, 10), Sys(gdi::COLOR_BTNFACE));   // the border
    EXPECT_EQ(PixelAt(Panel, 4, 10), Sys(gdi::COLOR_BTNSHADOW));   // inner, lowered
    EXPECT_EQ(PixelAt(Panel, 5, 10), Sys(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(PixelAt(Panel, 95, 10), Sys(gdi::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(PixelAt(Panel, 6, 10), Sys(gdi::COLOR_BTNFACE));
}

TEST_F(PanelTest, AlignedChildrenStayInsideTheBevels) {
    Panel->SetBevelInner(bvRaised);
    Panel->SetBorderWidth(3);
    auto* child = Create<TBoxPanel>(Form);
    child->SetAlign(alClient);
    child->SetParent(Panel);
    EXPECT_EQ(child->BoundsRect(), Rect(5, 5, 95, 45));
    Panel->SetBevelOuter(bvNone);
    EXPECT_EQ(child->BoundsRect(), Rect(4, 4, 96, 46));
}

TEST_F(PanelTest, CaptionIsCentredByDefault) {
    Panel->SetCaption("WWW");
    Pump();
    bool middle = false, left = false;
    for (int y = 15; y < 35; ++y)
        for (int x = 2; x < 98; ++x)
            if (PixelAt(Panel, x, y) != Sys(gdi::COLOR_BTNFACE)) (x > 30 && x < 70 ? middle : left) = true;
    EXPECT_TRUE(middle);
    EXPECT_FALSE(left);
}

}
