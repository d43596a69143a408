// Tests for menu items, popup and main menus on forms, shortcuts, owner drawing and menus read from form text.
#include "platform/classes/TMenu.h"
#include "platform/classes/PropInfo.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TMethodTable.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Menus.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "support/ControlsTestKit.h"
#include "support/GraphicsTestKit.h"
#include "tests/platform/user/support/MenuLoopSteps.h"

#include <cstdlib>

#include <deque>

namespace korvex::classes {
namespace {

using namespace ctltest;

class TMenuWatchForm : public TForm {
public:
    using TForm::TForm;
    int MenuChanges = 0;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_MENUCHANGED) ++MenuChanges;
        TForm::WndProc(m);
    }
};

// A shown form whose main menu holds File with Open under it; the menu is put on the form when asked.
struct TFileOpenMenu {
    TMenuWatchForm* Form = nullptr;
    TMainMenu* Menu = nullptr;
    TMenuItem* File = nullptr;
    TMenuItem* Open = nullptr;
};

class MenuTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterMenuClasses();
    }
    void TearDown() override {
        user::SetMenuLoopIdleHook({});
        ControlsTest::TearDown();
    }

    TMenuItem* NewItem(TComponent* owner, const std::string& caption, int* clicks = nullptr) {
        auto* item = new TMenuItem(owner);
        item->SetCaption(caption);
        if (clicks) item->OnClick = [clicks](TObject*) { ++*clicks; };
        return item;
    }
    TFileOpenMenu MakeFileOpenMenu() {
        TFileOpenMenu m;
        m.Form = Create<TMenuWatchForm>(Application);
        m.Form->Show();
        m.Menu = new TMainMenu(m.Form);
        m.File = NewItem(m.Form, "&File");
        m.Open = NewItem(m.Form, "&Open");
        m.Menu->Items()->Add(m.File);
        m.File->Add(m.Open);
        return m;
    }
    // Runs the steps one per idle turn of the menu loop; the loop is ended when they run out.
    static void Steps(std::deque<std::function<void()>> steps) { user::test::MenuLoopSteps(std::move(steps)); }
    void ClickItem(TPopupMenu* menu, int index) {
        user::HMENU native = menu->Handle();
        user::RECT r {};
        ASSERT_TRUE(user::GetMenuItemRect(nullptr, native, user::UINT(index), &r));
        Display->Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
};

TEST_F(MenuTest, ItemsFormATreeAndFreeingAnItemTakesItOut) {
    TPopupMenu* menu = new TPopupMenu(Application);
    TMenuItem* file = NewItem(Application, "&File");
    TMenuItem* open = NewItem(Application, "&Open");
    TMenuItem* line = NewItem(Application, "-");
    menu->Items()->Add(file);
    file->Add(open);
    file->Insert(0, line);
    EXPECT_EQ(file->Count(), 2);
    EXPECT_EQ(open->MenuIndex(), 1);
    EXPECT_EQ(open->Parent(), file);
    EXPECT_EQ(open->GetParentMenu(), menu);
    EXPECT_TRUE(line->IsLine());
    EXPECT_EQ(file->Find("open"), open);
    EXPECT_THROW(menu->Items()->Add(open), EMenuError);
    EXPECT_THROW(open->Add(file), EMenuError);
    EXPECT_THROW(file->Items(5), EMenuError);
    open->SetMenuIndex(0);
    EXPECT_EQ(file->Items(0), open);
    delete line;
    EXPECT_EQ(file->Count(), 1);
    file->Clear();
    EXPECT_EQ(file->Count(), 0);
    delete menu;
}

TEST_F(MenuTest, AutoCheckTogglesAndRadioItemsOfAGroupExcludeEachOther) {
    TPopupMenu* menu = new TPopupMenu(Application);
    TMenuItem* a = NewItem(Application, "A");
    TMenuItem* b = NewItem(Application, "B");
    TMenuItem* other = NewItem(Application, "C");
    for (TMenuItem* i : {a, b, other}) {
        i->SetRadioItem(true);
        i->SetAutoCheck(true);
        menu->Items()->Add(i);
    }
    other->SetGroupIndex(2);
    other->SetChecked(true);
    a->Click();
    b->Click();
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked());
    TMenuItem* toggle = NewItem(Application, "T");
    toggle->SetAutoCheck(true);
    menu->Items()->Add(toggle);
    toggle->Click();
    toggle->Click();
    EXPECT_FALSE(toggle->Checked());
    toggle->SetEnabled(false);
    toggle->Click();
    EXPECT_FALSE(toggle->Checked());
}

