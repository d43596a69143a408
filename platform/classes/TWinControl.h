// TWinControl: a control with a window of its own: the handle on demand, child controls, focus and tab order.
#pragma once

#include "platform/classes/TControl.h"

#include <vector>

namespace korvex::classes {

class TControlCanvas;

// The window is made when it is first needed (Handle, HandleNeeded, or when the control is shown on a parent
// that has one) from CreateParams: the class is registered under WinClassName with the library's procedure,
// which routes every message to MainWndProc -> WindowProc. CreateSubClass builds on a native class; its
// procedure is kept as DefWndProc, and DefaultHandler passes what no handler took to it. MainWndProc catches
// every exception and hands it to Application->HandleException.
//
// Children: Controls(i) lists the windowless children first, then the windowed ones, each in z-order from
// the bottom. The windowless ones are painted by the parent's WM_PAINT after the parent itself (PaintControls),
// each at its bounds with the clip cut to them.
//
// Notifications from child windows (WM_COMMAND, WM_NOTIFY, WM_HSCROLL, WM_VSCROLL, WM_DRAWITEM,
// WM_MEASUREITEM, WM_DELETEITEM, WM_COMPAREITEM, WM_CTLCOLOR*) are handed back to the child's control as
// CN_BASE + the message (CN_COMMAND ...); the child window is found by the handle in lParam, or by the id in
// wParam for WM_NOTIFY and the owner-drawn item messages (windowed children get unique ids).
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    void BeforeDestruction() override;   // the window and the child controls go while the object is whole

    user::HWND Handle();   // makes the window when there is none (nullptr if that fails)
    user::HWND WindowHandle() const { return FHandle; }   // nullptr while there is none
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    // Without a parent control: the window the control's window is put into (nullptr: top-level).
    user::HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(user::HWND value);
    user::WNDPROC DefWndProc() const { return FDefWndProc; }
    void SetDefWndProc(user::WNDPROC value) { FDefWndProc = value; }

    int ControlCount() const { return static_cast<int>(FControls.size() + FWinControls.size()); }
    TControl* Controls(int index) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(const TControl* control) const;   // itself or inside it at any depth
    // The child under a client point (the topmost; windowless ones unless allowWinControls).
    TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls = false) const;
    void Broadcast(TMessage& message);   // to every child until one answers (Result != 0)
    void NotifyControls(UINT msg);   // Perform(msg, 0, 0) on every child

    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    void GetTabOrderList(std::vector<TWinControl*>& list) const;   // depth first, in tab order
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    bool Showing() const { return FShowing; }   // visible with its parents, window shown
    virtual bool CanFocus() const;   // visible and enabled up to the form
    bool Focused() const;
    virtual void SetFocus();   // raises EInvalidOperation when it cannot take the focus

    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
    bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
    void SetParentBackground(bool value);

    // The frame inside the window's own: BorderWidth pixels, then the bevels when BevelKind is not bkNone
    // (one pixel for each of BevelInner and BevelOuter that is not bvNone) on the BevelEdges sides. It lies in
    // the non-client area: the client rectangle is inset by it. A change recomputes and repaints the frame.
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    TBevelKind BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    TBevelEdges BevelEdges() const { return FBevelEdges; }
    void SetBevelEdges(TBevelEdges value);
    TRect BorderInsets() const;   // left, top, right, bottom widths of that frame

    void DisableAlign();
    void EnableAlign();   // lays out what was put off
    void Realign();
    bool AlignDisabled() const { return FAlignLevel != 0; }
    void ScrollBy(int deltaX, int deltaY);   // moves the children and the window's picture

    void SetBounds(int left, int top, int width, int height) override;
    TPoint ClientOrigin() const override;
    void SetZOrder(bool topMost) override;
    void Invalidate() override;
    void Repaint() override;
    void Update() override;

    void WndProc(TMessage& message) override;
    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // The window procedure's entry: WindowProc, with every exception handed to the application.
    void MainWndProc(TMessage& message);
    // The control of a window made by the library (nullptr for other windows).
    static TWinControl* FindControl(user::HWND hwnd);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();   // keeps the text, frees the canvases' DCs, destroys the window
    virtual void DestroyWindowHandle();
    void CreateHandle();
    void DestroyHandle();   // the window of this control and its windowed children
    void RecreateWnd();   // CM_RECREATEWND: destroyed now, made again when next needed or shown
    void CreateSubClass(TCreateParams& params, const std::string& nativeClass);
    void UpdateControlState();   // shows or hides the window as Visible and the parents say
    void UpdateShowing();
    void UpdateBounds();   // takes the window's position after the system moved it

    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void AdjustClientRect(TRect& rect) { (void)rect; }
    void AlignControl(TControl* control);
    void RequestAlign() override;

    // Painting: PaintWindow paints the control itself on a DC (the default: DefWndProc's WM_PAINT);
    // PaintHandler paints it around its opaque windowless children, then PaintControls paints those.
    virtual void PaintWindow(user::HDC dc);
    void PaintHandler(TMessage& message);
    void PaintControls(user::HDC dc, TControl* first);

    virtual void KeyDown(user::WORD& key, TShiftState shift);   // OnKeyDown
    virtual void KeyUp(user::WORD& key, TShiftState shift);   // OnKeyUp
    virtual void KeyPress(char32_t& key);   // OnKeyPress
    bool FocusMessageDropped(const TMessage& m);   // WM_SETFOCUS and WM_KILLFOCUS the control drops
    bool DoKeyDown(TMessage& m);   // key preview of the form first; true when taken
    bool DoKeyUp(TMessage& m);
    bool DoKeyPress(TMessage& m);
    virtual void DoEnter();   // OnEnter
    virtual void DoExit();   // OnExit
    TRect GetClientRect() const override;
    std::string GetText() const override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // Handlers
    virtual void WMPaint(TMessage& m);
    virtual void CMInvalidate(TMessage& m);   // the window invalidated (Invalidate sends it)
    virtual void WMPrintClient(TMessage& m);   // WM_PAINT with the DC given (PRF_CLIENT)
    virtual void WMNCCalcSize(TMessage& m);   // the client inset by BorderInsets
    virtual void WMNCPaint(TMessage& m);   // the default frame, then the border and bevels
    virtual void WMPrint(TMessage& m);   // the same into the DC given
    virtual void WMEraseBkgnd(TMessage& m);   // fills with Color (unless ParentBackground)
    virtual void WMSetFocus(TMessage& m);
    virtual void WMKillFocus(TMessage& m);
    virtual void WMKeyDown(TMessage& m);
    virtual void WMKeyUp(TMessage& m);
    virtual void WMChar(TMessage& m);
    virtual void WMCommand(TMessage& m);
    virtual void WMNotify(TMessage& m);
    virtual void WMHScroll(TMessage& m);
    virtual void WMVScroll(TMessage& m);
    virtual void WMDrawItem(TMessage& m);
    virtual void WMMeasureItem(TMessage& m);
    virtual void WMSize(TMessage& m);
    virtual void WMMove(TMessage& m);
    virtual void WMWindowPosChanged(TMessage& m);
    virtual void WMSetCursor(TMessage& m);
    virtual void WMMouseWheel(TMessage& m);
    virtual void WMNCDestroy(TMessage& m);
    virtual void CNKeyDown(TMessage& m);
    virtual void CNKeyUp(TMessage& m);
    virtual void CNChar(TMessage& m);
    virtual void CMEnter(TMessage& m);
    virtual void CMExit(TMessage& m);
    virtual void CMFocusChanged(TMessage& m);
    virtual void CMDialogKey(TMessage& m);
    virtual void CMDialogChar(TMessage& m);
    virtual void CMShowingChanged(TMessage& m);
    virtual void CMRecreateWnd(TMessage& m);
    void CMBiDiModeChanged(TMessage& m) override;
    virtual void CNCtlColor(TMessage& m);
    void CMEnabledChanged(TMessage& m) override;
    void CMVisibleChanged(TMessage& m) override;
    void CMColorChanged(TMessage& m) override;
    void CMFontChanged(TMessage& m) override;
    void CMSysColorChange(TMessage& m) override;

