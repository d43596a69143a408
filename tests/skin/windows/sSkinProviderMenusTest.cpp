// The provider switches its form's menus to the skin and back: main menu and system menu without the caller's
// help, the open menu-line item drawn hot, and items placed by their visible position.
#include "support/WindowsKit.h"

#include "platform/classes/TMenu.h"
#include "platform/user/Input.h"
#include "platform/user/Menus.h"
#include "platform/user/Messages.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sCaptionButtons.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/sSystemMenu.h"

#include <memory>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class ProviderMenus : public FormsTest {
protected:
    void SetUp() override {
        InstallSkinableMenus();
        FormsTest::SetUp();
        Form->Hide();
    }
    void TearDown() override {
        user::SetMenuLoopIdleHook({});
        FormsTest::TearDown();
    }
    TMenuItem* AddItem(TMenu* menu, TMenuItem* parent, const std::string& caption) {
        auto* item = Create<TMenuItem>(menu);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
    // A shown skinned form with "&File" (two items) and "&Help"; hiddenFirst puts a hidden bar item first.
    TForm* FormWithMenu(bool hiddenFirst = false) {
        TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 320, 160, 20, 20);
        form->SetCaption("Menus");
        Menu = Create<TMainMenu>(form);
        if (hiddenFirst) AddItem(Menu, Menu->Items(), "&Hidden")->SetVisible(false);
        File = AddItem(Menu, Menu->Items(), "&File");
        AddItem(Menu, Menu->Items(), "&Help");
        Open = AddItem(Menu, File, "&Open");
        AddItem(Menu, File, "E&xit");
        form->SetMenuComponent(Menu);
        form->Hide();   // shown again with its menu, as a form comes up from its resource
        form->Show();
        form->SetFocus();
        Pump();
        return form;
    }
    TsSkinableMenus* Menus() const { return dynamic_cast<TsSkinableMenus*>(Manager->SkinableMenus()); }
    // Both the main menu and the system menu are owner-drawn with the skinned handlers (or neither is).
    void ExpectSkinned(TForm* form, bool skinned) {
        TsSkinableMenus* menus = Menus();
        ASSERT_NE(menus, nullptr);
        EXPECT_EQ(menus->Active(), skinned);
        EXPECT_EQ(Menu->OwnerDraw(), skinned);
        EXPECT_EQ(menus->IsOwnHandler(File->OnMeasureItem), skinned);
        EXPECT_EQ(menus->IsOwnHandler(Open->OnAdvancedDrawItem), skinned);
        TsSystemMenu* system = ProviderOf(form)->SystemMenu();
        ASSERT_NE(system, nullptr);
        EXPECT_EQ(system->OwnerDraw(), skinned);
        ASSERT_GT(system->Items()->Count(), 0);
        EXPECT_EQ(menus->IsOwnHandler(system->Items()->Items(0)->OnAdvancedDrawItem), skinned);
    }
    TMainMenu* Menu = nullptr;
    TMenuItem* File = nullptr;
    TMenuItem* Open = nullptr;
};

TEST_F(ProviderMenus, MenusFollowTheSkinWithoutTheCallersHelp) {
    UseSkin(0);
    TForm* form = FormWithMenu();
    ExpectSkinned(form, true);
    UseSkin(2);   // another skin
    ExpectSkinned(form, true);
    UseSkin(-1);
    ExpectSkinned(form, false);
    UseSkin(1);   // back from none
    ExpectSkinned(form, true);
}

TEST_F(ProviderMenus, AFormShownBeforeAnySkinIsSkinnedWhenOneComes) {
    TForm* form = FormWithMenu();
    UseSkin(3);
    ExpectSkinned(form, true);
}

TEST_F(ProviderMenus, TheOpenBarItemIsDrawnHotUntilItsMenuCloses) {
    for (int which : {0, 1, 2, 3}) {
        SCOPED_TRACE(which);
        UseSkin(which);
        TForm* form = FormWithMenu();
        TsSkinProvider* provider = ProviderOf(form);
        const TRect r = provider->MenuItemRect(File);
        ASSERT_GT(r.Width(), 0);
        const TPoint at {r.left + 3, r.top + r.Height() / 2};
        const gdi::COLORREF before = WindowPixel(form, at.x, at.y);
        TMenuItem* hot = nullptr;
        gdi::COLORREF during = before;
        auto calls = std::make_shared<int>(0);
        user::SetMenuLoopIdleHook([&, calls] {
            if ((*calls)++ > 0) return false;
            hot = provider->HotMenuLineItem();
            during = WindowPixel(form, at.x, at.y);
            const TPoint origin = provider->FormLeftTop();
            const gdi::RECT shot {origin.x, origin.y, origin.x + 330, origin.y + 160};
            EXPECT_TRUE(Display->WriteScreenshotPng(
                WindowsPictureDir() + "/MenusOpenBar_" + ctltest::SkinShortName(which) + ".png", &shot));
            user::EndMenu();
            return true;
        });
        EXPECT_TRUE(user::TrackMenuBarKey(form->WindowHandle(), 'f'));
        Pump();
        user::SetMenuLoopIdleHook({});
        EXPECT_EQ(hot, File);
        EXPECT_NE(during, before);
        EXPECT_EQ(provider->HotMenuLineItem(), nullptr);
        EXPECT_EQ(WindowPixel(form, at.x, at.y), before);
        form->Hide();
    }
}

