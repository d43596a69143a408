// The EDIT class: typing, selecting by keys and mouse, clipboard, limits, read-only, password, undo, lines,
// scroll information, word wrap, the formatting rectangle, the caret and the notifications.
#include "support/UserTestSupport.h"

#include "platform/base/Utf8.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/Caret.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/StandardClasses.h"

#include <gtest/gtest.h>

#include <cstring>

namespace korvex::user::test {

namespace {

class Edit : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        ASSERT_TRUE(RegisterStandardClasses());
        Parent = Create(WS_OVERLAPPED | WS_VISIBLE, 100, 100, 400, 300);
        Pump();
    }

    HWND Make(DWORD style, const std::string& text = {}, int width = 200, int height = 20, int id = 7) {
        HWND e = CreateWindowEx(0, WC_EDIT, text, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, Parent,
            ChildId(id), nullptr, nullptr);
        Pump();
        return e;
    }

    // Edit notifications the parent got, in order.
    std::vector<WORD> Notifications() const {
        std::vector<WORD> out;
        for (const auto& m : Log(Parent))
            if (m.Msg == WM_COMMAND) out.push_back(HIWORD(m.WParam));
        return out;
    }
    int CountOf(WORD code) const {
        int n = 0;
        for (WORD c : Notifications())
            n += c == code;
        return n;
    }

    void Type(HWND e, const std::string& utf8) {
        for (std::size_t pos = 0; pos < utf8.size();)
            SendMessage(e, WM_CHAR, WPARAM(base::Utf8DecodeNext(utf8, pos)), 0);
    }
    void Key(unsigned vk, unsigned modifiers = 0) {
        Screen->Press(vk, {}, modifiers);
        Pump();
    }
    std::pair<int, int> Sel(HWND e) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessage(e, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        return {int(start), int(end)};
    }
    POINT ScreenOf(HWND e, int x, int y) {
        POINT p {x, y};
        ClientToScreen(e, &p);
        return p;
    }

    HWND Parent = nullptr;
};

TEST_F(Edit, InjectedKeysTypeTextAndMoveTheCaretByCodePoints) {
    HWND e = Make(ES_AUTOHSCROLL);
    SetFocus(e);
    Screen->Press('A', "a");
    Screen->Press('B', "b");
    Screen->Press(0xBA, "ж");   // a Cyrillic key: one WM_CHAR code point
    Pump();
    EXPECT_EQ(GetWindowText(e), "abж");
    EXPECT_EQ(Sel(e), std::make_pair(3, 3));
    EXPECT_EQ(SendMessage(e, WM_GETTEXTLENGTH, 0, 0), 4);   // bytes
    Key(VK_LEFT);
    Key(VK_BACK);
    EXPECT_EQ(GetWindowText(e), "aж");
    Key(VK_END);
    Key(VK_BACK);
    EXPECT_EQ(GetWindowText(e), "a");
    EXPECT_EQ(Sel(e), std::make_pair(1, 1));
}

// The engine lives to the end of the message that destroyed its window (the shared keep-alive prologue): a
// parent that destroys the edit on its first change leaves no use of a freed engine behind.
TEST_F(Edit, AnEditDestroyedByItsParentOnAChangeFinishesTheMessageSafely) {
    HWND e = Make(ES_AUTOHSCROLL);
    int changes = 0;
    SetHandler(Parent, [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && IsWindow(e)) {
            ++changes;
            DestroyWindow(e);
        }
        return std::nullopt;
    });
    Type(e, "a");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(IsWindow(e));
    SendMessage(Parent, WM_SETTEXT, 0, LPARAM("still here"));
    Pump();
}

TEST_F(Edit, ShiftArrowsHomeEndAndCtrlArrowsSelectByKeys) {
    HWND e = Make(ES_AUTOHSCROLL, "one two  three");
    SetFocus(e);
    Key(VK_END);
    Key(VK_LEFT, ModShift);
    Key(VK_LEFT, ModShift);
    EXPECT_EQ(Sel(e), std::make_pair(12, 14));
    Key(VK_HOME, ModShift);
    EXPECT_EQ(Sel(e), std::make_pair(0, 14));
    Key(VK_LEFT);   // collapses to the start
    EXPECT_EQ(Sel(e), std::make_pair(0, 0));
    Key(VK_RIGHT, ModControl);
    EXPECT_EQ(Sel(e), std::make_pair(4, 4));
    Key(VK_RIGHT, ModControl | ModShift);
    EXPECT_EQ(Sel(e), std::make_pair(4, 9));
    Key(VK_LEFT, ModControl);
    EXPECT_EQ(Sel(e), std::make_pair(4, 4));
    Key('A', ModControl);
    EXPECT_EQ(Sel(e), std::make_pair(0, 14));
}

