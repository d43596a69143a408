// The program's refresh cycle on fake farms whose logs grow every cycle: CPU, bytes written (files and X) and
// peak memory per cycle, beside noderead reading the same folders in the same run.
//
//     korvex_bench_FarmCycleBench                 the suite: 50, 200 and 1000 nodes; 50 nodes with 1, 16, 64 MB logs;
//                                                 full farms of 50, 200 and 1000 nodes, the last with a history too
//     korvex_bench_FarmCycleBench --nodes N [--log-mb MB] [--full 0|1] [--history-lines N] [--cycles N]
//         [--minute-ms MS] [--display xvfb|headless] [--program PATH] [--perf FILE]
//
// A full farm is the one `fakefarm init` makes: its answering nodes in FARM mode with their control services
// answering the status queries on loopback (and asking for a cache past their ready level); the lighter farm
// has no FARM nodes. --history-lines puts a work-unit history of that many lines beside the program.
//
// The program runs from a copy in a temporary folder, on a private Xvfb (its X traffic counts in the bytes
// written) or on the in-memory display. A node's cycle is counted by the reads of its unitinfo.txt (inotify
// closes of the file opened for reading; a second round of the same cycle, within half an interval, is not
// counted): CPU per cycle = CPU of the window / (cycles / nodes read), so a cycle that runs longer than the
// interval does not skew the figure. The opens of each file per node cycle are printed beside it, and the CPU
// over the window's wall time as a share of one core (with --minute-ms 60000, the share at a one-minute
// interval). noderead then reads the same folders once
// per cycle (a process each) while the farm goes on growing, the program stopped.
#include "tools/fakefarm/FakeFarm.h"
#include "tools/fakefarm/FarmServices.h"
#include "tools/fakefarm/SmbAnswerer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace korvex;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct TOptions {
    int Nodes = 200;
    int LogMB = 0;   // 0: the logs fakefarm writes (a few hundred lines)
    bool Full = false;   // the farm `fakefarm init` makes: FARM nodes with their control services
    int HistoryLines = 0;   // lines of KORVEX.WUS beside the program at its start
    int Cycles = 8;
    int MinuteMs = 3000;
    bool Xvfb = true;
    std::string Program = KORVEX_PROGRAM;
    std::string PerfFile;
};

struct TResult {
    TOptions Options;
    double LogMB = 0;   // all logs together at the start
    double CycleCpu = 0, CycleWall = 0, CyclesSeen = 0;
    double UiCpu = 0;   // per cycle, the part of the UI thread (messages, painting, the rows' controls)
    double WrittenMB = 0, StoredMB = 0;   // per cycle: write() bytes (files and X), bytes reaching the disk
    double PeakMB = 0;
    double StartWall = 0, StartCpu = 0;   // from the program's start until every node was read once
    double ReadCpu = 0, ReadPeakMB = 0;
    double LogReads = 0, UnitReads = 0;   // opens of each file a node cycle
    double CoreShare = 0;   // CPU over the window's wall time: the share of one core
    bool Ok = false;
};

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// User and system seconds of a running process (or of one of its threads: "PID/task/TID"), from /proc.
double ProcessCpuSeconds(const std::string& pid) {
    const std::string text = ReadText("/proc/" + pid + "/stat");
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) stime = std::stol(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double ProcessCpuSeconds(pid_t pid) {
    return ProcessCpuSeconds(std::to_string(pid));
}

// The UI thread is the process's first thread.
double UiThreadCpuSeconds(pid_t pid) {
    return ProcessCpuSeconds(std::to_string(pid) + "/task/" + std::to_string(pid));
}

// A "Key: value" figure of a /proc file (VmHWM in kB of status, wchar in bytes of io).
double ProcField(pid_t pid, const std::string& file, const std::string& key) {
    std::istringstream in(ReadText("/proc/" + std::to_string(pid) + "/" + file));
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key + ":", 0) == 0) return std::stod(line.substr(key.size() + 1));
    return 0;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, bool quiet) {
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        for (const std::string& assignment : env) putenv(const_cast<char*>(assignment.c_str()));
        if (quiet) {
            const int devNull = open("/dev/null", O_RDWR);
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

// A private Xvfb; its display name, or empty when it cannot start.
std::string StartXvfb(pid_t& pid) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return "";
    pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(fds[1], 3);
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", nullptr);
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    const auto deadline = Clock::now() + std::chrono::seconds(15);
    while (number.find('\n') == std::string::npos && Clock::now() < deadline) {
        pollfd p {fds[0], POLLIN, 0};
        if (poll(&p, 1, 500) < 0) break;
        char buffer[16];
        if (p.revents == 0) continue;
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0) break;
        number.append(buffer, std::size_t(got));
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) return "";
    return ":" + number.substr(0, number.find('\n'));
}

