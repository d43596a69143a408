// Test support for the native controls.
#include "ControlTestSupport.h"

#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/Button.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/ListBox.h"
#include "platform/user/controls/ScrollBar.h"
#include "platform/user/controls/Static.h"

namespace korvex::user::test {

void ControlTest::SetUp() {
    UserTest::SetUp();
    RegisterButtonClass();
    RegisterStaticClass();
    RegisterScrollBarClass();
    RegisterListBoxClass();
    RegisterComboBoxClass();
    RegisterEditClass();
    Parent = Create(WS_POPUP | WS_VISIBLE, 100, 100, 400, 300);
    Pump();
    ClearLog();
}

HWND ControlTest::Make(const char* className, const std::string& text, DWORD style, int x, int y, int width, int height,
    int id, HWND parent) {
    HWND hwnd = CreateWindowEx(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
        parent ? parent : Parent, ChildId(id), nullptr, nullptr);
    Pump();
    return hwnd;
}

std::vector<WORD> ControlTest::Codes(int id) const {
    std::vector<WORD> codes;
    for (const auto& m : Log(Parent))
        if (m.Msg == WM_COMMAND && LOWORD(m.WParam) == id) codes.push_back(HIWORD(m.WParam));
    return codes;
}

int ControlTest::CodeCount(int id, WORD code) const {
    int n = 0;
    for (WORD c : Codes(id))
        if (c == code) ++n;
    return n;
}

POINT ControlTest::OnScreen(HWND hwnd, int x, int y) const {
    POINT p {x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

void ControlTest::ClickAt(HWND hwnd, int x, int y) {
    const POINT p = OnScreen(hwnd, x, y);
    Screen->Click(p.x, p.y);
    Pump();
}

void ControlTest::PressAt(HWND hwnd, int x, int y) {
    const POINT p = OnScreen(hwnd, x, y);
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Pump();
}

void ControlTest::MoveTo(HWND hwnd, int x, int y) {
    const POINT p = OnScreen(hwnd, x, y);
    Screen->MoveMouse(p.x, p.y);
    Pump();
}

void ControlTest::ReleaseAt(HWND hwnd, int x, int y) {
    const POINT p = OnScreen(hwnd, x, y);
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonUp(MouseButton::Left, p.x, p.y);
    Pump();
}

void ControlTest::Key(unsigned vk, unsigned modifiers) {
    Screen->Press(vk, {}, modifiers);
    Pump();
}

void ControlTest::Type(const std::string& text) {
    for (char c : text) {
        const unsigned vk = (c >= 'a' && c <= 'z') ? unsigned(c - 'a' + 'A') : unsigned(static_cast<unsigned char>(c));
        Screen->Press(vk, std::string(1, c));
    }
    Pump();
}

COLORREF ControlTest::ClientPixel(HWND hwnd, int x, int y) const {
    POINT p {x, y};
    ClientToScreen(hwnd, &p);
    const RECT window = WindowRect(hwnd);
    return StorePixel(hwnd, p.x - window.left, p.y - window.top);
}

void ControlTest::RecordOwnerDraw(std::vector<MEASUREITEMSTRUCT>& measured, std::vector<DRAWITEMSTRUCT>& drawn,
    std::function<UINT(const MEASUREITEMSTRUCT&)> height) {
    SetHandler(Parent, [&measured, &drawn, height = std::move(height)](HWND, UINT msg, WPARAM, LPARAM lParam)
        -> std::optional<LRESULT> {
        if (msg == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            measured.push_back(*mis);
            mis->itemHeight = height(*mis);
            return 1;
        }
        if (msg == WM_DRAWITEM) {
            drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return 1;
        }
        return std::nullopt;
    });
}

}
