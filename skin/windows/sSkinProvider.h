// TsSkinProvider: the component that skins a whole form: it takes over the form's window procedure, paints
// the frame, title band, caption buttons and menu line from its form cache and hit-tests them itself.
#pragma once

#include "platform/classes/ListControlTypes.h"
#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TComponent.h"
#include "platform/classes/TForm.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMenuSupport.h"
#include "platform/user/Forward.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {
class TBitmap;
class TMenuItem;
}

namespace korvex::skin {

using TsBorderIcon = classes::TBorderIcon;
using TsBorderIcons = classes::TBorderIcons;
enum TsGripMode { gmNone, gmRightBottom };
enum TsResizeMode { rmStandard, rmBorder };

// Hit codes of the caption elements; where Windows has a hit-test value the number is the same.
inline constexpr int htNone = 0;
inline constexpr int htCaption = 2;
inline constexpr int htTitleIcon = 3;
inline constexpr int htMinimize = 8;
inline constexpr int htMaximize = 9;
inline constexpr int htGrip = 17;
inline constexpr int htClose = 20;
inline constexpr int htHelp = 21;
inline constexpr int htMdiClose = 101;
inline constexpr int htMdiRestore = 102;
inline constexpr int htMdiMinimize = 103;
inline constexpr int htTitleButton = 1000;   // + the user title button's index
inline constexpr int htOutside = -1;   // a maximized form's point outside (2, 2)-(Width - 4, Height - 4)

// One caption button: its look, its picture and where it lies (window coordinates).
struct TsCaptionButton {
    int State = 0;   // 0 normal, 1 hot, 2 pressed
    int MaskIndex = -1;
    classes::TRect Rect {};
};

// The records, in the provider's order.
enum TsCaptionButtonSlot { cbMinimize, cbMaximize, cbClose, cbHelp, cbMdiMinimize, cbMdiMaximize, cbMdiClose };

class TsGrip;
class TsMDIForm;
class TsScrollBar;
class TsSkinableMenus;
class TsSystemMenu;
class TsTitleButton;
class TsTitleButtons;
class TsTitleIcon;

class TsSkinProvider : public classes::TComponent, public SkinProviderLink {
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
    void DropSysMenuAtIcon();   // below the title icon   // system menu, the form's border icons cleared once, indexes, masks, colour
    void RefreshFormFrame();   // the whole frame rebuilt and repainted
    bool FormActive() const { return FFormActive; }
    int HotHT() const { return FHotHT; }
    const TsCaptionButton& CaptionButton(TsCaptionButtonSlot slot) const { return FButtons[slot]; }

    // ---- Geometry (pixels; window coordinates) ----
    int CaptionHeight() const;
    int SysBorderWidth() const;
    int SysBorderHeight() const;
    int BorderHeight() const;   // SysBorderHeight + the form's BorderWidth
    int ButtonHeight() const;   // of the close button's picture (21 without one)
    int ButtonWidth(const TsCaptionButton& button) const;
    int FormWidth() const;
    int MenuHeight() const;
    bool MenuPresent() const;
    int HeaderHeight() const;
    int OffsetX() const;
    int OffsetY() const;
    classes::TPoint FormLeftTop() const;   // screen position of the window's top-left corner
    classes::TPoint CursorToPoint(classes::TPoint screen) const;
    bool IconVisible() const;
    int IconWidth() const;
    int IconHeight() const;
    classes::TRect IconRect() const;
    int ButtonsWidth() const;
    int VisibleButtonCount() const;
    std::string TitleSkinSection() const;
    // Which caption buttons exist and which commands are possible (the system menu's tests).
    bool MaxButtonVisible() const;
    bool MinButtonVisible() const;
    bool CanMaximize() const;
    bool CanMinimize() const;
    bool CanRestore() const;
    // The caption buttons the form allows: the provider's BorderIcons less the system menu, minimize and
    // maximize boxes the form itself has not (a form without a maximize box gets no skinned one either).
    TsBorderIcons ShownBorderIcons() const;
    // The hit codes of the visible buttons from right to left: the one list hit testing and placing share.
    std::vector<int> VisibleButtonCodes() const;
    int ButtonIndexAt(int x) const;   // 1-based in VisibleButtonCodes' order; 0 on none
    int HitTest(classes::LPARAM screenPoint);   // the caption element under a point (signed 16-bit x, y)
    void SetHotHT(int code);
    void SetPressedHT(int code);

