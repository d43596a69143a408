// TsTreeView: the tree view with a skinned frame, colours from the skin section, two skinned scroll bars laid
// over the native ones and a bound label.
#pragma once

#include "platform/classes/TTreeView.h"
#include "skin/controls/sLabelledControl.h"

namespace korvex::skin {

class TsScrollBar;

extern template class TsLabelledControl<classes::TTreeView>;

class TsTreeView : public TsLabelledControl<classes::TTreeView> {
public:
    explicit TsTreeView(classes::TComponent* owner);
    ~TsTreeView() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;   // the border style kept and the bars too
    void Loaded() override;   // the bars and colours too

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

    classes::TFormBorderStyle FSavedBorderStyle = classes::bsSingle;
    TsScrollBar* FVertBar = nullptr;   // owned as components; cleared in Notification
    TsScrollBar* FHorzBar = nullptr;
    bool FUpdatingScrolls = false;
};

}
