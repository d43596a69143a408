// TsCustomLabel, TsLabel and TsEditLabel: labels coloured by the default skin manager.
#include "skin/controls/sLabel.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/GdiConstants.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sColorUtils.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

// Set while a label takes its paint font: the colour it writes into Font must neither resize nor repaint.
bool LabelFontBusy = false;

bool SkinLoaded() {
    return DefaultManager != nullptr && DefaultManager->LoadedSkin.Active;
}

bool FromDefaultManager(const TMessage& m) {
    return DefaultManager != nullptr && m.LParam == reinterpret_cast<LPARAM>(DefaultManager);
}

}

// ---- TsCustomLabel -------------------------------------------------------------------------------------------

TsCustomLabel::TsCustomLabel(TComponent* owner) : TCustomLabel(owner) {
    SetTransparent(true);
}

TClass TsCustomLabel::StaticClass() {
    using T = TsCustomLabel;
    static const TClassInfo info = MakeClass<T, TCustomLabel>("TsCustomLabel", [](TPropertyBuilder<T>& p) {
        p.Bool("Transparent", &T::Transparent, &T::SetTransparent, true);
        p.Event("OnMouseEnter", &T::OnMouseEnter);
        p.Event("OnMouseLeave", &T::OnMouseLeave);
    });
    return &info;
}

bool TsCustomLabel::SkinFontColor(TColor& colour) {
    if (!SkinLoaded()) return false;
    colour = DefaultManager->GetGlobalFontColor();
    return colour != 0xFF00FF;
}

TFont* TsCustomLabel::GetFont() {
    TColor colour = 0;
    if (SkinFontColor(colour)) Font()->SetColor(colour);
    return Font();
}

void TsCustomLabel::Paint() {
    if (!LabelFontBusy) {
        LabelFontBusy = true;
        struct Clear {
            ~Clear() { LabelFontBusy = false; }
        } clear;
        TFont* font = GetFont();
        if (font != Font()) Font()->Assign(font);
    }
    TCustomLabel::Paint();
}

void TsCustomLabel::DoDrawText(TRect& rect, unsigned flags) {
    if (Enabled() || !SkinLoaded()) {
        TCustomLabel::DoDrawText(rect, flags);
        return;
    }
    // Disabled under a skin: one pass in a colour between the font's and the background's, no embossing.
    std::string text = GetLabelText();
    if ((flags & gdi::DT_CALCRECT) != 0 && (text.empty() || (ShowAccelChar() && text == "&"))) text += " ";
    if (!ShowAccelChar()) flags |= gdi::DT_NOPREFIX;
    flags = DrawTextBiDiModeFlags(flags);
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    TColor background = ColorToRGB(Color());
    if (Parent() != nullptr) background = QueryControlColor(Parent());
    canvas->Font()->SetColor(MixColors(ColorToRGB(Font()->Color()), background, 0.4));
    canvas->TextRect(rect, text, flags);
    canvas->Brush()->SetStyle(bsSolid);
}

void TsCustomLabel::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_FONTCHANGED:
        if (LabelFontBusy) return;
        AdjustBounds();
        Repaint();
        return;
    case CM_MOUSEENTER:
        if (m.LParam == 0 && OnMouseEnter) OnMouseEnter(this);
        break;
    default:
        break;
    }
    TCustomLabel::WndProc(m);
    if (m.Msg == SM_SKINCMD && SkinCommandCode(m) == SMC_REMOVESKIN && FromDefaultManager(m))
        Font()->SetColor(clWindowText);
    else if (m.Msg == CM_MOUSELEAVE && m.LParam == 0 && OnMouseLeave)
        OnMouseLeave(this);
}

// ---- TsLabel -------------------------------------------------------------------------------------------------

TsLabel::TsLabel(TComponent* owner) : TsCustomLabel(owner) { }

TClass TsLabel::StaticClass() {
    using T = TsLabel;
    static const TClassInfo info = MakeClass<T, TsCustomLabel>("TsLabel", [](TPropertyBuilder<T>& p) {
        p.Bool("UseSkinColor", &T::UseSkinColor, &T::SetUseSkinColor, true);
    });
    return &info;
}

void TsLabel::SetUseSkinColor(bool value) {
    if (value == FUseSkinColor) return;
    FUseSkinColor = value;
    Invalidate();
}

TFont* TsLabel::GetFont() {
    TColor colour = 0;
    if (FUseSkinColor && SkinFontColor(colour)) Font()->SetColor(colour);
    return Font();
}

void TsLabel::WndProc(TMessage& m) {
    if (m.Msg == SM_SKINCMD && SkinCommandCode(m) == SMC_REMOVESKIN) {
        if (FromDefaultManager(m) && FUseSkinColor) Font()->SetColor(clWindowText);
        return;
    }
    TsCustomLabel::WndProc(m);
}

// ---- TsEditLabel ---------------------------------------------------------------------------------------------

TsEditLabel::TsEditLabel(TComponent* owner, TsBoundLabel* boundLabel) : TsLabel(owner), FBoundLabel(boundLabel) { }

TClass TsEditLabel::StaticClass() {
    static const TClassInfo info = MakeClass<TsEditLabel, TsLabel>("TsEditLabel");
    return &info;
}

void InstallEditLabelFactory() {
    SetEditLabelFactory([](TComponent* owner, TsBoundLabel* bound) -> TCustomLabel* {
        return new TsEditLabel(owner, bound);
    });
}

}
