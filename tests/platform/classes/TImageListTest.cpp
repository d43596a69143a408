// TImageList and TIcon: strips and masks, drawing with masks, background colour and the disabled look, bad
// indexes, icons in and out, change notifications and links, and the "Bitmap" entry of component text.
#include "platform/classes/TImageList.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TMemoryStream.h"
#include "platform/gdi/SysColors.h"

#include "support/GraphicsTestKit.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::test;

namespace {

// Three 4 x 4 images side by side: red, green, blue squares on fuchsia, each with a 2 x 2 square at (1, 1).
std::unique_ptr<TBitmap> Strip() {
    auto strip = MakeBitmap(12, 4, clFuchsia);
    const TColor colors[] = {clRed, clLime, clBlue};
    for (int i = 0; i < 3; ++i)
        for (int y = 1; y < 3; ++y)
            for (int x = 1; x < 3; ++x)
                SetPixelOf(*strip, i * 4 + x, y, colors[i]);
    return strip;
}

class ImageListTest : public ::testing::Test {
protected:
    ImageListTest()
        : FList(new TImageList(nullptr))
        , FTarget(MakeBitmap(20, 10, clWhite)) {
        FList->SetSize(4, 4);
    }
    ~ImageListTest() override { delete FList; }

    TColor At(int x, int y) const { return PixelOf(*FTarget, x, y); }
    int Count(TColor color) const { return CountColor(*FTarget, color, Rect(0, 0, 20, 10)); }

    TImageList* FList;
    std::unique_ptr<TBitmap> FTarget;
};

}

TEST(TImageList, StartsEmptyWithSixteenPixelImages) {
    TImageList list(nullptr);
    EXPECT_EQ(list.Width(), 16);
    EXPECT_EQ(list.Height(), 16);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.BkColor(), clNone);
}

TEST_F(ImageListTest, AddMaskedSplitsTheBitmapIntoImagesOfTheListsWidth) {
    EXPECT_EQ(FList->AddMasked(Strip().get(), clFuchsia), 0);
    EXPECT_EQ(FList->Count(), 3);
    EXPECT_EQ(FList->AddMasked(Strip().get(), clFuchsia), 3);
    EXPECT_EQ(FList->Count(), 6);
}

TEST_F(ImageListTest, DrawLeavesTheMaskedPixelsAlone) {
    FList->AddMasked(Strip().get(), clFuchsia);
    FList->Draw(FTarget->Canvas(), 5, 2, 1);
    EXPECT_EQ(At(6, 3), clLime);
    EXPECT_EQ(At(7, 4), clLime);
    EXPECT_EQ(At(5, 2), clWhite);
    EXPECT_EQ(At(8, 5), clWhite);
    EXPECT_EQ(Count(clLime), 4);
    EXPECT_EQ(Count(clFuchsia), 0);
}

TEST_F(ImageListTest, AddMaskedWithClDefaultTakesTheTopLeftPixel) {
    FList->AddMasked(Strip().get(), clDefault);
    FList->Draw(FTarget->Canvas(), 0, 0, 2);
    EXPECT_EQ(Count(clBlue), 4);
    EXPECT_EQ(Count(clFuchsia), 0);
}

TEST_F(ImageListTest, AddWithAMaskMakesItsWhitePixelsTransparent) {
    auto picture = MakeBitmap(4, 4, clRed);
    auto mask = MakeBitmap(4, 4, clWhite);
    SetPixelOf(*mask, 0, 0, clBlack);
    SetPixelOf(*mask, 3, 3, clBlack);
    EXPECT_EQ(FList->Add(picture.get(), mask.get()), 0);
    FList->Draw(FTarget->Canvas(), 0, 0, 0);
    EXPECT_EQ(At(0, 0), clRed);
    EXPECT_EQ(At(3, 3), clRed);
    EXPECT_EQ(Count(clRed), 2);
}

TEST_F(ImageListTest, AddWithoutAMaskGivesOpaqueImages) {
    FList->Add(MakeBitmap(4, 4, clFuchsia).get(), nullptr);
    FList->Draw(FTarget->Canvas(), 0, 0, 0);
    EXPECT_EQ(Count(clFuchsia), 16);
}

TEST_F(ImageListTest, NullAndEmptyBitmapsAddNothing) {
    TBitmap empty;
    EXPECT_EQ(FList->Add(nullptr, nullptr), -1);
    EXPECT_EQ(FList->Add(&empty, nullptr), -1);
    EXPECT_EQ(FList->AddMasked(&empty, clRed), -1);
    EXPECT_EQ(FList->AddIcon(nullptr), -1);
    EXPECT_EQ(FList->Count(), 0);
}

