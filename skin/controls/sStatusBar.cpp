// TsStatusBar: the skinned paint of panels, dividers, texts and the grip into the cache, and its messages.
#include "skin/controls/sStatusBar.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/controls/StatusBar.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

TsStatusBar::TsStatusBar(TComponent* owner)
    : TStatusBar(owner), FCommonData(std::make_unique<TsCommonData>(this, true)) {
    FCommonData->ControlKind = TacControlKind::StatusBar;
    SetControlStyle(ControlStyle() + TControlStyle {csAcceptsControls, csOpaque});
}

TsStatusBar::~TsStatusBar() = default;

TClass TsStatusBar::StaticClass() {
    using T = TsStatusBar;
    static const TClassInfo info = MakeClass<T, TStatusBar>("TsStatusBar", [](TPropertyBuilder<T>& p) {
        p.Object("SkinData", &T::SkinData);
    });
    return &info;
}

void TsStatusBar::AfterConstruction() {
    TStatusBar::AfterConstruction();
    FCommonData->Loaded();
}

void TsStatusBar::Loaded() {
    TStatusBar::Loaded();
    FCommonData->Loaded();
}

int TsStatusBar::PanelLeft(int index) const {
    // 64-bit sum: stored widths are not bounded.
    long long left = 0;
    for (int i = 0; i < index && i < Panels()->Count(); ++i)
        if (const TStatusPanel* panel = Panels()->Items(i)) left += (long long)panel->Width() + 1;
    return SaturateToInt(double(left));
}

TRect TsStatusBar::PanelRect(int index) const {
    const int left = PanelLeft(index);
    const TStatusPanel* panel = Panels()->Items(index);
    const bool last = index + 1 >= Panels()->Count();
    const int right = last || panel == nullptr ? Width() : SaturateToInt(double(left) + panel->Width() + 1);
    return TRect {left, 0, right, Height()};
}

TacFrameHooks TsStatusBar::Hooks() {
    TacFrameHooks hooks;
    hooks.Container = true;
    hooks.RenderCache = [this] { RenderCache(); };
    return hooks;
}

// ---- Painting ------------------------------------------------------------------------------------------------

void TsStatusBar::PrepareStatusCache() {
    TsCommonData* data = FCommonData.get();
    bool parentIncomplete = false;
    if (Parent() != nullptr) parentIncomplete = QuerySkinCommand(Parent(), SMC_ISCACHEINCOMPLETE);
    data->BGChanged = data->BGChanged || data->CacheIncomplete || parentIncomplete;
    data->CacheIncomplete = OutsideParentClient(this, 0);
    if (data->BGChanged && !data->PaintMark) RenderCache();
}

void TsStatusBar::RenderCache() {
    TsCommonData* data = FCommonData.get();
    const TsParentCacheInfo ci = GetParentCache(data);
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr) return;
    RenderControlSkin(data, ci, false, 0, TRect {0, 0, Width(), Height()}, TPoint {Left(), Top()}, cache, false);
    PaintPanels(cache);
    if (GripShown()) PaintGrip(cache);
    data->BGChanged = false;
}

void TsStatusBar::PaintPanels(TBitmap* cache) {
    if (SimplePanel()) {
        // One panel over (0, 1, Width - 1, Height - 1), shrunk by a pixel as every panel is.
        PaintPanel(cache, SimpleText(), TRect {1, 2, Width() - 2, Height() - 2}, taLeftJustify, true);
        return;
    }
    TCanvas* canvas = Canvas();
    const int count = Panels()->Count();
    for (int i = 0; i < count; ++i) {
        TStatusPanel* panel = Panels()->Items(i);
        if (panel == nullptr) continue;
        const TRect whole = PanelRect(i);
        TRect r = whole;
        r.left += 1, r.top += 1, r.right -= 1, r.bottom -= 1;
        if (panel->Style() == psOwnerDraw && OnDrawPanel) {
            // The owner draws into the cache through the bar's own canvas.
            gdi::SavedDc saved(cache->Canvas()->Handle());
            canvas->SetHandle(cache->Canvas()->Handle());
            canvas->Font()->Assign(Font());
            canvas->Brush()->SetColor(Color());
            OnDrawPanel(this, panel, whole);
            canvas->SetHandle(nullptr);
            if (!IsControlPaintable(this)) return;
            continue;
        }
        PaintPanel(cache, panel->Text(), r, panel->Alignment(), i + 1 == count);
    }
}

