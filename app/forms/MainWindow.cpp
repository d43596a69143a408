// TMainForm: the form text, the per-node controls and the rows the monitor hands over.
#include "app/forms/MainWindow.h"

#include "app/monitor/RowRefresh.h"
#include "app/settings/ProgramLog.h"
#include "app/forms/MainCaptions.h"
#include "app/forms/SideForms.h"
#include "platform/base/Assert.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TStringGrid.h"
#include "platform/classes/TTimer.h"
#include "platform/user/Tray.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sGlyphUtils.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/controls/sSplitter.h"
#include "skin/controls/sStatusBar.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStoredSkins.h"
#include "skin/windows/sWindowClasses.h"
#include "skin/windows/shell/acShellClasses.h"
#include "skin/stored/EmbeddedSkins.h"
#include "tray/TrayIcon.h"
#include "tray/TrayPictures.h"

namespace korvex::app {

using namespace classes;

TMainForm* MainForm = nullptr;

namespace {

// Grid column k's header panel and splitter are column k + 2 of the arrays; 0 and 1 are name and progress.
constexpr const char* HeaderNames[]
    = {"HName", "HProgress", "HCore", "HRemain", "HStart", "HDeadline", "HFinish", "HPoints", "HPPD", "HPPH", "HRCG"};
constexpr const char* SplitterNames[] = {"sSplitter10", "sSplitter11", "sSplitter1", "sSplitter2", "sSplitter3",
    "sSplitter4", "sSplitter5", "sSplitter6", "sSplitter7", "sSplitter8", "sSplitter9"};
// The tool bar shows glyphs only: the hints name the commands in the window's language.
constexpr skin::TButtonGlyph ToolBarGlyphs[] {{"sSpeedButton2", "TB_OPTIONS"}, {"sSpeedButton3", "TB_CHARTS"},
    {"sSpeedButton4", "TB_REFRESH"}, {"sSpeedButton5", "TB_LOGS"}, {"sSpeedButton6", "TB_HISTORY"},
    {"sSpeedButton7", "TB_VERSION"}, {"sSpeedButton8", "TB_ADDHOST"}, {"sSpeedButton9", "TB_DELHOST"},
    {"sSpeedButton1", "TB_EXIT"}};

void RegisterMainFormClasses() {
    skin::RegisterSkinWindowClasses();
    skin::RegisterShellClasses();   // the folder and file dialogs the options window opens
    RegisterMenuClasses();
    tray::RegisterTrayClasses();
    skin::RegisterStoredSkinClasses();
    RegisterClasses({TStringGrid::StaticClass(), TTimer::StaticClass(), TImageList::StaticClass()});
}

template <class T>
T* Owned(TComponent* owner, std::string_view name) {
    T* component = dynamic_cast<T*>(owner->FindComponent(name));
    KORVEX_ASSERT(component != nullptr);
    return component;
}

}

TMainForm::TMainForm(TComponent* owner)
    : TForm(owner) {
    TMethodTable methods;
    BindMethods(methods);
    methods.Field("sSkinManager1", FSkinManager)
        .Field("TrayIcon1", FTrayIcon)
        .Field("Timer1", FTimer1)
        .Field("Grid", FGrid)
        .Field("sScrollBox1", FScrollBox)
        .Field("sStatusBar1", FStatusBar)
        .Field("AllON1", FAllON1);
    RegisterMainFormClasses();
    // What the notification area has to say (no tray on this desktop) goes to the program's log; the tray
    // icon is made with the form.
    user::SetTrayLog([](const std::string& line) { WLog(line); });
    SetProgramIcon();   // before the windows are made: each takes it for its title
    ReadFormResource("MainUnit", methods);
    for (int i = 0; i < 11; ++i) {
        FHeaders[i] = Owned<skin::TsPanel>(this, HeaderNames[i]);
        FSplitters[i] = Owned<skin::TsSplitter>(this, SplitterNames[i]);
    }
    for (int k = 0; k < ShownColumns; ++k)
        FColumnItems[k] = Owned<TMenuItem>(this, ColumnCaptions()[k].ItemName);
    // The grid's cell painting and the splitters' events are not published: bound here.
    FGrid->OnDrawCell = [this](TObject* s, int col, int row, TRect rect, TGridDrawState state) {
        GridDrawCell(s, col, row, rect, state);
    };
    FSplitters[0]->OnCanResize = [this](TObject* s, int& size, bool& accept) { sSplitter10CanResize(s, size, accept); };
    FSplitters[1]->OnCanResize = [this](TObject* s, int& size, bool& accept) { sSplitter11CanResize(s, size, accept); };
    FSplitters[2]->OnCanResize = [this](TObject* s, int& size, bool& accept) { sSplitter1CanResize(s, size, accept); };
    for (int k = 1; k < ShownColumns; ++k)
        FSplitters[k + 2]->OnMoved = [this, k](TObject*) { SplitterResize(k); };
    KORVEX_ASSERT(FSkinManager && FTrayIcon && FTimer1 && FGrid && FScrollBox && FStatusBar && FAllON1);
    // The rows' pop-up menu has a command reached by its shortcut alone (F12, check-points): the window takes
    // the menu's shortcuts wherever its focus is.
    OnShortCut = [popup = Owned<TPopupMenu>(this, "PopupMenu1")](TMessage& message, bool& handled) {
        handled = MenuIsShortCut(popup, message);
    };
    skin::AssignButtonGlyphs(this, ToolBarGlyphs);
    // The scroll box hears every load and removal of the skin (the form's own provider keeps them); the form
    // owns the box, so the hook dies with both.
    FScrollBox->WindowProc = [this, old = FScrollBox->WindowProc](TMessage& message) {
        old(message);
        if (message.Msg != skin::SM_SKINCMD || message.LParam != LPARAM(FSkinManager)) return;
        const int code = skin::SkinCommandCode(message);
        if (code == skin::SMC_NEWSKIN || code == skin::SMC_REMOVESKIN) UpdateRowsColour(code == skin::SMC_NEWSKIN);
    };
    FNormalIcons = Create<TImageList>(this);
    FBusyIcons = Create<TImageList>(this);
    tray::LoadTrayPictures(FNormalIcons, tray::TTrayPictureSet::Normal, 16);
    tray::LoadTrayPictures(FBusyIcons, tray::TTrayPictureSet::Busy, 16);
    FViewerIcons = Create<TImageList>(this);
    tray::LoadTrayPictures(FViewerIcons, tray::TTrayPictureSet::Viewer, 16);
    FTrayIcon->SetIconList(FNormalIcons);
    skin::LoadEmbeddedSkins(*FSkinManager);
    if (MainForm == nullptr) MainForm = this;
}

// The program's icon (the tray's first normal frame, as the install's) for the application and every window
// without an icon of its own.
void TMainForm::SetProgramIcon() {
    if (Application == nullptr || !Application->Icon()->Empty()) return;
    auto* pictures = Create<TImageList>(this);
    TIcon icon;
    if (tray::LoadTrayPictures(pictures, tray::TTrayPictureSet::Normal, 16) && pictures->GetIcon(0, &icon))
        Application->SetIcon(&icon);
    pictures->Free();
}

TMainForm::~TMainForm() {
    if (MainForm == this) MainForm = nullptr;
    user::SetTrayLog(nullptr);
}

void TMainForm::BeforeDestruction() {
    StopMonitoring();
    FCache.reset();
    FMonitor.reset();
    TForm::BeforeDestruction();
}

TClass TMainForm::StaticClass() {
    static const TClassInfo info = MakeClass<TMainForm, TForm>("TMainForm");
    return &info;
}

void TMainForm::BindMethods(TMethodTable& methods) {
    auto notify = [this](void (TMainForm::*handler)(TObject*)) {
        return std::function<void(TObject*)>([this, handler](TObject* sender) { (this->*handler)(sender); });
    };
    auto side = [this](TForm* (*form)()) {
        return std::function<void(TObject*)>([this, form](TObject*) { OpenSideForm(form()); });
    };
    methods.Add("FormCreate", notify(&TMainForm::FormCreate))
        .Add("sSkinManager1AfterChange", notify(&TMainForm::sSkinManager1AfterChange))
        .Add("FormShow", notify(&TMainForm::FormShow))
        .Add("FormCloseQuery", this, &TMainForm::FormCloseQuery)
        .Add("Timer1Timer", notify(&TMainForm::Timer1Timer))
        .Add("sSpeedButton1Click", notify(&TMainForm::sSpeedButton1Click))
        .Add("Refreshdata1Click", std::function<void(TObject*)>([this](TObject*) { ReShow(); }))
        .Add("Options1Click", side([]() -> TForm* { return Form1; }))
        .Add("About1Click", side([]() -> TForm* { return Form2; }))
        .Add("ViewFAHLogfiles1Click", side([]() -> TForm* { return Form3; }))
        .Add("Histograms1Click", side([]() -> TForm* { return Form4; }))
        .Add("ViewWUshistory1Click", side([]() -> TForm* { return Form5; }))
        .Add("ViewCheckPoints1Click", notify(&TMainForm::ViewCheckPoints1Click))
        .Add("WebLinkClick", notify(&TMainForm::WebLinkClick))
        .Add("Checknewversion1Click", notify(&TMainForm::Checknewversion1Click))
        .Add("AddHostClick", notify(&TMainForm::AddHostClick))
        .Add("DeleteHostClick", notify(&TMainForm::DeleteHostClick))
        .Add("Core1Click", notify(&TMainForm::Core1Click))
        .Add("AllON1Click", notify(&TMainForm::AllON1Click))
        .Add("GridMouseMove", this, &TMainForm::GridMouseMove)
        .Add("GridMouseWheelDown",
            std::function<void(TObject*, TShiftState, TPoint, bool&)>(
                [this](TObject*, TShiftState, TPoint, bool& handled) {
                    ScrollByWheel(-120);
                    handled = true;
                }))
        .Add("GridMouseWheelUp",
            std::function<void(TObject*, TShiftState, TPoint, bool&)>(
                [this](TObject*, TShiftState, TPoint, bool& handled) {
                    ScrollByWheel(120);
                    handled = true;
                }))
        .Add("sScrollBox1MouseWheel",
            std::function<void(TObject*, TShiftState, int, TPoint, bool&)>(
                [this](TObject*, TShiftState, int delta, TPoint, bool& handled) {
                    ScrollByWheel(delta);
                    handled = true;
                }))
        .Add("TrayIcon1Click", std::function<void(TObject*)>([this](TObject*) { FTrayIcon->ShowMainForm(); }))
        .Add("TrayIcon1MinimizeToTray", std::function<void(TObject*)>([this](TObject*) { FTrayIcon->HideMainForm(); }))
        .Add("TrayIcon1Startup",
            std::function<void(TObject*, bool&)>([](TObject*, bool& show) { show = !ReadRunMinimized(); }))
        .Add("TrayIcon1BalloonHintTimeout", notify(&TMainForm::TrayIcon1BalloonDone))
        .Add("TrayIcon1BalloonHintClick", notify(&TMainForm::TrayIcon1BalloonDone));
    for (int k = 1; k < ShownColumns; ++k) {
        methods.Add(ColumnCaptions()[k].ItemName + std::string("Click"),
            std::function<void(TObject*)>([this, k](TObject*) { ColumnClick(k); }));
    }
}

void TMainForm::OpenSideForm(TForm* form) {
    if (form != nullptr && !form->Visible()) form->ShowModal();
}

// ---------------------------------------------------------------------------------------------------------
// Rows

void TMainForm::ApplySettings(const TSettings& settings) {
    FSettings = settings;
    FHintedNodes.clear();
    for (int i = 0; i < int(FSettings.Nodes.size()); ++i)
        if (FSettings.Nodes[i].Hint) FHintedNodes.push_back(i);
}

void TMainForm::ApplySkin(const std::string& skinName) {
    FSkinManager->SetSkinName(skinName);
    UpdateRowsColour(FSkinManager->Active());
}

// The squares in the parent's colour show the skin's window colour, not the scroll box's own; without a skin
// the plain face colour, under which the names are readable again.
void TMainForm::UpdateRowsColour(bool skinned) {
    FScrollBox->SetColor(skinned ? FSkinManager->GetGlobalColor() : TColor(clBtnFace));
}


void TMainForm::PlaceRowControls(int node) {
    TNodeRowControls& row = FRows[node];
    const int nameWidth = FHeaders[0]->Width();
    const int progressWidth = FHeaders[1]->Width();
    const int y = node * NodeRowHeight;
    row.Label->SetBounds(4, y, nameWidth, NodeRowHeight - 1);
    row.Status->SetBounds(nameWidth, y + 1, 13, 13);
    row.Farm->SetBounds(nameWidth + 13, y + 1, 7, 13);
    row.Backup->SetBounds(nameWidth + 20, y + 1, 7, 13);
    row.Gauge->SetBounds(nameWidth + 29, y, progressWidth - 32, NodeRowHeight);
}

void TMainForm::BuildRows() {
    KORVEX_ASSERT(FRows.empty());
    const int count = int(FSettings.Nodes.size());
    FHeaders[0]->SetWidth(FSettings.WW[10]);
    FHeaders[1]->SetWidth(FSettings.WW[11]);
    FRows.resize(count);
    FLastStage.assign(count, 0);
    {
        // Each control put on the scroll box would lay out all the others again: one layout after the rows instead.
        FScrollBox->DisableAlign();
        base::ScopeExit aligned([this] { FScrollBox->EnableAlign(); });
        for (int i = 0; i < count; ++i) {
            const TNodeSettings& node = FSettings.Nodes[i];
            TNodeRowControls& row = FRows[i];
            auto square = [this](int tag) {
                auto* panel = Create<skin::TsPanel>(this);
                panel->SetCaption("");
                panel->SetBevelOuter(bvNone);
                panel->SkinData()->SetSkinSection("");
                panel->SkinData()->SetCustomColor(true);
                panel->SetParentColor(true);
                panel->SetTag(tag);
                panel->SetParent(FScrollBox);
                return panel;
            };
            row.Status = square(i);
            row.Status->SetCursor(crHandPoint);
            row.Status->OnClick = [this](TObject* sender) {
                if (Form8 == nullptr) return;
                Form8->SetNode(static_cast<TControl*>(sender)->Tag());
                OpenSideForm(Form8);
            };
            row.Farm = square(i);
            row.Backup = square(i);
            row.Label = Create<skin::TsLabel>(this);
            row.Label->SetAutoSize(false);
            row.Label->SetShowAccelChar(false);   // the user's name as typed: "R&D Lab" keeps its "&"
            row.Label->SetCaption(node.Label);
            row.Label->SetHint(node.Path);
            row.Label->SetShowHint(true);
            row.Label->Font()->SetName("Tahoma");
            row.Label->SetParent(FScrollBox);
            row.Gauge = Create<skin::TsGauge>(this);
            row.Gauge->SetForeColor(TColor(0xFFFF00));
            row.Gauge->SetProgress(node.Progress);
            row.Gauge->SetParent(FScrollBox);
            row.View.Node = i;
            row.View.Progress = node.Progress;
            PlaceRowControls(i);
        }
        FGrid->SetRowCount(count > 0 ? count : 1);
        for (int r = 0; r < FGrid->RowCount(); ++r)
            for (int c = 0; c < GridColumnCount; ++c)
                FGrid->SetCells(c, r, "");
        FGrid->Font()->SetSize(FSettings.FSize);
        FGrid->SetBounds(FSettings.WW[10] + FSettings.WW[11], 0, FGrid->Width(), count * NodeRowHeight);
        for (int k = 0; k < ShownColumns; ++k)
            FGrid->SetColWidths(k, FSettings.WW[k + 1]);
        FGrid->SetColWidths(MarkerColumn, 0);
    }

    // The window: a scroll box for up to 25 rows; more scroll.
    FScrollBox->SetHeight(count >= 26 ? 405 : count * NodeRowHeight + 5);
    SetHeight(count >= 26 ? 523 : count * NodeRowHeight + 123);

    for (int k = 0; k < ShownColumns; ++k)
        FColumnItems[k]->SetChecked(k == 0 || FSettings.W[k + 1]);
    Core1Click(nullptr);
    for (int k = 1; k < ShownColumns; ++k)
        ColumnClick(k);
}

void TMainForm::FreeRows() {
    FScrollBox->DisableAlign();
    base::ScopeExit aligned([this] { FScrollBox->EnableAlign(); });
    for (TNodeRowControls& row : FRows) {
        for (TControl* control :
            {static_cast<TControl*>(row.Label), static_cast<TControl*>(row.Gauge), static_cast<TControl*>(row.Status),
                static_cast<TControl*>(row.Farm), static_cast<TControl*>(row.Backup)})
            if (control != nullptr) control->Free();
    }
    FRows.clear();
    FLastStage.clear();
    FHintCol = FHintRow = -1;
    FScrollBox->VertScrollBar()->SetPosition(0);
    FGrid->SetRowCount(1);
    for (int c = 0; c < GridColumnCount; ++c)
        FGrid->SetCells(c, 0, "");
}

void TMainForm::ApplySquare(skin::TsPanel* panel, const TSquareView& view) {
    if (view.ParentColor)
        panel->SetParentColor(true);
    else
        panel->SetColor(TColor(view.Color));
    panel->SetParentShowHint(view.ParentShowHint);
    if (!view.ParentShowHint) panel->SetShowHint(true);
    panel->SetHint(view.Hint);
}

void TMainForm::ShowCaching(int node) {
    if (node < 0 || node >= RowCount()) return;
    TSquareView& square = FRows[node].View.Status;
    square.ParentColor = false;
    square.Color = ColorAqua;
    square.Hint += "\r\n";
    square.Hint += FSettings.Language == 0 ? "Кэширование..." : "Cashing in progress";
    ApplySquare(FRows[node].Status, square);
}

void TMainForm::RowRefreshed(const TRowRefresh& refresh) {
    const int node = refresh.Row.Node;
    if (node < 0 || node >= RowCount()) return;   // a row of a rebuilt or stopped view
    TNodeRowControls& row = FRows[node];
    row.View = refresh.Row;
    for (int c = 0; c < GridColumnCount; ++c)
        FGrid->SetCells(c, node, refresh.Row.Cells[c]);
    row.Gauge->SetProgress(refresh.Row.Progress);
    row.Gauge->SetEnabled(refresh.Row.GaugeEnabled);
    row.Gauge->SetHint(refresh.Row.GaugeHint);
    if (!refresh.Row.LabelHint.empty()) row.Label->SetHint(refresh.Row.LabelHint);
    ApplySquare(row.Status, refresh.Row.Status);
    ApplySquare(row.Farm, refresh.Row.Farm);
    ApplySquare(row.Backup, refresh.Row.Backup);
    for (const auto& [markerRow, text] : refresh.Markers)
        if (markerRow >= 0 && markerRow < RowCount()) {
            FGrid->SetCells(MarkerColumn, markerRow, text);
            FRows[markerRow].View.Cells[MarkerColumn] = text;
        }
    if (refresh.Balloon)
        FTrayIcon->ShowBalloonHint(
            refresh.Balloon->Title, refresh.Balloon->Text, tray::bitInfo, refresh.Balloon->TimeoutSeconds);
    if (refresh.CycleTrayIcons) FTrayIcon->SetCycleIcons(true);
    if (refresh.TotalsText) ShowTotals(*refresh.TotalsText);
}

void TMainForm::ShowTotals(const std::string& text) {
    FStatusBar->Panels()->Items(1)->SetWidth(350);
    FStatusBar->Panels()->Items(1)->SetText(text);
    FStatusBar->SetHint(text);
}

void TMainForm::CycleStarted(int node) {
    if (node < 0 || node >= RowCount()) return;
    FRows[node].Status->SetParentColor(true);
    FRows[node].View.NodeStatus.reset();   // known again at the cycle's refresh
}

// A cycle start shows the farm busy unless the tray already runs the busy frames (the log viewer may have put
// its own in meanwhile); a cycle end that leaves no node busy shows it idle.
void TMainForm::BusyChanged(bool anyNodeBusy) {
    if (anyNodeBusy && FTrayIcon->IconList() == FBusyIcons) return;
    FTrayIcon->SetIconList(anyNodeBusy ? FBusyIcons : FNormalIcons);
    FTrayIcon->SetCycleInterval(anyNodeBusy ? 100 : 150);
    FTrayIcon->SetCycleIcons(anyNodeBusy);
    EnableMenuCommands(!anyNodeBusy);
}

// Options and Refresh data of the main menu and of the pop-up menu.
void TMainForm::EnableMenuCommands(bool enabled) {
    for (const char* name : {"Edit", "N1", "Refresh1", "Refreshdata1"})
        Owned<TMenuItem>(this, name)->SetEnabled(enabled);
}

// The menu commands and their tool buttons, while the rows are built.
void TMainForm::EnableCommands(bool enabled) {
    EnableMenuCommands(enabled);
    for (const char* name : {"sSpeedButton2", "sSpeedButton4"})
        Owned<skin::TsSpeedButton>(this, name)->SetEnabled(enabled);
}

void TMainForm::TrayIcon1BalloonDone(TObject*) {
    FTrayIcon->HideBalloonHint();
    FTrayIcon->SetCycleIcons(false);
    FTrayIcon->SetIconIndex(0);
}

std::string TMainForm::TrayHintText() const {
    std::string hint;
    if (!FSettings.HintTray) return hint;
    // Each second: the hinted nodes from their list, not a look at every node's settings.
    for (int i : FHintedNodes) {
        if (i >= RowCount() || i >= int(FSettings.Nodes.size())) break;
        hint += FSettings.Nodes[i].Label + " - " + std::to_string(FRows[i].Gauge->Progress()) + "%\r\n";
    }
    return hint;
}

}
