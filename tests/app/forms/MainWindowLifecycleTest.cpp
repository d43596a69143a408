// The main window's life with a real monitor: the first showing's load, rows from the node thread, the tray
// hint, close to tray, "Refresh data" and Exit; run minimized with and without a tray, the skin choice kept, the
// hints, the title icon, the tray icon's frames and the check-points shortcut.
#include "support/MainFormKit.h"
#include "support/ModalAnswer.h"

#include "app/forms/AboutWindow.h"
#include "app/settings/MinuteLength.h"
#include "platform/base/DateTime.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TScreen.h"
#include "platform/classes/TStringGrid.h"
#include "platform/classes/TTimer.h"
#include "tray/TrayIcon.h"
#include "platform/user/MessageIds.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/display/headless/HeadlessTray.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sStatusBar.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sHintManager.h"
#include "skin/windows/sSkinProvider.h"
#include "tray/TrayIcon.h"

#include <arpa/inet.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <set>
#include <sys/socket.h>
#include <unistd.h>

namespace korvex::app::test {

using namespace classes;

namespace {

// A port nobody uses now, for the farm link's server socket. Taken below the range the system gives outgoing
// connections their local ports from: a port of that range may be any other program's next connection's, and
// the listen would then find it in use.
std::string FreePort() {
    int low = 32768;
    if (std::FILE* range = std::fopen("/proc/sys/net/ipv4/ip_local_port_range", "r")) {
        if (std::fscanf(range, "%d", &low) != 1) low = 32768;
        std::fclose(range);
    }
    const int first = 10000;
    const int span = std::max(low - first, 1);
    for (int attempt = 0, port = first + (::getpid() * 7919) % span; attempt < span; ++attempt) {
        port = first + (port - first + 1) % span;
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        const bool free = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        close(fd);
        if (free) return std::to_string(port);
    }
    return "0";
}

// Another program's listener on the farm port: its descriptor, or -1. (The farm link's own connections may still
// wait out their closing on the port.)
int HoldFarmPort() {
    const int holder = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(holder, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(std::atoi(getenv("KORVEX_FARM_PORT"))));
    if (bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(holder, 1) != 0) {
        close(holder);
        return -1;
    }
    return holder;
}

class MainLifecycleTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        setenv("KORVEX_FARM_PORT", FreePort().c_str(), 1);
        Env->SetNow(base::EncodeDateTime(2024, 12, 6, 8, 0, 0, 0));
        // The first run watches the program folder: a client with a unit at 45 %.
        TClientLog log;
        log.ClientStart().StepUnit("p2605_Protein in water", "December 5 20:10:09", 5, 33, 12, 45, 60);
        WriteFile(Env->File("FAHlog.txt"), log.Text());
        WriteFile(Env->File("unitinfo.txt"),
            JoinLines(UnitInfo("p2605_Protein in water", "December 5 20:10:09", "December 11 20:10:09", 45)));
    }
    void TearDown() override {
        if (Form != nullptr) Form->Free();
        MainFormTest::TearDown();
        unsetenv("KORVEX_FARM_PORT");
    }

    // The window as the program makes it; shown, it loads from the store and starts monitoring.
    TMainForm* ShowProgramWindow() {
        Application->CreateForm(Form);   // the main form, as the program makes it
        TMonitorTimings timings;
        timings.IntervalMs = 550;
        timings.FilePauseMs = 1;
        Form->Monitor()->SetTimings(timings);
        Form->Show();
        Pump();
        return Form;
    }

    // Pumps until the node's row has been refreshed (the node thread runs on real time).
    bool WaitForRow(int node) {
        return PumpUntil([&] { return !Form->Grid()->Cells(8, node).empty(); });
    }

    // Shows the window over one node whose thread, after its first cycle, sleeps half an hour: its stage
    // stands still for the watchdog.
    bool ShowWithASleepingNode() {
        Application->CreateForm(Form);
        TMonitorTimings timings;
        timings.IntervalMs = 30 * 60000;
        timings.FilePauseMs = 1;
        Form->Monitor()->SetTimings(timings);
        Form->Show();
        if (!WaitForRow(0) || !WaitForSleep(0)) return false;
        Pump();
        return true;
    }

