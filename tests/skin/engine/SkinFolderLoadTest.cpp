// Loading a skin folder: "Options.dat" sections with inheritance, every image form, JPEG patterns, the skin
// directory, CommonSections and the faults of bad numbers, bad pictures and empty rectangles.
#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "platform/classes/TStringList.h"
#include "platform/os/ProgramFolder.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sParentCache.h"
#include "skin/engine/sSkinManager.h"

#include "support/SkinFixtures.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::test;

namespace {

class FolderLoad : public ::testing::Test {
protected:
    void SetUp() override { sm = host.NewManager(); }

    // Writes a skin "Test" with the minimal sections followed by `extra`, and loads it.
    void Load(const OptionsText& options, bool withMaster = true) {
        SkinFolder folder {temp.Path(), "Test"};
        folder.WriteOptions(options);
        if (withMaster) folder.WriteMaster(120, 60);
        LoadFolderSkin(*sm, temp.Path(), "Test");
    }
    const TsGeneralData& Section(const std::string& name) {
        const int index = sm->GetSkinIndex(name);
        EXPECT_GE(index, 0) << name;
        return sm->Sections.at(static_cast<std::size_t>(std::max(index, 0)));
    }
    const TsMaskData* Image(const std::string& section, const std::string& name) {
        const int index = sm->GetMaskIndexExact(section, name);
        return index < 0 ? nullptr : &sm->Masks[static_cast<std::size_t>(index)];
    }

    TempFolder temp;
    ManagerHost host;
    TsSkinManager* sm = nullptr;
};

}

TEST_F(FolderLoad, AMinimalSkinFillsTheTablesAndIsAnnounced) {
    bool before = false, after = false;
    sm->OnBeforeChange = [&](classes::TObject*) { before = true; };
    sm->OnAfterChange = [&](classes::TObject*) { after = SkinChanging == false; };
    MakeMinimalSkin(temp.Path(), "Test");
    LoadFolderSkin(*sm, temp.Path(), "Test");

    EXPECT_TRUE(before);
    EXPECT_TRUE(after);
    EXPECT_FALSE(SkinChanging);
    EXPECT_TRUE(sm->LoadedSkin.Active);
    EXPECT_EQ(sm->LoadedSkin.SkinPath, temp.Path() + "/Test/");
    EXPECT_DOUBLE_EQ(sm->LoadedSkin.Version, 4.5);
    EXPECT_EQ(sm->LoadedSkin.Author, "Test");
    EXPECT_EQ(sm->LoadedSkin.Shadow1Blur, -1);
    EXPECT_EQ(sm->SkinInfo(), "4.5");
    ASSERT_NE(sm->MasterBitmap, nullptr);
    EXPECT_EQ(sm->MasterBitmap->Width(), 120);
    EXPECT_EQ(sm->MasterBitmap->PixelFormat(), classes::pf24bit);
    EXPECT_EQ(sm->MasterBitmap->TransparentColor(), 0xFF00FF);

    ASSERT_EQ(sm->Sections.size(), 3u);
    EXPECT_EQ(sm->Sections[0].ClassName, "GLOBALINFO");
    EXPECT_EQ(sm->ConstData.GlobalInfo, 0);
    EXPECT_EQ(sm->GetGlobalFontColor(), 255);
    const TsGeneralData& button = Section("BUTTON");
    EXPECT_EQ(button.Color, 0x00FF00);
    EXPECT_EQ(button.ShadowBlur, 6);
    EXPECT_EQ(button.ShadowTransparency, 50);
    EXPECT_EQ(button.FontColor[2], -1);
    EXPECT_EQ(button.FadingIterations, 5);
    EXPECT_EQ(button.HotColor, 0xFFFFFF);
    EXPECT_EQ(button.GradientData, " ");
    EXPECT_TRUE(button.GradientArray.empty());
    EXPECT_EQ(Section("BUTTON_SMALL").Color, 0x00FF00);

    const TsMaskData* mask = Image("BUTTON", "BORDERSMASK");
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->R.right, 60);
    EXPECT_EQ(mask->ImageCount, 3);
    EXPECT_EQ(mask->MaskType, 1);
    EXPECT_EQ(mask->BorderWidth, 2);
    EXPECT_EQ(mask->StretchMode, 1);
    EXPECT_EQ(mask->ImgType, itisaBorder);
    EXPECT_EQ(mask->Manager, sm);
    const int small = sm->GetSkinIndex("BUTTON_SMALL");
    EXPECT_EQ(sm->GetMaskIndex(small, "BUTTON_SMALL", "BORDERSMASK"), sm->GetMaskIndexExact("BUTTON", "BORDERSMASK"));

    ASSERT_FALSE(host.Commands().empty());
    EXPECT_EQ(host.Commands()[0].second, SMC_NEWSKIN);
}

