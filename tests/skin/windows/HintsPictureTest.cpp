// Pictures of the hint shapes over a skinned form in each of our skins and without one: simple, comic (the
// main window's settings), ellipse and balloon drawn by themselves, then two drawn from the skin's section;
// written to Hints_<skin>.png (over a screen copy) and Hints_<skin>_Layered.png (with a compositor).
#include "support/WindowsKit.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TReader.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/windows/sHintWindows.h"
#include "skin/windows/sWindowClasses.h"

#include <fstream>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class HintsPicture : public FormsTest, public ::testing::WithParamInterface<std::tuple<int, bool>> {
protected:
    void TearDown() override {
        for (THintWindow* w : Hints)
            w->Free();
        HintWindowClass = nullptr;
        TsCustomHintWindow::FadeStepWait = nullptr;
        FormsTest::TearDown();
    }
    void Show(TsHintManager* m, TPoint anchor, const std::string& text) {
        auto* w = static_cast<TsCustomHintWindow*>(HintWindowClass(Form));
        w->AnchorPoint = anchor;
        w->ActivateHint(w->CalcHintRect(0, text, nullptr), text);
        Pump();
        EXPECT_TRUE(w->IsHintShowing()) << text;
        Hints.push_back(w);
        (void)m;
    }
    std::vector<THintWindow*> Hints;
};

// The hint manager as the program's main window text declares it, read into a new manager owned by owner.
TsHintManager* ProgramHintManager(TComponent* owner) {
    RegisterSkinWindowClasses();
    std::ifstream file(std::string(KORVEX_SOURCE_DIR) + "/app/forms/MainWindow.txt");
    std::string text, line;
    bool inside = false;
    while (std::getline(file, line)) {
        if (line == "  object sHintManager1: TsHintManager") inside = true;
        if (!inside) continue;
        text += line.substr(std::min<std::size_t>(2, line.size())) + "\n";
        if (line == "  end") break;
    }
    EXPECT_FALSE(text.empty()) << "no hint manager in the main window's text";
    return text.empty() ? nullptr : dynamic_cast<TsHintManager*>(ReadComponent(text, owner));
}

TEST_P(HintsPicture, FourShapesOwnAndSkinned) {
    const auto [which, compositor] = GetParam();
    UseSkin(which);
    TsCustomHintWindow::FadeStepWait = nullptr;
    Display->SetCompositor(compositor);
    Form->Hide();
    TForm* main = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 620, 330, 10, 10);
    main->SetCaption("KORVEX: hints");
    auto* panel = Create<TsPanel>(main);
    panel->SetParent(main);
    panel->SetBounds(10, 10, 600, 310);
    panel->SetCaption("Node 3: 12% done, 02:14:55 left");
    Pump();

    auto* m = Create<TsHintManager>(main);
    m->SetAnimated(false);
    const int top = 60;
    m->SetPredefinitions(shSimply);
    m->ApplyPredefinitions();
    Show(m, Point(30, top), "Simple hint: the node's last frame");
    TsHintManager* program = ProgramHintManager(main);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->HintKind()->Style(), hsComics);
    EXPECT_EQ(program->HintKind()->MaxWidth(), 248);
    program->SetAnimated(false);
    Show(program, Point(280, top), "Comic hint as the main window has it");
    m->SetPredefinitions(shEllipse);
    m->ApplyPredefinitions();
    Show(m, Point(500, top + 90), "Ellipse hint");
    m->SetPredefinitions(shBalloon);
    m->ApplyPredefinitions();
    m->SetDefaultMousePos(mpLeftBottom);
    Show(m, Point(40, 330), "Balloon hint with bubbles");
    m->SetDefaultMousePos(mpRightBottom);
    Show(m, Point(610, 340), "Bubbles to the right");
    m->SetDefaultMousePos(mpLeftTop);
    if (which >= 0) {
        m->SetUseSkinData(true);
        m->SetPredefinitions(shCustom);
        m->HintKind()->SetStyle(hsSimply);
        EXPECT_TRUE(HintUsesSkin(m));
        Show(m, Point(270, 240), "Drawn from the skin's HINT section");
        m->SetHTMLMode(true);
        Show(m, Point(270, 290), "<B>Markup</B> in the <FONT COLOR=RED>skin</FONT>");
    }
    // The sheet's hints lie apart, pointers and shadows included.
    for (std::size_t i = 0; i < Hints.size(); ++i)
        for (std::size_t j = i + 1; j < Hints.size(); ++j) {
            const TRect a = Hints[i]->BoundsRect();
            const TRect b = Hints[j]->BoundsRect();
            EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) << i << " " << j;
        }
    const gdi::RECT r {0, 0, 660, 400};
    const std::string name = "/Hints_" + ctltest::SkinShortName(which) + (compositor ? "_Layered" : "") + ".png";
    ASSERT_TRUE(Display->WriteScreenshotPng(WindowsPictureDir() + name, &r));
}

// The platform's shadow is asked for only by a skinned hint shown layered; the others draw their own.
class HintShadowStyle : public FormsTest {
protected:
    void TearDown() override {
        HintWindowClass = nullptr;
        FormsTest::TearDown();
    }
};

TEST_F(HintShadowStyle, OnlyASkinnedLayeredHintAsksThePlatformForADropShadow) {
    UseSkin(0);
    auto* m = Create<TsHintManager>(Form);
    m->SetAnimated(false);
    m->SetPredefinitions(shCustom);
    m->HintKind()->SetStyle(hsSimply);
    struct Case {
        bool Skinned, Compositor, Shadow;
    };
    for (const Case c : {Case {true, true, true}, Case {false, true, false}, Case {true, false, false},
             Case {true, true, true}}) {
        m->SetUseSkinData(c.Skinned);
        Display->SetCompositor(c.Compositor);
        auto* w = static_cast<TsCustomHintWindow*>(HintWindowClass(Form));
        const base::ScopeExit freeHint([w] { w->Free(); });
        w->AnchorPoint = Point(100, 100);
        w->ActivateHint(w->CalcHintRect(0, "A hint", nullptr), "A hint");
        Pump();
        ASSERT_TRUE(w->IsHintShowing());
        EXPECT_EQ((user::GetClassLongPtr(w->Handle(), user::GCL_STYLE) & user::CS_DROPSHADOW) != 0, c.Shadow) << c.Skinned << c.Compositor;
        const user::SurfaceId top = Display->StackingOrder().back();   // the hint is topmost
        EXPECT_EQ(Display->Surface(top)->Options.DropShadow, c.Shadow) << c.Skinned << c.Compositor;
    }
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, HintsPicture,
    ::testing::Combine(::testing::Values(-1, 0, 1, 2, 3), ::testing::Bool()), [](const auto& info) {
        return ctltest::SkinShortName(std::get<0>(info.param)) + (std::get<1>(info.param) ? "Layered" : "Copy");
    });

}
}
