// TsSkinProvider: the component that skins a whole form: it takes over the form's window procedure, paints
// the frame, title band, caption buttons and menu line from its form cache and hit-tests them itself.
#pragma once

#include "platform/classes/ListControlTypes.h"
#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TComponent.h"
#include "platform/classes/TForm.h"
#include "platform/user/Forward.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMenuSupport.h"
#include "skin/windows/sBorderDrag.h"
#include "skin/windows/sCaptionButtons.h"
#include "skin/windows/sFormScrollBars.h"
#include "skin/windows/sFrameGeometry.h"
#include "skin/windows/sMdiChrome.h"

#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {
class TBitmap;
class TMainMenu;
class TMenuItem;
}

namespace korvex::skin {

enum TsGripMode { gmNone, gmRightBottom };
enum TsResizeMode { rmStandard, rmBorder };

class TsGrip;
class TsMDIForm;
class TsScrollBar;
class TsSkinableMenus;
class TsSystemMenu;
class TsTitleButton;
class TsTitleButtons;
class TsTitleIcon;

// The provider routes the form's messages; the frame's measures, the caption buttons, the border drag, the MDI
// chrome and the scrolling form's bars are objects it owns, each with its own files.
class TsSkinProvider : public classes::TComponent, public SkinProviderLink, private TsFrameSource {
public:
    explicit TsSkinProvider(classes::TComponent* owner);
    ~TsSkinProvider() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    // ---- Published ----
    TsBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TsBorderIcons value);
    classes::TAlignment CaptionAlignment() const { return FCaptionAlignment; }
    void SetCaptionAlignment(classes::TAlignment value);
    TsCommonData* SkinData() const { return FSkinData.get(); }
    TsGripMode GripMode() const { return FGripMode; }
    void SetGripMode(TsGripMode value);
    bool MakeSkinMenu() const { return FMakeSkinMenu; }
    void SetMakeSkinMenu(bool value) { FMakeSkinMenu = value; }
    const std::string& MenuLineSkin() const { return FMenuLineSkin; }
    void SetMenuLineSkin(const std::string& value);
    TsResizeMode ResizeMode() const { return FResizeMode; }
    void SetResizeMode(TsResizeMode value) { FResizeMode = value; }
    bool ScreenSnap() const { return FScreenSnap; }
    void SetScreenSnap(bool value) { FScreenSnap = value; }
    int SnapBuffer() const { return FSnapBuffer; }
    void SetSnapBuffer(int value) { FSnapBuffer = value; }
    bool ShowAppIcon() const { return FShowAppIcon; }
    void SetShowAppIcon(bool value);
    const std::string& TitleSkin() const { return FTitleSkin; }
    void SetTitleSkin(const std::string& value);
    bool UseGlobalColor() const { return FUseGlobalColor; }
    void SetUseGlobalColor(bool value);
    TsTitleButtons* TitleButtons() const { return FTitleButtons.get(); }
    void SetTitleButtons(const TsTitleButtons* value);   // copied
    TsTitleIcon* TitleIcon() const { return FTitleIcon.get(); }
    void SetTitleIcon(const TsTitleIcon* value);   // copied

    // ---- The form and its procedure ----
    classes::TCustomForm* Form() const { return FForm; }
    // The replacement of the form's WindowProc; what it does not consume goes to the kept procedure.
    void NewWndProc(classes::TMessage& message);
    void ProviderMessage(classes::TMessage& message) override { NewWndProc(message); }
    void PrepareSkin();
    TsSystemMenu* SystemMenu() const { return FSystemMenu; }
    void DropSysMenu(int x, int y);   // the skin list rebuilt, then the menu at the screen point
    void DropSysMenuAtIcon();   // below the title icon
    void RefreshFormFrame();   // the whole frame rebuilt and repainted
    bool FormActive() const { return FFormActive; }
    int HotHT() const { return FCaptionButtons->HotCode(); }
    const TsCaptionButton& CaptionButton(TsCaptionButtonSlot slot) const { return FCaptionButtons->Button(slot); }

