// TForm8: the node information window.
#include "app/forms/NodeInformationWindow.h"

#include "app/views/HistoryTable.h"
#include "app/views/NodeInformation.h"
#include "app/cache/CacheWorkers.h"
#include "app/cache/WorkUnitFiles.h"
#include "app/nodes/ClientConfig.h"
#include "app/nodes/WorkUnitHistory.h"
#include "app/forms/HistoryWindow.h"
#include "app/forms/MainWindow.h"
#include "leds/iLedRound.h"
#include "platform/base/Assert.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"
#include "platform/os/FileStream.h"
#include "platform/os/ProgramFolder.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/engine/sSkinManager.h"

#include <cerrno>
#include <system_error>

namespace korvex::app {

using namespace classes;

TForm8* Form8 = nullptr;

namespace {

constexpr const char* LampNames[5] = {"iLedRound1", "iLedRound2", "iLedRound3", "iLedRound4", "iLedRound5"};
constexpr const char* GaugeNames[3] = {"sGauge1", "sGauge2", "sGauge3"};
// Unit name, core, points and run-clone-gen of each group.
constexpr const char* CurrentLabels[4] = {"sLabel1", "sLabel2", "sLabel3", "sLabel4"};
constexpr const char* CachedLabels[4] = {"sLabel18", "sLabel19", "sLabel20", "sLabel21"};
constexpr const char* BackupLabels[4] = {"sLabel25", "sLabel26", "sLabel27", "sLabel28"};
constexpr const char* CachedSpeedLabel = "sLabel24";

constexpr TControlCaption Captions[] = {
    {"sGroupBox1", "Текущий WU", "Current WU"},
    {"sGroupBox2", "Кэшированный WU", "Cashed WU"},
    {"sGroupBox3", "Сохранённый WU", "Backuped WU"},
    {"sLabel5", "Ядро", "WU Core"},
    {"sLabel6", "Очки", "WU Points"},
    {"sLabel7", "R-C-G", "WU R-C-G"},
    {"sLabel8", "Вкл/Выкл", "ON/OFF"},
    {"sLabel9", "Кэширование", "Cashing "},
    {"sLabel10", "Резервирование", "Backuping"},
    {"sLabel11", "Ядро", "WU Core"},
    {"sLabel12", "Очки", "WU Points"},
    {"sLabel13", "R-C-G", "WU R-C-G"},
    {"sLabel14", "PPH", "WU PPH"},
    {"sLabel15", "Готов", "Ready"},
    {"sLabel22", "Ядро", "WU Core"},
    {"sLabel23", "Очки", "WU Points"},
    {"sLabel16", "R-C-G", "WU R-C-G"},
    {"sLabel17", "Вкл/Выкл", "ON/OFF"},
    {"sSpeedButton4", "Обмен", "Exchange"},
    {"sSpeedButton6", "Обмен", "Exchange"},
    {"sSpeedButton7", "Обмен", "Exchange"},
    {"sSpeedButton1", "Закрыть", "Close"},
    {"sSpeedButton3", "Старт FAH-Console", "Start FAH-Console"},
    {"sSpeedButton2", "Стоп FAH-Console", "Stop FAH-Console"},
    {"sSpeedButton9", "Новый кэш", "Make new cash"},
    {"sSpeedButton8", "Новая копия", "Make new Backup"},
    {"sSpeedButton5", "Восстановить", "Restore"},
};

template <class T>
T* Owned(TComponent* owner, std::string_view name) {
    T* component = dynamic_cast<T*>(owner->FindComponent(name));
    KORVEX_ASSERT(component != nullptr);
    return component;
}

constexpr int ModeBackup = 2;
constexpr int ModeCache = 3;

// The run time's input-output error of patching the new cache's client.cfg that is not there or cannot be
// written: "Make new cash" ends with it, and the application's handler shows it.
[[noreturn]] void RaiseClientConfigError(int node, TCashFailure failure) {
    const std::string file = CacheFolder(os::ProgramFolder(), node) + "/" + ClientConfigName;
    const int error = failure == TCashFailure::ClientConfigWrite ? EACCES : ENOENT;
    throw os::EFOpenError("Cannot open file \"" + file + "\". " + std::generic_category().message(error));
}

}

TForm8::TForm8(TComponent* owner)
    : TSideForm(owner, {"Информация о ноде", "Node information"}) {
    TMethodTable methods;
    methods.Add("FormShow", this, &TForm8::FormShow)
        .Add("sSpeedButton1Click", this, &TForm8::sSpeedButton1Click)
        .Add("sSpeedButton3Click", this, &TForm8::sSpeedButton3Click)
        .Add("sSpeedButton2Click", this, &TForm8::sSpeedButton2Click)
        .Add("sSpeedButton8Click", this, &TForm8::sSpeedButton8Click)
        .Add("sSpeedButton5Click", this, &TForm8::sSpeedButton5Click)
        .Add("sSpeedButton9Click", this, &TForm8::sSpeedButton9Click);
    RegisterClasses({leds::TiLedRound::StaticClass()});
    ReadFormResource("Unit8", methods);
    for (int i = 0; i < 5; ++i)
        FLamps[i] = Owned<leds::TiLedRound>(this, LampNames[i]);
    for (int i = 0; i < 3; ++i)
        FGauges[i] = Owned<skin::TsGauge>(this, GaugeNames[i]);
    if (Form8 == nullptr) Form8 = this;
}

TForm8::~TForm8() {
    if (Form8 == this) Form8 = nullptr;
}

TClass TForm8::StaticClass() {
    static const TClassInfo info = MakeClass<TForm8, TSideForm>("TForm8");
    return &info;
}

void TForm8::SetLanguage(int language) {
    TSideForm::SetLanguage(language);
    TranslateCaptions(Captions, int(std::size(Captions)), language);
    if (language == 0 || language == 1) FLanguage = language;
}

skin::TsLabel* TForm8::ValueLabel(const char* name) const {
    return Owned<skin::TsLabel>(const_cast<TForm8*>(this), name);
}

void TForm8::FillGroup(const TUnitInfoView& view, skin::TsGauge* gauge, const char* const (&labels)[4]) {
    gauge->SetProgress(view.Progress);
    ValueLabel(labels[0])->SetCaption(view.WUName);
    ValueLabel(labels[1])->SetCaption(view.Core);
    ValueLabel(labels[2])->SetCaption(view.Points);
    ValueLabel(labels[3])->SetCaption(view.RCG);
}

void TForm8::ReadFolder(int mode, const std::string& folder) {
    if (MainForm == nullptr || MainForm->Monitor() == nullptr) return;
    std::weak_ptr<int> showing = FShowing;
    const int node = FNode;
    const int serial = ++FLatestRead[mode];
    MainForm->Monitor()->ReadFolderOnce(mode, node, folder, [this, showing, node, mode, serial](int, const TNodeReading& r) {
        if (showing.expired() || node != FNode) return;   // the window went or shows another node
        if (serial != FLatestRead[mode]) return;   // a later read of the group is due: an older one coming last stays out
        if (mode == ModeBackup)
            ShowNodeInfoBrief(r);
        else
            ShowNodeInfo(r);
    });
}

void TForm8::FormShow(TObject*) {
    FShowing = std::make_shared<int>(FNode);   // readings of earlier showings are dropped
    SetLanguage(FLanguage);
    if (MainForm == nullptr || FNode < 0 || FNode >= MainForm->RowCount()) return;
    const TNodeRowControls& row = MainForm->Row(FNode);
    const TNodeSettings& node = MainForm->Settings().Nodes.at(FNode);
    const std::string folder = os::ProgramFolder();

    const TColor face = Owned<skin::TsGroupBox>(this, "sGroupBox1")->Color();   // "Current WU"
    for (leds::TiLedRound* lamp : FLamps)
        lamp->SetBackGroundColor(face);

    FLamps[4]->SetActive(node.Backup);
    if (node.Backup) ReadFolder(ModeBackup, BackupFolder(folder, FNode));

    // The node has a cache while its folder exists, its download done or not.
    const bool cached = MainForm->CacheWorkers() != nullptr && MainForm->CacheWorkers()->HasCache(FNode);
    for (const char* name : {CachedLabels[0], CachedLabels[1], CachedLabels[2], CachedLabels[3], CachedSpeedLabel}) {
        ValueLabel(name)->SetEnabled(cached);
        if (!cached) ValueLabel(name)->SetCaption("");
    }
    FGauges[1]->SetProgress(0);
    FLamps[3]->SetActive(cached);
    if (cached) ReadFolder(ModeCache, CacheFolder(folder, FNode));

    TUnitInfoView current;
    current.Progress = row.Gauge->Progress();
    current.WUName = row.View.WUName;
    current.Core = row.View.Cell(TGridColumn::Core);
    current.Points = row.View.Cell(TGridColumn::Points);
    current.RCG = row.View.RCG;
    FillGroup(current, FGauges[0], CurrentLabels);
    FLamps[0]->SetActiveColor(TColor(NodeLampColor(int(row.Status->Color()))));
    FLamps[0]->SetActive(true);
    FLamps[1]->SetActive(node.Get);
    FLamps[2]->SetActive(node.Backup);
    SetCaption((ProgramLanguage() == 0 ? "Информация о ноде " : "Node information ") + node.Label);
}

void TForm8::ShowNodeInfoBrief(const TNodeReading& reading) {
    if (MainForm == nullptr) return;
    FillGroup(MakeUnitInfoView(reading, MainForm->Projects()), FGauges[2], BackupLabels);
}

void TForm8::ShowNodeInfo(const TNodeReading& reading) {
    if (MainForm == nullptr) return;
    FillGroup(MakeUnitInfoView(reading, MainForm->Projects()), FGauges[1], CachedLabels);
    const std::string label = FNode < MainForm->RowCount() ? MainForm->Row(FNode).Label->Caption() : "";
    ValueLabel(CachedSpeedLabel)->SetCaption("");
    // The history window's records are read again for the walk.
    if (Form5 == nullptr) return;
    Form5->ReadHistory();
    ValueLabel(CachedSpeedLabel)->SetCaption(CachedUnitSpeed(reading.WUName, label, Form5->Records()));
}

void TForm8::BackupDone(int node, bool ok) {
    if (node != FNode || !Visible()) return;
    FLamps[4]->SetActive(ok);
    if (ok) ReadFolder(ModeBackup, BackupFolder(os::ProgramFolder(), FNode));
}

bool TForm8::FarmAnswered(int node, std::initializer_list<int> states) const {
    if (MainForm == nullptr || MainForm->Monitor() == nullptr || node < 0 || node >= MainForm->RowCount()) return false;
    if (!MainForm->Settings().Nodes.at(node).Get || !MainForm->Monitor()->LastFarmReply(node).Replied) return false;
    const int state = MainForm->Monitor()->FarmState(node);
    for (int s : states)
        if (s == state) return true;
    return false;
}

void TForm8::sSpeedButton1Click(TObject*) {
    Close();
}

void TForm8::sSpeedButton3Click(TObject*) {
    if (FarmAnswered(FNode, {FarmStateStopped}))
        MainForm->Monitor()->StartServ(FNode);
}

void TForm8::sSpeedButton2Click(TObject*) {
    if (FarmAnswered(FNode, {FarmStateRunning, FarmStateStopped}))
        MainForm->Monitor()->StopServ(FNode);
}

void TForm8::sSpeedButton8Click(TObject*) {
    if (MainForm != nullptr && MainForm->CacheWorkers() != nullptr) MainForm->CacheWorkers()->MakeBackup(FNode);
}

void TForm8::sSpeedButton5Click(TObject*) {
    if (!FLamps[1]->Active() || MainForm == nullptr || MainForm->CacheWorkers() == nullptr) return;
    MainForm->CacheWorkers()->StartRestore(FNode);
}

void TForm8::sSpeedButton9Click(TObject*) {
    if (MainForm == nullptr || MainForm->CacheWorkers() == nullptr) return;
    TCashFailure failure = TCashFailure::None;
    if (MainForm->CacheWorkers()->MakeNewCash(FNode, &failure)) {
        MainForm->ShowCaching(FNode);
        return;
    }
    // Without a console nothing is copied and nothing said; without the copy of client.cfg (or its folder)
    // its patch fails.
    if (failure == TCashFailure::ClientConfig || failure == TCashFailure::Folder
        || failure == TCashFailure::ClientConfigWrite)
        RaiseClientConfigError(FNode, failure);
}

}
