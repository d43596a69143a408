// The grid side of the adapter: hooking a grid, its replacement window procedure, the skinned frame, the
// colours and the skinned scroll bars laid over the grid.
#include "skin/windows/sGridAdapter.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TColor.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sColorUtils.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

bool GridButtonFlag = false;

bool BeingDestroyed(const TComponent* c) {
    return c != nullptr && c->ComponentState().Contains(csDestroying);
}

bool Designing(const TComponent* c) {
    return c != nullptr && c->ComponentState().Contains(csDesigning);
}

bool SkinLoaded(const TsCommonData* data) {
    TsSkinManager* manager = data->SkinManager();
    return manager != nullptr && manager->LoadedSkin.Active;
}

// What the grid needs of its bars: whether each is needed, its range and its rectangle on the grid's parent.
struct TBarsPlan {
    bool Vert = false, Horz = false;
    int VMin = 0, VMax = 0, VPage = 1;
    int HMin = 0, HMax = 0;
    TRect VRect {}, HRect {};
};

// vertBar: the item's vertical bar when one exists (shown or hidden).
TBarsPlan PlanBars(const TCustomGrid* grid, int bw, const TsScrollBar* vertBar) {
    TBarsPlan plan;
    const int cxV = user::GetSystemMetrics(user::SM_CXVSCROLL), cyH = user::GetSystemMetrics(user::SM_CYHSCROLL);
    const TScrollStyle style = grid->ScrollBars();
    plan.VMin = grid->FixedRows();
    plan.VMax = grid->RowCount() - grid->VisibleRowCount();
    plan.VPage = grid->VisibleRowCount();
    plan.Vert = grid->Visible() && !Designing(grid) && IsControlPaintable(grid) && plan.VMax > plan.VMin
        && (style == ssVertical || style == ssBoth);
    if (!Designing(grid) && (style == ssHorizontal || style == ssBoth)
        && grid->ColCount() - grid->VisibleColCount() - grid->FixedCols() >= 1) {
        int w = 0;
        for (int c = 0; c < grid->FixedCols(); ++c) w += grid->ColWidths(c);
        if (vertBar != nullptr) w += vertBar->Width();
        if (grid->BorderStyle() == bsSingle) w += 2 * (2 * (grid->Ctl3D() ? 1 : 0) + 1);
        int k = -1;
        if (grid->FixedCols() <= grid->ColCount() - 1) {
            int sum = 0;
            for (int c = grid->ColCount() - 1; c >= grid->FixedCols(); --c) {
                sum += grid->ColWidths(c);
                if (grid->ClientWidth() - w < sum) break;
                ++k;
            }
        }
        plan.HMin = grid->FixedCols();
        plan.HMax = grid->ColCount() - 1 - k;
        plan.Horz = plan.HMax > plan.HMin;
    }
    const int left = grid->Left(), top = grid->Top(), width = grid->Width(), height = grid->Height();
    plan.VRect = TRect {left + width - cxV - bw, top + bw, left + width - bw, top + height - bw - (plan.Horz ? cyH : 0)};
    plan.HRect = TRect {left + bw, top + height - bw - cyH, left + width - bw - (plan.Vert ? cxV : 0), top + height - bw};
    return plan;
}

// At every update the bar comes above its grid.
void ShowOnTop(TsScrollBar* bar) {
    bar->BringToFront();
    bar->SetVisible(true);
}

void HideBar(TsScrollBar* bar) {
    if (bar != nullptr && !BeingDestroyed(bar)) bar->SetVisible(false);
}

}   // namespace

bool GridButtonDown() {
    return GridButtonFlag;
}

// ---------------------------------------------------------------------------------------------------------
// Colours

