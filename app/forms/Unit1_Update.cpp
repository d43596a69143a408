// TForm1: the known projects updated from the project summary page, or from a saved copy of it.
#include "app/ProjectSummary.h"
#include "app/ProjectTable.h"
#include "app/forms/Unit1.h"
#include "platform/os/ProgramFolder.h"
#include "platform/os/TextFiles.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sTooledit.h"
#include "skin/windows/sMessageDlg.h"

namespace korvex::app {

using namespace classes;

void TForm1::SayInLanguage(const std::string& text) {
    if (!text.empty()) skin::sShowMessage(text);   // other languages show nothing
}

// The open dialog for a saved copy of the page; false when it was cancelled or there is none.
bool TForm1::RunOpenDialog(std::string& fileName) {
    if (!skin::FileDialogRunner) return false;
    skin::TacFileDialogData dialog;
    dialog.Filter = "HTML|*.html";
    dialog.FileName = fileName;
    dialog.InitialDir = os::ProgramFolder();
    if (!skin::FileDialogRunner(skin::dkOpen, dialog) || dialog.FileName.empty()) return false;
    fileName = dialog.FileName;
    return true;
}

void TForm1::sSpeedButton7Click(TObject*) {
    std::string file = os::ProgramFolder() + "/" + ProjectSummaryFile;
    const TSummaryFetch fetched = FetchProjectSummary(FSummaryUrl, file, ProjectSummaryTimeoutMs);
    if (fetched != TSummaryFetch::Ok) {
        SayInLanguage(SummaryFetchFailureText(fetched, Language(), FSummaryUrl));
        file = ProjectSummaryFile;
        if (!RunOpenDialog(file)) return;   // cancelled: nothing to read
    }
    std::string page;
    if (!os::ReadWholeFile(file, page)) {
        SayInLanguage(Language() == 0 ? "Невозможно открыть файл " + file : "Cannot open file " + file);
        return;
    }
    TProjectTable& projects = Projects();
    const TProjectSummaryResult result = AddProjectSummary(page, projects);
    if (result.Added == 0) return;
    FSaved = true;
    const std::string text = ProjectSummaryAddedText(Language(), result.Date, result.UnitsCount, projects.Count());
    if (!text.empty()) FInfoLabel->SetCaption(text);
}

}
