// The client log viewer: the selected node's files, the keyword colours, a long log whole and coloured with its
// end in view, lines of every kind shown whole, the window answering while a huge log loads, "No data" for a
// host that does not answer, copy to the clipboard, the tray animation while it is open and the sizes kept.
#include "support/MainFormKit.h"

#include "app/views/ClientLogColours.h"
#include "app/settings/SettingsKey.h"
#include "app/forms/LogPaneLoader.h"
#include "app/forms/LogViewerWindow.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TStringGrid.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Messages.h"
#include "platform/user/Timers.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/RichEditConstants.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sRichEdit.h"
#include "tray/TrayIcon.h"

#include <chrono>
#include <filesystem>

namespace korvex::app::test {

using namespace classes;

namespace {

const std::vector<std::string> LogLines = {
    "--- Opening Log file [December 5 20:10:09 UTC]",
    "[20:10:15] Project: 2669 (Run 3, Clone 37, Gen 148)",
    "[20:10:16] + Working ...",
    "[20:10:17] Working on queue slot 01",
    "[20:10:18] Error: Attempt #2 to get work failed",
    "[20:10:19] Completed 500 out of 250000 steps, then an error",
    "[20:10:20] Couldn't send HTTP request",
};

class LogViewerTest : public MainFormTest {
protected:
    // Nodes whose folders hold a log (the second without its unit file).
    TMainForm* NewForms(int skin = -1, int language = 1) {
        TSettings settings = NodesSettings(2, language);
        for (int i = 0; i < 2; ++i) {
            settings.Nodes[i].Path = Env->File("node" + std::to_string(i + 1));
            WriteFile(settings.Nodes[i].Path + "/FAHlog.txt", JoinLines(LogLines));
        }
        WriteFile(settings.Nodes[0].Path + "/unitinfo.txt", JoinLines(UnitInfo("p2669", "December 5", "December 9", 20)));
        TMainForm* form = NewMainForm(settings, skin);
        form->RowRefreshed(SampleRefresh(0, 20));
        form->RowRefreshed(SampleRefresh(1, 30));
        Viewer = Create<TForm3>(Application);
        Viewer->SetFilePauses(0, 0);
        Viewer->SetLanguage(language);
        return form;
    }
    void TearDown() override {
        if (Viewer != nullptr) Viewer->Free();
        MainFormTest::TearDown();
    }
    TColor ColourAtLine(int line) {
        skin::TsRichEdit* pane = Viewer->LogPane();
        pane->SetSelStart(int(pane->Perform(user::EM_LINEINDEX, user::WPARAM(line), 0)) + 3);
        pane->SetSelLength(1);
        return pane->SelAttributes()->Color();
    }
    // The timer's slices until the whole log is in (the fake clock moves a tick at a time).
    void WaitUntilLoaded() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(180);
        while (Viewer->LogLoading() && std::chrono::steady_clock::now() < deadline)
            Advance(int(user::USER_TIMER_MINIMUM));
        ASSERT_FALSE(Viewer->LogLoading());
    }
    // The timer's slices until the pane has taken some of the log (the file is read first, in slices too).
    void WaitUntilInPane() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(180);
        while (Viewer->LogPane()->Lines()->Count() == 0 && std::chrono::steady_clock::now() < deadline)
            Advance(int(user::USER_TIMER_MINIMUM));
        ASSERT_GT(Viewer->LogPane()->Lines()->Count(), 0);
    }
    int FirstVisibleLine() { return int(Viewer->LogPane()->Perform(user::EM_GETFIRSTVISIBLELINE, 0, 0)); }
    TForm3* Viewer = nullptr;
};

}

TEST_F(LogViewerTest, ShowsTheSelectedNodesFilesWithTheirKeywordsColoured) {
    TMainForm* form = NewForms();
    Viewer->Show();
    Pump();
    const std::string folder = Env->File("node1");
    EXPECT_EQ(Viewer->Caption(), folder + "/FAHlog.txt  " + folder + "/unitinfo.txt");
    ASSERT_EQ(Viewer->LogPane()->Lines()->Count(), int(LogLines.size()));
    EXPECT_GT(Viewer->UnitPane()->Lines()->Count(), 0);
    // The keyword colours as they are, whatever the pane's colour.
    const TColor blue = LogColourBlue, red = LogColourRed;
    const TColor expected[] = {clWindowText, blue, blue, clWindowText, clWindowText, red, red};
    for (int line = 0; line < int(LogLines.size()); ++line)
        EXPECT_EQ(ColourAtLine(line), expected[line]) << LogLines[line];
    Viewer->Close();

    // The second row's node: its log coloured, no unit file.
    form->Grid()->SetRow(1);
    Viewer->Show();
    Pump();
    EXPECT_NE(Viewer->Caption().find(Env->File("node2")), std::string::npos);
    EXPECT_EQ(Viewer->UnitPane()->Lines()->Count(), 0);
    EXPECT_EQ(ColourAtLine(1), blue);
    Viewer->Close();
}