struct ShortCutCase {
    TShortCut Value;
    const char* Text;
};

TEST(ShortCutText, ConvertsBothWays) {
    const ShortCutCase cases[] = {{TShortCut('R' | scCtrl), "Ctrl+R"}, {TShortCut(user::VK_F5 | scShift), "Shift+F5"},
        {TShortCut(user::VK_DELETE), "Del"}, {TShortCut('1' | scCtrl | scAlt), "Ctrl+Alt+1"},
        {TShortCut(user::VK_RETURN | scAlt), "Alt+Enter"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ShortCutToText(c.Value), c.Text);
        EXPECT_EQ(TextToShortCut(c.Text), c.Value) << c.Text;
    }
    EXPECT_EQ(TextToShortCut("ctrl+r"), TShortCut('R' | scCtrl));
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut("Hyper+Q"), scNone);
    EXPECT_EQ(TextToShortCut(""), scNone);
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCut('R', TShiftState {ssCtrl}), TShortCut('R' | scCtrl));
}

TEST_F(MenuTest, PopupChosenByKeyboardClicksTheItemOnce) {
    NewForm();
    TPopupMenu* menu = new TPopupMenu(Application);
    int first = 0;
    int second = 0;
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    menu->Items()->Add(NewItem(Application, "&First", &first));
    menu->Items()->Add(NewItem(Application, "-"));
    menu->Items()->Add(NewItem(Application, "&Second", &second));
    Steps({[&] { Display->Press(user::VK_DOWN); }, [&] { Display->Press(user::VK_DOWN); },
        [&] { Display->Press(user::VK_RETURN); }});
    menu->Popup(200, 200);
    Pump();
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
}

TEST_F(MenuTest, PopupChosenByMouseClicksTheItemOnce) {
    NewForm();
    TPopupMenu* menu = new TPopupMenu(Application);
    int clicks = 0;
    menu->Items()->Add(NewItem(Application, "One"));
    menu->Items()->Add(NewItem(Application, "Two", &clicks));
    Steps({[&] { ClickItem(menu, 1); }});
    menu->Popup(200, 200);
    Pump();
    EXPECT_EQ(clicks, 1);
}

TEST_F(MenuTest, RightClickOnAControlPopsItsMenuUp) {
    TForm* form = NewForm();
    auto* panel = new TBoxPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 80);
    TPopupMenu* menu = new TPopupMenu(form);
    int clicks = 0;
    menu->Items()->Add(NewItem(form, "&Refresh", &clicks));
    panel->SetPopupMenu(menu);
    Pump();
    const TPoint at = At(panel, 20, 20);
    Steps({[&] { Display->Press('R', "r"); }});
    Display->Click(at.x, at.y, user::MouseButton::Right);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(menu->PopupComponent(), panel);
    EXPECT_EQ(menu->PopupPoint().x, at.x);

    menu->SetAutoPopup(false);
    bool ran = false;
    Steps({[&] { ran = true; }});
    Display->Click(at.x, at.y, user::MouseButton::Right);
    Pump();
    EXPECT_FALSE(ran);
}

TEST_F(MenuTest, FormShortCutClicksTheMainMenuItem) {
    TForm* form = NewForm();
    TMainMenu* menu = new TMainMenu(form);
    TMenuItem* file = NewItem(form, "&File");
    int refresh = 0;
    TMenuItem* item = NewItem(form, "&Refresh", &refresh);
    item->SetShortCut(TextToShortCut("Ctrl+R"));
    menu->Items()->Add(file);
    file->Add(item);
    form->SetMenuComponent(menu);
    form->SetFocus();
    Pump();
    Display->Press('R', "", user::ModControl);
    Pump();
    EXPECT_EQ(refresh, 1);
    Display->Press('R', "r");
    Pump();
    EXPECT_EQ(refresh, 1);
    item->SetEnabled(false);
    Display->Press('R', "", user::ModControl);
    Pump();
    EXPECT_EQ(refresh, 1);
}

