// The options window's project update from a loopback server: a page, failing answers with the saved-copy
// fallback through the open dialog, a cancelled dialog, and other languages.
#include "support/MainFormKit.h"
#include "support/MiniHttpServer.h"
#include "support/ModalAnswer.h"

#include "app/settings/OptionsNodes.h"
#include "app/nodes/ProjectSummary.h"
#include "app/forms/OptionsWindow.h"
#include "app/forms/ManualProjectWindow.h"
#include "platform/classes/TStringGrid.h"
#include "skin/controls/sCurrEdit.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sSpeedButton.h"
#include "platform/base/DateTime.h"
#include "platform/classes/TApplication.h"
#include "skin/controls/sLabel.h"
#include "platform/classes/StdControls.h"
#include "platform/classes/TEdit.h"
#include "platform/classes/TScreen.h"
#include "platform/user/MessageLoop.h"
#include "skin/windows/sOpenDialog.h"

#include <filesystem>

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
// Its last row, a server's line without cells, is added without a name.

class OptionsUpdateTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        Env->SetNow(base::EncodeDateTime(2026, 12, 7, 9, 15, 0, 0));
    }
    void TearDown() override {
        if (Options != nullptr) Options->Free();
        if (Form != nullptr) Form->Free();
        Form = nullptr;
        MainFormTest::TearDown();
    }
    TForm1* ShowOptions(int language = 1) {
        TSettings settings = NodesSettings(2, language);
        StoreOptionsNodes(settings.Nodes);
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
    // Answers the open dialog once it is up: the file typed and OK clicked, or Cancel when `file` is empty;
    // then, with `next`, the message box that follows, its texts into `next`.
    void AnswerOpenDialog(const std::string& file, std::string* next = nullptr) {
        user::MessageEventLoop().Post([this, file, next] {
            TCustomForm* active = Screen->ActiveCustomForm();
            auto* edit = active != nullptr ? dynamic_cast<TEdit*>(active->FindComponent("FileNameEdit")) : nullptr;
            if (edit == nullptr || !active->FormState().Contains(fsModal)) return AnswerOpenDialog(file, next);
            ++DialogRuns;
            if (file.empty()) return active->SetModalResult(mrCancel);
            edit->SetText(file);
            auto* ok = dynamic_cast<TControl*>(active->FindComponent("OKButton"));
            const TPoint p = ok->ClientToScreen(TPoint {ok->Width() / 2, ok->Height() / 2});
            Display->Click(p.x, p.y);
            if (next != nullptr) AnswerMessage(next);
        });
    }
    // Answers the next modal window that is not the open dialog, its texts into `texts`.
    void AnswerMessage(std::string* texts) {
        user::MessageEventLoop().Post([this, texts] {
            TCustomForm* active = Screen->ActiveCustomForm();
            if (active == nullptr || !active->FormState().Contains(fsModal) || active->FindComponent("FileNameEdit"))
                return AnswerMessage(texts);
            AnswerModal(mrOk, nullptr, texts);
        });
    }

    TForm1* Options = nullptr;
    int Before = 0;
    int DialogRuns = 0;
};

}

TEST_F(OptionsUpdateTest, ThePageAddsItsNewProjectsAndKeepsACopy) {
    MiniHttpServer server([](const std::string&) { return MiniHttpServer::Response(200, SummaryPage); });
    ShowOptions();
    Options->SetSummaryUrl(server.Url("/psummary.html"));
    Update();
    ASSERT_EQ(MainForm->Projects().Count(), Before + 3);
    EXPECT_EQ(MainForm->Projects().Row(Before + 1), (TProjectRow {"p9501_first", "GROMACS", 210}));
    EXPECT_EQ(Env->ReadFile(ProjectSummaryFile), SummaryPage + "\r\n");
    EXPECT_EQ(Options->InfoLabel()->Caption(),
        "Last update: 07.12.2026 09:15:00 Known units: 3/" + std::to_string(Before + 3));
    EXPECT_TRUE(Options->Saved());
    EXPECT_EQ(DialogRuns, 0);
    // The same page again adds nothing.
    Update();
    EXPECT_EQ(MainForm->Projects().Count(), Before + 3);
}

