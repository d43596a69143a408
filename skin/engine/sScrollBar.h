// TsScrollBar: a scroll bar that is the native "SCROLLBAR" while no skin is active and paints itself from the
// skin while one is; controls with scroll bars lay two of them over their own.
#pragma once

#include "platform/classes/TScrollBar.h"
#include "platform/classes/TWinControl.h"
#include "skin/engine/Forward.h"
#include "skin/engine/sParentCache.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sScrollBarGeometry.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace korvex::classes {
class TBitmap;
class TTimer;
}

namespace korvex::skin {

// Part states
inline constexpr int psNormal = 0;
inline constexpr int psHot = 1;
inline constexpr int psPressed = 2;

// Line and page steps are 16-bit (1 .. 32767).
using TScrollBarInc = int;

// Positions run from Min to Max (both reachable); PageSize only sets the thumb's length. OnScroll sees every
// scroll code with the position it leads to, OnChange follows every change of Position. The host's ChangeHook
// runs before both with the previous position.
//
// Skinned, the bar keeps its own window: a press on an arrow steps at once, again after 500 ms and then every
// 100 ms while the arrow stays pressed; a press on the track pages toward the pointer the same way until the
// thumb reaches it; the thumb follows the pointer (Smooth off: one change on release). The bar holds the
// mouse from press to release. Keys: arrows step, Page Up and Down page, Home and End go to the ends.
class TsScrollBar : public classes::TWinControl {
public:
    explicit TsScrollBar(classes::TComponent* owner);
    ~TsScrollBar() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    // ---- Published ----
    classes::TScrollBarKind Kind() const { return FKind; }
    void SetKind(classes::TScrollBarKind value);   // swaps width and height (not while loading)
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);   // negative values are ignored
    int Position() const { return FPosition; }
    void SetPosition(int value);
    TScrollBarInc SmallChange() const { return FSmallChange; }
    void SetSmallChange(TScrollBarInc value);
    TScrollBarInc LargeChange() const { return FLargeChange; }
    void SetLargeChange(TScrollBarInc value);
    bool Smooth() const { return FSmooth; }   // off: a thumb drag reports one change, on release
    void SetSmooth(bool value) { FSmooth = value; }
    TsDisabledKind DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(TsDisabledKind value);
    TsCommonData* SkinData() const { return FCommonData.get(); }

    classes::TScrollEvent OnScroll;
    classes::TNotifyEvent OnChange;

    // ---- For host controls ----
    // The control the bar serves: its cache is the bar's background, its name goes into range complaints.
    classes::TWinControl* HostControl() const;
    void SetHostControl(classes::TWinControl* value);
    // Called as hook(bar, previous Position) after the position changed, before OnScroll and OnChange.
    std::function<void(TsScrollBar* bar, int previousPosition)> ChangeHook;
    bool PaintingSuppressed = false;   // no painting while the host writes several properties
    bool NoNotify = false;   // position changes call neither ChangeHook nor the events
    int LastScrollCode = -1;   // the scroll code of the last user action (-1: none, and no OnScroll)
    bool MouseChanged() const { return FMouseChanged; }
    void ClearMouseChanged() { FMouseChanged = false; }

    // ---- Operations ----
    // The position limited to [min, max] (an inverted range leaves it at max) and the range stored. Skinned,
    // max < min is written to the log instead of raising; unskinned it raises EInvalidOperation, and a new
    // position enables the bar.
    void SetParams(int position, int min, int max);
    // A scroll message (WM_HSCROLL / WM_VSCROLL, CN_ forms): code in the low word, thumb position in the high.
    void DoScroll(classes::TMessage& message);
    // Paints now when a part or the position changed.
    void UpdateBar();
    // The skin state has a manager whose skin is loaded: the bar paints itself.
    bool SkinActive() const;
    bool CanFocus() const override;   // and TabStop
    int PartState(TsScrollPart part) const { return FParts[std::size_t(part)]; }
    TsScrollGeometry Geometry() const;
    // -1 for a native horizontal bar read right to left (its window holds Min + Max - Position), else +1.
    int DirectionFactor() const { return FDirection; }
    classes::TRect PartRect(TsScrollPart part) const;   // in client coordinates, full width across

protected:
    void CreateParams(classes::TCreateParams& params) override;
    void CreateWnd() override;
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    void KeyDown(user::WORD& key, classes::TShiftState shift) override;

private:
    enum class TimerKind { Arrow, Paging, Drag };

