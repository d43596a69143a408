// TsSkinManager section data: [GLOBALINFO] facts and one record per section, from the folder or CommonSections.
#include "skin/engine/sSkinManager.h"

#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/classes/TMemIniFile.h"
#include "platform/classes/TStringList.h"
#include "skin/engine/sSkinImageValues.h"
#include "skin/engine/sSkinIni.h"
#include "skin/engine/sStoredSkins.h"
#include "skin/engine/sUtils.h"

#include <unordered_map>

namespace korvex::skin {

using classes::TColor;

namespace {

enum class Kind { Int, Bool, Text };

// One key of a section and the field it fills.
struct Field {
    const char* Key;
    Kind Type;
    int IntDefault;
    const char* TextDefault;
    void (*SetInt)(TsGeneralData&, int);
    int (*GetInt)(const TsGeneralData&);
    void (*SetText)(TsGeneralData&, const std::string&);
    std::string (*GetText)(const TsGeneralData&);
};

TsControlBevel ToBevel(int v) {
    return (v >= cbNone && v <= cbLoweredHard) ? static_cast<TsControlBevel>(v) : cbNone;
}

#define KORVEX_INT_FIELD(key, def, member)                                                                             \
    Field {                                                                                                            \
        key, Kind::Int, def, "", [](TsGeneralData& d, int v) { d.member = v; },                                        \
            [](const TsGeneralData& d) { return static_cast<int>(d.member); }, nullptr, nullptr                        \
    }
#define KORVEX_BOOL_FIELD(key, member)                                                                                 \
    Field {                                                                                                            \
        key, Kind::Bool, 0, "FALSE", [](TsGeneralData& d, int v) { d.member = v != 0; },                               \
            [](const TsGeneralData& d) { return d.member ? 1 : 0; }, nullptr, nullptr                                  \
    }

// Keys in the order they are read; COLOR, PARENTCLASS and SHADOWCOLOR have extra rules (see the readers).
const Field Fields[] = {
    KORVEX_INT_FIELD("COLOR", 0xFFFFFF, Color),
    Field {"BEVEL", Kind::Int, 0, "", [](TsGeneralData& d, int v) { d.Bevel = ToBevel(v); },
        [](const TsGeneralData& d) { return static_cast<int>(d.Bevel); }, nullptr, nullptr},
    KORVEX_INT_FIELD("SHADOWBLUR", 6, ShadowBlur),
    KORVEX_INT_FIELD("SHADOWOFFSET", 3, ShadowOffset),
    KORVEX_INT_FIELD("SHADOWCOLOR", 0, ShadowColor),
    KORVEX_INT_FIELD("SHADOWTRANSPARENCY", 50, ShadowTransparency),
    KORVEX_BOOL_FIELD("SHADOWENABLED", ShadowEnabled),
    KORVEX_BOOL_FIELD("RESERVEDBOOLEAN", ReservedBoolean),
    KORVEX_INT_FIELD("FONTCOLOR", 0, FontColor[1]),
    KORVEX_INT_FIELD("TCLEFT", -1, FontColor[2]),
    KORVEX_INT_FIELD("TCTOP", -1, FontColor[3]),
    KORVEX_INT_FIELD("TCRIGHT", -1, FontColor[4]),
    KORVEX_INT_FIELD("TCBOTTOM", -1, FontColor[5]),
    KORVEX_INT_FIELD("HOTFONTCOLOR", 0, HotFontColor[1]),
    KORVEX_INT_FIELD("HOTTCLEFT", -1, HotFontColor[2]),
    KORVEX_INT_FIELD("HOTTCTOP", -1, HotFontColor[3]),
    KORVEX_INT_FIELD("HOTTCRIGHT", -1, HotFontColor[4]),
    KORVEX_INT_FIELD("HOTTCBOTTOM", -1, HotFontColor[5]),
    KORVEX_INT_FIELD("TRANSPARENCY", 0, Transparency),
    KORVEX_INT_FIELD("GRADIENTPERCENT", 0, GradientPercent),
    KORVEX_INT_FIELD("IMAGEPERCENT", 0, ImagePercent),
    Field {"GRADIENTDATA", Kind::Text, 0, " ", nullptr, nullptr,
        [](TsGeneralData& d, const std::string& v) { d.GradientData = v; },
        [](const TsGeneralData& d) { return d.GradientData; }},
    KORVEX_BOOL_FIELD("SHOWFOCUS", ShowFocus),
    KORVEX_BOOL_FIELD("FADINGENABLED", FadingEnabled),
    KORVEX_INT_FIELD("FADINGINTERVALIN", 5, FadingIntervalIn),
    KORVEX_INT_FIELD("FADINGINTERVALOUT", 5, FadingIntervalOut),
    KORVEX_INT_FIELD("FADINGITERATIONS", 5, FadingIterations),
    KORVEX_INT_FIELD("HOTCOLOR", 0xFFFFFF, HotColor),
    KORVEX_INT_FIELD("HOTTRANSPARENCY", 0, HotTransparency),
    Field {"HOTBEVEL", Kind::Int, 0, "", [](TsGeneralData& d, int v) { d.HotBevel = ToBevel(v); },
        [](const TsGeneralData& d) { return static_cast<int>(d.HotBevel); }, nullptr, nullptr},
    KORVEX_INT_FIELD("HOTGRADIENTPERCENT", 0, HotGradientPercent),
    Field {"HOTGRADIENTDATA", Kind::Text, 0, "", nullptr, nullptr,
        [](TsGeneralData& d, const std::string& v) { d.HotGradientData = v; },
        [](const TsGeneralData& d) { return d.HotGradientData; }},
    KORVEX_INT_FIELD("HOTIMAGEPERCENT", 0, HotImagePercent),
    KORVEX_INT_FIELD("BORDERCOLOR1", 0, BorderColor1),
    KORVEX_INT_FIELD("BORDERCOLOR2", 0, BorderColor2),
};

#undef KORVEX_INT_FIELD
#undef KORVEX_BOOL_FIELD

void ParseGradients(TsGeneralData& d) {
    d.GradientArray.clear();
    d.HotGradientArray.clear();
    if (d.GradientData != " ") ParseGradientData(d.GradientData, d.GradientArray);
    if (d.HotGradientData != " ") ParseGradientData(d.HotGradientData, d.HotGradientArray);
}

// A plain integer key of [GLOBALINFO]; a value that is not a decimal integer gives the default.
int ReadPlainInteger(const classes::TMemIniFile& ini, const std::string& key, int def) {
    int value = def;
    return TryDecimal(ini.ReadString("GLOBALINFO", key, base::IntToStr(def)), value) ? value : def;
}

}

void TsSkinManager::LoadAllGeneralData() {
    Sections.clear();
    if (SkinLoadIndex() != nullptr) {
        LoadIniSections();
    } else {
        const TsStoredSkin* stored = FindStoredSkin();
        if (stored == nullptr) return;
        LoadStoredSections(*stored);
    }
    LoadCommonSectionsData();
    ChangeSkinHue(FHueOffset);
    ChangeSkinSaturation(FSaturation);
}

void TsSkinManager::LoadIniSections() {
    const classes::TMemIniFile& ini = *SkinLoadIni();
    double version = 0;
    LoadedSkin.Version = base::TryStrToFloat(ini.ReadString("GLOBALINFO", "VERSION", "0"), version) ? version : 0;
    LoadedSkin.Author = ini.ReadString("GLOBALINFO", "AUTHOR", "");
    LoadedSkin.Description = ini.ReadString("GLOBALINFO", "DESCRIPTION", "");
    LoadedSkin.Shadow1Color = ReadPlainInteger(ini, "SHADOW1COLOR", 0);
    LoadedSkin.Shadow1Offset = ReadPlainInteger(ini, "SHADOW1OFFSET", 0);
    LoadedSkin.Shadow1Blur = ReadPlainInteger(ini, "SHADOW1BLUR", -1);
    LoadedSkin.Shadow1Transparency = ClampPercent(ReadPlainInteger(ini, "SHADOW1TRANSPARENCY", 0));

    // Inherited reads by section number: the parent chains are resolved once for the whole skin.
    const TsSkinIniIndex& index = *SkinLoadIndex();
    Sections.reserve(static_cast<std::size_t>(index.Count()));
    for (int i = 0; i < index.Count(); ++i) {
        TsGeneralData d;
        d.ClassName = index.Name(i);
        const std::string* parent = index.Value(i, "PARENTCLASS");
        d.ParentClass = parent != nullptr ? *parent : std::string();
        for (const Field& f : Fields) {
            const std::string key = f.Key;
            switch (f.Type) {
            case Kind::Int:
                if (key == "SHADOWCOLOR") {
                    const std::string* own = index.Value(i, key);
                    f.SetInt(d, base::StrToIntDef(own != nullptr ? *own : std::string(), f.IntDefault));
                } else if (key == "COLOR") {
                    f.SetInt(d, classes::ColorToRGB(index.InheritedInteger(i, key, f.IntDefault)));
                } else {
                    f.SetInt(d, index.InheritedInteger(i, key, f.IntDefault));
                }
                break;
            case Kind::Bool:
                f.SetInt(d, base::UpperCase(index.InheritedString(i, key, "FALSE")) == "TRUE" ? 1 : 0);
                break;
            case Kind::Text:
                f.SetText(d, index.InheritedString(i, key, f.TextDefault));
                break;
            }
        }
        ParseGradients(d);
        ClampPercentages(d);
        Sections.push_back(std::move(d));
    }
}

void TsSkinManager::LoadCommonSectionsData() {
    if (FCommonSections->Count() == 0) return;
    classes::TStringList common;
    ParseCommonSections(*FCommonSections, common);
    // Upper-cased section name -> the first section of it, for finding parents in one look-up.
    std::unordered_map<std::string, int> firstUpper;
    for (std::size_t i = 0; i < Sections.size(); ++i)
        firstUpper.emplace(base::UpperCase(Sections[i].ClassName), static_cast<int>(i));
    for (int i = 0; i < common.Count(); ++i) {
        const std::string name = common.Strings(i);
        TsGeneralData added;
        added.ClassName = name;
        added.ParentClass = base::UpperCase(ReadCommonString(common, name, "", "PARENTCLASS"));
        firstUpper.emplace(base::UpperCase(name), static_cast<int>(Sections.size()));
        Sections.push_back(std::move(added));
        const std::string parentName = Sections.back().ParentClass;

        // Missing values come from the parent (the first section of that name, the new one included) or the defaults.
        TsGeneralData inherited;
        const auto parent = parentName.empty() ? firstUpper.end() : firstUpper.find(parentName);
        if (parent != firstUpper.end()) {
            inherited = Sections[static_cast<std::size_t>(parent->second)];
        } else {
            for (const Field& f : Fields) {
                if (f.Type == Kind::Text)
                    f.SetText(inherited, f.TextDefault);
                else
                    f.SetInt(inherited, f.IntDefault);
            }
        }

        TsGeneralData& d = Sections.back();
        for (const Field& f : Fields) {
            switch (f.Type) {
            case Kind::Int: {
                const int v = ReadCommonInteger(common, name, -1, f.Key);
                f.SetInt(d, v != -1 ? v : f.GetInt(inherited));
                break;
            }
            case Kind::Bool: {
                const std::string v = ReadCommonString(common, name, "?", f.Key);
                f.SetInt(d, v != "?" ? (base::UpperCase(v) == "TRUE" ? 1 : 0) : f.GetInt(inherited));
                break;
            }
            case Kind::Text: {
                const std::string v = ReadCommonString(common, name, "?", f.Key);
                f.SetText(d, v != "?" ? v : f.GetText(inherited));
                break;
            }
            }
        }
        ParseGradients(d);
        ClampPercentages(d);
    }
}

}
