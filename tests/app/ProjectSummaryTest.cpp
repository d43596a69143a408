// The project summary page: rows cut into projects, the user's list in the store, the page fetched from a
// loopback server.
#include "app/nodes/ProjectSummary.h"
#include "app/settings/Settings.h"
#include "platform/base/DateTime.h"
#include "support/AppEnvironment.h"
#include "support/MiniHttpServer.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

using os::nettest::MiniHttpServer;

// A project row as the page writes it: number, server, name, atoms, deadlines, credit, frames, core, contact.
std::string PageRow(const std::string& name, const std::string& credit, const std::string& core,
    const std::string& server = "171.64.65.56") {
    return "<TR><TD>2605</TD><TD>" + server + "</TD><TD>" + name + "</TD><TD>1234</TD><TD>6.00</TD><TD>9.00</TD><TD>"
        + credit + "</TD><TD>100</TD><TD>" + core + "</TD><TD>someone</TD></TR>";
}

std::string Page(const std::vector<std::string>& rows) {
    std::string text = "<HTML><TABLE>\r\n";
    for (const std::string& row : rows)
        text += row + "\r\n";
    return text + "</TABLE></HTML>\r\n";
}

TEST(ProjectSummaryRow, IsCutIntoNameCreditAndCore) {
    struct Case {
        std::string Line;
        const char* Name;
        int Credit;
        const char* Core;
    };
    const Case cases[] = {
        {PageRow("p2605_Protein in water", "132.00", "GROMACS"), "p2605_Protein in water", 132, "GROMACS"},
        {PageRow("p3001_x", " 1 024.00 ", " GB GROMACS "), "p3001_x", 1024, "GBGROMACS"},
        {PageRow("p3002_y", "12.50", "AMBER"), "p3002_y", 0, "AMBER"},   // not ".00": credit 0
        {PageRow("p3003_z", "abc.00", "QMD"), "p3003_z", 0, "QMD"},
        {"<TR><TD>1</TD><TD>171.67.1.1</TD><TD>p3004_short</TD><TD>7.00", "p3004_short", 0, ""},
    };
    for (const Case& c : cases) {
        std::optional<TProjectRow> row = ParseProjectSummaryRow(c.Line);
        ASSERT_TRUE(row) << c.Line;
        EXPECT_EQ(row->Name, c.Name);
        EXPECT_EQ(row->Credit, c.Credit) << c.Line;
        EXPECT_EQ(row->Core, c.Core) << c.Line;
    }
}

TEST(ProjectSummaryRow, LinesWithoutTheServerAreNoRows) {
    for (const std::string& line : {PageRow("p1_a", "1.00", "X", "10.0.0.1"), std::string()})
        EXPECT_FALSE(ParseProjectSummaryRow(line)) << line;
}

TEST(ProjectSummaryRow, EveryLineWithTheServerIsARowMissingCellsEmpty) {
    struct Case {
        std::string Line;
        const char* Name;
        const char* Core;
    };
    const Case cases[] = {
        {"171.64.65.56", "", ""},
        {"<TD>171.64.1.1</TD><TD>", "", ""},
        {PageRow("", "5.00", "GROMACS"), "", "GROMACS"},
        {PageRow("Server status", "1.00", "X"), "Server status", "X"},
        {PageRow("pX_1", "1.00", "X"), "pX_1", "X"},
    };
    for (const Case& c : cases) {
        std::optional<TProjectRow> row = ParseProjectSummaryRow(c.Line);
        ASSERT_TRUE(row) << c.Line;
        EXPECT_EQ(row->Name, c.Name) << c.Line;
        EXPECT_EQ(row->Core, c.Core) << c.Line;
    }
}

class ProjectSummaryStore : public testing::Test {
protected:
    void SetUp() override { Env.SetNow(base::EncodeDateTime(2026, 12, 7, 10, 30, 0, 0)); }
    int StoredInt(const std::string& name) {
        auto value = Env.Stored(UnitsKey, name);
        return value ? int(os::DwordOf(*value)) : -1;
    }
    std::string StoredText(const std::string& name) {
        auto value = Env.Stored(UnitsKey, name);
        return value ? value->Data : "<missing>";
    }
    test::TAppEnvironment Env;
};

TEST_F(ProjectSummaryStore, AddsNewRowsToTheTableAndTheUserListOneByOne) {
    TProjectTable table;
    const int before = table.Count();
    const std::string page = Page({PageRow("p9001_new one", "300.00", "GROMACS"), "<TR><TD>junk</TD></TR>",
        PageRow("p9002_another", "55.00", "AMBER"), PageRow("", "1.00", "QMD"), PageRow("p697_unit", "1.00", "X")});
    TProjectSummaryResult result = AddProjectSummary(page, table);
    EXPECT_EQ(result.Rows, 4);   // the known one counted
    EXPECT_EQ(result.Added, 3);
    EXPECT_EQ(result.UnitsCount, 3);
    ASSERT_EQ(table.Count(), before + 3);
    EXPECT_EQ(table.Row(before + 1), (TProjectRow {"p9001_new one", "GROMACS", 300}));
    EXPECT_EQ(table.Row(before + 2), (TProjectRow {"p9002_another", "AMBER", 55}));
    EXPECT_EQ(table.Row(before + 3), (TProjectRow {"", "QMD", 1}));   // stored as it came
    EXPECT_EQ(StoredInt("UnitsCount"), 3);
    EXPECT_EQ(StoredText("Name2"), "p9002_another");
    EXPECT_EQ(StoredText("Core1"), "GROMACS");
    EXPECT_EQ(StoredInt("Credit1"), 300);
    // What the store now holds reads back as the same table.
    EXPECT_EQ(LoadProjectTable().Row(before + 2), table.Row(before + 2));
    // The same page again adds nothing, the row without a name included.
    EXPECT_EQ(AddProjectSummary(page, table).Added, 0);
    EXPECT_EQ(StoredInt("UnitsCount"), 3);
}