TEST_F(FolderLoad, EveryImageFormGivesItsFields) {
    SkinFolder folder {temp.Path(), "Test"};
    WriteBmp(folder.File("GLYPH.BMP"), 30, 20, 0x0000FF);
    WriteBmp(folder.File("TEX.BMP"), 8, 8, 0x00FF00);
    WriteBmp(folder.File("BTN.bmp"), 90, 40, 0xFF0000);
    OptionsText o = MinimalOptions();
    o.Section("Mixed")
        .Key("Tex", "~0010,0020,0030,0040,01,1")
        .Key("TexShort", "~0010,0020,0030,0040,02")
        .Key("Glyph", "@0010,0020,0040,0030,3,1")
        .Key("Border", "^0000,0000,0060,0030,0001,0002,0003,0004,3,1,1,5")
        .Key("Own", "!GLYPH.BMP!3!1!2")
        .Key("OwnTexture", "!TEX.BMP!1!0!1")
        .Key("pattern", "# (10,10,20,20) (0,-1)")
        .Key("Lone", "#")
        .Key("GlyphMask", "BTN.bmp")
        .Key("Missing", "NOFILE.BMP")
        .Key("Caption", "Just text");
    Load(o);

    const TsMaskData* tex = Image("Mixed", "Tex");
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->ImgType, itisaTexture);
    EXPECT_EQ(tex->R.left, 10);
    EXPECT_EQ(tex->R.top, 20);
    EXPECT_EQ(tex->R.right, 30);
    EXPECT_EQ(tex->R.bottom, 40);
    EXPECT_EQ(tex->StretchMode, 1);
    EXPECT_EQ(tex->MaskType, 1);
    EXPECT_EQ(tex->ImageCount, 1);
    ASSERT_NE(Image("Mixed", "TexShort"), nullptr);
    EXPECT_EQ(Image("Mixed", "TexShort")->MaskType, 0);
    EXPECT_EQ(Image("Mixed", "TexShort")->StretchMode, 2);

    const TsMaskData* glyph = Image("Mixed", "Glyph");
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(glyph->ImgType, itisaGlyph);
    EXPECT_EQ(glyph->ImageCount, 3);
    EXPECT_EQ(glyph->MaskType, 1);

    const TsMaskData* border = Image("Mixed", "Border");
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(border->ImgType, itisaBorder);
    EXPECT_EQ(border->Margins[1], 1);
    EXPECT_EQ(border->Margins[4], 4);
    EXPECT_EQ(border->ImageCount, 3);
    EXPECT_EQ(border->StretchMode, 1);
    EXPECT_EQ(border->BorderWidth, 5);

    const TsMaskData* own = Image("Mixed", "Own");
    ASSERT_NE(own, nullptr);
    ASSERT_NE(own->Bmp, nullptr);
    EXPECT_EQ(own->ImgType, itisaGlyph);
    EXPECT_EQ(own->R.right, 30);
    EXPECT_EQ(own->R.bottom, 20);
    EXPECT_EQ(own->Bmp->PixelFormat(), classes::pf24bit);
    ASSERT_NE(Image("Mixed", "OwnTexture"), nullptr);
    EXPECT_EQ(Image("Mixed", "OwnTexture")->ImgType, itisaTexture);

    const TsMaskData* pattern = Image("MIXED", "PATTERN");
    ASSERT_NE(pattern, nullptr);
    EXPECT_EQ(pattern->ImgType, itisaTexture);
    EXPECT_EQ(pattern->ImageCount, 1);
    EXPECT_EQ(pattern->MaskType, 0);
    EXPECT_EQ(pattern->StretchMode, 0);

    const TsMaskData* file = Image("MIXED", "GLYPHMASK");
    ASSERT_NE(file, nullptr);
    ASSERT_NE(file->Bmp, nullptr);
    EXPECT_EQ(file->ImageCount, 3);
    EXPECT_EQ(file->MaskType, 1);
    EXPECT_EQ(sm->GetMaskFrameSize(sm->GetMaskIndexExact("MIXED", "GLYPHMASK")).cx, 30);

    EXPECT_EQ(Image("MIXED", "LONE"), nullptr);
    EXPECT_EQ(Image("MIXED", "MISSING"), nullptr);
    EXPECT_EQ(Image("Mixed", "Caption"), nullptr);
    EXPECT_EQ(Image("GLOBALINFO", "MASTERBITMAP"), nullptr);
}

