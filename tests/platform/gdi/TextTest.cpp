// Text output tests: extents for Latin and Cyrillic, TextOut and ExtTextOut painting and clipping,
// DrawText wrapping, placement, CALCRECT, prefixes and ellipses; runs of megabytes in bounded memory.
#include "platform/gdi/Text.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/Recording.h"

#include "support/TestCanvas.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <malloc.h>
#include <new>

using namespace korvex::gdi;
using namespace korvex::gdi::test;

// Every allocation of this program is counted, so a test can read the peak of what a call kept at once.
namespace {
std::atomic<long long> LiveBytes {0};
std::atomic<long long> PeakBytes {0};

void* CountedAlloc(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    const long long live = LiveBytes += (long long)malloc_usable_size(p);
    long long peak = PeakBytes.load();
    while (live > peak && !PeakBytes.compare_exchange_weak(peak, live)) { }
    return p;
}
void CountedFree(void* p) {
    if (!p) return;
    LiveBytes -= (long long)malloc_usable_size(p);
    std::free(p);
}

// Bytes allocated at the peak of fn() beyond what was live before it.
template<typename Fn> long long PeakDuring(Fn&& fn) {
    const long long before = LiveBytes.load();
    PeakBytes = before;
    fn();
    return PeakBytes.load() - before;
}
}

