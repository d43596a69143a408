// TsCustomListView: the report view's column header, subclassed and painted from the skin ("COLHEADER", else
// "BUTTON") with a hot section under the mouse and a pressed one while the left button holds it.
#include "skin/controls/sListView.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/gdi/BitBlt.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/Header.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sParentCache.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

void TsCustomListView::HookHeader(user::HWND header) {
    if (header == nullptr || header == FHeaderHandle || !UnhookHeader()) return;
    if (FHeaderInstance == nullptr) {
        FHeaderInstance = user::MakeObjectInstance([this](user::HWND, user::UINT msg, WPARAM wParam, LPARAM lParam) {
            TMessage message {msg, wParam, lParam, 0};
            HeaderProc(message);
            return message.Result;
        });
    }
    if (FHeaderInstance == nullptr) return;
    FHeaderHandle = header;
    FHeaderPrevious = user::ProcFromLong(
        user::SetWindowLongPtr(header, user::GWL_WNDPROC, user::LongFromProc(FHeaderInstance)));
}

bool TsCustomListView::UnhookHeader() {
    // Put back only where ours is still the outermost procedure; under another subclass ours stays in the
    // chain (passing everything on once the list is going) until the header's WM_NCDESTROY.
    if (FHeaderHandle != nullptr && user::IsWindow(FHeaderHandle)) {
        if (user::ProcFromLong(user::GetWindowLongPtr(FHeaderHandle, user::GWL_WNDPROC)) != FHeaderInstance)
            return false;
        user::SetWindowLongPtr(FHeaderHandle, user::GWL_WNDPROC, user::LongFromProc(FHeaderPrevious));
    }
    FHeaderHandle = nullptr;
    FHeaderPrevious = nullptr;
    FHotSection = -2;
    FPressedSection = -1;
    return true;
}

user::LRESULT TsCustomListView::CallHeader(const TMessage& m) const {
    if (FHeaderPrevious == nullptr) return 0;
    return user::CallWindowProc(FHeaderPrevious, FHeaderHandle, m.Msg, m.WParam, m.LParam);
}

