// The title icon of a skinned form without an icon of its own: the program's large icon for a tall title, its
// small one otherwise, and the system's application icon when the program has none.
#include "support/WindowsKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TIcon.h"
#include "platform/gdi/PngCodec.h"
#include "skin/engine/sAppIcons.h"
#include "skin/windows/sTitleButtons.h"

#include <memory>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class ProviderTitleIcon : public FormsTest {
protected:
    // The form cache's pixel at a fraction of the title icon's rectangle; the title band is kept as a picture.
    TColor IconPixel(TForm* form, double fx, double fy, const char* picture) {
        TsSkinProvider* p = ProviderOf(form);
        const TRect r = p->IconRect();
        TBitmap* cache = p->FormCache();
        gdi::WritePngFile(*cache->Handle(), WindowsPictureDir() + "/" + picture + ".png");
        return cache->Canvas()->Pixels(r.left + int(r.Width() * fx), r.top + int(r.Height() * fy));
    }
};

TEST_F(ProviderTitleIcon, AShortTitleShowsTheProgramsSmallIcon) {
    UseSkin(1);
    const TsAppIcons icons(SolidIcon(16, clRed), SolidIcon(32, clBlue));
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_LE(p->CaptionHeight() - p->IconRect().top, 16);
    ASSERT_GT(p->IconRect().Width(), 0);
    EXPECT_EQ(IconPixel(form, 0.5, 0.5, "title-icon-small"), clRed);
}

TEST_F(ProviderTitleIcon, ATallTitleIconShowsTheProgramsLargeIconAtItsSize) {
    UseSkin(1);
    const TsAppIcons icons(SolidIcon(16, clRed), SolidIcon(32, clBlue));
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    p->TitleIcon()->SetWidth(20);
    p->TitleIcon()->SetHeight(20);
    p->RefreshFormFrame();
    Pump();
    ASSERT_EQ(p->IconRect().Width(), 20);
    EXPECT_EQ(IconPixel(form, 0.5, 0.5, "title-icon-large"), clBlue);
    EXPECT_EQ(IconPixel(form, 0.05, 0.95, "title-icon-large"), clBlue);   // the whole 20 x 20, not 16 x 16
}

TEST_F(ProviderTitleIcon, WithoutProgramIconsTheSystemsApplicationIconShows) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    // A plain window: a blue title band over a white client area.
    const TColor band = IconPixel(form, 0.5, 0.25, "title-icon-system");
    EXPECT_GT(gdi::GetBValue(gdi::COLORREF(band)), gdi::GetRValue(gdi::COLORREF(band)) + 60);
    EXPECT_EQ(IconPixel(form, 0.5, 0.7, "title-icon-system"), clWhite);
}

}
}
