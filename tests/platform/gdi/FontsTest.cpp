// Tests of the font engine: LOGFONT sizes, substitution, styles, Cyrillic, rotation, lines and the glyph cache.
#include "platform/gdi/Fonts.h"
#include "platform/gdi/FontEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace korvex::gdi {
namespace {

LOGFONT Face(const std::string& name, int height, int weight = FW_NORMAL, bool italic = false) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfFaceName = name;
    return lf;
}

std::shared_ptr<const FontInstance> Realize(const LOGFONT& lf) {
    auto font = RealizeFont(lf);
    EXPECT_NE(font, nullptr) << "no font for " << lf.lfFaceName;
    return font;
}

// Rows and columns of a run mask that hold any coverage.
struct Inked {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};
Inked InkOf(const RunMask& mask) {
    Inked ink {1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    for (int y = 0; y < mask.Height; ++y)
        for (int x = 0; x < mask.Width; ++x)
            if (mask.Coverage[std::size_t(y) * mask.Width + x] > 0) {
                ink.Left = std::min(ink.Left, mask.Left + x);
                ink.Right = std::max(ink.Right, mask.Left + x + 1);
                ink.Top = std::min(ink.Top, mask.Top + y);
                ink.Bottom = std::max(ink.Bottom, mask.Top + y + 1);
            }
    return ink;
}

int CoverageAt(const RunMask& mask, int x, int y) {
    int cx = x - mask.Left;
    int cy = y - mask.Top;
    if (cx < 0 || cy < 0 || cx >= mask.Width || cy >= mask.Height) return 0;
    return mask.Coverage[std::size_t(cy) * mask.Width + cx];
}

const char* const Cyrillic = "Привет, мир! Ёлка";

TEST(FontHeight, NegativeHeightIsTheCharacterHeightInsideALargerCell) {
    for (int height : {8, 11, 13, 16, 24}) {
        auto font = Realize(Face("Tahoma", -height));
        const TEXTMETRIC& tm = font->TextMetrics();
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, height);
        EXPECT_GT(tm.tmHeight, height);
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_EQ(font->PixelSize(), height);
    }
}

TEST(FontHeight, PositiveHeightIsTheCellHeight) {
    for (int height : {9, 13, 16, 20, 33}) {
        auto font = Realize(Face("Arial", height));
        const TEXTMETRIC& tm = font->TextMetrics();
        EXPECT_EQ(tm.tmHeight, height);
        EXPECT_LT(font->PixelSize(), height);
        EXPECT_GE(tm.tmInternalLeading, 0);
    }
}

TEST(FontHeight, ZeroHeightIsTheGuiFontsHeight) {
    auto byDefault = Realize(Face("Tahoma", 0));
    auto gui = Realize(Face("Tahoma", -11));
    EXPECT_EQ(byDefault->TextMetrics().tmHeight, gui->TextMetrics().tmHeight);
    EXPECT_EQ(byDefault->MeasureWidth("Caption"), gui->MeasureWidth("Caption"));
}

TEST(FontHeight, AbsurdHeightsAreClampedNotRefused) {
    auto huge = Realize(Face("Tahoma", -100000));
    EXPECT_EQ(huge->PixelSize(), 1000);
    auto tiny = Realize(Face("Tahoma", 1));
    EXPECT_GE(tiny->PixelSize(), 1);
    EXPECT_GE(tiny->MeasureWidth("abc"), 0);
}

TEST(FontHeight, PointsConvertAtNinetySixDpi) {
    EXPECT_EQ(FontHeightFromPoints(8), -11);
    EXPECT_EQ(FontHeightFromPoints(9), -12);
    EXPECT_EQ(FontHeightFromPoints(10), -13);
    EXPECT_EQ(FontHeightFromPoints(12), -16);
}

TEST(FontStyle, BoldIsWiderThanNormal) {
    for (const char* name : {"Tahoma", "Arial", "MS Sans Serif"}) {
        auto normal = Realize(Face(name, -11));
        auto bold = Realize(Face(name, -11, FW_BOLD));
        EXPECT_GT(bold->MeasureWidth("Hello, World"), normal->MeasureWidth("Hello, World")) << name;
        EXPECT_EQ(bold->TextMetrics().tmWeight, FW_BOLD);
        EXPECT_FALSE(bold->Face().SyntheticBold) << name << " has a bold face installed";
    }
}

