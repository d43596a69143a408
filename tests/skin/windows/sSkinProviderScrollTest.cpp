// A scrolling skinned form: the provider's bars over the client's edges, the grip in their corner, the
// controls moved by the arrows and the thumb (not by the wheel), and the bars gone once everything fits.
#include "support/WindowsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TScrollBox.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sScrollBarGeometry.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class ProviderScroll : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Form->Hide();
        UseSkin(1);
    }
    // A shown form of 300 x 200 client pixels whose panel reaches past both edges (or fits).
    TForm* ScrollingForm(bool autoScroll, int contentWidth = 500, int contentHeight = 420) {
        TForm* form = Create<TForm>(Application);
        form->SetAutoScroll(autoScroll);
        Create<TsSkinProvider>(form);
        form->SetCaption("Scrolling");
        form->SetBounds(30, 30, 320, 240);
        form->SetClientWidth(300);
        form->SetClientHeight(200);
        Content = Create<TsPanel>(form);
        Content->SetParent(form);
        Content->SetBounds(10, 10, contentWidth - 12, contentHeight - 12);
        Content->SetCaption("Node 0: 74%");
        form->Show();
        Pump();
        return form;
    }
    TsPanel* Content = nullptr;
};

TEST_F(ProviderScroll, ALargerContentGetsBothBarsAndASquareGripInTheCorner) {
    TForm* form = ScrollingForm(true);
    TsSkinProvider* p = ProviderOf(form);
    EXPECT_FALSE(form->AutoScroll());   // the provider scrolls, not the form's own bars
    ASSERT_NE(p->VertBar(), nullptr);
    ASSERT_NE(p->HorzBar(), nullptr);
    ASSERT_NE(p->Grip(), nullptr);
    const int cx = user::GetSystemMetrics(user::SM_CXVSCROLL);
    const int cy = user::GetSystemMetrics(user::SM_CYHSCROLL);
    EXPECT_EQ(p->VertBar()->BoundsRect(), (TRect {300 - cx, 0, 300, 200 - cy}));
    EXPECT_EQ(p->HorzBar()->BoundsRect(), (TRect {0, 200 - cy, 300 - cx, 200}));
    EXPECT_EQ(p->Grip()->BoundsRect(), (TRect {300 - cx, 200 - cy, 300, 200}));
    EXPECT_TRUE(p->Grip()->Visible());
    EXPECT_TRUE(user::IsWindowVisible(p->Grip()->WindowHandle()));
}

// The scrolling bars keep no pointer to a bar freed elsewhere, and makes it again at the next layout.
TEST_F(ProviderScroll, ABarFreedElsewhereIsForgottenAndMadeAgain) {
    TForm* form = ScrollingForm(true);
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_NE(p->VertBar(), nullptr);
    delete p->VertBar();
    EXPECT_EQ(p->VertBar(), nullptr);
    ASSERT_NE(p->HorzBar(), nullptr);
    p->UpdateFormScrolls();
    ASSERT_NE(p->VertBar(), nullptr);
    EXPECT_TRUE(p->VertBar()->Visible());
}

TEST_F(ProviderScroll, ArrowsAndThumbMoveTheControlsAndTheWheelDoesNot) {
    TForm* form = ScrollingForm(true);
    TsSkinProvider* p = ProviderOf(form);
    TsScrollBar* bar = p->VertBar();
    ASSERT_NE(bar, nullptr);
    ClickMiddle(bar, bar->PartRect(TsScrollPart::Arrow2));
    EXPECT_EQ(bar->Position(), form->VertScrollBar()->Increment());
    EXPECT_EQ(Content->Top(), 10 - bar->Position());
    DragThumbBelow(bar, 40);
    EXPECT_EQ(bar->Position(), bar->Max());
    EXPECT_EQ(Content->Top(), 10 - bar->Max());
    // At the end the content's bottom shows just above the horizontal bar.
    const int visible = form->ClientHeight() - p->HorzBar()->Height();
    EXPECT_LE(Content->Top() + Content->Height(), visible);
    EXPECT_GE(Content->Top() + Content->Height(), visible - 8);
    // The wheel reaches the form and leaves the bars alone.
    int wheels = 0;
    form->OnMouseWheel = [&wheels](TObject*, TShiftState, int, TPoint, bool&) { ++wheels; };
    const TPoint centre = form->ClientToScreen(Point(100, 100));
    Display->Wheel(centre.x, centre.y, user::WHEEL_DELTA);   // up
    Pump();
    ASSERT_EQ(wheels, 1);
    EXPECT_EQ(bar->Position(), bar->Max());
    EXPECT_EQ(Content->Top(), 10 - bar->Max());
    ClickMiddle(p->HorzBar(), p->HorzBar()->PartRect(TsScrollPart::Arrow2));
    EXPECT_EQ(Content->Left(), 10 - p->HorzBar()->Position());
    EXPECT_GT(p->HorzBar()->Position(), 0);
}

