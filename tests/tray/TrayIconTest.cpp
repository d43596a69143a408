// The tray icon component: hint and balloon limits, click timing, cycling, enabled gating, image lists,
// late callbacks and calls from other threads.
#include "support/TrayTestKit.h"

#include "platform/classes/SystemIcons.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TMenu.h"
#include "platform/user/Input.h"
#include "platform/user/Menus.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "tray/TrayMenu.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace korvex::tray::test {

namespace {

using namespace classes;
using TrayIcon = TrayTest;

TEST_F(TrayIcon, ANewIconHasTheDefaultsAndTheSharedCallbackWindow) {
    TTrayIcon* icon = NewIcon();
    EXPECT_TRUE(icon->Enabled());
    EXPECT_TRUE(icon->ShowHint());
    EXPECT_FALSE(icon->IconVisible());
    EXPECT_EQ(icon->IconIndex(), 0);
    EXPECT_EQ(icon->IconData().cbSize, 488u);
    EXPECT_EQ(icon->IconData().uFlags, 7u);
    EXPECT_EQ(icon->IconData().uCallbackMessage, 0x800u);
    EXPECT_EQ(icon->IconData().hWnd, TTrayIcon::SharedWindow());
    TTrayIcon* second = NewIcon();
    EXPECT_EQ(second->IconData().hWnd, icon->IconData().hWnd);
    EXPECT_NE(second->IconId(), icon->IconId());
}

TEST_F(TrayIcon, AHintOf200CharactersShowsItsFirst127) {
    TTrayIcon* icon = NewIcon();
    std::string hint;
    for (int i = 0; i < 200; ++i)
        hint += "Ю";
    icon->SetHint(hint);
    std::string expected;
    for (int i = 0; i < 127; ++i)
        expected += "Ю";
    EXPECT_EQ(icon->IconData().szTip, expected);
    icon->SetShowHint(false);
    EXPECT_EQ(icon->IconData().szTip, "");
    EXPECT_EQ(icon->Hint(), hint);
}

TEST_F(TrayIcon, ShowAndHideAddAndRemoveTheIcon) {
    TTrayIcon* icon = NewIcon();
    EXPECT_FALSE(icon->ModifyIcon());   // not in the tray yet
    icon->SetIconVisible(true);
    EXPECT_TRUE(icon->IconVisible());
    user::RECT r {};
    EXPECT_TRUE(user::GetNotifyIconRect(icon->IconData().hWnd, icon->IconId(), &r));
    EXPECT_TRUE(icon->ModifyIcon());
    icon->SetIconVisible(false);
    EXPECT_FALSE(user::GetNotifyIconRect(icon->IconData().hWnd, icon->IconId(), &r));
}

TEST_F(TrayIcon, ABalloonOfTenSecondsSendsTenThousandMillisecondsAndTheFlagsGoBackToSeven) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    Record(icon);
    EXPECT_TRUE(icon->ShowBalloonHint("KORVEX Info", "Unknown WU.", bitInfo, 10));
    EXPECT_EQ(icon->IconData().uTimeout, 10000u);
    EXPECT_EQ(icon->IconData().dwInfoFlags, user::NIIF_INFO);
    EXPECT_EQ(icon->IconData().uFlags, 7u);
    Pump();
    ASSERT_TRUE(Visible(BalloonWindow()));
    Advance(10000);
    EXPECT_FALSE(Visible(BalloonWindow()));
    EXPECT_EQ(Events, (std::vector<std::string> {"balloon show", "balloon timeout"}));
}

TEST_F(TrayIcon, BalloonTitleAndTextAreCutAndTheTimeOutKeptWithin255Seconds) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    icon->ShowBalloonHint(std::string(80, 't'), std::string(400, 'x'), bitError, 1000);
    EXPECT_EQ(icon->IconData().szInfoTitle, std::string(63, 't'));
    EXPECT_EQ(icon->IconData().szInfo, std::string(255, 'x'));
    EXPECT_EQ(icon->IconData().uTimeout, 255000u);
    EXPECT_EQ(icon->IconData().dwInfoFlags, user::NIIF_ERROR);
    icon->ShowBalloonHint("", "", bitNone, -5);
    EXPECT_EQ(icon->IconData().uTimeout, 0u);
}

