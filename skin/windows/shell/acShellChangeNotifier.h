// TacShellChangeNotifier: watches one folder on a worker thread and calls OnChange on the UI thread.
#pragma once

#include "platform/classes/TComponent.h"
#include "platform/classes/TSet.h"
#include "platform/os/DirectoryWatch.h"
#include "platform/os/Thread.h"
#include "skin/windows/shell/acShellRoots.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace korvex::skin {

enum TacNotifyFilter {
    nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange, nfWriteChange, nfSecurityChange,
};
using TacNotifyFilters = classes::TSet<TacNotifyFilter>;
std::uint32_t NotifyFiltersToFlags(TacNotifyFilters filters);   // the FILE_NOTIFY_CHANGE_ values

using TThreadMethod = std::function<void()>;

// The worker: waits on its own watch and calls its change callback on the worker thread (the notifier's
// callback hands the change to the UI thread). Owned by the notifier, never freed by itself: the notifier
// stops it, wakes it and joins it. New options wake it, and it re-opens its watch itself.
class TacShellChangeThread : public os::TThread {
public:
    explicit TacShellChangeThread(TThreadMethod changed);   // created suspended
    ~TacShellChangeThread() override;   // stops, wakes and joins

    void SetDirectoryOptions(const std::string& directory, bool watchSubTree, std::uint32_t notifyFilter);
    void Stop();   // asks the worker to end and wakes its wait
    bool Watching() const { return FWatching; }   // a watch is open (for tests)

protected:
    void Execute() override;

private:
    void Reopen();

    TThreadMethod FChanged;
    std::mutex FLock;   // guards the options and the reset flag
    std::string FDirectory;
    bool FWatchSubTree = true;
    std::uint32_t FNotifyFilter = 0;
    bool FReset = false;   // the options changed since the watch was opened
    std::atomic<bool> FWatching = false;
    os::TDirectoryWatch FWatch;   // opened, waited on and closed only by the worker; woken from anywhere
};

// What a notifier shares with the calls it has queued for the UI thread: a queued call that finds the
// notifier gone does nothing, and a burst of changes queues one call.
struct TacChangeDelivery;

class TacCustomShellChangeNotifier : public classes::TComponent {
public:
    explicit TacCustomShellChangeNotifier(classes::TComponent* owner);
    ~TacCustomShellChangeNotifier() override;   // stops, wakes, cancels any queued call and joins
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    TacNotifyFilters NotifyFilters() const { return FNotifyFilters; }
    void SetNotifyFilters(TacNotifyFilters value);
    const TacRoot& Root() const { return FRoot; }
    void SetRoot(const TacRoot& value);   // the same root (rf… names without case, paths exactly) changes nothing
    bool WatchSubTree() const { return FWatchSubTree; }
    void SetWatchSubTree(bool value);
    const TThreadMethod& OnChange() const { return FOnChange; }
    void SetOnChange(TThreadMethod value);   // starts the worker when there is none

    TacShellChangeThread* Thread() const { return FThread.get(); }   // nullptr until OnChange is set

private:
    void Start();
    void Change();   // on the UI thread
    std::string WatchedFolder() const;   // Root as a path ("" when it names no folder)
    void PassOptions();

    TacNotifyFilters FNotifyFilters = {nfFileNameChange, nfDirNameChange};
    bool FWatchSubTree = true;
    TacRoot FRoot = "/";
    std::unique_ptr<TacShellChangeThread> FThread;
    TThreadMethod FOnChange;
    std::shared_ptr<TacChangeDelivery> FDelivery;
};

class TacShellChangeNotifier : public TacCustomShellChangeNotifier {
public:
    using TacCustomShellChangeNotifier::TacCustomShellChangeNotifier;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

}
