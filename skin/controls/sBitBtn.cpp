// TsBitBtn: construction, properties, glyph and caption layout, cache rendering and message handling.
#include "skin/controls/sBitBtn.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TBasicAction.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Text.h"
#include "platform/user/controls/Button.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sButtonRegion.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

// ---- Layout ------------------------------------------------------------------------------------------------

TRect BitBtnGlyphRect(const TacGlyphLayout& l, bool pressed) {
    const int gw = l.Glyph.cx;
    const int gh = l.Glyph.cy;
    const int tw = l.Text.cx;
    const int th = l.Text.cy;
    const int s = gw > 0 ? l.Spacing : 0;
    const int gm = l.Margin < 0 ? 0 : l.Margin + 3;
    const int a = ((l.Width - gw - s) - tw) / 2 - gm;
    const int b = ((l.Height - gh - s) - th) / 2 - gm;
    int x = 0;
    int y = 0;
    switch (l.Layout) {
    case blGlyphLeft:
        x = l.Alignment == taLeftJustify ? gm : l.Alignment == taRightJustify ? gm + 2 * a : gm + a;
        y = (l.Height - gh) / 2;
        break;
    case blGlyphRight:
        x = l.Alignment == taLeftJustify ? l.Width - gm - 2 * a - s - gw
            : l.Alignment == taRightJustify ? l.Width - gw - gm
                                            : (l.Width - gw + s + tw) / 2;
        y = (l.Height - gh) / 2;
        break;
    case blGlyphTop:
        x = (l.Width - gw) / 2 + 1;
        y = gm + b;
        break;
    case blGlyphBottom:
        x = (l.Width - gw) / 2 + 1;
        y = l.Height - gm - b - gh;
        break;
    }
    if (pressed) {
        ++x;
        ++y;
    }
    return {x, y, x + gw, y + gh};
}

TButtonLayout ReadingOrderLayout(TButtonLayout layout, bool rightToLeft) {
    if (rightToLeft && layout == blGlyphLeft) return blGlyphRight;
    if (rightToLeft && layout == blGlyphRight) return blGlyphLeft;
    return layout;
}

TRect BitBtnTextRect(const TacGlyphLayout& l, bool rightToLeft) {
    const TButtonLayout layout = ReadingOrderLayout(l.Layout, rightToLeft);
    const TSize g = l.Glyph;
    const TSize t = l.Text;
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    TPoint text {(l.Width - t.cx + 1) / 2, (l.Height - t.cy + 1) / 2};
    int spacing = t.cx == 0 || g.cx == 0 ? 0 : l.Spacing;
    int margin = l.Margin;
    const int room = across ? l.Width : l.Height;
    const int glyphAlong = across ? g.cx : g.cy;
    const int textAlong = across ? t.cx : t.cy;
    if (margin == -1 && spacing >= 0) {
        margin = l.Alignment == taCenter ? (room - (glyphAlong + spacing + textAlong) + 1) / 2 : 2;
    } else if (margin == -1) {
        margin = (room - (glyphAlong + textAlong)) / 3;
        spacing = margin;
    } else if (spacing == -1) {
        spacing = ((room - (margin + glyphAlong)) - textAlong) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        text.x = l.Alignment == taLeftJustify ? margin + g.cx + spacing
            : l.Alignment == taRightJustify ? l.Width - margin - t.cx
                                            : (l.Width - t.cx - spacing - g.cx) / 2 + spacing + g.cx;
        break;
    case blGlyphRight:
        text.x = l.Alignment == taLeftJustify ? margin
            : l.Alignment == taRightJustify ? l.Width - margin - g.cx - spacing - t.cx
                                            : (l.Width - t.cx - spacing - g.cx) / 2;
        break;
    case blGlyphTop:
        text.y = (l.Height - g.cy - spacing - t.cy) / 2 + g.cy + spacing;
        break;
    case blGlyphBottom:
        text.y = l.Height - g.cy - (l.Height - g.cy - spacing - t.cy) / 2 - spacing - t.cy;
        break;
    }
    return {text.x, text.y, text.x + t.cx, text.y + t.cy};
}

// ---- Construction and properties ---------------------------------------------------------------------------

