// TsScrollBox with a skin: the skinned bars laid over its edges, scrolled by real mouse input on them (arrows,
// track, repeat on the fake clock), kept in step with ScrollBy, through skin switches, focus kept in view.
#include "support/ControlsHost.h"
#include "support/ScrollBarKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TButton.h"
#include "platform/classes/TCanvas.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinManager.h"

#include <climits>
#include <functional>
#include <utility>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::sbtest;

namespace {

constexpr int RowHeight = 30;
constexpr int BoxRows = 10;

class ScrollBoxBars : public ScrollBarTestBase {
protected:
    TForm* Form = nullptr;
    TsScrollBox* Box = nullptr;
    TsPanel* First = nullptr;
    TsPanel* Last = nullptr;

    // A 160 x 100 box at (10, 10) holding ten rows of 120 x 30 (rowWidth wider for a horizontal range);
    // `prepare` sets the box up before it is placed.
    void Build(int rowWidth = 120, const std::function<void(TsScrollBox*)>& prepare = {}) {
        Form = NewForm();
        Box = Create<TsScrollBox>(Form);
        if (prepare) prepare(Box);
        Box->SetBounds(10, 10, 160, 100);
        Box->SetParent(Form);
        for (int i = 0; i < BoxRows; ++i) {
            auto* row = Create<TsPanel>(Form);
            row->SetBounds(0, i * RowHeight, rowWidth, RowHeight);
            row->SetCaption("Row " + std::to_string(i));
            row->SetParent(Box);
            if (i == 0) First = row;
            Last = row;
        }
        Pump();
    }
    int VertMax() const { return BoxRows * RowHeight - Box->ClientHeight(); }
    // A button in the box below its view, given the focus.
    TButton* FocusedButtonBelowTheView() {
        auto* button = Create<TButton>(Form);
        button->SetBounds(10, 250, 80, 24);
        button->SetParent(Box);
        Pump();
        button->SetFocus();
        Pump();
        return button;
    }
};

TEST_F(ScrollBoxBars, ASkinnedBoxShowsOnlyItsSkinnedBarOverItsRightEdge) {
    LoadSkin(1);
    Build();
    TsScrollBar* bar = Box->SkinVertBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(Box->NativeBarsHidden());
    EXPECT_FALSE(Box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_TRUE(bar->Visible());
    EXPECT_TRUE(bar->SkinActive());
    EXPECT_EQ(bar->HostControl(), Box);
    EXPECT_EQ(bar->Parent(), Form);
    EXPECT_TRUE(Box->SkinHorzBar() == nullptr || !Box->SkinHorzBar()->Visible());
    // Inside the 2-pixel frame, at the box's right edge, one pixel longer than the frame's inside; the client area
    // ends where the bar starts.
    EXPECT_EQ(bar->BoundsRect(), (TRect {10 + 160 - 2 - 16, 12, 10 + 160 - 2, 10 + 100 - 2 + 1}));
    EXPECT_EQ(Box->ClientWidth(), 160 - 4 - 16);
    EXPECT_EQ(Box->ClientHeight(), 96);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), VertMax());
    EXPECT_EQ(bar->PageSize(), 96);
    EXPECT_EQ(bar->LargeChange(), 96);
    EXPECT_EQ(bar->SmallChange(), Box->VertScrollBar()->Increment());
    // The bar is on top of the box: the screen point at the bar's middle belongs to the bar's window.
    const TPoint p = bar->ClientToScreen(TPoint {8, 50});
    EXPECT_EQ(user::WindowFromPoint(user::POINT {p.x, p.y}), bar->Handle());
}

