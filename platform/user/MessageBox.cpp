// MessageBox: layout, the icon glyphs and the modal loop of the plain message box.
#include "platform/user/MessageBox.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PenBrush.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/os/DesktopLanguage.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClient.h"
#include "platform/user/Screen.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/display/Display.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/Button.h"

#include <algorithm>
#include <vector>

namespace korvex::user {

namespace {

constexpr const char* BoxClassName = "KorvexMessageBox";
constexpr int IconSize = 32;
constexpr int Gap = 12;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 23;
constexpr int ButtonGap = 6;

struct TBoxState {
    UINT Type = 0;
    std::string Text;
    RECT TextRect {};
    std::vector<HWND> Buttons;
    int Result = 0;
    bool Done = false;
};

struct TButtonSpec {
    int Id;
    const char* Caption;
};

// The captions in the desktop's language, as its own message boxes have them.
std::vector<TButtonSpec> ButtonsOf(UINT type) {
    const char* ok = os::DesktopText("OK", "ОК");
    const char* cancel = os::DesktopText("Cancel", "Отмена");
    const char* yes = os::DesktopText("&Yes", "&Да");
    const char* no = os::DesktopText("&No", "&Нет");
    const char* retry = os::DesktopText("&Retry", "П&овторить");
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, ok}, {IDCANCEL, cancel}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, os::DesktopText("&Abort", "&Прервать")}, {IDRETRY, retry},
            {IDIGNORE, os::DesktopText("&Ignore", "П&ропустить")}};
    case MB_YESNOCANCEL:
        return {{IDYES, yes}, {IDNO, no}, {IDCANCEL, cancel}};
    case MB_YESNO:
        return {{IDYES, yes}, {IDNO, no}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, retry}, {IDCANCEL, cancel}};
    default:
        return {{IDOK, ok}};
    }
}

// What Escape and the close box answer; 0: they do nothing.
int CancelAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
        return IDCANCEL;
    default:
        return 0;
    }
}

TBoxState* StateOf(HWND hwnd) {
    return reinterpret_cast<TBoxState*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
}

void DrawGlyph(gdi::HDC dc, UINT icon, int x, int y) {
    using namespace gdi;
    if (icon == 0) return;
    COLORREF fill = icon == MB_ICONHAND ? RGB(0xE0, 0x20, 0x20)
        : icon == MB_ICONEXCLAMATION    ? RGB(0xF8, 0xD0, 0x20)
                                        : RGB(0x20, 0x50, 0xD0);
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HBRUSH oldBrush = SelectObject(dc, brush);
    HPEN oldPen = SelectObject(dc, pen);
    const char* mark = "i";
    if (icon == MB_ICONEXCLAMATION) {
        POINT points[] = {{x + IconSize / 2, y + 1}, {x + IconSize - 1, y + IconSize - 2}, {x, y + IconSize - 2}};
        Polygon(dc, points, 3);
        mark = "!";
    } else {
        Ellipse(dc, x, y, x + IconSize, y + IconSize);
        if (icon == MB_ICONHAND) mark = "X";
        if (icon == MB_ICONQUESTION) mark = "?";
    }
    LOGFONT lf = StockLogFont(DEFAULT_GUI_FONT);
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirect(lf);
    HFONT oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, icon == MB_ICONEXCLAMATION ? RGB(0, 0, 0) : RGB(0xFF, 0xFF, 0xFF));
    RECT r {x, y + (icon == MB_ICONEXCLAMATION ? 4 : 0), x + IconSize, y + IconSize};
    DrawText(dc, mark, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(font);
    DeleteObject(brush);
    DeleteObject(pen);
}

void Finish(HWND hwnd, int answer) {
    TBoxState* state = StateOf(hwnd);
    if (state == nullptr || state->Done || answer == 0) return;
    state->Result = answer;
    state->Done = true;
}

// Tab and the arrows: the next (or previous) button takes the focus.
void MoveFocus(TBoxState* state, int step) {
    auto it = std::find(state->Buttons.begin(), state->Buttons.end(), GetFocus());
    int index = it == state->Buttons.end() ? 0 : int(it - state->Buttons.begin());
    int count = int(state->Buttons.size());
    SetFocus(state->Buttons[std::size_t(((index + step) % count + count) % count)]);
}

