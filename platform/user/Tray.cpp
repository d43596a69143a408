// The notification area: Shell_NotifyIcon over the display's tray, the icons' callbacks and double clicks,
// and the windows of its popups.
#include "platform/user/Tray.h"

#include "platform/base/Utf8.h"
#include "platform/user/InputState.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/TrayCore.h"
#include "platform/user/Window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace korvex::user {

namespace detail {

namespace {

class TrayState final : public TraySink {
public:
    std::vector<std::unique_ptr<TrayIcon>> Icons;
    TrayIconId NextKey = 1;
    TrayHost* Host = nullptr;   // the tray the icons' Docked flags refer to
    bool ToldNoTray = false;
    TrayLogHook Log;

    // The current display's tray; a new one gets the icons.
    TrayHost* Current() {
        TrayHost* host = CurrentTrayHost();
        if (host != Host) {
            for (auto& icon : Icons)
                icon->Docked = false;
            Host = host;
            if (Host != nullptr) {
                Host->SetSink(this);
                DockAll();
            }
        }
        return Host;
    }

    void DockAll() {
        for (auto& icon : Icons)
            Dock(*icon);
    }

    void Dock(TrayIcon& icon) {
        if (Host == nullptr || icon.Docked) return;
        if (!Host->Available() || !Host->Dock(icon.Key)) {
            SayNoTray();
            return;
        }
        icon.Docked = true;
        ShowPicture(icon);
    }

    void Undock(TrayIcon& icon) {
        if (Host != nullptr && icon.Docked) Host->Undock(icon.Key);
        icon.Docked = false;
    }

    void ShowPicture(const TrayIcon& icon) {
        if (Host == nullptr || !icon.Docked) return;
        gdi::GdiHandle<gdi::Bitmap> fitted;
        if (icon.Picture) fitted.Reset(FitTrayPicture(*icon.Picture.Get(), Host->IconSize()));
        Host->SetPicture(icon.Key, fitted.Get());
    }

    void SayNoTray() {
        if (ToldNoTray) return;
        ToldNoTray = true;
        Say("No notification area on this desktop: the tray icon waits for one");
    }

    void Say(const std::string& line) {
        if (Log) {
            Log(line);
            return;
        }
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    }

    // Icons whose owner window is gone go with it.
    void Purge() {
        for (size_t i = 0; i < Icons.size();) {
            if (IsWindow(Icons[i]->Owner)) {
                ++i;
                continue;
            }
            TrayTipHide(Icons[i]->Key);
            HideTrayBalloon(Icons[i]->Key, false);
            Undock(*Icons[i]);
            Icons.erase(Icons.begin() + std::ptrdiff_t(i));
        }
    }

    TrayIcon* Find(HWND owner, UINT id) {
        for (auto& icon : Icons)
            if (icon->Owner == owner && icon->Id == id) return icon.get();
        return nullptr;
    }

    void OnIconInput(TrayIconId key, const InputEvent& event) override;

    void OnTrayAppeared() override {
        for (auto& icon : Icons)
            icon->Docked = false;
        DockAll();
        PlaceTrayBalloon();
        PostMessage(HWND_BROADCAST, RegisterWindowMessage(TaskbarCreatedMessageName), 0, 0);
    }

