// Tests of the hint windows: shown after the pause and hidden through the layered and the screen-copy ways,
// kept on desktops that start left of and above 0, the fade, the shapes' geometry and outlines.
#include "skin/windows/sHintWindows.h"

#include "support/ControlsKit.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TPanel.h"
#include "platform/gdi/Recording.h"
#include "platform/user/Painting.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"

#include <gtest/gtest.h>

namespace korvex::skin {
namespace {

using namespace classes;

inline constexpr TColor PanelColour = 0x2020C0;   // a red the hints' colours are not

class HintWindowsTest : public ctltest::ControlsTest {
protected:
    void SetUp() override {
        ctltest::ControlsTest::SetUp();
        TsCustomHintWindow::FadeStepWait = [this](int) {
            ++FadeWaits;
            if (OnFadeWait) OnFadeWait();
        };
        Hinted = new TPanel(Form);
        Hinted->SetParent(Form);
        Hinted->SetBounds(20, 20, 200, 120);
        Hinted->SetColor(PanelColour);
        Hinted->SetParentBackground(false);
        Hinted->SetBevelOuter(bvNone);
        Hinted->SetHint("Hinted panel");
        Hinted->SetShowHint(true);
        Form->Show();
        Pump();
        HintManager = Create<TsHintManager>(Form);
        HintManager->SetPredefinitions(shCustom);
        TsHintKind* k = HintManager->HintKind();
        k->SetColor(0xF0E0B0);
        k->SetColorBorderTop(clBlack);
        k->SetColorBorderBottom(clBlack);
        k->SetShadowEnabled(false);
    }
    void TearDown() override {
        TsCustomHintWindow::FadeStepWait = nullptr;
        HintWindowClass = nullptr;
        ctltest::ControlsTest::TearDown();
    }
    // Shows a hint window of the current class at the anchor with the text.
    TsCustomHintWindow* ShowAt(TPoint anchor, const std::string& text = "A hint") {
        auto* w = static_cast<TsCustomHintWindow*>(HintWindowClass(Form));
        w->AnchorPoint = anchor;
        w->ActivateHint(w->CalcHintRect(0, text, nullptr), text);
        Pump();
        return w;
    }
    TPoint HintedCentre() const {
        const TPoint p = Hinted->ClientToScreen(Point(100, 60));
        return p;
    }
    gdi::COLORREF Screen(int x, int y) const { return Display->ScreenPixel(x, y); }
    // The screen copy comes back through the mask blend, which keeps 255/256 of it: one level off at most.
    static bool Near(gdi::COLORREF a, gdi::COLORREF b) {
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 1) return false;
        return true;
    }

