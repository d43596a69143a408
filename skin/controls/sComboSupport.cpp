// What both skinned combo families share: their skin commands, the drop-down glyph and the focus test.
#include "skin/controls/sComboSupport.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TWinControl.h"
#include "platform/user/Focus.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sNinePart.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

TacStep ComboSkinCommand(TMessage& m, TsCommonData* data, const std::function<void()>& removed) {
    if (m.Msg != SM_SKINCMD || data == nullptr) return TacStep::Continue;
    TControl* control = data->OwnerControl();
    const int code = SkinCommandCode(m);
    switch (code) {
    case SMC_NEWSKIN:
    case SMC_REMOVESKIN:
    case SMC_REFRESH:
        if (m.LParam != LPARAM(data->SkinManager())) return TacStep::Continue;
        CommonWndProc(m, data);
        if (control == nullptr || ControlDestroying(control)) return TacStep::Done;
        if (code == SMC_REMOVESKIN) {
            if (!data->CustomColor()) control->SetColor(clWindow);
            if (!data->CustomFont()) control->Font()->SetColor(clWindowText);
            if (removed) removed();
        } else if (code == SMC_REFRESH) {
            if (data->Skinned()) data->ApplySectionColors();
            control->Repaint();
        }
        return TacStep::Done;
    case SMC_PARENTUPDATED:
        if (data->Updating) {
            data->SetUpdating(false);
            if (control != nullptr) control->Repaint();
        }
        return TacStep::Done;
    case SMC_ISSKINNED:
        m.LParam = 1;
        return TacStep::Done;
    default:
        return TacStep::Continue;
    }
}

namespace {

int GlyphMask(const TsCommonData* data) {
    const TsSkinManager* manager = data != nullptr ? data->SkinManager() : nullptr;
    if (manager == nullptr || !manager->IsValidSkinIndex(data->SkinIndex)) return -1;
    const int mask = manager->GetMaskIndex(data->SkinIndex, data->SkinSection(), "GLYPHMASK");
    return manager->IsValidImgIndex(mask) ? mask : -1;
}

}

TSize ComboGlyphSize(const TsCommonData* data) {
    const int mask = GlyphMask(data);
    if (mask < 0) return TSize {0, 0};
    return data->SkinManager()->GetMaskFrameSize(mask);
}

int ComboGlyphRectWidth(const TsCommonData* data) {
    const int mask = GlyphMask(data);
    if (mask < 0) return 0;
    const TsMaskData& m = data->SkinManager()->Masks[std::size_t(mask)];
    return (m.R.right - m.R.left) / std::max(1, detail::ImageCountOf(m));
}

void PaintComboGlyph(const TsCommonData* data, TBitmap* cache, const TRect& button, int state, int glyphWidth) {
    const int mask = GlyphMask(data);
    if (mask < 0 || cache == nullptr) return;
    const int width = glyphWidth >= 0 ? glyphWidth : data->SkinManager()->GetMaskFrameSize(mask).cx;
    const TPoint at {button.left + (button.right - button.left - width) / 2, button.top};
    DrawMaskStateImage(cache, at, state, data->SkinManager()->Masks[std::size_t(mask)], 1);
}

bool ComboHasFocus(const TWinControl* combo, user::HWND edit, user::HWND list) {
    if (combo == nullptr || !combo->HandleAllocated()) return false;
    const user::HWND focus = user::GetFocus();
    return focus != nullptr && (focus == edit || focus == list);
}

}
