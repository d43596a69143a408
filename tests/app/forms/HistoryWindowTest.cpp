// The history window: the history file as grid rows with a total row, each sort, sizes kept, Find, both
// languages, and its pictures.
#include "support/SideFormKit.h"

#include "app/forms/HistoryWindow.h"
#include "app/forms/HistoryFindWindow.h"
#include "app/settings/Settings.h"
#include "platform/classes/TMenu.h"
#include "platform/os/RegistryTypes.h"
#include "platform/classes/TStringGrid.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/VirtualKeys.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sSpeedButton.h"

#include <algorithm>
#include <fstream>
#include <functional>

namespace korvex::app::test {

using namespace classes;

namespace {

// n lines with dates, names and nodes in an order unlike the file's, some with a speed.
void WriteHistory(const std::string& path, int n) {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < n; ++i) {
        out << "[" << (10 + i * 7 % 19) << ".12.2024 " << (10 + i % 13) << ":00:00] p" << (2000 + i * 37 % 501)
            << "_unit*" << i % 5 << "-" << i % 11 << "-" << i % 3 << "#" << (100 + i % 50) << "=node"
            << (i * 13 % 17);
        if (i % 4 == 0) out << "@" << (i % 90) << ".25";
        out << "\r\n";
    }
}

class HistoryFormTest : public SideFormTest {
protected:
    TForm5* ShowHistory(int language = 1, int skin = 1) {
        NewMain(NodesSettings(2, language), skin);
        NewSide<TForm6>();
        TForm5* form = NewSide<TForm5>();
        form->Show();
        Pump();
        return form;
    }
    // When the Find window opens modally: "20.25" typed into it, then `finish` (its button, a key ...);
    // `opened` says it did open.
    void WhenFindOpens(bool& opened, std::function<void(TForm6*)> finish) {
        WhenModal([&opened, finish = std::move(finish)](TCustomForm* modal) {
            auto* window = dynamic_cast<TForm6*>(modal);
            ASSERT_NE(window, nullptr);
            opened = true;
            window->Edit()->SetText("20.25");
            finish(window);
        });
    }
    std::vector<std::string> Column(TForm5* form, int column) {
        std::vector<std::string> cells;
        for (int row = 1; row <= form->Count(); ++row)
            cells.push_back(form->History()->Cells(column, row));
        return cells;
    }
};

TEST_F(HistoryFormTest, ShowsEveryRecordAndATotalRowOverTenThousandLines) {
    WriteHistory(Env->File("KORVEX.WUS"), 10000);
    TForm5* form = ShowHistory();
    TStringGrid* grid = form->History();
    ASSERT_EQ(grid->RowCount(), 10002);
    EXPECT_EQ(grid->Cells(1, 0), "Date/Time");
    EXPECT_EQ(grid->Cells(6, 0), "Average PPH");
    EXPECT_EQ(grid->Cells(0, 1), "1");
    EXPECT_EQ(grid->Cells(1, 1), "10.12.2024 10:00:00");
    EXPECT_EQ(grid->Cells(2, 1), "p2000_unit");
    EXPECT_EQ(grid->Cells(3, 1), "0-0-0");
    EXPECT_EQ(grid->Cells(4, 1), "100");
    EXPECT_EQ(grid->Cells(5, 1), "node0");
    EXPECT_EQ(grid->Cells(6, 1), "0.25");
    EXPECT_EQ(grid->Cells(6, 2), "");
    std::int64_t points = 0;
    for (int i = 0; i < 10000; ++i)
        points += 100 + i % 50;
    EXPECT_EQ(grid->Cells(0, 10001), "10000");
    EXPECT_EQ(grid->Cells(4, 10001), std::to_string(points));
    EXPECT_EQ(grid->Cells(2, 10001), "");
}

// A history of more lines than a grid holds (here blank lines a broken writer left, then the units) shows its
// last lines, says so in the caption, and totals the whole file.
TEST_F(HistoryFormTest, AHistoryLongerThanTheGridShowsItsLastLinesAndSaysSo) {
    const std::int64_t blanks = std::int64_t(MaxHistoryRows) + 5;
    {
        std::ofstream out(Env->File("KORVEX.WUS"), std::ios::binary);
        out << std::string(std::size_t(blanks), '\n');
        out << "[05.12.2024 20:10:15] p2605_x*5-33-12#120=box\r\n[06.12.2024 20:10:15] p2008_y*1-2-3#218=box\r\n";
    }
    TForm5* form = ShowHistory();
    TStringGrid* grid = form->History();
    ASSERT_EQ(grid->RowCount(), int(MaxHistoryRows) + 2);
    EXPECT_EQ(form->Count(), int(MaxHistoryRows));
    EXPECT_EQ(grid->Cells(0, 1), std::to_string(blanks + 2 - std::int64_t(MaxHistoryRows) + 1));
    EXPECT_EQ(grid->Cells(2, 1), "");
    const int last = int(MaxHistoryRows);
    EXPECT_EQ(grid->Cells(0, last), std::to_string(blanks + 2));
    EXPECT_EQ(grid->Cells(2, last), "p2008_y");
    EXPECT_EQ(grid->Cells(2, last - 1), "p2605_x");
    EXPECT_EQ(grid->Cells(0, last + 1), std::to_string(blanks + 2));
    EXPECT_EQ(grid->Cells(4, last + 1), "338");
    EXPECT_EQ(form->Caption(),
        "WUs history - the last " + std::to_string(MaxHistoryRows) + " of " + std::to_string(blanks + 2) + " records");
    // A blank line's row holds its number only.
    EXPECT_EQ(grid->RowCells(1).size(), 1u);
    form->Close();
    Pump();
    // A history that fits shows the window's own caption again.
    WriteHistory(Env->File("KORVEX.WUS"), 3);
    form->Show();
    Pump();
    EXPECT_EQ(form->Caption(), "WUs history");
    EXPECT_EQ(grid->RowCount(), 5);
}

TEST_F(HistoryFormTest, EachSortOrdersTheRecordRowsStablyAndLeavesHeaderAndTotal) {
    WriteHistory(Env->File("KORVEX.WUS"), 10000);
    TForm5* form = ShowHistory();
    TStringGrid* grid = form->History();
    const std::string total = grid->Cells(4, 10001);
    struct Sort {
        TMenuItem* item;
        int column;
    };
    const Sort sorts[] = {{dynamic_cast<TMenuItem*>(form->FindComponent("N2")), hcName},
        {dynamic_cast<TMenuItem*>(form->FindComponent("N5")), hcNode},
        {dynamic_cast<TMenuItem*>(form->FindComponent("RCG1")), hcDate}};
    for (const Sort& sort : sorts) {
        ASSERT_NE(sort.item, nullptr);
        sort.item->Click();
        const std::vector<std::string> keys = Column(form, sort.column);
        const std::vector<std::string> indexes = Column(form, hcIndex);
        for (std::size_t i = 1; i < keys.size(); ++i) {
            ASSERT_LE(keys[i - 1], keys[i]) << "column " << sort.column << " row " << i;
            if (keys[i - 1] == keys[i] && sort.column == hcName) {
                // Equal names keep the file's order (the first sort starts from it).
                ASSERT_LT(std::stoi(indexes[i - 1]), std::stoi(indexes[i]));
            }
        }
        EXPECT_EQ(grid->Cells(1, 0), "Date/Time");
        EXPECT_EQ(grid->Cells(0, 10001), "10000");
        EXPECT_EQ(grid->Cells(4, 10001), total);
    }
    // Whole rows moved: each row's number still names its own line's fields.
    for (int row = 1; row <= 10000; row += 997) {
        const int i = std::stoi(grid->Cells(0, row)) - 1;
        EXPECT_EQ(grid->Cells(5, row), "node" + std::to_string(i * 13 % 17));
    }
    // Sorting by date twice changes nothing.
    const std::vector<std::string> once = Column(form, hcIndex);
    form->GridSort(hcDate);
    EXPECT_EQ(Column(form, hcIndex), once);
}

TEST_F(HistoryFormTest, AnEmptyOrMissingFileShowsTheHeaderAndAZeroTotal) {
    TForm5* form = ShowHistory();
    EXPECT_EQ(form->History()->RowCount(), 2);
    EXPECT_EQ(form->History()->Cells(0, 1), "0");
    EXPECT_EQ(form->History()->Cells(4, 1), "0");
    std::ofstream(Env->File("KORVEX.WUS"), std::ios::binary).flush();
    form->Close();
    form->Show();
    Pump();
    EXPECT_EQ(form->History()->RowCount(), 2);
    EXPECT_EQ(form->History()->Cells(4, 1), "0");
}

TEST_F(HistoryFormTest, SizeAndColumnWidthsAreWrittenAtShowAndKeptAtClose) {
    TForm5* form = ShowHistory();
    EXPECT_EQ(os::DwordOf(*Env->Stored(OptionsKey, "F5H")), 430u);
    EXPECT_EQ(os::DwordOf(*Env->Stored(OptionsKey, "F5W")), 630u);
    EXPECT_EQ(os::DwordOf(*Env->Stored(OptionsKey, "F5C2")), 255u);
    EXPECT_EQ(form->Height(), 430);
    EXPECT_EQ(form->Width(), 630);
    EXPECT_EQ(form->History()->ColWidths(6), 62);
    form->SetBounds(form->Left(), form->Top(), 700, 380);
    form->History()->SetColWidths(2, 300);
    form->Close();
    EXPECT_EQ(os::DwordOf(*Env->Stored(OptionsKey, "F5H")), 380u);
    EXPECT_EQ(os::DwordOf(*Env->Stored(OptionsKey, "F5W")), 700u);
    EXPECT_EQ(os::DwordOf(*Env->Stored(OptionsKey, "F5C2")), 300u);
    form->History()->SetColWidths(2, 50);
    form->Show();
    Pump();
    EXPECT_EQ(form->Width(), 700);
    EXPECT_EQ(form->History()->ColWidths(2), 300);
}

TEST_F(HistoryFormTest, FindAfterASortWalksTheRowsInTheirShownOrder) {
    WriteHistory(Env->File("KORVEX.WUS"), 40);
    TForm5* form = ShowHistory();
    TStringGrid* grid = form->History();
    form->GridSort(hcNode);
    grid->SetRow(1);
    // Every row holding "node1" (node1, node10 ... node16) in the sorted order, then round to the first.
    std::vector<int> found;
    for (int i = 0; i < 8 && form->FindText("node1"); ++i)
        found.push_back(grid->Row());
    ASSERT_FALSE(found.empty());
    for (std::size_t i = 1; i < found.size(); ++i) {
        if (found[i] < found[i - 1]) break;   // wrapped round
        EXPECT_LE(grid->Cells(hcNode, found[i - 1]), grid->Cells(hcNode, found[i]));
    }
    for (int row : found) {
        EXPECT_NE(grid->Cells(hcNode, row).find("node1"), std::string::npos);
        EXPECT_LT(row, grid->RowCount() - 1);
    }
}

TEST_F(HistoryFormTest, FindSelectsTheNextRowHoldingTheText) {
    WriteHistory(Env->File("KORVEX.WUS"), 40);
    TForm5* form = ShowHistory();
    EXPECT_TRUE(form->FindText("p2037"));   // line 2
    EXPECT_EQ(form->History()->Row(), 2);
    EXPECT_TRUE(form->FindText("NODE4"));   // line 9 (8 * 13 % 17 = 2 ... the first after row 2)
    EXPECT_EQ(form->History()->Cells(5, form->History()->Row()), "node4");
    EXPECT_GT(form->History()->Row(), 2);
    EXPECT_FALSE(form->FindText("nothing like it"));
    // Through the pop-up menu: the Find window's text, then its button.
    form->History()->SetRow(1);
    bool opened = false;
    WhenFindOpens(opened, [](TForm6* window) { window->FindButton()->Click(); });
    dynamic_cast<TMenuItem*>(form->FindComponent("N1"))->Click();
    EXPECT_TRUE(opened);
    EXPECT_EQ(form->History()->Cells(6, form->History()->Row()), "20.25");
    EXPECT_FALSE(Form6->Visible());
}

TEST_F(HistoryFormTest, CtrlFOpensTheFindWindowAsTheMenuShows) {
    WriteHistory(Env->File("KORVEX.WUS"), 40);
    TForm5* form = ShowHistory();
    auto* find = dynamic_cast<TMenuItem*>(form->FindComponent("N1"));
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->ShortCut(), TextToShortCut("Ctrl+F"));
    form->History()->SetFocus();
    form->History()->SetRow(1);
    Pump();
    bool opened = false;
    WhenFindOpens(opened, [](TForm6* window) { window->FindButton()->Click(); });
    Display->KeyDown(user::VK_CONTROL, {}, user::ModControl);
    Display->KeyDown('F', {}, user::ModControl);
    Display->KeyUp('F', user::ModControl);
    Display->KeyUp(user::VK_CONTROL, 0);
    Pump();
    EXPECT_TRUE(opened);
    EXPECT_EQ(form->History()->Cells(6, form->History()->Row()), "20.25");   // and its search ran
}