void* operator new(std::size_t size) {
    return CountedAlloc(size);
}
void* operator new[](std::size_t size) {
    return CountedAlloc(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedAlloc(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    CountedFree(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    CountedFree(p);
}
void operator delete(void* p) noexcept {
    CountedFree(p);
}
void operator delete[](void* p) noexcept {
    CountedFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
    CountedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    CountedFree(p);
}

namespace {

class Text : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetPinnedFontFamily("DejaVu Sans"); }
    static void TearDownTestSuite() { SetPinnedFontFamily(""); }

    void SetUp() override {
        LOGFONT lf;
        lf.lfHeight = -13;
        lf.lfFaceName = "Tahoma";
        FFont = CreateFontIndirect(lf);
        FOld = SelectObject(FCanvas, FFont);
        SetTextColor(FCanvas, Black);
        SetBkMode(FCanvas, TRANSPARENT);
    }
    void TearDown() override {
        SelectObject(FCanvas, FOld);
        DeleteObject(FFont);
    }

    SIZE Extent(std::string_view s) {
        SIZE size {};
        EXPECT_TRUE(GetTextExtentPoint32(FCanvas, s, &size));
        return size;
    }
    // Bounding box of pixels that are not white.
    RECT Ink() const {
        RECT box {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (int y = 0; y < FCanvas.Bits().Height(); ++y)
            for (int x = 0; x < FCanvas.Bits().Width(); ++x)
                if (FCanvas.At(x, y) != White) {
                    box.left = std::min(box.left, LONG(x));
                    box.top = std::min(box.top, LONG(y));
                    box.right = std::max(box.right, LONG(x + 1));
                    box.bottom = std::max(box.bottom, LONG(y + 1));
                }
        return box;
    }
    int LineHeight() {
        TEXTMETRIC tm;
        GetTextMetrics(FCanvas, &tm);
        return tm.tmHeight;
    }

    TestCanvas FCanvas {300, 120};
    HFONT FFont = nullptr;
    HFONT FOld = nullptr;
};

}

TEST_F(Text, ExtentsArePositiveAndStableForLatinAndCyrillic) {
    for (std::string_view s : {"Hello, world", "Привет, мир", "Ёжик", "W"}) {
        const SIZE a = Extent(s);
        const SIZE b = Extent(s);
        EXPECT_GT(a.cx, 0) << s;
        EXPECT_GT(a.cy, 0) << s;
        EXPECT_EQ(a, b) << s;
        EXPECT_EQ(a.cy, LineHeight());
    }
    EXPECT_GT(Extent("Привет, мир!").cx, Extent("Привет").cx);
    EXPECT_EQ(Extent("").cx, 0);
}

TEST_F(Text, ExtentOfAConcatenationIsTheSumOfItsParts) {
    EXPECT_EQ(Extent("abc").cx + Extent("деф").cx, Extent("abcдеф").cx);
}

TEST_F(Text, TextOutPaintsInsideTheCellAndBlendsGreyEdges) {
    const SIZE size = Extent("Mg");
    TextOut(FCanvas, 10, 20, "Mg");
    const RECT ink = Ink();
    EXPECT_GE(ink.left, 10);
    EXPECT_GE(ink.top, 20);
    EXPECT_LE(ink.right, 10 + size.cx + 1);
    EXPECT_LE(ink.bottom, 20 + size.cy);
    // Anti-aliased: some pixels are neither black nor white.
    int grey = 0;
    for (int y = ink.top; y < ink.bottom; ++y)
        for (int x = ink.left; x < ink.right; ++x) {
            const COLORREF c = FCanvas.At(x, y);
            grey += c != White && c != Black;
        }
    EXPECT_GT(grey, 0);
}

TEST_F(Text, OpaqueModeFillsTheTextCell) {
    SetBkMode(FCanvas, OPAQUE);
    SetBkColor(FCanvas, Blue);
    const SIZE size = Extent("x");
    TextOut(FCanvas, 5, 5, "x");
    EXPECT_EQ(FCanvas.At(5, 5), Blue);
    EXPECT_EQ(FCanvas.At(5 + size.cx - 1, 5 + size.cy - 1), Blue);
    EXPECT_EQ(FCanvas.At(5 + size.cx, 5), White);
    EXPECT_EQ(FCanvas.At(5, 5 + size.cy), White);
}

TEST_F(Text, AlignmentMovesTheReferencePoint) {
    const SIZE size = Extent("Wide text");
    SetTextAlign(FCanvas, TA_RIGHT | TA_BOTTOM);
    TextOut(FCanvas, 200, 100, "Wide text");
    const RECT ink = Ink();
    EXPECT_LE(ink.right, 201);
    EXPECT_GE(ink.left, 200 - size.cx - 1);
    EXPECT_LE(ink.bottom, 100);
}

TEST_F(Text, UpdateCpAdvancesTheCurrentPosition) {
    SetTextAlign(FCanvas, TA_UPDATECP);
    MoveToEx(FCanvas, 3, 4, nullptr);
    TextOut(FCanvas, 0, 0, "ab");
    POINT pos;
    GetCurrentPositionEx(FCanvas, &pos);
    EXPECT_EQ(pos, (POINT {3 + Extent("ab").cx, 4}));
}

TEST_F(Text, ExtTextOutClipsAndFillsItsRect) {
    RECT r {10, 10, 30, 40};
    SetBkColor(FCanvas, Green);
    ExtTextOut(FCanvas, 12, 12, ETO_CLIPPED | ETO_OPAQUE, &r, "A long line of text");
    EXPECT_EQ(FCanvas.At(10, 10), Green);
    EXPECT_EQ(FCanvas.At(29, 39), Green);
    const RECT ink = Ink();
    EXPECT_EQ(ink, r);   // nothing outside, and the fill covers it all
    EXPECT_FALSE(ExtTextOut(FCanvas, 0, 0, ETO_CLIPPED, nullptr, "x"));
}

TEST_F(Text, ExtTextOutSpacingUsesTheGivenAdvances) {
    const int dx[] = {20, 20, 20};
    SetTextAlign(FCanvas, TA_UPDATECP);
    MoveToEx(FCanvas, 0, 0, nullptr);
    ExtTextOut(FCanvas, 0, 0, 0, nullptr, "iii", dx, 3);
    POINT pos;
    GetCurrentPositionEx(FCanvas, &pos);
    EXPECT_EQ(pos.x, 60);
}

TEST_F(Text, DrawTextCalcRectMeasuresOneLine) {
    RECT r {0, 0, 0, 0};
    const int height = DrawText(FCanvas, "Measure me", &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(height, LineHeight());
    EXPECT_EQ(r.right, Extent("Measure me").cx);
    EXPECT_EQ(r.bottom, LineHeight());
    EXPECT_EQ(FCanvas.Count(White), 300 * 120);   // measuring draws nothing
}

TEST_F(Text, WordBreakAndCalcRectAgree) {
    const std::string text = "Проверка переноса строк by words in a narrow box";
    RECT calc {10, 10, 110, 10};
    const int height = DrawText(FCanvas, text, &calc, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GT(height, LineHeight());   // wrapped into several lines
    EXPECT_EQ(height % LineHeight(), 0);
    EXPECT_LE(calc.right, 110);
    RECT draw {10, 10, 110, 110};
    EXPECT_EQ(DrawText(FCanvas, text, &draw, DT_WORDBREAK), height);
    const RECT ink = Ink();
    EXPECT_GE(ink.left, calc.left);
    EXPECT_LE(ink.right, calc.right + 1);
    EXPECT_LE(ink.bottom, calc.bottom);
    EXPECT_GT(ink.bottom, calc.bottom - LineHeight());   // the last line is used
}

TEST_F(Text, HardLineBreaksStartNewLines) {
    RECT r {0, 0, 200, 0};
    EXPECT_EQ(DrawText(FCanvas, "one\r\ntwo\nthree\rfour", &r, DT_CALCRECT), 4 * LineHeight());
    RECT single {0, 0, 200, 0};
    EXPECT_EQ(DrawText(FCanvas, "one\r\ntwo", &single, DT_CALCRECT | DT_SINGLELINE), LineHeight());
}

TEST_F(Text, ALongWordStaysWholeAndWidensTheCalcRect) {
    RECT r {0, 0, 30, 0};
    const int height = DrawText(FCanvas, "Supercalifragilistic is long", &r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(r.right, Extent("Supercalifragilistic").cx);
    EXPECT_EQ(height, 3 * LineHeight());   // the long word, "is", "long"
    RECT none {0, 0, 10, 0};
    EXPECT_EQ(DrawText(FCanvas, "Unbreakable", &none, DT_CALCRECT | DT_WORDBREAK), LineHeight());
}

TEST_F(Text, SingleLinePlacementCentresAndRightAligns) {
    RECT r {0, 0, 300, 120};
    const SIZE size = Extent("Centre");
    DrawText(FCanvas, "Centre", &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    RECT ink = Ink();
    const int expectedLeft = (300 - size.cx) / 2;
    const int expectedTop = (120 - size.cy) / 2;
    EXPECT_GE(ink.left, expectedLeft);
    EXPECT_LE(ink.right, expectedLeft + size.cx + 1);
    EXPECT_GE(ink.top, expectedTop);
    EXPECT_LE(ink.bottom, expectedTop + size.cy);

    FCanvas.Bits().Fill(White);
    DrawText(FCanvas, "Right", &r, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    ink = Ink();
    EXPECT_LE(ink.right, 300);
    EXPECT_GE(ink.right, 300 - 3);
    EXPECT_LE(ink.bottom, 120);
    EXPECT_GE(ink.top, 120 - LineHeight());
}

TEST_F(Text, DrawTextClipsToItsRectUnlessNoClip) {
    RECT r {10, 10, 25, 30};
    DrawText(FCanvas, "Clipped text here", &r, DT_SINGLELINE);
    RECT ink = Ink();
    EXPECT_LE(ink.right, 25);
    FCanvas.Bits().Fill(White);
    DrawText(FCanvas, "Clipped text here", &r, DT_SINGLELINE | DT_NOCLIP);
    ink = Ink();
    EXPECT_GT(ink.right, 25);
}

TEST_F(Text, PrefixIsRemovedAndDoubledAmpersandIsLiteral) {
    RECT a {0, 0, 0, 0};
    RECT b {0, 0, 0, 0};
    DrawText(FCanvas, "&File", &a, DT_CALCRECT | DT_SINGLELINE);
    DrawText(FCanvas, "File", &b, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(a.right, b.right);
    DrawText(FCanvas, "A&&B", &a, DT_CALCRECT | DT_SINGLELINE);
    DrawText(FCanvas, "A&B", &b, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(a.right, b.right);
    DrawText(FCanvas, "A&B", &a, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    DrawText(FCanvas, "AB", &b, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(a.right, b.right);
}

TEST_F(Text, PrefixUnderlinesTheNextCharacter) {
    RECT r {0, 0, 200, 40};
    DrawText(FCanvas, "&Open", &r, DT_SINGLELINE);
    const std::string withPrefix = FCanvas.Picture(Black, 0, 0, 200, 40);
    FCanvas.Bits().Fill(White);
    DrawText(FCanvas, "Open", &r, DT_SINGLELINE);
    const std::string without = FCanvas.Picture(Black, 0, 0, 200, 40);
    EXPECT_NE(withPrefix, without);
    // The underline is a solid run below the baseline, under the "O" only.
    TEXTMETRIC tm;
    GetTextMetrics(FCanvas, &tm);
    const int width = Extent("O").cx;
    int underlined = 0;
    for (int y = tm.tmAscent; y < tm.tmHeight; ++y) {
        int n = 0;
        for (int x = 0; x < width; ++x)
            n += withPrefix[size_t(y) * 201 + size_t(x)] == '#';
        underlined = std::max(underlined, n);
    }
    EXPECT_EQ(underlined, width);
    // HIDEPREFIX drops the "&" without underlining.
    FCanvas.Bits().Fill(White);
    DrawText(FCanvas, "&Open", &r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(FCanvas.Picture(Black, 0, 0, 200, 40), without);
}

TEST_F(Text, EndEllipsisShortensToTheWidth) {
    const std::string text = "A caption far too long for the box";
    RECT r {0, 0, 80, 0};
    DrawText(FCanvas, text, &r, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(r.right, 80);
    EXPECT_GT(r.right, 40);
    RECT draw {0, 0, 80, 30};
    DrawText(FCanvas, text, &draw, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(Ink().right, 80);
    // Text that fits is left alone.
    RECT fits {0, 0, 300, 0};
    DrawText(FCanvas, "Short", &fits, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(fits.right, Extent("Short").cx);
}

TEST_F(Text, PathEllipsisKeepsTheFileName) {
    const std::string path = "C:\\Program Files\\Folding\\work\\queue.dat";
    RECT r {0, 0, 120, 0};
    DrawText(FCanvas, path, &r, DT_CALCRECT | DT_SINGLELINE | DT_PATH_ELLIPSIS);
    EXPECT_LE(r.right, 120);
    EXPECT_GE(r.right, Extent("...\\queue.dat").cx);
}

TEST_F(Text, ExpandTabsMovesToTabStops) {
    TEXTMETRIC tm;
    GetTextMetrics(FCanvas, &tm);
    RECT r {0, 0, 0, 0};
    DrawText(FCanvas, "a\tb", &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(r.right, tm.tmAveCharWidth * 8 + Extent("b").cx);
}

TEST_F(Text, DrawTextIsRecorded) {
    DrawRecorder recorder;
    StartRecording(FCanvas, &recorder);
    RECT r {1, 2, 50, 20};
    DrawText(FCanvas, "Caption", &r, DT_CENTER | DT_SINGLELINE);
    TextOut(FCanvas, 3, 4, "Hi");
    StopRecording(FCanvas);
    ASSERT_EQ(recorder.Calls().size(), 2u);
    EXPECT_EQ(recorder.Calls()[0].Kind, DrawKind::DrawText);
    EXPECT_EQ(recorder.Calls()[0].Rect, r);
    EXPECT_EQ(recorder.Calls()[0].Text, "Caption");
    EXPECT_EQ(recorder.Calls()[0].Flags, DT_CENTER | DT_SINGLELINE);
    EXPECT_EQ(recorder.Calls()[1].Kind, DrawKind::TextOut);
    EXPECT_EQ(recorder.Calls()[1].TextColor, Black);
}

// A run as long as a damaged log line: 3 MB of digits and blanks.
std::string LongRun() {
    std::string text;
    text.reserve(3u << 20);
    while (text.size() < (3u << 20))
        text += "0123456789 ";
    return text;
}

TEST_F(Text, AMegabyteRunIsDrawnOnlyInsideItsClipInBoundedMemory) {
    const std::string text = LongRun();
    const RECT clip {10, 10, 200, 40};
    // Kept at once: nothing that grows with the text (it was over 100 bytes a character).
    const long long peak = PeakDuring([&] { ExtTextOut(FCanvas, 12, 12, ETO_CLIPPED, &clip, text); });
    EXPECT_LT(peak, 1 << 20);
    // The pixels inside the clip are those of the run's visible beginning.
    TestCanvas expected(300, 120);
    SelectObject(expected, FFont);
    SetBkMode(expected, TRANSPARENT);
    ExtTextOut(expected, 12, 12, ETO_CLIPPED, &clip, std::string_view(text).substr(0, 60));
    int differing = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 300; ++x)
            differing += FCanvas.At(x, y) != expected.At(x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_GT(300 * 120 - FCanvas.Count(White), 50);   // and something was drawn
}

TEST_F(Text, DrawTextOfAMegabyteLineMeasuresWrapsAndEllipsisesInBoundedMemory) {
    const std::string text = LongRun();
    RECT drawn {10, 10, 200, 40};
    long long peak = PeakDuring([&] { DrawText(FCanvas, text, &drawn, DT_SINGLELINE | DT_END_ELLIPSIS); });
    EXPECT_LT(peak, (long long)text.size() * 3);   // copies of the text at most, nothing a character
    EXPECT_GT(300 * 120 - FCanvas.Count(White), 50);
    EXPECT_LE(Ink().right, 200);

    // The same picture as the line's beginning gives.
    TestCanvas expected(300, 120);
    SelectObject(expected, FFont);
    SetBkMode(expected, TRANSPARENT);
    RECT shortRect = drawn;
    DrawText(expected, std::string_view(text).substr(0, 200), &shortRect, DT_SINGLELINE | DT_END_ELLIPSIS);
    int differing = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 300; ++x)
            differing += FCanvas.At(x, y) != expected.At(x, y);
    EXPECT_EQ(differing, 0);

    // Word breaking a megabyte costs time and memory in proportion to it, a line at a time.
    RECT calc {0, 0, 190, 0};
    int height = 0;
    peak = PeakDuring([&] { height = DrawText(FCanvas, text, &calc, DT_CALCRECT | DT_WORDBREAK); });
    EXPECT_LT(peak, (long long)text.size() * 4);
    const long long words = (long long)(text.size() / 11);
    EXPECT_GE((long long)height / LineHeight(), words / 2);   // at most two words a line in 190 pixels
    EXPECT_LE(calc.right, 190);
}

TEST_F(Text, WidthsBeyondTheIntRangeSaturateInsteadOfOverflowing) {
    LOGFONT big;
    big.lfHeight = -1000;
    big.lfFaceName = "Tahoma";
    const auto font = RealizeFont(big);
    ASSERT_TRUE(font);
    const int advance = font->MapCharacter('W').Advance;
    ASSERT_GT(advance, 0);
    const std::string text(std::size_t(INT_MAX / advance) + 1000, 'W');
    EXPECT_EQ(font->RunLength(text), (long long)text.size() * advance);
    EXPECT_EQ(font->MeasureWidth(text), INT_MAX);
    HFONT large = CreateFontIndirect(big);
    SelectObject(FCanvas, large);
    SIZE size {};
    EXPECT_TRUE(GetTextExtentPoint32(FCanvas, text, &size));
    EXPECT_EQ(size.cx, MaxCoord);   // coordinates stay within GDI's range
    RECT calc {0, 0, 0, 0};
    DrawText(FCanvas, text, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.right, MaxCoord);
    SelectObject(FCanvas, FFont);
    DeleteObject(large);
}

TEST(TextWithoutFont, BadArgumentsFailQuietly) {
    RECT r {0, 0, 10, 10};
    SIZE size {5, 5};
    EXPECT_FALSE(GetTextExtentPoint32(nullptr, "x", &size));
    EXPECT_EQ(size, (SIZE {0, 0}));
    EXPECT_EQ(DrawText(nullptr, "x", &r, 0), 0);
    TestCanvas canvas(4, 4);
    EXPECT_EQ(DrawText(canvas, "x", nullptr, 0), 0);
    EXPECT_FALSE(TextOut(nullptr, 0, 0, "x"));
    EXPECT_FALSE(GetTextExtentPoint32(canvas, nullptr, 3, &size));
    EXPECT_TRUE(GetTextExtentPoint32(canvas, nullptr, 0, &size));
}

// Right-to-left text is drawn in visual order: the same pixels as its characters drawn one by one, left to
// right, in the expected order (each alone, so nothing reorders them).
namespace {
void DrawOneByOne(HDC dc, int x, int y, std::initializer_list<std::string_view> glyphs,
    std::initializer_list<int> advances = {}) {
    auto advance = advances.begin();
    for (std::string_view g : glyphs) {
        TextOut(dc, x, y, g);
        SIZE size {};
        GetTextExtentPoint32(dc, g, &size);
        x += advance != advances.end() ? *advance++ : size.cx;
    }
}
bool SameRows(const TestCanvas& canvas, int top, int otherTop, int height) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < canvas.Bits().Width(); ++x)
            if (canvas.At(x, top + y) != canvas.At(x, otherTop + y)) return false;
    return true;
}
}

TEST_F(Text, DrawTextPlacesHebrewGlyphsInVisualOrder) {
    const int h = LineHeight();
    struct Case {
        const char* Name;
        std::string_view Logical;
        UINT Format;
        std::initializer_list<std::string_view> Visual;
    };
    const Case cases[] = {
        {"left-to-right line", "ab \u05D0\u05D1", 0, {"a", "b", " ", "\u05D1", "\u05D0"}},
        {"right-to-left line", "\u05D0\u05D1 ab", DT_RTLREADING, {"a", "b", " ", "\u05D1", "\u05D0"}},
        {"latin unchanged", "ab cd", DT_RTLREADING, {"a", "b", " ", "c", "d"}},
    };
    for (const Case& c : cases) {
        FCanvas.Bits().Fill(White);
        RECT r {10, 5, 290, 5 + h};
        DrawText(FCanvas, c.Logical, &r, c.Format | DT_SINGLELINE | DT_NOPREFIX);
        DrawOneByOne(FCanvas, 10, 60, c.Visual);
        EXPECT_GT(FCanvas.Count(Black), 0) << c.Name;
        EXPECT_TRUE(SameRows(FCanvas, 5, 60, h)) << c.Name;
    }
}

TEST_F(Text, ReorderingKeepsTheMeasuredWidth) {
    RECT ltr {0, 0, 0, 0};
    RECT rtl {0, 0, 0, 0};
    DrawText(FCanvas, "ab \u05D0\u05D1\u05D2!", &ltr, DT_CALCRECT | DT_SINGLELINE);
    DrawText(FCanvas, "ab \u05D0\u05D1\u05D2!", &rtl, DT_CALCRECT | DT_SINGLELINE | DT_RTLREADING);
    EXPECT_EQ(ltr.right, Extent("ab \u05D0\u05D1\u05D2!").cx);
    EXPECT_EQ(rtl.right, ltr.right);
}

TEST_F(Text, TextOutReordersAndSpacingsFollowTheirCharacters) {
    const int h = LineHeight();
    TextOut(FCanvas, 10, 5, "x\u05D0\u05D1");
    DrawOneByOne(FCanvas, 10, 60, {"x", "\u05D1", "\u05D0"});
    EXPECT_TRUE(SameRows(FCanvas, 5, 60, h));

    FCanvas.Bits().Fill(White);
    const int dx[] = {12, 20, 15};   // x, alef, bet (apart, so no glyphs overlap)
    ExtTextOut(FCanvas, 10, 5, 0, nullptr, "x\u05D0\u05D1", dx, 3);
    DrawOneByOne(FCanvas, 10, 60, {"x", "\u05D1", "\u05D0"}, {12, 15, 20});
    EXPECT_GT(FCanvas.Count(Black), 0);
    EXPECT_TRUE(SameRows(FCanvas, 5, 60, h));
}

TEST_F(Text, PrefixUnderlineFollowsItsCharacterIntoVisualOrder) {
    const int h = LineHeight();
    RECT r {10, 5, 290, 5 + h};
    DrawText(FCanvas, "ab &\u05D0\u05D1", &r, DT_SINGLELINE | DT_PREFIXONLY);
    // Only the underline is drawn, under alef, which now stands last.
    const SIZE before = Extent("ab \u05D1");
    const RECT ink = Ink();
    ASSERT_LT(ink.left, ink.right);
    EXPECT_GE(ink.left, 10 + before.cx);
    EXPECT_LE(ink.right, 10 + Extent("ab \u05D0\u05D1").cx);
}
