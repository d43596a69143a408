// TScrollBar: the scroll bar control over the native SCROLLBAR class: range, page, position and its events.
#pragma once

#include "platform/classes/TWinControl.h"

#include <functional>
#include <string_view>

namespace korvex::classes {

enum TScrollBarKind { sbHorizontal, sbVertical };
inline constexpr std::string_view ScrollBarKindIdents[] = {"sbHorizontal", "sbVertical"};
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

// The range rule of scroll bars (this one and the skinned one): a position brought into min..max. An inverted
// range (max < min, kept while loading or by a skinned bar) gives min, or max where the caller says so.
enum class TInvertedRange { KeepsMin, KeepsMax };
int ScrollPositionInRange(int position, int min, int max, TInvertedRange inverted = TInvertedRange::KeepsMin);
// What a scroll code asks of a bar at position (this one and the skinned one): a line or a page on, an end, or
// the thumb's position (trackPos, asked for scPosition and scTrack only); scEndScroll keeps the position. The
// answer is not yet brought into range.
// Direction -1 (a horizontal bar read right to left) turns lines and pages the other way.
struct TScrollSteps {
    int Min;
    int Max;
    int SmallChange;
    int LargeChange;
    int Direction = 1;
};
int ScrollCodePosition(TScrollCode code, int position, const TScrollSteps& steps, const std::function<int()>& trackPos);
using TScrollEvent = std::function<void(TObject* sender, TScrollCode code, int& scrollPos)>;

// The user's scrolling arrives as scroll codes: OnScroll sees each code with the position it leads to (and
// may change it), then the position is set. Lines move by SmallChange, pages by LargeChange; scTrack follows
// the dragged thumb. OnChange fires after every change of Position. Max below Min, or below PageSize, raises
// EInvalidOperation "Scrollbar property out of range".
class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);   // swaps width and height (not while loading)
    int Min() const { return FMin; }
    void SetMin(int value) { SetParams(FPosition, value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int value) { SetParams(FPosition, FMin, value); }
    int Position() const { return FPosition; }
    void SetPosition(int value) { SetParams(value, FMin, FMax); }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value) { FSmallChange = value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value) { FLargeChange = value; }
    // Position, Min and Max at once; the position is kept within the range.
    void SetParams(int position, int min, int max);

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;
    virtual void DoScroll(TMessage& m);   // CN_HSCROLL / CN_VSCROLL
    virtual void Scroll(TScrollCode code, int& scrollPos);   // OnScroll
    virtual void Change();   // OnChange

private:
    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
};

}
