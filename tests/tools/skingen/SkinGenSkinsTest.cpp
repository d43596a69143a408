// Our four skins: every looked-up section and image is there, folder and stored form agree, the committed
// folders match the generator, the embedded stored form loads, and the four looks differ as intended.
#include "platform/base/ColourContrast.h"
#include "platform/classes/Colors.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TReader.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStoredSkins.h"
#include "skin/stored/EmbeddedSkins.h"
#include "tools/skingen/SkinGen.h"
#include "tools/skingen/SkinTable.h"
#include "tools/skingen/StoredForm.h"
#include "tools/skingen/Style.h"

#include "support/SkinFixtures.h"

#include <gtest/gtest.h>

#include <set>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skingen;
using skin::test::ManagerHost;
using skin::test::PixelAt;
using skin::test::TempFolder;

namespace {

const char* const SkinNames[]
    = {"MacOS (internal)", "LongHorn (internal)", "NextStyle (internal)", "Office2003 (internal)"};

TSkinModel Build(const std::string& name) {
    std::vector<TSkinModel> skins = BuildSkins(name);
    EXPECT_EQ(skins.size(), 1u);
    return std::move(skins.front());
}

// A manager loaded with the skin from a folder written under dir.
TsSkinManager* LoadFromFolder(ManagerHost& host, const TSkinModel& model, const std::string& dir) {
    model.WriteFolder(dir);
    TsSkinManager* sm = host.NewManager();
    skin::test::LoadFolderSkin(*sm, dir, model.Name());
    return sm;
}

const TsGeneralData& SectionOf(const TsSkinManager& sm, const std::string& name) {
    const int i = sm.GetSkinIndex(name);
    EXPECT_TRUE(sm.IsValidSkinIndex(i)) << name;
    return sm.Sections.at(static_cast<std::size_t>(std::max(i, 0)));
}

const TsMaskData& MaskOf(const TsSkinManager& sm, const std::string& section, const std::string& image) {
    const int i = sm.GetMaskIndex(sm.GetSkinIndex(section), section, image);
    EXPECT_TRUE(sm.IsValidImgIndex(i)) << section << "/" << image;
    return sm.Masks.at(static_cast<std::size_t>(std::max(i, 0)));
}

int Luma(classes::TColor c) {
    return (RedOf(c) * 3 + GreenOf(c) * 6 + BlueOf(c)) / 10;
}

class OurSkin : public ::testing::TestWithParam<const char*> { };

}

TEST_P(OurSkin, FolderHoldsEverySectionAndImageTheProgramLooksUp) {
    TempFolder dir;
    ManagerHost host;
    const TSkinModel model = Build(GetParam());
    TsSkinManager* sm = LoadFromFolder(host, model, dir.Path());
    ASSERT_EQ(sm->LoadedSkin.SkinPath.empty(), false);
    for (const TLookup& l : SkinLookups()) {
        const int si = sm->GetSkinIndex(l.Section);
        if (l.Image == nullptr) {
            EXPECT_GE(si, 0) << "section " << l.Section;
            continue;
        }
        const int mi = sm->GetMaskIndex(si, l.Section, l.Image);
        if (l.Required)
            EXPECT_GE(mi, 0) << l.Section << "/" << l.Image;
        else
            EXPECT_EQ(mi, -1) << l.Section << "/" << l.Image << " is left out";
    }
    sm->UpdateConstData();
    const TConstantSkinData& c = sm->ConstData;
    EXPECT_GE(c.GlobalInfo, 0);
    for (int i = 1; i <= 9; ++i)
        EXPECT_GE(c.CheckMask[i], 0) << i;
    for (int i = 1; i <= 4; ++i) {
        EXPECT_GE(c.TabSection[i], 0);
        EXPECT_GE(c.TabMask[i], 0);
        EXPECT_GE(c.ScrollBtnSection[i], 0);
        EXPECT_GE(c.ScrollBtnMask[i], 0);
        EXPECT_GE(c.ScrollBtnGlyph[i], 0);
        EXPECT_GE(c.ScrollBarSection[i], 0);
        EXPECT_GE(c.ScrollBarMask[i], 0);
    }
    EXPECT_GE(c.SliderMaskH, 0);
    EXPECT_GE(c.SliderMaskV, 0);
    EXPECT_GE(c.SliderGlyphH, 0);
    EXPECT_GE(c.SliderGlyphV, 0);
}