TEST_F(ScrollBoxBars, ArrowsAndTrackOfTheSkinnedBarScrollTheContentClampedAtBothEnds) {
    LoadSkin(0);
    Build();
    TsScrollBar* bar = Box->SkinVertBar();
    ASSERT_NE(bar, nullptr);
    const int step = bar->SmallChange();
    int before = 0, after = 0;
    Box->OnBeforeScroll = [&](TObject*) { ++before; };
    Box->OnAfterScroll = [&](TObject*) { ++after; };
    const int h = bar->Height();

    ClickAt(bar, 8, 4);   // the top arrow at the top: nothing moves
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(First->Top(), 0);
    ClickAt(bar, 8, h - 4);   // the bottom arrow: one line
    EXPECT_EQ(bar->Position(), step);
    EXPECT_EQ(Box->VertScrollBar()->Position(), step);
    EXPECT_EQ(First->Top(), -step);
    EXPECT_GE(before, 1);
    EXPECT_EQ(before, after);
    ClickAt(bar, 8, h - 20);   // the track below the thumb: one page
    EXPECT_EQ(bar->Position(), step + 96);
    EXPECT_EQ(First->Top(), -(step + 96));

    // Holding the bottom arrow repeats until the end and no further.
    PressAt(bar, 8, h - 4);
    for (int i = 0; i < 40; ++i)
        Advance(100);
    ReleaseAt(bar, 8, h - 4);
    EXPECT_EQ(bar->Position(), VertMax());
    EXPECT_EQ(Last->Top() + Last->Height(), Box->ClientHeight());   // the last row ends at the bottom
    ClickAt(bar, 8, 20);   // the track above the thumb pages back
    EXPECT_EQ(bar->Position(), VertMax() - 96);
    EXPECT_EQ(First->Top(), -(VertMax() - 96));
}

TEST_F(ScrollBoxBars, ScrollByMovesTheSkinnedBarWithTheContent) {
    LoadSkin(2);
    Build();
    TsScrollBar* bar = Box->SkinVertBar();
    ASSERT_NE(bar, nullptr);
    BarEvents events;
    bar->OnChange = [&](TObject*) { events.Changes.push_back(bar->Position()); };
    Box->ScrollBy(0, -50);
    EXPECT_EQ(bar->Position(), 50);
    EXPECT_EQ(First->Top(), -50);
    Box->ScrollBy(0, INT_MIN);
    EXPECT_EQ(bar->Position(), VertMax());
    EXPECT_EQ(Last->Top() + RowHeight, Box->ClientHeight());
    Box->ScrollBy(0, INT_MAX);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(First->Top(), 0);
    Box->ScrollBy(-30, 0);   // no horizontal bar: no horizontal move
    EXPECT_EQ(First->Left(), 0);
    EXPECT_TRUE(events.Changes.empty());   // the box moves its bars quietly
}

TEST_F(ScrollBoxBars, WideAndTallContentGetsBothBarsWithoutOverlap) {
    LoadSkin(3);
    Build(300);
    TsScrollBar* v = Box->SkinVertBar();
    TsScrollBar* h = Box->SkinHorzBar();
    ASSERT_NE(v, nullptr);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(v->Visible() && h->Visible());
    // Each is one pixel longer than the frame's inside, less the other's thickness: they overlap by that pixel.
    EXPECT_EQ(v->BoundsRect().bottom, h->BoundsRect().top + 1);
    EXPECT_EQ(h->BoundsRect().right, v->BoundsRect().left + 1);
    EXPECT_EQ(Box->ClientWidth(), 156 - 16);
    EXPECT_EQ(Box->ClientHeight(), 96 - 16);
    EXPECT_EQ(h->Max(), 300 - Box->ClientWidth());
    ClickAt(h, h->Width() - 4, 8);   // the right arrow
    EXPECT_EQ(First->Left(), -h->SmallChange());
    Box->ScrollBy(INT_MIN, INT_MIN);
    EXPECT_EQ(h->Position(), h->Max());
    EXPECT_EQ(v->Position(), v->Max());
    EXPECT_EQ(Last->Left() + 300, Box->ClientWidth());
    EXPECT_EQ(Last->Top() + RowHeight, Box->ClientHeight());
}

