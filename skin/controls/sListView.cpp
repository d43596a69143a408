// TsCustomListView: construction, the frame and background from the cache, section colours, the skinned bars
// kept in step with the native scroll information, and the messages.
#include "skin/controls/sListView.h"

#include "platform/base/Assert.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/ListView.h"
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

TsCustomListView::TsCustomListView(TComponent* owner)
    : TsLabelledControl(owner) {
    SkinData()->ControlKind = TacControlKind::ListView;
    if (SkinData()->SkinSection().empty()) SkinData()->SetSkinSection("EDIT");
    // The background comes from the skin through the list's own custom-draw handler; a handler the user
    // assigns later takes its place and paints the background itself.
    FUserCustomDraw = std::move(OnAdvancedCustomDraw);
    OnAdvancedCustomDraw = [this](TCustomListView*, const TRect& rect, TCustomDrawStage stage, bool& defaultDraw) {
        SkinCustomDraw(rect, stage, defaultDraw);
    };
}

TsCustomListView::~TsCustomListView() {
    SetSmallImages(nullptr);
    SetLargeImages(nullptr);
    UnhookHeader();
    // The window (and the header in it) goes while the header procedure can still answer: another subclass
    // over ours would otherwise keep calling a freed procedure.
    DestroyHandle();
    KORVEX_ASSERT(FHeaderHandle == nullptr || !user::IsWindow(FHeaderHandle));
    if (FHeaderInstance != nullptr) user::FreeObjectInstance(FHeaderInstance);
    FreeEditBars(FVertBar, FHorzBar);
    OnAdvancedCustomDraw = std::move(FUserCustomDraw);
}

TClass TsCustomListView::StaticClass() {
    using T = TsCustomListView;
    static const TClassInfo info = MakeClass<T, TListView>("TsCustomListView", [](TPropertyBuilder<T>& p) {
        p.Object("BoundLabel", &T::BoundLabel);
        p.Object("SkinData", &T::SkinData);
        p.Bool("HighlightHeaders", &T::HighlightHeaders, &T::SetHighlightHeaders, true);
    });
    return &info;
}

TClass TsListView::StaticClass() {
    static const TClassInfo info = MakeClass<TsListView, TsCustomListView>("TsListView");
    return &info;
}

void TsCustomListView::Loaded() {
    TsLabelledControl::Loaded();
    if (!SkinData()->Skinned()) return;
    KeepColors();
    Arrange();
    UpdateScrolls();
}

void TsCustomListView::Notification(TComponent* component, TOperation operation) {
    TListView::Notification(component, operation);
    if (operation == opRemove) ForgetEditBars(component, FVertBar, FHorzBar);
}

void TsCustomListView::KeepColors() {
    KeepItemViewColors(this, SkinData(), TacWindowColors::No);
}

void TsCustomListView::Arrange() {
    if (HandleAllocated()) user::SendMessage(WindowHandle(), user::LVM_ARRANGE, user::LVA_DEFAULT, 0);
}

// ---- Painting ------------------------------------------------------------------------------------------------

void TsCustomListView::PrepareCache() {
    RenderEditCache(this, SkinData(), 0, DefaultDisabledKind, nullptr);
}

void TsCustomListView::PaintFrame(gdi::HDC given) {
    if (ControlDestroying(this)) return;
    PaintItemViewFrame(this, SkinData(), 2, FVertBar, FHorzBar, given, [this] { PrepareCache(); }, true);
}

bool TsCustomListView::BackgroundFromParent() const {
    auto* self = const_cast<TsCustomListView*>(this);
    return QuerySkinCommand(self, SMC_ISBGFROMPARENT) || SkinData()->NeedsRepaintOnMove();
}

void TsCustomListView::TakeAskedColor() {
    const TColor answer = AskControlColor(this);
    if (answer != TColor(0xFF00FF) && answer != Color()) SetColor(answer);
}

