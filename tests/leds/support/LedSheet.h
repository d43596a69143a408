// A sheet of LED bars (three sections, each style and direction) and round lamps in both states, built on a
// form, for the pictures the sheet tests write.
#pragma once

#include "leds/iLedRound.h"
#include "platform/classes/TForm.h"

namespace korvex::leds::test {

inline constexpr classes::TColor SheetPanel = 0x2E2A26;
inline constexpr int SheetWidth = 640;
inline constexpr int SheetHeight = 360;

struct TLedSheet {
    classes::TControl* FirstBar = nullptr;   // up, rectangles, 95 %: its lowest segment is lit lime
    TiLedRound* ClearLamp = nullptr;   // transparent over the panel
};

// Fills form's client area (SheetWidth x SheetHeight) with the sheet.
TLedSheet BuildLedSheet(classes::TForm* form);

}
