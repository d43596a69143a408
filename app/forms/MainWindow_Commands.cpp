// TMainForm: the commands of the menus, the tool bar and the pop-ups that are not columns or side windows:
// web links, the version check, the quick add and delete of a node and the check-points view.
#include "app/views/MainCommands.h"
#include "app/forms/MainWindow.h"
#include "app/forms/OptionsWindow.h"
#include "app/forms/SideForms.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TStringGrid.h"
#include "skin/windows/sMessageDlg.h"

#include <algorithm>

namespace korvex::app {

using namespace classes;

void TMainForm::WebLinkClick(TObject* sender) {
    auto* item = dynamic_cast<TComponent*>(sender);
    if (item != nullptr) OpenURL(WebLinkUrl(item->Name(), FSettings.Team));
}

void TMainForm::Checknewversion1Click(TObject*) {
    const std::string site = FVersionSite.empty() ? ProgramWebsite : FVersionSite;
    const TVersionAnswer answer = CheckNewVersion(site, ReadVersionOption(), VersionCheckTimeoutMs);
    skin::sShowMessage(VersionCheckMessage(answer, FSettings.Language, site));
    if (answer == TVersionAnswer::NewVersion) OpenURL(site);
}

void TMainForm::AddHostClick(TObject*) {
    QuickNodeChange([](TForm1* options) { options->sSpeedButton2Click(options); });
}

void TMainForm::DeleteHostClick(TObject*) {
    // The window's Delete takes the selected node out of the stored list: the last one is selected for it.
    QuickNodeChange([](TForm1* options) {
        options->NodeList()->SetRow(std::max(options->NodeCount() - 1, 0));
        options->sSpeedButton4Click(options);
    });
}

// The options window does it: shown (row 0 selected, so Add makes a "new" node of the defaults), the change,
// "Save all", closed; its close after the save runs "Refresh data". No node is saved: the stored node list
// changes by its count alone.
void TMainForm::QuickNodeChange(const std::function<void(TForm1*)>& change) {
    if (Form1 == nullptr || Form1->Visible()) return;
    Form1->Show();
    change(Form1);
    Form1->sSpeedButton1Click(Form1);
    Form1->Close();
}

std::string TMainForm::CheckPointsText() const {
    std::vector<TCheckPoint> nodes;
    const int count = FMonitor != nullptr ? std::min(FMonitor->NodeCount(), int(FLastStage.size())) : 0;
    for (int i = 0; i < count; ++i)
        nodes.push_back({FMonitor->Stage(i), FLastStage[i], FMonitor->RepeatCount(i), FMonitor->LastFarmReply(i),
            FMonitor->FarmState(i)});
    return app::CheckPointsText(nodes);
}

void TMainForm::ViewCheckPoints1Click(TObject*) {
    skin::sShowMessage(CheckPointsText());
}

void TMainForm::BackupDone(int node, bool ok) {
    if (Form8 != nullptr) Form8->BackupDone(node, ok);
}

}
