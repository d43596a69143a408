// Crash trials: a child process writes the settings file or the history, is killed with SIGKILL at a random
// moment, and the file it leaves must be exactly one of the files the same writes leave step by step. The
// folder kinds kill a cache move into a node folder or a backup of one, and require that no file is lost or
// cut and that the next move or backup leaves nothing behind.
//
//   crash_trials [--trials N] [--kind settings|batch|append|rewrite|cycle|move|backup] [--seed S]
//
// Each kind's steps are deterministic (a fixed clock), so a reference run in this process records the file
// after every step first; each trial then starts a child on the starting file, lets it write, kills it, checks
// that the file is one of the recorded ones, and that a new write after the crash succeeds.
#include "app/cache/MyBackupU.h"
#include "app/cache/WorkUnitFiles.h"
#include "app/nodes/WorkUnitHistory.h"
#include "platform/base/DateTime.h"
#include "platform/os/RegistryStore.h"
#include "tools/ToolUsage.h"

#include "support/FuzzSupport.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvex;

namespace {

constexpr int Steps = 120;   // more than a child gets through before the latest kill
constexpr int KillWithinSteps = 24;   // kills fall in about the time of the first this many steps

// ---------------------------------------------------------------------------------------------------------
// The kinds: a file, how to make its starting state, and one step of writing.

struct TKind {
    const char* Name;
    const char* FileName;   // inside the trial's folder
    std::function<void(const std::string& folder)> Prepare;   // the starting file
    // Opens what the steps write through; returns the step function.
    std::function<std::function<void(int step)>(const std::string& folder)> Open;
};

std::string Payload(int step) {
    return std::string(static_cast<std::size_t>((step * 131) % 2900 + 1), static_cast<char>('a' + step % 26));
}

std::string TrialKey(int n) {
    return "Software\\Trials\\Key" + std::to_string(n);
}

void PrepareSettings(const std::string& folder) {
    os::RegistryStore store(folder + "/registry.reg");
    for (int i = 0; i < 6; ++i)
        store.CreateKey(os::HKEY_CURRENT_USER, TrialKey(i));
    store.CreateKey(os::HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Options");
    for (int i = 0; i < 12; ++i)
        store.SetValue(os::HKEY_CURRENT_USER, TrialKey(i % 4), "Start" + std::to_string(i), os::MakeDwordValue(i));
}

// One change a step: a value set, every seventh step a value deleted, and every fourteenth a whole key,
// made again (empty) by the step after.
void SettingsStep(os::RegistryStore& store, int step) {
    if (step % 14 == 13)
        store.DeleteKey(os::HKEY_CURRENT_USER, TrialKey(step % 5));
    else if (step % 14 == 0 && step > 0)
        store.CreateKey(os::HKEY_CURRENT_USER, TrialKey((step - 1) % 5));
    else if (step % 7 == 6)
        store.DeleteValue(os::HKEY_CURRENT_USER, TrialKey((step - 1) % 5), "V" + std::to_string((step - 1) % 11));
    else
        store.SetValue(os::HKEY_CURRENT_USER, TrialKey(step % 5), "V" + std::to_string(step % 11),
            os::MakeStringValue(Payload(step)));
}

// Six changes a step in one batch: values in several keys, and a deletion.
void BatchStep(os::RegistryStore& store, int step) {
    store.BeginUpdate();
    for (int i = 0; i < 5; ++i)
        store.SetValue(os::HKEY_CURRENT_USER, TrialKey((step + i) % 6), "B" + std::to_string((step * 5 + i) % 17),
            os::MakeStringValue(Payload(step * 5 + i)));
    store.DeleteValue(os::HKEY_CURRENT_USER, TrialKey(step % 6), "B" + std::to_string((step * 5 + 3) % 17));
    store.SetValue(os::HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Options", "Step", os::MakeDwordValue(step));
    store.EndUpdate();
}

std::string UnitName(int n) {
    return "p" + std::to_string(1000 + n) + "_Trial unit " + std::to_string(n);
}

std::string UnitRcg(int n) {
    return std::to_string(n % 10) + "-" + std::to_string(n % 37) + "-" + std::to_string(n);
}

constexpr int RewriteUnits = 40;

void PrepareHistory(const std::string& folder, int units) {
    app::TWorkUnitHistory history(folder);
    for (int i = 0; i < units; ++i)
        history.SaveWU(UnitName(i), UnitRcg(i), 100 + i, "node " + std::to_string(i % 3));
    history.Flush();
}

// The steps of a kind that writes the settings: the store loaded before the first step, then `step` each time.
std::function<std::function<void(int)>(const std::string&)> SettingsSteps(void (*step)(os::RegistryStore&, int)) {
    return [step](const std::string& folder) {
        auto store = std::make_shared<os::RegistryStore>(folder + "/registry.reg");
        store->GetKeyNames(os::HKEY_CURRENT_USER, "Software");   // loaded before the first step
        return std::function<void(int)>([store, step](int k) { step(*store, k); });
    };
}

// The steps of a kind that writes the history: the file loaded before the first step, each step flushed.
std::function<std::function<void(int)>(const std::string&)> HistorySteps(
    std::function<void(app::TWorkUnitHistory&, int)> step) {
    return [step](const std::string& folder) {
        auto history = std::make_shared<app::TWorkUnitHistory>(folder);
        history->Load();
        return std::function<void(int)>([history, step](int k) {
            step(*history, k);
            history->Flush();
        });
    };
}

std::vector<TKind> Kinds() {
    return {
        {"settings", "registry.reg", PrepareSettings, SettingsSteps(SettingsStep)},
        {"batch", "registry.reg", PrepareSettings, SettingsSteps(BatchStep)},
        {"append", app::HistoryFileName, [](const std::string& folder) { PrepareHistory(folder, 3); },
            HistorySteps([](app::TWorkUnitHistory& history, int step) {
                history.SaveWU(UnitName(100 + step), UnitRcg(100 + step), step, "node");
            })},
        {"rewrite", app::HistoryFileName, [](const std::string& folder) { PrepareHistory(folder, RewriteUnits); },
            HistorySteps([](app::TWorkUnitHistory& history, int step) {
                const int unit = (step * 7) % RewriteUnits;
                history.ReSaveWU(UnitName(unit), UnitRcg(unit), 1.0 + step * 0.25);
            })},
        // A refresh cycle of a farm, one write a step: a unit appended, then three speeds, each rewriting.
        {"cycle", app::HistoryFileName, [](const std::string& folder) { PrepareHistory(folder, RewriteUnits); },
            HistorySteps([](app::TWorkUnitHistory& history, int step) {
                const int cycle = step / 4;
                const int i = step % 4;
                if (i == 0) {
                    history.SaveWU(UnitName(200 + cycle), UnitRcg(200 + cycle), cycle, "node");
                } else {
                    const int unit = (cycle * 7 + i * 13) % RewriteUnits;
                    history.ReSaveWU(UnitName(unit), UnitRcg(unit), 1.0 + cycle * 0.25 + i);
                }
            })},
    };
}

// ---------------------------------------------------------------------------------------------------------
// The reference run and the trials

struct TReference {
    std::vector<std::string> Files;   // [0] the starting file, [k] after step k
    std::unordered_map<std::string, int> StepOf;   // file -> first step that leaves it
    double StepSeconds = 0;
};

TReference Record(const TKind& kind) {
    fuzz::TScratchFolder folder;
    const std::string file = folder / kind.FileName;
    kind.Prepare(folder.Path());
    TReference reference;
    reference.Files.push_back(fuzz::ReadBytes(file));
    auto step = kind.Open(folder.Path());
    std::chrono::duration<double> writing {};
    for (int k = 0; k < Steps; ++k) {
        const auto start = std::chrono::steady_clock::now();
        step(k);
        writing += std::chrono::steady_clock::now() - start;
        reference.Files.push_back(fuzz::ReadBytes(file));
    }
    reference.StepSeconds = writing.count() / Steps;
    for (std::size_t k = reference.Files.size(); k-- > 0;)
        reference.StepOf[reference.Files[k]] = static_cast<int>(k);
    return reference;
}

struct TOutcome {
    int Trials = 0;
    int Failures = 0;
    int KilledBeforeFirstStep = 0;   // the file was still the starting one
    int FinishedBeforeKill = 0;   // every step was done
    long StepsDone = 0;
};

// The child: opens the file, says so through the pipe, writes step after step, and exits when done.
[[noreturn]] void RunChild(const TKind& kind, const std::string& folder, int readyFd) {
    auto step = kind.Open(folder);
    const char ready = 'r';
    if (write(readyFd, &ready, 1) != 1) _exit(3);
    close(readyFd);
    for (int k = 0; k < Steps; ++k)
        step(k);
    _exit(0);
}

// A child process and a pipe from it to us: 0 in the child (its read end closed), the child's id in the parent.
pid_t ForkWithPipe(int fds[2]) {
    if (pipe(fds) != 0) fuzz::Fail("pipe");
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) fuzz::Fail("fork");
    if (child == 0) close(fds[0]);
    return child;
}

bool Trial(const TKind& kind, const TReference& reference, std::mt19937& random, TOutcome& outcome) {
    fuzz::TScratchFolder folder;
    const std::string file = folder / kind.FileName;
    fuzz::WriteBytes(file, reference.Files[0]);
    int fds[2];
    const pid_t child = ForkWithPipe(fds);
    if (child == 0) {
        RunChild(kind, folder.Path(), fds[1]);
    }
    close(fds[1]);
    char ready = 0;
    const bool started = read(fds[0], &ready, 1) == 1;
    close(fds[0]);
    const double latest = reference.StepSeconds * KillWithinSteps;
    std::uniform_real_distribution<double> delay(0, latest);
    if (started) std::this_thread::sleep_for(std::chrono::duration<double>(delay(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    ++outcome.Trials;
    const std::string left = fuzz::ReadBytes(file);
    const auto found = reference.StepOf.find(left);
    bool ok = started && found != reference.StepOf.end();
    if (!ok) {
        std::fprintf(stderr, "crash trial %s #%d: the file is none of the written ones (%zu bytes)%s\n", kind.Name,
            outcome.Trials, left.size(), started ? "" : " (the child did not start)");
        const std::string kept = "crash-trial-" + std::string(kind.Name) + "-" + std::to_string(outcome.Trials);
        fuzz::WriteBytes(kept, left);
        std::fprintf(stderr, "  kept as %s\n", kept.c_str());
    } else {
        if (found->second == 0) ++outcome.KilledBeforeFirstStep;
        if (WIFEXITED(status)) ++outcome.FinishedBeforeKill;
        outcome.StepsDone += found->second;
        // Writing goes on after the crash: the next step of a fresh writer is recorded.
        const int next = found->second;
        if (next < Steps) {
            kind.Open(folder.Path())(next);
            if (fuzz::ReadBytes(file) != reference.Files[static_cast<std::size_t>(next) + 1]) {
                std::fprintf(stderr, "crash trial %s #%d: the write after the crash (step %d) went wrong\n", kind.Name,
                    outcome.Trials, next);
                ok = false;
            }
        }
    }
    if (!ok) ++outcome.Failures;
    return ok;
}

// ---------------------------------------------------------------------------------------------------------
// Folder kinds: a cache move into a node folder and a backup of a node folder, killed at a random moment.

namespace fs = std::filesystem;
using TTree = std::map<std::string, std::string>;   // relative path -> bytes (files only)

std::string Bytes(int seed, std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t v = 2166136261u ^ static_cast<std::uint32_t>(seed);
    for (std::size_t i = 0; i < size; ++i) {
        v = v * 16777619u + 0x9e3779b9u;
        bytes[i] = static_cast<char>(v >> 24);
    }
    return bytes;
}

void WriteTree(const std::string& folder, const TTree& tree) {
    for (const auto& [name, bytes] : tree) {
        fs::create_directories(fs::path(folder + "/" + name).parent_path());
        fuzz::WriteBytes(folder + "/" + name, bytes);
    }
}

// Every file of a folder and its sub-folders; `entries` gets every name, folders included.
TTree ReadTree(const std::string& folder, std::vector<std::string>* entries = nullptr) {
    TTree tree;
    std::error_code error;
    if (!fs::is_directory(folder, error)) return tree;
    for (auto it = fs::recursive_directory_iterator(folder, error); it != fs::recursive_directory_iterator();
         it.increment(error)) {
        const std::string name = fs::relative(it->path(), folder).string();
        if (entries) entries->push_back(name);
        if (it->is_regular_file()) tree[name] = fuzz::ReadBytes(it->path().string());
    }
    return tree;
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> entries;
    ReadTree(folder, &entries);
    return entries;
}

// The node's files before a move, the cache's unit moved in, and a backup older than both.
const TTree& NodeFiles() {
    static const TTree tree = {{"client.cfg", "[settings]\nmachineid=1\n"}, {"queue.dat", Bytes(1, 7168)},
        {"unitinfo.txt", "Current Work Unit\nName: p2605_old\n"}, {"FAHlog.txt", Bytes(2, 300 * 1024)},
        {"work/wudata_01.dat", Bytes(3, 2 << 20)}, {"work/logfile_01.txt", Bytes(4, 20000)}};
    return tree;
}

const TTree& CachedFiles() {
    static const TTree tree = {{"client.cfg", "[settings]\nmachineid=8\n"}, {"queue.dat", Bytes(11, 7168)},
        {"unitinfo.txt", "Current Work Unit\nName: p6001_new\n"}, {"FAHlog.txt", Bytes(12, 200 * 1024)},
        {"work/wudata_02.dat", Bytes(13, 3 << 20)}, {"work/wudata_02.xyz", Bytes(14, 1 << 20)},
        {"work/logfile_02.txt", Bytes(15, 30000)}, {"work/wuinfo_02.dat", Bytes(16, 512)}};
    return tree;
}

const TTree& OldBackup() {
    static const TTree tree = {{"client.cfg", "[settings]\nmachineid=0\n"}, {"queue.dat", Bytes(21, 7168)},
        {"work/wudata_00.dat", Bytes(22, 1 << 20)}};
    return tree;
}

// The node's sparse file: a few data blocks far apart in a long file.
constexpr const char* SparseName = "work/wudata_01.sparse";
constexpr off_t SparseLength = off_t(4) << 20;

void WriteSparse(const std::string& path) {
    fuzz::WriteBytes(path, "");
    if (truncate(path.c_str(), SparseLength) != 0) fuzz::Fail("truncate", path);
    FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file) fuzz::Fail("open", path);
    for (off_t at : {off_t(0), SparseLength / 2, SparseLength - 4096}) {
        const std::string block = Bytes(static_cast<int>(at >> 12), 4096);
        std::fseek(file, static_cast<long>(at), SEEK_SET);
        std::fwrite(block.data(), 1, block.size(), file);
    }
    std::fclose(file);
}

long AllocatedKiB(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_blocks / 2) : -1;
}

struct TFolderKind {
    const char* Name;
    std::function<void(const std::string& folder)> Prepare;
    std::function<void(const std::string& folder)> Run;
    // After a kill: true when nothing is lost or cut; counts what the kill left behind.
    std::function<bool(const std::string& folder, std::string& why, int& leftovers)> CheckKilled;
    // After the next run: true when everything arrived and nothing else is there.
    std::function<bool(const std::string& folder, std::string& why)> CheckFinished;
};

std::string NodeOf(const std::string& folder) {
    return folder + "/node";
}

std::string CacheOf(const std::string& folder) {
    return app::CacheFolder(folder, 0);
}

std::string BackupOf(const std::string& folder) {
    return app::BackupFolder(folder, 2);
}

void RunMove(const std::string& folder) {
    app::CopyWU(NodeOf(folder), CacheOf(folder), true);
    app::RemoveEmptiedFolder(CacheOf(folder));
}

// Every name in `entries` that is not a file or folder of `tree`.
int Strangers(const std::vector<std::string>& entries, const TTree& tree, std::string& why, const char* where) {
    int strangers = 0;
    for (const std::string& name : entries) {
        const bool known = tree.count(name) || name == "work";
        if (!known) {
            ++strangers;
            why += std::string(" ") + where + "/" + name;
        }
    }
    return strangers;
}

bool CheckMoveKilled(const std::string& folder, std::string& why, int& leftovers) {
    const TTree node = ReadTree(NodeOf(folder));
    const TTree cache = ReadTree(CacheOf(folder));
    bool ok = true;
    for (const auto& [name, bytes] : CachedFiles()) {
        const auto inNode = node.find(name);
        const auto inCache = cache.find(name);
        const bool arrived = inNode != node.end() && inNode->second == bytes;
        const bool waiting = inCache != cache.end() && inCache->second == bytes;
        if (!arrived && !waiting) {
            ok = false;
            why += " lost " + name;
        }
        if (inCache != cache.end() && !waiting) {
            ok = false;
            why += " cut in the cache " + name;
        }
        const auto old = NodeFiles().find(name);
        if (!arrived && inNode != node.end() && (old == NodeFiles().end() || inNode->second != old->second)) {
            ok = false;
            why += " cut in the node " + name;
        }
    }
    for (const auto& [name, bytes] : NodeFiles()) {
        if (CachedFiles().count(name)) continue;
        const auto inNode = node.find(name);
        if (inNode == node.end() || inNode->second != bytes) {
            ok = false;
            why += " node file changed " + name;
        }
    }
    TTree all = NodeFiles();
    for (const auto& entry : CachedFiles())
        all.insert(entry);
    std::string strangers;
    leftovers = Strangers(Entries(NodeOf(folder)), all, strangers, "node")
        + Strangers(Entries(CacheOf(folder)), CachedFiles(), strangers, "cache");
    return ok;
}

bool CheckMoveFinished(const std::string& folder, std::string& why) {
    TTree expected = CachedFiles();
    for (const auto& entry : NodeFiles())
        expected.insert(entry);   // the cached ones win
    bool ok = ReadTree(NodeOf(folder)) == expected;
    if (!ok) why += " the node folder is not the moved unit";
    std::string strangers;
    if (Strangers(Entries(NodeOf(folder)), expected, strangers, "node") > 0) {
        ok = false;
        why += " left behind:" + strangers;
    }
    if (fs::exists(CacheOf(folder))) {
        ok = false;
        why += " the cache folder stays:";
        for (const std::string& name : Entries(CacheOf(folder)))
            why += " " + name;
    }
    return ok;
}

TTree NodeBackup() {
    TTree tree;
    for (const auto& [name, bytes] : NodeFiles())
        if (name != "FAHlog.txt") tree[name] = bytes;
    tree["FAHlog.txt"] = NodeFiles().at("FAHlog.txt");   // the backup keeps the client's name
    return tree;
}

bool SameBackup(const TTree& backup, const TTree& expected, const std::string& sparse) {
    TTree rest = backup;
    const auto found = rest.find(SparseName);
    if (!sparse.empty()) {
        if (found == rest.end() || found->second != sparse) return false;
        rest.erase(found);
    }
    return rest == expected;
}

bool CheckBackupKilled(const std::string& folder, std::string& why, int& leftovers) {
    const std::string sparse = fuzz::ReadBytes(NodeOf(folder) + "/" + SparseName);
    const TTree backup = ReadTree(BackupOf(folder));
    bool ok = true;
    if (!SameBackup(backup, OldBackup(), "") && !SameBackup(backup, NodeBackup(), sparse)) {
        ok = false;
        why += fs::exists(BackupOf(folder)) ? " the backup is neither the old nor the new one" : " no backup stands";
    }
    TTree node = ReadTree(NodeOf(folder));
    node.erase(SparseName);
    if (node != NodeFiles()) {
        ok = false;
        why += " the node folder changed";
    }
    leftovers = 0;
    for (const auto& entry : fs::directory_iterator(folder + "/Backup"))
        if (entry.path().filename() != "WU2") ++leftovers;
    return ok;
}

bool CheckBackupFinished(const std::string& folder, std::string& why) {
    const std::string source = NodeOf(folder) + "/" + SparseName;
    bool ok = SameBackup(ReadTree(BackupOf(folder)), NodeBackup(), fuzz::ReadBytes(source));
    if (!ok) why += " the backup is not the node's files";
    for (const auto& entry : fs::directory_iterator(folder + "/Backup"))
        if (entry.path().filename() != "WU2") {
            ok = false;
            why += " left behind: " + entry.path().filename().string();
        }
    // Holes stay holes: the copy takes no more room than the source (a block of slack).
    const long copied = AllocatedKiB(BackupOf(folder) + "/" + SparseName);
    if (copied < 0 || copied > AllocatedKiB(source) + 4) {
        ok = false;
        why += " the sparse file takes " + std::to_string(copied) + " KiB";
    }
    return ok;
}

std::vector<TFolderKind> FolderKinds() {
    return {
        {"move",
            [](const std::string& folder) {
                WriteTree(NodeOf(folder), NodeFiles());
                WriteTree(CacheOf(folder), CachedFiles());
            },
            RunMove, CheckMoveKilled, CheckMoveFinished},
        {"backup",
            [](const std::string& folder) {
                WriteTree(NodeOf(folder), NodeFiles());
                WriteSparse(NodeOf(folder) + "/" + SparseName);
                WriteTree(BackupOf(folder), OldBackup());
            },
            [](const std::string& folder) { app::BackupNodeFolder(folder, NodeOf(folder), 2); }, CheckBackupKilled,
            CheckBackupFinished},
    };
}

struct TFolderOutcome {
    int Trials = 0;
    int Failures = 0;
    int Untouched = 0;   // killed before anything changed
    int Finished = 0;   // the child was done before the kill
    int KilledWithLeftovers = 0;   // trials whose kill left something behind (before the next run)
    int Leftovers = 0;   // what those kills left, altogether
};

bool FolderTrial(const TFolderKind& kind, double seconds, std::mt19937& random, TFolderOutcome& outcome) {
    fuzz::TScratchFolder folder;
    kind.Prepare(folder.Path());
    const TTree before = ReadTree(folder.Path());
    int fds[2];
    const pid_t child = ForkWithPipe(fds);
    if (child == 0) {
        const char ready = 'r';
        if (write(fds[1], &ready, 1) != 1) _exit(3);
        close(fds[1]);
        kind.Run(folder.Path());
        _exit(0);
    }
    close(fds[1]);
    char ready = 0;
    const bool started = read(fds[0], &ready, 1) == 1;
    close(fds[0]);
    std::uniform_real_distribution<double> delay(0, seconds);
    if (started) std::this_thread::sleep_for(std::chrono::duration<double>(delay(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    ++outcome.Trials;
    std::string why;
    int leftovers = 0;
    bool ok = started && kind.CheckKilled(folder.Path(), why, leftovers);
    if (ReadTree(folder.Path()) == before) ++outcome.Untouched;
    if (WIFEXITED(status)) ++outcome.Finished;
    if (leftovers > 0) {
        ++outcome.KilledWithLeftovers;
        outcome.Leftovers += leftovers;
    }
    if (ok) {
        // The next run (another process's, as after a restart) finishes the work and clears what was left.
        kind.Run(folder.Path());
        ok = kind.CheckFinished(folder.Path(), why);
    }
    if (!ok) {
        ++outcome.Failures;
        std::fprintf(stderr, "crash trial %s #%d:%s%s\n", kind.Name, outcome.Trials, why.c_str(),
            started ? "" : " (the child did not start)");
    }
    return ok;
}

// The time one uninterrupted run takes: the median of a few (the first, on cold caches, is slower).
double RunSeconds(const TFolderKind& kind) {
    std::vector<double> runs;
    for (int i = 0; i < 7; ++i) {
        fuzz::TScratchFolder folder;
        kind.Prepare(folder.Path());
        const auto start = std::chrono::steady_clock::now();
        kind.Run(folder.Path());
        runs.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::string why;
        if (!kind.CheckFinished(folder.Path(), why)) fuzz::Fail("an uninterrupted run went wrong", why);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

}

// Runs each kind of the list that `only` lets through (all when it is empty); the failures they had together.
template <class TKindList, class TRunKind>
int RunKinds(const TKindList& kinds, const std::string& only, TRunKind runKind) {
    int failures = 0;
    for (const auto& kind : kinds) {
        if (!only.empty() && only != kind.Name) continue;
        failures += runKind(kind);
        std::fflush(stdout);
    }
    return failures;
}

int main(int argc, char** argv) {
    int trials = 1000;
    std::string only;
    unsigned seed = std::random_device {}();
    const char* const usage = "usage: crash_trials [--trials N] [--kind settings|batch|append|rewrite|move|backup] "
                              "[--seed S]\n";
    if (tools::AsksForUsage(argc, argv)) return tools::ShowUsage(usage, true);
    for (int i = 1; i < argc; i += 2) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return tools::ShowUsage(usage, false);
        if (option == "--trials")
            trials = std::atoi(argv[i + 1]);
        else if (option == "--kind")
            only = argv[i + 1];
        else if (option == "--seed")
            seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        else
            return tools::ShowUsage(usage, false);
    }
    // A fixed clock: the history's time stamps are the same in the reference run and in every child.
    base::SetNowProvider([] { return base::EncodeDateTime(2024, 12, 5, 20, 10, 15, 0); });
    std::printf("crash trials: %d per kind, seed %u\n", trials, seed);
    std::mt19937 random(seed);
    int failures = RunKinds(Kinds(), only, [&](const TKind& kind) {
        const TReference reference = Record(kind);
        TOutcome outcome;
        for (int t = 0; t < trials; ++t)
            Trial(kind, reference, random, outcome);
        std::printf("%-8s %4d trials, %d failed; killed before the first step %d, after all steps %d; "
                    "%.1f steps done on average (%.2f ms a step)\n",
            kind.Name, outcome.Trials, outcome.Failures, outcome.KilledBeforeFirstStep, outcome.FinishedBeforeKill,
            outcome.Trials ? double(outcome.StepsDone) / outcome.Trials : 0.0, reference.StepSeconds * 1000);
        return outcome.Failures;
    });
    failures += RunKinds(FolderKinds(), only, [&](const TFolderKind& kind) {
        const double seconds = RunSeconds(kind);
        TFolderOutcome outcome;
        for (int t = 0; t < trials; ++t)
            FolderTrial(kind, seconds, random, outcome);
        std::printf("%-8s %4d trials, %d failed; killed before any change %d, after the end %d; "
                    "%d kills left %d entries behind before the next run (%.2f ms a run)\n",
            kind.Name, outcome.Trials, outcome.Failures, outcome.Untouched, outcome.Finished,
            outcome.KilledWithLeftovers, outcome.Leftovers, seconds * 1000);
        return outcome.Failures;
    });
    return failures == 0 ? 0 : 1;
}