TEST_P(OurSkin, PicturesCarryTheirStateColumnsAndGreyMasks) {
    TempFolder dir;
    ManagerHost host;
    const TSkinModel model = Build(GetParam());
    TsSkinManager* sm = LoadFromFolder(host, model, dir.Path());
    const struct {
        const char* Section;
        const char* Image;
        int States;
    } expected[] = {{"BUTTON", "BORDERSMASK", 3}, {"FORM", "BORDERSMASK", 2}, {"FORMTITLE", "BORDERSMASK", 2},
        {"EDIT", "BORDERSMASK", 2}, {"TABTOP", "BORDERSMASK", 3}, {"GLOBALINFO", "BICONCLOSE", 3},
        {"GLOBALINFO", "BOXCHECKED", 3}, {"GLOBALINFO", "CHECK", 2}, {"TRACKBAR", "SLIDERCHANNEL", 2},
        {"SCROLLBTNTOP", "GLYPHMASK", 3}};
    for (const auto& e : expected) {
        const TsMaskData& m = MaskOf(*sm, e.Section, e.Image);
        EXPECT_EQ(m.ImageCount, e.States) << e.Section << "/" << e.Image;
        EXPECT_EQ(m.MaskType, 1) << e.Section << "/" << e.Image;
        EXPECT_EQ(m.Bmp, nullptr);
        EXPECT_EQ((m.R.right - m.R.left) % m.ImageCount, 0);
        EXPECT_EQ((m.R.bottom - m.R.top) % 2, 0);
    }
    // Every mask row is grey.
    const classes::TBitmap& master = *sm->MasterBitmap;
    for (const TsMaskData& m : sm->Masks) {
        if (m.MaskType == 0) continue;
        const int half = (m.R.bottom - m.R.top) / 2;
        for (int y = m.R.top + half; y < m.R.bottom; ++y)
            for (int x = m.R.left; x < m.R.right; ++x) {
                const classes::TColor c = PixelAt(master, x, y);
                ASSERT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << m.ClassName << "/" << m.PropertyName;
            }
    }
}

TEST_P(OurSkin, RoundedCornersAreKeyedHolesOverWhiteMasks) {
    if (std::string(GetParam()) == "NextStyle (internal)") GTEST_SKIP() << "square corners";
    TempFolder dir;
    ManagerHost host;
    const TSkinModel model = Build(GetParam());
    TsSkinManager* sm = LoadFromFolder(host, model, dir.Path());
    const classes::TBitmap& master = *sm->MasterBitmap;
    for (const char* section : {"BUTTON", "FORMTITLE"}) {
        const TsMaskData& m = MaskOf(*sm, section, "BORDERSMASK");
        const int half = (m.R.bottom - m.R.top) / 2;
        const int column = (m.R.right - m.R.left) / m.ImageCount;
        for (int s = 0; s < m.ImageCount; ++s) {
            const int x0 = m.R.left + s * column;
            EXPECT_EQ(PixelAt(master, x0, m.R.top), 0xFF00FF) << section << " state " << s;
            EXPECT_EQ(PixelAt(master, x0, m.R.top + half), 0xFFFFFF);
            // The middle of the top edge is the outer line: opaque.
            EXPECT_LT(PixelAt(master, x0 + column / 2, m.R.top + half) & 0xFF, 64) << section << " state " << s;
        }
    }
}

