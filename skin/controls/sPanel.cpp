// TsPanel, TsDragBar and TsGrip: skinned containers painted from the cache.
#include "skin/controls/sPanel.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TForm.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/Input.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

// ---- TsPanel -------------------------------------------------------------------------------------------------

TsPanel::TsPanel(TComponent* owner)
    : TPanel(owner), FCommonData(std::make_unique<TsCommonData>(this, true)) {
    SetControlStyle(ControlStyle() + TControlStyle {csOpaque});
    FCommonData->ControlKind = TacControlKind::Panel;
}

TsPanel::~TsPanel() = default;

TClass TsPanel::StaticClass() {
    using T = TsPanel;
    static const TClassInfo info = MakeClass<T, TPanel>("TsPanel", [](TPropertyBuilder<T>& p) {
        p.Object("SkinData", &T::SkinData);
        p.Event("OnPaint", &T::OnPaint);
        p.Event("OnMouseEnter", &T::OnMouseEnter);
        p.Event("OnMouseLeave", &T::OnMouseLeave);
    });
    return &info;
}

void TsPanel::AfterConstruction() {
    TPanel::AfterConstruction();
    FCommonData->Loaded();
}

void TsPanel::Loaded() {
    TPanel::Loaded();
    FCommonData->Loaded();
}

TacFrameHooks TsPanel::Hooks() {
    TacFrameHooks hooks;
    hooks.Container = true;
    hooks.RenderCache = [this] { RenderContainerCache(this, FCommonData.get(), [this](TBitmap* c) { PaintOwnParts(c); }); };
    return hooks;
}

void TsPanel::WndProc(TMessage& m) {
    if (SkinCommandPrologue(m, FCommonData.get(), Hooks()) == TacStep::Done) return;
    TsCommonData* data = FCommonData.get();
    if (PaintsSkinned(data)) {
        if (SkinCommandWhenSkinned(m, data, Hooks()) == TacStep::Done) return;
        auto paint = [this](gdi::HDC dc) { PaintSkin(dc); };
        if (ContainerPaintMessage(m, this, Canvas(), TacHiddenPaint::Skip, paint) == TacStep::Done) return;
        switch (m.Msg) {
        case user::WM_SETFOCUS:
        case user::WM_KILLFOCUS:
            TPanel::WndProc(m);
            return;
        case CM_VISIBLECHANGED:
            data->BGChanged = true;
            data->Updating = false;
            TPanel::WndProc(m);
            if (Visible()) Repaint();
            return;
        case CM_ENABLEDCHANGED:
            if (Visible()) {
                data->Updating = false;
                data->Invalidate();
            }
            break;
        case CM_TEXTCHANGED:
            if (Parent() != nullptr) data->Invalidate();
            return;
        case user::WM_SETFONT:
            TPanel::WndProc(m);
            if (!Caption().empty()) {
                data->BGChanged = true;
                Repaint();
            }
            return;
        default:
            break;
        }
        if (!CommonWndProc(m, data)) TPanel::WndProc(m);
    } else {
        // An assigned OnPaint draws on the face itself: the base class does not erase under it.
        if (m.Msg == user::WM_ERASEBKGND && OnPaint) {
            m.Result = 1;
            return;
        }
        TPanel::WndProc(m);
    }
    // Also for a child's notice (LParam the child): the mouse came to or left the panel through it.
    if (m.Msg == CM_MOUSEENTER && OnMouseEnter) OnMouseEnter(this);
    else if (m.Msg == CM_MOUSELEAVE && OnMouseLeave) OnMouseLeave(this);
}

void TsPanel::PaintWindow(gdi::HDC dc) {
    TPanel::PaintWindow(dc);
    if (PaintsSkinned(FCommonData.get())) PaintSkin(dc);
}

void TsPanel::Paint() {
    TPanel::Paint();
    if (OnPaint && !PaintsSkinned(FCommonData.get())) OnPaint(this, Canvas());
}

void TsPanel::PaintSkin(gdi::HDC dc) {
    PaintContainerSkin(this, FCommonData.get(), dc, [this](TBitmap* cache) { PaintOwnParts(cache); });
}

void TsPanel::PaintOwnParts(TBitmap* cache) {
    PaintContainerCaption(this, FCommonData.get(), cache->Canvas(), Caption(), ClientRect(), TextAlignFlags(this, Alignment()));
    FCommonData->BGChanged = false;   // the cache is new when OnPaint draws on it
    if (OnPaint) OnPaint(this, cache->Canvas());
}

// ---- TsDragBar -----------------------------------------------------------------------------------------------

