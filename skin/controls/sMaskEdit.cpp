// TsMaskEdit: construction, the paint steps (cache, text, frame strips, whole paint) and the messages.
#include "skin/controls/sMaskEdit.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/MessageIds.h"
#include "skin/controls/sEditFrame.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

TsMaskEdit::TsMaskEdit(TComponent* owner)
    : TsSkinnedEdit(owner) {
    if (SkinData()->SkinSection().empty()) SkinData()->SetSkinSection("EDIT");
    SetControlStyle(ControlStyle() - TControlStyle {csSetCaption});
}

TsMaskEdit::~TsMaskEdit() = default;

TClass TsMaskEdit::StaticClass() {
    using T = TsMaskEdit;
    static const TClassInfo info = MakeClass<T, TMaskEdit>("TsMaskEdit", [](TPropertyBuilder<T>& p) {
        p.Object("BoundLabel", &T::BoundLabel);
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
        p.Object("SkinData", &T::SkinData);
    });
    return &info;
}

// ---- Paint steps ---------------------------------------------------------------------------------------------

int TsMaskEdit::CurrentState() {
    return SkinData()->IsHot() ? 1 : 0;
}

void TsMaskEdit::PrepareCache() {
    RenderEditCache(this, SkinData(), CurrentState() & 127, DisabledKind(), [this](TBitmap*) { PaintText(); });
}

void TsMaskEdit::PaintText() {
    TBitmap* cache = SkinData()->CacheBmp();
    const std::string text = EditText();   // with a mask: as shown, literals and blanks included
    if (cache == nullptr || text.empty()) return;
    TCanvas* canvas = cache->Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    TRect r {3, 3, Width() - 3, Height() - 3};
    if (r.right <= r.left || r.bottom <= r.top) return;
    OutputSkinnedText(canvas, ShownEditText(this, text), true, r,
        gdi::DT_WORDBREAK | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX, SkinData(), (CurrentState() & 127) != 0);
}

void TsMaskEdit::PaintBorder(gdi::HDC dc) {
    TsCommonData* data = SkinData();
    if (Parent() == nullptr || !Visible() || !Parent()->Visible() || ControlState().Contains(csCreating)) return;
    if (data->Updating) return;
    PaintEditFrame(this, data, dc, [this] { PrepareCache(); });
}

void TsMaskEdit::PaintWindowSkin(gdi::HDC dc) {
    PaintEditFromCache(this, SkinData(), dc, false, [this] { PrepareCache(); });
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsMaskEdit::WndProc(TMessage& m) {
    SkinnedMessage(m);
    BoundLabelUpkeep(m, this, BoundLabel());
}

void TsMaskEdit::SkinnedMessage(TMessage& m) {
    TsCommonData* data = SkinData();
    TacEditCommandHooks hooks;
    hooks.Refresh = [this] {
        if (HandleAllocated()) Perform(user::WM_NCPAINT, 1, 0);
        Repaint();
    };
    hooks.ParentUpdated = [this] {
        Perform(user::WM_PAINT, 0, 0);
        Perform(user::WM_NCPAINT, 1, 0);
    };
    if (EditSkinPrologue(m, this, data, hooks, [this](TMessage& msg) { TMaskEdit::WndProc(msg); }) == TacStep::Done)
        return;
    const bool wasHot = data->IsHot();
    switch (m.Msg) {
    case user::WM_PAINT: {
        const auto dc = reinterpret_cast<gdi::HDC>(m.WParam);
        if (!wasHot) PaintWindowSkin(dc);
        PaintBorder(dc);
        break;
    }
    case user::WM_NCPAINT:
        data->SetUpdating(data->IsUpdating());
        if (!data->Updating) PaintBorder(nullptr);
        return;
    case user::WM_PRINT:
        PrintEditMessage(m, this, data, !wasHot, [this] { PrepareCache(); });
        return;
    case CM_TEXTCHANGED:
        data->BGChanged = true;
        break;
    default:
        break;
    }
    if (!CommonWndProc(m, data)) TMaskEdit::WndProc(m);
    if (ControlDestroying(this)) return;
    switch (m.Msg) {
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
