// TPanel: a windowed container with raised or lowered bevels, a border and a caption.
#pragma once

#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TCustomControl.h"
#include "platform/classes/TForm.h"

#include <string_view>

namespace korvex::classes {

using TPanelBevel = TBevelCut;
inline constexpr auto& PanelBevelIdents = BevelCutIdents;

// Drawn from the outside in: BevelOuter, BorderWidth in Color, BevelInner; each bevel BevelWidth wide.
// Children are laid out inside all of them.
class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);
    ~TCustomPanel() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);   // bsSingle: a window border
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool FullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool value) { FFullRepaint = value; }   // kept for the skins: the whole panel repaints

protected:
    void CreateParams(TCreateParams& params) override;
    void AdjustClientRect(TRect& rect) override;
    void Paint() override;
    void CMTextChanged(TMessage& m) override;

private:
    void Changed();

    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TFormBorderStyle FBorderStyle = bsNone;
    TAlignment FAlignment = taCenter;
    bool FFullRepaint = true;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* owner)
        : TCustomPanel(owner) { }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// Draws a bevel width pixels wide inside rect (top-left in topColor, bottom-right in bottomColor) and
// shrinks rect by it.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

}
