// TBitBtn: the glyph and caption layout and the owner-drawn picture of the plain look.
#include "platform/classes/TBitBtn.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"
#include "platform/user/controls/Button.h"
#include "platform/user/controls/ControlsCommon.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

TButtonLayoutResult CalcButtonLayout(
    const TRect& client, TSize glyph, TSize text, TButtonLayout layout, int margin, int spacing) {
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    const TSize room {client.right - client.left, client.bottom - client.top};
    TPoint glyphPos {0, 0};
    TPoint textPos {0, 0};
    if (across) {
        glyphPos.y = (room.cy - glyph.cy + 1) / 2;
        textPos.y = (room.cy - text.cy + 1) / 2;
    } else {
        glyphPos.x = (room.cx - glyph.cx + 1) / 2;
        textPos.x = (room.cx - text.cx + 1) / 2;
    }
    if (text.cx == 0 || glyph.cx == 0) spacing = 0;
    const int roomAlong = across ? room.cx : room.cy;
    const int glyphAlong = across ? glyph.cx : glyph.cy;
    const int textAlong = across ? text.cx : text.cy;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (roomAlong - (glyphAlong + textAlong)) / 3;
            spacing = margin;
        } else {
            margin = (roomAlong - (glyphAlong + spacing + textAlong) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (roomAlong - (margin + glyphAlong) - textAlong) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        glyphPos.x = margin;
        textPos.x = glyphPos.x + glyph.cx + spacing;
        break;
    case blGlyphRight:
        glyphPos.x = room.cx - margin - glyph.cx;
        textPos.x = glyphPos.x - spacing - text.cx;
        break;
    case blGlyphTop:
        glyphPos.y = margin;
        textPos.y = glyphPos.y + glyph.cy + spacing;
        break;
    case blGlyphBottom:
        glyphPos.y = room.cy - margin - glyph.cy;
        textPos.y = glyphPos.y - spacing - text.cy;
        break;
    }
    TButtonLayoutResult result;
    result.GlyphPos = TPoint {glyphPos.x + client.left, glyphPos.y + client.top};
    result.TextBounds = Bounds(textPos.x + client.left, textPos.y + client.top, text.cx, text.cy);
    return result;
}

// ---------------------------------------------------------------------------------------------------------

