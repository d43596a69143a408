// TsRichEdit: the rich edit with a skinned frame, colours from the skin section, and two skinned scroll bars laid
// over the native ones and fed from the native scroll information.
#pragma once

#include "platform/classes/TRichEdit.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sPixelAccess.h"

#include <memory>

namespace korvex::skin {

class TsBoundLabel;
class TsCommonData;
class TsScrollBar;

class TsRichEdit : public classes::TRichEdit {
public:
    explicit TsRichEdit(classes::TComponent* owner);
    ~TsRichEdit() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;
    void Loaded() override;

    TsCommonData* SkinData() const { return FCommonData.get(); }
    TsDisabledKind DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(TsDisabledKind value);
    TsBoundLabel* BoundLabel() const { return FBoundLabel.get(); }

    // The skinned bars from the native scroll information and the text's extent: made when wanted (the rich
    // edit skinned, shown, at least 16 x 16, with scroll bars), freed when not; placed inside the frame.
    void UpdateScrolls();
    TsScrollBar* VertBar() const { return FVertBar; }   // nullptr while not wanted
    TsScrollBar* HorzBar() const { return FHorzBar; }

protected:
    void WndProc(classes::TMessage& message) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    void SkinnedMessage(classes::TMessage& message);
    void AfterMessage(const classes::TMessage& message);
    void ApplySkinColors();   // Color and the font colour (enabled or mixed for disabled) from the section
    void PrepareCache();
    void PaintFrame();
    void BarMoved(TsScrollBar* bar);

    std::unique_ptr<TsCommonData> FCommonData;
    TsDisabledKind FDisabledKind = DefaultDisabledKind;
    TsScrollBar* FVertBar = nullptr;   // owned as components; cleared in Notification
    TsScrollBar* FHorzBar = nullptr;
    bool FUpdatingScrolls = false;   // no bar sends its position while the bars are fed
    bool FSendingHorz = false;   // the horizontal bar's position is being sent
    bool FMouseDown = false;
    std::unique_ptr<TsBoundLabel> FBoundLabel;   // freed before the skin data it was made on
};

}
