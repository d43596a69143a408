// TCustomForm's MDI side: the frame's client window, children created inside it, and the child queries.
#include "platform/classes/TForm.h"

#include "platform/classes/Errors.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TMenu.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Mdi.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <vector>

namespace korvex::classes {

using namespace user;

namespace {

std::vector<TCustomForm*> ChildForms(HWND client) {
    std::vector<TCustomForm*> forms;
    if (client == nullptr) return forms;
    for (HWND h = GetWindow(client, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
        if (auto* form = dynamic_cast<TCustomForm*>(TWinControl::FindControl(h))) forms.push_back(form);
    return forms;
}

}

// The form places the client window itself (AlignControls), so WM_SIZE does not reach the frame's default.
LRESULT TCustomForm::FrameDefProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SIZE) return DefWindowProc(hwnd, msg, wParam, lParam);
    return DefFrameProc(hwnd, mdi::ClientOfFrame(hwnd), msg, wParam, lParam);
}

void TCustomForm::CreateClientWindow() {
    RegisterMdiClientClass();
    CLIENTCREATESTRUCT ccs;
    ccs.idFirstChild = 0xFF00;
    // Children moved past the client's edges are scrolled to.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_GROUP | WS_TABSTOP | WS_HSCROLL
        | WS_VSCROLL;
    const DWORD exStyle = WS_EX_CLIENTEDGE | (UseRightToLeftScrollBar() ? WS_EX_LEFTSCROLLBAR : 0);
    FClientHandle = CreateWindowEx(exStyle, MdiClientClassName, "", style, 0, 0, ClientWidth(), ClientHeight(),
        WindowHandle(), nullptr, nullptr, &ccs);
    if (FClientHandle == nullptr) throw EInvalidOperation("Cannot create the MDI client window of '" + Name() + "'");
    Realign();
}

void TCustomForm::CreateWindowHandle(const TCreateParams& params) {
    if (FFormStyle != fsMDIChild) {
        TWinControl::CreateWindowHandle(params);
        return;
    }
    TForm* frame = Application != nullptr ? Application->MainForm() : nullptr;
    if (frame == nullptr || frame == this || frame->FormStyle() != fsMDIForm || frame->ClientHandle() == nullptr)
        throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    MDICREATESTRUCT mcs;
    mcs.szClass = params.WinClassName.c_str();
    mcs.szTitle = params.Caption.c_str();
    mcs.x = params.X;
    mcs.y = params.Y;
    mcs.cx = params.Width;
    mcs.cy = params.Height;
    mcs.style = params.Style;
    SendMessage(frame->ClientHandle(), WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs));
    // The MDI child is shown from the start.
    if (WindowHandle() != nullptr && !Visible()) SetVisible(true);
}

// An MDI child goes by DestroyWindow too: its default procedure hands the activation on.
void TCustomForm::DestroyWindowHandle() {
    FClientHandle = nullptr;   // destroyed with the frame
    TWinControl::DestroyWindowHandle();
}

void TCustomForm::AlignControls(TControl* control, TRect& rect) {
    TScrollingWinControl::AlignControls(control, rect);
    if (FClientHandle != nullptr && IsWindow(FClientHandle))
        SetWindowPos(FClientHandle, HWND_BOTTOM, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
            SWP_NOACTIVATE);
}

void TCustomForm::MergeMenuIntoFrame(bool merge) {
    TCustomForm* frame = Application != nullptr ? Application->MainForm() : nullptr;
    if (frame == nullptr || frame == this || frame->FormStyle() != fsMDIForm) return;
    auto* bar = dynamic_cast<TMainMenu*>(frame->MenuComponent());
    auto* own = dynamic_cast<TMainMenu*>(FMenu);
    if (bar == nullptr || own == nullptr) return;
    if (merge)
        bar->Merge(own);
    else
        bar->Unmerge(own);
}

int TCustomForm::MDIChildCount() const {
    return int(ChildForms(FClientHandle).size());
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
    const auto forms = ChildForms(FClientHandle);
    return index >= 0 && index < int(forms.size()) ? forms[std::size_t(index)] : nullptr;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
    if (FClientHandle == nullptr) return nullptr;
    HWND active = reinterpret_cast<HWND>(SendMessage(FClientHandle, WM_MDIGETACTIVE, 0, 0));
    return dynamic_cast<TCustomForm*>(TWinControl::FindControl(active));
}

}
