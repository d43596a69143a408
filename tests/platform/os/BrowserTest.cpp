// The registered browser: the desktop's default http handler, its desktop entry's Exec line, and the page
// opened with it.
#include "platform/os/Browser.h"
#include "platform/os/Shell.h"
#include "support/FakeBrowser.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace korvex::os;
using korvex::os::filetest::FakeBrowser;
using korvex::os::filetest::WriteFile;

namespace {

const std::string PageUrl = "https://example.invalid/t.php?s=&t=12 3;$(x)";

TEST(ExecArguments, QuotesEscapesAndFieldCodesAsDesktopEntriesWriteThem) {
    struct Case {
        const char* Exec;
        std::vector<std::string> Arguments;
    } cases[] = {
        {"firefox %u", {"firefox", PageUrl}},
        {"env A=1 /opt/b --new %U", {"env", "A=1", "/opt/b", "--new", PageUrl}},
        {"\"/opt/my browser\" -x \"a \\\"b\\\" \\\\c\" %u", {"/opt/my browser", "-x", "a \"b\" \\c", PageUrl}},
        {"b --url=%u", {"b", "--url=" + PageUrl}},
        {"b", {"b", PageUrl}},   // no field code: the page comes last
        {"b %i %c %k 100%% %f", {"b", "100%", PageUrl}},
        {"  b\t%F  ", {"b", PageUrl}},
        {"", {}},
        {"%u", {}},   // names no program
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExecArguments(c.Exec, PageUrl), c.Arguments) << c.Exec;
}

// The default handler's entry is the one found first along the data folders; a hidden one, or one without Exec,
// gives no browser.
TEST(DesktopEntryExec, TheFirstEntryAlongTheDataFoldersCounts) {
    FakeBrowser browser("%R --first %u");
    EXPECT_EQ(DefaultBrowserEntry(), "korvex-test-browser.desktop");
    EXPECT_EQ(DesktopEntryExec("korvex-test-browser.desktop"), browser.Recorder() + " --first %u");
    const std::string data = std::getenv("XDG_DATA_HOME");
    std::filesystem::create_directories(data + "/applications/sub");
    WriteFile(data + "/applications/sub/other.desktop", "[Desktop Entry]\nExec=other %u\n");
    EXPECT_EQ(DesktopEntryExec("sub-other.desktop"), "other %u");   // a "-" stands for the folder
    WriteFile(data + "/applications/hidden.desktop", "[Desktop Entry]\nExec=h %u\nHidden=true\n");
    EXPECT_EQ(DesktopEntryExec("hidden.desktop"), "");
    WriteFile(data + "/applications/noexec.desktop", "[Desktop Entry]\nName=x\n[Other]\nExec=y\n");
    EXPECT_EQ(DesktopEntryExec("noexec.desktop"), "");
    EXPECT_EQ(DesktopEntryExec("../applications/noexec.desktop"), "");
    EXPECT_EQ(DesktopEntryExec("missing.desktop"), "");
}

// The page opens in the registered browser as its desktop entry runs it: an Exec line that starts the browser
// through `env` works too, so the whole line is run, not only its first word with the page.
TEST(OpenInBrowser, RunsTheRegisteredBrowsersWholeCommandWithThePage) {
    FakeBrowser browser("env KORVEX_BROWSER_TEST=1 %R --new-window %u");
    EXPECT_TRUE(OpenInBrowser(PageUrl));
    EXPECT_EQ(browser.WaitForRecord(), "--new-window\n" + PageUrl + "\n");
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);   // nothing left to reap
}

// No browser registered: nothing starts, and the answer says so.
TEST(OpenInBrowser, DoesNothingWithoutARegisteredBrowser) {
    FakeBrowser browser("%R %u", false);
    EXPECT_EQ(DefaultBrowserEntry(), "");
    EXPECT_TRUE(BrowserCommand(PageUrl).empty());
    EXPECT_FALSE(OpenInBrowser(PageUrl));
    FakeBrowser missingProgram("/nonexistent/browser %u");
    EXPECT_FALSE(OpenInBrowser(PageUrl));
    EXPECT_FALSE(OpenInBrowser(""));
}

}
