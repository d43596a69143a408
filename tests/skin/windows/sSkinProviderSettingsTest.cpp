// Tests for the provider's settings: the global colour and the skin manager coming and going.
#include "support/WindowsKit.h"

#include "platform/classes/PropInfo.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TScreen.h"
#include "platform/user/NonClient.h"
#include "platform/user/WinPos.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sTitleButtons.h"
#include "skin/windows/sWindowClasses.h"
#include "support/ControlsHost.h"
#include "support/SkinFixtures.h"

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

// A provider read from form text gives its user buttons the skin's title button picture when it is loaded,
// before anything is painted; a button without UseSkinData gets none.
TEST_F(ProviderSettings, LoadingGivesTheUserButtonsTheSkinsTitleButtonPicture) {
    RegisterSkinWindowClasses();
    for (int which : {0, 1, 2, 3}) {
        SCOPED_TRACE(which);
        UseSkin(which);
        TForm* form = Create<TForm>(Application);
        auto* p = dynamic_cast<TsSkinProvider*>(ReadComponent("object P: TsSkinProvider\n"
                                                              "  TitleButtons = <\n"
                                                              "    item\n"
                                                              "      Name = 'Pin'\n"
                                                              "    end\n"
                                                              "    item\n"
                                                              "      Name = 'Plain'\n"
                                                              "      UseSkinData = False\n"
                                                              "    end>\n"
                                                              "end\n",
            form));
        ASSERT_NE(p, nullptr);
        int mask = Manager->GetMaskIndex(Manager->GetSkinIndex("GLOBALINFO"), "GLOBALINFO", "TITLEBUTTON");
        if (!Manager->IsValidImgIndex(mask))
            mask = Manager->GetMaskIndex(p->SkinData()->SkinIndex, p->SkinData()->SkinSection(), "TITLEBUTTON");
        ASSERT_TRUE(Manager->IsValidImgIndex(mask));
        ASSERT_EQ(p->TitleButtons()->Count(), 2);
        EXPECT_EQ(p->TitleButtons()->Items(0)->Data.MaskIndex, mask);
        EXPECT_EQ(p->TitleButtons()->Items(1)->Data.MaskIndex, -1);
        form->Free();
    }
}

// A loaded skin without the form's section leaves the frame to the window layer: the form keeps its own
// caption buttons, which the layer draws and answers.
TEST_F(ProviderSettings, ASkinWithoutTheFormsSectionLeavesTheFormItsOwnButtons) {
    UseSkin(0);
    const int section = Manager->GetSkinIndex("FORM");
    ASSERT_GE(section, 0);
    Manager->Sections.Rename(std::size_t(section), "NOTAFORM");
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    const bool skinned = p->SkinData()->Skinned();
    const TBorderIcons icons = form->BorderIcons();
    user::RECT r {};
    user::GetWindowRect(form->WindowHandle(), &r);
    const LRESULT close = HitAt(form, TPoint {r.right - 8, r.top + 10});
    Manager->Sections.Rename(std::size_t(section), "FORM");
    EXPECT_FALSE(skinned);
    EXPECT_EQ(icons, (TBorderIcons {biSystemMenu, biMinimize, biMaximize}));
    EXPECT_EQ(close, user::HTCLOSE);
}

// A later skin without the form's section leaves the frame to the window layer too: the form gets its own
// caption buttons back, shown and answered, and the next skin with the section takes them again.
TEST_F(ProviderSettings, ANewSkinWithoutTheFormsSectionGivesTheFormItsOwnButtonsBack) {
    const TBorderIcons own {biSystemMenu, biMinimize, biMaximize};
    test::TempFolder temp;
    test::MakeMinimalSkin(temp.Path(), "Bare");
    test::MakeMinimalSkin(temp.Path(), "Plain");
    auto closeHit = [&](TForm* form) {
        user::RECT r {};
        user::GetWindowRect(form->WindowHandle(), &r);
        return HitAt(form, TPoint {r.right - 8, r.top + 10});
    };
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsSizeable, own);
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_TRUE(p->SkinData()->Skinned());
    ASSERT_TRUE(form->BorderIcons().Empty());

    test::LoadFolderSkin(*Manager, temp.Path(), "Bare");   // skinned before: the command table's new skin
    Pump();
    EXPECT_FALSE(p->SkinData()->Skinned());
    EXPECT_EQ(form->BorderIcons(), own);
    EXPECT_EQ(closeHit(form), user::HTCLOSE);
    EXPECT_EQ(user::WindowFromPoint(user::POINT {form->Left() + form->Width() / 2, form->Top() + 10}), form->WindowHandle());

    test::LoadFolderSkin(*Manager, temp.Path(), "Plain");   // unskinned: the inactive path's new skin
    Pump();
    EXPECT_EQ(form->BorderIcons(), own);
    EXPECT_EQ(closeHit(form), user::HTCLOSE);
    EXPECT_EQ(user::WindowFromPoint(user::POINT {form->Left() + form->Width() / 2, form->Top() + 10}), form->WindowHandle());

    UseSkin(1);
    EXPECT_TRUE(p->SkinData()->Skinned());
    EXPECT_TRUE(form->BorderIcons().Empty());
}

