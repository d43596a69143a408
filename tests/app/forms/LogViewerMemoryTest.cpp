// The log viewer when memory runs out: a clear message in the pane and the program log, never a hang.
#include "app/forms/LogViewerWindow.h"
#include "support/MainFormKit.h"

#include "platform/classes/TStrings.h"
#include "skin/controls/sRichEdit.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>

// The sanitizers bring their own allocator, which a replaced operator new would mismatch: there the test skips.
#if defined(__SANITIZE_ADDRESS__)
#define KORVEX_FAILING_ALLOCATOR 0
#else
#define KORVEX_FAILING_ALLOCATOR 1
#endif

namespace {
// Allocations of this many bytes or more fail while it is not zero: memory that runs out at the large ones.
std::atomic<std::size_t> FailFromBytes {0};
}

#if KORVEX_FAILING_ALLOCATOR
[[gnu::noinline]] void* operator new(std::size_t size) {
    const std::size_t limit = FailFromBytes.load(std::memory_order_relaxed);
    if (limit != 0 && size >= limit) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#endif

namespace korvex::app::test {

using namespace classes;

TEST_F(MainFormTest, TheLogViewerSaysSoWhenMemoryRunsOutForTheLog) {
    if (!KORVEX_FAILING_ALLOCATOR) GTEST_SKIP() << "the sanitizers' allocator cannot be made to fail here";
    TSettings settings = NodesSettings(1, 1);
    settings.Nodes[0].Path = Env->File("node1");
    std::string text;
    text.reserve(33u << 20);
    for (int i = 0; text.size() < (32u << 20); ++i)
        text += "[20:10:19] Completed " + std::to_string(i) + " out of 250000 steps\r\n";
    WriteFile(settings.Nodes[0].Path + "/FAHlog.txt", text);
    text = std::string();
    NewMainForm(settings, -1);
    TForm3* viewer = Create<TForm3>(Application);
    viewer->SetFilePauses(0, 0);
    FailFromBytes = std::size_t(16) << 20;
    viewer->ShowNode(settings.Nodes[0].Path, false);
    FailFromBytes = 0;
    EXPECT_FALSE(viewer->LogLoading());
    const std::string shown = viewer->LogPane()->Lines()->Text();
    EXPECT_NE(shown.find("Not enough memory to show the log"), std::string::npos) << shown.substr(0, 200);
    EXPECT_NE(Env->ReadFile("KORVEX.LOG").find("Not enough memory to show the log"), std::string::npos);
    viewer->Free();
}

}
