// The track bar's state and geometry, shared by its message handling and its painting.
#pragma once

#include "platform/user/controls/TrackBar.h"

#include <vector>

namespace korvex::user::trackbar {

inline constexpr int ChannelThickness = 4;
inline constexpr int TickGap = 2;   // between the thumb and its ticks

enum class Track { None, Thumb, Page };

struct TrackState {
    int Min = 0;
    int Max = 100;
    int Pos = 0;
    int Line = 1;
    int Page = 20;
    int Frequency = 1;
    int ThumbLength = TrackBarDefaultThumbLength;
    int SelStart = 0;
    int SelEnd = 0;
    std::vector<int> Tics;   // interior ticks, sorted
    Track Tracking = Track::None;
    int DragOffset = 0;   // from the thumb's start to the pointer, along the bar
    int PageDirection = 0;
    POINT PagePoint {};
    int WheelRest = 0;   // wheel delta short of a notch
};

// The layout along and across the bar; for a vertical bar "along" is y.
struct Geometry {
    bool Vertical = false;
    int ChannelStart = 0;   // along
    int ChannelEnd = 0;
    int ChannelAcross = 0;   // the channel's first pixel across
    int ThumbAcross = 0;   // the thumb's first pixel across
    int ThumbLength = 0;   // across
    int ThumbWidth = 0;   // along
    bool TicksBefore = false;   // above or left
    bool TicksAfter = false;
};

int Low(const TrackState* s);
int High(const TrackState* s);
Geometry Layout(HWND hwnd, const TrackState* s);
int ThumbStartFor(const Geometry& g, const TrackState* s, int pos);   // the thumb's start along the bar
int TickPixel(const Geometry& g, const TrackState* s, int pos);   // where the tick of a position stands
// A rectangle given along and across the bar, turned to the bar's orientation.
RECT Oriented(const Geometry& g, int alongStart, int acrossStart, int alongEnd, int acrossEnd);
RECT ThumbRect(const Geometry& g, const TrackState* s);
RECT ChannelRect(const Geometry& g);

// Painting (TrackBarPaint.cpp): the whole bar into the DC given.
void Paint(HWND hwnd, HDC dc, TrackState* s);

}
