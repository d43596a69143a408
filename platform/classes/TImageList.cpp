// TCustomImageList: adding strips with masks, drawing normal and disabled images, icons, change links, streaming.
#include "platform/classes/TImageList.h"

#include "platform/classes/GraphicBlits.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TColor.h"
#include "platform/classes/TFiler.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TStream.h"
#include "platform/gdi/Drawing.h"

#include <algorithm>
#include <cstring>

namespace korvex::classes {

// ---------------------------------------------------------------------------------------------------------
// TChangeLink

TClass TChangeLink::StaticClass() {
    static const TClassInfo info = MakeClass<TChangeLink, TObject>("TChangeLink");
    return &info;
}

TChangeLink::~TChangeLink() {
    if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
    if (OnChange) OnChange(FSender);
}

// ---------------------------------------------------------------------------------------------------------
// TCustomImageList

TClass TCustomImageList::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomImageList, TComponent>("TCustomImageList");
    return &info;
}

TClass TImageList::StaticClass() {
    static const TClassInfo info
        = MakeClass<TImageList, TCustomImageList>("TImageList", [](TPropertyBuilder<TImageList>& p) {
              p.Color("BkColor", &TImageList::BkColor, &TImageList::SetBkColor, clNone);
              p.Int("Height", &TImageList::Height, &TImageList::SetHeight, 16);
              p.Int("Width", &TImageList::Width, &TImageList::SetWidth, 16);
              p.Event("OnChange", &TImageList::OnChange);
          });
    return &info;
}

TCustomImageList::TCustomImageList(TComponent* owner)
    : TComponent(owner) {
}

TCustomImageList::~TCustomImageList() {
    for (TChangeLink* link : FLinks)
        link->SetSender(nullptr);
}

void TCustomImageList::Change() {
    const std::vector<TChangeLink*> links = FLinks;   // a handler may unregister its link
    for (TChangeLink* link : links)
        link->Change();
    if (OnChange) OnChange(this);
}

void TCustomImageList::RegisterChanges(TChangeLink* link) {
    if (link == nullptr || std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end()) return;
    if (link->Sender() && link->Sender() != this) link->Sender()->UnRegisterChanges(link);
    link->SetSender(this);
    FLinks.push_back(link);
}

void LinkImageList(TCustomImageList*& slot, TCustomImageList* value, TChangeLink* link, TComponent* client) {
    if (value == slot) return;
    if (slot != nullptr) {
        slot->UnRegisterChanges(link);
        slot->RemoveFreeNotification(client);
    }
    slot = value;
    if (slot != nullptr) {
        slot->RegisterChanges(link);
        slot->FreeNotification(client);
    }
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link) {
    auto it = std::find(FLinks.begin(), FLinks.end(), link);
    if (it == FLinks.end()) return;
    FLinks.erase(it);
    link->SetSender(nullptr);
}

void TCustomImageList::Assign(const TPersistent* source) {
    if (const auto* list = dynamic_cast<const TCustomImageList*>(source)) {
        if (list == this) return;
        std::vector<Image> images;
        for (const Image& image : list->FImages) {
            gdi::Bitmap* copy = image.Pixels.Get()->Clone();
            if (!copy) break;
            images.push_back(Image {gdi::GdiHandle<gdi::Bitmap>(copy), image.PartialAlpha});
        }
        FWidth = list->FWidth;
        FHeight = list->FHeight;
        FBkColor = list->FBkColor;
        FImages = std::move(images);
        Change();
        return;
    }
    TComponent::Assign(source);
}

void TCustomImageList::SetSize(int width, int height) {
    if (width < 1 || height < 1 || width > gdi::Bitmap::MaxDimension || height > gdi::Bitmap::MaxDimension) return;
    if (width == FWidth && height == FHeight) return;
    FWidth = width;
    FHeight = height;
    FImages.clear();
    Change();
}

void TCustomImageList::SetWidth(int value) {
    SetSize(value, FHeight);
}

void TCustomImageList::SetHeight(int value) {
    SetSize(FWidth, value);
}

void TCustomImageList::SetBkColor(TColor value) {
    if (value == FBkColor) return;
    FBkColor = value;
    Change();
}

// ---------------------------------------------------------------------------------------------------------
// Adding and removing

