// TRichEdit: the rich edit control with coloured text attributes, a background colour and streamed loading.
#pragma once

#include "platform/classes/TMemo.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace korvex::classes {

class TRichEdit;

enum class TAttributeType { Selected, Default };

// The character format of the selection (SelAttributes) or of text without a format of its own
// (DefAttributes), read from and written to the window.
class TTextAttributes : public TPersistent {
public:
    TTextAttributes(TRichEdit* richEdit, TAttributeType type)
        : FRichEdit(richEdit)
        , FType(type) { }

    TColor Color() const;   // clWindowText for the automatic colour
    void SetColor(TColor value);
    TFontStyles Style() const;
    void SetStyle(TFontStyles value);
    std::string Name() const;   // the face ("" : the control's font)
    void SetName(const std::string& value);
    int Size() const;   // points (0: the control's font)
    void SetSize(int value);
    void Assign(const TPersistent* source) override;   // from a TFont or other attributes

private:
    TRichEdit* FRichEdit;
    TAttributeType FType;
};

// Positions count characters, a line end as two. Lines.LoadFromStream and LoadFromFile stream the text into
// the window (plain text whatever PlainText says). MaxLength 0 takes any length.
class TRichEdit : public TCustomMemo {
public:
    explicit TRichEdit(TComponent* owner);
    ~TRichEdit() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TTextAttributes* SelAttributes() const { return FSelAttributes.get(); }
    TTextAttributes* DefAttributes() const { return FDefAttributes.get(); }
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool value) { FPlainText = value; }
    bool HideScrollBars() const { return FHideScrollBars; }
    void SetHideScrollBars(bool value);

    std::string SelText();
    // The text, as plain text and every byte of it (a NUL too), in place of the whole text (which it then
    // starts in the default format) or of the selection (the caret then after it).
    void StreamIn(std::string_view text, bool selectionOnly);
    // The bytes [begin, end) of a shared text in the same way, left where they lie rather than copied: the
    // control holds on to the text while it shows any of it.
    void StreamIn(const std::shared_ptr<const std::string>& text, std::size_t begin, std::size_t end, bool selectionOnly);

    TNotifyEvent OnSelectionChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void CMColorChanged(TMessage& m) override;
    void CMFontChanged(TMessage& m) override;
    const char* NativeClass() const override;
    virtual void SelectionChange();   // OnSelectionChange

private:
    void ApplyColors();
    std::unique_ptr<TTextAttributes> FSelAttributes;
    std::unique_ptr<TTextAttributes> FDefAttributes;
    bool FPlainText = false;
    bool FHideScrollBars = true;
};

}