TEST_F(ImageListTest, ASmallerBitmapFillsTheCornerAndLeavesTheRestTransparent) {
    FList->Add(MakeBitmap(2, 2, clRed).get(), nullptr);
    FList->Draw(FTarget->Canvas(), 0, 0, 0);
    EXPECT_EQ(Count(clRed), 4);
    EXPECT_EQ(At(3, 3), clWhite);
}

TEST_F(ImageListTest, IndexesOutOfRangeDrawNothingAndAnswerFalse) {
    FList->AddMasked(Strip().get(), clFuchsia);
    for (int index : {-1, 3, 100}) {
        FList->Draw(FTarget->Canvas(), 0, 0, index);
        FList->Draw(FTarget->Canvas(), 0, 0, index, false);
        TBitmap bitmap;
        TIcon icon;
        EXPECT_FALSE(FList->GetBitmap(index, &bitmap));
        EXPECT_FALSE(FList->GetIcon(index, &icon));
        EXPECT_TRUE(icon.Empty());
        FList->Delete(index);
    }
    FList->Draw(nullptr, 0, 0, 0);
    EXPECT_EQ(Count(clWhite), 200);
    EXPECT_EQ(FList->Count(), 3);
}

TEST_F(ImageListTest, ABackgroundColourFillsTheTransparentParts) {
    FList->AddMasked(Strip().get(), clFuchsia);
    FList->SetBkColor(clYellow);
    FList->Draw(FTarget->Canvas(), 0, 0, 0);
    EXPECT_EQ(At(0, 0), clYellow);
    EXPECT_EQ(At(1, 1), clRed);
    EXPECT_EQ(At(4, 0), clWhite);
}

TEST_F(ImageListTest, DisabledImagesAreEmbossedInTheShadowAndHighlightColours) {
    FList->AddMasked(Strip().get(), clFuchsia);
    FList->Draw(FTarget->Canvas(), 5, 2, 0, false);
    const TColor shadow = ColorToRGB(clBtnShadow), highlight = ColorToRGB(clBtnHighlight);
    EXPECT_EQ(At(6, 3), shadow);
    EXPECT_EQ(At(7, 4), shadow);
    EXPECT_EQ(At(8, 5), highlight);   // the highlight copy shows one pixel down and right
    EXPECT_EQ(At(5, 2), clWhite);
    EXPECT_EQ(Count(clRed), 0);
}

TEST_F(ImageListTest, GetBitmapDrawsTheImageOnABitmapOfTheImageSize) {
    FList->AddMasked(Strip().get(), clFuchsia);
    auto bitmap = MakeBitmap(1, 1, clWhite);
    ASSERT_TRUE(FList->GetBitmap(2, bitmap.get()));
    EXPECT_EQ(bitmap->Width(), 4);
    EXPECT_EQ(bitmap->Height(), 4);
    EXPECT_EQ(PixelOf(*bitmap, 1, 1), clBlue);
    EXPECT_EQ(PixelOf(*bitmap, 0, 0), clWhite);   // what the bitmap held shows through
}

TEST_F(ImageListTest, GetIconKeepsTheMaskAsAlpha) {
    FList->AddMasked(Strip().get(), clFuchsia);
    TIcon icon;
    int changes = 0;
    icon.OnChange = [&](TObject*) { ++changes; };
    ASSERT_TRUE(FList->GetIcon(0, &icon));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(icon.Width(), 4);
    FTarget->Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(At(1, 1), clRed);
    EXPECT_EQ(At(0, 0), clWhite);
}

TEST_F(ImageListTest, AddIconKeepsPartialAlphaAndBlends) {
    TIcon icon;
    auto opaque = MakeBitmap(4, 4, clBlack);
    icon.Assign(opaque.get());
    FList->AddIcon(&icon);
    // A half-transparent white icon: premultiplied 128 with alpha 128.
    gdi::Bitmap* pixels = const_cast<gdi::Bitmap*>(icon.Image());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            gdi::BYTE* p = pixels->ScanLine(y) + 4 * x;
            p[0] = p[1] = p[2] = p[3] = 128;
        }
    EXPECT_EQ(FList->AddIcon(&icon), 1);
    auto target = MakeBitmap(4, 4, clBlack);
    FList->Draw(target->Canvas(), 0, 0, 1);
    const TColor c = PixelOf(*target, 2, 2);
    EXPECT_NEAR(c & 0xFF, 128, 2);
}