    // Pumps until the node thread has ended its cycle and sleeps (a cycle's end clears the watchdog's counts).
    bool WaitForSleep(int node) {
        return PumpUntil([&] { return Form->Monitor()->Stage(node) == 77; });
    }
};

}

TEST_F(MainLifecycleTest, TheFirstShowingLoadsTheStoreAndTheNodeThreadFillsTheRow) {
    TMainForm* form = ShowProgramWindow();
    EXPECT_TRUE(form->IsLoaded());
    EXPECT_EQ(form->Caption(), "KORVEX. Ver. 2.6.0.11");
    ASSERT_EQ(form->RowCount(), 1);
    EXPECT_EQ(form->Row(0).Label->Caption(), "Local host");
    EXPECT_EQ(form->Row(0).Label->Hint().rfind(Env->Folder(), 0), 0u) << form->Row(0).Label->Hint();
    EXPECT_TRUE(form->Timer()->Enabled());
    EXPECT_TRUE(form->Monitor()->Running());
    ASSERT_TRUE(WaitForRow(0));
    EXPECT_NE(form->Grid()->Cells(8, 0).find("5-33-12"), std::string::npos) << form->Grid()->Cells(8, 0);
    EXPECT_EQ(form->Row(0).Gauge->Progress(), 45);

    Advance(1000);   // Timer1: the tray hint lists the node
    EXPECT_EQ(form->TrayIcon()->Hint(), "Local host - 45%\r\n");
}

TEST_F(MainLifecycleTest, TheCloseBoxSavesStopsAndHidesInTheTrayAndRefreshStartsAgain) {
    TMainForm* form = ShowProgramWindow();
    ASSERT_TRUE(WaitForRow(0));
    form->ColumnItem(2)->SetChecked(false);
    form->ColumnClick(2);   // the start column hidden: its stored width stays

    form->Close();
    Pump();
    EXPECT_FALSE(form->Monitor()->Running());
    EXPECT_FALSE(form->Timer()->Enabled());
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(form->TrayIcon()->IconVisible());
    EXPECT_EQ(Env->Stored(OptionsKey, "W3"), os::MakeDwordValue(0));
    EXPECT_EQ(Env->Stored(OptionsKey, "W3W"), os::MakeDwordValue(87));
    EXPECT_EQ(Env->Stored(DataKey, "Progress0"), os::MakeDwordValue(45));
    EXPECT_NE(Env->ReadFile("KORVEX.LOG").find("Stop monitor"), std::string::npos);

    form->ReShow();
    EXPECT_TRUE(form->Monitor()->Running());
    EXPECT_TRUE(form->Timer()->Enabled());
    ASSERT_EQ(form->RowCount(), 1);
    EXPECT_EQ(form->Row(0).Gauge->Progress(), 45);   // the stored progress until the next refresh
    EXPECT_FALSE(form->ColumnItem(2)->Checked());
}

// The status bar says the farm port is closed exactly while it is: not after "Refresh data" opened it again,
// and again while another program holds it.
TEST_F(MainLifecycleTest, TheStatusBarSaysTheFarmPortIsClosedOnlyWhileItIs) {
    TMainForm* form = ShowProgramWindow();
    auto status = [form] { return form->StatusBar()->Panels()->Items(0)->Text(); };
    const std::string closed = std::string("(FARM port ") + getenv("KORVEX_FARM_PORT") + " closed)";
    ASSERT_TRUE(form->Monitor()->FarmServerOpen()) << Env->ReadFile("KORVEX.LOG");
    EXPECT_EQ(status().find(closed), std::string::npos) << status();

    form->Close();   // the close box: monitoring and the farm port stop
    Pump();
    EXPECT_NE(status().find(closed), std::string::npos) << status();
    form->ReShow();
    ASSERT_TRUE(form->Monitor()->FarmServerOpen());
    EXPECT_EQ(status().find(closed), std::string::npos) << status();

    form->Close();
    Pump();
    const int holder = HoldFarmPort();
    ASSERT_GE(holder, 0);
    form->ReShow();
    EXPECT_FALSE(form->Monitor()->FarmServerOpen());
    EXPECT_NE(status().find(closed), std::string::npos) << status();
    close(holder);
    form->Close();
    Pump();
    form->ReShow();
    EXPECT_TRUE(form->Monitor()->FarmServerOpen());
    EXPECT_EQ(status().find(closed), std::string::npos) << status();
}

