// TsSkinableMenus: drawing popup items onto the popup picture, dividers, and the top items of a form's menu line.
#include "skin/windows/sSkinMenus_State.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TColor.h"
#include "platform/classes/TControl.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/MessageIds.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBitmapEffects.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"
#include "skin/windows/sSkinProvider.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

constexpr TColor BlendEveryPixel = TColor(0xFF000000);   // BlendBitmapRect leaves no colour out

void Blit(gdi::HDC dest, int x, int y, int w, int h, TBitmap* src, int sx, int sy) {
    if (w > 0 && h > 0 && src != nullptr) gdi::BitBlt(dest, x, y, w, h, src->Canvas()->Handle(), sx, sy, gdi::SRCCOPY);
}

TMenuItem* FirstItemOf(TMenuItem* item) {
    TMenuItem* parent = item->Parent();
    return parent != nullptr && parent->Count() > 0 ? parent->Items(0) : item;
}

// The first and last visible items of the item's popup.
bool IsFirstVisible(TMenuItem* item) {
    TMenuItem* parent = item->Parent();
    for (int i = 0; parent != nullptr && i < parent->Count(); ++i)
        if (parent->Items(i)->Visible()) return parent->Items(i) == item;
    return false;
}

bool IsLastVisible(TMenuItem* item) {
    TMenuItem* parent = item->Parent();
    for (int i = parent != nullptr ? parent->Count() - 1 : -1; i >= 0; --i)
        if (parent->Items(i)->Visible()) return parent->Items(i) == item;
    return false;
}

TMenuItem* NextVisible(TMenuItem* item) {
    TMenuItem* parent = item->Parent();
    bool after = false;
    for (int i = 0; parent != nullptr && i < parent->Count(); ++i) {
        if (after && parent->Items(i)->Visible()) return parent->Items(i);
        if (parent->Items(i) == item) after = true;
    }
    return nullptr;
}

// The check mark's mask: radio items look for "RADIOCHECKED", others for "CHECK"; both fall back to
// "BOXCHECKED".
int CheckMask(TsSkinManager* manager, const TMenuItem* item) {
    int mask = manager->GetMaskIndexExact("GLOBALINFO", item->RadioItem() ? "RADIOCHECKED" : "CHECK");
    if (!manager->IsValidImgIndex(mask)) mask = manager->GetMaskIndexExact("GLOBALINFO", "BOXCHECKED");
    return manager->IsValidImgIndex(mask) ? mask : -1;
}

}

