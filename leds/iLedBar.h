// LED bar: a value shown as a row of LED segments, lit up to the position and coloured by section.
#pragma once

#include "leds/iProgressComponent.h"

#include <string_view>

namespace korvex::leds {

enum TiDirection { idUp, idDown, idRight, idLeft };
inline constexpr std::string_view iDirectionIdents[] = {"idUp", "idDown", "idRight", "idLeft"};
enum TiLedBarSegmentStyle { ilbssRectangle, ilbssCircle, ilbssTriangle };
inline constexpr std::string_view iLedBarSegmentStyleIdents[] = {"ilbssRectangle", "ilbssCircle", "ilbssTriangle"};

// The geometry of one picture: how many segments fit, how many are lit, where the sections change and
// where the first segment lies (each next one moves by Step in the bar's direction).
struct TiLedBarLayout {
    int Count = 0;
    int Offset = 0;
    int Step = 0;
    int Lit = 0;
    int End1 = 0;
    int End2 = 0;
    classes::TRect First {};
};

class TiLedBar : public TiProgressComponent {
public:
    explicit TiLedBar(TComponent* owner);   // 16 x 200, black background
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    TiDirection SegmentDirection() const { return FSegmentDirection; }
    void SetSegmentDirection(TiDirection value);   // between vertical and horizontal: Width and Height swap
    int SegmentMargin() const { return FSegmentMargin; }
    void SetSegmentMargin(int value);
    int SegmentSize() const { return FSegmentSize; }   // pixels along the bar
    void SetSegmentSize(int value);
    int SegmentSpacing() const { return FSegmentSpacing; }
    void SetSegmentSpacing(int value);
    TiLedBarSegmentStyle SegmentStyle() const { return FSegmentStyle; }
    void SetSegmentStyle(TiLedBarSegmentStyle value);

    TiLedBarLayout Layout() const;

protected:
    void iPaintTo(TCanvas* canvas) override;

private:
    void DrawSegment(TCanvas* canvas, const classes::TRect& s, TColor colour, bool on);

    TiDirection FSegmentDirection = idUp;
    int FSegmentMargin = 2;
    int FSegmentSize = 5;
    int FSegmentSpacing = 2;
    TiLedBarSegmentStyle FSegmentStyle = ilbssRectangle;
};

}
