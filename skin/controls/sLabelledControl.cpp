// TsLabelledControl: the skin data and the bound label of the skinned controls that have one.
#include "skin/controls/sLabelledControl.h"

#include "platform/classes/TEdit.h"
#include "platform/classes/TListView.h"
#include "platform/classes/TMaskEdit.h"
#include "platform/classes/TMemo.h"
#include "platform/classes/TRichEdit.h"
#include "platform/classes/TTreeView.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"

namespace korvex::skin {

template <class TNative>
TsLabelledControl<TNative>::TsLabelledControl(classes::TComponent* owner)
    : TNative(owner), FCommonData(std::make_unique<TsCommonData>(this, true)) {
    FBoundLabel = std::make_unique<TsBoundLabel>(FCommonData.get());
}

template <class TNative>
TsLabelledControl<TNative>::~TsLabelledControl() {
    FBoundLabel.reset();
    FCommonData.reset();
}

template <class TNative>
void TsLabelledControl<TNative>::AfterConstruction() {
    TNative::AfterConstruction();
    FCommonData->Loaded();
}

template <class TNative>
void TsLabelledControl<TNative>::Loaded() {
    TNative::Loaded();
    FCommonData->Loaded();
}

template class TsLabelledControl<classes::TEdit>;
template class TsLabelledControl<classes::TMaskEdit>;
template class TsLabelledControl<classes::TMemo>;
template class TsLabelledControl<classes::TRichEdit>;
template class TsLabelledControl<classes::TListView>;
template class TsLabelledControl<classes::TTreeView>;

}
