// TApplication: the loop, the application window and its hooks, exceptions, minimizing, the mouse control.
#include "platform/classes/TApplication.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/classes/TForm.h"
#include "platform/classes/THintWindow.h"
#include "platform/classes/TScreen.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Mdi.h"
#include "platform/user/MessageBox.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"


namespace korvex::classes {

using namespace user;

TApplication* Application = nullptr;
THintWindowClass HintWindowClass;

namespace {
constexpr const char* AppWindowClass = "TApplication";
constexpr gdi::SIZE AppWindowSize {160, 60};

bool RegisterAppClass() {
    WNDCLASSEX existing;
    if (GetClassInfoEx(AppWindowClass, &existing)) return true;
    WNDCLASSEX wc;
    wc.lpfnWndProc = user::DefWindowProc;
    wc.lpszClassName = AppWindowClass;
    return RegisterClassEx(&wc) != 0;
}
}

void InitApplication() {
    if (Screen == nullptr) new TScreen(nullptr);
    if (Application == nullptr) new TApplication(nullptr);
    Application->Handle();
}

void DoneApplication() {
    if (Application != nullptr) Application->Free();
    if (Screen != nullptr) Screen->Free();
}

TApplication::TApplication(TComponent* owner)
    : TComponent(owner)
    , FIcon(std::make_unique<TIcon>()) {
    if (Application == nullptr) Application = this;
    if (Application == this) {
        SetMessageFilter([this](MSG& msg) { return FilterMessage(msg); });
        SetWindowProcExceptionHandler([this](std::exception_ptr e) {
            try {
                std::rethrow_exception(e);
            } catch (...) {
                HandleException(this);
            }
        });
    }
}

TApplication::~TApplication() {
    Destroying();
    DestroyComponents();   // the forms, while the application window still owns them
    FMouseControl = nullptr;
    DestroyHandle();
    if (Application == this) {
        SetMessageFilter(nullptr);
        SetWindowProcExceptionHandler(nullptr);
        Application = nullptr;
    }
}

TClass TApplication::StaticClass() {
    static const TClassInfo info = MakeClass<TApplication, TComponent>("TApplication");
    return &info;
}

// ---------------------------------------------------------------------------------------------------------
// The application window

HWND TApplication::Handle() {
    if (FHandle != nullptr && IsWindow(FHandle)) return FHandle;
    FHandle = nullptr;
    if (!RegisterAppClass()) return nullptr;
    if (FObjectInstance == nullptr)
        FObjectInstance = MakeObjectInstance([this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            TMessage message {msg, wParam, lParam, 0};
            try {
                WndProc(message);
            } catch (...) {
                HandleException(this);
            }
            return message.Result;
        });
    // Never shown but while minimized: it owns the forms, so minimizing it hides them all. It has a client
    // area, so minimizing and restoring it change its size and it hears WM_SIZE.
    FHandle = CreateWindowEx(0, AppWindowClass, FTitle,
        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, GetSystemMetrics(SM_CXSCREEN) / 2,
        GetSystemMetrics(SM_CYSCREEN) / 2, AppWindowSize.cx, AppWindowSize.cy, nullptr, nullptr, nullptr, nullptr);
    if (FHandle != nullptr) SetWindowLongPtr(FHandle, GWL_WNDPROC, LongFromProc(FObjectInstance));
    return FHandle;
}

void TApplication::DestroyHandle() {
    if (FHandle != nullptr && IsWindow(FHandle)) DestroyWindow(FHandle);
    FHandle = nullptr;
    if (FObjectInstance != nullptr) FreeObjectInstance(FObjectInstance);
    FObjectInstance = nullptr;
}

void TApplication::SetIcon(const TIcon* value) {
    FIcon->Assign(value);
}

void TApplication::SetTitle(const std::string& value) {
    FTitle = value;
    if (FHandle != nullptr) SetWindowText(FHandle, value);
}

bool TApplication::HelpContext(int context) {
    bool callHelp = true;
    return OnHelp ? OnHelp(HELP_CONTEXT, context, callHelp) : false;
}

void TApplication::SetBiDiMode(TBiDiMode value) {
    if (value == FBiDiMode) return;
    FBiDiMode = value;
    if (Screen == nullptr) return;
    std::vector<TCustomForm*> forms;
    for (int i = 0; i < Screen->CustomFormCount(); ++i)
        forms.push_back(Screen->CustomForms(i));
    for (TCustomForm* form : forms)
        form->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

int TApplication::HookMainWindow(TWindowHook hook) {
    int id = FNextHookId++;
    FHooks.push_back({id, std::move(hook)});
    return id;
}

void TApplication::UnhookMainWindow(int id) {
    std::erase_if(FHooks, [id](const THook& h) { return h.Id == id; });
}

void TApplication::DefaultHandler(TMessage& m) {
    if (FHandle != nullptr) m.Result = user::DefWindowProc(FHandle, m.Msg, m.WParam, m.LParam);
}

void TApplication::WndProc(TMessage& m) {
    // Hooks first; a copy, so a hook may unhook itself.
    std::vector<THook> hooks = FHooks;
    for (const THook& h : hooks)
        if (h.Hook && h.Hook(m)) return;
    switch (m.Msg) {
    case WM_SYSCOMMAND:
        switch (m.WParam & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return;
        case SC_RESTORE:
            Restore();
            return;
        }
        break;
    case WM_CLOSE:
        if (FMainForm != nullptr) FMainForm->Close();
        return;
    case WM_ENDSESSION:
        if (m.WParam != 0) FTerminated = true;
        return;
    case WM_ACTIVATEAPP:
        DefaultHandler(m);
        FActive = m.WParam != 0;
        if (FActive) {
            if (OnActivate) OnActivate(this);
        } else {
            if (OnDeactivate) OnDeactivate(this);
        }
        return;
    case CM_ACTIVATE:
        if (OnActivate) OnActivate(this);
        return;
    case CM_DEACTIVATE:
        if (OnDeactivate) OnDeactivate(this);
        return;
    }
    DefaultHandler(m);
}

// ---------------------------------------------------------------------------------------------------------
// Forms and the loop

void TApplication::FormCreated(TComponent* form) {
    auto* f = dynamic_cast<TForm*>(form);
    if (FMainForm == nullptr && f != nullptr) {
        f->HandleNeeded();
        FMainForm = f;
    }
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FMainForm) FMainForm = nullptr;
}

// Without a main form there is nothing to run.
void TApplication::Run() {
    if (FMainForm == nullptr) return;
    // The application's own window has no button on this desktop: a minimized main form is shown iconified
    // (its own icon is the way back).
    if (FShowMainForm) FMainForm->SetVisible(true);
    while (!FTerminated) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    user::ProcessMessage(msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) { }
    FlushDisplay();
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) {
        Idle();
        if (!FTerminated) WaitMessage();
    }
}

