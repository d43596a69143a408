// TsLabelledControl: what the skinned controls with a bound label (the edits, the list and tree views) add alike
// to their native control: the skin data and the bound label, made in that order and freed in the reverse one.
#pragma once

#include <memory>

namespace korvex::classes {
class TComponent;
}

namespace korvex::skin {

class TsBoundLabel;
class TsCommonData;

// Instantiated for TEdit, TMaskEdit, TMemo, TRichEdit, TListView and TTreeView (sLabelledControl.cpp); each
// control's header declares its own.
template <class TNative>
class TsLabelledControl : public TNative {
public:
    void AfterConstruction() override;   // the native control's, then the skin data's Loaded
    void Loaded() override;   // likewise

    TsCommonData* SkinData() const { return FCommonData.get(); }
    TsBoundLabel* BoundLabel() const { return FBoundLabel.get(); }

protected:
    explicit TsLabelledControl(classes::TComponent* owner);
    ~TsLabelledControl() override;   // the bound label first: it was made on the skin data

private:
    std::unique_ptr<TsCommonData> FCommonData;
    std::unique_ptr<TsBoundLabel> FBoundLabel;
};

}
