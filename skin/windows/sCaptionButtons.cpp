// TsCaptionButtons: the caption buttons' pictures, visibility, places, hot and pressed states and painting;
// the user's title buttons among them by their hit codes.
#include "skin/windows/sCaptionButtons.h"

#include "platform/base/Assert.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/user/Painting.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sMdiChrome.h"
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/sTitleButtons.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

bool ButtonDown = false;

bool SingleOrSizeable(TFormBorderStyle style) {
    return style == bsSingle || style == bsSizeable;
}

// One state picture of a mask: own bitmaps hold two rows of ImageCount columns.
TSize StatePictureSize(const TsSkinManager* manager, int maskIndex) {
    if (manager == nullptr || !manager->IsValidImgIndex(maskIndex)) return TSize {21, 21};
    const TsMaskData& m = manager->Masks[std::size_t(maskIndex)];
    const int count = std::max(m.ImageCount, 1);
    if (m.Bmp) return TSize {m.Bmp->Width() / count, m.Bmp->Height() / 2};
    return TSize {m.R.Width() / count, m.R.Height() / (std::max(m.MaskType, 0) + 1)};
}

int TitleButtonMaskOf(TsSkinManager* manager, const TsCommonData* data) {
    if (manager == nullptr) return -1;
    const int mask = manager->GetMaskIndex(manager->GetSkinIndex("GLOBALINFO"), "GLOBALINFO", "TITLEBUTTON");
    if (manager->IsValidImgIndex(mask)) return mask;
    return manager->GetMaskIndex(data->SkinIndex, data->SkinSection(), "TITLEBUTTON");
}

bool IsMdiCode(int code) {
    return code == htMdiClose || code == htMdiRestore || code == htMdiMinimize;
}

}

bool CaptionButtonDown() {
    return ButtonDown;
}

TsCaptionButtons::TsCaptionButtons(TsSkinProvider& provider, TsBorderIcons formBorderIcons)
    : FProvider(provider)
    , FFormBorderIcons(formBorderIcons)
    , FBackground(std::make_unique<TBitmap>()) {
    FBackground->SetPixelFormat(pf24bit);
}

TsCaptionButtons::~TsCaptionButtons() = default;

// ---------------------------------------------------------------------------------------------------------
// Codes and records

TsCaptionButton* TsCaptionButtons::OfCode(int code) {
    switch (code) {
    case htMinimize:
        return &FButtons[cbMinimize];
    case htMaximize:
        return &FButtons[cbMaximize];
    case htClose:
        return &FButtons[cbClose];
    case htHelp:
        return &FButtons[cbHelp];
    case htMdiMinimize:
        return &FButtons[cbMdiMinimize];
    case htMdiRestore:
        return &FButtons[cbMdiMaximize];
    case htMdiClose:
        return &FButtons[cbMdiClose];
    default:
        if (TsTitleButton* user = TitleButtonOfCode(code)) return &user->Data;
        return nullptr;
    }
}

const TsCaptionButton* TsCaptionButtons::OfCode(int code) const {
    return const_cast<TsCaptionButtons*>(this)->OfCode(code);
}

TsTitleButton* TsCaptionButtons::TitleButtonOfCode(int code) const {
    const TsTitleButtons* buttons = FProvider.TitleButtons();
    const int i = code - htTitleButton;
    if (i < 0 || i >= buttons->Count()) return nullptr;
    return buttons->Items(i);
}

// ---------------------------------------------------------------------------------------------------------
// Which buttons exist

bool TsCaptionButtons::MaxButtonVisible() const {
    const TCustomForm* form = FProvider.Form();
    if (form == nullptr) return false;
    if (FProvider.FrameGeometry().Iconic()) return true;
    const TFormBorderStyle style = form->BorderStyle();
    const TsBorderIcons icons = FProvider.BorderIcons();
    if (style == bsDialog) return false;
    if (style == bsSingle && !icons.Contains(biMaximize)) return false;
    return SingleOrSizeable(style) && icons.Contains(biSystemMenu);
}

bool TsCaptionButtons::MinButtonVisible() const {
    const TCustomForm* form = FProvider.Form();
    if (form == nullptr) return false;
    if (FProvider.FrameGeometry().Iconic()) return true;
    const TFormBorderStyle style = form->BorderStyle();
    const TsBorderIcons icons = FProvider.BorderIcons();
    if (style == bsDialog || style == bsNone) return false;
    if (style == bsSingle && !icons.Contains(biMinimize)) return false;
    return SingleOrSizeable(style) && icons.Contains(biSystemMenu);
}