// Another program held the farm port at start and lets it go: at the next tick of the one-second timer the program
// listens on it by itself, and the status bar no longer says it is closed.
TEST_F(MainLifecycleTest, TheFarmPortIsListenedOnAgainByItselfOnceAnotherProgramLetsItGo) {
    const int holder = HoldFarmPort();
    ASSERT_GE(holder, 0);
    TMainForm* form = ShowProgramWindow();
    auto status = [form] { return form->StatusBar()->Panels()->Items(0)->Text(); };
    const std::string closed = std::string("(FARM port ") + getenv("KORVEX_FARM_PORT") + " closed)";
    ASSERT_FALSE(form->Monitor()->FarmServerOpen());
    EXPECT_NE(status().find(closed), std::string::npos) << status();

    close(holder);
    Advance(1000);   // Timer1's next tick
    EXPECT_TRUE(form->Monitor()->FarmServerOpen());
    EXPECT_EQ(status().find(closed), std::string::npos) << status();
    const std::string log = Env->ReadFile("KORVEX.LOG");
    EXPECT_EQ(log.find("Farm server socket on port"), log.rfind("Farm server socket on port")) << log;
}

TEST_F(MainLifecycleTest, ExitClosesTheWindowAfterStoppingTheNodeThreads) {
    TMainForm* form = ShowProgramWindow();
    form->sSpeedButton1Click(nullptr);
    Pump();
    EXPECT_TRUE(form->Closing());
    EXPECT_FALSE(form->Monitor()->Running());
    Application->HandleMessage();   // the main window closed: the application's loop ends
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(MainLifecycleTest, RowsOfAnotherViewAreIgnored) {
    TMainForm* form = ShowProgramWindow();
    form->RowRefreshed(SampleRefresh(5, 50));   // no such node any more
    TRowRefresh marker = SampleRefresh(0, 50);
    marker.Markers = {{0, "1"}, {7, "2"}};   // one row that exists, one that does not
    form->RowRefreshed(marker);
    EXPECT_EQ(form->Grid()->Cells(MarkerColumn, 0), "1");
    EXPECT_EQ(form->Grid()->RowCount(), 1);
}

}

