// Actions on the skinned buttons and check box: the action's caption and enabled state reach the control, a
// disabled action gives the disabled look, and a click executes the action.
#include "support/ControlsKit.h"

#include "platform/classes/TBasicAction.h"
#include "platform/classes/TForm.h"

#include "skin/controls/sBitBtn.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sSpeedButton.h"

#include <functional>
#include <string>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

struct ActionLinkKind {
    const char* name;
    std::function<TControl*(TForm*)> make;
};

class sActionLinkTest : public ControlsTest, public ::testing::WithParamInterface<ActionLinkKind> {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        UseSkin(0);
        Action = new TCustomAction(Form);
        Action->SetCaption("Go");
        Control = GetParam().make(Form);
        Control->SetBounds(20, 20, 100, 26);
        Control->SetAction(Action);
        Control->SetParent(Form);
        Pump();
    }
    std::vector<gdi::COLORREF> Shown() {
        Pump();
        return ScreenPixels(Control, Control->ClientRect());
    }

    TCustomAction* Action = nullptr;
    TControl* Control = nullptr;
};

TEST_P(sActionLinkTest, TheActionsCaptionAndEnabledStateReachTheControlAndDisabledLooksDisabled) {
    EXPECT_EQ(Control->Caption(), "Go");
    Action->SetCaption("Run");
    EXPECT_EQ(Control->Caption(), "Run");
    Action->SetEnabled(false);
    EXPECT_FALSE(Control->Enabled());
    std::vector<gdi::COLORREF> byAction = Shown();
    Action->SetEnabled(true);
    EXPECT_TRUE(Control->Enabled());
    EXPECT_NE(Shown(), byAction) << "an enabled action shows the enabled look";
    Control->SetAction(nullptr);
    Control->SetEnabled(false);
    EXPECT_EQ(Shown(), byAction) << "a disabled action shows what a disabled control shows";
}

TEST_P(sActionLinkTest, AClickExecutesTheAction) {
    int executed = 0;
    Action->OnExecute = [&](TObject*) { ++executed; };
    ClickAt(Control, 50, 13);
    Pump();
    EXPECT_EQ(executed, 1);
}

const ActionLinkKind ActionLinkKinds[] = {
    {"TsButton", [](TForm* f) -> TControl* { return new TsButton(f); }},
    {"TsBitBtn", [](TForm* f) -> TControl* { return new TsBitBtn(f); }},
    {"TsSpeedButton", [](TForm* f) -> TControl* { return new TsSpeedButton(f); }},
    {"TsCheckBox", [](TForm* f) -> TControl* { return new TsCheckBox(f); }},
};

INSTANTIATE_TEST_SUITE_P(SkinnedControls, sActionLinkTest, ::testing::ValuesIn(ActionLinkKinds),
    [](const auto& info) { return std::string(info.param.name); });

}
