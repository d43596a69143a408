// Skins stored with the main window: the collections, their copy rules, streaming, and loading a stored skin.
#include "platform/base/Exceptions.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TStringList.h"
#include "platform/classes/TWriter.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStoredSkins.h"

#include "support/SkinFixtures.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::test;

namespace {

class StoredSkins : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterStoredSkinClasses();
        sm = host.NewManager();
    }
    void Activate(const std::string& name) {
        sm->SetSkinDirectory(temp.Path());   // holds no skin folders
        sm->SetSkinName(name);
        sm->SetActive(true);
    }
    const TsMaskData* Image(const std::string& section, const std::string& name) {
        const int index = sm->GetMaskIndexExact(section, name);
        return index < 0 ? nullptr : &sm->Masks[static_cast<std::size_t>(index)];
    }
    static std::unique_ptr<classes::TJPEGImage> Jpeg(int width, int height) {
        auto bmp = MakeBitmap(width, height, 0x406080);
        auto jpeg = std::make_unique<classes::TJPEGImage>();
        jpeg->Assign(bmp.get());
        return jpeg;
    }

    TempFolder temp;
    ManagerHost host;
    TsSkinManager* sm = nullptr;
};

}

TEST_F(StoredSkins, IndexOfComparesNamesExactly) {
    AddStoredSkin(*sm, "MacOS (internal)");
    AddStoredSkin(*sm, "LongHorn (internal)");
    EXPECT_EQ(sm->InternalSkins()->IndexOf("LongHorn (internal)"), 1);
    EXPECT_EQ(sm->InternalSkins()->IndexOf("longhorn (internal)"), -1);
    EXPECT_EQ(sm->InternalSkins()->IndexOf(""), -1);
}

TEST_F(StoredSkins, CollectionsCopyOnlyWhenTheSourceIsEmpty) {
    TsStoredSkin* skin = AddStoredSkin(*sm, "A");
    TsSkinGenerals emptyGenerals(nullptr);
    skin->SetGeneralData(&emptyGenerals);
    EXPECT_EQ(skin->GeneralData()->Count(), 0);

    TsSkinGenerals generals(nullptr);
    generals.Add()->SectionName = "X";
    EXPECT_THROW(skin->SetGeneralData(&generals), base::EConvertError);
    TsSkinImages images(nullptr);
    images.Add();
    EXPECT_THROW(skin->SetImages(&images), base::EConvertError);
    TsSkinPatterns patterns(nullptr);
    patterns.Add();
    EXPECT_THROW(skin->SetPatterns(&patterns), base::EConvertError);

    TsStoredSkins other(nullptr);
    sm->SetInternalSkins(&other);
    EXPECT_EQ(sm->InternalSkins()->Count(), 0);
    other.Add()->SetName("B");
    EXPECT_THROW(sm->SetInternalSkins(&other), base::EConvertError);
}

TEST_F(StoredSkins, ItemsOwnTheirPicturesAndCollections) {
    TsStoredSkin* skin = sm->InternalSkins()->Add();
    ASSERT_NE(skin->MasterBitmap(), nullptr);
    EXPECT_TRUE(skin->MasterBitmap()->Empty());
    EXPECT_EQ(skin->Shadow1Blur, -1);
    EXPECT_EQ(skin->GeneralData()->GetOwner(), skin);
    TsSkinImage* image = skin->Images()->Add();
    auto picture = MakeBitmap(4, 2, 0x0000FF);
    image->SetImage(picture.get());
    EXPECT_EQ(image->Image()->Width(), 4);
    EXPECT_NE(image->Image(), picture.get());
}

TEST_F(StoredSkins, TheNamedStoredSkinLoadsWithoutASkinFolder) {
    AddStoredSkin(*sm, "MacOS (internal)");
    TsStoredSkin* longhorn = AddStoredSkin(*sm, "LongHorn (internal)");
    longhorn->Description = "Dark glass";
    Activate("LongHorn (internal)");
    EXPECT_EQ(sm->SkinName(), "LongHorn (internal)");
    EXPECT_EQ(sm->LoadedSkin.SkinPath, "");
    EXPECT_EQ(sm->LoadedSkin.Description, "Dark glass");
    EXPECT_DOUBLE_EQ(sm->LoadedSkin.Version, 5.0);
    EXPECT_EQ(sm->SkinInfo(), "5");
    ASSERT_EQ(sm->Sections.size(), 2u);
    EXPECT_EQ(sm->Sections[1].ClassName, "BUTTON");
    EXPECT_EQ(sm->Sections[1].FontColor[1], 255);
    EXPECT_EQ(sm->Sections[1].GradientArray.size(), 1u);
    ASSERT_NE(sm->MasterBitmap, nullptr);
    EXPECT_EQ(sm->MasterBitmap->PixelFormat(), classes::pf24bit);
    EXPECT_EQ(PixelAt(*sm->MasterBitmap, 5, 5), 0x204080);
    const TsMaskData* mask = Image("BUTTON", "BORDERSMASK");   // image names are upper-cased
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->Bmp, nullptr);
    EXPECT_EQ(mask->R.right, 60);
    EXPECT_EQ(sm->GetMaskFrameSize(0).cx, 20);
    EXPECT_EQ(sm->ConstData.GlobalInfo, 0);
}

