// TsMdiChrome: the parent's support object, a maximized child's buttons on the parent's menu line, the parent
// repainted as children come, go, activate and change state, and the pending maximize.
#include "skin/windows/sMdiChrome.h"

#include "platform/classes/SystemIcons.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TMenu.h"
#include "platform/gdi/BitBlt.h"
#include "platform/user/Icons.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sAppIcons.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sMDIForm.h"
#include "skin/windows/sSkinProvider.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

TsSkinProvider* TheMDISkinProvider = nullptr;

// An MDI child created while the active one is maximized is maximized on its first paint; the parent stays
// locked until then, and also no longer than the child's showing, its destruction or the flag's clearing.
struct PendingMaximizeState {
    bool Pending = false;
    const TCustomForm* Child = nullptr;   // compared only: cleared when that child goes
    user::HWND Locked = nullptr;
};

PendingMaximizeState& Pending() {
    static PendingMaximizeState state;
    return state;
}

void ReleaseMaximizeLock() {
    if (Pending().Locked == nullptr) return;
    Pending().Locked = nullptr;
    user::LockWindowUpdate(nullptr);
}

void ClearPendingMaximize() {
    Pending().Pending = false;
    Pending().Child = nullptr;
    ReleaseMaximizeLock();
}

bool PendingFor(const TCustomForm* child) {
    return Pending().Pending && Pending().Child == child;
}

void SetPendingMaximize(const TCustomForm* child, user::HWND parent) {
    ClearPendingMaximize();
    Pending().Pending = true;
    Pending().Child = child;
    if (parent != nullptr && user::LockWindowUpdate(parent)) Pending().Locked = parent;
}

bool IsZoomedForm(const TCustomForm* form) {
    return form != nullptr && form->HandleAllocated() && user::IsZoomed(form->WindowHandle());
}

bool Alive(const TComponent* c) {
    return c != nullptr && !c->ComponentState().Contains(csDestroying);
}

}

TsSkinProvider* MDISkinProvider() {
    return TheMDISkinProvider;
}

bool MaximizePending() {
    return Pending().Pending;
}

bool MaximizeLockHeld() {
    return Pending().Locked != nullptr;
}

TsMdiChrome::TsMdiChrome(TsSkinProvider& provider)
    : FProvider(provider) {
}

TsMdiChrome::~TsMdiChrome() = default;

TsSkinProvider* TsMdiChrome::LiveParent() {
    return Alive(TheMDISkinProvider) ? TheMDISkinProvider : nullptr;
}

TCustomForm* TsMdiChrome::ParentForm() {
    return TheMDISkinProvider != nullptr ? TheMDISkinProvider->Form() : nullptr;
}

bool TsMdiChrome::IsChild() const {
    return FProvider.Form() != nullptr && FProvider.Form()->FormStyle() == fsMDIChild;
}

bool TsMdiChrome::IsParent() const {
    return FProvider.Form() != nullptr && FProvider.Form()->FormStyle() == fsMDIForm;
}

void TsMdiChrome::Hook(bool active) {
    if (!active) {
        FMDIForm.reset();
        return;
    }
    if (FMDIForm || !IsParent()) return;
    TheMDISkinProvider = &FProvider;
    FMDIForm = std::make_unique<TsMDIForm>(&FProvider);
}

void TsMdiChrome::Connect() {
    if (!IsParent()) return;
    Hook(true);
    FMDIForm->ConnectToClient();
}

