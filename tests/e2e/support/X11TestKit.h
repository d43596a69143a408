// Shared pieces of the x11 tests: a sink recording what a display reports, pumping until a condition holds,
// comparing pictures.
#pragma once

#include "platform/user/display/Display.h"
#include "support/XvfbServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct _XDisplay;

namespace korvex::e2e {

struct RecordingSink : user::DisplaySink {
    std::vector<user::InputEvent> Inputs;
    std::vector<std::pair<user::SurfaceId, gdi::RECT>> Exposes;
    std::vector<user::SurfaceId> Closes;
    std::vector<std::pair<user::SurfaceId, gdi::RECT>> Moves;
    std::vector<std::pair<user::SurfaceId, user::SurfaceState>> States;
    std::vector<std::pair<user::SurfaceId, bool>> Focus;

    void OnInput(const user::InputEvent& event) override { Inputs.push_back(event); }
    void OnExpose(user::SurfaceId surface, const gdi::RECT& rect) override { Exposes.emplace_back(surface, rect); }
    void OnCloseRequest(user::SurfaceId surface) override { Closes.push_back(surface); }
    void OnMovedByUser(user::SurfaceId surface, const gdi::RECT& bounds) override {
        Moves.emplace_back(surface, bounds);
    }
    void OnStateChanged(user::SurfaceId surface, user::SurfaceState state) override {
        States.emplace_back(surface, state);
    }
    void OnFocusChanged(user::SurfaceId surface, bool focused) override { Focus.emplace_back(surface, focused); }

    // Files dragged from other programs: taken anywhere while AcceptFiles holds.
    bool AcceptFiles = false;
    struct Drop {
        user::SurfaceId Surface = 0;
        gdi::POINT Point;
        std::vector<std::string> Files;
    };
    std::vector<Drop> Drops;
    bool AcceptsFilesAt(user::SurfaceId, gdi::POINT) override { return AcceptFiles; }
    void OnFilesDropped(user::SurfaceId surface, gdi::POINT point, const std::vector<std::string>& files) override {
        Drops.push_back(Drop {surface, point, files});
    }

    bool Exposed(user::SurfaceId id) const;
    std::string Describe() const;   // the inputs, one a line, for failure messages
    // The first input of this kind (and button, when given) at or after index from; nullptr for none.
    const user::InputEvent* FindInput(user::InputKind kind, size_t from = 0) const;
};

// Pumps the display until done() holds, waiting on its descriptor; false after timeoutMs.
bool PumpUntil(user::Display& display, const std::function<bool()>& done, int timeoutMs = 5000);

// Pixels that differ between two pictures of the same size (-1 when the sizes differ).
int Differences(const gdi::Bitmap& a, const gdi::Bitmap& b);

// What the window manager's close button sends: a WM_DELETE_WINDOW request to the window, from connection wm.
void SendDeleteWindow(_XDisplay* wm, unsigned long window);

// Runs xdotool on the display; true when it exits with 0.
bool Xdotool(const std::string& displayName, const std::vector<std::string>& arguments);

// One Xvfb server for the test program, an x11 display on it for each test, reporting to Sink.
class X11Fixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    static const std::string& ServerName();
    std::unique_ptr<user::Display> Open(bool sharedMemory = true);
    // Creates, shows and waits for the first expose of a surface.
    void ShowSurface(user::SurfaceId id, const gdi::RECT& bounds, user::SurfaceKind kind = user::SurfaceKind::Normal);
    bool Pump(const std::function<bool()>& done, int timeoutMs = 5000) { return PumpUntil(*Screen, done, timeoutMs); }
    bool Xdo(const std::vector<std::string>& arguments) { return Xdotool(ServerName(), arguments); }

    std::unique_ptr<user::Display> Screen;
    RecordingSink Sink;

private:
    static XvfbServer* Server;
};

}
