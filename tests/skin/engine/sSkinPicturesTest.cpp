// The pictures of a skin load: each file decoded once, copies handed out, and the budget of a skin's pixels.
#include "skin/engine/sSkinPictures.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "support/SkinFixtures.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::test;

TEST(TsSkinPictures, AFileNamedTwiceIsDecodedOnceAndEachUseGetsItsOwnCopy) {
    TempFolder temp;
    WriteBmp(temp / "A.BMP", 30, 20, 0x0000FF);
    TsSkinPictures pictures;
    std::unique_ptr<classes::TBitmap> first = pictures.Bitmap(temp / "A.BMP");
    ASSERT_NE(first, nullptr);
    std::filesystem::remove(temp / "A.BMP");   // a second decode would find nothing
    std::unique_ptr<classes::TBitmap> second = pictures.Bitmap(temp / "A.BMP");
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first.get(), second.get());
    SetPixel(*first, 0, 0, 0x00FF00);
    EXPECT_EQ(PixelAt(*second, 0, 0), 0x0000FFu);
    EXPECT_EQ(pictures.Spent(), 2 * 600);   // the decode and one more copy
}

TEST(TsSkinPictures, MissingUnreadableAndEmptyFilesGiveNothing) {
    TempFolder temp;
    WriteTextFile(temp / "BAD.BMP", "BM not a bitmap");
    WriteTextFile(temp / "BAD.JPG", "not a jpeg");
    TsSkinPictures pictures;
    EXPECT_EQ(pictures.Bitmap(temp / "MISSING.BMP"), nullptr);
    EXPECT_EQ(pictures.Bitmap(temp / "BAD.BMP"), nullptr);
    EXPECT_EQ(pictures.Jpeg(temp / "BAD.JPG"), nullptr);
    EXPECT_EQ(pictures.Spent(), 0);
}

TEST(TsSkinPictures, DecodesAndCopiesThatWouldPassTheBudgetAreDropped) {
    TempFolder temp;
    WriteBmp(temp / "SMALL.BMP", 10, 10, 0x112233);
    WriteJpeg(temp / "P.JPG", 10, 10, 0x112233);
    TsSkinPictures pictures(350);
    EXPECT_NE(pictures.Bitmap(temp / "SMALL.BMP"), nullptr);   // 100
    EXPECT_NE(pictures.Jpeg(temp / "P.JPG"), nullptr);   // 200
    EXPECT_NE(pictures.Bitmap(temp / "SMALL.BMP"), nullptr);   // a copy: 300
    EXPECT_EQ(pictures.Bitmap(temp / "SMALL.BMP"), nullptr);   // 400 would pass the budget
}

TEST(TsSkinPictures, APictureLargerThanTheBudgetIsDecodedOnceAndThenNothingMore) {
    TempFolder temp;
    WriteBmp(temp / "BIG.BMP", 40, 30, 0x112233);
    WriteBmp(temp / "SMALL.BMP", 1, 1, 0);
    TsSkinPictures pictures(1000);
    for (int use = 0; use < 6; ++use)
        EXPECT_EQ(pictures.Bitmap(temp / "BIG.BMP"), nullptr);
    EXPECT_EQ(pictures.Spent(), 1200);   // one decode for all six
    EXPECT_EQ(pictures.Bitmap(temp / "SMALL.BMP"), nullptr);   // the budget is spent: not even decoded
    EXPECT_EQ(pictures.Spent(), 1200);
}