// A hidden item can exist for its shortcut alone; a disabled one is out of reach.
TEST_F(MenuTest, ShortCutsOfHiddenItemsFireAndOfDisabledOnesDoNot) {
    TForm* form = NewForm();
    int hidden = 0, disabled = 0;
    TMainMenu* bar = new TMainMenu(form);
    TMenuItem* file = NewItem(form, "&File");
    TMenuItem* view = NewItem(form, "View CheckPoints", &hidden);
    view->SetShortCut(TextToShortCut("F12"));
    view->SetVisible(false);
    TMenuItem* off = NewItem(form, "Off", &disabled);
    off->SetShortCut(TextToShortCut("F11"));
    off->SetEnabled(false);
    bar->Items()->Add(file);
    file->Add(view);
    file->Add(off);
    form->SetMenuComponent(bar);
    form->SetFocus();
    Pump();
    Display->Press(user::VK_F12, "");
    Display->Press(user::VK_F11, "");
    Pump();
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(disabled, 0);
    // The same for a pop-up menu asked directly (a form may hand its keys to one).
    TPopupMenu* popup = new TPopupMenu(form);
    TMenuItem* secret = NewItem(form, "Secret", &hidden);
    secret->SetShortCut(TextToShortCut("F10"));
    secret->SetVisible(false);
    popup->Items()->Add(secret);
    TMessage key {user::WM_KEYDOWN, user::VK_F10, 0, 0};
    EXPECT_TRUE(MenuIsShortCut(popup, key));
    EXPECT_EQ(hidden, 2);
}

// A form that counts the CM_MENUCHANGED it is sent.

TEST_F(MenuTest, TheFormHearsCMMenuChangedForEachChangeOfItsMainMenu) {
    auto [form, menu, file, open] = MakeFileOpenMenu();
    EXPECT_EQ(form->MenuChanges, 0);   // not on a form yet
    form->SetMenuComponent(menu);
    Pump();
    TMenuItem* extra = NewItem(form, "E&xit");
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"caption", [&] { open->SetCaption("&Open..."); }},
        {"enabled", [&] { open->SetEnabled(false); }},
        {"checked", [&] { open->SetChecked(true); }},
        {"added", [&] { file->Add(extra); }},
        {"removed", [&] { file->Remove(extra); }},
        {"freed", [&] { delete open; }},
    };
    for (const auto& [what, change] : steps) {
        const int before = form->MenuChanges;
        change();
        EXPECT_EQ(form->MenuChanges - before, 1) << what;
    }
    const int unchanged = form->MenuChanges;
    file->SetCaption("&File");   // the same caption
    file->SetHint("The file menu");
    EXPECT_EQ(form->MenuChanges, unchanged);
    // The bar follows the change: File has no items left, so no submenu.
    EXPECT_EQ(user::GetMenuItemCount(user::GetMenu(form->Handle())), 1);
    EXPECT_EQ(user::GetSubMenu(user::GetMenu(form->Handle()), 0), nullptr);
    form->SetMenuComponent(nullptr);
    const int before = form->MenuChanges;
    file->SetCaption("&Files");
    EXPECT_EQ(form->MenuChanges, before);   // off the form, no more notices
}

TEST_F(MenuTest, AnEnabledChangeInsideAMenuKeepsTheBarAndABarItemsOwnChangeMakesItAgain) {
    auto [form, menu, file, open] = MakeFileOpenMenu();
    form->SetMenuComponent(menu);
    Pump();
    const user::HMENU bar = user::GetMenu(form->Handle());
    ASSERT_NE(bar, nullptr);
    const int changes = form->MenuChanges;
    open->SetEnabled(false);
    EXPECT_EQ(user::GetMenu(form->Handle()), bar);   // not made again, not put on the form again
    EXPECT_EQ(form->MenuChanges, changes + 1);
    EXPECT_NE(user::GetMenuState(bar, open->Command(), user::MF_BYCOMMAND) & user::MF_GRAYED, 0u);
    open->SetEnabled(true);
    EXPECT_EQ(user::GetMenu(form->Handle()), bar);
    EXPECT_EQ(user::GetMenuState(bar, open->Command(), user::MF_BYCOMMAND) & user::MF_GRAYED, 0u);
    file->SetEnabled(false);   // the bar's picture changes
    const user::HMENU rebuilt = user::GetMenu(form->Handle());
    EXPECT_NE(rebuilt, bar);
    EXPECT_NE(user::GetMenuState(rebuilt, 0, user::MF_BYPOSITION) & user::MF_GRAYED, 0u);

    TPopupMenu* popup = new TPopupMenu(form);
    TMenuItem* copy = NewItem(form, "&Copy");
    popup->Items()->Add(copy);
    const user::HMENU native = popup->Handle();
    copy->SetEnabled(false);
    EXPECT_EQ(popup->Handle(), native);
    EXPECT_NE(user::GetMenuState(native, copy->Command(), user::MF_BYCOMMAND) & user::MF_GRAYED, 0u);
}

