// TGraphic: files, streams, the "Data" entry of component text and the change notification.
#include "platform/classes/TGraphic.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TFileStream.h"
#include "platform/classes/TFiler.h"
#include "platform/classes/TStream.h"
#include "platform/gdi/BmpCodec.h"

namespace korvex::classes {

namespace {

// The codecs refuse more decoded pixels than this anyway; the file may add headers and a palette.
constexpr std::size_t MaxPictureBytes = gdi::MaxImageBytes + (std::size_t(64) << 10);

}

TClass TGraphic::StaticClass() {
    static const TClassInfo info = MakeClass<TGraphic, TPersistent>("TGraphic");
    return &info;
}

TGraphic::~TGraphic() = default;

void TGraphic::SetSize(int width, int height) {
    SetWidth(width);
    SetHeight(height);
}

void TGraphic::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    Changed();
}

void TGraphic::SetModified(bool value) {
    if (value)
        Changed();
    else
        FModified = false;
}

void TGraphic::Changed() {
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

bool TGraphic::TryLoadFromFile(const std::string& fileName) {
    try {
        LoadFromFile(fileName);
        return true;
    } catch (const base::Exception&) {
        return false;
    }
}

void TGraphic::SaveToFile(const std::string& fileName) const {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TGraphic::DefineProperties(TFiler& filer) {
    TPersistent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !Empty());
}

std::vector<std::uint8_t> TGraphic::ReadRest(TStream& stream) {
    std::vector<std::uint8_t> bytes;
    const std::int64_t size = stream.Size();
    const std::int64_t position = stream.Position();
    // A file larger than any picture is refused before anything is reserved for it (a sparse file may claim
    // far more than memory holds).
    if (size > position && position >= 0) {
        if (std::uint64_t(size - position) > MaxPictureBytes) throw EInvalidGraphic("Picture data is too large");
        bytes.reserve(static_cast<std::size_t>(size - position));
    }
    std::uint8_t chunk[65536];
    for (;;) {
        const std::int64_t n = stream.Read(chunk, sizeof chunk);
        if (n <= 0) break;
        if (bytes.size() + std::size_t(n) > MaxPictureBytes) throw EInvalidGraphic("Picture data is too large");
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return bytes;
}

void TGraphic::WriteBytes(TStream& stream, std::span<const std::uint8_t> bytes) {
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TGraphic::ReadData(TStream& stream) {
    LoadFromStream(stream);
}

void TGraphic::WriteData(TStream& stream) const {
    SaveToStream(stream);
}

}
