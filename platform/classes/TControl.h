// TControl: the base of every visual control: bounds, alignment, visibility, colour and font, messages by number.
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/classes/ControlTypes.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TComponent.h"
#include "platform/classes/TSizeConstraints.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {

// A control's message procedure: replaceable, so code above can subclass a control at this level
// (keep the old one and call it for what you leave alone).
using TWndMethod = std::function<void(TMessage& message)>;

// Moves item to the end of list (the top of the z-order) or to its start; false when it is not in the list.
template <class T>
bool MoveInZOrder(std::vector<T*>& list, T* item, bool topMost) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return false;
    list.erase(it);
    if (topMost)
        list.push_back(item);
    else
        list.insert(list.begin(), item);
    return true;
}

// Messages reach a control through WindowProc (WndProc unless replaced), which does the shared work (mouse
// state, key preview) and calls Dispatch. Dispatch calls the handler of the message's number (WMPaint,
// CMMouseEnter ...); handlers are virtual: an override calls the inherited one for the default behaviour.
// A message without a handler goes to DefaultHandler.
class TBasicAction;
class TBasicActionLink;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* value);

    int Left() const { return FLeft; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    int Top() const { return FTop; }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    int Width() const { return FWidth; }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    int Height() const { return FHeight; }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
    // Moves and sizes in the parent's client coordinates; asks the parent to lay out again on a change.
    // Positions and sizes are kept within +-gdi::MaxCoord, so a right or bottom edge never overflows.
    virtual void SetBounds(int left, int top, int width, int height);

    TRect ClientRect() const { return GetClientRect(); }
    int ClientWidth() const { return ClientRect().right; }
    void SetClientWidth(int value);
    int ClientHeight() const { return ClientRect().bottom; }
    void SetClientHeight(int value);
    virtual TPoint ClientOrigin() const;   // the client area's top-left on the screen
    TPoint ClientToScreen(TPoint point) const;
    TPoint ScreenToClient(TPoint point) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors value);
    // Size limits, applied by SetBounds (alignment included); a change applies them to the current size.
    TSizeConstraints* Constraints() const { return FConstraints.get(); }
    void SetConstraints(const TSizeConstraints* value) { FConstraints->Assign(value); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);   // CM_VISIBLECHANGED
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);   // CM_ENABLEDCHANGED
    TColor Color() const { return FColor; }
    void SetColor(TColor value);   // CM_COLORCHANGED; ParentColor goes off
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);   // on: the parent's colour now
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* value) { FFont->Assign(value); }   // CM_FONTCHANGED; ParentFont goes off
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& value) { SetText(value); }
    std::string Text() const { return GetText(); }
    void SetText(const std::string& value);   // WM_SETTEXT then CM_TEXTCHANGED, on a change
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);   // ParentShowHint goes off
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);

    // The linked action: its changes reach ActionChange; Click executes it when OnClick is not set.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    TComponent* ActionComponent() const;   // Action for streaming
    void SetActionComponent(TComponent* value);
    // Reading order; with ParentBiDiMode on it is the parent's (a form's: the application's).
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value);   // CM_BIDIMODECHANGED; ParentBiDiMode goes off
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool value);   // on: CM_PARENTBIDIMODECHANGED, the parent's mode now
    bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }
    bool UseRightToLeftAlignment() const { return RightToLeftAlignment(FBiDiMode); }
    bool UseRightToLeftReading() const { return RightToLeftReading(FBiDiMode); }
    bool UseRightToLeftScrollBar() const { return RightToLeftScrollBar(FBiDiMode); }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);   // CM_CURSORCHANGED

    // The menu a right click pops up: a TPopupMenu (declared with the menus; include them to call these).
    template <class M = TPopupMenu>
    M* PopupMenu() const {
        return static_cast<M*>(FPopupMenu);
    }
    template <class M>
    void SetPopupMenu(M* value) {
        SetPopupMenuComponent(value);
    }
    void SetPopupMenu(std::nullptr_t) { SetPopupMenuComponent(nullptr); }
    TComponent* PopupMenuComponent() const { return FPopupMenu; }
    void SetPopupMenuComponent(TComponent* value);   // keeps a free notification

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState value) { FControlState = value; }
    bool MouseCapture() const;
    void SetMouseCapture(bool value);   // windowless controls capture through their parent's window

    // Messages. Perform hands the record to WindowProc and returns its Result; the record form passes it
    // by reference, so whatever the receiver writes into it comes back.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
    void Perform(TMessage& message);
    virtual void WndProc(TMessage& message);
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    // Painting: Invalidate asks for a paint of the control's rectangle; Update paints what is pending now;
    // Repaint does both (opaque windowless controls paint at once on the parent's window).
    virtual void Invalidate();
    virtual void Repaint();
    virtual void Update();
    void Refresh() { Repaint(); }

    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    void BringToFront() { SetZOrder(true); }
    void SendToBack() { SetZOrder(false); }
    virtual void SetZOrder(bool topMost);

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* value) override;
    void SetName(const std::string& value) override;   // with csSetCaption the caption follows an unset name
    // DrawText flags for the reading order: left and right alignment swapped under right-to-left alignment,
    // DT_RTLREADING added under right-to-left reading.
    unsigned DrawTextBiDiModeFlags(unsigned flags) const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;
    TContextPopupEvent OnContextPopup;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;

    // Dragging within the program (TControlDrag.cpp). A drag follows the mouse until the left button comes up
    // (a drop on the control under it that accepts) or is cancelled (EndDrag(false), capture taken away).
    TDragMode DragMode() const { return FDragMode; }
    virtual void SetDragMode(TDragMode value) { FDragMode = value; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor value) { FDragCursor = value; }
    // Not immediate: the drag starts once the mouse has moved threshold pixels (negative: the default 5).
    void BeginDrag(bool immediate, int threshold = -1);
    void EndDrag(bool drop);
    bool Dragging() const;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;

