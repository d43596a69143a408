// The options window's three tabs in our four skins and both languages, written as pictures.
#include "support/MainFormKit.h"

#include "app/settings/OptionsNodes.h"
#include "app/forms/OptionsWindow.h"
#include "platform/classes/TApplication.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/TStringGrid.h"
#include "platform/gdi/FontEngine.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPageControl.h"

#include <filesystem>

namespace korvex::app::test {

class OptionsPictures : public MainFormTest {
protected:
    // Each tab of the options window in each skin and language; `prefix` tells the font pass apart.
    void WriteAll(const std::string& prefix);
};

void OptionsPictures::WriteAll(const std::string& prefix) {
    static const std::pair<int, const char*> skins[]
        = {{0, "MacOS"}, {1, "LongHorn"}, {2, "NextStyle"}, {3, "Office2003"}};
    for (const auto& [skin, skinName] : skins)
        for (int language = 0; language < 2; ++language) {
            TSettings settings = NodesSettings(5, language);
            settings.Nodes[1].Get = true;
            settings.Nodes[1].Trycore = true;
            StoreOptionsNodes(settings.Nodes);
            Env->Store(OptionsKey, "Language", os::MakeDwordValue(language));
            NewMainForm(settings, skin);
            auto* options = classes::Create<TForm1>(classes::Application);
            options->Show();
            Pump();
            options->NodeList()->SetRow(1);
            options->WUGrid()->SetRow(options->WUGrid()->RowCount() - 1);   // the total row in sight
            // Controls each tab's picture must show with their text.
            const std::vector<std::vector<const char*>> shown = {
                {"NameEdit", "sSpeedButton2", "sSpeedButton6"},
                {"UpdateLabel", "TeamEdit", "sSpeedButton1"},
                {"InfoLabel", "sSpeedButton7"},
            };
            for (int tab = 0; tab < 3; ++tab) {
                options->PageControl()->SetActivePageIndex(tab);
                const std::string name
                    = prefix + skinName + (language == 0 ? "-ru-" : "-en-") + std::to_string(tab + 1);
                const TPicture picture(WritePicture(name, options), options);
                ASSERT_TRUE(picture.Valid()) << name;
                for (const char* control : shown[std::size_t(tab)])
                    EXPECT_TRUE(picture.ShowsText(static_cast<classes::TControl*>(options->FindComponent(control)), 0))
                        << name << " " << control;
                if (tab == 0) {
                    EXPECT_TRUE(picture.ShowsText(options->NodeList(), 2, 40)) << name;   // the names
                }
                if (tab == 2) {   // the total row in sight
                    classes::TStringGrid* grid = options->WUGrid();
                    EXPECT_GE(picture.Strokes(grid, grid->CellRect(1, grid->RowCount() - 1)), 12) << name;
                }
            }
            options->Free();
            Form->Free();
            Form = nullptr;
        }
}

TEST_F(OptionsPictures, WritesTheTabsInFourSkinsAndBothLanguages) {
    WriteAll("options-");
}

// The same in the fonts the system really chooses.
TEST_F(OptionsPictures, WritesTheTabsInTheRealFonts) {
    gdi::SetPinnedFontFamily("");
    base::ScopeExit pinAgain([] { gdi::SetPinnedFontFamily("DejaVu Sans"); });
    WriteAll("options-realfont-");
}

}
