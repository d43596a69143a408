// TsPageControl and TsTabSheet: a page control whose page frame and tabs come from the skin while the native tab
// control keeps layout, hit testing, keys and page switching; a skinned tab scroller stands in for the native one.
#pragma once

#include "platform/classes/TPageControl.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sFade.h"

#include <memory>
#include <string>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

class TsCommonData;
class TsPageControl;
class TsUpDown;

// Kept only so that form text with these values loads; nothing reads them.
class TsTabSkinData : public classes::TPersistent {
public:
    TsTabSkinData() = default;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool CustomColor() const { return FCustomColor; }
    void SetCustomColor(bool value) { FCustomColor = value; }
    bool CustomFont() const { return FCustomFont; }
    void SetCustomFont(bool value) { FCustomFont = value; }
    const std::string& SkinSection() const { return FSkinSection; }
    void SetSkinSection(const std::string& value) { FSkinSection = value; }

private:
    bool FCustomColor = false;
    bool FCustomFont = false;
    std::string FSkinSection;
};

// A page with no skin state of its own: it shows the part of its page control's cache that lies under it.
class TsTabSheet : public classes::TTabSheet {
public:
    explicit TsTabSheet(classes::TComponent* owner);
    ~TsTabSheet() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    TsTabSkinData* SkinData() const { return FSkinData.get(); }
    TsPageControl* SkinnedPageControl() const;   // nullptr outside a skinned page control

protected:
    void CreateParams(classes::TCreateParams& params) override;
    void WndProc(classes::TMessage& message) override;

private:
    void SkinPaint(classes::TMessage& m);

    std::unique_ptr<TsTabSkinData> FSkinData;
};

// Tab states for painting
inline constexpr int tsNormalTab = 0;
inline constexpr int tsHotTab = 1;
inline constexpr int tsActiveTab = 2;

class TsPageControl : public classes::TPageControl {
public:
    explicit TsPageControl(classes::TComponent* owner);
    ~TsPageControl() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    TsCommonData* SkinData() const { return FCommonData.get(); }
    TacAnimatEvents AnimatEvents() const { return FAnimatEvents; }
    void SetAnimatEvents(TacAnimatEvents value) { FAnimatEvents = value; }
    TsTabSheet* ActivePage() const;
    void SetActivePage(classes::TTabSheet* value);

    TsUpDown* Scroller() const { return FScroller; }   // nullptr while the tabs fit or unskinned
    int HotTab() const { return FHotTab; }   // page index of the hot tab, -1 none
    int PaintedTabCount() const { return FPaintedTabCount; }

    // Geometry in control coordinates (see the native display rectangle D).
    classes::TRect PageFrameRect() const;
    classes::TRect TabStripRect() const;
    classes::TRect NativeTabRect(int pageIndex) const;   // empty for a hidden or bad page
    // The skinned tab's rectangle (around the native one); empty for a bad index or without an active page.
    classes::TRect SkinTabRect(int pageIndex, bool active) const;
    int TabAtPoint(classes::TPoint p) const;   // page index; -1 for none
    int TabRow(int pageIndex) const;   // 1 = the row at the strip's outer edge
    int HiddenTabCount() const;   // tabs scrolled out of the strip (0 unskinned)
    int VisibleTabCount() const;

    void UpdateScroller();
    void PositionScroller();

protected:
    void Loaded() override;
    void CreateWnd() override;   // a fresh native control makes its own scroller: ours replaces it
    void WndProc(classes::TMessage& message) override;
    void UpdateActivePage() override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    friend class TsTabSheet;
    bool SkinnedNow() const;   // paintable, skinned, a loaded skin
    classes::TRect StripOrFrame(bool strip) const;
    TacFrameHooks Hooks();
    bool SkinCommand(classes::TMessage& m);   // true: used
    void ScrollerClicked();
    void FreeScroller();
    void DestroyNativeScroller();

    // Painting (sPageControl_Paint.cpp)
    struct TabSkin;
    TabSkin TabSkinOf() const;
    void PaintTab(int pageIndex, int state, classes::TPoint offset, classes::TBitmap* target);
    void PaintTabCaption(int pageIndex, int state, classes::TRect r, classes::TBitmap* target, int skinIndex);
    void PaintTabToDC(int pageIndex, int state, gdi::HDC dc);
    void PaintAllTabs(classes::TBitmap* cache);
    void RenderCache();
    void FullPaint(gdi::HDC dc);
    void PaintSingleTab(int pageIndex, int state);
    void SkinWMPaint(classes::TMessage& m);   // not the inherited WMPaint: only while skinned
    void TrackHotTab(classes::TPoint p, classes::TMessage& m);   // the inherited handling runs inside
    void LeaveHotTab();
    void ActiveChanged();   // the strip rendered and shown again with the new active tab
    void PaintFrameFromCache();   // the cache to the window, strip, active page and active tab left out

    std::unique_ptr<TsCommonData> FCommonData;
    TacAnimatEvents FAnimatEvents {aeGlobalDef};
    TsUpDown* FScroller = nullptr;   // owned as a component; cleared when it is freed
    std::string FFrameSection;
    int FPaintedTabCount = 0;
    int FHotTab = -1;
    bool FTabSizeChanging = false;
};

}
