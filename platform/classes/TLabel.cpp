// TLabel: painting and measuring the caption, accelerators.
#include "platform/classes/TLabel.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TButtonControl.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Types.h"

namespace korvex::classes {

using namespace gdi;

TLabel::TLabel(TComponent* owner)
    : TGraphicControl(owner) {
    FControlStyle.Include(csOpaque);
    FControlStyle.Include(csSetCaption);
    SetBounds(Left(), Top(), 65, 17);
}

TLabel::~TLabel() = default;

TClass TLabel::StaticClass() {
    static const TClassInfo info = MakeClass<TLabel, TGraphicControl>("TLabel", [](auto& p) {
        p.Enum("Alignment", &TLabel::Alignment, &TLabel::SetAlignment, AlignmentIdents, taLeftJustify);
        p.Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true);
        p.Enum("Layout", &TLabel::Layout, &TLabel::SetLayout, TextLayoutIdents, tlTop);
        p.Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar, true);
        p.Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false);
        p.Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false);
    });
    return &info;
}

void TLabel::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
    if (value == FLayout) return;
    FLayout = value;
    Invalidate();
}

void TLabel::SetAutoSize(bool value) {
    if (value == FAutoSize) return;
    FAutoSize = value;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool value) {
    if (value == FWordWrap) return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
    if (value == FShowAccelChar) return;
    FShowAccelChar = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool value) {
    if (value == Transparent()) return;
    if (value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TLabel::SetFocusControl(TWinControl* value) {
    if (FFocusControl != nullptr) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

std::string TLabel::DisplayText() const {
    std::string text = Caption();
    if (!FShowAccelChar) return text;
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        else if (text[i] == '&')
            continue;
        out += text[i];
    }
    return out;
}

unsigned TLabel::TextFlags() const {
    unsigned flags = DT_EXPANDTABS;
    if (FWordWrap) flags |= DT_WORDBREAK;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    if (FAlignment == taCenter) flags |= DT_CENTER;
    if (FAlignment == taRightJustify) flags |= DT_RIGHT;
    return flags;
}

void TLabel::Paint() {
    TCanvas* canvas = Canvas();
    TRect client = ClientRect();
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->Assign(Font());
    std::string text = Caption();
    if (text.empty()) return;
    unsigned flags = TextFlags();
    TRect rect = client;
    if (FLayout != tlTop) {
        TRect calc = client;
        canvas->TextRect(calc, text, flags | DT_CALCRECT);
        int height = calc.bottom - calc.top;
        int offset = FLayout == tlBottom ? client.bottom - height : (client.bottom - height) / 2;
        rect.top = offset;
    }
    if (!Enabled()) {
        TRect shifted = rect;
        OffsetRect(&shifted, 1, 1);
        canvas->Font()->SetColor(clBtnHighlight);
        canvas->TextRect(shifted, text, flags);
        canvas->Font()->SetColor(clBtnShadow);
    }
    canvas->TextRect(rect, text, flags);
}

void TLabel::AdjustBounds() {
    if (ComponentState().Contains(csLoading) || !FAutoSize) return;
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Font()->Assign(Font());
    TRect rect = Rect(0, 0, FWordWrap ? Width() : 0, 0);
    std::string text = Caption();
    if (text.empty() || (FShowAccelChar && text == "&")) text = " ";
    canvas.TextRect(rect, text, TextFlags() | DT_CALCRECT);
    canvas.SetHandle(nullptr);
    DeleteDC(dc);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int left = Left();
    if (!FWordWrap && FAlignment == taRightJustify) left += Width() - width;
    if (!FWordWrap && FAlignment == taCenter) left += (Width() - width) / 2;
    if (FWordWrap) width = Width();
    SetBounds(left, Top(), width, height);
}

void TLabel::WndProc(TMessage& message) {
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

}
