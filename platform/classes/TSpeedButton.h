// TSpeedButton: a windowless button with a glyph and caption that can stay down, alone or in a group.
#pragma once

#include "platform/classes/TBitBtn.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TGraphicControl.h"

#include <memory>

namespace korvex::classes {

enum TSpeedButtonState { sbsUp, sbsDisabled, sbsDown, sbsExclusive };

// GroupIndex 0: a plain button that never stays down. Buttons of one parent with the same GroupIndex > 0
// form a group: at most one is down (pressing one raises the others) and, unless AllowAllUp, a down one
// cannot be raised by clicking it again. OnClick follows every release over the button.
// Glyph: NumGlyphs images side by side: up, disabled, clicked, down; bottom-left pixel transparent.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool Down() const { return FDown; }
    void SetDown(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);   // for the whole group
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* value);   // a copy
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);   // kept within 1..4
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TSpeedButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }

    void Click() override;

protected:
    void SetState(TSpeedButtonState value) { FState = value; }   // the look only; Down is untouched
    void Paint() override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void UpdateExclusive();   // tells the group about this button's Down and AllowAllUp
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }

    std::unique_ptr<TBitmap> FGlyph;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FFlat = false;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    TSpeedButtonState FState = sbsUp;
    bool FDragging = false;
    bool FMouseInControl = false;
};

}
