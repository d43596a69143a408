// Opening the history window on a history file of 100 000 lines (read, parse, fill the grid, paint; the close
// that frees it is not timed) beside
// `wc -l` counting the lines of the same file, in one run.
#include "app/nodes/WorkUnitHistory.h"
#include "app/forms/HistoryWindow.h"
#include "bench/support/BenchWorld.h"
#include "platform/classes/TStringGrid.h"
#include "platform/os/ProgramFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

using namespace korvex;

namespace {

constexpr int LineCount = 100000;

// A program folder with the history file and a settings store of its own.
class World : public bench::THeadlessWorld {
public:
    World() {
        Folder = std::filesystem::temp_directory_path() / ("korvex-history-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(Folder);
        ::setenv("KORVEX_REGISTRY", (Folder / "registry.reg").c_str(), 1);
        os::SetProgramFolderForTests(Folder.string());
        std::ofstream out(Folder / app::HistoryFileName, std::ios::binary);
        for (int i = 0; i < LineCount; ++i)
            out << "[" << (10 + i % 19) << ".12.2024 " << (10 + i % 13) << ":" << (10 + i % 50)
                << ":00] p" << (2000 + i * 37 % 501) << "_Protein in water*" << i % 5 << "-" << i % 111 << "-"
                << i % 37 << "#" << (100 + i % 500) << "=node" << i % 17 << "@" << (i % 90) << ".25\r\n";
        out.close();
        History = classes::Create<app::TForm5>(Owner());
    }
    ~World() override {
        os::SetProgramFolderForTests("");
        std::filesystem::remove_all(Folder);
    }
    // Show (read, parse, fill), painted.
    void Open() {
        History->Show();
        Pump();
        if (History->History()->RowCount() != LineCount + 2) std::abort();
    }
    void Close() {
        History->Close();
        Pump();
    }
    std::string File() const { return (Folder / app::HistoryFileName).string(); }

    std::filesystem::path Folder;
    app::TForm5* History = nullptr;
};

World& TheHistoryWorld() {
    return bench::TheWorld<World>();
}

double RunWcSeconds(const std::string& file) {
    const char* argv[] = {"wc", "-l", file.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, "wc", &actions, nullptr, const_cast<char**>(argv), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return 0;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Seconds(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_OpenHistoryWindow(benchmark::State& state) {
    World& world = TheHistoryWorld();
    for (auto _ : state) {
        world.Open();
        state.PauseTiming();
        world.Close();
        state.ResumeTiming();
    }
}

void BM_WcLines(benchmark::State& state) {
    const std::string file = TheHistoryWorld().File();
    for (auto _ : state)
        state.SetIterationTime(RunWcSeconds(file));
}

BENCHMARK(BM_OpenHistoryWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WcLines)->UseManualTime()->Unit(benchmark::kMillisecond);

// The two side by side, alternating, medians of 5 runs: the ratio the target is about.
void SideBySide() {
    World& world = TheHistoryWorld();
    std::vector<double> ours, theirs;
    for (int i = 0; i < 5; ++i) {
        ours.push_back(Seconds([&] { world.Open(); }));
        world.Close();
        theirs.push_back(RunWcSeconds(world.File()));
    }
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    std::printf("\nside by side (median of 5 alternating runs, %d lines, %.1f MB)\n", LineCount,
        double(std::filesystem::file_size(world.File())) / 1e6);
    std::printf("%14s %10s %8s\n", "window ms", "wc -l ms", "ratio");
    std::printf("%14.1f %10.2f %8.1f\n", ours[2] * 1000, theirs[2] * 1000, ours[2] / theirs[2]);
}

}

int main(int argc, char** argv) {
    if (argc == 1) SideBySide();
    return bench::BenchMain(argc, argv, [](const std::string&) { return true; });
}