// Grows every log to about mb MB by putting copies of its own text in front, as a client restarted many times
// leaves it: the last line of every kind is still the one fakefarm wrote.
void GrowLogs(const fakefarm::TFarm& farm, int mb) {
    const std::uintmax_t target = std::uintmax_t(mb) << 20;
    for (const fakefarm::TFakeNode& node : farm.Nodes) {
        const std::string path = node.Folder + "/FAHlog.txt";
        const std::string text = ReadText(path);
        if (text.empty() || text.size() >= target) continue;
        std::string block;
        while (block.size() < (1u << 20)) block += text;
        std::ofstream out(path + ".grow", std::ios::binary | std::ios::trunc);
        for (std::uintmax_t written = text.size(); written < target; written += block.size())
            out.write(block.data(), std::streamsize(std::min<std::uintmax_t>(block.size(), target - written)));
        out << text;
        out.close();
        fs::rename(path + ".grow", path);
    }
}

// A history of `lines` units of other days, none of them the farm's.
void WriteHistory(const std::string& path, int lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < lines; ++i)
        out << "[05.11.2026 10:" << (i / 60) % 60 / 10 << (i / 60) % 10 << ":" << i % 60 / 10 << i % 10 << "] p"
            << 9000 + i % 700 << "_Older unit*" << i % 97 << "-" << i % 31 << "-" << i << "#120=old node " << i % 200
            << "@" << 10 + i % 50 << ".25\r\n";
}

// Counts each node's cycles by the reads of its unit file (closes of unitinfo.txt opened without writing): a
// cycle reads it once. A read within `sameCycleMs` of the node's last counted one is a second round of the same
// cycle (the log changed while the two files were read), not a cycle. Reads of FAHlog.txt are counted too.
class TReadCounter {
public:
    TReadCounter(const fakefarm::TFarm& farm, int sameCycleMs)
        : FSameCycle(std::chrono::milliseconds(sameCycleMs)) {
        FFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        for (std::size_t i = 0; i < farm.Nodes.size(); ++i) {
            const int wd = inotify_add_watch(FFd, farm.Nodes[i].Folder.c_str(), IN_CLOSE_NOWRITE);
            if (wd >= 0) FNode[wd] = i;
        }
        FCycles.assign(farm.Nodes.size(), 0);
        FLastCycle.assign(farm.Nodes.size(), Clock::time_point());
    }
    ~TReadCounter() { close(FFd); }
    TReadCounter(const TReadCounter&) = delete;
    TReadCounter& operator=(const TReadCounter&) = delete;

    void Drain() {
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;) {
            const ssize_t got = read(FFd, buffer, sizeof buffer);
            if (got <= 0) return;
            const Clock::time_point now = Clock::now();
            for (ssize_t at = 0; at < got;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                at += ssize_t(sizeof(inotify_event) + e->len);
                if (e->len == 0) continue;
                const std::size_t node = FNode[e->wd];
                if (strcasecmp(e->name, "FAHlog.txt") == 0) ++FLogReads;
                if (strcasecmp(e->name, "unitinfo.txt") != 0) continue;
                ++FUnitReads;
                if (FCycles[node] > 0 && now - FLastCycle[node] < FSameCycle) continue;
                ++FCycles[node];
                FLastCycle[node] = now;
            }
        }
    }
    long Total() const {   // cycles of all nodes
        long sum = 0;
        for (long r : FCycles) sum += r;
        return sum;
    }
    int NodesRead(long atLeast) const {
        return int(std::count_if(FCycles.begin(), FCycles.end(), [&](long r) { return r >= atLeast; }));
    }
    long LogReads() const { return FLogReads; }
    long UnitReads() const { return FUnitReads; }