TsBitBtn::TsBitBtn(TComponent* owner)
    : TsGlyphImages(owner) {
    SkinData()->ControlKind = TacControlKind::BitBtn;
    Core().Prepare = [this] { PrepareCache(); };
    Core().RemoveRegionRedraws = false;
    Core().TextChangeRepaints = false;
    Core().EraseAnswers = false;
    Core().FontInvalidatesHidden = false;
    Core().PressClearsUpdating = true;
}

TsBitBtn::~TsBitBtn() {
    Core().StopFade();
}

TClass TsBitBtn::StaticClass() {
    static const TClassInfo info = MakeClass<TsBitBtn, TBitBtn>("TsBitBtn", [](auto& p) {
        p.Enum("Alignment", &TsBitBtn::Alignment, &TsBitBtn::SetAlignment, AlignmentIdents, taCenter);
        p.Int("Blend", &TsBitBtn::Blend, &TsBitBtn::SetBlend, 0);
        p.Set("DisabledGlyphKind", &TsBitBtn::DisabledGlyphKind, &TsBitBtn::SetDisabledGlyphKind,
            DisabledGlyphKindIdents, DefaultDisabledGlyphKind);
        p.Set("DisabledKind", &TsBitBtn::DisabledKind, &TsBitBtn::SetDisabledKind, DisabledKindIdents,
            DefaultDisabledKind);
        p.Bool("Down", &TsBitBtn::Down, &TsBitBtn::SetDown, false);
        p.Bool("DrawOverBorder", &TsBitBtn::DrawOverBorder, &TsBitBtn::SetDrawOverBorder, true);
        p.Int("FocusMargin", &TsBitBtn::FocusMargin, &TsBitBtn::SetFocusMargin, 1);
        p.Bool("Grayed", &TsBitBtn::Grayed, &TsBitBtn::SetGrayed, false);
        p.Int("ImageIndex", &TsBitBtn::ImageIndex, &TsBitBtn::SetImageIndex, -1);
        p.Component("Images", &TsBitBtn::Images, &TsBitBtn::SetImages);
        p.Bool("ShowCaption", &TsBitBtn::ShowCaption, &TsBitBtn::SetShowCaption, true);
        p.Bool("ShowFocus", &TsBitBtn::ShowFocus, &TsBitBtn::SetShowFocus, true);
        p.Object("SkinData", &TsBitBtn::SkinData);
        p.Int("TextOffset", &TsBitBtn::TextOffset, &TsBitBtn::SetTextOffset, 0);
        p.Enum("TextAlignment", &TsBitBtn::TextAlignment, &TsBitBtn::SetTextAlignment, AlignmentIdents, taCenter);
        p.Set("AnimatEvents", &TsBitBtn::AnimatEvents, &TsBitBtn::SetAnimatEvents, AnimatEventIdents,
            TacAnimatEvents {aeGlobalDef});
    });
    return &info;
}

void TsBitBtn::Loaded() {
    TsCoreButton::Loaded();
    RebuildGlyphFromImages();
}

namespace {
template <class V>
bool Store(V& field, V value) {
    if (field == value) return false;
    field = value;
    return true;
}
}

void TsBitBtn::GlyphSettingChanged() {
    SkinData()->Invalidate();
}

void TsBitBtn::SetAlignment(TAlignment value) {
    if (Store(FAlignment, value)) SkinData()->Invalidate();
}

void TsBitBtn::SetShowCaption(bool value) {
    if (Store(FShowCaption, value)) SkinData()->Invalidate();
}

void TsBitBtn::SetShowFocus(bool value) {
    if (Store(FShowFocus, value)) SkinData()->Invalidate();
}

void TsBitBtn::SetDrawOverBorder(bool value) {
    if (Store(FDrawOverBorder, value)) SkinData()->Invalidate();
}

void TsBitBtn::SetTextOffset(int value) {
    if (Store(FTextOffset, value)) SkinData()->Invalidate();
}

void TsBitBtn::SetTextAlignment(TAlignment value) {
    if (Store(FTextAlignment, value)) SkinData()->Invalidate();
}

// ---- Glyph and caption -------------------------------------------------------------------------------------

TSize TsBitBtn::GlyphSizeNow() const {
    const TBitmap* glyph = Glyph();
    if (glyph != nullptr && glyph->Width() > 0) return {glyph->Width() / std::max(1, NumGlyphs()), glyph->Height()};
    if (Images() != nullptr && ImageIndex() >= 0) return {Images()->Width(), Images()->Height()};
    return {0, 0};
}

