// A sheet of the skinned edits, memo and rich edit in their states, in each of our four skins and without a
// skin, written as PNG pictures.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"
#include "support/SkinControlsKit.h"

#include "platform/classes/TStringStream.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/WindowConstants.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sMaskEdit.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sRichEdit.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class EditsSheet : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    template <class T>
    T* Edit(TWinControl* parent, int left, int top, const std::string& caption, const std::string& text) {
        auto* edit = Create<T>(Form);
        edit->SetBounds(left, top, 150, 24);
        edit->SetText(text);
        edit->SetParent(parent);
        edit->BoundLabel()->SetCaption(caption);
        edit->BoundLabel()->SetActive(true);
        return edit;
    }
};

TEST_P(EditsSheet, EditsInEveryState) {
    const int which = GetParam();
    InstallEditLabelFactory();   // skinned bound labels, as the program registers them
    UseSkin(which);
    Form->SetClientWidth(440);
    Form->SetClientHeight(300);
    auto* back = Create<TsPanel>(Form);
    back->SetBounds(0, 0, 440, 300);
    back->SetCaption("");
    back->SetParent(Form);
    auto* normal = Edit<TsEdit>(back, 80, 10, "Normal", "Plain text");
    auto* hot = Edit<TsEdit>(back, 80, 40, "Hot", "Under the mouse");
    auto* focused = Edit<TsEdit>(back, 80, 70, "Focused", "Selected words");
    auto* disabled = Edit<TsEdit>(back, 80, 100, "Disabled", "Not available");
    disabled->SetEnabled(false);
    auto* readOnly = Edit<TsEdit>(back, 80, 130, "Read-only", "Fixed value");
    readOnly->SetReadOnly(true);
    auto* password = Edit<TsEdit>(back, 80, 160, "Password", "secret");
    password->SetPasswordChar(U'*');
    auto* mask = Edit<TsMaskEdit>(back, 80, 190, "Masked", "");
    mask->SetEditMask("00.00.0000;1;_");
    mask->SetText("12.05");
    auto* emptyMask = Edit<TsMaskEdit>(back, 80, 220, "Empty", "");
    auto* russian = Edit<TsEdit>(back, 80, 250, "Узел", "Имя узла");
    auto* memo = Create<TsMemo>(Form);
    memo->SetBounds(250, 10, 180, 130);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    std::string text;
    for (int i = 0; i < 30; ++i) text += "Log line " + std::to_string(i) + ": work unit progress and a long tail\r\n";
    memo->SetText(text);
    memo->SetParent(back);
    auto* fits = Create<TsMemo>(Form);
    fits->SetBounds(250, 150, 180, 60);
    fits->SetScrollBars(ssVertical);
    fits->SetText("A memo whose text fits");
    fits->SetParent(back);
    auto* rich = Create<TsRichEdit>(Form);
    rich->SetBounds(250, 220, 180, 70);
    rich->SetScrollBars(ssVertical);
    rich->SetParent(back);
    TStringStream log(text);
    rich->Lines()->LoadFromStream(log);
    rich->SetSelStart(0);
    rich->SetSelLength(10);
    rich->SelAttributes()->SetColor(0x2020E0);
    rich->SetSelLength(0);
    (void)emptyMask;
    SettleSheet(focused);
    user::SendMessage(memo->Handle(), user::WM_VSCROLL, user::SB_PAGEDOWN, 0);
    Pump();
    MoveTo(hot, 40, 8);
    user::FlushDisplay();

    const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {origin.x, origin.y, origin.x + 440, origin.y + 300};
    ASSERT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/Edits_" + SkinShortName(which) + ".png", &r));
    EXPECT_EQ(PaintsSkinned(normal->SkinData()), which >= 0);
    // The picture shows every edit's text, the memos' lines and the rich edit's.
    for (const TControl* control : std::initializer_list<const TControl*> {normal, readOnly, mask, russian, memo, fits, rich})
        EXPECT_GE(Strokes(control), 20) << control->ClassName() << " in " << SkinShortName(which);
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, EditsSheet, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

}