// Enter in the Find window's edit is its button: the window closes and the search runs.
TEST_F(HistoryFormTest, EnterInTheFindWindowFinds) {
    WriteHistory(Env->File("KORVEX.WUS"), 40);
    TForm5* form = ShowHistory();
    form->History()->SetRow(1);
    bool opened = false;
    WhenFindOpens(opened, [this](TForm6* window) {
        window->Edit()->SetFocus();
        Display->KeyDown(user::VK_RETURN, {}, 0);
        Display->KeyUp(user::VK_RETURN, 0);
        // Not closed by Enter: cancelled, and the checks below fail.
        user::MessageEventLoop().Post([window] {
            if (window->Visible()) window->SetModalResult(mrCancel);
        });
    });
    dynamic_cast<TMenuItem*>(form->FindComponent("N1"))->Click();
    EXPECT_TRUE(opened);
    EXPECT_EQ(form->History()->Cells(6, form->History()->Row()), "20.25");
    EXPECT_FALSE(Form6->Visible());
}

// The Find window holds one edit and one button "Find", nothing else.
TEST_F(HistoryFormTest, TheFindWindowHoldsAnEditAndItsButtonAlone) {
    ShowHistory();
    std::vector<std::string> names;
    for (int i = 0; i < Form6->ControlCount(); ++i)
        names.push_back(Form6->Controls(i)->Name());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string> {"sEdit1", "sSpeedButton1"}));
    EXPECT_EQ(Form6->FindButton()->Caption(), "Find");
}

