// TSpeedButton: pressing, groups, hot tracking of flat buttons and painting.
#include "platform/classes/TSpeedButton.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Types.h"

#include <algorithm>

namespace korvex::classes {

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner)
    , FGlyph(std::make_unique<TBitmap>()) {
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
    FControlStyle = TControlStyle {csCaptureMouse, csDoubleClicks, csOpaque};
    SetParentColor(false);
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 23, 22);
}

TSpeedButton::~TSpeedButton() {
    FGlyph->OnChange = nullptr;
}

TClass TSpeedButton::StaticClass() {
    static const TClassInfo info = MakeClass<TSpeedButton, TGraphicControl>("TSpeedButton", [](auto& p) {
        p.Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp, false);
        p.Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, 0);
        p.Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false);
        p.Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat, false);
        p.Object("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
        p.Enum("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout, ButtonLayoutIdents, blGlyphLeft);
        p.Int("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin, -1);
        p.Int("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs, 1);
        p.Int("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing, 4);
    });
    return &info;
}

void TSpeedButton::SetDown(bool value) {
    if (FGroupIndex == 0) value = false;
    if (value == FDown) return;
    if (FDown && !FAllowAllUp && !ComponentState().Contains(csLoading)) return;
    FDown = value;
    FState = value ? sbsExclusive : sbsUp;
    Invalidate();
    if (value) UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int value) {
    if (value == FGroupIndex) return;
    FGroupIndex = std::max(value, 0);
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool value) {
    if (value == FAllowAllUp) return;
    FAllowAllUp = value;
    UpdateExclusive();
}

void TSpeedButton::SetFlat(bool value) {
    FFlat = value;
    Invalidate();
}

void TSpeedButton::SetGlyph(const TBitmap* value) {
    FGlyph->Assign(value);
}

void TSpeedButton::SetNumGlyphs(int value) {
    FNumGlyphs = std::clamp(value, 1, 4);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
    FLayout = value;
    Invalidate();
}

void TSpeedButton::SetMargin(int value) {
    FMargin = std::max(value, -1);
    Invalidate();
}

void TSpeedButton::SetSpacing(int value) {
    FSpacing = std::max(value, -1);
    Invalidate();
}

void TSpeedButton::UpdateExclusive() {
    if (FGroupIndex == 0 || Parent() == nullptr) return;
    TMessage m {CM_BUTTONPRESSED, WPARAM(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (Parent()->Controls(i) != this) Parent()->Controls(i)->Perform(m);
}

void TSpeedButton::Click() {
    TGraphicControl::Click();
}

void TSpeedButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_BUTTONPRESSED: {
        auto* sender = reinterpret_cast<TSpeedButton*>(message.LParam);
        if (int(message.WParam) != FGroupIndex || sender == this || FGroupIndex == 0) break;
        if (sender->Down() && FDown) {
            FDown = false;
            FState = sbsUp;
            Invalidate();
        }
        FAllowAllUp = sender->AllowAllUp();
        return;
    }
    case CM_MOUSEENTER:
        FMouseInControl = true;
        if (FFlat && Enabled()) Invalidate();
        break;
    case CM_MOUSELEAVE:
        FMouseInControl = false;
        if (FFlat && Enabled()) Invalidate();
        break;
    case CM_ENABLEDCHANGED:
        Invalidate();
        break;
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    }
    TGraphicControl::WndProc(message);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (!RunUserCode(this, [&] { TGraphicControl::MouseDown(button, shift, x, y); })) return;
    if (button != mbLeft || !Enabled()) return;
    if (!FDown) {
        FState = sbsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    if (!RunUserCode(this, [&] { TGraphicControl::MouseMove(shift, x, y); })) return;
    if (!FDragging) return;
    TSpeedButtonState state = FDown ? sbsExclusive : sbsUp;
    if (Inside(x, y)) state = FDown ? sbsExclusive : sbsDown;
    if (state != FState) {
        FState = state;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!RunUserCode(this, [&] { TGraphicControl::MouseUp(button, shift, x, y); })) return;
    if (!FDragging || button != mbLeft) return;
    FDragging = false;
    bool clicked = Inside(x, y);
    if (FGroupIndex == 0) {
        FState = sbsUp;
        Invalidate();
    } else if (clicked) {
        SetDown(!FDown);
        if (FDown) FState = sbsExclusive;
        Invalidate();
    } else {
        FState = FDown ? sbsExclusive : sbsUp;
        Invalidate();
    }
    if (clicked) Click();
}

void TSpeedButton::Paint() {
    TCanvas* canvas = Canvas();
    TRect rect = ClientRect();
    bool pressed = FState == sbsDown || FState == sbsExclusive;
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(rect);
    if (FState == sbsExclusive && !FDragging) {
        // A latched button shows a lighter checkered face, as the classic look does.
        for (int y = rect.top + 2; y < rect.bottom - 2; ++y)
            for (int x = rect.left + 2 + (y & 1); x < rect.right - 2; x += 2)
                canvas->SetPixels(x, y, clBtnHighlight);
    }
    if (!FFlat || pressed || (FMouseInControl && Enabled())) {
        gdi::RECT edge = rect;
        gdi::UINT kind = pressed ? (FFlat ? gdi::BDR_SUNKENOUTER : gdi::EDGE_SUNKEN)
                                 : (FFlat ? gdi::BDR_RAISEDINNER : gdi::EDGE_RAISED);
        gdi::DrawEdge(canvas->Handle(), &edge, kind, gdi::BF_RECT);
    }
    TSize glyph {};
    if (!FGlyph->Empty()) glyph = TSize {FGlyph->Width() / FNumGlyphs, FGlyph->Height()};
    std::string caption = Caption();
    canvas->Font()->Assign(Font());
    TSize text {};
    if (!caption.empty()) {
        TRect calc = Rect(0, 0, rect.right, 0);
        canvas->TextRect(calc, caption, gdi::DT_CALCRECT | gdi::DT_SINGLELINE);
        text = TSize {calc.right - calc.left, calc.bottom - calc.top};
    }
    TRect inner = Rect(rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2);
    TButtonLayoutResult place = CalcButtonLayout(inner, glyph, text, FLayout, FMargin, FSpacing);
    int shift = pressed ? 1 : 0;
    if (glyph.cx > 0 && glyph.cy > 0) {
        int image = !Enabled() ? 1 : FState == sbsDown ? 2 : FState == sbsExclusive ? 3 : 0;
        if (image >= FNumGlyphs) image = 0;
        TBitmap piece;
        piece.SetPixelFormat(pf24bit);
        piece.SetSize(glyph.cx, glyph.cy);
        piece.Canvas()->CopyRect(
            Rect(0, 0, glyph.cx, glyph.cy), FGlyph->Canvas(), Bounds(image * glyph.cx, 0, glyph.cx, glyph.cy));
        piece.SetTransparentColor(FGlyph->TransparentColor());
        piece.SetTransparent(true);
        canvas->Draw(place.GlyphPos.x + shift, place.GlyphPos.y + shift, &piece);
    }
    if (!caption.empty()) {
        TRect r = place.TextBounds;
        gdi::OffsetRect(&r, shift, shift);
        canvas->Brush()->SetStyle(bsClear);
        unsigned flags = gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE;
        if (!Enabled()) {
            TRect light = r;
            gdi::OffsetRect(&light, 1, 1);
            canvas->Font()->SetColor(clBtnHighlight);
            canvas->TextRect(light, caption, flags);
            canvas->Font()->SetColor(clBtnShadow);
        }
        canvas->TextRect(r, caption, flags);
        canvas->Brush()->SetStyle(bsSolid);
    }
}

}
