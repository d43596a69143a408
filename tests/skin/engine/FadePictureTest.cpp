// Frames of a button's fade in each of our four skins, mouse entering and leaving, as one PNG sheet.
#include "support/FadeKit.h"
#include "support/PixelFixtures.h"
#include "support/SkinFixtures.h"

#include "platform/classes/ControlMessages.h"
#include "platform/gdi/PngCodec.h"
#include "skin/engine/sSkinManager.h"

#include <filesystem>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

const char* const FadeSkins[] = {"MacOS (internal)", "LongHorn (internal)", "NextStyle (internal)", "Office2003 (internal)"};

constexpr int CellWidth = 130, CellHeight = 50;   // the button with some of the panel around it
constexpr int Scale = 2, Gap = 6, Columns = 6;   // columns: the look before, then up to five frames

class FadePicture : public SkinControlsTest {
protected:
    // The panel region around the button, as the screen shows it now.
    std::unique_ptr<TBitmap> Grab(const TControl* panel) const {
        auto cell = pixeltest::Bitmap24(CellWidth, CellHeight);
        for (int y = 0; y < CellHeight; ++y)
            for (int x = 0; x < CellWidth; ++x)
                pixeltest::Put(*cell, x, y, TColor(ScreenPixel(panel, x, y)));
        return cell;
    }
    // The frames of one fade, one grab per tick until the control freed its timer (or at once without one).
    std::vector<std::unique_ptr<TBitmap>> Frames(TFadeButton* button, const TControl* panel) {
        std::vector<std::unique_ptr<TBitmap>> frames;
        Pump();
        if (button->FadeTimer == nullptr) frames.push_back(Grab(panel));
        while (button->FadeTimer != nullptr && frames.size() < 10) {
            Advance(int(FadeInterval));
            if (button->FadeTimer != nullptr) frames.push_back(Grab(panel));
        }
        return frames;
    }
};

void Place(TBitmap& sheet, const TBitmap& cell, int row, int column) {
    const int left = Gap + column * (CellWidth * Scale + Gap), top = Gap + row * (CellHeight * Scale + Gap);
    for (int y = 0; y < CellHeight * Scale; ++y)
        for (int x = 0; x < CellWidth * Scale; ++x)
            pixeltest::Put(sheet, left + x, top + y, pixeltest::Px(cell, x / Scale, y / Scale));
}

std::string FadePictureDir() {
    const std::string dir = KORVEX_PICTURE_DIR;
    std::filesystem::create_directories(dir);
    return dir;
}

}

// Rows: each skin's fade in (mouse enters), then its fade out (mouse leaves). NextStyle does not fade: its
// rows hold the look before and the new look at once.
TEST_F(FadePicture, ButtonFadesInEachSkin) {
    const int rows = 2 * int(std::size(FadeSkins));
    auto sheet = pixeltest::Bitmap24(
        Gap + Columns * (CellWidth * Scale + Gap), Gap + rows * (CellHeight * Scale + Gap), 0xFFFFFF);
    for (int which = 0; which < int(std::size(FadeSkins)); ++which) {
        SCOPED_TRACE(FadeSkins[which]);
        TForm* form = NewForm(CellWidth, CellHeight);
        test::ManagerHost host;
        TsSkinManager* sm = host.NewManager();
        test::LoadFolderSkin(*sm, std::string(KORVEX_SOURCE_DIR) + "/skins", FadeSkins[which]);
        ASSERT_TRUE(sm->LoadedSkin.Active);
        auto* panel = Create<TTestPanel>(form);
        panel->SetBounds(0, 0, CellWidth, CellHeight);
        panel->SetParent(form);
        auto* button = Create<TFadeButton>(form);
        button->SetBounds(10, 10, 110, 30);
        button->SetCaption("Refresh");
        button->SetParent(panel);
        panel->SkinData->ApplyDefaultSection();
        button->SkinData->ApplyDefaultSection();
        ASSERT_TRUE(button->SkinData->Skinned());
        const TsGeneralData& section = sm->Sections[std::size_t(button->SkinData->SkinIndex)];
        form->Invalidate();
        panel->Invalidate();
        Pump();

        for (int row = 0; row < 2; ++row) {
            auto before = Grab(panel);
            Place(*sheet, *before, 2 * which + row, 0);
            button->Perform(row == 0 ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
            std::vector<std::unique_ptr<TBitmap>> frames = Frames(button, panel);
            for (std::size_t i = 0; i < frames.size() && i + 1 < Columns; ++i)
                Place(*sheet, *frames[i], 2 * which + row, int(i) + 1);
            EXPECT_EQ(int(frames.size()), section.FadingEnabled ? section.FadingIterations : 1);
            EXPECT_EQ(button->FadeTimer, nullptr);
            // The fade ends on exactly the look a full repaint gives.
            button->Invalidate();
            Pump();
            EXPECT_TRUE(pixeltest::SamePixels(*frames.back(), *Grab(panel)));
            if (section.FadingEnabled && frames.size() >= 3) {
                EXPECT_FALSE(pixeltest::SamePixels(*frames.front(), *frames.back()));   // the look changes
            }
        }
        form->Free();
        Pump();
    }
    std::string error;
    ASSERT_TRUE(gdi::WritePngFile(*sheet->Handle(), FadePictureDir() + "/ButtonFades.png", gdi::PngAlpha::Drop, &error))
        << error;
}