TEST_F(Edit, ClickAndDragSelectsWithCaptureAndDoubleClickSelectsAWord) {
    HWND e = Make(ES_AUTOHSCROLL, "alpha beta gamma", 300);
    int xBeta = GET_X_LPARAM(SendMessage(e, EM_POSFROMCHAR, 6, 0));
    int xGamma = GET_X_LPARAM(SendMessage(e, EM_POSFROMCHAR, 11, 0));
    POINT a = ScreenOf(e, xBeta + 1, 8);
    POINT b = ScreenOf(e, xGamma + 1, 8);
    Screen->ButtonDown(MouseButton::Left, a.x, a.y);
    Pump();
    EXPECT_EQ(GetFocus(), e);
    EXPECT_EQ(GetCapture(), e);
    Screen->MoveMouse(b.x, b.y);
    Pump();
    Screen->ButtonUp(MouseButton::Left, b.x, b.y);
    Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Sel(e), std::make_pair(6, 11));
    Advance(1000);   // double-click time passes
    POINT c = ScreenOf(e, xGamma + 4, 8);
    Screen->DoubleClick(c.x, c.y);
    Pump();
    EXPECT_EQ(Sel(e), std::make_pair(11, 16));
}

TEST_F(Edit, DraggingBelowAMemoScrollsItOnTheTimer) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    HWND e = Make(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, text, 200, 80);
    POINT a = ScreenOf(e, 0, 5);
    Screen->ButtonDown(MouseButton::Left, a.x, a.y);
    Pump();
    POINT below = ScreenOf(e, 20, 200);
    Screen->MoveMouse(below.x, below.y);
    Pump();
    int first = int(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GE(first, 1);
    Advance(500);   // the auto-scroll timer keeps going while the pointer stays outside
    int later = int(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(later, first);
    Screen->ButtonUp(MouseButton::Left, below.x, below.y);
    Pump();
    EXPECT_EQ(Sel(e).first, 0);
    EXPECT_GT(Sel(e).second, 0);
}

TEST_F(Edit, ClipboardKeysAndMessagesCopyCutAndPaste) {
    HWND e = Make(ES_AUTOHSCROLL, "hello world");
    SetFocus(e);
    SendMessage(e, EM_SETSEL, 0, 5);
    Key('C', ModControl);
    EXPECT_EQ(GetClipboardText(), "hello");
    Key(VK_END);
    Key('V', ModControl);
    EXPECT_EQ(GetWindowText(e), "hello worldhello");
    SendMessage(e, EM_SETSEL, 5, 11);
    Key('X', ModControl);
    EXPECT_EQ(GetWindowText(e), "hellohello");
    EXPECT_EQ(GetClipboardText(), " world");
    SendMessage(e, EM_SETSEL, 0, 0);
    Key(VK_INSERT, ModShift);
    EXPECT_EQ(GetWindowText(e), " worldhellohello");
    SendMessage(e, EM_SETSEL, 0, 6);
    Key(VK_INSERT, ModControl);
    SendMessage(e, WM_CLEAR, 0, 0);
    EXPECT_EQ(GetWindowText(e), "hellohello");
    SetClipboardText("first\r\nsecond");
    SendMessage(e, WM_PASTE, 0, 0);
    EXPECT_EQ(GetWindowText(e), "firsthellohello");   // one line into a single-line edit
    SendMessage(e, EM_SETSEL, 0, -1);
    SendMessage(e, WM_CUT, 0, 0);
    EXPECT_EQ(GetWindowText(e), "");
}

TEST_F(Edit, TheLimitStopsTypingAndCutsPastesWithEnMaxText) {
    HWND e = Make(ES_AUTOHSCROLL);
    SendMessage(e, EM_LIMITTEXT, 5, 0);
    EXPECT_EQ(SendMessage(e, EM_GETLIMITTEXT, 0, 0), 5);
    ClearLog();
    Type(e, "abcdefg");
    EXPECT_EQ(GetWindowText(e), "abcde");
    EXPECT_EQ(CountOf(EN_MAXTEXT), 2);
    EXPECT_EQ(CountOf(EN_CHANGE), 5);
    SendMessage(e, EM_SETSEL, 1, 3);
    SetClipboardText("XYZW");
    ClearLog();
    SendMessage(e, WM_PASTE, 0, 0);
    EXPECT_EQ(GetWindowText(e), "aXYde");   // what fits of the pasted text
    EXPECT_EQ(CountOf(EN_MAXTEXT), 1);
    // Code points count, not bytes; WM_SETTEXT is not limited.
    SetWindowText(e, "");
    Type(e, "жжжжжж");
    EXPECT_EQ(GetWindowText(e), "жжжжж");
    SetWindowText(e, "longer than five");
    EXPECT_EQ(GetWindowText(e), "longer than five");
    SendMessage(e, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessage(e, EM_GETLIMITTEXT, 0, 0), EditMaxLimit);
}

TEST_F(Edit, ReadOnlyRefusesEditingButCopiesAndAsksForStaticColours) {
    HWND e = Make(ES_AUTOHSCROLL | ES_READONLY, "fixed");
    SetFocus(e);
    Type(e, "x");
    Key(VK_BACK);
    Key(VK_DELETE);
    SendMessage(e, EM_SETSEL, 0, -1);
    SendMessage(e, WM_CUT, 0, 0);
    SetClipboardText("pasted");
    Key('V', ModControl);
    EXPECT_EQ(GetWindowText(e), "fixed");
    SendMessage(e, WM_COPY, 0, 0);
    EXPECT_EQ(GetClipboardText(), "fixed");
    ClearLog();
    InvalidateRect(e, nullptr, true);
    UpdateWindow(e);
    EXPECT_EQ(Count(Parent, WM_CTLCOLORSTATIC), 1);
    EXPECT_EQ(Count(Parent, WM_CTLCOLOREDIT), 0);
    EXPECT_TRUE(SendMessage(e, EM_SETREADONLY, 0, 0));
    EXPECT_EQ(GetWindowStyle(e) & ES_READONLY, 0u);
    ClearLog();
    UpdateWindow(e);
    EXPECT_EQ(Count(Parent, WM_CTLCOLOREDIT), 1);
    Type(e, "!");
    EXPECT_EQ(GetWindowText(e), "!");   // the selection was replaced
}

TEST_F(Edit, TheParentsBrushPaintsTheBackground) {
    HBRUSH yellow = gdi::CreateSolidBrush(gdi::RGB(255, 255, 0));
    SetHandler(Parent, [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_CTLCOLOREDIT) return reinterpret_cast<LRESULT>(yellow);
        return std::nullopt;
    });
    HWND e = Make(ES_AUTOHSCROLL, "", 100, 20);
    UpdateWindow(e);
    EXPECT_EQ(StorePixel(e, 50, 10), gdi::RGB(255, 255, 0));
    DestroyWindow(e);
    gdi::DeleteObject(yellow);
}

