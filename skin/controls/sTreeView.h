// TsTreeView: the tree view with a skinned frame, colours from the skin section, two skinned scroll bars laid
// over the native ones and a bound label.
#pragma once

#include "platform/classes/TTreeView.h"

#include <memory>

namespace korvex::skin {

class TsBoundLabel;
class TsCommonData;
class TsScrollBar;

inline constexpr int ckTreeView = 96;

class TsTreeView : public classes::TTreeView {
public:
    explicit TsTreeView(classes::TComponent* owner);
    ~TsTreeView() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;
    void Loaded() override;

    TsCommonData* SkinData() const { return FCommonData.get(); }
    TsBoundLabel* BoundLabel() const { return FBoundLabel.get(); }

    // The skinned bars from the native scroll information: needed while skinned, visible and at least 16 x 16
    // and the native range is larger than a page; placed inside the frame (BorderWidth + 3).
    void UpdateScrolls();
    TsScrollBar* VertBar() const { return FVertBar; }   // nullptr until needed
    TsScrollBar* HorzBar() const { return FHorzBar; }

protected:
    void WndProc(classes::TMessage& message) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;
    void WMNCCalcSize(classes::TMessage& message) override;   // skinned: the frame's 3 pixels (1 with a border)

private:
    void SkinnedMessage(classes::TMessage& message);
    void PrepareCache();
    void PaintFrame(gdi::HDC given);
    int FrameWidth() const;   // the painted strips
    void PlaceBars(bool vertical, bool horizontal);
    void Repaint3();   // BGChanged, repaint, UpdateScrolls

    std::unique_ptr<TsCommonData> FCommonData;
    classes::TFormBorderStyle FSavedBorderStyle = classes::bsSingle;
    TsScrollBar* FVertBar = nullptr;   // owned as components; cleared in Notification
    TsScrollBar* FHorzBar = nullptr;
    bool FUpdatingScrolls = false;
    std::unique_ptr<TsBoundLabel> FBoundLabel;   // freed before the skin data it was made on
};

}
