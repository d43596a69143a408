// The published properties that TEdit and TMaskEdit share.
#pragma once

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/StdCtrlsTypes.h"

namespace korvex::classes {

template <class T>
void PublishEdit(TPropertyBuilder<T>& p) {
    p.Bool("AutoSelect", &T::AutoSelect, &T::SetAutoSelect, true);
    p.Bool("AutoSize", &T::AutoSize, &T::SetAutoSize, true);
    p.Enum("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, FormBorderStyleIdents, bsSingle);
    p.Enum("CharCase", &T::CharCase, &T::SetCharCase, EditCharCaseIdents, ecNormal);
    p.Bool("Ctl3D", &T::Ctl3D, &T::SetCtl3D, true);
    p.Color("Color", &T::Color, &T::SetColor, clWindow);
    p.Bool("HideSelection", &T::HideSelection, &T::SetHideSelection, true);
    p.Int("MaxLength", &T::MaxLength, &T::SetMaxLength, 0);
    p.Bool("ParentColor", &T::ParentColor, &T::SetParentColor, false);
    p.String("PasswordChar", &T::PasswordCharText, &T::SetPasswordCharText);
    p.Bool("ReadOnly", &T::ReadOnly, &T::SetReadOnly, false);
    p.Bool("TabStop", &T::TabStop, &T::SetTabStop, true);
    p.String("Text", &T::Text, &T::SetText);
    p.Event("OnChange", &T::OnChange);
}

}
