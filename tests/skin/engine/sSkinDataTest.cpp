// Look-ups of the loaded skin's tables: sections, images with parent fall-back, textures, patterns, frame sizes,
// global colours and the cached indexes.
#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "skin/engine/sSkinManager.h"

#include "support/SkinFixtures.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::test;

namespace {

class Lookups : public ::testing::Test {
protected:
    void SetUp() override { sm = host.NewManager(); }

    int AddSection(const std::string& name, const std::string& parent = "") {
        TsGeneralData d;
        d.ClassName = name;
        d.ParentClass = parent;
        sm->Sections.push_back(std::move(d));
        return static_cast<int>(sm->Sections.size()) - 1;
    }
    int AddImage(const std::string& section, const std::string& name, TacImgType type = itisaBorder) {
        TsMaskData m;
        m.ClassName = section;
        m.PropertyName = name;
        m.ImgType = type;
        m.R = classes::Rect(0, 0, 30, 20);
        m.Manager = sm;
        sm->Masks.push_back(std::move(m));
        return static_cast<int>(sm->Masks.size()) - 1;
    }
    int AddPattern(const std::string& section, const std::string& name) {
        TsPatternData p;
        p.Img = std::make_unique<classes::TJPEGImage>();
        p.ClassName = section;
        p.PropertyName = name;
        sm->Patterns.push_back(std::move(p));
        return static_cast<int>(sm->Patterns.size()) - 1;
    }

    ManagerHost host;
    TsSkinManager* sm = nullptr;
};

}

TEST_F(Lookups, SkinIndexIsTheFirstSectionOfExactlyThatName) {
    AddSection("FORM");
    const int button = AddSection("BUTTON");
    AddSection("BUTTON");
    EXPECT_EQ(sm->GetSkinIndex("BUTTON"), button);
    EXPECT_EQ(sm->GetSkinIndex("button"), -1);
    EXPECT_EQ(sm->GetSkinIndex("NONE"), -1);
    EXPECT_EQ(sm->GetSkinIndex(""), -1);
}

TEST_F(Lookups, MaskIndexFallsBackToTheParentSection) {
    const int button = AddSection("BUTTON");
    const int small = AddSection("BUTTON_SMALL", "BUTTON");
    const int mask = AddImage("BUTTON", "BORDERSMASK");
    EXPECT_EQ(sm->GetMaskIndex(small, "BUTTON_SMALL", "BORDERSMASK"), mask);
    EXPECT_EQ(sm->GetMaskIndex(button, "BUTTON", "BORDERSMASK"), mask);
    EXPECT_EQ(sm->GetMaskIndex(small, "BUTTON_SMALL", "GLYPHMASK"), -1);
}

TEST_F(Lookups, MaskIndexFollowsALongParentChain) {
    AddSection("A");
    AddSection("B", "A");
    const int c = AddSection("C", "B");
    const int mask = AddImage("A", "PATTERN");
    EXPECT_EQ(sm->GetMaskIndex(c, "C", "PATTERN"), mask);
}

TEST_F(Lookups, MaskIndexWithoutSkinIndexIsNoneButTheExactLookupFindsIt) {
    AddSection("BUTTON");
    AddSection("BUTTON_SMALL", "BUTTON");
    const int own = AddImage("BUTTON_SMALL", "BORDERSMASK");
    EXPECT_EQ(sm->GetMaskIndex(-1, "BUTTON_SMALL", "BORDERSMASK"), -1);
    EXPECT_EQ(sm->GetMaskIndexExact("BUTTON_SMALL", "BORDERSMASK"), own);
    EXPECT_EQ(sm->GetMaskIndexExact("", "BORDERSMASK"), -1);
    EXPECT_EQ(sm->GetMaskIndexExact("button_small", "BORDERSMASK"), -1);
}

TEST_F(Lookups, MaskIndexWithAnEmptySectionNameIsNone) {
    const int button = AddSection("BUTTON");
    AddImage("", "BORDERSMASK");
    EXPECT_EQ(sm->GetMaskIndex(button, "", "BORDERSMASK"), -1);
}

TEST_F(Lookups, TheImageLoadedFirstWinsAmongDuplicates) {
    const int button = AddSection("BUTTON");
    const int first = AddImage("BUTTON", "BORDERSMASK");
    AddImage("BUTTON", "BORDERSMASK");
    EXPECT_EQ(sm->GetMaskIndex(button, "BUTTON", "BORDERSMASK"), first);
    EXPECT_EQ(sm->GetMaskIndexExact("BUTTON", "BORDERSMASK"), first);
}

TEST_F(Lookups, ASectionThatIsItsOwnParentFindsNothing) {
    const int self = AddSection("SELF", "SELF");
    EXPECT_EQ(sm->GetMaskIndex(self, "SELF", "BORDERSMASK"), -1);
}