TEST(FontStyle, ItalicComesFromTheFamilysItalicFace) {
    auto italic = Realize(Face("Courier New", -13, FW_NORMAL, true));
    EXPECT_EQ(italic->Face().Family, "Liberation Mono");
    EXPECT_FALSE(italic->Face().SyntheticItalic);
    EXPECT_NE(italic->Face().Path, Realize(Face("Courier New", -13))->Face().Path);
    EXPECT_EQ(italic->TextMetrics().tmItalic, 1);
}

TEST(FontStyle, WidthStretchesTheAverageCharacter) {
    auto natural = Realize(Face("Arial", -12));
    LOGFONT wide = Face("Arial", -12);
    wide.lfWidth = natural->TextMetrics().tmAveCharWidth * 2;
    auto stretched = Realize(wide);
    EXPECT_EQ(stretched->TextMetrics().tmHeight, natural->TextMetrics().tmHeight);
    double ratio = double(stretched->MeasureWidth("mmmmmmmmmm")) / natural->MeasureWidth("mmmmmmmmmm");
    EXPECT_NEAR(ratio, 2.0, 0.3);
}

TEST(FontStyle, NonAntialiasedQualityGivesOnlyFullOrNoCoverage) {
    LOGFONT lf = Face("Tahoma", -13);
    lf.lfQuality = NONANTIALIASED_QUALITY;
    RunMask mask = Realize(lf)->RenderRun("Quality");
    ASSERT_FALSE(mask.Empty());
    EXPECT_TRUE(std::all_of(mask.Coverage.begin(), mask.Coverage.end(), [](int c) { return c == 0 || c == 255; }));
    RunMask grey = Realize(Face("Tahoma", -13))->RenderRun("Quality");
    EXPECT_TRUE(std::any_of(grey.Coverage.begin(), grey.Coverage.end(), [](int c) { return c > 0 && c < 255; }));
}

struct SubstitutionCase {
    const char* WindowsName;
    const char* Family;
};

class FaceSubstitution : public testing::TestWithParam<SubstitutionCase> { };

