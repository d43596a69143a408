// The program on a fake farm of 200 nodes whose logs grow every cycle: its CPU time per refresh cycle and its
// peak memory, beside noderead reading the same 200 folders (one process each) in the same run.
//
//     korvex_bench_FarmCycleBench [--nodes N] [--cycles N] [--minute-ms MS]
//
// The program runs on the in-memory display (KORVEX_DISPLAY=headless, no DISPLAY), from a copy in a temporary
// folder.
#include "tools/fakefarm/FakeFarm.h"
#include "tools/fakefarm/SmbAnswerer.h"


#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace korvex;

namespace {

namespace fs = std::filesystem;

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// User and system seconds of a running process, from /proc.
double ProcessCpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) stime = std::stol(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Peak resident memory of a running process in MB (VmHWM).
double PeakMB(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, bool quiet) {
    const pid_t pid = fork();
    if (pid == 0) {
        for (const std::string& assignment : env) putenv(const_cast<char*>(assignment.c_str()));
        if (quiet) {
            freopen("/dev/null", "w", stdout);
            freopen("/dev/null", "w", stderr);
        }
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    return pid;
}

}

int main(int argc, char** argv) {
    int nodes = 200, cycles = 10, minuteMs = 3000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (arg == "--nodes") nodes = value;
        else if (arg == "--cycles") cycles = value;
        else if (arg == "--minute-ms") minuteMs = value;
    }
    std::string dir = (fs::temp_directory_path() / "korvex-farmbench-XXXXXX").string();
    if (!mkdtemp(dir.data())) return 1;
    fs::copy_file(KORVEX_PROGRAM, dir + "/korvex");

    fakefarm::TSmbAnswerer answerer(0);
    fakefarm::TFarmOptions options;
    options.Nodes = nodes;
    options.StepSeconds = 60;
    fakefarm::TFarm farm = fakefarm::InitFarm(dir + "/farm", options, answerer.Port(), fakefarm::UtcNow());
    for (int i = 0; i < 100; ++i) fakefarm::StepFarm(farm, fakefarm::UtcNow());   // logs of a few hundred lines
    std::uintmax_t logBytes = 0;
    for (const fakefarm::TFakeNode& node : farm.Nodes) logBytes += fs::file_size(node.Folder + "/FAHlog.txt");

    // Reference: noderead over the same folders, one process each.
    rusage before{}, after{};
    getrusage(RUSAGE_CHILDREN, &before);
    const auto readStart = std::chrono::steady_clock::now();
    for (const fakefarm::TFakeNode& node : farm.Nodes) {
        const pid_t pid = Spawn({NODEREAD_PROGRAM, node.Folder}, {}, true);
        int status = 0;
        waitpid(pid, &status, 0);
    }
    const double readWall = std::chrono::duration<double>(std::chrono::steady_clock::now() - readStart).count();
    getrusage(RUSAGE_CHILDREN, &after);
    const double readCpu = Seconds(after.ru_utime) + Seconds(after.ru_stime) - Seconds(before.ru_utime)
        - Seconds(before.ru_stime);
    const double readPeakMB = static_cast<double>(after.ru_maxrss) / 1024.0;

    // The program: a few cycles to settle, then `cycles` cycles measured while the farm ticks once a cycle.
    std::vector<std::string> env = {"KORVEX_REGISTRY=" + fakefarm::RegistryFile(farm.Dir),
        "KORVEX_UNC_ROOT=" + fakefarm::UncRoot(farm.Dir), "KORVEX_SMB_PORT=" + std::to_string(answerer.Port()),
        "KORVEX_FARM_PORT=" + std::to_string(fakefarm::FreeLoopbackPort()),
        "KORVEX_MINUTE_MS=" + std::to_string(minuteMs), "XDG_RUNTIME_DIR=" + dir, "XDG_CONFIG_HOME=" + dir + "/config",
        "KORVEX_DISPLAY=headless"};
    unsetenv("DISPLAY");
    const pid_t program = Spawn({dir + "/korvex"}, env, true);
    std::thread answering([&] {
        while (waitpid(program, nullptr, WNOHANG) == 0) answerer.Serve(50);
    });
    auto tick = [&](int count) {
        for (int i = 0; i < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(minuteMs));
            fakefarm::StepFarm(farm, fakefarm::UtcNow());
        }
    };
    tick(3);
    const double cpu0 = ProcessCpuSeconds(program);
    tick(cycles);
    const double cpu1 = ProcessCpuSeconds(program);
    const double peak = PeakMB(program);
    kill(program, SIGTERM);
    answering.join();
    std::uintmax_t grownBytes = 0;
    for (const fakefarm::TFakeNode& node : farm.Nodes) grownBytes += fs::file_size(node.Folder + "/FAHlog.txt");
    fs::remove_all(dir);

    const double perCycle = (cpu1 - cpu0) / cycles;
    std::printf("farm: %d nodes, logs %.1f MB growing to %.1f MB, cycle of %d ms, %d cycles measured\n", nodes,
        static_cast<double>(logBytes) / 1e6, static_cast<double>(grownBytes) / 1e6, minuteMs, cycles);
    std::printf("%-44s %10s %12s\n", "", "CPU s", "peak MB");
    std::printf("%-44s %10.3f %12.1f\n", "korvex, one refresh cycle of every node", perCycle, peak);
    std::printf("%-44s %10.3f %12.1f\n", "noderead, every folder once (a process each)", readCpu, readPeakMB);
    std::printf("noderead wall time %.2f s; korvex at Update = 1 minute: %.3f %% of one core\n", readWall,
        perCycle / 60.0 * 100.0);
    return 0;
}
