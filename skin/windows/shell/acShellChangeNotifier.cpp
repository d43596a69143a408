// TacShellChangeNotifier: watches one folder on a worker thread and calls OnChange on the UI thread.
#include "skin/windows/shell/acShellChangeNotifier.h"

#include "platform/base/Assert.h"
#include "platform/classes/PropertyRegistry.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

constexpr std::string_view NotifyFilterIdents[] = {"nfFileNameChange", "nfDirNameChange", "nfAttributeChange",
    "nfSizeChange", "nfWriteChange", "nfSecurityChange"};

}

struct TacChangeDelivery {
    TacCustomShellChangeNotifier* Target = nullptr;   // read and cleared on the UI thread only
    std::atomic<bool> Pending = false;   // a call is queued and has not started yet
};

namespace {

// One queued change call; the flag is clear again once the call has run or been dropped.
struct PendingCall {
    explicit PendingCall(std::shared_ptr<TacChangeDelivery> delivery)
        : Delivery(std::move(delivery)) { }
    ~PendingCall() { Delivery->Pending = false; }
    std::shared_ptr<TacChangeDelivery> Delivery;
};

}

std::uint32_t NotifyFiltersToFlags(TacNotifyFilters filters) {
    constexpr std::uint32_t flags[] = {os::FILE_NOTIFY_CHANGE_FILE_NAME, os::FILE_NOTIFY_CHANGE_DIR_NAME,
        os::FILE_NOTIFY_CHANGE_ATTRIBUTES, os::FILE_NOTIFY_CHANGE_SIZE, os::FILE_NOTIFY_CHANGE_LAST_WRITE,
        os::FILE_NOTIFY_CHANGE_SECURITY};
    std::uint32_t result = 0;
    for (unsigned i = 0; i < std::size(flags); ++i)
        if (filters.Contains(static_cast<TacNotifyFilter>(i))) result |= flags[i];
    return result;
}

// --- the worker --------------------------------------------------------------------------------------------

TacShellChangeThread::TacShellChangeThread(TThreadMethod changed)
    : TThread(true)
    , FChanged(std::move(changed)) { }

TacShellChangeThread::~TacShellChangeThread() {
    Stop();
    WaitFor();   // joined here, before the watch and the options go
}

void TacShellChangeThread::SetDirectoryOptions(const std::string& directory, bool watchSubTree, std::uint32_t notifyFilter) {
    {
        std::lock_guard lock(FLock);
        FDirectory = directory;
        FWatchSubTree = watchSubTree;
        FNotifyFilter = notifyFilter;
        FReset = true;
    }
    FWatch.Wake();   // the worker re-opens its watch with these
}

void TacShellChangeThread::Stop() {
    Terminate();
    FWatch.Wake();
}

void TacShellChangeThread::Reopen() {
    std::string directory;
    bool subTree;
    std::uint32_t filter;
    {
        std::lock_guard lock(FLock);
        directory = FDirectory;
        subTree = FWatchSubTree;
        filter = FNotifyFilter;
        FReset = false;
    }
    // A folder that cannot be watched leaves the worker waiting for new options or the end.
    FWatching = !directory.empty() && FWatch.Open(directory, subTree, filter);
    if (!FWatching) FWatch.Close();
}

void TacShellChangeThread::Execute() {
    Reopen();
    while (!Terminated()) {
        os::TWatchWait result = FWatch.Wait();
        if (Terminated()) break;
        bool reset;
        {
            std::lock_guard lock(FLock);
            reset = FReset;
        }
        if (reset) {
            Reopen();
            continue;
        }
        if (result == os::TWatchWait::Changed && FChanged)
            FChanged();
        else if (result == os::TWatchWait::Failed) {
            FWatch.Close();   // the folder went away: wait for new options
            FWatching = false;
        }
    }
    FWatch.Close();
}

// --- the notifier ------------------------------------------------------------------------------------------

