// TToolBar over the native tool bar: the buttons, images, edges, clicks and the custom-draw events.
#include "platform/classes/TToolBar.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TMenu.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/ToolBar.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

namespace {

constexpr int FirstButtonId = 1;   // native command ids are the button index plus this

TCustomDrawState DrawState(UINT itemState) {
    TCustomDrawState state;
    if (itemState & CDIS_SELECTED) state.Include(cdsSelected);
    if (itemState & CDIS_GRAYED) state.Include(cdsGrayed);
    if (itemState & CDIS_DISABLED) state.Include(cdsDisabled);
    if (itemState & CDIS_CHECKED) state.Include(cdsChecked);
    if (itemState & CDIS_FOCUS) state.Include(cdsFocused);
    if (itemState & CDIS_DEFAULT) state.Include(cdsDefault);
    if (itemState & CDIS_HOT) state.Include(cdsHot);
    if (itemState & CDIS_MARKED) state.Include(cdsMarked);
    if (itemState & CDIS_INDETERMINATE) state.Include(cdsIndeterminate);
    return state;
}

LRESULT FlagsAnswer(TTBCustomDrawFlags flags) {
    LRESULT answer = 0;
    if (flags.Contains(tbNoEdges)) answer |= TBCDRF_NOEDGES;
    if (flags.Contains(tbHiliteHotTrack)) answer |= TBCDRF_HILITEHOTTRACK;
    if (flags.Contains(tbNoOffset)) answer |= TBCDRF_NOOFFSET;
    if (flags.Contains(tbNoMark)) answer |= TBCDRF_NOMARK;
    if (flags.Contains(tbNoEtchedEffect)) answer |= TBCDRF_NOETCHEDEFFECT;
    return answer;
}

TCustomDrawStage StageOf(DWORD drawStage) {
    switch (drawStage & ~CDDS_ITEM) {
    case CDDS_POSTPAINT:
        return cdPostPaint;
    case CDDS_PREERASE:
        return cdPreErase;
    case CDDS_POSTERASE:
        return cdPostErase;
    default:
        return cdPrePaint;
    }
}

}   // namespace

TToolBar::TToolBar(TComponent* owner)
    : TWinControl(owner)
    , FImageLink(std::make_unique<TChangeLink>())
    , FCanvas(std::make_unique<TControlCanvas>(this)) {
    RegisterCommonControlClasses();
    FImageLink->OnChange = [this](TObject*) { UpdateImageLists(); };
    FControlStyle = TControlStyle {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csMenuEvents};
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 150, 29);
    SetAlign(alTop);
}

TToolBar::~TToolBar() {
    for (TCustomImageList* list : {FImages, FHotImages, FDisabledImages})
        if (list != nullptr) list->UnRegisterChanges(FImageLink.get());
}

void TToolBar::BeforeDestruction() {
    for (TToolButton* button : FButtons)
        button->FToolBar = nullptr;
    FButtons.clear();
    TWinControl::BeforeDestruction();
}

