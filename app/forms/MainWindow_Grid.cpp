// TMainForm: the grid's columns, their headers and splitters, the width rule, cell painting, hints and the wheel.
#include "app/views/GridCells.h"
#include "app/forms/MainCaptions.h"
#include "app/forms/MainWindow.h"
#include "platform/base/Assert.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TStringGrid.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sSplitter.h"

namespace korvex::app {

using namespace classes;

namespace {

constexpr int GridExtra = 10;   // the grid's width beyond its columns
constexpr int WindowExtra = 26;   // the window's width beyond the headers and the grid

// The grid's font at the given height onto the canvas font. A font already so is left as it is (only its
// colour set back), so the handle made for the first cell serves every cell of a paint.
void UseCellFont(TFont* font, const TFont& grid, int height) {
    const bool same = font->Height() == height && font->Name() == grid.Name() && font->Style() == grid.Style()
        && font->Charset() == grid.Charset() && font->Pitch() == grid.Pitch()
        && font->Orientation() == grid.Orientation();
    if (!same) {
        font->Assign(&grid);
        font->SetHeight(height);
    }
    font->SetColor(grid.Color());
}

}

int TMainForm::GridWidth() const {
    int width = GridExtra;
    for (int k = 0; k < ShownColumns; ++k)
        width += FGrid->ColWidths(k);
    return width;
}

void TMainForm::ApplyWidthRule() {
    const int gridWidth = GridWidth();
    FGrid->SetWidth(gridWidth);
    SetWidth(gridWidth + FHeaders[0]->Width() + FHeaders[1]->Width() + WindowExtra);
}

void TMainForm::SetLanguage(int language) {
    if (language != 0 && language != 1) return;
    // The other columns' headers take their captions from the column handlers.
    FHeaders[0]->SetCaption(NameHeader.In(language));
    FHeaders[1]->SetCaption(ProgressHeader.In(language));
    FHeaders[2]->SetCaption(language == 0 ? ColumnCaptions()[0].HeaderRussian : ColumnCaptions()[0].HeaderEnglish);
    for (int k = 0; k < ShownColumns; ++k) {
        const TColumnCaption& column = ColumnCaptions()[k];
        FColumnItems[k]->SetCaption(language == 0 ? column.ItemRussian : column.ItemEnglish);
    }
    for (const TCaptionText& text : MainCaptionTable()) {
        auto* control = FindComponent(text.Name);
        const char* value = language == 0 ? text.Russian : text.English;
        if (auto* item = dynamic_cast<TMenuItem*>(control)) {
            item->SetCaption(value);
        } else if (auto* target = dynamic_cast<TControl*>(control)) {
            if (text.Target == TCaptionTarget::Hint)
                target->SetHint(value);
            else
                target->SetCaption(value);
        }
    }
}

void TMainForm::Core1Click(TObject*) {
    FHeaders[2]->SetWidth(FSettings.WW[1]);
    FHeaders[2]->SetCaption(ColumnCaptions()[0].HeaderEnglish);
    if (FSettings.Language == 0) FHeaders[2]->SetCaption(ColumnCaptions()[0].HeaderRussian);
    FGrid->SetColWidths(0, FSettings.WW[1]);
    ApplyWidthRule();
}

void TMainForm::ColumnClick(int column) {
    KORVEX_ASSERT(column >= 1 && column < ShownColumns);
    skin::TsPanel* header = FHeaders[column + 2];
    skin::TsSplitter* splitter = FSplitters[column + 2];
    if (FColumnItems[column]->Checked()) {
        const int width = FSettings.WW[column + 1];
        const TColumnCaption& caption = ColumnCaptions()[column];
        header->SetWidth(width);
        header->SetCaption(FSettings.Language == 0 ? caption.HeaderRussian : caption.HeaderEnglish);
        FGrid->SetColWidths(column, width);
        splitter->SetEnabled(true);
        splitter->SetLeft(header->Left() + width);
    } else {
        header->SetWidth(0);
        header->SetCaption("");
        FGrid->SetColWidths(column, 0);
        FAllON1->SetChecked(false);
        splitter->SetEnabled(false);
    }
    ApplyWidthRule();
}

void TMainForm::AllON1Click(TObject*) {
    if (FAllON1->Checked())
        for (int k = 1; k < ShownColumns; ++k)
            FColumnItems[k]->SetChecked(true);
    Core1Click(nullptr);
    for (int k = 1; k < ShownColumns; ++k)
        ColumnClick(k);
}

void TMainForm::SplitterResize(int column) {
    const int width = FHeaders[column + 2]->Width();
    FGrid->SetColWidths(column, width);
    ApplyWidthRule();
}

void TMainForm::sSplitter1CanResize(TObject*, int& newSize, bool&) {
    FHeaders[2]->SetWidth(newSize);
    FGrid->SetColWidths(0, newSize);
    ApplyWidthRule();
}

void TMainForm::sSplitter10CanResize(TObject*, int& newSize, bool&) {
    FHeaders[0]->SetWidth(newSize);
    FGrid->SetLeft(newSize + FHeaders[1]->Width());
    for (int i = 0; i < RowCount(); ++i)
        PlaceRowControls(i);
    ApplyWidthRule();
}

void TMainForm::sSplitter11CanResize(TObject*, int& newSize, bool&) {
    FHeaders[1]->SetWidth(newSize);
    FGrid->SetLeft(FHeaders[0]->Width() + newSize);
    for (int i = 0; i < RowCount(); ++i)
        PlaceRowControls(i);
    ApplyWidthRule();
}

void TMainForm::GridDrawCell(TObject*, int col, int row, TRect rect, TGridDrawState) {
    TCanvas* canvas = FGrid->Canvas();
    UseCellFont(canvas->Font(), *FGrid->Font(), -(FSettings.FSize + 3));
    canvas->Brush()->SetColor(FGrid->Color());
    if (col == ColumnIndex(TGridColumn::UnitKey)) {
        const std::string marker = FGrid->Cells(MarkerColumn, row);
        if (marker == "1" || marker == "2") {
            canvas->Brush()->SetColor(TColor(FSettings.WarningColor));
            canvas->Font()->SetColor(marker == "1" ? TColor(FSettings.WarningFontColor) : TColor(0xFF0000));
        }
    }
    // Drawn within the cell: a wider value is clipped at its edge.
    canvas->TextRect(rect, rect.left, rect.top, " " + FGrid->Cells(col, row));
}

std::string TMainForm::CellHint(int col, int row) const {
    const int language = FSettings.Language == 0 ? 0 : 1;
    const TRowView* view = row >= 0 && row < RowCount() ? &FRows[row].View : nullptr;
    switch (static_cast<TGridColumn>(col)) {
    case TGridColumn::Core:
        return std::string(CoreTypeHint.In(language)) + (view ? view->CoreRequired : "") + "\r\n"
            + (view ? view->Version : "");
    case TGridColumn::Remain:
        return RemainHint.In(language);
    case TGridColumn::Finish:
        return FinishHint.In(language);
    case TGridColumn::Points:
        return PointsHint.In(language);
    case TGridColumn::UnitKey: {
        std::string hint = RunCloneGenHint;
        const std::string marker = row >= 0 && row < FGrid->RowCount() ? FGrid->Cells(MarkerColumn, row) : "";
        if (marker == "1") hint = SameUnitsHint.In(language);
        if (marker == "2") hint = SeenUnitHint.In(language);
        return hint;
    }
    default:
        return "";
    }
}

void TMainForm::GridMouseMove(TObject*, TShiftState, int x, int y) {
    int col = -1, row = -1;
    FGrid->MouseToCell(x, y, col, row);
    if (col == FHintCol && row == FHintRow) return;
    FHintCol = col;
    FHintRow = row;
    Application->CancelHint();
    FGrid->SetHint(CellHint(col, row));
}

// Through the skinned box's own scroll, which repaints its skinned background and moves its skinned bar; the
// native bar alone would only move the pixels, the box's fixed frame with them.
void TMainForm::ScrollByWheel(int wheelDelta) {
    FScrollBox->ScrollBy(0, wheelDelta / 8);
}

}
