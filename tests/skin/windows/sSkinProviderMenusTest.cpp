// The provider switches its form's menus to the skin and back: main menu and system menu without the caller's
// help, the open menu-line item drawn hot, and items placed by their visible position.
#include "support/WindowsKit.h"

#include "platform/classes/TMenu.h"
#include "platform/user/Input.h"
#include "platform/user/Menus.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sCaptionButtons.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/sSystemMenu.h"

#include <cstdlib>
#include <memory>
#include <vector>

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
    static int Differing(const std::vector<gdi::COLORREF>& a, const std::vector<gdi::COLORREF>& b) {
        if (a.size() != b.size()) return -1;
        int count = 0;
        for (std::size_t i = 0; i < a.size(); ++i)
            count += a[i] != b[i];
        return count;
    }
    // The menu line's pixels, row by row.
    std::vector<gdi::COLORREF> MenuLinePixels(TForm* form) const {
        TsSkinProvider* provider = ProviderOf(form);
        std::vector<gdi::COLORREF> pixels;
        const int top = provider->SysBorderHeight() + provider->CaptionHeight();
        for (int y = top; y < top + provider->MenuHeight(); ++y)
            for (int x = provider->SysBorderWidth(); x < form->Width() - provider->SysBorderWidth(); ++x)
                pixels.push_back(WindowPixel(form, x, y));
        return pixels;
    }
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

// The main window's bar ("Menu", "Help", "EXIT") in each skin: the columns of the menu line that carry text
// form three words with a clear gap between each two (the items are padded), not one run of letters.
TEST_F(ProviderMenus, TheMenuLineLeavesAGapBetweenItsItems) {
    for (int which : {0, 1, 2, 3}) {
        SCOPED_TRACE(which);
        UseSkin(which);
        TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 320, 160, 20, 20);
        form->SetCaption("Gaps");
        Menu = Create<TMainMenu>(form);
        for (const char* caption : {"Menu", "Help", "EXIT"})
            AddItem(Menu, AddItem(Menu, Menu->Items(), caption), "Item");
        form->SetMenuComponent(Menu);
        form->Hide();
        form->Show();
        Pump();
        TsSkinProvider* provider = ProviderOf(form);
        const int top = provider->SysBorderHeight() + provider->CaptionHeight();
        const int right = form->Width() - provider->SysBorderWidth() - 2;
        // A column carries text where a pixel stands out from the line's own colour at its right end.
        std::vector<bool> ink;
        for (int x = provider->SysBorderWidth(); x < right; ++x) {
            bool any = false;
            for (int y = top + 2; y < top + provider->MenuHeight() - 2; ++y) {
                const gdi::COLORREF c = WindowPixel(form, x, y);
                const gdi::COLORREF line = WindowPixel(form, right, y);
                any = any
                    || std::abs(gdi::GetRValue(c) - gdi::GetRValue(line)) + std::abs(gdi::GetGValue(c) - gdi::GetGValue(line))
                            + std::abs(gdi::GetBValue(c) - gdi::GetBValue(line))
                        > 150;
            }
            ink.push_back(any);
        }
        // Words: runs of text columns, letters closer than 5 columns joined; the gaps between them.
        std::vector<int> gaps;
        int words = 0;
        int blank = -1;   // blank columns since the last text column (-1: before the first word)
        for (bool column : ink) {
            if (!column) {
                if (blank >= 0) ++blank;
                continue;
            }
            if (blank < 0 || blank >= 5) {
                ++words;
                if (blank >= 0) gaps.push_back(blank);
            }
            blank = 0;
        }
        EXPECT_EQ(words, 3);
        for (int gap : gaps)
            EXPECT_GE(gap, 8);
        const TPoint origin = provider->FormLeftTop();
        const gdi::RECT shot {origin.x, origin.y, origin.x + 330, origin.y + 60};
        EXPECT_TRUE(
            Display->WriteScreenshotPng(WindowsPictureDir() + "/MenuLine_" + ctltest::SkinShortName(which) + ".png", &shot));
        form->Hide();
    }
}

// Alt enters the bar (its first item drawn hot), Down opens its menu, Escape closes the menu and leaves the
// item hot, another Escape leaves the bar: the menu line is drawn as it was before, nothing left pressed.
TEST_F(ProviderMenus, EscapeLeavesTheMenuLineAsItWas) {
    for (int which : {0, 1, 2, 3}) {
        SCOPED_TRACE(which);
        UseSkin(which);
        TForm* form = FormWithMenu();
        TsSkinProvider* provider = ProviderOf(form);
        const TPoint away = ScreenOf(form, form->Width() / 2, form->Height() - 20);
        Display->MoveMouse(away.x, away.y);
        Pump();
        const std::vector<gdi::COLORREF> before = MenuLinePixels(form);
        std::vector<gdi::COLORREF> entered;
        std::vector<gdi::COLORREF> popupClosed;
        bool open = false;
        auto step = std::make_shared<int>(0);
        user::SetMenuLoopIdleHook([&, step] {
            switch ((*step)++) {
            case 0:
                entered = MenuLinePixels(form);
                Display->Press(user::VK_DOWN);
                return true;
            case 1:
                open = user::GetOpenMenuWindow(0) != nullptr;
                Display->Press(user::VK_ESCAPE);
                return true;
            case 2:
                Display->MoveMouse(away.x + 5, away.y);   // the pointer moving in the client area meanwhile
                return true;
            case 3:
                popupClosed = MenuLinePixels(form);
                Display->Press(user::VK_ESCAPE);
                return true;
            default:
                return *step < 50;   // the second Escape has long ended the loop
            }
        });
        Display->Press(user::VK_MENU);
        Pump();
        user::SetMenuLoopIdleHook({});
        EXPECT_LT(*step, 50);
        EXPECT_TRUE(open);
        EXPECT_GT(Differing(entered, before), 0);
        EXPECT_EQ(Differing(popupClosed, entered), 0);
        EXPECT_EQ(Differing(MenuLinePixels(form), before), 0);
        form->Hide();
    }
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
