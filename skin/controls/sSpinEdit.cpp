// The auto-repeating speed button and the spin button that holds an up and a down one.
#include "skin/controls/sSpinEdit.h"

#include "platform/classes/Colors.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TTimer.h"
#include "platform/user/MessageIds.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sParentCache.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sSkinManager.h"

#include <array>

namespace korvex::skin {

using namespace korvex::classes;

// ---- TsTimerSpeedButton --------------------------------------------------------------------------------------

TsTimerSpeedButton::TsTimerSpeedButton(TComponent* owner) : TsSpeedButton(owner) { }

TsTimerSpeedButton::~TsTimerSpeedButton() {
    if (FRepeatTimer != nullptr) FRepeatTimer->SetEnabled(false);   // freed with the owned components
}

TClass TsTimerSpeedButton::StaticClass() {
    static const TClassInfo info = MakeClass<TsTimerSpeedButton, TsSpeedButton>("TsTimerSpeedButton");
    return &info;
}

void TsTimerSpeedButton::SetTimeBtnState(unsigned value) {
    if (FTimeBtnState == value) return;
    FTimeBtnState = value;
    Invalidate();
}

bool TsTimerSpeedButton::Repeating() const {
    return FRepeatTimer != nullptr && FRepeatTimer->Enabled();
}

void TsTimerSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TsSpeedButton::MouseDown(button, shift, x, y);
    SetDown(true);
    if (!(FTimeBtnState & tbAllowTimer)) return;
    if (FRepeatTimer == nullptr) {
        FRepeatTimer = new TTimer(this);
        FRepeatTimer->OnTimer = [this](TObject*) { TimerExpired(); };
    }
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetInterval(SpinInitialRepeatPause);
    FRepeatTimer->SetEnabled(true);
}

void TsTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    SetDown(false);
    if (FRepeatTimer != nullptr) FRepeatTimer->SetEnabled(false);
    TsSpeedButton::MouseUp(button, shift, x, y);
}

void TsTimerSpeedButton::TimerExpired() {
    FRepeatTimer->SetInterval(SpinRepeatPause);
    if (!MouseCapture()) return;
    try {
        Click();
    } catch (...) {
        if (FRepeatTimer != nullptr) FRepeatTimer->SetEnabled(false);
        throw;
    }
}

void TsTimerSpeedButton::Paint() {
    const TComponentState cs = ComponentState();
    if (cs.Contains(csLoading) || cs.Contains(csDestroying)) return;
    // The buttons sit on an edit: they blend over the window colour, not the form's.
    PaintOver(ColorToRGB(clWindow));
    if (FTimeBtnState & tbFocusRect) {
        TRect r {3, 3, Width() - 3, Height() - 3};
        if (Down()) r = TRect {r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
        Canvas()->DrawFocusRect(r);
    }
}

// ---- TsSpinButton --------------------------------------------------------------------------------------------

namespace {

inline constexpr int SpinButtonDefaultWidth = 18;
inline constexpr int SpinButtonMinWidth = 15;

// The 9 x 5 arrow: a filled triangle (inside fill, outline outline) on the transparent key colour.
void DrawArrowGlyph(TBitmap& bmp, bool up, TColor fill, TColor outline) {
    bmp.SetSize(9, 5);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(TColor(0xFF00FF));   // the bottom-left pixel: transparent
    c->FillRect(TRect {0, 0, 9, 5});
    c->Brush()->SetColor(fill);
    c->Pen()->SetColor(outline);
    const std::array<TPoint, 3> upPoints {TPoint {1, 4}, TPoint {7, 4}, TPoint {4, 1}};
    const std::array<TPoint, 3> downPoints {TPoint {1, 1}, TPoint {7, 1}, TPoint {4, 4}};
    c->Polygon(up ? std::span<const TPoint>(upPoints) : std::span<const TPoint>(downPoints));
}


}

TsSpinButton::TsSpinButton(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() - TControlStyle {csAcceptsControls, csSetCaption} + TControlStyle {csOpaque});
    FUpButton = MakeButton(true);
    FDownButton = MakeButton(false);
    RebuildDefaultGlyphs();
    SetBounds(0, 0, SpinButtonDefaultWidth, 20);
}

TsSpinButton::~TsSpinButton() {
    FFocusedButton = nullptr;
    if (FFocusControl != nullptr) FFocusControl->RemoveFreeNotification(this);
}

TClass TsSpinButton::StaticClass() {
    using T = TsSpinButton;
    static const TClassInfo info = MakeClass<T, TWinControl>("TsSpinButton", [](TPropertyBuilder<T>& p) {
        p.Component("FocusControl", &T::FocusControl, &T::SetFocusControl);
        p.Event("OnUpClick", &T::OnUpClick);
        p.Event("OnDownClick", &T::OnDownClick);
        p.Object("UpGlyph", &T::UpGlyph, &T::SetUpGlyph);
        p.Object("DownGlyph", &T::DownGlyph, &T::SetDownGlyph);
    });
    return &info;
}

