// TsSkinableMenus: the open popup's picture (section, border, extra line, icon band), the popup window's
// subclass with its border bands or shape, and the popup notification's item look-up.
#include "skin/windows/sSkinMenus_State.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Text.h"
#include "platform/user/Menus.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

namespace menustate {

PopupState& State() {
    static PopupState state;
    return state;
}

}

using menustate::State;

TBitmap* PopupBitmap() {
    return State().Bitmap.get();
}

void ResetPopupCache() {
    auto& s = State();
    s.FirstItemId = 0;
    s.Bitmap.reset();
    s.ExtraLineVisible = false;
    s.ExtraLineRead = false;
}

void FreePopupBitmap() {
    State().Bitmap.reset();
}

user::UINT CachedFirstItemId() {
    return State().FirstItemId;
}

void SetCachedFirstItemId(user::UINT id) {
    State().FirstItemId = id;
}

TsMenuItemType CurrentItemKind() {
    return State().ItemKind;
}

void SetCurrentItemKind(TsMenuItemType kind) {
    State().ItemKind = kind;
}

bool TsSkinableMenus::HasPopupState() const {
    return PopupBitmap() != nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Extra line

int TsSkinableMenus::ExtraLineWidth(bool reduced) {
    if (FManager == nullptr || !FManager->MenuSupport()->UseExtraLine() || !State().ExtraLineVisible) return 0;
    int width = FManager->MenuSupport()->ExtraLineWidth();
    if (reduced && SkinBorderWidth() < FBorderWidth) width -= FBorderWidth - SkinBorderWidth();
    return width;
}

void TsSkinableMenus::ReadExtraLineData(TMenuItem* firstItem) {
    auto& s = State();
    if (s.ExtraLineAsking || s.ExtraLineRead || firstItem == nullptr) return;
    if (firstItem->Name() == "SkinSelectItem") {   // the skin list of the skinned system menu
        s.ExtraLineVisible = false;
        return;
    }
    s.ExtraLineAsking = true;
    s.ExtraLineSection = "EXTRALINE";
    s.ExtraLineGlyph.reset();
    s.ExtraLineCaption = "Don`t forget OnGetExtraLineData event...";
    s.ExtraLineVisible = true;
    if (FManager != nullptr && FManager->OnGetMenuExtraLineData) {
        TBitmap* glyph = nullptr;
        FManager->OnGetMenuExtraLineData(firstItem, s.ExtraLineSection, s.ExtraLineCaption, glyph, s.ExtraLineVisible);
        s.ExtraLineGlyph.reset(glyph);   // the handler hands the glyph over
    }
    s.ExtraLineCaption.erase(std::remove(s.ExtraLineCaption.begin(), s.ExtraLineCaption.end(), '&'),
        s.ExtraLineCaption.end());
    if (!s.ExtraLineVisible) s.ExtraLineGlyph.reset();
    s.ExtraLineRead = true;
    s.ExtraLineAsking = false;
}

// The band: its section, the glyph near its bottom and the caption written upwards above it.
void TsSkinableMenus::PaintExtraLine(int height) {
    auto& s = State();
    const int border = SkinBorderWidth();
    const int width = FManager->MenuSupport()->ExtraLineWidth();
    const int bandHeight = height - 2 * border;
    if (width <= 0 || bandHeight <= 0) return;
    auto band = NewBitmap24(width, bandHeight);
    const int index = FManager->GetSkinIndex(s.ExtraLineSection);
    PaintSection(index, s.ExtraLineSection, EmptyCacheInfo, true, 0, TRect {0, 0, width, bandHeight}, TPoint {0, 0},
        band.get(), FManager);
    int bottomSpace = 12;
    if (s.ExtraLineGlyph != nullptr && !s.ExtraLineGlyph->Empty()) {
        bottomSpace = s.ExtraLineGlyph->Height() + 20;
        band->Canvas()->Draw((width - s.ExtraLineGlyph->Width()) / 2, bandHeight - 12 - s.ExtraLineGlyph->Height(),
            s.ExtraLineGlyph.get());
    }
    if (!s.ExtraLineCaption.empty()) {
        TFont font;
        font.Assign(FManager->MenuSupport()->ExtraLineFont());
        gdi::LOGFONT lf = font.LogFont();
        lf.lfHeight = font.Size();   // the size as the cell height
        lf.lfWeight = 400;
        lf.lfEscapement = -2700;   // reads upwards
        lf.lfOrientation = -2700;
        gdi::GdiHandle<gdi::Font> turned(gdi::CreateFontIndirect(lf));
        const gdi::HDC dc = band->Canvas()->Handle();
        const gdi::HFONT old = gdi::SelectObject(dc, turned.Get());
        gdi::SIZE extent {};
        gdi::GetTextExtentPoint32(dc, s.ExtraLineCaption, &extent);
        gdi::SetBkMode(dc, gdi::TRANSPARENT);
        const TColor color = index >= 0 && FManager->IsValidSkinIndex(index)
            ? FManager->Sections[std::size_t(index)].FontColor[1]
            : clWindowText;
        gdi::SetTextColor(dc, ColorToRGB(color));
        gdi::TextOut(dc, (width - extent.cy) / 2, bandHeight - bottomSpace, s.ExtraLineCaption);
        gdi::SelectObject(dc, old);
    }
    gdi::BitBlt(State().Bitmap->Canvas()->Handle(), border, border, width, bandHeight, band->Canvas()->Handle(), 0, 0,
        gdi::SRCCOPY);
    s.ExtraLineGlyph.reset();
}

// ---------------------------------------------------------------------------------------------------------
// The picture

void TsSkinableMenus::PreparePopupBitmap(TMenuItem* firstItem, int width, int height, user::HWND window) {
    auto& s = State();
    if (FManager == nullptr || firstItem == nullptr) return;
    if (s.Bitmap != nullptr && firstItem->Command() == s.FirstItemId) return;
    ReadExtraLineData(firstItem);
    s.FirstItemId = firstItem->Command();
    s.Bitmap = NewBitmap24(std::max(1, width), std::max(1, height));
    const int iconBand = FMargin + GetGlyphSize(firstItem, false).cx + FSpacing;
    const int border = SkinBorderWidth();
    const int section = FManager->GetSkinIndex("MAINMENU");
    if (FManager->IsValidSkinIndex(section)) {
        PaintSection(section, "MAINMENU", EmptyCacheInfo, true, 0, TRect {0, 0, width, height}, TPoint {0, 0},
            s.Bitmap.get(), FManager);
        if (FManager->MenuSupport()->UseExtraLine() && s.ExtraLineVisible
            && FManager->IsValidSkinIndex(FManager->GetSkinIndex(s.ExtraLineSection)))
            PaintExtraLine(height);
        const std::string& icoLine = FManager->MenuSupport()->IcoLineSkin();
        const int icoIndex = icoLine.empty() ? -1 : FManager->GetSkinIndex(icoLine);
        if (FManager->IsValidSkinIndex(icoIndex) && height - 2 * border > 0) {
            auto band = NewBitmap24(iconBand, height - 2 * border);
            PaintSection(icoIndex, icoLine, EmptyCacheInfo, true, 0, TRect {0, 0, iconBand, height - 2 * border},
                TPoint {0, 0}, band.get(), FManager);
            gdi::BitBlt(s.Bitmap->Canvas()->Handle(), ExtraLineWidth(false) + border, border, iconBand,
                height - 2 * border, band->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
        }
    }
    FCornerRects.clear();
    const int mask = FManager->GetMaskIndexExact("MAINMENU", "BORDERSMASK");
    if (mask >= 0 && FManager->IsValidImgIndex(mask)) {
        const TsMaskData& m = FManager->Masks[std::size_t(mask)];
        const int pieceHeight = m.Bmp == nullptr ? (m.R.bottom - m.R.top) / (3 * (m.MaskType + 1)) : m.Bmp->Height() / 6;
        CollectCornerTransparentRects(FCornerRects, width, m, 0, false);
        CollectCornerTransparentRects(FCornerRects, width, m, height - pieceHeight, true);
    }
    if (window != nullptr) SkinPopupWindow(window, s.Bitmap.get());
}

// ---------------------------------------------------------------------------------------------------------
// The popup window

namespace {

// The popup window's subclass: the skinned picture is its frame and background.
user::LRESULT PopupWndProc(user::HWND wnd, user::UINT msg, user::WPARAM wParam, user::LPARAM lParam) {
    const auto old = reinterpret_cast<user::WNDPROC>(user::GetWindowLongPtr(wnd, user::GWL_USERDATA));
    switch (msg) {
    case user::WM_DESTROY:
        ResetPopupCache();   // the popup closed: the next one starts afresh
        break;
    case user::WM_ERASEBKGND:
    case user::WM_NCPAINT:
        return 1;
    default:
        break;
    }
    return old != nullptr ? user::CallWindowProc(old, wnd, msg, wParam, lParam) : 0;
}

void CopyBand(gdi::HDC dc, const TBitmap* bmp, int x, int y, int w, int h) {
    if (w > 0 && h > 0) gdi::BitBlt(dc, x, y, w, h, const_cast<TBitmap*>(bmp)->Canvas()->Handle(), x, y, gdi::SRCCOPY);
}

}

void TsSkinableMenus::SkinPopupWindow(user::HWND window) {
    SkinPopupWindow(window, PopupBitmap());
}

void TsSkinableMenus::SkinPopupWindow(user::HWND window, TBitmap* bmp) {
    if (FBusy || window == nullptr || !user::IsWindow(window)) return;
    const auto current = reinterpret_cast<user::WNDPROC>(user::GetWindowLongPtr(window, user::GWL_WNDPROC));
    if (current != &PopupWndProc) {
        user::SetWindowLongPtr(window, user::GWL_USERDATA, reinterpret_cast<user::LONG_PTR>(current));
        user::SetWindowLongPtr(window, user::GWL_WNDPROC, reinterpret_cast<user::LONG_PTR>(&PopupWndProc));
    }
    if (bmp == nullptr) return;
    FBusy = true;
    const int w = bmp->Width();
    const int h = bmp->Height();
    if (FCornerRects.empty()) {
        const gdi::HDC dc = user::GetWindowDC(window);
        if (dc != nullptr) {
            CopyBand(dc, bmp, 0, 0, ExtraLineWidth(false) + 3, h);
            CopyBand(dc, bmp, 3, 0, w - 3, 3);
            CopyBand(dc, bmp, w - 3, 3, 3, h - 3);
            CopyBand(dc, bmp, 3, h - 3, w - 6, 3);
            user::ReleaseDC(window, dc);
        }
    } else {
        gdi::GdiHandle<gdi::Region> shape(gdi::CreateRectRgn(0, 0, w, h));
        for (const TRect& r : FCornerRects) {
            gdi::GdiHandle<gdi::Region> piece(gdi::CreateRectRgn(r.left, r.top, r.right, r.bottom));
            gdi::CombineRgn(shape, shape, piece, gdi::RGN_DIFF);
        }
        user::SetWindowRgn(window, shape.Release(), true);   // the window owns the region now
    }
    FBusy = false;
}

void TsSkinableMenus::SkinPopupOfItem(LPARAM itemId) {
    TMenuItem* item = itemId > 0 && itemId <= 0xFFFF ? FindMenuItemByCommand(user::UINT(itemId)) : nullptr;
    if (item == nullptr || item->Parent() == nullptr) return;   // freed meanwhile: nothing to do
    TMenuItem* parent = item->Parent();
    if (parent->Count() == 0 || parent->Items(0)->Command() != CachedFirstItemId()) return;   // another popup's
    int position = 0;   // the native menu holds the visible items only
    for (int i = 0; i < parent->Count() && parent->Items(i) != item; ++i)
        if (parent->Items(i)->Visible()) ++position;
    user::RECT r {};
    if (!user::GetMenuItemRect(nullptr, parent->Handle(), user::UINT(position), &r)) return;
    const user::HWND window = user::WindowFromPoint({r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2});
    if (window != nullptr) SkinPopupWindow(window, PopupBitmap());
}

}