TEST_F(ImageListTest, AddIconScalesToTheImageSize) {
    auto big = MakeBitmap(8, 8, clRed);
    TIcon icon;
    icon.Assign(big.get());
    EXPECT_EQ(FList->AddIcon(&icon), 0);
    FList->Draw(FTarget->Canvas(), 0, 0, 0);
    EXPECT_EQ(Count(clRed), 16);
}

TEST_F(ImageListTest, DeleteAndClearRemoveImages) {
    FList->AddMasked(Strip().get(), clFuchsia);
    FList->Delete(0);
    EXPECT_EQ(FList->Count(), 2);
    FList->Draw(FTarget->Canvas(), 0, 0, 0);
    EXPECT_EQ(Count(clLime), 4);
    FList->Clear();
    EXPECT_EQ(FList->Count(), 0);
}

TEST_F(ImageListTest, ANewImageSizeEmptiesTheList) {
    FList->AddMasked(Strip().get(), clFuchsia);
    FList->SetWidth(8);
    EXPECT_EQ(FList->Count(), 0);
    FList->SetHeight(0);   // refused
    EXPECT_EQ(FList->Height(), 4);
}

TEST_F(ImageListTest, EveryChangeNotifiesTheEventAndTheLinks) {
    int events = 0, first = 0, second = 0;
    FList->OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, FList);
        ++events;
    };
    TChangeLink a, b;
    a.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, FList);
        ++first;
    };
    b.OnChange = [&](TObject*) { ++second; };
    FList->RegisterChanges(&a);
    FList->RegisterChanges(&b);
    FList->RegisterChanges(&b);   // once only
    FList->AddMasked(Strip().get(), clFuchsia);
    FList->Delete(1);
    FList->SetBkColor(clRed);
    FList->SetBkColor(clRed);
    FList->UnRegisterChanges(&b);
    FList->Clear();
    EXPECT_EQ(events, 4);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(second, 3);
    EXPECT_EQ(b.Sender(), nullptr);
    EXPECT_EQ(a.Sender(), FList);
}

TEST(TChangeLink, ForgetsAListThatIsFreedAndLeavesAListWhenFreed) {
    auto* list = new TImageList(nullptr);
    TChangeLink survivor;
    list->RegisterChanges(&survivor);
    {
        TChangeLink shortLived;
        list->RegisterChanges(&shortLived);
    }
    list->Clear();   // the freed link is no longer called
    list->SetBkColor(clRed);
    delete list;
    EXPECT_EQ(survivor.Sender(), nullptr);
}

TEST_F(ImageListTest, AssignCopiesSizeColourAndImages) {
    FList->AddMasked(Strip().get(), clFuchsia);
    FList->SetBkColor(clYellow);
    TImageList copy(nullptr);
    copy.Assign(FList);
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.BkColor(), clYellow);
    FList->Clear();
    copy.Draw(FTarget->Canvas(), 0, 0, 2);
    EXPECT_EQ(Count(clBlue), 4);
}

TEST_F(ImageListTest, TheBitmapEntryRoundTripsTheImages) {
    FList->AddMasked(Strip().get(), clFuchsia);
    CaptureFiler filer;
    FList->DefineProperties(filer);
    ASSERT_TRUE(filer.Binaries["Bitmap"].HasData);
    TMemoryStream stream;
    filer.Binaries["Bitmap"].Write(stream);
    stream.SetPosition(0);
    TImageList loaded(nullptr);
    CaptureFiler reader;
    loaded.DefineProperties(reader);
    EXPECT_FALSE(reader.Binaries["Bitmap"].HasData);
    reader.Binaries["Bitmap"].Read(stream);
    EXPECT_EQ(loaded.Count(), 3);
    EXPECT_EQ(loaded.Width(), 4);
    loaded.Draw(FTarget->Canvas(), 0, 0, 1);
    EXPECT_EQ(Count(clLime), 4);
    EXPECT_EQ(At(0, 0), clWhite);
}

