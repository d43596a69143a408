// TsSkinProvider: the form cache (frame, title band, icon, caption buttons, caption text, menu line, grip),
// its frame strips on the window, the client background and the window region.
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/sTitleButtons.h"

#include "platform/classes/SystemIcons.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/SavedDc.h"
#include "platform/gdi/Text.h"
#include "platform/user/Icons.h"
#include "platform/user/Menus.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "skin/engine/sAppIcons.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sRegionUtils.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"
#include "skin/engine/sUtils.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

// Asked once before the first region: a form that answers it keeps its rectangular shape.
inline constexpr UINT NoRegionQuery = 0xBC4D;
inline constexpr WPARAM NoRegionAnswer = 0x41A2;

void CopyRect(gdi::HDC dest, int x, int y, int w, int h, TBitmap* src, int sx, int sy) {
    if (w <= 0 || h <= 0 || src == nullptr) return;
    gdi::BitBlt(dest, x, y, w, h, src->Canvas()->Handle(), sx, sy, gdi::SRCCOPY);
}

}

// ---------------------------------------------------------------------------------------------------------
// The form cache

std::string TsSkinProvider::TitleSkinSection() const {
    return FTitleSkin.empty() ? "FORMTITLE" : FTitleSkin;
}

bool TsSkinProvider::FormChanged() const {
    const TBitmap* cache = FormCache();
    if (cache == nullptr || FForm == nullptr) return false;
    return cache->Width() != FormWidth() || cache->Height() != FForm->Height();
}

void TsSkinProvider::PrepareCache() {
    if (FForm == nullptr || FForm->ControlState().Contains(csCreating) || !FSkinData->BGChanged) return;
    TsSkinManager* manager = FSkinData->SkinManager();
    TBitmap* cache = FSkinData->CacheBmp();
    if (manager == nullptr || cache == nullptr) return;
    const bool iconic = FGeometry.Iconic();
    const TRect formRect {0, 0, FormWidth(), iconic ? CaptionHeight() + SysBorderHeight() + 1 : FForm->Height()};
    const bool sectionValid = manager->IsValidSkinIndex(FSkinData->SkinIndex);
    const bool quick = !FFullRebuild && sectionValid
        && manager->Sections[std::size_t(FSkinData->SkinIndex)].ReservedBoolean && FSavedTitle
        && FSavedTitle->Width() == FormWidth() && cache->Height() == FForm->Height() && FGeometry.HasBorder();
    if (quick) {
        CopyRect(cache->Canvas()->Handle(), 0, 0, FSavedTitle->Width(), FSavedTitle->Height(), FSavedTitle.get(), 0, 0);
        PaintTitle(cache, formRect, false);
    } else {
        FRgnChanged = true;
        cache->SetSize(formRect.right, formRect.bottom);
        if (sectionValid) {
            if (FGeometry.HasBorder())
                RenderControlSkin(
                    FSkinData.get(), EmptyCacheInfo, true, FFormActive ? 1 : 0, formRect, TPoint {0, 0}, cache, false);
            else
                FillSectionBackground(FSkinData->SkinIndex, FSkinData->SkinSection(), EmptyCacheInfo,
                    FFormActive ? 1 : 0, formRect, TPoint {0, 0}, cache, manager, -1, -1, 0xFF00FF);
            const int global = manager->GetSkinIndex("GLOBALINFO");
            const int grip = manager->GetMaskIndex(global, "GLOBALINFO", "GRIPIMAGE");
            if (FGripMode == gmRightBottom && manager->IsValidImgIndex(grip)) {
                const TSize size = manager->GetMaskFrameSize(grip);
                DrawMaskStateImage(cache,
                    TPoint {cache->Width() - size.cx - SysBorderWidth(), cache->Height() - size.cy - SysBorderHeight()},
                    0, manager->Masks[std::size_t(grip)], 1);
            }
            if (manager->Sections[std::size_t(FSkinData->SkinIndex)].ReservedBoolean
                && (!FSavedTitle || FSavedTitle->Width() != FormWidth()))
                StoreTitleBand();
            if (FGeometry.HasBorder()) PaintTitle(cache, formRect, true);
            FMdi.PaintArea(cache);
        }
        FFullRebuild = false;
    }
    FPaintedOnce = true;
    FSkinData->BGChanged = false;
    FSkinData->SetUpdating(false);
}

