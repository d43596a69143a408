// TsGlyphMode, the default button glyphs and the speed button glyphs read from the embedded resources.
#include "skin/controls/sGlyphUtils.h"

#include "platform/base/Assert.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/Resources.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TControl.h"
#include "platform/classes/TMemoryStream.h"
#include "platform/classes/TSpeedButton.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

struct TDefaultGlyph {
    std::string_view Name;
    std::string_view Resource;
};

constexpr std::array<TDefaultGlyph, 5> DefaultGlyphs {{{"BTN_OPENFILE", "SF"}, {"BTN_OPENFOLDER", "SR"},
    {"BTN_DATE", "SD"}, {"BTN_ELLIPSIS", "SE"}, {"BTN_CALC", "SC"}}};

}

std::unique_ptr<TBitmap> LoadGlyphResource(std::string_view resource) {
    auto bytes = FindEmbeddedResource(std::string("glyphs/") + std::string(resource));
    if (!bytes) return nullptr;
    TMemoryStream stream;
    stream.Write(bytes->data(), std::int64_t(bytes->size()));
    stream.Seek(0, TSeekOrigin::soBeginning);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromStream(stream);
    if (bitmap->Empty()) return nullptr;
    bitmap->SetPixelFormat(pf24bit);
    return bitmap;
}

int AssignButtonGlyphs(TComponent* owner, std::span<const TButtonGlyph> glyphs) {
    KORVEX_ASSERT(owner != nullptr);
    int assigned = 0;
    for (const TButtonGlyph& g : glyphs) {
        auto* button = dynamic_cast<TSpeedButton*>(owner->FindComponent(g.Button));
        if (button == nullptr) continue;
        const std::unique_ptr<TBitmap> bitmap = LoadGlyphResource(g.Resource);
        if (!bitmap) continue;
        button->SetGlyph(bitmap.get());
        button->SetNumGlyphs(1);
        ++assigned;
    }
    return assigned;
}

const TBitmap* DefaultGlyph(std::string_view name) {
    static const auto loaded = [] {
        std::array<std::unique_ptr<TBitmap>, DefaultGlyphs.size()> all;
        for (std::size_t i = 0; i < DefaultGlyphs.size(); ++i) all[i] = LoadGlyphResource(DefaultGlyphs[i].Resource);
        return all;
    }();
    for (std::size_t i = 0; i < DefaultGlyphs.size(); ++i)
        if (DefaultGlyphs[i].Name == name) return loaded[i].get();
    return nullptr;
}

TRect GlyphStateRect(int w, int h, int buttonState, bool skinned, bool mouseOver) {
    int column = 0;
    if (buttonState == 2) column = 2;
    else if (!skinned || mouseOver) column = 1;
    return TRect {column * w, 0, (column + 1) * w, h};
}

std::uint8_t BlendWeight(int blend) {
    const long weight = std::lround(std::clamp(blend, 0, 100) * 2.56);
    return std::uint8_t(std::min(255L, weight));
}

// ---- TsGlyphMode ---------------------------------------------------------------------------------------------

TsGlyphMode::TsGlyphMode(TControl* owner, TControl* button)
    : FOwner(owner), FButton(button), FGlyph(std::make_unique<TBitmap>()) { }

TsGlyphMode::~TsGlyphMode() = default;

TClass TsGlyphMode::StaticClass() {
    using T = TsGlyphMode;
    static const TClassInfo info = MakeClass<T, TPersistent>("TsGlyphMode", [](TPropertyBuilder<T>& p) {
        p.Int("Blend", &T::Blend, &T::SetBlend, 0);
        p.Bool("Grayed", &T::Grayed, &T::SetGrayed, false);
        p.Bool("UseDefaultGlyph", &T::UseDefaultGlyph, &T::SetUseDefaultGlyph, true);
        p.Object("Glyph", &T::Glyph, &T::SetGlyph);
        p.String("Hint", &T::Hint, &T::SetHint).Stored(false);
    });
    return &info;
}

TPersistent* TsGlyphMode::GetOwner() const {
    return FOwner;
}

void TsGlyphMode::Changed(bool buttonOnly) {
    if (OnChange) OnChange(buttonOnly);
}

void TsGlyphMode::SetBlend(int value) {
    value = std::clamp(value, 0, 100);
    if (FBlend == value) return;
    FBlend = value;
    Changed(true);
}

void TsGlyphMode::SetGrayed(bool value) {
    if (FGrayed == value) return;
    FGrayed = value;
    Changed(false);
}

void TsGlyphMode::SetUseDefaultGlyph(bool value) {
    if (FUseDefaultGlyph == value) return;
    FUseDefaultGlyph = value;
    Changed(false);
}

void TsGlyphMode::SetGlyph(const TBitmap* value) {
    FGlyph->Assign(value);
    FUseDefaultGlyph = false;
    Changed(false);
}

std::string TsGlyphMode::Hint() const {
    const TControl* holder = FButton != nullptr ? FButton : FOwner;
    return holder != nullptr ? holder->Hint() : std::string();
}

void TsGlyphMode::SetHint(const std::string& value) {
    if (FButton != nullptr) FButton->SetHint(value);   // other owners keep their own hint
}

const TBitmap* TsGlyphMode::CurrentGlyph(std::string_view defaultName) const {
    if (!FUseDefaultGlyph && FGlyph->Width() >= 1) return FGlyph.get();
    return DefaultGlyph(defaultName);
}

int TsGlyphMode::GlyphWidth(std::string_view defaultName) const {
    const TBitmap* glyph = CurrentGlyph(defaultName);
    return glyph != nullptr ? glyph->Width() / 3 : 16;
}

int TsGlyphMode::GlyphHeight(std::string_view defaultName) const {
    const TBitmap* glyph = CurrentGlyph(defaultName);
    return glyph != nullptr ? glyph->Height() / 2 : 16;
}

}