// A dragged thumb moves the controls while it is held only when the form's own bar tracks; else once, on release.
TEST_F(ProviderScroll, TheControlsFollowAHeldThumbOnlyWhenTheFormsBarTracks) {
    for (bool tracking : {false, true}) {
        SCOPED_TRACE(tracking ? "tracking" : "not tracking");
        TForm* form = ScrollingForm(true);
        form->VertScrollBar()->SetTracking(tracking);
        form->SetClientHeight(199);   // laid out again
        Pump();
        TsScrollBar* bar = ProviderOf(form)->VertBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->Smooth(), tracking);
        const TRect thumb = bar->PartRect(TsScrollPart::Thumb);
        const int x = (thumb.left + thumb.right) / 2;
        DownAt(bar, x, (thumb.top + thumb.bottom) / 2);
        MoveTo(bar, x, (thumb.top + thumb.bottom) / 2 + 30);
        EXPECT_EQ(Content->Top() < 10, tracking);
        UpAt(bar, x, (thumb.top + thumb.bottom) / 2 + 30);
        EXPECT_GT(bar->Position(), 0);
        EXPECT_EQ(Content->Top(), 10 - bar->Position());
        form->Free();
    }
}

// Scrolled to the end, the form resized a little: the bar still reaches the content's end (the content is
// measured from its home position, not from where it was scrolled to).
TEST_F(ProviderScroll, AFormResizedWhileScrolledStillReachesTheContentsEnd) {
    TForm* form = ScrollingForm(true);
    TsSkinProvider* p = ProviderOf(form);
    DragThumbBelow(p->VertBar(), 40);
    const int max = p->VertBar()->Max();
    ASSERT_EQ(Content->Top(), 10 - max);
    form->SetClientHeight(form->ClientHeight() - 1);
    Pump();
    ASSERT_NE(p->VertBar(), nullptr);
    EXPECT_EQ(p->VertBar()->Max(), max + 1);
    DragThumbBelow(p->VertBar(), 40);
    const int visible = form->ClientHeight() - p->HorzBar()->Height();
    EXPECT_LE(Content->Top() + Content->Height(), visible);
    EXPECT_GE(Content->Top() + Content->Height(), visible - 8);
}

// A skinned bar of the form's own content moves with it; one laid over another window stays with that window.
TEST_F(ProviderScroll, OnlyBarsServingAnotherWindowStayWhereTheyAre) {
    TForm* form = ScrollingForm(true);
    auto* own = Create<TsScrollBar>(form);
    own->SetParent(form);
    own->SetBounds(20, 120, 100, 16);
    auto* laidOver = Create<TsScrollBar>(form);
    laidOver->SetHostControl(Content);
    laidOver->SetParent(form);
    laidOver->SetBounds(20, 150, 100, 16);
    Pump();
    TsScrollBar* bar = ProviderOf(form)->VertBar();
    ASSERT_NE(bar, nullptr);
    bar->SetPosition(30);
    Pump();
    EXPECT_EQ(Content->Top(), 10 - 30);
    EXPECT_EQ(own->Top(), 120 - 30);
    EXPECT_EQ(laidOver->Top(), 150);
}

// The content is measured at each layout: a control added past the edge of a form that has not moved since
// gets its bar when the form is next activated.
TEST_F(ProviderScroll, AControlAddedPastTheEdgeGetsItsBarAtTheNextActivation) {
    TForm* form = ScrollingForm(true, 200, 150);
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_EQ(p->VertBar(), nullptr);
    auto* added = Create<TsPanel>(form);
    added->SetParent(form);
    added->SetBounds(10, 170, 100, 200);
    Pump();
    EXPECT_EQ(p->VertBar(), nullptr);   // nothing lays the bars out yet
    form->Perform(user::WM_ACTIVATE, user::WA_ACTIVE, 0);
    Pump();
    ASSERT_NE(p->VertBar(), nullptr);
    EXPECT_EQ(p->VertBar()->Max(), 170 + 200 + 2 - (form->ClientHeight() - 4));
}

// A panel docked at the right edge after the bars came stays under them: the bars and the grip are laid out on top.
TEST_F(ProviderScroll, TheBarsStayAboveAControlAddedAfterThem) {
    TForm* form = ScrollingForm(true);
    TsSkinProvider* p = ProviderOf(form);
    auto* side = Create<TsPanel>(form);
    side->SetAlign(alRight);
    side->SetWidth(60);
    side->SetParent(form);
    form->SetClientHeight(199);   // laid out again
    Pump();
    ASSERT_NE(p->VertBar(), nullptr);
    ASSERT_NE(p->Grip(), nullptr);
    for (TWinControl* top : std::initializer_list<TWinControl*> {p->VertBar(), p->Grip()}) {
        const TPoint centre = top->ClientToScreen(TPoint {top->Width() / 2, top->Height() / 2});
        EXPECT_EQ(user::WindowFromPoint(user::POINT {centre.x, centre.y}), top->WindowHandle()) << top->ClassName();
    }
}

