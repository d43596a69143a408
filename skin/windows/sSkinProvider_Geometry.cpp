// TsSkinProvider: the frame's metrics, the caption buttons' visibility and places, shared by painting and
// hit testing.
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/sTitleButtons.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TMenu.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "skin/engine/sSkinManager.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

bool SingleOrSizeable(TFormBorderStyle style) {
    return style == bsSingle || style == bsSizeable;
}

user::RECT WindowRectOf(const TCustomForm* form) {
    user::RECT r {};
    if (form != nullptr && form->HandleAllocated()) user::GetWindowRect(form->WindowHandle(), &r);
    return r;
}

user::RECT ClientRectOf(const TCustomForm* form) {
    user::RECT r {};
    if (form != nullptr && form->HandleAllocated()) user::GetClientRect(form->WindowHandle(), &r);
    return r;
}

// One state picture of a mask: own bitmaps hold two rows of ImageCount columns.
TSize StatePictureSize(const TsSkinManager* manager, int maskIndex) {
    if (manager == nullptr || !manager->IsValidImgIndex(maskIndex)) return TSize {21, 21};
    const TsMaskData& m = manager->Masks[std::size_t(maskIndex)];
    const int count = std::max(m.ImageCount, 1);
    if (m.Bmp) return TSize {m.Bmp->Width() / count, m.Bmp->Height() / 2};
    return TSize {m.R.Width() / count, m.R.Height() / (std::max(m.MaskType, 0) + 1)};
}

int FrameMetric(const TCustomForm* form, int dialogFrame, int sizingFrame) {
    if (form == nullptr || form->BorderStyle() == bsNone) return 0;
    const TFormBorderStyle style = form->BorderStyle();
    const bool dialog = form->FormStyle() == fsMDIChild ? style == bsSingle || style == bsToolWindow
                                                        : style == bsSingle || style == bsDialog || style == bsToolWindow;
    return user::GetSystemMetrics(dialog ? dialogFrame : sizingFrame);
}

}

int TsSkinProvider::CaptionHeight() const {
    if (FForm == nullptr || FForm->BorderStyle() == bsNone) return 0;
    const TFormBorderStyle style = FForm->BorderStyle();
    return user::GetSystemMetrics(
        style == bsToolWindow || style == bsSizeToolWin ? user::SM_CYSMCAPTION : user::SM_CYCAPTION);
}

// The frame of the style: the dialog frame for single, dialog and tool frames (an MDI child: single and tool
// only), the sizing frame for the rest; nothing without a border.
int TsSkinProvider::SysBorderWidth() const {
    return FrameMetric(FForm, user::SM_CXDLGFRAME, user::SM_CXFRAME);
}

int TsSkinProvider::SysBorderHeight() const {
    return FrameMetric(FForm, user::SM_CYDLGFRAME, user::SM_CYFRAME);
}

int TsSkinProvider::BorderHeight() const {
    return SysBorderHeight() + (FForm != nullptr ? FForm->BorderWidth() : 0);
}

int TsSkinProvider::ButtonHeight() const {
    return StatePictureSize(FSkinData->SkinManager(), FButtons[cbClose].MaskIndex).cy;
}

int TsSkinProvider::ButtonWidth(const TsCaptionButton& button) const {
    return StatePictureSize(FSkinData->SkinManager(), button.MaskIndex).cx;
}

int TsSkinProvider::FormWidth() const {
    if (FForm == nullptr) return 0;
    if (Iconic()) return WindowRectOf(FForm).Width();
    return FForm->Width();
}

int TsSkinProvider::MenuHeight() const {
    return FForm != nullptr && FForm->Menu() != nullptr ? user::GetSystemMetrics(user::SM_CYMENU) - 1 : 0;
}

bool TsSkinProvider::MenuPresent() const {
    if (FForm == nullptr || FForm->BorderStyle() == bsDialog || FForm->FormStyle() == fsMDIChild) return false;
    TMainMenu* menu = FForm->Menu();
    if (menu == nullptr) return false;
    for (int i = 0; i < menu->Items()->Count(); ++i)
        if (menu->Items()->Items(i)->Visible()) return true;
    return false;
}

