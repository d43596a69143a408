// TCustomColorBox and TColorBox: filling the list, the selected colour and the plain swatch drawing.
#include "platform/classes/TColorBox.h"

#include "platform/classes/ColorBoxChoice.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TCommonDialog.h"
#include "platform/gdi/Types.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/ComboBox.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace korvex::classes {

namespace {

// The colours with names, in the order the list shows them: the system colours (clDefault and clNone among
// them) by their names' alphabetical order.
constexpr std::array ListedColors = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray, clSilver,
    clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite, clMoneyGreen, clSkyBlue, clCream, clMedGray,
    cl3DDkShadow, cl3DLight, clActiveBorder, clActiveCaption, clAppWorkSpace, clBackground, clBtnFace, clBtnHighlight,
    clBtnShadow, clBtnText, clCaptionText, clDefault, clGradientActiveCaption, clGradientInactiveCaption, clGrayText,
    clHighlight, clHighlightText, clHotLight, clInactiveBorder, clInactiveCaption, clInactiveCaptionText, clInfoBk,
    clInfoText, clMenu, clMenuBar, clMenuHighlight, clMenuText, clNone, clScrollBar, clWindow, clWindowFrame,
    clWindowText};
constexpr int StandardCount = 16;
constexpr int ExtendedCount = 4;

}

TObject* ColorItemObject(TColor color) {
    return reinterpret_cast<TObject*>(std::uintptr_t(std::uint32_t(color)));
}

TColor ColorOfItemObject(const TObject* object) {
    return TColor(std::uint32_t(reinterpret_cast<std::uintptr_t>(object)));
}

std::vector<std::pair<std::string, TColor>> ListedColorItems(TColorBoxStyle style) {
    std::vector<std::pair<std::string, TColor>> items;
    for (TColor color : ListedColors) {
        std::string name;
        if (!ColorToIdent(color, name)) continue;
        if (style.Contains(cbPrettyNames)) name = ColorBoxName(name);
        items.emplace_back(name, color);
    }
    auto removeColor = [&](TColor color) {
        std::erase_if(items, [color](const auto& item) { return item.second == color; });
    };
    if (!style.Contains(cbIncludeNone)) removeColor(clNone);
    if (!style.Contains(cbIncludeDefault)) removeColor(clDefault);
    auto removeRange = [&](int from, int to) {
        to = std::min(to, int(items.size()) - 1);
        if (from <= to) items.erase(items.begin() + from, items.begin() + to + 1);
    };
    if (!style.Contains(cbSystemColors)) removeRange(StandardCount + ExtendedCount, int(items.size()) - 1);
    if (!style.Contains(cbExtendedColors)) removeRange(StandardCount, StandardCount + ExtendedCount - 1);
    if (!style.Contains(cbStandardColors)) removeRange(0, StandardCount - 1);
    return items;
}

int ColorItemToSelect(TStrings* items, TColor value, bool customColor) {
    const int count = items->Count();
    for (int i = customColor ? 1 : 0; i < count; ++i)
        if (ColorOfItemObject(items->GetObject(i)) == value) return i;
    if (customColor && count > 0 && value != NoColorSelected) {
        items->PutObject(0, ColorItemObject(value));
        return 0;
    }
    return -1;
}

std::string PrettyColorName(const std::string& ident) {
    std::string name = ident.rfind("cl", 0) == 0 ? ident.substr(2) : ident;
    std::string pretty;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (i > 0 && std::isupper(static_cast<unsigned char>(name[i]))) pretty += ' ';
        pretty += name[i];
    }
    return pretty;
}

TColor SwatchFrameColor(TColor color, bool selected) {
    const auto rgb = gdi::COLORREF(ColorToRGB(color));
    if (gdi::GetRValue(rgb) >= 193 || gdi::GetGValue(rgb) >= 193 || gdi::GetBValue(rgb) >= 193) return clBlack;
    return selected ? clWhite : color;
}

void FillColorItems(TStrings* items, TColorBoxStyle style) {
    TColor custom = clBlack;
    if (style.Contains(cbCustomColor) && items->Count() > 0 && items->Get(0) == CustomColorItem())
        custom = ColorOfItemObject(items->GetObject(0));
    items->Clear();
    for (const auto& [name, color] : ListedColorItems(style))
        items->AddObject(name, ColorItemObject(color));
    if (style.Contains(cbCustomColor)) items->InsertObject(0, CustomColorItem(), ColorItemObject(custom));
}

bool StyleListsColors(TColorBoxStyle style) {
    return style.Contains(cbStandardColors) || style.Contains(cbExtendedColors) || style.Contains(cbSystemColors)
        || style.Contains(cbCustomColor);
}

void DrawColorSwatch(TCanvas* canvas, const TRect& swatch, TColor color, TColor frame) {
    const TColor background = canvas->Brush()->Color();
    canvas->Brush()->SetColor(color);
    canvas->FillRect(swatch);
    canvas->Brush()->SetColor(frame);
    canvas->FrameRect(swatch);
    canvas->Brush()->SetColor(background);
}

