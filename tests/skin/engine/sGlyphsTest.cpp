// Button glyphs: blend, hot and grey looks, two-state glyphs, image lists with their key, tool buttons.
#include "support/PixelFixtures.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TToolBar.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sGlyphs.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;

namespace {

constexpr TColor Bg = Rgb(0, 0, 200);
constexpr TColor Ink = Rgb(200, 100, 0);

// A w x h glyph: a key border column at x 0 (its bottom-left pixel is the key) and ink elsewhere.
std::unique_ptr<TBitmap> Glyph(int w, int h, TColor ink = Ink) {
    auto g = Bitmap24(w, h, ink);
    Fill(*g, TRect {0, 0, 1, h}, Key);
    return g;
}

int Channel(TColor c, int shift) {
    return int((std::uint32_t(c) >> shift) & 0xFF);
}

TColor Blended(TColor src, TColor dst, double f) {   // round(s - (s - d) * f), the destination keeps f
    TColor out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int s = Channel(src, shift), d = Channel(dst, shift);
        out |= TColor(std::uint32_t(std::nearbyint(s - (s - d) * f)) << shift);
    }
    return out;
}

TEST(PaintGlyph, BlendShowsTheGlyphOverTheBackgroundUnlessHot) {
    auto glyph = Glyph(6, 6);
    auto dst = Bitmap24(20, 20, Bg);
    PaintGlyph(glyph.get(), dst.get(), TRect {2, 2, 8, 8}, 1, true, false, {}, false, 30);
    EXPECT_EQ(Px(*dst, 4, 4), Blended(Ink, Bg, 0.3));
    EXPECT_EQ(Px(*dst, 2, 4), Bg);   // the key column
    PaintGlyph(glyph.get(), dst.get(), TRect {2, 2, 8, 8}, 1, true, false, {}, true, 30);
    EXPECT_EQ(Px(*dst, 4, 4), Ink);
}

TEST(PaintGlyph, DisabledGreyAndBlendedGlyphIsGreyAtHalf) {
    auto glyph = Glyph(6, 6);
    auto dst = Bitmap24(20, 20, Bg);
    PaintGlyph(glyph.get(), dst.get(), TRect {2, 2, 8, 8}, 1, false, false, TsDisabledGlyphKind {dgBlended, dgGrayed},
        false, 0);
    const int grey = (200 + 100 + 0) / 3;
    EXPECT_EQ(Px(*dst, 4, 4), Blended(Rgb(grey, grey, grey), Bg, 0.5));
    EXPECT_EQ(Px(*dst, 2, 4), Bg);
}

TEST(PaintGlyph, DisabledTwoStateGlyphShowsItsSecondHalfUntouched) {
    auto glyph = Glyph(12, 6);
    Fill(*glyph, TRect {6, 0, 12, 6}, Rgb(0, 255, 0));
    Fill(*glyph, TRect {6, 0, 7, 6}, Key);
    auto dst = Bitmap24(20, 20, Bg);
    PaintGlyph(glyph.get(), dst.get(), TRect {2, 2, 8, 8}, 2, false, true, TsDisabledGlyphKind {dgGrayed}, false, 0);
    EXPECT_EQ(Px(*dst, 4, 4), Rgb(0, 255, 0));
    EXPECT_EQ(Px(*dst, 2, 4), Bg);
    PaintGlyph(glyph.get(), dst.get(), TRect {2, 2, 8, 8}, 2, true, false, {}, false, 0);
    EXPECT_EQ(Px(*dst, 4, 4), Ink);
}

// An image list whose picture has an opaque top-left pixel and transparent surroundings.
struct CornerList {
    CornerList() {
        auto picture = Bitmap24(6, 6, Key);
        Put(*picture, 0, 0, Rgb(255, 0, 0));
        Fill(*picture, TRect {2, 2, 4, 4}, Ink);
        List.SetSize(6, 6);
        List.AddMasked(picture.get(), Key);
    }
    TImageList List {nullptr};
};