TEST_F(Edit, PasswordShowsOnlyThePasswordCharacterAndNeverCopies) {
    HWND a = Make(ES_AUTOHSCROLL | ES_PASSWORD, "iii", 100, 20, 1);
    EXPECT_EQ(SendMessage(a, EM_GETPASSWORDCHAR, 0, 0), LRESULT('*'));
    HWND b = CreateWindowEx(0, WC_EDIT, "WWW", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_PASSWORD, 10, 40, 100, 20,
        Parent, ChildId(2), nullptr, nullptr);
    UpdateWindow(a);
    UpdateWindow(b);
    int inked = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x) {
            EXPECT_EQ(StorePixel(a, x, y), StorePixel(b, x, y)) << x << "," << y;
            inked += StorePixel(a, x, y) != gdi::RGB(255, 255, 255);
        }
    EXPECT_GT(inked, 10);   // three stars drawn
    SendMessage(a, EM_SETSEL, 0, -1);
    SetClipboardText("before");
    SendMessage(a, WM_COPY, 0, 0);
    EXPECT_EQ(GetClipboardText(), "before");
    EXPECT_EQ(GetWindowText(a), "iii");
    SendMessage(a, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(GetWindowStyle(a) & ES_PASSWORD, 0u);
    UpdateWindow(a);
    bool differs = false;
    for (int x = 0; x < 100 && !differs; ++x)
        for (int y = 0; y < 20 && !differs; ++y)
            differs = StorePixel(a, x, y) != StorePixel(b, x, y);
    EXPECT_TRUE(differs);
}

