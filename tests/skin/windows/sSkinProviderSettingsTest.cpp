// Tests for the provider's settings: the global colour and the skin manager coming and going.
#include "support/WindowsKit.h"

#include "platform/classes/PropInfo.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "skin/engine/sSkinManager.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class ProviderSettings : public FormsTest { };

// The published properties in their order: a written form lists them so.
TEST(ProviderPublished, ThePropertiesComeInTheirOrder) {
    std::vector<std::string> names;
    for (const TPropInfo* prop : TsSkinProvider::StaticClass()->Properties()) names.push_back(prop->Name);
    const std::vector<std::string> want {"Name", "Tag", "BorderIcons", "CaptionAlignment", "SkinData", "GripMode",
        "MakeSkinMenu", "MenuLineSkin", "ResizeMode", "ScreenSnap", "SnapBuffer", "ShowAppIcon", "TitleButtons",
        "TitleIcon", "TitleSkin", "UseGlobalColor"};
    EXPECT_EQ(names, want);
}

TEST_F(ProviderSettings, UseGlobalColorGivesTheSkinColourOnlyToASkinnedForm) {
    TForm* plain = NewSkinnedForm(bsSizeable, {biSystemMenu});
    TsSkinProvider* p = ProviderOf(plain);
    plain->SetColor(clRed);
    p->SetUseGlobalColor(false);
    p->SetUseGlobalColor(true);   // no skin: the button face, not the skin's colour
    EXPECT_EQ(plain->Color(), clBtnFace);

    UseSkin(2);
    TForm* skinned = NewSkinnedForm(bsSizeable, {biSystemMenu});
    p = ProviderOf(skinned);
    EXPECT_EQ(skinned->Color(), Manager->GetGlobalColor());
    p->SetUseGlobalColor(false);
    EXPECT_EQ(skinned->Color(), clBtnFace);
    p->SetUseGlobalColor(true);
    EXPECT_EQ(skinned->Color(), Manager->GetGlobalColor());
}

// A freed manager of the provider's own leaves it with the application's default one, never a dangling one.
// The border icons, the grip and the menu line's section are only stored: the frame shows them from its next
// repaint. The caption's alignment, the title icon and the title section mark the frame stale and repaint it.
TEST_F(ProviderSettings, SomeSettingsWaitForTheNextFrameRepaintAndSomeRepaintIt) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    Pump();
    auto cache = [&] {
        std::vector<TColor> pixels;
        for (int y = 0; y < p->FormCache()->Height(); y += 2)
            for (int x = 0; x < p->FormCache()->Width(); x += 2)
                pixels.push_back(p->FormCache()->Canvas()->Pixels(x, y));
        return pixels;
    };
    const std::vector<TColor> before = cache();
    p->SetBorderIcons({biSystemMenu});
    p->SetGripMode(gmRightBottom);
    p->SetMenuLineSkin("PANEL");
    Pump();
    EXPECT_FALSE(p->SkinData()->BGChanged);
    EXPECT_EQ(cache(), before);
    p->RefreshFormFrame();
    Pump();
    EXPECT_NE(cache(), before);   // the maximize and minimize buttons gone, the grip drawn

    const std::vector<TColor> plain = cache();
    p->SetCaptionAlignment(taCenter);
    Pump();
    EXPECT_FALSE(p->SkinData()->BGChanged);   // painted by the non-client paint sent at once
    EXPECT_NE(cache(), plain);
}

TEST_F(ProviderSettings, AFreedManagerLeavesTheProviderWithTheDefaultOne) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu});
    TsSkinProvider* p = ProviderOf(form);
    auto* own = new TsSkinManager(form);
    p->SkinData()->SetSkinManager(own);
    auto* another = new TsSkinManager(form);   // dropped on the form: the provider keeps its own
    EXPECT_EQ(p->SkinData()->SkinManager(), own);
    delete own;
    EXPECT_EQ(p->SkinData()->SkinManager(), Manager);
    delete another;
    EXPECT_EQ(p->SkinData()->SkinManager(), Manager);
}

}
}
