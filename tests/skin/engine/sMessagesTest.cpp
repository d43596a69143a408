// The skin command message: query delivery forms, the answers across SendMessage, broadcasts to forms.
#include "support/SkinControlsKit.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <stdexcept>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

// Where every skin command of a test went: (control name, code), in order of arrival.
std::vector<std::pair<std::string, int>>* Journal = nullptr;

void Note(TControl* control, const TMessage& m) {
    if (m.Msg == SM_SKINCMD && Journal != nullptr) Journal->emplace_back(control->Name(), SkinCommandCode(m));
}

// A skinned container passes the manager's commands on to its children, as the skinned panels do.
class TJournalPanel : public TTestPanel {
public:
    using TTestPanel::TTestPanel;
    int ThrowOn = 0;   // a code that makes this receiver fail

protected:
    void WndProc(TMessage& m) override {
        Note(this, m);
        if (m.Msg == SM_SKINCMD && SkinCommandCode(m) == ThrowOn) throw std::runtime_error("receiver failed");
        TTestPanel::WndProc(m);
        if (m.Msg == SM_SKINCMD && SkinCommandCode(m) >= SMC_NEWSKIN && SkinCommandCode(m) <= SMC_REFRESH)
            BroadcastToChildren(this, m);
    }
};

class TJournalButton : public TTestButton {
public:
    using TTestButton::TTestButton;
    TControl* FreeOnNewSkin = nullptr;   // a sibling this receiver frees when told of a new skin

protected:
    void WndProc(TMessage& m) override {
        Note(this, m);
        if (FreeOnNewSkin != nullptr && IsSkinCommand(m, SMC_NEWSKIN)) {
            delete FreeOnNewSkin;
            FreeOnNewSkin = nullptr;
        }
        TTestButton::WndProc(m);
    }
};

class TJournalLabel : public TTestLabel {
public:
    using TTestLabel::TTestLabel;

protected:
    void WndProc(TMessage& m) override {
        Note(this, m);
        TTestLabel::WndProc(m);
    }
};

// A windowed container with no skin state: it does not answer the skinned query.
class TPlainBox : public TCustomControl {
public:
    explicit TPlainBox(TComponent* owner) : TCustomControl(owner) {
        SetControlStyle(ControlStyle() + TControlStyle {csAcceptsControls});
        SetBounds(0, 0, 120, 80);
    }

protected:
    void WndProc(TMessage& m) override {
        Note(this, m);
        TCustomControl::WndProc(m);
    }
};

// Asks another control's cache after answering its own, as a paint in the middle of an answer would.
class TCacheNestingPanel : public TTestPanel {
public:
    using TTestPanel::TTestPanel;
    TControl* AskAfterAnswering = nullptr;

protected:
    void WndProc(TMessage& m) override {
        TTestPanel::WndProc(m);
        if (IsSkinCommand(m, SMC_GETCACHE) && AskAfterAnswering != nullptr) AskControlCache(AskAfterAnswering);
    }
};

// The MDI client window's own procedure; the skin commands sent to the window are noted as "MdiClient".
user::WNDPROC MdiClientProc = nullptr;
user::LRESULT NoteMdiClient(user::HWND hwnd, user::UINT msg, user::WPARAM wParam, user::LPARAM lParam) {
    if (msg == SM_SKINCMD && Journal != nullptr) Journal->emplace_back("MdiClient", int(user::HIWORD(wParam)));
    return user::CallWindowProc(MdiClientProc, hwnd, msg, wParam, lParam);
}

template <class T>
T* Put(TWinControl* parent, const std::string& name, int left, int top) {
    T* c = new T(parent);
    c->SetName(name);
    c->SetParent(parent);
    c->SetLeft(left);
    c->SetTop(top);
    if constexpr (requires { c->SkinData; }) c->SkinData->Loaded();
    return c;
}

