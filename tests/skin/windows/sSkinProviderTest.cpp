// Tests for the form skin provider's life: the hooked window procedure beside other hooks, a skin arriving
// and leaving while the form is shown, the skin commands it answers, the window region and the frame on the
// screen.
#include "support/WindowsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/Region.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sGradient.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sWindowClasses.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class ProviderLife : public FormsTest { };

TEST_F(ProviderLife, WithoutASkinEverythingReachesTheFormAndOnlyTheSkinQueryIsAnswered) {
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    EXPECT_FALSE(p->SkinData()->Skinned());
    EXPECT_EQ(form->BorderIcons(), (TBorderIcons {biSystemMenu, biMinimize, biMaximize}));
    TMessage query = MakeSkinCommand(SMC_ISSKINNED);
    form->WindowProc(query);
    EXPECT_EQ(query.LParam, 1);
    // The plain frame answers: the close box of the window layer.
    user::RECT r {};
    user::GetWindowRect(form->WindowHandle(), &r);
    EXPECT_EQ(HitAt(form, TPoint {r.right - 8, r.top + 10}), user::HTCLOSE);
    user::HRGN region = gdi::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(user::GetWindowRgn(form->WindowHandle(), region), gdi::ERROR);
    gdi::DeleteObject(region);
}

TEST_F(ProviderLife, ASkinArrivesAndLeavesWhileTheFormIsShown) {
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    auto* panel = Create<TsPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 50);
    Pump();
    const user::HWND hwnd = form->WindowHandle();
    const user::HWND panelHwnd = panel->WindowHandle();
    TsSkinProvider* p = ProviderOf(form);
    const gdi::COLORREF plainFrame = WindowPixel(form, 2, 60);

    for (int round = 0; round < 2; ++round) {
        UseSkin(0);
        ASSERT_TRUE(p->SkinData()->Skinned());
        EXPECT_EQ(form->WindowHandle(), hwnd);   // frame changes keep the window and its children
        EXPECT_EQ(panel->WindowHandle(), panelHwnd);
        EXPECT_TRUE(form->BorderIcons().Empty());
        EXPECT_FALSE(user::GetWindowLong(hwnd, user::GWL_STYLE) & user::WS_SYSMENU);
        EXPECT_EQ(form->Color(), Manager->GetGlobalColor());
        user::HRGN region = gdi::CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(user::GetWindowRgn(hwnd, region), gdi::ERROR);   // cut from the corner masks
        EXPECT_FALSE(gdi::PtInRegion(region, 0, 0));   // the rounded corner
        EXPECT_TRUE(gdi::PtInRegion(region, form->Width() / 2, 1));
        gdi::DeleteObject(region);
        EXPECT_NE(WindowPixel(form, 2, 60), plainFrame);

        UseSkin(-1);
        EXPECT_FALSE(p->SkinData()->Skinned());
        EXPECT_EQ(form->BorderIcons(), (TBorderIcons {biSystemMenu, biMinimize, biMaximize}));
        EXPECT_TRUE(user::GetWindowLong(hwnd, user::GWL_STYLE) & user::WS_SYSMENU);
        EXPECT_EQ(form->Color(), clBtnFace);
        region = gdi::CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(user::GetWindowRgn(hwnd, region), gdi::ERROR);
        gdi::DeleteObject(region);
        EXPECT_EQ(WindowPixel(form, 2, 60), plainFrame);
        EXPECT_EQ(form->WindowHandle(), hwnd);
    }
}

// A skin without the form's section leaves the frame to the window layer, yet the form takes the skin's
// global colour each time such a skin arrives, and the button face when it leaves.
TEST_F(ProviderLife, ASkinWithoutTheFormsSectionStillGivesTheFormTheGlobalColour) {
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    p->SkinData()->SetSkinSection("NOSUCHSECTION");
    for (int skin : {0, 1}) {
        SCOPED_TRACE(skin);
        UseSkin(skin);
        ASSERT_FALSE(p->SkinData()->Skinned());
        EXPECT_EQ(form->Color(), Manager->GetGlobalColor());
        UseSkin(-1);
        EXPECT_EQ(form->Color(), clBtnFace);
    }
}

// A hook of the tray's kind, put over the provider's procedure, sees every message first; the provider
// still works under it, and its freeing leaves the hook and the form working.
TEST_F(ProviderLife, AChainedHookOverTheProviderKeepsWorkingWhenTheProviderGoes) {
    UseSkin(2);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    auto seen = std::make_shared<int>(0);   // the hook outlives this body
    TWndMethod below = form->WindowProc;
    form->WindowProc = [seen, below](TMessage& m) {
        ++*seen;
        below(m);
    };
    const int close = p->FormWidth() - p->SysBorderWidth() - 4;
    EXPECT_EQ(HitAt(form, ScreenOf(form, close, p->CaptionHeight() / 2 + 2)), htClose);
    EXPECT_GT(*seen, 0);
    auto* found = reinterpret_cast<TsSkinProvider*>(form->Perform(SM_SKINCMD, SkinCommandWParam(SMC_GETPROVIDER), 0));
    EXPECT_EQ(found, p);

    delete p;   // the hook above it stays; the provider's part passes everything on now
    *seen = 0;
    EXPECT_EQ(HitAt(form, ScreenOf(form, close, 10)), user::HTCAPTION);   // the plain frame answers now
    EXPECT_GT(*seen, 0);
    form->Invalidate();
    Pump();
    EXPECT_EQ(form->Perform(SM_SKINCMD, SkinCommandWParam(SMC_GETPROVIDER), 0), 0);
}

