// Skinned labels: TsCustomLabel, TsLabel (text in the skin's font colour) and TsEditLabel (a bound label's).
#pragma once

#include "platform/classes/TLabel.h"

namespace korvex::classes {
class TFont;
}

namespace korvex::skin {

class TsBoundLabel;

// A label that takes its colours from the default skin manager; it owns no skin state. While a skin is loaded
// the text is painted in the skin's global font colour, and a disabled label in a mix of its font colour and
// its parent's background.
class TsCustomLabel : public classes::TCustomLabel {
public:
    explicit TsCustomLabel(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    classes::TNotifyEvent OnMouseEnter;
    classes::TNotifyEvent OnMouseLeave;

    // The font to paint with: Font, recoloured to the skin's global font colour while a skin is loaded.
    virtual classes::TFont* GetFont();

protected:
    void WndProc(classes::TMessage& message) override;
    void Paint() override;
    void DoDrawText(classes::TRect& rect, unsigned flags) override;
    // True when the default manager has a loaded skin with a global font colour; colour gets it.
    static bool SkinFontColor(classes::TColor& colour);
};

class TsLabel : public TsCustomLabel {
public:
    explicit TsLabel(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool value);   // off: the label keeps its own font colour

    classes::TFont* GetFont() override;

protected:
    void WndProc(classes::TMessage& message) override;

private:
    bool FUseSkinColor = true;
};

// The label of a TsBoundLabel; made through the engine's edit-label factory, owned by the bound control.
class TsEditLabel : public TsLabel {
public:
    TsEditLabel(classes::TComponent* owner, TsBoundLabel* boundLabel);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    TsBoundLabel* BoundLabel() const { return FBoundLabel; }

private:
    TsBoundLabel* FBoundLabel;   // outlives the label: it frees the label when deactivated or freed
};

// Makes bound labels show a TsEditLabel (called by RegisterSkinControlClasses).
void InstallEditLabelFactory();

}
