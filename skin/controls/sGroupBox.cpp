// TsGroupBox: the skinned group box, its caption strip and its cache.
#include "skin/controls/sGroupBox.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/MessageIds.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

namespace {
constexpr int CaptionBevelWidth = 1;   // the bevel width of a group box, which nothing changes
constexpr int BottomCorners = 10;   // fcBottomLeft | fcBottomRight: the top corners lie behind the caption
}

TsGroupBox::TsGroupBox(TComponent* owner)
    : TGroupBox(owner), FCommonData(std::make_unique<TsCommonData>(this, true)) {
    SetControlStyle(ControlStyle() - TControlStyle {csOpaque});
    FCommonData->ControlKind = TacControlKind::GroupBox;
}

TsGroupBox::~TsGroupBox() = default;

TClass TsGroupBox::StaticClass() {
    using T = TsGroupBox;
    static const TClassInfo info = MakeClass<T, TGroupBox>("TsGroupBox", [](TPropertyBuilder<T>& p) {
        p.Enum("CaptionLayout", &T::CaptionLayout, &T::SetCaptionLayout, GroupCaptionLayoutIdents, clTopLeft);
        p.Int("CaptionYOffset", &T::CaptionYOffset, &T::SetCaptionYOffset, 0);
        p.Object("SkinData", &T::SkinData);
        p.String("CaptionSkin", &T::CaptionSkin, &T::SetCaptionSkin);
    });
    return &info;
}

void TsGroupBox::AfterConstruction() {
    TGroupBox::AfterConstruction();
    FCommonData->Loaded();
}

void TsGroupBox::Loaded() {
    TGroupBox::Loaded();
    FCommonData->Loaded();
}

void TsGroupBox::SetCaptionLayout(TsGroupCaptionLayout value) {
    if (value == FCaptionLayout) return;
    FCaptionLayout = value;
    if (!Caption().empty()) FCommonData->Invalidate();
}

void TsGroupBox::SetCaptionYOffset(int value) {
    if (value == FCaptionYOffset) return;
    FCaptionYOffset = value;
    FCommonData->Invalidate();
}

void TsGroupBox::SetCaptionSkin(const std::string& value) {
    if (value == FCaptionSkin) return;
    FCaptionSkin = value;
    FCommonData->Invalidate();
}

void TsGroupBox::AdjustClientRect(TRect& rect) {
    TGroupBox::AdjustClientRect(rect);
    if (!ControlDestroying(this)) rect.top += FCaptionYOffset;
}

// ---- Caption geometry ----------------------------------------------------------------------------------------

int TsGroupBox::CaptionStripHeight() {
    TCanvas* canvas = FCommonData->CacheBmp() != nullptr ? FCommonData->CacheBmp()->Canvas() : Canvas();
    canvas->Font()->Assign(Font());
    return std::max(4, canvas->TextHeight("W")) + 2;
}

TRect TsGroupBox::CaptionRect() {
    const bool skinned = FCommonData->Skinned();
    const int height = CaptionStripHeight();
    TCanvas* canvas = FCommonData->CacheBmp() != nullptr ? FCommonData->CacheBmp()->Canvas() : Canvas();
    const int textWidth = canvas->TextWidth(Caption());
    TRect r {};
    r.top = skinned && FCaptionYOffset < 0 ? FCaptionYOffset : 0;
    r.bottom = height + (skinned ? FCaptionYOffset : 0);
    // Read right to left, the caption starts at the right edge: left and right trade places.
    TsGroupCaptionLayout layout = FCaptionLayout;
    if (UseRightToLeftAlignment() && layout != clTopCenter) layout = layout == clTopLeft ? clTopRight : clTopLeft;
    switch (layout) {
    case clTopLeft:
        r.left = 6;
        break;
    case clTopCenter:
        r.left = (Width() - textWidth - 10) / 2;   // C++ division truncates toward zero
        break;
    case clTopRight:
        r.left = Width() - textWidth - 14;
        break;
    }
    r.left = std::max(0, r.left);
    r.right = std::min(r.left + textWidth + 8, Width());
    if (r.right - r.left < 2 * CaptionBevelWidth) {
        r.left -= CaptionBevelWidth;
        r.right += CaptionBevelWidth;
    }
    return r;
}

// ---- Messages ------------------------------------------------------------------------------------------------

TacFrameHooks TsGroupBox::Hooks() {
    TacFrameHooks hooks;
    hooks.Container = true;
    hooks.RenderCache = [this] { RenderCache(); };
    return hooks;
}

