// TsCustomColorBox: filling the list, the selected colour, the custom colour, plain and skinned swatches.
#include "skin/controls/sComboBoxes_ColorBox.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/ColorBoxChoice.h"
#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Types.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/ComboBox.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

TsCustomColorBox::TsCustomColorBox(TComponent* owner)
    : TsCommonComboBox(owner), FChoice(std::make_unique<TColorBoxChoice<TsCustomColorBox>>(*this, FSelected)) {
    TCustomComboBox::SetStyle(csOwnerDrawFixed);
    FCommonData->ControlKind = TacControlKind::ColorBox;
    PopulateList();
}

TsCustomColorBox::~TsCustomColorBox() = default;

TClass TsCustomColorBox::StaticClass() {
    static const TClassInfo info = MakeClass<TsCustomColorBox, TsCommonComboBox>("TsCustomColorBox");
    return &info;
}

void TsCustomColorBox::CreateWnd() {
    TsCommonComboBox::CreateWnd();
    if (FPopulatePending) PopulateList();
}

void TsCustomColorBox::PopulateList() {
    if (!HandleAllocated()) {
        FPopulatePending = true;
        return;
    }
    TStrings* items = Items();
    items->BeginUpdate();
    base::ScopeExit endUpdate([items] { items->EndUpdate(); });
    // The colour of the first item becomes the custom colour, whatever that item was.
    const bool custom = FStyle.Contains(cbCustomColor);
    const TColor customColor = custom && items->Count() > 0 ? Colors(0) : clBlack;
    const TColor selected = Selected();
    items->Clear();
    for (const auto& [name, color] : ListedColorItems(FStyle))
        items->AddObject(name, ColorItemObject(color));
    if (custom) items->InsertObject(0, CustomColorItem(), ColorItemObject(customColor));
    FPopulatePending = false;
    SetSelected(selected);
}

void TsCustomColorBox::SetStyle(TsColorBoxStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    SetEnabled(StyleListsColors(value));
    PopulateList();
}

TColor TsCustomColorBox::Colors(int index) const {
    return ColorOfItemObject(Items()->GetObject(index));
}

TColor TsCustomColorBox::Selected() const {
    if (!HandleAllocated() || FPopulatePending) return FSelected;
    const int index = ItemIndex();
    return index < 0 ? NoColorSelected : Colors(index);
}

void TsCustomColorBox::SetSelected(TColor value) {
    FSelected = value;
    if (!HandleAllocated() || FPopulatePending) return;
    // The first item holding the colour, "Custom..." included; else "Custom..." takes it.
    TStrings* items = Items();
    int index = -1;
    for (int i = 0; i < items->Count() && index < 0; ++i)
        if (Colors(i) == value) index = i;
    if (index < 0 && FStyle.Contains(cbCustomColor) && items->Count() > 0 && value != NoColorSelected) {
        items->PutObject(0, ColorItemObject(value));
        index = 0;
    }
    SetItemIndex(index);
    if (index == 0 && FStyle.Contains(cbCustomColor)) FCommonData->Invalidate();
}

void TsCustomColorBox::SetDefaultColorColor(TColor value) {
    if (FDefaultColorColor == value) return;
    FDefaultColorColor = value;
    FCommonData->Invalidate();
}

void TsCustomColorBox::SetNoneColorColor(TColor value) {
    if (FNoneColorColor == value) return;
    FNoneColorColor = value;
    FCommonData->Invalidate();
}

void TsCustomColorBox::SetShowColorName(bool value) {
    if (FShowColorName == value) return;
    FShowColorName = value;
    FCommonData->Invalidate();
}

void TsCustomColorBox::SetMargin(int value) {
    value = std::min(value, Height() / 2);
    if (FMargin == value) return;
    FMargin = value;
    FCommonData->Invalidate();
}

// ---- The custom colour ---------------------------------------------------------------------------------------

bool TsCustomColorBox::PickCustomColor(TColor& color) {
    return ColorDialogRunner && ColorDialogRunner(color);
}

void TsCustomColorBox::RepaintChoice() {
    FCommonData->Invalidate();
}

