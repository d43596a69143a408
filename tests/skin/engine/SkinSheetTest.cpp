// Sheets of skins' BUTTON, EDIT, FORM and scroll-bar masks in all their states: one of our skins, written as
// PNG to look at, and a glass skin built in code.
#include "platform/classes/TBitmap.h"
#include "platform/gdi/PngCodec.h"
#include "platform/gdi/Region.h"
#include "skin/engine/sButtonRegion.h"
#include "skin/engine/sGradient.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

#include "support/PixelFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;
using classes::TRect;

namespace {

struct Look {
    classes::TColor Top, Bottom, Border;
};

classes::TColor Mix(classes::TColor a, classes::TColor b, double t) {
    auto ch = [&](int shift) { return int(std::lround(((a >> shift) & 0xFF) * (1 - t) + ((b >> shift) & 0xFF) * t)); };
    return Rgb(ch(0), ch(8), ch(16));
}

// One state picture at (x0, y0) of the master, w x h, with its mask h rows below: a glassy top cell fading
// into a flat middle (which tiles without seams) and a darker bottom cell, a border and rounded corners of
// the given radius; outside the rounding the picture holds the key and the mask fades from black (picture)
// to white (background) over one pixel.
void DrawState(classes::TBitmap& master, int x0, int y0, int w, int h, int radius, const Look& look) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double cx = std::clamp(double(x) + 0.5, double(radius), double(w - radius));
            const double cy = std::clamp(double(y) + 0.5, double(radius), double(h - radius));
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);   // distance past the straight edges
            const double inside = std::clamp(radius - d + 0.5, 0.0, 1.0);
            const bool edge = radius - d < 1.5 || x == 0 || y == 0 || x == w - 1 || y == h - 1;
            const int cell = h / 3;
            const classes::TColor middle = Mix(look.Top, look.Bottom, 0.5);
            classes::TColor c = middle;
            if (y < cell) c = Mix(Mix(look.Top, Rgb(255, 255, 255), 0.15), middle, double(y) / cell);
            if (y >= 2 * cell) c = Mix(middle, look.Bottom, double(y - 2 * cell + 1) / (h - 2 * cell));
            if (edge) c = look.Border;
            Put(master, x0 + x, y0 + y, inside <= 0 ? Key : c);
            const int m = int(std::lround((1 - inside) * 255));
            Put(master, x0 + x, y0 + h + y, Rgb(m, m, m));
        }
}

// The skin: each image's states side by side over their masks, stacked down the master bitmap.
struct GlassSkin {
    GlassSkin() {
        const Look normal {Rgb(70, 78, 92), Rgb(34, 38, 48), Rgb(20, 22, 28)};
        const Look hot {Rgb(80, 130, 200), Rgb(30, 70, 140), Rgb(40, 110, 210)};
        const Look pressed {Rgb(25, 55, 110), Rgb(50, 100, 180), Rgb(20, 60, 140)};
        const Look disabled {Rgb(90, 90, 90), Rgb(70, 70, 70), Rgb(60, 60, 60)};
        const Look field {Rgb(24, 26, 32), Rgb(30, 33, 40), Rgb(70, 110, 170)};
        const Look caption {Rgb(50, 90, 150), Rgb(20, 30, 50), Rgb(10, 12, 16)};
        const Look inactive {Rgb(60, 64, 72), Rgb(30, 32, 38), Rgb(20, 20, 24)};
        int y = 0;
        auto add = [&](int w, int h, int radius, std::initializer_list<Look> states) {
            int x = 0;
            for (const Look& look : states) {
                DrawState(Skin.Master(), x, y, w, h, radius, look);
                x += w;
            }
            const int index = Skin.AddMask(TRect {0, y, x, y + 2 * h}, int(states.size()), 1);
            y += 2 * h;
            return index;
        };
        Button = add(24, 24, 6, {normal, hot, pressed, disabled});
        Edit = add(12, 12, 2, {field, Look {Rgb(28, 30, 38), Rgb(34, 38, 46), Rgb(90, 160, 240)}});
        Form = add(30, 30, 8, {caption, inactive});
        Track = add(12, 12, 3, {Look {Rgb(20, 22, 26), Rgb(30, 32, 38), Rgb(14, 15, 18)}});
        Thumb = add(15, 15, 5, {normal, hot, pressed});
        Arrow = add(15, 15, 4, {normal, hot, pressed});
    }
    TestSkin Skin {120, 260, 0};
    int Button = 0, Edit = 0, Form = 0, Track = 0, Thumb = 0, Arrow = 0;
};

}

