// The settings store ("the registry"): changes written through at once, batches written once at their end.
#include "platform/os/RegistryStore.h"

#include "platform/os/Autostart.h"
#include "platform/os/Files.h"
#include "platform/os/Paths.h"
#include "platform/os/RegistryFormat.h"
#include "platform/os/TextFiles.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace korvex::os {

namespace {

constexpr const char* RunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* RunValueName = "Tellvar";

bool IsPrefixPath(const std::vector<std::string>& prefix, const std::vector<std::string>& path) {
    return prefix.size() <= path.size()
        && std::equal(prefix.begin(), prefix.end(), path.begin(), [](auto& x, auto& y) { return SameName(x, y); });
}

}

bool RegistryStore::TouchesRun(const RegChange& change) {
    if (change.Root != HKEY_LOCAL_MACHINE) return false;
    static const std::vector<std::string> runPath = SplitKeyPath(RunKeyPath);
    switch (change.Kind) {
    case RegChange::TKind::SetValue:
    case RegChange::TKind::DeleteValue:
        return SameName(change.Name, RunValueName) && change.Path.size() == runPath.size()
            && IsPrefixPath(change.Path, runPath);
    case RegChange::TKind::DeleteKey:
        return IsPrefixPath(change.Path, runPath);
    case RegChange::TKind::CreateKey:
        return false;
    }
    return false;
}

void RegistryStore::SyncAutostart() {
    const RegKey* run = FTree.Find(HKEY_LOCAL_MACHINE, SplitKeyPath(RunKeyPath));
    const RegValueEntry* entry = run ? run->FindValue(RunValueName) : nullptr;
    if (entry && !entry->Virtual && (entry->Value.Type == REG_SZ || entry->Value.Type == REG_EXPAND_SZ))
        WriteAutostartEntry(entry->Value.Data);
    else
        RemoveAutostartEntry();
}

// ---- Batches ------------------------------------------------------------------------------------------------

RegistryStore::Batch* RegistryStore::OwnBatch() {
    const std::thread::id self = std::this_thread::get_id();
    for (Batch& batch : FBatches)
        if (batch.Thread == self) return &batch;
    return nullptr;
}

RegTree RegistryStore::Rebuilt(const Batch& batch) {
    const int error = errno;
    RegTree tree = FTree;
    for (const RegChange& change : batch.Log)
        ApplyChange(tree, change);   // one that no longer applies is dropped
    errno = error;
    return tree;
}

const RegTree& RegistryStore::ViewOf(Batch* batch) {
    if (!batch || !batch->View) return FTree;
    if (batch->Generation != FGeneration) {   // the file or another thread changed the store meanwhile
        batch->View = Rebuilt(*batch);
        batch->Generation = FGeneration;
    }
    return *batch->View;
}

const RegTree& RegistryStore::Current() {
    FollowEnvironment();
    Batch* batch = OwnBatch();
    if (!batch || !batch->Checked) Refresh();   // a batch checks the file once, and again at its end
    if (batch) batch->Checked = true;
    return ViewOf(batch);
}

void RegistryStore::BeginUpdate() {
    std::lock_guard guard(FLock);
    if (Batch* batch = OwnBatch())
        ++batch->Depth;
    else
        FBatches.push_back({std::this_thread::get_id(), 1, false, {}, std::nullopt, 0});
}

bool RegistryStore::InUpdate() {
    std::lock_guard guard(FLock);
    return OwnBatch() != nullptr;
}

bool RegistryStore::EndUpdate() {
    bool ok = true;
    int error = 0;
    {
        std::lock_guard guard(FLock);
        Batch* own = OwnBatch();
        if (!own) {
            errno = EINVAL;
            return false;
        }
        if (--own->Depth > 0) return true;
        Batch batch = std::move(*own);
        FBatches.erase(FBatches.begin() + (own - FBatches.data()));
        FollowEnvironment();
        ok = Commit(std::move(batch));
        error = errno;
    }
    FireReports();
    errno = error;
    return ok;
}

bool RegistryStore::Commit(Batch batch) {
    if (batch.Log.empty()) return true;
    if (!TakeFileLock()) return false;
    Refresh();   // what other processes wrote meanwhile stays
    RegTree tree = batch.View && batch.Generation == FGeneration ? std::move(*batch.View) : Rebuilt(batch);
    bool ok = Write(tree);
    int error = errno;
    if (ok) {
        FTree = std::move(tree);
        ++FGeneration;
        if (std::any_of(batch.Log.begin(), batch.Log.end(), TouchesRun)) SyncAutostart();
    }
    ::flock(FLockFd, LOCK_UN);
    errno = error;
    return ok;
}

// ---- Writing ------------------------------------------------------------------------------------------------

