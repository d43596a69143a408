// The settings store ("the registry"): keys and typed values kept in memory and in one text file.
#pragma once

#include "platform/os/FileIdentity.h"
#include "platform/os/RegistryChange.h"
#include "platform/os/RegistryTree.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace korvex::os {

// A settings file is a regular file of at most this many bytes; anything else is not read, reported once, and
// not written over (a device, a pipe or a file without end in its place, directly or through a link).
inline constexpr std::int64_t MaxSettingsFileSize = std::int64_t(16) << 20;

// Every call is safe from any thread and any number of processes sharing the file:
// - Reads first reload the file when another process (or a hand edit) changed it on disk.
// - Each change outside a batch takes the store's lock and an flock on "<file>.lock", reloads when needed,
//   applies the change, and writes the whole file through "<file>.tmp", an fdatasync, a rename and an fsync of
//   the folder before it returns: a crash leaves the old or the new file, never a part of one, and no process's
//   change is lost. A change that changes nothing writes nothing.
// - Batches (BeginUpdate/EndUpdate, or TRegistryBatch) belong to the thread that opened them. Inside one the
//   thread's changes stay in memory, visible to that thread's reads at once; other threads and processes see
//   none of them until the outermost EndUpdate writes them all with one file write (as above), applied on top
//   of whatever others wrote meanwhile (a change that no longer applies there, such as a value set in a key
//   deleted meanwhile, is dropped). Changes by other threads during a batch are written through at once, and
//   the batch's thread sees them; the file itself it checks once, at its first call in the batch, and again
//   at the end, so changes of other processes show there. A crash inside a batch loses that batch's changes
//   only: the file holds what it held before the batch began plus the changes others wrote meanwhile.
// - A file that is there and cannot be read (no permission, an I/O error, not a regular file, too large) is
//   reported once and never written over: the store keeps what it holds (at first the defaults), and changes
//   fail until the file reads again.
// - A file with lines that cannot be read loads everything else, is copied beside itself as
//   "<file>.damaged-<yyyymmdd-hhnnss>", and is reported once to the damage handler and DamageReports().
// - Writing the value `Tellvar` under HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run writes
//   the autostart entry (Autostart.h); deleting it (or its key) removes the entry. In a batch, when it ends.
// - HKEY_CLASSES_ROOT\htmlfile\shell\open\command (and http\...) answer the browser command of
//   BrowserCommandLine() as their default value without it being stored, unless the file holds one.
// Key paths are relative to the root with components separated by '\'; names compare without case, and
// look-ups take constant time however many values a key holds.
class RegistryStore {
public:
    // The program's store: the file DefaultFilePath() names, looked up again at every call (tests move it).
    static RegistryStore& Default();
    // A store on one fixed file (a Linux path).
    explicit RegistryStore(std::string filePath);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // $KORVEX_REGISTRY, else $XDG_CONFIG_HOME/korvex/registry.reg, else ~/.config/korvex/registry.reg.
    static std::string DefaultFilePath();
    std::string FilePath();

    bool KeyExists(HKEY root, const std::string& path);
    std::optional<TRegValue> GetValue(HKEY root, const std::string& path, const std::string& name);
    std::vector<std::string> GetValueNames(HKEY root, const std::string& path);   // in order of writing
    std::vector<std::string> GetKeyNames(HKEY root, const std::string& path);   // sorted without case

    // Changes. False with errno when nothing changed because of a failure: ENOENT (the key is missing),
    // EINVAL (an unknown root, a name with control characters) or the file's write error.
    bool CreateKey(HKEY root, const std::string& path);   // with missing parents; true when it exists
    bool SetValue(HKEY root, const std::string& path, const std::string& name, const TRegValue& value);
    bool DeleteValue(HKEY root, const std::string& path, const std::string& name);   // ENOENT when missing
    bool DeleteKey(HKEY root, const std::string& path);   // with its sub-keys; a root cannot be deleted

