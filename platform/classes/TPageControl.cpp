// TCustomTabControl, TPageControl and TTabSheet over the native tab control.
#include "platform/classes/TPageControl.h"

#include "platform/classes/OwnerDrawItems.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/TabControl.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

// ---------------------------------------------------------------------------------------------------------
// TCustomTabControl

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TCommonControl(owner)
    , FImageLink(std::make_unique<TChangeLink>()) {
    RegisterCommonControlClasses();
    FImageLink->OnChange = [this](TObject* sender) { ImageListChange(sender); };
    FControlStyle = TControlStyle {csDoubleClicks, csClickEvents, csCaptureMouse};
    SetBounds(Left(), Top(), 289, 193);
    SetTabStop(true);
}

TCustomTabControl::~TCustomTabControl() {
    if (FImages != nullptr) FImages->UnRegisterChanges(FImageLink.get());
}

TClass TCustomTabControl::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomTabControl, TCommonControl>("TCustomTabControl");
    return &info;
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TABCONTROL);
    if (FMultiLine) params.Style |= TCS_MULTILINE;
    if (FHotTrack) params.Style |= TCS_HOTTRACK;
    if (FOwnerDraw) params.Style |= TCS_OWNERDRAWFIXED;
    if (FTabWidth > 0) params.Style |= TCS_FIXEDWIDTH;
    if (FStyle == tsButtons) params.Style |= TCS_BUTTONS;
    if (FStyle == tsFlatButtons) params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
    if (FTabPosition == tpBottom) params.Style |= TCS_BOTTOM;
    if (FTabPosition == tpLeft) params.Style |= TCS_VERTICAL | TCS_MULTILINE;
    if (FTabPosition == tpRight) params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
}

