// TsSkinProvider: construction, the hook of the form's WindowProc, properties and the skin's arrival and removal.
#include "skin/windows/sSkinProvider.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/Region.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sScrollBar.h"
#include "skin/windows/sMDIForm.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/sSystemMenu.h"
#include "skin/windows/sTitleButtons.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

inline constexpr std::string_view GripModeIdents[] = {"gmNone", "gmRightBottom"};
inline constexpr std::string_view ResizeModeIdents[] = {"rmStandard", "rmBorder"};

bool IsDesigning(const TComponent* c) {
    return c->ComponentState().Contains(csDesigning);
}

}

// The form's WindowProc is a TProc; when the provider goes, the hook passes everything on to the kept
// procedure, and the kept one is put back when nobody has hooked in after us.
struct TsSkinProvider::THook {
    TsSkinProvider* Provider = nullptr;
    TWndMethod Old;
};

struct TsSkinProvider::TProc {
    std::shared_ptr<THook> Hook;
    void operator()(TMessage& message) const {
        std::shared_ptr<THook> keep = Hook;   // the provider may go inside its handler
        if (keep->Provider != nullptr)
            keep->Provider->NewWndProc(message);
        else if (keep->Old)
            keep->Old(message);
    }
};

TsSkinProvider::TsSkinProvider(TComponent* owner)
    : TComponent(owner)
    , FSkinData(std::make_unique<TsCommonData>(this, true))
    , FTitleButtons(std::make_unique<TsTitleButtons>(this))
    , FTitleIcon(std::make_unique<TsTitleIcon>()) {
    FForm = GetOwnerForm(this);
    FSkinData->SetSkinSection("FORM");
    FSkinData->ControlKind = TacControlKind::Form;
    FSkinData->ProviderForm = FForm;
    FSkinData->ProviderMessage = [this](TMessage& m) { NewWndProc(m); };
    FCaptionButtons
        = std::make_unique<TsCaptionButtons>(*this, FForm != nullptr ? FForm->BorderIcons() : TsBorderIcons {});
    FScrollBars = std::make_unique<TsFormScrollBars>(*this, FForm != nullptr && FForm->AutoScroll());
    if (FForm == nullptr || IsDesigning(this)) return;
    FForm->SetAutoScroll(false);
    FTempBmp = std::make_unique<TBitmap>();
    FTempBmp->SetPixelFormat(pf24bit);
    FFirstInit = true;
    FFormBorderStyle = FForm->BorderStyle();
    FHook = std::make_shared<THook>();
    FHook->Provider = this;
    FHook->Old = FForm->WindowProc;
    FForm->WindowProc = TProc {FHook};
}

TsSkinProvider::~TsSkinProvider() {
    ForgetHotMenuItem();
    // A child with its own menu leaves: the parent's menu line is laid out and painted again.
    TsSkinProvider* parent = MDISkinProvider();
    if (!IsDesigning(this) && FMdi.IsChild() && FForm->Menu() != nullptr && parent != nullptr && parent != this
        && !parent->ComponentState().Contains(csDestroying) && parent->Form() != nullptr
        && !parent->Form()->ComponentState().Contains(csDestroying)) {
        parent->SkinData()->BGChanged = true;
        parent->ForgetMenuLines();
        parent->Form()->Perform(user::WM_NCPAINT, 0, 0);
    }
    FMdi.Release();
    FScrollBars->FreeBars();
    if (FHook) {
        FHook->Provider = nullptr;
        if (FForm != nullptr) {
            const TProc* current = FForm->WindowProc.target<TProc>();
            if (current != nullptr && current->Hook.get() == FHook.get()) FForm->WindowProc = FHook->Old;
        }
    }
    FSkinData->ProviderMessage = nullptr;
}

