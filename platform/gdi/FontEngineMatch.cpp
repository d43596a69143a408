// Face resolution through fontconfig: Windows face-name substitution, weight and slant, pinned test fonts.
#include "platform/gdi/FontEngine.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>
#include <tuple>

namespace korvex::gdi {

namespace {

constexpr const char* DefaultFamily = "DejaVu Sans";

struct Substitution {
    const char* WindowsName;
    const char* Family;
};

// Families with the same metrics where one exists (Liberation), otherwise the broad DejaVu Sans.
constexpr Substitution Substitutions[] = {
    {"Tahoma", "DejaVu Sans"},
    {"Verdana", "DejaVu Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Microsoft Sans Serif", "Liberation Sans"},
    {"MS Shell Dlg", "Liberation Sans"},
    {"MS Shell Dlg 2", "DejaVu Sans"},
    {"System", "DejaVu Sans"},
    {"Segoe UI", "DejaVu Sans"},
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"MS Serif", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
    {"Lucida Console", "DejaVu Sans Mono"},
};

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

std::string Trimmed(const std::string& text) {
    auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string XmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

struct Settings {
    std::mutex Lock;   // guards everything below and every fontconfig call
    bool Loaded = false;
    std::string Directory;
    std::string PinnedFamily;
    FcConfig* DirectoryConfig = nullptr;   // fonts of Directory only; nullptr: the system configuration
    std::map<std::tuple<std::string, bool, bool>, FaceChoice> Resolved;
    // Per style (bold, italic): the faces that add coverage, best first, sorted once by fontconfig.
    std::map<std::pair<bool, bool>, FcFontSet*> Covering;
    bool Released = false;   // fontconfig was let go at exit
};

void ForgetCovering(Settings& s) {
    for (auto& [style, set] : s.Covering)
        if (set) FcFontSetDestroy(set);
    s.Covering.clear();
}

std::atomic<unsigned> Generation {1};

Settings& TheSettings() {
    static Settings* settings = new Settings;   // never freed: fonts may be resolved during static destruction
    return *settings;
}

void RebuildConfig(Settings& s) {
    if (s.DirectoryConfig) {
        FcConfigDestroy(s.DirectoryConfig);
        s.DirectoryConfig = nullptr;
    }
    if (!s.Directory.empty()) {
        // Only this folder, with the user's usual cache folder so fontconfig need not rescan each run.
        std::string xml = "<?xml version=\"1.0\"?><fontconfig><dir>" + XmlEscaped(s.Directory)
            + "</dir><cachedir prefix=\"xdg\">fontconfig</cachedir></fontconfig>";
        s.DirectoryConfig = FcConfigCreate();
        if (s.DirectoryConfig
            && (!FcConfigParseAndLoadFromMemory(
                    s.DirectoryConfig, reinterpret_cast<const FcChar8*>(xml.c_str()), FcFalse)
                || !FcConfigBuildFonts(s.DirectoryConfig))) {
            FcConfigDestroy(s.DirectoryConfig);
            s.DirectoryConfig = nullptr;
        }
        // A folder that cannot be read leaves an empty configuration, so nothing resolves and the
        // failure is visible rather than silently using the system fonts.
        if (!s.DirectoryConfig) s.DirectoryConfig = FcConfigCreate();
    }
    s.Resolved.clear();
    ForgetCovering(s);
}

// Frees fontconfig's own state at exit, which it otherwise leaves for the leak checker to find.
void ReleaseFontconfig() {
    Settings& s = TheSettings();
    std::lock_guard lock(s.Lock);
    if (s.DirectoryConfig) FcConfigDestroy(s.DirectoryConfig);
    s.DirectoryConfig = nullptr;
    s.Resolved.clear();
    ForgetCovering(s);
    s.Loaded = false;
    s.Released = true;
    FcFini();
}

void LoadFromEnvironment(Settings& s) {
    if (s.Loaded) return;
    s.Loaded = true;
    FcInit();
    static bool releaseAtExit = (std::atexit(ReleaseFontconfig), true);
    (void)releaseAtExit;
    if (const char* dir = std::getenv("KORVEX_FONT_DIR")) s.Directory = dir;
    if (const char* family = std::getenv("KORVEX_FONT_FAMILY")) s.PinnedFamily = Trimmed(family);
    RebuildConfig(s);
}

bool HasFamily(FcPattern* match, const std::string& family) {
    std::string wanted = Lower(family);
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
        if (Lower(reinterpret_cast<const char*>(value)) == wanted) return true;
    }
    return false;
}

// The file, face and family of a fontconfig match, and what the style must synthesise; empty Path without a file.
FaceChoice ChoiceOf(FcPattern* match, bool bold, bool italic) {
    FaceChoice choice;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch || !file) return choice;
    choice.Path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) choice.Index = index;
    FcChar8* name = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
        choice.Family = reinterpret_cast<const char*>(name);
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    choice.SyntheticBold = bold && weight < FC_WEIGHT_DEMIBOLD;
    choice.SyntheticItalic = italic && slant == FC_SLANT_ROMAN;
    return choice;
}

