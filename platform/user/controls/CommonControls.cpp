// Registration of the common control classes.
#include "platform/user/controls/CommonControls.h"

#include "platform/user/controls/Header.h"
#include "platform/user/controls/ListView.h"
#include "platform/user/controls/ProgressBar.h"
#include "platform/user/controls/StatusBar.h"
#include "platform/user/controls/TabControl.h"
#include "platform/user/controls/ToolBar.h"
#include "platform/user/controls/TrackBar.h"
#include "platform/user/controls/TreeView.h"
#include "platform/user/controls/UpDown.h"

namespace korvex::user {

bool InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) return false;
    bool ok = true;
    if (init->dwICC & ICC_BAR_CLASSES) {
        ok = RegisterToolBarClass() && ok;
        ok = RegisterStatusBarClass() && ok;
        ok = RegisterTrackBarClass() && ok;
    }
    if (init->dwICC & ICC_TAB_CLASSES) ok = RegisterTabControlClass() && ok;
    if (init->dwICC & (ICC_UPDOWN_CLASS | ICC_TAB_CLASSES)) ok = RegisterUpDownClass() && ok;
    if (init->dwICC & ICC_PROGRESS_CLASS) ok = RegisterProgressBarClass() && ok;
    if (init->dwICC & ICC_LISTVIEW_CLASSES) {
        ok = RegisterHeaderClass() && ok;
        ok = RegisterListViewClass() && ok;
    }
    if (init->dwICC & ICC_TREEVIEW_CLASSES) ok = RegisterTreeViewClass() && ok;
    return ok;
}

bool RegisterCommonControlClasses() {
    INITCOMMONCONTROLSEX init;
    return InitCommonControlsEx(&init);
}

DWORD GetComCtlVersion() {
    return 0x00060000;   // 6.0
}

}