void TsSkinProvider::StoreTitleBand() {
    TBitmap* cache = FormCache();
    if (!FSavedTitle) FSavedTitle = std::make_unique<TBitmap>();
    FSavedTitle->SetPixelFormat(pf24bit);
    FSavedTitle->SetSize(cache->Width(), CaptionHeight() + SysBorderHeight());
    CopyRect(FSavedTitle->Canvas()->Handle(), 0, 0, FSavedTitle->Width(), FSavedTitle->Height(), cache, 0, 0);
}

// Title section, icon, the buttons' bar, the menu line (not on a repaint of the title alone), the buttons and
// the caption text.
void TsSkinProvider::PaintTitle(TBitmap* cache, const TRect& formRect, bool withMenuLine) {
    TsSkinManager* manager = FSkinData->SkinManager();
    const int state = FFormActive ? 1 : 0;
    const int band = CaptionHeight() + SysBorderHeight();
    const int title = manager->GetSkinIndex(TitleSkinSection());
    if (manager->IsValidSkinIndex(title))
        PaintSection(title, TitleSkinSection(), EmptyCacheInfo, true, state,
            TRect {0, 0, formRect.right, FGeometry.Iconic() ? formRect.bottom : band}, TPoint {0, 0}, cache, manager);
    PaintIcon(cache);
    FCaptionButtons->Place();
    const int barMask = manager->GetMaskIndex(FSkinData->SkinIndex, FSkinData->SkinSection(), "TITLEBAR");
    if (!VisibleButtonCodes().empty() && manager->IsValidImgIndex(barMask)) {   // the user's buttons too
        const TsMaskData& m = manager->Masks[std::size_t(barMask)];
        const int corner = m.Bmp ? m.Bmp->Width() / 9 : m.R.Width() / (std::max(m.ImageCount, 1) * 3);
        const int width = 2 * corner + ButtonsWidth();
        PaintNinePartMask(
            cache, TRect {FormWidth() - width, 0, cache->Width(), band}, true, false, state, m, EmptyCacheInfo);
    }
    if (withMenuLine) PaintMenuLine(cache);
    FCaptionButtons->StoreBackground(cache, HeaderHeight());
    FCaptionButtons->Paint(cache);
    FMdi.PaintButtons(cache);
    PaintCaptionText(cache, formRect);
}

void TsSkinProvider::PaintIcon(TBitmap* cache) {
    if (!IconVisible()) return;
    const TRect r = IconRect();
    const gdi::HDC dc = cache->Canvas()->Handle();
    TBitmap* glyph = FTitleIcon->Glyph();
    if (glyph->Width() > 0 && glyph->Height() > 0) {   // the own icon replaces the form's
        const int w = FTitleIcon->Width() != 0 ? FTitleIcon->Width() : IconSizeFor(HeaderHeight() - 2);
        const int h = FTitleIcon->Height() != 0 ? FTitleIcon->Height() : IconSizeFor(HeaderHeight() - 2);
        glyph->SetTransparentColor(TColor(0xFF00FF));
        glyph->SetTransparent(true);
        cache->Canvas()->StretchDraw(TRect {r.left, r.top, r.left + w, r.top + h}, glyph);
        return;
    }
    TIcon* icon = FForm->Icon();
    if ((icon == nullptr || icon->Empty()) && Application != nullptr) icon = Application->Icon();
    if (icon != nullptr && !icon->Empty()) {
        user::DrawIconEx(dc, r.left, r.top, icon->Handle(), IconWidth(), IconHeight(), 0, nullptr, user::DI_NORMAL);
        return;
    }
    // The program's icons: the large one for a tall title, else the small one, else the system's.
    const int w = FTitleIcon->Width() != 0 ? FTitleIcon->Width() : CaptionHeight() - r.top;
    const int h = FTitleIcon->Height() != 0 ? FTitleIcon->Height() : CaptionHeight() - r.top;
    if (TIcon* app = h > 16 && AppLargeIcon() != nullptr ? AppLargeIcon() : AppSmallIcon())
        user::DrawIconEx(dc, r.left, r.top, app->Handle(), w, h, 0, nullptr, user::DI_NORMAL);
    else
        user::DrawIconEx(
            dc, r.left, r.top, LoadIcon(nullptr, IDI_APPLICATION), IconWidth(), IconHeight(), 0, nullptr, user::DI_NORMAL);
}

