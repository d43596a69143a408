// The options window's three tabs in two of our skins and both languages, written as pictures.
#include "support/MainFormKit.h"

#include "app/OptionsNodes.h"
#include "app/forms/Unit1.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TStringGrid.h"
#include "skin/controls/sPageControl.h"

#include <filesystem>

namespace korvex::app::test {

TEST_F(MainFormTest, WritesTheOptionsWindowsTabsInTwoSkinsAndBothLanguages) {
    static const std::pair<int, const char*> skins[] = {{1, "LongHorn"}, {3, "Office2003"}};
    for (const auto& [skin, skinName] : skins)
        for (int language = 0; language < 2; ++language) {
            TSettings settings = NodesSettings(5, language);
            settings.Nodes[1].Get = true;
            settings.Nodes[1].Trycore = true;
            StoreOptionsNodes(settings.Nodes, 0);
            Env->Store(OptionsKey, "Language", os::MakeDwordValue(language));
            NewMainForm(settings, skin);
            auto* options = classes::Create<TForm1>(classes::Application);
            options->Show();
            Pump();
            options->NodeList()->SetRow(1);
            options->WUGrid()->SetRow(options->WUGrid()->RowCount() - 1);   // the total row in sight
            for (int tab = 0; tab < 3; ++tab) {
                options->PageControl()->SetActivePageIndex(tab);
                const std::string path = WritePicture(std::string("options-") + skinName + (language == 0 ? "-ru-" : "-en-")
                        + std::to_string(tab + 1),
                    options);
                EXPECT_TRUE(std::filesystem::exists(path)) << path;
            }
            options->Free();
            Form->Free();
            Form = nullptr;
        }
}

}
