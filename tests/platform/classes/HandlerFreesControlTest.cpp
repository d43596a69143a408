// A control or menu item freed by its own handler: the class library touches nothing of it afterwards (the
// sanitizer build reports any use after free), the form goes on working, and the handler ran once.
#include "support/ControlsTestKit.h"

#include "platform/classes/StdControls.h"
#include "platform/classes/TButton.h"
#include "platform/classes/TCheckBox.h"
#include "platform/classes/TComboBox.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TEdit.h"
#include "platform/classes/TListBox.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TPageControl.h"
#include "platform/classes/TScrollBar.h"
#include "platform/classes/TSpeedButton.h"
#include "platform/classes/TStringGrid.h"
#include "platform/user/Menus.h"
#include "platform/user/VirtualKeys.h"
#include "tests/platform/user/support/MenuLoopSteps.h"

#include <deque>
#include <functional>
#include <string>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

// A handler (of the sender and the given other parameters) that counts its call, then frees its sender; the
// handler itself goes with it, so it touches nothing of its own after the free.
template <class... Rest>
auto Freeing(int* calls) {
    return [calls](TObject* sender, Rest...) {
        ++*calls;
        sender->Free();
    };
}

class HandlerFreesControlTest : public ControlsTest {
public:
    using ControlsTest::Pump;

    void SetUp() override {
        ControlsTest::SetUp();
        RegisterStdControlClasses();
        RegisterMenuClasses();
        Form = NewForm(100, 100, 300, 200);
    }
    void TearDown() override {
        user::SetMenuLoopIdleHook({});
        for (const std::string& e : Exceptions)
            ADD_FAILURE() << "exception in a handler: " << e;
        ControlsTest::TearDown();
    }
    template <class T>
    T* Add(int x, int y, const std::string& caption = "Go") {
        auto* c = Create<T>(Form);
        c->SetBounds(x, y, 75, 25);
        c->SetCaption(caption);
        c->SetParent(Form);
        if (auto* win = dynamic_cast<TWinControl*>(static_cast<TControl*>(c))) win->HandleNeeded();
        Pump();
        return c;
    }
    std::function<void(TObject*)> FreeSender() { return Freeing<>(&Calls); }
    void ClickAt(const TControl* control, user::MouseButton button = user::MouseButton::Left) {
        const TPoint p = At(control, 10, 10);
        Display->Click(p.x, p.y, button);
        Pump();
    }
    void Key(unsigned vk, const std::string& text = {}) {
        Display->Press(vk, text);
        Pump();
    }
    // The form still takes clicks and keys after the control is gone.
    void ExpectFormStillWorks() {
        auto* other = Add<TButton>(150, 150, "Other");
        int clicks = 0;
        other->OnClick = [&clicks](TObject*) { ++clicks; };
        ClickAt(other);
        EXPECT_EQ(clicks, 1);
    }
    // "&Go" under "&File" in the form's main menu; its OnClick frees it.
    TMenuItem* MainMenuItemThatFreesItself() {
        TMainMenu* bar = new TMainMenu(Form);
        auto* file = new TMenuItem(Form);
        file->SetCaption("&File");
        auto* item = new TMenuItem(Form);
        item->SetCaption("&Go");
        item->OnClick = FreeSender();
        bar->Items()->Add(file);
        file->Add(item);
        Form->SetMenuComponent(bar);
        Form->SetFocus();
        Pump();
        return item;
    }
    // Runs act and expects the watched component freed once by its handler.
    void ExpectFreedOnce(TComponent* component, const std::function<void()>& act) {
        TComponentWatch watch(component);
        act();
        EXPECT_FALSE(watch.Alive());
        EXPECT_EQ(Calls, 1);
        ExpectFormStillWorks();
    }

    TForm* Form = nullptr;
    int Calls = 0;
};

// A click on a control whose click or mouse handler frees it.
struct ClickCase {
    const char* Name;
    TControl* (*Make)(HandlerFreesControlTest& test);
    void (*Hook)(TControl* control, int* calls);   // sets the handler that counts its call and frees the control
};

TControl* MakeButton(HandlerFreesControlTest& test) {
    return test.Add<TButton>(10, 10);
}
TControl* MakeCheckBox(HandlerFreesControlTest& test) {
    return test.Add<TCheckBox>(10, 10);
}
TControl* MakeSpeedButton(HandlerFreesControlTest& test) {
    return test.Add<TSpeedButton>(10, 10);
}
TControl* MakeListBox(HandlerFreesControlTest& test) {
    auto* list = test.Add<TListBox>(10, 10, "");
    list->Items()->Add("one");
    return list;
}
// Made with the focus on another edit, so that a click brings it in.
TControl* AwayFromFocus(HandlerFreesControlTest& test, TControl* control) {
    auto* other = test.Add<TEdit>(10, 150, "");
    other->SetFocus();
    test.Pump();
    return control;
}
TControl* MakeEditAwayFromFocus(HandlerFreesControlTest& test) {
    return AwayFromFocus(test, test.Add<TEdit>(10, 10, ""));
}
TControl* MakeButtonAwayFromFocus(HandlerFreesControlTest& test) {
    return AwayFromFocus(test, test.Add<TButton>(10, 10));
}
void FreeOnEnter(TControl* control, int* calls) {
    static_cast<TWinControl*>(control)->OnEnter = Freeing<>(calls);
}
void FreeOnClick(TControl* control, int* calls) {
    control->OnClick = Freeing<>(calls);
}
void FreeOnMouseDown(TControl* control, int* calls) {
    control->OnMouseDown = Freeing<TMouseButton, TShiftState, int, int>(calls);
}
void FreeOnMouseUp(TControl* control, int* calls) {
    control->OnMouseUp = Freeing<TMouseButton, TShiftState, int, int>(calls);
}

