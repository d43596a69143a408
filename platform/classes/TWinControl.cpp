// TWinControl: children, tab order, focus, keys, the message dispatch and the property notifications.
#include "platform/classes/TWinControl.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

TWinControl::TWinControl(TComponent* owner)
    : TControl(owner)
    , FBrush(std::make_unique<TBrush>()) {
    FBrush->SetColor(Color());
}

TWinControl::~TWinControl() {
    if (FParent != nullptr) FParent->RemoveControl(this);
    // Normally gone in BeforeDestruction; a plain delete still takes the window down, on the default procedure.
    if (FHandle != nullptr) {
        SetWindowLongPtr(FHandle, GWL_WNDPROC, LongFromProc(FDefWndProc ? FDefWndProc : user::DefWindowProc));
        RemoveProp(FHandle, "KorvexControl");
        HWND handle = FHandle;
        FHandle = nullptr;
        DestroyWindow(handle);
    }
    DestroyChildControls();
    if (Screen != nullptr) Screen->ControlGone(this);
    FreeObjectInstance();
}

TClass TWinControl::StaticClass() {
    static const TClassInfo info = MakeClass<TWinControl, TControl>("TWinControl", [](auto& p) {
        p.Set("BevelEdges", &TWinControl::BevelEdges, &TWinControl::SetBevelEdges, BevelEdgeIdents,
            TBevelEdges {beLeft, beTop, beRight, beBottom});
        p.Enum("BevelInner", &TWinControl::BevelInner, &TWinControl::SetBevelInner, BevelCutIdents, bvRaised);
        p.Enum("BevelKind", &TWinControl::BevelKind, &TWinControl::SetBevelKind, BevelKindIdents, bkNone);
        p.Enum("BevelOuter", &TWinControl::BevelOuter, &TWinControl::SetBevelOuter, BevelCutIdents, bvLowered);
        p.Int("BorderWidth", &TWinControl::BorderWidth, &TWinControl::SetBorderWidth, 0);
        p.Bool("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered, false);
        p.Bool("ParentBackground", &TWinControl::ParentBackground, &TWinControl::SetParentBackground, false);
        p.Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
        p.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false);
        p.Event("OnEnter", &TWinControl::OnEnter);
        p.Event("OnExit", &TWinControl::OnExit);
        p.Event("OnKeyDown", &TWinControl::OnKeyDown);
        p.Event("OnKeyPress", &TWinControl::OnKeyPress);
        p.Event("OnKeyUp", &TWinControl::OnKeyUp);
    });
    return &info;
}

void TWinControl::BeforeDestruction() {
    TControl::BeforeDestruction();
    if (FParent != nullptr) RemoveFocus(true);
    if (Application != nullptr) Application->ControlDestroyed(this);
    if (FHandle != nullptr) DestroyHandle();
    DestroyChildControls();
}

void TWinControl::DestroyChildControls() {
    while (ControlCount() > 0) {
        TControl* child = Controls(ControlCount() - 1);
        Remove(child);
        child->Free();
    }
}

// ---------------------------------------------------------------------------------------------------------
// Children

TControl* TWinControl::Controls(int index) const {
    int windowless = static_cast<int>(FControls.size());
    if (index < 0 || index >= ControlCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    if (index < windowless) return FControls[static_cast<std::size_t>(index)];
    return FWinControls[static_cast<std::size_t>(index - windowless)];
}

void TWinControl::Insert(TControl* control) {
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        FWinControls.push_back(win);
        FTabList.push_back(win);
    } else {
        FControls.push_back(control);
        ControlsChanged();
    }
    control->FParent = this;
}

// By address: a control in its destructor is no longer known as windowed.
void TWinControl::Remove(TControl* control) {
    auto same = [control](TControl* c) { return c == control; };
    std::erase_if(FTabList, same);
    std::erase_if(FWinControls, same);
    std::erase_if(FControls, same);
    ControlsChanged();
    control->FParent = nullptr;
}

void TWinControl::InsertControl(TControl* control) {
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
    Insert(control);
    if (!control->ComponentState().Contains(csReading)) {
        control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
        control->Perform(CM_PARENTFONTCHANGED, 0, 0);
        control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        control->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
        if (auto* win = dynamic_cast<TWinControl*>(control)) {
            win->UpdateControlState();
        } else if (HandleAllocated()) {
            control->Invalidate();
        }
        AlignControl(control);
    }
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
}

