// The options window on the headless display: the copy of the node list read at every showing, the node
// settings, add, delete, save and move, the program-wide options, the language and the refresh after a save.
#include "support/MainFormKit.h"
#include "support/ModalAnswer.h"

#include "app/settings/OptionsNodes.h"
#include "app/forms/OptionsWindow.h"
#include "app/forms/ManualProjectWindow.h"
#include "platform/user/MessageLoop.h"
#include "skin/controls/sCurrEdit.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TStringGrid.h"
#include "platform/os/Autostart.h"
#include "platform/os/RegistryTypes.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sComboBox.h"
#include "skin/controls/sComboBoxes_ColorBox.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPageControl.h"
#include "skin/controls/sRadioButton.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/controls/sSpinEdit.h"
#include "skin/controls/sTooledit.h"
#include "skin/engine/sSkinnedText.h"

#include <cctype>
#include <filesystem>

namespace korvex::app::test {

using namespace classes;

TSettings ThreeNodes();

class OptionsFormTest : public MainFormTest {
protected:
    void TearDown() override {
        if (Options != nullptr) Options->Free();
        if (Form != nullptr) Form->Free();
        Form = nullptr;
        MainFormTest::TearDown();
    }

    // The store holds `settings`; the main window shows them; the options window is made and shown.
    TForm1* ShowOptions(const TSettings& settings, int skin = -1) {
        StoreOptionsNodes(settings.Nodes);
        NewMainForm(settings, skin);
        Options = Create<TForm1>(Application);
        Options->Show();
        Pump();
        return Options;
    }
    template <class T>
    T* Find(const std::string& name) {
        auto* component = dynamic_cast<T*>(Options->FindComponent(name));
        EXPECT_NE(component, nullptr) << name;
        return component;
    }
    // A check box toggles (its change fires its click); other controls get their click.
    void Click(const std::string& name) {
        if (auto* check = dynamic_cast<skin::TsCheckBox*>(Options->FindComponent(name)))
            check->SetChecked(!check->Checked());
        else if (TControl* control = Find<TControl>(name); control->OnClick)
            control->OnClick(control);
        Pump();
    }
    // Keystrokes into the focused control, as a user types them.
    void Type(const std::string& text) {
        for (char c : text)
            Display->Press(c == '-' ? user::VK_OEM_MINUS : unsigned(std::toupper(static_cast<unsigned char>(c))),
                std::string(1, c));
        Pump();
    }
    // The edit clicked into and its text selected, so that typing replaces it.
    void TypeInto(skin::TsEdit* edit, const std::string& text) {
        const TPoint p = edit->ClientToScreen(TPoint {8, edit->Height() / 2});
        Display->Click(p.x, p.y);
        Pump();
        edit->SelectAll();
        Type(text);
    }
    void SelectRow(int row) {
        Options->NodeList()->SetRow(row);
        Pump();
    }
    std::vector<std::string> StoredLabels() {
        std::vector<std::string> labels;
        for (const TNodeSettings& node : LoadSettings().Nodes)
            labels.push_back(node.Label);
        return labels;
    }
    std::vector<std::string> CopyLabels() {
        std::vector<std::string> labels;
        for (int i = 0; i < Options->NodeCount(); ++i)
            labels.push_back(Options->Node(i).Label);
        return labels;
    }
    int StoredInt(const char* key, const std::string& name) {
        auto value = Env->Stored(key, name);
        return value ? int(os::DwordOf(*value)) : -1;
    }
    std::string StoredText(const char* key, const std::string& name) {
        auto value = Env->Stored(key, name);
        return value ? value->Data : "<missing>";
    }

    // The options window over an interval of 7 minutes, stored and in memory; its "Updating" edit.
    skin::TsDecimalSpinEdit* ShowTheIntervalAt7() {
        TSettings settings = ThreeNodes();
        settings.Update = 7;
        Env->Store(OptionsKey, "Update", os::MakeDwordValue(7));
        ShowOptions(settings);
        Options->PageControl()->SetActivePageIndex(1);
        Pump();
        return Find<skin::TsDecimalSpinEdit>("sDecimalSpinEdit1");
    }

