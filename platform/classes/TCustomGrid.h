// TCustomGrid: a painted grid of cells with fixed rows and columns, selection, sizing, moving and scrolling.
#pragma once

#include "platform/classes/GridTypes.h"
#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TCustomControl.h"
#include "platform/classes/TForm.h"

#include <vector>

namespace korvex::classes {

// Geometry: every cell is followed by a grid line GridLineWidth wide (right and below). The fixed columns
// stay at the left, then the columns from LeftCol; the fixed rows at the top, then the rows from TopRow.
// Only the cells inside the client area are painted. The window's own scroll bars show the scrollable rows
// and columns: one scroll unit is one row or column, the page the fully visible ones.
//
// Selection: Col/Row is the focused cell, Selection the selected range (the whole row with goRowSelect).
// Every move asks SelectCell first (OnSelectCell may veto it).
class TCustomGrid : public TCustomControl {
public:
    // Bounds of a grid: rows and columns each (a string grid keeps a cell vector per row), and the size of a
    // row, a column or a grid line, so that the sums of the geometry stay in range.
    static constexpr int MaxCount = 1000000;
    static constexpr int MaxCellSize = 1 << 20;

    explicit TCustomGrid(TComponent* owner);
    ~TCustomGrid() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    int ColCount() const { return int(FColWidths.size()); }
    void SetColCount(int value);   // at least 1; above MaxCount raises EInvalidOperation
    int RowCount() const { return int(FRowHeights.size()); }
    void SetRowCount(int value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int value);   // below ColCount (EInvalidGridOperation otherwise)
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int value);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int value);   // every column takes it; sizes are kept within 0..MaxCellSize
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int value);   // every row takes it
    int ColWidths(int index) const;
    void SetColWidths(int index, int value);
    int RowHeights(int index) const;
    void SetRowHeights(int index, int value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int value);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool value) { FDefaultDrawing = value; }
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor value);
    // The lines between movable cells; fixed cells keep black ones.
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);   // bsNone or bsSingle
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);

    int Col() const { return FCurrent.X; }
    void SetCol(int value) { FocusCell(value, FCurrent.Y, true); }
    int Row() const { return FCurrent.Y; }
    void SetRow(int value) { FocusCell(FCurrent.X, value, true); }
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int value) { MoveTopLeft(FTopLeft.X, value); }
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int value) { MoveTopLeft(value, FTopLeft.Y); }
    int VisibleRowCount() const;   // scrollable rows wholly in view
    int VisibleColCount() const;
    TGridRect Selection() const;
    void SetSelection(const TGridRect& value);   // its top-left cell becomes focused when allowed

    TRect CellRect(int col, int row) const;   // empty when the cell is out of view
    TGridCoord MouseCoord(int x, int y) const;   // (-1, -1) parts outside the cells
    void MouseToCell(int x, int y, int& col, int& row) const;
    void MoveRow(int fromIndex, int toIndex);   // then OnRowMoved
    void MoveColumn(int fromIndex, int toIndex);   // then OnColumnMoved

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TNotifyEvent OnTopLeftChanged;

protected:
    virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);   // OnDrawCell
    virtual bool SelectCell(int col, int row);   // OnSelectCell
    virtual void ColumnMoved(int fromIndex, int toIndex);
    virtual void RowMoved(int fromIndex, int toIndex);
    virtual void SizeChanged(int oldColCount, int oldRowCount) { (void)oldColCount, (void)oldRowCount; }
    void InvalidateCell(int col, int row);
    void InvalidateGrid() { Invalidate(); }

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void KeyDown(user::WORD& key, TShiftState shift) override;
    void WMHScroll(TMessage& m) override;
    void WMVScroll(TMessage& m) override;
    void WMSize(TMessage& m) override;
    void WMSetFocus(TMessage& m) override;
    void WMKillFocus(TMessage& m) override;
    void WMSetCursor(TMessage& m) override;

private:
    enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
    struct TAxis {   // one direction's sizes, for the shared geometry
        const std::vector<int>* Sizes;
        int Fixed;
        int First;   // the first scrollable index in view
        int Extent;   // the client size
    };
    TAxis Horz() const;
    TAxis Vert() const;
    int LineWidth() const;
    static int Position(const TAxis& axis, int index, int lineWidth);   // -1 when out of view
    static int IndexAt(const TAxis& axis, int pos, int lineWidth);   // -1 when none
    static int FullyVisible(const TAxis& axis, int lineWidth);
    static int MaxFirst(const TAxis& axis, int lineWidth);
    bool SizingLineAt(int x, int y, TGridState& state, int& index) const;
    bool FocusCell(int col, int row, bool moveAnchor);   // false when OnSelectCell freed the grid
    void MoveTopLeft(int col, int row);
    void ClampInView();
    void UpdateScrollRange();
    void ScrollBarMessage(int bar, int code, int trackPos);
    void PaintCells(TCanvas* canvas, const TRect& clip);
    void SizesChanged(int oldColCount, int oldRowCount);
    void ClampCurrent();

    std::vector<int> FColWidths;
    std::vector<int> FRowHeights;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    TGridOptions FOptions {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    bool FDefaultDrawing = true;
    TColor FFixedColor = clBtnFace;
    TColor FGridLineColor = clSilver;
    TScrollStyle FScrollBars = ssBoth;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
    TGridCoord FCurrent {1, 1};
    TGridCoord FAnchor {1, 1};
    TGridCoord FTopLeft {1, 1};
    TGridState FGridState = gsNormal;
    int FSizingIndex = -1;
    int FSizingOrigin = 0;   // the sized column's left (row's top)
    int FMoveIndex = -1;
    int FMovePos = -1;
    bool FUpdatingScroll = false;
};

// A grid whose cells the owner paints (OnDrawCell).
class TDrawGrid : public TCustomGrid {
public:
    explicit TDrawGrid(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}
