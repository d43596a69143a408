// Test support for the skinned windows: forms with a skin provider on the headless display, our four skins,
// the system commands a form receives, and clicks at window coordinates.
#pragma once

#include "support/ControlsKit.h"

#include "platform/classes/TForm.h"
#include "skin/windows/sSkinProvider.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::skin::wintest {

class FormsTest : public ctltest::ControlsTest {
protected:
    void TearDown() override;
    // A shown form of the style carrying a provider with these border icons (as the provider's own).
    classes::TForm* NewSkinnedForm(classes::TFormBorderStyle style, TsBorderIcons icons, int clientWidth = 300,
        int clientHeight = 160, int left = 60, int top = 60);
    static TsSkinProvider* ProviderOf(classes::TForm* form);
    // A shown MDI frame of the application at (40, 30) of that size, carrying a provider.
    classes::TForm* ShownMdiFrame(int width, int height);
    // Records every WM_SYSCOMMAND the form gets through a hook installed over the provider's (chained the way
    // the tray's minimize hook is), then passes it on. A command in commandsToSwallow goes no further.
    void WatchSysCommands(classes::TForm* form, std::vector<classes::WPARAM> commandsToSwallow = {});
    std::vector<classes::WPARAM> SysCommands;   // low 4 bits masked off
    // Window coordinates of a form to the screen; input there.
    classes::TPoint ScreenOf(classes::TForm* form, int x, int y) const;
    classes::TPoint CentreOf(classes::TForm* form, const classes::TRect& r) const;
    classes::LRESULT HitAt(classes::TForm* form, classes::TPoint screen);
    gdi::COLORREF WindowPixel(classes::TForm* form, int x, int y) const;   // what the screen shows there
    // The screen's pixels inside a screen rectangle that satisfy the test.
    int ScreenPixels(const gdi::RECT& screen, const std::function<bool(gdi::COLORREF)>& test) const;
    // Those that stand out from the background colour: text, lines, a highlight.
    int InkPixels(const gdi::RECT& screen, gdi::COLORREF background) const;
    // A rectangle of a control's client area on the screen.
    static gdi::RECT ScreenRectOf(const classes::TControl* control, const classes::TRect& client);
    std::string WindowsPictureDir() const;
    // Runs call, which shows a form modally, one step per idle turn (RunModalSteps).
    using ModalStep = std::function<void(classes::TForm* form)>;
    int RunModal(const std::function<int()>& call, std::vector<ModalStep> steps);
    // From now until the test ends the application's help requests are answered by recording their help
    // contexts here (each must be HELP_CONTEXT).
    void RecordHelpRequests();
    std::vector<long> HelpAsked;

    // A click at the middle of a control, or at a point of its client area.
    void ClickOn(classes::TControl* control);
    void ClickOn(classes::TControl* control, int x, int y);

private:
    std::vector<classes::TForm*> FForms;
};

// An opaque icon of one colour, size x size.
std::unique_ptr<classes::TIcon> SolidIcon(int size, classes::TColor color);

}
