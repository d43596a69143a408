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

TPanel::TPanel(TComponent* owner)
    : TCustomControl(owner) {
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csOpaque);
    SetParentColor(false);
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 185, 41);
}

TPanel::~TPanel() = default;

TClass TPanel::StaticClass() {
    static const TClassInfo info = MakeClass<TPanel, TCustomControl>("TPanel", [](auto& p) {
        p.Enum("Alignment", &TPanel::Alignment, &TPanel::SetAlignment, AlignmentIdents, taCenter);
        p.Enum("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, PanelBevelIdents, bvNone);
        p.Enum("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, PanelBevelIdents, bvRaised);
        p.Int("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth, 1);
        p.Int("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth, 0);
        p.Enum("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle, FormBorderStyleIdents, bsNone);
    });
    return &info;
}

void TPanel::Changed() {
    Realign();
    Invalidate();
}

void TPanel::SetBevelInner(TPanelBevel value) {
    if (value == FBevelInner) return;
    FBevelInner = value;
    Changed();
}

void TPanel::SetBevelOuter(TPanelBevel value) {
    if (value == FBevelOuter) return;
    FBevelOuter = value;
    Changed();
}

void TPanel::SetBevelWidth(int value) {
    value = std::max(value, 1);
    if (value == FBevelWidth) return;
    FBevelWidth = value;
    Changed();
}

void TPanel::SetBorderWidth(int value) {
    value = std::max(value, 0);
    if (value == FBorderWidth) return;
    FBorderWidth = value;
    Changed();
}

void TPanel::SetBorderStyle(TFormBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    RecreateWnd();
}

void TPanel::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    Invalidate();
}

void TPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (FBorderStyle == bsSingle) params.Style |= WS_BORDER;
}

void TPanel::AdjustClientRect(TRect& rect) {
    TCustomControl::AdjustClientRect(rect);
    int inset = FBorderWidth;
    if (FBevelOuter != bvNone) inset += FBevelWidth;
    if (FBevelInner != bvNone) inset += FBevelWidth;
    rect = Rect(rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset);
}

void TPanel::Paint() {
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

void TPanel::CMTextChanged(TMessage& m) {
    TCustomControl::CMTextChanged(m);
    Invalidate();
}

}