TEST_F(FolderLoad, ValuesAreInheritedThroughParentClass) {
    OptionsText o = MinimalOptions();
    o.Section("PANEL")
        .Key("COLOR", "4210752")
        .Key("SHADOWCOLOR", "255")
        .Key("SHOWFOCUS", "true")
        .Key("GRADIENTDATA", "0;16777215;100;0;0")
        .Key("TCLEFT", "128");
    o.Section("PANEL_LOW").Key("PARENTCLASS", "PANEL");
    o.Section("PANEL_MINUS").Key("PARENTCLASS", "PANEL").Key("COLOR", "-1");
    o.Section("PANEL_DEEP").Key("PARENTCLASS", "PANEL_LOW").Key("FONTCOLOR", "77");
    o.Section("ORPHAN").Key("PARENTCLASS", "NOSUCH");
    o.Section("LOOP_A").Key("PARENTCLASS", "LOOP_B");
    o.Section("LOOP_B").Key("PARENTCLASS", "loop_a");
    o.Section("SYSTEM").Key("COLOR", "0xFF00000F");
    Load(o);

    const TsGeneralData& low = Section("PANEL_LOW");
    EXPECT_EQ(low.ParentClass, "PANEL");
    EXPECT_EQ(low.Color, 4210752);
    EXPECT_EQ(low.ShadowColor, 0);   // never inherited
    EXPECT_TRUE(low.ShowFocus);
    EXPECT_EQ(low.FontColor[2], 128);
    ASSERT_EQ(low.GradientArray.size(), 1u);
    EXPECT_EQ(low.GradientArray[0].Color2, 16777215);
    EXPECT_EQ(Section("PANEL_MINUS").Color, 4210752);
    EXPECT_EQ(Section("PANEL_DEEP").Color, 4210752);
    EXPECT_EQ(Section("PANEL_DEEP").FontColor[1], 77);
    EXPECT_EQ(Section("ORPHAN").Color, 0xFFFFFF);
    EXPECT_EQ(Section("ORPHAN").ShadowOffset, 3);
    EXPECT_EQ(Section("LOOP_A").Color, 0xFFFFFF);   // the cycle counts as missing
    EXPECT_EQ(Section("LOOP_B").FadingIntervalIn, 5);
    EXPECT_EQ(Section("SYSTEM").Color, classes::ColorToRGB(classes::clBtnFace));
}

TEST_F(FolderLoad, ReadIniValuesOnlyDuringALoad) {
    EXPECT_EQ(sm->ReadIniInteger("BUTTON", "COLOR", 9), 9);
    EXPECT_EQ(sm->ReadIniString("BUTTON", "COLOR", "none"), "none");
}