void SetGridColors(TCustomGrid* grid, TsCommonData* skinData, bool skinned, TsGridItem* item) {
    if (grid == nullptr || BeingDestroyed(grid)) return;
    if (item != nullptr && item->FSavedFontColor == -1) item->FSavedFontColor = grid->Font()->Color();
    TsSkinManager* manager = skinData != nullptr ? skinData->SkinManager() : nullptr;
    if (skinned && manager != nullptr && manager->LoadedSkin.Active) {
        const int global = manager->GetSkinIndex("GLOBALINFO");
        if (manager->IsValidSkinIndex(global)) {
            const TsGeneralData& g = manager->Sections[global];
            if (grid->FixedColor() != g.Color) grid->SetFixedColor(g.Color);
            if (grid->Color() != g.HotColor) grid->SetColor(g.HotColor);
        }
        if (manager->IsValidSkinIndex(skinData->SkinIndex))
            grid->Font()->SetColor(manager->Sections[skinData->SkinIndex].HotFontColor[1]);
        return;
    }
    if (grid->Parent() != nullptr && grid->FixedColor() != grid->Parent()->Color())
        grid->SetFixedColor(grid->Parent()->Color());
    grid->Font()->SetColor(item != nullptr && item->FSavedFontColor != -1 ? item->FSavedFontColor : clWindowText);
    grid->SetColor(clWindow);
}

// ---------------------------------------------------------------------------------------------------------
// Hooking

void TsGridAdapter::HookControl(TsGridItem* item, TCustomGrid* grid) {
    if (item == nullptr || grid == nullptr) return;
    if (grid->Parent() != nullptr && QuerySkinCommand(grid, SMC_ISSKINNED)) return;
    if (item->FGrid != nullptr && item->FGrid != grid) UnhookControl(item);
    if (item->FGrid == grid) return;   // hooked already: its procedure is ours
    item->FCtrlName = grid->Name();
    item->FGrid = grid;
    grid->FreeNotification(this);   // whoever owns it, its going reaches Notification
    item->SkinData()->SetOwnerControl(grid);
    if (item->SkinData()->SkinSection().empty() || item->SkinData()->SkinSection() == "UNKNOWN")
        item->SkinData()->SetSkinSection(FDefaultSection);
    item->SkinData()->UpdateIndexes();
    item->FOldWndProc = grid->WindowProc;
    grid->WindowProc = [item](TMessage& m) { item->GridWndProc(m); };
    item->SkinData()->BGChanged = true;
    if (grid->Parent() != nullptr && grid->HandleAllocated()) user::SendMessage(grid->Handle(), user::WM_NCPAINT, 0, 0);
    UpdateScrollBars(item);
}

void TsGridAdapter::UnhookControl(TsGridItem* item) {
    if (!BeingDestroyed(this)) FreeBars(item);
    TCustomGrid* grid = item->FGrid;
    if (grid == nullptr || Application == nullptr || Application->Terminated()) return;
    if (item->FOldWndProc) grid->WindowProc = std::move(item->FOldWndProc);
    item->FOldWndProc = nullptr;
    if (!BeingDestroyed(grid)) {
        SetGridColors(grid, item->SkinData(), false, item);
        grid->Perform(user::WM_NCPAINT, 0, 0);
    }
    item->FGrid = nullptr;
    item->SkinData()->SetOwnerControl(nullptr);
}

void TsGridAdapter::FreeBars(TsGridItem* item) {
    for (TsScrollBar** bar : {&item->FVertBar, &item->FHorzBar}) {
        TsScrollBar* b = *bar;
        *bar = nullptr;
        if (b != nullptr && !BeingDestroyed(b)) b->Free();
    }
}

// ---------------------------------------------------------------------------------------------------------
// The grid's procedure

void TsGridItem::CallOld(TMessage& message) {
    if (FOldWndProc) FOldWndProc(message);
}