TEST_P(OurSkin, StoredFormLoadsTheSameTablesAsTheFolder) {
    TempFolder dir, empty;
    ManagerHost host;
    const TSkinModel model = Build(GetParam());
    TsSkinManager* folder = LoadFromFolder(host, model, dir.Path());
    const std::string text = StoredSkinsText({&model});

    TsSkinManager* stored = host.NewManager();
    RegisterStoredSkinClasses();
    classes::ReadRootComponent(stored, text);
    ASSERT_EQ(stored->InternalSkins()->Count(), 1);
    stored->SetSkinDirectory(empty.Path());
    stored->SetSkinName(GetParam());
    stored->SetActive(true);
    ASSERT_TRUE(stored->LoadedSkin.SkinPath.empty());

    ASSERT_EQ(stored->Sections.size(), folder->Sections.size());
    for (std::size_t i = 0; i < folder->Sections.size(); ++i) {
        const TsGeneralData& a = folder->Sections[i];
        const TsGeneralData& b = stored->Sections[i];
        EXPECT_EQ(a.ClassName, b.ClassName);
        EXPECT_EQ(a.ParentClass, b.ParentClass) << a.ClassName;
        EXPECT_EQ(a.Color, b.Color) << a.ClassName;
        EXPECT_EQ(a.HotColor, b.HotColor) << a.ClassName;
        EXPECT_EQ(a.FontColor, b.FontColor) << a.ClassName;
        EXPECT_EQ(a.HotFontColor, b.HotFontColor) << a.ClassName;
        EXPECT_EQ(a.Transparency, b.Transparency) << a.ClassName;
        EXPECT_EQ(a.HotTransparency, b.HotTransparency) << a.ClassName;
        EXPECT_EQ(a.GradientPercent, b.GradientPercent) << a.ClassName;
        EXPECT_EQ(a.GradientData, b.GradientData) << a.ClassName;
        EXPECT_EQ(a.GradientArray.size(), b.GradientArray.size()) << a.ClassName;
        EXPECT_EQ(a.HotGradientData, b.HotGradientData) << a.ClassName;
        EXPECT_EQ(a.ImagePercent, b.ImagePercent) << a.ClassName;
        EXPECT_EQ(a.HotImagePercent, b.HotImagePercent) << a.ClassName;
        EXPECT_EQ(a.ReservedBoolean, b.ReservedBoolean) << a.ClassName;
        EXPECT_EQ(a.ShowFocus, b.ShowFocus) << a.ClassName;
        EXPECT_EQ(a.FadingEnabled, b.FadingEnabled) << a.ClassName;
        EXPECT_EQ(a.FadingIterations, b.FadingIterations) << a.ClassName;
    }
    ASSERT_EQ(stored->Masks.size(), folder->Masks.size());
    for (std::size_t i = 0; i < folder->Masks.size(); ++i) {
        const TsMaskData& a = folder->Masks[i];
        const TsMaskData& b = stored->Masks[i];
        EXPECT_EQ(a.ClassName, b.ClassName);
        EXPECT_EQ(a.PropertyName, b.PropertyName);
        EXPECT_TRUE(a.R.left == b.R.left && a.R.top == b.R.top && a.R.right == b.R.right && a.R.bottom == b.R.bottom)
            << a.ClassName << "/" << a.PropertyName;
        EXPECT_EQ(a.ImageCount, b.ImageCount);
        EXPECT_EQ(a.MaskType, b.MaskType);
        EXPECT_EQ(a.BorderWidth, b.BorderWidth);
        EXPECT_EQ(a.StretchMode, b.StretchMode);
        EXPECT_EQ(a.ImgType, b.ImgType);
    }
    ASSERT_TRUE(stored->MasterBitmap && folder->MasterBitmap);
    const classes::TBitmap& m1 = *folder->MasterBitmap;
    const classes::TBitmap& m2 = *stored->MasterBitmap;
    ASSERT_EQ(m1.Width(), m2.Width());
    ASSERT_EQ(m1.Height(), m2.Height());
    for (int y = 0; y < m1.Height(); ++y)
        for (int x = 0; x < m1.Width(); ++x)
            ASSERT_EQ(PixelAt(m1, x, y), PixelAt(m2, x, y)) << x << "," << y;
    EXPECT_EQ(stored->LoadedSkin.Description, folder->LoadedSkin.Description);
    EXPECT_DOUBLE_EQ(stored->LoadedSkin.Version, 5.0);
    EXPECT_EQ(stored->LoadedSkin.Shadow1Color, 0);
    EXPECT_EQ(stored->LoadedSkin.Shadow1Offset, 0);
    EXPECT_EQ(stored->LoadedSkin.Shadow1Transparency, 0);
}

INSTANTIATE_TEST_SUITE_P(FourSkins, OurSkin, ::testing::ValuesIn(SkinNames), [](const auto& info) {
    std::string name = info.param;
    return name.substr(0, name.find(' '));
});

// The text written on the accent (the popup menus' extra line) stands out from it: dark on the yellow of the
// flat dark look, light on the blue of the others.
TEST_P(OurSkin, TheExtraLinesTextStandsOutFromItsBand) {
    TempFolder dir;
    ManagerHost host;
    const TsSkinManager& sm = *LoadFromFolder(host, Build(GetParam()), dir.Path());
    const TsGeneralData& band = SectionOf(sm, "EXTRALINE");
    EXPECT_GE(std::abs(Luma(band.FontColor[1]) - Luma(band.Color)), 90)
        << "text " << std::hex << band.FontColor[1] << " on " << band.Color;
}

// The gauge's percentage lies on the track and on the bar: it reads on each (contrast 4.5 or more) by its own
// colour or, where the bar would swallow it, by an outline on all four sides that does.
TEST_P(OurSkin, TheGaugesPercentageReadsOnTheTrackAndOnTheBar) {
    TempFolder dir;
    ManagerHost host;
    const TsSkinManager& sm = *LoadFromFolder(host, Build(GetParam()), dir.Path());
    const TsGeneralData& gauge = SectionOf(sm, "GAUGE");
    const classes::TColor text = gauge.FontColor[1];
    EXPECT_GE(base::ColourContrast(text, gauge.Color), 4.5) << std::hex << text << " on the track " << gauge.Color;
    TStyle style;
    for (const TStyle& s : AllStyles())
        if (s.Name == GetParam()) style = s;
    ASSERT_EQ(style.Name, GetParam());
    for (classes::TColor bar : {style.Accent.Top, style.Accent.Upper, style.Accent.Lower, style.Accent.Bottom}) {
        if (base::ColourContrast(text, bar) >= 4.5) continue;
        for (int side = 2; side <= 5; ++side) {
            ASSERT_NE(gauge.FontColor[side], -1) << std::hex << text << " on the bar " << bar << " without an outline";
            EXPECT_GE(base::ColourContrast(text, gauge.FontColor[side]), 4.5);
        }
    }
}

