// Tests of the change notifier: starting with OnChange, seeing a created file on the UI thread, new options
// re-opening the watch, and destruction while a change is queued or the worker waits.
#include "skin/windows/shell/acShellChangeNotifier.h"
#include "support/ShellTree.h"
#include "support/TestDispatcher.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvex::skin;
using korvex::os::filetest::TempFolder;
using korvex::os::filetest::WriteFile;
using korvex::skin::shelltest::ShellTree;

namespace {

constexpr int Patience = 5000;   // ms: changes arrive at once, this only bounds a broken test
constexpr int Quiet = 100;   // ms to see that nothing comes

// The test's thread as the UI thread: changes wait until the test runs them.
class TestDispatcher : public korvex::os::threadtest::TestDispatcher {
public:
    TestDispatcher() { korvex::os::SetUiDispatcher(this); }
    ~TestDispatcher() override { korvex::os::SetUiDispatcher(nullptr); }
};

// Waits for the worker to have its watch open (it opens it on its own thread).
bool WaitWatching(TacShellChangeThread* thread) {
    for (int i = 0; i < Patience && !thread->Watching(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return thread->Watching();
}

// Writes files into folder until the UI thread has a change queued (the worker may still be re-opening).
bool WriteUntilNotifierSeesIt(TestDispatcher& ui, const TempFolder& folder) {
    bool seen = false;
    for (int attempt = 0; attempt < 50 && !seen; ++attempt) {
        WriteFile(folder / ("f" + std::to_string(attempt)), "x");
        seen = ui.WaitForTask(Quiet);
    }
    return seen;
}

}

TEST(ShellChangeNotifier, StartsOnlyWithAHandlerAndWithTheCurrentOptions) {
    TestDispatcher ui;
    TempFolder tmp;
    TacShellChangeNotifier notifier(nullptr);
    EXPECT_EQ(notifier.Root(), "/");
    EXPECT_TRUE(notifier.WatchSubTree());
    EXPECT_EQ(NotifyFiltersToFlags(notifier.NotifyFilters()), 0x3u);
    notifier.SetRoot("rfDesktop");
    notifier.SetRoot("RFDESKTOP");   // the same root: nothing changes
    EXPECT_EQ(notifier.Root(), "rfDesktop");
    notifier.SetRoot(tmp.Path());
    notifier.SetWatchSubTree(false);
    EXPECT_EQ(notifier.Thread(), nullptr);
    int changes = 0;
    notifier.SetOnChange([&] { ++changes; });
    ASSERT_NE(notifier.Thread(), nullptr);
    ASSERT_TRUE(WaitWatching(notifier.Thread()));
    WriteFile(tmp / "created", "x");
    ASSERT_TRUE(ui.WaitForTask(Patience));
    ui.RunAll();
    EXPECT_EQ(changes, 1);
}

TEST(ShellChangeNotifier, NewOptionsReopenTheWorkersWatch) {
    TestDispatcher ui;
    TempFolder first, second;
    TacShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(first.Path());
    int changes = 0;
    notifier.SetOnChange([&] { ++changes; });
    ASSERT_TRUE(WaitWatching(notifier.Thread()));
    notifier.SetRoot(second.Path());
    // The worker re-opens on its own thread; a file in the new folder is seen once it has.
    ASSERT_TRUE(WriteUntilNotifierSeesIt(ui, second));
    ui.RunAll();
    int before = changes;
    EXPECT_GE(before, 1);
    WriteFile(first / "old folder", "x");
    EXPECT_FALSE(ui.WaitForTask(Quiet));
    EXPECT_EQ(ui.RunAll(), 0);
}

TEST(ShellChangeNotifier, MissingFolderFiresNothingAndAWakeEndsTheWorker) {
    TestDispatcher ui;
    TempFolder tmp;
    auto notifier = std::make_unique<TacShellChangeNotifier>(nullptr);
    notifier->SetRoot(tmp / "missing");
    int changes = 0;
    notifier->SetOnChange([&] { ++changes; });
    EXPECT_FALSE(ui.WaitForTask(Quiet));
    EXPECT_FALSE(notifier->Thread()->Watching());
    notifier.reset();   // wakes the waiting worker and joins it
    EXPECT_EQ(changes, 0);
}

TEST(ShellChangeNotifier, AWorkerStartedOnAMissingFolderWatchesTheNextRoot) {
    TestDispatcher ui;
    TempFolder tmp, real;
    TacShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(tmp / "missing");
    notifier.SetOnChange([] { });
    EXPECT_FALSE(ui.WaitForTask(Quiet));
    notifier.SetRoot(real.Path());
    ASSERT_TRUE(WaitWatching(notifier.Thread()));
    EXPECT_TRUE(WriteUntilNotifierSeesIt(ui, real));
    ui.RunAll();
}

TEST(ShellChangeNotifier, DestroyedWhileAChangeIsQueuedCancelsTheCall) {
    TestDispatcher ui;
    TempFolder tmp;
    auto notifier = std::make_unique<TacShellChangeNotifier>(nullptr);
    notifier->SetRoot(tmp.Path());
    int changes = 0;
    notifier->SetOnChange([&] { ++changes; });
    ASSERT_TRUE(WaitWatching(notifier->Thread()));
    WriteFile(tmp / "created", "x");
    ASSERT_TRUE(ui.WaitForTask(Patience));   // the call waits for the UI thread
    notifier.reset();
    EXPECT_EQ(ui.RunAll(), 1);   // it runs, finds the notifier gone and does nothing
    EXPECT_EQ(changes, 0);
}

TEST(ShellChangeNotifier, AHandlerMayFreeItsNotifier) {
    TestDispatcher ui;
    ShellTree tree;
    auto notifier = std::make_unique<TacShellChangeNotifier>(nullptr);
    notifier->SetRoot(tree.Root());
    int changes = 0;
    notifier->SetOnChange([&] {
        ++changes;
        notifier.reset();
    });
    ASSERT_TRUE(WaitWatching(notifier->Thread()));
    WriteFile(tree / "created", "x");
    ::mkdir((tree / "made").c_str(), 0755);
    ASSERT_TRUE(ui.WaitForTask(Patience));
    ui.RunAll();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(notifier, nullptr);
}

TEST(ShellChangeNotifier, ABurstOfChangesQueuesOneCall) {
    TestDispatcher ui;
    TempFolder tmp;
    TacShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(tmp.Path());
    int changes = 0;
    notifier.SetOnChange([&] { ++changes; });
    ASSERT_TRUE(WaitWatching(notifier.Thread()));
    for (int i = 0; i < 20; ++i)
        WriteFile(tmp / ("file " + std::to_string(i)), "x");
    ASSERT_TRUE(ui.WaitForTask(Patience));
    std::this_thread::sleep_for(std::chrono::milliseconds(Quiet));   // the rest of the burst comes in
    EXPECT_EQ(ui.RunAll(), 1);   // one call waited for all of them
    EXPECT_EQ(changes, 1);
}

TEST(ShellChangeNotifier, ACallDroppedByAClosingDispatcherDoesNotStopLaterOnes) {
    TempFolder tmp;
    auto first = std::make_unique<TestDispatcher>();
    TacShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(tmp.Path());
    int changes = 0;
    notifier.SetOnChange([&] { ++changes; });
    ASSERT_TRUE(WaitWatching(notifier.Thread()));
    WriteFile(tmp / "one", "x");
    ASSERT_TRUE(first->WaitForTask(Patience));
    first->Close();   // the queued call is destroyed unrun
    first.reset();
    TestDispatcher second;
    WriteFile(tmp / "two", "x");
    ASSERT_TRUE(second.WaitForTask(Patience));
    second.RunAll();
    EXPECT_EQ(changes, 1);
}
