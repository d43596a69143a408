// Control-tree and window routines: notifications, the colour query, providers, owners, window questions.
#include "skin/engine/sStyleSimply.h"

#include "platform/base/Strings.h"
#include "platform/classes/Colors.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TToolBar.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PenBrush.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sMenuSupport.h"
#include "skin/engine/sMessages.h"

#include <memory>
#include <vector>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

bool IsDestroying(const TComponent* component) {
    return component->ComponentState().Contains(csDestroying);
}

bool IsDesigning(const TComponent* component) {
    return component->ComponentState().Contains(csDesigning);
}

// A memory DC with a screen-format bitmap selected; both go with the scope.
class MemoryPicture {
public:
    MemoryPicture(int width, int height)
        : FDc(gdi::CreateCompatibleDC(nullptr))
        , FBitmap(gdi::CreateCompatibleBitmap(nullptr, width, height)) {
        if (FDc != nullptr && FBitmap) FOld = gdi::SelectObject(FDc, FBitmap.Get());
    }
    ~MemoryPicture() {
        if (FOld != nullptr) gdi::SelectObject(FDc, FOld);
        if (FDc != nullptr) gdi::DeleteDC(FDc);
    }
    MemoryPicture(const MemoryPicture&) = delete;
    MemoryPicture& operator=(const MemoryPicture&) = delete;

    gdi::HDC Dc() const { return FOld != nullptr ? FDc : nullptr; }

private:
    gdi::HDC FDc = nullptr;
    gdi::GdiHandle<gdi::Bitmap> FBitmap;
    gdi::HBITMAP FOld = nullptr;
};

// Whether asking for the control's window makes one instead of raising: the topmost control above it that has
// no window yet is a form or sits in a window of another kind.
bool CanMakeWindow(TWinControl* control) {
    if (control->HandleAllocated()) return true;
    if (IsDestroying(control)) return false;
    TWinControl* top = control;
    while (top->Parent() != nullptr && !top->Parent()->HandleAllocated())
        top = top->Parent();
    return top->Parent() != nullptr || top->ParentWindow() != nullptr || dynamic_cast<TCustomForm*>(top) != nullptr;
}

// Windowless, shown, sized, not a push-style tool button, and visible in dc.
bool TakesPart(TControl* child, gdi::HDC dc) {
    if (dynamic_cast<TWinControl*>(child) != nullptr) return false;
    if (!child->Visible() && !IsDesigning(child)) return false;
    if (child->Width() + child->Height() <= 0) return false;
    if (child->ControlStyle().Contains(csNoDesignVisible) || IsDestroying(child)) return false;
    if (auto* button = dynamic_cast<TToolButton*>(child)) {
        const TToolButtonStyle style = button->Style();
        if (style == tbsButton || style == tbsCheck || style == tbsDropDown) return false;
    }
    const TRect bounds = child->BoundsRect();
    return gdi::RectVisible(dc, &bounds);
}

}

void NotifyChildrenUpdated(TWinControl* control) {
    if (control == nullptr) return;
    classes::TComponentWatch watch(control);
    for (int i = 0; watch.Alive() && i < control->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(control->Controls(i));
        if (child == nullptr || IsDestroying(child)) continue;
        try {
            child->Perform(SM_SKINCMD, SkinCommandWParam(SMC_PARENTUPDATED), 0);
        } catch (...) {
            // swallowed: the other children still hear of it
        }
    }
}

void ResetPaintMarks(TControl* control) {
    if (control == nullptr) return;
    auto* win = dynamic_cast<TWinControl*>(control);
    if (win == nullptr) {
        control->Perform(SM_SKINCMD, SkinCommandWParam(SMC_SETPAINTMARK, 0), 0);
        return;
    }
    classes::TComponentWatch watch(win);
    if (CanMakeWindow(win)) user::SendMessage(win->Handle(), SM_SKINCMD, SkinCommandWParam(SMC_SETPAINTMARK, 0), 0);
    for (int i = 0; watch.Alive() && i < win->ControlCount(); ++i)
        ResetPaintMarks(win->Controls(i));
}

TColor QueryControlColor(TWinControl* control) {
    if (control == nullptr) return 0xFF00FF;
    classes::TComponentWatch watch(control);
    TColor answer = CanMakeWindow(control) ? AskColor(control->Handle()) : TColor(0xFF00FF);
    if (answer == 0xFF00FF && watch.Alive()) answer = control->Color();
    return ColorToRGB(answer);
}

void PassToSkinProvider(TCustomForm* form, TMessage& message) {
    if (form == nullptr) return;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        TComponent* component = form->Components(i);
        auto* provider = dynamic_cast<SkinProviderLink*>(component);
        if (provider == nullptr || IsDestroying(component)) continue;
        provider->ProviderMessage(message);
        return;
    }
}

