// The node information window: the current unit from the main window, the backed-up and cached units read
// from their folders, the lamps, the backup command, and pictures in two skins and both languages.
#include "support/FakeFarmService.h"
#include "support/MainFormKit.h"
#include "support/ModalAnswer.h"

#include "app/cache/WorkUnitFiles.h"
#include "app/farm/FarmLink.h"
#include "app/forms/HistoryWindow.h"
#include "app/forms/NodeInformationWindow.h"
#include "app/nodes/NodeFiles.h"
#include "leds/iLedRound.h"
#include "platform/classes/TApplication.h"
#include "platform/os/CriticalSection.h"
#include "platform/os/FileStream.h"
#include "platform/os/Files.h"
#include "platform/user/MessageLoop.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sSpeedButton.h"

#include <atomic>
#include <future>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

namespace korvex::app::test {

using namespace classes;

namespace {

// A client folder with a unit at `percent`.
void WriteClientFolder(const std::string& folder, const std::string& protein, int run, int percent) {
    TClientLog log;
    log.ClientStart().StepUnit(protein, "December 5 20:10:09", run, 33, 12, percent, 60);
    WriteFile(folder + "/FAHlog.txt", log.Text());
    WriteFile(folder + "/unitinfo.txt",
        JoinLines(UnitInfo(protein, "December 5 20:10:09", "December 11 20:10:09", percent)));
    WriteFile(folder + "/client.cfg", "[settings]\r\nusername=Tellvar\r\n");
    WriteFile(folder + "/work/wudata_01.dat", "data");
}

class NodeInfoTest : public MainFormTest {
protected:
    // Two nodes; the second backs up, runs in FARM mode, has a backup and a cache.
    std::string ConsolePath() const { return Env->File("fah/FAH-Console"); }
    TMainForm* NewForms(int skin = -1, int language = 1) {
        TSettings settings = NodesSettings(2, language);
        settings.PathService = ConsolePath();   // no console there until a test writes one
        settings.Nodes[1].Backup = true;
        settings.Nodes[1].Get = true;
        for (int i = 0; i < 2; ++i) {
            settings.Nodes[i].Path = Env->File("node" + std::to_string(i + 1));
            WriteClientFolder(settings.Nodes[i].Path, "p2605_Protein in water", 5, 45);
        }
        WriteClientFolder(BackupFolder(Env->Folder(), 1), "p2605_Protein in water", 4, 30);
        WriteClientFolder(CacheFolder(Env->Folder(), 1), "p2669_Other", 1, 2);
        WriteFile(Env->File("KORVEX.WUS"),
            "[05.12.2026 10:00:00] p2669_a*1-2-3#300=node1@9.5\r\n"
            "[05.12.2026 11:00:00] p2669_b*1-2-4#300=node2@14.25\r\n");
        TMainForm* form = NewMainForm(settings, skin);
        TMonitorTimings timings;
        timings.FilePauseMs = 1;
        form->Monitor()->SetTimings(timings);
        form->CacheWorkers()->SetSettings(settings);
        for (int i = 0; i < 2; ++i) {
            TRowRefresh refresh = SampleRefresh(i, 45);
            refresh.Row.WUName = "p2605_Protein in water";
            refresh.Row.RCG = "5-33-12";
            form->RowRefreshed(refresh);
        }
        if (History != nullptr) History->Free();
        History = Create<TForm5>(Application);   // made before the node window, as the program does
        Info = Create<TForm8>(Application);
        Info->SetLanguage(language);
        return form;
    }
    void TearDown() override {
        if (Info != nullptr) Info->Free();
        if (History != nullptr) History->Free();
        MainFormTest::TearDown();
    }
    std::string Text(const char* label) { return Info->ValueLabel(label)->Caption(); }
    // The readings arrive through the UI thread's queue.
    bool WaitFor(const std::function<bool()>& done) { return PumpUntil(done); }
    TForm8* Info = nullptr;
    TForm5* History = nullptr;
};

// Every file under the folder with its text: what a command must leave alone.
std::map<std::string, std::string> FolderFiles(const std::string& folder) {
    std::map<std::string, std::string> files;
    if (!std::filesystem::exists(folder)) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().string()] = ReadFileText(entry.path().string());
    return files;
}

// The pid a console noted first at its start in the folder; -1 before it started.
pid_t StartedPid(const std::string& folder) {
    std::istringstream lines(ReadFileText(folder + "/started.txt"));
    long pid = -1;
    lines >> pid;
    return static_cast<pid_t>(pid);
}

// Whether the process has ended: gone, or a zombie that its parent has not reaped yet.
bool ProcessEnded(pid_t pid) {
    if (::kill(pid, 0) != 0) return true;
    std::istringstream stat(ReadFileText("/proc/" + std::to_string(pid) + "/stat"));
    std::string skip, state;
    stat >> skip >> skip >> state;   // pid, (name) without spaces here, state
    return state == "Z" || state == "X";
}

}

