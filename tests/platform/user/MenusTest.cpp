// Tests for menu objects, popup menus with their loop, owner drawing and menu bars.
#include "platform/user/Menus.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/PenBrush.h"
#include "platform/user/Focus.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClient.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/ControlsCommon.h"
#include "support/MenuLoopSteps.h"
#include "support/UserTestSupport.h"

#include <deque>
#include <initializer_list>
#include <utility>

namespace korvex::user::test {
namespace {

class MenusTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        Owner = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
        SetFocus(Owner);
        Pump();
    }
    void TearDown() override {
        SetMenuLoopIdleHook({});
        for (HMENU m : Menus)
            DestroyMenu(m);
        UserTest::TearDown();
    }

    // "&Open", "&Save", separator, "E&xit" with ids 10, 11, 12.
    HMENU FileMenu() {
        HMENU m = CreatePopupMenu();
        AppendMenu(m, MF_STRING, 10, "&Open");
        AppendMenu(m, MF_STRING, 11, "&Save\tCtrl+S");
        AppendMenu(m, MF_SEPARATOR, 0, "");
        AppendMenu(m, MF_STRING, 12, "E&xit");
        return m;
    }
    HMENU Keep(HMENU m) {
        Menus.push_back(m);
        return m;
    }
    // A bar of popups with their captions, given to the owner.
    HMENU SetBar(std::initializer_list<std::pair<HMENU, const char*>> popups) {
        HMENU bar = Keep(CreateMenu());
        for (auto [popup, caption] : popups)
            AppendMenu(bar, MF_POPUP, reinterpret_cast<std::uintptr_t>(popup), caption);
        SetMenu(Owner, bar);
        Pump();
        return bar;
    }

