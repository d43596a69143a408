// TsSkinProvider: the caption's hit testing and mouse messages routed to the caption buttons, the border drag
// and the MDI chrome, and the system commands the clicks send.
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/sTitleButtons.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/user/Input.h"
#include "platform/user/Menus.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sSystemMenu.h"

namespace korvex::skin {

using namespace korvex::classes;

TPoint PointFromLParam(LPARAM lParam) {
    return TPoint {int(std::int16_t(lParam & 0xFFFF)), int(std::int16_t((lParam >> 16) & 0xFFFF))};
}

int TsSkinProvider::HitTest(LPARAM screenPoint) {
    const TPoint p = CursorToPoint(PointFromLParam(screenPoint));
    FCaptionButtons->Place();
    if (const std::optional<int> band = FCaptionButtons->HitTestBand(p)) return *band;
    // A maximized child's buttons on the menu line: off them the hot one is kept until the end.
    const int mdi = FMdi.HitTest(p);
    if (mdi > 0) return mdi;
    if (FGripMode == gmRightBottom) {
        TsSkinManager* manager = FSkinData->SkinManager();
        const int grip = manager->GetMaskIndex(manager->GetSkinIndex("GLOBALINFO"), "GLOBALINFO", "GRIPIMAGE");
        if (manager->IsValidImgIndex(grip) && FormCache() != nullptr) {
            const TSize cache {FormCache()->Width(), FormCache()->Height()};
            if (FGeometry.OnGrip(p, manager->GetMaskFrameSize(grip), cache)) return htGrip;
        }
    }
    SetHotHT(0);
    if (FGeometry.Maximized() && FGeometry.OutsideInner(p)) return htOutside;
    return 0;
}

int TsSkinProvider::VisibleButtonCount() const {
    int count = 0;
    for (int code : FCaptionButtons->VisibleCodes())
        if (code < htTitleButton) ++count;
    return count;
}

bool TsSkinProvider::CursorOnMenuLine() const {
    if (FForm == nullptr || !FForm->HandleAllocated() || !MenuPresent()) return false;
    user::POINT cursor {};
    if (!user::GetCursorPos(&cursor)) return false;
    return FGeometry.OnMenuLine(CursorToPoint(TPoint {cursor.x, cursor.y}));
}

void TsSkinProvider::WMNCHitTest(TMessage& message) {
    if (!FGeometry.HasBorder()) {
        CallOld(message);
        return;
    }
    const LRESULT entry = message.Result;
    int code = HitTest(message.LParam);
    if (code == 0 && entry != 0) code = int(entry);
    if (code == 0 || code == htCaption) {
        CallOld(message);
        SetHotHT(0);
        FBorderDrag.LatchBorder(int(message.Result));
        return;
    }
    message.Result = code;
    FBorderDrag.LatchBorder(code);
}

void TsSkinProvider::SetHotHT(int code) {
    // A bar item left drawn hot goes back to normal once the mouse is off the menu line; while the menu is
    // in use (its popup open, or the bar selected from the keyboard) it stays hot wherever the mouse is.
    if (HotMenuLineItem() != nullptr && !CursorOnMenuLine() && !user::InMenuLoop()) ClearHotMenuItem();
    FCaptionButtons->SetHot(code);
}

// ---------------------------------------------------------------------------------------------------------
// Clicks

void TsSkinProvider::WMNCLButtonDown(TMessage& message) {
    const int code = int(message.WParam);
    if (code == htTitleIcon) {
        if (!FSkinData->SkinManager()->SkinnedPopups()) {
            CallOld(message);
            return;
        }
        SetHotHT(0);
        DropSysMenuAtIcon();
        return;
    }
    switch (code) {
    case htMinimize:
    case htMaximize:
    case htClose:
    case htHelp:
    case htMdiClose:
    case htMdiRestore:
    case htMdiMinimize:
        SetPressedHT(code);
        return;
    default:
        break;
    }
    if (code >= htTitleButton) {
        if (FCaptionButtons->TitleButtonDown(code, message.LParam)) return;
    }
    if (FGeometry.Iconic()) {
        FForm->Perform(user::WM_SYSCOMMAND, user::SC_DRAGMOVE, 0);
        return;
    }
    SetHotHT(0);
    const TPoint p = CursorToPoint(PointFromLParam(message.LParam));
    if (FGeometry.Maximized() && p.y <= SysBorderHeight() + CaptionHeight()) {
        if (!FForm->Active()) FForm->SetFocus();
        return;
    }
    if (FBorderDrag.StartFromPress(message)) return;   // the system's own loop is not started next to the outline
    CallOld(message);
}

void TsSkinProvider::WMNCLButtonUp(TMessage& message) {
    if (FBorderDrag.EndFromRelease(message)) {
        message.WParam = 0;
        return;
    }
    // WM_LBUTTONUP carries key flags, not a hit code: its release is never a caption button's.
    const int code = message.Msg == user::WM_NCLBUTTONUP ? int(message.WParam) : 0;
    const user::HWND hwnd = FForm->WindowHandle();
    if (FMdi.ButtonUp(code)) {
        message.WParam = 0;
        return;
    }
    switch (code) {
    case htHelp:
        if (CaptionButtonDown()) {
            user::SendMessage(hwnd, user::WM_SYSCOMMAND, user::SC_CONTEXTHELP, 0);
            SetHotHT(0);
            if (FSystemMenu != nullptr) FSystemMenu->UpdateItems();
            FForm->Perform(user::WM_NCPAINT, 0, 0);
        } else {
            SetHotHT(0);
        }
        break;
    case htMinimize: {
        const TPoint p = CursorToPoint(PointFromLParam(message.LParam));
        const TRect& r = FCaptionButtons->Button(cbMinimize).Rect;
        if (CaptionButtonDown() && r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom) {
            SetHotHT(0);
            if (Application != nullptr && Application->MainForm() == FForm)
                Application->Minimize();
            else
                user::SendMessage(
                    hwnd, user::WM_SYSCOMMAND, FGeometry.Iconic() ? user::SC_RESTORE : user::SC_MINIMIZE, 0);
        } else if (CaptionButtonDown()) {
            CallOld(message);
        } else {
            SetHotHT(0);
        }
        break;
    }
    case htMaximize:
        if (FGeometry.Iconic() && !CanMaximize()) break;
        if (CaptionButtonDown()) {
            if (FMdi.IsChild() && TsMdiChrome::LiveParent() != nullptr)
                TsMdiChrome::LiveParent()->SkinData()->BeginUpdate();
            SetHotHT(0);
            message.WParam = 0;
            TComponentWatch self(this);   // the form may go while the command and the queue run
            if (FGeometry.Maximized()) {
                if (!FMdi.IsChild()) FForm->SetWindowState(wsNormal);
                user::SendMessage(hwnd, user::WM_SYSCOMMAND, user::SC_RESTORE, 0);
            } else {
                if (!FMdi.IsChild()) FForm->SetWindowState(wsMaximized);
                user::SendMessage(hwnd, user::WM_SYSCOMMAND, user::SC_MAXIMIZE, 0);
            }
            if (!self.Alive()) return;
            if (Application != nullptr) Application->ProcessMessages();
            if (!self.Alive()) return;
            if (FSystemMenu != nullptr) FSystemMenu->UpdateItems();
        } else {
            SetHotHT(0);
        }
        break;
    case htClose:
        if (CaptionButtonDown()) {
            FCaptionButtons->Button(cbClose).State = 0;
            user::SendMessage(hwnd, user::WM_SYSCOMMAND, user::SC_CLOSE, 0);
        }
        break;
    default:
        if (code >= htTitleButton && FCaptionButtons->TitleButtonUp(code, message.LParam)) break;
        if (FGeometry.Iconic() && MDISkinProvider() != nullptr && FSkinData->SkinManager()->SkinnedPopups()) {
            // The menu at the pointer (the screen point, as the message gives it).
            const TPoint p = PointFromLParam(message.LParam);
            DropSysMenu(p.x, p.y);
            break;
        }
        CallOld(message);
        break;
    }
    message.WParam = 0;
}

void TsSkinProvider::WMNCLButtonDblClk(TMessage& message) {
    FBorderDrag.EndFromRelease(message);
    const int code = int(message.WParam);
    if (code == htTitleIcon) {
        FForm->Close();
        return;
    }
    if (code != htCaption) return;
    if (CanMaximize() || CanRestore()) {
        const user::HWND hwnd = FForm->WindowHandle();
        message.WParam = 0;
        TComponentWatch self(this);
        if (FGeometry.Maximized() || FGeometry.Iconic()) {
            user::SendMessage(hwnd, user::WM_SYSCOMMAND, user::SC_RESTORE, 0);
        } else {
            if (!FMdi.IsChild()) FForm->SetWindowState(wsMaximized);
            user::SendMessage(hwnd, user::WM_SYSCOMMAND, user::SC_MAXIMIZE, 0);
        }
        if (self.Alive() && FSystemMenu != nullptr) FSystemMenu->UpdateItems();
    }
    message.WParam = 0;
}

// A right-click on the title band (caption or icon) pops up the skinned menu where it was released, while the
// manager skins popups; otherwise the window layer shows its own window menu.
void TsSkinProvider::WMNCRButton(TMessage& message) {
    const TsSkinManager* manager = FSkinData->SkinManager();
    const bool skinnedPopups = manager != nullptr && manager->SkinnedPopups();
    const int code = int(message.WParam);
    const bool titleBand = code == htCaption || code == htTitleIcon;
    if (!skinnedPopups || (message.Msg == user::WM_NCRBUTTONDOWN && !titleBand)) {
        CallOld(message);
        return;
    }
    if (message.Msg != user::WM_NCRBUTTONUP || !titleBand) return;
    SetHotHT(0);
    const TPoint p = PointFromLParam(message.LParam);
    DropSysMenu(p.x, p.y);
}

}