TEST(OurSkins, CommittedFoldersMatchTheGenerator) {
    const std::vector<TSkinModel> skins = BuildSkins();
    ASSERT_EQ(skins.size(), 4u);
    const std::vector<std::string> differing = CompareWithFolders(skins, std::string(KORVEX_SOURCE_DIR) + "/skins");
    EXPECT_TRUE(differing.empty()) << "run: cmake --build <build> --target skingen_update; first: "
                                   << differing.front();
}

TEST(OurSkins, EmbeddedStoredFormHoldsTheFourSkinsInOrder) {
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    std::string error;
    ASSERT_TRUE(LoadEmbeddedSkins(*sm, &error)) << error;
    ASSERT_EQ(sm->InternalSkins()->Count(), 4);
    for (int i = 0; i < 4; ++i) {
        TsStoredSkin* s = sm->InternalSkins()->Items(i);
        EXPECT_EQ(s->Name(), SkinNames[i]);
        EXPECT_EQ(s->GeneralData()->Count(), 56);
        EXPECT_GE(s->Images()->Count(), 60);
        EXPECT_EQ(s->Patterns()->Count(), 0);
        EXPECT_FALSE(s->MasterBitmap()->Empty());
    }
    EXPECT_EQ(sm->SkinName(), "");
    EXPECT_FALSE(sm->LoadedSkin.Active);
}

TEST(OurSkins, DefaultSkinLoadsFromTheEmbeddedFormWithoutAnyFolder) {
    TempFolder empty;
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    ASSERT_TRUE(LoadEmbeddedSkins(*sm));
    sm->SetSkinDirectory(empty.Path());
    sm->SetSkinName("LongHorn (internal)");
    sm->SetActive(true);
    EXPECT_EQ(sm->SkinName(), "LongHorn (internal)");
    EXPECT_TRUE(sm->LoadedSkin.SkinPath.empty());
    EXPECT_GE(sm->GetSkinIndex("FORM"), 0);
    EXPECT_GE(sm->GetMaskIndex(sm->GetSkinIndex("BUTTON"), "BUTTON", "BORDERSMASK"), 0);
    EXPECT_EQ(sm->LoadedSkin.Description, "Dark glass with blue accents");
}

TEST(OurSkins, TheFourLooksDifferAsDescribed) {
    TempFolder dir;
    ManagerHost host;
    std::vector<TsSkinManager*> sms;
    std::set<std::string> texts;
    for (const TSkinModel& model : BuildSkins()) {
        sms.push_back(LoadFromFolder(host, model, dir.Path()));
        texts.insert(model.OptionsText());
    }
    EXPECT_EQ(texts.size(), 4u);
    const TsSkinManager &mac = *sms[0], &longhorn = *sms[1], &next = *sms[2], &office = *sms[3];
    // Light and dark windows.
    EXPECT_GT(Luma(mac.GetGlobalColor()), 200);
    EXPECT_GT(Luma(office.GetGlobalColor()), 180);
    EXPECT_LT(Luma(longhorn.GetGlobalColor()), 60);
    EXPECT_LT(Luma(next.GetGlobalColor()), 30);
    // Glossy faces carry two gradient steps, the flat style none.
    EXPECT_EQ(SectionOf(mac, "BUTTON").GradientArray.size(), 2u);
    EXPECT_EQ(SectionOf(longhorn, "BUTTON").GradientArray.size(), 2u);
    EXPECT_TRUE(SectionOf(next, "BUTTON").GradientArray.empty());
    EXPECT_EQ(SectionOf(next, "BUTTON").GradientPercent, 0);
    // Blue accents of the dark glass; orange hot items and a blue title in the office look.
    const classes::TColor lhHot = SectionOf(longhorn, "BUTTON").HotColor;
    EXPECT_GT(BlueOf(lhHot), RedOf(lhHot) + 40);
    const classes::TColor officeItem = SectionOf(office, "MENUITEM").HotColor;
    EXPECT_GT(RedOf(officeItem), BlueOf(officeItem) + 40);
    const classes::TColor officeTitle = SectionOf(office, "FORMTITLE").HotColor;
    EXPECT_GT(BlueOf(officeTitle), RedOf(officeTitle) + 80);
    // Only the light glossy look has textured windows.
    EXPECT_GE(mac.GetMaskIndexExact("FORM", "PATTERN"), 0);
    EXPECT_EQ(office.GetMaskIndexExact("FORM", "PATTERN"), -1);
}
