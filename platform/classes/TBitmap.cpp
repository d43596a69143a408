// TBitmap: pixels, format changes, the memory-DC canvas, transparency, BMP streams and drawing.
#include "platform/classes/TBitmap.h"

#include "platform/classes/GraphicBlits.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TColor.h"
#include "platform/classes/TStream.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/BmpCodec.h"
#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cstring>

namespace korvex::classes {

// The canvas of a bitmap: a memory DC with the bitmap selected, made when first drawn on.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* bitmap)
        : FBitmap(bitmap) { }
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext() {
        gdi::HDC dc = HandleAllocated() ? Handle() : nullptr;
        if (!dc) return;
        SetHandle(nullptr);
        gdi::SelectObject(dc, FOldBitmap);
        gdi::DeleteDC(dc);
        FOldBitmap = nullptr;
    }

protected:
    void CreateHandle() override {
        gdi::HDC dc = gdi::CreateCompatibleDC(nullptr);
        if (!dc) return;
        FOldBitmap = gdi::SelectObject(dc, FBitmap->FImage.Get());
        if (!FOldBitmap) {
            gdi::DeleteDC(dc);
            return;
        }
        SetHandle(dc);
    }

private:
    TBitmap* FBitmap;
    gdi::HBITMAP FOldBitmap = nullptr;
};

TClass TBitmap::StaticClass() {
    static const TClassInfo info = MakeClass<TBitmap, TGraphic>("TBitmap");
    return &info;
}

TBitmap::TBitmap()
    : FImage(gdi::Bitmap::Create(0, 0, StorageOf(pfDevice))) {
}

TBitmap::~TBitmap() {
    FCanvas.reset();   // the DC goes before the pixels
}

gdi::PixelFormat TBitmap::StorageOf(TPixelFormat format) {
    return format == pf24bit ? gdi::PixelFormat::pf24bit : gdi::PixelFormat::pf32bit;
}

void TBitmap::FreeContext() {
    if (FCanvas) FCanvas->FreeContext();
}

void TBitmap::ReplaceImage(gdi::Bitmap* image, TPixelFormat format) {
    FreeContext();
    FImage.Reset(image);
    FPixelFormat = format;
}

// ---------------------------------------------------------------------------------------------------------
// Size, format, pixels

bool TBitmap::Empty() const {
    return !FImage || FImage.Get()->Empty();
}

int TBitmap::Width() const {
    return FImage ? FImage.Get()->Width() : 0;
}

int TBitmap::Height() const {
    return FImage ? FImage.Get()->Height() : 0;
}

void TBitmap::SetWidth(int value) {
    SetSize(value, Height());
}

void TBitmap::SetHeight(int value) {
    SetSize(Width(), value);
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height()) return;
    FreeContext();
    if (!FImage.Get()->SetSize(width, height)) return;   // refused (too large): unchanged
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
    if (value == FPixelFormat) return;
    FreeContext();
    if (!FImage.Get()->SetFormat(StorageOf(value))) return;
    FPixelFormat = value;
    Changed();
}

std::uint8_t* TBitmap::ScanLine(int y) {
    std::uint8_t* row = (y >= 0 && y < Height()) ? FImage.Get()->ScanLine(y) : nullptr;
    if (!row) throw EInvalidGraphicOperation("Scan line index out of range");
    return row;
}

const std::uint8_t* TBitmap::ScanLine(int y) const {
    return const_cast<TBitmap*>(this)->ScanLine(y);
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TBitmapCanvas>(this);
        FCanvas->OnChange = [this](TObject*) { Changed(); };
    }
    return FCanvas.get();
}

void TBitmap::SetHandle(gdi::HBITMAP value) {
    if (value == FImage.Get() || !gdi::IsValidObject(value) || value->IsSelected()) return;
    ReplaceImage(value, value->Format() == gdi::PixelFormat::pf24bit ? pf24bit : pf32bit);
    Changed();
}

// ---------------------------------------------------------------------------------------------------------
// Transparency

TColor TBitmap::TransparentColor() const {
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
    if (Empty()) return clDefault;
    return static_cast<TColor>(FImage.Get()->PixelAt(0, Height() - 1) & 0x00FFFFFF);
}

void TBitmap::SetTransparentColor(TColor value) {
    if (value == FTransparentColor && (value == clDefault) == (FTransparentMode == tmAuto)) return;
    FTransparentMode = value == clDefault ? tmAuto : tmFixed;
    FTransparentColor = value;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
    if (value == FTransparentMode) return;
    if (value == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(TransparentColor());
}

// ---------------------------------------------------------------------------------------------------------
// Assign, streams

void TBitmap::Assign(const TPersistent* source) {
    if (source == nullptr) {
        ReplaceImage(gdi::Bitmap::Create(0, 0, StorageOf(FPixelFormat)), FPixelFormat);
        Changed();
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        if (bitmap == this) return;
        gdi::Bitmap* copy = bitmap->FImage.Get()->Clone();
        if (!copy) throw EInvalidGraphicOperation("Out of system resources");
        ReplaceImage(copy, bitmap->FPixelFormat);
        FHandleType = bitmap->FHandleType;
        FTransparentColor = bitmap->FTransparentColor;
        FTransparentMode = bitmap->FTransparentMode;
        StoreTransparent(bitmap->Transparent());
        Changed();
        return;
    }
    TGraphic::Assign(source);   // asks the source (TJPEGImage, TIcon) to assign itself to this bitmap
}

void TBitmap::LoadFromStream(TStream& stream) {
    const std::vector<std::uint8_t> bytes = ReadRest(stream);
    gdi::ImageResult result = gdi::ReadBmp(bytes);
    if (!result) throw EInvalidGraphic("Bitmap image is not valid");
    gdi::Bitmap* image = result.Image.Release();
    ReplaceImage(image, image->Format() == gdi::PixelFormat::pf24bit ? pf24bit : pf32bit);
    Changed();
}

void TBitmap::SaveToStream(TStream& stream) const {
    if (Empty()) return;
    WriteBytes(stream, gdi::WriteBmp(*FImage.Get()));
}

void TBitmap::ReadData(TStream& stream) {
    // The class library writes a 32-bit byte count before the file; ours is the file alone.
    std::uint8_t head[6] = {};
    const std::int64_t start = stream.Position();
    const std::int64_t n = stream.Read(head, sizeof head);
    stream.SetPosition(start);
    if (n == sizeof head && head[0] != 'B' && head[4] == 'B' && head[5] == 'M') stream.SetPosition(start + 4);
    LoadFromStream(stream);
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) {
    if (Empty()) return;
    gdi::HDC dest = canvas->Handle();
    const TRect source {0, 0, Width(), Height()};
    if (Transparent()) {
        const gdi::COLORREF key = ColorToColorRef(TransparentColor());
        detail::TransparentStretch(dest, rect, *FImage.Get(), source, detail::MaskBy::Color, key);
        return;
    }
    gdi::HDC src = Canvas()->Handle();
    if (!src) return;
    gdi::StretchBlt(dest, rect.left, rect.top, rect.Width(), rect.Height(), src, 0, 0, source.right, source.bottom,
        canvas->CopyMode());
}

}