TEST_F(ImageListTest, DamagedBitmapEntriesRaiseAndKeepTheImages) {
    FList->AddMasked(Strip().get(), clFuchsia);
    CaptureFiler filer;
    FList->DefineProperties(filer);
    TMemoryStream good;
    filer.Binaries["Bitmap"].Write(good);
    const std::vector<std::uint8_t> bytes(good.Bytes().begin(), good.Bytes().end());
    auto readBack = [&](std::vector<std::uint8_t> data) {
        TMemoryStream stream;
        if (!data.empty()) stream.WriteBuffer(data.data(), std::int64_t(data.size()));
        stream.SetPosition(0);
        filer.Binaries["Bitmap"].Read(stream);
    };
    EXPECT_THROW(readBack({bytes.begin(), bytes.end() - 1}), EFilerError);   // short
    std::vector<std::uint8_t> huge = bytes;
    huge[12] = 0xFF;   // count far beyond the data
    huge[13] = 0xFF;
    EXPECT_THROW(readBack(huge), EFilerError);
    std::vector<std::uint8_t> zero = bytes;
    zero[4] = 0;   // width 0
    EXPECT_THROW(readBack(zero), EFilerError);
    EXPECT_THROW(readBack({}), EFilerError);
    EXPECT_EQ(FList->Count(), 3);
}

TEST(TImageList, PublishesItsSettings) {
    TImageList list(nullptr);
    EXPECT_NE(GetPropInfo(list, "BkColor"), nullptr);
    EXPECT_NE(GetPropInfo(list, "Width"), nullptr);
    EXPECT_NE(GetPropInfo(list, "Height"), nullptr);
    EXPECT_NE(GetPropInfo(list, "OnChange"), nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// TIcon

TEST(TIcon, FromATransparentBitmapLeavesTheTransparentColourOut) {
    auto picture = MakeBitmap(3, 3, clFuchsia);
    SetPixelOf(*picture, 1, 1, clRed);
    picture->SetTransparent(true);
    TIcon icon;
    icon.Assign(picture.get());
    EXPECT_TRUE(icon.Transparent());
    auto target = MakeBitmap(5, 5, clGreen);
    target->Canvas()->Draw(1, 1, &icon);
    EXPECT_EQ(PixelOf(*target, 2, 2), clRed);
    EXPECT_EQ(PixelOf(*target, 1, 1), clGreen);
    EXPECT_EQ(CountColor(*target, clFuchsia, Rect(0, 0, 5, 5)), 0);
}

TEST(TIcon, FromAnOpaqueBitmapCoversEverything) {
    TIcon icon;
    icon.Assign(MakeBitmap(2, 2, clBlue).get());
    auto target = MakeBitmap(2, 2, clWhite);
    target->Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(CountColor(*target, clBlue, Rect(0, 0, 2, 2)), 4);
}

TEST(TIcon, HandlesFindTheirIconUntilItIsFreed) {
    auto icon = std::make_unique<TIcon>();
    EXPECT_EQ(icon->Handle(), nullptr);   // empty
    icon->Assign(MakeBitmap(2, 2, clBlue).get());
    user::HICON handle = icon->Handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(TIcon::FromHandle(handle), icon.get());
    icon.reset();
    EXPECT_EQ(TIcon::FromHandle(handle), nullptr);
    EXPECT_EQ(TIcon::FromHandle(nullptr), nullptr);
}

TEST(TIcon, APngRoundTripKeepsTheAlpha) {
    TIcon icon;
    auto picture = MakeBitmap(2, 1, clRed);
    SetPixelOf(*picture, 1, 0, clFuchsia);
    picture->SetTransparent(true);
    picture->SetTransparentColor(clFuchsia);
    icon.Assign(picture.get());
    TMemoryStream stream;
    icon.SaveToStream(stream);
    stream.SetPosition(0);
    TIcon loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.Width(), 2);
    auto target = MakeBitmap(2, 1, clWhite);
    target->Canvas()->Draw(0, 0, &loaded);
    EXPECT_EQ(PixelOf(*target, 0, 0), clRed);
    EXPECT_EQ(PixelOf(*target, 1, 0), clWhite);
}

TEST(TIcon, ABmpFileWithoutAlphaGivesAnOpaqueIconAndGarbageRaises) {
    TMemoryStream stream;
    MakeBitmap(3, 2, clLime)->SaveToStream(stream);
    stream.SetPosition(0);
    TIcon icon;
    icon.LoadFromStream(stream);
    auto target = MakeBitmap(3, 2, clWhite);
    target->Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(CountColor(*target, clLime, Rect(0, 0, 3, 2)), 6);
    TMemoryStream garbage;
    garbage.WriteBuffer("not an icon", 11);
    garbage.SetPosition(0);
    EXPECT_THROW(icon.LoadFromStream(garbage), EInvalidGraphic);
    EXPECT_EQ(icon.Width(), 3);
}

TEST(TIcon, AssignsItselfToABitmap) {
    TIcon icon;
    icon.Assign(MakeBitmap(2, 2, clTeal).get());
    TBitmap bitmap;
    bitmap.Assign(&icon);
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(PixelOf(bitmap, 1, 1), clTeal);
}
