// The application's hints: the pause before showing, the hide pause, OnShowHint and the hint window.
#include "platform/classes/AllocateHWnd.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/THintWindow.h"
#include "platform/classes/TScreen.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Timers.h"

namespace korvex::classes {

using namespace user;

namespace {

inline constexpr std::uintptr_t ShowTimer = 1;
inline constexpr std::uintptr_t HideTimer = 2;
inline constexpr int CursorHeightMargin = 20;   // the hint goes this far below the pointer

// The application's hint state, owned by the application (freed with it).
class THintEngine : public TComponent {
public:
    explicit THintEngine(TApplication* app)
        : TComponent(app)
        , FApp(app) {
        FWindow = AllocateHWnd([this](TMessage& m) {
            if (m.Msg != WM_TIMER) {
                m.Result = user::DefWindowProc(nullptr, m.Msg, m.WParam, m.LParam);
                return;
            }
            KillTimer(FWindow, m.WParam);
            if (m.WParam == ShowTimer) ShowHint();
            if (m.WParam == HideTimer) HideHint();
        });
    }
    ~THintEngine() override {
        DeallocateHWnd(FWindow);
        if (Current == this) Current = nullptr;
    }
    static THintEngine* Of(TApplication* app) {
        if (Current == nullptr) Current = new THintEngine(app);
        return Current;
    }
    static THintEngine* Current;

    void MouseMoved(TControl* control) {
        TControl* hintControl = FindHintControl(control);
        if (hintControl == FControl && (FControl == nullptr || !LeftCursorRect())) return;
        const bool wasShowing = FHint != nullptr && FHint->IsHintShowing();
        Cancel();
        FControl = hintControl;
        if (FControl == nullptr) return;
        FControl->FreeNotification(this);
        SetTimer(FWindow, ShowTimer, UINT(wasShowing ? FApp->HintShortPause() : FApp->HintPause()), nullptr);
    }

    void Cancel() {
        FHasCursorRect = false;
        KillTimer(FWindow, ShowTimer);
        KillTimer(FWindow, HideTimer);
        HideHint();
        if (FControl != nullptr) FControl->RemoveFreeNotification(this);
        FControl = nullptr;
    }

    THintWindow* Window() const { return FHint; }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation != opRemove) return;
        if (component == FControl) {
            KillTimer(FWindow, ShowTimer);
            HideHint();
            FControl = nullptr;
        }
        if (component == FHint) FHint = nullptr;
    }

private:
    // The control itself or the nearest parent with a hint; nullptr when hints are off for it.
    static TControl* FindHintControl(TControl* control) {
        for (TControl* c = control; c != nullptr; c = c->Parent())
            if (!c->Hint().empty()) return c->ShowHint() ? c : nullptr;
        return nullptr;
    }

    void ShowHint() {
        if (FControl == nullptr || !FApp->ShowHint()) return;
        if (FApp->MouseControl() != nullptr && FindHintControl(FApp->MouseControl()) != FControl) return;
        POINT cursor {};
        GetCursorPos(&cursor);
        THintInfo info;
        info.HintControl = FControl;
        info.CursorPos = FControl->ScreenToClient(cursor);
        info.CursorRect = FControl->ClientRect();
        info.HintPos = Point(cursor.x, cursor.y + CursorHeightMargin);
        info.HintMaxWidth = Screen != nullptr ? Screen->Width() : 640;
        info.HintColor = FApp->HintColor();
        info.HideTimeout = FApp->HintHidePause();
        info.HintStr = GetShortHint(FControl->Hint());
        // The control may change the record (text, position, the rectangle the hint stays for) or refuse.
        TControl* control = FControl;
        bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
        if (FControl != control) return;   // freed meanwhile
        if (canShow && FApp->OnShowHint) FApp->OnShowHint(info.HintStr, canShow, info);
        if (FControl != control) return;
        FCursorRect = info.CursorRect;
        FHasCursorRect = true;
        const std::string& text = info.HintStr;
        if (!canShow || text.empty()) return;
        if (FHint == nullptr) {
            FHint = HintWindowClass ? HintWindowClass(this) : new THintWindow(this);
            if (FHint == nullptr) return;
            FHint->FreeNotification(this);
        }
        FHint->SetColor(info.HintColor);
        TRect r = FHint->CalcHintRect(info.HintMaxWidth, text, info.HintData);
        r = Rect(info.HintPos.x, info.HintPos.y, info.HintPos.x + r.right - r.left, info.HintPos.y + r.bottom - r.top);
        FHint->ActivateHintData(r, text, info.HintData);
        if (info.HideTimeout > 0) SetTimer(FWindow, HideTimer, UINT(info.HideTimeout), nullptr);
    }

    // The pointer left the part of the control the last hint was for: a new hint is due there.
    bool LeftCursorRect() const {
        if (!FHasCursorRect) return false;
        POINT cursor {};
        GetCursorPos(&cursor);
        const TPoint p = FControl->ScreenToClient(cursor);
        return !gdi::PtInRect(&FCursorRect, p);
    }

    void HideHint() {
        if (FHint != nullptr && FHint->HandleAllocated()) FHint->ReleaseHandle();
    }

    TApplication* FApp;
    HWND FWindow = nullptr;
    TControl* FControl = nullptr;
    THintWindow* FHint = nullptr;
    TRect FCursorRect {};   // client coordinates of FControl, as the last CM_HINTSHOW left it
    bool FHasCursorRect = false;
};

THintEngine* THintEngine::Current = nullptr;

}

void TApplication::CancelHint() {
    if (THintEngine::Current != nullptr) THintEngine::Current->Cancel();
}

void TApplication::HintMouseMessage(TControl* control, TMessage& message) {
    if (message.Msg != WM_MOUSEMOVE) return;
    THintEngine::Of(this)->MouseMoved(control);
}

void HintMessageSeen(const MSG& msg) {
    if (THintEngine::Current == nullptr || Application == nullptr) return;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_MOUSELEAVE:
    case WM_MOUSEWHEEL:
        Application->CancelHint();
        break;
    default:
        break;
    }
}

THintWindow* ApplicationHintWindow() {
    return THintEngine::Current != nullptr ? THintEngine::Current->Window() : nullptr;
}

}
