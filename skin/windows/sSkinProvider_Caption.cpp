// TsSkinProvider: hit testing of the caption elements, their hot and pressed states, and the system commands
// their clicks send.
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/sTitleButtons.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sSkinManager.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

bool ButtonDown = false;

}

TPoint PointFromLParam(LPARAM lParam) {
    return TPoint {int(std::int16_t(lParam & 0xFFFF)), int(std::int16_t((lParam >> 16) & 0xFFFF))};
}

bool CaptionButtonDown() {
    return ButtonDown;
}

int TsSkinProvider::HitTest(LPARAM screenPoint) {
    const TPoint p = CursorToPoint(PointFromLParam(screenPoint));
    PlaceButtons();
    const int bandTop = (BorderHeight() + CaptionHeight() - ButtonHeight()) / 2;
    if (bandTop <= p.y && p.y <= bandTop + ButtonHeight()) {
        const TRect icon = IconRect();
        if (IconVisible() && SysBorderWidth() <= p.x && p.x <= SysBorderWidth() + icon.Width()) {
            SetHotHT(htTitleIcon);
            return htTitleIcon;
        }
        // Each code comes from the same ordered list of visible buttons that ButtonIndexAt counts in.
        const std::vector<int> codes = VisibleButtonCodes();
        const int i = ButtonIndexAt(p.x);
        if (i == 0) return htCaption;
        int code = codes[std::size_t(i - 1)];
        if (const TsTitleButton* user = TitleButtonOfCode(code); user != nullptr && !user->Enabled()) {
            SetHotHT(0);   // a disabled user button is no target and never hot
            return htCaption;
        }
        if (code == htMaximize && !(CanMaximize() || CanRestore())) code = htCaption;
        if (code == htMinimize && !Iconic() && !CanMinimize()) code = htCaption;
        // A disabled maximize or minimize button answers 2 but is still made hot.
        SetHotHT(codes[std::size_t(i - 1)]);
        return code;
    }
    // A maximized child's buttons on the menu line: off them the hot one is kept until the end.
    const int mdi = MdiHitTest(p);
    if (mdi > 0) return mdi;
    if (FGripMode == gmRightBottom) {
        TsSkinManager* manager = FSkinData->SkinManager();
        const int grip = manager->GetMaskIndex(manager->GetSkinIndex("GLOBALINFO"), "GLOBALINFO", "GRIPIMAGE");
        if (manager->IsValidImgIndex(grip) && FormCache() != nullptr) {
            const TSize size = manager->GetMaskFrameSize(grip);
            const int gx = FormCache()->Width() - size.cx - SysBorderWidth();
            const int gy = FormCache()->Height() - size.cy - SysBorderHeight();
            if (p.y > gy && p.x > gx) return htGrip;
        }
    }
    SetHotHT(0);
    if (Maximized()) {
        const TRect inner {2, 2, FForm->Width() - 4, FForm->Height() - 4};
        if (!(inner.left <= p.x && p.x < inner.right && inner.top <= p.y && p.y < inner.bottom)) return htOutside;
    }
    return 0;
}

bool TsSkinProvider::CursorOnMenuLine() const {
    if (FForm == nullptr || !FForm->HandleAllocated() || !MenuPresent()) return false;
    user::POINT cursor {};
    if (!user::GetCursorPos(&cursor)) return false;
    const TPoint p = CursorToPoint(TPoint {cursor.x, cursor.y});
    const int top = CaptionHeight() + SysBorderHeight();
    return top <= p.y && p.y < HeaderHeight() && SysBorderWidth() <= p.x && p.x < FormWidth() - SysBorderWidth();
}

void TsSkinProvider::WMNCHitTest(TMessage& message) {
    if (!HasBorder()) {
        CallOld(message);
        return;
    }
    const LRESULT entry = message.Result;
    int code = HitTest(message.LParam);
    if (code == 0 && entry != 0) code = int(entry);
    if (code == 0 || code == htCaption) {
        CallOld(message);
        SetHotHT(0);
        LatchDragBorder(int(message.Result));
        return;
    }
    message.Result = code;
    LatchDragBorder(code);
}

