// Test support for the LED components: a headless display on a fake clock, a fake Now, recording canvases,
// and LED classes that count their invalidations and can paint on any canvas.
#pragma once

#include "leds/iLedBar.h"
#include "leds/iLedRound.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TForm.h"
#include "platform/gdi/Recording.h"
#include "platform/os/EventLoop.h"
#include "platform/user/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace korvex::leds::test {

// A round LED that counts Invalidate calls and paints on a canvas it is handed.
class TTestLedRound : public TiLedRound {
public:
    explicit TTestLedRound(classes::TComponent* owner)
        : TiLedRound(owner) { }
    using TiLedRound::iPaintTo;
    using TiVCLComponent::NewOPCData;
    using TiVCLComponent::TimerWindow;
    void Invalidate() override {
        ++Invalidations;
        TiLedRound::Invalidate();
    }
    int Invalidations = 0;
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        TiLedRound::Paint();
    }
};

class TTestLedBar : public TiLedBar {
public:
    explicit TTestLedBar(classes::TComponent* owner)
        : TiLedBar(owner) { }
    using TiLedBar::iPaintTo;
    void Invalidate() override {
        ++Invalidations;
        TiLedBar::Invalidate();
    }
    int Invalidations = 0;
};

// A canvas on a recording memory DC of the given size.
class RecordingCanvas {
public:
    RecordingCanvas(int width, int height);
    ~RecordingCanvas();
    classes::TCanvas* Canvas() { return &FCanvas; }
    const std::vector<gdi::DrawCall>& Calls() const { return FDc.Calls(); }
    std::vector<gdi::DrawCall> CallsOf(gdi::DrawKind kind) { return FDc.Recorder().CallsOf(kind); }
    gdi::COLORREF Pixel(int x, int y) const;

private:
    gdi::RecordingDC FDc;
    classes::TCanvas FCanvas;
};

// Now() as the test sets it (days), restored afterwards.
class FakeNow {
public:
    FakeNow();
    ~FakeNow();
    void AdvanceMs(double ms) { *FNow += ms / 86400000.0; }

private:
    std::shared_ptr<double> FNow = std::make_shared<double>(45000.5);
};

// A fresh queue on a fake clock, a headless display, the application and a fake Now for every test.
class LedTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ::testing::AssertionResult Pump();   // everything pending; fails on a message cycle
    void Advance(int ms);   // the queue's clock, the display's clock and Now move, then Pump
    classes::TForm* NewForm(int x = 100, int y = 100, int clientWidth = 300, int clientHeight = 200);
    gdi::COLORREF PixelAt(const classes::TControl* control, int x, int y) const;   // what the screen shows
    std::string TempPath(const std::string& name) const;   // in a folder removed after the test

    user::HeadlessDisplay* Display = nullptr;
    std::unique_ptr<FakeNow> Now;
    std::vector<std::string> Exceptions;

private:
    std::shared_ptr<std::chrono::steady_clock::time_point> FClock
        = std::make_shared<std::chrono::steady_clock::time_point>(std::chrono::hours(1));
    std::string FTempDir;
};

// LedTest with one round lamp without owner or parent, made on the test's queue (its timer window lives there).
class LampTest : public LedTest {
protected:
    void SetUp() override {
        LedTest::SetUp();
        Led = std::make_unique<TTestLedRound>(nullptr);
    }
    void TearDown() override {
        Led.reset();
        LedTest::TearDown();
    }
    std::unique_ptr<TTestLedRound> Led;
};

// Colours as gdi records them.
inline gdi::COLORREF Ref(classes::TColor color) {
    return static_cast<gdi::COLORREF>(classes::ColorToRGB(color)) & 0xFFFFFF;
}

}