void TApplication::Idle() {
    bool done = true;
    if (OnIdle) OnIdle(this, done);
    FreeDeviceContexts();
    FlushDisplay();
}

// The filter every loop of the window layer runs: OnMessage, then key messages to the focused control.
bool TApplication::FilterMessage(MSG& msg) {
    HintMessageSeen(msg);
    bool handled = false;
    if (OnMessage) OnMessage(msg, handled);
    if (handled) return true;
    // Ctrl+F6 and Ctrl+F4 of an MDI main form's children.
    if (FMainForm != nullptr && FMainForm->ClientHandle() != nullptr && TranslateMDISysAccel(FMainForm->ClientHandle(), &msg))
        return true;
    return IsKeyMsg(msg);
}

// A key message goes first to the nearest control of the library as CN_KEYDOWN ...; nonzero: taken there.
bool TApplication::IsKeyMsg(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND wnd = GetCapture();
    if (wnd == nullptr) {
        wnd = msg.hwnd;
        while (wnd != nullptr && TWinControl::FindControl(wnd) == nullptr)
            wnd = GetParent(wnd);
        if (wnd == nullptr) return false;
    } else if (TWinControl::FindControl(wnd) == nullptr) {
        return false;
    }
    return SendMessage(wnd, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

// ---------------------------------------------------------------------------------------------------------
// Exceptions

void TApplication::HandleException(TObject*) {
    std::exception_ptr current = std::current_exception();
    if (!current) return;
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& e) {
        if (OnException)
            OnException(this, e);
        else
            ShowException(e);
    } catch (...) {
        base::Exception unknown("Unknown exception");
        if (OnException)
            OnException(this, unknown);
        else
            ShowException(unknown);
    }
}

void TApplication::ShowException(const std::exception& e) {
    std::string text = e.what();
    if (!text.empty() && text.back() != '.') text += '.';
    HWND owner = GetActiveWindow();
    if (owner == nullptr) owner = Handle();
    user::MessageBox(owner, text, FTitle.empty() ? "Error" : FTitle, user::MB_OK | user::MB_ICONSTOP);
}

// ---------------------------------------------------------------------------------------------------------
// Minimizing

void TApplication::Minimize() {
    HWND handle = Handle();
    if (handle == nullptr || IsIconic(handle)) return;
    ShowWindow(handle, SW_MINIMIZE);
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    HWND handle = Handle();
    if (handle == nullptr || !IsIconic(handle)) return;
    ShowWindow(handle, SW_RESTORE);
    // The window itself stays out of sight; its forms are back.
    ShowWindow(handle, SW_HIDE);
    if (Screen != nullptr && Screen->ActiveControl() != nullptr && Screen->ActiveControl()->HandleAllocated())
        user::SetFocus(Screen->ActiveControl()->WindowHandle());
    if (OnRestore) OnRestore(this);
}

void TApplication::BringToFront() {
    if (Screen == nullptr) return;
    TCustomForm* form = Screen->FocusedForm();
    if (form == nullptr && FMainForm != nullptr) form = FMainForm;
    if (form != nullptr && form->HandleAllocated()) SetForegroundWindow(form->WindowHandle());
}

// Hints: CancelHint and HintMouseMessage are with the hint timing (THintTiming.cpp).

// ---------------------------------------------------------------------------------------------------------
// The control under the mouse

void TApplication::UpdateMouseControl(TPoint screenPos, HWND leftWindow, TMouseArea leftArea) {
    if (leftWindow != nullptr && leftWindow == FTrackedWindow && leftArea == FTrackedArea) FTrackedWindow = nullptr;
    TControl* control = nullptr;
    HWND wnd = WindowFromPoint(screenPos);
    TWinControl* window = nullptr;
    for (HWND w = wnd; w != nullptr && window == nullptr; w = GetParent(w))
        window = TWinControl::FindControl(w);
    TMouseArea area = TMouseArea::Client;
    if (window != nullptr && window->WindowHandle() == wnd
        && SendMessage(wnd, WM_NCHITTEST, 0, MAKELPARAM(screenPos.x, screenPos.y)) != HTCLIENT)
        area = TMouseArea::NonClient;
    if (window != nullptr) {
        if (area == TMouseArea::Client) control = window->ControlAtPos(window->ScreenToClient(screenPos), true);
        if (control == nullptr) control = window;
        if (control->ComponentState().Contains(csDesigning)) control = nullptr;
    }
    TrackMouseLeave(window, area, leftWindow, leftArea);
    if (control == FMouseControl) return;
    TControl* capture = GetCaptureControl();
    TControl* old = FMouseControl;
    FMouseControl = control;
    if (old != nullptr && (capture == nullptr || capture == old)) old->Perform(CM_MOUSELEAVE, 0, 0);
    // The leave handler may have moved the mouse control on (or freed the new one).
    if (FMouseControl == control && control != nullptr && (capture == nullptr || capture == control))
        control->Perform(CM_MOUSEENTER, 0, 0);
}

// The pointer leaving the window is reported once, by TrackMouseEvent, for the area it is in now. Tracking
// an area the pointer is outside of reports the leave at once, so the area a leave just came from is not
// asked for again: that would answer every leave with another, and no input would be read again.
void TApplication::TrackMouseLeave(TWinControl* window, TMouseArea area, HWND leftWindow, TMouseArea leftArea) {
    if (window == nullptr || !window->HandleAllocated()) {
        FTrackedWindow = nullptr;
        return;
    }
    HWND handle = window->WindowHandle();
    if (FTrackedWindow == handle && FTrackedArea == area) return;
    if (leftWindow == handle && leftArea == area) return;
    TRACKMOUSEEVENT tme;
    tme.dwFlags = area == TMouseArea::NonClient ? TME_LEAVE | TME_NONCLIENT : TME_LEAVE;
    tme.hwndTrack = handle;
    if (!TrackMouseEvent(&tme)) return;
    FTrackedWindow = handle;
    FTrackedArea = area;
}

void TApplication::ControlDestroyed(TControl* control) {
    if (FMouseControl == control) FMouseControl = nullptr;
    if (auto* win = dynamic_cast<TWinControl*>(control); win != nullptr && win->WindowHandle() == FTrackedWindow)
        FTrackedWindow = nullptr;
    if (control == FMainForm) FMainForm = nullptr;
}

}