int TCustomImageList::AddStrips(const TBitmap* image, MaskSource source, const TBitmap* mask, gdi::COLORREF key) {
    if (image == nullptr || image->Empty()) return -1;
    const gdi::Bitmap& src = *image->Handle();
    const gdi::Bitmap* maskBits = source == MaskSource::Bitmap && mask && !mask->Empty() ? mask->Handle() : nullptr;
    const int strips = std::max(1, src.Width() / FWidth);
    const int first = Count();
    for (int strip = 0; strip < strips; ++strip) {
        gdi::GdiHandle<gdi::Bitmap> pixels(gdi::Bitmap::Create(FWidth, FHeight, gdi::PixelFormat::pf32bit));
        if (!pixels) break;
        for (int y = 0; y < std::min(FHeight, src.Height()); ++y) {
            gdi::BYTE* out = pixels.Get()->ScanLine(y);
            for (int x = 0; x < FWidth; ++x, out += 4) {
                const int sx = strip * FWidth + x;
                if (sx >= src.Width()) break;
                const gdi::COLORREF c = src.PixelAt(sx, y) & 0x00FFFFFF;
                bool transparent = false;
                if (source == MaskSource::Color)
                    transparent = c == key;
                else if (maskBits)
                    transparent = (maskBits->PixelAt(sx, y) & 0x00FFFFFF) == 0x00FFFFFF;
                if (transparent) continue;   // stays 0
                out[0] = gdi::GetBValue(c);
                out[1] = gdi::GetGValue(c);
                out[2] = gdi::GetRValue(c);
                out[3] = 255;
            }
        }
        FImages.push_back(Image {std::move(pixels), false});
    }
    if (Count() == first) return -1;
    Change();
    return first;
}

int TCustomImageList::Add(const TBitmap* image, const TBitmap* mask) {
    return AddStrips(image, mask ? MaskSource::Bitmap : MaskSource::None, mask, 0);
}

int TCustomImageList::AddMasked(const TBitmap* image, TColor maskColor) {
    if (image == nullptr || image->Empty()) return -1;
    gdi::COLORREF key = ColorToColorRef(maskColor);
    if (maskColor == clDefault) key = image->Handle()->PixelAt(0, 0) & 0x00FFFFFF;
    return AddStrips(image, MaskSource::Color, nullptr, key);
}

int TCustomImageList::AddIcon(const TIcon* icon) {
    if (icon == nullptr || icon->Empty()) return -1;
    const gdi::Bitmap& src = *icon->Image();
    gdi::GdiHandle<gdi::Bitmap> pixels;
    if (src.Width() == FWidth && src.Height() == FHeight) {
        pixels.Reset(src.Clone());
    } else {
        // Blending the premultiplied icon over transparent black copies it, alpha included, scaled.
        pixels.Reset(gdi::Bitmap::Create(FWidth, FHeight, gdi::PixelFormat::pf32bit));
        if (pixels) {
            gdi::HDC dc = gdi::CreateCompatibleDC(nullptr);
            gdi::HGDIOBJ old = gdi::SelectObject(dc, static_cast<gdi::HGDIOBJ>(pixels.Get()));
            detail::AlphaStretch(dc, {0, 0, FWidth, FHeight}, src, {0, 0, src.Width(), src.Height()});
            gdi::SelectObject(dc, old);
            gdi::DeleteDC(dc);
        }
    }
    if (!pixels) return -1;
    const bool partial = detail::HasPartialAlpha(*pixels.Get(), {0, 0, FWidth, FHeight});
    FImages.push_back(Image {std::move(pixels), partial});
    Change();
    return Count() - 1;
}

void TCustomImageList::Delete(int index) {
    if (!Valid(index)) return;
    FImages.erase(FImages.begin() + index);
    Change();
}

void TCustomImageList::Clear() {
    if (FImages.empty()) return;
    FImages.clear();
    Change();
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
    if (canvas == nullptr || !Valid(index)) return;
    gdi::HDC dc = canvas->Handle();
    if (!dc) return;
    const Image& image = FImages[size_t(index)];
    const TRect dest = Bounds(x, y, FWidth, FHeight);
    const TRect source {0, 0, FWidth, FHeight};
    if (!enabled) {
        DrawDisabled(dc, x, y, *image.Pixels.Get());
        return;
    }
    if (FBkColor != clNone) {
        gdi::GdiHandle<gdi::Brush> brush(gdi::CreateSolidBrush(ColorToColorRef(FBkColor)));
        gdi::FillRect(dc, &dest, brush.Get());
    }
    if (image.PartialAlpha)
        detail::AlphaStretch(dc, dest, *image.Pixels.Get(), source);
    else
        detail::TransparentStretch(dc, dest, *image.Pixels.Get(), source, detail::MaskBy::Alpha);
}

void TCustomImageList::DrawDisabled(gdi::HDC dc, int x, int y, const gdi::Bitmap& pixels) {
    // The ink: opaque pixels that are not white, as a one-colour picture drawn twice.
    gdi::GdiHandle<gdi::Bitmap> ink(gdi::Bitmap::Create(FWidth, FHeight, gdi::PixelFormat::pf32bit));
    if (!ink) return;
    std::vector<bool> inked(size_t(FWidth) * size_t(FHeight));
    for (int row = 0; row < FHeight; ++row) {
        const gdi::BYTE* p = pixels.ScanLine(row);
        for (int col = 0; col < FWidth; ++col, p += 4)
            inked[size_t(row) * FWidth + col] = p[3] >= 128 && !(p[0] == 255 && p[1] == 255 && p[2] == 255);
    }
    const TRect source {0, 0, FWidth, FHeight};
    for (const auto& [color, offset] : {std::pair {clBtnHighlight, 1}, std::pair {clBtnShadow, 0}}) {
        const gdi::COLORREF c = ColorToColorRef(color);
        for (int row = 0; row < FHeight; ++row) {
            gdi::BYTE* p = ink.Get()->ScanLine(row);
            for (int col = 0; col < FWidth; ++col, p += 4) {
                const bool on = inked[size_t(row) * FWidth + col];
                p[0] = on ? gdi::GetBValue(c) : 0;
                p[1] = on ? gdi::GetGValue(c) : 0;
                p[2] = on ? gdi::GetRValue(c) : 0;
                p[3] = on ? 255 : 0;
            }
        }
        detail::TransparentStretch(
            dc, Bounds(x + offset, y + offset, FWidth, FHeight), *ink.Get(), source, detail::MaskBy::Alpha);
    }
}

