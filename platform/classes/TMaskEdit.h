// TMaskEdit: an edit with an input mask. The mask is kept; its character count limits the text.
#pragma once

#include "platform/classes/TCustomEdit.h"

namespace korvex::classes {

// Masks are not enforced; a mask's literal length ("AAAAAA;1; " is six) becomes the edit's MaxLength, which is
// all the program's masked edits need of it.
class TMaskEdit : public TCustomEdit {
public:
    explicit TMaskEdit(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& value);

private:
    std::string FEditMask;
};

// The number of characters a mask stands for: the part before the first ';', escapes ('\') and the case and
// blank directives ('<', '>', '!') not counted.
int MaskCharCount(const std::string& mask);

}