TsTimerSpeedButton* TsSpinButton::MakeButton(bool up) {
    auto* b = new TsTimerSpeedButton(this);
    b->SkinData()->SetSkinSection("SPEEDBUTTON_SMALL");
    b->SetFlat(false);
    b->SetTimeBtnState(tbAllowTimer);
    b->SetParent(this);
    b->OnClick = [this, up](TObject*) {
        if (up ? bool(OnUpClick) : bool(OnDownClick)) (up ? OnUpClick : OnDownClick)(this);
    };
    b->OnMouseDown = [this, b](TObject*, TMouseButton button, TShiftState, int, int) {
        if (button == mbLeft) ButtonMouseDown(b);
    };
    return b;
}

TsCommonData* TsSpinButton::OwnerSkin() const {
    auto* edit = dynamic_cast<TsEdit*>(Owner());
    return edit != nullptr ? edit->SkinData() : nullptr;
}

void TsSpinButton::Loaded() {
    TWinControl::Loaded();
    AdjustButtons();
    if (TsCommonData* data = OwnerSkin()) {
        FUpButton->SkinData()->SetSkinManager(data->SkinManager());
        FDownButton->SkinData()->SetSkinManager(data->SkinManager());
    }
}

void TsSpinButton::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
    AdjustButtons();
}

void TsSpinButton::AdjustButtons() {
    if (ComponentState().Contains(csLoading) || Height() == 0 || FUpButton == nullptr) return;
    const int w = std::max(Width(), SpinButtonMinWidth);
    const int upHeight = Height() / 2;
    FUpButton->SetBounds(0, 0, w, upHeight);
    FDownButton->SetBounds(0, upHeight, w, Height() - upHeight);
}

void TsSpinButton::SetFocusControl(TWinControl* value) {
    if (FFocusControl == value) return;
    if (FFocusControl != nullptr) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TsSpinButton::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FFocusControl) FFocusControl = nullptr;
    if (component == FUpButton) FUpButton = nullptr;
    if (component == FDownButton) FDownButton = nullptr;
    if (component == FFocusedButton) FFocusedButton = nullptr;
}

TBitmap* TsSpinButton::UpGlyph() const {
    return FUpButton->Glyph();
}

TBitmap* TsSpinButton::DownGlyph() const {
    return FDownButton->Glyph();
}

void TsSpinButton::SetUpGlyph(const TBitmap* value) {
    FUpDefault = value == nullptr;
    if (FUpDefault)
        RebuildDefaultGlyphs();
    else
        FUpButton->SetGlyph(value);
}

void TsSpinButton::SetDownGlyph(const TBitmap* value) {
    FDownDefault = value == nullptr;
    if (FDownDefault)
        RebuildDefaultGlyphs();
    else
        FDownButton->SetGlyph(value);
}

void TsSpinButton::RebuildDefaultGlyphs() {
    // Black with an outline in the spin button's font colour, skinned or not.
    const TColor fill = clBlack;
    const TColor outline = Font()->Color();
    TBitmap bmp;
    if (FUpDefault && FUpButton != nullptr) {
        DrawArrowGlyph(bmp, true, fill, outline);
        FUpButton->SetGlyph(&bmp);
    }
    if (FDownDefault && FDownButton != nullptr) {
        DrawArrowGlyph(bmp, false, fill, outline);
        FDownButton->SetGlyph(&bmp);
    }
}

void TsSpinButton::SetFocusedButton(TsTimerSpeedButton* button) {
    if (FFocusedButton == button) return;
    if (FFocusedButton != nullptr) FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() & ~tbFocusRect);
    FFocusedButton = button;
    if (Focused()) button->SetTimeBtnState(button->TimeBtnState() | tbFocusRect);
    Invalidate();
}

void TsSpinButton::ButtonMouseDown(TsTimerSpeedButton* button) {
    if (TabStop() && CanFocus()) SetFocusedButton(button);
    TWinControl* target = FFocusControl != nullptr ? FFocusControl : this;
    if (target->TabStop() && target->CanFocus() && !target->Focused()) target->SetFocus();
}

void TsSpinButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case user::WM_SETFOCUS:
    case user::WM_KILLFOCUS:
        TWinControl::WndProc(m);
        if (FFocusedButton != nullptr) {
            const unsigned s = FFocusedButton->TimeBtnState();
            FFocusedButton->SetTimeBtnState(m.Msg == user::WM_SETFOCUS ? s | tbFocusRect : s & ~tbFocusRect);
        }
        return;
    case user::WM_GETDLGCODE:
        m.Result = user::DLGC_WANTARROWS;
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
    if (m.Msg == SM_SKINCMD) {
        switch (SkinCommandCode(m)) {
        case SMC_GETCACHE:
            // The buttons look through to the edit's cache; the spin button has none of its own.
            if (TsCommonData* data = OwnerSkin(); data != nullptr && data->CacheBmp() != nullptr) {
                TsParentCacheInfo answer;
                FillCacheInfo(answer, data->CacheBmp(), Left() + 2, Top() + 2);
                AnswerCacheQuery(m, answer);
            }
            break;
        case SMC_ISUPDATING:
            m.LParam = 0;
            break;
        default:
            break;
        }
    } else if (m.Msg == CM_ENABLEDCHANGED) {
        if (FUpButton != nullptr) FUpButton->SetEnabled(Enabled());
        if (FDownButton != nullptr) FDownButton->SetEnabled(Enabled());
    }
}

}
