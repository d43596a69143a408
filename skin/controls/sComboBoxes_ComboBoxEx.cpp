// TsCustomComboBoxEx: items with images kept in ItemsEx and copied into the window, plain and skinned drawing.
#include "skin/controls/sComboBoxes_ComboBoxEx.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBasicAction.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/EditConstants.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinnedText.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

inline constexpr int IndentStep = 16;   // pixels a list item moves right per indent level
inline constexpr user::UINT CBEM_SETIMAGELIST = user::WM_USER + 2;   // lParam: the image list's handle

// ---- TsComboItem ---------------------------------------------------------------------------------------------

TsComboItem::TsComboItem(TCollection* collection)
    : TCollectionItem(collection) {
}

TClass TsComboItem::StaticClass() {
    using T = TsComboItem;
    static const TClassInfo info = MakeClass<T, TCollectionItem>("TsComboItem", [](TPropertyBuilder<T>& p) {
        p.String("Caption", &T::Caption, &T::SetCaption);
        p.Int("SelectedImageIndex", &T::SelectedImageIndex, &T::SetSelectedImageIndex, -1);
        p.Int("ImageIndex", &T::ImageIndex, &T::SetImageIndex, -1);
        p.Int("OverlayImageIndex", &T::OverlayImageIndex, &T::SetOverlayImageIndex, -1);
        p.Int("Indend", &T::Indend, &T::SetIndend, -1);
    });
    return &info;
}

void TsComboItem::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TsComboItem*>(source);
    if (other == nullptr) {
        TCollectionItem::Assign(source);
        return;
    }
    FCaption = other->FCaption;
    FSelectedImageIndex = other->FSelectedImageIndex;
    FImageIndex = other->FImageIndex;
    FOverlayImageIndex = other->FOverlayImageIndex;
    FIndend = other->FIndend;
    Data = other->Data;
    Changed(false);
}

std::string TsComboItem::DisplayName() const {
    return FCaption.empty() ? TCollectionItem::DisplayName() : FCaption;
}

void TsComboItem::SetCaption(const std::string& value) {
    if (FCaption == value) return;
    FCaption = value;
    Changed(false);
}

void TsComboItem::SetSelectedImageIndex(TImageIndex value) {
    if (FSelectedImageIndex == value) return;
    FSelectedImageIndex = value;
    Changed(false);
}

void TsComboItem::SetImageIndex(TImageIndex value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    Changed(false);
}

void TsComboItem::SetIndend(int value) {
    if (FIndend == value) return;
    FIndend = value;
    Changed(false);
}

// ---- TsComboItems --------------------------------------------------------------------------------------------

TsComboItems::TsComboItems(TsCustomComboBoxEx* combo)
    : TCollection(TsComboItem::StaticClass())
    , FCombo(combo) {
}

TClass TsComboItems::StaticClass() {
    static const TClassInfo info = MakeClass<TsComboItems, TCollection>("TsComboItems");
    return &info;
}

TPersistent* TsComboItems::GetOwner() const {
    return FCombo;
}

TsComboItem* TsComboItems::AddItem(const std::string& caption, TImageIndex imageIndex, TImageIndex selectedImageIndex,
    TImageIndex overlayImageIndex, int indent, void* data) {
    BeginUpdate();
    base::ScopeExit end([this] { EndUpdate(); });
    auto* item = static_cast<TsComboItem*>(Add());
    item->SetCaption(caption);
    item->SetImageIndex(imageIndex);
    item->SetSelectedImageIndex(selectedImageIndex);
    item->SetOverlayImageIndex(overlayImageIndex);
    item->SetIndend(indent);
    item->Data = data;
    return item;
}

TsComboItem* TsComboItems::GetItem(int index) const {
    return dynamic_cast<TsComboItem*>(Items(index));
}

void TsComboItems::Update(TCollectionItem*) {
    // Items added after the window exists show at once.
    FCombo->UpdateWindowItems();
}

// ---- TsCustomComboBoxEx --------------------------------------------------------------------------------------

TsCustomComboBoxEx::TsCustomComboBoxEx(TComponent* owner)
    : TsCommonComboBox(owner)
    , FChangeLink(std::make_unique<TChangeLink>())
    , FItemsEx(std::make_unique<TsComboItems>(this)) {
    TCustomComboBox::SetStyle(csOwnerDrawVariable);
    // The window is told; the picture shows the changed images at once too.
    FChangeLink->OnChange = [this](TObject*) {
        if (!HandleAllocated()) return;
        user::SendMessage(WindowHandle(), CBEM_SETIMAGELIST, 0,
            reinterpret_cast<user::LPARAM>(FImages != nullptr ? FImages->Handle() : nullptr));
        FCommonData->Invalidate();
    };
    UpdateWindowItems();
}