TEST_F(Edit, UndoRestoresTheLastChangeAndAgainRedoesIt) {
    HWND e = Make(ES_AUTOHSCROLL, "base");
    SetFocus(e);
    EXPECT_FALSE(SendMessage(e, EM_CANUNDO, 0, 0));
    Key(VK_END);
    Type(e, " text");   // consecutive typing is one change
    EXPECT_TRUE(SendMessage(e, EM_CANUNDO, 0, 0));
    Key('Z', ModControl);
    EXPECT_EQ(GetWindowText(e), "base");
    EXPECT_TRUE(SendMessage(e, EM_UNDO, 0, 0));
    EXPECT_EQ(GetWindowText(e), "base text");
    SendMessage(e, EM_SETSEL, 0, 4);
    SendMessage(e, EM_REPLACESEL, 1, LPARAM("new"));
    EXPECT_EQ(GetWindowText(e), "new text");
    SendMessage(e, WM_UNDO, 0, 0);
    EXPECT_EQ(GetWindowText(e), "base text");
    EXPECT_EQ(Sel(e), std::make_pair(0, 4));   // the restored text is selected
    SendMessage(e, EM_EMPTYUNDOBUFFER, 0, 0);
    EXPECT_FALSE(SendMessage(e, EM_CANUNDO, 0, 0));
    EXPECT_FALSE(SendMessage(e, EM_UNDO, 0, 0));
    SetWindowText(e, "reset");
    EXPECT_FALSE(SendMessage(e, EM_CANUNDO, 0, 0));
}

TEST_F(Edit, ModifyFlagFollowsUserChangesAndSetText) {
    HWND e = Make(ES_AUTOHSCROLL, "start");
    EXPECT_FALSE(SendMessage(e, EM_GETMODIFY, 0, 0));
    Type(e, "x");
    EXPECT_TRUE(SendMessage(e, EM_GETMODIFY, 0, 0));
    SendMessage(e, EM_SETMODIFY, 0, 0);
    EXPECT_FALSE(SendMessage(e, EM_GETMODIFY, 0, 0));
    Type(e, "y");
    SetWindowText(e, "again");
    EXPECT_FALSE(SendMessage(e, EM_GETMODIFY, 0, 0));
}