TEST_F(ScrollBoxBars, ASkinSwitchKeepsThePositionAndRemovingTheSkinBringsTheNativeBarsBack) {
    TsSkinManager* sm = LoadSkin(0);
    Build();
    Box->ScrollBy(0, -60);
    TsScrollBar* bar = Box->SkinVertBar();
    ASSERT_NE(bar, nullptr);
    LoadSkin(1);   // another skin while shown
    ASSERT_EQ(Box->SkinVertBar(), bar);
    EXPECT_TRUE(bar->Visible());
    EXPECT_TRUE(bar->SkinActive());
    EXPECT_EQ(bar->Position(), 60);
    EXPECT_EQ(First->Top(), -60);
    ClickAt(bar, 8, bar->Height() - 4);
    EXPECT_EQ(First->Top(), -60 - bar->SmallChange());

    const int pos = Box->VertScrollBar()->Position();
    sm->SetActive(false);
    Pump();
    EXPECT_FALSE(Box->NativeBarsHidden());
    EXPECT_TRUE(Box->SkinVertBar() == nullptr || !Box->SkinVertBar()->Visible());
    EXPECT_TRUE(Box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(Box->VertScrollBar()->Position(), pos);
    EXPECT_EQ(First->Top(), -pos);
    Box->ScrollBy(0, 10);   // the unskinned path scrolls through the native bar
    EXPECT_EQ(Box->VertScrollBar()->Position(), pos - 10);

    // Skinned again, the native bars go once more and the content starts over at the top with the new bar.
    sm->SetActive(true);
    Pump();
    ASSERT_NE(Box->SkinVertBar(), nullptr);
    EXPECT_TRUE(Box->SkinVertBar()->Visible());
    EXPECT_FALSE(Box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(Box->SkinVertBar()->Position(), 0);
    EXPECT_EQ(First->Top(), 0);
}

TEST_F(ScrollBoxBars, AHiddenNativeBarStaysWithoutASkinnedOne) {
    LoadSkin(1);
    Form = NewForm();
    Box = Create<TsScrollBox>(Form);
    Box->VertScrollBar()->SetVisible(false);
    Box->SetBounds(10, 10, 160, 100);
    Box->SetParent(Form);
    auto* row = Create<TsPanel>(Form);
    row->SetBounds(0, 0, 120, 400);
    row->SetParent(Box);
    Pump();
    EXPECT_TRUE(Box->SkinVertBar() == nullptr || !Box->SkinVertBar()->Visible());
    Box->SetVisible(false);
    Pump();
    Box->SetVisible(true);
    Pump();
    EXPECT_TRUE(Box->SkinVertBar() == nullptr || !Box->SkinVertBar()->Visible());
}

TEST_F(ScrollBoxBars, HidingTheBoxHidesItsBarsAndContentThatFitsNeedsNone) {
    LoadSkin(0);
    Build();
    TsScrollBar* bar = Box->SkinVertBar();
    ASSERT_NE(bar, nullptr);
    Box->SetVisible(false);
    Pump();
    EXPECT_FALSE(bar->Visible());
    Box->SetVisible(true);
    Pump();
    EXPECT_TRUE(bar->Visible());
    Box->SetBounds(10, 10, 160, BoxRows * RowHeight + 4);   // everything fits now
    Pump();
    EXPECT_FALSE(bar->Visible());
    EXPECT_EQ(First->Top(), 0);
    Box->SetBounds(40, 20, 160, 100);   // moved and shrunk: the bar follows
    Pump();
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Left(), 40 + 160 - 2 - 16);
    EXPECT_EQ(bar->Top(), 22);
}

TEST_F(ScrollBoxBars, AFocusedControlBelowTheViewIsScrolledIntoIt) {
    LoadSkin(0);
    Build();
    TButton* button = FocusedButtonBelowTheView();
    TsScrollBar* bar = Box->SkinVertBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_GT(bar->Position(), 0);
    EXPECT_EQ(button->Top() + button->Height(), Box->ClientHeight());   // just in view at the bottom
    EXPECT_EQ(Box->VertScrollBar()->Position(), bar->Position());
    auto* top = Create<TButton>(Form);
    top->SetBounds(10, 5 - bar->Position(), 80, 24);   // above the view
    top->SetParent(Box);
    Pump();
    top->SetFocus();
    Pump();
    EXPECT_EQ(bar->Position(), 5);
    EXPECT_EQ(top->Top(), 0);   // just in view at the top
}

// The bar's range is the content less the page wherever the content stands: the class library's Range counts
// from the unscrolled origin, so adding the position to it would let the bar run past the content's end.
TEST_F(ScrollBoxBars, TheHorizontalBarsRangeIsTheContentWhereverItStands) {
    LoadSkin(1);
    Build(300);
    TsScrollBar* h = Box->SkinHorzBar();
    ASSERT_NE(h, nullptr);
    for (int step = 0; step < 3; ++step) {
        ClickAt(h, h->Width() - 30, 8);   // the track right of the thumb: a page
        Box->UpdateScrolls();
        EXPECT_EQ(h->Max(), 300 - Box->ClientWidth()) << step;
    }
    Box->ScrollBy(INT_MIN, 0);
    EXPECT_EQ(h->Position(), h->Max());
    EXPECT_EQ(Last->Left() + 300, Box->ClientWidth());   // the content's right edge, no further
}

// A box filled and sized while its form is hidden (a program started minimized) shows, once the form shows, the
// bars its last size needs, where that size puts them: no bar is left where an earlier size had put it.
TEST_F(ScrollBoxBars, ABoxSizedWhileItsFormWasHiddenShowsTheBarsOfItsLastSize) {
    LoadSkin(0);
    Form = Create<TForm>(Application);
    Form->SetBounds(20, 20, 440, 300);
    Form->HandleNeeded();
    Box = Create<TsScrollBox>(Form);
    Box->SetBounds(10, 10, 160, 50);
    Box->SetParent(Form);
    for (int i = 0; i < 2; ++i) {   // each row counts from the next one's arrival on
        auto* row = Create<TsPanel>(Form);
        row->SetBounds(0, i * RowHeight, 300, RowHeight);
        row->SetParent(Box);
    }
    Pump();
    ASSERT_NE(Box->SkinHorzBar(), nullptr);   // laid for the small box, before its window is made
    EXPECT_FALSE(Box->HandleAllocated());
    Box->SetBounds(10, 10, 360, 200);   // everything fits now
    Pump();
    Form->Show();
    Pump();
    // Neither the bar nor its window shows (the window of a bar laid while hidden was shown by itself).
    for (TsScrollBar* bar : {Box->SkinHorzBar(), Box->SkinVertBar()}) {
        if (bar == nullptr) continue;
        EXPECT_FALSE(bar->Visible());
        EXPECT_FALSE(bar->HandleAllocated() && user::IsWindowVisible(bar->WindowHandle()));
    }
    Form->Hide();
    Pump();
    Box->SetBounds(10, 10, 200, 100);   // too narrow again, while hidden: the bar goes to the new bottom edge
    Pump();
    Form->Show();
    Pump();
    TsScrollBar* h = Box->SkinHorzBar();
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(h->Visible());
    EXPECT_TRUE(h->HandleAllocated() && user::IsWindowVisible(h->WindowHandle()));
    EXPECT_EQ(h->Top() + h->Height(), 10 + 100 - 2);
    EXPECT_EQ(h->Max(), 300 - Box->ClientWidth());
}

// The bars are windows of the box's parent: a box moved without a change of size takes them along.
TEST_F(ScrollBoxBars, AMovedBoxTakesItsSkinnedBarsAlong) {
    LoadSkin(0);
    Build();
    TsScrollBar* bar = Box->SkinVertBar();
    ASSERT_NE(bar, nullptr);
    Box->SetBounds(40, 30, 160, 100);
    Pump();
    EXPECT_EQ(bar->Left(), 40 + 160 - 2 - 16);
    EXPECT_EQ(bar->Top(), 32);
}

// The client area leaves out every skinned bar that exists, shown or not; an aligned child is laid out over the
// scrolled area less the bar and one pixel.
TEST_F(ScrollBoxBars, TheClientAreaAndTheAlignedChildrenLeaveOutTheBars) {
    LoadSkin(2);
    Build();
    TsScrollBar* bar = Box->SkinVertBar();
    ASSERT_NE(bar, nullptr);
    auto* top = Create<TsPanel>(Form);
    top->SetAlign(alTop);
    top->SetHeight(20);
    top->SetParent(Box);
    Pump();
    EXPECT_EQ(Box->ClientWidth(), 156 - bar->Width());
    EXPECT_EQ(top->Width(), Box->ClientWidth() - bar->Width() - 1);
    Box->SetBounds(10, 10, 160, BoxRows * RowHeight + 60);   // everything fits: the bar hides but stays
    Pump();
    EXPECT_FALSE(bar->Visible());
    EXPECT_EQ(Box->ClientWidth(), 156 - bar->Width());
}

// A wide child that brings the horizontal bar takes its height from the view at once: the vertical bar's page is
// the client height left, and at its end the last row ends at the client area's bottom (none of it under the bar).
TEST_F(ScrollBoxBars, TheFirstHorizontalBarShortensTheVerticalPageInTheSameLayout) {
    LoadSkin(0);
    Build();
    ASSERT_NE(Box->SkinVertBar(), nullptr);
    ASSERT_EQ(Box->SkinHorzBar(), nullptr);
    auto* wide = Create<TButton>(Form);
    wide->SetBounds(0, 40, 400, 25);
    wide->SetParent(Box);
    Pump();
    TsScrollBar* vert = Box->SkinVertBar();
    ASSERT_NE(Box->SkinHorzBar(), nullptr);
    EXPECT_EQ(Box->ClientHeight(), 96 - Box->SkinHorzBar()->Height());
    EXPECT_EQ(vert->PageSize(), Box->ClientHeight());
    EXPECT_EQ(vert->Max(), VertMax());
    vert->SetPosition(vert->Max());
    Pump();
    EXPECT_EQ(Last->Top() + RowHeight, Box->ClientHeight());
}

// The content follows a dragged thumb only when the native bar it stands in for says so; otherwise it moves
// once, when the thumb is let go.
TEST_F(ScrollBoxBars, ADraggedThumbMovesTheContentOnlyWhenTheNativeBarTracks) {
    for (const bool tracking : {false, true}) {
        LoadSkin(0);
        Build(120, [tracking](TsScrollBox* box) { box->VertScrollBar()->SetTracking(tracking); });
        TsScrollBar* bar = Box->SkinVertBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->Smooth(), tracking);
        const TRect thumb = bar->PartRect(TsScrollPart::Thumb);
        const int x = bar->Width() / 2, y = (thumb.top + thumb.bottom) / 2;
        PressAt(bar, x, y);
        MoveTo(bar, x, y + 20);
        MoveTo(bar, x, y + 30);
        EXPECT_EQ(First->Top() < 0, tracking) << tracking;
        ReleaseAt(bar, x, y + 30);
        EXPECT_LT(First->Top(), 0) << tracking;
        EXPECT_EQ(-First->Top(), bar->Position()) << tracking;
    }
}