namespace korvex::app::test {

TEST_F(MainLifecycleTest, AStageUnchangedPastTheIntervalAndAMinuteAsksToRestartTheNode) {
    ASSERT_TRUE(ShowWithASleepingNode());
    // The thread sleeps half an hour: the question comes at the 1861st tick without a change.
    const int limit = 30 * 60 + 60;
    for (int tick = 0; tick < limit + 100 && Form->Monitor()->RepeatCount(0) < limit; ++tick)
        Advance(1000);
    ASSERT_EQ(Form->Monitor()->RepeatCount(0), limit);
    std::string caption;
    AnswerModal(mrNo, &caption);
    Advance(1000);
    EXPECT_FALSE(caption.empty());   // the confirmation was asked
    EXPECT_EQ(Form->Monitor()->RepeatCount(0), 0);
    EXPECT_TRUE(Form->Timer()->Enabled());

    for (int tick = 0; tick < limit; ++tick)
        Advance(1000);
    ASSERT_EQ(Form->Monitor()->RepeatCount(0), limit);
    AnswerModal(mrYes);
    Advance(1000);
    EXPECT_EQ(Form->Monitor()->RepeatCount(0), 0);
    EXPECT_TRUE(Form->Timer()->Enabled());
    EXPECT_TRUE(Form->Monitor()->Running());
}

// An interval out of range in memory (as -5 once reached it from the options window) is never used: the
// watchdog waits the shortest interval and a minute, it does not ask at every tick.
TEST_F(MainLifecycleTest, TheWatchdogNeverUsesAnIntervalOutOfRange) {
    ASSERT_TRUE(ShowWithASleepingNode());
    Form->SettingsInMemory().Update = -5;
    std::string caption;
    for (int tick = 0; tick < 5; ++tick) {
        AnswerModal(mrNo, &caption);   // a question at any tick would be answered, and seen
        Advance(1000);
    }
    EXPECT_EQ(caption, "");   // no question
    EXPECT_GE(Form->Monitor()->RepeatCount(0), 4);
    EXPECT_TRUE(Form->Timer()->Enabled());
}

// A shorter interval typed in the options window (Update 1 in memory) reaches the threads only with the next
// run: the watchdog waits for the half hour they sleep, not for one minute.
TEST_F(MainLifecycleTest, TheWatchdogWaitsForTheIntervalTheThreadsSleep) {
    ASSERT_TRUE(ShowWithASleepingNode());
    Form->SettingsInMemory().Update = 1;
    std::string caption;
    AnswerModal(mrNo, &caption);   // a question at any tick would be answered, and seen
    for (int tick = 0; tick < 200; ++tick)
        Advance(1000);
    EXPECT_EQ(caption, "");
    EXPECT_GE(Form->Monitor()->RepeatCount(0), 150);
}

// A stored interval beyond what the options window offers is what the node threads sleep.
TEST_F(MainLifecycleTest, TheNodeThreadsSleepTheStoredIntervalAsItIs) {
    Env->Store(OptionsKey, "Update", os::MakeDwordValue(500));
    Application->CreateForm(Form);
    Form->Show();
    Pump();
    ASSERT_TRUE(Form->Monitor()->Running());
    EXPECT_EQ(Form->Monitor()->IntervalMs(), 500 * MinuteMs());
}

TEST_F(MainLifecycleTest, TheExitSignalEndsAModalWindowFirst) {
    ShowProgramWindow();
    TForm2* about = nullptr;
    Application->CreateForm(about);
    user::MessageEventLoop().Post([this] {
        // Inside the about window's loop: the signal's Exit path.
        user::MessageEventLoop().Post([this] { Form->ExitFromSignal(); });
    });
    about->ShowModal();
    EXPECT_FALSE(about->Visible());
    Pump();
    EXPECT_TRUE(Form->Closing());
    EXPECT_FALSE(Form->Monitor()->Running());
}

}

namespace korvex::app::test {

TEST_F(MainLifecycleTest, ExitBeforeTheFirstShowingLeavesTheStoredOptionsAlone) {
    Env->Store(OptionsKey, "W2W", os::MakeDwordValue(50));
    Env->Store(OptionsKey, "HostCount", os::MakeDwordValue(1));
    Env->Store(DataKey, "Progress0", os::MakeDwordValue(77));
    Application->CreateForm(Form);   // started minimized: never shown, nothing loaded
    Form->sSpeedButton1Click(nullptr);
    Pump();
    EXPECT_TRUE(Form->Closing());
    EXPECT_EQ(Env->Stored(OptionsKey, "W2W"), os::MakeDwordValue(50));
    EXPECT_EQ(Env->Stored(DataKey, "Progress0"), os::MakeDwordValue(77));
}

}

namespace korvex::app::test {

// The tray's start-up question reads the start-hidden option alone: the options and the node list are loaded
// by the window's first showing, not by the question.
TEST_F(MainLifecycleTest, TheTraysStartUpQuestionReadsOnlyTheStartHiddenOption) {
    Application->CreateForm(Form);
    bool show = false;
    Form->TrayIcon()->OnStartup(Form->TrayIcon(), show);
    EXPECT_TRUE(show);
    EXPECT_EQ(Env->Stored(OptionsKey, "RunMinimized"), os::MakeDwordValue(0));
    EXPECT_FALSE(Env->Stored(OptionsKey, "HostCount"));
    EXPECT_FALSE(Env->Stored(OptionsKey, "WUCount"));
    EXPECT_FALSE(Env->Stored(LabelKey, "Label0"));

    Env->Store(OptionsKey, "RunMinimized", os::MakeDwordValue(1));
    Form->TrayIcon()->OnStartup(Form->TrayIcon(), show);
    EXPECT_FALSE(show);
}

TEST_F(MainLifecycleTest, EscIsTheExitCommandsShortcut) {
    TMainForm* form = ShowProgramWindow();
    TMessage key {user::WM_KEYDOWN, user::VK_ESCAPE, 0, 0};
    EXPECT_TRUE(form->IsShortCut(key));
    Pump();
    EXPECT_TRUE(form->Closing());
    EXPECT_FALSE(form->Monitor()->Running());
}

}

