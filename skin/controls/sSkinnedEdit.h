// TsSkinnedEdit: what the skinned edits (TsEdit, TsMaskEdit, TsMemo, TsRichEdit) add alike to their native edit:
// the skin data, the disabled look and the bound label, made in that order and freed in the reverse one.
#pragma once

#include "skin/engine/sPixelAccess.h"

#include <memory>

namespace korvex::classes {
class TComponent;
}

namespace korvex::skin {

class TsBoundLabel;
class TsCommonData;

// Instantiated for TEdit, TMaskEdit, TMemo and TRichEdit (sSkinnedEdit.cpp); each edit's header declares its own.
template <class TNativeEdit>
class TsSkinnedEdit : public TNativeEdit {
public:
    void AfterConstruction() override;   // the native edit's, then the skin data's Loaded
    void Loaded() override;   // likewise

    TsCommonData* SkinData() const { return FCommonData.get(); }
    TsDisabledKind DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(TsDisabledKind value);   // the skin data invalidated only on change
    TsBoundLabel* BoundLabel() const { return FBoundLabel.get(); }

protected:
    explicit TsSkinnedEdit(classes::TComponent* owner);
    ~TsSkinnedEdit() override;   // the bound label first: it was made on the skin data

private:
    std::unique_ptr<TsCommonData> FCommonData;
    TsDisabledKind FDisabledKind = DefaultDisabledKind;
    std::unique_ptr<TsBoundLabel> FBoundLabel;
};

}