// At the window's default size the columns take their default widths, wider together than the window: the first
// ones are in view, and the grid scrolls to the last, in each look.
TEST_F(HistoryFormTest, TheDefaultColumnWidthsScrollPastTheDefaultSize) {
    WriteHistory(Env->File("KORVEX.WUS"), 40);
    const int widths[] = {120, 255, 105, 62, 105, 62};
    for (int skin : {-1, 1, 2, 3}) {
        TForm5* form = ShowHistory(1, skin);
        TStringGrid* grid = form->History();
        EXPECT_EQ(form->Width(), 630);
        for (int c = 1; c < HistoryColumnCount; ++c)
            EXPECT_EQ(grid->ColWidths(c), widths[c - 1]) << "skin " << skin << " column " << c;
        EXPECT_EQ(grid->LeftCol(), 1);
        const TRect client = grid->ClientRect();
        for (int c : {hcDate, hcName})
            EXPECT_LE(grid->CellRect(c, 0).right, client.right) << "skin " << skin << " column " << c;
        EXPECT_EQ(grid->CellRect(hcSpeed, 0).Width(), 0) << "skin " << skin;   // out of view
        WriteFormPicture(form, "history-default-size-skin" + std::to_string(skin));
        grid->SetLeftCol(hcNode);
        Pump();
        const TRect last = grid->CellRect(hcSpeed, 0);
        EXPECT_GT(last.Width(), 0) << "skin " << skin;
        EXPECT_LE(last.right, client.right) << "skin " << skin;
        form->Close();
        TearDown();
        SetUp();
        WriteHistory(Env->File("KORVEX.WUS"), 40);
    }
}

