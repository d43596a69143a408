// TsColorsPanel: the colour grid, its cells, selection, hit test and painting.
#include "skin/controls/sPanel.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TStringList.h"
#include "platform/gdi/Types.h"
#include "platform/user/MessageIds.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sStyleSimply.h"
#include "skin/engine/sUtils.h"

namespace korvex::skin {

using namespace korvex::classes;

TsColorsPanel::TsColorsPanel(TComponent* owner)
    : TsPanel(owner), FColors(std::make_unique<TStringList>()) {
    SetCaption(" ");
    SetBounds(Left(), Top(), 140, 60);
}

TsColorsPanel::~TsColorsPanel() = default;

TClass TsColorsPanel::StaticClass() {
    using T = TsColorsPanel;
    static const TClassInfo info = MakeClass<T, TsPanel>("TsColorsPanel", [](TPropertyBuilder<T>& p) {
        p.Int("ColCount", &T::ColCount, &T::SetColCount, 5);
        p.Object("Colors", &T::Colors, &T::SetColors);
        p.Int("ItemIndex", &T::ItemIndex, &T::SetItemIndex, -1);
        p.Int("ItemHeight", &T::ItemHeight, &T::SetItemHeight, 21);
        p.Int("ItemWidth", &T::ItemWidth, &T::SetItemWidth, 21);
        p.Int("ItemMargin", &T::ItemMargin, &T::SetItemMargin, 6);
        p.Int("RowCount", &T::RowCount, &T::SetRowCount, 2);
        p.Int("Height", &T::Height, &T::SetHeight, 60);
        p.Int("Width", &T::Width, &T::SetWidth, 140);
        p.Event("OnChange", &T::OnChange);
    });
    return &info;
}

void TsColorsPanel::AfterConstruction() {
    TsPanel::AfterConstruction();
    GenerateColors();
}

void TsColorsPanel::Loaded() {
    TsPanel::Loaded();
    GenerateColors();
}

TStrings* TsColorsPanel::Colors() const {
    return FColors.get();
}

void TsColorsPanel::SetColors(TStrings* value) {
    FColors->Assign(value);
    SizeChanged();
}

void TsColorsPanel::SizeChanged() {
    GenerateColors();
    SkinData()->Invalidate();
}

void TsColorsPanel::SetColCount(int value) {
    if (value == FColCount) return;
    FColCount = value;
    SizeChanged();
}

void TsColorsPanel::SetRowCount(int value) {
    if (value == FRowCount) return;
    FRowCount = value;
    SizeChanged();
}

void TsColorsPanel::SetItemWidth(int value) {
    if (value == FItemWidth) return;
    FItemWidth = value;
    SizeChanged();
}

void TsColorsPanel::SetItemHeight(int value) {
    if (value == FItemHeight) return;
    FItemHeight = value;
    SizeChanged();
}

void TsColorsPanel::SetItemMargin(int value) {
    if (value == FItemMargin) return;
    FItemMargin = value;
    SizeChanged();
}

void TsColorsPanel::GenerateColors() {
    // A negative count makes no cells.
    const std::int64_t count = std::int64_t(std::max(0, FRowCount)) * std::max(0, FColCount);
    // A stale index would read past the cells; it goes silently (no OnChange).
    if (FItemIndex >= count) FItemIndex = -1;
    FItems.clear();
    FItems.reserve(std::size_t(std::max<std::int64_t>(0, std::min<std::int64_t>(count, 1 << 16))));
    int i = 0;
    for (int row = 0; row < FRowCount; ++row) {
        for (int col = 0; col < FColCount; ++col, ++i) {
            TsColorItem item;
            if (i < FColors->Count()) {
                item.Color = TColor(HexToInt(ExtractWord(1, FColors->Strings(i), "\r\n ")));
            } else {
                item.Color = ColorToRGB(0xFFFFFF);
                FColors->Add("FFFFFF");
            }
            item.Index = i;
            item.Selected = i == FItemIndex;
            item.Rect.left = (FItemWidth + FItemMargin) * col + FItemMargin;
            item.Rect.top = (FItemHeight + FItemMargin) * row + FItemMargin;
            item.Rect.right = item.Rect.left + FItemWidth;
            item.Rect.bottom = item.Rect.top + FItemHeight;
            FItems.push_back(item);
        }
    }
}

void TsColorsPanel::SetItemIndex(int value) {
    const int count = int(FItems.size());
    if (FItemIndex >= count) FItemIndex = -1;
    if (value < -1 || value >= count) value = -1;
    if (value == FItemIndex) return;
    if (FItemIndex >= 0) FItems[std::size_t(FItemIndex)].Selected = false;
    FOldIndex = FItemIndex;
    FItemIndex = value;
    if (value >= 0) FItems[std::size_t(value)].Selected = true;
    if (OnChange) OnChange(this);
    Repaint();
}

TColor TsColorsPanel::ColorValue() const {
    if (FItemIndex < 0 || FItemIndex >= int(FItems.size())) return 0xFFFFFF;
    return FItems[std::size_t(FItemIndex)].Color;
}

int TsColorsPanel::ItemAtPos(int x, int y) const {
    for (const TsColorItem& item : FItems) {
        const TRect& r = item.Rect;
        if (x >= r.left - FItemMargin && x < r.right + FItemMargin && y >= r.top - FItemMargin && y < r.bottom + FItemMargin)
            return item.Index;
    }
    return -1;
}

void TsColorsPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TsPanel::MouseDown(button, shift, x, y);
    if (CanFocus()) SetFocus();
    SetItemIndex(ItemAtPos(x, y));
}

