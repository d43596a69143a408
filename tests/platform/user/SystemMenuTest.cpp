// The window menu: its items, their state from the window, and the three ways of popping it up.
#include "NonClientFixture.h"

#include "platform/user/Menus.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/VirtualKeys.h"
#include "tests/platform/os/support/DesktopLocale.h"

namespace korvex::user::test {
namespace {

class SystemMenu : public NonClientFixture {
protected:
    void TearDown() override {
        SetMenuLoopIdleHook({});
        NonClientFixture::TearDown();
    }

    // Runs while the menu loop idles: notes whether the window menu is open, then runs choose (or Escape).
    void WhenOpen(std::function<void()> choose = {}) {
        SetMenuLoopIdleHook([this, choose, turns = 0]() mutable {
            if (++turns > 1) return false;   // the choice did not end the loop
            Opened = GetOpenMenuWindow(0) != nullptr;
            if (choose)
                choose();
            else
                Screen->Press(VK_ESCAPE);
            return true;
        });
    }

    bool Grey(HWND hwnd, WPARAM command) {
        return (GetMenuState(GetSystemMenu(hwnd, false), UINT(command), MF_BYCOMMAND) & MF_GRAYED) != 0;
    }

    bool Opened = false;
};

TEST_F(SystemMenu, IsMadeOnceWithTheStandardCommandsAndFreedWithTheWindow) {
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(100, 100, 300, 200));
    HMENU menu = GetSystemMenu(hwnd, false);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetSystemMenu(hwnd, false), menu);
    const std::vector<UINT> ids {UINT(SC_RESTORE), UINT(SC_MOVE), UINT(SC_SIZE), UINT(SC_MINIMIZE),
        UINT(SC_MAXIMIZE), 0, UINT(SC_CLOSE)};
    ASSERT_EQ(GetMenuItemCount(menu), int(ids.size()));
    for (int i = 0; i < int(ids.size()); ++i)
        if (ids[std::size_t(i)] != 0) {
            EXPECT_EQ(GetMenuItemID(menu, i), ids[std::size_t(i)]) << i;
        }
    EXPECT_EQ(GetSystemMenu(hwnd, true), nullptr);   // revert frees the copy
    EXPECT_FALSE(IsMenu(menu));
    menu = GetSystemMenu(hwnd, false);
    DestroyWindow(hwnd);
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_EQ(GetSystemMenu(hwnd, false), nullptr);
}

// The window menu is the desktop's: on a Russian desktop its items read as the desktop's own menus do.
TEST_F(SystemMenu, ItsItemsFollowTheDesktopsLanguage) {
    auto texts = [&] {
        HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(100, 100, 300, 200));
        std::vector<std::string> items;
        HMENU menu = GetSystemMenu(hwnd, false);
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
            items.push_back(GetMenuString(menu, UINT(i), MF_BYPOSITION));
        DestroyWindow(hwnd);
        return items;
    };
    {
        os::filetest::DesktopLocale russian("ru_RU.UTF-8");
        EXPECT_EQ(texts(), (std::vector<std::string> {"&Восстановить", "&Переместить", "&Размер", "&Свернуть",
                               "Р&азвернуть", "", "&Закрыть\tAlt+F4"}));
    }
    os::filetest::DesktopLocale english("en_GB.UTF-8");
    EXPECT_EQ(texts(), (std::vector<std::string> {"&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize", "",
                           "&Close\tAlt+F4"}));
}

TEST_F(SystemMenu, ItemsAreGreyedByStyleAndState) {
    HWND normal = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(50, 50, 300, 200));
    HWND dialog = CreateShown(WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, gdi::Bounds(60, 60, 300, 200));
    HWND zoomed = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(70, 70, 300, 200));
    ShowWindow(zoomed, SW_MAXIMIZE);
    HWND iconic = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(80, 80, 300, 200));
    ShowWindow(iconic, SW_MINIMIZE);
    Pump();
    struct Row {
        HWND Wnd;
        bool Restore, Move, Size, Minimize, Maximize;   // greyed
    };
    for (const Row& r : {Row {normal, true, false, false, false, false}, Row {dialog, true, false, true, true, true},
             Row {zoomed, false, true, true, false, true}, Row {iconic, false, false, true, true, false}}) {
        nc::UpdateSystemMenu(r.Wnd, GetSystemMenu(r.Wnd, false));
        EXPECT_EQ(Grey(r.Wnd, SC_RESTORE), r.Restore);
        EXPECT_EQ(Grey(r.Wnd, SC_MOVE), r.Move);
        EXPECT_EQ(Grey(r.Wnd, SC_SIZE), r.Size);
        EXPECT_EQ(Grey(r.Wnd, SC_MINIMIZE), r.Minimize);
        EXPECT_EQ(Grey(r.Wnd, SC_MAXIMIZE), r.Maximize);
        EXPECT_FALSE(Grey(r.Wnd, SC_CLOSE));
    }
}

TEST_F(SystemMenu, OpensOnTheIconOnARightClickOnTheCaptionAndOnAltSpace) {
    const RECT bounds = gdi::Bounds(200, 150, 400, 300);
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, bounds);
    const nc::Layout layout = nc::LayoutOf(hwnd);
    const POINT icon {bounds.left + (layout.Icon.left + layout.Icon.right) / 2,
        bounds.top + (layout.Icon.top + layout.Icon.bottom) / 2};
    const POINT caption {bounds.left + 150, bounds.top + (layout.Caption.top + layout.Caption.bottom) / 2};
    const std::vector<std::function<void()>> ways {
        [&] { Screen->Click(icon.x, icon.y); },
        [&] { Screen->Click(caption.x, caption.y, MouseButton::Right); },
        [&] { Screen->Press(VK_SPACE, " ", ModAlt); },
    };
    for (std::size_t i = 0; i < ways.size(); ++i) {
        Opened = false;
        Screen->AdvanceTimeMs(1000);
        WhenOpen();
        ways[i]();
        Pump();
        EXPECT_TRUE(Opened) << i;
        EXPECT_FALSE(InMenuLoop());
        EXPECT_TRUE(IsWindowVisible(hwnd));
    }
}

TEST_F(SystemMenu, AChosenItemArrivesAsItsSystemCommand) {
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(200, 150, 400, 300));
    Log.clear();
    HMENU menu = GetSystemMenu(hwnd, false);
    WhenOpen([&] {
        RECT item {};
        GetMenuItemRect(nullptr, menu, 4, &item);   // Maximize
        Screen->Click((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    });
    Screen->Press(VK_SPACE, " ", ModAlt);
    Pump();
    EXPECT_TRUE(Opened);
    EXPECT_TRUE(IsZoomed(hwnd));
    const std::vector<WPARAM> commands = SysCommands();
    EXPECT_EQ(commands.back(), SC_MAXIMIZE);
}

TEST_F(SystemMenu, ARightClickInTheClientAreaDoesNotOpenIt) {
    CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(200, 150, 400, 300));
    WhenOpen();
    Screen->Click(400, 300, MouseButton::Right);
    Pump();
    EXPECT_FALSE(Opened);
}

}
}