TEST_F(TrayIcon, HidingTheBalloonKeepsTheInfoFlagSoLaterChangesCarryTheEmptyText) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    Record(icon);
    icon->ShowBalloonHint("t", "up", bitInfo, 10);
    EXPECT_TRUE(icon->HideBalloonHint());
    EXPECT_EQ(icon->IconData().uFlags, 7u | user::NIF_INFO);
    EXPECT_EQ(icon->IconData().szInfo, "");
    Pump();
    EXPECT_FALSE(Visible(BalloonWindow()));
    EXPECT_EQ(Events, (std::vector<std::string> {"balloon show", "balloon hide"}));
}

TEST_F(TrayIcon, ClickingTheBalloonReachesOnBalloonHintClick) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    Record(icon);
    icon->ShowBalloonHint("KORVEX Info", "WU Complete.", bitInfo, 10);
    Pump();
    user::RECT b {};
    user::GetWindowRect(BalloonWindow(), &b);
    Display->Click(b.left + 40, b.bottom - 6);
    Pump();
    EXPECT_EQ(Events, (std::vector<std::string> {"balloon show", "balloon click"}));
}

TEST_F(TrayIcon, WithoutOnDblClickTheClickComesAtTheReleaseBeforeOnMouseUp) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    Record(icon);
    icon->OnMouseMove = nullptr;
    ClickIcon(icon);
    EXPECT_EQ(Events, (std::vector<std::string> {"down left", "click", "up left"}));
}

TEST_F(TrayIcon, WithOnDblClickASingleClickComesAfterTheDoubleClickTime) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    Record(icon);
    icon->OnMouseMove = nullptr;
    icon->OnDblClick = [this](TObject*) { Events.push_back("double"); };
    ClickIcon(icon);
    EXPECT_EQ(Events, (std::vector<std::string> {"down left", "up left"}));
    Advance(int(user::GetDoubleClickTime()) - 1);
    EXPECT_EQ(Events.size(), 2u);
    Advance(1);
    EXPECT_EQ(Events, (std::vector<std::string> {"down left", "up left", "click"}));
}

TEST_F(TrayIcon, ADoubleClickRaisesOnDblClickOnceAndOnClickNever) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    int clicks = 0, doubles = 0;
    icon->OnClick = [&](TObject*) { ++clicks; };
    icon->OnDblClick = [&](TObject*) { ++doubles; };
    ClickIcon(icon);
    Advance(100);
    ClickIcon(icon);
    Advance(int(user::GetDoubleClickTime()) * 3);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 0);
}

TEST_F(TrayIcon, MouseEventsCarryTheButtonAndTheCursorPosition) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    user::POINT c = IconCentre(icon);
    TShiftState shift;
    int x = 0, y = 0;
    icon->OnMouseDown = [&](TObject* sender, TMouseButton b, TShiftState s, int px, int py) {
        EXPECT_EQ(sender, icon);
        EXPECT_EQ(b, mbRight);
        shift = s;
        x = px;
        y = py;
    };
    ClickIcon(icon, user::MouseButton::Right);
    EXPECT_TRUE(shift.Contains(ssRight));
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
}

TEST_F(TrayIcon, WhileDisabledNoMouseEventComesButBalloonEventsDo) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    Record(icon);
    icon->SetEnabled(false);
    ClickIcon(icon);
    ClickIcon(icon, user::MouseButton::Right);
    icon->ShowBalloonHint("t", "x", bitNone, 1);
    Advance(1000);
    EXPECT_EQ(Events, (std::vector<std::string> {"balloon show", "balloon timeout"}));
}