TClass TsSkinProvider::StaticClass() {
    using T = TsSkinProvider;
    static const TClassInfo info = MakeClass<T, TComponent>("TsSkinProvider", [](TPropertyBuilder<T>& p) {
        p.Set("BorderIcons", &T::BorderIcons, &T::SetBorderIcons, BorderIconIdents,
            TsBorderIcons {biSystemMenu, biMinimize, biMaximize});
        p.Enum("CaptionAlignment", &T::CaptionAlignment, &T::SetCaptionAlignment, AlignmentIdents, taLeftJustify);
        p.Object("SkinData", &T::SkinData);
        p.Enum("GripMode", &T::GripMode, &T::SetGripMode, GripModeIdents, gmNone);
        p.Bool("MakeSkinMenu", &T::MakeSkinMenu, &T::SetMakeSkinMenu, true);
        p.String("MenuLineSkin", &T::MenuLineSkin, &T::SetMenuLineSkin);
        p.Enum("ResizeMode", &T::ResizeMode, &T::SetResizeMode, ResizeModeIdents, rmStandard);
        p.Bool("ScreenSnap", &T::ScreenSnap, &T::SetScreenSnap, false);
        p.Int("SnapBuffer", &T::SnapBuffer, &T::SetSnapBuffer, 10);
        p.Bool("ShowAppIcon", &T::ShowAppIcon, &T::SetShowAppIcon, true);
        p.Object("TitleButtons", &T::TitleButtons, &T::SetTitleButtons);
        p.Object("TitleIcon", &T::TitleIcon, &T::SetTitleIcon);
        p.String("TitleSkin", &T::TitleSkin, &T::SetTitleSkin);
        p.Bool("UseGlobalColor", &T::UseGlobalColor, &T::SetUseGlobalColor, true);
    });
    return &info;
}

void TsSkinProvider::AfterConstruction() {
    TComponent::AfterConstruction();
    if (FSkinData->SkinManager() != nullptr && !IsDesigning(this)) PrepareSkin();
}

void TsSkinProvider::Loaded() {
    TComponent::Loaded();
    if (FSkinData->SkinManager() != nullptr && !IsDesigning(this) && FSkinData->Skinned(true)) {
        PrepareSkin();
        if (FSystemMenu != nullptr) FSystemMenu->UpdateItems();
        FCaptionButtons->UpdateTitleButtonMasks();
        if (TsMDIForm* mdi = MDIForm()) {
            if (Application != nullptr) Application->ProcessMessages();
            if (MDIForm() == mdi) mdi->ConnectToClient();
        }
    }
}

void TsSkinProvider::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FForm) FForm = nullptr;
    if (operation == opRemove && component == FSystemMenu) FSystemMenu = nullptr;
    if (operation == opRemove && FScrollBars) FScrollBars->Forget(component);   // made in the body, freed first
    if (operation == opRemove) FMdi.Forget(component);
    if (auto* manager = dynamic_cast<TsSkinManager*>(component)) {
        if (operation == opRemove && manager == FSkinData->SkinManager()) FSkinData->SetSkinManager(nullptr);
        if (operation == opInsert && FSkinData->OwnSkinManager() == nullptr) FSkinData->SetSkinManager(manager);
    }
}

void TsSkinProvider::DropSysMenu(int x, int y) {
    if (FSystemMenu == nullptr || FForm == nullptr) return;
    if (FMakeSkinMenu) {
        FSystemMenu->RemoveSkinItems();
        FSystemMenu->MakeSkinItems();
        // The new skin items are painted by the skin like the rest of the menu.
        TsSkinableMenus* menus = SkinableMenus();
        if (menus != nullptr && menus->Active() && FSkinData->SkinManager()->SkinnedPopups())
            menus->HookPopupMenu(FSystemMenu, true);
    }
    FSystemMenu->UpdateItems();
    FSystemMenu->Popup(x, y);
}

void TsSkinProvider::DropSysMenuAtIcon() {
    const TPoint origin = FormLeftTop();
    if (FMdi.IsChild() && MDISkinProvider() != nullptr)
        DropSysMenu(origin.x, origin.y + CaptionHeight());
    else
        DropSysMenu(origin.x + SysBorderWidth(), origin.y + BorderHeight() + IconRect().Height());
}

