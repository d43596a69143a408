// The skinned scroll bar read right to left: a native vertical bar aligned to the left, a native horizontal bar
// whose window holds the mirrored position so its arrows step the other way, and a skinned bar that keeps its
// positions as they are.
#include "support/ScrollBarKit.h"

#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ScrollBar.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::sbtest;

namespace {

class ScrollBarRightToLeft : public ScrollBarTestBase {
protected:
    TForm* NewRtlForm() {
        TForm* form = NewForm();
        form->SetBiDiMode(bdRightToLeft);
        return form;
    }
};

TMessage RtlScrollMessage(int code, int pos = 0) {
    return TMessage {user::WM_HSCROLL, user::MAKEWPARAM(user::WORD(code), user::WORD(pos)), 0, 0};
}

user::DWORD StyleOf(TsScrollBar* bar) {
    return user::DWORD(user::GetWindowLong(bar->Handle(), user::GWL_STYLE));
}

TEST_F(ScrollBarRightToLeft, ANativeVerticalBarIsAlignedToTheLeftOnlyWhenReadRightToLeft) {
    TForm* ltr = NewForm();
    TsScrollBar* right = NewBar(ltr, sbVertical, TRect {10, 10, 26, 150});
    EXPECT_NE(StyleOf(right) & user::SBS_RIGHTALIGN, 0u);
    EXPECT_EQ(StyleOf(right) & user::SBS_LEFTALIGN, 0u);
    EXPECT_EQ(right->DirectionFactor(), 1);

    TForm* rtl = NewRtlForm();
    TsScrollBar* left = NewBar(rtl, sbVertical, TRect {10, 10, 26, 150});
    EXPECT_NE(StyleOf(left) & user::SBS_LEFTALIGN, 0u);
    EXPECT_EQ(left->DirectionFactor(), 1);   // a vertical bar runs top to bottom in both orders
}

TEST_F(ScrollBarRightToLeft, ANativeHorizontalBarShowsTheMirroredPositionAndItsArrowsStepBackwards) {
    TForm* form = NewRtlForm();
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    ASSERT_EQ(bar->DirectionFactor(), -1);
    bar->SetPosition(30);
    EXPECT_EQ(user::GetScrollPos(bar->Handle(), user::SB_CTL), 70);

    // The right arrow of the native bar asks for a line down, which is back toward Min.
    const int arrow = user::GetSystemMetrics(user::SM_CXHSCROLL);
    ClickAt(bar, bar->Width() - arrow / 2, bar->Height() / 2);
    EXPECT_EQ(bar->Position(), 29);
    ClickAt(bar, arrow / 2, bar->Height() / 2);
    ClickAt(bar, arrow / 2, bar->Height() / 2);
    EXPECT_EQ(bar->Position(), 31);
    EXPECT_EQ(user::GetScrollPos(bar->Handle(), user::SB_CTL), 69);

    // Pages too; the ends stay the ends.
    struct Step {
        int Code, Expected;
    };
    const Step steps[] = {{user::SB_PAGEDOWN, 30}, {user::SB_PAGEUP, 31}, {user::SB_TOP, 0}, {user::SB_BOTTOM, 100}};
    bar->SetLargeChange(1);
    for (const Step& s : steps) {
        TMessage m = RtlScrollMessage(s.Code);
        bar->DoScroll(m);
        EXPECT_EQ(bar->Position(), s.Expected) << s.Code;
    }
}

// The mirror stays within the range: with Min 10 the last position shows at the native bar's first.
TEST_F(ScrollBarRightToLeft, TheMirroredPositionStaysInsideARangeThatDoesNotStartAtZero) {
    TForm* form = NewRtlForm();
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    bar->SetParams(100, 10, 100);
    EXPECT_EQ(user::GetScrollPos(bar->Handle(), user::SB_CTL), 10);
    bar->SetPosition(10);
    EXPECT_EQ(user::GetScrollPos(bar->Handle(), user::SB_CTL), 100);
    // The thumb, now at the native bar's right end, dragged to its left end gives the last position.
    const int arrow = user::GetSystemMetrics(user::SM_CXHSCROLL);
    const int y = bar->Height() / 2;
    PressAt(bar, bar->Width() - arrow - 3, y);
    MoveTo(bar, -100, y);
    ReleaseAt(bar, -100, y);
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_EQ(user::GetScrollPos(bar->Handle(), user::SB_CTL), 10);
}

TEST_F(ScrollBarRightToLeft, ASkinnedBarKeepsItsPositionsAsTheyAre) {
    TForm* form = NewRtlForm();
    LoadSkin(1);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    EXPECT_EQ(bar->DirectionFactor(), 1);
    bar->SetPosition(30);
    TMessage m = RtlScrollMessage(user::SB_LINEDOWN);
    bar->DoScroll(m);
    EXPECT_EQ(bar->Position(), 31);
}

}
