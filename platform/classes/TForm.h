// TCustomForm and TForm: top-level windows with a border, an icon, showing, closing and modal showing.
#pragma once

#include "platform/classes/FormBorderStyle.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TMethodTable.h"
#include "platform/classes/TScrollBox.h"

#include <memory>
#include <string_view>

namespace korvex::classes {

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
inline constexpr std::string_view BorderIconIdents[] = {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
inline constexpr std::string_view FormStyleIdents[] = {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
inline constexpr std::string_view WindowStateIdents[] = {"wsNormal", "wsMinimized", "wsMaximized"};
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
inline constexpr std::string_view PositionIdents[] = {"poDesigned", "poDefault", "poDefaultPosOnly",
    "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

// A form made with Create<TForm1>(owner) or Application->CreateForm reads its component text in its
// constructor (ReadForm / ReadFormResource), then AfterConstruction runs OnCreate, after every component's
// Loaded. Forms start hidden. Closing: Close asks CloseQuery (OnCloseQuery), then OnClose picks what happens
// (caHide by default; caFree releases the form); the main form closing ends the application. A form that
// frees itself from its own handler uses Release. A form scrolls its children like a scroll box when
// AutoScroll is on (off by default) or a bar has a Range.
class TCustomForm : public TScrollingWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;   // OnCreate
    void BeforeDestruction() override;   // OnDestroy, then the window and the components

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(const TIcon* value) { FIcon->Assign(value); }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    bool Active() const { return FActive; }
    TFormState FormState() const { return FFormState; }
    TCanvas* Canvas() const;
    // The main menu (declared with the menus): its bar goes on the form's window.
    template <class M = TMainMenu>
    M* Menu() const {
        return static_cast<M*>(FMenu);
    }
    TComponent* MenuComponent() const { return FMenu; }
    void SetMenuComponent(TComponent* value);

    // MDI. An fsMDIForm keeps its children in a client window that fills what its aligned controls leave; an
    // fsMDIChild is created inside the main form's client window (EInvalidOperation when the main form is not
    // an MDI form) and is visible from the start. FormStyle is for before the window exists.
    user::HWND ClientHandle() const { return FClientHandle; }
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int index) const;   // top first; nullptr out of range
    TCustomForm* ActiveMDIChild() const;

    void SetFocus() override;   // activates the form (its active control gets the focus)
    void Show();   // visible and brought to the front
    void Close();
    TModalResult ShowModal();   // raises EInvalidOperation for a form that is visible, disabled or modal
    void Release();   // frees the form once the messages in the queue are handled
    virtual bool CloseQuery();   // OnCloseQuery
    bool SetFocusedControl(TWinControl* control);   // CM_EXIT / CM_ENTER / CM_FOCUSCHANGED
    void FocusControl(TWinControl* control);
    void DefocusControl(TWinControl* control, bool removing);
    void SendCancelMode(TControl* sender);   // CM_CANCELMODE to the active control
    // Shortcut keys of the form (OnShortCut; the menus add theirs). True when the key was taken.
    virtual bool IsShortCut(TMessage& message);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    std::function<void(TMessage& message, bool& handled)> OnShortCut;

protected:
    // Reads the form's component text into it, binding events and fields through methods. Call from the
    // derived form's constructor.
    void ReadForm(std::string_view text, const TMethodTable& methods);
    // The same from an embedded resource; raises EResNotFound when there is none of that name.
    void ReadFormResource(std::string_view resourceName, const TMethodTable& methods);

    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();
    virtual void Paint();   // OnPaint
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CreateWindowHandle(const TCreateParams& params) override;
    void DestroyWindowHandle() override;
    void AlignControls(TControl* control, TRect& rect) override;   // the MDI client window takes what is left
    void PaintWindow(user::HDC dc) override;
    TRect GetClientRect() const override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void SetParent(TWinControl* value) override;

    void Dispatch(TMessage& message) override;
    virtual void WMClose(TMessage& m);
    virtual void WMActivate(TMessage& m);
    virtual void WMSysCommand(TMessage& m);
    virtual void WMQueryEndSession(TMessage& m);
    virtual void WMDestroy(TMessage& m);
    void WMPaint(TMessage& m) override;
    void WMSize(TMessage& m) override;
    virtual void CMActivate(TMessage& m);
    virtual void CMDeactivate(TMessage& m);
    virtual void CMRelease(TMessage& m);
    void CMShowingChanged(TMessage& m) override;
    TBiDiMode InheritedBiDiMode() const override;
    void CMDialogKey(TMessage& m) override;

private:
    friend class TApplication;
    friend class TScreen;
    void CloseModal();
    void SetActive(bool value);
    void SetWindowFocus();
    void ApplyPosition();
    void ApplyFrameStyle();   // style bits and frame of a live window follow BorderStyle and BorderIcons
    int StoredClientWidth() const;
    void SetStoredClientWidth(int value);
    int StoredClientHeight() const;
    void SetStoredClientHeight(int value);
    void CreateClientWindow();
    void MergeMenuIntoFrame(bool merge);   // an MDI child's menu shown on (or taken off) its frame's bar
    static user::LRESULT FrameDefProc(user::HWND hwnd, user::UINT msg, user::WPARAM wParam, user::LPARAM lParam);

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons {biSystemMenu, biMinimize, biMaximize};
    std::unique_ptr<TIcon> FIcon;
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    TPosition FPosition = poDesigned;
    bool FKeyPreview = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TModalResult FModalResult = mrNone;
    bool FActive = false;
    bool FOldCreateOrder = false;
    int FPixelsPerInch = 96;
    int FTextHeight = 13;
    bool FScaled = true;
    int FClientWidth = 0;   // from component text, applied after loading
    int FClientHeight = 0;
    TFormState FFormState;
    std::unique_ptr<TControlCanvas> FCanvas;
    TComponent* FMenu = nullptr;
    bool FCreated = false;
    bool FReleased = false;
    user::HWND FClientHandle = nullptr;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

class EResNotFound : public base::Exception {
public:
    using Exception::Exception;
};

}