TEST_F(StoredSkins, ImageItemsFollowTheCopyRules) {
    TsStoredSkin* skin = AddStoredSkin(*sm, "S");
    TsSkinImage* zero = skin->Images()->Add();
    zero->SectionName = "Edit";
    zero->PropertyName = "BordersMask";
    zero->Right = 30;
    zero->Bottom = 20;
    TsSkinImage* pattern = skin->Images()->Add();
    pattern->SectionName = "PANEL";
    pattern->PropertyName = "PATTERN";
    pattern->Right = pattern->Bottom = 10;
    pattern->ImageCount = 1;
    pattern->StretchMode = 1;
    pattern->ImgType = itisaBorder;
    TsSkinImage* texture = skin->Images()->Add();
    texture->SectionName = "PANEL";
    texture->PropertyName = "HOTPATTERN";
    texture->Right = texture->Bottom = 10;
    texture->ImageCount = 1;
    texture->StretchMode = 1;
    texture->ImgType = itisaTexture;
    TsSkinImage* own = skin->Images()->Add();
    own->SectionName = "GLOBALINFO";
    own->PropertyName = "BICONCLOSE";
    own->Name = "CLOSE.BMP";
    own->ImageCount = 3;
    own->MaskType = 1;
    auto picture = MakeBitmap(48, 32, 0x00FF00);
    picture->SetPixelFormat(classes::pf32bit);
    own->SetImage(picture.get());
    TsSkinImage* empty = skin->Images()->Add();
    empty->SectionName = "GLOBALINFO";
    empty->PropertyName = "EMPTY";
    empty->Name = "EMPTY.BMP";
    TsSkinImage* negative = skin->Images()->Add();
    negative->SectionName = "NEG";
    negative->PropertyName = "X";
    negative->Right = negative->Bottom = 10;
    negative->ImageCount = -4;
    negative->MaskType = -1;
    Activate("S");

    const TsMaskData* z = Image("EDIT", "BORDERSMASK");
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(z->ImageCount, 3);
    EXPECT_EQ(z->MaskType, 1);
    const TsMaskData* p = Image("PANEL", "PATTERN");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ImgType, itisaTexture);
    EXPECT_EQ(p->StretchMode, 0);
    EXPECT_EQ(Image("PANEL", "HOTPATTERN")->StretchMode, 1);
    const TsMaskData* o = Image("GLOBALINFO", "BICONCLOSE");
    ASSERT_NE(o, nullptr);
    ASSERT_NE(o->Bmp, nullptr);
    EXPECT_EQ(o->Bmp->PixelFormat(), classes::pf24bit);
    EXPECT_EQ(o->R.right, 48);
    EXPECT_EQ(o->R.bottom, 32);
    EXPECT_EQ(Image("GLOBALINFO", "EMPTY"), nullptr);
    const TsMaskData* n = Image("NEG", "X");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->ImageCount, 1);
    EXPECT_EQ(n->MaskType, 0);
}

TEST_F(StoredSkins, SectionItemsFollowTheCopyRules) {
    TsStoredSkin* skin = AddStoredSkin(*sm, "S");
    TsSkinGeneral* one = skin->GeneralData()->Add();
    one->SectionName = "Edit";
    one->FontColor = "16777215";
    one->HotFontColor = "1 2 3 4 5";
    one->Color = classes::clBtnFace;
    one->BorderColor1 = 77;
    TsSkinGeneral* bad = skin->GeneralData()->Add();
    bad->SectionName = "BAD";
    bad->Color = 12;
    bad->HotFontColor = "1 2 x 4 5";
    bad->FontColor = "9 9 9 9 9";
    bad->BorderColor1 = 77;
    TsSkinGeneral* next = skin->GeneralData()->Add();
    next->SectionName = "NEXT";
    next->BorderColor2 = 5;
    Activate("S");

    const TsGeneralData& edit = sm->Sections[2];
    EXPECT_EQ(edit.ClassName, "Edit");   // section names keep their case
    EXPECT_EQ(edit.FontColor[1], 0);
    EXPECT_EQ(edit.FontColor[5], -1);
    EXPECT_EQ(edit.HotFontColor[3], 3);
    EXPECT_EQ(edit.Color, classes::clBtnFace);   // taken as stored
    EXPECT_EQ(edit.BorderColor1, 77);
    const TsGeneralData& b = sm->Sections[3];
    EXPECT_EQ(b.Color, 12);
    EXPECT_EQ(b.HotFontColor[2], 2);
    EXPECT_EQ(b.FontColor[1], 0);   // not reached
    EXPECT_EQ(b.BorderColor1, 0);
    EXPECT_EQ(sm->Sections[4].BorderColor2, 5);
}

