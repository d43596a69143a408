// TsButton: construction, published properties, cache rendering and the click-once message handling.
#include "skin/controls/sButton.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBasicAction.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Text.h"
#include "platform/user/controls/Button.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sButtonRegion.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

TSize ButtonCaptionSize(TCanvas* canvas, const std::string& caption, int maxWidth) {
    if (caption.empty() || maxWidth <= 0 || canvas == nullptr) return {0, 0};
    gdi::RECT r {0, 0, maxWidth, 0};
    gdi::DrawText(canvas->Handle(), caption, &r, gdi::DT_CALCRECT | gdi::DT_EXPANDTABS | gdi::DT_WORDBREAK);
    return {r.right - r.left, r.bottom - r.top};
}

TsButton::TsButton(TComponent* owner)
    : TsCoreButton(owner) {
    SkinData()->ControlKind = TacControlKind::Button;
    Core().Prepare = [this] { PrepareCache(); };
}

TsButton::~TsButton() {
    Core().StopFade();
}

TClass TsButton::StaticClass() {
    static const TClassInfo info = MakeClass<TsButton, TButton>("TsButton", [](auto& p) {
        p.Int("FocusMargin", &TsButton::FocusMargin, &TsButton::SetFocusMargin, 1);
        p.Set("DisabledKind", &TsButton::DisabledKind, &TsButton::SetDisabledKind, DisabledKindIdents,
            DefaultDisabledKind);
        p.Object("SkinData", &TsButton::SkinData);
        p.Bool("Down", &TsButton::Down, &TsButton::SetDown, false);
        p.Set("AnimatEvents", &TsButton::AnimatEvents, &TsButton::SetAnimatEvents, AnimatEventIdents,
            TacAnimatEvents {aeGlobalDef});
    });
    return &info;
}

void TsButton::PrepareCache() {
    TsCommonData* data = SkinData();
    const int state = CurrentState();
    const TsParentCacheInfo ci = Core().BeginCache(state);
    Core().PaintBorders(state);
    // Caption and focus mark.
    TCanvas* canvas = data->CacheBmp()->Canvas();
    canvas->Brush()->SetStyle(bsClear);
    const TSize text = ButtonCaptionSize(canvas, Caption(), Caption().empty() ? 0 : Width() - 2);
    TRect r {(Width() - text.cx) / 2 - 1, (Height() - text.cy) / 2, Width() - (Width() - text.cx) / 2 + 2,
        Height() - (Height() - text.cy) / 2};
    if (Down()) gdi::OffsetRect(&r, 1, 1);
    const bool hot = data->IsHot() || Core().ActiveDefault || Core().DownField();
    OutputSkinnedText(canvas, Caption(), true, r,
        DrawTextBiDiModeFlags(gdi::DT_EXPANDTABS | gdi::DT_WORDBREAK | gdi::DT_CENTER), data, hot);
    if (!Caption().empty()) Core().PaintFocus(canvas, r);
    Core().EndCache(ci);
}

void TsButton::ActionChange(TObject* sender, bool checkDefaults) {
    TsCoreButton<TButton>::ActionChange(sender, checkDefaults);
    if (auto* action = dynamic_cast<TCustomAction*>(sender)) SetEnabled(action->Enabled());
}

}
