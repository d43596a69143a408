// TsScrollBox: a scrolling container painted from the skin; ScrollBy keeps the content and the bars in step.
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

using TsPaintEvent = std::function<void(classes::TBitmap* controlBmp)>;

// FIXME: the skinned TsScrollBar is not in the engine yet; until it is, the native bars stay and the skinned
// box scrolls through them, so the bars and the content never disagree.
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

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;

private:
    int ClampedDelta(classes::TControlScrollBar* bar, int delta) const;

    std::unique_ptr<TsCommonData> FCommonData;
    std::unique_ptr<classes::TControlCanvas> FCanvas;
    bool FFullRepaint = false;
    bool FScrolling = false;
};

}
