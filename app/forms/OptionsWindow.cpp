// TForm1: the form text, the captions in both languages, the showing, the program-wide options and closing.
#include "app/forms/OptionsWindow.h"

#include "app/nodes/ClientConfig.h"
#include "app/views/GridCells.h"
#include "app/settings/OptionsNodes.h"
#include "app/nodes/ProjectSummary.h"
#include "app/nodes/ProjectTable.h"
#include "app/settings/SettingsKey.h"
#include "app/forms/MainWindow.h"
#include "app/forms/ManualProjectWindow.h"
#include "platform/base/Assert.h"
#include "platform/base/Numbers.h"
#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TMethodTable.h"
#include "platform/classes/TStringGrid.h"
#include "platform/os/Paths.h"
#include "platform/user/Input.h"
#include "platform/user/MessageBox.h"
#include "platform/user/VirtualKeys.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sComboBox.h"
#include "skin/controls/sComboBoxes_ColorBox.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPageControl.h"
#include "skin/controls/sRadioButton.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/controls/sSpinEdit.h"
#include "skin/controls/sTooledit.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sMessageDlg.h"
#include "skin/windows/sOpenDialog.h"

#include <algorithm>
#include <optional>

namespace korvex::app {

using namespace classes;

TForm1* Form1 = nullptr;

namespace {

// Captions set from the language at every showing.
constexpr TControlCaption Captions[] = {
    {"UpdateLabel", "Обновление", "Updating"},
    {"MinLabel", " ,мин", " ,min"},
    {"NameLabel", "Имя", "Node Name"},
    {"PathLabel", "Путь (UNC)", "Path node (UNC)"},
    {"ConsoleLabel", "Путь FAH Console", "FAH Console path"},
    {"LevelLabel", "Порог готовности WU\r\nдля кэширования", "WU ready level\r\nfor next download"},
    {"WarningLabel", "Цвет фона ячейки ", "Warning cell bkgd color"},
    {"WarningFontLabel", "Цвет шрифта ячейки", "Warning cell font color"},
    {"TeamLabel", "№ команды", "Team #"},
    {"RSPathLabel", "Путь к FAH-Console\r\nна удаленной ноде", "FAH-Console\r\nservice local path"},
    {"UNameLabel", "UserName", "UserName"},
    {"StatusLabel", "Текст строки состояния", "Statusbar text"},
    {"FontLabel", "Размер шрифта", "Font Size"},
    {"LanguageLabel", "Язык интерфейса", "Interface language"},
    {"CoreGroup", "Типы ядер", "Core Names"},
    {"TabSheet1", "Управление нодой", "Node control"},
    {"TabSheet2", "Интерфейс", "Interface control"},
    {"TabSheet3", "Обновление базы", "Update control"},
    {"CurrentGroup", "Текущая нода", "Current host"},
    {"OtherGroup", "Прочие настройки", "Other options"},
    {"NodeListGroup", "Список нод", "Node List"},
    {"sSpeedButton6", "Сохр\r\nноду", "Save\r\nnode"},
    {"sSpeedButton2", "Добавить", "Add"},
    {"sSpeedButton4", "Удалить", "Delete"},
    {"sSpeedButton7", "Обновить\r\nбазу", "Update\r\nproteins"},
    {"sSpeedButton5", "Ввод вручную", "Manual input"},
    {"sSpeedButton1", "Запись", "Save all"},
    {"sSpeedButton9", "Закрыть", "Close"},
    {"sSpeedButton8", "Закрыть", "Close"},
    {"sSpeedButton3", "Закрыть", "Close"},
    {"sCheckBox1", "Показывать в трее", "Show hint in tray"},
    {"StartupCheck", "Запускать при загрузке Windows", "Load on Windows startup"},
    {"SkinPathCheck", "Путь к \"скинам\"", "Skin path"},
    {"MinimizedCheck", "Запускать свёрнутым", "Run minimized"},
    {"TaskbarCheck", "Показывать в Панели задач (с перезапуском)", "Show in Taskbar (restart needed)"},
    {"HideOnExitCheck", "Прятать в трей при выходе", "Hide in System Tray on Exit"},
    {"AutoBackupCheck", "Авторезервирование", "AutoBackUp on"},
    {"sCheckBox5", "Резервировать", "Backup on"},
    {"sCheckBox13", "Подробность ЛОГа", "Verbosity"},
    {"sCheckBox6", "Показывать WU в трее", "Show WU in tray hint"},
    {"sCheckBox2", "Управлять нодой через KORVEX (Включить режим ФЕРМА)",
        "To contol node through KORVEX (FARM Mode ON)"},
    {"sCheckBox4", "Отправлять результат через KORVEX", "Send results through KORVEX"},
    {"sCheckBox3", "AMD CPU (Не получать QMD)", "AMD CPU (Do not get QMD)"},
    {"sCheckBox9", "Пытаться \r\nполучить WU", "Attempt get\r\nWU core type"},
    {"Up1", "Вверх", "Up"},
    {"Down1", "Вниз", "Down"},
};

// The side window's base registers the skinned classes; the menu and the grids are this window's own.
void RegisterOptionsFormClasses() {
    RegisterMenuClasses();
    RegisterClasses({TStringGrid::StaticClass()});
}

}

TForm1::TForm1(TComponent* owner)
    : TSideForm(owner, {"Настройки", "Options"})
    , ClientCoreReader(ReadClientCoreType)
    , ClientCoreWriter(WriteClientCoreType)
    , FSummaryUrl(ProjectSummaryUrl) {
    TMethodTable methods;
    BindFields(methods);
    BindMethods(methods);
    RegisterOptionsFormClasses();
    ReadFormResource("Unit1", methods);
    KORVEX_ASSERT(FPageControl && FStringGrid && FWUGrid && FCoreGroup && FInfoLabel && FSkinPathEdit && FOpenDialog);
    for (int k = 0; k < 5; ++k) {
        FCores[k] = dynamic_cast<skin::TsRadioButton*>(FindComponent("Core" + std::to_string(k)));
        KORVEX_ASSERT(FCores[k] != nullptr);
    }
    // The grids' events are not published: bound here.
    FStringGrid->OnSelectCell = [this](TObject* s, int col, int row, bool& can) { StringGridSelectCell(s, col, row, can); };
    FWUGrid->OnDrawCell = [this](TObject* s, int col, int row, TRect rect, TGridDrawState state) {
        WUGridDrawCell(s, col, row, rect, state);
    };
    FWUGrid->SetColWidths(0, 44);
    FWUGrid->SetColWidths(1, 300);
    FWUGrid->SetColWidths(2, 110);
    FWUGrid->SetColWidths(3, 100);
    FStringGrid->SetColWidths(0, FStringGrid->ClientWidth() - 2);
    if (Form1 == nullptr) Form1 = this;
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

TClass TForm1::StaticClass() {
    static const TClassInfo info = MakeClass<TForm1, TSideForm>("TForm1");
    return &info;
}

void TForm1::BindFields(TMethodTable& methods) {
    methods.Field("sPageControl1", FPageControl)
        .Field("StringGrid", FStringGrid)
        .Field("WUGrid", FWUGrid)
        .Field("NameEdit", FNameEdit)
        .Field("sDirectoryEdit1", FPathEdit)
        .Field("RSPathEdit", FRSPathEdit)
        .Field("LevelEdit", FLevelEdit)
        .Field("VerboEdit", FVerboEdit)
        .Field("sCheckBox2", FFarmCheck)
        .Field("sCheckBox3", FCpuCheck)
        .Field("sCheckBox4", FSendCheck)
        .Field("sCheckBox5", FBackupCheck)
        .Field("sCheckBox6", FHintCheck)
        .Field("sCheckBox9", FTrycoreCheck)
        .Field("sCheckBox13", FVerboCheck)
        .Field("CoreGroup", FCoreGroup)
        .Field("sDecimalSpinEdit1", FUpdateEdit)
        .Field("sFilenameEdit1", FConsoleEdit)
        .Field("sCheckBox1", FTrayHintCheck)
        .Field("sColorBox1", FWarningColor)
        .Field("sColorBox2", FWarningFontColor)
        .Field("LanguageBox", FLanguageBox)
        .Field("TeamEdit", FTeamEdit)
        .Field("UNameEdit", FUNameEdit)
        .Field("FontEdit", FFontEdit)
        .Field("StatusEdit", FStatusEdit)
        .Field("StartupCheck", FStartupCheck)
        .Field("MinimizedCheck", FMinimizedCheck)
        .Field("TaskbarCheck", FTaskbarCheck)
        .Field("AutoBackupCheck", FAutoBackupCheck)
        .Field("sDirectoryEdit2", FSkinPathEdit)
        .Field("InfoLabel", FInfoLabel)
        .Field("OpenDialog1", FOpenDialog);
}

void TForm1::BindMethods(TMethodTable& methods) {
    methods.Add("FormShow", this, &TForm1::FormShow)
        .Add("FormClose", this, &TForm1::FormClose)
        .Add("sSpeedButton1Click", this, &TForm1::sSpeedButton1Click)
        .Add("sSpeedButton2Click", this, &TForm1::sSpeedButton2Click)
        .Add("sSpeedButton4Click", this, &TForm1::sSpeedButton4Click)
        .Add("sSpeedButton5Click", this, &TForm1::sSpeedButton5Click)
        .Add("sSpeedButton6Click", this, &TForm1::sSpeedButton6Click)
        .Add("sSpeedButton7Click", this, &TForm1::sSpeedButton7Click)
        .Add("sSpeedButton9Click", this, &TForm1::sSpeedButton9Click)
        .Add("Up1Click", this, &TForm1::Up1Click)
        .Add("Down1Click", this, &TForm1::Down1Click)
        .Add("sDecimalSpinEdit1Change", this, &TForm1::sDecimalSpinEdit1Change)
        .Add("sCheckBox1Click", this, &TForm1::sCheckBox1Click)
        .Add("sCheckBox2Click", this, &TForm1::sCheckBox2Click)
        .Add("sCheckBox9Click", this, &TForm1::sCheckBox9Click)
        .Add("sCheckBox13Click", this, &TForm1::sCheckBox13Click);
}

void TForm1::SetLanguage(int language) {
    TSideForm::SetLanguage(language);
    if (language != 0 && language != 1) return;
    TranslateCaptions(Captions, int(std::size(Captions)), language);
    FInfoLabel->SetHint(KnownUnitsHint(language));
}

TSettings* TForm1::MainSettings() const {
    return MainForm != nullptr ? &MainForm->SettingsInMemory() : nullptr;
}

TProjectTable& TForm1::Projects() {
    if (MainForm != nullptr) return MainForm->Projects();
    if (FOwnProjects == nullptr) FOwnProjects = std::make_unique<TProjectTable>(LoadProjectTable());
    return *FOwnProjects;
}

int TForm1::Language() const {
    return FLanguageBox->ItemIndex();
}

// ---------------------------------------------------------------------------------------------------------
// Showing

void TForm1::FormShow(TObject*) {
    {
        const base::ValueRollback filling(FFilling, true);
        FillFromStore();
    }
    SelectNode(0);
}

void TForm1::FillFromStore() {
    FSaved = false;
    TSettings* main = MainSettings();
    const int count = main != nullptr ? int(main->Nodes.size()) : TSettingsKey(OptionsKey).Integer("HostCount", 1);
    FNodes = ReadOptionsNodes(count);
    FLanguageBox->Items()->Clear();
    FLanguageBox->Items()->Add("Русский");
    FLanguageBox->Items()->Add("English");
    FillNodeList();
    const int language = main != nullptr ? main->Language : 1;
    FInfoLabel->SetCaption(KnownUnitsText(language, Projects().Count()));
    ShowOptions();
    if (main != nullptr) main->Language = FLanguageBox->ItemIndex();
    SetLanguage(FLanguageBox->ItemIndex());
    FillWUGrid();
    FPageControl->SetActivePageIndex(0);
}

void TForm1::ShowOptions() {
    const TSettings* main = MainSettings();
    const TSettings fallback = main == nullptr ? LoadSettings() : TSettings {};
    const TSettings& memory = main != nullptr ? *main : fallback;
    TSettingsKey options(OptionsKey);
    FTrayHintCheck->SetChecked(memory.HintTray);
    FUpdateEdit->SetValue(ClampUpdate(memory.Update));
    const TSettings d;
    FTeamEdit->SetText(options.Text("Team", d.Team));
    FUNameEdit->SetText(options.Text("UName", d.UName));
    FStatusEdit->SetText(options.Text("CustomerStr", DefaultCustomerStr()));
    FConsoleEdit->SetText(options.Text("PathService", d.PathService));
    FConsoleEdit->SetInitialDir(os::ExtractFileDir(FConsoleEdit->Text()));
    FSkinPathEdit->SetText(options.Text("SkinPath", d.SkinPath));
    FSkinPathEdit->SetInitialDir(FSkinPathEdit->Text());
    FStartupCheck->SetChecked(options.Flag("RunStartup", d.RunStartup));
    FMinimizedCheck->SetChecked(options.Flag("RunMinimized", d.RunMinimized));
    FTaskbarCheck->SetChecked(options.Flag("Taskbar", d.Taskbar));
    FAutoBackupCheck->SetChecked(options.Flag("AutoBackup", d.AutoBackup));
    FWarningColor->SetSelected(TColor(options.Integer("WarningColor", d.WarningColor)));
    FWarningFontColor->SetSelected(TColor(options.Integer("WarningFontColor", d.WarningFontColor)));
    const int language = options.Integer("Language", d.Language);
    FLanguageBox->SetItemIndex(language == 0 || language == 1 ? language : -1);
    FFontEdit->SetValue(options.Integer("FSize", d.FSize));
}

void TForm1::FillWUGrid() {
    const TProjectTable& projects = Projects();
    const int count = projects.Count();
    FWUGrid->SetRowCount(count + 2);
    const char* headers[] = {"#", "WU Name", "WU Core", "WU Credit"};
    for (int c = 0; c < 4; ++c)
        FWUGrid->SetCells(c, 0, headers[c]);
    for (int k = 1; k <= count; ++k) {
        FWUGrid->SetCells(0, k, std::to_string(k));
        FWUGrid->SetCells(1, k, projects.Name(k));
        FWUGrid->SetCells(2, k, projects.Core(k));
        FWUGrid->SetCells(3, k, std::to_string(projects.Credit(k)));
    }
    FWUGrid->SetCells(0, count + 1, std::to_string(count));
    FWUGrid->SetCells(1, count + 1, "TOTAL WUs");
    FWUGrid->SetCells(2, count + 1, "");
    FWUGrid->SetCells(3, count + 1, "");
}

void TForm1::WUGridDrawCell(TObject*, int col, int row, TRect rect, TGridDrawState) {
    if (row != FWUGrid->RowCount() - 1) return;   // the grid painted the others
    TCanvas* canvas = FWUGrid->Canvas();
    canvas->Brush()->SetColor(FWUGrid->FixedColor());
    canvas->Font()->SetStyle(canvas->Font()->Style().Include(fsBold));
    // The row may be the selected one, whose text colour is meant for the highlight, not the fixed colour.
    const int face = int(ColorToRGB(FWUGrid->FixedColor()));
    canvas->Font()->SetColor(TColor(ReadableTextColour(face, int(ColorToRGB(FWUGrid->Font()->Color())))));
    canvas->FillRect(rect);
    canvas->TextOut(rect.left + 2, rect.top + 2, " " + FWUGrid->Cells(col, row));
}

// ---------------------------------------------------------------------------------------------------------
// Program-wide options

void TForm1::sSpeedButton1Click(TObject*) {
    const int fontSize = base::StrToIntDef(base::Trim(FFontEdit->Text()), 8);
    std::string pathService = FConsoleEdit->Text();
    pathService.erase(std::remove(pathService.begin(), pathService.end(), '"'), pathService.end());
    std::string serviceName = pathService;
    std::replace(serviceName.begin(), serviceName.end(), '\\', '+');
    serviceName = "FAH@" + serviceName;
    {
        TSettingsBatch batch;
        TSettingsKey options(OptionsKey);
        options.WriteText("Team", FTeamEdit->Text());
        options.WriteText("UName", FUNameEdit->Text());
        options.WriteText("CustomerStr", FStatusEdit->Text());
        options.WriteInteger("HostCount", NodeCount());
        options.WriteInteger("Language", FLanguageBox->ItemIndex());
        options.WriteInteger("WarningColor", int(FWarningColor->Selected()));
        options.WriteInteger("WarningFontColor", int(FWarningFontColor->Selected()));
        options.WriteFlag("HintTray", FTrayHintCheck->Checked());
        options.WriteFlag("AutoBackup", FAutoBackupCheck->Checked());
        options.WriteFlag("RunStartup", FStartupCheck->Checked());
        options.WriteFlag("RunMinimized", FMinimizedCheck->Checked());
        options.WriteFlag("Taskbar", FTaskbarCheck->Checked());
        options.WriteText("SkinPath", FSkinPathEdit->Text());
        options.WriteText("ServiceName", serviceName);
        options.WriteText("PathService", pathService);
        options.WriteInteger("FSize", fontSize);
        WriteStartWithWindows(FStartupCheck->Checked());
    }
    if (TSettings* main = MainSettings()) {
        main->ServiceName = serviceName;
        main->FSize = fontSize;
        if (MainForm->Grid() != nullptr) MainForm->Grid()->Font()->SetSize(fontSize);
    }
    FSaved = true;
}

// Every change of the minutes is stored and used at once, kept within 1 to 180 (a text that is not a number
// is 1). An emptied field shows the value stored, selected so that the next digit typed replaces it.
void TForm1::sDecimalSpinEdit1Change(TObject*) {
    if (FFilling) return;
    const std::string text = base::Trim(FUpdateEdit->Text());
    const int stored = ClampUpdate(base::StrToIntDef(text, 1));
    StoreUpdate(stored);
    if (!text.empty()) return;
    const base::ValueRollback filling(FFilling, true);
    FUpdateEdit->SetValue(stored);
    FUpdateEdit->SelectAll();
}

void TForm1::StoreUpdate(int minutes) {
    if (TSettings* main = MainSettings()) main->Update = minutes;
    TSettingsKey(OptionsKey).WriteInteger("Update", minutes);
}

void TForm1::sCheckBox1Click(TObject*) {
    if (FFilling) return;
    if (TSettings* main = MainSettings()) main->HintTray = FTrayHintCheck->Checked();
}

// ---------------------------------------------------------------------------------------------------------
// Closing

void TForm1::sSpeedButton9Click(TObject*) {
    Close();
}

// Escape that no control took closes the window as its "Close" buttons do (a save made runs "Refresh data").
void TForm1::CMDialogKey(TMessage& m) {
    TSideForm::CMDialogKey(m);
    if (m.Result != 0 || m.WParam != user::VK_ESCAPE || user::GetKeyState(user::VK_MENU) < 0) return;
    m.Result = 1;
    sSpeedButton9Click(this);
}

void TForm1::FormClose(TObject*, TCloseAction&) {
    if (FSaved && MainForm != nullptr) MainForm->ReShow();
}

void TForm1::sSpeedButton5Click(TObject*) {
    if (Form7 == nullptr || Form7->Visible()) return;
    Form7->OnProjectAdded = [this](const std::string& infoText) {
        SetSaved();
        if (!infoText.empty()) FInfoLabel->SetCaption(infoText);
    };
    const base::ScopeExit unhook([] {
        if (Form7 != nullptr) Form7->OnProjectAdded = nullptr;
    });
    Form7->ShowModal();
}

}