// A red line on the white pane of no skin is pure red; after the last line, the window text colour again.
TEST_F(LogViewerTest, TheKeywordColoursAreTheirOwnAndTheLastLineEndIsWindowText) {
    TMainForm* form = NewForms(-1);
    WriteFile(form->Settings().Nodes[0].Path + "/FAHlog.txt", "[20:10:09] Project: 2669\r\n[20:10:10] Core not found\r\n");
    Viewer->Show();
    WaitUntilLoaded();
    Pump();
    skin::TsRichEdit* pane = Viewer->LogPane();
    ASSERT_EQ(ColorToRGB(pane->Color()), ColorToRGB(clWindow));
    EXPECT_EQ(ColourAtLine(0), TColor(LogColourBlue));
    EXPECT_EQ(ColourAtLine(1), TColor(LogColourRed));
    const int first = int(std::string("[20:10:09] Project: 2669").size());
    const int end = first + 2 + int(std::string("[20:10:10] Core not found").size()) + 2;   // each line with its end
    auto colourAt = [pane](int at) {
        pane->SetSelStart(at);
        pane->SetSelLength(1);
        return pane->SelAttributes()->Color();
    };
    EXPECT_EQ(colourAt(end - 3), TColor(LogColourRed));   // the last character of the text
    EXPECT_EQ(colourAt(end), clWindowText);   // nothing after the text is coloured
    Viewer->Close();
}

// A unit file larger than the pane's bound shows its first part, up to the bound.
TEST_F(LogViewerTest, AnOversizedUnitFileIsShownUpToTheBound) {
    TMainForm* form = NewForms();
    std::string unit = "Name: p2669_IBX in water\r\n";
    while (unit.size() < (std::size_t(3) << 20))
        unit += "Progress: 20%  [||________]\r\n";
    WriteFile(form->Settings().Nodes[0].Path + "/unitinfo.txt", unit);
    Viewer->Show();
    Pump();
    TStrings* lines = Viewer->UnitPane()->Lines();
    ASSERT_GT(lines->Count(), 1000);
    EXPECT_EQ(lines->Strings(0), "Name: p2669_IBX in water");
    EXPECT_LE(lines->Text().size(), std::size_t(1) << 20);
    Viewer->Close();
}

TEST_F(LogViewerTest, ALargeLogIsShownWholeColouredWithItsEndInView) {
    TMainForm* form = NewForms();
    // 20 MB of log: all of it in the pane, the keywords coloured from its first line to its last.
    std::string text = "[20:10:09] Project: 2669 (Run 3, Clone 37, Gen 148)\r\n";
    text.reserve(21u << 20);
    for (int i = 0; text.size() < (20u << 20); ++i)
        text += i % 3 == 0 ? "[20:10:19] Completed " + std::to_string(i) + " out of 250000 steps\r\n"
                           : "[20:10:20] Working on line " + std::to_string(i) + "\r\n";
    text += "[20:11:00] Couldn't send HTTP request\r\n";
    WriteFile(form->Settings().Nodes[0].Path + "/FAHlog.txt", text);
    Viewer->Show();
    WaitUntilLoaded();
    Pump();
    TStrings* lines = Viewer->LogPane()->Lines();
    const std::string shown = lines->Text();
    EXPECT_TRUE(shown == text) << "shown " << shown.size() << " of " << text.size() << " bytes";
    const int last = lines->Count() - 1;
    EXPECT_EQ(lines->Strings(0), "[20:10:09] Project: 2669 (Run 3, Clone 37, Gen 148)");
    EXPECT_EQ(lines->Strings(last), "[20:11:00] Couldn't send HTTP request");
    // The end in view, the caret at the start.
    user::POINT end {};
    Viewer->LogPane()->Perform(user::EM_POSFROMCHAR, user::WPARAM(&end),
        Viewer->LogPane()->Perform(user::EM_LINEINDEX, user::WPARAM(last), 0));
    EXPECT_GE(end.y, 0);
    EXPECT_LT(end.y, Viewer->LogPane()->ClientHeight());
    EXPECT_GT(FirstVisibleLine(), 0);
    EXPECT_EQ(Viewer->LogPane()->SelStart(), 0);
    const TColor blue = LogColourBlue, red = LogColourRed;
    const TColor expected[] = {blue, blue, clWindowText, clWindowText, blue};
    for (int line = 0; line < int(std::size(expected)); ++line)
        EXPECT_EQ(ColourAtLine(line), expected[line]) << lines->Strings(line);
    EXPECT_EQ(ColourAtLine(last), red);
    const int completed = lines->Strings(last - 1).find("Completed") != std::string::npos ? last - 1
        : lines->Strings(last - 2).find("Completed") != std::string::npos               ? last - 2
                                                                                         : last - 3;
    EXPECT_EQ(ColourAtLine(completed), blue);
    EXPECT_EQ(ColourAtLine(completed + 1), clWindowText);
    Viewer->Close();
}

