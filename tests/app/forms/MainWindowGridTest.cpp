// The main window's columns: the width rule, show and hide, the header splitters, cell hints, cell painting
// and wheel scrolling.
#include "support/MainFormKit.h"

#include "platform/classes/TMenu.h"
#include "platform/classes/TStringGrid.h"
#include "platform/user/Painting.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sSplitter.h"

namespace korvex::app::test {

using namespace classes;

namespace {

constexpr int DefaultColumnsSum = 74 + 41 + 87 + 87 + 87 + 33 + 41 + 34 + 93;   // W1W..W9W by default
constexpr int NameWidth = 97;
constexpr int ProgressWidth = 156;

int WindowWidthFor(int gridColumns, int name = NameWidth, int progress = ProgressWidth) {
    return gridColumns + 10 + name + progress + 26;
}

void SetColumn(TMainForm* form, int column, bool shown) {
    form->ColumnItem(column)->SetChecked(shown);
    form->ColumnClick(column);
}

}

TEST_F(MainFormTest, LoadingAppliesTheWidthRuleToTheStoredWidths) {
    TMainForm* form = NewMainForm(NodesSettings(3));
    EXPECT_EQ(form->GridWidth(), DefaultColumnsSum + 10);
    EXPECT_EQ(form->Grid()->Width(), DefaultColumnsSum + 10);
    EXPECT_EQ(form->Width(), WindowWidthFor(DefaultColumnsSum));
    EXPECT_EQ(form->Grid()->Left(), NameWidth + ProgressWidth);
    EXPECT_EQ(form->Grid()->ColWidths(MarkerColumn), 0);
    for (int k = 0; k < ShownColumns; ++k)
        EXPECT_EQ(form->Header(k + 2)->Width(), form->Grid()->ColWidths(k)) << k;
}

TEST_F(MainFormTest, ColumnsHiddenAtLoadStayHiddenAndAllOnIsCleared) {
    TSettings settings = NodesSettings(2);
    settings.W[3] = false;   // start column
    TMainForm* form = NewMainForm(settings);
    EXPECT_FALSE(form->ColumnItem(2)->Checked());
    EXPECT_FALSE(form->AllOnItem()->Checked());
    EXPECT_EQ(form->Grid()->ColWidths(2), 0);
    EXPECT_EQ(form->Header(4)->Caption(), "");
    EXPECT_FALSE(form->Splitter(4)->Enabled());
    EXPECT_EQ(form->Width(), WindowWidthFor(DefaultColumnsSum - 87));
}

TEST_F(MainFormTest, HidingEveryOptionalColumnLeavesTheCoreColumnAndAllOnRestoresThem) {
    TMainForm* form = NewMainForm(NodesSettings(2));
    for (int k = 1; k < ShownColumns; ++k) {
        SetColumn(form, k, false);
        EXPECT_FALSE(form->AllOnItem()->Checked()) << k;
        EXPECT_EQ(form->Header(k + 2)->Width(), 0) << k;
    }
    EXPECT_EQ(form->GridWidth(), 74 + 10);
    EXPECT_EQ(form->Width(), WindowWidthFor(74));

    form->AllOnItem()->SetChecked(true);
    form->AllON1Click(nullptr);
    for (int k = 1; k < ShownColumns; ++k) {
        EXPECT_TRUE(form->ColumnItem(k)->Checked()) << k;
        EXPECT_TRUE(form->Splitter(k + 2)->Enabled()) << k;
    }
    EXPECT_EQ(form->Width(), WindowWidthFor(DefaultColumnsSum));
    EXPECT_EQ(form->Header(5)->Caption(), "Deadline");
}

TEST_F(MainFormTest, AShownColumnTakesItsStoredWidthAndItsSplitterSitsAtItsRightEdge) {
    TMainForm* form = NewMainForm(NodesSettings(2));
    SetColumn(form, 4, false);
    SetColumn(form, 4, true);
    EXPECT_EQ(form->Grid()->ColWidths(4), 87);
    EXPECT_EQ(form->Header(6)->Caption(), "Finish (?)");
    EXPECT_EQ(form->Splitter(6)->Left(), form->Header(6)->Left() + 87);
}

TEST_F(MainFormTest, HeaderSplittersFollowTheWidthRules) {
    TMainForm* form = NewMainForm(NodesSettings(3));

    int size = 120;
    bool accept = true;
    form->sSplitter10CanResize(nullptr, size, accept);   // node names
    EXPECT_EQ(form->Width(), WindowWidthFor(DefaultColumnsSum, 120));
    EXPECT_EQ(form->Grid()->Left(), 120 + ProgressWidth);
    for (int i = 0; i < 3; ++i) {
        const TNodeRowControls& row = form->Row(i);
        EXPECT_EQ(row.Status->Left(), 120);
        EXPECT_EQ(row.Farm->Left(), 133);
        EXPECT_EQ(row.Backup->Left(), 140);
        EXPECT_EQ(row.Gauge->Left(), 149);
    }

    size = 200;
    form->sSplitter11CanResize(nullptr, size, accept);   // progress
    EXPECT_EQ(form->Grid()->Left(), 120 + 200);
    EXPECT_EQ(form->Row(2).Gauge->Width(), 168);
    EXPECT_EQ(form->Width(), WindowWidthFor(DefaultColumnsSum, 120, 200));

    size = 100;
    form->sSplitter1CanResize(nullptr, size, accept);   // core
    EXPECT_EQ(form->Grid()->ColWidths(0), 100);
    EXPECT_EQ(form->Header(2)->Width(), 100);
    EXPECT_EQ(form->Width(), WindowWidthFor(DefaultColumnsSum - 74 + 100, 120, 200));

    form->Header(7)->SetWidth(50);   // points, as its splitter leaves it
    form->SplitterResize(5);
    EXPECT_EQ(form->Grid()->ColWidths(5), 50);
    EXPECT_EQ(form->Width(), WindowWidthFor(DefaultColumnsSum - 74 + 100 - 33 + 50, 120, 200));

    // A column shown again, and the core column's handler, take the widths loaded from the store.
    form->ColumnItem(5)->SetChecked(false);
    form->ColumnClick(5);
    form->ColumnItem(5)->SetChecked(true);
    form->ColumnClick(5);
    EXPECT_EQ(form->Grid()->ColWidths(5), 33);
    form->Core1Click(nullptr);
    EXPECT_EQ(form->Grid()->ColWidths(0), 74);
    EXPECT_EQ(form->Width(), WindowWidthFor(DefaultColumnsSum, 120, 200));
}

TEST_F(MainFormTest, CellHintsFollowColumnRowMarkerAndLanguage) {
    struct Case {
        int Language, Col, Row;
        std::string Expected;
    };
    const Case cases[] = {
        {1, 0, 0, "Core type\r\nCore_a4\r\n5.04"},
        {0, 0, 0, "Тип ядра\r\nCore_a4\r\n5.04"},
        {1, 1, 0, "Estimated Hours Remaining"},
        {0, 1, 0, "Время в часах.\r\n(прогноз)"},
        {1, 2, 0, ""},
        {1, 3, 0, ""},
        {1, 4, 0, "Estimated completion time\r\nunder current CPU useage"},
        {1, 5, 0, "Points are awarded upon\r\ncompletion of the work unit"},
        {1, 6, 0, ""},
        {1, 8, 0, "#Project * #Run-#Clone-#Gen"},
        {1, 8, 1, ""},   // marker "1": no English hint
        {0, 8, 1, "Одинаковые юниты"},
        {0, 8, 2, "Возможно посчитанный\r\nранее юнит"},
        {0, 8, 0, "#Project * #Run-#Clone-#Gen"},
    };
    for (int language = 0; language < 2; ++language) {
        TMainForm* form = NewMainForm(NodesSettings(3, language), -1);
        form->RowRefreshed(SampleRefresh(0, 10));
        form->RowRefreshed(SampleRefresh(1, 10, "1"));
        form->RowRefreshed(SampleRefresh(2, 10, "2"));
        for (const Case& c : cases) {
            if (c.Language == language) {
                EXPECT_EQ(form->CellHint(c.Col, c.Row), c.Expected)
                    << c.Col << "," << c.Row << " language " << language;
            }
        }
        form->Free();
    }
}

TEST_F(MainFormTest, MovingWithinOneCellKeepsTheHintAndAnotherRowChangesIt) {
    TMainForm* form = NewMainForm(NodesSettings(3));
    TRowRefresh second = SampleRefresh(1, 10);
    second.Row.CoreRequired = "Core_78";
    form->RowRefreshed(SampleRefresh(0, 10));
    form->RowRefreshed(second);
    TStringGrid* grid = form->Grid();
    form->GridMouseMove(grid, {}, 5, 5);
    EXPECT_EQ(grid->Hint(), "Core type\r\nCore_a4\r\n5.04");
    grid->SetHint("kept");
    form->GridMouseMove(grid, {}, 20, 7);   // the same cell
    EXPECT_EQ(grid->Hint(), "kept");
    form->GridMouseMove(grid, {}, 5, NodeRowHeight + 5);   // the same column, the next row
    EXPECT_EQ(grid->Hint(), "Core type\r\nCore_78\r\n5.04");
}

TEST_F(MainFormTest, MarkedRunCloneGenCellsAreDrawnInTheWarningColour) {
    TSettings settings = NodesSettings(3);
    settings.WarningColor = 0x00FFFF;   // yellow
    TMainForm* form = NewMainForm(settings, -1);
    form->RowRefreshed(SampleRefresh(0, 10));
    form->RowRefreshed(SampleRefresh(1, 10, "1"));
    form->RowRefreshed(SampleRefresh(2, 10, "2"));
    Pump();
    TStringGrid* grid = form->Grid();
    const TRect cell0 = grid->CellRect(8, 0);
    const TRect cell1 = grid->CellRect(8, 1);
    const TRect cell2 = grid->CellRect(8, 2);
    const int x = cell0.right - 3;   // past the text
    EXPECT_NE(ScreenPixel(grid, x, cell0.top + 2), gdi::RGB(255, 255, 0));
    EXPECT_EQ(ScreenPixel(grid, x, cell1.top + 2), gdi::RGB(255, 255, 0));
    EXPECT_EQ(ScreenPixel(grid, x, cell2.top + 2), gdi::RGB(255, 255, 0));
    // Other columns of a marked row keep the grid's colour.
    const TRect points = grid->CellRect(5, 1);
    EXPECT_NE(ScreenPixel(grid, points.right - 2, points.top + 2), gdi::RGB(255, 255, 0));
}

// A marked cell is drawn in the warning colours as stored, also where they hardly read (cyan on white), and a
// wider value is clipped at the cell's edge, nothing of it in the next column.
TEST_F(MainFormTest, AWarningCellTakesTheStoredColoursAndAWideValueStaysInItsCell) {
    TSettings settings = NodesSettings(3);
    settings.WarningColor = 0xFFFFFF;
    settings.WarningFontColor = 0xFFFF00;   // cyan
    TMainForm* form = NewMainForm(settings, -1);
    form->RowRefreshed(SampleRefresh(0, 10, "1"));
    form->RowRefreshed(SampleRefresh(1, 10, "2"));
    TRowRefresh wide = SampleRefresh(2, 10);
    wide.Row.Cells[6] = "12345678901234567890.67";
    wide.Row.Cells[7] = "";
    form->RowRefreshed(wide);
    Pump();
    TStringGrid* grid = form->Grid();
    auto count = [&](const TRect& r, gdi::COLORREF colour) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += ScreenPixel(grid, x, y) == colour;
        return n;
    };
    EXPECT_GT(count(grid->CellRect(8, 0), gdi::RGB(0, 255, 255)), 15);   // cyan text on white
    EXPECT_EQ(count(grid->CellRect(8, 0), gdi::RGB(0, 0, 0)), 0);
    EXPECT_GT(count(grid->CellRect(8, 1), gdi::RGB(0, 0, 255)), 15);   // blue text
    const TRect day = grid->CellRect(6, 2);
    const TRect hour = grid->CellRect(7, 2);
    const gdi::COLORREF ground = ScreenPixel(grid, hour.right - 1, hour.bottom - 1);
    EXPECT_LT(count(day, ground), (day.right - day.left) * (day.bottom - day.top) - 20);   // ink up to its edge
    EXPECT_EQ(count(hour, ground), (hour.right - hour.left) * (hour.bottom - hour.top));
}

