// Dispatch of the default non-client messages.
#include "platform/user/NonClient.h"

namespace korvex::user {

bool IsNonClientMessage(UINT) {
    return false;   // FIXME: filled in with the handlers
}

LRESULT DefNonClientProc(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

}
