// Test support for the controls: a headless display with a fake clock, the application, and recording test controls.
#pragma once

#include "platform/classes/TApplication.h"
#include "platform/classes/TCustomControl.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TGraphicControl.h"
#include "platform/classes/TScreen.h"
#include "platform/classes/TTimer.h"
#include "platform/os/EventLoop.h"
#include "platform/user/display/headless/HeadlessDisplay.h"
#include "tests/platform/os/support/FakeClock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace korvex::classes::ctltest {

// What a test control saw: messages by number, in order.
struct TMessageLog {
    std::vector<TMessage> Messages;
    int Count(UINT msg) const;
    std::vector<UINT> Numbers() const;
    std::vector<UINT> Only(std::initializer_list<UINT> wanted) const;   // those numbers, in order
    void Clear() { Messages.clear(); }
};

// A panel: windowed, accepts controls, paints its rectangle in Color. Its message log is public.
class TBoxPanel : public TCustomControl {
public:
    explicit TBoxPanel(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TMessageLog Log;
    int LoadedCount = 0;
    int WidthAtLoaded = -1;
    std::string CaptionAtLoaded;
    int PaintCount = 0;
    LRESULT CommandAnswer = 0;   // what CN_COMMAND answers

    using TWinControl::CreateParams;
    using TWinControl::DestroyHandle;
    using TWinControl::RecreateWnd;

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
    void Loaded() override;
};

// A label: windowless, paints its rectangle in Color. Its message log is public.
class TTextLabel : public TGraphicControl {
public:
    explicit TTextLabel(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TMessageLog Log;
    int LoadedCount = 0;
    int PaintCount = 0;
    bool Opaque() const { return ControlStyle().Contains(csOpaque); }
    void SetOpaque(bool value);

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
    void Loaded() override;
};

void RegisterControlTestClasses();

using TFakeClock = os::test::FakeClock;

// A fresh queue on a fake clock, a fresh headless display, Screen and Application for every test.
class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ::testing::AssertionResult Pump();   // everything pending, presented
    void Advance(int ms);   // the clocks move, then Pump
    // A visible form at (x, y) with the given client size, owned by the application.
    TForm* NewForm(int x = 100, int y = 100, int clientWidth = 300, int clientHeight = 200);
    // Screen position of a control's client point.
    TPoint At(const TControl* control, int x, int y) const;
    gdi::COLORREF PixelAt(const TControl* control, int x, int y) const;   // what the screen shows there

    user::HeadlessDisplay* Display = nullptr;
    TFakeClock Clock;
    std::vector<std::string> Exceptions;   // what reached Application->OnException
};

}