TEST_F(FolderLoad, BadNumbersSkipTheirEntryAndTheLoadFinishes) {
    OptionsText o = MinimalOptions();
    o.Section("GLOBALINFO").Key("SHADOW1BLUR", "abc").Key("SHADOW1OFFSET", "5x").Key("SHADOW1TRANSPARENCY", "40");
    o.Section("BAD")
        .Key("DESCRIPTION", "Skin #2")
        .Key("Tex", "~00x0,0020,0030,0040,01")
        .Key("Glyph", "@0010,0020")
        .Key("Own", "!GLYPH.BMP!x!1!0")
        .Key("BORDERSMASK", "# (0,0,60,30) (three,1)")
        .Key("GLYPHMASK", "# (0,0,60,b) (3,1)")
        .Key("GRADIENTDATA", "1;2;50;0;0;oops;4;50;0;0")
        .Key("HOTGRADIENTDATA", "x;2;50;0;0")
        .Key("COLOR", "blue");
    o.Section("AFTER").Key("BORDERSMASK", "# (0,0,60,30) (3,1)");
    WriteBmp(temp / "Test/GLYPH.BMP", 30, 20, 0);
    Load(o);

    EXPECT_FALSE(SkinChanging);
    EXPECT_TRUE(sm->LoadedSkin.Active);
    // [GLOBALINFO] appears twice; the first section's values are read
    EXPECT_EQ(sm->LoadedSkin.Shadow1Blur, -1);
    EXPECT_EQ(sm->LoadedSkin.Shadow1Offset, 0);
    EXPECT_EQ(sm->Masks.size(), 2u);   // BUTTON's and AFTER's
    EXPECT_NE(Image("AFTER", "BORDERSMASK"), nullptr);
    const TsGeneralData& bad = Section("BAD");
    EXPECT_EQ(bad.GradientArray.size(), 1u);
    EXPECT_TRUE(bad.HotGradientArray.empty());
    EXPECT_EQ(bad.Color, 0xFFFFFF);
    ASSERT_FALSE(host.Commands().empty());
    EXPECT_EQ(host.Commands()[0].second, SMC_NEWSKIN);
}

TEST_F(FolderLoad, BadGlobalNumbersGetTheirDefaults) {
    OptionsText o;
    o.Section("GLOBALINFO")
        .Key("VERSION", "4,5")
        .Key("SHADOW1COLOR", "0x10")
        .Key("SHADOW1BLUR", "")
        .Key("SHADOW1OFFSET", " 7")
        .Key("SHADOW1TRANSPARENCY", "1e2");
    Load(o, false);
    EXPECT_EQ(sm->LoadedSkin.Version, 0);
    EXPECT_EQ(sm->LoadedSkin.Shadow1Color, 0);
    EXPECT_EQ(sm->LoadedSkin.Shadow1Blur, -1);
    EXPECT_EQ(sm->LoadedSkin.Shadow1Offset, 7);
    EXPECT_EQ(sm->LoadedSkin.Shadow1Transparency, 0);
    EXPECT_EQ(sm->MasterBitmap, nullptr);
}

TEST_F(FolderLoad, CountsOfZeroAndNegativeMasksAreClamped) {
    OptionsText o = MinimalOptions();
    o.Section("CLAMP")
        .Key("Glyph", "@0010,0020,0040,0030,0,0")
        .Key("Border", "^0000,0000,0060,0030,0001,0002,0003,0004,0,0,1,5")
        .Key("Own", "!GLYPH.BMP!0!-3!0")
        .Key("Rect", "# (0,0,60,30) (-2,-1,-5)");
    WriteBmp(temp / "Test/GLYPH.BMP", 30, 20, 0);
    Load(o);
    for (const char* name : {"Glyph", "Border", "Own"}) {
        const TsMaskData* m = Image("CLAMP", name);
        ASSERT_NE(m, nullptr) << name;
        EXPECT_EQ(m->ImageCount, 1) << name;
        EXPECT_EQ(m->MaskType, 0) << name;
    }
    const TsMaskData* rect = Image("CLAMP", "RECT");
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->ImageCount, 1);
    EXPECT_EQ(rect->MaskType, 0);
    EXPECT_EQ(rect->BorderWidth, 0);
}