void TsGroupBox::WndProc(TMessage& m) {
    if (SkinCommandPrologue(m, FCommonData.get(), Hooks()) == TacStep::Done) return;
    TsCommonData* data = FCommonData.get();
    if (m.Msg == CM_FONTCHANGED) {
        TGroupBox::WndProc(m);
        if (!Caption().empty()) data->Invalidate();
        return;
    }
    if (!PaintsSkinned(data)) {
        TGroupBox::WndProc(m);
        return;
    }
    auto paint = [this](gdi::HDC dc) { PaintSkin(dc); };
    if (ContainerPaintMessage(m, this, Canvas(), TacHiddenPaint::Paint, paint) == TacStep::Done) return;
    if (m.Msg == SM_SKINCMD && SkinCommandCode(m) == SMC_PARENTUPDATED) {
        data->Updating = false;
        if (Visible() || ControlDesigning(this)) Repaint();
        return;
    }
    if (SkinCommandWhenSkinned(m, data, Hooks()) == TacStep::Done) return;
    switch (m.Msg) {
    case user::WM_SETFOCUS:
    case user::WM_KILLFOCUS:
        TGroupBox::WndProc(m);
        return;
    case CM_TEXTCHANGED:
        data->Invalidate();
        return;
    case CM_VISIBLECHANGED:
    case user::WM_WINDOWPOSCHANGED:
        data->BGChanged = true;
        break;
    case user::WM_MOVE:
        if (data->NeedsRepaintOnMove()) data->BGChanged = true;
        break;
    default:
        break;
    }
    if (!CommonWndProc(m, data)) TGroupBox::WndProc(m);
    if (m.Msg == user::WM_SIZE && ControlDesigning(this)) Repaint();
}

// ---- Painting ------------------------------------------------------------------------------------------------

void TsGroupBox::RenderCache() {
    TsCommonData* data = FCommonData.get();
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr) return;
    TsSkinManager* manager = data->SkinManager();
    const TsParentCacheInfo ci = GetParentCache(data);
    const TRect cr = CaptionRect();
    const int w = Width();
    const int h = Height();
    // The strip behind the caption shows what lies under the box.
    if (ci.Ready && ci.Bmp != nullptr) {
        gdi::BitBlt(cache->Canvas()->Handle(), 0, 0, w, cr.bottom - cr.top, ci.Bmp->Canvas()->Handle(),
            Left() + ci.X, Top() + ci.Y, gdi::SRCCOPY);
    } else if (Parent() != nullptr) {
        FillRectSolid(cache, TRect {0, 0, w, cr.bottom}, Parent()->Color());
    }
    const int y0 = FCaptionYOffset >= 0 ? (cr.bottom - cr.top) / 2 : 0;
    RenderControlSkin(data, ci, true, 0, TRect {0, y0, w, h}, TPoint {Left(), Top() + y0}, cache, false);
    if (!Caption().empty() && manager != nullptr) {
        if (!FCaptionSkin.empty()) {
            TsParentCacheInfo own;
            FillCacheInfo(own, cache, 0, 0);
            PaintSection(manager->GetSkinIndex(FCaptionSkin), FCaptionSkin, own, true, Focused() ? 1 : 0, cr,
                TPoint {cr.left, cr.top}, cache, manager);
        } else if (ci.Ready || Parent() == nullptr) {
            PaintSection(manager->GetSkinIndex("CHECKBOX"), "CHECKBOX", ci, true, 0, cr,
                TPoint {Left() + cr.left, Top() + cr.top}, cache, manager);
        } else {
            FillRectSolid(cache, cr, Parent()->Color());
        }
        TCanvas* canvas = cache->Canvas();
        canvas->Font()->Assign(Font());
        canvas->Brush()->SetStyle(bsClear);
        TRect text = cr;
        OutputSkinnedText(
            canvas, Caption(), true, text, DrawTextBiDiModeFlags(gdi::DT_CENTER | gdi::DT_NOPREFIX), data, false);
    }
    PaintFrameSides(data, 0, BottomCorners);
    data->BGChanged = false;
}

void TsGroupBox::PaintSkin(gdi::HDC dc) {
    TsCommonData* data = FCommonData.get();
    if (dc == nullptr || ControlDestroying(this) || !data->Skinned(true)) return;
    if (!Visible() && !ControlDesigning(this)) return;   // hidden: nothing painted, not even the plain face
    if (Parent() != nullptr && Parent()->ControlState().Contains(csCreating)) return;
    data->SetUpdating(data->IsUpdating());
    if (data->Updating) return;   // the parent sends SMC_PARENTUPDATED when it has painted
    const bool changed = data->BGChanged || data->CacheIncomplete;
    data->CacheIncomplete = data->NeedsRepaintOnMove() && OutsideParentClient(this, 1);
    if (changed && !data->PaintMark) RenderCache();
    if (data->CacheBmp() == nullptr) return;
    BlitCacheExcludingChildren(this, data, TPoint {0, 0}, TPoint {0, 0}, false, dc, TRect {0, 0, Width(), Height()});
    ComposeGraphicChildren(dc, this);
    NotifyChildrenUpdated(this);
}

}
