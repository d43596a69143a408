// TsStatusBar: a status bar whose background, panels, dividers, texts and size grip come from the skin.
#pragma once

#include "platform/classes/TStatusBar.h"
#include "skin/controls/sControlFrame.h"

#include <memory>
#include <string>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

class TsCommonData;

class TsStatusBar : public classes::TStatusBar {
public:
    explicit TsStatusBar(classes::TComponent* owner);
    ~TsStatusBar() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    TsCommonData* SkinData() const { return FCommonData.get(); }

    // Left edge of panel i: the widths of the panels before it, one pixel between each.
    int PanelLeft(int index) const;
    // Panel i's rectangle before shrinking: to the next panel's left edge, the last one to the bar's right edge.
    classes::TRect PanelRect(int index) const;

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    void PaintWindow(gdi::HDC dc) override;

private:
    TacFrameHooks Hooks();
    void SkinPaint(gdi::HDC dc);
    void PrepareStatusCache();
    void RenderCache();
    void PaintPanels(classes::TBitmap* cache);
    void PaintPanel(classes::TBitmap* cache, const std::string& text, classes::TRect r, classes::TAlignment alignment,
        bool last);
    void PaintGrip(classes::TBitmap* cache);
    void NCPaintSkinned();   // the border bands from the cache
    void PaintFrameNow();    // WM_NCPAINT to its own window

    std::unique_ptr<TsCommonData> FCommonData;
};

}
