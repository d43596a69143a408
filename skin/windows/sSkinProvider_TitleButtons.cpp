// TsSkinProvider: the user title buttons: their codes, widths, masks, pictures and clicks.
#include "skin/windows/sSkinProvider.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sTitleButtons.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

int TitleButtonMaskOf(TsSkinManager* manager, const TsCommonData* data) {
    if (manager == nullptr) return -1;
    const int mask = manager->GetMaskIndex(manager->GetSkinIndex("GLOBALINFO"), "GLOBALINFO", "TITLEBUTTON");
    if (manager->IsValidImgIndex(mask)) return mask;
    return manager->GetMaskIndex(data->SkinIndex, data->SkinSection(), "TITLEBUTTON");
}

}

void TsSkinProvider::SetTitleButtons(const TsTitleButtons* value) {
    FTitleButtons->Assign(value);
}

void TsSkinProvider::SetTitleIcon(const TsTitleIcon* value) {
    if (value == nullptr) return;
    FTitleIcon->SetGlyph(value->Glyph());
    FTitleIcon->SetWidth(value->Width());
    FTitleIcon->SetHeight(value->Height());
}

TsTitleButton* TsSkinProvider::TitleButtonOfCode(int code) const {
    const int i = code - htTitleButton;
    if (i < 0 || i >= FTitleButtons->Count()) return nullptr;
    return FTitleButtons->Items(i);
}

// At least as wide as the skin's title button picture (21 without one), whatever UseSkinData says.
int TsSkinProvider::UserButtonWidth(const TsTitleButton* button) const {
    const int mask = TitleButtonMaskOf(FSkinData->SkinManager(), FSkinData.get());
    const TsSkinManager* manager = FSkinData->SkinManager();
    int picture = 21;
    if (manager != nullptr && manager->IsValidImgIndex(mask)) {
        const TsMaskData& m = manager->Masks[std::size_t(mask)];
        const int count = std::max(m.ImageCount, 1);
        picture = m.Bmp ? m.Bmp->Width() / count : m.R.Width() / count;
    }
    return std::max(button->Glyph()->Width() + 2, picture);
}

int TsSkinProvider::WidthOfCode(int code) const {
    if (const TsTitleButton* user = TitleButtonOfCode(code)) return UserButtonWidth(user);
    return ButtonWidth(*const_cast<TsSkinProvider*>(this)->ButtonOfCode(code));
}

void TsSkinProvider::UpdateTitleButtonMasks() {
    const int mask = TitleButtonMaskOf(FSkinData->SkinManager(), FSkinData.get());
    for (int i = 0; i < FTitleButtons->Count(); ++i) {
        TsTitleButton* b = FTitleButtons->Items(i);
        b->Data.MaskIndex = b->UseSkinData() ? mask : -1;
    }
}

// The mask under the glyph (faded when disabled), the glyph centred, one pixel further while pressed.
void TsSkinProvider::PaintUserButton(TBitmap* cache, TsTitleButton* button) {
    TsSkinManager* manager = FSkinData->SkinManager();
    const TsCaptionButton& data = button->Data;
    if (manager != nullptr && manager->IsValidImgIndex(data.MaskIndex)) {
        const bool faded = !button->Enabled() || !FFormActive;
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

bool TsSkinProvider::TitleButtonDown(int code, LPARAM screenPoint) {
    TsTitleButton* button = TitleButtonOfCode(code);
    if (button == nullptr || !button->Enabled()) return false;
    SetPressedHT(code);
    const TPoint p = PointFromLParam(screenPoint);
    button->DoMouseDown(mbLeft, {}, p.x, p.y);
    return true;
}

bool TsSkinProvider::TitleButtonUp(int code, LPARAM screenPoint) {
    TsTitleButton* button = TitleButtonOfCode(code);
    if (button == nullptr) return false;
    const TPoint p = PointFromLParam(screenPoint);
    if (CaptionButtonDown()) button->DoMouseUp(mbLeft, {}, p.x, p.y);
    SetHotHT(0);
    return true;
}

}
