// Cross-fades and the animation timer: which events fade, the fade decision, the timers' steps and frames.
#include "skin/engine/sFade.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Messages.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sPixelRows.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sWindowDc.h"

#include <algorithm>
#include <utility>

namespace korvex::skin {

using classes::TBitmap;
using classes::TControl;
using classes::TWinControl;

namespace {

bool IsDestroying(const classes::TComponent* c) {
    return c->ComponentState().Contains(classes::csDestroying);
}

bool Terminating() {
    return classes::Application != nullptr && classes::Application->Terminated();
}

// The section of a skinned state; nullptr when the state is not skinned.
const TsGeneralData* FadeSection(const TsCommonData* data) {
    if (data == nullptr || !data->Skinned()) return nullptr;
    return &data->SkinManager()->Sections[std::size_t(data->SkinIndex)];
}

int SectionIterations(const TsCommonData* data) {
    const TsGeneralData* section = FadeSection(data);
    return section ? section->FadingIterations : 0;
}

void Bind(TsCommonData* data, TsCommonData*& field, std::unique_ptr<classes::TComponentWatch>& control) {
    field = data;
    TControl* owner = data ? data->OwnerControl() : nullptr;
    if (control == nullptr || control->Get() != owner)
        control = owner ? std::make_unique<classes::TComponentWatch>(owner) : nullptr;
}

bool SameSize(const TBitmap* a, const TBitmap* b) {
    return a != nullptr && b != nullptr && a->Width() == b->Width() && a->Height() == b->Height();
}

// A 24-bit copy of the old picture with the cache summed into it at alpha (the old picture keeps alpha / 255).
// Alpha 255 is the old picture and 0 the new one exactly (the plain sum would take one off bright bytes); a
// cache of another size is not summed.
std::unique_ptr<TBitmap> MakeFrame(const TBitmap* old, TBitmap* cache, std::uint8_t alpha) {
    auto frame = std::make_unique<TBitmap>();
    frame->Assign(alpha == 0 ? cache : old);
    if (frame->PixelFormat() != classes::pf24bit) frame->SetPixelFormat(classes::pf24bit);
    if (alpha != 0 && alpha != 255 && SameSize(frame.get(), cache)) SumBitmaps(frame.get(), cache, alpha);
    return frame;
}

// co_ The frame through SMC_PAINTFADEFRAME; when the control does not paint it, onto its window's client area
// (a windowless control has none: nothing is copied). The DC is released on every path, also when the control
// went meanwhile.
void ShowFrame(TControl* control, TBitmap* frame) {
    auto* win = dynamic_cast<TWinControl*>(control);
    classes::TComponentWatch watch(control);
    TacWindowDc dc(win != nullptr ? win->WindowHandle() : nullptr);
    gdi::SavedDc saved(dc.Dc());
    const classes::LRESULT painted
        = control->Perform(SM_SKINCMD, SkinCommandWParam(SMC_PAINTFADEFRAME), classes::LPARAM(frame));
    if (painted != 0 || !watch.Alive() || dc.Dc() == nullptr) return;
    gdi::BitBlt(dc.Dc(), 0, 0, frame->Width(), frame->Height(), frame->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

}

bool AnimatEventEnabled(TacAnimatEvent event, TacAnimatEvents events) {
    if (events.Contains(event)) return true;
    return events.Contains(aeGlobalDef) && DefaultAnimatEvents.Contains(event);
}

std::uint8_t FadeAlpha(int step, int iterations) {
    if (iterations == 0) return 0;
    return detail::ClampToByte(int(255 - std::int64_t(step) * 256 / iterations));
}

// ---- TsFadeTimer ----------------------------------------------------------------------------------------------

TsFadeTimer::TsFadeTimer(classes::TComponent* owner)
    : TTimer(owner), FOldImage(std::make_unique<TBitmap>()) {
    SetDirection(0);
}

TsFadeTimer::~TsFadeTimer() = default;

classes::TClass TsFadeTimer::StaticClass() {
    static const classes::TClassInfo info = classes::MakeClass<TsFadeTimer, TTimer>("TsFadeTimer", [](auto&) { });
    return &info;
}

void TsFadeTimer::SetDirection(std::uint8_t value) {
    FDirection = value;
    if (Step < 0) Step = 1;
    SetEnabled(value != 0);
}

TsCommonData* TsFadeTimer::SkinData() const {
    return Control() != nullptr ? FSkinData : nullptr;
}

TControl* TsFadeTimer::Control() const {
    return FControl ? FControl->As<TControl>() : nullptr;
}

void TsFadeTimer::Prepare(TsCommonData* data) {
    const bool running = FDirection == 1 || FDirection == 2;
    Bind(data, FSkinData, FControl);
    FOldImage->Assign(data ? data->CacheBmp() : nullptr);
    SetInterval(FadeInterval);
    Iterations = SectionIterations(data);
    // A reversed fade takes as many steps as the interrupted one had made.
    if (running) Iterations = FDirection == 1 ? Step : Iterations - Step;
    FPainted = false;
}

bool TsFadeTimer::CheckFinished() {
    TControl* control = Control();
    if (control == nullptr || IsDestroying(control) || Terminating()) {
        SetDirection(0);   // nothing left to fade: the timer rests
        return false;
    }
    if (Step >= 0 && Step <= Iterations) return false;
    // A fade that showed no frame (no steps) leaves the old look on screen: the control paints its new one.
    if (!FPainted) control->Invalidate();
    classes::TComponentWatch self(this);
    control->Perform(SM_SKINCMD, SkinCommandWParam(SMC_STOPFADING), 0);   // co_ usually frees this timer
    if (self.Alive() && !IsDestroying(this)) SetDirection(0);   // a control that keeps it: it rests
    return true;
}

void TsFadeTimer::MakeStep() {
    TControl* control = Control();
    if (control == nullptr || IsDestroying(control) || Iterations == 0) return;
    std::unique_ptr<TBitmap> frame = MakeFrame(FOldImage.get(), FSkinData->CacheBmp(), FadeAlpha(Step, Iterations));
    classes::TComponentWatch self(this);
    ShowFrame(control, frame.get());   // co_
    if (!self.Alive()) return;
    FPainted = true;
    ++Step;
}

void TsFadeTimer::Timer() {
    if (IsDestroying(this)) return;
    classes::TComponentWatch self(this);
    try {
        if (CheckFinished()) return;
        if (FDirection == 1 || FDirection == 2) MakeStep();
    } catch (...) {
        // The step is dropped. It still counts, so a control that fails every frame still ends its fade.
        if (!self.Alive() || IsDestroying(this)) return;
        if (Step < 0 || Step > Iterations)
            SetDirection(0);
        else
            ++Step;
    }
}

// ---- The fade decision ------------------------------------------------------------------------------------------

void DoChangePaint(TsFadeTimer*& timer, TsCommonData* data, bool half, int direction, bool allowed) {
    if (data == nullptr) return;
    const TsGeneralData* section = FadeSection(data);
    const bool fade = allowed && !SkinChanging && section != nullptr && section->FadingEnabled && !CalcPopupCreating
        && data->CacheBmp() != nullptr && !data->BGChanged && data->OwnerControl() != nullptr;
    data->BGChanged = true;
    if (fade) {
        StartFade(timer, data, half, direction);
        return;
    }
    StopFadeTimer(timer);
    if (TControl* control = data->OwnerControl()) control->Repaint();
}

void StartFade(TsFadeTimer*& timer, TsCommonData* data, bool half, int direction) {
    const TsGeneralData* section = FadeSection(data);
    TControl* control = data ? data->OwnerControl() : nullptr;
    if (section == nullptr || !section->FadingEnabled || control == nullptr) return;
    if (timer == nullptr) {
        timer = classes::Create<TsFadeTimer>(control);
        timer->SetEnabled(false);
        timer->Step = 1;
    }
    TsFadeTimer* t = timer;
    t->Prepare(data);
    if (half) t->Iterations /= 2;
    if (t->Step >= t->Iterations || t->Step < 1) t->Step = 1;
    classes::TComponentWatch controlWatch(control);
    classes::TComponentWatch timerWatch(t);
    control->Perform(SM_SKINCMD, SkinCommandWParam(SMC_PREPAREFADE), 0);   // co_ the control renders its new look
    if (!controlWatch.Alive() || !timerWatch.Alive() || IsDestroying(control) || IsDestroying(t)) return;
    t->SetDirection(std::uint8_t(direction));
}

void StopFadeTimer(TsFadeTimer*& timer) {
    TsFadeTimer* t = std::exchange(timer, nullptr);
    if (t == nullptr || IsDestroying(t)) return;   // one being destroyed goes with its owner
    t->SetDirection(0);
    t->Free();
}

// ---- TsAnimTimer ----------------------------------------------------------------------------------------------

TsAnimTimer::TsAnimTimer(classes::TComponent* owner)
    : TTimer(owner), FStartImage(std::make_unique<TBitmap>()), FFrameImage(std::make_unique<TBitmap>()) {
    SetEnabled(false);
}

TsAnimTimer::~TsAnimTimer() = default;

classes::TClass TsAnimTimer::StaticClass() {
    static const classes::TClassInfo info = classes::MakeClass<TsAnimTimer, TTimer>("TsAnimTimer", [](auto&) { });
    return &info;
}

TsCommonData* TsAnimTimer::SkinData() const {
    return Control() != nullptr ? FSkinData : nullptr;
}

TControl* TsAnimTimer::Control() const {
    return FControl ? FControl->As<TControl>() : nullptr;
}

void TsAnimTimer::Prepare(TsCommonData* data) {
    Bind(data, FSkinData, FControl);
    SetInterval(FadeInterval);
    Iterations = SectionIterations(data);
}

bool TsAnimTimer::CheckFinished() {
    if (IsDestroying(this)) return true;
    TControl* control = Control();
    if (control == nullptr || IsDestroying(control) || Terminating()) {
        SetEnabled(false);   // nothing left to animate: the timer rests
        return true;
    }
    if (Step >= 0 && Step <= Iterations) return false;
    classes::TComponentWatch self(this);
    control->Perform(SM_SKINCMD, SkinCommandWParam(SMC_STOPFADING), 0);   // co_ usually frees this timer
    if (self.Alive() && !IsDestroying(this)) SetEnabled(false);
    return true;
}

void TsAnimTimer::MakeStep() {
    TControl* control = Control();
    if (FBusy || control == nullptr || IsDestroying(control) || Iterations == 0 || Step < 0) {
        ++Step;
        return;
    }
    FBusy = true;
    FFrameImage = MakeFrame(FStartImage.get(), FSkinData->CacheBmp(), FadeAlpha(Step, Iterations));
    classes::TComponentWatch self(this);
    struct EndStep {
        classes::TComponentWatch& Self;
        TsAnimTimer* Timer;
        ~EndStep() {
            if (!Self.Alive()) return;
            ++Timer->Step;
            Timer->FBusy = false;
        }
    } end {self, this};
    Paint();   // co_
}

void TsAnimTimer::Paint() {
    TControl* control = Control();
    if (control == nullptr) return;
    TWinControl* parent = control->Parent();
    const user::HWND parentWindow = parent ? parent->WindowHandle() : nullptr;
    if (parentWindow != nullptr)
        user::SendMessage(parentWindow, SM_SKINCMD, SkinCommandWParam(SMC_SETANIMCHILD), classes::LPARAM(control));
    classes::TComponentWatch watch(control);
    control->Perform(SM_SKINCMD, SkinCommandWParam(SMC_SETUPDATING, 0), 0);   // co_
    if (watch.Alive()) control->Repaint();   // co_
    if (parentWindow != nullptr) user::SendMessage(parentWindow, SM_SKINCMD, SkinCommandWParam(SMC_SETANIMCHILD), 0);
}

void TsAnimTimer::Timer() {
    if (IsDestroying(this)) return;
    if (!CheckFinished()) MakeStep();
}

}