    // ---- Own border drag (rmBorder), snapping, maximized bounds ----
    void StartMove(int x, int y);   // the outline drawn at the form; nothing unless rmBorder
    void StopMove();   // the outline erased, the form moved or sized once
    void DrawFormBorder(int x, int y);
    static bool InOutlineDrag();   // one drag at a time for the whole application

    // ---- Painting ----
    void PrepareCache();
    void PaintAll(gdi::HDC dc);
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
    TsScrollBar* VertBar() const { return FVertBar; }
    TsScrollBar* HorzBar() const { return FHorzBar; }
    TsGrip* Grip() const { return FGrip; }

    // ---- MDI ----
    void HookMDI(bool active);   // an MDI parent's support object made (and the parent made known) or freed
    TsMDIForm* MDIForm() const { return FMDIForm.get(); }
    bool MDIButtonsNeeded() const;   // a maximized active child's buttons on this parent's menu line

protected:
    void Loaded() override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    struct THook;
    struct TProc;
    void CallOld(classes::TMessage& message);
    bool Skinned() const;
    bool HasBorder() const;
    bool FormBusy() const;   // being created or destroyed
    bool Iconic() const;
    bool Maximized() const;
    void UpdateIndexes();
    void UpdateIconsIndexes();
    TsCaptionButton* ButtonOfCode(int code);
    void EmptyRegion();
    void TitleCut();
    void CollectRgnRects();

    // Dispatch
    void InactiveMessage(classes::TMessage& message);
    void SkinCommand(classes::TMessage& message);
    void ActiveMessage(classes::TMessage& message);
    void RemoveSkin(classes::TMessage& message);
    void NewSkinWhileUnskinned(classes::TMessage& message);
    void WMNCPaint(classes::TMessage& message);
    void WMPrint(classes::TMessage& message);
    void WMNCActivate(classes::TMessage& message);
    void WMNCHitTest(classes::TMessage& message);
    void WMPaint(classes::TMessage& message);
    void WMSysCommand(classes::TMessage& message);
    void WMPositionChanged(classes::TMessage& message);
    void WMActivate(classes::TMessage& message);
    void WMSize(classes::TMessage& message);
    void MeasureMenuItem(classes::TMessage& message);
    void MenuPopupOpened(user::HMENU popup);
    void ClearHotMenuItem();
    bool CursorOnMenuLine() const;
    void ForgetHotMenuItem();
    // Caption mouse
    void WMNCLButtonDown(classes::TMessage& message);
    void WMNCLButtonUp(classes::TMessage& message);
    void WMNCLButtonDblClk(classes::TMessage& message);
    void WMNCRButton(classes::TMessage& message);
    // Own border drag
    bool StartBorderDrag(classes::TMessage& message);
    bool BorderSysCommand(classes::TMessage& message);
    void DragMouseMove(classes::TMessage& message);
    bool EndBorderDrag(classes::TMessage& message);
    void CancelBorderDrag();
    void LatchDragBorder(int hitCode);
    void SnapPosition(user::WINDOWPOS& pos) const;
    void WMGetMinMaxInfo(classes::TMessage& message);
    void RepaintButton(int code);
    // User title buttons (hit codes htTitleButton + index)
    TsTitleButton* TitleButtonOfCode(int code) const;
    int UserButtonWidth(const TsTitleButton* button) const;
    int WidthOfCode(int code) const;
    void UpdateTitleButtonMasks();
    void PaintUserButton(classes::TBitmap* cache, TsTitleButton* button);
    bool TitleButtonDown(int code, classes::LPARAM screenPoint);
    bool TitleButtonUp(int code, classes::LPARAM screenPoint);