    TPanel* Hinted = nullptr;
    TsHintManager* HintManager = nullptr;
    int FadeWaits = 0;
    std::function<void()> OnFadeWait;
};

TEST_F(HintWindowsTest, each_shape_shows_after_the_pause_and_hides_both_ways) {
    const TsHintStyle styles[] = {hsSimply, hsComics, hsEllipse, hsBalloon};
    for (const bool compositor : {false, true}) {
        Display->SetCompositor(compositor);
        for (const TsHintStyle style : styles) {
            HintManager->HintKind()->SetStyle(style);
            Application->CancelHint();
            if (THintWindow* old = ApplicationHintWindow()) old->Free();   // made again with the new class
            const TPoint p = HintedCentre();
            Display->MoveMouse(p.x, p.y);
            Pump();
            Advance(400);
            THintWindow* hint = ApplicationHintWindow();
            EXPECT_TRUE(hint == nullptr || !hint->IsHintShowing()) << style << compositor;
            Advance(150);
            hint = ApplicationHintWindow();
            ASSERT_NE(hint, nullptr) << style << compositor;
            auto* skinned = dynamic_cast<TsCustomHintWindow*>(hint);
            ASSERT_NE(skinned, nullptr);
            EXPECT_TRUE(hint->IsHintShowing()) << style << compositor;
            EXPECT_EQ(skinned->ShownLayered(), compositor);
            EXPECT_EQ(hint->Caption(), "Hinted panel");
            // The body's colour shows on the screen inside the hint.
            const TRect b = hint->BoundsRect();
            int bodyPixels = 0;
            for (int y = b.top; y < b.bottom; ++y)
                for (int x = b.left; x < b.right; ++x)
                    if (Screen(x, y) == gdi::COLORREF(0xF0E0B0)) ++bodyPixels;
            EXPECT_GT(bodyPixels, (b.right - b.left) * (b.bottom - b.top) / 5) << style << compositor;
            Advance(HintManager->PauseHide() + 10);
            EXPECT_FALSE(hint->IsHintShowing()) << style << compositor;
            Display->MoveMouse(5, 700);
            Pump();
        }
    }
}

TEST_F(HintWindowsTest, hints_stay_on_desktops_left_of_and_above_the_primary_monitor) {
    const TRect desktop = Rect(-1280, -300, 1024, 768);
    struct Case {
        TPoint P;
        TsMousePosition Start;
        TRect Expected;
        TsMousePosition Ends;
    };
    const Case cases[] = {
        // Room on every side: the corner asked for.
        {{-1000, -100}, mpLeftTop, Rect(-1000, -100, -900, -50), mpLeftTop},
        {{-1000, -100}, mpRightBottom, Rect(-1100, -150, -1000, -100), mpRightBottom},
        // At the desktop's top-left corner the hint flips right of and below the pointer.
        {{-1280, -300}, mpRightBottom, Rect(-1280, -300, -1180, -250), mpLeftTop},
        // Near the right and bottom edges (past the desktop's width counted from 0 it would not flip).
        {{1000, 740}, mpLeftTop, Rect(900, 690, 1000, 740), mpRightBottom},
        {{-1250, 500}, mpRightTop, Rect(-1250, 500, -1150, 550), mpLeftTop},
    };
    for (const Case& c : cases) {
        TsMousePosition pos = c.Start;
        const TRect r = FitHintToDesktop(c.P, 100, 50, desktop, pos);
        EXPECT_EQ(r, c.Expected) << c.P.x << "," << c.P.y;
        EXPECT_EQ(pos, c.Ends) << c.P.x << "," << c.P.y;
    }
}

TEST_F(HintWindowsTest, the_pointer_corner_follows_the_fit_on_screen) {
    HintManager->HintKind()->SetStyle(hsComics);
    HintManager->SetDefaultMousePos(mpRightBottom);
    TsCustomHintWindow* w = ShowAt(Point(1, 1));
    EXPECT_EQ(w->PointerPos(), mpLeftTop);
    EXPECT_EQ(w->Left(), 1);
    EXPECT_EQ(w->Top(), 1);
    HintManager->SetDefaultMousePos(mpLeftTop);
    w->ActivateHint(w->CalcHintRect(0, "A hint", nullptr), "A hint");
    EXPECT_EQ(w->PointerPos(), mpLeftTop);
    w->AnchorPoint = Point(1020, 760);
    w->ActivateHint(w->CalcHintRect(0, "A hint", nullptr), "A hint");
    EXPECT_EQ(w->PointerPos(), mpRightBottom);
    EXPECT_EQ(w->BoundsRect().right, 1020);
    EXPECT_EQ(w->BoundsRect().bottom, 760);
    w->Free();
}

TEST_F(HintWindowsTest, simple_hints_sit_sixteen_pixels_below_the_cursor) {
    HintManager->HintKind()->SetStyle(hsSimply);
    Display->MoveMouse(300, 300);
    Pump();
    TsCustomHintWindow* w = ShowAt(Point(0, 0));
    EXPECT_EQ(w->Left(), 300);
    EXPECT_EQ(w->Top(), 316);
    w->Free();
}

TEST_F(HintWindowsTest, the_fade_runs_ten_steps_up_to_the_body_transparency) {
    Display->SetCompositor(true);
    HintManager->HintKind()->SetStyle(hsComics);
    HintManager->HintKind()->SetTransparency(20);
    TsCustomHintWindow* w = ShowAt(Point(300, 300));
    EXPECT_EQ(FadeWaits, 10);
    const auto* surface = Display->Surface(Display->StackingOrder().back());   // the hint is topmost
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(surface->Layered);
    EXPECT_EQ(surface->ConstantAlpha, 204);   // round(80 * 2.55)
    FadeWaits = 0;
    HintManager->SetAnimated(false);
    w->ActivateHint(w->CalcHintRect(0, "A hint", nullptr), "A hint");
    EXPECT_EQ(FadeWaits, 0);
    w->Free();
}

TEST_F(HintWindowsTest, a_fade_stops_when_its_window_is_hidden_or_freed_meanwhile) {
    Display->SetCompositor(true);
    HintManager->HintKind()->SetStyle(hsEllipse);
    const std::size_t openDcs = user::OpenDcCount();
    auto* w = static_cast<TsCustomHintWindow*>(HintWindowClass(Form));
    OnFadeWait = [&] {
        if (FadeWaits == 3) w->ReleaseHandle();
    };
    w->AnchorPoint = Point(200, 200);
    w->ActivateHint(w->CalcHintRect(0, "hidden", nullptr), "hidden");
    EXPECT_EQ(FadeWaits, 3);
    EXPECT_FALSE(w->IsHintShowing());
    EXPECT_EQ(user::OpenDcCount(), openDcs);   // the screen DC went back on the way out

    FadeWaits = 0;
    OnFadeWait = [&] {
        if (FadeWaits == 2) {
            w->Free();
            w = nullptr;
        }
    };
    auto* again = static_cast<TsCustomHintWindow*>(HintWindowClass(Form));
    w = again;
    w->AnchorPoint = Point(200, 200);
    w->ActivateHint(w->CalcHintRect(0, "freed", nullptr), "freed");
    EXPECT_EQ(FadeWaits, 2);
    EXPECT_EQ(w, nullptr);
    Pump();
    EXPECT_EQ(user::OpenDcCount(), openDcs);
}

// A window marked as being destroyed (as while its owner frees it) shows without fading.
class DestroyingHint : public TsComicsHintWindow {
public:
    using TsComicsHintWindow::TsComicsHintWindow;
    void MarkDestroying(bool on) {
        if (on)
            IncludeState(csDestroying);
        else
            ExcludeState(csDestroying);
    }
};

TEST_F(HintWindowsTest, a_window_being_destroyed_does_not_fade_and_gives_the_screen_dc_back) {
    Display->SetCompositor(true);
    HintManager->HintKind()->SetStyle(hsComics);
    const std::size_t openDcs = user::OpenDcCount();
    auto* w = new DestroyingHint(Form);
    w->MarkDestroying(true);
    w->AnchorPoint = Point(200, 200);
    w->ActivateHint(w->CalcHintRect(0, "going", nullptr), "going");
    EXPECT_EQ(FadeWaits, 0);
    EXPECT_EQ(user::OpenDcCount(), openDcs);
    w->MarkDestroying(false);
    w->Free();
}

TEST_F(HintWindowsTest, a_comic_hint_without_compositor_shows_the_window_under_it) {
    Display->SetCompositor(false);
    HintManager->HintKind()->SetStyle(hsComics);
    HintManager->HintKind()->SetRadius(30);
    const TPoint tip = Hinted->ClientToScreen(Point(10, 10));
    TsCustomHintWindow* w = ShowAt(tip, "Over the panel");
    ASSERT_FALSE(w->ShownLayered());
    const TRect b = w->BoundsRect();
    ASSERT_LT(b.right, Hinted->ClientToScreen(Point(200, 0)).x);
    // Right of the pointer at the top, and the body's rounded bottom-right corner: the panel shows.
    EXPECT_TRUE(Near(Screen(b.right - 3, b.top + 2), PanelColour));
    EXPECT_TRUE(Near(Screen(b.right - 1, b.bottom - 1), PanelColour));
    EXPECT_EQ(Screen((b.left + b.right) / 2, b.bottom - 8), gdi::COLORREF(0xF0E0B0));
    w->Free();
}

// Over a screen copy each paint starts again from the copy: a hint painted again looks the same, its shadow
// and its see-through body no darker than the first time.
TEST_F(HintWindowsTest, a_hint_painted_again_over_a_screen_copy_looks_the_same) {
    Display->SetCompositor(false);
    TsHintKind* k = HintManager->HintKind();
    k->SetStyle(hsComics);
    k->SetShadowEnabled(true);
    k->SetShadowOffset(8);
    k->SetShadowBlur(2);
    k->SetShadowTransparency(40);
    k->SetTransparency(75);
    const TPoint tip = Hinted->ClientToScreen(Point(10, 10));
    TsCustomHintWindow* w = ShowAt(tip, "Over the panel");
    ASSERT_FALSE(w->ShownLayered());
    const TRect b = w->BoundsRect();
    auto picture = [&] {
        std::vector<gdi::COLORREF> pixels;
        for (int y = b.top; y < b.bottom; y += 2)
            for (int x = b.left; x < b.right; x += 2) pixels.push_back(Screen(x, y));
        return pixels;
    };
    const auto first = picture();
    for (int i = 0; i < 2; ++i) {
        w->Invalidate();
        Pump();
        EXPECT_EQ(picture(), first) << "paint " << i + 2;
    }
    w->Free();
}

TEST_F(HintWindowsTest, body_transparency_over_a_screen_copy_and_a_bad_gradient) {
    Display->SetCompositor(false);
    TsHintKind* k = HintManager->HintKind();
    k->SetStyle(hsComics);
    k->SetGradientPercent(100);
    k->SetGradientData("not;a;gradient");
    const TPoint tip = Hinted->ClientToScreen(Point(10, 10));
    const struct {
        int Transparency;
        bool Opaque;
    } cases[] = {{40, true}, {75, false}};
    for (const auto& c : cases) {
        k->SetTransparency(c.Transparency);
        TsCustomHintWindow* w = ShowAt(tip, "Body");
        const TRect b = w->BoundsRect();
        const gdi::COLORREF body = Screen((b.left + b.right) / 2, b.bottom - 6);
        if (c.Opaque) {
            EXPECT_EQ(body, gdi::COLORREF(0xF0E0B0));
        } else {   // grey 127 in the mask: about half of the panel shows through
            EXPECT_NEAR(int(gdi::GetBValue(body)), (0xF0 + 0x20) / 2, 3);
            EXPECT_NEAR(int(gdi::GetRValue(body)), (0xB0 + 0xC0) / 2, 3);
        }
        w->Free();
    }
    EXPECT_EQ(k->GradientPercent(), 0);   // nothing to paint: the plain colour from then on
}

// A texture share without a texture picture keeps its share of the empty body: the colour takes only the rest.
TEST_F(HintWindowsTest, a_texture_share_without_a_picture_darkens_the_body_colour) {
    Display->SetCompositor(false);
    TsHintKind* k = HintManager->HintKind();
    k->SetStyle(hsComics);
    k->SetTransparency(0);
    k->SetGradientPercent(0);
    k->SetTexturePercent(50);
    const TPoint tip = Hinted->ClientToScreen(Point(10, 10));
    TsCustomHintWindow* w = ShowAt(tip, "Body");
    const TRect b = w->BoundsRect();
    const gdi::COLORREF body = Screen((b.left + b.right) / 2, b.bottom - 6);
    EXPECT_NEAR(int(gdi::GetBValue(body)), 0xF0 / 2, 2);
    EXPECT_NEAR(int(gdi::GetGValue(body)), 0xE0 / 2, 2);
    EXPECT_NEAR(int(gdi::GetRValue(body)), 0xB0 / 2, 2);
    w->Free();
}

// Plain text is measured and written with the window's reading order.
TEST_F(HintWindowsTest, plain_text_follows_the_windows_reading_order) {
    struct TReadingHint : TsSimplyHintWindow {
        using TsSimplyHintWindow::TsSimplyHintWindow;
        using TsCustomHintWindow::PaintText;
    };
    HintManager->HintKind()->SetStyle(hsSimply);
    auto* w = new TReadingHint(Form);
    for (const TBiDiMode mode : {bdLeftToRight, bdRightToLeft}) {
        w->SetBiDiMode(mode);
        const TRect r = w->CalcHintRect(0, "abc!", nullptr);
        TBitmap target;
        target.SetSize(r.Width(), r.Height());
        gdi::DrawRecorder writing;
        gdi::StartRecording(target.Canvas()->Handle(), &writing);
        w->SetCaption("abc!");
        w->PaintText(&target);
        gdi::StopRecording(target.Canvas()->Handle());
        const std::vector<gdi::DrawCall> texts = writing.CallsOf(gdi::DrawKind::DrawText);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ((texts[0].Flags & gdi::DT_RTLREADING) != 0, mode == bdRightToLeft);
        EXPECT_EQ(texts[0].Flags & gdi::DT_CENTER, gdi::DT_CENTER);
    }
    w->Free();
}

TEST_F(HintWindowsTest, layered_hints_let_the_screen_through_outside_their_shape) {
    Display->SetCompositor(true);
    HintManager->SetAnimated(false);
    HintManager->HintKind()->SetStyle(hsEllipse);
    const TPoint tip = Hinted->ClientToScreen(Point(10, 10));
    TsCustomHintWindow* w = ShowAt(tip, "Over");
    ASSERT_TRUE(w->ShownLayered());
    const TRect b = w->BoundsRect();
    EXPECT_EQ(Screen(b.right - 1, b.bottom - 1), gdi::COLORREF(PanelColour));
    EXPECT_EQ(Screen((b.left + b.right) / 2, (b.top + b.bottom) / 2 + 10), gdi::COLORREF(0xF0E0B0));
    w->Free();
}

TEST_F(HintWindowsTest, shaped_hints_are_at_least_fifty_pixels_wide_and_outlined_one_pixel) {
    TsHintKind* k = HintManager->HintKind();
    k->SetMarginH(0);
    k->SetMarginV(0);
    k->SetBevelWidth(0);
    k->SetExOffset(0);
    for (const TsHintStyle style : {hsEllipse, hsBalloon}) {
        k->SetStyle(style);
        auto* w = static_cast<TsCustomHintWindow*>(HintWindowClass(Form));
        const TRect r = w->CalcHintRect(0, "i", nullptr);
        EXPECT_EQ(r.right - r.left, 50 + w->ExtraWidth()) << style;
        w->Free();
    }
    k->SetStyle(hsComics);
    k->SetBevelWidth(3);
    k->SetColorBorderTop(0x00FF00);
    k->SetColorBorderBottom(0x00FF00);
    k->SetMarginH(10);
    k->SetMarginV(10);
    k->SetExOffset(20);
    Display->SetCompositor(false);
    TsCustomHintWindow* w = ShowAt(Point(400, 200));
    const TRect b = w->BoundsRect();
    const int y = (b.top + 20 + b.bottom) / 2;   // the middle of the body's left edge
    EXPECT_EQ(Screen(b.left, y), gdi::COLORREF(0x00FF00));
    EXPECT_EQ(Screen(b.left + 1, y), gdi::COLORREF(0xF0E0B0));
    w->Free();
}

TEST_F(HintWindowsTest, balloons_with_odd_bubble_settings_still_draw) {
    Display->SetCompositor(false);
    HintManager->HintKind()->SetStyle(hsBalloon);
    HintManager->HintKind()->SetShadowEnabled(true);
    HintManager->HintKind()->SetShadowBlur(3);
    HintManager->HintKind()->SetShadowOffset(4);
    const TsMousePosition corners[] = {mpLeftTop, mpLeftBottom, mpRightTop, mpRightBottom};
    for (const int bubbles : {0, 1, 2, 5}) {
        for (const int divisor : {0, 1, 4}) {
            for (const TsMousePosition corner : corners) {
                HintManager->SetDefaultMousePos(corner);
                auto* w = static_cast<TsBalloonHintWindow*>(HintWindowClass(Form));
                w->BubbleCount = bubbles;
                w->BubbleDivisor = divisor;
                w->AnchorPoint = Point(500, 400);
                w->ActivateHint(w->CalcHintRect(0, "x", nullptr), "x");
                Pump();
                EXPECT_TRUE(w->IsHintShowing());
                EXPECT_EQ(w->PointerPos(), corner);
                w->Free();
            }
        }
    }
}

TEST_F(HintWindowsTest, without_a_current_manager_nothing_is_measured_or_shown) {
    HintManager->HintKind()->SetStyle(hsNone);
    auto* w = static_cast<TsCustomHintWindow*>(HintWindowClass(Form));
    EXPECT_EQ(w->CalcHintRect(0, "text", nullptr), TRect {});
    w->AnchorPoint = Point(100, 100);
    w->ActivateHint(Rect(0, 0, 80, 30), "text");
    Pump();
    EXPECT_FALSE(w->IsHintShowing());
    w->Free();
}

TEST_F(HintWindowsTest, the_window_is_made_without_a_border_and_with_the_hint_style_bit) {
    for (const TsHintStyle style : {hsSimply, hsComics, hsEllipse, hsBalloon}) {
        HintManager->HintKind()->SetStyle(style);
        TsCustomHintWindow* w = ShowAt(Point(100, 100));
        const auto windowStyle = user::GetWindowLong(w->WindowHandle(), user::GWL_STYLE);
        EXPECT_EQ(windowStyle & user::WS_BORDER, 0) << style;
        EXPECT_EQ(windowStyle & 0x00000020, 0x00000020) << style;
        w->Free();
    }
}

TEST_F(HintWindowsTest, the_window_turns_layered_when_a_hint_shows_on_the_layered_path) {
    Display->SetCompositor(true);
    HintManager->SetAnimated(false);
    HintManager->HintKind()->SetStyle(hsComics);
    auto* w = static_cast<TsCustomHintWindow*>(HintWindowClass(Form));
    w->HandleNeeded();
    EXPECT_EQ(user::GetWindowLong(w->WindowHandle(), user::GWL_EXSTYLE) & user::WS_EX_LAYERED, 0);
    w->AnchorPoint = Point(100, 100);
    w->ActivateHint(w->CalcHintRect(0, "A hint", nullptr), "A hint");
    Pump();
    EXPECT_NE(user::GetWindowLong(w->WindowHandle(), user::GWL_EXSTYLE) & user::WS_EX_LAYERED, 0);
    EXPECT_TRUE(w->ShownLayered());
    w->Free();
}

TEST_F(HintWindowsTest, markup_hints_measure_through_the_markup) {
    HintManager->HintKind()->SetStyle(hsSimply);
    HintManager->SetHTMLMode(true);
    auto* w = static_cast<TsCustomHintWindow*>(HintWindowClass(Form));
    const TRect one = w->CalcHintRect(0, "line", nullptr);
    const TRect two = w->CalcHintRect(0, "line<BR>line", nullptr);
    EXPECT_EQ(one.right, two.right);
    EXPECT_GT(two.bottom, one.bottom);
    const TRect unclosed = w->CalcHintRect(0, "line<BR", nullptr);
    EXPECT_EQ(unclosed, one);   // measured like the text before the "<"
    w->Free();
}

}
}