// The caption is "Node information " and the name (in Russian with Language 0), and the lamps stand on the
// "Current WU" group's colour, in a skin too.
TEST_F(NodeInfoTest, TheCaptionAndTheLampGroundAsGiven) {
    NewForms(1, 0);
    Info->SetNode(1);
    Info->Show();
    EXPECT_EQ(Info->Caption(), "Информация о ноде node2");
    const TColor group = dynamic_cast<skin::TsGroupBox*>(Info->FindComponent("sGroupBox1"))->Color();
    for (int lamp = 0; lamp < 5; ++lamp)
        EXPECT_EQ(Info->Lamp(lamp)->BackGroundColor(), group) << lamp;
    Info->Close();
}

TEST_F(NodeInfoTest, ShowsTheCurrentBackedUpAndCachedUnitsOfTheNode) {
    NewForms();
    Info->SetNode(1);
    Info->Show();
    EXPECT_EQ(Info->Caption(), "Node information node2");
    EXPECT_EQ(Text("sLabel1"), "p2605_Protein in water");
    EXPECT_EQ(Text("sLabel2"), "A4");   // the core and points cells of the row
    EXPECT_EQ(Text("sLabel3"), "301");
    EXPECT_EQ(Text("sLabel4"), "5-33-12");
    ASSERT_TRUE(WaitFor([&] { return !Text("sLabel25").empty() && !Text("sLabel18").empty(); }));
    EXPECT_EQ(Text("sLabel28"), "4-33-12");
    EXPECT_EQ(Info->ValueLabel("sLabel25")->Caption(), "p2605_Protein in water");
    EXPECT_EQ(Text("sLabel21"), "1-33-12");
    EXPECT_EQ(Text("sLabel24"), "14.25");   // the history entry of this node
    EXPECT_TRUE(Info->ValueLabel("sLabel18")->Enabled());
    EXPECT_TRUE(Info->Lamp(3)->Active());   // the cache is ready
    EXPECT_TRUE(Info->Lamp(4)->Active());
    Info->Close();
}

// The cached unit's speed is looked up in the history window's records, which the reading reloads from the file.
TEST_F(NodeInfoTest, TheCachedUnitsSpeedReloadsTheHistoryWindowsRecords) {
    NewForms();
    ASSERT_EQ(Form5, History);
    WriteFile(Env->File("KORVEX.WUS"),
        "[05.12.2026 10:00:00] p2669_a*1-2-3#300=node1@9.5\r\n"
        "[05.12.2026 11:00:00] p2669_b*1-2-4#300=node2@14.25\r\n"
        "[05.12.2026 12:00:00] p2669_c*1-2-5#300=node1@7\r\n");
    Info->SetNode(1);
    Info->Show();
    ASSERT_TRUE(WaitFor([&] { return !Text("sLabel24").empty(); }));
    EXPECT_EQ(Text("sLabel24"), "14.25");
    EXPECT_EQ(Form5->Count(), 3);
    EXPECT_EQ(Form5->Records().size(), 3u);
    Info->Close();
}

TEST_F(NodeInfoTest, LampsFollowTheStatusSquareAndTheNodesFlags) {
    TMainForm* form = NewForms();
    Info->SetNode(0);
    Info->Show();
    EXPECT_TRUE(Info->Lamp(0)->Active());
    EXPECT_EQ(Info->Lamp(0)->ActiveColor(), TColor(0x00FF00));   // a green square shows lime
    EXPECT_FALSE(Info->Lamp(1)->Active());
    EXPECT_FALSE(Info->Lamp(2)->Active());
    EXPECT_FALSE(Info->Lamp(3)->Active());   // no cache folder: the group is cleared and disabled
    EXPECT_FALSE(Info->ValueLabel("sLabel19")->Enabled());
    EXPECT_EQ(Text("sLabel19"), "");
    Info->Close();
    TRowRefresh down = SampleRefresh(0, 45);
    down.Row.Status = {255, false, true, ""};
    form->RowRefreshed(down);
    Info->Show();
    EXPECT_EQ(Info->Lamp(0)->ActiveColor(), TColor(255));
    Info->Close();
    Info->SetNode(1);
    Info->Show();
    EXPECT_TRUE(Info->Lamp(1)->Active());
    EXPECT_TRUE(Info->Lamp(2)->Active());
    Info->Close();
}