protected:
    virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);   // OnDragOver
    virtual void DragDrop(TObject* source, int x, int y);   // OnDragDrop
    virtual void DoStartDrag(TObject*& dragObject);   // OnStartDrag
    virtual void DoEndDrag(TObject* target, int x, int y);   // OnEndDrag
    void BeginAutoDrag();   // a dmAutomatic press
    virtual TRect GetClientRect() const;
    virtual std::string GetText() const { return FText; }
    virtual void Click();   // OnClick
    virtual void DblClick();   // OnDblClick
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual void Resize();   // OnResize
    virtual void RequestAlign();   // the parent lays out again
    virtual void VisibleChanging() { }
    // Takes a TCustomAction's Caption, Enabled, Hint and Visible; with checkDefaults only where the control
    // still has its default value.
    virtual void ActionChange(TObject* sender, bool checkDefaults);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void UpdateAnchorRules();
    void ConstrainSize(int& width, int& height) const;   // within Constraints
    // The size SetBounds takes: true applies newWidth and newHeight, which an auto-sizing control changes to
    // the size it wants. The base class takes what it is given.
    virtual bool CanAutoSize(int& newWidth, int& newHeight);
    void AutoSizeAndConstrain(int& width, int& height);   // CanAutoSize, then Constraints
    void Changed();   // CM_CHANGED to itself with itself in LParam (a value the user changed)
    void InvalidateControl(bool isVisible, bool isOpaque);   // the windowless control's rectangle on its parent
    void SendCancelMode(TControl* sender);   // CM_CANCELMODE to the active control of the forms around

    // Handlers
    virtual void WMLButtonDown(TMessage& m);
    virtual void WMLButtonUp(TMessage& m);
    virtual void WMLButtonDblClk(TMessage& m);
    virtual void WMRButtonDown(TMessage& m);
    virtual void WMRButtonUp(TMessage& m);
    virtual void WMRButtonDblClk(TMessage& m);
    virtual void WMMButtonDown(TMessage& m);
    virtual void WMMButtonUp(TMessage& m);
    virtual void WMMouseMove(TMessage& m);
    virtual void WMCancelMode(TMessage& m);
    virtual void WMContextMenu(TMessage& m);
    virtual void CMMouseEnter(TMessage& m);
    virtual void CMMouseLeave(TMessage& m);
    virtual void CMMouseWheel(TMessage& m);
    virtual void CMEnabledChanged(TMessage& m);
    virtual void CMVisibleChanged(TMessage& m);
    virtual void CMColorChanged(TMessage& m);
    virtual void CMFontChanged(TMessage& m);
    virtual void CMTextChanged(TMessage& m);
    virtual void CMParentColorChanged(TMessage& m);
    virtual void CMParentFontChanged(TMessage& m);
    virtual void CMParentShowHintChanged(TMessage& m);
    virtual void CMBiDiModeChanged(TMessage& m);
    virtual void CMParentBiDiModeChanged(TMessage& m);
    virtual TBiDiMode InheritedBiDiMode() const;   // the parent's mode; the control's own without a parent
    virtual void CMHitTest(TMessage& m);
    virtual void CMSysColorChange(TMessage& m);

    TControlStyle FControlStyle {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState FControlState;

private:
    friend class TWinControl;
    friend class TCustomForm;
    friend class TDragDriver;   // TControlDrag.cpp
    void FontChanged();
    void DoMouseDown(TMessage& m, TMouseButton button, TShiftState shift);
    void DoMouseUp(TMessage& m, TMouseButton button);
    bool DefaultSurvives(TMessage& m);   // DefaultHandler; false when it freed the control
    bool LeftPressSurvives(TMessage& m);
    void DropMouseCapture();   // when this control holds the capture
    bool IsColorStored() const { return !FParentColor; }
    bool IsFontStored() const { return !FParentFont; }
    bool IsShowHintStored() const { return !FParentShowHint; }
    bool IsBiDiModeStored() const { return !FParentBiDiMode; }
    bool IsConstraintsStored() const {
        return FConstraints->MaxHeight() || FConstraints->MaxWidth() || FConstraints->MinHeight()
            || FConstraints->MinWidth();
    }
    bool IsCaptionStored() const;

    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors {akLeft, akTop};
    TPoint FAnchorRules {};
    TPoint FOriginalParentSize {};
    bool FAnchorMove = false;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clWindow;
    bool FParentColor = true;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FUpdatingFont = false;
    std::string FText;
    std::string FHint;
    std::unique_ptr<TBasicActionLink> FActionLink;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    TCursor FCursor = crDefault;
    TComponent* FPopupMenu = nullptr;
    std::unique_ptr<TSizeConstraints> FConstraints;
    TDragMode FDragMode = dmManual;
    TCursor FDragCursor = crDrag;
};

// The form a control sits on (following Parent), nullptr when none.
TCustomForm* GetParentForm(const TControl* control);
// The windowless control holding the mouse capture (through its parent's window), nullptr when none.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);

}
