// TCustomColorBox and TColorBox: an owner-drawn combo box listing colours with swatches and names.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/TComboBox.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvex::classes {

enum TColorBoxStyles {
    cbStandardColors,   // the 16 colours clBlack .. clWhite
    cbExtendedColors,   // clMoneyGreen, clSkyBlue, clCream, clMedGray
    cbSystemColors,   // the named system colours
    cbIncludeNone,   // clNone
    cbIncludeDefault,   // clDefault
    cbCustomColor,   // a first item "Custom..." holding a colour of the user's
    cbPrettyNames,   // "Money Green" for clMoneyGreen
};
using TColorBoxStyle = TSet<TColorBoxStyles>;
inline constexpr std::string_view ColorBoxStyleIdents[] = {"cbStandardColors", "cbExtendedColors", "cbSystemColors",
    "cbIncludeNone", "cbIncludeDefault", "cbCustomColor", "cbPrettyNames"};

inline constexpr TColor NoColorSelected = TColor(0xFF000000u);   // what Selected reads with nothing chosen

// "clMoneyGreen" -> "Money Green": the "cl" dropped and a blank before each further capital.
std::string PrettyColorName(const std::string& ident);
// The name a colour box with pretty names lists: PrettyColorName's, or the colour's Russian name on a Russian
// desktop (the names are the desktop's texts, as a colour dialog's are).
std::string ColorBoxName(const std::string& ident);
// The frame of a swatch: black round a light colour (a channel of 193 or more), else white on a selected line
// and the colour itself elsewhere.
TColor SwatchFrameColor(TColor color, bool selected);

// What every colour box shares: the items a style lists (names and colours, without "Custom..."), the first
// item of the custom style, the colour kept as an item's object, and the item Selected := value picks (the first
// of that colour after "Custom...", else with custom colours item 0 taking the colour, else -1).
std::vector<std::pair<std::string, TColor>> ListedColorItems(TColorBoxStyle style);
std::string CustomColorItem();   // "Custom...", in the desktop's language
TObject* ColorItemObject(TColor color);
TColor ColorOfItemObject(const TObject* object);
int ColorItemToSelect(TStrings* items, TColor value, bool customColor);
// Fills items for a style; a "Custom..." first item keeps its colour.
void FillColorItems(TStrings* items, TColorBoxStyle style);
// Where the colour dialog of "Custom..." opens: at the colour the box showed; at the custom item's own colour
// when that was clNone, clDefault or nothing.
TColor CustomColorDialogStart(TColor shown, TColor customItemColor);
// A style with some colour to list: a colour box is enabled only with one.
bool StyleListsColors(TColorBoxStyle style);
// A swatch: filled with color, framed in frame; the canvas's brush colour is left as it was.
void DrawColorSwatch(TCanvas* canvas, const TRect& swatch, TColor color, TColor frame);

// Each item's object is its colour. The list is filled from the library's colour names in their order
// (standard, extended, then the system colours with clDefault and clNone) as Style says; without a window
// the filling waits for one. Selected picks the item of a colour; a colour that is in no item goes to the
// "Custom..." item when there is one.
template <class TBox>
class TColorBoxChoice;

class TCustomColorBox : public TCustomComboBox {
public:
    explicit TCustomColorBox(TComponent* owner);
    ~TCustomColorBox() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TColorBoxStyle Style() const { return FStyle; }
    void SetStyle(TColorBoxStyle value);   // refills; enabled only with some colours to list
    TColor Selected() const;
    void SetSelected(TColor value);
    TColor DefaultColorColor() const { return FDefaultColorColor; }
    void SetDefaultColorColor(TColor value);
    TColor NoneColorColor() const { return FNoneColorColor; }
    void SetNoneColorColor(TColor value);
    TColor Colors(int index) const;
    std::string ColorNames(int index) const { return Items()->Get(index); }

protected:
    void CreateWnd() override;
    void PopulateList();
    // "Custom..." asks for its colour when the list closes on it or on Enter while it is chosen.
    void Select() override;
    void CloseUp() override;
    void CNCommand(TMessage& m) override;   // notes a list closed without a choice
    void KeyPress(char32_t& key) override;
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    // The colour of the "Custom..." item from the user through a colour dialog opening at color; false when
    // nothing was chosen.
    virtual bool PickCustomColor(TColor& color);

private:
    friend class TColorBoxChoice<TCustomColorBox>;
    void RepaintChoice() { Invalidate(); }

    TColorBoxStyle FStyle {cbStandardColors, cbExtendedColors, cbSystemColors};
    TColor FSelected = clBlack;   // the colour last chosen (all there is while there is no window)
    TColor FDefaultColorColor = clBlack;
    TColor FNoneColorColor = clBlack;
    bool FPopulatePending = true;
    std::unique_ptr<TColorBoxChoice<TCustomColorBox>> FChoice;
};

class TColorBox : public TCustomColorBox {
public:
    explicit TColorBox(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}