void TsCustomListView::SkinCustomDraw(const TRect& rect, TCustomDrawStage stage, bool& defaultDraw) {
    TsCommonData* data = SkinData();
    if (FUserCustomDraw && !ControlDesigning(this)) {
        FUserCustomDraw(this, rect, stage, defaultDraw);
        return;
    }
    if (stage == cdPostErase) {
        defaultDraw = false;
        return;
    }
    if (stage != cdPrePaint && stage != cdPreErase) return;
    data->SetUpdating(data->IsUpdating());
    if (data->Updating) return;
    if (data->BGChanged) PrepareCache();
    if (!BackgroundFromParent()) {
        // The native list fills its background in the colour the skin answers: its erase stays.
        TakeAskedColor();
        return;
    }
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr || Canvas() == nullptr) return;
    gdi::HDC dc = Canvas()->Handle();
    {
        gdi::SavedDc saved(dc);
        if (stage == cdPrePaint && FHeaderClick) {
            // Items stay as they are while a header section is pressed: only the space around them is painted.
            const int count = Items()->Count();
            const bool paged = ViewStyle() == vsList || ViewStyle() == vsReport;
            const int first = paged ? int(user::SendMessage(WindowHandle(), user::LVM_GETTOPINDEX, 0, 0)) : 0;
            const int last = paged ? std::min(count,
                                         first + int(user::SendMessage(WindowHandle(), user::LVM_GETCOUNTPERPAGE, 0, 0)) + 1)
                                   : count;
            for (int i = first; i < last; ++i) {
                for (int part : {user::LVIR_ICON, user::LVIR_LABEL}) {
                    user::RECT r;
                    r.left = part;
                    if (user::SendMessage(WindowHandle(), user::LVM_GETITEMRECT, WPARAM(i), LPARAM(&r)))
                        gdi::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
                }
            }
        }
        const int offset = BorderStyle() == bsSingle ? 2 : 0;
        gdi::BitBlt(dc, 0, 0, ClientWidth(), ClientHeight(), cache->Canvas()->Handle(), offset, offset, gdi::SRCCOPY);
    }
    gdi::SetBkMode(dc, gdi::TRANSPARENT);
    user::SendMessage(WindowHandle(), user::LVM_SETTEXTBKCOLOR, 0, LPARAM(gdi::CLR_NONE));
    user::SendMessage(WindowHandle(), user::LVM_SETBKCOLOR, 0, LPARAM(gdi::CLR_NONE));
    // The cache is the erase: the native fill would paint over it.
    if (stage == cdPreErase) defaultDraw = false;
}

void TsCustomListView::TransparentRepaint(bool force) {
    if (!HandleAllocated()) return;
    if (!force && ViewStyle() != vsList && ViewStyle() != vsReport) return;
    if (BackgroundFromParent()) user::InvalidateRect(WindowHandle(), nullptr, false);
}

// ---- Scroll bars ---------------------------------------------------------------------------------------------

void TsCustomListView::BarMoved(TsScrollBar* bar, int previous) {
    if (FSettingBars || bar->Position() == previous) return;
    const int d = bar->Position() - previous;
    user::RECT item;
    item.left = user::LVIR_BOUNDS;
    const bool haveItem = Items()->Count() > 0
        && user::SendMessage(WindowHandle(), user::LVM_GETITEMRECT, 0, LPARAM(&item)) != 0;
    if (bar->Kind() == sbVertical) {
        if (ViewStyle() == vsReport) {
            Scroll(0, d * (haveItem ? item.Height() : 1));
            TransparentRepaint(false);
        } else {
            Scroll(0, d);
        }
        return;
    }
    base::ValueRollback<bool> setting(FSettingBars, true);
    // The list view scrolls by whole columns: one column a step, either way.
    if (ViewStyle() == vsList)
        Scroll((haveItem ? item.Width() : 1) * d, 0);
    else
        Scroll(d, 0);
    TransparentRepaint(false);
}

