// TsCustomComboEdit: a skinned masked edit with a glyph button inside its right edge (TsEditButton) that runs
// OnButtonClick and opens or closes a popup window of a descendant; the popup's placement on the screen.
#pragma once

#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TMenu.h"
#include "skin/controls/sGlyphUtils.h"
#include "skin/controls/sMaskEdit.h"
#include "skin/controls/sSpeedButton.h"

#include <memory>
#include <string>

namespace korvex::skin {

inline constexpr classes::TShortCut DefaultClickKey = 32808;   // Alt+Down
inline constexpr int DefaultPopupWidth = 197;
inline constexpr int EditButtonWidth = 22;

class TsCustomComboEdit;

// Which edge of the edit the popup lines up with.
enum class TacPopupAlign { Right, Left };

// Where a popup of the given size opens for an edit with the given screen bounds: below it, or above when
// it would pass the bottom of the virtual screen; lined up with the edit's right (or left) edge, and moved
// to stay inside the virtual screen's left and right edges (screen: its bounds, origin + size).
classes::TPoint PopupPosition(const classes::TRect& edit, classes::TSize popup, const classes::TRect& screen,
    TacPopupAlign align);
classes::TRect VirtualScreenRect();

// The button of an edit: no frame of its own, the glyph's state image over the edit's background.
class TsEditButton : public TsSpeedButton {
public:
    explicit TsEditButton(TsCustomComboEdit* edit);
    void PrepareCacheOver(classes::TColor under) override;
    TsCustomComboEdit* Edit() const { return FEdit; }

protected:
    void Paint() override;

private:
    void BlendGlyph(classes::TBitmap* target, bool skinned);   // centred, through its mask

    TsCustomComboEdit* FEdit;
};

class TsCustomComboEdit : public TsMaskEdit {
public:
    explicit TsCustomComboEdit(classes::TComponent* owner);
    ~TsCustomComboEdit() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void Loaded() override;
    void Invalidate() override;

    classes::TShortCut ClickKey() const { return FClickKey; }
    void SetClickKey(classes::TShortCut value) { FClickKey = value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool DirectInput() const { return FDirectInput; }
    void SetDirectInput(bool value);
    TacPopupAlign PopupAlign() const { return FPopupAlign; }
    void SetPopupAlign(TacPopupAlign value) { FPopupAlign = value; }
    classes::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(classes::TAlignment value);
    TsEditButton* Button() const { return FButton; }
    TsGlyphMode* GlyphMode() const { return FGlyphMode.get(); }
    int PopupWidth() const { return FPopupWidth; }
    void SetPopupWidth(int value) { FPopupWidth = value; }
    bool ShowButton() const { return FShowButton; }
    void SetShowButton(bool value);
    const std::string& GlyphName() const { return FGlyphName; }
    classes::TWinControl* Popup() const { return FPopup; }
    bool PopupVisible() const;

    // The glyph shown on the button (GlyphMode's choice) and its size.
    const classes::TBitmap* CurrentGlyph() const { return FGlyphMode->CurrentGlyph(FGlyphName); }
    // 0 for a currency edit: it has no button, and its click key does nothing.
    int GlyphWidth() const;
    int GlyphHeight() const { return FGlyphMode->GlyphHeight(FGlyphName); }

    classes::TNotifyEvent OnButtonClick;

    virtual bool GetReadOnly() const { return FReadOnly; }
    virtual void PopupDropDown();
    virtual void PopupCloseUp();
    virtual void AutoSelectText();
    // The button's click: OnButtonClick, then the popup opened (with the focus here) or closed.
    virtual void ButtonClick();

    // The edit's cache rendered when it is missing, of another size or out of date (the button's background).
    void EnsureEditCache();

    void SetEditRect() override;
    void PaintBorder(gdi::HDC dc) override;
    void PaintText() override;
    void PaintWindowSkin(gdi::HDC dc) override;
    int CurrentState() override;

protected:
    void WndProc(classes::TMessage& message) override;
    void CreateParams(classes::TCreateParams& params) override;
    void CreateWnd() override;
    void Change() override;
    void MouseDown(classes::TMouseButton button, classes::TShiftState shift, int x, int y) override;
    void KeyDown(user::WORD& key, classes::TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

    void SetGlyphName(const std::string& value);   // a descendant's default glyph
    void SetPopup(classes::TWinControl* value);   // owned elsewhere; forgotten when freed

private:
    void ApplyReadOnly();   // the native edit is read-only unless DirectInput and not ReadOnly
    void UpdateButtonWidth();
    void GlyphChanged(bool buttonOnly);
    void PaintButtonCache(gdi::HDC dc);   // the button's cache at its place in window coordinates
    bool InsidePopup(const classes::TControl* control) const;

    classes::TShortCut FClickKey = DefaultClickKey;
    bool FReadOnly = false;
    bool FDirectInput = true;
    TacPopupAlign FPopupAlign = TacPopupAlign::Right;
    classes::TAlignment FAlignment = classes::taLeftJustify;
    TsEditButton* FButton = nullptr;   // owned by this edit as a component
    std::unique_ptr<TsGlyphMode> FGlyphMode;
    int FPopupWidth = DefaultPopupWidth;
    bool FShowButton = true;
    std::string FGlyphName;
    classes::TWinControl* FPopup = nullptr;
};

}
