// TIcon: premultiplied 32-bit pictures, conversion from bitmaps, PNG and BMP streams, handles and drawing.
#include "platform/classes/TIcon.h"

#include "platform/classes/GraphicBlits.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/Resources.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TColor.h"
#include "platform/classes/TMemoryStream.h"
#include "platform/gdi/BmpCodec.h"
#include "platform/gdi/PngCodec.h"
#include "platform/user/Icons.h"

#include <algorithm>
#include <mutex>
#include <unordered_set>

namespace korvex::classes {

namespace {

// Live icons, so a handle kept after its icon was freed finds nothing.
std::mutex& LiveLock() {
    static auto* lock = new std::mutex();   // icons in static storage may outlive a static mutex
    return *lock;
}
std::unordered_set<const TIcon*>& LiveIcons() {
    static auto* icons = new std::unordered_set<const TIcon*>();   // outlives static destruction
    return *icons;
}

// The window layer finds a handle's picture here; any handle it is given comes from a TIcon made before.
void InstallPictureSource() {
    static const bool installed = [] {
        user::SetIconPictureSource([](user::HICON handle) -> const gdi::Bitmap* {
            const TIcon* icon = TIcon::FromHandle(handle);
            return icon != nullptr ? icon->Image() : nullptr;
        });
        return true;
    }();
    (void)installed;
}

bool IsPng(const std::vector<std::uint8_t>& bytes) {
    static constexpr std::uint8_t signature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return bytes.size() >= 8 && std::equal(std::begin(signature), std::end(signature), bytes.begin());
}

}

void PremultiplyAlpha(gdi::Bitmap& bitmap) {
    if (bitmap.Format() != gdi::PixelFormat::pf32bit) return;
    for (int y = 0; y < bitmap.Height(); ++y) {
        gdi::BYTE* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x, p += 4)
            for (int c = 0; c < 3; ++c)
                p[c] = gdi::BYTE((p[c] * p[3] + 127) / 255);
    }
}

TClass TIcon::StaticClass() {
    static const TClassInfo info = MakeClass<TIcon, TGraphic>("TIcon");
    return &info;
}

TIcon::TIcon()
    : FImage(gdi::Bitmap::Create(0, 0, gdi::PixelFormat::pf32bit)) {
    InstallPictureSource();
    std::lock_guard guard(LiveLock());
    LiveIcons().insert(this);
}

TIcon::~TIcon() {
    std::lock_guard guard(LiveLock());
    LiveIcons().erase(this);
}

user::HICON TIcon::Handle() const {
    if (Empty()) return nullptr;
    return reinterpret_cast<user::HICON>(const_cast<TIcon*>(this));
}

const TIcon* TIcon::FromHandle(user::HICON handle) {
    if (handle == nullptr) return nullptr;
    const auto* icon = reinterpret_cast<const TIcon*>(handle);
    std::lock_guard guard(LiveLock());
    return LiveIcons().count(icon) ? icon : nullptr;
}

bool TIcon::Empty() const {
    return !FImage || FImage.Get()->Empty();
}

int TIcon::Width() const {
    return FImage ? FImage.Get()->Width() : 0;
}

int TIcon::Height() const {
    return FImage ? FImage.Get()->Height() : 0;
}

void TIcon::SetWidth(int value) {
    SetSize(value, Height());
}

void TIcon::SetHeight(int value) {
    SetSize(Width(), value);
}

void TIcon::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height()) return;
    if (FImage.Get()->SetSize(width, height)) Changed();
}

void TIcon::TakeImage(gdi::Bitmap* image) {
    if (!image) return;
    FImage.Reset(image);
    Changed();
}