// The cell font is set once and kept across cells: a marked cell's text colour stays in its cell, and a new
// grid font still reaches every cell.
TEST_F(MainFormTest, CellsKeepTheirOwnTextColourAndFollowAGridFontChange) {
    TSettings settings = NodesSettings(4);
    settings.WarningColor = 0x00FFFF;   // yellow: a seen unit's blue reads on it
    TMainForm* form = NewMainForm(settings, -1);
    for (int node = 0; node < 4; ++node)
        form->RowRefreshed(SampleRefresh(node, 10, node == 2 ? "2" : ""));
    Pump();
    TStringGrid* grid = form->Grid();
    auto inked = [&](int col, int row, gdi::COLORREF colour) {
        const TRect cell = grid->CellRect(col, row);
        int count = 0;
        for (int y = cell.top; y < cell.bottom; ++y)
            for (int x = cell.left; x < cell.right; ++x)
                count += colour == 0xFFFFFFFF ? ScreenPixel(grid, x, y) != ScreenPixel(grid, cell.right - 1, y)
                                              : ScreenPixel(grid, x, y) == colour;
        return count;
    };
    const gdi::COLORREF blue = gdi::RGB(0, 0, 255);   // TColor 0xFF0000
    EXPECT_GT(inked(8, 2, blue), 0);
    EXPECT_EQ(inked(0, 3, blue), 0);   // the cell after the marked one
    EXPECT_EQ(inked(8, 3, blue), 0);
    const int plain = inked(5, 0, 0xFFFFFFFF);
    ASSERT_GT(plain, 0);
    grid->Font()->SetStyle(TFontStyles {fsBold});
    grid->Invalidate();
    Pump();
    EXPECT_GT(inked(5, 0, 0xFFFFFFFF), plain);
    EXPECT_GT(inked(5, 3, 0xFFFFFFFF), plain);
}

