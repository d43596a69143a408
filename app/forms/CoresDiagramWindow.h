// TForm4: the cores diagram window: for every node a row of LED bars, one per core type, showing the node's
// measured speed against a scale of perfect values chosen with a track bar.
#pragma once

#include "app/views/CoresDiagram.h"
#include "app/forms/SideForm.h"

#include <array>
#include <vector>

namespace korvex::leds {
class TiLedBar;
}
namespace korvex::skin {
class TsDecimalSpinEdit;
class TsLabel;
class TsPanel;
class TsRadioButton;
class TsScrollBox;
class TsSpeedButton;
class TsTrackBar;
}

namespace korvex::app {

// The controls of one node's row, owned by the window.
struct TDiagramRow {
    skin::TsPanel* Panel = nullptr;
    skin::TsLabel* Name = nullptr;
    std::array<leds::TiLedBar*, DiagramCoreCount> Bars {};
    std::array<skin::TsLabel*, DiagramCoreCount> Letters {};
};

class TForm4 : public TSideForm {
public:
    static constexpr int RowHeight = 40;
    static constexpr int MaxShownRows = 10;   // more rows scroll

    explicit TForm4(classes::TComponent* owner);
    ~TForm4() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    void SetLanguage(int language) override;

    void FormShow(classes::TObject* sender);   // sizes the window for the nodes, then DrawLB
    void FormClose(classes::TObject* sender, classes::TCloseAction& action);   // frees the rows
    void DrawLB();   // reads the options and speeds and builds every row again
    void FreeRows();
    // The clicked row's speeds in a message; "Select node..." for any other sender.
    void ShowResults(classes::TObject* sender);
    std::string ResultsText(classes::TObject* sender);   // what ShowResults shows

    void sSpeedButton1Click(classes::TObject* sender);   // Close
    void sSpeedButton2Click(classes::TObject* sender);   // Refresh
    void sDecimalSpinEdit1Change(classes::TObject* sender);   // low section: stays below medium
    void sDecimalSpinEdit2Change(classes::TObject* sender);   // medium section: stays above low
    void sTrackBar1Change(classes::TObject* sender);
    void sRadioButton1Click(classes::TObject* sender);   // PPD
    void sRadioButton2Click(classes::TObject* sender);   // PPH
    void ScrollRows(int dy);   // the rows by dy pixels, within the scroll range

    int NodeCount() const { return FNodeCount; }
    const std::vector<TDiagramRow>& Rows() const { return FRows; }
    skin::TsScrollBox* ScrollBox() const { return FScrollBox; }
    skin::TsDecimalSpinEdit* LowEdit() const { return FLowEdit; }
    skin::TsDecimalSpinEdit* MediumEdit() const { return FMediumEdit; }
    skin::TsTrackBar* TrackBar() const { return FTrackBar; }
    skin::TsRadioButton* PPDButton() const { return FPPD; }
    skin::TsRadioButton* PPHButton() const { return FPPH; }
    skin::TsLabel* ScaleLabel(int position) const { return FScaleLabels.at(std::size_t(position)); }

private:
    void PlaceControls(int shownRows);
    void PlaceScaleLabels();
    void BuildRow(int node, int perfect, int end1, int end2, bool hpp);
    void PlaceLetters(TDiagramRow& row);
    int RowOf(classes::TObject* sender) const;   // -1 for a control of no row

    int FNodeCount = 0;
    bool FBuilding = false;   // the window sets its controls itself: their events store nothing
    bool FBuiltHpp = true;   // the mode of the last build: a stored choice counts from the next one
    std::vector<TDiagramRow> FRows;
    skin::TsScrollBox* FScrollBox = nullptr;
    skin::TsDecimalSpinEdit* FLowEdit = nullptr;
    skin::TsDecimalSpinEdit* FMediumEdit = nullptr;
    skin::TsLabel* FLowLabel = nullptr;
    skin::TsLabel* FMediumLabel = nullptr;
    skin::TsLabel* FLowPercent = nullptr;
    skin::TsLabel* FMediumPercent = nullptr;
    skin::TsRadioButton* FPPD = nullptr;
    skin::TsRadioButton* FPPH = nullptr;
    skin::TsTrackBar* FTrackBar = nullptr;
    skin::TsSpeedButton* FRefresh = nullptr;
    skin::TsSpeedButton* FClose = nullptr;
    std::array<skin::TsLabel*, DiagramScaleCount> FScaleLabels {};
};

extern TForm4* Form4;

}