class ControlFreedByAClick : public HandlerFreesControlTest, public ::testing::WithParamInterface<ClickCase> { };

TEST_P(ControlFreedByAClick, TheControlIsFreedOnceAndTheFormGoesOn) {
    TControl* control = GetParam().Make(*this);
    GetParam().Hook(control, &Calls);
    ExpectFreedOnce(control, [&] { ClickAt(control); });
}

INSTANTIATE_TEST_SUITE_P(Handlers, ControlFreedByAClick,
    ::testing::Values(ClickCase {"ButtonOnClick", MakeButton, FreeOnClick},
        ClickCase {"ButtonOnMouseDown", MakeButton, FreeOnMouseDown},
        ClickCase {"ButtonOnMouseUp", MakeButton, FreeOnMouseUp},
        ClickCase {"CheckBoxOnClick", MakeCheckBox, FreeOnClick},
        ClickCase {"WindowlessButtonOnClick", MakeSpeedButton, FreeOnClick},
        ClickCase {"WindowlessButtonOnMouseDown", MakeSpeedButton, FreeOnMouseDown},
        ClickCase {"ListBoxOnClick", MakeListBox, FreeOnClick},
        ClickCase {"EditOnEnter", MakeEditAwayFromFocus, FreeOnEnter},
        ClickCase {"ButtonOnEnter", MakeButtonAwayFromFocus, FreeOnEnter}),
    [](const ::testing::TestParamInfo<ClickCase>& info) { return std::string(info.param.Name); });

TEST_F(HandlerFreesControlTest, AButtonFreedByItsOnClickFromTheSpaceBar) {
    auto* b = Add<TButton>(10, 10);
    b->OnClick = FreeSender();
    b->SetFocus();
    ExpectFreedOnce(b, [&] { Key(user::VK_SPACE, " "); });
}

TEST_F(HandlerFreesControlTest, ADefaultButtonFreedByItsOnClickFromEnter) {
    auto* b = Add<TButton>(10, 10);
    auto* box = Add<TCheckBox>(10, 50);
    b->SetDefault(true);
    b->OnClick = FreeSender();
    box->SetFocus();
    ExpectFreedOnce(b, [&] { Key(user::VK_RETURN, "\r"); });
}

// Typing into an edit whose key or change handler frees it.
struct EditHandlerCase {
    const char* Name;
    void (*Hook)(TEdit* edit, int* calls);   // sets the handler that counts its call and frees the edit
};

class EditFreedWhileTyping : public HandlerFreesControlTest, public ::testing::WithParamInterface<EditHandlerCase> { };

TEST_P(EditFreedWhileTyping, TheEditIsFreedOnceAndTheFormGoesOn) {
    auto* e = Add<TEdit>(10, 10, "");
    GetParam().Hook(e, &Calls);
    e->SetFocus();
    ExpectFreedOnce(e, [&] { Key('A', "a"); });
}

INSTANTIATE_TEST_SUITE_P(Handlers, EditFreedWhileTyping,
    ::testing::Values(
        EditHandlerCase {"OnChange",
            [](TEdit* e, int* calls) {
                e->OnChange = Freeing<>(calls);
            }},
        EditHandlerCase {"OnKeyDown",
            [](TEdit* e, int* calls) {
                e->OnKeyDown = Freeing<user::WORD&, TShiftState>(calls);
            }},
        EditHandlerCase {"OnKeyPress",
            [](TEdit* e, int* calls) {
                e->OnKeyPress = Freeing<char32_t&>(calls);
            }},
        EditHandlerCase {"OnKeyUp",
            [](TEdit* e, int* calls) {
                e->OnKeyUp = Freeing<user::WORD&, TShiftState>(calls);
            }}),
    [](const ::testing::TestParamInfo<EditHandlerCase>& info) { return std::string(info.param.Name); });

TEST_F(HandlerFreesControlTest, AnEditFreedByItsOnExit) {
    auto* e = Add<TEdit>(10, 10, "");
    auto* other = Add<TEdit>(10, 50, "");
    e->OnExit = FreeSender();
    e->SetFocus();
    Pump();
    ExpectFreedOnce(e, [&] {
        other->SetFocus();
        Pump();
    });
}

