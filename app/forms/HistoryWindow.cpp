// TForm5: the work-unit history window.
#include "app/forms/HistoryWindow.h"

#include "app/settings/Settings.h"
#include "app/settings/SettingsKey.h"
#include "app/nodes/WorkUnitHistory.h"
#include "app/forms/HistoryFindWindow.h"
#include "platform/base/Assert.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TMethodTable.h"
#include "platform/classes/TStringGrid.h"
#include "platform/os/ProgramFolder.h"

#include <algorithm>

namespace korvex::app {

using namespace classes;

TForm5* Form5 = nullptr;

namespace {

struct THistoryHeader {
    const char* Russian;
    const char* English;
};
constexpr THistoryHeader Headers[HistoryColumnCount] = {{"", ""}, {"Дата/Время", "Date/Time"},
    {"Имена заданий", "WU Name"}, {"Run-Clone-Gen", "Run-Clone-Gen"}, {"Очки", "Points"},
    {"Имя компьютера", "Node name"}, {"Средний PPH", "Average PPH"}};

// Window size and column widths in Options, with their defaults.
constexpr int DefaultHeight = 430;
constexpr int DefaultWidth = 630;
constexpr int IndexColumnWidth = 40;   // column 0, not stored
static_assert(MaxHistoryRows + 2 <= std::size_t(TCustomGrid::MaxCount), "the header, the records and the total row");

std::string ColumnWidthName(int column) {
    return "F5C" + std::to_string(column);
}

}

TForm5::TForm5(TComponent* owner) : TSideForm(owner, {"История заданий", "WUs history"}) {
    TMethodTable methods;
    methods.Add("FormShow", this, &TForm5::FormShow)
        .Add("FormClose", this, &TForm5::FormClose)
        .Add("N1Click", this, &TForm5::N1Click)
        .Add("N2Click", this, &TForm5::N2Click)
        .Add("N5Click", this, &TForm5::N5Click)
        .Add("RCG1Click", this, &TForm5::RCG1Click)
        .Add("Exit1Click", this, &TForm5::Exit1Click)
        .Field("History", FHistory)
        .Field("N1", FN1)
        .Field("N2", FN2)
        .Field("N5", FN5)
        .Field("RCG1", FRCG1)
        .Field("Exit1", FExit1);
    RegisterMenuClasses();
    RegisterClasses({TStringGrid::StaticClass()});
    ReadFormResource("Unit5", methods);
    KORVEX_ASSERT(FHistory && FN1 && FN2 && FN5 && FRCG1 && FExit1);
    // The grid's cell painting is not published: bound here.
    FHistory->OnDrawCell = [this](TObject* s, int col, int row, TRect rect, TGridDrawState state) {
        HistoryDrawCell(s, col, row, rect, state);
    };
    FHistory->SetColWidths(0, IndexColumnWidth);
    // The pop-up menu's shortcuts (Ctrl+F: Find...) work wherever the focus is in the window.
    OnShortCut = [this](TMessage& message, bool& handled) {
        handled = handled || MenuIsShortCut(FindComponent("PopupMenu1"), message);
    };
    if (Form5 == nullptr) Form5 = this;
}

TForm5::~TForm5() {
    if (Form5 == this) Form5 = nullptr;
}

TClass TForm5::StaticClass() {
    static const TClassInfo info = MakeClass<TForm5, TSideForm>("TForm5");
    return &info;
}

void TForm5::SetLanguage(int language) {
    if (language != 0 && language != 1) return;
    TSideForm::SetLanguage(language);
    const bool russian = language == 0;
    for (int c = 0; c < HistoryColumnCount; ++c)
        FHistory->SetCells(c, 0, russian ? Headers[c].Russian : Headers[c].English);
    FN1->SetCaption(russian ? "Найти" : "Find...");
    FN2->SetCaption(russian ? "Сортировать по Имени" : "Sort by WU Name");
    FN5->SetCaption(russian ? "Сортировать по нодам" : "Sort by Node Name");
    FRCG1->SetCaption(russian ? "Сортировать по дате" : "Sort by Date");
    FExit1->SetCaption("Exit");
}

void TForm5::ReadHistory() {
    THistoryRead read = ReadHistoryTail(os::ProgramFolder() + "/" + HistoryFileName);
    FRecords = std::move(read.Rows);
    FCount = int(FRecords.size());
    FFileLines = read.Lines;
    FPointsTotal = read.PointsTotal;
}

void TForm5::FormShow(TObject*) {
    FHistory->SetRowCount(2);
    {
        const TSettings defaults;
        TSettingsKey options(OptionsKey);
        SetHeight(options.Integer("F5H", DefaultHeight));
        SetWidth(options.Integer("F5W", DefaultWidth));
        for (int c = 1; c < HistoryColumnCount; ++c)
            FHistory->SetColWidths(c, options.Integer(ColumnWidthName(c), defaults.F5C[std::size_t(c)]));
    }
    SetLanguage(ProgramLanguage());
    ReadHistory();
    if (FFileLines > Count()) {
        const std::string held = std::to_string(Count()), all = std::to_string(FFileLines);
        SetCaption(Caption()
            + (ProgramLanguage() == 0 ? " - последние " + held + " из " + all + " записей"
                                      : " - the last " + held + " of " + all + " records"));
    }
    FillGrid();
    FHistory->SetRow(std::min(1, FHistory->RowCount() - 1));
    FHistory->SetTopRow(1);
}

void TForm5::FillGrid() {
    // The records move into the grid's rows: one copy of every field.
    const int count = Count();
    FHistory->SetRowCount(count + 2);
    std::vector<std::vector<std::string>> rows;
    rows.reserve(std::size_t(count) + 1);
    for (THistoryRow& record : FRecords) {
        // Empty cells at a row's end are not held (a blank line's row holds its number only).
        auto end = record.end();
        while (end - record.begin() > 1 && (end - 1)->empty())
            --end;
        rows.emplace_back(std::make_move_iterator(record.begin()), std::make_move_iterator(end));
    }
    std::vector<THistoryRow>().swap(FRecords);   // the emptied shells
    std::vector<std::string> total(HistoryColumnCount);
    total[hcIndex] = std::to_string(FFileLines);
    total[hcPoints] = std::to_string(FPointsTotal);
    rows.push_back(std::move(total));
    FHistory->SetRows(1, std::move(rows));
}

void TForm5::FormClose(TObject*, TCloseAction&) {
    TSettingsKey options(OptionsKey);
    options.WriteInteger("F5H", Height());
    options.WriteInteger("F5W", Width());
    for (int c = 1; c < HistoryColumnCount; ++c)
        options.WriteInteger(ColumnWidthName(c), FHistory->ColWidths(c));
    // A long history is not held while the window is hidden; the next showing reads the file again.
    FHistory->SetRowCount(2);
    std::vector<THistoryRow>().swap(FRecords);
    FCount = 0;
    FFileLines = 0;
}

namespace {

std::string_view CellOf(const std::vector<std::string>& cells, int column) {
    return std::size_t(column) < cells.size() ? std::string_view(cells[std::size_t(column)]) : std::string_view();
}

}

void TForm5::GridSort(int column) {
    if (column < 0 || column >= HistoryColumnCount || Count() == 0) return;
    // Byte-wise as plain 8-bit text: string_view compares its chars as unsigned.
    FHistory->SortRows(1, Count(), [column](const std::vector<std::string>& a, const std::vector<std::string>& b) {
        return CellOf(a, column) < CellOf(b, column);
    });
}

bool TForm5::FindText(const std::string& text) {
    const auto field = [this](int row, int column) { return CellOf(FHistory->RowCells(row + 1), column); };
    const int found = FindHistoryRow(Count(), field, text, FHistory->Row() - 1);
    if (found < 0) return false;
    FHistory->SetRow(found + 1);   // brought into view
    return true;
}

void TForm5::N1Click(TObject*) {
    if (Form6 == nullptr || Form6->Visible()) return;
    if (Form6->ShowModal() == mrOk) FindText(Form6->FindWhat());
}

void TForm5::N2Click(TObject*) {
    GridSort(hcName);
}

void TForm5::N5Click(TObject*) {
    GridSort(hcNode);
}

void TForm5::RCG1Click(TObject*) {
    GridSort(hcDate);
}

void TForm5::Exit1Click(TObject*) {
    Close();
}

void TForm5::HistoryDrawCell(TObject*, int col, int row, TRect rect, TGridDrawState) {
    if (row != FHistory->RowCount() - 1 || row == 0) return;   // other cells as the grid paints them
    TCanvas* canvas = FHistory->Canvas();
    canvas->Brush()->SetColor(FHistory->FixedColor());
    canvas->Font()->SetStyle(canvas->Font()->Style() + TFontStyles {fsBold});
    canvas->TextRect(rect, rect.left + 2, rect.top + 2, " " + FHistory->Cells(col, row));
}

}
