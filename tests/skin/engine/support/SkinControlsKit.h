// Test support for skinned-state controls: a headless display with the application, test skins built in code,
// and small controls that own a TsCommonData and paint their cache with the engine's routines.
#pragma once

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCustomControl.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TGraphicControl.h"
#include "platform/user/display/headless/HeadlessDisplay.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sGlyphs.h"
#include "skin/engine/sSkinData.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace korvex::skin {
class TsSkinManager;
}

namespace korvex::skin::ctltest {

// What a test control needs from its skin state to paint: the cache rendered from the parent's cache, the
// caption in the section's colours, then the cache onto the canvas.
void PaintSkinned(classes::TControl* control, TsCommonData* data, classes::TCanvas* canvas, const std::string& caption,
    const TacGlyphButton* glyph, bool centred);

// Windowed, panel-like (kind 51, "PANEL"); accepts children and publishes its cache (code 5).
class TTestPanel : public classes::TCustomControl {
public:
    explicit TTestPanel(classes::TComponent* owner, int kind = 51);
    ~TTestPanel() override;
    std::unique_ptr<TsCommonData> SkinData;
    int WmSizeHandled = 0;   // WM_SIZE messages the skin state answered as handled

protected:
    void WndProc(classes::TMessage& message) override;
    void Paint() override;
};

// Windowed, button-like (kind 93, "BUTTON") with a glyph left of its caption.
class TTestButton : public classes::TCustomControl {
public:
    explicit TTestButton(classes::TComponent* owner);
    ~TTestButton() override;
    std::unique_ptr<TsCommonData> SkinData;
    classes::TBitmap Glyph;
    // Renders the cache in the current look and copies it onto canvas (the paint's work).
    void RenderTo(classes::TCanvas* canvas);

protected:
    void WndProc(classes::TMessage& message) override;
    void Paint() override;
};

// Windowless, label-like (kind 0, section "CHECKBOX": fully transparent in our skins).
class TTestLabel : public classes::TGraphicControl {
public:
    explicit TTestLabel(classes::TComponent* owner);
    ~TTestLabel() override;
    std::unique_ptr<TsCommonData> SkinData;

protected:
    void WndProc(classes::TMessage& message) override;
    void Paint() override;
};

// A fresh queue, headless display and application for every test.
class SkinControlsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Pump();
    void Advance(int ms);   // the queue's clock moves, then Pump (timers due by then fire once)
    classes::TForm* NewForm(int clientWidth = 300, int clientHeight = 200);
    gdi::COLORREF ScreenPixel(const classes::TControl* control, int x, int y) const;

    user::HeadlessDisplay* Display = nullptr;
    std::shared_ptr<std::chrono::steady_clock::time_point> Now
        = std::make_shared<std::chrono::steady_clock::time_point>(std::chrono::hours(1));
};

// A manager owned by the test, with sections added in code.
class CodeSkin {
public:
    CodeSkin();
    ~CodeSkin();
    TsSkinManager* Manager() const { return FManager; }
    // A plain section of one colour (no image, no gradient), returns its index.
    int AddSection(const std::string& name, classes::TColor color, int transparency = 0);
    TsGeneralData& Section(int index) const;

private:
    std::unique_ptr<classes::TComponent> FOwner;
    TsSkinManager* FManager = nullptr;
};

}
