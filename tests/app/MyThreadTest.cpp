// The node thread's host test: local paths, UNC hosts that answer or not, and a stop while waiting.
#include "app/MyThread.h"
#include "support/FakeFarmService.h"

#include "platform/os/EventLoop.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace korvex::app {
namespace {

TEST(PathHostAnswers, LocalPathsAnswerAndUncHostsAreProbedOnTheirPort) {
    os::TEventLoop loop;
    test::TFakeFarmService listener(loop);   // something that accepts connections
    const std::string open = std::to_string(listener.Port());
    struct Case {
        const char* Path;
        std::string Port;
        bool Stopped;
        bool Answers;
    } cases[] = {
        {"/srv/fah", "1", false, true}, {"C:\\FAH", "1", false, true}, {"\\\\127.0.0.1\\fah", open, false, true},
        {"\\\\127.0.0.1\\fah", "1", false, false},   // refused
        {"\\\\127.0.0.1\\fah", open, true, false},   // stopped: no test
        {"\\\\\\fah", open, false, false},   // no host
    };
    for (const Case& c : cases) {
        ::setenv("KORVEX_SMB_PORT", c.Port.c_str(), 1);
        EXPECT_EQ(PathHostAnswers(c.Path, 1000, [&] { return c.Stopped; }), c.Answers) << c.Path << " " << c.Stopped;
    }
    ::unsetenv("KORVEX_SMB_PORT");
}

}
}