private:
    int FFd = -1;
    Clock::duration FSameCycle;
    std::map<int, std::size_t> FNode;
    std::vector<long> FCycles;
    std::vector<Clock::time_point> FLastCycle;
    long FLogReads = 0, FUnitReads = 0;
};

TResult Run(const TOptions& options) {
    TResult result;
    result.Options = options;
    std::string dir = (fs::temp_directory_path() / "korvex-farmbench-XXXXXX").string();
    if (!mkdtemp(dir.data())) return result;
    fs::copy_file(options.Program, dir + "/korvex");

    fakefarm::TSmbAnswerer answerer(0);
    fakefarm::TFarmOptions farmOptions;
    farmOptions.Nodes = options.Nodes;
    farmOptions.StepSeconds = 60;
    if (options.Full) {   // as `fakefarm init` makes it
        farmOptions.FarmPort = fakefarm::FreeLoopbackPort();
        do
            farmOptions.FarmServicePort = fakefarm::FreeLoopbackPort();
        while (farmOptions.FarmServicePort == farmOptions.FarmPort);
    }
    fakefarm::TFarm farm = fakefarm::InitFarm(dir + "/farm", farmOptions, answerer.Port(), fakefarm::UtcNow());
    std::unique_ptr<fakefarm::TFarmServices> services;
    if (options.Full) services = std::make_unique<fakefarm::TFarmServices>(farm);
    if (options.HistoryLines > 0) WriteHistory(dir + "/KORVEX.WUS", options.HistoryLines);
    for (int i = 0; i < 100; ++i) fakefarm::StepFarm(farm, fakefarm::UtcNow());
    if (options.LogMB > 0) GrowLogs(farm, options.LogMB);
    std::uintmax_t logBytes = 0;
    for (const fakefarm::TFakeNode& node : farm.Nodes) logBytes += fs::file_size(node.Folder + "/FAHlog.txt");
    result.LogMB = double(logBytes) / 1e6;
    std::vector<std::string> readFolders;   // what the program reads: every node whose host answers
    for (const fakefarm::TFakeNode& node : farm.Nodes)
        if (node.Role != fakefarm::TNodeRole::Unreachable) readFolders.push_back(node.Folder);

    std::vector<std::string> env = {"KORVEX_REGISTRY=" + fakefarm::RegistryFile(farm.Dir),
        "KORVEX_UNC_ROOT=" + fakefarm::UncRoot(farm.Dir), "KORVEX_SMB_PORT=" + std::to_string(answerer.Port()),
        "KORVEX_FARM_PORT=" + std::to_string(options.Full ? farm.FarmPort : fakefarm::FreeLoopbackPort()),
        "KORVEX_MINUTE_MS=" + std::to_string(options.MinuteMs), "XDG_RUNTIME_DIR=" + dir,
        "XDG_CONFIG_HOME=" + dir + "/config"};
    if (options.Full) env.push_back("KORVEX_FARM_SERVICE_PORT=" + std::to_string(farm.FarmServicePort));
    pid_t xvfb = -1;
    if (options.Xvfb) {
        const std::string display = StartXvfb(xvfb);
        if (display.empty()) {
            std::fprintf(stderr, "Xvfb did not start; using the in-memory display\n");
            env.push_back("KORVEX_DISPLAY=headless");
        } else {
            env.push_back("DISPLAY=" + display);
        }
    } else {
        env.push_back("KORVEX_DISPLAY=headless");
    }
    unsetenv("DISPLAY");

    TReadCounter reads(farm, options.MinuteMs / 2);
    const pid_t program = Spawn({dir + "/korvex"}, env, true);
    std::atomic<bool> serving = true;
    std::thread answering([&] {
        while (serving) answerer.Serve(50);
    });
    // Ticks the farm every minute-ms while waiting for `done`, or for `limit`.
    auto tickUntil = [&](const std::function<bool()>& done, std::chrono::seconds limit) {
        const auto end = Clock::now() + limit;
        auto next = Clock::now() + std::chrono::milliseconds(options.MinuteMs);
        while (!done() && Clock::now() < end && waitpid(program, nullptr, WNOHANG) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            reads.Drain();
            if (Clock::now() >= next) {
                if (services) services->Apply(farm);
                fakefarm::StepFarm(farm, fakefarm::UtcNow());
                next += std::chrono::milliseconds(options.MinuteMs);
            }
        }
    };
    const int readable = int(readFolders.size());
    const auto started = Clock::now();
    tickUntil([&] { return reads.NodesRead(1) >= readable; }, std::chrono::seconds(300));
    result.StartWall = std::chrono::duration<double>(Clock::now() - started).count();
    result.StartCpu = ProcessCpuSeconds(program);
    // Settled: every node read twice (start-up and the first cycle behind).
    tickUntil([&] { return reads.NodesRead(2) >= readable; }, std::chrono::seconds(300));

    pid_t perf = -1;
    if (!options.PerfFile.empty()) {
        // The whole machine, so that threads started later (farm commands, workers) count too: `perf report
        // --pid` with the number printed here picks the program.
        perf = Spawn({"perf", "record", "-a", "-g", "-F", "999", "-o", options.PerfFile}, {}, true);
        std::fprintf(stderr, "perf: the program is process %d\n", int(program));
    }
    reads.Drain();
    const long reads0 = reads.Total();
    const long logReads0 = reads.LogReads(), unitReads0 = reads.UnitReads();
    const double cpu0 = ProcessCpuSeconds(program), ui0 = UiThreadCpuSeconds(program);
    const double wchar0 = ProcField(program, "io", "wchar"), stored0 = ProcField(program, "io", "write_bytes");
    const auto wall0 = Clock::now();
    const long wanted = reads0 + long(options.Cycles) * readable;
    tickUntil([&] { return reads.Total() >= wanted; }, std::chrono::seconds(60 + options.Cycles * std::max(60, 3 * options.MinuteMs / 1000)));
    const double cpu1 = ProcessCpuSeconds(program), ui1 = UiThreadCpuSeconds(program);
    const double wchar1 = ProcField(program, "io", "wchar"), stored1 = ProcField(program, "io", "write_bytes");
    const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
    reads.Drain();
    const long reads1 = reads.Total();
    const long logReads1 = reads.LogReads(), unitReads1 = reads.UnitReads();
    result.PeakMB = ProcField(program, "status", "VmHWM") / 1024.0;
    if (perf > 0) {
        kill(perf, SIGINT);
        waitpid(perf, nullptr, 0);
    }
    result.Ok = waitpid(program, nullptr, WNOHANG) == 0 && reads1 > reads0;
    kill(program, SIGTERM);
    waitpid(program, nullptr, 0);
    serving = false;
    answering.join();
    if (xvfb > 0) {
        kill(xvfb, SIGTERM);
        waitpid(xvfb, nullptr, 0);
    }

    result.CyclesSeen = double(reads1 - reads0) / readable;
    if (result.CyclesSeen > 0) {
        result.CycleCpu = (cpu1 - cpu0) / result.CyclesSeen;
        result.UiCpu = (ui1 - ui0) / result.CyclesSeen;
        result.CycleWall = wall / result.CyclesSeen;
        result.WrittenMB = (wchar1 - wchar0) / 1e6 / result.CyclesSeen;
        result.StoredMB = (stored1 - stored0) / 1e6 / result.CyclesSeen;
        result.LogReads = double(logReads1 - logReads0) / double(reads1 - reads0);
        result.UnitReads = double(unitReads1 - unitReads0) / double(reads1 - reads0);
    }
    if (wall > 0) result.CoreShare = (cpu1 - cpu0) / wall;

    // The services' threads would make every fork below slower: the program they answered has ended.
    services.reset();
    // The reference on the same folders, still growing: noderead over each, one process each, per cycle.
    double readCpu = 0;
    for (int c = 0; c < options.Cycles; ++c) {
        fakefarm::StepFarm(farm, fakefarm::UtcNow());
        for (const std::string& folder : readFolders) {
            const pid_t pid = Spawn({NODEREAD_PROGRAM, folder}, {}, true);
            int status = 0;
            rusage usage {};
            wait4(pid, &status, 0, &usage);
            readCpu += Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
            result.ReadPeakMB = std::max(result.ReadPeakMB, double(usage.ru_maxrss) / 1024.0);
        }
    }
    result.ReadCpu = readCpu / options.Cycles;
    fs::remove_all(dir);
    return result;
}

