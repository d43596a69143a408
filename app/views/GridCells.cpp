// Text colours that read on a background.
#include "app/views/GridCells.h"

#include "app/views/ClientLogColours.h"

namespace korvex::app {

namespace {

constexpr double ReadableContrast = 3.0;
constexpr int Black = 0x000000;
constexpr int White = 0xFFFFFF;

}

int ReadableTextColour(int background, int wanted) {
    if (ColourContrast(background, wanted) >= ReadableContrast) return wanted;
    return ColourContrast(background, Black) >= ColourContrast(background, White) ? Black : White;
}

}