TEST_P(FaceSubstitution, LandsOnAnInstalledFace) {
    for (bool bold : {false, true}) {
        FaceChoice choice = ResolveFace(GetParam().WindowsName, bold, false);
        EXPECT_EQ(choice.Family, GetParam().Family);
        EXPECT_TRUE(std::filesystem::exists(choice.Path)) << choice.Path;
        auto font = Realize(Face(GetParam().WindowsName, -11, bold ? FW_BOLD : FW_NORMAL));
        EXPECT_GT(font->MeasureWidth("Folding"), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(WindowsNames, FaceSubstitution,
    testing::Values(SubstitutionCase {"Tahoma", "DejaVu Sans"}, SubstitutionCase {"tahoma", "DejaVu Sans"},
        SubstitutionCase {"MS Sans Serif", "Liberation Sans"},
        SubstitutionCase {"Microsoft Sans Serif", "Liberation Sans"}, SubstitutionCase {"Arial", "Liberation Sans"},
        SubstitutionCase {"Times New Roman", "Liberation Serif"}, SubstitutionCase {"Courier New", "Liberation Mono"},
        SubstitutionCase {"Verdana", "DejaVu Sans"}, SubstitutionCase {"No Such Face 4711", "DejaVu Sans"},
        SubstitutionCase {"", "DejaVu Sans"}, SubstitutionCase {"DejaVu Serif", "DejaVu Serif"}));

TEST(FontText, CyrillicMeasuresPositiveAndStable) {
    auto font = Realize(Face("Tahoma", -11));
    int width = font->MeasureWidth(Cyrillic);
    EXPECT_GT(width, 0);
    EXPECT_EQ(font->MeasureWidth(Cyrillic), width);
    for (const RunCharacter& c : font->Characters(Cyrillic)) {
        EXPECT_NE(c.GlyphIndex, 0u) << "no glyph for U+" << std::hex << unsigned(c.CodePoint);
        if (c.CodePoint != ' ') {
            EXPECT_GT(c.Advance, 0);
        }
    }
    // The same LOGFONT realised again measures the same.
    LOGFONT lf = Face("Tahoma", -11);
    lf.lfCharSet = RUSSIAN_CHARSET;
    EXPECT_EQ(Realize(lf)->MeasureWidth(Cyrillic), width);
    EXPECT_FALSE(Realize(Face("Arial", -11))->RenderRun(Cyrillic).Empty());
}

// The edit and grid face (Liberation Sans) has no Hebrew or Arabic; DejaVu Sans has both.
TEST(FontFallback, ScriptsTheFaceLacksTakeGlyphsFromAFaceThatHasThem) {
    ASSERT_EQ(ResolveFace("MS Sans Serif", false, false).Family, "Liberation Sans");
    for (int weight : {FW_NORMAL, FW_BOLD}) {
        auto font = Realize(Face("MS Sans Serif", -11, weight));
        auto reference = Realize(Face("DejaVu Sans", -11, weight));
        for (const char* text : {"\u05E9\u05DC\u05D5\u05DD", "\u0633\u0644\u0627\u0645"}) {
            std::vector<std::vector<std::uint8_t>> shapes;
            for (const RunCharacter& c : font->Characters(text)) {
                EXPECT_NE(c.GlyphIndex, 0u) << "no glyph for U+" << std::hex << unsigned(c.CodePoint);
                EXPECT_EQ(c.Advance, reference->MapCharacter(c.CodePoint).Advance);
                auto mask = font->RenderGlyph(c.GlyphIndex);
                EXPECT_FALSE(mask->Empty());
                EXPECT_EQ(mask->Coverage, reference->RenderGlyph(reference->MapCharacter(c.CodePoint).GlyphIndex)->Coverage);
                shapes.push_back(mask->Coverage);
            }
            EXPECT_NE(shapes.front(), shapes.back()) << "every letter drawn as the same box";
            EXPECT_EQ(font->MeasureWidth(text), reference->MeasureWidth(text));
        }
        // Latin stays the face's own, and a code point no face has is still the missing-glyph box.
        EXPECT_EQ(font->MapCharacter('a').GlyphIndex >> 16, 0u);
        EXPECT_EQ(font->MapCharacter(U'\U0010FFFD').GlyphIndex, 0u);
        EXPECT_EQ(font->MapCharacter(1).GlyphIndex, 0u);
    }
}

TEST(FontFallback, BorrowedGlyphsRunInsideUnderlinedAndTurnedRuns) {
    LOGFONT lf = Face("Arial", -13);
    lf.lfUnderline = 1;
    lf.lfEscapement = 900;
    auto font = Realize(lf);
    auto plain = Realize(Face("Arial", -13));
    const char* text = "ab \u05D0\u05D1";
    RunMask mask = font->RenderRun(text);
    ASSERT_FALSE(mask.Empty());
    Inked ink = InkOf(mask);
    EXPECT_LE(ink.Right - ink.Left, font->TextMetrics().tmHeight + 2);   // still one vertical line
    EXPECT_GE(ink.Bottom - ink.Top, plain->MeasureWidth(text) - 2);
}

TEST(FontText, WidthIsTheSumOfTheCharacterAdvances) {
    auto font = Realize(Face("Arial", -12));
    std::string text = "Work unit 1234: Ок";
    int sum = 0;
    std::size_t bytes = 0;
    for (const RunCharacter& c : font->Characters(text)) {
        EXPECT_EQ(c.ByteOffset, bytes);
        bytes += c.ByteLength;
        sum += c.Advance;
    }
    EXPECT_EQ(bytes, text.size());
    EXPECT_EQ(font->MeasureWidth(text), sum);
    EXPECT_EQ(font->MeasureWidth(""), 0);
}

TEST(FontText, BrokenUtf8CountsEachBadByteOnce) {
    auto font = Realize(Face("Arial", -12));
    std::string text = "a\xFF\xC3z";
    auto chars = font->Characters(text);
    ASSERT_EQ(chars.size(), 4u);
    EXPECT_EQ(chars[1].CodePoint, U'\uFFFD');
    EXPECT_EQ(chars[1].ByteLength, 1u);
    EXPECT_EQ(chars[2].ByteLength, 1u);
    EXPECT_GT(font->MeasureWidth(text), 0);
}

TEST(FontRun, GlyphsFollowTheAdvancesOrTheGivenSpacing) {
    auto font = Realize(Face("Courier New", -12));
    auto glyphs = font->LayoutRun("abc");
    ASSERT_EQ(glyphs.size(), 3u);
    int advance = font->MapCharacter('a').Advance;
    EXPECT_EQ(glyphs[1].X, advance);
    EXPECT_EQ(glyphs[2].X, 2 * advance);
    EXPECT_EQ(glyphs[2].Y, 0);

    const int dx[] = {10, 20};
    auto spaced = font->LayoutRun("abc", dx);
    EXPECT_EQ(spaced[1].X, 10);
    EXPECT_EQ(spaced[2].X, 30);
}

TEST(FontRun, HorizontalRunSitsOnTheBaselineInsideTheCell) {
    auto font = Realize(Face("Tahoma", -13));
    RunMask mask = font->RenderRun("Hgjy");
    Inked ink = InkOf(mask);
    const TEXTMETRIC& tm = font->TextMetrics();
    EXPECT_GE(ink.Top, -tm.tmAscent);
    EXPECT_LE(ink.Bottom, tm.tmDescent);
    EXPECT_LT(ink.Top, -5);   // capitals rise well above the baseline
    EXPECT_GT(ink.Bottom, 1);   // descenders go below it
    EXPECT_GE(ink.Left, -1);
    EXPECT_LE(ink.Right, font->MeasureWidth("Hgjy") + 1);
    EXPECT_EQ(font->BaselineFromCellTop(), (POINT {0, tm.tmAscent}));
}

TEST(FontRun, Escapement900RunsUpwardsAndIsVertical) {
    LOGFONT lf = Face("Tahoma", -13);
    int width = Realize(lf)->MeasureWidth("Vertical caption");
    lf.lfEscapement = lf.lfOrientation = 900;
    auto font = Realize(lf);
    EXPECT_EQ(font->MeasureWidth("Vertical caption"), width);   // extents stay unrotated
    RunMask mask = font->RenderRun("Vertical caption");
    Inked ink = InkOf(mask);
    EXPECT_GT(ink.Bottom - ink.Top, 3 * (ink.Right - ink.Left));
    EXPECT_NEAR(ink.Top, -width, 2);   // the run goes up from its origin
    EXPECT_LE(ink.Bottom, 2);
    EXPECT_LT(ink.Left, -5);   // glyph tops point left
    auto glyphs = font->LayoutRun("ab");
    EXPECT_EQ(glyphs[1].X, 0);
    EXPECT_EQ(glyphs[1].Y, -font->MapCharacter('a').Advance);
    EXPECT_EQ(font->BaselineFromCellTop(), (POINT {font->TextMetrics().tmAscent, 0}));
}

TEST(FontRun, NegativeEscapementsTurnTheOtherWay) {
    LOGFONT lf = Face("Tahoma", -13);
    lf.lfEscapement = -900;   // reads downwards, like 2700
    auto font = Realize(lf);
    EXPECT_EQ(font->Escapement(), 2700);
    Inked ink = InkOf(font->RenderRun("Down"));
    EXPECT_GE(ink.Top, -2);
    EXPECT_NEAR(ink.Bottom, font->MeasureWidth("Down"), 2);
    EXPECT_GT(ink.Right, 5);   // glyph tops point right
    lf.lfEscapement = -2700;   // reads upwards, like 900
    EXPECT_EQ(Realize(lf)->Escapement(), 900);
}

TEST(FontRun, UnderlineAndStrikeOutSpanTheRun) {
    LOGFONT lf = Face("Arial", -16);
    lf.lfUnderline = 1;
    lf.lfStrikeOut = 1;
    auto font = Realize(lf);
    int width = font->MeasureWidth("a b");
    RunMask mask = font->RenderRun("a b");
    LineBand under = font->UnderlineBand();
    LineBand strike = font->StrikeOutBand();
    EXPECT_GE(under.Offset, 0);
    EXPECT_LE(under.Offset + under.Thickness, font->TextMetrics().tmDescent);
    EXPECT_LT(strike.Offset, 0);
    for (int x = 0; x < width; ++x) {
        EXPECT_EQ(CoverageAt(mask, x, under.Offset), 255) << x;   // the blank too
        EXPECT_EQ(CoverageAt(mask, x, strike.Offset), 255) << x;
    }
    EXPECT_EQ(CoverageAt(mask, width, under.Offset), 0);

    LOGFONT plain = Face("Arial", -16);
    EXPECT_EQ(CoverageAt(Realize(plain)->RenderRun("a b"), width / 2, under.Offset), 0);
}

TEST(FontRun, UnderlineTurnsWithTheEscapement) {
    LOGFONT lf = Face("Arial", -16);
    lf.lfUnderline = 1;
    lf.lfEscapement = 900;
    auto font = Realize(lf);
    int width = font->MeasureWidth("ab");
    RunMask mask = font->RenderRun("ab");
    int column = font->UnderlineBand().Offset;   // below the baseline is to the right when reading upwards
    for (int y = -width; y < 0; ++y)
        EXPECT_EQ(CoverageAt(mask, column, y), 255) << y;
}

// A windowed render is the whole run's mask cut to the window, for every turn, spacing and line style, and
// windows that hold the start, the middle, the end, a line's end or nothing of the run.
TEST(FontRun, AWindowedRunIsTheWholeRunCutToTheWindow) {
    struct Case {
        int Escapement;
        bool Lines;
        std::vector<int> Dx;
    };
    const Case cases[] = {{0, false, {}}, {0, true, {}}, {900, true, {}}, {450, true, {}}, {1800, false, {}},
        {2700, true, {}}, {0, true, {9, -4, 12, 0, 30}}};
    const std::string text = "Wavy, italic-ish ffi text: Ёлка AV";
    for (const Case& c : cases) {
        LOGFONT lf = Face("Arial", -15, FW_NORMAL, true);
        lf.lfEscapement = c.Escapement;
        lf.lfUnderline = c.Lines;
        lf.lfStrikeOut = c.Lines;
        auto font = Realize(lf);
        const RunMask whole = font->RenderRun(text, c.Dx);
        ASSERT_FALSE(whole.Empty());
        const int l = whole.Left;
        const int t = whole.Top;
        const int r = whole.Left + whole.Width;
        const int b = whole.Top + whole.Height;
        const RECT windows[] = {{l, t, l + 20, b}, {(l + r) / 2 - 7, (t + b) / 2 - 9, (l + r) / 2 + 13, (t + b) / 2 + 4},
            {r - 15, t, r + 40, b}, {l - 50, t - 50, r + 50, b + 50}, {l, b - 3, r, b}, {r + 5, b + 5, r + 90, b + 90}};
        for (const RECT& w : windows) {
            const RunMask part = font->RenderRun(text, c.Dx, w);
            for (int y = w.top; y < w.bottom; ++y)
                for (int x = w.left; x < w.right; ++x)
                    ASSERT_EQ(CoverageAt(part, x, y), CoverageAt(whole, x, y))
                        << "escapement " << c.Escapement << " at " << x << "," << y;
            EXPECT_LE(part.Width, w.right - w.left);
            EXPECT_LE(part.Height, w.bottom - w.top);
        }
    }
}

TEST(FontCache, StaysWithinItsLimit) {
    SetGlyphCacheLimit(16 * 1024);
    auto font = Realize(Face("DejaVu Serif", -40));
    for (char32_t c = 'A'; c <= 'z'; ++c)
        font->RenderGlyph(font->MapCharacter(c).GlyphIndex);
    GlyphCacheStats stats = GetGlyphCacheStats();
    EXPECT_LE(stats.Bytes, 16u * 1024u + 4096u);
    EXPECT_GT(stats.Glyphs, 0u);
    auto again = font->RenderGlyph(font->MapCharacter('z').GlyphIndex);
    EXPECT_GT(GetGlyphCacheStats().Hits, stats.Hits);
    EXPECT_FALSE(again->Empty());
    SetGlyphCacheLimit(8u << 20);
}

TEST(FontCache, MeasuresTheSameFromManyThreads) {
    auto font = Realize(Face("Tahoma", -11));
    int expected = font->MeasureWidth(Cyrillic);
    std::vector<std::thread> threads;
    std::vector<int> widths(4);
    std::vector<int> masks(4);
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&, i] {
            auto own = RealizeFont(Face(i % 2 ? "Tahoma" : "Verdana", -11, i < 2 ? FW_NORMAL : FW_BOLD));
            for (int k = 0; k < 20; ++k)
                masks[i] = own->RenderRun(Cyrillic).Width;
            widths[i] = font->MeasureWidth(Cyrillic);
        });
    for (auto& thread : threads)
        thread.join();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(widths[i], expected);
        EXPECT_GT(masks[i], 0);
    }
}