TEST_F(MenuTest, MainMenuBarOpensWithAltLetterClosesWithEscapeAndItsItemsClick) {
    TForm* form = NewForm();
    TMainMenu* menu = new TMainMenu(form);
    TMenuItem* file = NewItem(form, "&File");
    int exits = 0;
    int helps = 0;
    file->Add(NewItem(form, "E&xit", &exits));
    menu->Items()->Add(file);
    menu->Items()->Add(NewItem(form, "&Help", &helps));
    const int clientBefore = form->ClientHeight();
    form->SetMenuComponent(menu);
    form->SetFocus();
    Pump();
    EXPECT_EQ(user::GetMenu(form->Handle()), menu->Handle());
    EXPECT_LT(form->ClientHeight(), clientBefore);

    bool opened = false;
    Steps({[&] { opened = user::GetOpenMenuWindow(0) != nullptr; }, [&] { Display->Press(user::VK_ESCAPE); }});
    Display->Press('F', "f", user::ModAlt);
    Pump();
    EXPECT_TRUE(opened);
    EXPECT_FALSE(user::InMenuLoop());
    EXPECT_EQ(exits, 0);

    Steps({[&] { Display->Press('X', "x"); }});
    Display->Press('F', "f", user::ModAlt);
    Pump();
    EXPECT_EQ(exits, 1);

    user::RECT help {};
    ASSERT_TRUE(user::GetMenuItemRect(form->Handle(), menu->Handle(), 1, &help));
    Steps({});
    Display->Click((help.left + help.right) / 2, (help.top + help.bottom) / 2);
    Pump();
    EXPECT_EQ(helps, 1);
}

TEST_F(MenuTest, OwnerDrawHandlersMeasureAndDrawTheirItem) {
    NewForm();
    TPopupMenu* menu = new TPopupMenu(Application);
    TMenuItem* item = NewItem(Application, "Drawn");
    menu->Items()->Add(item);
    TObject* measured = nullptr;
    TObject* drawn = nullptr;
    TRect drawnRect {};
    bool canvasHadDc = false;
    item->OnMeasureItem = [&](TObject* sender, TCanvas*, int& width, int& height) {
        measured = sender;
        width = 140;
        height = 30;
    };
    item->OnAdvancedDrawItem = [&](TObject* sender, TCanvas* canvas, TRect rect, TOwnerDrawState) {
        drawn = sender;
        drawnRect = rect;
        canvasHadDc = canvas->HandleAllocated();
        canvas->Brush()->SetColor(clRed);
        canvas->FillRect(rect);
    };
    EXPECT_TRUE(item->IsOwnerDrawn());
    Steps({[&] { Display->Press(user::VK_ESCAPE); }});
    menu->Popup(200, 200);
    EXPECT_EQ(measured, item);
    EXPECT_EQ(drawn, item);
    EXPECT_TRUE(canvasHadDc);
    EXPECT_EQ(drawnRect.right - drawnRect.left, 140);
    EXPECT_EQ(drawnRect.bottom - drawnRect.top, 30);
}

constexpr const char* MenuFormText = R"(object MenuForm: TMenuForm
  Caption = 'Menus'
  ClientWidth = 300
  ClientHeight = 160
  Menu = MainMenu1
  PopupMenu = PopupMenu1
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Refresh1: TMenuItem
        Caption = '&Refresh'
        ShortCut = 16466
        OnClick = Refresh1Click
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
      end
    end
    object View1: TMenuItem
      Caption = '&View'
      object Tray1: TMenuItem
        Caption = 'Show in &tray'
        AutoCheck = True
        Checked = True
      end
    end
  end
  object PopupMenu1: TPopupMenu
    Alignment = paRight
    object Copy1: TMenuItem
      Caption = '&Copy'
      OnClick = Refresh1Click
    end
  end