void TsSkinProvider::PaintCaptionText(TBitmap* cache, const TRect& formRect) {
    TsSkinManager* manager = FSkinData->SkinManager();
    TCanvas* canvas = cache->Canvas();
    canvas->Font()->Assign(FForm->Font());
    canvas->Font()->SetSize(GetStatusFontHeight());
    canvas->Font()->SetStyle(canvas->Font()->Style() + TFontStyles {fsBold});
    const int iconRight = IconRect().right;
    const std::string text = CutTextToWidth(canvas, FForm->Caption(), formRect.right - iconRight - ButtonsWidth() - 6);
    TRect r;
    r.left = IconWidth() + SysBorderWidth() + 4;
    r.top = SysBorderHeight();
    r.right = formRect.right - ButtonsWidth() - 6;
    r.bottom = CaptionHeight();
    if (text.empty() || r.right <= r.left) return;
    // A title takes no mnemonics: "&" in a caption (a node's name, a folder) shows as typed.
    DrawCaptionText(canvas, text, true, r, TextAlignFlags(FForm, FCaptionAlignment) | gdi::DT_NOPREFIX,
        manager->GetSkinIndex(TitleSkinSection()), FFormActive, manager);
}

int TsSkinProvider::LinesCount() {
    if (FPaintedState >= 1) return FPaintedState;
    int lines = 1;
    TMainMenu* menu = FForm->Menu();
    if (menu != nullptr && FForm->HandleAllocated()) {
        const int limit = FForm->Width() - 2 * SysBorderWidth() - 2 * FForm->BorderWidth();
        int x = SysBorderWidth();
        // The bar's items as they stand on it: an active MDI child's merged ones among them by group.
        const std::vector<TMenuItem*> items = menu->TopItems();
        for (std::size_t i = 0; i < items.size(); ++i) {
            const int w = MenuBarItemWidth(int(i));
            if (w < 0) continue;
            if (x + w > limit && x > SysBorderWidth()) {   // a first item too wide stays on its row, as on the bar
                ++lines;
                x = SysBorderWidth();
            }
            x += w;
        }
    }
    FPaintedState = lines;
    return lines;
}

int TsSkinProvider::MenuLines() const {
    return const_cast<TsSkinProvider*>(this)->LinesCount();
}

// The width the native bar gives its item at a position; -1 past its end.
int TsSkinProvider::MenuBarItemWidth(int position) const {
    TMainMenu* menu = FForm->Menu();
    user::RECT r {};
    if (position < 0 || !user::GetMenuItemRect(FForm->WindowHandle(), menu->Handle(), UINT(position), &r)) return -1;
    return r.Width();
}

// The menu line's background from its section, the top items from the left, each drawn by the skinned menus'
// handler (an item that would pass the right edge starts a new row), and the maximized MDI child's icon.
void TsSkinProvider::PaintMenuLine(TBitmap* cache) {
    TMainMenu* menu = FForm->Menu();
    if (menu == nullptr || !MenuPresent() || MenuHeight() <= 0) return;
    TsSkinManager* manager = FSkinData->SkinManager();
    std::string section = FMenuLineSkin.empty() ? "MENULINE" : FMenuLineSkin;
    int index = manager->GetSkinIndex(section);
    if (!manager->IsValidSkinIndex(index)) {
        section = "MENULINE";
        index = manager->GetSkinIndex(section);
    }
    if (!manager->IsValidSkinIndex(index)) return;
    const int top = CaptionHeight() + SysBorderHeight();
    const int height = LinesCount() * MenuHeight();
    PaintSection(index, section, EmptyCacheInfo, true, FFormActive ? 1 : 0,
        TRect {0, top, cache->Width(), top + height}, TPoint {0, top}, cache, manager);
    FTempBmp->SetSize(FormWidth(), height);
    CopyRect(FTempBmp->Canvas()->Handle(), 0, 0, FormWidth(), height, cache, 0, top + FForm->BorderWidth());
    if (FForm->HandleAllocated()) PaintMenuItems(cache, menu, top);
    // After the items: the first of them would cover it.
    FMdi.PaintMenuIcon(cache);
}

// One item of the menu line at the next place on the bar; the place moves on.
void TsSkinProvider::PaintMenuLineItem(TBitmap* cache, TMenuItem* item, TMenuLinePlace& place) {
    const int limit = FForm->Width() - 2 * SysBorderWidth() - 2 * FForm->BorderWidth();
    const int w = MenuBarItemWidth(place.Drawn);
    if (w < 0) return;
    if (place.X + w > limit && place.X > SysBorderWidth()) {
        place.X = SysBorderWidth();
        place.Y += MenuHeight();
    }
    item->OnAdvancedDrawItem(
        item, cache->Canvas(), TRect {place.X, place.Y, place.X + w, place.Y + MenuHeight()}, TOwnerDrawState {});
    place.X += w;
    ++place.Drawn;
}