TsCustomComboBoxEx::~TsCustomComboBoxEx() {
    if (FImages != nullptr) FImages->UnRegisterChanges(FChangeLink.get());
    // The items go first, without copying anything into a window that is going too.
    const std::unique_ptr<TsComboItems> items = std::move(FItemsEx);
}

TClass TsCustomComboBoxEx::StaticClass() {
    static const TClassInfo info = MakeClass<TsCustomComboBoxEx, TsCommonComboBox>("TsCustomComboBoxEx");
    return &info;
}

void TsCustomComboBoxEx::UpdateWindowItems() {
    if (!FItemsEx || ControlDestroying(this)) return;
    // Without a window the items wait in the list's own store, which the window takes when it is made.
    const int chosen = ItemIndex();
    TStrings* items = Items();
    items->BeginUpdate();
    base::ScopeExit end([items] { items->EndUpdate(); });
    items->Clear();
    for (int i = 0; i < FItemsEx->Count(); ++i) {
        const TsComboItem* item = FItemsEx->GetItem(i);   // nullptr while it is being made
        items->Insert(i, item != nullptr ? item->Caption() : std::string());
    }
    if (chosen >= 0 && chosen < items->Count()) SetItemIndex(chosen);
}

void TsCustomComboBoxEx::CreateWnd() {
    TsCommonComboBox::CreateWnd();
    EditMarginHook();
}

void TsCustomComboBoxEx::SetImages(TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages != nullptr) {
        FImages->UnRegisterChanges(FChangeLink.get());
        FImages->RemoveFreeNotification(this);
    }
    FImages = value;
    if (FImages != nullptr) {
        FImages->RegisterChanges(FChangeLink.get());
        FImages->FreeNotification(this);
        if (HandleAllocated())
            user::PostMessage(WindowHandle(), CBEM_SETIMAGELIST, 0, reinterpret_cast<user::LPARAM>(FImages->Handle()));
        if (ItemHeight() < FImages->Height()) SetItemHeight(FImages->Height());
    } else if (HandleAllocated()) {
        user::SendMessage(WindowHandle(), CBEM_SETIMAGELIST, 0, 0);
        RecreateWnd();
    }
    EditMarginHook();
    // The face shows the new images at once, whatever the item height.
    FCommonData->Invalidate();
}

void TsCustomComboBoxEx::Notification(TComponent* component, TOperation operation) {
    TsCommonComboBox::Notification(component, operation);
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        if (!ControlDestroying(this)) FCommonData->Invalidate();
    }
}

void TsCustomComboBoxEx::Clear() {
    TCustomComboBox::Clear();
    if (FItemsEx) FItemsEx->Clear();
}

void TsCustomComboBoxEx::EditMarginHook() {
    if (!HandleAllocated()) return;
    const int margin = FImages != nullptr && ItemIndex() > -1 ? FImages->Width() : 0;
    if (EditHandle() != nullptr)
        user::SendMessage(EditHandle(), user::EM_SETMARGINS, user::EC_LEFTMARGIN, user::MAKELPARAM(margin, 0));
    if (margin == 0) FCommonData->Invalidate();
}

TsComboItem* TsCustomComboBoxEx::ItemAt(int index) const {
    return FItemsEx && index >= 0 && index < FItemsEx->Count() ? FItemsEx->GetItem(index) : nullptr;
}

TImageIndex TsCustomComboBoxEx::ImageIndexOf(int index, TOwnerDrawState state) const {
    const TsComboItem* item = ItemAt(index);
    if (FImages == nullptr || item == nullptr) return -1;
    if (!state.Contains(odComboBoxEdit) && state.Contains(odSelected) && item->SelectedImageIndex() >= 0)
        return item->SelectedImageIndex();
    return item->ImageIndex();
}

TRect TsCustomComboBoxEx::ImageRect(int index, const TRect& rect, TOwnerDrawState state) const {
    const TsComboItem* item = ItemAt(index);
    if (FImages == nullptr || item == nullptr) return TRect {};
    // Centred in the item's own line (each line of the list is drawn at its own place), as far from the left as
    // from the top.
    const int margin = (rect.bottom - rect.top - FImages->Height()) / 2;
    const int top = rect.top + margin;
    int left = rect.left + std::max(0, margin);
    if (!state.Contains(odComboBoxEdit) && item->Indend() >= 1) left += IndentStep * item->Indend();
    return TRect {left, top, left + FImages->Width(), top + FImages->Height()};
}