TEST_F(Lookups, AParentCycleEndsTheSearch) {
    const int a = AddSection("A", "B");
    AddSection("B", "A");
    EXPECT_EQ(sm->GetMaskIndex(a, "A", "BORDERSMASK"), -1);
    EXPECT_EQ(sm->GetTextureIndex(a, "A", "PATTERN"), -1);
    AddPattern("X", "PATTERN");
    EXPECT_EQ(sm->GetPatternIndex(a, "A", "PATTERN"), -1);
}

TEST_F(Lookups, ACycleFurtherUpTheChainEndsTheSearch) {
    const int a = AddSection("A", "B");
    AddSection("B", "C");
    AddSection("C", "B");
    EXPECT_EQ(sm->GetMaskIndex(a, "A", "BORDERSMASK"), -1);
}

// Each step of the walk costs a hash look-up: a chain of 100 000 sections takes moments, where a scan of the
// sections per step would take hours; a loop at the chain's end still ends the search.
TEST_F(Lookups, ALookUpWalksAVeryLongChainOnceAndALoopAtItsEndEndsIt) {
    constexpr int length = 100000;
    AddSection("LOOPA", "LOOPB");
    AddSection("LOOPB", "LOOPA");
    AddSection("S0", "LOOPA");
    for (int i = 1; i < length; ++i)
        AddSection("S" + std::to_string(i), "S" + std::to_string(i - 1));
    const std::string last = "S" + std::to_string(length - 1);
    const int lastIndex = sm->GetSkinIndex(last);
    ASSERT_EQ(lastIndex, length + 1);
    const int mask = AddImage("S0", "BORDERSMASK");
    const int texture = AddImage("S1", "PATTERN", itisaTexture);
    const int pattern = AddPattern("S2", "HOTPATTERN");
    EXPECT_EQ(sm->GetMaskIndex(lastIndex, last, "BORDERSMASK"), mask);
    EXPECT_EQ(sm->GetTextureIndex(lastIndex, last, "PATTERN"), texture);
    EXPECT_EQ(sm->GetPatternIndex(lastIndex, last, "HOTPATTERN"), pattern);
    EXPECT_EQ(sm->GetMaskIndex(lastIndex, last, "GLYPHMASK"), -1);   // through the chain into the loop
    EXPECT_EQ(sm->GetPatternIndex(lastIndex, last, "PATTERN"), -1);
}

TEST_F(Lookups, AParentThatIsNoSectionEndsTheSearch) {
    const int a = AddSection("A", "MISSING");
    AddImage("MISSING", "BORDERSMASK");
    EXPECT_EQ(sm->GetMaskIndex(a, "A", "BORDERSMASK"), -1);
}

TEST_F(Lookups, ASkinIndexOutsideTheSectionsEndsWithNone) {
    AddSection("A");
    EXPECT_EQ(sm->GetMaskIndex(57, "A", "BORDERSMASK"), -1);
    const int own = AddImage("A", "BORDERSMASK");
    EXPECT_EQ(sm->GetMaskIndex(57, "A", "BORDERSMASK"), own);   // found before the index is used
}

TEST_F(Lookups, TextureIndexCountsTexturesOnly) {
    AddSection("PANEL");
    const int low = AddSection("PANEL_LOW", "PANEL");
    AddImage("PANEL_LOW", "PATTERN", itisaBorder);
    const int texture = AddImage("PANEL", "PATTERN", itisaTexture);
    EXPECT_EQ(sm->GetTextureIndex(low, "PANEL_LOW", "PATTERN"), texture);
    EXPECT_EQ(sm->GetMaskIndex(low, "PANEL_LOW", "PATTERN"), 0);
}

TEST_F(Lookups, TextureAndPatternIndexesOfEmptyTablesAreNone) {
    const int panel = AddSection("PANEL");
    EXPECT_EQ(sm->GetTextureIndex(panel, "PANEL", "PATTERN"), -1);
    EXPECT_EQ(sm->GetPatternIndex(panel, "PANEL", "PATTERN"), -1);
}

TEST_F(Lookups, PatternIndexFallsBackToTheParent) {
    AddSection("FORM");
    const int dialog = AddSection("DIALOG", "FORM");
    AddPattern("FORM", "HOTPATTERN");
    const int pattern = AddPattern("FORM", "PATTERN");
    EXPECT_EQ(sm->GetPatternIndex(dialog, "DIALOG", "PATTERN"), pattern);
}

TEST_F(Lookups, IndexValidityFollowsTheTableSizes) {
    AddSection("A");
    AddImage("A", "X");
    AddImage("A", "Y");
    EXPECT_TRUE(sm->IsValidSkinIndex(0));
    EXPECT_FALSE(sm->IsValidSkinIndex(1));
    EXPECT_FALSE(sm->IsValidSkinIndex(-1));
    EXPECT_TRUE(sm->IsValidImgIndex(1));
    EXPECT_FALSE(sm->IsValidImgIndex(2));
    EXPECT_FALSE(sm->IsValidImgIndex(-1));
}