void TsCustomColorBox::CNCommand(TMessage& m) {
    FChoice->Command(m);
    TsCommonComboBox::CNCommand(m);
}

void TsCustomColorBox::CloseUp() {
    FChoice->CloseUp();
    TsCommonComboBox::CloseUp();
}

void TsCustomColorBox::Select() {
    FChoice->Select();
    TsCommonComboBox::Select();
}

void TsCustomColorBox::KeyPress(char32_t& key) {
    if (!FChoice->KeyPress(key)) TsCommonComboBox::KeyPress(key);
}

// ---- Drawing -------------------------------------------------------------------------------------------------

TColor TsCustomColorBox::ShownColor(int index) const {
    TColor color = index >= 0 && index < Items()->Count() ? Colors(index) : clNone;
    if (color == clDefault) return FDefaultColorColor;
    if (color == clNone) return FNoneColorColor;
    return color;
}

TRect TsCustomColorBox::SwatchRect(const TRect& r, TOwnerDrawState state, bool skinned) const {
    const bool face = state.Contains(odComboBoxEdit);
    TRect swatch {r.left, r.top, r.left + (r.bottom - r.top), r.bottom};
    if (!FShowColorName && skinned) {
        swatch.right = r.right - (ButtonRect().right - ButtonRect().left) - 3;
    } else if (!FShowColorName && face) {
        swatch.right = r.right - (ButtonRect().right - ButtonRect().left);
    }
    const int inset = skinned && face ? FMargin + 1 : 1;
    gdi::InflateRect(&swatch, -inset, -inset);
    if (FShowColorName && UseRightToLeftAlignment()) {   // the swatch on the right, the name before it
        const int left = swatch.left;
        swatch.left = r.left + r.right - swatch.right;
        swatch.right = r.left + r.right - left;
    }
    return swatch;
}

void TsCustomColorBox::DrawColorName(TCanvas* canvas, const TRect& rect, const TRect& swatch, const std::string& name) {
    const int y = rect.top + (rect.bottom - rect.top - canvas->TextHeight(name)) / 2;
    const int x = UseRightToLeftAlignment() ? swatch.left - 5 - canvas->TextWidth(name) : swatch.right + 5;
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextRect(rect, x, y, name);
    canvas->Brush()->SetStyle(bsSolid);
}

void TsCustomColorBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->FillRect(rect);
    if (index < 0) return;
    const TColor color = ShownColor(index);
    const TRect swatch = SwatchRect(rect, state, false);
    DrawColorSwatch(canvas, swatch, color, SwatchFrameColor(color, state.Contains(odSelected)));
    if (!FShowColorName && state.Contains(odComboBoxEdit)) return;
    DrawColorName(canvas, rect, swatch, Items()->Get(index));
}

