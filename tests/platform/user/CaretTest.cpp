// The caret: creation, balanced showing and hiding, moving, blinking on the owner's timer, destruction.
#include "support/UserTestSupport.h"

#include "platform/user/Painting.h"
#include "platform/user/controls/Caret.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

using Caret = UserTest;

TEST_F(Caret, StartsHiddenAndShowsOnceEveryHideIsBalanced) {
    HWND w = Create(WS_OVERLAPPED | WS_VISIBLE, 10, 10, 100, 100);
    Pump();
    ASSERT_TRUE(CreateCaret(w, nullptr, 2, 12));
    EXPECT_FALSE(IsCaretDrawn(w));
    EXPECT_TRUE(ShowCaret(w));
    EXPECT_TRUE(IsCaretDrawn(w));
    EXPECT_TRUE(HideCaret(w));
    EXPECT_TRUE(HideCaret(nullptr));   // the caret's owner
    EXPECT_TRUE(ShowCaret(w));
    EXPECT_FALSE(IsCaretDrawn(w));
    EXPECT_TRUE(ShowCaret(w));
    EXPECT_TRUE(IsCaretDrawn(w));
    HWND other = Create(WS_OVERLAPPED | WS_VISIBLE, 200, 10, 100, 100);
    EXPECT_FALSE(ShowCaret(other));   // not its caret
    EXPECT_TRUE(DestroyCaret());
    EXPECT_FALSE(IsCaretDrawn(w));
    EXPECT_FALSE(DestroyCaret());
    EXPECT_FALSE(ShowCaret(w));
}

TEST_F(Caret, CallsWithoutACaretFail) {
    EXPECT_FALSE(SetCaretPos(1, 1));
    POINT p {};
    EXPECT_FALSE(GetCaretPos(&p));
    EXPECT_FALSE(HideCaret(nullptr));
    EXPECT_FALSE(CreateCaret(nullptr, nullptr, 1, 1));
    HWND w = Create(WS_OVERLAPPED | WS_VISIBLE, 10, 10, 100, 100);
    ASSERT_TRUE(CreateCaret(w, nullptr, 0, -5));   // sizes of at least one pixel
    EXPECT_FALSE(GetCaretPos(nullptr));
}

TEST_F(Caret, InvertsItsRectangleAndMovingItRestoresTheOldPlace) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 10, 10, 100, 100);   // white background
    UpdateWindow(w);
    Pump();
    ASSERT_TRUE(CreateCaret(w, nullptr, 2, 10));
    SetCaretPos(20, 30);
    ShowCaret(w);
    EXPECT_EQ(StorePixel(w, 21, 35), gdi::RGB(0, 0, 0));
    EXPECT_EQ(StorePixel(w, 22, 35), gdi::RGB(255, 255, 255));
    SetCaretPos(50, 30);
    EXPECT_EQ(StorePixel(w, 21, 35), gdi::RGB(255, 255, 255));
    EXPECT_EQ(StorePixel(w, 50, 35), gdi::RGB(0, 0, 0));
    POINT p {};
    EXPECT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p.x, 50);
    Advance(int(GetCaretBlinkTime()) + 1);
    EXPECT_EQ(StorePixel(w, 50, 35), gdi::RGB(255, 255, 255));
    DestroyWindow(w);
    EXPECT_FALSE(IsCaretDrawn(w));
}

TEST_F(Caret, ANewCaretReplacesTheOldOneOfAnotherWindow) {
    HWND a = Create(WS_POPUP | WS_VISIBLE, 10, 10, 100, 100);
    HWND b = Create(WS_POPUP | WS_VISIBLE, 200, 10, 100, 100);
    UpdateWindow(a);
    CreateCaret(a, nullptr, 1, 10);
    SetCaretPos(5, 5);
    ShowCaret(a);
    EXPECT_EQ(StorePixel(a, 5, 6), gdi::RGB(0, 0, 0));
    CreateCaret(b, nullptr, 1, 10);
    EXPECT_FALSE(IsCaretDrawn(a));
    EXPECT_EQ(StorePixel(a, 5, 6), gdi::RGB(255, 255, 255));
    EXPECT_TRUE(SetCaretBlinkTime(200));
    EXPECT_EQ(GetCaretBlinkTime(), 200u);
    SetCaretBlinkTime(530);
}

}   // namespace

}
