// Test support for the tray: a headless display with its tray, a fake clock, the application and a recorder.
#pragma once

#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TImageList.h"
#include "platform/os/EventLoop.h"
#include "platform/user/Tray.h"
#include "platform/user/display/headless/HeadlessDisplay.h"
#include "tests/platform/os/support/FakeClock.h"
#include "tray/TrayIcon.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace korvex::tray::test {

using os::test::FakeClock;

// A fresh queue on a fake clock, a fresh headless display with its tray present, Screen and Application.
class TrayTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ::testing::AssertionResult Pump();   // everything pending; fails on a message cycle
    void Advance(int ms);   // both clocks move, then Pump
    // A tray icon owned by the application (not a windowed control: no form hooks).
    TTrayIcon* NewIcon(classes::TComponent* owner = nullptr);
    // An image list of count 16 x 16 images, image i filled with a colour of its own.
    classes::TImageList* NewList(int count, classes::TComponent* owner = nullptr);
    static gdi::COLORREF ImageColor(int index);
    // Where an icon sits on the headless screen (its centre), docked or not.
    user::POINT IconCentre(const TTrayIcon* icon) const;
    void ClickIcon(const TTrayIcon* icon, user::MouseButton button = user::MouseButton::Left);

    user::HeadlessDisplay* Display = nullptr;
    FakeClock Clock;
    std::vector<std::string> Events;   // what Record hooked up reports, in order
    std::vector<std::string> LogLines;   // what the notification area logged
    void Record(TTrayIcon* icon);   // every event of the icon into Events
};

// The balloon and tooltip windows of the notification area (nullptr while there is none).
user::HWND BalloonWindow();
user::HWND TipWindow();
bool Visible(user::HWND hwnd);

}
