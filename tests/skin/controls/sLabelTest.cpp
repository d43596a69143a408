// TsLabel and TsEditLabel: colours from the default manager, the disabled mix, skin removal, bound labels.
#include "support/ControlsKit.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TObject.h"
#include "platform/user/Painting.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sColorUtils.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinManager.h"

#include <cstdlib>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class TsLabelTest : public ControlsTest {
protected:
    TsLabel* NewLabel(TWinControl* parent, const std::string& text) {
        auto* label = Create<TsLabel>(Form);
        label->SetBounds(10, 10, 10, 10);
        label->SetCaption(text);
        label->SetParent(parent);
        return label;
    }
    // A skinned panel without caption over the form's top, for labels to stand on.
    TsPanel* NewBack() {
        auto* back = Create<TsPanel>(Form);
        back->SetBounds(0, 0, 300, 100);
        back->SetCaption("");
        back->SetParent(Form);
        return back;
    }
    // A label in a colour of its own, the skin's left alone.
    TsLabel* NewOwnColourLabel(TWinControl* parent, TColor colour) {
        TsLabel* label = NewLabel(parent, "WWWW");
        label->SetUseSkinColor(false);
        label->Font()->SetColor(colour);
        return label;
    }
    // The label's pixel farthest from the background beside it: the core of a glyph, free of smoothing.
    gdi::COLORREF TextColour(const TControl* label) const {
        const gdi::COLORREF back = ScreenPixel(label->Parent(), label->Left() - 1, label->Top());
        auto distance = [back](gdi::COLORREF c) {
            int d = 0;
            for (int shift : {0, 8, 16}) d += std::abs(int((c >> shift) & 0xFF) - int((back >> shift) & 0xFF));
            return d;
        };
        gdi::COLORREF best = back;
        for (int y = 0; y < label->Height(); ++y)
            for (int x = 0; x < label->Width(); ++x)
                if (distance(ScreenPixel(label, x, y)) > distance(best)) best = ScreenPixel(label, x, y);
        return best;
    }
};

TEST_F(TsLabelTest, TextTakesTheSkinFontColourUnlessUseSkinColorIsOff) {
    UseSkin(1);
    const TColor global = Manager->GetGlobalFontColor();
    ASSERT_NE(global, 0xFF00FF);
    TsPanel* back = NewBack();
    TsLabel* skinColoured = NewLabel(back, "WWWW");
    TsLabel* own = NewLabel(back, "WWWW");
    own->SetTop(40);
    own->SetUseSkinColor(false);
    own->Font()->SetColor(0x0000FF);
    Pump();
    EXPECT_EQ(skinColoured->Font()->Color(), global);
    EXPECT_EQ(own->Font()->Color(), TColor(0x0000FF));
    EXPECT_EQ(TextColour(own), 0x0000FFu);
    // Taking the colour while painting neither resized nor re-queued the label.
    EXPECT_FALSE(user::GetUpdateRect(back->Handle(), nullptr, false));
}

// The switch shows at once: a label turned back to the skin's colour does not keep its own until something
// else repaints it.
TEST_F(TsLabelTest, TurningUseSkinColorOnShowsTheSkinsColourAtOnce) {
    UseSkin(1);
    const TColor global = Manager->GetGlobalFontColor();
    ASSERT_NE(global, 0xFF00FF);
    ASSERT_NE(global, TColor(0x0000FF));
    TsPanel* back = NewBack();
    TsLabel* label = NewOwnColourLabel(back, 0x0000FF);
    Pump();
    ASSERT_EQ(TextColour(label), 0x0000FFu);
    label->SetUseSkinColor(true);
    Pump();
    EXPECT_EQ(TextColour(label), gdi::COLORREF(ColorToRGB(global)));
}

TEST_F(TsLabelTest, DisabledUnderASkinMixesTheFontColourWithTheBackground) {
    UseSkin(1);
    TsPanel* back = NewBack();
    TsLabel* label = NewOwnColourLabel(back, 0xFFFFFF);
    label->SetEnabled(false);
    Pump();
    const gdi::COLORREF background = ScreenPixel(back, 200, 50);
    const gdi::COLORREF text = TextColour(label);
    EXPECT_EQ(text, gdi::COLORREF(MixColors(0xFFFFFF, TColor(background), 0.4)));
    // Without a skin the base class draws the embossed pair instead.
    UseSkin(-1);
    EXPECT_NE(TextColour(label), text);
}

TEST_F(TsLabelTest, RemovingTheSkinGivesEveryUseSkinColorLabelWindowText) {
    UseSkin(2);
    TsLabel* skinColoured = NewLabel(Form, "Text");
    TsLabel* own = NewLabel(Form, "Text");
    own->SetUseSkinColor(false);
    own->Font()->SetColor(0x00FF00);
    TsCustomLabel* custom = Create<TsCustomLabel>(Form);
    custom->SetCaption("Custom");
    custom->SetParent(Form);
    Pump();
    ASSERT_NE(skinColoured->Font()->Color(), clWindowText);
    Manager->SetActive(false);
    // What the form's provider passes on to its controls.
    for (TControl* c : {static_cast<TControl*>(skinColoured), static_cast<TControl*>(own), static_cast<TControl*>(custom)})
        c->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REMOVESKIN), reinterpret_cast<LPARAM>(Manager));
    EXPECT_EQ(skinColoured->Font()->Color(), clWindowText);
    EXPECT_EQ(own->Font()->Color(), TColor(0x00FF00));
    EXPECT_EQ(custom->Font()->Color(), clWindowText);
    // A foreign manager's removal is no reason to change colour.
    skinColoured->Font()->SetColor(0x123456);
    test::ManagerHost other;
    skinColoured->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REMOVESKIN), reinterpret_cast<LPARAM>(other.NewManager()));
    EXPECT_EQ(skinColoured->Font()->Color(), TColor(0x123456));
}

TEST_F(TsLabelTest, MouseEnterAndLeaveFireOnce) {
    TsLabel* label = NewLabel(Form, "Hover me");
    Pump();
    int enter = 0, leave = 0;
    label->OnMouseEnter = [&](TObject*) { ++enter; };
    label->OnMouseLeave = [&](TObject*) { ++leave; };
    MoveTo(label, 2, 2);
    MoveTo(Form, 250, 150);
    EXPECT_EQ(enter, 1);
    EXPECT_EQ(leave, 1);
}

TEST_F(TsLabelTest, ABoundLabelShowsATsEditLabelAndFreeingItDeactivatesTheBoundLabel) {
    RegisterSkinControlClasses();
    EXPECT_EQ(FindClass("TsLabel"), TsLabel::StaticClass());
    auto* edit = Create<TsPanel>(Form);
    edit->SetName("Edit1");
    edit->SetBounds(100, 50, 80, 20);
    edit->SetParent(Form);
    TsBoundLabel bound(edit->SkinData());
    bound.SetCaption("Name");
    bound.SetActive(true);
    auto* label = dynamic_cast<TsEditLabel*>(bound.Label());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->BoundLabel(), &bound);
    EXPECT_EQ(label->Caption(), "Name");
    delete label;
    EXPECT_EQ(bound.Label(), nullptr);
    EXPECT_FALSE(bound.Active());
    bound.SetActive(true);   // a second label, freed with the bound label
    EXPECT_NE(bound.Label(), nullptr);
}

}
