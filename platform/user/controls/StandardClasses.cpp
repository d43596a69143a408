// Registration of the standard native control classes.
#include "platform/user/controls/StandardClasses.h"

#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/RichEditConstants.h"

namespace korvex::user {

bool RegisterStandardClasses() {
    bool ok = true;
    ok = RegisterEditClass() && ok;
    ok = RegisterRichEditClass() && ok;
    ok = RegisterCommonControlClasses() && ok;
    return ok;
}

}