    // ---- What the provider owns ----
    const TsFrameGeometry& FrameGeometry() const { return FGeometry; }
    TsCaptionButtons& CaptionButtons() const { return *FCaptionButtons; }
    TsMdiChrome& MdiChrome() { return FMdi; }
    void ForgetMenuLines() { FPaintedState = -1; }   // the menu line's rows counted again at the next paint
    int MenuLines() const;   // the rows the menu bar wraps into (at least 1)
    void RequestFullRebuild() { FFullRebuild = true; }   // the next cache is painted whole, not from the title

    // ---- Geometry (pixels; window coordinates) ----
    int CaptionHeight() const { return FGeometry.CaptionHeight(); }
    int SysBorderWidth() const { return FGeometry.SysBorderWidth(); }
    int SysBorderHeight() const { return FGeometry.SysBorderHeight(); }
    int BorderHeight() const { return FGeometry.BorderHeight(); }   // SysBorderHeight + the form's BorderWidth
    int ButtonHeight() const { return FCaptionButtons->ButtonHeight(); }   // the close button's picture's (21 without)
    int ButtonWidth(const TsCaptionButton& button) const { return FCaptionButtons->ButtonWidth(button); }
    int FormWidth() const { return FGeometry.FormWidth(); }
    int MenuHeight() const { return FGeometry.MenuHeight(); }
    bool MenuPresent() const { return FGeometry.MenuPresent(); }
    int HeaderHeight() const { return FGeometry.HeaderHeight(); }
    int OffsetX() const { return FGeometry.OffsetX(); }
    int OffsetY() const { return FGeometry.OffsetY(); }
    classes::TPoint FormLeftTop() const { return FGeometry.FormLeftTop(); }   // screen position of the top-left
    classes::TPoint CursorToPoint(classes::TPoint screen) const { return FGeometry.CursorToPoint(screen); }
    bool IconVisible() const { return FGeometry.IconVisible(); }
    int IconWidth() const { return FGeometry.IconWidth(); }
    int IconHeight() const { return FGeometry.IconHeight(); }
    classes::TRect IconRect() const { return FGeometry.IconRect(); }
    int ButtonsWidth() const { return FCaptionButtons->TotalWidth(); }
    int VisibleButtonCount() const;   // the standard buttons shown (the user's title buttons not counted)
    std::string TitleSkinSection() const;
    // Which caption buttons exist and which commands are possible (the system menu's tests).
    bool MaxButtonVisible() const { return FCaptionButtons->MaxButtonVisible(); }
    bool MinButtonVisible() const { return FCaptionButtons->MinButtonVisible(); }
    bool CanMaximize() const { return FCaptionButtons->CanMaximize(); }
    bool CanMinimize() const { return FCaptionButtons->CanMinimize(); }
    bool CanRestore() const { return FCaptionButtons->CanRestore(); }
    // The hit codes of the visible buttons from right to left: the one list hit testing and placing share.
    std::vector<int> VisibleButtonCodes() const { return FCaptionButtons->VisibleCodes(); }
    int HitTest(classes::LPARAM screenPoint);   // the caption element under a point (signed 16-bit x, y)
    void SetHotHT(int code);
    void SetPressedHT(int code) { FCaptionButtons->SetPressed(code); }

    // ---- Own border drag (rmBorder), snapping, maximized bounds ----
    static bool InOutlineDrag() { return TsBorderDrag::InOutlineDrag(); }   // one drag at a time in the application
    static classes::TRect OutlineRect() { return TsBorderDrag::OutlineRect(); }

    // ---- Painting ----
    void PrepareCache();
    void PaintAll(gdi::HDC dc);
    void PaintSizingStrips(gdi::HDC dc);
    void PaintForm(gdi::HDC dc);
    void UpdateRgn();
    bool FormChanged() const;
    classes::TBitmap* FormCache() const { return FSkinData->CacheBmp(); }
    classes::TBitmap* MenuLineBmp() const { return FTempBmp.get(); }   // the menu line's background

