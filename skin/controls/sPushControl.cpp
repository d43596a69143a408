// The shared paint cycle of the windowed push controls.
#include "skin/controls/sPushControl.h"

#include "platform/base/Assert.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sFade.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"


namespace korvex::skin {

using namespace korvex::classes;

void TacPendingRegion::Reset(gdi::HRGN region) {
    if (FRegion != nullptr && FRegion != region) gdi::DeleteObject(FRegion);
    FRegion = region;
}

gdi::HRGN TacPendingRegion::Release() {
    gdi::HRGN r = FRegion;
    FRegion = nullptr;
    return r;
}

bool PushControlQuery(TMessage& m, TsFadeTimer*& fadeTimer, const std::function<void()>& prepare) {
    switch (SkinCommandCode(m)) {
    case SMC_ISSKINNED:
        m.LParam = 1;
        return true;
    case SMC_STOPFADING:
        StopFadeTimer(fadeTimer);
        return true;
    case SMC_PREPAREFADE:
        if (prepare) prepare();
        return false;
    default:
        return false;
    }
}

bool PushControlSkinChange(TMessage& m, TsCommonData* data, TsFadeTimer*& fadeTimer) {
    const int code = SkinCommandCode(m);
    if (code != SMC_NEWSKIN && code != SMC_REMOVESKIN && code != SMC_REFRESH) return false;
    if (reinterpret_cast<TsSkinManager*>(m.LParam) != data->SkinManager()) return false;
    StopFadeTimer(fadeTimer);
    CommonWndProc(m, data);
    return true;
}

bool MessageInside(const TControl* control, const TMessage& message) {
    const TPoint p {short(message.LParam & 0xFFFF), short((message.LParam >> 16) & 0xFFFF)};
    const TRect client = control->ClientRect();
    return p.x >= client.left && p.y >= client.top && p.x < client.right && p.y < client.bottom;
}

bool FinishPress(TControl* control, bool& pressed, bool run, const std::function<void()>& action) {
    pressed = false;
    if (!run || !action) return true;
    classes::TComponentWatch watch(control);
    action();
    return watch.Alive() && !ControlDestroying(control);
}

bool BoundsOutsideParentClient(const TControl* control) {
    const TWinControl* parent = control->Parent();
    if (parent == nullptr) return true;
    const TRect client = parent->ClientRect();
    return control->Left() < client.left || control->Top() < client.top
        || control->Left() + control->Width() > client.right || control->Top() + control->Height() > client.bottom;
}

namespace {

class TacPaintScope {
public:
    // Without a given DC: the paint begun (the update region validated) and the whole window drawn through a
    // window DC. A given DC (a print) begins no paint, so the screen's pending update stays pending.
    TacPaintScope(user::HWND window, gdi::HDC given) : FWindow(window), FDc(given) {
        if (FDc == nullptr) {
            user::BeginPaint(window, &FPs);
            FBegan = true;
            FDc = user::GetDC(window);
            FOwnDc = FDc != nullptr;
        }
    }
    ~TacPaintScope() {
        if (FOwnDc) user::ReleaseDC(FWindow, FDc);
        if (FBegan) user::EndPaint(FWindow, &FPs);
    }
    TacPaintScope(const TacPaintScope&) = delete;
    TacPaintScope& operator=(const TacPaintScope&) = delete;
    gdi::HDC Dc() const { return FDc; }

private:
    user::HWND FWindow;
    gdi::HDC FDc;
    user::PAINTSTRUCT FPs {};
    bool FBegan = false;
    bool FOwnDc = false;
};

}

void PaintPushControl(const TacPushPaint& paint, TMessage& message) {
    TWinControl* control = paint.Control;
    TsCommonData* data = paint.Data;
    KORVEX_ASSERT(control != nullptr && data != nullptr && paint.Prepare);
    TacPaintScope scope(control->WindowHandle(), reinterpret_cast<gdi::HDC>(message.WParam));
    if (scope.Dc() == nullptr) return;
    gdi::SavedDc saved(scope.Dc());
    data->Updating = data->IsUpdating();
    if (data->Updating) return;
    if (paint.FadeTimer != nullptr && *paint.FadeTimer != nullptr) {
        if ((*paint.FadeTimer)->Direction() != 0) return;   // the fade shows its own frames
        StopFadeTimer(*paint.FadeTimer);
    }
    data->BGChanged = data->BGChanged || data->CacheIncomplete
        || (control->Parent() != nullptr && QuerySkinCommand(control->Parent(), SMC_ISCACHEINCOMPLETE));
    data->CacheIncomplete = BoundsOutsideParentClient(control);
    if (data->BGChanged && (!data->PaintMark || paint.State != 0)) paint.Prepare();
    const bool regionDue = paint.RegionChanged != nullptr && *paint.RegionChanged;
    if (regionDue) PaintFrameAllSides(data, paint.State);
    if (TBitmap* cache = data->CacheBmp())
        gdi::BitBlt(scope.Dc(), 0, 0, control->Width(), control->Height(), cache->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
    if (regionDue && paint.Region != nullptr && paint.Region->Get() != nullptr
        && !control->ComponentState().Contains(csDesigning)) {
        user::SetWindowRgn(control->WindowHandle(), paint.Region->Release(), false);
        *paint.RegionChanged = false;
    }
}

}