// A manager dropped on the form is taken while the provider follows the default one; one of its own stays.
TEST_F(ProviderSettings, AManagerDroppedOnTheFormIsTakenWhileTheProviderHasNoneOfItsOwn) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu});
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_EQ(p->SkinData()->SkinManager(), Manager);
    auto* dropped = Create<TsSkinManager>(form);
    EXPECT_EQ(p->SkinData()->OwnSkinManager(), dropped);
    auto* second = Create<TsSkinManager>(form);
    EXPECT_EQ(p->SkinData()->SkinManager(), dropped);
    delete second;
    delete dropped;
    EXPECT_EQ(p->SkinData()->SkinManager(), Manager);
}

// An MDI child that takes the skin marks its parent's frame stale.
TEST_F(ProviderSettings, AChildTakingTheSkinMarksItsParentsFrameStale) {
    UseSkin(1);
    TForm* frame = ShownMdiFrame(420, 300);
    TsSkinProvider* parent = ProviderOf(frame);
    ASSERT_EQ(MDISkinProvider(), parent);
    ASSERT_FALSE(parent->SkinData()->BGChanged);
    TForm* child = Create<TForm>(Application);
    child->SetFormStyle(fsMDIChild);
    Create<TsSkinProvider>(child);   // before the child's window is made: nothing else repaints
    const bool stale = parent->SkinData()->BGChanged;
    child->Free();
    frame->Free();
    Pump();
    EXPECT_TRUE(stale);
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

// Freeing a skinned manager of the provider's own gives the form the default manager's skin, not a plain frame.
TEST_F(ProviderSettings, FreeingTheProvidersOwnSkinnedManagerGivesTheFormTheDefaultSkin) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize});
    TsSkinProvider* p = ProviderOf(form);
    auto* own = Create<TsSkinManager>(form);   // dropped on the form: taken as the provider's own
    ASSERT_EQ(p->SkinData()->OwnSkinManager(), own);
    controlstest::LoadOurSkin(*own, 1);
    Pump();
    ASSERT_TRUE(p->SkinData()->Skinned());
    delete own;
    Pump();
    EXPECT_EQ(p->SkinData()->SkinManager(), Manager);
    EXPECT_TRUE(p->SkinData()->Skinned());
    EXPECT_EQ(p->SkinData()->SkinIndex, Manager->GetSkinIndex(p->SkinData()->SkinSection()));
    EXPECT_TRUE(form->BorderIcons().Empty());   // the skin draws the caption buttons
    // Its frame as that of a form that has always followed the default manager, both seen active.
    TForm* twin = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize}, 300, 160, 420, 60);
    Pump();
    const std::vector<TPoint> points {TPoint {2, 2}, TPoint {form->Width() / 2, 10}, TPoint {form->Width() - 12, 10},
        TPoint {2, form->Height() / 2}, TPoint {form->Width() / 2, form->Height() - 2}};
    std::vector<gdi::COLORREF> expected;
    for (const TPoint at : points) expected.push_back(WindowPixel(twin, at.x, at.y));
    form->BringToFront();
    form->SetFocus();
    Pump();
    ASSERT_EQ(Screen->ActiveForm(), form);
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(testing::Message() << points[i].x << "," << points[i].y);
        EXPECT_EQ(WindowPixel(form, points[i].x, points[i].y), expected[i]);
    }
}

}
}
