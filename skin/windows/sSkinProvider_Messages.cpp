// TsSkinProvider: the message table of a skinned form: painting, activation, caption text, positions and
// system commands.
#include "skin/windows/sSkinProvider.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"
#include "skin/windows/sMDIForm.h"
#include "skin/windows/sSystemMenu.h"

namespace korvex::skin {

using namespace korvex::classes;

void TsSkinProvider::ActiveMessage(TMessage& message) {
    switch (message.Msg) {
    case user::WM_NCHITTEST:
        WMNCHitTest(message);
        return;
    case user::WM_NCPAINT:
        WMNCPaint(message);
        return;
    case user::WM_PRINT:
        WMPrint(message);
        return;
    case user::WM_PRINTCLIENT:   // the client part of a print: the skinned background, as on the screen
        if (message.WParam != 0 && FForm->HandleAllocated() && !FormBusy())
            PaintForm(reinterpret_cast<gdi::HDC>(message.WParam));
        return;
    case user::WM_NCACTIVATE:
        WMNCActivate(message);
        return;
    case user::WM_NCLBUTTONDOWN:
        WMNCLButtonDown(message);
        return;
    case user::WM_NCLBUTTONUP:
    case user::WM_LBUTTONUP:
        WMNCLButtonUp(message);
        return;
    case user::WM_NCLBUTTONDBLCLK:
        WMNCLButtonDblClk(message);
        return;
    case user::WM_NCRBUTTONDOWN:
    case user::WM_NCRBUTTONUP:
        WMNCRButton(message);
        return;
    case user::WM_PAINT:
        WMPaint(message);
        return;
    case user::WM_ERASEBKGND:
        message.Result = 1;   // the paint covers everything
        return;
    case user::WM_ACTIVATE:
        WMActivate(message);
        return;
    case user::WM_SIZE:
        WMSize(message);
        return;
    case user::WM_MEASUREITEM:
        MeasureMenuItem(message);
        return;
    case user::WM_INITMENUPOPUP:
        CallOld(message);
        if (user::HIWORD(std::uintptr_t(message.LParam)) == 0) MenuPopupOpened(reinterpret_cast<user::HMENU>(message.WParam));
        return;
    case user::WM_MENUSELECT:
        CallOld(message);
        MenuItemSelected(message);
        return;
    case user::WM_EXITMENULOOP:
        CallOld(message);
        ClearHotMenuItem();
        return;
    case user::WM_SYSCOLORCHANGE:
        CallOld(message);
        RefreshMainMenu();
        return;
    case user::WM_CHILDACTIVATE:
        CallOld(message);
        RefreshMainMenu();
        FMdi.UpdateParentScrolls();
        return;
    case user::WM_MOVE:
        CallOld(message);
        FMdi.ChildMoved();
        return;

    case user::WM_SETTEXT:
        if (!FForm->Visible()) {
            CallOld(message);
            return;
        }
        if (FGeometry.HasBorder()) TitleCut();
        CallOld(message);
        if (FGeometry.HasBorder()) {
            FSkinData->BGChanged = true;
            FForm->Perform(user::WM_NCPAINT, 0, 0);
        }
        return;
    case user::WM_WINDOWPOSCHANGING:
        if (FRgnInUpdate) return;
        if (message.LParam != 0) FBorderDrag.Snap(*reinterpret_cast<user::WINDOWPOS*>(message.LParam));
        CallOld(message);
        return;
    case user::WM_GETMINMAXINFO:
        WMGetMinMaxInfo(message);
        return;
    case user::WM_MOUSEMOVE:
        CallOld(message);
        FBorderDrag.MouseMove(message);
        return;
    case user::WM_CAPTURECHANGED:
        CallOld(message);
        if (message.LParam != LPARAM(FForm->WindowHandle())) FBorderDrag.Cancel();
        return;
    case user::WM_WINDOWPOSCHANGED:
    case user::WM_EXITSIZEMOVE:
        WMPositionChanged(message);
        return;
    case user::WM_SIZING:
        CallOld(message);
        if (FormChanged()) {
            FSkinData->BGChanged = true;
            FPaintedState = -1;
            if (FMdi.IsParent()) FMdi.UpdateParentScrolls();
        }
        return;
    case user::WM_SYSCOMMAND:
        WMSysCommand(message);
        return;
    case user::WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        SetHotHT(0);
        CallOld(message);
        return;
    case CM_COLORCHANGED:
        if (!FSkinData->CustomColor()) return;
        if (!FormBusy()) FSkinData->BGChanged = true;
        CallOld(message);
        return;
    case CM_MENUCHANGED:
        if (!FormBusy() && FForm->Visible()) FFullRebuild = true;
        CallOld(message);
        return;
    default:
        CallOld(message);
        return;
    }
}

void TsSkinProvider::WMPaint(TMessage& message) {
    if (!FForm->Visible() || FForm->FormState().Contains(fsCreating)) {
        CallOld(message);
        return;
    }
    PaintClient();
    if (FForm->OnPaint) FForm->OnPaint(FForm);
    message.Result = 1;
    FMdi.MaximizeIfPending();
    if (FSkinData->PaintMark) ResetPaintMarks(FForm);
}

void TsSkinProvider::WMActivate(TMessage& message) {
    CallOld(message);
    if (FForm == nullptr || FForm->ControlState().Contains(csCreating)) return;
    FFormActive = (message.WParam & 0xFFFF) != 0;
    FSkinData->BGChanged = true;
    FPaintedState = -1;
    FMdi.ChildActivated();
    if (FForm->HandleAllocated()) FForm->Perform(user::WM_NCPAINT, 0, 0);
    InitMenuItems(true);
    if (FMdi.IsParent()) {
        TCustomForm* child = FForm->ActiveMDIChild();
        if (child != nullptr && child->HandleAllocated() && user::IsZoomed(child->WindowHandle()))
            child->Perform(user::WM_PAINT, 0, 0);
        else if (child != nullptr)
            FMdi.UpdateParentScrolls();
    } else {
        UpdateFormScrolls();
    }
    if (FSystemMenu != nullptr) FSystemMenu->UpdateItems();
    if (!FGeometry.HasBorder()) PaintClientChild();
}

// A form without a border has its last client-aligned child painted again (its look may follow activation).
void TsSkinProvider::PaintClientChild() {
    if (FForm == nullptr) return;
    for (int i = FForm->ControlCount() - 1; i >= 0; --i) {
        TControl* child = FForm->Controls(i);
        if (child->Align() != alClient) continue;
        child->Perform(user::WM_PAINT, 0, 0);
        return;
    }
}

void TsSkinProvider::WMSize(TMessage& message) {
    CallOld(message);
    if (FForm == nullptr || !FForm->Visible()) return;
    if (FMdi.IsChild() && FGeometry.Maximized()) FMdi.MaximizedChildSized();
    // The parent's bars follow its size and a child's, whether its own outline drag or the system's loop sized
    // it: a child sized past the client's edge must give the area its bars.
    if (FMdi.IsParent() || (FMdi.IsChild() && (FResizeMode == rmBorder || !FGeometry.Maximized())))
        FMdi.UpdateParentScrolls();
    UpdateFormScrolls();
    if (!Skinned()) return;
    const TsGeneralData& s = FSkinData->SkinManager()->Sections[std::size_t(FSkinData->SkinIndex)];
    if (s.GradientPercent <= 0) return;
    for (int i = 0; i < FForm->ControlCount(); ++i) {
        TControl* child = FForm->Controls(i);
        if (child->ComponentState().Contains(csDestroying)) continue;
        child->Perform(SM_SKINCMD, SkinCommandWParam(SMC_MOVED, 1), 0);
    }
}

void TsSkinProvider::WMPositionChanged(TMessage& message) {
    if (FRgnInUpdate || SkinChanging) return;
    FRgnChanged = true;
    CallOld(message);
    if (FForm == nullptr || !FForm->Visible() || !FormChanged()) return;
    if (!FormBusy()) FSkinData->BGChanged = true;
    FPaintedState = -1;
    FForm->Perform(user::WM_NCPAINT, 0, 0);
    if (FForm != nullptr) FForm->Perform(user::WM_PAINT, 0, 0);
}

// The title band is cut out of the window region so that the default procedure's caption drawing is clipped
// away; the next non-client paint puts the whole region back.
void TsSkinProvider::TitleCut() {
    if (!FForm->HandleAllocated()) return;
    const user::HWND hwnd = FForm->WindowHandle();
    gdi::HRGN region = gdi::CreateRectRgn(0, 0, FForm->Width(), HeaderHeight());
    user::GetWindowRgn(hwnd, region);
    gdi::HRGN band = gdi::CreateRectRgn(0, 0, FForm->Width(), HeaderHeight());
    gdi::CombineRgn(region, region, band, gdi::RGN_DIFF);
    FRgnInUpdate = true;
    user::SetWindowRgn(hwnd, region, false);
    FRgnInUpdate = false;
    FRgnChanged = true;
    gdi::DeleteObject(band);
}

void TsSkinProvider::WMNCActivate(TMessage& message) {
    if ((message.WParam != 0 || FMdi.IsChild()) && FGeometry.HasBorder() && !ComponentState().Contains(csLoading))
        TitleCut();
    CallOld(message);
    if (FForm == nullptr) return;
    if (FMdi.IsChild() && FForm->FormState().Contains(fsCreatedMDIChild) && FForm->FormState().Contains(fsShowing))
        FMdi.ChildShowing();
    if (FForm->ControlState().Contains(csCreating)) return;
    FForm->Perform(user::WM_NCPAINT, 0, 0);
    // The new state is drawn from the next rebuild of the frame (WM_ACTIVATE's, or the child's below).
    if (FGeometry.HasBorder()) {
        if (MDIButtonsNeeded()) {
            // The parent of a maximized child stays drawn active while that child is the active form.
            TCustomForm* child = FForm->ActiveMDIChild();
            if (message.WParam != 0 || Screen == nullptr || Screen->ActiveForm() == child) {
                FFormActive = true;
                FPaintedState = -1;
            }
        } else if ((message.WParam != 0) != FFormActive) {
            FFormActive = message.WParam != 0;
            FPaintedState = -1;
        }
    }
    if (FMdi.IsChild()) {
        FSkinData->BGChanged = true;
        FForm->Perform(user::WM_NCPAINT, 0, 0);
    }
    InitMenuItems(Skinned());
    if (!FMenuInitialized) {
        FMenuInitialized = true;
        RefreshMainMenu();
    }
    if (!FGeometry.HasBorder()) PaintClientChild();
}

void TsSkinProvider::WMNCPaint(TMessage& message) {
    (void)message;
    if (FForm == nullptr || !FForm->Visible() || !FForm->HandleAllocated() || ComponentState().Contains(csLoading)
        || FormBusy())
        return;
    FSkinData->SetUpdating(FSkinData->IsUpdating());
    if (FSkinData->IsUpdating() || FMdi.HiddenByMaximizedSibling()) return;
    const auto style = user::DWORD(user::GetWindowLong(FForm->WindowHandle(), user::GWL_STYLE));
    if (FRgnChanged && !FRgnInUpdate && (FGeometry.HasBorder() || (style & user::WS_THICKFRAME))) {
        CollectRgnRects();
        FRgnChanged = false;
        UpdateRgn();
    }
    if (!FMenuInitialized) {
        FMenuInitialized = true;
        RefreshMainMenu();
    }
    const user::HWND hwnd = FForm->WindowHandle();
    const user::HDC dc = user::GetWindowDC(hwnd);
    if (dc != nullptr) {
        const int saved = gdi::SaveDC(dc);
        if (!FGeometry.HasBorder() && (style & user::WS_THICKFRAME))
            PaintSizingStrips(dc);
        else
            PaintAll(dc);
        gdi::RestoreDC(dc, saved);
        user::ReleaseDC(hwnd, dc);
    }
    FRgnInUpdate = false;
}

// The skinned frame from the cache into the caller's DC, then the client and children through the old
// procedure with the DC's origin moved to the client area, as the window layer prints a plain window.
void TsSkinProvider::WMPrint(TMessage& message) {
    const auto dc = reinterpret_cast<gdi::HDC>(message.WParam);
    if (dc == nullptr || !(message.LParam & user::PRF_NONCLIENT)) {
        CallOld(message);
        return;
    }
    if (FormBusy() || !FForm->HandleAllocated()) return;
    if ((message.LParam & user::PRF_CHECKVISIBLE) && !FForm->Visible()) return;
    gdi::SavedDc saved(dc);
    PaintAll(dc);
    const TPoint origin = FormLeftTop();
    const TPoint client = FForm->ClientOrigin();
    gdi::OffsetViewportOrgEx(dc, client.x - origin.x, client.y - origin.y, nullptr);
    TMessage rest = message;
    rest.LParam &= ~user::PRF_NONCLIENT;
    CallOld(rest);
    message.Result = rest.Result;
}

void TsSkinProvider::WMSysCommand(TMessage& message) {
    if (FBorderDrag.SysCommand(message)) return;
    const WPARAM command = message.WParam & 0xFFF0;
    if ((message.WParam & 0xFFFF) == user::SC_DRAGMOVE) FForm->Repaint();
    CallOld(message);
    if (FForm == nullptr) return;
    if ((command == user::SC_MAXIMIZE || command == user::SC_RESTORE) && MaxButtonVisible()) {
        // The maximize button shows the other picture now: drawn again in its normal state.
        FCaptionButtons->ForgetHot(htMaximize);
        SetHotHT(0);
    }
}

void TsSkinProvider::WMGetMinMaxInfo(TMessage& message) {
    auto* info = reinterpret_cast<user::MINMAXINFO*>(message.LParam);
    if (info == nullptr) {
        CallOld(message);
        return;
    }
    info->ptMaxTrackSize = user::POINT {-1, -1};
    info->ptMaxPosition = user::POINT {-1, -1};
    CallOld(message);
    FBorderDrag.FillMaximizedBounds(*info);
}

// ---------------------------------------------------------------------------------------------------------
// MDI

// The MDI handling of a skinned form's messages; true when the message was taken here.
bool TsSkinProvider::MdiMessage(TMessage& message) {
    const bool child = FMdi.IsChild();
    switch (message.Msg) {
    case user::WM_CREATE:
        FMdi.Creating();
        CallOld(message);
        return true;
    case user::WM_DESTROY:
        FMdi.Destroying();
        CallOld(message);
        return true;
    case user::WM_MDIACTIVATE:
    case user::WM_MDIDESTROY:
        CallOld(message);
        if (child && TsMdiChrome::LiveParent() != nullptr) {
            FMenuInitialized = false;
            FMdi.ChildSwitched();
        }
        return true;
    case user::WM_SYSCOMMAND:
        return (child || FMdi.IsParent()) && MdiSysCommand(message);
    default:
        return false;
    }
}

bool TsSkinProvider::MdiSysCommand(TMessage& message) {
    const user::WPARAM command = message.WParam & 0xFFF0;
    if (FMdi.IsParent()) {
        CallOld(message);
        if (command == user::SC_MINIMIZE || command == user::SC_MAXIMIZE || command == user::SC_RESTORE) {
            FSkinData->BGChanged = true;
            FPaintedState = -1;
            if (FForm != nullptr && FForm->HandleAllocated()) FForm->Perform(user::WM_NCPAINT, 0, 0);
            FMdi.UpdateParentScrolls();
        }
        return true;
    }
    if (FBorderDrag.SysCommand(message)) return true;
    TsSkinProvider* parent = TsMdiChrome::LiveParent();
    const bool locked = parent != nullptr && FGeometry.Maximized() && command != user::SC_MAXIMIZE;
    if (locked) parent->FSkinData->BeginUpdate();
    auto updateItems = [this] {
        if (FSystemMenu != nullptr && !ComponentState().Contains(csDestroying)) FSystemMenu->UpdateItems();
    };
    switch (command) {
    case user::SC_CLOSE:
        CallOld(message);
        if (TsMdiChrome::LiveParent() != nullptr && TsMdiChrome::LiveParent()->MDIForm() != nullptr) {
            if (locked) FMdi.RepaintParent();
            FMdi.UpdateParentScrolls();
        }
        return true;
    case user::SC_MINIMIZE:
        CallOld(message);
        if (locked) FMdi.RepaintParent();
        FMdi.UpdateParentScrolls();
        updateItems();
        FSavedTitle.reset();
        if (FForm != nullptr && !FForm->ComponentState().Contains(csDestroying) && FForm->HandleAllocated()) {
            FSkinData->BGChanged = true;
            FForm->Perform(user::WM_NCPAINT, 0, 0);
        }
        return true;
    case user::SC_MAXIMIZE:
        CallOld(message);
        if (TsSkinProvider* live = TsMdiChrome::LiveParent()) {
            live->ForgetMenuLines();
            if (live->MDIForm() != nullptr) live->MDIForm()->UpdateMDIIconItem();
            FMdi.UpdateParentScrolls();
        }
        updateItems();
        return true;
    case user::SC_RESTORE:
        if (MaximizePending()) {   // a restore while a new child waits to be maximized
            if (locked) parent->FSkinData->EndUpdate();
            return true;
        }
        FSkinData->BeginUpdate();
        CallOld(message);
        FSkinData->BGChanged = true;
        FSkinData->EndUpdate();
        if (FForm->HandleAllocated()) FForm->Perform(user::WM_NCPAINT, 0, 0);
        if (locked) FMdi.RepaintParent();
        FMdi.RestoreOtherChildren();
        if (Application != nullptr) Application->ProcessMessages();
        FMdi.UpdateParentScrolls();
        updateItems();
        return true;
    case user::SC_KEYMENU:
        if (parent != nullptr) parent->FSkinData->EndUpdate();
        return true;
    default:
        CallOld(message);
        if (parent != nullptr) parent->FSkinData->EndUpdate();
        return true;
    }
}
}