TEST_F(LogViewerTest, ALongLastLineCrOnlyLinesAndInvalidUtf8AreShownWhole) {
    TMainForm* form = NewForms();
    const std::string invalid = "[20:10:11] user \xE9t\xE9 \xC0\x80 \xFF\xFE stray \x80\xBF end";
    const std::string longLine = "[20:12:00] Completed " + std::string(std::size_t(800) << 10, 'x');   // longer than any block
    const std::string text = "[20:10:09] Shutdown\r[20:10:10] plain\r" + invalid + "\n[20:10:12] Run: 3\r\n"
        + "[20:10:13] plain\r\r[20:10:14] conflict\r\n" + longLine;
    WriteFile(form->Settings().Nodes[0].Path + "/FAHlog.txt", text);
    Viewer->Show();
    WaitUntilLoaded();
    Pump();
    TStrings* lines = Viewer->LogPane()->Lines();
    const std::vector<std::string> expected = {"[20:10:09] Shutdown", "[20:10:10] plain", invalid, "[20:10:12] Run: 3",
        "[20:10:13] plain", "", "[20:10:14] conflict", longLine};
    ASSERT_EQ(lines->Count(), int(expected.size()));
    for (int line = 0; line < int(expected.size()); ++line)
        EXPECT_EQ(lines->Strings(line), expected[line]) << line;
    const TColor blue = LogColourBlue, red = LogColourRed;
    // Each line's colour where it is, after the invalid bytes too.
    const TColor colours[] = {red, clWindowText, clWindowText, blue, clWindowText, clWindowText, red, blue};
    for (int line = 0; line < int(expected.size()); ++line)
        if (!expected[line].empty()) {
            EXPECT_EQ(ColourAtLine(line), colours[line]) << line;
        }
    Viewer->Close();
}

// A long stretch without line ends goes into the pane in blocks no larger than the budget, like lines do: it
// reads back as one line, coloured by the keywords of the whole line (one that lies across two blocks too).
TEST_F(LogViewerTest, AStretchWithoutLineEndsGoesInInBlocksOfTheBudget) {
    NewForms();
    const std::size_t block = TLogPaneLoader::BlockBytes;
    std::string longLine(3 * block + 1000, 'x');
    longLine.replace(block - 2, 5, "error");   // "er" in the first block, "ror" in the second
    const std::string text = longLine + "\r\n[20:10:15] Completed 5 of 9\r\n" + std::string(2 * block, '\0');
    Viewer->Show();
    Pump();
    skin::TsRichEdit* pane = Viewer->LogPane();
    TLogPaneLoader loader(pane, std::make_shared<const std::string>(text));
    std::size_t loaded = 0;
    int steps = 0;
    while (!loader.Step(std::chrono::nanoseconds(0))) {
        ASSERT_GT(loader.LoadedBytes(), loaded);
        EXPECT_LE(loader.LoadedBytes() - loaded, block) << steps;
        loaded = loader.LoadedBytes();
        ASSERT_LT(++steps, 100);
    }
    EXPECT_LE(loader.LoadedBytes() - loaded, block);
    EXPECT_GE(steps, 5);
    TStrings* lines = pane->Lines();
    ASSERT_EQ(lines->Count(), 3);
    EXPECT_TRUE(lines->Strings(0) == longLine);
    EXPECT_EQ(lines->Strings(1), "[20:10:15] Completed 5 of 9");
    EXPECT_EQ(lines->Strings(2).size(), 2 * block);
    EXPECT_EQ(ColourAtLine(0), TColor(LogColourRed));
    EXPECT_EQ(ColourAtLine(1), TColor(LogColourBlue));
    EXPECT_EQ(ColourAtLine(2), clWindowText);
    Viewer->Close();
}

