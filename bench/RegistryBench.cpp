// Loading the settings of 100 and 1000 nodes through the settings store: the first load writes every default,
// the second only reads; with the number of times the settings file was replaced.
#include "app/settings/Settings.h"

#include "platform/os/ProgramFolder.h"
#include "platform/os/RegistryStore.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

using namespace korvex;

namespace {

// A settings file of its own in a fresh folder (on the disk TMPDIR names, so syncs cost what they cost there),
// and a thread counting the renames onto it (the kernel merges equal events in a row, so the temporary file's
// move away is watched too, and its queue is drained as it fills).
struct TBenchFolder {
    std::string Root;
    std::string File;
    int Watch = -1;
    std::atomic<bool> Stop = false;
    std::atomic<int> Renames = 0;
    std::atomic<bool> Lost = false;
    std::thread Counter;

    TBenchFolder() {
        Root = (std::filesystem::temp_directory_path() / ("korvex-registry-bench-" + std::to_string(::getpid())))
                   .string();
        std::filesystem::create_directories(Root);
        File = Root + "/registry.reg";
        ::setenv("KORVEX_REGISTRY", File.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (Root + "/config").c_str(), 1);
        os::SetProgramFolderForTests(Root);
        Watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (Watch >= 0) ::inotify_add_watch(Watch, Root.c_str(), IN_MOVED_TO | IN_MOVED_FROM);
        Counter = std::thread([this] { Count(); });
    }
    ~TBenchFolder() {
        Stop = true;
        Counter.join();
        if (Watch >= 0) ::close(Watch);
        std::error_code ignored;
        std::filesystem::remove_all(Root, ignored);
    }

    void Count() {
        while (!Stop) {
            pollfd waiting {Watch, POLLIN, 0};
            if (::poll(&waiting, 1, 20) > 0) Drain();
        }
    }

    // Reads the events queued so far (from either thread: each read takes whole events).
    void Drain() {
        alignas(inotify_event) char buffer[1 << 16];
        for (ssize_t n; (n = ::read(Watch, buffer, sizeof buffer)) > 0;)
            for (ssize_t at = 0; at < n;) {
                auto* event = reinterpret_cast<inotify_event*>(buffer + at);
                if (event->mask & IN_Q_OVERFLOW) Lost = true;
                if ((event->mask & IN_MOVED_TO) && event->len > 0 && std::string(event->name) == "registry.reg")
                    ++Renames;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
    }

    // Times the settings file was replaced since the last call; -1 when the kernel dropped events.
    int Writes() {
        Drain();
        int count = Renames.exchange(0);
        return Lost.exchange(false) ? -1 : count;
    }

    // A store that holds nothing but HostCount = nodes: the next load writes every default.
    void Reset(int nodes) {
        std::filesystem::remove(File);
        os::RegistryStore& store = os::RegistryStore::Default();
        store.CreateKey(os::HKEY_LOCAL_MACHINE, app::OptionsKey);
        store.SetValue(os::HKEY_LOCAL_MACHINE, app::OptionsKey, "HostCount",
            os::MakeDwordValue(static_cast<std::uint32_t>(nodes)));
        Writes();
    }
};

TBenchFolder& Folder() {
    static TBenchFolder folder;
    return folder;
}

void BM_FirstLoad(benchmark::State& state) {
    const int nodes = static_cast<int>(state.range(0));
    TBenchFolder& folder = Folder();
    int writes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        folder.Reset(nodes);
        state.ResumeTiming();
        app::TSettings settings = app::LoadSettings();
        benchmark::DoNotOptimize(settings);
        state.PauseTiming();
        if (settings.Nodes.size() != static_cast<std::size_t>(nodes)) state.SkipWithError("wrong node count");
        writes += folder.Writes();
        state.ResumeTiming();
    }
    state.counters["writes"] = benchmark::Counter(writes, benchmark::Counter::kAvgIterations);
    state.counters["file_kB"] = static_cast<double>(std::filesystem::file_size(folder.File)) / 1024.0;
}

void BM_SecondLoad(benchmark::State& state) {
    const int nodes = static_cast<int>(state.range(0));
    TBenchFolder& folder = Folder();
    folder.Reset(nodes);
    app::LoadSettings();
    folder.Writes();
    for (auto _ : state)
        benchmark::DoNotOptimize(app::LoadSettings());
    state.counters["writes"] = benchmark::Counter(folder.Writes(), benchmark::Counter::kAvgIterations);
}

// One value read from a key of `values` values (the per-node keys hold one value per node and name).
void BM_GetValue(benchmark::State& state) {
    const int values = static_cast<int>(state.range(0));
    TBenchFolder& folder = Folder();
    folder.Reset(1);
    os::RegistryStore store(folder.File);
    store.CreateKey(os::HKEY_LOCAL_MACHINE, app::GetWUKey);
    for (int i = 0; i < values; ++i)
        store.SetValue(os::HKEY_LOCAL_MACHINE, app::GetWUKey, app::NodeValue("Level", i), os::MakeDwordValue(90));
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            store.GetValue(os::HKEY_LOCAL_MACHINE, app::GetWUKey, app::NodeValue("level", values - 1 - i)));
        i = (i + 7) % values;
    }
}

}

BENCHMARK(BM_FirstLoad)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SecondLoad)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetValue)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