void TCustomTabControl::CreateWnd() {
    int selected = FTabIndex;
    TWinControl::CreateWnd();
    HWND h = WindowHandle();
    if (FImages != nullptr) SendMessage(h, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
    SetItemSize();
    UpdateTabs();
    if (selected >= 0) SelectTab(selected);
    Realign();
}

void TCustomTabControl::SetItemSize() {
    if (HandleAllocated())
        SendMessage(WindowHandle(), TCM_SETITEMSIZE, 0, MAKELPARAM(std::max(0, FTabWidth), std::max(0, FTabHeight)));
}

void TCustomTabControl::SetTabPosition(TTabPosition value) {
    if (value == FTabPosition) return;
    FTabPosition = value;
    RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    RecreateWnd();
}

void TCustomTabControl::SetHotTrack(bool value) {
    if (value == FHotTrack) return;
    FHotTrack = value;
    RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool value) {
    if (value == FMultiLine) return;
    FMultiLine = value;
    RecreateWnd();
}

void TCustomTabControl::SetOwnerDraw(bool value) {
    if (value == FOwnerDraw) return;
    FOwnerDraw = value;
    RecreateWnd();
}

void TCustomTabControl::SetTabHeight(int value) {
    if (value == FTabHeight) return;
    FTabHeight = value;
    SetItemSize();
    Realign();
}

void TCustomTabControl::SetTabWidth(int value) {
    if (value == FTabWidth) return;
    bool styleChanges = (value > 0) != (FTabWidth > 0);
    FTabWidth = value;
    if (styleChanges)
        RecreateWnd();
    else
        SetItemSize();
}

void TCustomTabControl::SetImages(TCustomImageList* value) {
    if (value == FImages) return;
    if (FImages != nullptr) {
        FImages->UnRegisterChanges(FImageLink.get());
        FImages->RemoveFreeNotification(this);
    }
    FImages = value;
    if (FImages != nullptr) {
        FImages->RegisterChanges(FImageLink.get());
        FImages->FreeNotification(this);
    }
    if (HandleAllocated())
        SendMessage(WindowHandle(), TCM_SETIMAGELIST, 0,
            reinterpret_cast<LPARAM>(FImages != nullptr ? FImages->Handle() : nullptr));
    Realign();
}

void TCustomTabControl::ImageListChange(TObject*) {
    if (!HandleAllocated()) return;
    SendMessage(WindowHandle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
    Realign();
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    // The list is being freed: it forgets the link itself, so only the pointer and the native handle go.
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        if (HandleAllocated()) SendMessage(WindowHandle(), TCM_SETIMAGELIST, 0, 0);
    }
}

int TCustomTabControl::TabIndex() const {
    if (HandleAllocated()) FTabIndex = int(SendMessage(WindowHandle(), TCM_GETCURSEL, 0, 0));
    return FTabIndex;
}

void TCustomTabControl::SetTabIndex(int value) {
    SelectTab(value);
}

void TCustomTabControl::SelectTab(int index) {
    FTabIndex = index;
    if (HandleAllocated()) SendMessage(WindowHandle(), TCM_SETCURSEL, WPARAM(std::intptr_t(index)), 0);
}

int TCustomTabControl::TabCount() const {
    return HandleAllocated() ? int(SendMessage(WindowHandle(), TCM_GETITEMCOUNT, 0, 0)) : 0;
}

TRect TCustomTabControl::TabRect(int index) const {
    TRect r {};
    if (HandleAllocated()) SendMessage(WindowHandle(), TCM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

int TCustomTabControl::IndexOfTabAt(int x, int y) const {
    if (!HandleAllocated()) return -1;
    TCHITTESTINFO info;
    info.pt = TPoint {x, y};
    return int(SendMessage(WindowHandle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

int TCustomTabControl::RowCount() const {
    return HandleAllocated() ? int(SendMessage(WindowHandle(), TCM_GETROWCOUNT, 0, 0)) : 0;
}

TRect TCustomTabControl::DisplayRect() const {
    TRect r = GetClientRect();
    if (HandleAllocated()) SendMessage(WindowHandle(), TCM_ADJUSTRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TCustomTabControl::AdjustClientRect(TRect& rect) {
    if (HandleAllocated()) rect = DisplayRect();
}

void TCustomTabControl::ClearTabs() {
    if (HandleAllocated()) SendMessage(WindowHandle(), TCM_DELETEALLITEMS, 0, 0);
}

void TCustomTabControl::AddTab(const std::string& caption, int imageIndex) {
    if (!HandleAllocated()) return;
    std::string text = caption;
    TCITEM item;
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text.data();
    item.iImage = imageIndex;
    SendMessage(WindowHandle(), TCM_INSERTITEM, WPARAM(TabCount()), reinterpret_cast<LPARAM>(&item));
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

void TCustomTabControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    if (OnDrawTab)
        OnDrawTab(this, tabIndex, rect, active);
    else
        FCanvas->FillRect(rect);
}

void TCustomTabControl::CNNotify(TMessage& m) {
    const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
    if (header == nullptr) return;
    if (header->code == TCN_SELCHANGING) {
        m.Result = CanChange() ? 0 : 1;
    } else if (header->code == TCN_SELCHANGE) {
        FTabIndex = TabIndex();
        Change();
    }
}

void TCustomTabControl::CNDrawItem(TMessage& m) {
    DrawOwnerDrawnPart(m, *FCanvas, Font(), Color(),
        [this](int index, const TRect& rect, bool active) { DrawTab(index, rect, active); });
}

void TCustomTabControl::WndProc(TMessage& message) {
    TCommonControl::WndProc(message);
    if (message.Msg == WM_SIZE) Realign();
}

// ---------------------------------------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* owner)
    : TWinControl(owner) {
    FControlStyle = TControlStyle {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
    SetAlign(alClient);
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    if (FPageControl != nullptr) FPageControl->RemovePage(this);
    FPageControl = nullptr;
}

TClass TTabSheet::StaticClass() {
    static const TClassInfo info = MakeClass<TTabSheet, TWinControl>("TTabSheet", [](auto& p) {
        p.Enum("Align", &TTabSheet::Align, &TTabSheet::SetAlign, AlignIdents, alClient);
        p.Int("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex, 0);
        p.Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible, true);
        p.Bool("Visible", &TTabSheet::Visible, &TTabSheet::SetVisible).Stored(false);
        p.Event("OnHide", &TTabSheet::OnHide);
        p.Event("OnShow", &TTabSheet::OnShow);
    });
    return &info;
}

void TTabSheet::SetPageControl(TPageControl* value) {
    SetParent(value);
}

void TTabSheet::SetParent(TWinControl* value) {
    auto* next = dynamic_cast<TPageControl*>(value);
    if (FPageControl != nullptr && FPageControl != next) {
        TPageControl* old = FPageControl;
        FPageControl = nullptr;
        old->RemovePage(this);
    }
    TWinControl::SetParent(value);
    if (next != nullptr && FPageControl != next) {
        FPageControl = next;
        next->InsertPage(this);
    }
}

void TTabSheet::SetParentComponent(TComponent* value) {
    if (auto* control = dynamic_cast<TWinControl*>(value))
        SetParent(control);
    else
        TWinControl::SetParentComponent(value);
}

int TTabSheet::PageIndex() const {
    if (FPageControl == nullptr) return -1;
    const auto& pages = FPageControl->FPages;
    auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : int(it - pages.begin());
}

void TTabSheet::SetPageIndex(int value) {
    if (FPageControl != nullptr) FPageControl->MovePage(this, value);
}

int TTabSheet::TabIndex() const {
    if (FPageControl == nullptr || !FTabVisible) return -1;
    int index = 0;
    for (TTabSheet* page : FPageControl->FPages) {
        if (page == this) return index;
        if (page->FTabVisible) ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value) {
    if (value == FTabVisible) return;
    FTabVisible = value;
    if (FPageControl != nullptr) FPageControl->PageChanged(this);
}

void TTabSheet::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    if (FPageControl != nullptr) FPageControl->PageChanged(this);
}

void TTabSheet::WndProc(TMessage& message) {
    TWinControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED && FPageControl != nullptr) FPageControl->PageChanged(this);
    if (message.Msg == CM_VISIBLECHANGED && !ComponentState().Contains(csLoading)) {
        if (Visible() && OnShow && !RunUserCode(this, [this] { OnShow(this); })) return;
        if (!Visible() && OnHide) OnHide(this);
    }
}

// ---------------------------------------------------------------------------------------------------------
// TPageControl

TPageControl::TPageControl(TComponent* owner)
    : TCustomTabControl(owner) {
    FControlStyle.Include(csAcceptsControls);
}

TPageControl::~TPageControl() {
    // A plain delete skips BeforeDestruction; the sheets still on the control go with its children later,
    // when this part of it is gone already.
    ForgetPages();
}

void TPageControl::BeforeDestruction() {
    // Pages still on the control forget it before the window goes.
    ForgetPages();
    TCustomTabControl::BeforeDestruction();
}

void TPageControl::ForgetPages() {
    for (TTabSheet* page : FPages)
        page->FPageControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
}

TClass TPageControl::StaticClass() {
    static const TClassInfo info = MakeClass<TPageControl, TCustomTabControl>("TPageControl", [](auto& p) {
        p.Component("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
        p.Bool("HotTrack", &TPageControl::HotTrack, &TPageControl::SetHotTrack, false);
        p.Component("Images", &TPageControl::Images, &TPageControl::SetImages);
        p.Bool("MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine, false);
        p.Bool("OwnerDraw", &TPageControl::OwnerDraw, &TPageControl::SetOwnerDraw, false);
        p.Enum("Style", &TPageControl::Style, &TPageControl::SetStyle, TabStyleIdents, tsTabs);
        p.Int("TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight, 0);
        p.Int("TabIndex", &TPageControl::TabIndex, &TPageControl::SetTabIndex, -1).Stored(false);
        p.Enum("TabPosition", &TPageControl::TabPosition, &TPageControl::SetTabPosition, TabPositionIdents, tpTop);
        p.Bool("TabStop", &TPageControl::TabStop, &TPageControl::SetTabStop, true);
        p.Int("TabWidth", &TPageControl::TabWidth, &TPageControl::SetTabWidth, 0);
        p.Event("OnChange", &TPageControl::OnChange);
        p.Event("OnChanging", &TPageControl::OnChanging);
        p.Event("OnDrawTab", &TPageControl::OnDrawTab);
    });
    return &info;
}

TTabSheet* TPageControl::Pages(int index) const {
    return index >= 0 && index < PageCount() ? FPages[size_t(index)] : nullptr;
}

int TPageControl::ActivePageIndex() const {
    return FActivePage != nullptr ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int value) {
    SetActivePage(Pages(value));
}

void TPageControl::SetActivePage(TTabSheet* value) {
    if (value != nullptr && value->PageControl() != this) return;
    if (!ChangeActivePage(value)) return;
    SelectTab(value != nullptr ? value->TabIndex() : -1);
}

// The sheets' OnShow and OnHide run here and may free the sheets or the control: false when the control or the
// new page is gone.
bool TPageControl::ChangeActivePage(TTabSheet* page) {
    if (page == FActivePage) return true;
    TTabSheet* old = FActivePage;
    FActivePage = page;
    TComponentWatch self(this), shown(page), hidden(old);
    if (page != nullptr) {
        page->BringToFront();
        page->SetVisible(true);
    }
    if (old != nullptr && self.Alive() && hidden.Alive()) old->SetVisible(false);
    return self.Alive() && (page == nullptr || shown.Alive());
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
    if (tabIndex < 0) return nullptr;
    for (TTabSheet* page : FPages)
        if (page->TabVisible() && tabIndex-- == 0) return page;
    return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
    if (FPages.empty()) return nullptr;
    int count = PageCount();
    int start = current != nullptr ? current->PageIndex() : -1;
    if (start < 0) start = goForward ? count - 1 : 0;
    int i = start;
    for (int n = 0; n < count; ++n) {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        if (!checkTabVisible || FPages[size_t(i)]->TabVisible()) return FPages[size_t(i)];
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward) {
    TTabSheet* page = FindNextPage(FActivePage, goForward, true);
    if (page == nullptr || page == FActivePage || !CanChange()) return;
    SelectTab(page->TabIndex());
    Change();
}

void TPageControl::Change() {
    if (!RunUserCode(this, [this] { UpdateActivePage(); })) return;
    TCustomTabControl::Change();
}

void TPageControl::UpdateActivePage() {
    int tab = TabIndex();
    if (tab >= 0) ChangeActivePage(PageForTab(tab));
}

void TPageControl::UpdateTabs() {
    if (!HandleAllocated()) return;
    ClearTabs();
    for (TTabSheet* page : FPages)
        if (page->TabVisible()) AddTab(page->Caption(), page->ImageIndex());
    SelectTab(FActivePage != nullptr ? FActivePage->TabIndex() : -1);
    Realign();
}

void TPageControl::InsertPage(TTabSheet* page) {
    FPages.push_back(page);
    UpdateTabs();
    if (FActivePage == nullptr && page->TabVisible() && !ComponentState().Contains(csLoading)) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end()) return;
    if (page == FActivePage) {
        TTabSheet* next = FindNextPage(page, true, true);
        if (!RunUserCode(this, [&] { ChangeActivePage(next != page ? next : nullptr); })) return;
    }
    FPages.erase(std::find(FPages.begin(), FPages.end(), page));
    UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end()) return;
    FPages.erase(it);
    index = std::clamp(index, 0, PageCount());
    FPages.insert(FPages.begin() + index, page);
    UpdateTabs();
}

void TPageControl::PageChanged(TTabSheet* page) {
    if (page == FActivePage && !page->TabVisible()) {
        TTabSheet* next = FindNextPage(page, true, true);
        if (!RunUserCode(this, [&] { ChangeActivePage(next != page ? next : nullptr); })) return;
    }
    UpdateTabs();
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    // Only the active page shows; without one read, the first page with a tab.
    TTabSheet* active = FActivePage != nullptr ? FActivePage : FindNextPage(nullptr, true, true);
    FActivePage = nullptr;
    for (TTabSheet* page : FPages)
        if (page != active) page->SetVisible(false);
    SetActivePage(active);
}

void TPageControl::CMDialogKey(TMessage& m) {
    // Ctrl+Tab and Ctrl+Shift+Tab step through the pages from anywhere inside the control.
    TWinControl* focused = FindControl(GetFocus());
    bool inside = focused != nullptr && ContainsControl(focused);
    if (m.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && inside) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        m.Result = 1;
        return;
    }
    TCustomTabControl::CMDialogKey(m);
}

void TPageControl::GetChildren(const std::function<void(TComponent* child)>& proc, TComponent* root) const {
    for (TTabSheet* page : FPages)
        if (page->Owner() == root) proc(page);
}

}