    // Batches: BeginUpdate opens one on the calling thread, or nests in the one open there; each BeginUpdate
    // needs its EndUpdate on the same thread. The outermost EndUpdate writes the batch's changes; it returns
    // false with errno when they could not be written (they are then dropped, and the store keeps what the
    // file holds) or when no batch is open on the thread (EINVAL). An inner EndUpdate returns true.
    void BeginUpdate();
    bool EndUpdate();
    bool InUpdate();   // a batch is open on the calling thread

    // Holds: a thread inside a hold (BeginHold/EndHold on that thread, or TRegistryHold) changes the store at
    // once, for every reader of it, and leaves the file alone: the changes held reach the file together at its
    // next write, which WriteHeld makes (any thread), as does any change written through or a batch's end. A
    // reload of the file (another process wrote it) keeps them, made again on what it holds. A crash loses
    // what is held: the file holds what it held at its last write. A change of the Run value is not held, and
    // a batch the thread opens keeps its changes its own as ever. Holds nest.
    void BeginHold();
    void EndHold();   // writes nothing
    bool WriteHeld();   // false with errno when they could not be written: they stay held
    bool HasHeld();   // changes wait for a write

    using TDamageHandler = std::function<void(const std::string& message)>;
    // Called once per damaged file, outside the store's lock, on the thread that loaded it; reports made
    // before a handler was set reach it when it is set.
    void SetDamageHandler(TDamageHandler handler);
    std::vector<std::string> DamageReports();   // every report so far, oldest first
    // The file is there and could not be read (reported once): the store runs on what it holds and every
    // change fails with the reading's error, so nothing the file held is written over.
    bool FileUnreadable();

private:
    struct Batch {
        std::thread::id Thread;
        int Depth = 0;
        bool Checked = false;   // the file was checked for changes since the batch began
        std::vector<RegChange> Log;   // the changes made, in order
        std::optional<RegTree> View;   // the store with the log applied, once something changed
        std::uint64_t Generation = 0;   // of FTree when View was built
    };

    explicit RegistryStore(bool followEnvironment);
    void FollowEnvironment();
    void Refresh();
    void Load();
    void Parse(const std::string& content, bool reportDamage, const FileIdentity& identity);
    bool AddVirtualEntries();   // true when it added any
    void KeepUnread(const FileIdentity& identity, int error, const std::string& reason);
    void ReportDamage(const std::string& content, const FileIdentity& identity, const std::vector<int>& lines);
    void ReportUnreadable(const FileIdentity& identity, const std::string& message);
    Batch* OwnBatch();
    const RegTree& ViewOf(Batch* batch);
    const RegTree& Current();   // what the calling thread reads, the file checked first
    RegTree Rebuilt(const Batch& batch);
    bool TakeFileLock();
    bool Write(const RegTree& tree);
    bool Change(const RegChange& change);
    bool Holding();   // the calling thread is inside a hold
    void HoldChange(const RegChange& change);
    bool Commit(Batch batch);
    void SyncAutostart();
    static bool TouchesRun(const RegChange& change);
    void FireReports();

    std::mutex FLock;
    bool FFollowEnvironment = false;
    std::string FPath;
    RegTree FTree;   // what the file holds (and the virtual entries)
    std::uint64_t FGeneration = 0;   // counts every change of FTree
    std::vector<Batch> FBatches;   // one per thread with a batch open
    std::vector<std::pair<std::thread::id, int>> FHolds;   // the threads inside a hold, with their depth
    std::vector<RegChange> FHeld;   // made in FTree, not written yet, in order
    std::unordered_map<std::string, std::size_t> FHeldValues;   // a value set in FHeld: its place there
    bool FLoaded = false;
    int FUnreadable = 0;   // the file is there but was not read (no permission, I/O error, not regular, too large)
    std::string FContent;   // what the file held at the last load or write (to roll a failed write back)
    PinnedFile FFile;   // the file as last loaded or written
    int FLockFd = -1;
    std::vector<FileIdentity> FReported;
    std::vector<std::string> FReports;
    std::vector<std::string> FPendingReports;   // to hand to the handler once the lock is released
    TDamageHandler FDamageHandler;
};

}
