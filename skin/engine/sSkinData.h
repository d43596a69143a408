// The tables of a loaded skin: sections, images, patterns, the skin's global facts and the cached indexes.
#pragma once

#include "platform/base/Assert.h"
#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"
#include "skin/engine/Forward.h"
#include "skin/engine/sGradient.h"
#include "skin/engine/sImageTable.h"
#include "skin/engine/sSectionTable.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {
class TBitmap;
class TJPEGImage;
}

namespace korvex::skin {

// A fixed array indexed from 1 to N, as the skin tables number their entries (FontColor[1], TabMask[4]).
template <class T, int N>
struct TsOneBased {
    std::array<T, N> Items {};

    T& operator[](int index) {
        KORVEX_ASSERT(index >= 1 && index <= N);
        return Items[static_cast<std::size_t>(index - 1)];
    }
    const T& operator[](int index) const {
        KORVEX_ASSERT(index >= 1 && index <= N);
        return Items[static_cast<std::size_t>(index - 1)];
    }
    static constexpr int Low() { return 1; }
    static constexpr int High() { return N; }
    void Fill(const T& value) { Items.fill(value); }
    bool operator==(const TsOneBased&) const = default;
};

enum TsControlBevel : std::uint8_t { cbNone, cbRaisedSoft, cbLoweredSoft, cbRaisedHard, cbLoweredHard };
enum TacImgType : std::uint8_t { itisaBorder, itisaTexture, itisaGlyph };

// [1] text colour, [2]..[5] the colours keyed TCLEFT, TCTOP, TCRIGHT, TCBOTTOM; -1 = not used.
using TsFontColors = TsOneBased<classes::TColor, 5>;

// One skin section. Colours are 0x00BBGGRR.
struct TsGeneralData {
    std::string ParentClass;   // parent section's name, empty for none
    std::string ClassName;
    classes::TColor Color = 0;
    TsControlBevel Bevel = cbNone;
    TsFontColors FontColor;
    TsFontColors HotFontColor;
    bool ReservedBoolean = false;
    int ShadowBlur = 0;
    classes::TColor ShadowColor = 0;
    bool ShadowEnabled = false;
    int ShadowOffset = 0;
    int ShadowTransparency = 0;   // percent
    int Transparency = 0;   // percent 0..100
    int GradientPercent = 0;
    std::string GradientData;
    TsGradArray GradientArray;   // GradientData parsed; empty when GradientData is " "
    int ImagePercent = 0;
    bool ShowFocus = false;
    bool FadingEnabled = false;
    int FadingIntervalIn = 0;
    int FadingIntervalOut = 0;
    int FadingIterations = 0;
    classes::TColor HotColor = 0;
    int HotTransparency = 0;
    TsControlBevel HotBevel = cbNone;
    int HotGradientPercent = 0;
    std::string HotGradientData;
    TsGradArray HotGradientArray;
    int HotImagePercent = 0;
    classes::TColor BorderColor1 = 0;
    classes::TColor BorderColor2 = 0;
};

// Percentages and transparencies are kept within 0..MaxPercent by the loaders (ClampPercentages), so the
// painters' blends cannot overflow whatever a skin writes.
inline constexpr int MaxPercent = 100;
void ClampPercentages(TsGeneralData& section);
int ClampPercent(int value);

// Bounds the loaders keep every image within, so that the painters' arithmetic on an image cannot overflow:
// rectangle coordinates within the largest bitmap there can be, the 16-bit fields within 16 bits.
inline constexpr int MaxImageCoordinate = 32767;
inline constexpr int MaxImageField = 32767;

// One skin image: a rectangle of the master bitmap (Bmp null) or its own 24-bit bitmap.
// The loaders guarantee ImageCount >= 1, MaskType >= 0, a non-empty picture and HasSaneGeometry.
struct TsMaskData {
    TsMaskData();
    ~TsMaskData();
    TsMaskData(TsMaskData&&) noexcept;
    TsMaskData& operator=(TsMaskData&&) noexcept;

