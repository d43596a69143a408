// Crash trials: a child process writes the settings file or the history, is killed with SIGKILL at a random
// moment, and the file it leaves must be exactly one of the files the same writes leave step by step.
//
//   crash_trials [--trials N] [--kind settings|batch|append|rewrite] [--seed S]
//
// Each kind's steps are deterministic (a fixed clock), so a reference run in this process records the file
// after every step first; each trial then starts a child on the starting file, lets it write, kills it, checks
// that the file is one of the recorded ones, and that a new write after the crash succeeds.
#include "app/WorkUnitHistory.h"
#include "platform/base/DateTime.h"
#include "platform/os/RegistryStore.h"

#include "support/FuzzSupport.h"

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
}

std::vector<TKind> Kinds() {
    return {
        {"settings", "registry.reg", PrepareSettings,
            [](const std::string& folder) {
                auto store = std::make_shared<os::RegistryStore>(folder + "/registry.reg");
                store->GetKeyNames(os::HKEY_CURRENT_USER, "Software");   // loaded before the first step
                return std::function<void(int)>([store](int step) { SettingsStep(*store, step); });
            }},
        {"batch", "registry.reg", PrepareSettings,
            [](const std::string& folder) {
                auto store = std::make_shared<os::RegistryStore>(folder + "/registry.reg");
                store->GetKeyNames(os::HKEY_CURRENT_USER, "Software");
                return std::function<void(int)>([store](int step) { BatchStep(*store, step); });
            }},
        {"append", app::HistoryFileName, [](const std::string& folder) { PrepareHistory(folder, 3); },
            [](const std::string& folder) {
                auto history = std::make_shared<app::TWorkUnitHistory>(folder);
                history->Load();
                return std::function<void(int)>([history](int step) {
                    history->SaveWU(UnitName(100 + step), UnitRcg(100 + step), step, "node");
                });
            }},
        {"rewrite", app::HistoryFileName, [](const std::string& folder) { PrepareHistory(folder, RewriteUnits); },
            [](const std::string& folder) {
                auto history = std::make_shared<app::TWorkUnitHistory>(folder);
                history->Load();
                return std::function<void(int)>([history](int step) {
                    const int unit = (step * 7) % RewriteUnits;
                    history->ReSaveWU(UnitName(unit), UnitRcg(unit), 1.0 + step * 0.25);
                });
            }},
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

bool Trial(const TKind& kind, const TReference& reference, std::mt19937& random, TOutcome& outcome) {
    fuzz::TScratchFolder folder;
    const std::string file = folder / kind.FileName;
    fuzz::WriteBytes(file, reference.Files[0]);
    int fds[2];
    if (pipe(fds) != 0) fuzz::Fail("pipe");
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) fuzz::Fail("fork");
    if (child == 0) {
        close(fds[0]);
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

}

int main(int argc, char** argv) {
    int trials = 1000;
    std::string only;
    unsigned seed = std::random_device {}();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--trials")
            trials = std::atoi(argv[i + 1]);
        else if (option == "--kind")
            only = argv[i + 1];
        else if (option == "--seed")
            seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        else {
            std::fprintf(stderr, "usage: %s [--trials N] [--kind settings|batch|append|rewrite] [--seed S]\n", argv[0]);
            return 2;
        }
    }
    // A fixed clock: the history's time stamps are the same in the reference run and in every child.
    base::SetNowProvider([] { return base::EncodeDateTime(2024, 12, 5, 20, 10, 15, 0); });
    std::printf("crash trials: %d per kind, seed %u\n", trials, seed);
    std::mt19937 random(seed);
    int failures = 0;
    for (const TKind& kind : Kinds()) {
        if (!only.empty() && only != kind.Name) continue;
        const TReference reference = Record(kind);
        TOutcome outcome;
        for (int t = 0; t < trials; ++t)
            Trial(kind, reference, random, outcome);
        failures += outcome.Failures;
        std::printf("%-8s %4d trials, %d failed; killed before the first step %d, after all steps %d; "
                    "%.1f steps done on average (%.2f ms a step)\n",
            kind.Name, outcome.Trials, outcome.Failures, outcome.KilledBeforeFirstStep, outcome.FinishedBeforeKill,
            outcome.Trials ? double(outcome.StepsDone) / outcome.Trials : 0.0, reference.StepSeconds * 1000);
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}
