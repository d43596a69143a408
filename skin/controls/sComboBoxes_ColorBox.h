// TsCustomColorBox and TsColorBox: a skinned owner-drawn combo of the common combo core listing colours.
#pragma once

#include "platform/classes/TColorBox.h"
#include "skin/controls/sComboBoxes.h"

#include <functional>
#include <memory>

namespace korvex::skin {

using TsColorBoxStyles = classes::TColorBoxStyles;
using TsColorBoxStyle = classes::TColorBoxStyle;

// Each item's object is its colour; the list fills from the class library's colour names as Style says (once
// there is a window). Selected reads 0xFF000000 with nothing chosen; a colour in no item becomes the colour of
// the first item "Custom..." with cbCustomColor. Choosing "Custom..." (list closed on it, or Enter) asks
// PickCustomColor for a colour.
// Runs the colour dialog with `color` as its start: true when a colour was chosen (into color). The skinned
// windows install the skinned colour dialog; unset, the custom colour stays as it is.
using TacColorDialogRunner = std::function<bool(classes::TColor& color)>;
inline TacColorDialogRunner ColorDialogRunner;

class TsCustomColorBox : public TsCommonComboBox {
public:
    explicit TsCustomColorBox(classes::TComponent* owner);
    ~TsCustomColorBox() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    TsColorBoxStyle Style() const { return FStyle; }
    void SetStyle(TsColorBoxStyle value);   // refills; enabled only with some colours to list
    classes::TColor Selected() const;
    void SetSelected(classes::TColor value);
    classes::TColor DefaultColorColor() const { return FDefaultColorColor; }
    void SetDefaultColorColor(classes::TColor value);
    classes::TColor NoneColorColor() const { return FNoneColorColor; }
    void SetNoneColorColor(classes::TColor value);
    bool ShowColorName() const { return FShowColorName; }
    void SetShowColorName(bool value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);   // at most half the height
    classes::TColor Colors(int index) const;

    // The swatch of an item rectangle, plain or skinned.
    classes::TRect SwatchRect(const classes::TRect& r, classes::TOwnerDrawState state, bool skinned) const;
    // The item's name beside its swatch, vertically centred in rect (before the swatch read right to left).
    void DrawColorName(classes::TCanvas* canvas, const classes::TRect& rect, const classes::TRect& swatch,
        const std::string& name);

protected:
    void CreateWnd() override;
    void PopulateList();
    void Select() override;
    void CloseUp() override;
    void CNCommand(classes::TMessage& message) override;   // notes a list closed without a choice
    void KeyPress(char32_t& key) override;
    void DrawItem(int index, const classes::TRect& rect, classes::TOwnerDrawState state) override;
    void DrawSkinnedItem(int index, const classes::TRect& rect, classes::TOwnerDrawState state) override;
    // The colour for "Custom..." from the user (ColorDialogRunner); false when none was chosen.
    virtual bool PickCustomColor(classes::TColor& color);

private:
    friend class classes::TColorBoxChoice<TsCustomColorBox>;
    void RepaintChoice();
    classes::TColor ShownColor(int index) const;   // clDefault and clNone as their stand-ins
    void DrawSkinnedFace(int index, const classes::TRect& rect, classes::TOwnerDrawState state);

    TsColorBoxStyle FStyle {classes::cbStandardColors, classes::cbExtendedColors, classes::cbSystemColors};
    bool FPopulatePending = true;
    classes::TColor FDefaultColorColor = classes::clBlack;
    classes::TColor FNoneColorColor = classes::clBlack;
    classes::TColor FSelected = classes::clBlack;   // the colour last chosen (all there is while there is no window)
    bool FShowColorName = true;
    int FMargin = 0;
    std::unique_ptr<classes::TColorBoxChoice<TsCustomColorBox>> FChoice;
};

class TsColorBox : public TsCustomColorBox {
public:
    explicit TsColorBox(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

}