private:
    enum class TKeyEventKind { Down, Up, Press };
    bool DoKeyEvent(TMessage& m, TKeyEventKind kind);   // what DoKeyDown, DoKeyUp and DoKeyPress share
    void KeyMessage(TMessage& m, TKeyEventKind kind);   // what WMKeyDown, WMKeyUp and WMChar share

    friend class TControl;
    friend class TCustomForm;
    friend class TApplication;
    void Insert(TControl* control);
    void Remove(TControl* control);
    bool IsControlMouseMsg(TMessage& m);
    bool DoControlMsg(user::HWND child, TMessage& m);   // true when a control took the CN_ message
    void RemoveFocus(bool removing);
    void BorderChanged();
    void PaintBorder(user::HDC windowDc);
    void DestroyChildControls();
    void FreeObjectInstance();
    static LRESULT InitWndProc(user::HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    user::HWND FHandle = nullptr;
    user::HWND FParentWindow = nullptr;
    user::WNDPROC FDefWndProc = nullptr;
    user::WNDPROC FObjectInstance = nullptr;
    std::unique_ptr<TBrush> FBrush;   // Color, for erasing and for the CN_CTLCOLOR* answers
    std::vector<TControl*> FControls;   // windowless children, bottom first
    // FControls' bounds, an empty rectangle for a hidden one, kept for the paint's walk over the later siblings
    // (contiguous, so a gauge's step does not touch every sibling); made again after any of them changed.
    std::vector<TRect> FControlRects;
    bool FControlRectsValid = false;
    void ControlsChanged() { FControlRectsValid = false; }
    const TRect& ControlRect(std::size_t index);
    std::vector<TWinControl*> FWinControls;   // windowed children, bottom first
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    int FBorderWidth = 0;
    TBevelKind FBevelKind = bkNone;
    TBevelCut FBevelInner = bvRaised;
    TBevelCut FBevelOuter = bvLowered;
    TBevelEdges FBevelEdges {beLeft, beTop, beRight, beBottom};
    bool FShowing = false;
    bool FDoubleBuffered = false;
    int FAlignLevel = 0;
    bool FRecreating = false;
};

}
