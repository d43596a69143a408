// Dropped files: windows that accept them, the drop handle of WM_DROPFILES and the calls that read it.
#pragma once

#include "platform/user/UserTypes.h"

#include <string>
#include <vector>

namespace korvex::user {

struct DropData;
using HDROP = DropData*;

// Adds or removes WS_EX_ACCEPTFILES on the window.
void DragAcceptFiles(HWND hwnd, bool accept);

// index 0xFFFFFFFF: the number of files. Otherwise the length in bytes of file `index` (without the final
// zero) when buffer is nullptr; else as much of the name as fits in size - 1 bytes, zero-terminated, and the
// number of bytes copied. 0 for an index out of range or a null drop.
UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size);
// The drop point in the client coordinates of the window it was dropped on; false when null.
bool DragQueryPoint(HDROP drop, POINT* point);
// Frees the drop handle (every WM_DROPFILES receiver calls it once).
void DragFinish(HDROP drop);

// Delivers a drop of files at a screen point, as the display does when files are dropped: the window under the
// point, or its nearest ancestor that accepts files, is sent WM_DROPFILES (wParam the drop). False (nothing sent)
// when no window there accepts files or the list is empty.
bool DropFilesAt(POINT screenPoint, const std::vector<std::string>& names);
// Whether DropFilesAt would find a window there that accepts files.
bool AcceptsFilesAt(POINT screenPoint);

}