TEST_F(Lookups, FrameSizeOfAnOwnBitmapIsAThirdByAHalf) {
    TsMaskData m;
    m.Bmp = MakeBitmap(90, 40, 0);
    m.ImageCount = 1;   // own bitmaps always carry three states over a mask row
    sm->Masks.push_back(std::move(m));
    const classes::TSize size = sm->GetMaskFrameSize(0);
    EXPECT_EQ(size.cx, 30);
    EXPECT_EQ(size.cy, 20);
}

TEST_F(Lookups, FrameSizeOfAMasterRectangleDividesByStatesAndMaskRows) {
    TsMaskData m;
    m.R = classes::Rect(0, 189, 63, 231);
    m.ImageCount = 3;
    m.MaskType = 1;
    sm->Masks.push_back(std::move(m));
    int w = 0, h = 0;
    sm->GetMaskFrameSize(0, w, h);
    EXPECT_EQ(w, 21);
    EXPECT_EQ(h, 21);
    sm->GetMaskFrameSize(5, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST_F(Lookups, GlobalColoursWithoutGlobalInfo) {
    AddSection("FORM");
    sm->UpdateConstData();
    EXPECT_EQ(sm->GetGlobalFontColor(), 0xFF00FF);
    EXPECT_EQ(sm->GetGlobalColor(), classes::ColorToRGB(classes::clBtnFace));
}

TEST_F(Lookups, GlobalColoursComeFromGlobalInfo) {
    const int g = AddSection("GLOBALINFO");
    sm->Sections[g].Color = classes::clBtnFace;
    sm->Sections[g].FontColor[1] = 0x123456;
    sm->UpdateConstData();
    EXPECT_EQ(sm->ConstData.GlobalInfo, g);
    EXPECT_EQ(sm->GetGlobalColor(), classes::ColorToRGB(classes::clBtnFace));
    EXPECT_EQ(sm->GetGlobalFontColor(), 0x123456);
}

TEST_F(Lookups, ConstDataOfATabMaskWithoutItsSectionIsNone) {
    const int top = AddSection("TABTOP");
    const int topMask = AddImage("TABTOP", "BORDERSMASK");
    AddImage("TABBOTTOM", "BORDERSMASK");
    sm->UpdateConstData();
    EXPECT_EQ(sm->ConstData.TabSection[1], top);
    EXPECT_EQ(sm->ConstData.TabMask[1], topMask);
    EXPECT_EQ(sm->ConstData.TabSection[2], -1);
    EXPECT_EQ(sm->ConstData.TabMask[2], -1);
}

TEST_F(Lookups, ConstDataFindsCheckImagesScrollPartsAndInheritedMasks) {
    const int g = AddSection("GLOBALINFO");
    const int radio = AddImage("GLOBALINFO", "RADIOCHECKED");
    AddSection("SCROLLBTNTOP");
    const int btnMask = AddImage("SCROLLBTNTOP", "BORDERSMASK");
    const int glyph = AddImage("SCROLLBTNTOP", "GLYPHMASK");
    AddSection("SCROLLSLIDERH", "SCROLLBTNTOP");
    AddSection("SCROLLBAR2V");
    const int hot = AddImage("SCROLLBAR2V", "HOTPATTERN", itisaTexture);
    sm->UpdateConstData();
    const TConstantSkinData& c = sm->ConstData;
    EXPECT_EQ(c.GlobalInfo, g);
    EXPECT_EQ(c.CheckMask[4], radio);
    EXPECT_EQ(c.CheckMask[1], -1);
    EXPECT_EQ(c.ScrollBtnMask[1], btnMask);
    EXPECT_EQ(c.ScrollBtnGlyph[1], glyph);
    EXPECT_EQ(c.ScrollBtnMask[2], -1);
    EXPECT_EQ(c.SliderMaskH, btnMask);   // through the parent
    EXPECT_EQ(c.SliderGlyphH, glyph);
    EXPECT_EQ(c.SliderSectionV, -1);
    EXPECT_EQ(c.ScrollBarHotPattern[4], hot);
    EXPECT_EQ(c.ScrollBarPattern[4], -1);
}

TEST_F(Lookups, ConstDataIsAllNoneWithEmptyTables) {
    sm->UpdateConstData();
    const TConstantSkinData& c = sm->ConstData;
    EXPECT_EQ(c.GlobalInfo, -1);
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(c.CheckMask[i], -1);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(c.TabSection[i], -1);
        EXPECT_EQ(c.ScrollBtnPattern[i], -1);
        EXPECT_EQ(c.ScrollBarSection[i], -1);
    }
    EXPECT_EQ(c.SliderHotPatternV, -1);
}

TEST_F(Lookups, RemovingTheSkinEmptiesEveryTable) {
    AddSection("A");
    AddImage("A", "X");
    AddPattern("A", "PATTERN");
    sm->MasterBitmap = MakeBitmap(2, 2, 0);
    sm->SendRemoveSkin();
    EXPECT_TRUE(sm->Sections.empty());
    EXPECT_TRUE(sm->Masks.empty());
    EXPECT_TRUE(sm->Patterns.empty());
    EXPECT_EQ(sm->MasterBitmap, nullptr);
    EXPECT_FALSE(sm->LoadedSkin.Active);
}
