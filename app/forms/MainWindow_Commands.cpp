// TMainForm: the commands of the menus, the tool bar and the pop-ups that are not columns or side windows:
// web links, the version check, the quick add and delete of a node and the check-points view.
#include "app/views/MainCommands.h"
#include "app/forms/MainWindow.h"
#include "app/forms/SideForms.h"
#include "platform/classes/TMenu.h"
#include "skin/windows/sMessageDlg.h"

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
    QuickAddNode();
    ReShow();
}

void TMainForm::DeleteHostClick(TObject*) {
    if (QuickDeleteLastNode()) ReShow();
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
