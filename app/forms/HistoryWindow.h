// TForm5: the work-unit history window: the history file as a grid with a total row, sorted by a column,
// searched, its size and column widths kept.
#pragma once

#include "app/views/HistoryTable.h"
#include "app/forms/SideForm.h"
#include "platform/classes/GridTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvex::classes {
class TMenuItem;
class TStringGrid;
}

namespace korvex::app {

class TForm5 : public TSideForm {
public:
    explicit TForm5(classes::TComponent* owner);
    ~TForm5() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    void SetLanguage(int language) override;   // caption, headers and pop-up menu

    // The history file of the program folder parsed; the showing moves the records into the grid, which then
    // alone holds them (sorted and searched there). Of a file longer than MaxHistoryRows lines the last ones
    // are held; the caption then says so, and the total row still counts the whole file.
    void ReadHistory();
    int Count() const { return FCount; }   // records held
    std::int64_t FileLines() const { return FFileLines; }   // records in the file
    const std::vector<THistoryRow>& Records() const { return FRecords; }   // as read, until the showing takes them
    std::int64_t PointsTotal() const { return FPointsTotal; }

    void FormShow(classes::TObject* sender);
    void FormClose(classes::TObject* sender, classes::TCloseAction& action);
    void GridSort(int column);   // the record rows by one column; the header and total rows stay
    // Selects the next record row after the selected one holding the text (wrapping); false when none.
    bool FindText(const std::string& text);

    void N1Click(classes::TObject* sender);   // "Find...": the Find window, then the search
    void N2Click(classes::TObject* sender);   // sort by WU name
    void N5Click(classes::TObject* sender);   // sort by node name
    void RCG1Click(classes::TObject* sender);   // sort by date
    void Exit1Click(classes::TObject* sender);
    void HistoryDrawCell(
        classes::TObject* sender, int col, int row, classes::TRect rect, classes::TGridDrawState state);

    classes::TStringGrid* History() const { return FHistory; }

private:
    void FillGrid();

    std::vector<THistoryRow> FRecords;   // read, not yet in the grid
    int FCount = 0;
    std::int64_t FFileLines = 0;
    std::int64_t FPointsTotal = 0;
    classes::TStringGrid* FHistory = nullptr;
    classes::TMenuItem* FN1 = nullptr;
    classes::TMenuItem* FN2 = nullptr;
    classes::TMenuItem* FN5 = nullptr;
    classes::TMenuItem* FRCG1 = nullptr;
    classes::TMenuItem* FExit1 = nullptr;
};

extern TForm5* Form5;

}