    bool IsVertical() const { return FKind == classes::sbVertical; }
    int ArrowSize() const;
    int AlongOf(classes::TPoint p) const { return IsVertical() ? p.y : p.x; }
    bool IsPlainWindow() const { return FPlainWindow; }
    bool Mirrored() const { return FDirection < 0; }
    void SyncNativeBar(bool redraw);   // range, page and position into the native window
    void Recreate();   // in the form the skin's state asks for
    // co_: these fire events that may free the bar; false when it is gone.
    bool co_Change(int oldPosition);
    bool co_Scroll(int code, int& position);
    bool co_MovePosition(int value);   // SetPosition, with the bar's survival reported
    std::string RangeComplaint(int max) const;

    // Painting (sScrollBar_Paint.cpp)
    void PaintSkinned(user::HDC dc);
    TsParentCacheInfo BackgroundInfo();
    void PaintTracks(classes::TBitmap* target, const TsParentCacheInfo& ci);
    // colours: the paint's colours; arrows and thumb look through to the target itself.
    void PaintArrows(classes::TBitmap* target, const TsScrollGeometry& g, const TsParentCacheInfo& colours);
    void PaintThumb(classes::TBitmap* target, const TsScrollGeometry& g, const TsParentCacheInfo& colours);
    void PaintDisabledLook(classes::TBitmap* target, const TsParentCacheInfo& ci);

    // Mouse and timers (sScrollBar_Mouse.cpp)
    bool MouseHandled(classes::TMessage& message);   // the skinned mouse; true: do not pass on
    void SetPart(TsScrollPart part, int state);   // hot or pressed resets the others first
    void ResetParts();
    void MouseDownAt(classes::TPoint p);
    void MouseMoveAt(classes::TPoint p);
    void MouseUpAt(classes::TPoint p);
    void ReleaseMouse();   // the press ends: repeat stopped, capture given back
    void RestoreHints();   // the application's hints as they were before the press
    void ReleaseHeldNotifications(bool always);   // always: one change even without a move
    void StartTimer(TimerKind kind);
    void StopTimer();
    void TimerTick();
    void DragTick();   // the held thumb follows a pointer that is off the bar
    bool PointerOver(classes::TPoint p) const;   // client point inside the bar
    int DragPosition(const TsScrollGeometry& g, int along) const;   // under the pointer, less the drag offset
    classes::TPoint CursorInClient() const;
    void MouseEnterLeave(bool entered);

    std::unique_ptr<TsCommonData> FCommonData;
    std::unique_ptr<classes::TComponentWatch> FHost;
    classes::TScrollBarKind FKind = classes::sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPageSize = 0;
    int FPosition = 0;
    TScrollBarInc FSmallChange = 1;
    TScrollBarInc FLargeChange = 1;
    bool FSmooth = true;
    TsDisabledKind FDisabledKind = DefaultDisabledKind;
    int FDirection = 1;

    std::array<int, ScrollPartCount> FParts {};   // psNormal / psHot / psPressed per TsScrollPart
    bool FPartsChanged = false;   // a repaint is due
    bool FMouseChanged = false;   // the mouse moved the position: the background is not erased
    bool FPlainWindow = false;   // the window is the bar's own, not the native class
    bool FPressing = false;   // a press is tracked (capture held)
    bool FHintsOff = false;   // the press switched the application's hints off
    bool FSavedShowHint = true;
    int FDragOffset = 0;   // position under the pointer minus Position when the thumb was grabbed
    bool FHeld = false;   // Smooth off: changes wait for the release
    int FHeldFrom = 0;   // Position when they started waiting
    std::unique_ptr<classes::TTimer> FTimer;
    TimerKind FTimerKind = TimerKind::Arrow;
    bool FFirstTick = false;
};

// Shows a host's bar: the mouse-change flag cleared, the host's parent as parent when it has none, visible,
// shown without activation.
void ShowSkinScrollBar(TsScrollBar* bar, classes::TControl* control);

}