bool RegistryStore::TakeFileLock() {
    std::string folder = ExtractFileDir(FPath);
    if (FLockFd < 0 && (folder.empty() || ForceDirectories(folder)))
        FLockFd = ::open((FPath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (FLockFd < 0) return false;
    while (::flock(FLockFd, LOCK_EX) != 0)
        if (errno != EINTR) return false;
    return true;
}

bool RegistryStore::Write(const RegTree& tree) {
    if (FUnreadable != 0) {   // what is there was not read: it is not replaced by what little is known
        errno = FUnreadable;
        return false;
    }
    // Every tree written is made from FTree, which holds the held changes: written with it.
    std::string content = FormatRegistryText(tree);
    if (!(FLoaded && FFile.Identity().Exists && content == FContent)) {   // else the file holds it already
        if (!RewriteFileAtomicallyVia(FPath, content, FPath + ".tmp")) return false;
        FContent = std::move(content);
        if (!FFile.PinPath(FPath)) FLoaded = false;   // reload on the next call
    }
    FHeld.clear();
    FHeldValues.clear();
    return true;
}

// ---- Holds --------------------------------------------------------------------------------------------------

bool RegistryStore::Holding() {
    const std::thread::id self = std::this_thread::get_id();
    return std::any_of(FHolds.begin(), FHolds.end(), [self](const auto& hold) { return hold.first == self; });
}

void RegistryStore::BeginHold() {
    std::lock_guard guard(FLock);
    const std::thread::id self = std::this_thread::get_id();
    for (auto& hold : FHolds)
        if (hold.first == self) {
            ++hold.second;
            return;
        }
    FHolds.emplace_back(self, 1);
}

void RegistryStore::EndHold() {
    std::lock_guard guard(FLock);
    const std::thread::id self = std::this_thread::get_id();
    for (std::size_t i = 0; i < FHolds.size(); ++i)
        if (FHolds[i].first == self) {
            if (--FHolds[i].second == 0) FHolds.erase(FHolds.begin() + std::ptrdiff_t(i));
            return;
        }
}

bool RegistryStore::HasHeld() {
    std::lock_guard guard(FLock);
    return !FHeld.empty();
}

// A value set again replaces its earlier setting in the log, so the log keeps one entry a value however often
// it changes between writes.
void RegistryStore::HoldChange(const RegChange& change) {
    if (change.Kind != RegChange::TKind::SetValue) {
        FHeld.push_back(change);
        if (change.Kind != RegChange::TKind::CreateKey) FHeldValues.clear();   // deletions keep their order
        return;
    }
    std::string id = std::to_string(change.Root) + ":" + std::to_string(change.Path.size());   // names hold no NUL
    for (const std::string& part : change.Path) {
        id += '\0';
        id += FoldName(part);
    }
    id += '\0';
    id += FoldName(change.Name);
    auto [at, added] = FHeldValues.try_emplace(std::move(id), FHeld.size());
    if (added)
        FHeld.push_back(change);
    else
        FHeld[at->second] = change;
}

bool RegistryStore::WriteHeld() {
    bool ok = true;
    int error = 0;
    {
        std::lock_guard guard(FLock);
        FollowEnvironment();
        if (FHeld.empty()) return true;
        if (!TakeFileLock()) return false;
        Refresh();   // what other processes wrote meanwhile stays
        ok = Write(FTree);
        error = errno;
        ::flock(FLockFd, LOCK_UN);
    }
    FireReports();
    errno = error;
    return ok;
}

bool RegistryStore::Change(const RegChange& change) {
    if (!IsRootKey(change.Root)) {
        errno = EINVAL;
        return false;
    }
    bool ok = false;
    int error = 0;
    {
        std::lock_guard guard(FLock);
        int result = CheckChange(Current(), change);
        Batch* batch = OwnBatch();
        const bool touchesRun = TouchesRun(change);
        error = errno;
        if (result > 0 && batch) {   // kept for the batch's end
            if (!batch->View) {
                batch->View = FTree;
                batch->Generation = FGeneration;
            }
            ApplyChange(*batch->View, change);
            batch->Log.push_back(change);
        } else if (result > 0 && !touchesRun && Holding()) {   // in the store now, in the file at the next write
            ApplyChange(FTree, change);
            ++FGeneration;
            HoldChange(change);
        } else if (result > 0 || (result == 0 && touchesRun && !batch)) {
            if (!TakeFileLock()) {
                error = errno;
                result = -1;
            } else {
                Refresh();   // another process may have written since the check
                result = ApplyChange(FTree, change);
                error = errno;
                if (result > 0) {
                    ++FGeneration;
                    if (!Write(FTree)) {
                        error = errno;
                        result = -1;
                        Parse(FContent, false, FFile.Identity());   // back to what the file holds
                    }
                }
                if (result >= 0 && touchesRun) SyncAutostart();
                ::flock(FLockFd, LOCK_UN);
            }
        }
        ok = result >= 0;
    }
    FireReports();
    errno = error;
    return ok;
}

bool RegistryStore::CreateKey(HKEY root, const std::string& path) {
    return Change(RegChange::CreateKey(root, path));
}

bool RegistryStore::SetValue(HKEY root, const std::string& path, const std::string& name, const TRegValue& value) {
    return Change(RegChange::SetValue(root, path, name, value));
}

bool RegistryStore::DeleteValue(HKEY root, const std::string& path, const std::string& name) {
    return Change(RegChange::DeleteValue(root, path, name));
}

bool RegistryStore::DeleteKey(HKEY root, const std::string& path) {
    return Change(RegChange::DeleteKey(root, path));
}

}