TEST_F(TrayIcon, EnterAndExitComeWhenAskedFor) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    Record(icon);
    icon->OnMouseMove = nullptr;
    user::POINT c = IconCentre(icon);
    Display->MoveMouse(c.x, c.y);
    Advance(40);
    EXPECT_TRUE(Events.empty());
    icon->SetWantEnterExitEvents(true);
    Display->MoveMouse(c.x + 1, c.y);
    Advance(40);
    EXPECT_EQ(Events, (std::vector<std::string> {"enter"}));
    Display->MoveMouse(c.x, c.y - 300);
    Advance(40);
    EXPECT_EQ(Events, (std::vector<std::string> {"enter", "exit"}));
}

// The exit poll compares the pointer with where the last move callback saw it, not with the icon's place.
TEST_F(TrayIcon, ThePointerStillWhereTheLastMoveSawItHasNotLeft) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    Record(icon);
    icon->OnMouseMove = nullptr;
    icon->SetWantEnterExitEvents(true);
    const user::POINT c = IconCentre(icon);
    Display->MoveMouse(c.x, c.y - 300);   // away from the icon
    Advance(40);
    user::SendMessage(TTrayIcon::SharedWindow(), WM_TRAYNOTIFY, icon->IconId(), user::WM_MOUSEMOVE);
    Advance(100);
    EXPECT_EQ(Events, (std::vector<std::string> {"enter"}));
    Display->MoveMouse(c.x, c.y - 299);
    Advance(40);
    EXPECT_EQ(Events, (std::vector<std::string> {"enter", "exit"}));
}

class TVersionThreeIcon : public TTrayIcon {
public:
    using TTrayIcon::Loaded;
    using TTrayIcon::TTrayIcon;
};

// The tray takes a re-added icon as classic: the version goes with every add, or the right button's release
// (WM_CONTEXTMENU for version 3) would never come again after the icon was hidden and shown.
TEST_F(TrayIcon, AVersionThreeIconShownAgainStillReportsTheRightButtonsRelease) {
    auto* icon = Create<TVersionThreeIcon>(Application);
    icon->SetNotificationVersion(nvVersion3);
    icon->SetIconVisible(true);
    icon->Loaded();
    icon->SetIconVisible(false);
    icon->SetIconVisible(true);
    ASSERT_TRUE(Pump());
    Record(icon);
    icon->OnMouseMove = nullptr;
    ClickIcon(icon, user::MouseButton::Right);
    EXPECT_EQ(std::count(Events.begin(), Events.end(), "up right"), 1) << ::testing::PrintToString(Events);
}

TEST_F(TrayIcon, CyclingThreeImagesRunsTheIndexRoundAndReportsTheNextOne) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    icon->SetIconList(NewList(3));
    std::vector<int> reported, indexes;
    icon->OnCycle = [&](TObject*, int next) {
        reported.push_back(next);
        indexes.push_back(icon->IconIndex());
    };
    icon->SetCycleInterval(100);
    icon->SetCycleIcons(true);
    for (int i = 0; i < 4; ++i)
        Advance(100);
    EXPECT_EQ(indexes, (std::vector<int> {0, 1, 2, 0}));
    EXPECT_EQ(reported, (std::vector<int> {1, 2, 0, 1}));
    // The tray shows the image of the index.
    user::POINT c = IconCentre(icon);
    EXPECT_EQ(Display->ScreenPixel(c.x, c.y), ImageColor(icon->IconIndex()));
    icon->SetCycleIcons(false);
    int at = icon->IconIndex();
    Advance(500);
    EXPECT_EQ(icon->IconIndex(), at);
}

TEST_F(TrayIcon, CyclingWithIntervalZeroNeverAnimates) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconList(NewList(3));
    int cycles = 0;
    icon->OnCycle = [&](TObject*, int) { ++cycles; };
    icon->SetCycleIcons(true);
    Advance(5000);
    EXPECT_EQ(cycles, 0);
    EXPECT_EQ(icon->IconIndex(), 0);
}

TEST_F(TrayIcon, AnIndexPastTheListIsClampedAndWithoutAListIsZero) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconIndex(10);
    EXPECT_EQ(icon->IconIndex(), 0);
    icon->SetIconList(NewList(3));
    icon->SetIconIndex(10);
    EXPECT_EQ(icon->IconIndex(), 2);
    icon->SetIconIndex(1);
    EXPECT_EQ(icon->IconIndex(), 1);
}