    void OnTrayGone() override {
        for (auto& icon : Icons)
            icon->Docked = false;
        TrayTipHide(0);
        PlaceTrayBalloon();
    }
};

TrayState& State() {
    static TrayState state;
    return state;
}

UINT ButtonCode(MouseButton button, InputKind kind, bool dbl) {
    switch (button) {
    case MouseButton::Left:
        return kind == InputKind::ButtonUp ? WM_LBUTTONUP : dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
    case MouseButton::Right:
        return kind == InputKind::ButtonUp ? WM_RBUTTONUP : dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
    case MouseButton::Middle:
        return kind == InputKind::ButtonUp ? WM_MBUTTONUP : dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
    default:
        return 0;
    }
}

void TrayState::OnIconInput(TrayIconId key, const InputEvent& event) {
    TrayIcon* icon = FindTrayIcon(key);
    if (icon == nullptr) return;
    NoteAsyncInput(event);
    switch (event.Kind) {
    case InputKind::MouseMove:
        TrayTipPointer(*icon, event.ScreenPos);
        NotifyTrayOwner(*icon, WM_MOUSEMOVE);
        break;
    case InputKind::ButtonDown: {
        TrayTipHide(key);
        // A second press of the same button soon enough and near enough is the double click.
        std::uint64_t since = event.TimeMs - icon->LastDownMs;
        bool dbl = icon->LastDown == event.Button && event.TimeMs >= icon->LastDownMs && since <= GetDoubleClickTime()
            && std::abs(event.ScreenPos.x - icon->LastDownPos.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2
            && std::abs(event.ScreenPos.y - icon->LastDownPos.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        UINT code = ButtonCode(event.Button, event.Kind, dbl);
        if (code == 0) break;
        icon->LastDown = dbl ? MouseButton::None : event.Button;
        icon->LastDownMs = event.TimeMs;
        icon->LastDownPos = event.ScreenPos;
        NotifyTrayOwner(*icon, code);
        break;
    }
    case InputKind::ButtonUp: {
        UINT code = ButtonCode(event.Button, event.Kind, false);
        if (code == 0) break;
        NotifyTrayOwner(*icon, code);
        if (icon->Version >= NOTIFYICON_VERSION) {
            if (event.Button == MouseButton::Left) NotifyTrayOwner(*icon, NIN_SELECT);
            if (event.Button == MouseButton::Right) NotifyTrayOwner(*icon, WM_CONTEXTMENU);
        }
        break;
    }
    case InputKind::Leave:
        TrayTipHide(key);
        break;
    default:
        break;
    }
}

}   // namespace

TrayIcon* FindTrayIcon(TrayIconId key) {
    if (key == 0) return nullptr;
    for (auto& icon : State().Icons)
        if (icon->Key == key) return IsWindow(icon->Owner) ? icon.get() : nullptr;
    return nullptr;
}

void NotifyTrayOwner(const TrayIcon& icon, UINT code) {
    if (icon.CallbackMessage == 0) return;
    PostMessage(icon.Owner, icon.CallbackMessage, WPARAM(icon.Id), LPARAM(code));
}

bool TrayIconRect(const TrayIcon& icon, RECT* rect) {
    TrayState& state = State();
    return icon.Docked && state.Host != nullptr && state.Host->IconRect(icon.Key, rect);
}

void TrayHostDestroyed(TrayHost* host) {
    TrayState& state = State();
    if (state.Host != host) return;
    state.Host = nullptr;
    for (auto& icon : state.Icons)
        icon->Docked = false;
}

// Bigger pictures are scaled down by area averaging; smaller ones are centred, so pixel art stays sharp.
gdi::Bitmap* FitTrayPicture(const gdi::Bitmap& source, int size) {
    gdi::Bitmap* out = gdi::Bitmap::Create(size, size, gdi::PixelFormat::pf32bit);
    if (out == nullptr || source.Empty() || source.Format() != gdi::PixelFormat::pf32bit) return out;
    int w = source.Width(), h = source.Height();
    if (w <= size && h <= size) {
        int ox = (size - w) / 2, oy = (size - h) / 2;
        for (int y = 0; y < h; ++y)
            std::copy_n(source.ScanLine(y), w * 4, out->ScanLine(y + oy) + ox * 4);
        return out;
    }
    double scale = double(size) / double(std::max(w, h));
    int dw = std::max(1, int(w * scale + 0.5)), dh = std::max(1, int(h * scale + 0.5));
    int ox = (size - dw) / 2, oy = (size - dh) / 2;
    double sx = double(w) / dw, sy = double(h) / dh;
    for (int y = 0; y < dh; ++y) {
        double y0 = y * sy, y1 = y0 + sy;
        for (int x = 0; x < dw; ++x) {
            double x0 = x * sx, x1 = x0 + sx;
            double sum[4] = {0, 0, 0, 0}, area = 0;
            for (int yy = int(y0); yy < h && yy < y1; ++yy) {
                double cy = std::min<double>(yy + 1, y1) - std::max<double>(yy, y0);
                const gdi::BYTE* row = source.ScanLine(yy);
                for (int xx = int(x0); xx < w && xx < x1; ++xx) {
                    double c = cy * (std::min<double>(xx + 1, x1) - std::max<double>(xx, x0));
                    for (int k = 0; k < 4; ++k)
                        sum[k] += c * row[xx * 4 + k];
                    area += c;
                }
            }
            gdi::BYTE* px = out->ScanLine(y + oy) + (x + ox) * 4;
            for (int k = 0; k < 4; ++k)
                px[k] = gdi::BYTE(area > 0 ? std::min(255.0, sum[k] / area + 0.5) : 0);
        }
    }
    return out;
}

HWND MakeTrayPopup(const char* className, WNDPROC proc, int width, int height) {
    WNDCLASSEX existing;
    if (!GetClassInfoEx(className, &existing)) {
        WNDCLASSEX wc;
        wc.lpfnWndProc = proc;
        wc.lpszClassName = className;
        RegisterClassEx(&wc);
    }
    return CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, className, "", WS_POPUP, 0, 0, width,
        height, nullptr, nullptr, nullptr, nullptr);
}

std::optional<LRESULT> TrayPopupMessage(UINT msg) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return std::nullopt;
    }
}

}   // namespace detail

