// What every skinned control shares: the skin-command prologue, container painting, saturating conversions.
#include "skin/controls/sControlFrame.h"

#include "platform/base/Assert.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

#include <cmath>
#include <limits>

namespace korvex::skin {

using namespace korvex::classes;

bool ControlDestroying(const TComponent* component) {
    return component != nullptr && component->ComponentState().Contains(csDestroying);
}

bool ControlDesigning(const TComponent* component) {
    return component != nullptr && component->ComponentState().Contains(csDesigning);
}

int SaturateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(value);
}

// ---- Skin commands -----------------------------------------------------------------------------------------

TacStep SkinCommandPrologue(TMessage& m, TsCommonData* data, const TacFrameHooks& hooks) {
    if (data == nullptr || m.Msg != SM_SKINCMD) return TacStep::Continue;
    TControl* control = data->OwnerControl();
    const int code = SkinCommandCode(m);
    switch (code) {
    case SMC_NEWSKIN:
    case SMC_REMOVESKIN:
    case SMC_REFRESH: {
        if (m.LParam != LPARAM(data->SkinManager())) return TacStep::Continue;
        if (hooks.StopFade) hooks.StopFade();
        auto* win = hooks.Container ? dynamic_cast<TWinControl*>(control) : nullptr;
        if (win != nullptr && code == SMC_NEWSKIN) BroadcastToChildren(win, m);
        CommonWndProc(m, data);
        if (win != nullptr && code != SMC_NEWSKIN) BroadcastToChildren(win, m);
        if (control == nullptr || ControlDestroying(control)) return TacStep::Done;
        if (code == SMC_REMOVESKIN) {
            if (hooks.RemoveRegion) hooks.RemoveRegion();
            control->Invalidate();
        } else if (code == SMC_REFRESH) {
            control->Repaint();
        } else if (hooks.NewSkin) {
            hooks.NewSkin();
        }
        return TacStep::Done;
    }
    case SMC_ISSKINNED:
        m.LParam = 1;   // always: the asker reads LParam, not Result
        return TacStep::Done;
    case SMC_STOPFADING:
        if (!hooks.StopFade) return TacStep::Continue;
        hooks.StopFade();
        return TacStep::Done;
    case SMC_PREPAREFADE:
        if (hooks.PrepareFade) hooks.PrepareFade();
        return TacStep::Continue;
    default:
        return TacStep::Continue;
    }
}

bool PaintsSkinned(const TsCommonData* data) {
    return data != nullptr && IsControlPaintable(data->OwnerControl()) && data->Skinned(true);
}

TacStep SkinCommandWhenSkinned(TMessage& m, TsCommonData* data, const TacFrameHooks& hooks) {
    if (m.Msg != SM_SKINCMD || !PaintsSkinned(data)) return TacStep::Continue;
    TControl* control = data->OwnerControl();
    switch (SkinCommandCode(m)) {
    case SMC_PARENTUPDATED:
        if (data->Updating) {
            data->SetUpdating(false);
            control->Repaint();
        }
        return TacStep::Done;
    case SMC_SETPAINTMARK:
        CommonWndProc(m, data);
        if (data->PaintMark && hooks.RenderCache) hooks.RenderCache();
        return TacStep::Done;
    case SMC_ISUPDATING:
        if (!hooks.Container) break;
        m.LParam = data->BGChanged || data->IsUpdating() ? 1 : 0;
        return TacStep::Done;
    default:
        break;
    }
    if (hooks.Container)
        CommonMessage(m, data);
    else
        CommonWndProc(m, data);
    return TacStep::Done;
}

// ---- Painting ----------------------------------------------------------------------------------------------

namespace {

// Undoes what ContainerWMPaint set up, in reverse order, however the paint ends.
class TacPaintScope {
public:
    TacPaintScope(TWinControl* control, TCanvas* canvas, TMessage& m)
        : FControl(control), FCanvas(canvas) {
        FControl->SetControlState(FControl->ControlState() + TControlState {csCustomPaint});
        FWnd = FControl->Handle();
        FDc = reinterpret_cast<gdi::HDC>(m.WParam);
        if (FDc == nullptr) {
            // The paint validates the update region; the whole control is drawn through a window DC.
            user::BeginPaint(FWnd, &FPs);
            FBegun = true;
            FDc = user::GetDC(FWnd);
            FOwnDc = FDc != nullptr;
        }
        // A paint into a given DC (a print) begins no paint: the screen's pending update stays pending.
        FSaved = std::make_unique<gdi::SavedDc>(FDc);
        if (FCanvas != nullptr) {
            FCanvas->Lock();
            FCanvas->SetHandle(FDc);
        }
    }
    ~TacPaintScope() {
        if (FCanvas != nullptr) {
            FCanvas->SetHandle(nullptr);
            FCanvas->Unlock();
        }
        FSaved.reset();
        if (FOwnDc) user::ReleaseDC(FWnd, FDc);
        if (FBegun) user::EndPaint(FWnd, &FPs);
        FControl->SetControlState(FControl->ControlState() - TControlState {csCustomPaint});
    }
    TacPaintScope(const TacPaintScope&) = delete;
    TacPaintScope& operator=(const TacPaintScope&) = delete;
    gdi::HDC Dc() const { return FDc; }

private:
    TWinControl* FControl;
    TCanvas* FCanvas;
    user::HWND FWnd = nullptr;
    gdi::HDC FDc = nullptr;
    user::PAINTSTRUCT FPs {};
    bool FBegun = false;
    bool FOwnDc = false;
    std::unique_ptr<gdi::SavedDc> FSaved;
};

}

