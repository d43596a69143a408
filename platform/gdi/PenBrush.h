// Pens and brushes: the GDI objects that give lines and fills their colour and style.
#pragma once

#include "platform/gdi/GdiObject.h"

namespace korvex::gdi {

struct LOGPEN {
    UINT lopnStyle = PS_SOLID;
    POINT lopnWidth {};   // x is the width
    COLORREF lopnColor = 0;
};

struct LOGBRUSH {
    UINT lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
    uintptr_t lbHatch = 0;
};

class Pen final : public GdiObject {
public:
    static constexpr ObjectKind StaticKind = ObjectKind::Pen;

    Pen(int style, int width, COLORREF color);

    int Style() const { return FStyle; }   // PS_SOLID ... PS_INSIDEFRAME
    int Width() const { return FWidth; }   // at least 1
    COLORREF Color() const { return FColor; }
    bool IsNull() const { return FStyle == PS_NULL; }

private:
    int FStyle;
    int FWidth;
    COLORREF FColor;
};

class Brush final : public GdiObject {
public:
    static constexpr ObjectKind StaticKind = ObjectKind::Brush;

    Brush(UINT style, COLORREF color);

    UINT Style() const { return FStyle; }   // BS_SOLID or BS_NULL
    COLORREF Color() const { return FColor; }
    bool IsNull() const { return FStyle == BS_NULL; }

private:
    UINT FStyle;
    COLORREF FColor;
};

// Unknown styles fall back to PS_SOLID; a width below 1 draws 1 pixel wide. System colours are resolved.
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* logPen);
HBRUSH CreateSolidBrush(COLORREF color);
// BS_SOLID and BS_NULL; other styles are refused (nullptr).
HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush);

bool GetObject(HPEN pen, LOGPEN* out);
bool GetObject(HBRUSH brush, LOGBRUSH* out);

}
