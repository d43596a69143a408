// The demo program on Xvfb: its window is shown, clicks arrive at client positions, the picture equals the
// headless rendering, and the window manager's close ends it.
#include "platform/gdi/PngCodec.h"
#include "platform/user/display/x11/X11Display.h"
#include "support/ChildProcess.h"
#include "support/X11TestKit.h"
#include "support/XvfbServer.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#undef None
#undef CursorShape

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>

using namespace korvex;
using namespace korvex::e2e;

namespace {

constexpr int StepTimeoutMs = 15000;   // generous for a loaded 2-core machine; conditions end the waits early

struct Ready {
    gdi::RECT Window;
    gdi::POINT Client;
    std::string Display;
};

bool ParseReady(const std::string& output, Ready& ready) {
    // READY window=l,t,r,b client=x,y display=name
    const std::size_t at = output.find("READY window=");
    if (at == std::string::npos) return false;
    std::istringstream in(output.substr(at + 13));
    int v[6] = {};
    char sep = 0;
    std::string word;
    in >> v[0] >> sep >> v[1] >> sep >> v[2] >> sep >> v[3] >> word;
    if (!in || word.rfind("client=", 0) != 0) return false;
    std::istringstream client(word.substr(7));
    client >> v[4] >> sep >> v[5];
    in >> word;
    if (!client || !in || word.rfind("display=", 0) != 0) return false;
    ready.Window = gdi::Rect(v[0], v[1], v[2], v[3]);
    ready.Client = gdi::POINT {v[4], v[5]};
    ready.Display = word.substr(8);
    return !ready.Display.empty();
}

class WindowDemo : public ::testing::Test {
protected:
    void SetUp() override { KORVEX_E2E_NEED(Server.Running(), "no Xvfb: " << Server.Error()); }

    // Clicks at a client position of the demo's main window and waits for the line the demo prints.
    void ClickAndExpect(const Ready& ready, int x, int y, const std::string& expected) {
        size_t seen = Demo.Output().size();
        ASSERT_EQ(RunProcess({"xdotool", "mousemove", std::to_string(ready.Client.x + x),
                                 std::to_string(ready.Client.y + y), "click", "1"},
                      Env(), StepTimeoutMs),
            0);
        EXPECT_TRUE(Demo.WaitForOutput(
            [&](const std::string& out) { return out.find("WM_LBUTTONDOWN", seen) != std::string::npos; },
            StepTimeoutMs));
        std::string line = Demo.Output().substr(seen);
        EXPECT_EQ(line.substr(0, line.find('\n')), expected);
    }

    Environment Env() const { return {{"DISPLAY", Server.Name()}}; }

    XvfbServer Server;
    ChildProcess Demo;
};

}

TEST_F(WindowDemo, ShowsTheHeadlessPictureOnXAndReportsClicksAtClientPositions) {
#ifndef KORVEX_WINDEMO
    GTEST_SKIP() << "the demo program is not part of this build";
#define KORVEX_WINDEMO ""
#endif
    std::string headlessPng = (std::filesystem::current_path() / "windemo-headless.png").string();
    std::string x11Png = (std::filesystem::current_path() / "windemo-x11.png").string();
    std::filesystem::remove(headlessPng);
    ASSERT_EQ(RunProcess({KORVEX_WINDEMO, "--headless-png", headlessPng}, {}, StepTimeoutMs), 0);
    gdi::ImageResult expected = gdi::ReadPngFile(headlessPng);
    ASSERT_TRUE(expected) << expected.Error;

    ASSERT_TRUE(Demo.Start({KORVEX_WINDEMO, "--exit-after", "60000"}, Env()));
    Ready ready;
    ASSERT_TRUE(Demo.WaitForOutput([&](const std::string& out) { return ParseReady(out, ready); }, StepTimeoutMs))
        << Demo.Output();
    EXPECT_EQ(ready.Display, "x11");
    std::string found;
    ASSERT_EQ(RunProcess({"xdotool", "search", "--sync", "--onlyvisible", "--name", "KORVEX window demo"}, Env(),
                  StepTimeoutMs, &found),
        0);
    Window window = std::stoul(found);

    // The screen shows the picture once the server has handled the demo's uploads: compare until equal.
    auto screen = user::CreateX11Display(user::X11DisplayOptions {Server.Name(), true});
    ASSERT_TRUE(screen);
    gdi::GdiHandle<gdi::Bitmap> shot;
    int differences = -1;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(StepTimeoutMs);
    while (differences != 0 && std::chrono::steady_clock::now() < deadline) {
        shot.Reset(screen->CaptureScreen(ready.Window));
        ASSERT_TRUE(shot);
        differences = Differences(*expected.Image.Get(), *shot.Get());
        pollfd wait {screen->EventFd(), POLLIN, 0};
        if (differences != 0) poll(&wait, 1, 20);   // a little time for the server
    }
    gdi::WritePngFile(*shot.Get(), x11Png);
    EXPECT_EQ(differences, 0) << "compare " << x11Png << " with " << headlessPng;

    ClickAndExpect(ready, 35, 25, "WM_LBUTTONDOWN hwnd=red x=25 y=15");   // panel (10, 10)
    ClickAndExpect(ready, 250, 50, "WM_LBUTTONDOWN hwnd=blue x=20 y=40");   // panel (230, 10)
    ClickAndExpect(ready, 80, 130, "WM_LBUTTONDOWN hwnd=round x=70 y=40");   // the ellipse at (10, 90)
    // Outside the ellipse but inside the child's rectangle: the region sends the click to the main window.
    ClickAndExpect(ready, 13, 93, "WM_LBUTTONDOWN hwnd=main x=13 y=93");

    // The window manager's close button: WM_DELETE_WINDOW ends the demo through WM_CLOSE and WM_DESTROY.
    ::Display* wm = XOpenDisplay(Server.Name().c_str());
    ASSERT_TRUE(wm);
    SendDeleteWindow(wm, window);
    XCloseDisplay(wm);
    EXPECT_EQ(Demo.Wait(StepTimeoutMs), 0);
}

TEST(WindowDemoHeadless, RunsOnTheHeadlessDisplayWhenAskedAndEndsAfterItsTime) {
#ifndef KORVEX_WINDEMO
    GTEST_SKIP() << "the demo program is not part of this build";
#endif
    std::string output;
    ASSERT_EQ(RunProcess({KORVEX_WINDEMO, "--exit-after", "50"}, {{"DISPLAY", ""}, {"KORVEX_DISPLAY", "headless"}},
                  StepTimeoutMs, &output),
        0);
    Ready ready;
    ASSERT_TRUE(ParseReady(output, ready)) << output;
    EXPECT_EQ(ready.Display, "headless");
    EXPECT_EQ(RunProcess({KORVEX_WINDEMO, "--no-such-option"}, {}, StepTimeoutMs), 2);
}
