// Test support for skinned-state controls: headless set-up, code-built skins, the test controls' painting.
#include "SkinControlsKit.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Screen.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"

#include <chrono>

namespace korvex::skin::ctltest {

using namespace korvex::classes;

void PaintSkinned(TControl* control, TsCommonData* data, TCanvas* canvas, const std::string& caption,
    const TacGlyphButton* glyph, bool centred) {
    const TRect whole {0, 0, control->Width(), control->Height()};
    const int state = data->IsHot() ? 1 : 0;
    if (!data->Skinned()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(control->Color());
        canvas->FillRect(whole);
        if (data->ControlKind != TacControlKind::Unknown && data->ControlKind != TacControlKind::Panel) {   // buttons, edits and low panels get a frame
            canvas->Brush()->SetColor(clBtnShadow);
            canvas->FrameRect(whole);
        }
        if (glyph != nullptr && glyph->Glyph != nullptr)
            canvas->Draw(glyph->GlyphRect.left, glyph->GlyphRect.top, glyph->Glyph);
        TRect r = whole;
        r.left = glyph != nullptr ? glyph->GlyphRect.right + 4 : centred ? 0 : 4;
        canvas->Brush()->SetStyle(bsClear);
        canvas->Font()->Assign(control->Font());
        if (!control->Enabled()) canvas->Font()->SetColor(clGrayText);
        if (!caption.empty())
            canvas->TextRect(r, caption, gdi::DT_SINGLELINE | gdi::DT_VCENTER | (centred ? gdi::DT_CENTER : 0));
        return;
    }
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    const TsParentCacheInfo ci = GetParentCache(data);
    RenderControlSkin(data, ci, true, state, whole, TPoint {control->Left(), control->Top()}, cache, false);
    TacGlyphButton g;
    if (glyph != nullptr) {
        g = *glyph;
        g.SkinData = data;
        PaintBitBtnGlyph(g);
    }
    TRect r = whole;
    r.left = glyph != nullptr ? glyph->GlyphRect.right + 4 : centred ? 0 : 4;
    OutputSkinnedText(cache->Canvas(), caption, control->Enabled(), r, centred ? gdi::DT_CENTER : 0u, data, state != 0);
    if (!control->Enabled()) ApplyDisabledLook(cache, DefaultDisabledKind, control->Color(), TPoint {control->Left(), control->Top()}, ci);
    data->BGChanged = false;
    gdi::BitBlt(canvas->Handle(), 0, 0, whole.right, whole.bottom, cache->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

// ---- Controls ------------------------------------------------------------------------------------------------

TTestPanel::TTestPanel(TComponent* owner, int kind)
    : TCustomControl(owner), SkinData(std::make_unique<TsCommonData>(this, true)) {
    SkinData->ControlKind = TacControlKind(kind);
    SetControlStyle(ControlStyle() + TControlStyle {csAcceptsControls, csOpaque});
    SetBounds(0, 0, 100, 50);
    SetColor(clBtnFace);
}

TTestPanel::~TTestPanel() = default;

void TTestPanel::WndProc(TMessage& message) {
    if (message.Msg == user::WM_SIZE && CommonWndProc(message, SkinData.get())) {
        ++WmSizeHandled;
        return;
    }
    if (message.Msg != user::WM_SIZE && CommonWndProc(message, SkinData.get())) return;
    TCustomControl::WndProc(message);
}

void TTestPanel::Paint() {
    PaintSkinned(this, SkinData.get(), Canvas(), Caption(), nullptr, SkinData->ControlKind != TacControlKind(2));
}

TTestButton::TTestButton(TComponent* owner)
    : TCustomControl(owner), SkinData(std::make_unique<TsCommonData>(this, true)) {
    SkinData->ControlKind = TacControlKind::Button;
    SetControlStyle(ControlStyle() + TControlStyle {csOpaque});
    SetBounds(0, 0, 100, 28);
    SetColor(clBtnFace);
    Glyph.SetTransparentColor(0xFF00FF);
    Glyph.SetTransparent(true);
}

TTestButton::~TTestButton() = default;

void TTestButton::WndProc(TMessage& message) {
    if (CommonWndProc(message, SkinData.get())) return;
    TCustomControl::WndProc(message);
}

void TTestButton::Paint() {
    RenderTo(Canvas());
}

void TTestButton::RenderTo(TCanvas* canvas) {
    TacGlyphButton g;
    g.Glyph = Glyph.Empty() ? nullptr : &Glyph;
    g.Enabled = Enabled();
    const int top = (Height() - Glyph.Height()) / 2;
    g.GlyphRect = TRect {8, top, 8 + Glyph.Width(), top + Glyph.Height()};
    PaintSkinned(this, SkinData.get(), canvas, Caption(), &g, false);
}

TTestLabel::TTestLabel(TComponent* owner)
    : TGraphicControl(owner), SkinData(std::make_unique<TsCommonData>(this, true)) {
    SkinData->SetSkinSection("CHECKBOX");
    SetBounds(0, 0, 80, 18);
}

TTestLabel::~TTestLabel() = default;

void TTestLabel::WndProc(TMessage& message) {
    if (CommonWndProc(message, SkinData.get())) return;
    TGraphicControl::WndProc(message);
}

void TTestLabel::Paint() {
    PaintSkinned(this, SkinData.get(), Canvas(), Caption(), nullptr, false);
}

// ---- Fixture -------------------------------------------------------------------------------------------------

void SkinControlsTest::SetUp() {
    user::InitMessageQueue([now = Now] { return *now; }, user::UiDispatch::Yes);
    auto display = std::make_unique<user::HeadlessDisplay>();
    Display = display.get();
    user::SetDisplay(std::move(display));
    InitApplication();
}

void SkinControlsTest::TearDown() {
    DoneApplication();
    user::ShutdownMessageQueue();
    user::ResetDisplay();
}

void SkinControlsTest::Pump() {
    user::PumpMessages();
    user::FlushDisplay();
}

void SkinControlsTest::Advance(int ms) {
    *Now += std::chrono::milliseconds(ms);
    Pump();
}

TForm* SkinControlsTest::NewForm(int clientWidth, int clientHeight) {
    TForm* form = Create<TForm>(Application);
    form->SetBounds(20, 20, clientWidth + 40, clientHeight + 60);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    form->Show();
    Pump();
    return form;
}

gdi::COLORREF SkinControlsTest::ScreenPixel(const TControl* control, int x, int y) const {
    const TPoint p = control->ClientToScreen(TPoint {x, y});
    return Display->ScreenPixel(p.x, p.y);
}

// ---- Skins built in code ---------------------------------------------------------------------------------------

CodeSkin::CodeSkin() : FOwner(std::make_unique<TComponent>(nullptr)) {
    FManager = Create<TsSkinManager>(FOwner.get());
    FManager->SetActive(false);
    FManager->LoadedSkin.Active = true;
}

CodeSkin::~CodeSkin() = default;

int CodeSkin::AddSection(const std::string& name, TColor color, int transparency) {
    TsGeneralData s;
    s.ClassName = name;
    s.Color = s.HotColor = color;
    s.Transparency = s.HotTransparency = transparency;
    s.FontColor.Fill(-1);
    s.HotFontColor.Fill(-1);
    s.FontColor[1] = s.HotFontColor[1] = 0;
    FManager->Sections.push_back(s);
    return int(FManager->Sections.size()) - 1;
}

TsGeneralData& CodeSkin::Section(int index) const {
    return FManager->Sections[std::size_t(index)];
}

}
