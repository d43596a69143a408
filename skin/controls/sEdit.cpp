// TsEdit: construction, the cache with the edit's text, the frame strips, the whole paint and the messages.
#include "skin/controls/sEdit.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Painting.h"
#include "skin/controls/sEditFrame.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

// Single line, no prefix; DT_WORDBREAK as the edits always asked for it.
inline constexpr unsigned EditTextFlags = gdi::DT_WORDBREAK | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX;

TsEdit::TsEdit(TComponent* owner)
    : TsSkinnedEdit(owner) {
    SkinData()->ControlKind = TacControlKind::Edit;
    SetControlStyle(ControlStyle() + TControlStyle {csOpaque});
}

TsEdit::~TsEdit() = default;

TClass TsEdit::StaticClass() {
    using T = TsEdit;
    static const TClassInfo info = MakeClass<T, TEdit>("TsEdit", [](TPropertyBuilder<T>& p) {
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
        p.Object("SkinData", &T::SkinData);
        p.Object("BoundLabel", &T::BoundLabel);
    });
    return &info;
}

TacFrameHooks TsEdit::Hooks() {
    TacFrameHooks hooks;
    hooks.RenderCache = [this] { PrepareCache(); };
    return hooks;
}

// ---- Painting ------------------------------------------------------------------------------------------------

void TsEdit::PrepareCache() {
    TsCommonData* data = SkinData();
    RenderEditCache(this, data, data->IsHot() ? 1 : 0, DisabledKind(), [this](TBitmap* cache) { PaintText(cache); });
}

void TsEdit::PaintText(TBitmap* cache) {
    TCanvas* canvas = cache->Canvas();
    canvas->Font()->Assign(Font());
    const int border = BorderStyle() == bsNone ? 0 : (Ctl3D() ? 2 : 1);
    const int bevels = BevelKind() == bkNone ? 0 : int(BevelInner() != bvNone) + int(BevelOuter() != bvNone);
    const int d = border + bevels;
    TRect r {d + 1, d + 1, Width() - d, Height() - d};
    const std::string shown = ShownEditText(this, Text());
    if (shown.empty() || r.right <= r.left || r.bottom <= r.top) return;
    canvas->Brush()->SetStyle(bsClear);
    OutputSkinnedText(canvas, shown, true, r, EditTextFlags, SkinData(), SkinData()->IsHot());
}

void TsEdit::PaintFrame(gdi::HDC given) {
    TsCommonData* data = SkinData();
    data->SetUpdating(data->IsUpdating());
    if (data->Updating) return;
    PaintEditFrame(this, data, given, [this] { PrepareCache(); });
}

void TsEdit::PaintWhole(gdi::HDC given) {
    PaintEditFromCache(this, SkinData(), given, true, [this] { PrepareCache(); });
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsEdit::WndProc(TMessage& m) {
    SkinnedMessage(m);
    BoundLabelUpkeep(m, this, BoundLabel());
}

void TsEdit::SkinnedMessage(TMessage& m) {
    TsCommonData* data = SkinData();
    if (SkinCommandPrologue(m, data, Hooks()) == TacStep::Done) return;
    if (!PaintsSkinned(data)) {
        TEdit::WndProc(m);
        return;
    }
    if (m.Msg == SM_SKINCMD) {
        if (SkinCommandCode(m) == SMC_ISBGFROMPARENT) {
            m.LParam = 0;
            return;
        }
        SkinCommandWhenSkinned(m, data, Hooks());
        return;
    }
    const bool wasHot = data->IsHot();
    switch (m.Msg) {
    case user::WM_ERASEBKGND:
    case CN_DRAWITEM:
        return;
    case user::WM_NCPAINT:
        PaintFrame();
        return;
    case user::WM_PRINT:
        PrintEditMessage(m, this, data, !wasHot, [this] { PrepareCache(); });
        return;
    case user::WM_PAINT:
        if (wasHot)
            PaintFrame(reinterpret_cast<gdi::HDC>(m.WParam));
        else
            PaintWhole(reinterpret_cast<gdi::HDC>(m.WParam));
        break;
    case CM_COLORCHANGED:
        if (data->CustomColor()) data->BGChanged = true;
        break;
    case user::WM_KILLFOCUS:
    case CM_EXIT:
        if (!CommonWndProc(m, data)) TEdit::WndProc(m);
        data->Focused = false;
        data->MouseAbove = false;
        data->BGChanged = true;
        if (Visible()) RedrawClientAndFrame(this, true);
        return;
    default:
        break;
    }
    if (!CommonWndProc(m, data)) TEdit::WndProc(m);
    if (ControlDestroying(this)) return;
    switch (m.Msg) {
    case CM_TEXTCHANGED:
    case user::WM_SETTEXT:
    case user::WM_SETFONT:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
        data->Invalidate();
        break;
    default:
        break;
    }
    FollowHotChange(m, this, data, wasHot);
}

}
