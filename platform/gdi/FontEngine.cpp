// Realised fonts through FreeType: faces, Windows-style sizes and metrics, glyph loading and rendering.
#include "platform/gdi/FontEngine.h"

#include "platform/gdi/FontEngineCache.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <list>
#include <map>
#include <mutex>
#include <unordered_map>

namespace korvex::gdi {

namespace {

constexpr int DefaultCharacterHeight = 11;   // lfHeight 0: as the GUI font, 8 points on the 96-dpi screen
constexpr int MaxPixelSize = 1000;   // larger requests are clamped, so one glyph stays small
constexpr std::size_t MaxCharactersPerFont = 8192;   // mapped code points kept per font
constexpr std::size_t KeptInstances = 32;   // recently used fonts kept alive between uses
constexpr std::size_t MaxRememberedInstances = 256;   // then fonts no longer in use are forgotten
// A glyph taken from a fallback face carries its slot (1-based) above the face's own 16-bit glyph index.
constexpr int FallbackShift = 16;
constexpr std::uint32_t FaceGlyphMask = (1u << FallbackShift) - 1;
constexpr std::size_t MaxFallbacks = 255;   // fallback faces one font keeps

// Code points that show nothing, so a face without them needs no other face.
bool IsControl(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
}

int RoundDiv(long long numerator, long long denominator) {
    if (denominator == 0) return 0;
    double value = double(numerator) / double(denominator);
    return int(std::lround(value));
}

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

}

// The engine's process-wide state: one FreeType library, its faces, the realised fonts. One recursive lock
// guards all FreeType calls (faces and sizes are not thread-safe) and the maps.
class FontEngine {
public:
    static FontEngine& Get() {
        static FontEngine* engine = new FontEngine;   // never freed: fonts may outlive static destruction
        return *engine;
    }

    std::recursive_mutex Lock;

    std::shared_ptr<const FontInstance> Realize(const LOGFONT& logFont);
    // The font of a chosen face; a fallback font takes no further fallbacks, so fonts never hold each other.
    std::shared_ptr<const FontInstance> Realize(const LOGFONT& logFont, FaceChoice choice, bool fallback);
    FT_Face FaceFor(const FaceChoice& choice);   // caller holds Lock

private:
    FontEngine() {
        if (FT_Init_FreeType(&FLibrary) != 0) FLibrary = nullptr;
    }

    std::shared_ptr<FontInstance> Create(const LOGFONT& logFont, const FaceChoice& choice, FT_Face face);
    std::uint64_t StableId(const std::string& key);
    void Keep(const std::shared_ptr<const FontInstance>& instance);

    FT_Library FLibrary = nullptr;
    unsigned FGeneration = 0;
    std::map<std::pair<std::string, int>, FT_Face> FFaces;   // faces stay open for the process's life
    std::map<std::string, std::weak_ptr<const FontInstance>> FInstances;
    std::map<std::string, std::uint64_t> FStableIds;   // the glyph cache's font ids, so a font made again reuses glyphs
    std::list<std::shared_ptr<const FontInstance>> FKept;
};

struct FontInstance::Impl {
    FT_Face Face = nullptr;   // shared, owned by the engine
    FT_Size Size = nullptr;   // this font's own size object on the face
    std::uint64_t CacheId = 0;
    FT_Int32 LoadFlags = FT_LOAD_DEFAULT;
    FT_Render_Mode RenderMode = FT_RENDER_MODE_NORMAL;
    bool Rotated = false;
    FT_Matrix Rotation {0x10000, 0, 0, 0x10000};
    std::unordered_map<char32_t, RunCharacter> Characters;   // guarded by the engine lock
    LOGFONT Requested;   // what the font was realised for
    bool IsFallback = false;
    std::vector<std::shared_ptr<const FontInstance>> Fallbacks;   // by slot - 1; guarded by the engine lock