void TsStatusBar::PaintPanel(TBitmap* cache, const std::string& text, TRect r, TAlignment alignment, bool last) {
    TsCommonData* data = FCommonData.get();
    TsSkinManager* manager = data->SkinManager();
    TRect t {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (manager != nullptr && manager->IsValidSkinIndex(data->SkinIndex)) {
        TsParentCacheInfo self;   // holes of the masks keep the background already in the cache
        FillCacheInfo(self, cache, 0, 0);
        const int mask = manager->GetMaskIndex(data->SkinIndex, data->SkinSection(), "STATUSPANELMASK");
        if (manager->IsValidImgIndex(mask)) {
            const TRect where = SimplePanel() ? TRect {0, 0, Width(), Height()} : r;
            PaintNinePartMask(cache, where, true, false, 0, manager->Masks[std::size_t(mask)], self);
        } else if (!last) {
            const int divider = manager->GetSkinIndex("DIVIDER");
            const int border = manager->GetMaskIndex(divider, "DIVIDER", "BORDERSMASK");
            if (manager->IsValidSkinIndex(divider) && manager->IsValidImgIndex(border)) {
                const int fw = manager->GetMaskFrameSize(border).cx;
                PaintNinePartMask(cache, TRect {r.right - fw, 1, r.right, Height() - 2}, true, false, 0,
                    manager->Masks[std::size_t(border)], self);
            }
        }
    }
    t.bottom -= 1;
    t.left += 2;
    t.right -= 4;
    TCanvas* canvas = cache->Canvas();
    canvas->Font()->Assign(Font());
    const std::string shown = CutTextToWidth(canvas, text, t.right - t.left);
    if (shown.empty() || t.right <= t.left || t.bottom <= t.top) return;
    OutputSkinnedText(canvas, shown, true, t, TextAlignFlags(this, alignment), data, data->IsHot());
}

void TsStatusBar::PaintGrip(TBitmap* cache) {
    TsCommonData* data = FCommonData.get();
    TsSkinManager* manager = data->SkinManager();
    if (manager == nullptr) return;
    int mask = manager->GetMaskIndex(manager->ConstData.GlobalInfo, "GLOBALINFO", "GRIPIMAGE");
    if (!manager->IsValidImgIndex(mask)) mask = manager->GetMaskIndex(data->SkinIndex, "FORM", "GRIPIMAGE");
    if (!manager->IsValidImgIndex(mask)) return;
    // One state picture's size places it in the corner, from an own bitmap or the master bitmap alike.
    const TSize frame = manager->GetMaskFrameSize(mask);
    const TPoint at {Width() - frame.cx - BorderWidth(), Height() - frame.cy - BorderWidth()};
    DrawMaskStateImage(cache, at, 0, manager->Masks[std::size_t(mask)], 1);
}

void TsStatusBar::SkinPaint(gdi::HDC dc) {
    TsCommonData* data = FCommonData.get();
    if (dc == nullptr || ControlDestroying(this)) return;
    gdi::SavedDc saved(dc);
    data->SetUpdating(data->IsUpdating());
    if (data->Updating) return;   // the parent sends SMC_PARENTUPDATED when it has painted
    PrepareStatusCache();
    if (!IsControlPaintable(this)) return;
    // The cache covers the whole window: the client area starts BorderWidth into it.
    const int bw = BorderWidth();
    BlitCacheExcludingChildren(this, data, TPoint {bw, bw}, TPoint {0, 0}, false, dc,
        TRect {0, 0, ClientWidth(), ClientHeight()});
    ComposeGraphicChildren(dc, this);
    NotifyChildrenUpdated(this);
    data->BGChanged = false;
}

void TsStatusBar::NCPaintSkinned() {
    if (BorderWidth() == 0 || !(Visible() || ControlDesigning(this))) return;
    TsCommonData* data = FCommonData.get();
    data->SetUpdating(data->IsUpdating());
    if (data->Updating || ControlDestroying(this)) return;
    PrepareStatusCache();
    if (IsControlPaintable(this)) BlitNonClientBands(this, data);
}

void TsStatusBar::PaintFrameNow() {
    if (HandleAllocated()) user::SendMessage(WindowHandle(), user::WM_NCPAINT, 0, 0);
}

void TsStatusBar::PaintWindow(gdi::HDC dc) {
    TStatusBar::PaintWindow(dc);
    if (PaintsSkinned(FCommonData.get())) SkinPaint(dc);
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsStatusBar::WndProc(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    if (m.Msg == SM_SKINCMD && m.LParam == LPARAM(data->SkinManager())) {
        switch (SkinCommandCode(m)) {
        case SMC_NEWSKIN:
        case SMC_REFRESH:
            BroadcastToChildren(this, m);
            CommonWndProc(m, data);
            if (ControlDestroying(this)) return;
            Repaint();
            PaintFrameNow();
            return;
        case SMC_REMOVESKIN:
            CommonWndProc(m, data);
            if (ControlDestroying(this)) return;
            // The native bar paints again from scratch.
            RecreateWnd();
            BroadcastToChildren(this, m);
            return;
        default:
            break;
        }
    }
    if (m.Msg == SM_SKINCMD && SkinCommandCode(m) == SMC_ISSKINNED) {
        m.LParam = 1;
        return;
    }
    if (m.Msg == SM_SKINCMD && SkinCommandCode(m) == SMC_PARENTUPDATED) {
        if (data->Updating) {
            data->SetUpdating(false);
            Repaint();
            PaintFrameNow();
        }
        return;
    }
    if (!PaintsSkinned(data)) {
        TStatusBar::WndProc(m);
        return;
    }
    if (m.Msg == SM_SKINCMD) {
        if (SkinCommandWhenSkinned(m, data, Hooks()) == TacStep::Done) return;
    }
    auto paint = [this](gdi::HDC dc) { SkinPaint(dc); };
    if (ContainerPaintMessage(m, this, nullptr, TacHiddenPaint::Paint, paint) == TacStep::Done) return;
    switch (m.Msg) {
    case user::WM_PRINT:
        PrintAsPaintMessages(this, m);
        return;
    case user::WM_NCPAINT:
        if (BorderWidth() == 0) break;
        NCPaintSkinned();
        return;
    case user::WM_MOVE: {
        const TsSkinManager* manager = data->SkinManager();
        if (manager != nullptr && manager->IsValidSkinIndex(data->SkinIndex)) {
            const auto& section = manager->Sections[std::size_t(data->SkinIndex)];
            if (section.Transparency > 0 || section.HotTransparency > 0) {
                data->BGChanged = true;
                if (ControlDesigning(this)) {
                    Repaint();
                    PaintFrameNow();
                }
            }
        }
        break;
    }
    default:
        break;
    }
    if (!CommonWndProc(m, data)) TStatusBar::WndProc(m);
    switch (m.Msg) {
    case user::WM_SIZE:
        if (BorderWidth() != 0 && Visible() && HandleAllocated())
            user::SendMessage(WindowHandle(), user::WM_NCPAINT, 1, 0);
        break;
    case user::SB_SETTEXT:
    case user::SB_SIMPLE:
    case user::SB_GETRECT:
        data->BGChanged = true;
        break;
    default:
        break;
    }
}

}
