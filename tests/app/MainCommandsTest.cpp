// The main window's commands without a window: the version check against a loopback server, the web links,
// the check-points text and the quick change of the stored node list.
#include "app/views/MainCommands.h"
#include "app/settings/OptionsNodes.h"
#include "app/settings/SettingsKey.h"
#include "support/AppEnvironment.h"
#include "support/MiniHttpServer.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvex::app {
namespace {

using os::nettest::MiniHttpServer;

TEST(VersionCheck, ComparesTheDownloadedTextWithTheStoredVersion) {
    struct Case {
        int Status;
        std::string Body;
        TVersionAnswer Expected;
    };
    const Case cases[] = {
        {200, "KORVEX 2.7.0.1\r\n", TVersionAnswer::NewVersion},
        {200, "KORVEX 2.6.0.11", TVersionAnswer::NoNewVersion},
        {200, "latest: KORVEX 2.6.0.11 (stable), beta: KORVEX 2.7", TVersionAnswer::NoNewVersion},
        {200, "", TVersionAnswer::NewVersion},
        // An error page never reads as a new version.
        {404, "<html>Not found</html>", TVersionAnswer::CannotOpen},
        {500, "<html>KORVEX 2.6.0.11</html>", TVersionAnswer::CannotOpen},
    };
    for (const Case& c : cases) {
        std::string asked;
        MiniHttpServer server([&](const std::string& path) {
            asked = path;
            return MiniHttpServer::Response(c.Status, c.Body);
        });
        EXPECT_EQ(CheckNewVersion(server.Url("/"), "KORVEX 2.6.0.11", 5000), c.Expected) << c.Status << c.Body;
        EXPECT_EQ(asked, "/ver.txt");
    }
}

TEST(VersionCheck, ASiteThatDoesNotAnswerOrCutsTheBodyCannotBeOpened) {
    MiniHttpServer silent([](const std::string&) { return std::string(); });
    EXPECT_EQ(CheckNewVersion(silent.Url("/"), "KORVEX 2.6.0.11", 300), TVersionAnswer::CannotOpen);
    MiniHttpServer truncated([](const std::string&) {
        return std::string("HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\nKORVEX 2.6.0.11");
    });
    EXPECT_EQ(CheckNewVersion(truncated.Url("/"), "KORVEX 2.6.0.11", 3000), TVersionAnswer::CannotOpen);
}

// A failed check is reported by its message alone: nothing goes to the program log.
TEST(VersionCheck, AFailedCheckWritesNothingToTheLog) {
    test::TAppEnvironment env;
    MiniHttpServer missing([](const std::string&) { return MiniHttpServer::Response(404, "gone"); });
    EXPECT_EQ(CheckNewVersion(missing.Url("/"), "KORVEX 2.6.0.11", 5000), TVersionAnswer::CannotOpen);
    MiniHttpServer silent([](const std::string&) { return std::string(); });
    EXPECT_EQ(CheckNewVersion(silent.Url("/"), "KORVEX 2.6.0.11", 300), TVersionAnswer::CannotOpen);
    EXPECT_FALSE(std::filesystem::exists(env.File("KORVEX.LOG")));
}

TEST(VersionCheck, AMissingVersionOptionIsWrittenBeforeTheComparison) {
    test::TAppEnvironment env;
    EXPECT_EQ(ReadVersionOption(), "KORVEX 2.6.0.11");
    EXPECT_EQ(TSettingsKey(OptionsKey).TextIfPresent("Ver"), "KORVEX 2.6.0.11");
    TSettingsKey(OptionsKey).WriteText("Ver", "KORVEX 3");
    EXPECT_EQ(ReadVersionOption(), "KORVEX 3");
}

TEST(VersionCheck, MessagesInBothLanguages) {
    EXPECT_EQ(VersionCheckMessage(TVersionAnswer::NewVersion, 1, ProgramWebsite),
        "New version found.\r\nDownload from KORVEX website.");
    EXPECT_EQ(VersionCheckMessage(TVersionAnswer::NoNewVersion, 0, ProgramWebsite), "Нет новых версий");
    EXPECT_EQ(VersionCheckMessage(TVersionAnswer::CannotOpen, 1, "https://site/"), "Cannot open URL https://site/");
    EXPECT_EQ(VersionCheckMessage(TVersionAnswer::CannotOpen, 0, "https://site/"), "Невозможно открыть URL https://site/");
    EXPECT_EQ(VersionCheckMessage(TVersionAnswer::InitFailed, 1, ""), "Unable to initialize Wininet");
}

TEST(WebLinks, TeamPagesEndWithTheTeamAndOtherItemsAreNoLinks) {
    EXPECT_TRUE(WebLinkUrl("TeamStats1", "4242").ends_with("/user_list.php?s=&t=4242"));
    EXPECT_TRUE(WebLinkUrl("TeamStats2", "4242").ends_with("/t.php?t=4242"));
    EXPECT_EQ(WebLinkUrl("Website1", "1"), ProgramWebsite);
    EXPECT_EQ(WebLinkUrl("TrayForum1", "1"), WebLinkUrl("Forum1", "1"));
    for (const char* item : {"Projectsummary1", "Website2", "Forum2", "Forum3", "Forum4"})
        EXPECT_TRUE(WebLinkUrl(item, "1").starts_with("https://")) << item;
    EXPECT_EQ(WebLinkUrl("Options1", "1"), "");
    EXPECT_FALSE(OpenURL(""));
}

TEST(CheckPoints, SixLinesWithEveryNodeInOrder) {
    std::vector<TCheckPoint> nodes(2);
    nodes[0] = {21, 20, 3, {true, FarmColorReplied, 4}, 4};
    nodes[1] = {55, 55, 70, {false, FarmColorNoReply, 0}, 0};
    EXPECT_EQ(CheckPointsText(nodes),
        "Last point      : 21 55\r\nSave point     : 20 55\r\nRepeat count: 3 70\r\n"
        "Servers colors: G R\r\nServers status: T F\r\nFAH status: 4 0");
    EXPECT_EQ(CheckPointsText({}),
        "Last point      :\r\nSave point     :\r\nRepeat count:\r\nServers colors:\r\nServers status:\r\nFAH status:");
}

}
}
