// The about window: the version line read at every showing, both languages, its labels and button, and its
// pictures.
#include "support/SideFormKit.h"

#include "app/forms/AboutWindow.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sSpeedButton.h"

#include <algorithm>
#include <string>
#include <vector>

namespace korvex::app::test {

using namespace classes;

namespace {

class AboutTest : public SideFormTest {
protected:
    TForm2* ShowAbout(int language = 1, int skin = 1) {
        NewMain(NodesSettings(1, language), skin);
        TForm2* form = NewSide<TForm2>();
        form->Show();
        Pump();
        return form;
    }
};

TEST_F(AboutTest, ShowsTheProgramsVersionAtEveryShowing) {
    TForm2* form = ShowAbout();
    EXPECT_EQ(form->VersionLabel()->Caption(), "Version " + TMainForm::GetVersion(4));
    EXPECT_EQ(TMainForm::GetVersion(4), "2.6.0.11");
    form->VersionLabel()->SetCaption("");
    form->Close();
    form->Show();
    Pump();
    EXPECT_EQ(form->VersionLabel()->Caption(), "Version 2.6.0.11");
    dynamic_cast<skin::TsSpeedButton*>(form->FindComponent("sSpeedButton1"))->Click();
    EXPECT_FALSE(form->Visible());
}

TEST_F(AboutTest, CaptionsInBothLanguages) {
    TForm2* form = ShowAbout(0);
    EXPECT_EQ(form->Caption(), "О программе");
    EXPECT_EQ(form->CreditsLabel()->Caption().rfind("Монитор фермы Folding@home", 0), 0u);
    form->SetLanguage(1);
    EXPECT_EQ(form->Caption(), "About");
    EXPECT_EQ(form->CreditsLabel()->Caption().rfind("Folding@home farm monitor", 0), 0u);
}

// Three centred labels stacked from the top (name, credits, version) and one Close button: nothing else.
TEST_F(AboutTest, HoldsTheThreeLabelsAndTheCloseButtonAlone) {
    TForm2* form = ShowAbout();
    std::vector<std::string> names;
    std::vector<TControl*> labels;
    for (int i = 0; i < form->ControlCount(); ++i) {
        TControl* control = form->Controls(i);
        names.push_back(control->Name());
        if (auto* label = dynamic_cast<skin::TsLabel*>(control)) {
            EXPECT_EQ(label->Alignment(), taCenter) << control->Name();
            labels.push_back(control);
        }
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string> {"CreditsLabel", "ProductLabel", "VersionLabel", "sSpeedButton1"}));
    ASSERT_EQ(labels.size(), 3u);
    std::sort(labels.begin(), labels.end(), [](TControl* a, TControl* b) { return a->Top() < b->Top(); });
    EXPECT_EQ(labels[0]->Name(), "ProductLabel");
    EXPECT_EQ(labels[1]->Name(), "CreditsLabel");
    EXPECT_EQ(labels[2]->Name(), "VersionLabel");
    EXPECT_EQ(dynamic_cast<skin::TsLabel*>(labels[0])->Caption(), "KORVEX");
}

TEST_F(AboutTest, WritesItsPictures) {
    for (int skin : {0, 2})
        for (int language : {0, 1}) {
            TForm2* form = ShowAbout(language, skin);
            const std::string name
                = std::string("about-") + (skin == 0 ? "MacOS" : "NextStyle") + (language == 0 ? "-ru" : "-en");
            // The picture shows the version and the credits.
            const TPicture picture(WriteFormPicture(form, name), form);
            ASSERT_TRUE(picture.Valid()) << name;
            EXPECT_TRUE(picture.ShowsText(form->VersionLabel(), 0)) << name;
            EXPECT_TRUE(picture.ShowsText(form->CreditsLabel(), 0, 100)) << name;
            form->Close();
            TearDown();
            SetUp();
        }
}

}

}