TacCustomShellChangeNotifier::TacCustomShellChangeNotifier(TComponent* owner)
    : TComponent(owner)
    , FDelivery(std::make_shared<TacChangeDelivery>()) {
    FDelivery->Target = this;
}

TacCustomShellChangeNotifier::~TacCustomShellChangeNotifier() {
    FDelivery->Target = nullptr;   // a call still queued finds nobody
    FThread.reset();   // stops, wakes and joins the worker
}

TClass TacCustomShellChangeNotifier::StaticClass() {
    static const TClassInfo info = MakeClass<TacCustomShellChangeNotifier, TComponent>(
        "TacCustomShellChangeNotifier", [](TPropertyBuilder<TacCustomShellChangeNotifier>&) { });
    return &info;
}

TClass TacShellChangeNotifier::StaticClass() {
    using T = TacShellChangeNotifier;
    static const TClassInfo info = MakeClass<T, TacCustomShellChangeNotifier>(
        "TacShellChangeNotifier", [](TPropertyBuilder<T>& p) {
            p.Set("NotifyFilters", &T::NotifyFilters, &T::SetNotifyFilters, NotifyFilterIdents,
                TacNotifyFilters {nfFileNameChange, nfDirNameChange});
            p.String("Root", &T::Root, &T::SetRoot, "/");
            p.Bool("WatchSubTree", &T::WatchSubTree, &T::SetWatchSubTree, true);
        });
    return &info;
}

void TacCustomShellChangeNotifier::SetNotifyFilters(TacNotifyFilters value) {
    FNotifyFilters = value;
    PassOptions();
}

void TacCustomShellChangeNotifier::SetRoot(const TacRoot& value) {
    if (SameRoot(value, FRoot)) return;
    FRoot = value;
    PassOptions();
}

void TacCustomShellChangeNotifier::SetWatchSubTree(bool value) {
    FWatchSubTree = value;
    PassOptions();
}

void TacCustomShellChangeNotifier::SetOnChange(TThreadMethod value) {
    FOnChange = std::move(value);   // the worker's calls read the handler when they run
    if (!FThread) Start();
}

std::string TacCustomShellChangeNotifier::WatchedFolder() const {
    if (std::optional<TacRootFolder> name = RootFolderFromName(FRoot)) {
        std::optional<TItemIDList> pidl = SpecialFolderLocation(RootFolderCsidl(*name));
        return pidl ? PidlPath(*pidl).value_or("") : "";
    }
    return FRoot;
}

void TacCustomShellChangeNotifier::PassOptions() {
    if (FThread) FThread->SetDirectoryOptions(WatchedFolder(), FWatchSubTree, NotifyFiltersToFlags(FNotifyFilters));
}

void TacCustomShellChangeNotifier::Start() {
    if (!FOnChange) return;
    // The worker holds only the delivery, never the notifier: its calls reach the notifier on the UI thread
    // while it lives, and nothing after.
    std::shared_ptr<TacChangeDelivery> delivery = FDelivery;
    FThread = std::make_unique<TacShellChangeThread>([delivery] {
        if (delivery->Pending.exchange(true)) return;   // one call waits already
        // A call the dispatcher drops unrun (at its shutdown) must not leave the flag set for good.
        auto call = std::make_shared<PendingCall>(delivery);
        os::TThread::Queue([call] {
            call->Delivery->Pending = false;
            // Without a UI dispatcher Queue runs here on the worker: changes are for the UI thread only.
            if (!os::CurrentThreadIsUi()) return;
            if (TacCustomShellChangeNotifier* target = call->Delivery->Target) target->Change();
        });
    });
    PassOptions();
    FThread->Start();
}

void TacCustomShellChangeNotifier::Change() {
    KORVEX_ASSERT(os::CurrentThreadIsUi());
    if (FOnChange) {
        TThreadMethod handler = FOnChange;   // the handler may free this notifier
        handler();
    }
}

}
