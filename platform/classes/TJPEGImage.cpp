// TJPEGImage: decoding through gdi's JPEG codec, compression of assigned bitmaps, drawing and assignment.
#include "platform/classes/TJPEGImage.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/JpegCodec.h"

namespace korvex::classes {

TClass TJPEGImage::StaticClass() {
    static const TClassInfo info = MakeClass<TJPEGImage, TGraphic>("TJPEGImage");
    return &info;
}

TJPEGImage::TJPEGImage()
    : FBitmap(std::make_unique<TBitmap>()) {
    FBitmap->SetPixelFormat(pf24bit);
}

TJPEGImage::~TJPEGImage() = default;

bool TJPEGImage::Empty() const {
    return FBitmap->Empty();
}

int TJPEGImage::Width() const {
    return FBitmap->Width();
}

int TJPEGImage::Height() const {
    return FBitmap->Height();
}

void TJPEGImage::LoadFromStream(TStream& stream) {
    std::vector<std::uint8_t> bytes = ReadRest(stream);
    gdi::ImageResult result = gdi::ReadJpeg(bytes);
    if (!result) throw EJPEG("JPEG error: " + result.Error);
    auto decoded = std::make_unique<TBitmap>();
    decoded->SetHandle(result.Image.Release());
    FBitmap = std::move(decoded);
    FData = std::move(bytes);
    Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) const {
    WriteBytes(stream, FData);
}

void TJPEGImage::Assign(const TPersistent* source) {
    if (source == nullptr) {
        FBitmap = std::make_unique<TBitmap>();
        FBitmap->SetPixelFormat(pf24bit);
        FData.clear();
        Changed();
        return;
    }
    if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(source)) {
        if (jpeg == this) return;
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(jpeg->FBitmap.get());
        FBitmap = std::move(copy);
        FData = jpeg->FData;
        Changed();
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(bitmap);
        copy->SetTransparent(false);
        copy->SetPixelFormat(pf24bit);
        std::vector<std::uint8_t> data;
        if (!copy->Empty()) {
            std::string error;
            data = gdi::WriteJpeg(*copy->Handle(), gdi::DefaultJpegQuality, &error);
            if (data.empty()) throw EJPEG("JPEG error: " + error);
        }
        FBitmap = std::move(copy);
        FData = std::move(data);
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TJPEGImage::AssignTo(TPersistent* dest) const {
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        bitmap->Assign(FBitmap.get());
        return;
    }
    TGraphic::AssignTo(dest);
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect) {
    canvas->StretchDraw(rect, FBitmap.get());
}

}
