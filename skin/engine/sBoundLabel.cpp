// TsBoundLabel and TsEditLabel: the caption label beside an edit-type control.
#include "skin/engine/sBoundLabel.h"

#include "platform/base/Assert.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TWinControl.h"
#include "skin/engine/sCommonData.h"

#include <algorithm>

namespace korvex::skin {

using classes::TControl;

namespace {
TsEditLabelFactory EditLabelFactory = nullptr;
}

void SetEditLabelFactory(TsEditLabelFactory factory) {
    EditLabelFactory = factory;
}

// Tells the bound label when its label is freed, by whoever frees it: it is then no longer Active.
class TsBoundLabel::LabelWatch : public classes::TComponentWatch {
public:
    LabelWatch(TsBoundLabel* bound, classes::TComponent* label)
        : classes::TComponentWatch(label), FBound(bound) { }

protected:
    void Notification(classes::TComponent* component, classes::TOperation operation) override {
        const bool wasAlive = Alive();
        classes::TComponentWatch::Notification(component, operation);
        if (wasAlive && !Alive()) FBound->LabelFreed();
    }

private:
    TsBoundLabel* FBound;
};

TsBoundLabel::TsBoundLabel(TsCommonData* commonData)
    : FFont(std::make_unique<classes::TFont>()), FCommonData(commonData) { }

TsBoundLabel::~TsBoundLabel() {
    SetActive(false);
}

void TsBoundLabel::LabelFreed() {
    FLabel = nullptr;
    FActive = false;
}

classes::TClass TsBoundLabel::StaticClass() {
    using T = TsBoundLabel;
    static constexpr std::string_view LayoutIdents[] = {"sclLeft", "sclTopLeft", "sclTopCenter", "sclTopRight"};
    static const classes::TClassInfo info
        = classes::MakeClass<T, classes::TPersistent>("TsBoundLabel", [](classes::TPropertyBuilder<T>& p) {
              p.Bool("Active", &T::Active, &T::SetActive, false);
              p.String("Caption", &T::Caption, &T::SetCaption);
              p.Int("Indent", &T::Indent, &T::SetIndent, 0);
              p.Object("Font", &T::Font, &T::SetFont);
              p.Enum("Layout", &T::Layout, &T::SetLayout, LayoutIdents, sclLeft);
              p.Int("MaxWidth", &T::MaxWidth, &T::SetMaxWidth, 0);
          });
    return &info;
}

TControl* TsBoundLabel::Control() const {
    return FCommonData ? FCommonData->OwnerControl() : nullptr;
}

classes::TFont* TsBoundLabel::Font() const {
    return FLabel != nullptr ? FLabel->Font() : FFont.get();
}

void TsBoundLabel::SetFont(const classes::TFont* value) {
    if (FLabel != nullptr) {
        FLabel->Font()->Assign(value);
        FLabel->SetParentFont(false);
    } else {
        FFont->Assign(value);
    }
    AlignLabel();
}

void TsBoundLabel::ApplyAlignment() {
    static constexpr classes::TAlignment ByLayout[] = {
        classes::taRightJustify, classes::taLeftJustify, classes::taCenter, classes::taRightJustify};
    if (FLabel != nullptr) FLabel->SetAlignment(ByLayout[FLayout]);
}

void TsBoundLabel::SetActive(bool value) {
    if (value == FActive) return;
    TControl* control = Control();
    if (!value) {
        FActive = false;
        classes::TCustomLabel* label = FLabel;
        FLabel = nullptr;
        FWatch.reset();
        delete label;
        return;
    }
    if (control == nullptr) return;
    FActive = true;
    FLabel = EditLabelFactory != nullptr ? EditLabelFactory(control, this) : new classes::TLabel(control);
    KORVEX_ASSERT(FLabel != nullptr);
    FWatch = std::make_unique<LabelWatch>(this, FLabel);
    FLabel->SetVisible(false);
    FLabel->SetParent(control->Parent());
    FLabel->SetFocusControl(dynamic_cast<classes::TWinControl*>(control));
    ApplyAlignment();
    FLabel->SetName(control->Name() + "Label");
    if (FCaption.empty()) FCaption = control->Name();
    FLabel->SetCaption(FCaption);
    FLabel->SetVisible(control->Visible() || control->ComponentState().Contains(classes::csDesigning));
    FLabel->SetEnabled(control->Enabled());
    AlignLabel();
}

void TsBoundLabel::SetCaption(const std::string& value) {
    if (value == FCaption) return;
    FCaption = value;
    if (!FActive || FLabel == nullptr) return;
    FLabel->SetCaption(FCaption);
    AlignLabel();
}

void TsBoundLabel::SetIndent(int value) {
    if (value == FIndent) return;
    FIndent = value;
    if (FActive) AlignLabel();
}

void TsBoundLabel::SetMaxWidth(int value) {
    if (value == FMaxWidth) return;
    FMaxWidth = value;
    if (FActive) AlignLabel();
}

void TsBoundLabel::SetLayout(TsCaptionLayout value) {
    if (value == FLayout) return;
    FLayout = value;
    ApplyAlignment();
    if (FActive) AlignLabel();
}

void TsBoundLabel::AlignLabel() {
    classes::TCustomLabel* l = FLabel;
    TControl* c = Control();
    if (l == nullptr || c == nullptr || !l->Visible()) return;
    l->SetAutoSize(true);
    int left = l->Left(), top = l->Top();
    switch (FLayout) {
    case sclLeft:
        left = c->Left() - l->Width() - 4 - FIndent;
        top = c->Top() + (c->Height() - l->Height()) / 2 - 1;
        break;
    case sclTopLeft:
        left = c->Left();
        break;
    case sclTopCenter:
        left = c->Left() + (c->Width() - l->Width()) / 2;
        break;
    case sclTopRight:
        left = c->Left() + c->Width() - l->Width();
        break;
    }
    if (FLayout != sclLeft) top = c->Top() - l->Height() - FIndent;
    l->SetBounds(left, top, l->Width(), l->Height());
    if (FMaxWidth == 0) return;
    l->SetAutoSize(false);
    l->SetWidth(FMaxWidth);
    l->SetWordWrap(true);
    l->SetHeight(std::min(l->Height(), c->Height()));
}

}
