// Registration of the common control classes: tab, up-down, status, tool, track and progress bars, header,
// list view and tree view.
#pragma once

#include "platform/user/UserTypes.h"

namespace korvex::user {

inline constexpr DWORD ICC_LISTVIEW_CLASSES = 0x00000001;
inline constexpr DWORD ICC_TREEVIEW_CLASSES = 0x00000002;
inline constexpr DWORD ICC_BAR_CLASSES = 0x00000004;   // tool bar, status bar, track bar
inline constexpr DWORD ICC_TAB_CLASSES = 0x00000008;
inline constexpr DWORD ICC_UPDOWN_CLASS = 0x00000010;
inline constexpr DWORD ICC_PROGRESS_CLASS = 0x00000020;
inline constexpr DWORD ICC_WIN95_CLASSES = 0x000000FF;

struct INITCOMMONCONTROLSEX {
    DWORD dwSize = sizeof(INITCOMMONCONTROLSEX);
    DWORD dwICC = ICC_WIN95_CLASSES;
};

// Registers the classes the flags name (each once); false when a record is missing or a class failed.
// ICC_LISTVIEW_CLASSES brings the header with the list view.
bool InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
// All of the above.
bool RegisterCommonControlClasses();
// The version these common controls answer to: major in the high word, minor in the low word.
DWORD GetComCtlVersion();

}
