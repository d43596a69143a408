// TsScrollBox: a scrolling container painted from the skin; while skinned, two skinned scroll bars laid over its
// edges stand in for the native ones.
#pragma once

#include "platform/classes/TCustomControl.h"
#include "platform/classes/TScrollBox.h"
#include "skin/controls/sControlFrame.h"

#include <functional>
#include <memory>

namespace korvex::classes {
class TControlCanvas;
}

namespace korvex::skin {

class TsCommonData;
class TsScrollBar;

using TsPaintEvent = std::function<void(classes::TBitmap* controlBmp)>;

class TsScrollBox;

// The square where both skinned bars meet: a small window over the box, beside the bars, showing that square
// of the box's cache. The content scrolls beneath it and never shows through.
class TsScrollBoxCorner : public classes::TCustomControl {
public:
    TsScrollBoxCorner(classes::TComponent* owner, TsScrollBox* box);

protected:
    void Paint() override;
    void WndProc(classes::TMessage& message) override;

private:
    TsScrollBox* FBox;   // the owner
};

// The content offset is always the native bars' Position. While a skin is loaded the native bars are hidden
// (their Visible saved) and the skinned bars, children of the box's parent with the box as host, mirror them:
// Min 0, Max = Range - page, PageSize = LargeChange = the client size along the bar. Moving a skinned bar
// scrolls the content; ScrollBy and the content's size move the bars. The client area excludes shown bars.
class TsScrollBox : public classes::TScrollingWinControl {
public:
    explicit TsScrollBox(classes::TComponent* owner);
    ~TsScrollBox() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    TsCommonData* SkinData() const { return FCommonData.get(); }
    bool FullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool value) { FFullRepaint = value; }
    classes::TCanvas* Canvas() const;

    TsPaintEvent OnPaint;   // the cache after the background was rendered into it
    classes::TNotifyEvent OnBeforeScroll;
    classes::TNotifyEvent OnAfterScroll;

    // Moves the content by the deltas, each cut so that its bar's position stays within the bar's range; a
    // direction without a shown bar does not move. OnBeforeScroll and OnAfterScroll fire even for (0, 0).
    void ScrollBy(int deltaX, int deltaY);
    bool Scrolling() const { return FScrolling; }

    // Lays the skinned bars out from the ranges and the client size: made on first need, hidden when not
    // needed, none without a loaded skin or while the box is hidden. Nothing while destroying.
    virtual void UpdateScrolls();
    TsScrollBar* SkinVertBar() const { return FVertBar; }   // nullptr until first needed
    TsScrollBar* SkinHorzBar() const { return FHorzBar; }
    TsScrollBoxCorner* SkinCorner() const { return FCorner; }   // nullptr until both bars were needed
    bool NativeBarsHidden() const { return FNativeHidden; }
    int FrameWidth() const;   // 2 for bsSingle, else 0

    void SetBounds(int left, int top, int width, int height) override;   // the bars follow
    void SetParent(classes::TWinControl* value) override;   // the bars follow

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    classes::TRect GetClientRect() const override;   // less the shown skinned bars
    void AdjustClientRect(classes::TRect& rect) override;   // aligned children laid out in the scrolled area
    void AlignControls(classes::TControl* control, classes::TRect& rect) override;
    void WMSize(classes::TMessage& m) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    bool SkinActive() const;   // a manager with a loaded skin and a valid section
    int ClampedDelta(classes::TControlScrollBar* bar, int delta) const;
    void HideNativeBars();
    void RestoreNativeBars();   // the skin went away: the skinned bars hidden, the native ones back
    void HideSkinBars();
    TsScrollBar* MakeBar(classes::TScrollBarKind kind);
    void LayCorner(bool shown);   // over the square between the bars, or hidden
    void BarChanged(TsScrollBar* bar, int previousPosition);   // a skinned bar moved: the content follows
    void SyncBarPosition(TsScrollBar* bar, int position);   // without notifications
    void FocusInView(classes::TControl* control);
    bool ScrollMessage(classes::TMessage& m);   // WM_HSCROLL / WM_VSCROLL while skinned; true: handled

    // Painting (the client from the cache at the frame's offset, the frame as four strips)
    void PrepareCache();
    void PaintClient(gdi::HDC dc);
    void PaintFrameStrips(gdi::HDC dc);
    void NcPaint();

    std::unique_ptr<TsCommonData> FCommonData;
    std::unique_ptr<classes::TControlCanvas> FCanvas;
    TsScrollBar* FVertBar = nullptr;   // owned as components; cleared in Notification
    TsScrollBar* FHorzBar = nullptr;
    TsScrollBoxCorner* FCorner = nullptr;
    bool FFullRepaint = false;
    bool FScrolling = false;
    bool FNativeHidden = false;
    bool FSavedVertVisible = true;
    bool FSavedHorzVisible = true;
    bool FLaying = false;   // UpdateScrolls is running
};

}
