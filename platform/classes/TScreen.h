// TScreen: the forms of the application, the active form and control, cursors and the screen's size.
#pragma once

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TComponent.h"
#include "platform/classes/TControl.h"

#include <map>
#include <memory>
#include <vector>

namespace korvex::classes {

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* owner);   // the first one made becomes Screen
    ~TScreen() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Forms in the order of their last activation, the active one first.
    int FormCount() const;
    TForm* Forms(int index) const;
    int CustomFormCount() const { return static_cast<int>(FCustomForms.size()); }
    TCustomForm* CustomForms(int index) const;
    TForm* ActiveForm() const;
    TCustomForm* ActiveCustomForm() const { return FActiveCustomForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    TCustomForm* FocusedForm() const { return FFocusedForm; }

    // A cursor other than crDefault is shown over every window of the application.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    user::HCURSOR Cursors(TCursor index) const;   // the arrow for unknown numbers
    void SetCursors(TCursor index, user::HCURSOR cursor);

    // The system's menu and tooltip fonts, read when the screen is made and on ResetFonts (a settings
    // change); hint windows start from HintFont.
    TFont* MenuFont() const { return FMenuFont.get(); }
    void SetMenuFont(const TFont* value) { FMenuFont->Assign(value); }
    TFont* HintFont() const { return FHintFont.get(); }
    void SetHintFont(const TFont* value) { FHintFont->Assign(value); }
    void ResetFonts();

    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().left; }
    int WorkAreaTop() const { return WorkAreaRect().top; }
    int WorkAreaWidth() const { return WorkAreaRect().right - WorkAreaRect().left; }
    int WorkAreaHeight() const { return WorkAreaRect().bottom - WorkAreaRect().top; }

    TNotifyEvent OnActiveControlChange;
    TNotifyEvent OnActiveFormChange;

private:
    friend class TCustomForm;
    friend class TWinControl;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetFocusedForm(TCustomForm* form, TWinControl* control);   // activation order and active control
    void ControlGone(TWinControl* control);

    std::vector<TCustomForm*> FCustomForms;
    TCustomForm* FActiveCustomForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    TCustomForm* FFocusedForm = nullptr;
    std::vector<TCustomForm*> FSaveFocusedList;
    TCursor FCursor = crDefault;
    std::map<TCursor, user::HCURSOR> FCursors;
    std::unique_ptr<TFont> FMenuFont;
    std::unique_ptr<TFont> FHintFont;
};

extern TScreen* Screen;

}
