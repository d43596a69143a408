// Tests for the provider's settings: the global colour and the skin manager coming and going.
#include "support/WindowsKit.h"

#include "platform/classes/TApplication.h"
#include "skin/engine/sSkinManager.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class ProviderSettings : public FormsTest { };

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
