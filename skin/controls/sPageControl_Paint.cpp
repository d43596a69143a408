// TsPageControl: the skinned picture: tabs into the cache or onto the window, the page frame, the full paint, the
// hot tab.
#include "skin/controls/sPageControl.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Painting.h"
#include "platform/user/Window.h"
#include "skin/controls/sUpDown.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>
#include <optional>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

constexpr unsigned CaptionFlags = 7;   // DT_CENTER | DT_RIGHT | DT_VCENTER: centred
constexpr int LeftTabEscapement = -2700;
constexpr int RightTabEscapement = -900;
constexpr TColor DisabledVerticalCaption = 0x808080;

int W(const TRect& r) {
    return r.right - r.left;
}
int H(const TRect& r) {
    return r.bottom - r.top;
}
bool Empty(const TRect& r) {
    return W(r) <= 0 || H(r) <= 0;
}
TRect Moved(TRect r, TPoint by) {
    return TRect {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
}
bool Inside(const TRect& inner, const TRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

void Copy(TBitmap* to, TPoint at, TBitmap* from, const TRect& src) {
    gdi::BitBlt(to->Canvas()->Handle(), at.x, at.y, W(src), H(src), from->Canvas()->Handle(), src.left, src.top, gdi::SRCCOPY);
}

}

struct TsPageControl::TabSkin {
    int Section = -1;
    int Mask = -1;
    int Texture = -1;
    int HotTexture = -1;
    std::string Name;
};

// The tab section by style and side, with the section actually used tested for a background.
TsPageControl::TabSkin TsPageControl::TabSkinOf() const {
    TabSkin skin;
    const TsSkinManager* sm = FCommonData->SkinManager();
    if (sm == nullptr) return skin;
    if (Style() == tsTabs) {
        static const char* const names[] = {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"};
        const int k = int(TabPosition()) + 1;
        skin.Name = names[k - 1];
        skin.Section = sm->ConstData.TabSection[k];
        skin.Mask = sm->ConstData.TabMask[k];
    } else {
        skin.Name = Style() == tsButtons ? "BUTTON" : "SPEEDBUTTON";
        skin.Section = sm->GetSkinIndex(skin.Name);
        skin.Mask = sm->GetMaskIndexExact(skin.Name, "BORDERSMASK");
    }
    if (sm->IsValidSkinIndex(skin.Section)) {
        skin.Texture = sm->GetMaskIndex(skin.Section, skin.Name, "PATTERN");
        skin.HotTexture = sm->GetMaskIndex(skin.Section, skin.Name, "HOTPATTERN");
    }
    return skin;
}

// ---- One tab ---------------------------------------------------------------------------------------------------

void TsPageControl::PaintTab(int pageIndex, int state, TPoint offset, TBitmap* target) {
    TTabSheet* page = Pages(pageIndex);
    TBitmap* cache = FCommonData->CacheBmp();
    TsSkinManager* sm = FCommonData->SkinManager();
    if (page == nullptr || !page->TabVisible() || cache == nullptr || sm == nullptr) return;
    const TRect native = NativeTabRect(pageIndex);
    if (state == tsHotTab && native.left < 0) return;   // scrolled away
    TRect r = SkinTabRect(pageIndex, state == tsActiveTab);
    if (Empty(r)) return;
    const TabSkin skin = TabSkinOf();
    // A background only in a skin with tab sections, where the section used and its mask exist (index 0 is a
    // section too).
    const bool background = sm->ConstData.TabSection[1] >= 0 && sm->IsValidSkinIndex(skin.Section)
        && sm->IsValidImgIndex(skin.Mask);
    if (background) {
        auto t = NewBitmap24(W(r), H(r));
        if (!t) return;
        TsParentCacheInfo ci;
        if (state == tsActiveTab) {
            // The active tab stands over what lies under the control, not over its inactive picture.
            Copy(t.get(), TPoint {0, 0}, cache, r);
            const TRect n = Moved(native, TPoint {-r.left, -r.top});
            const TColor answer = AskControlColor(Parent());
            const TsParentCacheInfo under = GetParentCache(FCommonData.get());
            if (answer != TransparentSkinColor) {
                FillRectSolid(t.get(), n, answer);
            } else if (under.Ready && under.Bmp != nullptr) {
                gdi::BitBlt(t->Canvas()->Handle(), n.left, n.top, W(n), H(n), under.Bmp->Canvas()->Handle(),
                    under.X + Left() + native.left, under.Y + Top() + native.top, gdi::SRCCOPY);
            } else if (Parent() != nullptr) {
                FillRectSolid(t.get(), n, ColorToRGB(Parent()->Color()));
            }
            auto beneath = NewBitmap24Like(t.get());
            if (!beneath) return;
            Copy(beneath.get(), TPoint {0, 0}, t.get(), TRect {0, 0, W(r), H(r)});
            FillCacheInfo(ci, beneath.get(), 0, 0);
            // Its borders from the master bitmap.
            PaintSectionMaster(skin.Section, skin.Name, ci, true, tsActiveTab, TRect {0, 0, W(r), H(r)}, TPoint {0, 0},
                t.get(), sm);
            Copy(target, TPoint {r.left + offset.x, r.top + offset.y}, t.get(), TRect {0, 0, W(r), H(r)});
        } else {
            FillCacheInfo(ci, cache, 0, 0);
            PaintSectionByMask(skin.Section, skin.Mask, skin.Texture, skin.HotTexture, skin.Name, ci, true, state,
                TRect {0, 0, W(r), H(r)}, TPoint {r.left, r.top}, t.get(), sm);
            // Inactive tabs reach into the frame on the top and left sides: that part stays the frame's.
            TRect src {0, 0, W(r), H(r)};
            const TRect frame = PageFrameRect();
            if (TabPosition() == tpTop) src.bottom = std::min(src.bottom, int(frame.top - r.top));
            if (TabPosition() == tpLeft) src.right = std::min(src.right, int(frame.left - r.left));
            if (!Empty(src)) Copy(target, TPoint {r.left + offset.x, r.top + offset.y}, t.get(), src);
        }
    }
    if (OwnerDraw()) {
        if (OnDrawTab) {
            TCanvas* canvas = Canvas();
            gdi::SavedDc saved(target->Canvas()->Handle());
            canvas->SetHandle(target->Canvas()->Handle());
            base::ScopeExit release([canvas] { canvas->SetHandle(nullptr); });
            OnDrawTab(this, page->TabIndex(), Moved(r, offset), state != tsNormalTab);
        }
        return;
    }
    const int section = sm->IsValidSkinIndex(skin.Section) ? skin.Section : FCommonData->SkinIndex;
    PaintTabCaption(pageIndex, state, Moved(r, offset), target, section);
}

void TsPageControl::PaintTabCaption(int pageIndex, int state, TRect r, TBitmap* target, int skinIndex) {
    TTabSheet* page = Pages(pageIndex);
    TsSkinManager* sm = FCommonData->SkinManager();
    TCanvas* canvas = target->Canvas();
    const std::string caption = page->Caption();
    TCustomImageList* images = Images();
    const bool image = images != nullptr && page->ImageIndex() >= 0 && page->ImageIndex() < images->Count();
    const bool focused = Focused();
    if (TabPosition() == tpTop || TabPosition() == tpBottom) {
        canvas->Font()->Assign(Font());
        // Any index up to the last makes room for the image (one below 0 draws none).
        const bool beside = images != nullptr && page->ImageIndex() <= images->Count() - 1;
        if (beside) {
            const int textWidth = canvas->TextExtent(caption).cx;
            const int x = r.left + (W(r) - (textWidth + images->Width() + 8)) / 2;
            images->Draw(canvas, x, r.top + (H(r) - images->Height()) / 2, page->ImageIndex(), true);
            r.left += images->Width();
        }
        DrawCaptionText(canvas, caption, !beside || Enabled(), r, CaptionFlags, skinIndex, state != tsNormalTab, sm);
        if (focused && state == tsActiveTab && !caption.empty())
            PaintFocusDots(canvas, TRect {r.left - 1, r.top, r.right + 1, r.bottom});
        return;
    }
    // Side tabs: the caption turned along the tab.
    const bool left = TabPosition() == tpLeft;
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->Assign(Font());
    canvas->Font()->SetStyle(canvas->Font()->Style() - TFontStyles {fsBold});
    const TSize text = canvas->TextExtent(caption);   // along and across the tab
    canvas->Font()->SetOrientation(left ? LeftTabEscapement : RightTabEscapement);
    TColor color = Font()->Color();
    if (sm != nullptr && sm->IsValidSkinIndex(skinIndex)) {
        const TsGeneralData& s = sm->Sections[std::size_t(skinIndex)];
        color = state != tsNormalTab ? s.HotFontColor[1] : s.FontColor[1];
    }
    canvas->Font()->SetColor(Enabled() ? color : DisabledVerticalCaption);
    if (!left) r = Moved(r, TPoint {-2, -1});
    if (left && image && state == tsActiveTab) r = Moved(r, TPoint {2, 0});
    TPoint origin;
    int imageY = 0;
    if (image) {
        const int ih = images->Height();
        const int ix = r.left + (W(r) - images->Width()) / 2;
        if (left) {
            imageY = r.bottom - (H(r) - (ih + 4 + text.cx)) / 2 - ih;
            origin = TPoint {r.left + (W(r) - text.cy) / 2, imageY - 4};
        } else {
            imageY = r.top + (H(r) - (ih + 4 + text.cx)) / 2;
            origin = TPoint {r.left + (W(r) - text.cy) / 2 + text.cy, imageY + ih + 4};
        }
        images->Draw(canvas, ix, imageY, page->ImageIndex(), Enabled());
    } else if (left) {
        origin = TPoint {r.left + (W(r) - text.cy) / 2, r.bottom - (H(r) - text.cx) / 2};
    } else {
        origin = TPoint {r.left + (W(r) - text.cy) / 2 + text.cy, r.top + (H(r) - text.cx) / 2};
    }
    canvas->TextRect(r, origin.x, origin.y, caption);
    canvas->Font()->Assign(Font());
    if (focused && state != tsNormalTab) {
        TRect f = r;
        const int dx = (text.cy - W(r)) / 2, dy = (text.cx - H(r)) / 2 + 2;
        f.left -= dx, f.right += dx, f.top -= dy, f.bottom += dy;
        if (image) f = Moved(f, TPoint {0, (left ? -1 : 1) * (images->Height() + 4) / 2});
        PaintFocusDots(canvas, f);
    }
}

void TsPageControl::PaintTabToDC(int pageIndex, int state, gdi::HDC dc) {
    const TRect r = SkinTabRect(pageIndex, state == tsActiveTab);
    TBitmap* cache = FCommonData->CacheBmp();
    if (Empty(r) || cache == nullptr || dc == nullptr) return;
    auto t = NewBitmap24(W(r), H(r));
    if (!t) return;
    Copy(t.get(), TPoint {0, 0}, cache, r);
    PaintTab(pageIndex, state, TPoint {-r.left, -r.top}, t.get());
    gdi::BitBlt(dc, r.left, r.top, W(r), H(r), t->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

void TsPageControl::PaintAllTabs(TBitmap* cache) {
    if (ControlDestroying(this)) return;
    const TRect strip = TabStripRect();
    const TsParentCacheInfo ci = GetParentCache(FCommonData.get());
    if (ci.Ready && ci.Bmp != nullptr) {
        gdi::BitBlt(cache->Canvas()->Handle(), strip.left, strip.top, W(strip), H(strip), ci.Bmp->Canvas()->Handle(),
            ci.X + Left() + strip.left, ci.Y + Top() + strip.top, gdi::SRCCOPY);
    } else if (Parent() != nullptr) {
        FillRectSolid(cache, strip, ColorToRGB(Parent()->Color()));
    }
    // Rows from the outer edge inward: inner rows lie over outer ones.
    const int rows = std::max(1, RowCount());
    for (int row = 1; row <= rows; ++row)
        for (int i = 0; i < PageCount(); ++i)
            if (Pages(i)->TabVisible() && TabRow(i) == row) PaintTab(i, tsNormalTab, TPoint {0, 0}, cache);
}

// ---- The whole control -----------------------------------------------------------------------------------------

void TsPageControl::RenderCache() {
    TsCommonData* data = FCommonData.get();
    TsSkinManager* sm = data->SkinManager();
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr || sm == nullptr) return;
    static const char* const suffixes[] = {"", "BOTTOM", "LEFT", "RIGHT"};
    FFrameSection = data->SkinSection() + suffixes[int(TabPosition())];
    const int sideIndex = sm->GetSkinIndex(FFrameSection);
    if (sm->IsValidSkinIndex(sideIndex)) {
        data->SkinIndex = sideIndex;
    } else {
        // A skin without the side's own frame: the control's section.
        data->SkinIndex = sm->GetSkinIndex(data->SkinSection());
        FFrameSection = data->SkinSection();
    }
    const int frameIndex = data->SkinIndex;
    TsParentCacheInfo ci = GetParentCache(data);
    if (TabCount() > 0) PaintAllTabs(cache);
    const TRect frame = PageFrameRect();
    // The frame's transparent background shows the parent's own colour.
    ci.ParentAnswer = Parent() != nullptr ? ColorToRGB(Parent()->Color()) : TransparentSkinColor;
    PaintSection(frameIndex, FFrameSection, ci, false, 0, frame, TPoint {Left() + frame.left, Top() + frame.top}, cache,
        sm);
    data->BGChanged = false;
}

void TsPageControl::FullPaint(gdi::HDC dc) {
    TsCommonData* data = FCommonData.get();
    bool parentIncomplete = false;
    if (Parent() != nullptr) parentIncomplete = QuerySkinCommand(Parent(), SMC_ISCACHEINCOMPLETE);
    data->BGChanged = data->BGChanged || data->CacheIncomplete || parentIncomplete;
    data->CacheIncomplete = OutsideParentClient(this, 0);
    const bool render = data->BGChanged && !data->PaintMark;
    if (render) RenderCache();
    if (data->CacheBmp() == nullptr || !IsControlPaintable(this)) return;
    TTabSheet* active = TPageControl::ActivePage();
    const int activeIndex = active != nullptr ? active->PageIndex() : -1;
    const TRect activeRect = TabCount() > 0 && activeIndex >= 0 ? SkinTabRect(activeIndex, true) : TRect {};
    {
        gdi::SavedDc saved(dc);
        if (!Empty(activeRect))
            gdi::ExcludeClipRect(dc, activeRect.left, activeRect.top, activeRect.right, activeRect.bottom);
        BlitCacheExcludingChildren(this, data, TPoint {0, 0}, TPoint {0, 0}, false, dc, TRect {0, 0, Width(), Height()});
        ComposeGraphicChildren(dc, this);
    }
    if (!Empty(activeRect)) PaintTabToDC(activeIndex, tsActiveTab, dc);
    if (FHotTab >= 0 && FHotTab != activeIndex) {
        // A hot tab keeps its look through a full paint.
        gdi::SavedDc saved(dc);
        if (!Empty(activeRect))
            gdi::ExcludeClipRect(dc, activeRect.left, activeRect.top, activeRect.right, activeRect.bottom);
        PaintTabToDC(FHotTab, tsHotTab, dc);
    }
    if (active != nullptr) active->Perform(user::WM_PAINT, 0, 0);
    NotifyChildrenUpdated(this);
    FPaintedTabCount = VisibleTabCount();
}

void TsPageControl::SkinWMPaint(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    if (Parent() != nullptr && ControlDestroying(Parent())) return;
    // The update region before BeginPaint validates it: a hot tab alone is repainted only when nothing else is due.
    TRect update {};
    const bool hotOnly = m.WParam == 0 && FHotTab >= 0 && HandleAllocated()
        && user::GetUpdateRect(WindowHandle(), &update, false) && Inside(update, SkinTabRect(FHotTab, false));
    ContainerWMPaint(this, nullptr, m, [&](gdi::HDC dc) {
        data->SetUpdating(data->IsUpdating());
        if (data->Updating || FTabSizeChanging) return;
        if (hotOnly) {
            PaintSingleTab(FHotTab, tsActiveTab);
            return;
        }
        FullPaint(dc);
    });
}

// ---- Hot tracking ----------------------------------------------------------------------------------------------

void TsPageControl::PaintSingleTab(int pageIndex, int state) {
    if (!HandleAllocated() || FCommonData->CacheBmp() == nullptr) return;
    const user::HWND wnd = WindowHandle();
    user::PAINTSTRUCT ps {};
    user::BeginPaint(wnd, &ps);
    base::ScopeExit endPaint([wnd, &ps] { user::EndPaint(wnd, &ps); });
    const gdi::HDC dc = user::GetDC(wnd);
    if (dc == nullptr) return;
    base::ScopeExit release([wnd, dc] { user::ReleaseDC(wnd, dc); });
    const TRect native = NativeTabRect(pageIndex);
    gdi::IntersectClipRect(dc, native.left, native.top, native.right, native.bottom);
    TTabSheet* active = TPageControl::ActivePage();
    const TRect activeRect = active != nullptr ? SkinTabRect(active->PageIndex(), true) : TRect {};
    if (!Empty(activeRect)) gdi::ExcludeClipRect(dc, activeRect.left, activeRect.top, activeRect.right, activeRect.bottom);
    PaintTabToDC(pageIndex, state, dc);
}

void TsPageControl::TrackHotTab(TPoint p, TMessage& m) {
    const TRect strip = TabStripRect();
    const bool inStrip = p.x >= strip.left && p.x < strip.right && p.y >= strip.top && p.y < strip.bottom;
    if (!inStrip) {
        if (FHotTab >= 0) PaintSingleTab(FHotTab, tsNormalTab);
        FHotTab = -1;
        if (!CommonWndProc(m, FCommonData.get())) TPageControl::WndProc(m);
        return;
    }
    if (Application != nullptr) Application->CancelHint();
    const int t = TabAtPoint(p);
    if (t == FHotTab) {
        if (!CommonWndProc(m, FCommonData.get())) TPageControl::WndProc(m);
        return;
    }
    if (FHotTab >= 0) PaintSingleTab(FHotTab, tsNormalTab);
    if (!CommonWndProc(m, FCommonData.get())) TPageControl::WndProc(m);
    FHotTab = t;
    if (t < 0) return;
    TTabSheet* active = TPageControl::ActivePage();
    if (active != nullptr && active->PageIndex() == t) {
        FHotTab = -1;
        return;
    }
    PaintSingleTab(t, tsHotTab);
    Perform(SM_SKINCMD, SkinCommandWParam(SMC_PREPAREFADE), 0);
}

void TsPageControl::LeaveHotTab() {
    TTabSheet* active = TPageControl::ActivePage();
    if (FHotTab < 0 || (active != nullptr && active->PageIndex() == FHotTab)) return;
    PaintSingleTab(FHotTab, tsNormalTab);
    FHotTab = -1;
}

// The strip (rows may have moved, the strip scrolled) rendered into the cache and shown with 2 rows of the frame
// beside it, the active tab over it, the page repainted; another number of tabs paints everything.
void TsPageControl::ActiveChanged() {
    FHotTab = -1;
    TsCommonData* data = FCommonData.get();
    if (data->IsUpdating()) return;
    data->SetUpdating(false);
    TTabSheet* active = TPageControl::ActivePage();
    if (VisibleTabCount() != FPaintedTabCount) {
        Perform(user::WM_PAINT, 0, 0);
        if (active != nullptr) active->Repaint();
        PositionScroller();
        return;
    }
    data->BGChanged = false;
    if (active == nullptr) {
        data->Invalidate();
        return;
    }
    TBitmap* cache = data->CacheBmp();
    if (cache != nullptr && HandleAllocated()) {
        if (TabCount() > 0) PaintAllTabs(cache);
        TRect strip = TabStripRect();
        switch (TabPosition()) {
        case tpTop: strip.bottom += 2; break;
        case tpBottom: strip.top -= 2; break;
        case tpLeft: strip.right += 2; break;
        case tpRight: strip.left -= 2; break;
        }
        const user::HWND wnd = WindowHandle();
        const gdi::HDC dc = user::GetDC(wnd);
        if (dc != nullptr) {
            base::ScopeExit release([wnd, dc] { user::ReleaseDC(wnd, dc); });
            BlitCacheExcludingChildren(this, data, TPoint {strip.left, strip.top}, TPoint {0, 0}, false, dc, strip);
            PaintTabToDC(active->PageIndex(), tsActiveTab, dc);
        }
    }
    active->Repaint();
    PositionScroller();
}

void TsPageControl::PaintFrameFromCache() {
    TsCommonData* data = FCommonData.get();
    TBitmap* cache = data->CacheBmp();
    TTabSheet* active = TPageControl::ActivePage();
    if (cache == nullptr || active == nullptr || !HandleAllocated()) return;
    const user::HWND wnd = WindowHandle();
    const gdi::HDC dc = user::GetWindowDC(wnd);
    if (dc == nullptr) return;
    base::ScopeExit release([wnd, dc] { user::ReleaseDC(wnd, dc); });
    const TRect strip = TabStripRect();
    const TRect page = active->BoundsRect();
    const TRect tab = SkinTabRect(active->PageIndex(), true);
    for (const TRect& r : {strip, page, tab})
        if (!Empty(r)) gdi::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    BlitCacheExcludingChildren(this, data, TPoint {0, 0}, TPoint {0, 0}, false, dc, TRect {0, 0, Width(), Height()});
}

}
