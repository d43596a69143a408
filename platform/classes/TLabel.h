// TLabel: a windowless caption: auto-size, word wrap, alignment, layout, "&" accelerators and a focus control.
#pragma once

#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TGraphicControl.h"

#include <string_view>

namespace korvex::classes {

class TWinControl;

enum TTextLayout { tlTop, tlCenter, tlBottom };
inline constexpr std::string_view TextLayoutIdents[] = {"tlTop", "tlCenter", "tlBottom"};

// AutoSize fits the bounds to the caption (keeping the width when word-wrapping); the left edge stays,
// except that a right-aligned label keeps its right edge and a centred one its centre. With ShowAccelChar
// "&x" underlines x, "&&" is one "&", and Alt+x focuses FocusControl.
class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* owner);
    ~TCustomLabel() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
    void SetTransparent(bool value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);

    // The caption as drawn (without the "&" marks when ShowAccelChar).
    std::string DisplayText() const;

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    virtual void AdjustBounds();
    // Draws (or with DT_CALCRECT measures) the caption in rect on the canvas; skins replace it.
    virtual void DoDrawText(TRect& rect, unsigned flags);
    virtual std::string GetLabelText() const { return Caption(); }
    unsigned TextFlags() const;

private:
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* owner)
        : TCustomLabel(owner) { }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}