TEST_F(FolderLoad, EmptyRectanglesAndUnreadablePicturesAreDropped) {
    OptionsText o = MinimalOptions();
    o.Section("EMPTY")
        .Key("Flat", "# (10,10,10,20) (1,0)")
        .Key("Inverted", "# (10,20,30,10) (1,0)")
        .Key("Tex", "~0010,0020,0010,0040,01")
        .Key("Broken", "BROKEN.BMP")
        .Key("Zero", "!ZERO.BMP!1!0!0");
    WriteTextFile(temp / "Test/BROKEN.BMP", "not a bitmap");
    WriteBmp(temp / "Test/ZERO.BMP", 0, 0, 0);
    Load(o);
    for (const char* name : {"FLAT", "INVERTED", "Tex", "BROKEN", "Zero"}) {
        EXPECT_EQ(Image("EMPTY", name), nullptr) << name;
        EXPECT_EQ(Image("Empty", name), nullptr) << name;
    }
    EXPECT_TRUE(sm->LoadedSkin.Active);
}

TEST_F(FolderLoad, AnUnreadableMasterBitmapLeavesNone) {
    SkinFolder folder {temp.Path(), "Test"};
    folder.WriteOptions(MinimalOptions());
    WriteTextFile(folder.File("MASTER.BMP"), "BM garbage");
    LoadFolderSkin(*sm, temp.Path(), "Test");
    EXPECT_EQ(sm->MasterBitmap, nullptr);
    EXPECT_NE(Image("BUTTON", "BORDERSMASK"), nullptr);   // still made from "Options.dat"
}

TEST_F(FolderLoad, AMissingMasterBitmapStillGivesRectangleImagesButNoCommonOnes) {
    auto common = std::make_unique<classes::TStringList>();
    common->Add("[EXTRA]");
    common->Add("BORDERSMASK=# (0,0,10,10) (1,0)");
    sm->SetCommonSections(common.get());
    Load(MinimalOptions(), false);
    EXPECT_EQ(sm->MasterBitmap, nullptr);
    EXPECT_NE(Image("BUTTON", "BORDERSMASK"), nullptr);
    EXPECT_EQ(Image("EXTRA", "BORDERSMASK"), nullptr);
}

TEST_F(FolderLoad, SmallJpegsBecomeTexturesAndLargeOnesStayPatterns) {
    SkinFolder folder {temp.Path(), "Test"};
    WriteJpeg(folder.File("BIG.JPG"), 300, 300, 0x808080);
    WriteJpeg(folder.File("small.jpeg"), 299, 300, 0x808080);
    WriteTextFile(folder.File("BAD.JPG"), "no jpeg");
    OptionsText o = MinimalOptions();
    o.Section("Form").Key("Pattern", "BIG.JPG").Key("HotPattern", "small.jpeg").Key("Other", "BAD.JPG");
    o.Section("Gone").Key("Pattern", "MISSING.JPG");
    Load(o);

    ASSERT_EQ(sm->Patterns.size(), 1u);
    EXPECT_EQ(sm->Patterns[0].ClassName, "FORM");
    EXPECT_EQ(sm->Patterns[0].PropertyName, "PATTERN");
    EXPECT_EQ(sm->Patterns[0].Img->Width(), 300);
    const int form = sm->GetSkinIndex("Form");
    EXPECT_EQ(sm->GetPatternIndex(form, "FORM", "PATTERN"), 0);
    EXPECT_EQ(sm->GetPatternIndex(form, "Form", "PATTERN"), -1);   // patterns keep the upper-cased section
    const TsMaskData* texture = Image("FORM", "HOTPATTERN");
    ASSERT_NE(texture, nullptr);
    ASSERT_NE(texture->Bmp, nullptr);
    EXPECT_EQ(texture->ImgType, itisaTexture);
    EXPECT_EQ(texture->Bmp->Width(), 299);
    EXPECT_EQ(texture->Bmp->PixelFormat(), classes::pf24bit);
    EXPECT_EQ(texture->R.right, 299);
    EXPECT_EQ(texture->R.bottom, 300);
    EXPECT_EQ(Image("FORM", "OTHER"), nullptr);
}

