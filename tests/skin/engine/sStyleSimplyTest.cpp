// Control-tree routines: notices down the tree, the colour query, providers, windowless children over a cache,
// owners and names, window questions.
#include "support/SkinControlsKit.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sMenuSupport.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"

#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

// A windowed control that keeps the skin commands it gets and answers none.
class TCommandBox : public TCustomControl {
public:
    explicit TCommandBox(TComponent* owner) : TCustomControl(owner) {
        SetControlStyle(ControlStyle() + TControlStyle {csAcceptsControls});
        SetBounds(0, 0, 60, 40);
    }
    std::vector<TMessage> Commands;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == SM_SKINCMD) Commands.push_back(m);
        TCustomControl::WndProc(m);
    }
};

// A windowless control that paints a square of Ink at (2, 2) - (6, 6) and leaves the rest to what lies below;
// with KeyCorner its top-left pixel is the transparent key.
class TInkSpot : public TGraphicControl {
public:
    explicit TInkSpot(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 10, 10); }
    TColor Ink = 0x0000FF;
    bool KeyCorner = false;
    std::vector<TMessage> Commands;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == SM_SKINCMD) Commands.push_back(m);
        TGraphicControl::WndProc(m);
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(Ink);
        Canvas()->FillRect(TRect {2, 2, 6, 6});
        if (KeyCorner) Canvas()->SetPixels(0, 0, 0xFF00FF);
    }
};

class TProviderComponent : public TComponent, public SkinProviderLink {
public:
    using TComponent::TComponent;
    std::vector<int> Codes;
    void ProviderMessage(TMessage& m) override { Codes.push_back(SkinCommandCode(m)); }
};

template <class T>
T* PutControl(TWinControl* parent, int left, int top) {
    T* c = new T(parent);
    c->SetParent(parent);
    c->SetLeft(left);
    c->SetTop(top);
    return c;
}

// A white picture of the given size to compose into.
class Target {
public:
    Target(int w, int h) : FDc(gdi::CreateCompatibleDC(nullptr)), FBmp(gdi::CreateCompatibleBitmap(nullptr, w, h)) {
        FOld = gdi::SelectObject(FDc, FBmp.Get());
        gdi::GdiHandle<gdi::Brush> white(gdi::CreateSolidBrush(0xFFFFFF));
        const TRect all {0, 0, w, h};
        gdi::FillRect(FDc, &all, white);
    }
    ~Target() {
        gdi::SelectObject(FDc, FOld);
        gdi::DeleteDC(FDc);
    }
    gdi::HDC Dc() const { return FDc; }
    gdi::COLORREF At(int x, int y) const { return gdi::GetPixel(FDc, x, y); }

private:
    gdi::HDC FDc;
    gdi::GdiHandle<gdi::Bitmap> FBmp;
    gdi::HBITMAP FOld;
};

class ControlTree : public SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        skin.AddSection("PANEL", 0x336699);
    }
    CodeSkin skin;
};

}

TEST_F(ControlTree, WindowedChildrenHearTheParentFinishedUpdatingWindowlessOnesDoNot) {
    TForm* form = NewForm();
    auto* host = PutControl<TCommandBox>(form, 0, 0);
    auto* a = PutControl<TCommandBox>(host, 0, 0);
    auto* spot = PutControl<TInkSpot>(host, 0, 0);
    auto* dying = PutControl<TCommandBox>(host, 0, 0);
    Pump();
    dying->Destroying();
    NotifyChildrenUpdated(host);
    ASSERT_EQ(a->Commands.size(), 1u);
    EXPECT_EQ(SkinCommandCode(a->Commands[0]), SMC_PARENTUPDATED);
    EXPECT_TRUE(spot->Commands.empty());
    EXPECT_TRUE(dying->Commands.empty());
    EXPECT_TRUE(host->Commands.empty());
}

TEST_F(ControlTree, PaintMarksAreClearedDownTheWholeTree) {
    TForm* form = NewForm();
    auto* host = PutControl<TCommandBox>(form, 0, 0);
    auto* inner = PutControl<TCommandBox>(host, 0, 0);
    auto* spot = PutControl<TInkSpot>(inner, 0, 0);
    Pump();
    ResetPaintMarks(host);
    for (const auto* commands : {&host->Commands, &inner->Commands, &spot->Commands}) {
        ASSERT_EQ(commands->size(), 1u);
        EXPECT_EQ(SkinCommandCode(commands->front()), SMC_SETPAINTMARK);
        EXPECT_EQ(SkinCommandArgument(commands->front()), 0);
    }
}