TBitBtn::TBitBtn(TComponent* owner)
    : TButton(owner)
    , FGlyph(std::make_unique<TBitmap>())
    , FCanvas(std::make_unique<TCanvas>()) {
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TBitBtn::~TBitBtn() {
    FGlyph->OnChange = nullptr;
}

TClass TBitBtn::StaticClass() {
    static const TClassInfo info = MakeClass<TBitBtn, TButton>("TBitBtn", [](auto& p) {
        p.Object("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
        p.Enum("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout, ButtonLayoutIdents, blGlyphLeft);
        p.Int("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin, -1);
        p.Int("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs, 1);
        p.Int("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing, 4);
    });
    return &info;
}

void TBitBtn::CreateParams(TCreateParams& params) {
    TButton::CreateParams(params);
    params.Style = (params.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
}

void TBitBtn::SetGlyph(const TBitmap* value) {
    FGlyph->Assign(value);
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout value) {
    if (FLayout == value) return;
    FLayout = value;
    Invalidate();
}

void TBitBtn::SetMargin(int value) {
    value = std::max(value, -1);
    if (FMargin == value) return;
    FMargin = value;
    Invalidate();
}

void TBitBtn::SetSpacing(int value) {
    value = std::max(value, -1);
    if (FSpacing == value) return;
    FSpacing = value;
    Invalidate();
}

void TBitBtn::SetNumGlyphs(int value) {
    value = std::clamp(value, 1, 4);
    if (FNumGlyphs == value) return;
    FNumGlyphs = value;
    Invalidate();
}

TSize TBitBtn::GlyphSize() const {
    if (FGlyph->Empty()) return TSize {0, 0};
    return TSize {FGlyph->Width() / FNumGlyphs, FGlyph->Height()};
}

void TBitBtn::SetButtonStyle(bool isDefault) {
    // Stays owner-drawn: the default look is painted.
    if (isDefault == FIsFocused) return;
    FIsFocused = isDefault;
    Invalidate();
}

void TBitBtn::WndProc(TMessage& message) {
    if (message.Msg == CN_DRAWITEM) {
        if (const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam)) DrawItem(*item);
        message.Result = 1;
        return;
    }
    TButton::WndProc(message);
}

void TBitBtn::CMEnabledChanged(TMessage& m) {
    TButton::CMEnabledChanged(m);
    Invalidate();
}

void TBitBtn::CMFontChanged(TMessage& m) {
    TButton::CMFontChanged(m);
    Invalidate();
}

void TBitBtn::CMTextChanged(TMessage& m) {
    TButton::CMTextChanged(m);
    Invalidate();
}

// One image of the glyph; without a disabled image an embossed grey copy of the first.
void TBitBtn::DrawGlyph(TCanvas* canvas, TPoint at, int image, bool enabled) {
    const TSize size = GlyphSize();
    if (size.cx <= 0 || size.cy <= 0) return;
    const TColor key = FGlyph->TransparentColor();
    const bool emboss = !enabled && FNumGlyphs < 2;
    if (image >= FNumGlyphs) image = 0;
    TBitmap piece;
    piece.SetPixelFormat(pf24bit);
    piece.SetSize(size.cx, size.cy);
    piece.Canvas()->CopyRect(
        Rect(0, 0, size.cx, size.cy), FGlyph->Canvas(), Bounds(image * size.cx, 0, size.cx, size.cy));
    if (emboss) {
        TBitmap shape;
        shape.SetPixelFormat(pf24bit);
        shape.SetSize(size.cx + 1, size.cy + 1);
        shape.Canvas()->Brush()->SetColor(key);
        shape.Canvas()->FillRect(Rect(0, 0, size.cx + 1, size.cy + 1));
        const TColor light = ColorToRGB(clBtnHighlight);
        const TColor dark = ColorToRGB(clBtnShadow);
        for (int pass = 0; pass < 2; ++pass)
            for (int y = 0; y < size.cy; ++y)
                for (int x = 0; x < size.cx; ++x) {
                    const TColor c = piece.Canvas()->Pixels(x, y);
                    if (c == key) continue;
                    // Only the darker pixels make the shape, as the grey look of the toolkit does.
                    const int luma = (gdi::GetRValue(gdi::COLORREF(c)) * 30 + gdi::GetGValue(gdi::COLORREF(c)) * 59
                                         + gdi::GetBValue(gdi::COLORREF(c)) * 11)
                        / 100;
                    if (luma >= 192) continue;
                    if (pass == 0)
                        shape.Canvas()->SetPixels(x + 1, y + 1, light);
                    else
                        shape.Canvas()->SetPixels(x, y, dark);
                }
        shape.SetTransparentColor(key);
        shape.SetTransparent(true);
        canvas->Draw(at.x, at.y, &shape);
        return;
    }
    piece.SetTransparentColor(key);
    piece.SetTransparent(true);
    canvas->Draw(at.x, at.y, &piece);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    FCanvas->SetHandle(item.hDC);
    TCanvas* canvas = FCanvas.get();
    HDC dc = item.hDC;
    TRect r = item.rcItem;
    if (FIsFocused || focused) {
        gdi::FrameRect(dc, &r, gdi::GetSysColorBrush(gdi::COLOR_WINDOWFRAME));
        gdi::InflateRect(&r, -1, -1);
    }
    if (pushed) {
        gdi::FrameRect(dc, &r, gdi::GetSysColorBrush(gdi::COLOR_BTNSHADOW));
        gdi::InflateRect(&r, -1, -1);
        gdi::FillRect(dc, &r, gdi::GetSysColorBrush(gdi::COLOR_BTNFACE));
    } else {
        gdi::DrawEdge(dc, &r, gdi::EDGE_RAISED, gdi::BF_RECT | gdi::BF_MIDDLE | gdi::BF_ADJUST);
    }
    TRect client = item.rcItem;
    gdi::InflateRect(&client, -2, -2);
    if (pushed) gdi::OffsetRect(&client, 1, 1);

    canvas->SetFont(Font());
    const std::string caption = Caption();
    TSize textSize {0, 0};
    const UINT format = gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_WORDBREAK;
    if (!caption.empty()) {
        TRect measure = Rect(0, 0, client.right - client.left, 0);
        canvas->TextRect(measure, caption, format | gdi::DT_CALCRECT);
        textSize = TSize {measure.right - measure.left, measure.bottom - measure.top};
    }
    const TButtonLayoutResult place = CalcButtonLayout(client, GlyphSize(), textSize, FLayout, FMargin, FSpacing);
    const int image = !enabled ? 1 : pushed ? 2 : 0;
    DrawGlyph(canvas, place.GlyphPos, image, enabled);
    if (!caption.empty()) {
        TRect text = place.TextBounds;
        canvas->Brush()->SetStyle(bsClear);
        if (!enabled) {
            TRect shifted = text;
            gdi::OffsetRect(&shifted, 1, 1);
            canvas->Font()->SetColor(clBtnHighlight);
            canvas->TextRect(shifted, caption, format);
            canvas->Font()->SetColor(clBtnShadow);
        } else {
            canvas->Font()->SetColor(Font()->Color());
        }
        canvas->TextRect(text, caption, format);
        canvas->Brush()->SetStyle(bsSolid);
    }
    if (focused) {
        TRect focus = item.rcItem;
        gdi::InflateRect(&focus, -4, -4);
        canvas->DrawFocusRect(focus);
    }
    FCanvas->SetHandle(nullptr);
}

}
