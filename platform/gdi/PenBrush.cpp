// Pens, brushes and the stock objects.
#include "platform/gdi/PenBrush.h"

#include "platform/gdi/Fonts.h"
#include "platform/gdi/StockObjects.h"
#include "platform/gdi/SysColors.h"

#include <new>

namespace korvex::gdi {

Pen::Pen(int style, int width, COLORREF color)
    : GdiObject(ObjectKind::Pen)
    , FStyle(style)
    , FWidth(width < 1 ? 1 : width)
    , FColor(color) {
}

Brush::Brush(UINT style, COLORREF color)
    : GdiObject(ObjectKind::Brush)
    , FStyle(style)
    , FColor(color) {
}

HPEN CreatePen(int style, int width, COLORREF color) {
    style &= PS_STYLE_MASK;
    if (style > PS_INSIDEFRAME) style = PS_SOLID;
    return new (std::nothrow) Pen(style, width, PaintColor(color));
}

HPEN CreatePenIndirect(const LOGPEN* logPen) {
    if (!logPen) return nullptr;
    return CreatePen(int(logPen->lopnStyle), logPen->lopnWidth.x, logPen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return new (std::nothrow) Brush(BS_SOLID, PaintColor(color));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush) {
    if (!logBrush || (logBrush->lbStyle != BS_SOLID && logBrush->lbStyle != BS_NULL)) return nullptr;
    return new (std::nothrow) Brush(logBrush->lbStyle, PaintColor(logBrush->lbColor));
}

bool GetObject(HPEN handle, LOGPEN* out) {
    Pen* pen = ObjectCast<Pen>(handle);
    if (!pen || !out) return false;
    out->lopnStyle = UINT(pen->Style());
    out->lopnWidth = POINT {pen->Width(), 0};
    out->lopnColor = pen->Color();
    return true;
}

bool GetObject(HBRUSH handle, LOGBRUSH* out) {
    Brush* brush = ObjectCast<Brush>(handle);
    if (!brush || !out) return false;
    out->lbStyle = brush->Style();
    out->lbColor = brush->Color();
    out->lbHatch = 0;
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Stock objects: made once, marked stock, never freed.

namespace {

template <class T>
T* MakeStock(T* object) {
    object->MarkStock();
    return object;
}

struct StockTable {
    Brush* Brushes[6];
    Pen* Pens[3];
    Bitmap* DefaultBitmap;
};

StockTable& Stock() {
    static StockTable* table = [] {
        auto* t = new StockTable;
        const COLORREF brushColors[]
            = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128), RGB(64, 64, 64), RGB(0, 0, 0)};
        for (int i = 0; i < 5; ++i)
            t->Brushes[i] = MakeStock(new Brush(BS_SOLID, brushColors[i]));
        t->Brushes[5] = MakeStock(new Brush(BS_NULL, 0));
        t->Pens[0] = MakeStock(new Pen(PS_SOLID, 1, RGB(255, 255, 255)));
        t->Pens[1] = MakeStock(new Pen(PS_SOLID, 1, RGB(0, 0, 0)));
        t->Pens[2] = MakeStock(new Pen(PS_NULL, 1, 0));
        t->DefaultBitmap = MakeStock(Bitmap::Create(1, 1, PixelFormat::pf32bit));
        return t;
    }();
    return *table;
}

}

HGDIOBJ GetStockObject(int index) {
    if (index >= WHITE_BRUSH && index <= NULL_BRUSH) return Stock().Brushes[index];
    if (index >= WHITE_PEN && index <= NULL_PEN) return Stock().Pens[index - WHITE_PEN];
    if (index == SYSTEM_FONT || index == DEFAULT_GUI_FONT || index == ANSI_VAR_FONT) return GetStockFont(index);
    return nullptr;
}

HBITMAP DefaultBitmap() {
    return Stock().DefaultBitmap;
}

}
