// TStringGrid: cells, drawing of the visible cells with their state, selection by mouse and keys, sizing,
// moving and scrolling.
#include "support/ControlsTestKit.h"

#include "platform/classes/Errors.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TStringGrid.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"

#include <limits>
#include <map>
#include <utility>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

struct TDrawn {
    TRect Rect;
    TGridDrawState State;
};

class StringGridTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 300);
        Grid = Create<TStringGrid>(Form);
        Grid->SetBorderStyle(bsNone);
        Grid->SetScrollBars(ssNone);
        Grid->SetBounds(0, 0, 331, 126);   // five columns of 65 plus one pixel; five rows of 25
        Grid->SetDefaultColWidth(65);
        Grid->SetDefaultRowHeight(24);
        Grid->SetParent(Form);
        Grid->OnDrawCell = [this](TObject*, int col, int row, TRect rect, TGridDrawState state) {
            Drawn[{col, row}] = {rect, state};
        };
        Pump();
    }
    void Repaint() {
        Drawn.clear();
        Grid->Invalidate();
        Pump();
    }
    // The middle of a cell on the screen.
    TPoint CellPoint(int col, int row) const {
        TRect r = Grid->CellRect(col, row);
        return At(Grid, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void ClickCell(int col, int row, unsigned modifiers = 0) {
        TPoint p = CellPoint(col, row);
        Display->Click(p.x, p.y, user::MouseButton::Left, modifiers);
        Pump();
    }
    void Key(unsigned vk, unsigned modifiers = 0) {
        Display->Press(vk, {}, modifiers);
        Pump();
    }

    TDrawn D(int col, int row) { return Drawn[{col, row}]; }
    bool Has(int col, int row) const { return Drawn.count({col, row}) != 0; }

    TForm* Form = nullptr;
    TStringGrid* Grid = nullptr;
    std::map<std::pair<int, int>, TDrawn> Drawn;
};

TEST_F(StringGridTest, CellsFollowTheGridSizeAndRejectWritesOutside) {
    Grid->SetCells(4, 4, "corner");
    EXPECT_EQ(Grid->Cells(4, 4), "corner");
    EXPECT_EQ(Grid->Cells(9, 9), "");
    EXPECT_THROW(Grid->SetCells(5, 0, "x"), EInvalidOperation);
    EXPECT_THROW(Grid->SetCells(-1, 0, "x"), EInvalidOperation);
    Grid->SetRowCount(3);
    EXPECT_EQ(Grid->Cells(4, 4), "");
    Grid->SetRowCount(6);
    Grid->SetCells(2, 5, "new");
    EXPECT_EQ(Grid->Cells(2, 5), "new");
    EXPECT_THROW(Grid->SetFixedRows(6), EInvalidOperation);
    Grid->SetRowCount(1);   // the fixed rows shrink with it
    EXPECT_EQ(Grid->FixedRows(), 0);
}

TEST_F(StringGridTest, SetRowsFillsManyRowsAndRepaintsOnce) {
    Grid->SetRows(1, {{"a", "b"}, {"c", "d", "e", "f", "g", "dropped"}, {}});
    EXPECT_EQ(Grid->Cells(1, 1), "b");
    EXPECT_EQ(Grid->Cells(4, 2), "g");
    EXPECT_EQ(Grid->Cells(5, 2), "");
    EXPECT_EQ(Grid->Cells(0, 3), "");
    Drawn.clear();
    Pump();
    EXPECT_TRUE(Has(0, 1));   // the whole grid repainted
    EXPECT_TRUE(Has(4, 4));
    Grid->SetCells(0, 0, "kept");
    EXPECT_THROW(Grid->SetRows(4, {{"x"}, {"y"}}), EInvalidOperation);   // a row past the end: nothing set
    EXPECT_EQ(Grid->Cells(0, 4), "");
    EXPECT_THROW(Grid->SetRows(-1, {{"x"}}), EInvalidOperation);
    EXPECT_EQ(Grid->Cells(0, 0), "kept");
}

TEST_F(StringGridTest, SortRowsOrdersARangeStablyAndRowCellsReadsTheHeldCells) {
    Grid->SetRows(0, {{"head"}, {"b", "1"}, {"a", "2"}, {"b", "3"}, {"a", "4"}});
    const auto byFirst = [](const std::vector<std::string>& x, const std::vector<std::string>& y) {
        return x.front() < y.front();
    };
    Grid->SortRows(1, 4, byFirst);
    std::vector<std::string> order;
    for (int row = 0; row < 5; ++row)
        order.push_back(Grid->Cells(0, row) + Grid->Cells(1, row));
    EXPECT_EQ(order, (std::vector<std::string> {"head", "a2", "a4", "b1", "b3"}));   // equal keys keep order
    EXPECT_EQ(Grid->RowCells(2).size(), 2u);
    EXPECT_TRUE(Grid->RowCells(5).empty());
    EXPECT_TRUE(Grid->RowCells(-1).empty());
    EXPECT_THROW(Grid->SortRows(3, 3, byFirst), EInvalidOperation);   // past the end: nothing moves
    EXPECT_THROW(Grid->SortRows(-1, 2, byFirst), EInvalidOperation);
    EXPECT_EQ(Grid->Cells(1, 1), "2");
    Drawn.clear();
    Grid->SortRows(1, 2, byFirst);
    Pump();
    EXPECT_TRUE(Has(0, 1));   // repainted
}

TEST_F(StringGridTest, DrawCellGetsEveryVisibleCellWithItsRectAndState) {
    Repaint();
    ASSERT_EQ(Drawn.size(), 25u);
    EXPECT_EQ(D(0, 0).Rect, Rect(0, 0, 65, 24));
    EXPECT_EQ(D(2, 3).Rect, Rect(132, 75, 197, 99));
    EXPECT_TRUE(D(0, 2).State.Contains(gdFixed));
    EXPECT_TRUE(D(3, 0).State.Contains(gdFixed));
    EXPECT_TRUE(D(1, 1).State.Contains(gdSelected));   // the current cell, unfocused
    EXPECT_TRUE(D(2, 2).State.Empty());
    Grid->SetFocus();
    Repaint();
    EXPECT_TRUE(D(1, 1).State.Contains(gdFocused));
    EXPECT_FALSE(D(1, 1).State.Contains(gdSelected));
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goDrawFocusSelected));
    Repaint();
    EXPECT_TRUE(D(1, 1).State.Contains(gdSelected));
}

