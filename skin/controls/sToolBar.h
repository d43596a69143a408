// TsToolBar: a tool bar drawn through its custom-draw stages: the background from the cache, every tool button
// in the "TOOLBUTTON" section with its caption, glyph, drop-down part and disabled look.
#pragma once

#include "platform/classes/TToolBar.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sPixelAccess.h"

#include <memory>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

class TsCommonData;

class TsToolBar : public classes::TToolBar {
public:
    explicit TsToolBar(classes::TComponent* owner);
    ~TsToolBar() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    TsCommonData* SkinData() const { return FCommonData.get(); }
    TsDisabledKind BtnDisabledKind() const { return FBtnDisabledKind; }
    void SetBtnDisabledKind(TsDisabledKind value);   // repaints when changed
    int HotButton() const { return FHotButton; }   // under the mouse on a bar that is not flat; -1 none
    classes::TToolButton* DropDownButton() const { return FDropDownButton; }   // its drop-down is open

    classes::TRect ButtonRect(int index) const;   // the native button's rectangle in the client area
    // The button under a client point; -1 for none, a separator or a divider.
    int ButtonAtPoint(classes::TPoint p) const;
    void RepaintButton(int index);   // draws it at once over the cache; nothing for a bad index

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    void InstallHandlers();
    void BackgroundDraw(const classes::TRect& rect, classes::TCustomDrawStage stage, bool& defaultDraw);
    void ButtonDraw(classes::TToolButton* button, classes::TCustomDrawState state, classes::TCustomDrawStage stage,
        classes::TTBCustomDrawFlags& flags, bool& defaultDraw);
    void PaintButton(classes::TToolButton* button, classes::TCustomDrawState state, gdi::HDC target);
    void CopyCache(gdi::HDC dc, const classes::TRect& rect);
    void NCPaintSkinned();
    classes::TPoint EdgeOffset() const;   // the client area's origin inside the window
    void MouseMoved(classes::TPoint p);
    void MouseLeft();
    void DropDownClosed();

    std::unique_ptr<TsCommonData> FCommonData;
    TsDisabledKind FBtnDisabledKind = DefaultDisabledKind;
    int FHotButton = -1;
    classes::TToolButton* FDropDownButton = nullptr;
};

}