bool TCustomImageList::GetBitmap(int index, TBitmap* image) {
    if (image == nullptr || !Valid(index)) return false;
    image->SetSize(FWidth, FHeight);
    Draw(image->Canvas(), 0, 0, index);
    return true;
}

bool TCustomImageList::GetIcon(int index, TIcon* image) {
    if (image == nullptr || !Valid(index)) return false;
    gdi::Bitmap* copy = FImages[size_t(index)].Pixels.Get()->Clone();
    if (!copy) return false;
    image->TakeImage(copy);
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Streaming: "KXIL", then width, height and count as 32-bit little-endian numbers, then each image's
// premultiplied B, G, R, A rows.

namespace {

constexpr std::uint8_t ImagesMagic[4] = {'K', 'X', 'I', 'L'};

void PutInt(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

std::uint32_t GetInt(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}

void TCustomImageList::DefineProperties(TFiler& filer) {
    TComponent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Bitmap", [this](TStream& s) { ReadImages(s); }, [this](TStream& s) { WriteImages(s); }, Count() > 0);
}

void TCustomImageList::WriteImages(TStream& stream) const {
    std::vector<std::uint8_t> out(std::begin(ImagesMagic), std::end(ImagesMagic));
    PutInt(out, std::uint32_t(FWidth));
    PutInt(out, std::uint32_t(FHeight));
    PutInt(out, std::uint32_t(Count()));
    for (const Image& image : FImages)
        for (int y = 0; y < FHeight; ++y) {
            const gdi::BYTE* row = image.Pixels.Get()->ScanLine(y);
            out.insert(out.end(), row, row + size_t(FWidth) * 4);
        }
    stream.WriteBuffer(out.data(), std::int64_t(out.size()));
}

void TCustomImageList::ReadImages(TStream& stream) {
    std::uint8_t head[16];
    if (stream.Read(head, sizeof head) != sizeof head || !std::equal(head, head + 4, ImagesMagic))
        throw EFilerError("Image list data is not valid");
    const std::uint32_t width = GetInt(head + 4), height = GetInt(head + 8), count = GetInt(head + 12);
    const std::int64_t left = stream.Size() - stream.Position();
    const std::uint64_t need = std::uint64_t(width) * height * 4 * count;
    if (width < 1 || height < 1 || width > std::uint32_t(gdi::Bitmap::MaxDimension)
        || height > std::uint32_t(gdi::Bitmap::MaxDimension) || left < 0 || need > std::uint64_t(left))
        throw EFilerError("Image list data is not valid");
    std::vector<Image> images;
    for (std::uint32_t i = 0; i < count; ++i) {
        gdi::GdiHandle<gdi::Bitmap> pixels(gdi::Bitmap::Create(int(width), int(height), gdi::PixelFormat::pf32bit));
        if (!pixels) throw EFilerError("Image list data is not valid");
        for (std::uint32_t y = 0; y < height; ++y)
            stream.ReadBuffer(pixels.Get()->ScanLine(int(y)), std::int64_t(width) * 4);
        const bool partial = detail::HasPartialAlpha(*pixels.Get(), {0, 0, int(width), int(height)});
        images.push_back(Image {std::move(pixels), partial});
    }
    FWidth = int(width);
    FHeight = int(height);
    FImages = std::move(images);
    Change();
}

// ---------------------------------------------------------------------------------------------------------
// The native controls' view of a list

namespace {

class TImageListSource final : public user::ImageListSource {
public:
    explicit TImageListSource(TCustomImageList* list)
        : FList(list) { }
    int Count() const override { return FList->Count(); }
    user::SIZE ImageSize() const override { return user::SIZE {FList->Width(), FList->Height()}; }
    void Draw(user::HDC dc, int index, int x, int y, bool enabled) override {
        TCanvas canvas;
        canvas.SetHandle(dc);
        FList->Draw(&canvas, x, y, index, enabled);
        canvas.SetHandle(nullptr);
    }

private:
    TCustomImageList* FList;
};

}   // namespace

user::HIMAGELIST TCustomImageList::Handle() {
    if (!FSource) FSource = std::make_unique<TImageListSource>(this);
    return FSource.get();
}

}