TEST_F(FolderLoad, CommonSectionsAddSectionsImagesAndPatterns) {
    WriteBmp(temp / "extra.bmp", 12, 6, 0x00FF00);
    WriteJpeg(temp / "tiny.jpg", 4, 4, 0xFF0000);
    auto common = std::make_unique<classes::TStringList>();
    common->Add("; a comment keeps its blanks");
    common->Add("[MYPANEL]");
    common->Add("PARENTCLASS = panel");
    common->Add("COLOR = 255");
    common->Add("BORDERSMASK=# (0,0,10,10) (1,0)");
    common->Add("GLYPHMASK=" + temp.Path() + "/extra.bmp");
    common->Add("PATTERN=" + temp.Path() + "/tiny.jpg");
    common->Add("[GLOBALINFO]");
    common->Add("EXTRA=# (0,0,10,10) (1,0)");
    sm->SetCommonSections(common.get());
    EXPECT_EQ(sm->CommonSections()->Strings(0), "; a comment keeps its blanks");
    EXPECT_EQ(sm->CommonSections()->Strings(2), "PARENTCLASS=panel");

    OptionsText o = MinimalOptions();
    o.Section("PANEL").Key("FONTCOLOR", "4242").Key("SHADOWCOLOR", "99").Key("SHOWFOCUS", "TRUE");
    Load(o);

    const TsGeneralData& mine = Section("MYPANEL");
    EXPECT_EQ(mine.ParentClass, "PANEL");
    EXPECT_EQ(mine.Color, 255);
    EXPECT_EQ(mine.FontColor[1], 4242);
    EXPECT_EQ(mine.ShadowColor, 99);   // taken from the parent here
    EXPECT_TRUE(mine.ShowFocus);
    EXPECT_EQ(sm->Sections.back().ClassName, "GLOBALINFO");   // appended again
    EXPECT_NE(Image("MYPANEL", "BORDERSMASK"), nullptr);
    EXPECT_NE(Image("MYPANEL", "GLYPHMASK"), nullptr);
    EXPECT_EQ(Image("GLOBALINFO", "EXTRA"), nullptr);
    ASSERT_EQ(sm->Patterns.size(), 1u);   // small, but no texture in this pass
    EXPECT_EQ(sm->Patterns[0].ClassName, "MYPANEL");
}

TEST_F(FolderLoad, CommonSectionsWithoutParentTakeTheDefaults) {
    auto common = std::make_unique<classes::TStringList>();
    common->Add("[Lonely]");
    common->Add("HOTCOLOR=0x10");
    sm->SetCommonSections(common.get());
    Load(MinimalOptions());
    const TsGeneralData& lonely = Section("Lonely");
    EXPECT_EQ(lonely.HotColor, 16);
    EXPECT_EQ(lonely.Color, 0xFFFFFF);
    EXPECT_EQ(lonely.ShadowBlur, 6);
    EXPECT_EQ(lonely.FontColor[3], -1);
}

TEST_F(FolderLoad, TheSkinDirectoryResolvesAgainstTheProgramFolder) {
    os::SetProgramFolderForTests(temp / "Prog/Mon");
    struct Case {
        const char* Directory;
        std::string Expected;
    };
    const Case cases[] = {
        {"..\\Skins", temp / "Prog/Skins"},
        {"../Skins", temp / "Prog/Skins"},
        {".\\Skins", temp / "Prog/Mon/Skins"},
        {"./Skins", temp / "Prog/Mon/Skins"},
        {"D:\\Skins", "D:\\Skins"},
        {"Skins", temp / "Prog/Mon/Skins"},
        {"/srv/skins", "/srv/skins"},
    };
    for (const Case& c : cases) {
        sm->SetSkinDirectory(c.Directory);
        EXPECT_EQ(sm->GetFullSkinDirectory(), c.Expected) << c.Directory;
    }
    os::SetProgramFolderForTests("");
}

TEST_F(FolderLoad, SkinFoldersAreFoundWithoutCase) {
    os::SetProgramFolderForTests(temp / "Prog/Mon");
    MakeMinimalSkin(temp / "Prog/skins", "blue");
    sm->SetSkinDirectory("..\\SKINS");
    sm->SetSkinName("Blue");
    sm->SetActive(true);
    os::SetProgramFolderForTests("");
    EXPECT_EQ(sm->SkinName(), "Blue");
    EXPECT_EQ(sm->GetSkinIndex("BUTTON"), 1);
    EXPECT_NE(sm->MasterBitmap, nullptr);
}

