// TImage and the stock icons: the picture placed at its size, centred or stretched; icons blended by alpha.
#include "support/ControlsTestKit.h"

#include "platform/classes/SystemIcons.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TImage.h"

namespace korvex::classes::ctltest {
namespace {

class ImageTest : public ControlsTest { };

TEST(SystemIcons, EachStockIconIsA32PixelIconKeptForTheRun) {
    for (int id : {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK, IDI_WINLOGO}) {
        SCOPED_TRACE(id);
        user::HICON handle = LoadIcon(nullptr, id);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(LoadIcon(nullptr, id), handle);   // the same icon again, never a new one
        const TIcon* icon = TIcon::FromHandle(handle);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->Width(), 32);
        EXPECT_EQ(icon->Height(), 32);
        // Transparent corners around an opaque middle: a shape, not a square.
        EXPECT_EQ(icon->Image()->ScanLine(0)[3], 0);
        EXPECT_EQ(icon->Image()->ScanLine(16)[16 * 4 + 3], 255);
    }
    EXPECT_EQ(LoadIcon(nullptr, 32511), nullptr);   // no picture for that id
    EXPECT_EQ(LoadIcon(nullptr, 0), nullptr);
}

TEST_F(ImageTest, TheIconIsBlendedOverTheParentAtTheTopLeft) {
    TForm* form = NewForm();
    form->SetColor(0x00FF00);
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(10, 10, 40, 40);
    image->Picture()->Icon()->Assign(TIcon::FromHandle(LoadIcon(nullptr, IDI_HAND)));
    ASSERT_TRUE(Pump());
    EXPECT_EQ(PixelAt(image, 0, 0), 0x00FF00u);   // transparent corner shows the form
    EXPECT_EQ(PixelAt(image, 36, 36), 0x00FF00u);   // beyond the picture
    const gdi::COLORREF middle = PixelAt(image, 16, 16);
    EXPECT_NE(middle, 0x00FF00u);
    EXPECT_GT(middle & 0xFF, 0xC0u);   // the error icon is red or white at its middle
}

TEST_F(ImageTest, CenterAndStretchPlaceThePicture) {
    TForm* form = NewForm();
    form->SetColor(0xFFFFFF);
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(0, 0, 40, 20);
    TBitmap* bitmap = image->Picture()->Bitmap();
    bitmap->SetSize(10, 10);
    bitmap->Canvas()->Brush()->SetColor(0x0000FF);
    bitmap->Canvas()->FillRect(TRect {0, 0, 10, 10});
    EXPECT_EQ(image->DestRect(), (TRect {0, 0, 10, 10}));
    image->SetCenter(true);
    EXPECT_EQ(image->DestRect(), (TRect {15, 5, 25, 15}));
    ASSERT_TRUE(Pump());
    EXPECT_EQ(PixelAt(image, 15, 5), 0x0000FFu);
    EXPECT_EQ(PixelAt(image, 14, 5), 0xFFFFFFu);
    image->SetStretch(true);
    EXPECT_EQ(image->DestRect(), (TRect {0, 0, 40, 20}));
    ASSERT_TRUE(Pump());
    EXPECT_EQ(PixelAt(image, 39, 19), 0x0000FFu);
}

}
}
