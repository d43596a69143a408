// TForm4: the cores diagram window.
#include "app/forms/CoresDiagramWindow.h"

#include "app/forms/MainWindow.h"
#include "app/settings/Settings.h"
#include "app/settings/SettingsKey.h"
#include "leds/iLedBar.h"
#include "platform/base/Assert.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sRadioButton.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/controls/sSpinEdit.h"
#include "skin/controls/sTrackBar.h"
#include "skin/windows/sMessageDlg.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <iterator>

namespace korvex::app {

using namespace classes;

TForm4* Form4 = nullptr;

namespace {

constexpr TControlCaption Captions[] = {
    {"LowLabel", "Нижн. секция", "Low Section"},
    {"MediumLabel", "Средн. секция", "Medium Section"},
    {"sSpeedButton2", "Обновить", "Refresh"},
    {"sSpeedButton1", "Закрыть", "Close"},
};

}

namespace {

// Section colours (0x00BBGGRR): the bars of other cores, and the bright ones of the node's current core.
constexpr TColor SectionColors[3] = {TColor(0xCBC0FF), TColor(0xE0FFFF), TColor(0x90EE90)};
constexpr TColor CurrentColors[3] = {TColor(0x0000FF), TColor(0x00FFFF), TColor(0x00FF00)};

constexpr int WindowWidth = 283;
constexpr int PanelWidth = 255;

template <class T>
T* Owned(TComponent* owner, std::string_view name) {
    T* component = dynamic_cast<T*>(owner->FindComponent(name));
    KORVEX_ASSERT(component != nullptr);
    return component;
}

}

TForm4::TForm4(TComponent* owner) : TSideForm(owner, {"Диаграмма ядер", "Cores diagram"}) {
    TMethodTable methods;
    methods.Add("FormShow", this, &TForm4::FormShow)
        .Add("FormClose", this, &TForm4::FormClose)
        .Add("sSpeedButton1Click", this, &TForm4::sSpeedButton1Click)
        .Add("sSpeedButton2Click", this, &TForm4::sSpeedButton2Click)
        .Add("sDecimalSpinEdit1Change", this, &TForm4::sDecimalSpinEdit1Change)
        .Add("sDecimalSpinEdit2Change", this, &TForm4::sDecimalSpinEdit2Change)
        .Add("sTrackBar1Change", this, &TForm4::sTrackBar1Change)
        .Add("sRadioButton1Click", this, &TForm4::sRadioButton1Click)
        .Add("sRadioButton2Click", this, &TForm4::sRadioButton2Click)
        .Add("sScrollBox1MouseWheelDown", std::function<void(TObject*, TShiftState, TPoint, bool&)>(
                                              [this](TObject*, TShiftState, TPoint, bool& handled) {
                                                  ScrollRows(20);
                                                  handled = true;
                                              }))
        .Add("sScrollBox1MouseWheelUp", std::function<void(TObject*, TShiftState, TPoint, bool&)>(
                                            [this](TObject*, TShiftState, TPoint, bool& handled) {
                                                ScrollRows(-20);
                                                handled = true;
                                            }))
        .Field("sScrollBox1", FScrollBox)
        .Field("sDecimalSpinEdit1", FLowEdit)
        .Field("sDecimalSpinEdit2", FMediumEdit)
        .Field("LowLabel", FLowLabel)
        .Field("MediumLabel", FMediumLabel)
        .Field("LowPercent", FLowPercent)
        .Field("MediumPercent", FMediumPercent)
        .Field("sRadioButton1", FPPD)
        .Field("sRadioButton2", FPPH)
        .Field("sTrackBar1", FTrackBar)
        .Field("sSpeedButton1", FClose)
        .Field("sSpeedButton2", FRefresh);
    ReadFormResource("Unit4", methods);
    KORVEX_ASSERT(FScrollBox && FLowEdit && FMediumEdit && FLowLabel && FMediumLabel && FLowPercent);
    KORVEX_ASSERT(FMediumPercent && FPPD && FPPH && FTrackBar && FClose && FRefresh);
    for (int p = 0; p < DiagramScaleCount; ++p)
        FScaleLabels[std::size_t(p)] = Owned<skin::TsLabel>(this, "ScaleLabel" + std::to_string(p));
    if (Form4 == nullptr) Form4 = this;
}

TForm4::~TForm4() {
    if (Form4 == this) Form4 = nullptr;
}

TClass TForm4::StaticClass() {
    static const TClassInfo info = MakeClass<TForm4, TSideForm>("TForm4");
    return &info;
}

void TForm4::SetLanguage(int language) {
    TSideForm::SetLanguage(language);
    TranslateCaptions(Captions, int(std::size(Captions)), language);
}

// ---------------------------------------------------------------------------------------------------------
// Showing and building

void TForm4::FormShow(TObject*) {
    SetLanguage(ProgramLanguage());
    FNodeCount = MainForm != nullptr ? MainForm->RowCount() : 0;
    const int shown = std::min(FNodeCount, MaxShownRows);
    SetBounds(Left(), Top(), WindowWidth, RowHeight * shown + 125);
    PlaceControls(shown);
    DrawLB();
}

void TForm4::PlaceControls(int shownRows) {
    const int y = RowHeight * shownRows;
    FScrollBox->SetBounds(0, 0, ClientWidth(), y + 4);
    FLowLabel->SetBounds(8, y + 12, 90, 15);
    FLowEdit->SetBounds(104, y + 5, 48, 21);
    FLowPercent->SetBounds(156, y + 12, 12, 15);
    FMediumLabel->SetBounds(8, y + 33, 90, 15);
    FMediumEdit->SetBounds(104, y + 28, 48, 21);
    FMediumPercent->SetBounds(156, y + 33, 12, 15);
    FPPD->SetBounds(178, y + 8, 46, 17);
    FPPH->SetBounds(226, y + 8, 46, 17);
    FTrackBar->SetBounds(4, y + 50, 166, 24);
    FRefresh->SetBounds(180, y + 30, 90, 24);
    FClose->SetBounds(180, y + 61, 90, 24);
    PlaceScaleLabels();
}

void TForm4::PlaceScaleLabels() {
    const std::vector<int> ticks = FTrackBar->TickPositions();
    const int top = FTrackBar->Top() + 22;
    for (int p = 0; p < DiagramScaleCount; ++p) {
        skin::TsLabel* label = FScaleLabels[std::size_t(p)];
        const int at = p < int(ticks.size()) ? ticks[std::size_t(p)] : 8 + p * 30;
        label->SetTop(top);
        label->SetLeft(FTrackBar->Left() + at - label->Width() / 2);
    }
}

void TForm4::DrawLB() {
    FreeRows();
    int end1, end2, scale, hppValue;
    {
        TSettingsKey options(OptionsKey);
        end1 = options.Integer("End1", DefaultLowEnd);
        end2 = options.Integer("End2", DefaultMediumEnd);
        scale = options.Integer("Scale", 0);
        hppValue = options.Integer("HPP", 1);
    }
    const bool hpp = hppValue != 0;
    FBuiltHpp = hpp;
    {
        base::ValueRollback<bool> building(FBuilding, true);
        (hpp ? FPPH : FPPD)->SetChecked(true);
        FLowEdit->SetValue(end1);
        FMediumEdit->SetValue(end2);
        FTrackBar->SetPosition(std::clamp(scale, 0, DiagramScaleCount - 1));
    }
    const int perfect = PerfectValue(FTrackBar->Position());
    for (int p = 0; p < DiagramScaleCount; ++p)
        FScaleLabels[std::size_t(p)]->SetCaption(app::ScaleLabel(p, hpp));
    PlaceScaleLabels();
    FScrollBox->VertScrollBar()->SetPosition(0);
    FRows.resize(std::size_t(FNodeCount));
    for (int i = 0; i < FNodeCount; ++i)
        BuildRow(i, perfect, SectionEndValue(perfect, end1), SectionEndValue(perfect, end2), hpp);
    SetColor(FScrollBox->Color());
    FScrollBox->Invalidate();
}

void TForm4::BuildRow(int node, int perfect, int end1, int end2, bool hpp) {
    TDiagramRow& row = FRows[std::size_t(node)];
    auto clicked = [this](TObject* sender) { ShowResults(sender); };
    const TNodeSpeeds speeds = ReadNodeSpeeds(node);

    row.Panel = Create<skin::TsPanel>(this);
    row.Panel->SetCaption("");
    row.Panel->SetParent(FScrollBox);
    row.Panel->SetBounds(0, RowHeight * node, PanelWidth, RowHeight);
    row.Panel->SetShowHint(true);
    row.Panel->SetHint(NodePanelHint(speeds, hpp));
    row.Panel->SetTag(node);
    row.Panel->OnClick = clicked;

    const int current
        = MainForm != nullptr && node < MainForm->RowCount() ? CurrentCoreRow(MainForm->NodeCore(node)) : -1;
    for (int e = 0; e < DiagramCoreCount; ++e) {
        const TDiagramCore& core = DiagramCores()[std::size_t(e)];
        auto* bar = Create<leds::TiLedBar>(this);
        bar->SetSegmentDirection(leds::idRight);
        bar->SetSegmentMargin(0);
        bar->SetSegmentSize(1);
        bar->SetSegmentSpacing(e == current ? 0 : 1);
        bar->SetSegmentStyle(leds::ilbssRectangle);
        bar->SetParent(row.Panel);
        bar->SetBounds(106, 6 * e + 2, 150, 5);
        bar->SetShowHint(true);
        bar->SetHint(core.LetterHint);
        bar->SetPositionMin(0);
        bar->SetPositionMax(perfect);
        bar->SetPosition(0);
        bar->SetSectionCount(3);
        const TColor* colors = e == current ? CurrentColors : SectionColors;
        bar->SetSectionColor1(colors[0]);
        bar->SetSectionColor2(colors[1]);
        bar->SetSectionColor3(colors[2]);
        bar->SetSectionEnd1(end1);
        bar->SetSectionEnd2(end2);
        if (const auto& v = speeds[std::size_t(e)]) bar->SetPosition(BarPosition(*v, hpp));
        bar->SetTag(node);
        bar->OnClick = clicked;
        row.Bars[std::size_t(e)] = bar;

        auto* letter = Create<skin::TsLabel>(this);
        letter->SetParent(row.Panel);
        letter->Font()->SetName("Tahoma");
        letter->Font()->SetSize(6);
        letter->SetAutoSize(true);
        letter->SetCaption(core.Letter);
        letter->SetTop(6 * e);
        letter->SetShowHint(true);
        letter->SetHint(core.LetterHint);
        letter->SetTag(node);
        letter->OnClick = clicked;
        row.Letters[std::size_t(e)] = letter;
    }

    PlaceLetters(row);

    row.Name = Create<skin::TsLabel>(this);
    row.Name->SetParent(row.Panel);
    row.Name->Font()->SetName("Tahoma");
    row.Name->Font()->SetSize(8);
    row.Name->SetAutoSize(false);
    row.Name->SetShowAccelChar(false);   // the node's name as the user typed it
    row.Name->SetBounds(2, 12, 90, 15);
    row.Name->SetShowHint(true);
    const std::string name = MainForm != nullptr && node < MainForm->RowCount()
        ? MainForm->Row(node).Label->Caption() : std::string();
    row.Name->SetCaption(name);
    row.Name->SetHint(name);
    row.Name->SetTag(node);
    row.Name->OnClick = clicked;
}

void TForm4::PlaceLetters(TDiagramRow& row) {
    for (int e = 0; e < DiagramCoreCount; ++e) row.Letters[std::size_t(e)]->SetLeft(e % 2 == 0 ? 99 : 93);
}

void TForm4::FreeRows() {
    for (TDiagramRow& row : FRows) {
        for (leds::TiLedBar* bar : row.Bars)
            if (bar != nullptr) bar->Free();
        for (skin::TsLabel* letter : row.Letters)
            if (letter != nullptr) letter->Free();
        if (row.Name != nullptr) row.Name->Free();
        if (row.Panel != nullptr) row.Panel->Free();
    }
    FRows.clear();
}

void TForm4::FormClose(TObject*, TCloseAction&) {
    FreeRows();
}

// ---------------------------------------------------------------------------------------------------------
// Commands

int TForm4::RowOf(TObject* sender) const {
    auto* control = dynamic_cast<TControl*>(sender);
    if (control == nullptr) return -1;
    const int node = control->Tag();
    if (node < 0 || node >= int(FRows.size())) return -1;
    const TDiagramRow& row = FRows[std::size_t(node)];
    if (control == row.Panel || control == row.Name) return node;
    for (int e = 0; e < DiagramCoreCount; ++e)
        if (control == row.Bars[std::size_t(e)] || control == row.Letters[std::size_t(e)]) return node;
    return -1;
}

std::string TForm4::ResultsText(TObject* sender) {
    const int node = RowOf(sender);
    if (node < 0) return "Select node...";
    const bool hpp = FBuiltHpp;
    const TNodeSpeeds speeds = ReadNodeSpeeds(node);
    const TDiagramRow& row = FRows[std::size_t(node)];
    for (int e = 0; e < DiagramCoreCount; ++e)
        if (const auto& v = speeds[std::size_t(e)]) row.Bars[std::size_t(e)]->SetPosition(BarPosition(*v, hpp));
    return NodeResultsText(row.Name->Caption(), speeds, hpp);
}

void TForm4::ShowResults(TObject* sender) {
    skin::sShowMessage(ResultsText(sender));
}

void TForm4::sSpeedButton1Click(TObject*) {
    Close();
}

void TForm4::sSpeedButton2Click(TObject*) {
    DrawLB();
}

// A Low that is not below Medium is set back by 5, a Medium not above Low raised by 5 (the edit's change runs
// again with it); a value clear of the other end is stored.
void TForm4::sDecimalSpinEdit1Change(TObject*) {
    if (FBuilding) return;
    const int low = int(FLowEdit->Value());
    if (low >= int(FMediumEdit->Value()))
        FLowEdit->SetValue(low - 5);
    else
        TSettingsKey(OptionsKey).WriteInteger("End1", low);
}

void TForm4::sDecimalSpinEdit2Change(TObject*) {
    if (FBuilding) return;
    const int medium = int(FMediumEdit->Value());
    if (medium <= int(FLowEdit->Value()))
        FMediumEdit->SetValue(medium + 5);
    else
        TSettingsKey(OptionsKey).WriteInteger("End2", medium);
}

void TForm4::sTrackBar1Change(TObject*) {
    if (!FBuilding) TSettingsKey(OptionsKey).WriteInteger("Scale", FTrackBar->Position());
}

void TForm4::sRadioButton1Click(TObject*) {
    if (!FBuilding) TSettingsKey(OptionsKey).WriteInteger("HPP", 0);
}

void TForm4::sRadioButton2Click(TObject*) {
    if (!FBuilding) TSettingsKey(OptionsKey).WriteInteger("HPP", 1);
}

// Through the skinned box's own scroll (see TMainForm::ScrollByWheel).
void TForm4::ScrollRows(int dy) {
    FScrollBox->ScrollBy(0, -dy);
}

}
