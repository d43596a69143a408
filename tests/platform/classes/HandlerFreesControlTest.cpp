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

class HandlerFreesControlTest : public ControlsTest {
protected:
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
    // A handler that counts its call, then frees its sender; the handler itself goes with it, so it touches
    // nothing of its own after the free.
    std::function<void(TObject*)> FreeSender() {
        return [calls = &Calls](TObject* sender) {
            ++*calls;
            sender->Free();
        };
    }
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

TEST_F(HandlerFreesControlTest, AButtonFreedByItsOnClickFromTheMouse) {
    auto* b = Add<TButton>(10, 10);
    b->OnClick = FreeSender();
    ExpectFreedOnce(b, [&] { ClickAt(b); });
}

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

TEST_F(HandlerFreesControlTest, AButtonFreedByItsOnMouseDown) {
    auto* b = Add<TButton>(10, 10);
    b->OnMouseDown = [this](TObject* sender, TMouseButton, TShiftState, int, int) { FreeSender()(sender); };
    ExpectFreedOnce(b, [&] { ClickAt(b); });
}

TEST_F(HandlerFreesControlTest, AButtonFreedByItsOnMouseUp) {
    auto* b = Add<TButton>(10, 10);
    b->OnMouseUp = [this](TObject* sender, TMouseButton, TShiftState, int, int) { FreeSender()(sender); };
    ExpectFreedOnce(b, [&] { ClickAt(b); });
}

TEST_F(HandlerFreesControlTest, ACheckBoxFreedByItsOnClick) {
    auto* c = Add<TCheckBox>(10, 10);
    c->OnClick = FreeSender();
    ExpectFreedOnce(c, [&] { ClickAt(c); });
}

TEST_F(HandlerFreesControlTest, AWindowlessButtonFreedByItsOnClick) {
    auto* s = Add<TSpeedButton>(10, 10);
    s->OnClick = FreeSender();
    ExpectFreedOnce(s, [&] { ClickAt(s); });
}

TEST_F(HandlerFreesControlTest, AWindowlessControlFreedByItsOnMouseDown) {
    auto* s = Add<TSpeedButton>(10, 10);
    s->OnMouseDown = [this](TObject* sender, TMouseButton, TShiftState, int, int) { FreeSender()(sender); };
    ExpectFreedOnce(s, [&] { ClickAt(s); });
}

TEST_F(HandlerFreesControlTest, AnEditFreedByItsOnChange) {
    auto* e = Add<TEdit>(10, 10, "");
    e->OnChange = FreeSender();
    e->SetFocus();
    ExpectFreedOnce(e, [&] { Key('A', "a"); });
}

TEST_F(HandlerFreesControlTest, AnEditFreedByItsOnKeyDown) {
    auto* e = Add<TEdit>(10, 10, "");
    e->OnKeyDown = [this](TObject* sender, user::WORD&, TShiftState) { FreeSender()(sender); };
    e->SetFocus();
    ExpectFreedOnce(e, [&] { Key('A', "a"); });
}

TEST_F(HandlerFreesControlTest, AnEditFreedByItsOnKeyPress) {
    auto* e = Add<TEdit>(10, 10, "");
    e->OnKeyPress = [this](TObject* sender, char32_t&) { FreeSender()(sender); };
    e->SetFocus();
    ExpectFreedOnce(e, [&] { Key('A', "a"); });
}

TEST_F(HandlerFreesControlTest, AnEditFreedByItsOnKeyUp) {
    auto* e = Add<TEdit>(10, 10, "");
    e->OnKeyUp = [this](TObject* sender, user::WORD&, TShiftState) { FreeSender()(sender); };
    e->SetFocus();
    ExpectFreedOnce(e, [&] { Key('A', "a"); });
}

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

TEST_F(HandlerFreesControlTest, AnEditFreedByItsOnEnter) {
    auto* e = Add<TEdit>(10, 10, "");
    auto* other = Add<TEdit>(10, 50, "");
    other->SetFocus();
    Pump();
    e->OnEnter = FreeSender();
    ExpectFreedOnce(e, [&] { ClickAt(e); });
}

TEST_F(HandlerFreesControlTest, AButtonFreedByItsOnEnterFromAClick) {
    auto* b = Add<TButton>(10, 10);
    auto* other = Add<TEdit>(10, 50, "");
    other->SetFocus();
    Pump();
    b->OnEnter = FreeSender();
    ExpectFreedOnce(b, [&] { ClickAt(b); });
}

TEST_F(HandlerFreesControlTest, AListBoxFreedByItsOnClick) {
    auto* l = Add<TListBox>(10, 10, "");
    l->Items()->Add("one");
    l->OnClick = FreeSender();
    ExpectFreedOnce(l, [&] { ClickAt(l); });
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
    g->OnSelectCell = [this](TObject* sender, int, int, bool&) { FreeSender()(sender); };
    const TPoint p = At(g, g->DefaultColWidth() * 2 + 10, g->DefaultRowHeight() * 2 + 5);
    ExpectFreedOnce(g, [&] {
        Display->Click(p.x, p.y);
        Pump();
    });
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
    TMainMenu* bar = new TMainMenu(Form);
    auto* file = new TMenuItem(Form);
    file->SetCaption("&File");
    auto* item = new TMenuItem(Form);
    item->SetCaption("&Go");
    item->SetShortCut(TextToShortCut("Ctrl+G"));
    item->OnClick = FreeSender();
    bar->Items()->Add(file);
    file->Add(item);
    Form->SetMenuComponent(bar);
    Form->SetFocus();
    Pump();
    ExpectFreedOnce(item, [&] {
        Display->Press('G', "", user::ModControl);
        Pump();
    });
    EXPECT_EQ(file->Count(), 0);
}

TEST_F(HandlerFreesControlTest, AMainMenuItemFreedByItsOnClickFromTheMenuBar) {
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
    other->OnClose = [this](TObject* sender, TCloseAction&) { FreeSender()(sender); };
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
