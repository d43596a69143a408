// Dropped files: the drop handle's names and point, and delivery to the accepting window under a point.
#include "platform/user/DropFiles.h"

#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/WinPos.h"

#include <cstring>

namespace korvex::user {

struct DropData {
    std::vector<std::string> Names;
    POINT Point {};
};

void DragAcceptFiles(HWND hwnd, bool accept) {
    if (!IsWindow(hwnd)) return;
    const LONG_PTR ex = GetWindowLongPtr(hwnd, GWL_EXSTYLE);
    const LONG_PTR wanted = accept ? (ex | WS_EX_ACCEPTFILES) : (ex & ~LONG_PTR(WS_EX_ACCEPTFILES));
    if (wanted != ex) SetWindowLongPtr(hwnd, GWL_EXSTYLE, wanted);
}

UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size) {
    if (drop == nullptr) return 0;
    if (index == 0xFFFFFFFFu) return UINT(drop->Names.size());
    if (index >= drop->Names.size()) return 0;
    const std::string& name = drop->Names[index];
    if (buffer == nullptr) return UINT(name.size());
    if (size == 0) return 0;
    const std::size_t n = std::min<std::size_t>(name.size(), size - 1);
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
    return UINT(n);
}

bool DragQueryPoint(HDROP drop, POINT* point) {
    if (drop == nullptr || point == nullptr) return false;
    *point = drop->Point;
    return true;
}

void DragFinish(HDROP drop) {
    delete drop;
}

namespace {

HWND DropTargetAt(POINT screenPoint) {
    HWND target = WindowFromPoint(screenPoint);
    while (target != nullptr && (GetWindowLongPtr(target, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) == 0)
        target = (GetWindowLongPtr(target, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(target) : nullptr;
    return target;
}

}   // namespace

bool AcceptsFilesAt(POINT screenPoint) {
    return DropTargetAt(screenPoint) != nullptr;
}

bool DropFilesAt(POINT screenPoint, const std::vector<std::string>& names) {
    if (names.empty()) return false;
    const HWND target = DropTargetAt(screenPoint);
    if (target == nullptr) return false;
    auto* drop = new DropData {names, screenPoint};   // freed by the receiver's DragFinish
    ScreenToClient(target, &drop->Point);
    SendMessage(target, WM_DROPFILES, WPARAM(drop), 0);
    return true;
}

}
