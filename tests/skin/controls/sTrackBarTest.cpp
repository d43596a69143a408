// TsTrackBar on the headless display: mouse, keys and wheel with OnChange after every scroll notification, the held thumb and the
// application's hints, hot looks, tick marks of each style and side, thumb pictures stretched or not, disabled.
#include "support/ControlsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TForm.h"
#include "platform/gdi/BitBlt.h"
#include "platform/user/MessageIds.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Input.h"
#include "platform/user/Window.h"
#include "platform/user/controls/TrackBar.h"
#include "skin/controls/sTrackBar.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class TrackBarTest : public ControlsTest {
protected:
    TsTrackBar* Make(int max = 10, TTrackBarOrientation orientation = trHorizontal) {
        auto* bar = Create<TsTrackBar>(Form);
        bar->SetOrientation(orientation);
        bar->SetBounds(20, 20, orientation == trHorizontal ? 200 : 45, orientation == trHorizontal ? 45 : 200);
        bar->SetMax(max);
        bar->SetPageSize(2);
        bar->OnChange = [this](TObject* sender) { Changes.push_back(static_cast<TsTrackBar*>(sender)->Position()); };
        bar->SetParent(Form);
        Pump();
        return bar;
    }
    TPoint Centre(const TRect& r) { return TPoint {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    std::vector<int> Changes;
};

TEST_F(TrackBarTest, DraggingTheThumbReportsEveryNotificationAndHoldsThePressedLook) {
    UseSkin(0);
    TsTrackBar* bar = Make();
    ASSERT_TRUE(PaintsSkinned(bar->SkinData()));
    EXPECT_EQ(bar->ThumbLength(), 23);
    const TPoint grip = Centre(bar->ThumbRect());
    MoveTo(bar, grip.x, grip.y);
    const std::vector<gdi::COLORREF> hot = ScreenPixels(bar, bar->ThumbRect());
    EXPECT_EQ(bar->ThumbState(), 1);
    DownAt(bar, grip.x, grip.y);
    EXPECT_TRUE(bar->ThumbHeld());
    EXPECT_EQ(bar->ThumbState(), 2);
    EXPECT_NE(ScreenPixels(bar, bar->ThumbRect()), hot);
    const TRect channel = bar->ChannelRect();
    const int step = (channel.right - channel.left - 11) / 10;
    for (int i = 1; i <= 3; ++i) {
        Display->MoveMouse(bar->ClientToScreen(TPoint {grip.x + i * step, grip.y}).x, bar->ClientToScreen(grip).y);
        Pump();
    }
    UpAt(bar, grip.x + 3 * step, grip.y);
    EXPECT_FALSE(bar->ThumbHeld());
    EXPECT_EQ(bar->Position(), 3);
    // A change a move, then the release's thumb position and end of tracking at the same place.
    EXPECT_EQ(Changes, (std::vector<int> {1, 2, 3, 3, 3}));
}

TEST_F(TrackBarTest, KeysAndTheWheelReportTheMoveAndTheEndOfTracking) {
    UseSkin(1);
    TsTrackBar* bar = Make();
    bar->SetFocus();
    Pump();
    for (unsigned vk : {user::VK_RIGHT, user::VK_RIGHT, user::VK_NEXT, user::VK_LEFT, user::VK_END, user::VK_END,
             user::VK_HOME})
        Key(vk);
    // Each key moves, then its release ends the tracking; the second End reports without a move.
    EXPECT_EQ(Changes, (std::vector<int> {1, 1, 2, 2, 4, 4, 3, 3, 10, 10, 10, 10, 0, 0}));
    Changes.clear();
    const TPoint p = bar->ClientToScreen(TPoint {50, 20});
    Display->Wheel(p.x, p.y, -user::WHEEL_DELTA);
    Display->Wheel(p.x, p.y, -user::WHEEL_DELTA);
    Display->Wheel(p.x, p.y, user::WHEEL_DELTA);
    Pump();
    EXPECT_EQ(Changes, (std::vector<int> {1, 1, 2, 2, 1, 1}));
    EXPECT_EQ(bar->Position(), 1);
}

// The thumb's pressed look follows the button held on the bar (the class library's csLButtonDown), the channel too.
TEST_F(TrackBarTest, PressingTheChannelPagesOnTheClockWithThePressedThumbLook) {
    UseSkin(2);
    TsTrackBar* bar = Make();
    const TRect channel = bar->ChannelRect();
    const TPoint far {channel.right - 3, Centre(bar->ThumbRect()).y};
    DownAt(bar, far.x, far.y);
    EXPECT_TRUE(bar->ThumbHeld());
    EXPECT_EQ(bar->ThumbState(), 2);
    EXPECT_EQ(bar->Position(), 2);
    Advance(400);
    EXPECT_EQ(bar->Position(), 4);
    Advance(100);
    EXPECT_EQ(bar->Position(), 6);
    UpAt(bar, far.x, far.y);
    EXPECT_FALSE(bar->ThumbHeld());
    Advance(500);
    EXPECT_EQ(Changes, (std::vector<int> {2, 4, 6, 6}));   // the release ends the tracking
}

// Only a press on the bar switches the application's hints off: a release no press began (the button went down
// in a window that closed) leaves them as they are.
TEST_F(TrackBarTest, AReleaseThatNoPressBeganLeavesTheApplicationsHints) {
    UseSkin(0);
    TsTrackBar* bar = Make();
    Application->SetShowHint(false);
    UpAt(bar, 5, 5);
    EXPECT_FALSE(Application->ShowHint());
    Application->SetShowHint(true);
    UpAt(bar, 5, 5);
    EXPECT_TRUE(Application->ShowHint());
}

// The capture taken away while the thumb is held ends the press: no release will come to the bar.
TEST_F(TrackBarTest, ThePressEndsWhenTheCaptureGoesElsewhere) {
    UseSkin(1);
    TsTrackBar* bar = Make();
    Application->SetShowHint(true);
    const TPoint grip = Centre(bar->ThumbRect());
    DownAt(bar, grip.x, grip.y);
    ASSERT_EQ(bar->ThumbState(), 2);
    ASSERT_FALSE(Application->ShowHint());
    user::SetCapture(Form->Handle());
    Pump();
    EXPECT_FALSE(bar->ThumbHeld());
    EXPECT_NE(bar->ThumbState(), 2);
    EXPECT_TRUE(Application->ShowHint());
    user::ReleaseCapture();
    Pump();
}

TEST_F(TrackBarTest, HintsAreOffWhileTheButtonIsHeldAndTheMouseChangesNothing) {
    UseSkin(3);
    TsTrackBar* bar = Make();
    Application->SetShowHint(true);
    const TPoint grip = Centre(bar->ThumbRect());
    MoveTo(bar, grip.x, grip.y);
    DownAt(bar, grip.x, grip.y);
    EXPECT_FALSE(Application->ShowHint());
    // Leaving while held keeps the pressed look.
    bar->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(bar->ThumbState(), 2);
    EXPECT_TRUE(bar->SkinData()->MouseAbove);
    UpAt(bar, grip.x, grip.y);
    EXPECT_TRUE(Application->ShowHint());
    MoveTo(Form, 340, 230);
    EXPECT_FALSE(bar->SkinData()->MouseAbove);
    EXPECT_EQ(bar->ThumbState(), bar->Focused() ? 1 : 0);   // the focused bar stays hot
    // A release away from the thumb (dragged past the pointer) ends the pressed look too.
    DownAt(bar, grip.x, grip.y);
    UpAt(bar, 2, 2);
    EXPECT_FALSE(bar->ThumbHeld());
    EXPECT_TRUE(Application->ShowHint());
}

TEST_F(TrackBarTest, TicksFollowTheStyleAndTheSides) {
    UseSkin(0);
    TsTrackBar* bar = Make(4);
    const std::vector<int> ticks = bar->TickPositions();
    ASSERT_EQ(ticks.size(), 5u);
    const TRect channel = bar->ChannelRect();
    EXPECT_EQ(ticks.front(), channel.left + 11 / 2);
    EXPECT_EQ(ticks.back(), channel.right - 11 + 11 / 2);
    // Both sides: a tick mark shows above and below the channel at each position.
    const TRect thumb = bar->ThumbRect();
    const int x = ticks[2];
    const std::vector<gdi::COLORREF> above = ScreenPixels(bar, TRect {x - 2, 0, x + 3, thumb.top + 2});
    bar->SetTickMarks(tmBoth);
    Pump();
    EXPECT_NE(ScreenPixels(bar, TRect {x - 2, 0, x + 3, bar->ThumbRect().top + 2}), above);
    bar->SetTickStyle(tsNone);
    Pump();
    EXPECT_TRUE(bar->TickPositions().empty());
    // Manual ticks: the ends and the native ticks between.
    bar->SetTickStyle(tsManual);
    bar->SetTick(2);
    Pump();
    const std::vector<int> manual = bar->TickPositions();
    ASSERT_EQ(manual.size(), 3u);
    EXPECT_EQ(manual[1], int(user::SendMessage(bar->Handle(), user::TBM_GETTICPOS, 0, 0)));
}

// Automatic ticks share n - 1 gaps: a bar that reports fewer than two ticks draws none.
TEST_F(TrackBarTest, FewerThanTwoAutomaticTicksDrawNone) {
    UseSkin(0);
    TsTrackBar* bar = Make(4);
    const user::HWND h = bar->Handle();
    user::SetWindowLongPtr(h, user::GWL_STYLE, user::GetWindowLongPtr(h, user::GWL_STYLE) | user::TBS_NOTICKS);
    ASSERT_EQ(bar->NativeTickCount(), 0);
    EXPECT_EQ(bar->TickStyle(), tsAuto);
    EXPECT_TRUE(bar->TickPositions().empty());
    bar->Repaint();
    Pump();
}

// Manual ticks keep their two ends whatever count the bar reports.
TEST_F(TrackBarTest, ManualTicksKeepBothEndsWhenTheBarReportsNone) {
    UseSkin(0);
    TsTrackBar* bar = Make(4);
    bar->SetTickStyle(tsManual);
    Pump();
    const user::HWND h = bar->Handle();
    user::SetWindowLongPtr(h, user::GWL_STYLE, user::GetWindowLongPtr(h, user::GWL_STYLE) | user::TBS_NOTICKS);
    ASSERT_EQ(bar->NativeTickCount(), 0);
    const std::vector<int> ticks = bar->TickPositions();
    ASSERT_EQ(ticks.size(), 2u);
    const TRect channel = bar->ChannelRect();
    const int thumb = bar->ThumbRect().right - bar->ThumbRect().left;
    EXPECT_EQ(ticks.front(), channel.left + thumb / 2);
    EXPECT_EQ(ticks.back(), channel.right - thumb / 2);
    bar->Repaint();
    Pump();
}

TEST_F(TrackBarTest, WithoutTickPicturesTicksAreTwoPixelFrames) {
    UseSkin(1);
    TsTrackBar* bar = Make(4);
    for (std::size_t i = 0; i < Manager->Masks.size(); ++i)
        if (Manager->Masks[i].PropertyName == "TICKHORZ")
            Manager->Masks.Rename(i, Manager->Masks[i].ClassName, "HIDDEN");
    bar->Repaint();
    Pump();
    // Below the channel as painted (as thick as its picture, centred), past half the thumb's overhang.
    const int channelMask = Manager->GetMaskIndex(bar->SkinData()->SkinIndex, "TRACKBAR", "SLIDERCHANNEL");
    ASSERT_GE(channelMask, 0);
    const int thick = Manager->GetMaskFrameSize(channelMask).cy;
    const TRect channel = bar->ChannelRect();
    const int bottom = channel.top + (channel.bottom - channel.top - thick) / 2 + thick;
    const TRect thumb = bar->ThumbRect();
    const int y = bottom + (thumb.bottom - thumb.top - thick) / 2 + 2;
    const int x = bar->TickPositions()[1];
    user::FlushDisplay();
    for (int dy = 0; dy < 3; ++dy) {   // a shadow column and a white one, four pixels long
        EXPECT_EQ(ScreenPixel(bar, x, y + dy), gdi::COLORREF(ColorToRGB(clBtnShadow))) << dy;
        EXPECT_EQ(ScreenPixel(bar, x + 1, y + dy), gdi::COLORREF(0xFFFFFF)) << dy;
    }
    EXPECT_EQ(ScreenPixel(bar, x, y + 3), gdi::COLORREF(0xFFFFFF));
    EXPECT_NE(ScreenPixel(bar, x, y + 4), gdi::COLORREF(ColorToRGB(clBtnShadow)));
}

TEST_F(TrackBarTest, AThumbPictureOfAnotherSizeIsStretchedAndTheNativeSizeIsNot) {
    UseSkin(0);
    TsTrackBar* bar = Make();
    const int mask = Manager->GetMaskIndex(bar->SkinData()->SkinIndex, "TRACKBAR", "SLIDERMASK");
    ASSERT_GE(mask, 0);
    EXPECT_EQ(Manager->GetMaskFrameSize(mask).cy, 21);
    auto column = [&](int thumbLength, bool picture) {
        for (std::size_t i = 0; i < Manager->Masks.size(); ++i)
            if (Manager->Masks[i].PropertyName == (picture ? "HIDDENTHUMB" : "SLIDERMASK"))
                Manager->Masks.Rename(i, Manager->Masks[i].ClassName, picture ? "SLIDERMASK" : "HIDDENTHUMB");
        bar->SetThumbLength(thumbLength);
        bar->Repaint();
        Pump();
        const TRect t = bar->ThumbRect();
        return ScreenPixels(bar, TRect {(t.left + t.right) / 2, t.top, (t.left + t.right) / 2 + 1, t.bottom});
    };
    // On the native 11 x 23 thumb the 21-row picture stands unscaled: its last two rows show what lies beneath.
    const std::vector<gdi::COLORREF> native = column(23, true), nativeBare = column(23, false);
    ASSERT_EQ(native.size(), 23u);
    EXPECT_EQ(native[22], nativeBare[22]);
    EXPECT_EQ(native[21], nativeBare[21]);
    EXPECT_NE(native, nativeBare);
    // On a 30-pixel thumb the picture is stretched down to the thumb's last rows.
    const std::vector<gdi::COLORREF> stretched = column(30, true), stretchedBare = column(30, false);
    ASSERT_EQ(stretched.size(), 30u);
    bool lowRowsDiffer = false;
    for (int row = 23; row < 28; ++row)
        lowRowsDiffer = lowRowsDiffer || stretched[std::size_t(row)] != stretchedBare[std::size_t(row)];
    EXPECT_TRUE(lowRowsDiffer);
}

// A thumb picture of another size than the thumb is stretched only in a skin with a master bitmap: a picture of
// its own in a skin without one is not drawn stretched.
TEST_F(TrackBarTest, AThumbPictureIsStretchedOnlyInASkinWithAMasterBitmap) {
    UseSkin(0);
    TsTrackBar* bar = Make();
    bar->SetThumbLength(30);
    Pump();
    const int index = Manager->GetMaskIndex(bar->SkinData()->SkinIndex, "TRACKBAR", "SLIDERMASK");
    ASSERT_GE(index, 0);
    ASSERT_EQ(Manager->Masks[index].Bmp, nullptr);
    ASSERT_NE(Manager->MasterBitmap, nullptr);
    const TRect t = bar->ThumbRect();
    const TRect middle {(t.left + t.right) / 2, t.top, (t.left + t.right) / 2 + 1, t.bottom};
    bar->Repaint();
    Pump();
    const std::vector<gdi::COLORREF> withMaster = ScreenPixels(bar, middle);
    // The same picture as a bitmap of its own, the master bitmap gone.
    GiveMaskItsOwnBitmap(Manager, index);
    std::unique_ptr<TBitmap> master = std::move(Manager->MasterBitmap);
    bar->Repaint();
    Pump();
    const std::vector<gdi::COLORREF> ownPicture = ScreenPixels(bar, middle);
    for (std::size_t i = 0; i < Manager->Masks.size(); ++i)
        if (Manager->Masks[int(i)].PropertyName == "SLIDERMASK")
            Manager->Masks.Rename(i, Manager->Masks[int(i)].ClassName, "HIDDENTHUMB");
    bar->Repaint();
    Pump();
    const std::vector<gdi::COLORREF> bare = ScreenPixels(bar, middle);
    Manager->MasterBitmap = std::move(master);
    EXPECT_NE(withMaster, bare);
    EXPECT_EQ(ownPicture, bare);
}

TEST_F(TrackBarTest, ADisabledBarShowsTheDisabledLookOverTheWholeControl) {
    UseSkin(2);
    TsTrackBar* bar = Make();
    const std::vector<gdi::COLORREF> enabled = ScreenPixels(bar, TRect {0, 0, bar->Width(), bar->Height()});
    const std::vector<gdi::COLORREF> thumb = ScreenPixels(bar, bar->ThumbRect());
    bar->SetEnabled(false);
    Pump();
    bar->Repaint();
    Pump();
    const std::vector<gdi::COLORREF> disabled = ScreenPixels(bar, TRect {0, 0, bar->Width(), bar->Height()});
    EXPECT_NE(disabled, enabled);
    EXPECT_NE(ScreenPixels(bar, bar->ThumbRect()), thumb);
}

TEST_F(TrackBarTest, AVerticalBarPaintsItsChannelUpright) {
    UseSkin(3);
    TsTrackBar* bar = Make(10, trVertical);
    const TRect channel = bar->ChannelRect();
    EXPECT_GT(channel.bottom - channel.top, channel.right - channel.left);
    const std::vector<int> ticks = bar->TickPositions();
    ASSERT_EQ(ticks.size(), 11u);
    EXPECT_EQ(ticks.front(), channel.top + 11 / 2);
    bar->SetFocus();
    Pump();
    Key(user::VK_DOWN);
    EXPECT_EQ(Changes, (std::vector<int> {1, 1}));   // CN_VSCROLL: the move and the release
}

TEST_F(TrackBarTest, WithoutASkinEveryScrollNotificationStillReports) {
    UseSkin(-1);
    TsTrackBar* bar = Make();
    bar->SetFocus();
    Pump();
    Key(user::VK_HOME);   // already at Min: no move, yet the key and its release both notify
    Key(user::VK_RIGHT);
    EXPECT_EQ(Changes, (std::vector<int> {0, 0, 1, 1}));
}

}
