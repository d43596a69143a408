// The main window with a few rows in each of our skins and both languages, written as pictures.
#include "support/MainFormKit.h"

#include "skin/controls/sLabel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/engine/sSkinManager.h"

#include <filesystem>

namespace korvex::app::test {

TEST_F(MainFormTest, WritesTheWindowInEverySkinAndLanguage) {
    static const char* const names[] = {"MacOS", "LongHorn", "NextStyle", "Office2003"};
    for (int skin = 0; skin < 4; ++skin)
        for (int language = 0; language < 2; ++language) {
            TMainForm* form = NewMainForm(NodesSettings(4, language), skin);
            for (int node = 0; node < 4; ++node)
                form->RowRefreshed(SampleRefresh(node, 15 + node * 25, node == 2 ? "2" : ""));
            const std::string path = WritePicture(std::string("main-") + names[skin] + (language == 0 ? "-ru" : "-en"));
            EXPECT_TRUE(std::filesystem::exists(path)) << path;
            form->Free();
            Form = nullptr;
        }
}

using namespace korvex::classes;

// Switching the dark skin off at run time and on again: the rows' box follows, the names readable on it.
TEST_F(MainFormTest, SwitchingTheSkinOffAndOnRecoloursTheRows) {
    TMainForm* form = NewMainForm(NodesSettings(3), 2);
    const TColor dark = ColorToRGB(form->ScrollBox()->Color());
    EXPECT_EQ(dark, form->SkinManager()->GetGlobalColor());
    form->SkinManager()->SetActive(false);
    Pump();
    EXPECT_EQ(ColorToRGB(form->ScrollBox()->Color()), ColorToRGB(clBtnFace));
    for (int node = 0; node < 3; ++node)
        EXPECT_EQ(ColorToRGB(form->Row(node).Label->Font()->Color()), ColorToRGB(clWindowText)) << node;
    WritePicture("main-skin-off");
    form->SkinManager()->SetActive(true);
    Pump();
    EXPECT_EQ(ColorToRGB(form->ScrollBox()->Color()), dark);
    WritePicture("main-skin-on-again");
}

}