class SkinMessages : public SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        Journal = &Seen;
        skin.AddSection("PANEL", 0x336699);
        skin.AddSection("BUTTON", 0x20A020);
        skin.AddSection("CHECKBOX", 0x000000, 100);
    }
    void TearDown() override {
        Journal = nullptr;
        ClearExtraForms();
        SkinControlsTest::TearDown();
    }
    // The codes the named control received, in order.
    std::vector<int> CodesOf(const std::string& name) const {
        std::vector<int> codes;
        for (const auto& [who, code] : Seen)
            if (who == name) codes.push_back(code);
        return codes;
    }
    int Count(const std::string& name, int code) const {
        int n = 0;
        for (const auto& [who, c] : Seen)
            n += who == name && c == code;
        return n;
    }
    void NewSkinFromManager() {
        TMessage m = MakeSkinCommand(SMC_NEWSKIN, 0, reinterpret_cast<LPARAM>(skin.Manager()));
        BroadcastToForms(m);
    }

    CodeSkin skin;
    std::vector<std::pair<std::string, int>> Seen;
};

}

TEST(SkinCommand, ParametersCarryTheCodeHighAndTheArgumentLow) {
    const TMessage m = MakeSkinCommand(SMC_SETPAINTMARK, 1, 77);
    EXPECT_EQ(m.Msg, 0xA100u);
    EXPECT_EQ(m.WParam, WPARAM(0x00090001));
    EXPECT_EQ(SkinCommandCode(m), SMC_SETPAINTMARK);
    EXPECT_EQ(SkinCommandArgument(m), 1);
    EXPECT_EQ(m.LParam, 77);
    EXPECT_TRUE(IsSkinCommand(m, SMC_SETPAINTMARK));
    EXPECT_FALSE(IsSkinCommand(m, SMC_SETUPDATING));
}

TEST_F(SkinMessages, YesNoQueriesAnswerThroughPerformAndADirectCallButNotThroughSendMessage) {
    TForm* form = NewForm();
    auto* panel = Put<TJournalPanel>(form, "Panel", 10, 10);
    Pump();
    ASSERT_TRUE(panel->HandleAllocated());

    EXPECT_TRUE(QuerySkinCommand(panel, SMC_ISSKINNED));
    TMessage performed = MakeSkinCommand(SMC_ISSKINNED);
    panel->Perform(performed);
    EXPECT_EQ(performed.LParam, 1);

    // The receiver answers into its own copy: the sender sees neither LParam nor a result.
    TMessage sent = MakeSkinCommand(SMC_ISSKINNED);
    const LRESULT result = user::SendMessage(panel->WindowHandle(), sent.Msg, sent.WParam, sent.LParam);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(sent.LParam, 0);
    EXPECT_EQ(Count("Panel", SMC_ISSKINNED), 3);   // it was asked all three times

    auto* plain = Put<TPlainBox>(form, "Plain", 150, 10);
    EXPECT_FALSE(QuerySkinCommand(plain, SMC_ISSKINNED));
    EXPECT_FALSE(QuerySkinCommand(nullptr, SMC_ISSKINNED));
}

TEST_F(SkinMessages, ColourAndCacheAnswersSurviveSendMessage) {
    TForm* form = NewForm();
    auto* panel = Put<TTestPanel>(form, "Panel", 10, 10);
    auto* glass = Put<TJournalButton>(panel, "Glass", 5, 5);
    skin.Section(1).Transparency = 50;
    skin.Section(1).Color = 0x000000;
    panel->SkinData->InitCacheBmp();
    Pump();

    EXPECT_EQ(AskColor(panel->WindowHandle()), 0x336699);
    // Half the section's black, half the parent's answer.
    panel->SkinData->SetSkinSection("NONE");
    panel->SetColor(0xFFFFFF);
    EXPECT_EQ(AskColor(glass->WindowHandle()), 0x7F7F7F);

    panel->SkinData->SetSkinSection("PANEL");
    panel->SkinData->InitCacheBmp();
    const TsParentCacheInfo answer = AskCache(panel->WindowHandle());
    EXPECT_TRUE(answer.Ready);
    EXPECT_EQ(answer.Bmp, panel->SkinData->CacheBmp());
}