int TsSkinProvider::HeaderHeight() const {
    if (FForm == nullptr) return 0;
    int h = WindowRectOf(FForm).Height() - ClientRectOf(FForm).Height();
    if (FForm->BorderStyle() != bsNone) h -= SysBorderHeight();
    h = std::max(h, 0);
    if (Iconic()) h += SysBorderHeight();
    return h;
}

int TsSkinProvider::OffsetX() const {
    return (WindowRectOf(FForm).Width() - ClientRectOf(FForm).Width()) / 2;
}

int TsSkinProvider::OffsetY() const {
    const int h = WindowRectOf(FForm).Height() - ClientRectOf(FForm).Height();
    if (FForm == nullptr || FForm->BorderStyle() == bsNone) return h;
    return h - (SysBorderHeight() + FForm->BorderWidth());
}

TPoint TsSkinProvider::FormLeftTop() const {
    const user::RECT r = WindowRectOf(FForm);
    return TPoint {r.left, r.top};
}

TPoint TsSkinProvider::CursorToPoint(TPoint screen) const {
    const TPoint origin = FormLeftTop();
    return TPoint {screen.x - origin.x, screen.y - origin.y};
}

bool TsSkinProvider::IconVisible() const {
    return FForm != nullptr && SingleOrSizeable(FForm->BorderStyle()) && FShowAppIcon;
}

namespace {

int IconSizeFor(int h) {
    if (h < 9) return 0;
    if (h <= 16) return 8;
    if (h <= 27) return 16;
    return 32;
}

}

// The title icon's own size when it has one, else a size that fits the caption.
int TsSkinProvider::IconWidth() const {
    if (!IconVisible()) return 0;
    return FTitleIcon->Width() != 0 ? FTitleIcon->Width() : IconSizeFor(CaptionHeight());
}

int TsSkinProvider::IconHeight() const {
    if (!IconVisible()) return 0;
    return FTitleIcon->Height() != 0 ? FTitleIcon->Height() : IconSizeFor(CaptionHeight());
}

TRect TsSkinProvider::IconRect() const {
    TRect r;
    r.left = SysBorderWidth();
    r.right = r.left + IconWidth();
    r.top = (CaptionHeight() + SysBorderHeight() - IconHeight()) / 2;
    r.bottom = r.top + IconHeight();
    return r;
}

TsBorderIcons TsSkinProvider::ShownBorderIcons() const {
    if (FForm == nullptr) return FBorderIcons;
    const TsBorderIcons formWithout = TsBorderIcons {biSystemMenu, biMinimize, biMaximize} - FSavedBorderIcons;
    return FBorderIcons - formWithout;
}

bool TsSkinProvider::MaxButtonVisible() const {
    if (FForm == nullptr) return false;
    if (Iconic()) return true;
    const TFormBorderStyle style = FForm->BorderStyle();
    if (style == bsDialog) return false;
    if (style == bsSingle && !ShownBorderIcons().Contains(biMaximize)) return false;
    return SingleOrSizeable(style) && ShownBorderIcons().Contains(biSystemMenu);
}

bool TsSkinProvider::MinButtonVisible() const {
    if (FForm == nullptr) return false;
    if (Iconic()) return true;
    const TFormBorderStyle style = FForm->BorderStyle();
    if (style == bsDialog || style == bsNone) return false;
    if (style == bsSingle && !ShownBorderIcons().Contains(biMinimize)) return false;
    return SingleOrSizeable(style) && ShownBorderIcons().Contains(biSystemMenu);
}

bool TsSkinProvider::CanMaximize() const {
    if (FForm == nullptr) return false;
    const TFormBorderStyle style = FForm->BorderStyle();
    return ShownBorderIcons().Contains(biMaximize) && !Maximized()
        && (style == bsSingle || style == bsSizeable || style == bsSizeToolWin);
}

bool TsSkinProvider::CanMinimize() const {
    return ShownBorderIcons().Contains(biMinimize) && !Iconic();
}

bool TsSkinProvider::CanRestore() const {
    if (FForm == nullptr) return false;
    return (ShownBorderIcons().Contains(biMaximize) && (Maximized() || Iconic())) || Iconic();
}

