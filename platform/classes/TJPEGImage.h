// TJPEGImage: a JPEG picture kept as its file and decoded once into a 24-bit bitmap for drawing.
#pragma once

#include "platform/classes/TGraphic.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace korvex::classes {

class TBitmap;

// A JPEG that cannot be decoded ("JPEG error: ...").
class EJPEG : public EInvalidGraphic {
public:
    using EInvalidGraphic::EInvalidGraphic;
};

class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Another TJPEGImage is copied as it is; a TBitmap is compressed; nullptr empties the picture.
    void Assign(const TPersistent* source) override;

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    // The size is the picture's own: these do nothing.
    void SetWidth(int) override { }
    void SetHeight(int) override { }

    // Reads the JPEG file (baseline or progressive; grey and CMYK converted). A damaged file raises EJPEG and
    // leaves the picture as it was.
    void LoadFromStream(TStream& stream) override;
    // The file as it was read, or the compressed picture when it came from a bitmap.
    void SaveToStream(TStream& stream) const override;

    // The decoded picture (pf24bit); empty when the JPEG is empty.
    const TBitmap* Bitmap() const { return FBitmap.get(); }

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;
    void AssignTo(TPersistent* dest) const override;   // into a TBitmap

private:
    std::vector<std::uint8_t> FData;   // the JPEG file; empty when the picture came from a bitmap
    std::unique_ptr<TBitmap> FBitmap;
};

}
