// TsScrollBox: a scrolling container painted from the skin; while skinned, two skinned scroll bars laid over its
// edges stand in for the native ones.
#pragma once

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

// The content offset is the native bars' Position. While a skin is loaded the native bars are hidden (their
// Position and Visible saved, the content back at the origin) and the skinned bars, children of the box's parent
// with the box as host, stand in for them: Min 0, Max = Range - the client size along the bar, PageSize and
// LargeChange the client size. Moving a skinned bar scrolls the content; ScrollBy moves the bars quietly.
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

    // Moves the content by the deltas, as far as the content reaches: never past either end (the class library's
    // own ScrollBy would move the children away from the bars' positions). Skinned, OnBeforeScroll and
    // OnAfterScroll fire even for (0, 0) and the skinned bars follow without notifying.
    void ScrollBy(int deltaX, int deltaY);
    bool Scrolling() const { return FScrolling; }

    // Lays the skinned bars out from the ranges and the client size: made on first need, hidden when not
    // needed, none without a loaded skin or while the box is hidden. Nothing while destroying.
    virtual void UpdateScrolls();
    TsScrollBar* SkinVertBar() const { return FVertBar; }   // nullptr until first needed
    TsScrollBar* SkinHorzBar() const { return FHorzBar; }
    bool NativeBarsHidden() const { return FNativeHidden; }
    int FrameWidth() const;   // 2 for bsSingle, else 0

    void SetBounds(int left, int top, int width, int height) override;   // a moved box takes its bars along
    void SetParent(classes::TWinControl* value) override;

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    classes::TRect GetClientRect() const override;   // less every skinned bar that exists
    void AdjustClientRect(classes::TRect& rect) override;   // aligned children laid out in the scrolled area
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    void SetUpSkin();   // once: the native bars hidden and the skinned ones laid out
    bool SkinCommand(classes::TMessage& m);   // the box's own skin commands; true: handled
    void HideNativeBars();
    void FreeSkinBars();
    void HideSkinBar(TsScrollBar* bar);   // hidden, back at its start
    TsScrollBar* MakeBar(classes::TScrollBarKind kind);
    void LayOutBars();   // one pass of UpdateScrolls
    void LayBar(TsScrollBar*& bar, classes::TScrollBarKind kind, int max, int page, const classes::TRect& r);
    void BarChanged(TsScrollBar* bar, int previousPosition);   // a skinned bar moved: the content follows
    void FocusInView(classes::TControl* control);
    bool ScrollMessage(classes::TMessage& m);   // WM_HSCROLL / WM_VSCROLL while skinned; true: handled

    // Painting (the client from the cache at the frame's offset, the frame as four strips)
    void PrepareCache();
    void RenderCache();
    void PaintMessage();
    void PaintFrameStrips(gdi::HDC dc);
    void NcPaint();

    std::unique_ptr<TsCommonData> FCommonData;
    std::unique_ptr<classes::TControlCanvas> FCanvas;
    TsScrollBar* FVertBar = nullptr;   // owned as components; cleared in Notification
    TsScrollBar* FHorzBar = nullptr;
    bool FFullRepaint = false;
    int FSavedVertPos = 0;   // the native positions when they were hidden, until the skinned bars take them
    int FSavedHorzPos = 0;
    bool FSavedVertVisible = true;
    bool FSavedHorzVisible = true;
    bool FSkinSetUp = false;
    bool FNativeHidden = false;
    bool FScrolling = false;
    bool FLaying = false;   // UpdateScrolls is running
};

}