TEST_F(ProviderScroll, EnlargingTheFormUntilItFitsBringsTheContentHomeAndFreesTheBars) {
    TForm* form = ScrollingForm(true);
    TsSkinProvider* p = ProviderOf(form);
    DragThumbBelow(p->VertBar(), 40);
    ASSERT_LT(Content->Top(), 10);
    form->SetClientWidth(600);
    form->SetClientHeight(500);
    Pump();
    EXPECT_EQ(p->VertBar(), nullptr);
    EXPECT_EQ(p->HorzBar(), nullptr);
    EXPECT_EQ(p->Grip(), nullptr);
    EXPECT_EQ(Content->Top(), 10);
    EXPECT_EQ(Content->Left(), 10);
}

TEST_F(ProviderScroll, NoBarsWithoutAutoScrollOrWithinFourPixels) {
    EXPECT_EQ(ProviderOf(ScrollingForm(false))->VertBar(), nullptr);
    // Content (bottom + 2) exactly 4 pixels taller than the page (client height - 4): no vertical bar.
    TsSkinProvider* p = ProviderOf(ScrollingForm(true, 200, 200 - 4 + 4));
    EXPECT_EQ(p->VertBar(), nullptr);
    EXPECT_EQ(p->HorzBar(), nullptr);
}

TEST_F(ProviderScroll, RemovingTheSkinTakesTheBarsAway) {
    TForm* form = ScrollingForm(true);
    DragThumbBelow(ProviderOf(form)->VertBar(), 40);
    UseSkin(-1);
    EXPECT_EQ(ProviderOf(form)->VertBar(), nullptr);
    EXPECT_EQ(ProviderOf(form)->HorzBar(), nullptr);
    EXPECT_EQ(ProviderOf(form)->Grip(), nullptr);   // no corner piece left on the unskinned form
    EXPECT_EQ(Content->Top(), 10);
}

// The scrolling form scrolled half way in two skins; ScrollingForm_<skin>.png.
class ScrollPicture : public ProviderScroll, public ::testing::WithParamInterface<int> { };

TEST_P(ScrollPicture, HalfWayScrolled) {
    UseSkin(GetParam());
    TForm* form = ScrollingForm(true);
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_NE(p->VertBar(), nullptr);
    p->VertBar()->SetPosition(p->VertBar()->Max() / 2);
    p->HorzBar()->SetPosition(p->HorzBar()->Max() / 2);
    Pump();
    const gdi::RECT r {30, 30, 350, 270};
    ASSERT_TRUE(Display->WriteScreenshotPng(
        WindowsPictureDir() + "/ScrollingForm_" + ctltest::SkinShortName(GetParam()) + ".png", &r));
    // The panel moved with the bars, and its centred caption shows where the panel's middle now is.
    EXPECT_EQ(Content->Top(), 10 - p->VertBar()->Position());
    EXPECT_EQ(Content->Left(), 10 - p->HorzBar()->Position());
    const TPoint middle = Content->ClientToScreen(Point(Content->Width() / 2, Content->Height() / 2));
    const gdi::COLORREF panel = Display->ScreenPixel(middle.x - 60, middle.y - 30);
    EXPECT_GE(InkPixels({middle.x - 45, middle.y - 8, middle.x + 45, middle.y + 8}, panel), 40) << "no caption";
    EXPECT_EQ(InkPixels({middle.x - 45, middle.y - 40, middle.x + 45, middle.y - 24}, panel), 0) << "ink above it";
    // Each thumb is painted half way along its track: its middle differs from the track just before it.
    for (TsScrollBar* bar : {p->VertBar(), p->HorzBar()}) {
        const TRect thumb = bar->PartRect(TsScrollPart::Thumb);
        const TRect track = bar->PartRect(TsScrollPart::TrackBefore);
        const TRect whole = bar->ClientRect();
        const bool vertical = bar == p->VertBar();
        const int thumbMiddle = vertical ? (thumb.top + thumb.bottom) / 2 : (thumb.left + thumb.right) / 2;
        const int barMiddle = vertical ? (whole.top + whole.bottom) / 2 : (whole.left + whole.right) / 2;
        EXPECT_NEAR(thumbMiddle, barMiddle, 3);
        const TPoint inThumb = bar->ClientToScreen(Point((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2));
        const TPoint inTrack = bar->ClientToScreen(vertical
                ? Point((track.left + track.right) / 2, track.bottom - 4)
                : Point(track.right - 4, (track.top + track.bottom) / 2));
        EXPECT_NE(Display->ScreenPixel(inThumb.x, inThumb.y), Display->ScreenPixel(inTrack.x, inTrack.y));
    }
}

INSTANTIATE_TEST_SUITE_P(TwoSkins, ScrollPicture, ::testing::Values(0, 2),
    [](const auto& info) { return ctltest::SkinShortName(info.param); });

}
}
