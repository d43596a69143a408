// The skinned scroll bars of the multi-line edits.
#include "skin/controls/sEditScrolls.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TWinControl.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/controls/sControlFrame.h"
#include "skin/controls/sEditFrame.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sScrollBar.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

TsScrollBar* MakeEditBar(TWinControl* host, TsCommonData* data, TScrollBarKind kind,
    std::function<void(TsScrollBar*)> moved) {
    auto* bar = Create<TsScrollBar>(host);
    bar->SkinData()->SetSkinManager(data->OwnSkinManager());
    bar->SetVisible(false);
    bar->SetHostControl(host);
    bar->ChangeHook = [moved = std::move(moved)](TsScrollBar* b, int) {
        if (moved) moved(b);
    };
    bar->SetTabStop(false);
    bar->SetKind(kind);
    if (kind == sbVertical)
        bar->SetWidth(user::GetSystemMetrics(user::SM_CXVSCROLL));
    else
        bar->SetHeight(user::GetSystemMetrics(user::SM_CYHSCROLL));
    bar->SetParent(host->Parent());
    return bar;
}

void ShowEditBar(TsScrollBar* bar, TControl* host) {
    if (bar == nullptr) return;
    if (host != nullptr && bar->Parent() != host->Parent()) bar->SetParent(host->Parent());   // the host moved
    if (bar->Visible() && bar->HandleAllocated() && user::IsWindowVisible(bar->WindowHandle())) return;
    ShowSkinScrollBar(bar, host);
}

void PaintFrameBesideBars(TWinControl* control, TsCommonData* data, TsScrollBar* vertBar, TsScrollBar* horzBar,
    const std::function<void()>& prepare) {
    if (!control->HandleAllocated()) return;
    TacFrameDc dc(control->WindowHandle(), nullptr);
    if (dc.Dc() == nullptr) return;
    if (data->BGChanged && prepare) prepare();
    PaintFrameAllSides(data, 0);
    BlitFrameStrips(control, data->CacheBmp(), dc.Dc());
    const int w = control->Width();
    const int h = control->Height();
    if (vertBar != nullptr) {
        const bool onLeft = vertBar->Left() - control->Left() < w / 2;
        const TRect gap = onLeft ? TRect {2, 2, vertBar->Width() + 3, h - 2} : TRect {w - vertBar->Width() - 3, 2, w - 2, h - 2};
        FillRectSolid(dc.Dc(), gap, control->Color());
    }
    if (horzBar != nullptr) {
        const int right = vertBar != nullptr ? w - vertBar->Width() - 2 : w - 2;
        FillRectSolid(dc.Dc(), TRect {2, h - horzBar->Height() - 3, right, h - 2}, control->Color());
    }
}

void FreeEditBar(TsScrollBar*& bar) {
    TsScrollBar* gone = bar;
    bar = nullptr;
    delete gone;
}

void FreeEditBars(TsScrollBar*& vertBar, TsScrollBar*& horzBar) {
    FreeEditBar(vertBar);
    FreeEditBar(horzBar);
}

void ForgetEditBars(const TComponent* component, TsScrollBar*& vertBar, TsScrollBar*& horzBar) {
    if (component == nullptr) return;
    if (component == vertBar) vertBar = nullptr;
    if (component == horzBar) horzBar = nullptr;
}

TacEditBarsStep EditBarsStep(TWinControl* host, const TsCommonData* data) {
    if (host->ControlState().Contains(csCreating) || ControlDestroying(host) || host->Parent() == nullptr
        || !host->HandleAllocated())
        return TacEditBarsStep::NotNow;
    if (!PaintsSkinned(data) || (!host->Visible() && !ControlDesigning(host)) || host->Width() < 16
        || host->Height() < 16)
        return TacEditBarsStep::Free;
    return TacEditBarsStep::Update;
}

TsScrollBar* KeepEditBar(TsScrollBar*& bar, bool wanted, TWinControl* host, TsCommonData* data, TScrollBarKind kind,
    const std::function<void(TsScrollBar*)>& moved) {
    if (!wanted) {
        FreeEditBar(bar);
        return nullptr;
    }
    if (bar == nullptr) bar = MakeEditBar(host, data, kind, moved);
    return bar;
}

void PlaceEditBars(TWinControl* host, TsScrollBar* vertBar, TsScrollBar* horzBar, int leftInset) {
    const int cx = user::GetSystemMetrics(user::SM_CXVSCROLL);
    const int cy = user::GetSystemMetrics(user::SM_CYHSCROLL);
    if (vertBar != nullptr) {
        const int x = leftInset >= 0 ? host->Left() + leftInset : host->Left() + host->Width() - vertBar->Width() - 2;
        vertBar->SetBounds(x, host->Top() + 2, vertBar->Width(),
            host->Height() - 4 - (horzBar != nullptr ? cy : 0));
        ShowEditBar(vertBar, host);
    }
    if (horzBar != nullptr) {
        horzBar->SetBounds(host->Left() + 2, host->Top() + host->Height() - cy - 2,
            host->Width() - 4 - (vertBar != nullptr ? cx : 0), cy);
        ShowEditBar(horzBar, host);
    }
}

void FeedEditBar(TsScrollBar* bar, const user::SCROLLINFO& si, bool enabled, bool withValues) {
    if (bar == nullptr) return;
    base::ValueRollback<bool> quiet(bar->NoNotify, true);
    // The last position a page can start at (a page of 0 still shows one position).
    const long long top = (long long)si.nMax - (long long)std::max(si.nPage, 1u) + 1;
    const int page = int(std::min<unsigned long long>(si.nPage, 0x7FFFFFFF));
    if (withValues && enabled && si.nMax >= si.nMin && top > si.nMin) {
        bar->SetEnabled(true);
        bar->SetParams(si.nPos, si.nMin, int(top));
        bar->SetPageSize(page);
        bar->SetLargeChange(std::clamp(page, 1, 32767));
        return;
    }
    bar->SetParams(-1, 0, 1);   // the position clamps to 0
    bar->SetPageSize(page);
    bar->SetEnabled(false);
}

void SendBarPosition(TWinControl* host, TsScrollBar* bar, user::WORD code) {
    if (host == nullptr || bar == nullptr || !host->HandleAllocated()) return;
    const bool vertical = bar->Kind() == sbVertical;
    const int position = bar->Position();
    if (position > 0xFFFF) {
        user::SCROLLINFO si;
        si.fMask = user::SIF_POS;
        si.nPos = position;
        user::SetScrollInfo(host->WindowHandle(), vertical ? user::SB_VERT : user::SB_HORZ, &si, false);
    }
    user::SendMessage(host->WindowHandle(), vertical ? user::WM_VSCROLL : user::WM_HSCROLL,
        user::MAKEWPARAM(code, user::WORD(position & 0xFFFF)), 0);
}

}
