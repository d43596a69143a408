// Windows: creation and destruction messages, handles, the tree, window data, subclassing chains, text.
#include "support/UserTestSupport.h"

#include "platform/user/Messages.h"
#include "platform/user/Timers.h"
#include "platform/user/WinPos.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace korvex::user::test {

namespace {

using WindowLife = UserTest;

TEST_F(WindowLife, CreationSendsNcCreateCalcSizeCreateSizeMoveInThatOrder) {
    HWND w = Create(WS_POPUP, 10, 20, 100, 50);
    ASSERT_TRUE(IsWindow(w));
    std::vector<UINT> expected {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE};
    EXPECT_EQ(Messages(w), expected);
    auto log = Log(w);
    EXPECT_EQ(log[3].LParam, MAKELPARAM(100, 50));
    EXPECT_EQ(log[4].LParam, MAKELPARAM(10, 20));
}

TEST_F(WindowLife, WindowNameIsKeptByTheDefaultNcCreate) {
    HWND w = CreateWindowEx(0, TestClass, "Окно", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetWindowText(w), "Окно");
}

TEST_F(WindowLife, RefusalInNcCreateOrCreateGivesNoWindow) {
    static int stage = 0;
    WNDCLASSEX wc;
    wc.lpszClassName = "KorvexRefusing";
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_NCCREATE && stage == 0) return 0;
        if (m == WM_CREATE && stage == 1) return -1;
        return DefWindowProc(h, m, wp, lp);
    };
    RegisterClassEx(&wc);
    stage = 0;
    EXPECT_EQ(
        CreateWindowEx(0, "KorvexRefusing", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr), nullptr);
    stage = 1;
    EXPECT_EQ(
        CreateWindowEx(0, "KorvexRefusing", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr), nullptr);
    stage = 2;
    HWND ok = CreateWindowEx(0, "KorvexRefusing", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(IsWindow(ok));
}

TEST_F(WindowLife, UnknownClassAndChildWithoutParentAreRefused) {
    EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(Create(WS_CHILD, 0, 0, 5, 5, nullptr), nullptr);
}

TEST_F(WindowLife, ClassNamesAreRegisteredOnceWithoutCase) {
    WNDCLASSEX wc;
    wc.lpszClassName = "korvextestwindow";
    wc.lpfnWndProc = DefWindowProc;
    EXPECT_EQ(RegisterClassEx(&wc), 0);
    HWND w = Create(WS_POPUP, 0, 0, 5, 5);
    EXPECT_EQ(GetClassName(w), TestClass);
}

TEST_F(WindowLife, DestroySendsDestroyParentFirstAndNcDestroyChildFirst) {
    HWND parent = Create(WS_POPUP, 0, 0, 100, 100);
    HWND child = Create(WS_CHILD, 0, 0, 10, 10, parent);
    ClearLog();
    ASSERT_TRUE(DestroyWindow(parent));
    std::vector<std::pair<HWND, UINT>> order;
    for (const auto& m : Log())
        if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) order.push_back({m.Hwnd, m.Msg});
    std::vector<std::pair<HWND, UINT>> expected {
        {parent, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {parent, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowLife, ADestroyedHandleStaysDeadWhenItsSlotIsReused) {
    HWND first = Create(WS_POPUP, 0, 0, 5, 5);
    DestroyWindow(first);
    HWND second = Create(WS_POPUP, 0, 0, 5, 5);
    EXPECT_NE(first, second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(SendMessage(first, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_FALSE(PostMessage(first, WM_USER, 0, 0));
    EXPECT_FALSE(DestroyWindow(first));
    EXPECT_TRUE(IsWindow(second));
}

TEST_F(WindowLife, AWindowDestroyingItselfInsideAMessageFinishesThatMessageSafely) {
    HWND w = Create(WS_POPUP, 0, 0, 5, 5);
    bool after = false;
    SetHandler(w, [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_USER) return std::nullopt;
        DestroyWindow(h);
        after = !IsWindow(h);   // dead handle, yet the procedure runs on
        SetWindowText(h, "ignored");
        return 7;
    });
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 7);
    EXPECT_TRUE(after);
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(WindowLife, DestroyingTheOwnerDestroysOwnedWindows) {
    HWND owner = Create(WS_POPUP, 0, 0, 50, 50);
    HWND owned = Create(WS_POPUP, 0, 0, 20, 20, owner);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(owned));
}

TEST_F(WindowLife, ChildCreationIsReportedToTheParent) {
    HWND parent = Create(WS_POPUP, 0, 0, 50, 50);
    HWND child = Create(WS_CHILD, 0, 0, 5, 5, parent, 0, TestClass, 42);
    auto log = Log(parent);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().Msg, WM_PARENTNOTIFY);
    EXPECT_EQ(log.back().WParam, MAKEWPARAM(WM_CREATE, 42));
    EXPECT_EQ(HWND(log.back().LParam), child);
    HWND quiet = Create(WS_CHILD, 0, 0, 5, 5, parent, WS_EX_NOPARENTNOTIFY);
    EXPECT_NE(HWND(Log(parent).back().LParam), quiet);
}

using WindowTree = UserTest;

TEST_F(WindowTree, NewChildrenGoToTheBottomAndRelationsFollowTheOrder) {
    HWND parent = Create(WS_POPUP, 0, 0, 100, 100);
    HWND a = Create(WS_CHILD, 0, 0, 10, 10, parent);
    HWND b = Create(WS_CHILD, 0, 0, 10, 10, parent);
    HWND c = Create(WS_CHILD, 0, 0, 10, 10, parent);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(c, GW_HWNDPREV), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDFIRST), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
    EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetParent(b), parent);
    EXPECT_TRUE(IsChild(parent, b));
    EXPECT_FALSE(IsChild(b, parent));
    EXPECT_EQ(GetAncestor(b, GA_ROOT), parent);
    EXPECT_EQ(GetAncestor(parent, GA_PARENT), GetDesktopWindow());
}