TEST_F(Edit, LinesCountLineEndsAsTwoCharacters) {
    HWND e = Make(ES_MULTILINE | ES_AUTOHSCROLL, "ab\r\nпривет\ncd", 200, 80);
    EXPECT_EQ(GetWindowText(e), "ab\r\nпривет\r\ncd");
    EXPECT_EQ(SendMessage(e, EM_GETLINECOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessage(e, EM_LINEINDEX, 1, 0), 4);
    EXPECT_EQ(SendMessage(e, EM_LINEINDEX, 2, 0), 12);
    EXPECT_EQ(SendMessage(e, EM_LINEINDEX, 3, 0), -1);
    EXPECT_EQ(SendMessage(e, EM_LINELENGTH, 5, 0), 6);
    EXPECT_EQ(SendMessage(e, EM_LINEFROMCHAR, 11, 0), 1);
    EXPECT_EQ(SendMessage(e, EM_LINEFROMCHAR, 12, 0), 2);
    char buffer[32] = {};
    WORD size = sizeof(buffer);
    std::memcpy(buffer, &size, sizeof(size));
    LRESULT n = SendMessage(e, EM_GETLINE, 1, LPARAM(buffer));
    EXPECT_EQ(std::string(buffer, std::size_t(n)), "привет");
    size = 3;   // a short buffer takes whole characters only
    std::memcpy(buffer, &size, sizeof(size));
    n = SendMessage(e, EM_GETLINE, 1, LPARAM(buffer));
    EXPECT_EQ(std::string(buffer, std::size_t(n)), "п");
    // A position between '\r' and '\n' is the end of the line.
    SendMessage(e, EM_SETSEL, 3, 3);
    EXPECT_EQ(Sel(e), std::make_pair(2, 2));
    SendMessage(e, EM_SETSEL, 2, 2);
    Type(e, "\r");
    EXPECT_EQ(SendMessage(e, EM_GETLINECOUNT, 0, 0), 4);
    EXPECT_EQ(Sel(e), std::make_pair(4, 4));
}

TEST_F(Edit, CharacterPositionsAndPointsAgree) {
    HWND e = Make(ES_MULTILINE | ES_AUTOHSCROLL, "first\r\nsecond line", 200, 80);
    for (int pos : {0, 3, 5, 7, 10, 18}) {
        LRESULT xy = SendMessage(e, EM_POSFROMCHAR, WPARAM(pos), 0);
        ASSERT_NE(xy, -1);
        LRESULT hit = SendMessage(e, EM_CHARFROMPOS, 0, MAKELPARAM(GET_X_LPARAM(xy) + 1, GET_Y_LPARAM(xy) + 2));
        EXPECT_EQ(LOWORD(std::uintptr_t(hit)), pos);
        EXPECT_EQ(HIWORD(std::uintptr_t(hit)), pos < 7 ? 0 : 1);
    }
    EXPECT_EQ(SendMessage(e, EM_POSFROMCHAR, 99, 0), -1);
}

TEST_F(Edit, MemoScrollInfoFollowsLinesWithThePageClamped) {
    HWND e = Make(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, "one\r\ntwo", 200, 100);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(e, SB_VERT, &si));
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 1);
    EXPECT_EQ(si.nPage, 2u);   // a page larger than the range is cut to it
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "row " + std::to_string(i) + (i < 29 ? "\r\n" : "");
    SetWindowText(e, text);
    int visible = 0;
    RECT r {};
    SendMessage(e, EM_GETRECT, 0, LPARAM(&r));
    LRESULT xy0 = SendMessage(e, EM_POSFROMCHAR, 0, 0);
    LRESULT xy1 = SendMessage(e, EM_POSFROMCHAR, WPARAM(SendMessage(e, EM_LINEINDEX, 1, 0)), 0);
    int lineHeight = GET_Y_LPARAM(xy1) - GET_Y_LPARAM(xy0);
    ASSERT_GT(lineHeight, 0);
    visible = (r.bottom - r.top) / lineHeight;
    ASSERT_TRUE(GetScrollInfo(e, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 29);
    EXPECT_EQ(int(si.nPage), visible);
    EXPECT_EQ(si.nPos, 0);
    SendMessage(e, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessage(e, WM_VSCROLL, SB_PAGEDOWN, 0);
    ASSERT_TRUE(GetScrollInfo(e, SB_VERT, &si));
    EXPECT_EQ(si.nPos, 1 + visible - 1);
    EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), si.nPos);
    SendMessage(e, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 30 - visible);
    EXPECT_EQ(SendMessage(e, EM_LINESCROLL, 0, -100), 1);
    EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(SendMessage(e, EM_SCROLL, SB_LINEDOWN, 0), MAKELRESULT(1, 1));
}

TEST_F(Edit, AThumbPositionSentByAnotherBarScrollsToItsThumb) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "row " + std::to_string(i) + "\r\n";
    HWND e = Make(ES_MULTILINE | WS_VSCROLL, text, 200, 100);
    // A bar laid over the memo sends its own position; the memo's bar still says 0.
    SendMessage(e, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 12), 0);
    EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 12);
    SCROLLINFO si;
    si.fMask = SIF_POS;
    ASSERT_TRUE(GetScrollInfo(e, SB_VERT, &si));
    EXPECT_EQ(si.nPos, 12);
    // A position past 16 bits goes through the bar: set there first, the message's low word agrees.
    si.fMask = SIF_POS;
    si.nPos = 5;
    SetScrollInfo(e, SB_VERT, &si, false);
    SendMessage(e, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
    EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 5);
}