TEST_F(ControlTree, ColourQueryFallsBackToTheControlsOwnColourAsRgb) {
    TForm* form = NewForm();
    auto* box = PutControl<TCommandBox>(form, 0, 0);
    box->SetColor(clWindow);
    Pump();
    EXPECT_EQ(QueryControlColor(box), TColor(gdi::GetSysColor(gdi::COLOR_WINDOW)));
    ASSERT_EQ(box->Commands.size(), 1u);
    EXPECT_EQ(SkinCommandCode(box->Commands[0]), SMC_GETCOLOR);

    auto* panel = PutControl<TTestPanel>(form, 0, 100);
    panel->SkinData->Loaded();
    Pump();
    EXPECT_EQ(QueryControlColor(panel), 0x336699);
}

// A control with no window to ask (none of its parents has one) answers its own colour; nothing raises.
TEST_F(ControlTree, AColourQueryToAControlWithoutAnyWindowAnswersItsOwnColour) {
    TForm* form = NewForm();
    auto* host = new TTestPanel(form);   // not on the form: neither it nor its child can have a window
    auto* panel = new TTestPanel(form);
    panel->SetParent(host);
    panel->SetColor(clWindow);
    panel->SkinData->Loaded();
    ASSERT_FALSE(panel->HandleAllocated());
    TColor answer = 0;
    EXPECT_NO_THROW(answer = QueryControlColor(panel));
    EXPECT_EQ(answer, TColor(gdi::GetSysColor(gdi::COLOR_WINDOW)));
    EXPECT_FALSE(panel->HandleAllocated());
}

// A control whose window is not made yet has it made to be asked, as its handle is asked for.
TEST_F(ControlTree, AControlWithoutItsWindowYetHasItMadeForTheColourQueryAndThePaintMarks) {
    CodeSkin skin;
    skin.AddSection("PANEL", 0x336699);
    TForm* form = NewForm();
    auto* panel = new TTestPanel(form);
    panel->SetVisible(false);   // hidden: nothing makes its window
    panel->SetParent(form);
    panel->SetColor(clWindow);
    panel->SkinData->Loaded();
    ASSERT_FALSE(panel->HandleAllocated());
    EXPECT_EQ(QueryControlColor(panel), 0x336699);   // the skin state's answer, not its own Color
    EXPECT_TRUE(panel->HandleAllocated());

    auto* hidden = new TTestPanel(form);
    hidden->SetVisible(false);
    hidden->SetParent(form);
    hidden->SkinData->PaintMark = true;
    ASSERT_FALSE(hidden->HandleAllocated());
    ResetPaintMarks(form);
    EXPECT_FALSE(hidden->SkinData->PaintMark);
}

TEST_F(ControlTree, TheFirstLiveProviderOfAFormGetsTheRecord) {
    TForm* form = NewForm();
    auto* gone = new TProviderComponent(form);
    auto* first = new TProviderComponent(form);
    auto* second = new TProviderComponent(form);
    gone->Destroying();
    TMessage m = MakeSkinCommand(SMC_REFRESH);
    PassToSkinProvider(form, m);
    EXPECT_TRUE(gone->Codes.empty());
    EXPECT_EQ(first->Codes, std::vector<int> {SMC_REFRESH});
    EXPECT_TRUE(second->Codes.empty());
    PassToSkinProvider(nullptr, m);
}

TEST_F(ControlTree, WindowlessChildrenAreComposedOverTheCache) {
    TForm* form = NewForm();
    auto* panel = PutControl<TTestPanel>(form, 0, 0);
    panel->SetBounds(0, 0, 60, 40);
    panel->SkinData->InitCacheBmp();
    TCanvas* cache = panel->SkinData->CacheBmp()->Canvas();
    cache->Brush()->SetColor(0x336699);
    cache->FillRect(TRect {0, 0, 60, 40});
    cache->Brush()->SetColor(0x00AA00);
    cache->FillRect(TRect {10, 10, 20, 20});   // under the ink spot, so the copy's offset shows
    auto* spot = PutControl<TInkSpot>(panel, 10, 10);
    auto* opaque = PutControl<TInkSpot>(panel, 30, 10);
    opaque->SetControlStyle(opaque->ControlStyle() + TControlStyle {csOpaque});
    opaque->SetColor(0x808080);
    auto* keyed = PutControl<TInkSpot>(panel, 45, 25);
    keyed->KeyCorner = true;
    Pump();

    Target target(60, 40);
    ComposeGraphicChildren(target.Dc(), panel);
    EXPECT_EQ(target.At(10, 10), 0x00AA00u);   // the cache under the spot
    EXPECT_EQ(target.At(13, 13), 0x0000FFu);   // the spot's ink
    EXPECT_EQ(target.At(30, 10), 0x808080u);   // an opaque child starts from its colour
    EXPECT_EQ(target.At(33, 13), 0x0000FFu);
    EXPECT_EQ(target.At(48, 28), 0xFFFFFFu);   // a keyed child is left out
    EXPECT_EQ(target.At(5, 5), 0xFFFFFFu);   // no child: not touched
    EXPECT_FALSE(AskControlCache(spot).Ready);   // the compose's answer is not left for the next asker
}