TEST_F(OptionsUpdateTest, AFailingAnswerIsReportedAndASavedCopyCanBeRead) {
    for (int status : {404, 500}) {
        DialogRuns = 0;
        MiniHttpServer server([&](const std::string&) { return MiniHttpServer::Response(status, SummaryPage); });
        ShowOptions();
        Options->SetSummaryUrl(server.Url("/psummary.html"));
        const std::string copy = Env->File("saved.html");
        WriteFile(copy, SummaryPage);
        AnswerOpenDialog(copy);
        std::string texts;
        AnswerModal(mrOk, nullptr, &texts);
        Update();
        EXPECT_NE(texts.find("Cannot open URL " + server.Url("/psummary.html")), std::string::npos) << texts;
        EXPECT_EQ(Options->OpenDialog()->Filter(), "HTML|*.html");
        EXPECT_EQ(DialogRuns, 1);
        EXPECT_EQ(MainForm->Projects().Count(), Before + 3) << status;
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
    AnswerOpenDialog("");
    std::string texts;
    AnswerModal(mrOk, nullptr, &texts);
    Update();
    EXPECT_NE(texts.find("Невозможно открыть URL "), std::string::npos) << texts;
    EXPECT_EQ(DialogRuns, 1);
    EXPECT_EQ(MainForm->Projects().Count(), Before);
    EXPECT_FALSE(Options->Saved());
    EXPECT_EQ(Options->InfoLabel()->Caption(), "Нет обновлений. Исп. внутр. база");
}

TEST_F(OptionsUpdateTest, AChosenFileThatCannotBeReadIsReportedAndAddsNothing) {
    MiniHttpServer server([](const std::string&) { return MiniHttpServer::Response(404, "not here"); });
    ShowOptions();
    Options->SetSummaryUrl(server.Url("/p"));
    std::string first, second;
    AnswerModal(mrOk, nullptr, &first);
    AnswerOpenDialog(Env->File("missing.html"), &second);
    Update();
    EXPECT_NE(second.find("Cannot open file " + Env->File("missing.html")), std::string::npos) << second;
    EXPECT_EQ(MainForm->Projects().Count(), Before);
    EXPECT_FALSE(Options->Saved());
}

TEST_F(OptionsUpdateTest, ACopyThatCannotBeWrittenEndsTheUpdateWithoutTheDialog) {
    MiniHttpServer server([](const std::string&) { return MiniHttpServer::Response(200, SummaryPage); });
    std::filesystem::create_directory(Env->File(ProjectSummaryFile));   // nothing can be written there
    ShowOptions();
    Options->SetSummaryUrl(server.Url("/psummary.html"));
    std::string texts;
    AnswerModal(mrOk, nullptr, &texts);
    Update();
    EXPECT_NE(texts.find("Cannot write psummary.html"), std::string::npos) << texts;
    EXPECT_EQ(DialogRuns, 0);
    EXPECT_EQ(MainForm->Projects().Count(), Before);
    EXPECT_FALSE(Options->Saved());
}

TEST_F(OptionsUpdateTest, TruncatedAnswersFailAndOtherLanguagesShowNothing) {
    MiniHttpServer server([](const std::string&) {
        return std::string("HTTP/1.1 200 X\r\nContent-Length: 9999\r\nConnection: close\r\n\r\n") + SummaryPage;
    });
    ShowOptions(7);
    Options->SetSummaryUrl(server.Url("/p"));
    const std::string copy = Env->File("saved.html");
    WriteFile(copy, SummaryPage);
    AnswerOpenDialog(copy);
    const std::string label = Options->InfoLabel()->Caption();
    Update();   // no message box comes up, or this would wait for ever
    EXPECT_EQ(DialogRuns, 1);
    EXPECT_EQ(MainForm->Projects().Count(), Before + 3);
    EXPECT_EQ(Options->InfoLabel()->Caption(), label);
}

TEST_F(OptionsUpdateTest, ALineWithAServersAddressIsAProjectWhateverItsNameWithoutAWord) {
    const std::string page = "<HTML>\r\n<TR><TD>1</TD><TD>171.64.65.56</TD><TD>Server status</TD><TD>up</TD></TR>\r\n";
    MiniHttpServer server([&](const std::string&) { return MiniHttpServer::Response(200, page); });
    ShowOptions();
    Options->SetSummaryUrl(server.Url("/psummary.html"));
    EXPECT_FALSE(OpensModal([this] { Update(); }));
    ASSERT_EQ(MainForm->Projects().Count(), Before + 1);
    EXPECT_EQ(MainForm->Projects().Name(Before + 1), "Server status");
    EXPECT_EQ(Env->Stored(UnitsKey, "UnitsCount"), os::MakeDwordValue(1));
    EXPECT_EQ(Options->InfoLabel()->Caption(),
        "Last update: 07.12.2026 09:15:00 Known units: 1/" + std::to_string(Before + 1));
    EXPECT_TRUE(Options->Saved());
}

// A project added by hand or by the update shows in the known units at the window's next showing.
TEST_F(OptionsUpdateTest, AProjectAddedByHandShowsInTheKnownUnitsAtTheNextShowing) {
    ShowOptions();
    TForm7* input = Create<TForm7>(Application);
    user::MessageEventLoop().Post([input] {
        input->NameEdit()->SetText("p9700_by hand");
        input->CoreEdit()->SetText("AMBER");
        input->CreditEdit()->SetValue(77);
        input->sSpeedButton1Click(input);
    });
    Options->sSpeedButton5Click(Options);
    Pump();
    TStringGrid* grid = Options->WUGrid();
    EXPECT_EQ(grid->RowCount(), Before + 2);
    EXPECT_TRUE(Options->Saved());
    Options->Hide();
    Options->Show();
    Pump();
    ASSERT_EQ(grid->RowCount(), Before + 3);
    EXPECT_EQ(grid->Cells(1, Before + 1), "p9700_by hand");
    EXPECT_EQ(grid->Cells(3, Before + 1), "77");
    EXPECT_EQ(grid->Cells(0, Before + 2), std::to_string(Before + 1));
    EXPECT_EQ(grid->Cells(1, Before + 2), "TOTAL WUs");
    input->Free();
}

}
