// TPicture: the graphic's class from a file extension or a class name, copies, files and the "Data" entry.
#include "platform/classes/TPicture.h"

#include "platform/base/Strings.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TFiler.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TJPEGImage.h"
#include "platform/classes/TStream.h"

namespace korvex::classes {

namespace {

// A new, empty graphic of a class the library knows; nullptr for any other name.
std::unique_ptr<TGraphic> NewGraphic(std::string_view className) {
    const std::string name(className);
    if (base::SameText(name, "TBitmap")) return std::make_unique<TBitmap>();
    if (base::SameText(name, "TJPEGImage")) return std::make_unique<TJPEGImage>();
    if (base::SameText(name, "TIcon")) return std::make_unique<TIcon>();
    return nullptr;
}

std::string ExtensionOf(const std::string& fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    const std::size_t slash = fileName.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return base::UpperCase(fileName.substr(dot));
}

}

TClass TPicture::StaticClass() {
    static const TClassInfo info = MakeClass<TPicture, TPersistent>("TPicture");
    return &info;
}

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Take(std::unique_ptr<TGraphic> graphic) {
    FGraphic = std::move(graphic);
    if (FGraphic)
        FGraphic->OnChange = [this](TObject*) {
            if (OnChange) OnChange(this);
        };
    if (OnChange) OnChange(this);
}

void TPicture::Assign(const TPersistent* source) {
    const TGraphic* graphic = nullptr;
    if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
        if (picture == this) return;
        graphic = picture->FGraphic.get();
    } else if (source != nullptr) {
        graphic = dynamic_cast<const TGraphic*>(source);
        if (graphic == nullptr) {
            TPersistent::Assign(source);   // raises the cannot-assign error
            return;
        }
    }
    if (graphic == nullptr) {
        Take(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> copy = NewGraphic(graphic->ClassName());
    if (!copy) {
        TPersistent::Assign(source);   // a graphic class of its own: only it can say how to copy itself
        return;
    }
    copy->Assign(graphic);
    Take(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
    if (auto* bitmap = dynamic_cast<TBitmap*>(FGraphic.get())) return bitmap;
    Take(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon() {
    if (auto* icon = dynamic_cast<TIcon*>(FGraphic.get())) return icon;
    Take(std::make_unique<TIcon>());
    return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::LoadFromFile(const std::string& fileName) {
    const std::string ext = ExtensionOf(fileName);
    std::unique_ptr<TGraphic> graphic;
    if (ext == ".BMP")
        graphic = std::make_unique<TBitmap>();
    else if (ext == ".JPG" || ext == ".JPEG")
        graphic = std::make_unique<TJPEGImage>();
    else if (ext == ".PNG" || ext == ".ICO")
        graphic = std::make_unique<TIcon>();
    else
        throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
    graphic->LoadFromFile(fileName);
    Take(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& fileName) const {
    if (FGraphic) FGraphic->SaveToFile(fileName);
}

void TPicture::DefineProperties(TFiler& filer) {
    TPersistent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); },
        FGraphic != nullptr && !FGraphic->Empty());
}

void TPicture::ReadData(TStream& stream) {
    std::uint8_t length = 0;
    stream.ReadBuffer(&length, 1);
    std::string name(length, '\0');
    if (length) stream.ReadBuffer(name.data(), length);
    std::unique_ptr<TGraphic> graphic = NewGraphic(name);
    if (!graphic) throw EInvalidGraphic("Unknown picture class " + name);
    graphic->LoadFromStream(stream);
    Take(std::move(graphic));
}

void TPicture::WriteData(TStream& stream) const {
    if (!FGraphic) return;
    const std::string& name = FGraphic->ClassName();
    const std::uint8_t length = static_cast<std::uint8_t>(name.size());
    stream.WriteBuffer(&length, 1);
    stream.WriteBuffer(name.data(), length);
    FGraphic->SaveToStream(stream);
}

}