// The active MDI child's merged items up to a group (all that are left without one), in their order.
void TsSkinProvider::PaintMDIChildMenuItems(TBitmap* cache, TMainMenu* merged, const int* upToGroup, TMenuLinePlace& place) {
    if (merged == nullptr) return;
    for (; place.NextMerged < merged->Items()->Count(); ++place.NextMerged) {
        TMenuItem* item = merged->Items()->Items(place.NextMerged);
        if (upToGroup != nullptr && item->GroupIndex() > *upToGroup) return;
        if (!item->Visible()) continue;
        place.LastMergedGroup = item->GroupIndex();
        place.MergedDrawn = true;
        if (!item->OnAdvancedDrawItem || !item->OnMeasureItem) {
            ++place.Drawn;   // on the bar all the same
            continue;
        }
        PaintMenuLineItem(cache, item, place);
    }
}

void TsSkinProvider::PaintMenuItems(TBitmap* cache, TMainMenu* menu, int top) {
    TMenuLinePlace place {SysBorderWidth(), top};
    TMainMenu* merged = menu->Merged();
    for (int i = 0; i < menu->Items()->Count(); ++i) {
        TMenuItem* item = menu->Items()->Items(i);
        const int group = item->GroupIndex();
        PaintMDIChildMenuItems(cache, merged, &group, place);
        if (place.MergedDrawn && group == place.LastMergedGroup) continue;   // the child's items stand for it
        if (!item->Visible()) continue;
        if (!item->OnAdvancedDrawItem || !item->OnMeasureItem) {
            ++place.Drawn;
            continue;
        }
        PaintMenuLineItem(cache, item, place);
    }
    PaintMDIChildMenuItems(cache, merged, nullptr, place);
}

// ---------------------------------------------------------------------------------------------------------
// Onto the window

void TsSkinProvider::PaintAll(gdi::HDC dc) {
    if (FForm == nullptr || dc == nullptr) return;
    if (FSkinData->BGChanged) PrepareCache();
    FSkinData->BGChanged = false;
    FSkinData->SetUpdating(false);
    TBitmap* cache = FormCache();
    if (cache == nullptr) return;
    const int t = SysBorderHeight() + CaptionHeight() + (FGeometry.Iconic() ? 1 : 0);
    const int m = MenuPresent() ? LinesCount() * MenuHeight() : 0;
    const int bw = FForm->BorderWidth();
    const int width = FForm->Width();
    const int height = FForm->Height();
    CopyRect(dc, 0, 0, width, HeaderHeight(), cache, 0, 0);
    CopyRect(dc, 0, t + m + bw, SysBorderWidth() + bw, cache->Height(), cache, 0, t + m + bw);
    const int bottomX = SysBorderHeight() + bw;
    const int bottomH = SysBorderHeight() + bw;
    CopyRect(dc, bottomX, height - bottomH, width - bottomX, bottomH, cache, SysBorderWidth() + bw, height - bottomH);
    const int rightX = cache->Width() - SysBorderWidth() - bw;
    CopyRect(dc, rightX, t + m + bw, SysBorderHeight() + bw, cache->Height(), cache, rightX, t + m + bw);
}

// A form without a border but with a sizing frame: four strips of the frame's width from the cache.
void TsSkinProvider::PaintSizingStrips(gdi::HDC dc) {
    if (FForm == nullptr || dc == nullptr) return;
    if (FSkinData->BGChanged) {
        PrepareCache();
        FSkinData->BGChanged = false;
        FSkinData->SetUpdating(false);
    }
    TBitmap* cache = FormCache();
    if (cache == nullptr) return;
    const int s = FForm->BorderWidth() + 3;
    const int w = FForm->Width();
    const int h = FForm->Height();
    CopyRect(dc, 0, 0, w, s, cache, 0, 0);
    CopyRect(dc, 0, s, s, h - 2 * s, cache, 0, s);
    CopyRect(dc, 0, h - s, w, s, cache, 0, h - s);
    CopyRect(dc, w - s, s, s, h - 2 * s, cache, w - s, s);
}

void TsSkinProvider::PaintForm(gdi::HDC dc) {
    if (FSkinData->ComposingChildren || dc == nullptr) return;
    if (FSkinData->AnimChild() != nullptr) {
        PaintAnimChild(dc);
        return;
    }
    if (!FSkinData->PaintMark) PrepareCache();
    BlitCacheExcludingChildren(FForm, FSkinData.get(), TPoint {SysBorderWidth() + FForm->BorderWidth(), OffsetY()},
        TPoint {0, 0}, false, dc, TRect {0, 0, FForm->Width(), FForm->Height()});
    NotifyChildrenUpdated(FForm);
    FSkinData->ComposingChildren = true;
    ComposeGraphicChildren(dc, FForm);
    FSkinData->ComposingChildren = false;
}