    // ---- Menus ----
    TsSkinableMenus* SkinableMenus() const;   // the manager's, or nullptr
    // Hooks (true) or unhooks the form's menus: its main menu, and its popups when popups are skinned.
    void InitMenuItems(bool active);
    void RefreshMainMenu();   // the bar rebuilt and measured again in the skin's owner-draw state
    // Redraws one item of the menu line into the cache through its draw handler and onto the window.
    void RepaintMenuItem(classes::TMenuItem* item, classes::TRect rect, classes::TOwnerDrawState state);
    classes::TRect MenuItemRect(classes::TMenuItem* item) const;   // window coordinates; empty off the bar
    classes::TMenuItem* HotMenuLineItem() const;   // the bar item drawn hot while its popup is open

    // ---- A scrolling form's skinned bars (its AutoScroll as it was at creation) ----
    void UpdateFormScrolls();   // laid out again, made or freed
    TsScrollBar* VertBar() const { return FScrollBars->VertBar(); }
    TsScrollBar* HorzBar() const { return FScrollBars->HorzBar(); }
    TsGrip* Grip() const { return FScrollBars->Grip(); }

    // ---- MDI ----
    void HookMDI(bool active) { FMdi.Hook(active); }   // an MDI parent's support object made (and made known) or freed
    TsMDIForm* MDIForm() const { return FMdi.MDIForm(); }
    bool MDIButtonsNeeded() const { return FMdi.ButtonsNeeded(); }   // a maximized child's buttons on our menu line

protected:
    void Loaded() override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    struct THook;
    struct TProc;
    // The frame's source
    classes::TCustomForm* FramedForm() const override { return FForm; }
    bool FrameShowsIcon() const override { return FShowAppIcon; }
    classes::TSize FrameIconSize() const override;

    void CallOld(classes::TMessage& message);
    bool Skinned() const;
    bool FormBusy() const;   // being created or destroyed
    void UpdateIndexes();
    void TitleChanged();
    void EmptyRegion();
    void TitleCut();
    void CollectRgnRects();

    // Dispatch
    void InactiveMessage(classes::TMessage& message);
    void SkinCommand(classes::TMessage& message);
    void ActiveMessage(classes::TMessage& message);
    void RemoveSkin(classes::TMessage& message);
    void NewSkinWhileUnskinned(classes::TMessage& message);
    void FollowDefaultManager();   // its own manager is going away: the default one's skin from now on
    void TakeFormFrame();   // the form's own buttons cleared for a skin with its section, else given back
    void TellScrollBars(classes::TMessage& message);
    void WMNCPaint(classes::TMessage& message);
    void WMPrint(classes::TMessage& message);
    void WMNCActivate(classes::TMessage& message);
    void WMNCHitTest(classes::TMessage& message);
    void WMPaint(classes::TMessage& message);
    void WMSysCommand(classes::TMessage& message);
    void WMPositionChanged(classes::TMessage& message);
    void WMActivate(classes::TMessage& message);
    void WMSize(classes::TMessage& message);
    void WMGetMinMaxInfo(classes::TMessage& message);
    void PaintClientChild();
    void MeasureMenuItem(classes::TMessage& message);
    void MenuPopupOpened(user::HMENU popup);
    void MenuItemSelected(const classes::TMessage& message);
    void ShowHotMenuItem(classes::TMenuItem* item);
    void ClearHotMenuItem();
    bool CursorOnMenuLine() const;
    void ForgetHotMenuItem();
    // Caption mouse
    void WMNCLButtonDown(classes::TMessage& message);
    void WMNCLButtonUp(classes::TMessage& message);
    void WMNCLButtonDblClk(classes::TMessage& message);
    void WMNCRButton(classes::TMessage& message);
    // MDI
    bool MdiMessage(classes::TMessage& message);
    bool MdiSysCommand(classes::TMessage& message);

