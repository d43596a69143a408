// Reading one node from a 1 MB and a 50 MB client log beside GNU grep finding the same keywords in the same
// file, and from a log of one 100 MB project line, with the peak memory of a reading in a process of its own.
#include "app/nodes/NodeFiles.h"
#include "app/nodes/NodeReading.h"

#include "platform/base/DateTime.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace korvex;

namespace {

const base::TDateTime Now = base::EncodeDateTime(2024, 12, 6, 8, 0, 0, 0);

std::string Stamp(int seconds) {
    seconds %= 86400;
    char text[16];
    std::snprintf(text, sizeof text, "[%02d:%02d:%02d] ", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

// One finished unit of a step-counting core as a client logs it (about 10 kB).
std::string UnitBlock(int& clock) {
    std::string b;
    auto line = [&](const std::string& text) { b += Stamp(clock) + text + "\r\n"; };
    line("+ Processing work unit");
    line("Core required: FahCore_78.exe");
    line("Working on Unit 01 [December 5 20:10:09]");
    line("- Calling '.\\FahCore_78.exe -dir work/ -suffix 01 -checkpoint 15 -verbose -lifeline 1234 -version 504'");
    line("Folding@Home Gromacs Core");
    line("Version 1.90 (March 8, 2006)");
    line("Preparing to commence simulation");
    line("- Expanded 95283 -> 472560 (decompressed 495.9 percent)");
    line("Project: 2605 (Run 5, Clone 33, Gen 12)");
    line("Entering M.D.");
    line("Protein: p2605_Protein in water");
    line("Writing local files");
    line("Completed 0 out of 250000 steps  (0%)");
    for (int p = 1; p <= 100; ++p) {
        clock += 750;
        line("Writing local files");
        line("Completed " + std::to_string(p * 2500) + " out of 250000 steps  (" + std::to_string(p) + "%)");
    }
    line("Finished Work Unit:");
    line("- Reading up to 550 from \"work/wudata_01.arc\": Read 550");
    line("Folding@home Core Shutdown: FINISHED_UNIT");
    line("CoreStatus = 64 (100)");
    line("+ Attempting to send results [December 6 22:10:15]");
    line("+ Results successfully sent");
    line("Thank you for your contribution to Folding@Home.");
    return b;
}

// A node folder whose log holds about `bytes` bytes of finished units and ends in a running one.
std::string MakeNode(const std::string& root, std::size_t bytes) {
    const std::string folder = root + "/node" + std::to_string(bytes >> 20);
    std::filesystem::create_directories(folder);
    std::ofstream log(folder + "/FAHlog.txt", std::ios::binary);
    int clock = 20 * 3600;
    log << "\r\n"
        << Stamp(clock) << "- User name: Tellvar (Team 12345)\r\n"
        << Stamp(clock) << "Loaded queue successfully.\r\n";
    std::size_t written = 0;
    while (written < bytes) {
        std::string block = UnitBlock(clock);
        written += block.size();
        log << block;
    }
    std::ofstream info(folder + "/unitinfo.txt", std::ios::binary);
    info << "Current Work Unit\r\n-----------------\r\nName: p2605_Protein in water\r\n"
            "Download time: December 5 20:10:09\r\nDue time: December 11 20:10:09\r\nProgress: 45%  [||||______]\r\n";
    return folder;
}

// A node folder whose log is one project line of about `bytes` bytes (a damaged or hostile log): its
// Run-Clone-Gen is cut from the whole line.
std::string MakeLongLineNode(const std::string& root, std::size_t bytes) {
    const std::string folder = root + "/longline" + std::to_string(bytes >> 20);
    std::filesystem::create_directories(folder);
    std::ofstream log(folder + "/FAHlog.txt", std::ios::binary);
    log << "\r\n" << Stamp(0) << "Project: 2605 (Run 5, Clone 33, Gen 12";
    const std::string filler(1 << 20, ' ');
    for (std::size_t written = 0; written < bytes; written += filler.size())
        log << filler;
    log << ")";
    std::ofstream(folder + "/unitinfo.txt", std::ios::binary) << "Current Work Unit\r\n";
    return folder;
}

struct TNodes {
    std::string Root;
    std::string Small, Large, LongLine;
    TNodes() {
        Root = (std::filesystem::temp_directory_path() / ("korvex-noderead-bench-" + std::to_string(::getpid())))
                   .string();
        Small = MakeNode(Root, std::size_t(1) << 20);
        Large = MakeNode(Root, std::size_t(50) << 20);
        LongLine = MakeLongLineNode(Root, std::size_t(100) << 20);
    }
    ~TNodes() {
        std::error_code ignored;
        std::filesystem::remove_all(Root, ignored);
    }
    const std::string& Folder(std::int64_t megabytes) const { return megabytes == 1 ? Small : Large; }
};

TNodes& Nodes() {
    static TNodes nodes;
    return nodes;
}

app::TNodeReading ReadOnce(const std::string& folder) {
    os::TRetryOptions options;
    options.Attempts = 1;
    options.Pause = [](int) { return true; };
    return app::ReadNodeFolder(folder, Now, app::FixedUtcOffset(60), options);
}

struct TChild {
    double Seconds = 0;
    int Status = -1;
    std::string Output;   // when kept
};

// Runs a program, draining its output as a reader of a pipe would (keeping it when asked); wall time.
TChild RunChild(const std::vector<std::string>& args, bool keepOutput = false) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addclose(&actions, out[0]);
    ::posix_spawn_file_actions_addclose(&actions, out[1]);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    TChild child;
    if (spawned != 0) {
        ::close(out[0]);
        return child;
    }
    char buffer[1 << 16];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        if (keepOutput) child.Output.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    ::waitpid(pid, &child.Status, 0);
    child.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return child;
}

std::vector<std::string> GrepCommand(const std::string& folder) {
    std::vector<std::string> args = {"grep", "-F"};
    for (const char* keyword : app::ClientLogKeywords) {
        args.push_back("-e");
        args.push_back(keyword);
    }
    args.push_back(folder + "/FAHlog.txt");
    return args;
}

std::string Self() {
    return std::filesystem::read_symlink("/proc/self/exe").string();
}

// The peak resident memory of this process in kB (VmHWM: the memory of this program image alone).
long OwnPeakKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

// Peak memory of one run in a process of its own: this program started afresh reports it. A process's
// maxrss counts what its parent held at the fork, so other programs are run by a small fresh copy of this one
// that forks them and reads their wait4 figures.
long PeakKb(const std::vector<std::string>& args) {
    return std::strtol(RunChild(args, true).Output.c_str(), nullptr, 10);
}

std::vector<std::string> Measured(std::vector<std::string> command) {
    command.insert(command.begin(), {Self(), "--korvex-peak-of"});
    return command;
}

// The node in folder read once an iteration; then the peak memory of a child that reads it once, alone and
// (net) above an idle run of this program, the idle run's and the reading's over the log's size with `all`.
void ReadAndMeasure(benchmark::State& state, const std::string& folder, bool all) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadOnce(folder));
    const double bytes = static_cast<double>(std::filesystem::file_size(folder + "/FAHlog.txt"));
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    const long idle = PeakKb({Self(), "--korvex-idle"});
    const long reading = PeakKb({Self(), "--korvex-read-once", folder});
    state.counters["peak_MB"] = reading / 1024.0;
    if (all) {
        state.counters["idle_MB"] = idle / 1024.0;
        state.counters["peak_over_file"] = reading * 1024.0 / bytes;
    }
    state.counters["net_over_file"] = (reading - idle) * 1024.0 / bytes;
}