TEST_F(NodeInfoTest, MakeNewBackupCopiesOnlyForANodeThatBacksUp) {
    TMainForm* form = NewForms();
    std::filesystem::remove_all(BackupFolder(Env->Folder(), 1));
    Info->SetNode(0);
    Info->Show();
    Info->sSpeedButton8Click(Info);
    ASSERT_TRUE(form->CacheWorkers()->WaitIdle(60000));
    EXPECT_FALSE(os::DirectoryExists(BackupFolder(Env->Folder(), 0)));
    Info->Close();

    Info->SetNode(1);
    Info->Show();
    EXPECT_TRUE(Info->Lamp(4)->Active());   // the flag; the folder is read when it is there
    Info->sSpeedButton8Click(Info);
    ASSERT_TRUE(form->CacheWorkers()->WaitIdle(60000));
    ASSERT_TRUE(WaitFor([&] { return Text("sLabel28") == "5-33-12"; }));   // the new backup read back
    EXPECT_TRUE(Info->Lamp(4)->Active());
    EXPECT_TRUE(os::FileExists(BackupFolder(Env->Folder(), 1) + "/work/wudata_01.dat"));
    Info->Close();
}

// A backup of another node, finished while the window shows this one, changes nothing in it.
TEST_F(NodeInfoTest, AnotherNodesFinishedBackupLeavesTheWindowAlone) {
    TMainForm* form = NewForms();
    Info->SetNode(0);
    Info->Show();
    ASSERT_FALSE(Info->Lamp(4)->Active());
    Info->BackupDone(1, true);
    EXPECT_FALSE(Info->Lamp(4)->Active());
    EXPECT_FALSE(form->Monitor()->ReadingOnce());
    Pump();
    EXPECT_EQ(Text("sLabel28"), "");
    EXPECT_EQ(Text("sLabel25"), "");
    Info->Close();
}

// The backup group read at the showing is slow and comes back last, after the read the new backup asked for:
// the older reading stays out of the group.
TEST_F(NodeInfoTest, AnOlderReadingOfAGroupThatComesBackLastIsDropped) {
    TMainForm* form = NewForms();
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> reads {0};   // of the backup folder
    const std::string backup = BackupFolder(Env->Folder(), 1);
    form->Monitor()->SetFolderReader([&reads, released, backup](int, const std::string& folder, base::TDateTime now) {
        TNodeReading reading = ReadNodeFolder(folder, now, FixedUtcOffset(0));
        if (folder == backup && reads++ == 0) {
            released.wait();
            reading.RCG = "1-2-3";   // what the folder held before the new backup
        }
        return reading;
    });
    Info->SetNode(1);
    Info->Show();
    ASSERT_TRUE(WaitFor([&] { return reads == 1; }));
    Info->BackupDone(1, true);
    ASSERT_TRUE(WaitFor([&] { return Text("sLabel28") == "4-33-12"; }));
    release.set_value();
    ASSERT_TRUE(WaitFor([&] { return !form->Monitor()->ReadingOnce(); }));   // its reading is queued now
    Pump();
    EXPECT_EQ(Text("sLabel28"), "4-33-12");
    Info->Close();
}

