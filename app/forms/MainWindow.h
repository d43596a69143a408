// TMainForm: the main window: one row of controls and grid cells per node, the column headers, the menus, the
// tool bar, the tray icon and the monitor that feeds the rows.
#pragma once

#include "app/cache/CacheWorkers.h"
#include "app/monitor/Monitor.h"
#include "app/nodes/ProjectTable.h"
#include "app/settings/Settings.h"
#include "app/nodes/WorkUnitHistory.h"
#include "platform/classes/GridTypes.h"
#include "platform/classes/TForm.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex::classes {
class TImageList;
class TMenuItem;
class TStringGrid;
class TTimer;
}
namespace korvex::skin {
class TsGauge;
class TsLabel;
class TsPanel;
class TsScrollBox;
class TsSkinManager;
class TsSpeedButton;
class TsSplitter;
class TsStatusBar;
}
namespace korvex::tray {
class TTrayIcon;
}

namespace korvex::app {

class TForm1;

inline constexpr int NodeRowHeight = 16;   // one node's row: grid row 15 plus its line
inline constexpr int ShownColumns = 9;   // grid columns 0..8; 9 is the marker

// The controls of one node's row and what the last refresh showed in them (the UI's own copy).
struct TNodeRowControls {
    skin::TsLabel* Label = nullptr;
    skin::TsGauge* Gauge = nullptr;
    skin::TsPanel* Status = nullptr;
    skin::TsPanel* Farm = nullptr;
    skin::TsPanel* Backup = nullptr;
    TRowView View;
};

class TMainForm : public classes::TForm, public IMonitorView {
public:
    explicit TMainForm(classes::TComponent* owner);
    ~TMainForm() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void BeforeDestruction() override;   // the monitor stops before the controls it feeds go

    // The monitor view, on the UI thread.
    void RowRefreshed(const TRowRefresh& refresh) override;
    void CycleStarted(int node) override;
    void BusyChanged(bool anyNodeBusy) override;
    // A cache started from the node information window: the node's square turns cyan and says so, until the
    // node's next refresh.
    void ShowCaching(int node);

    // The lifecycle.
    void FormCreate(classes::TObject* sender);
    void FormShow(classes::TObject* sender);
    // Loads options, rows, history and starts the node threads, shown or not ("Run minimized" with a tray
    // monitors while the window is hidden); once until "Refresh data".
    void Load();
    void ReShow();
    void Timer1Timer(classes::TObject* sender);
    void FormCloseQuery(classes::TObject* sender, bool& canClose);
    void sSpeedButton1Click(classes::TObject* sender);   // Exit

    // The commands of the menus, the tool bar and the pop-ups.
    void WebLinkClick(classes::TObject* sender);
    void Checknewversion1Click(classes::TObject* sender);
    void AddHostClick(classes::TObject* sender);
    void DeleteHostClick(classes::TObject* sender);
    void QuickNodeChange(const std::function<void(TForm1*)>& change);
    void ViewCheckPoints1Click(classes::TObject* sender);
    std::string CheckPointsText() const;
    void SetVersionSite(const std::string& site) { FVersionSite = site; }   // tests point it at a loopback server
    void ExitFromSignal();   // SIGTERM and SIGINT: the Exit path, on the UI thread
    void sSkinManager1AfterChange(classes::TObject* sender);   // the skin in use goes to the settings
    // The display went away: what Exit saves is saved and monitoring stopped, without a window or display call.
    void SaveWithoutDisplay();
    bool IsLoaded() const { return FLoaded; }
    // The program's version as its first `fields` dot-separated numbers ("2.6.0.11" for 4).
    static std::string GetVersion(int fields);
    bool Closing() const { return FClosing; }

    // The rows and columns. BuildRows makes the per-node controls and grid rows for settings' nodes, sizes
    // the window and applies the columns; FreeRows takes them down.
    void ApplySettings(const TSettings& settings);
    void BuildRows();
    void FreeRows();
    int RowCount() const { return int(FRows.size()); }
    const TNodeRowControls& Row(int node) const { return FRows.at(node); }
    // What the last refresh learnt of a node (the window's copy of it), for the side windows: the status (none
    // before the first refresh and while a cycle runs) and the core the row shows.
    std::optional<TNodeStatus> NodeStatus(int node) const { return FRows.at(node).View.NodeStatus; }
    const std::string& NodeCore(int node) const { return FRows.at(node).View.Cell(TGridColumn::Core); }
    const TSettings& Settings() const { return FSettings; }
    const TProjectTable& Projects() const { return FProjects; }
    // The options window writes some options back in memory and adds to the project table (so does the manual input).
    // The nodes' settings change only through ApplySettings: the tray hint keeps which nodes it lists.
    TSettings& SettingsInMemory() { return FSettings; }
    TProjectTable& Projects() { return FProjects; }
    void SetLanguage(int language);   // 0 Russian, 1 English; other values change nothing
    void ApplySkin(const std::string& skinName);   // loads it; rows in the parent's colour take the skin's