void BM_ReadNode(benchmark::State& state) {
    ReadAndMeasure(state, Nodes().Folder(state.range(0)), true);
}

void BM_GrepF(benchmark::State& state) {
    const std::string& folder = Nodes().Folder(state.range(0));
    const std::vector<std::string> command = GrepCommand(folder);
    for (auto _ : state)
        state.SetIterationTime(RunChild(command).Seconds);
    state.SetBytesProcessed(
        static_cast<std::int64_t>(std::filesystem::file_size(folder + "/FAHlog.txt")) * state.iterations());
    state.counters["peak_MB"] = PeakKb(Measured(command)) / 1024.0;
}

// One project line of 100 MB: linear in the line, and no copies of it beyond the fields cut from it.
void BM_ReadLongLine(benchmark::State& state) {
    ReadAndMeasure(state, Nodes().LongLine, false);
}

BENCHMARK(BM_ReadNode)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLongLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrepF)->Arg(1)->Arg(50)->UseManualTime()->Unit(benchmark::kMillisecond);

// The two side by side, alternating, medians of several runs: the ratio the target is about.
void SideBySide() {
    std::printf("\nside by side (median of 9 alternating runs)\n");
    std::printf("%-8s %12s %12s %8s %10s %10s %10s\n", "log", "reading ms", "grep -F ms", "ratio", "peak MB",
        "peak/file", "net/file");
    const long idle = PeakKb({Self(), "--korvex-idle"});
    for (std::int64_t megabytes : {1, 50}) {
        const std::string& folder = Nodes().Folder(megabytes);
        const std::vector<std::string> command = GrepCommand(folder);
        std::vector<double> ours, theirs;
        for (int i = 0; i < 9; ++i) {
            auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(ReadOnce(folder));
            ours.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            theirs.push_back(RunChild(command).Seconds);
        }
        std::sort(ours.begin(), ours.end());
        std::sort(theirs.begin(), theirs.end());
        const double bytes = static_cast<double>(std::filesystem::file_size(folder + "/FAHlog.txt"));
        const long reading = PeakKb({Self(), "--korvex-read-once", folder});
        std::printf("%-8s %12.2f %12.2f %8.2f %10.1f %10.2f %10.2f\n", (std::to_string(megabytes) + " MB").c_str(),
            ours[4] * 1000, theirs[4] * 1000, ours[4] / theirs[4], reading / 1024.0, reading * 1024.0 / bytes,
            (reading - idle) * 1024.0 / bytes);
    }
}

}