TRect TsCustomComboBoxEx::TextRect(int index, const TRect& rect, TOwnerDrawState state) const {
    const TRect image = ImageRect(index, rect, state);
    TRect text = rect;
    text.left = image.right > image.left ? image.right + 5 : rect.left + 2;
    if (!state.Contains(odComboBoxEdit) && image.right <= image.left && ItemAt(index) != nullptr
        && ItemAt(index)->Indend() >= 1)
        text.left += IndentStep * ItemAt(index)->Indend();
    if (state.Contains(odComboBoxEdit) && !UseRightToLeftAlignment()) {
        // 3 pixels before the skin's button, or before the face's end without one.
        const TRect button = ButtonRect();
        text.right = button.right > button.left ? std::min(text.right, button.left - 3) : text.right - 3;
    }
    return text;
}

bool TsCustomComboBoxEx::FaceHighlighted(TOwnerDrawState state) const {
    return (FCommonData->Focused || Focused() || state.Contains(odFocused)) && !DroppedDown();
}

void TsCustomComboBoxEx::DrawImage(int index, const TRect& rect, TOwnerDrawState state) {
    const TImageIndex image = ImageIndexOf(index, state);
    const TRect where = ImageRect(index, rect, state);
    if (image < 0 || where.right <= where.left) return;
    FImages->Draw(Canvas(), where.left, where.top, image, Enabled());
}

void TsCustomComboBoxEx::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    const bool face = state.Contains(odComboBoxEdit);
    const bool highlighted = face ? FaceHighlighted(state) : state.Contains(odSelected);
    canvas->Brush()->SetColor(highlighted ? clHighlight : Color());
    canvas->Font()->SetColor(highlighted ? clHighlightText : Font()->Color());
    canvas->FillRect(rect);
    if (!face && highlighted) canvas->DrawFocusRect(rect);
    if (index < 0) return;
    DrawImage(index, rect, state);
    const TRect text = TextRect(index, rect, state);
    const std::string caption = Items()->Get(index);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextRect(text, text.left, text.top + (text.bottom - text.top - canvas->TextHeight(caption)) / 2, caption);
    canvas->Brush()->SetStyle(bsSolid);
}

void TsCustomComboBoxEx::DrawSkinnedItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (index < 0 || index >= Items()->Count()) return;
    TCanvas* canvas = Canvas();
    const bool face = state.Contains(odComboBoxEdit);
    if (!face) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(rect);
    }
    DrawImage(index, rect, state);
    TRect text = TextRect(index, rect, state);
    const std::string caption = Items()->Get(index);
    const bool highlighted = face ? FaceHighlighted(state) : state.Contains(odSelected);
    if (highlighted) {
        TRect area {text.left - 2, rect.top + 1, text.right, rect.bottom - 1};
        canvas->Brush()->SetColor(clHighlight);
        canvas->FillRect(area);
        canvas->DrawFocusRect(area);
        canvas->Font()->SetColor(clHighlightText);
    } else if (face) {
        OutputSkinnedText(canvas, caption, Enabled(), text,
            gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_LEFT | gdi::DT_NOPREFIX, FCommonData.get(),
            FCommonData->IsHot());
        return;
    } else {
        canvas->Font()->SetColor(Font()->Color());
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextRect(text, text.left, text.top + (text.bottom - text.top - canvas->TextHeight(caption)) / 2, caption);
    canvas->Brush()->SetStyle(bsSolid);
}

// ---- TsComboBoxEx --------------------------------------------------------------------------------------------

TsComboBoxEx::TsComboBoxEx(TComponent* owner)
    : TsCustomComboBoxEx(owner) {
}

TClass TsComboBoxEx::StaticClass() {
    using T = TsComboBoxEx;
    static const TClassInfo info = MakeClass<T, TsCustomComboBoxEx>("TsComboBoxEx", [](TPropertyBuilder<T>& p) {
        p.Component("Action", &T::ActionComponent, &T::SetActionComponent).Info().ObjectClassOf
            = &TBasicAction::StaticClass;
        p.Color("Color", &T::Color, &T::SetColor, clWindow);
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
        p.Int("ItemHeight", &T::ItemHeight, &T::SetItemHeight, 16);
        p.Int("DropDownCount", &T::DropDownCount, &T::SetDropDownCount, 14);
        p.Int("MaxLength", &T::MaxLength, &T::SetMaxLength, 0);
        p.Object("Images", &T::Images, &T::SetImages);
        p.Object("ItemsEx", &T::ItemsEx, &T::SetItemsEx);
        p.String("Text", &T::Text, &T::SetText);
        p.Event("OnChange", &T::OnChange);
        p.Event("OnCloseUp", &T::OnCloseUp);
        p.Event("OnDrawItem", &T::OnDrawItem);
        p.Event("OnDropDown", &T::OnDropDown);
        p.Event("OnSelect", &T::OnSelect);
    });
    return &info;
}

}