TEST_F(StringGridTest, OnlyTheCellsInViewAreDrawnOfAHundredRows) {
    Grid->SetRowCount(100);
    Grid->SetTopRow(50);
    Repaint();
    EXPECT_EQ(Drawn.size(), 30u);   // the row cut by the bottom edge too
    EXPECT_TRUE(Has(1, 50));
    EXPECT_TRUE(Has(1, 54));
    EXPECT_FALSE(Has(1, 55));
    EXPECT_FALSE(Has(1, 49));
    EXPECT_EQ(Grid->VisibleRowCount(), 4);
    EXPECT_EQ(Grid->CellRect(1, 49), TRect {});
}

TEST_F(StringGridTest, MouseToCellFindsTheCellAndMinusOneOutside) {
    int col = 0, row = 0;
    Grid->MouseToCell(70, 30, col, row);
    EXPECT_EQ(col, 1);
    EXPECT_EQ(row, 1);
    Grid->MouseToCell(64, 23, col, row);
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 0);
    Grid->MouseToCell(65, 24, col, row);   // on the lines: the cell before them
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 0);
    Grid->MouseToCell(-1, 500, col, row);
    EXPECT_EQ(col, -1);
    EXPECT_EQ(row, -1);
    Grid->SetRowCount(50);
    Grid->SetTopRow(10);
    Grid->MouseToCell(5, 30, col, row);
    EXPECT_EQ(row, 10);
}

TEST_F(StringGridTest, ClickAndKeysMoveTheSelectionAndSelectCellCanVeto) {
    ClickCell(3, 2);
    EXPECT_TRUE(Grid->Focused());
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 2);
    Key(user::VK_DOWN);
    Key(user::VK_RIGHT);
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->Row(), 3);
    Key(user::VK_RIGHT);   // the last column stays
    EXPECT_EQ(Grid->Col(), 4);
    Key(user::VK_HOME, user::ModControl);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 1);
    std::vector<std::pair<int, int>> asked;
    Grid->OnSelectCell = [&](TObject*, int col, int row, bool& canSelect) {
        asked.emplace_back(col, row);
        canSelect = row != 2;
    };
    Key(user::VK_DOWN);
    ClickCell(4, 2);
    ClickCell(0, 3);   // a fixed cell selects nothing
    EXPECT_EQ(Grid->Row(), 1);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], std::make_pair(4, 2));
    ClickCell(2, 3);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(StringGridTest, ShiftExtendsTheRangeAndRowSelectTakesWholeRows) {
    ClickCell(1, 1);
    ClickCell(3, 3, user::ModShift);
    EXPECT_EQ(Grid->Selection(), (TGridRect {1, 1, 3, 3}));
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goRowSelect));
    ClickCell(2, 2);
    EXPECT_EQ(Grid->Selection(), (TGridRect {1, 2, 4, 2}));
    Repaint();
    EXPECT_TRUE(D(4, 2).State.Contains(gdSelected));
    EXPECT_TRUE(D(Grid->Col(), 2).State.Contains(gdSelected));
    EXPECT_FALSE(D(4, 3).State.Contains(gdSelected));
    Key(user::VK_DOWN);
    EXPECT_EQ(Grid->Selection(), (TGridRect {1, 3, 4, 3}));
}