std::vector<int> TsSkinProvider::VisibleButtonCodes() const {
    std::vector<int> codes;
    if (ShownBorderIcons().Contains(biSystemMenu) && FSystemMenu != nullptr) {
        codes.push_back(htClose);
        if (MaxButtonVisible()) codes.push_back(htMaximize);
        if (MinButtonVisible()) codes.push_back(htMinimize);
        if (ShownBorderIcons().Contains(biHelp)) codes.push_back(htHelp);
    }
    for (int i = 0; i < FTitleButtons->Count(); ++i)   // the user's buttons follow, in collection order
        codes.push_back(htTitleButton + i);
    return codes;
}

int TsSkinProvider::VisibleButtonCount() const {
    return int(VisibleButtonCodes().size());
}

TsCaptionButton* TsSkinProvider::ButtonOfCode(int code) {
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

int TsSkinProvider::ButtonsWidth() const {
    int width = 0;
    for (int code : VisibleButtonCodes())
        width += WidthOfCode(code);
    return width;
}

// Right to left from the frame, without gaps; a hidden button takes no place.
void TsSkinProvider::PlaceButtons() {
    int x = FormWidth() - SysBorderWidth();
    const int height = ButtonHeight();
    int top = (CaptionHeight() - height + SysBorderHeight()) / 2;
    if (height < 16) top += 2;
    for (TsCaptionButton& button : FButtons)
        button.Rect = TRect {};
    UpdateTitleButtonMasks();
    for (int code : VisibleButtonCodes()) {
        TsCaptionButton* button = ButtonOfCode(code);
        button->Rect = TRect {x - WidthOfCode(code), top, x, top + height};
        x = button->Rect.left;
    }
}

int TsSkinProvider::ButtonIndexAt(int x) const {
    const std::vector<int> codes = VisibleButtonCodes();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const TRect& r = const_cast<TsSkinProvider*>(this)->ButtonOfCode(codes[i])->Rect;
        if (r.left <= x && x <= r.right) return int(i) + 1;
    }
    return 0;
}

std::string TsSkinProvider::TitleSkinSection() const {
    return FTitleSkin.empty() ? "FORMTITLE" : FTitleSkin;
}

bool TsSkinProvider::FormChanged() const {
    const TBitmap* cache = FormCache();
    if (cache == nullptr || FForm == nullptr) return false;
    return cache->Width() != FormWidth() || cache->Height() != FForm->Height();
}

// Caption buttons' pictures: the big ones of GLOBALINFO for ordinary frames, the small ones for the rest.
void TsSkinProvider::UpdateIconsIndexes() {
    TsSkinManager* manager = FSkinData->SkinManager();
    if (manager == nullptr) return;
    const int global = manager->GetSkinIndex("GLOBALINFO");
    auto globalMask = [&](const char* name) { return manager->GetMaskIndex(global, "GLOBALINFO", name); };
    if (!manager->IsValidImgIndex(globalMask("BICONCLOSE"))) {
        const int own = FSkinData->SkinIndex;
        FButtons[cbMinimize].MaskIndex = manager->GetMaskIndex(own, "FORM", "BICONMIN");
        FButtons[cbMaximize].MaskIndex = manager->GetMaskIndex(own, "FORM", "BICONMAX");
        FButtons[cbClose].MaskIndex = manager->GetMaskIndex(own, "FORM", "BICONCLOSE");
        FButtons[cbHelp].MaskIndex = manager->GetMaskIndex(own, "FORM", "BICONHELP");
    } else {
        const bool big = FForm != nullptr && SingleOrSizeable(FForm->BorderStyle());
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
    // A parent's buttons for its maximized child: the small ones, else the parent's own.
    const bool parent = FForm != nullptr && FForm->FormStyle() == fsMDIForm;
    FButtons[cbMdiMinimize].MaskIndex = parent ? globalMask("SICONMIN") : -1;
    FButtons[cbMdiMaximize].MaskIndex = parent ? globalMask("SICONMAX") : -1;
    FButtons[cbMdiClose].MaskIndex = parent ? globalMask("SICONCLOSE") : -1;
    if (parent && !manager->IsValidImgIndex(FButtons[cbMdiMinimize].MaskIndex)) {
        FButtons[cbMdiMinimize].MaskIndex = FButtons[cbMinimize].MaskIndex;
        FButtons[cbMdiMaximize].MaskIndex = FButtons[cbMaximize].MaskIndex;
        FButtons[cbMdiClose].MaskIndex = FButtons[cbClose].MaskIndex;
    }
    FTitleButtonMask = globalMask("TITLEBUTTON");
}

}