TEST_F(FolderLoad, AnEmptySkinNameReadsTheOptionsOfTheSkinDirectoryItself) {
    SkinFolder top {temp.Path(), ""};
    top.WriteOptions(MinimalOptions());
    AddStoredSkin(*sm, "Stored (internal)");
    LoadFolderSkin(*sm, temp.Path(), "");
    EXPECT_EQ(sm->SkinName(), "");
    EXPECT_TRUE(sm->LoadedSkin.Active);
    EXPECT_EQ(sm->GetSkinIndex("BUTTON_SMALL"), 2);
    EXPECT_FALSE(sm->LoadedSkin.SkinPath.empty());
}

TEST_F(FolderLoad, WithoutFolderAndStoredSkinsTheManagerTurnsInactive) {
    sm->SetSkinDirectory(temp.Path());
    sm->SetSkinName("Nothing");
    sm->SetActive(true);
    EXPECT_FALSE(sm->Active());
    EXPECT_TRUE(sm->Sections.empty());
    EXPECT_FALSE(SkinChanging);
}

TEST_F(FolderLoad, AnUnknownNameFallsBackToTheFirstStoredSkin) {
    AddStoredSkin(*sm, "First (internal)");
    AddStoredSkin(*sm, "Second (internal)");
    std::string reported;
    sm->OnAfterChange = [&](classes::TObject*) { reported = sm->SkinName(); };
    LoadFolderSkin(*sm, temp.Path(), "Nowhere");
    EXPECT_EQ(sm->SkinName(), "First (internal)");
    EXPECT_EQ(reported, "First (internal)");
    EXPECT_EQ(sm->LoadedSkin.SkinPath, "");
    EXPECT_EQ(sm->GetSkinIndex("BUTTON"), 1);
}

TEST_F(FolderLoad, HueChangesReloadFromTheSourceSoShiftsNeverAccumulate) {
    MakeMinimalSkin(temp.Path(), "Test");
    sm->SetHueOffset(120);   // no skin yet: stored only
    EXPECT_FALSE(SkinChanging);
    EXPECT_TRUE(sm->Sections.empty());
    LoadFolderSkin(*sm, temp.Path(), "Test");
    EXPECT_EQ(Section("BUTTON").Color, ChangeColorHue(120, 0x00FF00));
    host.ClearCommands();
    sm->SetHueOffset(240);
    EXPECT_EQ(Section("BUTTON").Color, ChangeColorHue(240, 0x00FF00));
    sm->SetHueOffset(0);
    EXPECT_EQ(Section("BUTTON").Color, 0x00FF00);
    EXPECT_FALSE(SkinChanging);
    for (const auto& [manager, command] : host.Commands())
        EXPECT_NE(command, SMC_NEWSKIN);
    sm->SetSaturation(-100);
    EXPECT_EQ(Section("BUTTON").Color, 0x555555);
}

TEST_F(FolderLoad, HostileNumbersAndLongParentChainsLoadWhatIsSound) {
    // A chain of sections each naming the next as parent, a loop at its end, and image values whose numbers
    // pass their range: the chain inherits the root's values, the bad images are left out.
    OptionsText options = MinimalOptions();
    options.Section("ROOT").Key("COLOR", "4660").Key("SHADOWENABLED", "true");
    for (int i = 0; i < 3000; ++i)
        options.Section("C" + std::to_string(i)).Key("PARENTCLASS", i == 0 ? "ROOT" : "C" + std::to_string(i - 1));
    options.Section("LOOP1").Key("PARENTCLASS", "LOOP2");
    options.Section("LOOP2").Key("PARENTCLASS", "LOOP1");
    options.Section("BAD")
        .Key("HUGE", "# (0,0,2147483647,60) (3,1)")
        .Key("COUNT", "# (0,0,60,60) (2147483647,1)")
        .Key("MASK", "# (0,0,60,60) (3,65536)")
        .Key("GOOD", "# (0,0,60,60) (3,1)");
    Load(options);
    EXPECT_EQ(Section("C2999").Color, 4660);
    EXPECT_TRUE(Section("C2999").ShadowEnabled);
    EXPECT_EQ(Section("LOOP1").Color, 0xFFFFFF);
    EXPECT_EQ(Image("BAD", "HUGE"), nullptr);
    EXPECT_EQ(Image("BAD", "COUNT"), nullptr);
    EXPECT_EQ(Image("BAD", "MASK"), nullptr);
    EXPECT_NE(Image("BAD", "GOOD"), nullptr);
}

