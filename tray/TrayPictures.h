// The program's tray icon frames: the normal set, the busy animation and the log viewer's frames.
#pragma once

#include "platform/classes/TImageList.h"

namespace korvex::tray {

enum class TTrayPictureSet {
    Normal,   // 4 frames: 0 the program's icon, 1-3 a finished unit's badge pulsing
    Busy,   // 8 frames: an arc running round the icon while nodes are read
    Viewer,   // 6 frames: the log page with its coloured lines scrolling
};

int TrayPictureFrames(TTrayPictureSet set);
// The frame sizes drawn: 16, 22 and 32 pixels.
inline constexpr int TrayPictureSizes[] = {16, 22, 32};
// The drawn size that suits a tray slot best: the biggest that fits it (16 for smaller slots).
int TrayPictureSizeFor(int slot);

// Empties list, sizes it size x size and adds the set's frames in order: drawn at that size when it is one of
// TrayPictureSizes, otherwise the nearest bigger drawing scaled down. False when a frame is missing.
bool LoadTrayPictures(classes::TCustomImageList* list, TTrayPictureSet set, int size);

}
