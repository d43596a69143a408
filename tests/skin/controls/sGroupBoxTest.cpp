// TsGroupBox: the caption strip's place, the skinned and plain faces, a skin switch while shown.
#include "support/ControlsKit.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/user/MessageIds.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class TsGroupBoxTest : public ControlsTest {
protected:
    TsGroupBox* NewBox(const std::string& caption, int width = 160) {
        auto* box = Create<TsGroupBox>(Form);
        box->SetBounds(20, 20, width, 80);
        box->SetCaption(caption);
        box->SetParent(Form);
        return box;
    }
};

TEST_F(TsGroupBoxTest, CaptionRectFollowsLayoutAndOffset) {
    UseSkin(0);
    TsGroupBox* box = NewBox("Caption");
    Pump();
    const int h = box->CaptionStripHeight();
    const int tw = box->Canvas()->TextWidth("Caption");
    struct Case {
        TsGroupCaptionLayout Layout;
        int Offset;
        TRect Expected;
    };
    const Case cases[] = {
        {clTopLeft, 0, {6, 0, 6 + tw + 8, h}},
        {clTopCenter, 0, {(160 - tw - 10) / 2, 0, (160 - tw - 10) / 2 + tw + 8, h}},
        {clTopRight, 0, {160 - tw - 14, 0, 160 - tw - 14 + tw + 8, h}},
        {clTopLeft, -5, {6, -5, 6 + tw + 8, h - 5}},
        {clTopLeft, 4, {6, 0, 6 + tw + 8, h + 4}},
    };
    for (const Case& c : cases) {
        box->SetCaptionLayout(c.Layout);
        box->SetCaptionYOffset(c.Offset);
        const TRect r = box->CaptionRect();
        EXPECT_EQ(r, c.Expected) << int(c.Layout) << " " << c.Offset;
    }
}

TEST_F(TsGroupBoxTest, ACentredCaptionWiderThanTheBoxStartsAtZeroAndEndsAtTheEdge) {
    UseSkin(0);
    TsGroupBox* box = NewBox("A caption far wider than its little box", 60);
    box->SetCaptionLayout(clTopCenter);
    const TRect r = box->CaptionRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 60);
}

TEST_F(TsGroupBoxTest, NegativeOffsetStartsTheBodyAtTheTopAndMovesTheChildrenUp) {
    UseSkin(1);
    TsGroupBox* box = NewBox("Up");
    auto* child = Create<TsPanel>(Form);
    child->SetAlign(alClient);
    child->SetParent(box);
    Pump();
    const int top = child->Top();
    box->SetCaptionYOffset(-5);   // stored and repainted; the children follow at the next alignment
    EXPECT_EQ(child->Top(), top);
    box->SetBounds(box->Left(), box->Top(), box->Width(), box->Height() + 1);
    EXPECT_EQ(child->Top(), top - 5);
    Pump();
    EXPECT_FALSE(box->SkinData()->BGChanged);
}

TEST_F(TsGroupBoxTest, SkinSwitchWhileShownRepaintsAndNoSkinGivesThePlainFace) {
    UseSkin(1);
    auto* back = Create<TsPanel>(Form);
    back->SetBounds(0, 0, 300, 200);
    back->SetCaption("");
    back->SetParent(Form);
    TsGroupBox* box = NewBox("Switch");
    box->SetParent(back);
    Pump();
    ASSERT_TRUE(box->SkinData()->Skinned(true));
    EXPECT_EQ(box->SkinData()->SkinSection(), "GROUPBOX");
    const gdi::COLORREF longHorn = ScreenPixel(box, 80, 50);
    UseSkin(0);
    const gdi::COLORREF macOs = ScreenPixel(box, 80, 50);
    EXPECT_NE(macOs, longHorn);
    UseSkin(-1);
    EXPECT_FALSE(box->SkinData()->Skinned(true));
    EXPECT_EQ(ScreenPixel(box, 80, 50), gdi::COLORREF(ColorToRGB(clBtnFace)));
    UseSkin(1);
    EXPECT_EQ(ScreenPixel(box, 80, 50), longHorn);
}

TEST_F(TsGroupBoxTest, TheCaptionStripShowsTheParentsSkinnedFace) {
    UseSkin(1);
    auto* back = Create<TsPanel>(Form);
    back->SetBounds(0, 0, 300, 200);
    back->SetCaption("");
    back->SetParent(Form);
    auto* box = Create<TsGroupBox>(Form);
    box->SetBounds(20, 20, 160, 80);
    box->SetCaption("On a panel");
    box->SetParent(back);
    Pump();
    // Right of the caption, above the frame: what the panel shows there.
    EXPECT_EQ(ScreenPixel(box, 150, 1), ScreenPixel(back, 20 + 150, 20 + 1));
}

// A hidden skinned box handed a DC paints nothing there, not even the plain face.
TEST_F(TsGroupBoxTest, AHiddenSkinnedBoxPaintsNothingIntoTheDcItIsGiven) {
    UseSkin(1);
    TsGroupBox* box = NewBox("Hidden");
    Pump();
    box->SetVisible(false);
    Pump();
    const std::unique_ptr<TBitmap> hidden = PaintIntoBitmap(box);
    for (int y = 0; y < box->Height(); y += 7)
        for (int x = 0; x < box->Width(); x += 7)
            ASSERT_EQ(hidden->Canvas()->Pixels(x, y), TColor(0x00FF00)) << x << "," << y;
    box->SetVisible(true);
    EXPECT_NE(PaintIntoBitmap(box)->Canvas()->Pixels(80, 50), TColor(0x00FF00));
}

}