TEST_F(NodeInfoTest, StartAndStopReachOnlyAServiceThatAnsweredInTheirState) {
    TMainForm* form = NewForms();
    TFakeFarmService service(user::MessageEventLoop());
    TMonitor* monitor = form->Monitor();
    monitor->CloseFarmServer();
    monitor->FarmLink().SetPort(0);
    monitor->FarmLink().SetServicePort(service.Port());
    monitor->FarmLink().SetReplyWait(3000, 20);   // a reply that comes is always in time
    ASSERT_TRUE(monitor->OpenFarmServer());
    const int serverPort = monitor->FarmLink().ServerPort();
    service.OnMessage = [serverPort](const std::string& message) {
        if (message.find("#3*") != std::string::npos) SendReply(serverPort, "127.0.0.1#4*C:\\FAH^node2");
    };
    TSettings settings = form->Settings();
    settings.Nodes[1].Ip = "127.0.0.1";
    settings.Nodes[1].RSPath = "C:\\FAH";
    TWorkUnitHistory history(Env->Folder());
    monitor->Start(settings, form->Projects(), history);
    ASSERT_TRUE(WaitFor([&] { return monitor->LastFarmReply(1).Replied; }));
    EXPECT_EQ(monitor->FarmState(1), FarmStateRunning);
    auto sent = [&service](const char* command) {
        int count = 0;
        for (const std::string& message : service.Messages())
            count += message.find(command) != std::string::npos;
        return count;
    };
    Info->SetNode(0);   // not in FARM mode: nothing is sent
    Info->Show();
    Info->sSpeedButton2Click(Info);
    Info->Close();
    Info->SetNode(1);
    Info->Show();
    // The service runs: start does nothing, silently.
    EXPECT_FALSE(OpensModal([&] { Info->sSpeedButton3Click(Info); }));
    Info->sSpeedButton2Click(Info);
    EXPECT_TRUE(WaitFor([&] { return sent("#2*") == 1; }));
    EXPECT_EQ(sent("#1*"), 0);
    Info->Close();
    monitor->Stop();
}

// The buttons stay enabled where they do nothing (start, stop and restore without FARM mode, a new backup for a
// node that does not back up, a new cache outside FARM mode, the exchange buttons).
TEST_F(NodeInfoTest, ButtonsStayEnabledWhereTheyDoNothing) {
    NewForms();
    auto enabled = [this](const char* name) {
        return dynamic_cast<skin::TsSpeedButton*>(Info->FindComponent(name))->Enabled();
    };
    struct Case {
        const char* Button;
        bool Plain;   // node 0: no FARM mode, no backup
        bool Farm;   // node 1: both
    };
    const Case cases[] = {
        {"sSpeedButton3", true, true},
        {"sSpeedButton2", true, true},
        {"sSpeedButton5", true, true},
        {"sSpeedButton8", true, true},
        {"sSpeedButton9", true, true},
        {"sSpeedButton1", true, true},
        {"sSpeedButton4", true, true},
        {"sSpeedButton6", true, true},
        {"sSpeedButton7", true, true},
    };
    for (int node : {0, 1}) {
        Info->SetNode(node);
        Info->Show();
        for (const Case& c : cases)
            EXPECT_EQ(enabled(c.Button), node == 0 ? c.Plain : c.Farm) << c.Button << " of node " << node;
        Info->Close();
    }
}

// Start and stop of a FARM node whose service has not answered, and a new backup of a node that does not back
// up, do nothing and say nothing.
TEST_F(NodeInfoTest, CommandsThatCannotActDoNothingSilently) {
    TMainForm* form = NewForms();
    struct Case {
        int Node;
        std::function<void()> Click;
        const char* Name;
    } cases[] = {
        {1, [this] { Info->sSpeedButton3Click(Info); }, "start"},
        {1, [this] { Info->sSpeedButton2Click(Info); }, "stop"},
        {0, [this] { Info->sSpeedButton8Click(Info); }, "backup"},
    };
    for (const Case& c : cases) {
        Info->SetNode(c.Node);
        Info->Show();
        std::string said;
        EXPECT_FALSE(OpensModal(c.Click, &said)) << c.Name << ": " << said;
        Info->Close();
    }
    ASSERT_TRUE(form->CacheWorkers()->WaitIdle(60000));
    EXPECT_FALSE(os::DirectoryExists(BackupFolder(Env->Folder(), 0)));
}

TEST_F(NodeInfoTest, RestoreMovesTheBackupBackOnlyForAFarmNode) {
    TMainForm* form = NewForms();
    WriteClientFolder(BackupFolder(Env->Folder(), 0), "p2605_Protein in water", 2, 10);
    Info->SetNode(0);   // not in FARM mode: the backup stays
    Info->Show();
    Info->sSpeedButton5Click(Info);
    ASSERT_TRUE(form->CacheWorkers()->WaitIdle(60000));
    EXPECT_TRUE(os::FileExists(BackupFolder(Env->Folder(), 0) + "/unitinfo.txt"));
    Info->Close();
    Info->SetNode(1);
    Info->Show();
    Info->sSpeedButton5Click(Info);
    ASSERT_TRUE(form->CacheWorkers()->WaitIdle(60000));
    EXPECT_FALSE(os::FileExists(BackupFolder(Env->Folder(), 1) + "/unitinfo.txt"));   // moved, not copied
    EXPECT_NE(ReadFileText(Env->File("node2") + "/FAHlog.txt").find("Run 4"), std::string::npos);
    Info->Close();
}

