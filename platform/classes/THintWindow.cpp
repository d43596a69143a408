// THintWindow: a plain popup with the hint text.
#include "platform/classes/THintWindow.h"

#include "platform/classes/TScreen.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Text.h"
#include "platform/user/MessageIds.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

namespace korvex::classes {

using namespace user;

namespace {
inline constexpr UINT HintTextFormat = gdi::DT_LEFT | gdi::DT_WORDBREAK | gdi::DT_NOPREFIX;
}

THintWindow::THintWindow(TComponent* owner)
    : TCustomControl(owner) {
    SetColor(clInfoBk);
    if (Screen != nullptr) Font()->Assign(Screen->HintFont());
    Font()->SetColor(clInfoText);
    SetVisible(false);
}

TClass THintWindow::StaticClass() {
    static const TClassInfo info = MakeClass<THintWindow, TCustomControl>("THintWindow");
    return &info;
}

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.WndParent = nullptr;
    params.WindowClass.style |= CS_SAVEBITS;
}

void THintWindow::WndProc(TMessage& message) {
    if (message.Msg == WM_MOUSEACTIVATE) {
        message.Result = MA_NOACTIVATE;
        return;
    }
    if (message.Msg == WM_NCHITTEST) {   // the pointer passes through to what is under the hint
        message.Result = HTTRANSPARENT;
        return;
    }
    TCustomControl::WndProc(message);
}

void THintWindow::Paint() {
    TRect r = ClientRect();
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(r);
    Canvas()->Font()->Assign(Font());
    r.left += 2;
    r.top += 2;
    HDC dc = Canvas()->Handle();
    gdi::SetBkMode(dc, gdi::TRANSPARENT);
    gdi::DrawText(dc, Caption(), &r, HintTextFormat);
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& text, void*) {
    TRect r = Rect(0, 0, maxWidth, 0);
    HDC dc = gdi::CreateCompatibleDC(nullptr);
    HFONT old = gdi::SelectObject(dc, Font()->Handle());
    gdi::DrawText(dc, text, &r, HintTextFormat | gdi::DT_CALCRECT);
    gdi::SelectObject(dc, old);
    gdi::DeleteDC(dc);
    r.right += 6;
    r.bottom += 4;
    return r;
}

void THintWindow::ActivateHint(TRect rect, const std::string& text) {
    SetCaption(text);
    SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    SetWindowPos(Handle(), HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
        SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ActivateHintData(TRect rect, const std::string& text, void*) {
    ActivateHint(rect, text);
}

void THintWindow::ReleaseHandle() {
    DestroyHandle();
}

bool THintWindow::IsHintShowing() const {
    return HandleAllocated() && IsWindowVisible(WindowHandle());
}

std::string GetShortHint(const std::string& hint) {
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint) {
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

}