TEST_F(SkinMessages, ACacheQueryNestedInAnAnswerLeavesTheOuterAnswerAlone) {
    TForm* form = NewForm();
    auto* outer = Put<TCacheNestingPanel>(form, "Outer", 10, 10);
    auto* inner = Put<TTestPanel>(form, "Inner", 150, 10);
    outer->SkinData->InitCacheBmp();
    inner->SkinData->InitCacheBmp();
    Pump();
    ASSERT_NE(outer->SkinData->CacheBmp(), inner->SkinData->CacheBmp());

    outer->AskAfterAnswering = inner;   // a control with a cache of its own
    TsParentCacheInfo answer = AskCache(outer->WindowHandle());
    EXPECT_TRUE(answer.Ready);
    EXPECT_EQ(answer.Bmp, outer->SkinData->CacheBmp());
    outer->AskAfterAnswering = form;   // a control that answers nothing
    answer = AskControlCache(outer);
    EXPECT_TRUE(answer.Ready);
    EXPECT_EQ(answer.Bmp, outer->SkinData->CacheBmp());
}

TEST_F(SkinMessages, CommandsToOneControlGoByPerformOrToALiveWindow) {
    TForm* form = NewForm();
    auto* panel = Put<TJournalPanel>(form, "Panel", 10, 10);
    auto* label = Put<TJournalLabel>(panel, "Label", 4, 4);
    Pump();
    Seen.clear();
    SendSkinCommandToControl(label, SMC_SETBGCHANGED);
    SendSkinCommandToControl(panel, SMC_SETBGCHANGED);
    EXPECT_EQ(CodesOf("Label"), std::vector<int> {SMC_SETBGCHANGED});
    EXPECT_EQ(CodesOf("Panel"), std::vector<int> {SMC_SETBGCHANGED});
    panel->Destroying();   // on its way out: not told any more
    SendSkinCommandToControl(panel, SMC_SETBGCHANGED);
    EXPECT_EQ(CodesOf("Panel").size(), 1u);
    EXPECT_EQ(SendSkinCommandToControl(nullptr, SMC_SETBGCHANGED), 0);
}

TEST_F(SkinMessages, ChildrenBroadcastReachesSkinnedChildrenAndLooksInsideUnskinnedOnes) {
    TForm* form = NewForm(400, 300);
    auto* panel = Put<TPlainBox>(form, "Host", 0, 0);
    panel->SetBounds(0, 0, 400, 300);
    Put<TJournalButton>(panel, "Edit", 10, 10);
    auto* group = Put<TPlainBox>(panel, "Group", 10, 60);
    Put<TJournalButton>(group, "Check", 5, 5);
    Put<TJournalLabel>(panel, "Caption", 200, 10);
    Pump();
    Seen.clear();

    TMessage m = MakeSkinCommand(SMC_SETBGCHANGED);
    BroadcastToChildren(panel, m);
    EXPECT_EQ(Count("Edit", SMC_SETBGCHANGED), 1);
    EXPECT_EQ(Count("Check", SMC_SETBGCHANGED), 1);
    EXPECT_EQ(Count("Caption", SMC_SETBGCHANGED), 1);
    EXPECT_EQ(Count("Group", SMC_SETBGCHANGED), 0);   // only asked whether it is skinned
    EXPECT_EQ(Count("Group", SMC_ISSKINNED), 1);
}

