// TsBoundLabel: the caption label an edit-type control can carry beside itself, and its label TsEditLabel.
#pragma once

#include "platform/classes/TLabel.h"
#include "platform/classes/TPersistent.h"

#include <memory>
#include <string>

namespace korvex::classes {
class TControl;
class TFont;
}

namespace korvex::skin {

class TsBoundLabel;
class TsCommonData;

enum TsCaptionLayout { sclLeft, sclTopLeft, sclTopCenter, sclTopRight };

// The label a bound label makes (a plain label until the skinned one exists). Owned by the bound control;
// freeing it tells the bound label, which then is no longer Active.
class TsEditLabel : public classes::TLabel {
public:
    TsEditLabel(classes::TComponent* owner, TsBoundLabel* boundLabel);
    ~TsEditLabel() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    TsBoundLabel* BoundLabel() const { return FBoundLabel; }

private:
    friend class TsBoundLabel;
    TsBoundLabel* FBoundLabel;
};

class TsBoundLabel : public classes::TPersistent {
public:
    explicit TsBoundLabel(TsCommonData* commonData);
    ~TsBoundLabel() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool Active() const { return FActive; }
    void SetActive(bool value);   // on: makes the label beside the control; off: frees it
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    int Indent() const { return FIndent; }
    void SetIndent(int value);
    classes::TFont* Font() const;   // the label's font while it exists
    void SetFont(const classes::TFont* value);
    TsCaptionLayout Layout() const { return FLayout; }
    void SetLayout(TsCaptionLayout value);
    int MaxWidth() const { return FMaxWidth; }   // 0: no limit
    void SetMaxWidth(int value);

    TsEditLabel* Label() const { return FLabel; }
    // Places a visible label by Layout beside the control.
    void AlignLabel();

private:
    friend class TsEditLabel;
    classes::TControl* Control() const;
    void ApplyAlignment();

    int FMaxWidth = 0;
    std::string FCaption;
    TsCaptionLayout FLayout = sclLeft;
    std::unique_ptr<classes::TFont> FFont;
    int FIndent = 0;
    bool FActive = false;
    TsEditLabel* FLabel = nullptr;   // owned by the control; clears this when freed
    TsCommonData* FCommonData;
};

}
