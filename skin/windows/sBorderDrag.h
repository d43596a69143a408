// TsBorderDrag: a skinned form's own move and size by the frame (ResizeMode rmBorder): an outline follows the
// mouse and the form moves or sizes once at the release; also the snap to the work area's edges and the
// bounds of a maximized form.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "platform/user/Forward.h"

namespace korvex::classes {
struct TMessage;
}

namespace korvex::user {
struct MINMAXINFO;
}

namespace korvex::skin {

class TsSkinProvider;

class TsBorderDrag {
public:
    explicit TsBorderDrag(TsSkinProvider& provider)
        : FProvider(provider) { }
    ~TsBorderDrag();
    TsBorderDrag(const TsBorderDrag&) = delete;
    TsBorderDrag& operator=(const TsBorderDrag&) = delete;

    static bool InOutlineDrag();   // one drag at a time for the whole application
    static classes::TRect OutlineRect();   // the outline shown now, in screen coordinates (empty when none)

    // The outline loop; nothing of it unless rmBorder.
    void StartMove(int x, int y);   // the outline drawn at the form
    void StopMove();   // the outline erased, the form moved or sized once
    void DrawOutline(int x, int y);
    bool StartFromPress(classes::TMessage& message);   // WM_NCLBUTTONDOWN on the frame or the title band
    bool SysCommand(classes::TMessage& message);   // SC_MOVE and SC_SIZE: the own loop instead of the system's
    void MouseMove(classes::TMessage& message);
    bool EndFromRelease(classes::TMessage& message);
    void Cancel();   // the capture went elsewhere: the outline goes and the window stays
    void LatchBorder(int hitCode);   // the frame edge or corner a coming size drag takes

    // Snapping (ScreenSnap) to the desktop's work area, and the maximized bounds.
    void Snap(user::WINDOWPOS& pos) const;
    // A position of a form of a size snapped to a work area's edges within a buffer.
    static void SnapToWorkArea(
        int& x, int& y, classes::TSize size, const classes::TRect& work, classes::TPoint display, int buffer);
    // The maximized bounds the system left open (-1) filled from the work area and the frame's sizes.
    void FillMaximizedBounds(user::MINMAXINFO& info) const;
    static void FillMaximizedBounds(user::MINMAXINFO& info, const classes::TRect& work, int frameX, int frameY);

private:
    bool Active() const;   // rmBorder on a form that is still there

    TsSkinProvider& FProvider;
    bool FStartingDrag = false;   // the move or size command comes from the provider's own press
};

}
