// TPanel: bevels, border and caption.
#include "platform/classes/TPanel.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/WindowConstants.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    for (int i = 0; i < width && rect.right > rect.left && rect.bottom > rect.top; ++i) {
        canvas->Brush()->SetColor(topColor);
        canvas->FillRect(Rect(rect.left, rect.top, rect.right - 1, rect.top + 1));
        canvas->FillRect(Rect(rect.left, rect.top, rect.left + 1, rect.bottom - 1));
        canvas->Brush()->SetColor(bottomColor);
        canvas->FillRect(Rect(rect.right - 1, rect.top, rect.right, rect.bottom));
        canvas->FillRect(Rect(rect.left, rect.bottom - 1, rect.right, rect.bottom));
        rect = Rect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
    }
}

TCustomPanel::TCustomPanel(TComponent* owner)
    : TCustomControl(owner) {
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csOpaque);
    SetParentColor(false);
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 185, 41);
}

TCustomPanel::~TCustomPanel() = default;

TClass TCustomPanel::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomPanel, TCustomControl>("TCustomPanel", [](auto& p) {
        p.Enum("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, AlignmentIdents, taCenter);
        p.Enum("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, PanelBevelIdents, bvNone);
        p.Enum("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, PanelBevelIdents, bvRaised);
        p.Int("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth, 1);
        p.Int("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth, 0);
        p.Bool("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint, true);
        p.Enum("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle, FormBorderStyleIdents, bsNone);
    });
    return &info;
}

void TCustomPanel::Changed() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
    if (value == FBevelInner) return;
    FBevelInner = value;
    Changed();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
    if (value == FBevelOuter) return;
    FBevelOuter = value;
    Changed();
}

void TCustomPanel::SetBevelWidth(int value) {
    value = std::max(value, 1);
    if (value == FBevelWidth) return;
    FBevelWidth = value;
    Changed();
}

void TCustomPanel::SetBorderWidth(int value) {
    value = std::max(value, 0);
    if (value == FBorderWidth) return;
    FBorderWidth = value;
    Changed();
}

void TCustomPanel::SetBorderStyle(TFormBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomPanel::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (FBorderStyle == bsSingle) params.Style |= WS_BORDER;
}

void TCustomPanel::AdjustClientRect(TRect& rect) {
    TCustomControl::AdjustClientRect(rect);
    int inset = FBorderWidth;
    if (FBevelOuter != bvNone) inset += FBevelWidth;
    if (FBevelInner != bvNone) inset += FBevelWidth;
    rect = Rect(rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset);
}

void TCustomPanel::Paint() {
    TCanvas* canvas = Canvas();
    TRect rect = ClientRect();
    auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone) return;
        if (kind == bvSpace) {
            Frame3D(canvas, rect, Color(), Color(), FBevelWidth);
            return;
        }
        TColor top = kind == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = kind == bvLowered ? clBtnHighlight : clBtnShadow;
        Frame3D(canvas, rect, top, bottom, FBevelWidth);
    };
    bevel(FBevelOuter);
    Frame3D(canvas, rect, Color(), Color(), FBorderWidth);
    bevel(FBevelInner);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(rect);
    std::string text = Caption();
    if (text.empty()) return;
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    unsigned flags = gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_EXPANDTABS;
    if (FAlignment == taCenter) flags |= gdi::DT_CENTER;
    if (FAlignment == taRightJustify) flags |= gdi::DT_RIGHT;
    canvas->TextRect(rect, text, flags);
    canvas->Brush()->SetStyle(bsSolid);
}

void TCustomPanel::CMTextChanged(TMessage& m) {
    TCustomControl::CMTextChanged(m);
    Invalidate();
}

TClass TPanel::StaticClass() {
    static const TClassInfo info = MakeClass<TPanel, TCustomPanel>("TPanel", [](auto&) {});
    return &info;
}

}