void PrintHeader() {
    std::printf("| Farm | Cycle CPU | of it UI thread | noderead | Ratio | Written per cycle (files and X) "
                "| To disk per cycle | Peak memory | Cycles seen, wall per cycle | Start-up to every row read: wall, CPU "
                "| Log, unit file opens a node cycle | Share of a core |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
}

void PrintRow(const TResult& r) {
    std::string farm = std::to_string(r.Options.Nodes) + " nodes";
    char logs[64];
    std::snprintf(logs, sizeof logs, ", %.0f MB of logs", r.LogMB);
    if (r.Options.LogMB > 0) farm += logs;
    if (r.Options.Full) farm += ", full farm";
    if (r.Options.HistoryLines > 0) farm += ", " + std::to_string(r.Options.HistoryLines) + "-line history";
    if (!r.Ok) {
        std::printf("| %s | failed: the program ended or read nothing | | | | | | | | | | |\n", farm.c_str());
        return;
    }
    std::printf("| %s | %.3f s | %.3f s | %.3f s | %.2f | %.3f MB | %.3f MB | %.0f MB | %.1f, %.2f s | %.1f s, %.2f s "
                "| %.2f, %.2f | %.2f %% |\n",
        farm.c_str(), r.CycleCpu, r.UiCpu, r.ReadCpu, r.ReadCpu > 0 ? r.CycleCpu / r.ReadCpu : 0.0, r.WrittenMB, r.StoredMB,
        r.PeakMB, r.CyclesSeen, r.CycleWall, r.StartWall, r.StartCpu, r.LogReads, r.UnitReads, 100 * r.CoreShare);
    std::fflush(stdout);
}

}

