// Opening the client log viewer on a 20 MB and a 100 MB log until the whole log is in its pane, coloured, with
// its end in view (every slice of the load and its painting; the timer's pauses between slices are not timed),
// beside reading the same file into memory, in one run.
#include "app/forms/LogViewerWindow.h"
#include "app/nodes/LogTail.h"
#include "bench/support/BenchWorld.h"
#include "platform/classes/TStrings.h"
#include "skin/controls/sRichEdit.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

using namespace korvex;

namespace {

std::vector<int> Sizes = {20, 100};   // MB of the logs written (the memory run writes only its own)

// A node folder per size with a log like a client's (a unit's frames, steps and the odd error).
class World : public bench::THeadlessWorld {
public:
    World() {
        Folder = std::filesystem::temp_directory_path() / ("korvex-logview-bench-" + std::to_string(::getpid()));
        for (int mb : Sizes) {
            std::filesystem::create_directories(NodeFolder(mb));
            std::ofstream out(NodeFolder(mb) / "FAHlog.txt", std::ios::binary);
            std::size_t written = 0;
            for (int i = 0; written < std::size_t(mb) << 20; ++i) {
                std::string line = "[" + std::to_string(10 + i % 14) + ":" + std::to_string(10 + i % 50) + ":"
                    + std::to_string(10 + i % 49) + "] ";
                switch (i % 8) {
                case 0: line += "Completed " + std::to_string(i * 2500 % 250000) + " out of 250000 steps  (" + std::to_string(i % 100) + "%)"; break;
                case 1: line += "Finished a frame (" + std::to_string(i % 100) + ")"; break;
                case 2: line += "Project: 2669 (Run 3, Clone 37, Gen " + std::to_string(i % 200) + ")"; break;
                case 5: line += i % 64 == 5 ? "Couldn't send HTTP request to server" : "Writing local files"; break;
                default: line += "Verifying checksum of the work unit file, queue slot " + std::to_string(i % 10); break;
                }
                line += "\r\n";
                out << line;
                written += line.size();
            }
        }
        ::setenv("KORVEX_REGISTRY", (Folder / "registry.reg").c_str(), 1);
        Viewer = classes::Create<app::TForm3>(Owner());
        Viewer->SetFilePauses(0, 0);
        Viewer->Show();
        Pump();
    }
    ~World() override { std::filesystem::remove_all(Folder); }
    std::filesystem::path NodeFolder(int mb) const { return Folder / ("node" + std::to_string(mb)); }
    std::string Log(int mb) const { return (NodeFolder(mb) / "FAHlog.txt").string(); }

    // Shows the node's files and loads the log slice by slice, painting after each; the slices taken.
    int Open(int mb) {
        Viewer->ShowNode(NodeFolder(mb).string(), false);
        Pump();
        int slices = 1;
        for (; Viewer->LogLoading(); ++slices) {
            Viewer->LoadSlice();
            Pump();
        }
        return slices;
    }

    std::filesystem::path Folder;
    app::TForm3* Viewer = nullptr;
};

World& TheViewerWorld() {
    return bench::TheWorld<World>();
}

double Seconds(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_OpenLogViewer(benchmark::State& state) {
    World& world = TheViewerWorld();
    int slices = 0;
    for (auto _ : state)
        slices = world.Open(int(state.range(0)));
    state.counters["slices"] = slices;
}

void BM_ReadLogFile(benchmark::State& state) {
    const std::string log = TheViewerWorld().Log(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(app::LoadLogTail(log, app::TForm3::LogPaneBytes).Text.size());
}

BENCHMARK(BM_OpenLogViewer)->Arg(20)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadLogFile)->Arg(20)->Arg(100)->Unit(benchmark::kMillisecond);

// The two side by side, alternating, medians of 5 runs.
void SideBySide() {
    World& world = TheViewerWorld();
    std::printf("\nside by side (median of 5 alternating runs)\n");
    std::printf("%8s %12s %8s %12s %8s\n", "log MB", "viewer ms", "slices", "read ms", "ratio");
    for (int mb : Sizes) {
        std::vector<double> ours, theirs;
        int slices = 0;
        for (int i = 0; i < 5; ++i) {
            ours.push_back(Seconds([&] { slices = world.Open(mb); }));
            theirs.push_back(Seconds([&] { app::LoadLogTail(world.Log(mb), app::TForm3::LogPaneBytes); }));
        }
        std::sort(ours.begin(), ours.end());
        std::sort(theirs.begin(), theirs.end());
        std::printf("%8d %12.1f %8d %12.1f %8.1f\n", mb, ours[2] * 1000, slices, theirs[2] * 1000, ours[2] / theirs[2]);
    }
}

}

// This process's memory in kB: its peak (VmHWM) or what it holds now (VmRSS).
long OwnMemoryKb(const char* field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
    return 0;
}

// "--korvex-memory MB": in this fresh process, the peak memory of a plain read of the log, then of the viewer
// opening it, and opening it four times more (each opening clears the pane first, as the program does), over the idle
// process and in multiples of the file's size; what the process holds after each; and what the pane shows. Only
// that log is written.
int MeasureMemory(int mb) {
    World& world = TheViewerWorld();
    const double file = double(std::filesystem::file_size(world.Log(mb))) / 1024.0;
    const long idle = OwnMemoryKb("VmHWM:");
    long readPeak = 0;
    {
        std::string text = app::LoadLogTail(world.Log(mb), app::TForm3::LogPaneBytes).Text;
        readPeak = OwnMemoryKb("VmHWM:");
    }
    std::printf("log %d MB (idle process %.0f MB): plain read peak +%.2f x file\n", mb, idle / 1024.0,
        (readPeak - idle) / file);
    for (int opening = 1; opening <= 5; ++opening) {
        world.Open(mb);
        std::printf("  viewer, opening %d: peak +%.2f x file, held +%.2f x file\n", opening,
            (OwnMemoryKb("VmHWM:") - idle) / file, (OwnMemoryKb("VmRSS:") - idle) / file);
    }
    // What the pane shows: the log's lines, or what it says when memory ran out.
    classes::TStrings* lines = world.Viewer->LogPane()->Lines();
    std::printf("  the pane: %d lines, the first \"%s\"\n", lines->Count(), lines->Strings(0).substr(0, 100).c_str());
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--korvex-memory") {
        Sizes = {std::atoi(argv[2])};
        const int result = MeasureMemory(Sizes.front());
        bench::TheWorldInstance.reset();
        return result;
    }
    if (argc == 1) SideBySide();
    return bench::BenchMain(argc, argv, [](const std::string&) { return true; });
}