TEST_F(HandlerFreesControlTest, AComboBoxFreedByItsOnChange) {
    auto* c = Add<TComboBox>(10, 10, "");
    c->SetFocus();
    c->OnChange = FreeSender();
    ExpectFreedOnce(c, [&] { Key('A', "a"); });
}

TEST_F(HandlerFreesControlTest, AScrollBarFreedByItsOnChange) {
    auto* s = Add<TScrollBar>(10, 10, "");
    s->SetBounds(10, 10, 120, 17);
    Pump();
    s->OnChange = FreeSender();
    const TPoint p = At(s, 115, 8);
    ExpectFreedOnce(s, [&] {
        Display->Click(p.x, p.y);
        Pump();
    });
}

TEST_F(HandlerFreesControlTest, AStringGridFreedByItsOnSelectCell) {
    auto* g = Add<TStringGrid>(10, 10, "");
    g->SetBounds(10, 10, 250, 150);
    Pump();
    g->OnSelectCell = Freeing<int, int, bool&>(&Calls);
    const TPoint p = At(g, g->DefaultColWidth() * 2 + 10, g->DefaultRowHeight() * 2 + 5);
    ExpectFreedOnce(g, [&] {
        Display->Click(p.x, p.y);
        Pump();
    });
}

TEST_F(HandlerFreesControlTest, ATabSheetFreedByItsOnShowLeavesThePageControlWorking) {
    auto* pages = Create<TPageControl>(Form);
    pages->SetBounds(10, 10, 200, 120);
    pages->SetParent(Form);
    for (const char* caption : {"One", "Two"}) {
        auto* sheet = Create<TTabSheet>(Form);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
    }
    Pump();
    TTabSheet* second = pages->Pages(1);
    second->OnShow = Freeing<>(&Calls);
    TComponentWatch watch(second);
    pages->SetActivePage(second);
    Pump();
    EXPECT_FALSE(watch.Alive());
    EXPECT_EQ(Calls, 1);
    EXPECT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0));
}

TEST_F(HandlerFreesControlTest, APopupMenuItemFreedByItsOnClick) {
    TPopupMenu* menu = new TPopupMenu(Form);
    auto* item = new TMenuItem(Form);
    item->SetCaption("&Go");
    item->OnClick = FreeSender();
    menu->Items()->Add(item);
    ExpectFreedOnce(item, [&] {
        user::test::MenuLoopSteps({[&] { Display->Press(user::VK_DOWN); }, [&] { Display->Press(user::VK_RETURN); }});
        menu->Popup(200, 200);
        Pump();
    });
    EXPECT_EQ(menu->Items()->Count(), 0);
}

TEST_F(HandlerFreesControlTest, AMainMenuItemFreedByItsShortCut) {
    TMenuItem* item = MainMenuItemThatFreesItself();
    item->SetShortCut(TextToShortCut("Ctrl+G"));
    TMenuItem* file = item->Parent();
    ExpectFreedOnce(item, [&] {
        Display->Press('G', "", user::ModControl);
        Pump();
    });
    EXPECT_EQ(file->Count(), 0);
}

TEST_F(HandlerFreesControlTest, AMainMenuItemFreedByItsOnClickFromTheMenuBar) {
    TMenuItem* item = MainMenuItemThatFreesItself();
    ExpectFreedOnce(item, [&] {
        user::test::MenuLoopSteps({[&] { Display->Press('G', "g"); }});
        Display->Press('F', "f", user::ModAlt);
        Pump();
    });
}

TEST_F(HandlerFreesControlTest, APopupMenuFreedByItsOnPopup) {
    TPopupMenu* menu = new TPopupMenu(Form);
    menu->Items()->Add(new TMenuItem(Form));
    menu->OnPopup = FreeSender();
    TComponentWatch watch(menu);
    menu->Popup(200, 200);
    Pump();
    EXPECT_FALSE(watch.Alive());
    EXPECT_EQ(Calls, 1);
}

// A second form, so that closing the one under test does not end the program.
TEST_F(HandlerFreesControlTest, AFormFreedByItsOnClose) {
    TForm* other = NewForm(400, 100, 200, 100);
    other->OnClose = Freeing<TCloseAction&>(&Calls);
    TComponentWatch watch(other);
    other->Close();
    Pump();
    EXPECT_FALSE(watch.Alive());
    EXPECT_EQ(Calls, 1);
    ExpectFormStillWorks();
}

TEST_F(HandlerFreesControlTest, AFormFreedByItsOnShortCutTakesTheKey) {
    TForm* other = NewForm(400, 100, 200, 100);
    auto* e = Create<TEdit>(other);
    e->SetParent(other);
    other->OnShortCut = [this, other](TMessage&, bool&) { FreeSender()(other); };
    e->SetFocus();
    Pump();
    TComponentWatch watch(other);
    Key('A', "a");
    EXPECT_FALSE(watch.Alive());
    EXPECT_EQ(Calls, 1);
}

}
