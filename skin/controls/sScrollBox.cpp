// TsScrollBox: skin commands, the skinned paint of its client area, and clamped scrolling.
#include "skin/controls/sScrollBox.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

TsScrollBox::TsScrollBox(TComponent* owner)
    : TScrollingWinControl(owner)
    , FCommonData(std::make_unique<TsCommonData>(this, true))
    , FCanvas(std::make_unique<TControlCanvas>()) {
    FCommonData->ControlKind = ckScrollBox;
    FCanvas->SetControl(this);
    SetControlStyle(ControlStyle() + TControlStyle {csAcceptsControls});
    FBorderStyle = bsSingle;
    SetBounds(Left(), Top(), 185, 41);
}

TsScrollBox::~TsScrollBox() {
    FCanvas->SetControl(nullptr);
}

TClass TsScrollBox::StaticClass() {
    using T = TsScrollBox;
    static const TClassInfo info = MakeClass<T, TScrollingWinControl>("TsScrollBox", [](TPropertyBuilder<T>& p) {
        p.Enum("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, FormBorderStyleIdents, bsSingle);
        p.Object("SkinData", &T::SkinData);
        p.Bool("FullRepaint", &T::FullRepaint, &T::SetFullRepaint, false);
        p.Event("OnBeforeScroll", &T::OnBeforeScroll);
        p.Event("OnAfterScroll", &T::OnAfterScroll);
        p.Event("OnMouseWheelDown", &T::OnMouseWheelDown);
        p.Event("OnMouseWheelUp", &T::OnMouseWheelUp);
    });
    return &info;
}

TCanvas* TsScrollBox::Canvas() const {
    return FCanvas.get();
}

void TsScrollBox::AfterConstruction() {
    TScrollingWinControl::AfterConstruction();
    FCommonData->Loaded();
}

void TsScrollBox::Loaded() {
    TScrollingWinControl::Loaded();
    FCommonData->Loaded();
}

int TsScrollBox::ClampedDelta(TControlScrollBar* bar, int delta) const {
    if (bar == nullptr || delta == 0 || !bar->IsScrollBarVisible()) return 0;
    const int client = bar->Kind() == sbHorizontal ? ClientWidth() : ClientHeight();
    const int maxPos = std::max(bar->Range() - client, 0);
    const std::int64_t wanted = std::int64_t(bar->Position()) - delta;   // a delta of INT_MIN must not overflow
    const int pos = int(std::clamp<std::int64_t>(wanted, 0, maxPos));
    return bar->Position() - pos;
}

void TsScrollBox::ScrollBy(int deltaX, int deltaY) {
    FScrolling = true;
    if (OnBeforeScroll) OnBeforeScroll(this);
    const int dx = ClampedDelta(HorzScrollBar(), deltaX);
    const int dy = ClampedDelta(VertScrollBar(), deltaY);
    const bool skinned = PaintsSkinned(FCommonData.get());
    TMessage updating = MakeSkinCommand(SMC_SETUPDATING, 1);
    if (skinned) BroadcastToChildren(this, updating);
    // The bars move the content with them, so the two cannot drift apart.
    if (dx != 0) HorzScrollBar()->SetPosition(HorzScrollBar()->Position() - dx);
    if (dy != 0) VertScrollBar()->SetPosition(VertScrollBar()->Position() - dy);
    if (skinned) {
        TMessage done = MakeSkinCommand(SMC_SETUPDATING, 0);
        BroadcastToChildren(this, done);
        Perform(SM_SKINCMD, SkinCommandWParam(SMC_MOVED, 1), 0);
    }
    FScrolling = false;
    if (OnAfterScroll) OnAfterScroll(this);
}

void TsScrollBox::WndProc(TMessage& m) {
    TacFrameHooks hooks;
    hooks.Container = true;
    TsCommonData* data = FCommonData.get();
    hooks.RenderCache = [this, data] {
        RenderContainerCache(this, data, [this](TBitmap* cache) {
            if (OnPaint) OnPaint(cache);
        });
    };
    if (SkinCommandPrologue(m, data, hooks) == TacStep::Done) return;
    if (PaintsSkinned(data)) {
        if (SkinCommandWhenSkinned(m, data, hooks) == TacStep::Done) return;
        switch (m.Msg) {
        case user::WM_ERASEBKGND:
            m.Result = 1;
            return;
        case user::WM_PAINT:
            if (FScrolling) break;
            ContainerWMPaint(this, FCanvas.get(), m, [this, data](gdi::HDC dc) {
                PaintContainerSkin(this, data, dc, [this](TBitmap* cache) {
                    if (OnPaint) OnPaint(cache);
                });
            });
            return;
        case CM_VISIBLECHANGED:
            data->BGChanged = true;
            break;
        default:
            break;
        }
        if (!CommonWndProc(m, data)) TScrollingWinControl::WndProc(m);
        return;
    }
    TScrollingWinControl::WndProc(m);
}

}
