// Drawing on a device context with GDI's rules: right and bottom edges excluded, the last point of a line
// not drawn, aliased pixels. Coordinates are logical. Every call is clipped; degenerate input (empty or
// inverted rectangles, null handles, too few points) draws nothing and returns false.
#pragma once

#include "platform/gdi/DeviceContext.h"

namespace korvex::gdi {

// ---------------------------------------------------------------------------------------------------------
// Pixels
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);   // the colour set; CLR_INVALID when clipped
bool SetPixelV(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);   // CLR_INVALID outside the surface or the clip

// ---------------------------------------------------------------------------------------------------------
// Rectangles and regions (brush fills ignore the DC's ROP2, as PATCOPY does)
bool FillRect(HDC dc, const RECT* rect, HBRUSH brush);
bool FrameRect(HDC dc, const RECT* rect, HBRUSH brush);   // a one-pixel frame just inside rect
bool InvertRect(HDC dc, const RECT* rect);
bool FillRgn(HDC dc, HRGN region, HBRUSH brush);   // region in logical coordinates
bool PaintRgn(HDC dc, HRGN region);   // with the selected brush
bool InvertRgn(HDC dc, HRGN region);
bool PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);   // PATCOPY, PATINVERT, DSTINVERT,
                                                                       // BLACKNESS, WHITENESS

// ---------------------------------------------------------------------------------------------------------
// Lines with the selected pen and the DC's ROP2. Styled pens (PS_DOT ...) fill their gaps with the
// background colour when the background mode is OPAQUE. Pens wider than 1 have round ends.
bool MoveToEx(HDC dc, int x, int y, POINT* previous);
bool GetCurrentPositionEx(HDC dc, POINT* position);
bool LineTo(HDC dc, int x, int y);   // from the current position; the end point is not drawn
bool Polyline(HDC dc, const POINT* points, int count);   // count >= 2; the last point is not drawn
bool PolylineTo(HDC dc, const POINT* points, int count);

// ---------------------------------------------------------------------------------------------------------
// Filled shapes: outlined with the selected pen, filled with the selected brush, both through ROP2.
// A pen of width w > 1 is centred on the outline; PS_INSIDEFRAME keeps it inside the box.
bool Rectangle(HDC dc, int left, int top, int right, int bottom);
bool RoundRect(HDC dc, int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
bool Ellipse(HDC dc, int left, int top, int right, int bottom);
// Arcs run counter-clockwise (as seen on the screen) from the start radial to the end radial; equal
// radials give the whole ellipse.
bool Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
bool Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
bool Chord(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
// Filled with the DC's fill mode (ALTERNATE by default), closed, the outline through every vertex.
bool Polygon(HDC dc, const POINT* points, int count);

// ---------------------------------------------------------------------------------------------------------
// 3-D edges, focus rectangles and frame-control glyphs, in the system colours.
// DrawEdge: BDR_* / EDGE_* edges on the BF_* sides; BF_ADJUST shrinks rect by what was drawn, BF_MIDDLE
// fills the inside with the button face, BF_FLAT / BF_MONO draw flat one-colour borders.
bool DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);
// A dotted frame (every other pixel) inverted with XOR: drawing it twice restores the pixels.
bool DrawFocusRect(HDC dc, const RECT* rect);
// DFC_SCROLL glyphs: DFCS_SCROLLUP/DOWN/LEFT/RIGHT/COMBOBOX, with DFCS_PUSHED, DFCS_INACTIVE, DFCS_FLAT.
bool DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state);

// ---------------------------------------------------------------------------------------------------------
// Gradients: GRADIENT_FILL_TRIANGLE (mesh of GRADIENT_TRIANGLE) or GRADIENT_FILL_RECT_H / _V (GRADIENT_RECT).
// Each pixel takes the colour interpolated between the vertices at its position; a vertex pixel that is
// filled takes exactly that vertex's colour (channels are the high bytes of the COLOR16 values).
bool GradientFill(HDC dc, const TRIVERTEX* vertices, UINT vertexCount, const void* mesh, UINT meshCount, UINT mode);

}