void TsCustomListView::UpdateScrolls() {
    if (FUpdatingScrolls || !HandleAllocated() || ControlState().Contains(csCreating) || ControlDestroying(this))
        return;
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading) || ControlDesigning(this)) return;
    if (!PaintsSkinned(SkinData()) || !Visible()) return;
    base::ValueRollback<bool> updating(FUpdatingScrolls, true);
    const user::DWORD style = user::GetWindowStyle(WindowHandle());
    auto info = [this, style](int which, user::DWORD flag, user::SCROLLINFO& si) {
        si.fMask = user::SIF_ALL;
        return (style & flag) != 0 && user::GetScrollInfo(WindowHandle(), which, &si) && si.nMax > si.nMin
            && si.nPage != 0 && (long long)si.nPage <= si.nMax;
    };
    user::SCROLLINFO vi;
    user::SCROLLINFO hi;
    const bool vertical = info(user::SB_VERT, user::WS_VSCROLL, vi) && Width() >= 2;
    const bool horizontal = (ViewStyle() == vsReport || Items()->Count() > 0) && Height() >= 2
        && info(user::SB_HORZ, user::WS_HSCROLL, hi);
    auto make = [this](TScrollBarKind kind) {
        TsScrollBar* bar = MakeEditBar(this, SkinData(), kind, nullptr);
        bar->ChangeHook = [this](TsScrollBar* b, int previous) { BarMoved(b, previous); };
        return bar;
    };
    base::ValueRollback<bool> setting(FSettingBars, true);
    if (vertical) {
        if (FVertBar == nullptr) FVertBar = make(sbVertical);
        FeedBar(FVertBar, vi);
    } else if (FVertBar != nullptr) {
        FVertBar->SetVisible(false);
    }
    if (horizontal) {
        if (FHorzBar == nullptr) FHorzBar = make(sbHorizontal);
        FeedBar(FHorzBar, hi);
    } else if (FHorzBar != nullptr) {
        FHorzBar->SetVisible(false);
    }
    PlaceBars(vertical, horizontal);
}

// The native range, page and position; a disabled list's bar keeps them and is only disabled.
void TsCustomListView::FeedBar(TsScrollBar* bar, const user::SCROLLINFO& si) {
    bar->SetEnabled(Enabled());
    const long long max = (long long)si.nMax - (long long)si.nPage + 1;
    if (si.nMin > si.nMax || si.nMax == 0 || max == 0 || max <= si.nMin || max > 0x7FFFFFFF) {
        bar->SetVisible(false);
        bar->SetParams(0, 0, 1);
        bar->SetPageSize(1);
        return;
    }
    const bool vertical = bar->Kind() == sbVertical;
    bar->SetSmallChange(1);
    bar->SetParams(bar->Position(), si.nMin, int(max));
    if (!vertical) bar->SetSmallChange(bar->Max() / 23 + 1);
    bar->SetPageSize(int(std::min<unsigned long long>(si.nPage, 0x7FFFFFFF)));
    {
        base::ValueRollback<bool> silent(bar->NoNotify, true);
        bar->SetPosition(si.nPos);
    }
    if (vertical) bar->SetSmallChange(9);
    bar->SetLargeChange(bar->PageSize() <= 0 ? 1 : bar->PageSize());
}