TEST_F(StringGridTest, CountsAboveTheBoundAreRefusedAndTextSayingSoIsAReadError) {
    EXPECT_THROW(Grid->SetRowCount(TCustomGrid::MaxCount + 1), EInvalidOperation);
    EXPECT_THROW(Grid->SetColCount(200000000), EInvalidOperation);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Grid->ColCount(), 5);
    for (const char* text :
        {"object G: TStringGrid\n  RowCount = 10000000\nend", "object G: TStringGrid\n  ColCount = 200000000\nend",
            "object G: TStringGrid\n  DefaultRowHeight = 2147483647\nend"}) {
        auto* grid = Create<TStringGrid>(Form);
        try {
            ReadRootComponent(grid, text);
            ADD_FAILURE() << text;
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Line(), 2);
            EXPECT_NE(std::string(e.what()).find("out of range"), std::string::npos) << e.what();
        }
        EXPECT_EQ(grid->RowCount(), 5);
        grid->Free();
    }
}

TEST_F(StringGridTest, AGridAtTheBoundsKeepsOnlyTheCellsWrittenAndPaints) {
    Grid->SetRowCount(TCustomGrid::MaxCount);
    Grid->SetColCount(TCustomGrid::MaxCount);
    const int last = TCustomGrid::MaxCount - 1;
    Grid->SetCells(5, last, "far");
    Grid->SetCells(2, 1, "near");
    EXPECT_EQ(Grid->Cells(5, last), "far");
    EXPECT_EQ(Grid->Cells(last, last), "");
    Grid->MoveColumn(2, 10);   // a row that ends early moves the cell it holds
    EXPECT_EQ(Grid->Cells(10, 1), "near");
    EXPECT_EQ(Grid->Cells(4, last), "far");
    Grid->MoveColumn(20, 15);   // cells past the rows' ends: nothing to move
    EXPECT_EQ(Grid->Cells(4, last), "far");
    EXPECT_EQ(Grid->Cells(10, 1), "near");
    Grid->SetRow(last);
    Grid->SetCol(last);
    Repaint();
    EXPECT_TRUE(Has(last, last));
    Grid->SetRowCount(3);
    Grid->SetColCount(3);
    EXPECT_EQ(Grid->Cells(2, 1), "");
}

TEST_F(StringGridTest, HugeSizesAreCutAndManyFixedCellsDoNotOverflowTheGeometry) {
    Grid->SetDefaultColWidth(std::numeric_limits<int>::max());
    EXPECT_EQ(Grid->DefaultColWidth(), TCustomGrid::MaxCellSize);
    Grid->SetGridLineWidth(std::numeric_limits<int>::max());
    EXPECT_EQ(Grid->GridLineWidth(), TCustomGrid::MaxCellSize);
    Grid->SetRowCount(5000);
    Grid->SetDefaultRowHeight(std::numeric_limits<int>::max());
    Grid->SetFixedRows(4000);   // sums of 4000 rows of a million pixels each
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goColSizing).Include(goRowSizing));
    Repaint();
    EXPECT_TRUE(Has(0, 0));
    EXPECT_EQ(Grid->CellRect(0, 4999), TRect {});
    EXPECT_EQ(Grid->MouseCoord(10, 10).X, 0);
    TPoint p = At(Grid, 30, 30);
    Display->MoveMouse(p.x, p.y);
    Pump();
    Grid->SetDefaultRowHeight(0);
    Grid->SetDefaultColWidth(0);
    Grid->SetGridLineWidth(0);
    Repaint();   // cells of no size are not drawn
    EXPECT_FALSE(Has(0, 0));
}

