// Icons at the window layer: finding an icon's picture, drawing it, and the program's own icons.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/user/UserTypes.h"

#include <functional>

namespace korvex::user {

// The window layer keeps no pictures of icons: the class library's icons do. It tells how to find the
// premultiplied 32-bit picture of a handle (nullptr: none). IconPicture answers nullptr while no source is set.
using IconPictureSource = std::function<const gdi::Bitmap*(HICON icon)>;
IconPictureSource SetIconPictureSource(IconPictureSource source);   // answers the one it replaces
const gdi::Bitmap* IconPicture(HICON icon);

inline constexpr UINT DI_MASK = 0x0001;
inline constexpr UINT DI_IMAGE = 0x0002;
inline constexpr UINT DI_NORMAL = DI_MASK | DI_IMAGE;

// The icon blended over the DC by its alpha, stretched to cx x cy (0: the icon's own width or height). Only
// DI_NORMAL drawing is known; step and flickerFree are ignored. False for a handle without a picture.
bool DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFree, UINT flags);

// WM_GETICON / WM_SETICON
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;
inline constexpr WPARAM ICON_SMALL2 = 2;

// The program's own icons, shown by windows that have none of their own: the plain caption's icon and what the
// display gives the window manager for its title bars and task bar (a window shown before they are set keeps
// none there). The caller keeps them alive until it sets others or nullptr.
void SetProgramIcons(HICON small, HICON large);
HICON ProgramIcon(WPARAM which);   // ICON_SMALL or ICON_BIG; nullptr while none is set

}