bool TsCaptionButtons::CanMaximize() const {
    const TCustomForm* form = FProvider.Form();
    if (form == nullptr) return false;
    const TFormBorderStyle style = form->BorderStyle();
    return FProvider.BorderIcons().Contains(biMaximize) && !FProvider.FrameGeometry().Maximized()
        && (style == bsSingle || style == bsSizeable || style == bsSizeToolWin);
}

bool TsCaptionButtons::CanMinimize() const {
    return FProvider.BorderIcons().Contains(biMinimize) && !FProvider.FrameGeometry().Iconic();
}

bool TsCaptionButtons::CanRestore() const {
    if (FProvider.Form() == nullptr) return false;
    const TsFrameGeometry& g = FProvider.FrameGeometry();
    return (FProvider.BorderIcons().Contains(biMaximize) && (g.Maximized() || g.Iconic())) || g.Iconic();
}

std::vector<int> TsCaptionButtons::VisibleCodes() const {
    std::vector<int> codes;
    if (FProvider.BorderIcons().Contains(biSystemMenu) && FProvider.SystemMenu() != nullptr) {
        codes.push_back(htClose);
        if (MaxButtonVisible()) codes.push_back(htMaximize);
        if (MinButtonVisible()) codes.push_back(htMinimize);
        if (FProvider.BorderIcons().Contains(biHelp)) codes.push_back(htHelp);
    }
    for (int i = 0; i < FProvider.TitleButtons()->Count(); ++i)   // the user's buttons follow, in collection order
        codes.push_back(htTitleButton + i);
    return codes;
}

// ---------------------------------------------------------------------------------------------------------
// Sizes and places

int TsCaptionButtons::ButtonHeight() const {
    return StatePictureSize(FProvider.SkinData()->SkinManager(), FButtons[cbClose].MaskIndex).cy;
}

int TsCaptionButtons::ButtonWidth(const TsCaptionButton& button) const {
    return StatePictureSize(FProvider.SkinData()->SkinManager(), button.MaskIndex).cx;
}

// At least as wide as the skin's title button picture (21 without one), whatever UseSkinData says.
int TsCaptionButtons::UserButtonWidth(const TsTitleButton* button) const {
    const TsCommonData* data = FProvider.SkinData();
    const int mask = TitleButtonMaskOf(data->SkinManager(), data);
    const TsSkinManager* manager = data->SkinManager();
    int picture = 21;
    if (manager != nullptr && manager->IsValidImgIndex(mask)) {
        const TsMaskData& m = manager->Masks[std::size_t(mask)];
        const int count = std::max(m.ImageCount, 1);
        picture = m.Bmp ? m.Bmp->Width() / count : m.R.Width() / count;
    }
    return std::max(button->Glyph()->Width() + 2, picture);
}

int TsCaptionButtons::WidthOfCode(int code) const {
    if (const TsTitleButton* user = TitleButtonOfCode(code)) return UserButtonWidth(user);
    return ButtonWidth(*OfCode(code));
}

int TsCaptionButtons::TotalWidth() const {
    int width = 0;
    for (int code : VisibleCodes())
        width += WidthOfCode(code);
    return width;
}

// Right to left from the frame, without gaps; a hidden button takes no place.
void TsCaptionButtons::Place() {
    for (TsCaptionButton& button : FButtons)
        button.Rect = TRect {};
    UpdateTitleButtonMasks();
    const std::vector<int> codes = VisibleCodes();
    std::vector<int> widths;
    widths.reserve(codes.size());
    for (int code : codes)
        widths.push_back(WidthOfCode(code));
    const std::vector<TRect> rects = FProvider.FrameGeometry().ButtonRects(widths, ButtonHeight());
    KORVEX_ASSERT(rects.size() == codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        TsCaptionButton* button = OfCode(codes[i]);
        KORVEX_ASSERT(button != nullptr);   // every visible code has its record
        button->Rect = rects[i];
    }
}

int TsCaptionButtons::IndexAt(int x) const {
    const std::vector<int> codes = VisibleCodes();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const TRect& r = OfCode(codes[i])->Rect;
        if (r.left <= x && x <= r.right) return int(i) + 1;
    }
    return 0;
}