TEST_F(TrayIcon, AnEmptyImageListClampsTheIndexToItsLastAndShowsNothing) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconList(NewList(0));
    icon->SetIconIndex(3);
    EXPECT_EQ(icon->IconIndex(), -1);
    icon->SetCycleInterval(50);
    icon->SetCycleIcons(true);
    Advance(200);
    EXPECT_EQ(icon->IconIndex(), -1);
    EXPECT_TRUE(icon->Icon()->Empty());
}

TEST_F(TrayIcon, FreeingTheImageListClearsIconListAndResetsTheIndex) {
    TTrayIcon* icon = NewIcon();
    TImageList* list = NewList(3);
    icon->SetIconList(list);
    icon->SetIconIndex(2);
    list->Free();
    EXPECT_EQ(icon->IconList(), nullptr);
    EXPECT_EQ(icon->IconIndex(), 0);
}

TEST_F(TrayIcon, AnImageListOwnedElsewhereIsForgottenWhenFreedToo) {
    TTrayIcon* icon = NewIcon();
    auto* owner = new TComponent(nullptr);
    TImageList* list = NewList(2, owner);
    icon->SetIconList(list);
    icon->SetCycleInterval(50);
    icon->SetCycleIcons(true);
    owner->Free();
    EXPECT_EQ(icon->IconList(), nullptr);
    Advance(200);   // the cycle timer finds no list
}

TEST_F(TrayIcon, ACallbackArrivingAfterTheIconWasFreedFindsNothing) {
    TTrayIcon* keeper = NewIcon();   // keeps the shared window
    TTrayIcon* icon = NewIcon();
    int clicks = 0;
    icon->OnClick = [&](TObject*) { ++clicks; };
    user::UINT id = icon->IconId();
    icon->Free();
    TTrayIcon* successor = NewIcon();
    successor->OnClick = [&](TObject*) { ++clicks; };
    user::PostMessage(TTrayIcon::SharedWindow(), WM_TRAYNOTIFY, id, user::WM_LBUTTONDOWN);
    user::PostMessage(TTrayIcon::SharedWindow(), WM_TRAYNOTIFY, id, user::WM_LBUTTONUP);
    Pump();
    EXPECT_EQ(clicks, 0);
    (void)keeper;
}

TEST_F(TrayIcon, ACallbackWindowLostWithItsQueueIsMadeAgainAndTheIconStillAnswers) {
    TTrayIcon* icon = NewIcon();
    int clicks = 0;
    icon->OnClick = [&](TObject*) { ++clicks; };
    icon->SetIconVisible(true);
    const user::HWND old = TTrayIcon::SharedWindow();
    user::DestroyWindow(old);   // the icon leaves the tray with its owner window
    EXPECT_TRUE(icon->ShowIcon());
    EXPECT_NE(TTrayIcon::SharedWindow(), old);
    EXPECT_TRUE(user::IsWindow(TTrayIcon::SharedWindow()));
    EXPECT_EQ(icon->IconData().hWnd, TTrayIcon::SharedWindow());
    ClickIcon(icon);
    EXPECT_EQ(clicks, 1);
}

TEST_F(TrayIcon, TheSharedHandlerFreedAtProgramEndIsNoLongerUsedByLeftoverIcons) {
    TTrayIcon* leftover = NewIcon();
    const user::HWND old = TTrayIcon::SharedWindow();
    TTrayIcon::FreeSharedHandler();
    EXPECT_FALSE(user::IsWindow(old));
    EXPECT_EQ(TTrayIcon::SharedWindow(), nullptr);
    TTrayIcon::FreeSharedHandler();   // nothing left to free

    TTrayIcon* later = NewIcon();
    int clicks = 0;
    later->OnClick = [&](TObject*) { ++clicks; };
    later->SetIconVisible(true);
    const user::HWND window = TTrayIcon::SharedWindow();
    ASSERT_TRUE(user::IsWindow(window));
    leftover->Free();   // no user of the new handler
    EXPECT_EQ(TTrayIcon::SharedWindow(), window);
    EXPECT_TRUE(user::IsWindow(window));
    ClickIcon(later);
    EXPECT_EQ(clicks, 1);
}

