// TCustomGrid: sizes, geometry, selection, scrolling and painting of the grid.
#include "platform/classes/TCustomGrid.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TColor.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WindowConstants.h"

#include <algorithm>
#include <cstdint>

namespace korvex::classes {

using namespace user;

TCustomGrid::TCustomGrid(TComponent* owner)
    : TCustomControl(owner) {
    FControlStyle.Exclude(csSetCaption);
    FControlStyle.Include(csOpaque);
    FColWidths.assign(5, FDefaultColWidth);
    FRowHeights.assign(5, FDefaultRowHeight);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(Left(), Top(), 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

TClass TCustomGrid::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomGrid, TCustomControl>("TCustomGrid", [](auto& p) {
        p.Int("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount, 5).Range(0, MaxCount);
        p.Int("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount, 5).Range(0, MaxCount);
        p.Int("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols, 1);
        p.Int("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows, 1);
        p.Int("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth, 64)
            .Range(0, MaxCellSize);
        p.Int("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight, 24)
            .Range(0, MaxCellSize);
        p.Int("GridLineWidth", &TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth, 1).Range(0, MaxCellSize);
        p.Set("Options", &TCustomGrid::Options, &TCustomGrid::SetOptions, GridOptionIdents,
            TGridOptions {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect});
        p.Bool("DefaultDrawing", &TCustomGrid::DefaultDrawing, &TCustomGrid::SetDefaultDrawing, true);
        p.Color("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor, clBtnFace);
        p.Enum("ScrollBars", &TCustomGrid::ScrollBars, &TCustomGrid::SetScrollBars, ScrollStyleIdents, ssBoth);
        p.Enum("BorderStyle", &TCustomGrid::BorderStyle, &TCustomGrid::SetBorderStyle, FormBorderStyleIdents, bsSingle);
        p.Bool("Ctl3D", &TCustomGrid::Ctl3D, &TCustomGrid::SetCtl3D, true);
    });
    return &info;
}

TDrawGrid::TDrawGrid(TComponent* owner)
    : TCustomGrid(owner) {
}

TClass TDrawGrid::StaticClass() {
    static const TClassInfo info = MakeClass<TDrawGrid, TCustomGrid>("TDrawGrid", [](auto&) {});
    return &info;
}

// ---------------------------------------------------------------------------------------------------------
// Sizes

namespace {

void CheckCount(int value) {
    if (value > TCustomGrid::MaxCount) throw EInvalidOperation("Grid too large");
}

int CellSize(int value) {
    return std::clamp(value, 0, TCustomGrid::MaxCellSize);
}

}

void TCustomGrid::SetColCount(int value) {
    CheckCount(value);
    value = std::max(value, 1);
    if (value == ColCount()) return;
    if (value <= FFixedCols) FFixedCols = value - 1;
    int oldCols = ColCount();
    FColWidths.resize(std::size_t(value), FDefaultColWidth);
    SizesChanged(oldCols, RowCount());
}

void TCustomGrid::SetRowCount(int value) {
    CheckCount(value);
    value = std::max(value, 1);
    if (value == RowCount()) return;
    if (value <= FFixedRows) FFixedRows = value - 1;
    int oldRows = RowCount();
    FRowHeights.resize(std::size_t(value), FDefaultRowHeight);
    SizesChanged(ColCount(), oldRows);
}

void TCustomGrid::SetFixedCols(int value) {
    if (value < 0 || value >= ColCount()) throw EInvalidOperation("Fixed column count must be less than column count");
    FFixedCols = value;
    FTopLeft.X = FCurrent.X = FAnchor.X = value;   // the view starts over at the first scrollable column
    SizesChanged(ColCount(), RowCount());
}

void TCustomGrid::SetFixedRows(int value) {
    if (value < 0 || value >= RowCount()) throw EInvalidOperation("Fixed row count must be less than row count");
    FFixedRows = value;
    FTopLeft.Y = FCurrent.Y = FAnchor.Y = value;
    SizesChanged(ColCount(), RowCount());
}

void TCustomGrid::SizesChanged(int oldColCount, int oldRowCount) {
    ClampCurrent();
    SizeChanged(oldColCount, oldRowCount);
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::ClampCurrent() {
    auto clamp = [](int v, int lo, int hi) { return std::clamp(v, lo, std::max(lo, hi)); };
    FCurrent = {clamp(FCurrent.X, FFixedCols, ColCount() - 1), clamp(FCurrent.Y, FFixedRows, RowCount() - 1)};
    FAnchor = {clamp(FAnchor.X, FFixedCols, ColCount() - 1), clamp(FAnchor.Y, FFixedRows, RowCount() - 1)};
    FTopLeft = {clamp(FTopLeft.X, FFixedCols, MaxFirst(Horz(), LineWidth())),
        clamp(FTopLeft.Y, FFixedRows, MaxFirst(Vert(), LineWidth()))};
}

void TCustomGrid::SetDefaultColWidth(int value) {
    FDefaultColWidth = CellSize(value);
    std::fill(FColWidths.begin(), FColWidths.end(), FDefaultColWidth);
    SizesChanged(ColCount(), RowCount());
}

void TCustomGrid::SetDefaultRowHeight(int value) {
    FDefaultRowHeight = CellSize(value);
    std::fill(FRowHeights.begin(), FRowHeights.end(), FDefaultRowHeight);
    SizesChanged(ColCount(), RowCount());
}

int TCustomGrid::ColWidths(int index) const {
    return index >= 0 && index < ColCount() ? FColWidths[std::size_t(index)] : FDefaultColWidth;
}

void TCustomGrid::SetColWidths(int index, int value) {
    if (index < 0 || index >= ColCount()) throw EInvalidOperation("Grid index out of range");
    FColWidths[std::size_t(index)] = CellSize(value);
    SizesChanged(ColCount(), RowCount());
}

int TCustomGrid::RowHeights(int index) const {
    return index >= 0 && index < RowCount() ? FRowHeights[std::size_t(index)] : FDefaultRowHeight;
}

void TCustomGrid::SetRowHeights(int index, int value) {
    if (index < 0 || index >= RowCount()) throw EInvalidOperation("Grid index out of range");
    FRowHeights[std::size_t(index)] = CellSize(value);
    SizesChanged(ColCount(), RowCount());
}

void TCustomGrid::SetGridLineWidth(int value) {
    FGridLineWidth = CellSize(value);
    SizesChanged(ColCount(), RowCount());
}

void TCustomGrid::SetOptions(TGridOptions value) {
    FOptions = value;
    if (FOptions.Contains(goRowSelect)) FAnchor = FCurrent;
    SizesChanged(ColCount(), RowCount());
}

void TCustomGrid::SetFixedColor(TColor value) {
    if (value == FFixedColor) return;
    FFixedColor = value;
    Invalidate();
}

void TCustomGrid::SetGridLineColor(TColor value) {
    if (value == FGridLineColor) return;
    FGridLineColor = value;
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle value) {
    if (value == FScrollBars) return;
    FScrollBars = value;
    RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TFormBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomGrid::SetCtl3D(bool value) {
    if (value == FCtl3D) return;
    FCtl3D = value;
    RecreateWnd();
}

// ---------------------------------------------------------------------------------------------------------
// Geometry

int TCustomGrid::LineWidth() const {
    return FGridLineWidth;
}

TCustomGrid::TAxis TCustomGrid::Horz() const {
    return {&FColWidths, FFixedCols, FTopLeft.X, ClientWidth()};
}

TCustomGrid::TAxis TCustomGrid::Vert() const {
    return {&FRowHeights, FFixedRows, FTopLeft.Y, ClientHeight()};
}

int TCustomGrid::Position(const TAxis& axis, int index, int lineWidth) {
    const auto& sizes = *axis.Sizes;
    if (index < 0 || index >= int(sizes.size())) return -1;
    if (index >= axis.Fixed && index < axis.First) return -1;
    std::int64_t pos = 0;
    for (int i = 0; i < axis.Fixed && i < index; ++i) {
        pos += sizes[std::size_t(i)] + lineWidth;
        if (pos >= axis.Extent) return -1;
    }
    if (index >= axis.Fixed)
        for (int i = axis.First; i < index; ++i) {
            pos += sizes[std::size_t(i)] + lineWidth;
            if (pos >= axis.Extent) return -1;
        }
    return pos < axis.Extent ? int(pos) : -1;
}

int TCustomGrid::IndexAt(const TAxis& axis, int pos, int lineWidth) {
    const auto& sizes = *axis.Sizes;
    if (pos < 0 || pos >= axis.Extent) return -1;
    std::int64_t edge = 0;
    for (int i = 0; i < axis.Fixed; ++i) {
        edge += sizes[std::size_t(i)] + lineWidth;
        if (pos < edge) return i;
    }
    for (int i = axis.First; i < int(sizes.size()); ++i) {
        edge += sizes[std::size_t(i)] + lineWidth;
        if (pos < edge) return i;
    }
    return -1;
}

int TCustomGrid::FullyVisible(const TAxis& axis, int lineWidth) {
    const auto& sizes = *axis.Sizes;
    std::int64_t edge = 0;
    for (int i = 0; i < axis.Fixed; ++i)
        edge += sizes[std::size_t(i)] + lineWidth;
    int count = 0;
    for (int i = axis.First; i < int(sizes.size()); ++i) {
        edge += sizes[std::size_t(i)] + lineWidth;
        if (edge > axis.Extent) break;
        ++count;
    }
    return count;
}

// The last first index that still fills the view: the scrollable tail that fits from there.
int TCustomGrid::MaxFirst(const TAxis& axis, int lineWidth) {
    const auto& sizes = *axis.Sizes;
    std::int64_t room = axis.Extent;
    for (int i = 0; i < axis.Fixed; ++i)
        room -= sizes[std::size_t(i)] + lineWidth;
    int first = int(sizes.size()) - 1;
    std::int64_t used = first >= axis.Fixed ? sizes[std::size_t(first)] + lineWidth : 0;
    while (first - 1 >= axis.Fixed && used + sizes[std::size_t(first - 1)] + lineWidth <= room) {
        --first;
        used += sizes[std::size_t(first)] + lineWidth;
    }
    return std::max(first, axis.Fixed);
}

int TCustomGrid::VisibleRowCount() const {
    return FullyVisible(Vert(), LineWidth());
}

int TCustomGrid::VisibleColCount() const {
    return FullyVisible(Horz(), LineWidth());
}

TRect TCustomGrid::CellRect(int col, int row) const {
    int x = Position(Horz(), col, LineWidth());
    int y = Position(Vert(), row, LineWidth());
    if (x < 0 || y < 0) return {};
    return Rect(x, y, x + FColWidths[std::size_t(col)], y + FRowHeights[std::size_t(row)]);
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
    return {IndexAt(Horz(), x, LineWidth()), IndexAt(Vert(), y, LineWidth())};
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
    TGridCoord c = MouseCoord(x, y);
    col = c.X;
    row = c.Y;
}

// ---------------------------------------------------------------------------------------------------------
// Selection and scrolling

TGridRect TCustomGrid::Selection() const {
    if (FOptions.Contains(goRowSelect))
        return {FFixedCols, std::min(FAnchor.Y, FCurrent.Y), ColCount() - 1, std::max(FAnchor.Y, FCurrent.Y)};
    return {std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y), std::max(FAnchor.X, FCurrent.X),
        std::max(FAnchor.Y, FCurrent.Y)};
}

void TCustomGrid::SetSelection(const TGridRect& value) {
    if (!FocusCell(value.Left, value.Top, true)) return;
    if (FCurrent.X != value.Left || FCurrent.Y != value.Top) return;
    FAnchor
        = {std::clamp(value.Right, FFixedCols, ColCount() - 1), std::clamp(value.Bottom, FFixedRows, RowCount() - 1)};
    Invalidate();
}

bool TCustomGrid::SelectCell(int col, int row) {
    bool canSelect = true;
    if (OnSelectCell) OnSelectCell(this, col, row, canSelect);
    return canSelect;
}

bool TCustomGrid::FocusCell(int col, int row, bool moveAnchor) {
    if (col < FFixedCols || col >= ColCount() || row < FFixedRows || row >= RowCount()) return true;
    if (TGridCoord {col, row} != FCurrent) {
        TComponentWatch self(this);
        if (!SelectCell(col, row)) return self.Alive();
        if (!self.Alive()) return false;
    }
    FCurrent = {col, row};
    if (moveAnchor || !FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
    ClampInView();
    Invalidate();
    return true;
}

// Scrolls so the focused cell is wholly in view.
void TCustomGrid::ClampInView() {
    TGridCoord topLeft = FTopLeft;
    if (FCurrent.Y < topLeft.Y) topLeft.Y = FCurrent.Y;
    if (FCurrent.X < topLeft.X) topLeft.X = FCurrent.X;
    TAxis v = Vert();
    v.First = topLeft.Y;
    while (topLeft.Y < FCurrent.Y && FCurrent.Y >= topLeft.Y + std::max(FullyVisible(v, LineWidth()), 1))
        v.First = ++topLeft.Y;
    TAxis h = Horz();
    h.First = topLeft.X;
    while (topLeft.X < FCurrent.X && FCurrent.X >= topLeft.X + std::max(FullyVisible(h, LineWidth()), 1))
        h.First = ++topLeft.X;
    MoveTopLeft(topLeft.X, topLeft.Y);
}

void TCustomGrid::MoveTopLeft(int col, int row) {
    col = std::clamp(col, FFixedCols, std::max(FFixedCols, MaxFirst(Horz(), LineWidth())));
    row = std::clamp(row, FFixedRows, std::max(FFixedRows, MaxFirst(Vert(), LineWidth())));
    if (col == FTopLeft.X && row == FTopLeft.Y) return;
    FTopLeft = {col, row};
    UpdateScrollRange();
    Invalidate();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::UpdateScrollRange() {
    if (!HandleAllocated() || FUpdatingScroll) return;
    FUpdatingScroll = true;
    auto apply = [&](int bar, const TAxis& axis, int first) {
        SCROLLINFO info {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        int scrollable = int(axis.Sizes->size()) - axis.Fixed;
        TAxis fromStart = axis;
        fromStart.First = MaxFirst(axis, LineWidth());
        info.nMin = 0;
        info.nMax = std::max(scrollable - 1, 0);
        info.nPage = unsigned(std::max(FullyVisible(fromStart, LineWidth()), 1));
        if (fromStart.First == axis.Fixed) info.nPage = unsigned(info.nMax + 1);   // all fit: no bar
        info.nPos = first - axis.Fixed;
        SetScrollInfo(WindowHandle(), bar, &info, true);
    };
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) apply(SB_VERT, Vert(), FTopLeft.Y);
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) apply(SB_HORZ, Horz(), FTopLeft.X);
    FUpdatingScroll = false;
}

void TCustomGrid::ScrollBarMessage(int bar, int code, int trackPos) {
    bool vert = bar == SB_VERT;
    TAxis axis = vert ? Vert() : Horz();
    int first = axis.First;
    int page = std::max(FullyVisible(axis, LineWidth()), 1);
    switch (code) {
    case SB_LINEUP:
        --first;
        break;
    case SB_LINEDOWN:
        ++first;
        break;
    case SB_PAGEUP:
        first -= page;
        break;
    case SB_PAGEDOWN:
        first += page;
        break;
    case SB_TOP:
        first = axis.Fixed;
        break;
    case SB_BOTTOM:
        first = int(axis.Sizes->size());
        break;
    case SB_THUMBTRACK:
        if (!FOptions.Contains(goThumbTracking)) return;
        first = axis.Fixed + trackPos;
        break;
    case SB_THUMBPOSITION:
        first = axis.Fixed + trackPos;
        break;
    default:
        return;
    }
    if (vert)
        MoveTopLeft(FTopLeft.X, first);
    else
        MoveTopLeft(first, FTopLeft.Y);
}

void TCustomGrid::WMVScroll(TMessage& m) {
    ScrollBarMessage(SB_VERT, LOWORD(m.WParam), short(HIWORD(m.WParam)));
}

void TCustomGrid::WMHScroll(TMessage& m) {
    ScrollBarMessage(SB_HORZ, LOWORD(m.WParam), short(HIWORD(m.WParam)));
}

void TCustomGrid::WMSize(TMessage& m) {
    TCustomControl::WMSize(m);
    ClampCurrent();
    UpdateScrollRange();
}

void TCustomGrid::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= WS_HSCROLL;
    if (FBorderStyle == bsSingle && FCtl3D) params.ExStyle |= WS_EX_CLIENTEDGE;
    if (FBorderStyle == bsSingle && !FCtl3D) params.Style |= WS_BORDER;
}

void TCustomGrid::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScrollRange();
}

void TCustomGrid::InvalidateCell(int col, int row) {
    if (!HandleAllocated()) return;
    TRect r = CellRect(col, row);
    InvalidateRect(WindowHandle(), &r, false);
}

}