int main(int argc, char** argv) {
    // Children of the memory measurement: one reading, or nothing, then exit.
    if (argc == 3 && std::strcmp(argv[1], "--korvex-read-once") == 0) {
        app::TNodeReading reading = ReadOnce(argv[2]);
        std::printf("%ld\n", OwnPeakKb());
        return reading.RCG == "5-33-12" ? 0 : 1;
    }
    if (argc == 2 && std::strcmp(argv[1], "--korvex-idle") == 0) {
        std::printf("%ld\n", OwnPeakKb());
        return 0;
    }
    if (argc > 2 && std::strcmp(argv[1], "--korvex-peak-of") == 0) {
        std::vector<std::string> command(argv + 2, argv + argc);
        pid_t pid = ::fork();
        if (pid == 0) {
            std::freopen("/dev/null", "r", stdin);
            int sink[2];
            if (::pipe(sink) != 0) ::_exit(126);
            if (::fork() == 0) {   // drains the program's output as a reader would
                ::close(sink[1]);
                char buffer[1 << 16];
                while (::read(sink[0], buffer, sizeof buffer) > 0) { }
                ::_exit(0);
            }
            ::dup2(sink[1], STDOUT_FILENO);
            ::close(sink[0]);
            ::close(sink[1]);
            std::vector<char*> args;
            for (std::string& a : command)
                args.push_back(a.data());
            args.push_back(nullptr);
            ::execvp(args[0], args.data());
            ::_exit(127);
        }
        int status = 0;
        rusage usage {};
        ::wait4(pid, &status, 0, &usage);
        std::printf("%ld\n", usage.ru_maxrss);
        return 0;
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    SideBySide();
    benchmark::Shutdown();
    return 0;
}
