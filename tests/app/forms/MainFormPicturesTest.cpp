// The main window with a few rows in each of our skins and both languages, written as pictures.
#include "support/MainFormKit.h"

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

}