    TForm1* Options = nullptr;
};

// Three nodes with values that differ from one another and from the defaults.
TSettings ThreeNodes() {
    TSettings settings = NodesSettings(3);
    for (int i = 0; i < 3; ++i) {
        TNodeSettings& n = settings.Nodes[i];
        n.Get = i == 1;
        n.RSPath = "C:\\FAH" + std::to_string(i);
        n.Level = 60 + 5 * i;
        n.Core = i + 2;
        n.Trycore = i == 2;
        n.Backup = i == 0;
        n.Hint = i != 1;
        n.VerboN = 3;
        n.Ip = "10.1.1." + std::to_string(i);
    }
    return settings;
}

TEST_F(OptionsFormTest, ShowingFillsTheListAndTheFirstNodesSettings) {
    ShowOptions(ThreeNodes());
    ASSERT_EQ(Options->NodeCount(), 3);
    EXPECT_EQ(Options->NodeList()->RowCount(), 3);
    EXPECT_EQ(Options->NodeList()->Cells(0, 2), "node3");
    EXPECT_EQ(Options->NodeList()->Row(), 0);
    EXPECT_EQ(Options->PageControl()->ActivePageIndex(), 0);
    EXPECT_EQ(Find<skin::TsEdit>("NameEdit")->Text(), "node1");
    EXPECT_EQ(Find<skin::TsDirectoryEdit>("sDirectoryEdit1")->Text(), "/srv/fah/node1");
    EXPECT_EQ(Find<skin::TsSpinEdit>("LevelEdit")->Value(), 60);
    EXPECT_TRUE(Find<skin::TsRadioButton>("Core2")->Checked());
    EXPECT_TRUE(Find<skin::TsCheckBox>("sCheckBox5")->Checked());
    // FARM mode off: its controls are disabled; core type from the client off: the core group is.
    EXPECT_FALSE(Find<skin::TsEdit>("RSPathEdit")->Enabled());
    EXPECT_FALSE(Find<skin::TsGroupBox>("CoreGroup")->Enabled());
    // The known projects with a total row; no user list yet.
    TStringGrid* grid = Options->WUGrid();
    const int count = MainForm->Projects().Count();
    EXPECT_EQ(grid->RowCount(), count + 2);
    EXPECT_EQ(grid->Cells(1, count + 1), "TOTAL WUs");
    EXPECT_EQ(grid->Cells(0, count + 1), std::to_string(count));
    EXPECT_EQ(grid->Cells(3, 1), std::to_string(MainForm->Projects().Credit(1)));
    EXPECT_EQ(Options->InfoLabel()->Caption(), "No update. Defaul base in use");
    EXPECT_FALSE(Options->Saved());
}

TEST_F(OptionsFormTest, SelectingARowShowsThatNode) {
    ShowOptions(ThreeNodes());
    SelectRow(1);
    EXPECT_EQ(Find<skin::TsEdit>("NameEdit")->Text(), "node2");
    EXPECT_EQ(Find<skin::TsEdit>("RSPathEdit")->Text(), "C:\\FAH1");
    EXPECT_TRUE(Find<skin::TsEdit>("RSPathEdit")->Enabled());   // FARM mode on
    EXPECT_TRUE(Find<skin::TsRadioButton>("Core3")->Checked());
    SelectRow(2);
    EXPECT_TRUE(Find<skin::TsGroupBox>("CoreGroup")->Enabled());
    EXPECT_TRUE(Find<skin::TsRadioButton>("Core4")->Checked());
}

TEST_F(OptionsFormTest, SaveNodeStoresEveryValueOfTheNodeAndTheList) {
    ShowOptions(ThreeNodes());
    SelectRow(1);
    Find<skin::TsEdit>("NameEdit")->SetText("renamed");
    Find<skin::TsDirectoryEdit>("sDirectoryEdit1")->SetText("\\\\box\\fah");
    Find<skin::TsEdit>("RSPathEdit")->SetText("D:\\console");
    Find<skin::TsCheckBox>("sCheckBox3")->SetChecked(true);
    Find<skin::TsCheckBox>("sCheckBox4")->SetChecked(false);
    Find<skin::TsSpinEdit>("LevelEdit")->SetValue(95);
    Find<skin::TsCheckBox>("sCheckBox9")->SetChecked(true);
    Find<skin::TsRadioButton>("Core1")->SetChecked(true);
    Find<skin::TsCheckBox>("sCheckBox5")->SetChecked(true);
    Find<skin::TsCheckBox>("sCheckBox6")->SetChecked(true);
    Click("sSpeedButton6");
    EXPECT_TRUE(Options->Saved());
    EXPECT_EQ(Options->NodeList()->Cells(0, 1), "renamed");
    const TSettings stored = LoadSettings();
    ASSERT_EQ(stored.Nodes.size(), 3u);
    const TNodeSettings& n = stored.Nodes[1];
    EXPECT_EQ(n.Label, "renamed");
    EXPECT_EQ(n.Path, "\\\\box\\fah");
    EXPECT_EQ(n.RSPath, "D:\\console");
    EXPECT_TRUE(n.Get && n.CPU && !n.Send && n.Backup && n.Hint);
    EXPECT_TRUE(ReadOptionsNodes(3)[1].Trycore);   // the window's own value, which the main window leaves
    EXPECT_EQ(n.Level, 95);
    EXPECT_EQ(n.Core, 1);
    EXPECT_EQ(n.Ip, "10.1.1.1");
    TNodeSettings first = ReadOptionsNodes(3)[0];
    first.Trycore = false;   // the window's own three, which the main window's load leaves at their defaults
    first.Verbo = false;
    first.VerboN = 3;
    EXPECT_EQ(stored.Nodes[0], first);
    // Shown again, the window reads what was stored.
    Options->Hide();
    Options->Show();
    Pump();
    SelectRow(1);
    EXPECT_EQ(Find<skin::TsEdit>("NameEdit")->Text(), "renamed");
    EXPECT_TRUE(Find<skin::TsRadioButton>("Core1")->Checked());
}

TEST_F(OptionsFormTest, DeleteRemovesTheSelectedNodeFromTheCopyAndTheStore) {
    ShowOptions(ThreeNodes());
    SelectRow(1);
    Click("sSpeedButton4");
    EXPECT_EQ(CopyLabels(), (std::vector<std::string> {"node1", "node3"}));
    EXPECT_EQ(StoredLabels(), (std::vector<std::string> {"node1", "node3"}));
    EXPECT_EQ(StoredInt(OptionsKey, "HostCount"), 2);
    EXPECT_EQ(StoredText(PathKey, "Ip1"), "10.1.1.2");   // the host's address went with it
    EXPECT_EQ(StoredInt(GetWUKey, "Trycore1"), 1);
    EXPECT_EQ(StoredText(LabelKey, "Label2"), "node3");   // past the count, nothing is deleted
    EXPECT_EQ(Find<skin::TsEdit>("NameEdit")->Text(), "node3");   // the node now in the selected row
    EXPECT_TRUE(Options->Saved());

    // The last row deleted: the row above is shown; the last node is never deleted.
    Click("sSpeedButton4");
    EXPECT_EQ(StoredLabels(), (std::vector<std::string> {"node1"}));
    Click("sSpeedButton4");
    EXPECT_EQ(CopyLabels(), (std::vector<std::string> {"node1"}));
    EXPECT_EQ(StoredInt(OptionsKey, "HostCount"), 1);
}

// After Delete the node list shows the selected row (the node now in it, or the row above when the last row
// went) as selected, in each look.
TEST_F(OptionsFormTest, AfterDeleteTheSelectedRowShowsSelected) {
    for (int skin : {-1, 1}) {
        for (int deleted : {1, 2}) {
            ShowOptions(ThreeNodes(), skin);
            TStringGrid* list = Options->NodeList();
            auto rowColour = [&](int row) {
                const TRect c = list->CellRect(0, row);
                return ScreenPixel(list, c.right - 8, (c.top + c.bottom) / 2);
            };
            SelectRow(deleted);
            const gdi::COLORREF selected = rowColour(deleted);
            const gdi::COLORREF plain = rowColour(0);
            ASSERT_NE(plain, selected);
            Click("sSpeedButton4");
            Pump();
            EXPECT_EQ(list->Row(), 1) << skin << " " << deleted;
            EXPECT_EQ(rowColour(1), selected) << skin << " " << deleted;
            EXPECT_EQ(rowColour(0), plain) << skin << " " << deleted;
            Options->Free();
            Options = nullptr;
            Form->Free();
            Form = nullptr;
        }
    }
}

TEST_F(OptionsFormTest, AddMakesANewNodeOrACopyOfTheControls) {
    ShowOptions(ThreeNodes());
    Click("sSpeedButton2");   // the name edit shows the selected node's name
    ASSERT_EQ(Options->NodeCount(), 4);
    TNodeSettings fresh = NewOptionsNode();
    EXPECT_EQ(Options->Node(3), fresh);
    EXPECT_EQ(Options->NodeList()->Cells(0, 3), "new");
    EXPECT_EQ(StoredInt(OptionsKey, "HostCount"), 4);

    Find<skin::TsEdit>("NameEdit")->SetText("typed");
    Click("sSpeedButton2");
    ASSERT_EQ(Options->NodeCount(), 5);
    EXPECT_EQ(Options->Node(4).Label, "typed");
    EXPECT_EQ(Options->Node(4).Path, "/srv/fah/node1");
    EXPECT_EQ(Options->Node(4).Level, 60);
    EXPECT_EQ(Options->Node(4).Core, 2);
    EXPECT_TRUE(Options->Node(4).Backup);
    EXPECT_EQ(Options->Node(4).Progress, 0);
    EXPECT_EQ(StoredInt(OptionsKey, "HostCount"), 5);
    // Only the count reached the store: the added nodes' values come with "Save node".
    EXPECT_FALSE(Env->Stored(LabelKey, "Label4"));
}

TEST_F(OptionsFormTest, UpAndDownSwapNeighboursAndTheSelectionFollows) {
    ShowOptions(ThreeNodes());
    Click("sSpeedButton10");   // up on the first row
    EXPECT_EQ(CopyLabels(), (std::vector<std::string> {"node1", "node2", "node3"}));
    EXPECT_FALSE(Options->Saved());
    Click("sSpeedButton11");
    EXPECT_EQ(CopyLabels(), (std::vector<std::string> {"node2", "node1", "node3"}));
    EXPECT_EQ(Options->NodeList()->Row(), 1);
    EXPECT_EQ(Find<skin::TsEdit>("NameEdit")->Text(), "node1");
    EXPECT_EQ(Options->Node(0).Progress, 0);   // progress stays with its row
    EXPECT_EQ(Options->Node(1).Progress, 10);
    EXPECT_EQ(Options->Node(1).Ip, "10.1.1.0");   // the host's address goes with it
    EXPECT_TRUE(Options->Saved());
    SelectRow(2);
    Click("sSpeedButton11");   // down on the last row
    EXPECT_EQ(CopyLabels(), (std::vector<std::string> {"node2", "node1", "node3"}));
    // The order reaches the store with "Save node".
    EXPECT_EQ(StoredLabels(), (std::vector<std::string> {"node1", "node2", "node3"}));
    Click("sSpeedButton6");
    EXPECT_EQ(StoredLabels(), (std::vector<std::string> {"node2", "node1", "node3"}));
}

// "Save node" stores every node's flag "Attempt get WU core type" at the place the node now has: a node moved
// up or down takes its flag along even when another node is the one saved.
TEST_F(OptionsFormTest, SaveNodeStoresEveryNodesCoreTypeFlagWhereTheNodeNowStands) {
    ShowOptions(ThreeNodes());   // node3 alone takes its core type from the client
    SelectRow(2);
    Click("sSpeedButton10");   // up: node1, node3, node2
    SelectRow(0);
    Click("sSpeedButton6");
    const std::vector<TNodeSettings> stored = ReadOptionsNodes(3);
    ASSERT_EQ(stored[1].Label, "node3");
    EXPECT_TRUE(stored[1].Trycore);
    EXPECT_FALSE(stored[2].Trycore);   // node2's own flag, not the one its place held
}

// A showing puts node 0's own verbosity level into its field even with its verbosity off, so that "Save node"
// keeps it instead of storing the level the field was left with by another node.
TEST_F(OptionsFormTest, AShowingKeepsNodeZerosVerbosityLevelWithItsVerbosityOff) {
    TSettings settings = ThreeNodes();
    settings.Nodes[0].VerboN = 5;
    settings.Nodes[1].Verbo = true;
    settings.Nodes[1].VerboN = 8;
    ShowOptions(settings);
    SelectRow(1);
    Options->Hide();
    Options->Show();
    Pump();
    EXPECT_EQ(Options->SelectedNode(), 0);
    EXPECT_FALSE(Find<skin::TsSpinEdit>("VerboEdit")->Enabled());
    Click("sSpeedButton6");   // Save node
    EXPECT_EQ(StoredInt(GetWUKey, "VerboN0"), 5);
    EXPECT_EQ(StoredInt(GetWUKey, "VerboN1"), 8);
}

// In a skin the known-units list's scroll bar, made when its tab is first shown, lies above the list.
TEST_F(OptionsFormTest, TheKnownUnitsScrollBarLiesAboveTheListWhenItsTabIsShown) {
    ShowOptions(ThreeNodes(), 0);
    Options->PageControl()->SetActivePageIndex(2);
    Pump();
    TStringGrid* grid = Options->WUGrid();
    const user::HWND top = user::GetWindow(grid->Parent()->Handle(), user::GW_CHILD);
    TWinControl* above = TWinControl::FindControl(top);
    ASSERT_NE(above, nullptr);
    EXPECT_EQ(above->ClassName(), "TsScrollBar");
    EXPECT_TRUE(above->Visible());
    EXPECT_GE(above->Left(), grid->Left() + grid->ClientWidth());
}

TEST_F(OptionsFormTest, TheCopyIsReadAgainAtEveryShowing) {
    ShowOptions(ThreeNodes());
    Click("sSpeedButton11");
    Find<skin::TsEdit>("NameEdit")->SetText("unsaved");
    Options->Hide();
    Options->Show();
    Pump();
    EXPECT_EQ(CopyLabels(), (std::vector<std::string> {"node1", "node2", "node3"}));
    EXPECT_EQ(Find<skin::TsEdit>("NameEdit")->Text(), "node1");
    EXPECT_FALSE(Options->Saved());
}

TEST_F(OptionsFormTest, SaveAllStoresTheProgramWideOptions) {
    ShowOptions(ThreeNodes());
    Find<skin::TsEdit>("TeamEdit")->SetText("4242");
    Find<skin::TsEdit>("UNameEdit")->SetText("folder");
    Find<skin::TsEdit>("StatusEdit")->SetText("Farm of ours");
    Find<skin::TsFilenameEdit>("sFilenameEdit1")->SetText("\"C:\\FAH\\FAH504-Console.exe\"");
    Find<skin::TsSpinEdit>("FontEdit")->SetValue(10);
    Find<skin::TsComboBox>("LanguageBox")->SetItemIndex(0);
    Find<skin::TsColorBox>("sColorBox1")->SetSelected(TColor(0x00FF00));
    Find<skin::TsColorBox>("sColorBox2")->SetSelected(TColor(0x123456));
    Find<skin::TsCheckBox>("StartupCheck")->SetChecked(false);
    Find<skin::TsCheckBox>("MinimizedCheck")->SetChecked(true);
    Find<skin::TsCheckBox>("TaskbarCheck")->SetChecked(false);
    Find<skin::TsCheckBox>("AutoBackupCheck")->SetChecked(true);
    Find<skin::TsDirectoryEdit>("sDirectoryEdit2")->SetText("/usr/share/korvex/skins");
    Click("sSpeedButton1");
    const TSettings s = LoadSettings();
    EXPECT_EQ(s.Team, "4242");
    EXPECT_EQ(s.UName, "folder");
    EXPECT_EQ(s.CustomerStr, "Farm of ours");
    EXPECT_EQ(s.PathService, "C:\\FAH\\FAH504-Console.exe");
    EXPECT_EQ(s.ServiceName, "FAH@C:+FAH+FAH504-Console.exe");
    EXPECT_EQ(s.FSize, 10);
    EXPECT_EQ(s.Language, 0);
    EXPECT_EQ(s.WarningColor, 0x00FF00);
    EXPECT_EQ(s.WarningFontColor, 0x123456);
    EXPECT_FALSE(s.RunStartup);
    EXPECT_TRUE(s.RunMinimized);
    EXPECT_FALSE(s.Taskbar);
    EXPECT_TRUE(s.AutoBackup);
    EXPECT_EQ(s.SkinPath, "/usr/share/korvex/skins");
    EXPECT_EQ(s.HostCount, 3);
    EXPECT_EQ(MainForm->Settings().ServiceName, "FAH@C:+FAH+FAH504-Console.exe");
    EXPECT_EQ(MainForm->Settings().FSize, 10);
    // Start-up off and no Run key: nothing is made there.
    EXPECT_FALSE(Env->Stored(RunKey, RunValueName));
    Find<skin::TsCheckBox>("StartupCheck")->SetChecked(true);
    Click("sSpeedButton1");
    EXPECT_NE(StoredText(RunKey, RunValueName).find("KORVEX.exe"), std::string::npos);
    // Everything shows again as saved.
    Options->Hide();
    Options->Show();
    Pump();
    EXPECT_EQ(Find<skin::TsEdit>("TeamEdit")->Text(), "4242");
    EXPECT_EQ(Find<skin::TsFilenameEdit>("sFilenameEdit1")->InitialDir(), "C:\\FAH");   // the console's folder
    EXPECT_EQ(Find<skin::TsColorBox>("sColorBox2")->Selected(), TColor(0x123456));
    EXPECT_TRUE(Find<skin::TsCheckBox>("AutoBackupCheck")->Checked());
    EXPECT_EQ(Find<skin::TsComboBox>("LanguageBox")->ItemIndex(), 0);
}

TEST_F(OptionsFormTest, TheIntervalAndTheTrayHintFlagChangeAtOnce) {
    ShowOptions(ThreeNodes());
    Options->PageControl()->SetActivePageIndex(1);
    Pump();
    Find<skin::TsDecimalSpinEdit>("sDecimalSpinEdit1")->SetValue(15);
    Pump();
    EXPECT_EQ(StoredInt(OptionsKey, "Update"), 15);
    EXPECT_EQ(MainForm->Settings().Update, 15);
    const bool hint = MainForm->Settings().HintTray;
    Click("sCheckBox1");
    EXPECT_EQ(MainForm->Settings().HintTray, !hint);
    EXPECT_FALSE(Options->Saved());
}

// Every change of the interval's text is stored and used at once, kept within 1 to 180 minutes; a text that
// is not a number is 1. Nothing says that a value was not stored.
TEST_F(OptionsFormTest, EveryIntervalTypedIsStoredAtOnceWithinOneTo180) {
    auto* edit = ShowTheIntervalAt7();
    struct Case {
        const char* Typed;
        int Stored;
    };
    const Case cases[] = {{"181", 180}, {"999", 180}, {"0", 1}, {"-5", 1}, {"25", 25}, {"", 1}};
    for (const Case& c : cases) {
        TypeInto(edit, c.Typed);
        if (std::string(c.Typed).empty()) edit->SetText("");
        EXPECT_EQ(StoredInt(OptionsKey, "Update"), c.Stored) << c.Typed;
        EXPECT_EQ(MainForm->Settings().Update, c.Stored) << c.Typed;
    }
    TypeInto(edit, "181");
    Find<skin::TsEdit>("TeamEdit")->SetFocus();   // leaving the field
    Pump();
    EXPECT_EQ(StoredInt(OptionsKey, "Update"), 180);
    edit->SetText("30");
    Click("sSpeedButton9");   // Close
    EXPECT_EQ(StoredInt(OptionsKey, "Update"), 30);
}

// An emptied field stores 1 and shows it, selected, so that the next digit typed replaces it: the field does
// not stay empty over a value it does not show.
TEST_F(OptionsFormTest, AnEmptiedIntervalFieldShowsTheValueThatIsStored) {
    auto* edit = ShowTheIntervalAt7();
    TypeInto(edit, "25");
    ASSERT_EQ(StoredInt(OptionsKey, "Update"), 25);
    edit->SelectAll();
    Display->Press(user::VK_BACK);
    Pump();
    EXPECT_EQ(StoredInt(OptionsKey, "Update"), 1);
    EXPECT_EQ(edit->Text(), "1");
    EXPECT_EQ(edit->SelText(), "1");
    Type("9");
    EXPECT_EQ(edit->Text(), "9");
    EXPECT_EQ(StoredInt(OptionsKey, "Update"), 9);
    EXPECT_EQ(MainForm->Settings().Update, 9);
}

// Escape closes the window as its "Close" buttons do: after a save the main window is rebuilt.
TEST_F(OptionsFormTest, EscapeActsAsTheCloseButton) {
    ShowOptions(ThreeNodes());
    auto escape = [this](const char* focused) {
        Find<TWinControl>(focused)->SetFocus();
        Pump();
        Display->Press(user::VK_ESCAPE);
        Pump();
    };
    escape("NameEdit");
    EXPECT_FALSE(Options->Visible());
    EXPECT_EQ(MainForm->RowCount(), 3);   // nothing saved: not rebuilt
    Options->Show();
    Pump();
    SelectRow(0);
    Click("sSpeedButton4");   // Delete
    escape("NameEdit");
    EXPECT_FALSE(Options->Visible());
    EXPECT_EQ(MainForm->RowCount(), 2);   // rebuilt from the store
}

// Save node and Add take the controls' values as they are, an empty name and any level included, silently; a
// ready level that is not a number is 90.
TEST_F(OptionsFormTest, AddAndSaveNodeTakeTheControlsValuesAsTheyAre) {
    ShowOptions(ThreeNodes());
    struct Case {
        const char* Name;
        const char* Level;
        int Stored;
    };
    const Case cases[] = {{"", "60", 60}, {"box", "500", 500}, {"box", "ten", 90}};
    for (const Case& c : cases) {
        SelectRow(1);
        Find<skin::TsEdit>("NameEdit")->SetText(c.Name);
        Find<skin::TsSpinEdit>("LevelEdit")->SetText(c.Level);
        EXPECT_FALSE(OpensModal([this] { Click("sSpeedButton6"); })) << c.Name << " " << c.Level;
        EXPECT_EQ(StoredText(LabelKey, "Label1"), c.Name);
        EXPECT_EQ(StoredInt(GetWUKey, "Level1"), c.Stored) << c.Level;
        const int count = Options->NodeCount();
        SelectRow(0);
        Find<skin::TsEdit>("NameEdit")->SetText(std::string("copy ") + c.Name);
        Find<skin::TsSpinEdit>("LevelEdit")->SetText(c.Level);
        EXPECT_FALSE(OpensModal([this] { Click("sSpeedButton2"); })) << c.Name << " " << c.Level;
        ASSERT_EQ(Options->NodeCount(), count + 1);
        EXPECT_EQ(Options->Node(count).Level, c.Stored) << c.Level;
    }
    EXPECT_TRUE(Options->Saved());
}

// Save all stores the team and the font size as typed, letters and any number included, without a word; a
// font size that is not a number is 8, stored and given to the grid.
TEST_F(OptionsFormTest, SaveAllStoresTheTeamAsTypedAndAFontSizeThatIsNoNumberAsEight) {
    ShowOptions(ThreeNodes());
    Options->PageControl()->SetActivePageIndex(1);
    Pump();
    struct Case {
        const char* Team;
        const char* Font;
        int Stored;
    };
    const Case cases[] = {{"12ab", "9", 9}, {"", "12", 12}, {"4242", "", 8}, {"4242", "big", 8}};
    for (const Case& c : cases) {
        Find<skin::TsEdit>("TeamEdit")->SetText(c.Team);
        Find<skin::TsSpinEdit>("FontEdit")->SetText(c.Font);
        EXPECT_FALSE(OpensModal([this] { Click("sSpeedButton1"); })) << c.Team << " " << c.Font;
        EXPECT_EQ(StoredText(OptionsKey, "Team"), c.Team);
        EXPECT_EQ(StoredInt(OptionsKey, "FSize"), c.Stored) << c.Font;
        EXPECT_EQ(MainForm->Grid()->Font()->Size(), c.Stored) << c.Font;
        EXPECT_TRUE(Options->Saved());
    }
    TypeInto(Find<skin::TsEdit>("TeamEdit"), "42ab7");
    EXPECT_EQ(Find<skin::TsEdit>("TeamEdit")->Text(), "42ab7");
}

// "Load on Windows startup" shows the stored option (set when missing); "Save all" stores the box and makes
// the start-up entry follow it.
TEST_F(OptionsFormTest, TheStartUpBoxShowsTheOptionAndSaveAllMakesTheEntryFollowIt) {
    Env->Store(OptionsKey, "RunStartup", os::MakeDwordValue(1));   // the first run's default
    ShowOptions(ThreeNodes());
    auto* box = Find<skin::TsCheckBox>("StartupCheck");
    EXPECT_TRUE(box->Checked());
    EXPECT_FALSE(std::filesystem::exists(os::AutostartFilePath()));   // no entry before a save
    Find<skin::TsEdit>("UNameEdit")->SetText("someone");
    Click("sSpeedButton1");
    EXPECT_TRUE(Env->Stored(RunKey, RunValueName));
    EXPECT_TRUE(std::filesystem::exists(os::AutostartFilePath()));
    EXPECT_EQ(StoredInt(OptionsKey, "RunStartup"), 1);
    box->SetChecked(false);
    Click("sSpeedButton1");
    EXPECT_FALSE(Env->Stored(RunKey, RunValueName));
    EXPECT_FALSE(std::filesystem::exists(os::AutostartFilePath()));
    EXPECT_EQ(StoredInt(OptionsKey, "RunStartup"), 0);
    Options->Hide();
    Options->Show();
    Pump();
    EXPECT_FALSE(box->Checked());
    // The box shows the option, not the entry: one made outside does not tick it.
    Env->Store(RunKey, RunValueName, os::MakeStringValue("\"/opt/KORVEX.exe\""));
    Options->Hide();
    Options->Show();
    Pump();
    EXPECT_FALSE(box->Checked());
}

TEST_F(OptionsFormTest, TheLanguageSetsEveryCaption) {
    ShowOptions(ThreeNodes());
    Options->SetLanguage(0);
    EXPECT_EQ(Options->Caption(), "Настройки");
    EXPECT_EQ(Find<TControl>("sSpeedButton6")->Caption(), "Сохр\r\nноду");
    EXPECT_EQ(Find<TControl>("TabSheet1")->Caption(), "Управление нодой");
    EXPECT_EQ(Find<TControl>("SkinPathCheck")->Caption(), "Путь к \"скинам\"");
    EXPECT_EQ(Options->InfoLabel()->Hint(), "Формат известных WU -\r\n\"Из Inet\"/\"Всего в базе\"");
    Options->SetLanguage(1);
    EXPECT_EQ(Options->Caption(), "Options");
    EXPECT_EQ(Find<TControl>("sCheckBox9")->Caption(), "Attempt get\r\nWU core type");
    // A showing takes the stored language.
    TSettings russian = ThreeNodes();
    russian.Language = 0;
    Env->Store(OptionsKey, "Language", os::MakeDwordValue(0));
    Options->Hide();
    Options->Show();
    Pump();
    EXPECT_EQ(Find<TControl>("sSpeedButton1")->Caption(), "Запись");
    EXPECT_EQ(MainForm->Settings().Language, 0);
}

TEST_F(OptionsFormTest, ClosingAfterASaveRefreshesTheMainWindow) {
    ShowOptions(ThreeNodes());
    Click("sSpeedButton9");   // nothing saved: the main window keeps its rows
    EXPECT_EQ(MainForm->RowCount(), 3);
    Options->Show();
    Pump();
    SelectRow(0);
    Click("sSpeedButton4");
    Click("sSpeedButton9");
    EXPECT_EQ(MainForm->RowCount(), 2);   // rebuilt from the store
}

TEST_F(OptionsFormTest, TheCoreTypeComesFromTheClientWhenAsked) {
    ShowOptions(ThreeNodes());
    std::vector<std::string> asked;
    Options->ClientCoreReader = [&](const std::string& folder, int) {
        asked.push_back(folder);
        return 4;
    };
    Options->ClientCoreWriter = [&](const std::string& folder, int core) {
        asked.push_back(folder + "=" + std::to_string(core));
        return true;
    };
    Click("sCheckBox9");
    EXPECT_TRUE(Find<skin::TsRadioButton>("Core4")->Checked());
    EXPECT_TRUE(Find<skin::TsGroupBox>("CoreGroup")->Enabled());
    Click("sSpeedButton6");
    EXPECT_EQ(asked, (std::vector<std::string> {"/srv/fah/node1", "/srv/fah/node1=4"}));
    Click("sCheckBox9");
    EXPECT_FALSE(Find<skin::TsGroupBox>("CoreGroup")->Enabled());
}

}