void TsCustomColorBox::DrawSkinnedFace(int index, const TRect& rect, TOwnerDrawState state) {
    TsCommonData* data = FCommonData.get();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr || rect.right <= rect.left || rect.bottom <= rect.top) return;
    TBitmap face;
    face.SetPixelFormat(pf24bit);
    face.SetSize(rect.right - rect.left, rect.bottom - rect.top);
    gdi::BitBlt(face.Canvas()->Handle(), 0, 0, face.Width(), face.Height(), cache->Canvas()->Handle(), rect.left,
        rect.top, gdi::SRCCOPY);
    const TRect local {0, 0, face.Width(), face.Height()};
    TCanvas* canvas = face.Canvas();
    canvas->Font()->Assign(Font());
    if (index >= 0) {
        const TRect swatch = SwatchRect(local, state, true);
        const TsSkinManager* manager = data->SkinManager();
        const bool showFocus = manager != nullptr && manager->IsValidSkinIndex(data->SkinIndex)
            && manager->Sections[std::size_t(data->SkinIndex)].ShowFocus;
        const bool highlighted = Focused() && showFocus && FShowColorName;
        // Beside the swatch, up to the button (which lies outside the face when read right to left).
        TRect name = UseRightToLeftAlignment() ? TRect {local.left, local.top, swatch.left - 3, local.bottom}
                                               : TRect {swatch.right + 3, local.top, ButtonRect().left - rect.left, local.bottom};
        if (highlighted) {
            canvas->Brush()->SetColor(clHighlight);
            canvas->FillRect(name);
            canvas->Font()->SetColor(clHighlightText);
            canvas->DrawFocusRect(name);
        }
        DrawColorSwatch(canvas, swatch, ShownColor(index), SwatchFrameColor(Color(), state.Contains(odSelected)));
        if (FShowColorName) {
            const std::string text = Items()->Get(index);
            if (highlighted) {
                canvas->Brush()->SetStyle(bsClear);
                const int x = UseRightToLeftAlignment() ? name.right - 2 - canvas->TextWidth(text) : name.left + 2;
                canvas->TextRect(name, x, (local.bottom - canvas->TextHeight(text)) / 2, text);
                canvas->Brush()->SetStyle(bsSolid);
            } else {
                OutputSkinnedText(
                    canvas, text, true, name, DrawTextBiDiModeFlags(gdi::DT_NOPREFIX), data, data->IsHot());
            }
        }
    }
    if (!Enabled()) ApplyDisabledLook(&face, FDisabledKind, this, TPoint {Left() + rect.left, Top() + rect.top}, GetParentCache(data));
    gdi::BitBlt(Canvas()->Handle(), rect.left, rect.top, face.Width(), face.Height(), face.Canvas()->Handle(), 0, 0,
        gdi::SRCCOPY);
}

void TsCustomColorBox::DrawSkinnedItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (state.Contains(odComboBoxEdit)) {
        DrawSkinnedFace(index, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    const bool selected = state.Contains(odSelected);
    canvas->Brush()->SetColor(selected ? clHighlight : Color());
    canvas->Font()->SetColor(selected ? clHighlightText : Font()->Color());
    canvas->FillRect(rect);
    if (selected) canvas->DrawFocusRect(rect);
    // Every line shows its colour, named or not: an empty frame would leave the light colours alike.
    const TColor color = ShownColor(index);
    const TRect swatch = SwatchRect(rect, state, true);
    DrawColorSwatch(canvas, swatch, color, SwatchFrameColor(color, selected));
    if (!FShowColorName) return;
    DrawColorName(canvas, rect, swatch, Items()->Get(index));
}

// ---- TsColorBox ----------------------------------------------------------------------------------------------

TsColorBox::TsColorBox(TComponent* owner)
    : TsCustomColorBox(owner) {
}

TClass TsColorBox::StaticClass() {
    using T = TsColorBox;
    static const TClassInfo info = MakeClass<T, TsCustomColorBox>("TsColorBox", [](TPropertyBuilder<T>& p) {
        p.Bool("AutoComplete", &T::AutoComplete, &T::SetAutoComplete, true);
        p.Bool("AutoDropDown", &T::AutoDropDown, &T::SetAutoDropDown, false);
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
        p.Color("Color", &T::Color, &T::SetColor, clWindow);
        p.Int("DropDownCount", &T::DropDownCount, &T::SetDropDownCount, 14);
        p.Int("ItemHeight", &T::ItemHeight, &T::SetItemHeight, 16);
        p.Set("Style", &T::Style, &T::SetStyle, ColorBoxStyleIdents,
            TsColorBoxStyle {cbStandardColors, cbExtendedColors, cbSystemColors});
        p.Int("Margin", &T::Margin, &T::SetMargin, 0);
        p.Color("Selected", &T::Selected, &T::SetSelected, clBlack);
        p.Bool("ShowColorName", &T::ShowColorName, &T::SetShowColorName, true);
        p.Color("DefaultColorColor", &T::DefaultColorColor, &T::SetDefaultColorColor, clBlack);
        p.Color("NoneColorColor", &T::NoneColorColor, &T::SetNoneColorColor, clBlack);
        p.Event("OnChange", &T::OnChange);
        p.Event("OnCloseUp", &T::OnCloseUp);
        p.Event("OnDropDown", &T::OnDropDown);
        p.Event("OnSelect", &T::OnSelect);
    });
    return &info;
}

}
