// A test fixture running the class library's application on the x11 display of a private Xvfb server, and
// the screenshot writer the x11 tests share.
#pragma once

#include "support/XvfbServer.h"

#include "platform/classes/TApplication.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/PngCodec.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Screen.h"
#include "platform/user/display/x11/X11Display.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace korvex::e2e {

// Writes the picture as a PNG file and names the file on the output; false when it could not be written.
inline bool WriteScreenshot(const gdi::Bitmap& shot, const std::string& file) {
    const bool written = gdi::WritePngFile(shot, file);
    std::printf("screenshot: %s\n", file.c_str());
    return written;
}

// Each test gets its own Xvfb server of the given size, the message queue, the x11 display on the server (X11),
// the pinned test font and the application; the test is skipped where Xvfb cannot start. A parameterised test
// adds ::testing::WithParamInterface.
class X11ApplicationFixture : public ::testing::Test {
protected:
    X11ApplicationFixture(int width, int height) : Server(width, height) {}

    void SetUp() override {
        KORVEX_E2E_NEED(Server.Running(), "no Xvfb: " << Server.Error());
        user::InitMessageQueue();
        user::X11DisplayOptions options;
        options.Name = Server.Name();
        auto display = user::CreateX11Display(options);
        ASSERT_TRUE(display);
        X11 = display.get();
        user::SetDisplay(std::move(display));
        gdi::SetPinnedFontFamily("DejaVu Sans");
        BeforeApplication();
        classes::InitApplication();
        WithApplication();
    }
    void TearDown() override {
        if (!Server.Running()) return;
        BeforeDone();
        classes::DoneApplication();
        user::ShutdownMessageQueue();
        user::ResetDisplay();
        gdi::SetPinnedFontFamily("");
    }

    // What a test adds: registrations before the application starts, its own set-up once it runs, and what
    // it lets go of before the application ends (none of them run when the test is skipped).
    virtual void BeforeApplication() {}
    virtual void WithApplication() {}
    virtual void BeforeDone() {}

    XvfbServer Server;
    user::Display* X11 = nullptr;
};

}