namespace korvex::app::test {

// The skin menu of any window sets the manager's skin: the choice is stored and outlives "Refresh data" (which
// the options window runs when it closes) and the next start.
TEST_F(MainLifecycleTest, AChosenSkinIsStoredAndOutlivesRefreshData) {
    TMainForm* form = ShowProgramWindow();
    EXPECT_EQ(form->SkinManager()->SkinName(), DefaultSkinName);
    // The skin path as stored: empty, which finds the skin folders in the program folder.
    EXPECT_EQ(form->SkinManager()->SkinDirectory(), "");
    form->SkinManager()->SetSkinName("MacOS (internal)");
    EXPECT_EQ(Env->Stored(OptionsKey, "SkinName"), os::MakeStringValue("MacOS (internal)"));
    form->ReShow();
    EXPECT_EQ(form->SkinManager()->SkinName(), "MacOS (internal)");
    form->Close();   // the close box saves everything: the choice stays
    Pump();
    EXPECT_EQ(LoadSettings().SkinName, "MacOS (internal)");
}

TEST_F(MainLifecycleTest, TheMainWindowsHintsAreTheComicShapeOfItsText) {
    TMainForm* form = ShowProgramWindow();
    auto* hints = dynamic_cast<skin::TsHintManager*>(form->FindComponent("sHintManager1"));
    ASSERT_NE(hints, nullptr);
    const skin::TsHintKind* kind = hints->HintKind();
    EXPECT_EQ(kind->Style(), skin::hsComics);
    EXPECT_EQ(kind->Radius(), 19);
    EXPECT_EQ(kind->ExOffset(), 34);
    EXPECT_EQ(kind->Color(), TColor(16777088));
    EXPECT_EQ(kind->MaxWidth(), 248);
    EXPECT_EQ(kind->MarginH(), 14);
    EXPECT_EQ(kind->ShadowOffset(), 13);
    EXPECT_EQ(kind->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(hints->Predefinitions(), skin::shCustom);
}

// While any node is read the icon runs the busy frames every 100 ms; after it the normal frames, slower.
TEST_F(MainLifecycleTest, TheTrayIconRunsItsFramesWhileNodesAreRead) {
    TMainForm* form = ShowProgramWindow();
    form->Monitor()->Stop();   // its threads' own busy reports would race the ones below
    tray::TTrayIcon* icon = form->TrayIcon();
    form->BusyChanged(true);
    EXPECT_EQ(icon->CycleInterval(), 100u);
    EXPECT_TRUE(icon->CycleIcons());
    std::set<int> frames;
    for (int i = 0; i < 4; ++i) {
        frames.insert(icon->IconIndex());
        Advance(100);
    }
    EXPECT_GE(frames.size(), 3u);
    form->BusyChanged(false);
    EXPECT_EQ(icon->CycleInterval(), 150u);
    EXPECT_FALSE(icon->CycleIcons());
}

class RunMinimizedTest : public MainLifecycleTest {
protected:
    void SetUp() override {
        MainLifecycleTest::SetUp();
        Env->Store(OptionsKey, "RunMinimized", os::MakeDwordValue(1));
    }
    void TearDown() override {
        user::SetHeadlessTrayPresent(true);
        if (Application != nullptr) Application->SetShowMainForm(true);
        MainLifecycleTest::TearDown();
    }
    // The program's start: the window made, then what the application's Run does before its loop.
    void Start() {
        Application->CreateForm(Form);
        TMonitorTimings timings;
        timings.IntervalMs = 550;
        timings.FilePauseMs = 1;
        Form->Monitor()->SetTimings(timings);
        if (Application->ShowMainForm()) Form->SetVisible(true);
        Pump();
    }
};

TEST_F(RunMinimizedTest, WithATrayTheHiddenWindowMonitorsBeforeItIsFirstOpened) {
    Start();
    EXPECT_FALSE(Form->Visible());
    EXPECT_TRUE(Form->IsLoaded());
    EXPECT_TRUE(Form->Monitor()->Running());
    ASSERT_TRUE(WaitForRow(0));
    EXPECT_FALSE(Form->Visible());
    Form->TrayIcon()->ShowMainForm();   // the tray icon's click
    Pump();
    EXPECT_TRUE(Form->Visible());
    EXPECT_FALSE(user::IsIconic(Form->WindowHandle()));
}

// Forty rows built while the window is hidden: brought back by the tray icon, the node list's box shows the bars
// its own size needs where that size puts them (a horizontal bar was left over the third row, where the box's
// first, small size had put it).
TEST_F(RunMinimizedTest, TheNodeListsBarsFollowTheSizeTheBoxGotWhileHidden) {
    Env->Store(OptionsKey, "HostCount", os::MakeDwordValue(40));
    Start();
    EXPECT_FALSE(Form->Visible());
    Form->TrayIcon()->ShowMainForm();
    Pump();
    ASSERT_TRUE(Form->Visible());
    auto* box = dynamic_cast<skin::TsScrollBox*>(Form->FindComponent("sScrollBox1"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Height(), 405);
    // Neither the bar nor its own window shows.
    skin::TsScrollBar* horz = box->SkinHorzBar();
    if (horz != nullptr) {
        EXPECT_FALSE(horz->Visible());
        EXPECT_FALSE(horz->HandleAllocated() && user::IsWindowVisible(horz->WindowHandle()))
            << "a horizontal bar at " << horz->Left() << "," << horz->Top() << " " << horz->Width() << "x"
            << horz->Height();
    }
    skin::TsScrollBar* vert = box->SkinVertBar();
    ASSERT_NE(vert, nullptr);
    EXPECT_TRUE(vert->Visible());
    EXPECT_TRUE(vert->HandleAllocated() && user::IsWindowVisible(vert->WindowHandle()));
    // Above the box among their siblings, so the box does not cover it.
    bool above = false;
    for (user::HWND h = user::GetWindow(vert->WindowHandle(), user::GW_HWNDNEXT); h != nullptr && !above;
         h = user::GetWindow(h, user::GW_HWNDNEXT))
        above = h == box->WindowHandle();
    EXPECT_TRUE(above);
    EXPECT_EQ(vert->Top() + vert->Height(), box->Top() + box->Height() + 1);
}

TEST_F(RunMinimizedTest, WithoutATrayTheWindowIsIconifiedNeverHiddenAndTheLogSaysSoOnce) {
    user::SetHeadlessTrayPresent(false);
    Start();
    EXPECT_EQ(Form->WindowState(), wsMinimized);
    EXPECT_TRUE(Form->Visible());
    EXPECT_TRUE(user::IsIconic(Form->WindowHandle()));
    EXPECT_TRUE(Form->Monitor()->Running());
    Form->TrayIcon()->ShowMainForm();
    Pump();
    EXPECT_FALSE(user::IsIconic(Form->WindowHandle()));
    // The close box and minimizing to tray iconify too.
    Form->Close();
    Pump();
    EXPECT_TRUE(Form->Visible());
    EXPECT_TRUE(user::IsIconic(Form->WindowHandle()));
    Form->TrayIcon()->ShowMainForm();
    Pump();
    user::SendMessage(Form->WindowHandle(), user::WM_SYSCOMMAND, user::SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(Form->Visible());
    EXPECT_TRUE(user::IsIconic(Form->WindowHandle()));
    const std::string log = Env->ReadFile("KORVEX.LOG");
    const std::size_t said = log.find("No notification area");
    ASSERT_NE(said, std::string::npos) << log;
    EXPECT_EQ(log.find("No notification area", said + 1), std::string::npos) << log;
}

}

namespace korvex::app::test {

// The title's icon slot shows the program's icon, not the empty caption behind it.
TEST_F(MainLifecycleTest, TheTitleShowsTheProgramsIcon) {
    TMainForm* form = ShowProgramWindow();
    ASSERT_FALSE(Application->Icon()->Empty());
    auto* provider = dynamic_cast<skin::TsSkinProvider*>(form->FindComponent("sSkinProvider1"));
    ASSERT_NE(provider, nullptr);
    const TRect slot = provider->IconRect();
    ASSERT_GE(slot.Width(), 16);
    auto slotPixels = [&] {
        user::RECT window {};
        user::GetWindowRect(form->Handle(), &window);
        std::vector<gdi::COLORREF> pixels;
        for (int y = slot.top; y < slot.bottom; ++y)
            for (int x = slot.left; x < slot.right; ++x)
                pixels.push_back(Display->ScreenPixel(window.left + x, window.top + y));
        return pixels;
    };
    const std::vector<gdi::COLORREF> shown = slotPixels();
    TIcon none;
    Application->SetIcon(&none);
    form->SkinManager()->RepaintForms();
    Pump();
    EXPECT_NE(slotPixels(), shown);
}

}

namespace korvex::app::test {

// The check-points item is hidden in the rows' pop-up menu: F12 is its only way in, from the rows or the grid.
TEST_F(MainLifecycleTest, F12OpensTheCheckPointsFromTheRows) {
    TMainForm* form = ShowProgramWindow();
    for (int i = 0; i < 2; ++i) {
        if (i == 0)
            form->ScrollBox()->SetFocus();
        else
            form->Grid()->SetFocus();
        Pump();
        std::string shown;
        AnswerModal(mrOk, nullptr, &shown);
        Display->Press(user::VK_F12, "");
        Pump();
        EXPECT_NE(shown.find("Last point"), std::string::npos) << shown;
    }
}

}

namespace korvex::app::test {

// A value stored with another type than the load reads is taken as missing and the load goes on: every other
// setting is in use, the node is monitored, and an exit writes back what was loaded. A load that stopped there
// would leave the window's own column widths and machine IDs to be written over the stored ones at exit.
class WrongTypedSettingTest : public MainLifecycleTest,
                              public testing::WithParamInterface<std::pair<const char*, const char*>> {
protected:
    void StoreTheUsersLayout() {
        Env->Store(OptionsKey, "HostCount", os::MakeDwordValue(1));
        Env->Store(LabelKey, "Label0", os::MakeStringValue("Local host"));
        Env->Store(PathKey, "Path0", os::MakeStringValue(Env->Folder()));
        Env->Store(OptionsKey, "W2W", os::MakeDwordValue(50));
        Env->Store(OptionsKey, "W3", os::MakeDwordValue(0));   // the start column hidden
        Env->Store(GetWUKey, "MID0", os::MakeDwordValue(5));
        Env->Store(UnitsKey, "UnitsCount", os::MakeDwordValue(1));
        Env->Store(UnitsKey, "Name1", os::MakeStringValue("p2605_mine"));
        Env->Store(UnitsKey, "Core1", os::MakeStringValue("GROMACS"));
        Env->Store(UnitsKey, "Credit1", os::MakeDwordValue(300));
    }
};

TEST_P(WrongTypedSettingTest, LeavesTheRestInUseAndTheStoreAsItWas) {
    StoreTheUsersLayout();
    const auto [key, name] = GetParam();
    Env->Store(key, name, os::MakeStringValue("300"));   // a text where an integer belongs
    TMainForm* form = ShowProgramWindow();
    EXPECT_TRUE(form->IsLoaded());
    EXPECT_EQ(form->RowCount(), 1);
    EXPECT_TRUE(form->Monitor()->Running());
    EXPECT_EQ(form->Grid()->ColWidths(1), 50);
    EXPECT_FALSE(form->ColumnItem(2)->Checked());
    form->sSpeedButton1Click(form);
    Pump();
    EXPECT_EQ(Env->Stored(OptionsKey, "W2W"), os::MakeDwordValue(50));
    EXPECT_EQ(Env->Stored(OptionsKey, "W3"), os::MakeDwordValue(0));
    EXPECT_EQ(Env->Stored(GetWUKey, "MID0"), os::MakeDwordValue(5));
    EXPECT_EQ(Env->Stored(key, name), os::MakeStringValue("300"));   // left for the user to mend
    EXPECT_NE(Env->ReadFile("KORVEX.LOG").find(std::string(name) + " has a wrong type"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Values, WrongTypedSettingTest,
    testing::Values(std::make_pair(OptionsKey, "FSize"), std::make_pair(UnitsKey, "Credit1"),
        std::make_pair(UnitsKey, "UnitsCount"), std::make_pair(GetWUKey, "Level0")));

}
