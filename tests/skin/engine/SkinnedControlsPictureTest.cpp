// A form of skinned-state test controls painted in each of our four skins and without a skin, as PNG pictures.
#include "support/PixelFixtures.h"
#include "support/SkinControlsKit.h"
#include "support/SkinFixtures.h"

#include "platform/classes/GraphicsObjects.h"
#include "skin/engine/sSkinManager.h"

#include <filesystem>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

const char* const Skins[] = {"MacOS (internal)", "LongHorn (internal)", "NextStyle (internal)", "Office2003 (internal)"};

class SkinnedControlsPicture : public SkinControlsTest, public ::testing::WithParamInterface<int> { };

struct TestForm {
    TTestPanel* Back;
    TTestPanel* Low;
    TTestButton* Button;
    TTestButton* Disabled;
    TTestPanel* Edit;
    TTestLabel* Label;
};

TestForm Build(TForm* form) {
    TestForm f;
    f.Back = Create<TTestPanel>(form);
    f.Back->SetBounds(0, 0, 320, 170);
    f.Back->SetParent(form);
    f.Low = Create<TTestPanel>(form, 52);
    f.Low->SetBounds(170, 60, 140, 100);
    f.Low->SetParent(f.Back);
    f.Low->SetCaption("Low panel");
    f.Button = Create<TTestButton>(form);
    f.Button->SetBounds(12, 12, 110, 30);
    f.Button->SetCaption("Refresh");
    f.Button->SetParent(f.Back);
    f.Button->Glyph.SetPixelFormat(pf24bit);
    f.Button->Glyph.SetSize(16, 16);
    skin::pixeltest::Fill(f.Button->Glyph, TRect {0, 0, 16, 16}, 0xFF00FF);
    skin::pixeltest::Fill(f.Button->Glyph, TRect {3, 3, 13, 13}, 0x2080E0);
    skin::pixeltest::Fill(f.Button->Glyph, TRect {6, 6, 10, 10}, 0xFFFFFF);
    f.Disabled = Create<TTestButton>(form);
    f.Disabled->SetBounds(12, 50, 110, 30);
    f.Disabled->SetCaption("Disabled");
    f.Disabled->SetEnabled(false);
    f.Disabled->SetParent(f.Back);
    f.Edit = Create<TTestPanel>(form, 2);
    f.Edit->SetBounds(12, 96, 140, 24);
    f.Edit->SetCaption("Edit text");
    f.Edit->SetColor(clWindow);
    f.Edit->SetParent(f.Back);
    f.Label = Create<TTestLabel>(form);
    f.Label->SetBounds(12, 134, 150, 20);
    f.Label->SetCaption("Transparent label");
    f.Label->SetParent(f.Back);
    f.Back->SetCaption("");
    for (TsCommonData* d : {f.Back->SkinData.get(), f.Low->SkinData.get(), f.Button->SkinData.get(),
             f.Disabled->SkinData.get(), f.Edit->SkinData.get(), f.Label->SkinData.get()})
        d->ApplyDefaultSection();
    return f;
}

std::string PictureDir() {
    const std::string dir = KORVEX_PICTURE_DIR;
    std::filesystem::create_directories(dir);
    return dir;
}

TEST_P(SkinnedControlsPicture, FormPaintsInTheSkin) {
    TForm* form = NewForm(320, 170);
    test::ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    const int which = GetParam();
    if (which >= 0) {
        test::LoadFolderSkin(*sm, std::string(KORVEX_SOURCE_DIR) + "/skins", Skins[which]);
        ASSERT_TRUE(sm->LoadedSkin.Active);
    }
    TestForm f = Build(form);
    form->Invalidate();
    f.Back->Invalidate();
    Pump();
    const std::string name = which >= 0 ? std::string(Skins[which]).substr(0, std::string(Skins[which]).find(' ')) : "NoSkin";
    const TPoint origin = form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {origin.x, origin.y, origin.x + 320, origin.y + 170};
    ASSERT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/SkinnedControls_" + name + ".png", &r));
    if (which < 0) {
        EXPECT_FALSE(f.Button->SkinData->Skinned());
        EXPECT_EQ(ScreenPixel(f.Back, 300, 5), gdi::COLORREF(ColorToRGB(clBtnFace)));
        return;
    }
    ASSERT_TRUE(f.Button->SkinData->Skinned());
    ASSERT_TRUE(f.Label->SkinData->Skinned());
    // The transparent label shows the panel's cache under its text.
    EXPECT_EQ(ScreenPixel(f.Label, 149, 1), ScreenPixel(f.Back, 12 + 149, 134 + 1));
    // The button's face comes from the skin, not the plain button colour.
    EXPECT_NE(ScreenPixel(f.Button, 60, 4), gdi::COLORREF(ColorToRGB(clBtnFace)));
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, SkinnedControlsPicture, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return info.param < 0 ? std::string("NoSkin") : "Skin" + std::to_string(info.param); });

}
