// TMaskEdit: an edit whose text follows an input mask (EditMask): literals in place, blanks to fill.
#pragma once

#include "platform/base/Exceptions.h"
#include "platform/classes/EditMask.h"
#include "platform/classes/TCustomEdit.h"

namespace korvex::classes {

class EDBEditError : public base::Exception {   // "Invalid input value": a required slot left blank
public:
    using Exception::Exception;
};

// With a mask the window always shows the mask's full length (EditText): typing overwrites the next slot
// that takes the character, skipping literals, and refuses what the slot does not accept; Backspace and
// Delete blank slots and keep the literals. Text is the edit text with blanks as spaces, and without the
// literals when the mask does not save them. Leaving the edit with a required slot blank raises
// EDBEditError and keeps the focus there. Without a mask it is a plain edit.
class TMaskEdit : public TCustomEdit {
public:
    explicit TMaskEdit(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& value);   // the current text is fitted to the new mask
    bool IsMasked() const { return FMask.IsMasked(); }
    std::string EditText() const;   // as shown, blanks and literals included
    void SetEditText(const std::string& value);   // laid over the mask slot by slot
    std::string Text() const;
    void SetText(const std::string& value);

    // Raises EDBEditError, the caret on the first slot at fault, unless every required slot is filled.
    virtual void ValidateEdit();

protected:
    void WndProc(TMessage& message) override;
    void KeyDown(user::WORD& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void CMExit(TMessage& m) override;

private:
    // co_: sets the window text (EN_CHANGE, OnChange) and puts the caret at slot caret.
    void ApplyEdit(const std::u32string& editText, int caret);
    std::u32string Current() const;
    void Selection(int& start, int& end);
    void InsertChar(char32_t c);
    void ClearSlots(std::u32string& editText, int start, int end) const;
    void DeleteKey(bool backward);
    void Paste(const std::string& text);

    std::string FEditMask;
    TEditMask FMask;
};

// The number of slots a mask stands for: literals and mask characters, not the directives ('<', '>', '!',
// an escaping '\') nor the fields after the first ';'.
int MaskCharCount(const std::string& mask);

}