TEST_F(LogViewerTest, TheWindowAnswersWhileAHugeLogLoads) {
    TMainForm* form = NewForms();
    std::string text;
    text.reserve(101u << 20);
    const std::string line = "[20:10:19] Completed 5000 out of 250000 steps (2%) on a long log line\r\n";
    while (text.size() < (100u << 20))
        text += line;
    WriteFile(form->Settings().Nodes[0].Path + "/FAHlog.txt", text);
    text = {};
    Viewer->Show();
    WaitUntilInPane();
    ASSERT_TRUE(Viewer->LogLoading());
    // A close posted now comes before the next slice: the window answers, and loading stops with it.
    user::PostMessage(Viewer->Handle(), user::WM_CLOSE, 0, 0);
    Advance(int(user::USER_TIMER_MINIMUM));
    EXPECT_FALSE(Viewer->Visible());
    EXPECT_FALSE(Viewer->LogLoading());
    const int shown = Viewer->LogPane()->Lines()->Count();
    EXPECT_GT(shown, 0);
    EXPECT_LT(std::int64_t(shown) * std::int64_t(line.size()), std::int64_t(100u << 20));
    // Shown again, the log loads again; the viewer is freed while it does.
    Viewer->Show();
    EXPECT_TRUE(Viewer->LogLoading());
}

// A slice of the load that leaves less address space than the viewer keeps free ends the load with the message
// (as a process under an address limit would meet it): memory never runs out later, while the window paints.
TEST_F(LogViewerTest, ALoadThatLeavesTooLittleAddressSpaceSaysMemoryRanOut) {
    NewForms();
    Viewer->SetRoomKept(std::size_t(1) << 62);   // more than a process can have
    Viewer->Show();
    WaitUntilLoaded();
    std::string shown = Viewer->LogPane()->Lines()->Text();
    EXPECT_NE(shown.find("Not enough memory to show the log"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("Project: 2669"), std::string::npos);
    EXPECT_NE(Env->ReadFile("KORVEX.LOG").find("Not enough memory to show the log"), std::string::npos);
    Viewer->Close();
    // With the room there, the same log is shown again.
    Viewer->SetRoomKept(std::size_t(64) << 20);
    Viewer->Show();
    WaitUntilLoaded();
    shown = Viewer->LogPane()->Lines()->Text();
    EXPECT_NE(shown.find("Project: 2669"), std::string::npos);
    EXPECT_EQ(shown.find("Not enough memory"), std::string::npos);
    Viewer->Close();
}

TEST_F(LogViewerTest, AViewMovedWhileTheLogLoadsStaysWhereTheUserPutIt) {
    TMainForm* form = NewForms();
    std::string text;
    text.reserve(21u << 20);
    for (int i = 0; text.size() < (20u << 20); ++i)
        text += "[20:10:20] Working on line " + std::to_string(i) + "\r\n";
    WriteFile(form->Settings().Nodes[0].Path + "/FAHlog.txt", text);
    Viewer->Show();
    WaitUntilInPane();
    ASSERT_TRUE(Viewer->LogLoading());
    const int followed = FirstVisibleLine();
    EXPECT_GT(followed, 0);   // the end of what is in
    Wheel(Viewer->LogPane(), 3 * 120);
    const int moved = FirstVisibleLine();
    EXPECT_LT(moved, followed);
    WaitUntilLoaded();
    EXPECT_EQ(FirstVisibleLine(), moved);
    Viewer->Close();
}

// "No data" in the caption (in Russian with Language 0) and empty panes.
TEST_F(LogViewerTest, AHostThatDoesNotAnswerShowsNoData) {
    TMainForm* form = NewForms();
    for (const auto& [language, caption] : {std::pair {1, "No data"}, std::pair {0, "Нет данных"}}) {
        form->SettingsInMemory().Language = language;
        TRowRefresh down = SampleRefresh(0, 20);
        down.Row.Status = {255, false, true, ""};
        down.Row.NodeStatus = TNodeStatus::HostDown;
        form->RowRefreshed(down);
        Viewer->Show();
        Pump();
        EXPECT_EQ(Viewer->Caption(), caption);
        EXPECT_EQ(Viewer->LogPane()->Lines()->Count(), 0);
        EXPECT_EQ(Viewer->UnitPane()->Lines()->Count(), 0);
        Viewer->Close();
    }
}

TEST_F(LogViewerTest, AHostDownWhoseNewCycleRunsShowsItsFiles) {
    TMainForm* form = NewForms();
    TRowRefresh down = SampleRefresh(0, 20);
    down.Row.NodeStatus = TNodeStatus::HostDown;
    form->RowRefreshed(down);
    form->CycleStarted(0);   // the status square takes the form's colour until the cycle's refresh
    Viewer->Show();
    Pump();
    EXPECT_NE(Viewer->Caption(), "No data");
    Viewer->Close();
}

TEST_F(LogViewerTest, CopiesTheSelectionToTheClipboard) {
    NewForms();
    Viewer->Show();
    Pump();
    Viewer->LogPane()->SetSelStart(0);
    Viewer->LogPane()->SetSelLength(3);
    Viewer->Copytoclipbord1Click(Viewer);
    EXPECT_EQ(user::GetClipboardText(), "---");
    Viewer->Close();
}

TEST_F(LogViewerTest, TheTrayAnimatesWhileOpenAndTheSizesAreKept) {
    TMainForm* form = NewForms();
    Viewer->Show();
    Pump();
    EXPECT_EQ(Viewer->Height(), 480);   // the defaults, written when missing
    EXPECT_EQ(Viewer->Width(), 670);
    EXPECT_EQ(Viewer->LogPane()->Height(), 330);
    EXPECT_EQ(TSettingsKey(OptionsKey).IntegerIfPresent("F3P2H"), 111);
    EXPECT_TRUE(form->TrayIcon()->CycleIcons());
    EXPECT_EQ(form->TrayIcon()->CycleInterval(), 400u);
    Viewer->SetBounds(Viewer->Left(), Viewer->Top(), 700, 500);
    Viewer->LogPane()->SetHeight(250);
    Viewer->Close();
    EXPECT_FALSE(form->TrayIcon()->CycleIcons());
    EXPECT_EQ(form->TrayIcon()->CycleInterval(), 150u);
    TSettingsKey options(OptionsKey);
    EXPECT_EQ(options.IntegerIfPresent("F3H"), 500);
    EXPECT_EQ(options.IntegerIfPresent("F3W"), 700);
    EXPECT_EQ(options.IntegerIfPresent("F3P1H"), 250);
    Viewer->Show();
    Pump();
    EXPECT_EQ(Viewer->LogPane()->Height(), 250);
    Viewer->Close();
}

}

