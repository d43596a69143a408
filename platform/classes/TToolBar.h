// TToolBar and TToolButton over the native tool bar: buttons as windowless children, images, custom draw.
#pragma once

#include "platform/classes/ComCtrlsTypes.h"
#include "platform/classes/Forward.h"
#include "platform/classes/TGraphicControl.h"
#include "platform/classes/TSet.h"
#include "platform/classes/TWinControl.h"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace korvex::classes {

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
inline constexpr std::string_view ToolButtonStyleIdents[]
    = {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"};

enum TEdgeBorder { ebLeft, ebTop, ebRight, ebBottom };
using TEdgeBorders = TSet<TEdgeBorder>;
inline constexpr std::string_view EdgeBorderIdents[] = {"ebLeft", "ebTop", "ebRight", "ebBottom"};
enum TEdgeStyle { esNone, esRaised, esLowered };
inline constexpr std::string_view EdgeStyleIdents[] = {"esNone", "esRaised", "esLowered"};

enum TCustomDrawStateItem {
    cdsSelected,
    cdsGrayed,
    cdsDisabled,
    cdsChecked,
    cdsFocused,
    cdsDefault,
    cdsHot,
    cdsMarked,
    cdsIndeterminate
};
using TCustomDrawState = TSet<TCustomDrawStateItem>;
enum TTBCustomDrawFlag { tbNoEdges, tbHiliteHotTrack, tbNoOffset, tbNoMark, tbNoEtchedEffect };
using TTBCustomDrawFlags = TSet<TTBCustomDrawFlag>;

class TToolButton;
using TTBCustomDrawEvent = std::function<void(TToolBar* sender, const TRect& rect, bool& defaultDraw)>;
using TTBCustomDrawBtnEvent
    = std::function<void(TToolBar* sender, TToolButton* button, TCustomDrawState state, bool& defaultDraw)>;
using TTBAdvancedCustomDrawEvent
    = std::function<void(TToolBar* sender, const TRect& rect, TCustomDrawStage stage, bool& defaultDraw)>;
using TTBAdvancedCustomDrawBtnEvent = std::function<void(TToolBar* sender, TToolButton* button, TCustomDrawState state,
    TCustomDrawStage stage, TTBCustomDrawFlags& flags, bool& defaultDraw)>;

// A button of a tool bar. Its bounds follow the native button; the bar draws it and takes its clicks.
class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TToolBar* ToolBar() const { return FToolBar; }
    int Index() const;   // among the bar's buttons, -1 outside a bar
    TToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TToolButtonStyle value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    bool Down() const { return FDown; }
    void SetDown(bool value);   // checked (tbsCheck) or pressed; one of a group goes up
    bool Grouped() const { return FGrouped; }
    void SetGrouped(bool value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    bool Wrap() const { return FWrap; }
    void SetWrap(bool value);
    bool Indeterminate() const { return FIndeterminate; }
    void SetIndeterminate(bool value);
    bool Marked() const { return FMarked; }
    void SetMarked(bool value);
    // The menu a click on the arrow part of a tbsDropDown button pops up under the button (kept with a free
    // notification); the bar gets CN_DROPDOWNCLOSED when it closes.
    TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TPopupMenu* value);

    void SetParent(TWinControl* value) override;
    void Click() override;

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TToolBar;
    void Changed(bool layout);
    TComponent* DropdownMenuComponent() const;
    void SetDropdownMenuComponent(TComponent* value);

    TToolBar* FToolBar = nullptr;
    TToolButtonStyle FStyle = tbsButton;
    int FImageIndex = -1;
    bool FDown = false;
    bool FGrouped = false;
    bool FAllowAllUp = false;
    bool FWrap = false;
    bool FIndeterminate = false;
    bool FMarked = false;
    bool FSettingBounds = false;
    TPopupMenu* FDropdownMenu = nullptr;
};

class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    void BeforeDestruction() override;

    int ButtonCount() const { return int(FButtons.size()); }
    TToolButton* Buttons(int index) const;   // nullptr for a bad index
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int value);
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TCustomImageList* HotImages() const { return FHotImages; }
    void SetHotImages(TCustomImageList* value);
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool List() const { return FList; }
    void SetList(bool value);
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool value);
    bool Wrapable() const { return FWrapable; }
    void SetWrapable(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    int Indent() const { return FIndent; }
    void SetIndent(int value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);   // the height follows the rows of buttons
    TEdgeBorders EdgeBorders() const { return FEdgeBorders; }
    void SetEdgeBorders(TEdgeBorders value);
    TEdgeStyle EdgeInner() const { return FEdgeInner; }
    void SetEdgeInner(TEdgeStyle value);
    TEdgeStyle EdgeOuter() const { return FEdgeOuter; }
    void SetEdgeOuter(TEdgeStyle value);
    TCanvas* Canvas() const;   // the paint DC during the custom-draw events

    TTBCustomDrawEvent OnCustomDraw;
    TTBCustomDrawBtnEvent OnCustomDrawButton;
    TTBAdvancedCustomDrawEvent OnAdvancedCustomDraw;
    TTBAdvancedCustomDrawBtnEvent OnAdvancedCustomDrawButton;

    void GetChildren(const std::function<void(TComponent* child)>& proc, TComponent* root) const override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void CNDropDownClosed(TMessage& m);   // the button whose menu was open repaints

private:
    friend class TToolButton;
    void InsertButton(TToolButton* button);
    void RemoveButton(TToolButton* button);
    void RecreateButtons();   // the native buttons from FButtons
    void UpdateButton(int index);   // state, image and text of one native button
    void RepositionButtons();   // the buttons' bounds from the native ones
    bool DropDownMenu(const void* notify);   // TBN_DROPDOWN: the button's menu, true when it had one
    void UpdateImageLists();
    void SetImageList(TCustomImageList*& field, TCustomImageList* value);
    void ButtonClicked(int id);
    void CNNotify(TMessage& m);
    LRESULT CustomDraw(const void* record);
    void NCCalcSize(TMessage& m);
    void NCPaint();
    int EdgeSize(TEdgeBorder side) const;

    std::vector<TToolButton*> FButtons;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FHotImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    std::unique_ptr<TChangeLink> FImageLink;
    std::unique_ptr<TControlCanvas> FCanvas;
    int FButtonWidth = 23;
    int FButtonHeight = 22;
    bool FFlat = false;
    bool FList = false;
    bool FShowCaptions = false;
    bool FWrapable = true;
    bool FTransparent = false;
    int FIndent = 0;
    bool FAutoSize = false;
    TEdgeBorders FEdgeBorders {ebTop};
    TEdgeStyle FEdgeInner = esRaised;
    TEdgeStyle FEdgeOuter = esLowered;
    bool FUpdating = false;
};

}