std::optional<int> TsCaptionButtons::HitTestBand(TPoint p) {
    const TsFrameGeometry& g = FProvider.FrameGeometry();
    if (!g.InButtonBand(p, ButtonHeight())) return std::nullopt;
    if (g.OnTitleIcon(p)) {
        FProvider.SetHotHT(htTitleIcon);
        return htTitleIcon;
    }
    // Each code comes from the same ordered list of visible buttons that IndexAt counts in.
    const std::vector<int> codes = VisibleCodes();
    const int i = IndexAt(p.x);
    if (i == 0) return htCaption;
    int code = codes[std::size_t(i - 1)];
    if (const TsTitleButton* user = TitleButtonOfCode(code); user != nullptr && !user->Enabled()) {
        FProvider.SetHotHT(0);   // a disabled user button is no target and never hot
        return htCaption;
    }
    if (code == htMaximize && !(CanMaximize() || CanRestore())) code = htCaption;
    if (code == htMinimize && !g.Iconic() && !CanMinimize()) code = htCaption;
    // A disabled maximize or minimize button answers 2 but is still made hot.
    FProvider.SetHotHT(codes[std::size_t(i - 1)]);
    return code;
}

// ---------------------------------------------------------------------------------------------------------
// Pictures

// Caption buttons' pictures: the big ones of GLOBALINFO for ordinary frames, the small ones for the rest.
void TsCaptionButtons::UpdateMasks() {
    const TsCommonData* data = FProvider.SkinData();
    TsSkinManager* manager = data->SkinManager();
    if (manager == nullptr) return;
    const TCustomForm* form = FProvider.Form();
    const int global = manager->GetSkinIndex("GLOBALINFO");
    auto globalMask = [&](const char* name) { return manager->GetMaskIndex(global, "GLOBALINFO", name); };
    if (!manager->IsValidImgIndex(globalMask("BICONCLOSE"))) {
        const int own = data->SkinIndex;
        FButtons[cbMinimize].MaskIndex = manager->GetMaskIndex(own, "FORM", "BICONMIN");
        FButtons[cbMaximize].MaskIndex = manager->GetMaskIndex(own, "FORM", "BICONMAX");
        FButtons[cbClose].MaskIndex = manager->GetMaskIndex(own, "FORM", "BICONCLOSE");
        FButtons[cbHelp].MaskIndex = manager->GetMaskIndex(own, "FORM", "BICONHELP");
    } else {
        const bool big = form != nullptr && SingleOrSizeable(form->BorderStyle());
        FButtons[cbMinimize].MaskIndex = globalMask(big ? "BICONMIN" : "SICONMIN");
        FButtons[cbMaximize].MaskIndex = globalMask(big ? "BICONMAX" : "SICONMAX");
        FButtons[cbClose].MaskIndex = globalMask(big ? "BICONCLOSE" : "SICONCLOSE");
        FButtons[cbHelp].MaskIndex = globalMask("BICONHELP");
        if (!manager->IsValidImgIndex(FButtons[cbClose].MaskIndex)) {
            FButtons[cbMinimize].MaskIndex = globalMask("BICONMIN");
            FButtons[cbMaximize].MaskIndex = globalMask("BICONMAX");
            FButtons[cbClose].MaskIndex = globalMask("BICONCLOSE");
        }
    }
    // A parent's buttons for its maximized child: GLOBALINFO's small ones when it holds the caption buttons,
    // else (and when it has no small ones) the parent's own.
    const bool parent = form != nullptr && form->FormStyle() == fsMDIForm;
    const bool ownButtons = manager->IsValidImgIndex(globalMask("BICONCLOSE"));
    FButtons[cbMdiMinimize].MaskIndex = parent && ownButtons ? globalMask("SICONMIN") : -1;
    FButtons[cbMdiMaximize].MaskIndex = parent && ownButtons ? globalMask("SICONMAX") : -1;
    FButtons[cbMdiClose].MaskIndex = parent && ownButtons ? globalMask("SICONCLOSE") : -1;
    if (parent && !manager->IsValidImgIndex(FButtons[cbMdiMinimize].MaskIndex)) {
        FButtons[cbMdiMinimize].MaskIndex = FButtons[cbMinimize].MaskIndex;
        FButtons[cbMdiMaximize].MaskIndex = FButtons[cbMaximize].MaskIndex;
        FButtons[cbMdiClose].MaskIndex = FButtons[cbClose].MaskIndex;
    }
    FTitleButtonMask = globalMask("TITLEBUTTON");
}

