// TsMemo on the headless display: the skinned bars fed from the native scroll information and kept in step
// through wheel, keys, typing and the skinned bar itself; a text that fits; small and hidden memos; skin
// switches; colours in step with the section; the scroll events; editing by real keys.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TPanel.h"
#include "platform/classes/TScrollBar.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/EditConstants.h"
#include "skin/controls/sEditScrolls.h"
#include "skin/controls/sMemo.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

std::string Rows(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "Row " + std::to_string(i) + (i + 1 < count ? "\r\n" : "");
    return text;
}

class MemoTest : public ControlsTest {
protected:
    TsMemo* NewMemo(const std::string& text, TScrollStyle bars = ssVertical, int width = 180, int height = 100) {
        auto* memo = Create<TsMemo>(Form);
        memo->SetBounds(20, 20, width, height);
        memo->SetScrollBars(bars);
        memo->SetText(text);
        memo->SetParent(Form);
        Pump();
        return memo;
    }
    static user::SCROLLINFO Native(TsMemo* memo, int bar = user::SB_VERT) {
        user::SCROLLINFO si;
        si.fMask = user::SIF_ALL;
        EXPECT_TRUE(user::GetScrollInfo(memo->Handle(), bar, &si));
        return si;
    }
    static int TopLine(TsMemo* memo) {
        return int(user::SendMessage(memo->Handle(), user::EM_GETFIRSTVISIBLELINE, 0, 0));
    }
    // The bar matches the native information: its range ends where the last page starts.
    static void ExpectInStep(TsMemo* memo) {
        const user::SCROLLINFO si = Native(memo);
        TsScrollBar* bar = memo->VertBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->Position(), si.nPos);
        EXPECT_EQ(bar->Max(), si.nMax - int(si.nPage) + 1);
        EXPECT_EQ(bar->PageSize(), int(si.nPage));
        EXPECT_EQ(si.nPos, TopLine(memo));
    }
};

TEST_F(MemoTest, ALongTextGetsASkinnedBarOverTheNativeOneInStepWithItsScrollInfo) {
    UseSkin(0);
    TsMemo* memo = NewMemo(Rows(40));
    TsScrollBar* bar = memo->VertBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(memo->HorzBar(), nullptr);
    EXPECT_TRUE(bar->Visible());
    EXPECT_TRUE(bar->Enabled());
    EXPECT_EQ(bar->Parent(), Form);
    EXPECT_EQ(bar->Left(), memo->Left() + memo->Width() - bar->Width() - 2);
    EXPECT_EQ(bar->Top(), memo->Top() + 2);
    EXPECT_EQ(bar->Height(), memo->Height() - 4);
    EXPECT_EQ(bar->Min(), 0);
    ExpectInStep(memo);
    // Painting settles: the bar laid over the memo does not make the memo paint again and again.
    memo->Invalidate();
    Pump();
    EXPECT_FALSE(user::GetUpdateRect(memo->Handle(), nullptr, false));
    EXPECT_FALSE(user::GetUpdateRect(Form->Handle(), nullptr, false));
}

TEST_F(MemoTest, ATextThatFitsLeavesTheBarDisabledWithMaxOneAndRaisesNothing) {
    UseSkin(1);
    TsMemo* memo = NewMemo("one\r\ntwo");
    TsScrollBar* bar = memo->VertBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->Enabled());
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 1);
    EXPECT_EQ(bar->Position(), 0);
    // Ranges whose page is longer than the text give no Max below Min, even on a bar without a skin (which
    // raises for such a range).
    auto* plain = Create<TsScrollBar>(Form);
    for (auto [max, page] : {std::pair {1, 10u}, {0, 0u}, {-5, 3u}, {5, 6u}}) {
        user::SCROLLINFO si;
        si.nMin = 0, si.nMax = max, si.nPage = page, si.nPos = 0;
        EXPECT_NO_THROW(FeedEditBar(plain, si, true)) << max << " " << page;
        EXPECT_LE(plain->Min(), plain->Max());
        EXPECT_FALSE(plain->Enabled()) << max << " " << page;
    }
    // Growing text brings the range; removing it again empties it.
    memo->SetText(Rows(30));
    Pump();
    EXPECT_TRUE(bar->Enabled());
    ExpectInStep(memo);
    memo->SetText("x");
    Pump();
    EXPECT_FALSE(bar->Enabled());
    EXPECT_EQ(bar->Max(), 1);
}

