// TPicture: holds one graphic of any kind (bitmap, JPEG, icon), chosen by file extension or by the copied picture.
#pragma once

#include "platform/classes/TGraphic.h"

#include <memory>
#include <string>

namespace korvex::classes {

class TBitmap;
class TIcon;

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Another TPicture's graphic or a graphic is copied (a new graphic of the same class); nullptr empties.
    void Assign(const TPersistent* source) override;

    TGraphic* Graphic() const { return FGraphic.get(); }   // nullptr while empty
    void SetGraphic(const TGraphic* value) { Assign(value); }
    // The graphic as a bitmap: a graphic of another kind is replaced by an empty bitmap first.
    TBitmap* Bitmap();
    TIcon* Icon();   // the same for an icon
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // The extension picks the class: .bmp a bitmap, .jpg and .jpeg a JPEG image, .png and .ico an icon;
    // others raise EInvalidGraphic "Unknown picture file extension (.x)". Errors leave the picture as it was.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;   // nothing for an empty picture

    // Component text: "Data" holds the graphic's class name (a length byte and the name) and its data.
    void DefineProperties(TFiler& filer) override;

    TNotifyEvent OnChange;

private:
    void Take(std::unique_ptr<TGraphic> graphic);
    void ReadData(TStream& stream);
    void WriteData(TStream& stream) const;

    std::unique_ptr<TGraphic> FGraphic;
};

}