void TsGridItem::GridWndProc(TMessage& m) {
    TCustomGrid* grid = FGrid;
    if (grid == nullptr) return;
    TsGridAdapter* adapter = Adapter();
    const bool skinned = !BeingDestroyed(grid) && grid->Parent() != nullptr && FSkinData->Skinned() && SkinLoaded(FSkinData.get());
    if (m.Msg == SM_SKINCMD) {
        SkinCommand(m, skinned);
        return;
    }
    if (!skinned || adapter == nullptr) {
        CallOld(m);
        return;
    }
    auto bars = [&] {
        if (!FUpdating && FGrid != nullptr) adapter->UpdateScrollBars(this);
    };
    switch (m.Msg) {
    case user::WM_NCPAINT:
        if (!grid->Visible() && !Designing(grid)) return;
        if (Designing(grid) || !grid->InheritsFrom(TDrawGrid::StaticClass())) CallOld(m);
        PaintFrame();
        return;
    case user::WM_SIZE:
        if (grid->Visible() || Designing(grid)) FSkinData->BGChanged = true;
        CallOld(m);
        grid->Perform(user::WM_NCPAINT, 0, 0);
        if (grid->Visible()) bars();
        return;
    case user::WM_ENABLE:
        CallOld(m);
        grid->Invalidate();
        bars();
        return;
    case user::WM_KEYDOWN:
    case user::WM_KEYUP:
    case CM_INVALIDATE:
        CallOld(m);
        if (FGrid == nullptr) return;
        {
            base::ValueRollback<bool> updating(FUpdating, true);
            if (FVertBar != nullptr) FVertBar->SetPosition(grid->TopRow());
            if (FHorzBar != nullptr) FHorzBar->SetPosition(grid->LeftCol());
        }
        bars();
        return;
    case user::WM_HSCROLL: {
        base::ValueRollback<bool> updating(FUpdating, true);
        CallOld(m);
        return;
    }
    case user::WM_VSCROLL: {
        base::ValueRollback<bool> updating(FUpdating, true);
        CallOld(m);
        if (FGrid != nullptr && FVertBar != nullptr) FVertBar->SetPosition(grid->TopRow());
        return;
    }
    case user::WM_MOUSEWHEEL:
        CallOld(m);
        bars();
        return;
    case user::WM_LBUTTONDOWN:
        CallOld(m);
        GridButtonFlag = true;
        return;
    case user::WM_LBUTTONUP:
        CallOld(m);
        if (GridButtonFlag) bars();
        GridButtonFlag = false;
        return;
    case user::WM_EXITSIZEMOVE:
        FSkinData->BGChanged = true;
        CallOld(m);
        bars();
        return;
    case CM_SHOWINGCHANGED:
        CallOld(m);
        bars();
        return;
    case user::WM_PRINT:
        grid->Perform(user::WM_PAINT, m.WParam, m.LParam);
        grid->Perform(user::WM_NCPAINT, m.WParam, m.LParam);
        return;
    default:
        CallOld(m);
    }
}

void TsGridItem::SkinCommand(TMessage& m, bool skinned) {
    TCustomGrid* grid = FGrid;
    TsGridAdapter* adapter = Adapter();
    const int code = SkinCommandCode(m);
    auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
    const bool ours = manager == FSkinData->SkinManager();
    if (code == SMC_ISSKINNED) {
        m.LParam = 1;
        return;
    }
    if (!skinned) {
        if (code == SMC_NEWSKIN && ours) {
            FUpdating = false;
            FSkinData->UpdateIndexes();
        } else if (code == SMC_REMOVESKIN && ours && !BeingDestroyed(grid)) {
            FSkinData->BorderIndex = FSkinData->SkinIndex = -1;
            if (adapter != nullptr) adapter->FreeBars(this);
            SetGridColors(grid, FSkinData.get(), false, this);
            if (grid->HandleAllocated()) user::SendMessage(grid->Handle(), CM_RECREATEWND, 0, 0);
        }
        return;
    }
    switch (code) {
    case SMC_NEWSKIN:
        if (!ours) return;
        FSkinData->BGChanged = true;
        FUpdating = false;
        FSkinData->UpdateIndexes();
        return;
    case SMC_REMOVESKIN:
        if (!ours) return;
        if (adapter != nullptr) adapter->FreeBars(this);
        if (!BeingDestroyed(grid)) SetGridColors(grid, FSkinData.get(), false, this);
        return;
    case SMC_REFRESH:
        if (!ours) return;
        FSkinData->BGChanged = true;
        if (grid->HandleAllocated()) user::SendMessage(grid->Handle(), user::WM_NCPAINT, 0, 0);
        if (FSkinData->SkinManager()->GetSkinIndex("GLOBALINFO") >= 0) SetGridColors(grid, FSkinData.get(), true, this);
        grid->Invalidate();
        if (!FUpdating && adapter != nullptr) adapter->UpdateScrollBars(this);
        return;
    case SMC_GETCACHE:
        AnswerCacheQuery(m, TsParentCacheInfo {FSkinData->CacheBmp(), 0, 0, FSkinData->CacheBmp() != nullptr});
        return;
    case SMC_PARENTUPDATED:
        if (FSkinData->Updating && (grid->Visible() || Designing(grid))) {
            FSkinData->Updating = false;
            if (grid->HandleAllocated()) user::SendMessage(grid->Handle(), user::WM_NCPAINT, 0, 0);
        }
        return;
    default:
        return;
    }
}