TEST_F(StringGridTest, DraggingAFixedColumnLineSizesTheColumnOnlyWithColSizing) {
    TPoint line = At(Grid, 65, 10);
    Display->ButtonDown(user::MouseButton::Left, line.x, line.y);
    Display->MoveMouse(line.x + 20, line.y);
    Display->ButtonUp(user::MouseButton::Left, line.x + 20, line.y);
    Pump();
    EXPECT_EQ(Grid->ColWidths(0), 65);
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goColSizing));
    Display->ButtonDown(user::MouseButton::Left, line.x, line.y);
    Display->MoveMouse(line.x + 20, line.y);
    Display->ButtonUp(user::MouseButton::Left, line.x + 20, line.y);
    Pump();
    EXPECT_EQ(Grid->ColWidths(0), 85);
    Display->ButtonDown(user::MouseButton::Left, line.x + 20, line.y);
    Display->MoveMouse(line.x - 200, line.y);   // not below zero
    Display->ButtonUp(user::MouseButton::Left, line.x - 200, line.y);
    Pump();
    EXPECT_EQ(Grid->ColWidths(0), 0);
}

TEST_F(StringGridTest, DraggingAFixedRowCellMovesTheRowWithItsCells) {
    for (int r = 0; r < 5; ++r)
        Grid->SetCells(1, r, "r" + std::to_string(r));
    std::vector<std::pair<int, int>> moved;
    Grid->OnRowMoved = [&](TObject*, int from, int to) { moved.emplace_back(from, to); };
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goRowMoving));
    TPoint from = CellPoint(0, 1);
    TPoint to = CellPoint(0, 3);
    Display->ButtonDown(user::MouseButton::Left, from.x, from.y);
    Display->MoveMouse(to.x, to.y);
    Display->ButtonUp(user::MouseButton::Left, to.x, to.y);
    Pump();
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0], std::make_pair(1, 3));
    EXPECT_EQ(Grid->Cells(1, 1), "r2");
    EXPECT_EQ(Grid->Cells(1, 3), "r1");
    Grid->MoveColumn(1, 2);
    EXPECT_EQ(Grid->Cells(2, 3), "r1");
}