TacGlyphLayout TsBitBtn::LayoutNow() const {
    TacGlyphLayout l;
    l.Width = Width();
    l.Height = Height();
    l.Glyph = GlyphSizeNow();
    l.Layout = Layout();
    l.Alignment = FAlignment;
    l.Margin = Margin();
    l.Spacing = Spacing();
    if (FShowCaption && !Caption().empty()) {
        const int room = Width() - 2 * Margin() - (l.Glyph.cx != 0 ? l.Glyph.cx + Spacing() : 0);
        TBitmap* cache = SkinData()->CacheBmp();
        if (cache != nullptr) {
            cache->Canvas()->Font()->Assign(Font());
            l.Text = ButtonCaptionSize(cache->Canvas(), Caption(), room);
        }
    }
    if (!FShowCaption || Caption().empty()) l.Spacing = 0;
    return l;
}

// Read right to left the glyph goes to the other side, as the caption does.
TRect TsBitBtn::GlyphRect() const {
    TacGlyphLayout layout = LayoutNow();
    layout.Layout = ReadingOrderLayout(layout.Layout, UseRightToLeftReading());
    return BitBtnGlyphRect(layout, Down());
}

void TsBitBtn::PrepareCache() {
    TsCommonData* data = SkinData();
    const int state = CurrentState();
    const TsParentCacheInfo ci = Core().BeginCache(state);
    TBitmap* cache = data->CacheBmp();
    if (FDrawOverBorder) Core().PaintBorders(state);
    const TacGlyphLayout layout = LayoutNow();
    TCanvas* canvas = cache->Canvas();
    if (FShowCaption && !Caption().empty()) {
        canvas->Font()->Assign(Font());
        canvas->Brush()->SetStyle(bsClear);
        TRect r = BitBtnTextRect(layout, UseRightToLeftReading());
        if (state == 2) gdi::OffsetRect(&r, 1, 1);
        const bool hot = data->IsHot() || Core().ActiveDefault || Core().DownField();
        OutputSkinnedText(canvas, Caption(), true, r,
            DrawTextBiDiModeFlags(TextAlignFlags(this, FTextAlignment) | gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS), data,
            hot);
        if (FShowFocus) Core().PaintFocus(canvas, r);
    }
    PaintBitBtnGlyph(ButtonGlyph(*this, data, GlyphRect()));
    if (!FDrawOverBorder) Core().PaintBorders(state);
    FRenderedSpacing = Spacing();
    Core().EndCache(ci, [this, cache] {
        if (OnPaint) OnPaint(this, cache);
    });
}

// ---- Messages ----------------------------------------------------------------------------------------------

bool TsBitBtn::SkinCommandExtra(TMessage& m) {
    const int code = SkinCommandCode(m);
    if (reinterpret_cast<TsSkinManager*>(m.LParam) != SkinData()->SkinManager()) return false;
    const bool listed = Images() != nullptr && GetImageCount(Images()) > 0;
    if (code == SMC_NEWSKIN && listed && Glyph() != nullptr && !Glyph()->Empty()) {
        Glyph()->SetSize(0, 0);   // the skin paints the list's image itself
        return false;
    }
    if (code == SMC_REMOVESKIN && !ControlDestroying(this)) {
        Core().WndProc(m, [this](TMessage& msg) { TBitBtn::WndProc(msg); });
        RebuildGlyphFromImages();
        return true;
    }
    return false;
}

void TsBitBtn::WndProc(TMessage& message) {
    if (message.Msg == SM_SKINCMD && SkinCommandExtra(message)) return;
    if (message.Msg == user::WM_PAINT && Spacing() != FRenderedSpacing) SkinData()->BGChanged = true;
    if (message.Msg == user::WM_PAINT && Parent() == nullptr && Core().Painting()) return;
    TsCoreButton::WndProc(message);
}


void TsBitBtn::ActionChange(TObject* sender, bool checkDefaults) {
    SetGlyph(nullptr);
    TsGlyphImages<TsCoreButton<TBitBtn>>::ActionChange(sender, checkDefaults);
    if (dynamic_cast<TCustomAction*>(sender) != nullptr) BitBtnActionHook(this);
    Invalidate();
}
}