TEST_F(ProviderLife, FreeingTheOnlyHookPutsTheFormsProcedureBack) {
    TForm* form = NewSkinnedForm(bsSingle, {biSystemMenu});
    delete ProviderOf(form);
    EXPECT_EQ(form->Perform(SM_SKINCMD, SkinCommandWParam(SMC_GETPROVIDER), 0), 0);
    UseSkin(1);   // a skin no longer reaches a provider
    EXPECT_EQ(form->BorderIcons(), (TBorderIcons {biSystemMenu, biMinimize, biMaximize}));
}

TEST_F(ProviderLife, ChildrenFindTheProviderAndTheFormCache) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    auto* panel = Create<TsPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 50);
    Pump();
    TsSkinProvider* p = ProviderOf(form);
    EXPECT_EQ(GetSkinProvider(panel), p);
    const TsParentCacheInfo answer = AskCache(form->WindowHandle());
    EXPECT_TRUE(answer.Ready);
    EXPECT_EQ(answer.Bmp, p->FormCache());
    EXPECT_EQ(answer.X, p->SysBorderWidth());
    EXPECT_EQ(answer.Y, p->HeaderHeight());
    EXPECT_EQ(p->FormCache()->Width(), form->Width());
    EXPECT_EQ(p->FormCache()->Height(), form->Height());
    // The client background comes from the same cache.
    const TPoint at = form->ClientToScreen(TPoint {200, 120});
    const TPoint w = ScreenOf(form, 0, 0);
    EXPECT_EQ(Display->ScreenPixel(at.x, at.y),
        gdi::COLORREF(p->FormCache()->Canvas()->Pixels(at.x - w.x, at.y - w.y)));
}

TEST_F(ProviderLife, SizingAGradientFormTellsTheChildrenTheyMoved) {
    UseSkin(1);   // its form section has a gradient
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    auto moved = std::make_shared<int>(0);
    auto* panel = Create<TsPanel>(form);
    panel->SetParent(form);
    TWndMethod below = panel->WindowProc;
    panel->WindowProc = [moved, below](TMessage& m) {
        if (IsSkinCommand(m, SMC_MOVED)) ++*moved;
        below(m);
    };
    form->SetWidth(form->Width() + 30);
    Pump();
    EXPECT_GT(*moved, 0);
}

// The frame on the screen is the cache's: the four strips together cover the whole frame.
TEST_F(ProviderLife, TheWholeFrameOnTheScreenComesFromTheCache) {
    UseSkin(3);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    TBitmap* cache = p->FormCache();
    const TPoint client = form->ClientToScreen(TPoint {0, 0});
    const TPoint w = ScreenOf(form, 0, 0);
    const TRect inner {client.x - w.x, client.y - w.y, client.x - w.x + form->ClientWidth(),
        client.y - w.y + form->ClientHeight()};
    user::HRGN region = gdi::CreateRectRgn(0, 0, 0, 0);
    user::GetWindowRgn(form->WindowHandle(), region);
    int differing = 0;
    for (int y = 0; y < form->Height(); ++y)
        for (int x = 0; x < form->Width(); ++x) {
            const bool inClient = x >= inner.left && x < inner.right && y >= inner.top && y < inner.bottom;
            if (inClient || !gdi::PtInRegion(region, x, y)) continue;
            if (WindowPixel(form, x, y) != gdi::COLORREF(cache->Canvas()->Pixels(x, y))) ++differing;
        }
    gdi::DeleteObject(region);
    EXPECT_EQ(differing, 0);
}