void TsMdiChrome::Release() {
    if (PendingFor(FProvider.Form())) ClearPendingMaximize();
    FMDIForm.reset();
    if (TheMDISkinProvider == &FProvider) TheMDISkinProvider = nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// A child's life

void TsMdiChrome::Creating() {
    if (IsChild()) ClearPendingMaximize();
    TCustomForm* parent = ParentForm();
    if (IsChild() && parent != nullptr && parent->HandleAllocated() && IsZoomedForm(parent->ActiveMDIChild()))
        SetPendingMaximize(FProvider.Form(), parent->WindowHandle());
}


void TsMdiChrome::Destroying() {
    if (PendingFor(FProvider.Form())) ClearPendingMaximize();
}

// The first paint of a child created while the active one was maximized.
void TsMdiChrome::MaximizeIfPending() {
    if (!PendingFor(FProvider.Form())) return;
    ClearPendingMaximize();
    FProvider.Form()->SetWindowState(wsMaximized);
}

// ---------------------------------------------------------------------------------------------------------
// The maximized child's buttons on the menu line

bool TsMdiChrome::ButtonsNeeded() const {
    const TCustomForm* form = FProvider.Form();
    return IsParent() && FMDIForm && form->Menu() != nullptr && IsZoomedForm(form->ActiveMDIChild());
}

TSize TsMdiChrome::ButtonSize() const {
    TsSkinManager* manager = FProvider.SkinData()->SkinManager();
    const int mask = FProvider.CaptionButtons().Button(cbMdiClose).MaskIndex;
    if (manager == nullptr || !manager->IsValidImgIndex(mask)) return TSize {16, 16};
    return manager->GetMaskFrameSize(mask);
}

void TsMdiChrome::PlaceButtons() {
    TsCaptionButtons& buttons = FProvider.CaptionButtons();
    for (int slot = cbMdiMinimize; slot <= cbMdiClose; ++slot)
        buttons.Button(TsCaptionButtonSlot(slot)).Rect = TRect {};
    if (!ButtonsNeeded()) return;
    const TsFrameGeometry& g = FProvider.FrameGeometry();
    const TSize size = ButtonSize();
    const int top = g.HeaderHeight() - (g.MenuHeight() - size.cy) / 2 - size.cy - 1;
    const int right = g.FormWidth() - g.SysBorderWidth();
    auto place = [&](TsCaptionButtonSlot slot, int left) {
        buttons.Button(slot).Rect = TRect {left, top, left + size.cx, top + size.cy};
    };
    place(cbMdiMinimize, right - (size.cx + 1) * 3);
    place(cbMdiMaximize, right - (size.cx + 1) * 2);
    place(cbMdiClose, right - size.cx - 1);
}

int TsMdiChrome::ButtonMask(int code) {
    const TsCommonData* data = FProvider.SkinData();
    TsSkinManager* manager = data->SkinManager();
    TsCaptionButtons& buttons = FProvider.CaptionButtons();
    if (code != htMdiRestore) return buttons.OfCode(code)->MaskIndex;
    if (!IsZoomedForm(FProvider.Form()->ActiveMDIChild())) return buttons.Button(cbMdiMaximize).MaskIndex;
    const int global = manager->GetSkinIndex("GLOBALINFO");
    int mask = manager->GetMaskIndex(global, "GLOBALINFO", "SICONNORM");
    if (!manager->IsValidImgIndex(mask))
        mask = manager->GetMaskIndex(data->SkinIndex, data->SkinSection(), "SICONNORM");
    if (!manager->IsValidImgIndex(mask)) mask = manager->GetMaskIndex(global, "GLOBALINFO", "BICONNORM");
    if (!manager->IsValidImgIndex(mask)) mask = manager->GetMaskIndex(data->SkinIndex, "FORM", "BICONNORM");
    return mask;
}

void TsMdiChrome::PaintButton(TBitmap* cache, int code) {
    TsSkinManager* manager = FProvider.SkinData()->SkinManager();
    const TsCaptionButton& button = *FProvider.CaptionButtons().OfCode(code);
    const int mask = ButtonMask(code);
    if (button.Rect.Width() <= 0 || !manager->IsValidImgIndex(mask)) return;
    DrawMaskStateImage(cache, TPoint {button.Rect.left, button.Rect.top}, button.State,
        manager->Masks[std::size_t(mask)], FProvider.FormActive() ? 1 : 2);
}

// The maximized child's icon at the left of the menu line: its own, else the program's small one, else the
// system's.
void TsMdiChrome::PaintMenuIcon(TBitmap* cache) {
    if (!ButtonsNeeded() || TheMDISkinProvider != &FProvider) return;
    const TCustomForm* child = FProvider.Form()->ActiveMDIChild();
    user::HICON icon = child->Icon() != nullptr ? child->Icon()->Handle() : nullptr;
    if (icon == nullptr && AppSmallIcon() != nullptr) icon = AppSmallIcon()->Handle();
    if (icon == nullptr) icon = LoadIcon(nullptr, IDI_APPLICATION);
    const TsFrameGeometry& g = FProvider.FrameGeometry();
    const int top = g.CaptionHeight() + g.SysBorderHeight();
    const int side = g.MenuHeight() - 2;
    if (side > 0)
        user::DrawIconEx(
            cache->Canvas()->Handle(), g.SysBorderWidth() + 1, top + 1, icon, side, side, 0, nullptr, user::DI_NORMAL);
}

void TsMdiChrome::PaintButtons(TBitmap* cache) {
    PlaceButtons();
    if (!ButtonsNeeded()) return;
    for (int code : {htMdiMinimize, htMdiRestore, htMdiClose})
        PaintButton(cache, code);
}

// The menu line's background under one MDI button, then the button, into the cache.
void TsMdiChrome::RepaintButton(TBitmap* cache, int code) {
    const TRect r = FProvider.CaptionButtons().OfCode(code)->Rect;
    const TsFrameGeometry& g = FProvider.FrameGeometry();
    const int top = g.CaptionHeight() + g.SysBorderHeight() + FProvider.Form()->BorderWidth();
    TBitmap* line = FProvider.MenuLineBmp();
    if (line != nullptr && line->Width() > 0)
        gdi::BitBlt(cache->Canvas()->Handle(), r.left, r.top, r.Width(), r.Height(), line->Canvas()->Handle(), r.left,
            r.top - top, gdi::SRCCOPY);
    PaintButton(cache, code);
}

int TsMdiChrome::HitTest(TPoint p) {
    if (!ButtonsNeeded()) return -1;
    PlaceButtons();
    for (int code : {htMdiClose, htMdiRestore, htMdiMinimize}) {
        const TRect& r = FProvider.CaptionButtons().OfCode(code)->Rect;
        if (r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom) {
            FProvider.SetHotHT(code);
            return code;
        }
    }
    return 0;
}

bool TsMdiChrome::ButtonUp(int code) {
    if (code != htMdiClose && code != htMdiRestore && code != htMdiMinimize) return false;
    TCustomForm* child = FProvider.Form()->ActiveMDIChild();
    if (!CaptionButtonDown() || child == nullptr || !child->HandleAllocated()) return true;
    const user::WPARAM command = code == htMdiClose ? user::SC_CLOSE
        : code == htMdiRestore                      ? user::SC_RESTORE
                                                    : user::SC_MINIMIZE;
    // The child's own handling of a maximized child's command ends the parent's update (RepaintParent).
    if (code == htMdiMinimize && LiveParent() != nullptr) LiveParent()->SkinData()->BeginUpdate();
    TComponentWatch self(&FProvider);
    user::SendMessage(child->WindowHandle(), user::WM_SYSCOMMAND, command, 0);
    if (self.Alive() && code != htMdiClose) FProvider.SetHotHT(0);
    return true;
}

void TsMdiChrome::PaintArea(TBitmap* cache) {
    if (!IsParent() || !FMDIForm) return;
    TsSkinManager* manager = FProvider.SkinData()->SkinManager();
    const int index = manager->GetSkinIndex("MDIAREA");
    const TRect area = FMDIForm->MDIArea();
    if (!manager->IsValidSkinIndex(index) || area.Width() <= 0 || area.Height() <= 0) return;
    PaintSection(index, "MDIAREA", EmptyCacheInfo, true, 0, area, TPoint {area.left, area.top}, cache, manager);
}

// ---------------------------------------------------------------------------------------------------------
// The parent repainted for its children

void TsMdiChrome::RepaintParent() {
    TsSkinProvider* parent = TheMDISkinProvider;
    if (parent == nullptr || !Alive(parent) || !Alive(parent->Form())) return;
    if (Application != nullptr) Application->ProcessMessages();
    if (!Alive(TheMDISkinProvider) || TheMDISkinProvider != parent) return;
    parent->SkinData()->BGChanged = true;
    parent->ForgetMenuLines();
    if (parent->MDIForm() != nullptr) parent->MDIForm()->UpdateMDIIconItem();
    parent->SkinData()->EndUpdate();
    if (parent->Form()->HandleAllocated()) parent->Form()->Perform(user::WM_NCPAINT, 0, 0);
    const user::HWND client = parent->Form()->ClientHandle();
    if (client != nullptr) user::SendMessage(client, user::WM_NCPAINT, 0, 0);
}

// A maximized child's size: the parent's frame (its menu line shows the child's buttons) is painted again.
void TsMdiChrome::MaximizedChildSized() {
    TsSkinProvider* parent = LiveParent();
    if (parent == nullptr || !Alive(parent->Form())) return;
    parent->SkinData()->BGChanged = true;
    if (parent->Form()->HandleAllocated()) parent->Form()->Perform(user::WM_NCPAINT, 0, 0);
}

// A child made as an MDI child shows: the parent's frame, menu line item, client edge and bars follow.
void TsMdiChrome::ChildShowing() {
    TsSkinProvider* parent = LiveParent();
    if (parent == nullptr || parent->MDIForm() == nullptr || !Alive(parent->Form())) return;
    parent->SkinData()->BGChanged = true;
    parent->ForgetMenuLines();
    parent->MDIForm()->UpdateMDIIconItem();
    if (parent->Form()->HandleAllocated()) parent->Form()->Perform(user::WM_NCPAINT, 0, 0);
    const user::HWND client = parent->Form()->ClientHandle();
    if (client != nullptr) {
        user::SendMessage(client, user::WM_NCPAINT, 0, 0);
        user::InvalidateRect(client, nullptr, true);
    }
    if (parent->MDIForm() != nullptr) parent->MDIForm()->UpdateScrolls();
}

// A child activated or destroyed: the parent's frame is built again whole.
void TsMdiChrome::ChildSwitched() {
    TsSkinProvider* parent = LiveParent();
    if (parent == nullptr) return;
    parent->RequestFullRebuild();
    parent->SkinData()->BGChanged = true;
    parent->ForgetMenuLines();
    if (parent->Form() != nullptr && parent->Form()->HandleAllocated())
        parent->Form()->Perform(user::WM_NCPAINT, 0, 0);
}

void TsMdiChrome::UpdateParentScrolls() {
    TsSkinProvider* parent = IsParent() ? &FProvider : LiveParent();
    if (parent != nullptr && parent->MDIForm() != nullptr) parent->MDIForm()->UpdateScrolls();
}

void TsMdiChrome::ChildMoved() {
    TsSkinProvider* parent = LiveParent();
    if (!IsChild() || IsZoomedForm(FProvider.Form()) || FProvider.ComponentState().Contains(csLoading)
        || parent == nullptr || parent->MDIForm() == nullptr)
        return;
    parent->SkinData()->SetUpdating(false);
    parent->MDIForm()->UpdateScrolls();
}

void TsMdiChrome::Forget(const TComponent* component) {
    if (FMDIForm) FMDIForm->Forget(component);
}

void TsMdiChrome::RestoreOtherChildren() {
    TCustomForm* frame = ParentForm();
    if (frame == nullptr) return;
    for (int i = 0; i < frame->MDIChildCount(); ++i) {
        TCustomForm* other = frame->MDIChildren(i);
        if (other == FProvider.Form() || !IsZoomedForm(other)) continue;
        other->SetWindowState(wsNormal);
        other->Perform(user::WM_NCPAINT, 0, 0);
    }
}

// A child's activation repaints the parent's frame (its menu line and buttons) and the other children's
// frames, which are drawn inactive now.
void TsMdiChrome::ChildActivated() {
    TCustomForm* frame = ParentForm();
    if (!IsChild() || frame == nullptr) return;
    for (int i = 0; i < frame->MDIChildCount(); ++i) {
        TCustomForm* other = frame->MDIChildren(i);
        if (other != FProvider.Form() && other->Visible() && other->HandleAllocated())
            other->Perform(user::WM_NCPAINT, 0, 0);
    }
    TheMDISkinProvider->SkinData()->BGChanged = true;
}

// An MDI child is not painted while another child of the same parent is maximized and active.
bool TsMdiChrome::HiddenByMaximizedSibling() const {
    TCustomForm* frame = ParentForm();
    if (!IsChild() || frame == nullptr) return false;
    TCustomForm* active = frame->ActiveMDIChild();
    return active != nullptr && active != FProvider.Form() && IsZoomedForm(active);
}

// A child's client beside a maximized active child: only that child paints it, and not before it is maximized.
bool TsMdiChrome::ClientPaintWithheld() const {
    TCustomForm* frame = ParentForm();
    if (!IsChild() || frame == nullptr) return false;
    TCustomForm* active = frame->ActiveMDIChild();
    if (active == nullptr || !IsZoomedForm(active)) return false;
    return active != FProvider.Form() || MaximizePending();
}

// The parent's frame after an MDI child's window is gone (the child is unskinned by then).
void TsMdiChrome::ChildGone() {
    TsSkinProvider* parent = TheMDISkinProvider;
    if (parent == nullptr || !Alive(parent) || !Alive(parent->Form()) || parent->MDIForm() == nullptr
        || !parent->SkinData()->Skinned())
        return;
    parent->MDIForm()->UpdateScrolls();
    parent->RefreshFormFrame();
    if (parent->Form()->ActiveMDIChild() == nullptr && parent->Form()->ClientHandle() != nullptr)
        user::SendMessage(parent->Form()->ClientHandle(), user::WM_NCPAINT, 0, 0);
}

}