// The best file of family for the style; empty Path when fontconfig has nothing at all. exact tells whether
// the file belongs to the family asked for.
FaceChoice Match(Settings& s, const std::string& family, bool bold, bool italic, bool& exact) {
    FaceChoice choice;
    exact = false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return choice;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddInteger(pattern, FC_WIDTH, FC_WIDTH_NORMAL);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(s.DirectoryConfig, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(s.DirectoryConfig, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return choice;
    choice = ChoiceOf(match, bold, italic);
    if (choice) {
        exact = HasFamily(match, family);
        if (exact) choice.Family = family;   // the name asked for, not the first alias the file lists
    }
    FcPatternDestroy(match);
    return choice;
}

// The faces that cover what the default family lacks, best first for the style (fontconfig's sort, trimmed to
// faces that add code points); nullptr when fontconfig has none.
FcFontSet* CoveringFaces(Settings& s, bool bold, bool italic) {
    const auto style = std::make_pair(bold, italic);
    if (auto found = s.Covering.find(style); found != s.Covering.end()) return found->second;
    FcFontSet* set = nullptr;
    if (FcPattern* pattern = FcPatternCreate()) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(DefaultFamily));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(s.DirectoryConfig, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        set = FcFontSort(s.DirectoryConfig, pattern, FcTrue, nullptr, &result);
        FcPatternDestroy(pattern);
    }
    s.Covering.emplace(style, set);
    return set;
}

// The first face of the sorted list with a glyph for the code point; empty Path when none has one.
FaceChoice MatchCovering(Settings& s, char32_t codePoint, bool bold, bool italic) {
    FcFontSet* set = CoveringFaces(s, bold, italic);
    for (int i = 0; set && i < set->nfont; ++i) {
        FcCharSet* covered = nullptr;
        if (FcPatternGetCharSet(set->fonts[i], FC_CHARSET, 0, &covered) == FcResultMatch
            && FcCharSetHasChar(covered, FcChar32(codePoint))) {
            FcBool scalable = FcFalse;
            if (FcPatternGetBool(set->fonts[i], FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable) continue;
            return ChoiceOf(set->fonts[i], bold, italic);
        }
    }
    return {};
}

}

std::string SubstituteFaceName(const std::string& faceName) {
    std::string wanted = Lower(Trimmed(faceName));
    for (const Substitution& entry : Substitutions) {
        if (Lower(entry.WindowsName) == wanted) return entry.Family;
    }
    return Trimmed(faceName);
}

FaceChoice ResolveFace(const std::string& faceName, bool bold, bool italic) {
    Settings& s = TheSettings();
    std::lock_guard lock(s.Lock);
    LoadFromEnvironment(s);
    auto key = std::make_tuple(Lower(Trimmed(faceName)), bold, italic);
    if (auto found = s.Resolved.find(key); found != s.Resolved.end()) return found->second;

    std::string family = s.PinnedFamily.empty() ? SubstituteFaceName(faceName) : s.PinnedFamily;
    if (family.empty()) family = DefaultFamily;
    bool exact = false;
    FaceChoice choice = Match(s, family, bold, italic, exact);
    if (!exact && Lower(family) != Lower(DefaultFamily)) {
        // Not installed: the default family, or failing that whatever fontconfig offered.
        bool defaultExact = false;
        FaceChoice fallback = Match(s, DefaultFamily, bold, italic, defaultExact);
        if (defaultExact || !choice) choice = fallback;
    }
    s.Resolved.emplace(std::move(key), choice);
    return choice;
}

FaceChoice ResolveCoveringFace(char32_t codePoint, bool bold, bool italic) {
    Settings& s = TheSettings();
    std::lock_guard lock(s.Lock);
    LoadFromEnvironment(s);
    return MatchCovering(s, codePoint, bold, italic);
}

void SetFontDirectory(const std::string& directory) {
    Settings& s = TheSettings();
    std::lock_guard lock(s.Lock);
    LoadFromEnvironment(s);
    if (s.Directory == directory) return;
    s.Directory = directory;
    RebuildConfig(s);
    ++Generation;
}

void SetPinnedFontFamily(const std::string& family) {
    Settings& s = TheSettings();
    std::lock_guard lock(s.Lock);
    // A display torn down after the exit handlers unpins its font: that must not bring fontconfig up again.
    if (s.Released) return;
    LoadFromEnvironment(s);
    std::string trimmed = Trimmed(family);
    if (s.PinnedFamily == trimmed) return;
    s.PinnedFamily = trimmed;
    s.Resolved.clear();
    ForgetCovering(s);
    ++Generation;
}

unsigned FontSelectionGeneration() {
    return Generation.load();
}

}