void TsSkinProvider::SetHotHT(int code) {
    // A bar item left drawn hot goes back to normal once the mouse is off the menu line.
    if (HotMenuLineItem() != nullptr && !CursorOnMenuLine()) ClearHotMenuItem();
    if (code == FHotHT) return;
    if (TsCaptionButton* old = ButtonOfCode(FHotHT)) {
        old->State = 0;
        RepaintButton(FHotHT);
    }
    FHotHT = code;
    ButtonDown = false;
    if (TsCaptionButton* now = ButtonOfCode(code)) {
        now->State = 1;
        RepaintButton(code);
    }
}

void TsSkinProvider::SetPressedHT(int code) {
    if (code != FHotHT && FHotHT != 0) {
        if (TsCaptionButton* old = ButtonOfCode(FHotHT)) {
            old->State = 0;
            RepaintButton(FHotHT);
        }
    }
    FHotHT = code;
    if (TsCaptionButton* now = ButtonOfCode(code)) {
        const bool pressable = code != htMaximize || CanMaximize() || (Maximized() && CanRestore());
        if (pressable) now->State = 2;
    }
    ButtonDown = true;
    RepaintButton(code);
}

// One button redrawn in the form cache over its stored background, then copied to the window.
void TsSkinProvider::RepaintButton(int code) {
    TsCaptionButton* button = ButtonOfCode(code);
    TBitmap* cache = FormCache();
    TsSkinManager* manager = FSkinData->SkinManager();
    if (button == nullptr || cache == nullptr || manager == nullptr || FForm == nullptr || !FForm->HandleAllocated())
        return;
    const TRect r = button->Rect;
    if (r.Width() <= 0 || r.left <= IconRect().right || cache->Width() == 0) return;
    if (code == htMdiClose || code == htMdiRestore || code == htMdiMinimize) {
        RepaintMDIButton(cache, code);
    } else if (FTitleBackground && FTitleBackground->Width() > 0) {
        const int sourceX = r.left + (FTitleBackground->Width() - cache->Width());
        gdi::BitBlt(cache->Canvas()->Handle(), r.left, r.top, r.Width(), r.Height(), FTitleBackground->Canvas()->Handle(),
            sourceX, r.top, gdi::SRCCOPY);
    }
    int mask = button->MaskIndex;
    bool enabled = true;
    if (TsTitleButton* user = TitleButtonOfCode(code)) {
        PaintUserButton(cache, user);
        mask = -1;
    }
    const int global = manager->GetSkinIndex("GLOBALINFO");
    if (code == htMaximize) {
        enabled = Maximized() ? CanRestore() : CanMaximize();
        if (Maximized()) mask = manager->GetMaskIndex(global, "GLOBALINFO", "BICONNORM");
        if (Iconic()) mask = manager->GetMaskIndex(global, "GLOBALINFO", "BICONMAX");
    } else if (code == htMinimize) {
        enabled = Iconic() ? CanRestore() : CanMinimize();
        if (Iconic()) mask = manager->GetMaskIndex(global, "GLOBALINFO", "BICONNORM");
    }
    if (code == htMdiClose || code == htMdiRestore || code == htMdiMinimize) {
        // drawn above
    } else if (manager->IsValidImgIndex(mask)) {
        const bool faded = (!FFormActive || !enabled) && (button->State < 1 || !enabled);
        DrawMaskStateImage(
            cache, TPoint {r.left, r.top}, button->State, manager->Masks[std::size_t(mask)], faded ? 2 : 1);
    }
    const user::HWND hwnd = FForm->WindowHandle();
    const user::HDC dc = user::GetWindowDC(hwnd);
    if (dc == nullptr) return;
    const int saved = gdi::SaveDC(dc);
    gdi::BitBlt(dc, r.left, r.top, r.Width(), r.Height(), cache->Canvas()->Handle(), r.left, r.top, gdi::SRCCOPY);
    gdi::RestoreDC(dc, saved);
    user::ReleaseDC(hwnd, dc);
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
        if (TitleButtonDown(code, message.LParam)) return;
    }
    if (Iconic()) {
        FForm->Perform(user::WM_SYSCOMMAND, user::SC_DRAGMOVE, 0);
        return;
    }
    SetHotHT(0);
    const TPoint p = CursorToPoint(PointFromLParam(message.LParam));
    if (Maximized() && p.y <= SysBorderHeight() + CaptionHeight()) {
        if (!FForm->Active()) FForm->SetFocus();
        return;
    }
    if (StartBorderDrag(message)) return;   // the system's own loop is not started next to the outline
    CallOld(message);
}

