// A sheet of LED bars and round lamps on a form.
#include "LedSheet.h"

#include "leds/iLedBar.h"

namespace korvex::leds::test {

namespace {

TiLedBar* Bar(classes::TForm* form, int left, int top, TiDirection direction, TiLedBarSegmentStyle style,
    double position, int length, int thickness) {
    auto* bar = new TiLedBar(form);
    bar->SetParent(form);
    bar->SetSegmentDirection(direction);
    const bool vertical = direction == idUp || direction == idDown;
    bar->SetBounds(left, top, vertical ? thickness : length, vertical ? length : thickness);
    bar->SetSegmentStyle(style);
    if (style != ilbssRectangle) {
        bar->SetSegmentSize(thickness - 6);   // inside the border and margins
        bar->SetSegmentSpacing(2);
    }
    bar->SetSectionCount(3);
    bar->SetSectionEnd1(60);
    bar->SetSectionEnd2(85);
    bar->SetBackGroundColor(0x101010);
    bar->SetBorderStyle(ibsLowered);
    bar->SetPosition(position);
    return bar;
}
TiLedRound* Lamp(
    classes::TForm* form, int left, int top, int size, classes::TColor colour, bool active, TiBevelStyle bevel) {
    auto* lamp = new TiLedRound(form);
    lamp->SetParent(form);
    lamp->SetBounds(left, top, size, size);
    lamp->SetActiveColor(colour);
    lamp->SetActive(active);
    lamp->SetBevelStyle(bevel);
    lamp->SetBackGroundColor(SheetPanel);
    return lamp;
}

}

TLedSheet BuildLedSheet(classes::TForm* form) {
    TLedSheet sheet;
    form->SetColor(SheetPanel);
    // Vertical bars: up and down in each style, at 95, 70 and 40 percent.
    const TiLedBarSegmentStyle styles[] = {ilbssRectangle, ilbssCircle, ilbssTriangle};
    const double positions[] = {95, 70, 40};
    int x = 16;
    for (TiDirection direction : {idUp, idDown})
        for (int s = 0; s < 3; ++s) {
            Bar(form, x, 16, direction, styles[s], positions[s], 200, 20);
            x += 30;
        }
    // Horizontal bars: right and left in each style.
    int y = 16;
    for (TiDirection direction : {idRight, idLeft})
        for (int s = 0; s < 3; ++s) {
            Bar(form, 200, y, direction, styles[s], positions[s], 260, 18);
            y += 26;
        }
    // Two bars as the cores diagram draws them: pale sections, and the running core's solid bright one.
    TiLedBar* pale = Bar(form, 200, 180, idRight, ilbssRectangle, 1450, 150, 5);
    pale->SetBorderStyle(ibsNone);
    pale->SetSegmentMargin(0);
    pale->SetSegmentSize(1);
    pale->SetSegmentSpacing(1);
    pale->SetPositionMax(2000);
    pale->SetPosition(1450);
    pale->SetSectionEnd1(600);
    pale->SetSectionEnd2(1100);
    pale->SetSectionColor1(0xCBC0FF);
    pale->SetSectionColor2(0xE0FFFF);
    pale->SetSectionColor3(0x90EE90);
    TiLedBar* bright = Bar(form, 200, 188, idRight, ilbssRectangle, 0, 150, 5);
    bright->SetBorderStyle(ibsNone);
    bright->SetSegmentMargin(0);
    bright->SetSegmentSize(1);
    bright->SetSegmentSpacing(0);
    bright->SetPositionMax(2000);
    bright->SetSectionEnd1(600);
    bright->SetSectionEnd2(1100);
    bright->SetSectionColor1(classes::clRed);
    bright->SetSectionColor2(classes::clYellow);
    bright->SetSectionColor3(classes::clLime);
    bright->SetPosition(1700);

    // Round lamps: four colours on and off, lowered, raised and flat, in three sizes.
    const classes::TColor colours[] = {classes::clLime, classes::clRed, classes::clYellow, 0xFF9020};
    const TiBevelStyle bevels[] = {ibsLowered, ibsRaised, ibsNone};
    const int sizes[] = {15, 20, 30};
    y = 216;
    for (int row = 0; row < 3; ++row) {
        x = 16;
        for (classes::TColor colour : colours)
            for (bool active : {true, false}) {
                Lamp(form, x, y + (30 - sizes[row]) / 2, sizes[row], colour, active, bevels[row]);
                x += 40;
            }
        y += 44;
    }
    // One transparent lamp over the panel.
    sheet.ClearLamp = Lamp(form, 360, 216, 30, classes::clLime, true, ibsLowered);
    sheet.ClearLamp->SetBackGroundColor(classes::clFuchsia);
    sheet.ClearLamp->SetTransparent(true);
    sheet.FirstBar = form->Controls(0);
    return sheet;
}

}
