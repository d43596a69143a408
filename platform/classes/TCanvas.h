// TCanvas: drawing on a gdi device context with a font, a pen and a brush that it selects lazily.
#pragma once

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/TSet.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <span>
#include <string>

namespace korvex::classes {

class TGraphic;

// What is selected into the DC; a change of the font, pen or brush drops its item so the next drawing
// call that needs it selects the new handle (and its colours and mode) again.
enum TCanvasStateItem { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStateItem>;

// Raster operations of CopyRect, Draw and StretchDraw (gdi's ternary codes).
using TCopyMode = gdi::DWORD;
inline constexpr TCopyMode cmBlackness = gdi::BLACKNESS;
inline constexpr TCopyMode cmDstInvert = gdi::DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = gdi::MERGECOPY;
inline constexpr TCopyMode cmMergePaint = gdi::MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = gdi::NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = gdi::NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = gdi::PATCOPY;
inline constexpr TCopyMode cmPatInvert = gdi::PATINVERT;
inline constexpr TCopyMode cmPatPaint = gdi::PATPAINT;
inline constexpr TCopyMode cmSrcAnd = gdi::SRCAND;
inline constexpr TCopyMode cmSrcCopy = gdi::SRCCOPY;
inline constexpr TCopyMode cmSrcErase = gdi::SRCERASE;
inline constexpr TCopyMode cmSrcInvert = gdi::SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = gdi::SRCPAINT;
inline constexpr TCopyMode cmWhiteness = gdi::WHITENESS;

// A canvas draws on the DC it is given (SetHandle) or, in descendants, on one it makes (CreateHandle).
// Without a DC every drawing call does nothing and every query answers 0 or an empty value.
// Drawing calls fire OnChanging before and OnChange after. The canvas does not own a DC set from outside.
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    gdi::HDC Handle();   // makes the DC through CreateHandle when there is none (may stay nullptr)
    void SetHandle(gdi::HDC value);   // deselects the font, pen and brush from the old DC
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* value) { FFont->Assign(value); }
    TPen* Pen() const { return FPen.get(); }
    void SetPen(const TPen* value) { FPen->Assign(value); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(const TBrush* value) { FBrush->Assign(value); }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode value) { FCopyMode = value; }
    // ExtTextOut options of TextOut and TextRect (ETO_OPAQUE, ETO_CLIPPED); 0 by default.
    gdi::UINT TextFlags() const { return FTextFlags; }
    void SetTextFlags(gdi::UINT value) { FTextFlags = value; }

    TPoint PenPos();   // the DC's current position
    void SetPenPos(TPoint value) { MoveTo(value.x, value.y); }
    TRect ClipRect();   // GetClipBox: logical coordinates
    // GetPixel / SetPixel; reading outside the surface or the clip gives -1 (CLR_INVALID).
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);

    // Lines and shapes with gdi's rules: the last point of a line and the right and bottom edges of a
    // shape are not drawn. Shapes are outlined with the pen and filled with the brush.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    void Polygon(std::span<const TPoint> points);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& rect) { Ellipse(rect.left, rect.top, rect.right, rect.bottom); }
    // Counter-clockwise from the radial through (x3, y3) to the radial through (x4, y4).
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void FillRect(const TRect& rect);   // with the brush
    void FrameRect(const TRect& rect);   // a one-pixel frame in the brush colour
    void DrawFocusRect(const TRect& rect);   // XOR dots: drawing it twice restores the pixels

    // Text in the font. TextOut writes at (x, y) and moves PenPos to the end of the text. TextRect writes
    // at (x, y) clipped to rect; a solid brush fills rect first. The formatted TextRect runs DrawText with
    // DT_* flags on rect (DT_CALCRECT measures only and changes rect).
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& rect, int x, int y, const std::string& text);
    void TextRect(TRect& rect, const std::string& text, gdi::UINT format);
    TSize TextExtent(const std::string& text);   // (0, 0) without a DC
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }

    // Pictures: Draw at their own size (transparent bitmaps leave their transparent colour out, icons blend
    // by their alpha), StretchDraw scaled to rect; an empty or null graphic draws nothing.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& rect, TGraphic* graphic);
    // Copies source of another canvas into dest with CopyMode, stretched when the sizes differ.
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);

    // A canvas shared with worker threads is locked around each use; Lock nests on one thread.
    void Lock();
    bool TryLock();
    void Unlock();
    int LockCount() const { return FLockCount.load(); }

    // Deselects the font, pen and brush, so the next drawing selects them again (after SaveDC/RestoreDC
    // or drawing on the DC behind the canvas's back).
    void Refresh();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void CreateHandle() { }   // descendants make their DC here and SetHandle it
    // Makes sure the items are in place; false (nothing can be drawn) when there is no DC.
    bool RequiredState(TCanvasState required);
    void DeselectHandles();
    virtual void Changing();
    virtual void Changed();

private:
    void FontChanged();
    void PenChanged();
    void BrushChanged();

    gdi::HDC FHandle = nullptr;
    TCanvasState FState;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TCopyMode FCopyMode = cmSrcCopy;
    gdi::UINT FTextFlags = 0;
    std::recursive_mutex FLock;
    std::atomic<int> FLockCount {0};
};

}