// ---------------------------------------------------------------------------------------------------------
// Properties: each change repaints the frame of a skinned form.

void TsSkinProvider::SetBorderIcons(TsBorderIcons value) {
    if (value == FBorderIcons) return;
    FBorderIcons = value;   // the next frame repaint shows it
}

// The title drawn again from the next non-client paint, sent at once to a visible form.
void TsSkinProvider::TitleChanged() {
    FSkinData->BGChanged = true;
    if (FForm != nullptr && FForm->HandleAllocated() && FForm->Visible()) FForm->Perform(user::WM_NCPAINT, 0, 0);
}

void TsSkinProvider::SetCaptionAlignment(TAlignment value) {
    if (value == FCaptionAlignment) return;
    FCaptionAlignment = value;
    TitleChanged();
}

void TsSkinProvider::SetGripMode(TsGripMode value) {
    if (value == FGripMode) return;
    FGripMode = value;   // the next frame repaint shows it
}

void TsSkinProvider::SetMenuLineSkin(const std::string& value) {
    if (value == FMenuLineSkin) return;
    FMenuLineSkin = value;   // the next frame repaint shows it
}

void TsSkinProvider::SetShowAppIcon(bool value) {
    if (value == FShowAppIcon) return;
    FShowAppIcon = value;
    TitleChanged();
}

void TsSkinProvider::SetTitleSkin(const std::string& value) {
    if (value == FTitleSkin) return;
    FTitleSkin = value;
    TitleChanged();
}

void TsSkinProvider::SetUseGlobalColor(bool value) {
    if (value == FUseGlobalColor) return;
    FUseGlobalColor = value;
    if (FForm == nullptr) return;
    // An unskinned form, or one that keeps its own colour, gets the button face.
    if (value && Skinned() && !FSkinData->CustomColor())
        FForm->SetColor(FSkinData->SkinManager()->GetGlobalColor());
    else
        FForm->SetColor(clBtnFace);
}

void TsSkinProvider::SetTitleButtons(const TsTitleButtons* value) {
    FTitleButtons->Assign(value);
}

void TsSkinProvider::SetTitleIcon(const TsTitleIcon* value) {
    if (value == nullptr) return;
    FTitleIcon->SetGlyph(value->Glyph());
    FTitleIcon->SetWidth(value->Width());
    FTitleIcon->SetHeight(value->Height());
}

// ---------------------------------------------------------------------------------------------------------
// State tests

bool TsSkinProvider::Skinned() const {
    return FForm != nullptr && !FForm->ComponentState().Contains(csDestroying) && FSkinData->Skinned();
}

bool TsSkinProvider::FormBusy() const {
    return FForm == nullptr || FForm->FormState().Contains(fsCreating)
        || FForm->ComponentState().Contains(csDestroying);
}

TSize TsSkinProvider::FrameIconSize() const {
    return TSize {FTitleIcon->Width(), FTitleIcon->Height()};
}

void TsSkinProvider::UpdateFormScrolls() {
    if (FForm == nullptr || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)
        || FormBusy() || FMdi.IsParent() || FMdi.IsChild())
        return;
    FScrollBars->Update(Skinned());
}

void TsSkinProvider::CallOld(TMessage& message) {
    if (FHook && FHook->Old) FHook->Old(message);
}

// ---------------------------------------------------------------------------------------------------------
// The skin's arrival and removal

