// The program's tray icons drawn procedurally: the normal set, the busy animation and the log viewer's frames.
#pragma once

#include "platform/gdi/Bitmap.h"

#include <string>

namespace korvex::trayicons {

enum class IconSet {
    Normal,   // frame 0 the program's emblem; the rest a finished-unit badge pulsing
    Busy,   // an arc running round the emblem while nodes are read
    Viewer,   // a log page whose coloured lines scroll
};

inline constexpr int Sizes[] = {16, 22, 32};

int FrameCount(IconSet set);
const char* SetName(IconSet set);   // "normal", "busy", "viewer"
// One frame as a 32-bit bitmap with straight (not premultiplied) alpha in the fourth byte.
gdi::Bitmap* DrawFrame(IconSet set, int frame, int size);

}
