// TGraphicsObject and the canvas tools built on it: TFont, TPen and TBrush, each with its gdi handle made on demand.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/TPersistent.h"
#include "platform/classes/TSet.h"
#include "platform/gdi/Fonts.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace korvex::classes {

// A drawing tool with a change notification. Setters store only a different value and then fire OnChange
// once; the gdi handle is made on first use and made again after a change.
class TGraphicsObject : public TPersistent {
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

// ---------------------------------------------------------------------------------------------------------
// TFont
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;
inline constexpr std::string_view FontStyleIdents[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
inline constexpr std::string_view FontPitchIdents[] = {"fpDefault", "fpVariable", "fpFixed"};

// Size is in points and Height in pixels on the 96-dpi screen: Height = -MulDiv(Size, 96, 72) (8 points are
// -11 pixels); a negative Height is the character height, a positive one the cell height. Orientation
// turns the text in tenths of a degree counter-clockwise.
class TFont : public TGraphicsObject {
public:
    static constexpr const char* DefaultName = "MS Sans Serif";
    static constexpr int DefaultHeight = -11;   // 8 points
    static constexpr int PixelsPerInch = 96;

    TFont();
    ~TFont() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Copies every attribute of another TFont (one OnChange); anything else raises EConvertError.
    void Assign(const TPersistent* source) override;

    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    const std::string& Name() const { return FName; }
    void SetName(const std::string& value);   // an empty name is ignored
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    int Size() const;
    void SetSize(int value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    int Orientation() const { return FOrientation; }
    void SetOrientation(int value);

    // The HFONT of the current attributes, made on demand and owned by the font (never nullptr).
    gdi::HFONT Handle() const;
    // Takes the font's attributes from its LOGFONT and takes ownership of it; nullptr or a stale handle
    // is ignored. Fires OnChange.
    void SetHandle(gdi::HFONT value);
    bool HandleAllocated() const { return FHandle != nullptr; }
    gdi::LOGFONT LogFont() const;   // what Handle() is made from

protected:
    void Changed() override;

private:
    void FreeHandle() const;

    TFontCharset FCharset = gdi::DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    int FHeight = DefaultHeight;
    std::string FName = DefaultName;
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle;
    int FOrientation = 0;
    mutable gdi::HFONT FHandle = nullptr;
};

// ---------------------------------------------------------------------------------------------------------
// TPen
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
inline constexpr std::string_view PenStyleIdents[]
    = {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"};
inline constexpr std::string_view PenModeIdents[]
    = {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen",
        "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"};

int PenModeToRop2(TPenMode mode);   // pmCopy -> R2_COPYPEN ...

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    ~TPen() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void Assign(const TPersistent* source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TPenMode Mode() const { return FMode; }   // the DC's ROP2 while the pen is selected
    void SetMode(TPenMode value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    int Width() const { return FWidth; }
    void SetWidth(int value);   // values below 1 are ignored

    gdi::HPEN Handle() const;   // made on demand, owned by the pen

protected:
    void Changed() override;

private:
    void FreeHandle() const;

    TColor FColor = clBlack;
    TPenMode FMode = pmCopy;
    TPenStyle FStyle = psSolid;
    int FWidth = 1;
    mutable gdi::HPEN FHandle = nullptr;
};

// ---------------------------------------------------------------------------------------------------------
// TBrush
enum TBrushStyle { bsSolid, bsClear };
inline constexpr std::string_view BrushStyleIdents[] = {"bsSolid", "bsClear"};

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    ~TBrush() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void Assign(const TPersistent* source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);   // a clear brush becomes solid, as the class library does
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);

    gdi::HBRUSH Handle() const;   // made on demand, owned by the brush

protected:
    void Changed() override;

private:
    void FreeHandle() const;

    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    mutable gdi::HBRUSH FHandle = nullptr;
};

}