void TsSkinProvider::PrepareSkin() {
    if (FForm == nullptr || FSkinData->SkinManager() == nullptr || IsDesigning(this)) return;
    FSkinData->Loaded();
    if (FSystemMenu == nullptr) {
        FSystemMenu = new TsSystemMenu(this);
        FSystemMenu->SetForm(FForm);
        FSystemMenu->UpdateItems();
    }
    UpdateIndexes();
    // The form's own buttons go once the skin draws the frame: a loaded skin without the form's section
    // leaves the frame to the system, which would then show no caption buttons at all.
    if (FFirstInit && FSkinData->Skinned(true)) {
        FFirstInit = false;
        if (!FForm->BorderIcons().Empty()) FForm->SetBorderIcons({});
        HookMDI(true);
    }
    // A child's skin changes what the parent's frame shows of it.
    TsSkinProvider* parent = MDISkinProvider();
    if (FMdi.IsChild() && parent != nullptr && parent != this && FSkinData->Skinned()) {
        parent->SkinData()->BGChanged = true;
        parent->ForgetMenuLines();
        if (parent->MDIForm() != nullptr) parent->MDIForm()->UpdateScrolls();
    }
    if (FUseGlobalColor && !FSkinData->CustomColor()) FForm->SetColor(FSkinData->SkinManager()->GetGlobalColor());
}

void TsSkinProvider::UpdateIndexes() {
    FSkinData->UpdateIndexes();
    FCaptionButtons->UpdateMasks();
}

void TsSkinProvider::RefreshFormFrame() {
    FSkinData->BGChanged = true;
    FFullRebuild = true;
    FPaintedState = -1;
    if (FForm != nullptr && FForm->HandleAllocated()) FForm->Perform(user::WM_NCPAINT, 0, 0);
}

// An empty window region without redraw, so that nothing flickers while the frame changes.
void TsSkinProvider::EmptyRegion() {
    if (!FGeometry.HasBorder() || !FForm->HandleAllocated()) return;
    user::SetWindowRgn(FForm->WindowHandle(), gdi::CreateRectRgn(0, 0, 0, 0), false);
}

void TsSkinProvider::RemoveSkin(TMessage& message) {
    EmptyRegion();
    CommonMessage(message, FSkinData.get());
    FPaintedState = -1;
    if (FForm != nullptr) BroadcastToChildren(FForm, message);
    if (FForm == nullptr) return;
    if (FUseGlobalColor && !FSkinData->CustomColor()) FForm->SetColor(clBtnFace);
    if (FSkinData->SkinManager() == nullptr) return;
    ForgetHotMenuItem();
    FreePopupBitmap();
    InitMenuItems(false);
    if (FForm->BorderIcons() != FCaptionButtons->FormBorderIcons())
        FForm->SetBorderIcons(FCaptionButtons->FormBorderIcons());
    FFirstInit = true;   // the next skin clears them again
    HookMDI(false);
    UpdateFormScrolls();   // unskinned: the bars go and the controls are back home
    if (FGeometry.HasBorder() && FForm->HandleAllocated()) user::SetWindowRgn(FForm->WindowHandle(), nullptr, true);
}

// A new skin draws the caption buttons only when it has the form's section. Without it the window layer keeps
// drawing the frame: the form has its own buttons and no region, and the next skin with the section takes them.
void TsSkinProvider::TakeFormFrame() {
    if (FSkinData->Skinned()) {
        if (!FForm->BorderIcons().Empty()) FForm->SetBorderIcons({});
        FFirstInit = false;
        return;
    }
    FFirstInit = true;
    if (FForm->BorderIcons() != FCaptionButtons->FormBorderIcons())
        FForm->SetBorderIcons(FCaptionButtons->FormBorderIcons());
    if (FGeometry.HasBorder() && FForm->HandleAllocated()) user::SetWindowRgn(FForm->WindowHandle(), nullptr, true);
}

// The skin command goes on to the form's own skinned bars.
void TsSkinProvider::TellScrollBars(TMessage& message) {
    for (TsScrollBar* bar : {HorzBar(), VertBar()}) {
        if (bar == nullptr) continue;
        TMessage copy = message;
        bar->WindowProc(copy);
    }
}

