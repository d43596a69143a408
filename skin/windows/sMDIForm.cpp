// TsMDIForm: the MDI client window's skinned edge and background, and the maximized child's command item.
#include "skin/windows/sMDIForm.h"
#include "skin/windows/sResStrings.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TMenu.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/sSkinProvider.h"

namespace korvex::skin {

using namespace korvex::classes;

TsMDIForm::TsMDIForm(TsSkinProvider* provider)
    : FProvider(provider)
    , FForm(provider->Form()) {
    KORVEX_ASSERT(FProvider != nullptr);
    if (FForm == nullptr) return;
    FForm->HandleNeeded();
    if (FMDIIconItem == nullptr) MakeChildIconItem();
    ConnectToClient();
}

TsMDIForm::~TsMDIForm() {
    FreeScrolls();
    // The item is the provider's component: a menu freed before us may have freed it with its items.
    for (int i = 0; FMDIIconItem != nullptr && i < FProvider->ComponentCount(); ++i)
        if (FProvider->Components(i) == FMDIIconItem) {
            delete FMDIIconItem;   // its destructor takes it out of the menu
            FMDIIconItem = nullptr;
        }
    // Put back only where ours is still the outermost procedure; otherwise it passes everything on.
    if (FClient != nullptr && user::IsWindow(FClient)
        && user::ProcFromLong(user::GetWindowLongPtr(FClient, user::GWL_WNDPROC)) == FNewClientProc) {
        user::SetWindowLongPtr(FClient, user::GWL_WNDPROC, user::LongFromProc(FDefClientProc));
        user::FreeObjectInstance(FNewClientProc);
    }
    FProvider = nullptr;
}

void TsMDIForm::ConnectToClient() {
    if (FForm == nullptr || FConnected) return;
    const user::HWND client = FForm->ClientHandle();
    if (client == nullptr) return;
    if (client == FClient) {
        SendSkinCommand(client, SMC_ISSKINNED);   // ours answers and sets the flag
        if (FConnected) return;
    }
    if (FNewClientProc == nullptr) {
        FNewClientProc = user::MakeObjectInstance(
            [this](user::HWND h, user::UINT msg, user::WPARAM w, user::LPARAM l) { return NewClientWndProc(h, msg, w, l); });
        if (FNewClientProc == nullptr) return;
    }
    const user::WNDPROC current = user::ProcFromLong(user::GetWindowLongPtr(client, user::GWL_WNDPROC));
    if (current == nullptr) return;
    FClient = client;
    FDefClientProc = current;
    user::SetWindowLongPtr(client, user::GWL_WNDPROC, user::LongFromProc(FNewClientProc));
    FConnected = true;
}

user::LRESULT TsMDIForm::CallDefault(user::HWND hwnd, user::UINT msg, user::WPARAM wParam, user::LPARAM lParam) const {
    return FDefClientProc != nullptr ? user::CallWindowProc(FDefClientProc, hwnd, msg, wParam, lParam)
                                     : user::DefWindowProc(hwnd, msg, wParam, lParam);
}

bool TsMDIForm::PaintsEdge() const {
    return FProvider != nullptr && FProvider->SkinData()->Skinned() && FConnected;
}

bool TsMDIForm::PaintsClient() const {
    if (!PaintsEdge()) return false;
    const TCustomForm* active = FForm->ActiveMDIChild();
    return active == nullptr || !active->HandleAllocated() || !user::IsZoomed(active->WindowHandle());
}

user::LRESULT TsMDIForm::NewClientWndProc(user::HWND hwnd, user::UINT msg, user::WPARAM wParam, user::LPARAM lParam) {
    if (FProvider == nullptr) return CallDefault(hwnd, msg, wParam, lParam);
    if (msg == SM_SKINCMD) {
        TMessage m {msg, wParam, lParam, 0};
        const int command = SkinCommandCode(m);
        if (command == SMC_REMOVESKIN && lParam == user::LPARAM(FProvider->SkinData()->SkinManager())) {
            FConnected = false;
            user::RedrawWindow(hwnd, nullptr, nullptr,
                user::RDW_INVALIDATE | user::RDW_INTERNALPAINT | user::RDW_ERASE | user::RDW_FRAME);
        } else if (command == SMC_ISSKINNED) {
            FConnected = true;
            return 1;
        }
        return 0;   // every other command is swallowed
    }
    switch (msg) {
    case user::WM_NCPAINT: {
        // Beside a maximized child the edge is the default one.
        if (!PaintsClient()) return CallDefault(hwnd, msg, wParam, lParam);
        const user::HDC dc = user::GetWindowDC(hwnd);
        if (dc != nullptr) {
            PaintEdge(dc);
            user::ReleaseDC(hwnd, dc);
        }
        return 0;
    }
    case user::WM_PAINT: {
        if (!PaintsClient()) return CallDefault(hwnd, msg, wParam, lParam);
        user::PaintGuard paint(hwnd);
        const user::HDC dc = wParam != 0 ? reinterpret_cast<user::HDC>(wParam) : paint.Dc();
        if (dc != nullptr) {
            gdi::SavedDc saved(dc);
            PaintBackground(dc);
        }
        return 0;
    }
    case user::WM_ERASEBKGND:
        return 1;   // the paint covers everything
    case user::WM_SIZE:
    case user::WM_HSCROLL:
    case user::WM_VSCROLL: {
        const user::LRESULT result = CallDefault(hwnd, msg, wParam, lParam);
        if (FProvider->SkinData()->Skinned()) user::InvalidateRect(hwnd, nullptr, true);
        return result;
    }
    default:
        return CallDefault(hwnd, msg, wParam, lParam);
    }
}

TRect TsMDIForm::MDIArea() const {
    if (FForm == nullptr || FForm->ClientHandle() == nullptr || !FForm->HandleAllocated()) return TRect {};
    user::RECT form {};
    user::RECT client {};
    user::GetWindowRect(FForm->WindowHandle(), &form);
    user::GetWindowRect(FForm->ClientHandle(), &client);
    return TRect {client.left - form.left, client.top - form.top, client.right - form.left, client.bottom - form.top};
}

// The four 2-pixel strips of the client's edge from the form cache, where the cache has the MDI area.
void TsMDIForm::PaintEdge(user::HDC dc) const {
    TBitmap* cache = FProvider->FormCache();
    if (cache == nullptr || cache->Width() == 0) return;
    const TRect a = MDIArea();
    const int w = a.Width();
    const int h = a.Height();
    const gdi::HDC src = cache->Canvas()->Handle();
    gdi::BitBlt(dc, 0, 0, w, ClientEdge, src, a.left, a.top, gdi::SRCCOPY);
    gdi::BitBlt(dc, 0, ClientEdge, ClientEdge, h, src, a.left, a.top + ClientEdge, gdi::SRCCOPY);
    gdi::BitBlt(dc, 0, h - ClientEdge, w, ClientEdge, src, a.left, a.top + h - ClientEdge, gdi::SRCCOPY);
    gdi::BitBlt(dc, w - ClientEdge, 0, ClientEdge, h, src, a.left + w - ClientEdge, a.top, gdi::SRCCOPY);
}

// The cache's MDI area inside the edge, with the child windows left out, and the form's windowless controls
// that lie over the area on it; the form's windowed children are told that their parent painted.
void TsMDIForm::PaintBackground(user::HDC dc) const {
    TBitmap* cache = FProvider->FormCache();
    if (cache == nullptr || cache->Width() == 0) return;
    const TRect a = MDIArea();
    for (user::HWND child = user::GetWindow(FClient, user::GW_CHILD); child != nullptr;
         child = user::GetWindow(child, user::GW_HWNDNEXT)) {
        if (!user::IsWindowVisible(child)) continue;
        user::RECT r {};
        user::GetWindowRect(child, &r);
        user::POINT p {r.left, r.top};
        user::ScreenToClient(FClient, &p);
        gdi::ExcludeClipRect(dc, p.x, p.y, p.x + (r.right - r.left), p.y + (r.bottom - r.top));
    }
    gdi::BitBlt(dc, 0, 0, a.Width() - 2 * ClientEdge, a.Height() - 2 * ClientEdge, cache->Canvas()->Handle(),
        a.left + ClientEdge, a.top + ClientEdge, gdi::SRCCOPY);
    // The form's controls are placed in its client coordinates: the client's origin there is the DC's.
    user::POINT origin {0, 0};
    user::MapWindowPoints(FClient, FForm->WindowHandle(), &origin, 1);
    {
        gdi::SavedDc saved(dc);
        gdi::SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
        ComposeGraphicChildren(dc, FForm);
    }
    NotifyChildrenUpdated(FForm);
}

// ---------------------------------------------------------------------------------------------------------
// The maximized child's command item

void TsMDIForm::SendToActiveChild(user::WPARAM command) const {
    TCustomForm* child = FForm != nullptr ? FForm->ActiveMDIChild() : nullptr;
    if (child != nullptr && child->HandleAllocated())
        user::SendMessage(child->WindowHandle(), user::WM_SYSCOMMAND, command, 0);
}

void TsMDIForm::MakeChildIconItem() {
    FMDIIconItem = new TMenuItem(FProvider);
    FMDIIconItem->SetName("sMDICII");
    FMDIIconItem->SetGroupIndex(0);
    auto add = [this](const char* name, const std::string& caption, user::WPARAM command, TShortCut shortCut) {
        auto* item = new TMenuItem(nullptr);   // freed with its parent item
        item->SetName(name);
        item->SetCaption(caption);
        if (command != 0) item->OnClick = [this, command](TObject*) { SendToActiveChild(command); };
        item->SetShortCut(shortCut);
        FMDIIconItem->Add(item);
    };
    add("ItemMDIRestore", LoadResString(58981), user::SC_RESTORE, scNone);
    add("ItemMDIMinimize", LoadResString(58978), user::SC_MINIMIZE, scNone);
    add("", "-", 0, scNone);
    add("ItemMDIClose", LoadResString(58976), user::SC_CLOSE, ShortCut(user::VK_F4, TShiftState {ssCtrl}));
    if (TsSkinableMenus* menus = FProvider->SkinableMenus()) {
        menus->SetItemHandlers(FMDIIconItem, true);
        for (int i = 0; i < FMDIIconItem->Count(); ++i)
            menus->SetItemHandlers(FMDIIconItem->Items(i), true);
    }
}

void TsMDIForm::UpdateMDIIconItem() {
    if (FForm == nullptr || FMDIIconItem == nullptr) return;
    TMainMenu* menu = FForm->Menu();
    const TCustomForm* active = FForm->ActiveMDIChild();
    const bool maximized = active != nullptr && active->HandleAllocated() && user::IsZoomed(active->WindowHandle());
    TMenuItem* items = menu != nullptr ? menu->Items() : nullptr;
    const bool first = items != nullptr && items->Count() > 0 && items->Items(0) == FMDIIconItem;
    if (maximized && items != nullptr && !first) {
        if (FMDIIconItem->Parent() != nullptr) FMDIIconItem->Parent()->Remove(FMDIIconItem);
        FProvider->SkinData()->BeginUpdate();
        items->Insert(0, FMDIIconItem);
        FProvider->SkinData()->EndUpdate();
        FProvider->RefreshFormFrame();
    } else if (!maximized && first) {
        items->Delete(0);
        FProvider->RefreshMainMenu();
    }
    if (!FScrolling) UpdateScrolls();
}

}
