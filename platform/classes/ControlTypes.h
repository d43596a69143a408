// Value types of the controls: alignment, anchors, control styles and states, mouse and key events, cursors.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/TObject.h"
#include "platform/classes/TSet.h"
#include "platform/user/UserTypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace korvex::classes {

class TControl;
class TWinControl;
class TGraphicControl;
class TCustomControl;
class TCustomForm;
class TForm;
class TApplication;
class TScreen;
class TTimer;
class TPopupMenu;   // declared with the menus
class TMainMenu;   // declared with the menus

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
inline constexpr std::string_view AlignIdents[]
    = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"};

// Reading order: right-to-left modes mirror the alignment, the reading of text and the side of scroll bars, or
// only some of them.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
inline constexpr std::string_view BiDiModeIdents[]
    = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"};
// What a mode asks for: alignment mirrored, text read right to left, vertical scroll bars on the left.
inline constexpr bool RightToLeftAlignment(TBiDiMode mode) { return mode == bdRightToLeft; }
inline constexpr bool RightToLeftReading(TBiDiMode mode) { return mode != bdLeftToRight; }
inline constexpr bool RightToLeftScrollBar(TBiDiMode mode) {
    return mode == bdRightToLeft || mode == bdRightToLeftNoAlign;
}

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
inline constexpr std::string_view AnchorIdents[] = {"akLeft", "akTop", "akRight", "akBottom"};

// What a control is and does; set by constructors.
enum TControlStyleItem {
    csAcceptsControls,   // other controls may be put on it (at design time)
    csCaptureMouse,   // captures the mouse while a button is held on it
    csDesignInteractive,
    csClickEvents,   // a press and release on it is a click
    csFramed,
    csSetCaption,   // the caption follows the name until it is set
    csOpaque,   // paints its whole rectangle: the parent need not paint under it
    csDoubleClicks,   // double clicks arrive as such (else as a second press)
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,   // no OnMouse*/OnKey* events from the standard handlers
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
    csNeedsBorderPaint,
    csParentBackground,   // the parent's background shows through
};
using TControlStyle = TSet<TControlStyleItem>;

// Bevels of a windowed control's border (BevelKind, BevelInner, BevelOuter, BevelEdges) and of panels.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
inline constexpr std::string_view BevelCutIdents[] = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
inline constexpr std::string_view BevelKindIdents[] = {"bkNone", "bkTile", "bkSoft", "bkFlat"};
enum TBevelEdge { beLeft, beTop, beRight, beBottom };
using TBevelEdges = TSet<TBevelEdge>;
inline constexpr std::string_view BevelEdgeIdents[] = {"beLeft", "beTop", "beRight", "beBottom"};

// What a control is going through; kept by the library.
enum TControlStateItem {
    csLButtonDown,   // the left button went down on it
    csClicked,   // a click is under way (down on it, not released yet)
    csPalette,
    csReadingState,   // its properties are being read from component text
    csAlignmentNeeded,   // a layout was put off (DisableAlign, loading)
    csFocusing,   // it is being given the focus
    csCreating,   // its window is being made
    csPaintCopy,
    csCustomPaint,   // it paints itself (WM_PAINT under way)
    csDestroyingHandle,   // its window is being destroyed
    csDocking,
};
using TControlState = TSet<TControlStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, user::WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char32_t& key)>;
using TContextPopupEvent = std::function<void(TObject* sender, TPoint mousePos, bool& handled)>;
using TMouseWheelEvent
    = std::function<void(TObject* sender, TShiftState shift, int wheelDelta, TPoint mousePos, bool& handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* sender, TShiftState shift, TPoint mousePos, bool& handled)>;

// Dragging one control onto another within the program.
enum TDragMode { dmManual, dmAutomatic };
inline constexpr std::string_view DragModeIdents[] = {"dmManual", "dmAutomatic"};
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// x, y: the point in the target's client coordinates. accept starts true when OnDragOver is set.
using TDragOverEvent
    = std::function<void(TObject* sender, TObject* source, int x, int y, TDragState state, bool& accept)>;
using TDragDropEvent = std::function<void(TObject* sender, TObject* source, int x, int y)>;
// target: the control the source was dropped on, nullptr when the drag was cancelled or refused.
using TEndDragEvent = std::function<void(TObject* sender, TObject* target, int x, int y)>;
// dragObject: what is dragged, nullptr for the control itself.
using TStartDragEvent = std::function<void(TObject* sender, TObject*& dragObject)>;

// Mouse key flags (MK_*) and key data (lParam of key messages) as shift states.
TShiftState KeysToShiftState(user::WPARAM keys);
TShiftState KeyDataToShiftState(user::LPARAM keyData);
TShiftState KeyboardStateToShiftState();   // from GetKeyState now

// Cursors: the class library's numbers; Screen->Cursors(crHandPoint) gives the HCURSOR.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crSize = crSizeAll;

// Modal results: a button's ModalResult closes a modal form with its value.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

// What CreateParams fills for CreateWnd: the window class and the CreateWindowEx arguments.
struct TCreateParams {
    std::string Caption;
    user::DWORD Style = 0;
    user::DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    user::HWND WndParent = nullptr;
    void* Param = nullptr;
    user::WNDCLASSEX WindowClass;
    std::string WinClassName;   // the class registered for the control (the class name by default)
};

}