void TsCaptionButtons::UpdateTitleButtonMasks() {
    const TsCommonData* data = FProvider.SkinData();
    const int mask = TitleButtonMaskOf(data->SkinManager(), data);
    const TsTitleButtons* buttons = FProvider.TitleButtons();
    for (int i = 0; i < buttons->Count(); ++i) {
        TsTitleButton* b = buttons->Items(i);
        b->Data.MaskIndex = b->UseSkinData() ? mask : -1;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Hot and pressed

void TsCaptionButtons::SetHot(int code) {
    if (code == FHotCode) return;
    if (TsCaptionButton* old = OfCode(FHotCode)) {
        old->State = 0;
        Repaint(FHotCode);
    }
    FHotCode = code;
    ButtonDown = false;
    if (TsCaptionButton* now = OfCode(code)) {
        now->State = 1;
        Repaint(code);
    }
}

void TsCaptionButtons::SetPressed(int code) {
    if (code != FHotCode && FHotCode != 0) {
        if (TsCaptionButton* old = OfCode(FHotCode)) {
            old->State = 0;
            Repaint(FHotCode);
        }
    }
    FHotCode = code;
    if (TsCaptionButton* now = OfCode(code)) {
        const bool pressable
            = code != htMaximize || CanMaximize() || (FProvider.FrameGeometry().Maximized() && CanRestore());
        if (pressable) now->State = 2;
    }
    ButtonDown = true;
    Repaint(code);
}

// ---------------------------------------------------------------------------------------------------------
// Painting

// The strip under the buttons, aligned at the right edge, for repainting one button alone.
void TsCaptionButtons::StoreBackground(TBitmap* cache, int headerHeight) {
    const TsFrameGeometry& g = FProvider.FrameGeometry();
    const int strip = TotalWidth() + g.SysBorderWidth();
    FBackground->SetSize(strip, headerHeight);
    if (strip <= 0 || headerHeight <= 0) return;
    gdi::BitBlt(FBackground->Canvas()->Handle(), 0, 0, strip, headerHeight, cache->Canvas()->Handle(),
        g.FormWidth() - strip, 0, gdi::SRCCOPY);
}

// A caption button's picture from "GLOBALINFO", else from the form's own section.
int TsCaptionButtons::GlobalOrOwnMask(const char* name) const {
    const TsCommonData* data = FProvider.SkinData();
    TsSkinManager* manager = data->SkinManager();
    const int global = manager->GetMaskIndex(manager->GetSkinIndex("GLOBALINFO"), "GLOBALINFO", name);
    return manager->IsValidImgIndex(global) ? global : manager->GetMaskIndex(data->SkinIndex, data->SkinSection(), name);
}

void TsCaptionButtons::Paint(TBitmap* cache) {
    TsSkinManager* manager = FProvider.SkinData()->SkinManager();
    const TsFrameGeometry& g = FProvider.FrameGeometry();
    for (int code : VisibleCodes()) {
        if (TsTitleButton* user = TitleButtonOfCode(code)) {
            PaintUserButton(cache, user);
            continue;
        }
        const TsCaptionButton& button = *OfCode(code);
        int mask = button.MaskIndex;
        bool enabled = true;
        if (code == htMaximize) {
            enabled = g.Maximized() ? CanRestore() : CanMaximize();
            if (g.Maximized()) mask = GlobalOrOwnMask("BICONNORM");
        } else if (code == htMinimize) {
            enabled = g.Iconic() ? CanRestore() : CanMinimize();
            if (g.Iconic()) mask = GlobalOrOwnMask("BICONNORM");
        }
        if (!manager->IsValidImgIndex(mask)) continue;
        DrawMaskStateImage(cache, TPoint {button.Rect.left, button.Rect.top}, button.State,
            manager->Masks[std::size_t(mask)], FProvider.FormActive() && enabled ? 1 : 2);
    }
}

// The mask under the glyph (faded when disabled), the glyph centred, one pixel further while pressed.
void TsCaptionButtons::PaintUserButton(TBitmap* cache, TsTitleButton* button) {
    TsSkinManager* manager = FProvider.SkinData()->SkinManager();
    const TsCaptionButton& data = button->Data;
    if (manager != nullptr && manager->IsValidImgIndex(data.MaskIndex)) {
        const bool faded = !button->Enabled() || !FProvider.FormActive();
        DrawMaskStateImage(cache, TPoint {data.Rect.left, data.Rect.top}, button->Enabled() ? data.State : 0,
            manager->Masks[std::size_t(data.MaskIndex)], faded ? 2 : 1);
    }
    TBitmap* glyph = button->Glyph();
    if (glyph->Width() == 0 || glyph->Height() == 0) return;
    glyph->SetTransparent(true);   // its bottom-left pixel is the transparent colour
    const int shift = data.State == 2 ? 1 : 0;
    const int x = data.Rect.left + (data.Rect.Width() - glyph->Width()) / 2 + shift;
    const int y = data.Rect.top + (data.Rect.Height() - glyph->Height()) / 2 + shift;
    cache->Canvas()->Draw(x, y, glyph);
}

// One button redrawn in the form cache over its stored background, then copied to the window.
void TsCaptionButtons::Repaint(int code) {
    TsCaptionButton* button = OfCode(code);
    TBitmap* cache = FProvider.FormCache();
    TsSkinManager* manager = FProvider.SkinData()->SkinManager();
    TCustomForm* form = FProvider.Form();
    if (button == nullptr || cache == nullptr || manager == nullptr || form == nullptr || !form->HandleAllocated())
        return;
    const TsFrameGeometry& g = FProvider.FrameGeometry();
    const TRect r = button->Rect;
    if (r.Width() <= 0 || r.left <= g.IconRect().right || cache->Width() == 0) return;
    if (IsMdiCode(code)) {
        FProvider.MdiChrome().RepaintButton(cache, code);
    } else if (FBackground->Width() > 0) {
        const int sourceX = r.left + (FBackground->Width() - cache->Width());
        gdi::BitBlt(cache->Canvas()->Handle(), r.left, r.top, r.Width(), r.Height(), FBackground->Canvas()->Handle(),
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
        enabled = g.Maximized() ? CanRestore() : CanMaximize();
        if (g.Maximized()) mask = manager->GetMaskIndex(global, "GLOBALINFO", "BICONNORM");   // "GLOBALINFO" only
        if (g.Iconic()) mask = GlobalOrOwnMask("BICONMAX");
    } else if (code == htMinimize) {
        enabled = g.Iconic() ? CanRestore() : CanMinimize();
        if (g.Iconic()) mask = GlobalOrOwnMask("BICONNORM");
    }
    if (!IsMdiCode(code) && manager->IsValidImgIndex(mask)) {   // the MDI buttons are drawn above
        const bool faded = (!FProvider.FormActive() || !enabled) && (button->State < 1 || !enabled);
        DrawMaskStateImage(
            cache, TPoint {r.left, r.top}, button->State, manager->Masks[std::size_t(mask)], faded ? 2 : 1);
    }
    const user::HWND hwnd = form->WindowHandle();
    const user::HDC dc = user::GetWindowDC(hwnd);
    if (dc == nullptr) return;
    const int saved = gdi::SaveDC(dc);
    gdi::BitBlt(dc, r.left, r.top, r.Width(), r.Height(), cache->Canvas()->Handle(), r.left, r.top, gdi::SRCCOPY);
    gdi::RestoreDC(dc, saved);
    user::ReleaseDC(hwnd, dc);
}

// ---------------------------------------------------------------------------------------------------------
// The user's title buttons' clicks

bool TsCaptionButtons::TitleButtonDown(int code, LPARAM screenPoint) {
    TsTitleButton* button = TitleButtonOfCode(code);
    if (button == nullptr || !button->Enabled()) return false;
    SetPressed(code);
    const TPoint p = PointFromLParam(screenPoint);
    button->DoMouseDown(mbLeft, {}, p.x, p.y);
    return true;
}

bool TsCaptionButtons::TitleButtonUp(int code, LPARAM screenPoint) {
    TsTitleButton* button = TitleButtonOfCode(code);
    if (button == nullptr) return false;
    const TPoint p = PointFromLParam(screenPoint);
    if (!ButtonDown) return true;   // a release that no press on a caption element began
    button->DoMouseUp(mbLeft, {}, p.x, p.y);
    FProvider.SetHotHT(0);
    return true;
}

}