namespace {

using detail::TrayIcon;
using detail::TrayState;

UINT CutTimeout(UINT ms) {
    if (ms == 0) return NOTIFYICON_DEFAULT_TIMEOUT;
    return std::min(ms, NOTIFYICON_MAX_TIMEOUT);
}

// Pixels compared, not handles: a handle may be freed and made again for another picture.
bool SamePicture(const gdi::Bitmap* kept, const gdi::Bitmap* given) {
    if (kept == nullptr || given == nullptr) return kept == given;
    return kept->Width() == given->Width() && kept->Height() == given->Height() && kept->Format() == given->Format()
        && (kept->ByteSize() == 0 || std::memcmp(kept->Bits(), given->Bits(), kept->ByteSize()) == 0);
}

void Apply(TrayState& state, TrayIcon& icon, const NOTIFYICONDATA& data) {
    if (data.uFlags & NIF_MESSAGE) icon.CallbackMessage = data.uCallbackMessage;
    // An owner may modify its icon every second with what it shows already: nothing is copied or shown then.
    if (data.uFlags & NIF_ICON) {
        const gdi::Bitmap* picture = IconPicture(data.hIcon);
        if (!SamePicture(icon.Picture.Get(), picture)) {
            icon.Picture.Reset(picture != nullptr ? picture->Clone() : nullptr);
            state.ShowPicture(icon);
        }
    }
    if (data.uFlags & NIF_TIP) {
        icon.Tip = base::Utf8Left(data.szTip, NOTIFYICON_TIP_CHARS);
        detail::TrayTipRefresh(icon);
    }
    if (data.uFlags & NIF_INFO) {
        if (data.szInfo.empty()) {
            detail::HideTrayBalloon(icon.Key, true);
        } else {
            detail::ShowTrayBalloon(icon, base::Utf8Left(data.szInfoTitle, NOTIFYICON_INFOTITLE_CHARS),
                base::Utf8Left(data.szInfo, NOTIFYICON_INFO_CHARS), data.dwInfoFlags, CutTimeout(data.uTimeout));
        }
    }
}

}   // namespace

bool Shell_NotifyIcon(DWORD message, NOTIFYICONDATA* data) {
    if (data == nullptr || !IsWindow(data->hWnd) || GetWindowThreadId(data->hWnd) != std::this_thread::get_id())
        return false;
    TrayState& state = detail::State();
    state.Purge();
    state.Current();
    TrayIcon* icon = state.Find(data->hWnd, data->uID);
    switch (message) {
    case NIM_ADD:
        if (icon == nullptr) {
            auto made = std::make_unique<TrayIcon>();
            made->Key = state.NextKey++;
            made->Owner = data->hWnd;
            made->Id = data->uID;
            icon = made.get();
            state.Icons.push_back(std::move(made));
            if (state.Host == nullptr) state.SayNoTray();
            state.Dock(*icon);
        }
        Apply(state, *icon, *data);
        return true;
    case NIM_MODIFY:
        if (icon == nullptr) return false;
        Apply(state, *icon, *data);
        return true;
    case NIM_DELETE: {
        if (icon == nullptr) return false;
        detail::TrayTipHide(icon->Key);
        detail::HideTrayBalloon(icon->Key, true);
        state.Undock(*icon);
        std::erase_if(state.Icons, [icon](const auto& i) { return i.get() == icon; });
        return true;
    }
    case NIM_SETFOCUS:
        return icon != nullptr;
    case NIM_SETVERSION:
        if (icon == nullptr || (data->uVersion != 0 && data->uVersion != NOTIFYICON_VERSION)) return false;
        icon->Version = data->uVersion;
        return true;
    default:
        return false;
    }
}

bool GetNotifyIconRect(HWND hwnd, UINT id, RECT* rect) {
    if (rect == nullptr) return false;
    TrayState& state = detail::State();
    state.Current();
    TrayIcon* icon = state.Find(hwnd, id);
    return icon != nullptr && IsWindow(hwnd) && detail::TrayIconRect(*icon, rect);
}

bool NotifyAreaAvailable() {
    detail::TrayHost* host = detail::State().Current();
    return host != nullptr && host->Available();
}

int NotifyIconSize() {
    detail::TrayHost* host = detail::State().Current();
    return host != nullptr ? host->IconSize() : 16;
}

void SetTrayLog(TrayLogHook hook) {
    detail::State().Log = std::move(hook);
}

}
