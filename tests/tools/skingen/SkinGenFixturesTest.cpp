// The generator's fixtures loaded through the skin folder loader: each shows one part of the format.
#include "platform/classes/TBitmap.h"
#include "skin/engine/sSkinManager.h"
#include "tools/skingen/Fixtures.h"

#include "support/SkinFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace korvex;
using namespace korvex::skin;
namespace fx = korvex::skingen::fixtures;
using skin::test::ManagerHost;
using skin::test::PixelAt;
using skin::test::TempFolder;

namespace {

class Fixtures : public ::testing::Test {
protected:
    void SetUp() override { fx::WriteAll(FRoot.Path()); }

    TsSkinManager& Load(const std::string& name) {
        TsSkinManager* sm = FHost.NewManager();
        skin::test::LoadFolderSkin(*sm, FRoot.Path(), name);
        EXPECT_FALSE(sm->LoadedSkin.SkinPath.empty()) << name;
        EXPECT_FALSE(SkinChanging);
        return *sm;
    }

    const TsMaskData* Exact(const TsSkinManager& sm, const std::string& section, const std::string& image) {
        const int i = sm.GetMaskIndexExact(section, image);
        return sm.IsValidImgIndex(i) ? &sm.Masks[static_cast<std::size_t>(i)] : nullptr;
    }

    const TsGeneralData& Section(const TsSkinManager& sm, const std::string& name) {
        const int i = sm.GetSkinIndex(name);
        EXPECT_GE(i, 0) << name;
        return sm.Sections.at(static_cast<std::size_t>(std::max(i, 0)));
    }

    TempFolder FRoot;
    ManagerHost FHost;
};

}

TEST_F(Fixtures, EveryFixtureIsAFolderWithItsOptionsFile) {
    for (const std::string& name : fx::Names())
        EXPECT_TRUE(std::filesystem::exists(FRoot / name + "/Options.dat")) << name;
}

TEST_F(Fixtures, MinimalSkinHasTwoSectionsAndOneFrameOfThreeStates) {
    TsSkinManager& sm = Load(fx::Minimal);
    ASSERT_EQ(sm.Sections.size(), 2u);
    EXPECT_EQ(sm.Sections[0].ClassName, "GLOBALINFO");
    EXPECT_EQ(Section(sm, "BUTTON").Color, 65280);
    ASSERT_EQ(sm.Masks.size(), 1u);
    const TsMaskData& m = sm.Masks[0];
    EXPECT_EQ(m.ClassName, "BUTTON");
    EXPECT_EQ(m.PropertyName, "BORDERSMASK");
    EXPECT_EQ(m.R.right, fx::MinimalMasterWidth);
    EXPECT_EQ(m.R.bottom, fx::MinimalMasterHeight);
    EXPECT_EQ(m.ImageCount, 3);
    EXPECT_EQ(m.MaskType, 1);
    ASSERT_TRUE(sm.MasterBitmap);
    for (int s = 0; s < 3; ++s)
        EXPECT_EQ(PixelAt(*sm.MasterBitmap, s * 20 + 5, 5), fx::MinimalStateColors[s]);
    EXPECT_DOUBLE_EQ(sm.LoadedSkin.Version, 4.5);
}

TEST_F(Fixtures, EveryImageFormFillsItsFields) {
    TsSkinManager& sm = Load(fx::ImageForms);
    // "~": names as written; stretch mode and mask type from their columns.
    const TsMaskData* t = Exact(sm, "Forms", "Texture");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->ImgType, itisaTexture);
    EXPECT_EQ(t->R.right, 10);
    EXPECT_EQ(t->StretchMode, 2);
    EXPECT_EQ(t->MaskType, 1);
    EXPECT_EQ(t->ImageCount, 1);
    const TsMaskData* t0 = Exact(sm, "Forms", "Texture0");
    ASSERT_NE(t0, nullptr);
    EXPECT_EQ(t0->MaskType, 0);
    EXPECT_EQ(t0->StretchMode, 3);
    // "@"
    const TsMaskData* g = Exact(sm, "Forms", "Glyph");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->ImgType, itisaGlyph);
    EXPECT_EQ(g->ImageCount, 3);
    EXPECT_EQ(g->MaskType, 1);
    EXPECT_EQ(g->R.top, 10);
    // "^" with its margins
    const TsMaskData* b = Exact(sm, "Forms", "Border");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->ImgType, itisaBorder);
    EXPECT_EQ(b->Margins[1], 1);
    EXPECT_EQ(b->Margins[4], 4);
    EXPECT_EQ(b->ImageCount, 3);
    EXPECT_EQ(b->MaskType, 1);
    EXPECT_EQ(b->StretchMode, 1);
    EXPECT_EQ(b->BorderWidth, 2);
    // "!": own bitmaps with counts and type from the words.
    const TsMaskData* f = Exact(sm, "Forms", "File");
    ASSERT_NE(f, nullptr);
    ASSERT_NE(f->Bmp, nullptr);
    EXPECT_EQ(f->Bmp->Width(), 40);
    EXPECT_EQ(f->ImageCount, 2);
    EXPECT_EQ(f->ImgType, itisaGlyph);
    EXPECT_EQ(f->R.right, 40);
    const TsMaskData* ft = Exact(sm, "Forms", "FileTexture");
    ASSERT_NE(ft, nullptr);
    EXPECT_EQ(ft->ImgType, itisaTexture);
    // "#": upper-cased names, counts in brackets, defaults for what is missing.
    const TsMaskData* r = Exact(sm, "FORMS", "RECT");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->R.left, 30);
    EXPECT_EQ(r->ImageCount, 3);
    EXPECT_EQ(r->BorderWidth, 2);
    EXPECT_EQ(r->StretchMode, 0);
    const TsMaskData* d = Exact(sm, "FORMS", "RECTDEFAULTS");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->ImageCount, 1);
    EXPECT_EQ(d->MaskType, 0);
    EXPECT_EQ(d->BorderWidth, 0);
    EXPECT_EQ(d->StretchMode, 1);
    const TsMaskData* p = Exact(sm, "FORMS", "PATTERN");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ImgType, itisaTexture);
    EXPECT_EQ(p->StretchMode, 0);
    // A plain ".BMP" value: three states over masks; "#" alone and a missing file give nothing.
    const TsMaskData* plain = Exact(sm, "FORMS", "PLAIN");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->ImageCount, 3);
    EXPECT_EQ(plain->MaskType, 1);
    EXPECT_EQ(plain->Bmp->Width(), 30);
    EXPECT_EQ(Exact(sm, "Forms", "Hash"), nullptr);
    EXPECT_EQ(Exact(sm, "FORMS", "HASH"), nullptr);
    EXPECT_EQ(Exact(sm, "FORMS", "MISSING"), nullptr);
    EXPECT_EQ(Section(sm, "Forms").Color, 255);
}