void TWinControl::RemoveControl(TControl* control) {
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
    auto* win = dynamic_cast<TWinControl*>(control);
    if (win != nullptr) {
        win->RemoveFocus(true);
        if (!win->ComponentState().Contains(csDestroying)) win->DestroyHandle();
    } else if (HandleAllocated()) {
        control->InvalidateControl(control->Visible(), false);
    }
    if (Application != nullptr && Application->MouseControl() == control) Application->ControlDestroyed(control);
    Remove(control);
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
    if (!ComponentState().Contains(csDestroying)) Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
    while (control != nullptr && control != this)
        control = control->Parent();
    return control == this;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls) const {
    auto hit = [&](TControl* c) {
        TRect r = c->BoundsRect();
        if (!c->Visible() || !(c->Enabled() || allowDisabled) || !gdi::PtInRect(&r, pos)) return false;
        return c->Perform(CM_HITTEST, 0, MAKELPARAM(pos.x - c->Left(), pos.y - c->Top())) != 0;
    };
    if (allowWinControls)
        for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
            if (hit(*it)) return *it;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if (hit(*it)) return *it;
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
    for (int i = 0; i < ControlCount(); ++i) {
        Controls(i)->WindowProc(message);
        if (message.Result != 0) return;
    }
}

void TWinControl::NotifyControls(UINT msg) {
    TMessage message {msg, 0, 0, 0};
    Broadcast(message);
}

// ---------------------------------------------------------------------------------------------------------
// Tab order and focus

int TWinControl::TabOrder() const {
    if (FParent == nullptr) return -1;
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (FParent == nullptr) return;
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    value = std::clamp(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + value, this);
}