LRESULT BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps {};
        HDC dc = BeginPaint(hwnd, &ps);
        if (TBoxState* state = StateOf(hwnd)) {
            DrawGlyph(dc, state->Type & MB_ICONMASK, Gap, Gap);
            gdi::HFONT old = gdi::SelectObject(dc, gdi::GetStockFont(gdi::DEFAULT_GUI_FONT));
            gdi::SetBkMode(dc, gdi::TRANSPARENT);
            gdi::SetTextColor(dc, gdi::GetSysColor(gdi::COLOR_WINDOWTEXT));
            RECT r = state->TextRect;
            gdi::DrawText(dc, state->Text, &r, gdi::DT_WORDBREAK | gdi::DT_NOPREFIX | gdi::DT_EXPANDTABS);
            gdi::SelectObject(dc, old);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) Finish(hwnd, LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        if (TBoxState* state = StateOf(hwnd)) Finish(hwnd, CancelAnswer(state->Type));
        return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

bool RegisterBoxClass() {
    static const bool registered = [] {
        RegisterButtonClass();
        WNDCLASSEX wc;
        wc.lpfnWndProc = BoxProc;
        wc.hbrBackground = SysColorBackground(gdi::COLOR_BTNFACE);
        wc.lpszClassName = BoxClassName;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        return RegisterClassEx(&wc) != 0;
    }();
    return registered;
}

// The keys the box handles itself before the buttons see them; true when taken.
bool BoxKey(HWND box, TBoxState* state, const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_CHAR) return false;
    if (msg.hwnd != box && GetParent(msg.hwnd) != box) return false;
    if (msg.message == WM_CHAR) return msg.wParam == '\r' || msg.wParam == 27 || msg.wParam == '\t';
    switch (msg.wParam) {
    case VK_RETURN: {
        HWND focus = GetFocus();
        auto it = std::find(state->Buttons.begin(), state->Buttons.end(), focus);
        if (it != state->Buttons.end()) Finish(box, GetDlgCtrlID(*it));
        return true;
    }
    case VK_ESCAPE:
        Finish(box, CancelAnswer(state->Type));
        return true;
    case VK_TAB:
        MoveFocus(state, (GetKeyState(VK_SHIFT) & 0x8000) != 0 ? -1 : 1);
        return true;
    case VK_LEFT:
    case VK_UP:
        MoveFocus(state, -1);
        return true;
    case VK_RIGHT:
    case VK_DOWN:
        MoveFocus(state, 1);
        return true;
    default:
        return false;
    }
}

}   // namespace

int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    if (!RegisterBoxClass()) return 0;
    TBoxState state;
    state.Type = type;
    state.Text = text;
    std::vector<TButtonSpec> specs = ButtonsOf(type);

    // Measure the text.
    gdi::HDC measure = gdi::CreateCompatibleDC(nullptr);
    gdi::HFONT oldFont = gdi::SelectObject(measure, gdi::GetStockFont(gdi::DEFAULT_GUI_FONT));
    RECT textRect {0, 0, 360, 0};
    gdi::DrawText(measure, text.empty() ? " " : text, &textRect,
        gdi::DT_WORDBREAK | gdi::DT_NOPREFIX | gdi::DT_EXPANDTABS | gdi::DT_CALCRECT);
    gdi::SelectObject(measure, oldFont);
    gdi::DeleteDC(measure);
    bool hasIcon = (type & MB_ICONMASK) != 0;
    int textLeft = Gap + (hasIcon ? IconSize + Gap : 0);
    int textHeight = textRect.bottom - textRect.top;
    int textTop = Gap + (hasIcon && textHeight < IconSize ? (IconSize - textHeight) / 2 : 0);
    state.TextRect = {textLeft, textTop, textLeft + textRect.right - textRect.left, textTop + textHeight};
    int buttonsWidth = int(specs.size()) * ButtonWidth + int(specs.size() - 1) * ButtonGap;
    int clientWidth = std::max(state.TextRect.right + Gap, buttonsWidth + 2 * Gap);
    int contentBottom = std::max(state.TextRect.bottom, hasIcon ? Gap + IconSize : 0);
    int buttonsTop = contentBottom + Gap + 4;
    int clientHeight = buttonsTop + ButtonHeight + Gap;

    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT frame {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, false, WS_EX_DLGMODALFRAME);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    RECT area {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner != nullptr && IsWindow(owner)) GetWindowRect(owner, &area);
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;

    HWND box = CreateWindowEx(
        WS_EX_DLGMODALFRAME, BoxClassName, caption, style, x, y, width, height, owner, nullptr, nullptr, nullptr);
    if (box == nullptr) return 0;
    SetWindowLongPtr(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    std::size_t defIndex = std::min<std::size_t>((type & MB_DEFMASK) >> 8, specs.size() - 1);
    int bx = (clientWidth - buttonsWidth) / 2;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == defIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        HWND button = CreateWindowEx(0, "BUTTON", specs[i].Caption, buttonStyle, bx, buttonsTop, ButtonWidth,
            ButtonHeight, box, ChildId(specs[i].Id), nullptr, nullptr);
        SendMessage(button, WM_SETFONT, reinterpret_cast<WPARAM>(gdi::GetStockFont(gdi::DEFAULT_GUI_FONT)), 0);
        state.Buttons.push_back(button);
        bx += ButtonWidth + ButtonGap;
    }
    // Without a Cancel button the close box is greyed (MB_OK keeps it: it answers IDOK).
    bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, false);
    ShowWindow(box, SW_SHOWNORMAL);
    SetForegroundWindow(box);
    SetFocus(state.Buttons[defIndex]);

    bool quit = false;
    int quitCode = 0;
    while (!state.Done && IsWindow(box)) {
        MSG msg {};
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (owner != nullptr) SendMessage(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(box));
            if (state.Done) break;
            if (!PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            quit = true;
            quitCode = int(msg.wParam);
            state.Result = CancelAnswer(type) != 0 ? CancelAnswer(type) : IDCANCEL;
            break;
        }
        if (CallMessageFilter(msg)) continue;
        if (BoxKey(box, &state, msg)) continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    if (ownerWasEnabled) EnableWindow(owner, true);
    if (IsWindow(box)) {
        SetWindowLongPtr(box, GWLP_USERDATA, 0);
        DestroyWindow(box);
    }
    if (owner != nullptr && IsWindow(owner)) SetActiveWindow(owner);
    if (quit) PostQuitMessage(quitCode);
    return state.Result;
}

bool MessageBeep(UINT) {
    Display* display = CurrentDisplay();
    if (display == nullptr) return false;
    display->Bell();
    return true;
}

}