namespace korvex::app::test {

TEST_F(OptionsFormTest, TheCoreTypeIsReadFromAndWrittenToTheNodesClientConfig) {
    TSettings settings = ThreeNodes();
    settings.Nodes[0].Path = Env->Folder();
    settings.Nodes[0].Core = 0;
    WriteFile(Env->File("client.cfg"), "[settings]\nusername=x\n[clienttype]\ntype=3\n");
    ShowOptions(settings);
    Click("sCheckBox9");
    EXPECT_TRUE(Find<skin::TsRadioButton>("Core3")->Checked());
    Find<skin::TsRadioButton>("Core1")->SetChecked(true);
    Click("sSpeedButton6");
    EXPECT_EQ(Env->ReadFile("client.cfg"), "[settings]\nusername=x\n[clienttype]\ntype=1\n");
    EXPECT_EQ(LoadSettings().Nodes[0].Core, 1);
    EXPECT_TRUE(ReadOptionsNodes(1)[0].Trycore);
}

TEST_F(OptionsFormTest, AProjectAddedByHandShowsInTheInfoLineAndRefreshesOnClose) {
    ShowOptions(ThreeNodes());
    auto* input = Create<TForm7>(Application);
    const base::ScopeExit freeInput([input] { input->Free(); });
    const int before = MainForm->Projects().Count();
    // Once the input window is up, a project is typed and saved.
    std::function<void()> typeAndSave = [&] {
        if (!input->Visible()) {
            user::MessageEventLoop().Post(typeAndSave);
            return;
        }
        input->NameEdit()->SetText("p9100_Hand made");
        input->CoreEdit()->SetText("GBGROMACS");
        input->CreditEdit()->SetValue(244);
        dynamic_cast<skin::TsSpeedButton*>(input->FindComponent("sSpeedButton1"))->Click();
    };
    user::MessageEventLoop().Post(typeAndSave);
    Click("sSpeedButton5");
    EXPECT_FALSE(input->Visible());
    EXPECT_EQ(MainForm->Projects().Count(), before + 1);
    EXPECT_NE(Find<skin::TsLabel>("InfoLabel")->Caption().find("Known units: 1/"), std::string::npos);
    EXPECT_FALSE(input->OnProjectAdded);   // unhooked after the modal showing
    Click("sSpeedButton9");   // closing after the addition rebuilds the rows from the store
    EXPECT_EQ(MainForm->RowCount(), 3);
}


// Every check box shows each line of its caption whole and keeps from its group's right edge the margin the
// group's left column keeps from its left edge, in both languages (auto-sized ones grow with their caption).
TEST_F(OptionsFormTest, EveryCheckBoxCaptionFitsWithRoomToSpare) {
    for (int language = 0; language < 2; ++language) {
        TSettings settings = NodesSettings(2, language);
        Env->Store(OptionsKey, "Language", os::MakeDwordValue(language));
        ShowOptions(settings, 1);
        int checked = 0;
        for (int i = 0; i < Options->ComponentCount(); ++i) {
            auto* check = dynamic_cast<skin::TsCheckBox*>(Options->Components(i));
            if (check == nullptr || check->Caption().empty()) continue;
            ++checked;
            const TRect room = check->CaptionRect();
            const std::string text = check->Caption();
            for (std::size_t start = 0; start <= text.size();) {
                const std::size_t end = std::min(text.find("\r\n", start), text.size());
                const TSize size = skin::GetTextSize(check->Font()->Handle(), text.substr(start, end - start));
                EXPECT_LE(size.cx, room.right - room.left) << check->Name() << " " << language;
                start = end + 2;
            }
            EXPECT_LE(check->Left() + check->Width(), check->Parent()->ClientWidth() - 12)
                << check->Name() << " " << language;
        }
        EXPECT_GT(checked, 10);
        Options->Free();
        Options = nullptr;
        Form->Free();
        Form = nullptr;
    }
}

}