namespace korvex::app::test {

TEST_F(LogViewerTest, WritesTheWindowInEverySkinAndBothLanguages) {
    static const char* const names[] = {"MacOS", "LongHorn", "NextStyle", "Office2003"};
    for (int skin : {0, 1, 2, 3})
        for (int language = 0; language < 2; ++language) {
            NewForms(skin, language);
            Viewer->Show();
            Pump();
            // The keyword colours, made readable on the skin's pane where they are not.
            const int pane = ColorToRGB(Viewer->LogPane()->Color());
            EXPECT_EQ(ColourAtLine(1), TColor(ReadableLogColour(LogColourBlue, pane))) << names[skin];
            EXPECT_EQ(ColourAtLine(5), TColor(ReadableLogColour(LogColourRed, pane))) << names[skin];
            const bool darkPane = ColourContrast(pane, 0xFFFFFF) > ColourContrast(pane, 0x000000);
            EXPECT_EQ(darkPane, skin == 1 || skin == 2) << names[skin];
            for (int line : {1, 5})
                if (darkPane) EXPECT_GE(ColourContrast(ColourAtLine(line), pane), 4.5) << names[skin] << " line " << line;
            EXPECT_EQ(ColourAtLine(0), Viewer->LogPane()->DefAttributes()->Color()) << names[skin];   // the skin's
            // The picture shows the log's lines in the pane.
            const TPicture picture(
                WritePicture(std::string("log-viewer-") + names[skin] + (language == 0 ? "-ru" : "-en"), Viewer),
                Viewer);
            ASSERT_TRUE(picture.Valid());
            EXPECT_TRUE(picture.ShowsText(Viewer->LogPane(), 4, 200)) << names[skin];
            Viewer->Close();
            Viewer->Free();
            Viewer = nullptr;
            Form->Free();
            Form = nullptr;
        }
}

}