// Greyed when enabled, or disabled with the grey look: the list's transparent colour still keys (no grey box),
// and the opaque corner is greyed like the rest.
TEST(PaintBitBtnGlyph, GreyedImageListGlyphKeepsTheListsTransparentColour) {
    struct Case {
        const char* Name;
        bool Enabled;
        bool Grayed;
        TsDisabledGlyphKind Disabled;
    } const cases[] = {
        {"enabled and greyed", true, true, DefaultDisabledGlyphKind},
        {"disabled and grey", false, false, TsDisabledGlyphKind {dgGrayed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        CornerList list;
        TsCommonData data(nullptr, true);
        data.CacheBmp()->SetSize(20, 20);
        Fill(*data.CacheBmp(), TRect {0, 0, 20, 20}, Bg);
        TacGlyphButton b;
        b.Images = &list.List;
        b.ImageIndex = 0;
        b.Enabled = c.Enabled;
        b.Grayed = c.Grayed;
        b.DisabledGlyphKind = c.Disabled;
        b.SkinData = &data;
        b.GlyphRect = TRect {4, 4, 10, 10};
        PaintBitBtnGlyph(b);
        EXPECT_EQ(Px(*data.CacheBmp(), 5, 5), Bg);   // a transparent pixel: no grey box
        const int grey = (200 + 100) / 3;
        EXPECT_EQ(Px(*data.CacheBmp(), 6, 6), Rgb(grey, grey, grey));
        EXPECT_EQ(Px(*data.CacheBmp(), 4, 4), Rgb(85, 85, 85));   // the opaque corner is greyed like the rest
    }
}

TEST(PaintToolButtonGlyph, PressedImageMovesOnePixelRightAndDown) {
    CornerList list;
    TToolBar bar(nullptr);
    bar.SetImages(&list.List);
    TToolButton button(nullptr);
    button.SetImageIndex(0);
    button.SetBounds(0, 0, 24, 22);
    auto normal = Bitmap24(30, 30, Bg), pressed = Bitmap24(30, 30, Bg);
    PaintToolButtonGlyph(&bar, &button, TCustomDrawState {}, normal.get());
    PaintToolButtonGlyph(&bar, &button, TCustomDrawState {cdsSelected}, pressed.get());
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 29; ++x)
            ASSERT_EQ(Px(*normal, x, y), Px(*pressed, x + 1, y + 1)) << x << "," << y;
    EXPECT_EQ(Px(*normal, (24 - 6) / 2 + 1 + 2, (22 - 6) / 2 + 2), Ink);
}

TEST(MakeGlyphFromImageList, BuildsTheImageAndItsDisabledCopySideBySide) {
    CornerList list;
    TBitmap glyph;
    int numGlyphs = 1;
    MakeGlyphFromImageList(nullptr, nullptr, 0, numGlyphs, TsDisabledGlyphKind {dgGrayed}, &glyph, &list.List);
    EXPECT_EQ(numGlyphs, 2);
    ASSERT_EQ(glyph.Width(), 12);
    glyph.SetPixelFormat(pf24bit);
    EXPECT_EQ(Px(glyph, 2, 2), Ink);
    const int grey = (200 + 100) / 3;
    EXPECT_EQ(Px(glyph, 8, 2), Rgb(grey, grey, grey));
    EXPECT_EQ(Px(glyph, 6, 5), Key);   // bottom-left of the second half marks its key
    EXPECT_TRUE(glyph.Transparent());
    int untouched = 1;
    MakeGlyphFromImageList(nullptr, nullptr, 5, untouched, {}, &glyph, &list.List);   // no such image
    EXPECT_EQ(untouched, 1);
}

// Without a disabled look the second half is a plain copy and the glyph keeps its own transparency settings.
TEST(MakeGlyphFromImageList, WithoutADisabledLookCopiesTheImageAndLeavesTheTransparencyAlone) {
    CornerList list;
    TBitmap glyph;
    int numGlyphs = 1;
    MakeGlyphFromImageList(nullptr, nullptr, 0, numGlyphs, TsDisabledGlyphKind {}, &glyph, &list.List);
    EXPECT_EQ(numGlyphs, 2);
    ASSERT_EQ(glyph.Width(), 12);
    glyph.SetPixelFormat(pf24bit);
    EXPECT_EQ(Px(glyph, 8, 2), Px(glyph, 2, 2));
    EXPECT_FALSE(glyph.Transparent());
    EXPECT_EQ(glyph.TransparentMode(), tmAuto);
}

// The glyph is drawn in 24 bits but handed back in the pixel format it had, with or without a disabled look.
TEST(MakeGlyphFromImageList, HandsTheGlyphBackInItsOwnPixelFormat) {
    for (const TsDisabledGlyphKind kind : {TsDisabledGlyphKind {}, TsDisabledGlyphKind {dgGrayed}}) {
        CornerList list;
        TBitmap glyph;
        const TPixelFormat before = glyph.PixelFormat();
        ASSERT_NE(before, pf24bit);
        int numGlyphs = 1;
        MakeGlyphFromImageList(nullptr, nullptr, 0, numGlyphs, kind, &glyph, &list.List);
        EXPECT_EQ(glyph.PixelFormat(), before);
        glyph.SetPixelFormat(pf24bit);
        EXPECT_EQ(Px(glyph, 2, 2), Ink);
    }
}

TEST(UseStandardColorDialog, IsAlwaysFalse) {
    EXPECT_FALSE(UseStandardColorDialog());
}

}
