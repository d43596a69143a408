// The main window's commands: the version check's messages against a loopback server, the quick add and
// delete of a node with the rebuilt rows, the check-points view and the web links in the registered browser.
#include "support/FakeBrowser.h"
#include "support/MainFormKit.h"
#include "support/MiniHttpServer.h"
#include "support/ModalAnswer.h"

#include "app/forms/OptionsWindow.h"
#include "app/settings/OptionsNodes.h"
#include "app/settings/SettingsKey.h"
#include "platform/classes/TMenu.h"
#include "platform/os/Files.h"
#include "skin/controls/sLabel.h"

namespace korvex::app::test {

using namespace classes;
using os::nettest::MiniHttpServer;

TEST_F(MainFormTest, TheVersionCheckSaysWhatTheSiteAnsweredAndOpensTheSiteOnlyForANewVersion) {
    TMainForm* form = NewMainForm(NodesSettings(1), -1);
    // The registered browser records what it was asked to open.
    os::filetest::FakeBrowser browser;
    std::string newVersionSite;

    struct Case {
        int Status;
        const char* Body;
        const char* Message;
    };
    const Case cases[] = {
        {200, "KORVEX 2.6.0.11\r\n", "No new version."},
        {200, "KORVEX 2.7.0.0\r\n", "New version found.\r\nDownload from KORVEX website."},
        {404, "<html>missing</html>", "Cannot open URL "},
    };
    for (const Case& c : cases) {
        MiniHttpServer server([&](const std::string&) { return MiniHttpServer::Response(c.Status, c.Body); });
        form->SetVersionSite(server.Url("/"));
        if (c.Status == 200 && std::string(c.Body).find("2.7") != std::string::npos) newVersionSite = server.Url("/");
        std::string text;
        AnswerModal(mrOk, nullptr, &text);
        static_cast<TMenuItem*>(form->FindComponent("Checknewversion1"))->Click();
        EXPECT_NE(text.find(c.Message), std::string::npos) << text;
    }
    const std::string opened = browser.WaitForRecord();
    EXPECT_EQ(opened, newVersionSite + "\n");   // the new version alone: the site opened once
    EXPECT_EQ(TSettingsKey(OptionsKey).TextIfPresent("Ver"), "KORVEX 2.6.0.11");
}

// The quick commands go through the options window: shown, Add or Delete, "Save all", closed; the close
// after the save runs "Refresh data". No node is saved, so the stored list changes by its count alone.
TEST_F(MainFormTest, QuickAddAndDeleteGoThroughTheOptionsWindowAndRebuildTheRows) {
    StoreOptionsNodes(NodesSettings(2).Nodes);
    const std::vector<TNodeSettings> stored = ReadOptionsNodes(2);
    auto* options = Create<TForm1>(Application);
    TMainForm* form = NewMainForm(LoadSettings(), -1);
    TSettingsKey(OptionsKey).WriteText("Team", "777");
    TSettingsKey(OptionsKey).WriteFlag("RunStartup", true);
    ASSERT_FALSE(TSettingsKey(RunKey, false).Exists(RunValueName));
    form->AddHostClick(form);
    EXPECT_FALSE(options->Visible());
    ASSERT_EQ(form->RowCount(), 3);
    EXPECT_EQ(form->Row(2).Label->Caption(), "");   // the main window's default for a missing name
    EXPECT_EQ(form->Row(1).Label->Caption(), "node2");
    EXPECT_EQ(TSettingsKey(OptionsKey).Integer("HostCount", 0), 3);
    // "Save all" ran: the options as the window showed them, and the start with the session.
    EXPECT_EQ(TSettingsKey(OptionsKey).Text("Team", ""), "777");
    EXPECT_TRUE(TSettingsKey(RunKey, false).Exists(RunValueName));
    form->DeleteHostClick(form);
    form->DeleteHostClick(form);
    ASSERT_EQ(form->RowCount(), 1);
    EXPECT_EQ(form->Row(0).Label->Caption(), "node1");
    EXPECT_EQ(TSettingsKey(OptionsKey).Integer("HostCount", 0), 1);
    EXPECT_TRUE(TSettingsKey(LabelKey).Exists("Label1"));   // only the count changed
    EXPECT_EQ(ReadOptionsNodes(2), stored);
    // The tool button, clicked, keeps the last node.
    auto* button = static_cast<TControl*>(form->FindComponent("sSpeedButton9"));
    const TPoint p = button->ClientToScreen(TPoint {button->Width() / 2, button->Height() / 2});
    Display->Click(p.x, p.y);
    Pump();
    EXPECT_FALSE(options->Visible());
    ASSERT_EQ(form->RowCount(), 1);
    EXPECT_EQ(form->Row(0).Label->Caption(), "node1");
    EXPECT_EQ(TSettingsKey(OptionsKey).Integer("HostCount", 0), 1);
    options->Free();

    // The check-points view lists the one running node on each of its six lines.
    const std::string text = form->CheckPointsText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
    EXPECT_NE(text.find("Servers colors: R\r\nServers status: F\r\nFAH status: 0"), std::string::npos) << text;
    std::string shown;
    AnswerModal(mrOk, nullptr, &shown);
    form->ViewCheckPoints1Click(form);
    EXPECT_NE(shown.find("Repeat count: "), std::string::npos) << shown;
}

// A node added after others were deleted is a new node: it starts from the defaults, not with the name and
// folder a deleted node left in the store at its place; by the quick command and by "Add" alike.
TEST_F(MainFormTest, ANodeAddedAfterADeleteStartsFromTheDefaults) {
    TSettings three = NodesSettings(3);
    for (int i = 0; i < 3; ++i)
        three.Nodes[static_cast<std::size_t>(i)].Path = "/fah/node" + std::to_string(i + 1);
    StoreOptionsNodes(three.Nodes);
    auto* options = Create<TForm1>(Application);
    TMainForm* form = NewMainForm(LoadSettings(), -1);
    form->DeleteHostClick(form);
    form->DeleteHostClick(form);
    ASSERT_EQ(form->RowCount(), 1);
    form->AddHostClick(form);
    ASSERT_EQ(form->RowCount(), 2);
    EXPECT_EQ(form->Row(1).Label->Caption(), "");   // the main window's default name, not "node2"
    EXPECT_EQ(form->Settings().Nodes[1].Path, "");
    EXPECT_EQ(TSettingsKey(LabelKey).TextIfPresent("Label1").value_or(""), "");
    EXPECT_EQ(TSettingsKey(PathKey).TextIfPresent("Path1").value_or(""), "");
    EXPECT_EQ(TSettingsKey(PathKey).TextIfPresent("Path2"), "/fah/node3");   // past the count, not taken: kept

    options->Show();   // "Add" in the window, closed without "Save node"
    Pump();
    static_cast<TControl*>(options->FindComponent("sSpeedButton2"))->OnClick(options);
    options->Close();
    Pump();
    ASSERT_EQ(form->RowCount(), 3);
    EXPECT_EQ(form->Row(2).Label->Caption(), "");
    EXPECT_EQ(form->Settings().Nodes[2].Path, "");
    options->Free();
}

}
