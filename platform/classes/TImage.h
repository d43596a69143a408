// TImage: a windowless control showing a picture (bitmap, JPEG or icon) at its size, centred or stretched.
#pragma once

#include "platform/classes/TGraphicControl.h"
#include "platform/classes/TPicture.h"

#include <memory>

namespace korvex::classes {

// The picture is drawn from the control's top-left corner at its own size, or centred in the control
// (Center), or scaled to the control's bounds (Stretch). A change of the picture repaints the control.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const TPicture* value) { FPicture->Assign(value); }
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);

    TRect DestRect() const;   // where the picture goes, in the control's coordinates

protected:
    void Paint() override;

private:
    std::unique_ptr<TPicture> FPicture;
    bool FCenter = false;
    bool FStretch = false;
};

}