// Only the child being animated: over its piece of the form cache unless it paints its whole rectangle.
void TsSkinProvider::PaintAnimChild(gdi::HDC dc) {
    TControl* child = FSkinData->AnimChild();
    bool found = false;
    for (int i = 0; i < FForm->ControlCount() && !found; ++i)
        found = FForm->Controls(i) == child;
    if (!found) return;
    TComponentWatch watch(child);
    FSkinData->ComposingChildren = true;
    const bool themedParent = FForm->ControlStyle().Contains(csParentBackground);
    const bool ownTransparency = child->ControlStyle().Contains(csParentBackground);
    if (themedParent) child->SetControlStyle(child->ControlStyle() + TControlStyle {csParentBackground});
    {
        gdi::SavedDc saved(dc);
        gdi::OffsetWindowOrgEx(dc, -child->Left(), -child->Top(), nullptr);
        gdi::IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
        TBitmap* cache = FormCache();
        if (!child->ControlStyle().Contains(csOpaque) && cache != nullptr) {
            TBitmap under;
            under.SetPixelFormat(pf24bit);
            under.SetSize(child->Width(), child->Height());
            CopyRect(under.Canvas()->Handle(), 0, 0, child->Width(), child->Height(), cache, child->Left() + OffsetX(),
                child->Top() + OffsetY());
            child->Perform(user::WM_PAINT, reinterpret_cast<WPARAM>(under.Canvas()->Handle()), 0);
            if (watch.Alive()) CopyRect(dc, 0, 0, child->Width(), child->Height(), &under, 0, 0);
        } else {
            child->Perform(user::WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        }
    }
    if (watch.Alive() && themedParent && !ownTransparency)
        child->SetControlStyle(child->ControlStyle() - TControlStyle {csParentBackground});
    FSkinData->ComposingChildren = false;
}

void TsSkinProvider::PaintClient() {
    user::PaintGuard paint(FForm->WindowHandle());
    FSkinData->SetUpdating(FSkinData->IsUpdating());
    if (FSkinData->IsUpdating() || FForm->ComponentState().Contains(csDestroying) || paint.Dc() == nullptr) return;
    if (FMdi.ClientPaintWithheld()) return;
    const int saved = gdi::SaveDC(paint.Dc());
    PaintForm(paint.Dc());
    gdi::RestoreDC(paint.Dc(), saved);
}

// ---------------------------------------------------------------------------------------------------------
// The window region

void TsSkinProvider::CollectRgnRects() {
    FRgnRects.clear();
    TsSkinManager* manager = FSkinData->SkinManager();
    if (manager == nullptr || FForm == nullptr) return;
    const int width = FormWidth();
    if (manager->IsValidImgIndex(FSkinData->BorderIndex)) {
        const TsMaskData& m = manager->Masks[std::size_t(FSkinData->BorderIndex)];
        CollectCornerTransparentRects(FRgnRects, width, m, 0, false);
        const int bottom = m.Bmp ? FForm->Height() - m.Bmp->Height() / 6
                                 : FForm->Height() - m.R.Height() / ((std::max(m.MaskType, 0) + 1) * 3);
        CollectCornerTransparentRects(FRgnRects, width, m, bottom, true);
    }
    const int title = manager->GetSkinIndex(TitleSkinSection());
    if (manager->IsValidSkinIndex(title)) {
        const int mask = manager->GetMaskIndex(title, TitleSkinSection(), "BORDERSMASK");
        if (manager->IsValidImgIndex(mask))
            CollectCornerTransparentRects(FRgnRects, width, manager->Masks[std::size_t(mask)], 0, false);
    }
}

void TsSkinProvider::UpdateRgn() {
    if (FForm == nullptr || !FForm->HandleAllocated()) return;
    if (!FPaintedOnce && FForm->Perform(NoRegionQuery, NoRegionAnswer, 0) == LRESULT(NoRegionAnswer)) return;
    FRgnInUpdate = true;
    gdi::HRGN region = gdi::CreateRectRgn(0, 0, FormWidth(), FForm->Height());
    for (const TRect& r : FRgnRects) {
        gdi::HRGN cut = gdi::CreateRectRgn(r.left, r.top, r.right, r.bottom);
        gdi::CombineRgn(region, region, cut, gdi::RGN_DIFF);
        gdi::DeleteObject(cut);
    }
    user::SetWindowRgn(FForm->WindowHandle(), region, true);
}

}