    // Runs the steps one per idle turn of the menu loop; the loop is ended when they run out.
    static void Steps(std::deque<std::function<void()>> steps) { MenuLoopSteps(std::move(steps)); }
    POINT ItemCenter(HMENU m, UINT position) {
        RECT r {};
        EXPECT_TRUE(GetMenuItemRect(nullptr, m, position, &r));
        return POINT {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void MoveTime(int ms) {   // without pumping: the menu loop takes the messages
        Clock.Advance(ms);
        Screen->AdvanceTimeMs(std::uint64_t(ms));
    }

    HWND Owner = nullptr;
    std::vector<HMENU> Menus;
};

TEST_F(MenusTest, ItemsAreFoundByCommandAndPositionWithTheirStates) {
    HMENU m = Keep(FileMenu());
    EXPECT_EQ(GetMenuItemCount(m), 4);
    EXPECT_EQ(GetMenuItemID(m, 1), 11u);
    EXPECT_EQ(GetMenuItemID(m, 9), UINT(-1));
    EXPECT_EQ(GetMenuState(m, 2, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    EXPECT_EQ(CheckMenuItem(m, 10, MF_CHECKED), 0u);
    EXPECT_EQ(CheckMenuItem(m, 10, MF_UNCHECKED), DWORD(MF_CHECKED));
    EXPECT_EQ(EnableMenuItem(m, 12, MF_GRAYED), 0);
    EXPECT_TRUE(GetMenuState(m, 12, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(GetMenuString(m, 1, MF_BYPOSITION), "&Save\tCtrl+S");
    EXPECT_EQ(CheckMenuItem(m, 99, MF_CHECKED), DWORD(-1));
}

TEST_F(MenusTest, ItemInfoSetsTypeStateDataAndSubmenus) {
    HMENU m = Keep(CreatePopupMenu());
    HMENU sub = CreatePopupMenu();
    MENUITEMINFO info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING | MIIM_SUBMENU;
    info.fType = MFT_RADIOCHECK;
    info.fState = MFS_CHECKED | MFS_DEFAULT;
    info.wID = 7;
    info.dwItemData = 1234;
    info.dwTypeData = "Radio";
    info.hSubMenu = sub;
    ASSERT_TRUE(InsertMenuItem(m, 0, true, &info));
    MENUITEMINFO out;
    out.fMask = info.fMask;
    ASSERT_TRUE(GetMenuItemInfo(m, 0, true, &out));
    EXPECT_EQ(out.fType, MFT_RADIOCHECK);
    EXPECT_EQ(out.fState, MFS_CHECKED | MFS_DEFAULT);
    EXPECT_EQ(out.dwItemData, 1234u);
    EXPECT_EQ(out.dwTypeData, "Radio");
    EXPECT_EQ(out.hSubMenu, sub);
    EXPECT_EQ(GetSubMenu(m, 0), sub);
}

TEST_F(MenusTest, DestroyingAMenuDestroysItsSubmenusAndDeadHandlesAreRefused) {
    HMENU m = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenu(m, MF_POPUP, reinterpret_cast<std::uintptr_t>(sub), "Sub");
    EXPECT_TRUE(DestroyMenu(m));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_FALSE(AppendMenu(m, 0, 1, "x"));
    EXPECT_EQ(GetMenuItemCount(m), -1);
    EXPECT_FALSE(DestroyMenu(m));
}

TEST_F(MenusTest, RemoveKeepsTheSubmenuDeleteDestroysIt) {
    HMENU m = Keep(CreatePopupMenu());
    HMENU a = CreatePopupMenu();
    HMENU b = CreatePopupMenu();
    AppendMenu(m, MF_POPUP, reinterpret_cast<std::uintptr_t>(a), "A");
    AppendMenu(m, MF_POPUP, reinterpret_cast<std::uintptr_t>(b), "B");
    EXPECT_TRUE(RemoveMenu(m, 0, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(a));
    EXPECT_TRUE(DeleteMenu(m, 0, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(b));
    EXPECT_EQ(GetMenuItemCount(m), 0);
    DestroyMenu(a);
}

struct MnemonicCase {
    const char* Text;
    char Key;
    const char* Plain;
};

TEST(MenuMnemonic, FindsTheMarkedLetterAndStripsTheMarkers) {
    const MnemonicCase cases[] = {{"&File", 'f', "File"}, {"E&xit", 'x', "Exit"}, {"Save && Quit", 0, "Save & Quit"},
        {"A && &B", 'b', "A & B"}, {"Trailing&", 0, "Trailing"}, {"", 0, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(MenuMnemonic(c.Text), c.Key) << c.Text;
        EXPECT_EQ(StripMnemonic(c.Text), c.Plain) << c.Text;
    }
}

TEST_F(MenusTest, KeyboardChoiceReturnsTheCommandSkippingSeparators) {
    HMENU m = Keep(FileMenu());
    Steps({[&] { Screen->Press(VK_DOWN); }, [&] { Screen->Press(VK_DOWN); }, [&] { Screen->Press(VK_DOWN); },
        [&] { Screen->Press(VK_RETURN); }});
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr), 12);
    EXPECT_FALSE(InMenuLoop());
    EXPECT_EQ(GetOpenMenuWindow(0), nullptr);
}

TEST_F(MenusTest, MnemonicLetterChoosesAndPostsWmCommand) {
    HMENU m = Keep(FileMenu());
    Steps({[&] { Screen->Press('S', "s"); }});
    ClearLog();
    EXPECT_EQ(TrackPopupMenu(m, 0, 150, 150, 0, Owner, nullptr), 1);
    Pump();
    int commands = 0;
    for (const auto& l : Log(Owner))
        if (l.Msg == WM_COMMAND) {
            ++commands;
            EXPECT_EQ(LOWORD(l.WParam), 11);
        }
    EXPECT_EQ(commands, 1);
    EXPECT_EQ(Count(Owner, WM_ENTERMENULOOP), 1);
    EXPECT_EQ(Count(Owner, WM_INITMENUPOPUP), 1);
    EXPECT_EQ(Count(Owner, WM_EXITMENULOOP), 1);
}

TEST_F(MenusTest, MouseClickOnAnItemChoosesIt) {
    HMENU m = Keep(FileMenu());
    Steps({[&] {
        const POINT p = ItemCenter(m, 0);
        Screen->Click(p.x, p.y);
    }});
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr), 10);
    EXPECT_GE(Count(Owner, WM_MENUSELECT), 1);
}

TEST_F(MenusTest, EscapeAndAClickOutsideChooseNothing) {
    HMENU m = Keep(FileMenu());
    Steps({[&] { Screen->Press(VK_ESCAPE); }});
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr), 0);
    Steps({[&] { Screen->Click(5, 5); }});
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr), 0);
    ClearLog();
    Steps({[&] { Screen->Press(VK_ESCAPE); }});
    EXPECT_EQ(TrackPopupMenu(m, 0, 150, 150, 0, Owner, nullptr), 1);
    Pump();
    EXPECT_EQ(Count(Owner, WM_COMMAND), 0);
}

TEST_F(MenusTest, DisabledItemsAreNotChosen) {
    HMENU m = Keep(FileMenu());
    EnableMenuItem(m, 10, MF_GRAYED);
    Steps({[&] { Screen->Press(VK_DOWN); }, [&] { Screen->Press(VK_RETURN); }, [&] { Screen->Press(VK_ESCAPE); }});
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr), 0);
}