// "Restore" stops the console service before the copy begins and starts it after the copy. While another
// exchange holds the farm lock (a status query waiting for its reply) the stop cannot go out, so nothing of the
// backup may have moved yet; the window does not wait for the lock meanwhile.
TEST_F(NodeInfoTest, RestoreSendsTheStopBeforeTheCopyBeginsAndTheStartAfterIt) {
    TMainForm* form = NewForms();
    TFakeFarmService service(user::MessageEventLoop());
    TMonitor* monitor = form->Monitor();
    monitor->FarmLink().SetServicePort(service.Port());
    TSettings settings = form->Settings();
    settings.Nodes[1].Ip = "127.0.0.1";
    settings.Nodes[1].RSPath = "C:\\FAH";
    settings.Nodes[1].Get = false;   // no status queries of its own in between
    TWorkUnitHistory history(Env->Folder());
    monitor->Start(settings, form->Projects(), history);
    const std::string backup = BackupFolder(Env->Folder(), 1);
    Info->SetNode(1);
    Info->Show();
    {
        os::TCriticalSectionLock farm(monitor->FarmLink().FarmLock());
        Info->sSpeedButton5Click(Info);
        EXPECT_TRUE(os::FileExists(backup + "/unitinfo.txt"));
        EXPECT_TRUE(os::FileExists(backup + "/work/wudata_01.dat"));
    }
    ASSERT_TRUE(form->CacheWorkers()->WaitIdle(60000));
    EXPECT_FALSE(os::FileExists(backup + "/unitinfo.txt"));
    ASSERT_TRUE(WaitFor([&] { return service.Messages().size() >= 2; }));
    const std::vector<std::string>& messages = service.Messages();
    EXPECT_NE(messages[0].find("#2*C:\\FAH^"), std::string::npos) << messages[0];
    EXPECT_NE(messages[1].find("#1*C:\\FAH^"), std::string::npos) << messages[1];
    Info->Close();
    monitor->Stop();
}

TEST_F(NodeInfoTest, WritesTheWindowInTwoSkinsAndBothLanguages) {
    static const char* const names[] = {"MacOS", "LongHorn", "NextStyle", "Office2003"};
    for (int skin : {1, 3})
        for (int language = 0; language < 2; ++language) {
            NewForms(skin, language);
            Info->SetNode(1);
            Info->Show();
            ASSERT_TRUE(WaitFor([&] { return !Text("sLabel25").empty() && !Text("sLabel18").empty(); }));
            Pump();
            const std::string name = std::string("node-information-") + names[skin] + (language == 0 ? "-ru" : "-en");
            // The picture shows the three groups' unit names and the lamps lit in their colours.
            const TPicture picture(WritePicture(name, Info), Info);
            ASSERT_TRUE(picture.Valid()) << name;
            for (const char* label : {"sLabel1", "sLabel18", "sLabel25"})
                EXPECT_TRUE(picture.ShowsText(Info->ValueLabel(label), 0)) << name << " " << label;
            const TColor lit = ColorToRGB(Info->Lamp(0)->ActiveColor());
            EXPECT_GT(picture.Count(Info->Lamp(0),
                          TRect {0, 0, Info->Lamp(0)->Width(), Info->Lamp(0)->Height()},
                          [lit](gdi::COLORREF c) { return c == gdi::COLORREF(lit); }),
                0)
                << name;
            Info->Close();
            Info->Free();
            Info = nullptr;
            Form->Free();
            Form = nullptr;
        }
}


// Without a console to copy (none where "FAH Console path" points) no cache is made,
// and nothing is said: copies report nothing.
TEST_F(NodeInfoTest, MakeNewCashWithoutAConsoleMakesNoCacheAndSaysNothing) {
    NewForms();
    Info->SetNode(1);
    Info->Show();
    EXPECT_FALSE(OpensModal([this] { Info->sSpeedButton9Click(Info); }));
    EXPECT_FALSE(os::DirectoryExists(CacheFolder(Env->Folder(), 1)));
    Info->Close();
}