TsDragBar::TsDragBar(TComponent* owner) : TsPanel(owner) {
    SkinData()->ControlKind = TacControlKind::DragBar;
    SetCaption(" ");
    SetAlign(alTop);
    SetHeight(20);
    SetAlignment(taCenter);
    Font()->SetColor(clCaptionText);
    Font()->SetStyle(TFontStyles {fsBold});
    SetColor(clActiveCaption);
    SetCursor(crHandPoint);
}

TsDragBar::~TsDragBar() = default;

TClass TsDragBar::StaticClass() {
    using T = TsDragBar;
    static const TClassInfo info = MakeClass<T, TsPanel>("TsDragBar", [](TPropertyBuilder<T>& p) {
        p.Enum("Align", &T::Align, &T::SetAlign, AlignIdents, alTop);
        p.Color("Color", &T::Color, &T::SetColor, clActiveCaption).Stored(&T::ColorStored);
        p.Component("DraggedControl", &T::DraggedControl, &T::SetDraggedControl);
    });
    return &info;
}

void TsDragBar::SetDraggedControl(TControl* value) {
    if (value == FDraggedControl) return;
    if (FDraggedControl != nullptr) FDraggedControl->RemoveFreeNotification(this);
    FDraggedControl = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TsDragBar::Notification(TComponent* component, TOperation operation) {
    TsPanel::Notification(component, operation);
    if (operation == opRemove && component == FDraggedControl) FDraggedControl = nullptr;
}

void TsDragBar::Loaded() {
    // A bar dropped on a form moves that form unless told otherwise.
    if (FDraggedControl == nullptr && Parent() != nullptr) SetDraggedControl(GetParentForm(this));
    TsPanel::Loaded();
}

void TsDragBar::WndProc(TMessage& m) {
    if (m.Msg == user::WM_ACTIVATEAPP) {
        // Caption colours as a pair, so the unskinned text always stands out from the bar.
        const bool active = m.WParam != 0;
        SetColor(active ? clActiveCaption : clInactiveCaption);
        Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
    }
    TsPanel::WndProc(m);
}

void TsDragBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TsPanel::MouseDown(button, shift, x, y);
    if (button != mbLeft || FDraggedControl == nullptr) return;
    user::ReleaseCapture();
    constexpr WPARAM MoveByCaption = 0xF012;   // SC_MOVE with the caption hit code
    if (auto* target = dynamic_cast<TWinControl*>(FDraggedControl)) {
        if (target->Handle() != nullptr) user::SendMessage(target->Handle(), user::WM_SYSCOMMAND, MoveByCaption, 0);
    } else {
        FDraggedControl->Perform(user::WM_SYSCOMMAND, MoveByCaption, 0);
    }
}

// ---- TsGrip --------------------------------------------------------------------------------------------------

TsGrip::TsGrip(TComponent* owner) : TsPanel(owner) {
    SetCaption(" ");
    SkinData()->SetSkinSection("CHECKBOX");
    SetAlign(alNone);
    SetBounds(Left(), Top(), 20, 20);
}

TsGrip::~TsGrip() = default;

TClass TsGrip::StaticClass() {
    static const TClassInfo info = MakeClass<TsGrip, TsPanel>("TsGrip");
    return &info;
}

void TsGrip::SetLinkedControl(TWinControl* value) {
    if (value == FLinkedControl) return;
    if (FLinkedControl != nullptr) FLinkedControl->RemoveFreeNotification(this);
    FLinkedControl = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TsGrip::Notification(TComponent* component, TOperation operation) {
    TsPanel::Notification(component, operation);
    if (operation == opRemove && component == FLinkedControl) FLinkedControl = nullptr;
}

bool TsGrip::CopyHostCorner(gdi::HDC dc) {
    if (!Transparent || FLinkedControl == nullptr || dc == nullptr) return false;
    const TsParentCacheInfo ci = AskControlCache(FLinkedControl);
    if (!ci.Ready || ci.Bmp == nullptr) return false;
    gdi::BitBlt(dc, 0, 0, Width(), Height(), ci.Bmp->Canvas()->Handle(), ci.Bmp->Width() - Width() + ci.X,
        ci.Bmp->Height() - Height() + ci.Y, gdi::SRCCOPY);
    return true;
}

// The base class's painting: while skinned the grip is painted as a panel of its own section; this runs only
// unskinned or when the grip is printed.
void TsGrip::Paint() {
    if (!IsControlPaintable(this)) return;
    SkinData()->BGChanged = false;
    if (!CopyHostCorner(Canvas()->Handle())) {
        TsPanel::Paint();
    } else if (OnPaint && !PaintsSkinned(SkinData())) {
        OnPaint(this, Canvas());
    }
}

}
