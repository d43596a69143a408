// TSplitter: finding the neighbour, dragging, limits and snapping.
#include "platform/classes/TSplitter.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TPanel.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/Painting.h"

#include <algorithm>

namespace korvex::classes {

TSplitter::TSplitter(TComponent* owner)
    : TGraphicControl(owner) {
    FControlStyle.Exclude(csSetCaption);
    SetAlign(alLeft);
    SetBounds(Left(), Top(), 3, 100);
    SetCursor(crHSplit);
}

TSplitter::~TSplitter() = default;

TClass TSplitter::StaticClass() {
    static const TClassInfo info = MakeClass<TSplitter, TGraphicControl>("TSplitter", [](auto& p) {
        p.Bool("AutoSnap", &TSplitter::AutoSnap, &TSplitter::SetAutoSnap, true);
        p.Bool("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled, false);
        p.Int("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize, 30);
        p.Enum("ResizeStyle", &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle, ResizeStyleIdents, rsPattern);
        p.Event("OnPaint", &TSplitter::OnPaint);
    });
    return &info;
}

void TSplitter::SetBeveled(bool value) {
    FBeveled = value;
    Invalidate();
}

void TSplitter::Paint() {
    TCanvas* canvas = Canvas();
    TRect rect = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(rect);
    if (FBeveled) Frame3D(canvas, rect, clBtnHighlight, clBtnShadow, 1);
    if (OnPaint) OnPaint(this);
}

void TSplitter::CMVisibleChanged(TMessage& m) {
    TGraphicControl::CMVisibleChanged(m);
    SetCursor(Horizontal() ? crHSplit : crVSplit);
}

TControl* TSplitter::FindControl() const {
    TWinControl* parent = Parent();
    if (parent == nullptr) return nullptr;
    TPoint edge {};
    switch (Align()) {
    case alLeft:
        edge = Point(Left() - 1, Top());
        break;
    case alRight:
        edge = Point(Left() + Width(), Top());
        break;
    case alTop:
        edge = Point(Left(), Top() - 1);
        break;
    case alBottom:
        edge = Point(Left(), Top() + Height());
        break;
    default:
        return nullptr;
    }
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        TRect r = c->BoundsRect();
        bool touches = false;
        switch (Align()) {
        case alLeft:
            touches = r.right == Left();
            break;
        case alRight:
            touches = r.left == Left() + Width();
            break;
        case alTop:
            touches = r.bottom == Top();
            break;
        case alBottom:
            touches = r.top == Top() + Height();
            break;
        default:
            break;
        }
        // A control sized to 0 still touches: it sits right at the splitter.
        if (touches || (r.left <= edge.x && edge.x < r.right && r.top <= edge.y && edge.y < r.bottom)) return c;
    }
    return nullptr;
}

int TSplitter::ParentPos(int x, int y) const {
    return Horizontal() ? Left() + x : Top() + y;
}

bool TSplitter::DoCanResize(int& newSize) {
    bool accept = true;
    if (OnCanResize) OnCanResize(this, newSize, accept);
    if (accept && FAutoSnap && newSize < FMinSize) newSize = 0;
    return accept;
}

void TSplitter::ApplySize(int newSize) {
    if (FControl == nullptr || newSize == (Horizontal() ? FControl->Width() : FControl->Height())) return;
    switch (Align()) {
    case alLeft:
        FControl->SetWidth(newSize);
        break;
    case alRight:
        FControl->SetBounds(
            FControl->Left() + FControl->Width() - newSize, FControl->Top(), newSize, FControl->Height());
        break;
    case alTop:
        FControl->SetHeight(newSize);
        break;
    case alBottom:
        FControl->SetBounds(
            FControl->Left(), FControl->Top() + FControl->Height() - newSize, FControl->Width(), newSize);
        break;
    default:
        break;
    }
    if (Parent() != nullptr) Parent()->Update();
    if (OnMoved) OnMoved(this);
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (!RunUserCode(this, [&] { TGraphicControl::MouseDown(button, shift, x, y); })) return;
    if (button != mbLeft) return;
    FControl = FindControl();
    if (FControl == nullptr) return;
    FDownPos = ParentPos(x, y);
    FOldSize = Horizontal() ? FControl->Width() : FControl->Height();
    FNewSize = FOldSize;
    if (FResizeStyle == rsLine || FResizeStyle == rsPattern) InvertLine();
    // The others aligned on the same axis keep MinSize.
    int parentSize = Horizontal() ? Parent()->ClientWidth() : Parent()->ClientHeight();
    int others = 0;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == FControl || !c->Visible()) continue;
        bool sameAxis = Horizontal() ? (c->Align() == alLeft || c->Align() == alRight)
                                     : (c->Align() == alTop || c->Align() == alBottom);
        if (sameAxis) others += Horizontal() ? c->Width() : c->Height();
    }
    FMaxSize = std::max(parentSize - others - FMinSize, FMinSize);
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    if (!RunUserCode(this, [&] { TGraphicControl::MouseMove(shift, x, y); })) return;
    if (FControl == nullptr || !shift.Contains(ssLeft)) return;
    int delta = ParentPos(x, y) - FDownPos;
    if (Align() == alRight || Align() == alBottom) delta = -delta;
    int size = std::min(FOldSize + delta, FMaxSize);
    if (size < FMinSize && !FAutoSnap) size = FMinSize;
    size = std::max(size, 0);
    TComponentWatch self(this);
    if (!DoCanResize(size) || !self.Alive()) return;
    if (FResizeStyle == rsLine || FResizeStyle == rsPattern) {
        InvertLine();   // off at the old place
        FNewSize = size;
        InvertLine();
        return;
    }
    FNewSize = size;
    if (FResizeStyle == rsUpdate) ApplySize(size);
}

// The splitter's place for FNewSize, inverted on the parent's window (twice puts the pixels back).
void TSplitter::InvertLine() {
    if (FControl == nullptr || FNewSize < 0 || Parent() == nullptr || !Parent()->HandleAllocated()) return;
    TRect c = FControl->BoundsRect();
    TRect r = BoundsRect();
    switch (Align()) {
    case alLeft:
        r = Bounds(c.left + FNewSize, r.top, Width(), Height());
        break;
    case alRight:
        r = Bounds(c.right - FNewSize - Width(), r.top, Width(), Height());
        break;
    case alTop:
        r = Bounds(r.left, c.top + FNewSize, Width(), Height());
        break;
    case alBottom:
        r = Bounds(r.left, c.bottom - FNewSize - Height(), Width(), Height());
        break;
    default:
        return;
    }
    user::HDC dc = user::GetDC(Parent()->WindowHandle());
    if (dc == nullptr) return;
    gdi::PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, gdi::DSTINVERT);
    user::ReleaseDC(Parent()->WindowHandle(), dc);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!RunUserCode(this, [&] { TGraphicControl::MouseUp(button, shift, x, y); })) return;
    if (FControl != nullptr && (FResizeStyle == rsLine || FResizeStyle == rsPattern) && FNewSize >= 0) {
        InvertLine();
        if (!RunUserCode(this, [&] { ApplySize(FNewSize); })) return;
    }
    FControl = nullptr;
    FNewSize = -1;
}

}