void TsColorsPanel::WndProc(TMessage& m) {
    TsPanel::WndProc(m);
    if ((m.Msg == user::WM_SETFOCUS || m.Msg == user::WM_KILLFOCUS) && FItemIndex >= 0) Repaint();
}

void TsColorsPanel::PaintCells(TCanvas* canvas) const {
    canvas->Brush()->SetStyle(bsSolid);
    for (const TsColorItem& item : FItems) {
        canvas->Brush()->SetColor(item.Color);
        canvas->FillRect(item.Rect);
    }
}

void TsColorsPanel::PaintSelection(TCanvas* canvas) {
    if (OnPaint || FItemIndex < 0 || FItemIndex >= int(FItems.size())) return;
    TRect r = FItems[std::size_t(FItemIndex)].Rect;
    gdi::InflateRect(&r, 1, 1);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clWhite);
    canvas->FrameRect(r);
    gdi::InflateRect(&r, 1, 1);
    canvas->Brush()->SetColor(clBlack);
    canvas->FrameRect(r);
    if (Focused()) {
        gdi::InflateRect(&r, 2, 2);
        canvas->Brush()->SetColor(clWhite);
        canvas->DrawFocusRect(r);
    }
}

// The caption, and the cells unless OnPaint draws the face (it does so on every paint, below).
void TsColorsPanel::PaintOwnParts(TBitmap* cache) {
    PaintContainerCaption(this, SkinData(), cache->Canvas(), Caption(), ClientRect(), TextAlignFlags(this, Alignment()));
    if (!OnPaint) PaintCells(cache->Canvas());
}

void TsColorsPanel::PaintSkin(gdi::HDC dc) {
    TsCommonData* data = SkinData();
    if (ControlDestroying(this) || data == nullptr || dc == nullptr) return;
    if (Parent() != nullptr && Parent()->ControlState().Contains(csCreating)) return;
    if (data->Skinned(true)) {
        data->SetUpdating(data->IsUpdating());
        if (data->Updating) return;   // the parent sends SMC_PARENTUPDATED when it has painted
        const bool changed = data->BGChanged || data->CacheIncomplete
            || (Parent() != nullptr && QuerySkinCommand(Parent(), SMC_ISCACHEINCOMPLETE));
        // Reaching past the parent's client area, the grid is rendered again on the next paint.
        data->CacheIncomplete = OutsideParentClient(this, 0);
        if (changed && !data->PaintMark) RenderContainerCache(this, data, [this](TBitmap* c) { PaintOwnParts(c); });
        TBitmap* cache = data->CacheBmp();
        if (cache == nullptr) return;
        if (OnPaint) OnPaint(this, cache->Canvas());
        BlitCacheExcludingChildren(this, data, TPoint {0, 0}, TPoint {0, 0}, false, dc, TRect {0, 0, Width(), Height()});
        ComposeGraphicChildren(dc, this);
        NotifyChildrenUpdated(this);
    } else {
        Perform(user::WM_NCPAINT, 0, 0);
        if (!OnPaint) PaintCells(Canvas());
    }
    PaintSelection(Canvas());
}

void TsColorsPanel::Paint() {
    TsPanel::Paint();
    if (!OnPaint) PaintCells(Canvas());
    PaintSelection(Canvas());
}

}