TEST_F(StringGridTest, ScrollBarsShowTheScrollableRowsAndFollowTheView) {
    Grid->SetScrollBars(ssVertical);
    Grid->SetRowCount(41);   // 40 scrollable rows
    Pump();
    user::SCROLLINFO info {};
    info.cbSize = sizeof(info);
    info.fMask = user::SIF_ALL;
    ASSERT_TRUE(user::GetScrollInfo(Grid->Handle(), user::SB_VERT, &info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 39);
    EXPECT_EQ(int(info.nPage), 4);
    EXPECT_EQ(info.nPos, 0);
    user::SendMessage(Grid->Handle(), user::WM_VSCROLL, user::SB_PAGEDOWN, 0);
    EXPECT_EQ(Grid->TopRow(), 5);
    user::SendMessage(Grid->Handle(), user::WM_VSCROLL, user::MAKEWPARAM(user::SB_THUMBTRACK, 20), 0);
    EXPECT_EQ(Grid->TopRow(), 5);   // without goThumbTracking
    user::SendMessage(Grid->Handle(), user::WM_VSCROLL, user::MAKEWPARAM(user::SB_THUMBPOSITION, 20), 0);
    EXPECT_EQ(Grid->TopRow(), 21);
    user::SendMessage(Grid->Handle(), user::WM_VSCROLL, user::SB_BOTTOM, 0);
    EXPECT_EQ(Grid->TopRow(), 37);   // the last four rows fill the view
    ASSERT_TRUE(user::GetScrollInfo(Grid->Handle(), user::SB_VERT, &info));
    EXPECT_EQ(info.nPos, 36);
    Grid->SetFocus();
    TPoint p = CellPoint(2, 38);
    Display->Wheel(p.x, p.y, 120);
    Pump();
    EXPECT_EQ(Grid->TopRow(), 36);
    Grid->SetRow(1);
    EXPECT_EQ(Grid->TopRow(), 1);
    Key(user::VK_NEXT);
    EXPECT_EQ(Grid->Row(), 5);
    Grid->SetRow(40);
    EXPECT_EQ(Grid->TopRow(), 37);
}

TEST_F(StringGridTest, DefaultDrawingPaintsFixedCellsTextAndSelection) {
    Grid->SetCells(1, 2, "WWWW");
    Grid->SetRow(2);
    Pump();
    EXPECT_EQ(PixelAt(Grid, 30, 12), gdi::GetSysColor(gdi::COLOR_BTNFACE));
    EXPECT_EQ(PixelAt(Grid, 250, 90), gdi::GetSysColor(gdi::COLOR_WINDOW));
    EXPECT_EQ(PixelAt(Grid, 131, 40), gdi::RGB(0xC0, 0xC0, 0xC0));   // a grid line
    EXPECT_EQ(PixelAt(Grid, 65, 10), gdi::RGB(0, 0, 0));   // a fixed cell's line
    EXPECT_EQ(PixelAt(Grid, 120, 55), gdi::GetSysColor(gdi::COLOR_HIGHLIGHT));
    bool text = false;
    for (int x = 67; x < 100; ++x)
        for (int y = 52; y < 70; ++y)
            text = text || PixelAt(Grid, x, y) == gdi::GetSysColor(gdi::COLOR_HIGHLIGHTTEXT);
    EXPECT_TRUE(text);
    Display->WriteScreenshotPng("/tmp/korvex-grid-test.png");
}

TEST_F(StringGridTest, WithoutFixedCellsTheFirstRowAndColumnAreInViewAndSelectable) {
    Grid->SetFixedRows(0);
    Grid->SetFixedCols(0);
    EXPECT_EQ(Grid->TopRow(), 0);
    EXPECT_EQ(Grid->LeftCol(), 0);
    EXPECT_EQ(Grid->Row(), 0);
    EXPECT_EQ(Grid->CellRect(0, 0), Rect(0, 0, 65, 24));
    ClickCell(0, 0);
    EXPECT_EQ(Grid->Col(), 0);
    Grid->SetColWidths(1, 0);   // a hidden column keeps only its line
    EXPECT_EQ(Grid->CellRect(2, 0).left, 67);
}

TEST_F(StringGridTest, MouseMovesAndClicksReachTheEventsWithCellCoordinates) {
    std::vector<std::pair<int, int>> cells;
    Grid->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
        int col = 0, row = 0;
        Grid->MouseToCell(x, y, col, row);
        cells.emplace_back(col, row);
    };
    int clicks = 0, doubles = 0;
    Grid->OnClick = [&](TObject*) { ++clicks; };
    Grid->OnDblClick = [&](TObject*) { ++doubles; };
    TPoint p = CellPoint(2, 3);
    Display->MoveMouse(p.x, p.y);
    Pump();
    ASSERT_FALSE(cells.empty());
    EXPECT_EQ(cells.back(), std::make_pair(2, 3));
    ClickCell(3, 1);
    EXPECT_EQ(clicks, 1);
    p = CellPoint(3, 2);
    Display->DoubleClick(p.x, p.y);
    Pump();
    EXPECT_EQ(doubles, 1);
}

TEST_F(StringGridTest, RowLinesOfTheFixedColumnSizeRowsAndFixedCellsMoveColumns) {
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goRowSizing).Include(goColMoving));
    TPoint line = At(Grid, 30, 49);   // below row 1
    Display->ButtonDown(user::MouseButton::Left, line.x, line.y);
    Display->MoveMouse(line.x, line.y + 10);
    Display->ButtonUp(user::MouseButton::Left, line.x, line.y + 10);
    Pump();
    EXPECT_EQ(Grid->RowHeights(1), 34);
    Grid->SetCells(1, 0, "first");
    std::vector<std::pair<int, int>> moved;
    Grid->OnColumnMoved = [&](TObject*, int from, int to) { moved.emplace_back(from, to); };
    TPoint from = CellPoint(1, 0);
    TPoint to = CellPoint(4, 0);
    Display->ButtonDown(user::MouseButton::Left, from.x, from.y);
    Display->MoveMouse(to.x, to.y);
    Display->ButtonUp(user::MouseButton::Left, to.x, to.y);
    Pump();
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0], std::make_pair(1, 4));
    EXPECT_EQ(Grid->Cells(4, 0), "first");
    Display->ButtonDown(user::MouseButton::Left, to.x, to.y);   // dropped on itself: nothing
    Display->ButtonUp(user::MouseButton::Left, to.x, to.y);
    Pump();
    EXPECT_EQ(moved.size(), 1u);
}

}