// ---------------------------------------------------------------------------------------------------------
// The frame

void TsGridItem::PrepareCache() {
    if (!FSkinData->BGChanged) return;
    FSkinData->InitCacheBmp();
    TBitmap* cache = FSkinData->CacheBmp();
    cache->SetPixelFormat(pf24bit);
    cache->SetSize(FGrid->Width(), FGrid->Height());
    const TsParentCacheInfo ci = GetParentCache(FSkinData.get());
    TsSkinManager* manager = FSkinData->SkinManager();
    if (manager != nullptr && manager->IsValidSkinIndex(FSkinData->SkinIndex))
        RenderControlSkin(FSkinData.get(), ci, true, 0, TRect {0, 0, FGrid->Width(), FGrid->Height()},
            TPoint {FGrid->Left(), FGrid->Top()}, cache, false);
    FSkinData->BGChanged = false;
}

void TsGridItem::PaintFrame() {
    TCustomGrid* grid = FGrid;
    FSkinData->SetUpdating(FSkinData->IsUpdating());
    TsGridAdapter* adapter = Adapter();
    if (FSkinData->Updating || grid->ControlState().Contains(csCreating)
        || (adapter != nullptr && adapter->ComponentState().Contains(csLoading))
        || (!grid->Visible() && !Designing(grid)) || !grid->HandleAllocated())
        return;
    PrepareCache();
    const gdi::HDC dc = user::GetWindowDC(grid->Handle());
    if (dc == nullptr) return;
    {
        base::ScopeExit release([&] { user::ReleaseDC(grid->Handle(), dc); });
        gdi::SavedDc saved(dc);
        PaintFrameAllSides(FSkinData.get(), 0);
        const gdi::HDC src = FSkinData->CacheBmp()->Canvas()->Handle();
        const int w = grid->Width(), h = grid->Height();
        auto copy = [&](int x, int y, int cx, int cy) { gdi::BitBlt(dc, x, y, cx, cy, src, x, y, gdi::SRCCOPY); };
        const bool vert = FVertBar != nullptr && FVertBar->Visible() && !Designing(grid);
        const bool horz = FHorzBar != nullptr && FHorzBar->Visible();
        if (grid->BorderStyle() == bsSingle) {
            const int b = std::min((w - grid->ClientWidth()) / 2, grid->Ctl3D() ? 2 : 1);
            copy(0, 0, b, h);
            copy(b, 0, w, b);
            copy(w - b, b, b, h);
            copy(b, h - b, w - b, h);
            if (vert) copy(w - FVertBar->Width(), 0, FVertBar->Width(), h);
            if (horz) copy(0, h - FHorzBar->Height(), w, FHorzBar->Height());
        } else if (vert && horz) {
            copy(w - FVertBar->Width(), h - FHorzBar->Height(), FVertBar->Width(), FHorzBar->Height());
        }
    }
    if (!FUpdating && adapter != nullptr) adapter->UpdateScrollBars(this);
}

// ---------------------------------------------------------------------------------------------------------
// Scroll bars

