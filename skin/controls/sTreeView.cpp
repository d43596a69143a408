// TsTreeView: construction, the frame from the cache, section colours, the skinned bars kept in step with the
// native scroll information, and the messages.
#include "skin/controls/sTreeView.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/user/MessageIds.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/TreeView.h"
#include "skin/controls/sEditFrame.h"
#include "skin/controls/sEditScrolls.h"
#include "skin/controls/sItemViewFrame.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

TsTreeView::TsTreeView(TComponent* owner)
    : TsLabelledControl(owner) {
    SkinData()->ControlKind = TacControlKind::TreeView;
    if (SkinData()->SkinSection().empty()) SkinData()->SetSkinSection("EDIT");
}

TsTreeView::~TsTreeView() {
    FreeEditBars(FVertBar, FHorzBar);
}

TClass TsTreeView::StaticClass() {
    using T = TsTreeView;
    static const TClassInfo info = MakeClass<T, TTreeView>("TsTreeView", [](TPropertyBuilder<T>& p) {
        p.Object("BoundLabel", &T::BoundLabel);
        p.Object("SkinData", &T::SkinData);
    });
    return &info;
}

void TsTreeView::AfterConstruction() {
    TsLabelledControl::AfterConstruction();
    FSavedBorderStyle = BorderStyle();
    UpdateScrolls();
}

void TsTreeView::Loaded() {
    TsLabelledControl::Loaded();
    UpdateScrolls();
    if (SkinData()->Skinned()) KeepItemViewColors(this, SkinData(), TacWindowColors::No);
}

void TsTreeView::Notification(TComponent* component, TOperation operation) {
    TTreeView::Notification(component, operation);
    if (operation == opRemove) ForgetEditBars(component, FVertBar, FHorzBar);
}

// ---- Painting ------------------------------------------------------------------------------------------------

int TsTreeView::FrameWidth() const {
    const int bevels = (BevelInner() != bvNone ? 1 : 0) + (BevelOuter() != bvNone ? 1 : 0);
    return bevels * (BevelKind() != bkNone ? 1 : 0) + BorderWidth() + 3;
}

void TsTreeView::PrepareCache() {
    TsCommonData* data = SkinData();
    // A disabled tree keeps its frame: only the native items show the state.
    RenderEditCache(this, data, data->IsHot() ? 1 : 0, TsDisabledKind {}, nullptr);
}

void TsTreeView::PaintFrame(gdi::HDC given) {
    if (ControlDestroying(this) || ComponentState().Contains(csLoading)) return;
    PaintItemViewFrame(this, SkinData(), FrameWidth(), FVertBar, FHorzBar, given, [this] { PrepareCache(); });
}

void TsTreeView::WMNCCalcSize(TMessage& m) {
    TTreeView::WMNCCalcSize(m);
    if (m.LParam == 0 || !SkinData()->Skinned() || ControlDestroying(this)) return;
    user::RECT* client = m.WParam ? &reinterpret_cast<user::NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                                  : reinterpret_cast<user::RECT*>(m.LParam);
    // Room for the painted frame beside what the native border took.
    const int d = BorderStyle() == bsSingle && !ControlState().Contains(csCreating) ? 1 : 3;
    client->left += d;
    client->top += d;
    client->right = std::max(client->left, client->right - d);
    client->bottom = std::max(client->top, client->bottom - d);
}

// ---- Scroll bars ---------------------------------------------------------------------------------------------

void TsTreeView::UpdateScrolls() {
    if (FUpdatingScrolls) return;
    if (ControlState().Contains(csCreating) || ControlDestroying(this) || !HandleAllocated()) return;
    base::ValueRollback<bool> updating(FUpdatingScrolls, true);
    if (!PaintsSkinned(SkinData()) || !Visible() || Width() < 16 || Height() < 16) {
        FreeEditBars(FVertBar, FHorzBar);
        return;
    }
    auto needed = [this](int which, user::SCROLLINFO& si) {
        si.fMask = user::SIF_ALL;
        return user::GetScrollInfo(WindowHandle(), which, &si) && si.nPage > 1
            && (long long)si.nMax - si.nMin > (long long)si.nPage - 1;
    };
    auto moved = [this](TsScrollBar* bar) { SendBarPosition(this, bar, user::SB_THUMBPOSITION); };
    user::SCROLLINFO vi;
    user::SCROLLINFO hi;
    const bool vertical = needed(user::SB_VERT, vi);
    const bool horizontal = needed(user::SB_HORZ, hi);
    if (vertical) {
        if (FVertBar == nullptr) {   // as wide as the tree allowed when it was made
            FVertBar = MakeEditBar(this, SkinData(), sbVertical, moved);
            FVertBar->SetWidth(std::min(user::GetSystemMetrics(user::SM_CXVSCROLL), Width() - 6));
        }
        FeedEditBar(FVertBar, vi, true);
        FVertBar->SetEnabled(Enabled());
    } else if (FVertBar != nullptr) {
        FVertBar->SetVisible(false);
    }
    if (horizontal) {
        if (FHorzBar == nullptr) FHorzBar = MakeEditBar(this, SkinData(), sbHorizontal, moved);
        FeedEditBar(FHorzBar, hi, true);
        FHorzBar->SetEnabled(Enabled());
    } else if (FHorzBar != nullptr) {
        FHorzBar->SetVisible(false);
    }
    PlaceBars(vertical, horizontal);
}