void ComposeGraphicChildren(gdi::HDC dc, TWinControl* control) {
    if (control == nullptr || dc == nullptr) return;
    if ((!control->Visible() && !IsDesigning(control)) || control->ControlCount() == 0) return;
    TRect clip {};
    gdi::GetClipBox(dc, &clip);
    if (clip.right <= clip.left || clip.bottom <= clip.top) {
        SendSkinCommand(control->WindowHandle(), SMC_SETCACHEINCOMPLETE);
        return;
    }
    const TsParentCacheInfo cache = AskCache(control->WindowHandle());
    if (!cache.Ready || cache.Bmp == nullptr) return;

    // Painting a child may free others: each is held by a watch.
    std::vector<std::unique_ptr<classes::TComponentWatch>> children;
    for (int i = 0; i < control->ControlCount(); ++i)
        if (TakesPart(control->Controls(i), dc)) children.push_back(std::make_unique<classes::TComponentWatch>(control->Controls(i)));
    if (children.empty()) return;

    MemoryPicture picture(std::max(1, control->Width()), std::max(1, control->Height()));
    gdi::HDC mem = picture.Dc();
    if (mem == nullptr) return;
    gdi::HDC cacheDc = cache.Bmp->Canvas()->Handle();
    for (auto& watch : children) {
        auto* child = watch->As<TControl>();
        const TRect r = child->BoundsRect();
        if (child->ControlStyle().Contains(csOpaque)) {
            gdi::GdiHandle<gdi::Brush> brush(gdi::CreateSolidBrush(ColorToRGB(child->Color())));
            gdi::FillRect(mem, &r, brush);
        } else if (cacheDc != nullptr) {
            gdi::BitBlt(mem, r.left, r.top, r.right - r.left, r.bottom - r.top, cacheDc, r.left + cache.X, r.top + cache.Y,
                gdi::SRCCOPY);
        }
    }
    for (auto& watch : children) {
        auto* child = watch->As<TControl>();
        if (child == nullptr) continue;
        gdi::SavedDc saved(mem);
        gdi::POINT origin {};
        gdi::GetWindowOrgEx(mem, &origin);
        gdi::SetWindowOrgEx(mem, origin.x - child->Left(), origin.y - child->Top(), nullptr);
        gdi::IntersectClipRect(mem, 0, 0, child->Width(), child->Height());
        child->Perform(user::WM_PAINT, reinterpret_cast<WPARAM>(mem), 0);
    }
    for (auto& watch : children) {
        auto* child = watch->As<TControl>();
        if (child == nullptr) continue;
        // A child that left its corner in the key colour shows what lies under it instead.
        if (gdi::GetPixel(mem, child->Left(), child->Top()) == 0xFF00FF) continue;
        const TRect r = child->BoundsRect();
        gdi::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, r.left, r.top, gdi::SRCCOPY);
    }
}

bool HasScrollBar(user::HWND window, int kind) {
    const auto style = static_cast<user::DWORD>(user::GetWindowLong(window, user::GWL_STYLE));
    switch (kind) {
    case 0: return (style & user::WS_HSCROLL) != 0;
    case 1: return (style & user::WS_VSCROLL) != 0;
    case 3: return (style & user::WS_HSCROLL) != 0 && (style & user::WS_VSCROLL) != 0;
    default: return false;
    }
}

void GetWorkAreaRect(TRect& rect) {
    user::SystemParametersInfo(user::SPI_GETWORKAREA, 0, &rect);
}

bool IsControlPaintable(const TControl* control) {
    if (control == nullptr) return false;
    if (control->ControlState().Contains(csCreating) || control->ControlState().Contains(csReadingState)) return false;
    const TComponentState state = control->ComponentState();
    if (state.Contains(csLoading) || state.Contains(csDestroying)) return false;
    return control->Parent() != nullptr;
}

void ShowWindowNoActivate(TWinControl* control) {
    if (control == nullptr) return;
    user::HWND window = control->Handle();
    if (window == nullptr) return;
    user::SetWindowPos(
        window, nullptr, 0, 0, 0, 0, user::SWP_NOSIZE | user::SWP_NOMOVE | user::SWP_NOACTIVATE | user::SWP_SHOWWINDOW);
}

TCustomForm* GetOwnerForm(TComponent* component) {
    for (TComponent* c = component; c != nullptr; c = c->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
    return nullptr;
}

TComponent* GetOwnerFrame(TComponent* component) {
    if (FrameClass == nullptr) return nullptr;
    for (TComponent* c = component; c != nullptr; c = c->Owner())
        if (c->InheritsFrom(FrameClass)) return c;
    return nullptr;
}

TComponent* FindComponentByPath(TComponent* owner, const std::string& name) {
    if (owner == nullptr) return nullptr;
    const auto dot = name.find('.');
    if (dot == std::string::npos) {
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (base::SameText(owner->Components(i)->Name(), name)) return owner->Components(i);
        return nullptr;
    }
    TComponent* frame = FindComponentByPath(owner, name.substr(0, dot));
    if (frame == nullptr || FrameClass == nullptr || !frame->InheritsFrom(FrameClass)) return nullptr;
    return FindComponentByPath(frame, name.substr(dot + 1));
}

unsigned TextAlignFlags(const TControl* control, TAlignment alignment) {
    static constexpr unsigned byAlignment[] = {gdi::DT_LEFT, gdi::DT_RIGHT, gdi::DT_CENTER};
    const unsigned align = unsigned(alignment) < 3 ? byAlignment[alignment] : gdi::DT_LEFT;
    const unsigned flags = align | gdi::DT_VCENTER | gdi::DT_EXPANDTABS;
    return control != nullptr ? control->DrawTextBiDiModeFlags(flags) : flags;
}

}
