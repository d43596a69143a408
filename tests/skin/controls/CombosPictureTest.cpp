// A sheet of combo boxes in each of our four skins and without a skin, one of them dropped down, as PNG pictures.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"
#include "support/SkinControlsKit.h"
#include "support/SkinFixtures.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImageList.h"
#include "skin/controls/sComboBox.h"
#include "skin/controls/sComboBoxes_ColorBox.h"
#include "skin/controls/sComboBoxes_ComboBoxEx.h"
#include "skin/controls/sControlFrame.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sCommonData.h"

#include <algorithm>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class CombosSheet : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    template <class T>
    T* Add(TWinControl* parent, int x, int y, const std::string& label) {
        auto* caption = Create<TsLabel>(Form);
        caption->SetBounds(x, y, 150, 16);
        caption->SetCaption(label);
        caption->SetParent(parent);
        auto* c = Create<T>(Form);
        c->SetBounds(x, y + 16, 150, 22);
        return c;
    }
    static void Fill(TsComboBox* c) {
        for (const char* s : {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"})
            c->Items()->Add(s);
    }
};

TEST_P(CombosSheet, CombosInEveryStateAndAnOpenList) {
    const int which = GetParam();
    UseSkin(which);
    Form->SetClientWidth(540);
    Form->SetClientHeight(240);
    auto* back = Create<TsPanel>(Form);
    back->SetBounds(0, 0, 540, 240);
    back->SetCaption("");
    back->SetParent(Form);

    auto* normal = Add<TsComboBox>(back, 10, 6, "Drop-down list");
    normal->SetStyle(csDropDownList);
    normal->SetParent(back);
    Fill(normal);
    normal->SetItemIndex(1);
    auto* edit = Add<TsComboBox>(back, 10, 52, "Drop-down with an edit");
    edit->SetParent(back);
    Fill(edit);
    edit->SetText("Typed text");
    auto* hot = Add<TsComboBox>(back, 10, 98, "Hot");
    hot->SetStyle(csDropDownList);
    hot->SetParent(back);
    Fill(hot);
    hot->SetItemIndex(2);
    auto* off = Add<TsComboBox>(back, 10, 144, "Disabled");
    off->SetStyle(csDropDownList);
    off->SetParent(back);
    Fill(off);
    off->SetItemIndex(0);
    off->SetEnabled(false);
    auto* focused = Add<TsComboBox>(back, 10, 190, "Focused");
    focused->SetStyle(csDropDownList);
    focused->SetParent(back);
    Fill(focused);
    focused->SetItemIndex(3);
    auto* drawn = Add<TsComboBox>(back, 180, 6, "Owner-drawn, open");
    drawn->SetStyle(csOwnerDrawFixed);
    drawn->SetParent(back);
    Fill(drawn);
    drawn->SetItemIndex(2);

    auto* colors = Add<TsColorBox>(back, 180, 52, "Colour box");
    colors->SetParent(back);
    colors->SetSelected(clNavy);
    auto* custom = Add<TsColorBox>(back, 180, 98, "Custom colour, no names");
    custom->SetStyle({cbStandardColors, cbCustomColor});
    custom->SetShowColorName(false);
    custom->SetParent(back);
    custom->SetSelected(TColor(0x3080F0));
    auto* images = Create<TImageList>(Form);
    for (TColor c : {TColor(0x2040E0), TColor(0x20A020), TColor(0xE06020)})
        AddDiscImage(images, c);
    auto* withImages = Add<TsComboBoxEx>(back, 180, 144, "Items with images");
    withImages->SetImages(images);
    withImages->SetParent(back);
    withImages->ItemsEx()->AddItem("Computer", 0, 0, -1, 0, nullptr);
    withImages->ItemsEx()->AddItem("Home", 1, 2, -1, 1, nullptr);
    withImages->SetItemIndex(1);
    auto* offColors = Add<TsColorBox>(back, 180, 190, "Disabled colour box");
    offColors->SetParent(back);
    offColors->SetSelected(clMaroon);
    offColors->SetEnabled(false);
    auto* openColors = Add<TsColorBox>(back, 370, 6, "Colour box, open");
    openColors->SetStyle({cbStandardColors, cbPrettyNames});
    openColors->SetDropDownCount(10);
    openColors->SetParent(back);
    openColors->SetSelected(clGreen);
    auto* openImages = Add<TsComboBoxEx>(back, 370, 190, "Open with images");
    openImages->SetImages(images);
    openImages->SetParent(back);
    for (int i = 0; i < 3; ++i)
        openImages->ItemsEx()->AddItem("Level " + std::to_string(i), i, 2, -1, i, nullptr);
    openImages->SetItemIndex(0);
    Pump();
    ParentsUpdated(Form);
    Pump();

    focused->SetFocus();
    Pump();
    MoveTo(hot, 40, 10);
    drawn->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(drawn->DroppedDown());
    // Only one list shows at a time: the others are pictured apart.
    const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
    const auto shoot = [&](TCustomComboBox* open, const std::string& name) {
        user::FlushDisplay();
        const gdi::RECT list = user::WindowRect(open->ListHandle());
        const gdi::RECT r {origin.x, origin.y, origin.x + 540, std::max<gdi::LONG>(origin.y + 240, list.bottom)};
        ASSERT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/" + name + "_" + SkinShortName(which) + ".png", &r));
    };
    shoot(drawn, "Combos");
    drawn->SetDroppedDown(false);
    openColors->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(openColors->DroppedDown());
    shoot(openColors, "CombosColorList");
    openColors->SetDroppedDown(false);
    openImages->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(openImages->DroppedDown());
    shoot(openImages, "CombosImageList");
    EXPECT_EQ(PaintsSkinned(normal->SkinData()), which >= 0);
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, CombosSheet, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

}
