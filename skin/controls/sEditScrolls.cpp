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
    if (vertBar != nullptr) FillRectSolid(dc.Dc(), TRect {w - vertBar->Width() - 3, 2, w - 2, h - 2}, control->Color());
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
    bar->SetParams(0, 0, 0);
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
