// TsBoundLabel: the caption label an edit-type control can carry beside itself.
#pragma once

#include "platform/classes/TLabel.h"
#include "platform/classes/TPersistent.h"
#include "skin/engine/Forward.h"

#include <memory>
#include <string>

namespace korvex::classes {
class TControl;
class TFont;
}

namespace korvex::skin {

enum TsCaptionLayout { sclLeft, sclTopLeft, sclTopCenter, sclTopRight };

// Makes the label a bound label shows. The skinned controls fill it in (their TsEditLabel); without one a
// plain TLabel stands in. The label is owned by the bound control.
using TsEditLabelFactory = classes::TCustomLabel* (*)(classes::TComponent* owner, TsBoundLabel* boundLabel);
void SetEditLabelFactory(TsEditLabelFactory factory);

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

    classes::TCustomLabel* Label() const { return FLabel; }
    // Places a visible label by Layout beside the control.
    void AlignLabel();

private:
    class LabelWatch;
    classes::TControl* Control() const;
    void LabelFreed();
    void ApplyAlignment();

    int FMaxWidth = 0;
    std::string FCaption;
    TsCaptionLayout FLayout = sclLeft;
    std::unique_ptr<classes::TFont> FFont;
    int FIndent = 0;
    bool FActive = false;
    classes::TCustomLabel* FLabel = nullptr;   // owned by the control; FWatch clears it when it is freed
    std::unique_ptr<LabelWatch> FWatch;
    TsCommonData* FCommonData;
};

}