// A gradient word that is not a number costs that gradient's later steps only: the values stored after it
// in the item are still copied.
TEST_F(StoredSkins, ABadGradientWordLosesNoOtherValueOfTheSection) {
    TsStoredSkin* skin = AddStoredSkin(*sm, "S");
    for (const bool hot : {false, true}) {
        TsSkinGeneral* g = skin->GeneralData()->Add();
        g->SectionName = hot ? "HOTBAD" : "BAD";
        (hot ? g->HotGradientData : g->GradientData) = "255;65280;50;0;0;x;2;50;0;0";
        g->ShowFocus = true;
        g->FadingIterations = 9;
        g->HotColor = 0x0000FF;
        g->HotImagePercent = 40;
        g->FontColor = "1 2 3 4 5";
        g->BorderColor2 = 7;
    }
    Activate("S");
    for (const char* name : {"BAD", "HOTBAD"}) {
        const TsGeneralData& d = sm->Sections[static_cast<std::size_t>(sm->GetSkinIndex(name))];
        const TsGradArray& steps = std::string(name) == "BAD" ? d.GradientArray : d.HotGradientArray;
        ASSERT_GE(steps.size(), 1u) << name;
        EXPECT_EQ(steps[0].Color2, 65280) << name;
        EXPECT_TRUE(d.ShowFocus) << name;
        EXPECT_EQ(d.FadingIterations, 9) << name;
        EXPECT_EQ(d.HotColor, 0x0000FF) << name;
        EXPECT_EQ(d.HotImagePercent, 40) << name;
        EXPECT_EQ(d.FontColor[5], 5) << name;
        EXPECT_EQ(d.BorderColor2, 7) << name;
    }
}

TEST_F(StoredSkins, PatternsSharePicturesByFileName) {
    TsStoredSkin* skin = AddStoredSkin(*sm, "S");
    TsSkinPattern* first = skin->Patterns()->Add();
    first->SectionName = "form";
    first->PropertyName = "pattern";
    first->Name = "BACK.JPG";
    TsSkinPattern* second = skin->Patterns()->Add();
    second->SectionName = "dialog";
    second->PropertyName = "pattern";
    second->Name = "BACK.JPG";
    auto jpeg = Jpeg(64, 48);
    second->SetImage(jpeg.get());
    TsSkinPattern* lonely = skin->Patterns()->Add();
    lonely->SectionName = "x";
    lonely->PropertyName = "PATTERN";
    lonely->Name = "NONE.JPG";
    Activate("S");

    ASSERT_EQ(sm->Patterns.size(), 3u);
    EXPECT_EQ(sm->Patterns[0].ClassName, "FORM");
    EXPECT_EQ(sm->Patterns[0].PropertyName, "PATTERN");
    EXPECT_EQ(sm->Patterns[0].Img->Width(), 64);
    EXPECT_EQ(sm->Patterns[1].ClassName, "DIALOG");
    EXPECT_EQ(sm->Patterns[1].Img->Height(), 48);
    EXPECT_EQ(sm->Patterns[2].ClassName, "X");   // no picture under its name: an empty one
    EXPECT_TRUE(sm->Patterns[2].Img->Empty());
}

TEST_F(StoredSkins, LoadingAndRecolouringNeverChangeTheStoredSkin) {
    TsStoredSkin* skin = AddStoredSkin(*sm, "S");
    sm->SetHueOffset(120);
    Activate("S");
    EXPECT_EQ(sm->Sections[1].Color, 0xFF0000);   // green turned blue
    EXPECT_NE(PixelAt(*sm->MasterBitmap, 0, 0), 0x204080);
    EXPECT_EQ(skin->GeneralData()->Items(1)->Color, 0x00FF00);
    EXPECT_EQ(PixelAt(*skin->MasterBitmap(), 0, 0), 0x204080);
    sm->SetActive(false);
    EXPECT_EQ(sm->InternalSkins()->Count(), 1);
    EXPECT_EQ(skin->Images()->Count(), 1);
}

