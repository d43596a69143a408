// TGraphicsObject, TFont, TPen and TBrush: attributes, change notification, handles and published properties.
#include "platform/classes/GraphicsObjects.h"

#include "platform/base/Numbers.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TColor.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/PenBrush.h"

namespace korvex::classes {

using base::MulDiv;

// ---------------------------------------------------------------------------------------------------------
// TGraphicsObject

TClass TGraphicsObject::StaticClass() {
    static const TClassInfo info = MakeClass<TGraphicsObject, TPersistent>("TGraphicsObject");
    return &info;
}

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------------------------
// TFont

TClass TFont::StaticClass() {
    static const TClassInfo info = MakeClass<TFont, TGraphicsObject>("TFont", [](TPropertyBuilder<TFont>& p) {
        p.Int("Charset", &TFont::Charset, &TFont::SetCharset, gdi::DEFAULT_CHARSET);
        p.Color("Color", &TFont::Color, &TFont::SetColor, clWindowText);
        p.Int("Height", &TFont::Height, &TFont::SetHeight);
        p.String("Name", &TFont::Name, &TFont::SetName);
        p.Enum("Pitch", &TFont::Pitch, &TFont::SetPitch, FontPitchIdents, fpDefault);
        p.Int("Size", &TFont::Size, &TFont::SetSize).Stored(false);
        p.Set("Style", &TFont::Style, &TFont::SetStyle, FontStyleIdents, TFontStyles {});
        p.Int("Orientation", &TFont::Orientation, &TFont::SetOrientation, 0);
    });
    return &info;
}

TFont::TFont() = default;

TFont::~TFont() {
    FreeHandle();
}

void TFont::FreeHandle() const {
    if (FHandle) gdi::DeleteObject(FHandle);
    FHandle = nullptr;
}

void TFont::Changed() {
    FreeHandle();
    TGraphicsObject::Changed();
}

void TFont::Assign(const TPersistent* source) {
    if (const auto* font = dynamic_cast<const TFont*>(source)) {
        if (font == this) return;
        FCharset = font->FCharset;
        FColor = font->FColor;
        FHeight = font->FHeight;
        FName = font->FName;
        FPitch = font->FPitch;
        FStyle = font->FStyle;
        FOrientation = font->FOrientation;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

void TFont::SetCharset(TFontCharset value) {
    if (value == FCharset) return;
    FCharset = value;
    Changed();
}

void TFont::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    // The colour is not part of the handle: keep it, only tell the listeners.
    TGraphicsObject::Changed();
}

void TFont::SetHeight(int value) {
    if (value == FHeight) return;
    FHeight = value;
    Changed();
}

void TFont::SetName(const std::string& value) {
    if (value.empty() || value == FName) return;
    FName = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value) {
    if (value == FPitch) return;
    FPitch = value;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int value) {
    SetHeight(-MulDiv(value, PixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

void TFont::SetOrientation(int value) {
    if (value == FOrientation) return;
    FOrientation = value;
    Changed();
}

gdi::LOGFONT TFont::LogFont() const {
    gdi::LOGFONT lf;
    lf.lfHeight = FHeight;
    lf.lfEscapement = FOrientation;
    lf.lfOrientation = FOrientation;
    lf.lfWeight = FStyle.Contains(fsBold) ? gdi::FW_BOLD : gdi::FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic) ? 1 : 0;
    lf.lfUnderline = FStyle.Contains(fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = FCharset;
    lf.lfPitchAndFamily = FPitch == fpFixed ? 1 : FPitch == fpVariable ? 2 : 0;   // FIXED_PITCH, VARIABLE_PITCH
    lf.lfFaceName = FName;
    return lf;
}

gdi::HFONT TFont::Handle() const {
    if (!FHandle) FHandle = gdi::CreateFontIndirect(LogFont());
    return FHandle;
}

void TFont::SetHandle(gdi::HFONT value) {
    gdi::LOGFONT lf;
    if (!gdi::GetObject(value, &lf) || value == FHandle) return;
    FreeHandle();
    FHandle = value;
    FHeight = lf.lfHeight;
    FOrientation = lf.lfEscapement;
    FCharset = lf.lfCharSet;
    if (!lf.lfFaceName.empty()) FName = lf.lfFaceName;
    const int pitch = lf.lfPitchAndFamily & 3;
    FPitch = pitch == 1 ? fpFixed : pitch == 2 ? fpVariable : fpDefault;
    FStyle = {};
    if (lf.lfWeight >= gdi::FW_SEMIBOLD) FStyle.Include(fsBold);
    if (lf.lfItalic) FStyle.Include(fsItalic);
    if (lf.lfUnderline) FStyle.Include(fsUnderline);
    if (lf.lfStrikeOut) FStyle.Include(fsStrikeOut);
    TGraphicsObject::Changed();   // the handle given stays the font's
}

// ---------------------------------------------------------------------------------------------------------
// TPen

int PenModeToRop2(TPenMode mode) {
    static constexpr int rops[] = {gdi::R2_BLACK, gdi::R2_WHITE, gdi::R2_NOP, gdi::R2_NOT, gdi::R2_COPYPEN,
        gdi::R2_NOTCOPYPEN, gdi::R2_MERGEPENNOT, gdi::R2_MASKPENNOT, gdi::R2_MERGENOTPEN, gdi::R2_MASKNOTPEN,
        gdi::R2_MERGEPEN, gdi::R2_NOTMERGEPEN, gdi::R2_MASKPEN, gdi::R2_NOTMASKPEN, gdi::R2_XORPEN, gdi::R2_NOTXORPEN};
    const int index = static_cast<int>(mode);
    return index >= 0 && index < int(std::size(rops)) ? rops[index] : gdi::R2_COPYPEN;
}

TClass TPen::StaticClass() {
    static const TClassInfo info = MakeClass<TPen, TGraphicsObject>("TPen", [](TPropertyBuilder<TPen>& p) {
        p.Color("Color", &TPen::Color, &TPen::SetColor, clBlack);
        p.Enum("Mode", &TPen::Mode, &TPen::SetMode, PenModeIdents, pmCopy);
        p.Enum("Style", &TPen::Style, &TPen::SetStyle, PenStyleIdents, psSolid);
        p.Int("Width", &TPen::Width, &TPen::SetWidth, 1);
    });
    return &info;
}

TPen::~TPen() {
    FreeHandle();
}

void TPen::FreeHandle() const {
    if (FHandle) gdi::DeleteObject(FHandle);
    FHandle = nullptr;
}

void TPen::Changed() {
    FreeHandle();
    TGraphicsObject::Changed();
}

void TPen::Assign(const TPersistent* source) {
    if (const auto* pen = dynamic_cast<const TPen*>(source)) {
        if (pen == this) return;
        FColor = pen->FColor;
        FMode = pen->FMode;
        FStyle = pen->FStyle;
        FWidth = pen->FWidth;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

void TPen::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Changed();
}

void TPen::SetMode(TPenMode value) {
    if (value == FMode) return;
    FMode = value;
    TGraphicsObject::Changed();   // the mode is the DC's, not the handle's
}

void TPen::SetStyle(TPenStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

void TPen::SetWidth(int value) {
    if (value < 1 || value == FWidth) return;
    FWidth = value;
    Changed();
}

gdi::HPEN TPen::Handle() const {
    if (!FHandle) {
        static constexpr int styles[] = {gdi::PS_SOLID, gdi::PS_DASH, gdi::PS_DOT, gdi::PS_DASHDOT, gdi::PS_DASHDOTDOT,
            gdi::PS_NULL, gdi::PS_INSIDEFRAME};
        FHandle = gdi::CreatePen(styles[FStyle], FWidth, ColorToColorRef(FColor));
    }
    return FHandle;
}

// ---------------------------------------------------------------------------------------------------------
// TBrush

TClass TBrush::StaticClass() {
    static const TClassInfo info = MakeClass<TBrush, TGraphicsObject>("TBrush", [](TPropertyBuilder<TBrush>& p) {
        p.Color("Color", &TBrush::Color, &TBrush::SetColor, clWhite);
        p.Enum("Style", &TBrush::Style, &TBrush::SetStyle, BrushStyleIdents, bsSolid);
    });
    return &info;
}

TBrush::~TBrush() {
    FreeHandle();
}

void TBrush::FreeHandle() const {
    if (FHandle) gdi::DeleteObject(FHandle);
    FHandle = nullptr;
}

void TBrush::Changed() {
    FreeHandle();
    TGraphicsObject::Changed();
}

void TBrush::Assign(const TPersistent* source) {
    if (const auto* brush = dynamic_cast<const TBrush*>(source)) {
        if (brush == this) return;
        FColor = brush->FColor;
        FStyle = brush->FStyle;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

void TBrush::SetColor(TColor value) {
    if (value == FColor && FStyle == bsSolid) return;
    FColor = value;
    FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

gdi::HBRUSH TBrush::Handle() const {
    if (!FHandle) {
        gdi::LOGBRUSH lb;
        lb.lbStyle = FStyle == bsClear ? gdi::BS_NULL : gdi::BS_SOLID;
        lb.lbColor = ColorToColorRef(FColor);
        FHandle = gdi::CreateBrushIndirect(&lb);
    }
    return FHandle;
}

}