TEST_F(HistoryFormTest, RussianHeadersAndMenu) {
    TForm5* form = ShowHistory(0);
    EXPECT_EQ(form->Caption(), "История заданий");
    EXPECT_EQ(form->History()->Cells(2, 0), "Имена заданий");
    EXPECT_EQ(form->History()->Cells(5, 0), "Имя компьютера");
    EXPECT_EQ(dynamic_cast<TMenuItem*>(form->FindComponent("N5"))->Caption(), "Сортировать по нодам");
    form->SetLanguage(1);
    EXPECT_EQ(form->Caption(), "WUs history");
    EXPECT_EQ(dynamic_cast<TMenuItem*>(form->FindComponent("N1"))->Caption(), "Find...");
}

TEST_F(HistoryFormTest, WritesItsPictures) {
    WriteHistory(Env->File("KORVEX.WUS"), 14);
    for (int skin : {1, 3})
        for (int language : {0, 1}) {
            TForm5* form = ShowHistory(language, skin);
            form->History()->SetRow(3);
            const std::string name = std::string("history-") + (skin == 1 ? "LongHorn" : "Office2003")
                + (language == 0 ? "-ru" : "-en");
            // The picture shows the header, the records and the total row in their cells.
            const TPicture picture(WriteFormPicture(form, name), form);
            ASSERT_TRUE(picture.Valid()) << name;
            TStringGrid* grid = form->History();
            for (int row : {0, 1, 2, 4})
                EXPECT_GE(picture.Strokes(grid, grid->CellRect(2, row)), 12) << name << " row " << row;
            form->Close();
            Form6->Show();
            Form6->Edit()->SetText("p2037");
            const std::string find = std::string("find-") + (skin == 1 ? "LongHorn" : "Office2003")
                + (language == 0 ? "-ru" : "-en");
            const TPicture found(WriteFormPicture(Form6, find), Form6);
            ASSERT_TRUE(found.Valid()) << find;
            EXPECT_TRUE(found.ShowsText(Form6->Edit(), 3)) << find;   // the text looked for
            Form6->Close();
            TearDown();
            SetUp();
            WriteHistory(Env->File("KORVEX.WUS"), 14);
        }
}

}

}
