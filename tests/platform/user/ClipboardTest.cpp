// Clipboard text through the display, with the open and close protocol.
#include "support/UserTestSupport.h"

#include "platform/user/Clipboard.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

using Clipboard = UserTest;

TEST_F(Clipboard, TextWrittenWhileOpenReachesTheDisplayOnClose) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    ASSERT_TRUE(OpenClipboard(w));
    EXPECT_FALSE(OpenClipboard(w));   // already open
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_TRUE(SetClipboardData(CF_TEXT, "Узел 3: 42%"));
    EXPECT_EQ(Screen->ClipboardText(), "");
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(Screen->ClipboardText(), "Узел 3: 42%");
    EXPECT_EQ(GetClipboardText(), "Узел 3: 42%");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST_F(Clipboard, ReadingNeedsTheClipboardOpenAndText) {
    std::string text;
    EXPECT_FALSE(GetClipboardData(CF_TEXT, &text));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(GetClipboardData(CF_TEXT, &text));   // empty
    EXPECT_FALSE(SetClipboardData(2, "bitmap?"));   // text only
    CloseClipboard();
    SetClipboardText("abc");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(GetClipboardData(CF_UNICODETEXT, &text));
    EXPECT_EQ(text, "abc");
    CloseClipboard();
    EXPECT_FALSE(CloseClipboard());
}

}   // namespace

}
