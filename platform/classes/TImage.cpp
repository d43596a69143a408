// TImage: placing and painting its picture.
#include "platform/classes/TImage.h"

#include "platform/classes/PropertyRegistry.h"

namespace korvex::classes {

TImage::TImage(TComponent* owner)
    : TGraphicControl(owner)
    , FPicture(std::make_unique<TPicture>()) {
    FPicture->OnChange = [this](TObject*) { Invalidate(); };
    FControlStyle.Include(csReplicatable);
    SetBounds(Left(), Top(), 105, 105);
}

TImage::~TImage() = default;

TClass TImage::StaticClass() {
    static const TClassInfo info = MakeClass<TImage, TGraphicControl>("TImage", [](auto& p) {
        p.Bool("Center", &TImage::Center, &TImage::SetCenter, false);
        p.Object("Picture", &TImage::Picture, &TImage::SetPicture);
        p.Bool("Stretch", &TImage::Stretch, &TImage::SetStretch, false);
    });
    return &info;
}

void TImage::SetCenter(bool value) {
    if (value == FCenter) return;
    FCenter = value;
    Invalidate();
}

void TImage::SetStretch(bool value) {
    if (value == FStretch) return;
    FStretch = value;
    Invalidate();
}

TRect TImage::DestRect() const {
    const int w = FPicture->Width(), h = FPicture->Height();
    if (FStretch) return TRect {0, 0, Width(), Height()};
    if (FCenter) {
        const int left = (Width() - w) / 2, top = (Height() - h) / 2;
        return TRect {left, top, left + w, top + h};
    }
    return TRect {0, 0, w, h};
}

void TImage::Paint() {
    TGraphic* graphic = FPicture->Graphic();
    if (graphic == nullptr || graphic->Empty()) return;
    if (FStretch)
        Canvas()->StretchDraw(DestRect(), graphic);
    else
        Canvas()->Draw(DestRect().left, DestRect().top, graphic);
}

}
