// TCustomEdit: the class library's control over the native EDIT class: text, limits, selection, clipboard.
#pragma once

#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TWinControl.h"

#include <string>

namespace korvex::classes {

// Selection positions and lengths count characters (code points), a line end as two ("\r\n"). Settings
// made before the window exists are applied when it is made. OnChange follows EN_CHANGE of the window.
class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);
    ~TCustomEdit() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);   // on: the height follows the font
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);   // bsNone or bsSingle (a sunken edge)
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);   // bsSingle: a sunken edge when on, a flat line when off
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);   // 0: no limit
    char32_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char32_t value);   // 0: the text shows
    std::string PasswordCharText() const;   // the published form: the character as UTF-8, "" for none
    void SetPasswordCharText(const std::string& value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool Modified() const;
    void SetModified(bool value);

    int SelStart();
    void SetSelStart(int value);   // collapses the selection there
    int SelLength();
    void SetSelLength(int value);
    std::string SelText();
    void SetSelText(const std::string& value);   // replaces the selection (undoable)

    bool CanUndo();
    void Undo();
    void ClearUndo();
    void Clear();   // the whole text
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void SelectAll();

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Change();   // OnChange
    virtual void AdjustHeight();
    void Loaded() override;
    void WndProc(TMessage& message) override;
    void CMEnter(TMessage& m) override;
    void CMFontChanged(TMessage& m) override;
    virtual void CNCommand(TMessage& m);
    // The native class the control is made on.
    virtual const char* NativeClass() const;

    bool FCreating = false;   // no OnChange while the window is made

private:
    bool FAutoSelect = true;
    bool FAutoSize = true;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
    TEditCharCase FCharCase = ecNormal;
    bool FHideSelection = true;
    int FMaxLength = 0;
    char32_t FPasswordChar = 0;
    bool FReadOnly = false;
    bool FModified = false;   // kept while the window is away
};

}