    // Loads the glyph into the face's slot with this font's size and synthesis; false on failure.
    bool Load(std::uint32_t glyphIndex, const FaceChoice& face) {
        if (FT_Activate_Size(Size) != 0) return false;
        if (FT_Load_Glyph(Face, glyphIndex, LoadFlags) != 0) return false;
        if (Face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return true;
        if (face.SyntheticBold) FT_GlyphSlot_Embolden(Face->glyph);
        if (face.SyntheticItalic) FT_GlyphSlot_Oblique(Face->glyph);
        return true;
    }

    ~Impl() {
        std::lock_guard lock(FontEngine::Get().Lock);
        if (Size) FT_Done_Size(Size);
    }
};

FontInstance::~FontInstance() = default;

FT_Face FontEngine::FaceFor(const FaceChoice& choice) {
    if (!FLibrary || !choice) return nullptr;
    auto key = std::make_pair(choice.Path, choice.Index);
    if (auto found = FFaces.find(key); found != FFaces.end()) return found->second;
    FT_Face face = nullptr;
    if (FT_New_Face(FLibrary, choice.Path.c_str(), choice.Index, &face) != 0)
        face = nullptr;
    else if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        face = nullptr;
    } else
        FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    FFaces.emplace(key, face);   // a failed file is remembered as such
    return face;
}

std::uint64_t FontEngine::StableId(const std::string& key) {
    auto [it, added] = FStableIds.emplace(key, FStableIds.size() + 1);
    return it->second;
}

void FontEngine::Keep(const std::shared_ptr<const FontInstance>& instance) {
    auto found = std::find(FKept.begin(), FKept.end(), instance);
    if (found != FKept.end()) FKept.erase(found);
    FKept.push_front(instance);
    if (FKept.size() > KeptInstances) FKept.pop_back();
}

std::shared_ptr<const FontInstance> FontEngine::Realize(const LOGFONT& logFont) {
    const bool bold = logFont.lfWeight >= FW_SEMIBOLD;
    const bool italic = logFont.lfItalic != 0;
    return Realize(logFont, ResolveFace(logFont.lfFaceName, bold, italic), false);
}

std::shared_ptr<const FontInstance> FontEngine::Realize(const LOGFONT& logFont, FaceChoice choice, bool fallback) {
    const bool bold = logFont.lfWeight >= FW_SEMIBOLD;
    const bool italic = logFont.lfItalic != 0;
    std::lock_guard lock(Lock);
    unsigned generation = FontSelectionGeneration();
    if (generation != FGeneration) {
        FGeneration = generation;
        FInstances.clear();
        FKept.clear();
    }
    FT_Face face = FaceFor(choice);
    if (!face && !fallback && choice.Family != "DejaVu Sans") {
        choice = ResolveFace("DejaVu Sans", bold, italic);
        face = FaceFor(choice);
    }
    if (!face) return nullptr;

    // Glyph masks depend on everything but underline and strike-out, which only runs add.
    std::string glyphKey = choice.Path + '\n' + std::to_string(choice.Index) + ' ' + std::to_string(logFont.lfHeight)
        + ' ' + std::to_string(logFont.lfWidth) + ' ' + std::to_string(logFont.lfEscapement) + ' '
        + std::to_string(int(logFont.lfQuality == NONANTIALIASED_QUALITY)) + ' '
        + std::to_string(int(choice.SyntheticBold)) + std::to_string(int(choice.SyntheticItalic));
    std::string key = glyphKey + ' ' + std::to_string(logFont.lfWeight) + ' '
        + std::to_string(int(logFont.lfItalic != 0)) + ' ' + std::to_string(int(logFont.lfUnderline != 0))
        + std::to_string(int(logFont.lfStrikeOut != 0)) + ' ' + std::to_string(logFont.lfCharSet)
        + (fallback ? " fallback" : "");
    if (auto found = FInstances.find(key); found != FInstances.end()) {
        if (auto live = found->second.lock()) {
            Keep(live);
            return live;
        }
    }
    std::shared_ptr<FontInstance> created = Create(logFont, choice, face);
    if (!created) return nullptr;
    created->FImpl->CacheId = StableId(glyphKey);
    created->FImpl->Requested = logFont;
    created->FImpl->IsFallback = fallback;
    if (FInstances.size() >= MaxRememberedInstances)
        std::erase_if(FInstances, [](const auto& entry) { return entry.second.expired(); });
    FInstances[key] = created;
    Keep(created);
    return created;
}

std::shared_ptr<FontInstance> FontEngine::Create(const LOGFONT& logFont, const FaceChoice& choice, FT_Face face) {
    std::shared_ptr<FontInstance> font(new FontInstance);
    font->FFace = choice;
    font->FImpl = std::make_unique<FontInstance::Impl>();
    FontInstance::Impl& impl = *font->FImpl;
    impl.Face = face;
    if (FT_New_Size(face, &impl.Size) != 0) {
        impl.Size = nullptr;
        return nullptr;
    }

    // Windows sizes TrueType fonts by the OS/2 table's win ascent and descent.
    const int unitsPerEm = face->units_per_EM;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    long winAscent = os2 ? long(os2->usWinAscent) : long(face->ascender);
    long winDescent = os2 ? long(os2->usWinDescent) : long(-face->descender);
    if (winAscent + winDescent <= 0) {
        winAscent = face->ascender;
        winDescent = -face->descender;
    }
    if (winAscent + winDescent <= 0) {
        winAscent = unitsPerEm * 4 / 5;
        winDescent = unitsPerEm / 5;
    }
    const long cellUnits = winAscent + winDescent;

    int requested = logFont.lfHeight == 0 ? -DefaultCharacterHeight : logFont.lfHeight;
    requested = Clamp(requested, -MaxPixelSize, MaxPixelSize);
    int em = 0;
    int ascent = 0;
    int descent = 0;
    if (requested < 0) {   // character height
        em = -requested;
        ascent = RoundDiv(winAscent * em, unitsPerEm);
        descent = RoundDiv(winDescent * em, unitsPerEm);
    } else {   // cell height
        em = std::max(1, RoundDiv((long long)requested * unitsPerEm, cellUnits));
        ascent = RoundDiv(winAscent * requested, cellUnits);
        descent = requested - ascent;
    }

    // Average width as the OS/2 table gives it; lfWidth stretches the face to that average.
    long avgUnits = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : unitsPerEm / 2;
    int naturalAverage = std::max(1, RoundDiv(avgUnits * em, unitsPerEm));
    int emX = em;
    if (logFont.lfWidth != 0) {   // the sign does not matter, as in GDI
        int width = int(std::min<long long>(std::llabs(logFont.lfWidth), MaxPixelSize));
        emX = Clamp(RoundDiv((long long)em * width, naturalAverage), 1, MaxPixelSize * 4);
    }
    if (FT_Activate_Size(impl.Size) != 0 || FT_Set_Pixel_Sizes(face, FT_UInt(emX), FT_UInt(em)) != 0) return nullptr;

    font->FPixelSize = em;
    font->FMonochrome = logFont.lfQuality == NONANTIALIASED_QUALITY;
    impl.LoadFlags = FT_LOAD_NO_BITMAP | (font->FMonochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    impl.RenderMode = font->FMonochrome ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;

    int escapement = logFont.lfEscapement % 3600;
    if (escapement < 0) escapement += 3600;
    font->FEscapement = escapement;
    if (escapement != 0) {
        impl.Rotated = true;
        // Exact quarter turns, so vertical text stays on whole pixels.
        FT_Fixed cosine = 0;
        FT_Fixed sine = 0;
        switch (escapement) {
        case 900:
            sine = 0x10000;
            break;
        case 1800:
            cosine = -0x10000;
            break;
        case 2700:
            sine = -0x10000;
            break;
        default: {
            double radians = escapement * 3.14159265358979323846 / 1800.0;
            cosine = FT_Fixed(std::lround(std::cos(radians) * 65536.0));
            sine = FT_Fixed(std::lround(std::sin(radians) * 65536.0));
        }
        }
        impl.Rotation = FT_Matrix {cosine, -sine, sine, cosine};   // counter-clockwise in FreeType's y-up space
    }

    TEXTMETRIC& tm = font->FMetrics;
    tm.tmAscent = ascent;
    tm.tmDescent = descent;
    tm.tmHeight = ascent + descent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - em);
    if (hhea) {
        long gap = long(hhea->Line_Gap) - (cellUnits - (long(hhea->Ascender) - long(hhea->Descender)));
        tm.tmExternalLeading = std::max(0, RoundDiv(gap * em, unitsPerEm));
    }
    tm.tmAveCharWidth = std::max(1, RoundDiv(avgUnits * emX, unitsPerEm));
    tm.tmMaxCharWidth = std::max<int>(tm.tmAveCharWidth, RoundDiv(long(face->max_advance_width) * emX, unitsPerEm));
    tm.tmWeight = logFont.lfWeight == FW_DONTCARE ? FW_NORMAL : logFont.lfWeight;
    tm.tmItalic = logFont.lfItalic ? 1 : 0;
    tm.tmUnderlined = logFont.lfUnderline ? 1 : 0;
    tm.tmStruckOut = logFont.lfStrikeOut ? 1 : 0;
    tm.tmCharSet = logFont.lfCharSet;
    tm.tmPitchAndFamily = FT_IS_FIXED_WIDTH(face) ? 0 : 1;   // TMPF_FIXED_PITCH set means variable, as in Windows

    font->FUnderline = logFont.lfUnderline != 0;
    font->FStrikeOut = logFont.lfStrikeOut != 0;
    int lineThickness = std::max(1, RoundDiv(long(face->underline_thickness) * em, unitsPerEm));
    int underlineOffset = std::max(1, RoundDiv(-long(face->underline_position) * em, unitsPerEm) - lineThickness / 2);
    if (underlineOffset + lineThickness > descent) underlineOffset = std::max(0, descent - lineThickness);
    font->FUnderlineBand = LineBand {underlineOffset, lineThickness};
    long strikeUnits = os2 && os2->yStrikeoutPosition > 0 ? os2->yStrikeoutPosition : unitsPerEm * 3 / 10;
    int strikeThickness = os2 && os2->yStrikeoutSize > 0
        ? std::max(1, RoundDiv(long(os2->yStrikeoutSize) * em, unitsPerEm))
        : lineThickness;
    int strikeTop = -RoundDiv(strikeUnits * em, unitsPerEm);
    font->FStrikeOutBand = LineBand {strikeTop, strikeThickness};
    return font;
}

RunCharacter FontInstance::MapCharacter(char32_t codePoint) const {
    FontEngine& engine = FontEngine::Get();
    std::lock_guard lock(engine.Lock);
    if (auto found = FImpl->Characters.find(codePoint); found != FImpl->Characters.end()) return found->second;
    RunCharacter mapped;
    mapped.CodePoint = codePoint;
    mapped.GlyphIndex = FT_Get_Char_Index(FImpl->Face, FT_ULong(codePoint));
    if (FImpl->Load(mapped.GlyphIndex, FFace)) {
        // Hinted loads give whole-pixel advances; round anyway for unhinted formats.
        long advance = FImpl->Face->glyph->advance.x;
        if (FImpl->Face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) advance = FImpl->Face->glyph->metrics.horiAdvance;
        mapped.Advance = int((advance + 32) >> 6);
    }
    if (mapped.GlyphIndex == 0 && !FImpl->IsFallback && !IsControl(codePoint)) {
        if (auto [slot, fallback] = FallbackFor(codePoint); fallback) {
            const RunCharacter borrowed = fallback->MapCharacter(codePoint);
            if (borrowed.GlyphIndex != 0 && borrowed.GlyphIndex <= FaceGlyphMask) {
                mapped.GlyphIndex = std::uint32_t(slot) << FallbackShift | borrowed.GlyphIndex;
                mapped.Advance = borrowed.Advance;
            }
        }
    }
    if (FImpl->Characters.size() >= MaxCharactersPerFont) FImpl->Characters.clear();
    FImpl->Characters.emplace(codePoint, mapped);
    return mapped;
}

std::pair<std::size_t, std::shared_ptr<const FontInstance>> FontInstance::FallbackFor(char32_t codePoint) const {
    FontEngine& engine = FontEngine::Get();
    std::lock_guard lock(engine.Lock);
    const LOGFONT& requested = FImpl->Requested;
    FaceChoice choice = ResolveCoveringFace(codePoint, requested.lfWeight >= FW_SEMIBOLD, requested.lfItalic != 0);
    if (!choice || (choice.Path == FFace.Path && choice.Index == FFace.Index)) return {};
    // The same character height and style; lines are drawn once, by this font.
    LOGFONT borrowed = requested;
    borrowed.lfHeight = -FPixelSize;
    borrowed.lfUnderline = 0;
    borrowed.lfStrikeOut = 0;
    std::shared_ptr<const FontInstance> fallback = engine.Realize(borrowed, choice, true);
    if (!fallback) return {};
    std::vector<std::shared_ptr<const FontInstance>>& fallbacks = FImpl->Fallbacks;
    auto found = std::find(fallbacks.begin(), fallbacks.end(), fallback);
    if (found == fallbacks.end()) {
        if (fallbacks.size() >= MaxFallbacks) return {};
        found = fallbacks.insert(fallbacks.end(), fallback);
    }
    return {std::size_t(found - fallbacks.begin()) + 1, fallback};
}

std::shared_ptr<const GlyphMask> FontInstance::RenderGlyph(std::uint32_t glyphIndex) const {
    if (const std::size_t slot = glyphIndex >> FallbackShift; slot != 0) {
        std::shared_ptr<const FontInstance> fallback;
        {
            std::lock_guard lock(FontEngine::Get().Lock);
            if (slot <= FImpl->Fallbacks.size()) fallback = FImpl->Fallbacks[slot - 1];
        }
        if (fallback) return fallback->RenderGlyph(glyphIndex & FaceGlyphMask);
        glyphIndex = 0;
    }
    GlyphCache& cache = SharedGlyphCache();
    GlyphCache::Key key {FImpl->CacheId, glyphIndex};
    if (auto cached = cache.Find(key)) return cached;

    auto mask = std::make_shared<GlyphMask>();
    {
        FontEngine& engine = FontEngine::Get();
        std::lock_guard lock(engine.Lock);
        if (FImpl->Load(glyphIndex, FFace)) {
            FT_GlyphSlot slot = FImpl->Face->glyph;
            if (slot->format == FT_GLYPH_FORMAT_OUTLINE && FImpl->Rotated)
                FT_Outline_Transform(&slot->outline, &FImpl->Rotation);
            if (FT_Render_Glyph(slot, FImpl->RenderMode) == 0) {
                const FT_Bitmap& bitmap = slot->bitmap;
                mask->Left = slot->bitmap_left;
                mask->Top = -slot->bitmap_top;
                mask->Width = int(bitmap.width);
                mask->Height = int(bitmap.rows);
                mask->Coverage.assign(std::size_t(mask->Width) * std::size_t(mask->Height), 0);
                for (int y = 0; y < mask->Height; ++y) {
                    const unsigned char* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
                    std::uint8_t* out = mask->Coverage.data() + std::size_t(y) * std::size_t(mask->Width);
                    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                        for (int x = 0; x < mask->Width; ++x)
                            out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
                    } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
                        std::copy(row, row + mask->Width, out);
                    }
                }
            }
        }
    }
    if (mask->Empty()) {
        mask->Width = mask->Height = 0;
        mask->Coverage.clear();
    }
    cache.Insert(key, mask);
    return mask;
}

std::shared_ptr<const FontInstance> RealizeFont(const LOGFONT& logFont) {
    return FontEngine::Get().Realize(logFont);
}

}