class PinnedFonts : public testing::Test {
protected:
    void TearDown() override {
        SetPinnedFontFamily("");
        SetFontDirectory("");
    }
};

TEST_F(PinnedFonts, PinnedFamilyTakesEveryFaceName) {
    HFONT courier = CreateFontIndirect(Face("Courier New", -12));
    EXPECT_EQ(courier->Instance()->Face().Family, "Liberation Mono");
    SetPinnedFontFamily("DejaVu Sans");
    for (const char* name : {"Courier New", "Arial", "Times New Roman", "Whatever"})
        EXPECT_EQ(ResolveFace(name, false, false).Family, "DejaVu Sans") << name;
    EXPECT_EQ(courier->Instance()->Face().Family, "DejaVu Sans");   // resolved again after the change
    DeleteObject(courier);
}

TEST_F(PinnedFonts, FontDirectoryLimitsTheFilesAndBoldIsSynthesised) {
    std::string regular = ResolveFace("DejaVu Sans", false, false).Path;
    ASSERT_FALSE(regular.empty());
    auto dir = std::filesystem::temp_directory_path() / ("korvex-fonts-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(regular, dir / "Only.ttf", std::filesystem::copy_options::overwrite_existing);
    int normalWidth = Realize(Face("Arial", -12))->MeasureWidth("Bold text");

    SetFontDirectory(dir.string());
    FaceChoice bold = ResolveFace("Arial", true, false);
    EXPECT_EQ(bold.Path, (dir / "Only.ttf").string());
    EXPECT_TRUE(bold.SyntheticBold);
    FaceChoice italic = ResolveFace("Arial", false, true);
    EXPECT_TRUE(italic.SyntheticItalic);
    auto plain = Realize(Face("Arial", -12));
    auto emboldened = Realize(Face("Arial", -12, FW_BOLD));
    EXPECT_GT(emboldened->MeasureWidth("Bold text"), plain->MeasureWidth("Bold text"));
    EXPECT_FALSE(Realize(Face("Arial", -12, FW_NORMAL, true))->RenderRun("Slanted").Empty());

    SetFontDirectory("");
    EXPECT_EQ(Realize(Face("Arial", -12))->MeasureWidth("Bold text"), normalWidth);
    std::filesystem::remove_all(dir);
}

TEST(FontObject, GetObjectGivesBackTheLogFont) {
    LOGFONT lf = Face("Tahoma", -11, FW_BOLD, true);
    lf.lfEscapement = 900;
    lf.lfUnderline = 1;
    HFONT font = CreateFontIndirect(lf);
    LOGFONT out;
    ASSERT_TRUE(GetObject(font, &out));
    EXPECT_EQ(out, lf);
    EXPECT_EQ(GetObjectType(font), OBJ_FONT);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_FALSE(GetObject(font, &out));   // stale handle
    EXPECT_FALSE(GetObject(nullptr, &out));
    EXPECT_EQ(CreateFontIndirect(static_cast<const LOGFONT*>(nullptr)), nullptr);
}

TEST(FontObject, CreateFontFillsTheLogFont) {
    HFONT font = CreateFont(-13, 0, 2700, 2700, FW_BOLD, 1, 0, 1, RUSSIAN_CHARSET, 0, 0, 0, 0, "Arial");
    LOGFONT out;
    ASSERT_TRUE(GetObject(font, &out));
    EXPECT_EQ(out.lfHeight, -13);
    EXPECT_EQ(out.lfEscapement, 2700);
    EXPECT_EQ(out.lfWeight, FW_BOLD);
    EXPECT_EQ(out.lfItalic, 1);
    EXPECT_EQ(out.lfStrikeOut, 1);
    EXPECT_EQ(out.lfCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(out.lfFaceName, "Arial");
    DeleteObject(font);
}

TEST(FontObject, StockFontsAreEightPointMsSansSerifAndSurviveDeletion) {
    for (int index : {SYSTEM_FONT, DEFAULT_GUI_FONT}) {
        HFONT font = GetStockFont(index);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(GetStockFont(index), font);
        LOGFONT out;
        ASSERT_TRUE(GetObject(font, &out));
        EXPECT_EQ(out.lfHeight, -11);
        EXPECT_EQ(out.lfFaceName, "MS Sans Serif");
        EXPECT_TRUE(DeleteObject(font));
        EXPECT_TRUE(GetObject(font, &out));
        EXPECT_EQ(font->Instance()->TextMetrics().tmHeight - font->Instance()->TextMetrics().tmInternalLeading, 11);
    }
    EXPECT_EQ(GetStockFont(WHITE_BRUSH), nullptr);
}

}
}
