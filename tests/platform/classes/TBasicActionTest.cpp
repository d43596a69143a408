// Actions: a linked control takes the action's properties at linking and on every change, a click executes
// the action, and freeing either side leaves the other sound.
#include "support/ControlsTestKit.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/StdControls.h"
#include "platform/classes/TBasicAction.h"
#include "platform/classes/TButton.h"
#include "platform/classes/TCheckBox.h"

#include <memory>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class TActionProbeButton : public TButton {
public:
    using TButton::TButton;
    using TButton::Click;
};

class TActionProbeCheckBox : public TCheckBox {
public:
    using TCheckBox::TCheckBox;
    using TCheckBox::Click;
};

class BasicActionTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterStdControlClasses();
        Form = NewForm(100, 100, 300, 200);
        Action = new TCustomAction(Form);
    }
    template <class T>
    T* Add(int top) {
        auto* c = new T(Form);
        c->SetBounds(10, top, 120, 24);
        c->SetParent(Form);
        return c;
    }

    TForm* Form = nullptr;
    TCustomAction* Action = nullptr;
};

TEST_F(BasicActionTest, LinkedControlsTakeTheActionsPropertiesAtLinkingAndOnEveryChange) {
    Action->SetCaption("Run");
    Action->SetHint("Runs it");
    auto* button = Add<TActionProbeButton>(10);
    auto* box = Add<TActionProbeCheckBox>(40);
    button->SetAction(Action);
    box->SetAction(Action);
    for (TControl* c : {static_cast<TControl*>(button), static_cast<TControl*>(box)}) {
        SCOPED_TRACE(c->ClassType()->Name());
        EXPECT_EQ(c->Action(), Action);
        EXPECT_EQ(c->Caption(), "Run");
        EXPECT_EQ(c->Hint(), "Runs it");
    }
    struct Step {
        const char* what;
        std::function<void()> change;
        std::function<bool(TControl*)> seen;
    };
    const Step steps[] = {
        {"caption", [&] { Action->SetCaption("Stop"); }, [](TControl* c) { return c->Caption() == "Stop"; }},
        {"disabled", [&] { Action->SetEnabled(false); }, [](TControl* c) { return !c->Enabled(); }},
        {"enabled", [&] { Action->SetEnabled(true); }, [](TControl* c) { return c->Enabled(); }},
        {"hint", [&] { Action->SetHint("Stops it"); }, [](TControl* c) { return c->Hint() == "Stops it"; }},
        {"hidden", [&] { Action->SetVisible(false); }, [](TControl* c) { return !c->Visible(); }},
        {"shown", [&] { Action->SetVisible(true); }, [](TControl* c) { return c->Visible(); }},
    };
    for (const Step& step : steps) {
        step.change();
        EXPECT_TRUE(step.seen(button)) << step.what << " on the button";
        EXPECT_TRUE(step.seen(box)) << step.what << " on the check box";
    }
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    Action->SetChecked(true);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 0) << "taking the action's state is not a click";
}

TEST_F(BasicActionTest, AClickExecutesTheActionUnlessOnClickIsSetOrTheActionIsDisabled) {
    int executed = 0;
    Action->OnExecute = [&](TObject* sender) {
        EXPECT_EQ(sender, Action);
        ++executed;
    };
    auto* button = Add<TActionProbeButton>(10);
    button->SetAction(Action);
    button->Click();
    EXPECT_EQ(executed, 1);
    Action->SetEnabled(false);
    button->Click();
    EXPECT_EQ(executed, 1) << "a disabled action does not run";
    Action->SetEnabled(true);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(executed, 1) << "OnClick takes the click";
}

TEST_F(BasicActionTest, FreeingTheActionUnlinksAndFreeingTheControlLeavesTheAction) {
    auto* button = Add<TActionProbeButton>(10);
    auto* other = Add<TActionProbeButton>(40);
    button->SetAction(Action);
    other->SetAction(Action);
    delete other;
    Action->SetCaption("Still told");   // the freed control is no longer linked
    EXPECT_EQ(button->Caption(), "Still told");
    delete Action;
    Action = nullptr;
    EXPECT_EQ(button->Action(), nullptr);
    button->Click();   // nothing to execute
    button->SetAction(nullptr);
}

TEST_F(BasicActionTest, ActionStreamsByName) {
    for (const char* name : {"Caption", "Checked", "Enabled", "Hint", "ImageIndex", "Visible", "OnExecute"})
        EXPECT_NE(TCustomAction::StaticClass()->FindProperty(name), nullptr) << name;
    Action->SetName("RunAction");
    auto* button = Add<TActionProbeButton>(10);
    button->SetActionComponent(Action);
    EXPECT_EQ(button->Action(), Action);
    EXPECT_THROW(button->SetActionComponent(Form), EInvalidOperation);
    EXPECT_EQ(button->Action(), Action);
}

}