TEST_F(ProjectSummaryStore, KnownNamesPartsOfThemAndRepeatsAreSkipped) {
    TProjectTable table;
    const std::string known = table.Name(2);   // a built-in name
    const std::string page = Page({PageRow(known, "1.00", "X"), PageRow(known.substr(0, 6), "1.00", "X"),
        PageRow(known + "_v2", "7.00", "GROMACS"), PageRow("p9100_twice", "1.00", "X"),
        PageRow("p9100_twice", "2.00", "Y")});
    EXPECT_EQ(AddProjectSummary(page, table).Added, 2);   // the longer name and the first of the pair
    EXPECT_EQ(table.Name(table.Count()), "p9100_twice");
    EXPECT_EQ(table.Credit(table.Count()), 1);

    // The same page again adds nothing and leaves the count and the date alone.
    Env.SetNow(base::EncodeDateTime(2026, 12, 8, 0, 0, 0, 0));
    const auto date = Env.Stored(UnitsKey, "Date");
    EXPECT_EQ(AddProjectSummary(page, table).Added, 0);
    EXPECT_EQ(StoredInt("UnitsCount"), 2);
    EXPECT_EQ(Env.Stored(UnitsKey, "Date"), date);
}

TEST_F(ProjectSummaryStore, TheFirstLineIsNeverARow) {
    TProjectTable table;
    EXPECT_EQ(AddProjectSummary(PageRow("p9200_first", "1.00", "X") + "\r\n<end>", table).Added, 0);
    EXPECT_FALSE(Env.Stored(UnitsKey, "UnitsCount"));
}

TEST_F(ProjectSummaryStore, TextsFollowTheLanguage) {
    const base::TDateTime date = base::EncodeDateTime(2026, 12, 7, 10, 30, 0, 0);
    EXPECT_EQ(ProjectSummaryAddedText(1, date, 3, 173), "Last update: 07.12.2026 10:30:00 Known units: 3/173");
    EXPECT_EQ(ProjectSummaryAddedText(0, date, 3, 173), "Посл.обновл: 07.12.2026 10:30:00 Известно WU: 3/173");
    EXPECT_EQ(ProjectSummaryAddedText(2, date, 3, 173), "");
    EXPECT_EQ(KnownUnitsText(1, 170), "No update. Defaul base in use");
    TProjectTable table;
    AddProjectSummary(Page({PageRow("p9300_a", "1.00", "X")}), table);
    EXPECT_EQ(KnownUnitsText(1, 171), "Last update: 07.12.2026 10:30:00   Known units: 1/171");
    EXPECT_EQ(SummaryFetchFailureText(TSummaryFetch::OpenFailed, 1, "http://h/p"), "Cannot open URL http://h/p");
    EXPECT_EQ(SummaryFetchFailureText(TSummaryFetch::OpenFailed, 0, "http://h/p"), "Невозможно открыть URL http://h/p");
    EXPECT_EQ(SummaryFetchFailureText(TSummaryFetch::OpenFailed, 5, "http://h/p"), "");
}

TEST_F(ProjectSummaryStore, FetchWritesExactlyTheBodyBytesAndOneLineEnd) {
    const std::string body = std::string("<HTML>\r\nrow\0with a zero\r\n", 26) + "\xff\xfe end";
    MiniHttpServer server([&](const std::string&) { return MiniHttpServer::Response(200, body); });
    const std::string file = Env.File(ProjectSummaryFile);
    EXPECT_EQ(FetchProjectSummary(server.Url("/psummary.html"), file, 5000), TSummaryFetch::Ok);
    EXPECT_EQ(Env.ReadFile(ProjectSummaryFile), body + "\r\n");
}

TEST_F(ProjectSummaryStore, FailingAnswersLeaveTheSavedCopyAlone) {
    const std::string file = Env.File(ProjectSummaryFile);
    test::WriteFile(file, "old copy");
    const std::string answers[] = {MiniHttpServer::Response(404, Page({PageRow("p1_x", "1.00", "X")})),
        MiniHttpServer::Response(500, "error"),
        "HTTP/1.1 200 X\r\nContent-Length: 5000\r\nConnection: close\r\n\r\ntruncated"};
    for (const std::string& answer : answers) {
        MiniHttpServer server([&](const std::string&) { return answer; });
        EXPECT_EQ(FetchProjectSummary(server.Url("/p"), file, 5000), TSummaryFetch::OpenFailed) << answer;
    }
    MiniHttpServer silent([](const std::string&) { return std::string(); });
    EXPECT_EQ(FetchProjectSummary(silent.Url("/p"), file, 150), TSummaryFetch::OpenFailed);
    EXPECT_EQ(Env.ReadFile(ProjectSummaryFile), "old copy");
}

}
}
