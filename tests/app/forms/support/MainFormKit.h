// Test support for the main window: the form on the headless display with a test's own settings store and
// program folder, built from settings without starting the monitor, and rows handed over by hand.
#pragma once

#include "support/AppEnvironment.h"
#include "support/SkinControlsKit.h"

#include "app/settings/Settings.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/GdiObject.h"
#include "app/forms/MainWindow.h"

#include <functional>
#include <memory>
#include <set>
#include <string>

namespace korvex::app::test {

// A picture a test wrote, read back from its file: what it shows where a control of the window was.
class TPicture {
public:
    // The PNG at `path`, taken of `window`'s rectangle (frame included).
    TPicture(const std::string& path, classes::TWinControl* window);
    bool Valid() const { return FBitmap.Get() != nullptr; }
    // A pixel at client coordinates of `control`; 0xFFFFFFFF outside the picture.
    gdi::COLORREF Pixel(const classes::TControl* control, int x, int y) const;
    // How many pixels of the control's client rectangle `r` satisfy `test`.
    int Count(const classes::TControl* control, const classes::TRect& r,
        const std::function<bool(gdi::COLORREF)>& test) const;
    // The distinct colours of that rectangle.
    std::set<gdi::COLORREF> Colours(const classes::TControl* control, const classes::TRect& r) const;
    // Pixels of that rectangle that stand out from its most common colour (a contrast of 2 or more): the
    // strokes of a text or a glyph drawn on a plain or gently shaded face.
    int Strokes(const classes::TControl* control, const classes::TRect& r) const;
    // The control's client rectangle, less `inset` pixels all round (its border), holds text or a glyph.
    bool ShowsText(const classes::TControl* control, int inset = 2, int minimum = 12) const;

private:
    gdi::GdiHandle<gdi::Bitmap> FBitmap;
    int FLeft = 0, FTop = 0;   // the picture's place on the screen
};

// Dark enough to be text on a light or coloured face.
inline bool IsDark(gdi::COLORREF c) {
    return gdi::GetRValue(c) < 100 && gdi::GetGValue(c) < 100 && gdi::GetBValue(c) < 100;
}

// Settings for n nodes named "node1".. with the default columns.
TSettings NodesSettings(int nodes, int language = 1);

// A row as a node's refresh would leave it.
TRowRefresh SampleRefresh(int node, int progress, const std::string& marker = "");

class MainFormTest : public skin::ctltest::SkinControlsTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The main window with the settings' rows, shown; skin -1 leaves it without a skin.
    TMainForm* NewMainForm(const TSettings& settings, int skin = 1);
    // The window's (by default the main window's) picture as a PNG in the test pictures folder; the file's path.
    std::string WritePicture(const std::string& name, classes::TCustomForm* window = nullptr);
    void Wheel(classes::TControl* control, int delta);   // a WM_MOUSEWHEEL over the control
    // Pumps the UI thread until done() holds (node threads and workers run on real time); false after
    // timeoutMs, generous for a loaded machine.
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 60000);

    std::unique_ptr<TAppEnvironment> Env;
    TMainForm* Form = nullptr;
};

}
