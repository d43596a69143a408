// The main window applying the monitor's rows: cells, gauge, squares, totals, the busy state, and the captions
// of the language switch.
#include "support/MainFormKit.h"

#include "platform/classes/TMenu.h"
#include "platform/classes/TStringGrid.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/controls/sStatusBar.h"
#include "tray/TrayIcon.h"

namespace korvex::app::test {

using namespace classes;

TEST_F(MainFormTest, ARowRefreshFillsCellsGaugeSquaresAndTotals) {
    TMainForm* form = NewMainForm(NodesSettings(3), -1);
    TRowRefresh refresh = SampleRefresh(1, 64);
    refresh.Row.GaugeEnabled = false;
    refresh.Row.LabelHint = "/srv/fah/node2\r\n UserName: Tellvar Team: 12345";
    refresh.Row.Status = {0x0000FF, false, false, "Host does not answer"};
    refresh.TotalsText = "PPD 1520  PPH 63.3";
    form->RowRefreshed(refresh);

    for (int c = 0; c < GridColumnCount; ++c)
        EXPECT_EQ(form->Grid()->Cells(c, 1), refresh.Row.Cells[c]) << c;
    EXPECT_EQ(form->Grid()->Cells(0, 0), "");   // other rows untouched
    const TNodeRowControls& row = form->Row(1);
    EXPECT_EQ(row.Gauge->Progress(), 64);
    EXPECT_FALSE(row.Gauge->Enabled());
    EXPECT_EQ(row.Label->Hint(), refresh.Row.LabelHint);
    EXPECT_FALSE(row.Status->ParentColor());
    EXPECT_EQ(row.Status->Color(), TColor(0x0000FF));
    EXPECT_EQ(row.Status->Hint(), "Host does not answer");
    EXPECT_FALSE(row.Status->ParentShowHint());
    EXPECT_TRUE(row.Backup->ParentColor());
    EXPECT_EQ(form->StatusBar()->Panels()->Items(1)->Text(), "PPD 1520  PPH 63.3");
    EXPECT_EQ(form->StatusBar()->Hint(), "PPD 1520  PPH 63.3");
    Pump();
    EXPECT_EQ(ScreenPixel(row.Status, 6, 6), gdi::RGB(255, 0, 0));

    form->CycleStarted(1);   // a new cycle: the status square takes the window's colour again
    EXPECT_TRUE(row.Status->ParentColor());
    form->CycleStarted(9);   // no such node: nothing happens
}

// The tray hint names the nodes whose Hint is set, in their order, with the progress their gauges show.
TEST_F(MainFormTest, TheTrayHintListsTheHintedNodesWithTheirProgress) {
    TSettings settings = NodesSettings(3);
    settings.Nodes[1].Hint = false;
    TMainForm* form = NewMainForm(settings, -1);
    form->RowRefreshed(SampleRefresh(0, 20));
    form->RowRefreshed(SampleRefresh(1, 40));
    form->RowRefreshed(SampleRefresh(2, 70));
    form->Timer1Timer(nullptr);
    EXPECT_EQ(form->TrayIcon()->Hint(), "node1 - 20%\r\nnode3 - 70%\r\n");
}

// A node's name label starts at 4 and is as wide as the name column; the squares start at the column's edge.
TEST_F(MainFormTest, TheNameLabelIsAsWideAsTheNameColumn) {
    TMainForm* form = NewMainForm(NodesSettings(2), -1);
    for (int node = 0; node < 2; ++node) {
        EXPECT_EQ(form->Row(node).Label->Left(), 4);
        EXPECT_EQ(form->Row(node).Label->Width(), form->Header(0)->Width());
        EXPECT_EQ(form->Row(node).Status->Left(), form->Header(0)->Width());
    }
}

// A user's node name is shown as typed: "&" is no accelerator marker in it.
TEST_F(MainFormTest, ANodeNameWithAnAmpersandIsShownAsTyped) {
    TSettings settings = NodesSettings(2);
    settings.Nodes[0].Label = "R&D Lab";
    settings.Nodes[1].Label = "A && B";
    TMainForm* form = NewMainForm(settings, -1);
    EXPECT_EQ(form->Row(0).Label->DisplayText(), "R&D Lab");
    EXPECT_EQ(form->Row(1).Label->DisplayText(), "A && B");
}

TEST_F(MainFormTest, AnEmptyLabelHintKeepsTheNodesFolder) {
    TMainForm* form = NewMainForm(NodesSettings(1), -1);
    form->RowRefreshed(SampleRefresh(0, 5));
    EXPECT_EQ(form->Row(0).Label->Hint(), "/srv/fah/node1");
}

TEST_F(MainFormTest, BusyNodesDisableTheOptionsAndRefreshMenuItemsAndCycleTheTrayIcon) {
    TMainForm* form = NewMainForm(NodesSettings(1), -1);
    auto enabled = [form](const char* name) { return static_cast<TControl*>(form->FindComponent(name))->Enabled(); };
    auto itemEnabled
        = [form](const char* name) { return static_cast<TMenuItem*>(form->FindComponent(name))->Enabled(); };
    form->BusyChanged(true);
    for (const char* item : {"Edit", "N1", "Refresh1", "Refreshdata1"})
        EXPECT_FALSE(itemEnabled(item)) << item;
    EXPECT_TRUE(enabled("sSpeedButton2"));   // the tool buttons stay
    EXPECT_TRUE(enabled("sSpeedButton4"));
    EXPECT_TRUE(enabled("sSpeedButton1"));
    EXPECT_TRUE(form->TrayIcon()->CycleIcons());
    EXPECT_EQ(form->TrayIcon()->CycleInterval(), 100u);
    form->BusyChanged(false);   // no node busy: idle at once
    for (const char* item : {"Edit", "N1", "Refresh1", "Refreshdata1"})
        EXPECT_TRUE(itemEnabled(item)) << item;
    EXPECT_FALSE(form->TrayIcon()->CycleIcons());
    EXPECT_EQ(form->TrayIcon()->CycleInterval(), 150u);
    EXPECT_EQ(form->TrayIcon()->IconList(), form->NormalIcons());
}

// A node's cycle start puts the busy frames back when the log viewer put its own in meanwhile.
TEST_F(MainFormTest, ACycleStartTakesTheTrayBackFromTheLogViewersFrames) {
    TMainForm* form = NewMainForm(NodesSettings(2), -1);
    auto optionsEnabled = [form] { return static_cast<TMenuItem*>(form->FindComponent("Edit"))->Enabled(); };
    form->BusyChanged(true);
    form->TrayIcon()->SetIconList(form->NormalIcons());   // the viewer closes while nodes are read
    form->TrayIcon()->SetCycleIcons(false);
    form->BusyChanged(true);   // the next node's cycle starts
    EXPECT_NE(form->TrayIcon()->IconList(), form->NormalIcons());
    EXPECT_TRUE(form->TrayIcon()->CycleIcons());
    EXPECT_FALSE(optionsEnabled());
}

// A refresh's totals show with its row, while nodes are busy and without a tick of the one-second timer (which
// the watchdog's question stops): panel 1 at width 350 with the text, and the bar's hint.
TEST_F(MainFormTest, TotalsShowWithTheRefreshThatBringsThem) {
    TMainForm* form = NewMainForm(NodesSettings(2), -1);
    auto shown = [form] { return form->StatusBar()->Panels()->Items(1)->Text(); };
    form->BusyChanged(true);
    for (const char* text : {"TOTAL: 2 nodes gives an average result of 10.00 points per day.",
             "TOTAL: 2 nodes gives an average result of 12.00 points per day."}) {
        TRowRefresh refresh;
        refresh.Row.Node = 1;
        refresh.TotalsText = text;
        form->RowRefreshed(refresh);
        EXPECT_EQ(shown(), text);
        EXPECT_EQ(form->StatusBar()->Hint(), text);
        EXPECT_EQ(form->StatusBar()->Panels()->Items(1)->Width(), 350);
    }
    TRowRefresh without;   // a host that does not answer leaves the totals
    without.Row.Node = 0;
    form->RowRefreshed(without);
    EXPECT_EQ(shown(), "TOTAL: 2 nodes gives an average result of 12.00 points per day.");
}

// The rows go in and out with the scroll box's layout held off; the box is laid out once afterwards, so its
// range covers every row and the layout is on again.
TEST_F(MainFormTest, RowsAreBuiltAndFreedWithTheBoxLaidOutOnceAfterwards) {
    TMainForm* form = NewMainForm(NodesSettings(40), -1);
    EXPECT_FALSE(form->ScrollBox()->AlignDisabled());
    EXPECT_GE(form->ScrollBox()->VertScrollBar()->Range(), 40 * NodeRowHeight);
    EXPECT_TRUE(form->ScrollBox()->VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(form->Row(39).Gauge->Top(), 39 * NodeRowHeight);
    form->FreeRows();
    EXPECT_FALSE(form->ScrollBox()->AlignDisabled());
    EXPECT_EQ(form->RowCount(), 0);
}

TEST_F(MainFormTest, TheLanguageSwitchSetsCaptionsAndHints) {
    struct Case {
        const char* Name;
        bool Hint;
        const char* Russian;
        const char* English;
    };
    const Case cases[] = {
        {"HName", false, "Имя ноды", "Node name"},
        {"HProgress", false, "Выполнение", "Progress"},
        {"HCore", false, "Ядро", "Core"},
        {"HPPD", false, "PPD", "PPD"},
        {"Menu1", false, "Меню", "Menu"},
        {"ExitBar1", false, "ВЫХОД", "EXIT"},
        {"Refreshdata1", false, "Обновить данные", "Refresh data"},
        {"Remain1", false, "Остаток, в часах", "Remain, in hr"},
        {"RunCloneGen1", false, "Run-Clone-Gen", "Run-Clone-Gen"},
        {"AllON1", false, "Вкл. ВСЁ", "All ON"},
        {"sSpeedButton3", true, "Гистограммы", "Histogram"},
        {"sSpeedButton4", true, "Обновить", "Refresh"},
        {"sSpeedButton7", true, "Проверить новые версии KORVEX", "Check for new version of KORVEX"},
        {"Website2", false, "KORVEX зеркало (Канада)", "KORVEX website (Canada)"},
    };
    TMainForm* form = NewMainForm(NodesSettings(1, 0), -1);
    auto text = [form](const Case& c) {
        TComponent* component = form->FindComponent(c.Name);
        if (auto* item = dynamic_cast<TMenuItem*>(component)) return item->Caption();
        auto* control = static_cast<TControl*>(component);
        return c.Hint ? control->Hint() : control->Caption();
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(c), c.Russian) << c.Name;
    form->SetLanguage(1);
    for (const Case& c : cases)
        EXPECT_EQ(text(c), c.English) << c.Name;
    form->SetLanguage(2);   // no such language: nothing changes
    for (const Case& c : cases)
        EXPECT_EQ(text(c), c.English) << c.Name;
    // The other grid headers are the column handlers': in the language of the options.
    EXPECT_EQ(form->Header(6)->Caption(), "Прогноз");
    EXPECT_EQ(form->Header(8)->Caption(), "PPD");
    form->SettingsInMemory().Language = 1;
    form->ColumnClick(4);
    EXPECT_EQ(form->Header(6)->Caption(), "Finish (?)");
}

}
