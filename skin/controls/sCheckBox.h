// TsCheckBox: the check box painted from the skin (section CHECKBOX, box images of GLOBALINFO), with the
// user's glyphs or an image list's instead, read-only and auto-sized.
#pragma once

#include "platform/classes/TCheckBox.h"
#include "skin/controls/sCheckControl.h"

namespace korvex::skin {

class TsCheckBox : public TacCheckControl<classes::TCustomCheckBox> {
public:
    explicit TsCheckBox(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    classes::TCustomImageList* Images() const { return FCore.Images; }
    void SetImages(classes::TCustomImageList* value);
    int ImgChecked() const { return FCore.ImgChecked; }
    void SetImgChecked(int value);
    int ImgUnchecked() const { return FCore.ImgUnchecked; }
    void SetImgUnchecked(int value);

protected:
    void WndProc(classes::TMessage& message) override;
    void ActionChange(classes::TObject* sender, bool checkDefaults) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;
};

}