int main(int argc, char** argv) {
    TOptions options;
    bool single = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        const std::string value = argv[i + 1];
        if (arg == "--nodes") options.Nodes = std::atoi(value.c_str()), single = true;
        else if (arg == "--log-mb") options.LogMB = std::atoi(value.c_str()), single = true;
        else if (arg == "--full") options.Full = std::atoi(value.c_str()) != 0, single = true;
        else if (arg == "--history-lines") options.HistoryLines = std::max(0, std::atoi(value.c_str())), single = true;
        else if (arg == "--cycles") options.Cycles = std::max(1, std::atoi(value.c_str()));
        else if (arg == "--minute-ms") options.MinuteMs = std::max(100, std::atoi(value.c_str()));
        else if (arg == "--display") options.Xvfb = value != "headless";
        else if (arg == "--program") options.Program = value;
        else if (arg == "--perf") options.PerfFile = value;
        else {
            std::fprintf(stderr, "unknown option %s\n", arg.c_str());
            return 2;
        }
    }
    std::printf("korvex: %s; cycle interval %d ms, %d cycles measured, %s display\n", options.Program.c_str(),
        options.MinuteMs, options.Cycles, options.Xvfb ? "Xvfb" : "in-memory");
    PrintHeader();
    if (single) {
        PrintRow(Run(options));
        return 0;
    }
    for (int nodes : {50, 200, 1000}) {
        TOptions o = options;
        o.Nodes = nodes;
        PrintRow(Run(o));
    }
    for (int mb : {1, 16, 64}) {
        TOptions o = options;
        o.Nodes = 50;
        o.LogMB = mb;
        PrintRow(Run(o));
    }
    for (int nodes : {50, 200, 1000}) {
        TOptions o = options;
        o.Nodes = nodes;
        o.Full = true;
        PrintRow(Run(o));
    }
    TOptions withHistory = options;
    withHistory.Nodes = 1000;
    withHistory.Full = true;
    withHistory.HistoryLines = 20000;
    PrintRow(Run(withHistory));
    return 0;
}