TEST_F(SkinMessages, NewSkinReachesEveryControlOfEveryFormAndTheExtraForms) {
    TForm* first = NewForm();
    first->SetName("First");
    auto* panel = Put<TJournalPanel>(first, "Panel1", 0, 0);
    Put<TJournalButton>(panel, "Button1", 5, 5);
    Put<TJournalLabel>(panel, "Label1", 5, 40);
    TForm* second = NewForm();
    second->SetName("Second");
    auto* box = Put<TPlainBox>(second, "Box2", 0, 0);
    Put<TJournalButton>(box, "Button2", 5, 5);
    Put<TJournalLabel>(second, "Label2", 150, 5);
    auto extra = std::make_unique<TForm>(nullptr);   // not the application's: reached as an extra form
    Put<TJournalLabel>(extra.get(), "Label3", 0, 0);
    AddExtraForm(extra.get());
    Pump();
    Seen.clear();

    NewSkinFromManager();
    for (const char* name : {"Panel1", "Button1", "Label1", "Button2", "Label2", "Label3"})
        EXPECT_EQ(Count(name, SMC_NEWSKIN), 1) << name;
    // Forms from the last made: the second form's controls come first, the extra form's last.
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.back().first, "Label3");
    const auto firstOf = [&](const std::string& name) {
        for (std::size_t i = 0; i < Seen.size(); ++i)
            if (Seen[i].first == name && Seen[i].second == SMC_NEWSKIN) return i;
        return Seen.size();
    };
    EXPECT_LT(firstOf("Button2"), firstOf("Panel1"));

    extra.reset();   // a freed extra form leaves the list
    EXPECT_TRUE(ExtraForms().empty());
    Seen.clear();
    NewSkinFromManager();
    EXPECT_EQ(Count("Label1", SMC_NEWSKIN), 1);
}

TEST_F(SkinMessages, AnMdiParentsClientWindowIsToldAfterTheFormAndItsControls) {
    TForm* frame = Create<TForm>(Application);
    frame->SetFormStyle(fsMDIForm);
    frame->SetBounds(20, 20, 400, 300);
    Put<TJournalLabel>(frame, "FrameLabel", 0, 0);
    frame->Show();
    Pump();
    const user::HWND client = frame->ClientHandle();
    ASSERT_NE(client, nullptr);
    const auto hook = [client](user::WNDPROC proc) {
        return user::ProcFromLong(user::SetWindowLongPtr(client, user::GWL_WNDPROC, user::LongFromProc(proc)));
    };
    MdiClientProc = hook(NoteMdiClient);
    const base::ScopeExit restore([&] { hook(MdiClientProc); });
    TForm* plain = NewForm();
    Put<TJournalLabel>(plain, "PlainLabel", 0, 0);
    Seen.clear();

    NewSkinFromManager();
    EXPECT_EQ(Count("PlainLabel", SMC_NEWSKIN), 1);
    const std::vector<std::string> frameOrder = {"FrameLabel", "MdiClient"};
    std::vector<std::string> order;
    for (const auto& [who, code] : Seen)
        if (code == SMC_NEWSKIN && (who == "FrameLabel" || who == "MdiClient")) order.push_back(who);
    EXPECT_EQ(order, frameOrder);
}

TEST_F(SkinMessages, ADyingChildEndsTheWalkOfTheSiblingsAfterIt) {
    TForm* form = NewForm(400, 300);
    Put<TJournalButton>(form, "A", 0, 0);
    auto* box = Put<TPlainBox>(form, "Box", 0, 30);
    Put<TJournalButton>(box, "Before", 0, 0);
    auto* dying = Put<TJournalButton>(box, "Dying", 0, 25);
    Put<TJournalButton>(box, "After", 0, 50);
    Put<TJournalButton>(form, "C", 0, 180);
    TForm* other = NewForm();
    Put<TJournalButton>(other, "D", 0, 0);
    Pump();
    dying->Destroying();
    Seen.clear();

    NewSkinFromManager();
    for (const char* name : {"A", "Before", "C", "D"})
        EXPECT_EQ(Count(name, SMC_NEWSKIN), 1) << name;
    EXPECT_EQ(Count("Dying", SMC_NEWSKIN), 0);
    EXPECT_EQ(Count("After", SMC_NEWSKIN), 0);   // the box's walk ended at the dying child
}

