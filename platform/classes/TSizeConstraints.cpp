// TSizeConstraints: size limits of a control, published as its Constraints.
#include "platform/classes/TSizeConstraints.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"

#include <algorithm>

namespace korvex::classes {

TClass TSizeConstraints::StaticClass() {
    static const TClassInfo info
        = MakeClass<TSizeConstraints, TPersistent>("TSizeConstraints", [](TPropertyBuilder<TSizeConstraints>& p) {
              p.Int("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight, 0);
              p.Int("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth, 0);
              p.Int("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight, 0);
              p.Int("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth, 0);
          });
    return &info;
}

void TSizeConstraints::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TSizeConstraints*>(source)) {
        FMaxHeight = other->FMaxHeight;
        FMaxWidth = other->FMaxWidth;
        FMinHeight = other->FMinHeight;
        FMinWidth = other->FMinWidth;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TSizeConstraints::SetMaxHeight(int value) {
    value = std::max(value, 0);
    if (value == FMaxHeight) return;
    FMaxHeight = value;
    if (FMaxHeight > 0 && FMaxHeight < FMinHeight) FMaxHeight = FMinHeight;
    Changed();
}

void TSizeConstraints::SetMaxWidth(int value) {
    value = std::max(value, 0);
    if (value == FMaxWidth) return;
    FMaxWidth = value;
    if (FMaxWidth > 0 && FMaxWidth < FMinWidth) FMaxWidth = FMinWidth;
    Changed();
}

void TSizeConstraints::SetMinHeight(int value) {
    value = std::max(value, 0);
    if (value == FMinHeight) return;
    FMinHeight = value;
    if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMaxHeight = FMinHeight;
    Changed();
}

void TSizeConstraints::SetMinWidth(int value) {
    value = std::max(value, 0);
    if (value == FMinWidth) return;
    FMinWidth = value;
    if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMaxWidth = FMinWidth;
    Changed();
}

int TSizeConstraints::ConstrainWidth(int width) const {
    if (FMaxWidth > 0) width = std::min(width, FMaxWidth);
    return std::max(width, FMinWidth);
}

int TSizeConstraints::ConstrainHeight(int height) const {
    if (FMaxHeight > 0) height = std::min(height, FMaxHeight);
    return std::max(height, FMinHeight);
}

void TSizeConstraints::Changed() {
    if (OnChange) OnChange(this);
}

}
