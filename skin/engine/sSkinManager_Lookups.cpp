// TsSkinManager look-ups: sections and images by name with parent fall-back, frame sizes, global colours.
#include "skin/engine/sSkinManager.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"

#include <algorithm>
#include <unordered_set>

namespace korvex::skin {

using classes::TColor;

int TsSkinManager::GetSkinIndex(const std::string& name) const {
    return Sections.IndexOf(name);
}

bool TsSkinManager::IsValidSkinIndex(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < Sections.size();
}

bool TsSkinManager::IsValidImgIndex(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < Masks.size();
}

namespace {

// The first image of table named (section, property) that `accept` takes, then the same along the ParentClass
// chain. A chain that comes back to a section already visited ends the search. Each step costs a hash look-up,
// so a look-up walks its chain once whatever its length.
template <class Table, class Accept>
int FindWithParents(const TsSkinManager& sm, const Table& table, int skinIndex, std::string section,
    const std::string& property, Accept accept) {
    std::unordered_set<int> visited;
    while (true) {
        if (skinIndex < 0 || section.empty()) return -1;
        if (const int found = table.FindFirst(section, property, accept); found >= 0) return found;
        if (!sm.IsValidSkinIndex(skinIndex)) return -1;
        const std::string parent = sm.Sections[static_cast<std::size_t>(skinIndex)].ParentClass;
        if (parent.empty() || parent == section) return -1;
        const int next = sm.GetSkinIndex(parent);
        if (next < 0) return -1;
        visited.insert(skinIndex);
        if (visited.count(next) != 0) return -1;
        skinIndex = next;
        section = parent;
    }
}

}

int TsSkinManager::GetMaskIndex(int skinIndex, const std::string& sectionName, const std::string& propertyName) const {
    return FindWithParents(*this, Masks, skinIndex, sectionName, propertyName, [](const TsMaskData&) { return true; });
}

int TsSkinManager::GetMaskIndexExact(const std::string& sectionName, const std::string& propertyName) const {
    if (sectionName.empty()) return -1;
    return Masks.FindFirst(sectionName, propertyName);
}

int TsSkinManager::GetTextureIndex(
    int skinIndex, const std::string& sectionName, const std::string& propertyName) const {
    if (Masks.empty()) return -1;
    return FindWithParents(*this, Masks, skinIndex, sectionName, propertyName,
        [](const TsMaskData& m) { return m.ImgType == itisaTexture; });
}

int TsSkinManager::GetPatternIndex(
    int skinIndex, const std::string& sectionName, const std::string& propertyName) const {
    if (Patterns.empty()) return -1;
    return FindWithParents(
        *this, Patterns, skinIndex, sectionName, propertyName, [](const TsPatternData&) { return true; });
}

classes::TSize TsSkinManager::GetMaskFrameSize(int maskIndex) const {
    classes::TSize size {0, 0};
    if (!IsValidImgIndex(maskIndex)) return size;
    const TsMaskData& m = Masks[static_cast<std::size_t>(maskIndex)];
    if (!HasSaneGeometry(m)) return size;
    if (m.Bmp != nullptr) {
        size.cx = m.Bmp->Width() / 3;
        size.cy = m.Bmp->Height() / 2;
    } else {
        size.cx = (m.R.right - m.R.left) / std::max(m.ImageCount, 1);
        size.cy = (m.R.bottom - m.R.top) / (std::max(m.MaskType, 0) + 1);
    }
    return size;
}

void TsSkinManager::GetMaskFrameSize(int maskIndex, int& width, int& height) const {
    const classes::TSize size = GetMaskFrameSize(maskIndex);
    width = size.cx;
    height = size.cy;
}

TColor TsSkinManager::GetGlobalColor() const {
    if (!IsValidSkinIndex(ConstData.GlobalInfo)) return classes::ColorToRGB(classes::clBtnFace);
    return classes::ColorToRGB(Sections[static_cast<std::size_t>(ConstData.GlobalInfo)].Color);
}

TColor TsSkinManager::GetGlobalFontColor() const {
    if (!IsValidSkinIndex(ConstData.GlobalInfo)) return TransparentSkinColor;
    return classes::ColorToRGB(Sections[static_cast<std::size_t>(ConstData.GlobalInfo)].FontColor[1]);
}

void TsSkinManager::UpdateConstData() {
    TConstantSkinData& c = ConstData;
    c.GlobalInfo = GetSkinIndex("GLOBALINFO");

    static const char* const checkNames[9] = {"BOXCHECKED", "BOXUNCHECKED", "BOXGRAYED", "RADIOCHECKED",
        "RADIOUNCHECKED", "RADIOGRAYED", "SMALLCHECKED", "SMALLUNCHECKED", "SMALLGRAYED"};
    for (int i = 1; i <= 9; ++i)
        c.CheckMask[i] = c.GlobalInfo < 0 ? -1 : GetMaskIndex(c.GlobalInfo, "GLOBALINFO", checkNames[i - 1]);

    static const char* const tabs[4] = {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"};
    for (int i = 1; i <= 4; ++i)
        c.TabSection[i] = GetSkinIndex(tabs[i - 1]);
    for (int i = 1; i <= 4; ++i)
        c.TabMask[i] = GetMaskIndex(c.TabSection[i], tabs[i - 1], "BORDERSMASK");

    static const char* const buttons[4] = {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"};
    for (int i = 1; i <= 4; ++i)
        c.ScrollBtnSection[i] = GetSkinIndex(buttons[i - 1]);
    c.SliderSectionV = GetSkinIndex("SCROLLSLIDERV");
    c.SliderSectionH = GetSkinIndex("SCROLLSLIDERH");
    for (int i = 1; i <= 4; ++i) {
        c.ScrollBtnMask[i] = GetMaskIndex(c.ScrollBtnSection[i], buttons[i - 1], "BORDERSMASK");
        c.ScrollBtnGlyph[i] = GetMaskIndex(c.ScrollBtnSection[i], buttons[i - 1], "GLYPHMASK");
    }
    c.SliderMaskV = GetMaskIndex(c.SliderSectionV, "SCROLLSLIDERV", "BORDERSMASK");
    c.SliderMaskH = GetMaskIndex(c.SliderSectionH, "SCROLLSLIDERH", "BORDERSMASK");
    c.SliderGlyphV = GetMaskIndex(c.SliderSectionV, "SCROLLSLIDERV", "GLYPHMASK");
    c.SliderGlyphH = GetMaskIndex(c.SliderSectionH, "SCROLLSLIDERH", "GLYPHMASK");
    for (int i = 1; i <= 4; ++i) {
        c.ScrollBtnPattern[i] = GetMaskIndex(c.ScrollBtnSection[i], buttons[i - 1], "PATTERN");
        c.ScrollBtnHotPattern[i] = GetMaskIndex(c.ScrollBtnSection[i], buttons[i - 1], "HOTPATTERN");
    }
    c.SliderPatternH = GetMaskIndex(c.SliderSectionH, "SCROLLSLIDERH", "PATTERN");
    c.SliderHotPatternH = GetMaskIndex(c.SliderSectionH, "SCROLLSLIDERH", "HOTPATTERN");
    c.SliderPatternV = GetMaskIndex(c.SliderSectionV, "SCROLLSLIDERV", "PATTERN");
    c.SliderHotPatternV = GetMaskIndex(c.SliderSectionV, "SCROLLSLIDERV", "HOTPATTERN");

    static const char* const bars[4] = {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"};
    for (int i = 1; i <= 4; ++i)
        c.ScrollBarSection[i] = GetSkinIndex(bars[i - 1]);
    for (int i = 1; i <= 4; ++i) {
        c.ScrollBarMask[i] = GetMaskIndex(c.ScrollBarSection[i], bars[i - 1], "BORDERSMASK");
        c.ScrollBarPattern[i] = GetMaskIndex(c.ScrollBarSection[i], bars[i - 1], "PATTERN");
        c.ScrollBarHotPattern[i] = GetMaskIndex(c.ScrollBarSection[i], bars[i - 1], "HOTPATTERN");
    }
}

}
