// Registration of the standard native control classes.
#include "platform/user/controls/StandardClasses.h"

#include "platform/user/Mdi.h"
#include "platform/user/controls/Button.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/ListBox.h"
#include "platform/user/controls/RichEditConstants.h"
#include "platform/user/controls/ScrollBar.h"
#include "platform/user/controls/Static.h"

namespace korvex::user {

bool RegisterStandardClasses() {
    bool ok = true;
    ok = RegisterEditClass() && ok;
    ok = RegisterRichEditClass() && ok;
    ok = RegisterCommonControlClasses() && ok;
    ok = RegisterButtonClass() != 0 && ok;
    ok = RegisterStaticClass() != 0 && ok;
    ok = RegisterScrollBarClass() != 0 && ok;
    ok = RegisterListBoxClass() != 0 && ok;
    ok = RegisterComboBoxClass() != 0 && ok;
    ok = RegisterMdiClientClass() && ok;
    return ok;
}

}