// A focused control is scrolled into view with the native bars' margins around it.
TEST_F(ScrollBoxBars, AFocusedControlComesIntoViewWithTheMargins) {
    LoadSkin(3);
    Build();
    Box->VertScrollBar()->SetMargin(10);
    TButton* button = FocusedButtonBelowTheView();
    EXPECT_EQ(button->Top() + button->Height() + 10, Box->ClientHeight());
}

// The box's own scroll messages: a thumb position moves a skinned bar; other horizontal codes go to the native
// bar, vertical ones to the skinned bar.
TEST_F(ScrollBoxBars, TheBoxsOwnScrollMessagesReachTheBarsAsRouted) {
    LoadSkin(1);
    Build(300);
    TsScrollBar* v = Box->SkinVertBar();
    TsScrollBar* h = Box->SkinHorzBar();
    ASSERT_TRUE(v != nullptr && h != nullptr);
    Box->Perform(user::WM_HSCROLL, user::MAKEWPARAM(user::SB_THUMBPOSITION, 50), 0);
    EXPECT_EQ(h->Position(), 50);
    EXPECT_EQ(First->Left(), -50);
    Box->Perform(user::WM_HSCROLL, user::MAKEWPARAM(user::SB_LINEDOWN, 0), 0);
    EXPECT_EQ(Box->HorzScrollBar()->Position(), 50 + Box->HorzScrollBar()->Increment());
    EXPECT_EQ(First->Left(), -Box->HorzScrollBar()->Position());
    Box->Perform(user::WM_VSCROLL, user::MAKEWPARAM(user::SB_LINEDOWN, 0), 0);
    EXPECT_EQ(v->Position(), v->SmallChange());
    EXPECT_EQ(First->Top(), -v->SmallChange());
}

