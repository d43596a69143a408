// What touching memory costs on this machine once it lay untouched for a while: one write to each page of a
// block after each idle time, beside the same writes done again at once (the warm reference). The program at
// rest touches its nodes' memory once a cycle, so on a machine whose memory goes cold with time (a virtual
// machine whose host takes idle pages back) a one-minute cycle pays the cold figure for every page it touches.
//
//     korvex_bench_IdleMemoryBench [--pages N] [--idle S,S,...]      defaults: 20000 pages; 1,5,15,30,60 s
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Microseconds a page for one write to every page of the block.
double TouchEachPage(volatile char* block, std::size_t pages, std::size_t pageBytes) {
    const Clock::time_point start = Clock::now();
    for (std::size_t i = 0; i < pages; ++i)
        block[i * pageBytes] = static_cast<char>(block[i * pageBytes] + 1);
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / static_cast<double>(pages);
}

std::vector<int> ParseSeconds(const std::string& text) {
    std::vector<int> seconds;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        if (const int s = std::atoi(item.c_str()); s > 0) seconds.push_back(s);
    return seconds;
}

}

int main(int argc, char** argv) {
    std::size_t pages = 20000;
    std::vector<int> idle = {1, 5, 15, 30, 60};
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--pages") pages = std::max<long>(1, std::atol(argv[i + 1]));
        else if (arg == "--idle") idle = ParseSeconds(argv[i + 1]);
        else {
            std::fprintf(stderr, "usage: %s [--pages N] [--idle S,S,...]\n", argv[0]);
            return 2;
        }
    }
    const auto pageBytes = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    std::unique_ptr<char[]> memory(new char[pages * pageBytes]);
    volatile char* block = memory.get();
    TouchEachPage(block, pages, pageBytes);   // every page made once

    std::printf("%zu pages of %zu bytes, one write a page\n\n", pages, pageBytes);
    std::printf("| Untouched for | Touch a page | Warm, at once after | Ratio |\n|---|---|---|---|\n");
    for (int seconds : idle) {
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        const double cold = TouchEachPage(block, pages, pageBytes);
        const double warm = TouchEachPage(block, pages, pageBytes);
        std::printf("| %d s | %.3f us | %.3f us | %.0f |\n", seconds, cold, warm, warm > 0 ? cold / warm : 0.0);
        std::fflush(stdout);
    }
    return 0;
}
