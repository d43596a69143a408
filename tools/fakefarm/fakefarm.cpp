// fakefarm: a simulated farm of client folders for running KORVEX without real nodes (demo, tests, bench).
#include "tools/fakefarm/FakeFarm.h"
#include "tools/fakefarm/FarmServices.h"
#include "tools/fakefarm/SmbAnswerer.h"

#include "platform/base/Numbers.h"

#include <algorithm>
#include <csignal>
#include <pthread.h>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace korvex;

const char* const Usage
    = "usage: fakefarm init DIR [--nodes N] [--step-seconds S] [--update MINUTES] [--smb-port P]\n"
      "       fakefarm run DIR [--step-seconds S] [--steps N]\n"
      "  init  writes N node folders (default 6) with FAHlog.txt and unitinfo.txt, the settings file\n"
      "        DIR/registry.reg naming them (every node whose host answers in FARM mode) and DIR/farm.env\n"
      "        with KORVEX_REGISTRY, KORVEX_UNC_ROOT, KORVEX_SMB_PORT (P: the answering hosts' port,\n"
      "        default a free one), KORVEX_FARM_PORT (a free port for the program's farm link) and\n"
      "        KORVEX_FARM_SERVICE_PORT (a free port for the nodes' control services) for the program\n"
      "  run   advances the logs one tick every S seconds (default: as made), answers the SMB port and\n"
      "        the FARM nodes' farm messages on loopback, until SIGTERM or SIGINT, or N ticks\n";

volatile std::sig_atomic_t StopRequested = 0;

void RequestStop(int) {
    StopRequested = 1;
}

int Fail(const std::string& message) {
    std::cerr << "fakefarm: " << message << "\n" << Usage;
    return 2;
}

struct TArguments {
    std::string Command;
    std::string Dir;
    std::optional<int> Nodes, StepSeconds, Update, SmbPort, Steps;
};

// Reads "--name N" and "--name=N" options; nothing and a message on an error.
std::optional<TArguments> Parse(int argc, char** argv, std::string& error) {
    TArguments args;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            positional.push_back(arg);
            continue;
        }
        std::string value;
        if (std::size_t eq = arg.find('='); eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            error = arg + " needs a value";
            return std::nullopt;
        }
        int number = 0;
        if (!base::TryStrToInt(value, number) || number < 0) {
            error = arg + " takes a number, not \"" + value + "\"";
            return std::nullopt;
        }
        if (arg == "--nodes") args.Nodes = number;
        else if (arg == "--step-seconds") args.StepSeconds = number;
        else if (arg == "--update") args.Update = number;
        else if (arg == "--smb-port") args.SmbPort = number;
        else if (arg == "--steps") args.Steps = number;
        else {
            error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    if (positional.size() != 2) {
        error = "a command and a folder are needed";
        return std::nullopt;
    }
    args.Command = positional[0];
    args.Dir = positional[1];
    return args;
}

int Init(const TArguments& args) {
    if (args.Steps) return Fail("--steps belongs to run");
    fakefarm::TFarmOptions options;
    options.Nodes = args.Nodes.value_or(options.Nodes);
    options.StepSeconds = args.StepSeconds.value_or(options.StepSeconds);
    options.UpdateMinutes = args.Update.value_or(options.UpdateMinutes);
    if (options.Nodes < 1 || options.StepSeconds < 1 || options.UpdateMinutes < 1)
        return Fail("nodes, step seconds and update minutes are at least 1");
    const int port = args.SmbPort.value_or(0) > 0 ? *args.SmbPort : fakefarm::FreeLoopbackPort();
    options.FarmPort = fakefarm::FreeLoopbackPort();
    do
        options.FarmServicePort = fakefarm::FreeLoopbackPort();
    while (options.FarmServicePort == options.FarmPort);
    fakefarm::TFarm farm = fakefarm::InitFarm(args.Dir, options, port, fakefarm::UtcNow());
    std::cout << fakefarm::EnvFile(farm.Dir) << "\n";
    return 0;
}

int Run(const TArguments& args) {
    if (args.Nodes || args.Update || args.SmbPort) return Fail("run takes --step-seconds and --steps only");
    fakefarm::TFarm farm = fakefarm::LoadFarm(args.Dir);
    const int stepSeconds = args.StepSeconds.value_or(farm.StepSeconds);
    if (stepSeconds < 1) return Fail("a tick lasts at least one second");
    std::signal(SIGTERM, RequestStop);
    std::signal(SIGINT, RequestStop);
    fakefarm::TSmbAnswerer answerer(farm.SmbPort);
    // The services' threads leave SIGTERM and SIGINT to this one, whose wait they end.
    sigset_t stops, old;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stops, &old);
    const fakefarm::TFarmServices services(farm);
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    std::set<int> waiting;   // nodes whose folder was missing at the last tick
    for (int done = 0; !StopRequested && (!args.Steps || done < *args.Steps); ++done) {
        answerer.Serve(stepSeconds * 1000);
        if (StopRequested) break;
        services.Apply(farm);
        const std::vector<int> now = fakefarm::StepFarm(farm, fakefarm::UtcNow());
        for (const fakefarm::TFakeNode& node : farm.Nodes) {
            const bool waits = std::find(now.begin(), now.end(), node.Index) != now.end();
            if (waits == waiting.contains(node.Index)) continue;
            if (waits) {
                std::cerr << "fakefarm: " << node.Label << " waits for its folder " << node.Folder << "\n";
                waiting.insert(node.Index);
            } else {
                std::cerr << "fakefarm: " << node.Label << " writes again\n";
                waiting.erase(node.Index);
            }
        }
    }
    return 0;
}

}

int main(int argc, char** argv) {
    std::string error;
    std::optional<TArguments> args = Parse(argc, argv, error);
    if (argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help")) {
        std::cout << Usage;
        return 0;
    }
    if (!args) return Fail(error);
    try {
        if (args->Command == "init") return Init(*args);
        if (args->Command == "run") return Run(*args);
        return Fail("unknown command " + args->Command);
    } catch (const std::exception& e) {
        std::cerr << "fakefarm: " << e.what() << "\n";
        return 1;
    }
}