void TsTreeView::PlaceBars(bool vertical, bool horizontal) {
    const int b = BorderWidth() + 3;
    if (vertical) {
        const int below = horizontal ? FHorzBar->Height() : 0;
        const int x = BiDiMode() == bdRightToLeft ? Left() + b : Left() + Width() - FVertBar->Width() - b;
        FVertBar->SetBounds(x, Top() + b, FVertBar->Width(), Height() - 2 * b - below);
        ShowEditBar(FVertBar, this);
    }
    if (horizontal) {
        const int beside = vertical ? FVertBar->Width() : 0;
        FHorzBar->SetBounds(Left() + b, Top() + Height() - FHorzBar->Height() - b, Width() - 2 * b - beside,
            FHorzBar->Height());
        ShowEditBar(FHorzBar, this);
    }
}

void TsTreeView::Repaint3() {
    SkinData()->BGChanged = true;
    Repaint();
    UpdateScrolls();
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsTreeView::WndProc(TMessage& m) {
    SkinnedMessage(m);
    BoundLabelUpkeep(m, this, BoundLabel());
}

void TsTreeView::SkinnedMessage(TMessage& m) {
    TsCommonData* data = SkinData();
    TacItemViewHooks hooks;
    hooks.NewSkin = [this, data] {
        // The native border goes while skinned: the frame is painted.
        SetBorderStyle(bsSingle);
        SetBorderStyle(bsNone);
        UpdateScrolls();   // the bars are skinned from the first paint, not from the next key
    };
    hooks.RemoveSkin = [this, data] {
        SetBorderStyle(FSavedBorderStyle);
        UpdateScrolls();
        KeepItemViewColors(this, data, TacWindowColors::Yes);
        if (HandleAllocated()) Perform(CM_RECREATEWND, 0, 0);
    };
    hooks.Refresh = [this, data] {
        if (!data->Skinned()) return;
        KeepItemViewColors(this, data, TacWindowColors::No);
        for (TsScrollBar* bar : {FVertBar, FHorzBar})
            if (bar != nullptr && bar->Visible()) bar->Perform(SM_SKINCMD, WPARAM(SMC_REFRESH), LPARAM(data->SkinManager()));
        UpdateScrolls();
    };
    hooks.ParentUpdated = [this] { Perform(user::WM_NCPAINT, 0, 0); };
    if (ItemViewSkinPrologue(m, this, data, hooks, [this](TMessage& msg) { TTreeView::WndProc(msg); }) == TacStep::Done)
        return;
    if (ItemViewFrameMessage(m, this, [this](gdi::HDC dc) { PaintFrame(dc); }) == TacStep::Done) return;
    switch (m.Msg) {
    case user::WM_ERASEBKGND:
        m.Result = 1;
        return;
    case user::WM_MOVE:
    case user::WM_MOUSEWHEEL:
        data->BGChanged = true;
        Repaint();
        UpdateScrolls();
        break;
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
        TTreeView::WndProc(m);
        Repaint3();
        return;
    case CM_ENTER:
    case CM_EXIT:
    case user::WM_SETFOCUS:
    case user::WM_KILLFOCUS:
        TTreeView::WndProc(m);
        return;
    default:
        break;
    }
    if (!CommonWndProc(m, data)) TTreeView::WndProc(m);
    if (ControlDestroying(this)) return;
    switch (m.Msg) {
    case user::WM_SIZE:
        UpdateScrolls();
        data->BGChanged = true;
        Perform(user::WM_NCPAINT, 0, 0);
        break;
    case user::WM_WINDOWPOSCHANGED:
    case user::TVM_INSERTITEM:
        if (!data->Updating) UpdateScrolls();
        break;
    case user::WM_MOUSEWHEEL:   // the tree has scrolled only now: the bar shows where to
    case CN_KEYDOWN:
        UpdateScrolls();
        break;
    case CN_KEYUP: {
        const auto key = m.WParam;
        if ((key >= 33 && key <= 36) || key == 38 || key == 40 || key == 145) UpdateScrolls();
        break;
    }
    case CN_NOTIFY: {
        const auto* header = reinterpret_cast<const user::NMHDR*>(m.LParam);
        if (header != nullptr
            && (header->code == user::TVN_ENDLABELEDIT || header->code == user::TVN_DELETEITEM
                || header->code == user::TVN_ITEMEXPANDED))
            UpdateScrolls();
        break;
    }
    default:
        break;
    }
}

}