void TWinControl::SetTabStop(bool value) {
    if (value == FTabStop) return;
    FTabStop = value;
    if (FHandle != nullptr) {
        DWORD style = GetWindowStyle(FHandle);
        SetWindowLongPtr(FHandle, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : FTabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(
    TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int count = static_cast<int>(list.size());
    auto found = std::find(list.begin(), list.end(), current);
    int start = found != list.end() ? static_cast<int>(found - list.begin()) : (goForward ? count - 1 : 0);
    int i = start;
    do {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* c = list[static_cast<std::size_t>(i)];
        if (c->CanFocus() && (!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this)) return c;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

bool TWinControl::CanFocus() const {
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr) return false;
    for (const TWinControl* c = this; c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const {
    return FHandle != nullptr && GetFocus() == FHandle;
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = GetParentForm(this)) {
        form->FocusControl(this);
    } else if (FParentWindow != nullptr) {
        user::SetFocus(Handle());
    } else {
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    }
}

void TWinControl::RemoveFocus(bool removing) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, removing);
}

void TWinControl::SetParentBackground(bool value) {
    if (value == ParentBackground()) return;
    if (value)
        FControlStyle.Include(csParentBackground);
    else
        FControlStyle.Exclude(csParentBackground);
    Invalidate();
}

// ---------------------------------------------------------------------------------------------------------
// Messages

// WM_SETFOCUS tells the form first: true when it moved the focus on or the control is gone. A WM_KILLFOCUS
// while the control is being focused is dropped.
bool TWinControl::FocusMessageDropped(const TMessage& m) {
    if (m.Msg == WM_KILLFOCUS) return FControlState.Contains(csFocusing);
    if (m.Msg != WM_SETFOCUS) return false;
    TCustomForm* form = GetParentForm(this);
    return form != nullptr && !form->SetFocusedControl(this);
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (FocusMessageDropped(message)) return;
        break;
    case WM_NCHITTEST:
        TControl::WndProc(message);
        if (message.Result == HTTRANSPARENT && FHandle != nullptr) {
            TPoint p = ScreenToClient(Point(MessageX(message), MessageY(message)));
            if (ControlAtPos(p, false) != nullptr) message.Result = HTCLIENT;
        }
        return;
    case WM_CANCELMODE:
        if (FHandle != nullptr && GetCapture() == FHandle) {
            TControl* capture = GetCaptureControl();
            if (capture != nullptr && capture->Parent() == this) capture->Perform(WM_CANCELMODE, 0, 0);
        }
        break;
    default:
        if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST && message.Msg != WM_MOUSEWHEEL
            && IsControlMouseMsg(message)) {
            if (message.Result == 0 && FHandle != nullptr)
                message.Result = user::DefWindowProc(FHandle, message.Msg, message.WParam, message.LParam);
            return;
        }
        break;
    }
    TControl::WndProc(message);
}

// Mouse messages over a windowless child (or for the one holding the capture) go to that child.
bool TWinControl::IsControlMouseMsg(TMessage& m) {
    TControl* control = nullptr;
    if (FHandle != nullptr && GetCapture() == FHandle) {
        TControl* capture = GetCaptureControl();
        if (capture != nullptr && capture->Parent() == this) control = capture;
    } else {
        control = ControlAtPos(Point(MessageX(m), MessageY(m)), false);
    }
    if (control == nullptr) return false;
    LPARAM pos = MAKELPARAM(MessageX(m) - control->Left(), MessageY(m) - control->Top());
    m.Result = control->Perform(m.Msg, m.WParam, pos);
    return true;
}

void TWinControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        WMPaint(m);
        return;
    case WM_PRINTCLIENT:
        WMPrintClient(m);
        return;
    case WM_PRINT:
        WMPrint(m);
        return;
    case CM_INVALIDATE:
        CMInvalidate(m);
        return;
    case WM_NCCALCSIZE:
        WMNCCalcSize(m);
        return;
    case WM_NCPAINT:
        WMNCPaint(m);
        return;
    case WM_ERASEBKGND:
        WMEraseBkgnd(m);
        return;
    case WM_SETFOCUS:
        WMSetFocus(m);
        return;
    case WM_KILLFOCUS:
        WMKillFocus(m);
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        WMKeyDown(m);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        WMKeyUp(m);
        return;
    case WM_CHAR:
        WMChar(m);
        return;
    case WM_COMMAND:
        WMCommand(m);
        return;
    case WM_NOTIFY:
        WMNotify(m);
        return;
    case WM_HSCROLL:
        WMHScroll(m);
        return;
    case WM_VSCROLL:
        WMVScroll(m);
        return;
    case WM_DRAWITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
        WMDrawItem(m);
        return;
    case WM_MEASUREITEM:
        WMMeasureItem(m);
        return;
    case WM_SIZE:
        WMSize(m);
        return;
    case WM_MOVE:
        WMMove(m);
        return;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(m);
        return;
    case WM_SETCURSOR:
        WMSetCursor(m);
        return;
    case WM_MOUSEWHEEL:
        WMMouseWheel(m);
        return;
    case WM_NCDESTROY:
        WMNCDestroy(m);
        return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        CNKeyDown(m);
        return;
    case CN_KEYUP:
        CNKeyUp(m);
        return;
    case CN_CHAR:
    case CN_SYSCHAR:
        CNChar(m);
        return;
    case CM_ENTER:
        CMEnter(m);
        return;
    case CM_EXIT:
        CMExit(m);
        return;
    case CM_FOCUSCHANGED:
        CMFocusChanged(m);
        return;
    case CM_DIALOGKEY:
        CMDialogKey(m);
        return;
    case CM_DIALOGCHAR:
        CMDialogChar(m);
        return;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(m);
        return;
    case CM_RECREATEWND:
        CMRecreateWnd(m);
        return;
    }
    if (m.Msg >= CN_CTLCOLORMSGBOX && m.Msg <= CN_CTLCOLORSTATIC) {
        CNCtlColor(m);
        return;
    }
    TControl::Dispatch(m);
}

void TWinControl::WMSetFocus(TMessage& m) {
    DefaultHandler(m);
}

void TWinControl::WMKillFocus(TMessage& m) {
    DefaultHandler(m);
}

void TWinControl::CMEnter(TMessage&) {
    DoEnter();
}