TEST_F(StoredSkins, CommonSectionsApplyToAStoredSkinToo) {
    AddStoredSkin(*sm, "S");
    auto common = std::make_unique<classes::TStringList>();
    common->Add("[MYBUTTON]");
    common->Add("PARENTCLASS=BUTTON");
    common->Add("HOTCOLOR=1");
    common->Add("BORDERSMASK=# (0,0,30,30) (1,0)");
    sm->SetCommonSections(common.get());
    Activate("S");
    const int mine = sm->GetSkinIndex("MYBUTTON");
    ASSERT_GE(mine, 0);
    EXPECT_EQ(sm->Sections[mine].Color, 0x00FF00);
    EXPECT_EQ(sm->Sections[mine].HotColor, 1);
    EXPECT_NE(Image("MYBUTTON", "BORDERSMASK"), nullptr);
}

TEST_F(StoredSkins, StreamingWritesAndReadsEveryStoredValue) {
    TsStoredSkin* skin = AddStoredSkin(*sm, "MacOS (internal)");
    skin->Description = "Light, \"glossy\"";
    skin->Shadow1Color = 0x0000FF;
    TsSkinImage* own = skin->Images()->Add();
    own->SectionName = "FORM";
    own->PropertyName = "BICONMAX";
    own->Name = "MAX.BMP";
    own->ImgType = itisaGlyph;
    auto picture = MakeBitmap(9, 6, 0x00FFFF);
    own->SetImage(picture.get());
    TsSkinPattern* pattern = skin->Patterns()->Add();
    pattern->SectionName = "FORM";
    pattern->PropertyName = "PATTERN";
    pattern->Name = "BACK.JPG";
    auto jpeg = Jpeg(320, 300);
    pattern->SetImage(jpeg.get());
    skin->GeneralData()->Items(1)->Bevel = cbLoweredHard;
    AddStoredSkin(*sm, "LongHorn (internal)");
    sm->SetSkinName("LongHorn (internal)");
    const std::string text = classes::WriteComponent(sm);

    TsSkinManager* copy = host.NewManager();
    classes::ReadRootComponent(copy, text);
    ASSERT_EQ(copy->InternalSkins()->Count(), 2);
    EXPECT_EQ(copy->SkinName(), "LongHorn (internal)");
    const TsStoredSkin* read = copy->InternalSkins()->Items(0);
    EXPECT_EQ(read->Name(), "MacOS (internal)");
    EXPECT_EQ(read->Description, "Light, \"glossy\"");
    EXPECT_EQ(read->Shadow1Color, 0x0000FF);
    EXPECT_EQ(read->Shadow1Blur, -1);
    EXPECT_DOUBLE_EQ(read->Version, 5.0);
    ASSERT_EQ(read->GeneralData()->Count(), 2);
    EXPECT_EQ(read->GeneralData()->Items(1)->Bevel, cbLoweredHard);
    EXPECT_EQ(read->GeneralData()->Items(1)->FontColor, "255 -1 -1 -1 -1");
    EXPECT_EQ(read->GeneralData()->Items(1)->GradientData, "16777215;0;100;0;0");
    ASSERT_EQ(read->Images()->Count(), 2);
    EXPECT_EQ(read->Images()->Items(1)->ImgType, itisaGlyph);
    EXPECT_EQ(read->Images()->Items(1)->Image()->Width(), 9);
    EXPECT_EQ(PixelAt(*read->Images()->Items(1)->Image(), 8, 5), 0x00FFFF);
    EXPECT_EQ(read->MasterBitmap()->Width(), 60);
    EXPECT_EQ(PixelAt(*read->MasterBitmap(), 59, 29), 0x204080);
    ASSERT_EQ(read->Patterns()->Count(), 1);
    EXPECT_EQ(read->Patterns()->Items(0)->Image()->Width(), 320);

    // the copy loads the same tables as the original
    sm->SetSkinDirectory(temp.Path());
    copy->SetSkinDirectory(temp.Path());
    sm->SetSkinName("MacOS (internal)");
    sm->SetActive(true);
    copy->SetSkinName("MacOS (internal)");
    copy->SetActive(true);
    ASSERT_EQ(copy->Sections.size(), sm->Sections.size());
    ASSERT_EQ(copy->Masks.size(), sm->Masks.size());
    ASSERT_EQ(copy->Patterns.size(), sm->Patterns.size());
    for (std::size_t i = 0; i < sm->Masks.size(); ++i) {
        EXPECT_EQ(copy->Masks[i].ClassName, sm->Masks[i].ClassName);
        EXPECT_EQ(copy->Masks[i].PropertyName, sm->Masks[i].PropertyName);
        EXPECT_EQ(copy->Masks[i].R.right, sm->Masks[i].R.right);
    }
    EXPECT_EQ(copy->Sections[1].Bevel, cbLoweredHard);
}
