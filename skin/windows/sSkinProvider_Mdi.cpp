// TsSkinProvider: the MDI side: the parent's support object, a maximized child's buttons on the parent's menu
// line, the parent repainted as children come, go, activate and change state, and the pending maximize.
#include "skin/windows/sSkinProvider.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TIcon.h"
#include "platform/gdi/BitBlt.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sMDIForm.h"
#include "skin/windows/sSystemMenu.h"

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

TCustomForm* MdiParentForm() {
    return TheMDISkinProvider != nullptr ? TheMDISkinProvider->Form() : nullptr;
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

bool TsSkinProvider::IsMdiChild() const {
    return FForm != nullptr && FForm->FormStyle() == fsMDIChild;
}

bool TsSkinProvider::IsMdiParent() const {
    return FForm != nullptr && FForm->FormStyle() == fsMDIForm;
}

void TsSkinProvider::HookMDI(bool active) {
    if (!active) {
        FMDIForm.reset();
        return;
    }
    if (FMDIForm || !IsMdiParent()) return;
    TheMDISkinProvider = this;
    FMDIForm = std::make_unique<TsMDIForm>(this);
}

void TsSkinProvider::ConnectMdi() {
    if (!IsMdiParent()) return;
    HookMDI(true);
    FMDIForm->ConnectToClient();
}

void TsSkinProvider::ReleaseMdi() {
    if (PendingFor(FForm)) ClearPendingMaximize();
    FMDIForm.reset();
    if (TheMDISkinProvider == this) TheMDISkinProvider = nullptr;
}

// The first paint of a child created while the active one was maximized.
void TsSkinProvider::MaximizeIfPending() {
    if (!PendingFor(FForm)) return;
    ClearPendingMaximize();
    FForm->SetWindowState(wsMaximized);
}

bool TsSkinProvider::MDIButtonsNeeded() const {
    return IsMdiParent() && FMDIForm && FForm->Menu() != nullptr && IsZoomedForm(FForm->ActiveMDIChild());
}

// ---------------------------------------------------------------------------------------------------------
// The maximized child's buttons on the menu line

TSize TsSkinProvider::MDIButtonSize() const {
    TsSkinManager* manager = FSkinData->SkinManager();
    const int mask = FButtons[cbMdiClose].MaskIndex;
    if (manager == nullptr || !manager->IsValidImgIndex(mask)) return TSize {16, 16};
    return manager->GetMaskFrameSize(mask);
}

void TsSkinProvider::PlaceMDIButtons() {
    for (int slot = cbMdiMinimize; slot <= cbMdiClose; ++slot)
        FButtons[std::size_t(slot)].Rect = TRect {};
    if (!MDIButtonsNeeded()) return;
    const TSize size = MDIButtonSize();
    const int top = HeaderHeight() - (MenuHeight() - size.cy) / 2 - size.cy - 1;
    const int right = FormWidth() - SysBorderWidth();
    auto place = [&](TsCaptionButtonSlot slot, int left) {
        FButtons[slot].Rect = TRect {left, top, left + size.cx, top + size.cy};
    };
    place(cbMdiMinimize, right - (size.cx + 1) * 3);
    place(cbMdiMaximize, right - (size.cx + 1) * 2);
    place(cbMdiClose, right - size.cx - 1);
}

int TsSkinProvider::MdiButtonMask(int code) {
    TsSkinManager* manager = FSkinData->SkinManager();
    if (code != htMdiRestore) return ButtonOfCode(code)->MaskIndex;
    if (!IsZoomedForm(FForm->ActiveMDIChild())) return FButtons[cbMdiMaximize].MaskIndex;
    const int global = manager->GetSkinIndex("GLOBALINFO");
    int mask = manager->GetMaskIndex(global, "GLOBALINFO", "SICONNORM");
    if (!manager->IsValidImgIndex(mask)) mask = manager->GetMaskIndex(FSkinData->SkinIndex, FSkinData->SkinSection(), "SICONNORM");
    if (!manager->IsValidImgIndex(mask)) mask = manager->GetMaskIndex(global, "GLOBALINFO", "BICONNORM");
    if (!manager->IsValidImgIndex(mask)) mask = manager->GetMaskIndex(FSkinData->SkinIndex, "FORM", "BICONNORM");
    return mask;
}

void TsSkinProvider::PaintMDIButton(TBitmap* cache, int code) {
    TsSkinManager* manager = FSkinData->SkinManager();
    const TsCaptionButton& button = *ButtonOfCode(code);
    const int mask = MdiButtonMask(code);
    if (button.Rect.Width() <= 0 || !manager->IsValidImgIndex(mask)) return;
    DrawMaskStateImage(cache, TPoint {button.Rect.left, button.Rect.top}, button.State,
        manager->Masks[std::size_t(mask)], FFormActive ? 1 : 2);
}

void TsSkinProvider::PaintMDIButtons(TBitmap* cache) {
    PlaceMDIButtons();
    if (!MDIButtonsNeeded()) return;
    // The child's icon at the left of the menu line.
    const TCustomForm* child = FForm->ActiveMDIChild();
    TIcon* icon = child->Icon();
    if ((icon == nullptr || icon->Empty()) && Application != nullptr) icon = Application->Icon();
    if (icon != nullptr && !icon->Empty()) {
        const int top = CaptionHeight() + SysBorderHeight();
        const int side = MenuHeight() - 2;
        cache->Canvas()->StretchDraw(TRect {SysBorderWidth() + 1, top + 1, SysBorderWidth() + 1 + side, top + 1 + side}, icon);
    }
    for (int code : {htMdiMinimize, htMdiRestore, htMdiClose})
        PaintMDIButton(cache, code);
}

// The menu line's background under one MDI button, then the button, into the cache.
void TsSkinProvider::RepaintMDIButton(TBitmap* cache, int code) {
    const TRect r = ButtonOfCode(code)->Rect;
    const int top = CaptionHeight() + SysBorderHeight() + FForm->BorderWidth();
    if (FTempBmp && FTempBmp->Width() > 0)
        gdi::BitBlt(cache->Canvas()->Handle(), r.left, r.top, r.Width(), r.Height(), FTempBmp->Canvas()->Handle(),
            r.left, r.top - top, gdi::SRCCOPY);
    PaintMDIButton(cache, code);
}

int TsSkinProvider::MdiHitTest(TPoint p) {
    if (!MDIButtonsNeeded()) return -1;
    PlaceMDIButtons();
    for (int code : {htMdiClose, htMdiRestore, htMdiMinimize}) {
        const TRect& r = ButtonOfCode(code)->Rect;
        if (r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom) {
            SetHotHT(code);
            return code;
        }
    }
    return 0;
}

// A release on one of the buttons sends its command to the active child.
bool TsSkinProvider::MdiButtonUp(int code) {
    if (code != htMdiClose && code != htMdiRestore && code != htMdiMinimize) return false;
    const bool down = CaptionButtonDown();
    TCustomForm* child = FForm->ActiveMDIChild();
    SetHotHT(0);
    if (!down || child == nullptr || !child->HandleAllocated()) return true;
    const user::WPARAM command = code == htMdiClose ? user::SC_CLOSE
        : code == htMdiRestore                      ? user::SC_RESTORE
                                                    : user::SC_MINIMIZE;
    if (code == htMdiMinimize) FSkinData->BeginUpdate();
    user::SendMessage(child->WindowHandle(), user::WM_SYSCOMMAND, command, 0);
    FSkinData->EndUpdate();
    RefreshFormFrame();
    return true;
}

void TsSkinProvider::PaintMDIArea(TBitmap* cache) {
    if (!IsMdiParent() || !FMDIForm) return;
    TsSkinManager* manager = FSkinData->SkinManager();
    const int index = manager->GetSkinIndex("MDIAREA");
    const TRect area = FMDIForm->MDIArea();
    if (!manager->IsValidSkinIndex(index) || area.Width() <= 0 || area.Height() <= 0) return;
    PaintSection(index, "MDIAREA", EmptyCacheInfo, true, 0, area, TPoint {area.left, area.top}, cache, manager);
}

// ---------------------------------------------------------------------------------------------------------
// The parent repainted for its children

void TsSkinProvider::RepaintMDIParent() {
    TsSkinProvider* parent = TheMDISkinProvider;
    if (parent == nullptr || !Alive(parent) || !Alive(parent->FForm)) return;
    if (Application != nullptr) Application->ProcessMessages();
    parent->FSkinData->BGChanged = true;
    parent->FPaintedState = -1;
    if (parent->FMDIForm) parent->FMDIForm->UpdateMDIIconItem();
    parent->FSkinData->EndUpdate();
    parent->FFullRebuild = true;
    if (parent->FForm->HandleAllocated()) parent->FForm->Perform(user::WM_NCPAINT, 0, 0);
    const user::HWND client = parent->FForm->ClientHandle();
    if (client != nullptr) {
        user::SendMessage(client, user::WM_NCPAINT, 0, 0);
        user::InvalidateRect(client, nullptr, true);
    }
}

// The MDI handling of a skinned form's messages; true when the message was taken here.
bool TsSkinProvider::MdiMessage(TMessage& message) {
    const bool child = IsMdiChild();
    switch (message.Msg) {
    case user::WM_CREATE: {
        if (child) ClearPendingMaximize();
        TCustomForm* parent = MdiParentForm();
        if (child && parent != nullptr && parent->HandleAllocated() && IsZoomedForm(parent->ActiveMDIChild()))
            SetPendingMaximize(FForm, parent->WindowHandle());
        CallOld(message);
        return true;
    }
    case user::WM_SHOWWINDOW:
        CallOld(message);
        if (message.WParam != 0 && PendingFor(FForm)) ReleaseMaximizeLock();
        return true;
    case user::WM_DESTROY:
        if (PendingFor(FForm)) ClearPendingMaximize();
        CallOld(message);
        return true;
    case user::WM_MDIACTIVATE:
    case user::WM_MDIDESTROY:
        CallOld(message);
        if (child && Alive(TheMDISkinProvider)) {
            FMenuInitialized = false;
            RepaintMDIParent();
        }
        return true;
    case user::WM_SYSCOMMAND:
        return (child || IsMdiParent()) && MdiSysCommand(message);
    default:
        return false;
    }
}

bool TsSkinProvider::MdiSysCommand(TMessage& message) {
    const user::WPARAM command = message.WParam & 0xFFF0;
    if (IsMdiParent()) {
        CallOld(message);
        if (command == user::SC_MINIMIZE || command == user::SC_MAXIMIZE || command == user::SC_RESTORE)
            RefreshFormFrame();
        return true;
    }
    if (BorderSysCommand(message)) return true;
    TsSkinProvider* parent = Alive(TheMDISkinProvider) ? TheMDISkinProvider : nullptr;
    const bool locked = parent != nullptr && Maximized() && command != user::SC_MAXIMIZE;
    if (locked) parent->FSkinData->BeginUpdate();
    switch (command) {
    case user::SC_RESTORE:
        if (Pending().Pending) {   // a restore while a new child waits to be maximized
            if (locked) parent->FSkinData->EndUpdate();
            return true;
        }
        FSkinData->BeginUpdate();
        CallOld(message);
        FSkinData->BGChanged = true;
        FSkinData->EndUpdate();
        if (FForm->HandleAllocated()) FForm->Perform(user::WM_NCPAINT, 0, 0);
        // Every other maximized child of the parent is restored too.
        if (TCustomForm* frame = MdiParentForm()) {
            for (int i = 0; i < frame->MDIChildCount(); ++i) {
                TCustomForm* other = frame->MDIChildren(i);
                if (other == FForm || !IsZoomedForm(other)) continue;
                other->SetWindowState(wsNormal);
                other->Perform(user::WM_NCPAINT, 0, 0);
            }
        }
        break;
    case user::SC_MAXIMIZE:
    case user::SC_MINIMIZE:
    case user::SC_CLOSE:
        CallOld(message);
        if (command == user::SC_MINIMIZE) FSavedTitle.reset();
        break;
    case user::SC_KEYMENU:
        if (parent != nullptr) parent->FSkinData->EndUpdate();
        return true;
    default:
        CallOld(message);
        if (parent != nullptr) parent->FSkinData->EndUpdate();
        return true;
    }
    if (parent != nullptr) RepaintMDIParent();
    if (FSystemMenu != nullptr && Alive(this)) FSystemMenu->UpdateItems();
    if (command == user::SC_MINIMIZE && Alive(FForm) && FForm->HandleAllocated()) {
        FSkinData->BGChanged = true;
        FForm->Perform(user::WM_NCPAINT, 0, 0);
    }
    return true;
}

// A child's activation repaints the parent's frame (its menu line and buttons) and the other children's
// frames, which are drawn inactive now.
void TsSkinProvider::MdiChildActivated() {
    TCustomForm* frame = MdiParentForm();
    if (!IsMdiChild() || frame == nullptr) return;
    for (int i = 0; i < frame->MDIChildCount(); ++i) {
        TCustomForm* other = frame->MDIChildren(i);
        if (other != FForm && other->Visible() && other->HandleAllocated()) other->Perform(user::WM_NCPAINT, 0, 0);
    }
    TheMDISkinProvider->FSkinData->BGChanged = true;
}

// An MDI child is not painted while another child of the same parent is maximized and active.
bool TsSkinProvider::HiddenByMaximizedSibling() const {
    TCustomForm* frame = MdiParentForm();
    if (!IsMdiChild() || frame == nullptr) return false;
    TCustomForm* active = frame->ActiveMDIChild();
    return active != nullptr && active != FForm && IsZoomedForm(active);
}

// The parent's frame after an MDI child's window is gone (the child is unskinned by then).
void TsSkinProvider::MdiChildGone() {
    TsSkinProvider* parent = TheMDISkinProvider;
    if (parent == nullptr || !Alive(parent) || !Alive(parent->FForm) || !parent->FMDIForm
        || !parent->FSkinData->Skinned())
        return;
    parent->FMDIForm->UpdateMDIIconItem();
    parent->RefreshFormFrame();
    if (parent->FForm->ActiveMDIChild() == nullptr && parent->FForm->ClientHandle() != nullptr)
        user::SendMessage(parent->FForm->ClientHandle(), user::WM_NCPAINT, 0, 0);
}

}