TEST_F(WindowTree, EnumChildWindowsVisitsEveryDescendantAndCanStop) {
    HWND parent = Create(WS_POPUP, 0, 0, 100, 100);
    HWND a = Create(WS_CHILD, 0, 0, 10, 10, parent);
    HWND inner = Create(WS_CHILD, 0, 0, 5, 5, a);
    HWND b = Create(WS_CHILD, 0, 0, 10, 10, parent);
    std::vector<HWND> seen;
    EnumChildWindows(parent, [&](HWND h) {
        seen.push_back(h);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<HWND> {a, inner, b}));
    seen.clear();
    EnumChildWindows(parent, [&](HWND h) {
        seen.push_back(h);
        return false;
    });
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(WindowTree, SetParentMovesAChildUnderAnotherParent) {
    HWND p1 = Create(WS_POPUP, 0, 0, 100, 100);
    HWND p2 = Create(WS_POPUP, 200, 0, 100, 100);
    HWND child = Create(WS_CHILD, 5, 5, 10, 10, p1);
    EXPECT_EQ(SetParent(child, p2), p1);
    EXPECT_EQ(GetParent(child), p2);
    EXPECT_EQ(GetWindow(p1, GW_CHILD), nullptr);
    RECT r = WindowRect(child);
    EXPECT_EQ(r.left, 205);
}

TEST_F(WindowTree, ChildIdsFindChildren) {
    HWND parent = Create(WS_POPUP, 0, 0, 100, 100);
    HWND child = Create(WS_CHILD, 0, 0, 10, 10, parent, 0, TestClass, 7);
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    EXPECT_EQ(GetDlgItem(parent, 7), child);
    EXPECT_EQ(GetWindowLongPtr(child, GWL_ID), 7);
}

using WindowData = UserTest;

TEST_F(WindowData, StyleChangesAreAnnouncedBeforeAndAfter) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    ClearLog();
    LONG_PTR old = SetWindowLongPtr(w, GWL_STYLE, LONG_PTR(WS_POPUP | WS_BORDER));
    EXPECT_EQ(DWORD(old), WS_POPUP);
    EXPECT_EQ(Messages(w), (std::vector<UINT> {WM_STYLECHANGING, WM_STYLECHANGED}));
    EXPECT_EQ(GetWindowStyle(w), WS_POPUP | WS_BORDER);
}

TEST_F(WindowData, UserDataAndExtraBytesKeepTheirValues) {
    WNDCLASSEX wc;
    wc.lpszClassName = "KorvexExtra";
    wc.lpfnWndProc = DefWindowProc;
    wc.cbWndExtra = 16;
    RegisterClassEx(&wc);
    HWND w = CreateWindowEx(0, "KorvexExtra", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtr(w, GWL_USERDATA, 1234);
    SetWindowLongPtr(w, 8, -99);
    EXPECT_EQ(GetWindowLongPtr(w, GWL_USERDATA), 1234);
    EXPECT_EQ(GetWindowLongPtr(w, 8), -99);
    EXPECT_EQ(GetWindowLongPtr(w, 12), 0);   // would read past the extra bytes
    EXPECT_EQ(SetWindowLongPtr(w, 16, 5), 0);
}

// Two levels of replacement: a raw GWL_WNDPROC procedure, and an object-bound one above it.
WNDPROC gRawOld = nullptr;
std::vector<std::string> gTrail;

LRESULT RawProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_USER) gTrail.push_back("raw");
    return CallWindowProc(gRawOld, h, m, wp, lp);
}

