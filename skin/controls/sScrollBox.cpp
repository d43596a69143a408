// TsScrollBox: construction, skin commands, the skinned paint of its client area and its frame strips.
#include "skin/controls/sScrollBox.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

TsScrollBox::TsScrollBox(TComponent* owner)
    : TScrollingWinControl(owner)
    , FCommonData(std::make_unique<TsCommonData>(this, true))
    , FCanvas(std::make_unique<TControlCanvas>()) {
    FCommonData->ControlKind = TacControlKind::ScrollBox;
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

int TsScrollBox::FrameWidth() const {
    return FBorderStyle == bsSingle ? 2 : 0;
}

void TsScrollBox::AfterConstruction() {
    TScrollingWinControl::AfterConstruction();
    FCommonData->Loaded();
}

void TsScrollBox::Loaded() {
    TScrollingWinControl::Loaded();
    FCommonData->Loaded();
    UpdateScrolls();
}

void TsScrollBox::Notification(TComponent* component, TOperation operation) {
    TScrollingWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FVertBar) FVertBar = nullptr;
    if (component == FHorzBar) FHorzBar = nullptr;
    if (component == FCorner) FCorner = nullptr;
}

// ---- Painting ----------------------------------------------------------------------------------------------
// The cache covers the whole window: the client area shows it from (f, f), the frame strips around that.

void TsScrollBox::PrepareCache() {
    TsCommonData* data = FCommonData.get();
    data->SetUpdating(data->IsUpdating());
    const bool changed = data->BGChanged || data->CacheIncomplete;
    data->CacheIncomplete = data->NeedsRepaintOnMove() && OutsideParentClient(this, 1);
    if (!changed || data->PaintMark) return;
    RenderContainerCache(this, data, [this](TBitmap* cache) {
        if (OnPaint) OnPaint(cache);
    });
    // The bars show the box's cache through their see-through parts.
    for (TsScrollBar* bar : {FVertBar, FHorzBar})
        if (bar != nullptr && bar->Visible()) bar->SkinData()->Invalidate();
    if (FCorner != nullptr && FCorner->Visible()) FCorner->Invalidate();
}

void TsScrollBox::PaintClient(gdi::HDC dc) {
    TsCommonData* data = FCommonData.get();
    if (Parent() != nullptr && Parent()->ControlState().Contains(csCreating)) return;
    PrepareCache();
    if (data->Updating) return;   // the parent sends SMC_PARENTUPDATED when it has painted
    PaintFrameAllSides(data, 0);
    const int f = FrameWidth();
    BlitCacheExcludingChildren(this, data, TPoint {f, f}, TPoint {0, 0}, false, dc,
        TRect {0, 0, Width() - 2 * f, Height() - 2 * f});
    ComposeGraphicChildren(dc, this);
    NotifyChildrenUpdated(this);
}

void TsScrollBox::PaintFrameStrips(gdi::HDC dc) {
    TBitmap* cache = FCommonData->CacheBmp();
    const int f = FrameWidth();
    if (cache == nullptr || dc == nullptr || f == 0) return;
    const gdi::HDC src = cache->Canvas()->Handle();
    const int w = Width(), h = Height();
    const TRect strips[] = {
        {0, 0, f, h},   // left
        {f, 0, w, f},   // top
        {f, h - f, w, h},   // bottom
        {w - f, f, w, h - f},   // right
    };
    for (const TRect& r : strips)
        gdi::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, src, r.left, r.top, gdi::SRCCOPY);
}

void TsScrollBox::NcPaint() {
    if (!HandleAllocated()) return;
    const user::HWND wnd = WindowHandle();
    const gdi::HDC dc = user::GetWindowDC(wnd);
    if (dc == nullptr) return;
    PrepareCache();
    PaintFrameAllSides(FCommonData.get(), 0);
    PaintFrameStrips(dc);
    user::ReleaseDC(wnd, dc);
}

// ---- Messages ----------------------------------------------------------------------------------------------

void TsScrollBox::WndProc(TMessage& m) {
    TacFrameHooks hooks;
    hooks.Container = true;
    TsCommonData* data = FCommonData.get();
    hooks.RenderCache = [this, data] {
        RenderContainerCache(this, data, [this](TBitmap* cache) {
            if (OnPaint) OnPaint(cache);
        });
    };
    if (m.Msg == SM_SKINCMD) {
        const int code = SkinCommandCode(m);
        const bool ours = m.LParam == LPARAM(data->SkinManager());
        const TacStep step = SkinCommandPrologue(m, data, hooks);
        if (ours && !ControlDestroying(this)) {
            if (code == SMC_REMOVESKIN) {
                RestoreNativeBars();
                if (HandleAllocated())
                    user::RedrawWindow(WindowHandle(), nullptr, nullptr,
                        user::RDW_INVALIDATE | user::RDW_FRAME | user::RDW_ALLCHILDREN);
            } else if (code == SMC_REFRESH) {
                UpdateScrolls();
                if (HandleAllocated())
                    user::RedrawWindow(WindowHandle(), nullptr, nullptr,
                        user::RDW_INVALIDATE | user::RDW_FRAME | user::RDW_UPDATENOW);
            }
        }
        if (step == TacStep::Done) return;
    }
    if (PaintsSkinned(data)) {
        if (SkinCommandWhenSkinned(m, data, hooks) == TacStep::Done) {
            // The cache is published with the client area's origin inside it.
            if (m.Msg == SM_SKINCMD && SkinCommandCode(m) == SMC_GETCACHE) {
                TsParentCacheInfo* slot = CacheQuerySlot(m);
                if (slot != nullptr && slot->Ready) {
                    slot->X += FrameWidth();
                    slot->Y += FrameWidth();
                }
            }
            return;
        }
        switch (m.Msg) {
        case user::WM_ERASEBKGND:
            m.Result = 1;
            return;
        case user::WM_PAINT:
            if (FScrolling) break;
            ContainerWMPaint(this, FCanvas.get(), m, [this](gdi::HDC dc) { PaintClient(dc); });
            return;
        case user::WM_NCPAINT:
            NcPaint();
            m.Result = 0;
            return;
        case user::WM_HSCROLL:
        case user::WM_VSCROLL:
            if (ScrollMessage(m)) return;
            break;
        case CM_FOCUSCHANGED:
            FocusInView(reinterpret_cast<TControl*>(m.LParam));
            break;
        case CM_VISIBLECHANGED:
            data->BGChanged = true;
            TScrollingWinControl::WndProc(m);
            if (!FScrolling) UpdateScrolls();
            return;
        case CM_CONTROLLISTCHANGE:
        case user::WM_PARENTNOTIFY:
            TScrollingWinControl::WndProc(m);
            UpdateScrolls();
            return;
        default:
            break;
        }
        if (!CommonWndProc(m, data)) TScrollingWinControl::WndProc(m);
        return;
    }
    TScrollingWinControl::WndProc(m);
    // A box shown or hidden while unskinned hides its skinned bars with it.
    if (m.Msg == CM_VISIBLECHANGED) UpdateScrolls();
}

}