TEST_F(TrayIcon, AClickHandlerMayFreeTheIcon) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    bool upSeen = false;
    icon->OnClick = [&](TObject* sender) { static_cast<TTrayIcon*>(sender)->Free(); };
    icon->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { upSeen = true; };
    ClickIcon(icon);
    EXPECT_FALSE(upSeen);
    EXPECT_EQ(TTrayIcon::SharedWindow(), nullptr);
}

TEST_F(TrayIcon, ARightClickPopsTheMenuUpAndADoubleClickClicksItsDefaultItem) {
    std::vector<std::string> calls;
    TTrayMenuHooks hooks;
    hooks.AutoPopup = [](TComponent*) { return true; };
    hooks.Popup = [&](TComponent*, TComponent*, int, int) { calls.push_back("popup"); };
    hooks.ClickDefaultItem = [&](TComponent*) {
        calls.push_back("default");
        return true;
    };
    SetTrayMenuHooks(hooks);
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    auto* menu = new TComponent(Application);
    icon->SetPopupMenu(menu);
    icon->OnDblClick = [](TObject*) {};
    ClickIcon(icon, user::MouseButton::Right);
    EXPECT_EQ(calls, (std::vector<std::string> {"popup"}));
    ClickIcon(icon);
    Advance(50);
    ClickIcon(icon);
    EXPECT_EQ(calls, (std::vector<std::string> {"popup", "default"}));
    icon->SetLeftPopup(true);
    Advance(1000);
    ClickIcon(icon);
    Advance(50);
    ClickIcon(icon);
    // The left press pops the menu up now; the double click that follows clicks no default item.
    EXPECT_EQ(calls, (std::vector<std::string> {"popup", "default", "popup"}));
    menu->Free();
    EXPECT_EQ(icon->PopupMenu(), nullptr);
    SetTrayMenuHooks({});
}

TEST_F(TrayIcon, APopupMenuPopsUpOnARightClickAndItsDefaultItemAnswersADoubleClick) {
    user::SetMenuLoopIdleHook([] { return false; });   // each popup ends as soon as it waits for input
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    auto* menu = new TPopupMenu(Application);
    int shows = 0, opens = 0, exits = 0;
    TComponent* shownFor = nullptr;
    menu->OnPopup = [&](TObject*) {
        ++shows;
        shownFor = menu->PopupComponent();
    };
    auto item = [&](const std::string& caption, int& clicks, bool isDefault) {
        auto* it = new TMenuItem(Application);
        it->SetCaption(caption);
        it->SetDefault(isDefault);
        it->OnClick = [&clicks](TObject*) { ++clicks; };
        menu->Items()->Add(it);
    };
    item("Exit", exits, false);
    item("Open", opens, true);
    icon->SetPopupMenu(menu);
    icon->OnDblClick = [](TObject*) {};
    auto doubleClick = [&] {
        Advance(1000);
        ClickIcon(icon);
        Advance(50);
        ClickIcon(icon);
    };

    ClickIcon(icon, user::MouseButton::Right);
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(shownFor, icon);
    doubleClick();
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(exits, 0);

    menu->SetAutoPopup(false);   // then the program pops it up itself: neither click uses it
    ClickIcon(icon, user::MouseButton::Right);
    doubleClick();
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(opens, 1);
    user::SetMenuLoopIdleHook(nullptr);
}

TEST_F(TrayIcon, AMenuThatIsNoPopupMenuIsNeverShownWithoutHooks) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    auto* menu = new TComponent(Application);
    icon->SetPopupMenu(menu);
    EXPECT_FALSE(TrayMenuHooks().AutoPopup(menu));
    EXPECT_FALSE(TrayMenuHooks().ClickDefaultItem(menu));
    ClickIcon(icon, user::MouseButton::Right);   // nothing to show, nothing blocks
    EXPECT_EQ(icon->PopupMenu(), menu);
}

