// TTrackBar over the native track bar: a thumb between Min and Max with ticks; OnChange when the user moves it.
#pragma once

#include "platform/classes/TRangeControl.h"

#include <string_view>

namespace korvex::classes {

enum TTrackBarOrientation { trHorizontal, trVertical };
inline constexpr std::string_view TrackBarOrientationIdents[] = {"trHorizontal", "trVertical"};
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
inline constexpr std::string_view TickMarkIdents[] = {"tmBottomRight", "tmTopLeft", "tmBoth"};
enum TTickStyle { tsNone, tsAuto, tsManual };
inline constexpr std::string_view TickStyleIdents[] = {"tsNone", "tsAuto", "tsManual"};

class TTrackBar : public TRangeControl {
public:
    static constexpr int DefaultThumbLength = 20;

    explicit TTrackBar(TComponent* owner);
    ~TTrackBar() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // SetPosition fires no OnChange.
    int Frequency() const { return FFrequency; }
    void SetFrequency(int value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    int LineSize() const { return FLineSize; }
    void SetLineSize(int value);
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation value);   // swaps width and height unless loading
    TTickMark TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark value);
    TTickStyle TickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle value);
    int ThumbLength() const { return FThumbLength; }
    void SetThumbLength(int value);
    bool SliderVisible() const { return FSliderVisible; }
    void SetSliderVisible(bool value);
    int SelStart() const { return FSelStart; }
    void SetSelStart(int value);
    int SelEnd() const { return FSelEnd; }
    void SetSelEnd(int value);

    void SetTick(int value);   // a manual tick (tsManual)

    // Fired after the user moved the thumb (mouse or keys) to another position.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    virtual void Changed();   // OnChange
    void SendMin() override;
    void SendMax() override;
    void SendPosition() override;
    int WindowPosition() const override;

private:
    void UpdateSelection();

    int FFrequency = 1;
    int FPageSize = 2;
    int FLineSize = 1;
    TTrackBarOrientation FOrientation = trHorizontal;
    TTickMark FTickMarks = tmBottomRight;
    TTickStyle FTickStyle = tsAuto;
    int FThumbLength = DefaultThumbLength;
    bool FSliderVisible = true;
    int FSelStart = 0;
    int FSelEnd = 0;
};

}
