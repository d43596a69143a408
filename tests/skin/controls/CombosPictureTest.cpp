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
#include "skin/controls/sComboBox.h"
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
    Form->SetClientWidth(520);
    Form->SetClientHeight(240);
    auto* back = Create<TsPanel>(Form);
    back->SetBounds(0, 0, 520, 240);
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
    Pump();
    ParentsUpdated(Form);
    Pump();

    focused->SetFocus();
    Pump();
    MoveTo(hot, 40, 10);
    drawn->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(drawn->DroppedDown());
    user::FlushDisplay();

    // The sheet and the dropped list below the open combo.
    const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT list = user::WindowRect(drawn->ListHandle());
    const gdi::RECT r {origin.x, origin.y, origin.x + 520, std::max<long>(origin.y + 240, list.bottom)};
    ASSERT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/Combos_" + SkinShortName(which) + ".png", &r));
    EXPECT_EQ(PaintsSkinned(normal->SkinData()), which >= 0);
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, CombosSheet, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

}