void TsCustomListView::PlaceBars(bool vertical, bool horizontal) {
    if (vertical) {
        const int w = std::min(user::GetSystemMetrics(user::SM_CYVSCROLL), Width());
        // Less the horizontal bar while it is shown.
        const bool besideShown = FHorzBar != nullptr && FHorzBar->Visible();
        const int below = besideShown ? std::min(user::GetSystemMetrics(user::SM_CXHSCROLL), Height()) : 0;
        const int x = BiDiMode() == bdRightToLeft ? Left() + 2 : Left() + Width() - w - 2;   // over the native bar
        FVertBar->SetBounds(x, Top() + 2, w, Height() - 4 - below);
        ShowEditBar(FVertBar, this);
    }
    if (horizontal) {
        const int h = std::min(user::GetSystemMetrics(user::SM_CXHSCROLL), Height());
        const int beside = FVertBar != nullptr && FVertBar->Visible() ? FVertBar->Width() : 0;
        FHorzBar->SetBounds(Left() + 2, Top() + Height() - h - 2, Width() - 4 - beside, h);
        ShowEditBar(FHorzBar, this);
    }
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsCustomListView::WndProc(TMessage& m) {
    if (m.Msg == user::WM_STYLECHANGED) {
        // The waiting messages it takes may free the list.
        TComponentWatch watch(this);
        SkinnedMessage(m);
        if (watch.Alive()) BoundLabelUpkeep(m, this, BoundLabel());
        return;
    }
    SkinnedMessage(m);
    BoundLabelUpkeep(m, this, BoundLabel());
}

void TsCustomListView::SkinnedMessage(TMessage& m) {
    TsCommonData* data = SkinData();
    if (m.Msg == user::WM_PARENTNOTIFY) {
        // The report view's header is subclassed whenever it is made, skinned or not, and let go when it goes.
        const auto event = user::LOWORD(m.WParam);
        const auto child = reinterpret_cast<user::HWND>(m.LParam);
        if ((event == user::WM_CREATE || event == user::WM_DESTROY) && child != nullptr
            && user::GetClassName(child) == "SysHeader32") {
            UnhookHeader();
            if (event == user::WM_CREATE) HookHeader(child);
        }
        TListView::WndProc(m);
        return;
    }
    if (m.Msg != SM_SKINCMD && !PaintsSkinned(data)) {
        // Unskinned the native list paints and prints; the column image rule and the common handling stay.
        if (!ControlState().Contains(csCreating)) {
            DropEmptyColumnImage(m);
            if (CommonWndProc(m, data)) return;
        }
        TListView::WndProc(m);
        return;
    }
    TacItemViewHooks hooks;
    hooks.RemoveSkin = [this] {
        FreeEditBars(FVertBar, FHorzBar);
        KeepItemViewColors(this, SkinData(), TacWindowColors::Yes);
        Arrange();
    };
    hooks.Refresh = [this, data] {
        if (!data->Skinned() || ComponentState().Contains(csLoading)) return;
        KeepColors();
        Arrange();
        Repaint();
        Perform(user::WM_NCPAINT, 0, 0);
        // The header has nothing due: it is invalidated rather than sent a paint message.
        if (FHeaderHandle != nullptr) user::InvalidateRect(FHeaderHandle, nullptr, false);
        UpdateScrolls();
    };
    hooks.ParentUpdated = [this] { Perform(user::WM_NCPAINT, 0, 0); };
    if (ItemViewSkinPrologue(m, this, data, hooks, [this](TMessage& msg) { TListView::WndProc(msg); }) == TacStep::Done)
        return;
    if (ItemViewFrameMessage(m, this, [this](gdi::HDC dc) { PaintFrame(dc); }) == TacStep::Done) return;
    switch (m.Msg) {
    case user::WM_ERASEBKGND:
        if (BackgroundFromParent()) {
            m.Result = 1;
            return;
        }
        TakeAskedColor();
        break;
    case user::LVM_SETCOLUMN:
    case user::LVM_INSERTCOLUMN:
        DropEmptyColumnImage(m);
        break;
    case CM_MOUSELEAVE:
        if (ViewStyle() == vsReport && FHotSection != -2) {
            FHotSection = -2;
            if (FHeaderHandle != nullptr) user::InvalidateRect(FHeaderHandle, nullptr, false);
        }
        break;
    default:
        break;
    }
    if (!CommonWndProc(m, data)) TListView::WndProc(m);
    if (ControlDestroying(this)) return;
    AfterMessage(m);
}

// A column without an image shows none in the header either.
void TsCustomListView::DropEmptyColumnImage(TMessage& m) {
    if (m.Msg != user::LVM_SETCOLUMN && m.Msg != user::LVM_INSERTCOLUMN) return;
    if (auto* column = reinterpret_cast<user::LVCOLUMN*>(m.LParam); column != nullptr && column->iImage == -1)
        column->mask &= ~user::LVCF_IMAGE;
}

void TsCustomListView::AfterMessage(const TMessage& m) {
    if (!SkinData()->Skinned()) return;
    switch (m.Msg) {
    case user::WM_NCHITTEST:
        if (FHighlightHeaders && FHotSection >= 0) {
            FHotSection = -2;
            if (FHeaderHandle != nullptr) user::InvalidateRect(FHeaderHandle, nullptr, false);
        }
        break;
    case user::WM_STYLECHANGED:
        if (Application != nullptr && !RunUserCode(this, [] { Application->ProcessMessages(); })) return;
        if (ControlDestroying(this) || !HandleAllocated()) break;
        Arrange();
        UpdateScrolls();
        break;
    case user::WM_MOVE:
    case user::WM_SIZE:
    case user::WM_WINDOWPOSCHANGED:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
        UpdateScrolls();
        Perform(user::WM_NCPAINT, 0, 0);
        if (FHeaderClick) TransparentRepaint(false);
        UpdateScrolls();
        break;
    case user::WM_SETREDRAW:
        Arrange();
        UpdateScrolls();
        break;
    case user::WM_MOUSEWHEEL:
        if (user::LOWORD(m.WParam) != 0) break;   // with modifier keys
        TransparentRepaint(false);
        UpdateScrolls();
        break;
    case CN_KEYDOWN:
    case CN_KEYUP:
        if (m.WParam < 33 || m.WParam > 40) break;
        TransparentRepaint(false);
        UpdateScrolls();
        break;
    default:
        break;
    }
}

}