TEST_F(MenusTest, SubmenuOpensAfterTheHoverDelayAndByArrowKeys) {
    HMENU m = Keep(CreatePopupMenu());
    HMENU sub = CreatePopupMenu();
    AppendMenu(sub, MF_STRING, 21, "&Deep");
    AppendMenu(m, MF_STRING, 20, "&Top");
    AppendMenu(m, MF_POPUP, reinterpret_cast<std::uintptr_t>(sub), "&More");
    bool openBeforeDelay = true;
    bool openAfterDelay = false;
    Steps({[&] {
               const POINT p = ItemCenter(m, 1);
               Screen->MoveMouse(p.x, p.y);
           },
        [&] {
            MoveTime(int(MenuShowDelayMs) - 100);
            openBeforeDelay = GetOpenMenuWindow(1) != nullptr;
        },
        [&] { MoveTime(200); }, [&] { openAfterDelay = GetOpenMenuWindow(1) != nullptr; },
        [&] {
            const POINT p = ItemCenter(sub, 0);
            Screen->Click(p.x, p.y);
        }});
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr), 21);
    EXPECT_FALSE(openBeforeDelay);
    EXPECT_TRUE(openAfterDelay);

    bool openByKey = false;
    bool closedByLeft = false;
    Steps({[&] { Screen->Press(VK_DOWN); }, [&] { Screen->Press(VK_DOWN); }, [&] { Screen->Press(VK_RIGHT); },
        [&] { openByKey = GetOpenMenuWindow(1) != nullptr; }, [&] { Screen->Press(VK_LEFT); },
        [&] { closedByLeft = GetOpenMenuWindow(1) == nullptr; }, [&] { Screen->Press(VK_RIGHT); },
        [&] { Screen->Press(VK_RETURN); }});
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr), 21);
    EXPECT_TRUE(openByKey);
    EXPECT_TRUE(closedByLeft);
}

