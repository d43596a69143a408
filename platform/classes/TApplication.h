// TApplication: the message loop, the hidden application window and its hooks, forms at start-up, exceptions.
#pragma once

#include "platform/classes/TComponent.h"
#include "platform/classes/TControl.h"
#include "platform/classes/TIcon.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {

class THintWindow;   // declared with the hints

// What the hint machinery fills before showing a hint; OnShowHint may change it.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos {};   // screen position of the hint window
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect {};   // the hint stays while the cursor is inside (client coordinates)
    TPoint CursorPos {};
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    std::string HintStr;
    void* HintData = nullptr;
};
using TShowHintEvent = std::function<void(std::string& hintStr, bool& canShow, THintInfo& hintInfo)>;
// The process-wide hint window class: makes the window hints are shown in.
using THintWindowClass = std::function<THintWindow*(TComponent* owner)>;
extern THintWindowClass HintWindowClass;

using TMessageEvent = std::function<void(user::MSG& msg, bool& handled)>;
using TExceptionEvent = std::function<void(TObject* sender, const std::exception& e)>;
// A request for help: command (HELP_CONTEXT = 1) and its data; true when it was answered.
using THelpEvent = std::function<bool(int command, long data, bool& callHelp)>;
inline constexpr int HELP_CONTEXT = 1;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
// A hook on the application window: sees each of its messages before the library does; true: handled.
using TWindowHook = std::function<bool(TMessage& message)>;

enum class TMouseArea { Client, NonClient };   // where on a window the pointer is

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* owner);   // the first one made becomes Application
    ~TApplication() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void Initialize() { Handle(); }
    // Makes a form owned by the application; the first TForm made becomes MainForm. reference is set before
    // OnCreate runs.
    template <class T>
    void CreateForm(T*& reference) {
        T* form = new T(this);
        reference = form;
        base::ScopeExit discard([&] {
            reference = nullptr;
            form->Free();
        });
        form->AfterConstruction();
        discard.Dismiss();
        FormCreated(form);
    }
    // Shows the main form (unless ShowMainForm is off) and handles messages until Terminate; an exception
    // escaping a message goes to HandleException and the loop goes on.
    void Run();
    void Terminate();   // posts WM_QUIT; Terminated once the loop takes it
    bool Terminated() const { return FTerminated; }
    void ProcessMessages();   // everything pending, without waiting
    void HandleMessage();   // one message, or idle handling and a wait when there is none

    user::HWND Handle();   // the hidden application window (owner of the forms), made on demand
    TForm* MainForm() const { return FMainForm; }
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool value) { FShowMainForm = value; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value);
    // The program's icon; a form whose own Icon is empty shows this one.
    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(const TIcon* value);
    bool Active() const { return FActive; }
    int ModalLevel() const { return FModalLevel; }

    int HookMainWindow(TWindowHook hook);   // an id for UnhookMainWindow
    void UnhookMainWindow(int id);

    // The current exception (call inside a catch): OnException when set, else ShowException.
    void HandleException(TObject* sender);
    // The message (a full stop added) in a modal error box captioned with Title, over the active window.
    void ShowException(const std::exception& e);

    void Minimize();   // hides the forms with the application window
    void Restore();
    void BringToFront();

    // Hints (THintWindow.h): the pause before a hint shows, the short pause between hints, the hide pause.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value) { FShowHint = value; }
    int HintPause() const { return FHintPause; }
    void SetHintPause(int value) { FHintPause = value; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int value) { FHintShortPause = value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int value) { FHintHidePause = value; }
    // The reading order of the forms that take their parent's (ParentBiDiMode): each hears of a change.
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value);
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor value) { FHintColor = value; }
    void CancelHint();   // hides the hint and forgets its control
    void HintMouseMessage(TControl* control, TMessage& message);   // a mouse move starts the hint timing

    // The control under the mouse (windowless ones included), kept up to date from the mouse messages of the
    // client and the non-client area: CM_MOUSELEAVE goes to the old one and CM_MOUSEENTER to the new one (each
    // passes it up its parents). A window's frame counts as the window. The pointer leaving a window is heard
    // through leave tracking of the area it is in (TME_NONCLIENT on the frame).
    TControl* MouseControl() const { return FMouseControl; }
    // leftWindow: the window a WM_MOUSELEAVE (leftArea Client) or WM_NCMOUSELEAVE (NonClient) came from: that
    // tracking has ended, and is not asked for again while the pointer is still outside that area.
    void UpdateMouseControl(
        TPoint screenPos, user::HWND leftWindow = nullptr, TMouseArea leftArea = TMouseArea::Client);
    void ControlDestroyed(TControl* control);

    void ModalStarted() { ++FModalLevel; }
    void ModalFinished() { --FModalLevel; }

    // Asks for the help topic `context` (HELP_CONTEXT): OnHelp answers; without a handler there is no help to
    // show and the answer is false.
    bool HelpContext(int context);

    TMessageEvent OnMessage;
    THelpEvent OnHelp;
    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TShowHintEvent OnShowHint;

protected:
    virtual void WndProc(TMessage& message);   // the application window's messages, after the hooks
    void Notification(TComponent* component, TOperation operation) override;

private:
    void FormCreated(TComponent* form);
    bool FilterMessage(user::MSG& msg);   // OnMessage, then keys for the focused control (CN_KEYDOWN ...)
    bool IsKeyMsg(user::MSG& msg);
    bool ProcessMessage(user::MSG& msg);
    void Idle();
    void DefaultHandler(TMessage& message);
    void DestroyHandle();
    void TrackMouseLeave(TWinControl* window, TMouseArea area, user::HWND leftWindow, TMouseArea leftArea);

    user::HWND FHandle = nullptr;
    user::WNDPROC FObjectInstance = nullptr;
    TForm* FMainForm = nullptr;
    bool FShowMainForm = true;
    bool FTerminated = false;
    bool FActive = false;
    int FModalLevel = 0;
    std::string FTitle;
    std::unique_ptr<TIcon> FIcon;
    struct THook {
        int Id;
        TWindowHook Hook;
    };
    std::vector<THook> FHooks;
    int FNextHookId = 1;
    TControl* FMouseControl = nullptr;
    user::HWND FTrackedWindow = nullptr;
    TMouseArea FTrackedArea = TMouseArea::Client;
    bool FShowHint = true;
    int FHintPause = 500;
    int FHintShortPause = 50;
    int FHintHidePause = 2500;
    TColor FHintColor = clInfoBk;
    TBiDiMode FBiDiMode = bdLeftToRight;
};

extern TApplication* Application;

// Makes Screen and Application for the calling thread's message queue (after InitMessageQueue and the
// display are set up); DoneApplication frees them, and the forms with the application.
void InitApplication();
void DoneApplication();

}
