// Test support for the native controls: a logging parent window, control creation, clicks and keys on them.
#pragma once

#include "UserTestSupport.h"

#include "platform/user/controls/ControlsCommon.h"

#include <functional>
#include <string>
#include <vector>

namespace korvex::user::test {

// A visible popup parent at (100, 100), 400 x 300, of the logging test class; the standard control classes
// are registered.
class ControlTest : public UserTest {
protected:
    void SetUp() override;

    HWND Make(const char* className, const std::string& text, DWORD style, int x, int y, int width, int height, int id,
        HWND parent = nullptr);
    // The WM_COMMAND notification codes the parent got from the control with this id, in order.
    std::vector<WORD> Codes(int id) const;
    int CodeCount(int id, WORD code) const;
    POINT OnScreen(HWND hwnd, int x, int y) const;   // a client point of hwnd on the screen
    void ClickAt(HWND hwnd, int x, int y);   // move, press and release, then pump
    void PressAt(HWND hwnd, int x, int y);
    void MoveTo(HWND hwnd, int x, int y);
    void ReleaseAt(HWND hwnd, int x, int y);
    void Key(unsigned vk, unsigned modifiers = 0);   // down and up, then pump
    void Type(const std::string& text);   // characters as keys with their text, then pump
    // The colour of a client pixel of hwnd in its backing store.
    COLORREF ClientPixel(HWND hwnd, int x, int y) const;
    // From now on the parent keeps a copy of every owner-draw request it gets and answers WM_MEASUREITEM with
    // height(request).
    void RecordOwnerDraw(std::vector<MEASUREITEMSTRUCT>& measured, std::vector<DRAWITEMSTRUCT>& drawn,
        std::function<UINT(const MEASUREITEMSTRUCT&)> height);

    HWND Parent = nullptr;
};

}