TEST(SkinSheet, AGlassSkinBuiltInCodePaintsEveryStateWithRoundedCorners) {
    GlassSkin skin;
    auto sheet = Bitmap24(560, 330, Rgb(210, 214, 220));
    auto paint = [&](int index, const TRect& r, int state) {
        PaintNinePartMask(sheet.get(), r, true, false, state, skin.Skin.Mask(index), EmptyCacheInfo);
    };
    for (int state = 0; state < 4; ++state)
        paint(skin.Button, classes::Bounds(20 + 130 * state, 20, 110, 32), state);
    for (int state = 0; state < 2; ++state)
        paint(skin.Edit, classes::Bounds(20 + 170 * state, 72, 150, 24), state);
    for (int state = 0; state < 2; ++state)
        paint(skin.Form, classes::Bounds(20 + 270 * state, 116, 250, 140), state);
    for (int state = 0; state < 3; ++state) {
        const int y = 276 + 17 * state;
        paint(skin.Track, classes::Bounds(20, y, 300, 15), 0);
        paint(skin.Arrow, classes::Bounds(20, y, 15, 15), state);
        paint(skin.Arrow, classes::Bounds(305, y, 15, 15), state);
        paint(skin.Thumb, classes::Bounds(60 + 70 * state, y, 60, 15), state);
    }
    // A shaped button: its rounded corners leave the window region.
    auto button = Bitmap24(110, 32, 0);
    gdi::HRGN region = gdi::CreateRectRgn(0, 0, 110, 32);
    PaintButtonBordersWithRegion(button.get(), region, true, 1, skin.Skin.Mask(skin.Button));
    EXPECT_FALSE(gdi::PtInRegion(region, 0, 0));
    EXPECT_TRUE(gdi::PtInRegion(region, 55, 16));
    gdi::DeleteObject(region);

    // Rounded corners keep the sheet behind them; the states differ.
    EXPECT_EQ(Px(*sheet, 20, 20), Rgb(210, 214, 220));
    EXPECT_NE(Px(*sheet, 20 + 55, 36), Px(*sheet, 150 + 55, 36));
    EXPECT_NE(Px(*sheet, 150 + 55, 36), Px(*sheet, 280 + 55, 36));
}

namespace {

// The folder of our skins (the build gives the tests its place), or empty.
std::filesystem::path OurSkins() {
    const char* folder = std::getenv("KORVEX_SKINS_DIR");
    if (!folder) return {};
    const std::filesystem::path skins(folder);
    return std::filesystem::exists(skins / "LongHorn (internal)" / "Options.dat") ? skins : std::filesystem::path {};
}

}

TEST(SkinSheet, OurLongHornSkinPaintsItsMainMasksInEveryState) {
    const std::filesystem::path skins = OurSkins();
    if (skins.empty()) GTEST_SKIP() << "no skins folder in KORVEX_SKINS_DIR";
    classes::TComponent owner(nullptr);
    TsSkinManager* sm = classes::Create<TsSkinManager>(&owner);
    sm->SetSkinDirectory(skins.string());
    sm->SetSkinName("LongHorn (internal)");
    sm->SetActive(true);
    SkinChanging = false;
    ASSERT_NE(sm->MasterBitmap, nullptr);

    auto sheet = Bitmap24(640, 420, Rgb(200, 204, 212));
    // A section's background (its gradient for the state, else its colour), then a mask of it on top.
    auto section = [&](const std::string& name, const TRect& r, int state, const std::string& image = "BORDERSMASK") {
        const int index = sm->GetSkinIndex(name);
        ASSERT_TRUE(sm->IsValidSkinIndex(index)) << name;
        const TsGeneralData& data = sm->Sections[std::size_t(index)];
        const TsGradArray& gradient = state == 0 ? data.GradientArray : data.HotGradientArray;
        if (!gradient.empty())
            PaintGradient(sheet.get(), r, gradient);
        else
            Fill(*sheet, r, state == 0 ? data.Color : data.HotColor);
        const int mask = sm->GetMaskIndex(index, name, image);
        ASSERT_TRUE(sm->IsValidImgIndex(mask)) << name << "/" << image;
        PaintNinePartMask(sheet.get(), r, true, false, state, sm->Masks[std::size_t(mask)], EmptyCacheInfo);
    };
    auto glyph = [&](const std::string& name, classes::TPoint p, int state) {
        const int index = sm->GetSkinIndex(name);
        const int mask = sm->GetMaskIndex(index, name, "GLYPHMASK");
        ASSERT_TRUE(sm->IsValidImgIndex(mask)) << name;
        DrawMaskStateImage(sheet.get(), p, state, sm->Masks[std::size_t(mask)], 1);
    };
    for (int state = 0; state < 3; ++state)
        section("BUTTON", classes::Bounds(20 + 130 * state, 20, 110, 30), state);
    for (int state = 0; state < 2; ++state)
        section("EDIT", classes::Bounds(20 + 170 * state, 70, 150, 24), state);
    for (int state = 0; state < 2; ++state)
        section("FORM", classes::Bounds(20 + 310 * state, 114, 290, 180), state);
    for (int state = 0; state < 3; ++state) {
        const int y = 314 + 32 * state;
        section("SCROLLBAR1H", classes::Bounds(20, y, 400, 18), state % 2);
        section("SCROLLBTNLEFT", classes::Bounds(20, y, 18, 18), state);
        glyph("SCROLLBTNLEFT", classes::TPoint {22, y + 3}, state);
        section("SCROLLBTNRIGHT", classes::Bounds(402, y, 18, 18), state);
        glyph("SCROLLBTNRIGHT", classes::TPoint {404, y + 3}, state);
        section("SCROLLSLIDERH", classes::Bounds(60 + 110 * state, y, 90, 18), state);
    }
    // The states differ where the masks have them.
    EXPECT_NE(Px(*sheet, 20 + 55, 35), Px(*sheet, 150 + 55, 35));

    const char* dir = std::getenv("KORVEX_SHEET_DIR");
    const std::filesystem::path path
        = std::filesystem::path(dir ? dir : testing::TempDir().c_str()) / "korvex-skin-sheet.png";
    std::string error;
    EXPECT_TRUE(gdi::WritePngFile(*sheet->Handle(), path.string(), gdi::PngAlpha::Drop, &error)) << error;
    std::printf("skin sheet: %s\n", path.string().c_str());
}