end
)";

class TMenuForm : public TForm {
public:
    explicit TMenuForm(TComponent* owner)
        : TForm(owner) {
        TMethodTable methods;
        methods.Add("Refresh1Click", this, &TMenuForm::Refresh1Click)
            .Field("MainMenu1", MainMenu1)
            .Field("File1", File1)
            .Field("Refresh1", Refresh1)
            .Field("Tray1", Tray1)
            .Field("PopupMenu1", PopupMenu1);
        ReadForm(MenuFormText, methods);
    }
    static TClass StaticClass() {
        static const TClassInfo info = MakeClass<TMenuForm, TForm>("TMenuForm");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
    void Refresh1Click(TObject* sender) { Clicked.push_back(sender); }

    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Refresh1 = nullptr;
    TMenuItem* Tray1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    std::vector<TObject*> Clicked;
};

TEST_F(MenuTest, AnItemKeepsACopyOfItsBitmapAndItsChangeTellsTheForm) {
    auto [form, menu, file, open] = MakeFileOpenMenu();
    form->SetMenuComponent(menu);
    Pump();
    EXPECT_FALSE(open->HasBitmap());
    EXPECT_EQ(open->Bitmap()->Width(), 0);   // made empty on first use
    TBitmap picture;
    picture.SetSize(12, 10);
    picture.Canvas()->SetPixels(3, 4, TColor(0x0000FF));
    const int before = form->MenuChanges;
    open->SetBitmap(&picture);
    EXPECT_GT(form->MenuChanges, before);
    ASSERT_TRUE(open->HasBitmap());
    EXPECT_NE(open->Bitmap(), &picture);
    EXPECT_EQ(open->Bitmap()->Width(), 12);
    EXPECT_EQ(open->Bitmap()->Height(), 10);
    EXPECT_EQ(open->Bitmap()->Canvas()->Pixels(3, 4), TColor(0x0000FF));
    picture.SetSize(1, 1);
    EXPECT_EQ(open->Bitmap()->Width(), 12);
    const int drawn = form->MenuChanges;
    open->Bitmap()->SetSize(20, 20);   // changed in place
    EXPECT_GT(form->MenuChanges, drawn);
}

TEST_F(MenuTest, APopupMenusAnimationIsASetThatStartsEmpty) {
    auto* popup = new TPopupMenu(Application);
    EXPECT_EQ(popup->MenuAnimation(), TMenuAnimation {});
    popup->SetMenuAnimation(TMenuAnimation {maNone, maTopToBottom});
    EXPECT_TRUE(popup->MenuAnimation().Contains(maNone));
    EXPECT_TRUE(popup->MenuAnimation().Contains(maTopToBottom));
    EXPECT_FALSE(popup->MenuAnimation().Contains(maLeftToRight));
    const TPropInfo* prop = GetPropInfo(*popup, "MenuAnimation");
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(GetOrdProp(*popup, *prop), 0x10 | 0x04);   // the elements' bits
    delete popup;
}

TEST_F(MenuTest, MainAndPopupMenusAreReadFromFormText) {
    auto* form = new TMenuForm(Application);
    ASSERT_NE(form->MainMenu1, nullptr);
    EXPECT_EQ(form->Menu(), form->MainMenu1);
    EXPECT_EQ(form->PopupMenu(), form->PopupMenu1);
    ASSERT_EQ(form->MainMenu1->Items()->Count(), 2);
    EXPECT_EQ(form->File1->Count(), 3);
    EXPECT_EQ(form->Refresh1->Parent(), form->File1);
    EXPECT_EQ(ShortCutToText(form->Refresh1->ShortCut()), "Ctrl+R");
    EXPECT_TRUE(form->Tray1->Checked());
    EXPECT_EQ(form->PopupMenu1->Alignment(), paRight);
    EXPECT_EQ(form->PopupMenu1->Items()->Count(), 1);
    form->Show();
    form->SetFocus();
    Pump();
    EXPECT_EQ(user::GetMenuItemCount(user::GetMenu(form->Handle())), 2);
    EXPECT_EQ(form->MainMenu1->Items()->Handle(), user::GetMenu(form->Handle()));
    EXPECT_EQ(user::GetMenuItemCount(form->File1->Handle()), 3);
    EXPECT_EQ(form->Refresh1->Handle(), nullptr);
    Display->Press('R', "", user::ModControl);
    Pump();
    ASSERT_EQ(form->Clicked.size(), 1u);
    EXPECT_EQ(form->Clicked[0], form->Refresh1);
}

TEST_F(MenuTest, APictureOfAFormWithItsMenuBarAndAnOpenPopupMenu) {
    TForm* form = NewForm(100, 100, 320, 180);
    form->SetCaption("Menus");
    TMainMenu* bar = new TMainMenu(form);
    for (const char* caption : {"&File", "&View", "&Help"}) {
        TMenuItem* top = NewItem(form, caption);
        top->Add(NewItem(form, "&Open"));
        bar->Items()->Add(top);
    }
    form->SetMenuComponent(bar);
    TPopupMenu* popup = new TPopupMenu(form);
    TMenuItem* refresh = NewItem(form, "&Refresh");
    refresh->SetShortCut(TextToShortCut("Ctrl+R"));
    refresh->SetDefault(true);
    TMenuItem* tray = NewItem(form, "Show in &tray");
    tray->SetChecked(true);
    TMenuItem* fast = NewItem(form, "&Fast");
    fast->SetRadioItem(true);
    fast->SetChecked(true);
    TMenuItem* off = NewItem(form, "&Disabled");
    off->SetEnabled(false);
    TMenuItem* more = NewItem(form, "&More");
    more->Add(NewItem(form, "&Deep"));
    for (TMenuItem* i : {refresh, tray, NewItem(form, "-"), fast, off, more})
        popup->Items()->Add(i);
    Pump();
    const TPoint at = At(form, 60, 30);
    gdi::COLORREF menuPixel = gdi::CLR_INVALID;
    Steps({[&] { Display->Press(user::VK_DOWN); },
        [&] {
            user::FlushDisplay();
            user::RECT r {};
            user::GetWindowRect(user::GetOpenMenuWindow(0), &r);
            menuPixel = Display->ScreenPixel(r.right - 6, r.bottom - 8);
            const char* dir = std::getenv("KORVEX_SCREENSHOT_DIR");
            if (dir == nullptr) return;
            user::RECT window {};
            user::GetWindowRect(form->Handle(), &window);
            gdi::UnionRect(&window, &window, &r);
            Display->WriteScreenshotPng(std::string(dir) + "/menus-form.png", &window);
        },
        [&] { Display->Press(user::VK_ESCAPE); }});
    popup->Popup(at.x, at.y);
    EXPECT_EQ(menuPixel, gdi::GetSysColor(gdi::COLOR_MENU));
}

TEST_F(MenuTest, APictureOfAPopupMenuWhoseItemsBreakIntoColumns) {
    TForm* form = NewForm(100, 100, 320, 180);
    TPopupMenu* popup = new TPopupMenu(form);
    const TMenuBreak breaks[] = {mbNone, mbNone, mbBreak, mbNone, mbNone, mbNone, mbBarBreak, mbNone};
    int clicked = -1;
    int i = 0;
    for (const char* caption : {"&Nodes", "&Clients", "&Units", "&Logs", "-", "&History", "&Options", "&About"}) {
        TMenuItem* item = NewItem(form, caption);
        item->SetBreak(breaks[i]);
        item->OnClick = [&clicked, i](TObject*) { clicked = i; };
        popup->Items()->Add(item);
        ++i;
    }
    const TPoint at = At(form, 20, 20);
    gdi::COLORREF line = gdi::CLR_INVALID;
    gdi::COLORREF beside = gdi::CLR_INVALID;
    Steps({[&] { Display->Press(user::VK_DOWN); }, [&] { Display->Press(user::VK_RIGHT); },
        [&] { Display->Press(user::VK_RIGHT); },
        [&] {
            user::FlushDisplay();
            user::RECT options {};
            user::RECT units {};
            user::GetMenuItemRect(nullptr, popup->Handle(), 6, &options);
            user::GetMenuItemRect(nullptr, popup->Handle(), 2, &units);
            line = Display->ScreenPixel(options.left - 4, options.bottom + 30);   // below the column's items
            beside = Display->ScreenPixel(units.left - 4, units.bottom + 30);
            user::RECT shot {};
            user::GetWindowRect(user::GetOpenMenuWindow(0), &shot);
            gdi::InflateRect(&shot, 10, 10);
            if (const char* dir = std::getenv("KORVEX_SCREENSHOT_DIR"))
                Display->WriteScreenshotPng(std::string(dir) + "/menus-columns.png", &shot);
        },
        [&] { Display->Press(user::VK_RETURN); }});
    popup->Popup(at.x, at.y);
    EXPECT_EQ(line, gdi::GetSysColor(gdi::COLOR_BTNSHADOW));   // a bar break's line runs the full height
    EXPECT_EQ(beside, gdi::GetSysColor(gdi::COLOR_MENU));   // a plain break has none
    Pump();
    EXPECT_EQ(clicked, 6);   // Down, Right, Right: Nodes, Units, Options
}

TEST_F(MenuTest, ItemsWithAnImageAreDrawnByTheMenuWithTheImage) {
    NewForm();
    auto* images = new TImageList(Application);
    images->SetSize(16, 16);
    images->Add(test::MakeBitmap(16, 16, clRed).get(), nullptr);
    TPopupMenu* menu = new TPopupMenu(Application);
    menu->SetImages(images);
    TMenuItem* item = NewItem(Application, "&Save");
    item->SetImageIndex(0);
    TMenuItem* plain = NewItem(Application, "Plain");
    menu->Items()->Add(item);
    menu->Items()->Add(plain);
    EXPECT_TRUE(item->IsOwnerDrawn());
    EXPECT_FALSE(plain->IsOwnerDrawn());
    gdi::COLORREF imagePixel = gdi::CLR_INVALID;
    Steps({[&] {
               user::FlushDisplay();
               user::RECT r {};
               ASSERT_TRUE(user::GetMenuItemRect(nullptr, menu->Handle(), 0, &r));
               EXPECT_GE(r.bottom - r.top, 20);
               imagePixel = Display->ScreenPixel(r.left + 10, (r.top + r.bottom) / 2);
           },
        [&] { Display->Press(user::VK_ESCAPE); }});
    menu->Popup(200, 200);
    EXPECT_EQ(imagePixel, gdi::RGB(255, 0, 0));
    menu->SetImages(nullptr);
    EXPECT_FALSE(item->IsOwnerDrawn());
    delete images;
}

// An owner-drawn menu whose items have no handlers keeps the plain look, check marks included: a tick, a dot
// for a radio item, in the glyph column.
TEST_F(MenuTest, OwnerDrawnItemsWithoutHandlersShowTheirCheckMarks) {
    NewForm();
    TPopupMenu* menu = new TPopupMenu(Application);
    menu->SetOwnerDraw(true);
    TMenuItem* tick = NewItem(Application, "Tick");
    tick->SetChecked(true);
    TMenuItem* dot = NewItem(Application, "Dot");
    dot->SetRadioItem(true);
    dot->SetChecked(true);
    TMenuItem* none = NewItem(Application, "None");
    for (TMenuItem* item : {tick, dot, none})
        menu->Items()->Add(item);
    std::vector<gdi::COLORREF> marks;   // the middle of each item's glyph column
    Steps({[&] {
               user::FlushDisplay();
               for (user::UINT i = 0; i < 3; ++i) {
                   user::RECT r {};
                   ASSERT_TRUE(user::GetMenuItemRect(nullptr, menu->Handle(), i, &r));
                   marks.push_back(Display->ScreenPixel(r.left + 2 + 8, (r.top + r.bottom) / 2));
               }
           },
        [&] { Display->Press(user::VK_ESCAPE); }});
    menu->Popup(200, 200);
    const gdi::COLORREF ink = gdi::GetSysColor(gdi::COLOR_MENUTEXT);
    EXPECT_EQ(marks, (std::vector<gdi::COLORREF> {ink, ink, gdi::GetSysColor(gdi::COLOR_MENU)}));
}

}
}
