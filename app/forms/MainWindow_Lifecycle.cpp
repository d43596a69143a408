// TMainForm: creation, the first showing's load, "Refresh data", the one-second timer with the watchdog, and
// the ways the window closes.
#include "app/settings/MinuteLength.h"
#include "app/settings/ProgramLog.h"
#include "app/nodes/VersionText.h"
#include "app/forms/MainWindow.h"
#include "app/forms/SideForms.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TScreen.h"
#include "platform/classes/TStringGrid.h"
#include "platform/classes/TTimer.h"
#include "platform/os/Network.h"
#include "platform/os/ProgramFolder.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sStatusBar.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sMessageDlg.h"
#include "tray/TrayIcon.h"

#ifndef KORVEX_VERSION
#define KORVEX_VERSION "0.0.0.0"
#endif

namespace korvex::app {

using namespace classes;

namespace {

// Posted to the window at creation when it starts hidden: the loading runs once the message loop does.
constexpr user::UINT WM_LOADHIDDEN = user::WM_APP + 0x4B;

}

void TMainForm::FormCreate(TObject*) {
    FLoaded = false;
    FClosing = false;
    WLog("Start monitor");
    if (Application != nullptr && !Application->ShowMainForm()) user::PostMessage(Handle(), WM_LOADHIDDEN, 0, 0);
    FMonitor = std::make_unique<TMonitor>(user::MessageEventLoop(), *this, os::ProgramFolder());
    FMonitor->OpenFarmServer();
    FCache = std::make_unique<TCacheWorkers>(os::ProgramFolder());
    FCache->StartServ = [this](int node) { FMonitor->StartServ(node); };
    FCache->StopServ = [this](int node) { FMonitor->StopServ(node); };
    FCache->OnBackupDone = [this](int node, bool ok) { BackupDone(node, ok); };
    FMonitor->SetWorkers(FCache->Workers());
}

void TMainForm::WndProc(TMessage& message) {
    if (message.Msg == WM_LOADHIDDEN) {
        if (!FLoaded) Load();
        return;
    }
    TForm::WndProc(message);
}

void TMainForm::FormShow(TObject*) {
    FTrayIcon->SetHint("");
    if (!FLoaded) Load();
}

void TMainForm::Load() {
    if (FLoaded) return;
    EnableCommands(false);
    FProjects = LoadProjectTable();
    ApplySettings(LoadSettings());
    if (FCache != nullptr) FCache->SetSettings(FSettings);
    // Empty: the program folder, where the skin folders are installed.
    FSkinManager->SetSkinDirectory(FSettings.SkinPath);
    ApplySkin(FSettings.SkinName);
    ShowFarmPortState();
    BuildRows();
    SetCaption(std::string("KORVEX. Ver. ") + KORVEX_VERSION);
    SetLanguage(FSettings.Language);
    for (auto* form : std::initializer_list<TSideForm*> {Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form8})
        if (form != nullptr) form->SetLanguage(FSettings.Language);
    if (FScrollBox->CanFocus()) FScrollBox->SetFocus();
    FHistory = std::make_unique<TWorkUnitHistory>(os::ProgramFolder());
    FHistory->Load();
    FLoaded = true;
    FTimer1->SetEnabled(true);
    EnableCommands(true);
    // The node threads start once everything they refresh exists.
    if (FMonitor != nullptr) FMonitor->Start(FSettings, FProjects, *FHistory);
}

void TMainForm::StopMonitoring() {
    if (FMonitor != nullptr) FMonitor->Stop();   // joins the node threads; no row arrives after it
    if (FTimer1 != nullptr) FTimer1->SetEnabled(false);
    // The stopped threads' last report of their end never comes: the window shows the farm idle now.
    if (FTrayIcon != nullptr) BusyChanged(false);
}

void TMainForm::ReShow() {
    EnableCommands(false);
    StopMonitoring();
    FreeRows();
    FLoaded = false;
    FormShow(this);
    if (FMonitor != nullptr && !FMonitor->FarmServerOpen()) FMonitor->OpenFarmServer();
    ShowFarmPortState();
    EnableCommands(true);
}

void TMainForm::ShowFarmPortState() {
    std::string status = FSettings.CustomerStr;
    if (FMonitor != nullptr && !FMonitor->FarmServerOpen())
        status += "  (FARM port " + std::to_string(os::FarmPort()) + " closed)";
    FStatusBar->Panels()->Items(0)->SetText(status);
}

void TMainForm::Timer1Timer(TObject*) {
    FTrayIcon->SetHint(TrayHintText());
    if (FMonitor == nullptr || !FMonitor->Running()) return;
    const bool listening = FMonitor->FarmServerOpen();
    FMonitor->Tick();
    if (FMonitor->FarmServerOpen() != listening) ShowFarmPortState();
    Watchdog();
}

void TMainForm::Watchdog() {
    // The interval the node threads really sleep, in seconds, and one minute more: an interval typed in the
    // options window reaches the threads only with the next run.
    const int limit = (FMonitor->IntervalMs() + MinuteMs()) / 1000;
    const int count = std::min(FMonitor->NodeCount(), int(FLastStage.size()));
    for (int i = 0; i < count; ++i) {
        const int stage = FMonitor->Stage(i);
        if (stage != FLastStage[i]) {
            FLastStage[i] = stage;
            FMonitor->SetRepeatCount(i, 0);
            continue;
        }
        const int repeats = FMonitor->RepeatCount(i) + 1;
        FMonitor->SetRepeatCount(i, repeats);
        if (repeats <= limit || FAsking) continue;
        FTimer1->SetEnabled(false);
        FAsking = true;
        const std::string question = "Node " + std::to_string(i + 1)
            + " warning:\r\nLast success point =" + std::to_string(stage) + "\r\nReset monitor for this node?";
        const int answer
            = skin::sMessageDlg(question, skin::mtConfirmation, skin::TMsgDlgButtons {skin::mbYes, skin::mbNo}, 0);
        FAsking = false;
        // The dialog's loop may have stopped or rebuilt the monitoring meanwhile.
        if (!FMonitor->Running() || i >= FMonitor->NodeCount()) return;
        if (answer == mrYes) FMonitor->RestartNode(i);   // the new thread starts once the old one ended
        FMonitor->SetRepeatCount(i, 0);
        FTimer1->SetEnabled(true);
    }
}

void TMainForm::SaveAll() {
    TSettings saved = FSettings;
    for (int i = 0; i < RowCount() && i < int(saved.Nodes.size()); ++i)
        saved.Nodes[i].Progress
            = FMonitor != nullptr && FMonitor->Running() ? FMonitor->SeenProgress(i) : FRows[i].Gauge->Progress();
    if (FCache != nullptr)
        for (std::size_t i = 0; i < saved.Nodes.size(); ++i)
            saved.Nodes[i].MID = FCache->MachineId(static_cast<int>(i));
    for (int k = 0; k < ShownColumns; ++k) {
        saved.WW[k + 1] = FGrid->ColWidths(k);   // 0 for a hidden column: the stored width stays
        if (k > 0) saved.W[k + 1] = ColumnItem(k)->Checked();
    }
    saved.WW[10] = Header(0)->Width();
    saved.WW[11] = Header(1)->Width();
    SaveData(saved);
}

void TMainForm::FormCloseQuery(TObject*, bool& canClose) {
    if (FLoaded) SaveAll();
    WLog("Stop monitor");
    StopMonitoring();
    canClose = FClosing;
    if (FMonitor != nullptr) FMonitor->CloseFarmServer();
    ShowFarmPortState();
    if (!FClosing) {
        FTrayIcon->HideMainForm();
        FTrayIcon->SetIconVisible(true);
    }
}

void TMainForm::sSpeedButton1Click(TObject*) {
    FClosing = true;
    Close();
}

void TMainForm::ExitFromSignal() {
    if (Application->ModalLevel() > 0) {
        // A modal window's loop is running: end it first, then exit from the main loop.
        if (TCustomForm* active = Screen != nullptr ? Screen->ActiveCustomForm() : nullptr)
            active->SetModalResult(mrCancel);
        user::MessageEventLoop().Post([this] { ExitFromSignal(); });
        return;
    }
    sSpeedButton1Click(this);
}

void TMainForm::sSkinManager1AfterChange(TObject*) {
    FSettings.SkinName = FSkinManager->SkinName();
    WriteSkinName(FSettings.SkinName);
}

void TMainForm::SaveWithoutDisplay() {
    if (FLoaded) SaveAll();   // reads the controls' values only
    WLog("Stop monitor");
    if (FMonitor != nullptr) {
        FMonitor->Stop();
        FMonitor->CloseFarmServer();
    }
}

std::string TMainForm::GetVersion(int fields) {
    return VersionFields(KORVEX_VERSION, fields);
}

void TMainForm::WMQueryEndSession(TMessage& m) {
    WLog("Windows query close KORVEX...");
    FClosing = true;
    m.Result = 1;
    Close();
    TForm::WMQueryEndSession(m);
}

}