TEST_F(MainFormTest, TheWheelScrollsTheRowsFifteenPixelsANotch) {
    TMainForm* form = NewMainForm(NodesSettings(40), -1);
    TControlScrollBar* bar = form->ScrollBox()->VertScrollBar();
    ASSERT_TRUE(bar->IsScrollBarVisible());
    Wheel(form->Grid(), -120);
    EXPECT_EQ(bar->Position(), 15);
    Wheel(form->Grid(), -240);   // the grid's wheel-down event counts one notch a message
    EXPECT_EQ(bar->Position(), 30);
    form->ScrollByWheel(240);   // the scroll box's own wheel event carries the delta
    EXPECT_EQ(bar->Position(), 0);
    form->ScrollByWheel(-360);
    EXPECT_EQ(bar->Position(), 45);
    form->ScrollByWheel(1200);
    EXPECT_EQ(bar->Position(), 0);   // kept in range
}

// A notch down and one back up shows the rows as before: the texts beside the grid (the row squares cut the
// rows' area into many bands) and, in a skin, the box's fixed frame, which must not move with the rows.
TEST_F(MainFormTest, ANotchDownAndBackUpShowsTheRowsAsBefore) {
    for (int skin : {-1, 1}) {
        TMainForm* form = NewMainForm(NodesSettings(40), skin);
        for (int node = 0; node < 40; ++node)
            form->RowRefreshed(SampleRefresh(node, 10 + node));
        Pump();
        const TControl* box = form->ScrollBox();
        const int width = box->ClientWidth();
        const int height = box->ClientHeight();
        std::vector<gdi::COLORREF> before;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                before.push_back(ScreenPixel(box, x, y));
        Wheel(form->Grid(), -120);
        Pump();
        ASSERT_EQ(form->ScrollBox()->VertScrollBar()->Position(), 15);
        Wheel(form->Grid(), 120);
        Pump();
        ASSERT_EQ(form->ScrollBox()->VertScrollBar()->Position(), 0);
        int changed = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                changed += ScreenPixel(box, x, y) != before[std::size_t(y * width + x)];
        EXPECT_EQ(changed, 0) << "skin " << skin;
        if (changed != 0) WritePicture("notch-down-and-up-skin" + std::to_string(skin));
        form->Free();
    }
}

TEST_F(MainFormTest, TheWindowShowsAtMostTwentyFiveRows) {
    for (int nodes : {1, 25, 26, 60}) {
        TMainForm* form = NewMainForm(NodesSettings(nodes), -1);
        const int shown = nodes >= 26 ? 25 : nodes;
        EXPECT_EQ(form->Height(), nodes >= 26 ? 523 : nodes * NodeRowHeight + 123) << nodes;
        EXPECT_EQ(form->ScrollBox()->Height(), shown * NodeRowHeight + 5) << nodes;
        EXPECT_EQ(form->Grid()->Height(), nodes * NodeRowHeight) << nodes;
        form->Free();
    }
}

}
