// The options window's project update from a loopback server: a page, failing answers with the saved-copy
// fallback through the open dialog, a cancelled dialog, and other languages.
#include "support/MainFormKit.h"
#include "support/MiniHttpServer.h"

#include "app/OptionsNodes.h"
#include "app/ProjectSummary.h"
#include "app/forms/Unit1.h"
#include "platform/base/DateTime.h"
#include "platform/classes/TApplication.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sTooledit.h"

namespace korvex::app::test {

using namespace classes;
using os::nettest::MiniHttpServer;

namespace {

std::string PageRow(const std::string& name, int credit, const std::string& core) {
    return "<TR><TD>1</TD><TD>171.64.65.56</TD><TD>" + name + "</TD><TD>1</TD><TD>2.00</TD><TD>3.00</TD><TD>"
        + std::to_string(credit) + ".00</TD><TD>100</TD><TD>" + core + "</TD><TD>x</TD></TR>";
}

const std::string SummaryPage = "<HTML><TABLE>\r\n" + PageRow("p9501_first", 210, "GROMACS") + "\r\n"
    + PageRow("p9502_second", 95, "AMBER") + "\r\n" + "<TR><TD>1</TD><TD>171.64.0.1</TD></TR>\r\n</TABLE>\r\n";

class OptionsUpdateTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        Env->SetNow(base::EncodeDateTime(2026, 12, 7, 9, 15, 0, 0));
    }
    void TearDown() override {
        skin::FileDialogRunner = nullptr;
        if (Options != nullptr) Options->Free();
        if (Form != nullptr) Form->Free();
        Form = nullptr;
        MainFormTest::TearDown();
    }
    TForm1* ShowOptions(int language = 1) {
        TSettings settings = NodesSettings(2, language);
        StoreOptionsNodes(settings.Nodes, 0);
        Env->Store(OptionsKey, "Language", os::MakeDwordValue(language));
        NewMainForm(settings, -1);
        Options = Create<TForm1>(Application);
        Options->Show();
        Pump();
        Before = MainForm->Projects().Count();
        return Options;
    }
    void Update() {
        Options->sSpeedButton7Click(Options);
        Pump();
    }
    // The open dialog: answers with `file`, or cancels when it is empty.
    void DialogAnswers(const std::string& file) {
        skin::FileDialogRunner = [this, file](skin::TFileDialogKind, skin::TacFileDialogData& dialog) {
            DialogFilter = dialog.Filter;
            ++DialogRuns;
            if (file.empty()) return false;
            dialog.FileName = file;
            return true;
        };
    }

    TForm1* Options = nullptr;
    int Before = 0;
    int DialogRuns = 0;
    std::string DialogFilter;
};

}

TEST_F(OptionsUpdateTest, ThePageAddsItsNewProjectsAndKeepsACopy) {
    MiniHttpServer server([](const std::string&) { return MiniHttpServer::Response(200, SummaryPage); });
    ShowOptions();
    Options->SetSummaryUrl(server.Url("/psummary.html"));
    Update();
    ASSERT_EQ(MainForm->Projects().Count(), Before + 2);
    EXPECT_EQ(MainForm->Projects().Row(Before + 1), (TProjectRow {"p9501_first", "GROMACS", 210}));
    EXPECT_EQ(Env->ReadFile(ProjectSummaryFile), SummaryPage + "\r\n");
    EXPECT_EQ(Options->InfoLabel()->Caption(),
        "Last update: 07.12.2026 09:15:00 Known units: 2/" + std::to_string(Before + 2));
    EXPECT_TRUE(Options->Saved());
    EXPECT_EQ(DialogRuns, 0);
    // The same page again adds nothing.
    Update();
    EXPECT_EQ(MainForm->Projects().Count(), Before + 2);
}

TEST_F(OptionsUpdateTest, AFailingAnswerIsReportedAndASavedCopyCanBeRead) {
    for (int status : {404, 500}) {
        MiniHttpServer server([&](const std::string&) { return MiniHttpServer::Response(status, SummaryPage); });
        ShowOptions();
        Options->SetSummaryUrl(server.Url("/psummary.html"));
        const std::string copy = Env->File("saved.html");
        WriteFile(copy, SummaryPage);
        DialogAnswers(copy);
        std::string texts;
        AnswerModal(mrOk, nullptr, &texts);
        Update();
        EXPECT_NE(texts.find("Cannot open URL " + server.Url("/psummary.html")), std::string::npos) << texts;
        EXPECT_EQ(DialogFilter, "HTML|*.html");
        EXPECT_EQ(MainForm->Projects().Count(), Before + 2) << status;
        EXPECT_EQ(Env->ReadFile(ProjectSummaryFile), "");   // the error page is never kept as the copy
        Options->Free();
        Options = nullptr;
        Form->Free();
        Form = nullptr;
        Env->Store(UnitsKey, "UnitsCount", os::MakeDwordValue(0));
    }
}

TEST_F(OptionsUpdateTest, ACancelledDialogStopsQuietly) {
    MiniHttpServer server([](const std::string&) { return MiniHttpServer::Response(404, "not here"); });
    ShowOptions(0);
    Options->SetSummaryUrl(server.Url("/p"));
    DialogAnswers("");
    std::string texts;
    AnswerModal(mrOk, nullptr, &texts);
    Update();
    EXPECT_NE(texts.find("Невозможно открыть URL "), std::string::npos) << texts;
    EXPECT_EQ(DialogRuns, 1);
    EXPECT_EQ(MainForm->Projects().Count(), Before);
    EXPECT_FALSE(Options->Saved());
    EXPECT_EQ(Options->InfoLabel()->Caption(), "Нет обновлений. Исп. внутр. база");
}

TEST_F(OptionsUpdateTest, TruncatedAnswersFailAndOtherLanguagesShowNothing) {
    MiniHttpServer server([](const std::string&) {
        return std::string("HTTP/1.1 200 X\r\nContent-Length: 9999\r\nConnection: close\r\n\r\n") + SummaryPage;
    });
    ShowOptions(7);
    Options->SetSummaryUrl(server.Url("/p"));
    const std::string copy = Env->File("saved.html");
    WriteFile(copy, SummaryPage);
    DialogAnswers(copy);
    const std::string label = Options->InfoLabel()->Caption();
    Update();   // no message box comes up, or this would wait for ever
    EXPECT_EQ(DialogRuns, 1);
    EXPECT_EQ(MainForm->Projects().Count(), Before + 2);
    EXPECT_EQ(Options->InfoLabel()->Caption(), label);
}

}
