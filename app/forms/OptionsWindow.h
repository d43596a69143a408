// TForm1: the options window: the node list with each node's settings, the program-wide options, the known
// projects and their update from the project summary page. It edits a copy of the node list read at every
// showing; closing it after a save runs the main window's "Refresh data".
#pragma once

#include "app/settings/Settings.h"
#include "app/forms/SideForm.h"
#include "platform/classes/GridTypes.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {
class TStringGrid;
}
namespace korvex::skin {
class TsCheckBox;
class TsColorBox;
class TsComboBox;
class TsDecimalSpinEdit;
class TsDirectoryEdit;
class TsEdit;
class TsFilenameEdit;
class TsGroupBox;
class TsLabel;
class TsOpenDialog;
class TsPageControl;
class TsRadioButton;
class TsSpeedButton;
class TsSpinEdit;
}

namespace korvex::app {

class TProjectTable;

// The client.cfg core type of a node's folder: read (the current one when the file says nothing) and written.
using TClientCoreReader = std::function<int(const std::string& nodeFolder, int current)>;
using TClientCoreWriter = std::function<bool(const std::string& nodeFolder, int coreType)>;

class TForm1 : public TSideForm {
public:
    explicit TForm1(classes::TComponent* owner);
    ~TForm1() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    void SetLanguage(int language) override;   // the window's caption and every control's caption

    // The working copy.
    int NodeCount() const { return int(FNodes.size()); }
    const TNodeSettings& Node(int i) const { return FNodes.at(i); }
    int SelectedNode() const;
    bool Saved() const { return FSaved; }
    void SetSaved() { FSaved = true; }   // a project was added by hand

    const std::string& SummaryUrl() const { return FSummaryUrl; }
    void SetSummaryUrl(const std::string& value) { FSummaryUrl = value; }

    // The node's client.cfg, read when "Attempt get WU core type" is switched on and written by "Save node".
    TClientCoreReader ClientCoreReader;
    TClientCoreWriter ClientCoreWriter;

    // The handlers.
    void FormShow(classes::TObject* sender);
    void FormClose(classes::TObject* sender, classes::TCloseAction& action);
    void sSpeedButton2Click(classes::TObject* sender);   // Add
    void sSpeedButton4Click(classes::TObject* sender);   // Delete the selected node
    void sSpeedButton6Click(classes::TObject* sender);   // Save node (and the whole list)
    void sSpeedButton1Click(classes::TObject* sender);   // Save all: the program-wide options
    void Up1Click(classes::TObject* sender);
    void Down1Click(classes::TObject* sender);
    void StringGridSelectCell(classes::TObject* sender, int col, int row, bool& canSelect);
    void sDecimalSpinEdit1Change(classes::TObject* sender);
    void sCheckBox1Click(classes::TObject* sender);   // the tray hint flag
    void sCheckBox2Click(classes::TObject* sender);   // FARM mode
    void sCheckBox9Click(classes::TObject* sender);   // the core type from the client
    void sCheckBox13Click(classes::TObject* sender);   // verbosity
    void sSpeedButton5Click(classes::TObject* sender);   // manual project input
    void sSpeedButton7Click(classes::TObject* sender);   // update the projects from the summary page
    void sSpeedButton9Click(classes::TObject* sender);   // Close
    void WUGridDrawCell(classes::TObject* sender, int col, int row, classes::TRect rect, classes::TGridDrawState state);

    classes::TStringGrid* NodeList() const { return FStringGrid; }
    classes::TStringGrid* WUGrid() const { return FWUGrid; }
    skin::TsPageControl* PageControl() const { return FPageControl; }
    skin::TsLabel* InfoLabel() const { return FInfoLabel; }
    skin::TsOpenDialog* OpenDialog() const { return FOpenDialog; }

protected:
    void CMDialogKey(classes::TMessage& m) override;   // Escape acts as "Close"

private:
    void BindFields(classes::TMethodTable& methods);
    void BindMethods(classes::TMethodTable& methods);
    void ShowNode(int i);   // the node's values into the controls
    TNodeSettings NodeFromControls(TNodeSettings node) const;
    void FillNodeList();
    void SelectNode(int i);
    void MoveNode(int from, int to);
    void FillFromStore();
    void ShowOptions();
    void FillWUGrid();
    void EnableFarmControls();
    int CheckedCore() const;
    void CheckCore(int core);
    int Language() const;
    void SayInLanguage(const std::string& text);
    void StoreUpdate(int minutes);   // in the store and in the main window's options
    TSettings* MainSettings() const;   // the main window's options in memory, when it exists
    TProjectTable& Projects();

    std::vector<TNodeSettings> FNodes;
    bool FSaved = false;
    bool FFilling = false;   // the controls are being filled: their events change nothing
    std::string FSummaryUrl;
    std::unique_ptr<TProjectTable> FOwnProjects;   // without a main window

    skin::TsPageControl* FPageControl = nullptr;
    classes::TStringGrid* FStringGrid = nullptr;
    classes::TStringGrid* FWUGrid = nullptr;
    skin::TsEdit* FNameEdit = nullptr;
    skin::TsDirectoryEdit* FPathEdit = nullptr;
    skin::TsEdit* FRSPathEdit = nullptr;
    skin::TsSpinEdit* FLevelEdit = nullptr;
    skin::TsSpinEdit* FVerboEdit = nullptr;
    skin::TsCheckBox* FFarmCheck = nullptr;   // sCheckBox2
    skin::TsCheckBox* FCpuCheck = nullptr;   // sCheckBox3
    skin::TsCheckBox* FSendCheck = nullptr;   // sCheckBox4
    skin::TsCheckBox* FBackupCheck = nullptr;   // sCheckBox5
    skin::TsCheckBox* FHintCheck = nullptr;   // sCheckBox6
    skin::TsCheckBox* FTrycoreCheck = nullptr;   // sCheckBox9
    skin::TsCheckBox* FVerboCheck = nullptr;   // sCheckBox13
    skin::TsGroupBox* FCoreGroup = nullptr;
    std::array<skin::TsRadioButton*, 5> FCores {};
    skin::TsDecimalSpinEdit* FUpdateEdit = nullptr;
    skin::TsFilenameEdit* FConsoleEdit = nullptr;
    skin::TsCheckBox* FTrayHintCheck = nullptr;   // sCheckBox1
    skin::TsColorBox* FWarningColor = nullptr;
    skin::TsColorBox* FWarningFontColor = nullptr;
    skin::TsComboBox* FLanguageBox = nullptr;
    skin::TsEdit* FTeamEdit = nullptr;
    skin::TsEdit* FUNameEdit = nullptr;
    skin::TsSpinEdit* FFontEdit = nullptr;
    skin::TsEdit* FStatusEdit = nullptr;
    skin::TsCheckBox* FStartupCheck = nullptr;
    skin::TsCheckBox* FMinimizedCheck = nullptr;
    skin::TsCheckBox* FTaskbarCheck = nullptr;
    skin::TsCheckBox* FAutoBackupCheck = nullptr;
    skin::TsDirectoryEdit* FSkinPathEdit = nullptr;
    skin::TsLabel* FInfoLabel = nullptr;
    skin::TsOpenDialog* FOpenDialog = nullptr;
};

extern TForm1* Form1;

}
