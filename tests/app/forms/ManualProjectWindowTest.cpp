// The manual input window: Save adds a new project and closes, refuses known names, Cancel closes,
// both languages and its pictures.
#include "support/SideFormKit.h"

#include "app/forms/ManualProjectWindow.h"
#include "platform/base/DateTime.h"
#include "platform/os/RegistryTypes.h"
#include "skin/controls/sCurrEdit.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sSpeedButton.h"

namespace korvex::app::test {

using namespace classes;

namespace {

class ManualInputTest : public SideFormTest {
protected:
    TForm7* ShowInput(int language = 1, int skin = 1) {
        NewMain(NodesSettings(1, language), skin);
        TForm7* form = NewSide<TForm7>();
        form->OnProjectAdded = [this](const std::string& text) { infos.push_back(text); };
        form->Show();
        Pump();
        return form;
    }
    void Enter(TForm7* form, const std::string& name, const std::string& core, double credit) {
        if (!form->Visible()) form->Show();
        form->NameEdit()->SetText(name);
        form->CoreEdit()->SetText(core);
        form->CreditEdit()->SetValue(credit);
    }
    void Save(TForm7* form) {
        dynamic_cast<skin::TsSpeedButton*>(form->FindComponent("sSpeedButton1"))->Click();
        Pump();
    }
    std::vector<std::string> infos;
};

TEST_F(ManualInputTest, SaveAddsANewProjectToTheTableAndTheListThenCloses) {
    Env->SetNow(base::EncodeDateTime(2024, 12, 5, 20, 10, 15, 0));
    TForm7* form = ShowInput();
    const int before = MainForm->Projects().Count();
    Enter(form, "p9100_Hand made", "GBGROMACS", 244.6);
    Save(form);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->NameEdit()->Text(), "p9100_Hand made");   // kept: Save only adds and closes
    ASSERT_EQ(MainForm->Projects().Count(), before + 1);
    EXPECT_EQ(MainForm->Projects().Row(before + 1), (TProjectRow {"p9100_Hand made", "GBGROMACS", 245}));
    EXPECT_EQ(Env->Stored(UnitsKey, "Name1")->Data, "p9100_Hand made");
    EXPECT_EQ(os::DwordOf(*Env->Stored(UnitsKey, "Credit1")), 245u);
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0], "Last update: 05.12.2024 20:10:15 Known units: 1/" + std::to_string(before + 1));
    // A second one is numbered on.
    Enter(form, "p9101", "QMD", 5);
    Save(form);
    EXPECT_EQ(os::DwordOf(*Env->Stored(UnitsKey, "UnitsCount")), 2u);
    EXPECT_EQ(Env->Stored(UnitsKey, "Core2")->Data, "QMD");
}

TEST_F(ManualInputTest, KnownNamesAreDroppedAndTheWindowStillCloses) {
    TForm7* form = ShowInput();
    const int before = MainForm->Projects().Count();
    for (const char* name : {"p2008_mine", "p697_x"}) {
        Enter(form, name, "GROMACS", 100);
        Save(form);
        EXPECT_FALSE(form->Visible()) << name;
    }
    EXPECT_EQ(MainForm->Projects().Count(), before);
    EXPECT_FALSE(Env->Stored(UnitsKey, "UnitsCount"));
    EXPECT_TRUE(infos.empty());
}

TEST_F(ManualInputTest, CancelClosesWithoutAdding) {
    TForm7* form = ShowInput();
    const int before = MainForm->Projects().Count();
    Enter(form, "p9200", "AMBER", 1);
    dynamic_cast<skin::TsSpeedButton*>(form->FindComponent("sSpeedButton2"))->Click();
    Pump();
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(MainForm->Projects().Count(), before);
}

TEST_F(ManualInputTest, RussianCaptions) {
    TForm7* form = ShowInput(0);
    EXPECT_EQ(form->Caption(), "Ручной ввод проекта");
    EXPECT_EQ(dynamic_cast<skin::TsSpeedButton*>(form->FindComponent("sSpeedButton1"))->Caption(), "Сохранить");
    Enter(form, "p9300", "AMBER", 3);
    Save(form);
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0].rfind("Посл.обновл: ", 0), 0u);
}

TEST_F(ManualInputTest, WritesItsPictures) {
    for (int skin : {0, 2})
        for (int language : {0, 1}) {
            TForm7* form = ShowInput(language, skin);
            Enter(form, "p9400_Sample", "GROMACS", 250);
            const std::string name
                = std::string("manual-") + (skin == 0 ? "MacOS" : "NextStyle") + (language == 0 ? "-ru" : "-en");
            // The picture shows each edit's value and each button's caption.
            const TPicture picture(WriteFormPicture(form, name), form);
            ASSERT_TRUE(picture.Valid()) << name;
            EXPECT_TRUE(picture.ShowsText(form->NameEdit(), 3)) << name;
            EXPECT_TRUE(picture.ShowsText(form->CoreEdit(), 3)) << name;
            EXPECT_TRUE(picture.ShowsText(form->CreditEdit(), 3)) << name;
            for (const char* button : {"sSpeedButton1", "sSpeedButton2"})
                EXPECT_TRUE(picture.ShowsText(dynamic_cast<TControl*>(form->FindComponent(button)), 4)) << button;
            form->Close();
            TearDown();
            SetUp();
        }
}

}

}