TEST_F(MenusTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
    HMENU m = Keep(CreatePopupMenu());
    AppendMenu(m, MF_OWNERDRAW, 30, "");
    MENUITEMINFO info;
    info.fMask = MIIM_DATA;
    info.dwItemData = 77;
    SetMenuItemInfo(m, 30, false, &info);
    int measured = 0;
    int drawn = 0;
    RECT drawnRect {};
    SetHandler(Owner, [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            EXPECT_EQ(mis->CtlType, ODT_MENU);
            EXPECT_EQ(mis->itemID, 30u);
            EXPECT_EQ(mis->itemData, 77u);
            mis->itemWidth = 120;
            mis->itemHeight = 40;
            ++measured;
            return 1;
        }
        if (msg == WM_DRAWITEM) {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            EXPECT_EQ(dis->CtlType, ODT_MENU);
            EXPECT_EQ(dis->itemID, 30u);
            EXPECT_EQ(dis->hwndItem, reinterpret_cast<HWND>(m));
            drawnRect = dis->rcItem;
            ++drawn;
            return 1;
        }
        return std::nullopt;
    });
    Steps({[&] { Screen->Press(VK_ESCAPE); }});
    TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr);
    EXPECT_EQ(measured, 1);
    EXPECT_GE(drawn, 1);
    EXPECT_EQ(drawnRect.right - drawnRect.left, 120);
    EXPECT_EQ(drawnRect.bottom - drawnRect.top, 40);
}

// The owner's answer to WM_MEASUREITEM for an owner-drawn item 100 wide and 20 high.
LRESULT MeasureItemAs100By20(LPARAM lParam) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    mis->itemWidth = 100;
    mis->itemHeight = 20;
    return 1;
}

// What a skinning hook needs of an owner-drawn popup: its window from the item's DC, a 3-pixel frame around
// the items, and the item under the pointer marked hot.
TEST_F(MenusTest, OwnerDrawnPopupItemsGiveTheirWindowAndTheHotItem) {
    HMENU m = Keep(CreatePopupMenu());
    AppendMenu(m, MF_OWNERDRAW, 30, "");
    AppendMenu(m, MF_OWNERDRAW, 31, "");
    std::vector<std::pair<UINT, UINT>> drawn;   // item id, state
    HWND fromDc = nullptr;
    SetHandler(Owner, [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_MEASUREITEM) return MeasureItemAs100By20(lParam);
        if (msg == WM_DRAWITEM) {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            drawn.emplace_back(dis->itemID, dis->itemState);
            fromDc = WindowFromDC(dis->hDC);
            return 1;
        }
        return std::nullopt;
    });
    HWND popup = nullptr;
    RECT window {};
    RECT client {};
    Steps({[&] {
        popup = GetOpenMenuWindow(0);
        GetWindowRect(popup, &window);
        GetClientRect(popup, &client);
        drawn.clear();
        Screen->MoveMouse(ItemCenter(m, 1).x, ItemCenter(m, 1).y);
    },
        [&] {}, [&] { Screen->Press(VK_ESCAPE); }});
    TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr);
    EXPECT_EQ(fromDc, popup);
    EXPECT_EQ(window.right - window.left - client.right, 6);
    EXPECT_EQ(window.bottom - window.top - client.bottom, 6);
    bool hotSeen = false;
    for (auto [id, state] : drawn) {
        if (id == 30) {
            EXPECT_EQ(state & (ODS_HOTLIGHT | ODS_SELECTED), 0u);
        }
        if (id == 31 && (state & ODS_HOTLIGHT)) hotSeen = (state & ODS_SELECTED) != 0;
    }
    EXPECT_TRUE(hotSeen);
}