TEST_F(Fixtures, ParentChainsInheritValuesAndImagesAndCyclesEndTheSearch) {
    TsSkinManager& sm = Load(fx::Inheritance);
    const TsGeneralData& leaf = Section(sm, "LEAF");
    EXPECT_EQ(leaf.Color, 255);   // -1 counts as missing: from BASE through MIDDLE
    EXPECT_EQ(leaf.FontColor[1], 65535);
    EXPECT_EQ(leaf.GradientPercent, 50);
    EXPECT_EQ(leaf.ShadowColor, 0);   // never inherited
    EXPECT_EQ(Section(sm, "BASE").ShadowColor, 123);
    const int base = sm.GetMaskIndexExact("BASE", "BORDERSMASK");
    ASSERT_GE(base, 0);
    EXPECT_EQ(sm.GetMaskIndex(sm.GetSkinIndex("LEAF"), "LEAF", "BORDERSMASK"), base);
    EXPECT_EQ(sm.GetMaskIndex(sm.GetSkinIndex("MIDDLE"), "MIDDLE", "GLYPHMASK"), -1);
    EXPECT_EQ(sm.GetMaskIndex(sm.GetSkinIndex("LOOPA"), "LOOPA", "BORDERSMASK"), -1);
    EXPECT_EQ(sm.GetMaskIndex(sm.GetSkinIndex("SELF"), "SELF", "BORDERSMASK"), -1);
    EXPECT_EQ(Section(sm, "LOOPA").Color, 0xFFFFFF);
    EXPECT_EQ(Section(sm, "SELF").Color, 0xFFFFFF);
    EXPECT_EQ(Section(sm, "ORPHAN").Color, 0xFFFFFF);
    EXPECT_EQ(Section(sm, "ORPHAN").ParentClass, "NOWHERE");
}

TEST_F(Fixtures, BadNumbersSkipTheirEntriesAndTheLoadFinishes) {
    TsSkinManager& sm = Load(fx::BadNumbers);
    EXPECT_DOUBLE_EQ(sm.LoadedSkin.Version, 0);
    EXPECT_EQ(sm.LoadedSkin.Shadow1Offset, 0);
    EXPECT_EQ(sm.LoadedSkin.Shadow1Blur, -1);
    EXPECT_EQ(sm.LoadedSkin.Description, "Skin #2");
    EXPECT_EQ(sm.GetMaskIndexExact("GLOBALINFO", "DESCRIPTION"), -1);
    for (const char* name : {"TEXTURE", "GLYPH", "RECT", "FILE"})
        EXPECT_EQ(sm.GetMaskIndexExact("BAD", name), -1) << name;
    EXPECT_GE(sm.GetMaskIndexExact("BAD", "GOOD"), 0);
    const TsGeneralData& bad = Section(sm, "BAD");
    EXPECT_EQ(bad.GradientArray.size(), 1u);   // the complete step before the bad word
    EXPECT_EQ(bad.Color, 0xFFFFFF);
    EXPECT_TRUE(sm.LoadedSkin.Active);
}

TEST_F(Fixtures, AMissingMasterBitmapStillGivesTheRectangleImages) {
    TsSkinManager& sm = Load(fx::NoMaster);
    EXPECT_EQ(sm.MasterBitmap, nullptr);
    EXPECT_GE(sm.GetMaskIndexExact("BUTTON", "BORDERSMASK"), 0);
    EXPECT_EQ(Section(sm, "BUTTON").Color, 65280);
}

TEST_F(Fixtures, SmallJpegsBecomeTexturesAndLargeOnesPatterns) {
    TsSkinManager& sm = Load(fx::Jpegs);
    const TsMaskData* small = Exact(sm, "FORM", "PATTERN");
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->ImgType, itisaTexture);
    ASSERT_NE(small->Bmp, nullptr);
    EXPECT_EQ(small->Bmp->Width(), fx::SmallJpegWidth);
    EXPECT_EQ(small->Bmp->Height(), fx::JpegHeight);
    ASSERT_EQ(sm.Patterns.size(), 1u);
    EXPECT_EQ(sm.Patterns[0].ClassName, "FORM");
    EXPECT_EQ(sm.Patterns[0].PropertyName, "HOTPATTERN");
    EXPECT_EQ(sm.GetPatternIndex(sm.GetSkinIndex("FORM"), "FORM", "HOTPATTERN"), 0);
    EXPECT_EQ(sm.GetMaskIndexExact("PANEL", "PATTERN"), -1);
}
