// TsSplitter: the skinned splitter, its states and its drag.
#include "skin/controls/sSplitter.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/MessageIds.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

TsSplitter::TsSplitter(TComponent* owner)
    : TSplitter(owner), FCommonData(std::make_unique<TsCommonData>(this, false)) {
    FCommonData->ControlKind = TacControlKind::Splitter;
    SetControlStyle(TControlStyle {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
    SetWidth(6);
}

TsSplitter::~TsSplitter() = default;

TClass TsSplitter::StaticClass() {
    using T = TsSplitter;
    static const TClassInfo info = MakeClass<T, TSplitter>("TsSplitter", [](TPropertyBuilder<T>& p) {
        p.Object("SkinData", &T::SkinData);
        p.Int("Width", &T::Width, &T::SetWidth, 6);
    });
    return &info;
}

void TsSplitter::AfterConstruction() {
    TSplitter::AfterConstruction();
    FCommonData->Loaded();
}

void TsSplitter::Loaded() {
    TSplitter::Loaded();
    FCommonData->Loaded();
}

int TsSplitter::SkinState() const {
    if (FPressed && ResizeStyle() == rsUpdate) return 2;
    return FCommonData->IsHot() ? 1 : 0;
}

void TsSplitter::Paint() {
    TsCommonData* data = FCommonData.get();
    if (!data->Skinned(true)) {
        TSplitter::Paint();
        return;
    }
    const int w = Width();
    const int h = Height();
    if (w < 1 || h < 1) return;
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr) return;
    // No cache between paints: it is made for this one and freed after the blit.
    struct FreeCache {
        TsCommonData* Data;
        ~FreeCache() { Data->FreeCacheBmp(); }
    } freeCache {data};
    RenderControlSkin(data, GetParentCache(data), true, SkinState(), TRect {0, 0, w, h}, TPoint {Left(), Top()},
        cache, false);
    data->BGChanged = false;
    gdi::BitBlt(Canvas()->Handle(), 0, 0, w, h, cache->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
    if (ControlDesigning(this)) DrawDesignFrame();
    if (OnPaint) OnPaint(this);
}

// A dotted frame that shows the splitter in a designer; the canvas's pen and brush are put back after.
void TsSplitter::DrawDesignFrame() {
    TCanvas* canvas = Canvas();
    TPen* pen = canvas->Pen();
    const TPenStyle style = pen->Style();
    const TPenMode mode = pen->Mode();
    const TColor color = pen->Color();
    const TBrushStyle brush = canvas->Brush()->Style();
    pen->SetStyle(psDot);
    pen->SetMode(pmXor);
    pen->SetColor(TColor(0xFFD8CE));
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(ClientRect());
    pen->SetStyle(style);
    pen->SetMode(mode);
    pen->SetColor(color);
    canvas->Brush()->SetStyle(brush);
}

void TsSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (Application != nullptr) {
        FSavedShowHint = Application->ShowHint();
        Application->SetShowHint(false);
    }
    // A control collapsed to nothing by AutoSnap sits at the splitter, so the drag finds it again.
    if (AutoSnap() && Parent() != nullptr) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            TControl* c = Parent()->Controls(i);
            if (c == this) continue;
            if (Align() == alTop && c->Height() == 0) c->SetTop(Top());
            else if (Align() == alLeft && c->Width() == 0) c->SetLeft(Left());
        }
    }
    TSplitter::MouseDown(button, shift, x, y);
    FPressed = true;
    if (ResizeStyle() == rsUpdate) Repaint();
}

void TsSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TSplitter::MouseUp(button, shift, x, y);
    FPressed = false;
    if (ResizeStyle() == rsUpdate) Repaint();
    if (Application != nullptr) Application->SetShowHint(FSavedShowHint);
}

void TsSplitter::WndProc(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    // Losing the skin repaints at once, as a refresh does.
    if (m.Msg == SM_SKINCMD && SkinCommandCode(m) == SMC_REMOVESKIN && m.LParam == LPARAM(data->SkinManager())) {
        CommonWndProc(m, data);
        if (!ControlDestroying(this)) Repaint();
        return;
    }
    if (SkinCommandPrologue(m, data, TacFrameHooks {}) == TacStep::Done) return;
    if (IsControlPaintable(this) && data->Skinned()) {
        if (m.Msg == SM_SKINCMD && SkinCommandCode(m) == SMC_PARENTUPDATED && data->Updating) {
            data->Updating = false;
            Perform(user::WM_PAINT, 0, 0);
            return;
        }
        switch (m.Msg) {
        case user::WM_NCPAINT:
        case user::WM_ERASEBKGND:
            return;
        case user::WM_MOVE:
        case user::WM_SIZE:
        case user::WM_MOUSEWHEEL:
        case CM_VISIBLECHANGED:
        case CM_ENABLEDCHANGED:
            data->BGChanged = true;
            break;
        default:
            break;
        }
        if (!CommonWndProc(m, data)) TSplitter::WndProc(m);
    } else {
        TSplitter::WndProc(m);
    }
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (m.LParam != 0 || data->Focused || ControlDesigning(this)) break;
        data->MouseAbove = m.Msg == CM_MOUSEENTER;
        data->BGChanged = true;
        Perform(user::WM_NCPAINT, 0, 0);
        Repaint();
        break;
    case user::WM_SETFOCUS:
    case user::WM_KILLFOCUS:
    case CM_ENTER:
    case CM_EXIT:
        data->Focused = m.Msg == user::WM_SETFOCUS || m.Msg == CM_ENTER;
        data->MouseAbove = false;
        data->BGChanged = true;
        Repaint();
        Perform(user::WM_NCPAINT, 0, 0);
        break;
    default:
        break;
    }
}

}
