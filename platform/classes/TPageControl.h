// TCustomTabControl, TPageControl and TTabSheet over the native tab control: pages shown one at a time by tab.
#pragma once

#include "platform/classes/Forward.h"
#include "platform/classes/TCommonControl.h"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace korvex::classes {

class TCustomTabControl;
class TPageControl;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
inline constexpr std::string_view TabPositionIdents[] = {"tpTop", "tpBottom", "tpLeft", "tpRight"};
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
inline constexpr std::string_view TabStyleIdents[] = {"tsTabs", "tsButtons", "tsFlatButtons"};

using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;
using TDrawTabEvent = std::function<void(TCustomTabControl* control, int tabIndex, const TRect& rect, bool active)>;

// The tab strip: where the tabs are, how they look, which is selected. A user's change of tab asks
// OnChanging (which may refuse it) and then reports OnChange; TabIndex set by the program reports nothing.
class TCustomTabControl : public TCommonControl {
public:
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition value);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle value);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    int TabHeight() const { return FTabHeight; }   // 0: from the font
    void SetTabHeight(int value);
    int TabWidth() const { return FTabWidth; }   // 0: each tab as wide as its caption
    void SetTabWidth(int value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int TabIndex() const;   // -1: none
    void SetTabIndex(int value);

    int TabCount() const;
    TRect TabRect(int index) const;   // empty for a bad index or without a window
    int IndexOfTabAt(int x, int y) const;   // -1 when no tab is there
    int RowCount() const;
    TRect DisplayRect() const;   // where the pages go, in client coordinates

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TDrawTabEvent OnDrawTab;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void CNNotify(TMessage& m) override;
    void CNDrawItem(TMessage& m) override;
    void AdjustClientRect(TRect& rect) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual bool CanChange();   // OnChanging
    virtual void Change();   // OnChange
    virtual void DrawTab(int tabIndex, const TRect& rect, bool active);
    // The tabs to show: descendants fill the native control here (the window is being made or they changed).
    virtual void UpdateTabs() { }
    void ClearTabs();
    void AddTab(const std::string& caption, int imageIndex);
    void SelectTab(int index);   // the native selection, without notifications

private:
    void SetItemSize();
    void ImageListChange(TObject* sender);

    TTabPosition FTabPosition = tpTop;
    TTabStyle FStyle = tsTabs;
    bool FHotTrack = false;
    bool FMultiLine = false;
    bool FOwnerDraw = false;
    int FTabHeight = 0;
    int FTabWidth = 0;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TChangeLink> FImageLink;
    mutable int FTabIndex = -1;
};

// A page of a page control: its children show while it is the active page.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* value);   // as SetParent
    int PageIndex() const;   // -1 outside a page control
    void SetPageIndex(int value);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    int TabIndex() const;   // among the visible tabs; -1 when its tab is hidden
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);

    void SetParent(TWinControl* value) override;
    void SetParentComponent(TComponent* value) override;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    void WndProc(TMessage& message) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = 0;
};

// Tabs for the sheets whose TabVisible is set, in page order; the active page is shown, the others hidden.
class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    void BeforeDestruction() override;

    int PageCount() const { return int(FPages.size()); }
    TTabSheet* Pages(int index) const;   // nullptr for a bad index
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* value);   // a sheet of another control is ignored
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    // The page after (or before) current, wrapping around; with checkTabVisible only pages with a tab.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
    void SelectNextPage(bool goForward);   // as the user would: OnChanging, then OnChange

    void GetChildren(const std::function<void(TComponent* child)>& proc, TComponent* root) const override;

protected:
    void Change() override;
    void UpdateTabs() override;
    // Makes the page of the selected tab the active page (after the user changed the tab).
    virtual void UpdateActivePage();
    void CMDialogKey(TMessage& m) override;
    void Loaded() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void ForgetPages();   // the sheets no longer know the control
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void PageChanged(TTabSheet* page);   // caption, image or tab visibility
    bool ChangeActivePage(TTabSheet* page);   // false when a sheet's handler freed the control or the page
    TTabSheet* PageForTab(int tabIndex) const;

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};

}