// As the plain items do, an owner-drawn item that opens a submenu shows the arrow at its right edge, drawn over
// the owner's picture in the text colour the owner left; an item without a submenu shows none.
TEST_F(MenusTest, AnOwnerDrawnItemWithASubmenuShowsTheArrowInTheOwnersTextColour) {
    constexpr COLORREF paper = 0xFFFFFF;
    constexpr COLORREF ink = 0x0000FF;
    HMENU m = Keep(CreatePopupMenu());
    HMENU sub = CreatePopupMenu();
    AppendMenu(sub, MF_STRING, 41, "Deep");
    AppendMenu(m, MF_OWNERDRAW, 40, "");
    AppendMenu(m, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<std::uintptr_t>(sub), "");
    SetHandler(Owner, [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_MEASUREITEM) return MeasureItemAs100By20(lParam);
        if (msg == WM_DRAWITEM) {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            HBRUSH brush = gdi::CreateSolidBrush(paper);
            gdi::FillRect(dis->hDC, &dis->rcItem, brush);
            gdi::DeleteObject(brush);
            gdi::SetTextColor(dis->hDC, ink);
            return 1;
        }
        return std::nullopt;
    });
    // The arrow's tip column and its base column at each item's middle row, and the item's left part.
    std::vector<COLORREF> plainItem;
    std::vector<COLORREF> subItem;
    Steps({[&] {
        for (UINT i : {0u, 1u}) {
            RECT r {};
            GetMenuItemRect(nullptr, m, i, &r);
            const int base = r.right - GetSystemMetrics(SM_CXMENUCHECK) / 2 - 2;
            const int y = (r.top + r.bottom) / 2;
            auto& out = i == 0 ? plainItem : subItem;
            for (int x : {base, base + 3, r.left + 10})
                out.push_back(Screen->ScreenPixel(x, y));
        }
        Screen->Press(VK_ESCAPE);
    }});
    TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr);
    EXPECT_EQ(plainItem, (std::vector<COLORREF> {paper, paper, paper}));
    EXPECT_EQ(subItem, (std::vector<COLORREF> {ink, ink, paper}));
}

TEST_F(MenusTest, MenuBarTakesRoomFromTheClientArea) {
    RECT before {};
    GetClientRect(Owner, &before);
    HMENU bar = CreateMenu();
    AppendMenu(bar, MF_POPUP, reinterpret_cast<std::uintptr_t>(FileMenu()), "&File");
    AppendMenu(bar, MF_STRING, 40, "&Help");
    ASSERT_TRUE(SetMenu(Owner, bar));
    EXPECT_EQ(GetMenu(Owner), bar);
    RECT after {};
    GetClientRect(Owner, &after);
    EXPECT_EQ(before.bottom - after.bottom, GetSystemMetrics(SM_CYMENU));
    SetMenu(Owner, nullptr);
    DestroyMenu(bar);
}

TEST_F(MenusTest, AltLetterOpensTheBarMenuEscapeClosesAndAClickChooses) {
    HMENU bar = Keep(CreateMenu());
    HMENU file = FileMenu();
    AppendMenu(bar, MF_POPUP, reinterpret_cast<std::uintptr_t>(file), "&File");
    AppendMenu(bar, MF_STRING, 40, "&Help");
    SetMenu(Owner, bar);
    Pump();
    bool opened = false;
    Steps({[&] { opened = GetOpenMenuWindow(0) != nullptr; }, [&] { Screen->Press(VK_ESCAPE); }});
    EXPECT_TRUE(TrackMenuBarKey(Owner, 'f'));
    EXPECT_TRUE(opened);
    EXPECT_FALSE(InMenuLoop());
    EXPECT_FALSE(TrackMenuBarKey(Owner, 'q'));

    RECT fileRect {};
    ASSERT_TRUE(GetMenuItemRect(Owner, bar, 0, &fileRect));
    ClearLog();
    Steps({[&] {
        const POINT p = ItemCenter(file, 1);
        Screen->Click(p.x, p.y);
    }});
    Screen->Click((fileRect.left + fileRect.right) / 2, (fileRect.top + fileRect.bottom) / 2);
    Pump();
    int chosen = -1;
    for (const auto& l : Log(Owner))
        if (l.Msg == WM_COMMAND) chosen = LOWORD(l.WParam);
    EXPECT_EQ(chosen, 11);
    SetMenu(Owner, nullptr);
}