void TsSkinableMenus::DrawItem(TMenuItem* item, TCanvas* canvas, TRect rect, TOwnerDrawState state) {
    if (FManager == nullptr || item->Parent() == nullptr) return;
    TMenuItem* first = FirstItemOf(item);
    if (first->Command() != CachedFirstItemId()) ResetPopupCache();
    SetCurrentItemKind(MenuItemType(item));
    if (TControl* hovered = FManager->HoveredControl()) {
        hovered->Perform(user::WM_MOUSELEAVE, 0, 0);
        FManager->SetHoveredControl(nullptr);
    }
    const user::HWND wnd = user::WindowFromDC(canvas->Handle());
    if (wnd == nullptr) {
        PreparePopupBitmap(first, rect.Width() + 2 * FBorderWidth, PopupItemsHeight(item->Parent()) + 2 * FBorderWidth,
            nullptr);
    } else {
        user::RECT wr {};
        user::GetWindowRect(wnd, &wr);
        PreparePopupBitmap(first, wr.right - wr.left, wr.bottom - wr.top, wnd);
        DrawPopupBands(wnd, item, rect);
    }
    TBitmap* picture = PopupBitmap();
    if (picture == nullptr) return;
    if (wnd == nullptr && Application != nullptr) {
        const user::HWND app = Application->Handle();
        user::MSG waiting {};
        if (app != nullptr && !user::PeekMessage(&waiting, app, WM_ACPOPUPITEM, WM_ACPOPUPWINDOW, user::PM_NOREMOVE))
            user::PostMessage(app, WM_ACPOPUPITEM, 0, LPARAM(item->Command()));   // the id, never the item
    }
    const TsMenuItemType kind = MenuItemType(item);
    if (kind == smDivider) {
        DrawDivider(canvas, rect);
        return;
    }
    if (kind == smCaption) return;
    const gdi::HDC dc = canvas->Handle();
    const int pictureBottom = picture->Height() - 6;
    TMenuItem* next = NextVisible(item);
    if ((next != nullptr && next->Break() != mbNone) || (next == nullptr && rect.bottom < pictureBottom))
        Blit(dc, rect.left, rect.bottom, rect.Width(), pictureBottom - rect.bottom, picture, rect.left + 3,
            rect.bottom + 3);
    if (item->Break() != mbNone) Blit(dc, rect.left - 4, rect.top, 4, pictureBottom, picture, rect.left - 1, rect.top + 3);

    const int extra = ExtraLineWidth(false);
    const int w = rect.Width() - extra;
    const int h = rect.Height();
    if (w <= 0 || h <= 0) return;
    auto bmp = NewBitmap24(w, h);
    const bool enabled = item->Enabled();
    const bool hot = enabled && (state.Contains(odSelected) || state.Contains(odHotLight));
    const TPoint at {rect.left + extra + 3, rect.top + 3};
    Blit(bmp->Canvas()->Handle(), 0, 0, w, h, picture, at.x, at.y);
    const int section = FManager->GetSkinIndex("MENUITEM");
    if (FManager->IsValidSkinIndex(section)) {
        TsParentCacheInfo ci;   // PaintSection places the piece at ci + at
        FillCacheInfo(ci, picture, 0, 0);
        PaintSection(section, "MENUITEM", ci, true, enabled && state.Contains(odSelected) ? 1 : 0, TRect {0, 0, w, h},
            at, bmp.get(), FManager);
    }
    if (state.Contains(odChecked)) {
        const int mask = CheckMask(FManager, item);
        if (mask >= 0) {
            const TSize size = FManager->GetMaskFrameSize(mask);
            DrawMaskStateImage(bmp.get(), TPoint {FMargin, (h - size.cy) / 2},
                enabled && state.Contains(odSelected) ? 1 : 0, FManager->Masks[std::size_t(mask)], 1);
        }
    }
    const TSize glyph = GetGlyphSize(item, false);
    const TMenu* menu = item->GetParentMenu();
    if (!item->HasBitmap() && menu != nullptr && menu->Images() != nullptr && item->ImageIndex() >= 0) {
        const int d = (h - menu->Images()->Height()) / 2;
        menu->Images()->Draw(bmp->Canvas(), d, d, item->ImageIndex(), enabled);
    } else if (item->HasBitmap()) {
        const int d = (h - item->Bitmap()->Height()) / 2;
        bmp->Canvas()->Draw(d, d, item->Bitmap());
    }
    TCanvas* c = bmp->Canvas();
    if (Screen != nullptr) c->Font()->Assign(Screen->MenuFont());
    if (state.Contains(odDefault)) c->Font()->SetStyle(c->Font()->Style() + TFontStyles {fsBold});
    TRect text {glyph.cx + 2 * FMargin + FSpacing, 0, w, h};
    std::string caption = item->Caption();
    unsigned flags = gdi::DT_SINGLELINE | gdi::DT_EXPANDTABS | gdi::DT_NOCLIP | gdi::DT_HIDEPREFIX;
    if (!caption.empty() && caption.front() == '\x08') {
        caption = caption.substr(1) + "      ";
        flags |= gdi::DT_RIGHT;
    } else {
        flags |= FAlignment == taRightJustify ? gdi::DT_RIGHT : FAlignment == taCenter ? gdi::DT_CENTER : gdi::DT_LEFT;
    }
    DrawCaptionText(c, caption, true, text, flags, section, hot, FManager);
    const std::string shortcut = ShortCutToText(item->ShortCut());
    if (!shortcut.empty()) {
        // The item picture already starts right of the extra line: moving the keys left by its width once
        // more would write them over the caption.
        TRect keys {text.left, 0, w - 8, h};
        DrawCaptionText(c, shortcut, true, keys, gdi::DT_SINGLELINE | gdi::DT_RIGHT | gdi::DT_VCENTER, section, hot,
            FManager);
    }
    if (OnDrawItem) OnDrawItem(item, c, TRect {0, 0, w, h}, state, CurrentItemKind());
    if (!enabled) BlendBitmapRect(bmp.get(), 0, 0, picture, TRect {at.x, at.y, at.x + w - 1, at.y + h - 1}, 0.4,
        BlendEveryPixel);
    Blit(dc, rect.left + extra, rect.top, w, h, bmp.get(), 0, 0);
    gdi::SetTextColor(dc, ColorToColorRef(c->Font()->Color()));   // the submenu arrow's colour: the caption's
}

// The border bands of the picture at this item's rows onto the popup's frame.
void TsSkinableMenus::DrawPopupBands(user::HWND wnd, TMenuItem* item, const TRect& r) {
    TBitmap* picture = PopupBitmap();
    if (picture == nullptr) return;
    const gdi::HDC dc = user::GetWindowDC(wnd);
    if (dc == nullptr) return;
    const int b = FBorderWidth;
    const int w = picture->Width();
    if (IsFirstVisible(item)) Blit(dc, 0, 0, w, b, picture, 0, 0);
    if (IsLastVisible(item)) Blit(dc, 0, picture->Height() - b, w, b, picture, 0, picture->Height() - b);
    const int left = b + ExtraLineWidth(false);
    Blit(dc, 0, r.top + b, left, r.Height(), picture, 0, r.top + b);
    Blit(dc, w - b, r.top + b, b, r.Height(), picture, w - b, r.top + b);
    user::ReleaseDC(wnd, dc);
}

