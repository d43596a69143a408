// TForm1: the known projects updated from the project summary page, or from a saved copy of it.
#include "app/nodes/ProjectSummary.h"
#include "app/nodes/ProjectTable.h"
#include "app/forms/OptionsWindow.h"
#include "platform/os/ProgramFolder.h"
#include "platform/os/TextFiles.h"
#include "skin/controls/sLabel.h"
#include "skin/windows/sMessageDlg.h"
#include "skin/windows/sOpenDialog.h"

namespace korvex::app {

using namespace classes;

void TForm1::SayInLanguage(const std::string& text) {
    if (!text.empty()) skin::sShowMessage(text);   // other languages show nothing
}

void TForm1::sSpeedButton7Click(TObject*) {
    const std::string copy = os::ProgramFolder() + "/" + ProjectSummaryFile;
    const TSummaryFetch fetched = FetchProjectSummary(FSummaryUrl, copy, ProjectSummaryTimeoutMs);
    if (fetched == TSummaryFetch::Ok) {
        FOpenDialog->SetFileName(copy);
    } else if (fetched == TSummaryFetch::WriteFailed) {
        SayInLanguage(SummaryFetchFailureText(fetched, Language(), FSummaryUrl));
        return;   // the copy cannot be kept: the update ends here
    } else {
        SayInLanguage(SummaryFetchFailureText(fetched, Language(), FSummaryUrl));
        // The user may pick a saved copy of the page; a cancelled dialog ends the update.
        if (!FOpenDialog->Execute()) return;
    }
    const std::string file = FOpenDialog->FileName();
    std::string page;
    if (!os::ReadWholeFile(file, page)) {
        const int language = Language();
        SayInLanguage(language == 0 ? "Невозможно открыть файл " + file : language == 1 ? "Cannot open file " + file : "");
        return;
    }
    TProjectTable& projects = Projects();
    const TProjectSummaryResult result = AddProjectSummary(page, projects);
    if (result.Added == 0) return;   // nothing new (or no project row at all): nothing said
    FSaved = true;
    const std::string text = ProjectSummaryAddedText(Language(), result.Date, result.UnitsCount, projects.Count());
    if (!text.empty()) FInfoLabel->SetCaption(text);   // the grid shows them at the next showing
}

}