// Owner-drawn bar items with a text get the bar's padding on top of what their owner measured, so that texts
// drawn to fill the measured width still stand apart; the owner is given the whole padded rectangle. An item
// without a text (an icon) keeps its measured width.
TEST_F(MenusTest, OwnerDrawnBarItemsArePaddedAndDrawnInTheWholeRectangle) {
    HMENU bar = Keep(CreateMenu());
    AppendMenu(bar, MF_OWNERDRAW, 40, "Menu");
    AppendMenu(bar, MF_OWNERDRAW, 41, "Help");
    AppendMenu(bar, MF_OWNERDRAW, 42, "");
    std::vector<RECT> drawn;
    SetHandler(Owner, [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_MEASUREITEM) {
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemWidth = 30;
            return 1;
        }
        if (msg == WM_DRAWITEM) {
            drawn.push_back(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->rcItem);
            return 1;
        }
        return std::nullopt;
    });
    SetMenu(Owner, bar);
    DrawMenuBar(Owner);
    Pump();
    RECT first {};
    RECT second {};
    ASSERT_TRUE(GetMenuItemRect(Owner, bar, 0, &first));
    ASSERT_TRUE(GetMenuItemRect(Owner, bar, 1, &second));
    EXPECT_EQ(first.right - first.left, 42);
    EXPECT_EQ(second.left, first.right);
    RECT icon {};
    ASSERT_TRUE(GetMenuItemRect(Owner, bar, 2, &icon));
    EXPECT_EQ(icon.right - icon.left, 30);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.front().right - drawn.front().left, 42);
    SetMenu(Owner, nullptr);
}

// Escape closes one level at a time: the submenu, then the bar item's popup (the item stays selected, the
// menu keeps the keyboard), then the menu; none of the three Escapes reaches the window.
TEST_F(MenusTest, EscapeClosesOneLevelAtATime) {
    HMENU file = CreatePopupMenu();
    HMENU more = CreatePopupMenu();
    AppendMenu(more, MF_STRING, 41, "Deep");
    AppendMenu(file, MF_STRING, 10, "&Open");
    AppendMenu(file, MF_POPUP, reinterpret_cast<std::uintptr_t>(more), "&More");
    HMENU bar = SetBar({{file, "&File"}, {FileMenu(), "&Help"}});
    struct Seen {
        bool Popup;
        bool Submenu;
        bool BarItemSelected;
    };
    std::vector<Seen> seen;
    auto look = [&] {
        seen.push_back({GetOpenMenuWindow(0) != nullptr, GetOpenMenuWindow(1) != nullptr,
            (GetMenuState(bar, 0, MF_BYPOSITION) & MF_HILITE) != 0});
    };
    bool afterThird = false;
    ClearLog();
    Steps({[&] { Screen->Press(VK_DOWN); }, [&] { Screen->Press(VK_RIGHT); }, look,
        [&] { Screen->Press(VK_ESCAPE); }, look, [&] { Screen->Press(VK_ESCAPE); }, look,
        [&] { Screen->Press(VK_ESCAPE); }, [&] { afterThird = true; }});
    EXPECT_TRUE(TrackMenuBarKey(Owner, 'f'));
    Pump();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].Popup && seen[0].Submenu);
    EXPECT_TRUE(seen[1].Popup && !seen[1].Submenu);
    EXPECT_TRUE(!seen[2].Popup && seen[2].BarItemSelected);
    EXPECT_FALSE(afterThird);
    EXPECT_FALSE(InMenuLoop());
    EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION) & MF_HILITE, 0u);
    for (const auto& l : Log(Owner)) {
        EXPECT_NE(l.Msg, WM_COMMAND);
        EXPECT_FALSE(l.Msg == WM_KEYDOWN && l.WParam == VK_ESCAPE);
    }
    SetMenu(Owner, nullptr);
}