TEST_F(ControlTree, AnEmptyClipOnlyMarksTheCacheIncomplete) {
    TForm* form = NewForm();
    auto* host = PutControl<TCommandBox>(form, 0, 0);
    auto* spot = PutControl<TInkSpot>(host, 0, 0);
    Pump();
    Target target(60, 40);
    gdi::IntersectClipRect(target.Dc(), 0, 0, 0, 0);
    ComposeGraphicChildren(target.Dc(), host);
    ASSERT_EQ(host->Commands.size(), 1u);
    EXPECT_EQ(SkinCommandCode(host->Commands[0]), SMC_SETCACHEINCOMPLETE);
    EXPECT_TRUE(spot->Commands.empty());

    // A control without a cache does not answer: nothing is composed.
    host->Commands.clear();
    Target open(60, 40);
    ComposeGraphicChildren(open.Dc(), host);
    ASSERT_EQ(host->Commands.size(), 1u);
    EXPECT_EQ(SkinCommandCode(host->Commands[0]), SMC_GETCACHE);
    EXPECT_EQ(open.At(3, 3), 0xFFFFFFu);
}

TEST_F(ControlTree, ScrollBarKindsReadTheWindowStyle) {
    TForm* form = NewForm();
    auto* box = PutControl<TCommandBox>(form, 0, 0);
    const user::HWND w = box->Handle();
    user::SetWindowLong(w, user::GWL_STYLE, user::GetWindowLong(w, user::GWL_STYLE) | user::WS_VSCROLL);
    EXPECT_FALSE(HasScrollBar(w, 0));
    EXPECT_TRUE(HasScrollBar(w, 1));
    EXPECT_FALSE(HasScrollBar(w, 3));
    user::SetWindowLong(w, user::GWL_STYLE, user::GetWindowLong(w, user::GWL_STYLE) | user::WS_HSCROLL);
    EXPECT_TRUE(HasScrollBar(w, 0));
    EXPECT_TRUE(HasScrollBar(w, 3));
    EXPECT_FALSE(HasScrollBar(w, 2));
}

TEST_F(ControlTree, OwnersNamesAndPaintability) {
    TForm* form = NewForm();
    auto* box = PutControl<TCommandBox>(form, 0, 0);
    box->SetName("Button1");
    auto* inner = new TComponent(box);
    EXPECT_EQ(GetOwnerForm(inner), form);
    EXPECT_EQ(GetOwnerForm(nullptr), nullptr);
    EXPECT_EQ(GetOwnerFrame(inner), nullptr);
    EXPECT_EQ(FindComponentByPath(form, "button1"), box);
    EXPECT_EQ(FindComponentByPath(form, "Button1.Inner"), nullptr);   // no frames here
    EXPECT_EQ(FindComponentByPath(nullptr, "Button1"), nullptr);

    EXPECT_TRUE(IsControlPaintable(box));
    EXPECT_FALSE(IsControlPaintable(form));   // no parent
    EXPECT_FALSE(IsControlPaintable(nullptr));
    box->Destroying();
    EXPECT_FALSE(IsControlPaintable(box));
}

TEST_F(ControlTree, AlignmentGivesTheTextFlags) {
    EXPECT_EQ(TextAlignFlags(nullptr, taLeftJustify), gdi::DT_LEFT | 0x44u);
    EXPECT_EQ(TextAlignFlags(nullptr, taRightJustify), gdi::DT_RIGHT | 0x44u);
    EXPECT_EQ(TextAlignFlags(nullptr, taCenter), gdi::DT_CENTER | 0x44u);
}