// A button's background is restored from the stored title piece at the same place: after hovering and
// leaving it the title is what a full paint gives, also over a gradient.
TEST_F(ProviderLife, HoveringAButtonLeavesNoSeamInTheTitle) {
    UseSkin(0);   // round buttons: the title shows around them
    // The title's gradient runs steeply from left to right, so that a shifted copy shows.
    TsGeneralData& titleSection = Manager->Sections[std::size_t(Manager->GetSkinIndex("FORMTITLE"))];
    for (TsGradArray* steps : {&titleSection.GradientArray, &titleSection.HotGradientArray})
        for (TsGradientStep& step : *steps) {
            step.Mode = 1;
            step.Color1 = 0x000000;   // steep: every column differs
            step.Color2 = 0xFFFFFF;
        }
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    const int band = p->CaptionHeight() + p->SysBorderHeight();
    auto title = [&] {
        std::vector<TColor> pixels;
        for (int y = 0; y < band; ++y)
            for (int x = p->FormWidth() - p->ButtonsWidth() - p->SysBorderWidth(); x < p->FormWidth(); ++x)
                pixels.push_back(p->FormCache()->Canvas()->Pixels(x, y));
        return pixels;
    };
    const std::vector<TColor> before = title();
    for (TsCaptionButtonSlot slot : {cbClose, cbMaximize, cbMinimize}) {
        const TPoint c = CentreOf(form, p->CaptionButton(slot).Rect);
        Display->MoveMouse(c.x, c.y);
        Pump();
    }
    const TPoint away = ScreenOf(form, p->FormWidth() / 2, p->HeaderHeight() + 30);
    Display->MoveMouse(away.x, away.y);
    Pump();
    EXPECT_EQ(p->HotHT(), 0);
    EXPECT_EQ(title(), before);
}

}
}

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class ProviderFrame : public FormsTest { };

TEST_F(ProviderFrame, ANewCaptionIsPaintedIntoTheTitleAndTheWholeShapeComesBack) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    form->SetCaption("");
    Pump();
    auto titleInk = [&] {
        int differing = 0;
        const TColor ground = p->FormCache()->Canvas()->Pixels(p->IconRect().right + 2, p->CaptionHeight() / 2 + 2);
        for (int x = p->IconRect().right + 4; x < p->IconRect().right + 120; ++x)
            if (p->FormCache()->Canvas()->Pixels(x, p->CaptionHeight() / 2 + 2) != ground) ++differing;
        return differing;
    };
    EXPECT_EQ(titleInk(), 0);
    form->SetCaption("Node information");
    Pump();
    EXPECT_GT(titleInk(), 5);
    // The title band was cut out of the shape for a moment: it is whole again.
    user::HRGN region = gdi::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(user::GetWindowRgn(form->WindowHandle(), region), gdi::ERROR);
    EXPECT_TRUE(gdi::PtInRegion(region, form->Width() / 2, p->CaptionHeight() / 2));
    gdi::DeleteObject(region);
    EXPECT_NE(WindowPixel(form, form->Width() / 2, p->CaptionHeight() / 2), Display->DesktopColor);
}

TEST_F(ProviderFrame, TheGripCornerAnswersTheSizingCode) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    const TPoint corner = ScreenOf(form, form->Width() - p->SysBorderWidth() - 2, form->Height() - p->SysBorderHeight() - 2);
    EXPECT_EQ(HitAt(form, corner), user::HTCLIENT);
    p->SetGripMode(gmRightBottom);
    Pump();
    EXPECT_EQ(HitAt(form, corner), htGrip);
    EXPECT_EQ(p->HotHT(), 0);
}

TEST_F(ProviderFrame, AMaximizedFormAnswersNothingAtItsOuterPixels) {
    UseSkin(2);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    form->SetWindowState(wsMaximized);
    Pump();
    ASSERT_TRUE(user::IsZoomed(form->WindowHandle()));
    EXPECT_EQ(HitAt(form, ScreenOf(form, 1, form->Height() / 2)), htOutside);
    EXPECT_EQ(HitAt(form, ScreenOf(form, form->Width() / 2, form->Height() / 2)), user::HTCLIENT);
}

}
}

namespace korvex::skin::wintest {
namespace {

TEST(TsSkinProviderClass, IsRegisteredForFormTextBesideTheSkinnedControls) {
    RegisterSkinWindowClasses();
    EXPECT_EQ(classes::FindClass("TsSkinProvider"), TsSkinProvider::StaticClass());
    EXPECT_NE(classes::FindClass("TsPanel"), nullptr);
}

}
}

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class ProviderPrint : public FormsTest { };

// Printing a skinned form into a bitmap gives what the screen shows: the skinned frame, the client background
// from the cache and the children at their places.
TEST_F(ProviderPrint, WmPrintGivesTheSkinnedPictureOfTheScreen) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    auto* panel = Create<TsPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(20, 20, 120, 60);
    panel->SetCaption("");
    Pump();
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(form->Width(), form->Height());
    user::SendMessage(form->WindowHandle(), user::WM_PRINT, WPARAM(picture.Canvas()->Handle()),
        user::PRF_NONCLIENT | user::PRF_CLIENT | user::PRF_CHILDREN);
    user::HRGN region = gdi::CreateRectRgn(0, 0, 0, 0);
    user::GetWindowRgn(form->WindowHandle(), region);
    int differing = 0;
    for (int y = 0; y < form->Height(); y += 3)
        for (int x = 0; x < form->Width(); x += 3)
            if (gdi::PtInRegion(region, x, y) && gdi::COLORREF(picture.Canvas()->Pixels(x, y)) != WindowPixel(form, x, y))
                ++differing;
    gdi::DeleteObject(region);
    EXPECT_EQ(differing, 0);
}

}
}