// A bar item left drawn hot (its popup's opening seen, its closing not) stays hot while the mouse is on the
// menu line and is drawn normal again once the mouse moves to the caption.
TEST_F(ProviderMenus, AHotBarItemLeftBehindIsClearedOffTheMenuLine) {
    UseSkin(1);
    TForm* form = FormWithMenu();
    TsSkinProvider* provider = ProviderOf(form);
    const TRect r = provider->MenuItemRect(File);
    const gdi::COLORREF before = WindowPixel(form, r.left + 3, r.top + r.Height() / 2);
    form->Perform(user::WM_INITMENUPOPUP, WPARAM(File->Handle()), 0);
    Pump();
    ASSERT_EQ(provider->HotMenuLineItem(), File);
    const TRect help = provider->MenuItemRect(Menu->Items()->Items(1));
    const TPoint onLine = CentreOf(form, help);
    Display->MoveMouse(onLine.x, onLine.y);
    Pump();
    EXPECT_EQ(provider->HotMenuLineItem(), File);
    const TPoint onCaption = ScreenOf(form, 60, provider->SysBorderHeight() + provider->CaptionHeight() / 2);
    Display->MoveMouse(onCaption.x, onCaption.y);
    Pump();
    EXPECT_EQ(provider->HotMenuLineItem(), nullptr);
    EXPECT_EQ(WindowPixel(form, r.left + 3, r.top + r.Height() / 2), before);
}

TEST_F(ProviderMenus, BarItemsArePlacedByTheirVisiblePosition) {
    UseSkin(0);
    TForm* form = FormWithMenu(true);
    EXPECT_EQ(MenuBarPosition(Menu->Items()->Items(0)), -1);   // hidden
    EXPECT_EQ(MenuBarPosition(File), 0);
    EXPECT_EQ(MenuBarPosition(Menu->Items()->Items(2)), 1);
    TsSkinProvider* provider = ProviderOf(form);
    const TRect file = provider->MenuItemRect(File);
    const TRect help = provider->MenuItemRect(Menu->Items()->Items(2));
    ASSERT_GT(file.Width(), 0);
    EXPECT_LT(file.right, help.right);
    user::RECT first {};   // the native bar's first item
    ASSERT_TRUE(user::GetMenuItemRect(form->WindowHandle(), Menu->Handle(), 0, &first));
    EXPECT_EQ(file.left, first.left - provider->FormLeftTop().x);
    EXPECT_EQ(provider->MenuItemRect(Menu->Items()->Items(0)).Width(), 0);
}

// A right-click on the caption opens the skinned window menu only while the manager skins popups; without
// that the click goes on to the window layer.
TEST_F(ProviderMenus, ARightClickOnTheCaptionOpensTheSkinnedWindowMenuOnlyWithSkinnedPopups) {
    UseSkin(1);
    for (bool skinned : {true, false}) {
        SCOPED_TRACE(skinned);
        Manager->SetSkinnedPopups(skinned);
        TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 320, 160, 20, 20);
        form->SetCaption("Right");
        Pump();
        TsSkinProvider* provider = ProviderOf(form);
        ASSERT_NE(provider->SystemMenu(), nullptr);
        int skinnedMenus = 0;
        provider->SystemMenu()->OnPopup = [&](TObject*) { ++skinnedMenus; };
        int loops = 0;
        user::SetMenuLoopIdleHook([&] {
            ++loops;
            user::EndMenu();
            return true;
        });
        const TPoint at = ScreenOf(form, form->Width() / 2, provider->SysBorderHeight() + provider->CaptionHeight() / 2);
        ASSERT_EQ(HitAt(form, at), LRESULT(htCaption));
        Display->Click(at.x, at.y, user::MouseButton::Right);
        Pump();
        user::SetMenuLoopIdleHook({});
        EXPECT_EQ(skinnedMenus, skinned ? 1 : 0);
        // Off, the click goes on to the window layer, which opens no menu of its own: the skinned frame has
        // taken the form's own border icons away.
        EXPECT_EQ(loops, skinned ? 1 : 0);
        EXPECT_EQ(user::GetWindowStyle(form->WindowHandle()) & user::WS_SYSMENU, 0u);
        provider->SystemMenu()->OnPopup = nullptr;
        form->Hide();
    }
    Manager->SetSkinnedPopups(true);
}

// Alt+Space goes on to the window procedure like any other key of the window menu: the skinned menu does not
// drop for it.
TEST_F(ProviderMenus, AltSpaceDoesNotDropTheSkinnedWindowMenu) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 320, 160, 20, 20);
    Pump();
    TsSkinProvider* provider = ProviderOf(form);
    ASSERT_NE(provider->SystemMenu(), nullptr);
    int skinnedMenus = 0;
    provider->SystemMenu()->OnPopup = [&](TObject*) { ++skinnedMenus; };
    user::SetMenuLoopIdleHook([] {
        user::EndMenu();
        return true;
    });
    WatchSysCommands(form);
    user::SendMessage(form->WindowHandle(), user::WM_SYSCOMMAND, user::SC_KEYMENU, ' ');
    Pump();
    user::SetMenuLoopIdleHook({});
    EXPECT_EQ(SysCommands, (std::vector<WPARAM> {user::SC_KEYMENU}));   // the command was seen
    EXPECT_EQ(skinnedMenus, 0);
    provider->SystemMenu()->OnPopup = nullptr;
}

}
}