TEST_F(SkinMessages, AFailingReceiverEndsTheWalkQuietlyAndAFreedSiblingIsNotTold) {
    TForm* form = NewForm(400, 300);
    auto* a = Put<TJournalButton>(form, "A", 0, 0);
    auto* freed = Put<TJournalButton>(form, "Freed", 0, 30);
    Put<TJournalButton>(form, "B", 0, 60);
    auto* failing = Put<TJournalPanel>(form, "Failing", 0, 90);
    Put<TJournalButton>(failing, "Inside", 0, 0);
    Put<TJournalButton>(form, "C", 0, 180);
    TForm* other = NewForm();
    Put<TJournalButton>(other, "D", 0, 0);
    Pump();
    a->FreeOnNewSkin = freed;
    failing->ThrowOn = SMC_NEWSKIN;
    Seen.clear();

    NewSkinFromManager();
    for (const char* name : {"A", "B", "Failing", "D"})
        EXPECT_EQ(Count(name, SMC_NEWSKIN), 1) << name;
    EXPECT_EQ(Count("Freed", SMC_NEWSKIN), 0);
    EXPECT_EQ(Count("Inside", SMC_NEWSKIN), 0);   // its container failed before passing it on
    EXPECT_EQ(Count("C", SMC_NEWSKIN), 0);   // the form's walk ended with the failure
}

namespace {

// A form that notes the skin commands its own window receives.
class TJournalForm : public TForm {
public:
    using TForm::TForm;
    std::vector<int> Codes;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == SM_SKINCMD) Codes.push_back(SkinCommandCode(m));
        TForm::WndProc(m);
    }
};

}

TEST_F(SkinMessages, AFormWhoseWindowIsNotMadeYetHasItMadeAndHearsTheBroadcast) {
    auto* form = Create<TJournalForm>(Application);   // made in code and never shown: no window yet
    ASSERT_FALSE(form->HandleAllocated());
    NewSkinFromManager();
    EXPECT_TRUE(form->HandleAllocated());
    EXPECT_EQ(form->Codes, std::vector<int> {SMC_NEWSKIN});
    EXPECT_FALSE(form->Visible());
}

TEST_F(SkinMessages, AFormBeingDestroyedGetsNothing) {
    TForm* gone = NewForm();
    Put<TJournalLabel>(gone, "Gone", 0, 0);
    TForm* kept = NewForm();
    Put<TJournalLabel>(kept, "Kept", 0, 0);
    Pump();
    gone->Destroying();
    Seen.clear();
    NewSkinFromManager();
    EXPECT_EQ(Count("Gone", SMC_NEWSKIN), 0);
    EXPECT_EQ(Count("Kept", SMC_NEWSKIN), 1);
}

TEST_F(SkinMessages, TheManagerAnnouncesToItsFollowersOnly) {
    TForm* form = NewForm();
    auto* button = Put<TJournalButton>(form, "Button", 0, 0);
    Pump();
    Seen.clear();
    ASSERT_EQ(DefaultManager, skin.Manager());
    EXPECT_EQ(button->SkinData->SkinIndex, 1);

    // Another manager's removal leaves a follower of the default manager alone.
    CodeSkin other;   // made inactive: its own removal reaches everybody
    Seen.clear();
    TMessage foreign = MakeSkinCommand(SMC_REMOVESKIN, 0, reinterpret_cast<LPARAM>(other.Manager()));
    BroadcastToForms(foreign);
    EXPECT_EQ(button->SkinData->SkinIndex, 1);

    skin.Manager()->SendRemoveSkin();
    EXPECT_EQ(Count("Button", SMC_REMOVESKIN), 2);   // the other manager's too
    EXPECT_EQ(button->SkinData->SkinIndex, -1);
    EXPECT_FALSE(button->SkinData->Skinned());
    EXPECT_TRUE(skin.Manager()->Sections.empty());
}
