// Tests of TsHintManager: construction and loading, the window class per style, the presets, the show-hint
// event, and what a freed manager leaves behind.
#include "skin/windows/sHintManager.h"
#include "skin/windows/sHintWindows.h"
#include "skin/windows/sWindowClasses.h"

#include "support/ControlsKit.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TPanel.h"
#include "platform/classes/TReader.h"

#include <gtest/gtest.h>

namespace korvex::skin {
namespace {

using namespace classes;

class HintManagerTest : public ctltest::ControlsTest {
protected:
    void TearDown() override {
        HintWindowClass = nullptr;
        ctltest::ControlsTest::TearDown();
        EXPECT_EQ(CurrentHintManager, nullptr);
    }
    TsHintManager* NewManager() { return Create<TsHintManager>(Form); }
    // The class name of the window the application's hint window class makes now ("" for the library's own).
    std::string WindowClassName() {
        if (!HintWindowClass) return "";
        THintWindow* w = HintWindowClass(Form);
        const std::string name = w->ClassName();
        w->Free();
        return name;
    }
};

TEST_F(HintManagerTest, construction_sets_the_application_and_the_defaults) {
    Application->SetHintPause(1);
    Application->SetHintShortPause(1);
    TsHintManager* m = NewManager();
    EXPECT_EQ(m->SkinSection(), "HINT");
    EXPECT_EQ(Application->HintPause(), 500);
    EXPECT_EQ(Application->HintShortPause(), 200);
    EXPECT_EQ(m->PauseHide(), 5000);
    EXPECT_EQ(m->Predefinitions(), shEllipse);
    EXPECT_TRUE(m->Animated());
    EXPECT_FALSE(m->HTMLMode());
    EXPECT_EQ(m->HintKind()->Style(), hsEllipse);
    EXPECT_EQ(m->HintKind()->MaxWidth(), 200);
    EXPECT_EQ(CurrentHintManager, m);
    EXPECT_EQ(WindowClassName(), "TsEllipseHintWindow");
    EXPECT_EQ(m->HintBitmap()->PixelFormat(), pf24bit);
}

// The owner form is found up the owner's Parent chain: the form itself, the form of a panel, none without one.
TEST_F(HintManagerTest, the_owner_form_is_the_first_form_up_the_owners_parents) {
    EXPECT_EQ(NewManager()->OwnerForm(), Form);
    auto* panel = new TPanel(Form);
    panel->SetParent(Form);
    auto* inner = new TPanel(Form);
    inner->SetParent(panel);
    EXPECT_EQ(Create<TsHintManager>(inner)->OwnerForm(), Form);
    TComponent loose(nullptr);
    EXPECT_EQ(Create<TsHintManager>(&loose)->OwnerForm(), nullptr);
}

TEST_F(HintManagerTest, each_style_chooses_its_window_class) {
    TsHintManager* m = NewManager();
    const struct {
        TsHintStyle Style;
        const char* ClassName;
        bool Current;
    } cases[] = {{hsSimply, "TsSimplyHintWindow", true}, {hsComics, "TsComicsHintWindow", true},
        {hsEllipse, "TsEllipseHintWindow", true}, {hsBalloon, "TsBalloonHintWindow", true}, {hsStandard, "", false},
        {hsNone, "TsSimplyHintWindow", false}};
    for (const auto& c : cases) {
        m->HintKind()->SetStyle(c.Style);
        EXPECT_EQ(WindowClassName(), c.ClassName) << c.Style;
        EXPECT_EQ(CurrentHintManager, c.Current ? m : nullptr) << c.Style;
    }
}

TEST_F(HintManagerTest, loading_applies_the_preset_and_the_hide_pause) {
    TsHintManager* m = NewManager();
    m->HintKind()->SetMaxWidth(999);
    m->HintKind()->SetColor(clRed);
    m->HintKind()->Font()->SetStyle({fsBold});
    m->SetPauseHide(1234);
    m->Loaded();
    EXPECT_EQ(Application->HintHidePause(), 1234);
    const TsHintKind* k = m->HintKind();
    EXPECT_EQ(k->Style(), hsEllipse);
    EXPECT_EQ(k->MaxWidth(), 240);
    EXPECT_EQ(k->Color(), 12778748);
    EXPECT_EQ(k->ExOffset(), 16);
    EXPECT_EQ(k->GradientData(), "7728127;16777215;99;0;0;16777215;16777215;0;0;0");
    EXPECT_TRUE(k->ShadowEnabled());
    EXPECT_TRUE(k->Font()->Style().Empty());
}

TEST_F(HintManagerTest, presets_fill_their_rows_and_keep_what_they_do_not_name) {
    TsHintManager* m = NewManager();
    const struct {
        TsHintsPredefinitions Preset;
        TsHintStyle Style;
        int MaxWidth;
        int Radius;
        int ExOffset;
        TColor Color;
        int ShadowOffset;
    } cases[] = {{shSimply, hsSimply, 240, 7, 5, clInfoBk, 6}, {shGradient, hsSimply, 240, 7, 5, 11992314, 6},
        {shTransparent, hsSimply, 240, 7, 5, 11992314, 10}, {shEllipse, hsEllipse, 240, 7, 16, 12778748, 16},
        {shBalloon, hsBalloon, 240, 7, 18, 12778748, 8}, {shComicsGradient, hsComics, 180, 21, 24, 16757839, 7},
        {shComicsTransparent, hsComics, 180, 13, 19, 12778748, 7}};
    for (const auto& c : cases) {
        m->HintKind()->SetRadius(7);
        m->HintKind()->SetExOffset(5);
        m->SetPredefinitions(c.Preset);
        m->ApplyPredefinitions();
        const TsHintKind* k = m->HintKind();
        EXPECT_EQ(k->Style(), c.Style) << c.Preset;
        EXPECT_EQ(k->MaxWidth(), c.MaxWidth) << c.Preset;
        EXPECT_EQ(k->Radius(), c.Radius) << c.Preset;
        EXPECT_EQ(k->ExOffset(), c.ExOffset) << c.Preset;
        EXPECT_EQ(k->Color(), c.Color) << c.Preset;
        EXPECT_EQ(k->ShadowOffset(), c.ShadowOffset) << c.Preset;
    }
    m->HintKind()->SetMaxWidth(77);
    m->SetPredefinitions(shCustom);
    m->ApplyPredefinitions();
    EXPECT_EQ(m->HintKind()->MaxWidth(), 77);
    m->SetPredefinitions(shNone);
    m->ApplyPredefinitions();
    EXPECT_EQ(m->HintKind()->Style(), hsNone);
    EXPECT_EQ(m->HintKind()->MaxWidth(), 77);
}

TEST_F(HintManagerTest, blur_and_shadow_colour_stay_zero) {
    TsHintKind* k = NewManager()->HintKind();
    k->SetBlur(5);
    k->SetShadowColor(clRed);
    EXPECT_EQ(k->Blur(), 0);
    EXPECT_EQ(k->ShadowColor(), 0);
}

TEST_F(HintManagerTest, shadows_are_off_while_hints_draw_from_the_skin) {
    UseSkin(1);
    TsHintManager* m = NewManager();
    m->HintKind()->SetShadowEnabled(true);
    m->SetUseSkinData(true);
    EXPECT_TRUE(HintUsesSkin(m));
    EXPECT_FALSE(m->HintKind()->ShadowEnabled());
    m->SetSkinSection("NO SUCH SECTION");
    EXPECT_FALSE(HintUsesSkin(m));
    EXPECT_TRUE(m->HintKind()->ShadowEnabled());
}

TEST_F(HintManagerTest, show_hint_event_is_forwarded) {
    TsHintManager* m = NewManager();
    int calls = 0;
    m->OnShowHint = [&](std::string& text, bool& canShow, THintInfo&) {
        ++calls;
        text = "changed";
        canShow = false;
    };
    std::string text = "hint";
    bool canShow = true;
    THintInfo info;
    ASSERT_TRUE(bool(Application->OnShowHint));
    Application->OnShowHint(text, canShow, info);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(text, "changed");
    EXPECT_FALSE(canShow);
}

TEST_F(HintManagerTest, freed_manager_gives_back_the_handler_and_stops_being_current) {
    int previousCalls = 0;
    Application->OnShowHint = [&](std::string&, bool&, THintInfo&) { ++previousCalls; };
    TsHintManager* m = NewManager();
    EXPECT_EQ(CurrentHintManager, m);
    m->Free();
    EXPECT_EQ(CurrentHintManager, nullptr);
    EXPECT_FALSE(bool(HintWindowClass));
    ASSERT_TRUE(bool(Application->OnShowHint));
    std::string text;
    bool canShow = true;
    THintInfo info;
    Application->OnShowHint(text, canShow, info);
    EXPECT_EQ(previousCalls, 1);

    // A handler set after the manager stays when the manager goes; a second manager's choice stays too.
    TsHintManager* first = NewManager();
    TsHintManager* second = NewManager();
    int laterCalls = 0;
    Application->OnShowHint = [&](std::string&, bool&, THintInfo&) { ++laterCalls; };
    first->Free();
    EXPECT_EQ(CurrentHintManager, second);
    EXPECT_TRUE(bool(HintWindowClass));
    Application->OnShowHint(text, canShow, info);
    EXPECT_EQ(laterCalls, 1);
    second->Free();
    Application->OnShowHint = nullptr;
}

TEST_F(HintManagerTest, form_text_sets_the_main_window_hint_settings) {
    RegisterSkinWindowClasses();
    Form->SetName("Host");
    const char* text = R"(object sHintManager1: TsHintManager
  HintKind.Style = hsComics
  HintKind.Radius = 19
  HintKind.BevelWidth = 2
  HintKind.ExOffset = 34
  HintKind.Color = 16777088
  HintKind.ColorBorderTop = clBlack
  HintKind.Transparency = 11
  HintKind.ShadowBlur = 9
  HintKind.ShadowEnabled = True
  HintKind.ShadowOffset = 13
  HintKind.ShadowTransparency = 58
  HintKind.MarginH = 14
  HintKind.MarginV = 6
  HintKind.MaxWidth = 248
  HintKind.Font.Height = -11
  HintKind.Font.Name = 'MS Sans Serif'
  Predefinitions = shCustom
  SkinSection = 'HINT'
end
)";
    auto* m = dynamic_cast<TsHintManager*>(ReadComponent(text, Form));
    ASSERT_NE(m, nullptr);
    const TsHintKind* k = m->HintKind();
    EXPECT_EQ(k->Style(), hsComics);
    EXPECT_EQ(k->Radius(), 19);
    EXPECT_EQ(k->ExOffset(), 34);
    EXPECT_EQ(k->Color(), 16777088);
    EXPECT_EQ(k->MaxWidth(), 248);
    EXPECT_EQ(k->ShadowOffset(), 13);
    EXPECT_EQ(CurrentHintManager, m);
    EXPECT_EQ(WindowClassName(), "TsComicsHintWindow");
}

}
}