TEST_F(FolderLoad, APictureNamedByManyKeysLoadsIntoEachImage) {
    OptionsText options = MinimalOptions();
    options.Section("PICS");
    for (int i = 0; i < 6; ++i)
        options.Key("K" + std::to_string(i), "SHARED.BMP");
    SkinFolder folder {temp.Path(), "Test"};
    WriteBmp(folder.File("SHARED.BMP"), 90, 40, 0x123456);
    Load(options);
    for (int i = 0; i < 6; ++i) {
        const TsMaskData* image = Image("PICS", "K" + std::to_string(i));
        ASSERT_NE(image, nullptr) << i;
        ASSERT_NE(image->Bmp, nullptr);
        EXPECT_EQ(image->Bmp->Width(), 90);
        for (int j = 0; j < i; ++j)
            EXPECT_NE(Image("PICS", "K" + std::to_string(j))->Bmp.get(), image->Bmp.get());   // each owns its copy
    }
}

// Percentages and transparencies at the ends of the integer range are kept to 0..100 as the skin is read, from
// the folder and from CommonSections, so painting such a section cannot overflow (the sanitizer build checks).
TEST_F(FolderLoad, PercentagesAndTransparenciesAreKeptInTheirRange) {
    const char* const keys[] = {"SHADOWTRANSPARENCY", "TRANSPARENCY", "GRADIENTPERCENT", "IMAGEPERCENT",
        "HOTTRANSPARENCY", "HOTGRADIENTPERCENT", "HOTIMAGEPERCENT"};
    OptionsText options;
    options.Section("GLOBALINFO").Key("MASTERBITMAP", "MASTER.BMP").Key("SHADOW1TRANSPARENCY", "2147483647");
    options.Section("HIGH").Key("GRADIENTDATA", "255;65280;100;0;0").Key("HOTGRADIENTDATA", "255;65280;100;0;0");
    for (const char* key : keys)
        options.Key(key, "2147483647");
    options.Section("LOW");
    for (const char* key : keys)
        options.Key(key, "-2147483648");
    options.Section("INHERITS").Key("PARENTCLASS", "HIGH");
    options.Section("OPAQUE").Key("PARENTCLASS", "HIGH").Key("TRANSPARENCY", "0").Key("HOTTRANSPARENCY", "0");
    auto common = std::make_unique<classes::TStringList>();
    common->Add("[COMMONLOW]");
    for (const char* key : keys)
        common->Add(std::string(key) + "=-2147483647");
    sm->SetCommonSections(common.get());
    Load(options);
    EXPECT_EQ(sm->LoadedSkin.Shadow1Transparency, 100);
    for (const char* name : {"HIGH", "INHERITS", "LOW", "COMMONLOW"}) {
        const TsGeneralData& s = Section(name);
        const int expected = std::string(name) == "HIGH" || std::string(name) == "INHERITS" ? 100 : 0;
        for (int value : {s.ShadowTransparency, s.Transparency, s.GradientPercent, s.ImagePercent, s.HotTransparency,
                 s.HotGradientPercent, s.HotImagePercent})
            EXPECT_EQ(value, expected) << name;
    }
    auto bmp = MakeBitmap(40, 20, 0x123456);
    auto parent = MakeBitmap(60, 40, 0x654321);
    TsParentCacheInfo ci;
    ci.Bmp = parent.get();
    ci.X = 5;
    ci.Y = 5;
    ci.Ready = true;
    for (const char* name : {"OPAQUE", "LOW", "COMMONLOW", "HIGH"})
        for (int state : {1, 0})
            FillSectionBackground(sm->GetSkinIndex(name), name, ci, state, classes::TRect {0, 0, 40, 20},
                classes::TPoint {0, 0}, bmp.get(), sm, -1, -1, 0xFF00FF);
    EXPECT_EQ(PixelAt(*bmp, 20, 10), PixelAt(*parent, 25, 15));   // the last, fully transparent, shows the parent
}