// The square between both bars is part of the box's own window: its frame paint copies it from the cache, so
// with no row beneath it shows the box's skin. It goes with the second bar.
TEST_F(ScrollBoxBars, TheCornerBetweenBothBarsIsCopiedFromTheCache) {
    LoadSkin(0);
    Build(300);
    TsScrollBar* v = Box->SkinVertBar();
    TsScrollBar* h = Box->SkinHorzBar();
    ASSERT_TRUE(v != nullptr && h != nullptr && v->Visible() && h->Visible());
    Box->ScrollBy(INT_MIN, INT_MIN);   // the last row ends where the corner starts
    Pump();
    const int f = Box->FrameWidth();
    const TRect square {Box->Width() - f - v->Width(), Box->Height() - f - h->Height(), Box->Width() - f,
        Box->Height() - f};
    EXPECT_EQ(square.left, v->Left() - Box->Left());
    EXPECT_EQ(square.top, h->Top() - Box->Top());
    EXPECT_EQ(Box->ComponentCount(), 2);   // the two bars: the square is no window of its own
    TBitmap* cache = Box->SkinData()->CacheBmp();
    ASSERT_NE(cache, nullptr);
    for (int y = square.top; y < square.bottom; y += 3)
        for (int x = square.left; x < square.right; x += 3) {
            const TPoint onForm {Box->Left() + x, Box->Top() + y};
            const TRect vr = v->BoundsRect(), hr = h->BoundsRect();
            if (gdi::PtInRect(&vr, onForm) || gdi::PtInRect(&hr, onForm)) continue;   // under a bar
            EXPECT_EQ(ScreenPixel(Form, onForm.x, onForm.y), gdi::COLORREF(cache->Canvas()->Pixels(x, y)))
                << x << "," << y;
        }
    // The corner goes with the second bar.
    for (int i = 0; i < Box->ControlCount(); ++i)
        Box->Controls(i)->SetWidth(100);
    Box->SetBounds(Box->Left(), Box->Top(), Box->Width(), Box->Height() + 1);   // the box hears of it
    Pump();
    EXPECT_FALSE(h->Visible());
}
}

namespace {

class ScrollBoxBarsPicture : public ScrollBoxBars, public ::testing::WithParamInterface<int> { };

// Both bars, scrolled into the middle, in each skin: written as a picture to look at.
TEST_P(ScrollBoxBarsPicture, BothBarsScrolledPaintOverTheFrame) {
    LoadSkin(GetParam());
    Build(300);
    Box->ScrollBy(-60, -90);
    Pump();
    ASSERT_NE(Box->SkinHorzBar(), nullptr);
    EXPECT_EQ(Box->SkinHorzBar()->Position(), 60);
    const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {origin.x, origin.y, origin.x + 180, origin.y + 120};
    ASSERT_TRUE(Display->WriteScreenshotPng(
        controlstest::PictureDir() + "/ScrollBox_" + controlstest::SkinShortName(GetParam()) + ".png", &r));
}

INSTANTIATE_TEST_SUITE_P(FourSkins, ScrollBoxBarsPicture, ::testing::Values(0, 1, 2, 3),
    [](const auto& info) { return controlstest::SkinShortName(info.param); });

}
