// Image values of "Options.dat": which form a value has and the numbers each form reads.
#include "skin/engine/sSkinImageValues.h"

#include <gtest/gtest.h>

using namespace korvex::skin;

TEST(ParseImageValue, DecidesTheFormByFirstCharacterThenHashThenBmp) {
    struct Case {
        const char* Value;
        TsImageForm Form;
    };
    const Case cases[] = {
        {"~0001,0002,0003,0004,00", TsImageForm::Texture},
        {"@0001,0002,0003,0004,1,0", TsImageForm::Glyph},
        {"^0001", TsImageForm::Border},
        {"!A.BMP!1!0!0", TsImageForm::File},
        {"# (1,2,3,4) (1,0)", TsImageForm::Rect},
        {"x.bmp # (1,2,3,4) (1,0)", TsImageForm::Rect},
        {"button.Bmp", TsImageForm::BmpFile},
        {"#", TsImageForm::None},
        {"", TsImageForm::None},
        {"16777215", TsImageForm::None},
        {"picture.jpg", TsImageForm::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseImageValue("KEY", c.Value).Form, c.Form) << c.Value;
}

TEST(ParseImageValue, TheRectFormReadsTheExampleValue) {
    const TsImageValue v = ParseImageValue("BORDERSMASK", "# (0,189,63,231) (3,1)");
    ASSERT_TRUE(v.Valid);
    EXPECT_TRUE(v.UpperNames);
    EXPECT_EQ(v.R.left, 0);
    EXPECT_EQ(v.R.top, 189);
    EXPECT_EQ(v.R.right, 63);
    EXPECT_EQ(v.R.bottom, 231);
    EXPECT_EQ(v.ImageCount, 3);
    EXPECT_EQ(v.MaskType, 1);
    EXPECT_EQ(v.BorderWidth, 0);
    EXPECT_EQ(v.StretchMode, 1);
    EXPECT_EQ(v.ImgType, itisaBorder);
}

TEST(ParseImageValue, RectNumbersMaySeparateByBlanksInsideAWordOnlyWithCommas) {
    const TsImageValue v = ParseImageValue("PATTERN", "#(10,10,20,20)(0,-1,4,1)");
    ASSERT_TRUE(v.Valid);
    EXPECT_EQ(v.ImageCount, 1);
    EXPECT_EQ(v.MaskType, 0);
    EXPECT_EQ(v.BorderWidth, 4);
    EXPECT_EQ(v.StretchMode, 0);   // patterns never stretch
    EXPECT_EQ(v.ImgType, itisaTexture);
    EXPECT_FALSE(ParseImageValue("X", "# (10, 10, 20, 20) (1,0)").Valid);
}

TEST(ParseImageValue, MissingOrBadRequiredNumbersMakeTheValueInvalid) {
    for (const char* value : {"# (1,2,3) (1,0)", "# (1,2,3,4)", "# (1,2,3,4) (1)", "# (1,2,3,$4) (1,0)",
             "# (1,2,3,4) (0x1,0)", "~0001,0002,0003,0004", "~0001,0002,0003,00x4,00", "@0001,0002,0003,0004,1",
             "^0001,0002,0003,0004,0001,0002,0003,0004,1,1,1", "!A.BMP!1!0", "!A.bmp!1!0!0", "!A.BMP!1!z!0"})
        EXPECT_FALSE(ParseImageValue("KEY", value).Valid) << value;
}

TEST(ParseImageValue, NumbersPastTheirRangeMakeTheValueInvalid) {
    // Coordinates beyond the largest bitmap, counts beyond 16 bits: painters could not step through them.
    for (const char* value : {"# (0,0,2147483647,10) (3,1)", "# (-2147483648,0,10,10) (3,1)", "# (0,0,32768,10) (3,1)",
             "# (0,0,10,10) (32768,1)", "# (0,0,10,10) (3,2147483647)", "# (0,0,10,10) (-32769,0)",
             "!A.BMP!2147483647!0!0", "!A.BMP!1!99999!0"})
        EXPECT_FALSE(ParseImageValue("KEY", value).Valid) << value;
    const TsImageValue edge = ParseImageValue("KEY", "# (-32767,0,32767,10) (32767,32767)");
    ASSERT_TRUE(edge.Valid);
    EXPECT_EQ(edge.R.right, 32767);
    EXPECT_EQ(edge.ImageCount, 32767);
    EXPECT_EQ(edge.MaskType, 32767);
    const TsImageValue optional = ParseImageValue("KEY", "# (0,0,10,10) (1,0,99999,-99999)");
    ASSERT_TRUE(optional.Valid);   // out of range counts as missing for the optional numbers
    EXPECT_EQ(optional.BorderWidth, 0);
    EXPECT_EQ(optional.StretchMode, 1);
}

TEST(ParseImageValue, OptionalRectNumbersFallBackToTheirDefaults) {
    const TsImageValue v = ParseImageValue("X", "# (0,0,4,4) (2,1,-3,x)");
    ASSERT_TRUE(v.Valid);
    EXPECT_EQ(v.BorderWidth, 0);
    EXPECT_EQ(v.StretchMode, 1);
}

TEST(ParseImageValue, FileFormTakesCountsAndType) {
    const TsImageValue v = ParseImageValue("Key", "!sub/GLYPH.BMP!4!1!2");
    ASSERT_TRUE(v.Valid);
    EXPECT_EQ(v.FileName, "sub/GLYPH.BMP");
    EXPECT_EQ(v.ImageCount, 4);
    EXPECT_EQ(v.MaskType, 1);
    EXPECT_EQ(v.ImgType, itisaGlyph);
    EXPECT_FALSE(v.UpperNames);
    EXPECT_EQ(ParseImageValue("Key", "!G.BMP!1!0!9").ImgType, itisaBorder);   // unknown types draw as borders
}

TEST(ParseImageValue, CountsAreClampedForEveryForm) {
    EXPECT_EQ(ParseImageValue("K", "@0001,0002,0003,0004,0,0").ImageCount, 1);
    EXPECT_EQ(ParseImageValue("K", "!A.BMP!0!-1!0").MaskType, 0);
    EXPECT_EQ(ParseImageValue("K", "!A.BMP!-7!0!0").ImageCount, 1);
    EXPECT_EQ(ParseImageValue("K", "# (1,2,3,4) (-1,-1)").ImageCount, 1);
}

TEST(TryDecimal, AcceptsBlanksAndSignsButNothingElse) {
    int v = 0;
    EXPECT_TRUE(TryDecimal(" 42", v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(TryDecimal("-7", v));
    EXPECT_EQ(v, -7);
    EXPECT_TRUE(TryDecimal("+3", v));
    EXPECT_EQ(v, 3);
    for (const char* bad : {"", " ", "-", "4 ", "$10", "0x10", "1.5", "99999999999"})
        EXPECT_FALSE(TryDecimal(bad, v)) << bad;
}