void ContainerWMPaint(TWinControl* control, TCanvas* canvas, TMessage& m, const std::function<void(gdi::HDC)>& paint) {
    KORVEX_ASSERT(control != nullptr);
    TacPaintScope scope(control, canvas, m);
    if (scope.Dc() != nullptr) paint(scope.Dc());
}

TacStep ContainerPaintMessage(TMessage& m, TWinControl* control, TCanvas* canvas, TacHiddenPaint hidden,
    const std::function<void(gdi::HDC)>& paint) {
    switch (m.Msg) {
    case user::WM_ERASEBKGND:
        m.Result = 1;
        return TacStep::Done;
    case user::WM_PAINT:
        if (hidden == TacHiddenPaint::Skip && !control->Visible() && !ControlDesigning(control)) return TacStep::Continue;
        ContainerWMPaint(control, canvas, m, paint);
        return TacStep::Done;
    default:
        return TacStep::Continue;
    }
}

void PrintAsPaintMessages(TWinControl* control, const TMessage& m) {
    control->Perform(user::WM_PAINT, m.WParam, m.LParam);
    control->Perform(user::WM_NCPAINT, m.WParam, m.LParam);
}

TBitmap* ControlSizedCache(TControl* control, TsCommonData* data) {
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    KORVEX_ASSERT(cache != nullptr);
    if (cache->Width() != control->Width() || cache->Height() != control->Height())
        cache->SetSize(control->Width(), control->Height());
    cache->Canvas()->Font()->Assign(control->Font());
    return cache;
}

bool OutsideParentClient(const TControl* control, int inset) {
    const TWinControl* parent = control->Parent();
    if (parent == nullptr) return false;
    const TRect client = parent->ClientRect();
    auto inside = [&](int x, int y) { return x >= client.left && x < client.right && y >= client.top && y < client.bottom; };
    return !inside(control->Left() + inset, control->Top() + inset)
        || !inside(control->Left() + control->Width() - inset, control->Top() + control->Height() - inset);
}

void RenderContainerCache(TWinControl* control, TsCommonData* data, const std::function<void(TBitmap*)>& ownParts) {
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr) return;
    const TsParentCacheInfo ci = GetParentCache(data);
    RenderControlSkin(data, ci, true, 0, TRect {0, 0, control->Width(), control->Height()},
        TPoint {control->Left(), control->Top()}, cache, false);
    if (ownParts) ownParts(cache);
    data->BGChanged = false;
}

void PaintContainerSkin(TWinControl* control, TsCommonData* data, gdi::HDC dc, const std::function<void(TBitmap*)>& ownParts) {
    if (control == nullptr || data == nullptr || dc == nullptr || ControlDestroying(control)) return;
    if (control->Parent() != nullptr && control->Parent()->ControlState().Contains(csCreating)) return;
    if (!data->Skinned(true)) return;
    data->SetUpdating(data->IsUpdating());
    if (data->Updating) return;   // the parent sends SMC_PARENTUPDATED when it has painted
    const bool changed = data->BGChanged || data->CacheIncomplete;
    data->CacheIncomplete = data->NeedsRepaintOnMove() && OutsideParentClient(control, 1);
    if (changed && !data->PaintMark) RenderContainerCache(control, data, ownParts);
    PaintFrameAllSides(data, 0);
    BlitCacheExcludingChildren(control, data, TPoint {0, 0}, TPoint {0, 0}, false, dc,
        TRect {0, 0, control->Width(), control->Height()});
    ComposeGraphicChildren(dc, control);
    NotifyChildrenUpdated(control);
}

TPoint ClientOffsetInWindow(const TWinControl* control) {
    if (control == nullptr || !control->HandleAllocated()) return TPoint {0, 0};
    const TRect window = user::WindowRect(control->WindowHandle());
    const TPoint client = control->ClientToScreen(TPoint {0, 0});
    return TPoint {client.x - window.left, client.y - window.top};
}

void BlitNonClientBands(TWinControl* control, TsCommonData* data) {
    TBitmap* cache = data != nullptr ? data->CacheBmp() : nullptr;
    if (cache == nullptr || control == nullptr || !control->HandleAllocated()) return;
    const user::HWND wnd = control->WindowHandle();
    gdi::HDC dc = user::GetWindowDC(wnd);
    if (dc == nullptr) return;
    const base::ScopeExit release([&] { user::ReleaseDC(wnd, dc); });
    gdi::SavedDc saved(dc);
    const TPoint edge = ClientOffsetInWindow(control);
    gdi::ExcludeClipRect(dc, edge.x, edge.y, edge.x + control->ClientWidth(), edge.y + control->ClientHeight());
    gdi::BitBlt(dc, 0, 0, control->Width(), control->Height(), cache->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

void PaintContainerCaption(TControl* control, TsCommonData* data, TCanvas* canvas, const std::string& text, TRect r,
    unsigned alignFlags, TacAlwaysEnabled always) {
    if (canvas == nullptr || text.empty()) return;
    canvas->Font()->Assign(control->Font());
    canvas->Brush()->SetStyle(bsClear);
    const int th = canvas->TextHeight("W");
    r.top = (r.top + r.bottom - th) / 2;
    r.bottom = r.top + th;
    const bool enabled = always == TacAlwaysEnabled::Yes || control->Enabled();
    OutputSkinnedText(canvas, text, enabled, r, alignFlags | gdi::DT_NOPREFIX, data, false);
}

}