    // Scrolling form
    struct TScrollDescription;
    bool IsScrollPart(const classes::TControl* control) const;
    int ContentExtent(bool vertical) const;
    TScrollDescription DescribeScroll(bool vertical);
    bool LayFormScrolls();   // true when a bar was made
    TsScrollBar* MakeFormBar(bool vertical);
    void FreeFormBar(bool vertical);
    void ResetScroll(bool vertical);
    void FormBarChanged(TsScrollBar* bar, int previous, bool vertical);
    void ScrollControls(int dx, int dy);
    bool FormWheel(classes::TMessage& message);

    // MDI
    bool IsMdiChild() const;
    bool IsMdiParent() const;
    void ConnectMdi();
    void MaximizeIfPending();
    void ReleaseMdi();
    bool MdiMessage(classes::TMessage& message);
    bool MdiSysCommand(classes::TMessage& message);
    void MdiChildActivated();
    void MdiChildGone();
    bool HiddenByMaximizedSibling() const;
    void RepaintMDIParent();
    classes::TSize MDIButtonSize() const;
    void PlaceMDIButtons();
    int MdiButtonMask(int code);
    void PaintMDIButton(classes::TBitmap* cache, int code);
    void PaintMDIButtons(classes::TBitmap* cache);
    void RepaintMDIButton(classes::TBitmap* cache, int code);
    int MdiHitTest(classes::TPoint p);   // -1 without the buttons, 0 off them
    bool MdiButtonUp(int code);
    void PaintMDIArea(classes::TBitmap* cache);

    // Painting steps
    void PlaceButtons();
    void PaintTitle(classes::TBitmap* cache, const classes::TRect& formRect);
    void PaintBorderIcons(classes::TBitmap* cache);
    void PaintIcon(classes::TBitmap* cache);
    void PaintCaptionText(classes::TBitmap* cache, const classes::TRect& formRect);
    void PaintMenuLine(classes::TBitmap* cache);
    int LinesCount();
    void StoreTitleBand();
    void PaintClient();

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
    bool FFormAutoScroll = false;
    int FHotHT = 0;
    std::unique_ptr<classes::TBitmap> FTitleBackground;
    classes::TFormBorderStyle FFormBorderStyle = classes::bsSizeable;
    bool FFirstInit = false;
    bool FMenuInitialized = false;
    std::array<TsCaptionButton, 7> FButtons {};
    int FTitleButtonMask = -1;
    TsBorderIcons FSavedBorderIcons;
    bool FRgnInUpdate = false;
    bool FFullRebuild = true;
    bool FPaintedOnce = false;
    bool FFormActive = true;
    bool FStartingDrag = false;   // the move or size command comes from the provider's own press
    TsSystemMenu* FSystemMenu = nullptr;   // owned as a component; made by the first PrepareSkin
    std::unique_ptr<classes::TBitmap> FTempBmp;
    std::unique_ptr<classes::TBitmap> FSavedTitle;
    classes::TCustomForm* FForm = nullptr;
    int FPaintedState = -1;
    std::shared_ptr<THook> FHook;
    std::unique_ptr<TsMDIForm> FMDIForm;
    TsScrollBar* FVertBar = nullptr;   // the form's components; cleared in Notification
    TsScrollBar* FHorzBar = nullptr;
    TsGrip* FGrip = nullptr;   // ours
    int FScrollOffsetV = 0;   // how far the controls have been moved (0 at rest)
    int FScrollOffsetH = 0;
    bool FScrolling = false;   // laying the bars out
    bool FScrollGuard = false;   // moving the controls
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