void TWinControl::CMExit(TMessage&) {
    DoExit();
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::CMFocusChanged(TMessage& m) {
    Broadcast(m);
}

void TWinControl::CMDialogKey(TMessage& m) {
    Broadcast(m);
}

void TWinControl::CMDialogChar(TMessage& m) {
    Broadcast(m);
}

// ---------------------------------------------------------------------------------------------------------
// Keys

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

// The form sees the key first when it previews keys, then the control's own event unless it has none; a key
// a handler set to 0 is taken, and so is a key whose form handlers freed this control.
bool TWinControl::DoKeyEvent(TMessage& m, TKeyEventKind kind) {
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form != this && form->KeyPreview()) {
        TComponentWatch self(this);
        if (static_cast<TWinControl*>(form)->DoKeyEvent(m, kind) || !self.Alive()) return true;
    }
    if (FControlStyle.Contains(csNoStdEvents)) return false;
    if (kind == TKeyEventKind::Press) {
        auto ch = static_cast<char32_t>(m.WParam);
        KeyPress(ch);
        m.WParam = ch;
        return ch == 0;
    }
    auto key = static_cast<WORD>(m.WParam);
    if (kind == TKeyEventKind::Down)
        KeyDown(key, KeyDataToShiftState(m.LParam));
    else
        KeyUp(key, KeyDataToShiftState(m.LParam));
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyDown(TMessage& m) {
    return DoKeyEvent(m, TKeyEventKind::Down);
}

bool TWinControl::DoKeyUp(TMessage& m) {
    return DoKeyEvent(m, TKeyEventKind::Up);
}

bool TWinControl::DoKeyPress(TMessage& m) {
    return DoKeyEvent(m, TKeyEventKind::Press);
}

void TWinControl::WMKeyDown(TMessage& m) {
    KeyMessage(m, TKeyEventKind::Down);
}

void TWinControl::WMKeyUp(TMessage& m) {
    KeyMessage(m, TKeyEventKind::Up);
}

void TWinControl::WMChar(TMessage& m) {
    KeyMessage(m, TKeyEventKind::Press);
}

// The key events, then the default handling of a key they did not take, unless they freed the control.
void TWinControl::KeyMessage(TMessage& m, TKeyEventKind kind) {
    TComponentWatch self(this);
    if (!DoKeyEvent(m, kind) && self.Alive()) DefaultHandler(m);
}

// The application hands key messages here first: shortcuts, then the dialog keys (tab, arrows, enter,
// escape) the control does not want itself go to its form as CM_DIALOGKEY. Result 1: taken.
void TWinControl::CNKeyDown(TMessage& m) {
    m.Result = 1;
    TCustomForm* form = GetParentForm(this);
    TComponentWatch self(this), formWatch(form);   // a shortcut's handler may free either
    if (form != nullptr && form->IsShortCut(m)) return;
    if (!self.Alive()) return;
    if (Perform(CM_CHILDKEY, m.WParam, reinterpret_cast<LPARAM>(this)) != 0 || !self.Alive()) return;
    if (!formWatch.Alive()) form = nullptr;
    LRESULT mask = 0;
    switch (m.WParam) {
    case VK_TAB:
        mask = DLGC_WANTTAB;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        mask = DLGC_WANTARROWS;
        break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL:
        mask = DLGC_WANTALLKEYS;
        break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, m.WParam, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0
        && form != nullptr && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0)
        return;
    m.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& m) {
    m.Result = 0;
}

void TWinControl::CNChar(TMessage& m) {
    m.Result = 1;
    TCustomForm* form = GetParentForm(this);
    if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0 && form != nullptr
        && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
        return;
    m.Result = 0;
}

// ---------------------------------------------------------------------------------------------------------
// Property notifications

void TWinControl::CMEnabledChanged(TMessage& m) {
    if (!Enabled() && FParent != nullptr) RemoveFocus(false);
    if (FHandle != nullptr) EnableWindow(FHandle, Enabled());
    TControl::CMEnabledChanged(m);
}

void TWinControl::CMVisibleChanged(TMessage&) {
    if (!Visible() && FParent != nullptr) RemoveFocus(false);
    UpdateControlState();
}

void TWinControl::CMColorChanged(TMessage& m) {
    FBrush->SetColor(Color());
    TControl::CMColorChanged(m);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& m) {
    TControl::CMFontChanged(m);
    if (FHandle != nullptr) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    NotifyControls(CM_PARENTFONTCHANGED);
}

// The window's styles follow the mode (WParam 1: the caller makes it again itself).
void TWinControl::CMBiDiModeChanged(TMessage& m) {
    TControl::CMBiDiModeChanged(m);
    if (m.WParam == 0) RecreateWnd();
    NotifyControls(CM_PARENTBIDIMODECHANGED);
}

void TWinControl::CMSysColorChange(TMessage& m) {
    Broadcast(m);
    Invalidate();
}

void TWinControl::CNCtlColor(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    gdi::SetTextColor(dc, static_cast<gdi::COLORREF>(ColorToRGB(Font()->Color())));
    gdi::SetBkColor(dc, static_cast<gdi::COLORREF>(ColorToRGB(Color())));
    m.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
}

void TWinControl::Loaded() {
    TControl::Loaded();
    FBrush->SetColor(Color());
    UpdateControlState();
    if (FHandle != nullptr) Realign();
}

void TWinControl::Notification(TComponent* component, TOperation operation) {
    TControl::Notification(component, operation);
}

}