    // Column show and hide, the width rule, the splitters, painting and hints of the grid.
    void ColumnClick(int column);   // the handler of grid column 1..8's menu item
    void Core1Click(classes::TObject* sender);
    void AllON1Click(classes::TObject* sender);
    void ApplyWidthRule();
    void SplitterResize(int column);   // grid column 1..8's header was dragged
    void sSplitter1CanResize(classes::TObject* sender, int& newSize, bool& accept);
    void sSplitter10CanResize(classes::TObject* sender, int& newSize, bool& accept);
    void sSplitter11CanResize(classes::TObject* sender, int& newSize, bool& accept);
    void GridDrawCell(classes::TObject* sender, int col, int row, classes::TRect rect, classes::TGridDrawState state);
    void GridMouseMove(classes::TObject* sender, classes::TShiftState shift, int x, int y);
    std::string CellHint(int col, int row) const;
    void ScrollByWheel(int wheelDelta);

    classes::TStringGrid* Grid() const { return FGrid; }
    skin::TsScrollBox* ScrollBox() const { return FScrollBox; }
    skin::TsPanel* Header(int column) const { return FHeaders.at(column); }   // 0 name, 1 progress, 2.. grid 0..
    skin::TsSplitter* Splitter(int column) const { return FSplitters.at(column); }
    classes::TMenuItem* ColumnItem(int gridColumn) const { return FColumnItems.at(gridColumn); }
    classes::TMenuItem* AllOnItem() const { return FAllON1; }
    skin::TsStatusBar* StatusBar() const { return FStatusBar; }
    tray::TTrayIcon* TrayIcon() const { return FTrayIcon; }
    classes::TImageList* NormalIcons() const { return FNormalIcons; }
    classes::TImageList* ViewerIcons() const { return FViewerIcons; }   // the log viewer's animation
    skin::TsSkinManager* SkinManager() const { return FSkinManager; }
    classes::TTimer* Timer() const { return FTimer1; }
    TMonitor* Monitor() const { return FMonitor.get(); }
    TCacheWorkers* CacheWorkers() const { return FCache.get(); }
    int GridWidth() const;   // the width rule's grid width

protected:
    void WMQueryEndSession(classes::TMessage& m) override;
    void WndProc(classes::TMessage& message) override;

private:
    void SetProgramIcon();
    void UpdateRowsColour(bool skinned);
    void BindMethods(classes::TMethodTable& methods);
    void EnableCommands(bool enabled);
    void EnableMenuCommands(bool enabled);
    void OpenSideForm(classes::TForm* form);
    void ApplySquare(skin::TsPanel* panel, const TSquareView& view);
    void ShowTotals(const std::string& text);
    void ShowFarmPortState();   // the status text, and whether the farm port is closed
    void PlaceRowControls(int node);
    std::string TrayHintText() const;
    void Watchdog();
    void StopMonitoring();
    void SaveAll();
    void TrayIcon1BalloonDone(classes::TObject* sender);
    void BackupDone(int node, bool ok);

    TSettings FSettings;
    std::vector<int> FHintedNodes;   // the nodes whose Hint is set, in order
    TProjectTable FProjects;
    std::unique_ptr<TWorkUnitHistory> FHistory;
    std::unique_ptr<TMonitor> FMonitor;
    std::unique_ptr<TCacheWorkers> FCache;   // its threads call the monitor: it goes first
    std::vector<TNodeRowControls> FRows;
    std::vector<int> FLastStage;   // the watchdog's last stage seen per node
    bool FLoaded = false;
    bool FClosing = false;
    bool FAsking = false;   // the watchdog's question is open
    int FHintCol = -1, FHintRow = -1;   // the cell whose hint the grid shows
    std::string FVersionSite;

    skin::TsSkinManager* FSkinManager = nullptr;   // owned by the form, bound by the form text
    tray::TTrayIcon* FTrayIcon = nullptr;
    classes::TTimer* FTimer1 = nullptr;
    classes::TStringGrid* FGrid = nullptr;
    skin::TsScrollBox* FScrollBox = nullptr;
    skin::TsStatusBar* FStatusBar = nullptr;
    std::array<skin::TsPanel*, 11> FHeaders {};
    std::array<skin::TsSplitter*, 11> FSplitters {};
    std::array<classes::TMenuItem*, ShownColumns> FColumnItems {};
    classes::TMenuItem* FAllON1 = nullptr;
    classes::TImageList* FNormalIcons = nullptr;   // owned by the form
    classes::TImageList* FBusyIcons = nullptr;
    classes::TImageList* FViewerIcons = nullptr;
};

extern TMainForm* MainForm;

}