// With a console but without the node's client.cfg the new cache's copy cannot be patched: the command ends
// with the run time's input-output error, which the application's handler shows, and leaves no cache.
TEST_F(NodeInfoTest, MakeNewCashWithoutTheNodesClientCfgEndsWithTheInputOutputError) {
    NewForms();
    const std::string node = Env->File("node2");
    WriteFile(ConsolePath(), "#!/bin/sh\nexec sleep 30\n");
    std::filesystem::permissions(ConsolePath(), std::filesystem::perms::owner_all);
    std::filesystem::remove(node + "/client.cfg");
    Info->SetNode(1);
    Info->Show();
    try {
        Info->sSpeedButton9Click(Info);
        ADD_FAILURE() << "no error";
    } catch (const os::EFOpenError& e) {
        const std::string said = e.what();
        EXPECT_EQ(said.rfind("Cannot open file \"", 0), 0u) << said;
        EXPECT_NE(said.find(CacheFolder(Env->Folder(), 1) + "/client.cfg"), std::string::npos) << said;
    }
    EXPECT_FALSE(os::DirectoryExists(CacheFolder(Env->Folder(), 1)));
    Info->Close();
}

TEST_F(NodeInfoTest, MakeNewCashEndsTheOldConsoleAndMakesANewCacheWithTheNextMachineId) {
    TMainForm* form = NewForms();
    const std::string node = Env->File("node2");
    const std::string cache = CacheFolder(Env->Folder(), 1);
    WriteFile(node + "/client.cfg", "[settings]\r\nusername=Tellvar\r\nmachineid=1\r\n[clienttype]\r\ntype=3\r\n");
    // A console that notes its start and never completes its download.
    WriteFile(ConsolePath(), "#!/bin/sh\necho \"$$ $*\" >> started.txt\nprintf 'Downloading\\r\\n' >> FAHlog.txt\n"
        "exec sleep 30\n");
    std::filesystem::permissions(ConsolePath(), std::filesystem::perms::owner_all);
    WriteFile(CoresFolder(Env->Folder()) + "/FahCore_a1.exe", "core");
    const auto nodeFiles = FolderFiles(node);
    const auto otherNode = FolderFiles(Env->File("node1"));
    const auto backup = FolderFiles(BackupFolder(Env->Folder(), 1));
    Info->SetNode(1);
    Info->Show();

    // The cache already there is replaced by one with the machine ID after the node's 8, and the node's square
    // says so.
    const std::string hint = form->Row(1).Status->Hint();
    Info->sSpeedButton9Click(Info);
    EXPECT_EQ(form->CacheWorkers()->MachineId(1), 7);
    EXPECT_EQ(form->Row(1).Status->Color(), TColor(0xFFFF00));
    EXPECT_EQ(form->Row(1).Status->Hint(), hint + "\r\nCashing in progress");
    EXPECT_FALSE(os::FileExists(cache + "/unitinfo.txt"));
    EXPECT_NE(ReadFileText(cache + "/client.cfg").find("machineid=7\r\n"), std::string::npos);
    ASSERT_TRUE(WaitFor([&] { return StartedPid(cache) > 0; }));
    const pid_t old = StartedPid(cache);
    // Shown again while the download runs, the window has the node's cache: "Ready" is on.
    Info->Hide();
    Info->Show();
    EXPECT_TRUE(Info->Lamp(3)->Active());

    // Again: the running console is ended and the next cache gets 6.
    Info->sSpeedButton9Click(Info);
    EXPECT_TRUE(WaitFor([&] { return ProcessEnded(old); }));
    EXPECT_EQ(form->CacheWorkers()->MachineId(1), 6);
    EXPECT_NE(ReadFileText(cache + "/client.cfg").find("machineid=6\r\n"), std::string::npos);
    ASSERT_TRUE(WaitFor([&] { return StartedPid(cache) > 0; }));
    EXPECT_NE(StartedPid(cache), old);

    // Nothing of the node, of its backup or of the other node was touched.
    EXPECT_EQ(FolderFiles(node), nodeFiles);
    EXPECT_EQ(FolderFiles(Env->File("node1")), otherNode);
    EXPECT_EQ(FolderFiles(BackupFolder(Env->Folder(), 1)), backup);
    EXPECT_FALSE(os::DirectoryExists(CacheFolder(Env->Folder(), 0)));
    EXPECT_EQ(form->CacheWorkers()->MachineId(0), 8);
    Info->Close();
}

}