// The removal of a manager that is being freed comes before the owner's notice of it, which arrives when the
// manager is no more than a component: the manager is let go here, and the default one's skin taken as a new one.
void TsSkinProvider::FollowDefaultManager() {
    FSkinData->SetSkinManager(nullptr);
    TsSkinManager* fallback = FSkinData->SkinManager();
    if (fallback == nullptr || !fallback->Active() || fallback->Sections.empty() || FForm == nullptr
        || FForm->ComponentState().Contains(csDestroying) || ComponentState().Contains(csDestroying))
        return;
    TMessage newSkin = MakeSkinCommand(SMC_NEWSKIN, 0, LPARAM(fallback));
    NewWndProc(newSkin);
    TMessage refresh = MakeSkinCommand(SMC_REFRESH, 0, LPARAM(fallback));
    NewWndProc(refresh);
}

void TsSkinProvider::NewSkinWhileUnskinned(TMessage& message) {
    EmptyRegion();
    FreePopupBitmap();
    UpdateIndexes();
    if (FSkinData->SkinManager() != nullptr) {
        try {
            TakeFormFrame();
        } catch (...) {
            // the skin is applied anyway
        }
        if (FMdi.IsParent() && Screen != nullptr && FForm->ActiveMDIChild() != nullptr
            && FForm->ActiveMDIChild() == Screen->ActiveForm())
            FFormActive = true;
        InitMenuItems(true);
        TellScrollBars(message);
        FSkinData->BGChanged = true;
        FPaintedState = -1;
        FMdi.Connect();
        if (FUseGlobalColor && !FSkinData->CustomColor())
            FForm->SetColor(FSkinData->SkinManager()->GetGlobalColor());
    }
    BroadcastToChildren(FForm, message);
}

// ---------------------------------------------------------------------------------------------------------
// The window procedure

void TsSkinProvider::NewWndProc(TMessage& message) {
    if (FForm == nullptr) return;
    if (IsDesigning(this)) {
        CallOld(message);
        return;
    }
    if (message.Msg == SM_SKINCMD) {
        switch (SkinCommandCode(message)) {
        case SMC_NEWSKIN:
            if (FSystemMenu == nullptr) PrepareSkin();
            break;
        case SMC_REMOVESKIN:
            if (message.LParam == LPARAM(FSkinData->SkinManager())) {
                auto* gone = reinterpret_cast<TsSkinManager*>(message.LParam);
                const bool ownGoing = gone != nullptr && gone == FSkinData->OwnSkinManager()
                    && gone->ComponentState().Contains(csDestroying);
                RemoveSkin(message);
                if (ownGoing) FollowDefaultManager();
                return;
            }
            break;
        case SMC_ISSKINNED:
            message.LParam = 1;
            return;
        default:
            break;
        }
    }
    if (!FForm->ComponentState().Contains(csDestroying) && FSkinData->Skinned()) {
        if (message.Msg == SM_SKINCMD)
            SkinCommand(message);
        else if (!MdiMessage(message))
            ActiveMessage(message);
        return;
    }
    InactiveMessage(message);
}

void TsSkinProvider::InactiveMessage(TMessage& message) {
    if (IsSkinCommand(message, SMC_NEWSKIN) && !FForm->ComponentState().Contains(csDestroying)
        && message.LParam == LPARAM(FSkinData->SkinManager())) {
        NewSkinWhileUnskinned(message);
        return;
    }
    if (message.Msg == user::WM_DESTROY && FMdi.IsChild()) FMdi.Release();
    CallOld(message);
    if (message.Msg == user::WM_NCDESTROY && FMdi.IsChild()) FMdi.ChildGone();
}

