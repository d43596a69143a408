// TForm1: the node list and the selected node's settings: show, add, delete, save and move nodes.
#include "app/settings/OptionsNodes.h"
#include "app/settings/SettingsKey.h"
#include "app/forms/OptionsWindow.h"
#include "platform/base/Numbers.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/TStringGrid.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sRadioButton.h"
#include "skin/controls/sSpinEdit.h"
#include "skin/controls/sTooledit.h"

#include <algorithm>

namespace korvex::app {

using namespace classes;

int TForm1::SelectedNode() const {
    const int row = FStringGrid->Row();
    return row >= 0 && row < NodeCount() ? row : -1;
}

void TForm1::FillNodeList() {
    FStringGrid->SetRowCount(std::max(NodeCount(), 1));
    for (int i = 0; i < FStringGrid->RowCount(); ++i)
        FStringGrid->SetCells(0, i, i < NodeCount() ? FNodes[i].Label : "");
}

void TForm1::SelectNode(int i) {
    if (i < 0 || i >= NodeCount()) return;
    FStringGrid->SetRow(i);
    ShowNode(i);
    FStringGrid->Invalidate();
}

void TForm1::StringGridSelectCell(TObject*, int, int row, bool&) {
    if (row >= 0 && row < NodeCount()) ShowNode(row);
}

void TForm1::ShowNode(int i) {
    const base::ValueRollback filling(FFilling, true);
    const TNodeSettings& n = FNodes.at(i);
    FPathEdit->SetText(n.Path);
    FPathEdit->SetInitialDir(n.Path);
    FNameEdit->SetText(n.Label);
    FRSPathEdit->SetText(n.RSPath);
    FLevelEdit->SetValue(n.Level);
    FFarmCheck->SetChecked(n.Get);
    FCpuCheck->SetChecked(n.CPU);
    FSendCheck->SetChecked(n.Send);
    FHintCheck->SetChecked(n.Hint);
    FTrycoreCheck->SetChecked(n.Trycore);
    FBackupCheck->SetChecked(n.Backup);
    FVerboCheck->SetChecked(n.Verbo);
    FVerboEdit->SetValue(n.VerboN);   // with verbosity off too: "Save node" stores what the field holds
    CheckCore(n.Core);
    EnableFarmControls();
    FVerboEdit->SetEnabled(n.Verbo);
    FCoreGroup->SetEnabled(n.Trycore);
}

TNodeSettings TForm1::NodeFromControls(TNodeSettings node) const {
    node.Label = FNameEdit->Text();
    node.Path = FPathEdit->Text();
    node.RSPath = FRSPathEdit->Text();
    node.Get = FFarmCheck->Checked();
    node.CPU = FCpuCheck->Checked();
    node.Send = FSendCheck->Checked();
    node.Level = base::StrToIntDef(FLevelEdit->Text(), 90);
    node.Backup = FBackupCheck->Checked();
    node.Hint = FHintCheck->Checked();
    node.Verbo = FVerboCheck->Checked();
    node.VerboN = int(FVerboEdit->CheckValue(base::StrToIntDef(FVerboEdit->Text(), 3)));
    node.Core = CheckedCore();
    return node;
}

int TForm1::CheckedCore() const {
    for (int k = 0; k < int(FCores.size()); ++k)
        if (FCores[k]->Checked()) return k;
    return 0;
}

void TForm1::CheckCore(int core) {
    FCores[core >= 1 && core <= 4 ? core : 0]->SetChecked(true);
}

void TForm1::EnableFarmControls() {
    const bool farm = FFarmCheck->Checked();
    FRSPathEdit->SetEnabled(farm);
    FCpuCheck->SetEnabled(farm);
    FSendCheck->SetEnabled(farm);
    FLevelEdit->SetEnabled(farm);
}

void TForm1::sCheckBox2Click(TObject*) {
    EnableFarmControls();
}

void TForm1::sCheckBox13Click(TObject*) {
    FVerboEdit->SetEnabled(FVerboCheck->Checked());
}

void TForm1::sCheckBox9Click(TObject*) {
    FCoreGroup->SetEnabled(FTrycoreCheck->Checked());
    if (FFilling || !FTrycoreCheck->Checked()) return;
    const int node = SelectedNode();
    if (node < 0 || !ClientCoreReader) return;
    CheckCore(ClientCoreReader(FNodes[node].Path, FNodes[node].Core));
}

// ---------------------------------------------------------------------------------------------------------
// Changes of the list

void TForm1::sSpeedButton2Click(TObject*) {
    const int selected = SelectedNode();
    TNodeSettings node = NewOptionsNode();
    // A name typed over the selected node's makes the new node a copy of the controls.
    const bool copy = selected >= 0 && FNameEdit->Text() != FStringGrid->Cells(0, selected);
    if (copy) node = NodeFromControls(node);
    node.Progress = 0;
    FNodes.push_back(node);
    FillNodeList();
    // The new node's own values reach the store with "Save node"; until then the main window fills in its
    // defaults, not what a deleted node left at that place.
    {
        TSettingsBatch batch;
        ForgetNodeValues(NodeCount() - 1);
        StoreHostCount(NodeCount());
    }
    FSaved = true;
}

void TForm1::sSpeedButton4Click(TObject*) {
    const int selected = SelectedNode();
    if (NodeCount() < 2 || selected < 0) return;   // the last node stays
    FNodes.erase(FNodes.begin() + selected);
    FillNodeList();
    SelectNode(std::min(selected, NodeCount() - 1));
    // The whole list is stored: the selected node leaves the settings, not the last one.
    StoreOptionsNodes(FNodes);
    FSaved = true;
}

void TForm1::sSpeedButton6Click(TObject*) {
    const int selected = SelectedNode();
    if (selected < 0) return;
    TNodeSettings& node = FNodes[selected];
    node = NodeFromControls(node);
    node.Trycore = FTrycoreCheck->Checked();
    FStringGrid->SetCells(0, selected, node.Label);
    if (node.Trycore && ClientCoreWriter) ClientCoreWriter(node.Path, node.Core);
    StoreOptionsNodes(FNodes);
    FSaved = true;
}

void TForm1::MoveNode(int from, int to) {
    // The two nodes change places; the progress values stay with their rows.
    std::swap(FNodes[from], FNodes[to]);
    std::swap(FNodes[from].Progress, FNodes[to].Progress);
    FStringGrid->SetCells(0, from, FNodes[from].Label);
    FStringGrid->SetCells(0, to, FNodes[to].Label);
    SelectNode(to);
    FSaved = true;
}

void TForm1::Up1Click(TObject*) {
    const int selected = SelectedNode();
    if (selected > 0) MoveNode(selected, selected - 1);
}

void TForm1::Down1Click(TObject*) {
    const int selected = SelectedNode();
    if (selected >= 0 && selected < NodeCount() - 1) MoveNode(selected, selected + 1);
}

}