int TsCustomListView::SectionAt(int x, int y) const {
    const int count = int(user::SendMessage(FHeaderHandle, user::HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        user::RECT r;
        if (user::SendMessage(FHeaderHandle, user::HDM_GETITEMRECT, WPARAM(i), LPARAM(&r)) && x >= r.left
            && x < r.right && y >= r.top && y < r.bottom)
            return i;
    }
    return -2;
}

void TsCustomListView::HeaderProc(TMessage& m) {
    user::HWND header = FHeaderHandle;
    // Inactive, everything goes on as it came (a dead header's handle is never reused: HookHeader and
    // UnhookHeader look whether it still lives).
    if (ViewStyle() != vsReport || !PaintsSkinned(SkinData())) {
        m.Result = CallHeader(m);
        return;
    }
    switch (m.Msg) {
    case user::WM_NCDESTROY:
        m.Result = CallHeader(m);
        FHeaderHandle = nullptr;
        FHeaderPrevious = nullptr;
        return;
    case user::WM_PAINT:
        PaintHeader();
        return;
    case user::WM_ERASEBKGND:
        m.Result = 1;
        return;
    case user::WM_NCHITTEST: {
        m.Result = CallHeader(m);
        if (!ColumnClick() || !FHighlightHeaders) return;
        user::POINT p {short(user::LOWORD(m.LParam)), short(user::HIWORD(m.LParam))};
        user::ScreenToClient(header, &p);
        const int hot = SectionAt(p.x, p.y);
        if (hot != FHotSection) {
            FHotSection = hot;
            user::InvalidateRect(header, nullptr, false);
        }
        return;
    }
    case user::WM_LBUTTONUP:
        if (ColumnClick()) {
            FPressedSection = -1;
            UpdateScrolls();
            FHeaderClick = false;
        }
        m.Result = CallHeader(m);
        return;
    case user::WM_LBUTTONDOWN: {
        m.Result = CallHeader(m);
        if (!ColumnClick() || FHeaderHandle != header) return;
        FHeaderClick = true;
        user::HDHITTESTINFO hit;
        hit.pt = user::POINT {short(user::LOWORD(m.LParam)), short(user::HIWORD(m.LParam))};
        user::SendMessage(header, user::HDM_HITTEST, 0, LPARAM(&hit));
        FPressedSection = (hit.flags & (user::HHT_ONDIVIDER | user::HHT_ONDIVOPEN)) ? -1 : hit.iItem;
        user::RedrawWindow(header, nullptr, nullptr, user::RDW_INVALIDATE);
        return;
    }
    default:
        m.Result = CallHeader(m);
        return;
    }
}

void TsCustomListView::PaintHeader() {
    user::PaintGuard paint(FHeaderHandle);
    if (paint.Dc() == nullptr) return;
    const int count = int(user::SendMessage(FHeaderHandle, user::HDM_GETITEMCOUNT, 0, 0));
    int right = 0;
    for (int i = 0; i < count; ++i) {
        user::RECT r;
        if (!user::SendMessage(FHeaderHandle, user::HDM_GETITEMRECT, WPARAM(i), LPARAM(&r))) continue;
        if (r.right > r.left && r.bottom > r.top) PaintSection(paint.Dc(), r, i);
        right = std::max<int>(right, r.right);
    }
    user::RECT client;
    user::GetClientRect(FHeaderHandle, &client);
    if (right < client.right) PaintSection(paint.Dc(), TRect {right, 0, client.right, client.bottom}, -1);
}

void TsCustomListView::PaintSection(gdi::HDC dc, const TRect& r, int index) {
    TsCommonData* data = SkinData();
    TsSkinManager* manager = data->SkinManager();
    if (manager == nullptr) return;
    const int w = r.Width();
    const int h = r.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(w, h);
    const int state = FPressedSection >= 0 ? (index == FPressedSection ? 2 : 0) : (index == FHotSection ? 1 : 0);
    const std::string section = manager->GetSkinIndex("COLHEADER") >= 0 ? "COLHEADER" : "BUTTON";
    const int skinIndex = manager->GetSkinIndex(section);
    // The list's cache lies behind the header: where the section sits in the list's window.
    TsParentCacheInfo ci;
    if (TBitmap* cache = data->CacheBmp()) {
        user::POINT origin {r.left, r.top};
        user::MapWindowPoints(FHeaderHandle, WindowHandle(), &origin, 1);
        const TPoint client = ClientOffsetInWindow(static_cast<const TWinControl*>(this));
        FillCacheInfo(ci, cache, origin.x + client.x, origin.y + client.y);
    }
    skin::PaintSection(skinIndex, section, ci, true, state, TRect {0, 0, w, h}, TPoint {0, 0}, &bmp, manager);
    TCanvas* canvas = bmp.Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    const int p = state == 2 ? 1 : 0;
    TRect text {0, 1, w, h - 1};
    text.left = 4 + p;
    text.right = text.right - text.left - 4 + p;
    text.top += p;
    text.bottom += p;
    if (index >= 0 && index < Columns()->Count()) {
        TListColumn* column = Columns()->Items(index);
        if (!column->Caption().empty() || column->ImageIndex() >= 0) {
            const unsigned flags = TextAlignFlags(this, column->Alignment()) | gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS;
            TCustomImageList* images = SmallImages();
            if (images != nullptr && column->ImageIndex() >= 0) {
                // The caption moves right whole, beside the image.
                text.left += images->Width();
                text.right += images->Width();
                DrawCaptionText(canvas, column->Caption(), Enabled(), text, flags, skinIndex, state != 0, manager);
                images->Draw(canvas, 4 + p, p, column->ImageIndex(), Enabled());
            } else {
                DrawCaptionText(canvas, column->Caption(), Enabled(), text, flags, skinIndex, state != 0, manager);
            }
        }
    }
    gdi::BitBlt(dc, r.left, r.top, w, h, canvas->Handle(), 0, 0, gdi::SRCCOPY);
}

}