TColor CustomColorDialogStart(TColor shown, TColor customItemColor) {
    return shown == clNone || shown == clDefault || shown == NoColorSelected ? customItemColor : shown;
}

TCustomColorBox::TCustomColorBox(TComponent* owner)
    : TCustomComboBox(owner), FChoice(std::make_unique<TColorBoxChoice<TCustomColorBox>>(*this, FSelected)) {
    TCustomComboBox::SetStyle(csOwnerDrawFixed);
    PopulateList();
}

TCustomColorBox::~TCustomColorBox() = default;

TClass TCustomColorBox::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomColorBox, TCustomComboBox>("TCustomColorBox");
    return &info;
}

void TCustomColorBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    if (FPopulatePending) PopulateList();
}

void TCustomColorBox::PopulateList() {
    if (!HandleAllocated()) {
        FPopulatePending = true;
        return;
    }
    TStrings* items = Items();
    items->BeginUpdate();
    const TColor selected = Selected();
    FillColorItems(items, FStyle);
    FPopulatePending = false;
    SetSelected(selected);
    items->EndUpdate();
}

void TCustomColorBox::SetStyle(TColorBoxStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    SetEnabled(StyleListsColors(value));
    PopulateList();
}

TColor TCustomColorBox::Colors(int index) const {
    return ColorOfItemObject(Items()->GetObject(index));
}

TColor TCustomColorBox::Selected() const {
    if (!HandleAllocated() || FPopulatePending) return FSelected;
    const int index = ItemIndex();
    return index < 0 ? NoColorSelected : Colors(index);
}

void TCustomColorBox::SetSelected(TColor value) {
    FSelected = value;
    if (!HandleAllocated() || FPopulatePending) return;
    const int index = ColorItemToSelect(Items(), value, FStyle.Contains(cbCustomColor));
    SetItemIndex(index);
    if (index == 0 && FStyle.Contains(cbCustomColor)) Invalidate();
}

void TCustomColorBox::SetDefaultColorColor(TColor value) {
    if (FDefaultColorColor == value) return;
    FDefaultColorColor = value;
    Invalidate();
}

void TCustomColorBox::SetNoneColorColor(TColor value) {
    if (FNoneColorColor == value) return;
    FNoneColorColor = value;
    Invalidate();
}

bool TCustomColorBox::PickCustomColor(TColor& color) {
    TColorDialog dialog(nullptr);
    dialog.SetColor(color);
    if (!dialog.Execute()) return false;
    color = dialog.Color();
    return true;
}

void TCustomColorBox::CNCommand(TMessage& m) {
    FChoice->Command(m);
    TCustomComboBox::CNCommand(m);
}

void TCustomColorBox::CloseUp() {
    FChoice->CloseUp();
    TCustomComboBox::CloseUp();
}

void TCustomColorBox::Select() {
    FChoice->Select();
    TCustomComboBox::Select();
}

void TCustomColorBox::KeyPress(char32_t& key) {
    if (!FChoice->KeyPress(key)) TCustomComboBox::KeyPress(key);
}

void TCustomColorBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->FillRect(rect);
    TColor color = Colors(index);
    if (color == clDefault) color = FDefaultColorColor;
    if (color == clNone) color = FNoneColorColor;
    TRect swatch = Rect(rect.left, rect.top, rect.left + (rect.bottom - rect.top), rect.bottom);
    gdi::InflateRect(&swatch, -1, -1);
    DrawColorSwatch(canvas, swatch, color, SwatchFrameColor(color, state.Contains(odSelected)));
    const std::string name = Items()->Get(index);
    const int textHeight = canvas->TextHeight(name);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextRect(rect, swatch.right + 5, rect.top + (rect.bottom - rect.top - textHeight) / 2, name);
    canvas->Brush()->SetStyle(bsSolid);
}

TColorBox::TColorBox(TComponent* owner)
    : TCustomColorBox(owner) {
}

TClass TColorBox::StaticClass() {
    static const TClassInfo info = MakeClass<TColorBox, TCustomColorBox>("TColorBox", [](auto& p) {
        p.Set("Style", &TColorBox::Style, &TColorBox::SetStyle, ColorBoxStyleIdents,
            TColorBoxStyle {cbStandardColors, cbExtendedColors, cbSystemColors});
        p.Color("Selected", &TColorBox::Selected, &TColorBox::SetSelected, clBlack);
        p.Color("DefaultColorColor", &TColorBox::DefaultColorColor, &TColorBox::SetDefaultColorColor, clBlack);
        p.Color("NoneColorColor", &TColorBox::NoneColorColor, &TColorBox::SetNoneColorColor, clBlack);
        p.Int("DropDownCount", &TColorBox::DropDownCount, &TColorBox::SetDropDownCount, 8);
        p.Int("ItemHeight", &TColorBox::ItemHeight, &TColorBox::SetItemHeight, 16);
        p.Event("OnChange", &TColorBox::OnChange);
        p.Event("OnCloseUp", &TColorBox::OnCloseUp);
        p.Event("OnDropDown", &TColorBox::OnDropDown);
        p.Event("OnSelect", &TColorBox::OnSelect);
    });
    return &info;
}

}
