// The caret: one per thread, owned by a window, blinking on a timer of its owner.
#pragma once

#include "platform/user/UserTypes.h"

namespace korvex::user {

// As Windows: CreateCaret replaces any caret (of any window of the thread) and starts hidden; ShowCaret and
// HideCaret count (a caret shows once ShowCaret balanced every HideCaret); DestroyCaret removes it (and its
// pixels). The caret is drawn by inverting its rectangle on the owner's client area, so drawing it twice
// restores the pixels. A window that repaints itself calls PaintCaret at the end of its WM_PAINT, so the caret
// comes back over what was painted. Blinking runs on a timer of the owner window; moving the caret shows it
// at once and starts the blink over.
bool CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);   // bitmap: kept for the shape; ignored
bool DestroyCaret();
bool ShowCaret(HWND hwnd);   // nullptr: the caret's owner if it belongs to this thread
bool HideCaret(HWND hwnd);
bool SetCaretPos(int x, int y);   // client coordinates of the owner
bool GetCaretPos(POINT* point);
bool SetCaretBlinkTime(UINT ms);
UINT GetCaretBlinkTime();   // 530 ms by default

// For the owner's WM_PAINT: draws the caret into the paint DC when it is in its visible phase.
void PaintCaret(HWND hwnd, HDC dc);
// True while the caret belongs to hwnd, is shown and is in its visible phase (tests).
bool IsCaretDrawn(HWND hwnd);

inline constexpr std::uintptr_t CaretTimerId = 0xFFFF0001;   // the owner's blink timer

}
