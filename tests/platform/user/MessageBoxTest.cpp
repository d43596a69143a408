// MessageBox: answers by keys and by mouse, the owner disabled while it shows, the default button, WM_QUIT.
#include "support/ControlTestSupport.h"

#include "platform/user/Focus.h"
#include "platform/user/MessageBox.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "tests/platform/os/support/DesktopLocale.h"

#include <gtest/gtest.h>

#include <functional>

namespace korvex::user::test {

namespace {

class MessageBoxTest : public ControlTest {
protected:
    // Runs the box; act is called once (with the box) when the box first waits for input.
    int Run(UINT type, std::function<void(HWND box)> act, const std::string& text = "Delete the node?") {
        int calls = 0;
        SetHandler(Parent, [&](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg != WM_ENTERIDLE || wParam != MSGF_DIALOGBOX) return std::nullopt;
            HWND box = reinterpret_cast<HWND>(lParam);
            if (calls++ == 0) {
                OwnerEnabledInside = IsWindowEnabled(Parent);
                Box = box;
                GetWindowRect(box, &BoxRect);
                act(box);
            } else if (calls > 50) {
                PostMessage(box, WM_CLOSE, 0, 0);   // a test that failed to answer must not hang
            }
            return 0;
        });
        int answer = MessageBox(Parent, text, "KORVEX", type);
        SetHandler(Parent, nullptr);
        return answer;
    }
    HWND Button(int id) const { return GetDlgItem(Box, id); }
    void ClickButton(int id) {
        HWND b = Button(id);
        RECT r {};
        GetWindowRect(b, &r);
        Screen->Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    HWND Box = nullptr;
    RECT BoxRect {};
    bool OwnerEnabledInside = true;
};

TEST_F(MessageBoxTest, YesAndNoByMouse) {
    EXPECT_EQ(Run(MB_YESNO | MB_ICONQUESTION, [&](HWND) { ClickButton(IDYES); }), IDYES);
    EXPECT_FALSE(OwnerEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(Parent));
    EXPECT_FALSE(IsWindow(Box));
    EXPECT_EQ(Run(MB_YESNO, [&](HWND) { ClickButton(IDNO); }), IDNO);
}

TEST_F(MessageBoxTest, EnterChoosesTheDefaultButtonAndTabMovesOn) {
    EXPECT_EQ(Run(MB_YESNO, [&](HWND) { Screen->Press(VK_RETURN, "\r"); }), IDYES);
    EXPECT_EQ(Run(MB_YESNO | MB_DEFBUTTON2, [&](HWND) { Screen->Press(VK_RETURN, "\r"); }), IDNO);
    EXPECT_EQ(Run(MB_YESNOCANCEL,
                  [&](HWND) {
                      Screen->Press(VK_TAB, "\t");
                      Screen->Press(VK_RETURN, "\r");
                  }),
        IDNO);
    EXPECT_EQ(Run(MB_YESNO,
                  [&](HWND) {
                      Screen->Press(VK_RIGHT);
                      Screen->Press(VK_SPACE, " ");
                  }),
        IDNO);
}

TEST_F(MessageBoxTest, EscapeAndCloseAnswerCancelOnlyWhereThereIsOne) {
    EXPECT_EQ(Run(MB_OKCANCEL, [&](HWND) { Screen->Press(VK_ESCAPE, "\x1b"); }), IDCANCEL);
    EXPECT_EQ(Run(MB_OK | MB_ICONINFORMATION, [&](HWND) { Screen->Press(VK_ESCAPE, "\x1b"); }), IDOK);
    EXPECT_EQ(Run(MB_YESNO,
                  [&](HWND box) {
                      Screen->Press(VK_ESCAPE, "\x1b");   // nothing
                      PostMessage(box, WM_CLOSE, 0, 0);   // nothing
                      Screen->Press('N');
                      Screen->Press(VK_RIGHT);
                      Screen->Press(VK_RETURN, "\r");
                  }),
        IDNO);
}

TEST_F(MessageBoxTest, ItIsCentredOnTheOwnerAndHoldsEveryButton) {
    Run(MB_YESNOCANCEL | MB_ICONWARNING, [&](HWND) {
        EXPECT_NE(Button(IDYES), nullptr);
        EXPECT_NE(Button(IDNO), nullptr);
        EXPECT_NE(Button(IDCANCEL), nullptr);
        EXPECT_EQ(GetFocus(), Button(IDYES));
        Screen->WriteScreenshotPng("/tmp/korvex-messagebox-test.png");
        Screen->Press(VK_ESCAPE, "\x1b");
    });
    RECT owner {};
    GetWindowRect(Parent, &owner);
    EXPECT_NEAR((BoxRect.left + BoxRect.right) / 2, (owner.left + owner.right) / 2, 1);
    EXPECT_NEAR((BoxRect.top + BoxRect.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
}

TEST_F(MessageBoxTest, ButtonCaptionsFollowTheDesktopsLanguage) {
    os::filetest::DesktopLocale russian("ru_RU.UTF-8");
    std::vector<std::string> captions;
    Run(MB_YESNOCANCEL, [&](HWND) {
        for (int id : {IDYES, IDNO, IDCANCEL}) {
            char text[32] {};
            GetWindowText(Button(id), text, int(sizeof text));
            captions.push_back(text);
        }
        Screen->Press(VK_ESCAPE, "\x1b");
    });
    EXPECT_EQ(captions, (std::vector<std::string> {"&Да", "&Нет", "Отмена"}));
}

TEST_F(MessageBoxTest, QuitEndsTheBoxAndIsPostedAgain) {
    EXPECT_EQ(Run(MB_YESNOCANCEL, [&](HWND) { PostQuitMessage(3); }), IDCANCEL);
    MSG msg {};
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageBoxTest, MessageBeepRingsTheDisplaysBellOncePerCall) {
    const int before = Screen->BellCount();
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_TRUE(MessageBeep(MB_ICONERROR));
    EXPECT_EQ(Screen->BellCount(), before + 2);
}

}

}