TEST_F(WindowData, SubclassingChainsRunNewestFirstAndUnwindInOrder) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    gTrail.clear();
    SetHandler(w, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_USER) return std::nullopt;
        gTrail.push_back("class");
        return 5;
    });
    gRawOld = ProcFromLong(SetWindowLongPtr(w, GWL_WNDPROC, LongFromProc(RawProc)));
    ASSERT_NE(gRawOld, nullptr);
    WNDPROC beforeObject = nullptr;
    WNDPROC object = MakeObjectInstance([&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_USER) gTrail.push_back("object");
        LRESULT r = CallWindowProc(beforeObject, h, m, wp, lp);
        return m == WM_USER ? r * 10 : r;
    });
    ASSERT_NE(object, nullptr);
    beforeObject = ProcFromLong(SetWindowLongPtr(w, GWL_WNDPROC, LongFromProc(object)));
    EXPECT_EQ(beforeObject, RawProc);
    EXPECT_EQ(ProcFromLong(GetWindowLongPtr(w, GWL_WNDPROC)), object);

    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 50);
    EXPECT_EQ(gTrail, (std::vector<std::string> {"object", "raw", "class"}));

    // Unhook the object level, then the raw one.
    SetWindowLongPtr(w, GWL_WNDPROC, LongFromProc(beforeObject));
    FreeObjectInstance(object);
    gTrail.clear();
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 5);
    EXPECT_EQ(gTrail, (std::vector<std::string> {"raw", "class"}));
    SetWindowLongPtr(w, GWL_WNDPROC, LongFromProc(gRawOld));
    gTrail.clear();
    SendMessage(w, WM_USER, 0, 0);
    EXPECT_EQ(gTrail, (std::vector<std::string> {"class"}));
}

TEST(ObjectInstances, EachInstanceIsADistinctProcedureAndAFreedOneAnswersZero) {
    WNDPROC a = MakeObjectInstance([](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 1; });
    WNDPROC b = MakeObjectInstance([](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 2; });
    ASSERT_NE(a, b);
    EXPECT_EQ(a(nullptr, 0, 0, 0), 1);
    EXPECT_EQ(b(nullptr, 0, 0, 0), 2);
    FreeObjectInstance(a);
    EXPECT_EQ(a(nullptr, 0, 0, 0), 0);
    FreeObjectInstance(b);
    EXPECT_EQ(MakeObjectInstance(nullptr), nullptr);
}

TEST_F(WindowData, PropertiesAreFoundWithoutCaseAndRemoved) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    int value = 3;
    EXPECT_TRUE(SetProp(w, "SkinData", &value));
    EXPECT_EQ(GetProp(w, "SKINDATA"), &value);
    EXPECT_EQ(RemoveProp(w, "skindata"), &value);
    EXPECT_EQ(GetProp(w, "SkinData"), nullptr);
    EXPECT_FALSE(SetProp(nullptr, "x", &value));
}

TEST_F(WindowData, GetWindowTextCutsOnlyBetweenWholeCharacters) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    SetWindowText(w, "Жук");   // three two-byte characters
    EXPECT_EQ(GetWindowTextLength(w), 6);
    char buffer[4];
    int n = GetWindowText(w, buffer, sizeof buffer);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(std::string(buffer), "Ж");
}

TEST_F(WindowData, EnableWindowReportsThePreviousStateAndSendsEnable) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    ClearLog();
    EXPECT_FALSE(EnableWindow(w, false));   // was enabled
    EXPECT_FALSE(IsWindowEnabled(w));
    EXPECT_TRUE(EnableWindow(w, false));   // no change, no message
    EXPECT_TRUE(EnableWindow(w, true));
    EXPECT_EQ(Count(w, WM_ENABLE), 2);
}

}   // namespace

}

namespace korvex::user::test {

namespace {

using MessageOnly = UserTest;

TEST_F(MessageOnly, AMessageOnlyWindowGetsMessagesAndTimersButIsNeverShown) {
    HWND w = CreateWindowEx(0, TestClass, "", WS_VISIBLE, 0, 0, 100, 100, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(IsWindow(w));
    EXPECT_FALSE(IsWindowVisible(w));
    ShowWindow(w, SW_SHOW);
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_TRUE(Screen->StackingOrder().empty());
    EXPECT_EQ(WindowFromPoint(POINT {10, 10}), nullptr);
    PostMessage(w, WM_USER, 0, 0);
    SetTimer(w, 1, 10, nullptr);
    Advance(10);
    EXPECT_EQ(Count(w, WM_USER), 1);
    EXPECT_EQ(Count(w, WM_TIMER), 1);
    bool found = false;
    EnumWindows([&](HWND h) {
        found = found || h == w;
        return true;
    });
    EXPECT_FALSE(found);
}

using Chains = UserTest;

TEST_F(Chains, AnExceptionInsideASubclassChainLeavesTheWholeChainOnce) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    SetHandler(w, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER) throw std::runtime_error("inner");
        return std::nullopt;
    });
    WNDPROC old = nullptr;
    bool outerFinished = false;
    WNDPROC outer = MakeObjectInstance([&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        LRESULT r = CallWindowProc(old, h, m, wp, lp);
        if (m == WM_USER) outerFinished = true;
        return r;
    });
    old = ProcFromLong(SetWindowLongPtr(w, GWL_WNDPROC, LongFromProc(outer)));
    int handled = 0;
    SetWindowProcExceptionHandler([&](std::exception_ptr) { ++handled; });
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 0);
    SetWindowProcExceptionHandler(nullptr);
    EXPECT_EQ(handled, 1);
    EXPECT_FALSE(outerFinished);
    SetWindowLongPtr(w, GWL_WNDPROC, LongFromProc(old));
    FreeObjectInstance(outer);
}

}   // namespace

}
