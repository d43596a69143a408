// The native classes under the right-to-left extended styles: WS_EX_RIGHT puts a left-aligned label's and
// edit's and rich edit's text on the right, WS_EX_LEFTSCROLLBAR a combo box's button on the left.
#include "support/ControlTestSupport.h"

#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/RichEditConstants.h"
#include "platform/user/controls/Static.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

using RightToLeftNative = ControlTest;

void RtlAddExStyle(HWND hwnd, DWORD bits) {
    SetWindowLong(hwnd, GWL_EXSTYLE, LONG_PTR(DWORD(GetWindowLong(hwnd, GWL_EXSTYLE)) | bits));
    InvalidateRect(hwnd, nullptr, true);
}

TEST_F(RightToLeftNative, ALeftAlignedLabelDrawsOnTheRightUnderWsExRight) {
    HWND label = Make("STATIC", "Node", SS_LEFT, 10, 10, 200, 20, 1);
    Pump();
    auto inkOn = [&](int from, int to) {
        const COLORREF back = ClientPixel(label, 199, 19);
        int ink = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = from; x < to; ++x) ink += ClientPixel(label, x, y) != back;
        return ink;
    };
    EXPECT_GT(inkOn(0, 100), 0);
    EXPECT_EQ(inkOn(100, 200), 0);
    RtlAddExStyle(label, WS_EX_RIGHT);
    Pump();
    EXPECT_EQ(inkOn(0, 100), 0);
    EXPECT_GT(inkOn(100, 200), 0);
}

TEST_F(RightToLeftNative, ALeftAlignedEditPutsItsTextOnTheRightUnderWsExRight) {
    HWND edit = Make("EDIT", "Node", WS_BORDER | ES_LEFT, 10, 10, 200, 24, 1);
    Pump();
    const int before = int(short(LOWORD(SendMessage(edit, EM_POSFROMCHAR, 0, 0))));
    EXPECT_LT(before, 20);
    RtlAddExStyle(edit, WS_EX_RIGHT);
    Pump();
    const int after = int(short(LOWORD(SendMessage(edit, EM_POSFROMCHAR, 0, 0))));
    EXPECT_GT(after, 100);
}

TEST_F(RightToLeftNative, ARichEditPutsItsLinesOnTheRightUnderWsExRight) {
    ASSERT_TRUE(RegisterRichEditClass());
    HWND rich = Make(RICHEDIT_CLASS, "Node\r\nNode three", WS_BORDER | ES_MULTILINE, 10, 10, 200, 60, 1);
    Pump();
    auto xOf = [&](int pos) {   // the rich edit's form: the point to fill, then the character
        POINT at {};
        SendMessage(rich, EM_POSFROMCHAR, WPARAM(&at), LPARAM(pos));
        return int(at.x);
    };
    EXPECT_LT(xOf(0), 20);
    RtlAddExStyle(rich, WS_EX_RIGHT);
    Pump();
    const int first = xOf(0);
    const int second = xOf(6);
    EXPECT_GT(first, 100);
    EXPECT_LT(second, first);   // the longer line starts further left: each line ends at the right edge
    // A click where the text now lies finds it.
    const POINT click {first + 2, 5};
    EXPECT_EQ(SendMessage(rich, EM_CHARFROMPOS, 0, LPARAM(&click)), 0);
}

TEST_F(RightToLeftNative, AComboBoxPutsItsButtonOnTheLeftUnderWsExLeftScrollBar) {
    HWND combo = Make("COMBOBOX", "", CBS_DROPDOWNLIST, 10, 10, 160, 200, 1);
    RtlAddExStyle(combo, WS_EX_LEFTSCROLLBAR);
    Pump();
    COMBOBOXINFO info;
    SendMessage(combo, CB_GETCOMBOBOXINFO, 0, LPARAM(&info));
    EXPECT_LT(info.rcButton.left, 5);
    EXPECT_GT(info.rcItem.left, info.rcButton.right - 1);
    ClickAt(combo, (info.rcButton.left + info.rcButton.right) / 2, (info.rcButton.top + info.rcButton.bottom) / 2);
    EXPECT_NE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
}

}

}
