// TCustomGroupBox and TGroupBox: painting, the client area inside the frame, the caption's accelerator.
#include "platform/classes/TGroupBox.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TButtonControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/controls/Button.h"

namespace korvex::classes {

TCustomGroupBox::TCustomGroupBox(TComponent* owner)
    : TCustomControl(owner) {
    FControlStyle = TControlStyle {
        csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable, csOpaque};
    SetBounds(Left(), Top(), 185, 105);
    SetParentColor(true);
}

TClass TCustomGroupBox::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomGroupBox, TCustomControl>("TCustomGroupBox");
    return &info;
}

int TCustomGroupBox::CaptionHeight() {
    gdi::HDC dc = gdi::CreateCompatibleDC(nullptr);
    gdi::HFONT old = gdi::SelectObject(dc, Font()->Handle());
    gdi::TEXTMETRIC tm;
    const bool ok = gdi::GetTextMetrics(dc, &tm);
    gdi::SelectObject(dc, old);
    gdi::DeleteDC(dc);
    return ok ? int(tm.tmHeight) : 13;
}

void TCustomGroupBox::Paint() {
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    gdi::HDC dc = canvas->Handle();
    if (!dc) return;
    gdi::SetTextColor(dc, gdi::PaintColor(ColorToRGB(Font()->Color())));
    user::DrawGroupBox(dc, ClientRect(), Caption(), Font()->Handle(), canvas->Brush()->Handle(), Enabled(), false);
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) {
    TCustomControl::AdjustClientRect(rect);
    rect.top += CaptionHeight();
    gdi::InflateRect(&rect, -2, -2);
}

void TCustomGroupBox::CMDialogChar(TMessage& m) {
    if (IsAccel(char32_t(m.WParam), Caption()) && CanFocus()) {
        if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
        m.Result = 1;
        return;
    }
    TCustomControl::CMDialogChar(m);
}

void TCustomGroupBox::CMTextChanged(TMessage& m) {
    TCustomControl::CMTextChanged(m);
    Invalidate();
}

void TCustomGroupBox::CMFontChanged(TMessage& m) {
    TCustomControl::CMFontChanged(m);
    Realign();
    Invalidate();
}

TGroupBox::TGroupBox(TComponent* owner)
    : TCustomGroupBox(owner) {
}

TClass TGroupBox::StaticClass() {
    static const TClassInfo info = MakeClass<TGroupBox, TCustomGroupBox>("TGroupBox");
    return &info;
}

}
