// Forward declarations of the window layer's types, so a header can name one without including it.
#pragma once

namespace korvex::user {

struct MSG;
struct WNDCLASSEX;
struct CREATESTRUCT;
struct WINDOWPOS;
struct PAINTSTRUCT;
struct SCROLLINFO;
struct TRACKMOUSEEVENT;
struct MENUITEMINFO;
struct NMHDR;
struct DRAWITEMSTRUCT;
struct MEASUREITEMSTRUCT;

class MenuObject;   // menus (Menus.h)
struct CursorObject;   // cursors (Input.h)
class IconObject;   // icons (the class library's TIcon keeps the pictures)
class PaintGuard;
class Display;
class DisplaySink;
class HeadlessDisplay;
class TrayHost;
class TraySink;

namespace detail {
struct WindowObject;
struct ThreadQueue;
}

}
