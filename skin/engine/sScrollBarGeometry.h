// Where the parts of a skinned scroll bar lie along it, and which position a point along it stands for.
#pragma once

namespace korvex::skin {

// The parts in the order the part states are kept.
enum class TsScrollPart { Arrow1, Arrow2, TrackBefore, TrackAfter, Thumb, None };
inline constexpr int ScrollPartCount = 5;

// Thumb length when there is no page or no usable range.
inline constexpr int DefaultThumbLength = 14;

// Everything is measured along the bar, in pixels from its left or top end: L the bar's length, A the arrow
// size, T the thumb's length. The arrows take A pixels at each end (at most half the bar each), the thumb is
// T pixels centred on its centre C, the track halves meet at C.
class TsScrollGeometry {
public:
    TsScrollGeometry(int length, int arrow, int pageSize, int min, int max, int position, bool enabled);

    int Length() const { return FLength; }
    int Arrow() const { return FArrow; }
    int ThumbLength() const { return FThumb; }
    int ThumbCentre() const { return FCentre; }
    int ThumbStart() const { return FCentre - FThumb / 2; }
    int ThumbEnd() const { return ThumbStart() + FThumb; }
    // L - 2A - T: how far the thumb can travel. Below 0 no thumb is shown; at 0 or below it cannot be dragged.
    int TrackRoom() const { return FLength - 2 * FArrow - FThumb; }
    bool HasThumb() const { return TrackRoom() >= 0; }
    bool CanDragThumb() const { return FEnabled && TrackRoom() > 0; }
    int Arrow1End() const;   // arrow 1 is [0, Arrow1End)
    int Arrow2Start() const;   // arrow 2 is [Arrow2Start, L)

    // The position whose thumb is centred at `point`; 0 on a disabled bar, Min while the thumb cannot move.
    // Not limited to the range.
    int PositionAt(int point) const;
    // Arrows first, then the thumb (when shown), then the track half on that side of the thumb's centre.
    TsScrollPart PartAt(int point) const;

private:
    int FLength;
    int FArrow;
    int FMin;
    int FMax;
    bool FEnabled;
    int FThumb = DefaultThumbLength;
    int FCentre = 0;
};

}