void TsSkinProvider::WMNCLButtonUp(TMessage& message) {
    if (EndBorderDrag(message)) return;
    // WM_LBUTTONUP carries key flags, not a hit code: its release is never a caption button's.
    const int code = message.Msg == user::WM_NCLBUTTONUP ? int(message.WParam) : 0;
    const user::HWND hwnd = FForm->WindowHandle();
    if (MdiButtonUp(code)) {
        message.WParam = 0;
        return;
    }
    switch (code) {
    case htHelp:
        if (ButtonDown) {
            SetHotHT(0);
            user::SendMessage(hwnd, user::WM_SYSCOMMAND, user::SC_CONTEXTHELP, 0);
            FForm->Perform(user::WM_NCPAINT, 0, 0);
        } else {
            SetHotHT(0);
        }
        break;
    case htMinimize: {
        const TPoint p = CursorToPoint(PointFromLParam(message.LParam));
        const TRect& r = FButtons[cbMinimize].Rect;
        if (ButtonDown && r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom) {
            SetHotHT(0);
            if (Application != nullptr && Application->MainForm() == FForm)
                Application->Minimize();
            else
                user::SendMessage(hwnd, user::WM_SYSCOMMAND, Iconic() ? user::SC_RESTORE : user::SC_MINIMIZE, 0);
        } else if (ButtonDown) {
            CallOld(message);
        } else {
            SetHotHT(0);
        }
        break;
    }
    case htMaximize:
        if (Iconic() && !CanMaximize()) break;
        if (ButtonDown) {
            SetHotHT(0);
            if (Maximized()) {
                FForm->SetWindowState(wsNormal);
                user::SendMessage(hwnd, user::WM_SYSCOMMAND, user::SC_RESTORE, 0);
            } else {
                FForm->SetWindowState(wsMaximized);
                user::SendMessage(hwnd, user::WM_SYSCOMMAND, user::SC_MAXIMIZE, 0);
            }
        } else {
            SetHotHT(0);
        }
        break;
    case htClose:
        if (ButtonDown) {
            FButtons[cbClose].State = 0;
            ButtonDown = false;
            user::SendMessage(hwnd, user::WM_SYSCOMMAND, user::SC_CLOSE, 0);
        }
        break;
    default:
        if (code >= htTitleButton && TitleButtonUp(code, message.LParam)) break;
        CallOld(message);
        break;
    }
    message.WParam = 0;
}

void TsSkinProvider::WMNCLButtonDblClk(TMessage& message) {
    if (EndBorderDrag(message)) return;
    const int code = int(message.WParam);
    if (code == htTitleIcon) {
        FForm->Close();
        return;
    }
    if (code != htCaption) return;
    if (CanMaximize() || CanRestore()) {
        const user::HWND hwnd = FForm->WindowHandle();
        if (Maximized() || Iconic()) {
            user::SendMessage(hwnd, user::WM_SYSCOMMAND, user::SC_RESTORE, 0);
        } else {
            FForm->SetWindowState(wsMaximized);
            user::SendMessage(hwnd, user::WM_SYSCOMMAND, user::SC_MAXIMIZE, 0);
        }
    }
    message.WParam = 0;
}

// A right-click on the title band (caption or icon) pops up the skinned menu where it was released.
void TsSkinProvider::WMNCRButton(TMessage& message) {
    const int code = int(message.WParam);
    if (code != htCaption && code != htTitleIcon) {
        CallOld(message);
        return;
    }
    if (message.Msg != user::WM_NCRBUTTONUP) return;
    const TPoint p = PointFromLParam(message.LParam);
    DropSysMenu(p.x, p.y);
}

}
