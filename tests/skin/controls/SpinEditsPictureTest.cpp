// A sheet of the spin edits in their states, the number edits and the popup calculator, in each of our four skins and without a
// skin, written as PNG pictures.
#include "support/ControlsKit.h"

#include "platform/user/MessageLoop.h"
#include "skin/controls/sCalcForm.h"
#include "skin/controls/sCurrEdit.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSpinEdit.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

// A number edit with its calculator button.
class TButtonNumEdit : public TsCustomNumEdit {
public:
    using TsCustomNumEdit::TsCustomNumEdit;
};

class SpinEditsSheet : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    template <class T>
    T* Spin(TWinControl* parent, int left, int top, const std::string& caption) {
        auto* spin = Create<T>(Form);
        spin->SetBounds(left, top, 110, 24);
        spin->SetParent(parent);
        spin->BoundLabel()->SetCaption(caption);
        spin->BoundLabel()->SetActive(true);
        return spin;
    }
};

TEST_P(SpinEditsSheet, SpinEditsInEveryStateNumberEditsAndTheCalculator) {
    const int which = GetParam();
    InstallEditLabelFactory();
    UseSkin(which);
    Form->SetClientWidth(460);
    Form->SetClientHeight(230);
    auto* back = Create<TsPanel>(Form);
    back->SetBounds(0, 0, 460, 230);
    back->SetCaption("");
    back->SetParent(Form);
    auto* normal = Spin<TsDecimalSpinEdit>(back, 80, 10, "Normal");
    normal->SetValue(12.5);
    auto* hot = Spin<TsDecimalSpinEdit>(back, 80, 40, "Hot");
    hot->SetValue(0.25);
    auto* focused = Spin<TsSpinEdit>(back, 80, 70, "Focused");
    focused->SetValue(42);
    auto* pressed = Spin<TsSpinEdit>(back, 80, 100, "Pressed");
    pressed->SetValue(7);
    auto* disabled = Spin<TsDecimalSpinEdit>(back, 80, 130, "Disabled");
    disabled->SetValue(3);
    disabled->SetEnabled(false);
    auto* readOnly = Spin<TsDecimalSpinEdit>(back, 80, 160, "Read-only");
    readOnly->SetValue(-1.75);
    readOnly->SetReadOnly(true);
    auto* wide = Spin<TsSpinEdit>(back, 80, 190, "Узел");
    wide->SetValue(1000000);
    auto* money = Create<TsCurrencyEdit>(Form);
    money->SetBounds(230, 195, 100, 24);
    money->SetParent(back);
    money->SetValue(-1234.5);
    auto* number = Create<TButtonNumEdit>(Form);
    number->SetBounds(340, 195, 110, 24);
    number->SetParent(back);
    number->SetValue(98765.4321);
    Pump();
    ParentsUpdated(Form);
    Pump();
    focused->SetFocus();
    Pump();
    MoveTo(hot, 30, 8);
    TControl* up = pressed->Button()->UpButton();
    DownAt(up, up->Width() / 2, up->Height() / 2);   // held: shown pressed

    auto* calc = Create<TsCalcForm>(Form);
    calc->SetLeft(Form->ClientToScreen(TPoint {230, 10}).x);
    calc->SetTop(Form->ClientToScreen(TPoint {230, 10}).y);
    calc->Show();
    Pump();
    for (char c : std::string("12*3")) calc->CalcKey(char32_t(c));
    calc->CalcKey(U'M');   // nothing: not a key of the engine
    Pump();
    user::FlushDisplay();

    const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {origin.x, origin.y, origin.x + 460, origin.y + 230};
    ASSERT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/SpinEdits_" + SkinShortName(which) + ".png", &r));
    // The picture shows the values, the calculator's keys and its result.
    for (const TControl* control : std::initializer_list<const TControl*> {readOnly, wide, money, number, calc})
        EXPECT_GE(Strokes(control), 20) << control->ClassName() << " in " << SkinShortName(which);
    UpAt(up, up->Width() / 2, up->Height() / 2);
    EXPECT_EQ(pressed->Value(), 8);
    delete calc;
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, SpinEditsSheet, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

}