TEST_F(Edit, WheelScrollsAMemoAndReportsEnVScroll) {
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "row\r\n";
    HWND e = Make(ES_MULTILINE | WS_VSCROLL, text, 200, 100);
    SetFocus(e);
    ClearLog();
    POINT p = ScreenOf(e, 10, 10);
    Screen->Wheel(p.x, p.y, -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
    EXPECT_EQ(CountOf(EN_VSCROLL), 1);
}

TEST_F(Edit, WordWrapBreaksAtBlanksUnlessAutoHScroll) {
    std::string words = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda";
    HWND wrapped = Make(ES_MULTILINE, words, 120, 200, 1);
    HWND straight = Make(ES_MULTILINE | ES_AUTOHSCROLL, words, 120, 200, 2);
    int lines = int(SendMessage(wrapped, EM_GETLINECOUNT, 0, 0));
    EXPECT_GT(lines, 2);
    EXPECT_EQ(SendMessage(straight, EM_GETLINECOUNT, 0, 0), 1);
    // Each wrapped line starts at a word.
    for (int line = 1; line < lines; ++line) {
        int index = int(SendMessage(wrapped, EM_LINEINDEX, WPARAM(line), 0));
        ASSERT_GT(index, 0);
        EXPECT_EQ(words[std::size_t(index) - 1], ' ') << line;
    }
    // A word longer than the line is cut where it no longer fits.
    SetWindowText(wrapped, std::string(80, 'm'));
    EXPECT_GT(SendMessage(wrapped, EM_GETLINECOUNT, 0, 0), 1);
    // Widening lays the text out again.
    SetWindowText(wrapped, words);
    SetWindowPos(wrapped, nullptr, 0, 0, 2000, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(SendMessage(wrapped, EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(Edit, SetRectNpChangesTheFormattingRectangleWithoutRepainting) {
    std::string words = "alpha beta gamma delta epsilon zeta eta theta";
    HWND e = Make(ES_MULTILINE, words, 300, 100);
    RECT before {};
    SendMessage(e, EM_GETRECT, 0, LPARAM(&before));
    EXPECT_EQ(before.left, 1);
    EXPECT_EQ(before.right, 299);
    int lines = int(SendMessage(e, EM_GETLINECOUNT, 0, 0));
    UpdateWindow(e);
    RECT narrow {5, 3, 80, 101};
    SendMessage(e, EM_SETRECTNP, 0, LPARAM(&narrow));
    RECT update {};
    EXPECT_FALSE(GetUpdateRect(e, &update, false));
    RECT after {};
    SendMessage(e, EM_GETRECT, 0, LPARAM(&after));
    EXPECT_EQ(after.left, 5);
    EXPECT_EQ(after.top, 3);
    EXPECT_EQ(after.right, 80);
    EXPECT_EQ(after.bottom, 101);
    EXPECT_GT(SendMessage(e, EM_GETLINECOUNT, 0, 0), lines);
    EXPECT_EQ(GET_X_LPARAM(SendMessage(e, EM_POSFROMCHAR, 0, 0)), 5);
    EXPECT_EQ(GET_Y_LPARAM(SendMessage(e, EM_POSFROMCHAR, 0, 0)), 3);
    SendMessage(e, EM_SETRECT, 0, LPARAM(&narrow));
    EXPECT_TRUE(GetUpdateRect(e, &update, false));
    SendMessage(e, EM_SETRECT, 0, 0);   // back to the default
    SendMessage(e, EM_GETRECT, 0, LPARAM(&after));
    EXPECT_EQ(after.right, 299);
}

TEST_F(Edit, MarginsMoveTheFormattingRectangle) {
    HWND e = Make(ES_AUTOHSCROLL, "x", 200, 20);
    SendMessage(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(6, 9));
    EXPECT_EQ(SendMessage(e, EM_GETMARGINS, 0, 0), MAKELRESULT(6, 9));
    RECT r {};
    SendMessage(e, EM_GETRECT, 0, LPARAM(&r));
    EXPECT_EQ(r.left, 6);
    EXPECT_EQ(r.right, 191);
    SendMessage(e, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(0, 50));
    SendMessage(e, EM_GETRECT, 0, LPARAM(&r));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 191);
}

TEST_F(Edit, SingleLineScrollsSideways) {
    HWND e = Make(ES_AUTOHSCROLL, "", 60, 20);
    SetFocus(e);
    Type(e, "a fairly long line of text that does not fit");
    EXPECT_GT(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);   // the first visible character
    Key(VK_HOME);
    EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(Edit, CaretBlinksOnTheFakeClockWhileFocused) {
    HWND e = Make(ES_AUTOHSCROLL, "text");
    EXPECT_FALSE(IsCaretDrawn(e));
    SetFocus(e);
    Pump();
    EXPECT_TRUE(IsCaretDrawn(e));
    Advance(int(GetCaretBlinkTime()) + 5);
    EXPECT_FALSE(IsCaretDrawn(e));
    Advance(int(GetCaretBlinkTime()) + 5);
    EXPECT_TRUE(IsCaretDrawn(e));
    // Typing shows the caret at once at its new place.
    Advance(int(GetCaretBlinkTime()) + 5);
    Type(e, "!");
    EXPECT_TRUE(IsCaretDrawn(e));
    POINT p {};
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p.x, GET_X_LPARAM(SendMessage(e, EM_POSFROMCHAR, 1, 0)));   // after the "!" typed at the start
    SetFocus(Parent);
    EXPECT_FALSE(IsCaretDrawn(e));
}

TEST_F(Edit, CaretDrawingTwiceRestoresThePixels) {
    HWND e = Make(ES_AUTOHSCROLL, "", 100, 20);
    UpdateWindow(e);
    POINT at {};
    SetFocus(e);
    Pump();
    ASSERT_TRUE(GetCaretPos(&at));
    EXPECT_EQ(StorePixel(e, at.x, at.y + 2), gdi::RGB(0, 0, 0));   // white inverted
    Advance(int(GetCaretBlinkTime()) + 5);
    EXPECT_EQ(StorePixel(e, at.x, at.y + 2), gdi::RGB(255, 255, 255));
}

TEST_F(Edit, FocusChangesAndTextChangesNotifyTheParent) {
    HWND e = Make(ES_AUTOHSCROLL, "");
    ClearLog();
    SetFocus(e);
    Type(e, "a");
    SetWindowText(e, "b");
    SetFocus(Parent);
    std::vector<WORD> expected {EN_SETFOCUS, EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE, EN_KILLFOCUS};
    EXPECT_EQ(Notifications(), expected);
    for (const auto& m : Log(Parent))
        if (m.Msg == WM_COMMAND) {
            EXPECT_EQ(LOWORD(m.WParam), 7);
            EXPECT_EQ(m.LParam, LPARAM(e));
        }
    // A multi-line edit reports no change for WM_SETTEXT.
    HWND memo = Make(ES_MULTILINE, "", 100, 50, 8);
    ClearLog();
    SetWindowText(memo, "x");
    EXPECT_EQ(CountOf(EN_CHANGE), 0);
}

TEST_F(Edit, NumberAndCaseStylesFilterTyping) {
    HWND number = Make(ES_NUMBER | ES_AUTOHSCROLL, "", 100, 20, 1);
    Type(number, "1a2-3");
    EXPECT_EQ(GetWindowText(number), "123");
    HWND upper = Make(ES_UPPERCASE | ES_AUTOHSCROLL, "mixed Жук", 100, 20, 2);
    EXPECT_EQ(GetWindowText(upper), "MIXED ЖУК");
    Type(upper, "q");
    EXPECT_EQ(GetWindowText(upper), "QMIXED ЖУК");
    HWND lower = Make(ES_LOWERCASE | ES_AUTOHSCROLL, "ABC", 100, 20, 3);
    EXPECT_EQ(GetWindowText(lower), "abc");
}

TEST_F(Edit, AnEditDestroyedByItsOwnChangeNotificationStaysSafe) {
    HWND e = Make(ES_AUTOHSCROLL, "");
    SetHandler(Parent, [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_COMMAND && HIWORD(wParam) == EN_UPDATE) DestroyWindow(e);
        return std::nullopt;
    });
    SetFocus(e);
    Type(e, "x");
    EXPECT_FALSE(IsWindow(e));
    Pump();
}

TEST_F(Edit, GetTextCutsAtWholeCharacters) {
    HWND e = Make(ES_AUTOHSCROLL, "жук");
    char buffer[4] = {};
    EXPECT_EQ(SendMessage(e, WM_GETTEXT, sizeof(buffer), LPARAM(buffer)), 2);
    EXPECT_STREQ(buffer, "ж");
    EXPECT_EQ(SendMessage(e, WM_GETTEXT, 0, LPARAM(buffer)), 0);
    EXPECT_EQ(SendMessage(e, WM_GETTEXT, 10, 0), 0);
}

TEST_F(Edit, CenteredAndRightAlignedTextStartsFurtherRight) {
    HWND left = Make(ES_MULTILINE, "abc", 200, 40, 1);
    HWND center = Make(ES_MULTILINE | ES_CENTER, "abc", 200, 40, 2);
    HWND right = Make(ES_MULTILINE | ES_RIGHT, "abc", 200, 40, 3);
    int xl = GET_X_LPARAM(SendMessage(left, EM_POSFROMCHAR, 0, 0));
    int xc = GET_X_LPARAM(SendMessage(center, EM_POSFROMCHAR, 0, 0));
    int xr = GET_X_LPARAM(SendMessage(right, EM_POSFROMCHAR, 0, 0));
    EXPECT_LT(xl, xc);
    EXPECT_LT(xc, xr);
    EXPECT_GT(xr, 150);
}

}   // namespace

}

namespace korvex::user::test {

namespace {

TEST_F(Edit, MalformedRequestsAreRefusedWithoutHarm) {
    HWND e = Make(ES_MULTILINE, "one\r\ntwo", 200, 80);
    EXPECT_EQ(SendMessage(e, EM_GETLINE, 0, 0), 0);   // no buffer
    char buffer[8] = {};
    std::memset(buffer, 0, sizeof(buffer));   // a buffer whose size word is 0
    EXPECT_EQ(SendMessage(e, EM_GETLINE, 0, LPARAM(buffer)), 0);
    WORD size = sizeof(buffer);
    std::memcpy(buffer, &size, sizeof(size));
    EXPECT_EQ(SendMessage(e, EM_GETLINE, 7, LPARAM(buffer)), 0);   // no such line
    EXPECT_EQ(SendMessage(e, EM_LINELENGTH, 999, 0), 3);   // past the end: the last line
    SendMessage(e, EM_SETSEL, 7, 2);   // backwards: the caret at 2
    EXPECT_EQ(Sel(e), std::make_pair(2, 7));
    SendMessage(e, EM_SETSEL, 500, 600);
    EXPECT_EQ(Sel(e), std::make_pair(8, 8));
    SendMessage(e, EM_SETSEL, WPARAM(-1), 0);   // the selection goes, the caret stays
    EXPECT_EQ(Sel(e), std::make_pair(8, 8));
    RECT inverted {50, 50, 10, 10};
    SendMessage(e, EM_SETRECTNP, 0, LPARAM(&inverted));
    RECT r {};
    SendMessage(e, EM_GETRECT, 0, LPARAM(&r));
    EXPECT_GE(r.right, r.left);
    EXPECT_GE(r.bottom, r.top);
    SendMessage(e, EM_GETRECT, 0, 0);
    SendMessage(e, EM_GETSEL, 0, 0);
    SendMessage(e, EM_REPLACESEL, 0, 0);
    SendMessage(e, WM_SETTEXT, 0, 0);
    EXPECT_EQ(GetWindowText(e), "");
    SendMessage(e, EM_SETSEL, 0, -1);
    Type(e, "still works");
    EXPECT_EQ(GetWindowText(e), "still works");
}

TEST_F(Edit, BrokenUtf8IsKeptByteForByte) {
    std::string broken = "a\xFF\xC3z";
    HWND e = Make(ES_AUTOHSCROLL, broken);
    EXPECT_EQ(GetWindowText(e), broken);
    EXPECT_EQ(SendMessage(e, EM_LINELENGTH, 0, 0), 4);   // each bad byte is one character
    UpdateWindow(e);
    SendMessage(e, EM_SETSEL, 2, 3);
    SendMessage(e, WM_CLEAR, 0, 0);
    EXPECT_EQ(GetWindowText(e), "a\xFFz");
}

}   // namespace

}
