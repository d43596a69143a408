// TsGlyphImages: the image list settings the bit and speed buttons share, seen through each button.
#include "support/ControlsKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TImageList.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sSpeedButton.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

template <class TButton>
class TsGlyphImagesTest : public ControlsTest {
protected:
    TButton* NewButton() {
        auto* button = Create<TButton>(this->Form);
        button->SetBounds(10, 10, 80, 30);
        button->SetParent(this->Form);
        return button;
    }
    TImageList* NewImages() {
        auto* images = Create<TImageList>(this->Form);
        AddDiscImage(images, clRed);
        return images;
    }
};

using GlyphButtons = ::testing::Types<TsBitBtn, TsSpeedButton>;
TYPED_TEST_SUITE(TsGlyphImagesTest, GlyphButtons);

TYPED_TEST(TsGlyphImagesTest, BlendIsKeptWithinZeroToAHundred) {
    TypeParam* button = this->NewButton();
    struct Case {
        int Given;
        int Kept;
    };
    const Case cases[] = {{-5, 0}, {0, 0}, {40, 40}, {100, 100}, {250, 100}};
    for (const Case& c : cases) {
        button->SetBlend(c.Given);
        EXPECT_EQ(button->Blend(), c.Kept) << c.Given;
    }
}

TYPED_TEST(TsGlyphImagesTest, AFreedImageListIsForgotten) {
    TypeParam* button = this->NewButton();
    TImageList* images = this->NewImages();
    button->SetImages(images);
    EXPECT_EQ(button->Images(), images);
    delete images;
    EXPECT_EQ(button->Images(), nullptr);
}

TYPED_TEST(TsGlyphImagesTest, AnUnskinnedButtonTakesTheListsImageAsItsGlyph) {
    this->UseSkin(-1);
    TypeParam* button = this->NewButton();
    button->SetImages(this->NewImages());
    EXPECT_EQ(button->Glyph()->Width(), 0);
    button->SetImageIndex(0);
    EXPECT_GT(button->Glyph()->Width(), 0);
}

TYPED_TEST(TsGlyphImagesTest, ASkinnedButtonLeavesItsGlyphToTheSkin) {
    this->UseSkin(0);
    TypeParam* button = this->NewButton();
    button->SetImages(this->NewImages());
    button->SetImageIndex(0);
    EXPECT_EQ(button->Glyph()->Width(), 0);
}

TYPED_TEST(TsGlyphImagesTest, ThePaintersReadEverySettingOfTheButton) {
    TypeParam* button = this->NewButton();
    TImageList* images = this->NewImages();
    button->SetImages(images);
    button->SetImageIndex(0);
    button->SetBlend(30);
    button->SetGrayed(true);
    button->SetDisabledGlyphKind(TsDisabledGlyphKind {dgGrayed});
    button->SetEnabled(false);
    const TacGlyphButton glyph = ButtonGlyph(*button, button->SkinData(), TRect {1, 2, 3, 4});
    EXPECT_EQ(glyph.Glyph, button->Glyph());
    EXPECT_EQ(glyph.NumGlyphs, button->NumGlyphs());
    EXPECT_EQ(glyph.Images, images);
    EXPECT_EQ(glyph.ImageIndex, 0);
    EXPECT_EQ(glyph.Blend, 30);
    EXPECT_TRUE(glyph.Grayed);
    EXPECT_EQ(glyph.DisabledGlyphKind, TsDisabledGlyphKind {dgGrayed});
    EXPECT_FALSE(glyph.Enabled);
    EXPECT_EQ(glyph.SkinData, button->SkinData());
    EXPECT_EQ(glyph.GlyphRect, (TRect {1, 2, 3, 4}));
}

}
