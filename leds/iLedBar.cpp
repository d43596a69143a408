// LED bar: segment geometry, lit count and section ends, and the painter for each segment style and direction.
#include "leds/iLedBar.h"

#include "leds/iGPFunctions.h"
#include "platform/base/Numbers.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TCanvas.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace korvex::leds {

using namespace classes;

namespace {

using i64 = std::int64_t;

// Geometry values far beyond any screen are cut here, so the arithmetic stays in range.
inline constexpr i64 GeometryLimit = 1 << 20;
inline constexpr i64 MaxSegments = 1 << 16;

i64 Limit(int value) {
    return std::clamp<i64>(value, -GeometryLimit, GeometryLimit);
}

int ToInt(i64 value) {
    return static_cast<int>(std::clamp<i64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// To the nearest integer, halves to the even neighbour, as the run time's Round.
int RoundToInt(double value) {
    return ToInt(base::Round(value));
}

bool IsVertical(TiDirection direction) {
    return direction == idUp || direction == idDown;
}

}

TiLedBar::TiLedBar(TComponent* owner)
    : TiProgressComponent(owner) {
    SetBackGroundColor(clBlack);
}

TClass TiLedBar::StaticClass() {
    static const TClassInfo info = MakeClass<TiLedBar, TiProgressComponent>("TiLedBar", [](auto& p) {
        p.Enum("SegmentDirection", &TiLedBar::SegmentDirection, &TiLedBar::SetSegmentDirection, iDirectionIdents, idUp);
        p.Int("SegmentMargin", &TiLedBar::SegmentMargin, &TiLedBar::SetSegmentMargin, 2);
        p.Int("SegmentSize", &TiLedBar::SegmentSize, &TiLedBar::SetSegmentSize, 5);
        p.Int("SegmentSpacing", &TiLedBar::SegmentSpacing, &TiLedBar::SetSegmentSpacing, 2);
        p.Enum("SegmentStyle", &TiLedBar::SegmentStyle, &TiLedBar::SetSegmentStyle, iLedBarSegmentStyleIdents,
            ilbssRectangle);
        p.Color("BackGroundColor", &TiComponent::BackGroundColor, &TiComponent::SetBackGroundColor, clBlack);
        p.Enum("BorderStyle", &TiComponent::BorderStyle, &TiComponent::SetBorderStyle, iBevelStyleIdents, ibsNone);
        p.Bool("Transparent", &TiVCLComponent::Transparent, &TiVCLComponent::SetTransparent, false);
        // Republished with the size a new bar has, so a stream holds them only when they differ.
        p.Int("Width", &TControl::Width, &TControl::SetWidth, 16);
        p.Int("Height", &TControl::Height, &TControl::SetHeight, 200);
    });
    return &info;
}

void TiLedBar::SetSegmentDirection(TiDirection value) {
    if (value == FSegmentDirection) return;
    if (!Loading() && IsVertical(value) != IsVertical(FSegmentDirection)) SetBounds(Left(), Top(), Height(), Width());
    FSegmentDirection = value;
    InvalidateNoChange();
}

void TiLedBar::SetSegmentMargin(int value) {
    if (value == FSegmentMargin) return;
    FSegmentMargin = value;
    InvalidateNoChange();
}

void TiLedBar::SetSegmentSize(int value) {
    if (value == FSegmentSize) return;
    FSegmentSize = value;
    InvalidateNoChange();
}

void TiLedBar::SetSegmentSpacing(int value) {
    if (value == FSegmentSpacing) return;
    FSegmentSpacing = value;
    InvalidateNoChange();
}

void TiLedBar::SetSegmentStyle(TiLedBarSegmentStyle value) {
    if (value == FSegmentStyle) return;
    FSegmentStyle = value;
    InvalidateNoChange();
}

TiLedBarLayout TiLedBar::Layout() const {
    TiLedBarLayout layout;
    i64 left = 0;
    i64 top = 0;
    i64 right = Width();
    i64 bottom = Height();
    if (BorderStyle() == ibsRaised || BorderStyle() == ibsLowered) {
        left += 2;
        top += 2;
        right -= 2;
        bottom -= 2;
    }
    const i64 length = IsVertical(FSegmentDirection) ? bottom - top : right - left;
    const i64 m = Limit(FSegmentMargin);
    const i64 z = Limit(FSegmentSize);
    const i64 step = z + Limit(FSegmentSpacing);
    const i64 avail = length - 2 * m + 2;
    i64 count = 0;
    i64 offset = 0;
    if (step != 0) {
        count = avail / step;   // truncating toward zero, as the run time's div and mod
        offset = (avail % step) / 2;
    }
    layout.Count = static_cast<int>(std::clamp<i64>(count, 0, MaxSegments));
    layout.Offset = ToInt(offset);
    layout.Step = ToInt(step);

    // The exact half goes to the even neighbour: 75 % of 4 segments (3.5) lights all 4, 50 % (2.5) two.
    layout.Lit = RoundToInt(GetPositionPercent(Position()) * layout.Count + 0.5);
    if (PositionMax() != PositionMin() && layout.Count != 0) {
        const double range = PositionMax() - PositionMin();
        layout.End1 = RoundToInt((SectionEnd1() - PositionMin()) / range * layout.Count);
        layout.End2 = RoundToInt((SectionEnd2() - PositionMin()) / range * layout.Count);
    }

    i64 l = 0;
    i64 t = 0;
    i64 r = 0;
    i64 b = 0;
    switch (FSegmentDirection) {
    case idUp:
        l = left + m, t = bottom - offset - m - z, r = right - m, b = bottom - offset - m;
        break;
    case idDown:
        l = left + m, t = top + offset + m, r = right - m, b = top + offset + m + z;
        break;
    case idRight:   // horizontal bars start at the margin and leave the remainder at their far end
        l = left + m, t = top + m, r = left + m + z, b = bottom - m;
        break;
    case idLeft:
        l = right - m - z, t = top + m, r = right - m, b = bottom - m;
        break;
    }
    layout.First = Rect(ToInt(l), ToInt(t), ToInt(r), ToInt(b));
    return layout;
}

void TiLedBar::iPaintTo(TCanvas* canvas) {
    iPaintBackground(canvas, BackGroundColor());
    const TiLedBarLayout layout = Layout();
    TRect s = layout.First;
    int section = 1;
    for (int i = 0; i < layout.Count; ++i) {
        if (i == layout.Lit && !ShowOffSegments()) break;   // unlit segments are not drawn at all
        if (SectionCount() > 1 && i >= layout.End1) section = std::max(section, 2);
        if (SectionCount() > 2 && i >= layout.End2) section = 3;
        const TColor colour = section == 1 ? SectionColor1() : section == 2 ? SectionColor2() : SectionColor3();
        DrawSegment(canvas, s, colour, i < layout.Lit);
        switch (FSegmentDirection) {
        case idUp:
            s = Rect(s.left, s.top - layout.Step, s.right, s.bottom - layout.Step);
            break;
        case idDown:
            s = Rect(s.left, s.top + layout.Step, s.right, s.bottom + layout.Step);
            break;
        case idRight:
            s = Rect(s.left + layout.Step, s.top, s.right + layout.Step, s.bottom);
            break;
        case idLeft:
            s = Rect(s.left - layout.Step, s.top, s.right - layout.Step, s.bottom);
            break;
        }
    }
}

void TiLedBar::DrawSegment(TCanvas* canvas, const TRect& s, TColor colour, bool on) {
    const TColor fill = on ? colour : DimColor(colour, 3);
    canvas->Brush()->SetColor(fill);
    canvas->Pen()->SetColor(fill);
    const int z = static_cast<int>(Limit(FSegmentSize));
    const int h = z / 2;
    const int cx = (s.left + s.right) / 2;
    const int cy = (s.top + s.bottom) / 2;
    switch (FSegmentStyle) {
    case ilbssRectangle:
        canvas->Rectangle(s);
        break;
    case ilbssCircle: {
        const TRect e = Rect(cx - h, cy - h, cx - h + z, cy - h + z);
        canvas->Ellipse(e);
        // A two-pixel reflection along the upper-left quarter.
        canvas->Pen()->SetColor(on ? clWhite : colour);
        const int q = z / 4;
        canvas->Arc(e.left + q, e.top + q, e.right - q, e.bottom - q, e.right - h, e.top, e.left, e.bottom - h);
        canvas->Arc(
            e.left + q + 1, e.top + q + 1, e.right - q - 1, e.bottom - q - 1, e.right - h, e.top, e.left, e.bottom - h);
        break;
    }
    case ilbssTriangle: {
        TPoint points[3] {};
        switch (FSegmentDirection) {
        case idUp:
            points[0] = Point(cx - h, s.bottom), points[1] = Point(cx + h, s.bottom), points[2] = Point(cx, s.top);
            break;
        case idDown:
            points[0] = Point(cx - h, s.top), points[1] = Point(cx + h, s.top), points[2] = Point(cx, s.bottom);
            break;
        case idRight:
            points[0] = Point(s.left, cy - h), points[1] = Point(s.left, cy + h), points[2] = Point(s.right, cy);
            break;
        case idLeft:
            points[0] = Point(s.right, cy - h), points[1] = Point(s.right, cy + h), points[2] = Point(s.left, cy);
            break;
        }
        canvas->Polygon(points);
        break;
    }
    }
}

}