TEST_F(MemoTest, TheWheelAndTheKeysScrollTheMemoWithTheSkinnedBarInStep) {
    UseSkin(2);
    TsMemo* memo = NewMemo(Rows(60));
    ClickAt(memo, 20, 5);
    const TPoint p = memo->ClientToScreen(TPoint {40, 40});
    Display->Wheel(p.x, p.y, -120);
    Pump();
    EXPECT_GT(TopLine(memo), 0);
    ExpectInStep(memo);
    Key(user::VK_NEXT);
    Key(user::VK_NEXT);
    ExpectInStep(memo);
    Display->Press(user::VK_END, "", user::ModControl);
    Pump();
    EXPECT_EQ(memo->VertBar()->Position(), memo->VertBar()->Max());
    ExpectInStep(memo);
    Display->Press(user::VK_HOME, "", user::ModControl);
    Pump();
    EXPECT_EQ(memo->VertBar()->Position(), 0);
    ExpectInStep(memo);
}

// A key held down scrolls the text page by page; the bar keeps step before the key comes up.
TEST_F(MemoTest, TheBarKeepsStepWithAKeyHeldDown) {
    UseSkin(0);
    TsMemo* memo = NewMemo(Rows(60));
    ClickAt(memo, 20, 5);
    Display->KeyDown(user::VK_NEXT, "");
    Pump();
    Display->KeyDown(user::VK_NEXT, "");
    Pump();
    EXPECT_GT(TopLine(memo), 0);
    ExpectInStep(memo);
    Display->KeyUp(user::VK_NEXT);
    Pump();
    ExpectInStep(memo);
}

// Printed with its frame, the memo gives the skinned frame strips at the window's edge and its text inside them.
TEST_F(MemoTest, APrintedMemoShowsItsSkinnedFrameAroundItsText) {
    UseSkin(1);
    TsMemo* memo = NewMemo(Rows(3), ssNone);
    MoveTo(Form, 340, 220);
    TBitmap print;
    print.SetPixelFormat(pf24bit);
    print.SetSize(memo->Width(), memo->Height());
    print.Canvas()->Brush()->SetColor(clFuchsia);
    print.Canvas()->FillRect(TRect {0, 0, memo->Width(), memo->Height()});
    memo->Perform(user::WM_PRINT, WPARAM(print.Canvas()->Handle()), user::PRF_CLIENT | user::PRF_NONCLIENT);
    TBitmap* cache = memo->SkinData()->CacheBmp();
    ASSERT_NE(cache, nullptr);
    for (const TPoint p : {TPoint {0, 0}, TPoint {1, 10}, TPoint {memo->Width() - 1, memo->Height() - 1}})
        EXPECT_EQ(print.Canvas()->Pixels(p.x, p.y), cache->Canvas()->Pixels(p.x, p.y)) << p.x << "," << p.y;
    int fuchsia = 0;
    for (int y = 2; y < memo->Height() - 2; ++y)
        for (int x = 2; x < memo->Width() - 2; ++x) fuchsia += print.Canvas()->Pixels(x, y) == clFuchsia;
    EXPECT_EQ(fuchsia, 0);
}

TEST_F(MemoTest, TheSkinnedBarScrollsTheNativeMemoByItsArrowTrackAndThumb) {
    UseSkin(0);
    TsMemo* memo = NewMemo(Rows(60));
    TsScrollBar* bar = memo->VertBar();
    ASSERT_NE(bar, nullptr);
    ClickMiddle(bar, bar->PartRect(TsScrollPart::Arrow2));
    EXPECT_EQ(TopLine(memo), 1);
    ExpectInStep(memo);
    const TRect after = bar->PartRect(TsScrollPart::TrackAfter);
    ClickAt(bar, (after.left + after.right) / 2, after.bottom - 2);
    EXPECT_GT(TopLine(memo), 1);
    ExpectInStep(memo);
    // The thumb dragged to the end: the native memo shows the last page.
    DragThumbBelow(bar, 40);
    EXPECT_EQ(bar->Position(), bar->Max());
    ExpectInStep(memo);
}

TEST_F(MemoTest, TypingNewLinesAtTheEndMovesTheBarWithTheCaret) {
    UseSkin(3);
    TsMemo* memo = NewMemo(Rows(8));
    ClickAt(memo, 20, 5);
    Display->Press(user::VK_END, "", user::ModControl);
    for (int i = 0; i < 12; ++i) Display->Press(user::VK_RETURN, "\r");
    Display->Press('Z', "z");
    Pump();
    EXPECT_EQ(memo->Lines()->Count(), 20);
    EXPECT_GT(TopLine(memo), 0);
    ExpectInStep(memo);
    Display->Press('Z', "", user::ModControl);   // undo the typing
    Pump();
    EXPECT_EQ(memo->Text(), Rows(8));
    ExpectInStep(memo);
}

