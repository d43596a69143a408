// The cores diagram window: sized for the nodes, LED bars from stored speeds against the chosen scale, the
// current core highlighted, the results text, the section edits, the stored choices and its pictures.
#include "support/ModalAnswer.h"
#include "support/SideFormKit.h"

#include "app/settings/SettingsKey.h"
#include "app/forms/CoresDiagramWindow.h"
#include "leds/iLedBar.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/TStringGrid.h"
#include "platform/gdi/FontEngine.h"
#include "platform/os/RegistryTypes.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sRadioButton.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sSpinEdit.h"
#include "skin/controls/sTrackBar.h"

namespace korvex::app::test {

using namespace classes;

namespace {

// The main window's row of a node shows `core` as the node's core, as a refresh gives it.
void ShowCore(TMainForm* main, int node, const std::string& core) {
    TRowRefresh refresh;
    refresh.Row = main->Row(node).View;
    refresh.Row.Cell(TGridColumn::Core) = core;
    main->RowRefreshed(refresh);
}

class DiagramTest : public SideFormTest {
protected:
    TForm4* ShowDiagram(int nodes, int language = 1, int skin = 1) {
        NewMain(NodesSettings(nodes, language), skin);
        TForm4* form = NewSide<TForm4>();
        form->Show();
        Pump();
        return form;
    }
    static void StoreSpeed(const std::string& name, double v) { TSettingsKey(DataKey).WriteFloat(name, v); }
    std::uint32_t Option(const std::string& name) const { return os::DwordOf(*Env->Stored(OptionsKey, name)); }
};

TEST_F(DiagramTest, ThreeNodesMakeTheWindow245High) {
    TForm4* form = ShowDiagram(3);
    EXPECT_EQ(form->Height(), 245);
    EXPECT_EQ(form->Width(), 283);
    EXPECT_EQ(form->ScrollBox()->Height(), 124);
    ASSERT_EQ(form->Rows().size(), 3u);
    EXPECT_EQ(form->Rows()[2].Panel->Top(), 80);
    EXPECT_EQ(form->Rows()[2].Name->Caption(), "node3");
    form->Close();
    EXPECT_TRUE(form->Rows().empty());
}

TEST_F(DiagramTest, ANodeNameWithAnAmpersandIsShownAsTyped) {
    TSettings settings = NodesSettings(1, 1);
    settings.Nodes[0].Label = "R&D Lab";
    NewMain(settings, 1);
    TForm4* form = NewSide<TForm4>();
    form->Show();
    Pump();
    ASSERT_EQ(form->Rows().size(), 1u);
    EXPECT_EQ(form->Rows()[0].Name->DisplayText(), "R&D Lab");
    form->Close();
}

TEST_F(DiagramTest, TenOrMoreNodesMakeTheWindow525HighAndTheRowsScroll) {
    TForm4* form = ShowDiagram(12);
    EXPECT_EQ(form->Height(), 525);
    ASSERT_EQ(form->Rows().size(), 12u);
    EXPECT_EQ(form->ScrollBox()->Height(), 404);
    form->ScrollRows(20);
    Pump();
    EXPECT_EQ(form->ScrollBox()->VertScrollBar()->Position(), 20);
    form->ScrollRows(-100);
    EXPECT_EQ(form->ScrollBox()->VertScrollBar()->Position(), 0);
}

// The stored section ends are the bars' as they are, also a pair the edits would not make.
TEST_F(DiagramTest, StoredSectionEndsAreTakenAsTheyAre) {
    Env->Store(OptionsKey, "End1", os::MakeDwordValue(60));
    Env->Store(OptionsKey, "End2", os::MakeDwordValue(40));
    TForm4* form = ShowDiagram(1);
    EXPECT_DOUBLE_EQ(form->Rows()[0].Bars[0]->SectionEnd1(), 600);
    EXPECT_DOUBLE_EQ(form->Rows()[0].Bars[0]->SectionEnd2(), 400);
    EXPECT_EQ(Env->Stored(OptionsKey, "End1"), os::MakeDwordValue(60));   // showing stores nothing
}

TEST_F(DiagramTest, BarsShowStoredSpeedsAgainstThePerfectValue) {
    StoreSpeed("Gromacs0", 8.5);
    StoreSpeed("Amber0", 2);
    StoreSpeed("Qmd1", 40);
    TForm4* form = ShowDiagram(2);
    const TDiagramRow& first = form->Rows()[0];
    EXPECT_DOUBLE_EQ(first.Bars[2]->Position(), 850);
    EXPECT_DOUBLE_EQ(first.Bars[0]->Position(), 200);
    EXPECT_DOUBLE_EQ(first.Bars[1]->Position(), 0);
    EXPECT_DOUBLE_EQ(first.Bars[2]->PositionMax(), 1000);
    EXPECT_DOUBLE_EQ(first.Bars[2]->SectionEnd1(), 300);
    EXPECT_DOUBLE_EQ(first.Bars[2]->SectionEnd2(), 550);
    EXPECT_EQ(first.Bars[2]->SegmentDirection(), leds::idRight);
    EXPECT_EQ(first.Bars[2]->Width(), 150);
    EXPECT_EQ(first.Bars[2]->Height(), 5);
    EXPECT_EQ(first.Bars[2]->Layout().Count, 76);
    EXPECT_EQ(first.Panel->Hint(), "Perfect value PPH:  \r\nAMBER -     2.00\r\nGROMACS   - 8.50\r\n");
    // 40 points per hour is past the top of the scale: the bar is full.
    EXPECT_DOUBLE_EQ(form->Rows()[1].Bars[5]->Position(), 1000);

    // Position 5 scales to 3000; per day the values are 24 times and the bar moves by 4.17 a point.
    TSettingsKey(OptionsKey).WriteInteger("Scale", 5);
    TSettingsKey(OptionsKey).WriteInteger("HPP", 0);
    form->sSpeedButton2Click(nullptr);
    const TDiagramRow& again = form->Rows()[0];
    EXPECT_DOUBLE_EQ(again.Bars[2]->PositionMax(), 3000);
    EXPECT_NEAR(again.Bars[2]->Position(), 8.5 * 24 * 4.17, 1e-9);
    EXPECT_EQ(form->TrackBar()->Position(), 5);
    EXPECT_TRUE(form->PPDButton()->Checked());
    EXPECT_EQ(form->ScaleLabel(5)->Caption(), "720");
    EXPECT_EQ(again.Panel->Hint().rfind("Perfect value PPD:  \r\n", 0), 0u);
}

TEST_F(DiagramTest, TheCurrentCoreIsSolidAndBright) {
    NewMain(NodesSettings(2), 1);
    ShowCore(Form, 0, "GROMACS33");
    ShowCore(Form, 1, "Core_a4");
    TForm4* form = NewSide<TForm4>();
    form->Show();
    Pump();
    const TDiagramRow& first = form->Rows()[0];
    EXPECT_EQ(first.Bars[2]->SegmentSpacing(), 0);
    EXPECT_EQ(first.Bars[2]->SectionColor1(), TColor(0x0000FF));
    EXPECT_EQ(first.Bars[2]->SectionColor3(), TColor(0x00FF00));
    EXPECT_EQ(first.Bars[3]->SegmentSpacing(), 1);
    EXPECT_EQ(first.Bars[3]->SectionColor1(), TColor(0xCBC0FF));
    for (leds::TiLedBar* bar : form->Rows()[1].Bars)
        EXPECT_EQ(bar->SegmentSpacing(), 1);
}

TEST_F(DiagramTest, ResultsTextForAClickedControlOfARowOnly) {
    StoreSpeed("Tinker1", 10);
    TForm4* form = ShowDiagram(2);
    const TDiagramRow& second = form->Rows()[1];
    for (TObject* sender : std::initializer_list<TObject*> {second.Panel, second.Name, second.Bars[4], second.Letters[0]}) {
        const std::string text = form->ResultsText(sender);
        EXPECT_EQ(text.rfind("Information for  \"node2\"  node:\r\r", 0), 0u);
        EXPECT_NE(text.find("TINKER           - 10.00\r"), std::string::npos);
        EXPECT_NE(text.find("QMD                - unknown\r"), std::string::npos);
    }
    EXPECT_EQ(form->ResultsText(form->TrackBar()), "Select node...");
    EXPECT_EQ(form->ResultsText(nullptr), "Select node...");
    // A node without speeds: six unknowns.
    const std::string none = form->ResultsText(form->Rows()[0].Panel);
    int unknown = 0;
    for (std::size_t at = none.find("unknown"); at != std::string::npos; at = none.find("unknown", at + 1))
        ++unknown;
    EXPECT_EQ(unknown, 6);
    // The message box shows it.
    bool shown = false;
    WhenModal([&shown](TCustomForm* box) {
        shown = true;
        box->SetModalResult(mrOk);
    });
    form->ShowResults(second.Bars[1]);
    EXPECT_TRUE(shown);
}

// A mode picked with the radio buttons counts from the next build: until then a clicked row reads as its bars.
TEST_F(DiagramTest, ResultsKeepTheModeOfTheLastBuild) {
    StoreSpeed("Tinker0", 3);
    TForm4* form = ShowDiagram(1);
    form->PPDButton()->SetChecked(true);
    form->sRadioButton1Click(form->PPDButton());
    EXPECT_NE(form->ResultsText(form->Rows()[0].Panel).find("TINKER           - 3.00\r"), std::string::npos);
    EXPECT_DOUBLE_EQ(form->Rows()[0].Bars[1]->Position(), 300);
    form->sSpeedButton2Click(nullptr);
    EXPECT_NE(form->ResultsText(form->Rows()[0].Panel).find("TINKER           - 72.00\r"), std::string::npos);
    EXPECT_NEAR(form->Rows()[0].Bars[1]->Position(), 72 * 4.17, 1e-9);
}

TEST_F(DiagramTest, SectionsNeverCrossAndEachChoiceIsStored) {
    TForm4* form = ShowDiagram(1);
    EXPECT_EQ(Option("End1"), 30u);   // the defaults are written at the first showing
    EXPECT_EQ(Option("HPP"), 1u);
    form->MediumEdit()->SetValue(50);
    EXPECT_EQ(Option("End2"), 50u);
    // Meeting or crossing the other end puts the value back next to it and stores that, without a word.
    EXPECT_FALSE(OpensModal([form] { form->LowEdit()->SetValue(50); }));   // meets Medium: back to 45
    EXPECT_EQ(int(form->LowEdit()->Value()), 45);
    EXPECT_EQ(Option("End1"), 45u);
    form->LowEdit()->SetValue(25);
    EXPECT_EQ(Option("End1"), 25u);
    EXPECT_FALSE(OpensModal([form] { form->MediumEdit()->SetValue(20); }));   // below Low: raised to 30
    EXPECT_EQ(int(form->MediumEdit()->Value()), 30);
    EXPECT_EQ(Option("End2"), 30u);
    form->MediumEdit()->SetValue(35);
    EXPECT_EQ(Option("End2"), 35u);
    // A text that is no number is the edit's least value, stored at once.
    form->LowEdit()->SetText("");
    EXPECT_EQ(Option("End1"), 10u);
    form->TrackBar()->SetPosition(3);
    form->sTrackBar1Change(form->TrackBar());
    EXPECT_EQ(Option("Scale"), 3u);
    form->PPDButton()->SetChecked(true);
    form->sRadioButton1Click(form->PPDButton());
    EXPECT_EQ(Option("HPP"), 0u);
    form->sRadioButton2Click(form->PPHButton());
    EXPECT_EQ(Option("HPP"), 1u);
}

// The core letters stand in two columns left of the bars, at 99 (A, G, G) and 93 (T, D, Q).
TEST_F(DiagramTest, TheCoreLettersStandInTwoColumns) {
    TForm4* form = ShowDiagram(1);
    const TDiagramRow& row = form->Rows()[0];
    for (int e = 0; e < DiagramCoreCount; ++e)
        EXPECT_EQ(row.Letters[std::size_t(e)]->Left(), e % 2 == 0 ? 99 : 93) << e;
}

TEST_F(DiagramTest, WritesItsPictures) {
    static const char* const skinNames[] = {"MacOS", "LongHorn", "NextStyle", "Office2003"};
    for (bool realFonts : {false, true})
        for (int skin = 0; skin < 4; ++skin)
            for (int language : {0, 1}) {
                if (realFonts) gdi::SetPinnedFontFamily("");
                base::ScopeExit pinAgain([] { gdi::SetPinnedFontFamily("DejaVu Sans"); });
                StoreSpeed("Gromacs0", 9.2);   // each round has a fresh store
                StoreSpeed("Amber0", 3.1);
                StoreSpeed("Tinker1", 6.4);
                StoreSpeed("Dgromacs2", 4.4);
                StoreSpeed("Qmd2", 11.5);
                NewMain(NodesSettings(3, language), skin);
                ShowCore(Form, 0, "GROMACS");
                ShowCore(Form, 2, "QMD");
                TForm4* form = NewSide<TForm4>();
                form->Show();
                Pump();
                const std::string name = std::string("diagram-") + (realFonts ? "realfont-" : "") + skinNames[skin]
                    + (language == 0 ? "-ru" : "-en");
                // The picture shows every node's name, and the bar of a node's current core in the bright
                // colours up to its speed (Gromacs of node 1: 920 of 1000, past both section ends).
                const TPicture picture(WriteFormPicture(form, name), form);
                ASSERT_TRUE(picture.Valid()) << name;
                for (const TDiagramRow& row : form->Rows())
                    EXPECT_TRUE(picture.ShowsText(row.Name, 0)) << name;
                const leds::TiLedBar* current = form->Rows()[0].Bars[2];
                const TRect bar {0, 0, current->Width(), current->Height()};
                for (gdi::COLORREF bright : {gdi::RGB(255, 0, 0), gdi::RGB(255, 255, 0), gdi::RGB(0, 255, 0)})
                    EXPECT_GT(picture.Count(current, bar, [bright](gdi::COLORREF c) { return c == bright; }), 4)
                        << name << " " << std::hex << bright;
                // A bar of no measured speed shows none of them.
                const leds::TiLedBar* empty = form->Rows()[0].Bars[5];
                EXPECT_EQ(picture.Count(empty, bar, [](gdi::COLORREF c) { return c == gdi::RGB(0, 255, 0); }), 0)
                    << name;
                form->Close();
                TearDown();
                SetUp();
            }
}

}

}