    // Painting steps
    void PaintTitle(classes::TBitmap* cache, const classes::TRect& formRect, bool withMenuLine);
    void PaintIcon(classes::TBitmap* cache);
    void PaintCaptionText(classes::TBitmap* cache, const classes::TRect& formRect);
    void PaintMenuLine(classes::TBitmap* cache);
    void PaintMenuItems(classes::TBitmap* cache, classes::TMainMenu* menu, int top);
    int LinesCount();
    int MenuBarItemWidth(int position) const;
    struct TMenuLinePlace {
        int X = 0;
        int Y = 0;
        int Drawn = 0;   // items of the native bar passed so far
        int NextMerged = 0;   // the merged menu's next item
        int LastMergedGroup = 0;
        bool MergedDrawn = false;
    };
    void PaintMenuLineItem(classes::TBitmap* cache, classes::TMenuItem* item, TMenuLinePlace& place);
    void PaintMDIChildMenuItems(
        classes::TBitmap* cache, classes::TMainMenu* merged, const int* upToGroup, TMenuLinePlace& place);
    void StoreTitleBand();
    void PaintClient();
    void PaintAnimChild(gdi::HDC dc);

    // Published
    TsBorderIcons FBorderIcons {classes::biSystemMenu, classes::biMinimize, classes::biMaximize};
    classes::TAlignment FCaptionAlignment = classes::taLeftJustify;
    std::unique_ptr<TsCommonData> FSkinData;
    TsGripMode FGripMode = gmNone;
    bool FMakeSkinMenu = true;
    std::string FMenuLineSkin;
    TsResizeMode FResizeMode = rmStandard;
    bool FScreenSnap = false;
    int FSnapBuffer = 10;
    bool FShowAppIcon = true;
    std::string FTitleSkin;
    bool FUseGlobalColor = true;
    std::unique_ptr<TsTitleButtons> FTitleButtons;
    std::unique_ptr<TsTitleIcon> FTitleIcon;

    // Run-time state
    std::vector<classes::TRect> FRgnRects;
    bool FRgnChanged = true;
    classes::TFormBorderStyle FFormBorderStyle = classes::bsSizeable;
    bool FFirstInit = false;
    bool FMenuInitialized = false;
    bool FRgnInUpdate = false;
    bool FFullRebuild = true;
    bool FPaintedOnce = false;
    bool FFormActive = true;
    TsSystemMenu* FSystemMenu = nullptr;   // owned as a component; made by the first PrepareSkin
    std::unique_ptr<classes::TBitmap> FTempBmp;
    std::unique_ptr<classes::TBitmap> FSavedTitle;
    classes::TCustomForm* FForm = nullptr;
    int FPaintedState = -1;
    std::shared_ptr<THook> FHook;

    // Made with the provider and freed with it
    TsFrameGeometry FGeometry {*this};
    std::unique_ptr<TsCaptionButtons> FCaptionButtons;
    TsBorderDrag FBorderDrag {*this};
    TsMdiChrome FMdi {*this};
    std::unique_ptr<TsFormScrollBars> FScrollBars;
};

// The provider of the application's MDI parent (made known by its HookMDI), or nullptr.
TsSkinProvider* MDISkinProvider();
// An MDI child created while the active one is maximized waits for its first paint to be maximized; the
// parent's window is locked meanwhile (released at the latest when that child is shown or destroyed).
bool MaximizePending();
bool MaximizeLockHeld();

// The position of an item on the native menu, which leaves hidden items out; -1 when it is hidden or has no parent.
int MenuBarPosition(const classes::TMenuItem* item);

// The provider of the form that holds a control (SMC_GETPROVIDER to it), or nullptr.
TsSkinProvider* GetSkinProvider(classes::TControl* control);

// A mouse position from LParam: signed 16-bit x and y (a monitor left of or above the primary one gives
// negative ones).
classes::TPoint PointFromLParam(classes::LPARAM lParam);

// When |pos + size - edge| < buffer, pos := edge - size.
void SnapToEdge(int& pos, int edge, int size, int buffer);

// True between a press on a caption element and its release (shared by every form).
bool CaptionButtonDown();

}