void TsSkinableMenus::DrawDivider(TCanvas* canvas, const TRect& r) {
    int mask = -1;
    if (FManager->IsValidSkinIndex(FManager->GetSkinIndex("DIVIDERV")))
        mask = FManager->GetMaskIndexExact("DIVIDERV", "BORDERSMASK");
    else
        mask = FManager->GetMaskIndexExact("TRACKBAR", "SLIDERCHANNEL");
    if (!FManager->IsValidImgIndex(mask)) {
        TRect line = r;
        int width = 1;
        PaintFrame3D(canvas->Handle(), line, ColorToRGB(TColor(0x808080)), ColorToRGB(TColor(0xFFFFFF)), width);
        return;
    }
    auto bmp = NewBitmap24(r.Width(), r.Height());
    // The background is the popup picture when the popup section exists; without one there is none to take.
    TBitmap* picture = FManager->IsValidSkinIndex(FManager->GetSkinIndex("MAINMENU")) ? PopupBitmap() : nullptr;
    if (picture != nullptr)
        Blit(bmp->Canvas()->Handle(), 0, 0, r.Width(), r.Height(), picture, r.left + 3, r.top + 3);
    else   // what the item shows already stays under the mask
        gdi::BitBlt(bmp->Canvas()->Handle(), 0, 0, r.Width(), r.Height(), canvas->Handle(), r.left, r.top, gdi::SRCCOPY);
    const int from = ExtraLineWidth(false) + FMargin + FSpacing;
    const int to = r.Width() - FMargin;
    if (to > from) {
        TsParentCacheInfo ci;
        if (picture != nullptr) FillCacheInfo(ci, picture, r.left + 3, r.top + 3);
        PaintNinePartMask(bmp.get(), TRect {from, 0, to, r.Height()}, true, false, 0, FManager->Masks[std::size_t(mask)],
            ci);
    }
    Blit(canvas->Handle(), r.left, r.top, r.Width(), r.Height(), bmp.get(), 0, 0);
}

void TsSkinableMenus::DrawTopItem(TMenuItem* item, TCanvas* canvas, TRect rect, TOwnerDrawState state) {
    if (FManager == nullptr || item->Name() == "sMDICII") return;
    if (IsLastTopItemBeforeMDIButtons(item)) rect.right -= MDIButtonsRoom;
    TsSkinProvider* provider = MDISkinProvider();
    if (provider == nullptr) {
        TMenu* menu = item->GetParentMenu();
        TCustomForm* form = menu != nullptr ? GetOwnerForm(menu) : nullptr;
        provider = form != nullptr ? GetSkinProvider(form) : nullptr;
    }
    if (provider == nullptr || rect.Width() <= 0 || rect.Height() <= 0) return;
    const int w = rect.Width();
    const int h = rect.Height();
    auto bmp = NewBitmap24(w, h);
    // The menu line's picture starts below the title; items drawn into the form cache come in its coordinates.
    TBitmap* line = provider->MenuLineBmp();
    const int lineTop = provider->CaptionHeight() + provider->SysBorderHeight();
    const TPoint at {rect.left, rect.top >= lineTop ? rect.top - lineTop : rect.top};
    if (line != nullptr) Blit(bmp->Canvas()->Handle(), 0, 0, w, h, line, at.x, at.y);
    const bool enabled = item->Enabled();
    const bool hot = enabled && (state.Contains(odSelected) || state.Contains(odHotLight));
    const int section = FManager->GetSkinIndex("MENUITEM");
    if (FManager->IsValidSkinIndex(section)) {
        TsParentCacheInfo ci;
        if (line != nullptr) FillCacheInfo(ci, line, 0, 0);
        PaintSection(section, "MENUITEM", ci, true, hot ? 1 : 0, TRect {0, 0, w, h}, at, bmp.get(), FManager);
    }
    TCanvas* c = bmp->Canvas();
    if (Screen != nullptr) c->Font()->Assign(Screen->MenuFont());
    TRect text {0, 0, w, h};
    std::string caption = item->Caption();
    if (item->ShortCut() != scNone) caption += ShortCutToText(item->ShortCut());
    DrawCaptionText(c, caption, true, text, gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE, section, hot,
        FManager);
    if (OnDrawItem) OnDrawItem(item, c, TRect {0, 0, w, h}, state, smTopLine);
    if (!enabled && line != nullptr) SumBitmapRect(bmp.get(), line, 102, TRect {at.x, at.y, at.x + w, at.y + h}, TPoint {0, 0});
    Blit(canvas->Handle(), rect.left, rect.top, w, h, bmp.get(), 0, 0);
}

}