    std::unique_ptr<classes::TBitmap> Bmp;   // own picture, owned; null for a master-bitmap rectangle
    std::string ClassName;   // section the image belongs to
    std::string PropertyName;   // image name within the section ("BORDERSMASK", "GLYPHMASK", ...)
    classes::TRect R {};   // rectangle in the master bitmap; (0, 0, width, height) for an own bitmap
    int ImageCount = 1;   // state columns side by side
    int MaskType = 0;   // 0 no mask; 1 the lower half holds the masks of the upper half
    int BorderWidth = 0;   // nine-part painter's border width
    int StretchMode = 0;   // 0 tile, other stretch
    TacImgType ImgType = itisaBorder;
    TsSkinManager* Manager = nullptr;   // gives painters the master bitmap
    TsOneBased<int, 4> Margins;   // filled by the "^" image form only
};

// R's coordinates within +-MaxImageCoordinate, ImageCount and MaskType within 16 bits (painters take counts
// below 1 and mask types below 0 as 1 and 0). Painters draw nothing for an image that is not.
bool HasSaneGeometry(const TsMaskData& mask);

// One large JPEG pattern.
struct TsPatternData {
    TsPatternData();
    ~TsPatternData();
    TsPatternData(TsPatternData&&) noexcept;
    TsPatternData& operator=(TsPatternData&&) noexcept;

    std::unique_ptr<classes::TJPEGImage> Img;   // owned
    std::string ClassName;
    std::string PropertyName;   // "PATTERN" or "HOTPATTERN"
};

using TsGeneralDataArray = TsSectionTable<TsGeneralData>;
using TsMaskArray = TsImageTable<TsMaskData>;
using TsPatternArray = TsImageTable<TsPatternData>;

// The skin's global facts; one object owned by the manager for its whole life.
class TsSkinData {
public:
    TsSkinData() = default;
    ~TsSkinData();   // also frees a skin load's INI object still held
    TsSkinData(const TsSkinData&) = delete;
    TsSkinData& operator=(const TsSkinData&) = delete;

    std::string SkinPath;   // folder of the loaded skin with a trailing delimiter; empty for a stored skin
    bool Active = false;   // a skin is loaded and has been announced
    double Version = 0;
    std::string Author;
    std::string Description;
    int Shadow1Color = 0;
    int Shadow1Offset = 0;
    int Shadow1Blur = -1;
    int Shadow1Transparency = 0;
};

// Indexes painters need on every paint, looked up once per skin; -1 when not found.
struct TConstantSkinData {
    int GlobalInfo = 0;
    TsOneBased<int, 4> TabSection;   // TABTOP, TABBOTTOM, TABLEFT, TABRIGHT
    TsOneBased<int, 4> TabMask;   // their BORDERSMASK
    TsOneBased<int, 4> ScrollBtnSection;   // SCROLLBTNTOP, SCROLLBTNBOTTOM, SCROLLBTNLEFT, SCROLLBTNRIGHT
    TsOneBased<int, 4> ScrollBtnMask;
    TsOneBased<int, 4> ScrollBtnPattern;
    TsOneBased<int, 4> ScrollBtnHotPattern;
    TsOneBased<int, 4> ScrollBtnGlyph;
    int SliderSectionV = 0;   // SCROLLSLIDERV
    int SliderSectionH = 0;   // SCROLLSLIDERH
    int SliderMaskV = 0;
    int SliderMaskH = 0;
    int SliderGlyphV = 0;
    int SliderGlyphH = 0;
    int SliderPatternH = 0;
    int SliderHotPatternH = 0;
    int SliderPatternV = 0;
    int SliderHotPatternV = 0;
    TsOneBased<int, 4> ScrollBarSection;   // SCROLLBAR1H, SCROLLBAR1V, SCROLLBAR2H, SCROLLBAR2V
    TsOneBased<int, 4> ScrollBarMask;
    TsOneBased<int, 4> ScrollBarPattern;
    TsOneBased<int, 4> ScrollBarHotPattern;
    // GLOBALINFO's BOXCHECKED, BOXUNCHECKED, BOXGRAYED, RADIOCHECKED, RADIOUNCHECKED, RADIOGRAYED,
    // SMALLCHECKED, SMALLUNCHECKED, SMALLGRAYED
    TsOneBased<int, 9> CheckMask;
};

inline constexpr classes::TColor TransparentSkinColor = 0xFF00FF;   // the key colour of every skin picture

}
