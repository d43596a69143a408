// The about window: the version line read at every showing, both languages, the web site link and its
// pictures.
#include "support/SideFormKit.h"

#include "app/views/MainCommands.h"
#include "app/forms/AboutWindow.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sSpeedButton.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

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

TEST_F(AboutTest, TheWebsiteLinkOpensThePageInTheBrowser) {
    const std::string record = Env->File("opened");
    const std::string opener = Env->File("opener");
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s' \"$1\" > " << record << ".part && mv " << record << ".part "
                          << record << "\n";
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    ::setenv("KORVEX_OPENER", opener.c_str(), 1);
    TForm2* form = ShowAbout();
    ASSERT_TRUE(form->WebsiteLabel()->OnClick);   // bound by the form text
    form->WebsiteLabel()->OnClick(form->WebsiteLabel());
    ::unsetenv("KORVEX_OPENER");
    // The opener runs detached: wait for its record, bounded.
    for (int i = 0; i < 500 && !std::filesystem::exists(record); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(Env->ReadFile("opened"), ProgramWebsite);
}

TEST_F(AboutTest, WritesItsPictures) {
    for (int skin : {0, 2})
        for (int language : {0, 1}) {
            TForm2* form = ShowAbout(language, skin);
            const std::string name
                = std::string("about-") + (skin == 0 ? "MacOS" : "NextStyle") + (language == 0 ? "-ru" : "-en");
            // The picture shows the version, the credits and the site's link.
            const TPicture picture(WriteFormPicture(form, name), form);
            ASSERT_TRUE(picture.Valid()) << name;
            EXPECT_TRUE(picture.ShowsText(form->VersionLabel(), 0)) << name;
            EXPECT_TRUE(picture.ShowsText(form->CreditsLabel(), 0, 100)) << name;
            EXPECT_TRUE(picture.ShowsText(form->WebsiteLabel(), 0)) << name;
            form->Close();
            TearDown();
            SetUp();
        }
}

}

}