void TsSkinProvider::SkinCommand(TMessage& message) {
    TsSkinManager* manager = FSkinData->SkinManager();
    const bool own = message.LParam == LPARAM(manager);
    switch (SkinCommandCode(message)) {
    case SMC_NEWSKIN:
        if (!own) return;
        EmptyRegion();
        FreePopupBitmap();
        UpdateIndexes();
        FreePopupBitmap();
        TakeFormFrame();
        if (manager->SkinableMenus() != nullptr) manager->SkinableMenus()->UpdateMenus();
        TellScrollBars(message);
        FSkinData->BGChanged = true;
        FPaintedState = -1;
        if (FForm->HandleAllocated()) FForm->Perform(user::WM_NCPAINT, 0, 0);
        FMdi.Connect();
        return;
    case SMC_REFRESH:
        if (!own) return;
        if (FForm->Visible() && FGeometry.HasBorder()) EmptyRegion();
        FSkinData->BGChanged = true;
        FPaintedState = -1;
        FSkinData->SetUpdating(false);
        FSavedTitle.reset();
        InitMenuItems(Skinned());
        if (FGeometry.HasBorder()) FRgnChanged = true;
        if (!FForm->Visible() || !FForm->HandleAllocated()) return;
        FForm->Perform(user::WM_NCPAINT, 0, 0);
        {
            // The client drawn again: the maximized child's of a parent that shows one, else the form's own.
            TCustomForm* child = FMdi.IsParent() ? FForm->ActiveMDIChild() : nullptr;
            if (child != nullptr && child->HandleAllocated() && user::IsZoomed(child->WindowHandle()))
                child->Perform(user::WM_PAINT, 0, 0);
            else
                FForm->Perform(user::WM_PAINT, 0, 0);
        }
        if (FMdi.IsParent() && FForm->ClientHandle() != nullptr) {
            // The client lays out its bars again at its own size, and its edge is repainted.
            const user::HWND client = FForm->ClientHandle();
            user::RECT r {};
            user::GetClientRect(client, &r);
            user::SendMessage(client, user::WM_SIZE, 0, user::MAKELPARAM(r.right - r.left, r.bottom - r.top));
            user::SendMessage(client, user::WM_NCPAINT, 0, 0);
        }
        if (FUseGlobalColor && !FSkinData->CustomColor()) FForm->SetColor(manager->GetGlobalColor());
        if (FGeometry.HasBorder()) {
            user::SetWindowRgn(FForm->WindowHandle(), nullptr, false);
            UpdateRgn();
            FRgnInUpdate = false;
        }
        return;
    case SMC_GETPROVIDER:
        message.Result = LRESULT(this);
        return;
    case SMC_GETCACHE: {
        if (ComponentState().Contains(csLoading)) return;
        TsParentCacheInfo answer;
        FillCacheInfo(answer, FormCache(), OffsetX(), OffsetY());
        AnswerCacheQuery(message, answer);
        return;
    }
    case SMC_SETUPDATING:
        FSkinData->SetUpdating(SkinCommandArgument(message) == 1);
        if (FSkinData->IsUpdating()) FSkinData->BGChanged = true;
        return;
    case SMC_SETPAINTMARK:
        FSkinData->PaintMark = (SkinCommandArgument(message) & 0xFF) != 0;
        if (FSkinData->PaintMark) PrepareCache();
        CommonWndProc(message, FSkinData.get());
        return;
    case SMC_ISUPDATING:
        message.LParam = FSkinData->BGChanged || FSkinData->IsUpdating() ? 1 : 0;
        return;
    case SMC_SETANIMCHILD:
        FSkinData->SetAnimChild(reinterpret_cast<TControl*>(message.LParam));
        return;
    case SMC_ISBGFROMPARENT: {
        const TsGeneralData& s = manager->Sections[std::size_t(FSkinData->SkinIndex)];
        message.LParam = s.GradientPercent + s.ImagePercent > 0 ? 1 : 0;
        return;
    }
    case SMC_GETCOLOR:
        AnswerColorQuery(message, manager->Sections[std::size_t(FSkinData->SkinIndex)].HotColor);
        return;
    default:
        return;   // every other code is swallowed
    }
}

TsSkinProvider* GetSkinProvider(TControl* control) {
    while (control != nullptr && dynamic_cast<TCustomForm*>(control) == nullptr)
        control = control->Parent();
    auto* form = dynamic_cast<TCustomForm*>(control);
    if (form == nullptr || !form->HandleAllocated()) return nullptr;
    return reinterpret_cast<TsSkinProvider*>(SendSkinCommand(form->WindowHandle(), SMC_GETPROVIDER));
}

}
