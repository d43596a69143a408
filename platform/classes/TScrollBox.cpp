// TScrollingWinControl, TScrollBox and their scroll bars: ranges from the children, positions, scroll messages.
#include "platform/classes/TScrollBox.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WindowConstants.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

TControlScrollBar::TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind)
    : FControl(control)
    , FKind(kind) {
}

TClass TControlScrollBar::StaticClass() {
    static const TClassInfo info = MakeClass<TControlScrollBar, TPersistent>("TControlScrollBar", [](auto& p) {
        p.Int("Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement, 8);
        p.Int("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange, 0);
        p.Int("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition, 0);
        p.Bool("Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible, true);
        p.Bool("Smooth", &TControlScrollBar::Smooth, &TControlScrollBar::SetSmooth, false);
        p.Bool("Tracking", &TControlScrollBar::Tracking, &TControlScrollBar::SetTracking, false);
        p.Int("Margin", &TControlScrollBar::Margin, &TControlScrollBar::SetMargin, 0);
    });
    return &info;
}

int TControlScrollBar::ClientSize() const {
    return FKind == sbHorizontal ? FControl->ClientWidth() : FControl->ClientHeight();
}

int TControlScrollBar::MaxPosition() const {
    return std::max(FRange - ClientSize(), 0);
}

bool TControlScrollBar::IsScrollBarVisible() const {
    return FVisible && FRange > ClientSize();
}

void TControlScrollBar::SetRange(int value) {
    FControl->FAutoScroll = false;
    FRange = std::max(value, 0);
    FControl->UpdateScrollRanges();
}

void TControlScrollBar::SetVisible(bool value) {
    FVisible = value;
    FControl->UpdateScrollRanges();
}

void TControlScrollBar::SetPosition(int value) {
    value = std::clamp(value, 0, MaxPosition());
    if (value == FPosition) return;
    int delta = FPosition - value;
    FPosition = value;
    bool updating = FControl->FUpdating;
    FControl->FUpdating = true;   // moving the children must not change the range
    if (FKind == sbHorizontal)
        FControl->ScrollBy(delta, 0);
    else
        FControl->ScrollBy(0, delta);
    FControl->FUpdating = updating;
    Update();
}

void TControlScrollBar::Update() {
    if (!FControl->HandleAllocated()) return;
    int bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
    SCROLLINFO info {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = IsScrollBarVisible() ? FRange - 1 : 0;
    info.nPage = IsScrollBarVisible() ? unsigned(ClientSize()) : 0;
    info.nPos = FPosition;
    SetScrollInfo(FControl->WindowHandle(), bar, &info, true);
}

// The thumb's position in full: the message carries only its low 16 bits; the bar's track position (or its
// position) is taken when it agrees with them.
int TControlScrollBar::TrackPosition(int fallback) const {
    SCROLLINFO info {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS | SIF_POS;
    int bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
    if (!FControl->HandleAllocated() || !GetScrollInfo(FControl->WindowHandle(), bar, &info)) return fallback;
    for (int candidate : {info.nTrackPos, info.nPos})
        if ((candidate & 0xFFFF) == (fallback & 0xFFFF)) return candidate;
    return fallback;
}

void TControlScrollBar::ScrollMessage(int code, int trackPos) {
    int page = std::max(ClientSize() * 9 / 10, 1);
    switch (code) {
    case SB_LINEUP:
        SetPosition(FPosition - FIncrement);
        break;
    case SB_LINEDOWN:
        SetPosition(FPosition + FIncrement);
        break;
    case SB_PAGEUP:
        SetPosition(FPosition - page);
        break;
    case SB_PAGEDOWN:
        SetPosition(FPosition + page);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        SetPosition(TrackPosition(trackPos));
        break;
    case SB_TOP:
        SetPosition(0);
        break;
    case SB_BOTTOM:
        SetPosition(MaxPosition());
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* owner)
    : TWinControl(owner)
    , FHorzScrollBar(std::make_unique<TControlScrollBar>(this, sbHorizontal))
    , FVertScrollBar(std::make_unique<TControlScrollBar>(this, sbVertical)) {
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Exclude(csSetCaption);
    SetParentColor(false);
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 185, 41);
}

TScrollingWinControl::~TScrollingWinControl() = default;

TClass TScrollingWinControl::StaticClass() {
    static const TClassInfo info = MakeClass<TScrollingWinControl, TWinControl>("TScrollingWinControl", [](auto& p) {
        p.Bool("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll, true);
    });
    return &info;
}

TScrollBox::TScrollBox(TComponent* owner)
    : TScrollingWinControl(owner) {
    FBorderStyle = bsSingle;
}

TClass TScrollBox::StaticClass() {
    static const TClassInfo info = MakeClass<TScrollBox, TScrollingWinControl>("TScrollBox", [](auto& p) {
        p.Enum("BorderStyle", &TScrollingWinControl::BorderStyle, &TScrollingWinControl::SetBorderStyle,
            FormBorderStyleIdents, bsSingle);
    });
    return &info;
}

void TScrollingWinControl::SetAutoScroll(bool value) {
    FAutoScroll = value;
    UpdateScrollRanges();
}

void TScrollingWinControl::SetBorderStyle(TFormBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    RecreateWnd();
}

void TScrollingWinControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollingWinControl::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateScrollRanges();
}

// The range reaches the farthest child edge, measured from the unscrolled origin.
void TScrollingWinControl::UpdateScrollRanges() {
    if (FUpdating) return;
    FUpdating = true;
    if (FAutoScroll) {
        int right = 0;
        int bottom = 0;
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (!c->Visible()) continue;
            if (c->Align() != alLeft && c->Align() != alClient && c->Align() != alRight)
                bottom = std::max(bottom, c->Top() + c->Height() + FVertScrollBar->FPosition);
            if (c->Align() != alTop && c->Align() != alClient && c->Align() != alBottom)
                right = std::max(right, c->Left() + c->Width() + FHorzScrollBar->FPosition);
        }
        FHorzScrollBar->FRange = right;
        FVertScrollBar->FRange = bottom;
    }
    // Clamping needs the client size, which a form knows only with its window: not before.
    for (TControlScrollBar* bar : {FHorzScrollBar.get(), FVertScrollBar.get()}) {
        bar->Update();
        if (HandleAllocated()) bar->SetPosition(bar->FPosition);   // clamped to the new range
    }
    FUpdating = false;
}

void TScrollingWinControl::ScrollInView(TControl* control) {
    if (control == nullptr || !ContainsControl(control)) return;
    TPoint origin = ScreenToClient(control->ClientToScreen(Point(0, 0)));
    TRect r = Bounds(origin.x, origin.y, control->Width(), control->Height());
    if (r.left < 0)
        FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + r.left);
    else if (r.right > ClientWidth())
        FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + std::min(r.right - ClientWidth(), r.left));
    if (r.top < 0)
        FVertScrollBar->SetPosition(FVertScrollBar->Position() + r.top);
    else if (r.bottom > ClientHeight())
        FVertScrollBar->SetPosition(FVertScrollBar->Position() + std::min(r.bottom - ClientHeight(), r.top));
}

void TScrollingWinControl::AlignControls(TControl* control, TRect& rect) {
    TWinControl::AlignControls(control, rect);
    UpdateScrollRanges();
}

void TScrollingWinControl::WMHScroll(TMessage& m) {
    if (m.LParam != 0) {
        TWinControl::WMHScroll(m);
        return;
    }
    FHorzScrollBar->ScrollMessage(LOWORD(m.WParam), HIWORD(m.WParam));
}

void TScrollingWinControl::WMVScroll(TMessage& m) {
    if (m.LParam != 0) {
        TWinControl::WMVScroll(m);
        return;
    }
    FVertScrollBar->ScrollMessage(LOWORD(m.WParam), HIWORD(m.WParam));
}

void TScrollingWinControl::WMSize(TMessage& m) {
    TWinControl::WMSize(m);
    UpdateScrollRanges();
}

}
