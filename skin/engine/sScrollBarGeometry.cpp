// Where the parts of a skinned scroll bar lie along it, and which position a point along it stands for.
#include "skin/engine/sScrollBarGeometry.h"

#include "platform/base/Numbers.h"

#include <algorithm>

namespace korvex::skin {

TsScrollGeometry::TsScrollGeometry(int length, int arrow, int pageSize, int min, int max, int position, bool enabled)
    : FLength(length), FArrow(arrow), FMin(min), FMax(max), FEnabled(enabled) {
    // An inverted range of exactly one page leaves nothing to divide by: the thumb keeps its default length.
    const long long span = (long long)max + pageSize - min;
    if (pageSize != 0 && span > 0)
        FThumb = int(std::max<long long>(
            DefaultThumbLength, base::Round(double(length - 2 * arrow) * pageSize / double(span))));
    if (!enabled)
        FCentre = length / 2;
    else if (max == min)
        FCentre = 0;
    else
        FCentre = arrow + FThumb / 2
            + int(base::Round(double(TrackRoom()) / (double(max) - min) * (double(position) - min)));
}

int TsScrollGeometry::Arrow1End() const {
    return std::min(FArrow, FLength / 2);
}

int TsScrollGeometry::Arrow2Start() const {
    return std::max(FLength - FArrow, FLength / 2);
}

int TsScrollGeometry::PositionAt(int point) const {
    if (!FEnabled) return 0;
    // A thumb that fills the track (or more) has no travel to divide by.
    if (TrackRoom() <= 0 || FMax == FMin) return FMin;
    const double along = point - FArrow - FThumb / 2.0;
    return FMin + int(base::Round(along * (double(FMax) - FMin) / TrackRoom()));
}

TsScrollPart TsScrollGeometry::PartAt(int point) const {
    if (point < 0 || point >= FLength) return TsScrollPart::None;
    if (point < Arrow1End()) return TsScrollPart::Arrow1;
    if (point >= Arrow2Start()) return TsScrollPart::Arrow2;
    if (HasThumb() && point >= ThumbStart() && point < ThumbEnd()) return TsScrollPart::Thumb;
    return point < FCentre ? TsScrollPart::TrackBefore : TsScrollPart::TrackAfter;
}

}
