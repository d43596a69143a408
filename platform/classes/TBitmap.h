// TBitmap: a gdi bitmap with a pixel format, scan lines, a canvas, BMP files and a transparent colour.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/TGraphic.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/GdiObject.h"

#include <cstdint>
#include <memory>

namespace korvex::classes {

class TCanvas;
class TBitmapCanvas;

// pfDevice is the screen's format: 32 bits (B, G, R, 0) as window surfaces have it.
enum TPixelFormat { pfDevice, pf24bit, pf32bit };
// Kept for the callers that ask for device-independent bitmaps; every bitmap here is one.
enum TBitmapHandleType { bmDIB, bmDDB };
// tmAuto takes the transparent colour from the bottom-left pixel; tmFixed keeps the colour set.
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Copies another TBitmap's pixels, format and transparency; a TJPEGImage or TIcon gives its picture;
    // nullptr empties the bitmap.
    void Assign(const TPersistent* source) override;

    bool Empty() const override;
    int Width() const override;
    void SetWidth(int value) override;
    int Height() const override;
    void SetHeight(int value) override;
    // New pixels are black (0); the overlapping top-left pixels are kept. Negative sizes count as 0.
    void SetSize(int width, int height) override;

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat value);   // converts the pixels (32 -> 24 drops the fourth byte)
    TBitmapHandleType HandleType() const { return FHandleType; }
    void SetHandleType(TBitmapHandleType value) { FHandleType = value; }

    // Row y of the pixels, top-down: 3 bytes a pixel (B, G, R) for pf24bit, 4 (B, G, R, X) otherwise;
    // rows are padded to 4 bytes. Raises EInvalidGraphicOperation "Scan line index out of range" outside
    // 0..Height-1. The address holds until the size or the format changes.
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;

    // A memory DC over the pixels, made on first use and kept; drawing on it fires the bitmap's OnChange.
    TCanvas* Canvas();
    // The gdi bitmap (owned by the TBitmap; never nullptr). SetHandle takes ownership of another one.
    gdi::HBITMAP Handle() const { return FImage.Get(); }
    void SetHandle(gdi::HBITMAP value);

    // The colour left out by a transparent Draw: tmFixed's colour, or the bottom-left pixel with tmAuto
    // (clDefault for an empty bitmap). Setting a colour makes the mode tmFixed, clDefault makes it tmAuto.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode value);

    // Memory management of the class library; nothing to do here.
    void Dormant() { }
    void FreeImage() { }

    // BMP files of every depth are read (32-bit files give pf32bit, the others pf24bit); written in the
    // bitmap's own depth. Bad bytes raise EInvalidGraphic "Bitmap image is not valid" and leave the bitmap as it was.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;
    void ReadData(TStream& stream) override;   // also takes the length-prefixed form of the class library

private:
    friend class TBitmapCanvas;
    void FreeContext();   // the canvas lets its DC go before the pixels change
    void ReplaceImage(gdi::Bitmap* image, TPixelFormat format);
    static gdi::PixelFormat StorageOf(TPixelFormat format);

    gdi::GdiHandle<gdi::Bitmap> FImage;
    TPixelFormat FPixelFormat = pfDevice;
    TBitmapHandleType FHandleType = bmDIB;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
    std::unique_ptr<TBitmapCanvas> FCanvas;
};

}
