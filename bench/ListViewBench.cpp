// The owner-data list view and the shell file list in report view opening a folder of 20 000 files (reading
// it, as ls -l does, and painting the first page), beside `ls -l` of the same folder, on the headless display,
// in one run.
#include "bench/support/BenchWorld.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TListView.h"
#include "platform/classes/TStrings.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Painting.h"
#include "platform/user/Screen.h"
#include "platform/user/display/headless/HeadlessDisplay.h"
#include "skin/windows/shell/acShellListView.h"

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

using namespace korvex;
using namespace korvex::classes;

namespace {

constexpr int FileCount = 20000;

// A folder of FileCount small files, made once per run and removed at exit.
const std::string& Folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/korvex-listview-bench-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        std::string path = made != nullptr ? made : "/tmp";
        for (int i = 0; i < FileCount; ++i)
            std::ofstream(path + "/file " + std::to_string(i) + ".txt") << i;
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return path;
    }();
    return folder;
}

// One row of a folder as ls -l has it: the name and the stat record.
struct FolderRow {
    std::string Name;
    struct stat Info {};
};

// Reads the names and lstat of every entry, as ls -l does.
std::vector<FolderRow> ReadFolder(const std::string& path) {
    std::vector<FolderRow> rows;
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr) return rows;
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        FolderRow row;
        row.Name = entry->d_name;
        ::fstatat(fd, entry->d_name, &row.Info, AT_SYMLINK_NOFOLLOW);
        rows.push_back(std::move(row));
    }
    ::closedir(dir);
    return rows;
}

// The display, the application and a form; OpenFolder makes an owner-data report list over a folder's rows
// and paints it. Another file list can take the list's place by the same steps.
class World : public bench::THeadlessWorld {
public:
    World() {
        Form->SetBounds(0, 0, 640, 480);
        Form->Show();
    }

    void OpenFolder(const std::string& path) {
        Rows = ReadFolder(path);
        auto* list = Create<TListView>(Form);
        list->SetOwnerData(true);
        list->SetViewStyle(vsReport);
        list->SetAlign(alClient);
        for (auto [caption, width] : {std::pair {"Name", 200}, {"Size", 80}, {"Type", 80}, {"Modified", 140}}) {
            TListColumn* column = list->Columns()->Add();
            column->SetCaption(caption);
            column->SetWidth(width);
        }
        list->OnData = [this](TObject*, TListItem* item) {
            const FolderRow& row = Rows[size_t(item->Index())];
            item->SetCaption(row.Name);
            item->SubItems()->Add(std::to_string(row.Info.st_size));
            item->SubItems()->Add(S_ISDIR(row.Info.st_mode) ? "Folder" : "File");
            item->SubItems()->Add(std::to_string(row.Info.st_mtime));
        };
        list->SetParent(Form);
        list->Items()->SetCount(int(Rows.size()));
        user::UpdateWindow(Form->Handle());
        user::UpdateWindow(list->Handle());
        delete List;
        List = list;
    }

    // The shell file list: it reads the folder itself and asks the namespace for what it shows.
    void OpenShellFolder(const std::string& path) {
        auto* list = Create<skin::TsShellListView>(Form);
        list->SetViewStyle(vsReport);
        list->SetAlign(alClient);
        list->SetRoot(path);
        list->SetParent(Form);
        user::UpdateWindow(Form->Handle());
        user::UpdateWindow(list->Handle());
        delete List;
        List = list;
    }

    TListView* List = nullptr;
    std::vector<FolderRow> Rows;
};

World& TheWorld() {
    return bench::TheWorld<World>();
}

// Runs a program with its output drained through a pipe, as a reader of ls would; false when it failed.
bool RunDrained(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) return false;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addclose(&actions, out[0]);
    ::posix_spawn_file_actions_addclose(&actions, out[1]);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    char buffer[1 << 16];
    while (spawned == 0 && ::read(out[0], buffer, sizeof buffer) > 0) {
    }
    ::close(out[0]);
    int status = 0;
    if (spawned == 0) ::waitpid(pid, &status, 0);
    return spawned == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_OwnerDataReportOpen(benchmark::State& state) {
    World& world = TheWorld();
    Folder();   // made before the timing
    for (auto _ : state) {
        world.OpenFolder(Folder());
        benchmark::DoNotOptimize(world.List);
    }
    state.counters["rows"] = double(world.Rows.size());
}

void BM_ShellListReportOpen(benchmark::State& state) {
    World& world = TheWorld();
    Folder();
    for (auto _ : state) {
        world.OpenShellFolder(Folder());
        benchmark::DoNotOptimize(world.List);
    }
    state.counters["rows"] = double(world.List->Items()->Count());
}

void BM_LsL(benchmark::State& state) {
    Folder();
    for (auto _ : state)
        if (!RunDrained({"ls", "-l", Folder()})) state.SkipWithError("ls -l failed");
}

BENCHMARK(BM_OwnerDataReportOpen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ShellListReportOpen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LsL)->Unit(benchmark::kMillisecond)->UseRealTime();

}

int main(int argc, char** argv) {
    return korvex::bench::BenchMain(argc, argv, [](const std::string&) { return false; });   // no pictures
}