TEST_F(MemoTest, SmallHiddenAndUnskinnedMemosHaveNoSkinnedBars) {
    UseSkin(0);
    TsMemo* tiny = NewMemo(Rows(40), ssBoth, 15, 60);
    EXPECT_EQ(tiny->VertBar(), nullptr);
    EXPECT_EQ(tiny->HorzBar(), nullptr);
    TsMemo* memo = NewMemo(Rows(40), ssBoth);
    EXPECT_NE(memo->VertBar(), nullptr);
    EXPECT_NE(memo->HorzBar(), nullptr);
    EXPECT_EQ(memo->VertBar()->Height(), memo->Height() - 4 - user::GetSystemMetrics(user::SM_CYHSCROLL));
    memo->SetVisible(false);
    Pump();
    EXPECT_EQ(memo->VertBar(), nullptr);
    EXPECT_EQ(memo->HorzBar(), nullptr);
    int paints = 0;
    const TWndMethod inner = memo->WindowProc;
    memo->WindowProc = [&](TMessage& m) {
        paints += m.Msg == user::WM_PAINT;
        static_cast<TControl*>(memo)->WndProc(m);
    };
    memo->SetVisible(true);
    Pump();
    EXPECT_NE(memo->VertBar(), nullptr);
    EXPECT_LT(paints, 5);   // showing the bars over it does not make the memo paint again and again
    memo->WindowProc = inner;
    memo->SetScrollBars(ssNone);
    Pump();
    memo->UpdateScrolls();
    EXPECT_EQ(memo->VertBar(), nullptr);
    memo->SetScrollBars(ssVertical);
    Pump();
    memo->UpdateScrolls();
    ASSERT_NE(memo->VertBar(), nullptr);
    UseSkin(-1);
    EXPECT_EQ(memo->VertBar(), nullptr);
    EXPECT_EQ(memo->Lines()->Count(), 40);
    UseSkin(1);
    memo->UpdateScrolls();
    EXPECT_NE(memo->VertBar(), nullptr);
}

TEST_F(MemoTest, TheBarsFollowTheMemoToAnotherPlaceAndAnotherParent) {
    UseSkin(0);
    TsMemo* memo = NewMemo(Rows(40));
    memo->SetBounds(60, 40, 200, 120);
    Pump();
    TsScrollBar* bar = memo->VertBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Left(), 60 + 200 - bar->Width() - 2);
    EXPECT_EQ(bar->Height(), 120 - 4);
    auto* panel = Create<TPanel>(Form);
    panel->SetBounds(0, 0, 300, 200);
    panel->SetParent(Form);
    memo->SetParent(panel);
    Pump();
    memo->UpdateScrolls();
    ASSERT_NE(memo->VertBar(), nullptr);
    EXPECT_EQ(memo->VertBar()->Parent(), panel);
    ExpectInStep(memo);
}

TEST_F(MemoTest, ColoursFollowTheSectionHotOrNotUnlessCustom) {
    UseSkin(1);
    TsMemo* memo = NewMemo(Rows(3));
    TsCommonData* data = memo->SkinData();
    const TsGeneralData& section = Manager->Sections[std::size_t(data->SkinIndex)];
    MoveTo(Form, 340, 220);
    EXPECT_EQ(memo->Color(), section.Color);
    ClickAt(memo, 20, 5);
    EXPECT_EQ(memo->Color(), section.HotColor);
    data->SetCustomColor(true);
    memo->SetColor(0x123456);
    memo->Invalidate();
    Pump();
    EXPECT_EQ(memo->Color(), 0x123456);
}

// A refresh command repaints the memo at once, its frame and bar with it, and leaves nothing to paint.
TEST_F(MemoTest, ARefreshPaintsTheMemoAtOnce) {
    UseSkin(1);
    TsMemo* memo = NewMemo(Rows(30));
    MoveTo(Form, 300, 200);
    Pump();
    const auto before = ScreenPixels(memo, TRect {0, 0, memo->Width(), memo->Height()});
    memo->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REFRESH), LPARAM(Manager));
    EXPECT_FALSE(user::GetUpdateRect(memo->Handle(), nullptr, false));
    Pump();
    EXPECT_EQ(ScreenPixels(memo, TRect {0, 0, memo->Width(), memo->Height()}), before);
    ExpectInStep(memo);
}

TEST_F(MemoTest, OnVScrollFollowsWmVScrollAndOnScrollCaretFollowsEmSetSel) {
    UseSkin(0);
    TsMemo* memo = NewMemo(Rows(40));
    int vscrolls = 0;
    int carets = 0;
    memo->OnVScroll = [&](TObject*) { ++vscrolls; };
    memo->OnScrollCaret = [&](TObject*) { ++carets; };
    user::SendMessage(memo->Handle(), user::WM_VSCROLL, user::SB_LINEDOWN, 0);
    EXPECT_EQ(vscrolls, 1);
    EXPECT_EQ(TopLine(memo), 1);
    ExpectInStep(memo);
    memo->SetSelStart(5);
    EXPECT_EQ(carets, 1);
}

}