TClass TToolBar::StaticClass() {
    static const TClassInfo info = MakeClass<TToolBar, TWinControl>("TToolBar", [](auto& p) {
        p.Enum("Align", &TToolBar::Align, &TToolBar::SetAlign, AlignIdents, alTop);
        p.Bool("AutoSize", &TToolBar::AutoSize, &TToolBar::SetAutoSize, false);
        p.Int("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight, 22);
        p.Int("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth, 23);
        p.Color("Color", &TToolBar::Color, &TToolBar::SetColor, clBtnFace);
        p.Component("DisabledImages", &TToolBar::DisabledImages, &TToolBar::SetDisabledImages);
        p.Set("EdgeBorders", &TToolBar::EdgeBorders, &TToolBar::SetEdgeBorders, EdgeBorderIdents, TEdgeBorders {ebTop});
        p.Enum("EdgeInner", &TToolBar::EdgeInner, &TToolBar::SetEdgeInner, EdgeStyleIdents, esRaised);
        p.Enum("EdgeOuter", &TToolBar::EdgeOuter, &TToolBar::SetEdgeOuter, EdgeStyleIdents, esLowered);
        p.Bool("Flat", &TToolBar::Flat, &TToolBar::SetFlat, false);
        p.Component("HotImages", &TToolBar::HotImages, &TToolBar::SetHotImages);
        p.Component("Images", &TToolBar::Images, &TToolBar::SetImages);
        p.Int("Indent", &TToolBar::Indent, &TToolBar::SetIndent, 0);
        p.Bool("List", &TToolBar::List, &TToolBar::SetList, false);
        p.Bool("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions, false);
        p.Bool("Transparent", &TToolBar::Transparent, &TToolBar::SetTransparent, false);
        p.Bool("Wrapable", &TToolBar::Wrapable, &TToolBar::SetWrapable, true);
        p.Event("OnAdvancedCustomDraw", &TToolBar::OnAdvancedCustomDraw);
        p.Event("OnAdvancedCustomDrawButton", &TToolBar::OnAdvancedCustomDrawButton);
        p.Event("OnCustomDraw", &TToolBar::OnCustomDraw);
        p.Event("OnCustomDrawButton", &TToolBar::OnCustomDrawButton);
    });
    return &info;
}

TToolButton* TToolBar::Buttons(int index) const {
    return index >= 0 && index < ButtonCount() ? FButtons[size_t(index)] : nullptr;
}

TCanvas* TToolBar::Canvas() const {
    return FCanvas.get();
}

void TToolBar::GetChildren(const std::function<void(TComponent* child)>& proc, TComponent* root) const {
    for (TToolButton* button : FButtons)
        if (button->Owner() == root) proc(button);
}

void TToolBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, TOOLBARCLASSNAME);
    // The library places the bar; the edges are drawn around the client area by the bar itself.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_CUSTOMERASE;
    if (FFlat) params.Style |= TBSTYLE_FLAT;
    if (FList) params.Style |= TBSTYLE_LIST;
    if (FWrapable) params.Style |= TBSTYLE_WRAPABLE;
    if (FTransparent) params.Style |= TBSTYLE_TRANSPARENT;
}

void TToolBar::CreateWnd() {
    TWinControl::CreateWnd();
    HWND h = WindowHandle();
    SendMessage(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessage(h, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    SendMessage(h, TB_SETINDENT, WPARAM(FIndent), 0);
    UpdateImageLists();
    RecreateButtons();
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TToolBar::Loaded() {
    TWinControl::Loaded();
    RecreateButtons();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    // A list being freed forgets the link itself: only the pointers go.
    bool changed = false;
    for (TCustomImageList** list : {&FImages, &FHotImages, &FDisabledImages})
        if (*list == component) {
            *list = nullptr;
            changed = true;
        }
    if (changed) UpdateImageLists();
}

// ---------------------------------------------------------------------------------------------------------
// Buttons

void TToolBar::InsertButton(TToolButton* button) {
    FButtons.push_back(button);
    RecreateButtons();
}

void TToolBar::RemoveButton(TToolButton* button) {
    auto it = std::find(FButtons.begin(), FButtons.end(), button);
    if (it == FButtons.end()) return;
    FButtons.erase(it);
    RecreateButtons();
}

void TToolBar::RecreateButtons() {
    if (!HandleAllocated() || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
    HWND h = WindowHandle();
    FUpdating = true;
    while (SendMessage(h, TB_BUTTONCOUNT, 0, 0) > 0)
        SendMessage(h, TB_DELETEBUTTON, 0, 0);
    SendMessage(h, TB_SETBUTTONSIZE, 0, MAKELPARAM(FButtonWidth, FButtonHeight));
    std::vector<TBBUTTON> native;
    for (size_t i = 0; i < FButtons.size(); ++i) {
        TBBUTTON b;
        b.idCommand = int(i) + FirstButtonId;
        native.push_back(b);
    }
    if (!native.empty()) SendMessage(h, TB_ADDBUTTONS, native.size(), reinterpret_cast<LPARAM>(native.data()));
    for (int i = 0; i < ButtonCount(); ++i)
        UpdateButton(i);
    FUpdating = false;
    RepositionButtons();
}

void TToolBar::UpdateButton(int index) {
    if (!HandleAllocated() || index < 0 || index >= ButtonCount()) return;
    const TToolButton* button = FButtons[size_t(index)];
    TBBUTTONINFO info;
    info.dwMask = TBIF_BYINDEX | TBIF_IMAGE | TBIF_STATE | TBIF_STYLE | TBIF_TEXT | TBIF_SIZE;
    bool separator = button->Style() == tbsSeparator || button->Style() == tbsDivider;
    info.fsStyle = separator             ? BTNS_SEP
        : button->Style() == tbsCheck    ? (button->Grouped() ? BTNS_CHECKGROUP : BTNS_CHECK)
        : button->Style() == tbsDropDown ? BTNS_DROPDOWN
                                         : BTNS_BUTTON;
    info.iImage = separator ? button->Width() : button->ImageIndex();
    info.cx = separator ? WORD(std::max(0, button->Width())) : 0;
    BYTE state = 0;
    if (button->Enabled()) state |= TBSTATE_ENABLED;
    if (!button->Visible()) state |= TBSTATE_HIDDEN;
    if (button->Wrap()) state |= TBSTATE_WRAP;
    if (button->Indeterminate()) state |= TBSTATE_INDETERMINATE;
    if (button->Marked()) state |= TBSTATE_MARKED;
    if (button->Down()) state |= button->Style() == tbsCheck ? TBSTATE_CHECKED : TBSTATE_PRESSED;
    info.fsState = state;
    std::string text = FShowCaptions && !separator ? button->Caption() : std::string();
    info.pszText = text.data();
    SendMessage(WindowHandle(), TB_SETBUTTONINFO, WPARAM(index), reinterpret_cast<LPARAM>(&info));
    if (!FUpdating) RepositionButtons();
}

void TToolBar::RepositionButtons() {
    if (!HandleAllocated() || FUpdating) return;
    FUpdating = true;
    int bottom = 0;
    for (int i = 0; i < ButtonCount(); ++i) {
        TRect r {};
        TToolButton* button = FButtons[size_t(i)];
        if (!SendMessage(WindowHandle(), TB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r))) continue;
        bottom = std::max<int>(bottom, r.bottom);
        button->FSettingBounds = true;
        button->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        button->FSettingBounds = false;
    }
    FUpdating = false;
    if (FAutoSize && !FButtons.empty()) {
        int height = bottom + EdgeSize(ebTop) + EdgeSize(ebBottom);
        if (height != Height()) SetBounds(Left(), Top(), Width(), height);
    }
}

void TToolBar::ButtonClicked(int id) {
    TToolButton* button = Buttons(id - FirstButtonId);
    if (button == nullptr) return;
    if (button->Style() == tbsCheck) {
        // The native bar keeps the group: take every button's checked state back from it.
        for (int i = 0; i < ButtonCount(); ++i)
            if (FButtons[size_t(i)]->Style() == tbsCheck)
                FButtons[size_t(i)]->FDown
                    = SendMessage(WindowHandle(), TB_ISBUTTONCHECKED, WPARAM(i + FirstButtonId), 0) != 0;
        if (button->Grouped() && !button->Down() && !button->AllowAllUp()) button->SetDown(true);
    }
    button->Click();
}

// ---------------------------------------------------------------------------------------------------------
// Properties

void TToolBar::SetButtonWidth(int value) {
    if (value == FButtonWidth) return;
    FButtonWidth = value;
    RecreateButtons();
}

void TToolBar::SetButtonHeight(int value) {
    if (value == FButtonHeight) return;
    FButtonHeight = value;
    RecreateButtons();
}

void TToolBar::SetImageList(TCustomImageList*& field, TCustomImageList* value) {
    if (value == field) return;
    if (field != nullptr) {
        field->UnRegisterChanges(FImageLink.get());
        field->RemoveFreeNotification(this);
    }
    field = value;
    if (field != nullptr) {
        field->RegisterChanges(FImageLink.get());
        field->FreeNotification(this);
    }
    UpdateImageLists();
}

void TToolBar::SetImages(TCustomImageList* value) {
    SetImageList(FImages, value);
}

void TToolBar::SetHotImages(TCustomImageList* value) {
    SetImageList(FHotImages, value);
}

void TToolBar::SetDisabledImages(TCustomImageList* value) {
    SetImageList(FDisabledImages, value);
}

void TToolBar::UpdateImageLists() {
    if (!HandleAllocated()) return;
    auto handle = [](TCustomImageList* list) { return reinterpret_cast<LPARAM>(list ? list->Handle() : nullptr); };
    HWND h = WindowHandle();
    SendMessage(h, TB_SETIMAGELIST, 0, handle(FImages));
    SendMessage(h, TB_SETHOTIMAGELIST, 0, handle(FHotImages));
    SendMessage(h, TB_SETDISABLEDIMAGELIST, 0, handle(FDisabledImages));
    RepositionButtons();
    Invalidate();
}

void TToolBar::SetFlat(bool value) {
    if (value == FFlat) return;
    FFlat = value;
    RecreateWnd();
}

void TToolBar::SetList(bool value) {
    if (value == FList) return;
    FList = value;
    RecreateWnd();
}

void TToolBar::SetShowCaptions(bool value) {
    if (value == FShowCaptions) return;
    FShowCaptions = value;
    RecreateButtons();
}

void TToolBar::SetWrapable(bool value) {
    if (value == FWrapable) return;
    FWrapable = value;
    RecreateWnd();
}

void TToolBar::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    RecreateWnd();
}

void TToolBar::SetIndent(int value) {
    if (value == FIndent) return;
    FIndent = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), TB_SETINDENT, WPARAM(value), 0);
    RepositionButtons();
}

void TToolBar::SetAutoSize(bool value) {
    if (value == FAutoSize) return;
    FAutoSize = value;
    RepositionButtons();
}

void TToolBar::SetEdgeBorders(TEdgeBorders value) {
    if (value == FEdgeBorders) return;
    FEdgeBorders = value;
    RecreateWnd();
}

void TToolBar::SetEdgeInner(TEdgeStyle value) {
    if (value == FEdgeInner) return;
    FEdgeInner = value;
    RecreateWnd();
}

void TToolBar::SetEdgeOuter(TEdgeStyle value) {
    if (value == FEdgeOuter) return;
    FEdgeOuter = value;
    RecreateWnd();
}

// ---------------------------------------------------------------------------------------------------------
// Edges, notifications and custom draw

int TToolBar::EdgeSize(TEdgeBorder side) const {
    if (!FEdgeBorders.Contains(side)) return 0;
    return (FEdgeInner != esNone ? 1 : 0) + (FEdgeOuter != esNone ? 1 : 0);
}

void TToolBar::NCCalcSize(TMessage& m) {
    auto* r = reinterpret_cast<RECT*>(m.LParam);
    if (r == nullptr) return;
    // The first rectangle of NCCALCSIZE_PARAMS and a bare RECT start at the same place.
    r->left += EdgeSize(ebLeft);
    r->top += EdgeSize(ebTop);
    r->right -= EdgeSize(ebRight);
    r->bottom -= EdgeSize(ebBottom);
    if (r->right < r->left) r->right = r->left;
    if (r->bottom < r->top) r->bottom = r->top;
}

void TToolBar::NCPaint() {
    HDC dc = GetWindowDC(WindowHandle());
    if (dc == nullptr) return;
    RECT r = user::WindowRect(WindowHandle());
    gdi::OffsetRect(&r, -r.left, -r.top);
    UINT sides = 0;
    if (FEdgeBorders.Contains(ebLeft)) sides |= gdi::BF_LEFT;
    if (FEdgeBorders.Contains(ebTop)) sides |= gdi::BF_TOP;
    if (FEdgeBorders.Contains(ebRight)) sides |= gdi::BF_RIGHT;
    if (FEdgeBorders.Contains(ebBottom)) sides |= gdi::BF_BOTTOM;
    UINT edge = 0;
    if (FEdgeOuter == esRaised) edge |= gdi::BDR_RAISEDOUTER;
    if (FEdgeOuter == esLowered) edge |= gdi::BDR_SUNKENOUTER;
    if (FEdgeInner == esRaised) edge |= gdi::BDR_RAISEDINNER;
    if (FEdgeInner == esLowered) edge |= gdi::BDR_SUNKENINNER;
    if (sides && edge) gdi::DrawEdge(dc, &r, edge, sides);
    ReleaseDC(WindowHandle(), dc);
}

LRESULT TToolBar::CustomDraw(const void* record) {
    const auto* cd = static_cast<const NMTBCUSTOMDRAW*>(record);
    DWORD stage = cd->nmcd.dwDrawStage;
    bool item = (stage & CDDS_ITEM) != 0;
    bool barEvents = OnCustomDraw || OnAdvancedCustomDraw;
    bool buttonEvents = OnCustomDrawButton || OnAdvancedCustomDrawButton;
    if (item ? !buttonEvents : !barEvents) return item ? CDRF_DODEFAULT : (buttonEvents ? CDRF_NOTIFYITEMDRAW : 0);
    bool defaultDraw = true;
    LRESULT answer = CDRF_DODEFAULT;
    gdi::SavedDc saved(cd->nmcd.hdc);
    FCanvas->SetHandle(cd->nmcd.hdc);
    base::ScopeExit release([this] { FCanvas->SetHandle(nullptr); });
    FCanvas->Font()->Assign(Font());
    FCanvas->Brush()->SetColor(Color());
    TCustomDrawStage drawStage = StageOf(stage);
    if (!item) {
        if (drawStage == cdPrePaint && OnCustomDraw) OnCustomDraw(this, cd->nmcd.rc, defaultDraw);
        if (OnAdvancedCustomDraw) OnAdvancedCustomDraw(this, cd->nmcd.rc, drawStage, defaultDraw);
        if (stage == CDDS_PREPAINT) {
            if (buttonEvents) answer |= CDRF_NOTIFYITEMDRAW;
            if (OnAdvancedCustomDraw) answer |= CDRF_NOTIFYPOSTPAINT;
        }
        if (stage == CDDS_PREERASE && OnAdvancedCustomDraw) answer |= CDRF_NOTIFYPOSTERASE;
    } else if (TToolButton* button = Buttons(int(cd->nmcd.dwItemSpec) - FirstButtonId)) {
        TCustomDrawState state = DrawState(cd->nmcd.uItemState);
        TTBCustomDrawFlags flags;
        if (drawStage == cdPrePaint && OnCustomDrawButton) OnCustomDrawButton(this, button, state, defaultDraw);
        if (OnAdvancedCustomDrawButton) OnAdvancedCustomDrawButton(this, button, state, drawStage, flags, defaultDraw);
        answer |= FlagsAnswer(flags);
        if (stage == CDDS_ITEMPREPAINT && OnAdvancedCustomDrawButton) answer |= CDRF_NOTIFYPOSTPAINT;
    }
    if (!defaultDraw) answer |= CDRF_SKIPDEFAULT;
    return answer;
}

void TToolBar::CNNotify(TMessage& m) {
    const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
    if (header == nullptr) return;
    if (header->code == NM_CUSTOMDRAW) m.Result = CustomDraw(header);
    if (header->code == TBN_DROPDOWN) {
        DropDownMenu(header);
        m.Result = TBDDRET_DEFAULT;
    }
}

// The menu pops up under the button and runs until it closes (the arrow part stays pressed meanwhile).
bool TToolBar::DropDownMenu(const void* notify) {
    const auto* nm = static_cast<const NMTOOLBAR*>(notify);
    TToolButton* button = Buttons(nm->iItem - FirstButtonId);
    if (button == nullptr || button->DropdownMenu() == nullptr) return false;
    POINT at {nm->rcButton.left, nm->rcButton.bottom};
    user::ClientToScreen(WindowHandle(), &at);
    const HWND bar = WindowHandle();
    button->DropdownMenu()->Popup(at.x, at.y);   // may free the bar: its window tells
    if (IsWindow(bar) && FindControl(bar) == this) Perform(CN_DROPDOWNCLOSED, 0, 0);
    return true;
}

void TToolBar::CNDropDownClosed(TMessage&) {
    Invalidate();
}

void TToolBar::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY:
        CNNotify(message);
        return;
    case CN_COMMAND:
        ButtonClicked(LOWORD(message.WParam));
        return;
    case CN_DROPDOWNCLOSED:
        CNDropDownClosed(message);
        return;
    case WM_NCCALCSIZE:
        TWinControl::WndProc(message);
        NCCalcSize(message);
        return;
    case WM_NCPAINT:
        TWinControl::WndProc(message);
        NCPaint();
        return;
    case WM_ERASEBKGND:
        // The native bar erases: its custom-draw erase stages and its transparency come with it.
        DefaultHandler(message);
        return;
    default:
        break;
    }
    TWinControl::WndProc(message);
    if (message.Msg == WM_SIZE) RepositionButtons();
}

}
