// Test support for the skinned scroll bar: a fake clock, mouse and keys on a control, skins from skins/, and a
// record of the bar's events.
#pragma once

#include "SkinControlsKit.h"
#include "SkinFixtures.h"

#include "skin/engine/sScrollBar.h"

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace korvex::skin::sbtest {

// The four skins of skins/, by index.
extern const char* const SkinNames[4];

// What a bar reported: OnScroll codes with their positions, OnChange positions, hook calls (previous, now).
struct BarEvents {
    std::vector<std::pair<int, int>> Scrolls;
    std::vector<int> Changes;
    std::vector<std::pair<int, int>> Hooks;
    void Attach(TsScrollBar* bar);
    std::vector<int> ScrollCodes() const;
};

// A SkinControlsTest whose queue runs on a clock the test moves.
class ScrollBarTestBase : public ctltest::SkinControlsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void Advance(int ms);   // the clock forward, then pump
    void PressAt(const classes::TControl* control, int x, int y);   // client point of the control
    void MoveTo(const classes::TControl* control, int x, int y);
    void ReleaseAt(const classes::TControl* control, int x, int y);
    void ClickAt(const classes::TControl* control, int x, int y);
    void Key(unsigned vk);   // down and up
    // The test's manager (made on first use) with the skin loaded from skins/ (index into SkinNames).
    TsSkinManager* LoadSkin(int which);
    // A bar of the kind on parent at bounds, visible; Max 100, the rest default.
    TsScrollBar* NewBar(classes::TWinControl* parent, classes::TScrollBarKind kind, const classes::TRect& bounds);

    std::unique_ptr<test::ManagerHost> Managers;

private:
    std::shared_ptr<std::chrono::steady_clock::time_point> FNow;
    TsSkinManager* FManager = nullptr;
};

}