// Alt pressed and released alone, and F10, select the bar's first item (no popup opens); pressing either
// again leaves the menu. Alt used with another key, and Shift+F10, do not. The Alt held from an Alt+letter
// that opened a popup does not close it when released.
TEST_F(MenusTest, AltAloneAndF10SelectTheFirstBarItem) {
    HMENU bar = Keep(CreateMenu());
    AppendMenu(bar, MF_POPUP, reinterpret_cast<std::uintptr_t>(FileMenu()), "&File");
    AppendMenu(bar, MF_STRING, 40, "&Help");
    SetMenu(Owner, bar);
    Pump();
    struct Case {
        const char* Name;
        std::function<void()> Keys;
        bool Enters;
    };
    const Case cases[] = {
        {"Alt", [&] { Screen->Press(VK_MENU); }, true},
        {"F10", [&] { Screen->Press(VK_F10); }, true},
        {"Alt+X",
            [&] {
                Screen->KeyDown(VK_MENU);
                Screen->Press('X', "x", ModAlt);
                Screen->KeyUp(VK_MENU);
            },
            false},
        {"Alt with a click",
            [&] {
                RECT client {};
                GetClientRect(Owner, &client);
                POINT p {client.right / 2, client.bottom / 2};
                ClientToScreen(Owner, &p);
                Screen->KeyDown(VK_MENU);
                Screen->Click(p.x, p.y);
                Screen->KeyUp(VK_MENU);
            },
            false},
        {"Shift+F10",
            [&] {
                Screen->KeyDown(VK_SHIFT);
                Screen->Press(VK_F10, {}, ModShift);
                Screen->KeyUp(VK_SHIFT);
            },
            false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        int turns = 0;
        bool selected = false;
        bool popup = true;
        SetMenuLoopIdleHook([&] {
            if (turns++ == 0) {
                selected = (GetMenuState(bar, 0, MF_BYPOSITION) & MF_HILITE) != 0;
                popup = GetOpenMenuWindow(0) != nullptr;
                c.Keys();   // the same keys again leave the menu
                return true;
            }
            return turns < 50;   // a generous limit: the keys must have ended it long before
        });
        c.Keys();
        Pump();
        SetMenuLoopIdleHook({});
        EXPECT_FALSE(InMenuLoop());
        if (c.Enters) {
            EXPECT_GT(turns, 0);
            EXPECT_LT(turns, 50);
            EXPECT_TRUE(selected);
            EXPECT_FALSE(popup);
        } else {
            EXPECT_EQ(turns, 0);
        }
    }

    bool stillOpen = false;
    Steps({[&] { Screen->KeyUp(VK_MENU); }, [&] { stillOpen = GetOpenMenuWindow(0) != nullptr; }});
    Screen->KeyDown(VK_MENU);
    Screen->Press('F', "f", ModAlt);
    Pump();
    EXPECT_TRUE(stillOpen);
    SetMenu(Owner, nullptr);
}

// On the bar selected from the keyboard, Left and Right move the selection without opening a popup; Down
// opens the selected item's popup, and from then on Right opens the next one's.
TEST_F(MenusTest, LeftAndRightOnTheKeyboardSelectedBarMoveWithoutOpening) {
    HMENU file = FileMenu();
    HMENU help = CreatePopupMenu();
    AppendMenu(help, MF_STRING, 50, "&About");
    HMENU bar = SetBar({{file, "&File"}, {help, "&Help"}});
    std::vector<std::pair<bool, HMENU>> seen;   // a popup open, the bar item selected
    auto look = [&] {
        const bool open = GetOpenMenuWindow(0) != nullptr;
        HMENU selected = nullptr;
        for (int i = 0; i < 2; ++i)
            if (GetMenuState(bar, UINT(i), MF_BYPOSITION) & MF_HILITE) selected = GetSubMenu(bar, i);
        seen.emplace_back(open, selected);
    };
    Steps({[&] { Screen->Press(VK_RIGHT); }, look, [&] { Screen->Press(VK_RIGHT); }, look,
        [&] { Screen->Press(VK_DOWN); }, look, [&] { Screen->Press(VK_RIGHT); }, look});
    EXPECT_TRUE(TrackMenuBarKey(Owner, 0));
    EXPECT_EQ(seen, (std::vector<std::pair<bool, HMENU>> {{false, help}, {false, file}, {true, file}, {true, help}}));
    SetMenu(Owner, nullptr);
}

TEST_F(MenusTest, BreaksLayItemsOutInColumnsAndLeftAndRightMoveAcrossThem) {
    HMENU m = Keep(CreatePopupMenu());
    AppendMenu(m, MF_STRING | MF_MENUBREAK, 10, "Alpha");   // ignored on the first item
    AppendMenu(m, MF_STRING, 11, "Beta");
    AppendMenu(m, MF_STRING | MF_MENUBREAK, 12, "Gamma");
    AppendMenu(m, MF_STRING, 13, "Delta");
    AppendMenu(m, MF_SEPARATOR, 0, "");
    AppendMenu(m, MF_STRING, 14, "Epsilon");
    AppendMenu(m, MF_STRING | MF_MENUBARBREAK, 15, "Zeta");
    RECT r[7] {};
    RECT client {};
    auto press = [&](UINT vk) { return [&, vk] { Screen->Press(vk); }; };
    ClearLog();
    Steps({[&] {
              for (UINT i = 0; i < 7; ++i)
                  GetMenuItemRect(nullptr, m, i, &r[i]);
              GetClientRect(GetOpenMenuWindow(0), &client);
          },
        press(VK_DOWN), press(VK_RIGHT), press(VK_RIGHT), press(VK_RIGHT), press(VK_LEFT), press(VK_DOWN),
        press(VK_DOWN), press(VK_LEFT), press(VK_DOWN), press(VK_RETURN)});
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr), 12);
    // Columns: Alpha Beta | Gamma Delta - Epsilon || Zeta.
    EXPECT_EQ(r[1].left, r[0].left);
    EXPECT_EQ(r[1].top, r[0].bottom);
    EXPECT_EQ(r[2].left, r[0].right);
    EXPECT_EQ(r[2].top, r[0].top);
    EXPECT_EQ(r[5].left, r[2].left);
    EXPECT_EQ(r[6].left, r[5].right + 6);   // room for the line
    EXPECT_EQ(r[6].top, r[0].top);
    EXPECT_EQ(r[4].right - r[4].left, r[5].right - r[5].left);   // one width a column
    EXPECT_EQ(client.right, r[6].right - r[0].left);
    EXPECT_EQ(client.bottom, r[5].bottom - r[0].top);   // the highest column
    // Down: Alpha; Right: Gamma, Zeta, Zeta (no column further); Left: Gamma; Down: Delta, Epsilon (the
    // separator skipped); Left: Beta, the nearest in height; Down goes on in item order, to Gamma.
    std::vector<int> selected;
    for (const auto& l : Log(Owner))
        if (l.Msg == WM_MENUSELECT && HIWORD(l.WParam) != 0xFFFF) selected.push_back(LOWORD(l.WParam));
    EXPECT_EQ(selected, (std::vector<int> {10, 12, 15, 12, 13, 14, 11, 12}));
}

TEST_F(MenusTest, ThePopupWindowIsFoundAtAnItemsCentreAndCanBeSubclassed) {
    HMENU m = Keep(FileMenu());
    HWND found = nullptr;
    std::string className;
    Steps({[&] {
        found = WindowFromPoint(ItemCenter(m, 0));
        className = GetClassName(found);
    }});
    TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr);
    EXPECT_EQ(className, MenuWindowClassName);
    EXPECT_FALSE(IsWindow(found));   // gone with the menu
}

TEST_F(MenusTest, ANestedTrackIsRefusedAndADeadOwnerEndsTheLoop) {
    HMENU m = Keep(FileMenu());
    int nested = -1;
    Steps(
        {[&] { nested = TrackPopupMenuEx(m, TPM_RETURNCMD, 10, 10, Owner, nullptr); }, [&] { DestroyWindow(Owner); }});
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 150, 150, Owner, nullptr), 0);
    EXPECT_EQ(nested, 0);
    EXPECT_FALSE(InMenuLoop());
    EXPECT_EQ(TrackPopupMenuEx(nullptr, 0, 0, 0, nullptr, nullptr), 0);
}

}
}
