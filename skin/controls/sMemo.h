// TsMemo: the multi-line edit with a skinned frame, colours in step with the skin section, and two skinned
// scroll bars laid over the native ones and fed from the native scroll information.
#pragma once

#include "platform/classes/TMemo.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sPixelAccess.h"

#include <memory>

namespace korvex::skin {

class TsBoundLabel;
class TsCommonData;
class TsScrollBar;

class TsMemo : public classes::TMemo {
public:
    explicit TsMemo(classes::TComponent* owner);
    ~TsMemo() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;
    void Loaded() override;

    TsCommonData* SkinData() const { return FCommonData.get(); }
    TsDisabledKind DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(TsDisabledKind value);
    TsBoundLabel* BoundLabel() const { return FBoundLabel.get(); }

    classes::TNotifyEvent OnVScroll;   // after WM_VSCROLL
    classes::TNotifyEvent OnScrollCaret;   // after EM_SETSEL

    // The skinned bars from the native scroll information: made when needed (the memo skinned, shown and at
    // least 16 x 16), freed when not; placed over the native bars inside the 2-pixel frame.
    void UpdateScrolls();
    TsScrollBar* VertBar() const { return FVertBar; }   // nullptr while not needed
    TsScrollBar* HorzBar() const { return FHorzBar; }

protected:
    void WndProc(classes::TMessage& message) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    void SkinnedMessage(classes::TMessage& message);
    void AfterMessage(const classes::TMessage& message);   // the scroll bars' and events' share
    void PrepareCache();
    void PaintFrame();   // strips and the gaps beside the bars onto the window DC

    std::unique_ptr<TsCommonData> FCommonData;
    TsDisabledKind FDisabledKind = DefaultDisabledKind;
    bool FMouseDown = false;
    TsScrollBar* FVertBar = nullptr;   // owned as components; cleared in Notification
    TsScrollBar* FHorzBar = nullptr;
    bool FUpdatingScrolls = false;
    std::unique_ptr<TsBoundLabel> FBoundLabel;   // freed before the skin data it was made on
};

}