TEST_F(TrayIcon, CallsFromAnotherThreadRunOnTheUiThreadInTheirOrder) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    TImageList* busy = NewList(4);
    std::thread node([&] {
        icon->SetIconList(busy);
        icon->SetCycleInterval(100);
        icon->SetCycleIcons(true);
        icon->SetHint("node 1 - 50%");
        icon->ShowBalloonHint("KORVEX Info", "WU Complete.", bitInfo, 10);
    });
    node.join();
    // Nothing ran on the worker: the UI thread does it all when it turns.
    EXPECT_EQ(icon->IconList(), nullptr);
    EXPECT_EQ(icon->Hint(), "");
    Pump();
    EXPECT_EQ(icon->IconList(), busy);
    EXPECT_TRUE(icon->CycleIcons());
    EXPECT_EQ(icon->Hint(), "node 1 - 50%");
    EXPECT_TRUE(Visible(BalloonWindow()));
}

TEST_F(TrayIcon, AGetterCalledFromAnotherThreadWaitsForTheUiThread) {
    TTrayIcon* icon = NewIcon();
    TImageList* list = NewList(2);
    icon->SetIconList(list);
    std::atomic<bool> done {false};
    TCustomImageList* seen = nullptr;
    std::thread node([&] {
        seen = icon->IconList();
        done = true;
    });
    for (int i = 0; i < 2000 && !done; ++i) {
        Pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    node.join();
    EXPECT_EQ(seen, list);
}

TEST_F(TrayIcon, ACallQueuedForAnIconFreedMeanwhileIsDropped) {
    TTrayIcon* icon = NewIcon();
    TTrayIcon* other = NewIcon();
    std::thread node([&] {
        icon->SetHint("late");
        other->SetHint("after");   // queued behind the freed icon's call
    });
    node.join();
    icon->Free();
    Pump();   // must not touch the freed icon (the sanitizer build sees it)
    EXPECT_EQ(other->Hint(), "after");   // the queue went on past the dropped call
}

TEST_F(TrayIcon, TheIconPropertyIsCopiedAndShownInTheTray) {
    TTrayIcon* icon = NewIcon();
    icon->SetIconVisible(true);
    TImageList* list = NewList(2);
    TIcon picture;
    list->GetIcon(1, &picture);
    icon->SetIcon(&picture);
    picture.Assign(nullptr);
    EXPECT_FALSE(icon->Icon()->Empty());
    user::POINT c = IconCentre(icon);
    Pump();
    EXPECT_EQ(Display->ScreenPixel(c.x, c.y), ImageColor(1));
}

// A tray icon in a designer, where the design preview shows it.
class DesignedTrayIcon : public TTrayIcon {
public:
    DesignedTrayIcon()
        : TTrayIcon(nullptr) {
        IncludeState(csDesigning);
    }
};

TEST_F(TrayIcon, ThePreviewOfAnIconWithoutPictureShowsTheSystemsApplicationIcon) {
    DesignedTrayIcon icon;
    icon.SetDesignPreview(true);
    user::RECT r {};
    EXPECT_TRUE(user::GetNotifyIconRect(icon.IconData().hWnd, icon.IconId(), &r));   // shown in the tray
    const TIcon* system = TIcon::FromHandle(LoadIcon(nullptr, IDI_APPLICATION));
    ASSERT_NE(system, nullptr);
    ASSERT_EQ(icon.Icon()->Width(), system->Width());
    ASSERT_EQ(icon.Icon()->Height(), system->Height());
    for (int y = 0; y < system->Height(); ++y)
        for (int x = 0; x < system->Width(); ++x)
            ASSERT_EQ(icon.Icon()->Image()->PixelAt(x, y), system->Image()->PixelAt(x, y)) << x << ", " << y;
    icon.SetDesignPreview(false);
    EXPECT_FALSE(user::GetNotifyIconRect(icon.IconData().hWnd, icon.IconId(), &r));
}

}   // namespace

}