void TIcon::Assign(const TPersistent* source) {
    if (source == nullptr) {
        TakeImage(gdi::Bitmap::Create(0, 0, gdi::PixelFormat::pf32bit));
        return;
    }
    if (const auto* icon = dynamic_cast<const TIcon*>(source)) {
        if (icon != this) TakeImage(icon->FImage.Get()->Clone());
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        const gdi::Bitmap& src = *bitmap->Handle();
        gdi::Bitmap* image = gdi::Bitmap::Create(src.Width(), src.Height(), gdi::PixelFormat::pf32bit);
        if (!image) return;
        const bool keyed = bitmap->Transparent();
        const gdi::COLORREF key = ColorToColorRef(bitmap->TransparentColor());
        for (int y = 0; y < src.Height(); ++y)
            for (int x = 0; x < src.Width(); ++x) {
                const gdi::COLORREF c = src.PixelAt(x, y) & 0x00FFFFFF;
                if (keyed && c == key) continue;   // stays 0: transparent
                gdi::BYTE* p = image->ScanLine(y) + size_t(x) * 4;
                p[0] = gdi::GetBValue(c);
                p[1] = gdi::GetGValue(c);
                p[2] = gdi::GetRValue(c);
                p[3] = 255;
            }
        TakeImage(image);
        return;
    }
    TGraphic::Assign(source);
}

void TIcon::AssignTo(TPersistent* dest) const {
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        bitmap->Assign(nullptr);
        bitmap->SetPixelFormat(pf32bit);
        bitmap->SetSize(Width(), Height());
        if (gdi::Bitmap* image = bitmap->Handle())
            for (int y = 0; y < Height(); ++y)
                for (int x = 0; x < Width(); ++x)
                    image->SetPixelAt(x, y, FImage.Get()->PixelAt(x, y));   // premultiplied over black
        return;
    }
    TGraphic::AssignTo(dest);
}

void TIcon::LoadFromStream(TStream& stream) {
    const std::vector<std::uint8_t> bytes = ReadRest(stream);
    gdi::ImageResult result = IsPng(bytes) ? gdi::ReadPng(bytes) : gdi::ReadBmp(bytes);
    if (!result) throw EInvalidGraphic("Icon image is not valid");
    gdi::Bitmap* image = result.Image.Release();
    const bool hadAlpha = image->Format() == gdi::PixelFormat::pf32bit;
    bool anyAlpha = false;
    if (hadAlpha)
        for (int y = 0; y < image->Height() && !anyAlpha; ++y)
            for (int x = 0; x < image->Width() && !anyAlpha; ++x)
                anyAlpha = image->ScanLine(y)[size_t(x) * 4 + 3] != 0;
    if (!image->SetFormat(gdi::PixelFormat::pf32bit)) {
        gdi::DeleteObject(image);
        throw EInvalidGraphic("Icon image is not valid");
    }
    if (anyAlpha) {
        PremultiplyAlpha(*image);
    } else {
        for (int y = 0; y < image->Height(); ++y)
            for (int x = 0; x < image->Width(); ++x)
                image->ScanLine(y)[size_t(x) * 4 + 3] = 255;
    }
    TakeImage(image);
}

void TIcon::SaveToStream(TStream& stream) const {
    if (Empty()) return;
    // PNG wants straight alpha: undo the premultiplication on a copy.
    gdi::GdiHandle<gdi::Bitmap> straight(FImage.Get()->Clone());
    if (!straight) return;
    for (int y = 0; y < straight.Get()->Height(); ++y) {
        gdi::BYTE* p = straight.Get()->ScanLine(y);
        for (int x = 0; x < straight.Get()->Width(); ++x, p += 4)
            if (p[3] != 0 && p[3] != 255)
                for (int c = 0; c < 3; ++c)
                    p[c] = gdi::BYTE(std::min(255, (p[c] * 255 + p[3] / 2) / p[3]));
    }
    WriteBytes(stream, gdi::WritePng(*straight.Get(), gdi::PngAlpha::Keep));
}

std::unique_ptr<TIcon> LoadEmbeddedIcon(std::string_view name) {
    const auto bytes = FindEmbeddedResource(name);
    if (!bytes) return nullptr;
    TMemoryStream stream;
    stream.Write(bytes->data(), std::int64_t(bytes->size()));
    stream.Seek(0, TSeekOrigin::soBeginning);
    auto icon = std::make_unique<TIcon>();
    try {
        icon->LoadFromStream(stream);
    } catch (const EInvalidGraphic&) {
        return nullptr;
    }
    return icon;
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect) {
    if (Empty()) return;
    const TRect source {0, 0, Width(), Height()};
    if (detail::HasPartialAlpha(*FImage.Get(), source))
        detail::AlphaStretch(canvas->Handle(), rect, *FImage.Get(), source);
    else
        detail::TransparentStretch(canvas->Handle(), rect, *FImage.Get(), source, detail::MaskBy::Alpha);
}

}