TsScrollBar* TsGridAdapter::MakeBar(TsGridItem* item, TScrollBarKind kind) {
    TCustomGrid* grid = item->FGrid;
    auto* bar = Create<TsScrollBar>(this);
    const std::string parentName = grid->Parent() != nullptr ? grid->Parent()->Name() : std::string();
    bar->SetName(std::string(kind == sbVertical ? "VSBar" : "HSBar") + grid->Name() + parentName);
    bar->SetVisible(false);
    bar->SetHostControl(grid);
    bar->SetTag(reinterpret_cast<std::intptr_t>(item));
    bar->ChangeHook = [this](TsScrollBar* b, int previous) { BarChanged(b, previous); };
    bar->SetTabStop(false);
    bar->SetKind(kind);
    bar->SetSmooth(true);
    bar->SetParent(grid->Parent());
    return bar;
}

void TsGridAdapter::UpdateScrollBars(TsGridItem* item) {
    TCustomGrid* grid = item != nullptr ? item->FGrid : nullptr;
    if (grid == nullptr || item->FUpdating || BeingDestroyed(this) || grid->Parent() == nullptr
        || !grid->Parent()->Showing() || !IsControlPaintable(grid) || !grid->HandleAllocated())
        return;
    item->FBorderWidth = grid->BorderStyle() == bsSingle ? (grid->Ctl3D() ? 2 : 1) : 0;
    const TBarsPlan plan = PlanBars(grid, item->FBorderWidth, item->FVertBar);
    if (!SkinLoaded(item->SkinData()) || !grid->Visible()) {
        HideBar(item->FVertBar);
        HideBar(item->FHorzBar);
        return;
    }
    if (!plan.Vert) HideBar(item->FVertBar);
    if (!plan.Horz) HideBar(item->FHorzBar);
    if (plan.Vert) {
        if (item->FVertBar == nullptr) item->FVertBar = MakeBar(item, sbVertical);
        TsScrollBar* bar = item->FVertBar;
        base::ValueRollback<bool> suppressed(bar->PaintingSuppressed, true);
        bar->SetMax(plan.VMax);
        bar->SetSmallChange(1);
        bar->SetPageSize(plan.VPage);
        bar->SetLargeChange(std::max(1, plan.VPage));
        {
            base::ValueRollback<bool> updating(item->FUpdating, true);
            bar->SetMin(plan.VMin);
        }
        bar->SetEnabled(grid->Enabled());
        bar->SetPosition(grid->TopRow());
        bar->SetBoundsRect(plan.VRect);
        ShowOnTop(bar);
    }
    if (plan.Horz) {
        if (item->FHorzBar == nullptr) item->FHorzBar = MakeBar(item, sbHorizontal);
        TsScrollBar* bar = item->FHorzBar;
        base::ValueRollback<bool> suppressed(bar->PaintingSuppressed, true);
        bar->SetMax(plan.HMax);
        bar->SetSmallChange(1);
        bar->SetPageSize(1);
        bar->SetLargeChange(1);
        bar->SetMin(plan.HMin);
        bar->SetEnabled(grid->Enabled());
        bar->SetBoundsRect(plan.HRect);
        ShowOnTop(bar);
    }
}

void TsGridAdapter::BarChanged(TsScrollBar* bar, int previousPosition) {
    auto* item = reinterpret_cast<TsGridItem*>(bar->Tag());
    if (item == nullptr || item->FUpdating || item->FGrid == nullptr) return;
    TCustomGrid* grid = item->FGrid;
    if (bar == item->FHorzBar) {
        base::ValueRollback<bool> updating(item->FUpdating, true);
        base::ValueRollback<bool> suppressed(bar->PaintingSuppressed, true);
        grid->SetLeftCol(bar->Position());
    } else if (bar == item->FVertBar) {
        if (grid->ControlState().Contains(csCreating) || BeingDestroyed(grid) || previousPosition == bar->Position()) return;
        if (!grid->Visible()) return;
        base::ValueRollback<bool> updating(item->FUpdating, true);
        base::ValueRollback<bool> suppressed(bar->PaintingSuppressed, true);
        grid->SetTopRow(bar->Position());
    }
}

}
