// TLabel: painting and measuring the caption, accelerators.
#include "platform/classes/TLabel.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TButtonControl.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Types.h"
#include "platform/user/Menus.h"

namespace korvex::classes {

using namespace gdi;

TCustomLabel::TCustomLabel(TComponent* owner)
    : TGraphicControl(owner) {
    FControlStyle.Include(csOpaque);
    FControlStyle.Include(csSetCaption);
    SetBounds(Left(), Top(), 65, 17);
}

TCustomLabel::~TCustomLabel() = default;

TClass TCustomLabel::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomLabel, TGraphicControl>("TCustomLabel", [](auto& p) {
        p.Enum("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment, AlignmentIdents, taLeftJustify);
        p.Bool("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize, true);
        p.Enum("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout, TextLayoutIdents, tlTop);
        p.Bool("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar, true);
        p.Bool("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent, false);
        p.Bool("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap, false);
    });
    return &info;
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (value == FLayout) return;
    FLayout = value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
    if (value == FAutoSize) return;
    FAutoSize = value;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (value == FWordWrap) return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (value == FShowAccelChar) return;
    FShowAccelChar = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    if (value == Transparent()) return;
    if (value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (FFocusControl != nullptr) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

std::string TCustomLabel::DisplayText() const {
    return FShowAccelChar ? user::StripMnemonic(Caption()) : Caption();
}

unsigned TCustomLabel::TextFlags() const {
    unsigned flags = DT_EXPANDTABS;
    if (FWordWrap) flags |= DT_WORDBREAK;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    if (FAlignment == taCenter) flags |= DT_CENTER;
    if (FAlignment == taRightJustify) flags |= DT_RIGHT;
    return flags;
}

void TCustomLabel::DoDrawText(TRect& rect, unsigned flags) {
    TCanvas* canvas = Canvas();
    std::string text = GetLabelText();
    if ((flags & DT_CALCRECT) != 0 && (text.empty() || (FShowAccelChar && text == "&"))) text = " ";
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    if (!Enabled() && (flags & DT_CALCRECT) == 0) {
        TRect shifted = rect;
        OffsetRect(&shifted, 1, 1);
        canvas->Font()->SetColor(clBtnHighlight);
        canvas->TextRect(shifted, text, flags);
        canvas->Font()->SetColor(clBtnShadow);
    }
    canvas->TextRect(rect, text, flags);
    canvas->Brush()->SetStyle(bsSolid);
}

void TCustomLabel::Paint() {
    TCanvas* canvas = Canvas();
    TRect client = ClientRect();
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
    }
    if (GetLabelText().empty()) return;
    unsigned flags = TextFlags();
    TRect rect = client;
    if (FLayout != tlTop) {
        TRect calc = client;
        DoDrawText(calc, flags | DT_CALCRECT);
        int height = calc.bottom - calc.top;
        rect.top = FLayout == tlBottom ? client.bottom - height : (client.bottom - height) / 2;
    }
    DoDrawText(rect, flags);
}

// Measures on a DC of its own: the canvas has none outside painting.
void TCustomLabel::AdjustBounds() {
    if (ComponentState().Contains(csLoading) || !FAutoSize) return;
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return;
    TCanvas* canvas = Canvas();
    HDC saved = canvas->HandleAllocated() ? canvas->Handle() : nullptr;
    canvas->SetHandle(dc);
    TRect rect = Rect(0, 0, FWordWrap ? Width() : 0, 0);
    DoDrawText(rect, TextFlags() | DT_CALCRECT);
    canvas->SetHandle(saved);
    DeleteDC(dc);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int left = Left();
    if (!FWordWrap && FAlignment == taRightJustify) left += Width() - width;
    if (!FWordWrap && FAlignment == taCenter) left += (Width() - width) / 2;
    if (FWordWrap) width = Width();
    SetBounds(left, Top(), width, height);
}

void TCustomLabel::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TGraphicControl::WndProc(message);
        AdjustBounds();
        Invalidate();
        return;
    case CM_DIALOGCHAR:
        if (FFocusControl != nullptr && Enabled() && FShowAccelChar && IsAccel(char32_t(message.WParam), Caption())
            && FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            message.Result = 1;
            return;
        }
        break;
    }
    TGraphicControl::WndProc(message);
}

TClass TLabel::StaticClass() {
    static const TClassInfo info = MakeClass<TLabel, TCustomLabel>("TLabel", [](auto&) {});
    return &info;
}

}
